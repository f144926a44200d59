// Number formatting, parsing and unit conversion.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "core/geometry.h"
#include "core/numbers.h"
#include "core/strings.h"

namespace kamo {
namespace {

struct FormatCase {
  Real x;
  const char* general;
};

TEST(FormatGeneral, SignificantDigitsTable) {
  NumberStyle ns;
  const FormatCase cases[] = {
      // The decimals are counted on the unrounded value, so values just below
      // a power of ten keep them.
      {0, "0"},          {0.000009L, "0"},     {-0.000009L, "0"},  {1, "1"},
      {1.5L, "1.5"},     {3.14159L, "3.142"},  {12.5L, "12.5"},    {12, "12"},
      {99.996L, "100.00"},  {123.456L, "123.5"},  {1234.6L, "1235"},  {-1234.6L, "-1235"},
      {0.0123L, "0.0123"}, {0.5L, "0.5"},      {0.01L, "0.01"},    {0.123456L, "0.123"},
      {100, "100"},      {1e6L, "1000000"},    {-2.25L, "-2.25"},  {9.9999L, "10.000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneral(ns, c.x), c.general) << double(c.x);
}

TEST(FormatGeneral, SeparatorAndPlaces) {
  NumberStyle ns;
  ns.decimalSeparator = ',';
  EXPECT_EQ(FormatGeneral(ns, 1.5L), "1,5");
  EXPECT_EQ(FormatGeneralDot(ns, 1.5L), "1.5");
  ns.decimalSeparator = '.';
  EXPECT_EQ(FormatGeneral6(ns, 3.14159265L), "3.141593");
  EXPECT_EQ(FormatGeneralN(ns, 1, 3.14159L), "3.14");
  // Huge values must not flood the text with digits.
  EXPECT_EQ(FormatGeneral(ns, 1e300L), "1E300");
}

TEST(FormatDecimals, FollowsTheDecimalsSetting) {
  NumberStyle ns;
  EXPECT_EQ(FormatDecimals(ns, 4, 1.5L), "1.5000");
  ns.decimals = 5;
  EXPECT_EQ(FormatDecimals(ns, 4, 1.5L), "1.500000");
  ns.decimals = 1;
  EXPECT_EQ(FormatDecimals(ns, 4, 1.5L), "1.50");
  ns.decimals = 0;  // out of range reads as the default
  EXPECT_EQ(FormatDecimals(ns, 4, 1.5L), "1.5000");
  ns.decimals = 9;  // the shift never goes past ten decimals
  EXPECT_EQ(FormatDecimals(ns, 7, 1.0L), "1.0000000000");
}

TEST(FormatFixed, PaddingAndNegativeZero) {
  NumberStyle ns;
  EXPECT_EQ(FormatFixed(ns, 5, 2, 3.14159L), "    3.14");   // w + d + 1 - len blanks
  EXPECT_EQ(FormatFixed(ns, 5, 0, 42.4L), "   42");         // w - len blanks
  // More integer digits than width + decimals: scientific notation.
  EXPECT_EQ(FormatFixed(ns, 2, 1, 12345.6L), "1.23E4");
  EXPECT_EQ(FormatFixed(ns, 1, 2, -1e-16L), "0.00");
  EXPECT_EQ(FormatFixed(ns, 1, 3, -0.0001L), "0.000");
  EXPECT_EQ(FormatFixedDot(NumberStyle{0, 3, 0, 2, 3, ','}, 1, 1, 2.5L), "2.5");
  // More integer digits than the precision allows: scientific notation.
  EXPECT_EQ(FormatFixed(ns, 2, 1, 1.5e20L), "1.5E20");
}

TEST(FormatAuto, EngineeringOutsideTheNormalRange) {
  NumberStyle ns;
  EXPECT_EQ(FormatAuto(ns, 1.5e-5L), "0.015E-3");
  EXPECT_EQ(FormatAuto(ns, 12345), "12.35E3");  // two decimals between 10 and 100
  EXPECT_EQ(FormatAuto(ns, 5000), "5000");
  EXPECT_EQ(FormatAuto(ns, 1e-13L), "0");
  EXPECT_EQ(FormatAuto(ns, 0.5L), "0.5");
  EXPECT_EQ(FormatEngineering(ns, -2.5e7L), "-25E6");
}

TEST(ParseReal, AcceptsOnlyCompleteFiniteNumbers) {
  struct Case {
    std::string text;
    Real value;
    bool ok;
  };
  const Case cases[] = {
      {"1,5", 1.5L, true},        {"1.5", 1.5L, true},       {"  -2.5e3", -2500, true},
      {"+7", 7, true},            {".5", 0.5L, true},        {"5.", 5, true},
      {"1,5,2", 0, false},        {"", 0, false},            {" ", 0, false},
      {"1.5 ", 0, false},         {"abc", 0, false},         {"1e", 0, false},
      {"nan", 0, false},          {"inf", 0, false},         {"-INF", 0, false},
      {"1e99999", 0, false},      {"0x10", 0, false},        {std::string("1\0" "2", 3), 0, false},
      {std::string(10000, '9'), 0, false},                   {"1e-99999", 0, false},
  };
  for (const auto& c : cases) {
    Real v = 99;
    EXPECT_EQ(TryParseReal(c.text, v), c.ok) << c.text.substr(0, 20);
    EXPECT_EQ(v, c.value) << c.text.substr(0, 20);
    EXPECT_EQ(ParseReal(c.text), c.value);
  }
}

// Plain decimals, as every file of ours holds them, take a short way; it
// must give the very number the library's correctly rounded reading gives.
TEST(ParseReal, DecimalsReadAsTheLibraryReadsThem) {
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  std::mt19937_64 rng(20261211);
  for (int n = 0; n < 200000; ++n) {
    std::string text = rng() % 2 ? "-" : "";
    const int whole = static_cast<int>(rng() % 12), decimals = static_cast<int>(rng() % 31);
    for (int i = 0; i < whole; ++i) text += static_cast<char>('0' + rng() % 10);
    if (whole == 0 || decimals > 0 || rng() % 2) text += '.';
    for (int i = 0; i < decimals; ++i) text += static_cast<char>('0' + rng() % 10);
    if (whole == 0 && decimals == 0) text += '0';
    Real v = 99;
    ASSERT_TRUE(TryParseReal(text, v)) << text;
    const Real expected = std::strtold(text.c_str(), nullptr);
    ASSERT_EQ(v, expected) << text;
    ASSERT_EQ(std::signbit(v), std::signbit(expected)) << text;
  }
}

TEST(ParseInt, WholeTextMustBeAnInteger) {
  EXPECT_EQ(ParseInt("42"), 42);
  EXPECT_EQ(ParseInt(" -7"), -7);
  EXPECT_EQ(ParseInt("4.2"), 0);
  EXPECT_EQ(ParseInt("12a"), 0);
  EXPECT_EQ(ParseInt("99999999999"), 0);
  int v = 5;
  EXPECT_FALSE(TryParseInt("", v));
  EXPECT_EQ(v, 0);
}

TEST(Units, InchSystemConvertsOnlyWhenShownOrTyped) {
  NumberStyle ns;
  ns.unitSystem = 1;
  EXPECT_EQ(FormatLength(ns, 25.4L), "1.0000");
  EXPECT_EQ(ParseLength(ns, "1"), 25.4L);
  EXPECT_EQ(FormatForce(ns, 4.44822L), "1");
  EXPECT_EQ(FormatArea(ns, 645.16L), "1");
  EXPECT_EQ(FormatMoment(ns, 416231.4256L), "1");
  EXPECT_EQ(FormatVolume(ns, 16387.064L), "1");
  EXPECT_EQ(FormatLengthFixed(ns, 5, 2, 25.4L), "   1.000");
  EXPECT_EQ(UnitLength(ns), "in");
  EXPECT_EQ(UnitForce(ns), "lbf");
  ns.unitSystem = 2;
  EXPECT_EQ(FormatForce(ns, 1500), "1.5");
  EXPECT_EQ(UnitForce(ns), "kN");
  EXPECT_EQ(FormatLength(ns, 25.4L), "25.4");
  EXPECT_EQ(UnitArea(ns), "mm\xFD");
  ns.specialChars = 1;
  EXPECT_EQ(UnitArea(ns), "mm2");
  EXPECT_EQ(UnitAngle(ns), "deg");
}

TEST(FormatDate, AllLayouts) {
  NumberStyle ns;
  const char* expected[] = {"", "05.03.2026", "03/05/2026", "2026-03-05", "05/03/2026", "2026/03/05"};
  for (int f = 1; f <= 5; ++f) {
    ns.dateFormat = f;
    EXPECT_EQ(FormatDate(ns, 2026, 3, 5), expected[f]);
  }
}

TEST(Geometry, SmallFunctions) {
  EXPECT_EQ(SignOne(0.5L), -1);
  EXPECT_EQ(SignOne(1), 1);
  EXPECT_EQ(SignOne(0), -1);
  EXPECT_NEAR(double(AngleOf(-1, 0)), -M_PI / 2, 1e-15);
  EXPECT_NEAR(double(AngleOf(0, -1)), M_PI, 1e-15);
  EXPECT_NEAR(double(AngleOf(-1, -1)), 1.25 * M_PI, 1e-15);
  EXPECT_EQ(Power(3, 2.0L), 8);
  EXPECT_EQ(Power(-2, 2.0L), 0.25L);
  EXPECT_EQ(Power(0, 5.0L), 1);
  EXPECT_EQ(FloorI(-2.5L), -3);
  EXPECT_EQ(FloorI(2.5L), 2);
  EXPECT_EQ(Exponent10(0), 0);
  EXPECT_EQ(Exponent10(123), 2);
  EXPECT_EQ(Exponent10(0.05L), -2);
  EXPECT_TRUE(Between(3, 1, 2));
  EXPECT_TRUE(SameValue(1, 1 + 1e-6L));
  EXPECT_EQ(Log10(-1), 0);
}

TEST(Geometry, SweepDegCarriesTheDirection) {
  EXPECT_NEAR(double(SweepDeg(1, 90, 0)), 90, 1e-12);
  EXPECT_NEAR(double(SweepDeg(-1, 90, 0)), -270, 1e-12);
  EXPECT_NEAR(double(SweepDeg(1, 10, 350)), 20, 1e-12);
  EXPECT_NEAR(double(SweepDeg(-1, 350, 10)), -20, 1e-12);
}

TEST(Geometry, SquareWindowKeepsTheLargerRange) {
  Window w = SquareWindow(10, 0, 2, 0);
  EXPECT_EQ(w.xmax, 10);
  EXPECT_EQ(w.xmin, 0);
  EXPECT_EQ(w.ymax, 6);
  EXPECT_EQ(w.ymin, -4);
  Window v = SquareWindow(1, 0, 4, 0);
  EXPECT_EQ(v.xmin, -1.5L);
  EXPECT_EQ(v.xmax, 2.5L);
}

TEST(Geometry, NiceScale) {
  struct Case {
    Real max, min;
    Real lo, hi, step;
  };
  const Case cases[] = {
      {9.7L, 0, 0, 10, 1},    {97, 3, 0, 100, 10},  {0.37L, 0.01L, 0, 0.4L, 0.05L},
      {5, 5, 4, 6, 0.2L},
      // A negative minimum on a step gets one more step below it.
      {1, -1, -1.2L, 1, 0.2L},
  };
  for (const auto& c : cases) {
    AxisScale s = NiceScale(10, c.max, c.min);
    EXPECT_NEAR(double(s.step), double(c.step), 1e-12) << double(c.max);
    EXPECT_NEAR(double(s.lo), double(c.lo), 1e-12) << double(c.max);
    EXPECT_NEAR(double(s.hi), double(c.hi), 1e-12) << double(c.max);
  }
}

TEST(Strings, Helpers) {
  std::string thirty = "abcdefghijklmnopqrstuvwxyz0123";
  EXPECT_EQ(Abbreviate(thirty, 20), "abcdefgh__wxyz0123");
  EXPECT_EQ(Abbreviate("short", 20), "short");
  EXPECT_EQ(Abbreviate(thirty, 8), "abcdefgh");
  EXPECT_EQ(PadLeft("  ab ", 4), "  ab");
  EXPECT_EQ(PadLeft("abcdef", 3), "abc");
  EXPECT_EQ(PadRight("ab", 4), "ab  ");
  EXPECT_EQ(PadRight("abcdef", 3), "abc");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(" a b "), "a b");
  EXPECT_EQ(ZeroPad(7, 3), "007");
  EXPECT_EQ(SpacePad(7, 3), "  7");
  EXPECT_EQ(LastPos("ab", "abcab"), 4);
  EXPECT_EQ(LastPos("x", "abc"), 0);
  EXPECT_EQ(Overwrite("abcdef", "XY", 5), "abcdXY");
  EXPECT_EQ(Overwrite("abcdef", "XY", 6), "abcdef");
  EXPECT_EQ(Overwrite("abcdef", "XY", 0), "abcdef");
  EXPECT_EQ(LineBreaksToBlanks("a\r\nb"), "a  b");
  EXPECT_EQ(Upper("m\x84x"), "M\x8EX");
  EXPECT_EQ(RightPart("abc", 5), "abc");
  EXPECT_TRUE(ParamGiven({"a.kmo", "/nogui"}, "/NOGUI"));
  EXPECT_FALSE(ParamGiven({"a.kmo"}, "/NOGUI"));
}

}  // namespace
}  // namespace kamo
