// Formatting and parsing speed of the number helpers used by every report and file.
#include <benchmark/benchmark.h>

#include "core/numbers.h"

static void BM_FormatDecimals(benchmark::State& state) {
  kamo::NumberStyle ns;
  kamo::Real x = 123.456789L;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kamo::FormatDecimals(ns, 7, x));
    x += 0.001L;
  }
}
BENCHMARK(BM_FormatDecimals);

static void BM_ParseReal(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(kamo::ParseReal("  -1234,5678901"));
}
BENCHMARK(BM_ParseReal);
