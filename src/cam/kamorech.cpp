// r(phi) of the eleven curve types and the calculation built on it: points,
// contour with arcs, follower, kinematics, extremes and section properties.
#include "cam/kamorech.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "cam/checks.h"
#include "cam/formulacode.h"
#include "cam/glsyst2.h"
#include "cam/mathpars.h"
#include "core/numbers.h"
#include "core/strings.h"

namespace kamo {
namespace {

size_t U(int i) { return static_cast<size_t>(i); }

// Hypot, inline for the loops over every contour point.
inline Real Len(Real x, Real y) { return std::sqrt(x * x + y * y); }

// sin and cos with the argument reduced here (Cody-Waite, pi/2 split into a
// double head and an extended tail): the library's exact reduction of
// extended arguments costs more than the rest of a contour point.
void SinCos(Real x, Real& s, Real& c) {
  if (!(std::fabs(x) < 1e4L)) {
    s = std::sin(x);
    c = std::cos(x);
    return;
  }
  constexpr Real kHead = static_cast<Real>(1.5707963267948966);
  constexpr Real kTail = 6.12323399573676603586882014729198302e-17L;
  // The quadrant in double: an extended-to-integer conversion switches the
  // x87 rounding mode, which costs more than the reduction itself. Near a
  // half quadrant either neighbour serves, the reduced argument then lies a
  // hair beyond pi/4.
  const long long k = std::llround(static_cast<double>(x) / 1.5707963267948966);
  const Real r = (x - k * kHead) - k * kTail;
  const Real sr = std::sin(r), cr = std::cos(r);
  switch (k & 3) {
    case 0: s = sr; c = cr; break;
    case 1: s = cr; c = -sr; break;
    case 2: s = -sr; c = -cr; break;
    default: s = -cr; c = sr; break;
  }
}
Real Sin(Real x) {
  Real s, c;
  SinCos(x, s, c);
  return s;
}
Real Cos(Real x) {
  Real s, c;
  SinCos(x, s, c);
  return c;
}

// Where RadiusAt may write and report; all null for the read-only form.
struct RadiusContext {
  CamProject* project = nullptr;
  MessageList* messages = nullptr;
  Flags* flags = nullptr;
  // sin and cos of the angle when the caller has them already.
  const Real* sinCos = nullptr;
  // The formula segments compiled once for the calculation (index 1..10).
  const CompiledFormula* formulas = nullptr;

  void Fatal(const char* text) const {
    if (messages) messages->add(text);
    if (flags) flags->calcError = true;
  }
};

Real FormulaRadius(const CamProject& p, Real phi, const RadiusContext& ctx) {
  int n = std::clamp(p.segmentCount, 0, kMaxSegments);
  for (int i = 1; i <= n; ++i) {
    if (!(phi <= DegToRad(p.segments[U(i)].xMax))) continue;
    if (p.segments[U(i)].formula.empty()) break;
    FormulaResult r;
    if (ctx.formulas) {
      r = ctx.formulas[i].eval(phi);
    } else if (ctx.project) {
      r = EvalFormula(ctx.project->segments[U(i)].formula, phi);
    } else {
      std::string f = p.segments[U(i)].formula;
      r = EvalFormula(f, phi);
    }
    // A syntax error still gives a value (the dialog refuses such texts);
    // a domain error has none.
    if (r.error == kFormulaDomain) ctx.Fatal(kMsgRadius);
    return r.value;
  }
  ctx.Fatal(kMsgNoSegment);
  return 0;
}

// sqrt((t^2 + 1)(ab)^2 / (t^2 a^2 + b^2)) with t = tan(phi), multiplied out
// by cos^2 phi, which also holds at 90 degrees where tan has no value.
Real EllipseFull(Real a, Real b, Real phi, const RadiusContext& ctx) {
  Real sn, cs;
  if (ctx.sinCos) {
    sn = ctx.sinCos[0];
    cs = ctx.sinCos[1];
  } else {
    SinCos(phi, sn, cs);
  }
  Real ab = a * b;
  return std::sqrt(ab * ab / (sn * sn * a * a + cs * cs * b * b));
}

Real LinearSineRadius(const CamProject& p, Real phi, const RadiusContext& ctx) {
  const LinSineParams& ls = p.linSine;
  if (!(ls.phiLin > 0 && ls.phiLin < 360)) return ls.rw0;
  Real d = RadToDeg(phi);
  if (d <= ls.phiLin) return d * (2 * ls.A / ls.phiLin) + (ls.rw0 - ls.A);
  Real psi = d * (360 - 2 * ls.phiTurn) / (360 - ls.phiLin) + ls.psiOffset;
  if (ctx.project) ctx.project->linSine.psi = psi;
  return ls.ampSine * Sin(DegToRad(psi)) + ls.rw0;
}

Real PolarPointsRadius(const CamProject& p, Real angle) {
  int n = std::clamp(p.prCount, 0, kMaxPolar);
  const auto& pts = p.prPoints;
  int below = 0, above = 0;
  for (int i = 1; i <= n; ++i) {
    Real ph = pts[U(i)].phi;
    if (ph <= angle && angle - ph < 7 && (below == 0 || ph > pts[U(below)].phi)) below = i;
    if (ph > angle && ph - angle < 7 && (above == 0 || ph < pts[U(above)].phi)) above = i;
    if (ph == angle) break;
  }
  if (below == 0) below = 1;
  if (above == 0) above = 1;
  const PolarPoint& lo = pts[U(below)];
  const PolarPoint& hi = pts[U(above)];
  if (p.calc.linearize && lo.phi != hi.phi)
    return lo.r + (angle - lo.phi) * (hi.r - lo.r) / (hi.phi - lo.phi);
  return lo.r;
}

Real PolynomialRadius(const CamProject& p, Real phi) {
  int n = std::clamp(p.poly.n, 0, kMaxPoly);
  Real r = 0;
  for (int k = 1; k <= n; ++k) r += p.poly.coef[U(k)] * Power(k - 1, phi);
  return r;
}

Real RadiusImpl(const CamProject& p, Real phi, RadiusContext ctx) {
  Real a = NormaliseAngle(phi);
  if (a != phi) ctx.sinCos = nullptr;
  switch (p.curveType) {
    case ctFormula: return FormulaRadius(p, a, ctx);
    case ctEllipse: {
      Real ea = p.ellipse.a, eb = p.ellipse.b;
      if (!(ea > 0 && eb > 0)) return 0;
      if (p.ellipse.variant == 1 && a >= kPi && a <= kTwoPi) return ea;
      if (p.ellipse.variant == 2 && a >= kPi / 2 && a <= 3 * kPi / 2) return eb;
      return EllipseFull(ea, eb, a, ctx);
    }
    case ctSine: {
      Real np = p.sine.N * a;
      Real k = std::trunc(np / kTwoPi);
      return p.sine.A * Sin(np - 2 * k * kPi) + p.sine.rw0;
    }
    case ctLinearSine: return LinearSineRadius(p, a, ctx);
    case ctPoints: return RadiusFromContour(p, a);
    case ctPolygon: {
      int z = p.polygon.z;
      if (z < 3) return 0;
      Real step = kTwoPi / z;
      Real u = step * Frac(a / step);
      return (p.polygon.di / 2) / Cos(u - step / 2);
    }
    case ctPolynomial: return PolynomialRadius(p, a);
    case ctFitPoints:
      if (p.calc.fitMode == 1) return RadiusFromContour(p, a);
      return PolynomialRadius(p, a);
    case ctEccentric: {
      Real d = p.eccentric.d, e = p.eccentric.e;
      Real c = e * Cos(kPi - a);
      Real q = (d / 2) * (d / 2) + c * c - e * e;
      if (q < 0) return 0;
      return std::sqrt(q) + c;
    }
    case ctPolarPoints: return PolarPointsRadius(p, a);
    case ctSinSquare: {
      const SinSqParams& s = p.sinSq;
      if (a < DegToRad(s.w)) {
        Real v = Sin(a * 180 / s.w);
        return s.db / 2 + s.sh * v * v;
      }
      return s.db / 2;
    }
    default: return 100;
  }
}

// The segment P-Q (contour[k-1], contour[k]) that contains the angle, or 0.
int FindContourSegment(const CamProject& p, Real angle) {
  int n = std::min<int>(p.contourCount, kMaxContour);
  const auto& c = p.contour;
  auto w = [](Real v) { return v > 4.8L ? v - kTwoPi : v; };
  auto w2 = [](Real v) { return v < 1.5L ? v + kTwoPi : v; };
  for (int k = 2; k <= n; ++k) {
    Real pp = c[U(k - 1)].phi, pq = c[U(k)].phi;
    // A segment seen from the centre spans less than half a turn; a longer
    // "span" is a zero-length segment whose rounded end points lie on either
    // side of the zero direction, and it must not swallow every angle.
    if (pp <= angle && angle < pq && pq - pp < kPi) return k;
    if (angle < pq && pq < kPi && angle >= w(pp)) return k;
    if (angle < w2(pq) && pp > 4.7L && angle >= pp) return k;
  }
  return 0;
}

Real RayDistance(const ContourPoint& P, const ContourPoint& Q, Real angle) {
  Real ux, uy;
  SinCos(angle, uy, ux);
  Real dx = Q.x - P.x, dy = Q.y - P.y;
  Real den = ux * dy - uy * dx;
  if (den == 0) return Hypot(P.x, P.y);
  Real t = (P.x * dy - P.y * dx) / den;
  return t < 0 ? -t : t;
}

}  // namespace

Real NormaliseAngle(Real phi) {
  if (!std::isfinite(phi)) return 0;
  if (phi < 0 || phi >= kTwoPi) {
    Real a = kTwoPi * Frac(phi / kTwoPi);
    if (a < 0) a += kTwoPi;
    return a;
  }
  return phi;
}

Real RadiusAt(const CamProject& project, Real phi) {
  Real r = RadiusImpl(project, phi, RadiusContext{});
  return std::isfinite(r) ? r : 0;
}

Real RadiusAt(CamProject& project, Real phi, MessageList& messages, Flags& flags) {
  Real r = RadiusImpl(project, phi, RadiusContext{&project, &messages, &flags});
  if (!std::isfinite(r)) {
    messages.add(kMsgRadius);
    flags.calcError = true;
    return 0;
  }
  return r;
}

bool PrepareLinearSine(CamProject& project, MessageList& messages, Flags& flags) {
  LinSineParams& ls = project.linSine;
  Real target = DegToRad(ls.phiLin);
  Real lo = 0, hi = 3.1L, t = 0;
  bool found = false;
  for (int i = 0; i < 800; ++i) {
    Real m = (lo + hi) / 2;
    Real f = m / std::cos(m) - target;
    if (std::fabs(f) < 1e-7L) {
      t = m;
      found = true;
      break;
    }
    if (f >= 0) hi = m;
    else lo = m;
  }
  if (!found) {
    // phiTurn = 0 would divide by sin(0): nothing may be built on it.
    messages.add(kMsgPhiIter);
    flags.calcError = true;
    ls.phiTurn = 0;
    return false;
  }
  ls.phiTurn = RadToDeg(t);
  ls.ampSine = ls.A / std::sin(DegToRad(ls.phiTurn));
  ls.psiOffset = ls.phiTurn - (360 - 2 * ls.phiTurn) * ls.phiLin / (360 - ls.phiLin);
  return true;
}

Real RadiusFromContour(const CamProject& project, Real phi) {
  int n = std::min<int>(project.contourCount, kMaxContour);
  if (n < 1) return 0;
  Real angle = NormaliseAngle(phi);
  int k = FindContourSegment(project, angle);
  if (k == 0) k = n;
  return RayDistance(project.contour[U(k - 1)], project.contour[U(k)], angle);
}

ArcCentre GetArcCenter(XY p, XY q, Real g) {
  ArcCentre a;
  // A whole number of turns: sin(G/2) is zero but for the rounding of pi.
  if (std::fabs(std::sin(g / 2)) < 1e-15L) return a;
  Real dx = q.x - p.x, dy = q.y - p.y;
  Real chord = Hypot(dx, dy);
  XY m{(p.x + q.x) / 2, (p.y + q.y) / 2};
  Real h = std::sin(g) != 0 ? chord / 2 / std::tan(g / 2) : 0;
  a.r = std::fabs(chord / 2 / std::sin(g / 2));
  a.c = chord != 0 ? XY{m.x + h / chord * -dy, m.y + h / chord * dx} : m;
  a.start = AngleOf(p.y - a.c.y, p.x - a.c.x);
  if (a.start < 0) a.start += kTwoPi;
  a.end = AngleOf(q.y - a.c.y, q.x - a.c.x);
  if (a.end < 0) a.end += kTwoPi;
  a.ok = true;
  return a;
}

// Compiles the formula segments in use and stores their normalised texts, as
// their first evaluation used to do.
bool CompileSegments(CamProject& project, std::array<CompiledFormula, kMaxSegments + 1>& formulas,
                     MessageList& messages, Flags& flags) {
  int n = std::clamp(project.segmentCount, 0, kMaxSegments);
  for (int i = 1; i <= n; ++i) {
    std::string& text = project.segments[U(i)].formula;
    if (text.empty()) break;  // the segments end here
    formulas[U(i)] = CompiledFormula(text);
    const CompiledFormula& f = formulas[U(i)];
    int e = f.syntaxError();
    if (e == kFormulaEmpty) continue;
    if (e == kFormulaParens) {
      messages.add(kMsgFormulaParens + IntToText(i) + " !");
      flags.calcError = true;
      return false;
    }
    text = f.text();
    if (e > 0) {
      messages.add(kMsgFormulaSyntax + IntToText(i) + " (Pos. " + IntToText(e) + ") !");
      flags.calcError = true;
      return false;
    }
  }
  return true;
}

bool GeneratePoints(CamProject& project, MessageList& messages, Flags& flags) {
  project.clearResults();
  int steps = project.calc.steps;
  if (steps > kMaxBasePoints - 1) {
    messages.add(kMsgTooManySteps);
    project.basePointCount = kMaxBasePoints;
    flags.calcError = true;
    return false;
  }
  if (steps < 1) {
    project.basePointCount = 1;  // reported as a single point
    return true;
  }
  // Each formula is parsed once for the whole calculation; a formula that
  // does not parse stops it, with the segment and the position.
  std::array<CompiledFormula, kMaxSegments + 1> formulas;
  const bool formula = project.curveType == ctFormula;
  if (formula && !CompileSegments(project, formulas, messages, flags)) return false;
  project.basePointCount = static_cast<std::uint16_t>(steps + 1);
  Real step = kTwoPi / steps;
  for (int i = 0; i <= project.basePointCount; ++i) {
    Real phi = (i - 1) * step;
    Real sc[2];
    SinCos(phi, sc[0], sc[1]);
    Real r = RadiusImpl(project, phi,
                        RadiusContext{&project, &messages, &flags, sc, formula ? formulas.data() : nullptr});
    if (!std::isfinite(r)) {
      messages.add(kMsgRadius);
      flags.calcError = true;
      r = 0;
    }
    project.basePoints[U(i)] = ContourPoint{r * sc[1], r * sc[0], 0};
  }
  return !flags.calcError;
}

FollowerFrame FollowerStart(const CamProject& project, int k) {
  const ContourPoint& p = project.contour[U(k)];
  FollowerFrame f;
  f.s = Len(p.x, p.y);
  // cos and sin of the polar angle; a point at the centre looks along +y, as
  // AngleOf(0, 0) does.
  if (f.s > 0) {
    f.ca = p.x / f.s;
    f.sa = p.y / f.s;
  } else {
    f.ca = 0;
    f.sa = 1;
  }
  f.flat = project.ram.type == 1;
  f.half = project.ram.d / 2;
  return f;
}

void FollowerRoundUpdate(FollowerFrame& f, Real X, Real Y) {
  Real c = X + std::sqrt(f.half * f.half - Y * Y);
  if (f.s + f.half < c) f.s = c - f.half;
}

Real FollowerPosition(const CamProject& project, int k) {
  int n = std::min<int>(project.contourCount, kMaxContour);
  if (k < 0 || k > kMaxContour) return 0;
  FollowerFrame f = FollowerStart(project, k);
  if (!(f.half > 0)) return f.s;
  for (int j = 1; j <= n - 1; ++j) {
    Real X, Y;
    if (FollowerInFace(f, project.contour[U(j)].x, project.contour[U(j)].y, X, Y)) FollowerUpdate(f, X, Y);
  }
  return f.s;
}

// Only points that stand out beyond point k and lie within the face can move
// the follower; their polar angles lie within atan(d/2 / r_k) of its axis.
// The points are kept sorted by angle in bins with the largest radius of
// each bin, and a query looks only at the bins of that window whose radius
// reaches r_k. A double-precision pass over those points finds the highest
// contact; the few points whose contact comes within a clear gap of it get
// the exact test of the full scan, in contour order. The full scan's
// position sequence differs from the exact maximum only by rounding (a few
// ulps per update, at most 3600 updates), and the margins below are many
// orders of magnitude wider than that drift and than the double rounding, so
// the result is bit-identical to the full scan.
void FollowerPositions(const CamProject& project, std::vector<Real>& s) {
  const int n = std::min<int>(project.contourCount, kMaxContour);
  s.assign(U(n) + 1, 0);
  if (n < 1) return;
  const auto& c = project.contour;
  const int m = n - 1;  // points 1..n-1 take part
  const Real half = project.ram.d / 2;
  if (!(half > 0) || m < 1) {
    for (int k = 1; k <= n; ++k) s[U(k)] = Hypot(c[U(k)].x, c[U(k)].y);
    return;
  }
  // A contour the calculation did not check (out of range, not a number)
  // gets the full scan, which needs no angles.
  bool checked = std::fabs(half) <= kMaxCoordinate;
  for (int j = 1; j <= n && checked; ++j)
    checked = std::fabs(c[U(j)].x) <= kMaxCoordinate && std::fabs(c[U(j)].y) <= kMaxCoordinate;
  if (!checked) {
    for (int k = 1; k <= n; ++k) s[U(k)] = FollowerPosition(project, k);
    return;
  }
  const bool flat = project.ram.type == 1;
  const double halfD = static_cast<double>(half);
  const double twoPi = static_cast<double>(kTwoPi);
  const int bins = std::clamp(m / 6, 1, 4096);
  const double binWidth = twoPi / bins;
  auto binOf = [&](double t) { return std::clamp(static_cast<int>(t / binWidth), 0, bins - 1); };

  std::vector<int> binStart(U(bins) + 1, 0);
  std::vector<int> binOfPoint(U(m) + 1);
  std::vector<double> theta(U(m) + 1);
  double rMax = 0;
  for (int j = 1; j <= m; ++j) {
    double x = static_cast<double>(c[U(j)].x), y = static_cast<double>(c[U(j)].y);
    double t = std::atan2(y, x);
    if (t < 0) t += twoPi;
    theta[U(j)] = t;
    binOfPoint[U(j)] = binOf(t);
    ++binStart[U(binOfPoint[U(j)]) + 1];
    rMax = std::max(rMax, std::sqrt(x * x + y * y));
  }
  for (int b = 0; b < bins; ++b) binStart[U(b) + 1] += binStart[U(b)];
  // Sorted by angle, one array per coordinate.
  std::vector<double> px(U(m)), py(U(m)), pr(U(m));
  std::vector<int> pj(U(m)), posOf(U(m) + 1);
  std::vector<double> binMax(U(bins), -1);
  {
    std::vector<int> fill(binStart.begin(), binStart.end() - 1);
    for (int j = 1; j <= m; ++j) {
      const int b = binOfPoint[U(j)];
      const size_t q = U(fill[U(b)]++);
      px[q] = static_cast<double>(c[U(j)].x);
      py[q] = static_cast<double>(c[U(j)].y);
      pr[q] = std::sqrt(px[q] * px[q] + py[q] * py[q]);
      pj[q] = j;
      posOf[U(j)] = static_cast<int>(q);
      binMax[U(b)] = std::max(binMax[U(b)], pr[q]);
    }
  }

  const double scale = rMax + halfD + 1;
  const double margin = 1e-9 * scale;  // drift of the position sequence, double rounding
  const double gap = 1e-5 * scale;     // rounding of the double contact heights
  const double reach = 64 * gap;       // how far below the highest contact points are kept
  const double halfIn = halfD - margin, halfOut = halfD + margin;
  struct Near {
    int j;
    double h;
  };
  std::vector<Near> nearTop;
  std::vector<int> chosen;

  for (int k = 1; k <= n; ++k) {
    FollowerFrame f = FollowerStart(project, k);
    const double floorR = static_cast<double>(f.s) - margin;
    if (!(floorR > 0) || !(halfD / floorR < 1e6)) {
      s[U(k)] = FollowerPosition(project, k);
      chosen.clear();
      continue;
    }
    const double ca = static_cast<double>(f.ca), sa = static_cast<double>(f.sa);
    // The closing point repeats point 1.
    double a = k <= m ? theta[U(k)] : std::atan2(sa, ca);
    if (a < 0) a += twoPi;
    // atan(x) <= x: a slightly wider window costs nothing, the bins prune it.
    const double alpha = std::min(halfD / floorR, 1.6) + 1e-9;
    const int b0 = static_cast<int>(std::floor((a - alpha) / binWidth));
    int b1 = static_cast<int>(std::floor((a + alpha) / binWidth));
    if (b1 - b0 >= bins) b1 = b0 + bins - 1;
    const int bFirst = b0 < 0 ? b0 + bins : (b0 >= bins ? b0 - bins : b0);

    // The contact height of sorted point q, or -1e300 when it cannot touch.
    auto height = [&](size_t q, bool& inside) {
      inside = false;
      if (pr[q] <= floorR) return -1e300;
      const double X = px[q] * ca + py[q] * sa;
      if (X <= floorR) return -1e300;
      const double Y = py[q] * ca - px[q] * sa;
      const double ay = std::fabs(Y);
      if (ay >= halfOut) return -1e300;
      inside = ay < halfIn;
      return flat ? X : X + std::sqrt(std::max(0.0, halfD * halfD - Y * Y));
    };
    // No point of bin bb (unwrapped index) stands higher than this.
    auto binBound = [&](int bb, int b) {
      double d = std::max({0.0, bb * binWidth - a, a - (bb + 1) * binWidth}) - 1e-9;
      if (d < 0) d = 0;
      const double d2 = d * d;
      const double cosUpper = 1 - d2 / 2 + d2 * d2 / 24;
      return binMax[U(b)] * cosUpper + (flat ? 0.0 : halfD) + margin;
    };
    // One pass finds the highest contact of a point certainly within the
    // face and keeps every point that came within reach of the best so far
    // (so also of the final best), starting from the contacts of the
    // previous point, which lie close by.
    double best = -1e300;
    for (int j : chosen) {
      bool inside;
      const double h = height(U(posOf[U(j)]), inside);
      if (inside && h > best) best = h;
    }
    nearTop.clear();
    bool any = false;
    for (int bb = b0, b = bFirst; bb <= b1; ++bb, b = b + 1 == bins ? 0 : b + 1) {
      if (binMax[U(b)] <= floorR || binBound(bb, b) < best - reach) continue;
      for (int q = binStart[U(b)]; q < binStart[U(b) + 1]; ++q) {
        bool inside;
        const double h = height(U(q), inside);
        if (h == -1e300) continue;
        any = true;
        if (inside && h > best) best = h;
        if (h >= best - reach) nearTop.push_back(Near{pj[U(q)], h});
      }
    }
    if (!any) {
      chosen.clear();
      s[U(k)] = f.s;
      continue;
    }
    const double keep = best == -1e300 ? -1e300 : best - reach;
    // Lower the threshold until no height lies just below it. Should that
    // reach the edge of the kept range (contacts crowding below the top),
    // the full scan decides.
    double threshold = best == -1e300 ? -1e300 : best - gap;
    bool crowded = false;
    for (bool moved = true; moved && threshold > -1e300;) {
      moved = false;
      for (const Near& nt : nearTop) {
        if (nt.h < threshold && nt.h >= threshold - gap && nt.h >= keep) {
          threshold = nt.h;
          moved = true;
        }
      }
      if (keep > -1e300 && threshold - gap <= keep) {
        crowded = true;
        break;
      }
    }
    if (crowded) {
      s[U(k)] = FollowerPosition(project, k);
      chosen.clear();
      continue;
    }
    chosen.clear();
    for (const Near& nt : nearTop)
      if (nt.h >= threshold && nt.h >= keep) chosen.push_back(nt.j);
    std::sort(chosen.begin(), chosen.end());
    for (int j : chosen) {
      Real X, Y;
      if (FollowerInFace(f, c[U(j)].x, c[U(j)].y, X, Y)) FollowerUpdate(f, X, Y);
    }
    s[U(k)] = f.s;
  }
}

Real FollowerAtAngle(const CamProject& project, Real phi) {
  int n = std::min<int>(project.contourCount, kMaxContour);
  if (n < 1) return 0;
  Real angle = NormaliseAngle(phi);
  int k = FindContourSegment(project, angle);
  if (k == 0) return RayDistance(project.contour[U(n - 1)], project.contour[U(n)], angle);
  return FollowerPosition(project, k);
}

void SectionProperties(CamProject& project, MessageList& messages, Flags& flags) {
  SectionProps& sp = project.section;
  sp = SectionProps{};
  int n = std::min<int>(project.contourCount, kMaxContour);
  const auto& c = project.contour;
  Real A = 0, U_ = 0, Sx = 0, Sy = 0, Ix0 = 0, Iy0 = 0, Ixy0 = 0;
  for (int j = 1; j <= n - 1; ++j) {
    const ContourPoint& P = c[U(j)];
    const ContourPoint& Q = c[U(j + 1)];
    Real dx = Q.x - P.x, dy = Q.y - P.y;
    Real xm = (P.x + Q.x) / 2, ym = (P.y + Q.y) / 2;
    Real sxTerm = -(2.0L / 3) * ym * ym * dx + (1.0L / 6) * P.y * Q.y * dx;
    Real syTerm = (2.0L / 3) * xm * xm * dy - (1.0L / 6) * P.x * Q.x * dy;
    A += -ym * dx;
    U_ += Len(dx, dy);
    Sx += sxTerm;
    Sy += syTerm;
    Ix0 += ym * (sxTerm + (1.0L / 6) * P.y * Q.y * dx);
    Iy0 += xm * (syTerm - (1.0L / 6) * P.x * Q.x * dy);
    Ixy0 += P.x * sxTerm - dx * dx * (ym * ym + Q.y * Q.y / 2) / 6;
  }
  sp.A = A;
  sp.U = U_;
  sp.IP0 = Ix0 + Iy0;
  if (SameValue(A, 0)) {
    messages.add(kMsgAreaZero);
    flags.calcError = true;
  } else {
    sp.xs = Sy / A;
    sp.ys = Sx / A;
    sp.IxS = Ix0 - sp.ys * sp.ys * A;
    sp.IyS = Iy0 - sp.xs * sp.xs * A;
    sp.IxyS = Ixy0 - sp.xs * sp.ys * A;
    sp.IpS = sp.IxS + sp.IyS;
    if (std::fabs(sp.IyS - sp.IxS) < 1e-4L && std::fabs(sp.IxyS) < 1e-4L) sp.phi = 0;
    else if (sp.IyS != sp.IxS) sp.phi = std::atan(2 * sp.IxyS / (sp.IyS - sp.IxS)) / 2;
    else sp.phi = SignOne(sp.IxyS) * kPi / 4;
    Real h = (sp.IxS + sp.IyS) / 2;
    Real d = sp.IxS - sp.IyS;
    Real w = std::sqrt(d * d + 4 * sp.IxyS * sp.IxyS) / 2;
    sp.I1 = h + w;
    sp.I2 = h - w;
    if (sp.I1 < 0 && sp.I2 < 0) {
      Real t = sp.I1;
      sp.I1 = -sp.I2;
      sp.I2 = -t;
    }
  }
  Real bore = project.body.bore;
  sp.netArea = A - bore * bore * kPi / 4;
  if (!(sp.netArea > 0)) messages.add(kMsgNetArea);
}

namespace {

// Inputs that would divide by zero or take the root of a negative number.
bool CheckParameters(const CamProject& p, MessageList& messages, Flags& flags) {
  const char* fail = nullptr;
  switch (p.curveType) {
    case ctPolygon:
      if (p.polygon.z < 3) fail = kMsgPolygonCorners;
      break;
    case ctEllipse:
      if (!(p.ellipse.a > 0 && p.ellipse.b > 0)) fail = kMsgEllipseAxes;
      break;
    case ctEccentric:
      if (!(std::fabs(p.eccentric.e) <= p.eccentric.d / 2)) fail = kMsgEccentricity;
      break;
    case ctLinearSine:
      if (!(p.linSine.phiLin > 0 && p.linSine.phiLin < 360)) fail = kMsgLinSineAngle;
      break;
    default: break;
  }
  if (!fail && !(p.speed > 0 && p.speed <= kMaxSpeed)) fail = kMsgSpeed;
  if (!fail) return true;
  messages.add(fail);
  flags.calcError = true;
  return false;
}

bool ContourInRange(const CamProject& p, int from, int to) {
  for (int j = from; j <= to; ++j) {
    const ContourPoint& q = p.contour[U(j)];
    if (!(std::fabs(q.x) <= kMaxCoordinate && std::fabs(q.y) <= kMaxCoordinate)) return false;
  }
  return true;
}

bool BasePointsInRange(const CamProject& p) {
  for (int j = 0; j <= p.basePointCount; ++j) {
    const ContourPoint& q = p.basePoints[U(j)];
    if (!(std::fabs(q.x) <= kMaxCoordinate && std::fabs(q.y) <= kMaxCoordinate && std::isfinite(q.phi)))
      return false;
  }
  return true;
}

Real PolarPhi(const ContourPoint& q) {
  Real a = AngleOf(q.y, q.x);
  return a < 0 ? a + kTwoPi : a;
}

// Steps 5 and 6: the closed contour from the base points; false on a fatal error.
bool BuildContour(CamProject& p, const Settings& settings, MessageList& messages, Flags& flags) {
  auto& bp = p.basePoints;
  auto& c = p.contour;
  c[0] = ContourPoint{bp[0].x, bp[0].y, 0};
  int i = 0;
  auto append = [&](Real x, Real y) {
    if (i + 1 >= kMaxContour) {
      messages.add(kMsgContourFull);
      flags.calcError = true;
      return false;
    }
    c[U(++i)] = ContourPoint{x, y, 0};
    return true;
  };
  const Real arcStep = DegToRad(p.calc.arcStep);
  for (int j = 1; j <= p.basePointCount; ++j) {
    const ContourPoint& P = bp[U(j - 1)];
    const ContourPoint& Q = bp[U(j)];
    if (j > 1 && P.phi != 0) {
      Real G = P.phi;
      ArcCentre arc = GetArcCenter({P.x, P.y}, {Q.x, Q.y}, G);
      if (!arc.ok && !settings.noArcCentreWarnings)
        messages.add(std::string(kMsgArcCentre) + FormatGeneral(settings.numbers, G) + " ! ");
      Real q = arcStep > 0 ? std::fabs(G) / arcStep : kMaxContour;
      // More divisions than the contour holds overflow it anyway.
      int f = q < kMaxContour ? static_cast<int>(std::llround(q)) : kMaxContour;
      f = std::max(f, 2);
      for (int H = 0; H <= f; ++H) {
        Real h = arc.start + G * H / f;
        Real sn, cs;
        SinCos(h, sn, cs);
        if (!append(arc.c.x + arc.r * cs, arc.c.y + arc.r * sn)) return false;
      }
    } else if (!append(Q.x, Q.y)) {
      return false;
    }
  }
  if (p.basePointCount == 0) return false;
  if (SameValue(c[1].x, c[U(i)].x) && SameValue(c[1].y, c[U(i)].y)) {
    p.contourCount = static_cast<std::uint16_t>(i);
  } else {
    p.contourCount = static_cast<std::uint16_t>(i + 1);
    c[U(i + 1)] = ContourPoint{bp[1].x, bp[1].y, 0};
  }
  int n = p.contourCount;
  const ContourPoint& last = (c[U(n)].x != c[1].x || c[U(n)].y != c[1].y) ? c[U(n)] : c[U(n - 1)];
  c[0] = ContourPoint{last.x, last.y, 0};
  for (int j = 0; j <= n; ++j) c[U(j)].phi = PolarPhi(c[U(j)]);
  return true;
}

Real TwiceSignedArea(const CamProject& p) {
  Real sum = 0;
  for (int j = 2; j <= p.contourCount; ++j) {
    const ContourPoint& a = p.contour[U(j - 1)];
    const ContourPoint& b = p.contour[U(j)];
    sum += (a.x + b.x) / 2 * (b.y - a.y);
  }
  return sum;
}

// Step 7 for coordinate points: the contour resampled at equal angles.
void ResampleContour(CamProject& p) {
  int steps = p.calc.steps;
  std::vector<ContourPoint> fresh(U(steps) + 1);
  for (int l = 1; l <= steps - 1; ++l) {
    Real m = kTwoPi * (l - 1) / (steps - 1);
    Real r = RadiusFromContour(p, m);
    Real sn, cs;
    SinCos(m, sn, cs);
    fresh[U(l)] = ContourPoint{r * cs, r * sn, m};
  }
  fresh[U(steps)] = fresh[1];
  fresh[U(steps)].phi = kTwoPi;
  for (int l = 1; l <= steps; ++l) p.contour[U(l)] = fresh[U(l)];
  p.contourCount = static_cast<std::uint16_t>(steps);
  p.contour[0] = fresh[U(steps - 1)];
}

// Widens an extreme pair by value, keeping the angle where each extreme occurs.
void Track(Real value, Real phi, Real& lo, Real& phiLo, Real& hi, Real& phiHi) {
  if (value > hi) {
    hi = value;
    phiHi = phi;
  }
  if (value < lo) {
    lo = value;
    phiLo = phi;
  }
}

void Kinematics(CamProject& p, FollowerPass pass, std::vector<Real>& s) {
  CamResults& r = p.results;
  r.xMin = r.yMin = 1e32;
  r.xMax = r.yMax = -1e32;
  r.rMax = 0;
  r.rMin = 1e32L;
  r.sMax = 0;
  r.sMin = 1e32L;
  r.vMax = -1e32L;
  r.vMin = 1e32L;
  r.aMax = -1e32L;
  r.aMin = 1e32L;
  const int n = p.contourCount;
  pass(p, s);
  Real dt = 60 / p.speed / n;
  Real sPrev = 0, vPrev = 0;
  for (int j = 1; j <= n; ++j) {
    const ContourPoint& P = p.contour[U(j)];
    double x = static_cast<double>(P.x), y = static_cast<double>(P.y);
    if (x > r.xMax) {
      r.xMax = x;
      r.ixMax = static_cast<std::int16_t>(j);
    }
    if (x < r.xMin) {
      r.xMin = x;
      r.ixMin = static_cast<std::int16_t>(j);
    }
    if (y > r.yMax) r.yMax = y;
    if (y < r.yMin) r.yMin = y;
    Track(Len(P.x, P.y), P.phi, r.rMin, r.phiRMin, r.rMax, r.phiRMax);
    Real sj = s[U(j)];
    Track(sj, P.phi, r.sMin, r.phiSMin, r.sMax, r.phiSMax);
    Real v = vPrev;
    if (j >= 2) {
      if (p.curveType == ctPoints) dt = 60 / p.speed * (P.phi - p.contour[U(j - 1)].phi) / kTwoPi;
      if (sj == sPrev) v = 0;
      else if (dt == 0) v = vPrev;
      else v = (sj - sPrev) / dt / 1000;
    }
    Track(v, P.phi, r.vMin, r.phiVMin, r.vMax, r.phiVMax);
    if (j >= 3 && dt != 0) Track((v - vPrev) / dt, P.phi, r.aMin, r.phiAMin, r.aMax, r.phiAMax);
    sPrev = sj;
    vPrev = v;
  }
}

}  // namespace

void Calculate(CamProject& project, MessageList& messages, Flags& flags, const Settings& settings) {
  Calculate(project, messages, flags, settings, &FollowerPositions);
}

void Calculate(CamProject& project, MessageList& messages, Flags& flags, const Settings& settings,
               FollowerPass pass) {
  CamProject& p = project;
  messages.clear(flags);
  // Nothing of an earlier calculation may survive a stop.
  p.clearResults();
  p.clearSectionProps();
  p.contourCount = 0;
  if (p.basePointCount > kMaxBasePoints) p.basePointCount = kMaxBasePoints;

  const bool points = p.curveType == ctPoints;
  const bool spline = p.curveType == ctFitPoints && p.calc.fitMode == 1;
  if (spline && SplineBasePoints(p) > kMaxBasePoints) {
    messages.add(kMsgSplineTooLong);
    flags.calcError = true;
    return;
  }
  if ((points || spline) && p.basePointCount == 0) {
    messages.add(kMsgNoPoints);
    flags.calcError = true;
    return;
  }
  if (!CheckParameters(p, messages, flags)) return;
  if (p.curveType == ctLinearSine && !PrepareLinearSine(p, messages, flags)) return;
  if (!points && !spline && !GeneratePoints(p, messages, flags)) return;
  if (p.basePointCount == 1 || (points && p.calc.steps < 2)) {
    messages.add(kMsgOnePoint);
    flags.calcError = true;
    return;
  }
  if (!BasePointsInRange(p)) {
    messages.add(kMsgRange);
    flags.calcError = true;
    return;
  }
  if (!BuildContour(p, settings, messages, flags)) {
    p.contourCount = 0;
    return;
  }
  if (!ContourInRange(p, 0, p.contourCount)) {
    messages.add(kMsgRange);
    flags.calcError = true;
    p.contourCount = 0;
    return;
  }

  std::vector<ContourPoint> shape;
  int shapeCount = 0;
  if (points) {
    // The direction is judged on the contour as entered: the resampled one
    // runs counter-clockwise by construction.
    Real sum = TwiceSignedArea(p);
    if (sum == 0) {
      messages.add(kMsgDirectionZero);
      flags.calcError = true;
      return;
    }
    if (sum < 0) {
      messages.add(kMsgDirectionCw);
      return;
    }
    if (p.calc.steps > kMaxContour - 1) {
      messages.add(kMsgContourFull);
      flags.calcError = true;
      p.contourCount = 0;
      return;
    }
    // The checks take the curvature from the arcs as built.
    shape.assign(p.contour.begin(), p.contour.begin() + p.contourCount + 1);
    shapeCount = p.contourCount;
    ResampleContour(p);
    if (!ContourInRange(p, 0, p.contourCount)) {
      messages.add(kMsgRange);
      flags.calcError = true;
      p.contourCount = 0;
      return;
    }
  }

  std::vector<Real> s;
  Kinematics(p, pass, s);
  const Real half = p.ram.d / 2;  // the follower the positions were found with
  SectionProperties(p, messages, flags);

  CamResults& r = p.results;
  if (r.xMin == r.xMax) r.xMax = r.xMin + 1;
  if (r.yMin == r.yMax) r.yMax = r.yMin + 1;
  r.xSize = r.xMax - r.xMin;
  r.ySize = r.yMax - r.yMin;
  r.stroke = r.sMax - r.sMin;

  if (p.ram.l == 0) p.ram.l = 0.3L * r.xSize;
  if (p.ram.d == 0) p.ram.d = 0.05L * r.ySize;
  if (p.ram.m == 0) p.ram.m = p.ram.d * p.ram.d * kPi / 4 * p.ram.l * 7.8L * 1e-6L;
  if (r.stroke > p.ram.l) messages.add(kMsgStroke);
  RunChecks(p, s, half, shapeCount > 0 ? &shape : nullptr, shapeCount);
  r.followerPositions = std::move(s);
  r.followerHalf = half;
  r.followerType = p.ram.type;
}

const std::vector<Real>& FollowerPositionsOf(const CamProject& project, std::vector<Real>& scratch) {
  const CamResults& r = project.results;
  const int n = std::min<int>(project.contourCount, kMaxContour);
  if (n >= 1 && r.followerPositions.size() == U(n) + 1 && r.followerHalf == project.ram.d / 2 &&
      r.followerType == project.ram.type)
    return r.followerPositions;
  FollowerPositions(project, scratch);
  return scratch;
}

}  // namespace kamo
