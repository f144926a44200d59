// The configuration file: every row round-trips, read rules, short files,
// the places it is looked for, and the folder checks of the start.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "core/codepage.h"
#include "core/numbers.h"
#include "io/configio.h"
#include "io/lines.h"
#include "io/recentfiles.h"
#include "projects.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;

using test::Env;
using test::Lines;

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

// Every field away from its default, inside its range.
Settings Changed() {
  Settings s;
  for (size_t i = 0; i < s.layers.size(); ++i) s.layers[i] = {"L\x84yer " + std::to_string(i), static_cast<int>(i) + 5};
  s.cadTextStyle = "ROMANS";
  s.cadTextWidthFactor = 0.75L;
  s.cadTextAngle = 12.5L;
  s.cadDir = "/home/j\xC3\xBCrgen/cad";  // UTF-8 path with an umlaut
  s.dbfDir = "/daten/\xE6\x96\x87/dbf";   // a character CP850 lacks
  s.helpLevel = 2;
  s.printerPort = 3;
  s.printerType = 7;
  s.printDensity = 2;
  s.hardcopyRotated = 'N';
  s.numbers.decimals = 5;
  s.printThickness = 4;
  s.colourGraphics = false;
  s.graphicsCorrection = 1.25L;
  s.graphicsMode = 4;
  s.graphicsDriver = 9;
  s.windowWidth = 1200;
  s.windowHeight = 900;
  s.tempDir = "/var/tmp/kamo";
  s.hardcopyPort = 2;
  s.ediDir = "/edi";
  s.pltDir = "/plt";
  s.textPrintMode = 3;
  s.linesPerPage = 72;
  s.zoomFactor = 1.1L;
  s.panFactor = 0.05L;
  s.programDir = "/opt/kamo";
  s.plotCommandCount = 3;
  s.plotCommands = {"drawout a", "drawout b", "drawout c", "drawout d", "drawout e"};
  s.backgroundColour = 7;
  s.windowsPrintMode = 2;
  s.layerMonochrome = true;
  s.graphicsTextWidthFactor = 0.9L;
  s.graphicsFont = "DejaVu Sans";
  for (size_t n = 0; n < s.layerColours.size(); ++n) s.layerColours[n] = 16 - static_cast<int>(n);
  s.textProgram = "gedit";
  s.databaseMode = 2;
  s.externalDatabase = "/usr/bin/dbf";
  s.printOriginX = 15;
  s.printOriginY = -20;
  s.printScaleX = 0.95;
  s.printBorder = true;
  s.userDataFolders = true;
  s.archiveMode = true;
  s.numbers.dateFormat = 1;
  s.headerSpaceLines = 4;
  s.textDevice = 9;
  s.askTextDevice = true;
  s.smallOnlineWindow = true;
  s.askDiagramLimits = true;
  s.outputSeparator = 2;
  s.dataDir = "/daten";
  s.textHeightFactor = 1.5L;
  s.dialogScale = 125;
  s.htmlBrowser = "firefox";
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
  for (size_t n = 0; n < s.lineThicknessHigh.size(); ++n) s.lineThicknessHigh[n] = static_cast<int>(n) + 2;
  s.numbers.specialChars = 1;
  s.dialogElementScale = 90;
  s.angleFormat = 2;
  s.dimensionFactor = 2.5L;
  s.unused84 = 3;
  s.language = 2;
  s.calcResultGraphic = 4;
  s.drawingOptionsOff = {true, false, true, false, true, true};
  s.noAktuellQuestion = true;
  s.saveLanguage = true;
  s.titleBlockForm = 3;
  for (size_t i = 0; i < s.screenColours.size(); ++i) s.screenColours[i] = 0x010203u * static_cast<unsigned>(i + 1);
  s.flatten3d = true;
  s.rightsNoteOff = true;
  s.manualDir = "/doc";
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
  s.dialogWindowSize = 0;
  s.textWindowSize = 0;
  s.copyDbfToTemp = false;
  return s;
}

size_t LineOf(const std::vector<std::string>& lines, const std::string& label) {
  auto it = std::find(lines.begin(), lines.end(), label);
  EXPECT_NE(it, lines.end()) << label;
  return static_cast<size_t>(it - lines.begin());
}

TEST(ConfigFile, EveryRowRoundTrips) {
  Settings in = Changed();
  std::string bytes = ConfigToBytes(in);
  Settings out;
  ConfigContext ctx;
  EXPECT_EQ(ConfigFromBytes(bytes, out, ctx), 109);
  EXPECT_EQ(ConfigToBytes(out), bytes);
  // Every row differs from the defaults, so each must have been read into its field.
  std::vector<std::string> a = Lines(bytes), d = Lines(ConfigToBytes(Settings{}));
  EXPECT_EQ(a.size(), d.size() + 2) << "two more plot command lines";
  EXPECT_EQ(out.dbfDir, in.dbfDir);
  EXPECT_EQ(out.cadDir, in.cadDir);
  EXPECT_EQ(a[LineOf(a, "CAD Ordner") + 1], "/home/j\x81rgen/cad") << "CP850 where the code page holds it";
  EXPECT_EQ(out.view3d[2], ParseReal("-0.3000000"));
  EXPECT_EQ(out.screenColours[15], in.screenColours[15]);
}

TEST(ConfigFile, FixedLinesAndNumberFormats) {
  Settings s;
  s.numbers.decimalSeparator = ',';  // the file still gets points
  s.numbers.decimals = 1;            // and never fewer decimals
  std::vector<std::string> l = Lines(ConfigToBytes(s));
  EXPECT_EQ(l[0], "kamo Konfiguration");
  EXPECT_EQ(l[1], "Version 5.1");
  EXPECT_EQ(l[2], "Layer");
  EXPECT_EQ(l[3], "1");
  EXPECT_EQ(l[4], "Farbe");
  EXPECT_EQ(l[5], "2");
  EXPECT_EQ(l[LineOf(l, "Textbreitenfaktor CAD") + 1], "1.0000000");
  EXPECT_EQ(l[LineOf(l, "Textwinkel") + 1], "0");
  EXPECT_EQ(l[LineOf(l, "Zoomfaktor") + 1], "1.0200000");
  EXPECT_EQ(l[LineOf(l, "Hardcopy um 90\xF8 gedreht ?") + 1], "J");
  EXPECT_EQ(l[LineOf(l, "Farbgrafik") + 1], "TRUE");
  EXPECT_EQ(l[LineOf(l, "Text window left/top/width/height") + 1], "10|40|700|440|");
  EXPECT_EQ(l[LineOf(l, "Color Layer 31") + 1], "16");
  EXPECT_EQ(l[LineOf(l, "Windows-Druckmodus (1=mono 2=color) ") + 1], "1");
  EXPECT_EQ(l.back(), "TRUE") << "row 109";
  EXPECT_EQ(l[l.size() - 6], "0.1000000") << "row 104";
}

TEST(ConfigFile, ReadRules) {
  const std::vector<std::string> base = Lines(ConfigToBytes(Settings{}));
  struct Case {
    std::string label;  // the value line follows it
    std::string value;
    std::function<bool(const Settings&)> check;
  };
  const Case cases[] = {
      {"Dezimalstellen", "0", [](const Settings& s) { return s.numbers.decimals == 3; }},
      {"Dezimalstellen", "10", [](const Settings& s) { return s.numbers.decimals == 3; }},
      {"Zeilen pro Seite f\x81r Drucker", "4", [](const Settings& s) { return s.linesPerPage == 66; }},
      {"Pan-Faktor", "0", [](const Settings& s) { return s.panFactor == 0.01L; }},
      {"Zoomfaktor", "1,5", [](const Settings& s) { return s.zoomFactor == 1.5L; }},
      {"Zoomfaktor", "abc", [](const Settings& s) { return s.zoomFactor == 1.02L; }},
      {"Druckerschnittstelle", "0", [](const Settings& s) { return s.printerPort == 1; }},
      {"Druckerschnittstelle", "7", [](const Settings& s) { return s.printerPort == 1; }},
      {"Hilfegrad", "-1", [](const Settings& s) { return s.helpLevel == 1; }},
      {"Hardcopy um 90\xF8 gedreht ?", "", [](const Settings& s) { return s.hardcopyRotated == 'N'; }},
      {"Farbgrafik", "true", [](const Settings& s) { return s.colourGraphics; }},
      {"Farbgrafik", "ja", [](const Settings& s) { return !s.colourGraphics; }},
      {"Edit 3D x,y,z ?", "x", [](const Settings& s) { return s.ask3dAngles; }},
      {"Edit 3D x,y,z ?", "FALSE", [](const Settings& s) { return !s.ask3dAngles; }},
      {"Text Device", "10", [](const Settings& s) { return s.textDevice == 1; }},
      {"Farbe", "99", [](const Settings& s) { return s.layers[0].colour == 2; }},
      {"Color Layer 17", "0", [](const Settings& s) { return s.layerColours[1] == 1; }},
      {"Color Layer 17", "300", [](const Settings& s) { return s.layerColours[1] == 2; }},
      {"Hintergrundfarbe", "-5", [](const Settings& s) { return s.backgroundColour == 1; }},
      {"Text window left/top/width/height", "1|2|0|300|",
       [](const Settings& s) { return s.textWindowLeft == 10 && s.textWindowWidth == 700; }},
      {"Text window left/top/width/height", "1|2|640|300|",
       [](const Settings& s) { return s.textWindowLeft == 1 && s.textWindowHeight == 300; }},
      {"DRAWOUT-Kommandozeile", "", [](const Settings& s) { return s.plotCommands[0] == Settings{}.plotCommands[0]; }},
      {"Default Data Directory", "", [](const Settings& s) { return s.dataDir == "/start"; }},
      {"Print Scale Vertical", "0", [](const Settings& s) { return s.printScaleY == 1; }},
      {"Aufl\x94sung horizontal", "-1", [](const Settings& s) { return s.windowWidth == 1271; }},
      {"Aufl\x94sung vertikal", "0", [](const Settings& s) { return s.windowHeight == 933; }},
      {"Decimals DXF,TXT", "33", [](const Settings& s) { return s.cadDecimals == 6; }},
      {"CAD Text Mode", "0", [](const Settings& s) { return s.numbers.cadTextType == 1; }},
      {"CAD Text Mode", "4", [](const Settings& s) { return s.numbers.cadTextType == 2; }},
      {"Text Font Printout", "", [](const Settings& s) { return s.printFont == "Courier New"; }},
      {"Input Window Scale %", "5", [](const Settings& s) { return s.dialogScale == 100; }},
  };
  ConfigContext ctx;
  ctx.startDir = "/start";
  ctx.screen.width = 1280;
  ctx.screen.height = 1024;
  for (const Case& c : cases) {
    std::vector<std::string> l = base;
    auto it = std::find(l.begin(), l.end(), c.label);
    ASSERT_NE(it, l.end()) << c.label;
    *(it + 1) = c.value;
    Settings s;
    s.dialogWindowSize = 0;
    ConfigFromBytes(Join(l), s, ctx);
    EXPECT_TRUE(c.check(s)) << c.label << " = \"" << c.value << "\"";
  }
}

TEST(ConfigFile, UnlabelledRowsAndTheLanguageSwitch) {
  Settings in = Changed();
  std::vector<std::string> l = Lines(ConfigToBytes(in));
  // From the end: 109 copy DBF ... 91 colours (16 lines), 90 title block, 89 save language.
  size_t row89 = l.size() - 1 - 18 - 16 - 1;
  ASSERT_EQ(l[row89], "TRUE");
  l[row89] = "FALSE";
  size_t row82 = row89 - 12;  // rows 88, 87 (six lines), 86 .. 83 between
  ASSERT_EQ(l[row82], "2");
  l[row82] = "0";
  Settings out;
  ConfigFromBytes(Join(l), out, ConfigContext{});
  EXPECT_EQ(out.language, 0);
  EXPECT_EQ(out.angleFormat, 2);
  EXPECT_EQ(out.titleBlockForm, 3);
}

TEST(ConfigFile, ShortFilesKeepDefaultsForMissingRows) {
  Settings in = Changed();
  in.plotCommandCount = 1;  // keeps the lines of both files aligned
  in.numbers.decimals = 3;  // rows before it would be written with other decimals
  in.language = 0;
  in.dialogScale = 100;  // recomputed from the screen once row 30 is read
  in.dialogElementScale = 100;
  std::vector<std::string> full = Lines(ConfigToBytes(in));
  std::vector<std::string> defaults = Lines(ConfigToBytes(Settings{}));
  ASSERT_EQ(full.size(), defaults.size());
  size_t row34 = LineOf(full, "Layer Monochrom") + 2;
  for (size_t k = 0; k <= full.size(); ++k) {
    Settings s;
    std::vector<std::string> cut(full.begin(), full.begin() + static_cast<long>(k));
    ConfigFromBytes(Join(cut), s, ConfigContext{});
    std::vector<std::string> got = Lines(ConfigToBytes(s));
    ASSERT_EQ(got.size(), full.size());
    for (size_t i = 0; i < got.size(); ++i) {
      // Ending after row 34 (perhaps with row 35's label) has its own rule, below.
      if ((k == row34 || k == row34 + 1) && (i == row34 + 1 || i == row34 + 3)) continue;
      const std::string& want = i < k ? full[i] : defaults[i];
      ASSERT_EQ(got[i], want) << "cut after line " << k << ", line " << i;
    }
  }
  // Cut right after row 34: the screen text takes the CAD width factor.
  std::vector<std::string> cut(full.begin(), full.begin() + static_cast<long>(row34));
  Settings s;
  EXPECT_EQ(ConfigFromBytes(Join(cut), s, ConfigContext{}), 34);
  EXPECT_EQ(s.graphicsTextWidthFactor, in.cadTextWidthFactor);
  EXPECT_EQ(s.graphicsFont, "Arial");
  // An empty file: all defaults.
  Settings e;
  EXPECT_EQ(ConfigFromBytes("", e, ConfigContext{}), 0);
  EXPECT_EQ(ConfigToBytes(e), ConfigToBytes(Settings{}));
}

TEST(ConfigFile, MoreThanFivePlotCommandsKeepTheRowsAfterThem) {
  std::vector<std::string> l = Lines(ConfigToBytes(Settings{}));
  size_t at = LineOf(l, "DRAWOUT Command lines (n, line 2 .. line n)") + 1;
  l[at] = "7";
  std::vector<std::string> extra = {"z2", "z3", "z4", "z5", "z6", "z7"};
  l.insert(l.begin() + static_cast<long>(at) + 1, extra.begin(), extra.end());
  l[LineOf(l, "Archive Flag ?") + 1] = "TRUE";
  Settings s;
  ConfigFromBytes(Join(l), s, ConfigContext{});
  EXPECT_EQ(s.plotCommandCount, 5);
  EXPECT_EQ(s.plotCommands[4], "z5");
  EXPECT_TRUE(s.archiveMode);
}

TEST(ConfigFile, PlacesAndWriting) {
  test::TempFolder start, fallback;
  Env env;
  ConfigContext ctx;
  ctx.startDir = start.path();
  ctx.screen = {1280, 1024, 96, 0, 0, 0, 0};
  // No file anywhere: defaults, window from the screen, abortFlag, no box.
  ConfigPlace place;
  Settings s;
  EXPECT_FALSE(readConfig(s, env.ui, place, fallback.path(), ctx));
  EXPECT_TRUE(env.flags.abortFlag);
  EXPECT_TRUE(env.port.boxes.empty());
  EXPECT_EQ(s.windowWidth, 1271);
  EXPECT_EQ(s.windowHeight, 933);
  EXPECT_EQ(place.dir, fallback.path() + "/");
  // Saved there, found there next time.
  Settings changed = Changed();
  ASSERT_TRUE(writeConfig(changed, env.ui, place.path()));
  ConfigPlace again;
  Settings r;
  env.flags.abortFlag = false;
  EXPECT_TRUE(readConfig(r, env.ui, again, fallback.path(), ctx));
  EXPECT_EQ(again.dir, fallback.path() + "/");
  EXPECT_EQ(ConfigToBytes(r), ConfigToBytes(changed));
  // A file in the working folder wins.
  test::WriteFileBytes(start.file("kamo.cfg"), ConfigToBytes(Settings{}));
  Settings w;
  EXPECT_TRUE(readConfig(w, env.ui, again, fallback.path(), ctx));
  EXPECT_EQ(again.dir, start.path() + "/");
  EXPECT_EQ(w.helpLevel, 1);
  // The folder cannot be created: asked to retry; giving up sets abortFlag.
  test::WriteFileBytes(start.file("datei"), "x");
  env.port.retries.push_back(false);
  EXPECT_FALSE(writeConfig(changed, env.ui, start.file("datei") + "/kamo.cfg"));
  EXPECT_TRUE(env.flags.abortFlag);
  EXPECT_EQ(env.port.questions.size(), 1u);
}

// A configuration file that is there but cannot be read, or is no
// configuration, is reported with its name and reason (a box in the window,
// a line on the error stream in batch runs), never passed over in silence.
TEST(ConfigFile, UnreadableFilesAreReported) {
  struct Case {
    const char* what;
    std::function<bool(const test::TempFolder&)> plant;  // false: cannot be set up here
    const char* reason;
    bool read;  // the fallback folder's file is read instead
  } cases[] = {
      {"a folder", [](const test::TempFolder& d) { return std::filesystem::create_directory(d.file("kamo.cfg")); },
       "nicht lesbar: is a folder", true},
      {"a FIFO", [](const test::TempFolder& d) { return ::mkfifo(d.file("kamo.cfg").c_str(), 0600) == 0; },
       "nicht lesbar: is not a regular file", true},
      {"no permission",
       [](const test::TempFolder& d) {
         test::WriteFileBytes(d.file("kamo.cfg"), ConfigToBytes(Settings{}));
         std::filesystem::permissions(d.file("kamo.cfg"), std::filesystem::perms::none);
         return ::geteuid() != 0;  // root reads it anyway
       },
       "nicht lesbar: Permission denied", true},
      {"no configuration", [](const test::TempFolder& d) {
         test::WriteFileBytes(d.file("kamo.cfg"), "hello\r\nworld\r\n");
         return true;
       },
       "ist keine KAMO-Konfiguration", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder start, fallback;
    if (!c.plant(start)) continue;
    Settings saved = Changed();
    test::WriteFileBytes(fallback.file("kamo.cfg"), ConfigToBytes(saved));
    Env env;
    ConfigContext ctx;
    ctx.startDir = start.path();
    ConfigPlace place;
    Settings s;
    EXPECT_TRUE(readConfig(s, env.ui, place, fallback.path(), ctx));
    ASSERT_EQ(env.port.boxes.size(), 1u);
    const std::string& text = env.port.boxes[0].text;
    EXPECT_NE(text.find("Konfigurationsdatei " + start.file("kamo.cfg")), std::string::npos) << text;
    EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    EXPECT_EQ(place.dir, (c.read ? fallback.path() : start.path()) + "/");
    if (c.read) {
      EXPECT_EQ(ConfigToBytes(s), ConfigToBytes(saved));
    }
    std::error_code ec;
    std::filesystem::permissions(start.file("kamo.cfg"), std::filesystem::perms::owner_all, ec);
  }
}

TEST(ConfigFile, DirectoryChecks) {
  test::TempFolder start, program;
  StartFolders f{start.path(), program.path(), ""};
  {
    Env env;
    checkDirectories(env.settings, env.ui, f);
    EXPECT_EQ(env.settings.tempDir, start.path());
    EXPECT_EQ(env.settings.dbfDir, program.path());
    EXPECT_EQ(env.settings.pltDir, program.path());
    EXPECT_EQ(env.settings.ediDir, start.path());
    EXPECT_EQ(env.settings.dataDir, start.path());
    EXPECT_TRUE(env.port.boxes.empty());
  }
  {
    Env env;
    env.settings.cadDir = start.file("fehlt");
    env.settings.pltDir = start.file("fehlt");
    env.settings.tempDir = start.file("fehlt");
    env.port.texts.push_back(std::string("/nirgends"));
    env.port.texts.push_back(program.path());
    checkDirectories(env.settings, env.ui, {start.path(), program.path(), "/tmp"});
    EXPECT_EQ(env.settings.tempDir, program.path());
    const std::string temp = Cp850ToUtf8("ung\x81ltiger Ordner f\x81r tempor\x84re Dateien konfiguriert");
    std::vector<std::string> want = {Cp850ToUtf8("ung\x81ltiger CAD Ordner konfiguriert"),
                                     Cp850ToUtf8("ung\x81ltiger PLT Ordner konfiguriert"), temp, temp};
    EXPECT_EQ(env.port.boxTexts(), want);
    EXPECT_EQ(env.port.textPrompts.at(0).maxLength, 60);
  }
  {
    // Cancelling the prompt ends the checks without a loop.
    Env env;
    env.settings.tempDir = start.file("fehlt");
    env.port.texts.push_back(std::nullopt);
    checkDirectories(env.settings, env.ui, f);
    EXPECT_TRUE(env.flags.abortFlag);
  }
  {
    // TEMP is taken before the start folder.
    Env env;
    checkDirectories(env.settings, env.ui, {start.path(), program.path(), program.path()});
    EXPECT_EQ(env.settings.tempDir, program.path());
  }
}

TEST(ConfigFile, WindowSizes) {
  ScreenInfo sc{1280, 1024, 96, 1200, 900, 0, 0};
  Settings s;
  s.mainWindowSize = 2;
  EXPECT_EQ(MainWindowClientSize(s, sc).width, 1200);
  s.mainWindowSize = 1;
  PixelSize p = MainWindowClientSize(s, sc);
  EXPECT_EQ(p.width, 1200);
  EXPECT_EQ(p.height, 900);
  sc.maxClientWidth = 1600;
  p = MainWindowClientSize(s, sc);
  EXPECT_EQ(p.width, 1200) << "(900 / 3) * 4";
  s.mainWindowSize = 0;
  s.windowWidth = 640;
  s.windowHeight = 480;
  EXPECT_EQ(MainWindowClientSize(s, sc).width, 640);
  PixelRect r = TextWindowRect(s, sc);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.width, 700);
  EXPECT_EQ(r.height, 933);
  // The dialog scale from the window frame.
  ConfigContext ctx;
  ctx.screen = {1280, 1024, 120, 0, 0, 800, 700};
  Settings d;
  ConfigFromBytes(ConfigToBytes(Settings{}), d, ctx);
  EXPECT_EQ(d.dialogScale, 120 * 800 * 100 / 758 / 96 + 2);
}

TEST(RecentFiles, AddReadWrite) {
  RecentFiles list;
  list.add("/a/eins.kmo");
  list.add("/a/zwei.kmo");
  list.add("/a/EINS.kmo");
  EXPECT_EQ(list.entries[0], "/a/EINS.kmo");
  EXPECT_EQ(list.entries[1], "/a/zwei.kmo");
  EXPECT_EQ(list.entries[2], "");
  for (const char* p : {"/b/3.kmo", "/b/4.kmo", "/b/5.kmo"}) list.add(p);
  EXPECT_EQ(list.entries[3], "/a/EINS.kmo") << "the oldest dropped out";
  list.remove(0);
  EXPECT_EQ(list.entries[0], "/b/4.kmo");
  EXPECT_EQ(list.entries[3], "");

  test::TempFolder dir;
  Env env;
  ASSERT_TRUE(WriteRecentFiles(env.ui, dir.path(), list, "/b/"));
  EXPECT_EQ(Lines(test::ReadFileBytes(dir.file("kamo.cff")))[0], "kamo Session /b/");
  RecentFiles back;
  EXPECT_TRUE(ReadRecentFiles(dir.path(), back));
  EXPECT_EQ(back.entries, list.entries);
  // Missing file: cleared. Empty list: not written.
  test::TempFolder none;
  EXPECT_FALSE(ReadRecentFiles(none.path(), back));
  EXPECT_TRUE(back.empty());
  EXPECT_TRUE(WriteRecentFiles(env.ui, none.path(), RecentFiles{}, ""));
  EXPECT_FALSE(fs::exists(none.file("kamo.cff")));
}

}  // namespace
}  // namespace kamo
