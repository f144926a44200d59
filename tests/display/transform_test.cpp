// Window transform, zoom rectangle, keys, wheel and rubber band.
#include <gtest/gtest.h>

#include "display/displaylist.h"
#include "display/fontstyle.h"
#include "display/transform.h"

namespace kamo {
namespace {

ViewTransform Window(int resX, int resY, bool iso = true) {
  DisplayList l;
  l.transform().resX = resX;
  l.transform().resY = resY;
  EXPECT_TRUE(l.SetWindow(iso, false, 0, 0, 1, 1, 0, 0, 100, 50));
  return l.transform();
}

TEST(ViewTransformRules, IsotropicScalesAndDeviceCoordinates) {
  ViewTransform v = Window(640, 480);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.sx), static_cast<double>(v.sy));
  EXPECT_DOUBLE_EQ(static_cast<double>(v.sx), 6.4);  // the narrower direction rules
  EXPECT_EQ(v.X(0), 0);
  EXPECT_EQ(v.X(100), 640);
  EXPECT_EQ(v.Y(0), 480);
  EXPECT_EQ(v.Y(50), 480 - 320);
  ViewTransform a = Window(640, 480, false);
  EXPECT_DOUBLE_EQ(static_cast<double>(a.sy), 9.6);
  // A wider device: k = 0.75 * 1000 / 480 keeps circles round on a 4:3 screen.
  ViewTransform w = Window(1000, 480);
  EXPECT_NEAR(static_cast<double>(w.sx / w.sy), 0.75 * 1000 / 480, 1e-12);
}

TEST(ViewTransformRules, KeysWheelAndRubberBand) {
  struct Case {
    ViewKey key;
    long zx0, zy0, zx1, zy1;
  } cases[] = {
      {ViewKey::Left, 13, 0, 653, 480},  {ViewKey::Right, -13, 0, 627, 480},
      {ViewKey::Up, 0, -10, 640, 470},   {ViewKey::Down, 0, 10, 640, 490},
      {ViewKey::PageUp, 0, -48, 640, 432}, {ViewKey::ZoomIn, 7, 5, 633, 475},
      {ViewKey::ZoomOut, -6, -5, 646, 485}, {ViewKey::Reset, 0, 0, 640, 480},
  };
  for (const Case& c : cases) {
    ViewTransform v = Window(640, 480);
    ProcessViewKey(v, c.key, 1.02L, 0.02L);
    EXPECT_EQ(v.zx0, c.zx0) << static_cast<int>(c.key);
    EXPECT_EQ(v.zy0, c.zy0) << static_cast<int>(c.key);
    EXPECT_EQ(v.zx1, c.zx1) << static_cast<int>(c.key);
    EXPECT_EQ(v.zy1, c.zy1) << static_cast<int>(c.key);
  }
  ViewTransform v = Window(640, 480);
  ProcessWheel(v, 120, 1.02L);  // forward: out
  EXPECT_LT(v.zx0, 0);
  ProcessWheel(v, -240, 0);     // a zoom factor of 0 counts as 1.02
  // Two notches back zoom in by twice the factor, past the single notch out.
  EXPECT_GT(v.zx0, 0);
  EXPECT_LT(v.zx1, 640);
  // Endless zooming out stops at the size limit instead of overflowing.
  ViewTransform far = Window(640, 480);
  for (int i = 0; i < 200; ++i) ProcessWheel(far, 120 * 100, 1.02L);
  EXPECT_GT(far.zx1 - far.zx0, 640);
  EXPECT_LT(far.zx1 - far.zx0, 100000000);
  ProcessWheel(far, 1 << 30, 1.02L);
  EXPECT_LT(far.zx1 - far.zx0, 100000000);
  ViewTransform b = Window(640, 480);
  EXPECT_FALSE(ZoomToBand(b, 10, 10, 10, 100, 640, 480, 1));  // no width: nothing
  EXPECT_EQ(b.zx1, 640);
  EXPECT_TRUE(ZoomToBand(b, 0, 0, 320, 240, 640, 480, 1));   // the upper left quarter
  EXPECT_EQ(b.zx0, 0);
  EXPECT_EQ(b.zx1, 320);
  EXPECT_EQ(b.zy0, 240);
  EXPECT_EQ(b.zy1, 480);
  EXPECT_DOUBLE_EQ(static_cast<double>(b.ex1), 50);
  ResetZoom(b);
  EXPECT_EQ(b.zx1, 640);
}

TEST(ViewTransformRules, PrinterCoordinates) {
  ViewTransform v = Window(640, 480);  // 6.4 pixels per mm
  struct Case {
    int pw, ph;
    double ox, oy, sx, sy, x, y;
    long px, py;
  } cases[] = {
      {6400, 4800, 0, 0, 1, 1, 0, 0, 0, 4800},        // lower left of the world: bottom of the page
      {6400, 4800, 0, 0, 1, 1, 100, 50, 6400, 1600},
      {6400, 4800, 21, 10.5, 0.5, 0.5, 100, 50, 640 + 3200, 320 + 800},
  };
  for (const Case& c : cases) {
    PrintMapping m{c.pw, c.ph, c.ox, c.oy, c.sx, c.sy};
    EXPECT_EQ(m.PX(v, c.x), c.px);
    EXPECT_EQ(m.PY(v, c.y), c.py);
  }
  PrintMapping m{6400, 4800, 0, 0, 1, 1};
  EXPECT_EQ(m.LengthX(v, 10), 640);
  EXPECT_EQ(m.LengthY(v, 10), 640);
  EXPECT_EQ(PrintMapping::PenWidth(3), 12);
}

TEST(ViewTransformRules, FontStyleNames) {
  EXPECT_EQ(FontStyleName(0), "");
  EXPECT_EQ(FontStyleName(3), "bold italic");
  EXPECT_EQ(FontStyleName(12), "underline strikeout");
  EXPECT_EQ(FontStyleName(15), "bold italic underline strikeout");
  EXPECT_EQ(FontStyleName(16), "");
}

}  // namespace
}  // namespace kamo
