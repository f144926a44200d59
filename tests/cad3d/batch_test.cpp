// The command line reaches every 3D format: "/CAD2:j", "/CAD6:2", "/CAD7:j",
// --sheet K --format igs|stp|stl and --solid --format stl.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "fixture.h"
#include "io/kamoio.h"
#include "shell/cmdline.h"
#include "shell/session.h"

namespace kamo {
namespace {

struct BatchRun {
  test::ScriptedPort port;
  Session session{port};
  std::ostringstream out, err;
  int run(const std::vector<std::string>& args, const std::string& dir) {
    return RunBatchIn(session, args, dir, out, err);
  }
};

std::string WriteCam(const test::TempFolder& temp, const std::string& name, Real width, Real bore) {
  Settings s;
  auto cam = test::ExampleCam("sine.kmo", s);
  cam->body.width = width;
  cam->body.bore = bore;
  std::string path = temp.file(name);
  test::WriteFileBytes(path, ProjectToBytes(s, *cam));
  return path;
}

TEST(Cad3dBatch, EveryFormatFromTheCommandLine) {
  test::TempFolder temp;
  std::string cam = WriteCam(temp, "cam.kmo", 10, 20);
  std::string d = temp.path();
  struct Case {
    std::vector<std::string> args;
    int rc;
    const char* file;
  } cases[] = {
      {{cam, "/CAD6:2"}, 0, "cam.stl"},
      {{cam, "/CAD2:1"}, 0, "cam.igs"},
      {{cam, "/CAD7:2"}, 0, "cam.stp"},
      {{cam, "--sheet", "2", "--format", "stl", "-o", d + "/walls.stl"}, 0, "walls.stl"},
      {{cam, "--sheet", "1", "--format", "igs", "-o", d + "/sheet1.igs"}, 0, "sheet1.igs"},
      {{cam, "--sheet", "1", "--format", "stp", "-o", d + "/sheet1.stp"}, 0, "sheet1.stp"},
      {{cam, "--solid", "--format", "stl", "-o", d + "/solid.stl"}, 0, "solid.stl"},
      {{cam, "--solid", "--format", "stl"}, 0, "cam.stl"},
      {{cam, "--solid", "--format", "stp"}, 2, nullptr},
      {{cam, "--solid"}, 2, nullptr},
  };
  for (const Case& c : cases) {
    BatchRun b;
    EXPECT_EQ(b.run(c.args, d), c.rc) << c.args[1] << " " << b.err.str();
    if (c.file) {
      EXPECT_GT(std::filesystem::file_size(temp.file(c.file)), 84u) << c.file;
    }
  }
  auto mesh = test::RunAdmesh({temp.file("walls.stl"), temp.file("solid.stl")});
  ASSERT_EQ(mesh.size(), 2u) << "admesh is not installed (scripts/install-deps.sh)";
  {
    EXPECT_EQ(mesh[0]["Backwards edges"], 0) << mesh[0].text;
    EXPECT_EQ(mesh[1]["Number of parts"], 1) << mesh[1].text;
    EXPECT_EQ(mesh[1]["Total disconnected facets final"], 0) << mesh[1].text;
    EXPECT_GT(mesh[1]["Volume"], 0) << mesh[1].text;
  }
  std::string script;
  for (const char* f : {"sheet1.stp", "cam.stp"})
    script += std::string("if {[catch {testreadstep ") + temp.file(f) + " s} m]} {puts \"READFAIL " + f +
              " $m\"}\nputs \"EDGES [lindex [split [nbshapes s] \\n] 3]\"\n";
  script += "if {[catch {igesread " + temp.file("sheet1.igs") + " i *} m]} {puts \"READFAIL $m\"}\n";
  script += "puts \"IGES [nbshapes i]\"\n";
  auto out = test::RunDraw(script, d);
  ASSERT_TRUE(out) << "occt-draw is not installed (scripts/install-deps.sh)";
  {
    EXPECT_EQ(out->find("READFAIL"), std::string::npos) << *out;
    EXPECT_NE(out->find("IGES"), std::string::npos) << *out;
  }
}

// The header of a file names it where it ends up, also when the batch run
// writes it elsewhere first (-o): STEP's FILE_NAME and product, IGES's file name.
TEST(Cad3dBatch, HeadersNameTheFileAsWritten) {
  test::TempFolder temp;
  std::string cam = WriteCam(temp, "cam.kmo", 10, 20);
  std::string d = temp.path();
  std::filesystem::create_directory(temp.file("out"));
  struct Case {
    std::vector<std::string> args;
    const char* file;
    const char* stem;
  } cases[] = {
      {{cam, "/CAD7:1", "-o", "out/wire.stp"}, "out/wire.stp", "wire"},
      {{cam, "/CAD7:6"}, "cam.stp", "cam"},
      {{cam, "--sheet", "1", "--format", "stp", "-o", d + "/out/sheet.stp"}, "out/sheet.stp", "sheet"},
      {{cam, "/CAD2:1", "-o", "out/drawing.igs"}, "out/drawing.igs", "drawing"},
  };
  for (const Case& c : cases) {
    BatchRun b;
    ASSERT_EQ(b.run(c.args, d), 0) << c.file << " " << b.err.str();
    std::string bytes = test::ReadFileBytes(temp.file(c.file));
    std::string stem = c.stem;
    if (std::string(c.file).find(".stp") != std::string::npos) {
      EXPECT_NE(bytes.find("FILE_NAME('" + temp.file(c.file) + "','"), std::string::npos)
          << bytes.substr(0, 300);
      EXPECT_NE(bytes.find("PRODUCT('" + stem + "','" + stem + "',"), std::string::npos) << c.file;
    } else {
      EXPECT_NE(bytes.find("," + std::to_string(stem.size()) + "H" + stem + ","), std::string::npos)
          << bytes.substr(0, 400);
    }
  }
}

// Without a cam width there is no wall height: refused, nothing written, and
// a stored bore of 0 stays 0.
TEST(Cad3dBatch, NoWidthIsRefusedAndTheBoreIsKept) {
  test::TempFolder temp;
  std::string cam = WriteCam(temp, "flat.kmo", 0, 0);
  {
    BatchRun b;
    EXPECT_EQ(b.run({cam, "/CAD6:2"}, temp.path()), 1);
    ASSERT_FALSE(b.port.boxes.empty());
    EXPECT_NE(b.port.boxes.back().text.find("STL"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(temp.file("flat.stl")));
  }
  std::string wide = WriteCam(temp, "wide.kmo", 8, 0);
  BatchRun b;
  EXPECT_EQ(b.run({wide, "/CAD6:2"}, temp.path()), 0) << b.err.str();
  EXPECT_EQ(b.session.project().body.bore, 0);
}

}  // namespace
}  // namespace kamo
