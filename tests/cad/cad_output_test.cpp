// The element interface: layers, text placement, dispatch, polyline emulation.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "cad_fixture.h"

namespace kamo {
namespace {

using test::CadFixture;

TEST(CadOutput, LayerFolding) {
  CadFixture f;
  struct Case {
    int in, out;
    const char* name;
  } cases[] = {{37, 21, "21"}, {0, 0, "0"}, {5, 5, "5"}, {31, 31, "31"}, {48, 16, "16"}, {7, 7, "7"}};
  f.settings.layers[4].name = "KONTUR";
  cases[2].name = "KONTUR";
  for (const Case& c : cases) {
    f.cad->CadLayer(c.in);
    EXPECT_EQ(f.cad->layerNo(), c.out);
    EXPECT_EQ(f.cad->layerName(), c.name);
  }
  EXPECT_EQ(f.cad->LayerOfName("KONTUR"), 5);
  EXPECT_EQ(f.cad->LayerOfName("0"), 0);
  EXPECT_EQ(f.cad->LayerOfName("17"), 17);
  EXPECT_EQ(f.cad->LayerOfName("Hilfslinien"), 0);
}

// Each element in the element text, one line per element.
TEST(CadOutput, ElementText) {
  struct Case {
    const char* what;
    std::function<void(CadOutput&)> draw;
    const char* lines;
  } cases[] = {
      {"line", [](CadOutput& c) { c.CadLine(0, 0, 10, 5); }, "LINE\t0.000000\t0.000000\t10.000000\t5.000000\r\n"},
      {"full arc", [](CadOutput& c) { c.CadArc(1, 2, 0, 360, 3); }, "CIRCLE\t1.000000\t2.000000\t3.000000\r\n"},
      {"arc", [](CadOutput& c) { c.CadArc(1, 2, 0, 90, 3); },
       "ARC\t1.000000\t2.000000\t3.000000\t0.000000\t90.000000\r\n"},
      {"zero radius", [](CadOutput& c) { c.CadArc(1, 2, 0, 90, 0); c.CadArcSweep(1, 2, 0, 90, 0, 90); }, ""},
      {"offset once", [](CadOutput& c) { c.CadOffset(10, 20); c.CadHoleCircle(1, 1, 2); },
       "CIRCLE\t11.000000\t21.000000\t2.000000\r\n"},
      {"centred text", [](CadOutput& c) { c.CadTextStyle(2, 0, 5, 5); c.CadTextAlign(1, 0); c.CadText("ABCD", 20, 0); },
       "TEXT\t10.000000\t0.000000\tABCD\r\n"},
      {"umlaut ANSI", [](CadOutput& c) { c.CadText("\x84", 0, 0); }, "TEXT\t0.000000\t0.000000\t\xE4\r\n"},
      {"open polyline", [](CadOutput& c) { c.CadBeginPolyline(0); c.CadVertex(0, 0, 0); c.CadVertex(1, 0, 0); c.CadVertex(1, 1, 0); c.CadEndPolyline(); },
       "LINE\t0.000000\t0.000000\t1.000000\t0.000000\r\nLINE\t1.000000\t0.000000\t1.000000\t1.000000\r\n"},
      {"closed polyline gets its closing edge",
       [](CadOutput& c) { c.CadBeginPolyline(1); c.CadVertex(0, 0, 0); c.CadVertex(1, 0, 0); c.CadVertex(1, 1, 0); c.CadEndPolyline(); },
       "LINE\t0.000000\t0.000000\t1.000000\t0.000000\r\nLINE\t1.000000\t0.000000\t1.000000\t1.000000\r\n"
       "LINE\t1.000000\t1.000000\t0.000000\t0.000000\r\n"},
      {"zero arrow", [](CadOutput& c) { c.CadArrow("1", 3, 3, 3, 3); }, ""},
      {"insert", [](CadOutput& c) { c.CadInsert("B", 1, 2, 90, 1, 1); },
       "INSERT\tB\t1.000000\t2.000000\t90.000000\t1.000000\t1.000000\r\n"},
  };
  for (const Case& c : cases) {
    CadFixture f;
    f.begin(kCadText);
    c.draw(*f.cad);
    EXPECT_EQ(CadFixture::entities(f.end("txt")), c.lines) << c.what;
  }
}

TEST(CadOutput, ElementTextFrameAndComma) {
  CadFixture f;
  f.settings.outputSeparator = 2;
  f.settings.cadDecimals = 2;
  f.begin(kCadText);
  f.cad->CadLine(0.5L, 0, 1, 1);
  std::string t = f.end("txt");
  EXPECT_EQ(t.substr(0, t.find("SECTION ENTITIES")),
            "MINMAX\t0,00\t0,00\t100,00\t100,00\r\nSECTION BLOCKS\r\n");
  EXPECT_NE(t.find("LINE\t0,50\t0,00\t1,00\t1,00\r\nEOF\r\n"), std::string::npos);
}

// A closed polyline as arcs on the screen: the closing arc is drawn too.
TEST(CadOutput, ScreenClosedPolylineWithArcs) {
  CadFixture f;
  f.settings.polylineArcsAsLines = false;
  f.begin(kCadScreen);
  size_t before = f.display.size();
  f.cad->CadBeginPolyline(1);
  f.cad->CadVertex(1, 0, kPi);
  f.cad->CadVertex(-1, 0, kPi);
  f.cad->CadEndPolyline();
  std::vector<std::string> arcs;
  for (size_t i = before; i < f.display.size(); ++i)
    if (f.display.records()[i].rfind("5;", 0) == 0) arcs.push_back(f.display.records()[i]);
  EXPECT_EQ(arcs.size(), 2u);
  f.cad->CadEndSection();
  f.cad->CadClose();
}

TEST(CadOutput, ScreenFooterAndNoLogo) {
  CadFixture f;
  f.begin(kCadScreen);
  bool footer = false;
  for (const std::string& r : f.display.records())
    if (r.rfind("6;", 0) == 0 && r.find("QUORTEX KAMO V") != std::string::npos) footer = true;
  EXPECT_TRUE(footer);
  EXPECT_TRUE(f.messages.empty());  // no "$LOGO_2.dx$": nothing inserted, nothing reported
}

TEST(CadOutput, CancelledSaveDialogWritesNothing) {
  CadFixture f;
  CadEnvironment& env = f.cad->environment();
  env.batch = false;
  f.port.files.push_back(std::nullopt);
  f.cad->CadOpen(kCadDxf, "KAMO");
  EXPECT_TRUE(f.flags.abortFlag);
  EXPECT_FALSE(f.cad->open());
  f.flags.abortFlag = false;
  f.port.files.push_back(f.temp.file("chosen.abc"));
  f.cad->CadOpen(kCadDxf, "KAMO");
  EXPECT_EQ(f.cad->outputFileName(), f.temp.file("chosen.dxf"));
  EXPECT_TRUE(f.cad->CadClose());
  EXPECT_TRUE(std::filesystem::exists(f.temp.file("chosen.dxf")));
}

// A finished file opens in its application, unless the run is a batch run,
// the switch is off, the output was aborted or the height prompt cancelled.
TEST(CadOutput, FinishedFileOpensInItsApplication) {
  struct Case {
    int kind;
    bool batch, switchOn, abort;
    std::optional<std::string> height;  // the STL height prompt
    bool opened;
  } cases[] = {
      {kCadDxf, false, true, false, {}, true},
      {kCadText, false, true, false, {}, true},
      {kCadIges, false, true, false, {}, true},
      {kCadStl, false, true, false, "7", true},
      {kCadStl, false, true, false, std::nullopt, false},
      {kCadDxf, true, true, false, {}, false},
      {kCadDxf, false, false, false, {}, false},
      {kCadDxf, false, true, true, {}, false},
      {kCadScreen, false, true, false, {}, false},
  };
  for (const Case& c : cases) {
    CadFixture f;
    f.settings.startCadApplication = c.switchOn;
    f.cad->environment().batch = c.batch;
    const std::string ext = c.kind == kCadDxf ? "dxf" : c.kind == kCadIges ? "igs" : c.kind == kCadStl ? "stl" : "txt";
    if (!c.batch && c.kind != kCadScreen) f.port.files.push_back(f.temp.file("cam." + ext));
    if (c.kind == kCadStl) f.port.texts.push_back(c.height);
    f.cad->CadOpen(c.kind, "KAMO");
    f.cad->CadWindow(0, 0, 100, 100, 5);
    f.cad->CadBeginEntities();
    f.cad->CadLine(0, 0, 10, 0);
    f.cad->CadLine(10, 0, 10, 10);
    f.cad->CadLine(10, 10, 0, 0);
    f.cad->CadEndSection();
    if (c.abort) f.flags.abortFlag = true;
    f.cad->CadClose();
    std::string what = std::to_string(c.kind) + (c.batch ? " batch" : "") + (c.switchOn ? "" : " off") +
                       (c.abort ? " aborted" : "") + (c.height ? "" : " cancelled");
    if (c.opened) {
      ASSERT_EQ(f.port.opened.size(), 1u) << what;
      EXPECT_EQ(f.port.opened[0], f.cad->outputFileName()) << what;
      EXPECT_TRUE(std::filesystem::exists(f.port.opened[0])) << what;
    } else {
      EXPECT_TRUE(f.port.opened.empty()) << what;
    }
  }
}

TEST(CadOutput, KindsNotBuiltRefuse) {
  for (int kind : {kCadIges, kCadStl, kCadStep}) {
    if (CadKindAvailable(kind)) continue;
    CadFixture f;
    f.cad->CadOpen(kind, "KAMO");
    EXPECT_TRUE(f.flags.abortFlag);
    EXPECT_FALSE(f.cad->open());
  }
}

}  // namespace
}  // namespace kamo
