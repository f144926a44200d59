// Pressure angle, curvature, undercut, jerk, contact force and Hertz pressure
// from the contour and the follower positions of one calculation.
//
// The follower stands in the direction of contour point k. Its roller centres
// (the pitch curve) lie at R_k = s_k + b along that direction, so the contact
// normal through the centre is the normal of the pitch curve: tan(alpha) =
// R'/R with R' from the neighbouring positions. The contact point follows
// from it (centre minus b along the normal), and the cam's curvature there
// gives the Hertz radius. For the flat face, s(phi) is the support function
// of the contour: the contact lies ds/dphi off the axis. The contour's own
// curvature comes from the circle through each point and its neighbours.
#include "cam/checks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/geometry.h"

namespace kamo {
namespace {

constexpr Real kDeg = 0.017453292519943295769L;
constexpr double kInfD = std::numeric_limits<double>::infinity();

size_t U(int i) { return static_cast<size_t>(i); }

// An angle step brought into [0, 2pi); the steps here are differences of
// polar angles, so a few turns at most.
// The checks work in double precision: their results are engineering
// values, and extended arithmetic would cost more than the rest of them.
constexpr double kTwoPiD = 6.283185307179586477;
constexpr double kPiD = 3.1415926535897932385;
constexpr double kPerRad = 57.295779513082320877;  // degrees
double Forward(double d) {
  if (!std::isfinite(d)) return 0;
  if (d < -4 * kTwoPiD || d >= 4 * kTwoPiD) d = std::fmod(d, kTwoPiD);
  while (d < 0) d += kTwoPiD;
  while (d >= kTwoPiD) d -= kTwoPiD;
  return d;
}

inline double Len(double x, double y) { return std::sqrt(x * x + y * y); }
inline double Atan2(double y, double x) { return std::atan2(y, x); }
// An angle difference brought into (-pi, pi].
double Signed(double d) {
  d = Forward(d);
  return d > kPiD ? d - kTwoPiD : d;
}

struct Cycle {
  int m = 0;
  int prev(int j) const { return j == 1 ? m : j - 1; }
  int next(int j) const { return j == m ? 1 : j + 1; }
};

// Runs of consecutive points (cyclic) where hit[j] holds, as findings; a
// single point between two hits (a contact that jumps for one step) does not
// split a run (unless join is false). value(j) of the hits gives the run's largest or smallest value.
template <class Value>
void Runs(const Cycle& cy, const std::vector<char>& hit, const std::vector<Real>& phi, CheckKind kind,
          Value value, bool smallest, std::vector<CheckFinding>& out, std::vector<char>& in,
          bool join = true) {
  const int m = cy.m;
  in = hit;
  for (int j = 1; j <= m && join; ++j)
    if (!hit[U(j)] && hit[U(cy.prev(j))] && hit[U(cy.next(j))]) in[U(j)] = 1;
  auto widen = [&](CheckFinding& f, int j) {
    if (!hit[U(j)]) return;
    Real v = value(j);
    if (smallest ? v < f.value : v > f.value) f.value = v;
  };
  const Real none = smallest ? std::numeric_limits<Real>::infinity() : -std::numeric_limits<Real>::infinity();
  int start = 0;
  for (int j = 1; j <= m; ++j)
    if (!in[U(j)]) {
      start = j;
      break;
    }
  if (start == 0) {  // everywhere
    CheckFinding f{kind, phi[1], phi[U(m)], none};
    for (int j = 1; j <= m; ++j) widen(f, j);
    out.push_back(f);
    return;
  }
  bool open = false;
  CheckFinding f;
  for (int i = 1, j = cy.next(start); i <= m; ++i, j = cy.next(j)) {
    if (in[U(j)]) {
      if (!open) {
        f = CheckFinding{kind, phi[U(j)], phi[U(j)], none};
        open = true;
      }
      f.phiTo = phi[U(j)];
      widen(f, j);
    } else if (open) {
      out.push_back(f);
      open = false;
    }
  }
  if (open) out.push_back(f);
}

// Points of the closed contour 1..m (counter-clockwise) that lie below its
// convex hull by more than tol: what a flat face spans without touching.
using Point = CheckWork::Point;

std::vector<char> BelowHull(const std::vector<Point>& P, const Cycle& cy, double tol) {
  const int m = cy.m;
  std::vector<int> idx(U(m));
  for (int j = 1; j <= m; ++j) idx[U(j - 1)] = j;
  std::sort(idx.begin(), idx.end(), [&](int a, int b) {
    return P[U(a)].x < P[U(b)].x || (P[U(a)].x == P[U(b)].x && P[U(a)].y < P[U(b)].y);
  });
  auto cross = [&](int o, int a, int b) {
    return (P[U(a)].x - P[U(o)].x) * (P[U(b)].y - P[U(o)].y) - (P[U(a)].y - P[U(o)].y) * (P[U(b)].x - P[U(o)].x);
  };
  std::vector<int> hull;
  for (int pass = 0; pass < 2; ++pass) {
    const size_t base = hull.size();
    for (size_t i = 0; i < idx.size(); ++i) {
      const int q = pass == 0 ? idx[i] : idx[idx.size() - 1 - i];
      while (hull.size() >= base + 2 && cross(hull[hull.size() - 2], hull.back(), q) <= 0) hull.pop_back();
      hull.push_back(q);
    }
    hull.pop_back();
  }
  std::vector<char> below(U(m) + 1, 0);
  if (hull.size() < 3) return below;
  std::sort(hull.begin(), hull.end());
  for (size_t h = 0; h < hull.size(); ++h) {
    const int a = hull[h], b = hull[(h + 1) % hull.size()];
    const double dx = P[U(b)].x - P[U(a)].x, dy = P[U(b)].y - P[U(a)].y;
    const double len = Len(dx, dy);
    if (!(len > 0)) continue;
    for (int j = cy.next(a); j != b; j = cy.next(j)) {
      const double depth = (dx * (P[U(j)].y - P[U(a)].y) - dy * (P[U(j)].x - P[U(a)].x)) / len;
      below[U(j)] = -depth > tol || depth > tol;
    }
  }
  return below;
}

void Fixed1(std::string& out, Real x, char dec) {
  double v = std::round(static_cast<double>(x) * 10) / 10;
  if (v == 0) v = 0;  // no "-0.0"
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
  for (char* q = buf; q != r.ptr; ++q) out += *q == '.' ? dec : *q;
}

}  // namespace

Real ContactModulus(const CheckInputs& in) {
  if (!(in.eCam > 0 && in.eFollower > 0)) return 0;
  if (!(in.nuCam >= 0 && in.nuCam < 0.5L && in.nuFollower >= 0 && in.nuFollower < 0.5L)) return 0;
  return (1 - in.nuCam * in.nuCam) / in.eCam + (1 - in.nuFollower * in.nuFollower) / in.eFollower;
}

void RunChecks(CamProject& p, const std::vector<Real>& positions, Real halfDiameter,
               const std::vector<ContourPoint>* shape, int shapeCount) {
  CheckResults& c = p.checks;
  c.reset();
  CheckWork& w = c.work;
  const int n = p.contourCount;
  if (n < 3 || positions.size() < U(n) + 1 || p.contour.size() < U(n) + 1) return;
  Cycle cy;
  cy.m = SameValue(p.contour[U(n)].x, p.contour[1].x) && SameValue(p.contour[U(n)].y, p.contour[1].y) ? n - 1 : n;
  if (cy.m < 3) return;
  const int m = cy.m;
  auto toPoints = [](const std::vector<ContourPoint>& from, int count, std::vector<Point>& to) {
    to.resize(U(count) + 1);
    for (int j = 0; j <= count; ++j)
      to[U(j)] = Point{static_cast<double>(from[U(j)].x), static_cast<double>(from[U(j)].y),
                       static_cast<double>(from[U(j)].phi)};
  };
  toPoints(p.contour, n, w.contour);
  const std::vector<Point>& P = w.contour;
  std::vector<double>& s = w.s;
  s.resize(U(n) + 1);
  for (int j = 0; j <= n; ++j) s[U(j)] = static_cast<double>(positions[U(j)]);
  double half = static_cast<double>(halfDiameter);
  if (!(half >= 0)) half = 0;
  const bool flat = p.ram.type == 1;
  c.flat = flat;
  c.rollerRadius = half;

  double scale = 0;
  for (int j = 1; j <= m; ++j) scale = std::max(scale, Len(P[U(j)].x, P[U(j)].y));
  if (!(scale > 0) || !std::isfinite(scale)) return;
  const double tinyLen = 1e-12 * scale;
  const double straight = 1e-9 / scale;  // |curvature| below this counts as a straight line

  auto resize = [&](std::vector<Real>& v) { v.assign(U(n) + 1, 0); };
  resize(c.phi);
  resize(c.alpha);
  resize(c.offset);
  resize(c.rho);
  resize(c.rhoPitch);
  resize(c.jerk);
  resize(c.force);
  resize(c.hertz);
  std::vector<double>& kappa = w.kappa;
  kappa.assign(U(n) + 1, 0);
  for (int j = 1; j <= m; ++j) c.phi[U(j)] = P[U(j)].phi;

  // Curvature of the shape: the circle through each point and its
  // neighbours distinct in position (an arc repeats its first point).
  const std::vector<Point>* shapePoints = &P;
  int ms = m;
  if (shape && shapeCount >= 3 && shapeCount < static_cast<int>(shape->size())) {
    const auto& S = *shape;
    int k = shapeCount;
    if (SameValue(S[U(k)].x, S[1].x) && SameValue(S[U(k)].y, S[1].y)) --k;
    if (k >= 3) {
      toPoints(S, k, w.shape);
      shapePoints = &w.shape;
      ms = k;
    }
  }
  const std::vector<Point>& Q = *shapePoints;
  const bool own = shapePoints == &P;
  Cycle cs;
  cs.m = ms;
  std::vector<double>& kShape = w.kShape;
  kShape.assign(U(cs.m) + 1, 0);
  auto distinct = [&](int j, bool forward) {
    int q = j;
    for (int i = 0; i < cs.m; ++i) {
      q = forward ? cs.next(q) : cs.prev(q);
      if (Len(Q[U(q)].x - Q[U(j)].x, Q[U(q)].y - Q[U(j)].y) > tinyLen) return q;
    }
    return j;
  };
  for (int j = 1; j <= cs.m; ++j) {
    const int a = distinct(j, false), b = distinct(j, true);
    double k = 0;
    if (a != j && b != j && a != b) {
      const double ux = Q[U(j)].x - Q[U(a)].x, uy = Q[U(j)].y - Q[U(a)].y;
      const double vx = Q[U(b)].x - Q[U(j)].x, vy = Q[U(b)].y - Q[U(j)].y;
      const double cross = ux * vy - uy * vx;
      const double la = Len(ux, uy), lb = Len(vx, vy);
      const double lc = Len(Q[U(b)].x - Q[U(a)].x, Q[U(b)].y - Q[U(a)].y);
      if (la > 0 && lb > 0 && lc > 0) k = 2 * cross / (la * lb * lc);
      if (std::fabs(k) < straight) k = 0;
    }
    kShape[U(j)] = k;
  }
  // The shape's curvature at polar angle psi, walking from point q.
  auto shapeKappa = [&](int& q, double psi) {
    for (int i = 0; i < cs.m && Signed(psi - Q[U(q)].phi) < 0; ++i) q = cs.prev(q);
    for (int i = 0; i < cs.m; ++i) {
      const int r = cs.next(q);
      if (Signed(psi - Q[U(r)].phi) < 0) break;
      q = r;
    }
    const int r = cs.next(q);
    const double span = Forward(Q[U(r)].phi - Q[U(q)].phi);
    const double t = span > 0 ? std::clamp(Signed(psi - Q[U(q)].phi) / span, 0.0, 1.0) : 0;
    return kShape[U(q)] + t * (kShape[U(r)] - kShape[U(q)]);
  };
  int hint = 1;
  for (int j = 1; j <= m; ++j) {
    const double k = own ? kShape[U(j)] : shapeKappa(hint, P[U(j)].phi);
    kappa[U(j)] = k;
    c.rho[U(j)] = k == 0 ? kInfD : 1 / k;
    // The roller centre's path is the parallel curve at distance b.
    c.rhoPitch[U(j)] = flat ? 0 : (k == 0 ? kInfD : 1 / k + half);
  }

  // The curvature at any polar angle psi, walking from point j.
  auto kappaAt = [&](int j, double psi) {
    int q = j;
    for (int i = 0; i < m && Signed(psi - P[U(q)].phi) < 0; ++i) q = cy.prev(q);
    for (int i = 0; i < m; ++i) {
      const int r = cy.next(q);
      if (Signed(psi - P[U(r)].phi) < 0) break;
      q = r;
    }
    const int r = cy.next(q);
    const double span = Forward(P[U(r)].phi - P[U(q)].phi);
    const double t = span > 0 ? std::clamp(Signed(psi - P[U(q)].phi) / span, 0.0, 1.0) : 0;
    return kappa[U(q)] + t * (kappa[U(r)] - kappa[U(q)]);
  };

  // Neighbours distinct in angle, for the derivatives of the positions.
  auto angular = [&](int j, bool forward) {
    int q = j;
    for (int i = 0; i < m; ++i) {
      q = forward ? cy.next(q) : cy.prev(q);
      if (std::fabs(Signed(P[U(q)].phi - P[U(j)].phi)) > 1e-12) return q;
    }
    return j;
  };

  // Time steps of the angle steps, velocity, acceleration and jerk by
  // backward differences around the closed revolution.
  std::vector<double>&dt = w.dt, &v = w.v, &a = w.a;
  dt.assign(U(m) + 1, 0);
  v.assign(U(m) + 1, 0);
  a.assign(U(m) + 1, 0);
  const double turn = 60 / p.speed;  // s per revolution
  for (int j = 1; j <= m; ++j) dt[U(j)] = turn * Forward(P[U(j)].phi - P[U(cy.prev(j))].phi) / kTwoPiD;
  auto difference = [&](const std::vector<double>& x, std::vector<double>& out, double unit) {
    for (int j = 1; j <= m; ++j) {
      const double d = x[U(j)] - x[U(cy.prev(j))];
      out[U(j)] = dt[U(j)] > 0 ? d / dt[U(j)] / unit : kInfD;
    }
    // A step without time keeps the value before it.
    for (int pass = 0; pass < 2; ++pass)
      for (int j = 1; j <= m; ++j)
        if (out[U(j)] == kInfD) {
          const double before = out[U(cy.prev(j))];
          if (before != kInfD) out[U(j)] = before;
        }
    for (int j = 1; j <= m; ++j)
      if (out[U(j)] == kInfD) out[U(j)] = 0;
  };
  difference(s, v, 1000);
  difference(v, a, 1);
  std::vector<double>& jerk = w.jerk;
  jerk.assign(U(m) + 1, 0);
  difference(a, jerk, 1);

  double sMin = kInfD;
  for (int j = 1; j <= m; ++j) sMin = std::min(sMin, s[U(j)]);
  const double modulus = static_cast<double>(ContactModulus(p.checkData));
  const double width = static_cast<double>(p.body.width);
  const bool hertz = !flat && half > 0 && width > 0 && modulus > 0;
  const double preload = static_cast<double>(p.checkData.preload), rate = static_cast<double>(p.checkData.rate);
  const double mass = static_cast<double>(p.ram.m);

  for (int j = 1; j <= m; ++j) {
    const int a0 = angular(j, false), a1 = angular(j, true);
    const double span = Forward(P[U(a1)].phi - P[U(a0)].phi);
    const double R = s[U(j)] + (flat ? 0 : half);
    const double dR = span > 0 && a0 != j && a1 != j ? (s[U(a1)] - s[U(a0)]) / span : 0;
    if (flat) {
      c.offset[U(j)] = dR;
    } else {
      c.alpha[U(j)] = Atan2(dR, R) * kPerRad;
    }
    c.jerk[U(j)] = jerk[U(j)];
    const double F = preload + rate * (s[U(j)] - sMin) + mass * a[U(j)];
    c.force[U(j)] = F;
    if (hertz && F > 0) {
      // Contact point: the centre less b along the pitch normal (R u - R' u_perp).
      double contactPhi = P[U(j)].phi;
      // The follower's axis, as the follower pass takes it.
      const double r0 = Len(P[U(j)].x, P[U(j)].y);
      const double cs = r0 > 0 ? P[U(j)].x / r0 : 0, sn = r0 > 0 ? P[U(j)].y / r0 : 1;
      const double len = Len(R, dR);
      if (len > 0) {
        const double nx = (R * cs + dR * sn) / len, ny = (R * sn - dR * cs) / len;
        contactPhi = Atan2(R * sn - half * ny, R * cs - half * nx);
      }
      const double inv = kappaAt(j, Forward(contactPhi)) + 1 / half;  // 1/R*
      if (inv > 0) c.hertz[U(j)] = std::sqrt(F * inv / (kPiD * width * modulus));
    }
  }
  // The closing point repeats point 1.
  for (int j = m + 1; j <= n; ++j) {
    for (auto* series : {&c.phi, &c.alpha, &c.offset, &c.rho, &c.rhoPitch, &c.jerk, &c.force, &c.hertz})
      (*series)[U(j)] = (*series)[1];
    c.phi[U(j)] = P[U(j)].phi;
  }

  // Extremes over points 1..m with the angles where they occur.
  c.alphaMax = -kInfD;
  c.alphaMin = kInfD;
  c.jMax = c.fMax = -kInfD;
  c.jMin = c.fMin = kInfD;
  double kMax = 0, kMinPos = kInfD, kConcave = 0, pitchMin = kInfD;
  for (int j = 1; j <= m; ++j) {
    const double phi = c.phi[U(j)];
    auto track = [phi](Real x, Real& lo, Real& phiLo, Real& hi, Real& phiHi) {
      if (x > hi) {
        hi = x;
        phiHi = phi;
      }
      if (x < lo) {
        lo = x;
        phiLo = phi;
      }
    };
    track(c.alpha[U(j)], c.alphaMin, c.phiAlphaMin, c.alphaMax, c.phiAlphaMax);
    track(c.jerk[U(j)], c.jMin, c.phiJMin, c.jMax, c.phiJMax);
    track(c.force[U(j)], c.fMin, c.phiFMin, c.fMax, c.phiFMax);
    if (std::fabs(c.offset[U(j)]) > c.eMax) {
      c.eMax = std::fabs(c.offset[U(j)]);
      c.phiEMax = phi;
    }
    const double k = kappa[U(j)];
    if (k > kMax) {
      kMax = k;
      c.phiRhoMin = phi;
    }
    if (k > 0 && k < kMinPos) {
      kMinPos = k;
      c.phiRhoMax = phi;
    }
    if (k < kConcave) {
      kConcave = k;
      c.phiRhoConcave = phi;
    }
    const double rp = c.rhoPitch[U(j)];
    if (!flat && rp > 0 && rp < pitchMin) {
      pitchMin = rp;
      c.phiRhoPitchMin = phi;
    }
    if (c.hertz[U(j)] > c.pHMax) {
      c.pHMax = c.hertz[U(j)];
      c.phiPHMax = phi;
    }
  }
  if (flat) c.faceWidth = 2 * c.eMax;
  c.rhoMin = kMax > 0 ? 1 / kMax : 0;
  c.rhoMax = kMinPos < kInfD ? 1 / kMinPos : 0;
  c.rhoConcave = kConcave < 0 ? -1 / kConcave : 0;
  c.rhoPitchMin = pitchMin < kInfD ? pitchMin : 0;

  // Findings, each over its range of angles.
  std::vector<char>& hit = w.hit;
  hit.assign(U(m) + 1, 0);
  auto absRho = [&](int j) { return std::fabs(c.rho[U(j)]); };
  if (!flat) {
    const double limit = p.checkData.alphaLimit;
    for (int j = 1; j <= m; ++j) hit[U(j)] = std::fabs(c.alpha[U(j)]) > limit;
    Runs(cy, hit, c.phi, CheckKind::PressureAngle, [&](int j) { return std::fabs(c.alpha[U(j)]); }, false,
         c.findings, w.in);
    if (half > 0) {
      // The pitch curve loops where a concave radius is below the roller's.
      for (int j = 1; j <= m; ++j) hit[U(j)] = kappa[U(j)] < 0 && -1 / kappa[U(j)] < half;
      Runs(cy, hit, c.phi, CheckKind::Undercut, absRho, true, c.findings, w.in);
    }
  } else if (half > 0) {
    hit = BelowHull(P, cy, 1e-7 * scale);
    auto concave = [&](int j) { return kappa[U(j)] < 0 ? -1 / kappa[U(j)] : kInfD; };
    // A corner on the hull is a contact of its own.
    Runs(cy, hit, c.phi, CheckKind::Bridged, concave, true, c.findings, w.in, false);
  }
  for (int j = 1; j <= m; ++j) hit[U(j)] = c.force[U(j)] < 0;
  Runs(cy, hit, c.phi, CheckKind::LiftOff, [&](int j) { return c.force[U(j)]; }, true, c.findings, w.in);
  c.valid = true;
}

std::string FindingText(const CheckFinding& f, const CheckInputs& in, char dec) {
  std::string t;
  auto range = [&] {
    t += " bei phi = ";
    Fixed1(t, f.phiFrom / kDeg, dec);
    t += "\xF8 .. ";
    Fixed1(t, f.phiTo / kDeg, dec);
    t += "\xF8";
  };
  switch (f.kind) {
    case CheckKind::PressureAngle:
      t = "Druckwinkel ";
      Fixed1(t, f.value, dec);
      t += "\xF8 > ";
      Fixed1(t, in.alphaLimit, dec);
      t += "\xF8";
      break;
    case CheckKind::Undercut:
      t = "Unterschnitt: Rolle folgt der Kontur nicht (rho = -";
      Fixed1(t, f.value, dec);
      t += " mm)";
      break;
    case CheckKind::Bridged:
      t = "Konkaver Bereich vom Flachst\x94\xE1" "el \x81" "berbr\x81" "ckt";
      if (std::isfinite(f.value)) {
        t += " (rho = -";
        Fixed1(t, f.value, dec);
        t += " mm)";
      }
      break;
    case CheckKind::LiftOff:
      t = "Abheben: Kontaktkraft ";
      Fixed1(t, f.value, dec);
      t += " N < 0";
      break;
  }
  range();
  return t;
}

}  // namespace kamo
