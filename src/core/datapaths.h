// Where shipped and user data files are found, and where edits are saved.
#pragma once
#include <string>
#include <vector>

namespace kamo {

struct DataFolders {
  std::string pltDir;      // the configured PLT folder, may be empty
  std::string programDir;  // the folder of the running program
};

// The folders searched for a data file, in order: the configured PLT folder,
// $XDG_DATA_HOME/kamo (~/.local/share/kamo), the data folder beside the
// program, <prefix>/share/kamo.
std::vector<std::string> DataSearchPath(const DataFolders& f);
// The first existing file of that name, or the name in the first folder when none exists.
std::string FindDataFile(const DataFolders& f, const std::string& name);
// The user's writable data folder ($XDG_DATA_HOME/kamo), created when missing.
std::string UserDataFolder();

}  // namespace kamo
