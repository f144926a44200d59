// The point table editors: grid, clipboard, row commands, store and fill,
// fitting, the table operations and the file exchange.
#include "shell/pointtable.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "cad/dxfimport.h"
#include "cam/glsyst2.h"
#include "core/codepage.h"
#include "core/geometry.h"
#include "core/identity.h"
#include "core/inputfile.h"
#include "core/numbers.h"
#include "core/outputfile.h"
#include "core/strings.h"
#include "io/pointcsv.h"
#include "shell/curveinput.h"
#include "shell/session.h"

namespace kamo {

// ---------------------------------------------------------------- grid

PointGrid::PointGrid(int capacity, int count) : rows_(static_cast<size_t>(std::max(capacity, 2))), count_(2) {
  setCount(count);
}

void PointGrid::setCount(int n) { count_ = std::clamp(n, 2, capacity()); }

void PointGrid::setText(int i, int column, std::string text) {
  if (i < 0 || i >= capacity() || column < 0 || column > 1) return;
  rows_[static_cast<size_t>(i)][static_cast<size_t>(column)].text = std::move(text);
}

std::string PointGrid::copy(const PointCells& c) const {
  int top = std::max(0, std::min(c.top, c.bottom)), bottom = std::min(count_ - 1, std::max(c.top, c.bottom));
  int left = std::max(0, std::min(c.left, c.right)), right = std::min(1, std::max(c.left, c.right));
  std::string out;
  for (int i = top; i <= bottom; ++i) {
    for (int k = left; k <= right; ++k) {
      if (k > left) out += '\t';
      out += row(i)[static_cast<size_t>(k)].text;
    }
    out += "\r\n";
  }
  return out;
}

std::vector<std::vector<std::string>> SplitClipboard(std::string_view text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> cells{std::string()};
  bool open = false;  // the current row has text or was begun
  for (size_t i = 0; i < text.size(); ++i) {
    char ch = text[i];
    if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      rows.push_back(std::move(cells));
      cells = {std::string()};
      open = false;
      continue;
    }
    open = true;
    if (ch == '\t') cells.emplace_back();
    else cells.back() += ch;
  }
  // The last row is pasted without a line end too.
  if (open) rows.push_back(std::move(cells));
  return rows;
}

void PointGrid::paste(const PointCells& c, std::string_view text) {
  int top = std::min(c.top, c.bottom), left = std::min(c.left, c.right);
  if (top < 0 || left < 0) return;
  auto rows = SplitClipboard(text);
  for (size_t r = 0; r < rows.size(); ++r) {
    int i = top + static_cast<int>(r);
    if (i >= count_) break;  // a paste never adds rows
    // An empty line of the text leaves its row as it is.
    if (rows[r].size() == 1 && rows[r][0].empty()) continue;
    for (size_t k = 0; k < rows[r].size(); ++k) {
      int col = left + static_cast<int>(k);
      if (col > 1) break;
      setText(i, col, Trim(rows[r][k]));
    }
  }
}

bool PointGrid::deleteRows(int first, int last) {
  if (first > last) std::swap(first, last);
  first = std::max(first, 0);
  last = std::min(last, count_ - 1);
  if (first > last) return true;
  int k = last - first + 1;
  if (count_ - k < 2) return false;
  rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
  rows_.resize(rows_.size() + static_cast<size_t>(k));
  count_ -= k;
  return true;
}

bool PointGrid::insertRows(int first, int last) {
  if (first > last) std::swap(first, last);
  int k = std::max(1, last - first + 1);
  first = std::clamp(first, 0, count_);
  if (count_ + k > capacity()) return false;
  const size_t cap = rows_.size();
  rows_.insert(rows_.begin() + first, static_cast<size_t>(k), Row{});
  rows_.resize(cap);
  count_ += k;
  return true;
}

// ---------------------------------------------------------------- editor

namespace {

// The shortest text t for which back(parse(t)) is exactly x, where shown is
// x in the cell's unit: a point cell reads back as its model value.
std::string ExactText(const NumberStyle& ns, Real x, Real shown, Real (*back)(const NumberStyle&, Real, bool),
                      bool flag) {
  if (!std::isfinite(shown)) return "0";
  char buf[80];
  Real a = std::fabs(shown);
  bool plain = a == 0 || (a >= 1e-4L && a < 1e15L);
  for (int prec = 1; prec <= 22; ++prec) {
    auto r = std::to_chars(buf, buf + sizeof buf, shown, std::chars_format::general, prec);
    std::string t(buf, r.ptr);
    if (plain && t.find('e') != std::string::npos) continue;
    Real v = 0;
    if (!TryParseReal(t, v)) continue;
    if (back(ns, v, flag) == x) {
      if (ns.decimalSeparator != '.')
        for (char& ch : t)
          if (ch == '.') ch = ns.decimalSeparator;
      return t;
    }
  }
  return FormatRoundTrip(ns, shown);
}

Real PhiBack(const NumberStyle&, Real v, bool degrees) { return degrees ? DegToRad(v) : v; }
Real LengthBack(const NumberStyle& ns, Real v, bool) { return ns.inch() ? v * kMmPerInch : v; }

constexpr size_t kMaxCsvBytes = size_t(4) << 20;

}  // namespace

PointTableEditor::PointTableEditor(CurveInput& in, int curveType)
    : in_(in),
      type_(curveType == ctPolarPoints ? ctPolarPoints : ctFitPoints),
      grid_(curveType == ctPolarPoints ? kMaxPolar : kMaxPoly) {
  CamProject& p = in_.session.project();
  if (p.prPoints.size() < static_cast<size_t>(kMaxPolar + 1)) p.prPoints.resize(kMaxPolar + 1);
  fill();
  openedCount_ = modelCount();
  opened_.assign(points(), points() + grid_.capacity());
}

PolarPoint* PointTableEditor::points() {
  CamProject& p = in_.session.project();
  return polar() ? p.prPoints.data() + 1 : p.poly.points.data() + 1;
}

int& PointTableEditor::modelCount() {
  CamProject& p = in_.session.project();
  return polar() ? p.prCount : p.poly.n;
}

PointTableForm PointTableEditor::form() {
  PointTableForm f;
  const GeneralWords* w = in_.words;
  f.caption = kProductName;
  f.polar = polar();
  f.maxCount = grid_.capacity();
  f.copyCaption = w ? w->copy : "Kopieren";
  f.pasteCaption = w ? w->paste : "Einf\u00FCgen";
  f.helpTopic = in_.session.uiState.helpTopic;
  if (polar()) {
    f.objectName = "TForm_ribopoip";
    f.deleteCaption = "&L\u00F6schen Zeilen";
    f.insertCaption = "&Einf\u00FCgen Zeilen";
    f.linearizeCaption = "interpolieren Zwischenwerte";
  } else {
    f.objectName = "TForm_ribopoin";
    f.deleteCaption = "Delete Lines";
    f.insertCaption = "Insert Lines";
    f.fitModes = {"Polynom", "Cubic Spline"};
    f.polyNotes = {"(phi1, r1), (phi2, r2) .. (phin, rn)   -> ",
                   "-> r (phi) = a0 + a1*phi + a2 *phi\u00B2 + .. +an*phi^n"};
  }
  return f;
}

PointTableState PointTableEditor::state() {
  const NumberStyle& ns = in_.session.settings.numbers;
  PointTableState st;
  st.phiHeader = DisplayText(ns, degrees_ ? "phi (0..360\xF8)" : "phi (0..2pi)");
  st.rHeader = DisplayText(ns, "r [" + UnitLength(ns) + "]");
  st.count = grid_.count();
  for (int i = 0; i < grid_.count(); ++i) st.rows.push_back({grid_.row(i)[0].text, grid_.row(i)[1].text});
  st.setting = setting_;
  return st;
}

void PointTableEditor::edit(int row, int column, const std::string& text) { grid_.setText(row, column, text); }

void PointTableEditor::setCount(int n) { grid_.setCount(n); }

std::optional<Real> PointTableEditor::read(const PointGrid::Cell& cell, int column) const {
  const NumberStyle& ns = in_.session.settings.numbers;
  bool degrees = degrees_;
  return cell.field.read(cell.text, [&](std::string_view t) -> std::optional<Real> {
    std::string s = Trim(Utf8ToCp850(t));
    Real v = 0;
    // An empty cell is 0, as every cell that was never filled.
    if (!s.empty() && !TryParseReal(s, v)) return std::nullopt;
    return column == 0 ? PhiBack(ns, v, degrees) : LengthBack(ns, v, false);
  });
}

bool PointTableEditor::store() {
  Session& s = in_.session;
  const int n = grid_.count();
  std::vector<PolarPoint> read_(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k < 2; ++k) {
      const PointGrid::Cell& c = grid_.row(i)[static_cast<size_t>(k)];
      auto v = read(c, k);
      if (!v) {
        s.ui.showErrorAlways("Keine Zahl in Zeile " + std::to_string(i + 1) + ": \"" + Utf8ToCp850(Trim(c.text)) +
                             "\" !");
        return false;
      }
      (k == 0 ? read_[static_cast<size_t>(i)].phi : read_[static_cast<size_t>(i)].r) = *v;
    }
  }
  PolarPoint* pts = points();
  for (int i = 0; i < grid_.capacity(); ++i) {
    PointGrid::Row& row = grid_.row(i);
    if (i < n) {
      pts[i] = read_[static_cast<size_t>(i)];
    } else {
      // Rows behind the count are not read; what converts is kept for later.
      if (auto phi = read(row[0], 0)) pts[i].phi = *phi;
      if (auto r = read(row[1], 1)) pts[i].r = *r;
    }
    row[0].field = RealField(pts[i].phi, row[0].text);
    row[1].field = RealField(pts[i].r, row[1].text);
  }
  modelCount() = n;
  CamProject& p = s.project();
  if (polar()) p.calc.linearize = setting_ != 0;
  else p.calc.fitMode = std::clamp(setting_, 0, 1);
  return true;
}

void PointTableEditor::fill() {
  Session& s = in_.session;
  const NumberStyle& ns = s.settings.numbers;
  PolarPoint* pts = points();
  for (int i = 0; i < grid_.capacity(); ++i) {
    PointGrid::Row& row = grid_.row(i);
    Real phi = pts[i].phi, r = pts[i].r;
    std::string a = ExactText(ns, phi, degrees_ ? RadToDeg(phi) : phi, PhiBack, degrees_);
    std::string b = ExactText(ns, r, LengthToDisplay(ns, r), LengthBack, false);
    row[0] = {a, RealField(phi, a)};
    row[1] = {b, RealField(r, b)};
  }
  grid_.setCount(modelCount());
  const CamProject& p = s.project();
  setting_ = polar() ? (p.calc.linearize ? 1 : 0) : std::clamp(p.calc.fitMode, 0, 1);
}

bool PointTableEditor::deleteRows(int first, int last) {
  if (!grid_.deleteRows(first, last)) {
    in_.session.ui.showErrorAlways("Mindestens 2 Punkte !");
    return false;
  }
  return true;
}

bool PointTableEditor::insertRows(int first, int last) {
  if (!grid_.insertRows(first, last)) {
    in_.session.ui.showErrorAlways("zu viele Punkte !");
    return false;
  }
  return true;
}

bool PointTableEditor::fit() {
  Session& s = in_.session;
  CamProject& p = s.project();
  if (p.calc.fitMode != 1) {
    // Two points at one angle leave the polynomial undetermined.
    for (int i = 1; i <= p.poly.n; ++i)
      for (int k = i + 1; k <= p.poly.n; ++k)
        if (p.poly.points[static_cast<size_t>(i)].phi == p.poly.points[static_cast<size_t>(k)].phi) {
          s.ui.showErrorAlways("Gleicher Winkel phi in Zeile " + std::to_string(i) + " und " + std::to_string(k) +
                               " !");
          return false;
        }
  }
  MessageList messages;
  FitResult r = FitPoints(p, messages);
  if (!r.ok) {
    s.ui.showErrorAlways(messages.empty() ? std::string("Fatal  : n <= 1 !") : messages.at(1));
    return false;
  }
  return true;
}

bool PointTableEditor::calc() {
  Session& s = in_.session;
  s.flags.abortFlag = false;
  if (!store()) return false;
  if (!polar() && !fit()) return false;
  in_.calc();
  if (!s.flags.abortFlag && s.settings.helpLevel != 0 && in_.show)
    in_.show(ShowViewCode(s.settings.calcResultGraphic));
  s.flags.abortFlag = false;
  return true;
}

bool PointTableEditor::save() {
  if (!store()) return false;
  // The file holds coefficients that belong to its points.
  if (!polar() && !fit()) return false;
  in_.fileTouched = true;
  bool ok = in_.saveProject ? in_.saveProject() : false;
  in_.session.flags.abortFlag = false;
  return ok;
}

bool PointTableEditor::tableChanged() const {
  auto* self = const_cast<PointTableEditor*>(this);
  if (self->modelCount() != openedCount_) return true;
  const PolarPoint* pts = self->points();
  for (int i = 0; i < openedCount_ && i < static_cast<int>(opened_.size()); ++i)
    if (pts[i].phi != opened_[static_cast<size_t>(i)].phi || pts[i].r != opened_[static_cast<size_t>(i)].r) return true;
  return false;
}

bool PointTableEditor::importDxf() {
  Session& s = in_.session;
  if (!store()) return false;
  // The save question of File > Import protects what the table holds now.
  if (tableChanged()) s.flags.modified = true;
  in_.fileTouched = true;
  DxfImportContext ctx{s.project(), s.ui, s.flags, s.settings, {},
                       [this] { return in_.saveQuestion ? in_.saveQuestion() : true; }, s.file.fileDir};
  bool ok = ImportDxfIntoTable(ctx, ctPolarPoints);
  if (ok && !s.flags.abortFlag) fill();
  s.flags.abortFlag = false;
  return ok;
}

bool PointTableEditor::importCsv() {
  Session& s = in_.session;
  FileDialog d;
  d.caption = "Import CSV";
  d.directory = s.file.fileDir;
  d.filter = "*.csv|*.csv|*.tsv|*.tsv|*.txt|*.txt|*.*|*.*";
  auto path = s.ui.port().openFile(d);
  s.flags.abortFlag = false;
  if (!path || path->empty()) return false;
  std::string bytes;
  InputResult in = ReadRegularFile(*path, kMaxCsvBytes, bytes);
  if (!in.ok()) {
    std::string why = in.status == InputStatus::TooLarge ? std::string("zu gro\xE1") : Utf8ToCp850(in.reason);
    s.ui.showErrorAlways("CSV-Datei nicht lesbar: " + Utf8ToCp850(*path) + " (" + why + ")");
    return false;
  }
  PointCsv t = ParsePointCsv(bytes, grid_.capacity());
  if (!t.ok()) {
    s.ui.showErrorAlways(t.error);
    return false;
  }
  const NumberStyle& ns = s.settings.numbers;
  PolarPoint* pts = points();
  for (size_t i = 0; i < t.rows.size(); ++i)
    pts[i] = PolarPoint{PhiBack(ns, t.rows[i].first, degrees_), LengthBack(ns, t.rows[i].second, false)};
  modelCount() = static_cast<int>(t.rows.size());
  CamProject& p = s.project();
  if (polar()) p.calc.linearize = setting_ != 0;
  fill();
  return true;
}

bool PointTableEditor::exportCsv() {
  Session& s = in_.session;
  if (!store()) return false;
  FileDialog d;
  d.caption = "Export CSV";
  d.directory = s.file.fileDir;
  d.filter = "*.csv|*.csv|*.tsv|*.tsv|*.*|*.*";
  std::string stem = s.file.fileName.empty() ? std::string("punkte") : s.file.fileName;
  if (size_t dot = stem.find_last_of('.'); dot != std::string::npos && dot > 0) stem.resize(dot);
  d.proposed = stem + ".csv";
  auto path = s.ui.port().saveFile(d);
  s.flags.abortFlag = false;
  if (!path || path->empty()) return false;
  // The cells as filled read back as exactly the stored points.
  fill();
  PointTableState st = state();
  std::string text =
      FormatPointCsv(st.rows, st.phiHeader, st.rHeader, CsvDelimiterFor(*path), s.settings.numbers.decimalSeparator);
  std::string message;
  if (!WriteOutputFile(*path, text, nullptr, &message)) {
    s.ui.showErrorAlways(Utf8ToCp850(message));
    return false;
  }
  return true;
}

bool PointTableEditor::command(PointCommand c) {
  Session& s = in_.session;
  CamProject& p = s.project();
  switch (c) {
    case PointCommand::Ok:
      if (!store()) return false;
      if (!polar() && !fit()) return false;
      s.flags.abortFlag = false;
      return true;
    case PointCommand::Calc: return calc();
    case PointCommand::Save: return save();
    case PointCommand::AngleMode:
      if (!store()) return false;
      degrees_ = !degrees_;
      fill();
      return true;
    case PointCommand::Units: {
      if (!store()) return false;
      int dummy = 0;
      ToggleInch(s.settings.numbers.unitSystem, in_.metricBeforeInch ? *in_.metricBeforeInch : dummy);
      fill();
      return true;
    }
    case PointCommand::Sort:
      if (!polar() || !store()) return false;
      p.SortPolarPoints();
      fill();
      return true;
    case PointCommand::Multiply: {
      if (!polar()) return false;
      Real f = 1;
      if (!s.ui.inputReal("Multiplikator", f, 0.001L, 1000)) {
        s.flags.abortFlag = false;
        return false;
      }
      if (!store()) return false;
      p.ScalePolarRadii(f);
      fill();
      return true;
    }
    case PointCommand::Rotate: {
      if (!polar()) return false;
      Real a = 0;
      if (!s.ui.inputReal("Drehwinkel deg", a, -360, 360)) {
        s.flags.abortFlag = false;
        return false;
      }
      if (!store()) return false;
      p.RotatePolarPoints(a);
      fill();
      return true;
    }
    case PointCommand::ImportDxf: return polar() && importDxf();
    case PointCommand::ImportCsv: return polar() && importCsv();
    case PointCommand::ExportCsv: return polar() && exportCsv();
  }
  return false;
}

}  // namespace kamo
