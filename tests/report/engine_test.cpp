// The report engine on every target: pages, headers, rules, value rows,
// tables, wrapped lines, the remarks block and the hand-off of each output.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "core/codepage.h"
#include "core/strings.h"
#include "report_fixture.h"

namespace kamo::test {
namespace {

namespace fs = std::filesystem;

// A screen report of n numbered lines; returns the viewer's text.
std::string ScreenReport(ReportBench& b, int n) {
  auto e = b.engine();
  e->ReportSetHeader("", "Kopf 1", "Kopf 2", "Kopf 3", "", 0);
  EXPECT_TRUE(e->ReportOpen(otScreen, ""));
  e->ReportPageHeader(0, 0);
  for (int i = 1; i <= n; ++i) e->ReportLine("Zeile " + std::to_string(i));
  e->ReportEndPage();
  EXPECT_TRUE(e->ReportClose());
  EXPECT_EQ(b.port.shownFiles.size(), 1u);
  return b.port.shownText;
}

// Splits a viewer text into pages at the form-feed lines.
std::vector<std::vector<std::string>> Pages(const std::string& text) {
  std::vector<std::vector<std::string>> pages(1);
  for (const auto& l : Lines(text)) {
    if (!l.empty() && l[0] == '\f') {
      EXPECT_EQ(l, "\f") << "a form feed shares its line with text";
      pages.emplace_back();
      continue;
    }
    pages.back().push_back(l);
  }
  if (pages.back().empty()) pages.pop_back();
  return pages;
}

TEST(ReportRules, EachSeparatorModeHasItsRules) {
  struct Case {
    int mode;
    std::string thin, dbl, top;
    char side;
  } cases[] = {
      {1, std::string(70, '-'), std::string(70, '='), std::string(70, '*'), '*'},
      {2, std::string(70, '\xC4'), std::string(70, '\xCD'),
       "\xC9" + std::string(68, '\xCD') + "\xBB", '\xBA'},
      {3, std::string(70, ' '), std::string(70, ' '), std::string(70, ' '), ' '},
      {4, "$!$", "$!$", "$!$", ' '},
  };
  for (const auto& c : cases) {
    ReportBench b;
    b.settings.textPrintMode = c.mode;
    auto e = b.engine();
    EXPECT_EQ(e->ReportThinRule(), c.thin) << c.mode;
    EXPECT_EQ(e->ReportDoubleRule(), c.dbl) << c.mode;
    EXPECT_EQ(e->boxTop(), c.top) << c.mode;
    EXPECT_EQ(e->boxSide(), c.side) << c.mode;
    // Rendered: the box opens the page, a rule follows the value row except
    // in the compressed mode, and "$!$" is never written.
    ASSERT_TRUE(e->ReportOpen(otScreen, ""));
    e->ReportPageHeader(0, 0);
    e->ReportValueRow("Breite", "b", "mm", "1");
    ASSERT_TRUE(e->ReportClose());
    auto lines = Lines(b.port.shownText);
    ASSERT_GE(lines.size(), 3u);
    size_t first = c.mode == 4 ? 1 : 0;  // compressed: an empty line first
    if (c.mode != 4) {
      EXPECT_EQ(lines[first], "       " + Cp850ToUtf8(c.top)) << c.mode;
    }
    std::string side = Cp850ToUtf8(std::string(1, c.side));
    EXPECT_EQ(lines[first + 1].substr(7, side.size()), side) << c.mode;
    size_t row = 0;
    while (row < lines.size() && lines[row].find("Breite") == std::string::npos) ++row;
    ASSERT_LT(row, lines.size());
    if (c.mode == 4) {
      EXPECT_EQ(row + 1, lines.size() - 1) << "only the closing form feed follows";
    } else {
      EXPECT_EQ(lines[row + 1], "       " + Cp850ToUtf8(c.thin)) << c.mode;
    }
    EXPECT_EQ(b.port.shownText.find("$!$"), std::string::npos);
  }
}

TEST(ReportText, CutTextKeepsTheBlankAndBreaksLongWords) {
  std::string words;
  while (words.size() < 100) words += "abcdefghi ";
  auto pieces = CutText(words);
  ASSERT_GE(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], words.substr(0, 60));  // the last blank among the first 63
  std::string joined;
  for (const auto& p : pieces) {
    EXPECT_LE(p.size(), 64u);
    joined += p;
  }
  EXPECT_EQ(joined, words);
  auto solid = CutText(std::string(130, 'x'));
  ASSERT_EQ(solid.size(), 3u);
  EXPECT_EQ(solid[0].size(), 64u);
  EXPECT_EQ(solid[2].size(), 2u);
  EXPECT_EQ(HtmlEscape("<b>\"&\"</TABLE>"), "&lt;b&gt;&quot;&amp;&quot;&lt;/TABLE&gt;");
}

TEST(ReportPages, LongReportBreaksIntoHeadedPagesOfAtMost65Lines) {
  ReportBench b;
  std::string text = ScreenReport(b, 200);
  auto pages = Pages(text);
  ASSERT_GE(pages.size(), 4u);
  int total = 0;
  for (size_t i = 0; i < pages.size(); ++i) {
    EXPECT_LE(pages[i].size(), 65u) << "page " << i + 1;
    ASSERT_GE(pages[i].size(), 2u);
    EXPECT_EQ(pages[i][0], "       " + std::string(70, '*')) << "page " << i + 1;
    EXPECT_NE(pages[i][1].find("Bl. " + std::to_string(i + 1)), std::string::npos);
    for (const auto& l : pages[i])
      if (l.find("Zeile ") != std::string::npos) ++total;
  }
  EXPECT_EQ(total, 200);
  // The header names the date, the time, the owner and the project file.
  EXPECT_NE(text.find("2026-03-07"), std::string::npos);
  EXPECT_NE(text.find("9:05"), std::string::npos);
  EXPECT_NE(text.find("Muster GmbH"), std::string::npos);
  EXPECT_NE(text.find("/home/kamo/nocke.kmo"), std::string::npos);
}

TEST(ReportPages, ShortPagesNeverBreakInsideTheHeader) {
  for (int length : {5, 6, 7, 8, 9, 10, 12}) {
    ReportBench b;
    b.settings.linesPerPage = length;
    std::string text = ScreenReport(b, 30);
    int count = 0;
    for (const auto& l : Lines(text))
      if (l.find("Zeile ") != std::string::npos) ++count;
    EXPECT_EQ(count, 30) << length;
    // Every header is whole: each box top is followed by its title line.
    auto lines = Lines(text);
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      if (lines[i] == "       " + std::string(70, '*') && lines[i + 1].find("KAMO") != std::string::npos) {
        EXPECT_NE(lines[i + 1].find("Bl."), std::string::npos);
      }
    }
  }
}

TEST(ReportPages, HeaderModeTwoHeadsOnlyTheFirstPage) {
  ReportBench b;
  b.settings.pageHeaderMode = 2;
  std::string text = ScreenReport(b, 150);
  auto pages = Pages(text);
  ASSERT_GE(pages.size(), 3u);
  int headers = 0;
  for (const auto& l : Lines(text))
    if (l.find("KAMO  Software") != std::string::npos) ++headers;
  EXPECT_EQ(headers, 1);
  EXPECT_EQ(text.find("Bl."), std::string::npos);
  // The page after a form feed starts with the next line of text, which is not lost.
  EXPECT_NE(pages[1][0].find("Zeile "), std::string::npos);
  int count = 0;
  for (const auto& l : Lines(text))
    if (l.find("Zeile ") != std::string::npos) ++count;
  EXPECT_EQ(count, 150);
}

TEST(ReportPages, CompressedModeDropsRulesAndShortPages) {
  ReportBench b;
  b.settings.textPrintMode = 4;
  auto e = b.engine();
  e->ReportSetHeader("", "a", "b", "c", "", 0);
  ASSERT_TRUE(e->ReportOpen(otScreen, ""));
  e->ReportPageHeader(0, 0);
  e->ReportValueRow("Breite", "b", "mm", "12.5");
  e->ReportLine(e->ReportThinRule());
  e->ReportEndPage();
  e->ReportPageHeader(0, 0);  // less than half a page used: no second header
  e->ReportLine("Ende");
  e->ReportEndPage();
  ASSERT_TRUE(e->ReportClose());
  std::string text = b.port.shownText;
  EXPECT_EQ(text.find("$!$"), std::string::npos);
  // Only the closing form feed that ejects the last sheet.
  EXPECT_EQ(text.find("\f"), text.size() - 2);
  EXPECT_EQ(text.find("---"), std::string::npos);
  size_t first = text.find("KAMO  Software");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(text.find("KAMO  Software", first + 1), std::string::npos);
}

TEST(ReportValueRows, ColumnsAndLongValues) {
  struct Case {
    std::string value;
    int column;  // 1-based start of the value within the 70-character line
  } cases[] = {{"12.345", 56}, {"12345678901234", 56}, {"12345678901234567890", 50},
               {"   12345678901234   ", 56}};
  for (const auto& c : cases) {
    ReportBench b;
    auto e = b.engine();
    ASSERT_TRUE(e->ReportOpen(otScreen, ""));
    e->ReportValueRow("Breite", "b", "mm", c.value);
    ASSERT_TRUE(e->ReportClose());
    auto lines = Lines(b.port.shownText);
    ASSERT_GE(lines.size(), 2u);
    std::string row = lines[0].substr(7);
    EXPECT_EQ(row.substr(0, 6), "Breite");
    EXPECT_EQ(row.substr(34, 1), "b");
    EXPECT_EQ(row.substr(43, 2), "mm");
    std::string v = c.value.size() > 14 ? Trim(c.value) : c.value;
    EXPECT_EQ(row.substr(static_cast<size_t>(c.column - 1), v.size()), v) << c.value;
    EXPECT_EQ(lines[1], "       " + std::string(70, '-'));
  }
}

TEST(ReportHeader, LongProjectPathShowsTheNameAlone) {
  // "/" + dir + "/nocke.kmo": 66 characters fit between the box sides.
  struct Case {
    size_t dir;
    bool whole;
  } cases[] = {{10, true}, {55, true}, {56, false}, {68, false}};
  for (const auto& c : cases) {
    ReportBench b;
    b.file.fileDir = "/" + std::string(c.dir, 'd') + "/";
    auto e = b.engine();
    ASSERT_TRUE(e->ReportOpen(otScreen, ""));
    e->ReportPageHeader(0, 0);
    ASSERT_TRUE(e->ReportClose());
    std::string shown = c.whole ? "*  " + b.file.fileDir + "nocke.kmo" : "*  nocke.kmo ";
    EXPECT_NE(b.port.shownText.find(shown), std::string::npos) << c.dir;
    EXPECT_EQ(b.port.shownText.find("ddd") != std::string::npos, c.whole) << c.dir;
  }
  ReportBench b;
  b.file.fileName = "n\xC3\xB6" "cke";  // file names are UTF-8
  auto e = b.engine();
  ASSERT_TRUE(e->ReportOpen(otScreen, ""));
  e->ReportPageHeader(0, 0);
  ASSERT_TRUE(e->ReportClose());
  EXPECT_NE(b.port.shownText.find("*  /home/kamo/n\xC3\xB6" "cke.kmo "), std::string::npos)
      << b.port.shownText;
}

TEST(ReportWrapped, SeventyTwoCharactersStayWholeSeventyThreeAreCut) {
  for (int n : {72, 73}) {
    ReportBench b;
    auto e = b.engine();
    ASSERT_TRUE(e->ReportOpen(otScreen, ""));
    e->ReportWrappedLine(std::string(static_cast<size_t>(n), 'w'));
    ASSERT_TRUE(e->ReportClose());
    auto lines = Lines(b.port.shownText);
    EXPECT_EQ(lines.size(), n == 72 ? 1u : 2u) << n;
  }
}

TEST(ReportTables, TextTabAndHtmlRendering) {
  ReportBench b;
  b.settings.textDevice = 6;
  auto e = b.engine();
  ASSERT_TRUE(e->ReportOpen(0, ""));
  {
    ReportTable t(*e, {3, 8, 0, 9}, {"i", "x", "ignored"});
    t.Row({"1", "2.5"});
    t.Done();
  }
  ASSERT_TRUE(e->ReportClose());
  EXPECT_EQ(ReadFileBytes(e->resultPath()), "i\tx\n1\t2.5\n");
  EXPECT_EQ(e->resultPath(), b.folder.file("$$1.txt"));
  // The next tab-separated output keeps the first, also from another engine.
  auto other = b.engine();
  for (auto* engine : {e.get(), other.get()}) {
    ASSERT_TRUE(engine->ReportOpen(0, ""));
    engine->ReportLine("next");
    ASSERT_TRUE(engine->ReportClose());
  }
  EXPECT_EQ(ReadFileBytes(b.folder.file("$$1.txt")), "i\tx\n1\t2.5\n");
  EXPECT_EQ(ReadFileBytes(b.folder.file("$$3.txt")), "next\n");

  ReportBench t;
  auto f = t.engine();
  ASSERT_TRUE(f->ReportOpen(otScreen, ""));
  {
    ReportTable tab(*f, {3, 8}, {"i", "x"});
    tab.SetRowRules(false);
    tab.Row({"1", "2.5"});
    tab.Row({"22222", "3"});
    tab.Done();
  }
  ASSERT_TRUE(f->ReportClose());
  auto lines = Lines(t.port.shownText);
  std::vector<std::string> want{
      "       " + std::string(70, '='), "       i  x        ", "       " + std::string(70, '='),
      "       1  2.5      ",             "       2223        ", "       " + std::string(70, '-')};
  EXPECT_EQ(lines, want);
}

TEST(ReportMessages, RemarksCarryCauseAndRemedy) {
  std::string longCause(90, 'u');
  longCause[40] = ' ';
  ReportBench b;
  b.explain({{"Fehler : A Cam <= 0 !", longCause, "Bohrung verkleinern"}});
  b.messages.add("Fehler : A Cam <= 0 !");
  b.messages.add("Fatal  : unbekannt");
  auto e = b.engine();
  ASSERT_TRUE(e->ReportOpen(otScreen, ""));
  e->ReportMessages();
  ASSERT_TRUE(e->ReportClose());
  std::string text = b.port.shownText;
  EXPECT_NE(text.find("BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN"), std::string::npos);
  EXPECT_NE(text.find("       Fehler : A Cam <= 0 !"), std::string::npos);
  EXPECT_NE(text.find("Bohrung verkleinern"), std::string::npos);
  EXPECT_NE(text.find("keine Beschreibung dieser Fehlermeldung vorhanden."), std::string::npos);
  EXPECT_EQ(text.find(longCause), std::string::npos);  // cut into pieces

  ReportBench t;
  t.explain({{"Fehler : A Cam <= 0 !", "Ursache", "Abhilfe"}});
  t.messages.add("Fehler : A Cam <= 0 !");
  t.settings.textDevice = 6;
  auto f = t.engine();
  ASSERT_TRUE(f->ReportOpen(0, ""));
  f->ReportMessages();
  ASSERT_TRUE(f->ReportClose());
  EXPECT_NE(ReadFileBytes(f->resultPath()).find("Fehler : A Cam <= 0 !\tUrsache\tAbhilfe\n"),
            std::string::npos);

  ReportBench none;
  auto g = none.engine();
  ASSERT_TRUE(g->ReportOpen(otScreen, ""));
  g->ReportMessages();
  ASSERT_TRUE(g->ReportClose());
  EXPECT_EQ(none.port.shownText, "");
}

TEST(ReportTargets, FileTargetAsksForTheNameAndChecksIt) {
  ReportBench b;
  b.port.files.push_back(b.folder.file("a.b.txt"));
  auto e = b.engine();
  EXPECT_FALSE(e->ReportOpen(otFile, ""));
  EXPECT_TRUE(b.flags.abortFlag);
  ASSERT_FALSE(b.port.boxes.empty());
  EXPECT_NE(b.port.boxes.back().text.find("not allowed (too many dots)!"), std::string::npos);
  EXPECT_FALSE(fs::exists(b.folder.file("a.b.txt")));

  ReportBench c;
  c.port.files.push_back(c.folder.file("out"));
  auto f = c.engine();
  ASSERT_TRUE(f->ReportOpen(otFile, ""));
  EXPECT_EQ(c.port.fileDialogs.back().proposed, "nocke.txt");
  f->ReportLine("Gr\x94\xE1" "e");
  ASSERT_TRUE(f->ReportClose());
  EXPECT_EQ(ReadFileBytes(c.folder.file("out.txt")), "       Gr\x94\xE1" "e\r\n");
  EXPECT_EQ(ReadFileBytes(c.folder.file("outwin.txt")), "       Gr\xC3\xB6\xC3\x9F" "e\n");
}

TEST(ReportTargets, TextPrinterPortPauseAndMissingDevice) {
  ReportBench b;
  b.settings.printerPort = 2;
  b.port.answers = {Answer::No};
  WriteFileBytes(b.folder.file("TEXT.HXP"), "\x1B@");
  auto e = b.engine();
  ASSERT_TRUE(e->ReportOpen(otTextPrinter, ""));
  e->ReportPageHeader(0, 0);
  e->ReportLine("Zeile");
  e->ReportEndPage();
  ASSERT_TRUE(e->ReportClose());
  std::string bytes = ReadFileBytes(b.folder.file("lp1"));
  EXPECT_EQ(bytes.substr(0, 2), "\x1B@");
  EXPECT_EQ(bytes.back(), '\f');

  ReportBench p;
  p.port.answers = {Answer::Yes, Answer::No};  // pause on, then "no new sheet"
  auto f = p.engine();
  ASSERT_TRUE(f->ReportOpen(otTextPrinter, ""));
  f->ReportPageHeader(0, 0);
  EXPECT_TRUE(p.flags.abortFlag);
  EXPECT_FALSE(f->ReportClose());

  ReportBench m;
  m.settings.printerPort = 3;
  m.port.answers = {Answer::No};
  auto g = m.engine();
  EXPECT_FALSE(g->ReportOpen(otTextPrinter, ""));
  EXPECT_TRUE(m.flags.abortFlag);
  ASSERT_FALSE(m.port.boxes.empty());
  EXPECT_NE(m.port.boxes.back().text.find("LPT3"), std::string::npos);

  // A printer that is not there is reported, not made up as a file in /dev.
  ReportBench d;
  d.settings.printerPort = 1;
  d.port.answers = {Answer::No};
  const std::string missing = "/dev/kamo-test-no-printer";
  auto h = d.engine();
  h->context().portDevices[0] = missing;
  EXPECT_FALSE(h->ReportOpen(otTextPrinter, ""));
  EXPECT_TRUE(d.flags.abortFlag);
  EXPECT_FALSE(std::filesystem::exists(missing));
  std::filesystem::remove(missing);
}

TEST(ReportTargets, PrinterGetsPagesSplitAtFormFeeds) {
  for (auto outcome : {PrintOutcome::Printed, PrintOutcome::Unavailable}) {
    ReportBench b;
    b.port.printOutcome = outcome;
    auto e = b.engine();
    ASSERT_TRUE(e->ReportOpen(otPrinter, ""));
    e->ReportPageHeader(0, 0);
    e->ReportLine("eins");
    e->ReportEndPage();
    e->ReportPageHeader(0, 0);
    e->ReportLine("zwei");
    e->ReportEndPage();
    EXPECT_EQ(e->ReportClose(), outcome == PrintOutcome::Printed);
    ASSERT_EQ(b.port.printed.size(), 1u);
    const PrintJob& job = b.port.printed[0];
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.title, "nocke");
    EXPECT_EQ(job.pages[1].back(), "       zwei");
    EXPECT_EQ(b.port.boxes.empty(), outcome == PrintOutcome::Printed);
    for (const auto& entry : fs::directory_iterator(b.folder.path()))
      EXPECT_EQ(entry.path().filename().string().find("$OUT"), std::string::npos);
  }
}

TEST(ReportTargets, ViewerPrintsItsFile) {
  ReportBench b;
  WriteFileBytes(b.folder.file("outwin.txt"), "a\n\f\nb\nc\n\f\n");
  EXPECT_TRUE(PrintTextFile(b.ui, b.settings, b.folder.file("outwin.txt"), "nocke"));
  ASSERT_EQ(b.port.printed.size(), 1u);
  std::vector<std::vector<std::string>> want{{"a"}, {"b", "c"}};
  EXPECT_EQ(b.port.printed[0].pages, want);
  EXPECT_FALSE(PrintTextFile(b.ui, b.settings, b.folder.file("missing.txt"), "nocke"));
  ASSERT_EQ(b.port.boxes.size(), 1u);
  EXPECT_NE(b.port.boxes[0].text.find("missing.txt not found !"), std::string::npos);
}

TEST(ReportTargets, ExternalProgramsOpenTheConvertedCopy) {
  ReportBench b;
  b.settings.textProgram = "mousepad";
  b.platform.known = {"mousepad"};
  auto e = b.engine();
  ASSERT_TRUE(e->ReportOpen(otTextProgram, ""));
  e->ReportLine("x");
  ASSERT_TRUE(e->ReportClose());
  ASSERT_EQ(b.platform.launched.size(), 1u);
  EXPECT_EQ(b.platform.launched[0].second, b.folder.file("outwin.txt"));

  ReportBench m;
  m.settings.textProgram = "WRITE.EXE";
  auto f = m.engine();
  ASSERT_TRUE(f->ReportOpen(otTextProgram, ""));
  EXPECT_FALSE(f->ReportClose());
  ASSERT_FALSE(m.port.boxes.empty());
  EXPECT_EQ(m.port.boxes.back().text, "WRITE.EXE not found");

  ReportBench h;
  h.settings.htmlBrowser = "firefox";
  h.platform.known = {"firefox"};
  auto g = h.engine();
  ASSERT_TRUE(g->ReportOpen(otHtml, ""));
  ASSERT_TRUE(g->ReportClose());
  ASSERT_EQ(h.platform.launched.size(), 1u);
  EXPECT_EQ(h.platform.launched[0].second, h.folder.file("wkamo.htm"));

  // Without a program of their own the text and the page open in the
  // desktop's applications, through the UI port.
  ReportBench d;
  d.settings.textProgram.clear();
  auto t = d.engine();
  ASSERT_TRUE(t->ReportOpen(otTextProgram, ""));
  ASSERT_TRUE(t->ReportClose());
  EXPECT_TRUE(d.platform.launched.empty());
  EXPECT_EQ(d.port.opened, std::vector<std::string>{d.folder.file("outwin.txt")});
  ReportBench w;
  w.port.files.push_back(w.folder.file("seite.htm"));
  auto p = w.engine();
  ASSERT_TRUE(p->ReportOpen(otHtml, ""));
  ASSERT_TRUE(p->ReportClose());
  EXPECT_TRUE(w.platform.launched.empty());
  EXPECT_EQ(w.port.opened, std::vector<std::string>{w.folder.file("seite.htm")});
}

TEST(ReportTargets, ChoiceOfTargetAndItsCancel) {
  ReportBench b;
  b.settings.askTextDevice = true;
  b.settings.textDevice = 3;
  b.port.choices = {std::nullopt};
  auto e = b.engine();
  EXPECT_FALSE(e->ReportOpen(0, ""));
  EXPECT_TRUE(b.flags.abortFlag);
  ASSERT_EQ(b.port.choicePrompts.size(), 1u);
  EXPECT_EQ(b.port.choicePrompts[0].items.size(), 7u);
  EXPECT_EQ(b.port.choicePrompts[0].selected, 2);

  ReportBench c;
  c.settings.askTextDevice = true;
  c.port.choices = {0};
  auto f = c.engine();
  ASSERT_TRUE(f->ReportOpen(0, ""));
  EXPECT_EQ(f->ReportTarget(), otScreen);
  ASSERT_TRUE(f->ReportClose());
}

TEST(ReportTargets, FailedWriteLeavesNoFinishedFile) {
  ReportBench b;
  b.settings.textDevice = 9;
  b.settings.askTextDevice = false;
  auto e = b.engine();
  ASSERT_TRUE(e->ReportOpen(0, "cam.kmo"));
  e->ReportLine("x");
  b.flags.abortFlag = true;  // as a failed write sets it
  EXPECT_FALSE(e->ReportClose());
  EXPECT_FALSE(fs::exists(b.folder.file("cam.txt")));
  for (const auto& entry : fs::directory_iterator(b.folder.path()))
    ADD_FAILURE() << "left behind: " << entry.path();
}

// HTML with texts that look like mark-up: they must show literally and the
// page must stay valid for tidy.
TEST(ReportHtml, HostileTextsAreEscapedAndThePagePassesTidy) {
  ReportBench b;
  b.port.files.push_back(b.folder.file("report.htm"));
  b.explain({{"Fehler : <b>", "</TABLE> & \"mehr\"", "<script>x</script>"}});
  b.messages.add("Fehler : <b>");
  auto e = b.engine();
  e->ReportSetHeader("", "</TABLE>", "<b>fett", "a & b", "\"q\"", 0);
  ASSERT_TRUE(e->ReportOpen(otHtml, ""));
  e->ReportPageHeader(0, 0);
  e->ReportLine("<i>Zeile</i> \x94");
  e->ReportValueRow("</TD>", "<", ">", "\"1\"");
  e->ReportValueRow("b", "b", "mm", "2");
  {
    ReportTable t(*e, {3, 50}, {"i", "<f>"});
    t.Row({"1", "</TABLE>r=x<2"});
    t.Done();
  }
  e->ReportCell("</TR>");
  e->ReportEndPage();
  e->ReportPageHeader(0, 0);
  e->ReportMessages();
  ASSERT_TRUE(e->ReportClose());
  std::string html = ReadFileBytes(b.folder.file("report.htm"));
  EXPECT_EQ(html.find('\f'), std::string::npos);
  for (const char* raw : {"<b>", "<i>", "</TD>\"", "<script>", "<f>", "</TR></TD>"})
    EXPECT_EQ(html.find(raw), std::string::npos) << raw;
  EXPECT_NE(html.find("&lt;/TABLE&gt;r=x&lt;2"), std::string::npos);
  EXPECT_NE(html.find("&lt;i&gt;Zeile&lt;/i&gt; \xC3\xB6"), std::string::npos);
  // Every table opened is closed before the end of the body.
  int open = 0;
  for (size_t p = 0; (p = html.find("<TABLE", p)) != std::string::npos; ++p) ++open;
  int closed = 0;
  for (size_t p = 0; (p = html.find("</TABLE>", p)) != std::string::npos; ++p) ++closed;
  EXPECT_EQ(open, closed);
  EXPECT_LT(html.rfind("</TABLE>"), html.find("</BODY>"));
  std::string cmd = "tidy -q -e '" + b.folder.file("report.htm") + "' > '" +
                    b.folder.file("tidy.log") + "' 2>&1";
  int rc = std::system(cmd.c_str());
  ASSERT_NE(rc, -1);
  // tidy exits 2 on errors, 1 on warnings only.
  EXPECT_LT(WEXITSTATUS(rc), 2) << ReadFileBytes(b.folder.file("tidy.log"));
}

}  // namespace
}  // namespace kamo::test
