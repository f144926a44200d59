// The A3 production drawing of a 1999-step cam: recording the display list
// through the element interface, and its replay onto a 1920 x 1080 image (the
// cost of every zoom and pan in the graphics window); one frame of the
// running animation.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cad/cad.h"
#include "cam/kamorech.h"
#include "core/ui.h"
#include "display/displaylist.h"
#include "display/picture.h"
#include "graphics/animation.h"
#include "graphics/sheets.h"
#include "render/replay.h"
#include "shell/console_port.h"
#include "shell/curveinput.h"
#include "shell/session.h"

namespace {

struct A3Sheet {
  kamo::ConsolePort port{std::cerr};
  kamo::Settings settings;
  kamo::MessageList messages;
  kamo::Flags flags;
  kamo::UiState state;
  kamo::Ui ui{port, flags, state, settings.numbers};
  kamo::FixedClock clock{kamo::DateTime{2026, 12, 10, 9, 30, 0}};
  kamo::CamProject project;
  kamo::DisplayList display;
  std::string temp;

  A3Sheet() {
    char dir[] = "/tmp/kamo-bench-XXXXXX";
    temp = mkdtemp(dir) ? dir : "/tmp";
    project.curveType = kamo::ctEllipse;
    project.ellipse.a = 60;
    project.ellipse.b = 40;
    project.calc.steps = 1999;
    project.ram.d = 20;
    kamo::Calculate(project, messages, flags, settings);
  }
  ~A3Sheet() {
    std::error_code ec;
    if (temp != "/tmp") std::filesystem::remove_all(temp, ec);
  }
  kamo::CadEnvironment environment() {
    kamo::CadEnvironment env;
    env.ui = &ui;
    env.settings = &settings;
    env.messages = &messages;
    env.flags = &flags;
    env.clock = &clock;
    env.display = &display;
    env.tempDir = temp;
    env.batch = true;
    return env;
  }
  bool record() {
    kamo::CadOutput cad(environment());
    kamo::SheetOutput out{cad, project, settings, messages, flags, ui, kamo::ErrorListContext{}};
    return kamo::OutputSheet(out, kamo::kCadScreen, 10);
  }
};

std::unique_ptr<QGuiApplication> EnsureApp() {
  if (QCoreApplication::instance()) return nullptr;
  if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kamo_bench";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

void BM_RecordA3Sheet(benchmark::State& state) {
  A3Sheet sheet;
  if (sheet.flags.calcError) state.SkipWithError("calculation failed");
  for (auto _ : state) {
    if (!sheet.record()) state.SkipWithError("sheet not drawn");
    benchmark::DoNotOptimize(sheet.display.size());
  }
  state.counters["records"] = static_cast<double>(sheet.display.size());
}
BENCHMARK(BM_RecordA3Sheet)->Unit(benchmark::kMillisecond);

void BM_ReplayA3Sheet(benchmark::State& state) {
  auto app = EnsureApp();
  A3Sheet sheet;
  if (!sheet.record()) state.SkipWithError("sheet not drawn");
  QImage img(1920, 1080, QImage::Format_RGB32);
  kamo::ReplayStyle style;
  style.palette = kamo::PaletteColours(kamo::DefaultPalette());
  style.colour = true;
  kamo::ReplayTarget target;
  target.device = QRectF(0, 0, 1920, 1080);
  target.recordResX = sheet.display.transform().resX;
  target.recordResY = sheet.display.transform().resY;
  for (auto _ : state) {
    img.fill(Qt::white);
    QPainter p(&img);
    kamo::ReplayResult r = kamo::ReplayDisplayList(p, sheet.display, style, target);
    p.end();
    benchmark::DoNotOptimize(r.records);
  }
  state.counters["records"] = static_cast<double>(sheet.display.size());
}
BENCHMARK(BM_ReplayA3Sheet)->Unit(benchmark::kMillisecond);

// One frame of the running animation of the 1999-step cam (round follower),
// as the window draws it at each tick: the frame recorded through the element
// interface (the cam block with contour and bore, turned; the follower axis,
// the hatched guides, the follower and the labels) and the list replayed onto
// a 1920 x 1080 image. The frames of the window's default run (90 a turn)
// follow one another, so every angle of the turn is in the figure.
void BM_RecordReplayAnimationFrame(benchmark::State& state) {
  auto app = EnsureApp();
  A3Sheet sheet;
  if (sheet.flags.calcError) state.SkipWithError("calculation failed");
  if (sheet.project.ram.type != 2) state.SkipWithError("not the round follower");
  kamo::CamProject shown = sheet.project;  // the run's snapshot, as the window animates it
  const kamo::AnimationRun run{90, 1, 0, false};
  QImage img(1920, 1080, QImage::Format_RGB32);
  kamo::ReplayStyle style;
  style.palette = kamo::PaletteColours(kamo::DefaultPalette());
  style.colour = true;
  int j = 0;
  for (auto _ : state) {
    {
      kamo::CadOutput cad(sheet.environment());
      kamo::SheetOutput out{cad, shown, sheet.settings, sheet.messages, sheet.flags, sheet.ui,
                            kamo::ErrorListContext{}};
      if (!kamo::DrawAnimationFrame(out, kamo::AnimationFrameAt(shown, run, j))) {
        state.SkipWithError("frame not drawn");
        break;
      }
    }
    j = (j + 1) % kamo::AnimationFrameCount(run);
    kamo::ReplayTarget target;
    target.device = QRectF(0, 0, 1920, 1080);
    target.recordResX = sheet.display.transform().resX;
    target.recordResY = sheet.display.transform().resY;
    img.fill(Qt::white);
    QPainter p(&img);
    kamo::ReplayResult played = kamo::ReplayDisplayList(p, sheet.display, style, target);
    p.end();
    benchmark::DoNotOptimize(played.records);
  }
  state.counters["records"] = static_cast<double>(sheet.display.size());
}
BENCHMARK(BM_RecordReplayAnimationFrame)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The "Calc" round trip of a parameter dialog for the largest cam: the
// fields stored through the dialog logic, the calculation of 1999 steps, the
// A3 preview recorded and replayed onto a 1920 x 1080 image.
void BM_CalcPreview(benchmark::State& state) {
  auto app = EnsureApp();
  A3Sheet sheet;
  kamo::ConsolePort port{std::cerr};
  kamo::Session session{port};
  session.project() = sheet.project;
  session.settings.helpLevel = 1;
  kamo::CurveInput in{session};
  in.calculate = [&] {
    kamo::Calculate(session.project(), session.messages, session.flags, session.settings);
  };
  QImage img(1920, 1080, QImage::Format_RGB32);
  kamo::ReplayStyle style;
  style.palette = kamo::PaletteColours(kamo::DefaultPalette());
  style.colour = true;
  in.show = [&](kamo::ViewCode) {
    sheet.project = session.project();
    if (!sheet.record()) state.SkipWithError("sheet not drawn");
    kamo::ReplayTarget target;
    target.device = QRectF(0, 0, 1920, 1080);
    target.recordResX = sheet.display.transform().resX;
    target.recordResY = sheet.display.transform().resY;
    img.fill(Qt::white);
    QPainter p(&img);
    kamo::ReplayResult r = kamo::ReplayDisplayList(p, sheet.display, style, target);
    p.end();
    benchmark::DoNotOptimize(r.records);
  };
  kamo::ParamEditor dialog(in, kamo::ctEllipse);
  kamo::ParamValues typed = dialog.fill();
  typed.texts[0] = "60.5";  // a changed field, read and stored each time
  for (auto _ : state) {
    if (!dialog.calc(typed)) state.SkipWithError("not stored");
  }
  if (session.flags.calcError) state.SkipWithError("calculation failed");
  state.counters["records"] = static_cast<double>(sheet.display.size());
}
BENCHMARK(BM_CalcPreview)->Unit(benchmark::kMillisecond);

}  // namespace
