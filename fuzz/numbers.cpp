// Any bytes through the number parsers and the code-page conversions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/codepage.h"
#include "core/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string s(reinterpret_cast<const char*>(data), size);
  kamo::NumberStyle ns;
  kamo::Real x = kamo::ParseReal(s);
  (void)kamo::ParseInt(s);
  (void)kamo::FormatGeneral(ns, x);
  (void)kamo::FormatAuto(ns, x);
  (void)kamo::FormatDecimals(ns, 7, x);
  ns.specialChars = 1;
  (void)kamo::ToDisplay(ns, s);
  std::string back = kamo::ToStored(kamo::Cp850ToUtf8(s));
  if (s.size() < 255 && back != s) __builtin_trap();  // CP850 -> UTF-8 -> CP850 is lossless
  (void)kamo::ToStored(s);
  for (int t = 1; t <= 3; ++t) {
    ns.cadTextType = t;
    (void)kamo::ToCadText(ns, s);
  }
  return 0;
}
