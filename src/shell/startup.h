// The start of the main window (configuration, recent files, start sequence,
// menu language, title) and its end, free of any toolkit. The command-line
// part here is the one of an interactive start; batch jobs never get here.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "io/configio.h"

namespace kamo {

class Session;
class Shell;

struct StartEnvironment {
  std::string startDir;           // working folder at start (native)
  std::string configFallbackDir;  // where the configuration lives when startDir has none
  ScreenInfo screen;
  // The running program (on Linux the target of /proc/self/exe). Its folder
  // must hold the program file; empty: the session's program folder is taken
  // as it is.
  std::string runningProgram;
};

struct StartResult {
  bool keepRunning = true;  // false: the program ends without showing its window
  int exitCode = 0;
};

// True when the command line starts the interactive program: no batch job
// and nothing but a project name and the options "/G", "/E" and "/NOGUI".
// Anything else goes to the batch command line, which reports a usage error
// for what it does not know, without a display.
bool OpensMainWindow(const std::vector<std::string>& args);

// Whether the window can be shown: a display server is named (DISPLAY,
// WAYLAND_DISPLAY) or QT_QPA_PLATFORM chooses a platform that needs none
// (offscreen, minimal, vnc, ...). env returns a variable's value, or null.
bool DisplayAvailable(const std::function<const char*(const char*)>& env);
// The message (CP850) of a start that needs a window where there is no display.
std::string NoDisplayMessage();

// Everything the creation of the main window does after its menus exist.
StartResult StartMainWindow(Shell& shell, const std::vector<std::string>& args,
                            const StartEnvironment& env);
// The start sequence in start mode `mode` (8 at program start).
StartResult StartSequence(Shell& shell, int mode, const std::vector<std::string>& args,
                          const StartEnvironment& env);
// Finds the program folder: the running program's folder when it holds the
// program file, else the folder the user names; false (after the message)
// when neither does and the program must end.
bool LocateProgramFolder(Session& session, const std::string& runningProgram);
// The running program, from /proc/self/exe; empty where that is unknown.
std::string RunningProgram();
// The end of the main window: writes the recent-file list.
void EndMainWindow(Shell& shell);

}  // namespace kamo
