// Looking up, showing and editing error explanations.
#include "core/explanations.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/codepage.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "core/ui.h"

namespace kamo {
namespace {

bool ReadLines(const std::string& file, std::vector<std::string>& lines) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string l;
  while (std::getline(in, l)) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return true;
}

bool SamePrefix(const std::string& a, const std::string& b, size_t n) {
  return a.substr(0, n) == b.substr(0, n);
}

}  // namespace

bool ExplanationFileReadable(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return static_cast<bool>(in);
}

std::optional<Explanation> LookupExplanation(const std::string& file, const std::string& message) {
  std::vector<std::string> lines;
  if (!ReadLines(file, lines)) return std::nullopt;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (SamePrefix(lines[i], message, 15)) {
      Explanation e;
      if (i + 1 < lines.size()) e.cause = lines[i + 1];
      if (i + 2 < lines.size()) e.remedy = lines[i + 2];
      return e;
    }
  }
  return std::nullopt;
}

std::string explanationCause(const std::string& file, const MessageList& list, int i) {
  if (!ExplanationFileReadable(file)) return {};
  auto e = LookupExplanation(file, list.at(i));
  return e ? e->cause : kNoExplanation;
}

std::string explanationRemedy(const std::string& file, const MessageList& list, int i) {
  auto e = LookupExplanation(file, list.at(i));
  return e ? e->remedy : std::string();
}

bool SaveExplanation(Ui& ui, const std::string& file, const std::string& tempDir,
                     const std::string& message, const std::string& cause,
                     const std::string& remedy) {
  namespace fs = std::filesystem;
  std::string target = (fs::path(tempDir) / fs::path(file).filename()).string();
  if (Upper(target) == Upper(file)) return false;
  if (!ui.checkReadable(file)) return false;
  std::vector<std::string> lines;
  ReadLines(file, lines);
  size_t at = lines.size();
  for (size_t i = 0; i < lines.size(); ++i)
    if (SamePrefix(lines[i], message, 14)) {
      at = i;
      break;
    }
  if (at == lines.size()) {
    ui.plainBox(message + " not found.");
    return false;
  }
  std::vector<std::string> out(lines.begin(), lines.begin() + static_cast<long>(at) + 1);
  size_t next = at + 1;
  out.push_back(LineBreaksToBlanks(cause));
  if (next < lines.size()) ++next;
  out.push_back(LineBreaksToBlanks(remedy));
  if (next < lines.size()) ++next;
  out.insert(out.end(), lines.begin() + static_cast<long>(next), lines.end());
  // The copy in the temporary folder is written first, then replaces the source.
  {
    TextFileWriter w(ui);
    if (!w.create(target)) return false;
    for (const auto& l : out) w.line(l);
    if (!w.close()) return false;
  }
  TextFileWriter w(ui);
  if (!w.create(file)) return false;
  for (const auto& l : out) w.line(l);
  return w.close();
}

void showExplanation(Ui& ui, const ErrorListContext& ctx, const MessageList& list, int i) {
  if (!ui.checkReadable(ctx.explanationFile)) return;
  const std::string& message = list.at(i);
  auto e = LookupExplanation(ctx.explanationFile, message);
  if (!e) {
    ui.showText("Meldung", kNoExplanation);
    return;
  }
  ExplanationForm form{ui.display(message), ui.display(e->cause), ui.display(e->remedy)};
  auto edited = ui.port().explanation(form);
  if (!edited) return;
  if (ui.askYesNo("Save Changes ?"))
    SaveExplanation(ui, ctx.explanationFile, ctx.tempDir, message, ToStored(edited->cause),
                    ToStored(edited->remedy));
}

void showErrorList(Ui& ui, const ErrorListContext& ctx, const MessageList& list) {
  if (ctx.noGui) return;
  int n = list.count();
  if (n == 0) {
    ui.showNote("Berechnung erfolgreich ohne Fehlermeldungen");
    return;
  }
  ui.flags().abortFlag = false;
  auto& choices = ui.state().choiceTexts;
  for (int i = 1; i <= n; ++i) choices[static_cast<size_t>(i)] = list.at(i);
  choices[static_cast<size_t>(n + 1)] = "Weiter/zur\x81" "ck...";
  int k = ctx.helpLevel < 2 ? n + 1 : 1;
  for (;;) {
    ui.state().helpTopic = 1210;
    if (!ui.inputChoice("Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe.",
                        n + 1, k))
      return;
    if (k == n + 1) return;
    showExplanation(ui, ctx, list, k);
    ++k;
    if (k == n + 1 || ui.flags().abortFlag) return;
  }
}

}  // namespace kamo
