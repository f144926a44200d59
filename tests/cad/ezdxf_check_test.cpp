// Every kind of DXF the program writes, read back by ezdxf: no audit error,
// and the contour, arcs, texts and blocks where we put them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

#include "cad_fixture.h"
#include "cam/kamorech.h"
#include "graphics/hatch.h"
#include "graphics/sheets.h"
#include "io/kamoio.h"

namespace kamo {
namespace {

using test::CadFixture;

std::string JsonString(const std::string& utf8) {
  std::string s = "\"";
  for (char c : utf8) {
    if (c == '"' || c == '\\') s += '\\';
    s += c;
  }
  return s + "\"";
}

std::string Num(Real x) {
  std::ostringstream o;
  o.precision(17);
  o << static_cast<double>(x);
  return o.str();
}

struct Expect {
  std::string file;
  std::string polyline;  // JSON array or empty
  std::vector<std::string> texts, oemTexts, inserts, arcs;
  bool noPolyline = false;
  int minLines = 0, minCircles = 0;
};

std::string Manifest(const std::vector<Expect>& list) {
  std::string m = "[";
  for (size_t i = 0; i < list.size(); ++i) {
    const Expect& e = list[i];
    if (i) m += ",\n";
    m += "{\"file\": " + JsonString(e.file);
    if (!e.polyline.empty()) m += ", \"polyline\": " + e.polyline;
    if (e.noPolyline) m += ", \"nopolyline\": true";
    m += ", \"minLines\": " + std::to_string(e.minLines) + ", \"minCircles\": " + std::to_string(e.minCircles);
    auto list2 = [&](const char* key, const std::vector<std::string>& v, bool raw) {
      m += std::string(", \"") + key + "\": [";
      for (size_t k = 0; k < v.size(); ++k) m += (k ? ", " : "") + (raw ? v[k] : JsonString(v[k]));
      m += "]";
    };
    list2("texts", e.texts, false);
    list2("oemtexts", e.oemTexts, false);
    list2("inserts", e.inserts, false);
    list2("arcs", e.arcs, true);
    m += "}";
  }
  return m + "]\n";
}

std::string PolylineOf(const CamProject& p) {
  std::string s = "[";
  // Closed by the flag: a last point on the first is left out (the checker
  // refuses a closing vertex that repeats the first).
  int n = ClosedContourCount(p);
  for (int i = 1; i <= n; ++i) {
    const ContourPoint& q = p.basePoints[static_cast<size_t>(i)];
    s += std::string(i > 1 ? ", " : "") + "[" + Num(q.x) + ", " + Num(q.y) + ", " + Num(std::tan(q.phi / 4)) + "]";
  }
  return s + "]";
}

bool LoadExample(CadFixture& f, const std::string& name, CamProject& p) {
  std::string path = std::string(KAMO_SOURCE_DIR) + "/examples/" + name + ".kmo";
  if (!ReadProject(f.ui, f.settings, path, p)) return false;
  Calculate(p, f.messages, f.flags, f.settings);
  return !f.flags.calcError;
}

// Runs the checker once over all files; returns its lines.
std::vector<std::string> RunChecker(const test::TempFolder& dir, const std::vector<Expect>& list) {
  std::string manifest = dir.file("manifest.json");
  test::WriteFileBytes(manifest, Manifest(list));
  std::string out = dir.file("check.out");
  std::string cmd = "/usr/bin/python3 " + std::string(KAMO_SOURCE_DIR) + "/tests/cad/data/check_dxf.py " + manifest +
                    " > " + out + " 2>&1";
  int rc = std::system(cmd.c_str());
  std::vector<std::string> lines;
  std::istringstream in(test::ReadFileBytes(out));
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  if (rc != 0) lines.push_back("FAIL checker exit code " + std::to_string(rc));
  return lines;
}

// The groups of the HEADER section, code and value, in file order.
std::vector<std::pair<std::string, std::string>> HeaderGroups(const std::string& dxf) {
  std::vector<std::pair<std::string, std::string>> g;
  std::istringstream in(dxf.substr(0, dxf.find("ENDSEC")));
  std::string code, value;
  while (std::getline(in, code) && std::getline(in, value)) {
    if (!code.empty() && code.back() == '\r') code.pop_back();
    if (!value.empty() && value.back() == '\r') value.pop_back();
    g.emplace_back(code, value);
  }
  return g;
}

// What readers need from the header and tables: the release and the texts'
// code page first, the paper of a form sheet, and a handle on every table
// record below the next free handle.
void CheckHeaderAndHandles(const std::string& name, const std::string& dxf, const char* codePage, Real paperW,
                           Real paperH) {
  auto g = HeaderGroups(dxf);
  ASSERT_GE(g.size(), 6u) << name;
  EXPECT_EQ(g[2], std::make_pair(std::string("  9"), std::string("$ACADVER"))) << name;
  EXPECT_EQ(g[3], std::make_pair(std::string("  1"), std::string("AC1009"))) << name;
  EXPECT_EQ(g[4].second, "$DWGCODEPAGE") << name;
  EXPECT_EQ(g[5], std::make_pair(std::string("  3"), std::string(codePage))) << name;
  std::string plim = "  9\r\n$PLIMMIN\r\n 10\r\n0.000000\r\n 20\r\n0.000000\r\n  9\r\n$PLIMMAX\r\n 10\r\n" +
                     DxfFixed(paperW, 6) + "\r\n 20\r\n" + DxfFixed(paperH, 6) + "\r\n";
  if (paperW > 0) EXPECT_NE(dxf.find(plim), std::string::npos) << name;
  else EXPECT_EQ(dxf.find("$PLIMMAX"), std::string::npos) << name;
  size_t seedAt = dxf.find("$HANDSEED\r\n  5\r\n");
  ASSERT_NE(seedAt, std::string::npos) << name;
  long seed = std::strtol(dxf.c_str() + seedAt + 16, nullptr, 16);
  size_t tables = dxf.find("TABLES"), end = dxf.find("ENDSEC", tables);
  std::set<long> handles;
  int records = 0;
  for (const char* type : {"LTYPE", "LAYER", "STYLE"}) {
    std::string key = "  0\r\n" + std::string(type) + "\r\n";
    for (size_t at = dxf.find(key, tables); at < end; at = dxf.find(key, at + 1)) {
      ++records;
      size_t h = at + key.size();
      ASSERT_EQ(dxf.compare(h, 5, "  5\r\n"), 0) << name << " " << type << " record without handle";
      long v = std::strtol(dxf.c_str() + h + 5, nullptr, 16);
      EXPECT_GT(v, 0) << name;
      EXPECT_LT(v, seed) << name;
      handles.insert(v);
    }
  }
  EXPECT_GE(records, 10) << name;
  EXPECT_EQ(handles.size(), static_cast<size_t>(records)) << name << ": handles repeat";
}

TEST(EzdxfCheck, EverythingWeWrite) {
  CadFixture f;
  std::vector<Expect> expect;
  // The sheets of several curve types.
  for (const char* example : {"points", "eccentric", "sine", "polar_points", "ellipse"}) {
    CamProject project;
    ASSERT_TRUE(LoadExample(f, example, project)) << example;
    for (int kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}) {
      std::string file = f.temp.file(std::string(example) + "_" + std::to_string(kind));
      f.cad->environment().batchFile = file;
      SheetOutput out{*f.cad, project, f.settings, f.messages, f.flags, f.ui, ErrorListContext{}};
      ASSERT_TRUE(OutputSheet(out, kCadDxf, kind)) << example << " " << kind;
      CheckHeaderAndHandles(file, test::ReadFileBytes(file + ".dxf"), "ANSI_1252", kind == 5 ? 210 : kind == 10 ? 420 : 0,
                            kind == 5 || kind == 10 ? 297 : 0);
      Expect e;
      e.file = file + ".dxf";
      if (kind == 5 || kind >= 7) {
        e.minLines = 10;  // sheets with frames, tables and the hatched contour plot
      } else if (kind == 3) {
        e.noPolyline = true;
        e.texts = {" Kurvenradius", " St\xC3\xB6\xC3\x9F" "elhub", " phi min"};
        e.minLines = 10;
      } else {
        e.polyline = PolylineOf(project);
        e.minCircles = kind == 6 ? 0 : 1;
        e.minLines = kind == 1 || kind == 4 ? 2 : 0;
      }
      expect.push_back(e);
    }
  }
  // Blocks, arcs in both senses, texts in the three CAD text types, hatching.
  for (int type : {1, 2, 3}) {
    f.settings.numbers.cadTextType = type;
    std::string file = f.temp.file("blocks_" + std::to_string(type));
    f.cad->environment().batchFile = file;
    CadOutput& c = *f.cad;
    c.CadOpen(kCadDxf, "KAMO");
    c.CadWindow(-50, -50, 50, 50, 0);
    c.CadTables(2);
    c.CadBeginBlocks();
    c.CadBeginBlock("MARK");
    c.CadLayer(3);
    c.CadLine(0, 0, 5, 0);
    c.CadArcSweep(0, 0, 90, 0, 2, -90);
    c.CadTextStyle(2, 0, 2.5L, 2);
    c.CadText("Gr\x94\xE1" "e \x84\x81", 0, 3);
    c.CadEndBlock();
    c.CadEndSection();
    c.CadBeginEntities();
    c.CadInsert("MARK", 10, 10, 30, 1, 1);
    c.CadLayer(5);
    c.CadArcSweep(1, 2, 90, 0, 3, -90);     // clockwise from 90 to 0 degrees
    c.CadArcSweep(1, 2, 350, 10, 3, 20);    // counter-clockwise over 0
    c.CadArc(-5, -5, 0, 180, 1);
    c.CadTextStyle(2, 0, 3.5L, 2.5L);
    c.CadText("St\x94\xE1" "el \x8E\x99\x9A \xF8", -40, -40);
    Hatch h(c, f.messages, f.flags);
    h.HatchBegin();
    h.HatchPoint(0, 0, 0);
    h.HatchPoint(20, 0, kPi / 2);
    h.HatchPoint(20, 20, 0);
    h.HatchPoint(0, 20, 0);
    h.HatchFill(0, 2, 45);
    c.CadArrow("7", 0, 0, 10, 10);
    c.CadEndSection();
    ASSERT_TRUE(c.CadClose());
    CheckHeaderAndHandles(file, test::ReadFileBytes(file + ".dxf"), type == 1 ? "DOS850" : "ANSI_1252", 0, 0);
    Expect e;
    e.file = file + ".dxf";
    e.inserts = {"MARK"};
    auto arc = [](Real cx, Real cy, Real r, Real a1, Real a2) {
      return "[" + Num(cx) + ", " + Num(cy) + ", " + Num(r) + ", " + Num(cx + r * std::cos(a1 * kPi / 180)) + ", " +
             Num(cy + r * std::sin(a1 * kPi / 180)) + ", " + Num(cx + r * std::cos(a2 * kPi / 180)) + ", " +
             Num(cy + r * std::sin(a2 * kPi / 180)) + "]";
    };
    e.arcs = {arc(1, 2, 3, 90, 0), arc(1, 2, 3, 350, 10), arc(-5, -5, 1, 0, 180)};
    // The text of the drawing and the one in the block, as each type writes them.
    if (type == 1) e.oemTexts = {"St\xC3\xB6\xC3\x9F" "el \xC3\x84\xC3\x96\xC3\x9C \xC2\xB0", "Gr\xC3\xB6\xC3\x9F" "e \xC3\xA4\xC3\xBC"};
    if (type == 2) e.texts = {"St\xC3\xB6\xC3\x9F" "el \xC3\x84\xC3\x96\xC3\x9C \xC2\xB0", "Gr\xC3\xB6\xC3\x9F" "e \xC3\xA4\xC3\xBC"};
    if (type == 3) e.texts = {"Stoessel AeOeUe deg", "Groesse aeue"};
    e.minLines = 10;
    expect.push_back(e);
  }
  std::vector<std::string> lines = RunChecker(f.temp, expect);
  ASSERT_EQ(lines.size(), expect.size()) << (lines.empty() ? "" : lines.back());
  for (const std::string& l : lines) EXPECT_EQ(l.rfind("OK ", 0), 0u) << l;
}

}  // namespace
}  // namespace kamo
