// The command line reaches every 3D format: "/CAD2:j", "/CAD6:2", "/CAD7:j",
// --sheet K --format igs|stp|stl, --solid --format stl|stp and --contour --format stp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
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
      {{cam, "--solid", "--format", "stp", "-o", d + "/solid.stp"}, 0, "solid.stp"},
      {{cam, "--contour", "--format", "stp", "-o", d + "/contour.stp"}, 0, "contour.stp"},
      {{cam, "--solid", "--format", "igs"}, 2, nullptr},
      {{cam, "--contour", "--format", "stl"}, 2, nullptr},
      {{cam, "--contour"}, 2, nullptr},
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

// The STEP solid and contour of a batch run, read by DRAW: one valid solid of
// (A - bore) x width named after the drawing, one closed wire; nothing of
// OpenCASCADE's on stdout; a cam without width gets the STL solid's refusal.
TEST(Cad3dBatch, StepSolidAndContourFromTheCommandLine) {
  test::TempFolder temp;
  Settings s;
  auto cam = test::ExampleCam("points.kmo", s);
  ASSERT_TRUE(cam);
  cam->body.width = 12;
  cam->body.bore = 16;
  cam->drawing.zeichname = "Kurvenscheibe K\x94 1";
  std::string path = temp.file("cam.kmo");
  test::WriteFileBytes(path, ProjectToBytes(s, *cam));
  std::string wkamo = std::string(KAMO_BINARY_DIR) + "/wkamo";
  auto run = [&](const std::string& args, const std::string& tag) {
    std::string cmd = "cd " + test::ShellQuote(temp.path()) + " && " + test::ShellQuote(wkamo) + " " + args +
                      " >" + tag + ".out 2>" + tag + ".err";
    int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  };
  ASSERT_EQ(run("cam.kmo --solid --format stp", "solid"), 0) << test::ReadFileBytes(temp.file("solid.err"));
  ASSERT_EQ(run("cam.kmo --contour --format stp -o contour.stp", "contour"), 0)
      << test::ReadFileBytes(temp.file("contour.err"));
  for (const char* tag : {"solid", "contour"}) {
    EXPECT_EQ(test::ReadFileBytes(temp.file(std::string(tag) + ".out")), "") << tag;
    EXPECT_EQ(test::ReadFileBytes(temp.file(std::string(tag) + ".err")), "") << tag;
  }
  std::string solid = test::ReadFileBytes(temp.file("cam.stp"));
  EXPECT_NE(solid.find("PRODUCT('Kurvenscheibe K\\X2\\00F6\\X0\\ 1',"), std::string::npos)
      << solid.substr(0, 900);
  EXPECT_NE(solid.find("FILE_NAME('" + temp.file("cam.stp") + "','2"), std::string::npos) << solid.substr(0, 400);
  std::string script = "stepread " + temp.file("cam.stp") + " s *\nputs \"SOLID [nbshapes s_1]\"\n";
  script += "puts \"CHECK [checkshape s_1]\"\nputs \"VOLUME [vprops s_1]\"\n";
  script += "stepread " + temp.file("contour.stp") + " c *\nputs \"CONTOUR [nbshapes c_1]\"\n";
  auto out = test::RunDraw(script, temp.path());
  ASSERT_TRUE(out) << "occt-draw is not installed (scripts/install-deps.sh)";
  auto count = [&](const std::string& after, const std::string& kind) {
    size_t at = out->find(after);
    if (at == std::string::npos) return -1;
    size_t k = out->find(" " + kind + " ", at);
    if (k == std::string::npos) return -1;
    return std::atoi(out->c_str() + out->find(':', k) + 1);
  };
  EXPECT_EQ(count("SOLID", "SOLID"), 1) << *out;
  EXPECT_NE(out->find("This shape seems to be valid"), std::string::npos) << *out;
  size_t mass = out->find("Mass :");
  ASSERT_NE(mass, std::string::npos) << *out;
  double volume = std::atof(out->c_str() + mass + 6);
  double expect = (static_cast<double>(cam->section.A) - 3.14159265358979 * 64) * 12;
  EXPECT_NEAR(volume, expect, 1e-3 * expect) << *out;
  EXPECT_EQ(count("CONTOUR", "WIRE"), 1) << *out;
  EXPECT_EQ(count("CONTOUR", "SOLID"), 0) << *out;

  // No width: the STL solid's message, exit 1, no file.
  cam->body.width = 0;
  test::WriteFileBytes(temp.file("flat.kmo"), ProjectToBytes(s, *cam));
  EXPECT_EQ(run("flat.kmo --solid --format stp", "flat"), 1);
  EXPECT_NE(test::ReadFileBytes(temp.file("flat.err")).find("STL: H\xC3\xB6he 0"), std::string::npos)
      << test::ReadFileBytes(temp.file("flat.err"));
  EXPECT_FALSE(std::filesystem::exists(temp.file("flat.stp")));
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
