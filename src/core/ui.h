// The boxes, prompts, file checks and pickers of the program, built once on
// top of the UI port: validation loops, texts, code-page conversion and the
// abort flag are handled here, so that every port implementation gets them.
// Texts passed in and returned are CP850 (stored) bytes.
#pragma once
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/numstyle.h"
#include "core/outputfile.h"
#include "core/real.h"
#include "core/ui_port.h"

namespace kamo {

// The current project file: name without directory and extension, and its folder.
struct FileIdentity {
  std::string fileName;
  std::string fileDir;  // ends with a separator when not empty
};

struct UiState {
  bool errorBoxesOn = true;       // off while a command-line project is being read
  int helpTopic = 0;              // set before every dialog and prompt
  bool overwriteAsk = true;       // ask before an existing file is overwritten
  bool fromCommandLine = false;   // the project was opened from the command line
  // Files no output may replace: the project and what a batch job read.
  KeepFiles keepFiles;
  std::vector<std::string> choiceTexts = std::vector<std::string>(2001);
};

class Ui {
 public:
  Ui(UiPort& port, Flags& flags, UiState& state, const NumberStyle& numbers)
      : port_(port), flags_(flags), state_(state), numbers_(numbers) {}

  UiPort& port() { return port_; }
  Flags& flags() { return flags_; }
  UiState& state() { return state_; }
  const NumberStyle& numbers() const { return numbers_; }

  // Boxes.
  void showError(const std::string& text);
  void showErrorAlways(const std::string& text);
  void showNote(const std::string& text);
  void showText(const std::string& caption, const std::string& text);
  void plainBox(const std::string& text);
  // Yes -> true; No -> false; Cancel -> false and abortFlag set.
  bool askYesNo(const std::string& text);

  // Prompts: true on OK. Cancel leaves the value unchanged and sets abortFlag.
  bool inputText(const std::string& prompt, int maxLength, std::string& text);
  bool inputReal(const std::string& prompt, Real& x, Real min, Real max);
  bool inputDouble(const std::string& prompt, double& x, double min, double max);
  bool inputLength(const std::string& prompt, Real& x, Real min, Real max);
  bool inputInt(const std::string& prompt, int& n, int a, int b);
  bool inputYesNo(const std::string& prompt, bool& flag);
  // k is 1-based; the choices are choiceTexts[1..n].
  bool inputChoice(const std::string& prompt, int n, int& k);

  // File checks; each sets abortFlag when it fails.
  // A regular file that opens for reading; a device, FIFO or socket is
  // refused with its own message, never opened for reading.
  bool checkReadable(const std::string& path);
  bool checkNewFile(const std::string& path);
  // The path of a file to be written: see the rules in ui.cpp. archiveLocked is
  // true when the project came from the command line and archive mode is on.
  bool askOutputName(const std::string& name, const std::string& extension, FileIdentity& file,
                     bool archiveLocked, std::string& path);
  void deleteFile(const std::string& dir, const std::string& pattern);
  // Archive mode refusal for file commands.
  void archiveRefusal();

  // Pickers.
  std::string pickDirectory(const std::string& dir);
  std::string pickFile(const std::string& path, const std::string& pattern);
  bool pickFileName(std::string& dir, const std::string& pattern, std::string& name);

  // A text to show: CP850 to UTF-8 by the display settings.
  std::string display(const std::string& stored) const;

 private:
  enum class RealOutcome { Cancelled, Unchanged, Changed };
  RealOutcome realLoop(const std::string& label, Real& x, Real min, Real max);

  UiPort& port_;
  Flags& flags_;
  UiState& state_;
  const NumberStyle& numbers_;
};

// Directory part (up to and including the last "/", "\" or ":") and the file
// name without directory and extension.
std::string DirectoryPart(const std::string& path);
std::string StemPart(const std::string& path);
std::string FileNamePart(const std::string& path);

// "Datei NAME ist keine gewöhnliche Datei (...) !" for a device, FIFO or socket.
std::string NotRegularFileMessage(const std::string& path);

}  // namespace kamo
