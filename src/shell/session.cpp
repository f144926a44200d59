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

}  // namespace kamo
