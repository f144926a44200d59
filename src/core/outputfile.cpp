// Output files written whole: temporary file beside the target, sync, rename.
#include "core/outputfile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace kamo {

namespace {

constexpr size_t kBufferBytes = 64 * 1024;

FileKey KeyOf(const struct stat& st) {
  return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
}

std::string ErrorText(int err) { return std::strerror(err); }

std::string FolderOf(const std::string& target) {
  std::string folder = std::filesystem::path(target).parent_path().string();
  return folder.empty() ? std::string(".") : folder;
}

// What is wrong with replacing target; empty when nothing. err receives the
// system's error number when the system refused, else 0. mode receives the
// permissions of an existing target (0 when there is none).
std::string Problem(const std::string& target, const KeepFiles* keep, int& err, unsigned& mode) {
  err = 0;
  mode = 0;
  if (target.empty()) return "no file name";
  if (target.back() == '/') return "names a folder";
  struct stat st {};
  if (::lstat(target.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      err = errno;
      return ErrorText(err);
    }
    // A new file: its folder must exist and take it.
    std::string folder = FolderOf(target);
    struct stat fst {};
    if (::stat(folder.c_str(), &fst) != 0) {
      err = errno;
      return ErrorText(err);
    }
    if (!S_ISDIR(fst.st_mode)) {
      err = ENOTDIR;
      return ErrorText(err);
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
      err = errno;
      return ErrorText(err);
    }
    return {};
  }
  if (S_ISLNK(st.st_mode)) return "is a symbolic link (outputs are never written through links)";
  if (S_ISDIR(st.st_mode)) return "is a folder";
  if (!S_ISREG(st.st_mode)) return "is not a regular file (a device, FIFO or socket)";
  if (keep) {
    if (const std::string* what = keep->find(KeyOf(st)))
      return "the output would replace " + *what;
  }
  // Replacing means a new entry in the folder.
  if (::access(FolderOf(target).c_str(), W_OK | X_OK) != 0) {
    err = errno;
    return ErrorText(err);
  }
  mode = static_cast<unsigned>(st.st_mode & 07777);
  return {};
}

// A short random part of a temporary name: the name stays short, so that any
// target name the file system takes can also be written.
std::string RandomPart() {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char raw[8];
  if (getrandom(raw, sizeof raw, 0) != static_cast<ssize_t>(sizeof raw)) {
    std::random_device rd;
    for (auto& c : raw) c = static_cast<unsigned char>(rd());
  }
  std::string s;
  for (unsigned char c : raw) s += kChars[c % (sizeof kChars - 1)];
  return s;
}

void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool FileKeyOf(const std::string& path, FileKey& key) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  key = KeyOf(st);
  return true;
}

void KeepFiles::add(const std::string& path, const std::string& what) {
  FileKey key;
  if (FileKeyOf(path, key)) add(key, what);
}

void KeepFiles::add(FileKey key, const std::string& what) {
  for (const auto& f : files_)
    if (f.first == key) return;
  files_.emplace_back(key, what);
}

const std::string* KeepFiles::find(FileKey key) const {
  for (const auto& f : files_)
    if (f.first == key) return &f.second;
  return nullptr;
}

std::string OutputTargetProblem(const std::string& target, const KeepFiles* keep) {
  int err = 0;
  unsigned mode = 0;
  std::string reason = Problem(target, keep, err, mode);
  return reason.empty() ? reason : target + ": " + reason;
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
  buffer_.clear();
}

bool OutputFile::fail(int err, const std::string& reason) {
  if (!failed_) {
    failed_ = true;
    err_ = err;
    reason_ = reason;
    message_ = (target_.empty() ? std::string("(no name)") : target_) + ": " + reason;
  }
  return false;
}

bool OutputFile::open(const std::string& target, const KeepFiles* keep) {
  discard();
  target_ = target;
  keep_ = keep;
  failed_ = false;
  err_ = 0;
  reason_.clear();
  message_.clear();
  written_ = 0;
  int err = 0;
  std::string reason = Problem(target, keep, err, mode_);
  if (!reason.empty()) return fail(err, reason);
  std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = folder + "/.kamo" + RandomPart();
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      fd_ = fd;
      temp_ = name;
      // A replaced file keeps its permissions.
      if (mode_) ::fchmod(fd_, static_cast<mode_t>(mode_));
      return true;
    }
    if (errno != EEXIST) {
      int e = errno;
      return fail(e, ErrorText(e));
    }
  }
  return fail(EEXIST, ErrorText(EEXIST));
}

bool OutputFile::flushBuffer() {
  size_t done = 0;
  while (done < buffer_.size()) {
    ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      buffer_.clear();
      return fail(e, ErrorText(e));
    }
    if (n == 0) {
      buffer_.clear();
      return fail(EIO, ErrorText(EIO));
    }
    done += static_cast<size_t>(n);
  }
  buffer_.clear();
  return true;
}

bool OutputFile::write(std::string_view bytes) {
  if (fd_ < 0) {
    if (!failed_) fail(EBADF, "the file is not open");
    return false;
  }
  if (failed_) return false;
  if (failAfter_ >= 0 && written_ + static_cast<long long>(bytes.size()) > failAfter_)
    return fail(ENOSPC, ErrorText(ENOSPC));
  buffer_.append(bytes);
  written_ += static_cast<long long>(bytes.size());
  if (buffer_.size() >= kBufferBytes) return flushBuffer();
  return true;
}

bool OutputFile::commit() {
  if (fd_ < 0) {
    if (!failed_) fail(EBADF, "the file is not open");
    discard();
    return false;
  }
  if (!failed_) flushBuffer();
  if (!failed_ && ::fsync(fd_) != 0 && errno != EINVAL) {
    int e = errno;
    fail(e, ErrorText(e));
  }
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && !failed_) {
    int e = errno;
    fail(e, ErrorText(e));
  }
  if (!failed_) {
    // The target is checked again: it may have changed while the file was written.
    int err = 0;
    unsigned mode = 0;
    std::string reason = Problem(target_, keep_, err, mode);
    if (!reason.empty()) fail(err, reason);
  }
  if (!failed_ && ::rename(temp_.c_str(), target_.c_str()) != 0) {
    int e = errno;
    fail(e, ErrorText(e));
  }
  if (failed_) {
    discard();
    return false;
  }
  temp_.clear();
  SyncFolder(FolderOf(target_));
  return true;
}

bool WriteOutputFile(const std::string& target, std::string_view bytes, const KeepFiles* keep,
                     std::string* message) {
  OutputFile f;
  bool ok = f.open(target, keep) && f.write(bytes) && f.commit();
  if (!ok && message) *message = f.message();
  return ok;
}

}  // namespace kamo
