// The follower drawing of the A3 sheet and the animation.
#include <gtest/gtest.h>

#include "../cad/cad_fixture.h"
#include "graphics/follower.h"

namespace kamo {
namespace {

using test::CadFixture;

// A follower left without length or diameter is drawn with stand-in sizes;
// the project keeps its zeros (a drawing never changes the project).
TEST(Follower, FlatRoundAndMissingDimensions) {
  struct Case {
    int type;
    double d, l;
    const char* element;  // the first element drawn
    double dAfter, lAfter;
  } cases[] = {
      {1, 10, 30, "LINE\t5.000000\t-5.000000\t35.000000\t-5.000000", 10, 30},
      {2, 10, 30, "ARC\t10.000000\t0.000000\t5.000000\t90.000000\t270.000000", 10, 30},
      {1, 0, 0, "LINE\t5.000000\t-2.500000\t65.000000\t-2.500000", 0, 0},  // 0.05 ySize, 0.3 xSize
      {2, 0, 30, "ARC\t7.500000\t0.000000\t2.500000\t90.000000\t270.000000", 0, 30},
  };
  for (const Case& c : cases) {
    CadFixture f;
    CamProject p;
    p.results.xSize = 200;
    p.results.ySize = 100;
    p.ram.type = static_cast<std::uint16_t>(c.type);
    p.ram.d = c.d;
    p.ram.l = c.l;
    f.begin(kCadText);
    DrawFollower(*f.cad, p, 5);
    std::string t = f.entities(f.end("txt"));
    EXPECT_EQ(t.rfind(c.element, 0), 0u) << c.type << "\n" << t;
    EXPECT_NEAR(static_cast<double>(p.ram.d), c.dAfter, 1e-12);
    EXPECT_NEAR(static_cast<double>(p.ram.l), c.lAfter, 1e-12);
  }
}

TEST(Follower, GuidesAreTwoHatchedBars) {
  CadFixture f;
  CamProject p;
  p.results.rMin = 40;
  p.results.rMax = 60;
  p.results.stroke = 20;
  p.ram.d = 10;
  p.ram.l = 30;
  f.begin(kCadText);
  DrawFollowerGuides(*f.cad, p, f.messages, f.flags);
  std::string t = f.entities(f.end("txt"));
  // From x0 = 61 to x1 = max(61 + 30 - 22, 60 + 25) = 85, between d/2 and d on both sides.
  for (const char* corner : {"\t61.000000\t5.000000", "\t85.000000\t10.000000", "\t61.000000\t-5.000000",
                             "\t85.000000\t-10.000000"})
    EXPECT_NE(t.find(corner), std::string::npos) << corner;
  EXPECT_GT(std::count(t.begin(), t.end(), '\n'), 12);
}

// The guides of a follower without sizes lie where the drawn follower is:
// between its stand-in half diameter and diameter, and reach its stand-in length.
TEST(Follower, GuidesUseTheStandInSizes) {
  CadFixture f;
  CamProject p;
  p.results.rMin = 40;
  p.results.rMax = 60;
  p.results.stroke = 20;
  p.results.xSize = 200;  // l = 60
  p.results.ySize = 200;  // d = 10
  p.ram.d = 0;
  p.ram.l = 0;
  f.begin(kCadText);
  DrawFollowerGuides(*f.cad, p, f.messages, f.flags);
  std::string t = f.entities(f.end("txt"));
  // x1 = max(61 + 60 - 22, 85) = 99.
  EXPECT_EQ(t.find("\t85.000000\t10.000000"), std::string::npos);
  for (const char* corner : {"\t61.000000\t5.000000", "\t99.000000\t10.000000", "\t99.000000\t-10.000000"})
    EXPECT_NE(t.find(corner), std::string::npos) << corner << "\n" << t;
  EXPECT_EQ(p.ram.d, 0);
  EXPECT_EQ(p.ram.l, 0);
}

}  // namespace
}  // namespace kamo
