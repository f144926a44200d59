// The equation solver and the point fits of curve type 8.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "cam/glsyst2.h"
#include "cam/kamorech.h"

namespace kamo {
namespace {

constexpr Real kPiL = 3.1415926535897932385L;
double D(Real x) { return static_cast<double>(x); }

struct SolveCase {
  const char* name;
  std::vector<std::vector<Real>> a;
  std::vector<Real> b, x;  // x empty: singular
};

TEST(SolveSystem, SolvesOrReportsSingular) {
  const SolveCase cases[] = {
      {"diagonal", {{2, 0}, {0, 4}}, {2, 8}, {1, 2}},
      {"zero diagonal needs a row swap", {{0, 1}, {1, 0}}, {2, 3}, {3, 2}},
      {"full 3x3", {{4, -2, 1}, {-2, 4, -2}, {1, -2, 4}}, {11, -16, 17}, {1, -2, 3}},
      {"pivot order", {{1, 2, 3}, {2, 5, 3}, {1, 0, 8}}, {14, 21, 25}, {1, 2, 3}},
      {"all zero", {{0, 0}, {0, 0}}, {1, 1}, {}},
      {"equal rows", {{1, 2}, {1, 2}}, {3, 3}, {}},
  };
  for (const SolveCase& c : cases) {
    EquationSystem sys;
    sys.clear();
    sys.size = static_cast<int>(c.b.size());
    for (int i = 1; i <= sys.size; ++i) {
      for (int k = 1; k <= sys.size; ++k) sys.matrix[i][k] = c.a[i - 1][k - 1];
      sys.rhs[i] = c.b[i - 1];
    }
    SolveSystem(sys);
    for (int i = 1; i <= sys.size; ++i) EXPECT_TRUE(std::isfinite(sys.rhs[i])) << c.name;
    if (c.x.empty()) {
      EXPECT_NE(sys.singular, 0) << c.name;
      continue;
    }
    EXPECT_EQ(sys.singular, 0) << c.name;
    for (int i = 1; i <= sys.size; ++i) EXPECT_NEAR(D(sys.rhs[i]), D(c.x[i - 1]), 1e-15) << c.name << " " << i;
  }
}

TEST(SolveSystem, RefusesSizesOutsideTheStorage) {
  for (int n : {0, -1, 52, 1000}) {
    EquationSystem sys;
    sys.clear();
    sys.size = n;
    SolveSystem(sys);
    EXPECT_NE(sys.singular, 0) << n;
  }
}

TEST(FitPoints, PolynomialThroughThePoints) {
  CamProject p;
  MessageList m;
  p.poly.n = 2;
  p.poly.points[1] = {0, 50};
  p.poly.points[2] = {kPiL, 70};
  FitResult r = FitPoints(p, m);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.singular, 0);
  EXPECT_NEAR(D(p.poly.coef[1]), 50, 1e-15);
  EXPECT_NEAR(D(p.poly.coef[2]), D(20 / kPiL), 1e-15);

  p.curveType = ctFitPoints;
  p.poly.n = 6;
  const Real phis[] = {0.1L, 1, 2, 3, 4.5L, 6};
  const Real rs[] = {40, 45, 52, 48, 41, 40};
  for (int i = 1; i <= 6; ++i) p.poly.points[static_cast<size_t>(i)] = {phis[i - 1], rs[i - 1]};
  ASSERT_TRUE(FitPoints(p, m).ok);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(D(RadiusAt(p, phis[i])), D(rs[i]), 1e-9) << i;
  EXPECT_EQ(m.count(), 0);
}

TEST(FitPoints, EqualAnglesAreSingularWithoutMessage) {
  CamProject p;
  MessageList m;
  p.poly.n = 3;
  p.poly.points[1] = {1, 50};
  p.poly.points[2] = {1, 60};
  p.poly.points[3] = {2, 55};
  FitResult r = FitPoints(p, m);
  EXPECT_TRUE(r.ok);
  EXPECT_NE(r.singular, 0);
  EXPECT_EQ(m.count(), 0);
  for (int k = 1; k <= 3; ++k) EXPECT_TRUE(std::isfinite(p.poly.coef[static_cast<size_t>(k)]));
}

TEST(FitPoints, ClosedSpline) {
  CamProject p;
  MessageList m;
  p.calc.fitMode = 1;
  p.poly.n = 5;
  const Real rs[] = {50, 40, 55, 45, 50};
  for (int i = 1; i <= 5; ++i) p.poly.points[static_cast<size_t>(i)] = {kPiL / 2 * (i - 1), rs[i - 1]};
  ASSERT_TRUE(FitPoints(p, m).ok);
  EXPECT_EQ(p.basePointCount, 4 * 20 + 1);
  const auto& bp = p.basePoints;
  EXPECT_NEAR(D(bp[1].x), D(bp[81].x), 1e-15);
  EXPECT_NEAR(D(bp[1].y), D(bp[81].y), 1e-15);
  // Each interval starts on its point.
  for (int i = 1; i <= 4; ++i) {
    const ContourPoint& q = bp[static_cast<size_t>(1 + 20 * (i - 1))];
    EXPECT_NEAR(D(Hypot(q.x, q.y)), D(rs[i - 1]), 1e-12) << i;
  }
}

TEST(FitPoints, SplineLongerThanTheListIsRefused) {
  for (int res : {200, 41}) {
    CamProject p;
    MessageList m;
    p.calc.fitMode = 1;
    p.calc.splineRes = res;
    p.poly.n = 50;
    for (int i = 1; i <= 50; ++i) p.poly.points[static_cast<size_t>(i)] = {2 * kPiL * (i - 1) / 49, 50};
    FitResult r = FitPoints(p, m);
    EXPECT_FALSE(r.ok) << res;
    EXPECT_TRUE(m.contains(kMsgSplineTooLong)) << res;
    EXPECT_EQ(p.basePointCount, 0);
  }
  CamProject p;
  MessageList m;
  p.calc.fitMode = 1;
  p.calc.splineRes = 40;  // 49 * 40 + 1 = 1961 still fits
  p.poly.n = 50;
  for (int i = 1; i <= 50; ++i) p.poly.points[static_cast<size_t>(i)] = {2 * kPiL * (i - 1) / 49, 50};
  EXPECT_TRUE(FitPoints(p, m).ok);
  EXPECT_EQ(p.basePointCount, 1961);
}

}  // namespace
}  // namespace kamo
