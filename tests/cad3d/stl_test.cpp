// STL output: the wall facets, both file forms, the cam commands, and what
// admesh reads from the files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>

#include "cad/cadstl.h"
#include "core/geometry.h"
#include "fixture.h"

namespace kamo {
namespace {

using test::Cad3dFixture;

struct Facet {
  float v[4][3];  // normal, three vertices
};
std::vector<Facet> BinaryFacets(const std::string& b) {
  std::vector<Facet> out;
  for (size_t at = 84; at + 50 <= b.size(); at += 50) {
    Facet f;
    std::memcpy(f.v, b.data() + at, 48);
    out.push_back(f);
  }
  return out;
}
std::uint32_t BinaryCount(const std::string& b) {
  std::uint32_t n = 0;
  std::memcpy(&n, b.data() + 80, 4);
  return n;
}

TEST(Stl, Numbers) {
  struct Case {
    Real x;
    const char* text;
  } cases[] = {{12.5L, "1.25E+01"}, {-0.5L, "-5.00E-01"}, {0, "0.00E+00"}, {-0.0L, "0.00E+00"},
               {1e-120L, "1.00E-120"}, {999.6L, "1.00E+03"}, {1, "1.00E+00"}};
  for (const Case& c : cases) EXPECT_EQ(StlNumber(c.x), c.text) << static_cast<double>(c.x);
  EXPECT_EQ(StlNumber(0.1f, 8), "1.00000001E-01");
}

TEST(Stl, AsciiWallOfOneLine) {
  Cad3dFixture f;
  f.settings.stlType = 1;
  f.begin(kCadStl, 5);
  f.cad->CadLine(0, 0, 10, 0);
  f.cad->CadText("ignored", 1, 1);
  f.cad->CadLine(3, 3, 3, 3);  // no length: no wall
  std::string text = f.end("stl");
  EXPECT_EQ(text,
            "solid QUORSOLID\r\n"
            "  facet normal 0.00E+00 -1.00E+00 0.00E+00\r\n    outer loop\r\n"
            "      vertex 0.00E+00 0.00E+00 0.00E+00\r\n"
            "      vertex 1.00E+01 0.00E+00 0.00E+00\r\n"
            "      vertex 0.00E+00 0.00E+00 5.00E+00\r\n"
            "    endloop\r\n  endfacet\r\n"
            "  facet normal 0.00E+00 -1.00E+00 0.00E+00\r\n    outer loop\r\n"
            "      vertex 1.00E+01 0.00E+00 0.00E+00\r\n"
            "      vertex 1.00E+01 0.00E+00 5.00E+00\r\n"
            "      vertex 0.00E+00 0.00E+00 5.00E+00\r\n"
            "    endloop\r\n  endfacet\r\n"
            "endsolid QUORSOLID\r\n");
}

TEST(Stl, BinaryLayoutAndFacetCounts) {
  struct Case {
    const char* what;
    std::function<void(CadOutput&)> draw;
    long facets;
  } cases[] = {
      {"text only", [](CadOutput& c) { c.CadText("A", 0, 0); }, 0},
      {"line", [](CadOutput& c) { c.CadLine(0, 0, 10, 0); }, 2},
      {"circle r 10", [](CadOutput& c) { c.CadCircle(0, 0, 10); }, 1256},
      {"circle r 1", [](CadOutput& c) { c.CadCircle(5, 5, 1); }, 126},
      {"bore r 1", [](CadOutput& c) { c.CadHoleCircle(5, 5, 1); }, 126},
      {"solid", [](CadOutput& c) { c.CadSolid(0, 0, 1, 0, 1, 1, 0, 1); }, 8},
      {"zero radius arc", [](CadOutput& c) { c.CadArc(0, 0, 0, 90, 0); }, 0},
      // A quarter of radius 10: 15.7 mm long, 157 segments of 0.1 mm.
      {"arc", [](CadOutput& c) { c.CadArc(0, 0, 0, 90, 10); }, 314},
  };
  for (const Case& c : cases) {
    Cad3dFixture f;
    f.begin(kCadStl, 5);
    c.draw(*f.cad);
    std::string b = f.end("stl");
    ASSERT_EQ(b.size(), 84u + 50u * static_cast<size_t>(c.facets)) << c.what;
    EXPECT_EQ(b.substr(0, 43), kStlHeaderText) << c.what;
    EXPECT_EQ(b.substr(0, 80).find('\0'), std::string::npos) << c.what;  // blank-padded
    EXPECT_EQ(BinaryCount(b), static_cast<std::uint32_t>(c.facets)) << c.what;
    for (size_t at = 84 + 48; at < b.size(); at += 50) ASSERT_EQ(b.substr(at, 2), "XX") << c.what;
  }
}

// The facets of a wall face to the right of the line, and so does their
// winding: out of a disc drawn counter-clockwise and into a bore drawn clockwise.
TEST(Stl, BinaryNormalsAgreeWithWinding) {
  Cad3dFixture f;
  f.begin(kCadStl, 4);
  f.cad->CadCircle(0, 0, 3);
  f.cad->CadHoleCircle(20, 0, 3);
  auto facets = BinaryFacets(f.end("stl"));
  ASSERT_FALSE(facets.empty());
  for (const Facet& t : facets) {
    float ax = t.v[2][0] - t.v[1][0], ay = t.v[2][1] - t.v[1][1], az = t.v[2][2] - t.v[1][2];
    float bx = t.v[3][0] - t.v[1][0], by = t.v[3][1] - t.v[1][1], bz = t.v[3][2] - t.v[1][2];
    float nx = ay * bz - az * by, ny = az * bx - ax * bz;
    EXPECT_GT(nx * t.v[0][0] + ny * t.v[0][1], 0);
    // Circle walls face away from the centre (out of the disc), bore walls towards it.
    float cx = t.v[1][0] < 10 ? 0 : 20;
    float outward = (t.v[1][0] - cx) * t.v[0][0] + t.v[1][1] * t.v[0][1];
    if (cx == 0) EXPECT_GT(outward, 0);
    else EXPECT_LT(outward, 0);
  }
}

TEST(Stl, HeightPromptAndRefusedZeroHeight) {
  {  // interactive: the prompt is asked even for a cam width of 0
    Cad3dFixture f(false);
    f.port.files.push_back(f.temp.file("cam.stl"));
    f.port.texts.push_back("7");
    f.cad->CadOpen(kCadStl, "KAMO");
    f.cad->CadWindow(0, 0, 10, 10, 0);
    ASSERT_EQ(f.port.textPrompts.size(), 1u);
    EXPECT_NE(f.port.textPrompts[0].label.find("H\xC3\xB6he"), std::string::npos);
    f.cad->CadBeginEntities();
    f.cad->CadLine(0, 0, 1, 0);
    f.cad->CadEndSection();
    EXPECT_TRUE(f.cad->CadClose());
    auto t = BinaryFacets(test::ReadFileBytes(f.temp.file("cam.stl")));
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1].v[2][2], 7.0f);
  }
  {  // batch with width 0: refused with a message, nothing written
    Cad3dFixture f;
    f.begin(kCadStl, 0);
    EXPECT_TRUE(f.flags.abortFlag);
    f.cad->CadLine(0, 0, 1, 0);
    f.end("stl");
    EXPECT_FALSE(std::filesystem::exists(f.temp.file("out.stl")));
    ASSERT_FALSE(f.port.boxes.empty());
    EXPECT_NE(f.port.boxes.back().text.find("STL"), std::string::npos);
  }
  {  // a cancelled prompt keeps the default height
    Cad3dFixture f(false);
    f.port.files.push_back(f.temp.file("cam.stl"));
    f.port.texts.push_back(std::nullopt);
    f.cad->CadOpen(kCadStl, "KAMO");
    f.cad->CadWindow(0, 0, 10, 10, 3);
    EXPECT_FALSE(f.flags.abortFlag);
    EXPECT_TRUE(f.cad->heightCancelled());
    f.cad->CadBeginEntities();
    f.cad->CadLine(0, 0, 1, 0);
    EXPECT_TRUE(f.cad->CadClose());
    EXPECT_EQ(BinaryFacets(test::ReadFileBytes(f.temp.file("cam.stl")))[1].v[2][2], 3.0f);
  }
}

std::vector<std::array<Real, 3>> Square(Real a) {
  Real h = a / 2;
  return {{h, -h, 0}, {h, h, 0}, {-h, h, 0}, {-h, -h, 0}, {h, -h, 0}};
}

Real FacetArea(const Facet& t) {
  Real ax = t.v[2][0] - t.v[1][0], ay = t.v[2][1] - t.v[1][1], az = t.v[2][2] - t.v[1][2];
  Real bx = t.v[3][0] - t.v[1][0], by = t.v[3][1] - t.v[1][1], bz = t.v[3][2] - t.v[1][2];
  return std::sqrt(std::pow(ay * bz - az * by, 2) + std::pow(az * bx - ax * bz, 2) +
                   std::pow(ax * by - ay * bx, 2)) / 2;
}

// Cancelling the bore prompt keeps the stored bore; a bore of 0 gets 1 %
// of the cam's extent in this file only.
TEST(Stl, CamBorePrompt) {
  struct Case {
    Real stored;
    std::optional<std::string> answer;
    Real keptBore, fileBore;
  } cases[] = {{20, std::nullopt, 20, 20}, {20, "30", 30, 30}, {0, std::nullopt, 0, 1}, {0, "0", 0, 1}};
  for (const Case& c : cases) {
    Cad3dFixture f(false);
    auto cam = test::OutlineCam(Square(100), c.stored, 10);
    f.port.files.push_back(f.temp.file("cam.stl"));
    f.port.texts.push_back("10");
    f.port.texts.push_back(c.answer);
    ASSERT_TRUE(StlCam(*f.cad, *cam, false));
    EXPECT_EQ(cam->body.bore, c.keptBore);
    auto facets = BinaryFacets(test::ReadFileBytes(f.temp.file("cam.stl")));
    float maxBore = 0;
    for (const Facet& t : facets)
      if (std::fabs(t.v[1][0]) < 40 && std::fabs(t.v[1][1]) < 40)
        maxBore = std::max(maxBore, std::hypot(t.v[1][0], t.v[1][1]));
    EXPECT_NEAR(maxBore, c.fileBore / 2, 1e-4);
  }
}

Real ArcOutlineArea(const CamProject& p) {
  Real a = 0;
  int n = p.basePointCount;
  for (int i = 1; i <= n; ++i) {  // the closing edge too
    const ContourPoint& s = p.basePoints[static_cast<size_t>(i)];
    const ContourPoint& e = p.basePoints[static_cast<size_t>(i < n ? i + 1 : 1)];
    a += (s.x * e.y - e.x * s.y) / 2;
    Real phi = std::fabs(s.phi);
    if (phi > 0) {
      Real chord = std::hypot(e.x - s.x, e.y - s.y);
      Real R = chord / (2 * std::sin(phi / 2));
      a += (s.phi > 0 ? 1 : -1) * R * R / 2 * (phi - std::sin(phi));
    }
  }
  return std::fabs(a);
}
Real BoreArea(Real d, Real res) {
  Real r = d / 2;
  long n = std::lround(2 * kPi * r / res);
  return n * r * r * std::sin(2 * kPi / n) / 2;
}

// admesh reads every form we write; walls-only files have exactly the wall
// area, closed solids are watertight with the expected volume.
TEST(Stl, AdmeshReadsWallsAndSolids) {
  Cad3dFixture f;
  struct Job {
    std::string name;
    std::unique_ptr<CamProject> cam;
    bool closed;
    int stlType;
    Real height;
  };
  std::vector<Job> jobs;
  jobs.push_back({"square_walls_bin", test::OutlineCam(Square(100), 20, 10), false, 0, 10});
  jobs.push_back({"square_walls_ascii", test::OutlineCam(Square(100), 20, 10), false, 1, 10});
  {  // a contour drawn clockwise: its walls still face out of the material
    auto cw = Square(100);
    std::reverse(cw.begin(), cw.end());
    jobs.push_back({"square_walls_cw", test::OutlineCam(cw, 20, 10), false, 0, 10});
  }
  jobs.push_back({"square_solid_bin", test::OutlineCam(Square(100), 20, 10), true, 0, 10});
  jobs.push_back({"square_solid_ascii", test::OutlineCam(Square(100), 20, 10), true, 1, 10});
  for (const char* ex : {"sine.kmo", "polygon.kmo", "points.kmo", "eccentric.kmo", "formula.kmo"}) {
    auto cam = test::ExampleCam(ex, f.settings);
    ASSERT_TRUE(cam) << ex;
    if (cam->body.width <= 0) cam->body.width = 12;
    if (cam->body.bore <= 0) cam->body.bore = 0.2L * cam->results.xSize;
    Real h = cam->body.width;
    jobs.push_back({std::string(ex) + "_solid", std::move(cam), true, 0, h});
  }
  {  // walls of arcs in segments
    auto cam = test::ExampleCam("points.kmo", f.settings);
    ASSERT_TRUE(cam);
    cam->body.width = 5;
    jobs.push_back({"points_walls", std::move(cam), false, 0, 5});
  }
  std::vector<std::string> files;
  std::vector<long> counts;
  for (Job& j : jobs) {
    Cad3dFixture g;
    g.settings.stlType = j.stlType;
    ASSERT_TRUE(StlCam(*g.cad, *j.cam, j.closed)) << j.name;
    std::string path = f.temp.file(j.name + ".stl");
    test::WriteFileBytes(path, test::ReadFileBytes(g.temp.file("out.stl")));
    files.push_back(path);
    if (j.stlType == 0) {
      std::string b = test::ReadFileBytes(path);
      counts.push_back(static_cast<long>(BinaryCount(b)));
      if (!j.closed && j.name.rfind("square", 0) == 0) {
        Real area = 0;
        for (const Facet& t : BinaryFacets(b)) area += FacetArea(t);
        Real expect = (400 + 2 * kPi * 10) * 10;
        EXPECT_NEAR(area, expect, 1e-3L * expect) << j.name;
        EXPECT_NEAR(area, (400 + 2 * 628 * 10 * std::sin(kPi / 628)) * 10, 1e-6L * expect) << j.name;
      }
    } else {
      counts.push_back(-1);
    }
  }
  auto reports = test::RunAdmesh(files);
  ASSERT_FALSE(reports.empty()) << "admesh is not installed (scripts/install-deps.sh)";
  for (size_t i = 0; i < jobs.size(); ++i) {
    const auto& r = reports[i];
    const Job& j = jobs[i];
    ASSERT_TRUE(r.read) << j.name << "\n" << r.text;
    EXPECT_EQ(r.text.find("rror"), std::string::npos) << r.text;
    if (counts[i] >= 0) {
      EXPECT_EQ(r["Number of facets"], counts[i]) << j.name;
    }
    // Three significant digits cannot hold a unit normal within admesh's 0.001.
    if (j.stlType == 0 || j.closed) {
      EXPECT_EQ(r["Normals fixed"], 0) << j.name << "\n" << r.text;
    }
    EXPECT_EQ(r["Backwards edges"], 0) << j.name << "\n" << r.text;
    EXPECT_EQ(r["Facets reversed"], 0) << j.name << "\n" << r.text;
    EXPECT_EQ(r["Degenerate facets"], 0) << j.name << "\n" << r.text;
    Real res = f.settings.arcLineResolution;
    Real expect = (ArcOutlineArea(*j.cam) - BoreArea(j.cam->body.bore, res)) * j.height;
    if (!j.closed) {
      // Walls out of the material: their share of the divergence volume is
      // two thirds of the body's and positive (inside-out walls give it negative).
      if (j.name.rfind("square", 0) == 0) {
        EXPECT_NEAR(r["Volume"], 2 * expect / 3, 1e-3L * expect) << j.name << "\n" << r.text;
      }
      continue;
    }
    EXPECT_EQ(r["Total disconnected facets final"], 0) << j.name << "\n" << r.text;
    EXPECT_EQ(r["Number of parts"], 1) << j.name << "\n" << r.text;
    EXPECT_NEAR(r["Volume"], expect, 1e-3L * expect) << j.name << "\n" << r.text;
  }
}

TEST(Stl, TriangulationCoversTheRegion) {
  // A comb with notches and two holes, one of them touching nothing.
  std::vector<StlPoint> comb = {{0, 0}, {10, 0}, {10, 10}, {8, 10}, {8, 3}, {6, 3}, {6, 10},
                                {4, 10}, {4, 3}, {2, 3}, {2, 10}, {0, 10}};
  std::vector<std::vector<StlPoint>> holes = {{{1, 1}, {1, 2}, {2, 2}, {2, 1}},
                                              {{7, 1}, {7, 2}, {9, 2}, {9, 1}}};
  auto tris = TriangulateRegion(comb, holes);
  std::vector<StlPoint> all = comb;
  for (const auto& h : holes) all.insert(all.end(), h.begin(), h.end());
  double area = 0;
  for (const auto& t : tris) {
    const StlPoint &a = all[static_cast<size_t>(t[0])], &b = all[static_cast<size_t>(t[1])],
                   &c = all[static_cast<size_t>(t[2])];
    double s = ((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2;
    EXPECT_GT(s, 0);
    area += s;
  }
  EXPECT_NEAR(area, 100 - 2 * 2 * 7 - 1 - 2, 1e-9);
  EXPECT_EQ(tris.size(), comb.size() + 8 + 4 - 2);
}

// The caps of every example's solid have no needles: collinear contour
// points (straight sides of the polygon, flat stretches) stay out of them,
// and no sliver runs from a far corner along a row of close points.
TEST(Stl, CapTrianglesOfEveryExampleAreNoNeedles) {
  for (const char* ex : {"formula", "ellipse", "sine", "linear_sine", "points", "polygon", "polynomial",
                         "fit_points", "eccentric", "polar_points", "sin_square"}) {
    Cad3dFixture g;
    auto cam = test::ExampleCam(std::string(ex) + ".kmo", g.settings);
    ASSERT_TRUE(cam) << ex;
    ASSERT_TRUE(StlCam(*g.cad, *cam, true)) << ex;
    double flattest = 1, smallest = 1e9;
    int caps = 0;
    for (const Facet& t : BinaryFacets(test::ReadFileBytes(g.temp.file("out.stl")))) {
      if (t.v[0][2] == 0) continue;  // walls
      ++caps;
      double longest = 0;
      for (int a = 1; a <= 3; ++a) {
        int b = a % 3 + 1;
        longest = std::max(longest, std::hypot(double(t.v[a][0]) - t.v[b][0], double(t.v[a][1]) - t.v[b][1]));
      }
      double area = static_cast<double>(FacetArea(t));
      flattest = std::min(flattest, 2 * area / (longest * longest));
      smallest = std::min(smallest, area);
    }
    EXPECT_GT(caps, 0) << ex;
    // Twice the height over the longest edge: needles of collinear points are below 1e-8.
    EXPECT_GE(flattest, 1e-4) << ex;
    EXPECT_GT(smallest, 1e-6) << ex;
  }
}

}  // namespace
}  // namespace kamo
