// File > "Neu…" in the real main window, offscreen and by object name: the
// drawing texts, the choice of motion programme or curve type, the curve
// type, the sine dialog, the speed, the follower and the calculation settings
// in turn; then the cam body with its "<" defaults and the follower again
// with its still picture; saved and compared with a project written by hand:
// the same inputs and, calculated, the same results. Once more with the
// motion programme instead of the curve type, saved and read back.
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <vector>

#include "cam/kamorech.h"
#include "gui/graphicsview.h"
#include "gui/mainwindow.h"
#include "gui/qtest_modal.h"
#include "io/kamoio.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;
using namespace kamo::test;

namespace {
// The inputs that the user and the file must agree on.
void CompareInputs(const CamProject& a, const CamProject& b) {
  QCOMPARE(a.curveType, b.curveType);
  QCOMPARE(a.sine.rw0, b.sine.rw0);
  QCOMPARE(a.sine.A, b.sine.A);
  QCOMPARE(a.sine.N, b.sine.N);
  QCOMPARE(a.speed, b.speed);
  QCOMPARE(a.ram.type, b.ram.type);
  QCOMPARE(a.ram.d, b.ram.d);
  QCOMPARE(a.ram.l, b.ram.l);
  QCOMPARE(a.ram.m, b.ram.m);
  QCOMPARE(a.body.width, b.body.width);
  QCOMPARE(a.body.bore, b.body.bore);
  QCOMPARE(a.calc.arcStep, b.calc.arcStep);
  QCOMPARE(a.calc.steps, b.calc.steps);
  QCOMPARE(a.calc.splineRes, b.calc.splineRes);
  QCOMPARE(a.calc.linearize, b.calc.linearize);
  QCOMPARE(a.drawing.zeichname, b.drawing.zeichname);
  QCOMPARE(a.drawing.zeichname2, b.drawing.zeichname2);
  QCOMPARE(a.drawing.zeichnr, b.drawing.zeichnr);
  QCOMPARE(a.drawing.bemerk1, b.drawing.bemerk1);
  QCOMPARE(a.drawing.bemerk2, b.drawing.bemerk2);
  QCOMPARE(a.drawing.bemerk3, b.drawing.bemerk3);
}
void CompareResults(const CamProject& a, const CamProject& b) {
  QCOMPARE(a.contourCount, b.contourCount);
  const CamResults &x = a.results, &y = b.results;
  for (auto [u, v] : {std::pair{x.rMin, y.rMin}, {x.rMax, y.rMax}, {x.stroke, y.stroke}, {x.sMin, y.sMin},
                      {x.vMin, y.vMin}, {x.vMax, y.vMax}, {x.aMin, y.aMin}, {x.aMax, y.aMax},
                      {x.phiAMax, y.phiAMax}, {a.section.A, b.section.A}})
    QCOMPARE(u, v);
}
}  // namespace

class NewProjectTest : public QObject {
  Q_OBJECT
 private slots:
  void newThroughEveryStep() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.session().file.fileDir = folder.path() + "/";
    // Something of an earlier project that a new one must not inherit.
    w.session().project().body.width = 77;
    w.resize(900, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QAction* fileNew = w.findChild<QAction*>("mi_fileNew");
    QVERIFY(fileNew && fileNew->isEnabled());

    ModalScript script({
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("Tform_uni4"));
          TypeAny(m, "Edit_zeichname", QString("Nocke S\u00FCd"));
          TypeAny(m, "Edit_zeichname2", "Hubkurve");
          TypeAny(m, "Edit_zeichnr", "KAMO-014");
          TypeAny(m, "Edit_bemerk1", QString("Ma\u00DFe in mm"));
          TypeAny(m, "Edit_bemerk2", QString("Pr\u00FCfstand"));
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_auswahl"));
          QCOMPARE(Child<QRadioButton>(m, "RadioButton_1")->text(),
                   QString::fromUtf8("Bewegungsprogramm (Hub, Rast, R\u00FCcklauf)"));
          auto* curveType = Child<QRadioButton>(m, "RadioButton_2");
          QCOMPARE(curveType->text(), QString::fromUtf8("Kurventyp w\u00E4hlen"));
          QVERIFY(Child<QRadioButton>(m, "RadioButton_1")->isChecked());
          Shot(m, "neu-auswahl");
          QTest::mouseClick(curveType, Qt::LeftButton, {}, QPoint(4, 4));
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          auto* list = Child<QListWidget>(m, "ListBox_choice");
          QCOMPARE(list->count(), 11);
          list->setCurrentRow(ctSine - 1);
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_ribosin"));
          TypeAny(m, "Edit_rw0", "40");
          TypeAny(m, "Edit_A", "8");
          TypeAny(m, "Edit_N", "2");
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_eingabe"));
          TypeAny(m, "Edit_text", "600");
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_kamoram"));
          QTest::mouseClick(Child<QRadioButton>(m, "RadioGroup_kontakt_0"), Qt::LeftButton, {}, QPoint(4, 4));
          TypeAny(m, "Edit_d", "12");
          TypeAny(m, "Edit_l", "40");
          TypeAny(m, "Edit_m", "0.05");
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_kamocalc"));
          TypeAny(m, "Edit_points", "360");
          Click(m, "Button_ok");
        },
    });
    fileNew->trigger();
    QVERIFY2(script.done(), qPrintable(script.seen.join(", ")));
    QVERIFY(w.session().flags.modified);
    QVERIFY(!w.session().flags.calcError);
    QCOMPARE(w.session().file.fileName, std::string());

    // The cam body: both "<" defaults from the smallest radius 32 mm.
    ModalScript body({[](QWidget* m) {
      QCOMPARE(m->objectName(), QString("TForm_kamocam"));
      Click(m, "Button_def_breite");
      Click(m, "Button_def_bohrung");
      QCOMPARE(Child<QLineEdit>(m, "Edit_breite")->text(), QString("26"));  // 25.6
      QCOMPARE(Child<QLineEdit>(m, "Edit_bohrung")->text(), QString("38"));  // 38.4
      Click(m, "Button_ok");
    }});
    w.findChild<QAction*>("mi_editAbmessungen")->trigger();
    QVERIFY(body.done());

    // The follower once more: "OK" ends with the still picture.
    w.shell().screen.Clear();
    ModalScript follower({[](QWidget* m) { Click(m, "Button_ok"); }});
    w.findChild<QAction*>("mi_editStoessel")->trigger();
    QVERIFY(follower.done());
    QVERIFY(w.shell().screen.size() > 10);
    QVERIFY(!w.graphicsView()->replayFailed());
    w.repaint();
    Shot(&w, "stoessel-picture");

    const std::string saved = folder.file("neu.kmo");
    test::AnswerFileDialog(saved);
    w.findChild<QAction*>("mi_fileSaveAs")->trigger();
    QVERIFY(std::filesystem::exists(saved));
    QVERIFY(!w.session().flags.modified);

    Session& s = w.session();
    CamProject fromFile, byHand;
    QVERIFY(ReadProject(s.ui, s.settings, saved, fromFile));
    QVERIFY(ReadProject(s.ui, s.settings, std::string(KAMO_SOURCE_DIR) + "/tests/gui/data/new_sine.kmo",
                        byHand));
    CompareInputs(s.project(), byHand);
    CompareInputs(fromFile, byHand);
    MessageList m1, m2;
    Flags f1, f2;
    Calculate(fromFile, m1, f1, s.settings);
    Calculate(byHand, m2, f2, s.settings);
    QVERIFY(!f1.calcError && !f2.calcError);
    QCOMPARE(m1.count(), m2.count());
    CompareResults(fromFile, byHand);
    CompareResults(s.project(), byHand);
    QVERIFY(std::fabs(static_cast<double>(byHand.results.stroke) - 16) < 0.01);
  }

  // File > "Neu…" from a motion programme: its dialog replaces the curve type
  // and its sine dialog; the cam is calculated, shown, saved and read back
  // with the same segments and results.
  void newFromAMotionProgramme() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.session().file.fileDir = folder.path() + "/";
    w.resize(900, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ModalScript script({
        [](QWidget* m) {
          TypeAny(m, "Edit_zeichname", "Hubkurve");
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_auswahl"));
          QTest::mouseClick(Child<QRadioButton>(m, "RadioButton_1"), Qt::LeftButton, {}, QPoint(4, 4));
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_bewegung"));
          TypeAny(m, "Edit_basis", "30");
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_eingabe"));
          TypeAny(m, "Edit_text", "300");
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_kamoram"));
          Click(m, "Button_ok");
        },
        [](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_kamocalc"));
          Click(m, "Button_ok");
        },
    });
    w.findChild<QAction*>("mi_fileNew")->trigger();
    QVERIFY2(script.done(), qPrintable(script.seen.join(", ")));
    const CamProject& p = w.session().project();
    QVERIFY(!w.session().flags.abortFlag);
    QVERIFY(!w.session().flags.calcError);
    QVERIFY(w.session().flags.modified);
    QCOMPARE(p.drawing.zeichname, std::string("Hubkurve"));
    QCOMPARE(int(p.curveType), int(ctFormula));
    QCOMPARE(p.segmentCount, 4);
    QCOMPARE(double(p.speed), 300.0);
    QVERIFY(std::fabs(static_cast<double>(p.results.rMin) - 30) < 1e-6);
    QVERIFY(std::fabs(static_cast<double>(p.results.rMax) - 50) < 1e-6);
    QVERIFY(w.shell().screen.size() > 10);
    QVERIFY(!w.graphicsView()->replayFailed());
    w.repaint();
    Shot(&w, "neu-bewegung-window");

    const std::string saved = folder.file("hub.kmo");
    test::AnswerFileDialog(saved);
    w.findChild<QAction*>("mi_fileSaveAs")->trigger();
    QVERIFY(!w.session().flags.modified);
    Session& s = w.session();
    CamProject fromFile;
    QVERIFY(ReadProject(s.ui, s.settings, saved, fromFile));
    QCOMPARE(fromFile.curveType, p.curveType);
    QCOMPARE(fromFile.segmentCount, p.segmentCount);
    for (size_t i = 1; i <= 4; ++i) {
      QCOMPARE(fromFile.segments[i].formula, p.segments[i].formula);
      QCOMPARE(fromFile.segments[i].xMax, p.segments[i].xMax);
    }
    MessageList m1;
    Flags f1;
    Calculate(fromFile, m1, f1, s.settings);
    QVERIFY(!f1.calcError);
    CompareResults(fromFile, p);
  }

  // A cancel late in the sequence keeps what was entered: closing asks.
  void lateCancelKeepsTheInput() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.session().file.fileDir = folder.path() + "/";
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ModalScript script({
        [](QWidget* m) {
          TypeAny(m, "Edit_zeichname", "Entwurf");
          Click(m, "Button_ok");
        },
        [](QWidget* m) { Click(m, "Button_cancel"); },  // programme or curve type
    });
    w.findChild<QAction*>("mi_fileNew")->trigger();
    QVERIFY(script.done());
    QCOMPARE(w.session().project().drawing.zeichname, std::string("Entwurf"));
    QVERIFY(w.session().flags.modified);
    QString asked;
    test::WhenModal([&asked](QWidget* box) {
      asked = box->property("text").toString();
      QTest::mouseClick(box->findChild<QPushButton*>("Button_no"), Qt::LeftButton);
    });
    QVERIFY(!w.close());  // "Nein": do not throw the input away
    QCOMPARE(asked, QString("Bisherige Eingaben verwerfen ?"));
    w.session().flags.modified = false;
  }
};

QTEST_MAIN(NewProjectTest)
#include "tst_newproject.moc"
