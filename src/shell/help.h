// The help of the program: the help box and the hints of the dialogs, the
// help pictures drawn into the graphics window, the start picture and the
// catalogue of help pictures (Help > "&Hilfebild"). The shell installs one
// as the UI port's help provider.
#pragma once
#include <string>
#include <vector>

#include "core/helptext.h"
#include "core/ui_port.h"
#include "display/plotplayer.h"

namespace kamo {

class Shell;

// The picture catalogue "kamo.dbh": one `"name","info"` line per picture.
inline constexpr const char* kPictureCatalogue = "kamo.dbh";
inline constexpr size_t kCatalogueMaxLines = 2000;
inline constexpr size_t kPictureNameMax = 8;
inline constexpr size_t kPictureInfoMax = 50;

struct CatalogueEntry {
  std::string name;  // as written (CP850), without ".plt"
  std::string info;
};
// Reads the lines of a catalogue (at most 2000); a line that does not begin
// with a double quote sets `malformed` and is read as well as possible.
std::vector<CatalogueEntry> ParseCatalogue(const std::string& content, bool& malformed);
// `"name","info"` + CR LF.
std::string CatalogueLine(const CatalogueEntry& e);
// The list entry: name padded to 8 characters + ": " + info.
std::string CatalogueListEntry(const CatalogueEntry& e);

class HelpSystem final : public HelpProvider {
 public:
  explicit HelpSystem(Shell& shell);

  void showHelp(int topic, int mode) override;
  std::string helpHint(int topic) override;

  // The topic's text from its help file (topic 0: the current topic).
  HelpTopicText lookup(int topic);
  // Draws a picture by name into the cleared window: the start picture.
  void showHelpPicture(const std::string& name);
  // Plays one plot file into the graphics window; false (after the message,
  // abortFlag set) when it cannot be read.
  bool playHelpPicture(const std::string& path);
  // Help > "&Hilfebild".
  void catalogue();

  // A data file by name, looked up case-insensitively in the data folders;
  // empty when there is none.
  std::string findDataFile(const std::string& name) const;
  // The folders searched, in order.
  std::vector<std::string> dataFolders() const;

  PlotState plotState;  // the player's pen, character set, size and direction

 private:
  void drawTopicPicture(const std::string& picture);
  void drawCataloguePicture(const std::string& name);
  std::string toDisplay(const std::string& stored) const;

  Shell& shell_;
};

}  // namespace kamo
