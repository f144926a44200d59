// The output dispatcher, the drawing table and the extremes block.
#include <gtest/gtest.h>

#include <filesystem>

#include "../cad/cad_fixture.h"
#include "cam/kamorech.h"
#include "graphics/sheets.h"
#include "graphics/table.h"
#include "io/kamoio.h"

namespace kamo {
namespace {

using test::CadFixture;

struct SheetFixture : CadFixture {
  CamProject project;
  SheetOutput out{*cad, project, settings, messages, flags, ui, ErrorListContext{}};
  SheetFixture() {
    EXPECT_TRUE(ReadProject(ui, settings, std::string(KAMO_SOURCE_DIR) + "/examples/eccentric.kmo", project));
    Calculate(project, messages, flags, settings);
  }
  std::string text() { return test::ReadFileBytes(temp.file("out.txt")); }
};

TEST(Sheets, Kinds) {
  struct Case {
    int kind;
    std::vector<std::string> has, hasNot;
  } cases[] = {
      {1, {"MINMAX\t", "CIRCLE\t0.000000\t0.000000\t", "SOLID\t", "TEXT\t"}, {}},
      {2, {"CIRCLE\t0.000000\t0.000000\t"}, {"SOLID\t", "TEXT\t"}},
      {3, {"MINMAX\t0.000000\t0.000000\t140.000000\t125.000000", " Kurvenradius", " St\x94\xE1" "elhub", " phi max", " Kraft F = m * a"}, {"CIRCLE"}},
      {4, {"SOLID\t"}, {}},
      {6, {"LINE\t"}, {"CIRCLE", "TEXT"}},
  };
  for (const Case& c : cases) {
    SheetFixture f;
    f.settings.numbers.cadTextType = 1;
    ASSERT_TRUE(OutputSheet(f.out, kCadText, c.kind)) << c.kind;
    std::string t = f.text();
    for (const std::string& s : c.has) EXPECT_NE(t.find(s), std::string::npos) << c.kind << " " << s;
    for (const std::string& s : c.hasNot) EXPECT_EQ(t.find(s), std::string::npos) << c.kind << " " << s;
  }
}

// On the screen the same sheet becomes display records: window, colours, lines, texts.
TEST(Sheets, ScreenRecords) {
  SheetFixture f;
  ASSERT_TRUE(OutputSheet(f.out, kCadScreen, 1));
  int window = 0, lines = 0, texts = 0, solids = 0, circles = 0;
  for (const std::string& r : f.display.records()) {
    DisplayRecord d = ParseDisplayRecord(r);
    window += d.code == 10;
    lines += d.code == 4;
    texts += d.code == 6;
    solids += d.code == 7;
    circles += d.code == 3;
  }
  EXPECT_EQ(window, 1);
  EXPECT_GT(lines, 100);
  EXPECT_EQ(solids, f.project.contourCount - 1);  // one arrow head per segment
  EXPECT_EQ(circles, 1);                          // the bore
  EXPECT_EQ(texts, solids + 1);                   // arrow numbers and the footer
}

TEST(Sheets, BoreIsKept) {
  SheetFixture f;
  f.project.body.bore = 0;
  ASSERT_TRUE(OutputSheet(f.out, kCadText, 2));
  EXPECT_NEAR(static_cast<double>(f.project.body.bore), 0.01 * f.project.results.xSize, 1e-12);
}

TEST(Sheets, NothingToDraw) {
  SheetFixture f;
  f.flags.calcError = true;
  EXPECT_FALSE(OutputSheet(f.out, kCadText, 2));
  f.flags.calcError = false;
  f.project.basePointCount = 2;
  EXPECT_FALSE(OutputSheet(f.out, kCadText, 2));
  EXPECT_FALSE(std::filesystem::exists(f.temp.file("out.txt")));
}

TEST(Sheets, ChoiceLoop) {
  SheetFixture f;
  f.port.choices = {1, 10};  // "Geometrie 1", then "zurück .."
  EXPECT_TRUE(OutputSheet(f.out, kCadText, 0));
  ASSERT_EQ(f.port.choicePrompts.size(), 2u);
  EXPECT_EQ(f.port.choicePrompts[1].selected, 1);  // the previous choice
  EXPECT_EQ(f.out.previousKind, 2);
  EXPECT_FALSE(f.flags.abortFlag);
  EXPECT_TRUE(std::filesystem::exists(f.temp.file("out.txt")));
}

TEST(Sheets, TableColumns) {
  CadFixture f;
  f.begin(kCadText);
  TAusTabelle t(*f.cad, 1, 10, 100, 2, {10, 5, 0, 0, 0, 0, 0}, {"A", "B", "", "", "", "", ""});
  EXPECT_EQ(t.columns(), 2);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.boundary(0)), 10 - 0.9 * 10 * 2);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.boundary(1)), 10);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.boundary(2)), 10 + 0.9 * 5 * 2);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.rowTop()), 96);
  t.Row({"label", "value"});
  EXPECT_DOUBLE_EQ(static_cast<double>(t.rowTop()), 92);
  std::string e = CadFixture::entities(f.end("txt"));
  EXPECT_EQ(e.find(" A"), std::string::npos);  // mode 1: the first column is left out
  EXPECT_EQ(e.find("label"), std::string::npos);
  EXPECT_NE(e.find("TEXT\t10.000000\t97.000000\t B"), std::string::npos);
  EXPECT_NE(e.find("TEXT\t10.000000\t93.000000\t value"), std::string::npos);
}

}  // namespace
}  // namespace kamo
