// The change protocol as a batch job.
#include "shell/docu_batch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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
  fs::path dir = workDir.empty() ? fs::path(".") : fs::path(workDir);
  std::string stem = session.file.fileName.empty() ? std::string("kamo") : session.file.fileName;
  fs::path target = cl.output.empty() ? dir / (stem + format.extension) : dir / cl.output;
  std::error_code ec;
  if (fs::is_directory(target, ec)) {
    err << "wkamo: " << target.string() << ": is a folder\n";
    return kExitFailed;
  }
  if (fs::exists(target, ec) && fs::equivalent(cl.file, target, ec)) {
    err << "wkamo: " << target.string() << ": the output would replace the project file\n";
    return kExitFailed;
  }
  if (fs::exists(target, ec) && !fs::is_regular_file(fs::symlink_status(target, ec))) {
    err << "wkamo: " << target.string() << ": is not a regular file\n";
    return kExitFailed;
  }
  // A file of our own beside the target, renamed over it once complete.
  fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  // (No dot in its name: the report engine's file check counts them.)
  std::string part = (folder / "kamo-changes-XXXXXX").string();
  int fd = ::mkstemp(part.data());
  if (fd < 0) {
    err << "wkamo: " << target.string() << ": " << std::strerror(errno) << "\n";
    return kExitFailed;
  }
  // The protocol gets the permissions of any new file.
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
  ReportEngine& engine = session.reports(workDir);
  engine.context().noGui = true;
  engine.setAskTarget(false);
  engine.context().batchFile = part;
  engine.context().batchShownName = target.string();
  session.flags.abortFlag = false;
  bool ok = ChangeProtocol(engine, format.target);
  ok = ok && fs::file_size(part, ec) > 0 && !ec;
  if (ok) {
    fs::rename(part, target, ec);
    ok = !ec;
  }
  if (!ok) {
    std::error_code ignored;
    fs::remove(part, ignored);
    err << "wkamo: " << target.string() << ": the change protocol could not be written"
        << (ec ? ": " + ec.message() : std::string()) << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace kamo
