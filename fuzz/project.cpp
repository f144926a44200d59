// Any bytes through the project file reader; what it accepts must write and
// read back to the same bytes, and calculate to results or messages.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cam/kamorech.h"
#include "io/kamoio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kamo::CamProject p;
  kamo::ProjectReadError e;
  if (!kamo::ProjectFromBytes(bytes, p, e)) return 0;
  kamo::Settings s;
  std::string once = kamo::ProjectToBytes(s, p);
  kamo::CamProject q;
  if (!kamo::ProjectFromBytes(once, q, e)) __builtin_trap();
  if (kamo::ProjectToBytes(s, q) != once) __builtin_trap();
  // Small enough to keep the fuzzer quick; the contour may still grow to
  // its limit through arcs.
  if (p.calc.steps > 400 || p.basePointCount > 400) return 0;
  kamo::MessageList messages;
  kamo::Flags flags;
  kamo::Calculate(p, messages, flags, s);
  if (!flags.calcError && !std::isfinite(p.results.stroke)) __builtin_trap();
  return 0;
}
