// 3D exchange speed: triangulating the largest cam section, the STEP
// numbering of a large polyline.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "cad/cadstl.h"
#include "cad/cadstp.h"

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

}  // namespace
