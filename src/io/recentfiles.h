// The recent-file list: the four project files used last, newest first, kept
// between runs in stem + ".cff" in the configuration folder.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "core/ui.h"

namespace kamo {

struct RecentFiles {
  static constexpr int kEntries = 4;
  std::array<std::string, kEntries> entries;  // full paths; "" = unused

  // Puts path first; an equal entry (compared in lower case) moves up instead
  // of standing twice.
  void add(const std::string& path);
  // Removes entry i (0-based); the later entries move up.
  void remove(int i);
  bool empty() const { return entries[0].empty(); }
};

// The file: line 1 stem + " Session " + fileDir, lines 2..5 the entries.
std::string RecentFilesToBytes(const RecentFiles& list, const std::string& fileDir);
void RecentFilesFromBytes(std::string_view bytes, RecentFiles& list);

// configDir + stem + ".cff".
std::string RecentFilesPath(const std::string& configDir);
// Reads the list; when the file cannot be opened every entry is cleared.
bool ReadRecentFiles(const std::string& configDir, RecentFiles& list);
// Writes the list (safely, via a temporary file) unless entry 1 is empty;
// false with abortFlag when writing failed.
bool WriteRecentFiles(Ui& ui, const std::string& configDir, const RecentFiles& list,
                      const std::string& fileDir);

}  // namespace kamo
