// The screen writer: elements to display-list records.
#include "cad/screenwriter.h"

#include <cmath>

#include "core/codepage.h"
#include "display/displaylist.h"

namespace kamo {

bool ScreenWriter::Open() {
  if (list_) list_->Clear();
  return true;
}

bool ScreenWriter::Window(const CadPage& p) {
  return !list_ || list_->Header(p.xMin, p.yMin, p.xMax, p.yMax);
}

void ScreenWriter::BeginEntities() {
  if (list_) list_->SetLineStyle(0);
}

// The pen of a layer: line style and colour of layers 0..5 from the
// configuration, the 16-colour table for layers 16..31, the background
// colour for layer 0 in the erase mode of the animation.
void ScreenWriter::Layer(int n, int drawMode, const std::string&) {
  if (!list_) return;
  DisplayList& d = *list_;
  const Settings& s = *ctx_.settings;
  if (n <= 5 && drawMode != 2) {
    d.SetLineStyle(n == 1 ? 2 : n == 2 ? 3 : 0);
    d.SetCadColor(n == 0 ? 1 : s.layers[static_cast<size_t>(n - 1)].colour);
  } else {
    d.SetLineStyle(0);
    if (n >= 16) d.SetCadColor(s.layerColours[static_cast<size_t>(n - 16)]);
    else if (n == 0) d.SetColor(0);
    else d.SetCadColor(n);
  }
  int w = 1;
  if (n >= 1 && n <= 5) w = s.lineThickness[static_cast<size_t>(n)];
  if (n >= 16) {
    int t = s.lineThicknessHigh[static_cast<size_t>(n - 16)];
    w = t >= 2 && t <= 50 ? t : 1;
  }
  d.SetLineWidth(w);
}

void ScreenWriter::TextStyle(int kind, Real height, Real width, Real angle) {
  if (list_) list_->SetTextStyle(kind, height, 0.95L * width, angle);
}

void ScreenWriter::Pause(int ms) {
  if (list_) list_->SleepMs(ms);
}

void ScreenWriter::Line(Real x1, Real y1, Real x2, Real y2) {
  if (list_) list_->line(x1, y1, x2, y2);
}

void ScreenWriter::Circle(Real x, Real y, Real r) {
  if (list_) list_->circle(x, y, r);
}

void ScreenWriter::ArcDeg(const CadArcData& a) {
  // An arc without a sweep runs counter-clockwise; its angles' distance
  // decides between arc and chord.
  if (list_) list_->Arc(a.x, a.y, a.a1, a.a2, a.r, a.sweep == 0 ? std::fabs(a.a2 - a.a1) : a.sweep);
}

void ScreenWriter::Text(std::string_view stored, Real x, Real y, const CadTextData&) {
  if (list_) list_->OutTextXY(Cp850ToUtf8(stored), x, y);
}

bool ScreenWriter::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  if (list_) list_->Solid(x1, y1, x2, y2, x3, y3, x4, y4);
  return true;
}

}  // namespace kamo
