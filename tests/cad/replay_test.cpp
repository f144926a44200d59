// Block files of the screen output and their replay through the DXF reader.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <vector>

#include "cad/dxffile.h"
#include "cad_fixture.h"

namespace kamo {
namespace {

using test::CadFixture;
using test::CadSurroundings;
using test::ReadFileBytes;
using test::WriteFileBytes;

std::string Groups(std::initializer_list<std::pair<int, std::string>> g) {
  std::string s;
  for (const auto& [code, value] : g) s += std::to_string(code) + "\r\n" + value + "\r\n";
  return s;
}

// Replays block files into the element text and returns its entity lines.
struct ReplayCase {
  const char* what;
  std::string block;  // contents of "$B.dx$"
  Real x, y, angle;
  const char* lines;
};

TEST(Replay, Entities) {
  ReplayCase cases[] = {
      {"only EOF", Groups({{0, "EOF"}}), 0, 0, 0, ""},
      {"insert turned", Groups({{0, "LINE"}, {8, "0"}, {10, "1"}, {20, "0"}, {11, "1"}, {21, "0"}, {0, "EOF"}}), 10, 0, 90,
       "LINE\t10.000000\t1.000000\t10.000000\t1.000000\r\n"},
      {"arc without 230", Groups({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "350"}, {51, "10"}, {0, "EOF"}}), 0, 0, 0,
       "ARC\t0.000000\t0.000000\t1.000000\t350.000000\t10.000000\r\n"},
      {"closed POLYLINE of three", Groups({{0, "POLYLINE"}, {66, "1"}, {70, "1"}, {0, "VERTEX"}, {10, "0"}, {20, "0"},
                                          {0, "VERTEX"}, {10, "2"}, {20, "0"}, {0, "VERTEX"}, {10, "2"}, {20, "2"},
                                          {0, "SEQEND"}, {0, "EOF"}}), 0, 0, 0,
       "LINE\t0.000000\t0.000000\t2.000000\t0.000000\r\nLINE\t2.000000\t0.000000\t2.000000\t2.000000\r\n"
       "LINE\t2.000000\t2.000000\t0.000000\t0.000000\r\n"},
      {"closed LWPOLYLINE", Groups({{0, "LWPOLYLINE"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbPolyline"}, {90, "3"}, {70, "1"},
                                   {10, "0"}, {20, "0"}, {10, "2"}, {20, "0"}, {10, "2"}, {20, "2"}, {0, "EOF"}}), 0, 0, 0,
       "LINE\t0.000000\t0.000000\t2.000000\t0.000000\r\nLINE\t2.000000\t0.000000\t2.000000\t2.000000\r\n"
       "LINE\t2.000000\t2.000000\t0.000000\t0.000000\r\n"},
      {"text without height", Groups({{0, "TEXT"}, {1, "A"}, {10, "0"}, {20, "0"}, {40, "0"}, {0, "EOF"}}), 0, 0, 0, ""},
      {"unknown entity stops", Groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}, {0, "MTEXT"},
                                      {0, "LINE"}, {10, "5"}, {20, "5"}, {11, "6"}, {21, "6"}, {0, "EOF"}}), 0, 0, 0,
       "LINE\t0.000000\t0.000000\t1.000000\t1.000000\r\n"},
  };
  for (const ReplayCase& c : cases) {
    CadFixture f;
    WriteFileBytes(f.temp.file("$B.dx$"), c.block);
    f.begin(kCadText);
    f.cad->DxfReplay("B", c.x, c.y, c.angle, 1, 1);
    EXPECT_EQ(CadFixture::entities(f.end("txt")), c.lines) << c.what;
  }
}

// A block of the screen output replays from the copy its writer keeps of
// what the reader will read back from the file. Every element, odd numbers
// (halfway decimals, beyond the fixed form, not numbers), odd layer names and
// polylines the reader drops or ends early: the copy is the reader's result.
TEST(Replay, BlockCopyIsWhatTheReaderReadsBack) {
  const Real kInf = std::numeric_limits<Real>::infinity();
  const std::vector<std::pair<const char*, std::function<void(BlockFileWriter&)>>> scripts = {
      {"every element", [](BlockFileWriter& w) {
         w.Line(0.0078125L, -0.0078125L, 1.0L / 3, -2e-9L);
         w.Layer(3, 0, " KONTUR\t");
         w.Circle(12.5L, -7.25L, 0.0000005L);
         w.ArcDeg({1, 2, 3, 350, 10, 0});
         w.ArcDeg({1, 2, 3, 10, 350, -340});
         w.ArcDeg({-4, 5, 6, -30, 400, -1e-6L});
         w.ArcDeg({-4, 5, 6, 30, 60, -2e-5L});
         w.Text("Nocke \x81 ", 10, 20, {3.5L, 0.7L, 45.123456L, 1e-6L});
         w.Text("", 1, 1, {2, 1, 0, 0});
         w.Solid(0, 0, 1, 0, 1, 1, 0, 1);
         w.Insert(" cam ", 180, 110, 90, 0.5L, 2);
         w.Layer(19, 2, "19");
         w.BeginPolyline(1);
         w.VertexArc(0, 0, 0);
         w.VertexArc(10, 0, 1.5L);
         w.Layer(4, 0, "");
         w.VertexArc(10, 10, -0.25L);
         w.EndPolyline();
       }},
      {"numbers beyond the fixed form", [kInf](BlockFileWriter& w) {
         w.Line(5e20L, -4.5e12L, 123456789012.3456785L, kInf);
         w.Circle(std::nanl(""), 1e-30L, 9.9999995L);
       }},
      {"polylines the reader drops or takes apart", [](BlockFileWriter& w) {
         w.VertexArc(1, 1, 0);  // outside a polyline
         w.BeginPolyline(0);
         w.EndPolyline();  // without a vertex
         w.BeginPolyline(0);
         w.Line(0, 0, 1, 1);  // ends the polyline before its first vertex
         w.VertexArc(2, 2, 0);
         w.EndPolyline();
         w.BeginPolyline(1);
         w.VertexArc(3, 3, 0);
         w.Circle(0, 0, 1);  // ends it after one vertex
         w.EndPolyline();
         w.BeginPolyline(16);  // a mesh: no curve
         w.VertexArc(4, 4, 0);
         w.EndPolyline();
       }},
      {"too many vertices", [](BlockFileWriter& w) {
         w.BeginPolyline(0);
         for (int i = 0; i <= DxfReadOptions{}.maxVertices; ++i) w.VertexArc(i, 0, 0);
         w.EndPolyline();
         w.Line(0, 0, 1, 1);
       }},
  };
  auto same = [](Real a, Real b) { return a == b ? std::signbit(a) == std::signbit(b) : std::isnan(a) && std::isnan(b); };
  for (int decimals : {6, 2, 0}) {
    for (const auto& [what, script] : scripts) {
      SCOPED_TRACE(std::string(what) + ", decimals " + std::to_string(decimals));
      CadSurroundings s;
      s.settings.cadDecimals = decimals;
      const std::string path = s.temp.file("$B.dx$");
      int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
      ASSERT_GE(fd, 0);
      BlockFileWriter w(s.settings, path, fd, " 0 ");
      script(w);
      ASSERT_TRUE(w.Close(false));
      DxfReadResult copy;
      ASSERT_TRUE(w.readBack(copy));
      DxfReadOptions opt;
      opt.stopAtUnknown = true;
      const DxfReadResult file = ReadDxf(ReadFileBytes(path), opt);
      EXPECT_EQ(copy.polylineWithoutVertex, file.polylineWithoutVertex);
      EXPECT_EQ(copy.tooManyVertices, file.tooManyVertices);
      EXPECT_EQ(copy.unknownEntity, file.unknownEntity);
      EXPECT_EQ(copy.error, file.error);
      ASSERT_EQ(copy.entities.size(), file.entities.size());
      for (size_t i = 0; i < copy.entities.size(); ++i) {
        const DxfEntity &a = copy.entities[i], &b = file.entities[i];
        SCOPED_TRACE("entity " + std::to_string(i) + " (line " + std::to_string(b.line) + ")");
        EXPECT_EQ(a.type, b.type);
        EXPECT_EQ(a.layer, b.layer);
        EXPECT_EQ(a.text, b.text);
        EXPECT_EQ(a.closed, b.closed);
        for (int k = 0; k < 4; ++k) EXPECT_TRUE(same(a.x[k], b.x[k]) && same(a.y[k], b.y[k])) << k;
        const Real av[] = {a.r, a.a1, a.a2, a.sweep, a.height, a.widthFactor, a.angle, a.scaleX, a.scaleY};
        const Real bv[] = {b.r, b.a1, b.a2, b.sweep, b.height, b.widthFactor, b.angle, b.scaleX, b.scaleY};
        for (int k = 0; k < 9; ++k) EXPECT_TRUE(same(av[k], bv[k])) << "field " << k;
        ASSERT_EQ(a.vertices.size(), b.vertices.size());
        for (size_t k = 0; k < a.vertices.size(); ++k) {
          const DxfVertex &u = a.vertices[k], &v = b.vertices[k];
          ASSERT_TRUE(same(u.x, v.x) && same(u.y, v.y) && same(u.bulge, v.bulge) && u.layer == v.layer) << k;
        }
      }
    }
  }
  // A line break in a text would break the file's lines: only the file tells then.
  CadSurroundings s;
  const std::string path = s.temp.file("$T.dx$");
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(fd, 0);
  BlockFileWriter w(s.settings, path, fd, "0");
  w.Text("two\nlines", 0, 0, {2, 1, 0, 0});
  ASSERT_TRUE(w.Close(false));
  DxfReadResult copy;
  EXPECT_FALSE(w.readBack(copy));
}

TEST(Replay, MessagesOfBadBlocks) {
  CadFixture f;
  WriteFileBytes(f.temp.file("$U.dx$"), Groups({{0, "MTEXT"}, {0, "EOF"}}));
  f.begin(kCadScreen);
  f.cad->CadInsert("U", 0, 0, 0, 1, 1);
  EXPECT_TRUE(f.messages.contains("Fehler : DXF: MTEXT"));
  f.cad->CadInsert("MISSING", 0, 0, 0, 1, 1);
  EXPECT_TRUE(f.messages.contains("Invalid temp directory"));
  EXPECT_TRUE(f.flags.abortFlag);
  f.flags.abortFlag = false;
  WriteFileBytes(f.temp.file("$P.dx$"), Groups({{0, "POLYLINE"}, {66, "1"}, {0, "LINE"}, {0, "EOF"}}));
  f.cad->CadInsert("P", 0, 0, 0, 1, 1);
  EXPECT_EQ(f.port.boxTexts().back(), "Error in DXF File");
  f.cad->CadClose();
}

// Blocks defined on the screen live as files until the output ends; nesting
// beyond four levels ends the output with a message, not the program.
TEST(Replay, ScreenBlocksAndNesting) {
  CadFixture f;
  WriteFileBytes(f.temp.file("$LOGO_9.dx$"), Groups({{0, "EOF"}}));  // the user's own block
  f.cad->CadOpen(kCadScreen, "KAMO");
  f.cad->CadWindow(0, 0, 100, 100, 0);
  f.cad->CadTables(0);
  f.cad->CadBeginBlocks();
  const char* names[] = {"L1", "L2", "L3", "L4", "L5"};
  f.cad->CadBeginBlock("L5");
  f.cad->CadLine(0, 0, 1, 0);
  f.cad->CadEndBlock();
  for (int i = 3; i >= 0; --i) {
    f.cad->CadBeginBlock(names[i]);
    f.cad->CadInsert(names[i + 1], 1, 0, 0, 1, 1);
    f.cad->CadEndBlock();
  }
  f.cad->CadEndSection();
  EXPECT_EQ(f.cad->createdBlockFiles().size(), 5u);
  // The block files live in the output's private folder inside the temporary folder.
  std::string own = f.cad->blockFolder();
  ASSERT_FALSE(own.empty());
  EXPECT_EQ(std::filesystem::path(own).parent_path(), std::filesystem::path(f.temp.path()));
  EXPECT_TRUE(std::filesystem::exists(own + "/$L1.dx$"));
  EXPECT_FALSE(std::filesystem::exists(f.temp.file("$L1.dx$")));
  f.cad->CadBeginEntities();
  size_t before = f.display.size();
  f.cad->CadInsert("L2", 0, 0, 0, 1, 1);  // L2 > L3 > L4 > L5: four levels
  EXPECT_FALSE(f.flags.abortFlag);
  ASSERT_GT(f.display.size(), before);
  EXPECT_EQ(f.display.records().back(), "4;3;0;4;0");
  f.cad->CadInsert("L1", 0, 0, 0, 1, 1);  // five levels
  EXPECT_TRUE(f.flags.abortFlag);
  EXPECT_EQ(f.port.boxTexts().back(), "error blockno.5");
  f.cad->CadEndSection();
  f.cad->CadClose();
  EXPECT_FALSE(std::filesystem::exists(own + "/$L1.dx$"));
  EXPECT_FALSE(std::filesystem::exists(own));
  EXPECT_TRUE(std::filesystem::exists(f.temp.file("$LOGO_9.dx$")));
}

// A shared temporary folder where someone planted the names of our blocks:
// links to other files, a FIFO, a file of their own. The output writes its
// blocks in a private folder of its own, reads back only what it wrote, and
// leaves every planted name as it was.
TEST(Replay, PlantedNamesInASharedTemporaryFolder) {
  namespace fs = std::filesystem;
  CadFixture f;
  WriteFileBytes(f.temp.file("victim"), "victim");
  fs::create_symlink(f.temp.file("victim"), f.temp.file("$FRAME_1.dx$"));
  fs::create_symlink(f.temp.file("nowhere"), f.temp.file("$cam.dx$"));  // dangling
  ASSERT_EQ(::mkfifo(f.temp.file("$PIPE.dx$").c_str(), 0600), 0);
  const std::string planted = Groups({{0, "LINE"}, {8, "0"}, {10, "7"}, {20, "7"}, {11, "8"}, {21, "8"}, {0, "EOF"}});
  WriteFileBytes(f.temp.file("$MINE.dx$"), planted);
  // The folder's contents, links by their target.
  auto listing = [&f] {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(f.temp.path())) {
      std::string name = e.path().filename().string();
      if (name == "out.dxf" || name.rfind("out.", 0) == 0) continue;
      if (fs::is_symlink(e.symlink_status())) m[name] = "-> " + fs::read_symlink(e.path()).string();
      else if (fs::is_regular_file(e.symlink_status())) m[name] = test::ReadFileBytes(e.path().string());
      else m[name] = "(other)";
    }
    return m;
  };
  auto before = listing();
  f.cad->CadOpen(kCadScreen, "KAMO");
  f.cad->CadWindow(0, 0, 100, 100, 0);
  f.cad->CadTables(0);
  f.cad->CadBeginBlocks();
  for (const char* name : {"FRAME_1", "cam", "PIPE", "MINE"}) {
    f.cad->CadBeginBlock(name);
    f.cad->CadLine(0, 0, 1, 0);
    f.cad->CadEndBlock();
  }
  f.cad->CadEndSection();
  EXPECT_FALSE(f.flags.abortFlag);
  f.cad->CadBeginEntities();
  for (const char* name : {"FRAME_1", "cam", "PIPE", "MINE"}) {
    SCOPED_TRACE(name);
    size_t n = f.display.size();
    f.cad->CadInsert(name, 10, 0, 0, 1, 1);
    EXPECT_FALSE(f.flags.abortFlag);
    ASSERT_EQ(f.display.size(), n + 1);
    EXPECT_EQ(f.display.records().back(), "4;10;0;11;0");  // our line, not the planted one
  }
  f.cad->CadEndSection();
  f.cad->CadClose();
  EXPECT_EQ(listing(), before);
  f.reset();  // the private folder goes with its output
  EXPECT_EQ(listing(), before);
}

// Blocks the user placed in the temporary folder (logos, heads, inserts) are
// read only when they are regular files of the user's own, and one insert
// replays a bounded number of elements however deep the nesting.
TEST(Replay, UserBlocksThatAreRefused) {
  namespace fs = std::filesystem;
  struct Case {
    const char* what;
    std::function<bool(CadFixture&)> plant;  // false: the case cannot be set up here
    const char* message;                     // in the message list, else in a box
  } cases[] = {
      {"a FIFO",
       [](CadFixture& f) { return ::mkfifo(f.temp.file("$U.dx$").c_str(), 0600) == 0; },
       "Fehler : Blockdatei $U.dx$: is not a regular file (a device, FIFO or socket)"},
      {"a folder",
       [](CadFixture& f) { return fs::create_directory(f.temp.file("$U.dx$")); },
       "Fehler : Blockdatei $U.dx$: is a folder"},
      {"another user's file",
       [](CadFixture& f) {
         WriteFileBytes(f.temp.file("$U.dx$"), Groups({{0, "EOF"}}));
         return ::geteuid() == 0 && ::chown(f.temp.file("$U.dx$").c_str(), 4242, 4242) == 0;
       },
       "Fehler : Blockdatei $U.dx$: belongs to another user"},
      {"a thousand inserts of a thousand lines",
       [](CadFixture& f) {
         std::string lines, inserts;
         for (int i = 0; i < 1000; ++i)
           lines += Groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}});
         for (int i = 0; i < 1001; ++i) inserts += Groups({{0, "INSERT"}, {2, "V"}, {10, "0"}, {20, "0"}});
         WriteFileBytes(f.temp.file("$V.dx$"), lines + Groups({{0, "EOF"}}));
         WriteFileBytes(f.temp.file("$U.dx$"), inserts + Groups({{0, "EOF"}}));
         return true;
       },
       "Elements > 1000000 !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CadFixture f;
    if (!c.plant(f)) continue;  // chown needs root
    f.begin(kCadScreen);
    f.cad->CadInsert("U", 0, 0, 0, 1, 1);
    EXPECT_TRUE(f.flags.abortFlag);
    auto boxes = f.port.boxTexts();
    EXPECT_TRUE(f.messages.contains(c.message) ||
                std::find(boxes.begin(), boxes.end(), c.message) != boxes.end())
        << c.message;
    f.cad->CadClose();
  }
}

// A user block inserted with the drawing offset in force lands offset once,
// whether it is replayed (screen, DXF without the block) or written as INSERT.
TEST(Replay, OffsetAddedOnce) {
  struct Case {
    int kind;
    bool at;           // CadInsertAt (adds the offset) or CadInsert (takes the point as given)
    const char* want;  // the line from (0, 0) to (1, 0) of the block, inserted at (10, 20)
  } cases[] = {
      {kCadScreen, true, "4;110;220;111;220"},
      {kCadScreen, false, "4;10;20;11;20"},
      {kCadDxf, true, " 10\r\n110.000000\r\n 20\r\n220.000000\r\n 11\r\n111.000000\r\n"},
      {kCadDxf, false, " 10\r\n10.000000\r\n 20\r\n20.000000\r\n 11\r\n11.000000\r\n"},
      {kCadText, true, "INSERT\tU\t110.000000\t220.000000\t0.000000\t1.000000\t1.000000\r\n"},
      {kCadText, false, "INSERT\tU\t10.000000\t20.000000\t0.000000\t1.000000\t1.000000\r\n"},
  };
  for (const Case& c : cases) {
    CadFixture f;
    WriteFileBytes(f.temp.file("$U.dx$"),
                   Groups({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}, {0, "EOF"}}));
    f.begin(c.kind);
    f.cad->CadOffset(100, 200);
    if (c.at) f.cad->CadInsertAt("U", 10, 20, 0, 1, 1);
    else f.cad->CadInsert("U", 10, 20, 0, 1, 1);
    f.cad->CadLine(0, 0, 1, 0);  // the offset holds again after the insert
    std::string what = std::to_string(c.kind) + (c.at ? " at" : "");
    if (c.kind == kCadScreen) {
      const auto& r = f.display.records();
      ASSERT_GE(r.size(), 2u) << what;
      EXPECT_EQ(r[r.size() - 2], c.want) << what;
      EXPECT_EQ(r.back(), "4;100;200;101;200") << what;
      f.cad->CadClose();
      continue;
    }
    std::string t = f.end(c.kind == kCadDxf ? "dxf" : "txt");
    EXPECT_NE(t.find(c.want), std::string::npos) << what << "\n" << t;
    if (c.kind == kCadText) {
      EXPECT_NE(t.find("LINE\t100.000000\t200.000000\t101.000000"), std::string::npos) << what;
    }
  }
}

// A text in a nested block turns with every insert around it.
TEST(Replay, NestedTextTurnsWithTheOuterInsert) {
  CadFixture f;
  WriteFileBytes(f.temp.file("$IN.dx$"),
                 Groups({{0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "2"}, {1, "A"}, {50, "10"}, {0, "EOF"}}));
  WriteFileBytes(f.temp.file("$OUT.dx$"),
                 Groups({{0, "INSERT"}, {2, "IN"}, {10, "5"}, {20, "0"}, {50, "0"}, {0, "EOF"}}));
  f.begin(kCadScreen);
  f.cad->CadInsert("OUT", 0, 0, 90, 1, 1);
  EXPECT_EQ(f.cad->textAngle(), 100);
  // The inner insert point (5, 0) turned by 90 degrees.
  bool found = false;
  for (const std::string& rec : f.display.records()) {
    DisplayRecord d = ParseDisplayRecord(rec);
    if (d.code != 6 || d.fields.size() < 3 || d.fields[2] != "A") continue;
    found = true;
    EXPECT_NEAR(std::stod(d.fields[0]), 0, 1e-9) << rec;
    EXPECT_NEAR(std::stod(d.fields[1]), 5, 1e-9) << rec;
  }
  EXPECT_TRUE(found);
  f.cad->CadClose();
}

// The user's logo is replayed into a DXF file that does not define it.
TEST(Replay, LogoIntoPlotFile) {
  CadFixture f;
  WriteFileBytes(f.temp.file("$LOGO_2.dx$"),
                 Groups({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "480"}, {21, "0"}, {0, "EOF"}}));
  f.begin(kCadPlot);
  f.cad->CadEndSection();
  EXPECT_TRUE(f.cad->CadClose());
  std::string t = test::ReadFileBytes(f.temp.file("drawout.dxf"));
  EXPECT_NE(t.find("  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n91.000000\r\n 20\r\n1.000000\r\n 11\r\n191.000000\r\n"),
            std::string::npos);
  EXPECT_EQ(t.find("INSERT"), std::string::npos);
}

}  // namespace
}  // namespace kamo
