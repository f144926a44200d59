// The batch command line run in-process with the picture exporters, as the
// picture and animation tests drive it.
#pragma once
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/clock.h"
#include "render/exporters.h"
#include "shell/cmdline.h"
#include "shell/console_port.h"
#include "shell/session.h"

namespace kamo::test {

struct Outcome {
  int code = -1;
  std::string err;
};

inline Outcome Batch(const std::vector<std::string>& args, const std::string& workDir) {
  std::ostringstream out, err;
  ConsolePort port(err);
  Session session(port, std::make_unique<FixedClock>(DateTime{2026, 12, 10, 9, 30, 0}));
  RegisterPictureExporters(session.pictureExporters);
  Outcome r;
  r.code = RunBatchIn(session, args, workDir, out, err);
  r.err = err.str();
  return r;
}

// An example project of the source tree.
inline std::string Example(const char* name) { return std::string(KAMO_SOURCE_DIR) + "/examples/" + name + ".kmo"; }

}  // namespace kamo::test
