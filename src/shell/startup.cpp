// Program start and end of the main window.
#include "shell/startup.h"

#include "shell/help.h"

#include <filesystem>

#include "core/codepage.h"
#include "core/identity.h"
#include "core/strings.h"
#include "docu/docu.h"
#include "io/kamoio.h"
#include "io/recentfiles.h"
#include "shell/cmdline.h"
#include "shell/commands.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
bool IsOneOf(int m, std::initializer_list<int> modes) {
  for (int x : modes)
    if (m == x) return true;
  return false;
}

std::string WithSeparator(const std::string& dir) {
  if (dir.empty() || dir.back() == '/' || dir.back() == '\\') return dir;
  return dir + "/";
}

// The project named on the command line of an interactive start.
StartResult CommandLineProject(Shell& shell, const std::vector<std::string>& args,
                               bool& showStartView) {
  Session& s = shell.session;
  if (args.empty()) return {};
  const std::string& name = args[0];
  std::string option = args.size() > 1 ? args[1] : std::string();
  if (option == "/G" || option == "/E" || option == "/e") return {};
  // Only options and no project name.
  std::string first = Upper(name);
  if (first == "/G" || first == "/E" || first == "/NOGUI") return {};
  if (FileNamePart(name).find('.') == std::string::npos) {
    s.ui.showErrorAlways(std::string("Erweiterung .") + kProjectExtension +
                         " mu\xE1 mit angegeben werden");
    return {false, 2};
  }
  std::error_code ec;
  bool exists = fs::exists(name, ec);
  std::string message;
  s.uiState.errorBoxesOn = false;
  bool read = ReadProject(s.ui, s.settings, name, s.project(), &message);
  s.uiState.errorBoxesOn = true;
  s.file.fileDir = DirectoryPart(name);
  s.file.fileName = StemPart(name);
  shell.commandLineName = name;
  s.uiState.fromCommandLine = true;
  if (read) {
    showStartView = true;
    return {};
  }
  s.flags.abortFlag = false;
  // A file that exists but cannot be read is not silently replaced.
  if (exists && !message.empty()) s.ui.showErrorAlways(message);
  if (!s.ui.checkNewFile(name)) return {false, 1};
  return {};
}

// The user's own folder below the data folder.
StartResult UserDataFolder(Session& s) {
  std::string answer;
  if (!s.ui.inputText("Passwort (User) eingeben ...", 8, answer)) return {false, 1};
  std::string base = WithSeparator(s.settings.dataDir);
  std::error_code ec;
  if (!fs::is_directory(base, ec)) {
    s.ui.showErrorAlways("Invalid Directory " + Utf8ToCp850(base));
    return {false, 1};
  }
  std::string trimmed = Trim(answer);
  std::string dir = base + Cp850ToUtf8(trimmed);
  if (trimmed.empty() || trimmed == ".." || trimmed == "\\" || trimmed.find(':') != std::string::npos ||
      trimmed.find('/') != std::string::npos || trimmed.find('\\') != std::string::npos ||
      !fs::is_directory(dir, ec)) {
    s.ui.showErrorAlways("Ung\x81ltiges Passwort " + answer + " !");
    return {false, 1};
  }
  s.file.fileDir = WithSeparator(dir);
  return {};
}
}  // namespace

std::string RunningProgram() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

bool LocateProgramFolder(Session& s, const std::string& runningProgram) {
  if (runningProgram.empty()) return true;
  auto holdsProgram = [](const std::string& folder) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(folder) / kProgramFile, ec);
  };
  auto notFound = [&s](const std::string& folder) {
    s.ui.showErrorAlways(Utf8ToCp850(WithSeparator(folder) + kProgramFile) + " nicht gefunden.");
  };
  std::string folder = fs::path(runningProgram).parent_path().string();
  if (!holdsProgram(folder)) {
    notFound(folder);
    std::string answer = Utf8ToCp850(folder);
    if (!s.ui.inputText("QUORTEX-Programmverzeichnis", 255, answer)) return false;
    folder = Cp850ToUtf8(Trim(answer));
    if (folder.empty() || !holdsProgram(folder)) {
      notFound(folder);
      return false;
    }
  }
  s.programDir = WithSeparator(folder);
  return true;
}

bool OpensMainWindow(const std::vector<std::string>& args) {
  if (IsBatchCall(args)) return false;
  int names = 0;
  for (const auto& a : args) {
    std::string u = Upper(a);
    if (u == "/G" || u == "/E" || u == "/NOGUI") continue;
    if (a.empty() || a[0] == '-' || (a[0] == '/' && a.find('/', 1) == std::string::npos)) return false;
    ++names;
  }
  return names <= 1;
}

bool DisplayAvailable(const std::function<const char*(const char*)>& env) {
  auto set = [&env](const char* name) {
    const char* v = env(name);
    return v && *v;
  };
  const char* platforms = env("QT_QPA_PLATFORM");
  if (!platforms || !*platforms) return set("DISPLAY") || set("WAYLAND_DISPLAY");
  // A list such as "wayland;xcb" is tried in order: one usable entry is enough.
  std::string list = platforms;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::string p = list.substr(start, end - start);
    std::string name = p.substr(0, p.find(':'));  // "xcb:option=..." carries options
    if (name == "xcb") {
      if (set("DISPLAY")) return true;
    } else if (name.rfind("wayland", 0) == 0) {
      if (set("WAYLAND_DISPLAY")) return true;
    } else if (!name.empty()) {
      return true;  // offscreen, minimal, vnc, eglfs, linuxfb: no display server needed
    }
    start = end + 1;
  }
  return false;
}

std::string NoDisplayMessage() {
  return "Fehler : kein Bildschirm verf\x81gbar (DISPLAY nicht gesetzt), das Programmfenster kann "
         "nicht ge\x94" "ffnet werden; ohne Fenster arbeiten /I, /CADi:j, --sheet, --diagram, --solid "
         "(wkamo /?)";
}

StartResult StartSequence(Shell& shell, int mode, const std::vector<std::string>& args,
                          const StartEnvironment& env) {
  Session& s = shell.session;
  ConfigContext ctx{env.startDir, env.screen};
  s.flags.abortFlag = false;
  if (!IsOneOf(mode, {6, 7, 8, 9})) readConfig(s.settings, s.ui, shell.config, env.configFallbackDir, ctx);
  if (!LocateProgramFolder(s, env.runningProgram)) return {false, 1};
  checkDirectories(s.settings, s.ui, StartFolders::FromEnvironment(env.startDir, s.programDir));
  if (!s.settings.userDataFolders) s.file.fileDir.clear();
  s.commandLine = args;
  bool showStartView = false;
  StartResult r = CommandLineProject(shell, args, showStartView);
  if (!r.keepRunning) return r;
  if (!s.uiState.fromCommandLine) {
    if (IsOneOf(mode, {0, 1, 8, 9}) && s.settings.userDataFolders) {
      r = UserDataFolder(s);
      if (!r.keepRunning) return r;
    }
    std::string startProject = s.file.fileDir + "null." + kProjectExtension;
    std::error_code ec;
    if (fs::exists(startProject, ec)) {
      if (ReadProject(s.ui, s.settings, startProject, s.project())) s.file.fileName.clear();
    }
  }
  s.flags.abortFlag = false;
  if (IsOneOf(mode, {1, 4, 8})) shell.recalc();
  s.flags.abortFlag = false;
  s.flags.modified = false;
  if (showStartView && shell.parts.startView) shell.parts.startView(s);
  // The start picture, when the data folders hold one.
  if (shell.help && !shell.help->findDataFile("start.plt").empty()) {
    if (shell.view) shell.view->clearGraphics();
    shell.help->showHelpPicture("start");
  }
  return {};
}

StartResult StartMainWindow(Shell& shell, const std::vector<std::string>& args,
                            const StartEnvironment& env) {
  Session& s = shell.session;
  shell.texts = LanguageTexts();
  ConfigContext ctx{env.startDir, env.screen};
  shell.configContext = ctx;
  readConfig(s.settings, s.ui, shell.config, env.configFallbackDir, ctx);
  s.flags.abortFlag = false;
  ReadRecentFiles(shell.config.dir, shell.recent);
  s.flags.abortFlag = false;
  // Until a project is read, its signature dates are today's.
  StartDocumentation(s.project(), s.settings.numbers, s.clock());
  StartResult r = StartSequence(shell, 8, args, env);
  if (!r.keepRunning) return r;
  s.flags.abortFlag = false;
  if (s.settings.language > 0) shell.switchLanguage(s.settings.language);
  shell.refreshTitle();
  return r;
}

void EndMainWindow(Shell& shell) {
  // A window that never started has no configuration folder to write to.
  if (shell.config.dir.empty()) return;
  WriteRecentFiles(shell.session.ui, shell.config.dir, shell.recent, shell.session.file.fileDir);
}

}  // namespace kamo
