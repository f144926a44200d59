// The animation settings dialog.
#include "shell/animation.h"

#include <algorithm>

#include "core/codepage.h"
#include "core/numbers.h"
#include "shell/session.h"

namespace kamo {

namespace {
struct Range {
  int lo, hi;
};
constexpr Range kRanges[] = {{kAnimationMinFrames, kAnimationMaxFrames},
                             {kAnimationMinRepetitions, kAnimationMaxRepetitions},
                             {kAnimationMinPause, kAnimationMaxPause}};
}  // namespace

FieldsForm AnimationEditor::form() {
  FieldsForm f;
  f.objectName = "TForm_kamoani";
  f.caption = "Animation";
  f.fields = {
      {"bilder", "Anzahl der Einzelbilder", "", 0, true},
      {"wiederholungen", "Anzahl der Wiederholungen", "", 0, true},
      {"pause", "Pause nach jedem Einzelbild", "ms", 0, true},
  };
  f.checks = {{"einzelschritt", "Pause nach jedem Einzelbild ?"}};
  f.helpTopic = kTopicAnimation;
  f.maxLengths = {6, 4, 6};
  return f;
}

FieldsValues AnimationEditor::fill() {
  FieldsValues v;
  v.texts = {"90", "1", "10"};
  v.checks = {false};
  return v;
}

std::string AnimationEditor::defaultText(size_t field, const FieldsValues& v) {
  switch (field) {
    case 0: return std::to_string(std::min(360, s_.project().calc.steps + 1));
    case 1: return "1";
    case 2: return "100";
    default: return field < v.texts.size() ? v.texts[field] : std::string();
  }
}

bool AnimationEditor::store(const FieldsValues& v) {
  int values[3] = {0, 0, 0};
  for (size_t i = 0; i < 3; ++i) {
    std::string typed = Utf8ToCp850(i < v.texts.size() ? v.texts[i] : std::string());
    typed.erase(0, typed.find_first_not_of(' '));
    typed.erase(typed.find_last_not_of(' ') + 1);
    if (!TryParseInt(typed, values[i])) {
      s_.ui.port().beep();
      s_.ui.showError("Ung\x81ltige Eingabe \"" + typed + "\" !");
      return false;
    }
    if (values[i] < kRanges[i].lo || values[i] > kRanges[i].hi) {
      s_.ui.port().beep();
      s_.ui.showError("G\x81ltiger Wertebereich: " + std::to_string(kRanges[i].lo) + " .. " +
                      std::to_string(kRanges[i].hi) + " !");
      return false;
    }
  }
  run_.frames = values[0];
  run_.repetitions = values[1];
  run_.pauseMs = values[2];
  run_.singleStep = !v.checks.empty() && v.checks[0];
  return true;
}

}  // namespace kamo
