// The diagrams of stroke, velocity, acceleration and radius over the cam angle,
// those of the engineering checks, the diagram frame with its axes, ticks and
// grid, and the contour plot.
#pragma once
#include <string>

#include "graphics/hatch.h"
#include "graphics/sheets.h"

namespace kamo {

// The frame of the next diagram and the data ranges it maps.
struct DiagramState {
  Real W = 160, H = 120, X0 = 0, Y0 = 0;
  Real xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  Real xStep = 0, yStep = 0;
  int angleMode = 0;  // 3: the x axis is a cam angle axis
  Real lastX = 0, lastY = 0;

  FrameMap map() const;
  Real X(Real x) const { return map().X(x); }
  Real Y(Real y) const { return map().Y(y); }
};

// Tick label: 3 significant digits, exponent form below 1e-4 and from 1e4 on.
std::string TickLabel(const NumberStyle& ns, Real x);

// Diagram kinds of the engineering checks (the command's kinds 6..9; the
// contact force diagram holds two frames, force and Hertz pressure).
inline constexpr int kDiagramAlpha = 6;   // pressure angle with its limit
inline constexpr int kDiagramRho = 7;     // radius of curvature of the contour and the pitch curve
inline constexpr int kDiagramJerk = 8;
inline constexpr int kDiagramForce = 9;   // contact force
inline constexpr int kDiagramHertz = 10;  // Hertz pressure (a frame of kind 9)
inline constexpr int kDiagramKinds = 9;   // kinds the command offers

// A filled arrow head with its tip at (x, y); direction 0 right, 1 up, 2 left,
// 3 down; length s, half width s / 8.
void ArrowHead(CadOutput& cad, Real x, Real y, int direction, Real s);

class Diagrams {
 public:
  // device: the output device of the sheet (3 = forced to the screen, no limits dialog).
  Diagrams(SheetOutput& out, int device) : out_(out), device_(device) {}

  void ResetDiagram();
  void SetDiagramSize(Real W, Real H) { st_.W = W, st_.H = H; }
  void SetDiagramOrigin(Real X0, Real Y0) { st_.X0 = X0, st_.Y0 = Y0; }
  // mode 1 the angle diagrams, 2 the contour plot.
  void DiagramFrame(const std::string& xLabel, const std::string& yLabel, const std::string& title,
                    int mode, Real xmin, Real ymin, Real xmax, Real ymax);
  // 1 s, 2 v, 3 a, 5 r, and the check diagrams 6..10 (kDiagramAlpha ..) into
  // the current frame.
  void DrawDiagram(int kind);
  // The contour, hatched, in a square frame W x W at (X0, Y0).
  void ContourPlot(Real W, Real H, Real X0, Real Y0);
  // A line in data units, clipped to the data rectangle.
  void ClippedLine(Real x1, Real y1, Real x2, Real y2);

  DiagramState& state() { return st_; }

 private:
  bool limitsDialog(const std::string& xLabel, const std::string& yLabel, const std::string& title,
                    AxisScale& x, AxisScale& y) const;
  void line(Real x1, Real y1, Real x2, Real y2);  // data units, unclipped
  void drawCheckDiagram(int kind);

  SheetOutput& out_;
  int device_;
  DiagramState st_;
};

// kind 0 ask, 1 s, 2 v, 3 a, 4 s, v and a, 5 r, 6 pressure angle, 7 radius
// of curvature, 8 jerk, 9 contact force and Hertz pressure; device as for
// OutputSheet. True when the diagram was written completely.
bool DiagramCommand(SheetOutput& out, int kind, int device);
// The choice text of diagram kind 1..9.
std::string DiagramKindText(int kind);

}  // namespace kamo
