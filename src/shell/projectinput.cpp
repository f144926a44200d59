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
constexpr int kTopicCalc = 1000;
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

void EditCalcSettings(Session& s) {
  CalcSettingsEditor e(s);
  s.flags.abortFlag = !s.ui.port().fieldsDialog(e);
}

}  // namespace kamo
