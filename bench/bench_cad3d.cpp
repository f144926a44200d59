// 3D exchange speed: triangulating the largest cam section, the STEP
// numbering of a large polyline, the cam solid and contour curve in STEP of
// the 1999-step cam (goal: under 50 ms CPU, file under 2 MB).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "cad/cadstl.h"
#include "cad/cadstp.h"
#include "cad/stepsolid.h"
#include "cam/kamorech.h"
#include "io/kamoio.h"
#include "support/scripted_port.h"

namespace {

// A wavy outline of n points (counter-clockwise) and a bore of m points (clockwise).
void Section(int n, int m, std::vector<kamo::StlPoint>& outer,
             std::vector<std::vector<kamo::StlPoint>>& holes) {
  outer.clear();
  for (int i = 0; i < n; ++i) {
    double a = 2 * M_PI * i / n;
    outer.push_back({(50 + 8 * std::sin(5 * a)) * std::cos(a), (50 + 8 * std::sin(5 * a)) * std::sin(a)});
  }
  std::vector<kamo::StlPoint> bore;
  for (int i = 0; i < m; ++i) {
    double a = -2 * M_PI * i / m;
    bore.push_back({10 * std::cos(a), 10 * std::sin(a)});
  }
  holes = {bore};
}

void BM_TriangulateCamSection(benchmark::State& state) {
  std::vector<kamo::StlPoint> outer;
  std::vector<std::vector<kamo::StlPoint>> holes;
  Section(static_cast<int>(state.range(0)), 628, outer, holes);
  for (auto _ : state) benchmark::DoNotOptimize(kamo::TriangulateRegion(outer, holes));
}
BENCHMARK(BM_TriangulateCamSection)->Arg(2000)->Arg(3600);

void BM_StepNumbers(benchmark::State& state) {
  kamo::Real x = 0.001L;
  for (auto _ : state) {
    x += 1.25L;
    benchmark::DoNotOptimize(kamo::StepReal(x));
  }
}
BENCHMARK(BM_StepNumbers);

// The sine example calculated with 1999 steps, as the solid's contour.
std::vector<kamo::ProfileVertex> Cam1999() {
  kamo::Settings settings;
  kamo::test::ScriptedPort port;
  kamo::Flags flags;
  kamo::UiState state;
  kamo::Ui ui(port, flags, state, settings.numbers);
  auto p = std::make_unique<kamo::CamProject>();
  std::vector<kamo::ProfileVertex> v;
  if (!kamo::ReadProject(ui, settings, std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo", *p)) return v;
  p->calc.steps = 1999;
  kamo::MessageList messages;
  kamo::Calculate(*p, messages, flags, settings);
  for (int i = 1; i <= p->basePointCount; ++i) {
    const kamo::ContourPoint& q = p->basePoints[static_cast<size_t>(i)];
    v.push_back({static_cast<double>(q.x), static_cast<double>(q.y), static_cast<double>(q.phi)});
  }
  return v;
}

kamo::StepFileInfo BenchInfo() { return {"Nocken", "KAMO", "/tmp/cam.stp", "2026-12-09T09:30:05", "KAMO", "KAMO"}; }

void BM_StepCamSolid1999(benchmark::State& state) {
  auto contour = Cam1999();
  size_t bytes = 0;
  for (auto _ : state) {
    kamo::StepBuild b = kamo::CamSolidStep(contour, 10, 12, BenchInfo());
    if (!b.ok) state.SkipWithError(b.error.c_str());
    bytes = b.bytes.size();
  }
  state.counters["points"] = static_cast<double>(contour.size());
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_StepCamSolid1999)->Unit(benchmark::kMillisecond);

void BM_StepContourCurve1999(benchmark::State& state) {
  auto contour = Cam1999();
  size_t bytes = 0;
  for (auto _ : state) {
    kamo::StepBuild b = kamo::ContourCurveStep(contour, BenchInfo());
    if (!b.ok) state.SkipWithError(b.error.c_str());
    bytes = b.bytes.size();
  }
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_StepContourCurve1999)->Unit(benchmark::kMillisecond);

}  // namespace
