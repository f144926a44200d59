// Any bytes as a formula: the parser must end, stay finite and keep its
// normalised text stable.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cam/mathpars.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string f(reinterpret_cast<const char*>(data), size);
  for (kamo::Real x : {0.0L, 1.0L, -2.5L, 1e300L}) {
    std::string g = f;
    kamo::FormulaResult r = kamo::EvalFormula(g, x);
    if (!std::isfinite(r.value)) __builtin_trap();
    if (r.error < 0 && r.value != 0) __builtin_trap();
    if (r.error > static_cast<int>(g.size()) + 1) __builtin_trap();
    // The normalised text normalises to itself (but for a second leading
    // "+", of which one is removed each time) and evaluates alike.
    std::string h = g;
    kamo::FormulaResult again = kamo::EvalFormula(h, x);
    if (r.error >= 0 && !(g.size() && g[0] == '+') && (h != g || again.error != r.error)) __builtin_trap();
  }
  return 0;
}
