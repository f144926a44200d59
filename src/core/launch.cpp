// Program start by fork and exec (POSIX), reported back through a pipe.
#include "core/launch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace kamo {
namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindProgram(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) return IsExecutableFile(program) ? program : std::string();
  const char* path = std::getenv("PATH");
  if (!path) return {};
  std::string all = path;
  size_t start = 0;
  while (start <= all.size()) {
    size_t end = all.find(':', start);
    if (end == std::string::npos) end = all.size();
    std::string dir = all.substr(start, end - start);
    if (dir.empty()) dir = ".";
    std::string candidate = dir + "/" + program;
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

StartOutcome StartProgram(const std::string& path, const std::vector<std::string>& args) {
  StartOutcome out;
  // Everything the children use is prepared here: after fork they only call
  // functions that are safe in a copy of a threaded process.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    out.error = errno;
    return out;
  }
  pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    pid_t grandchild = ::fork();
    if (grandchild != 0) {
      if (grandchild < 0) {
        int e = errno;
        [[maybe_unused]] ssize_t n = ::write(report[1], &e, sizeof e);
      }
      ::_exit(0);
    }
    ::setsid();
    ::execve(path.c_str(), argv.data(), environ);
    int e = errno;
    [[maybe_unused]] ssize_t n = ::write(report[1], &e, sizeof e);
    ::_exit(127);
  }
  ::close(report[1]);
  if (child < 0) {
    out.error = errno;
    ::close(report[0]);
    return out;
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes on a successful exec; a failed one sends its errno first.
  int e = 0;
  ssize_t n;
  do {
    n = ::read(report[0], &e, sizeof e);
  } while (n < 0 && errno == EINTR);
  ::close(report[0]);
  if (n == static_cast<ssize_t>(sizeof e)) {
    out.error = e;
    return out;
  }
  out.started = true;
  return out;
}

}  // namespace kamo
