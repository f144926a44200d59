// The compiled formula gives exactly what the parser gives, values and error
// codes alike, for every form the parser knows, including its odd corners.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cam/formulacode.h"
#include "cam/mathpars.h"

namespace kamo {
namespace {

TEST(CompiledFormula, SameValuesAndErrorsAsTheParser) {
  const char* formulas[] = {
      "2 , 5 * x", ".5+X", "(.5)", "+X", "SQRT(4)", "SQR(4)", "(2+3", "", "   ", "2X", "0^2",
      "X^2", "X^2+5", "-2^2", "FAK(4.7)", "FAK(2000)", "2^3^2", "2E3", "2*E", "X2", "PI(3)",
      "2*+3", "X+1", "50+FOO(X)", "(((50", "1/0", "1/X", "LN(X)", "LOG(X-1)", "SQRT(X-2)",
      "EXP(100000)", "1E99999", "ARCTAN(X)*COS(X)-SIN(X)", "ABS(-X)", "PI(SQRT(-1))",
      "50+10*SIN(X)^2", "(X-1)^0.5", "0^X", "X^X", "2^", "*", "()", "((X))*((2))", "5-",
      "1.5E+3*X", "2E*X", "10/(X-X)", "SQR(1E3000)", "-(-(-X))", "X^-1", "++^X",
      "SIN(X)/SIN(X)-SIN(X)^0", "1/(X-1)+1/(X-1)", "X(1/0)+X(1/0)",
  };
  const Real xs[] = {0, 1, -1, 0.5L, 2, 3.14159L, 1e300L, -1e-300L, 1000};
  for (const char* f : formulas) {
    CompiledFormula c(f);
    for (Real x : xs) {
      std::string t = f;
      FormulaResult want = EvalFormula(t, x);
      FormulaResult got = c.eval(x);
      EXPECT_EQ(got.error, want.error) << f << " at " << static_cast<double>(x);
      EXPECT_TRUE(got.value == want.value || (std::isnan(got.value) && std::isnan(want.value)))
          << f << " at " << static_cast<double>(x) << ": " << static_cast<double>(got.value)
          << " != " << static_cast<double>(want.value);
    }
  }
}

// A term that occurs many times is one operation: the 1 MB formula of a long
// sum of the same sine stays as small as the sum itself.
TEST(CompiledFormula, RepeatedTermsAreComputedOnce) {
  std::string f = "50";
  for (int i = 0; i < 1000; ++i) f += "+0.001*SIN(X*3)";
  CompiledFormula c(f);
  EXPECT_LE(c.size(), 1000u + 8u);
  Real x = 0.7L, want = 50;
  for (int i = 0; i < 1000; ++i) want = want + 0.001L * std::sin(x * 3);
  EXPECT_EQ(c.eval(x).value, want);
}

TEST(CompiledFormula, DeepNestingStopsAsTheParserDoes) {
  std::string deep(300, '(');
  deep += "X";
  deep += std::string(300, ')');
  std::string chain;
  for (int i = 0; i < 250; ++i) chain += "SIN";
  chain += "X";
  for (const std::string& f : {deep, chain}) {
    CompiledFormula c(f);
    std::string t = f;
    FormulaResult want = EvalFormula(t, 0.7L);
    FormulaResult got = c.eval(0.7L);
    EXPECT_EQ(got.error, want.error);
    EXPECT_EQ(got.value, want.value);
    EXPECT_EQ(c.syntaxError(), want.error);
  }
}

}  // namespace
}  // namespace kamo
