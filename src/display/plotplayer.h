// The player of the help pictures: a small subset of HP-GL/2 (PU, PD, PA, SP,
// CI, SI, DI, LB, AA, PE, CS, IN; every other command is skipped up to its
// ";") drawn through the primitives of the graphics engine. Toolkit-free.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "core/real.h"

namespace kamo {

class DisplayList;

// What the player draws on; millimetres, angles in degrees, texts UTF-8.
class PlotCanvas {
 public:
  virtual ~PlotCanvas() = default;
  virtual void setColour(int colour) = 0;
  virtual void line(Real x1, Real y1, Real x2, Real y2) = 0;
  virtual void circle(Real x, Real y, Real r) = 0;
  // From angle a1 through `sweep` degrees (counter-clockwise when positive);
  // a2 is the end angle.
  virtual void arc(Real xc, Real yc, Real a1, Real a2, Real r, Real sweep) = 0;
  // Character height and width in mm, direction in degrees.
  virtual void label(std::string_view text, Real x, Real y, Real height, Real width, Real angle) = 0;
};

// The canvas of the graphics window: the display list's own primitives.
class DisplayListCanvas final : public PlotCanvas {
 public:
  explicit DisplayListCanvas(DisplayList& list) : list_(list) {}
  void setColour(int colour) override;
  void line(Real x1, Real y1, Real x2, Real y2) override;
  void circle(Real x, Real y, Real r) override;
  void arc(Real xc, Real yc, Real a1, Real a2, Real r, Real sweep) override;
  void label(std::string_view text, Real x, Real y, Real height, Real width, Real angle) override;

 private:
  DisplayList& list_;
};

// The state that lives from picture to picture: pen, character set, size and
// direction (all zero at program start, pen up). The position starts afresh
// with every picture.
struct PlotState {
  bool penDown = false;
  int pen = 0;
  int charSet = 0;
  bool sizeSet = false;          // without "SI" labels take the HP-GL default size
  Real charWidth = 0, charHeight = 0;  // cm
  Real direction = 0;            // degrees
  bool placed = false;           // false: no position yet (no line starts here)
  Real x = 0, y = 0;             // mm
};

// The HP-GL default character size, cm.
inline constexpr Real kPlotCharWidth = 0.19L, kPlotCharHeight = 0.27L;
// The longest label, in characters.
inline constexpr size_t kPlotLabelMax = 255;

// Pens 1..7 are the colours 12, 14, 10, 11, 9, 13, 15; any other pen is its own colour.
int PlotPenColour(int pen);

// Plays the bytes of a plot file. toDisplay converts a stored (CP850)
// label to UTF-8; stop is asked between commands and ends the picture when
// it returns true (may be empty).
void PlayPlot(std::string_view bytes, PlotCanvas& canvas, PlotState& state,
              const std::function<std::string(std::string_view)>& toDisplay,
              const std::function<bool()>& stop = {});

}  // namespace kamo
