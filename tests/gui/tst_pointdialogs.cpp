// The point table editors offscreen, by object name: a polar table of 37
// points pasted as a TSV block, sorted, rotated, calculated and saved from
// the grid of TForm_ribopoip; five fit points of a spline in TForm_ribopoin;
// each compared with the project file written by hand. Then the menus, row
// commands and the "Cubic Spline" captions.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <cmath>

#include "cam/glsyst2.h"
#include "cam/kamorech.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "gui/mainwindow.h"
#include "gui/pointdialogs.h"
#include "gui/qtest_modal.h"
#include "io/kamoio.h"
#include "shell/curveinput.h"
#include "shell/pointtable.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;
using namespace kamo::test;

namespace {
QString CellText(QWidget* m, int row, int col) {
  auto* item = Child<QTableWidget>(m, "StringGrid1")->item(row, col);
  return item ? item->text() : QString();
}
// Answers the next prompt with text.
void AnswerPrompt(const QString& text) {
  test::WhenModal([text](QWidget* p) {
    auto* e = Child<QLineEdit>(p, "Edit_text");
    e->setText(text);
    Click(p, "Button_ok");
  });
}
bool Near(Real a, Real b) { return std::fabs(static_cast<double>(a - b)) <= 1e-5 * (1 + std::fabs(static_cast<double>(b))); }

// Chooses the curve type in the list of Edit > "Geometrie", then plays the
// user on the editor.
void EditGeometry(Thh& w, int type, std::function<void(QWidget*)> editor) {
  bool ran = false;
  test::WhenModal([type, editor, &ran](QWidget* m) {
    Child<QListWidget>(m, "ListBox_choice")->setCurrentRow(type - 1);
    test::WhenModal([editor, &ran](QWidget* d) {
      ran = true;
      editor(d);
      // A failed check returns early: the editor must not stay open.
      if (d->isVisible()) static_cast<QDialog*>(d)->reject();
    });
    Click(m, "Button_ok");
  });
  w.findChild<QAction*>("mi_editGeometrie")->trigger();
  QVERIFY(ran);
}

// The saved project against the hand-written one, both calculated: the
// same bytes and the same results.
void CompareWithHandWritten(Thh& w, const std::string& saved, const char* file, bool fit) {
  const std::string byHand = std::string(KAMO_SOURCE_DIR) + "/tests/gui/data/" + file;
  CamProject expected;
  QVERIFY(ReadProject(w.session().ui, w.session().settings, byHand, expected));
  MessageList messages;
  Flags flags;
  if (fit) QVERIFY(FitPoints(expected, messages).ok);
  Calculate(expected, messages, flags, w.session().settings);
  QVERIFY(!flags.calcError);
  expected.body = w.session().project().body;  // the A3 start view's bore
  test::TempFolder folder;
  const std::string again = folder.file("again.kmo");
  QVERIFY(WriteProjectFile(w.session().ui, w.session().settings, again, expected));
  const QStringList got = QString::fromLatin1(test::ReadFileBytes(saved)).split("\r\n");
  const QStringList want = QString::fromLatin1(test::ReadFileBytes(again)).split("\r\n");
  for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
    QVERIFY2(got[i] == want[i], qPrintable(QString("%1 line %2: %3 | %4").arg(file).arg(i + 1).arg(got[i], want[i])));
  QCOMPARE(got.size(), want.size());
  const CamResults& a = w.session().project().results;
  QVERIFY(Near(expected.results.rMax, a.rMax));
  QVERIFY(Near(expected.results.rMin, a.rMin));
  QVERIFY(Near(expected.results.stroke, a.stroke));
  QVERIFY(Near(expected.results.aMax, a.aMax));
  QCOMPARE(expected.contourCount, w.session().project().contourCount);
}

// 37 points at 9k + 1 degrees in a shuffled order; r = 40 + k mod 5, + 0.5 for odd k.
QString PolarBlock() {
  QString t;
  for (int j = 0; j < 37; ++j) {
    int k = (10 * j) % 37;
    double r = 40 + k % 5 + (k % 2 ? 0.5 : 0);
    t += QString::number(9 * k + 1) + "\t" + QString::number(r) + "\n";
  }
  return t;
}
}  // namespace

class PointDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void polarTableFromTheClipboard() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.session().project().resetProject();
    w.resize(900, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const std::string saved = folder.file("polar.kmo");
    EditGeometry(w, ctPolarPoints, [&saved](QWidget* m) {
      QCOMPARE(m->objectName(), QString("TForm_ribopoip"));
      auto* spin = Child<QSpinBox>(m, "SpinEdit1");
      auto* grid = Child<QTableWidget>(m, "StringGrid1");
      QCOMPARE(spin->value(), 2);
      QCOMPARE(spin->maximum(), 1000);
      QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("phi (0..360\u00B0)"));
      QVERIFY(Child<QCheckBox>(m, "CheckBox_jarlinearisieren")->isChecked());
      spin->setValue(37);
      QCOMPARE(grid->rowCount(), 37);
      QApplication::clipboard()->setText(PolarBlock());
      grid->setCurrentCell(0, 0);
      Trigger(m, "mi_editPaste");
      QCOMPARE(CellText(m, 0, 0), QString("1"));
      QCOMPARE(CellText(m, 1, 0), QString("91"));
      QCOMPARE(CellText(m, 36, 1), QString("42.5"));
      Shot(m, "guide5-polar");
      Trigger(m, "mi_calcSort");
      QCOMPARE(CellText(m, 1, 0), QString("10"));
      QCOMPARE(CellText(m, 36, 0), QString("325"));
      AnswerPrompt("4");
      Trigger(m, "mi_calcRotate");
      QCOMPARE(CellText(m, 0, 0), QString("5"));
      QCOMPARE(CellText(m, 36, 0), QString("329"));
      QCOMPARE(spin->value(), 37);
      Click(m, "Button_calc");
      QVERIFY(m->isVisible());  // "Calc" keeps the editor open
      test::AnswerFileDialog(saved);
      Trigger(m, "mi_fileSave");
      Click(m, "Button_ok");
    });
    CamProject& p = w.session().project();
    QVERIFY(!w.session().flags.abortFlag);
    QCOMPARE(int(p.curveType), int(ctPolarPoints));
    QCOMPARE(p.prCount, 37);
    QVERIFY(!w.session().flags.calcError);
    QVERIFY(w.shell().screen.size() > 10);
    w.repaint();
    Shot(&w, "guide6-polar-window");
    // The file written by "Save" holds the table; the project after the
    // command is the same cam (the command calculated it once more).
    QVERIFY(std::filesystem::exists(saved));
    const std::string after = folder.file("after.kmo");
    QVERIFY(WriteProjectFile(w.session().ui, w.session().settings, after, p));
    CompareWithHandWritten(w, after, "polar_points.kmo", false);
    CamProject fromSave;
    QVERIFY(ReadProject(w.session().ui, w.session().settings, saved, fromSave));
    QCOMPARE(fromSave.prCount, 37);
    QVERIFY(Near(fromSave.prPoints[37].phi, DegToRad(329.0L)));
  }

  void splineFromFivePoints() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.session().project().resetProject();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    EditGeometry(w, ctFitPoints, [](QWidget* m) {
      QCOMPARE(m->objectName(), QString("TForm_ribopoin"));
      QVERIFY(!m->findChild<QAction*>("mi_calcSort"));  // type 10 only
      QVERIFY(!Child<QPushButton>(m, "Button_calc")->isVisible());
      auto* spin = Child<QSpinBox>(m, "SpinEdit1");
      QCOMPARE(spin->maximum(), 50);
      spin->setValue(5);
      auto* grid = Child<QTableWidget>(m, "StringGrid1");
      const char* r[5] = {"40", "44", "41", "45", "42"};
      for (int i = 0; i < 5; ++i) {
        grid->item(i, 0)->setText(QString::number(72 * i));
        grid->item(i, 1)->setText(r[i]);
      }
      QVERIFY(Child<QLabel>(m, "Label_poly1")->isVisible());
      Child<QRadioButton>(m, "RadioGroup1_1")->click();
      QVERIFY(!Child<QLabel>(m, "Label_poly1")->isVisible());
      QVERIFY(!Child<QLabel>(m, "Label_poly2")->isVisible());
      Shot(m, "guide7-spline");
      Click(m, "Button_ok");
    });
    CamProject& p = w.session().project();
    QVERIFY(!w.session().flags.abortFlag);
    QCOMPARE(int(p.curveType), int(ctFitPoints));
    QCOMPARE(p.calc.fitMode, 1);
    QVERIFY(!w.session().flags.calcError);
    const std::string saved = folder.file("saved.kmo");
    QVERIFY(WriteProjectFile(w.session().ui, w.session().settings, saved, p));
    CompareWithHandWritten(w, saved, "fit_spline.kmo", true);
  }

  // The menus and buttons on the logic: row commands with the count, copy,
  // units, and "Abbrechen" of the command.
  void menusRowsAndCancel() {
    test::ScriptedPort port;
    Session session{port};
    session.project().resetProject();
    session.project().prCount = 4;
    for (int i = 1; i <= 4; ++i) session.project().prPoints[static_cast<size_t>(i)] = {DegToRad(90.0L * (i - 1)), 40.0L + i};
    CurveInput in{session};
    int metric = 0;
    in.metricBeforeInch = &metric;
    PointTableEditor e(in, ctPolarPoints);
    TForm_points d(e, &port);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QStringList menus;
    for (QAction* a : Child<QMenuBar>(&d, "MainMenu1")->actions()) menus << a->text();
    QCOMPARE(menus, QStringList({"File", "Edit", "Calc"}));
    QCOMPARE(Child<QAction>(&d, "mi_editPaste")->text(), QString("Einf\u00FCgen"));
    QCOMPARE(Child<QAction>(&d, "mi_editDeleteLines")->text(), QString("&L\u00F6schen Zeilen"));
    QVERIFY(d.findChild<QAction*>("mi_fileImportCsv"));
    QVERIFY(d.findChild<QAction*>("mi_fileExportCsv"));
    auto* grid = d.grid();
    auto* spin = Child<QSpinBox>(&d, "SpinEdit1");
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 1), true);
    Trigger(&d, "mi_editInsertLines");
    QCOMPARE(spin->value(), 6);
    QCOMPARE(grid->rowCount(), 6);
    QCOMPARE(CellText(&d, 3, 1), QString("42"));
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(0, 0, 4, 1), true);
    Trigger(&d, "mi_editDeleteLines");  // would leave one point
    QCOMPARE(port.boxTexts().back(), std::string("Mindestens 2 Punkte !"));
    QCOMPARE(spin->value(), 6);
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 1), true);
    Trigger(&d, "mi_editDeleteLines");
    QCOMPARE(spin->value(), 4);
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(2, 0, 3, 1), true);
    Trigger(&d, "mi_editCopy");
    QCOMPARE(QApplication::clipboard()->text(), QString("180\t43\r\n270\t44\r\n"));
    // Typed into a cell and stored by a unit switch; the rest stays exact.
    grid->item(0, 1)->setText("25.4");
    Click(&d, "Button_metriccode");
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("r [in]"));
    QCOMPARE(CellText(&d, 0, 1), QString("1"));
    Click(&d, "Button_metriccode");
    Click(&d, "Button_degrad");
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("phi (0..2pi)"));
    Click(&d, "Button_degrad");
    QCOMPARE(CellText(&d, 3, 0), QString("270"));
    Click(&d, "Button_ok");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(session.project().prCount, 4);
    QCOMPARE(session.project().prPoints[1].r, 25.4L);
    QCOMPARE(session.project().prPoints[4].phi, DegToRad(270.0L));
  }

  void cancelRestoresTheProject() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.shell().openProject(std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo"));
    const Real rMax = w.session().project().results.rMax;
    const int type = w.session().project().curveType;
    w.session().flags.modified = false;
    EditGeometry(w, ctPolarPoints, [](QWidget* m) {
      Child<QSpinBox>(m, "SpinEdit1")->setValue(3);
      QApplication::clipboard()->setText("0\t30\r\n120\t35\r\n240\t40");
      Child<QTableWidget>(m, "StringGrid1")->setCurrentCell(0, 0);
      Trigger(m, "mi_editPaste");
      Click(m, "Button_calc");
      Click(m, "Button_cancel");
    });
    QVERIFY(w.session().flags.abortFlag);
    QCOMPARE(int(w.session().project().curveType), type);
    QCOMPARE(w.session().project().results.rMax, rMax);
    QVERIFY(!w.session().flags.modified);
  }
};

QTEST_MAIN(PointDialogTest)
#include "tst_pointdialogs.moc"
