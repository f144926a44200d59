// The change protocol as a batch job.
#include "shell/docu_batch.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "docu/docu.h"
#include "report/report.h"
#include "shell/cmdline.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {

struct ChangesFormat {
  const char* name;
  const char* extension;
  int target;
};
constexpr ChangesFormat kChangesFormats[] = {
    {"txt", ".txt", otFile}, {"tsv", ".tsv", otBatch}, {"html", ".html", otHtml}};

const ChangesFormat* FormatOf(const std::string& name) {
  for (const auto& f : kChangesFormats)
    if (name == f.name) return &f;
  return nullptr;
}

}  // namespace

std::string ChangesBatchUsageError(const CommandLine& cl) {
  if (cl.format.empty()) return "--changes needs --format txt, tsv or html";
  if (!FormatOf(cl.format))
    return "--changes --format " + cl.format + ": the protocol is written as txt, tsv or html";
  return {};
}

int RunChangesBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                    std::ostream& err) {
  std::string usage = ChangesBatchUsageError(cl);
  if (!usage.empty()) {
    err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  const ChangesFormat& format = *FormatOf(cl.format);
  std::string extension = format.extension;
  if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
  // The report engine writes the target itself, whole or not at all.
  std::string target = BatchTarget(session, cl, workDir, extension);
  if (!BatchTargetAllowed(session, target, err)) return kExitFailed;
  ReportEngine& engine = session.reports(workDir);
  engine.context().noGui = true;
  engine.setAskTarget(false);
  engine.context().batchFile = target;
  engine.context().batchShownName = target;
  session.flags.abortFlag = false;
  std::error_code ec;
  bool ok = ChangeProtocol(engine, format.target);
  if (!ok || fs::file_size(target, ec) == 0 || ec) {
    err << "wkamo: " << target << ": the change protocol could not be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace kamo
