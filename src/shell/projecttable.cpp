// The scan of the project folder for the results table.
#include "shell/projecttable.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "cam/kamorech.h"
#include "core/codepage.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "io/kamoio.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
std::string FileDate(const fs::path& p) {
  std::error_code ec;
  auto t = fs::last_write_time(p, ec);
  if (ec) return {};
  std::time_t tt = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(t));
  std::tm tm{};
  localtime_r(&tt, &tm);
  char buf[16];
  std::strftime(buf, sizeof buf, "%Y-%m-%d", &tm);
  return buf;
}
}  // namespace

ProjectTable ScanProjects(Session& s, const std::string& dir) {
  ProjectTable t;
  t.table.caption = "Tabelle";
  t.table.columns = {"File", "Date y-m-d", "Name", "No", "n",    "rmax",
                     "rmin", "h",          "vmax", "vmin", "amax", "amin"};
  std::vector<fs::path> files;
  std::error_code ec;
  std::string ext = std::string(".") + kProjectExtension;
  for (const auto& e : fs::directory_iterator(dir.empty() ? "." : dir, ec)) {
    std::error_code ec2;
    if (e.is_regular_file(ec2) && Lower(e.path().extension().string()) == ext) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  const NumberStyle& ns = s.settings.numbers;
  bool boxes = s.uiState.errorBoxesOn;
  bool abort = s.flags.abortFlag;
  for (const fs::path& f : files) {
    std::string name = f.filename().string();
    s.ui.port().status(" -> " + name);
    CamProject p;
    // A file that cannot be read is skipped without a box.
    s.uiState.errorBoxesOn = false;
    bool read = ReadProject(s.ui, s.settings, f.string(), p);
    s.uiState.errorBoxesOn = boxes;
    s.flags.abortFlag = abort;
    if (!read) continue;
    MessageList messages;
    Flags flags;
    Calculate(p, messages, flags, s.settings);
    const CamResults& r = p.results;
    auto num = [&](Real x) { return flags.calcError ? std::string() : FormatGeneral(ns, x); };
    t.table.rows.push_back({name, FileDate(f), Cp850ToUtf8(p.drawing.zeichname),
                            Cp850ToUtf8(p.drawing.zeichnr), FormatGeneral(ns, p.speed), num(r.rMax),
                            num(r.rMin), num(r.stroke), num(r.vMax), num(r.vMin), num(r.aMax),
                            num(r.aMin)});
    t.paths.push_back(f.string());
  }
  s.ui.port().status("");
  return t;
}

}  // namespace kamo
