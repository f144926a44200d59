// The "Prüfung" report as a batch job.
#include "shell/check_batch.h"

#include <filesystem>
#include <system_error>

#include "report/checkreport.h"
#include "report/report.h"
#include "shell/cmdline.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {

struct CheckFormat {
  const char* name;
  const char* extension;
  int target;
};
constexpr CheckFormat kCheckFormats[] = {
    {"txt", "txt", otFile},    // text, DOS code page 850
    {"tsv", "tsv", otBatch},   // rows label, symbol, unit, value; UTF-8
    {"html", "html", otHtml},
};

const CheckFormat* FormatOf(const std::string& name) {
  for (const auto& f : kCheckFormats)
    if (name == f.name) return &f;
  return nullptr;
}

}  // namespace

std::string CheckBatchUsageError(const CommandLine& cl) {
  if (cl.format.empty()) return "--check needs --format txt, tsv or html";
  if (!FormatOf(cl.format)) return "--check --format " + cl.format + ": unknown format (txt, tsv, html)";
  return {};
}

int RunCheckBatch(Session& session, const CommandLine& cl, const std::string& workDir, std::ostream& err) {
  std::string usage = CheckBatchUsageError(cl);
  if (!usage.empty()) {
    err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  // The checks need the results of a calculation that reached its end.
  if (!BatchResultsReady(session, err)) return kExitFailed;
  if (!session.project().checks.valid) {
    err << "wkamo: the contour is too small for the checks\n";
    return kExitFailed;
  }
  const CheckFormat& format = *FormatOf(cl.format);
  std::string target = BatchTarget(session, cl, workDir, format.extension);
  if (!BatchTargetAllowed(session, target, err)) return kExitFailed;
  ReportEngine& engine = session.reports(workDir);
  engine.context().noGui = true;
  engine.context().batchFile = target;
  engine.setDefaultTarget(format.target);
  engine.setAskTarget(false);
  session.flags.abortFlag = false;
  std::error_code ec;
  bool ok = CheckReport(engine, format.target);
  if (!ok || engine.resultPath().empty() || fs::file_size(engine.resultPath(), ec) == 0 || ec) {
    err << "wkamo: " << target << ": the check report could not be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace kamo
