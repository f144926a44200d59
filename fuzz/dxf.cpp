// Fuzz target of the DXF reader and the contour chaining of the import.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "cad/dxfimport.h"
#include "cad/dxfreader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (bool stop : {false, true}) {
    kamo::DxfReadOptions o;
    o.stopAtUnknown = stop;
    o.maxVertices = 5000;
    kamo::DxfReadResult r = kamo::ReadDxf(text, o);
    std::vector<kamo::ContourPiece> loop;
    std::string message;
    if (!stop && kamo::DxfContourLoop(r, loop, message)) {
      std::vector<kamo::ContourPoint> base;
      std::vector<kamo::PolarPoint> polar;
      int n = 0;
      kamo::LoopToBasePoints(loop, base, n, message);
      kamo::LoopToPolarPoints(loop, polar, n, message, 50);
    }
  }
  return 0;
}
