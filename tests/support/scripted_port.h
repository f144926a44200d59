// A UI port for tests: answers come from scripts queued beforehand, and
// everything shown is recorded. An unscripted question fails the test.
#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ui_port.h"

namespace kamo::test {

struct ShownBox {
  std::string caption, text;
  BoxIcon icon;
};

class ScriptedPort : public UiPort {
 public:
  // Scripts, consumed in order.
  std::deque<std::optional<std::string>> texts;   // promptText answers (nullopt = cancel)
  std::deque<std::optional<int>> choices;         // promptChoice answers (0-based)
  std::deque<Answer> answers;                     // askYesNoCancel answers
  std::deque<bool> retries;                       // askRetry answers
  std::deque<std::optional<std::string>> files;   // open/save dialog answers
  std::deque<std::optional<ExplanationForm>> explanations;

  // What was shown.
  std::vector<ShownBox> boxes;
  std::vector<TextPrompt> textPrompts;
  std::vector<ChoicePrompt> choicePrompts;
  std::vector<std::string> questions;
  std::vector<FileDialog> fileDialogs;
  int beeps = 0;

  void box(const std::string& caption, const std::string& text, BoxIcon icon) override;
  Answer askYesNoCancel(const std::string& caption, const std::string& text) override;
  bool askRetry(const std::string& caption, const std::string& text) override;
  void beep() override { ++beeps; }
  std::optional<std::string> promptText(const TextPrompt& p) override;
  std::optional<int> promptChoice(const ChoicePrompt& p) override;
  std::optional<std::string> openFile(const FileDialog& d) override;
  std::optional<std::string> saveFile(const FileDialog& d) override;
  std::optional<ExplanationForm> explanation(const ExplanationForm& f) override;
  void openWithApplication(const std::string& path) override { opened.push_back(path); }
  std::vector<std::string> opened;  // files handed to their application

  // The documentation dialogs: each script gets the form as shown and
  // returns it edited (nullopt = cancel).
  std::deque<std::function<std::optional<ChangeForm>(ChangeForm)>> changeEdits;
  std::deque<std::function<std::optional<DrawingInfoForm>(DrawingInfoForm)>> drawingInfoEdits;
  std::deque<std::function<std::optional<DocumentLinksForm>(DocumentLinksForm)>> linkEdits;
  std::vector<ChangeForm> changeForms;
  std::vector<DrawingInfoForm> drawingInfoForms;
  std::vector<DocumentLinksForm> linkForms;
  std::optional<ChangeForm> changeDialog(const ChangeForm& f) override;
  std::optional<DrawingInfoForm> drawingInfoDialog(const DrawingInfoForm& f) override;
  std::optional<DocumentLinksForm> documentLinksDialog(const DocumentLinksForm& f) override;

  // The texts of all boxes shown, in order.
  std::vector<std::string> boxTexts() const;
};

// A fresh folder removed at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The standard output of a shell command line (a checker we did not write,
// our own program); status, when given, gets pclose's status (-1: not started).
std::string CommandOutput(const std::string& command, int* status = nullptr);

}  // namespace kamo::test
