// Numbers to text and back, unit conversion and the significant-digit rules
// that every dialog, report and file of the program shares.
#pragma once
#include <string>
#include <string_view>

#include "core/numstyle.h"
#include "core/real.h"

namespace kamo {

struct DigitCount {
  int integer = 0;   // I: integer digits
  int decimals = 0;  // D: decimals
};
// The significant-digit analysis with p places.
DigitCount SignificantDigits(Real x, int places);

std::string FormatGeneral(const NumberStyle& ns, Real x);
std::string FormatGeneralN(const NumberStyle& ns, int offset, Real x);
std::string FormatGeneral6(const NumberStyle& ns, Real x);
std::string FormatAuto(const NumberStyle& ns, Real x);
std::string FormatEngineering(const NumberStyle& ns, Real x);
std::string FormatFixed(const NumberStyle& ns, int width, int decimals, Real x);
std::string FormatDecimals(const NumberStyle& ns, int decimals, Real x);

// Dot variants: a point whatever the separator setting.
std::string FormatGeneralDot(const NumberStyle& ns, Real x);
std::string FormatFixedDot(const NumberStyle& ns, int width, int decimals, Real x);
std::string FormatDecimalsDot(const NumberStyle& ns, int decimals, Real x);

std::string FormatLength(const NumberStyle& ns, Real x);
std::string FormatLengthFixed(const NumberStyle& ns, int width, int decimals, Real x);
std::string FormatForce(const NumberStyle& ns, Real x);
std::string FormatArea(const NumberStyle& ns, Real x);
std::string FormatMoment(const NumberStyle& ns, Real x);
std::string FormatVolume(const NumberStyle& ns, Real x);
Real LengthToDisplay(const NumberStyle& ns, Real x);

// Never throws: text that is not a complete finite number yields 0.
Real ParseReal(std::string_view s);
// As ParseReal, and tells whether the text was a number at all.
bool TryParseReal(std::string_view s, Real& out);
// 10^n for n in 0..27, exact in long double (a quotient by one of them is
// the correctly rounded decimal).
inline constexpr int kMaxExactPow10 = 27;
Real ExactPow10(int n);
Real ParseLength(const NumberStyle& ns, std::string_view s);
int ParseInt(std::string_view s);
bool TryParseInt(std::string_view s, int& out);

// Unit symbols of the current unit system.
std::string UnitLength(const NumberStyle& ns);
std::string UnitForce(const NumberStyle& ns);
std::string UnitArea(const NumberStyle& ns);
std::string UnitVolume(const NumberStyle& ns);
std::string UnitMoment(const NumberStyle& ns);
std::string UnitAngle(const NumberStyle& ns);
// The choice text of unit system i (0..4), CP850.
std::string UnitSystemText(int i);

inline constexpr Real kMmPerInch = 25.4L;
inline constexpr Real kNPerLbf = 4.44822L;
inline constexpr Real kMm2PerIn2 = 645.16L;
inline constexpr Real kMm3PerIn3 = 16387.064L;
inline constexpr Real kMm4PerIn4 = 416231.4256L;

inline Real InchToMm(Real x) { return x * kMmPerInch; }
inline Real MmToInch(Real x) { return x / kMmPerInch; }
inline Real NToLbf(Real x) { return x / kNPerLbf; }
inline Real Mm2ToIn2(Real x) { return x / kMm2PerIn2; }
inline Real Mm3ToIn3(Real x) { return x / kMm3PerIn3; }
inline Real Mm4ToIn4(Real x) { return x / kMm4PerIn4; }

std::string FormatDate(const NumberStyle& ns, int year, int month, int day);

}  // namespace kamo
