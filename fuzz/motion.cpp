// Any bytes as a motion programme file: the reader ends, a refusal names a
// line of the text, and an accepted programme gives formula segments that
// parse without error, cover the revolution and keep finite radii.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cam/mathpars.h"
#include "cam/motionprog.h"
#include "core/real.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  kamo::MotionProgramme prog;
  kamo::MotionError e = kamo::ParseMotionProgramme(text, prog);
  size_t lines = 1;
  for (char c : text) lines += c == '\n';
  if (!e.ok()) {
    if (e.line < 0 || static_cast<size_t>(e.line) > lines) __builtin_trap();
    return 0;
  }
  std::vector<kamo::teilkurveRec> segs = kamo::MotionProgrammeSegments(prog);
  if (segs.size() < 2 || segs.size() > kamo::kMaxSegments + 1) __builtin_trap();
  if (segs.back().xMax != 360) __builtin_trap();
  kamo::Real from = 0;
  for (size_t i = 1; i < segs.size(); ++i) {
    if (!(segs[i].xMax > from) || segs[i].formula.size() > 254) __builtin_trap();
    for (kamo::Real t : {0.0L, 0.5L, 1.0L}) {
      std::string f = segs[i].formula;
      kamo::Real x = kamo::DegToRad(from + (segs[i].xMax - from) * t);
      kamo::FormulaResult r = kamo::EvalFormula(f, x);
      if (r.error != 0 || !std::isfinite(static_cast<double>(r.value)) || r.value <= 0) __builtin_trap();
    }
    from = segs[i].xMax;
  }
  // The text form reads back.
  kamo::MotionProgramme again;
  if (!kamo::ParseMotionProgramme(kamo::MotionProgrammeText(prog), again).ok()) __builtin_trap();
  return 0;
}
