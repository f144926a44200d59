// The one door to the user. Every box, prompt, picker and dialog of the program
// goes through this interface; the Qt window, the console of batch runs and the
// scripted double of the tests implement it. It only shows a form and returns
// what the user typed or chose: all checking lives in Ui (ui.h).
// Every text crossing this interface is UTF-8.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/forms.h"
#include "core/docuforms.h"
#include "core/plotform.h"

namespace kamo {

enum class BoxIcon { None, Error, Information, Question, Warning };
enum class Answer { Yes, No, Cancel };

struct TextPrompt {
  std::string caption;   // window caption
  std::string label;     // the prompt text
  std::string text;      // the default shown for editing
  int maxLength = 255;
  int helpTopic = 0;
};

struct ChoicePrompt {
  std::string caption;
  std::string label;
  std::string group;               // caption of the radio group, if any
  std::vector<std::string> items;  // shown in order
  int selected = 0;                // 0-based preselection
  bool asList = false;             // list box instead of a radio group
  int helpTopic = 0;
};

struct FileDialog {
  std::string caption;
  std::string directory;  // where it opens
  std::string filter;     // "*.kmo|*.kmo" style
  std::string proposed;   // proposed file name (save dialogs)
};

// A paged text for the printer: the lines of each page, already converted to UTF-8.
struct PrintJob {
  std::string title;  // the printer's document title
  std::vector<std::vector<std::string>> pages;
  std::string font = "Courier New";
  int fontSize = 10;
  int fontStyle = 0;  // 1 bold, 2 italic, 4 underline, 8 strikeout
  int linesPerPage = 66;
};
enum class PrintOutcome { Printed, Cancelled, Unavailable };

struct ExplanationForm {
  std::string message;
  std::string cause;
  std::string remedy;
};

// The limits dialog of a diagram: the four axis ends as computed, edited by the user.
struct DiagramLimitsForm {
  std::string caption;           // the diagram title
  std::string xLabel, yLabel;    // the axis labels
  double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
  int helpTopic = 1950;
};

// A table of text rows to pick from, e.g. the results of several projects.
struct TablePick {
  std::string caption;
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

// The dialog of the help picture catalogue (TForm_hilfebild): the entries as
// shown, the one preselected; the answer is the action and the entry it
// concerns (0-based, -1 for none). "&Hilfe" is the dialog's own business.
struct PictureCatalogueForm {
  std::string caption;
  std::vector<std::string> entries;
  int selected = -1;
  int helpTopic = 2300;
};
enum class CatalogueAction { Select, New, Change, Insert, Delete };
struct PictureCatalogueAnswer {
  CatalogueAction action = CatalogueAction::Select;
  int selected = -1;
};

// The help behind every form: the help buttons of the dialogs and prompts
// call showHelp (mode 1 the help text, 2 the help picture, 0 both; topic 0
// means the current topic of UiState), and labels take helpHint(topic) as
// their hint. The session installs one; without it the help buttons stay
// disabled.
class HelpProvider {
 public:
  virtual ~HelpProvider() = default;
  virtual void showHelp(int topic, int mode) = 0;
  // The topic's text as one UTF-8 line; empty when there is none.
  virtual std::string helpHint(int topic) = 0;
};

class UiPort {
 public:
  virtual ~UiPort() = default;

  virtual void box(const std::string& caption, const std::string& text, BoxIcon icon) = 0;
  virtual Answer askYesNoCancel(const std::string& caption, const std::string& text) = 0;
  // A box with "Wiederholen" and "Abbrechen"; true for retry.
  virtual bool askRetry(const std::string& caption, const std::string& text) = 0;
  virtual void beep() = 0;

  // nullopt when cancelled.
  virtual std::optional<std::string> promptText(const TextPrompt& p) = 0;
  virtual std::optional<int> promptChoice(const ChoicePrompt& p) = 0;

  virtual std::optional<std::string> openFile(const FileDialog& d) = 0;
  virtual std::optional<std::string> saveFile(const FileDialog& d) = 0;
  // A folder dialog opening at d.directory; nullopt when cancelled. A port
  // without one offers its open-file dialog and takes the chosen file's folder.
  virtual std::optional<std::string> chooseDirectory(const FileDialog& d) {
    FileDialog any = d;
    if (any.filter.empty()) any.filter = "*|*";
    auto chosen = openFile(any);
    if (!chosen) return std::nullopt;
    size_t slash = chosen->find_last_of('/');
    if (slash == std::string::npos) return std::nullopt;
    return chosen->substr(0, slash + 1);
  }

  // The explanation dialog; returns the edited form when the user changed it
  // and confirmed with OK, nullopt otherwise.
  virtual std::optional<ExplanationForm> explanation(const ExplanationForm& f) = 0;

  // Status line text while long work runs; may be ignored.
  virtual void status(const std::string& /*text*/) {}
  // The text viewer: shows a UTF-8 text file.
  virtual void showTextFile(const std::string& /*caption*/, const std::string& /*path*/) {}
  // The print dialog (pages 1 .. n, all preselected) and the printout of the
  // chosen pages; a port without a printer reports Unavailable.
  virtual PrintOutcome printText(const PrintJob& /*job*/) { return PrintOutcome::Unavailable; }
  // The dialog of the plot program's command line; nullopt when cancelled
  // (a port without it cancels).
  virtual std::optional<PlotForm> plotDialog(const PlotForm& /*form*/) { return std::nullopt; }
  // Shows the table until the user picks a row (0-based) or closes it
  // (nullopt); a port without a window closes it at once.
  virtual std::optional<int> pickRow(const TablePick& /*table*/) { return std::nullopt; }
  // The diagram limits dialog; nullopt when cancelled (a port without it cancels).
  virtual std::optional<DiagramLimitsForm> diagramLimits(const DiagramLimitsForm& /*f*/) {
    return std::nullopt;
  }
  // Opens a written file with the application the desktop associates with
  // it, without waiting; a port without a desktop does nothing.
  virtual void openWithApplication(const std::string& /*path*/) {}
  // The documentation dialogs (change record, drawing information, document
  // links): the edited form on OK, nullopt when cancelled (a port without
  // them cancels).
  virtual std::optional<ChangeForm> changeDialog(const ChangeForm& /*f*/) { return std::nullopt; }
  virtual std::optional<DrawingInfoForm> drawingInfoDialog(const DrawingInfoForm& /*f*/) {
    return std::nullopt;
  }
  virtual std::optional<DocumentLinksForm> documentLinksDialog(const DocumentLinksForm& /*f*/) {
    return std::nullopt;
  }

  // The forms of the curve editor (forms.h). A port without them cancels.
  // The list dialog: nullopt for "Abbrechen".
  virtual std::optional<ListAnswer> listDialog(const ListForm& /*form*/) { return std::nullopt; }
  // The segment, parameter, position and coefficient dialogs: true when
  // the user left with "OK" (the logic stored the fields), false for "Abbrechen".
  virtual bool segmentDialog(SegmentLogic& /*logic*/) { return false; }
  virtual bool paramDialog(ParamLogic& /*logic*/) { return false; }
  virtual bool fieldsDialog(FieldsLogic& /*logic*/) { return false; }
  // Opens at position j (1-based); the spin button moves within 1..count.
  virtual bool positionDialog(PositionLogic& /*logic*/, int /*j*/) { return false; }
  virtual bool polyDialog(PolyLogic& /*logic*/) { return false; }
  // The point table editors: true for "OK", false for "Abbrechen".
  virtual bool pointTableDialog(PointTableLogic& /*logic*/) { return false; }
  // The motion programme dialog; false: cancelled.
  virtual bool motionDialog(MotionLogic& /*logic*/) { return false; }

  // The help picture catalogue; nullopt for "OK" (a port without it: at once).
  virtual std::optional<PictureCatalogueAnswer> pictureCatalogueDialog(const PictureCatalogueForm& /*f*/) {
    return std::nullopt;
  }

  // The step window of the animation (TForm_anistep), shown after a frame
  // and its pause in single-step mode: true for "+" (one frame on), false
  // for "+++++++" (the remaining frames run without stopping). A port
  // without it runs on.
  virtual bool animationStep() { return false; }

  // The help that the forms of this port offer; null while there is none.
  void setHelpProvider(HelpProvider* help) { help_ = help; }
  HelpProvider* helpProvider() const { return help_; }

 private:
  HelpProvider* help_ = nullptr;
};

}  // namespace kamo
