// The DXF groups: number forms, entities, tables and the arc convention.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "cad/dxfreader.h"
#include "cad/dxfwriter.h"

namespace kamo {
namespace {

TEST(DxfWriter, NumberForms) {
  struct Case {
    Real x;
    int decimals;
    const char* fixed;
  } cases[] = {{12.5L, 6, "12.500000"}, {-0.25L, 6, "-0.250000"}, {0, 6, "0.000000"},
               {1.0L / 3, 2, "0.33"},   {-1e-9L, 3, "0.000"},      {1e20L, 1, "100000000000000000000.0"}};
  for (const Case& c : cases) EXPECT_EQ(DxfFixed(c.x, c.decimals), c.fixed) << c.fixed;
  struct Short {
    Real x;
    const char* text;
  } shorts[] = {{1.0L, "1"}, {0.7L, "0.7"}, {12.5L, "12.5"}, {4e-6L, "0"}, {270, "270"}, {1234.4L, "1234"}};
  for (const Short& s : shorts) EXPECT_EQ(DxfShort(s.x), s.text);
}

// The fixed form is worked out from the exact product; it must be the
// library's correctly rounded form, also for numbers that lie exactly or
// within one unit of the last place halfway between two decimals.
TEST(DxfWriter, FixedFormRoundsAsTheLibrary) {
  auto reference = [](Real x, int decimals) {
    char buf[128];
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    std::string s(buf, r.ptr);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
  };
  std::mt19937_64 rng(20261211);
  std::uniform_real_distribution<double> unit(-1, 1);
  for (int n = 0; n < 100000; ++n) {
    const int decimals = static_cast<int>(rng() % 19);
    const Real x = static_cast<Real>(unit(rng)) * std::pow(10.0L, static_cast<int>(rng() % 25) - 8);
    ASSERT_EQ(DxfFixed(x, decimals), reference(x, decimals)) << static_cast<double>(x) << " " << decimals;
    // q / 2^(d+1) with q odd lies halfway at d decimals.
    const Real tie = std::ldexp(static_cast<Real>((rng() % 1000000) * 2 + 1), -(decimals + 1)) * (rng() % 2 ? 1 : -1);
    for (Real t : {tie, std::nextafter(tie, 0.0L), std::nextafter(tie, tie * 2)})
      ASSERT_EQ(DxfFixed(t, decimals), reference(t, decimals)) << static_cast<double>(t) << " " << decimals;
  }
}

TEST(DxfWriter, EntityGroups) {
  Settings s;
  DxfWriter w(s);
  w.Line(0, 0, 10, 5);
  EXPECT_EQ(w.take(),
            "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n0.000000\r\n 20\r\n0.000000\r\n 11\r\n10.000000\r\n 21\r\n5.000000\r\n");
  w.Vertex(1, 2, 0);
  EXPECT_EQ(w.text().find(" 42"), std::string::npos);
  w.clear();
  w.Vertex(1, 2, kPi);
  EXPECT_NE(w.text().find(" 42\r\n1.000000\r\n"), std::string::npos);
  w.clear();
  w.Text("AB", 1, 2, 5, 1, 0, 0);
  EXPECT_NE(w.text().find(" 41\r\n1\r\n 50\r\n0\r\n 51\r\n0\r\n"), std::string::npos);
  w.clear();
  w.Arc(0, 0, 10, 80, 5, 0);
  EXPECT_EQ(w.text().find("230"), std::string::npos);
  w.clear();
  w.BeginBlocks();
  w.EndSection();
  EXPECT_EQ(w.text(), "  0\r\nSECTION\r\n  2\r\nBLOCKS\r\n  0\r\nENDSEC\r\n");
}

TEST(DxfWriter, TablesModes) {
  Settings s;
  DxfWriter w(s);
  w.Tables(1);
  EXPECT_NE(w.text().find("  2\r\n15\r\n 70\r\n0\r\n 62\r\n16\r\n"), std::string::npos);
  EXPECT_NE(w.text().find("  3\r\nTXT8\r\n  4\r\n\r\n0\r\nENDTAB\r\n  0\r\nENDSEC\r\n"), std::string::npos);
  s.layerMonochrome = true;
  w.clear();
  w.Tables(2);
  EXPECT_EQ(w.text().find(" 62\r\n2\r\n"), std::string::npos);
  EXPECT_NE(w.text().find("  2\r\n31\r\n 70\r\n0\r\n 62\r\n1\r\n"), std::string::npos);
}

// A clockwise arc is written in the mirrored object coordinates and read back
// with its direction; counter-clockwise arcs keep plain angles.
TEST(DxfWriter, ArcDirectionRoundTrip) {
  struct Case {
    Real cx, cy, a1, a2, sweep;
  } cases[] = {{3, 4, 90, 0, -90}, {3, 4, 0, 90, 90}, {-2, 1, 350, 10, 20}, {-2, 1, 10, 350, -20},
               {0, 0, 45, 45, 0}};
  for (const Case& c : cases) {
    Settings s;
    DxfWriter w(s);
    w.BeginEntities();
    w.Arc(c.cx, c.cy, c.a1, c.a2, 2, c.sweep);
    w.EndSection();
    w.End();
    DxfReadResult r = ReadDxf(w.text());
    ASSERT_EQ(r.entities.size(), 1u);
    const DxfEntity& e = r.entities[0];
    EXPECT_NEAR(static_cast<double>(e.x[0]), static_cast<double>(c.cx), 1e-9);
    EXPECT_NEAR(static_cast<double>(e.y[0]), static_cast<double>(c.cy), 1e-9);
    EXPECT_NEAR(static_cast<double>(e.a1), static_cast<double>(c.a1), 1e-9);
    EXPECT_NEAR(static_cast<double>(e.a2), static_cast<double>(c.a2), 1e-9);
    if (c.sweep != 0) {
      EXPECT_NEAR(static_cast<double>(e.sweep), static_cast<double>(c.sweep), 1e-9);
    }
  }
}

TEST(DxfReader, ArcSweepConvention) {
  EXPECT_NEAR(static_cast<double>(DxfArcSweep(350, 10, 0)), 20, 1e-12);
  EXPECT_NEAR(static_cast<double>(DxfArcSweep(350, 10, -1)), -340, 1e-12);
  EXPECT_NEAR(static_cast<double>(DxfArcSweep(0, 90, 1)), 90, 1e-12);
}

}  // namespace
}  // namespace kamo
