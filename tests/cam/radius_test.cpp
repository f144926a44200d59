// r(phi) of the curve types: the values the curve definitions promise, the
// angle normalisation and the safe answers to invalid parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "cam/kamorech.h"

namespace kamo {
namespace {

constexpr Real kPiL = 3.1415926535897932385L;
Real Deg(Real d) { return d * kPiL / 180; }

struct RadiusCase {
  const char* name;
  std::function<void(CamProject&)> setup;
  Real phi;
  Real r;
};

class Radius : public ::testing::TestWithParam<RadiusCase> {};

TEST_P(Radius, MatchesTheDefinition) {
  const RadiusCase& c = GetParam();
  CamProject p;
  c.setup(p);
  if (p.curveType == ctLinearSine) {
    MessageList m;
    Flags f;
    ASSERT_TRUE(PrepareLinearSine(p, m, f));
  }
  EXPECT_NEAR(static_cast<double>(RadiusAt(p, c.phi)), static_cast<double>(c.r), 1e-9) << c.name;
}

void Ellipse(CamProject& p) { p.curveType = ctEllipse; }
void Polygon(CamProject& p) { p.curveType = ctPolygon; }
void SinSq(CamProject& p) { p.curveType = ctSinSquare; }
void LinSine(CamProject& p) { p.curveType = ctLinearSine; }
void Eccentric(CamProject& p) { p.curveType = ctEccentric; }
void Sine(CamProject& p) {
  p.curveType = ctSine;
  p.sine.N = 3;
}
void Poly(CamProject& p) {
  p.curveType = ctPolynomial;
  p.poly.n = 3;
  p.poly.coef[1] = 50;
  p.poly.coef[2] = 2;
  p.poly.coef[3] = -1;
}
void Formula360(CamProject& p) {
  p.curveType = ctFormula;
  p.segmentCount = 2;
  p.segments[1] = {90, "50"};
  p.segments[2] = {360, "40 + x"};
}
void Polar(CamProject& p, bool linear) {
  p.curveType = ctPolarPoints;
  p.calc.linearize = linear;
  p.prCount = 3;
  p.prPoints[1] = {Deg(10), 40};
  p.prPoints[2] = {Deg(100), 60};
  p.prPoints[3] = {Deg(200), 50};
}

INSTANTIATE_TEST_SUITE_P(
    Types, Radius,
    ::testing::Values(
        RadiusCase{"ellipse 0", Ellipse, 0, 60}, RadiusCase{"ellipse 90", Ellipse, kPiL / 2, 40},
        RadiusCase{"ellipse 180", Ellipse, kPiL, 60},
        RadiusCase{"ellipse 45", Ellipse, kPiL / 4, std::sqrt(2 * 3600.0L * 1600 / (3600 + 1600))},
        RadiusCase{"ellipse a", [](CamProject& p) { Ellipse(p); p.ellipse.variant = 1; }, Deg(270), 60},
        RadiusCase{"ellipse b", [](CamProject& p) { Ellipse(p); p.ellipse.variant = 2; }, Deg(180), 40},
        RadiusCase{"polygon corner", Polygon, 0, 100 / (2 * std::cos(Deg(30)))},
        RadiusCase{"polygon flat", Polygon, Deg(30), 50},
        RadiusCase{"polygon flat 5", Polygon, Deg(270), 50},
        RadiusCase{"sinsq 0", SinSq, 0, 10}, RadiusCase{"sinsq top", SinSq, Deg(67.5L), 14},
        RadiusCase{"sinsq end", SinSq, Deg(135), 10}, RadiusCase{"sinsq rest", SinSq, Deg(200), 10},
        RadiusCase{"linsine 0", LinSine, 0, 35}, RadiusCase{"linsine turn", LinSine, Deg(220), 65},
        RadiusCase{"linsine mid", LinSine, Deg(110), 50},
        RadiusCase{"linsine end", LinSine, Deg(360) - 1e-12L, 35},
        RadiusCase{"eccentric 0", Eccentric, 0, 40}, RadiusCase{"eccentric 180", Eccentric, kPiL, 60},
        RadiusCase{"eccentric 90", Eccentric, kPiL / 2, std::sqrt(2500.0L - 100)},
        RadiusCase{"sine", Sine, Deg(30), 65}, RadiusCase{"sine wrap", Sine, Deg(390), 65},
        RadiusCase{"polynomial", Poly, 2, 50 + 4 - 4},
        RadiusCase{"formula 1", Formula360, Deg(45), 50},
        RadiusCase{"formula 2", Formula360, 2, 42},
        RadiusCase{"polar linear", [](CamProject& p) { Polar(p, true); }, Deg(55), 50},
        RadiusCase{"polar held", [](CamProject& p) { Polar(p, false); }, Deg(55), 40},
        RadiusCase{"polar exact", [](CamProject& p) { Polar(p, true); }, Deg(100), 60},
        RadiusCase{"polar before first", [](CamProject& p) { Polar(p, true); }, Deg(5), 40},
        // Beyond the last point: towards point 1 at its own angle, no wrap.
        RadiusCase{"polar after last", [](CamProject& p) { Polar(p, true); }, Deg(300),
                   50 + (Deg(300) - Deg(200)) * (40 - 50) / (Deg(10) - Deg(200))},
        RadiusCase{"unknown type", [](CamProject& p) { p.curveType = 42; }, 1, 100},
        // Invalid parameters give 0, never a non-number.
        RadiusCase{"ellipse a = 0", [](CamProject& p) { Ellipse(p); p.ellipse.a = 0; }, 1, 0},
        RadiusCase{"polygon z = 0", [](CamProject& p) { Polygon(p); p.polygon.z = 0; }, 1, 0},
        RadiusCase{"eccentric e > d/2", [](CamProject& p) { Eccentric(p); p.eccentric.e = 80; }, 1.5L, 0},
        RadiusCase{"formula 1/0", [](CamProject& p) { Formula360(p); p.segments[1].formula = "1/0"; }, 0, 0}));

TEST(Radius, AnglesAreNormalised) {
  for (int type : {ctEllipse, ctSine, ctPolygon, ctSinSquare, ctEccentric, ctPolynomial}) {
    CamProject p;
    p.curveType = static_cast<std::uint16_t>(type);
    p.poly.n = 2;
    p.poly.coef[1] = 30;
    p.poly.coef[2] = 1;
    EXPECT_NEAR(static_cast<double>(RadiusAt(p, -kPiL / 2)), static_cast<double>(RadiusAt(p, 3 * kPiL / 2)),
                1e-12)
        << type;
    EXPECT_NEAR(static_cast<double>(RadiusAt(p, 2 * kPiL)), static_cast<double>(RadiusAt(p, 0)), 1e-12) << type;
    EXPECT_NEAR(static_cast<double>(RadiusAt(p, 5 * kPiL + 0.3L)), static_cast<double>(RadiusAt(p, kPiL + 0.3L)),
                1e-12)
        << type;
  }
}

TEST(Radius, FormulaWithoutCoveringSegmentIsFatal) {
  CamProject p;
  p.curveType = ctFormula;
  p.segmentCount = 1;
  p.segments[1] = {180, "50"};
  MessageList m;
  Flags f;
  EXPECT_EQ(RadiusAt(p, 1, m, f), 50);
  EXPECT_FALSE(f.calcError);
  EXPECT_EQ(RadiusAt(p, 4, m, f), 0);
  EXPECT_TRUE(f.calcError);
  EXPECT_TRUE(m.contains(kMsgNoSegment));
  // The calculation's form stores the normalised text, the read-only one does not.
  CamProject q;
  q.curveType = ctFormula;
  q.segmentCount = 1;
  q.segments[1] = {360, "2 * x"};
  EXPECT_EQ(RadiusAt(static_cast<const CamProject&>(q), 1), 2);
  EXPECT_EQ(q.segments[1].formula, "2 * x");
  Flags g;
  EXPECT_EQ(RadiusAt(q, 1, m, g), 2);
  EXPECT_EQ(q.segments[1].formula, "2*X");
}

TEST(Radius, LinearSineMeetsItselfAtBothEnds) {
  CamProject p;
  p.curveType = ctLinearSine;
  MessageList m;
  Flags f;
  ASSERT_TRUE(PrepareLinearSine(p, m, f));
  // t / cos t = Rad(phiLin) at the turning angle.
  Real t = Deg(p.linSine.phiTurn);
  EXPECT_NEAR(static_cast<double>(t / std::cos(t)), static_cast<double>(Deg(220)), 1e-7);
  Real eps = 1e-9L;
  EXPECT_NEAR(static_cast<double>(RadiusAt(p, Deg(220) + eps)), 65, 1e-6);
  EXPECT_NEAR(static_cast<double>(RadiusAt(p, Deg(360) - eps)), 35, 1e-6);
}

}  // namespace
}  // namespace kamo
