// Edit > "Geometrie (curve)": the choice of the curve type and the editor of
// each type (formula segments, positions with their transformation, the
// parameter dialogs, the polynomial coefficients), free of any toolkit. The
// forms go through the UI port; the logic behind their buttons lives here.
#pragma once
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cam/model.h"
#include "core/fields.h"
#include "core/forms.h"
#include "shell/language.h"

namespace kamo {

class Session;

// The output codes of a view setting (the start view and the preview after
// "Calc"): sheet kind 7, 9, 5, 2 or 10, or the s, v, a diagram.
struct ViewCode {
  bool diagram = false;
  int kind = 10;  // sheet kind; unused for the diagram
};
ViewCode ShowViewCode(int setting);

// What the curve editor needs from the program around it.
struct CurveInput {
  explicit CurveInput(Session& s) : session(s) {}
  Session& session;
  std::function<void()> calculate;      // the one calculation
  std::function<void(ViewCode)> show;   // a view on the screen
  std::function<void()> showErrors;     // the error explanation list
  std::function<bool()> saveProject;        // "Save" of the coefficient dialog
  // The metric unit system that "mm <--> inch" goes back to.
  int* metricBeforeInch = nullptr;
  // The save question of a command that replaces data ("Import DXF" of the
  // point table); false when the user cancelled.
  std::function<bool()> saveQuestion;
  // The menu words (copy, paste) of the point table editors; null: German.
  const GeneralWords* words = nullptr;
  // The project file was written or asked for during the command: a cancel
  // then leaves the restored project marked modified.
  bool fileTouched = false;
  bool calculated = false;  // a calculation ran during the command
  void calc() {
    calculated = true;
    if (calculate) calculate();
  }
};

// Everything the command may change: the curve type and all curve data.
struct CurveSnapshot {
  std::uint16_t curveType = 0;
  std::array<teilkurveRec, kMaxSegments + 1> segments{};
  int segmentCount = 0;
  std::vector<ContourPoint> basePoints;
  std::uint16_t basePointCount = 0;
  EllipseParams ellipse;
  SineParams sine;
  LinSineParams linSine;
  PolygonParams polygon;
  SinSqParams sinSq;
  EccentricParams eccentric;
  PolyParams poly;
  std::vector<PolarPoint> prPoints;
  int prCount = 0;
  int fitMode = 0;        // the settings of the point table editors
  bool linearize = true;
};
CurveSnapshot TakeCurveSnapshot(const CamProject& p);
void RestoreCurveSnapshot(CamProject& p, const CurveSnapshot& s);

// "mm <--> inch": inch, or back to the metric system that was active.
void ToggleInch(int& unitSystem, int& metricBeforeInch);

// The whole command: snapshot, choice, editor, calculation; a cancel
// restores the snapshot (and recalculates when a calculation ran).
void EditCurveGeometry(CurveInput& in);
// The choice and the editor of the chosen type, without the snapshot.
void ChooseCurveType(CurveInput& in);
void EditFormulaSegments(CurveInput& in);
void EditPositions(CurveInput& in);
// Edit > "Rücksetzen": true when the user said "Ja" and the points were cleared.
bool ResetCoordinates(Session& s);

// The list lines of the two list editors (UTF-8).
std::vector<std::string> SegmentLines(const Session& s);
std::vector<std::string> PositionLines(const Session& s);

// The two-point section of the segment dialog: R1 at phi1 to R2 at phi2
// (millimetres, degrees), linear or as a half sine wave.
std::string SectionFormula(Real r1, Real r2, Real phi1Deg, Real phi2Deg, bool sinus);

// The transformation of the positions.
struct PositionTransform {
  Real angleDeg = 0, shiftX = 0, shiftY = 0, scaleX = 1, scaleY = 1;
  int mirror = 3;  // 1 about the x axis, 2 about the y axis, 3 none
  bool reverse = false;
};
void TransformPositions(CamProject& p, const PositionTransform& t);

// The logic behind TForm_kamonock for segment k.
class SegmentEditor : public SegmentLogic {
 public:
  SegmentEditor(Session& s, int k);
  SegmentForm form() override;
  std::string degreesToRadians(const std::string& deg) override;
  std::string radiansToDegrees(const std::string& rad) override;
  SectionAnswer section(const std::string& r1, const std::string& r2, const std::string& phi2,
                        bool sinus) override;
  std::vector<std::string> sectionLaws() override;
  SectionAnswer sectionLaw(const std::string& r1, const std::string& r2, const std::string& phi2,
                           int law) override;
  SegmentCheck confirm(const std::string& toDeg, const std::string& formula) override;

 private:
  Session& s_;
  int k_;
  // The pieces of a law with several segments: the first one is in the
  // dialog, the rest go in after segment k on OK while the formula and the
  // upper limit are still the ones the law wrote.
  std::vector<teilkurveRec> pending_;
  SegmentCheck confirmOne(const std::string& toDeg, const std::string& formula);
  std::string pendingToDeg_;
  RealField upper_;
  Real lower_ = 0;
  std::string lowerText_;
};

// The logic behind the six parameter dialogs (curve types 2, 3, 4, 6, 9, 11).
class ParamEditor : public ParamLogic {
 public:
  ParamEditor(CurveInput& in, int curveType);
  ParamForm form() override;
  ParamValues fill() override;
  std::string defaultText(size_t field, const ParamValues& v) override;
  ParamValues changed(const ParamValues& v) override;
  bool store(const ParamValues& v) override;
  bool calc(const ParamValues& v) override;
  bool toggleUnits(const ParamValues& v) override;
  Outline outline() override;

 private:
  std::optional<Real> read(const ParamValues& v, size_t i) const;
  bool isLength(size_t i) const;
  CurveInput& in_;
  int type_;
  std::vector<RealField> fields_;
};

// The logic behind TForm_einkoord.
class PositionEditor : public PositionLogic {
 public:
  explicit PositionEditor(CurveInput& in) : in_(in) {}
  int count() override;
  PositionForm form(int j) override;
  bool store(int j, const std::string& x, const std::string& y, const std::string& w) override;
  void toggleUnits() override;
  int helpTopic() override { return 9010; }

 private:
  CurveInput& in_;
  std::map<int, std::array<RealField, 3>> shown_;
};

// The logic behind TForm_polynom.
class PolyEditor : public PolyLogic {
 public:
  explicit PolyEditor(CurveInput& in) : in_(in) {}
  PolyForm form() override;
  bool store(int n, const std::vector<std::string>& cells) override;
  bool save(int n, const std::vector<std::string>& cells) override;
  bool calc(int n, const std::vector<std::string>& cells) override;

 private:
  CurveInput& in_;
};

// Rounds to the nearest whole number, halves to the even neighbour.
Real RoundHalfEven(Real x);

}  // namespace kamo
