// The settings dialog of the animation, TForm_kamoani: frames per turn,
// turns, the pause after each frame and the single-step switch, with "<"
// defaults and the range of each field. The values hold for one run only.
#pragma once
#include <string>

#include "core/forms.h"
#include "graphics/animation.h"

namespace kamo {

class Session;

inline constexpr int kTopicAnimation = 5600;

class AnimationEditor : public FieldsLogic {
 public:
  explicit AnimationEditor(Session& s) : s_(s) {}
  FieldsForm form() override;
  // "90", "1", "10" and single step off.
  FieldsValues fill() override;
  // "<": min(360, steps + 1) frames, one turn, 100 ms.
  std::string defaultText(size_t field, const FieldsValues& v) override;
  // Refuses a field that is no whole number or lies outside its range with
  // the message of the prompts, and keeps the dialog open.
  bool store(const FieldsValues& v) override;
  // The run of the last accepted store.
  const AnimationRun& run() const { return run_; }

 private:
  Session& s_;
  AnimationRun run_;
};

}  // namespace kamo
