// What the formula parser and the formula compiler share: the scanner over
// the normalised text (one character of look-ahead, 1-based positions), its
// number literals, the names of the functions and the limits of the parse.
#pragma once
#include <charconv>
#include <string>
#include <string_view>

#include "core/real.h"

namespace kamo {

inline constexpr char kFormulaEnd = '\r';
// Deeper nesting stops the parse with a position instead of exhausting the stack.
inline constexpr int kFormulaMaxDepth = 200;
// 1755! overflows the extended real.
inline constexpr Real kFormulaMaxFactorial = 1754;

// The names a factor may start with, in the order they are tried (SQRT before
// SQR); PI, E and X read an argument whose value they drop.
inline constexpr std::string_view kFormulaNames[] = {"ABS", "SQRT", "SQR", "SIN", "COS", "ARCTAN", "LN",
                                                     "LOG", "EXP",  "FAK", "PI",  "E",   "X"};
enum FormulaName { kNameAbs, kNameSqrt, kNameSqr, kNameSin, kNameCos, kNameArctan, kNameLn,
                   kNameLog, kNameExp, kNameFak, kNamePi, kNameE, kNameX };

inline bool IsFormulaDigit(char c) { return c >= '0' && c <= '9'; }

// Whether the text has as many "(" as ")" (a parse needs that first).
inline bool FormulaParensBalance(const std::string& text) {
  long open = 0, close = 0;
  for (char c : text) {
    open += c == '(';
    close += c == ')';
  }
  return open == close;
}

class FormulaScanner {
 protected:
  explicit FormulaScanner(const std::string& text) : text_(text) { Advance(); }

  void Advance() {
    ++pos_;
    ch_ = pos_ <= static_cast<int>(text_.size()) ? text_[static_cast<size_t>(pos_ - 1)] : kFormulaEnd;
  }
  bool Match(std::string_view name) const {
    return text_.compare(static_cast<size_t>(pos_ - 1), name.size(), name) == 0;
  }
  // The name of the function at the current position, read past; -1 if none.
  int ReadName() {
    for (size_t k = 0; k < std::size(kFormulaNames); ++k) {
      if (!Match(kFormulaNames[k])) continue;
      for (size_t i = 0; i < kFormulaNames[k].size(); ++i) Advance();
      return static_cast<int>(k);
    }
    return -1;
  }

  struct Literal {
    Real value = 0;           // 0 when it is no number ("2E*") or out of range
    bool outOfRange = false;  // beyond the extended real
  };
  // The number literal at the current position (digits, point, exponent),
  // read past.
  Literal ReadNumber() {
    int start = pos_;
    while (IsFormulaDigit(ch_)) Advance();
    if (ch_ == '.') {
      Advance();
      while (IsFormulaDigit(ch_)) Advance();
    }
    if (ch_ == 'E') {
      Advance();
      if (ch_ != kFormulaEnd) Advance();
      while (IsFormulaDigit(ch_)) Advance();
    }
    std::string_view s(text_.data() + start - 1, static_cast<size_t>(pos_ - start));
    Literal l;
    auto res = std::from_chars(s.data(), s.data() + s.size(), l.value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) l.outOfRange = true;
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) l.value = 0;
    return l;
  }

  const std::string& text_;
  int pos_ = 0;
  char ch_ = kFormulaEnd;
};

}  // namespace kamo
