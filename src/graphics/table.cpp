// Drawing tables and the extremes block.
#include "graphics/table.h"

#include "core/numbers.h"

namespace kamo {

TAusTabelle::TAusTabelle(CadOutput& cad, int mode, Real x, Real y, Real h, const Widths& widths,
                         const Texts& headings)
    : cad_(cad), mode_(mode), y_(y), h_(h) {
  columns_ = 0;
  while (columns_ < 7 && widths[static_cast<size_t>(columns_)] != 0) ++columns_;
  bounds_[0] = mode == 1 && columns_ > 0 ? x - 0.9L * widths[0] * h : x;
  for (int i = 1; i <= columns_; ++i)
    bounds_[static_cast<size_t>(i)] = bounds_[static_cast<size_t>(i - 1)] + 0.9L * widths[static_cast<size_t>(i - 1)] * h;
  construct(headings);
}

TAusTabelle::TAusTabelle(CadOutput& cad, const std::string& title, Real x, Real y, Real h,
                         const Widths& widths)
    : TAusTabelle(cad, 0, x, y, h, widths, Texts{title}) {}

void TAusTabelle::verticals(Real bottom) {
  int first = mode_ == 1 ? 1 : 0;
  for (int i = first; i <= columns_; ++i) {
    Real bx = bounds_[static_cast<size_t>(i)];
    cad_.CadLine(bx, bottom, bx, bottom + 2 * h_);
  }
}

void TAusTabelle::construct(const Texts& headings) {
  top_ = y_;
  if (columns_ == 0) return;
  int first = mode_ == 1 ? 1 : 0;
  if (first >= columns_) return;
  cad_.CadLayer(17);
  Real left = bounds_[static_cast<size_t>(first)], right = bounds_[static_cast<size_t>(columns_)];
  cad_.CadRect(left, y_ - 2 * h_, right, y_);
  verticals(y_ - 2 * h_);
  cad_.CadTextStyle(2, 0, h_, 0.75L * h_);
  bool any = false;
  for (int i = 0; i < columns_; ++i)
    if (!headings[static_cast<size_t>(i)].empty()) any = true;
  if (!any) return;
  cad_.CadLayer(18);
  for (int i = first; i < columns_; ++i) {
    const std::string& t = headings[static_cast<size_t>(i)];
    if (!t.empty()) cad_.CadText(" " + t, bounds_[static_cast<size_t>(i)], y_ - 1.5L * h_);
  }
  top_ -= 2 * h_;
}

void TAusTabelle::Row(const std::vector<std::string>& cells) {
  if (columns_ == 0) return;
  int first = mode_ == 1 ? 1 : 0;
  if (first >= columns_) return;
  Real bottom = top_ - 2 * h_;
  cad_.CadLayer(17);
  cad_.CadLine(bounds_[static_cast<size_t>(first)], bottom, bounds_[static_cast<size_t>(columns_)], bottom);
  verticals(bottom);
  cad_.CadLayer(18);
  for (int i = first; i < columns_ && i < static_cast<int>(cells.size()); ++i) {
    const std::string& t = cells[static_cast<size_t>(i)];
    if (!t.empty()) cad_.CadText(" " + t, bounds_[static_cast<size_t>(i)], top_ - 1.5L * h_);
  }
  top_ = bottom;
}

void ExtremesTable(const SheetContext& ctx, int mode, Real x, Real y, Real h) {
  if (ctx.flags.calcError) return;
  const NumberStyle& ns = ctx.settings.numbers;
  const CamResults& r = ctx.project.results;
  Real m = ctx.project.ram.m;
  auto angle = [&](Real rad) { return FormatAuto(ns, rad * 180 / kPi) + " " + UnitAngle(ns); };
  bool ascii = ns.specialChars == 1;
  TAusTabelle t(ctx.cad, mode, x, y, h, {17, 6, 7, 6, 7, 6, 0},
                {"", "", "min", "phi min", "max", "phi max", ""});
  t.Row({"Kurvenradius", "r [" + UnitLength(ns) + "]", FormatLength(ns, r.rMin), angle(r.phiRMin),
         FormatLength(ns, r.rMax), angle(r.phiRMax)});
  t.Row({"St\x94\xE1" "elhub", "s [" + UnitLength(ns) + "]", FormatLength(ns, 0), angle(r.phiSMin),
         FormatLength(ns, r.stroke), angle(r.phiSMax)});
  t.Row({"Geschwindigkeit", "v [m/s]", FormatAuto(ns, r.vMin), angle(r.phiVMin), FormatAuto(ns, r.vMax),
         angle(r.phiVMax)});
  t.Row({"Beschleunigung", ascii ? "a [m/s2]" : "a [m/s\xFD]", FormatAuto(ns, r.aMin), angle(r.phiAMin),
         FormatAuto(ns, r.aMax), angle(r.phiAMax)});
  t.Row({"Kraft F = m * a", "F [" + UnitForce(ns) + "]", FormatForce(ns, r.aMin * m), angle(r.phiAMin),
         FormatForce(ns, r.aMax * m), angle(r.phiAMax)});
  t.Done();
}

}  // namespace kamo
