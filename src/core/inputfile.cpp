// Reading regular files only, without blocking, within a size limit.
#include "core/inputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kamo {

namespace {
// Opens path for reading without waiting and checks what it is. Returns the
// descriptor of a regular file (r.status Ok), else -1 with r filled in.
int OpenRegular(const std::string& path, InputResult& r, struct stat& st) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    r.err = errno;
    r.status = r.err == ENOENT || r.err == ENOTDIR ? InputStatus::Missing : InputStatus::Failed;
    r.reason = std::strerror(r.err);
    return -1;
  }
  if (::fstat(fd, &st) != 0) {
    r.err = errno;
    r.reason = std::strerror(r.err);
    ::close(fd);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    r.status = InputStatus::NotRegular;
    r.reason = S_ISDIR(st.st_mode) ? "is a folder" : "is not a regular file (a device, FIFO or socket)";
    ::close(fd);
    return -1;
  }
  r.status = InputStatus::Ok;
  r.key = {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
  r.owner = static_cast<long long>(st.st_uid);
  return fd;
}
}  // namespace

InputResult ProbeInputFile(const std::string& path) {
  InputResult r;
  struct stat st {};
  int fd = OpenRegular(path, r, st);
  if (fd >= 0) ::close(fd);
  return r;
}

InputResult ReadRegularFile(const std::string& path, size_t limit, std::string& bytes) {
  InputResult r;
  bytes.clear();
  struct stat st {};
  int fd = OpenRegular(path, r, st);
  if (fd < 0) return r;
  r.status = InputStatus::Failed;
  if (static_cast<unsigned long long>(st.st_size) > limit) {
    r.status = InputStatus::TooLarge;
    r.reason = "is too large";
    ::close(fd);
    return r;
  }
  // Regular files never block; the flag only kept the open from waiting.
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  bytes.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.err = errno;
      r.reason = std::strerror(r.err);
      ::close(fd);
      bytes.clear();
      return r;
    }
    if (n == 0) break;
    // The file may grow while it is read: the limit still holds.
    if (bytes.size() + static_cast<size_t>(n) > limit) {
      r.status = InputStatus::TooLarge;
      r.reason = "is too large";
      ::close(fd);
      bytes.clear();
      return r;
    }
    bytes.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  r.status = InputStatus::Ok;
  r.key = {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
  r.owner = static_cast<long long>(st.st_uid);
  return r;
}

}  // namespace kamo
