// The fields of the three documentation dialogs as the UI port shows them:
// the change record, the drawing information and the document links. Every
// text is UTF-8; what the fields mean and how they are stored is decided by
// the toolkit-free code that fills and reads these forms.
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>

namespace kamo {

// TForm_EinAend: one change record.
struct ChangeForm {
  std::string caption;  // "Änderung" + " " + record number
  std::string today;    // the date the "<" button puts into the date field
  std::string changeText, changeDate, responsible;
  std::string description;  // line breaks as "\n"
  // Longest texts the fields take, in characters.
  int changeTextMax = 20, changeDateMax = 10, responsibleMax = 5, descriptionMax = 254;
  int helpTopic = 0;
};

// One row of the free-text grid: x, y, h, phi and the text, as typed.
struct FreeTextRow {
  std::string x, y, h, phi, text;
};

// TForm_zeichInfo: the drawing information in its DIN 6771 or ISO 7200 form.
struct DrawingInfoForm {
  static constexpr int kTextRows = 8;
  static constexpr int kSheetModes = 4;  // "A4", "A3", "A4+A3", "-"
  std::string caption;  // "Zeichnungsinfo" + " ISO 7200" / " DIN 6771"
  bool iso = false;     // ISO 7200: three signature rows, the document fields, no date buttons
  std::string today;    // what the "< " + date buttons put into the date cells (DIN)
  std::string dateHeading, nameHeading;  // the column heads of the signature grid
  // Rows 0..2 created, checked, standards check; row 3 the release row (DIN only).
  std::array<std::string, 4> rowLabels, dates, names;
  std::string replacementFor, replacedBy;  // DIN only, at most 15 characters
  int replacementMax = 15;
  std::array<std::string, 3> documentLabels;  // "Verantwortl. Abt.", ...
  std::string responsibleDept, documentType, documentStatus;
  std::array<std::string, kSheetModes> sheetModeTexts{"A4", "A3", "A4+A3", "-"};
  int textSheetMode = 0;  // 0..3; "-" (3) hides the free-text grid
  std::array<FreeTextRow, kTextRows> texts;
  int helpTopic = 0;
};

// TForm_confDoku: five programs and five files. The two start buttons of a
// group act at once, while the dialog stays open.
struct DocumentLinksForm {
  static constexpr int kLinks = 5;
  std::string caption;  // "Document Links  -  " + the main window's caption
  std::array<std::string, kLinks> programs, files;
  // "Exec Prog": starts the program (empty or a default of old projects:
  // the file's own application) with the file as its one argument.
  std::function<void(const std::string& program, const std::string& file)> execProgram;
  // "Exec File": opens the file with the application associated with it.
  std::function<void(const std::string& file)> execFile;
  // "...": picks a program (filter "*") or a file, starting at the current
  // field; nullopt when cancelled.
  std::function<std::optional<std::string>(bool program, const std::string& current)> browse;
  int helpTopic = 0;
};

}  // namespace kamo
