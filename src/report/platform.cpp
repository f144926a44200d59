// Starting external programs for the report outputs (POSIX).
#include "report/platform.h"

#include "core/launch.h"

namespace kamo {

bool ReportPlatform::programExists(const std::string& program) const {
  return !FindProgram(program).empty();
}

bool ReportPlatform::launch(const std::string& program, const std::string& file) {
  // The program runs on its own; an intermediate process that ends at once
  // hands it to the system, so no finished program stays a zombie of ours.
  std::string path = FindProgram(program.empty() ? std::string("xdg-open") : program);
  return !path.empty() && StartProgram(path, {file}).started;
}

ReportPlatform& SystemReportPlatform() {
  static ReportPlatform platform;
  return platform;
}

}  // namespace kamo
