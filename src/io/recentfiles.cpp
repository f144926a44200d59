// Reading and writing the recent-file list.
#include "io/recentfiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/identity.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "io/lines.h"

namespace kamo {
namespace fs = std::filesystem;

void RecentFiles::add(const std::string& path) {
  for (int i = 0; i < kEntries; ++i)
    if (!entries[static_cast<size_t>(i)].empty() && Lower(entries[static_cast<size_t>(i)]) == Lower(path)) {
      remove(i);
      break;
    }
  for (int i = kEntries - 1; i > 0; --i) entries[static_cast<size_t>(i)] = entries[static_cast<size_t>(i - 1)];
  entries[0] = path;
}

void RecentFiles::remove(int i) {
  if (i < 0 || i >= kEntries) return;
  for (int k = i; k + 1 < kEntries; ++k) entries[static_cast<size_t>(k)] = entries[static_cast<size_t>(k + 1)];
  entries[kEntries - 1].clear();
}

std::string RecentFilesToBytes(const RecentFiles& list, const std::string& fileDir) {
  std::string out = std::string(kFileStem) + " Session " + io::PathToFile(fileDir) + "\r\n";
  for (const std::string& e : list.entries) {
    std::string line = io::PathToFile(e);
    for (char& c : line)
      if (c == '\r' || c == '\n') c = ' ';
    out += line + "\r\n";
  }
  return out;
}

void RecentFilesFromBytes(std::string_view bytes, RecentFiles& list) {
  auto lines = io::SplitLines(bytes);
  for (size_t i = 0; i < list.entries.size(); ++i)
    list.entries[i] = i + 1 < lines.size() ? io::PathFromFile(lines[i + 1]) : std::string();
}

std::string RecentFilesPath(const std::string& configDir) {
  std::string dir = configDir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir + kFileStem + ".cff";
}

bool ReadRecentFiles(const std::string& configDir, RecentFiles& list) {
  std::string path = RecentFilesPath(configDir);
  std::error_code ec;
  std::ifstream in(path, std::ios::binary);
  if (!in || !fs::is_regular_file(path, ec) || fs::file_size(path, ec) > (1u << 20)) {
    list.entries.fill({});
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  RecentFilesFromBytes(bytes, list);
  return true;
}

bool WriteRecentFiles(Ui& ui, const std::string& configDir, const RecentFiles& list,
                      const std::string& fileDir) {
  if (list.empty()) return true;
  std::string path = RecentFilesPath(configDir);
  std::error_code ec;
  fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent, ec);
  TextFileWriter w(ui);
  if (!w.create(path)) return false;
  w.write(RecentFilesToBytes(list, fileDir));
  return w.close();
}

}  // namespace kamo
