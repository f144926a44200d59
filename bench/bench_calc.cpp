// The calculation at its largest: 1999 steps of the ellipse a = 60, b = 40
// with a round follower of 20 mm, production pass against the all-pairs scan.
#include <benchmark/benchmark.h>

#include <string>

#include "cam/checks.h"
#include "cam/kamorech.h"
#include "support/reference_follower.h"

namespace {

kamo::CamProject MaxProject(std::uint16_t followerType) {
  kamo::CamProject p;
  p.curveType = kamo::ctEllipse;
  p.ellipse.a = 60;
  p.ellipse.b = 40;
  p.calc.steps = 1999;
  p.ram.type = followerType;
  p.ram.d = 20;
  return p;
}

void Run(benchmark::State& state, std::uint16_t followerType, kamo::FollowerPass pass) {
  kamo::CamProject p = MaxProject(followerType);
  kamo::MessageList messages;
  kamo::Flags flags;
  kamo::Settings settings;
  for (auto _ : state) {
    kamo::Calculate(p, messages, flags, settings, pass);
    benchmark::DoNotOptimize(p.results.stroke);
  }
  if (flags.calcError) state.SkipWithError("calculation failed");
}

void BM_Calculate_Max(benchmark::State& state) { Run(state, 2, &kamo::FollowerPositions); }
void BM_Calculate_MaxReference(benchmark::State& state) {
  Run(state, 2, &kamo::test::ReferenceFollowerPositions);
}
void BM_Calculate_MaxFlat(benchmark::State& state) { Run(state, 1, &kamo::FollowerPositions); }
void BM_Calculate_MaxFlatReference(benchmark::State& state) {
  Run(state, 1, &kamo::test::ReferenceFollowerPositions);
}

// The engineering checks alone on the largest contour: the share they add to
// BM_Calculate_Max (goal: at most 20 %). They reuse the follower positions.
void BM_Checks_Max(benchmark::State& state) {
  kamo::CamProject p = MaxProject(2);
  kamo::MessageList messages;
  kamo::Flags flags;
  kamo::Settings settings;
  kamo::Calculate(p, messages, flags, settings);
  std::vector<kamo::Real> s;
  kamo::FollowerPositions(p, s);
  for (auto _ : state) {
    kamo::RunChecks(p, s, p.ram.d / 2);
    benchmark::DoNotOptimize(p.checks.alphaMax);
  }
  if (flags.calcError) state.SkipWithError("calculation failed");
}

// The default project size (100 steps), as after a keystroke in a dialog.
void BM_Calculate_Default(benchmark::State& state) {
  kamo::CamProject p;
  p.curveType = kamo::ctEllipse;
  kamo::MessageList messages;
  kamo::Flags flags;
  kamo::Settings settings;
  for (auto _ : state) {
    kamo::Calculate(p, messages, flags, settings);
    benchmark::DoNotOptimize(p.results.stroke);
  }
}

// A formula of 1 MB (about 77 000 terms) at 1999 steps: the goal is well
// under 2 s for the whole calculation, since the text is parsed only once and
// the term that repeats is computed once per angle.
std::string RepeatedTerms() {
  std::string f = "50";
  while (f.size() < (1u << 20) - 16) f += "+0.001*SIN(X*3)";
  return f;
}
// The same size with every sine different: bound by the sine itself.
std::string DistinctTerms() {
  std::string f = "50";
  for (int k = 1; f.size() < (1u << 20) - 24; ++k) f += "+0.001*SIN(X*" + std::to_string(k) + ")";
  return f;
}

void CalculateFormula(benchmark::State& state, const std::string& f) {
  kamo::CamProject p;
  p.curveType = kamo::ctFormula;
  p.calc.steps = 1999;
  p.segmentCount = 1;
  p.segments[1] = {360, f};
  kamo::MessageList messages;
  kamo::Flags flags;
  kamo::Settings settings;
  for (auto _ : state) {
    kamo::Calculate(p, messages, flags, settings);
    benchmark::DoNotOptimize(p.results.stroke);
  }
  if (flags.calcError) state.SkipWithError("calculation failed");
}
void BM_Calculate_MegabyteFormula(benchmark::State& state) { CalculateFormula(state, RepeatedTerms()); }
void BM_Calculate_MegabyteFormulaDistinct(benchmark::State& state) { CalculateFormula(state, DistinctTerms()); }

}  // namespace

BENCHMARK(BM_Calculate_Max)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Checks_Max)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calculate_MaxReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calculate_MaxFlat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calculate_MaxFlatReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calculate_Default)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Calculate_MegabyteFormula)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calculate_MegabyteFormulaDistinct)->Unit(benchmark::kMillisecond)->Iterations(1);
