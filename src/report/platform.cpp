// Starting external programs for the report outputs (POSIX).
#include "report/platform.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

extern char** environ;

namespace kamo {
namespace {

bool IsExecutable(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool ReportPlatform::programExists(const std::string& program) const {
  if (program.empty()) return false;
  if (program.find('/') != std::string::npos) return IsExecutable(program);
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string all = path;
  size_t start = 0;
  while (start <= all.size()) {
    size_t end = all.find(':', start);
    if (end == std::string::npos) end = all.size();
    std::string dir = all.substr(start, end - start);
    if (dir.empty()) dir = ".";
    if (IsExecutable(dir + "/" + program)) return true;
    start = end + 1;
  }
  return false;
}

bool ReportPlatform::launch(const std::string& program, const std::string& file) {
  std::string prog = program.empty() ? "xdg-open" : program;
  std::vector<char*> argv{prog.data(), const_cast<char*>(file.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, prog.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
  // The program runs on its own; reap it without waiting when it has already ended.
  int status = 0;
  ::waitpid(pid, &status, WNOHANG);
  return true;
}

ReportPlatform& SystemReportPlatform() {
  static ReportPlatform platform;
  return platform;
}

}  // namespace kamo
