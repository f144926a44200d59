// Writing text files safely: lines go to a temporary file in the target's
// folder, which replaces the target only when everything was written. A
// failure leaves the old file untouched, sets abortFlag and tells the user why.
#pragma once
#include <cstdio>
#include <string>
#include <string_view>

namespace kamo {

class Ui;

class TextFileWriter {
 public:
  explicit TextFileWriter(Ui& ui, std::string eol = "\r\n") : ui_(ui), eol_(std::move(eol)) {}
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // Creates the temporary file beside path; false (and abortFlag) when it cannot.
  bool create(const std::string& path);
  // As create, but a failure asks the user to mend it and tries again, until
  // it works or the user gives up (abortFlag set). For the configuration file.
  bool createWithRetry(const std::string& path);
  // Writes one line and the line end; errors are reported once.
  void line(std::string_view text);
  void write(std::string_view bytes);
  // Flushes, syncs and renames over the target; false when anything failed,
  // in which case the target is left as it was.
  bool close();
  bool failed() const { return failed_; }

  // Test hook: the write after this many bytes fails as with a full disk.
  void failAfterBytes(long long n) { failAfter_ = n; }

 private:
  bool open(const std::string& path, int& err);
  void writeError(int err);
  void discard();

  Ui& ui_;
  std::string eol_;
  std::string target_, temp_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  long long written_ = 0;
  long long failAfter_ = -1;
};

// The message of the run-time error of a text-file step.
enum class FileStep { Create, Write, Close };
std::string TextFileErrorMessage(FileStep step, int err);
// The message of a failed creation that the user may mend and retry.
std::string RetryCreateMessage(int err);

}  // namespace kamo
