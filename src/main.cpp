// wkamo: the desktop program, or a batch job when the command line asks for one.
#include <iostream>
#include <string>
#include <vector>

#include "shell/cmdline.h"
#include "shell/console_port.h"
#include "shell/session.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  kamo::ConsolePort port(std::cerr);
  kamo::Session session(port);
  // Until the main window exists every call is handled as a batch job.
  return kamo::RunBatch(session, args, std::cout, std::cerr);
}
