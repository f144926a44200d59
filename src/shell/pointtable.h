// The point table editors of curve types 8 (fit points, TForm_ribopoin) and
// 10 (polar points, TForm_ribopoip), free of any toolkit: the grid with its
// clipboard and row commands (PointGrid), and the logic behind the buttons
// and menus (PointTableEditor). A cell the user did not change stores back
// the exact model value.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cam/model.h"
#include "core/fields.h"
#include "core/forms.h"

namespace kamo {

struct CurveInput;

// The rows of a point table as the grid holds them: the count rows shown and,
// behind them, the rows up to the capacity that keep their text while the
// count is lowered. Each cell remembers the value it was filled with.
class PointGrid {
 public:
  struct Cell {
    std::string text;  // UTF-8, as shown
    RealField field;   // the model value behind the text it was filled with
  };
  using Row = std::array<Cell, 2>;

  explicit PointGrid(int capacity = kMaxPolar, int count = 2);
  int capacity() const { return static_cast<int>(rows_.size()); }
  int count() const { return count_; }
  // 2 .. capacity.
  void setCount(int n);
  Row& row(int i) { return rows_[static_cast<size_t>(i)]; }
  const Row& row(int i) const { return rows_[static_cast<size_t>(i)]; }
  void setText(int i, int column, std::string text);

  // The clipboard text of the range: cells joined by tabs, rows ended by CR LF.
  std::string copy(const PointCells& c) const;
  // Writes the text from the range's top-left cell on, right and down; rows
  // end at CR LF, CR or LF (a last row needs no end), cells at tabs; what
  // falls outside the rows shown or the two columns is dropped.
  void paste(const PointCells& c, std::string_view text);
  // Removes rows first..last (clamped to the rows shown); false, and nothing
  // changes, when fewer than 2 rows would be left.
  bool deleteRows(int first, int last);
  // Inserts last - first + 1 empty rows in front of row first; false, and
  // nothing changes, when the count would pass the capacity.
  bool insertRows(int first, int last);

 private:
  std::vector<Row> rows_;
  int count_;
};

// The clipboard text split into rows and cells.
std::vector<std::vector<std::string>> SplitClipboard(std::string_view text);

class PointTableEditor : public PointTableLogic {
 public:
  // curveType: ctFitPoints or ctPolarPoints.
  PointTableEditor(CurveInput& in, int curveType);
  PointTableForm form() override;
  PointTableState state() override;
  void edit(int row, int column, const std::string& text) override;
  void setCount(int n) override;
  void setSetting(int v) override { setting_ = v; }
  std::string copy(const PointCells& cells) override { return grid_.copy(cells); }
  void paste(const PointCells& cells, const std::string& text) override { grid_.paste(cells, text); }
  bool deleteRows(int first, int last) override;
  bool insertRows(int first, int last) override;
  bool command(PointCommand c) override;

  bool degrees() const { return degrees_; }
  const PointGrid& grid() const { return grid_; }

  // Store: the count and the rows shown into the model, then the setting;
  // false (nothing stored) when a cell is no number.
  bool store();
  // Fill: the grid, count and setting from the model.
  void fill();

 private:
  bool polar() const { return type_ == ctPolarPoints; }
  PolarPoint* points();  // the model's points, index 1 on
  int& modelCount();
  std::optional<Real> read(const PointGrid::Cell& cell, int column) const;
  bool fit();
  bool calc();
  bool save();
  bool importDxf();
  bool importCsv();
  bool exportCsv();
  bool tableChanged() const;

  CurveInput& in_;
  int type_;
  bool degrees_ = true;
  int setting_ = 0;
  PointGrid grid_;
  std::vector<PolarPoint> opened_;  // the table as the editor opened
  int openedCount_ = 0;
};

}  // namespace kamo
