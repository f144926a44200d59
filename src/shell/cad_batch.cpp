// CAD batch jobs.
#include "shell/cad_batch.h"

#include "shell/cmdline.h"

namespace kamo {

int RunCadOption(Session&, const std::string& option, std::ostream& err) {
  err << "wkamo: " << option << ": not available yet\n";
  return kExitUsage;
}

}  // namespace kamo
