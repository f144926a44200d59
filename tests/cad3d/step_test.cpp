// STEP output: numbers, strings, the numbering of both passes, and what
// OpenCASCADE reads from the files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

#include "cad/cadstp.h"
#include "cam/kamorech.h"
#include "fixture.h"
#include "graphics/sheets.h"
#include "shell/commands.h"
#include "shell/session.h"

namespace kamo {
namespace {

using test::Cad3dFixture;

TEST(Step, NumbersAndStrings) {
  struct R {
    Real x;
    const char* text;
  } reals[] = {{12.5L, "1.25000E+001"}, {-2, "-2.00000E+000"}, {0, "0.00000E+000"},
               {-0.0L, "0.00000E+000"}, {0.001L, "1.00000E-003"}, {123456.7L, "1.234567E+005"},
               {1.0L / 3, "3.333333333333333E-001"}, {-1e-20L, "-1.00000E-020"}, {1e300L, "1.00000E+300"}};
  for (const R& r : reals) EXPECT_EQ(StepReal(r.x), r.text);
  // Every real reads back as the double it was, so that shared points stay shared.
  for (Real x : {0.1L, 2.0L / 3, -123.456789012345678L, 1e-7L, 59.99999999999L, kPi}) {
    std::string t = StepReal(x);
    EXPECT_EQ(std::strtod(t.c_str(), nullptr), static_cast<double>(x)) << t;
  }
  struct S {
    const char* in;
    const char* out;
  } strings[] = {{"cam's", "cam''s"},
                 {"C:\\cams\\a.stp", "C:\\\\cams\\\\a.stp"},
                 {"Nocken_\xC3\xA4\xC3\x9F", "Nocken_\\X2\\00E400DF\\X0\\"},
                 {"\xE2\x82\xAC" "1", "\\X2\\20AC\\X0\\1"},
                 {"\xF0\x9F\x98\x80", "\\X4\\0001F600\\X0\\"},
                 {"bad\xFF", "bad\\X2\\00FF\\X0\\"}};
  for (const S& s : strings) EXPECT_EQ(StepString(s.in), s.out) << s.in;
}

// Draws the same elements in every pass, as the drawing code does.
std::string TwoPasses(Cad3dFixture& f, int level, const std::function<void(CadOutput&)>& draw,
                      const std::string& name = "out") {
  f.cad->environment().batchFile = f.temp.file(name);
  f.settings.stepLevel = level;
  f.cad->CadOpen(kCadStep, "KAMO");
  f.cad->CadWindow(0, 0, 100, 100, 0);
  f.cad->CadTables(0);
  f.cad->CadBeginBlocks();
  f.cad->CadEndSection();
  int passes = 0;
  do {
    f.cad->CadBeginEntities();
    draw(*f.cad);
    f.cad->CadEndSection();
    ++passes;
  } while (!f.cad->CadPassDone() && passes < 5);
  EXPECT_EQ(passes, 2);
  EXPECT_TRUE(f.cad->CadClose());
  EXPECT_EQ(f.cad->stepLevel(), 0);
  return test::ReadFileBytes(f.temp.file(name + ".stp"));
}

std::string InstanceLine(const std::string& file, int n) {
  std::string key = "#" + std::to_string(n) + " = ";
  size_t a = file.find("\r\n" + key);
  if (a == std::string::npos) return "";
  a += 2 + key.size();
  return file.substr(a, file.find("\r\n", a) - a);
}

TEST(Step, OneLineFile) {
  Cad3dFixture f;
  f.clock.set(DateTime{2026, 12, 9, 14, 9, 20});
  std::string s = TwoPasses(f, 1, [](CadOutput& c) { c.CadLine(0, 0, 10, 0); });
  std::string path = f.temp.file("out.stp");
  EXPECT_EQ(s.substr(0, s.find("DATA;")),
            "ISO-10303-21;\r\nHEADER;\r\nFILE_DESCRIPTION(('QUORTEX Software'),'2;1');\r\n"
            "FILE_NAME('" + path + "','2026-12-09T14:09:20',('KAMO'),(''),'QUORTEX STEP processor 1.0','KAMO','');\r\n"
            "FILE_SCHEMA(('AUTOMOTIVE_DESIGN'));\r\nENDSEC;\r\n\r\n");
  EXPECT_EQ(InstanceLine(s, 11), "AXIS2_PLACEMENT_3D('',#12,#13,#14);");
  EXPECT_EQ(InstanceLine(s, 24), "PRODUCT_TYPE('part',$,(#7));");
  EXPECT_EQ(InstanceLine(s, 25), "SHAPE_REPRESENTATION('',(#11,#26),#34);");
  EXPECT_EQ(InstanceLine(s, 26), "GEOMETRIC_CURVE_SET('',(#27));");
  EXPECT_EQ(InstanceLine(s, 27),
            "TRIMMED_CURVE('',#28,(#32,PARAMETER_VALUE(0.E+000)),(#33,PARAMETER_VALUE(1.00000E+001)),.T.,.PARAMETER.);");
  EXPECT_EQ(InstanceLine(s, 28), "LINE('',#29,#30);");
  EXPECT_EQ(InstanceLine(s, 31), "DIRECTION('',(1.00000E+000,0.00000E+000,0.00000E+000));");
  EXPECT_EQ(InstanceLine(s, 33), "CARTESIAN_POINT('',(1.00000E+001,0.00000E+000,0.E+000));");
  EXPECT_EQ(InstanceLine(s, 34).substr(0, 40), "( GEOMETRIC_REPRESENTATION_CONTEXT(3)  G");
  EXPECT_EQ(InstanceLine(s, 39), "SHAPE_DEFINITION_REPRESENTATION(#40,#25);");
  EXPECT_EQ(InstanceLine(s, 43), "PRODUCT('out','out','',(#44));");
  EXPECT_NE(s.find("#47 = ( REPRESENTATION_RELATIONSHIP('','',#25,#10)\r\n"
                   "REPRESENTATION_RELATIONSHIP_WITH_TRANSFORMATION(#48)\r\n"
                   "SHAPE_REPRESENTATION_RELATIONSHIP() );\r\n"),
            std::string::npos);
  EXPECT_EQ(InstanceLine(s, 53), "STYLED_ITEM('color',(#54),#26);");
  EXPECT_EQ(InstanceLine(s, 62), "DRAUGHTING_PRE_DEFINED_CURVE_FONT('continuous');");
  EXPECT_EQ(s.substr(s.size() - 28), "ENDSEC;\r\nEND-ISO-10303-21;\r\n");
}

TEST(Step, ChoiceOffersStepOnlyWithALevel) {
  for (int level : {0, 2}) {
    Cad3dFixture f(false);
    f.settings.stepLevel = level;
    f.port.choices.push_back(std::nullopt);
    f.cad->CadOpen(0, "KAMO");
    ASSERT_EQ(f.port.choicePrompts.size(), 1u);
    EXPECT_EQ(f.port.choicePrompts[0].items.size(), level ? 7u : 6u);
  }
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

void Contour(CadOutput& c, const CamProject& p, bool withLinesAndCircle) {
  if (withLinesAndCircle) c.CadLine(-80, 0, 80, 0);
  c.CadBeginPolyline(1);
  for (int i = 1; i <= p.basePointCount; ++i)
    c.CadVertex(p.basePoints[static_cast<size_t>(i)].x, p.basePoints[static_cast<size_t>(i)].y, 0);
  c.CadEndPolyline();
  if (withLinesAndCircle) {
    c.CadCircle(0, 0, 10);
    c.CadText("A", 0, 0);
    c.CadLine(0, -80, 0, 80);
  }
}

std::map<std::string, int> Counts(const std::string& out, const std::string& tag) {
  std::map<std::string, int> m;
  size_t a = out.find("<<" + tag + ">>");
  size_t b = out.find("<<end " + tag + ">>");
  if (a == std::string::npos || b == std::string::npos) return m;
  std::istringstream in(out.substr(a, b - a));
  std::string line;
  while (std::getline(in, line)) {
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string k = line.substr(0, colon);
    while (!k.empty() && k.back() == ' ') k.pop_back();
    while (!k.empty() && k.front() == ' ') k.erase(0, 1);
    m[k] = std::atoi(line.c_str() + colon + 1);
  }
  return m;
}
std::vector<double> Numbers(const std::string& out, const std::string& prefix) {
  std::vector<double> v;
  size_t a = out.find(prefix);
  if (a == std::string::npos) return v;
  std::istringstream in(out.substr(a + prefix.size(), out.find('\n', a) - a - prefix.size()));
  double x;
  while (in >> x) v.push_back(x);
  return v;
}

TEST(Step, OpenCascadeReadsEveryLevel) {
  Cad3dFixture f;
  auto cam = Cam1999(f.settings);
  ASSERT_TRUE(cam);
  ASSERT_EQ(cam->basePointCount, 2000);
  double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
  for (int i = 1; i <= cam->basePointCount; ++i) {
    x0 = std::min(x0, static_cast<double>(cam->basePoints[static_cast<size_t>(i)].x));
    x1 = std::max(x1, static_cast<double>(cam->basePoints[static_cast<size_t>(i)].x));
    y0 = std::min(y0, static_cast<double>(cam->basePoints[static_cast<size_t>(i)].y));
    y1 = std::max(y1, static_cast<double>(cam->basePoints[static_cast<size_t>(i)].y));
  }
  struct Job {
    const char* name;
    int level;
    bool extra;
    int edges, faces;
  } jobs[] = {{"level1", 1, false, 1999, 0}, {"level2", 2, false, 1999, 1},
              // The contour's edges, two lines and the circle.
              {"level3", 3, true, 2002, 1},  {"mixed2", 2, true, 2002, 1},
              {"mixed1", 1, true, 2002, 0},  {"empty", 1, false, 0, 0},
              {"circles", 1, false, 3, 0}};
  std::string script;
  for (const Job& j : jobs) {
    Cad3dFixture g;
    std::string name = std::string("Kurve's ") + j.name;
    if (std::string(j.name) == "empty") {
      TwoPasses(g, j.level, [](CadOutput& c) { c.CadText("x", 0, 0); }, name);
    } else if (std::string(j.name) == "circles") {
      // A circle, a counter-clockwise arc over 0 degrees and a clockwise one, all inside the cam's box.
      TwoPasses(g, j.level, [&](CadOutput& c) {
        c.CadCircle((x0 + x1) / 2, (y0 + y1) / 2, 0.5 * (x1 - x0));
        c.CadArc(0, 0, 300, 60, x1 / 2);
        c.CadArcSweep(0, 0, 90, 0, x1 / 3, -90);
      }, name);
    } else {
      TwoPasses(g, j.level, [&](CadOutput& c) { Contour(c, *cam, j.extra); }, name);
    }
    std::string path = f.temp.file(std::string(j.name) + ".stp");
    test::WriteFileBytes(path, test::ReadFileBytes(g.temp.file(name + ".stp")));
    std::string n = j.name;
    script += "puts \"<<" + n + ">>\"\n";
    script += "if {[catch {testreadstep " + path + " s_" + n + "} msg]} {puts \"READFAIL $msg\"}\n";
    script += "puts [nbshapes s_" + n + "]\n";
    if (j.edges) script += "puts \"BOX [bounding s_" + n + "]\"\n";
    script += "puts \"<<end " + n + ">>\"\n";
  }
  script += "puts \"<<vertices>>\"\nforeach v [explode s_level1 V] {puts \"V [bounding $v]\"}\n";
  script += "puts \"<<end vertices>>\"\n";
  auto out = test::RunDraw(script, f.temp.path());
  ASSERT_TRUE(out) << "occt-draw is not installed (scripts/install-deps.sh)";
  for (const Job& j : jobs) {
    std::string n = j.name;
    size_t a = out->find("<<" + n + ">>"), b = out->find("<<end " + n + ">>");
    ASSERT_NE(b, std::string::npos) << *out;
    std::string part = out->substr(a, b - a);
    EXPECT_EQ(part.find("READFAIL"), std::string::npos) << part;
    auto c = Counts(*out, n);
    EXPECT_EQ(c["EDGE"], j.edges) << part;
    EXPECT_EQ(c["FACE"], j.faces) << part;
    if (!j.edges) continue;
    auto box = Numbers(part, "BOX ");
    ASSERT_EQ(box.size(), 6u) << part;
    bool circles = std::string(j.name) == "circles";
    double xa = j.extra ? -80 : x0, xb = j.extra ? 80 : x1, ya = j.extra ? -80 : y0, yb = j.extra ? 80 : y1;
    if (circles) ya = (y0 + y1) / 2 - 0.5 * (x1 - x0), yb = (y0 + y1) / 2 + 0.5 * (x1 - x0);
    EXPECT_NEAR(box[0], std::min(xa, x0), 1e-3) << part;
    EXPECT_NEAR(box[3], std::max(xb, x1), 1e-3) << part;
    EXPECT_NEAR(box[1], circles ? ya : std::min(ya, y0), 1e-3) << part;
    EXPECT_NEAR(box[4], circles ? yb : std::max(yb, y1), 1e-3) << part;
  }
  // Every vertex read back is one of our points, within the written precision.
  size_t a = out->find("<<vertices>>"), b = out->find("<<end vertices>>");
  ASSERT_NE(b, std::string::npos);
  std::istringstream in(out->substr(a, b - a));
  std::string line;
  int vertices = 0;
  while (std::getline(in, line)) {
    if (line.rfind("V ", 0) != 0) continue;
    auto v = Numbers(line, "V ");
    ASSERT_EQ(v.size(), 6u);
    double x = (v[0] + v[3]) / 2, y = (v[1] + v[4]) / 2;
    double best = 1e9;
    for (int i = 1; i <= cam->basePointCount; ++i)
      best = std::min(best, std::hypot(x - static_cast<double>(cam->basePoints[static_cast<size_t>(i)].x),
                                       y - static_cast<double>(cam->basePoints[static_cast<size_t>(i)].y)));
    EXPECT_LT(best, 1e-3);
    ++vertices;
  }
  EXPECT_GE(vertices, 1999);
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

int CountOf(const std::string& s, const std::string& what) {
  int n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

// Native polylines keep their arcs (as vertices) and their closing edge, as
// the emulated wire frame does.
// From the window: with the default STEP level the CAD menu offers STEP as
// its seventh output, and OpenCASCADE reads the file the command writes.
TEST(Step, WindowWritesStepWithTheDefaultLevel) {
  test::ScriptedPort port;
  Session session(port);
  Shell shell(session);
  test::TempFolder folder;
  session.settings.tempDir = folder.path();
  session.settings.startCadApplication = false;
  ASSERT_EQ(session.settings.stepLevel, 1);
  std::string project = folder.file("cam.kmo");
  std::filesystem::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", project);
  ASSERT_TRUE(shell.openProject(project));
  port.choices.push_back(6);
  port.files.push_back(folder.file("nocke"));
  shell.run(Command::CadPolyline);
  ASSERT_EQ(port.choicePrompts.size(), 1u);
  ASSERT_EQ(port.choicePrompts[0].items.size(), 7u);
  EXPECT_EQ(port.choicePrompts[0].items[6], "STEP");
  std::string path = folder.file("nocke.stp");
  ASSERT_TRUE(std::filesystem::exists(path)) << ::testing::PrintToString(port.boxTexts());
  auto out = test::RunDraw("if {[catch {testreadstep " + path + " s} msg]} {puts \"READFAIL $msg\"}\n"
                           "puts [nbshapes s]\nputs \"BOX [bounding s]\"",
                           folder.path());
  ASSERT_TRUE(out) << "occt-draw is not installed (scripts/install-deps.sh)";
  EXPECT_EQ(out->find("READFAIL"), std::string::npos) << *out;
  auto box = Numbers(*out, "BOX ");
  ASSERT_EQ(box.size(), 6u) << *out;
  // The ellipse example: a = 60 (x), b = 40 (y) half axes.
  EXPECT_NEAR(box[3] - box[0], 2 * 60, 0.5) << *out;
  EXPECT_NEAR(box[4] - box[1], 2 * 40, 0.5) << *out;
}

TEST(Step, NativePolylinesKeepArcsAndClosingEdge) {
  Settings s;
  auto cam = test::ExampleCam("points.kmo", s);
  ASSERT_TRUE(cam);
  auto draw = [&cam](int flags) {
    return [&cam, flags](CadOutput& c) {
      c.CadBeginPolyline(flags);
      for (int i = 1; i <= cam->basePointCount; ++i) {
        const ContourPoint& q = cam->basePoints[static_cast<size_t>(i)];
        c.CadVertex(q.x, q.y, q.phi);
      }
      c.CadEndPolyline();
    };
  };
  Cad3dFixture a, b, c, d;
  std::string closed1 = TwoPasses(a, 1, draw(1));
  std::string closed2 = TwoPasses(b, 2, draw(1));
  std::string open1 = TwoPasses(c, 1, draw(0));
  std::string open2 = TwoPasses(d, 2, draw(0));
  int segments = CountOf(closed1, "TRIMMED_CURVE(");
  EXPECT_GT(segments, 100);  // the arcs in pieces
  EXPECT_EQ(CountOf(closed2, "EDGE_CURVE("), segments);
  EXPECT_EQ(CountOf(closed2, "ADVANCED_FACE("), 1);
  EXPECT_EQ(CountOf(open2, "TRIMMED_CURVE("), CountOf(open1, "TRIMMED_CURVE("));
  EXPECT_EQ(CountOf(open1, "TRIMMED_CURVE("), segments - 1);
  EXPECT_NE(open2.find("GEOMETRICALLY_BOUNDED_WIREFRAME_SHAPE_REPRESENTATION('',(#11,#26),"),
            std::string::npos);
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

// What CAD systems make of the wire frame: the contour's edges meet end to end
// within the file's uncertainty, so they join into one closed wire that bounds
// a plane face of the cam's area; the geometry sheet brings its bore circle.
TEST(Step, ContourJoinsIntoOneClosedWireAndTheBoreArrives) {
  test::TempFolder temp;
  std::string script;
  std::vector<std::string> names;
  std::vector<double> areas;
  for (const char* example : {"ellipse", "points", "polygon", "polar_points"}) {
    for (int kind : {6, 1}) {
      Cad3dFixture g;
      auto cam = test::ExampleCam(std::string(example) + ".kmo", g.settings);
      ASSERT_TRUE(cam) << example;
      std::string name = std::string(example) + "_" + std::to_string(kind);
      g.cad->environment().batchFile = temp.file(name);
      SheetOutput out{*g.cad, *cam, g.settings, g.messages, g.flags, g.ui, ErrorListContext{}};
      ASSERT_TRUE(OutputSheet(out, kCadStep, kind)) << name;
      std::string file = test::ReadFileBytes(temp.file(name + ".stp"));
      if (kind == 1) {
        // The bore as a circle of its radius around the cam's centre.
        EXPECT_NE(file.find(",(" + StepReal(0) + "," + StepReal(0) + ",0.E+000));"), std::string::npos);
        EXPECT_NE(file.find("CIRCLE('',#"), std::string::npos) << name;
        std::string radius = "," + StepReal(cam->body.bore / 2) + ");";
        bool found = false;
        for (size_t at = file.find("CIRCLE('',#"); at != std::string::npos; at = file.find("CIRCLE('',#", at + 1))
          found = found || file.compare(file.find(',', at + 10), radius.size(), radius) == 0;
        EXPECT_TRUE(found) << name << " has no circle of radius " << radius;
        script += "if {[catch {testreadstep " + temp.file(name + ".stp") + " s} m]} {puts \"READFAIL " + name +
                  " $m\"}\n";
        continue;
      }
      names.push_back(name);
      areas.push_back(static_cast<double>(cam->section.A));
      // The contour's area, as the calculation has it (arcs included).
      script += "puts \"<<" + name + ">>\"\n";
      script += "if {[catch {testreadstep " + temp.file(name + ".stp") + " s} m]} {puts \"READFAIL $m\"}\n";
      script += "set es [explode s E]\nputs \"EDGES [llength $es]\"\n";
      script += "if {[catch {eval wire w $es} m]} {puts \"WIREFAIL $m\"} else {\n"
                "  if {[catch {mkplane f w} m]} {puts \"FACEFAIL $m\"} else {\n"
                "    puts \"CHECK [checkshape f]\"\n"
                "    puts \"AREA [lindex [sprops f] 2]\"\n  }\n}\n";
      script += "puts \"<<end " + name + ">>\"\n";
    }
  }
  auto out = test::RunDraw(script, temp.path());
  ASSERT_TRUE(out) << "occt-draw is not installed (scripts/install-deps.sh)";
  EXPECT_EQ(out->find("READFAIL"), std::string::npos) << *out;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& n = names[i];
    size_t a = out->find("<<" + n + ">>"), b = out->find("<<end " + n + ">>");
    ASSERT_NE(b, std::string::npos) << *out;
    std::string part = out->substr(a, b - a);
    EXPECT_EQ(part.find("WIREFAIL"), std::string::npos) << part;
    EXPECT_EQ(part.find("FACEFAIL"), std::string::npos) << part;
    EXPECT_NE(part.find("This shape seems to be valid"), std::string::npos) << part;
    auto area = Numbers(part, "AREA ");
    ASSERT_EQ(area.size(), 1u) << part;
    EXPECT_NEAR(area[0], areas[i], 1e-3 * areas[i]) << part;
  }
}

}  // namespace
}  // namespace kamo
