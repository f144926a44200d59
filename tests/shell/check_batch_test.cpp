// The batch job --check: the "Prüfung" report of every example in each
// format, its values for a cam written here, and the exit codes; the check
// diagrams 6..9 of a batch run read back by ezdxf.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "cam/kamorech.h"
#include "core/codepage.h"
#include "core/geometry.h"
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

double D(Real x) { return static_cast<double>(x); }

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

// The eccentric d = 100, e = 10 at 360 steps with a roller of 20 mm (and
// the given mass) and a cam 20 mm wide.
CamProject EccentricWithRoller(Real mass, Real speed) {
  CamProject p;
  p.curveType = ctEccentric;
  p.calc.steps = 360;
  p.ram = {2, 20, 100, mass};
  p.speed = speed;
  p.body.width = 20;
  return p;
}

// A cam written here: the eccentric with roller and a preload of 500 N,
// calculated by the batch run.
TEST(BatchCheck, ValuesOfAnEccentricWithRoller) {
  TempFolder work;
  CamProject p = EccentricWithRoller(0.1L, 1e-3L);
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

// The eccentric with roller of above at 600 rpm with a spring, a limit of 8
// degrees, through "--diagram 6..9 --format dxf": ezdxf finds the limit lines
// and each curve's extremes where the checks put them, in the frames the
// diagrams use (the angle axis 0..360 degrees, the value axis a nice scale of
// the check's range).
TEST(BatchCheck, DiagramsShowTheLimitAndTheExtremesOfTheChecks) {
  TempFolder work;
  CamProject p = EccentricWithRoller(0.5L, 600);
  p.checkData.alphaLimit = 8;
  p.checkData.preload = 5;
  p.checkData.rate = 0.5L;
  Settings s;
  const std::string bytes = ProjectToBytes(s, p);
  WriteFileBytes(work.file("ecc.kmo"), bytes);
  // The checks as the batch run finds them.
  CamProject q;
  ProjectReadError error;
  ASSERT_TRUE(ProjectFromBytes(bytes, q, error));
  MessageList messages;
  Flags flags;
  Calculate(q, messages, flags, s);
  const CheckResults& c = q.checks;
  ASSERT_TRUE(c.valid && !flags.calcError);
  ASSERT_GT(c.alphaMax, 8);  // the curve passes the limit
  ASSERT_LT(c.fMin, 0);      // and lifts off: the force frame holds both signs

  struct Frame {
    double W, H, X0, Y0, lo, hi;
    double X(double phi) const { return X0 + phi / (2 * 3.14159265358979323846) * W; }
    double Y(double v) const { return Y0 + (v - lo) / (hi - lo) * H; }
    std::string box() const {
      return "[" + std::to_string(X0) + "," + std::to_string(Y0) + "," + std::to_string(X0 + W) + "," +
             std::to_string(Y0 + H) + "]";
    }
  };
  auto frame = [](double W, double H, double X0, double Y0, double lo, double hi) {
    AxisScale a = NiceScale(6, hi, lo);
    return Frame{W, H, X0, Y0, static_cast<double>(a.lo), static_cast<double>(a.hi)};
  };
  auto num = [](double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return std::string(buf);
  };
  auto curve = [&](const Frame& f, const char* layer, double lo, double hi, double phiHi) {
    return std::string("{\"layer\":\"") + layer + "\",\"box\":" + f.box() + ",\"minLines\":300,\"ymin\":" +
           num(f.Y(lo)) + ",\"ymax\":" + num(f.Y(hi)) + (phiHi >= 0 ? ",\"xAtYmax\":" + num(f.X(phiHi)) : "") +
           ",\"tol\":0.002}";
  };
  const double limit = 8, aMax = D(c.alphaMax), aMin = D(c.alphaMin);
  const Frame fa = frame(115, 95, 15, 12, std::min(aMin, -limit), std::max(aMax, limit));
  // Eccentric: the contour is a circle of 50, the pitch curve one of 60 (as
  // far as the points tell).
  auto range = [&](const std::vector<Real>& v) {
    auto [lo, hi] = std::minmax_element(v.begin() + 1, v.begin() + q.contourCount + 1);
    return std::pair{D(*lo), D(*hi)};
  };
  const auto [rLo, rHi] = range(c.rho);
  const auto [pLo, pHi] = range(c.rhoPitch);
  EXPECT_NEAR(rLo, 50, 0.01);
  EXPECT_NEAR(pHi, 60, 0.01);
  const Frame fr = frame(115, 95, 15, 12, std::min(rLo, pLo), std::max(rHi, pHi));
  const Frame fj = frame(115, 95, 15, 12, D(c.jMin), D(c.jMax));
  const Frame ff = frame(120, 40, 15, 66, std::min(D(c.fMin), 0.0), std::max(D(c.fMax), 0.0));
  const Frame fh = frame(120, 40, 15, 8, 0, D(c.pHMax));
  std::vector<std::string> entries = {
      "{\"file\":\"" + work.file("d6.dxf") + "\",\"texts\":[\"Druckwinkel\"],\"hlines\":[" +
          "{\"layer\":\"1\",\"y\":" + num(fa.Y(limit)) + ",\"x0\":15,\"x1\":130}," +
          "{\"layer\":\"1\",\"y\":" + num(fa.Y(-limit)) + ",\"x0\":15,\"x1\":130}],\"curves\":[" +
          curve(fa, "5", aMin, aMax, D(c.phiAlphaMax)) + "]}",
      "{\"file\":\"" + work.file("d7.dxf") + "\",\"texts\":[\"Kontur\",\"Mittelpunktsbahn\"],\"curves\":[" +
          curve(fr, "5", rLo, rHi, -1) + "," + curve(fr, "2", pLo, pHi, -1) + "]}",
      "{\"file\":\"" + work.file("d8.dxf") + "\",\"texts\":[\"Ruck\"],\"curves\":[" +
          curve(fj, "5", D(c.jMin), D(c.jMax), D(c.phiJMax)) + "]}",
      "{\"file\":\"" + work.file("d9.dxf") + "\",\"texts\":[\"Kontaktkraft\",\"Hertzsche Pressung\"],\"curves\":[" +
          curve(ff, "5", D(c.fMin), D(c.fMax), D(c.phiFMax)) + "," + curve(fh, "5", 0, D(c.pHMax), D(c.phiPHMax)) +
          "]}",
  };
  std::string manifest = "[";
  for (int k = 6; k <= 9; ++k) {
    Outcome r = Wkamo(work.path(), {"ecc.kmo", "--diagram", std::to_string(k), "--format", "dxf", "-o",
                                    "d" + std::to_string(k) + ".dxf"});
    ASSERT_EQ(r.code, 0) << k << ": " << r.err;
    manifest += (k > 6 ? "," : "") + entries[static_cast<size_t>(k - 6)];
  }
  WriteFileBytes(work.file("manifest.json"), manifest + "]");
  std::string cmd = "/usr/bin/python3 " + kSource + "/tests/cad/data/check_dxf.py " +
                    Quote(work.file("manifest.json")) + " > " + Quote(work.file("check.out")) + " 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadFileBytes(work.file("check.out"));
  const std::string out = ReadFileBytes(work.file("check.out"));
  int ok = 0;
  for (size_t at = 0; (at = out.find("OK ", at)) != std::string::npos; at += 3) ++ok;
  EXPECT_EQ(ok, 4) << out;
  EXPECT_EQ(out.find("FAIL"), std::string::npos) << out;
}

}  // namespace
}  // namespace kamo::test
