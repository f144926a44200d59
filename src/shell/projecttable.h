// The results table of every project in the project folder (File > Open
// (Table)): each project is read and calculated on its own, and the row the
// user picks becomes the current project.
#pragma once
#include <string>
#include <vector>

#include "core/ui_port.h"

namespace kamo {

class Session;

struct ProjectTable {
  TablePick table;
  std::vector<std::string> paths;  // the file of each row
};

// Reads and calculates every project file of `dir` (sorted by name); files
// that cannot be read are left out and do not stop the scan. The session's
// project, messages and flags stay as they are.
ProjectTable ScanProjects(Session& session, const std::string& dir);

}  // namespace kamo
