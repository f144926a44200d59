// The closed cam solid from the command line.
#include "shell/solid_batch.h"

#include <filesystem>
#include <system_error>

#include "cad/cad.h"
#include "cad/cadsolid.h"
#include "cad/cadstl.h"
#include "cad/formats.h"
#include "shell/cad_batch.h"
#include "shell/cmdline.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
bool ContourJob(const CommandLine& cl) { return cl.job == CommandLine::Job::Contour; }
FormatJob JobOf(const CommandLine& cl) { return ContourJob(cl) ? kJobContour : kJobSolid; }
}  // namespace

std::string SolidBatchUsageError(const CommandLine& cl) {
  std::string names = FormatNames(JobOf(cl), ", ");
  std::string option = ContourJob(cl) ? "--contour" : "--solid";
  if (cl.format.empty()) return option + " needs --format " + names;
  if (!FindFormat(cl.format, JobOf(cl)))
    return option + " --format " + cl.format + ": the " + (ContourJob(cl) ? "contour" : "solid") +
           " is written as " + names + " only";
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
  const OutputFormat& row = *FindFormat(cl.format, JobOf(cl));
  std::string target = BatchTarget(session, cl, workDir, row.extension);
  if (!BatchTargetAllowed(session, target, err)) return kExitFailed;
  CadEnvironment env = BatchCadEnvironment(session, target);
  env.projectPath = cl.file;
  CadOutput cad(env);
  session.flags.abortFlag = false;
  std::error_code ec;
  bool written = row.kind == CadOutputKind::Stl ? StlCam(cad, session.project(), true)
                                                 : StepCam(cad, session.project(), ContourJob(cl));
  if (!written || fs::file_size(target, ec) == 0 || ec) {
    err << "wkamo: " << target << ": the file could not be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace kamo
