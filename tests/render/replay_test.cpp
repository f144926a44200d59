// The replay of display records onto an image: full circles, the background
// colour, monochrome mode, line styles, bad records and windows.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "display/logo.h"
#include "display/picture.h"
#include "display/transform.h"
#include "render/replay.h"

namespace kamo {
namespace {

constexpr int kSize = 200;

// Replays records onto a white square image showing the world (0, 0)-(100, 100).
QImage Paint(const std::vector<std::string>& body, bool colour = true, ReplayResult* result = nullptr) {
  QImage img(kSize, kSize, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  ReplayStyle s;
  s.palette = PaletteColours(DefaultPalette());
  s.background = Qt::white;
  s.colour = colour;
  s.penUnit = 2;
  ReplayTarget t;
  t.device = QRectF(0, 0, kSize, kSize);
  t.recordResX = t.recordResY = kSize;
  std::vector<std::string> records = {"10;0;0;200;200;0;0;100;100"};
  records.insert(records.end(), body.begin(), body.end());
  ReplayResult r = ReplayDisplayList(p, records, s, t);
  if (result) *result = r;
  p.end();
  return img;
}

bool Inked(const QImage& img, double x, double y) {  // world mm, with a small neighbourhood
  int px = static_cast<int>(x * 2), py = static_cast<int>(kSize - y * 2);
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx) {
      int X = px + dx, Y = py + dy;
      if (X >= 0 && Y >= 0 && X < kSize && Y < kSize && img.pixelColor(X, Y) != QColor(Qt::white)) return true;
    }
  return false;
}

TEST(Replay, ArcsFullCirclesAndChords) {
  // Start and end point coincide: the whole circle, not nothing.
  QImage full = Paint({"8;16", "5;30;30;70;70;70;50;70;50"});
  for (auto [x, y] : {std::pair{70.0, 50.0}, {50.0, 70.0}, {30.0, 50.0}, {50.0, 30.0}})
    EXPECT_TRUE(Inked(full, x, y)) << x << " " << y;
  // A quarter counter-clockwise from 0 to 90 degrees.
  QImage quarter = Paint({"8;16", "5;30;30;70;70;70;50;50;70"});
  EXPECT_TRUE(Inked(quarter, 64.1, 64.1));
  EXPECT_FALSE(Inked(quarter, 30, 50));
  EXPECT_FALSE(Inked(quarter, 50, 30));
}

TEST(Replay, ColoursBackgroundAndMonochrome) {
  std::vector<std::string> body = {"12;3", "8;12", "4;10;50;90;50", "8;0", "4;50;50;60;50"};
  QImage c = Paint(body);
  EXPECT_EQ(c.pixelColor(40, kSize - 100), FromWindowsColour(0x0000FF));  // palette 12: red
  // Colour 0 paints in the background: the erased piece is white again.
  EXPECT_EQ(c.pixelColor(110, kSize - 100), QColor(Qt::white));
  QImage m = Paint(body, false);
  EXPECT_EQ(m.pixelColor(40, kSize - 100), QColor(Qt::black));
  EXPECT_EQ(m.pixelColor(110, kSize - 100), QColor(Qt::white));
  // A filled quadrangle.
  QImage s = Paint({"8;16", "7;10;10;40;10;40;40;10;40"});
  EXPECT_EQ(s.pixelColor(50, kSize - 50), QColor(Qt::black));
}

TEST(Replay, DashedLinesLeaveGaps) {
  auto inkAlong = [](const QImage& img) {
    int n = 0;
    for (int x = 20; x < 180; ++x) n += img.pixelColor(x, kSize - 100) != QColor(Qt::white);
    return n;
  };
  int solid = inkAlong(Paint({"8;16", "11;0", "4;10;50;90;50"}));
  int dashed = inkAlong(Paint({"8;16", "11;3", "4;10;50;90;50"}));
  EXPECT_EQ(solid, 160);
  EXPECT_LT(dashed, solid);
  EXPECT_GT(dashed, 0);
}

TEST(Replay, BadRecordsAndEmptyWindows) {
  ReplayResult r;
  // Unknown codes, missing and unreadable fields, pauses: skipped without harm.
  QImage img = Paint({"99;1", "4;1;2", "4;a;b;c;d", "", "13;100000", "8;400", "9;;;", "6;1", "6;5;5;"}, true, &r);
  EXPECT_TRUE(r.ok);
  // Coordinates far outside any sheet, dashed and as text: drawn or left out, never a hang.
  Paint({"11;3", "12;100", "4;0;0;1e300;1e300", "4;-1e300;5;1e300;5", "3;50;50;1e300", "5;-1e300;-1e300;1e300;1e300;1e300;0;0;1e300",
         "9;1e300;1e300;0;45", "6;1e300;1e300;far", "9;5;5;0;1e300", "6;10;10;turned", "9;5;1e300;0;0", "6;10;30;wide", "7;0;0;1e300;0;1e300;1e300;0;1e300",
         "10;0;0;200;200;0;0;1e-300;1e-300", "4;0;0;1;1", "8;1e300", "11;-1e300", "12;1e300", "8;-1e300"},
        true, &r);
  EXPECT_TRUE(r.ok);
  // Pauses go to the screen's hook, bounded.
  {
    QImage img2(10, 10, QImage::Format_RGB32);
    QPainter p(&img2);
    ReplayTarget t;
    t.device = QRectF(0, 0, 10, 10);
    std::vector<int> waited;
    t.pause = [&waited](int ms) { waited.push_back(ms); };
    ReplayDisplayList(p, {"13;50", "13;-5", "13;99999999"}, ReplayStyle{}, t);
    EXPECT_EQ(waited, (std::vector<int>{50, 0, 10000}));
  }
  // A window of zero width stops the replay.
  Paint({"10;0;0;200;200;5;0;5;100", "4;10;10;90;90"}, true, &r);
  EXPECT_FALSE(r.ok);
}

TEST(Replay, TextIsPaintedWithEscapement) {
  QImage plain = Paint({"8;16", "9;5;5;2;0", "6;10;50;HHHH"});
  QImage up = Paint({"8;16", "9;5;5;2;90", "6;50;10;HHHH"});
  EXPECT_TRUE(Inked(plain, 15, 52));
  EXPECT_FALSE(Inked(plain, 50, 30));
  EXPECT_TRUE(Inked(up, 48, 15));
  EXPECT_FALSE(Inked(up, 80, 12));
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

TEST(Replay, LogoInItsTwoColours) {
  DisplayList list;
  DrawQuortexLogo(list);
  ASSERT_GT(list.size(), 4u);
  ReplayStyle s;
  s.palette = PaletteColours(DefaultPalette());
  ReplayTarget t;
  t.device = QRectF(0, 0, 390, 340);
  t.recordResX = list.transform().resX;
  t.recordResY = list.transform().resY;
  QImage img(390, 340, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  EXPECT_TRUE(ReplayDisplayList(p, list.records(), s, t).ok);
  p.end();
  int c9 = 0, c13 = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      QColor c = img.pixelColor(x, y);
      c9 += c == FromWindowsColour(0xFF0000);
      c13 += c == FromWindowsColour(0xFF00FF);
    }
  EXPECT_GT(c9, 1000);
  EXPECT_GT(c13, 1000);
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

TEST(Replay, ZoomRectangleMagnifies) {
  auto paint = [](bool zoomed) {
    QImage img(200, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    ReplayStyle s;
    s.palette = PaletteColours(DefaultPalette());
    ReplayTarget t;
    t.device = QRectF(0, 0, 200, 200);
    t.recordResX = t.recordResY = 200;
    t.zoomed = zoomed;
    t.zx0 = t.zy0 = 0;  // the lower left quarter
    t.zx1 = t.zy1 = 100;
    ReplayDisplayList(p, {"10;0;0;200;200;0;0;100;100", "8;16", "4;10;10;20;10"}, s, t);
    p.end();
    return img;
  };
  QImage plain = paint(false), zoomed = paint(true);
  EXPECT_NE(plain.pixelColor(30, 180), QColor(Qt::white));
  EXPECT_EQ(plain.pixelColor(60, 160), QColor(Qt::white));
  EXPECT_NE(zoomed.pixelColor(60, 160), QColor(Qt::white));
  EXPECT_EQ(zoomed.pixelColor(30, 180), QColor(Qt::white));
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

// The replay puts a world point where the window transform's X and Y put it,
// after the zoom and pan steps of the window.
TEST(Replay, ZoomedWindowFollowsTheTransform) {
  enum Step { In, Out, Left, Up, WheelIn };
  const std::vector<std::vector<Step>> cases = {
      {}, {In}, {In, In, In}, {In, In, Left, Left}, {In, In, In, Up}, {Out, Out}, {WheelIn, Left}};
  const std::pair<double, double> points[] = {{80, 60}, {40, 30}, {120, 90}, {70, 65}, {95, 50}};
  for (size_t c = 0; c < cases.size(); ++c) {
    DisplayList list;
    ASSERT_TRUE(list.Header(0, 0, 160, 120));
    list.SetColor(16);
    for (auto [x, y] : points) list.Solid(x - 1.5L, y - 1.5L, x + 1.5L, y - 1.5L, x + 1.5L, y + 1.5L, x - 1.5L, y + 1.5L);
    ViewTransform v = list.transform();
    for (Step s : cases[c]) {
      if (s == WheelIn)
        ProcessWheel(v, -240, 1.5L);
      else
        ProcessViewKey(v, s == In ? ViewKey::ZoomIn : s == Out ? ViewKey::ZoomOut : s == Left ? ViewKey::Left : ViewKey::Up,
                       1.5L, 0.1L);
    }
    QImage img(v.resX, v.resY, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    ReplayStyle style;
    style.palette = PaletteColours(DefaultPalette());
    ReplayTarget t;
    t.device = QRectF(0, 0, v.resX, v.resY);
    ZoomAs(t, v);
    ASSERT_TRUE(ReplayDisplayList(p, list.records(), style, t).ok);
    p.end();
    int seen = 0;
    for (auto [x, y] : points) {
      long X = v.X(x), Y = v.Y(y);
      if (X < 2 || Y < 2 || X >= v.resX - 2 || Y >= v.resY - 2) continue;  // zoomed out of view
      ++seen;
      EXPECT_EQ(img.pixelColor(static_cast<int>(X), static_cast<int>(Y)), QColor(Qt::black))
          << "case " << c << " point " << x << "," << y << " at " << X << "," << Y;
    }
    EXPECT_GE(seen, 1) << c;
  }
}

}  // namespace
}  // namespace kamo
