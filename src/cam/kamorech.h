// The calculation of the cam: r(phi) for every curve type, the closed contour,
// the follower positions, stroke, velocity, acceleration, extremes and the
// area properties of the section.
//
// Typical use (the session owns all four arguments):
//   Calculate(project, messages, flags, settings);
//   if (!flags.calcError) { ... project.results, project.section, project.contour ... }
// Drawings and reports may then ask single values without side effects:
//   RadiusAt(project, phi)        the cam radius in direction phi (radians)
//   FollowerAtAngle(project, phi) the follower position at cam angle phi
//   FollowerPosition(project, k)  the follower position at contour point k
#pragma once
#include <vector>

#include "cam/model.h"
#include "core/geometry.h"
#include "core/messages.h"
#include "core/settings.h"

namespace kamo {

// The messages of the calculation.
inline constexpr const char* kMsgNoPoints = "Fatal  : n = 0 !";
inline constexpr const char* kMsgOnePoint = "Fatal  : n <= 1 !";
inline constexpr const char* kMsgTooManySteps = "Fatal  : > 2000 points !";
inline constexpr const char* kMsgContourFull = "Fatal  : > 2000 Punkte !";
inline constexpr const char* kMsgDirectionZero = "Fatal  : Richtungssinn !";
inline constexpr const char* kMsgDirectionCw = "Fehler : Richtungssinn !";
inline constexpr const char* kMsgAreaZero = "Fatal  : A = 0 !";
inline constexpr const char* kMsgNetArea = "Fehler : A Cam <= 0 !";
inline constexpr const char* kMsgStroke = "Fehler : L < stroke !";
inline constexpr const char* kMsgNoSegment = "Fatal  : rw1 <= 0 !";
inline constexpr const char* kMsgPhiIter = "Fatal  : GetPhiIter";
inline constexpr const char* kMsgArcCentre = "Fehler in GetArcCenter (dphi = ";
// Inputs the dialogs do not range-check.
inline constexpr const char* kMsgPolygonCorners = "Fatal  : Polygon z < 3 !";
inline constexpr const char* kMsgEllipseAxes = "Fatal  : Ellipse a <= 0 oder b <= 0 !";
inline constexpr const char* kMsgEccentricity = "Fatal  : Exzenter |e| > d/2 !";
inline constexpr const char* kMsgLinSineAngle = "Fatal  : Sinus-Linear phiLin <= 0 oder >= 360 !";
inline constexpr const char* kMsgSpeed = "Fatal  : Drehzahl <= 0 oder > 1E12 !";
inline constexpr const char* kMsgRadius = "Fatal  : r(phi) nicht berechenbar !";
inline constexpr const char* kMsgRange = "Fatal  : Koordinaten > 1E12 !";
// A formula segment that does not parse: + segment + " (Pos. " + position + ") !"
inline constexpr const char* kMsgFormulaSyntax = "Fatal  : Syntax in Formel ";
// A formula segment whose "(" and ")" differ in number: + segment + " !"
inline constexpr const char* kMsgFormulaParens = "Fatal  : Klammern in Formel ";

// Contour coordinates beyond this (mm) are refused: the results keep doubles.
inline constexpr Real kMaxCoordinate = 1e12L;
// Speeds (1/min) beyond this are refused, so that v and a stay finite.
inline constexpr Real kMaxSpeed = 1e12L;

// phi brought into [0, 2pi).
Real NormaliseAngle(Real phi);

// The radius in direction phi (radians) from the curve definition. This form
// changes nothing and reports nothing: an undefined radius (no covering
// formula segment, invalid parameters) is 0. Point-defined types answer from
// the contour of the last calculation.
Real RadiusAt(const CamProject& project, Real phi);
// The calculation's form: normalises the evaluated formula text, stores
// linSine.psi, and reports a missing formula segment or a formula that
// cannot be evaluated (domain error) as a fatal message with calcError.
Real RadiusAt(CamProject& project, Real phi, MessageList& messages, Flags& flags);

// linSine.phiTurn, ampSine and psiOffset; false (with a fatal message and
// calcError) when the turning angle cannot be found.
bool PrepareLinearSine(CamProject& project, MessageList& messages, Flags& flags);

// The radius of the contour polygon in direction phi.
Real RadiusFromContour(const CamProject& project, Real phi);

// The whole calculation; clears the message list first and reports every
// failure through it ("Fatal  : " lines set flags.calcError).
void Calculate(CamProject& project, MessageList& messages, Flags& flags, const Settings& settings);

// Fills s[1..contourCount] with the follower positions of every contour
// point (s is resized to contourCount + 1).
using FollowerPass = void (*)(const CamProject& project, std::vector<Real>& s);
// Calculate with another follower pass (the all-pairs scan in the tests and
// the benchmark); the production pass is FollowerPositions.
void Calculate(CamProject& project, MessageList& messages, Flags& flags, const Settings& settings,
               FollowerPass pass);

// Base points 0..calc.steps + 1 from r(phi); false on a fatal error.
bool GeneratePoints(CamProject& project, MessageList& messages, Flags& flags);

// The follower position at contour point k (1..contourCount).
Real FollowerPosition(const CamProject& project, int k);
// All follower positions at once; identical to FollowerPosition for every k,
// but visits only the contour points that can touch the follower.
void FollowerPositions(const CamProject& project, std::vector<Real>& s);
// The follower positions of the project's contour and follower: the
// calculation's when it found them for this follower, otherwise found now
// into scratch.
const std::vector<Real>& FollowerPositionsOf(const CamProject& project, std::vector<Real>& scratch);
// The follower position at any cam angle (radians); 0 without a contour.
Real FollowerAtAngle(const CamProject& project, Real phi);

// The area properties of contour[1..contourCount] into project.section.
void SectionProperties(CamProject& project, MessageList& messages, Flags& flags);

struct ArcCentre {
  XY c;
  Real r = 0, start = 0, end = 0;
  bool ok = false;  // false: sin(G/2) = 0, everything 0
};
// The centre of the arc from p to q with the included angle g (radians,
// positive counter-clockwise); start and end are the angles of p and q seen
// from the centre, in [0, 2pi).
ArcCentre GetArcCenter(XY p, XY q, Real g);

// The contact test of one contour point against the follower standing in
// direction (ca, sa), shared by every follower pass so that all of them do
// the same arithmetic.
struct FollowerFrame {
  Real ca = 1, sa = 0;  // cos, sin of the follower axis
  Real s = 0;           // the position found so far
  Real half = 0;        // half the follower diameter
  bool flat = false;
};
FollowerFrame FollowerStart(const CamProject& project, int k);
// X along the axis, Y across it; true when the point lies within the face.
inline bool FollowerInFace(const FollowerFrame& f, Real x, Real y, Real& X, Real& Y) {
  X = x * f.ca + y * f.sa;
  Y = y * f.ca - x * f.sa;
  if (f.flat) return -f.half < Y && Y < f.half;
  return (Y < 0 ? -Y : Y) < f.half;
}
void FollowerRoundUpdate(FollowerFrame& f, Real X, Real Y);
inline void FollowerUpdate(FollowerFrame& f, Real X, Real Y) {
  if (f.flat) {
    if (X > f.s) f.s = X;
  } else {
    FollowerRoundUpdate(f, X, Y);
  }
}

}  // namespace kamo
