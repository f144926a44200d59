// Menu languages: complete German and English sets, partial languages that
// leave the rest as it was, and the captions composed from the words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/commands.h"
#include "shell/language.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

using G = GeneralWords;
using C = CommandWords;
const std::vector<std::string G::*> kGeneral = {
    &G::menu, &G::file, &G::fileNew, &G::open, &G::save, &G::saveAs, &G::deleteWord, &G::settings,
    &G::exit, &G::copy, &G::paste, &G::print, &G::importWord, &G::exportWord, &G::edit, &G::text,
    &G::quick, &G::view, &G::standardPrintout, &G::extractPrintout, &G::database, &G::cad,
    &G::drawing, &G::diagrams, &G::document, &G::drawingData, &G::showChanges, &G::printChanges,
    &G::newChange, &G::editLastChange, &G::deleteLastChange, &G::documentSetup, &G::help,
    &G::helpPicture, &G::errorMessages, &G::printout, &G::language, &G::dimensions, &G::animation,
    &G::manual};
const std::vector<std::string C::*> kCommand = {&C::geometry, &C::operatingData, &C::calculation,
                                                &C::follower, &C::reset, &C::table, &C::polyline,
                                                &C::graphics};

std::vector<std::string> Words(const LanguageTexts& t) {
  std::vector<std::string> w;
  for (auto f : kGeneral) w.push_back(t.general.*f);
  for (auto f : kCommand) w.push_back(t.command.*f);
  return w;
}

TEST(Language, GermanAndEnglishAreComplete) {
  for (int code : {lcGerman, lcEnglish}) {
    LanguageTexts t;
    t.general = GeneralWords{};
    t.command = CommandWords{};
    EXPECT_TRUE(applyLanguage(t, code));
    for (const auto& w : Words(t)) EXPECT_FALSE(w.empty()) << "language " << code;
  }
}

TEST(Language, SwitchingIsAssignmentOnly) {
  LanguageTexts german;
  LanguageTexts t;
  applyLanguage(t, lcEnglish);
  applyLanguage(t, lcItalian);
  EXPECT_EQ(t.general.edit, "&Modifica");
  EXPECT_EQ(t.general.standardPrintout, "&Standard Printout");  // Italian has none
  EXPECT_EQ(t.command.follower, "&Ram");                        // no Italian command words
  EXPECT_EQ(t.menuLanguage, lcItalian);
  for (int code : {lcKorean, lcChinese, lcRomanian, lcFrench, lcSpanish, lcSwedish, lcPortuguese}) {
    applyLanguage(t, code);
    applyLanguage(t, lcGerman);
    EXPECT_EQ(Words(t), Words(german)) << "back from " << code;
  }
  EXPECT_FALSE(applyLanguage(t, 10));
  EXPECT_EQ(t.menuLanguage, lcGerman);
}

// Korean has its own command words: after English every one of them changes.
TEST(Language, KoreanCommandWords) {
  LanguageTexts t;
  applyLanguage(t, lcEnglish);
  CommandWords english = t.command;
  applyLanguage(t, lcKorean);
  EXPECT_EQ(t.command.follower, "\uC885\uB3D9\uC808(&S)");
  EXPECT_EQ(t.command.geometry, "\uD615\uC0C1(&G)");
  for (auto field : {&CommandWords::geometry, &CommandWords::operatingData, &CommandWords::calculation,
                     &CommandWords::follower, &CommandWords::reset, &CommandWords::table,
                     &CommandWords::polyline, &CommandWords::graphics})
    EXPECT_NE(t.command.*field, english.*field);
}

TEST(Language, DrawingWordsStayGerman) {
  LanguageTexts t;
  applyLanguage(t, lcEnglish);
  applyDrawingLanguage(t, lcEnglish);
  EXPECT_EQ(t.drawing.line, "Zeile");
  EXPECT_EQ(t.drawing.drawingName, "Zeichnungsname");
  EXPECT_EQ(t.drawing.drawingNumber, "Zeichnungsnummer");
}

TEST(Language, ComposedCaptions) {
  test::ScriptedPort port;
  Session session(port);
  Shell shell(session);
  struct Case {
    Command c;
    const char *german, *english;
  };
  for (const Case& c : {
           Case{Command::FileOpenTable, "\u00D6&ffnen... (&Tabelle)", "&Open... (&Table)"},
           Case{Command::FileImportDxfR, "&Import DXF (x,y->r(phi))", "&Import DXF (x,y->r(phi))"},
           Case{Command::FileImportDxfXy, "&Import DXF (x,y,phi)", "&Import DXF (x,y,phi)"},
           Case{Command::FileExportDxf, "Ex&port DXF", "Ex&port DXF"},
           Case{Command::EditGeometry, "&Geometrie (curve)", "&Geometry (curve)"},
           Case{Command::EditBody, "&Abmessungen Cam", "&Dimensions Cam"},
           Case{Command::ViewQuick3, "Quick &3", "Quick &3"},
           Case{Command::EditFollower, "&St\u00F6ssel", "&Ram"},
           Case{Command::HelpSystemInfo, "System Info", "System Info"},
           Case{Command::HelpKorean, "&Korea", "&Korea"},
       }) {
    shell.switchLanguage(lcGerman);
    EXPECT_EQ(shell.caption(c.c), c.german);
    shell.switchLanguage(lcEnglish);
    EXPECT_EQ(shell.caption(c.c), c.english);
  }
  EXPECT_EQ(shell.menuCaption(Menu::File), "&File");
  EXPECT_EQ(shell.menuCaption(Menu::Language), "Menu &Language");
  EXPECT_EQ(session.settings.language, lcEnglish);
  shell.switchLanguage(lcGerman);
  EXPECT_EQ(shell.menuCaption(Menu::Language), "Men\u00FC &Sprache");
}

}  // namespace
}  // namespace kamo
