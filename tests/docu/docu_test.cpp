// The drawing documentation: the commands of the menu "Dokument" on a
// session, the fill and store rules of the three dialogs, the change
// protocol against golden files and tidy, and the document programs
// started without a shell.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <algorithm>
#include <thread>

#include "core/codepage.h"
#include "core/launch.h"
#include "docu/docu.h"
#include "io/kamoio.h"
#include "report/report.h"
#include "shell/cmdline.h"
#include "shell/commands.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo::test {
namespace {

namespace fs = std::filesystem;

class DocuPort : public ScriptedPort {
 public:
  void showTextFile(const std::string&, const std::string& path) override {
    shown.push_back(ReadFileBytes(path));
  }
  std::vector<std::string> shown;  // the texts of the text window, UTF-8
  PrintOutcome printText(const PrintJob& job) override {
    printed.push_back(job);
    return PrintOutcome::Printed;
  }
  std::vector<PrintJob> printed;
};

struct Bench {
  DocuPort port;
  TempFolder folder;
  Session session{port, std::make_unique<FixedClock>(DateTime{2026, 3, 7, 9, 5, 0})};
  Shell shell{session};
  Bench() {
    session.settings.tempDir = folder.path();
    session.file.fileName = "nocke";
    session.file.fileDir = folder.path() + "/";
  }
  CamProject& p() { return session.project(); }
  Flags& flags() { return session.flags; }
};

std::function<std::optional<ChangeForm>(ChangeForm)> Change(const std::string& text,
                                                            const std::string& who,
                                                            const std::string& desc) {
  return [=](ChangeForm f) -> std::optional<ChangeForm> {
    f.changeText = text;
    f.responsible = who;
    f.description = desc;
    return f;
  };
}
std::optional<ChangeForm> CancelChange(ChangeForm) { return std::nullopt; }

std::string Golden(const std::string& name) {
  return ReadFileBytes(std::string(KAMO_SOURCE_DIR) + "/tests/docu/data/" + name);
}

// A project with three changes, a creator and both replacement fields.
void FillProject(CamProject& p) {
  p.drawing.bemerk1 = "Nockenwelle Pr\x81" "fstand";
  p.drawing.bemerk2 = "Kunde M\x81ller";
  p.drawing.bemerk3 = "";
  p.info.rows[0] = {"2026-01-12", "Wei\xE1"};
  p.info.replacementFor = "Z-4711";
  p.info.replacedBy = "Z-4712";
  p.changes[1] = {"Bohrung 20 -> 22", "2026-02-01", "KW", "Kundenwunsch\nPassung H7"};
  p.changes[2] = {"Hub ge\x84ndert auf 12 mm und mehr", "2026-02-15", "B\x94hm", ""};
  p.changes[3] = {"Text", "2026-03-01", "ABCDE", "Lange Beschreibung mit \x84\x94\x81"};
  p.changeCount = 3;
}

// ---------------------------------------------------------------- protocol

TEST(ChangeProtocol, TextMatchesTheGoldenFilesInBothIndexStyles) {
  struct Case {
    int style;
    const char* golden;
  } cases[] = {{1, "protocol_numbers.txt"}, {0, "protocol_letters.txt"}, {2, "protocol_letters.txt"}};
  for (const auto& c : cases) {
    Bench b;
    FillProject(b.p());
    b.session.settings.changeIndexStyle = c.style;
    ASSERT_TRUE(ChangeProtocol(b.session.reports(b.folder.path()), otScreen));
    ASSERT_EQ(b.port.shown.size(), 1u);
    if (std::getenv("KAMO_BLESS") && c.style != 2)
      WriteFileBytes(std::string(KAMO_SOURCE_DIR) + "/tests/docu/data/" + c.golden, b.port.shown[0]);
    EXPECT_EQ(b.port.shown[0], Golden(c.golden))
        << "style " << c.style << ": regenerate on purpose with KAMO_BLESS=1";
  }
}

TEST(ChangeProtocol, TextFileIsCp850AndHtmlPassesTidy) {
  Bench b;
  FillProject(b.p());
  b.p().changes[2].changeText = "<b>a & b</b>";
  ReportEngine& e = b.session.reports(b.folder.path());
  b.port.files.push_back(b.folder.file("aend.txt"));
  ASSERT_TRUE(ChangeProtocol(e, otFile));
  std::string text = ReadFileBytes(b.folder.file("aend.txt"));
  EXPECT_NE(text.find("\x8E" "nderungsprotokoll"), std::string::npos);
  EXPECT_NE(text.find("Erstellt von: Wei\xE1"), std::string::npos);

  b.port.files.push_back(b.folder.file("aend.htm"));
  ASSERT_TRUE(ChangeProtocol(e, otHtml));
  std::string html = ReadFileBytes(b.folder.file("aend.htm"));
  EXPECT_EQ(html.find("<b>a"), std::string::npos);
  EXPECT_NE(html.find("&lt;b&gt;a &amp; b"), std::string::npos);
  EXPECT_NE(html.find("Kunde M\xC3\xBCller"), std::string::npos);
  std::string cmd = "tidy -q -e '" + b.folder.file("aend.htm") + "' > '" + b.folder.file("tidy.log") +
                    "' 2>&1";
  int rc = std::system(cmd.c_str());
  ASSERT_NE(rc, -1);
  EXPECT_LT(WEXITSTATUS(rc), 2) << ReadFileBytes(b.folder.file("tidy.log"));
}

// "Print Changes" goes to the configured target with its page header;
// "Show Changes" to the text window without one.
TEST(ChangeProtocol, PrintUsesTheConfiguredTargetWithItsHeader) {
  Bench b;
  FillProject(b.p());
  b.session.settings.textDevice = otPrinter;
  b.session.settings.askTextDevice = false;
  b.shell.run(Command::DocPrint);
  ASSERT_EQ(b.port.printed.size(), 1u);
  std::string all;
  for (const auto& page : b.port.printed[0].pages)
    for (const auto& line : page) all += line + "\n";
  EXPECT_NE(all.find("\xC3\x84nderungsprotokoll"), std::string::npos);
  EXPECT_NE(all.find("Bohrung 20 -> 22"), std::string::npos);
  EXPECT_TRUE(b.port.shown.empty());
  b.shell.run(Command::DocShow);
  ASSERT_EQ(b.port.shown.size(), 1u);
  EXPECT_EQ(b.port.shown[0].find("\xC3\x84nderungsprotokoll"), std::string::npos);
  EXPECT_NE(b.port.shown[0].find("Bohrung 20 -> 22"), std::string::npos);
  EXPECT_FALSE(b.flags().modified);
}

// ---------------------------------------------------------------- commands

TEST(ChangeCommands, NewModifyDeleteMarkTheProjectAndShowTheProtocol) {
  Bench b;
  for (int i = 1; i <= 3; ++i)
    b.port.changeEdits.push_back(Change("Stufe " + std::to_string(i), "KW", "Zeile 1\nZeile 2"));
  for (int i = 1; i <= 3; ++i) {
    b.flags().modified = false;
    b.shell.run(Command::DocNew);
    EXPECT_TRUE(b.flags().modified) << i;
    EXPECT_FALSE(b.flags().abortFlag);
  }
  ASSERT_EQ(b.p().changeCount, 3);
  ASSERT_EQ(b.port.changeForms.size(), 3u);
  EXPECT_EQ(b.port.changeForms[2].caption, "\xC3\x84nderung 3");
  EXPECT_EQ(b.port.changeForms[2].changeDate, "2026-03-07");
  EXPECT_EQ(b.port.changeForms[2].today, "2026-03-07");
  EXPECT_EQ(b.p().changes[3].changeText, "Stufe 3");
  EXPECT_EQ(b.p().changes[3].changeDate, "2026-03-07");
  EXPECT_EQ(b.p().changes[3].description, "Zeile 1\nZeile 2");
  EXPECT_EQ(b.port.shown.size(), 3u);

  // "Modify" edits the newest record, never an older one.
  b.flags().modified = false;
  b.port.changeEdits.push_back(Change("ge\xC3\xA4ndert", "B\xC3\xB6", "neu"));
  b.shell.run(Command::DocModify);
  EXPECT_TRUE(b.flags().modified);
  EXPECT_EQ(b.port.changeForms.back().changeText, "Stufe 3");
  EXPECT_EQ(b.p().changes[3].changeText, "ge\x84ndert");
  EXPECT_EQ(b.p().changes[3].responsible, "B\x94");
  EXPECT_EQ(b.p().changes[2].changeText, "Stufe 2");

  // "Delete" asks first; No keeps everything.
  b.flags().modified = false;
  b.port.answers.push_back(Answer::No);
  b.shell.run(Command::DocDelete);
  EXPECT_EQ(b.p().changeCount, 3);
  EXPECT_FALSE(b.flags().modified);
  ASSERT_EQ(b.port.questions.size(), 1u);
  EXPECT_EQ(b.port.questions[0], "L\xC3\xB6schen ?");
  b.port.answers.push_back(Answer::Yes);
  b.shell.run(Command::DocDelete);
  EXPECT_EQ(b.p().changeCount, 2);
  EXPECT_TRUE(b.flags().modified);
  EXPECT_EQ(b.port.shown.back().find("ge\xC3\xA4ndert"), std::string::npos);
  EXPECT_NE(b.port.shown.back().find("Stufe 2"), std::string::npos);
}

TEST(ChangeCommands, CancelsAndLimitsChangeNothing) {
  Bench b;
  // A cancelled new change leaves no record behind, and no protocol.
  b.port.changeEdits.push_back(CancelChange);
  b.shell.run(Command::DocNew);
  EXPECT_EQ(b.p().changeCount, 0);
  EXPECT_TRUE(b.flags().abortFlag);
  EXPECT_FALSE(b.flags().modified);
  EXPECT_TRUE(b.port.shown.empty());
  EXPECT_EQ(b.p().changes[1].changeDate, "");

  // Without records: modify does nothing; delete asks nothing and shows the empty protocol.
  b.shell.run(Command::DocModify);
  EXPECT_TRUE(b.port.changeForms.size() == 1u);
  b.shell.run(Command::DocDelete);
  EXPECT_EQ(b.p().changeCount, 0);
  EXPECT_TRUE(b.port.questions.empty());
  EXPECT_FALSE(b.flags().modified);
  ASSERT_EQ(b.port.shown.size(), 1u);

  // A cancelled modification keeps the record.
  FillProject(b.p());
  ChangeRecord before = b.p().changes[3];
  b.port.changeEdits.push_back(CancelChange);
  b.shell.run(Command::DocModify);
  EXPECT_EQ(b.p().changes[3].changeText, before.changeText);
  EXPECT_FALSE(b.flags().modified);

  // The 26th change is refused.
  b.p().changeCount = kMaxChanges;
  b.shell.run(Command::DocNew);
  EXPECT_EQ(b.p().changeCount, kMaxChanges);
  ASSERT_FALSE(b.port.boxes.empty());
  EXPECT_EQ(b.port.boxes.back().text, "Max. \xC3\x84nderungen = 25 !");
  EXPECT_FALSE(b.flags().modified);
}

TEST(ChangeCommands, RefusedFieldShowsItsMessageAndTheFormAgain) {
  Bench b;
  b.port.changeEdits.push_back(Change("Kreis \xE2\x97\x8F", "KW", ""));  // U+25CF has no CP850 byte
  b.port.changeEdits.push_back([](ChangeForm f) -> std::optional<ChangeForm> {
    EXPECT_EQ(f.changeText, "Kreis \xE2\x97\x8F");  // what the user typed stays
    f.changeText = "Kreis";
    return f;
  });
  b.shell.run(Command::DocNew);
  EXPECT_EQ(b.p().changeCount, 1);
  EXPECT_EQ(b.p().changes[1].changeText, "Kreis");
  ASSERT_EQ(b.port.boxes.size(), 1u);
  EXPECT_NE(b.port.boxes[0].text.find("\xC3\x84nderungstext"), std::string::npos);
}

TEST(ChangeForms, StoreRules) {
  struct Case {
    std::string text, date, who, desc;
    bool ok;
    ChangeRecord stored;
  } cases[] = {
      {"Welle \xC3\xA4", "7.3.26", "M\xC3\xBC", "a\r\nb\rc", true, {"Welle \x84", "7.3.26", "M\x81", "a\nb\nc"}},
      {std::string(20, 'x'), std::string(10, '1'), "ABCDE", std::string(254, 'd'), true,
       {std::string(20, 'x'), std::string(10, '1'), "ABCDE", std::string(254, 'd')}},
      {std::string(21, 'x'), "", "", "", false, {}},
      {"", "", "ABCDEF", "", false, {}},
      {"", "", "", std::string(255, 'd'), false, {}},
      {"\xE2\x82\xAC", "", "", "", false, {}},  // the euro sign has no CP850 byte
  };
  for (const auto& c : cases) {
    ChangeRecord r{"alt", "alt", "alt", "alt"};
    ChangeForm f = FillChangeForm(r, 1, "2026-03-07");
    f.changeText = c.text;
    f.changeDate = c.date;
    f.responsible = c.who;
    f.description = c.desc;
    std::string error = StoreChangeForm(f, r);
    EXPECT_EQ(error.empty(), c.ok) << c.text << " " << error;
    ChangeRecord expect = c.ok ? c.stored : ChangeRecord{"alt", "alt", "alt", "alt"};
    EXPECT_EQ(r.changeText, expect.changeText);
    EXPECT_EQ(r.changeDate, expect.changeDate);
    EXPECT_EQ(r.responsible, expect.responsible);
    EXPECT_EQ(r.description, expect.description);
  }
}

// ------------------------------------------------------- drawing information

TEST(DrawingInfoForms, DinAndIsoFormsFillAndStore) {
  for (int form : {0, 1, 2, 3}) {
    Settings s;
    s.titleBlockForm = form;
    s.releaseFieldText = "Frei";
    CamProject p;
    p.info.responsibleDept = "alt";
    p.info.replacementFor = "alt";
    DrawingInfoForm f = FillDrawingInfoForm(p, s, "2026-03-07");
    bool iso = form == 1 || form == 2;
    EXPECT_EQ(f.iso, iso);
    EXPECT_EQ(f.caption, iso ? "Zeichnungsinfo ISO 7200" : "Zeichnungsinfo DIN 6771");
    EXPECT_EQ(f.rowLabels[0], iso ? "Erstellt durch" : "Bearb.");
    EXPECT_EQ(f.rowLabels[2], iso ? "Technische Referenz" : "Norm");
    EXPECT_EQ(f.rowLabels[3], "Frei");
    EXPECT_EQ(f.dateHeading, iso ? " (Datum)" : "Datum");
    for (int i = 0; i < 4; ++i) {
      f.dates[static_cast<size_t>(i)] = "2026-0" + std::to_string(i + 1) + "-01";
      f.names[static_cast<size_t>(i)] = "J\xC3\xBCrgen " + std::to_string(i);
    }
    f.replacementFor = "Ersatz \xC3\x9F";
    f.replacedBy = "neu";
    f.responsibleDept = "Konstruktion \xC3\x96l";
    f.documentType = "Zeichnung";
    f.documentStatus = "freigegeben";
    ASSERT_EQ(StoreDrawingInfoForm(f, s, p), "");
    EXPECT_EQ(p.info.rows[0].name, "J\x81rgen 0");
    EXPECT_EQ(p.info.rows[2].date, "2026-03-01");
    // The release row and the replacement fields belong to DIN, the document fields to ISO.
    EXPECT_EQ(p.info.rows[3].name, iso ? "" : "J\x81rgen 3");
    EXPECT_EQ(p.info.replacementFor, iso ? "alt" : "Ersatz \xE1");
    EXPECT_EQ(p.info.responsibleDept, iso ? "Konstruktion \x99l" : "alt");
    EXPECT_EQ(p.info.documentStatus, iso ? "freigegeben" : "");
  }
}

TEST(DrawingInfoForms, FreeTextRowsKeepEveryNonEmptyRowInOrder) {
  Settings s;
  struct Case {
    std::vector<std::string> texts;  // the eight rows' texts
    std::vector<std::string> stored;
  } cases[] = {
      {{"eins", "", "drei", "", "", "", "", "acht"}, {"eins", "drei", "acht"}},
      {{"", "", "", "", "", "", "", ""}, {}},
      {{"", "zwei", "", "", "", "", "", ""}, {"zwei"}},
      {{"  ", "a", "b", "c", "d", "e", "f", "g"}, {"a", "b", "c", "d", "e", "f", "g"}},
  };
  for (const auto& c : cases) {
    CamProject p;
    DrawingInfoForm f = FillDrawingInfoForm(p, s, "2026-03-07");
    for (size_t i = 0; i < 8; ++i) {
      f.texts[i] = {std::to_string(i * 10), "5,5", "3.5", "90", c.texts[i]};
    }
    ASSERT_EQ(StoreDrawingInfoForm(f, s, p), "");
    ASSERT_EQ(p.info.textCount, c.stored.size());
    for (size_t i = 0; i < c.stored.size(); ++i) {
      EXPECT_EQ(p.info.texts[i + 1].text, c.stored[i]);
      EXPECT_EQ(p.info.texts[i + 1].y, 5.5L);
      EXPECT_EQ(p.info.texts[i + 1].h, 3.5L);
      EXPECT_EQ(p.info.texts[i + 1].angle, 90.0L);
    }
  }
}

TEST(DrawingInfoForms, UnchangedNumberCellsKeepTheExactValue) {
  Settings s;
  CamProject p;
  p.info.textCount = 2;
  p.info.texts[1] = {123.456789L, 0.0001234L, 2.5L, 33.3333333L, "erster"};
  p.info.texts[2] = {10, 20, 3, 0, "zweiter"};
  p.info.textSheetMode = 2;
  DrawingInfoForm f = FillDrawingInfoForm(p, s, "2026-03-07");
  EXPECT_EQ(f.texts[0].x, "123.5");
  EXPECT_EQ(f.textSheetMode, 2);
  f.texts[1].x = "11";
  f.textSheetMode = 3;
  ASSERT_EQ(StoreDrawingInfoForm(f, s, p), "");
  EXPECT_EQ(p.info.texts[1].x, 123.456789L);
  EXPECT_EQ(p.info.texts[1].y, 0.0001234L);
  EXPECT_EQ(p.info.texts[1].angle, 33.3333333L);
  EXPECT_EQ(p.info.texts[2].x, 11.0L);
  EXPECT_EQ(p.info.textSheetMode, 3);
  // A refused text stores nothing at all.
  f.texts[0].text = std::string(255, 'x');
  f.texts[1].x = "99";
  EXPECT_NE(StoreDrawingInfoForm(f, s, p), "");
  EXPECT_EQ(p.info.texts[2].x, 11.0L);
}

TEST(DrawingInfoCommand, OkMarksModifiedCancelChangesNothing) {
  Bench b;
  b.port.drawingInfoEdits.push_back([](DrawingInfoForm f) -> std::optional<DrawingInfoForm> {
    f.names[0] = "M\xC3\xBCller";
    f.texts[0] = {"20", "30", "5", "0", "Frei \xC3\xA4"};
    return f;
  });
  b.shell.run(Command::DocInfo);
  EXPECT_TRUE(b.flags().modified);
  EXPECT_EQ(b.p().info.rows[0].name, "M\x81ller");
  EXPECT_EQ(b.p().info.textCount, 1);
  b.flags().modified = false;
  b.port.drawingInfoEdits.push_back([](DrawingInfoForm f) -> std::optional<DrawingInfoForm> {
    EXPECT_EQ(f.names[0], "M\xC3\xBCller");
    return std::nullopt;
  });
  b.shell.run(Command::DocInfo);
  EXPECT_FALSE(b.flags().modified);
  EXPECT_TRUE(b.flags().abortFlag);
}

TEST(Documentation, ResetForANewCamDatesItTodayAndClearsTheTextLines) {
  CamProject p;
  FillProject(p);
  p.info.rows[1] = {"2020-01-01", "Pr\x81" "fer"};
  p.info.textCount = 2;
  p.info.textSheetMode = 2;
  p.info.documentType = "x";
  NumberStyle ns;
  ns.dateFormat = 1;
  FixedClock clock(DateTime{2026, 12, 24, 8, 0, 0});
  ResetDocumentation(p, ns, clock);
  EXPECT_EQ(p.changeCount, 0);
  EXPECT_EQ(p.info.rows[0].date, "24.12.2026");
  EXPECT_EQ(p.info.rows[0].name, "");
  EXPECT_EQ(p.info.rows[1].date, "");
  EXPECT_EQ(p.info.rows[1].name, "");
  EXPECT_EQ(p.info.replacementFor, "");
  EXPECT_EQ(p.info.documentType, "");
  EXPECT_EQ(p.info.textCount, 0);
  EXPECT_EQ(p.info.textSheetMode, 0);
  EXPECT_EQ(p.drawing.bemerk1, "");
  EXPECT_EQ(p.drawing.bemerk2, "");
  StartDocumentation(p, ns, clock);
  EXPECT_EQ(p.info.rows[2].date, "24.12.2026");
}

// The edited documentation survives saving and reading the project.
TEST(Documentation, EditsSurviveTheProjectFile) {
  Bench b;
  b.port.changeEdits.push_back(Change("Erste \xC3\x84nderung", "KW", "zwei\nZeilen"));
  b.shell.run(Command::DocNew);
  b.port.drawingInfoEdits.push_back([](DrawingInfoForm f) -> std::optional<DrawingInfoForm> {
    f.names[1] = "Gro\xC3\x9F";
    f.texts[0] = {"20", "30", "5", "0", "oben"};
    f.texts[2] = {"40", "50", "3,5", "90", "unten mit Strich"};
    f.textSheetMode = 1;
    return f;
  });
  b.shell.run(Command::DocInfo);
  std::string bytes = ProjectToBytes(b.session.settings, b.p());
  CamProject back;
  ProjectReadError error;
  ASSERT_TRUE(ProjectFromBytes(bytes, back, error));
  EXPECT_EQ(back.changeCount, 1);
  EXPECT_EQ(back.changes[1].changeText, "Erste \x8Enderung");
  EXPECT_EQ(back.changes[1].description, "zwei\nZeilen");
  EXPECT_EQ(back.info.rows[1].name, "Gro\xE1");
  ASSERT_EQ(back.info.textCount, 2);
  EXPECT_EQ(back.info.texts[2].text, b.p().info.texts[2].text);
  EXPECT_EQ(back.info.texts[2].h, 3.5L);
  EXPECT_EQ(back.info.textSheetMode, 1);
}

// ------------------------------------------------------------ document links

// A small program that writes its arguments, one per line, next to itself.
std::string ArgumentScript(const std::string& dir) {
  std::string path = dir + "/mein \"Programm\" 1.sh";
  WriteFileBytes(path, "#!/bin/sh\nout=\"$(dirname \"$0\")/args.txt\"\n"
                       "echo \"$#\" > \"$out.part\"\nfor a in \"$@\"; do echo \"$a\" >> \"$out.part\"; done\n"
                       "mv \"$out.part\" \"$out\"\n");
  ::chmod(path.c_str(), 0755);
  return path;
}

std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && !fs::exists(path); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return fs::exists(path) ? ReadFileBytes(path) : std::string();
}

TEST(DocumentLinks, ProgramGetsTheFileAsExactlyOneArgument) {
  TempFolder folder;
  std::string dir = folder.file("Ordner mit Leer zeichen");
  fs::create_directories(dir);
  std::string program = ArgumentScript(dir);
  ScriptedPort port;
  Flags flags;
  UiState state;
  NumberStyle ns;
  Ui ui(port, flags, state, ns);
  std::string file = dir + "/Zeichnung 'A' \"B\" $HOME; rm -rf x.pdf";
  ExecDocumentProgram(ui, program, file);
  EXPECT_TRUE(port.boxes.empty()) << (port.boxes.empty() ? "" : port.boxes[0].text);
  EXPECT_EQ(WaitForFile(dir + "/args.txt"), "1\n" + file + "\n");
  // Nothing we started stays behind as our child.
  int status = 0;
  errno = 0;
  EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST(DocumentLinks, MissingProgramsAndDefaultsAreHandled) {
  TempFolder folder;
  std::string plain = folder.file("kein programm.sh");
  WriteFileBytes(plain, "#!/bin/sh\n");
  std::string doc = folder.file("plan.pdf");
  WriteFileBytes(doc, "%PDF");
  struct Case {
    std::string program, file;
    std::string box;        // start of the error box text, empty: none
    bool openedWithApp;
  } cases[] = {
      {folder.file("fehlt"), doc, "Programm nicht gefunden", false},
      {plain, doc, "Programm nicht gefunden", false},
      {folder.path(), doc, "Programm nicht gefunden", false},
      {"notepad.exe", doc, "", true},
      {"C:\\WINDOWS\\MSPAINT.EXE", doc, "", true},
      {"", doc, "", true},
      {"", folder.file("weg.pdf"), "Datei nicht gefunden", false},
      {"write.exe", "", "Keine Datei angegeben", false},
  };
  for (const auto& c : cases) {
    ScriptedPort port;
    Flags flags;
    UiState state;
    NumberStyle ns;
    Ui ui(port, flags, state, ns);
    ExecDocumentProgram(ui, c.program, c.file);
    if (c.box.empty()) {
      EXPECT_TRUE(port.boxes.empty()) << c.program;
    } else {
      ASSERT_EQ(port.boxes.size(), 1u) << c.program;
      EXPECT_EQ(port.boxes[0].text.rfind(c.box, 0), 0u) << port.boxes[0].text;
    }
    EXPECT_EQ(port.opened.size(), c.openedWithApp ? 1u : 0u) << c.program;
  }
}

TEST(DocumentLinks, DialogStoresTheTenFieldsAndItsButtonsAct) {
  Bench b;
  std::string doc = b.folder.file("Stückliste.ods");
  WriteFileBytes(doc, "x");
  b.port.linkEdits.push_back([doc](DocumentLinksForm f) -> std::optional<DocumentLinksForm> {
    EXPECT_EQ(f.caption.rfind("Document Links  -  KAMO", 0), 0u);
    EXPECT_EQ(f.programs[0], "notepad.exe");
    f.files[0] = doc;
    f.programs[4] = "/usr/bin/gedit";
    f.execFile(f.files[0]);
    return f;
  });
  b.shell.run(Command::DocSetup);
  EXPECT_TRUE(b.flags().modified);
  EXPECT_EQ(b.p().links[1].file, Utf8ToCp850(doc));
  EXPECT_EQ(b.p().links[5].program, "/usr/bin/gedit");
  ASSERT_EQ(b.port.opened.size(), 1u);
  EXPECT_EQ(b.port.opened[0], doc);
}

// ------------------------------------------------------------- batch job

struct BatchRun {
  int code;
  std::string out, err;
};

BatchRun Changes(const std::string& workDir, std::vector<std::string> args) {
  ScriptedPort port;
  Session s(port, std::make_unique<FixedClock>(DateTime{2026, 3, 7, 9, 5, 0}));
  TempFolder temp;
  s.settings.tempDir = temp.path();
  std::ostringstream out, err;
  int code = RunBatchIn(s, args, workDir, out, err);
  return {code, out.str(), err.str()};
}

std::vector<std::string> FolderFiles(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

const std::string kDocumented = std::string(KAMO_SOURCE_DIR) + "/examples/documented.kmo";

TEST(ChangesBatch, WritesEachFormatUnderTheProjectsStem) {
  struct Case {
    const char* format;
    const char* file;
    const char* contains;  // bytes of the file
  } cases[] = {
      {"txt", "doku.txt", "\x8E" "nderungsprotokoll"},
      {"tsv", "doku.tsv", "Hub 12 mm"},
      {"html", "doku.html", "</HTML>"},
  };
  for (const auto& c : cases) {
    TempFolder work;
    fs::copy_file(kDocumented, work.file("doku.kmo"));
    BatchRun r = Changes(work.path(), {work.file("doku.kmo"), "--changes", "--format", c.format});
    EXPECT_EQ(r.code, 0) << c.format << ": " << r.err;
    EXPECT_EQ(r.err, "");
    std::string bytes = ReadFileBytes(work.file(c.file));
    EXPECT_NE(bytes.find(c.contains), std::string::npos) << c.format;
    EXPECT_NE(bytes.find("Bohrung"), std::string::npos) << c.format;
    std::vector<std::string> expect{"doku.kmo", c.file};
    std::sort(expect.begin(), expect.end());
    EXPECT_EQ(FolderFiles(work.path()), expect) << c.format;
    if (std::string(c.format) == "html") {
      std::string cmd = "tidy -q -e '" + work.file(c.file) + "' > /dev/null 2>&1";
      int rc = std::system(cmd.c_str());
      EXPECT_LT(WEXITSTATUS(rc), 2);
    }
  }
}

TEST(ChangesBatch, NamedOutputRefusalsAndUsageErrors) {
  TempFolder work;
  std::string project = work.file("doku.kmo");
  fs::copy_file(kDocumented, project);
  std::string original = ReadFileBytes(project);
  fs::create_directories(work.file("ordner"));
  WriteFileBytes(work.file("alt.v1.txt"), "alt");
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string errPart;
  } cases[] = {
      {{project, "--changes", "--format", "txt", "-o", "alt.v1.txt"}, 0, ""},
      {{project, "--changes", "--format", "txt", "-o", "doku.kmo"}, 1, "replace the project"},
      {{project, "--changes", "--format", "html", "-o", "ordner"}, 1, "is a folder"},
      {{project, "--changes", "--format", "pdf"}, 2, "txt, tsv or html"},
      {{project, "--changes"}, 2, "needs --format"},
      {{project, "--changes", "--sheet", "1", "--format", "txt"}, 2, "only one job"},
  };
  for (const auto& c : cases) {
    BatchRun r = Changes(work.path(), c.args);
    EXPECT_EQ(r.code, c.code) << c.args.back() << ": " << r.err;
    EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
  }
  EXPECT_EQ(ReadFileBytes(project), original);
  EXPECT_NE(ReadFileBytes(work.file("alt.v1.txt")).find("Hub 12 mm"), std::string::npos);
  EXPECT_EQ(FolderFiles(work.path()), (std::vector<std::string>{"alt.v1.txt", "doku.kmo", "ordner"}));
  EXPECT_TRUE(fs::is_empty(work.file("ordner")));
  // "/?" lists the job.
  BatchRun help = Changes(work.path(), {"/?"});
  EXPECT_NE(help.out.find("--changes --format F"), std::string::npos);
}

// The documented example: its free texts, change indices and signatures are
// on the A3 sheet as ezdxf reads it.
TEST(ChangesOnTheSheet, A3DxfCarriesTheDocumentation) {
  TempFolder work;
  ScriptedPort port;
  Session s(port);
  s.settings.tempDir = work.path();
  s.settings.titleBlockForm = 3;
  std::ostringstream out, err;
  std::string dxf = work.file("a3.dxf");
  ASSERT_EQ(RunBatchIn(s, {kDocumented, "--sheet", "10", "--format", "dxf", "-o", dxf}, work.path(),
                       out, err),
            0)
      << err.str();
  std::string cmd = "/usr/bin/python3 '" + std::string(KAMO_SOURCE_DIR) +
                    "/tests/docu/data/dxf_texts.py' '" + dxf + "' > '" + work.file("texts.txt") + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::string texts = ReadFileBytes(work.file("texts.txt"));
  for (const char* t : {"Werkstoff: 16MnCr5, einsatzgeh\xC3\xA4rtet", "Kanten gebrochen 0,5 \xC3\x97 45\xC2\xB0",
                        "Pr\xC3\xBC" "fma\xC3\x9F r = 50 \xC2\xB1 0,02", "Schr\xC3\xB6" "der", "Wei\xC3\x9F",
                        "Bohrung \xC3\x98" "22 H7", "\nc\n"})
    EXPECT_NE(texts.find(t), std::string::npos) << t;
}

}  // namespace
}  // namespace kamo::test
