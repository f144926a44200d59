// The formula compiler: the recursive descent of the parser, emitting
// instructions of a small stack machine instead of computing values.
#include "cam/formulacode.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace kamo {

namespace {
constexpr char kEnd = '\r';
// The same limits as the parser's.
constexpr int kMaxDepth = 200;
constexpr Real kMaxFactorial = 1754;
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

class FormulaCompiler {
 public:
  explicit FormulaCompiler(CompiledFormula& f) : f_(f), text_(f.text_) { Advance(); }

  void Run() {
    Expression();
    f_.syntax_ = ch_ == kEnd ? 0 : pos_;
  }

 private:
  using Op = CompiledFormula::Op;

  void Advance() {
    ++pos_;
    ch_ = pos_ <= static_cast<int>(text_.size()) ? text_[static_cast<size_t>(pos_ - 1)] : kEnd;
  }

  // Stack effect of each instruction: pushes +1, binary operations -1.
  void Emit(Op op, std::uint32_t arg = 0) {
    f_.code_.push_back({op, arg});
    switch (op) {
      case Op::Const:
      case Op::X: ++depth_; break;
      case Op::Add:
      case Op::Sub:
      case Op::Mul:
      case Op::Div:
      case Op::Pow:
      case Op::Pop: --depth_; break;
      default: break;
    }
    if (depth_ > f_.stackDepth_) f_.stackDepth_ = depth_;
  }
  void Constant(Real v) {
    f_.constants_.push_back(v);
    Emit(Op::Const, static_cast<std::uint32_t>(f_.constants_.size() - 1));
  }

  void Expression() {
    Term();
    while (ch_ == '+' || ch_ == '-') {
      char op = ch_;
      Advance();
      Term();
      Emit(op == '+' ? Op::Add : Op::Sub);
    }
  }

  void Term() {
    Power();
    while (ch_ == '*' || ch_ == '/') {
      char op = ch_;
      Advance();
      Power();
      Emit(op == '*' ? Op::Mul : Op::Div);
    }
  }

  // The exponent is always compiled; a base of 0 at run time hands the
  // evaluation to the parser, which leaves that exponent unread.
  void Power() {
    Signed();
    while (ch_ == '^') {
      Advance();
      Signed();
      Emit(Op::Pow);
    }
  }

  void Signed() {
    if (ch_ == '-') {
      Advance();
      Factor();
      Emit(Op::Neg);
      return;
    }
    Factor();
  }

  void Number() {
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
      f_.numberDomain_ = true;
      Constant(0);
      return;
    }
    if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(v)) v = 0;
    Constant(v);
  }

  bool Match(std::string_view name) const {
    return text_.compare(static_cast<size_t>(pos_ - 1), name.size(), name) == 0;
  }

  void Factor() {
    if (ch_ == kEnd || nesting_ >= kMaxDepth) {
      Constant(0);
      return;
    }
    ++nesting_;
    FactorBody();
    --nesting_;
  }

  void FactorBody() {
    if (IsDigit(ch_)) return Number();
    if (ch_ == '(') {
      Advance();
      Expression();
      if (ch_ == ')') Advance();
      return;
    }
    static constexpr std::string_view kNames[] = {"ABS", "SQRT", "SQR", "SIN", "COS", "ARCTAN", "LN",
                                                  "LOG", "EXP", "FAK", "PI",   "E",   "X"};
    static constexpr Op kOps[] = {Op::Abs, Op::Sqrt, Op::Sqr, Op::Sin, Op::Cos, Op::Arctan, Op::Ln,
                                  Op::Log, Op::Exp,  Op::Fak};
    for (size_t k = 0; k < std::size(kNames); ++k) {
      if (!Match(kNames[k])) continue;
      for (size_t i = 0; i < kNames[k].size(); ++i) Advance();
      Factor();
      if (k < std::size(kOps)) {
        Emit(kOps[k]);
      } else {
        // PI, E and X read an argument and drop its value.
        Emit(Op::Pop);
        if (k == 10) Constant(3.1415926535897932385L);
        else if (k == 11) Constant(2.718281828459045L);
        else Emit(Op::X);
      }
      return;
    }
    Constant(0);  // not a factor: the position stays where it is
  }

  CompiledFormula& f_;
  const std::string& text_;
  int pos_ = 0;
  char ch_ = kEnd;
  int nesting_ = 0;
  size_t depth_ = 0;
};

CompiledFormula::CompiledFormula(const std::string& formula) : text_(NormaliseFormula(formula)) {
  ++FormulaParses();
  if (text_.empty()) {
    syntax_ = kFormulaEmpty;
    return;
  }
  long open = 0, close = 0;
  for (char c : text_) {
    if (c == '(') ++open;
    if (c == ')') ++close;
  }
  if (open != close) {
    syntax_ = kFormulaParens;
    return;
  }
  FormulaCompiler(*this).Run();
}

FormulaResult CompiledFormula::eval(Real x) const {
  if (syntax_ == kFormulaEmpty || syntax_ == kFormulaParens) return {0, syntax_};
  if (!std::isfinite(x)) return {0, kFormulaDomain};
  std::vector<Real> stack(stackDepth_ + 1);
  Real* sp = stack.data();  // the next free slot
  bool domain = numberDomain_;
  auto checked = [&domain](Real v) {
    if (!std::isfinite(v)) {
      domain = true;
      return Real(0);
    }
    return v;
  };
  for (const Instr& in : code_) {
    switch (in.op) {
      case Op::Const: *sp++ = constants_[in.arg]; break;
      case Op::X: *sp++ = x; break;
      case Op::Pop: --sp; break;
      case Op::Neg: sp[-1] = -sp[-1]; break;
      case Op::Add: --sp; sp[-1] = checked(sp[-1] + sp[0]); break;
      case Op::Sub: --sp; sp[-1] = checked(sp[-1] - sp[0]); break;
      case Op::Mul: --sp; sp[-1] = checked(sp[-1] * sp[0]); break;
      case Op::Div:
        --sp;
        if (sp[0] == 0) {
          domain = true;
          sp[-1] = 0;
        } else {
          sp[-1] = checked(sp[-1] / sp[0]);
        }
        break;
      case Op::Pow: {
        --sp;
        Real v = sp[-1], e = sp[0];
        if (v == 0) {
          // The parser leaves the exponent unread here: its own pass decides.
          std::string t = text_;
          return EvalFormula(t, x);
        }
        if (v < 0) {
          domain = true;
          sp[-1] = 0;
        } else {
          sp[-1] = checked(std::exp(checked(e * std::log(v))));
        }
        break;
      }
      case Op::Abs: sp[-1] = std::fabs(sp[-1]); break;
      case Op::Sqrt:
        if (sp[-1] < 0) {
          domain = true;
          sp[-1] = 0;
        } else {
          sp[-1] = std::sqrt(sp[-1]);
        }
        break;
      case Op::Sqr: sp[-1] = checked(sp[-1] * sp[-1]); break;
      case Op::Sin: sp[-1] = std::sin(sp[-1]); break;
      case Op::Cos: sp[-1] = std::cos(sp[-1]); break;
      case Op::Arctan: sp[-1] = std::atan(sp[-1]); break;
      case Op::Ln:
      case Op::Log: {
        Real a = sp[-1];
        if (a <= 0) {
          domain = true;
          sp[-1] = 0;
        } else {
          sp[-1] = in.op == Op::Ln ? std::log(a) : std::log(a) / std::log(10.0L);
        }
        break;
      }
      case Op::Exp: sp[-1] = checked(std::exp(sp[-1])); break;
      case Op::Fak: {
        Real a = sp[-1];
        if (a > kMaxFactorial) {
          domain = true;
          sp[-1] = 0;
          break;
        }
        Real f = 1;
        if (a >= 2)
          for (int i = 2; i <= static_cast<int>(a); ++i) f *= i;
        sp[-1] = f;
        break;
      }
    }
  }
  Real v = sp[-1];
  FormulaResult r;
  r.error = syntax_;
  if (domain || !std::isfinite(v)) {
    r.value = 0;
    if (r.error == 0) r.error = kFormulaDomain;
  } else {
    r.value = v;
  }
  return r;
}

}  // namespace kamo
