// Every sheet kind with a drawing of its own and the s, v, a diagrams, painted
// offscreen and compared with checked-in reference pictures, so that a change
// that breaks a drawing is seen. KAMO_BLESS=1 (scripts/bless-pictures.sh)
// writes the pictures anew.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "cad/cad.h"
#include "cam/kamorech.h"
#include "core/ui.h"
#include "display/displaylist.h"
#include "graphics/diagram.h"
#include "graphics/sheets.h"
#include "io/kamoio.h"
#include "render/exporters.h"
#include "support/cad_surroundings.h"

namespace kamo {
namespace {

const std::string kSource = KAMO_SOURCE_DIR;

struct Picture : test::CadSurroundings {
  CamProject project;

  // Records a sheet (kind > 0) or a diagram (kind < 0) as for the screen.
  DisplayList& record(const char* example, int kind) {
    EXPECT_TRUE(ReadProject(ui, settings, kSource + "/examples/" + example + ".kmo", project));
    Calculate(project, messages, flags, settings);
    project.drawing.zeichname = "Kurvenscheibe";
    project.drawing.zeichnr = "KS-1";
    CadEnvironment env = environment();
    // A fixed name: the folder of the checkout must not show in the picture.
    env.projectPath = std::string("examples/") + example + ".kmo";
    CadOutput cad(env);
    SheetOutput out{cad, project, settings, messages, flags, ui, ErrorListContext{}};
    bool ok = kind > 0 ? OutputSheet(out, kCadScreen, kind) : DiagramCommand(out, -kind, kCadScreen);
    EXPECT_TRUE(ok);
    return display;
  }
};

// Pixels whose colour differs clearly; antialiasing differences stay below the threshold.
double DifferentShare(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 1;
  long differ = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
      if (d > 96) ++differ;
    }
  return static_cast<double>(differ) / (a.width() * a.height());
}

TEST(ReferencePictures, SheetsAndDiagrams) {
  struct Case {
    const char* name;
    const char* example;
    int kind;  // sheet kind, or minus the diagram kind
    int sheetFormat;
  } cases[] = {
      {"sheet10_a3", "eccentric", 10, 3}, {"sheet5_form", "sine", 5, 4},
      {"sheet7_quick1", "polygon", 7, 0}, {"sheet9_quick3", "points", 9, 0},
      {"diagram4_sva", "sine", -4, 0},
      // Kinds 4 and 6 draw what 1 and 2 draw (6 without the bore).
      {"sheet1_geometry", "ellipse", 1, 0}, {"sheet2_contour", "polynomial", 2, 0},
      {"sheet3_table", "formula", 3, 0},     {"sheet8_quick2", "sin_square", 8, 0},
  };
  const bool bless = std::getenv("KAMO_BLESS") != nullptr;
  for (const Case& c : cases) {
    Picture p;
    DisplayList& list = p.record(c.example, c.kind);
    PictureOptions o = PictureOptionsFor(p.settings, c.sheetFormat);
    o.font = "DejaVu Sans";
    o.pngDpi = 40;
    o.recordResX = list.transform().resX;
    o.recordResY = list.transform().resY;
    // The pictures are monochrome: grey levels keep the files small.
    QImage img = RenderPicture(list, o).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_FALSE(img.isNull()) << c.name;
    std::string ref = kSource + "/tests/render/data/" + c.name + ".png";
    if (bless) {
      ASSERT_TRUE(img.save(QString::fromStdString(ref), "PNG")) << ref;
      continue;
    }
    QImage want(QString::fromStdString(ref));
    ASSERT_FALSE(want.isNull()) << ref << " is missing (scripts/bless-pictures.sh)";
    want = want.convertToFormat(img.format());
    EXPECT_LT(DifferentShare(img, want), 0.002) << c.name;
  }
}

}  // namespace
}  // namespace kamo
