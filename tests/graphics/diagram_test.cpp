// Diagrams: the frame, tick labels, clipped lines, the limits dialog, zero time steps,
// the s, v, a layout, and every diagram and drawing sheet of every example
// read back by ezdxf.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "../cad/cad_fixture.h"
#include "cam/kamorech.h"
#include "graphics/diagram.h"
#include "graphics/sheets.h"
#include "io/kamoio.h"

namespace kamo {
namespace {

using test::CadFixture;
namespace fs = std::filesystem;

// A limits dialog that answers with the given form.
class LimitsPort : public test::ScriptedPort {
 public:
  std::optional<DiagramLimitsForm> answer;
  int shown = 0;
  std::optional<DiagramLimitsForm> diagramLimits(const DiagramLimitsForm& f) override {
    ++shown;
    if (!answer) return std::nullopt;
    DiagramLimitsForm a = *answer;
    a.caption = f.caption;
    return a;
  }
};

struct DiagramFixture : CadFixture {
  CamProject project;
  SheetOutput out{*cad, project, settings, messages, flags, ui, ErrorListContext{}};
  explicit DiagramFixture(const char* example = "sine") {
    EXPECT_TRUE(ReadProject(ui, settings, std::string(KAMO_SOURCE_DIR) + "/examples/" + example + ".kmo", project));
    Calculate(project, messages, flags, settings);
    settings.numbers.cadTextType = 1;
  }
  std::string text() { return entities(test::ReadFileBytes(temp.file("out.txt"))); }
};

TEST(Diagram, TickLabels) {
  NumberStyle ns;
  struct Case {
    double x;
    const char* text;
  } cases[] = {{0, "0"}, {0.35, "0.35"}, {-0.4, "-0.4"}, {45, "45"}, {123.456, "123"},
               {1e-5, "1.00e-05"}, {25000, "2.50e+04"}, {1e-13, "0"},
               {1000, "1000"}, {-3500, "-3500"}, {2.5, "2.5"}, {0.000123, "0.000123"}, {-0.0004, "-0.0004"}};
  for (const Case& c : cases) EXPECT_EQ(TickLabel(ns, c.x), c.text) << c.x;
  ns.decimalSeparator = ',';
  EXPECT_EQ(TickLabel(ns, 0.5), "0,5");
}

TEST(Diagram, ClippedLines) {
  struct Case {
    double x1, y1, x2, y2;
    const char* line;  // the drawn line, or "" for none
  } cases[] = {
      {1, 1, 9, 9, "LINE\t10.000000\t10.000000\t90.000000\t90.000000"},
      {5, 5, 15, 5, "LINE\t50.000000\t50.000000\t100.000000\t50.000000"},
      {15, 5, 5, 5, "LINE\t50.000000\t50.000000\t100.000000\t50.000000"},
      {5, 5, 10.05, 5, "LINE\t50.000000\t50.000000\t100.500000\t50.000000"},  // within 1 %
      {-5, 5, 15, 5, ""},
      {5, -20, 5, 20, ""},
  };
  for (const Case& c : cases) {
    DiagramFixture f;
    f.begin(kCadText);
    Diagrams d(f.out, kCadText);
    d.SetDiagramSize(100, 100);
    DiagramState& s = d.state();
    s.xmin = s.ymin = 0;
    s.xmax = s.ymax = 10;
    d.ClippedLine(c.x1, c.y1, c.x2, c.y2);
    std::string t = f.entities(f.end("txt"));
    if (*c.line)
      EXPECT_EQ(t, std::string(c.line) + "\r\n") << c.x1 << " " << c.x2;
    else
      EXPECT_EQ(t, "") << c.x1 << " " << c.x2;
  }
}

TEST(Diagram, LimitsDialogTakesOrRefusesLimits) {
  struct Case {
    std::optional<DiagramLimitsForm> answer;
    double xmax, xStep;
  } cases[] = {
      {DiagramLimitsForm{"", "", "", 0, 6.28, -1, 1, 1950}, 6.28, 6.28 / 8},
      {std::nullopt, 2 * kPi, kPi / 4},                                        // cancelled
      {DiagramLimitsForm{"", "", "", 5, 5, -1, 1, 1950}, 2 * kPi, kPi / 4},   // x max = x min
      {DiagramLimitsForm{"", "", "", 6, 1, -1, 1, 1950}, 2 * kPi, kPi / 4},   // x max < x min
  };
  for (const Case& c : cases) {
    LimitsPort port;
    port.answer = c.answer;
    Settings settings;
    settings.askDiagramLimits = true;
    MessageList messages;
    Flags flags;
    UiState state;
    Ui ui(port, flags, state, settings.numbers);
    test::TempFolder temp;
    CadEnvironment env;
    env.ui = &ui;
    env.settings = &settings;
    env.messages = &messages;
    env.flags = &flags;
    env.tempDir = temp.path();
    env.batchFile = temp.file("out");
    CadOutput cad(env);
    CamProject project;
    SheetOutput out{cad, project, settings, messages, flags, ui, ErrorListContext{}};
    Diagrams d(out, kCadText);
    d.state().angleMode = 3;
    d.DiagramFrame("x", "y", "Hub", 1, 0, -1, 2 * kPi, 1);
    EXPECT_EQ(port.shown, 1);
    EXPECT_NEAR(static_cast<double>(d.state().xmax), c.xmax, 1e-9);
    EXPECT_NEAR(static_cast<double>(d.state().xStep), c.xStep, 1e-9);
    EXPECT_FALSE(flags.abortFlag);
  }
}

TEST(Diagram, ThreeFramesOfTheStrokeVelocityAndAccelerationDiagram) {
  DiagramFixture f;
  ASSERT_TRUE(DiagramCommand(f.out, 4, kCadText));
  std::string t = f.text();
  // Titles 3 above each frame of 120 x 28: a at the bottom.
  for (auto [title, y] : {std::pair{"Hub", 113.0}, {"Geschwindigkeit", 75.0}, {"Beschleunigung", 37.0}}) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "\t%.6f\t%s\r\n", y, title);
    EXPECT_NE(t.find(buf), std::string::npos) << title;
  }
  EXPECT_EQ(f.cad->environment().drawingKind, 1);
}

TEST(Diagram, ZeroTimeStepGivesZeroVelocityAndAcceleration) {
  for (int kind : {2, 3}) {
    DiagramFixture f;
    f.project.speed = 0;  // no period: every time step is zero
    ASSERT_TRUE(DiagramCommand(f.out, kind, kCadText));
    EXPECT_TRUE(f.messages.contains("Fatal  : dt=0!"));
    std::string t = f.text();
    EXPECT_EQ(t.find("nan"), std::string::npos);
    EXPECT_EQ(t.find("inf"), std::string::npos);
  }
}

// Coordinate points run through the polar angles of the contour: the curve
// reaches over the whole turn, not only up to the first point's angle.
TEST(Diagram, CoordinatePointsCoverTheWholeTurn) {
  DiagramFixture f("points");
  ASSERT_TRUE(DiagramCommand(f.out, 1, kCadText));
  std::istringstream in(f.text());
  int late = 0;
  for (std::string l; std::getline(in, l);) {
    double x1, y1, x2, y2;
    if (std::sscanf(l.c_str(), "LINE\t%lf\t%lf\t%lf\t%lf", &x1, &y1, &x2, &y2) != 4) continue;
    // A slanting piece of the curve beyond 270 degrees (frame 115 wide at x 15).
    if (x1 > 15 + 0.75 * 115 && x2 > x1 && std::fabs(y2 - y1) > 0.01) ++late;
  }
  EXPECT_GT(late, 5);
}

// In inch the axes are drawn in inch while the contour stays in millimetres:
// every line of the plot stays within its frame.
TEST(Diagram, ContourPlotInBothUnitSystems) {
  for (int units : {0, 1}) {
    DiagramFixture f("eccentric");
    f.settings.numbers.unitSystem = units;
    f.begin(kCadText);
    Diagrams d(f.out, kCadText);
    d.ContourPlot(90, 90, 11, 9);
    std::string t = f.entities(f.end("txt"));
    EXPECT_NE(t.find(units ? "\ty [in]\r\n" : "\ty [mm]\r\n"), std::string::npos);
    std::istringstream in(t);
    int lines = 0;
    for (std::string l; std::getline(in, l);) {
      double x1, y1, x2, y2;
      if (std::sscanf(l.c_str(), "LINE\t%lf\t%lf\t%lf\t%lf", &x1, &y1, &x2, &y2) != 4) continue;
      ++lines;
      for (double x : {x1, x2}) EXPECT_TRUE(x > 11 - 10 && x < 11 + 90 * 1.1) << units << " " << l;
      for (double y : {y1, y2}) EXPECT_TRUE(y > 9 - 5 && y < 9 + 90 * 1.1) << units << " " << l;
    }
    EXPECT_GT(lines, 30) << units;
  }
}

TEST(Diagram, NothingWithCalculationError) {
  DiagramFixture f;
  f.flags.calcError = true;
  EXPECT_FALSE(DiagramCommand(f.out, 1, kCadText));
  EXPECT_FALSE(fs::exists(f.temp.file("out.txt")));
}

// Every diagram and every drawing sheet of every example as DXF; one ezdxf
// process audits them all.
TEST(Diagram, EzdxfAuditsEveryDiagramAndDrawingSheet) {
  test::TempFolder dir;
  std::string manifest = "[";
  int files = 0;
  for (const auto& e : fs::directory_iterator(std::string(KAMO_SOURCE_DIR) + "/examples")) {
    if (e.path().extension() != ".kmo") continue;
    std::string stem = e.path().stem().string();
    DiagramFixture f(stem.c_str());
    ASSERT_FALSE(f.flags.calcError) << stem;
    // Sheets 2 and 6 hold the contour polyline only, no lines.
    auto write = [&](const std::string& name, bool sheet, int kind) {
      const char* lines = sheet && (kind == 2 || kind == 6) ? "0" : "10";
      f.cad->environment().batchFile = dir.file(name);
      bool ok = sheet ? OutputSheet(f.out, kCadDxf, kind) : DiagramCommand(f.out, kind, kCadDxf);
      ASSERT_TRUE(ok) << name;
      manifest += std::string(files++ ? "," : "") + "{\"file\":\"" + dir.file(name + ".dxf") +
                  "\",\"minLines\":" + lines + "}";
    };
    for (int k = 1; k <= 9; ++k) write(stem + "_d" + std::to_string(k), false, k);
    for (int k = 1; k <= 10; ++k) write(stem + "_s" + std::to_string(k), true, k);
  }
  manifest += "]";
  test::WriteFileBytes(dir.file("manifest.json"), manifest);
  std::string out = dir.file("check.out");
  std::string cmd = "/usr/bin/python3 " + std::string(KAMO_SOURCE_DIR) + "/tests/cad/data/check_dxf.py " +
                    dir.file("manifest.json") + " > " + out + " 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << test::ReadFileBytes(out);
  std::istringstream in(test::ReadFileBytes(out));
  int ok = 0;
  for (std::string l; std::getline(in, l);) {
    if (l.rfind("OK ", 0) == 0) ++ok;
    else ADD_FAILURE() << l;
  }
  EXPECT_EQ(ok, files);
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

// The frame of a plain and a contour-plot diagram: axis ends from the nice
// scale, tick labels, axis labels, title and axes at their places.
TEST(Diagram, FramePlacesAxesTicksAndLabels) {
  struct Case {
    int mode;
    std::vector<std::string> lines;  // expected element lines
  } cases[] = {
      {0,
       {"TEXT\t81.250000\t133.000000\tTitel",          // centred above, 3 over the frame
        "TEXT\t3.600000\t14.500000\t-0.4",              // x ticks -0.4 .. 0.4 by 0.1
        "TEXT\t105.200000\t14.500000\t0.1", "TEXT\t165.200000\t14.500000\t0.4",
        "TEXT\t179.600000\t14.500000\txl",              // x label behind the axis end
        "TEXT\t-6.000000\t37.233333\t0.05",             // y ticks 0 .. 0.3 by 0.05
        "TEXT\t-6.000000\t128.900000\t0.3",
        "TEXT\t-6.000000\t137.700000\tyl",              // y label above the y axis
        "LINE\t10.000000\t20.000000\t178.000000\t20.000000",   // x axis at y = 0, 5 % longer
        "LINE\t90.000000\t20.000000\t90.000000\t135.500000"}}, // y axis at x = 0
      {2, {"TEXT\t171.600000\t23.300000\txl"}},        // contour plot: label at the axis end
  };
  for (const Case& c : cases) {
    DiagramFixture f;
    f.settings.askDiagramLimits = false;
    f.begin(kCadText);
    Diagrams d(f.out, kCadText);
    d.SetDiagramSize(160, 110);  // scale factor 1
    d.SetDiagramOrigin(10, 20);
    d.DiagramFrame("xl", "yl", c.mode == 2 ? "" : "Titel", c.mode, 0.35L, 0, -0.35L, 0.3L);
    EXPECT_NEAR(static_cast<double>(d.state().xStep), 0.1, 1e-12);
    EXPECT_NEAR(static_cast<double>(d.state().yStep), 0.05, 1e-12);
    std::string t = f.entities(f.end("txt"));
    for (const std::string& l : c.lines) EXPECT_NE(t.find(l + "\r\n"), std::string::npos) << c.mode << " " << l;
    EXPECT_EQ(t.find("\t0.45\r\n"), std::string::npos);  // no tick beyond the axis end
  }
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

// A follower without length and diameter is drawn with stand-in sizes, its
// guide bars too: the first A3 sheet is the same as the next one, and the
// project keeps its zeros.
TEST(Diagram, A3SheetOfAFollowerWithoutDimensionsIsTheSameEveryTime) {
  DiagramFixture f("eccentric");
  f.project.ram.d = 0;
  f.project.ram.l = 0;
  // The element text leaves the blocks out; the DXF file holds the "cam" block.
  ASSERT_TRUE(OutputSheet(f.out, kCadDxf, 10));
  std::string first = test::ReadFileBytes(f.temp.file("out.dxf"));
  EXPECT_EQ(f.project.ram.d, 0);
  EXPECT_EQ(f.project.ram.l, 0);
  ASSERT_TRUE(OutputSheet(f.out, kCadDxf, 10));
  EXPECT_TRUE(test::ReadFileBytes(f.temp.file("out.dxf")) == first);
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

// The grid is dotted on the screen only: a file, and a block file of the
// screen output, keep the layer's line type and record nothing on the screen.
TEST(Diagram, GridDottedOnTheScreenOnly) {
  auto dotted = [](const DisplayList& d) {
    return std::count_if(d.items().begin(), d.items().end(), [](const DisplayItem& i) {
      return i.code == DisplayCode::LineStyle && i.v[0] == 1;
    });
  };
  auto frame = [](DiagramFixture& f, int device) {
    Diagrams d(f.out, device);
    d.SetDiagramSize(160, 110);
    d.SetDiagramOrigin(10, 20);
    d.DiagramFrame("xl", "yl", "Titel", 0, 0.35L, 0, -0.35L, 0.3L);
  };
  {
    DiagramFixture f;
    f.settings.askDiagramLimits = false;
    f.begin(kCadScreen);
    frame(f, kCadScreen);
    EXPECT_EQ(dotted(f.display), 1);
    EXPECT_EQ(f.display.items().back().code, DisplayCode::LineStyle);  // solid again after the grid
    EXPECT_EQ(f.display.items().back().v[0], 0);
  }
  for (int kind : {kCadText, kCadDxf}) {
    DiagramFixture f;
    f.settings.askDiagramLimits = false;
    f.begin(kind);
    frame(f, kind);
    EXPECT_TRUE(f.display.items().empty()) << kind;
  }
  {
    DiagramFixture f;
    f.settings.askDiagramLimits = false;
    f.cad->CadOpen(kCadScreen, "KAMO");
    f.cad->CadWindow(0, 0, 200, 200, 0);
    f.cad->CadBeginBlocks();
    f.cad->CadBeginBlock("grid");
    frame(f, kCadScreen);
    f.cad->CadEndBlock();
    EXPECT_EQ(dotted(f.display), 0);
    f.cad->CadEndSection();
    f.cad->CadBeginEntities();
    frame(f, kCadScreen);
    EXPECT_EQ(dotted(f.display), 1);
  }
}

}  // namespace
}  // namespace kamo
