#include "shell/projectinput.h"
#include <algorithm>
#include <cmath>
#include "core/codepage.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "shell/curveinput.h"
#include "shell/session.h"

namespace kamo {

namespace {
std::string Show(const Session& s, const std::string& cp850) {
  return DisplayText(s.settings.numbers, cp850);
}
std::optional<Real> ParseRealText(std::string_view t) {
  Real v = 0;
  if (!TryParseReal(t, v)) return std::nullopt;
  return v;
}
// A whole number within [lo, hi]; text that is no number reads as 0.
int ClampedInt(std::optional<Real> v, int lo, int hi) {
  Real x = v && std::isfinite(*v) ? RoundHalfEven(*v) : 0;
  return static_cast<int>(std::clamp<Real>(x, lo, hi));
}
// Shows the dialog of an editor made from the session; abortFlag tells
// whether it was cancelled.
template <class Editor, class... Args>
void ShowDialog(Session& s, const Args&... args) {
  Editor e(s, args...);
  s.flags.abortFlag = !s.ui.port().fieldsDialog(e);
}

constexpr int kTopicCalc = 1000;
constexpr int kTopicFollower = 1000;
constexpr int kTopicBody = 5400;

// A refused negative size; the field's label follows.
constexpr const char* kMsgNotNegative = "Wert darf nicht negativ sein: ";

std::optional<Real> ParseLengthText(const NumberStyle& ns, std::string_view t) {
  Real v = 0;
  if (!TryParseReal(t, v)) return std::nullopt;
  return ns.inch() ? v * kMmPerInch : v;
}
std::string FieldText(const FieldsValues& v, size_t i) {
  return i < v.texts.size() ? Utf8ToCp850(v.texts[i]) : std::string();
}
// Refuses a negative value with a box naming the field (label in CP850).
bool NotNegative(Session& s, Real x, const char* label) {
  if (x >= 0) return true;
  s.ui.showErrorAlways(std::string(kMsgNotNegative) + label);
  return false;
}
}  // namespace

FieldsForm CalcSettingsEditor::form() {
  FieldsForm f;
  f.objectName = "TForm_kamocalc";
  f.caption = Show(s_, kProgramTitle);
  f.fields = {
      {"grad", "Polygonteilung f\u00FCr Kreisbogenberechnung", "Grad", 8300, true},
      {"points", "Anzahl der Punkt f\u00FCr Umrechnung Sonderform in Polygon", "", 8310, true},
      {"nspline", "Aufl\u00F6sung Spline", "", 0, true},
  };
  f.checks = {{"jaRlinearisieren", "anpassen Punkte auf Nocken -> Polyline "}};
  f.helpTopic = kTopicCalc;
  return f;
}

FieldsValues CalcSettingsEditor::fill() {
  const NumberStyle& ns = s_.settings.numbers;
  const CalcSettings& c = s_.project().calc;
  Real values[3] = {c.arcStep, static_cast<Real>(c.steps), static_cast<Real>(c.splineRes)};
  FieldsValues v;
  fields_.clear();
  for (Real x : values) {
    std::string shown = FormatGeneral(ns, x);
    fields_.emplace_back(x, shown);
    v.texts.push_back(Show(s_, shown));
  }
  v.checks = {c.linearize};
  return v;
}

std::string CalcSettingsEditor::defaultText(size_t field, const FieldsValues& v) {
  switch (field) {
    case 0: return "1";
    case 1: return "100";
    case 2: return "25";
    default: return field < v.texts.size() ? v.texts[field] : std::string();
  }
}

bool CalcSettingsEditor::store(const FieldsValues& v) {
  auto read = [&](size_t i) -> std::optional<Real> {
    std::string text = i < v.texts.size() ? Utf8ToCp850(v.texts[i]) : std::string();
    if (i >= fields_.size()) return ParseRealText(text);
    return fields_[i].read(text, ParseRealText);
  };
  CalcSettings& c = s_.project().calc;
  Real grad = read(0).value_or(0);
  if (!std::isfinite(grad)) grad = 0;
  c.arcStep = std::clamp<Real>(grad, 0.1L, 30);
  // The calculation refuses more than 1999 polygon points.
  c.steps = ClampedInt(read(1), 10, 1999);
  c.splineRes = ClampedInt(read(2), 2, 200);
  if (!v.checks.empty()) c.linearize = v.checks[0];
  return true;
}

void EditCalcSettings(Session& s) { ShowDialog<CalcSettingsEditor>(s); }

// ------------------------------------------------------------------ cam body

FieldsForm CamBodyEditor::form() {
  const std::string unit = Show(s_, UnitLength(s_.settings.numbers));
  FieldsForm f;
  f.objectName = "TForm_kamocam";
  f.caption = Show(s_, kProgramTitle);
  f.fields = {
      {"breite", "Breite Nocken", unit, kTopicBody, true},
      {"bohrung", "Bohrungsdurchmesser", unit, kTopicBody, true},
  };
  f.helpTopic = kTopicBody;
  return f;
}

FieldsValues CamBodyEditor::fill() {
  const NumberStyle& ns = s_.settings.numbers;
  const CamBody& b = s_.project().body;
  FieldsValues v;
  fields_.clear();
  for (Real x : {b.width, b.bore}) {
    std::string shown = FormatLength(ns, x);
    fields_.emplace_back(x, shown);
    v.texts.push_back(Show(s_, shown));
  }
  return v;
}

std::string CamBodyEditor::defaultText(size_t field, const FieldsValues& v) {
  std::string current = field < v.texts.size() ? v.texts[field] : std::string();
  // Before a calculation rMin holds its marker; the defaults wait for a real radius.
  Real r = s_.project().results.rMin;
  if (!(r > 0 && r < 1000) || field > 1) return current;
  return Show(s_, FormatLength(s_.settings.numbers, RoundHalfEven(r * (field == 0 ? 0.8L : 1.2L))));
}

bool CamBodyEditor::store(const FieldsValues& v) {
  const NumberStyle& ns = s_.settings.numbers;
  Real x[2] = {0, 0};
  for (size_t i = 0; i < 2; ++i) {
    std::string text = FieldText(v, i);
    auto parse = [&ns](std::string_view t) { return ParseLengthText(ns, t); };
    x[i] = (i < fields_.size() ? fields_[i].read(text, parse) : parse(text)).value_or(0);
  }
  if (!NotNegative(s_, x[0], "Breite Nocken") || !NotNegative(s_, x[1], "Bohrungsdurchmesser"))
    return false;
  s_.project().body.width = x[0];
  s_.project().body.bore = x[1];
  return true;
}

void EditCamBody(Session& s) { ShowDialog<CamBodyEditor>(s); }

// ------------------------------------------------------------------ follower

FieldsForm FollowerEditor::form() {
  const std::string unit = Show(s_, UnitLength(s_.settings.numbers));
  FieldsForm f;
  f.objectName = "TForm_kamoram";
  f.caption = "St\u00F6ssel";
  f.radioName = "kontakt";
  f.radioTitle = " St\u00F6ssel Kontaktfl\u00E4che ";
  f.radioItems = {"eben", "rund"};
  f.radioHint = 5200;
  f.fields = {
      {"d", "Durchmesser St\u00F6ssel", unit, 5210, true},
      {"l", "L\u00E4nge St\u00F6ssel", unit, 5220, true},
      {"m", "Masse St\u00F6ssel", "kg", 5230, true},
  };
  f.helpTopic = kTopicFollower;
  return f;
}

FieldsValues FollowerEditor::fill() {
  const NumberStyle& ns = s_.settings.numbers;
  const Follower& r = s_.project().ram;
  FieldsValues v;
  fields_.clear();
  std::string shown[3] = {FormatLength(ns, r.d), FormatLength(ns, r.l), FormatGeneral(ns, r.m)};
  Real values[3] = {r.d, r.l, r.m};
  for (size_t i = 0; i < 3; ++i) {
    fields_.emplace_back(values[i], shown[i]);
    v.texts.push_back(Show(s_, shown[i]));
  }
  v.radio = r.type == 1 ? 0 : 1;
  return v;
}

std::optional<Real> FollowerEditor::read(const FieldsValues& v, size_t i) const {
  const NumberStyle& ns = s_.settings.numbers;
  std::string text = FieldText(v, i);
  std::function<std::optional<Real>(std::string_view)> parse = ParseRealText;
  // Diameter and length are typed in the unit system, the mass in kg.
  if (i < 2) parse = [&ns](std::string_view t) { return ParseLengthText(ns, t); };
  return i < fields_.size() ? fields_[i].read(text, parse) : parse(text);
}

std::string FollowerEditor::defaultText(size_t field, const FieldsValues& v) {
  const NumberStyle& ns = s_.settings.numbers;
  const Real stroke = s_.project().results.stroke;
  switch (field) {
    case 0: return Show(s_, FormatLength(ns, RoundHalfEven(stroke * 0.8L)));
    case 1: {
      Real d = read(v, 0).value_or(0);
      Real L = RoundHalfEven(std::max(stroke * 2.5L, d * 1.2L));
      return Show(s_, FormatLength(ns, v.radio == 1 ? d * 0.5L + L : L));
    }
    case 2: {
      Real d = read(v, 0).value_or(0), l = read(v, 1).value_or(0);
      // A steel cylinder: 7.8E-6 kg per cubic millimetre.
      return Show(s_, FormatGeneral(ns, d * d * kPi / 4 * l * 7.8E-6L));
    }
    default: return field < v.texts.size() ? v.texts[field] : std::string();
  }
}

bool FollowerEditor::store(const FieldsValues& v) {
  Real d = read(v, 0).value_or(0), l = read(v, 1).value_or(0), m = read(v, 2).value_or(0);
  if (!NotNegative(s_, d, "Durchmesser St\x94ssel") || !NotNegative(s_, l, "L\x84nge St\x94ssel") ||
      !NotNegative(s_, m, "Masse St\x94ssel"))
    return false;
  Follower& r = s_.project().ram;
  r.type = v.radio == 0 ? 1 : 2;
  r.d = d;
  r.l = l;
  r.m = m;
  return true;
}

void EditFollower(Session& s) { ShowDialog<FollowerEditor>(s); }

// ------------------------------------------------------------- drawing texts

namespace {
struct TextRow {
  const char* name;
  int maxChars;  // what the user may type
};
constexpr TextRow kTextRows[] = {{"zeichname", 25}, {"zeichname2", 30}, {"zeichnr", 18},
                                 {"bemerk1", 65},   {"bemerk2", 65},    {"bemerk3", 254}};
std::string* TextOf(DrawingTexts& d, size_t i) {
  std::string* rows[] = {&d.zeichname, &d.zeichname2, &d.zeichnr, &d.bemerk1, &d.bemerk2, &d.bemerk3};
  return i < 6 ? rows[i] : nullptr;
}
}  // namespace

FieldsForm DrawingTextsEditor::form() {
  FieldsForm f;
  f.objectName = "Tform_uni4";
  f.caption = Show(s_, kProgramTitle);
  const std::string name = Cp850ToUtf8(words_.drawingName), line = Cp850ToUtf8(words_.line);
  const std::string labels[6] = {name,        name + " 2", Cp850ToUtf8(words_.drawingNumber),
                                 line + " 1", line + " 2", line + " 3"};
  for (size_t i = 0; i < 6; ++i) {
    f.fields.push_back({kTextRows[i].name, labels[i], "", 0, false});
    f.maxLengths.push_back(kTextRows[i].maxChars);
  }
  return f;
}

FieldsValues DrawingTextsEditor::fill() {
  FieldsValues v;
  shown_.clear();
  for (size_t i = 0; i < 6; ++i) {
    shown_.push_back(FieldFromStored(*TextOf(s_.project().drawing, i)));
    v.texts.push_back(shown_.back());
  }
  return v;
}

std::string DrawingTextsEditor::defaultText(size_t field, const FieldsValues& v) {
  return field < v.texts.size() ? v.texts[field] : std::string();
}

bool DrawingTextsEditor::store(const FieldsValues& v) {
  FieldsForm f = form();
  std::string stored[6];
  for (size_t i = 0; i < 6; ++i) {
    std::string text = i < v.texts.size() ? v.texts[i] : std::string();
    // A longer text that was already there may stay; nothing longer than a
    // field can hold is stored.
    size_t limit = static_cast<size_t>(kTextRows[i].maxChars);
    if (i < shown_.size() && text == shown_[i]) limit = std::max(limit, Utf8Length(text));
    StoredText t = FieldToStored(text, std::min(limit, kMaxFieldChars));
    if (!t.ok()) {
      s_.ui.showErrorAlways(t.error + " (" + Utf8ToCp850(f.fields[i].label) + ")");
      return false;
    }
    stored[i] = t.text;
  }
  for (size_t i = 0; i < 6; ++i) *TextOf(s_.project().drawing, i) = stored[i];
  return true;
}

void EditDrawingTexts(Session& s, const DrawingWords& words) { ShowDialog<DrawingTextsEditor>(s, words); }

}  // namespace kamo
