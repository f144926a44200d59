// The motion laws: the formula texts against the closed forms, the closed
// forms against themselves (derivatives, joins), and the textbook
// coefficients measured by the calculation's own kinematics.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cam/kamorech.h"
#include "cam/mathpars.h"
#include "cam/motionlaw.h"
#include "cam/motionprog.h"
#include "core/fields.h"

namespace kamo {
namespace {

double D(Real x) { return static_cast<double>(x); }
Real Rad(Real deg) { return deg * kPi / 180; }

// Evaluates the segments as the contour evaluation does: the first segment
// whose upper limit is not below phi.
Real EvalSegments(const std::vector<teilkurveRec>& segs, Real phiRad) {
  for (const teilkurveRec& s : segs)
    if (phiRad <= Rad(s.xMax)) {
      std::string f = s.formula;
      FormulaResult r = EvalFormula(f, phiRad);
      EXPECT_EQ(r.error, 0) << s.formula;
      return r.value;
    }
  ADD_FAILURE() << "no segment covers " << D(phiRad);
  return 0;
}

struct SectionCase {
  Real phi1, phi2, r1, r2;
};
const SectionCase kSections[] = {
    {0, 120, 40, 60},            // a rise from 0
    {200, 320, 57.5L, 31.25L},   // a return
    {359, 360, 10, 10.001L},     // a tiny span at the end
    {12.345L, 347.654L, 123.456789L, 0.987654321L},
};

TEST(MotionLaw, FormulasEqualTheClosedFormsEverywhere) {
  for (MotionLaw law : AllMotionLaws()) {
    for (const SectionCase& c : kSections) {
      std::vector<teilkurveRec> segs = MotionLawSegments(law, c.phi1, c.phi2, c.r1, c.r2);
      ASSERT_EQ(static_cast<int>(segs.size()), MotionLawPieces(law)) << MotionLawKeyword(law);
      EXPECT_EQ(D(segs.back().xMax), D(c.phi2));
      Real prev = c.phi1;
      for (const teilkurveRec& s : segs) {
        EXPECT_GT(s.xMax, prev);
        prev = s.xMax;
        // The parser refuses a power of 0; a field holds 254 characters.
        EXPECT_EQ(s.formula.find('^'), std::string::npos) << s.formula;
        EXPECT_LE(s.formula.size(), kMaxFieldChars) << s.formula;
      }
      Real h = law == MotionLaw::Dwell ? 0 : c.r2 - c.r1;
      for (int i = 0; i <= 400; ++i) {
        Real t = i / 400.0L;
        Real phi = Rad(c.phi1 + (c.phi2 - c.phi1) * t);
        Real want = c.r1 + h * EvalMotionLaw(law, t).y;
        Real got = EvalSegments(segs, phi);
        EXPECT_NEAR(D(got), D(want), 1e-9 * (1 + std::fabs(D(c.r1)) + std::fabs(D(h))))
            << MotionLawKeyword(law) << " t=" << D(t);
      }
    }
  }
}

TEST(MotionLaw, ClosedFormsStartAndEndAtRestAndAreTheirOwnDerivatives) {
  for (MotionLaw law : AllMotionLaws()) {
    if (law == MotionLaw::Dwell) continue;
    SCOPED_TRACE(MotionLawKeyword(law));
    EXPECT_NEAR(D(EvalMotionLaw(law, 0).y), 0, 1e-15);
    EXPECT_NEAR(D(EvalMotionLaw(law, 1).y), 1, 1e-15);
    if (law != MotionLaw::Linear) {
      EXPECT_NEAR(D(EvalMotionLaw(law, 0).v), 0, 1e-15);
      EXPECT_NEAR(D(EvalMotionLaw(law, 1).v), 0, 1e-15);
    }
    // Central differences of each quantity give the next one (away from the
    // section ends; the pieces join smoothly up to the acceleration).
    const Real e = 1e-6L;
    for (int i = 1; i < 200; ++i) {
      Real t = i / 200.0L + 0.0013L;
      if (t >= 1 - e) continue;
      LawValue lo = EvalMotionLaw(law, t - e), hi = EvalMotionLaw(law, t + e), m = EvalMotionLaw(law, t);
      EXPECT_NEAR(D((hi.y - lo.y) / (2 * e)), D(m.v), 1e-6) << D(t);
      EXPECT_NEAR(D((hi.v - lo.v) / (2 * e)), D(m.a), 1e-5) << D(t);
      if (law != MotionLaw::ModTrap || std::fabs(D(t) - 0.125) > e) {
        // The modified trapezoid's jerk is continuous too (0 at the joins).
        EXPECT_NEAR(D((hi.a - lo.a) / (2 * e)), D(m.j), 1e-3) << D(t);
      }
    }
    // Peak values agree with the coefficients.
    LawCoefficients c = MotionLawCoefficients(law);
    Real vMax = 0, aMax = 0;
    for (int i = 0; i <= 100000; ++i) {
      LawValue v = EvalMotionLaw(law, i / 100000.0L);
      vMax = std::max(vMax, std::fabs(v.v));
      aMax = std::max(aMax, std::fabs(v.a));
    }
    EXPECT_NEAR(D(vMax), D(c.cv), 1e-6);
    if (law != MotionLaw::Linear) {
      EXPECT_NEAR(D(aMax), D(c.ca), 1e-6);
    }
  }
}

// A programme rise h over beta with the law, dwell, return over beta with the
// law, dwell, calculated by the program with a knife-edge follower.
struct Kinematics {
  CamProject p;
  MessageList m;
  Flags f;
  Settings settings;
};
// Without room for the dwells (beta + rn = 360) the rise meets the return.
void RiseDwellReturn(Kinematics& k, MotionLaw law, Real h, Real beta, Real rn, int steps) {
  MotionProgramme prog;
  prog.base = 40;
  Real dwell = (360 - beta - rn) / 2;
  prog.sections = {{law, beta, h}};
  if (dwell > 0) prog.sections.push_back({MotionLaw::Dwell, dwell, h});
  prog.sections.push_back({law, rn, 0});
  if (dwell > 0) prog.sections.push_back({MotionLaw::Dwell, dwell, 0});
  prog.speed = 300;
  prog.followerType = 2;
  prog.followerD = 0;
  prog.steps = steps;
  ASSERT_TRUE(ApplyMotionProgramme(prog, k.p).ok());
  Calculate(k.p, k.m, k.f, k.settings);
  ASSERT_FALSE(k.f.calcError) << k.m.at(1);
}

struct CoefficientCase {
  MotionLaw law;
  double cv, ca;
};
// The textbook values.
const CoefficientCase kCoefficients[] = {
    {MotionLaw::Cycloidal, 2, 2 * M_PI},     {MotionLaw::Poly345, 1.875, 5.7735},
    {MotionLaw::Poly4567, 2.1875, 7.5107},   {MotionLaw::Harmonic, M_PI / 2, M_PI * M_PI / 2},
    {MotionLaw::ModTrap, 2, 4.8881},         {MotionLaw::ModSine, 1.7596, 5.5280},
};

TEST(MotionLaw, CoefficientsFromTheCalculatedKinematics) {
  const Real h = 20, beta = 120, n = 300;
  for (const CoefficientCase& c : kCoefficients) {
    SCOPED_TRACE(MotionLawKeyword(c.law));
    // The modified trapezoid needs 5 segments a section: rise and return only.
    Real b = c.law == MotionLaw::ModTrap ? Real(180) : beta;
    Kinematics k;
    RiseDwellReturn(k, c.law, h, b, b, 1999);
    const CamResults& r = k.p.results;
    double w = D(2 * kPi * n / 60), br = D(Rad(b)), hm = D(h) / 1000;
    // The top of the rise falls between two steps.
    EXPECT_NEAR(D(r.stroke), D(h), 1e-6);
    double vMax = std::max(std::fabs(D(r.vMax)), std::fabs(D(r.vMin)));
    double aMax = std::max(std::fabs(D(r.aMax)), std::fabs(D(r.aMin)));
    EXPECT_NEAR(vMax / (hm * w / br), c.cv, 0.01 * c.cv);
    EXPECT_NEAR(aMax / (hm * w * w / (br * br)), c.ca, 0.01 * c.ca);
  }
}

// Jerk from third differences of the calculated follower positions, inside a
// long rise and away from its ends, where the jerk jumps.
TEST(MotionLaw, JerkCoefficientsFromTheCalculatedPositions) {
  struct JerkCase {
    MotionLaw law;
    double cj;
  };
  const JerkCase cases[] = {{MotionLaw::Cycloidal, 4 * M_PI * M_PI}, {MotionLaw::Poly345, 60},
                            {MotionLaw::Poly4567, 52.5},           {MotionLaw::ModTrap, 61.4},
                            {MotionLaw::ModSine, 69.5}};
  const Real h = 20, beta = 300;
  for (const JerkCase& c : cases) {
    SCOPED_TRACE(MotionLawKeyword(c.law));
    Kinematics k;
    RiseDwellReturn(k, c.law, h, beta, c.law == MotionLaw::ModTrap ? 60 : 40, 1999);
    // The calculation gave the follower its default diameter afterwards.
    k.p.ram.d = 0;
    std::vector<Real> s;
    FollowerPositions(k.p, s);
    int n = k.p.contourCount;
    double step = 2 * M_PI / (n - 1);  // the closing point repeats the first
    double jMax = 0;
    for (int j = 1; j + 3 <= n; ++j) {
      double phi0 = (j - 1) * step, phi3 = (j + 2) * step;
      if (phi0 <= 0 || phi3 >= D(Rad(beta))) continue;
      double third = D(s[static_cast<size_t>(j + 3)] - 3 * s[static_cast<size_t>(j + 2)] +
                3 * s[static_cast<size_t>(j + 1)] - s[static_cast<size_t>(j)]);
      jMax = std::max(jMax, std::fabs(third) / (step * step * step));
    }
    double b = D(Rad(beta));
    EXPECT_NEAR(jMax / (D(h) / (b * b * b)), c.cj, 0.01 * c.cj);
  }
}

TEST(MotionLaw, ProgrammeIsContinuousInStrokeAndVelocityAtEveryJoin) {
  for (MotionLaw law : AllMotionLaws()) {
    if (law == MotionLaw::Dwell || law == MotionLaw::Linear) continue;
    SCOPED_TRACE(MotionLawKeyword(law));
    Kinematics k;
    // Twelve segments would not fit: the modified trapezoid rises and returns.
    if (law == MotionLaw::ModTrap) RiseDwellReturn(k, law, 20, 180, 180, 360);
    else RiseDwellReturn(k, law, 20, 120, 150, 360);
    ASSERT_LE(k.p.segmentCount, kMaxSegments);
    const Real e = 1e-7L;
    for (int i = 1; i <= k.p.segmentCount; ++i) {
      Real x = Rad(k.p.segments[static_cast<size_t>(i)].xMax);
      if (i == k.p.segmentCount) x = 0;  // the cam closes at 0 = 360°
      Real below = RadiusAt(k.p, x - e), at = RadiusAt(k.p, x), above = RadiusAt(k.p, x + e);
      EXPECT_NEAR(D(below), D(at), 1e-5) << "join " << i;
      EXPECT_NEAR(D(above), D(at), 1e-5) << "join " << i;
      Real vBelow = (below - RadiusAt(k.p, x - 2 * e)) / e;
      Real vAbove = (RadiusAt(k.p, x + 2 * e) - above) / e;
      EXPECT_NEAR(D(vBelow), D(vAbove), 1e-3) << "join " << i;
    }
  }
}

}  // namespace
}  // namespace kamo
