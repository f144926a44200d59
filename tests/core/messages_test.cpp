// The message list and the prompts, checks and explanation list built on the UI port.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "core/explanations.h"
#include "core/messages.h"
#include "core/ui.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

using test::ScriptedPort;

TEST(MessageList, KeepsTwelveDistinctTexts) {
  MessageList m;
  m.add("Fehler : A Cam <= 0 !");
  m.add("Fehler : A Cam <= 0 !");
  EXPECT_EQ(m.count(), 1);
  for (int i = 0; i < 20; ++i) m.add("Fehler : " + std::to_string(i));
  EXPECT_EQ(m.count(), 12);
  EXPECT_EQ(m.at(12), "Fehler : 10");
  EXPECT_EQ(m.at(13), "");
  EXPECT_EQ(m.at(0), "");
  Flags f{true, true, true};
  m.clear(f);
  EXPECT_EQ(m.count(), 0);
  EXPECT_FALSE(f.abortFlag);
  EXPECT_FALSE(f.calcError);
  EXPECT_TRUE(f.modified);
  m.add("x");
  m.reset();
  EXPECT_EQ(m.count(), 0);
}

class UiTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  Flags flags;
  UiState state;
  NumberStyle numbers;
  Ui ui{port, flags, state, numbers};
};

TEST_F(UiTest, RealPromptValidationLoop) {
  // Invalid text, then out of range, then a valid value with a comma.
  port.texts = {std::string("abc"), std::string("0"), std::string("2,5")};
  Real x = 7;
  EXPECT_TRUE(ui.inputReal("Drehzahl [1/min]", x, 1e-5L, 1e12L));
  EXPECT_EQ(x, 2.5L);
  ASSERT_EQ(port.boxes.size(), 2u);
  EXPECT_EQ(port.boxes[0].caption, "Fehler : ");
  EXPECT_EQ(port.boxes[0].text, "Ung\xC3\xBCltige Eingabe \"abc\" !");
  EXPECT_EQ(port.boxes[1].text, "G\xC3\xBCltiger Wertebereich: 0.00001 .. 1000000000000 !");
  EXPECT_EQ(port.beeps, 2);
  // Each prompt shows the value to edit: the old one after an invalid text,
  // the rejected one after a range error.
  ASSERT_EQ(port.textPrompts.size(), 3u);
  EXPECT_EQ(port.textPrompts[0].text, "7");
  EXPECT_EQ(port.textPrompts[1].text, "7");
  EXPECT_EQ(port.textPrompts[2].text, "0");
  EXPECT_EQ(port.textPrompts[0].maxLength, 30);
  EXPECT_EQ(port.textPrompts[0].caption, "Eingabe");
  EXPECT_FALSE(flags.abortFlag);
}

TEST_F(UiTest, UnchangedTextKeepsTheExactValue) {
  Real x = 1.0L / 3.0L;
  port.texts = {std::string("0.333")};  // what FormatGeneral showed
  EXPECT_TRUE(ui.inputReal("a", x, 0, 1));
  EXPECT_EQ(x, 1.0L / 3.0L);
  double d = 2.0 / 3.0;
  port.texts = {std::string("0.667")};
  EXPECT_TRUE(ui.inputDouble("b", d, 0, 1));
  EXPECT_EQ(d, 2.0 / 3.0);
}

TEST_F(UiTest, CancelLeavesTheValueAndSetsAbort) {
  Real x = 5;
  port.texts = {std::nullopt};
  EXPECT_FALSE(ui.inputReal("a", x, 0, 10));
  EXPECT_EQ(x, 5);
  EXPECT_TRUE(flags.abortFlag);
}

TEST_F(UiTest, LengthPromptInInch) {
  numbers.unitSystem = 1;
  Real x = 50.8L;
  port.texts = {std::string("3")};
  EXPECT_TRUE(ui.inputLength("Durchmesser", x, 0, 254));
  EXPECT_EQ(x, 3 * 25.4L);
  EXPECT_EQ(port.textPrompts[0].label, "Durchmesser [inch]");
  EXPECT_EQ(port.textPrompts[0].text, "2");
  // Limits are shown in inch too; untouched input keeps the millimetres exactly.
  port.texts = {std::string("20"), std::string("1")};
  Real y = 10.0L / 3.0L;
  EXPECT_TRUE(ui.inputLength("d", y, 0, 254));
  EXPECT_EQ(port.boxes.back().text, "G\xC3\xBCltiger Wertebereich: 0 .. 10 !");
  EXPECT_EQ(y, 25.4L);
  Real z = 10.0L / 3.0L;
  port.texts = {std::string("0.131")};
  EXPECT_TRUE(ui.inputLength("d", z, 0, 254));
  EXPECT_EQ(z, 10.0L / 3.0L);
  numbers.unitSystem = 0;
  port.texts = {std::string("4")};
  EXPECT_TRUE(ui.inputLength("Breite", z, 0, 10));
  EXPECT_EQ(port.textPrompts.back().label, "Breite [mm]");
}

TEST_F(UiTest, IntegerPromptWithReversedLimits) {
  int n = 3;
  port.texts = {std::string("11"), std::string("1.5"), std::string("10")};
  EXPECT_TRUE(ui.inputInt("n", n, 10, 1));
  EXPECT_EQ(n, 10);
  EXPECT_EQ(port.boxes[0].text, "G\xC3\xBCltiger Wertebereich: 1 .. 10 !");
  EXPECT_EQ(port.boxes[1].text, "Ung\xC3\xBCltige Eingabe \"1.5\" !");
  EXPECT_EQ(port.textPrompts[0].maxLength, 12);
  EXPECT_EQ(port.textPrompts[1].text, "11");
}

TEST_F(UiTest, ChoiceShowsRadioButtonsUpToSeven) {
  for (int i = 1; i <= 8; ++i) state.choiceTexts[size_t(i)] = "Wahl " + std::to_string(i);
  int k = 0;
  port.choices = {2, 7};
  EXPECT_TRUE(ui.inputChoice("p", 7, k));
  EXPECT_EQ(k, 3);
  EXPECT_FALSE(port.choicePrompts[0].asList);
  EXPECT_EQ(port.choicePrompts[0].selected, 0);  // k = 0 preselects the first
  EXPECT_EQ(port.choicePrompts[0].caption, "Auswahl");
  EXPECT_TRUE(ui.inputChoice("p", 8, k));
  EXPECT_TRUE(port.choicePrompts[1].asList);
  EXPECT_EQ(port.choicePrompts[1].selected, 2);
  EXPECT_EQ(k, 8);
}

TEST_F(UiTest, YesNoPromptAndQuestion) {
  bool flag = false;
  port.choices = {0};
  EXPECT_TRUE(ui.inputYesNo("Weiter ?", flag));
  EXPECT_TRUE(flag);
  EXPECT_EQ(port.choicePrompts[0].items, (std::vector<std::string>{"&Ja", "&Nein"}));
  EXPECT_EQ(port.choicePrompts[0].selected, 1);
  port.answers = {Answer::No, Answer::Cancel};
  EXPECT_FALSE(ui.askYesNo("?"));
  EXPECT_FALSE(flags.abortFlag);
  EXPECT_FALSE(ui.askYesNo("?"));
  EXPECT_TRUE(flags.abortFlag);
}

TEST_F(UiTest, ErrorBoxesCanBeSwitchedOff) {
  state.errorBoxesOn = false;
  ui.showError("a");
  EXPECT_TRUE(port.boxes.empty());
  ui.showErrorAlways("b");
  ui.showNote("c");
  ASSERT_EQ(port.boxes.size(), 2u);
  EXPECT_EQ(port.boxes[1].caption, "Meldung:");
}

TEST_F(UiTest, CheckNewFile) {
  test::TempFolder dir;
  // Two dots are refused before anything else.
  EXPECT_FALSE(ui.checkNewFile(dir.file("a.b.kmo")));
  EXPECT_NE(port.boxes.back().text.find("not allowed (too many dots)!"), std::string::npos);
  EXPECT_TRUE(flags.abortFlag);
  flags.abortFlag = false;
  // A new file is creatable and is not left behind.
  EXPECT_TRUE(ui.checkNewFile(dir.file("new.kmo")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("new.kmo")));
  // An existing file asks; "No" stops; "Yes" passes and keeps the content.
  test::WriteFileBytes(dir.file("old.kmo"), "keep");
  port.answers = {Answer::No, Answer::Yes};
  EXPECT_FALSE(ui.checkNewFile(dir.file("old.kmo")));
  EXPECT_EQ(state.helpTopic, 3055);
  EXPECT_NE(port.questions.back().find("existiert bereits.   \xC3\xBC" "berschreiben ?"),
            std::string::npos);
  flags.abortFlag = false;
  EXPECT_TRUE(ui.checkNewFile(dir.file("old.kmo")));
  EXPECT_EQ(test::ReadFileBytes(dir.file("old.kmo")), "keep");
  // A folder that does not exist is no valid name.
  EXPECT_FALSE(ui.checkNewFile(dir.file("missing/x.kmo")));
  EXPECT_NE(port.boxes.back().text.find("Ung\xC3\xBCltiger Dateiname"), std::string::npos);
}

TEST_F(UiTest, AskOutputName) {
  test::TempFolder dir;
  FileIdentity file{"cam", dir.path() + "/"};
  std::string path;
  EXPECT_TRUE(ui.askOutputName("plain", "kmo", file, false, path));
  EXPECT_EQ(path, dir.path() + "/plain.kmo");
  EXPECT_TRUE(ui.askOutputName(dir.file("x.txt"), "kmo", file, false, path));
  EXPECT_EQ(path, dir.file("x.txt"));
  // Archive mode refuses every name but "aktuell".
  EXPECT_FALSE(ui.askOutputName("plain", "kmo", file, true, path));
  EXPECT_TRUE(flags.abortFlag);
  flags.abortFlag = false;
  // An empty name asks with the save dialog and takes over the chosen folder and name.
  port.files = {dir.file("chosen.kmo")};
  EXPECT_TRUE(ui.askOutputName("", "kmo", file, false, path));
  EXPECT_EQ(port.fileDialogs.back().filter, "*.kmo|*.kmo");
  EXPECT_EQ(port.fileDialogs.back().proposed, "cam");
  EXPECT_EQ(file.fileName, "chosen");
  EXPECT_EQ(path, dir.file("chosen.kmo"));
  port.files = {std::nullopt};
  EXPECT_FALSE(ui.askOutputName("", "kmo", file, false, path));
  EXPECT_TRUE(flags.abortFlag);
}

TEST_F(UiTest, CheckReadable) {
  test::TempFolder dir;
  EXPECT_FALSE(ui.checkReadable("/nonexistent/file.kmo "));
  EXPECT_EQ(port.boxes.back().text,
            "Datei /nonexistent/file.kmo nicht gefunden oder kein Zugriffsrecht !");
  EXPECT_TRUE(flags.abortFlag);
  // A FIFO without a writer and an endless device are answered at once,
  // never opened for reading.
  std::string fifo = dir.file("pipe.kmo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    flags.abortFlag = false;
    EXPECT_FALSE(ui.checkReadable(path)) << path;
    EXPECT_EQ(port.boxes.back().text,
              "Datei " + path + " ist keine gew\xC3\xB6hnliche Datei (Ger\xC3\xA4t, FIFO oder Socket) !");
    EXPECT_TRUE(flags.abortFlag);
  }
  flags.abortFlag = false;
  EXPECT_FALSE(ui.checkReadable(dir.path()));
  EXPECT_EQ(port.boxes.back().text, "Datei " + dir.path() + " nicht gefunden oder kein Zugriffsrecht !");
  test::WriteFileBytes(dir.file("ok.kmo"), "x");
  EXPECT_TRUE(ui.checkReadable(dir.file("ok.kmo")));
}

class ExplanationTest : public UiTest {
 protected:
  void SetUp() override {
    file = dir.file("kamo.err");
    test::WriteFileBytes(file,
                         "Erkl\x84rungen\r\n"
                         "Fatal  : n = 0 !\r\nkeine Punkte\r\nPunkte eingeben\r\n"
                         "Fehler : A Cam <= 0 !\r\nFl\x84" "che negativ\r\nPunkte umkehren\r\n");
    messages.add("Fatal  : n = 0 ! (more text)");
    messages.add("Fehler : A Cam <= 0 !");
    messages.add("Fehler : unbekannt");
  }
  test::TempFolder dir, temp;
  std::string file;
  MessageList messages;
};

TEST_F(ExplanationTest, LookupByFirstFifteenCharacters) {
  EXPECT_EQ(explanationCause(file, messages, 1), "keine Punkte");
  EXPECT_EQ(explanationRemedy(file, messages, 2), "Punkte umkehren");
  EXPECT_EQ(explanationCause(file, messages, 3), kNoExplanation);
  EXPECT_EQ(explanationRemedy(file, messages, 3), "");
  EXPECT_EQ(explanationCause(dir.file("missing.err"), messages, 1), "");
}

TEST_F(ExplanationTest, ErrorListStartsOnContinueAtHelpLevelOne) {
  ErrorListContext ctx{file, temp.path(), 1, false};
  port.choices = {3};  // "Weiter/zurück..." at once
  showErrorList(ui, ctx, messages);
  ASSERT_EQ(port.choicePrompts.size(), 1u);
  EXPECT_EQ(port.choicePrompts[0].selected, 3);
  EXPECT_EQ(port.choicePrompts[0].items.back(), "Weiter/zur\xC3\xBC" "ck...");
  EXPECT_EQ(state.helpTopic, 1210);
}

TEST_F(ExplanationTest, ErrorListWalksTheMessagesAtHelpLevelTwo) {
  ErrorListContext ctx{file, temp.path(), 2, false};
  port.choices = {0, 1, 3};  // message 1, message 2, then "continue"
  showErrorList(ui, ctx, messages);
  ASSERT_EQ(port.choicePrompts.size(), 3u);
  EXPECT_EQ(port.choicePrompts[0].selected, 0);
  EXPECT_EQ(port.choicePrompts[1].selected, 1);
  EXPECT_EQ(port.choicePrompts[2].selected, 2);
}

TEST_F(ExplanationTest, NoGuiAndEmptyList) {
  showErrorList(ui, {file, temp.path(), 1, true}, messages);
  EXPECT_TRUE(port.choicePrompts.empty());
  MessageList none;
  showErrorList(ui, {file, temp.path(), 1, false}, none);
  EXPECT_EQ(port.boxes.back().text, "Berechnung erfolgreich ohne Fehlermeldungen");
}

TEST_F(ExplanationTest, EditedExplanationIsSavedBack) {
  ErrorListContext ctx{file, temp.path(), 2, false};
  port.explanations = {ExplanationForm{"", "neue Ursache \xC3\xA4", "neue Abhilfe"}};
  port.answers = {Answer::Yes};
  showExplanation(ui, ctx, messages, 2);
  EXPECT_EQ(explanationCause(file, messages, 2), "neue Ursache \x84");
  EXPECT_EQ(explanationRemedy(file, messages, 2), "neue Abhilfe");
  EXPECT_EQ(explanationCause(file, messages, 1), "keine Punkte");
  // A message without entry is not written anywhere.
  EXPECT_FALSE(SaveExplanation(ui, file, temp.path(), "Fehler : unbekannt", "a", "b"));
  EXPECT_EQ(port.boxes.back().text, "Fehler : unbekannt not found.");
}

}  // namespace
}  // namespace kamo
