// Project reset rules and the list operations of the point editors.
#include <gtest/gtest.h>

#include <cmath>

#include "cam/model.h"
#include "core/geometry.h"

namespace kamo {
namespace {

TEST(CamProject, ResetGivesTheDefaults) {
  CamProject p;
  p.curveType = ctEllipse;
  p.ellipse.a = 1;
  p.basePointCount = 3;
  p.prCount = 7;
  p.changeCount = 4;
  p.links[2].program = "x";
  p.resetProject();
  EXPECT_EQ(p.curveType, ctPoints);
  EXPECT_EQ(p.basePointCount, 0);
  EXPECT_EQ(p.prCount, 0);
  EXPECT_EQ(p.changeCount, 0);
  EXPECT_EQ(p.ellipse.a, 60);
  EXPECT_EQ(p.linSine.phiLin, 220);
  EXPECT_EQ(p.polygon.z, 6);
  EXPECT_EQ(p.calc.steps, 100);
  EXPECT_TRUE(p.calc.linearize);
  EXPECT_EQ(p.speed, 1000);
  EXPECT_EQ(p.ram.type, 2);
  EXPECT_EQ(p.ram.m, 0.1L);
  EXPECT_EQ(p.links[2].program, "write.exe");
  EXPECT_EQ(p.links[3].program, "mspaint.exe");
  EXPECT_EQ(p.segments[0].xMax, 0);
  EXPECT_EQ(p.segments[10].xMax, 360);
  EXPECT_EQ(p.results.rMin, 1e38L);
  EXPECT_EQ(p.results.sMax, -1e38L);
  EXPECT_EQ(p.basePoints.size(), size_t(kMaxBasePoints + 1));
  EXPECT_EQ(p.contour.size(), size_t(kMaxContour + 1));
  EXPECT_EQ(p.prPoints.size(), size_t(kMaxPolar + 1));
}

TEST(CamProject, ClearGeometryMarksCoordinatesNotEntered) {
  CamProject p;
  p.basePoints[5] = {1, 2, 3};
  p.basePointCount = 5;
  p.segmentCount = 2;
  p.clearGeometry();
  EXPECT_EQ(p.basePointCount, 0);
  EXPECT_EQ(p.segmentCount, 0);
  EXPECT_EQ(p.basePoints[0].x, 0);
  EXPECT_EQ(p.basePoints[0].y, 0);
  EXPECT_EQ(p.basePoints[5].x, kNotEntered);
  EXPECT_EQ(p.basePoints[2000].y, kNotEntered);
  EXPECT_EQ(p.basePoints[2000].phi, 0);
}

TEST(CamProject, RotatePolarPointsWrapsAndSorts) {
  CamProject p;
  p.prCount = 3;
  p.prPoints[1] = {DegToRad(10), 1};
  p.prPoints[2] = {DegToRad(200), 2};
  p.prPoints[3] = {DegToRad(350), 3};
  p.RotatePolarPoints(20);
  // 350 + 20 wraps to 10 and becomes the first point.
  EXPECT_NEAR(double(RadToDeg(p.prPoints[1].phi)), 10, 1e-12);
  EXPECT_EQ(p.prPoints[1].r, 3);
  EXPECT_NEAR(double(RadToDeg(p.prPoints[2].phi)), 30, 1e-12);
  EXPECT_NEAR(double(RadToDeg(p.prPoints[3].phi)), 220, 1e-12);
  p.RotatePolarPoints(-40);  // 10 -> 330, 30 -> 350, 220 -> 180
  EXPECT_NEAR(double(RadToDeg(p.prPoints[1].phi)), 180, 1e-12);
  EXPECT_NEAR(double(RadToDeg(p.prPoints[2].phi)), 330, 1e-12);
  EXPECT_NEAR(double(RadToDeg(p.prPoints[3].phi)), 350, 1e-12);
  p.ScalePolarRadii(2);
  EXPECT_EQ(p.prPoints[1].r + p.prPoints[2].r + p.prPoints[3].r, 12);
}

TEST(CamProject, MirrorNegatesArcAngles) {
  CamProject p;
  p.basePointCount = 2;
  p.basePoints[1] = {1, 2, 0.5L};
  p.basePoints[2] = {3, 4, 0};
  p.MirrorBasePointsX();
  EXPECT_EQ(p.basePoints[1].x, -1);
  EXPECT_EQ(p.basePoints[1].phi, -0.5L);
  p.MirrorBasePointsY();
  EXPECT_EQ(p.basePoints[2].y, -4);
  EXPECT_EQ(p.basePoints[1].phi, 0.5L);
  EXPECT_EQ(p.basePoints[3].x, kNotEntered);  // untouched beyond the count
}

// The arc centre of a segment from a to b with included angle phi (ccw > 0).
XY ArcCentre(const ContourPoint& a, const ContourPoint& b) {
  Real mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
  Real dx = b.x - a.x, dy = b.y - a.y;
  Real half = Hypot(dx, dy) / 2;
  Real dist = half / std::tan(a.phi / 2);
  Real len = Hypot(dx, dy);
  return {mx - dy / len * dist, my + dx / len * dist};
}

TEST(CamProject, ReverseKeepsEveryArcOnItsSegment) {
  // A semicircle of radius 10 from (10,0) over (0,10) to (-10,0), then a
  // straight chord back: the arc sits on the segment P1 -> P2.
  CamProject p;
  p.basePointCount = 3;
  p.basePoints[1] = {10, 0, kPi / 2};
  p.basePoints[2] = {0, 10, kPi / 2};
  p.basePoints[3] = {-10, 0, 0};
  XY c12 = ArcCentre(p.basePoints[1], p.basePoints[2]);
  XY c23 = ArcCentre(p.basePoints[2], p.basePoints[3]);
  p.ReverseBasePoints();
  // Now (-10,0) -> (0,10) -> (10,0): both arcs run clockwise on the same segments.
  EXPECT_EQ(p.basePoints[1].x, -10);
  EXPECT_EQ(p.basePoints[3].x, 10);
  EXPECT_EQ(p.basePoints[1].phi, -kPi / 2);
  EXPECT_EQ(p.basePoints[2].phi, -kPi / 2);
  EXPECT_EQ(p.basePoints[3].phi, 0);  // the closing chord stays straight
  XY r32 = ArcCentre(p.basePoints[2], p.basePoints[3]);
  XY r21 = ArcCentre(p.basePoints[1], p.basePoints[2]);
  EXPECT_NEAR(double(r32.x), double(c12.x), 1e-12);
  EXPECT_NEAR(double(r32.y), double(c12.y), 1e-12);
  EXPECT_NEAR(double(r21.x), double(c23.x), 1e-12);
  EXPECT_NEAR(double(r21.y), double(c23.y), 1e-12);
  p.ReverseBasePoints();
  EXPECT_EQ(p.basePoints[1].phi, kPi / 2);
  EXPECT_EQ(p.basePoints[3].phi, 0);
}

TEST(CamProject, ReverseMovesTheClosingArc) {
  CamProject p;
  p.basePointCount = 3;
  p.basePoints[1] = {1, 0, 0};
  p.basePoints[2] = {0, 1, 0};
  p.basePoints[3] = {-1, 0, 0.7L};  // arc on the closing segment P3 -> P1
  p.ReverseBasePoints();
  // The closing segment is now P3' (old P1) -> P1' (old P3).
  EXPECT_EQ(p.basePoints[3].x, 1);
  EXPECT_EQ(p.basePoints[3].phi, -0.7L);
  EXPECT_EQ(p.basePoints[1].phi, 0);
  EXPECT_EQ(p.basePoints[2].phi, 0);
}

TEST(CurveTypeText, BuiltTexts) {
  EXPECT_EQ(CurveTypeText(ctFitPoints), "Eingabe <= 50 Punkte auf Nocken -> Spline, Polynomfunktion");
  EXPECT_EQ(CurveTypeText(ctPolarPoints), "Eingabe <= 1000 Punkte auf Nocken -> Polyline");
  EXPECT_EQ(CurveTypeText(12), "");
}

}  // namespace
}  // namespace kamo
