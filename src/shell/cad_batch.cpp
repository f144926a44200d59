// CAD batch jobs: "/CADi:j" writes format i of sheet j without any window.
#include "shell/cad_batch.h"

#include <charconv>
#include <filesystem>

#include "cad/cad.h"
#include "core/codepage.h"
#include "core/strings.h"
#include "graphics/diagram.h"
#include "graphics/sheets.h"
#include "shell/cmdline.h"
#include "shell/session.h"

namespace kamo {

namespace {

// "/CADi:j": i one digit, j a whole number; false for any other form.
bool ParseCadOption(const std::string& option, int& format, int& sheet) {
  if (option.size() < 7) return false;
  std::string prefix = Upper(option.substr(0, 4));
  if (prefix != "/CAD" && prefix != "-CAD") return false;
  char i = option[4];
  if (i < '0' || i > '9' || option[5] != ':') return false;
  format = i - '0';
  const char* b = option.data() + 6;
  const char* e = option.data() + option.size();
  auto r = std::from_chars(b, e, sheet);
  return r.ec == std::errc() && r.ptr == e;
}

}  // namespace

CadEnvironment BatchCadEnvironment(Session& session, const std::string& path) {
  CadEnvironment env;
  env.ui = &session.ui;
  env.settings = &session.settings;
  env.messages = &session.messages;
  env.flags = &session.flags;
  env.clock = &session.clock();
  env.tempDir = session.tempDir();
  env.batch = true;
  env.batchPath = path;
  env.projectStem = session.file.fileName.empty() ? std::string("kamo") : session.file.fileName;
  return env;
}

int RunCadOption(Session& session, const std::string& option, std::ostream& err) {
  return RunCadOption(session, option, std::string(), err);
}

int RunCadOption(Session& session, const std::string& option, const std::string& workDir,
                 std::ostream& err) {
  return RunCadOptionTo(session, option, std::string(), workDir, err);
}

int RunCadOptionTo(Session& session, const std::string& option, const std::string& target,
                   const std::string& workDir, std::ostream& err) {
  int format = 0, sheet = 0;
  if (!ParseCadOption(option, format, sheet) || !KindOfCode(format) || sheet < 1 || sheet > 9) {
    err << "wkamo: " << option << ": invalid option (form /CADi:j)\n";
    return kExitUsage;
  }
  const OutputFormat& row = FormatOf(*KindOfCode(format));
  // Files only: the screen and the plot program need a desktop.
  bool fileKind = (row.jobs & kJobCadOption) != 0;
  bool sheetKind = sheet < 7;
  // The plot hand-off stays with the window: it asks for the command line,
  // and a batch run's temporary folder may be gone before the plot program
  // has read "drawout.dxf". The DXF itself is /CAD1:j.
  if (!row.userFile) {
    err << "wkamo: " << option << ": the " << row.helpName << " needs the window; /CAD1:" << sheet
        << " writes the DXF file\n";
    return kExitUsage;
  }
  if (!fileKind || (sheetKind && !SheetKindAvailable(sheet))) {
    err << "wkamo: " << option << ": not available yet\n";
    return kExitUsage;
  }
  if (!BatchResultsReady(session, err)) return kExitFailed;
  if (session.project().basePointCount <= 2) {
    err << "wkamo: the project has no contour to write\n";
    return kExitFailed;
  }
  std::string stem = session.file.fileName.empty() ? std::string("kamo") : session.file.fileName;
  std::string path = !target.empty() ? target
                                     : (std::filesystem::path(workDir.empty() ? "." : workDir) /
                                        (stem + "." + row.extension))
                                           .string();
  if (!BatchTargetAllowed(session, path, err)) return kExitFailed;
  CadEnvironment env = BatchCadEnvironment(session, path);
  env.projectPath = session.file.fileDir + session.file.fileName;
  CadOutput cad(env);
  SheetOutput out{cad, session.project(), session.settings, session.messages, session.flags,
                  session.ui, ErrorListContext{}};
  out.errorList.explanationFile = session.explanationFile();
  out.errorList.tempDir = env.tempDir;
  out.errorList.noGui = true;
  session.flags.abortFlag = false;
  // Sheets 1..6; 7, 8, 9 are the diagrams of s, v and a.
  const int known = session.messages.count();
  bool ok = sheetKind ? OutputSheet(out, format, sheet) : DiagramCommand(out, sheet - 6, format);
  if (session.flags.abortFlag) {
    CutShort(session, known, path, err);
    return kExitFailed;
  }
  if (!ok) {
    err << "wkamo: " << path << ": the file could not be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace kamo
