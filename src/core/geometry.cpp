// Plane geometry and small number functions.
#include "core/geometry.h"

#include <algorithm>
#include <cmath>

namespace kamo {

Real Tan(Real x) { return std::tan(x); }

Real Power(int n, Real x) {
  Real r = 1;
  long long m = n < 0 ? -static_cast<long long>(n) : n;
  for (long long i = 0; i < m; ++i) r *= x;
  return n < 0 ? 1 / r : r;
}

Real Hypot(Real a, Real b) { return std::sqrt(a * a + b * b); }

Real AngleOf(Real y, Real x) {
  if (x == 0) return y >= 0 ? kPi / 2 : -kPi / 2;
  if (x > 0) return std::atan(y / x);
  return std::atan(y / x) + kPi;
}

XY PolarToXY(Real phi, Real r) { return {r * std::cos(phi), r * std::sin(phi)}; }

Polar XYToPolar(Real y, Real x) { return {Hypot(x, y), AngleOf(y, x)}; }

Real Log10(Real x) { return x <= 0 ? 0 : std::log10(x); }
Real Pow10(Real x) { return std::pow(10.0L, x); }

long long FloorI(Real x) {
  if (!std::isfinite(x)) return 0;
  if (x > 9e18L) return 9000000000000000000LL;
  if (x < -9e18L) return -9000000000000000000LL;
  long long t = static_cast<long long>(std::trunc(x));
  return x < 0 ? t - 1 : t;
}

int Exponent10(Real x) {
  if (x == 0 || !std::isfinite(x)) return 0;
  return static_cast<int>(FloorI(Log10(std::fabs(x))));
}

Real Frac(Real x) { return x - std::trunc(x); }

XY Rotate(Real a, Real y, Real x) {
  Real c = std::cos(a), s = std::sin(a);
  return {x * c - y * s, y * c + x * s};
}

XY RotateShift(Real y, Real x, Real angleDeg, Real dy, Real dx) {
  Real a = DegToRad(angleDeg);
  Real c = std::cos(a), s = std::sin(a);
  return {dx + x * c - y * s, dy + y * c + x * s};
}

XY ScaleRotateShift(Real y, Real x, Real scaleY, Real scaleX, Real angleDeg, Real dy, Real dx) {
  return RotateShift(y * scaleY, x * scaleX, angleDeg, dy, dx);
}

Real SweepDeg(Real dir, Real endDeg, Real startDeg) {
  Real e = (Frac(endDeg / 360) - Frac(startDeg / 360)) * 360;
  if (dir < 0) e = -e;
  if (e < 0) e += 360;
  return dir < 0 ? -e : e;
}

Window SquareWindow(Real xmax, Real xmin, Real ymax, Real ymin) {
  Real dx = xmax - xmin, dy = ymax - ymin;
  Window w{xmax, xmin, ymax, ymin};
  if (dx > dy) {
    Real mid = (ymax + ymin) / 2;
    w.ymax = mid + dx / 2;
    w.ymin = mid - dx / 2;
  } else {
    Real mid = (xmax + xmin) / 2;
    w.xmax = mid + dy / 2;
    w.xmin = mid - dy / 2;
  }
  return w;
}

AxisScale NiceScale(int n, Real max, Real min) {
  if (n < 1) n = 1;
  if (SameValue(max, min)) {
    max += 1;
    min -= 1;
  }
  max -= (max - min) * 1e-5L;
  Real d = (max - min) / n;
  Real e = Pow10(Exponent10(d));
  Real q = d / e;
  Real f = q < 1.5L ? 1 : q < 3 ? 2 : q < 8 ? 5 : 10;
  AxisScale s;
  s.step = f * e;
  s.hi = static_cast<Real>(FloorI(max / s.step) + 1) * s.step;
  s.lo = static_cast<Real>(FloorI(min / s.step)) * s.step;
  return s;
}

Real Modulo(Real a, Real b) { return a == 0 ? 0 : a * Frac(b / a); }

long ArcChordCount(Real sweep, Real length, Real resolution) {
  Real s = std::fabs(sweep);
  if (length <= resolution && s <= 0.1L) return 0;
  Real n = s * resolution / length <= 0.1L ? std::round(length / resolution) : std::round(s / 0.1L);
  return static_cast<long>(std::clamp<Real>(n, 1, 100000));
}

}  // namespace kamo
