// The reader of point tables (CSV/TSV) on any bytes: no crash, no hang, and
// what it accepts is a table of 2 .. limit finite points.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "io/pointcsv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  kamo::PointCsv t = kamo::ParsePointCsv(text, 1000);
  if (t.ok()) {
    if (t.rows.size() < 2 || t.rows.size() > 1000) std::abort();
    for (const auto& [phi, r] : t.rows)
      if (!std::isfinite(phi) || !std::isfinite(r)) std::abort();
  } else if (!t.rows.empty() || t.line < 0) {
    std::abort();
  }
  return 0;
}
