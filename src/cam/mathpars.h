// The formula parser: normalises a formula text r = f(x) and evaluates it for
// one value of x in a single pass (no syntax tree, no cache).
#pragma once
#include <string>

#include "core/real.h"

namespace kamo {

// Error codes of EvalFormula besides 0 (no error) and a positive value (the
// 1-based position in the normalised text at which parsing stopped).
inline constexpr int kFormulaEmpty = -1;     // nothing left after removing blanks
inline constexpr int kFormulaParens = -2;    // the counts of "(" and ")" differ
// A logarithm or power of a non-positive base, the square root of a negative
// number, a division by zero, an overflow or the factorial of a huge number.
inline constexpr int kFormulaDomain = -3;

struct FormulaResult {
  Real value = 0;  // 0 whenever error is negative; always finite
  int error = 0;
};

// Evaluates formula for x (radians for the cam formulas). When the text is not
// empty and its parentheses balance, the normalised text replaces the
// caller's text, so a stored formula stays normalised after its first use:
//   std::string f = "2 , 5 * x";
//   FormulaResult r = EvalFormula(f, 1.0L);   // f == "2.5*X", r.value == 2.5
// Never throws, never returns NaN or infinity, and ends on any input.
FormulaResult EvalFormula(std::string& formula, Real x);

// How many times this thread has parsed a formula text (EvalFormula and the
// compiler of formulacode.h), so that tests can see a calculation parse each
// formula once. It counts; it changes nothing.
long long& FormulaParses();

// The normalisation alone (blanks removed, "," -> ".", upper case, "0" in
// front of a lone ".", a leading "+" removed).
std::string NormaliseFormula(const std::string& formula);

// Numbers in formula texts that a program writes: read back by the parser
// exactly (the shortest round-trip form with a point), negative ones in
// parentheses.
std::string FormulaNumber(Real x);
// An angle in radians with twelve decimals and a point, so that two pieces
// of a formula meet without a visible step.
std::string FormulaAngle(Real x);

}  // namespace kamo
