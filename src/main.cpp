// wkamo: the desktop program, or a batch job when the command line asks for one.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "shell/cmdline.h"
#include "shell/console_port.h"
#include "shell/session.h"
#include "shell/startup.h"
#ifdef KAMO_WITH_GUI
#include "gui/mainwindow.h"
#include "render/exporters.h"  // the PDF, SVG and PNG pictures
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // A file-size limit makes a write fail with EFBIG, which every writer
  // reports, instead of killing the program half way through a file.
  std::signal(SIGXFSZ, SIG_IGN);
#ifdef KAMO_WITH_GUI
  // A batch job never creates the application object, so it needs no display.
  if (kamo::OpensMainWindow(args)) {
    // Without a display the toolkit would abort; say why and stop instead.
    if (!kamo::DisplayAvailable([](const char* name) -> const char* { return std::getenv(name); })) {
      std::cerr << kamo::Cp850ToUtf8(kamo::NoDisplayMessage()) << "\n";
      return 2;
    }
    return kamo::RunMainWindow(argc, argv, args);
  }
#endif
  kamo::ConsolePort port(std::cerr);
  kamo::Session session(port);
#ifdef KAMO_WITH_GUI
  kamo::RegisterPictureExporters(session.pictureExporters);
#endif
  return kamo::RunBatch(session, args, std::cout, std::cerr);
}
