// Fuzz target of the DXF reader, the contour chaining of the import, and the
// replay of a user block through the element interface.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cad/cad.h"
#include "cad/dxfimport.h"
#include "cad/dxfreader.h"
#include "core/clock.h"
#include "core/settings.h"
#include "core/ui.h"
#include "display/displaylist.h"
#include "shell/console_port.h"

namespace {

// One folder for the block file of every run.
const std::string& BlockFolder() {
  static const std::string dir = [] {
    char name[] = "/tmp/kamo-fuzz-dxf-XXXXXX";
    const char* d = mkdtemp(name);
    return std::string(d ? d : "/tmp");
  }();
  return dir;
}

// The block inserted turned and scaled on the screen and into the element text.
void Replay(std::string_view block) {
  {
    std::ofstream out(BlockFolder() + "/$FUZZ.dx$", std::ios::binary | std::ios::trunc);
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  std::ostream nowhere(nullptr);
  kamo::ConsolePort port(nowhere);
  kamo::Settings settings;
  kamo::MessageList messages;
  kamo::Flags flags;
  kamo::UiState state;
  kamo::Ui ui(port, flags, state, settings.numbers);
  kamo::FixedClock clock(kamo::DateTime{2026, 12, 10, 9, 30, 0});
  kamo::DisplayList display;
  for (int kind : {kamo::kCadScreen, kamo::kCadText}) {
    kamo::CadEnvironment env;
    env.ui = &ui;
    env.settings = &settings;
    env.messages = &messages;
    env.flags = &flags;
    env.clock = &clock;
    env.display = &display;
    env.tempDir = BlockFolder();
    env.batch = true;
    env.batchFile = BlockFolder() + "/out";
    kamo::CadOutput cad(env);
    flags.abortFlag = false;
    cad.CadOpen(kind, "KAMO");
    cad.CadWindow(0, 0, 420, 297, 0);
    cad.CadBeginEntities();
    cad.CadOffset(3, 4);
    cad.CadInsertAt("FUZZ", 10, 20, 30, 2, 0.5L);
    flags.abortFlag = true;  // nothing is written
    cad.CadClose();
  }
}

}  // namespace

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
  Replay(text);
  return 0;
}
