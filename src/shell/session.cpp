// The session and its own temporary folder.
#include "shell/session.h"

#include <cstdlib>
#include <filesystem>

#include "core/datapaths.h"
#include "core/identity.h"
#include "core/strings.h"

namespace kamo {
namespace fs = std::filesystem;

Session::Session(UiPort& port, std::unique_ptr<Clock> clock)
    : ui(port, flags, uiState, settings.numbers),
      project_(std::make_unique<CamProject>()),
      clock_(std::move(clock)) {}

Session::~Session() {
  if (!ownTemp_.empty()) {
    std::error_code ec;
    fs::remove_all(ownTemp_, ec);
  }
}

std::string Session::tempDir() {
  std::error_code ec;
  if (!settings.tempDir.empty() && fs::is_directory(settings.tempDir, ec)) return settings.tempDir;
  if (ownTemp_.empty()) {
    const char* t = std::getenv("TEMP");
    if (!t || !*t) t = std::getenv("TMPDIR");
    fs::path base = (t && *t) ? fs::path(t) : fs::temp_directory_path(ec);
    std::string pattern = (base / "kamo-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return base.string();
    ownTemp_ = pattern;
  }
  return ownTemp_;
}

std::string Session::explanationFile() const {
  return FindDataFile({settings.pltDir, programDir}, std::string(kFileStem) + ".err");
}

bool Session::noGui() const { return ParamGiven(commandLine, "/NOGUI"); }

ReportContext SessionReportContext(Session& s, const std::string& workDir) {
  ReportContext ctx(s.ui, s.settings, s.clock(), s.file, s.project(), s.messages);
  ctx.explanationFile = s.explanationFile();
  ctx.tempDir = s.tempDir();
  ctx.workDir = workDir;
  ctx.ownerName = ReadOwnerName(FindDataFile({s.settings.pltDir, s.programDir}, kOwnerFile));
  ctx.archiveName = s.settings.archiveMode && s.uiState.fromCommandLine;
  ctx.noGui = s.noGui();
  ctx.portDevices = s.settings.textPrinterDevices;
  return ctx;
}

ReportEngine& Session::reports(const std::string& workDir) {
  std::string dir = workDir;
  if (dir.empty()) {
    std::error_code ec;
    dir = fs::current_path(ec).string();
    if (ec) dir = ".";
  }
  ReportContext fresh = SessionReportContext(*this, dir);
  // The engine refers to the project: a replaced one needs a new engine.
  if (!reports_ || &reports_->context().project != project_.get())
    reports_ = std::make_unique<ReportEngine>(std::move(fresh));
  else
    reports_->refresh(fresh);
  return *reports_;
}

}  // namespace kamo
