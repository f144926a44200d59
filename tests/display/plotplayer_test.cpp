// The help picture player: what each command draws, the state that lives
// between pictures, and the mended corners (sweep 0, DI without a direction,
// labels without SI, IN, no line from the start marker, SI order, scales).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "display/displaylist.h"
#include "display/plotplayer.h"

namespace kamo {
namespace {

// Records every primitive as one line of text, numbers rounded to 0.001.
class Recorder : public PlotCanvas {
 public:
  std::vector<std::string> out;
  void setColour(int c) override {
    if (c != colour_) out.push_back("colour " + std::to_string(c));
    colour_ = c;
  }
  void line(Real x1, Real y1, Real x2, Real y2) override { out.push_back("line " + N({x1, y1, x2, y2})); }
  void circle(Real x, Real y, Real r) override { out.push_back("circle " + N({x, y, r})); }
  void arc(Real xc, Real yc, Real a1, Real a2, Real r, Real sweep) override {
    out.push_back("arc " + N({xc, yc, a1, a2, r, sweep}));
  }
  void label(std::string_view text, Real x, Real y, Real h, Real w, Real angle) override {
    out.push_back("label " + std::string(text) + " " + N({x, y, h, w, angle}));
  }

 private:
  static std::string N(std::initializer_list<Real> v) {
    std::ostringstream s;
    s.precision(12);
    bool first = true;
    for (Real x : v) {
      double r = std::round(static_cast<double>(x) * 1000) / 1000;
      if (r == 0) r = 0;  // no "-0"
      s << (first ? "" : " ") << r;
      first = false;
    }
    return s.str();
  }
  int colour_ = -100;
};

std::vector<std::string> Play(const std::string& plt, PlotState& st) {
  Recorder r;
  PlayPlot(plt, r, st, [](std::string_view s) { return Cp850ToUtf8(s); });
  return r.out;
}
std::vector<std::string> Play(const std::string& plt) {
  PlotState st;
  return Play(plt, st);
}

struct Case {
  const char* name;
  std::string plt;
  std::vector<std::string> drawn;
};

class PlayerCases : public ::testing::TestWithParam<Case> {};

TEST_P(PlayerCases, DrawsWhatTheFileSays) { EXPECT_EQ(Play(GetParam().plt), GetParam().drawn); }

const Case kCases[] = {
    {"PenUpWithoutPairsStays", "PU0,0;PU;PD100,100,200,100;",
     {"colour 0", "line 0 0 2.5 2.5", "line 2.5 2.5 5 2.5"}},
    {"EmptySpSelectsPen1", "SP;PU0,0;PD40,0;", {"colour 12", "line 0 0 1 0"}},
    {"PensMapToColours", "SP3;PU0,0;PD40,0;SP7;PD80,0;SP9;PD120,0;",
     {"colour 10", "line 0 0 1 0", "colour 15", "line 1 0 2 0", "colour 9", "line 2 0 3 0"}},
    {"BlanksAndLineBreaksAreSkipped", "S P 1 ;\r\nP U 0 , 0 ;\nPD 40,\r\n 40 ;", {"colour 12", "line 0 0 1 1"}},
    {"PaKeepsThePenState", "SP1;PU0,0;PA40,0;PD;PA40,40;", {"colour 12", "line 1 0 1 1"}},
    {"NoLineFromTheStartMarker", "SP1;PD400,400,800,400;", {"colour 12", "line 10 10 20 10"}},
    {"LoneXIsDropped", "SP1;PU0,0;PD400;PD0,400;", {"colour 12", "line 0 0 0 10"}},
    {"CircleRadiusInPlotterUnits", "SP1;PU400,400;CI200;", {"colour 12", "circle 10 10 5"}},
    {"CircleWhateverThePen", "SP2;PU400,400;PU;CI40;", {"colour 14", "circle 10 10 1"}},
    {"ArcCounterClockwise", "SP1;PU800,400;PD;AA400,400,90;PD400,0;",
     {"colour 12", "arc 10 10 0 90 10 90", "line 10 20 10 0"}},
    {"ArcClockwise", "SP1;PU800,400;PD;AA400,400,-90;", {"colour 12", "arc 10 10 0 270 10 -90"}},
    {"ArcSweepZeroDrawsNothing", "SP1;PU800,400;PD;AA400,400,0;PD800,800;", {"colour 12", "line 20 10 20 20"}},
    {"ArcFullCircleOnlyFrom360", "SP1;PU800,400;PD;AA400,400,360;AA400,400,-720;",
     {"colour 12", "circle 10 10 10", "circle 10 10 10"}},
    {"ArcPenUpOnlyMoves", "SP1;PU800,400;AA400,400,180;PD0,0;", {"colour 12", "line 0 10 0 0"}},
    {"UnknownCommandsAreSkipped", "IN;SP1;RO90;IP0,0,100,100;SC0,1,0,1;LT2;VS10;DF;XX1,2,3;PU0,0;PD40,0;",
     {"colour 12", "line 0 0 1 0"}},
    {"LabelWithSize", "SP1;PU400,400;SI0.2,0.3;LBText\x03", {"colour 12", "label Text 10 10 3 2 0"}},
    {"LabelDefaultSize", "SP1;PU0,0;LBAbc\x03", {"colour 12", "label Abc 0 0 2.7 1.9 0"}},
    {"LabelKeepsBlanksDropsBreaks", "SP1;PU0,0;LB a\r\nb \x03", {"colour 12", "label  ab  0 0 2.7 1.9 0"}},
    {"LabelDirection", "SP1;PU0,0;DI0,1;LBx\x03" "DI;LBy\x03" "DI1,1;LBz\x03" "DI0,0;LBw\x03",
     {"colour 12", "label x 0 0 2.7 1.9 90", "label y 0 0 2.7 1.9 0", "label z 0 0 2.7 1.9 45",
      "label w 0 0 2.7 1.9 0"}},
    {"UmlautRuleWithSet3", "CS3;SP1;PU0,0;LBSto}ssel, Hebelr}ader A}O}U}a}u}\x03",
     {"colour 12", "label St\u00F6ssel, Hebelrader \u00C4\u00D6\u00DC\u00E4\u00FC 0 0 2.7 1.9 0"}},
    {"NoUmlautRuleWithoutSet3", "SP1;PU0,0;LBo}\x03", {"colour 12", "label o} 0 0 2.7 1.9 0"}},
    {"BraceAtTheStartIsDropped", "CS3;SP1;PU0,0;LB}a\x03", {"colour 12", "label a 0 0 2.7 1.9 0"}},
    {"EncodedPolyline", "SP1;PU0,0;PE=\x7f\x7f\x7f\x7f;", {}},
    {"FileEndsInsideACommand", "SP1;PU0,0;PD40,0", {}},
    {"LabelWithoutEtxEndsThePicture", "SP1;PU0,0;LBabc", {}},
    {"InResetsTheState", "CS3;SP1;SI1,1;DI0,1;PU0,0;PD40,0;IN;PD40,40;LBo}\x03",
     {"colour 12", "line 0 0 1 0", "colour 0", "label o} 1 1 2.7 1.9 0"}},
};

INSTANTIATE_TEST_SUITE_P(Plot, PlayerCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Encodes HP-GL/2 PE numbers (eight-bit or seven-bit mode).
std::string Encoded(long long v, bool seven = false) {
  unsigned long long n = v < 0 ? static_cast<unsigned long long>(-v) * 2 + 1 : static_cast<unsigned long long>(v) * 2;
  unsigned base = seven ? 32 : 64;
  std::string s;
  do {
    unsigned digit = static_cast<unsigned>(n % base);
    n /= base;
    if (n == 0)
      s += static_cast<char>(digit + (seven ? 95 : 191));
    else
      s += static_cast<char>(digit + 63);
  } while (n);
  return s;
}

TEST(PlotEncoded, RelativeAbsoluteAndPenUp) {
  std::string pe = "SP1;PU400,400;PE" + Encoded(400) + Encoded(0) + "<" + Encoded(0) + Encoded(400) +
                   Encoded(-400) + Encoded(0) + "=" + Encoded(0) + Encoded(0) + Encoded(40) + Encoded(-40) + ";";
  EXPECT_EQ(Play(pe), (std::vector<std::string>{"colour 12", "line 10 10 20 10", "line 20 20 10 20",
                                                 "line 10 20 0 0", "line 0 0 1 -1"}));
}

TEST(PlotEncoded, SevenBitModeAndLargeNumbers) {
  std::string pe = "SP1;PU0,0;PE7" + Encoded(123456, true) + Encoded(-654321, true) + ";";
  EXPECT_EQ(Play(pe), (std::vector<std::string>{"colour 12", "line 0 0 3086.4 -16358.025"}));
  std::string pe8 = "SP1;PU0,0;PE" + Encoded(123456) + Encoded(-654321) + ";";
  EXPECT_EQ(Play(pe8), (std::vector<std::string>{"colour 12", "line 0 0 3086.4 -16358.025"}));
}

TEST(PlotEncoded, PenSelectionAndPenStaysDown) {
  std::string pe = "SP1;PU0,0;PE:" + Encoded(2) + Encoded(40) + Encoded(0) + ";PA80,0;";
  EXPECT_EQ(Play(pe), (std::vector<std::string>{"colour 14", "line 0 0 1 0", "line 1 0 2 0"}));
}

TEST(PlotEncoded, FractionalBits) {
  std::string pe = "SP1;PU0,0;PE>" + Encoded(1) + Encoded(80) + Encoded(0) + ";";
  EXPECT_EQ(Play(pe), (std::vector<std::string>{"colour 12", "line 0 0 1 0"}));
}

TEST(PlotEncoded, IncompletePairIsDropped) {
  std::string pe = "SP1;PU0,0;PE" + Encoded(40) + ";PD0,40;";
  EXPECT_EQ(Play(pe), (std::vector<std::string>{"colour 12", "line 0 0 0 1"}));
}

// Pen, character set, size and direction live on from picture to picture;
// the position does not.
TEST(PlotState, LivesBetweenPictures) {
  PlotState st;
  Play("SP2;CS3;SI0.1,0.2;DI0,1;PU400,400;PD;", st);
  EXPECT_EQ(Play("PD400,0;LBu}\x03", st), (std::vector<std::string>{"colour 14", "label \u00FC 10 0 2 1 90"}));
  EXPECT_TRUE(st.penDown);
}

TEST(PlotPen, ColourTable) {
  const int want[] = {0, 12, 14, 10, 11, 9, 13, 15, 8, 9};
  for (int pen = 0; pen < 10; ++pen) EXPECT_EQ(PlotPenColour(pen), want[pen]) << pen;
}

// Hostile numbers never make the player misbehave.
TEST(PlotHostile, HugeAndStrangeNumbers) {
  auto out = Play("SP99999999999;PU1e300,-1e300;PD1e300,1e300;CI1e308;AA0,0,1e300;SI1e300,1e300;LBx\x03");
  ASSERT_FALSE(out.empty());
  for (const auto& l : out) EXPECT_EQ(l.find("nan"), std::string::npos) << l;
  for (const auto& l : out) EXPECT_EQ(l.find("inf"), std::string::npos) << l;
  std::string many(100000, '?');
  EXPECT_TRUE(Play("PE" + many + ";").empty());
}

// Relative pairs that add up beyond the coordinate range stop at its end.
TEST(PlotHostile, RelativePairsStayInRange) {
  std::string pe = "PU0,0;PE";
  for (int i = 0; i < 100; ++i) pe += Encoded(1LL << 30) + Encoded(0);
  pe += ";";
  PlotState st;
  Play(pe, st);
  EXPECT_EQ(st.x, 1073741824.0L * 0.025L);
  EXPECT_EQ(st.y, 0);
}

// The display list canvas draws through the engine's own primitives.
TEST(PlotCanvasOfTheList, UsesTheEngine) {
  DisplayList list;
  list.Header(0, 0, 160, 120);
  size_t before = list.size();
  DisplayListCanvas canvas(list);
  PlotState st;
  PlayPlot("SP1;PU0,0;PD400,0;CI40;PU400,400;SI0.1,0.2;LBx\x03", canvas, st, [](std::string_view s) { return std::string(s); });
  EXPECT_EQ(list.GetColor(), 12);
  EXPECT_GE(list.size(), before + 5);  // colour, line, circle, text style, text
}

}  // namespace
}  // namespace kamo
