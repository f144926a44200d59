// DXF speed: writing the largest contour, reading and importing a large drawing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "cad/dxfimport.h"
#include "cad/dxfreader.h"
#include "cad/dxfwriter.h"

namespace {

std::string BigDrawing(int n) {
  kamo::Settings s;
  kamo::DxfWriter w(s);
  w.BeginEntities();
  w.Polyline(1);
  for (int i = 0; i < n; ++i) {
    kamo::Real a = 2 * kamo::kPi * i / n;
    w.Vertex(50 * std::cos(a) + 5 * std::cos(7 * a), 50 * std::sin(a), i % 3 == 0 ? 0.01L : 0);
  }
  w.SeqEnd();
  w.EndSection();
  w.End();
  return w.take();
}

void BM_DxfWriteContour(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BigDrawing(2000));
}
BENCHMARK(BM_DxfWriteContour);

void BM_DxfReadAndChain(benchmark::State& state) {
  std::string text = BigDrawing(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    kamo::DxfReadResult r = kamo::ReadDxf(text);
    std::vector<kamo::ContourPiece> loop;
    std::string message;
    benchmark::DoNotOptimize(kamo::DxfContourLoop(r, loop, message));
  }
}
BENCHMARK(BM_DxfReadAndChain)->Arg(2000)->Arg(100000);

}  // namespace
