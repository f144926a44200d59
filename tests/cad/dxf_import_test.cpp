// Import of contours from drawings written by ezdxf, the import commands, and
// the round trip of our own polyline export.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "cad/dxfimport.h"
#include "cad_fixture.h"
#include "cam/kamorech.h"
#include "graphics/sheets.h"
#include "io/kamoio.h"

namespace kamo {
namespace {

using test::CadFixture;

class DxfImport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new test::TempFolder;
    std::string cmd = "/usr/bin/python3 " + std::string(KAMO_SOURCE_DIR) + "/tests/cad/data/make_import_dxf.py " +
                      folder_->path();
    generated_ = std::system(cmd.c_str()) == 0;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::string file(const std::string& name) { return folder_->file(name); }
  void SetUp() override { ASSERT_TRUE(generated_) << "ezdxf could not write the drawings"; }

  static test::TempFolder* folder_;
  static bool generated_;
};
test::TempFolder* DxfImport::folder_ = nullptr;
bool DxfImport::generated_ = false;

TEST_F(DxfImport, SlotInEveryForm) {
  // Starting at the corner of the smallest polar angle, counter-clockwise.
  const ContourPoint want[] = {{30, 20, kPi}, {-30, 20, 0}, {-30, -20, kPi}, {30, -20, 0}, {30, 20, 0}};
  for (const char* name : {"r12_lines_arcs.dxf", "r12_reversed_mirrored.dxf", "r12_polyline_cw.dxf",
                           "r2010_lwpolyline_ccw.dxf", "r2010_lwpolyline_cw.dxf"}) {
    CamProject p;
    std::string message;
    ASSERT_TRUE(ImportDxfFile(file(name), ctPoints, p, message)) << name << ": " << message;
    ASSERT_EQ(p.basePointCount, 5) << name;
    for (int i = 0; i < 5; ++i) {
      const ContourPoint& q = p.basePoints[static_cast<size_t>(i + 1)];
      EXPECT_NEAR(static_cast<double>(q.x), static_cast<double>(want[i].x), 1e-9) << name << " " << i;
      EXPECT_NEAR(static_cast<double>(q.y), static_cast<double>(want[i].y), 1e-9) << name << " " << i;
      EXPECT_NEAR(static_cast<double>(q.phi), static_cast<double>(want[i].phi), 1e-9) << name << " " << i;
    }
    ASSERT_TRUE(ImportDxfFile(file(name), ctPolarPoints, p, message)) << message;
    ASSERT_EQ(p.prCount, 1000);
    struct Ray {
      int index;
      Real phi, r;
    } rays[] = {{1, 0, 30}, {251, kPi / 2, 50}, {751, 3 * kPi / 2, 50}, {501, kPi, 30}};
    for (const Ray& r : rays) {
      EXPECT_NEAR(static_cast<double>(p.prPoints[static_cast<size_t>(r.index)].phi), static_cast<double>(r.phi), 1e-12);
      EXPECT_NEAR(static_cast<double>(p.prPoints[static_cast<size_t>(r.index)].r), static_cast<double>(r.r), 1e-9) << name;
    }
  }
}

TEST_F(DxfImport, PolygonCornersAsPolarPoints) {
  CamProject p;
  std::string message;
  ASSERT_TRUE(ImportDxfFile(file("octagon.dxf"), ctPolarPoints, p, message)) << message;
  ASSERT_EQ(p.prCount, 8);
  for (int k = 0; k < 8; ++k) {
    EXPECT_NEAR(static_cast<double>(p.prPoints[static_cast<size_t>(k + 1)].phi), k * M_PI / 4, 1e-12);
    EXPECT_NEAR(static_cast<double>(p.prPoints[static_cast<size_t>(k + 1)].r), 40, 1e-9);
  }
}

TEST_F(DxfImport, DrawingsWithoutOneContour) {
  struct Case {
    const char* file;
    const char* says;
  } cases[] = {{"open.dxf", "offen bei"}, {"two.dxf", "mehr als eine Kontur"}, {"empty.dxf", "keine Linien"},
               {"missing.dxf", "nicht gefunden"}};
  for (const Case& c : cases) {
    CamProject p;
    std::string message;
    EXPECT_FALSE(ImportDxfFile(file(c.file), ctPoints, p, message)) << c.file;
    EXPECT_NE(message.find(c.says), std::string::npos) << c.file << ": " << message;
    EXPECT_EQ(p.basePointCount, 0);
  }
}

// Files that cannot give a contour say why, and nothing is imported.
TEST(DxfImportFiles, Refused) {
  auto polygon = [](int n, bool eof) {
    std::string t = "  0\nSECTION\n  2\nENTITIES\n  0\nLWPOLYLINE\n 70\n1\n";
    for (int i = 0; i < n; ++i) {
      double a = 2 * M_PI * i / n;
      t += " 10\n" + std::to_string(40 * std::cos(a)) + "\n 20\n" + std::to_string(40 * std::sin(a)) + "\n";
    }
    return t + "  0\nENDSEC\n" + (eof ? "  0\nEOF\n" : "");
  };
  struct Case {
    std::string text;
    int kind;
    const char* says;
  } cases[] = {
      {polygon(2500, true), ctPoints, "2501 Punkte"},
      {polygon(20, false), ctPoints, "EOF fehlt"},
      {"  0\nLINE\n 10\nzehn\n  0\nEOF\n", ctPoints, "Zahl in Zeile 4"},
      {std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), ctPolarPoints, "bin\x84r"},
      {"  0\nLINE\n 1x\n", ctPolarPoints, "Gruppencode in Zeile 3"},
  };
  for (const Case& c : cases) {
    test::TempFolder dir;
    test::WriteFileBytes(dir.file("c.dxf"), c.text);
    CamProject p;
    std::string message;
    EXPECT_FALSE(ImportDxfFile(dir.file("c.dxf"), c.kind, p, message)) << c.says;
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
    EXPECT_EQ(p.basePointCount, 0);
    EXPECT_EQ(p.prCount, 0);
  }
  // More corners than polar points: the radius is sampled instead.
  test::TempFolder dir;
  test::WriteFileBytes(dir.file("c.dxf"), polygon(2500, true));
  CamProject p;
  std::string message;
  ASSERT_TRUE(ImportDxfFile(dir.file("c.dxf"), ctPolarPoints, p, message)) << message;
  EXPECT_EQ(p.prCount, 1000);
  EXPECT_NEAR(static_cast<double>(p.prPoints[1].r), 40, 1e-3);
}

TEST_F(DxfImport, Commands) {
  CadFixture f;
  CamProject project;
  project.curveType = ctSine;
  project.calc.linearize = false;
  f.flags.modified = true;
  bool asked = false;
  DxfImportContext ctx{project, f.ui, f.flags, f.settings, [&] { asked = true; return true; }, {}, {}};
  f.port.files.push_back(file("r2010_lwpolyline_cw.dxf"));
  ASSERT_TRUE(ImportDxfContour(ctx, ctPoints));
  EXPECT_TRUE(asked);
  EXPECT_EQ(project.curveType, ctPoints);
  EXPECT_TRUE(project.calc.linearize);
  EXPECT_EQ(project.basePointCount, 5);
  EXPECT_FALSE(f.flags.modified);
  // A drawing without a contour: the box, the abort flag, the project unchanged.
  f.port.files.push_back(file("open.dxf"));
  EXPECT_FALSE(ImportDxfContour(ctx, ctPolarPoints));
  EXPECT_TRUE(f.flags.abortFlag);
  EXPECT_EQ(project.curveType, ctPoints);
  EXPECT_NE(f.port.boxTexts().back().find("offen"), std::string::npos);
  // Cancelled save question and cancelled file dialog change nothing.
  ctx.saveQuestion = [] { return false; };
  EXPECT_FALSE(ImportDxfContour(ctx, ctPolarPoints));
  ctx.saveQuestion = {};
  f.port.files.push_back(std::nullopt);
  EXPECT_FALSE(ImportDxfContour(ctx, ctPolarPoints));
  EXPECT_EQ(project.curveType, ctPoints);
  // The point table: the project is written first; a failed write stops.
  ctx.writeProject = [] { return false; };
  EXPECT_FALSE(ImportDxfIntoTable(ctx, ctPolarPoints));
  EXPECT_FALSE(f.flags.abortFlag);
  ctx.writeProject = [] { return true; };
  f.port.files.push_back(file("octagon.dxf"));
  ASSERT_TRUE(ImportDxfIntoTable(ctx, ctPolarPoints));
  EXPECT_EQ(project.prCount, 8);
  EXPECT_EQ(project.curveType, ctPoints);
}

// Our own export, imported as coordinate points, calculates to the same cam.
TEST(DxfRoundTrip, ExportImportSameExtremes) {
  for (const char* example : {"eccentric", "ellipse", "polygon", "sine", "sin_square"}) {
    CadFixture f;
    CamProject p;
    ASSERT_TRUE(ReadProject(f.ui, f.settings, std::string(KAMO_SOURCE_DIR) + "/examples/" + example + ".kmo", p));
    p.calc.steps = 720;
    Calculate(p, f.messages, f.flags, f.settings);
    ASSERT_FALSE(f.flags.calcError) << example;
    SheetOutput out{*f.cad, p, f.settings, f.messages, f.flags, f.ui, ErrorListContext{}};
    ASSERT_TRUE(OutputSheet(out, kCadDxf, 6));
    // The geometry sheet holds the same contour among arrows, centre lines and the bore.
    f.cad->environment().batchFile = f.temp.file("sheet");
    ASSERT_TRUE(OutputSheet(out, kCadDxf, 1));
    CamProject fromSheet;
    std::string sheetMessage;
    ASSERT_TRUE(ImportDxfFile(f.temp.file("sheet.dxf"), ctPoints, fromSheet, sheetMessage)) << sheetMessage;
    f.cad->environment().batchFile = f.temp.file("out");
    CamProject q = p;
    std::string message;
    ASSERT_TRUE(ImportDxfFile(f.temp.file("out.dxf"), ctPoints, q, message)) << example << ": " << message;
    q.curveType = ctPoints;
    EXPECT_EQ(fromSheet.basePointCount, q.basePointCount);
    Calculate(q, f.messages, f.flags, f.settings);
    ASSERT_FALSE(f.flags.calcError) << example;
    SCOPED_TRACE(example);
    const CamResults &a = p.results, &b = q.results;
    EXPECT_NEAR(static_cast<double>(a.rMax), static_cast<double>(b.rMax), 1e-3) << example;
    EXPECT_NEAR(static_cast<double>(a.rMin), static_cast<double>(b.rMin), 1e-3) << example;
    EXPECT_NEAR(static_cast<double>(a.stroke), static_cast<double>(b.stroke), 1e-3) << example;
    EXPECT_NEAR(a.xMax, b.xMax, 1e-3) << example;
    EXPECT_NEAR(a.yMin, b.yMin, 1e-3) << example;
    EXPECT_NEAR(static_cast<double>(p.section.A), static_cast<double>(q.section.A), 1e-3 * static_cast<double>(p.section.A));
  }
}

}  // namespace
}  // namespace kamo
