// Every shipped help picture, drawn by our player and replayed onto an image,
// against the same file rendered by hp2xx, an independent HP-GL renderer. The
// geometry must agree within a small pixel tolerance; labels are left out on
// both sides, since the two programs draw text with different fonts.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "display/displaylist.h"
#include "display/picture.h"
#include "display/plotplayer.h"
#include "render/replay.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;

constexpr int kDpi = 76;               // 3 pixels per mm
constexpr double kPixelsPerMm = kDpi / 25.4;
constexpr int kTolerance = 2;          // pixels
constexpr double kAgreement = 0.985;   // share of ink pixels matched

// The canvas of the list without labels.
class GeometryOnly : public PlotCanvas {
 public:
  explicit GeometryOnly(DisplayList& l) : list_(l) {}
  void setColour(int c) override { list_.setColour(c); }
  void line(Real a, Real b, Real c, Real d) override { list_.line(a, b, c, d); }
  void circle(Real x, Real y, Real r) override { list_.circle(x, y, r); }
  void arc(Real xc, Real yc, Real a1, Real a2, Real r, Real s) override { list_.arc(xc, yc, a1, a2, r, s); }
  void label(std::string_view, Real, Real, Real, Real, Real) override {}

 private:
  DisplayListCanvas list_;
};

// The file without its labels (LB up to the ETX).
std::string WithoutLabels(const std::string& plt) {
  std::string out;
  for (size_t i = 0; i < plt.size(); ++i) {
    if ((plt[i] == 'L' || plt[i] == 'l') && i + 1 < plt.size() && (plt[i + 1] == 'B' || plt[i + 1] == 'b')) {
      size_t etx = plt.find('\x03', i + 2);
      if (etx == std::string::npos) break;
      i = etx;
      continue;
    }
    out += plt[i];
  }
  return out;
}

bool HaveHp2xx() { return std::system("command -v hp2xx >/dev/null 2>&1") == 0; }

// hp2xx's picture of the file: the 160 x 120 mm window at kDpi.
QImage Hp2xx(const std::string& plt, const std::string& folder) {
  std::string in = folder + "/in.plt", out = folder + "/out.png";
  test::WriteFileBytes(in, WithoutLabels(plt));
  pid_t pid = fork();
  if (pid == 0) {
    std::string dpi = std::to_string(kDpi);
    execlp("hp2xx", "hp2xx", "-q", "-m", "png", "-f", out.c_str(), "-d", dpi.c_str(), "-x", "0", "-X", "160",
           "-y", "0", "-Y", "120", "-w", "160", "-h", "120", in.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return QImage(QString::fromStdString(out));
}

QImage Ours(const std::string& plt, QSize size) {
  DisplayList list;
  list.Clear();
  list.Header(0, 0, 160, 120);
  GeometryOnly canvas(list);
  PlotState state;
  PlayPlot(plt, canvas, state, [](std::string_view s) { return std::string(s); });
  QImage img(size, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  ReplayStyle style;
  style.palette = PaletteColours(DefaultPalette());
  style.colour = false;  // every line black, like a monochrome printer
  ReplayTarget t;
  t.device = QRectF(0, 0, 160 * kPixelsPerMm, 120 * kPixelsPerMm);
  t.fixedWorld = true;
  t.wx0 = 0, t.wy0 = 0, t.wx1 = 160, t.wy1 = 120;
  ReplayDisplayList(p, list.records(), style, t);
  p.end();
  return img;
}

bool Ink(const QImage& img, int x, int y) {
  if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return false;
  QRgb c = img.pixel(x, y);
  return std::min({qRed(c), qGreen(c), qBlue(c)}) < 160;
}

// The share of a's ink pixels that have ink of b within the tolerance.
double Covered(const QImage& a, const QImage& b, int dx, int dy) {
  long ink = 0, hit = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      if (!Ink(a, x, y)) continue;
      ++ink;
      bool found = false;
      for (int v = -kTolerance; v <= kTolerance && !found; ++v)
        for (int u = -kTolerance; u <= kTolerance && !found; ++u) found = Ink(b, x + u + dx, y + v + dy);
      hit += found;
    }
  return ink ? static_cast<double>(hit) / ink : 0;
}

TEST(HelpPicturesAgainstHp2xx, EveryShippedPicture) {
  if (!HaveHp2xx()) GTEST_SKIP() << "hp2xx is not installed (scripts/install-deps.sh installs it)";
  test::TempFolder folder;
  int pictures = 0;
  for (const auto& e : fs::directory_iterator(std::string(KAMO_SOURCE_DIR) + "/data")) {
    if (e.path().extension() != ".plt") continue;
    ++pictures;
    std::string plt = test::ReadFileBytes(e.path().string());
    QImage theirs = Hp2xx(plt, folder.path());
    ASSERT_FALSE(theirs.isNull()) << e.path() << ": hp2xx wrote no picture";
    QImage ours = Ours(plt, theirs.size());
    // hp2xx may place the picture a pixel or two off: take the best shift.
    double best = 0;
    int bx = 0, by = 0;
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx) {
        double c = Covered(ours, theirs, dx, dy);
        if (c > best) best = c, bx = dx, by = dy;
      }
    double back = Covered(theirs, ours, -bx, -by);
    EXPECT_GE(best, kAgreement) << e.path().filename() << ": our lines that hp2xx does not draw";
    EXPECT_GE(back, kAgreement) << e.path().filename() << ": hp2xx lines that we do not draw";
    if (best < kAgreement || back < kAgreement) {
      ours.save(QString::fromStdString(folder.path() + "/../ours_" + e.path().stem().string() + ".png"));
    }
  }
  EXPECT_GE(pictures, 14);
}

}  // namespace
}  // namespace kamo
