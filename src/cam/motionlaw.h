// The standard motion laws of cam design (rise, dwell, return), each written
// as formula segments that the formula parser evaluates exactly, and the same
// laws in closed form for previews and checks.
//
// A law runs over a section from phi1 to phi2 with t = (x - phi1)/(phi2 - phi1)
// and takes the radius from R1 to R2: r = R1 + (R2 - R1)·y(t) with y(0) = 0,
// y(1) = 1. The piecewise laws (modified trapezoid, modified sine) become
// several consecutive segments, one per piece.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "cam/model.h"
#include "core/real.h"

namespace kamo {

enum class MotionLaw {
  Dwell,       // constant radius
  Linear,      // constant velocity
  Harmonic,    // simple harmonic, half a cosine wave ("sinus")
  Cycloidal,
  Poly345,     // 3-4-5 polynomial
  Poly4567,    // 4-5-6-7 polynomial
  ModTrap,     // modified trapezoid (5 pieces)
  ModSine,     // modified sine (3 pieces)
};
inline constexpr int kMotionLawCount = 8;

// The keyword of a law in a motion programme: dwell linear harmonic
// cycloidal 345 4567 modtrap modsine.
const char* MotionLawKeyword(MotionLaw law);
// The German name shown in the dialogs (CP850).
const char* MotionLawName(MotionLaw law);
// The law of a keyword (case-insensitive); false when there is none.
bool MotionLawFromKeyword(std::string_view word, MotionLaw& law);
// All laws in the order above.
const std::vector<MotionLaw>& AllMotionLaws();

// The number of formula segments a law needs.
int MotionLawPieces(MotionLaw law);

// y(t) and its derivatives with respect to t, 0 <= t <= 1.
struct LawValue {
  Real y = 0, v = 0, a = 0, j = 0;
};
LawValue EvalMotionLaw(MotionLaw law, Real t);

// The textbook coefficients: peak |y'|, |y''| and |y'''| over the section
// (0 where unbounded or not defined: linear acceleration, harmonic jerk).
struct LawCoefficients {
  Real cv = 0, ca = 0, cj = 0;
};
LawCoefficients MotionLawCoefficients(MotionLaw law);

// The formula segments of one section: the pieces from phi1Deg to phi2Deg
// (degrees, phi1Deg < phi2Deg) for the radii r1 -> r2 (mm). Each piece's
// xMax is its upper limit in degrees; the last one is phi2Deg exactly.
// The formulas use x in radians, never "^" (the parser refuses a power of
// the base 0), and stay within the 254 characters of a field.
std::vector<teilkurveRec> MotionLawSegments(MotionLaw law, Real phi1Deg, Real phi2Deg, Real r1,
                                            Real r2);

}  // namespace kamo
