// Zoom rectangle moves of the keys, the wheel and the rubber band.
#include "shell/zoom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace kamo {

namespace {
// Nothing beyond this many pixels from the device origin is shown: far more
// than any zoom out a user wants, and far from overflowing the arithmetic.
constexpr Real kLimit = 1e8L;

// Rounds to a pixel; nothing for a value that is not finite or beyond the limit.
std::optional<long> Pixel(Real x) {
  if (!std::isfinite(x) || std::fabs(x) > kLimit) return std::nullopt;
  return std::lround(static_cast<double>(x));
}

// The rectangle when it lies within the limit and spans at least one pixel
// each way; else the old one, so that a move that would vanish or explode is
// simply ignored.
ZoomRect Checked(const ZoomRect& old, std::optional<long> x0, std::optional<long> y0,
                 std::optional<long> x1, std::optional<long> y1) {
  if (!x0 || !y0 || !x1 || !y1 || *x1 - *x0 < 1 || *y1 - *y0 < 1) return old;
  return {*x0, *y0, *x1, *y1};
}

// Half sizes divided by f around the centre (f > 1 zooms in).
ZoomRect ZoomAround(const ZoomRect& z, Real f) {
  if (!(f > 0) || !std::isfinite(f)) return z;
  long cx = (z.x0 + z.x1) / 2, cy = (z.y0 + z.y1) / 2;
  std::optional<long> wx = Pixel((z.x1 - z.x0) / f), wy = Pixel((z.y1 - z.y0) / f);
  if (!wx || !wy || *wx / 2 < 1 || *wy / 2 < 1) return z;
  long hx = *wx / 2, hy = *wy / 2;
  return Checked(z, Pixel(static_cast<Real>(cx) - hx), Pixel(static_cast<Real>(cy) - hy),
                 Pixel(static_cast<Real>(cx) + hx), Pixel(static_cast<Real>(cy) + hy));
}

Real ZoomOf(Real f) { return f > 0 && std::isfinite(f) ? f : 1.02L; }

ZoomRect Shifted(const ZoomRect& z, std::optional<long> dx, std::optional<long> dy) {
  if (!dx || !dy) return z;
  return Checked(z, Pixel(static_cast<Real>(z.x0) + *dx), Pixel(static_cast<Real>(z.y0) + *dy),
                 Pixel(static_cast<Real>(z.x1) + *dx), Pixel(static_cast<Real>(z.y1) + *dy));
}
}  // namespace

ZoomRect ApplyZoomKey(const ZoomRect& z, ZoomKey key, Real zoomFactor, Real panFactor,
                      const ZoomRect& whole) {
  std::optional<long> dx = Pixel(panFactor * (z.x1 - z.x0)), dy = Pixel(panFactor * (z.y1 - z.y0));
  std::optional<long> page = Pixel(5 * panFactor * (z.y1 - z.y0));
  auto neg = [](std::optional<long> d) { return d ? std::optional<long>(-*d) : d; };
  switch (key) {
    case ZoomKey::Reset: return whole;
    case ZoomKey::Left: return Shifted(z, dx, 0);
    case ZoomKey::Right: return Shifted(z, neg(dx), 0);
    case ZoomKey::Up: return Shifted(z, 0, neg(dy));
    case ZoomKey::Down: return Shifted(z, 0, dy);
    case ZoomKey::PageUp: return Shifted(z, 0, neg(page));
    case ZoomKey::PageDown: return Shifted(z, 0, page);
    case ZoomKey::ZoomIn: return ZoomAround(z, ZoomOf(zoomFactor));
    case ZoomKey::ZoomOut: return ZoomAround(z, 1 / ZoomOf(zoomFactor));
    case ZoomKey::Other: break;
  }
  return z;
}

ZoomRect ApplyWheel(const ZoomRect& z, int delta, Real zoomFactor) {
  if (delta == 0) return z;
  // |delta| / 120 notches, a smaller turn counts as one. Both ways move by
  // zoom x steps: dividing the zoom by the steps would turn a fast backward
  // turn into a zoom out.
  long steps = std::max(1L, std::labs(static_cast<long>(delta)) / 120);
  Real f = ZoomOf(zoomFactor) * static_cast<Real>(steps);
  return ZoomAround(z, delta > 0 ? 1 / f : f);
}

ZoomRect ZoomToBand(const ZoomRect& z, Real x0, Real y0, Real x1, Real y1) {
  // A band whose edges round to the same pixel changes nothing.
  return Checked(z, Pixel(std::min(x0, x1)), Pixel(std::min(y0, y1)), Pixel(std::max(x0, x1)),
                 Pixel(std::max(y0, y1)));
}

}  // namespace kamo
