// Safe text file writing and the file error messages.
#include "core/textfile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

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

TextFileWriter::~TextFileWriter() { discard(); }

void TextFileWriter::discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temp_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
    temp_.clear();
  }
}

bool TextFileWriter::open(const std::string& path, int& err) {
  discard();
  failed_ = false;
  written_ = 0;
  target_ = path;
  std::string buf = path + ".tmpXXXXXX";
  int fd = mkstemp(buf.data());
  if (fd < 0) {
    err = errno;
    return false;
  }
  temp_ = buf;
  file_ = fdopen(fd, "wb");
  if (!file_) {
    err = errno;
    ::close(fd);
    discard();
    return false;
  }
  return true;
}

bool TextFileWriter::create(const std::string& path) {
  int err = 0;
  if (open(path, err)) return true;
  failed_ = true;
  ui_.showError(TextFileErrorMessage(FileStep::Create, err) + " (" + Utf8ToCp850(path) + ": " +
                Utf8ToCp850(std::strerror(err)) + ")");
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
  for (;;) {
    int err = 0;
    if (open(path, err)) return true;
    std::string text = RetryCreateMessage(err) + " (" + Utf8ToCp850(path) + ")";
    if (!ui_.port().askRetry("Fehler : ", ui_.display(text))) {
      failed_ = true;
      ui_.flags().abortFlag = true;
      return false;
    }
  }
}

void TextFileWriter::writeError(int err) {
  ui_.flags().abortFlag = true;
  if (failed_) return;
  failed_ = true;
  ui_.showError(TextFileErrorMessage(FileStep::Write, err) + " (" + Utf8ToCp850(target_) + ": " +
                Utf8ToCp850(std::strerror(err)) + ")");
}

void TextFileWriter::write(std::string_view bytes) {
  if (!file_) {
    ui_.flags().abortFlag = true;
    return;
  }
  if (failAfter_ >= 0 && written_ + static_cast<long long>(bytes.size()) > failAfter_) {
    writeError(ENOSPC);
    return;
  }
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    writeError(errno ? errno : EIO);
    return;
  }
  written_ += static_cast<long long>(bytes.size());
}

void TextFileWriter::line(std::string_view text) {
  write(text);
  write(eol_);
}

bool TextFileWriter::close() {
  if (!file_) return false;
  int err = 0;
  if (std::fflush(file_) != 0) err = errno;
  if (!err && fsync(fileno(file_)) != 0 && errno != EINVAL) err = errno;
  if (std::fclose(file_) != 0 && !err) err = errno;
  file_ = nullptr;
  if (!failed_ && err) {
    failed_ = true;
    ui_.showError(TextFileErrorMessage(FileStep::Close, err) + " (" + Utf8ToCp850(target_) + ")");
  }
  if (failed_) {
    ui_.flags().abortFlag = true;
    discard();
    return false;
  }
  // Keep the permissions of the file we replace.
  std::error_code ec;
  auto st = std::filesystem::status(target_, ec);
  if (!ec && std::filesystem::exists(st))
    std::filesystem::permissions(temp_, st.permissions(), ec);
  else
    std::filesystem::permissions(temp_, std::filesystem::perms(0644), ec);
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    int e = errno;
    failed_ = true;
    ui_.showError(TextFileErrorMessage(FileStep::Close, e) + " (" + Utf8ToCp850(target_) + ": " +
                  Utf8ToCp850(std::strerror(e)) + ")");
    ui_.flags().abortFlag = true;
    discard();
    return false;
  }
  temp_.clear();
  return true;
}

}  // namespace kamo
