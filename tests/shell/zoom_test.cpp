// Zoom rectangle moves of the main window's keys, wheel and rubber band.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kamo
