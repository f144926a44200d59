// The curve editor: type choice, formula segments, positions, parameter and
// coefficient dialogs.
#include "shell/curveinput.h"

#include <algorithm>
#include <cmath>

#include "cam/kamorech.h"
#include "cam/mathpars.h"
#include "cam/motionlaw.h"
#include "core/codepage.h"
#include "core/geometry.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "shell/pointtable.h"
#include "shell/session.h"

namespace kamo {

namespace {
const NumberStyle& Numbers(const Session& s) { return s.settings.numbers; }
std::string Show(const Session& s, const std::string& cp850) { return DisplayText(Numbers(s), cp850); }

std::optional<Real> ParseLengthText(const NumberStyle& ns, std::string_view t) {
  Real v = 0;
  if (!TryParseReal(t, v)) return std::nullopt;
  return ns.inch() ? v * kMmPerInch : v;
}
std::optional<Real> ParseRealText(std::string_view t) {
  Real v = 0;
  if (!TryParseReal(t, v)) return std::nullopt;
  return v;
}

constexpr int kTopicCurveType = 7880;
constexpr int kTopicFormulaList = 7800;
constexpr int kTopicFormulaInsert = 7810;
constexpr int kTopicFormulaEdit = 7910;
constexpr int kTopicFormulaDelete = 7920;
constexpr int kTopicPositionList = 8200;
constexpr int kTopicPositionInsert = 8210;
constexpr int kTopicPositionDelete = 8290;
}  // namespace

Real RoundHalfEven(Real x) {
  Real f = std::floor(x);
  Real d = x - f;
  if (d > 0.5L) return f + 1;
  if (d < 0.5L) return f;
  return std::fmod(f, 2.0L) == 0 ? f : f + 1;
}

CurveSnapshot TakeCurveSnapshot(const CamProject& p) {
  CurveSnapshot s;
  s.curveType = p.curveType;
  s.segments = p.segments;
  s.segmentCount = p.segmentCount;
  s.basePoints = p.basePoints;
  s.basePointCount = p.basePointCount;
  s.ellipse = p.ellipse;
  s.sine = p.sine;
  s.linSine = p.linSine;
  s.polygon = p.polygon;
  s.sinSq = p.sinSq;
  s.eccentric = p.eccentric;
  s.poly = p.poly;
  s.prPoints = p.prPoints;
  s.prCount = p.prCount;
  s.fitMode = p.calc.fitMode;
  s.linearize = p.calc.linearize;
  return s;
}

void RestoreCurveSnapshot(CamProject& p, const CurveSnapshot& s) {
  p.curveType = s.curveType;
  p.segments = s.segments;
  p.segmentCount = s.segmentCount;
  p.basePoints = s.basePoints;
  p.basePointCount = s.basePointCount;
  p.ellipse = s.ellipse;
  p.sine = s.sine;
  p.linSine = s.linSine;
  p.polygon = s.polygon;
  p.sinSq = s.sinSq;
  p.eccentric = s.eccentric;
  p.poly = s.poly;
  p.prPoints = s.prPoints;
  p.prCount = s.prCount;
  p.calc.fitMode = s.fitMode;
  p.calc.linearize = s.linearize;
}

ViewCode ShowViewCode(int setting) {
  switch (setting) {
    case 1: return {false, 7};
    case 2: return {false, 9};
    case 3: return {false, 5};
    case 4: return {true, 0};
    case 5: return {false, 2};
    default: return {false, 10};
  }
}

void ToggleInch(int& unitSystem, int& metricBeforeInch) {
  if (unitSystem == 1) {
    unitSystem = metricBeforeInch >= 0 && metricBeforeInch <= 4 && metricBeforeInch != 1 ? metricBeforeInch : 0;
  } else {
    metricBeforeInch = unitSystem;
    unitSystem = 1;
  }
}

// ---------------------------------------------------------------- command

void EditCurveGeometry(CurveInput& in) {
  Session& s = in.session;
  CurveSnapshot before = TakeCurveSnapshot(s.project());
  const bool modifiedBefore = s.flags.modified;
  ChooseCurveType(in);
  if (!s.flags.abortFlag) return;
  RestoreCurveSnapshot(s.project(), before);
  // The file may now hold what the command had entered: the restored
  // project differs from it.
  if (in.fileTouched) s.flags.modified = true;
  else s.flags.modified = modifiedBefore || s.flags.modified;
  if (in.calculated) {
    // The results follow the restored curve; the command stays cancelled.
    in.calc();
    s.flags.abortFlag = true;
  }
}

void ChooseCurveType(CurveInput& in) {
  Session& s = in.session;
  CamProject& p = s.project();
  for (int i = 1; i <= 11; ++i) s.uiState.choiceTexts[static_cast<size_t>(i)] = CurveTypeText(i);
  s.uiState.helpTopic = kTopicCurveType;
  int k = p.curveType >= 1 && p.curveType <= 11 ? p.curveType : 1;
  if (!s.ui.inputChoice("Kurventyp w\x84hlen", 11, k)) return;
  p.curveType = static_cast<std::uint16_t>(k);
  UiPort& port = s.ui.port();
  switch (k) {
    case ctFitPoints:
    case ctPolarPoints: {
      PointTableEditor e(in, k);
      s.flags.abortFlag = !port.pointTableDialog(e);
      break;
    }
    case ctFormula: EditFormulaSegments(in); break;
    case ctPoints: EditPositions(in); break;
    case ctPolynomial: {
      PolyEditor e(in);
      if (!port.polyDialog(e)) s.flags.abortFlag = true;
      else s.flags.abortFlag = false;
      break;
    }
    default: {
      ParamEditor e(in, k);
      if (!port.paramDialog(e)) s.flags.abortFlag = true;
      else s.flags.abortFlag = false;
      break;
    }
  }
  if (s.flags.abortFlag) return;
  in.calc();
  // A fatal calculation message stops the calculation, not the command.
  s.flags.abortFlag = false;
}

bool ResetCoordinates(Session& s) {
  s.uiState.helpTopic = 8340;
  bool yes = s.ui.askYesNo("Koordinaten auf 0 setzen ?");
  if (!yes || s.flags.abortFlag) return false;
  s.project().clearGeometry();
  return true;
}

// ---------------------------------------------------------------- formula segments

std::vector<std::string> SegmentLines(const Session& s) {
  const CamProject& p = s.project();
  const NumberStyle& ns = Numbers(s);
  std::vector<std::string> lines;
  int n = std::clamp(p.segmentCount, 0, kMaxSegments);
  for (int k = 1; k <= n; ++k) {
    Real lower = k == 1 ? 0 : p.segments[static_cast<size_t>(k - 1)].xMax;
    const teilkurveRec& seg = p.segments[static_cast<size_t>(k)];
    lines.push_back(Show(s, std::to_string(k) + ": x= " + FormatFixed(ns, 3, 2, lower) + " .. " +
                                FormatFixed(ns, 3, 2, seg.xMax) + ":  f(x)= " + seg.formula));
  }
  return lines;
}

namespace {
// Picks a line when none is selected; 0 when cancelled or there are none.
int PickLine(Session& s, const std::vector<std::string>& lines, int topic, const std::string& prompt) {
  if (lines.empty()) return 0;
  for (size_t i = 0; i < lines.size(); ++i) s.uiState.choiceTexts[i + 1] = Utf8ToCp850(lines[i]);
  s.uiState.helpTopic = topic;
  int k = 1;
  if (!s.ui.inputChoice(prompt, static_cast<int>(lines.size()), k)) return 0;
  return k;
}
}  // namespace

void EditFormulaSegments(CurveInput& in) {
  Session& s = in.session;
  CamProject& p = s.project();
  int selected = 0;
  for (;;) {
    p.segmentCount = std::clamp(p.segmentCount, 0, kMaxSegments);
    int n = p.segmentCount;
    ListForm f;
    f.caption = "Formel";
    f.lines = SegmentLines(s);
    f.selected = std::clamp(selected, 0, n);
    f.errorButton = !s.messages.empty();
    f.helpTopic = kTopicFormulaList;
    s.uiState.helpTopic = kTopicFormulaList;
    f.showErrors = in.showErrors;
    auto a = s.ui.port().listDialog(f);
    if (!a) {
      s.flags.abortFlag = true;
      return;
    }
    s.flags.abortFlag = false;
    selected = std::clamp(a->line, 0, n);
    int command = a->command;
    // An empty list: "Ändern" and "Einfügen" add the first segment.
    if ((command == lcEdit || command == lcInsert || command == lcDoubleClick) && n == 0) command = lcNew;
    int edit = 0;
    bool added = false;
    switch (command) {
      case lcOk: return;
      case lcNew:
        if (n + 1 > kMaxSegments) {
          s.ui.showErrorAlways("MAX = " + std::to_string(kMaxSegments) + " !");
          s.flags.abortFlag = true;
          return;
        }
        p.segmentCount = n + 1;
        p.segments[static_cast<size_t>(n + 1)] = teilkurveRec{360, {}};
        edit = n + 1;
        added = true;
        break;
      case lcInsert: {
        int at = selected;
        if (at == 0) at = PickLine(s, SegmentLines(s), kTopicFormulaInsert, "Select");
        if (at == 0) {
          s.flags.abortFlag = false;
          continue;
        }
        if (n + 1 > kMaxSegments) {
          s.ui.showErrorAlways("MAX = " + std::to_string(kMaxSegments) + " !");
          s.flags.abortFlag = true;
          return;
        }
        for (int i = n; i >= at; --i)
          p.segments[static_cast<size_t>(i + 1)] = p.segments[static_cast<size_t>(i)];
        p.segmentCount = n + 1;
        edit = at;
        added = true;
        break;
      }
      case lcDelete: {
        if (n == 0) continue;
        int at = selected;
        if (at == 0) at = PickLine(s, SegmentLines(s), kTopicFormulaDelete, "Select ...");
        if (at == 0) {
          s.flags.abortFlag = false;
          continue;
        }
        for (int i = at; i < n; ++i) p.segments[static_cast<size_t>(i)] = p.segments[static_cast<size_t>(i + 1)];
        p.segments[static_cast<size_t>(n)] = teilkurveRec{360, {}};
        p.segmentCount = n - 1;
        selected = std::min(selected, n - 1);
        continue;
      }
      case lcEdit: edit = selected > 0 ? selected : 1; break;
      case lcDoubleClick: edit = selected > 0 ? selected : 1; break;
      default: continue;
    }
    s.uiState.helpTopic = kTopicFormulaEdit;
    selected = edit;
    SegmentEditor e(s, edit);
    if (!s.ui.port().segmentDialog(e)) {
      if (added) {
        // The slot that "Neu" or "Einfügen" made goes again.
        for (int i = edit; i < p.segmentCount; ++i)
          p.segments[static_cast<size_t>(i)] = p.segments[static_cast<size_t>(i + 1)];
        p.segments[static_cast<size_t>(p.segmentCount)] = teilkurveRec{360, {}};
        --p.segmentCount;
        selected = std::min(selected, p.segmentCount);
      }
      // Back to the list: only its own "Abbrechen" ends the editor, so the
      // segments entered so far are not thrown away with the snapshot.
      s.flags.abortFlag = false;
    }
  }
}

std::string SectionFormula(Real r1, Real r2, Real phi1Deg, Real phi2Deg, bool sinus) {
  Real phi1 = DegToRad(phi1Deg);
  Real d = DegToRad(phi2Deg) - phi1;
  if (!sinus)
    return FormulaNumber(r1) + "+(" + FormulaNumber(r2) + "-" + FormulaNumber(r1) + ")*(X-" +
           FormulaAngle(phi1) + ")/" + FormulaAngle(d);
  Real m = (r1 + r2) / 2, h = (r2 - r1) / 2;
  return FormulaNumber(m) + "+" + FormulaNumber(h) + "*SIN((X-" + FormulaAngle(phi1) + ")/" +
         FormulaAngle(d) + "*PI-PI/2)";
}

SegmentEditor::SegmentEditor(Session& s, int k) : s_(s), k_(k) {
  const CamProject& p = s.project();
  const NumberStyle& ns = Numbers(s);
  lower_ = k == 1 ? 0 : p.segments[static_cast<size_t>(k - 1)].xMax;
  lowerText_ = k == 1 ? "0" : FormatGeneral(ns, lower_);
  Real upper = p.segments[static_cast<size_t>(k)].xMax;
  upper_ = RealField(upper, FormatGeneral(ns, upper));
}

SegmentForm SegmentEditor::form() {
  const NumberStyle& ns = Numbers(s_);
  const CamProject& p = s_.project();
  SegmentForm f;
  f.caption = "f" + std::to_string(k_) + " (x)";
  f.fromDeg = Show(s_, lowerText_);
  f.fromRad = Show(s_, FormatDecimals(ns, 5, DegToRad(lower_)));
  f.toDeg = Show(s_, upper_.shown());
  f.toRad = Show(s_, FormatDecimals(ns, 5, DegToRad(upper_.value())));
  f.formula = FieldFromStored(p.segments[static_cast<size_t>(k_)].formula);
  f.lengthUnit = Show(s_, UnitLength(ns));
  f.angleUnit = Show(s_, UnitAngle(ns));
  f.helpTopic = s_.uiState.helpTopic;
  return f;
}

std::string SegmentEditor::degreesToRadians(const std::string& deg) {
  Real v = upper_.read(Utf8ToCp850(deg), ParseRealText).value_or(0);
  return Show(s_, FormatDecimals(Numbers(s_), 6, DegToRad(v)));
}

std::string SegmentEditor::radiansToDegrees(const std::string& rad) {
  return Show(s_, FormatGeneral(Numbers(s_), RadToDeg(ParseReal(Utf8ToCp850(rad)))));
}

SectionAnswer SegmentEditor::section(const std::string& r1, const std::string& r2,
                                     const std::string& phi2, bool sinus) {
  const NumberStyle& ns = Numbers(s_);
  SectionAnswer a;
  auto v1 = ParseLengthText(ns, Utf8ToCp850(r1));
  auto v2 = ParseLengthText(ns, Utf8ToCp850(r2));
  auto p2 = upper_.read(Utf8ToCp850(phi2), ParseRealText);
  if (!v1 || !v2 || !p2) {
    a.error = "Fehler : R1, R2 und phi2 als Zahlen eingeben !";
    return a;
  }
  if (*p2 <= lower_) {
    a.error = "Fehler : " + phi2 + " <= " + Show(s_, lowerText_) + " !";
    return a;
  }
  a.formula = SectionFormula(*v1, *v2, lower_, *p2, sinus);
  a.toDeg = phi2;
  return a;
}

namespace {
// The laws of the two-point section after "linear" and "sinus".
const MotionLaw kSectionLaws[] = {MotionLaw::Cycloidal, MotionLaw::Poly345, MotionLaw::Poly4567,
                                  MotionLaw::ModTrap,   MotionLaw::ModSine, MotionLaw::Dwell};
}  // namespace

std::vector<std::string> SegmentEditor::sectionLaws() {
  std::vector<std::string> names{"linear", "sinus"};
  for (MotionLaw l : kSectionLaws) names.push_back(Cp850ToUtf8(MotionLawName(l)));
  return names;
}

SectionAnswer SegmentEditor::sectionLaw(const std::string& r1, const std::string& r2,
                                        const std::string& phi2, int law) {
  pending_.clear();
  pendingToDeg_.clear();
  if (law <= 1 || law - 2 >= static_cast<int>(std::size(kSectionLaws))) return section(r1, r2, phi2, law == 1);
  MotionLaw l = kSectionLaws[law - 2];
  const NumberStyle& ns = Numbers(s_);
  SectionAnswer a;
  auto v1 = ParseLengthText(ns, Utf8ToCp850(r1));
  bool dwell = l == MotionLaw::Dwell;
  auto v2 = dwell && Trim(r2).empty() ? v1 : ParseLengthText(ns, Utf8ToCp850(r2));
  auto p2 = upper_.read(Utf8ToCp850(phi2), ParseRealText);
  if (!v1 || !v2 || !p2) {
    a.error = "Fehler : R1, R2 und phi2 als Zahlen eingeben !";
    return a;
  }
  if (*p2 <= lower_) {
    a.error = "Fehler : " + phi2 + " <= " + Show(s_, lowerText_) + " !";
    return a;
  }
  if (dwell && *v2 != *v1) {
    a.error = Show(s_, "Fehler : Rast: R2 muss leer oder gleich R1 sein !");
    return a;
  }
  std::vector<teilkurveRec> pieces = MotionLawSegments(l, lower_, *p2, *v1, *v2);
  int more = static_cast<int>(pieces.size()) - 1;
  std::string name = MotionLawName(l);
  if (more > 0) {
    CamProject& p = s_.project();
    int count = std::max(p.segmentCount, k_);
    if (count + more > kMaxSegments) {
      a.error = Show(s_, "Fehler : Segmente: " + name + " braucht " + std::to_string(pieces.size()) +
                             ", frei sind nur " + std::to_string(kMaxSegments - count + 1) + " !");
      return a;
    }
    std::string question = name + " braucht " + std::to_string(pieces.size()) + " Segmente: f" +
                           std::to_string(k_) + " wird ersetzt, " + std::to_string(more) +
                           " Segmente werden dahinter eingef\x81gt. Weiter ?";
    bool yes = s_.ui.askYesNo(question);
    // A cancelled question goes back to the dialog, like "Nein".
    s_.flags.abortFlag = false;
    if (!yes) {
      a.keep = true;
      return a;
    }
    pending_ = pieces;
    pendingToDeg_ = Show(s_, FormatGeneral(ns, pieces.front().xMax));
    a.note = Show(s_, name + ": f" + std::to_string(k_) + " bis f" + std::to_string(k_ + more) +
                          " werden mit OK geschrieben");
  }
  a.formula = pieces.front().formula;
  a.toDeg = more > 0 ? pendingToDeg_ : phi2;
  return a;
}

SegmentCheck SegmentEditor::confirm(const std::string& toDeg, const std::string& formula) {
  SegmentCheck c = confirmOne(toDeg, formula);
  if (!c.error.empty() || pending_.empty()) return c;
  CamProject& p = s_.project();
  teilkurveRec& seg = p.segments[static_cast<size_t>(k_)];
  // The law's pieces only while the dialog still shows what the law wrote.
  if (toDeg != pendingToDeg_ || seg.formula != pending_.front().formula) return c;
  int more = static_cast<int>(pending_.size()) - 1;
  int count = std::max(p.segmentCount, k_);
  if (count + more > kMaxSegments) return c;
  seg.xMax = pending_.front().xMax;
  for (int i = count; i > k_; --i)
    p.segments[static_cast<size_t>(i + more)] = p.segments[static_cast<size_t>(i)];
  for (int i = 1; i <= more; ++i) p.segments[static_cast<size_t>(k_ + i)] = pending_[static_cast<size_t>(i)];
  p.segmentCount = count + more;
  pending_.clear();
  return c;
}

SegmentCheck SegmentEditor::confirmOne(const std::string& toDeg, const std::string& formula) {
  SegmentCheck c;
  if (Trim(formula).empty()) {
    c.error = "f(x) = ???";
    c.focus = FormFocus::Formula;
    return c;
  }
  StoredText stored = FieldToStored(formula);
  if (!stored.ok()) {
    c.error = Show(s_, stored.error);
    c.focus = FormFocus::Formula;
    return c;
  }
  std::string f = stored.text;
  FormulaResult r = EvalFormula(f, DegToRad(lower_));
  if (r.error != 0 && r.error != kFormulaDomain) {
    c.error = "Fehler : " + formula +
              (r.error > 0 ? " (Pos. " + std::to_string(r.error) + ")" : std::string(" (Klammern)"));
    c.focus = FormFocus::Formula;
    c.cursor = r.error > 0 ? r.error - 1 : 0;
  }
  std::string upperText = Utf8ToCp850(toDeg);
  auto upper = upper_.read(upperText, ParseRealText);
  if (!upper || !(lower_ < *upper)) {
    c.error = Show(s_, "Fehler : " + upperText + " >= " + lowerText_ + " !");
    c.focus = FormFocus::UpperLimit;
    c.cursor = 0;
    return c;
  }
  if (!c.error.empty()) return c;
  teilkurveRec& seg = s_.project().segments[static_cast<size_t>(k_)];
  seg.formula = stored.text;
  seg.xMax = *upper;
  return c;
}

// ---------------------------------------------------------------- positions

std::vector<std::string> PositionLines(const Session& s) {
  const CamProject& p = s.project();
  const NumberStyle& ns = Numbers(s);
  std::vector<std::string> lines;
  std::string unit = UnitLength(ns);
  int n = std::min<int>(p.basePointCount, static_cast<int>(p.basePoints.size()) - 1);
  for (int j = 1; j <= n; ++j) {
    const ContourPoint& c = p.basePoints[static_cast<size_t>(j)];
    lines.push_back(Show(s, "Pos." + ZeroPad(j, 3) + ":  x=" + FormatLengthFixed(ns, 5, 3, c.x) + " " +
                                unit + "     y=" + FormatLengthFixed(ns, 5, 3, c.y) + " " + unit +
                                "     phi=" + FormatFixed(ns, 4, 2, RadToDeg(c.phi))));
  }
  return lines;
}

void TransformPositions(CamProject& p, const PositionTransform& t) {
  Real a = DegToRad(t.angleDeg);
  Real c = std::cos(a), sn = std::sin(a);
  if (t.angleDeg == 90 || t.angleDeg == -270) { c = 0; sn = 1; }
  if (t.angleDeg == -90 || t.angleDeg == 270) { c = 0; sn = -1; }
  if (t.angleDeg == 180 || t.angleDeg == -180) { c = -1; sn = 0; }
  int n = std::min<int>(p.basePointCount, static_cast<int>(p.basePoints.size()) - 1);
  for (int j = 1; j <= n; ++j) {
    ContourPoint& q = p.basePoints[static_cast<size_t>(j)];
    Real xs = q.x * t.scaleX, ys = q.y * t.scaleY;
    q.x = t.shiftX + xs * c - ys * sn;
    q.y = t.shiftY + ys * c + xs * sn;
  }
  // "Spiegeln um Achse x" mirrors about the x axis: y changes sign.
  if (t.mirror == 1) p.MirrorBasePointsY();
  if (t.mirror == 2) p.MirrorBasePointsX();
  if (t.reverse) p.ReverseBasePoints();
}

namespace {
void DrawGeometry(CurveInput& in) {
  Session& s = in.session;
  if (s.settings.helpLevel == 0) return;
  in.calc();
  s.flags.abortFlag = false;
  if (!s.flags.calcError && s.project().basePointCount > 2 && in.show) in.show(ViewCode{false, 2});
}

// The transformation prompts; false at the first cancel.
bool AskTransform(Session& s, PositionTransform& t) {
  Ui& ui = s.ui;
  s.uiState.helpTopic = 8400;
  if (!ui.inputReal("Drehwinkel " + UnitAngle(Numbers(s)), t.angleDeg, -360, 360)) return false;
  s.uiState.helpTopic = 8410;
  if (!ui.inputLength("Verschiebung x", t.shiftX, -1e38L, 1e38L)) return false;
  if (!ui.inputLength("Verschiebung y", t.shiftY, -1e38L, 1e38L)) return false;
  s.uiState.helpTopic = 8420;
  for (Real* scale : {&t.scaleX, &t.scaleY}) {
    for (;;) {
      if (!ui.inputReal(scale == &t.scaleX ? "Ma\xE1stab x" : "Ma\xE1stab y", *scale, -1e38L, 1e38L)) return false;
      if (*scale != 0) break;
      // A scale of 0 would collapse the contour to a line.
      ui.showErrorAlways("G\x81ltiger Wertebereich: -1E38 .. 1E38, au\xE1" "er 0 !");
      *scale = 1;
    }
  }
  s.uiState.helpTopic = 8430;
  s.uiState.choiceTexts[1] = "Spiegeln um Achse x";
  s.uiState.choiceTexts[2] = "Spiegeln um Achse y";
  s.uiState.choiceTexts[3] = "nicht spiegeln";
  t.mirror = 3;
  if (!ui.inputChoice("Spiegeln", 3, t.mirror)) return false;
  s.uiState.helpTopic = 8440;
  t.reverse = false;
  return ui.inputYesNo("Richtungssinn umkehren", t.reverse);
}
}  // namespace

void EditPositions(CurveInput& in) {
  Session& s = in.session;
  CamProject& p = s.project();
  if (p.basePoints.size() < static_cast<size_t>(kMaxBasePoints + 1))
    p.basePoints.resize(kMaxBasePoints + 1, ContourPoint{kNotEntered, kNotEntered, 0});
  int selected = 0;
  for (;;) {
    int n = std::min<int>(p.basePointCount, kMaxBasePoints);
    p.basePointCount = static_cast<std::uint16_t>(n);
    ListForm f;
    f.caption = "Eingabe der Positionen";
    f.lines = PositionLines(s);
    f.selected = std::clamp(selected, 0, n);
    f.spare = {"Transform.", "", ""};
    f.errorButton = !s.messages.empty();
    f.showErrors = in.showErrors;
    f.helpTopic = kTopicPositionList;
    s.uiState.helpTopic = kTopicPositionList;
    auto a = s.ui.port().listDialog(f);
    if (!a) {
      s.flags.abortFlag = true;
      return;
    }
    s.flags.abortFlag = false;
    selected = std::clamp(a->line, 0, n);
    int command = a->command;
    if ((command == lcEdit || command == lcInsert || command == lcDoubleClick) && n == 0) command = lcNew;
    int edit = 0;
    bool added = false;
    switch (command) {
      case lcOk: return;
      case lcNew:
        if (n + 1 > kMaxBasePoints) {
          s.ui.showErrorAlways("zu viele Punkte !");
          s.flags.abortFlag = true;
          return;
        }
        p.basePoints[static_cast<size_t>(n + 1)] = ContourPoint{kNotEntered, kNotEntered, 0};
        p.basePointCount = static_cast<std::uint16_t>(n + 1);
        edit = n + 1;
        added = true;
        break;
      case lcInsert: {
        int at = selected;
        if (at == 0) at = PickLine(s, PositionLines(s), kTopicPositionInsert,
                                   "Vor welcher Position soll eingef\x81gt werden ?");
        if (at == 0) {
          s.flags.abortFlag = false;
          continue;
        }
        if (n + 1 > kMaxBasePoints) {
          s.ui.showErrorAlways("zu viele Punkte !");
          s.flags.abortFlag = true;
          return;
        }
        for (int i = n; i >= at; --i)
          p.basePoints[static_cast<size_t>(i + 1)] = p.basePoints[static_cast<size_t>(i)];
        p.basePointCount = static_cast<std::uint16_t>(n + 1);
        edit = at;
        added = true;
        break;
      }
      case lcDelete: {
        if (n == 0) continue;
        int at = selected;
        if (at == 0) at = PickLine(s, PositionLines(s), kTopicPositionDelete, "zu l\x94schende Position w\x84hlen  ...");
        if (at == 0) {
          s.flags.abortFlag = false;
          continue;
        }
        for (int i = at; i < n; ++i) p.basePoints[static_cast<size_t>(i)] = p.basePoints[static_cast<size_t>(i + 1)];
        p.basePoints[static_cast<size_t>(n)] = ContourPoint{kNotEntered, kNotEntered, 0};
        p.basePointCount = static_cast<std::uint16_t>(n - 1);
        selected = std::min(selected, n - 1);
        DrawGeometry(in);
        continue;
      }
      case lcSpare1: {
        PositionTransform t;
        if (!AskTransform(s, t)) {
          // A cancelled prompt leaves the positions as they are and the list open.
          s.flags.abortFlag = false;
          continue;
        }
        TransformPositions(p, t);
        if (p.basePointCount == 0) {
          s.ui.showErrorAlways("Fehler : keine Geometrie eingegeben !");
          continue;
        }
        in.calc();
        s.flags.abortFlag = false;
        if (s.flags.calcError) {
          if (in.showErrors) in.showErrors();
        } else if (in.show) {
          in.show(ViewCode{false, 1});  // "Geometrie mit Tabelle"
        }
        continue;
      }
      case lcEdit:
      case lcDoubleClick: edit = selected > 0 ? selected : 1; break;
      default: continue;
    }
    selected = edit;
    ContourPoint& q = p.basePoints[static_cast<size_t>(edit)];
    if (edit > 1) {
      const ContourPoint& prev = p.basePoints[static_cast<size_t>(edit - 1)];
      if (q.x == kNotEntered) q.x = prev.x;
      if (q.y == kNotEntered) q.y = prev.y;
    }
    PositionEditor e(in);
    s.uiState.helpTopic = 9010;
    bool ok = s.ui.port().positionDialog(e, edit);
    if (!ok && added) {
      int count = p.basePointCount;
      for (int i = edit; i < count; ++i) p.basePoints[static_cast<size_t>(i)] = p.basePoints[static_cast<size_t>(i + 1)];
      p.basePoints[static_cast<size_t>(count)] = ContourPoint{kNotEntered, kNotEntered, 0};
      p.basePointCount = static_cast<std::uint16_t>(count - 1);
      selected = std::min<int>(selected, p.basePointCount);
    }
    // A cancelled position dialog goes back to the list, whatever the help level.
    s.flags.abortFlag = false;
    DrawGeometry(in);
  }
}

int PositionEditor::count() { return in_.session.project().basePointCount; }

PositionForm PositionEditor::form(int j) {
  Session& s = in_.session;
  CamProject& p = s.project();
  const NumberStyle& ns = Numbers(s);
  j = std::clamp(j, 1, std::max(1, count()));
  ContourPoint& q = p.basePoints[static_cast<size_t>(j)];
  if (j > 1) {
    const ContourPoint& prev = p.basePoints[static_cast<size_t>(j - 1)];
    if (q.x == kNotEntered) q.x = prev.x;
    if (q.y == kNotEntered) q.y = prev.y;
  }
  PositionForm f;
  f.caption = "Koordinaten " + std::to_string(j);
  f.labelX = "X " + std::to_string(j);
  f.labelY = "Y " + std::to_string(j);
  f.labelW = "Kreisbogenwinkel " + std::to_string(j) + "-" + std::to_string(j + 1);
  f.unitX = f.unitY = Show(s, UnitLength(ns));
  f.unitW = Show(s, UnitAngle(ns));
  std::array<RealField, 3> fields{RealField(q.x, FormatLength(ns, q.x)), RealField(q.y, FormatLength(ns, q.y)),
                                  RealField(RadToDeg(q.phi), FormatGeneral(ns, RadToDeg(q.phi)))};
  shown_[j] = fields;
  f.x = Show(s, fields[0].shown());
  f.y = Show(s, fields[1].shown());
  f.w = Show(s, fields[2].shown());
  return f;
}

bool PositionEditor::store(int j, const std::string& x, const std::string& y, const std::string& w) {
  Session& s = in_.session;
  if (j < 1 || j > count()) return false;
  const NumberStyle& ns = Numbers(s);
  auto it = shown_.find(j);
  std::array<RealField, 3> fields = it != shown_.end() ? it->second : std::array<RealField, 3>{};
  auto len = [&ns](std::string_view t) { return ParseLengthText(ns, t); };
  const std::string texts[3] = {Utf8ToCp850(x), Utf8ToCp850(y), Utf8ToCp850(w)};
  Real v[3];
  for (int i = 0; i < 3; ++i) {
    auto r = i < 2 ? fields[static_cast<size_t>(i)].read(texts[i], len)
                   : fields[static_cast<size_t>(i)].read(texts[i], ParseRealText);
    if (!r) {
      s.ui.showErrorAlways("Ung\x81ltige Eingabe \"" + texts[i] + "\" !");
      return false;
    }
    v[i] = *r;
  }
  ContourPoint& q = s.project().basePoints[static_cast<size_t>(j)];
  q.x = v[0];
  q.y = v[1];
  // An unchanged angle keeps its exact radians.
  if (!fields[2].unchanged(texts[2])) q.phi = DegToRad(v[2]);
  shown_.erase(j);
  return true;
}

void PositionEditor::toggleUnits() {
  Session& s = in_.session;
  int dummy = 0;
  ToggleInch(s.settings.numbers.unitSystem, in_.metricBeforeInch ? *in_.metricBeforeInch : dummy);
}

// ---------------------------------------------------------------- parameter dialogs

namespace {
enum class Kind { Length, Angle, Count };
struct FieldDef {
  const char* name;
  const char* label;  // UTF-8
  Kind kind;
  int hint;
  bool hasDefault;
};
struct TypeDef {
  int type;
  const char* objectName;
  const char* word;
  std::vector<FieldDef> fields;
  const char* radioName;
  std::vector<std::string> radioItems;
  std::vector<std::string> notes;
  bool helpText;
};

const std::vector<TypeDef>& TypeDefs() {
  static const std::vector<TypeDef> defs = {
      {ctEllipse, "TForm_riboelip", "Ellipse",
       {{"a", "Halblänge a", Kind::Length, 7830, false}, {"b", "Halblänge b", Kind::Length, 7840, true}},
       "variant", {"Ellipse ab", "Ellipse a", "Ellipse b"}, {}, true},
      {ctSine, "TForm_ribosin", "Sinus",
       {{"rw0", "Basis-Wälzkreis rw0", Kind::Length, 7850, false},
        {"A", "Amplitude A", Kind::Length, 7860, true},
        {"N", "Anzahl N", Kind::Count, 7865, true}},
       "", {}, {"r = rw0 + A * sin (N * phi)"}, true},
      {ctLinearSine, "TForm_riboslin", "Sinus-Linear",
       {{"rw0", "Basis-Wälzkreis rw0", Kind::Length, 7850, false},
        {"A", "Amplitude A", Kind::Length, 7860, true},
        {"philin", "Wendepunkt-Winkel", Kind::Angle, 7870, true}},
       "", {}, {"0° .. phi lin: linear", "phi lin .. 360°: sinus"}, false},
      {ctPolygon, "TForm_ribopg", "Polygon",
       {{"z", "Anzahl Ecken z", Kind::Count, 7950, false},
        {"di", "Schlüsselweite (Inkreis) Di", Kind::Length, 7960, false},
        {"de", "Eckweite (Umkreis) De", Kind::Length, 7970, false}},
       "dide", {"Di", "De"}, {}, false},
      {ctEccentric, "TForm_riboexz", "Exzenter",
       {{"d", "Durchmesser d", Kind::Length, 7980, false}, {"e", "Exzentrizität e", Kind::Length, 7990, true}},
       "", {}, {}, false},
      {ctSinSquare, "TForm_kamog1", "Nocken",
       {{"db", "Grundkreisdurchmesser db", Kind::Length, 0, true},
        {"sh", "Hub sh", Kind::Length, 0, true},
        {"w", "Arbeitswinkel w", Kind::Angle, 0, true}},
       "", {}, {"r (phi) = db/2 + sh * (sin² (180/w * phi))"}, false},
  };
  return defs;
}
const TypeDef& DefOf(int type) {
  for (const TypeDef& d : TypeDefs())
    if (d.type == type) return d;
  return TypeDefs().front();
}

// The model values of a type, in mm and degrees, in field order.
std::vector<Real> ModelValues(const CamProject& p, int type) {
  switch (type) {
    case ctEllipse: return {p.ellipse.a, p.ellipse.b};
    case ctSine: return {p.sine.rw0, p.sine.A, static_cast<Real>(p.sine.N)};
    case ctLinearSine: return {p.linSine.rw0, p.linSine.A, p.linSine.phiLin};
    case ctPolygon: return {static_cast<Real>(p.polygon.z), p.polygon.di, p.polygon.de};
    case ctEccentric: return {p.eccentric.d, p.eccentric.e};
    case ctSinSquare: return {p.sinSq.db, p.sinSq.sh, p.sinSq.w};
    default: return {};
  }
}

Real CosHalfAngle(int z) { return std::cos(kPi / static_cast<Real>(z)); }
}  // namespace

ParamEditor::ParamEditor(CurveInput& in, int curveType) : in_(in), type_(DefOf(curveType).type) {}

bool ParamEditor::isLength(size_t i) const {
  const TypeDef& d = DefOf(type_);
  return i < d.fields.size() && d.fields[i].kind == Kind::Length;
}

ParamForm ParamEditor::form() {
  Session& s = in_.session;
  const NumberStyle& ns = Numbers(s);
  const TypeDef& d = DefOf(type_);
  ParamForm f;
  f.objectName = d.objectName;
  f.caption = std::string(kProductName) + " " + d.word;
  for (const FieldDef& fd : d.fields) {
    FormField ff;
    ff.name = fd.name;
    ff.label = fd.label;
    ff.unit = fd.kind == Kind::Length ? Show(s, UnitLength(ns)) : fd.kind == Kind::Angle ? Show(s, UnitAngle(ns)) : "";
    ff.hintTopic = fd.hint ? fd.hint : s.uiState.helpTopic;
    ff.hasDefault = fd.hasDefault;
    f.fields.push_back(ff);
  }
  f.radioName = d.radioName;
  f.radioItems = d.radioItems;
  f.notes = d.notes;
  f.helpText = d.helpText;
  f.helpTopic = d.helpText ? 1000 : s.uiState.helpTopic;
  f.curveType = type_;
  return f;
}

ParamValues ParamEditor::fill() {
  Session& s = in_.session;
  const NumberStyle& ns = Numbers(s);
  const CamProject& p = s.project();
  std::vector<Real> values = ModelValues(p, type_);
  ParamValues v;
  fields_.clear();
  for (size_t i = 0; i < values.size(); ++i) {
    std::string shown = isLength(i) ? FormatLength(ns, values[i]) : FormatGeneral(ns, values[i]);
    fields_.emplace_back(values[i], shown);
    v.texts.push_back(Show(s, shown));
  }
  if (type_ == ctEllipse) v.radio = std::clamp(p.ellipse.variant, 0, 2);
  if (type_ == ctPolygon) v.radio = 0;
  return changed(v);
}

std::optional<Real> ParamEditor::read(const ParamValues& v, size_t i) const {
  const NumberStyle& ns = Numbers(in_.session);
  std::string text = i < v.texts.size() ? Utf8ToCp850(v.texts[i]) : std::string();
  if (i >= fields_.size()) return std::nullopt;
  if (isLength(i)) return fields_[i].read(text, [&ns](std::string_view t) { return ParseLengthText(ns, t); });
  return fields_[i].read(text, ParseRealText);
}

std::string ParamEditor::defaultText(size_t field, const ParamValues& v) {
  Session& s = in_.session;
  const NumberStyle& ns = Numbers(s);
  auto round = [&](size_t from, Real f) {
    return Show(s, FormatLength(ns, RoundHalfEven(read(v, from).value_or(0) * f)));
  };
  switch (type_) {
    case ctEllipse: return field == 1 ? round(0, 0.9L) : v.texts[field];
    case ctSine: return field == 1 ? round(0, 0.1L) : field == 2 ? "1" : v.texts[field];
    case ctLinearSine: return field == 1 ? round(0, 0.1L) : field == 2 ? "225" : v.texts[field];
    case ctEccentric: return field == 1 ? round(0, 0.1L) : v.texts[field];
    case ctSinSquare:
      if (field == 0) return "20";
      if (field == 2) return "135";
      return Show(s, FormatLength(ns, read(v, 0).value_or(0) / 5));
    default: return field < v.texts.size() ? v.texts[field] : std::string();
  }
}

ParamValues ParamEditor::changed(const ParamValues& in) {
  ParamValues v = in;
  if (type_ != ctPolygon) return v;
  const NumberStyle& ns = Numbers(in_.session);
  v.enabled = {true, v.radio == 0, v.radio == 1};
  // The dependent field follows only for a polygon (z of 3 and more).
  auto z = read(v, 0);
  if (!z || RoundHalfEven(*z) < 3 || RoundHalfEven(*z) > 65535) return v;
  int n = static_cast<int>(RoundHalfEven(*z));
  if (v.radio == 0) {
    if (auto di = read(v, 1)) v.texts[2] = Show(in_.session, FormatLength(ns, *di / CosHalfAngle(n)));
  } else {
    if (auto de = read(v, 2)) v.texts[1] = Show(in_.session, FormatLength(ns, *de * CosHalfAngle(n)));
  }
  return v;
}

bool ParamEditor::store(const ParamValues& v) {
  Session& s = in_.session;
  CamProject& p = s.project();
  size_t n = DefOf(type_).fields.size();
  std::vector<Real> x(n, 0);
  for (size_t i = 0; i < n; ++i) {
    // Text that is no number reads as 0, as typed values always did.
    x[i] = read(v, i).value_or(0);
  }
  switch (type_) {
    case ctEllipse:
      p.ellipse.a = x[0];
      p.ellipse.b = x[1];
      p.ellipse.variant = std::clamp(v.radio, 0, 2);
      break;
    case ctSine: {
      Real nn = RoundHalfEven(x[2]);
      p.sine.rw0 = x[0];
      p.sine.A = x[1];
      p.sine.N = nn == 0 || std::fabs(nn) > 1e6L ? 1 : static_cast<int>(nn);
      break;
    }
    case ctLinearSine:
      p.linSine.rw0 = x[0];
      p.linSine.A = x[1];
      p.linSine.phiLin = x[2] == 0 ? 225 : x[2];
      break;
    case ctPolygon: {
      Real z = RoundHalfEven(x[0]);
      if (!(z >= 3 && z <= 65535)) {
        s.ui.showErrorAlways("G\x81ltiger Wertebereich: Anzahl Ecken 3 .. 65535 !");
        return false;
      }
      int zi = static_cast<int>(z);
      p.polygon.z = static_cast<std::uint16_t>(zi);
      // The entered one is stored as typed, the other one exactly as computed.
      if (v.radio == 0) {
        p.polygon.di = x[1];
        p.polygon.de = x[1] / CosHalfAngle(zi);
      } else {
        p.polygon.de = x[2];
        p.polygon.di = x[2] * CosHalfAngle(zi);
      }
      break;
    }
    case ctEccentric:
      p.eccentric.d = x[0];
      p.eccentric.e = x[1];
      break;
    case ctSinSquare:
      p.sinSq.db = x[0];
      p.sinSq.sh = x[1];
      p.sinSq.w = x[2];
      break;
    default: break;
  }
  p.curveType = static_cast<std::uint16_t>(type_);
  // The stored values are what the fields stand for now.
  std::vector<Real> stored = ModelValues(p, type_);
  for (size_t i = 0; i < fields_.size() && i < stored.size(); ++i) {
    std::string text = i < v.texts.size() ? Utf8ToCp850(v.texts[i]) : std::string();
    fields_[i] = RealField(stored[i], text);
  }
  return true;
}

bool ParamEditor::calc(const ParamValues& v) {
  if (!store(v)) return false;
  in_.calc();
  in_.session.flags.abortFlag = false;
  if (in_.session.settings.helpLevel != 0 && in_.show) in_.show(ShowViewCode(in_.session.settings.calcResultGraphic));
  return true;
}

bool ParamEditor::toggleUnits(const ParamValues& v) {
  if (!store(v)) return false;
  int dummy = 0;
  ToggleInch(in_.session.settings.numbers.unitSystem, in_.metricBeforeInch ? *in_.metricBeforeInch : dummy);
  return true;
}

Outline ParamEditor::outline() {
  CamProject copy = in_.session.project();
  copy.curveType = static_cast<std::uint16_t>(type_);
  MessageList messages;
  Flags flags;
  if (type_ == ctLinearSine && !PrepareLinearSine(copy, messages, flags)) return {};
  Outline o;
  constexpr int kSteps = 360;
  for (int i = 0; i <= kSteps; ++i) {
    Real phi = 2 * kPi * i / kSteps;
    Real r = RadiusAt(copy, phi, messages, flags);
    if (flags.calcError || !std::isfinite(static_cast<double>(r))) return {};
    o.emplace_back(static_cast<double>(r * std::cos(phi)), static_cast<double>(r * std::sin(phi)));
  }
  return o;
}

// ---------------------------------------------------------------- polynomial

PolyForm PolyEditor::form() {
  Session& s = in_.session;
  const CamProject& p = s.project();
  PolyForm f;
  f.caption = kProductName;
  f.formulaText = "r(phi) = a0 + a1*phi + a2 *phi² +a3*phi^3 + .. +an*phi^n";
  f.n = std::clamp(p.poly.n, 2, kMaxPoly);
  for (int i = 1; i <= kMaxPoly; ++i)
    f.coefficients.push_back(FormatRoundTrip(Numbers(s), p.poly.coef[static_cast<size_t>(i)]));
  return f;
}

bool PolyEditor::store(int n, const std::vector<std::string>& cells) {
  Session& s = in_.session;
  CamProject& p = s.project();
  n = std::clamp(n, 2, kMaxPoly);
  std::array<Real, kMaxPoly + 1> coef = p.poly.coef;
  for (int i = 1; i <= n; ++i) {
    std::string t = static_cast<size_t>(i - 1) < cells.size() ? Trim(Utf8ToCp850(cells[static_cast<size_t>(i - 1)])) : "";
    Real v = 0;
    if (!t.empty() && !TryParseReal(t, v)) {
      s.ui.showErrorAlways("Ung\x81ltige Eingabe \"" + t + "\" !");
      return false;
    }
    coef[static_cast<size_t>(i)] = v;
  }
  p.poly.coef = coef;
  p.poly.n = n;
  p.curveType = ctPolynomial;
  return true;
}

bool PolyEditor::save(int n, const std::vector<std::string>& cells) {
  if (!store(n, cells)) return false;
  return in_.saveProject ? in_.saveProject() : false;
}

bool PolyEditor::calc(int n, const std::vector<std::string>& cells) {
  if (!store(n, cells)) return false;
  in_.calc();
  in_.session.flags.abortFlag = false;
  return true;
}

}  // namespace kamo
