// Point tables from CSV and TSV files: separators, decimal marks, header,
// line ends, and errors that name the line.
#include <gtest/gtest.h>

#include "io/pointcsv.h"

namespace kamo {
namespace {

using Rows = std::vector<std::pair<Real, Real>>;

TEST(PointCsvTest, ReadsWhatSpreadsheetsAndMeasuringMachinesWrite) {
  struct Case {
    const char* name;
    std::string text;
    Rows rows;
    char delimiter;
    bool header;
  } cases[] = {
      {"tab, point, LF", "0\t40.5\n90\t41\n", {{0, 40.5L}, {90, 41}}, '\t', false},
      {"tab, comma decimals, CR LF, header", "phi\tr\r\n0\t40,5\r\n90\t41\r\n", {{0, 40.5L}, {90, 41}}, '\t', true},
      {"semicolon, comma decimals, quoted header", "\"phi\";\"r\"\r0;40,5\r90;41", {{0, 40.5L}, {90, 41}}, ';', true},
      {"comma, point decimals, BOM, blank lines", "\xEF\xBB\xBFphi,r\n\n0, 40.5\n 90 ,41\n\n", {{0, 40.5L}, {90, 41}},
       ',', true},
      {"empty trailing columns", "0;40;;\n1e1;41;\n", {{0, 40}, {10, 41}}, ';', false},
      {"quoted numbers", "\"0\",\"40\"\n\"90\",\"41\"\n", {{0, 40}, {90, 41}}, ',', false},
      {"negative and exponent", "-10\t4.5E1\n350\t45\n", {{-10, 45}, {350, 45}}, '\t', false},
  };
  for (const Case& c : cases) {
    PointCsv t = ParsePointCsv(c.text, 1000);
    EXPECT_TRUE(t.ok()) << c.name << ": " << t.error;
    EXPECT_EQ(t.rows, c.rows) << c.name;
    EXPECT_EQ(t.delimiter, c.delimiter) << c.name;
    EXPECT_EQ(t.header, c.header) << c.name;
  }
}

TEST(PointCsvTest, ErrorsNameTheLine) {
  struct Case {
    const char* name;
    std::string text;
    int maxRows;
    std::string error;
    int line;
  } cases[] = {
      {"text in a value", "phi;r\n0;40\n90;abc\n", 1000, "Keine Zahl in Zeile 3: \"abc\" !", 3},
      {"a header later on", "0;40\nphi;r\n", 1000, "Keine Zahl in Zeile 2: \"phi\" !", 2},
      {"one column", "0;40\n90\n", 1000, "Zu wenig Spalten in Zeile 2 (phi und r erwartet) !", 2},
      {"three columns", "1;0;40\n", 1000, "Zu viele Spalten in Zeile 1 (phi und r erwartet) !", 1},
      {"comma decimals with comma cells", "0,40,5\n", 1000, "Zu viele Spalten in Zeile 1 (phi und r erwartet) !", 1},
      {"thousands mark", "0\t1.040,5\n1\t2\n", 1000, "Keine Zahl in Zeile 1: \"1.040,5\" !", 1},
      {"too many points", "0;1\n1;1\n2;1\n", 2, "Datei hat mehr als 2 Punkte (Zeile 3) !", 3},
      {"one point", "phi;r\n0;40\n", 1000, "Datei hat weniger als 2 Punkte !", 2},
      {"empty", "", 1000, "Datei hat weniger als 2 Punkte !", 0},
      {"binary shown safely", std::string("0;40\n1;\x01\x02", 10), 1000, "Keine Zahl in Zeile 2: \"???\" !", 2},
      {"infinite", "0;1e9999\n1;1\n", 1000, "Keine Zahl in Zeile 1: \"1e9999\" !", 1},
  };
  for (const Case& c : cases) {
    PointCsv t = ParsePointCsv(c.text, c.maxRows);
    EXPECT_EQ(t.error, c.error) << c.name;
    EXPECT_EQ(t.line, c.line) << c.name;
    EXPECT_TRUE(t.rows.empty()) << c.name;
  }
}

TEST(PointCsvTest, WrittenTablesReadBackAsTheyWereShown) {
  std::vector<std::array<std::string, 2>> rows{{"0", "40,5"}, {"90.25", "41"}};
  for (char delimiter : {'\t', ','}) {
    std::string text = FormatPointCsv(rows, "phi (0..360\u00B0)", "r [mm]", delimiter, ',');
    PointCsv t = ParsePointCsv(text, 1000);
    ASSERT_TRUE(t.ok()) << t.error;
    EXPECT_TRUE(t.header);
    EXPECT_EQ(t.rows, (Rows{{0, 40.5L}, {90.25L, 41}}));
  }
  EXPECT_EQ(FormatPointCsv(rows, "a", "b", ',', ','), "a,b\r\n0,40.5\r\n90.25,41\r\n");
  EXPECT_EQ(FormatPointCsv(rows, "a", "b", '\t', ','), "a\tb\r\n0\t40,5\r\n90,25\t41\r\n");
  EXPECT_EQ(CsvDelimiterFor("/x/a.TSV"), '\t');
  EXPECT_EQ(CsvDelimiterFor("/x/a.txt"), '\t');
  EXPECT_EQ(CsvDelimiterFor("/x.d/a"), ',');
  EXPECT_EQ(CsvDelimiterFor("a.csv"), ',');
}

}  // namespace
}  // namespace kamo
