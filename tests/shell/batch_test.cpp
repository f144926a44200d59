// The batch command line: the printout of every example, a golden printout,
// and the exit codes and messages of every way a batch run can fail.
// KAMO_BLESS=1 rewrites the golden file from the current output.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "core/codepage.h"
#include "io/configio.h"
#include "io/kamoio.h"
#include "shell/cmdline.h"
#include "shell/console_port.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo::test {
namespace {

namespace fs = std::filesystem;

const std::string kSource = KAMO_SOURCE_DIR;
const std::string kWkamo = std::string(KAMO_BINARY_DIR) + "/wkamo";

struct Outcome {
  int code;
  std::string out, err;
};

std::string Quote(const std::string& s) { return "'" + s + "'"; }

// Runs wkamo in folder with the given arguments.
Outcome Wkamo(const std::string& folder, const std::vector<std::string>& args) {
  // The user's own configuration must not leak into the run.
  std::string cmd = "cd " + Quote(folder) + " && XDG_CONFIG_HOME=" + Quote(folder + "/.config") +
                    " " + Quote(kWkamo);
  for (const auto& a : args) cmd += " " + Quote(a);
  cmd += " > " + Quote(folder + "/.out") + " 2> " + Quote(folder + "/.err");
  int rc = std::system(cmd.c_str());
  Outcome r{rc == -1 ? -1 : WEXITSTATUS(rc), ReadFileBytes(folder + "/.out"),
        ReadFileBytes(folder + "/.err")};
  fs::remove(folder + "/.out");
  fs::remove(folder + "/.err");
  return r;
}

std::vector<std::string> Examples() {
  std::vector<std::string> all;
  for (const auto& e : fs::directory_iterator(kSource + "/examples"))
    if (e.path().extension() == ".kmo") all.push_back(e.path().string());
  std::sort(all.begin(), all.end());
  return all;
}

TEST(BatchPrintout, EveryExampleWritesItsPrintout) {
  auto examples = Examples();
  ASSERT_FALSE(examples.empty());
  for (const auto& example : examples) {
    TempFolder work;
    Outcome r = Wkamo(work.path(), {example, "/I", "/NOGUI"});
    std::string stem = fs::path(example).stem().string();
    EXPECT_EQ(r.code, 0) << example << ": " << r.err;
    EXPECT_EQ(r.err, "") << example;
    std::string text = ReadFileBytes(work.file(stem + ".txt"));
    ASSERT_FALSE(text.empty()) << example;
    // UTF-8 throughout, and the value rows have four fields.
    EXPECT_EQ(Cp850ToUtf8(Utf8ToCp850(text)), text) << example;
    EXPECT_NE(text.find("Breite\tb\tmm\t"), std::string::npos) << example;
    EXPECT_NE(text.find("Min./Max.\n"), std::string::npos) << example;
    // Only the printout is left in the working folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), fs::directory_iterator{}), 1)
        << example;
  }
}

TEST(BatchPrintout, MatchesTheGoldenPrintout) {
  TempFolder work;
  std::ostringstream out, err;
  ConsolePort port(err);
  Session session(port, std::make_unique<FixedClock>(DateTime{2026, 1, 15, 8, 30, 0}));
  session.settings.pltDir = kSource + "/data";
  // A project of our own: the bundled examples may change.
  fs::copy_file(kSource + "/tests/shell/data/golden.kmo", work.file("golden.kmo"));
  int code = RunBatchIn(session, {work.file("golden.kmo"), "/I"}, work.path(), out, err);
  ASSERT_EQ(code, 0) << err.str();
  std::string text = ReadFileBytes(work.file("golden.txt"));
  // The folder of the test run is the one varying part.
  for (size_t p; (p = text.find(work.path())) != std::string::npos;)
    text.replace(p, work.path().size(), "WORK");
  std::string golden = kSource + "/tests/shell/data/golden.txt";
  if (std::getenv("KAMO_BLESS")) WriteFileBytes(golden, text);
  EXPECT_EQ(text, ReadFileBytes(golden));
  EXPECT_NE(text.find("BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN\n"), std::string::npos);
  EXPECT_EQ(text.find("keine Beschreibung"), std::string::npos);
}

TEST(BatchPrintout, TheConfigurationOfTheWorkingFolderApplies) {
  TempFolder work;
  Settings inch;
  inch.numbers.unitSystem = 1;
  WriteFileBytes(work.file("kamo.cfg"), ConfigToBytes(inch));
  Outcome r = Wkamo(work.path(), {kSource + "/examples/ellipse.kmo", "/I"});
  EXPECT_EQ(r.code, 0) << r.err;
  std::string text = ReadFileBytes(work.file("ellipse.txt"));
  EXPECT_NE(text.find("Breite\tb\tin\t"), std::string::npos) << text;
  EXPECT_NE(text.find("\tlbf\t"), std::string::npos);
}

TEST(BatchPrintout, OutputNamedWithO) {
  TempFolder work;
  fs::create_directory(work.file("out"));
  Outcome r = Wkamo(work.path(), {kSource + "/examples/ellipse.kmo", "/I", "-o", "out/list.txt"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(ReadFileBytes(work.file("out/list.txt")).find("Min./Max.\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(work.file("ellipse.txt")));
}

// --printout writes the standard printout through the engine's file targets:
// the text file in the DOS code page, the tab-separated rows of "/I", and an
// HTML page that tidy accepts; each under the format's name or -o.
TEST(BatchPrintout, EveryFormatOfPrintout) {
  TempFolder work;
  std::string cam = kSource + "/examples/ellipse.kmo";
  Outcome slash = Wkamo(work.path(), {cam, "/I", "-o", "slash-i.txt"});
  ASSERT_EQ(slash.code, 0) << slash.err;
  struct Case {
    const char* format;
    const char* output;  // -o, or nullptr for the default name
    const char* file;
  } cases[] = {{"txt", nullptr, "ellipse.txt"},
               {"tsv", nullptr, "ellipse.tsv"},
               {"html", nullptr, "ellipse.html"},
               {"html", "pages/cam.htm", "pages/cam.htm"}};
  fs::create_directory(work.file("pages"));
  for (const Case& c : cases) {
    std::vector<std::string> args = {cam, "--printout", "--format", c.format};
    if (c.output) args.insert(args.end(), {"-o", c.output});
    Outcome r = Wkamo(work.path(), args);
    EXPECT_EQ(r.code, 0) << c.format << ": " << r.err;
    EXPECT_EQ(r.err, "") << c.format;
    std::string bytes = ReadFileBytes(work.file(c.file));
    ASSERT_FALSE(bytes.empty()) << c.file;
    std::string f = c.format;
    if (f == "txt") {
      // The page header and the "St\x94\xE1" of the follower in CP850.
      EXPECT_NE(bytes.find("St\x94\xE1" "el"), std::string::npos) << bytes.substr(0, 400);
      EXPECT_EQ(bytes.find('\t'), std::string::npos);
    } else if (f == "tsv") {
      // The rows of "/I"; the header's first two lines hold the time and the file.
      auto body = [](const std::string& t) { return t.substr(t.find('\n', t.find('\n') + 1)); };
      EXPECT_EQ(body(bytes), body(ReadFileBytes(work.file("slash-i.txt"))));
    } else {
      EXPECT_NE(bytes.find("</HTML>"), std::string::npos);
      std::string cmd = "tidy -q -e " + Quote(work.file(c.file)) + " > " + Quote(work.file("tidy.log")) + " 2>&1";
      int rc = std::system(cmd.c_str());
      ASSERT_NE(rc, -1);
      ASSERT_NE(WEXITSTATUS(rc), 127) << "tidy is not installed (scripts/install-deps.sh)";
      // tidy exits 2 on errors, 1 on warnings only.
      EXPECT_LT(WEXITSTATUS(rc), 2) << ReadFileBytes(work.file("tidy.log"));
    }
  }
  // Nothing else is left behind: four files, the pages folder and tidy's log.
  EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), fs::directory_iterator{}), 6);
  struct Bad {
    std::vector<std::string> args;
    const char* message;
  } bad[] = {{{cam, "--printout"}, "--printout needs --format"},
             {{cam, "--printout", "--format", "pdf"}, "unknown format (txt, tsv, html)"},
             {{cam, "--printout", "/I"}, "only one job"}};
  for (const Bad& b : bad) {
    Outcome r = Wkamo(work.path(), b.args);
    EXPECT_EQ(r.code, 2) << b.message;
    EXPECT_NE(r.err.find(b.message), std::string::npos) << r.err;
  }
}

TEST(BatchCad, OutputNamedWithO) {
  struct Case {
    const char* option;
    const char* output;
    const char* starts;  // the file's first bytes
  } cases[] = {{"/CAD1:1", "out/cam.dxf", "  0\r\nSECTION"}, {"/CAD5:2", "elements.txt", ""}};
  for (const auto& c : cases) {
    TempFolder work;
    fs::create_directory(work.file("out"));
    Outcome r = Wkamo(work.path(), {kSource + "/examples/ellipse.kmo", c.option, "-o", c.output});
    EXPECT_EQ(r.code, 0) << c.option << ": " << r.err;
    std::string bytes = ReadFileBytes(work.file(c.output));
    EXPECT_FALSE(bytes.empty()) << c.option;
    EXPECT_EQ(bytes.rfind(c.starts, 0), 0u) << c.option << ": " << bytes.substr(0, 20);
    // Nothing under the project's own name.
    for (const char* ext : {".dxf", ".txt"}) EXPECT_FALSE(fs::exists(work.file(std::string("ellipse") + ext)));
  }
}

TEST(BatchPrintout, ExistingPrintoutIsReplaced) {
  TempFolder work;
  WriteFileBytes(work.file("ellipse.txt"), "old");
  Outcome r = Wkamo(work.path(), {kSource + "/examples/ellipse.kmo", "/i"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(ReadFileBytes(work.file("ellipse.txt")), "old");
}

// A project file that reads but cannot be calculated.
std::string FailingProject(const TempFolder& folder) {
  ScriptedPort port;
  Settings settings;
  Flags flags;
  UiState state;
  Ui ui(port, flags, state, settings.numbers);
  CamProject p;
  p.curveType = ctPolygon;
  p.polygon.z = 2;
  std::string path = folder.file("broken.kmo");
  EXPECT_TRUE(WriteProjectFile(ui, settings, path, p));
  return path;
}

TEST(BatchFailures, ExitCodesAndReasons) {
  TempFolder data;
  std::string failing = FailingProject(data);
  WriteFileBytes(data.file("garbage.kmo"), "not a project\r\n");
  fs::copy_file(kSource + "/examples/sine.kmo", data.file("my.cam.kmo"));
  fs::copy_file(kSource + "/examples/sine.kmo", data.file("keep.kmo"));
  fs::copy_file(kSource + "/examples/sine.kmo", data.file("keep.txt"));
  const std::string kept = ReadFileBytes(data.file("keep.kmo"));
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string stderrHas;  // UTF-8
  } cases[] = {
      {{data.file("missing.kmo"), "/I", "/NOGUI"}, 1, "missing.kmo"},
      {{data.file("garbage.kmo"), "/I"}, 1, "garbage.kmo"},
      {{failing, "/I", "/NOGUI"}, 1, "Fatal  : Polygon z < 3 !"},
      {{data.file("cam"), "/I"}, 2, "Erweiterung .kmo mu\xC3\x9F mit angegeben werden"},
      {{kSource + "/examples/sine.kmo", "/X"}, 2, "/X: unknown option"},
      {{kSource + "/examples/sine.kmo", "/I", "/CAD1:1"}, 2, "only one job"},
      {{kSource + "/examples/sine.kmo", "/CAD1:6", "/CAD7:1"}, 2, "only one job"},
      {{"/I"}, 2, "needs a project file"},
      {{kSource + "/examples/sine.kmo", "/CAD9:1"}, 2, "/CAD9:1"},
      {{kSource + "/examples/sine.kmo", "/CAD1:99"}, 2, "/CAD1:99"},
      {{kSource + "/examples/sine.kmo", "--sheet", "1", "--format", "xyz"}, 2, "xyz"},
      {{kSource + "/examples/sine.kmo", "--format"}, 2, "a value is missing"},
      {{data.file("keep.kmo"), "/I", "-o", data.file("keep.kmo")}, 1, "would replace the project"},
      {{data.file("keep.txt"), "/I", "-o", data.file("keep.txt")}, 1, "would replace the project"},
      {{data.file("keep.kmo"), "/CAD1:1", "-o", data.file("keep.kmo")}, 1, "would replace the project"},
      {{data.file("keep.kmo"), "/CAD1:1", "-o", data.path()}, 1, "is a folder"},
      {{data.file("keep.kmo"), "/I", "-o", ""}, 2, "-o: a value is missing"},
  };
  for (const auto& c : cases) {
    TempFolder work;
    Outcome r = Wkamo(work.path(), c.args);
    std::string what = c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : "");
    EXPECT_EQ(r.code, c.code) << what << ": " << r.err;
    EXPECT_NE(r.err.find(c.stderrHas), std::string::npos) << what << ": " << r.err;
    EXPECT_EQ(r.out, "") << what;
    for (const auto& e : fs::directory_iterator(work.path()))
      ADD_FAILURE() << what << " left " << e.path();
  }
  EXPECT_EQ(ReadFileBytes(data.file("keep.kmo")), kept);
  EXPECT_EQ(ReadFileBytes(data.file("keep.txt")), kept);
}

TEST(BatchFailures, UnwritableFolderFailsWithItsMessage) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write everywhere";
  TempFolder work;
  fs::permissions(work.path(), fs::perms::owner_read | fs::perms::owner_exec);
  Outcome r = Wkamo(work.path(), {kSource + "/examples/sine.kmo", "/I"});
  fs::permissions(work.path(), fs::perms::owner_all);
  EXPECT_EQ(r.code, 1);
  // The system's reason, not a guess about the name.
  EXPECT_NE(r.err.find("sine.txt: Permission denied"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(work.file("sine.txt")));
}

// Every job takes a project name with any number of dots, "/I" as well.
TEST(BatchFailures, ProjectNamesWithManyDots) {
  TempFolder data;
  fs::copy_file(kSource + "/examples/sine.kmo", data.file("my.cam.v2.kmo"));
  for (const std::vector<std::string>& job :
       {std::vector<std::string>{"/I"}, {"/CAD1:1"}, {"--sheet", "1", "--format", "dxf"}}) {
    TempFolder work;
    std::vector<std::string> args{data.file("my.cam.v2.kmo")};
    args.insert(args.end(), job.begin(), job.end());
    Outcome r = Wkamo(work.path(), args);
    EXPECT_EQ(r.code, 0) << job[0] << ": " << r.err;
    std::string ext = job[0] == "/I" ? ".txt" : ".dxf";
    EXPECT_TRUE(fs::exists(work.file("my.cam.v2" + ext))) << job[0];
  }
}

TEST(BatchFailures, MissingOutputFolderFailsWithItsMessage) {
  std::ostringstream out, err;
  ConsolePort port(err);
  Session session(port);
  int code = RunBatchIn(session, {kSource + "/examples/sine.kmo", "/I"}, "/nonexistent-kamo-dir",
                        out, err);
  EXPECT_EQ(code, 1);
  EXPECT_NE(err.str().find("/nonexistent-kamo-dir/sine.txt: No such file or directory"),
            std::string::npos)
      << err.str();
}

TEST(BatchHelp, HelpGoesToStdoutAndNeedsNoDisplay) {
  TempFolder work;
  for (const char* h : {"/?", "?"}) {
    Outcome r = Wkamo(work.path(), {h});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("KAMO Command Line Mode\n"), std::string::npos);
    EXPECT_NE(r.out.find("/I       -> TXT file\n"), std::string::npos);
    EXPECT_NE(r.out.find("--printout --format F [-o OUT]"), std::string::npos);
  }
}

TEST(BatchParse, FormsOfTheCommandLine) {
  struct Case {
    std::vector<std::string> args;
    CommandLine::Job job;
    std::string file;
    bool noGui;
    bool error;
  } cases[] = {
      {{"cam.kmo", "/I"}, CommandLine::Job::Printout, "cam.kmo", false, false},
      {{"cam.kmo", "--printout", "--format", "html"}, CommandLine::Job::Report, "cam.kmo", false, false},
      {{"cam.kmo", "-i", "/nogui"}, CommandLine::Job::Printout, "cam.kmo", true, false},
      {{"/NOGUI", "/home/u/cam.kmo", "-I"}, CommandLine::Job::Printout, "/home/u/cam.kmo", true, false},
      {{"cam.kmo", "/cad1:2"}, CommandLine::Job::Cad, "cam.kmo", false, false},
      {{"cam.kmo", "/G"}, CommandLine::Job::None, "cam.kmo", false, false},
      {{"cam.kmo", "/E", "/NOGUI"}, CommandLine::Job::None, "cam.kmo", true, false},
      {{"a.kmo", "b.kmo", "/I"}, CommandLine::Job::Printout, "a.kmo", false, true},
      {{"cam.kmo", "--solid", "--format", "stl", "-o", "x.stl"}, CommandLine::Job::Solid, "cam.kmo", false, false},
      {{"x", "?"}, CommandLine::Job::Help, "x", false, false},
  };
  for (const auto& c : cases) {
    CommandLine cl = ParseCommandLine(c.args);
    EXPECT_EQ(cl.job, c.job) << c.args[0];
    EXPECT_EQ(cl.file, c.file) << c.args[0];
    EXPECT_EQ(cl.noGui, c.noGui) << c.args[0];
    EXPECT_EQ(!cl.error.empty(), c.error) << c.args[0];
  }
  EXPECT_EQ(MissingExtensionMessage("dir.v2/cam"), "Erweiterung .kmo mu\xE1 mit angegeben werden");
  EXPECT_EQ(MissingExtensionMessage("cam.kmo"), "");
}

}  // namespace
}  // namespace kamo::test

namespace kamo::test {
namespace {

const char* kProgramme =
    "# rise, dwell, return, dwell\n"
    "base 40\n"
    "cycloidal 120 20\n"
    "dwell 60\n"
    "345 120 0\n"
    "dwell 60\n"
    "speed 300\n";

TEST(BatchMotion, WritesACalculatedProjectFromTheProgramme) {
  TempFolder work;
  WriteFileBytes(work.file("rise.txt"), kProgramme);
  Outcome r = Wkamo(work.path(), {"--motion", "rise.txt", "-o", "cam.kmo"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  CamProject p;
  Settings settings;
  ProjectReadError error;
  ASSERT_TRUE(ProjectFromBytes(ReadFileBytes(work.file("cam.kmo")), p, error));
  EXPECT_EQ(p.curveType, ctFormula);
  EXPECT_EQ(p.segmentCount, 4);
  EXPECT_EQ(static_cast<double>(p.speed), 300);
  EXPECT_EQ(p.calc.steps, 720);
  // The project file reads and calculates like any other.
  Outcome printout = Wkamo(work.path(), {"cam.kmo", "/I"});
  EXPECT_EQ(printout.code, 0) << printout.err;
  // Without -o: the programme's stem in the working folder.
  Outcome named = Wkamo(work.path(), {"--motion", work.file("rise.txt")});
  EXPECT_EQ(named.code, 0) << named.err;
  EXPECT_TRUE(fs::exists(work.file("rise.kmo")));
  // The shipped example builds.
  Outcome example = Wkamo(work.path(), {"--motion", kSource + "/examples/motion-programme.txt", "-o", "ex.kmo"});
  EXPECT_EQ(example.code, 0) << example.err;
}

TEST(BatchMotion, AnExistingProjectIsReplacedOnlyWithForce) {
  TempFolder work;
  WriteFileBytes(work.file("rise.txt"), kProgramme);
  WriteFileBytes(work.file("cam.kmo"), "mine\r\n");
  Outcome r = Wkamo(work.path(), {"--motion", "rise.txt", "-o", "cam.kmo"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("--force"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFileBytes(work.file("cam.kmo")), "mine\r\n");
  r = Wkamo(work.path(), {"--motion", "rise.txt", "-o", "cam.kmo", "--force"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(ReadFileBytes(work.file("cam.kmo")), "mine\r\n");
  // Not even --force replaces the programme itself.
  WriteFileBytes(work.file("prog.kmo"), kProgramme);
  r = Wkamo(work.path(), {"--motion", "prog.kmo", "-o", "prog.kmo", "--force"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("motion programme"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFileBytes(work.file("prog.kmo")), kProgramme);
}

TEST(BatchMotion, FailuresAndUsageErrors) {
  struct Case {
    std::vector<std::string> args;
    const char* programme;  // written as p.txt when not null
    int code;
    std::string stderrHas;
  } cases[] = {
      {{"--motion", "p.txt", "-o", "c.kmo"}, "base 40\ncycloidal 120 20\nfoo 60\n", 1, "(Zeile 3)"},
      {{"--motion", "p.txt", "-o", "c.kmo"}, "base 40\ncycloidal 120 20\ndwell 60\n345 120 0\n", 1,
       "Winkelsumme 300"},
      {{"--motion", "p.txt", "-o", "c.kmo"}, "base 40\nmodtrap 90 20\ndwell 90\nmodtrap 90 0\ndwell 90\n", 1,
       "braucht 12"},
      {{"--motion", "missing.txt", "-o", "c.kmo"}, nullptr, 1, "missing.txt"},
      {{"--motion"}, nullptr, 2, "a value is missing"},
      {{"--motion", "p.txt", "-o", "c"}, kProgramme, 2, "Erweiterung"},
      {{"--motion", "p.txt", "x.kmo"}, kProgramme, 2, "reads none"},
      {{"--motion", "p.txt", "--format", "stl"}, kProgramme, 2, "kmo only"},
      {{"x.kmo", "/I", "--force"}, nullptr, 2, "--force"},
      {{"--motion", "p.txt", "/I"}, kProgramme, 2, "only one job"},
  };
  for (const auto& c : cases) {
    TempFolder work;
    if (c.programme) WriteFileBytes(work.file("p.txt"), c.programme);
    Outcome r = Wkamo(work.path(), c.args);
    std::string what = c.args.back();
    EXPECT_EQ(r.code, c.code) << what << ": " << r.err;
    EXPECT_NE(r.err.find(c.stderrHas), std::string::npos) << what << ": " << r.err;
    for (const auto& e : fs::directory_iterator(work.path()))
      if (e.path().filename() != "p.txt") ADD_FAILURE() << what << " left " << e.path();
  }
}

}  // namespace
}  // namespace kamo::test
