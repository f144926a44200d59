// "--animate N --format gif|png": the animated GIF read back by gifsicle
// (frames, size, delay, loop), its frames compared with the PNG sequence of
// the same run, the PNG folder written whole, and the exit codes.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>

#include "cad/formats.h"
#include "cam/kamorech.h"
#include "core/ui.h"
#include "io/kamoio.h"
#include "render/exporters.h"
#include "render/gif.h"
#include "shell/animate_batch.h"
#include "shell/cmdline.h"
#include "shell/console_port.h"
#include "shell/session.h"
#include "picture_batch.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

namespace fs = std::filesystem;
using test::Batch;
using test::Outcome;
using test::Example;
using test::TempFolder;


int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// What gifsicle --info says about a GIF: the number of images, the screen
// size, the delays and whether it loops for ever.
struct GifInfo {
  int images = -1, width = 0, height = 0;
  std::vector<std::string> delays;
  bool loops = false;
};
GifInfo Info(const std::string& path) {
  std::string text = test::CommandOutput("gifsicle --info '" + path + "' 2>&1");
  GifInfo g;
  std::smatch m;
  if (std::regex_search(text, m, std::regex("(\\d+) images?"))) g.images = std::stoi(m[1]);
  if (std::regex_search(text, m, std::regex("logical screen (\\d+)x(\\d+)"))) {
    g.width = std::stoi(m[1]);
    g.height = std::stoi(m[2]);
  }
  std::regex delay("delay ([0-9.]+)s");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), delay); it != std::sregex_iterator(); ++it)
    g.delays.push_back((*it)[1]);
  g.loops = text.find("loop forever") != std::string::npos;
  return g;
}

double SpeedOf(const std::string& project) {
  test::ScriptedPort port;
  Session s(port);
  EXPECT_TRUE(ReadProject(s.ui, s.settings, project, s.project()));
  return static_cast<double>(s.project().speed);
}

TEST(AnimateBatch, GifFramesSizeAndDelay) {
  struct Case {
    const char* example;
    std::vector<std::string> extra;
    int frames, width, height;
    std::string delay;  // as gifsicle prints it
  } cases[] = {
      {"sine", {}, 12, 800, 800, "0.04"},
      {"eccentric", {"--size", "320x240"}, 5, 320, 240, "0.04"},
      {"polygon", {"--size", "64X64"}, 1, 64, 64, "0.04"},
      {"sine", {"--real-time", "--size", "100x100"}, 36, 100, 100, ""},
  };
  TempFolder work;
  for (const Case& c : cases) {
    std::string out = work.file(std::string(c.example) + std::to_string(c.frames) + ".gif");
    std::vector<std::string> args = {Example(c.example), "--animate", std::to_string(c.frames), "--format", "gif",
                                     "-o", out};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    Outcome r = Batch(args, work.path());
    ASSERT_EQ(r.code, 0) << c.example << " " << r.err;
    GifInfo g = Info(out);
    EXPECT_EQ(g.images, c.frames) << c.example;
    EXPECT_EQ(g.width, c.width);
    EXPECT_EQ(g.height, c.height);
    EXPECT_TRUE(g.loops);
    std::string delay = c.delay;
    if (delay.empty()) {
      // One turn in 60/n s spread over the frames, in whole hundredths.
      int cs = AnimationFrameDelay(true, SpeedOf(Example(c.example)), c.frames);
      char buf[16];
      std::snprintf(buf, sizeof buf, "%.2f", cs / 100.0);
      delay = buf;
    }
    ASSERT_EQ(g.delays.size(), static_cast<size_t>(c.frames));
    for (const std::string& d : g.delays) EXPECT_EQ(d, delay) << c.example;
  }
}

TEST(AnimateBatch, FrameDelays) {
  struct Case {
    bool realTime;
    double speed;
    int frames, cs;
  } cases[] = {
      {false, 1000, 90, 4}, {true, 1000, 60, 2},  // 1 ms: at least 2
      {true, 10, 60, 10},   {true, 1, 36, 167},   // 1666.7 ms
      {true, 0, 10, 4},     {true, 1e-5, 1, 65535},
  };
  for (const Case& c : cases) EXPECT_EQ(AnimationFrameDelay(c.realTime, c.speed, c.frames), c.cs) << c.speed;
}

// Frame k of the GIF is the PNG of frame k (up to the GIF's palette), and
// differs from the PNG of another frame: each frame shows its own follower place.
TEST(AnimateBatch, GifFramesMatchThePngSequence) {
  TempFolder work;
  const std::string gif = work.file("cam.gif");
  ASSERT_EQ(Batch({Example("sine"), "--animate", "12", "--format", "gif", "--size", "300x300", "-o", gif},
                  work.path()).code, 0);
  Outcome r = Batch({Example("sine"), "--animate", "12", "--format", "png", "--size", "300x300", "-o",
                     work.file("frames")}, work.path());
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(work.file("frames"))) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  ASSERT_EQ(names.size(), 12u);
  EXPECT_EQ(names.front(), "sine_0001.png");
  EXPECT_EQ(names.back(), "sine_0012.png");
  auto difference = [](const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) {
        QRgb p = a.pixel(x, y), q = b.pixel(x, y);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
      }
    return sum / (a.width() * a.height() * 3.0);
  };
  // The right half holds the follower and its guides.
  const QRect followerSide(150, 60, 150, 180);
  for (int k : {2, 5, 9}) {
    std::string one = work.file("frame" + std::to_string(k) + ".gif");
    test::CommandOutput("gifsicle --unoptimize '" + gif + "' '#" + std::to_string(k - 1) + "' -o '" + one + "'");
    QImage fromGif(QString::fromStdString(one));
    auto frame = [&work](int j) {
      char name[32];
      std::snprintf(name, sizeof name, "frames/sine_%04d.png", j);
      return QImage(QString::fromStdString(work.file(name)));
    };
    QImage png = frame(k), other = frame(k + 1);
    ASSERT_FALSE(fromGif.isNull()) << k;
    ASSERT_FALSE(png.isNull() || other.isNull()) << k;
    ASSERT_EQ(fromGif.size(), QSize(300, 300));
    QImage a = fromGif.convertToFormat(QImage::Format_RGB32).copy(followerSide);
    QImage b = png.convertToFormat(QImage::Format_RGB32).copy(followerSide);
    QImage c = other.convertToFormat(QImage::Format_RGB32).copy(followerSide);
    EXPECT_LT(difference(a, b), 4.0) << "frame " << k;
    EXPECT_GT(difference(b, c), difference(a, b)) << "frame " << k;
  }
  EXPECT_EQ(Count(test::CommandOutput("gifsicle --info '" + gif + "'"), "+ image #"), 12);
}

// The PNG frames land in <stem>_frames of the working folder, whole: an
// existing folder is refused and nothing is left behind.
TEST(AnimateBatch, PngFolder) {
  TempFolder work;
  Outcome r = Batch({Example("sine"), "--animate", "3", "--format", "png", "--size", "32x32"}, work.path());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::exists(work.file("sine_frames/sine_0003.png")));
  r = Batch({Example("sine"), "--animate", "3", "--format", "png", "--size", "32x32"}, work.path());
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("exists already"), std::string::npos) << r.err;
  fs::create_directory(work.file("empty"));
  r = Batch({Example("sine"), "--animate", "3", "--format", "png", "-o", work.file("empty")}, work.path());
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(fs::is_empty(work.file("empty")));
  r = Batch({Example("sine"), "--animate", "3", "--format", "png", "-o", work.file("missing/frames")}, work.path());
  EXPECT_EQ(r.code, 1);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(work.path())) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"empty", "sine_frames"}));
}

TEST(AnimateBatch, ExitCodes) {
  TempFolder work;
  fs::copy_file(Example("sine"), work.file("cam.kmo"));
  test::WriteFileBytes(work.file("broken.kmo"), "not a project\r\n");
  const std::string cam = work.file("cam.kmo"), broken = work.file("broken.kmo");
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* reason;
  } cases[] = {
      {{cam, "--animate", "0", "--format", "gif"}, 2, "1..3600"},
      {{cam, "--animate", "3601", "--format", "gif"}, 2, "1..3600"},
      {{cam, "--animate", "x", "--format", "gif"}, 2, "1..3600"},
      {{cam, "--animate", "12"}, 2, "needs --format"},
      {{cam, "--animate", "12", "--format", "pdf"}, 2, "unknown format"},
      {{cam, "--animate", "12", "--format", "gif", "--size", "8x8"}, 2, "--size"},
      {{cam, "--animate", "12", "--format", "gif", "--size", "800"}, 2, "--size"},
      {{cam, "--sheet", "1", "--format", "pdf", "--real-time"}, 2, "belongs to --animate"},
      {{cam, "--animate"}, 2, "missing"},
      {{broken, "--animate", "4", "--format", "gif"}, 1, ""},
      {{cam, "--animate", "4", "--format", "gif", "-o", "cam.kmo"}, 1, "project"},
      {{cam, "--animate", "4", "--format", "gif", "--size", "40x40"}, 0, ""},
  };
  for (const Case& c : cases) {
    Outcome r = Batch(c.args, work.path());
    EXPECT_EQ(r.code, c.code) << c.args[1] << " " << r.err;
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
  }
  EXPECT_EQ(Info(work.file("cam.gif")).images, 4);
  // "/?" names the job.
  std::ostringstream out, err;
  test::ScriptedPort port;
  Session s(port);
  EXPECT_EQ(RunBatchIn(s, {"/?"}, work.path(), out, err), 0);
  EXPECT_NE(out.str().find("--animate N --format F"), std::string::npos);
}

// Every picture row of the format table has its painter in the program: a
// writer for each format of the sheets and diagrams, a frame writer for each
// format of --animate (a row without one would only ever say "not available yet").
TEST(AnimateBatch, EveryPictureRowHasItsWriter) {
  PictureExporters registry;
  RegisterPictureExporters(registry);
  for (const OutputFormat& f : kOutputFormats) {
    if (f.cad) continue;
    EXPECT_EQ(registry.find(f.name) != nullptr, (f.jobs & kJobsDrawing) != 0) << f.name;
    EXPECT_EQ(registry.findFrames(f.name) != nullptr, (f.jobs & kJobAnimate) != 0) << f.name;
  }
}

}  // namespace
}  // namespace kamo
