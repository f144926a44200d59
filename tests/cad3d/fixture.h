// A CAD output with scripted UI and its own folder, the checkers we did not
// write (run once per group of files), and small cam projects.
#pragma once
#include <array>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "cad/cad.h"
#include "cam/model.h"
#include "core/settings.h"
#include "support/cad_surroundings.h"

namespace kamo::test {

struct Cad3dFixture : CadSurroundings {
  std::unique_ptr<CadOutput> cad;

  explicit Cad3dFixture(bool batch = true) : CadSurroundings(DateTime{2026, 12, 9, 9, 30, 5}) { reset(batch); }
  void reset(bool batch = true) { cad = std::make_unique<CadOutput>(environment(batch, false)); }
  // Opens kind with window and an empty blocks section, and begins the entities.
  void begin(int kind, Real height = 0) {
    cad->CadOpen(kind, "KAMO");
    cad->CadWindow(0, 0, 100, 100, height);
    cad->CadTables(0);
    cad->CadBeginBlocks();
    cad->CadEndSection();
    cad->CadBeginEntities();
  }
  std::string end(const std::string& ext) {
    cad->CadEndSection();
    cad->CadClose();
    return ReadFileBytes(temp.file("out." + ext));
  }
};

// A cam of the given closed outline (first point repeated at the end) with bore.
std::unique_ptr<CamProject> OutlineCam(const std::vector<std::array<Real, 3>>& points, Real bore,
                                       Real width);
// An example project, read and calculated.
std::unique_ptr<CamProject> ExampleCam(const std::string& name, Settings& settings);

// What admesh reported for one file.
struct MeshReport {
  bool read = false;
  std::map<std::string, double> values;  // "Number of facets", "Volume", "Backwards edges", ...
  std::string text;
  double operator[](const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? -1 : it->second;
  }
};
// Runs admesh on every file in one shell; empty when admesh is missing.
std::vector<MeshReport> RunAdmesh(const std::vector<std::string>& files);

// Runs a script of OpenCASCADE's DRAW in one process; its output, or nullopt
// when DRAW is not installed.
std::optional<std::string> RunDraw(const std::string& script, const std::string& folder);

std::string ShellQuote(const std::string& s);

}  // namespace kamo::test
