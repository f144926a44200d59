// The formula compiler: the recursive descent of the parser, emitting
// instructions of a small stack machine instead of computing values.
#include "cam/formulacode.h"

#include <cmath>
#include <memory>
#include <unordered_map>

#include "cam/formulascan.h"
#include "core/real.h"

namespace kamo {

class FormulaCompiler : FormulaScanner {
 public:
  explicit FormulaCompiler(CompiledFormula& f) : FormulaScanner(f.text_), f_(f) {}

  void Run() {
    Expression();
    f_.syntax_ = ch_ == kFormulaEnd ? 0 : pos_;
    f_.result_ = ids_.back();
  }

 private:
  using Op = CompiledFormula::Op;

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
    Literal l = ReadNumber();
    if (l.outOfRange) f_.numberDomain_ = true;
    Constant(l.value);
  }

  void Factor() {
    if (ch_ == kFormulaEnd || nesting_ >= kFormulaMaxDepth) {
      Constant(0);
      return;
    }
    ++nesting_;
    FactorBody();
    --nesting_;
  }

  void FactorBody() {
    if (IsFormulaDigit(ch_)) return Number();
    if (ch_ == '(') {
      Advance();
      Expression();
      if (ch_ == ')') Advance();
      return;
    }
    // The functions in the order of the names.
    static constexpr Op kOps[] = {Op::Abs, Op::Sqrt, Op::Sqr, Op::Sin, Op::Cos, Op::Arctan, Op::Ln,
                                  Op::Log, Op::Exp,  Op::Fak};
    int name = ReadName();
    if (name < 0) return Constant(0);  // not a factor: the position stays where it is
    Factor();
    if (name < kNamePi) return Emit(kOps[name]);
    // PI, E and X read an argument and drop its value.
    Drop();
    if (name == kNamePi) Constant(kPi);
    else if (name == kNameE) Constant(2.718281828459045L);
    else Emit(Op::X);
  }

  CompiledFormula& f_;
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
  if (!FormulaParensBalance(text_)) {
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
        if (a > kFormulaMaxFactorial) {
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
