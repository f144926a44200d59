// The formula parser: recursive descent over the normalised text, one
// character of look-ahead, evaluating while it parses.
#include "cam/mathpars.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "core/fields.h"
#include "core/numstyle.h"
#include "core/real.h"

namespace kamo {
namespace {

constexpr char kEnd = '\r';
// Deeper nesting stops the parse with a position instead of exhausting the stack.
constexpr int kMaxDepth = 200;
// 1755! overflows the extended real.
constexpr Real kMaxFactorial = 1754;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Parser {
 public:
  Parser(const std::string& text, Real x) : text_(text), x_(x) { Advance(); }

  FormulaResult Run() {
    Real v = Expression();
    FormulaResult r;
    r.error = ch_ == kEnd ? 0 : pos_;
    if (domain_ || !std::isfinite(v)) {
      r.value = 0;
      if (r.error == 0) r.error = kFormulaDomain;
    } else {
      r.value = v;
    }
    return r;
  }

 private:
  void Advance() {
    ++pos_;
    ch_ = pos_ <= static_cast<int>(text_.size()) ? text_[static_cast<size_t>(pos_ - 1)] : kEnd;
  }

  // Every intermediate result passes here, so that no NaN or infinity travels on.
  Real Checked(Real v) {
    if (!std::isfinite(v)) {
      domain_ = true;
      return 0;
    }
    return v;
  }

  Real Expression() {
    Real v = Term();
    while (ch_ == '+' || ch_ == '-') {
      char op = ch_;
      Advance();
      Real t = Term();
      v = Checked(op == '+' ? v + t : v - t);
    }
    return v;
  }

  Real Term() {
    Real v = Power();
    while (ch_ == '*' || ch_ == '/') {
      char op = ch_;
      Advance();
      Real p = Power();
      if (op == '*') {
        v = Checked(v * p);
      } else if (p == 0) {
        domain_ = true;
        v = 0;
      } else {
        v = Checked(v / p);
      }
    }
    return v;
  }

  Real Power() {
    Real v = Signed();
    while (ch_ == '^') {
      Advance();
      // A zero base leaves the exponent unread, as the stored formulas expect.
      if (v == 0) continue;
      Real e = Signed();
      if (v < 0) {
        domain_ = true;
        v = 0;
      } else {
        v = Checked(std::exp(Checked(e * std::log(v))));
      }
    }
    return v;
  }

  Real Signed() {
    if (ch_ == '-') {
      Advance();
      return -Factor();
    }
    return Factor();
  }

  Real Number() {
    int start = pos_;
    while (IsDigit(ch_)) Advance();
    if (ch_ == '.') {
      Advance();
      while (IsDigit(ch_)) Advance();
    }
    if (ch_ == 'E') {
      Advance();
      if (ch_ != kEnd) Advance();
      while (IsDigit(ch_)) Advance();
    }
    std::string_view s(text_.data() + start - 1, static_cast<size_t>(pos_ - start));
    Real v = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
      domain_ = true;
      return 0;
    }
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return 0;  // e.g. "2E*": no number
    return Checked(v);
  }

  bool Match(std::string_view name) const {
    return text_.compare(static_cast<size_t>(pos_ - 1), name.size(), name) == 0;
  }

  Real Factor() {
    if (ch_ == kEnd) return 0;
    if (depth_ >= kMaxDepth) return 0;
    ++depth_;
    Real v = FactorBody();
    --depth_;
    return v;
  }

  Real FactorBody() {
    if (IsDigit(ch_)) return Number();
    if (ch_ == '(') {
      Advance();
      Real v = Expression();
      if (ch_ == ')') Advance();
      return v;
    }
    static constexpr std::string_view kNames[] = {"ABS", "SQRT", "SQR", "SIN", "COS", "ARCTAN", "LN",
                                                  "LOG", "EXP", "FAK", "PI",   "E",   "X"};
    for (size_t k = 0; k < std::size(kNames); ++k) {
      if (!Match(kNames[k])) continue;
      for (size_t i = 0; i < kNames[k].size(); ++i) Advance();
      Real a = Factor();
      return Apply(static_cast<int>(k), a);
    }
    return 0;  // not a factor: the position stays where it is
  }

  Real Apply(int name, Real a) {
    switch (name) {
      case 0: return std::fabs(a);
      case 1:
        if (a < 0) {
          domain_ = true;
          return 0;
        }
        return std::sqrt(a);
      case 2: return Checked(a * a);
      case 3: return std::sin(a);
      case 4: return std::cos(a);
      case 5: return std::atan(a);
      case 6:
      case 7:
        if (a <= 0) {
          domain_ = true;
          return 0;
        }
        return name == 6 ? std::log(a) : std::log(a) / std::log(10.0L);
      case 8: return Checked(std::exp(a));
      case 9: {
        if (a > kMaxFactorial) {
          domain_ = true;
          return 0;
        }
        Real f = 1;
        if (a < 2) return f;
        for (int i = 2; i <= static_cast<int>(a); ++i) f *= i;
        return f;
      }
      case 10: return kPi;
      case 11: return 2.718281828459045L;
      default: return x_;
    }
  }

  const std::string& text_;
  Real x_;
  int pos_ = 0;
  char ch_ = kEnd;
  int depth_ = 0;
  bool domain_ = false;
};

}  // namespace

std::string NormaliseFormula(const std::string& formula) {
  std::string t;
  t.reserve(formula.size() + 4);
  for (char c : formula) {
    if (c == ' ') continue;
    if (c == ',') c = '.';
    else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    t.push_back(c);
  }
  std::string out;
  out.reserve(t.size() + 4);
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '.' && (i == 0 || !IsDigit(t[i - 1]))) out.push_back('0');
    out.push_back(t[i]);
  }
  if (!out.empty() && out[0] == '+') out.erase(0, 1);
  return out;
}

long long& FormulaParses() {
  thread_local long long parses = 0;
  return parses;
}

FormulaResult EvalFormula(std::string& formula, Real x) {
  ++FormulaParses();
  std::string t = NormaliseFormula(formula);
  if (t.empty()) return {0, kFormulaEmpty};
  long open = 0, close = 0;
  for (char c : t) {
    if (c == '(') ++open;
    if (c == ')') ++close;
  }
  if (open != close) return {0, kFormulaParens};
  formula = t;
  if (!std::isfinite(x)) return {0, kFormulaDomain};
  Parser p(formula, x);
  return p.Run();
}

std::string FormulaNumber(Real x) {
  NumberStyle dot;
  std::string t = FormatRoundTrip(dot, x);
  return x < 0 ? "(" + t + ")" : t;
}

std::string FormulaAngle(Real x) {
  char buf[80];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 12);
  std::string t(buf, r.ptr);
  return x < 0 ? "(" + t + ")" : t;
}

}  // namespace kamo
