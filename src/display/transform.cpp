// Zoom rectangle operations of the window transform.
#include "display/transform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kamo {

namespace {
long Round(Real x) { return std::lround(static_cast<double>(x)); }

// Beyond this many device units a zoom rectangle is refused: repeated zooming
// out must not overflow the integer coordinates.
constexpr Real kMaxZoomSpan = 1e8L;

void ZoomAround(ViewTransform& v, Real f) {
  if (!(f > 0) || !std::isfinite(f)) return;
  Real wx = (v.zx1 - v.zx0) / f, wy = (v.zy1 - v.zy0) / f;
  if (!(std::fabs(wx) < kMaxZoomSpan) || !(std::fabs(wy) < kMaxZoomSpan)) return;
  long cx = (v.zx0 + v.zx1) / 2, cy = (v.zy0 + v.zy1) / 2;
  long hx = Round(wx) / 2, hy = Round(wy) / 2;
  // A rectangle that would vanish keeps its last size.
  if (hx < 1 || hy < 1) return;
  SetScale(v, cx - hx, cy - hy, cy + hy, cx + hx);
}
}  // namespace

bool SetScale(ViewTransform& v, long zx0, long zy0, long zy1, long zx1) {
  if (zx0 == zx1 || zy0 == zy1) return false;
  ViewTransform t = v;
  t.zx0 = zx0;
  t.zy0 = zy0;
  t.zx1 = zx1;
  t.zy1 = zy1;
  if (!t.rescale()) return false;
  v = t;
  return true;
}

void ResetZoom(ViewTransform& v) {
  v.zx0 = v.vx0;
  v.zy0 = v.vy0;
  v.zx1 = v.vx1;
  v.zy1 = v.vy1;
  v.rescale();
}

void ReSetWindow(DisplayList& list) {
  list.SetWindow(false, false, 0, 0, 1, 1, 0, 0, 1, 1);
  ResetZoom(list.transform());
}

void ProcessViewKey(ViewTransform& v, ViewKey key, Real zoom, Real pan) {
  if (!(zoom > 0)) zoom = 1.02L;
  long dx = Round(pan * (v.zx1 - v.zx0)), dy = Round(pan * (v.zy1 - v.zy0));
  long dy5 = Round(5 * pan * (v.zy1 - v.zy0));
  switch (key) {
    case ViewKey::Reset: ResetZoom(v); break;
    case ViewKey::Left: SetScale(v, v.zx0 + dx, v.zy0, v.zy1, v.zx1 + dx); break;
    case ViewKey::Right: SetScale(v, v.zx0 - dx, v.zy0, v.zy1, v.zx1 - dx); break;
    case ViewKey::Up: SetScale(v, v.zx0, v.zy0 - dy, v.zy1 - dy, v.zx1); break;
    case ViewKey::Down: SetScale(v, v.zx0, v.zy0 + dy, v.zy1 + dy, v.zx1); break;
    case ViewKey::PageUp: SetScale(v, v.zx0, v.zy0 - dy5, v.zy1 - dy5, v.zx1); break;
    case ViewKey::PageDown: SetScale(v, v.zx0, v.zy0 + dy5, v.zy1 + dy5, v.zx1); break;
    case ViewKey::ZoomIn: ZoomAround(v, zoom); break;
    case ViewKey::ZoomOut: ZoomAround(v, 1 / zoom); break;
  }
}

void ProcessWheel(ViewTransform& v, int delta, Real zoom) {
  if (!(zoom > 0)) zoom = 1.02L;
  // One step per notch, so many notches zoom further, never back the other way.
  Real steps = std::max(1, std::abs(delta / 120));
  if (delta > 0)
    ZoomAround(v, 1 / (zoom * steps));
  else
    ZoomAround(v, zoom * steps);
}

bool ZoomToBand(ViewTransform& v, int x0, int y0, int x1, int y1, int w, int h, Real aspect) {
  if (x0 == x1 || y0 == y1 || w <= 0 || h <= 0) return false;
  Real ax = v.isotropic && aspect > 0 ? aspect : 1;
  Real spanX = (v.zx1 - v.zx0) * ax, offX = v.zx0 * ax;
  Real spanY = v.zy1 - v.zy0;
  long nx0 = Round(static_cast<Real>(std::min(x0, x1)) / w * spanX + offX);
  long nx1 = Round(static_cast<Real>(std::max(x0, x1)) / w * spanX + offX);
  long ny0 = Round(static_cast<Real>(h - std::max(y0, y1)) / h * spanY + v.zy0);
  long ny1 = Round(static_cast<Real>(h - std::min(y0, y1)) / h * spanY + v.zy0);
  return SetScale(v, nx0, ny0, ny1, nx1);
}

long PrintMapping::PX(const ViewTransform& v, Real x) const {
  if (v.resX <= 0) return 0;
  return Round(pw * originX / 210) + Round(pw * ((x - v.ex0) * v.sx + v.vx0) * scaleX / v.resX);
}

long PrintMapping::PY(const ViewTransform& v, Real y) const {
  if (v.resY <= 0) return 0;
  return Round(pw * originY / 210) + Round(ph * (v.vy1 - (y - v.ey0) * v.sy) * scaleY / v.resY);
}

long PrintMapping::LengthX(const ViewTransform& v, Real w) const {
  return v.resX <= 0 ? 0 : Round(pw * w * v.sx * scaleX / v.resX);
}

long PrintMapping::LengthY(const ViewTransform& v, Real h) const {
  return v.resY <= 0 ? 0 : Round(ph * h * v.sy * scaleY / v.resY);
}

}  // namespace kamo
