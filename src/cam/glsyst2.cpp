// Gaussian elimination with diagonal pivoting, and the polynomial and
// closed-spline fits of curve type 8 built on it.
#include "cam/glsyst2.h"

#include <cmath>
#include <utility>

#include "core/geometry.h"

namespace kamo {
namespace {

size_t U(int i) { return static_cast<size_t>(i); }

int Resolution(const CamProject& p) { return p.calc.splineRes > 0 ? p.calc.splineRes : 10; }

}  // namespace

void EquationSystem::clear() {
  for (int k = 0; k <= kMaxUnknowns; ++k) order[U(k)] = k;
  for (auto& row : matrix) row.fill(0);
  rhs.fill(0);
  singular = 0;
}

void SolveSystem(EquationSystem& sys) {
  const int n = sys.size;
  auto& M = sys.matrix;
  auto& b = sys.rhs;
  auto& ord = sys.order;
  sys.singular = 0;
  if (n < 1 || n > kMaxUnknowns) {
    sys.singular = n < 1 ? 1 : kMaxUnknowns + 1;
    return;
  }
  for (int k = 1; k <= n; ++k)
    if (ord[U(k)] < 1 || ord[U(k)] > n) ord[U(k)] = k;  // a stale order would index outside
  for (int i = 1; i <= n; ++i) {
    if (M[U(i)][U(i)] != 0) continue;
    int j = i + 1;
    while (j <= n && M[U(j)][U(i)] == 0) ++j;
    if (j > n) {
      sys.singular = n + 1;
      continue;
    }
    std::swap(M[U(i)], M[U(j)]);
    std::swap(b[U(i)], b[U(j)]);
  }
  for (int q = n; q >= 2; --q) {
    int d = 1;
    for (int w = 2; w <= q; ++w) {
      int r = ord[U(w)];
      if (std::fabs(M[U(r)][U(r)]) > std::fabs(M[U(ord[U(d)])][U(ord[U(d)])])) d = w;
    }
    std::swap(ord[U(d)], ord[U(q)]);
    const int e = ord[U(q)];
    const Real pivot = M[U(e)][U(e)];
    if (pivot * pivot < 1e-12L) sys.singular = e;
    if (pivot == 0) continue;
    for (int w = 1; w <= q - 1; ++w) {
      const int A = ord[U(w)];
      const Real C = M[U(A)][U(e)];
      if (C == 0) continue;
      const Real g = C / pivot;
      b[U(A)] -= g * b[U(e)];
      for (int J = 1; J <= q - 1; ++J) M[U(A)][U(ord[U(J)])] -= g * M[U(e)][U(ord[U(J)])];
    }
  }
  for (int i = 1; i <= n; ++i) {
    const int c = ord[U(i)];
    if (M[U(c)][U(c)] == 0) {
      sys.singular = c;
      continue;
    }
    Real sum = 0;
    for (int g = 1; g <= i - 1; ++g) sum += b[U(ord[U(g)])] * M[U(c)][U(ord[U(g)])];
    b[U(c)] -= sum;
    b[U(c)] /= M[U(c)][U(c)];
  }
}

int SplineBasePoints(const CamProject& project) {
  int n = project.poly.n;
  if (n < 2) return 0;
  if (n > kMaxPoly) n = kMaxPoly;
  return (n - 1) * Resolution(project) + 1;
}

FitResult FitPoints(CamProject& project, MessageList& messages) {
  FitResult res;
  PolyParams& poly = project.poly;
  const int n = poly.n < 0 ? 0 : (poly.n > kMaxPoly ? kMaxPoly : poly.n);
  EquationSystem sys;

  if (project.calc.fitMode != 1) {
    if (n == 0) {
      res.ok = true;
      return res;
    }
    sys.clear();
    sys.size = n;
    for (int i = 1; i <= n; ++i) {
      for (int k = 1; k <= n; ++k) sys.matrix[U(i)][U(k)] = Power(k - 1, poly.points[U(i)].phi);
      sys.rhs[U(i)] = poly.points[U(i)].r;
    }
    SolveSystem(sys);
    // A singular system may leave non-numbers; the curve must stay evaluable.
    for (int k = 1; k <= n; ++k) poly.coef[U(k)] = std::isfinite(sys.rhs[U(k)]) ? sys.rhs[U(k)] : 0;
    res.ok = true;
    res.singular = sys.singular;
    return res;
  }

  project.basePointCount = 0;
  const int needed = SplineBasePoints(project);
  if (n < 2) {
    messages.add("Fatal  : n <= 1 !");
    return res;
  }
  if (needed > kMaxBasePoints) {
    messages.add(kMsgSplineTooLong);
    return res;
  }
  const int m = n - 1;
  std::array<Real, kMaxPoly + 2> X{}, Y{};
  for (int k = 1; k <= n; ++k) {
    X[U(k)] = poly.points[U(k)].r * std::cos(poly.points[U(k)].phi);
    Y[U(k)] = poly.points[U(k)].r * std::sin(poly.points[U(k)].phi);
  }
  struct Coef {
    std::array<Real, kMaxPoly + 2> a{}, b{}, c{}, d{};
  } cx, cy;
  for (int axis = 0; axis < 2; ++axis) {
    const auto& P = axis == 0 ? X : Y;
    Coef& cf = axis == 0 ? cx : cy;
    sys.clear();
    sys.size = m;
    for (int i = 1; i <= m; ++i) sys.matrix[U(i)][U(i)] = 4;
    for (int i = 1; i < m; ++i) sys.matrix[U(i + 1)][U(i)] = sys.matrix[U(i)][U(i + 1)] = 1;
    sys.matrix[U(m)][1] = 1;
    sys.matrix[1][U(m)] = 1;
    for (int i = 2; i <= m; ++i) sys.rhs[U(i)] = 3 * (P[U(i + 1)] - 2 * P[U(i)] + P[U(i - 1)]);
    sys.rhs[1] = 3 * (P[2] + P[U(m)] - P[U(n)] - P[1]);
    SolveSystem(sys);
    for (int i = 1; i <= m; ++i) cf.c[U(i)] = std::isfinite(sys.rhs[U(i)]) ? sys.rhs[U(i)] : 0;
    cf.c[U(m + 1)] = cf.c[1];
    for (int i = 1; i <= m; ++i) {
      cf.a[U(i)] = P[U(i)];
      cf.b[U(i)] = (P[U(i + 1)] - P[U(i)]) - (cf.c[U(i + 1)] + 2 * cf.c[U(i)]) / 3;
      cf.d[U(i)] = (cf.c[U(i + 1)] - cf.c[U(i)]) / 3;
    }
  }
  const int res_ = Resolution(project);
  const Real h = project.calc.splineRes > 0 ? 1.0L / project.calc.splineRes : 0.1L;
  int count = 0;
  auto eval = [](const Coef& cf, int i, Real u) {
    return cf.a[U(i)] + cf.b[U(i)] * u + cf.c[U(i)] * u * u + cf.d[U(i)] * u * u * u;
  };
  for (int i = 1; i <= m; ++i) {
    for (int q = 0; q < res_; ++q) {
      Real u = q * h;
      project.basePoints[U(++count)] = ContourPoint{eval(cx, i, u), eval(cy, i, u), 0};
    }
  }
  project.basePoints[U(++count)] = ContourPoint{X[1], Y[1], 0};
  project.basePointCount = static_cast<std::uint16_t>(count);
  res.ok = true;
  return res;
}

}  // namespace kamo
