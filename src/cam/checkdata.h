// The inputs and results of the engineering checks that every calculation
// runs on top of the kinematics: pressure angle, curvature and undercut,
// jerk, contact force with lift-off, and Hertz pressure.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "core/real.h"

namespace kamo {

// Inputs of the checks, kept in the project file (appended lines).
struct CheckInputs {
  Real alphaLimit = 30;         // degrees, the largest acceptable |pressure angle|
  Real preload = 0;             // N, spring force at the lowest follower position
  Real rate = 0;                // N/mm, spring rate
  Real eCam = 210000, nuCam = 0.3L;            // N/mm^2, Poisson ratio of the cam
  Real eFollower = 210000, nuFollower = 0.3L;  // of the follower (roller)
};

enum class CheckKind : std::uint8_t {
  PressureAngle,  // |alpha| above the limit
  Undercut,       // the roller cannot follow a concave stretch (pitch curve loops)
  Bridged,        // the flat face bridges a concave stretch
  LiftOff,        // the contact force is negative
};

// One finding over a range of cam angles (radians, from..to in the contour's
// order; to < from when the range runs through 0).
struct CheckFinding {
  CheckKind kind = CheckKind::PressureAngle;
  Real phiFrom = 0, phiTo = 0;
  Real value = 0;  // largest |alpha| (deg), smallest |rho| (mm), smallest force (N)
};

// Storage the checks reuse from one calculation to the next (it holds no
// results): fresh memory for every calculation costs more than the checks.
struct CheckWork {
  struct Point {
    double x = 0, y = 0, phi = 0;
  };
  std::vector<Point> contour, shape;
  std::vector<double> kappa, kShape, dt, v, a, s, jerk;
  std::vector<char> hit, in;
};

// Results of the checks; the series hold one value per contour point
// (index 1..contourCount, index 0 unused). A straight stretch has the
// curvature 0 and the radius +infinity.
struct CheckResults {
  bool valid = false;
  bool flat = false;        // flat face: alpha = 0, offset e and face width apply
  Real rollerRadius = 0;    // the half diameter the follower positions used

  std::vector<Real> phi;        // rad
  std::vector<Real> alpha;      // deg, signed, positive while the follower rises
  std::vector<Real> offset;     // mm, contact offset from the axis (flat face)
  std::vector<Real> rho;        // mm, contour, negative where concave
  std::vector<Real> rhoPitch;   // mm, pitch curve (round follower)
  std::vector<Real> jerk;       // m/s^3
  std::vector<Real> force;      // N
  std::vector<Real> hertz;      // N/mm^2

  Real alphaMax = 0, phiAlphaMax = 0, alphaMin = 0, phiAlphaMin = 0;
  Real eMax = 0, phiEMax = 0, faceWidth = 0;
  Real rhoMin = 0, phiRhoMin = 0, rhoMax = 0, phiRhoMax = 0;
  Real rhoConcave = 0, phiRhoConcave = 0;
  Real rhoPitchMin = 0, phiRhoPitchMin = 0;
  Real jMax = 0, phiJMax = 0, jMin = 0, phiJMin = 0;
  Real fMax = 0, phiFMax = 0, fMin = 0, phiFMin = 0;
  Real pHMax = 0, phiPHMax = 0;
  std::vector<CheckFinding> findings;
  CheckWork work;

  // Back to "no results", keeping the storage of the series.
  void reset() {
    CheckResults fresh;
    for (auto [from, to] : {std::pair{&phi, &fresh.phi}, {&alpha, &fresh.alpha}, {&offset, &fresh.offset},
                            {&rho, &fresh.rho}, {&rhoPitch, &fresh.rhoPitch}, {&jerk, &fresh.jerk},
                            {&force, &fresh.force}, {&hertz, &fresh.hertz}}) {
      from->clear();
      to->swap(*from);
    }
    findings.clear();
    fresh.findings.swap(findings);
    fresh.work = std::move(work);
    *this = std::move(fresh);
  }
};

}  // namespace kamo
