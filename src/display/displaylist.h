// The display list of the graphics window: every drawing operation appends one
// typed record (its code, its numbers in double precision, a text), and one
// player replays the list onto any backend (the window's painter, the printer,
// the PDF, SVG and PNG pictures) through the window/viewport transform.
// Toolkit-free; the painter backend lives elsewhere.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/real.h"

namespace kamo {

// Record codes of the display list.
enum class DisplayCode : int {
  MoveTo = 1,
  LineTo = 2,
  Circle = 3,
  Line = 4,
  Arc = 5,
  Text = 6,
  Solid = 7,
  Colour = 8,
  TextStyle = 9,
  Window = 10,
  LineStyle = 11,
  LineWidth = 12,
  Sleep = 13,
};

// One record of the list: its code and its numbers in full double precision
// (integers exactly); a text record names its string by index.
struct DisplayItem {
  DisplayCode code = DisplayCode::MoveTo;
  std::uint32_t text = 0;  // Text: index into the list's texts
  double v[8] = {};
};

// The numbers a record of this code carries (Text: x and y, then its text).
int DisplayFieldCount(DisplayCode code);
// The text form of a record, "code;field;field..." with reals of 8
// significant digits, as logs and tests read it; the list keeps full precision.
std::string DisplayItemText(const DisplayItem& item, std::string_view text);

// One record of the text form split into its code and fields (the text of code 6 is field 2).
struct DisplayRecord {
  int code = 0;
  std::vector<std::string> fields;
};
// Splits a record; code 0 for a record that has no valid code.
DisplayRecord ParseDisplayRecord(std::string_view record);

// Window/viewport transform of the list: world millimetres to device pixels.
struct ViewTransform {
  int resX = 640, resY = 480;          // the virtual device
  long vx0 = 0, vy0 = 0, vx1 = 1, vy1 = 1;  // viewport, pixels, y downwards
  Real wx0 = 0, wy0 = 0, wx1 = 1, wy1 = 1;  // world window
  long zx0 = 0, zy0 = 0, zx1 = 640, zy1 = 480;  // zoom rectangle, y upwards
  bool isotropic = true;
  Real ex0 = 0, ey0 = 0, ex1 = 1, ey1 = 1;  // effective window
  Real sx = 1, sy = 1;

  // Recomputes the effective window and scales; false for an empty window.
  bool rescale();
  long X(Real x) const;
  long Y(Real y) const;
  long LengthX(Real w) const;
  long LengthY(Real h) const;
};

// Where the player sends the records, one by one; false stops the replay.
class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;
  virtual bool Record(const DisplayItem& item, std::string_view text) = 0;
};

class DisplayList {
 public:
  const std::vector<DisplayItem>& items() const { return items_; }
  std::string_view textOf(const DisplayItem& item) const;
  // The records in their text form (for tests and logs; the list is typed).
  std::vector<std::string> records() const;
  size_t size() const { return items_.size(); }
  // Empties the list and resets the style caches.
  void Clear();

  // Viewport fractions 0..1 with y upwards; false (and nothing recorded) for
  // a window of zero width or height.
  bool SetWindow(bool aspect, bool margin, Real vpx0, Real vpy0, Real vpx1, Real vpy1, Real wx0,
                 Real wy0, Real wx1, Real wy1);
  // The usual start of a drawing: the whole device shows (x0, y0)-(x1, y1).
  bool Header(Real x0, Real y0, Real x1, Real y1);
  void SaveLimit();
  bool RestoreLimit();

  void MoveTo(Real x, Real y);
  void LineTo(Real x, Real y);
  void line(Real x1, Real y1, Real x2, Real y2);
  void circle(Real x, Real y, Real r);
  // Angles in degrees; a negative sweep runs clockwise (a1, a2 swapped); a
  // sweep below 4 degrees is recorded as its chord.
  void Arc(Real xc, Real yc, Real a1, Real a2, Real r, Real sweep);
  void OutTextXY(std::string_view text, Real x, Real y);
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
  void Rectangle(Real x1, Real y1, Real x2, Real y2);
  // Records only changes; colours outside 0..colourCount are ignored.
  void SetColor(int c);
  int GetColor() const { return colour_; }
  void SetLineStyle(int n);
  void SetLineWidth(int n);
  void SetTextStyle(int kind, Real height, Real width, Real angle);
  void SleepMs(int ms);
  // CAD colour number to palette index, then SetColor.
  void SetCadColor(int n);

  ViewTransform& transform() { return view_; }
  const ViewTransform& transform() const { return view_; }
  int colourCount = 16;

 private:
  DisplayItem& add(DisplayCode code);
  // Drops the record just added when one of its numbers is not finite
  // (nothing of it would be drawn, and no file may receive nan or inf);
  // whether it stayed.
  bool keepIfFinite();

  std::vector<DisplayItem> items_;
  std::vector<std::string> texts_;
  ViewTransform view_;
  Real saved_[4] = {0, 0, 1, 1};
  int colour_ = -1, lineStyle_ = 99, lineWidth_ = 1;
  bool penLost_ = false;  // the last move was left out
};

// Replays every record of the list onto the backend, in order, until the
// backend stops it; the number of records replayed.
long PlayDisplayList(const DisplayList& list, DisplayBackend& backend, bool* stopped = nullptr);

// The palette index of a CAD colour number.
int CadColourToPalette(int n);
// Line style by name: "DOTTED" 1, "DASHDOT" 2, "DASHED" 3, others 0.
int LineStyleOfName(std::string_view name);
// A real as the text form writes it: 8 significant digits, decimal point.
std::string DisplayReal(Real x);

}  // namespace kamo
