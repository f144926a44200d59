// The menu commands without a window: what each does to `modified`, to the
// abort flag and to the results, driven through the scripted port.
#include <cstring>
#include <gtest/gtest.h>

#include <cctype>
#include <deque>
#include <filesystem>
#include <set>
#include <functional>
#include <string>

#include "core/codepage.h"
#include "core/identity.h"
#include "io/kamoio.h"
#include "shell/commands.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;

class RecordingView : public ShellView {
 public:
  std::string title;
  int clears = 0;
  bool closed = false;
  void titleChanged(const std::string& t) override { title = t; }
  void clearGraphics() override { ++clears; }
  void closeWindow() override { closed = true; }
};

struct Bench {
  test::ScriptedPort port;
  Session session{port};
  Shell shell{session};
  RecordingView view;
  test::TempFolder folder;
  std::vector<std::string> dialogsRun;

  Bench() { shell.view = &view; }

  // A calculable project on disk (one of the shipped examples).
  std::string exampleCopy(const std::string& name = "cam.kmo") {
    std::string path = folder.file(name);
    fs::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", path,
                  fs::copy_options::overwrite_existing);
    return path;
  }
  // The example as the current, unnamed project, not calculated yet.
  void loadExample() {
    ASSERT_TRUE(ReadProject(session.ui, session.settings, exampleCopy(), session.project()));
  }
  void named(const std::string& stem) {
    session.file.fileDir = folder.path() + "/";
    session.file.fileName = stem;
  }
  // Stand-ins for the input dialogs: each records its name and cancels when asked to.
  std::function<void(Session&)> dialog(const std::string& name, const std::string& cancelAt = "") {
    return [this, name, cancelAt](Session& s) {
      dialogsRun.push_back(name);
      s.flags.abortFlag = name == cancelAt;
    };
  }
  void allDialogs(const std::string& cancelAt = "") {
    shell.parts.drawingTexts = dialog("text", cancelAt);
    shell.parts.curveGeometry = dialog("geometry", cancelAt);
    shell.parts.motionProgramme = dialog("motion", cancelAt);
    shell.parts.follower = dialog("follower", cancelAt);
    shell.parts.calcSettings = dialog("calc", cancelAt);
    shell.parts.camBody = dialog("body", cancelAt);
  }
  bool calculated() const { return session.project().contourCount > 0; }
};

struct CommandCase {
  const char* name;
  Command command;
  std::function<void(Bench&)> setup;
  bool modifiedAfter;
  bool abortAfter;
  bool recalculated;
  std::function<void(Bench&)> check;
};

void NoCheck(Bench&) {}
void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

const CommandCase kCases[] = {
    {"speed typed", Command::EditOperatingData,
     [](Bench& b) {
       b.loadExample();
       b.port.texts = {"2000"};
     },
     true, false, true,
     [](Bench& b) {
       EXPECT_EQ(b.session.project().speed, 2000);
       EXPECT_EQ(b.port.textPrompts.at(0).label, "Drehzahl [1/min]");
       EXPECT_EQ(b.session.uiState.helpTopic, 5100);
     }},
    {"speed cancelled", Command::EditOperatingData,
     [](Bench& b) { b.port.texts = {std::nullopt}; }, false, true, false,
     [](Bench& b) { EXPECT_EQ(b.session.project().speed, 1000); }},
    {"speed out of range, then cancelled", Command::EditOperatingData,
     [](Bench& b) { b.port.texts = {"0", std::nullopt}; }, false, true, false,
     [](Bench& b) {
       ASSERT_EQ(b.port.boxes.size(), 1u);
       EXPECT_EQ(b.port.boxes[0].text.rfind("G\u00FCltiger Wertebereich: ", 0), 0u);
       EXPECT_EQ(b.port.textPrompts.at(1).text, "0");
     }},
    {"reset, yes: the points go and the project is modified", Command::EditReset,
     [](Bench& b) {
       b.session.project().basePointCount = 5;
       b.port.answers = {Answer::Yes};
     },
     true, false, false,
     [](Bench& b) {
       EXPECT_EQ(b.port.questions.at(0), "Koordinaten auf 0 setzen ?");
       EXPECT_EQ(b.session.project().basePointCount, 0);
       EXPECT_EQ(b.view.clears, 1) << "no picture of the cam that is gone";
     }},
    {"reset, no: nothing changes", Command::EditReset,
     [](Bench& b) {
       b.session.project().basePointCount = 5;
       b.port.answers = {Answer::No};
     },
     false, true, false, [](Bench& b) { EXPECT_EQ(b.session.project().basePointCount, 5); }},
    {"reset, cancel keeps modified", Command::EditReset,
     [](Bench& b) {
       b.session.flags.modified = true;
       b.port.answers = {Answer::Cancel};
     },
     true, true, false, NoCheck},
    {"save under the project's name", Command::FileSave,
     [](Bench& b) {
       b.named("nocke");
       b.session.flags.modified = true;
     },
     false, false, false,
     [](Bench& b) {
       EXPECT_TRUE(fs::exists(b.folder.file("nocke.kmo")));
       EXPECT_TRUE(b.port.questions.empty());  // no overwrite question
     }},
    {"save that cannot write keeps modified", Command::FileSave,
     [](Bench& b) {
       b.session.file = {"nocke", "/nonexistent-kamo-dir/"};
       b.session.flags.modified = true;
     },
     true, true, false, [](Bench& b) { EXPECT_FALSE(b.port.boxes.empty()); }},
    {"save as: chosen name, recent entry", Command::FileSaveAs,
     [](Bench& b) {
       b.session.flags.modified = true;
       b.port.files = {b.folder.file("neu.kmo")};
     },
     false, false, false,
     [](Bench& b) {
       EXPECT_TRUE(fs::exists(b.folder.file("neu.kmo")));
       EXPECT_EQ(b.session.file.fileName, "neu");
       EXPECT_EQ(b.shell.recentEntry(1), b.folder.path() + "/neu.kmo");
       EXPECT_NE(b.view.title.find("neu.kmo"), std::string::npos);
     }},
    {"save as cancelled", Command::FileSaveAs,
     [](Bench& b) {
       b.session.flags.modified = true;
       b.port.files = {std::nullopt};
     },
     true, true, false, NoCheck},
    {"open an unmodified project", Command::FileOpen,
     [](Bench& b) { b.port.files = {b.exampleCopy()}; }, false, false, true,
     [](Bench& b) {
       EXPECT_EQ(b.session.file.fileName, "cam");
       EXPECT_EQ(b.shell.recentEntry(1), b.folder.path() + "/cam.kmo");
       EXPECT_TRUE(b.port.questions.empty());
     }},
    {"open: the save question cancelled", Command::FileOpen,
     [](Bench& b) {
       b.named("alt");
       b.session.flags.modified = true;
       b.port.answers = {Answer::Cancel};
     },
     true, true, false,
     [](Bench& b) {
       EXPECT_EQ(b.port.questions.at(0), "Datei speichern (" + b.folder.path() + "/alt.kmo) ?");
       EXPECT_TRUE(b.port.fileDialogs.empty());
       EXPECT_EQ(b.session.file.fileName, "alt");
     }},
    {"open: save question yes but the write fails", Command::FileOpen,
     [](Bench& b) {
       b.session.file = {"alt", "/nonexistent-kamo-dir/"};
       b.session.flags.modified = true;
       b.port.answers = {Answer::Yes};
     },
     true, true, false, [](Bench& b) { EXPECT_TRUE(b.port.fileDialogs.empty()); }},
    {"open: save question no", Command::FileOpen,
     [](Bench& b) {
       b.named("alt");
       b.session.flags.modified = true;
       b.port.answers = {Answer::No};
       b.port.files = {b.exampleCopy()};
     },
     false, false, true, [](Bench& b) { EXPECT_FALSE(fs::exists(b.folder.file("alt.kmo"))); }},
    {"open: unnamed input not discarded", Command::FileOpen,
     [](Bench& b) {
       b.session.flags.modified = true;
       b.port.answers = {Answer::No};
     },
     true, true, false,
     [](Bench& b) { EXPECT_EQ(b.port.questions.at(0), "Bisherige Eingaben verwerfen ?"); }},
    {"open an unreadable file", Command::FileOpen,
     [](Bench& b) {
       test::WriteFileBytes(b.folder.file("bad.kmo"), "nonsense\r\n");
       b.named("alt");
       b.port.files = {b.folder.file("bad.kmo")};
     },
     false, true, false,
     [](Bench& b) {
       EXPECT_EQ(b.session.file.fileName, "alt");
       EXPECT_TRUE(b.shell.recentEntry(1).empty());
     }},
    {"new: every dialog confirmed", Command::FileNew,
     [](Bench& b) {
       b.allDialogs();
       b.port.choices = {1};  // a curve type
       b.port.texts = {"500"};
       b.named("alt");
     },
     true, false, false,
     [](Bench& b) {
       EXPECT_EQ(b.dialogsRun, (std::vector<std::string>{"text", "geometry", "follower", "calc"}));
       EXPECT_EQ(b.session.file.fileName, "");
       EXPECT_EQ(b.session.project().speed, 500);
       EXPECT_GE(b.view.clears, 2);
     }},
    {"new: follower cancelled", Command::FileNew,
     [](Bench& b) {
       b.allDialogs("follower");
       b.port.choices = {1};
       b.port.texts = {"500"};
     },
     true, true, false,
     [](Bench& b) {
       EXPECT_EQ(b.dialogsRun, (std::vector<std::string>{"text", "geometry", "follower"}));
     }},
    {"new: speed cancelled", Command::FileNew,
     [](Bench& b) {
       b.allDialogs();
       b.port.choices = {1};
       b.port.texts = {std::nullopt};
     },
     true, true, false,
     [](Bench& b) { EXPECT_EQ(b.dialogsRun, (std::vector<std::string>{"text", "geometry"})); }},
    {"new: from a motion programme", Command::FileNew,
     [](Bench& b) {
       b.allDialogs();
       b.port.choices = {0};
       b.port.texts = {"500"};
     },
     true, false, false,
     [](Bench& b) {
       EXPECT_EQ(b.dialogsRun, (std::vector<std::string>{"text", "motion", "follower", "calc"}));
       ASSERT_EQ(b.port.choicePrompts.size(), 1u);
       EXPECT_EQ(b.port.choicePrompts[0].label, "Neue Nockenkurve");
       EXPECT_EQ(b.port.choicePrompts[0].items.size(), 2u);
       EXPECT_EQ(b.session.project().speed, 500);
     }},
    {"new: the motion programme cancelled keeps the texts", Command::FileNew,
     [](Bench& b) {
       b.allDialogs("motion");
       b.port.choices = {0};
     },
     true, true, false,
     [](Bench& b) { EXPECT_EQ(b.dialogsRun, (std::vector<std::string>{"text", "motion"})); }},
    {"new: the programme or curve type choice cancelled", Command::FileNew,
     [](Bench& b) {
       b.allDialogs();
       b.port.choices = {std::nullopt};
     },
     true, true, false,
     [](Bench& b) {
       EXPECT_EQ(b.dialogsRun, (std::vector<std::string>{"text"}));
       EXPECT_TRUE(b.port.choices.empty());
     }},
    {"new: the first step cancelled leaves modified clear", Command::FileNew,
     [](Bench& b) { b.allDialogs("text"); }, false, true, false,
     [](Bench& b) { EXPECT_EQ(b.dialogsRun, (std::vector<std::string>{"text"})); }},
    {"cam body confirmed", Command::EditBody,
     [](Bench& b) {
       b.loadExample();
       b.allDialogs();
     },
     true, false, true, NoCheck},
    {"cam body cancelled", Command::EditBody, [](Bench& b) { b.allDialogs("body"); }, false, true,
     false, NoCheck},
    {"drawing texts do not recalculate", Command::EditText, [](Bench& b) { b.allDialogs(); }, true,
     false, false, NoCheck},
    {"missing recent file", Command::FileRecent2,
     [](Bench& b) {
       b.shell.recent.entries = {"/a/x.kmo", "/nonexistent-kamo-dir/y.kmo", "/a/z.kmo", ""};
     },
     false, false, false,
     [](Bench& b) {
       EXPECT_EQ(b.shell.recent.entries[1], "/a/z.kmo");
       EXPECT_EQ(b.port.boxTexts().at(0), "File /nonexistent-kamo-dir/y.kmo not found !");
     }},
    {"recent file opened", Command::FileRecent1,
     [](Bench& b) { b.shell.recent.entries = {b.exampleCopy(), "", "", ""}; }, false, false, true,
     [](Bench& b) { EXPECT_EQ(b.session.file.fileName, "cam"); }},
    {"exit asks the window to close", Command::FileExit, [](Bench&) {}, false, false, false,
     [](Bench& b) { EXPECT_TRUE(b.view.closed); }},
};

class CommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandTest, ModifiedAbortAndRecalculation) {
  const CommandCase& c = GetParam();
  Bench b;
  c.setup(b);
  b.session.project().contourCount = 0;
  ASSERT_TRUE(b.shell.available(c.command));
  b.shell.run(c.command);
  EXPECT_EQ(b.session.flags.modified, c.modifiedAfter);
  EXPECT_EQ(b.session.flags.abortFlag, c.abortAfter);
  EXPECT_EQ(b.calculated(), c.recalculated);
  c.check(b);
  EXPECT_TRUE(b.port.texts.empty() && b.port.answers.empty() && b.port.files.empty())
      << "not every scripted answer was used";
}

INSTANTIATE_TEST_SUITE_P(Shell, CommandTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string n;
                           for (const char* p = info.param.name; *p; ++p)
                             n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return n;
                         });

// Commands whose parts do not exist stay disabled, and running them asks nothing.
TEST(Commands, WithoutTheirPartsDisabled) {
  Bench b;
  for (Command c : {Command::FilePrint, Command::FileConfig, Command::FileRecent1,
                    Command::ViewErrors, Command::HelpErrors}) {
    EXPECT_FALSE(b.shell.available(c)) << SpecOf(c).objectName;
    b.shell.run(c);
  }
  EXPECT_TRUE(b.port.boxes.empty() && b.port.textPrompts.empty() && b.port.questions.empty());
  for (Command c : {Command::FileOpen, Command::FileSave, Command::FileSaveAs,
                    Command::EditOperatingData, Command::EditReset, Command::EditGeometry, Command::EditCalculation,
                    Command::FileNew, Command::EditText, Command::EditFollower, Command::EditBody,
                    Command::ViewStandard,
                    Command::ViewExtract, Command::HelpEnglish, Command::HelpAbout,
                    Command::FileExit, Command::FileImportDxfR, Command::FileExportDxf,
                    Command::ViewQuick1, Command::ViewSva, Command::CadDiagrams, Command::StlCam,
                    Command::DocInfo, Command::DocShow, Command::DocPrint, Command::DocNew,
                    Command::DocModify, Command::DocDelete, Command::DocSetup, Command::HelpPicture,
                    Command::ViewAnimation})
    EXPECT_TRUE(b.shell.available(c)) << SpecOf(c).objectName;
}

TEST(Commands, TableNamesEveryEntryOnce) {
  std::set<std::string> names;
  for (const auto& s : CommandTable()) {
    EXPECT_EQ(std::string(s.objectName).rfind("mi_", 0), 0u);
    EXPECT_TRUE(names.insert(s.objectName).second) << s.objectName;
    EXPECT_EQ(SpecOf(s.id).objectName, s.objectName);
  }
  EXPECT_EQ(names.size(), static_cast<size_t>(Command::ViewContactForce) + 1);  // the last command
}

TEST(Commands, OutputsReachTheDispatcherWithTheirCodes) {
  Bench b;
  std::vector<std::pair<int, int>> outputs, diagrams;
  b.shell.parts.output = [&](Session&, int d, int k) { outputs.emplace_back(d, k); };
  b.shell.parts.diagram = [&](Session&, int k, int d) { diagrams.emplace_back(k, d); };
  for (Command c : {Command::FileExportDxf, Command::ViewQuick1, Command::ViewQuick3,
                    Command::ViewQuick4, Command::ViewGraphics, Command::ViewTable,
                    Command::ViewDrawing, Command::CadGraphics, Command::CadPolyline,
                    Command::CadTable, Command::CadDrawing, Command::CadQuick1,
                    Command::CadQuick3, Command::CadQuick4, Command::StlCam, Command::ViewS,
                    Command::ViewV, Command::ViewA, Command::ViewSva, Command::CadDiagrams,
                    Command::ViewPressureAngle, Command::ViewCurvature, Command::ViewJerk,
                    Command::ViewContactForce})
    b.shell.run(c);
  EXPECT_EQ(outputs, (std::vector<std::pair<int, int>>{{1, 2}, {3, 7}, {3, 9}, {3, 10}, {3, 1},
                                                       {3, 3}, {3, 5}, {0, 1}, {0, 2}, {0, 3},
                                                       {0, 5}, {0, 7}, {0, 9}, {0, 10}, {6, 2}}));
  EXPECT_EQ(diagrams, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}, {4, 3}, {0, 0},
                                                        {6, 3}, {7, 3}, {8, 3}, {9, 3}}));
}

// The view entries draw on the screen's display list and tell the window.
TEST(Commands, ViewsDrawOnTheScreen) {
  struct Drawn : RecordingView {
    int shown = 0;
    void showDrawing() override { ++shown; }
  };
  for (Command c : {Command::ViewGraphics, Command::ViewDrawing, Command::ViewSva, Command::ViewS}) {
    Bench b;
    Drawn view;
    b.shell.view = &view;
    b.loadExample();
    b.shell.recalc();
    b.shell.run(c);
    EXPECT_GT(b.shell.screen.size(), 10u) << SpecOf(c).objectName;
    EXPECT_EQ(view.shown, 1);
    EXPECT_FALSE(b.session.flags.abortFlag) << SpecOf(c).objectName;
  }
}

// A failed calculation shows the explanation list instead of the drawing.
TEST(Commands, ViewAfterAFailedCalculationShowsTheErrorList) {
  Bench b;
  b.session.project().curveType = ctPolygon;
  b.session.project().polygon.z = 2;
  b.shell.recalc();
  ASSERT_TRUE(b.session.flags.calcError);
  b.port.choices = {std::nullopt};
  b.shell.run(Command::ViewGraphics);
  ASSERT_EQ(b.port.choicePrompts.size(), 1u);
  EXPECT_EQ(b.port.choicePrompts[0].label,
            "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe.");
}

// Every command whose row replaces the project asks to save the old one
// first, and a Cancel there stops it before anything else happens: no file
// dialog, no input dialog, the project, its name, `modified` and the state of
// its calculation stay as they were.
TEST(Commands, EveryCommandThatReplacesTheProjectAsksFirst) {
  int asked = 0;
  for (const CommandSpec& spec : CommandTable()) {
    if (!spec.replacesProject) continue;
    Bench b;
    b.allDialogs();
    b.loadExample();
    b.named("alt");
    for (const char* name : {"r4.kmo", "r3.kmo", "r2.kmo", "r1.kmo"}) b.shell.recent.add(b.exampleCopy(name));
    const int type = b.session.project().curveType;
    b.session.flags.modified = true;
    b.session.flags.calcError = true;
    b.port.answers = {Answer::Cancel};
    b.shell.run(spec.id);
    ASSERT_EQ(b.port.questions.size(), 1u) << spec.objectName;
    EXPECT_EQ(b.port.questions[0], "Datei speichern (" + b.folder.path() + "/alt.kmo) ?") << spec.objectName;
    EXPECT_TRUE(b.session.flags.abortFlag) << spec.objectName;
    EXPECT_TRUE(b.port.fileDialogs.empty()) << spec.objectName;
    EXPECT_TRUE(b.dialogsRun.empty()) << spec.objectName;
    EXPECT_EQ(b.session.file.fileName, "alt") << spec.objectName;
    EXPECT_EQ(b.session.project().curveType, type) << spec.objectName;
    EXPECT_TRUE(b.session.flags.modified) << spec.objectName;
    EXPECT_TRUE(b.session.flags.calcError) << spec.objectName;
    ++asked;
  }
  EXPECT_GT(asked, 0);
}

TEST(Commands, DxfImportReplacesTheProjectOnlyOnSuccess) {
  Bench b;
  b.loadExample();
  b.named("alt");
  int type = b.session.project().curveType;
  test::WriteFileBytes(b.folder.file("leer.dxf"), "0\nEOF\n");
  b.port.files = {b.folder.file("leer.dxf")};
  b.shell.run(Command::FileImportDxfR);
  EXPECT_EQ(b.session.project().curveType, type);
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_FALSE(b.port.boxes.empty());
}

// File > Open (Table): every readable project of the folder as a row; each
// pick opens that project and the table comes back until it is closed.
TEST(Commands, ProjectTable) {
  struct TablePort : test::ScriptedPort {
    std::vector<TablePick> shown;
    std::deque<std::optional<int>> picks;
    std::optional<int> pickRow(const TablePick& t) override {
      shown.push_back(t);
      auto r = picks.empty() ? std::nullopt : picks.front();
      if (!picks.empty()) picks.pop_front();
      return r;
    }
  };
  TablePort port;
  Session session(port);
  Shell shell(session);
  test::TempFolder folder;
  for (const char* name : {"b_ellipse", "a_sine"})
    fs::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/" + std::string(name).substr(2) + ".kmo",
                  folder.file(std::string(name) + ".kmo"));
  test::WriteFileBytes(folder.file("c_kaputt.kmo"), "kaputt\r\n");
  test::WriteFileBytes(folder.file("notes.txt"), "x");
  session.file = {"alt", folder.path() + "/"};
  port.picks = {1, std::nullopt};
  shell.run(Command::FileOpenTable);
  ASSERT_EQ(port.shown.size(), 2u);
  const TablePick& t = port.shown[0];
  ASSERT_EQ(t.rows.size(), 2u);  // the damaged file is left out
  EXPECT_EQ(t.columns.size(), 12u);
  EXPECT_EQ(t.rows[0][0], "a_sine.kmo");
  EXPECT_EQ(t.rows[1][0], "b_ellipse.kmo");
  EXPECT_EQ(t.rows[1][1].size(), 10u);  // y-m-d
  EXPECT_FALSE(t.rows[1][5].empty());   // rmax
  EXPECT_EQ(session.file.fileName, "b_ellipse");
  EXPECT_GT(session.project().contourCount, 0);
  EXPECT_FALSE(session.flags.modified);
  EXPECT_TRUE(port.boxes.empty());
}

TEST(Commands, SystemInfo) {
  Bench b;
  b.session.programDir = "/opt/kamo/bin/";
  b.shell.run(Command::HelpSystemInfo);
  ASSERT_EQ(b.port.boxes.size(), 1u);
  EXPECT_EQ(b.port.boxes[0].caption, "System Info");
  const std::string& t = b.port.boxes[0].text;
  EXPECT_NE(t.find("Programmdatei: /opt/kamo/bin/wkamo\n"), std::string::npos) << t;
  for (const char* label : {"Programm: KAMO", "Computer: ", "Benutzer: ", "Platte frei: ", "System: "})
    EXPECT_NE(t.find(label), std::string::npos) << label;
}

TEST(Commands, OpeningTheSameFileTwiceKeepsOneRecentEntry) {
  Bench b;
  std::string other = b.exampleCopy("other.kmo");
  std::string cam = b.exampleCopy();
  b.port.files = {cam, other, cam};
  for (int i = 0; i < 3; ++i) b.shell.run(Command::FileOpen);
  EXPECT_EQ(b.shell.recent.entries[0], cam);
  EXPECT_EQ(b.shell.recent.entries[1], other);
  EXPECT_EQ(b.shell.recent.entries[2], "");
}

TEST(Commands, ErrorEntriesFollowTheMessageCount) {
  Bench b;
  EXPECT_EQ(b.shell.caption(Command::ViewErrors), "&Fehlermeldungen (0)");
  b.session.messages.add("Fehler : A Cam <= 0 !");
  b.session.messages.add("Fehler : L < stroke !");
  EXPECT_TRUE(b.shell.available(Command::HelpErrors));
  EXPECT_EQ(b.shell.caption(Command::HelpErrors), "&Fehlermeldungen (2)");
}

TEST(Commands, CloseQuery) {
  struct Case {
    Answer answer;
    bool closes, written, modifiedAfter;
  };
  for (Case c : {Case{Answer::No, true, false, false}, Case{Answer::Yes, true, true, false},
                 Case{Answer::Cancel, false, false, true}}) {
    Bench b;
    bool removed = false;
    b.shell.parts.removeTemporaryFiles = [&](Session&) { removed = true; };
    b.named("nocke");
    b.session.flags.modified = true;
    b.port.answers = {c.answer};
    EXPECT_EQ(b.shell.closeQuery(), c.closes);
    EXPECT_EQ(removed, c.closes);
    EXPECT_EQ(fs::exists(b.folder.file("nocke.kmo")), c.written);
    EXPECT_EQ(b.session.flags.modified, c.modifiedAfter);
  }
}

// In archive mode a project from the command line is simply given up.
TEST(Commands, ArchiveModeSavePromptAsksNothing) {
  Bench b;
  b.named("nocke");
  b.session.flags.modified = true;
  b.session.uiState.fromCommandLine = true;
  b.session.settings.archiveMode = true;
  EXPECT_TRUE(b.shell.savePrompt());
  EXPECT_FALSE(b.session.flags.modified);
  EXPECT_TRUE(b.port.questions.empty());
}

// The question names the project as the command line gave it.
TEST(Commands, SaveQuestionNamesTheCommandLineName) {
  Bench b;
  b.named("nocke");
  b.shell.commandLineName = "nocke.kmo";
  b.session.flags.modified = true;
  b.port.answers = {Answer::No};
  EXPECT_TRUE(b.shell.savePrompt());
  EXPECT_EQ(b.port.questions.at(0), "Datei speichern (nocke.kmo) ?");
}

TEST(WindowTitle, ByFileName) {
  std::string t = Cp850ToUtf8(kProgramTitle);
  EXPECT_EQ(WindowTitle(""), t + "   V 5.1");
  EXPECT_EQ(WindowTitle("nocke"), t + "  -  nocke.kmo");
  EXPECT_EQ(WindowTitle("nocke.alt"), t + "  -  nocke.alt");
}

TEST(RecentMenu, Captions) {
  struct Case {
    std::string path, caption;
  };
  std::string longPath = "/home/konstrukteur/projekte/kurvenscheiben/2026/nocke.kmo";  // 57
  std::string just49 = "/home/k/" + std::string(31, 'a') + "/nocke.kmo";
  std::string noSecond = "/" + std::string(55, 'b') + ".kmo";
  for (const Case& c : {Case{longPath, "&1 /.../nocke.kmo"}, Case{just49, "&1 " + just49},
                        Case{just49 + "x", "&1 /.../nocke.kmox"}, Case{noSecond, "&1 " + noSecond},
                        Case{"/a/b&c.kmo", "&1 /a/b&&c.kmo"}}) {
    EXPECT_EQ(RecentMenuCaption(1, c.path), c.caption) << c.path;
  }
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

// "STL > Cam solid" writes the closed solid of the calculated project into
// the file the user names, asking for the height and the bore.
TEST(Commands, CamSolidWritesAClosedSolid) {
  Bench b;
  b.loadExample();
  b.shell.recalc();
  ASSERT_TRUE(b.shell.available(Command::StlCamSolid));
  std::string target = b.folder.file("solid.stl");
  b.port.files = {target};
  b.port.texts = {std::string("12"), std::string("10")};
  b.session.settings.startCadApplication = false;
  b.shell.run(Command::StlCamSolid);
  EXPECT_FALSE(b.session.flags.abortFlag);
  std::error_code ec;
  auto size = fs::file_size(target, ec);
  ASSERT_FALSE(ec) << "no file written";
  // Binary STL: 80 header bytes, the facet count, 50 bytes a facet.
  std::string bytes = test::ReadFileBytes(target);
  ASSERT_GE(bytes.size(), 84u);
  uint32_t facets = 0;
  std::memcpy(&facets, bytes.data() + 80, 4);
  EXPECT_GT(facets, 100u);
  EXPECT_EQ(size, 84u + 50u * facets);
  EXPECT_EQ(b.session.project().body.bore, 10);
}

// "STEP > Cam solid" asks the same height and bore as the STL solid and
// writes one solid; "STEP > Kontur" asks nothing and writes one closed curve.
TEST(Commands, StepSolidAndContourEntries) {
  struct Case {
    Command command;
    std::vector<std::optional<std::string>> answers;
    const char* holds;
    Real bore;
  } cases[] = {{Command::StepCamSolid, {std::string("12"), std::string("10")}, "MANIFOLD_SOLID_BREP(", 10},
               {Command::StepContour, {}, "COMPOSITE_CURVE(", -1}};
  for (const Case& c : cases) {
    Bench b;
    b.loadExample();
    b.shell.recalc();
    ASSERT_TRUE(b.shell.available(c.command));
    Real before = b.session.project().body.bore;
    std::string target = b.folder.file("cam.stp");
    b.port.files = {target};
    b.port.texts.assign(c.answers.begin(), c.answers.end());
    b.session.settings.startCadApplication = false;
    b.shell.run(c.command);
    EXPECT_FALSE(b.session.flags.abortFlag);
    EXPECT_TRUE(b.port.texts.empty()) << "a prompt was not asked";
    std::string bytes = test::ReadFileBytes(target);
    EXPECT_NE(bytes.find(c.holds), std::string::npos) << c.holds;
    EXPECT_EQ(b.session.project().body.bore, c.bore < 0 ? before : c.bore);
  }
}

}  // namespace
}  // namespace kamo
