// Data file lookup.
#include "core/datapaths.h"

#include <cstdlib>
#include <filesystem>

namespace kamo {
namespace fs = std::filesystem;

namespace {
std::string UserDataBase() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return (fs::path(xdg) / "kamo").string();
  const char* home = std::getenv("HOME");
  if (home && *home) return (fs::path(home) / ".local/share/kamo").string();
  return {};
}
}  // namespace

std::vector<std::string> DataSearchPath(const DataFolders& f) {
  std::vector<std::string> dirs;
  if (!f.pltDir.empty()) dirs.push_back(f.pltDir);
  std::string user = UserDataBase();
  if (!user.empty()) dirs.push_back(user);
  if (!f.programDir.empty()) {
    dirs.push_back((fs::path(f.programDir) / "data").string());
    dirs.push_back((fs::path(f.programDir) / ".." / "share" / "kamo").lexically_normal().string());
  }
  return dirs;
}

std::string FindDataFile(const DataFolders& f, const std::string& name) {
  auto dirs = DataSearchPath(f);
  std::error_code ec;
  for (const auto& d : dirs) {
    fs::path p = fs::path(d) / name;
    if (fs::is_regular_file(p, ec)) return p.string();
  }
  return dirs.empty() ? name : (fs::path(dirs.front()) / name).string();
}

std::string UserDataFolder() {
  std::string d = UserDataBase();
  if (d.empty()) return d;
  std::error_code ec;
  fs::create_directories(d, ec);
  return d;
}

}  // namespace kamo
