// A project from a motion programme on the command line.
#include "shell/motion_batch.h"

#include <filesystem>
#include <system_error>

#include "cam/kamorech.h"
#include "cam/motionprog.h"
#include "core/codepage.h"
#include "core/identity.h"
#include "core/inputfile.h"
#include "core/outputfile.h"
#include "core/strings.h"
#include "core/ui.h"
#include "docu/docu.h"
#include "io/kamoio.h"
#include "shell/cmdline.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

int RunMotionBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                   std::ostream& err) {
  fs::path dir(workDir.empty() ? std::string(".") : workDir);
  std::string programme = (dir / cl.motion).string();
  std::string target = cl.output.empty()
                           ? (dir / (StemPart(cl.motion) + "." + kProjectExtension)).string()
                           : (dir / cl.output).string();
  std::string missing = MissingExtensionMessage(target);
  if (!missing.empty()) {
    err << "wkamo: " << target << ": " << Cp850ToUtf8(missing) << "\n";
    return kExitUsage;
  }
  std::string bytes;
  InputResult in = ReadRegularFile(programme, kMotionFileLimit, bytes);
  if (!in.ok()) {
    err << "wkamo: " << programme << ": the motion programme cannot be read ("
        << (in.status == InputStatus::TooLarge ? std::string("larger than 1 MiB") : in.reason) << ")\n";
    return kExitFailed;
  }
  session.uiState.keepFiles.add(programme, "the motion programme");
  MotionProgramme prog;
  MotionError e = ParseMotionProgramme(bytes, prog);
  if (!e.ok()) {
    err << "wkamo: " << programme << ": " << Cp850ToUtf8(e.message) << "\n";
    return kExitFailed;
  }
  std::error_code ec;
  if (!cl.force && (fs::exists(fs::symlink_status(target, ec)) || fs::is_symlink(target, ec))) {
    err << "wkamo: " << target << ": the project exists (--force replaces it)\n";
    return kExitFailed;
  }
  if (!BatchTargetAllowed(session, target, err)) return kExitFailed;

  CamProject& p = session.project();
  p.resetProject();
  ResetDocumentation(p, session.settings.numbers, session.clock());
  p.calc.steps = kMotionDefaultSteps;
  e = ApplyMotionProgramme(prog, p);
  if (!e.ok()) {
    err << "wkamo: " << programme << ": " << Cp850ToUtf8(e.message) << "\n";
    return kExitFailed;
  }
  session.file.fileName = StemPart(target);
  session.file.fileDir.clear();
  Calculate(p, session.messages, session.flags, session.settings);
  if (session.flags.calcError) {
    err << "wkamo: " << programme << ": the calculation failed\n";
    for (int i = 1; i <= session.messages.count(); ++i)
      err << "wkamo: " << Cp850ToUtf8(session.messages.at(i)) << "\n";
    return kExitFailed;
  }
  std::string message;
  if (!WriteOutputFile(target, ProjectToBytes(session.settings, p), &session.uiState.keepFiles, &message)) {
    err << "wkamo: " << message << "\n";
    return kExitFailed;
  }
  session.flags.modified = false;
  return kExitOk;
}

}  // namespace kamo
