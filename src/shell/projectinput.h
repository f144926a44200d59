// The small input dialogs of the Edit menu and their logic: "Berechnung"
// (calculation settings), "Abmessungen Cam" (cam body), "Stössel" (follower)
// and "Text" (drawing texts).
#pragma once
#include <optional>
#include <string>
#include <vector>
#include "core/fields.h"
#include "core/forms.h"
#include "shell/language.h"

namespace kamo {

class Session;

// What the editors of the project's numbers share: the session they read and
// store, and the number fields of their form.
class SessionFieldsEditor : public FieldsLogic {
 protected:
  explicit SessionFieldsEditor(Session& s) : s_(s) {}
  Session& s_;
  std::vector<RealField> fields_;
};

// The logic behind TForm_kamocalc: the arc division in degrees, the number of
// polygon points, the spline resolution and the fit-to-polyline switch.
class CalcSettingsEditor : public SessionFieldsEditor {
 public:
  explicit CalcSettingsEditor(Session& s) : SessionFieldsEditor(s) {}
  FieldsForm form() override;
  FieldsValues fill() override;
  std::string defaultText(size_t field, const FieldsValues& v) override;
  bool store(const FieldsValues& v) override;
};

// Shows TForm_kamocalc; abortFlag tells whether it was cancelled.
void EditCalcSettings(Session& s);

// The logic behind TForm_kamocam: width and bore of the cam body, lengths in
// the current unit system, "<" defaults from the smallest radius.
class CamBodyEditor : public SessionFieldsEditor {
 public:
  explicit CamBodyEditor(Session& s) : SessionFieldsEditor(s) {}
  FieldsForm form() override;
  FieldsValues fill() override;
  std::string defaultText(size_t field, const FieldsValues& v) override;
  bool store(const FieldsValues& v) override;
};
void EditCamBody(Session& s);

// The logic behind TForm_kamoram: contact form, diameter, length and mass of
// the follower, "<" defaults from the stroke (a steel cylinder for the mass).
class FollowerEditor : public SessionFieldsEditor {
 public:
  explicit FollowerEditor(Session& s) : SessionFieldsEditor(s) {}
  FieldsForm form() override;
  FieldsValues fill() override;
  std::string defaultText(size_t field, const FieldsValues& v) override;
  bool store(const FieldsValues& v) override;

 private:
  std::optional<Real> read(const FieldsValues& v, size_t i) const;
};
void EditFollower(Session& s);

// The logic behind Tform_uni4: drawing name (two lines), drawing number and
// three remark lines; labels from the drawing words.
class DrawingTextsEditor : public FieldsLogic {
 public:
  DrawingTextsEditor(Session& s, DrawingWords words) : s_(s), words_(std::move(words)) {}
  FieldsForm form() override;
  FieldsValues fill() override;
  std::string defaultText(size_t field, const FieldsValues& v) override;
  bool store(const FieldsValues& v) override;

 private:
  Session& s_;
  DrawingWords words_;
  std::vector<std::string> shown_;  // the texts as filled
};
void EditDrawingTexts(Session& s, const DrawingWords& words);

}  // namespace kamo
