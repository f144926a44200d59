// The value lines shared by the project file and the configuration file:
// how numbers, booleans and paths are written as one line each, and how a
// file is cut into lines again.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/numstyle.h"
#include "core/strings.h"
#include "core/real.h"

namespace kamo::io {

// Decimals written for a value that has d decimals with the default decimals
// setting: a higher setting adds decimals (at most 10), a lower one never
// removes any, so that a coarse display setting cannot coarsen saved data.
int FileDecimals(const NumberStyle& ns, int d);
// Fixed point with FileDecimals(d) decimals and the style's separator.
std::string FixedLine(const NumberStyle& ns, int d, Real x);
// The real line: 7 decimals; a value below 1 within 1e-10 of a whole number
// in the general short form (0 is written "0").
std::string RealLine(const NumberStyle& ns, Real x);
// 14 decimals, for polynomial coefficients.
std::string LongRealLine(const NumberStyle& ns, Real x);
inline std::string BoolLine(bool b) { return b ? "TRUE" : "FALSE"; }

// Lines of a file (core/strings.h).
using kamo::SplitLines;
// Without blanks and tabs at both ends: numbers read from a line.
std::string_view TrimNumber(std::string_view s);

// Native (UTF-8) paths in DOS code-page files: written in CP850 when the code
// page holds every character, else as UTF-8; read back by the same test.
std::string PathToFile(const std::string& native);
std::string PathFromFile(std::string_view line);

}  // namespace kamo::io
