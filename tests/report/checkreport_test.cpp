// The "Prüfung" report: what the text, tab-separated and HTML forms hold for
// a calculated cam, the findings, and no report without results.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "cam/kamorech.h"
#include "core/codepage.h"
#include "report/checkreport.h"
#include "report_fixture.h"

namespace kamo::test {
namespace {

// The eccentric d = 100, e = 10 with a roller of 20 mm, calculated.
void Eccentric(ReportBench& b, Real alphaLimit) {
  CamProject& p = b.project;
  p.curveType = ctEccentric;
  p.eccentric = {100, 10};
  p.calc.steps = 360;
  p.ram = {2, 20, 100, 0.1L};
  p.body.width = 20;
  p.checkData.alphaLimit = alphaLimit;
  p.checkData.preload = 500;
  Calculate(p, b.messages, b.flags, b.settings);
  ASSERT_FALSE(b.flags.calcError);
}

const std::set<std::string> kSymbols = {
    "alpha max", "phi alpha max", "alpha min", "phi alpha min", "e max",   "b face",
    "rho min",   "phi rho min",   "rho max",   "rho concave",   "rho p min", "j max",
    "j min",     "F c max",       "F c min",   "p H max"};

// The value rows of a tab-separated file: symbol -> values.
std::multimap<std::string, std::string> Rows(const std::string& text) {
  std::multimap<std::string, std::string> rows;
  for (const std::string& l : Lines(text)) {
    std::vector<std::string> f;
    size_t start = 0;
    for (size_t tab; (tab = l.find('\t', start)) != std::string::npos; start = tab + 1)
      f.push_back(l.substr(start, tab - start));
    f.push_back(l.substr(start));
    if (f.size() == 4) rows.emplace(f[1], f[3]);
  }
  return rows;
}

double Value(const std::multimap<std::string, std::string>& rows, const std::string& symbol) {
  auto it = rows.find(symbol);
  return it == rows.end() ? std::nan("") : std::strtod(it->second.c_str(), nullptr);
}

TEST(CheckReport, TabSeparatedHasExactlyTheSymbolsAndOneVerdictPerFinding) {
  struct Case {
    Real limit;
    size_t verdicts;  // pressure angle on the rise and on the fall
  };
  for (const Case& c : {Case{30, 0}, Case{5, 2}}) {
    ReportBench b;
    Eccentric(b, c.limit);
    b.settings.askTextDevice = false;
    auto e = b.engine();
    e->setDefaultTarget(otBatch);
    ASSERT_TRUE(CheckReport(*e, otBatch));
    std::string text = ReadFileBytes(e->resultPath());
    EXPECT_EQ(Cp850ToUtf8(Utf8ToCp850(text)), text) << "UTF-8";
    auto rows = Rows(text);
    std::set<std::string> seen;
    for (const auto& [symbol, value] : rows) {
      if (symbol == "verdict") continue;
      EXPECT_TRUE(kSymbols.count(symbol)) << symbol;
      EXPECT_TRUE(seen.insert(symbol).second) << symbol << " twice";
    }
    EXPECT_EQ(seen, kSymbols);
    EXPECT_EQ(rows.count("verdict"), c.verdicts);
    EXPECT_NEAR(Value(rows, "alpha max"), 9.594, 0.01);
    EXPECT_NEAR(Value(rows, "alpha min"), -9.594, 0.01);
    EXPECT_NEAR(Value(rows, "rho p min"), 60, 0.01);
    EXPECT_EQ(Value(rows, "e max"), 0);
    EXPECT_EQ(Value(rows, "b face"), 0);
    EXPECT_EQ(Value(rows, "rho concave"), 0);
    EXPECT_GT(Value(rows, "p H max"), 300);
    if (c.verdicts) {
      auto v = rows.find("verdict");
      EXPECT_EQ(v->second.rfind(Cp850ToUtf8("Druckwinkel 9.6\xF8 > 5.0\xF8 bei phi = "), 0), 0u) << v->second;
    }
    // The inputs and the messages stay in the text forms.
    EXPECT_EQ(rows.count("F0"), 0u);
  }
}

TEST(CheckReport, TextAndHtmlForms) {
  ReportBench b;
  Eccentric(b, 5);
  auto e = b.engine();
  ASSERT_TRUE(CheckReport(*e, otScreen));
  const std::string& shown = b.port.shownText;
  for (const char* part : {"Pr\x81" "fung", "Zul\x84ssiger Druckwinkel", "alpha max", "p H max", "Befund",
                           "Druckwinkel 9.6\xF8 > 5.0\xF8 bei phi = "})
    EXPECT_NE(shown.find(Cp850ToUtf8(part)), std::string::npos) << part;
  EXPECT_EQ(shown.find("ohne Befund"), std::string::npos);
  // Every symbol stands whole in its column, a blank before its unit.
  for (const std::string& symbol : kSymbols) {
    const std::string unit = symbol.find("phi") == 0 || symbol.find("alpha") == 0 ? "Grad" : "";
    EXPECT_NE(shown.find(" " + symbol + " "), std::string::npos) << symbol;
    if (!unit.empty()) {
      size_t at = shown.find(" " + symbol + " ");
      EXPECT_EQ(shown.substr(at + 1, 14 + unit.size()), symbol + std::string(14 - symbol.size(), ' ') + unit)
          << symbol;
    }
  }

  ReportBench h;
  Eccentric(h, 30);
  h.project.drawing.bemerk1 = "<b>fett & \"mehr\"";
  h.port.files.push_back(h.folder.file("check.htm"));
  h.settings.textDevice = otHtml;
  auto eh = h.engine();
  ASSERT_TRUE(CheckReport(*eh));
  std::string html = ReadFileBytes(h.folder.file("check.htm"));
  EXPECT_EQ(html.find("<b>fett"), std::string::npos);
  EXPECT_NE(html.find("ohne Befund"), std::string::npos);
  std::string cmd = "tidy -q -e '" + h.folder.file("check.htm") + "' > '" + h.folder.file("tidy.log") + "' 2>&1";
  int rc = std::system(cmd.c_str());
  ASSERT_NE(rc, -1);
  ASSERT_NE(WEXITSTATUS(rc), 127) << "tidy is not installed (scripts/install-deps.sh)";
  EXPECT_LT(WEXITSTATUS(rc), 2) << ReadFileBytes(h.folder.file("tidy.log"));
}

TEST(CheckReport, NoReportWithoutResults) {
  ReportBench b;
  b.project.curveType = ctPoints;  // no points: the calculation stops
  Calculate(b.project, b.messages, b.flags, b.settings);
  ASSERT_TRUE(b.flags.calcError);
  auto e = b.engine();
  e->context().noGui = true;  // the explanation list stays closed
  EXPECT_FALSE(CheckReport(*e, otScreen));
  EXPECT_TRUE(b.port.shownText.empty());
  EXPECT_EQ(CheckStatusLine(b.project), "");
}

TEST(CheckReport, StatusLineNamesTheFirstFinding) {
  ReportBench b;
  Eccentric(b, 30);
  EXPECT_EQ(CheckStatusLine(b.project), "Pr\u00FCfung: ohne Befund");
  b.project.checkData.alphaLimit = 5;
  Calculate(b.project, b.messages, b.flags, b.settings);
  EXPECT_EQ(CheckStatusLine(b.project, ',').rfind("Pr\u00FCfung: 2 Befunde: Druckwinkel 9,6\u00B0 > 5,0\u00B0", 0), 0u)
      << CheckStatusLine(b.project, ',');
  // The findings stay out of the calculation's message list.
  EXPECT_EQ(b.messages.count(), 0);
}

}  // namespace
}  // namespace kamo::test
