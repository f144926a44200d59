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
  if (cl.format.empty()) return "--solid needs --format stl";
  if (cl.format != "stl") return "--solid --format " + cl.format + ": the solid is written as stl only";
  return {};
}

int RunSolidBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                  std::ostream& err) {
  std::string usage = SolidBatchUsageError(cl);
  if (!usage.empty()) {
    err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  if (session.flags.calcError || session.project().basePointCount <= 2) {
    err << "wkamo: the project has no contour to write\n";
    return kExitFailed;
  }
  std::string stem = session.file.fileName.empty() ? std::string("kamo") : session.file.fileName;
  std::string target = cl.output.empty()
                           ? (fs::path(workDir.empty() ? "." : workDir) / (stem + ".stl")).string()
                           : cl.output;
  fs::path t(target);
  CadEnvironment env = BatchCadEnvironment(session, (t.parent_path() / t.stem()).string());
  env.projectPath = cl.file;
  env.targetFile = target;
  CadOutput cad(env);
  session.flags.abortFlag = false;
  bool ok = StlCam(cad, session.project(), true);
  std::string written = cad.outputFileName();
  std::error_code ec;
  if (ok && !written.empty() && written != target) {
    fs::rename(written, target, ec);
    if (ec) ok = false;
  }
  if (!ok || fs::file_size(target, ec) == 0 || ec) {
    err << "wkamo: " << target << ": the file could not be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace kamo
