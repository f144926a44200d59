// The closed cam solid from the command line.
#include "shell/solid_batch.h"

#include <filesystem>
#include <system_error>

#include "cad/cad.h"
#include "cad/cadstl.h"
#include "shell/cad_batch.h"
#include "shell/cmdline.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

std::string SolidBatchUsageError(const CommandLine& cl) {
  std::string names = FormatNames(kJobSolid, ", ");
  if (cl.format.empty()) return "--solid needs --format " + names;
  if (!FindFormat(cl.format, kJobSolid))
    return "--solid --format " + cl.format + ": the solid is written as " + names + " only";
  return {};
}

int RunSolidBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                  std::ostream& err) {
  std::string usage = SolidBatchUsageError(cl);
  if (!usage.empty()) {
    err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  if (!BatchResultsReady(session, err)) return kExitFailed;
  if (session.project().basePointCount <= 2) {
    err << "wkamo: the project has no contour to write\n";
    return kExitFailed;
  }
  std::string target = BatchTarget(session, cl, workDir, FindFormat(cl.format, kJobSolid)->extension);
  if (!BatchTargetAllowed(session, target, err)) return kExitFailed;
  CadEnvironment env = BatchCadEnvironment(session, target);
  env.projectPath = cl.file;
  CadOutput cad(env);
  session.flags.abortFlag = false;
  std::error_code ec;
  if (!StlCam(cad, session.project(), true) || fs::file_size(target, ec) == 0 || ec) {
    err << "wkamo: " << target << ": the file could not be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace kamo
