// Plane geometry and small number functions used by the calculation and the drawings.
// Angles are radians unless a name says Deg.
#pragma once
#include <utility>

#include "core/real.h"

namespace kamo {

struct XY {
  Real x = 0;
  Real y = 0;
};

Real Tan(Real x);
Real Power(int n, Real x);
Real Hypot(Real a, Real b);
// Polar angle of (x, y), in (-pi/2, 3pi/2).
Real AngleOf(Real y, Real x);
XY PolarToXY(Real phi, Real r);
struct Polar {
  Real r = 0;
  Real phi = 0;
};
Polar XYToPolar(Real y, Real x);

Real Log10(Real x);
Real Pow10(Real x);
// trunc(x), one less for negative x.
long long FloorI(Real x);
int Exponent10(Real x);
Real Frac(Real x);

XY Rotate(Real a, Real y, Real x);
XY RotateShift(Real y, Real x, Real angleDeg, Real dy, Real dx);
XY ScaleRotateShift(Real y, Real x, Real scaleY, Real scaleX, Real angleDeg, Real dy, Real dx);

inline bool SameValue(Real a, Real b) { return (b - a < 0 ? a - b : b - a) < 1e-5L; }
template <class T>
T Max(T a, T b) { return a > b ? a : b; }
template <class T>
T Min(T a, T b) { return a < b ? a : b; }
inline void Swap(Real& a, Real& b) { std::swap(a, b); }
inline bool Between(Real a, Real b, Real c) { return (a <= c && c <= b) || (b <= c && c <= a); }
inline int SignOne(Real x) { return x >= 1 ? 1 : -1; }

Real SweepDeg(Real dir, Real endDeg, Real startDeg);

// The chords an arc of the given sweep (radians, either sign) and length is
// drawn with at a resolution (mm): 0 when one chord to the end point will do,
// else enough that no chord is longer than the resolution or spans more than
// 0.1 rad (1 .. 100000).
long ArcChordCount(Real sweep, Real length, Real resolution);

struct Window {
  Real xmax = 0, xmin = 0, ymax = 0, ymin = 0;
};
Window SquareWindow(Real xmax, Real xmin, Real ymax, Real ymin);

struct AxisScale {
  Real lo = 0, hi = 0, step = 0;
};
AxisScale NiceScale(int n, Real max, Real min);

Real Modulo(Real a, Real b);

}  // namespace kamo
