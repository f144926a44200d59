// The engineering checks against closed forms: pressure angle, curvature of
// contour and pitch curve, undercut and bridged stretches, jerk, contact
// force with lift-off, and Hertz pressure.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "cam/checks.h"
#include "cam/kamorech.h"

namespace kamo {
namespace {

constexpr Real kPiL = 3.1415926535897932385L;
double D(Real x) { return static_cast<double>(x); }
double Deg(double rad) { return rad * 180 / static_cast<double>(kPiL); }

struct Job {
  CamProject p;
  MessageList m;
  Flags f;
  Settings settings;
  const CheckResults& Go() {
    Calculate(p, m, f, settings);
    EXPECT_FALSE(f.calcError) << m.at(1);
    EXPECT_TRUE(p.checks.valid);
    return p.checks;
  }
};

void Eccentric(CamProject& p, int followerType, Real d) {
  p.curveType = ctEccentric;
  p.eccentric = {100, 10};
  p.calc.steps = 360;
  p.ram.type = static_cast<std::uint16_t>(followerType);
  p.ram.d = d;
  p.ram.l = 100;
}

int Count(const CheckResults& c, CheckKind k) {
  int n = 0;
  for (const CheckFinding& f : c.findings) n += f.kind == k;
  return n;
}

TEST(Checks, EccentricWithRollerHasTheClosedFormPressureAngleAndPitchCircle) {
  Job r;
  Eccentric(r.p, 2, 20);
  const CheckResults& c = r.Go();
  const double alpha = Deg(std::asin(10.0 / 60.0));  // 9.594
  EXPECT_NEAR(D(c.alphaMax), alpha, 0.01);
  EXPECT_NEAR(D(c.alphaMin), -alpha, 0.01);
  // The pressure angle is largest where the radius to the roller centre
  // stands at right angles to the eccentricity: phi = 90.
  EXPECT_NEAR(Deg(D(c.phiAlphaMax)), 90, 1.0);
  EXPECT_NEAR(Deg(D(c.phiAlphaMin)), 270, 1.0);
  EXPECT_NEAR(D(c.rhoPitchMin), 60, 0.01);
  EXPECT_NEAR(D(c.rhoMin), 50, 0.01);
  EXPECT_NEAR(D(c.rhoMax), 50, 0.01);
  EXPECT_EQ(D(c.rhoConcave), 0);
  EXPECT_EQ(D(c.eMax), 0);
  EXPECT_EQ(D(c.faceWidth), 0);
  // Without a spring the follower lifts off while it decelerates; nothing else.
  EXPECT_EQ(Count(c, CheckKind::PressureAngle) + Count(c, CheckKind::Undercut), 0);
  EXPECT_EQ(Count(c, CheckKind::LiftOff), 1);
  // The results of the calculation are those without checks.
  EXPECT_NEAR(D(r.p.results.stroke), 20, 1e-3);
}

TEST(Checks, FlatFaceOnEccentricHasOffsetEAndNoPressureAngle) {
  Job r;
  Eccentric(r.p, 1, 40);
  const CheckResults& c = r.Go();
  EXPECT_NEAR(D(c.eMax), 10, 0.02);
  EXPECT_NEAR(D(c.faceWidth), 20, 0.04);
  EXPECT_EQ(D(c.alphaMax), 0);
  EXPECT_EQ(D(c.alphaMin), 0);
  EXPECT_EQ(D(c.rhoPitchMin), 0);
  // Offset +e where the face rises fastest (phi = 90), -e where it falls.
  const int quarter = r.p.contourCount / 4;
  EXPECT_NEAR(D(c.offset[static_cast<size_t>(1 + quarter)]), 10, 0.02);
  EXPECT_NEAR(D(c.offset[static_cast<size_t>(1 + 3 * quarter)]), -10, 0.02);
  EXPECT_TRUE(c.findings.empty() || (c.findings.size() == 1 && c.findings[0].kind == CheckKind::LiftOff));
}

struct CurvatureCase {
  const char* name;
  std::function<void(CamProject&)> setup;
  double rhoMin, rhoMax, rhoConcave, tolerance;  // tolerance relative
};

class Curvature : public ::testing::TestWithParam<CurvatureCase> {};

TEST_P(Curvature, MatchesTheClosedForm) {
  const CurvatureCase& k = GetParam();
  Job r;
  r.p.ram.l = 1000;
  k.setup(r.p);
  const CheckResults& c = r.Go();
  EXPECT_NEAR(D(c.rhoMin), k.rhoMin, k.rhoMin * k.tolerance) << k.name;
  EXPECT_NEAR(D(c.rhoMax), k.rhoMax, k.rhoMax * k.tolerance) << k.name;
  EXPECT_NEAR(D(c.rhoConcave), k.rhoConcave, k.rhoConcave * k.tolerance + 1e-9) << k.name;
}

INSTANTIATE_TEST_SUITE_P(
    Contours, Curvature,
    ::testing::Values(
        CurvatureCase{"ellipse 60 x 40",
                      [](CamProject& p) {
                        p.curveType = ctEllipse;
                        p.ellipse = {60, 40, 0};
                        p.calc.steps = 360;
                      },
                      40.0 * 40 / 60, 60.0 * 60 / 40, 0, 0.005},
        CurvatureCase{"ellipse 50 x 45 finely",
                      [](CamProject& p) {
                        p.curveType = ctEllipse;
                        p.ellipse = {50, 45, 0};
                        p.calc.steps = 1999;
                      },
                      45.0 * 45 / 50, 50.0 * 50 / 45, 0, 0.0005},
        CurvatureCase{"circle from four arcs",
                      [](CamProject& p) {
                        p.curveType = ctPoints;
                        p.basePointCount = 5;
                        const Real q = kPiL / 2;
                        p.basePoints[1] = {50, 0, q};
                        p.basePoints[2] = {0, 50, q};
                        p.basePoints[3] = {-50, 0, q};
                        p.basePoints[4] = {0, -50, q};
                        p.basePoints[5] = {50, 0, 0};
                        p.calc.steps = 720;
                      },
                      50, 50, 0, 0.002}));

// Inward arcs of -30 degrees on the sides of a square: radius 40/sin(15).
TEST(Checks, SquareWithInwardArcsIsBridgedByTheFlatFaceOnly) {
  auto square = [](CamProject& p, int type, Real d) {
    p.curveType = ctPoints;
    p.basePointCount = 5;
    const Real g = -30 * kPiL / 180;
    p.basePoints[1] = {40, -40, g};
    p.basePoints[2] = {40, 40, g};
    p.basePoints[3] = {-40, 40, g};
    p.basePoints[4] = {-40, -40, g};
    p.basePoints[5] = {40, -40, 0};
    p.calc.steps = 1440;
    p.calc.arcStep = 0.5;
    p.ram.type = static_cast<std::uint16_t>(type);
    p.ram.d = d;
    p.ram.l = 1000;
  };
  Job flat;
  square(flat.p, 1, 200);
  const CheckResults& cf = flat.Go();
  // One bridged stretch per side, each about the side's middle.
  ASSERT_EQ(Count(cf, CheckKind::Bridged), 4);
  for (const CheckFinding& f : cf.findings) {
    if (f.kind != CheckKind::Bridged) continue;
    double from = Deg(D(f.phiFrom)), to = Deg(D(f.phiTo));
    double mid = std::fmod((from + (to < from ? to + 360 : to)) / 2, 360.0);
    EXPECT_NEAR(std::fmod(mid + 45, 90.0), 45, 1.0) << from << " .. " << to;
    EXPECT_NEAR(D(f.value), 40 / std::sin(15 * 3.14159265358979323846 / 180), 1.0);
  }
  EXPECT_NEAR(D(cf.rhoConcave), 40 / std::sin(15 * 3.14159265358979323846 / 180), 0.5);
  Job round;
  square(round.p, 2, 20);
  const CheckResults& cr = round.Go();
  EXPECT_EQ(Count(cr, CheckKind::Bridged), 0);
  EXPECT_EQ(Count(cr, CheckKind::Undercut), 0);
}

// The sin^2 lift (db 20, sh 4, w 135) has concave flanks of about 24 mm
// radius next to its base circle of radius 10.
TEST(Checks, RollerLargerThanTheBaseCircleUndercuts) {
  for (Real d : {10.0L, 60.0L}) {
    Job r;
    r.p.curveType = ctSinSquare;
    r.p.sinSq = {20, 4, 135};
    r.p.calc.steps = 720;
    r.p.ram.type = 2;
    r.p.ram.d = d;
    r.p.ram.l = 100;
    const CheckResults& c = r.Go();
    EXPECT_GT(D(c.rhoConcave), 10);
    EXPECT_LT(D(c.rhoConcave), 30);
    if (d > 2 * c.rhoConcave) {
      EXPECT_GE(Count(c, CheckKind::Undercut), 1) << D(d);
      EXPECT_LT(D(c.rhoPitchMin), D(d) / 2);  // the looping parallel curve
    } else {
      EXPECT_EQ(Count(c, CheckKind::Undercut), 0) << D(d);
    }
  }
}

// Jerk of s = sh/2 (1 - cos phi): sh/2 omega^3, by the same backward
// differences as v and a.
TEST(Checks, HarmonicLiftJerk) {
  struct Case {
    Real w;        // degrees of the lift
    Real speed;    // 1/min
    int steps;
  };
  for (const Case& k : {Case{360, 1000, 360}, Case{360, 60, 720}, Case{360, 3000, 1999}}) {
    Job r;
    r.p.curveType = ctSinSquare;
    r.p.sinSq = {40, 4, k.w};
    r.p.calc.steps = k.steps;
    r.p.speed = k.speed;
    r.p.ram.type = 2;
    r.p.ram.d = 0;  // knife edge: the follower follows r(phi)
    r.p.ram.l = 100;
    const CheckResults& c = r.Go();
    const double omega = 2 * 3.14159265358979323846 * D(k.speed) / 60;
    const double beta = D(k.w) / 180 * 3.14159265358979323846;
    const double jmax = 0.004 / 2 * std::pow(2 * 3.14159265358979323846 / beta, 3) * std::pow(omega, 3);
    EXPECT_NEAR(D(c.jMax), jmax, jmax * 0.01) << D(k.speed);
    EXPECT_NEAR(D(c.jMin), -jmax, jmax * 0.01) << D(k.speed);
  }
}

// A contour synthesised here from a cycloidal rise, return and dwell, given
// as polar points (type 10) and analysed with a knife edge, gives back the
// pressure angle of the law: max atan(s' / (rb + s)).
TEST(Checks, CycloidalPolarPointsGiveBackTheLawsPressureAngle) {
  const double rb = 40, h = 12, beta = 100 * 3.14159265358979323846 / 180;
  auto lift = [&](double t) {  // t in radians
    const double pi2 = 2 * 3.14159265358979323846;
    auto cyc = [&](double u) { return h * (u / beta - std::sin(pi2 * u / beta) / pi2); };
    if (t < beta) return cyc(t);
    if (t < 3.14159265358979323846) return h;
    if (t < 3.14159265358979323846 + beta) return h - cyc(t - 3.14159265358979323846);
    return 0.0;
  };
  double expected = 0;
  for (int i = 0; i < 360000; ++i) {
    double t = i * 2 * 3.14159265358979323846 / 360000, dt = 1e-7;
    double slope = (lift(t + dt) - lift(t - dt)) / (2 * dt);
    if (t > dt && std::fabs(t - beta) > dt) expected = std::max(expected, std::atan(slope / (rb + lift(t))));
  }
  Job r;
  r.p.curveType = ctPolarPoints;
  r.p.prCount = 720;
  for (int i = 1; i <= 720; ++i) {
    double t = (i - 1) * 2 * 3.14159265358979323846 / 720;
    r.p.prPoints[static_cast<size_t>(i)] = {t, rb + lift(t)};
  }
  r.p.calc.linearize = true;
  r.p.calc.steps = 1440;
  r.p.ram.type = 2;
  r.p.ram.d = 0;
  r.p.ram.l = 100;
  const CheckResults& c = r.Go();
  EXPECT_NEAR(D(c.alphaMax), Deg(expected), 0.05);
  EXPECT_NEAR(D(c.alphaMin), -Deg(expected), 0.05);
  EXPECT_GT(Deg(expected), 10);  // the case means something
}

// p_H = sqrt(F E* / (pi b R*)), 1/R* = 1/50 + 1/10 on the eccentric's disc.
TEST(Checks, HertzPressureOfTheRollerOnTheEccentric) {
  struct Case {
    Real preload, width, e1, nu1, e2, nu2;
  };
  for (const Case& k : {Case{500, 20, 210000, 0.3L, 210000, 0.3L}, Case{1200, 8, 210000, 0.3L, 70000, 0.33L}}) {
    Job r;
    Eccentric(r.p, 2, 20);
    r.p.speed = 1e-3L;  // m a vanishes
    r.p.checkData.preload = k.preload;
    r.p.body.width = k.width;
    r.p.checkData.eCam = k.e1;
    r.p.checkData.nuCam = k.nu1;
    r.p.checkData.eFollower = k.e2;
    r.p.checkData.nuFollower = k.nu2;
    const CheckResults& c = r.Go();
    const double estar = 1 / ((1 - D(k.nu1) * D(k.nu1)) / D(k.e1) + (1 - D(k.nu2) * D(k.nu2)) / D(k.e2));
    const double rstar = 1 / (1.0 / 50 + 1.0 / 10);
    const double p = std::sqrt(D(k.preload) * estar / (3.14159265358979323846 * D(k.width) * rstar));
    EXPECT_NEAR(D(c.pHMax), p, p * 1e-4);
    EXPECT_NEAR(D(c.fMax), D(k.preload), 1e-6);
    EXPECT_NEAR(D(c.fMin), D(k.preload), 1e-6);
  }
}

TEST(Checks, ContactForceSpringAndLiftOff) {
  // Spring only: F0 at the lowest position, F0 + k * stroke at the highest.
  Job slow;
  Eccentric(slow.p, 2, 20);
  slow.p.speed = 1e-3L;
  slow.p.checkData.preload = 100;
  slow.p.checkData.rate = 2;
  const CheckResults& a = slow.Go();
  EXPECT_NEAR(D(a.fMin), 100, 1e-3);
  EXPECT_NEAR(D(a.fMax), 100 + 2 * D(slow.p.results.stroke), 1e-3);
  EXPECT_EQ(Count(a, CheckKind::LiftOff), 0);
  // Without a spring the mass pulls away from the cam while it decelerates:
  // one lift-off range around the top (phi = 180), F = m a.
  Job fast;
  Eccentric(fast.p, 2, 20);
  fast.p.ram.m = 0.5L;
  fast.p.speed = 3000;
  const CheckResults& b = fast.Go();
  ASSERT_EQ(Count(b, CheckKind::LiftOff), 1);
  const CheckFinding& f = b.findings.back();
  EXPECT_LT(Deg(D(f.phiFrom)), 180);
  EXPECT_GT(Deg(D(f.phiTo)), 180);
  EXPECT_NEAR(D(b.fMin), 0.5 * D(fast.p.results.aMin), 0.02 * 0.5 * std::fabs(D(fast.p.results.aMin)));
  // A preload above m |a min| keeps the contact.
  fast.p.checkData.preload = 1.1L * 0.5L * std::fabs(fast.p.results.aMin);
  EXPECT_EQ(Count(fast.Go(), CheckKind::LiftOff), 0);
}

TEST(Checks, PressureAngleAboveTheLimitGivesTheRiseAndTheFall) {
  Job r;
  Eccentric(r.p, 2, 20);
  r.p.checkData.alphaLimit = 5;
  const CheckResults& c = r.Go();
  ASSERT_EQ(Count(c, CheckKind::PressureAngle), 2);
  for (const CheckFinding& f : c.findings) {
    if (f.kind == CheckKind::PressureAngle) {
      EXPECT_NEAR(D(f.value), Deg(std::asin(10.0 / 60.0)), 0.01);
    }
  }
  CheckFinding f = c.findings[0];
  f.phiFrom = 31.43 * kPiL / 180;
  f.phiTo = 148.0 * kPiL / 180;
  EXPECT_EQ(FindingText(f, r.p.checkData, ','), "Druckwinkel 9,6\xF8 > 5,0\xF8 bei phi = 31,4\xF8 .. 148,0\xF8");
}

TEST(Checks, NothingAfterAStopAndNoMessages) {
  Job r;
  r.p.curveType = ctPoints;  // no points
  Calculate(r.p, r.m, r.f, r.settings);
  EXPECT_FALSE(r.p.checks.valid);
  // Findings never reach the message list.
  Job s;
  Eccentric(s.p, 2, 20);
  s.p.checkData.alphaLimit = 1;
  s.Go();
  EXPECT_FALSE(s.p.checks.findings.empty());
  EXPECT_EQ(s.m.count(), 0);
}

}  // namespace
}  // namespace kamo
