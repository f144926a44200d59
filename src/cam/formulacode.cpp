// The formula compiler: the recursive descent of the parser, emitting
// instructions of a small stack machine instead of computing values.
#include "cam/formulacode.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "core/real.h"

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
    f_.result_ = ids_.back();
  }

 private:
  using Op = CompiledFormula::Op;

  void Advance() {
    ++pos_;
    ch_ = pos_ <= static_cast<int>(text_.size()) ? text_[static_cast<size_t>(pos_ - 1)] : kEnd;
  }

  // Pops the operands of op from the stack of node ids, pushes the node of
  // the operation; an operation already in the list is not added again.
  void Emit(Op op, std::uint32_t arg = 0) {
    std::uint32_t a = arg, b = 0;
    const bool binary = op == Op::Add || op == Op::Sub || op == Op::Mul || op == Op::Div || op == Op::Pow;
    if (binary) {
      b = Take();
      a = Take();
    } else if (op != Op::Const && op != Op::X) {
      a = Take();
    }
    auto [it, added] = known_.try_emplace(Key{op, a, b}, static_cast<std::uint32_t>(f_.nodes_.size()));
    if (added) f_.nodes_.push_back({op, a, b});
    ids_.push_back(it->second);
  }
  std::uint32_t Take() {
    std::uint32_t id = ids_.back();
    ids_.pop_back();
    return id;
  }
  // PI, E and X read an argument and drop its value; its node stays in the
  // list, so its domain errors count as in the parser.
  void Drop() { ids_.pop_back(); }
  void Constant(Real v) {
    auto [it, added] = constantIndex_.try_emplace(v, static_cast<std::uint32_t>(f_.constants_.size()));
    if (added) f_.constants_.push_back(v);
    Emit(Op::Const, it->second);
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
        Drop();
        if (k == 10) Constant(kPi);
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
  std::vector<std::uint32_t> ids_;  // the operands not yet used

  struct Key {
    Op op;
    std::uint32_t a, b;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& k) const {
      return std::hash<std::uint64_t>()((std::uint64_t{k.a} << 32 | k.b) * 31 + static_cast<unsigned>(k.op));
    }
  };
  std::unordered_map<Key, std::uint32_t, KeyHash> known_;
  // Constants are never negative, nan or infinite, so equal values are the
  // same constant.
  std::unordered_map<Real, std::uint32_t> constantIndex_;
};

CompiledFormula::CompiledFormula(const std::string& formula)
    : source_(formula), text_(NormaliseFormula(formula)) {
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
  // Each node's result, in the order of the list (operands come first).
  // Leaves and single operands read node 0 as their unused operand, so it
  // starts as 0.
  std::unique_ptr<Real[]> value(new Real[nodes_.size()]);
  value[0] = 0;
  bool domain = numberDomain_;
  auto checked = [&domain](Real v) {
    if (!std::isfinite(v)) {
      domain = true;
      return Real(0);
    }
    return v;
  };
  for (size_t i = 0; i < nodes_.size(); ++i) {
    const Node& n = nodes_[i];
    const Real a = value[n.op == Op::Const ? 0 : n.a];
    const Real b = value[n.b];
    Real& r = value[i];
    switch (n.op) {
      case Op::Const: r = constants_[n.a]; break;
      case Op::X: r = x; break;
      case Op::Neg: r = -a; break;
      case Op::Add: r = checked(a + b); break;
      case Op::Sub: r = checked(a - b); break;
      case Op::Mul: r = checked(a * b); break;
      case Op::Div:
        if (b == 0) {
          domain = true;
          r = 0;
        } else {
          r = checked(a / b);
        }
        break;
      case Op::Pow:
        if (a == 0) {
          // The parser leaves the exponent unread here: its own pass decides.
          // It gets the text as given, since normalising twice may differ
          // from normalising once (a leading "++").
          std::string t = source_;
          return EvalFormula(t, x);
        }
        if (a < 0) {
          domain = true;
          r = 0;
        } else {
          r = checked(std::exp(checked(b * std::log(a))));
        }
        break;
      case Op::Abs: r = std::fabs(a); break;
      case Op::Sqrt:
        if (a < 0) {
          domain = true;
          r = 0;
        } else {
          r = std::sqrt(a);
        }
        break;
      case Op::Sqr: r = checked(a * a); break;
      case Op::Sin: r = std::sin(a); break;
      case Op::Cos: r = std::cos(a); break;
      case Op::Arctan: r = std::atan(a); break;
      case Op::Ln:
      case Op::Log:
        if (a <= 0) {
          domain = true;
          r = 0;
        } else {
          r = n.op == Op::Ln ? std::log(a) : std::log(a) / std::log(10.0L);
        }
        break;
      case Op::Exp: r = checked(std::exp(a)); break;
      case Op::Fak: {
        if (a > kMaxFactorial) {
          domain = true;
          r = 0;
          break;
        }
        Real f = 1;
        if (a >= 2)
          for (int k = 2; k <= static_cast<int>(a); ++k) f *= k;
        r = f;
        break;
      }
    }
  }
  Real v = value[result_];
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
