// The bundled example projects: written by this code, read back exactly, each
// calculates without a fatal message, and every truncated copy is refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "cam/kamorech.h"
#include "io/kamoio.h"
#include "io/lines.h"
#include "projects.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;

std::string ExamplePath(const std::string& name) {
  return std::string(KAMO_SOURCE_DIR) + "/examples/" + name;
}

TEST(Examples, OnePerCurveTypeWrittenByThisCode) {
  Settings s;
  std::set<int> types;
  bool bless = std::getenv("KAMO_BLESS") != nullptr;
  if (bless) fs::create_directories(ExamplePath(""));
  for (const auto& ex : test::ExampleProjects()) {
    types.insert(ex.project.curveType);
    std::string bytes = ProjectToBytes(s, ex.project);
    if (bless) test::WriteFileBytes(ExamplePath(ex.fileName), bytes);
    EXPECT_EQ(test::ReadFileBytes(ExamplePath(ex.fileName)), bytes)
        << ex.fileName << ": regenerate on purpose with KAMO_BLESS=1";
  }
  EXPECT_EQ(types.size(), 11u);
}

TEST(Examples, ReadBackAndCalculateWithoutFatalMessage) {
  for (const auto& ex : test::ExampleProjects()) {
    test::ScriptedPort port;
    Flags flags;
    UiState state;
    Settings s;
    Ui ui(port, flags, state, s.numbers);
    CamProject p;
    ASSERT_TRUE(ReadProject(ui, s, ExamplePath(ex.fileName), p)) << ex.fileName;
    EXPECT_EQ(test::CompareInputs(ex.project, p), "") << ex.fileName;
    EXPECT_EQ(ProjectToBytes(s, p), test::ReadFileBytes(ExamplePath(ex.fileName))) << ex.fileName;
    MessageList messages;
    Calculate(p, messages, flags, s);
    EXPECT_FALSE(flags.calcError) << ex.fileName;
    for (int i = 1; i <= messages.count(); ++i)
      EXPECT_NE(messages.at(i).rfind("Fatal", 0), 0u) << ex.fileName << ": " << messages.at(i);
    EXPECT_GT(p.contourCount, 2) << ex.fileName;
    // Every example is a cam of about 100 mm: radii far off mean a broken contour.
    EXPECT_GT(p.results.rMin, 20) << ex.fileName;
    EXPECT_LT(p.results.rMax, 80) << ex.fileName;
  }
}

// Every copy cut short before the end of the last specified row (calc.splineRes)
// is refused: at each line end and inside each line.
TEST(Examples, TruncatedCopiesAreRefused) {
  Settings s;
  for (const auto& ex : test::ExampleProjects()) {
    std::string bytes = test::ReadFileBytes(ExamplePath(ex.fileName));
    size_t lines = io::SplitLines(bytes).size();
    ASSERT_GE(lines, 3u);
    // End of the splineRes line: the third line end from the back.
    size_t end = bytes.size();
    for (int k = 0; k < 3; ++k) end = bytes.rfind("\r\n", end - 1);
    std::vector<size_t> cuts;
    for (size_t pos = 0; pos < end; pos = bytes.find("\r\n", pos) + 2) {
      cuts.push_back(pos);
      cuts.push_back(pos + 1);
      size_t eol = bytes.find("\r\n", pos);
      if (eol < end) cuts.push_back(eol + 1);  // between CR and LF
    }
    cuts.push_back(end);  // the last row without its line end
    for (size_t cut : cuts) {
      CamProject p;
      ProjectReadError e;
      EXPECT_FALSE(ProjectFromBytes(std::string_view(bytes).substr(0, cut), p, e))
          << ex.fileName << " cut at " << cut;
    }
    CamProject p;
    ProjectReadError e;
    EXPECT_TRUE(ProjectFromBytes(std::string_view(bytes).substr(0, end + 2), p, e)) << ex.fileName;
  }
}

TEST(Examples, TruncatedFileLeavesTheLoadedProject) {
  test::TempFolder dir;
  test::ScriptedPort port;
  Flags flags;
  UiState state;
  Settings s;
  Ui ui(port, flags, state, s.numbers);
  CamProject loaded = test::GoldenProject();
  std::string before = ProjectToBytes(s, loaded);
  for (const auto& ex : test::ExampleProjects()) {
    std::string bytes = test::ReadFileBytes(ExamplePath(ex.fileName));
    for (size_t cut : {size_t{0}, size_t{70}, bytes.size() / 3, bytes.size() - 30}) {
      std::string path = dir.file("cut.kmo");
      test::WriteFileBytes(path, bytes.substr(0, cut));
      flags.abortFlag = false;
      EXPECT_FALSE(ReadProject(ui, s, path, loaded)) << ex.fileName << " " << cut;
      EXPECT_TRUE(flags.abortFlag);
      EXPECT_EQ(ProjectToBytes(s, loaded), before) << ex.fileName << " " << cut;
    }
  }
  EXPECT_EQ(port.boxes.size(), 4 * test::ExampleProjects().size());
}

}  // namespace
}  // namespace kamo
