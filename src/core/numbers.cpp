// Numbers to text and back, and the unit systems.
#include "core/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/geometry.h"

namespace kamo {
namespace {

std::string WithSeparator(std::string s, char sep) {
  if (sep != '.')
    for (char& c : s)
      if (c == '.') c = sep;
  return s;
}

std::string NonFinite(Real x) {
  if (std::isnan(x)) return "NAN";
  return x < 0 ? "-INF" : "INF";
}

// Fixed notation with d decimals, or scientific notation once the integer part
// needs more than `precision` digits.
std::string FixedOrScientific(Real x, int precision, int d) {
  if (!std::isfinite(x)) return NonFinite(x);
  if (precision < 1) precision = 1;
  if (precision > 18) precision = 18;
  char buf[5200];
  auto fixed = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, d);
  std::string s(buf, fixed.ptr);
  size_t start = (!s.empty() && s[0] == '-') ? 1 : 0;
  size_t dot = s.find('.');
  size_t intDigits = (dot == std::string::npos ? s.size() : dot) - start;
  if (static_cast<int>(intDigits) <= precision) {
    // "-0.000" shows as "0.000".
    if (start == 1 && s.find_first_not_of("0.", 1) == std::string::npos) s.erase(0, 1);
    return s;
  }
  auto sci = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, precision - 1);
  std::string t(buf, sci.ptr);
  size_t epos = t.find('e');
  std::string mant = t.substr(0, epos);
  int exp = std::atoi(t.c_str() + epos + 1);
  if (mant.find('.') != std::string::npos) {
    while (mant.back() == '0') mant.pop_back();
    if (mant.back() == '.') mant.pop_back();
  }
  return mant + "E" + std::to_string(exp);
}

Real SafeRound(Real v) { return std::isfinite(v) ? std::round(v) : 0; }

// Removes trailing zero digits from the count of decimals as the analysis does.
int TrimZeros(Real scaled, int decimals) {
  Real e = SafeRound(scaled);
  if (e <= 0) return decimals;
  for (int guard = 0; guard < 60; ++guard) {
    e = std::trunc(e / 10);
    if (std::fmod(e, 10.0L) == 0) {
      --decimals;
      if (e == 0) break;
    } else {
      break;
    }
  }
  return decimals;
}

std::string GeneralWithPlaces(const NumberStyle& ns, int places, Real x) {
  if (!std::isfinite(x)) return NonFinite(x);
  if (std::fabs(x) < 1e-5L) return "0";
  DigitCount dc = SignificantDigits(x, places);
  return WithSeparator(FixedOrScientific(x, 18, dc.decimals),
                       ns.decimalSeparator);
}

}  // namespace

DigitCount SignificantDigits(Real x, int p) {
  Real b = std::fabs(x);
  if (x == 0 || !std::isfinite(b)) b = 0.5L;
  int c = Exponent10(b);
  DigitCount r;
  if (c >= p) {
    r.integer = c + 1;
    r.decimals = 0;
  } else if (c < 0) {
    r.integer = 0;
    r.decimals = p - c - 1;
    r.decimals = TrimZeros(b * Pow10(p) / Pow10(c), r.decimals);
  } else {
    r.integer = c + 1;
    r.decimals = p - c;
    r.decimals = TrimZeros(b * Pow10(p - c + 1), r.decimals);
  }
  if (r.decimals < 0) r.decimals = 0;
  return r;
}

std::string FormatGeneral(const NumberStyle& ns, Real x) { return GeneralWithPlaces(ns, 3, x); }

std::string FormatGeneralN(const NumberStyle& ns, int offset, Real x) {
  return GeneralWithPlaces(ns, 3 - offset, x);
}

std::string FormatGeneral6(const NumberStyle& ns, Real x) { return FormatGeneralN(ns, -3, x); }

std::string FormatEngineering(const NumberStyle& ns, Real x) {
  if (!std::isfinite(x)) return NonFinite(x);
  int a = Exponent10(x);
  int b = a % 3;
  if (a >= 4) {
    Real y = x / Pow10(a - b);
    return FormatGeneral(ns, y) + "E" + std::to_string((a / 3) * 3);
  }
  if (a < -2) {
    Real y = x * Pow10(b - a);
    return FormatGeneral(ns, y) + "E" + std::to_string((a / 3) * 3);
  }
  return FormatGeneral(ns, x);
}

std::string FormatAuto(const NumberStyle& ns, Real x) {
  if (std::fabs(x) < 1e-12L) x = 0;
  if (x != 0 && (std::fabs(x) < 1e-4L || std::fabs(x) >= 10000)) return FormatEngineering(ns, x);
  return FormatGeneral(ns, x);
}

std::string FormatFixed(const NumberStyle& ns, int w, int d, Real x) {
  int s = ns.effectiveDecimals();
  if (s != 3) d = std::clamp(d + s - 3, 0, 10);
  if (d < 0) d = 0;
  if (d > 60) d = 60;
  if (std::fabs(x) < 1e-15L) x = 0;
  std::string t = WithSeparator(FixedOrScientific(x, w + d, d), ns.decimalSeparator);
  long long pad = d < 1 ? static_cast<long long>(w) - static_cast<long long>(t.size())
                        : static_cast<long long>(w) + d + 1 - static_cast<long long>(t.size());
  if (pad > 0) t.insert(0, static_cast<size_t>(Min<long long>(pad, 4096)), ' ');
  return t;
}

std::string FormatDecimals(const NumberStyle& ns, int decimals, Real x) {
  DigitCount dc = SignificantDigits(x, 3);
  return FormatFixed(ns, dc.integer, decimals, x);
}

static NumberStyle Dotted(const NumberStyle& ns) {
  NumberStyle d = ns;
  d.decimalSeparator = '.';
  return d;
}

std::string FormatGeneralDot(const NumberStyle& ns, Real x) { return FormatGeneral(Dotted(ns), x); }
std::string FormatFixedDot(const NumberStyle& ns, int w, int d, Real x) {
  return FormatFixed(Dotted(ns), w, d, x);
}
std::string FormatDecimalsDot(const NumberStyle& ns, int d, Real x) {
  return FormatDecimals(Dotted(ns), d, x);
}

std::string FormatLength(const NumberStyle& ns, Real x) {
  if (ns.inch()) return FormatDecimals(ns, 4, x / kMmPerInch);
  return FormatGeneral(ns, x);
}

std::string FormatLengthFixed(const NumberStyle& ns, int w, int d, Real x) {
  if (ns.inch()) return FormatFixed(ns, Max(w - 1, 1), d + 1, x / kMmPerInch);
  return FormatFixed(ns, w, d, x);
}

std::string FormatForce(const NumberStyle& ns, Real x) {
  if (ns.inch()) x /= kNPerLbf;
  else if (ns.unitSystem == 2 || ns.unitSystem == 4) x /= 1000;
  return FormatGeneral(ns, x);
}

std::string FormatArea(const NumberStyle& ns, Real x) {
  return FormatGeneral(ns, ns.inch() ? x / kMm2PerIn2 : x);
}
std::string FormatMoment(const NumberStyle& ns, Real x) {
  return FormatGeneral(ns, ns.inch() ? x / kMm4PerIn4 : x);
}
std::string FormatVolume(const NumberStyle& ns, Real x) {
  return FormatAuto(ns, ns.inch() ? x / kMm3PerIn3 : x);
}
Real LengthToDisplay(const NumberStyle& ns, Real x) { return ns.inch() ? x / kMmPerInch : x; }

namespace {
constexpr std::array<Real, kMaxExactPow10 + 1> kPow10 = [] {
  std::array<Real, kMaxExactPow10 + 1> p{};
  p[0] = 1;
  for (size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

// [-]digits[.digits] without exponent and with at most 19 significant digits, such as
// every number of our own files: its digits are an exact integer and the
// power of ten is exact, so the one rounding of the quotient is the rounding
// of the decimal value itself, as from_chars does it, at a fraction of the cost.
bool ShortDecimal(std::string_view s, Real& out) {
  size_t i = 0;
  const bool negative = i < s.size() && s[i] == '-';
  if (negative) ++i;
  std::uint64_t m = 0;
  int digits = 0, significant = 0, decimals = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return false;
    ++digits;
    if (point) ++decimals;
    if (m == 0 && c == '0') continue;
    if (++significant > 19) return false;
    m = m * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (digits == 0 || static_cast<size_t>(decimals) >= kPow10.size()) return false;
  Real v = static_cast<Real>(m) / kPow10[static_cast<size_t>(decimals)];
  out = negative ? -v : v;
  return true;
}
}  // namespace

Real ExactPow10(int n) { return kPow10[static_cast<size_t>(std::clamp(n, 0, kMaxExactPow10))]; }

bool TryParseReal(std::string_view s, Real& out) {
  if (ShortDecimal(s, out)) return true;
  out = 0;
  std::string t(s);
  size_t comma = t.find(',');
  if (comma != std::string::npos) t[comma] = '.';
  size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  // Syntax: [sign] digits [. digits] [(e|E) [sign] digits], at least one mantissa digit.
  size_t start = i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t ed = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++ed;
    if (ed == 0) return false;
  }
  if (i != t.size()) return false;
  const char* first = t.data() + start;
  if (*first == '+') ++first;
  Real v = 0;
  auto r = std::from_chars(first, t.data() + t.size(), v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v)) return false;
  out = v;
  return true;
}

Real ParseReal(std::string_view s) {
  Real v;
  TryParseReal(s, v);
  return v;
}

Real ParseLength(const NumberStyle& ns, std::string_view s) {
  Real v = ParseReal(s);
  return ns.inch() ? v * kMmPerInch : v;
}

bool TryParseInt(std::string_view s, int& out) {
  out = 0;
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  const char* first = s.data() + i;
  const char* last = s.data() + s.size();
  if (first < last && *first == '+') ++first;
  if (first == last) return false;
  int v = 0;
  auto r = std::from_chars(first, last, v, 10);
  if (r.ec != std::errc() || r.ptr != last) return false;
  out = v;
  return true;
}

int ParseInt(std::string_view s) {
  int v;
  TryParseInt(s, v);
  return v;
}

std::string UnitLength(const NumberStyle& ns) { return ns.inch() ? "in" : "mm"; }
std::string UnitForce(const NumberStyle& ns) {
  if (ns.inch()) return "lbf";
  return (ns.unitSystem == 2 || ns.unitSystem == 4) ? "kN" : "N";
}
// Texts are CP850 bytes: 253 is "²", 252 "³", 248 "°".
std::string UnitArea(const NumberStyle& ns) {
  std::string base = ns.inch() ? "in" : "mm";
  return base + (ns.specialChars == 1 ? "2" : "\xFD");
}
std::string UnitVolume(const NumberStyle& ns) {
  std::string base = ns.inch() ? "in" : "mm";
  return base + (ns.specialChars == 1 ? "3" : "\xFC");
}
std::string UnitMoment(const NumberStyle& ns) { return ns.inch() ? "in4" : "mm4"; }
std::string UnitAngle(const NumberStyle& ns) { return ns.specialChars == 1 ? "deg" : "\xF8"; }

std::string UnitSystemText(int i) {
  switch (i) {
    case 1: return "englisch (in, lbf, psi, lbfin, degF)";
    case 2: return "metrisch (mm, kN, MPa, Nm, \xF8" "C)";
    case 3: return "metrisch (mm, N, N/mm\xFD, Nmm, \xF8" "C)";
    case 4: return "metrisch (mm, kN, N/mm\xFD, Nm, \xF8" "C)";
    default: return "metrisch (mm, N, MPa, Nmm, \xF8" "C)";
  }
}

std::string FormatDate(const NumberStyle& ns, int year, int month, int day) {
  auto two = [](int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
  };
  std::string y = std::to_string(year), m = two(month), d = two(day);
  switch (ns.dateFormat) {
    case 1: return d + "." + m + "." + y;
    case 2: return m + "/" + d + "/" + y;
    case 3: return y + "-" + m + "-" + d;
    case 4: return d + "/" + m + "/" + y;
    default: return y + "/" + m + "/" + d;
  }
}

}  // namespace kamo
