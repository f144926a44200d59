// The rows of the system information.
#include "shell/sysinfo.h"

#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/codepage.h"
#include "core/identity.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
std::string Megabytes(unsigned long long bytes) { return std::to_string(bytes / (1024 * 1024)) + " MB"; }
}  // namespace

std::vector<std::pair<std::string, std::string>> SystemInfoRows(const Session& s,
                                                                 const std::string& programFile) {
  std::vector<std::pair<std::string, std::string>> rows;
  rows.emplace_back("Programm", Cp850ToUtf8(kProgramTitle) + "  V " + kProgramVersion);
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) host[0] = 0;
  rows.emplace_back("Computer", host);
  const char* user = std::getenv("USER");
  if (!user || !*user) user = std::getenv("LOGNAME");
  rows.emplace_back("Benutzer", user ? user : "");
  rows.emplace_back("Programmdatei", programFile);
  std::error_code ec;
  std::string dir = s.file.fileDir.empty() ? fs::current_path(ec).string() : s.file.fileDir;
  rows.emplace_back("Projektordner", dir);
  struct statvfs v {};
  if (statvfs(dir.c_str(), &v) == 0) {
    unsigned long long unit = v.f_frsize ? v.f_frsize : v.f_bsize;
    rows.emplace_back("Platte gesamt", Megabytes(unit * v.f_blocks));
    rows.emplace_back("Platte frei", Megabytes(unit * v.f_bavail));
  }
  struct utsname u {};
  if (uname(&u) == 0)
    rows.emplace_back("System", std::string(u.sysname) + " " + u.release + " " + u.machine);
  return rows;
}

std::string SystemInfoText(const std::vector<std::pair<std::string, std::string>>& rows) {
  std::string text;
  for (const auto& [label, value] : rows) text += label + ": " + value + "\n";
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace kamo
