// Edit > "Prüfdaten": the inputs of the engineering checks.
#include "shell/checkinput.h"

#include <cmath>
#include <optional>

#include "core/codepage.h"
#include "core/numbers.h"
#include "shell/session.h"

namespace kamo {

namespace {

constexpr int kTopicCheck = 1000;

struct CheckField {
  const char* name;      // Edit_<name>
  const char* label;     // UTF-8
  const char* labelCp;   // CP850, for the refusal
  const char* unit;      // UTF-8
  const char* byDefault; // what "<" writes
};
const CheckField kFields[] = {
    {"alpha", "Zul\u00E4ssiger Druckwinkel", "Zul\x84ssiger Druckwinkel", "Grad", "30"},
    {"f0", "Federvorspannung F0", "Federvorspannung F0", "N", "0"},
    {"k", "Federrate k", "Federrate k", "N/mm", "0"},
    {"e1", "E-Modul Nocken E1", "E-Modul Nocken E1", "N/mm\u00B2", "210000"},
    {"nu1", "Querkontraktionszahl Nocken \u03BD1", "Querkontraktionszahl Nocken nu1", "", "0.3"},
    {"e2", "E-Modul St\u00F6ssel E2", "E-Modul St\x94ssel E2", "N/mm\u00B2", "210000"},
    {"nu2", "Querkontraktionszahl St\u00F6ssel \u03BD2", "Querkontraktionszahl St\x94ssel nu2", "", "0.3"},
};
constexpr size_t kCount = sizeof kFields / sizeof kFields[0];

Real* Slot(CheckInputs& c, size_t i) {
  Real* slots[kCount] = {&c.alphaLimit, &c.preload, &c.rate, &c.eCam, &c.nuCam, &c.eFollower, &c.nuFollower};
  return i < kCount ? slots[i] : nullptr;
}

bool Acceptable(size_t i, Real x) {
  if (!std::isfinite(x)) return false;
  switch (i) {
    case 0: return x > 0 && x < 90;
    case 1:
    case 2: return x >= 0;
    case 3:
    case 5: return x > 0;
    default: return x >= 0 && x < 0.5L;
  }
}

std::optional<Real> ParseNumber(std::string_view t) {
  Real v = 0;
  if (!TryParseReal(t, v)) return std::nullopt;
  return v;
}

}  // namespace

FieldsForm CheckDataEditor::form() {
  FieldsForm f;
  f.objectName = "TForm_kamopruef";
  f.caption = "Pr\u00FCfdaten";
  for (const CheckField& c : kFields) f.fields.push_back({c.name, c.label, c.unit, kTopicCheck, true});
  f.helpTopic = kTopicCheck;
  return f;
}

FieldsValues CheckDataEditor::fill() {
  const NumberStyle& ns = s_.settings.numbers;
  CheckInputs& in = s_.project().checkData;
  FieldsValues v;
  fields_.clear();
  for (size_t i = 0; i < kCount; ++i) {
    const Real x = *Slot(in, i);
    std::string shown = FormatGeneral(ns, x);
    fields_.emplace_back(x, shown);
    v.texts.push_back(Cp850ToUtf8(shown));
  }
  return v;
}

std::string CheckDataEditor::defaultText(size_t field, const FieldsValues& v) {
  if (field >= kCount) return field < v.texts.size() ? v.texts[field] : std::string();
  std::string t = kFields[field].byDefault;
  // Shown with the separator of the settings.
  for (char& ch : t)
    if (ch == '.') ch = s_.settings.numbers.decimalSeparator;
  return t;
}

bool CheckDataEditor::store(const FieldsValues& v) {
  CheckInputs next = s_.project().checkData;
  for (size_t i = 0; i < kCount; ++i) {
    std::string text = i < v.texts.size() ? Utf8ToCp850(v.texts[i]) : std::string();
    std::optional<Real> x = i < fields_.size() ? fields_[i].read(text, ParseNumber) : ParseNumber(text);
    if (!x || !Acceptable(i, *x)) {
      s_.ui.showErrorAlways(std::string(kMsgCheckInput) + kFields[i].labelCp);
      return false;
    }
    *Slot(next, i) = *x;
  }
  s_.project().checkData = next;
  return true;
}

void EditCheckData(Session& s) {
  CheckDataEditor e(s);
  s.flags.abortFlag = !s.ui.port().fieldsDialog(e);
}

}  // namespace kamo
