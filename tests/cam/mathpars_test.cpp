// The formula parser: normalisation, grammar, name table, error codes and
// domain errors.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cam/mathpars.h"

namespace kamo {
namespace {

constexpr Real kE = 2.718281828459045L;
constexpr Real kPiL = 3.1415926535897932385L;

struct Case {
  const char* text;
  Real x;
  Real value;
  int error;
  const char* normalised;  // nullptr: the caller's text stays as it was
};

class Formula : public ::testing::TestWithParam<Case> {};

TEST_P(Formula, EvaluatesAndNormalises) {
  const Case& c = GetParam();
  std::string f = c.text;
  FormulaResult r = EvalFormula(f, c.x);
  EXPECT_EQ(r.error, c.error) << c.text;
  EXPECT_NEAR(static_cast<double>(r.value), static_cast<double>(c.value),
              1e-15 * (1 + std::fabs(static_cast<double>(c.value))))
      << c.text;
  EXPECT_EQ(f, c.normalised ? std::string(c.normalised) : std::string(c.text)) << c.text;
  EXPECT_TRUE(std::isfinite(r.value));
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, Formula,
    ::testing::Values(
        Case{"2 , 5 * x", 2, 5, 0, "2.5*X"}, Case{".5+X", 1, 1.5L, 0, "0.5+X"},
        Case{"(.5)", 0, 0.5L, 0, "(0.5)"}, Case{"+X", 3, 3, 0, "X"},
        Case{"sqrt(x)", 9, 3, 0, "SQRT(X)"}, Case{"SQRT(4)", 0, 2, 0, "SQRT(4)"},
        Case{"SQR(4)", 0, 16, 0, "SQR(4)"}, Case{"2^3^2", 0, 64, 0, "2^3^2"},
        Case{"2-3-4", 0, -5, 0, "2-3-4"}, Case{"8/4/2", 0, 1, 0, "8/4/2"},
        Case{"1+2*3", 0, 7, 0, "1+2*3"}, Case{"(1+2)*3", 0, 9, 0, "(1+2)*3"},
        Case{"-X*2", 4, -8, 0, "-X*2"}, Case{"2E3", 0, 2000, 0, "2E3"},
        Case{"2E-3", 0, 0.002L, 0, "2E-3"}, Case{"2*E", 0, 2 * kE, 0, "2*E"},
        Case{"FAK(4.7)", 0, 24, 0, "FAK(4.7)"}, Case{"FAK(-5)", 0, 1, 0, "FAK(-5)"},
        Case{"FAK(-1E300)", 0, 1, 0, "FAK(-1E300)"}, Case{"ABS(-3)", 0, 3, 0, "ABS(-3)"},
        Case{"ARCTAN(1)", 0, kPiL / 4, 0, "ARCTAN(1)"}, Case{"SIN(PI/2)", 0, 1, 0, "SIN(PI/2)"},
        Case{"COS(0)", 0, 1, 0, "COS(0)"}, Case{"LN(E)", 0, 1, 0, "LN(E)"},
        Case{"LOG(100)", 0, 2, 0, "LOG(100)"}, Case{"EXP(1)", 0, kE, 0, "EXP(1)"},
        Case{"PI(3)", 0, kPiL, 0, "PI(3)"}, Case{"X2", 5, 5, 0, "X2"},
        // Failed factors contribute 0 and lose their error when the end is reached.
        Case{"X+1", 1, 2, 0, "X+1"}, Case{"2*+3", 0, 3, 0, "2*+3"}, Case{"SIN", 0, 0, 0, "SIN"},
        // Error positions in the normalised text.
        Case{"2X", 0, 2, 2, "2X"}, Case{"0^2", 0, 0, 3, "0^2"}, Case{"(2))(", 0, 2, 4, "(2))("},
        Case{"2 $", 0, 2, 2, "2$"},
        // Empty text and unbalanced parentheses leave the text alone.
        Case{"", 0, 0, kFormulaEmpty, nullptr}, Case{"   ", 0, 0, kFormulaEmpty, nullptr},
        Case{"+", 0, 0, kFormulaEmpty, nullptr}, Case{"(2+3", 0, 0, kFormulaParens, nullptr},
        Case{"2*(3", 0, 0, kFormulaParens, nullptr}));

INSTANTIATE_TEST_SUITE_P(
    DomainErrors, Formula,
    ::testing::Values(Case{"1/0", 0, 0, kFormulaDomain, "1/0"},
                      Case{"1/(X-1)", 1, 0, kFormulaDomain, "1/(X-1)"},
                      Case{"LN(0)", 0, 0, kFormulaDomain, "LN(0)"},
                      Case{"LOG(-1)", 0, 0, kFormulaDomain, "LOG(-1)"},
                      Case{"SQRT(-1)", 0, 0, kFormulaDomain, "SQRT(-1)"},
                      Case{"-2^2", 0, 0, kFormulaDomain, "-2^2"},
                      Case{"(-8)^(1/3)", 0, 0, kFormulaDomain, "(-8)^(1/3)"},
                      Case{"EXP(100000)", 0, 0, kFormulaDomain, "EXP(100000)"},
                      Case{"FAK(2000)", 0, 0, kFormulaDomain, "FAK(2000)"},
                      Case{"FAK(1E300)", 0, 0, kFormulaDomain, "FAK(1E300)"},
                      Case{"1E99999", 0, 0, kFormulaDomain, "1E99999"},
                      Case{"SQR(1E3000)", 0, 0, kFormulaDomain, "SQR(1E3000)"},
                      Case{"1E4000*1E4000", 0, 0, kFormulaDomain, "1E4000*1E4000"}));

TEST(Formula, DeepNestingEndsWithAPosition) {
  std::string f = std::string(5000, '(') + "1" + std::string(5000, ')');
  FormulaResult r = EvalFormula(f, 0);
  EXPECT_GT(r.error, 0);
  std::string g;
  for (int i = 0; i < 3000; ++i) g += "SIN";
  g += "X";
  r = EvalFormula(g, 1);
  EXPECT_GT(r.error, 0);
}

TEST(Formula, StoredTextIsNormalisedOnce) {
  std::string f = "x * 2 , 5";
  EXPECT_EQ(EvalFormula(f, 2).value, 5);
  EXPECT_EQ(f, "X*2.5");
  EXPECT_EQ(EvalFormula(f, 4).value, 10);
  EXPECT_EQ(f, "X*2.5");
}

}  // namespace
}  // namespace kamo
