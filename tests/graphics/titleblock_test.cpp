// The production drawing's furniture: scale rules, change labels, title block
// forms, change rows, zone marking and the protective notice.
#include <gtest/gtest.h>

#include <algorithm>

#include "../cad/cad_fixture.h"
#include "core/numbers.h"
#include "graphics/titleblock.h"

namespace kamo {
namespace {

using test::CadFixture;

TEST(SheetScale, StandardScaleAndItsText) {
  struct Case {
    double x, scale;
    const char* text;
  } cases[] = {{5.5, 5, "M 5:1"},  {1.83, 1, "M 1:1"}, {0.55, 0.5, "M 1:2"}, {1, 1, "M 1:1"},
               {0.3, 0.2, "M 1:5"}, {2.5, 2, "M 2:1"}, {12, 10, "M 10:1"}, {0.011, 0.01, "M 1:100"}};
  NumberStyle ns;
  for (const Case& c : cases) {
    Real m = StandardScale(c.x);
    EXPECT_NEAR(static_cast<double>(m), c.scale, 1e-12) << c.x;
    EXPECT_EQ(ScaleText(ns, m), c.text) << c.x;
  }
  EXPECT_EQ(ScaleText(ns, 0.2L), "M 1:5");
  EXPECT_GT(StandardScale(0), 0);  // no scale of zero for an empty contour
}

TEST(SheetScale, ChangeLabelsAndShortening) {
  struct Case {
    int style, i;
    const char* label;
  } cases[] = {{0, 1, "a"}, {0, 3, "c"}, {1, 12, "12"}, {2, 2, "B"}, {3, 5, ""}};
  for (const Case& c : cases) EXPECT_EQ(ChangeIndexLabel(c.style, c.i), c.label);
  std::string longName(200, 'x');
  longName[0] = 'A';
  longName.back() = 'Z';
  std::string s = ShortenText(longName, 150);
  EXPECT_EQ(s.size(), 150u);
  EXPECT_EQ(s.substr(0, 1), "A");
  EXPECT_EQ(s.substr(72, 5), " ... ");
  EXPECT_EQ(s.back(), 'Z');
  EXPECT_EQ(ShortenText("short", 150), "short");
  EXPECT_EQ(FirstShownChange(8), 1);
  EXPECT_EQ(FirstShownChange(12), 5);
}

struct FrameFixture : CadFixture {
  CamProject project;
  std::string frame(int format, const std::string& name = "Nocken", const std::string& name2 = "Zwei",
                    const std::string& number = "N-1") {
    settings.numbers.cadTextType = 1;
    begin(kCadText);
    SheetFrameContext ctx{*cad, project, settings, ""};
    DrawSheetFrame(ctx, format, name, name2, number);
    return entities(end("txt"));
  }
  static bool HasText(const std::string& t, double x, double y, const std::string& text) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "TEXT\t%.6f\t%.6f\t", x, y);
    return t.find(std::string(buf) + text + "\r\n") != std::string::npos;
  }
};

TEST(SheetFrame, HeaderOffLeavesTheBlockEmptyButSetsTheMarker) {
  FrameFixture f;
  f.settings.drawingOptionsOff[5] = true;
  EXPECT_EQ(f.frame(kSheetA3), "");
  EXPECT_EQ(f.cad->environment().drawingKind, 3);
}

TEST(SheetFrame, TitleBlockFieldsAndRevision) {
  struct Case {
    int form, margin, changes;
    double ox, oy;           // title block origin
    const char* revision;    // ISO revision letter at (130, 2)
  } cases[] = {
      {kIsoFig2, 1, 0, 230, 10, "A"}, {kIsoFig2, 1, 3, 230, 10, "D"}, {kIsoFig1, 0, 0, 235, 5, "A"},
      {kDin6771, 1, 0, 227.6, 5, nullptr}, {kDin6771Min, 0, 0, 227.6, 5, nullptr},
  };
  for (const Case& c : cases) {
    FrameFixture f;
    f.settings.titleBlockForm = c.form;
    f.settings.frameMargin = c.margin;
    f.project.changeCount = static_cast<std::uint16_t>(c.changes);
    std::string t = f.frame(kSheetA3);
    bool din = c.revision == nullptr;
    // The drawing name in its field, the number, the date of the fixed clock.
    EXPECT_TRUE(din ? f.HasText(t, c.ox + 100.8, c.oy + 28.625, "Nocken")
                    : f.HasText(t, c.ox + 76, c.oy + 8.5, "Nocken")) << c.form;
    EXPECT_TRUE(din ? f.HasText(t, c.ox + 100.8, c.oy + 7.375, "N-1")
                    : f.HasText(t, c.ox + 130, c.oy + 12, "N-1")) << c.form;
    if (!din) {
      EXPECT_TRUE(f.HasText(t, c.ox + 130, c.oy + 2, c.revision)) << c.form << " " << c.changes;
      EXPECT_TRUE(f.HasText(t, c.ox + 138, c.oy + 2, "2026-12-10")) << c.form;
    } else {
      EXPECT_TRUE(f.HasText(t, c.ox + 55.6, c.oy + 30.75, "Bearb.")) << c.form;
    }
    EXPECT_TRUE(f.HasText(t, 395, 1, FormatDate(f.settings.numbers, 2026, 12, 10) + " 9:30")) << c.form;
  }
}

TEST(SheetFrame, LoneSlashLeavesTheFieldEmpty) {
  FrameFixture f;
  std::string t = f.frame(kSheetA4, " / ", "Zwei", "N-1");
  EXPECT_EQ(t.find("\t/\r\n"), std::string::npos);
  EXPECT_EQ(t.find("\t / \r\n"), std::string::npos);
  EXPECT_NE(t.find("\tZwei\r\n"), std::string::npos);
}

TEST(SheetFrame, TwelveChangesShowTheLastEight) {
  for (int form : {kDin6771, kIsoFig2}) {
    FrameFixture f;
    f.settings.titleBlockForm = form;
    f.settings.showChanges = true;
    f.project.changeCount = 12;
    for (int i = 1; i <= 12; ++i) f.project.changes[static_cast<size_t>(i)].changeText = "chg" + std::to_string(i);
    std::string t = f.frame(kSheetA3);
    EXPECT_EQ(t.find("\tchg4\r\n"), std::string::npos) << form;
    if (form == kDin6771) {
      // Rows of 4.25 above the title block at (227.6, 5); change 5 in the lowest.
      EXPECT_TRUE(f.HasText(t, 227.6 + 8.8, 5 + 4.25 + 1, "chg5"));
      EXPECT_TRUE(f.HasText(t, 227.6 + 8.8, 5 + 4.25 * 8 + 1, "chg12"));
      EXPECT_TRUE(f.HasText(t, 227.6 + 1, 5 + 4.25 + 1, "e"));
    } else {
      // The ISO change table stands on the block (base 36) at (230, 10).
      EXPECT_TRUE(f.HasText(t, 230 + 41, 10 + 36 + 3.5 + 0.9, "chg5"));
      EXPECT_TRUE(f.HasText(t, 230 + 41, 10 + 36 + 3.5 * 8 + 0.9, "chg12"));
      EXPECT_TRUE(f.HasText(t, 230 + 1, 10 + 36 + 0.9, "Index"));
    }
  }
}

TEST(SheetFrame, ZoneMarkingMarginAndNotice) {
  struct Case {
    int margin;
    bool marking;
    bool zones;          // zone letters and numbers expected
    double noticeX;      // x of the first notice line
    double titleX;       // x of the title block (A4)
  } cases[] = {{1, true, true, 3, 20}, {1, false, false, 4, 20}, {0, true, false, 4, 25}};
  for (const Case& c : cases) {
    FrameFixture f;
    f.settings.frameMargin = c.margin;
    f.settings.frameMarkingOff = !c.marking;
    std::string t = f.frame(kSheetA4);
    const double r = (287.0 - 10) / 6;
    EXPECT_EQ(f.HasText(t, 20 - 3, 10 + r / 2, "A"), c.zones) << c.margin << c.marking;
    EXPECT_EQ(f.HasText(t, 200 + 1, 10 + 5 * r + r / 2, "F"), c.zones);
    EXPECT_EQ(f.HasText(t, 20 + 3 * 45 + 22.5, 287 + 1, "4"), c.zones);
    EXPECT_EQ(t.find("\t5\r\n"), std::string::npos);  // four columns only
    EXPECT_TRUE(f.HasText(t, c.noticeX, 10, "Copying of this document and giving it to other and the use"));
    EXPECT_TRUE(f.HasText(t, c.noticeX + 10.8, 10, "of a patent or the registration of a utility model or design."));
    EXPECT_TRUE(f.HasText(t, c.noticeX, 190, "Weitergabe sowie Vervielf\x84ltigung dieser Unterlage, Ver-"));
    EXPECT_TRUE(f.HasText(t, c.noticeX + 10.8, 190, "erteilung oder Gebrauchsmuster-Eintragung vorbehalten."));
    EXPECT_TRUE(f.HasText(t, c.titleX + 1, (c.margin ? 10 : 5) + 33.5, "Verantwortl. Abt."));
    // The millimetre scale only with the ISO 10 mm margin.
    EXPECT_EQ(t.find("\t180\r\n") != std::string::npos, c.margin == 1);
  }
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

using test::CadFixture;

struct OwnerFrame : CadFixture {
  CamProject project;
  std::string frame(int format, const std::string& owner) {
    settings.numbers.cadTextType = 1;
    begin(kCadText);
    SheetFrameContext ctx{*cad, project, settings, owner};
    DrawSheetFrame(ctx, format, "Nocken", "", "N-1");
    return entities(end("txt"));
  }
};

TEST(SheetFrame, LogoFieldFreeTextsAndFooterLines) {
  OwnerFrame f;
  f.project.info.textCount = 1;
  f.project.info.textSheetMode = 0;  // A4 only
  f.project.info.texts[1] = DrawingText{50, 60, 3, 0, "Frei"};
  // A file output always names the owner in the logo field, even with a logo block.
  test::WriteFileBytes(f.temp.file("$logo_1.dx$"), "0\r\nEOF\r\n");
  std::string a4 = f.frame(kSheetA4, "Firma");
  EXPECT_NE(a4.find("TEXT\t21.500000\t14.000000\tFirma\r\n"), std::string::npos);
  EXPECT_EQ(a4.find("INSERT\tlogo_1"), std::string::npos);
  EXPECT_NE(a4.find("TEXT\t50.000000\t60.000000\tFrei\r\n"), std::string::npos);
  EXPECT_NE(a4.find("TEXT\t1.000000\t300.000000\tQUORTEX   KAMO  V"), std::string::npos);
  OwnerFrame g;
  g.project.info = f.project.info;
  g.settings.drawingOptionsOff[0] = true;  // no maker line
  std::string a3 = g.frame(kSheetA3, "Firma");
  EXPECT_EQ(a3.find("\tFrei\r\n"), std::string::npos);  // the text belongs to the A4 sheet
  EXPECT_EQ(a3.find("QUORTEX"), std::string::npos);
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

// Head blocks are the user's block files, inserted above the title block on the screen.
TEST(SheetFrame, HeadBlockOnTheScreen) {
  for (bool use : {true, false}) {
    test::CadFixture f;
    CamProject project;
    f.settings.titleBlockForm = kDin6771;
    f.settings.useHeadBlocks = use;
    f.cad->CadOpen(kCadScreen, "KAMO");
    f.cad->CadWindow(-2, -5, 422, 305, 0);
    f.cad->CadTables(2);
    f.cad->CadBeginBlocks();
    f.cad->CadBeginBlock("head_0");  // stands in for the user's file
    f.cad->CadLine(0, 0, 10, 10);
    f.cad->CadEndBlock();
    f.cad->CadEndSection();
    f.cad->CadBeginEntities();
    SheetFrameContext ctx{*f.cad, project, f.settings, ""};
    DrawSheetFrame(ctx, kSheetA3, "N", "", "1");
    f.cad->CadEndSection();
    f.cad->CadClose();
    const auto& r = f.display.records();
    // Above the 55.25 high block at (227.6, 5).
    bool found = std::find(r.begin(), r.end(), "4;227.6;60.25;237.6;70.25") != r.end();
    EXPECT_EQ(found, use);
  }
}

}  // namespace
}  // namespace kamo

namespace kamo {
namespace {

// Captions and values of each title block form, relative to its corner on A3
// with the 10 mm margin: ISO at (230, 10), DIN at (227.6, 5).
TEST(SheetFrame, FieldTextsOfEveryForm) {
  struct Field {
    int form;
    double x, y;
    const char* text;
  } fields[] = {
      {kIsoFig2, 1, 33.5, "Verantwortl. Abt."}, {kIsoFig2, 32, 33.5, "Technische Referenz"},
      {kIsoFig2, 75, 33.5, "Erstellt durch"},   {kIsoFig2, 117, 33.5, "Genehmigt von"},
      {kIsoFig2, 75, 24.5, "Dokumentenart"},    {kIsoFig2, 129, 24.5, "Dokumentenstatus"},
      {kIsoFig2, 137, 6.5, "Ausgabedatum"},     {kIsoFig2, 161, 6.5, "Spr."},
      {kIsoFig2, 171, 6.5, "Blatt"},            {kIsoFig2, 2, 29, "Abt-7"},
      {kIsoFig2, 33, 29, "Dritter"},            {kIsoFig2, 76, 29, "Erster"},
      {kIsoFig2, 118, 29, "Zweiter"},           {kIsoFig2, 76, 20, "Zeichnung"},
      {kIsoFig2, 130, 20, "frei"},              {kIsoFig2, 162, 2, "de"},
      {kIsoFig2, 76, 2.5, "Zwei"},              {kIsoFig1, 1, 24.5, "Verantwortl. Abt."},
      {kIsoFig1, 32, 24.5, "Technische Referenz"}, {kIsoFig1, 75, 24.5, "Dokumentenart"},
      {kIsoFig1, 136, 24.5, "Dokumentenstatus"}, {kIsoFig1, 32, 15.5, "Erstellt durch"},
      {kIsoFig1, 32, 6.5, "Genehmigt von"},     {kIsoFig1, 171, 6.5, "Blatt"},
      {kIsoFig1, 33, 11, "Erster"},             {kIsoFig1, 33, 2, "Zweiter"},
      {kIsoFig1, 2, 20, "Abt-7"},               {kIsoFig1, 33, 20, "Dritter"},
      {kIsoFig1, 76, 20, "Zeichnung"},          {kIsoFig1, 138, 20, "frei"},
      {kIsoFig1, 130, 12, "N-1"},               {kIsoFig1, 76, 8.5, "Nocken"},
      {kDin6771, 1, 1, "Zust."},                {kDin6771, 34.8, 1, "Datum"},
      {kDin6771, 47.8, 1, "Name"},              {kDin6771, 66, 35, "Datum"},
      {kDin6771, 81.6, 35, "Name"},             {kDin6771, 55.6, 26.5, "Gepr."},
      {kDin6771, 55.6, 22.25, "Norm"},          {kDin6771, 55.6, 18, "Frei."},
      {kDin6771, 66, 30.75, "01.02.26"},        {kDin6771, 81.6, 30.75, "Erster"},
      {kDin6771, 81.6, 26.5, "Zweiter"},        {kDin6771, 81.6, 22.25, "Dritter"},
      {kDin6771, 81.6, 18, "Vierter"},          {kDin6771, 144, 1, "Ersetzt durch B-2"},
      {kDin6771, 55.6, 1, "Firma"},             {kDin6771, 100.8, 20.125, "Zwei"},
      {kDin6771Min, 55.6, 30.75, "Bearb."},     {kDin6771Min, 81.6, 18, "Vierter"},
      {kDin6771Min, 100.8, 28.625, "Nocken"},   {kDin6771Min, 100.8, 7.375, "N-1"},
  };
  for (int form : {kIsoFig2, kIsoFig1, kDin6771, kDin6771Min}) {
    FrameFixture f;
    f.settings.titleBlockForm = form;
    f.settings.frameMargin = 1;
    f.settings.releaseFieldText = "Frei.";
    DrawingInfo& in = f.project.info;
    in.responsibleDept = "Abt-7";
    in.documentType = "Zeichnung";
    in.documentStatus = "frei";
    in.replacedBy = "B-2";
    const char* names[] = {"Erster", "Zweiter", "Dritter", "Vierter"};
    for (size_t i = 0; i < 4; ++i) in.rows[i] = {"01.02.26", names[i]};
    f.settings.numbers.cadTextType = 1;
    f.begin(kCadText);
    SheetFrameContext ctx{*f.cad, f.project, f.settings, "Firma"};
    DrawSheetFrame(ctx, kSheetA3, "Nocken", "Zwei", "N-1");
    std::string t = f.entities(f.end("txt"));
    const bool iso = form == kIsoFig1 || form == kIsoFig2;
    const double ox = iso ? 230 : 227.6, oy = iso ? 10 : 5;
    for (const Field& c : fields) {
      if (c.form != form) continue;
      EXPECT_TRUE(f.HasText(t, ox + c.x, oy + c.y, c.text)) << form << " " << c.text;
    }
  }
}

}  // namespace
}  // namespace kamo
