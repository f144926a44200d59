// The motion programme dialog, offscreen and by object name, on the real
// logic of the shell; the further laws of the segment dialog's two-point
// section; then Edit > "Bewegungsprogramm…" in the main window.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QtTest>

#include "cam/kamorech.h"
#include "gui/curvedialogs.h"
#include "gui/mainwindow.h"
#include "gui/motiondialog.h"
#include "gui/qtest_modal.h"
#include "shell/curveinput.h"
#include "shell/motioninput.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;
using namespace kamo::test;

namespace {
QString Label(QWidget* w, const char* name) { return Child<QLabel>(w, name)->text(); }

struct Bench {
  test::ScriptedPort port;
  Session session{port};
  MotionProgramme last;
  Bench() { session.project().resetProject(); }
};

void SetCell(QTableWidget* t, int row, int col, const QString& text) { t->item(row, col)->setText(text); }
}  // namespace

class MotionDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void rowsPreviewAndChecks() {
    Bench b;
    MotionEditor e(b.session, b.last);
    TForm_bewegung d(e, nullptr);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.windowTitle(), QString("Bewegungsprogramm"));
    QVERIFY(d.width() <= 1366 && d.height() <= 728);
    QCOMPARE(Child<QLineEdit>(&d, "Edit_basis")->text(), QString("40"));
    auto* table = Child<QTableWidget>(&d, "StringGrid_rows");
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(Child<QComboBox>(&d, "ComboBox_law_0")->currentText(), QString("Zykloide"));
    QCOMPARE(Child<QComboBox>(&d, "ComboBox_law_2")->currentText(), QString("Polynom 3-4-5"));
    auto* preview = Child<MotionPreviewWidget>(&d, "Graph_preview");
    QCOMPARE(preview->preview().curves.size(), size_t(4));
    QVERIFY(Label(&d, "Label_summe").contains(QString::fromUtf8("Summe 360\u00B0")));
    QCOMPARE(Label(&d, "Label_error"), QString());
    // A law with several segments: the count follows at once.
    Child<QComboBox>(&d, "ComboBox_law_2")->setCurrentIndex(6);  // mod. Trapez
    QVERIFY2(Label(&d, "Label_summe").contains("8 von 10 Segmenten"), qPrintable(Label(&d, "Label_summe")));
    // Spans that do not fill the revolution: said at once, and OK refuses.
    SetCell(table, 3, 1, "50");
    QVERIFY2(Label(&d, "Label_error").startsWith("Fehler : Winkelsumme 350"), qPrintable(Label(&d, "Label_error")));
    Click(&d, "Button_ok");
    QVERIFY(d.isVisible());
    QCOMPARE(b.session.project().segmentCount, 0);
    SetCell(table, 3, 1, "60");
    QCOMPARE(Label(&d, "Label_error"), QString());
    // Rows come and go.
    table->setCurrentCell(1, 1);
    Click(&d, "Button_zeileNeu");
    QCOMPARE(table->rowCount(), 5);
    QVERIFY(!Label(&d, "Label_error").isEmpty());  // the new row has no span yet
    Click(&d, "Button_zeileLoeschen");
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(Label(&d, "Label_error"), QString());
    // The preview follows the base circle: s is the lift above it.
    Type(&d, "Edit_basis", "50");
    QCOMPARE(Label(&d, "Label_error"), QString());
    Shot(&d, "bewegung");
    Click(&d, "Button_ok");
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), static_cast<int>(QDialog::Accepted));
    const CamProject& p = b.session.project();
    QCOMPARE(int(p.curveType), int(ctFormula));
    QCOMPARE(p.segmentCount, 8);
    QCOMPARE(static_cast<double>(b.last.base), 50.0);
  }

  void segmentDialogFurtherLaws() {
    Bench b;
    CamProject& p = b.session.project();
    p.curveType = ctFormula;
    p.segmentCount = 2;
    p.segments[1] = {120, "50"};
    p.segments[2] = {360, "60"};
    SegmentEditor e(b.session, 1);
    TForm_kamonock d(e, nullptr);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    Child<QRadioButton>(&d, "RadioGroup_mode_1")->click();
    QCOMPARE(Child<QRadioButton>(&d, "RadioGroup_sinlin_0")->text(), QString("linear"));
    QCOMPARE(Child<QRadioButton>(&d, "RadioGroup_sinlin_1")->text(), QString("sinus"));
    QCOMPARE(Child<QRadioButton>(&d, "RadioGroup_sinlin_5")->text(), QString("mod. Trapez"));
    Type(&d, "Edit_r1", "50");
    Type(&d, "Edit_r2", "60");
    Type(&d, "Edit_phi2", "120");
    // A single-segment law fills the formula.
    Child<QRadioButton>(&d, "RadioGroup_sinlin_2")->click();
    Click(&d, "Button_calc");
    QVERIFY(Child<QLineEdit>(&d, "Edit_formel")->text().contains("SIN(2*PI*"));
    QCOMPARE(Label(&d, "Label_note"), QString());
    // A piecewise one asks first ("Nein" keeps the formula), then says what OK writes.
    QString before = Child<QLineEdit>(&d, "Edit_formel")->text();
    Child<QRadioButton>(&d, "RadioGroup_sinlin_5")->click();
    b.port.answers.push_back(Answer::No);
    Click(&d, "Button_calc");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_formel")->text(), before);
    b.port.answers.push_back(Answer::Yes);
    Click(&d, "Button_calc");
    QVERIFY(!Label(&d, "Label_note").isEmpty());
    QCOMPARE(Child<QLineEdit>(&d, "Edit_bisgrad")->text(), QString("15"));
    Shot(&d, "kamonock-laws");
    Click(&d, "Button_ok");
    QVERIFY(!d.isVisible());
    QCOMPARE(p.segmentCount, 6);
    QCOMPARE(static_cast<double>(p.segments[5].xMax), 120.0);
    QCOMPARE(p.segments[6].formula, std::string("60"));
  }

  // Edit > "Bewegungsprogramm…" in the window: OK writes the segments, the
  // cam is calculated and the start view drawn.
  void commandInTheWindow() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.session().project().resetProject();
    w.resize(900, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QAction* motion = w.findChild<QAction*>("mi_editBewegungsprogramm");
    QVERIFY(motion);
    QVERIFY(motion->isEnabled());
    QCOMPARE(motion->text(), QString::fromUtf8("Bewegungs&programm\u2026"));
    ModalScript s({[](QWidget* m) {
      QCOMPARE(m->objectName(), QString("TForm_bewegung"));
      Click(m, "Button_ok");
    }});
    motion->trigger();
    QVERIFY(s.done());
    const CamProject& p = w.session().project();
    QCOMPARE(int(p.curveType), int(ctFormula));
    QCOMPARE(p.segmentCount, 4);
    QVERIFY(!w.session().flags.calcError);
    QVERIFY(w.session().flags.modified);
    QVERIFY(std::fabs(static_cast<double>(p.results.rMax) - 60) < 1e-6);
    QVERIFY(w.shell().screen.size() > 10);
    w.repaint();
    Shot(&w, "bewegung-window");
    // Abbrechen changes nothing.
    ModalScript c({[](QWidget* m) {
      Child<QComboBox>(m, "ComboBox_law_0")->setCurrentIndex(6);
      Click(m, "Button_cancel");
    }});
    w.session().flags.modified = false;
    motion->trigger();
    QVERIFY(c.done());
    QCOMPARE(p.segmentCount, 4);
    QVERIFY(!w.session().flags.modified);
  }
};

QTEST_MAIN(MotionDialogTest)
#include "tst_motiondialog.moc"
