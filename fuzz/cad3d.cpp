// Fuzz target of the 3D exchange: command lines of the plot program (from the
// configuration and batch files), STEP strings, IGES parameter cutting, and
// the triangulation of arbitrary outlines with a hole.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "cad/cadstl.h"
#include "cad/cadstp.h"
#include "cad/iges.h"
#include "cad/plot.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  for (const std::string& a : kamo::SplitCommandLine(text)) (void)kamo::QuoteArgument(a);
  (void)kamo::StepString(text);
  for (const std::string& r : kamo::IgesCut(text))
    if (r.size() > 64) __builtin_trap();
  // The rest as an outline and a hole of float pairs, split at the middle.
  std::vector<kamo::StlPoint> pts;
  for (std::size_t at = 0; at + 8 <= size && pts.size() < 400; at += 8) {
    float xy[2];
    std::memcpy(xy, data + at, 8);
    pts.push_back({xy[0], xy[1]});
  }
  std::size_t half = pts.size() / 2;
  std::vector<kamo::StlPoint> outer(pts.begin(), pts.begin() + static_cast<long>(half));
  std::vector<std::vector<kamo::StlPoint>> holes{{pts.begin() + static_cast<long>(half), pts.end()}};
  std::size_t total = outer.size() + holes[0].size();
  for (const auto& t : kamo::TriangulateRegion(outer, holes))
    for (int k : t)
      if (k < 0 || static_cast<std::size_t>(k) >= total) __builtin_trap();
  return 0;
}
