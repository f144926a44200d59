// The scripted UI port of the tests.
#include "support/scripted_port.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kamo::test {

void ScriptedPort::box(const std::string& caption, const std::string& text, BoxIcon icon) {
  boxes.push_back({caption, text, icon});
}

Answer ScriptedPort::askYesNoCancel(const std::string&, const std::string& text) {
  questions.push_back(text);
  if (answers.empty()) {
    ADD_FAILURE() << "unscripted question: " << text;
    return Answer::Cancel;
  }
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

bool ScriptedPort::askRetry(const std::string&, const std::string& text) {
  questions.push_back(text);
  if (retries.empty()) {
    ADD_FAILURE() << "unscripted retry question: " << text;
    return false;
  }
  bool r = retries.front();
  retries.pop_front();
  return r;
}

std::optional<std::string> ScriptedPort::promptText(const TextPrompt& p) {
  textPrompts.push_back(p);
  if (texts.empty()) {
    ADD_FAILURE() << "unscripted prompt: " << p.label;
    return std::nullopt;
  }
  auto r = texts.front();
  texts.pop_front();
  return r;
}

namespace {
template <class Form>
std::optional<Form> RunScript(std::deque<std::function<std::optional<Form>(Form)>>& scripts,
                              std::vector<Form>& shown, const Form& f) {
  shown.push_back(f);
  if (scripts.empty()) {
    ADD_FAILURE() << "unscripted dialog: " << f.caption;
    return std::nullopt;
  }
  auto script = scripts.front();
  scripts.pop_front();
  return script(f);
}
}  // namespace

std::optional<ChangeForm> ScriptedPort::changeDialog(const ChangeForm& f) {
  return RunScript(changeEdits, changeForms, f);
}
std::optional<DrawingInfoForm> ScriptedPort::drawingInfoDialog(const DrawingInfoForm& f) {
  return RunScript(drawingInfoEdits, drawingInfoForms, f);
}
std::optional<DocumentLinksForm> ScriptedPort::documentLinksDialog(const DocumentLinksForm& f) {
  return RunScript(linkEdits, linkForms, f);
}

std::optional<int> ScriptedPort::promptChoice(const ChoicePrompt& p) {
  choicePrompts.push_back(p);
  if (choices.empty()) {
    ADD_FAILURE() << "unscripted choice: " << p.label;
    return std::nullopt;
  }
  auto r = choices.front();
  choices.pop_front();
  return r;
}

std::optional<std::string> ScriptedPort::openFile(const FileDialog& d) {
  fileDialogs.push_back(d);
  if (files.empty()) {
    ADD_FAILURE() << "unscripted file dialog";
    return std::nullopt;
  }
  auto r = files.front();
  files.pop_front();
  return r;
}

std::optional<std::string> ScriptedPort::saveFile(const FileDialog& d) { return openFile(d); }

std::optional<ExplanationForm> ScriptedPort::explanation(const ExplanationForm& f) {
  if (explanations.empty()) return std::nullopt;
  auto r = explanations.front();
  explanations.pop_front();
  if (r && r->message.empty()) r->message = f.message;
  return r;
}

std::vector<std::string> ScriptedPort::boxTexts() const {
  std::vector<std::string> t;
  for (const auto& b : boxes) t.push_back(b.text);
  return t;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kamo-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) ADD_FAILURE() << "cannot create a temporary folder";
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string CommandOutput(const std::string& command, int* status) {
  std::string out;
  if (status) *status = -1;
  std::FILE* p = ::popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  int rc = ::pclose(p);
  if (status) *status = rc;
  return out;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

}  // namespace kamo::test
