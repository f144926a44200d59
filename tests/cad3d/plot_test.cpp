// The plot hand-off: command lines from the dialog and the prompts, the
// batch file for long lines, and the start of a stand-in plot program.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "cad/plot.h"
#include "fixture.h"

namespace kamo {
namespace {

namespace fs = std::filesystem;

struct PlotPort : test::ScriptedPort {
  std::deque<std::optional<PlotForm>> forms;
  std::vector<PlotForm> shown;
  std::optional<PlotForm> plotDialog(const PlotForm& f) override {
    shown.push_back(f);
    if (forms.empty()) return std::nullopt;
    auto r = forms.front();
    forms.pop_front();
    return r;
  }
};

struct Recorder : ProcessStarter {
  std::vector<std::vector<std::string>> calls;
  std::vector<std::string> dirs;  // the folder each call runs in
  int result = 0;
  int start(const std::vector<std::string>& args) override {
    calls.push_back(args);
    return result;
  }
  int startIn(const std::vector<std::string>& args, const std::string& dir) override {
    dirs.push_back(dir);
    return start(args);
  }
};

struct PlotFixture {
  PlotPort port;
  Settings settings;
  Flags flags;
  UiState state;
  Ui ui{port, flags, state, settings.numbers};
  test::TempFolder temp;
  Recorder recorder;
  PlotHandOff plot{ui, settings, recorder};
  PlotFixture() {
    plot.setTempDir("T");
    plot.setWorkDir(temp.path());
  }
};

TEST(Plot, DialogCommandLines) {
  struct Case {
    std::function<void(PlotForm&)> edit;
    const char* line;
  } cases[] = {
      {[](PlotForm&) {}, "c:\\drawout\\wdrawout C:\\TEMP\\drawout /CHPL"},
      {[](PlotForm& f) { f.fitToSheet = true; }, "c:\\drawout\\wdrawout C:\\TEMP\\drawout /CHPL /M*"},
      {[](PlotForm& f) { f.scale = "0"; }, "c:\\drawout\\wdrawout C:\\TEMP\\drawout /CHPL /M*"},
      {[](PlotForm& f) { f.scale = "2.5"; f.rotate = true; }, "c:\\drawout\\wdrawout C:\\TEMP\\drawout /CHPL /M2.5 /R"},
      {[](PlotForm& f) { f.interface = 1; f.comPort = "2"; }, "c:\\drawout\\wdrawout C:\\TEMP\\drawout /CHPL /D1 /P2"},
      {[](PlotForm& f) { f.lptPort = "3"; }, "c:\\drawout\\wdrawout C:\\TEMP\\drawout /CHPL /P3"},
      {[](PlotForm& f) { f.interface = 3; }, "c:\\drawout\\wdrawout C:\\TEMP\\drawout /CHPL /D3 /FC:\\TEMP\\drawout"},
      {[](PlotForm& f) { f.shiftX = "5"; f.shiftY = "-2"; f.widthFactor = "0.8"; },
       "c:\\drawout\\wdrawout C:\\TEMP\\drawout /CHPL /X5 /Y-2 /B0.8"},
      {[](PlotForm& f) { f.outputCode = 2; f.psFont = "Times-Roman"; },
       "c:\\drawout\\wdrawout C:\\TEMP\\drawout /CPS /TTimes-Roman"},
      {[](PlotForm& f) { f.programPath = "/opt/my plot/wdrawout"; f.outputFolder = "/tmp"; },
       "\"/opt/my plot/wdrawout\" /tmp/drawout /CHPL"},
  };
  for (const Case& c : cases) {
    PlotForm f;
    f.outputFolder = "C:\\TEMP";
    c.edit(f);
    EXPECT_EQ(PlotDialogCommand(f), c.line);
  }
  EXPECT_EQ(PostScriptFonts().size(), 35u);
  EXPECT_EQ(SplitCommandLine("\"/a b/c\" x  \"\" /M1"), (std::vector<std::string>{"/a b/c", "x", "", "/M1"}));
}

// Choices are 0-based answers, texts the typed answers, in prompt order.
void ScriptPrompts(PlotPort& port, const std::string& folder, int code, int iface,
                   const std::vector<std::string>& rest) {
  port.choices.push_back(0);  // WDRAWOUT.EXE (Windows)
  port.texts.push_back(folder);
  port.choices.push_back(code - 1);
  port.choices.push_back(iface - 1);
  for (const std::string& r : rest) {
    if (r == "Ja" || r == "Nein") port.choices.push_back(r == "Ja" ? 0 : 1);
    else port.texts.push_back(r);
  }
}

TEST(Plot, PromptSequence) {
  PlotFixture f;
  test::WriteFileBytes(f.temp.file("wdrawout.exe"), "");
  std::string line = "C:\\DRAWOUT\\WDRAWOUT DRAWOUT.DXF /M1.0";
  // A folder without the program is asked again.
  f.port.choices.push_back(0);
  f.port.texts.push_back(f.temp.file("nowhere"));
  ScriptPrompts(f.port, f.temp.path(), 2, 2, {"1", "1", "Nein", "0", "0", "1", "Times-Roman"});
  f.port.choices.erase(f.port.choices.begin() + 1);  // the choice of the program is asked once
  ASSERT_TRUE(f.plot.BuildPlotCommandByPrompts(line));
  EXPECT_EQ(line, f.temp.path() + "/WDRAWOUT T/drawout /CPS /TTimes-Roman");
  ASSERT_FALSE(f.port.boxes.empty());
  EXPECT_NE(f.port.boxes[0].text.find("nicht gefunden oder kein Zugriffsrecht !"), std::string::npos);
  EXPECT_EQ(f.port.textPrompts[0].text, "C:\\DRAWOUT\\");  // the folder of the old line
  // Every switch; a cancelled prompt keeps the line.
  ScriptPrompts(f.port, f.temp.path(), 1, 1, {"3", "0", "Ja", "5", "-2", "0.8", "ALL"});
  std::string all = "x";
  ASSERT_TRUE(f.plot.BuildPlotCommandByPrompts(all));
  EXPECT_EQ(all, "ALL.BAT");
  std::string text = test::ReadFileBytes(f.temp.file("ALL.BAT"));
  EXPECT_EQ(text.substr(text.find(" /")), " /CHPL /D1 /P3 /M* /X5 /R /Y-2 /B0.8\r\n");
  ScriptPrompts(f.port, f.temp.path(), 1, 2, {});
  f.port.texts.push_back(std::nullopt);
  std::string kept = "kept";
  EXPECT_FALSE(f.plot.BuildPlotCommandByPrompts(kept));
  EXPECT_EQ(kept, "kept");
  EXPECT_TRUE(f.flags.abortFlag);
}

TEST(Plot, LongLineGoesIntoABatchFile) {
  PlotFixture f;
  std::string folder = f.temp.file("my plot");
  fs::create_directories(folder);
  test::WriteFileBytes(folder + "/wdrawout.exe", "");
  test::WriteFileBytes(f.temp.file("OLD.BAT"), "old\r\n");
  std::string line;
  ScriptPrompts(f.port, folder, 1, 3, {"out.plt", "1", "Nein", "0", "0", "1"});
  f.port.texts.push_back("a.b");         // a name with a dot is asked again
  f.port.texts.push_back("OLD");         // exists: not replaced ...
  f.port.answers.push_back(Answer::No);
  f.port.texts.push_back("PLOT1");       // ... another name
  ASSERT_TRUE(f.plot.BuildPlotCommandByPrompts(line));
  EXPECT_EQ(line, "PLOT1.BAT");
  std::string written = test::ReadFileBytes(f.temp.file("PLOT1.BAT"));
  EXPECT_EQ(written, "\"" + folder + "/WDRAWOUT\" T/drawout /CHPL /D3 /Fout.plt\r\n");
  EXPECT_EQ(test::ReadFileBytes(f.temp.file("OLD.BAT")), "old\r\n");
  EXPECT_NE(f.port.boxTexts()[0].find("Batch-Datei"), std::string::npos);
  // The batch file is read, and its line started as arguments.
  ASSERT_TRUE(f.plot.RunPlot(line));
  ASSERT_EQ(f.recorder.calls.size(), 1u);
  EXPECT_EQ(f.recorder.calls[0],
            (std::vector<std::string>{folder + "/WDRAWOUT", "T/drawout", "/CHPL", "/D3", "/Fout.plt"}));
}

TEST(Plot, ChoiceDialogAndPrompt) {
  PlotFixture f;
  f.settings.plotCommandCount = 2;
  f.settings.plotCommands[0] = "A /M1";
  f.settings.plotCommands[1] = "B /M2";
  PlotForm chosen;
  chosen.outputFolder = "/tmp";
  chosen.outputCode = 3;
  f.port.choices.push_back(1);  // the second line
  f.port.forms.push_back(chosen);
  f.port.texts.push_back(std::string());  // no change: take what is shown
  f.port.texts.pop_back();
  f.port.texts.push_back("c:\\drawout\\wdrawout /tmp/drawout /CPLT");
  ASSERT_TRUE(f.plot.ChoosePlotCommand());
  EXPECT_EQ(f.port.choicePrompts[0].items, (std::vector<std::string>{"A /M1", "B /M2"}));
  EXPECT_EQ(f.port.shown[0].outputFolder, "T");
  EXPECT_EQ(f.port.textPrompts[0].text, "c:\\drawout\\wdrawout /tmp/drawout /CPLT");
  EXPECT_EQ(f.settings.plotCommands[1], "c:\\drawout\\wdrawout /tmp/drawout /CPLT");
  EXPECT_EQ(f.plot.lastUsed(), 2);
  // Cancelled dialog keeps the line; a cancelled prompt aborts.
  f.port.choices.push_back(0);
  f.port.texts.push_back(std::nullopt);
  EXPECT_FALSE(f.plot.ChoosePlotCommand());
  EXPECT_EQ(f.port.textPrompts.back().text, "A /M1");
  EXPECT_TRUE(f.flags.abortFlag);
}

TEST(Plot, StartResults) {
  struct Case {
    int rc;
    const char* box;
  } cases[] = {{ENOENT, "file not found"}, {ENOMEM, "out of memory !"}, {EACCES, "Exec error 13"}};
  for (const Case& c : cases) {
    PlotFixture f;
    f.recorder.result = c.rc;
    EXPECT_FALSE(f.plot.RunPlot("prog x"));
    ASSERT_EQ(f.port.boxes.size(), 1u);
    EXPECT_EQ(f.port.boxes[0].text, c.box);
  }
  PlotFixture f;
  EXPECT_FALSE(f.plot.RunPlot("MISSING.BAT"));
  EXPECT_TRUE(f.recorder.calls.empty());
  // An empty line says so instead of failing in silence; a started one runs
  // in the temporary folder, where its "drawout.dxf" lies.
  for (const char* line : {"", "   "}) {
    PlotFixture e;
    EXPECT_FALSE(e.plot.RunPlot(line));
    EXPECT_TRUE(e.recorder.calls.empty());
    EXPECT_EQ(e.port.boxTexts(), std::vector<std::string>{"keine DRAWOUT-Kommandozeile konfiguriert"});
  }
  PlotFixture g;
  EXPECT_TRUE(g.plot.RunPlot("prog DRAWOUT.DXF"));
  EXPECT_EQ(g.recorder.dirs, std::vector<std::string>{"T"});
}

// The plot output of the CAD interface: the line is chosen at the opening,
// started at the closing, and never for an aborted output.
TEST(Plot, CadOutputStartsTheProgramOnlyForACompleteFile) {
  for (bool abort : {false, true}) {
    PlotFixture p;
    test::Cad3dFixture f(false);
    f.reset(false);
    // The CAD output asks through the plot fixture's UI.
    CadEnvironment& env = f.cad->environment();
    env.ui = &p.ui;
    env.flags = &p.flags;
    env.plot = &p.plot;
    p.settings.plotCommands[0] = "/bin/plotter /tmp/drawout /CHPL";
    p.port.texts.push_back("/bin/plotter /tmp/drawout /CPS");
    f.cad->CadOpen(kCadPlot, "KAMO");
    ASSERT_TRUE(f.cad->open());
    f.cad->CadWindow(0, 0, 10, 10, 0);
    f.cad->CadBeginEntities();
    f.cad->CadLine(0, 0, 1, 1);
    if (abort) p.flags.abortFlag = true;
    f.cad->CadEndSection();
    f.cad->CadClose();
    if (abort) {
      EXPECT_TRUE(p.recorder.calls.empty());
    } else {
      ASSERT_EQ(p.recorder.calls.size(), 1u);
      EXPECT_EQ(p.recorder.calls[0], (std::vector<std::string>{"/bin/plotter", "/tmp/drawout", "/CPS"}));
      EXPECT_TRUE(fs::exists(f.temp.file("drawout.dxf")));
    }
  }
}

// The real start: a stand-in script records its arguments; blanks survive.
TEST(Plot, DetachedStartOfAStandIn) {
  test::TempFolder temp;
  std::string dir = temp.file("plot program");
  fs::create_directories(dir);
  std::string script = dir + "/stand in";
  std::string record = temp.file("args.txt");
  test::WriteFileBytes(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + record +
                                   ".part\"\nmv \"" + record + ".part\" \"" + record + "\"\n");
  chmod(script.c_str(), 0755);
  DetachedStarter starter;
  EXPECT_EQ(starter.start({script, "/tmp/a b/drawout", "/CHPL", "$HOME;x"}), 0);
  for (int i = 0; i < 400 && !fs::exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(test::ReadFileBytes(record), "/tmp/a b/drawout\n/CHPL\n$HOME;x\n");
  EXPECT_EQ(starter.start({temp.file("none")}), ENOENT);
  // Started in a folder: the program finds relative names there.
  std::string where = temp.file("where");
  fs::create_directories(temp.file("run here"));
  test::WriteFileBytes(where, "#!/bin/sh\npwd > \"$1.part\"\nmv \"$1.part\" \"$1\"\n");
  chmod(where.c_str(), 0755);
  EXPECT_EQ(starter.startIn({where, "pwd.txt"}, temp.file("run here")), 0);
  std::string pwd = temp.file("run here") + "/pwd.txt";
  for (int i = 0; i < 400 && !fs::exists(pwd); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(test::ReadFileBytes(pwd), fs::canonical(temp.file("run here")).string() + "\n");
  EXPECT_EQ(starter.startIn({where, "x"}, temp.file("no such folder")), ENOENT);
  test::WriteFileBytes(temp.file("plain"), "x");
  EXPECT_EQ(starter.start({temp.file("plain")}), EACCES);
}

}  // namespace
}  // namespace kamo
