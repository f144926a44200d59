// Reading a whole file safely: only regular files are read. The file is
// opened without blocking (a FIFO with no writer would wait for ever), its
// kind and size are checked on the open descriptor, and no more than the
// limit is read, so a device such as /dev/zero cannot exhaust memory.
#pragma once
#include <cstddef>
#include <string>

#include "core/outputfile.h"

namespace kamo {

enum class InputStatus { Ok, Missing, NotRegular, TooLarge, Failed };

struct InputResult {
  InputStatus status = InputStatus::Failed;
  int err = 0;          // errno of a failure (Missing, Failed)
  std::string reason;   // "No such file or directory", "is not a regular file", ...
  FileKey key;          // the file read (status Ok)
  long long owner = -1; // its owner's user id (status Ok)
  bool ok() const { return status == InputStatus::Ok; }
};

// Reads path into bytes (at most limit bytes; a larger file is TooLarge).
InputResult ReadRegularFile(const std::string& path, size_t limit, std::string& bytes);

// Whether path can be opened for reading, and what it is, without reading it
// and without waiting (status Ok: a regular file; key set).
InputResult ProbeInputFile(const std::string& path);

}  // namespace kamo
