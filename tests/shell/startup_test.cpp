// The start of an interactive session: the project named on the command
// line, the start project, and the prompt rule for over-long stored values.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "shell/commands.h"
#include "shell/session.h"
#include "shell/startup.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;

struct StartBench {
  test::ScriptedPort port;
  Session session{port};
  Shell shell{session};
  test::TempFolder folder;
  StartEnvironment env;
  StartBench() {
    env.startDir = folder.path() + "/";
    env.configFallbackDir = folder.path() + "/config/";
    session.programDir = folder.path() + "/";
    session.settings.tempDir = folder.path();
  }
  std::string example(const std::string& name) {
    std::string path = folder.file(name);
    fs::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", path);
    return path;
  }
};

TEST(Startup, CommandLineProject) {
  struct Case {
    const char* what;
    std::function<std::vector<std::string>(StartBench&)> args;
    bool keepRunning, fromCommandLine, calculated;
    std::string fileName;
  };
  const Case cases[] = {
      {"no arguments", [](StartBench&) { return std::vector<std::string>{}; }, true, false, false,
       ""},
      {"a readable project", [](StartBench& b) { return std::vector<std::string>{b.example("a.kmo")}; },
       true, true, true, "a"},
      {"/G does not open it",
       [](StartBench& b) { return std::vector<std::string>{b.example("a.kmo"), "/G"}; }, true,
       false, false, ""},
      {"options only", [](StartBench&) { return std::vector<std::string>{"/NOGUI"}; }, true, false,
       false, ""},
      {"a new name", [](StartBench& b) { return std::vector<std::string>{b.folder.file("neu.kmo")}; },
       true, true, false, "neu"},
      {"without extension",
       [](StartBench& b) { return std::vector<std::string>{b.folder.file("neu")}; }, false, false,
       false, ""},
  };
  for (const Case& c : cases) {
    StartBench b;
    StartResult r = StartSequence(b.shell, 8, c.args(b), b.env);
    EXPECT_EQ(r.keepRunning, c.keepRunning) << c.what;
    if (!r.keepRunning) {
      EXPECT_EQ(b.port.boxTexts().back(), "Erweiterung .kmo mu\u00DF mit angegeben werden");
      continue;
    }
    EXPECT_EQ(b.session.uiState.fromCommandLine, c.fromCommandLine) << c.what;
    EXPECT_EQ(b.session.project().contourCount > 0, c.calculated) << c.what;
    EXPECT_EQ(b.session.file.fileName, c.fileName) << c.what;
    EXPECT_FALSE(b.session.flags.modified);
    EXPECT_FALSE(b.session.flags.abortFlag);
  }
}

// A damaged project named on the command line is reported, not silently
// taken as the name of a new one.
TEST(Startup, UnreadableCommandLineProjectIsReported) {
  StartBench b;
  std::string bad = b.folder.file("bad.kmo");
  test::WriteFileBytes(bad, "kaputt\r\n");
  b.port.answers = {Answer::No};  // do not overwrite it
  StartResult r = StartSequence(b.shell, 8, {bad}, b.env);
  EXPECT_FALSE(r.keepRunning);
  ASSERT_FALSE(b.port.boxes.empty());
  EXPECT_NE(b.port.boxes.front().text.find("bad.kmo"), std::string::npos);
}

TEST(Startup, StartProjectNullIsReadWithoutName) {
  StartBench b;
  b.session.settings.userDataFolders = true;
  b.session.settings.dataDir = b.folder.path();
  fs::create_directory(b.folder.file("meier"));
  fs::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", b.folder.file("meier/null.kmo"));
  b.port.texts = {"meier"};
  StartResult r = StartSequence(b.shell, 8, {}, b.env);
  EXPECT_TRUE(r.keepRunning);
  EXPECT_EQ(b.session.file.fileDir, b.folder.file("meier") + "/");
  EXPECT_EQ(b.session.file.fileName, "");
  EXPECT_GT(b.session.project().contourCount, 0);
}

TEST(Startup, UserFolderRefusals) {
  for (const char* answer : {"", "..", "\\", "c:x", "fremd"}) {
    StartBench b;
    b.session.settings.userDataFolders = true;
    b.session.settings.dataDir = b.folder.path();
    b.port.texts = {answer};
    EXPECT_FALSE(StartSequence(b.shell, 8, {}, b.env).keepRunning) << answer;
    EXPECT_EQ(b.port.boxTexts().back(), "Ung\u00FCltiges Passwort " + std::string(answer) + " !");
  }
}

TEST(Startup, RecentFilesKeptBetweenRuns) {
  test::TempFolder work;
  std::string project;
  {
    StartBench b;
    b.env.configFallbackDir = work.path() + "/";
    StartMainWindow(b.shell, {}, b.env);
    project = b.example("a.kmo");
    ASSERT_TRUE(b.shell.openProject(project));
    EndMainWindow(b.shell);
  }
  StartBench b;
  b.env.configFallbackDir = work.path() + "/";
  StartMainWindow(b.shell, {}, b.env);
  EXPECT_EQ(b.shell.recentEntry(1), project);
}

// A saved menu language is applied at start; without the save switch it is not.
TEST(Startup, SavedMenuLanguage) {
  for (bool saved : {true, false}) {
    StartBench b;
    Settings s;
    s.language = lcEnglish;
    s.saveLanguage = saved;
    ASSERT_TRUE(writeConfig(s, b.session.ui, b.env.startDir + "kamo.cfg"));
    StartMainWindow(b.shell, {}, b.env);
    EXPECT_EQ(b.shell.menuCaption(Menu::File), saved ? "&File" : "&Datei");
    EXPECT_EQ(b.shell.config.dir, b.env.startDir);
  }
}

// The maximum length of a prompt limits typing; a longer stored value is kept.
TEST(Prompt, MaximumLengthNeverCutsTheShownValue) {
  test::ScriptedPort port;
  Session session(port);
  std::string line(80, 'x');
  port.texts = {line, line.substr(1), line + "y"};
  for (const std::string& expected : {line, line.substr(1), line}) {
    std::string value = line;
    ASSERT_TRUE(session.ui.inputText("Programm", 60, value));
    EXPECT_EQ(value, expected);
  }
  EXPECT_EQ(port.textPrompts.at(0).text, line);
}

TEST(Startup, WhichCallsOpenTheWindow) {
  struct Case {
    std::vector<std::string> args;
    bool window;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{}, true},
           {{"/home/k/nocke.kmo"}, true},
           {{"nocke.kmo", "/G"}, true},
           {{"nocke.kmo", "/e", "/nogui"}, true},
           {{"nocke.kmo", "/I"}, false},
           {{"nocke.kmo", "/CAD1:1"}, false},
           {{"/?"}, false},
           {{"nocke.kmo", "/X"}, false},
           {{"nocke.kmo", "--format"}, false},
           {{"a.kmo", "b.kmo"}, false},
       }) {
    std::string what;
    for (const auto& a : c.args) what += a + " ";
    EXPECT_EQ(OpensMainWindow(c.args), c.window) << what;
  }
}

TEST(Startup, DisplayAvailable) {
  struct Case {
    std::map<std::string, std::string> env;
    bool available;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{}, false},
           {{{"DISPLAY", ""}}, false},
           {{{"DISPLAY", ":0"}}, true},
           {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
           {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
           {{{"QT_QPA_PLATFORM", "minimal"}}, true},
           {{{"QT_QPA_PLATFORM", "xcb"}}, false},
           {{{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-0"}}, false},
           {{{"QT_QPA_PLATFORM", "xcb:nograb"}, {"DISPLAY", ":1"}}, true},
           {{{"QT_QPA_PLATFORM", "wayland"}, {"DISPLAY", ":0"}}, false},
           {{{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":0"}}, true},
           {{{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ":0"}}, true},
       }) {
    std::string what;
    for (const auto& [k, v] : c.env) what += k + "=" + v + " ";
    auto env = [&c](const char* name) -> const char* {
      auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(DisplayAvailable(env), c.available) << what;
  }
}

// The program itself, started in dir with nothing but env.
struct ProgramRun {
  int status = -1;
  std::string err;
};

ProgramRun RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& env,
                      const std::string& dir) {
  std::string program = std::string(KAMO_BINARY_DIR) + "/wkamo";
  std::vector<char*> argv{program.data()};
  std::vector<std::string> a = args, e = env;
  for (auto& x : a) argv.push_back(x.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& x : e) envp.push_back(x.data());
  envp.push_back(nullptr);
  int pipeFd[2];
  ProgramRun r;
  if (::pipe(pipeFd) != 0) return r;
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFd[1], 2);
    ::close(pipeFd[0]);
    if (::chdir(dir.c_str()) != 0) ::_exit(127);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(pipeFd[1]);
  char buf[4096];
  ssize_t n;
  while ((n = ::read(pipeFd[0], buf, sizeof buf)) > 0) r.err.append(buf, static_cast<size_t>(n));
  ::close(pipeFd[0]);
  ::waitpid(pid, &r.status, 0);
  return r;
}

TEST(Startup, NoDisplayEndsWithAMessageInsteadOfAnAbort) {
  std::string program = std::string(KAMO_BINARY_DIR) + "/wkamo";
  if (!fs::exists(program)) GTEST_SKIP() << "the program is not built";
  test::TempFolder work;
  fs::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", work.file("nocke.kmo"));
  std::vector<std::string> env{"HOME=" + work.path(), "XDG_CONFIG_HOME=" + work.path() + "/config",
                               "TMPDIR=" + work.path()};
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{"nocke.kmo", "/NOGUI"}, 2, "kein Bildschirm verf\xC3\xBCgbar"},
           {{"nocke.kmo"}, 2, "kein Bildschirm verf\xC3\xBCgbar"},
           {{"/NOGUI"}, 2, "kein Bildschirm verf\xC3\xBCgbar"},
           {{}, 2, "kein Bildschirm verf\xC3\xBCgbar"},
           // A batch job needs no display at all.
           {{"nocke.kmo", "/I", "/NOGUI"}, 0, ""},
       }) {
    std::string what;
    for (const auto& a : c.args) what += a + " ";
    SCOPED_TRACE(what);
    ProgramRun r = RunProgram(c.args, env, work.path());
    ASSERT_TRUE(WIFEXITED(r.status)) << "ended by signal " << WTERMSIG(r.status) << ": " << r.err;
    EXPECT_EQ(WEXITSTATUS(r.status), c.code) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace kamo
