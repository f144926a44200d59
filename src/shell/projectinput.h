// Edit > "Berechnung": the calculation settings dialog and its logic.
#pragma once
#include <vector>
#include "core/fields.h"
#include "core/forms.h"

namespace kamo {

class Session;

// The logic behind TForm_kamocalc: the arc division in degrees, the number of
// polygon points, the spline resolution and the fit-to-polyline switch.
class CalcSettingsEditor : public FieldsLogic {
 public:
  explicit CalcSettingsEditor(Session& s) : s_(s) {}
  FieldsForm form() override;
  FieldsValues fill() override;
  std::string defaultText(size_t field, const FieldsValues& v) override;
  bool store(const FieldsValues& v) override;

 private:
  Session& s_;
  std::vector<RealField> fields_;
};

// Shows TForm_kamocalc; abortFlag tells whether it was cancelled.
void EditCalcSettings(Session& s);

}  // namespace kamo
