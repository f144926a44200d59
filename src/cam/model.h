// The cam project: curve definition, point lists, follower, cam body,
// operating data, calculation settings, documentation and results.
// Lengths are millimetres, masses kilograms, angles radians unless a field
// says degrees; texts are CP850 bytes.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cam/checkdata.h"
#include "core/real.h"

namespace kamo {

inline constexpr int kMaxSegments = 10;
inline constexpr int kMaxBasePoints = 2000;
inline constexpr int kMaxContour = 3600;
inline constexpr int kMaxPoly = 50;
inline constexpr int kMaxPolar = 1000;
inline constexpr int kMaxChanges = 25;
inline constexpr int kMaxDrawingTexts = 8;
inline constexpr int kDocumentLinks = 5;
// A coordinate not yet entered in the point editor.
inline constexpr Real kNotEntered = 999;

enum CurveType : std::uint16_t {
  ctFormula = 1,
  ctEllipse = 2,
  ctSine = 3,
  ctLinearSine = 4,
  ctPoints = 5,
  ctPolygon = 6,
  ctPolynomial = 7,
  ctFitPoints = 8,
  ctEccentric = 9,
  ctPolarPoints = 10,
  ctSinSquare = 11,
};

// In the base point list phi is the included angle of the arc to the next
// point (0 = straight); in the contour list it is the polar angle.
struct ContourPoint {
  Real x = 0, y = 0, phi = 0;
};

struct PolarPoint {
  Real phi = 0, r = 0;
};

struct teilkurveRec {
  Real xMax = 360;       // degrees: the segment ends here
  std::string formula;   // r = f(x), x the cam angle in radians
};

struct EllipseParams {
  Real a = 60, b = 40;
  int variant = 0;  // 0 full, 1 circle a for 180..360, 2 circle b for 90..270
};
struct SineParams {
  Real rw0 = 50, A = 15;
  int N = 1;
};
struct LinSineParams {
  Real rw0 = 50, A = 15, phiLin = 220;  // phiLin in degrees
  // Derived by the calculation.
  Real phiTurn = 0, ampSine = 0, psi = 0, psiOffset = 0;
};
struct PolygonParams {
  std::uint16_t z = 6;
  Real de = 120, di = 100;
};
struct SinSqParams {
  Real db = 20, sh = 4, w = 135;  // w in degrees
};
struct EccentricParams {
  Real d = 100, e = 10;
};
struct PolyParams {
  int n = 0;
  std::array<Real, kMaxPoly + 1> coef{};            // 1..50
  std::array<PolarPoint, kMaxPoly + 1> points{};    // 1..50
};
struct CalcSettings {
  Real arcStep = 1;       // degrees
  int steps = 100;
  bool linearize = true;
  int splineRes = 20;
  int fitMode = 0;        // 0 polynomial, 1 cubic spline
};
struct Follower {
  std::uint16_t type = 2;  // 1 flat, 2 round
  Real d = 10, l = 30, m = 0.1L;
};
struct CamBody {
  Real bore = 0, width = 0;
};
struct DrawingTexts {
  std::string zeichname, zeichname2, zeichnr;
  std::string bemerk1, bemerk2, bemerk3;
};

struct CamResults {
  double xMin = 0, xMax = 0, yMin = 0, yMax = 0, xSize = 0, ySize = 0;
  std::int16_t ixMin = 0, ixMax = 0;
  Real rMin = 0, rMax = 0, phiRMin = 0, phiRMax = 0;
  Real sMin = 0, sMax = 0, phiSMin = 0, phiSMax = 0;
  Real stroke = 0;
  Real vMin = 0, vMax = 0, phiVMin = 0, phiVMax = 0;
  Real aMin = 0, aMax = 0, phiAMin = 0, phiAMax = 0;
  // The follower positions s[1..contourCount] and the follower they were
  // found with (half its diameter, its face).
  std::vector<Real> followerPositions;
  Real followerHalf = 0;
  int followerType = 0;
};

struct SectionProps {
  Real A = 0, IP0 = 0, xs = 0, ys = 0, IxS = 0, IyS = 0, IxyS = 0, IpS = 0;
  Real I1 = 0, I2 = 0, phi = 0, U = 0, netArea = 0;
};

struct ChangeRecord {
  std::string changeText, changeDate, responsible, description;
};

struct SignatureRow {
  std::string date, name;
};

struct DrawingText {
  Real x = 0, y = 0, h = 0, angle = 0;
  std::string text;
};

struct DrawingInfo {
  // 0 created, 1 checked, 2 standards check, 3 release (DIN 6771 only).
  std::array<SignatureRow, 4> rows;
  std::string replacementFor, replacedBy;
  std::string responsibleDept, documentType, documentStatus;
  int textSheetMode = 0;  // 0 A4, 1 A3, 2 A4+A3, 3 none
  std::array<DrawingText, kMaxDrawingTexts + 1> texts{};  // 1..8
  std::uint16_t textCount = 0;
};

struct DocumentLink {
  std::string program, file;
};

struct CamProject {
  CamProject();

  std::uint16_t curveType = ctPoints;
  std::array<teilkurveRec, kMaxSegments + 1> segments{};
  int segmentCount = 0;
  std::vector<ContourPoint> basePoints;  // 0..2000; 0 is the lead-in point
  std::uint16_t basePointCount = 0;
  std::vector<ContourPoint> contour;     // 0..3600
  std::uint16_t contourCount = 0;

  EllipseParams ellipse;
  SineParams sine;
  LinSineParams linSine;
  PolygonParams polygon;
  SinSqParams sinSq;
  EccentricParams eccentric;
  PolyParams poly;
  std::vector<PolarPoint> prPoints;      // 1..1000
  int prCount = 0;
  CalcSettings calc;
  Real speed = 1000;                     // 1/min
  Follower ram;
  CamBody body;
  DrawingTexts drawing;

  std::array<ChangeRecord, kMaxChanges + 1> changes{};  // 1..25, newest last
  std::uint16_t changeCount = 0;
  DrawingInfo info;
  std::array<DocumentLink, kDocumentLinks + 1> links{};  // 1..5

  CamResults results;
  SectionProps section;
  // The engineering checks: their inputs (project file) and results.
  CheckInputs checkData;
  CheckResults checks;

  void resetProject();
  void clearGeometry();
  void clearResults();
  void clearSectionProps();
  void resetDocumentation();

  void SortPolarPoints();
  void ScalePolarRadii(Real f);
  void RotatePolarPoints(Real deg);
  void MirrorBasePointsX();
  void MirrorBasePointsY();
  void ReverseBasePoints();
};

// The base points 1..n that draw the closed contour: the last point is left
// out when it repeats the first within 1e-9 of the cam's size, so that a
// closed polyline has no closing edge of length 0.
int ClosedContourCount(const CamProject& p);

// The menu text of a curve type (CP850).
std::string CurveTypeText(int type);

}  // namespace kamo
