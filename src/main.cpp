// wkamo: the desktop program, or a batch job when the command line asks for one.
#include <iostream>
#include <string>
#include <vector>

#include "shell/cmdline.h"
#include "shell/console_port.h"
#include "shell/session.h"
#ifdef KAMO_WITH_GUI
#include "render/exporters.h"  // the PDF, SVG and PNG pictures of the batch jobs
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  kamo::ConsolePort port(std::cerr);
  kamo::Session session(port);
#ifdef KAMO_WITH_GUI
  kamo::RegisterPictureExporters(session.pictureExporters);
#endif
  // Until the main window exists every call is handled as a batch job.
  return kamo::RunBatch(session, args, std::cout, std::cerr);
}
