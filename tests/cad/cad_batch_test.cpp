// "/CADi:j": the CAD files of batch runs and the answers to every other form.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "shell/cad_batch.h"
#include "shell/cmdline.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

TEST(CadBatch, OptionForms) {
  struct Case {
    const char* option;
    int exit;
    const char* file;  // written into the work folder
  } cases[] = {
      {"/CAD1:6", kExitOk, "eccentric.dxf"}, {"/CAD1:1", kExitOk, "eccentric.dxf"},
      {"-CAD1:3", kExitOk, "eccentric.dxf"}, {"/cad1:2", kExitOk, "eccentric.dxf"},
      {"/CAD5:4", kExitOk, "eccentric.txt"}, {"/CAD2:1", kExitOk, "eccentric.igs"},
      {"/CAD1:7", kExitOk, "eccentric.dxf"}, {"/CAD3:1", kExitUsage, nullptr},
      {"/CAD4:2", kExitUsage, nullptr},      {"/CAD1:0", kExitUsage, nullptr},
      {"/CAD1:10", kExitUsage, nullptr},     {"/CAD8:1", kExitUsage, nullptr},
      {"/CAD1:", kExitUsage, nullptr},       {"/CADx:1", kExitUsage, nullptr},
      {"/CAD1-6", kExitUsage, nullptr},      {"/CAD1:6x", kExitUsage, nullptr},
      {"/CAD1:99999999999", kExitUsage, nullptr},
  };
  for (const Case& c : cases) {
    test::ScriptedPort port;
    test::TempFolder work;
    Session s(port);
    std::ostringstream err;
    ASSERT_TRUE(LoadForBatch(s, std::string(KAMO_SOURCE_DIR) + "/examples/eccentric.kmo", err)) << err.str();
    EXPECT_EQ(RunCadOption(s, c.option, work.path(), err), c.exit) << c.option << ": " << err.str();
    if (c.file) {
      std::string t = test::ReadFileBytes(work.file(c.file));
      std::string end = std::string(c.file).ends_with(".dxf") ? "  0\r\nEOF\r\n"
                        : std::string(c.file).ends_with(".txt") ? "EOF\r\n" : "";
      EXPECT_FALSE(t.empty()) << c.option;
      EXPECT_NE(t.find(end), std::string::npos) << c.option;
    } else {
      EXPECT_TRUE(std::filesystem::is_empty(work.path())) << c.option;
      EXPECT_FALSE(err.str().empty());
    }
    EXPECT_TRUE(port.boxes.empty()) << c.option;
  }
  // The plot hand-off and the screen are the window's: the message says what to use instead.
  for (const char* option : {"/CAD4:2", "/CAD3:2"}) {
    test::ScriptedPort port;
    test::TempFolder work;
    Session s(port);
    std::ostringstream err;
    ASSERT_TRUE(LoadForBatch(s, std::string(KAMO_SOURCE_DIR) + "/examples/eccentric.kmo", err));
    EXPECT_EQ(RunCadOption(s, option, work.path(), err), kExitUsage);
    std::string what = option[4] == '4' ? "the plot program" : "the screen";
    EXPECT_NE(err.str().find(std::string(option) + ": " + what + " needs the window; /CAD1:2 writes the DXF file"),
              std::string::npos)
        << err.str();
  }
}

// The program itself: a DXF of an example with the contour polyline, no window.
TEST(CadBatch, ProgramWritesDxf) {
  test::TempFolder work;
  std::string cmd = "cd " + work.path() + " && " + KAMO_BINARY_DIR + "/wkamo " + KAMO_SOURCE_DIR +
                    "/examples/sine.kmo /CAD1:6 /NOGUI > out.log 2>&1";
  int rc = std::system(cmd.c_str());
  ASSERT_EQ(rc, 0) << test::ReadFileBytes(work.file("out.log"));
  std::string t = test::ReadFileBytes(work.file("sine.dxf"));
  EXPECT_NE(t.find("  0\r\nPOLYLINE\r\n  8\r\n5\r\n 66\r\n1\r\n 70\r\n1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kamo
