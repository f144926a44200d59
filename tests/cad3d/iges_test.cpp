// IGES output: records and sections, entities, subfigures, and what
// OpenCASCADE reads from the files.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include "cad/iges.h"
#include "fixture.h"
#include "graphics/sheets.h"

namespace kamo {
namespace {

using test::Cad3dFixture;

std::vector<std::string> Records(const std::string& file) {
  std::vector<std::string> r;
  std::istringstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    r.push_back(line);
  }
  return r;
}
std::vector<std::string> Section(const std::string& file, char letter) {
  std::vector<std::string> out;
  for (const auto& r : Records(file))
    if (r.size() == 80 && r[72] == letter) out.push_back(r);
  return out;
}

std::string Draw(Cad3dFixture& f, const std::function<void(CadOutput&)>& blocks,
                 const std::function<void(CadOutput&)>& entities) {
  f.cad->CadOpen(kCadIges, "KAMO");
  f.cad->CadWindow(0, 0, 120, 80, 0);
  f.cad->CadTables(0);
  f.cad->CadBeginBlocks();
  blocks(*f.cad);
  f.cad->CadEndSection();
  f.cad->CadBeginEntities();
  entities(*f.cad);
  f.cad->CadEndSection();
  EXPECT_TRUE(f.cad->CadClose());
  return test::ReadFileBytes(f.temp.file("out.igs"));
}
void NoBlocks(CadOutput&) {}

// Entities per "type form" as our directory section holds them, and as
// OpenCASCADE's "listtypes" reports them ("  202\t110 0   Line").
std::map<std::string, int> OurTypes(const std::string& file) {
  std::map<std::string, int> n;
  auto d = Section(file, 'D');
  for (size_t i = 0; i + 1 < d.size(); i += 2)
    ++n[std::to_string(std::atoi(d[i].substr(0, 8).c_str())) + " " + std::to_string(std::atoi(d[i + 1].substr(32, 8).c_str()))];
  return n;
}
std::map<std::string, int> ReadTypes(const std::string& part) {
  std::map<std::string, int> n;
  std::istringstream in(part);
  for (std::string line; std::getline(in, line);) {
    std::istringstream l(line);
    int count = 0, type = 0, form = 0;
    if (l >> count >> type >> form) n[std::to_string(type) + " " + std::to_string(form)] += count;
  }
  return n;
}

TEST(Iges, Helpers) {
  EXPECT_EQ(Hollerith("MM"), "2HMM");
  EXPECT_EQ(Hollerith(""), "0H");
  struct C {
    int dxf, iges;
  } colours[] = {{0, 0}, {1, 2}, {2, 5}, {7, 0}, {15, 1}, {16, 0}, {18, 5}};
  for (const C& c : colours) EXPECT_EQ(IgesColour(c.dxf), c.iges) << c.dxf;
  EXPECT_EQ(IgesFileName("/a/b/nocken.igs"), "nocken");
  EXPECT_EQ(IgesFileName("/a/abcdefghijklmnopqrstuvwxyz0123456789.igs"), "abcdefghijklm__xyz0123456789");
  std::string p70 = std::string(59, 'a') + "," + std::string(10, 'b');
  auto cut = IgesCut(p70);
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0].size(), 60u);
  EXPECT_EQ(IgesCut(std::string(70, 'x'))[0].size(), 64u);
}

TEST(Iges, SectionsAndFirstEntities) {
  Cad3dFixture f;
  f.settings.layers[4].colour = 2;  // layer 5: DXF 2 is IGES 5
  std::string file = Draw(f, NoBlocks, [](CadOutput& c) {
    c.CadLine(0, 0, 10, 5);
    c.CadLayer(1);
    c.CadCircle(1, 1, 2);
    c.CadLayer(5);
    c.CadArcSweep(0, 0, 0, 90, 10, -90);
    c.CadLayer(2);
    c.CadTextStyle(2, 0, 5, 5);
    c.CadText("Hallo, Welt", 20, 20);
    c.CadSolid(0, 0, 1, 0, 1, 1, 0, 1);
  });
  for (const auto& r : Records(file)) ASSERT_EQ(r.size(), 80u) << r;
  auto S = Section(file, 'S'), G = Section(file, 'G'), D = Section(file, 'D'), P = Section(file, 'P');
  ASSERT_EQ(S.size(), 3u);
  EXPECT_EQ(S[0].substr(0, 29), "IGES-Datei generiert von KAMO");
  EXPECT_EQ(S[1].substr(0, 53), "Uebersetzer von QUORTEX GMBH, Uebersetzerversion 3.1 ");
  ASSERT_EQ(G.size(), 5u);
  EXPECT_EQ(G[0].substr(0, 20), ",,4HFILE,3Hout,9HKAM");
  EXPECT_EQ(G[1].substr(0, 14), "16,38,6,99,15,");
  EXPECT_EQ(G[2].substr(0, 32), "3Hout,1.0,2,2HMM,32767,3.2767D1,");
  EXPECT_EQ(G[3].substr(0, 34), "13H261209.140920,1.0D-8,120.0000, ");
  EXPECT_EQ(G[4].substr(72), "G0000005");
  // The line: D 1/2, P pointer 1, back pointer 1 ending in column 72.
  EXPECT_EQ(P[0], std::string("110,0.0000,0.0000,0.0,10.0000,5.0000,0.0;") + std::string(23, ' ') +
                      "       1P0000001");
  EXPECT_EQ(D[0], "     110       1       0       1       0                        00000000D0000001");
  // The structure field of every entity is 0 (readers take a positive one as an error).
  for (size_t i = 0; i < D.size(); i += 2) EXPECT_EQ(D[i].substr(16, 8), "       0") << D[i];
  EXPECT_EQ(D[1].substr(0, 32), "     110               0       1");
  // The circle on the centre-line layer: line font 4, colour of DXF 2.
  EXPECT_EQ(P[1].substr(0, 50), "100,0.0,1.0000,1.0000,3.0000,1.0000,3.0000,1.0000;");
  EXPECT_EQ(D[2].substr(24, 16), "       4       5");
  // A clockwise arc has its ends swapped, so that it runs counter-clockwise.
  EXPECT_EQ(P[2].substr(0, 53), "100,0.0,0.0000,0.0000,0.0000,10.0000,10.0000,0.0000; ");
  EXPECT_EQ(D[4].substr(24, 16), "       1       5");
  // The note: two pieces, its text as Hollerith; dashed layer 2.
  EXPECT_EQ(P[3].substr(0, 62), "212,1,11,55.0000,5.0000,1,,0.000000,0,0,20.0000,20.0000,0.0,  ");
  EXPECT_EQ(P[4].substr(0, 15), "11HHallo, Welt;");
  EXPECT_EQ(D[6].substr(24, 8), "       2");
  // The quadrangle: five pieces, form 11.
  EXPECT_EQ(P[5].substr(0, 26), "106,1,5,0.0,0.0000,0.0000,");
  EXPECT_EQ(P[6].substr(0, 14), "0.0000,1.0000,");
  EXPECT_EQ(D[9].substr(32, 8), "      11");
  EXPECT_EQ(D[9].substr(24, 8), "       5");  // 5 P records
  auto T = Section(file, 'T');
  ASSERT_EQ(T.size(), 1u);
  EXPECT_EQ(T[0].substr(0, 32), "S0000003G0000005D0000010P0000010");
}

TEST(Iges, SubfiguresAndInstances) {
  Cad3dFixture f;
  const int members = 5000;  // more than a fixed table of 3000 held
  std::string file = Draw(f,
                          [](CadOutput& c) {
                            c.CadBeginBlock("CAM");
                            for (int i = 0; i < members; ++i) c.CadLine(i * 0.01L, 0, i * 0.01L, 1);
                            c.CadEndBlock();
                          },
                          [](CadOutput& c) {
                            c.CadInsert("CAM", 50, 50, 90, 1, 1);
                            c.CadInsert("CAM", 10, 20, 0, 2, 2);
                          });
  auto D = Section(file, 'D');
  auto P = Section(file, 'P');
  ASSERT_EQ(D.size(), 2u * (members + 4));
  std::string def = D[2 * members];
  EXPECT_EQ(def.substr(0, 8), "     308");
  EXPECT_EQ(D[2 * members + 1].substr(56, 8), "     CAM");
  EXPECT_EQ(D[0].substr(64, 8), "00010000");  // members are dependent
  // The member list: every member's D number, twelve to a piece.
  std::string params;
  for (const auto& p : P)
    if (p.substr(64, 8) == "   10001") params += p.substr(0, p.find_last_not_of(' ', 63) + 1);
  EXPECT_EQ(params.substr(0, 19), "308,0,3HCAM,5000,1,");
  EXPECT_NE(params.find(",9999;"), std::string::npos);
  // Rotated: a 124 matrix first; scaled: the 408 carries the scale.
  bool matrix = false, scaled = false;
  for (const auto& p : P) {
    if (p.rfind("124,0.000000,-1.000000,0.0,50.0000,", 0) == 0) matrix = true;
    if (p.rfind("408,10001,10.0000,20.0000,0.0,2.000000;", 0) == 0) scaled = true;
  }
  EXPECT_TRUE(matrix);
  EXPECT_TRUE(scaled);
  EXPECT_EQ(D[2 * members + 4].substr(48, 8), "   10003");  // the 408 points to its matrix
}

TEST(Iges, OpenCascadeReadsTheDrawing) {
  Cad3dFixture f;
  struct Job {
    const char* name;
    std::function<void(CadOutput&)> blocks, entities;
    int edges;
    double box[4];
  } jobs[] = {
      {"elements", NoBlocks,
       [](CadOutput& c) {
         c.CadLine(0, 0, 10, 5);
         c.CadLine(3, 3, 3, 3.00001L);  // no length in the file: left out
         c.CadCircle(50, 40, 10);
         c.CadArc(0, 0, 0, 90, 20);
         c.CadArcSweep(0, 0, 180, 90, 30, -90);
         c.CadSolid(100, 0, 110, 0, 110, 10, 100, 10);
         c.CadText("Text", 5, 5);
         c.CadLayer(1);
         c.CadRect(-5, -5, 5, 5);
       },
       1 + 1 + 1 + 1 + 4 + 4, {-30, -5, 110, 50}},
      {"blocks",
       [](CadOutput& c) {
         c.CadBeginBlock("B");
         c.CadLine(0, 0, 5, 0);
         c.CadCircle(0, 0, 2);
         c.CadEndBlock();
       },
       [](CadOutput& c) {
         c.CadInsert("B", 50, 50, 90, 1, 1);
         c.CadInsert("B", 70, 10, 0, 1, 1);
         c.CadLine(0, 0, 1, 1);
       },
       3, {0, 0, 75, 55}},  // the instances share their edges
  };
  std::string script;
  std::map<std::string, std::map<std::string, int>> written;
  auto read = [&](const std::string& n, const std::string& file) {
    std::string path = f.temp.file(n + ".igs");
    test::WriteFileBytes(path, file);
    written[n] = OurTypes(file);
    script += "puts \"<<" + n + ">>\"\nif {[catch {igesread " + path + " i_" + n +
              " *} msg]} {puts \"READFAIL $msg\"}\nputs [nbshapes i_" + n + "]\nputs \"BOX [bounding i_" +
              n + "]\"\nputs \"TYPES\"\nputs [listtypes]\nputs \"<<end " + n + ">>\"\n";
  };
  for (const Job& j : jobs) {
    Cad3dFixture g;
    read(j.name, Draw(g, j.blocks, j.entities));
  }
  // The A3 drawing: title block, frame and the cam as subfigures.
  for (int sheet : {1, 10}) {
    Cad3dFixture g;
    auto cam = test::ExampleCam("eccentric.kmo", g.settings);
    ASSERT_TRUE(cam);
    SheetOutput out{*g.cad, *cam, g.settings, g.messages, g.flags, g.ui, ErrorListContext{}};
    ASSERT_TRUE(OutputSheet(out, kCadIges, sheet));
    read("sheet" + std::to_string(sheet), test::ReadFileBytes(g.temp.file("out.igs")));
  }
  auto out = test::RunDraw(script, f.temp.path());
  ASSERT_TRUE(out) << "occt-draw is not installed (scripts/install-deps.sh)";
  for (const auto& [n, types] : written) {
    size_t a = out->find("<<" + n + ">>"), b = out->find("<<end " + n + ">>");
    ASSERT_NE(b, std::string::npos) << *out;
    std::string part = out->substr(a, b - a);
    EXPECT_EQ(part.find("READFAIL"), std::string::npos) << part;
    EXPECT_EQ(ReadTypes(part.substr(part.find("TYPES"))), types) << part;
    if (n == "sheet10") {  // the A3 sheet inserts its blocks as subfigures
      EXPECT_TRUE(types.count("308 0") && types.count("408 0")) << part;
    }
  }
  for (const Job& j : jobs) {
    std::string n = j.name;
    size_t a = out->find("<<" + n + ">>"), b = out->find("<<end " + n + ">>");
    ASSERT_NE(b, std::string::npos) << *out;
    std::string part = out->substr(a, b - a);
    size_t e = part.find("EDGE");
    ASSERT_NE(e, std::string::npos) << part;
    EXPECT_EQ(std::atoi(part.c_str() + part.find(':', e) + 1), j.edges) << part;
    std::istringstream in(part.substr(part.find("BOX ") + 4));
    double v[6];
    for (double& x : v) in >> x;
    EXPECT_NEAR(v[0], j.box[0], 1e-3) << part;
    EXPECT_NEAR(v[1], j.box[1], 1e-3) << part;
    EXPECT_NEAR(v[3], j.box[2], 1e-3) << part;
    EXPECT_NEAR(v[4], j.box[3], 1e-3) << part;
  }
}

}  // namespace
}  // namespace kamo
