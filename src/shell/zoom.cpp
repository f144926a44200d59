// Zoom rectangle moves of the keys, the wheel and the rubber band.
#include "shell/zoom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kamo {

namespace {
long Round(Real x) { return std::lround(static_cast<double>(x)); }

// Half sizes divided by f around the centre (f > 1 zooms in).
ZoomRect ZoomAround(const ZoomRect& z, Real f) {
  long cx = (z.x0 + z.x1) / 2, cy = (z.y0 + z.y1) / 2;
  long hx = Round((z.x1 - z.x0) / f) / 2, hy = Round((z.y1 - z.y0) / f) / 2;
  // A rectangle that shrank to nothing cannot be zoomed back out.
  if (hx < 1 || hy < 1) return z;
  return {cx - hx, cy - hy, cx + hx, cy + hy};
}

Real ZoomOf(Real f) { return f > 0 ? f : 1.02L; }
}  // namespace

ZoomRect ApplyZoomKey(const ZoomRect& z, ZoomKey key, Real zoomFactor, Real panFactor,
                      const ZoomRect& whole) {
  long dx = Round(panFactor * (z.x1 - z.x0)), dy = Round(panFactor * (z.y1 - z.y0));
  long page = Round(5 * panFactor * (z.y1 - z.y0));
  switch (key) {
    case ZoomKey::Reset: return whole;
    case ZoomKey::Left: return {z.x0 + dx, z.y0, z.x1 + dx, z.y1};
    case ZoomKey::Right: return {z.x0 - dx, z.y0, z.x1 - dx, z.y1};
    case ZoomKey::Up: return {z.x0, z.y0 - dy, z.x1, z.y1 - dy};
    case ZoomKey::Down: return {z.x0, z.y0 + dy, z.x1, z.y1 + dy};
    case ZoomKey::PageUp: return {z.x0, z.y0 - page, z.x1, z.y1 - page};
    case ZoomKey::PageDown: return {z.x0, z.y0 + page, z.x1, z.y1 + page};
    case ZoomKey::ZoomIn: return ZoomAround(z, ZoomOf(zoomFactor));
    case ZoomKey::ZoomOut: return ZoomAround(z, 1 / ZoomOf(zoomFactor));
    case ZoomKey::Other: break;
  }
  return z;
}

ZoomRect ApplyWheel(const ZoomRect& z, int delta, Real zoomFactor) {
  int steps = std::max(1, std::abs(delta) / 120);
  // One zoom step per notch, so that a fast turn goes further the same way.
  Real f = std::pow(ZoomOf(zoomFactor), static_cast<Real>(steps));
  return ZoomAround(z, delta > 0 ? 1 / f : f);
}

ZoomRect ZoomToBand(const ZoomRect& z, Real x0, Real y0, Real x1, Real y1) {
  long a = Round(std::min(x0, x1)), b = Round(std::max(x0, x1));
  long c = Round(std::min(y0, y1)), d = Round(std::max(y0, y1));
  if (a == b || c == d) return z;
  return {a, c, b, d};
}

}  // namespace kamo
