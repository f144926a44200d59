// A formula parsed once and evaluated at every angle of a calculation. The
// compiled form follows the parser of EvalFormula step by step, so its values
// and error codes are those EvalFormula gives for the same text and x:
//   CompiledFormula f("2 , 5 * x");
//   f.eval(1.0L).value == 2.5L, f.text() == "2.5*X"
// The parse reads a power's exponent only when its base is not 0; where a
// base is 0 at run time, that one evaluation is handed to EvalFormula itself.
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
  // The number of instructions (for tests and benchmarks).
  size_t size() const { return code_.size(); }

  enum class Op : std::uint8_t {
    Const, X, Neg, Add, Sub, Mul, Div, Pow, Pop,
    Abs, Sqrt, Sqr, Sin, Cos, Arctan, Ln, Log, Exp, Fak,
  };
  struct Instr {
    Op op;
    std::uint32_t arg;  // index of a constant (Const)
  };

 private:
  friend class FormulaCompiler;
  std::string text_;
  int syntax_ = kFormulaEmpty;
  std::vector<Instr> code_;
  std::vector<Real> constants_;
  bool numberDomain_ = false;  // a number of the text is out of range
  size_t stackDepth_ = 0;
};

}  // namespace kamo
