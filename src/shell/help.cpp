// Help texts, help pictures and the start picture.
#include "shell/help.h"

#include <algorithm>
#include <filesystem>

#include "core/codepage.h"
#include "core/datapaths.h"
#include "core/inputfile.h"
#include "core/strings.h"
#include "shell/commands.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
// Help files and pictures are small; anything larger is no help file.
constexpr size_t kHelpFileLimit = 4u << 20;
}  // namespace

HelpSystem::HelpSystem(Shell& shell) : shell_(shell) {}

std::vector<std::string> HelpSystem::dataFolders() const {
  const Session& s = shell_.session;
  return DataSearchPath(DataFolders{s.settings.pltDir, s.programDir});
}

std::string HelpSystem::findDataFile(const std::string& name) const {
  std::error_code ec;
  const std::string wanted = Lower(name);
  for (const std::string& dir : dataFolders()) {
    fs::path exact = fs::path(dir) / name;
    if (fs::is_regular_file(exact, ec)) return exact.string();
    // The names of DOS files come in any case: "START.PLT" is "start.plt".
    fs::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
      if (Lower(it->path().filename().string()) == wanted && it->is_regular_file(ec))
        return it->path().string();
    }
    ec.clear();
  }
  return {};
}

std::string HelpSystem::toDisplay(const std::string& stored) const {
  // Without the 255-character limit of edit texts: a long help line is shown, not dropped.
  return DisplayText(shell_.session.settings.numbers, stored);
}

HelpTopicText HelpSystem::lookup(int topic) {
  Session& s = shell_.session;
  if (topic == 0) topic = s.uiState.helpTopic;
  std::string name = HelpFileFor(topic);
  std::string path = findDataFile(name);
  std::string bytes;
  if (path.empty() || !ReadRegularFile(path, kHelpFileLimit, bytes).ok()) return MissingHelpFile(name);
  return LookupHelpTopic(SplitHelpLines(bytes), topic);
}

void HelpSystem::showHelp(int topic, int mode) {
  Session& s = shell_.session;
  if (topic == 0) topic = s.uiState.helpTopic;
  HelpTopicText t = lookup(topic);
  if (mode == 0 || mode == 1) {
    s.ui.port().box(HelpBoxCaption(topic), HelpBoxBody(t, [this](const std::string& l) { return toDisplay(l); }),
                    BoxIcon::Information);
  }
  if (mode == 0 || mode == 2) drawTopicPicture(t.picture);
  s.flags.abortFlag = false;
}

std::string HelpSystem::helpHint(int topic) {
  Session& s = shell_.session;
  if (topic == 0) topic = s.uiState.helpTopic;
  HelpTopicText t = lookup(topic);
  return HelpHintText(t, topic, s.settings.helpLevel, [this](const std::string& l) { return toDisplay(l); });
}

void HelpSystem::drawTopicPicture(const std::string& picture) {
  // The window is cleared and set even when the topic has no picture.
  shell_.screen.Clear();
  shell_.screen.Header(0, 0, 160, 120);
  if (!picture.empty() && picture != "NULL") {
    std::string file = picture + ".plt";
    std::string path = findDataFile(file);
    playHelpPicture(path.empty() ? (fs::path(dataFolders().empty() ? "." : dataFolders().front()) / file).string()
                                 : path);
  }
  if (shell_.view) shell_.view->showDrawing();
}

void HelpSystem::showHelpPicture(const std::string& name) {
  // Clear first: it drops the window record that Header writes.
  shell_.screen.Clear();
  shell_.screen.Header(0, 0, 160, 120);
  shell_.drawingKind = 1;
  std::string path = findDataFile(Lower(name) + ".plt");
  if (!path.empty()) playHelpPicture(path);
  shell_.session.flags.abortFlag = false;
  if (shell_.view) shell_.view->showDrawing();
}

bool HelpSystem::playHelpPicture(const std::string& path) {
  Session& s = shell_.session;
  std::string bytes;
  if (!ReadRegularFile(path, kHelpFileLimit, bytes).ok()) {
    s.ui.port().box("", path + " nicht gefunden !", BoxIcon::None);
    s.flags.abortFlag = true;
    return false;
  }
  DisplayListCanvas canvas(shell_.screen);
  PlayPlot(bytes, canvas, plotState, [this](std::string_view l) { return toDisplay(std::string(l)); });
  s.flags.abortFlag = false;
  return true;
}

}  // namespace kamo
