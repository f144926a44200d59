// The UI port of batch runs: no window, nothing ever waits for a user.
// Boxes go to the error stream; questions answer No (Cancel for the
// three-way question), prompts and pickers are cancelled.
#pragma once
#include <ostream>

#include "core/ui_port.h"

namespace kamo {

class ConsolePort final : public UiPort {
 public:
  explicit ConsolePort(std::ostream& err) : err_(err) {}

  void box(const std::string& caption, const std::string& text, BoxIcon icon) override;
  Answer askYesNoCancel(const std::string& caption, const std::string& text) override;
  bool askRetry(const std::string& caption, const std::string& text) override;
  void beep() override {}
  std::optional<std::string> promptText(const TextPrompt& p) override;
  std::optional<int> promptChoice(const ChoicePrompt& p) override;
  std::optional<std::string> openFile(const FileDialog&) override { return std::nullopt; }
  std::optional<std::string> saveFile(const FileDialog&) override { return std::nullopt; }
  std::optional<ExplanationForm> explanation(const ExplanationForm&) override {
    return std::nullopt;
  }

 private:
  std::ostream& err_;
};

}  // namespace kamo
