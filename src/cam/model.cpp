// Reset rules and list operations of the cam project.
#include "cam/model.h"

#include <algorithm>
#include <cmath>

#include "core/geometry.h"

namespace kamo {

CamProject::CamProject() { resetProject(); }

void CamProject::clearGeometry() {
  basePointCount = 0;
  segmentCount = 0;
  basePoints.assign(kMaxBasePoints + 1, ContourPoint{kNotEntered, kNotEntered, 0});
  basePoints[0] = ContourPoint{};
}

void CamProject::clearResults() {
  results = CamResults{};
  results.rMin = 1e38L;
  results.sMin = 1e38L;
  results.rMax = -1e38L;
  results.sMax = -1e38L;
  checks.reset();
}

void CamProject::clearSectionProps() { section = SectionProps{}; }

void CamProject::resetDocumentation() {
  changes.fill(ChangeRecord{});
  changeCount = 0;
  info = DrawingInfo{};
}

void CamProject::resetProject() {
  clearGeometry();
  clearResults();
  clearSectionProps();
  segments.fill(teilkurveRec{360, {}});
  segments[0] = teilkurveRec{0, {}};
  poly = PolyParams{};
  prCount = 0;
  prPoints.assign(kMaxPolar + 1, PolarPoint{});
  contour.assign(kMaxContour + 1, ContourPoint{});
  contourCount = 0;
  curveType = ctPoints;
  ellipse = EllipseParams{};
  sine = SineParams{};
  linSine = LinSineParams{};
  polygon = PolygonParams{};
  sinSq = SinSqParams{};
  eccentric = EccentricParams{};
  calc = CalcSettings{};
  speed = 1000;
  ram = Follower{};
  body = CamBody{};
  checkData = CheckInputs{};
  drawing = DrawingTexts{};
  resetDocumentation();
  const char* programs[kDocumentLinks] = {"notepad.exe", "write.exe", "mspaint.exe", "notepad.exe",
                                          "notepad.exe"};
  for (int i = 1; i <= kDocumentLinks; ++i) links[static_cast<size_t>(i)] = {programs[i - 1], {}};
}

void CamProject::SortPolarPoints() {
  int n = std::clamp(prCount, 0, kMaxPolar);
  std::stable_sort(prPoints.begin() + 1, prPoints.begin() + 1 + n,
                   [](const PolarPoint& a, const PolarPoint& b) { return a.phi < b.phi; });
}

void CamProject::ScalePolarRadii(Real f) {
  int n = std::clamp(prCount, 0, kMaxPolar);
  for (int i = 1; i <= n; ++i) prPoints[static_cast<size_t>(i)].r *= f;
}

void CamProject::RotatePolarPoints(Real deg) {
  int n = std::clamp(prCount, 0, kMaxPolar);
  Real add = DegToRad(deg);
  for (int i = 1; i <= n; ++i) {
    Real& phi = prPoints[static_cast<size_t>(i)].phi;
    phi += add;
    if (phi < 0) phi += 2 * kPi;
    if (phi > 2 * kPi) phi -= 2 * kPi;
  }
  SortPolarPoints();
}

void CamProject::MirrorBasePointsX() {
  int n = std::clamp<int>(basePointCount, 0, kMaxBasePoints);
  for (int i = 1; i <= n; ++i) {
    auto& p = basePoints[static_cast<size_t>(i)];
    p.x = -p.x;
    p.phi = -p.phi;
  }
}

void CamProject::MirrorBasePointsY() {
  int n = std::clamp<int>(basePointCount, 0, kMaxBasePoints);
  for (int i = 1; i <= n; ++i) {
    auto& p = basePoints[static_cast<size_t>(i)];
    p.y = -p.y;
    p.phi = -p.phi;
  }
}

// The arc angle of a point belongs to the segment that starts there. After
// the order is reversed, the segment from P(i) to P(i+1) runs from P(i+1) to
// P(i), so its negated angle moves to the point that now starts it. The
// closing segment (last -> first) is handled the same way, as the contour is
// closed.
void CamProject::ReverseBasePoints() {
  int n = std::clamp<int>(basePointCount, 0, kMaxBasePoints);
  if (n < 1) return;
  std::vector<Real> arc(static_cast<size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) arc[static_cast<size_t>(i)] = basePoints[static_cast<size_t>(i)].phi;
  std::reverse(basePoints.begin() + 1, basePoints.begin() + 1 + n);
  // New point j is old point n + 1 - j. The new segment j -> j+1 is the old
  // segment (n - j) -> (n + 1 - j), whose angle sat on old point n - j.
  for (int j = 1; j <= n; ++j) {
    int oldStart = n - j;
    if (oldStart == 0) oldStart = n;  // the closing segment, old last -> old first
    basePoints[static_cast<size_t>(j)].phi = -arc[static_cast<size_t>(oldStart)];
  }
}

int ClosedContourCount(const CamProject& p) {
  int n = std::min<int>(p.basePointCount, static_cast<int>(p.basePoints.size()) - 1);
  if (n <= 2) return n;
  const ContourPoint& a = p.basePoints[1];
  const ContourPoint& b = p.basePoints[static_cast<size_t>(n)];
  Real size = std::max({Real(p.results.xSize), Real(p.results.ySize), std::fabs(a.x), std::fabs(a.y)});
  Real tol = 1e-9L * size;
  if (std::fabs(b.x - a.x) <= tol && std::fabs(b.y - a.y) <= tol) --n;
  return n;
}

std::string CurveTypeText(int type) {
  switch (type) {
    case ctFormula: return "Eingabe Formel rw=f(phi)";
    case ctEllipse: return "Ellipse";
    case ctSine: return "Sinus rw=rw0+A*sin(phi)";
    case ctLinearSine: return "Sinus-Linear";
    case ctPoints: return "Koordinatenpunkte x,y,phi";
    case ctPolygon: return "Polygon";
    case ctPolynomial: return "Polynomfunktion";
    case ctFitPoints: return "Eingabe <= 50 Punkte auf Nocken -> Spline, Polynomfunktion";
    case ctEccentric: return "Exzenter";
    case ctPolarPoints: return "Eingabe <= 1000 Punkte auf Nocken -> Polyline";
    case ctSinSquare: return "Nockenkurve r(phi) = c + a * sin\xFD(b*phi)";
    default: return {};
  }
}

}  // namespace kamo
