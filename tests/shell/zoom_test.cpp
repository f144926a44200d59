// Zoom rectangle moves of the main window's keys, wheel and rubber band.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shell/zoom.h"

namespace kamo {
namespace {

TEST(Zoom, Keys) {
  const ZoomRect whole{0, 0, 640, 480};
  const ZoomRect z{100, 100, 300, 200};
  struct Case {
    ZoomKey key;
    ZoomRect expected;
  };
  for (const Case& c : {
           Case{ZoomKey::Reset, whole},
           Case{ZoomKey::Left, {104, 100, 304, 200}},   // 0.02 * 200
           Case{ZoomKey::Right, {96, 100, 296, 200}},
           Case{ZoomKey::Up, {100, 98, 300, 198}},      // 0.02 * 100
           Case{ZoomKey::Down, {100, 102, 300, 202}},
           Case{ZoomKey::PageUp, {100, 90, 300, 190}},  // 5 * 0.02 * 100
           Case{ZoomKey::PageDown, {100, 110, 300, 210}},
           Case{ZoomKey::ZoomIn, {102, 101, 298, 199}},   // round(200 / 1.02) div 2 = 98
           Case{ZoomKey::ZoomOut, {98, 99, 302, 201}},    // round(200 * 1.02) div 2 = 102
           Case{ZoomKey::Other, z},
       }) {
    ZoomRect r = ApplyZoomKey(z, c.key, 1.02L, 0.02L, whole);
    EXPECT_EQ(r, c.expected) << static_cast<int>(c.key) << ": " << r.x0 << " " << r.y0 << " "
                             << r.x1 << " " << r.y1;
  }
  // A stored zoom factor of 0 counts as 1.02.
  EXPECT_EQ(ApplyZoomKey(z, ZoomKey::ZoomIn, 0, 0.02L, whole), (ZoomRect{102, 101, 298, 199}));
}

TEST(Zoom, WheelAndBand) {
  const ZoomRect z{100, 100, 300, 200};
  EXPECT_EQ(ApplyWheel(z, -120, 1.02L), ApplyZoomKey(z, ZoomKey::ZoomIn, 1.02L, 0, z));
  EXPECT_EQ(ApplyWheel(z, 120, 1.02L), ApplyZoomKey(z, ZoomKey::ZoomOut, 1.02L, 0, z));
  EXPECT_EQ(ApplyWheel(z, 30, 1.02L), ApplyWheel(z, 120, 1.02L));  // a small delta is one notch
  ZoomRect twice = ApplyWheel(z, -240, 1.5L);
  EXPECT_LT(twice.x1 - twice.x0, ApplyWheel(z, -120, 1.5L).x1 - ApplyWheel(z, -120, 1.5L).x0);
  EXPECT_EQ(ZoomToBand(z, 250, 180, 150, 120), (ZoomRect{150, 120, 250, 180}));
  EXPECT_EQ(ZoomToBand(z, 150, 120, 150, 180), z);  // zero width does nothing
  // Zooming in on a tiny rectangle stops instead of collapsing it.
  ZoomRect tiny{10, 10, 12, 12};
  EXPECT_EQ(ApplyZoomKey(tiny, ZoomKey::ZoomIn, 100, 0, tiny), tiny);
}

// Moves that would collapse, explode or overflow the rectangle are ignored.
TEST(Zoom, DegenerateMovesAreIgnored) {
  const ZoomRect z{100, 100, 300, 200};
  struct Case {
    const char* what;
    ZoomRect got;
  };
  const Real inf = std::numeric_limits<Real>::infinity();
  for (const Case& c : {
           Case{"band rounding to one pixel wide", ZoomToBand(z, 150.2L, 120, 149.8L, 180)},
           Case{"band rounding to one pixel high", ZoomToBand(z, 150, 120.4L, 250, 119.6L)},
           Case{"band of NaN corners", ZoomToBand(z, NAN, 0, 10, 10)},
           Case{"band beyond the limit", ZoomToBand(z, -1e30L, 0, 10, 10)},
           Case{"huge wheel delta", ApplyWheel(z, -2147483647 - 1, 1.02L)},
           Case{"zero wheel delta", ApplyWheel(z, 0, 1.02L)},
           Case{"zoom in below a pixel", ApplyZoomKey(z, ZoomKey::ZoomIn, 1e6L, 0, z)},
           Case{"zoom factor tiny", ApplyZoomKey(z, ZoomKey::ZoomIn, 1e-300L, 0, z)},
           Case{"pan factor huge", ApplyZoomKey(z, ZoomKey::Left, 1.02L, 1e300L, z)},
           Case{"pan factor NaN", ApplyZoomKey(z, ZoomKey::Down, 1.02L, NAN, z)},
       })
    EXPECT_EQ(c.got, z) << c.what;
  // A factor that is not finite counts as the default.
  EXPECT_EQ(ApplyZoomKey(z, ZoomKey::ZoomOut, inf, 0, z), ApplyZoomKey(z, ZoomKey::ZoomOut, 0, 0, z));

  // Zooming out again and again stops at the limit instead of overflowing.
  ZoomRect out = z;
  for (int i = 0; i < 100000; ++i) out = ApplyWheel(out, 1200, 2);
  EXPECT_GT(out.x1 - out.x0, 10000000);
  EXPECT_LE(out.x1, 100000000);
  EXPECT_GE(out.x0, -100000000);
  // ... and zooming in again from there still works.
  EXPECT_LT(ApplyWheel(out, -120, 2).x1 - ApplyWheel(out, -120, 2).x0, out.x1 - out.x0);
}

// A fast backward turn zooms in further than a slow one, never out.
TEST(Zoom, WheelStepsMultiplyTheZoom) {
  const ZoomRect z{0, 0, 6400, 4800};
  struct Case {
    int delta;
    long width;
  };
  for (const Case& c : {Case{-120, 6274},    // round(6400 / 1.02) div 2 * 2
                        Case{-240, 3136},    // / 2.04
                        Case{-360, 2092},    // / 3.06
                        Case{120, 6528},     // * 1.02
                        Case{240, 13056}}) { // * 2.04
    ZoomRect r = ApplyWheel(z, c.delta, 1.02L);
    EXPECT_EQ(r.x1 - r.x0, c.width) << c.delta;
    EXPECT_EQ((r.x0 + r.x1) / 2, 3200) << c.delta;
  }
}

}  // namespace
}  // namespace kamo
