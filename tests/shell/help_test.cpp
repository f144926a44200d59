// The command-line help of the program, as printed by the executable itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "cad/formats.h"
#include "shell/animate_batch.h"
#include "shell/cmdline.h"
#include "shell/console_port.h"
#include "shell/session.h"
#include "shell/sheet_batch.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

std::string RunWkamo(const std::string& args, int& status) {
  std::string cmd = std::string(KAMO_BINARY_DIR) + "/wkamo " + args + " 2>/dev/null";
  return test::CommandOutput(cmd, &status);
}

TEST(CommandLine, HelpLines) {
  int status = -1;
  std::string out = RunWkamo("/?", status);
  EXPECT_EQ(WEXITSTATUS(status), kExitOk);
  std::istringstream lines(out);
  std::string l;
  std::vector<std::string> got;
  while (std::getline(lines, l)) got.push_back(l);
  const std::vector<std::string> expected = {
      "KAMO Command Line Mode",
      "wkamo Filename [/I] [/CADi:j] [/NOGUI]",
      "/I       -> TXT file",
      "/CADi:j  -> CAD File",
      "            i: 1=DXF, 2=IGS, 5=TXT",
      "            j: index (1,2,3, ..)",
      "/NOGOUI  -> No GUI, exit on fatal error",
      "/?       -> Help",
      "Example: wkamo test.kmo             ->  GUI",
      "Example: wkamo test.kmo /I /NOGUI   ->  test.txt",
      "Example: wkamo test.kmo /CAD1:1     ->  test.dxf",
      "Example: wkamo test.edi /E /NOGUI   ->  test.edi",
  };
  ASSERT_GE(got.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(got[i], expected[i]);
  RunWkamo("?", status);
  EXPECT_EQ(WEXITSTATUS(status), kExitOk);
}

TEST(CommandLine, HelpNeedsNoDisplay) {
  std::ostringstream out, err;
  ConsolePort port(err);
  Session s(port);
  EXPECT_EQ(RunBatch(s, {"/?"}, out, err), kExitOk);
  EXPECT_EQ(out.str().substr(0, 22), "KAMO Command Line Mode");
  EXPECT_TRUE(err.str().empty());
}

// Our own lines after the fixed ones name every option and every format the
// parser takes, so a format added to the batch jobs cannot stay undocumented.
TEST(CommandLine, HelpNamesEveryOptionAndFormat) {
  std::string help;
  for (const auto& l : CommandLineHelp()) help += l + "\n";
  for (const char* option : {"--sheet", "--diagram", "--solid", "--format", "-o OUT", "/I",
                             "/CADi:j", "/NOGUI", "/G", "/E", "Exit codes"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
  for (const char* kind : {"1 DXF", "2 IGES", "5 text", "6 STL", "7 STEP", "7, 8, 9 the diagrams"})
    EXPECT_NE(help.find(kind), std::string::npos) << kind;
  std::ostringstream err;
  ConsolePort port(err);
  Session s(port);
  for (const char* format : {"dxf", "txt", "pdf", "svg", "png", "igs", "stp", "stl"}) {
    EXPECT_NE(help.find(format), std::string::npos) << format;
    CommandLine cl = ParseCommandLine({"cam.kmo", "--sheet", "1", "--format", format});
    EXPECT_EQ(SheetBatchUsageError(s, cl).find("unknown"), std::string::npos) << format;
  }
  CommandLine wrong = ParseCommandLine({"cam.kmo", "--sheet", "1", "--format", "jpg"});
  EXPECT_NE(SheetBatchUsageError(s, wrong).find("unknown"), std::string::npos);
  // --animate takes the table's frame formats (the GIF and the PNG sequence)
  // and no other, and "/?" names them in its lines.
  const std::string animate = help.substr(help.find("--animate"));
  for (const char* format : {"gif", "png", "pdf", "svg", "dxf", "txt"}) {
    const bool frames = FindFormat(format, kJobAnimate) != nullptr;
    EXPECT_EQ(frames, std::string_view(format) == "gif" || std::string_view(format) == "png") << format;
    CommandLine cl = ParseCommandLine({"cam.kmo", "--animate", "12", "--format", format});
    EXPECT_EQ(AnimateBatchUsageError(s, cl).find("unknown") == std::string::npos, frames) << format;
    if (frames) {
      EXPECT_NE(animate.find(format), std::string::npos) << format;
    }
  }
}

// The README's lists of formats are the format table's.
TEST(CommandLine, ReadmeListsTheFormatsOfTheTable) {
  std::string readme = test::ReadFileBytes(std::string(KAMO_SOURCE_DIR) + "/README.md");
  for (char& c : readme)
    if (c == '\n') c = ' ';
  EXPECT_NE(readme.find("In `/CADi:j`, i is the format (" + CadOptionFormats() + ")"), std::string::npos);
  size_t list = readme.find("F is `");
  ASSERT_NE(list, std::string::npos);
  std::string paragraph = readme.substr(list, readme.find(". ", list) - list);
  for (const OutputFormat& f : kOutputFormats) {
    if (f.jobs & kJobSheet) {
      EXPECT_NE(paragraph.find(std::string("`") + f.name + "`"), std::string::npos) << f.name;
    }
    if (f.jobs & kJobSolid) {
      EXPECT_NE(readme.find(std::string("--solid --format ") + f.name), std::string::npos) << f.name;
    }
    if (f.jobs & kJobAnimate) {
      EXPECT_NE(readme.find(std::string("--animate N --format ") + f.name), std::string::npos) << f.name;
    }
  }
}

}  // namespace
}  // namespace kamo
