// Output files written whole. Every printout, drawing, CAD file and picture is
// written through OutputFile: the bytes go to a fresh temporary file in the
// target's own folder (created exclusively under a unique name), are synced to
// disk and then renamed over the target. The target is never written through
// a symbolic link, never a folder, device, FIFO or socket, and never a file
// the job must keep (the project, anything the job read). A failure leaves
// the old target untouched and no temporary file behind; the reason (with the
// system's error text) is in message().
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kamo {

// A file on disk by device and inode: links and other spellings of its name
// are the same file.
struct FileKey {
  unsigned long long dev = 0, ino = 0;
  bool operator==(const FileKey&) const = default;
};
// The key of the file at path (links followed); false when there is none.
bool FileKeyOf(const std::string& path, FileKey& key);

// The files an output must never replace: the project and what the job read.
class KeepFiles {
 public:
  // Adds the file at path; what names it in messages ("the project file").
  // Nothing happens when there is no such file.
  void add(const std::string& path, const std::string& what = "a file this job read");
  void add(FileKey key, const std::string& what);
  // What the kept file with this key is; nullptr when the key is not kept.
  const std::string* find(FileKey key) const;
  bool empty() const { return files_.empty(); }
  void clear() { files_.clear(); }

 private:
  std::vector<std::pair<FileKey, std::string>> files_;
};

// Empty when target may be replaced by an output, else "TARGET: reason".
// A missing target is fine (its folder is checked when the file is created).
std::string OutputTargetProblem(const std::string& target, const KeepFiles* keep = nullptr);

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();  // a file that was not committed is removed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Checks the target and creates the temporary file beside it; false with
  // the reason when the target is refused or the file cannot be created.
  bool open(const std::string& target, const KeepFiles* keep = nullptr);
  // Appends bytes; the first failure is kept, later writes do nothing.
  bool write(std::string_view bytes);
  // Syncs the file and renames it over the target; false (the target as it
  // was, nothing left behind) when anything failed since open.
  bool commit();
  // Gives up: the temporary file is removed, the target stays as it was.
  void discard();

  bool isOpen() const { return fd_ >= 0; }
  bool failed() const { return failed_; }
  // errno of the first failure; 0 when none, or when the target was refused
  // for what it is rather than by the system.
  int error() const { return err_; }
  // "TARGET: reason" of the first failure (UTF-8, for the error stream).
  const std::string& message() const { return message_; }
  // The reason alone ("No space left on device", "is a symbolic link").
  const std::string& reason() const { return reason_; }
  const std::string& target() const { return target_; }
  long long bytesWritten() const { return written_; }

  // Test hook: writes beyond this many bytes fail as on a full disk.
  void failAfterBytes(long long n) { failAfter_ = n; }

 private:
  bool fail(int err, const std::string& reason);
  bool flushBuffer();

  std::string target_, temp_;
  const KeepFiles* keep_ = nullptr;
  int fd_ = -1;
  unsigned mode_ = 0;  // permissions of the replaced file; 0: a new file
  bool failed_ = false;
  int err_ = 0;
  std::string reason_, message_;
  std::string buffer_;
  long long written_ = 0;
  long long failAfter_ = -1;
};

// The one call for a whole output: writes bytes to target as OutputFile does.
// false with "TARGET: reason" in *message (when given).
bool WriteOutputFile(const std::string& target, std::string_view bytes,
                     const KeepFiles* keep = nullptr, std::string* message = nullptr);

}  // namespace kamo
