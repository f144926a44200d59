// The display list: records, style caches, arcs and the window transform.
#include <gtest/gtest.h>

#include <limits>

#include "display/displaylist.h"

namespace kamo {
namespace {

TEST(DisplayList, RecordsAndCaches) {
  DisplayList d;
  d.SetColor(5);
  d.SetColor(5);
  d.SetColor(17);  // beyond the colours: not recorded
  d.SetLineStyle(0);
  d.SetLineStyle(0);
  d.SetLineWidth(1);  // the cache starts at width 1
  d.line(0, 0, 10, 5.5L);
  d.Arc(0, 0, 0, 3, 1, 3);    // 3 degrees: the chord
  d.Arc(0, 0, 0, 90, 2, 90);
  d.Arc(0, 0, 90, 0, 2, -90);  // clockwise: swapped, counter-clockwise from 0 to 90
  d.OutTextXY("a;b", 1, 2);
  d.SetTextStyle(2, 3.5L, 2.5L, 0);
  d.SleepMs(40);
  std::vector<std::string> want = {"8;5", "11;0", "4;0;0;10;5.5", "4;1;0;0.99862953;0.052335956",
                                   "5;-2;-2;2;2;2;0;0;2", "5;-2;-2;2;2;2;0;0;2",
                                   "6;1;2;a;b", "9;3.5;2.5;2;0", "13;40"};
  EXPECT_EQ(d.records(), want);
  DisplayRecord r = ParseDisplayRecord("6;1;2;a;b");
  EXPECT_EQ(r.code, 6);
  ASSERT_EQ(r.fields.size(), 3u);
  EXPECT_EQ(r.fields[2], "a;b");
  EXPECT_EQ(ParseDisplayRecord("x;1").code, 0);
  EXPECT_EQ(ParseDisplayRecord("99;1").code, 0);
  d.Clear();
  d.SetColor(5);
  EXPECT_EQ(d.records(), std::vector<std::string>{"8;5"});
}

TEST(DisplayList, CadColoursAndStyleNames) {
  struct Case {
    int cad, palette;
  } cases[] = {{0, 0}, {1, 12}, {2, 14}, {3, 10}, {4, 11}, {5, 9}, {6, 13}, {7, 15}, {8, 1}, {15, 8}, {16, 16}, {17, 12}, {33, 12}};
  for (const Case& c : cases) EXPECT_EQ(CadColourToPalette(c.cad), c.palette) << c.cad;
  EXPECT_EQ(LineStyleOfName("PUNKT"), 1);
  EXPECT_EQ(LineStyleOfName("CENTER"), 2);
  EXPECT_EQ(LineStyleOfName("HIDDEN"), 3);
  EXPECT_EQ(LineStyleOfName("CONTINUOUS"), 0);
}

TEST(DisplayList, WindowTransform) {
  DisplayList d;
  EXPECT_FALSE(d.Header(0, 0, 0, 10));  // empty window
  EXPECT_TRUE(d.records().empty());
  ASSERT_TRUE(d.Header(0, 0, 160, 120));
  EXPECT_EQ(d.records()[0], "10;1;1;639;479;0;0;160;120");
  const ViewTransform& v = d.transform();
  EXPECT_DOUBLE_EQ(static_cast<double>(v.sx), static_cast<double>(v.sy));  // 640 x 480: isotropic gives sx = sy
  EXPECT_EQ(v.X(0), 1);
  EXPECT_EQ(v.Y(0), 479);
  EXPECT_EQ(v.X(160), 638);  // the isotropic scale of y: 478 pixels for 120 mm
}

// The display list, recorded directly (diagrams, the help pictures), keeps no
// record that carries what is no number; a lost move starts the next line afresh.
TEST(DisplayList, KeepsNoRecordOfWhatIsNoNumber) {
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  const Real inf = std::numeric_limits<Real>::infinity();
  DisplayList d;
  d.line(0, 0, nan, 1);
  d.circle(0, 0, inf);
  d.Arc(0, 0, nan, 90, 2, 90);
  d.Arc(0, 0, 0, 90, 1e4000L, 90);
  d.Solid(0, 0, 1, 0, 1, -inf, 0, 1);
  d.OutTextXY("weg", nan, 0);
  d.SetTextStyle(2, inf, 2, 0);
  EXPECT_FALSE(d.SetWindow(true, true, 0, 0, 1, 1, 0, 0, inf, 10));
  EXPECT_TRUE(d.records().empty());
  d.OutTextXY("da", 1, 2);
  EXPECT_EQ(d.textOf(d.items().back()), "da");
  d.MoveTo(nan, 0);
  d.LineTo(5, 6);  // from nowhere: a move
  d.LineTo(7, 8);
  EXPECT_EQ(d.records(), (std::vector<std::string>{"6;1;2;da", "1;5;6", "2;7;8"}));
}

}  // namespace
}  // namespace kamo
