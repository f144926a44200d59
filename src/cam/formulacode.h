// A formula parsed once and evaluated at every angle of a calculation. The
// compiled form follows the parser of EvalFormula step by step, so its values
// and error codes are those EvalFormula gives for the same text and x:
//   CompiledFormula f("2 , 5 * x");
//   f.eval(1.0L).value == 2.5L, f.text() == "2.5*X"
// The parse reads a power's exponent only when its base is not 0; where a
// base is 0 at run time, that one evaluation is handed to EvalFormula itself.
// The compiled form is a list of operations on earlier results, each distinct
// operation once: a term that occurs many times (SIN(X*3) in a long sum) is
// computed once per angle. Every operation is pure and its domain check
// depends only on its operands, so sharing changes neither value nor error.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "cam/mathpars.h"
#include "core/real.h"

namespace kamo {

class CompiledFormula {
 public:
  CompiledFormula() = default;
  explicit CompiledFormula(const std::string& formula);

  // The normalised text (what EvalFormula leaves in its argument).
  const std::string& text() const { return text_; }
  // The error code of the text when no power has a base of 0: 0, kFormulaEmpty,
  // kFormulaParens or the 1-based position at which parsing stopped.
  int syntaxError() const { return syntax_; }
  // The value and error code EvalFormula(text, x) gives.
  FormulaResult eval(Real x) const;
  // The number of distinct operations (for tests and benchmarks).
  size_t size() const { return nodes_.size(); }

  enum class Op : std::uint8_t {
    Const, X, Neg, Add, Sub, Mul, Div, Pow,
    Abs, Sqrt, Sqr, Sin, Cos, Arctan, Ln, Log, Exp, Fak,
  };
  // An operation on the results of earlier nodes a and b (Const: a is the
  // index of the constant).
  struct Node {
    Op op;
    std::uint32_t a, b;
  };

 private:
  friend class FormulaCompiler;
  std::string source_;  // the text as given, for the parser's own pass
  std::string text_;
  int syntax_ = kFormulaEmpty;
  std::vector<Node> nodes_;
  std::vector<Real> constants_;
  std::uint32_t result_ = 0;   // the node of the whole formula
  bool numberDomain_ = false;  // a number of the text is out of range
};

}  // namespace kamo
