// The cam solid and the closed contour curve in STEP: what OpenCASCADE's
// DRAW reads from the files (one valid solid of the expected volume and box,
// one closed wire of the contour's area), the header, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <regex>
#include <sstream>

#include "cad/stepsolid.h"
#include "cam/kamorech.h"
#include "fixture.h"

namespace kamo {
namespace {

constexpr double kPiD = 3.14159265358979323846;

std::vector<ProfileVertex> Profile(const CamProject& p) {
  std::vector<ProfileVertex> v;
  for (int i = 1; i <= p.basePointCount; ++i) {
    const ContourPoint& q = p.basePoints[static_cast<size_t>(i)];
    v.push_back({static_cast<double>(q.x), static_cast<double>(q.y), static_cast<double>(q.phi)});
  }
  return v;
}

StepFileInfo Info(const std::string& product) {
  return {product, "KAMO cam disc", "/tmp/cam.stp", "2026-12-09T09:30:05", "KAMO", "KAMO 5.1"};
}

std::vector<ProfileVertex> Square(double a, bool clockwise = false) {
  double h = a / 2;
  std::vector<ProfileVertex> v = {{h, -h, 0}, {h, h, 0}, {-h, h, 0}, {-h, -h, 0}, {h, -h, 0}};
  if (clockwise) std::reverse(v.begin(), v.end());
  return v;
}

// A 60 x 40 slot: two straight sides, two half circles (radius 20).
std::vector<ProfileVertex> Slot(bool clockwise) {
  double s = clockwise ? -1 : 1;
  std::vector<ProfileVertex> v = {{-30, -20, 0}, {30, -20, s * kPiD}, {30, 20, 0}, {-30, 20, s * kPiD}};
  if (clockwise) {
    // The same outline the other way round: each arc on the point it starts from.
    v = {{-30, -20, -kPiD}, {-30, 20, 0}, {30, 20, -kPiD}, {30, -20, 0}};
  }
  return v;
}

std::unique_ptr<CamProject> Cam1999(Settings& settings) {
  auto cam = test::ExampleCam("sine.kmo", settings);
  if (!cam) return cam;
  cam->calc.steps = 1999;
  MessageList m;
  Flags flags;
  Calculate(*cam, m, flags, settings);
  return flags.calcError ? nullptr : std::move(cam);
}

// The numbers DRAW printed after a marker line "#### tag".
struct DrawFacts {
  std::string text;
  int count(const std::string& kind) const {
    std::smatch m;
    std::regex re(" " + kind + " +: +([0-9]+)");
    return std::regex_search(text, m, re) ? std::stoi(m[1]) : -1;
  }
  double value(const std::string& key) const {
    std::smatch m;
    std::regex re(key + " *: *([-0-9.eE+]+)");
    return std::regex_search(text, m, re) ? std::stod(m[1]) : NAN;
  }
};
std::map<std::string, DrawFacts> Split(const std::string& out) {
  std::map<std::string, DrawFacts> facts;
  std::istringstream in(out);
  std::string line, tag;
  while (std::getline(in, line)) {
    if (line.rfind("#### ", 0) == 0) {
      tag = line.substr(5);
      continue;
    }
    if (!tag.empty()) facts[tag].text += line + "\n";
  }
  return facts;
}

struct SolidCase {
  std::string name;
  std::vector<ProfileVertex> contour;
  double bore, height;
  double volume;                    // expected
  double xMin, xMax, yMin, yMax;    // expected box
  int faces;                        // expected, 0: not checked
};

// A box printed by "bounding -optimal": "xmin ymin zmin xmax ymax zmax".
std::array<double, 6> Box(const std::string& text) {
  std::array<double, 6> b{NAN, NAN, NAN, NAN, NAN, NAN};
  std::istringstream in(text.substr(text.find("BOX") + 3));
  for (double& v : b) in >> v;
  return b;
}

// Every example, the 1999-step cam and outlines with exact pieces: DRAW reads
// one valid solid of (A - bore) x width, inside the cam's box.
TEST(StepSolid, DrawReadsOneValidSolidOfEveryCam) {
  test::TempFolder temp;
  Settings settings;
  std::vector<SolidCase> cases;
  cases.push_back({"square", Square(100), 10, 10, (10000 - kPiD * 100) * 10, -50, 50, -50, 50, 4 + 2 + 1});
  cases.push_back({"square_cw", Square(100, true), 10, 10, (10000 - kPiD * 100) * 10, -50, 50, -50, 50, 7});
  double slot = 60 * 40 + kPiD * 400;
  cases.push_back({"slot", Slot(false), 5, 8, (slot - kPiD * 25) * 8, -50, 50, -20, 20, 4 + 2 + 1});
  cases.push_back({"slot_cw", Slot(true), 5, 8, (slot - kPiD * 25) * 8, -50, 50, -20, 20, 7});
  cases.push_back({"no_bore", Square(20), 0, 3, 400 * 3, -10, 10, -10, 10, 6});
  auto add = [&](const std::string& name, const CamProject& p, int faces) {
    double width = p.body.width > 0 ? static_cast<double>(p.body.width) : 12;
    double bore = p.body.bore > 0 ? static_cast<double>(p.body.bore) : 0.2 * p.results.xSize;
    double a = static_cast<double>(p.section.A);
    cases.push_back({name, Profile(p), bore / 2, width, (std::fabs(a) - kPiD * bore * bore / 4) * width,
                     p.results.xMin, p.results.xMax, p.results.yMin, p.results.yMax, faces});
  };
  for (const char* ex : {"formula", "ellipse", "sine", "linear_sine", "points", "polygon", "polynomial",
                         "fit_points", "eccentric", "polar_points", "sin_square"}) {
    auto cam = test::ExampleCam(std::string(ex) + ".kmo", settings);
    ASSERT_TRUE(cam) << ex;
    add(ex, *cam, 0);
  }
  auto big = Cam1999(settings);
  ASSERT_TRUE(big);
  // A smooth contour is one side face: top, bottom, side and bore.
  add("sine_1999", *big, 4);

  std::string script;
  for (const SolidCase& c : cases) {
    StepBuild b = CamSolidStep(c.contour, c.bore, c.height, Info("Nocken " + c.name));
    ASSERT_TRUE(b.ok) << c.name << ": " << b.error;
    EXPECT_NEAR(b.volume, c.volume, 1e-3 * c.volume) << c.name;
    if (c.faces) {
      EXPECT_EQ(b.faces, c.faces) << c.name;
    }
    std::string file = temp.file(c.name + ".stp");
    test::WriteFileBytes(file, b.bytes);
    // The file says what it is without a reader.
    EXPECT_NE(b.bytes.find("FILE_SCHEMA(('AUTOMOTIVE_DESIGN"), std::string::npos) << c.name;
    EXPECT_NE(b.bytes.find("PRODUCT('Nocken " + c.name + "'"), std::string::npos) << c.name;
    EXPECT_NE(b.bytes.find("SI_UNIT(.MILLI.,.METRE.)"), std::string::npos) << c.name;
    EXPECT_NE(b.bytes.find("LENGTH_MEASURE(1.E-06)"), std::string::npos) << c.name;
    EXPECT_NE(b.bytes.find("'2026-12-09T09:30:05'"), std::string::npos) << c.name;
    size_t breps = 0;
    for (size_t at = 0; (at = b.bytes.find("MANIFOLD_SOLID_BREP(", at)) != std::string::npos; ++at) ++breps;
    EXPECT_EQ(breps, 1u) << c.name;
    script += "puts \"#### " + c.name + "\"\n";
    script += "stepread {" + file + "} s *\n";
    script += "puts [nbshapes s_1]\nputs [checkshape s_1]\nputs [vprops s_1]\n";
    script += "puts \"BOX [bounding s_1 -optimal -noTriangulation]\"\n";
  }
  auto out = test::RunDraw(script, temp.path());
  ASSERT_TRUE(out) << "occt-draw is not installed (scripts/install-deps.sh)";
  auto facts = Split(*out);
  for (const SolidCase& c : cases) {
    const DrawFacts& f = facts[c.name];
    EXPECT_EQ(f.count("SOLID"), 1) << c.name << "\n" << f.text;
    EXPECT_EQ(f.count("SHELL"), 1) << c.name << "\n" << f.text;
    EXPECT_NE(f.text.find("This shape seems to be valid"), std::string::npos) << c.name << "\n" << f.text;
    if (c.faces) {
      EXPECT_EQ(f.count("FACE"), c.faces) << c.name;
    }
    double mass = f.value("Mass");
    EXPECT_NEAR(mass, c.volume, 1e-3 * c.volume) << c.name << "\n" << f.text;
    auto box = Box(f.text);
    // The box of the smooth side reaches the cam's extremes between the
    // computed points, a little beyond the points' own box.
    double tol = 1e-3 * std::max(c.xMax - c.xMin, c.yMax - c.yMin);
    EXPECT_NEAR(box[0], c.xMin, tol) << c.name << "\n" << f.text;
    EXPECT_NEAR(box[1], c.yMin, tol) << c.name;
    EXPECT_NEAR(box[2], 0, tol) << c.name;
    EXPECT_NEAR(box[3], c.xMax, tol) << c.name;
    EXPECT_NEAR(box[4], c.yMax, tol) << c.name;
    EXPECT_NEAR(box[5], c.height, tol) << c.name;
  }
}

// The contour as one closed wire: DRAW reads one wire, a plane face on it has
// the contour's area.
TEST(StepSolid, DrawReadsTheContourAsOneClosedWire) {
  test::TempFolder temp;
  Settings settings;
  struct Case {
    std::string name;
    std::vector<ProfileVertex> contour;
    double area;
    int edges;
  };
  std::vector<Case> cases = {{"square", Square(100), 10000, 4},
                             {"slot", Slot(false), 60 * 40 + kPiD * 400, 4},
                             {"slot_cw", Slot(true), 60 * 40 + kPiD * 400, 4}};
  for (const char* ex : {"formula", "ellipse", "sine", "linear_sine", "points", "polygon", "polynomial",
                         "fit_points", "eccentric", "polar_points", "sin_square"}) {
    auto cam = test::ExampleCam(std::string(ex) + ".kmo", settings);
    ASSERT_TRUE(cam) << ex;
    cases.push_back({ex, Profile(*cam), std::fabs(static_cast<double>(cam->section.A)), 0});
  }
  auto big = Cam1999(settings);
  ASSERT_TRUE(big);
  cases.push_back({"sine_1999", Profile(*big), std::fabs(static_cast<double>(big->section.A)), 1});
  std::string script;
  for (const Case& c : cases) {
    StepBuild b = ContourCurveStep(c.contour, Info(c.name));
    ASSERT_TRUE(b.ok) << c.name << ": " << b.error;
    EXPECT_NE(b.bytes.find("COMPOSITE_CURVE("), std::string::npos) << c.name;
    EXPECT_NE(b.bytes.find("GEOMETRIC_CURVE_SET("), std::string::npos) << c.name;
    std::string file = temp.file(c.name + ".stp");
    test::WriteFileBytes(file, b.bytes);
    script += "puts \"#### " + c.name + "\"\n";
    script += "stepread {" + file + "} c *\n";
    script += "puts [nbshapes c_1]\nexplode c_1 w\nmkplane f c_1_1\nputs [sprops f]\n";
  }
  auto out = test::RunDraw(script, temp.path());
  ASSERT_TRUE(out) << "occt-draw is not installed (scripts/install-deps.sh)";
  auto facts = Split(*out);
  for (const Case& c : cases) {
    const DrawFacts& f = facts[c.name];
    EXPECT_EQ(f.count("WIRE"), 1) << c.name << "\n" << f.text;
    int edges = f.count("EDGE");
    // Closed: every vertex ends two edges.
    EXPECT_EQ(f.count("VERTEX"), edges) << c.name << "\n" << f.text;
    if (c.edges) {
      EXPECT_EQ(edges, c.edges) << c.name;
    }
    EXPECT_NEAR(f.value("Mass"), c.area, 1e-3 * c.area) << c.name << "\n" << f.text;
  }
}

// What cannot be a body gets a clear message, never a file or a crash.
TEST(StepSolid, ImpossibleShapesAreRefused) {
  struct Case {
    const char* name;
    std::vector<ProfileVertex> contour;
    double bore, height;
    const char* message;
  } cases[] = {
      {"two points", {{0, 0, 0}, {10, 0, 0}, {0, 0, 0}}, 0, 5, "weniger als drei"},
      {"one point repeated", {{1, 1, 0}, {1, 1, 0}, {1, 1, 0}, {1, 1, 0}}, 0, 5, "weniger als drei"},
      {"not finite", {{0, 0, 0}, {NAN, 0, 0}, {0, 10, 0}}, 0, 5, "weniger als drei"},
      {"figure eight", {{0, 0, 0}, {10, 10, 0}, {10, 0, 0}, {0, 10, 0}}, 0, 5, "schneidet sich"},
      {"bore through the contour", Square(10), 8, 5, "schneidet sich"},
      {"height 0", Square(10), 1, 0, "Breite oder Bohrung"},
      {"negative bore", Square(10), -1, 5, "Breite oder Bohrung"},
      {"infinite height", Square(10), 1, INFINITY, "Breite oder Bohrung"},
  };
  for (const Case& c : cases) {
    StepBuild b = CamSolidStep(c.contour, c.bore, c.height, Info("x"));
    EXPECT_FALSE(b.ok) << c.name;
    EXPECT_TRUE(b.bytes.empty()) << c.name;
    EXPECT_EQ(b.error.rfind("STEP: ", 0), 0u) << c.name << ": " << b.error;
    EXPECT_NE(b.error.find(c.message), std::string::npos) << c.name << ": " << b.error;
  }
  StepBuild curve = ContourCurveStep(std::vector<ProfileVertex>{{0, 0, 0}, {1, 0, 0}}, Info("x"));
  EXPECT_FALSE(curve.ok);
  EXPECT_NE(curve.error.find("weniger als drei"), std::string::npos) << curve.error;
}

// The header and the product name carry what the user typed, escaped as STEP wants.
TEST(StepSolid, HeaderNamesProductFileAndTime) {
  StepFileInfo info{"Nocken \x84 'A' \\1", "Kurvenscheibe", "/tmp/K\xC3\xB6rper.stp", "2026-01-02T03:04:05", "ich",
                    "KAMO 5.1"};
  StepBuild b = CamSolidStep(Square(10), 1, 2, info);
  ASSERT_TRUE(b.ok) << b.error;
  EXPECT_NE(b.bytes.find("PRODUCT('Nocken \\X2\\00E4\\X0\\ ''A'' \\\\1'"), std::string::npos) << b.bytes;
  EXPECT_NE(b.bytes.find("FILE_NAME('/tmp/K\\X2\\00F6\\X0\\rper.stp','2026-01-02T03:04:05',('ich')"),
            std::string::npos)
      << b.bytes.substr(0, 600);
  EXPECT_NE(b.bytes.find("'KAMO 5.1'"), std::string::npos);
  EXPECT_NE(b.bytes.find("FILE_DESCRIPTION(('Kurvenscheibe'),"), std::string::npos);
}

}  // namespace
}  // namespace kamo
