// The input forms of the curve editor as the UI port sees them: what each
// form shows, and the toolkit-free logic behind its buttons. A port builds
// the widgets, hands every button to the logic and shows what comes back;
// it never touches the model itself. Texts are UTF-8.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kamo {

// The list dialog TForm_einarray: a list of lines and its command buttons.
struct ListForm {
  std::string caption;
  std::vector<std::string> lines;
  int selected = 0;  // 1-based line to preselect, 0 none
  // Captions of the spare buttons Button_156, Button_157, Button_158; an
  // empty caption hides the button.
  std::array<std::string, 3> spare;
  bool errorButton = false;  // Button_error: the message list is not empty
  int helpTopic = 0;
  std::function<void()> showErrors;  // Button_error; the dialog stays open
};

// Command codes of the list dialog.
enum ListCommand {
  lcOk = 0, lcNew = 1, lcInsert = 2, lcDelete = 3, lcSpare1 = 6, lcSpare2 = 7, lcSpare3 = 8,
  lcEdit = 9, lcDoubleClick = 10,
};
struct ListAnswer {
  int command = lcOk;
  int line = 0;  // 1-based selected line, 0 none
};

// Where a refused entry puts the focus.
enum class FormFocus { None, Formula, UpperLimit };

// The segment dialog TForm_kamonock.
struct SegmentForm {
  std::string caption;  // "f" + k + " (x)"
  std::string fromDeg, fromRad, toDeg, toRad, formula;
  std::string lengthUnit, angleUnit;
  int helpTopic = 0;
};
struct SectionAnswer {
  std::string formula, toDeg, error;  // error: refused, nothing to fill
  std::string note;   // shown beside the section (e.g. the segments a law adds on OK)
  bool keep = false;  // the user thought better of it: nothing to fill, nothing to say
};
struct SegmentCheck {
  std::string error;  // empty: stored, the dialog closes
  FormFocus focus = FormFocus::None;
  int cursor = 0;     // 0-based cursor position in the focused field
};
class SegmentLogic {
 public:
  virtual ~SegmentLogic() = default;
  virtual SegmentForm form() = 0;
  // The other limit field after leaving one of them.
  virtual std::string degreesToRadians(const std::string& deg) = 0;
  virtual std::string radiansToDegrees(const std::string& rad) = 0;
  // "Calculate" of the two-point section.
  virtual SectionAnswer section(const std::string& r1, const std::string& r2,
                                const std::string& phi2, bool sinus) = 0;
  // The laws the two-point section offers, "linear" and "sinus" first, and
  // "Calculate" with the law at index law of that list.
  virtual std::vector<std::string> sectionLaws() { return {"linear", "sinus"}; }
  virtual SectionAnswer sectionLaw(const std::string& r1, const std::string& r2,
                                   const std::string& phi2, int law) {
    return section(r1, r2, phi2, law == 1);
  }
  // "OK": checks and stores.
  virtual SegmentCheck confirm(const std::string& toDeg, const std::string& formula) = 0;
};

// One parameter dialog of the family of TForm_riboelip.
struct FormField {
  std::string name;   // Edit_<name>, Label_<name>, Label_unit_<name>, Button_def_<name>
  std::string label;
  std::string unit;   // unit label text (refilled on the unit switch)
  int hintTopic = 0;
  bool hasDefault = false;  // a "<" button
};
struct ParamForm {
  std::string objectName;  // TForm_riboelip, ...
  std::string caption;
  std::vector<FormField> fields;
  std::string radioName;                // RadioGroup_<name>; empty: none
  std::vector<std::string> radioItems;
  std::vector<std::string> notes;       // formula and other captions
  bool helpText = false;                // Button_hilfetext shown
  int helpTopic = 0;
  int curveType = 0;
};
struct ParamValues {
  std::vector<std::string> texts;
  int radio = 0;
  std::vector<bool> enabled;  // per field; empty: all enabled
};
// An outline to draw as the dialog's picture, in mm, closed.
using Outline = std::vector<std::pair<double, double>>;
class ParamLogic {
 public:
  virtual ~ParamLogic() = default;
  virtual ParamForm form() = 0;
  // The fields from the model, in the current unit system.
  virtual ParamValues fill() = 0;
  // The text the "<" button of field i writes.
  virtual std::string defaultText(size_t field, const ParamValues& v) = 0;
  // After a field or the radio group changed: dependent fields and states.
  virtual ParamValues changed(const ParamValues& v) { return v; }
  // "OK": false when a field is refused (the logic showed why).
  virtual bool store(const ParamValues& v) = 0;
  // "Calc": store, calculate, preview.
  virtual bool calc(const ParamValues& v) = 0;
  // "mm <--> inch": store and switch; the form is filled again afterwards.
  virtual bool toggleUnits(const ParamValues& v) = 0;
  // The picture of the curve type for the values in the model.
  virtual Outline outline() = 0;
};

// The position dialog TForm_einkoord.
struct PositionForm {
  std::string caption;               // "Koordinaten " + j
  std::string labelX, labelY, labelW;
  std::string unitX, unitY, unitW;
  std::string x, y, w;
};
class PositionLogic {
 public:
  virtual ~PositionLogic() = default;
  virtual int count() = 0;
  virtual PositionForm form(int j) = 0;
  // false when refused (the logic showed why).
  virtual bool store(int j, const std::string& x, const std::string& y, const std::string& w) = 0;
  virtual void toggleUnits() = 0;
  virtual int helpTopic() = 0;
};

// The coefficient dialog TForm_polynom.
struct PolyForm {
  std::string caption, formulaText;
  int n = 2;
  std::vector<std::string> coefficients;  // rows 1..50, round-trip texts
};
class PolyLogic {
 public:
  virtual ~PolyLogic() = default;
  virtual PolyForm form() = 0;
  virtual bool store(int n, const std::vector<std::string>& cells) = 0;
  // "Save": store, then write the project file.
  virtual bool save(int n, const std::vector<std::string>& cells) = 0;
  virtual bool calc(int n, const std::vector<std::string>& cells) = 0;
};

// A small settings dialog of edit rows, a radio group and check boxes
// (TForm_kamocalc, TForm_kamocam, TForm_kamoram, Tform_uni4).
struct FieldsCheck {
  std::string name;   // CheckBox_<name>
  std::string caption;
};
struct FieldsForm {
  std::string objectName;
  std::string caption;
  std::vector<FormField> fields;
  std::string radioName;  // RadioGroup_<name>; empty: none
  std::string radioTitle;
  std::vector<std::string> radioItems;
  int radioHint = 0;
  std::vector<FieldsCheck> checks;
  int helpTopic = 0;  // 0: no help button
  // Per field: the most characters the user may type (0 or missing: no
  // limit); a longer text already in the field is kept.
  std::vector<int> maxLengths;
};
struct FieldsValues {
  std::vector<std::string> texts;
  int radio = 0;
  std::vector<bool> checks;
};
class FieldsLogic {
 public:
  virtual ~FieldsLogic() = default;
  virtual FieldsForm form() = 0;
  virtual FieldsValues fill() = 0;
  // The text the "<" button of field i writes.
  virtual std::string defaultText(size_t field, const FieldsValues& v) = 0;
  // "OK": false when a field is refused (the logic showed why).
  virtual bool store(const FieldsValues& v) = 0;
};

// The point table editors TForm_ribopoin (curve type 8, fit points) and
// TForm_ribopoip (type 10, polar points): a grid of phi and r, the point
// count, the setting of the type and the commands of the buttons and menus.
// The logic holds the grid; the port shows what state() returns and hands
// every edit and command back.
struct PointTableForm {
  std::string objectName;  // TForm_ribopoin or TForm_ribopoip
  std::string caption;
  bool polar = false;      // type 10: File and Calc menus, "Calc", the check box
  int maxCount = 50;
  std::string copyCaption, pasteCaption, deleteCaption, insertCaption;
  std::vector<std::string> fitModes;    // RadioGroup1 (type 8)
  std::vector<std::string> polyNotes;   // shown with "Polynom" only
  std::string linearizeCaption;         // CheckBox_jarlinearisieren (type 10)
  int helpTopic = 0;
};
// A cell range of the grid: point rows from 0, columns 0 phi and 1 r.
struct PointCells {
  int top = 0, left = 0, bottom = 0, right = 0;
};
struct PointTableState {
  std::string phiHeader, rHeader;
  int count = 2;
  std::vector<std::array<std::string, 2>> rows;  // the count rows shown
  int setting = 0;  // type 8: 0 "Polynom", 1 "Cubic Spline"; type 10: linearize 0/1
};
enum class PointCommand {
  Ok, Calc, Save, AngleMode, Units, Sort, Multiply, Rotate, ImportDxf, ImportCsv, ExportCsv,
};
class PointTableLogic {
 public:
  virtual ~PointTableLogic() = default;
  virtual PointTableForm form() = 0;
  virtual PointTableState state() = 0;
  // The user changed one cell, the count, or the setting control.
  virtual void edit(int row, int column, const std::string& text) = 0;
  virtual void setCount(int n) = 0;
  virtual void setSetting(int v) = 0;
  // The clipboard text of a range, and a paste at the range's top-left cell.
  virtual std::string copy(const PointCells& cells) = 0;
  virtual void paste(const PointCells& cells, const std::string& text) = 0;
  // Delete Lines / Insert Lines for the rows first..last; false when refused
  // (the logic said why).
  virtual bool deleteRows(int first, int last) = 0;
  virtual bool insertRows(int first, int last) = 0;
  // A button or menu command; false when refused or cancelled (for Ok: the
  // dialog stays open).
  virtual bool command(PointCommand c) = 0;
};

// The motion programme dialog: a base circle and rows of (law, angle span in
// degrees, lift at the end), with a live preview of the follower's motion.
struct MotionRow {
  int law = 0;  // index into MotionForm::laws
  std::string span, lift;
};
struct MotionForm {
  std::string caption;
  std::vector<std::string> laws;   // the law names, in the order of MotionRow::law
  std::string base;
  std::vector<MotionRow> rows;
  std::string lengthUnit, angleUnit;
  int helpTopic = 0;
};
// One curve of the preview over the cam angle.
struct MotionCurve {
  std::string name;  // "s", "v", "a", "j"
  std::string unit;
  std::vector<double> values;
};
struct MotionPreview {
  std::vector<double> phi;           // degrees
  std::vector<MotionCurve> curves;   // s, v, a, jerk
  std::string summary;               // the sum of the spans, the segments, the speed
  std::string error;                 // the first problem; empty: "OK" stores
};
class MotionLogic {
 public:
  virtual ~MotionLogic() = default;
  virtual MotionForm form() = 0;
  virtual MotionPreview preview(const std::string& base, const std::vector<MotionRow>& rows) = 0;
  // "OK": empty when stored (the dialog closes), else the reason.
  virtual std::string confirm(const std::string& base, const std::vector<MotionRow>& rows) = 0;
};

}  // namespace kamo
