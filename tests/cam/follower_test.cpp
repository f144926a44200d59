// The production follower pass against the all-pairs scan: identical
// positions on every curve shape and follower, and the follower closed forms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "cam/kamorech.h"
#include "support/reference_follower.h"

namespace kamo {
namespace {

constexpr Real kPiL = 3.1415926535897932385L;

struct Shape {
  const char* name;
  std::function<void(CamProject&)> setup;
};

void RoundedSquare(CamProject& p) {
  // Four straight sides joined by quarter arcs, counter-clockwise.
  p.curveType = ctPoints;
  const Real s = 30, r = 10;
  const ContourPoint pts[] = {{s, -s + r, 0},        {s, s - r, kPiL / 2},  {s - r, s, 0},
                              {-s + r, s, kPiL / 2}, {-s, s - r, 0},        {-s, -s + r, kPiL / 2},
                              {-s + r, -s, 0},       {s - r, -s, kPiL / 2}, {s, -s + r, 0}};
  p.basePointCount = 9;
  for (int i = 0; i < 9; ++i) p.basePoints[static_cast<size_t>(i + 1)] = pts[i];
}

void Bumpy(CamProject& p) {
  // A deterministic, irregular polar table.
  p.curveType = ctPolarPoints;
  p.prCount = 97;
  unsigned v = 12345;
  for (int i = 1; i <= p.prCount; ++i) {
    v = v * 1103515245u + 12345u;
    p.prPoints[static_cast<size_t>(i)] = {2 * kPiL * (i - 1) / p.prCount, 30 + (v >> 16) % 2000 / 100.0L};
  }
}

const Shape kShapes[] = {
    {"ellipse", [](CamProject& p) { p.curveType = ctEllipse; }},
    {"eccentric", [](CamProject& p) { p.curveType = ctEccentric; }},
    {"hexagon", [](CamProject& p) { p.curveType = ctPolygon; }},
    {"sin2", [](CamProject& p) { p.curveType = ctSinSquare; }},
    {"wavy sine", [](CamProject& p) {
       p.curveType = ctSine;
       p.sine.N = 7;
       p.sine.A = 20;
       p.sine.rw0 = 40;
     }},
    {"sine through the centre", [](CamProject& p) {
       p.curveType = ctSine;
       p.sine.N = 2;
       p.sine.A = 60;
       p.sine.rw0 = 40;
     }},
    {"rounded square", RoundedSquare},
    {"polar table", Bumpy},
};

TEST(FollowerPass, ProductionEqualsAllPairsScan) {
  Settings settings;
  for (const Shape& shape : kShapes) {
    for (int steps : {100, 1999}) {
      for (int type : {1, 2}) {
        for (Real d : {0.0L, 1.0L, 20.0L, 250.0L}) {
          if (steps > 100 && d != 20) continue;  // the largest contour once per follower kind
          CamProject p;
          shape.setup(p);
          p.calc.steps = steps;
          p.ram.type = static_cast<std::uint16_t>(type);
          p.ram.d = d;
          MessageList m;
          Flags f;
          Calculate(p, m, f, settings);
          ASSERT_FALSE(f.calcError) << shape.name << " " << m.at(1);
          ASSERT_GT(p.contourCount, 10);
          p.ram.d = d;  // the default filled in for d = 0
          std::vector<Real> fast, ref;
          FollowerPositions(p, fast);
          test::ReferenceFollowerPositions(p, ref);
          ASSERT_EQ(fast.size(), ref.size());
          int differ = 0;
          for (size_t k = 1; k < fast.size(); ++k)
            if (std::memcmp(&fast[k], &ref[k], 10) != 0) ++differ;
          EXPECT_EQ(differ, 0) << shape.name << " steps " << steps << " type " << type << " d "
                               << static_cast<double>(d);
          EXPECT_EQ(FollowerPosition(p, 5), ref[5]);
        }
      }
    }
  }
}

// The diagrams take the calculation's positions, but only for the follower
// they were found with: the default diameter that the calculation fills in
// afterwards, or a follower changed since, gets positions of its own.
TEST(FollowerPass, KeptPositionsServeOnlyTheirFollower) {
  Settings settings;
  CamProject p;
  p.curveType = ctEllipse;
  p.calc.steps = 360;
  p.ram.type = 2;
  p.ram.d = 20;
  MessageList m;
  Flags f;
  Calculate(p, m, f, settings);
  ASSERT_FALSE(f.calcError);
  std::vector<Real> now, scratch;
  FollowerPositions(p, now);
  EXPECT_EQ(&FollowerPositionsOf(p, scratch), &p.results.followerPositions);
  EXPECT_EQ(FollowerPositionsOf(p, scratch), now);
  for (auto change : {+[](CamProject& q) { q.ram.d = 30; }, +[](CamProject& q) { q.ram.type = 1; }}) {
    CamProject q = p;
    change(q);
    FollowerPositions(q, now);
    EXPECT_EQ(&FollowerPositionsOf(q, scratch), &scratch);
    EXPECT_EQ(scratch, now);
  }
  p.ram.d = 0;  // filled in after the positions were found with d = 0
  Calculate(p, m, f, settings);
  ASSERT_GT(p.ram.d, 0);
  FollowerPositions(p, now);
  EXPECT_EQ(FollowerPositionsOf(p, scratch), now);
  p.clearResults();
  EXPECT_EQ(FollowerPositionsOf(p, scratch), now);
}

TEST(FollowerPass, UncheckedContourGetsTheFullScan) {
  CamProject p;
  p.curveType = ctEllipse;
  MessageList m;
  Flags f;
  Settings settings;
  Calculate(p, m, f, settings);
  p.contour[7] = {1e13L, 3, 0};
  p.contour[9] = {std::nanl(""), 0, 0};
  std::vector<Real> fast, ref;
  FollowerPositions(p, fast);
  test::ReferenceFollowerPositions(p, ref);
  ASSERT_EQ(fast.size(), ref.size());
  for (size_t k = 1; k < fast.size(); ++k)
    EXPECT_TRUE(std::memcmp(&fast[k], &ref[k], 10) == 0 || (std::isnan(fast[k]) && std::isnan(ref[k]))) << k;
}

// The disc d = 100, e = 10: follower closed forms at 1999 steps. The pass
// touches only contour vertices: a face resting on two vertices a chord c
// apart sinks below the exact contact by c^2/8 * (1/R + 1/rho), rho the face
// radius (infinite for the flat face); with c <= 0.19 mm that is below
// 1e-4 mm flat and 6e-4 mm round. A zero-width follower reads the vertices
// themselves.
TEST(FollowerPass, EccentricDiscClosedForms) {
  const Real R = 50, e = 10, b = 10;
  struct Case {
    std::uint16_t type;
    Real d;
    Real curvature;               // 1/R + 1/rho
    std::function<Real(Real)> s;  // follower position at axis angle t
  };
  const Case cases[] = {
      {2, 0, 0, [&](Real t) { return -e * std::cos(t) + std::sqrt(R * R - e * e * std::sin(t) * std::sin(t)); }},
      // A flat face wider than the disc: the support function of the disc.
      {1, 200, 1 / R, [&](Real t) { return R - e * std::cos(t); }},
      // The slider-crank of a round face of radius b.
      {2, 2 * b, 1 / R + 1 / b, [&](Real t) {
         return -e * std::cos(t) + std::sqrt((R + b) * (R + b) - e * e * std::sin(t) * std::sin(t)) - b;
       }},
  };
  Settings settings;
  for (const Case& c : cases) {
    CamProject p;
    p.curveType = ctEccentric;
    p.calc.steps = 1999;
    p.ram.type = c.type;
    p.ram.d = c.d;
    MessageList m;
    Flags f;
    Calculate(p, m, f, settings);
    ASSERT_FALSE(f.calcError);
    p.ram.d = c.d;
    std::vector<Real> s;
    FollowerPositions(p, s);
    Real worst = 0, chord = 0;
    for (int k = 2; k <= p.contourCount; ++k)
      chord = std::max(chord, Hypot(p.contour[static_cast<size_t>(k)].x - p.contour[static_cast<size_t>(k - 1)].x,
                                    p.contour[static_cast<size_t>(k)].y - p.contour[static_cast<size_t>(k - 1)].y));
    const Real tolerance = chord * chord / 8 * c.curvature + 1e-12L;
    for (int k = 1; k <= p.contourCount; ++k) {
      Real t = p.contour[static_cast<size_t>(k)].phi;
      worst = std::max(worst, std::fabs(s[static_cast<size_t>(k)] - c.s(t)));
    }
    EXPECT_LT(static_cast<double>(worst), static_cast<double>(tolerance)) << c.type << " worst " << static_cast<double>(worst) << " " << static_cast<double>(c.d);
    EXPECT_NEAR(static_cast<double>(p.results.stroke), 20, static_cast<double>(2 * tolerance + 2e-5L));
  }
}

TEST(FollowerPass, AtAngleTakesTheEndOfTheSegment) {
  CamProject p;
  p.curveType = ctEccentric;
  MessageList m;
  Flags f;
  Settings settings;
  EXPECT_EQ(FollowerAtAngle(p, 1), 0);  // no contour yet
  Calculate(p, m, f, settings);
  for (int k : {2, 30, 51, 100}) {
    const Real mid = (p.contour[static_cast<size_t>(k - 1)].phi + p.contour[static_cast<size_t>(k)].phi) / 2;
    EXPECT_EQ(FollowerAtAngle(p, mid), FollowerPosition(p, k)) << k;
    EXPECT_EQ(FollowerAtAngle(p, mid - 2 * kPiL), FollowerPosition(p, k)) << k;
  }
}

}  // namespace
}  // namespace kamo
