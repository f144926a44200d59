// Hatching: boundary points with arcs, the even-odd fill and its limits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "../cad/cad_fixture.h"
#include "graphics/hatch.h"

namespace kamo {
namespace {

using test::CadFixture;

int CountLines(const std::string& entities) {
  int n = 0;
  for (size_t p = 0; (p = entities.find("LINE\t", p)) != std::string::npos; ++p) ++n;
  return n;
}

TEST(Hatch, ArcPoints) {
  struct Case {
    Real angleDeg;
    int points;
  } cases[] = {{90, 10}, {20, 4}, {-90, 10}, {5, 4}, {180, 19}};
  for (const Case& c : cases) {
    CadFixture f;
    Hatch h(*f.cad, f.messages, f.flags);
    h.HatchBegin();
    h.HatchPoint(1, 0, c.angleDeg * kPi / 180);
    h.HatchPoint(0, 1, 0);
    // The first point, then the arc from it (which repeats it) to the second.
    EXPECT_EQ(h.count(), 1 + c.points) << c.angleDeg;
    EXPECT_NEAR(static_cast<double>(h.points().back().x), 0, 1e-12);
    EXPECT_NEAR(static_cast<double>(h.points().back().y), 1, 1e-12);
  }
}

TEST(Hatch, Fill) {
  struct Case {
    const char* what;
    std::function<void(Hatch&)> draw;
    int lines;  // boundary edges + hatch lines
  } cases[] = {
      {"rect 45 auto spacing 1", [](Hatch& h) { h.HatchRect(0, 0, 10, 10, 0, 45); }, 4 + 14},
      {"open square, tenth of the range",
       [](Hatch& h) { h.HatchBegin(); h.HatchPoint(0, 0, 0); h.HatchPoint(10, 0, 0); h.HatchPoint(10, 10, 0);
                      h.HatchPoint(0, 10, 0); h.HatchFill(0, 0, 45); }, 4 + 8},  // w = 0 meets two corners only
      {"angle 0: boundary only", [](Hatch& h) { h.HatchRect(0, 0, 10, 10, 1, 0); }, 4},
      {"ring of two squares: even-odd",
       [](Hatch& h) { h.HatchBegin();
                      for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {3, 3}, {3, 7}, {7, 7}, {7, 3}, {3, 3}})
                        h.HatchPoint(x, y, 0);
                      h.HatchFill(0, 0.5L, 90.0001L); }, -1},
  };
  for (const Case& c : cases) {
    CadFixture f;
    f.begin(kCadText);
    Hatch h(*f.cad, f.messages, f.flags);
    c.draw(h);
    std::string e = CadFixture::entities(f.end("txt"));
    if (c.lines >= 0) EXPECT_EQ(CountLines(e), c.lines) << c.what;
    else EXPECT_GT(CountLines(e), 9) << c.what;
    EXPECT_TRUE(f.messages.empty()) << c.what;
  }
}

// Nothing of a hatch line falls into the hole of a ring.
TEST(Hatch, HoleStaysEmpty) {
  CadFixture f;
  f.begin(kCadText);
  Hatch h(*f.cad, f.messages, f.flags);
  h.HatchBegin();
  for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {3, 3}, {3, 7}, {7, 7}, {7, 3}, {3, 3}})
    h.HatchPoint(x, y, 0);
  h.HatchFill(0, 0.7L, 30);
  std::istringstream in(CadFixture::entities(f.end("txt")));
  int crossing = 0;
  for (std::string l; std::getline(in, l);) {
    double x1, y1, x2, y2;
    if (std::sscanf(l.c_str(), "LINE\t%lf\t%lf\t%lf\t%lf", &x1, &y1, &x2, &y2) != 4) continue;
    double mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
    if (mx > 3.01 && mx < 6.99 && my > 3.01 && my < 6.99) ++crossing;
  }
  EXPECT_EQ(crossing, 0);
}

TEST(Hatch, Limits) {
  // 2000 points that do not close need a 2001st: too many.
  for (int n : {1999, 2000, 2001}) {
    CadFixture f;
    f.begin(kCadText);
    Hatch h(*f.cad, f.messages, f.flags);
    h.HatchBegin();
    for (int i = 0; i < n; ++i) {
      Real a = 2 * kPi * i / 2100;
      h.HatchPoint(10 * std::cos(a), 10 * std::sin(a), 0);
    }
    h.HatchFill(0, 1, 45);
    EXPECT_EQ(f.messages.contains("Fatal  : n schraff !"), n >= 2000) << n;
    EXPECT_EQ(f.messages.contains("Schraffurfehler"), n > 2000) << n;
    f.end("txt");
  }
  // A comb of 60 teeth: more than 100 cut points on one line.
  CadFixture f;
  f.begin(kCadText);
  Hatch h(*f.cad, f.messages, f.flags);
  h.HatchBegin();
  for (int i = 0; i < 60; ++i) {
    h.HatchPoint(2 * i, 0, 0);
    h.HatchPoint(2 * i + 1, 10, 0);
  }
  h.HatchPoint(120, 0, 0);
  h.HatchPoint(120, -5, 0);
  h.HatchPoint(0, -5, 0);
  h.HatchFill(0, 0, 1);
  EXPECT_TRUE(f.messages.contains("Fatal  : schraff schnittp"));
  EXPECT_TRUE(f.flags.abortFlag);
}

}  // namespace
}  // namespace kamo
