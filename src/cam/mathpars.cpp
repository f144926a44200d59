// The formula parser: recursive descent over the normalised text, one
// character of look-ahead, evaluating while it parses.
#include "cam/mathpars.h"

#include <charconv>
#include <cmath>

#include "cam/formulascan.h"
#include "core/fields.h"
#include "core/numstyle.h"
#include "core/real.h"

namespace kamo {
namespace {

class Parser : FormulaScanner {
 public:
  Parser(const std::string& text, Real x) : FormulaScanner(text), x_(x) {}

  FormulaResult Run() {
    Real v = Expression();
    FormulaResult r;
    r.error = ch_ == kFormulaEnd ? 0 : pos_;
    if (domain_ || !std::isfinite(v)) {
      r.value = 0;
      if (r.error == 0) r.error = kFormulaDomain;
    } else {
      r.value = v;
    }
    return r;
  }

 private:
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
    Literal l = ReadNumber();
    if (l.outOfRange) domain_ = true;
    return Checked(l.value);
  }

  Real Factor() {
    if (ch_ == kFormulaEnd || depth_ >= kFormulaMaxDepth) return 0;
    ++depth_;
    Real v = FactorBody();
    --depth_;
    return v;
  }

  Real FactorBody() {
    if (IsFormulaDigit(ch_)) return Number();
    if (ch_ == '(') {
      Advance();
      Real v = Expression();
      if (ch_ == ')') Advance();
      return v;
    }
    int name = ReadName();
    if (name < 0) return 0;  // not a factor: the position stays where it is
    Real a = Factor();
    return Apply(name, a);
  }

  Real Apply(int name, Real a) {
    switch (name) {
      case kNameAbs: return std::fabs(a);
      case kNameSqrt:
        if (a < 0) {
          domain_ = true;
          return 0;
        }
        return std::sqrt(a);
      case kNameSqr: return Checked(a * a);
      case kNameSin: return std::sin(a);
      case kNameCos: return std::cos(a);
      case kNameArctan: return std::atan(a);
      case kNameLn:
      case kNameLog:
        if (a <= 0) {
          domain_ = true;
          return 0;
        }
        return name == kNameLn ? std::log(a) : std::log(a) / std::log(10.0L);
      case kNameExp: return Checked(std::exp(a));
      case kNameFak: {
        if (a > kFormulaMaxFactorial) {
          domain_ = true;
          return 0;
        }
        Real f = 1;
        if (a < 2) return f;
        for (int i = 2; i <= static_cast<int>(a); ++i) f *= i;
        return f;
      }
      case kNamePi: return kPi;
      case kNameE: return 2.718281828459045L;
      default: return x_;
    }
  }

  Real x_;
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
    if (t[i] == '.' && (i == 0 || !IsFormulaDigit(t[i - 1]))) out.push_back('0');
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
  if (!FormulaParensBalance(t)) return {0, kFormulaParens};
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
