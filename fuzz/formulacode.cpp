// Any bytes as a formula, compiled once and evaluated: the compiled form must
// give exactly what the parser gives for the same text and x (value, error
// code and normalised text), end on any input and stay finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cam/formulacode.h"
#include "cam/mathpars.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string f(reinterpret_cast<const char*>(data), size);
  kamo::CompiledFormula compiled(f);
  for (kamo::Real x : {0.0L, 1.0L, -2.5L, 0.5L, 6.283185307179586477L, 1e300L}) {
    std::string g = f;
    kamo::FormulaResult want = kamo::EvalFormula(g, x);
    kamo::FormulaResult got = compiled.eval(x);
    if (!std::isfinite(got.value)) __builtin_trap();
    if (got.error != want.error) __builtin_trap();
    if (!(got.value == want.value)) __builtin_trap();
    // EvalFormula leaves the normalised text wherever it parsed at all.
    if (want.error != kamo::kFormulaEmpty && want.error != kamo::kFormulaParens && g != compiled.text())
      __builtin_trap();
  }
  return 0;
}
