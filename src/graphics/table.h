// The drawing table used for every text block on a sheet, and the sheet
// blocks of the cam report drawn with it.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "cad/cad.h"
#include "cam/model.h"
#include "core/messages.h"
#include "core/settings.h"

namespace kamo {

class TAusTabelle {
 public:
  using Widths = std::array<Real, 7>;
  using Texts = std::array<std::string, 7>;

  // Column widths in units of 0.9 h (a width of 0 ends the columns); mode 1
  // leaves the first column out.
  TAusTabelle(CadOutput& cad, int mode, Real x, Real y, Real h, const Widths& widths,
              const Texts& headings);
  // One title as the heading of the first column.
  TAusTabelle(CadOutput& cad, const std::string& title, Real x, Real y, Real h, const Widths& widths);

  void Row(const std::vector<std::string>& cells);
  void Row4(const std::string& c1, const std::string& c2, const std::string& c3) { Row({c1, c2, c3}); }
  void Line(const std::string& text) { Row({text}); }
  void Done() {}

  // Left boundary of column i (0-based) and the right end of the table.
  Real boundary(int i) const { return bounds_[static_cast<size_t>(i)]; }
  int columns() const { return columns_; }
  Real rowTop() const { return top_; }

 private:
  void construct(const Texts& headings);
  void verticals(Real bottom);

  CadOutput& cad_;
  int mode_ = 0;
  Real y_ = 0, h_ = 0;
  int columns_ = 0;
  std::array<Real, 8> bounds_{};
  Real top_ = 0;
};

// What a sheet block reads.
struct SheetContext {
  CadOutput& cad;
  const CamProject& project;
  const Settings& settings;
  const MessageList& messages;
  const Flags& flags;
};

// The minimum/maximum table of radius, stroke, velocity, acceleration and
// force; mode 1 leaves the label column out. Nothing with calcError set.
void ExtremesTable(const SheetContext& ctx, int mode, Real x, Real y, Real h);

}  // namespace kamo
