// The configuration dialog Tconfig without its toolkit: the table of every
// control (page, object name, caption, kind, how its text is filled from the
// settings and stored back), the "<" defaults, the folder and program
// pickers, and the buttons. The dialog edits a copy of the settings; only
// "OK" and "&Speichern" hand the copy to the session, so "Abbrechen"
// discards everything, an import included.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/settings.h"
#include "core/ui.h"
#include "io/configio.h"

namespace kamo {

class Session;

enum class ConfigControl {
  Edit,     // a line of text or a number
  Check,    // "1" checked, "0" not
  Radio,    // the index of the chosen item as text, "-1" for none
  Folder,   // a folder with "..." (directory dialog, stored with a trailing "/")
  Program,  // a program with "..." (any file that is executable)
  Manual,   // row 94: "..." picks the manual, the field keeps its folder
  Colour,   // "#RRGGBB"
  Shown,    // read-only text
};

struct ConfigField {
  int page = 0;           // index into ConfigPages()
  std::string name;       // object name of the control
  std::string label;      // caption, UTF-8
  ConfigControl control = ConfigControl::Edit;
  std::vector<std::string> items;  // Radio: item texts
  bool lessButton = false;         // a "<" beside it
  // The text the control shows for these settings (UTF-8).
  std::function<std::string(const Settings&)> get;
  // Stores a text; the empty string when taken, else the message (CP850)
  // for the box. Null for read-only controls.
  std::function<std::string(Settings&, const std::string&)> set;
};

// The nine tab pages, in order (UTF-8 captions).
const std::vector<std::string>& ConfigPages();
// Every control of the dialog, page by page.
const std::vector<ConfigField>& ConfigFields();
const ConfigField* FindConfigField(const std::string& name);

// The built-in default folder for temporary files: TMPDIR or the system's
// temporary folder, with a trailing "/".
std::string DefaultTempFolder();
// A folder as the settings keep it: with one trailing "/".
std::string FolderWithSlash(const std::string& folder);
// True for a regular file the user may execute.
bool IsExecutableFile(const std::string& path);

// The largest client area of the main window that fits the screen.
PixelSize LargestClientSize(const ScreenInfo& screen);
// The "<" beside the window width and height: the other side at 4:3, both
// within the largest client size.
PixelSize WidthFromHeight(int height, const ScreenInfo& screen);
PixelSize HeightFromWidth(int width, const ScreenInfo& screen);

class ConfigEditor {
 public:
  // place: where "&Speichern" writes; ctx: the start folder and the screen.
  ConfigEditor(Session& session, ConfigPlace place, ConfigContext ctx);

  // The copy the controls show and edit.
  Settings& values() { return working_; }
  const Settings& values() const { return working_; }
  const ConfigPlace& place() const { return place_; }

  // The text of a control for the edited values.
  std::string text(const std::string& name) const;
  // Stores the text of one control into the edited values; false (with the
  // box shown) when the text is refused. An unchanged text stores nothing,
  // so that a number keeps its exact value.
  bool store(const std::string& name, const std::string& text);
  // Stores every control of texts (name, text); false at the first refused
  // one, whose name is then in `refused`.
  bool storeAll(const std::vector<std::pair<std::string, std::string>>& texts, std::string* refused = nullptr);

  // "OK": the edited values become the session's settings (no file is written).
  void apply();
  // "&Speichern": apply, then write the configuration file whole (the old
  // file stays when that fails); false when it was not written.
  bool save();
  // "Import": a configuration file chosen in the open dialog ("*.cfg") is
  // read into the edited values only; rows the file lacks keep the edited
  // values. False when cancelled or unreadable (the values stay as they were).
  bool importChosen();
  bool importFile(const std::string& path);
  // "Export": the edited values written to a file chosen in the save dialog.
  bool exportChosen();
  bool exportFile(const std::string& path);

  // What a "<" button writes: (control name, text) pairs, read from the
  // controls' current texts where a rule needs them.
  std::vector<std::pair<std::string, std::string>> lessButton(
      const std::string& name, const std::function<std::string(const std::string&)>& current) const;
  // The "..." beside a folder, program or manual field: the text to put into
  // the field, nullopt when nothing was chosen (or a program is refused).
  std::optional<std::string> pick(const std::string& name, const std::string& current);

 private:
  Session& session_;
  ConfigPlace place_;
  ConfigContext ctx_;
  Settings working_;
};

}  // namespace kamo
