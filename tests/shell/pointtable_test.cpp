// The point table editors without a display: the grid's clipboard and row
// commands, store and fill with exact values, the table operations of type
// 10, the fit of type 8 on "OK" and "Save", the DXF and CSV exchange, and
// the snapshot that "Abbrechen" of the command restores.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>

#include "cam/kamorech.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "shell/curveinput.h"
#include "shell/pointtable.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

class TablePort : public test::ScriptedPort {
 public:
  std::deque<std::function<bool(PointTableLogic&)>> tables;
  bool pointTableDialog(PointTableLogic& l) override {
    if (tables.empty()) {
      ADD_FAILURE() << "unscripted point table";
      return false;
    }
    auto f = tables.front();
    tables.pop_front();
    return f(l);
  }
};

struct Bench {
  TablePort port;
  Session session{port};
  int metric = 0;
  int views = 0, saves = 0, questions = 0;
  bool questionAnswer = true;
  CurveInput in{session};
  Bench() {
    session.project().resetProject();
    in.calculate = [this] { Calculate(session.project(), session.messages, session.flags, session.settings); };
    in.show = [this](ViewCode) { ++views; };
    in.saveProject = [this] {
      ++saves;
      return true;
    };
    in.saveQuestion = [this] {
      ++questions;
      return questionAnswer;
    };
    in.metricBeforeInch = &metric;
  }
  CamProject& p() { return session.project(); }
  // n polar points at 360/n degree steps, r = 40 + i.
  void polar(int n) {
    p().prCount = n;
    for (int i = 1; i <= n; ++i) p().prPoints[static_cast<size_t>(i)] = {DegToRad(360.0L * (i - 1) / n), 40.0L + i};
  }
};

PointCells At(int row, int col) { return {row, col, row, col}; }
std::string Cell(PointTableLogic& l, int row, int col) {
  return l.state().rows.at(static_cast<size_t>(row))[static_cast<size_t>(col)];
}

// ---------------------------------------------------------------- clipboard

TEST(PointClipboard, RowsEndAtEveryLineEndAndTheLastNeedsNone) {
  using Rows = std::vector<std::vector<std::string>>;
  struct Case {
    const char* name;
    std::string text;
    Rows rows;
  } cases[] = {
      {"CR LF", "1\t2\r\n3\t4\r\n", {{"1", "2"}, {"3", "4"}}},
      {"LF, last row without end", "1\t2\n3\t4", {{"1", "2"}, {"3", "4"}}},
      {"CR", "1\t2\r3\t4\r", {{"1", "2"}, {"3", "4"}}},
      {"mixed, empty line kept", "1\r\n\n2", {{"1"}, {""}, {"2"}}},
      {"empty cells", "\t5\n", {{"", "5"}}},
      {"nothing", "", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitClipboard(c.text), c.rows) << c.name;
}

TEST(PointGridTest, PasteFillsRightAndDownAndDropsWhatFallsOutside) {
  PointGrid g(10, 3);
  // Three cells a row from the phi column: the third has no column.
  g.paste(At(0, 0), "10\t20\t99\n30\t40\t99\n");
  EXPECT_EQ(g.row(0)[0].text, "10");
  EXPECT_EQ(g.row(0)[1].text, "20");
  EXPECT_EQ(g.row(1)[1].text, "40");
  // From the r column only the first cell of each row lands; rows beyond
  // the count are dropped, the count stays.
  g.paste(At(2, 1), "7\t8\n9\t10\n11");
  EXPECT_EQ(g.row(2)[1].text, "7");
  EXPECT_EQ(g.row(2)[0].text, "");
  EXPECT_EQ(g.row(3)[1].text, "");
  EXPECT_EQ(g.count(), 3);
  // An empty line leaves its row alone.
  g.paste(At(0, 0), "1\t2\n\n5\t6");
  EXPECT_EQ(g.row(1)[0].text, "30");
  EXPECT_EQ(g.row(2)[0].text, "5");
}

TEST(PointGridTest, CopyJoinsCellsWithTabsAndEndsRowsWithCrLf) {
  PointGrid g(5, 3);
  for (int i = 0; i < 3; ++i) {
    g.setText(i, 0, std::to_string(i));
    g.setText(i, 1, std::to_string(10 * i));
  }
  EXPECT_EQ(g.copy({0, 0, 1, 1}), "0\t0\r\n1\t10\r\n");
  EXPECT_EQ(g.copy({2, 1, 2, 1}), "20\r\n");
  PointGrid h(5, 3);
  h.paste(At(0, 0), g.copy({0, 0, 2, 1}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(h.row(i)[1].text, g.row(i)[1].text);
}

TEST(PointGridTest, RowCommandsKeepBetweenTwoPointsAndTheCapacity) {
  struct Case {
    const char* name;
    int capacity, count;
    bool insert;
    int first, last;
    bool done;
    int countAfter;
    std::vector<std::string> phis;  // the rows after
  } cases[] = {
      {"delete one in the middle", 10, 4, false, 1, 1, true, 3, {"0", "2", "3"}},
      {"delete two", 10, 4, false, 2, 3, true, 2, {"0", "1"}},
      {"delete to one point refused", 10, 3, false, 0, 1, false, 3, {"0", "1", "2"}},
      {"grid of two points", 10, 2, false, 0, 0, false, 2, {"0", "1"}},
      {"insert two in front", 10, 3, true, 1, 2, true, 5, {"0", "", "", "1", "2"}},
      {"insert at the end", 10, 3, true, 3, 3, true, 4, {"0", "1", "2", ""}},
      {"insert up to the capacity", 5, 3, true, 0, 1, true, 5, {"", "", "0", "1", "2"}},
      {"insert past the capacity refused", 5, 4, true, 0, 1, false, 4, {"0", "1", "2", "3"}},
  };
  for (const Case& c : cases) {
    PointGrid g(c.capacity, c.count);
    for (int i = 0; i < c.count; ++i) g.setText(i, 0, std::to_string(i));
    bool done = c.insert ? g.insertRows(c.first, c.last) : g.deleteRows(c.first, c.last);
    EXPECT_EQ(done, c.done) << c.name;
    EXPECT_EQ(g.count(), c.countAfter) << c.name;
    std::vector<std::string> phis;
    for (int i = 0; i < g.count(); ++i) phis.push_back(g.row(i)[0].text);
    EXPECT_EQ(phis, c.phis) << c.name;
  }
}

// ---------------------------------------------------------------- store and fill

TEST(PointEditor, UntouchedCellsKeepTheirExactValuesThroughEveryToggle) {
  Bench b;
  b.polar(3);
  const Real third = 1.0L / 3, odd = 40.123456789012345678L;
  b.p().prPoints[2] = {third, odd};
  auto before = b.p().prPoints;
  PointTableEditor e(b.in, ctPolarPoints);
  for (PointCommand c : {PointCommand::AngleMode, PointCommand::Units, PointCommand::Units, PointCommand::AngleMode,
                         PointCommand::Ok})
    ASSERT_TRUE(e.command(c));
  EXPECT_EQ(b.p().prPoints[2].phi, third);
  EXPECT_EQ(b.p().prPoints[2].r, odd);
  EXPECT_EQ(b.p().prPoints[1].phi, before[1].phi);
  // Cells read back as exactly what they show.
  EXPECT_EQ(ParseReal(Cell(e, 0, 1)), 41);
  EXPECT_EQ(Cell(e, 2, 0), "240");
  // Radians and back show the same degrees.
  ASSERT_TRUE(e.command(PointCommand::AngleMode));
  EXPECT_EQ(e.state().phiHeader, "phi (0..2pi)");
  ASSERT_TRUE(e.command(PointCommand::AngleMode));
  EXPECT_EQ(Cell(e, 2, 0), "240");
  EXPECT_EQ(e.state().phiHeader, "phi (0..360\u00B0)");
}

TEST(PointEditor, TypedCellsAreReadInTheShownUnits) {
  struct Case {
    const char* name;
    bool radians, inch;
    std::string phi, r;
    Real wantPhi, wantR;
  } cases[] = {
      {"degrees, mm", false, false, "90", "40,5", kPi / 2, 40.5L},
      {"radians", true, false, "1.5", "40", 1.5L, 40},
      {"inch", false, true, "180", "2", kPi, 50.8L},
      {"empty cells are 0", false, false, "", " ", 0, 0},
  };
  for (const Case& c : cases) {
    Bench b;
    b.polar(2);
    PointTableEditor e(b.in, ctPolarPoints);
    if (c.radians) {
      ASSERT_TRUE(e.command(PointCommand::AngleMode));
    }
    if (c.inch) {
      ASSERT_TRUE(e.command(PointCommand::Units));
    }
    e.edit(1, 0, c.phi);
    e.edit(1, 1, c.r);
    ASSERT_TRUE(e.command(PointCommand::Ok)) << c.name;
    EXPECT_NEAR(static_cast<double>(b.p().prPoints[2].phi), static_cast<double>(c.wantPhi), 1e-15) << c.name;
    EXPECT_NEAR(static_cast<double>(b.p().prPoints[2].r), static_cast<double>(c.wantR), 1e-13) << c.name;
  }
}

TEST(PointEditor, TextThatIsNoNumberIsRefusedNamingTheRow) {
  Bench b;
  b.polar(4);
  auto before = b.p().prPoints;
  PointTableEditor e(b.in, ctPolarPoints);
  e.edit(0, 1, "50");
  e.edit(2, 1, "4O");
  EXPECT_FALSE(e.command(PointCommand::Ok));
  EXPECT_FALSE(e.command(PointCommand::Sort));
  ASSERT_EQ(b.port.boxes.size(), 2u);
  EXPECT_EQ(b.port.boxes[0].text, "Keine Zahl in Zeile 3: \"4O\" !");
  EXPECT_EQ(b.p().prPoints[1].r, before[1].r);  // nothing stored
}

TEST(PointEditor, TheCountFollowsEveryRowCommand) {
  Bench b;
  b.polar(4);
  PointTableEditor e(b.in, ctPolarPoints);
  ASSERT_TRUE(e.insertRows(1, 2));
  EXPECT_EQ(e.state().count, 6);
  ASSERT_TRUE(e.deleteRows(0, 0));
  EXPECT_EQ(e.state().count, 5);
  ASSERT_TRUE(e.command(PointCommand::Ok));
  EXPECT_EQ(b.p().prCount, 5);
  // The inserted rows read as 0; the rest keep their points.
  EXPECT_EQ(b.p().prPoints[1].r, 0);
  EXPECT_EQ(b.p().prPoints[3].r, 42);
  EXPECT_FALSE(e.deleteRows(0, 3));
  EXPECT_EQ(b.port.boxTexts().back(), "Mindestens 2 Punkte !");
  EXPECT_EQ(e.state().count, 5);

  Bench f;
  f.p().poly.n = 49;
  PointTableEditor fit(f.in, ctFitPoints);
  EXPECT_TRUE(fit.insertRows(0, 0));
  EXPECT_FALSE(fit.insertRows(0, 0));
  EXPECT_EQ(f.port.boxTexts().back(), "zu viele Punkte !");
  EXPECT_EQ(fit.state().count, 50);
  fit.setCount(70);
  EXPECT_EQ(fit.state().count, 50);
}

TEST(PointEditor, RowsBehindTheCountKeepTheirText) {
  Bench b;
  b.polar(5);
  PointTableEditor e(b.in, ctPolarPoints);
  e.setCount(3);
  ASSERT_TRUE(e.command(PointCommand::Ok));
  EXPECT_EQ(b.p().prCount, 3);
  e.setCount(5);
  EXPECT_EQ(Cell(e, 4, 1), "45");
}

// ---------------------------------------------------------------- table operations

TEST(PointEditor, SortMultiplyAndRotate) {
  struct Case {
    const char* name;
    PointCommand command;
    std::optional<std::string> answer;
    std::vector<Real> phisDeg, rs;  // the table before
    std::vector<Real> wantDeg, wantR;
  } cases[] = {
      {"sort", PointCommand::Sort, std::nullopt, {90, 10, 45}, {1, 2, 3}, {10, 45, 90}, {2, 3, 1}},
      {"350 and 20 by 30", PointCommand::Rotate, "30", {350, 20}, {1, 2}, {20, 50}, {1, 2}},
      {"10 by -30", PointCommand::Rotate, "-30", {10, 100}, {1, 2}, {70, 340}, {2, 1}},
      {"half the radii", PointCommand::Multiply, "0.5", {0, 180}, {40, 30}, {0, 180}, {20, 15}},
  };
  for (const Case& c : cases) {
    Bench b;
    b.p().prCount = static_cast<int>(c.rs.size());
    for (size_t i = 0; i < c.rs.size(); ++i) b.p().prPoints[i + 1] = {DegToRad(c.phisDeg[i]), c.rs[i]};
    if (c.answer) {
      b.port.texts.push_back(c.answer);
    }
    PointTableEditor e(b.in, ctPolarPoints);
    ASSERT_TRUE(e.command(c.command)) << c.name;
    for (size_t i = 0; i < c.wantR.size(); ++i) {
      EXPECT_NEAR(static_cast<double>(RadToDeg(b.p().prPoints[i + 1].phi)), static_cast<double>(c.wantDeg[i]), 1e-9)
          << c.name;
      EXPECT_EQ(b.p().prPoints[i + 1].r, c.wantR[i]) << c.name;
      EXPECT_EQ(ParseReal(Cell(e, static_cast<int>(i), 1)), c.wantR[i]) << c.name;
    }
  }
}

TEST(PointEditor, AFactorOutOfRangeIsRefusedAndACancelChangesNothing) {
  Bench b;
  b.polar(3);
  b.port.texts = {std::string("2000"), std::nullopt, std::nullopt};
  PointTableEditor e(b.in, ctPolarPoints);
  e.edit(0, 1, "77");
  EXPECT_FALSE(e.command(PointCommand::Multiply));
  EXPECT_FALSE(e.command(PointCommand::Rotate));
  EXPECT_EQ(b.p().prPoints[1].r, 41);  // not even stored
  EXPECT_FALSE(b.session.flags.abortFlag);
  ASSERT_FALSE(b.port.boxes.empty());
  EXPECT_NE(b.port.boxes[0].text.find("1000"), std::string::npos);
  EXPECT_EQ(b.port.textPrompts.at(0).label, "Multiplikator");
  EXPECT_EQ(b.port.textPrompts.back().label, "Drehwinkel deg");
}

TEST(PointEditor, CalcStoresCalculatesPreviewsAndStaysOpen) {
  Bench b;
  b.polar(36);
  b.p().curveType = ctPolarPoints;
  PointTableEditor e(b.in, ctPolarPoints);
  e.setSetting(0);
  ASSERT_TRUE(e.command(PointCommand::Calc));
  EXPECT_FALSE(b.session.flags.calcError);
  EXPECT_FALSE(b.p().calc.linearize);
  EXPECT_EQ(b.views, 1);
  EXPECT_TRUE(b.in.calculated);
  EXPECT_GT(b.p().results.rMax, 70);
}

// ---------------------------------------------------------------- type 8

TEST(FitEditor, OkAndSaveFitTheStoredPoints) {
  for (PointCommand c : {PointCommand::Ok, PointCommand::Save}) {
    Bench b;
    b.p().poly.n = 2;
    PointTableEditor e(b.in, ctFitPoints);
    e.setCount(3);
    // r = 40 + 3 phi - phi^2 (phi in radians) through three points.
    const char* rows[3][2] = {{"0", "40"}, {"57.29577951308232", "42"}, {"114.59155902616465", "42"}};
    for (int i = 0; i < 3; ++i) {
      e.edit(i, 0, rows[i][0]);
      e.edit(i, 1, rows[i][1]);
    }
    ASSERT_TRUE(e.command(c));
    EXPECT_EQ(b.saves, c == PointCommand::Save ? 1 : 0);
    EXPECT_EQ(b.p().poly.n, 3);
    EXPECT_NEAR(static_cast<double>(b.p().poly.coef[1]), 40, 1e-9);
    EXPECT_NEAR(static_cast<double>(b.p().poly.coef[2]), 3, 1e-9);
    EXPECT_NEAR(static_cast<double>(b.p().poly.coef[3]), -1, 1e-9);
  }
}

TEST(FitEditor, SplineBuildsBasePointsAndEqualAnglesAreRefusedForThePolynomial) {
  Bench b;
  b.p().poly.n = 5;
  for (int i = 1; i <= 5; ++i) b.p().poly.points[static_cast<size_t>(i)] = {DegToRad(72.0L * (i - 1)), 40.0L + (i % 2)};
  PointTableEditor e(b.in, ctFitPoints);
  e.setSetting(1);
  ASSERT_TRUE(e.command(PointCommand::Ok));
  EXPECT_EQ(b.p().calc.fitMode, 1);
  EXPECT_GT(b.p().basePointCount, 5);

  e.setSetting(0);
  e.edit(3, 0, "72");
  EXPECT_FALSE(e.command(PointCommand::Ok));
  EXPECT_EQ(b.port.boxTexts().back(), "Gleicher Winkel phi in Zeile 2 und 4 !");
  EXPECT_EQ(b.saves, 0);
  EXPECT_FALSE(e.command(PointCommand::Save));
  EXPECT_EQ(b.saves, 0);
  // The polar commands belong to type 10.
  EXPECT_FALSE(e.command(PointCommand::Sort));
  EXPECT_EQ(e.form().objectName, "TForm_ribopoin");
  EXPECT_EQ(e.form().polyNotes.size(), 2u);
}

// ---------------------------------------------------------------- files

const char* kSquareDxf =
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\n0\n10\n40\n20\n-40\n11\n40\n21\n40\n"
    "0\nLINE\n8\n0\n10\n40\n20\n40\n11\n-40\n21\n40\n"
    "0\nLINE\n8\n0\n10\n-40\n20\n40\n11\n-40\n21\n-40\n"
    "0\nLINE\n8\n0\n10\n-40\n20\n-40\n11\n40\n21\n-40\n"
    "0\nENDSEC\n0\nEOF\n";

TEST(PolarFiles, ImportDxfAsksTheSaveQuestionInsteadOfWritingTheFile) {
  for (bool answer : {true, false}) {
    test::TempFolder folder;
    Bench b;
    b.polar(3);
    b.questionAnswer = answer;
    test::WriteFileBytes(folder.file("square.dxf"), kSquareDxf);
    b.port.files.push_back(folder.file("square.dxf"));
    PointTableEditor e(b.in, ctPolarPoints);
    e.edit(0, 1, "55");
    bool imported = e.command(PointCommand::ImportDxf);
    EXPECT_EQ(b.questions, 1);
    EXPECT_EQ(b.saves, 0);
    // What the table held was shown to the question as modified.
    EXPECT_TRUE(b.session.flags.modified);
    EXPECT_FALSE(b.session.flags.abortFlag);
    EXPECT_EQ(imported, answer);
    if (answer) {
      EXPECT_EQ(b.p().prCount, 4);
      EXPECT_EQ(e.state().count, 4);
      EXPECT_NEAR(static_cast<double>(ParseReal(Cell(e, 0, 1))), 56.5685, 1e-3);
    } else {
      EXPECT_EQ(b.p().prCount, 3);
      EXPECT_EQ(b.port.files.size(), 1u);  // no file dialog
    }
  }
}

TEST(PolarFiles, CsvImportAndExport) {
  test::TempFolder folder;
  Bench b;
  b.polar(3);
  test::WriteFileBytes(folder.file("in.csv"), "phi;r\r\n0;40,5\r\n90;41\r\n180;42,25\r\n270;41\r\n");
  test::WriteFileBytes(folder.file("bad.csv"), "phi,r\n0,40\n90,x\n");
  b.port.files = {folder.file("bad.csv"), folder.file("in.csv"), folder.file("out.tsv"), folder.file("out.csv"),
                  std::nullopt};
  PointTableEditor e(b.in, ctPolarPoints);
  EXPECT_FALSE(e.command(PointCommand::ImportCsv));
  EXPECT_EQ(b.port.boxTexts().back(), "Keine Zahl in Zeile 3: \"x\" !");
  EXPECT_EQ(b.p().prCount, 3);
  ASSERT_TRUE(e.command(PointCommand::ImportCsv));
  EXPECT_EQ(b.p().prCount, 4);
  EXPECT_EQ(e.state().count, 4);
  EXPECT_EQ(b.p().prPoints[3].phi, DegToRad(180.0L));
  EXPECT_EQ(b.p().prPoints[3].r, 42.25L);
  EXPECT_EQ(Cell(e, 2, 0), "180");
  ASSERT_TRUE(e.command(PointCommand::ExportCsv));
  EXPECT_EQ(test::ReadFileBytes(folder.file("out.tsv")),
            "phi (0..360\u00B0)\tr [mm]\r\n0\t40.5\r\n90\t41\r\n180\t42.25\r\n270\t41\r\n");
  b.session.settings.numbers.decimalSeparator = ',';
  ASSERT_TRUE(e.command(PointCommand::ExportCsv));
  EXPECT_EQ(test::ReadFileBytes(folder.file("out.csv")),
            "phi (0..360\u00B0),r [mm]\r\n0,40.5\r\n90,41\r\n180,42.25\r\n270,41\r\n");
  EXPECT_FALSE(e.command(PointCommand::ImportCsv));  // cancelled dialog
  EXPECT_FALSE(b.session.flags.abortFlag);
}

// ---------------------------------------------------------------- the command

TEST(PointCommandTest, OkOfTheTableEndsTheCommandWithTheCalculation) {
  Bench b;
  b.polar(12);
  b.port.choices = {ctPolarPoints - 1};
  b.port.tables.push_back([](PointTableLogic& l) {
    EXPECT_EQ(l.form().objectName, "TForm_ribopoip");
    l.edit(0, 1, "60");
    return l.command(PointCommand::Ok);
  });
  EditCurveGeometry(b.in);
  EXPECT_FALSE(b.session.flags.abortFlag);
  EXPECT_EQ(b.p().curveType, ctPolarPoints);
  EXPECT_EQ(b.p().prPoints[1].r, 60);
  EXPECT_EQ(b.p().results.rMax, 60);
}

TEST(PointCommandTest, AbbrechenRestoresTheSnapshotOfTheCommand) {
  Bench b;
  b.p().curveType = ctSine;
  b.polar(12);
  b.p().calc.linearize = true;
  b.in.calc();
  b.in.calculated = false;
  const Real rMax = b.p().results.rMax;
  b.port.choices = {ctPolarPoints - 1};
  b.port.tables.push_back([](PointTableLogic& l) {
    l.edit(0, 1, "90");
    l.setSetting(0);
    EXPECT_TRUE(l.command(PointCommand::Calc));
    EXPECT_TRUE(l.command(PointCommand::Save));
    return false;  // "Abbrechen"
  });
  EditCurveGeometry(b.in);
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_EQ(b.p().curveType, ctSine);
  EXPECT_EQ(b.p().prPoints[1].r, 41);
  EXPECT_TRUE(b.p().calc.linearize);
  EXPECT_EQ(b.p().results.rMax, rMax);  // calculated again
  // The file was written meanwhile: the restored project differs from it.
  EXPECT_TRUE(b.session.flags.modified);
}

}  // namespace
}  // namespace kamo
