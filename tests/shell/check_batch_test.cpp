// The batch job --check: the "Prüfung" report of every example in each
// format, its values for a cam written here, and the exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "core/codepage.h"
#include "io/kamoio.h"
#include "support/scripted_port.h"

namespace kamo::test {
namespace {

namespace fs = std::filesystem;

const std::string kSource = KAMO_SOURCE_DIR;
const std::string kWkamo = std::string(KAMO_BINARY_DIR) + "/wkamo";

struct Outcome {
  int code;
  std::string err;
};

std::string Quote(const std::string& s) { return "'" + s + "'"; }

Outcome Wkamo(const std::string& folder, const std::vector<std::string>& args) {
  std::string cmd = "cd " + Quote(folder) + " && XDG_CONFIG_HOME=" + Quote(folder + "/.config") + " " +
                    Quote(kWkamo);
  for (const auto& a : args) cmd += " " + Quote(a);
  cmd += " > /dev/null 2> " + Quote(folder + "/.err");
  int rc = std::system(cmd.c_str());
  Outcome r{rc == -1 ? -1 : WEXITSTATUS(rc), ReadFileBytes(folder + "/.err")};
  fs::remove(folder + "/.err");
  return r;
}

// symbol -> value of the rows with four fields.
std::multimap<std::string, std::string> Rows(const std::string& text) {
  std::multimap<std::string, std::string> rows;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string l = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? text.size() : end + 1;
    if (!l.empty() && l.back() == '\r') l.pop_back();
    if (std::count(l.begin(), l.end(), '\t') != 3) continue;
    size_t a = l.find('\t'), b = l.find('\t', a + 1), c = l.find('\t', b + 1);
    rows.emplace(l.substr(a + 1, b - a - 1), l.substr(c + 1));
  }
  return rows;
}

TEST(BatchCheck, EveryExampleInEveryFormat) {
  for (const auto& entry : fs::directory_iterator(kSource + "/examples")) {
    if (entry.path().extension() != ".kmo") continue;
    const std::string example = entry.path().string(), stem = entry.path().stem().string();
    TempFolder work;
    for (const char* format : {"txt", "tsv", "html"}) {
      Outcome r = Wkamo(work.path(), {example, "--check", "--format", format});
      EXPECT_EQ(r.code, 0) << stem << " " << format << ": " << r.err;
      std::string bytes = ReadFileBytes(work.file(stem + "." + format));
      ASSERT_FALSE(bytes.empty()) << stem << " " << format;
      std::string f = format;
      if (f == "txt") {
        EXPECT_NE(bytes.find("Pr\x81" "fung"), std::string::npos) << stem;  // DOS code page
      } else if (f == "tsv") {
        auto rows = Rows(bytes);
        for (const char* s : {"alpha max", "phi alpha max", "alpha min", "phi alpha min", "e max", "b face",
                              "rho min", "phi rho min", "rho max", "rho concave", "rho p min", "j max", "j min",
                              "F c max", "F c min", "p H max"})
          EXPECT_EQ(rows.count(s), 1u) << stem << ": " << s;
        for (const auto& [symbol, value] : rows) {
          EXPECT_FALSE(value.empty()) << stem << ": " << symbol;
          EXPECT_EQ(value.find("nan"), std::string::npos) << stem << ": " << symbol;
          EXPECT_EQ(value.find("inf"), std::string::npos) << stem << ": " << symbol;
        }
      } else {
        std::string cmd = "tidy -q -e " + Quote(work.file(stem + ".html")) + " > /dev/null 2>&1";
        int rc = std::system(cmd.c_str());
        ASSERT_NE(WEXITSTATUS(rc), 127) << "tidy is not installed (scripts/install-deps.sh)";
        EXPECT_LT(WEXITSTATUS(rc), 2) << stem;
      }
    }
  }
}

// A cam written here: the eccentric d = 100, e = 10 with a roller of 20 mm,
// a preload of 500 N and a cam 20 mm wide, calculated by the batch run.
TEST(BatchCheck, ValuesOfAnEccentricWithRoller) {
  TempFolder work;
  CamProject p;
  p.curveType = ctEccentric;
  p.calc.steps = 360;
  p.ram = {2, 20, 100, 0.1L};
  p.speed = 1e-3L;
  p.body.width = 20;
  p.checkData.preload = 500;
  Settings s;
  WriteFileBytes(work.file("ecc.kmo"), ProjectToBytes(s, p));
  Outcome r = Wkamo(work.path(), {"ecc.kmo", "--check", "--format", "tsv", "-o", "out.tsv"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto rows = Rows(ReadFileBytes(work.file("out.tsv")));
  auto value = [&](const char* s) { return std::strtod(rows.find(s)->second.c_str(), nullptr); };
  EXPECT_NEAR(value("alpha max"), 180 / 3.14159265358979323846 * std::asin(10.0 / 60), 0.01);
  EXPECT_NEAR(value("rho p min"), 60, 0.01);
  EXPECT_NEAR(value("rho min"), 50, 0.01);
  const double estar = 1 / (2 * (1 - 0.09) / 210000);
  const double pH = std::sqrt(500 * estar / (3.14159265358979323846 * 20 / (1.0 / 50 + 1.0 / 10)));
  EXPECT_NEAR(value("p H max"), pH, 0.1);
  EXPECT_EQ(rows.count("verdict"), 0u);
  EXPECT_FALSE(fs::exists(work.file("ecc.tsv")));
}

TEST(BatchCheck, ExitCodes) {
  TempFolder work;
  CamProject cw;  // coordinate points entered clockwise: "Fehler : Richtungssinn !" stops
  cw.curveType = ctPoints;
  cw.basePointCount = 5;
  cw.basePoints[1] = {20, 20, 0};
  cw.basePoints[2] = {20, -20, 0};
  cw.basePoints[3] = {-20, -20, 0};
  cw.basePoints[4] = {-20, 20, 0};
  cw.basePoints[5] = {20, 20, 0};
  Settings s;
  WriteFileBytes(work.file("cw.kmo"), ProjectToBytes(s, cw));
  WriteFileBytes(work.file("broken.kmo"), "nonsense\r\n");
  fs::create_directory(work.file("folder.tsv"));
  const std::string cam = kSource + "/examples/ellipse.kmo";
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  } cases[] = {
      {{cam, "--check"}, 2, "--check needs --format"},
      {{cam, "--check", "--format", "pdf"}, 2, "unknown format (txt, tsv, html)"},
      {{cam, "--check", "--printout", "--format", "txt"}, 2, "only one job"},
      {{"cw.kmo", "--check", "--format", "tsv"}, 1, "Richtungssinn"},
      {{"broken.kmo", "--check", "--format", "tsv"}, 1, "broken.kmo"},
      {{cam, "--check", "--format", "tsv", "-o", "folder.tsv"}, 1, "folder.tsv"},
  };
  for (const Case& c : cases) {
    Outcome r = Wkamo(work.path(), c.args);
    EXPECT_EQ(r.code, c.code) << c.message << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(work.file("cw.tsv")));
}

}  // namespace
}  // namespace kamo::test
