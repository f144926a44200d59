// Value lines of the program's text files.
#include "io/lines.h"

#include <algorithm>
#include <cmath>

#include "core/codepage.h"
#include "core/numbers.h"

namespace kamo::io {

int FileDecimals(const NumberStyle& ns, int d) {
  int s = ns.effectiveDecimals();
  if (s <= 3) return d;
  return std::max(d, std::min(d + s - 3, 10));
}

std::string FixedLine(const NumberStyle& ns, int d, Real x) {
  // The shift is applied here, so the formatter must not shift again.
  NumberStyle plain = ns;
  plain.decimals = 3;
  return FormatDecimals(plain, FileDecimals(ns, d), x);
}

std::string RealLine(const NumberStyle& ns, Real x) {
  if (std::isfinite(x) && x < 1 && std::fabs(x - std::round(x)) < 1e-10L) return FormatGeneral(ns, x);
  return FixedLine(ns, 7, x);
}

std::string LongRealLine(const NumberStyle& ns, Real x) { return FixedLine(ns, 14, x); }

std::string_view TrimNumber(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

namespace {
// Strict UTF-8 with at least one multi-byte character.
bool IsMultibyteUtf8(std::string_view s) {
  bool multi = false;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 9;
    if (n == 9 || (n == 1 && c < 0xC2)) return false;
    if (n > 0 && i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    if (n > 0) multi = true;
    i += n + 1;
  }
  return multi;
}
}  // namespace

std::string PathToFile(const std::string& native) {
  std::string cp = Utf8ToCp850(native);
  return Cp850ToUtf8(cp) == native ? cp : native;
}

std::string PathFromFile(std::string_view line) {
  if (IsMultibyteUtf8(line)) return std::string(line);
  return Cp850ToUtf8(line);
}

}  // namespace kamo::io
