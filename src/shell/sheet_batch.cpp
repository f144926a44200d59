// The --sheet and --diagram batch jobs.
#include "shell/sheet_batch.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "cad/cad.h"
#include "core/codepage.h"
#include "core/identity.h"
#include "core/outputfile.h"
#include "display/displaylist.h"
#include "display/picture.h"
#include "graphics/diagram.h"
#include "graphics/sheets.h"
#include "shell/cad_batch.h"
#include "shell/cmdline.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {

bool IsSheet(const CommandLine& cl) { return cl.job == CommandLine::Job::Sheet; }

bool ParseKind(const std::string& s, int& k) {
  auto r = std::from_chars(s.data(), s.data() + s.size(), k);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

FormatJob JobOf(const CommandLine& cl) { return IsSheet(cl) ? kJobSheet : kJobDiagram; }

// The sheet format a picture is laid out for: the drawings with a title block at 1:1.
int PictureSheetFormat(bool sheet, int kind) {
  if (!sheet) return 0;
  if (kind == 5) return 4;
  if (kind == 10) return 3;
  return 0;
}

bool Draw(SheetOutput& out, bool sheet, int kind, int device) {
  return sheet ? OutputSheet(out, device, kind) : DiagramCommand(out, kind, device);
}

CadEnvironment Environment(Session& s, const CommandLine& cl, DisplayList* display,
                           const std::string& path) {
  CadEnvironment env = BatchCadEnvironment(s, path);
  env.display = display;
  std::error_code ec;
  fs::path full = fs::absolute(cl.file, ec);
  env.projectPath = ec ? cl.file : full.lexically_normal().string();
  return env;
}

bool NonEmptyFile(const std::string& path) {
  std::error_code ec;
  auto size = fs::file_size(path, ec);
  return !ec && size > 0;
}

}  // namespace

std::string SheetBatchUsageError(const Session& session, const CommandLine& cl) {
  const bool sheet = IsSheet(cl);
  const char* option = sheet ? "--sheet" : "--diagram";
  int kind = 0;
  if (!ParseKind(cl.kind, kind) || kind < 1 || kind > (sheet ? 10 : kDiagramKinds))
    return std::string(option) + " " + cl.kind + ": unknown kind (" + (sheet ? "1..10" : "1..9") + ")";
  if (cl.format.empty()) return std::string(option) + " needs --format F";
  const OutputFormat* format = FindFormat(cl.format, JobOf(cl));
  if (!format)
    return "--format " + cl.format + ": unknown format (" + FormatNames(JobOf(cl), ", ") + ")";
  if (!format->cad && !session.pictureExporters.find(cl.format))
    return "--format " + cl.format + ": not available yet";
  return {};
}

int RunSheetBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                  std::ostream& err) {
  std::string usage = SheetBatchUsageError(session, cl);
  if (!usage.empty()) {
    err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  const bool sheet = IsSheet(cl);
  int kind = 0;
  ParseKind(cl.kind, kind);
  if (!BatchResultsReady(session, err)) return kExitFailed;
  if (session.project().basePointCount <= 2) {
    err << "wkamo: the project has no contour to draw\n";
    return kExitFailed;
  }
  std::string target = BatchTarget(session, cl, workDir, cl.format);
  if (!BatchTargetAllowed(session, target, err)) return kExitFailed;
  session.flags.abortFlag = false;
  const OutputFormat& format = *FindFormat(cl.format, JobOf(cl));

  if (format.cad) {
    // The writer writes the target itself, whole or not at all.
    CadOutput cad(Environment(session, cl, nullptr, target));
    SheetOutput out{cad, session.project(), session.settings, session.messages, session.flags,
                    session.ui, ErrorListContext{}};
    out.errorList.noGui = true;
    const int known = session.messages.count();
    bool drawn = Draw(out, sheet, kind, CodeOf(format.kind));
    if (session.flags.abortFlag) {
      CutShort(session, known, target, err);
      return kExitFailed;
    }
    if (!drawn || !NonEmptyFile(target)) {
      err << "wkamo: " << target << ": the file could not be written\n";
      return kExitFailed;
    }
    return kExitOk;
  }

  // Pictures: the drawing is recorded as for the screen and painted from the list.
  DisplayList list;
  CadOutput cad(Environment(session, cl, &list, std::string()));
  SheetOutput out{cad, session.project(), session.settings, session.messages, session.flags,
                  session.ui, ErrorListContext{}};
  out.errorList.noGui = true;
  const int known = session.messages.count();
  bool drawn = Draw(out, sheet, kind, kCadScreen);
  // A drawing that stopped part way (a block replay that gave up) is no picture.
  if (session.flags.abortFlag) {
    CutShort(session, known, target, err);
    return kExitFailed;
  }
  if (!drawn || list.size() == 0) {
    err << "wkamo: " << target << ": nothing was drawn\n";
    return kExitFailed;
  }
  PictureOptions po = PictureOptionsFor(session.settings, PictureSheetFormat(sheet, kind));
  po.recordResX = list.transform().resX;
  po.recordResY = list.transform().resY;
  po.title = Cp850ToUtf8(session.project().drawing.zeichname);
  std::string error, bytes;
  const PictureWriter* w = session.pictureExporters.find(cl.format);
  if (!(*w)(list, po, bytes, error) || bytes.empty()) {
    err << "wkamo: " << target << ": " << (error.empty() ? "the picture could not be made" : error)
        << "\n";
    return kExitFailed;
  }
  if (!WriteOutputFile(target, bytes, &session.uiState.keepFiles, &error)) {
    err << "wkamo: " << error << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace kamo
