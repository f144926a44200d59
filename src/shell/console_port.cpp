// Batch-mode port: every box is a line on the error stream.
#include "shell/console_port.h"

namespace kamo {

void ConsolePort::box(const std::string& caption, const std::string& text, BoxIcon) {
  err_ << "wkamo: ";
  if (!caption.empty()) err_ << caption << ' ';
  err_ << text << '\n';
}

Answer ConsolePort::askYesNoCancel(const std::string&, const std::string& text) {
  err_ << "wkamo: " << text << " -> Abbrechen\n";
  return Answer::Cancel;
}

bool ConsolePort::askRetry(const std::string&, const std::string& text) {
  err_ << "wkamo: " << text << '\n';
  return false;
}

std::optional<std::string> ConsolePort::promptText(const TextPrompt& p) {
  err_ << "wkamo: " << p.label << " -> Abbrechen\n";
  return std::nullopt;
}

std::optional<int> ConsolePort::promptChoice(const ChoicePrompt& p) {
  err_ << "wkamo: " << p.label << " -> Abbrechen\n";
  return std::nullopt;
}

}  // namespace kamo
