// The cam printouts: what the standard printout, the extract and the
// unattended printout contain for each curve type, units and edge cases.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <iostream>

#include "core/codepage.h"
#include "report/camreport.h"
#include "report_fixture.h"

namespace kamo::test {
namespace {

// A calculated-looking project: results filled by hand.
void FillResults(CamProject& p) {
  p.basePointCount = 3;
  for (int i = 1; i <= 3; ++i) p.basePoints[static_cast<size_t>(i)] = {10.0L * i, 5.0L * i, 0};
  p.results.rMax = 60;
  p.results.rMin = 50;
  p.results.phiRMax = kPi;
  p.results.stroke = 10;
  p.results.sMax = 10;
  p.results.vMax = 0.5L;
  p.results.aMax = 20;
  p.results.aMin = -20;
  p.section.A = 9500;
  p.section.U = 346;
  p.body.width = 12;
}

// Writes the printout in the given mode on the screen target; returns the text (UTF-8).
std::string Printout(ReportBench& b, int mode) {
  auto e = b.engine();
  EXPECT_TRUE(CamPrintout(*e, mode));
  return b.port.shownText;
}

bool Has(const std::string& text, const std::string& cp850) {
  return text.find(Cp850ToUtf8(cp850)) != std::string::npos;
}

TEST(CamPrintout, EachCurveTypeShowsItsDefinitionOnlyInTheFullPrintouts) {
  struct Case {
    int type;
    std::string heading;
  } cases[] = {
      {ctFormula, "Kurvenform definiert durch Formeln:"},
      {ctEllipse, "halbe L\x84nge"},
      {ctSine, "Sinusfunktion"},
      {ctLinearSine, "Linear-Sinus"},
      {ctPoints, "GEOMETRIE KONTUR"},
      {ctPolygon, "Schl\x81sselweite (Inkreis)"},
      {ctPolynomial, "r1 = f (phi) ="},
      {ctFitPoints, "phi 1 = "},
      {ctEccentric, "Exzentrizit\x84t"},
      {ctPolarPoints, "phi 2 = "},
      {ctSinSquare, "sin2(180/"},
  };
  for (const auto& c : cases) {
    for (int mode : {pmStandard, pmExtract}) {
      ReportBench b;
      FillResults(b.project);
      b.project.curveType = static_cast<std::uint16_t>(c.type);
      b.project.segmentCount = 2;
      b.project.segments[1] = {180, "50+X"};
      b.project.segments[2] = {360, "<b>X"};
      b.project.poly.n = 2;
      b.project.poly.coef[1] = 50;
      b.project.poly.points[1] = {0.5L, 50};
      b.project.poly.points[2] = {1, 51};
      b.project.prCount = 2;
      b.project.prPoints[1] = {0.5L, 50};
      b.project.prPoints[2] = {1, 51};
      std::string text = Printout(b, mode);
      EXPECT_EQ(Has(text, c.heading), mode == pmStandard) << c.type << " mode " << mode;
      EXPECT_EQ(Has(text, "Querschnittsfl\x84" "che"), mode == pmStandard);
      EXPECT_TRUE(Has(text, "Nocken"));
      EXPECT_TRUE(Has(text, "Max.Kurvenradius (phi=180\xF8)"));
      EXPECT_TRUE(Has(text, "St\x94\xE1" "elhub"));
    }
  }
}

TEST(CamPrintout, EdgeCasesOfRows) {
  struct Case {
    const char* what;
    Real bore, speed;
    int points;
    bool boreRow, periodRow, definition;
  } cases[] = {
      {"small bore", 0.2L, 1000, 3, false, true, true},
      {"bore", 0.3L, 1000, 3, true, true, true},
      {"standstill", 0, 0, 3, false, false, true},
      {"nothing calculated", 0, 1000, 0, false, true, false},
  };
  for (const auto& c : cases) {
    ReportBench b;
    FillResults(b.project);
    b.project.body.bore = c.bore;
    b.project.speed = c.speed;
    b.project.basePointCount = static_cast<std::uint16_t>(c.points);
    std::string text = Printout(b, pmStandard);
    EXPECT_EQ(Has(text, "Bohrungsdurchmesser"), c.boreRow) << c.what;
    EXPECT_EQ(Has(text, "Periodendauer"), c.periodRow) << c.what;
    EXPECT_EQ(Has(text, "GEOMETRIE KONTUR"), c.definition) << c.what;
  }
}

TEST(CamPrintout, UnitsOfEachSystem) {
  struct Case {
    int system;
    std::string width, force;
  } cases[] = {
      {0, "   12.00", "F max    N "},
      {1, "   0.472", "F max    lbf "},
      {2, "   12.00", "F max    kN "},
  };
  for (const auto& c : cases) {
    ReportBench b;
    FillResults(b.project);
    b.settings.numbers.unitSystem = c.system;
    std::string text = Printout(b, pmExtract);
    EXPECT_NE(text.find(c.width), std::string::npos) << c.system;
    EXPECT_NE(text.find(c.force), std::string::npos) << c.system << "\n" << text;
    if (c.system == 1) {
      EXPECT_EQ(text.find(" mm "), std::string::npos);
    }
  }
}

TEST(CamPrintout, UnattendedPrintoutIsTabSeparatedWithRemarks) {
  ReportBench b;
  FillResults(b.project);
  b.explain({{"Fehler : L < stroke !", "Der Hub ist gr\x94\xE1" "er", "St\x94ssel verl\x84ngern"}});
  b.messages.add("Fehler : L < stroke !");
  b.settings.askTextDevice = false;
  auto e = b.engine();
  e->setDefaultTarget(otBatch);
  ASSERT_TRUE(CamPrintout(*e, pmUnattended));
  EXPECT_EQ(e->resultPath(), b.folder.file("nocke.txt"));
  std::string text = ReadFileBytes(e->resultPath());
  EXPECT_NE(text.find("Breite\tb\tmm\t   12.00\n"), std::string::npos);
  EXPECT_NE(text.find(Cp850ToUtf8("Querschnittsfl\x84" "che\tA\tmm\xFD\t9500\n")), std::string::npos);
  EXPECT_NE(text.find(Cp850ToUtf8("Fehler : L < stroke !\tDer Hub ist gr\x94\xE1" "er\tSt\x94ssel verl\x84ngern\n")),
            std::string::npos);
  EXPECT_EQ(text.find("---"), std::string::npos);
  EXPECT_EQ(text.find('\f'), std::string::npos);
}

// Every printout mode, with the tables (formulas, points) and the value rows
// of the curve definitions, and hostile texts everywhere a user can type.
TEST(CamPrintout, HtmlPrintoutOfHostileTextsPassesTidy) {
  struct Case {
    int mode;
    int type;
  } cases[] = {{pmStandard, ctFormula}, {pmExtract, ctFormula}, {pmUnattended, ctFormula},
               {pmStandard, ctPoints},  {pmStandard, ctEllipse}, {pmStandard, ctPolynomial}};
  for (const auto& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + ", curve type " + std::to_string(c.type));
    ReportBench b;
    FillResults(b.project);
    b.project.curveType = c.type;
    b.project.segmentCount = 1;
    b.project.segments[1] = {360, "50+X</TD></TABLE><script>"};
    b.project.poly.n = 2;
    b.project.drawing.bemerk1 = "<b>fett";
    b.project.drawing.bemerk2 = "</TABLE>";
    b.project.drawing.bemerk3 = "a & \"b\"";
    b.file.fileName = "n<o>cke";
    b.explain({{"Fehler : L < stroke !", "<i>", "</BODY>"},
               {"Warnung: r < 0 & mehr", std::string(80, 'x') + " <p>", "&amp;"}});
    b.messages.add("Fehler : L < stroke !");
    b.messages.add("Warnung: r < 0 & mehr");
    b.port.files.push_back(b.folder.file("cam.htm"));
    b.settings.textDevice = otHtml;
    auto e = b.engine();
    ASSERT_TRUE(CamPrintout(*e, c.mode));
    std::string html = ReadFileBytes(b.folder.file("cam.htm"));
    for (const char* raw : {"<b>", "<script>", "<i>", "<p>", "</TD></TABLE>", "n<o>"})
      EXPECT_EQ(html.find(raw), std::string::npos) << raw;
    if (c.type == ctFormula && c.mode != pmExtract) {
      EXPECT_NE(html.find("50+X&lt;/TD&gt;&lt;/TABLE&gt;&lt;script&gt;"), std::string::npos);
    }
    EXPECT_NE(html.find("<h5>a &amp; &quot;b&quot;</h5>"), std::string::npos);
    EXPECT_NE(html.find("<TD>&amp;amp;</TD>"), std::string::npos);
    EXPECT_EQ(html.find("</BODY>"), html.rfind("</BODY>"));
    EXPECT_EQ(html.find('\f'), std::string::npos);
    auto count = [&html](const std::string& tag) {
      size_t n = 0;
      for (size_t p = html.find(tag); p != std::string::npos; p = html.find(tag, p + 1)) ++n;
      return n;
    };
    EXPECT_EQ(count("<TABLE "), count("</TABLE>"));
    EXPECT_LT(html.rfind("</TABLE>"), html.find("</BODY>"));
    std::string cmd = "tidy -q -e '" + b.folder.file("cam.htm") + "' > '" +
                      b.folder.file("tidy.log") + "' 2>&1";
    int rc = std::system(cmd.c_str());
    ASSERT_NE(rc, -1);
    // tidy exits 2 on errors, 1 on warnings only.
    EXPECT_LT(WEXITSTATUS(rc), 2) << ReadFileBytes(b.folder.file("tidy.log"));
    if (std::getenv("KAMO_SHOW_TIDY")) std::cerr << ReadFileBytes(b.folder.file("tidy.log"));
  }
}

TEST(CamPrintout, FailedCalculationShowsTheErrorListInstead) {
  ReportBench b;
  FillResults(b.project);
  b.messages.add("Fatal  : A = 0 !");
  b.flags.calcError = true;
  b.port.choices = {1, 1};  // "Weiter/zurueck..." leaves the list
  auto e = b.engine();
  EXPECT_FALSE(CamPrintout(*e, pmStandard));
  EXPECT_EQ(b.port.choicePrompts.size(), 1u);
  EXPECT_TRUE(b.port.shownFiles.empty());
  EXPECT_FALSE(MessageReport(*e));
  EXPECT_EQ(b.port.choicePrompts.size(), 2u);
}

TEST(CamPrintout, MessageReportListsTheMessagesOrSaysThereAreNone) {
  ReportBench none;
  auto e = none.engine();
  EXPECT_FALSE(MessageReport(*e));
  ASSERT_EQ(none.port.boxes.size(), 1u);
  EXPECT_EQ(none.port.boxes[0].text, "Berechnung erfolgreich ohne Fehlermeldungen");

  ReportBench b;
  b.messages.add("Fehler : A Cam <= 0 !");
  auto f = b.engine();
  EXPECT_TRUE(MessageReport(*f));
  EXPECT_NE(b.port.shownText.find("Error Messages"), std::string::npos);
  EXPECT_NE(b.port.shownText.find("Bl. 1/ 1"), std::string::npos);
  EXPECT_NE(b.port.shownText.find("Fehler : A Cam <= 0 !"), std::string::npos);
}

}  // namespace
}  // namespace kamo::test
