// The project data file (".kmo"): one value per line in a fixed order, CP850
// texts, CR LF line ends. Writing never destroys the previous file; reading
// replaces the project only when the whole file was read.
#pragma once
#include <string>
#include <string_view>

#include "cam/model.h"
#include "core/settings.h"
#include "core/ui.h"

namespace kamo {

// Why reading stopped. line is the 1-based line that could not be read, or for
// a file that ends early the number of lines it has.
struct ProjectReadError {
  enum class Kind { None, Empty, Truncated, Invalid };
  Kind kind = Kind::None;
  int line = 0;
  std::string what;  // CP850: what was expected there
};

// The bytes of the project file. Numbers use the decimals setting (never fewer
// decimals than the default setting gives) and the decimal separator of
// settings.numbers; the title-block standard line holds settings.titleBlockForm.
std::string ProjectToBytes(const Settings& settings, const CamProject& project);

// Reads a whole project file from bytes into `out` (which the caller passes
// fresh; fields the file does not hold keep their values). Accepts "," and "."
// in numbers and CR LF, LF or CR line ends. Counts outside the capacities,
// missing marker lines and a file that ends before its last row are errors.
// A file may end right after the spline resolution row: the eccentric
// dimensions then keep the values of `out`. The title-block standard read from
// the file goes to *titleBlockForm when given.
bool ProjectFromBytes(std::string_view bytes, CamProject& out, ProjectReadError& error,
                      int* titleBlockForm = nullptr);

// The message for a read error, naming the file (a native path).
std::string ProjectReadMessage(const std::string& path, const ProjectReadError& error);

// Saves the project under `name` with the rules of Ui::askOutputName: an empty
// name asks with the save dialog (and sets file.fileName/fileDir), a name
// without "." becomes fileDir + name + ".kmo", a name with "." is used as it is;
// archive refusal, dot check, overwrite question and create test apply.
// askOverwrite = false (File > Save of the project under its own name) skips
// the overwrite question only. On any failure abortFlag is set, the user is
// told why and an existing file stays as it was. On success a project opened
// from the command line stops counting as such unless archive mode is on.
bool WriteProject(Ui& ui, const Settings& settings, FileIdentity& file, bool archiveLocked,
                  const std::string& name, const CamProject& project, bool askOverwrite = true);

// Writes the project to exactly this path, asking nothing: the file is written
// beside the target and renamed over it only when every byte was written.
// failAfterBytes >= 0 makes the write fail after that many bytes (tests).
bool WriteProjectFile(Ui& ui, const Settings& settings, const std::string& path,
                      const CamProject& project, long long failAfterBytes = -1);

// Reads the project file at `path` (an empty path asks with the open dialog in
// the current folder; use ChooseProjectFile first when the name is needed).
// `project` is replaced only when the whole file was read; otherwise it stays
// as it was, the error box names the file and the line, and abortFlag is set.
// The caller recalculates, clears `modified` and updates the recent-file list.
// *message receives the text of the failure (CP850) also when error boxes are
// off, for the command line. The title-block standard stored in the file goes
// to *titleBlockForm when given; the settings are not changed.
bool ReadProject(Ui& ui, const Settings& settings, const std::string& path, CamProject& project,
                 std::string* message = nullptr, int* titleBlockForm = nullptr);

// The open dialog for project files in file.fileDir; false (and abortFlag)
// when cancelled.
bool ChooseProjectFile(Ui& ui, const FileIdentity& file, std::string& path);

// A text for a field of a "|"-separated line: "|" becomes the box-drawing
// bar (CP850 0xB3, which looks the same) and line breaks become blanks, so a
// field can never shift the others. Dialogs use it on input, the writer again.
std::string DelimitedFieldText(std::string_view text);
// A description as stored in the file: every CR LF, CR or LF becomes one "|".
std::string DescriptionToFile(std::string_view text);
// And back: every "|" becomes a line break ("\n").
std::string DescriptionFromFile(std::string_view line);

}  // namespace kamo
