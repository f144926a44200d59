// The configuration dialog without its window: every control reaches its
// row, refused texts leave the values alone, the "<" rules, import into the
// copy only, saving whole files, the pickers, the menu language, STEP in the
// output list and the plot program started from a menu command.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "core/codepage.h"
#include "core/fields.h"
#include "core/identity.h"
#include "io/configio.h"
#include "io/kamoio.h"
#include "shell/commands.h"
#include "shell/configdialog.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;

struct Bench {
  test::ScriptedPort port;
  Session session{port};
  test::TempFolder folder;
  ConfigPlace place;
  ConfigContext ctx;
  Bench() {
    place.dir = folder.path() + "/";
    ctx.startDir = folder.path() + "/";
    ctx.screen = {1280, 1024, 96, 1200, 900, 0, 0};
    // No dialog scale from the screen: the values stay as written.
    session.settings.dialogWindowSize = 0;
  }
  ConfigEditor editor() { return ConfigEditor(session, place, ctx); }
};

// Values away from their defaults for every row the dialog shows.
Settings DialogRowsChanged() {
  Settings s;
  s.dialogWindowSize = 0;
  for (size_t i = 0; i < 5; ++i) s.layers[i] = {"L\x84yer" + std::to_string(i), static_cast<int>(i) + 4};
  s.cadTextStyle = "ROMANS";
  s.cadTextWidthFactor = 0.75L;
  s.cadTextAngle = 12.5L;
  s.cadDir = "/cad/";
  s.dbfDir = "/dbf/";
  s.helpLevel = 2;
  s.printerPort = 3;
  s.numbers.decimals = 5;
  s.colourGraphics = false;
  s.windowWidth = 1200;
  s.windowHeight = 900;
  s.tempDir = "/var/tmp/";
  s.ediDir = "/edi/";
  s.pltDir = "/plt/";
  s.textPrintMode = 3;
  s.linesPerPage = 72;
  s.zoomFactor = 1.1L;
  s.panFactor = 0.05L;
  s.programDir = "/opt/kamo/";
  s.plotCommands = {"drawout a", "drawout b", "drawout c", "drawout d", "drawout e"};
  s.plotCommandCount = 3;
  s.backgroundColour = 7;
  s.windowsPrintMode = 2;
  s.layerMonochrome = true;
  s.graphicsTextWidthFactor = 0.9L;
  s.graphicsFont = "DejaVu Sans";
  for (size_t n = 0; n < 16; ++n) s.layerColours[n] = 16 - static_cast<int>(n);
  s.textProgram = "/usr/bin/mousepad";
  s.printOriginX = 15;
  s.printOriginY = -20;
  s.printScaleX = 0.95;
  s.printBorder = true;
  s.userDataFolders = true;
  s.archiveMode = true;
  s.numbers.dateFormat = 1;
  s.headerSpaceLines = 4;
  s.textDevice = 7;
  s.askTextDevice = true;
  s.askDiagramLimits = true;
  s.outputSeparator = 2;
  s.dataDir = "/daten/";
  s.textHeightFactor = 1.5L;
  s.dialogScale = 125;
  s.htmlBrowser = "/usr/bin/firefox";
  s.printScaleY = 0.9;
  s.lineThickness = {2, 3, 4, 5, 6, 7};
  s.printDialog = false;
  s.textWindowLeft = 5;
  s.textWindowTop = 6;
  s.textWindowWidth = 800;
  s.textWindowHeight = 500;
  s.numbers.unitSystem = 1;
  s.pageHeaderMode = 2;
  s.printFont = "DejaVu Sans Mono";
  s.printFontSize = 9;
  s.printFontStyle = 1;
  s.graphicsFontStyle = 2;
  s.printOrientation = 1;
  s.ask3dAngles = false;
  s.view3d = {0.1L, 0.2L, -0.3L};
  s.changeIndexStyle = 2;
  s.spreadsheetSeparator = 1;
  s.releaseFieldText = "Freigabe \x8E";
  s.cadDecimals = 8;
  s.numbers.cadTextType = 3;
  for (size_t n = 0; n < 16; ++n) s.lineThicknessHigh[n] = static_cast<int>(n) + 2;
  s.numbers.specialChars = 1;
  s.dialogElementScale = 90;
  s.angleFormat = 2;
  s.dimensionFactor = 2.5L;
  s.calcResultGraphic = 4;
  s.drawingOptionsOff = {true, false, true, false, true, true};
  s.noAktuellQuestion = true;
  s.saveLanguage = true;
  s.titleBlockForm = 3;
  for (size_t i = 0; i < 16; ++i) s.screenColours[i] = 0x010203u * static_cast<unsigned>(i + 1);
  s.flatten3d = true;
  s.rightsNoteOff = true;
  s.manualDir = "/doc/";
  s.frameMargin = 0;
  s.frameMarkingOff = true;
  s.frameScaleOff = true;
  s.showChanges = true;
  s.useHeadBlocks = true;
  s.useInsertBlocks = true;
  s.noArcCentreWarnings = true;
  s.startCadApplication = false;
  s.polylineArcsAsLines = false;
  s.arcLineResolution = 0.25L;
  s.stlType = 1;
  s.mainWindowSize = 2;
  s.textWindowSize = 0;
  s.copyDbfToTemp = false;
  s.stepLevel = 3;
  return s;
}

TEST(ConfigDialog, TheTableNamesEveryControlOnceOnNinePages) {
  std::set<std::string> names;
  std::set<int> pages;
  for (const ConfigField& f : ConfigFields()) {
    EXPECT_TRUE(names.insert(f.name).second) << "twice: " << f.name;
    EXPECT_FALSE(f.label.empty()) << f.name;
    pages.insert(f.page);
    ASSERT_TRUE(f.get) << f.name;
    if (f.control == ConfigControl::Radio) {
      EXPECT_GE(f.items.size(), 2u) << f.name;
    }
  }
  EXPECT_EQ(ConfigPages().size(), 9u);
  EXPECT_EQ(pages.size(), 9u);
  for (const char* n : {"CheckBox_usereingabe", "RadioGroup_ergebnisgrafik", "RadioGroup_step", "Edit_strich16"})
    EXPECT_TRUE(FindConfigField(n)) << n;
  EXPECT_EQ(FindConfigField("RadioGroup_ergebnisgrafik")->items.size(), 7u);
}

// Each control filled from changed settings and stored into the defaults
// gives the same file: every row of the dialog reaches its field.
TEST(ConfigDialog, EveryControlReachesItsRow) {
  Settings want = DialogRowsChanged();
  Bench b;
  const std::string live = ConfigToBytes(b.session.settings);
  ConfigEditor e = b.editor();
  std::vector<std::pair<std::string, std::string>> texts;
  for (const ConfigField& f : ConfigFields())
    if (f.set) texts.emplace_back(f.name, f.get(want));
  std::string refused;
  ASSERT_TRUE(e.storeAll(texts, &refused)) << refused << ": "
                                           << (b.port.boxes.empty() ? "" : b.port.boxes.back().text);
  EXPECT_EQ(ConfigToBytes(e.values()), ConfigToBytes(want));
  // The session's settings wait for OK.
  EXPECT_EQ(ConfigToBytes(b.session.settings), live);
  e.apply();
  EXPECT_EQ(ConfigToBytes(b.session.settings), ConfigToBytes(want));
}

TEST(ConfigDialog, RefusedTextsLeaveTheValues) {
  struct Case {
    const char* name;
    const char* text;
    const char* box;  // start of the message (UTF-8)
  } cases[] = {
      {"Edit_dezimalstellen", "0", "Gültiger Wertebereich: 1 .. 9 !"},
      {"Edit_dezimalstellen", "4x", "Ungültige Eingabe \"4x\" !"},
      {"Edit_zeilen", "", "Ungültige Eingabe \"\" !"},
      {"Edit_zoom", "-1", "Gültiger Wertebereich"},
      {"Edit_zoom", "1e999", "Ungültige Eingabe"},
      {"Edit_layer1", "\xE2\x82\xAC", ""},  // the euro sign has no CP850 byte
      {"Edit_farbe3", "#12345", "Ungültige Eingabe"},
      {"RadioGroup_schriftfeld", "4", "Ungültige Eingabe"},
      {"Edit_drawout1", "a\nb", "Ungültige Eingabe"},
  };
  for (const Case& c : cases) {
    Bench b;
    ConfigEditor e = b.editor();
    std::string before = ConfigToBytes(e.values());
    std::string refused;
    EXPECT_FALSE(e.storeAll({{"Edit_hilfegrad_none", "x"}, {"RadioGroup_einheiten", "1"}, {c.name, c.text}},
                            &refused))
        << c.name << " " << c.text;
    EXPECT_EQ(refused, c.name);
    EXPECT_EQ(ConfigToBytes(e.values()), before) << "all or nothing: " << c.name;
    ASSERT_EQ(b.port.boxes.size(), 1u) << c.name;
    EXPECT_EQ(b.port.boxes[0].text.rfind(c.box, 0), 0u) << b.port.boxes[0].text;
  }
}

TEST(ConfigDialog, UnchangedNumbersKeepTheirExactValues) {
  Bench b;
  b.session.settings.zoomFactor = 1.0L / 3;
  b.session.settings.view3d[1] = 0.123456789012345678L;
  ConfigEditor e = b.editor();
  ASSERT_TRUE(e.store("Edit_zoom", e.text("Edit_zoom")));
  ASSERT_TRUE(e.store("Edit_3dy", e.text("Edit_3dy")));
  EXPECT_EQ(e.values().zoomFactor, 1.0L / 3);
  EXPECT_EQ(e.values().view3d[1], 0.123456789012345678L);
  ASSERT_TRUE(e.store("Edit_3dy", "90"));
  EXPECT_NEAR(static_cast<double>(e.values().view3d[1]), 1.5707963267948966, 1e-15);
  ASSERT_TRUE(e.store("Edit_zoom", "1,5"));
  EXPECT_EQ(e.values().zoomFactor, 1.5L);
  // Check boxes of options stored as "switched off" show the option.
  EXPECT_EQ(e.text("CheckBox_logo"), "1");
  ASSERT_TRUE(e.store("CheckBox_logo", "0"));
  EXPECT_TRUE(e.values().drawingOptionsOff[3]);
}

TEST(ConfigDialog, LessButtons) {
  Bench b;  // largest client area 1200 x 900
  ConfigEditor e = b.editor();
  std::map<std::string, std::string> shown{{"Edit_breite", "1000"}, {"Edit_hoehe", "600"},
                                           {"Edit_druckskalax", "0.75"}};
  auto current = [&shown](const std::string& n) { return shown[n]; };
  using P = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(e.lessButton("Button_fenstermax", current), (P{{"Edit_breite", "1200"}, {"Edit_hoehe", "900"}}));
  EXPECT_EQ(e.lessButton("Edit_breite", current), (P{{"Edit_breite", "800"}, {"Edit_hoehe", "600"}}));
  EXPECT_EQ(e.lessButton("Edit_hoehe", current), (P{{"Edit_breite", "1000"}, {"Edit_hoehe", "750"}}));
  shown["Edit_hoehe"] = "1000";  // 1333 wide would not fit: the width takes the limit
  EXPECT_EQ(e.lessButton("Edit_breite", current), (P{{"Edit_breite", "1200"}, {"Edit_hoehe", "900"}}));
  shown["Edit_breite"] = "1500";
  EXPECT_EQ(e.lessButton("Edit_hoehe", current), (P{{"Edit_breite", "1200"}, {"Edit_hoehe", "900"}}));
  EXPECT_EQ(e.lessButton("Edit_druckskalay", current), (P{{"Edit_druckskalay", "0.75"}}));
  EXPECT_EQ(e.lessButton("Edit_dezimalstellen", current), (P{{"Edit_dezimalstellen", "3"}}));
  EXPECT_EQ(e.lessButton("Edit_zoom", current), (P{{"Edit_zoom", "1.02"}}));
  EXPECT_EQ(e.lessButton("Edit_strich0", current), (P{{"Edit_strich0", "3"}}));
  EXPECT_EQ(e.lessButton("Edit_farbe1", current), (P{{"Edit_farbe1", "#000080"}}));
  EXPECT_TRUE(e.lessButton("Edit_cadordner", current).empty());
  // The temporary folder: TMPDIR, else the system's, always with its "/".
  const char* old = std::getenv("TMPDIR");
  std::string saved = old ? old : "";
  setenv("TMPDIR", b.folder.path().c_str(), 1);
  EXPECT_EQ(e.lessButton("Edit_tempordner", current), (P{{"Edit_tempordner", b.folder.path() + "/"}}));
  unsetenv("TMPDIR");
  EXPECT_EQ(e.lessButton("Edit_tempordner", current), (P{{"Edit_tempordner", "/tmp/"}}));
  if (old) setenv("TMPDIR", saved.c_str(), 1);
}

// Import reads into the dialog's copy only: "Abbrechen" (dropping the
// editor) leaves the running settings and every file as they were.
TEST(ConfigDialog, ImportTouchesOnlyTheCopy) {
  Bench b;
  b.session.settings.cadDecimals = 9;  // a row far after the cut below
  b.session.settings.helpLevel = 0;
  const std::string live = ConfigToBytes(b.session.settings);
  Settings other = DialogRowsChanged();
  std::vector<std::string> lines;
  {
    std::string bytes = ConfigToBytes(other);
    size_t at = 0;
    for (int n = 0; n < 40; ++n) at = bytes.find("\r\n", at) + 2;  // rows 1..10 and some more
    test::WriteFileBytes(b.folder.file("kurz.cfg"), bytes.substr(0, at));
  }
  test::WriteFileBytes(b.folder.file("fremd.cfg"), std::string("\x89PNG\r\n\x1a\n\0\0\0IHDR", 16));
  test::WriteFileBytes(b.folder.file("leer.cfg"), "");
  const std::string shortBytes = test::ReadFileBytes(b.folder.file("kurz.cfg"));
  {
    ConfigEditor e = b.editor();
    b.port.files.push_back(b.folder.file("kurz.cfg"));
    ASSERT_TRUE(e.importChosen());
    EXPECT_EQ(b.port.fileDialogs.back().filter, "*.cfg|*.cfg");
    EXPECT_EQ(e.values().helpLevel, 2) << "read from the file";
    EXPECT_EQ(e.values().cadDecimals, 9) << "rows after the end keep the edited value";
    EXPECT_EQ(e.values().cadDir, "/cad/");
    for (const char* bad : {"fremd.cfg", "leer.cfg", "fehlt.cfg"}) {
      std::string before = ConfigToBytes(e.values());
      EXPECT_FALSE(e.importFile(b.folder.file(bad))) << bad;
      EXPECT_EQ(ConfigToBytes(e.values()), before) << bad;
    }
    EXPECT_EQ(b.port.boxes.size(), 3u);
    b.port.files.push_back(std::nullopt);
    EXPECT_FALSE(e.importChosen());
    // A row far longer than any field holds is cut to what the field takes.
    std::string bytes = ConfigToBytes(Settings{});
    bytes.replace(bytes.find("TXT8"), 4, std::string(100000, 'X'));
    test::WriteFileBytes(b.folder.file("lang.cfg"), bytes);
    ASSERT_TRUE(e.importFile(b.folder.file("lang.cfg")));
    EXPECT_EQ(e.values().cadTextStyle, std::string(kMaxFieldChars, 'X'));
  }
  EXPECT_EQ(ConfigToBytes(b.session.settings), live);
  EXPECT_EQ(test::ReadFileBytes(b.folder.file("kurz.cfg")), shortBytes);
  EXPECT_FALSE(fs::exists(b.place.path())) << "nothing saved";
}

// "&Speichern" writes the whole file, then reading it gives every value
// back; a failed write keeps the old file byte for byte.
TEST(ConfigDialog, SaveWritesWholeFilesOnly) {
  Bench b;
  ConfigEditor e = b.editor();
  ASSERT_TRUE(e.storeAll({{"RadioGroup_einheiten", "1"},
                          {"Edit_dezimalstellen", "4"},
                          {"RadioGroup_schriftfeld", "3"},
                          {"RadioGroup_ausgabe", "6"},
                          {"Edit_drawout1", "/usr/bin/plot DRAWOUT.DXF /M1.0"}}));
  ASSERT_TRUE(e.save());
  EXPECT_EQ(b.session.settings.numbers.decimals, 4);
  const std::string saved = test::ReadFileBytes(b.place.path());
  Settings back;
  back.dialogWindowSize = 0;
  ConfigPlace found;
  ASSERT_TRUE(readConfig(back, b.session.ui, found, b.folder.file("nirgends"), b.ctx));
  EXPECT_EQ(back.numbers.unitSystem, 1);
  EXPECT_EQ(back.numbers.decimals, 4);
  EXPECT_EQ(back.titleBlockForm, 3);
  EXPECT_EQ(back.textDevice, 7);
  EXPECT_EQ(back.plotCommands[0], "/usr/bin/plot DRAWOUT.DXF /M1.0");

  // Export writes the copy elsewhere and changes nothing else.
  ASSERT_TRUE(e.store("Edit_dezimalstellen", "6"));
  b.port.files.push_back(b.folder.file("anders"));
  ASSERT_TRUE(e.exportChosen());
  EXPECT_EQ(b.port.fileDialogs.back().filter, "*.cfg|*.cfg");
  EXPECT_NE(test::ReadFileBytes(b.folder.file("anders.cfg")).find("Dezimalstellen\r\n6\r\n"), std::string::npos);
  EXPECT_EQ(test::ReadFileBytes(b.place.path()), saved);
  EXPECT_EQ(b.session.settings.numbers.decimals, 4);

  // A write that fails half-way (a full disk) leaves the old file.
  ASSERT_FALSE(writeConfig(e.values(), b.session.ui, b.place.path(), 100));
  EXPECT_EQ(test::ReadFileBytes(b.place.path()), saved);
  // So does a folder that cannot be written; "Abbrechen" ends the retries.
  if (geteuid() != 0) {
    chmod(b.folder.path().c_str(), 0555);
    b.port.retries = {true, false};
    EXPECT_FALSE(e.save());
    chmod(b.folder.path().c_str(), 0755);
    EXPECT_EQ(b.port.questions.size(), 2u);
    EXPECT_EQ(test::ReadFileBytes(b.place.path()), saved);
  }
  for (const auto& entry : fs::directory_iterator(b.folder.path()))
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(ConfigDialog, ShippedDefaultsWriteReadWriteTheSameBytes) {
  Bench b;
  Settings defaults;
  defaults.dialogWindowSize = 0;  // the screen would change the dialog scale
  ASSERT_TRUE(writeConfig(defaults, b.session.ui, b.place.path()));
  // The first read applies the read rules (window size from the screen, the
  // data folder from the start); from then on the bytes stay.
  std::string first;
  for (int pass = 0; pass < 3; ++pass) {
    Settings back;
    ConfigPlace found;
    ASSERT_TRUE(readConfig(back, b.session.ui, found, b.folder.file("nirgends"), b.ctx));
    ASSERT_TRUE(writeConfig(back, b.session.ui, b.place.path()));
    if (pass == 1) first = test::ReadFileBytes(b.place.path());
  }
  EXPECT_EQ(test::ReadFileBytes(b.place.path()), first);
  EXPECT_EQ(first.find("STEP"), std::string::npos) << "the default STEP level adds no rows";
}

TEST(ConfigDialog, StepLevelRow) {
  for (int level : {0, 1, 2, 3}) {
    Settings s;
    s.stepLevel = level;
    Settings back;
    back.stepLevel = -7;
    EXPECT_EQ(ConfigFromBytes(ConfigToBytes(s), back, ConfigContext{}), 109);
    EXPECT_EQ(back.stepLevel, level == 1 ? -7 : level) << "absent only at its default";
  }
  Settings s;
  s.stepLevel = 2;
  std::string bytes = ConfigToBytes(s);
  size_t at = bytes.rfind("\r\n2\r\n");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 5, "\r\n9\r\n");
  Settings back;
  ConfigFromBytes(bytes, back, ConfigContext{});
  EXPECT_EQ(back.stepLevel, 1);
}

TEST(ConfigDialog, Pickers) {
  Bench b;
  ConfigEditor e = b.editor();
  std::string program = b.folder.file("plotter");
  test::WriteFileBytes(program, "#!/bin/sh\n");
  chmod(program.c_str(), 0755);
  test::WriteFileBytes(b.folder.file("liesmich.txt"), "x");
  chmod(b.folder.file("liesmich.txt").c_str(), 0644);
  fs::create_directories(b.folder.file("handbuch"));
  // A folder: the port's folder dialog, kept with its "/".
  b.port.files.push_back(b.folder.file("handbuch/"));
  EXPECT_EQ(e.pick("Edit_cadordner", ""), b.folder.file("handbuch/"));
  // A program: any name ("*"), but it must be executable.
  b.port.files.push_back(program);
  EXPECT_EQ(e.pick("Edit_textprogramm", ""), program);
  EXPECT_EQ(b.port.fileDialogs.back().filter, "*|*");
  b.port.files.push_back(b.folder.file("liesmich.txt"));
  EXPECT_EQ(e.pick("Edit_browser", ""), std::nullopt);
  ASSERT_EQ(b.port.boxes.size(), 1u);
  EXPECT_EQ(b.port.boxes[0].text, "Kein ausf\xC3\xBChrbares Programm: " + b.folder.file("liesmich.txt"));
  // The manual: the folder of the chosen file.
  b.port.files.push_back(b.folder.file("handbuch/kamo.htm"));
  EXPECT_EQ(e.pick("Edit_handbuch", ""), b.folder.file("handbuch/"));
  EXPECT_EQ(b.port.fileDialogs.back().filter, "kamo.htm|kamo.htm");
  b.port.files.push_back(std::nullopt);
  EXPECT_EQ(e.pick("Edit_pltordner", "/x/"), std::nullopt);
  // Typed folders get their "/" too.
  ASSERT_TRUE(e.store("Edit_ediordner", "/edi"));
  EXPECT_EQ(e.values().ediDir, "/edi/");
  ASSERT_TRUE(e.store("Edit_cadordner", ""));
  EXPECT_EQ(e.values().cadDir, "");
}

// The menu language lasts when "Save Menu Language ?" is set.
TEST(ConfigDialog, MenuLanguageIsSavedAndReadBack) {
  for (bool keep : {true, false}) {
    Bench b;
    Shell shell(b.session);
    shell.switchLanguage(lcEnglish);
    ConfigEditor e = b.editor();
    ASSERT_TRUE(e.store("CheckBox_sprache", keep ? "1" : "0"));
    ASSERT_TRUE(e.save());
    Settings back;
    ConfigPlace found;
    ASSERT_TRUE(readConfig(back, b.session.ui, found, b.folder.file("nirgends"), b.ctx));
    EXPECT_EQ(back.language, keep ? lcEnglish : 0);
  }
}

struct Starter : ProcessStarter {
  std::vector<std::vector<std::string>> calls;
  std::vector<std::string> dirs;
  int start(const std::vector<std::string>& args) override {
    calls.push_back(args);
    return 0;
  }
  int startIn(const std::vector<std::string>& args, const std::string& dir) override {
    dirs.push_back(dir);
    return start(args);
  }
};

struct WindowBench : Bench {
  Shell shell{session};
  Starter starter;
  WindowBench() {
    shell.processStarter = &starter;
    session.settings.tempDir = folder.path();
    session.settings.startCadApplication = false;
    std::string path = folder.file("cam.kmo");
    fs::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", path);
    EXPECT_TRUE(shell.openProject(path));
  }
};

// The printout commands follow the target and options set in the dialog.
TEST(ConfigDialog, PrintoutsFollowTheConfiguredTarget) {
  struct Case {
    const char* target;    // index of RadioGroup_ausgabe
    const char* ask;       // CheckBox_ausgabefrage
    const char* program;   // Edit_textprogramm
    const char* saveAs;    // answer of a save dialog, if one is asked
    const char* written;   // the file that must exist afterwards (in the folder)
    bool opened;           // handed to the desktop's application
  } cases[] = {
      {"6", "0", "", "seite.htm", "seite.htm", true},  // HTML, no browser of its own
      {"5", "0", "", nullptr, "$$1.txt", false},       // tab-separated, in the temporary folder
      {"2", "0", "", "druck.txt", "druck.txt", false}, // text file
      {"4", "0", "", nullptr, "outwin.txt", true},     // text program: none set, the desktop's
  };
  for (const Case& c : cases) {
    WindowBench w;
    ConfigEditor e = w.editor();
    ASSERT_TRUE(e.storeAll({{"RadioGroup_ausgabe", c.target},
                            {"CheckBox_ausgabefrage", c.ask},
                            {"Edit_textprogramm", c.program}}));
    e.apply();
    if (c.saveAs) w.port.files.push_back(w.folder.file(c.saveAs));
    w.shell.run(Command::ViewStandard);
    EXPECT_TRUE(fs::exists(w.folder.file(c.written))) << c.target << ": " << ::testing::PrintToString(w.port.boxTexts());
    if (c.opened) {
      EXPECT_EQ(w.port.opened, std::vector<std::string>{w.folder.file(c.written)}) << c.target;
    } else {
      EXPECT_TRUE(w.port.opened.empty()) << c.target;
    }
  }
  // With "Text Device Window ?" the list of targets comes first.
  WindowBench w;
  ConfigEditor e = w.editor();
  ASSERT_TRUE(e.store("CheckBox_ausgabefrage", "1"));
  e.apply();
  w.port.choices.push_back(std::nullopt);
  w.shell.run(Command::ViewStandard);
  ASSERT_EQ(w.port.choicePrompts.size(), 1u);
  EXPECT_EQ(w.port.choicePrompts[0].items.size(), 7u);
}

// The output list of a CAD command offers STEP seventh with the default
// level, and the window writes the file.
TEST(ConfigDialog, CadMenuOffersStepWithItsLevel) {
  for (int level : {0, 1}) {
    WindowBench w;
    w.session.settings.stepLevel = level;
    w.port.choices.push_back(level ? std::optional<int>(6) : std::nullopt);
    if (level) w.port.files.push_back(w.folder.file("nocke.stp"));
    w.shell.run(Command::CadGraphics);
    ASSERT_FALSE(w.port.choicePrompts.empty());
    const ChoicePrompt& list = w.port.choicePrompts[0];
    ASSERT_EQ(list.items.size(), level ? 7u : 6u);
    if (!level) continue;
    EXPECT_EQ(list.items[6], "STEP");
    std::string step = test::ReadFileBytes(w.folder.file("nocke.stp"));
    EXPECT_EQ(step.rfind("ISO-10303-21;", 0), 0u);
    EXPECT_EQ(w.session.settings.stepLevel, 1) << "the setting outlives the output";
  }
}

// "DRAWOUT" in the output list: the file, then the configured line started
// in the temporary folder; an empty line leads to the prompts that build one.
TEST(ConfigDialog, PlotOutputStartsTheConfiguredProgram) {
  for (bool empty : {false, true}) {
    WindowBench w;
    w.session.settings.plotCommands[0] = empty ? "" : "/usr/bin/plot DRAWOUT.DXF /M1.0";
    w.port.choices.push_back(3);                       // "Ausgabe auf Laserprinter/Plotter mit DRAWOUT"
    w.port.texts.push_back(empty ? "" : "/usr/bin/plot DRAWOUT.DXF /M1.0");  // the line, confirmed
    if (empty) w.port.choices.push_back(std::nullopt);  // its prompt sequence, cancelled
    w.shell.run(Command::CadGraphics);
    if (empty) {
      EXPECT_TRUE(w.starter.calls.empty());
      continue;
    }
    ASSERT_EQ(w.starter.calls.size(), 1u) << ::testing::PrintToString(w.port.boxTexts());
    EXPECT_EQ(w.starter.calls[0], (std::vector<std::string>{"/usr/bin/plot", "DRAWOUT.DXF", "/M1.0"}));
    EXPECT_EQ(w.starter.dirs[0], w.folder.path());
    EXPECT_TRUE(fs::exists(w.folder.file("drawout.dxf")));
  }
}

}  // namespace
}  // namespace kamo
