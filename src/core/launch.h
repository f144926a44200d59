// Starting an external program without a shell: the program gets exactly the
// arguments given, whatever blanks or quotes they hold, runs on its own, and
// never stays behind as a zombie of ours.
#pragma once
#include <string>
#include <vector>

namespace kamo {

// The executable file a program name stands for: a name with "/" as it is,
// else the first match on PATH; empty when there is no executable regular file.
std::string FindProgram(const std::string& program);

struct StartOutcome {
  bool started = false;
  int error = 0;  // errno of the failed start
};
// Starts the executable at path (as FindProgram gives it) with args as its
// argument list and does not wait for it. The program is started through an
// intermediate process that ends at once, so the system adopts and reaps it.
StartOutcome StartProgram(const std::string& path, const std::vector<std::string>& args);

}  // namespace kamo
