// Helpers of the 3D exchange tests: small cams, examples, external checkers.
#include "fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cam/kamorech.h"
#include "io/kamoio.h"
#include "support/scripted_port.h"

namespace kamo::test {

std::unique_ptr<CamProject> OutlineCam(const std::vector<std::array<Real, 3>>& points, Real bore,
                                       Real width) {
  auto p = std::make_unique<CamProject>();
  p->basePointCount = static_cast<int>(points.size());
  double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  for (size_t i = 0; i < points.size(); ++i) {
    p->basePoints[i + 1] = ContourPoint{points[i][0], points[i][1], points[i][2]};
    x0 = std::min(x0, static_cast<double>(points[i][0]));
    x1 = std::max(x1, static_cast<double>(points[i][0]));
    y0 = std::min(y0, static_cast<double>(points[i][1]));
    y1 = std::max(y1, static_cast<double>(points[i][1]));
  }
  p->results.xMin = x0;
  p->results.xMax = x1;
  p->results.yMin = y0;
  p->results.yMax = y1;
  p->results.xSize = x1 - x0;
  p->results.ySize = y1 - y0;
  p->body.bore = bore;
  p->body.width = width;
  return p;
}

std::unique_ptr<CamProject> ExampleCam(const std::string& name, Settings& settings) {
  ScriptedPort port;
  Flags flags;
  UiState state;
  Ui ui(port, flags, state, settings.numbers);
  auto p = std::make_unique<CamProject>();
  std::string path = std::string(KAMO_SOURCE_DIR) + "/examples/" + name;
  if (!ReadProject(ui, settings, path, *p)) return nullptr;
  MessageList messages;
  Calculate(*p, messages, flags, settings);
  if (flags.calcError) return nullptr;
  return p;
}

std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

namespace {
bool Installed(const char* program) {
  return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}
}  // namespace

std::vector<MeshReport> RunAdmesh(const std::vector<std::string>& files) {
  std::vector<MeshReport> reports;
  if (!Installed("admesh")) return reports;
  std::string cmd = "for f in";
  for (const auto& f : files) cmd += " " + ShellQuote(f);
  cmd += "; do echo '#### next'; admesh -e -d -v \"$f\" 2>&1; done";
  std::string out = CommandOutput(cmd);
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    if (line == "#### next") {
      reports.emplace_back();
      continue;
    }
    if (reports.empty()) continue;
    MeshReport& r = reports.back();
    r.text += line + "\n";
    if (line.rfind("Input file", 0) == 0) r.read = true;
    // "Key   :  value [final]" and "Number of parts : n   Volume : v".
    size_t start = 0;
    while (start < line.size()) {
      size_t colon = line.find(':', start);
      if (colon == std::string::npos) break;
      std::string key = line.substr(start, colon - start);
      while (!key.empty() && key.back() == ' ') key.pop_back();
      while (!key.empty() && key.front() == ' ') key.erase(0, 1);
      const char* p = line.c_str() + colon + 1;
      char* e = nullptr;
      double v = std::strtod(p, &e);
      if (e == p) break;
      double final = std::strtod(e, &e);
      (void)final;
      r.values[key] = v;
      if (key.rfind("Number of facets", 0) == 0 || key.rfind("Facets with", 0) == 0 ||
          key.rfind("Total disconnected", 0) == 0) {
        const char* q = line.c_str() + colon + 1;
        char* qe = nullptr;
        std::strtod(q, &qe);
        char* fe = nullptr;
        double fin = std::strtod(qe, &fe);
        if (fe != qe) r.values[key + " final"] = fin;
      }
      start = static_cast<size_t>(e - line.c_str());
    }
  }
  if (reports.size() != files.size()) reports.clear();
  return reports;
}

std::optional<std::string> RunDraw(const std::string& script, const std::string& folder) {
  if (!Installed("occt-draw")) return std::nullopt;
  std::string path = folder + "/check.tcl";
  {
    std::ofstream f(path);
    f << "pload MODELING DATAEXCHANGE\n" << script << "\nexit\n";
  }
  return CommandOutput("cd " + ShellQuote(folder) + " && timeout 600 occt-draw -b -f " + ShellQuote(path) +
                  " 2>&1");
}

}  // namespace kamo::test
