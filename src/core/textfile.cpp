// Safe text file writing and the file error messages.
#include "core/textfile.h"

#include <cerrno>
#include <cstring>

#include "core/codepage.h"
#include "core/ui.h"

namespace kamo {

std::string TextFileErrorMessage(FileStep step, int err) {
  bool full = err == ENOSPC || err == EDQUOT || err == EFBIG;
  switch (step) {
    case FileStep::Write:
      if (full) return "Diskette/Platte voll";
      return "Fehler bei Zugriff auf Diskette/Platte";
    case FileStep::Close:
      return full ? "Diskette/Platte voll" : "Fehler beim Schlie\xE1" "en einer Datei";
    case FileStep::Create:
      return full ? "Diskette/Platte voll" : "file write error";
  }
  return "file write error";
}

TextFileWriter::~TextFileWriter() = default;

namespace {
// "(PATH: reason)" in CP850 for a box.
std::string Detail(const OutputFile& f) {
  return " (" + Utf8ToCp850(f.target()) + ": " + Utf8ToCp850(f.reason()) + ")";
}
}  // namespace

bool TextFileWriter::create(const std::string& path) {
  failed_ = false;
  if (file_.open(path, keep_)) return true;
  failed_ = true;
  ui_.showError(TextFileErrorMessage(FileStep::Create, file_.error()) + Detail(file_));
  ui_.flags().abortFlag = true;
  return false;
}

std::string RetryCreateMessage(int err) {
  if (err == EROFS || err == EACCES || err == EPERM) return "Schreibschutz entfernen !";
  if (err == ENXIO || err == ENODEV || err == ENOMEDIUM || err == ENOENT)
    return "Programmdiskette einlegen !";
  return "I/O-Error " + std::to_string(err);
}

bool TextFileWriter::createWithRetry(const std::string& path) {
  failed_ = false;
  for (;;) {
    if (file_.open(path, keep_)) return true;
    // A target refused for what it is (a link, a folder) cannot be mended by retrying.
    if (file_.error() == 0) return create(path);
    std::string text = RetryCreateMessage(file_.error()) + " (" + Utf8ToCp850(path) + ")";
    if (!ui_.port().askRetry("Fehler : ", ui_.display(text))) {
      failed_ = true;
      ui_.flags().abortFlag = true;
      return false;
    }
  }
}

void TextFileWriter::writeError() {
  ui_.flags().abortFlag = true;
  if (failed_) return;
  failed_ = true;
  ui_.showError(TextFileErrorMessage(FileStep::Write, file_.error()) + Detail(file_));
}

void TextFileWriter::write(std::string_view bytes) {
  if (!file_.isOpen()) {
    ui_.flags().abortFlag = true;
    return;
  }
  if (!file_.write(bytes)) writeError();
}

void TextFileWriter::line(std::string_view text) {
  write(text);
  write(eol_);
}

bool TextFileWriter::close() {
  if (!file_.isOpen()) return false;
  bool wasFailed = file_.failed();
  if (!file_.commit()) {
    if (!wasFailed && !failed_) {
      failed_ = true;
      ui_.showError(TextFileErrorMessage(FileStep::Close, file_.error()) + Detail(file_));
    }
    failed_ = true;
    ui_.flags().abortFlag = true;
    return false;
  }
  return !failed_;
}

}  // namespace kamo
