// The configuration file ("kamo.cfg"): every program setting on its own line
// in a fixed row order, most rows behind a label line that readers skip.
// Read once at start (and on Import), written only when the user saves or
// exports from the configuration dialog. Also the folder checks of the start.
#pragma once
#include <string>
#include <string_view>

#include "core/identity.h"
#include "core/settings.h"
#include "core/ui.h"

namespace kamo {

// What the read rules need to know about the screen (pixels).
struct ScreenInfo {
  int width = 1024, height = 768;
  int pixelsPerInch = 96;
  // Largest client area of the main window that fits the screen; 0 means
  // width - 9 by height - 91.
  int maxClientWidth = 0, maxClientHeight = 0;
  // Outer and client height of the main window, for the dialog scale.
  int windowHeight = 0, clientHeight = 0;
};

struct ConfigContext {
  std::string startDir;  // the working folder at program start (native)
  ScreenInfo screen;
};

// Where the configuration lives: folder (ending with a separator) and stem.
struct ConfigPlace {
  std::string dir;
  std::string stem = kFileStem;
  std::string path() const { return dir + stem + ".cfg"; }
};

// $XDG_CONFIG_HOME/kamo/, or ~/.config/kamo/ when that is not set.
std::string ConfigFallbackDir();

// The bytes of the configuration file: CP850, CR LF, reals with "." whatever
// the separator setting (the separator row keeps the user's value).
std::string ConfigToBytes(const Settings& settings);
// Reads the rows in order into `settings` and applies every read rule; rows
// after the end of the file keep the values `settings` has. Returns the
// number of the last row read completely (109 for a whole file).
int ConfigFromBytes(std::string_view bytes, Settings& settings, const ConfigContext& ctx);

// The start: reads place.stem + ".cfg" from ctx.startDir, else from
// fallbackDir; place.dir becomes the folder it was found in (fallbackDir when
// none was, so that a later save lands there). Without a file every setting
// keeps its default, the window size comes from the screen, and the result is
// false with abortFlag set (no box). A file that is there but cannot be read
// (no permission, a folder, a FIFO, too large) or whose title line is not a
// configuration's gets a box naming it and the reason.
bool readConfig(Settings& settings, Ui& ui, ConfigPlace& place, const std::string& fallbackDir,
                const ConfigContext& ctx);
// Import: reads one named file; false (abortFlag) when it cannot be opened.
bool readConfigFile(Settings& settings, Ui& ui, const std::string& path, const ConfigContext& ctx);
// Writes all rows to `path` (creating its folder); a failed creation asks
// "Wiederholen"/"Abbrechen". The old file is replaced only when everything
// was written; false with abortFlag otherwise.
// failAfterBytes >= 0 (tests): the write fails there as with a full disk.
bool writeConfig(const Settings& settings, Ui& ui, const std::string& path, long long failAfterBytes = -1);

// The folders of the start sequence.
struct StartFolders {
  std::string startDir;    // working folder at start
  std::string programDir;  // folder of the running program
  std::string tempEnv;     // value of TEMP ("" when unset)
  static StartFolders FromEnvironment(const std::string& startDir, const std::string& programDir);
};
// Fills empty folders (temporary: TEMP, else the start folder; DBF and PLT:
// the program folder; EDI and data: the start folder), then reports every
// configured folder that does not exist. For an invalid temporary folder the
// user is asked for another one until it exists or the prompt is cancelled.
void checkDirectories(Settings& settings, Ui& ui, const StartFolders& folders);

// The main window's client size by the window size row: "Input", "max 4:3", "max".
struct PixelSize {
  int width = 0, height = 0;
};
PixelSize MainWindowClientSize(const Settings& settings, const ScreenInfo& screen);
// The text window (left, top, width, height) when its size is computed.
struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
};
PixelRect TextWindowRect(const Settings& settings, const ScreenInfo& screen);

}  // namespace kamo
