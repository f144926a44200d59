// The dialog Edit > "Prüfdaten" (TForm_kamopruef) and its logic: limit of the
// pressure angle, spring preload and rate, and the elastic constants of cam
// and follower for the engineering checks.
#pragma once
#include <vector>

#include "core/fields.h"
#include "core/forms.h"

namespace kamo {

class Session;

class CheckDataEditor : public FieldsLogic {
 public:
  explicit CheckDataEditor(Session& s) : s_(s) {}
  FieldsForm form() override;
  FieldsValues fill() override;
  std::string defaultText(size_t field, const FieldsValues& v) override;
  // Refuses (with a box naming the field) a limit outside 0 < alpha < 90, a
  // negative preload or rate, a modulus not above 0 and a Poisson ratio
  // outside 0 <= nu < 0.5; text that is no number is refused the same way.
  bool store(const FieldsValues& v) override;

 private:
  Session& s_;
  std::vector<RealField> fields_;
};

// Shows TForm_kamopruef; abortFlag tells whether it was cancelled.
void EditCheckData(Session& s);

// The message of a refused input; the field's label follows (CP850).
inline constexpr const char* kMsgCheckInput = "Ung\x81ltiger Wert: ";

}  // namespace kamo
