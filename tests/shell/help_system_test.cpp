// Help texts, hints, help pictures, the start picture and the picture
// catalogue, through the shell's help system and a scripted port.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "core/codepage.h"
#include "core/helptext.h"
#include "shell/commands.h"
#include "shell/help.h"
#include "shell/session.h"
#include "shell/startup.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;

// ---------------------------------------------------------------- lookup

struct LookupCase {
  const char* name;
  std::vector<std::string> file;
  int topic;
  HelpTopicText::Status status;
  std::array<std::string, 5> lines;
  std::string picture;
  bool endedAtNext;
};

const LookupCase kLookups[] = {
    {"OneLineThenNextTopic", {"head", "1000:start", "Eins", "1005", "Andere", "end"}, 1000,
     HelpTopicText::Status::Found, {"Eins", "", "", "", ""}, "start", true},
    {"TextLinesContinue", {"head", "7830", "a", "b", "c", "d", "e", "f", "end"}, 7830,
     HelpTopicText::Status::Found, {"a", "b", "c", "d", "e"}, "", false},
    {"ContinuationEntries", {"head", "7830", "a", "7831", "b", "7832", "c", "7835", "x", "end"}, 7830,
     HelpTopicText::Status::Found, {"a", "b", "c", "", ""}, "", true},
    {"WrongContinuationLeavesLineEmpty", {"head", "7830", "a", "7832", "c", "more", "end"}, 7830,
     HelpTopicText::Status::Found, {"a", "", "more", "end", ""}, "", false},
    {"TextLineAfterNumberBelongsToIt", {"head", "2300", "2310", "2310", "zwei", "end"}, 2310,
     HelpTopicText::Status::Found, {"zwei", "end", "", "", ""}, "", false},
    {"NumberedTextIsNotATopic", {"head", "2300", "2310", "x", "end"}, 2310,
     HelpTopicText::Status::NoTopic, {"Hilfetext Nr 2310: keine Hilfe vorhanden.", "", "", "", ""}, "null", false},
    {"LastLineIsNeverUsed", {"head", "1000", "Eins"}, 1000,
     HelpTopicText::Status::NoTopic, {"Hilfetext Nr 1000: keine Hilfe vorhanden.", "", "", "", ""}, "null", false},
    {"NumberAsLastLine", {"head", "1000"}, 1000,
     HelpTopicText::Status::NoTopic, {"Hilfetext Nr 1000: keine Hilfe vorhanden.", "", "", "", ""}, "null", false},
    {"ShortNumberPadded", {"head", " 995:bild ", "neun", "end"}, 995,
     HelpTopicText::Status::Found, {"neun", "end", "", "", ""}, "bild", false},
    {"FirstFourCharacters", {"head", "10001 x", "vier", "end"}, 1000,
     HelpTopicText::Status::Found, {"vier", "end", "", "", ""}, "", false},
    {"EmptyFile", {}, 1000,
     HelpTopicText::Status::NoTopic, {"Hilfetext Nr 1000: keine Hilfe vorhanden.", "", "", "", ""}, "null", false},
};

class Lookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(Lookup, FindsTheTopic) {
  const LookupCase& c = GetParam();
  HelpTopicText t = LookupHelpTopic(c.file, c.topic);
  EXPECT_EQ(t.status, c.status);
  EXPECT_EQ(t.lines, c.lines);
  EXPECT_EQ(t.picture, c.picture);
  EXPECT_EQ(t.endedAtNextTopic, c.endedAtNext);
}

INSTANTIATE_TEST_SUITE_P(Help, Lookup, ::testing::ValuesIn(kLookups),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HelpLines, CrLfAndNumbers) {
  EXPECT_EQ(SplitHelpLines("a\r\nb\n\r\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(SplitHelpLines("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(HelpNumberOf("1000:start"), 1000);
  EXPECT_EQ(HelpNumberOf("  12"), 12);
  EXPECT_EQ(HelpNumberOf("12 mm"), -1);
  EXPECT_EQ(HelpNumberOf(""), -1);
  EXPECT_EQ(HelpNumberOf("    x"), -1);
  EXPECT_EQ(HelpFileFor(3999), "quortex.hlp");
  EXPECT_EQ(HelpFileFor(4000), "kamo.hlp");
}

// ---------------------------------------------------------------- the help system

struct Bench {
  test::ScriptedPort port;
  Session session{port};
  Shell shell{session};
  test::TempFolder plt, user;
  std::string oldXdg;
  bool hadXdg = false;

  Bench() {
    if (const char* x = std::getenv("XDG_DATA_HOME")) oldXdg = x, hadXdg = true;
    setenv("XDG_DATA_HOME", user.path().c_str(), 1);
    session.settings.pltDir = plt.path() + "/";
    session.programDir = plt.path() + "/nowhere";
  }
  ~Bench() {
    if (hadXdg) setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
  }
  void write(const std::string& name, const std::string& text) { test::WriteFileBytes(plt.file(name), text); }
  HelpSystem& help() { return *shell.help; }
};

const char* kCommon =
    "Kopf\r\n1000:start\r\nTopic tausend\r\n1005\r\nOhne Bild\r\n1210:null\r\nNull\r\n3995\r\nletzte\r\nENDE\r\n";

TEST(HelpBox, CaptionBodyAndTopicZero) {
  Bench b;
  b.write("quortex.hlp", kCommon);
  b.write("kamo.hlp", "Kopf\r\n4000\r\nGr\x94\xe1" "e\r\nzweite\r\n4005\r\nx\r\nENDE\r\n");
  b.session.uiState.helpTopic = 4000;
  b.help().showHelp(0, 1);
  ASSERT_EQ(b.port.boxes.size(), 1u);
  EXPECT_EQ(b.port.boxes[0].caption, "HILFETEXT Nr.4000");
  EXPECT_EQ(b.port.boxes[0].text, "Gr\u00F6\u00DFe zweite    ");
  b.help().showHelp(3999, 1);
  EXPECT_EQ(b.port.boxes.back().caption, "HILFETEXT Nr.3999");
  EXPECT_EQ(b.port.boxes.back().text, "Hilfetext Nr 3999: keine Hilfe vorhanden.     ");
  EXPECT_FALSE(b.session.flags.abortFlag);
}

TEST(HelpBox, MissingFileAndLongBody) {
  Bench b;
  b.help().showHelp(4000, 1);
  EXPECT_EQ(b.port.boxes.back().text, "Datei kamo.hlp nicht gefunden !     ");
  EXPECT_EQ(b.help().helpHint(1000), "Datei quortex.hlp nicht gefunden !");
  std::string l(400, 'x');
  b.write("kamo.hlp", "Kopf\r\n4000\r\n" + l + "\r\n" + l + "\r\n" + l + "\r\n" + l + "\r\nENDE\r\n");
  b.help().showHelp(4000, 1);
  EXPECT_EQ(Utf8Length(b.port.boxes.back().text), kHelpBoxMax);
}

TEST(HelpHint, JoinedAndNumberedAtLevel2) {
  Bench b;
  b.write("quortex.hlp", kCommon);
  b.write("kamo.hlp", "Kopf\r\n7830\r\nHalbl\x84nge a\r\nin mm\r\n7835\r\nb\r\n7840\r\nc\r\nENDE\r\n");
  EXPECT_EQ(b.help().helpHint(7830), "Halbl\u00E4nge a in mm");
  b.session.settings.helpLevel = 2;
  EXPECT_EQ(b.help().helpHint(7830), "Halbl\u00E4nge a in mm (7830)");
  // Ended by the end of the file: no number.
  EXPECT_EQ(b.help().helpHint(7840), "c ENDE");
  EXPECT_EQ(b.help().helpHint(7845), "Hilfetext Nr 7845: keine Hilfe vorhanden.");
}

TEST(HelpPicture, TopicPictures) {
  Bench b;
  b.write("quortex.hlp", kCommon);
  b.write("START.PLT", "IN;SP1;PU0,0;PD400,0;");
  b.help().showHelp(1000, 2);
  EXPECT_TRUE(b.port.boxes.empty());
  const auto& r = b.shell.screen.records();
  ASSERT_FALSE(r.empty());
  EXPECT_EQ(ParseDisplayRecord(r.front()).code, static_cast<int>(DisplayCode::Window));
  EXPECT_NE(std::find(r.begin(), r.end(), "4;0;0;10;0"), r.end());
  // No picture: the window is cleared and set, nothing is drawn.
  b.help().showHelp(1005, 2);
  EXPECT_EQ(ParseDisplayRecord(b.shell.screen.records().front()).code, static_cast<int>(DisplayCode::Window));
  size_t empty = b.shell.screen.size();
  EXPECT_LE(empty, 3u);
  // "null" is a name like any other: a missing file is reported, the flag cleared.
  b.help().showHelp(1210, 0);
  ASSERT_EQ(b.port.boxes.size(), 2u);
  EXPECT_EQ(b.port.boxes[0].caption, "HILFETEXT Nr.1210");
  EXPECT_NE(b.port.boxes[1].text.find("null.plt nicht gefunden !"), std::string::npos);
  EXPECT_FALSE(b.session.flags.abortFlag);
}

TEST(HelpPicture, StartPictureAfterClear) {
  Bench b;
  b.write("Start.plt", "IN;SP1;PU0,0;PD400,0;");
  b.shell.screen.line(1, 1, 2, 2);
  b.help().showHelpPicture("START");
  const auto& r = b.shell.screen.records();
  ASSERT_FALSE(r.empty());
  EXPECT_EQ(ParseDisplayRecord(r.front()).code, static_cast<int>(DisplayCode::Window));
  EXPECT_EQ(std::count(r.begin(), r.end(), "4;1;1;2;2"), 0);
  EXPECT_EQ(b.shell.drawingKind, 1);
  EXPECT_NE(std::find(r.begin(), r.end(), "4;0;0;10;0"), r.end());
}

TEST(HelpPicture, TopicPictureNameWithCr) {
  Bench b;
  b.write("kamo.hlp", "Kopf\r\n4000:start\r\r\nText\r\n4005\r\nx\r\nENDE\r\n");
  b.write("start.plt", "SP1;PU0,0;PD400,0;");
  b.help().showHelp(4000, 2);
  EXPECT_TRUE(b.port.boxes.empty());
  const auto& r = b.shell.screen.records();
  EXPECT_NE(std::find(r.begin(), r.end(), "4;0;0;10;0"), r.end());
}

// ---------------------------------------------------------------- catalogue

class CataloguePort : public test::ScriptedPort {
 public:
  std::deque<std::optional<PictureCatalogueAnswer>> actions;
  std::vector<PictureCatalogueForm> shown;
  std::optional<PictureCatalogueAnswer> pictureCatalogueDialog(const PictureCatalogueForm& f) override {
    shown.push_back(f);
    if (actions.empty()) return std::nullopt;
    auto a = actions.front();
    actions.pop_front();
    return a;
  }
};

struct CatalogueBench {
  CataloguePort port;
  Session session{port};
  Shell shell{session};
  test::TempFolder shipped, user;
  std::string oldXdg;
  bool hadXdg = false;
  CatalogueBench() {
    if (const char* x = std::getenv("XDG_DATA_HOME")) oldXdg = x, hadXdg = true;
    setenv("XDG_DATA_HOME", user.path().c_str(), 1);
    // The shipped data beside the program, never written.
    session.programDir = shipped.path();
    fs::create_directories(shipped.path() + "/data");
    ship("kamo.dbh", "\"start\",\"Startbild\"\r\n\"ELLIPSE\",\"Ellipse\"\r\n");
    ship("start.plt", "SP1;PU0,0;PD400,0;");
    ship("ellipse.plt", "SP1;PU0,0;PD0,400;");
    ship("neu.plt", "SP1;PU0,0;PD400,400;");
  }
  ~CatalogueBench() {
    if (hadXdg) setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
  }
  void ship(const std::string& name, const std::string& bytes) {
    test::WriteFileBytes(shipped.path() + "/data/" + name, bytes);
  }
  std::string shippedCatalogue() { return test::ReadFileBytes(shipped.path() + "/data/kamo.dbh"); }
  std::string userCatalogue() { return test::ReadFileBytes(user.path() + "/kamo/kamo.dbh"); }
  bool shows(const char* record) {
    const auto& r = shell.screen.records();
    return std::find(r.begin(), r.end(), record) != r.end();
  }
};

TEST(Catalogue, ParseAndListEntries) {
  bool bad = false;
  auto e = ParseCatalogue("\"start\",\"Startbild\" rest\r\n\r\nname\",\"info\"\r\n\"kurz\"\r\n", bad);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_TRUE(bad);
  EXPECT_EQ(e[0].name, "start");
  EXPECT_EQ(e[0].info, "Startbild");
  EXPECT_EQ(e[1].name, "name");
  EXPECT_EQ(e[2].name, "kurz");
  EXPECT_EQ(CatalogueListEntry(e[0]), "start   : Startbild");
  EXPECT_EQ(CatalogueLine(e[0]), "\"start\",\"Startbild\"\r\n");
  std::string many;
  for (int i = 0; i < 2100; ++i) many += "\"p\",\"i\"\r\n";
  EXPECT_EQ(ParseCatalogue(many, bad).size(), kCatalogueMaxLines);
  EXPECT_FALSE(bad);
}

TEST(Catalogue, FirstPictureThenBrowse) {
  CatalogueBench b;
  b.port.actions = {PictureCatalogueAnswer{CatalogueAction::Select, 1}};
  b.shell.run(Command::HelpPicture);
  ASSERT_EQ(b.port.shown.size(), 2u);
  EXPECT_EQ(b.port.shown[0].caption, "KAMO Hilfebilder");
  EXPECT_EQ(b.port.shown[0].entries, (std::vector<std::string>{"start   : Startbild", "ELLIPSE : Ellipse"}));
  EXPECT_EQ(b.port.shown[0].selected, 0);
  EXPECT_EQ(b.port.shown[1].selected, 1);
  EXPECT_TRUE(b.shows("4;0;0;0;10"));  // "ELLIPSE" found as ellipse.plt
  EXPECT_FALSE(b.session.flags.abortFlag);
  EXPECT_TRUE(b.port.boxes.empty());
}

TEST(Catalogue, EditsGoToTheUserFolderThroughARename) {
  CatalogueBench b;
  std::string shipped = b.shippedCatalogue();
  b.port.actions = {PictureCatalogueAnswer{CatalogueAction::New, 0},
                    PictureCatalogueAnswer{CatalogueAction::Change, 0},
                    PictureCatalogueAnswer{CatalogueAction::Insert, 1},
                    PictureCatalogueAnswer{CatalogueAction::Delete, 0}};
  b.port.files = {b.shipped.path() + "/data/neu.plt", b.shipped.path() + "/data/neu.plt"};
  b.port.texts = {"Neues Bild", "Start", "Startbild 2", "Eingef\u00FCgt"};
  b.port.answers = {Answer::Yes};
  b.shell.run(Command::HelpPicture);
  EXPECT_EQ(b.shippedCatalogue(), shipped);
  EXPECT_EQ(b.userCatalogue(), "\"neu\",\"Eingef\x81gt\"\r\n\"ELLIPSE\",\"Ellipse\"\r\n\"neu\",\"Neues Bild\"\r\n");
  // The change asked the lower-case name, then the description.
  ASSERT_GE(b.port.textPrompts.size(), 3u);
  EXPECT_EQ(b.port.textPrompts[1].text, "start");
  EXPECT_EQ(b.port.textPrompts[1].maxLength, 8);
  EXPECT_EQ(b.port.textPrompts[1].helpTopic, 2340);
  // No temporary file is left beside the catalogue, none in the temp folder.
  int files = 0;
  for (const auto& e : fs::directory_iterator(b.user.path() + "/kamo")) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
  EXPECT_TRUE(b.session.settings.pltDir.empty());
}

TEST(Catalogue, NewRefusesLongNamesAndForeignFolders) {
  CatalogueBench b;
  test::TempFolder elsewhere;
  test::WriteFileBytes(elsewhere.file("fremd.plt"), "SP1;");
  b.ship("zulangername.plt", "SP1;");
  b.port.actions = {PictureCatalogueAnswer{CatalogueAction::New, 0}, PictureCatalogueAnswer{CatalogueAction::New, 0}};
  b.port.files = {elsewhere.file("fremd.plt"), b.shipped.path() + "/data/zulangername.plt"};
  b.shell.run(Command::HelpPicture);
  ASSERT_EQ(b.port.boxes.size(), 2u);
  EXPECT_NE(b.port.boxes[0].text.find("Ordner der Hilfebilder"), std::string::npos);
  EXPECT_NE(b.port.boxes[1].text.find("8 Zeichen"), std::string::npos);
  EXPECT_FALSE(fs::exists(b.user.path() + "/kamo/kamo.dbh"));
  EXPECT_TRUE(b.session.settings.pltDir.empty());
}

TEST(Catalogue, WithoutCatalogueTheSettingStays) {
  CatalogueBench b;
  fs::remove(b.shipped.path() + "/data/kamo.dbh");
  b.port.files = {b.shipped.path() + "/data/neu.plt"};
  b.shell.run(Command::HelpPicture);
  EXPECT_TRUE(b.session.settings.pltDir.empty());
  EXPECT_TRUE(b.shows("4;0;0;10;10"));
  EXPECT_FALSE(b.session.flags.abortFlag);
}

TEST(Catalogue, DeleteNoEndsTheCommand) {
  CatalogueBench b;
  b.port.actions = {PictureCatalogueAnswer{CatalogueAction::Delete, -1}};
  b.port.choices = {1};
  b.port.answers = {Answer::No};
  b.shell.run(Command::HelpPicture);
  EXPECT_EQ(b.port.shown.size(), 1u);
  ASSERT_EQ(b.port.choicePrompts.size(), 1u);
  EXPECT_EQ(b.port.choicePrompts[0].items.size(), 2u);
  EXPECT_FALSE(fs::exists(b.user.path() + "/kamo/kamo.dbh"));
  EXPECT_FALSE(b.session.flags.abortFlag);
}

// ---------------------------------------------------------------- shipped data

std::string Shipped(const std::string& name) { return std::string(KAMO_SOURCE_DIR) + "/data/" + name; }

// Every topic number the program uses: read from the sources (help topics,
// hint topics and the field tables), and those of the dialogs that name theirs.
std::set<int> TopicsOfTheProgram() {
  std::set<int> topics = {1000, 1090, 1210, 1950, 1970, 2300, 2310, 2320, 2330, 2340, 2350, 3055,
                          5100, 5200, 5210, 5220, 5230, 5400, 5600, 7800, 7810, 7830, 7840, 7850,
                          7860, 7865, 7870, 7880, 7910, 7920, 7950, 7960, 7970, 7980, 7990, 8200,
                          8210, 8290, 8300, 8310, 8340, 8400, 8410, 8420, 8430, 8440, 9010};
  const std::regex number(R"(\b([1-9][0-9]{2,3})\b)");
  const std::regex topicLine(R"([Tt]opic|[Hh]int|Kind::|"\s*,\s*[0-9]{4}\s*,\s*(true|false))");
  for (const auto& e : fs::recursive_directory_iterator(std::string(KAMO_SOURCE_DIR) + "/src")) {
    auto ext = e.path().extension();
    if (ext != ".cpp" && ext != ".h") continue;
    if (e.path().filename() == "helptext.h") continue;  // the file boundary, no topic
    std::ifstream in(e.path());
    std::string line;
    while (std::getline(in, line)) {
      if (line.find("//") != std::string::npos) line = line.substr(0, line.find("//"));
      if (!std::regex_search(line, topicLine)) continue;
      for (auto it = std::sregex_iterator(line.begin(), line.end(), number); it != std::sregex_iterator(); ++it) {
        int n = std::stoi((*it)[1]);
        if (n >= 1000) topics.insert(n);
      }
    }
  }
  return topics;
}

TEST(ShippedHelp, EveryTopicOfTheProgramHasAText) {
  Bench b;
  b.session.settings.pltDir = std::string(KAMO_SOURCE_DIR) + "/data/";
  std::set<int> topics = TopicsOfTheProgram();
  EXPECT_GT(topics.size(), 40u);
  EXPECT_TRUE(topics.count(4100));  // the configuration pages, found in the sources
  for (int t : topics) {
    HelpTopicText text = b.help().lookup(t);
    EXPECT_EQ(text.status, HelpTopicText::Status::Found) << "topic " << t << " has no help text";
    EXPECT_GT(text.lines[0].size(), 20u) << t;
    std::string body = HelpBoxBody(text, [](const std::string& s) { return Cp850ToUtf8(s); });
    EXPECT_LT(Utf8Length(body), kHelpBoxMax) << "topic " << t << " is cut in its box";
    if (!text.picture.empty()) {
      EXPECT_FALSE(b.help().findDataFile(text.picture + ".plt").empty()) << t << ": " << text.picture;
    }
  }
}

TEST(ShippedHelp, FilesAreWellFormed) {
  for (const char* name : {"quortex.hlp", "kamo.hlp"}) {
    std::string bytes = test::ReadFileBytes(Shipped(name));
    ASSERT_FALSE(bytes.empty()) << name;
    auto lines = SplitHelpLines(bytes);
    // DOS lines, CP850; every number line starts a topic of this file.
    EXPECT_EQ(bytes.find("\r\n") != std::string::npos, true);
    EXPECT_EQ(bytes.find('\n') - 1, bytes.find("\r\n"));
    EXPECT_EQ(Utf8ToCp850(Cp850ToUtf8(bytes)), bytes);
    for (size_t i = 0; i < lines.size(); ++i) {
      int n = HelpNumberOf(lines[i]);
      if (n < 0) continue;
      EXPECT_EQ(n % 5, 0) << name << " line " << i + 1;
      EXPECT_EQ(HelpFileFor(n), name) << name << " line " << i + 1;
      ASSERT_LT(i + 1, lines.size());
      EXPECT_LT(HelpNumberOf(lines[i + 1]), 0) << name << " line " << i + 2;
      ++i;
    }
  }
}

TEST(ShippedHelp, CatalogueAndPictures) {
  bool malformed = true;
  auto entries = ParseCatalogue(test::ReadFileBytes(Shipped("kamo.dbh")), malformed);
  EXPECT_FALSE(malformed);
  EXPECT_GE(entries.size(), 13u);
  std::set<std::string> names;
  for (const auto& e : entries) {
    EXPECT_LE(e.name.size(), kPictureNameMax) << e.name;
    EXPECT_LE(e.info.size(), kPictureInfoMax) << e.name;
    EXPECT_TRUE(fs::exists(Shipped(e.name + ".plt"))) << e.name;
    names.insert(e.name);
  }
  // One picture per curve type and one of the follower.
  for (const char* n : {"formel", "ellipse", "sinus", "sinlin", "koord", "polygon", "polynom", "ausgl",
                        "exzenter", "polar", "sinquad", "stoessel", "start"})
    EXPECT_TRUE(names.count(n)) << n;
}

// The start of the window draws the start picture when the data holds one.
TEST(ShippedHelp, StartPictureAtProgramStart) {
  Bench b;
  b.session.settings.pltDir = std::string(KAMO_SOURCE_DIR) + "/data/";
  ASSERT_FALSE(b.help().findDataFile("start.plt").empty());
  b.help().showHelpPicture("start");
  EXPECT_GT(b.shell.screen.size(), 20u);
  EXPECT_TRUE(b.port.boxes.empty());
}

}  // namespace
}  // namespace kamo
