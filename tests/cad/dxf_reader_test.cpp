// The DXF reader on damaged and foreign files: a reason, never a crash.
#include <gtest/gtest.h>

#include "cad/dxfreader.h"

namespace kamo {
namespace {

TEST(DxfReader, DamagedFiles) {
  std::string hugeCount = "  0\nSECTION\n  2\nENTITIES\n  0\nLWPOLYLINE\n 90\n999999999999\n 10\n1\n 20\n2\n  0\nENDSEC\n  0\nEOF\n";
  struct Case {
    const char* what;
    std::string text;
    bool error, eof;
    int badLine;
    size_t entities;
  } cases[] = {
      {"empty", "", false, false, 0, 0},
      {"truncated pair", "  0\nLINE\n 10\n", true, false, 0, 0},
      {"code not a number", "  0\nLINE\nxx\n1\n  0\nEOF\n", true, false, 0, 0},
      {"missing EOF", "  0\nLINE\n 10\n1\n 20\n1\n 11\n2\n 21\n2\n", false, false, 0, 1},
      {"bad number", "  0\nLINE\n 10\nabc\n  0\nEOF\n", false, true, 4, 1},
      {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), true, false, 0, 0},
      {"huge count", hugeCount, false, true, 0, 1},
      {"comma decimals, CR LF", "  0\r\nCIRCLE\r\n 10\r\n1,5\r\n 40\r\n2\r\n  0\r\nEOF\r\n", false, true, 0, 1},
      {"sections skipped", "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
                           "  0\nLINE\n  0\nENDSEC\n  0\nEOF\n", false, true, 0, 1},
      {"infinite value", "  0\nLINE\n 10\n1e5000\n  0\nEOF\n", false, true, 4, 1},
      {"markers in small letters", "  0\nSeCTION\n  2\nentities\n  0\nline\n  0\nendsec\n  0\neof\n", false, true, 0, 1},
  };
  for (const Case& c : cases) {
    DxfReadResult r = ReadDxf(c.text);
    EXPECT_EQ(!r.error.empty(), c.error) << c.what;
    EXPECT_EQ(r.sawEof, c.eof) << c.what;
    EXPECT_EQ(r.badNumberLine, c.badLine) << c.what;
    EXPECT_EQ(r.entities.size(), c.entities) << c.what;
  }
}

TEST(DxfReader, VertexLimit) {
  std::string t = "  0\nLWPOLYLINE\n";
  for (int i = 0; i < 12; ++i) t += " 10\n1\n 20\n2\n";
  DxfReadOptions o;
  o.maxVertices = 10;
  DxfReadResult r = ReadDxf(t, o);
  EXPECT_TRUE(r.tooManyVertices);
  EXPECT_TRUE(r.entities.empty());
}

// Entities drawn with the extrusion -Z come back in world coordinates.
TEST(DxfReader, MirroredExtrusion) {
  DxfReadResult r = ReadDxf(
      "  0\nCIRCLE\n 10\n3\n 20\n1\n 40\n1\n230\n-1\n"
      "  0\nLWPOLYLINE\n 10\n1\n 20\n0\n 42\n0.5\n 10\n2\n 20\n0\n230\n-1\n  0\nEOF\n");
  ASSERT_EQ(r.entities.size(), 2u);
  EXPECT_EQ(r.entities[0].x[0], -3);
  EXPECT_EQ(r.entities[1].vertices[0].x, -1);
  EXPECT_EQ(r.entities[1].vertices[0].bulge, -0.5);
}

}  // namespace
}  // namespace kamo
