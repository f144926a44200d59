// Writing text files safely: lines go through an OutputFile (a temporary file
// in the target's folder, which replaces the target only when everything was
// written). A failure leaves the old file untouched, sets abortFlag and tells
// the user why.
#pragma once
#include <string>
#include <string_view>

#include "core/outputfile.h"

namespace kamo {

class Ui;

class TextFileWriter {
 public:
  explicit TextFileWriter(Ui& ui, std::string eol = "\r\n") : ui_(ui), eol_(std::move(eol)) {}
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // Outputs (printouts, drawings, CAD files) never replace these files; call
  // before create. Saving the project or the configuration keeps none.
  void protect(const KeepFiles* keep) { keep_ = keep; }

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
  // "TARGET: reason" of the first failure, for the error stream (UTF-8).
  const std::string& failure() const { return file_.message(); }

  // Test hook: the write after this many bytes fails as with a full disk.
  void failAfterBytes(long long n) { file_.failAfterBytes(n); }

 private:
  void writeError();

  Ui& ui_;
  std::string eol_;
  const KeepFiles* keep_ = nullptr;
  OutputFile file_;
  bool failed_ = false;
};

// The message of the run-time error of a text-file step.
enum class FileStep { Create, Write, Close };
std::string TextFileErrorMessage(FileStep step, int err);
// The message of a failed creation that the user may mend and retry.
std::string RetryCreateMessage(int err);

}  // namespace kamo
