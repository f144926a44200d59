// The program folder of the start: the running program's folder must hold
// the program file, else the user names the folder or the program ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "shell/commands.h"
#include "shell/session.h"
#include "shell/startup.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;

TEST(ProgramFolder, RunningProgramsFolderOrTheNamedOne) {
  test::TempFolder folder;
  const std::string bin = folder.path() + "/bin", other = folder.path() + "/other";
  fs::create_directories(bin);
  fs::create_directories(other);
  std::ofstream(bin + "/wkamo") << "";
  struct Case {
    const char* what;
    std::string running;
    std::optional<std::string> answer;  // to the folder question; none: not asked
    bool found;
    std::string programDir;
    size_t messages;
  };
  const Case cases[] = {
      {"the program's own folder", bin + "/wkamo", std::nullopt, true, bin + "/", 0},
      {"unknown running program", "", std::nullopt, true, "/keep/", 0},
      {"renamed program, folder named", other + "/kamo-5.1", bin, true, bin + "/", 1},
      {"renamed program, question cancelled", other + "/kamo-5.1", std::optional<std::string>(),
       false, "/keep/", 1},
      {"renamed program, wrong folder named", other + "/kamo-5.1", other, false, "/keep/", 2},
      {"renamed program, nothing named", other + "/kamo-5.1", "  ", false, "/keep/", 2},
  };
  for (const Case& c : cases) {
    test::ScriptedPort port;
    Session session{port};
    session.programDir = "/keep/";
    const bool asks = c.running.size() && c.running != bin + "/wkamo";
    if (asks) port.texts.push_back(c.answer);
    EXPECT_EQ(LocateProgramFolder(session, c.running), c.found) << c.what;
    EXPECT_EQ(session.programDir, c.programDir) << c.what;
    EXPECT_EQ(port.boxes.size(), c.messages) << c.what;
    EXPECT_EQ(port.textPrompts.size(), asks ? 1u : 0u) << c.what;
    if (c.messages > 0) {
      EXPECT_EQ(port.boxTexts().front(), other + "/wkamo nicht gefunden.") << c.what;
    }
  }
}

// A start from a folder without the program ends before anything is read.
TEST(ProgramFolder, StartEndsWithoutTheProgram) {
  test::TempFolder folder;
  test::ScriptedPort port;
  Session session{port};
  Shell shell{session};
  session.settings.tempDir = folder.path();
  StartEnvironment env;
  env.startDir = folder.path() + "/";
  env.configFallbackDir = folder.path() + "/config/";
  env.runningProgram = folder.path() + "/renamed";
  port.texts.push_back(std::nullopt);
  StartResult r = StartSequence(shell, 8, {}, env);
  EXPECT_FALSE(r.keepRunning);
  EXPECT_EQ(r.exitCode, 1);
}

}  // namespace
}  // namespace kamo
