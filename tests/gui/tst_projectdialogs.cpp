// The small dialogs of the Edit menu, offscreen and by object name, on the
// real logic of the shell: "<" defaults, radio group and check box, clamps
// and refusals on "OK", and "Abbrechen" leaving the model alone.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>
#include <QPushButton>
#include <QRadioButton>
#include <QMessageBox>
#include <QtTest>

#include "gui/projectdialogs.h"
#include "gui/qtest_modal.h"
#include "shell/projectinput.h"
#include "shell/session.h"
#include "support/scripted_port.h"
#include "cam/kamorech.h"

using namespace kamo;
using namespace kamo::test;

namespace {
struct Bench {
  test::ScriptedPort port;
  Session session{port};
  Bench() { session.project().resetProject(); }
  CalcSettings& calc() { return session.project().calc; }
};
}  // namespace

class ProjectDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void calcSettingsDefaultsAndClamps() {
    Bench b;
    b.calc().linearize = false;
    CalcSettingsEditor e(b.session);
    TForm_fields d(e, &b.port);
    d.show();
    QCOMPARE(d.objectName(), QString("TForm_kamocalc"));
    Shot(&d, "kamocalc");
    Click(&d, "Button_def_grad");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_grad")->text(), QString("1"));
    Click(&d, "Button_def_points");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_points")->text(), QString("100"));
    Click(&d, "Button_def_nspline");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_nspline")->text(), QString("25"));
    Type(&d, "Edit_grad", "0");
    Type(&d, "Edit_points", "5000");
    Type(&d, "Edit_nspline", "1");
    auto* box = Child<QCheckBox>(&d, "CheckBox_jaRlinearisieren");
    QVERIFY(!box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    Click(&d, "Button_ok");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(double(b.calc().arcStep), 0.1);
    QCOMPARE(b.calc().steps, 1999);
    QCOMPARE(b.calc().splineRes, 2);
    QVERIFY(b.calc().linearize);
  }
  void cancelLeavesTheModel() {
    Bench b;
    b.calc().steps = 123;
    CalcSettingsEditor e(b.session);
    TForm_fields d(e, &b.port);
    d.show();
    Type(&d, "Edit_points", "777");
    Click(&d, "Button_cancel");
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(b.calc().steps, 123);
  }

  void followerDefaultsRadioAndRefusal() {
    Bench b;
    b.session.project().results.stroke = 12.4L;
    Follower& r = b.session.project().ram;
    r = Follower{2, 10, 30, 0.1L};
    FollowerEditor e(b.session);
    TForm_fields d(e, &b.port);
    d.show();
    QCOMPARE(d.objectName(), QString("TForm_kamoram"));
    QCOMPARE(d.windowTitle(), QString("St\u00F6ssel"));
    QVERIFY(Child<QRadioButton>(&d, "RadioGroup_kontakt_1")->isChecked());
    Click(&d, "Button_def_d");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_d")->text(), QString("10"));
    Click(&d, "Button_def_l");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_l")->text(), QString("36"));  // round: d / 2 + 31
    QTest::mouseClick(Child<QRadioButton>(&d, "RadioGroup_kontakt_0"), Qt::LeftButton, {}, QPoint(4, 4));
    Click(&d, "Button_def_l");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_l")->text(), QString("31"));
    Type(&d, "Edit_l", "30");
    Click(&d, "Button_def_m");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_m")->text(), QString("0.0184"));
    Shot(&d, "kamoram");
    // A negative length is refused with a box; the dialog stays open.
    Type(&d, "Edit_l", "-5");
    Click(&d, "Button_ok");
    QVERIFY(d.isVisible());
    QCOMPARE(b.port.boxes.size(), size_t(1));
    QCOMPARE(r.l, 30.0L);
    Type(&d, "Edit_l", "30");
    Click(&d, "Button_ok");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(r.type, std::uint16_t(1));
    QCOMPARE(r.d, 10.0L);
    QCOMPARE(double(r.m), 0.0184);
  }
  void camBodyDefaultsInInch() {
    Bench b;
    b.session.settings.numbers.unitSystem = 1;
    b.session.project().results.rMin = 31.25L;
    CamBodyEditor e(b.session);
    TForm_fields d(e, &b.port);
    d.show();
    QCOMPARE(d.objectName(), QString("TForm_kamocam"));
    QCOMPARE(Child<QLabel>(&d, "Label_unit_breite")->text(), QString("in"));
    Click(&d, "Button_def_breite");
    Click(&d, "Button_def_bohrung");
    Shot(&d, "kamocam");
    Click(&d, "Button_ok");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    // Whole millimetres (25, 37.5 -> 38), typed and read in inch.
    QVERIFY(std::fabs(double(b.session.project().body.width) - 25) < 0.01);
    QVERIFY(std::fabs(double(b.session.project().body.bore) - 38) < 0.01);
  }
  void drawingTextsUmlautsAndLimits() {
    Bench b;
    DrawingTexts& t = b.session.project().drawing;
    t.zeichname = "Nocke S\x81" "d";
    DrawingTextsEditor e(b.session, LanguageTexts().drawing);
    TForm_fields d(e, &b.port);
    d.show();
    QCOMPARE(d.objectName(), QString("Tform_uni4"));
    QVERIFY(!Child<QPushButton>(&d, "Button_hilfetext")->isVisible());
    QCOMPARE(Child<QLabel>(&d, "Label_zeichname2")->text(), QString("Zeichnungsname 2"));
    QCOMPARE(Child<QLineEdit>(&d, "Edit_zeichname")->text(), QString("Nocke S\u00FCd"));
    // Typing stops at the field's length.
    Type(&d, "Edit_zeichnr", QString(30, 'x'));
    QCOMPARE(Child<QLineEdit>(&d, "Edit_zeichnr")->text(), QString(18, 'x'));
    TypeAny(&d, "Edit_bemerk1", QString("Ma\u00DFe in mm, \u00C4nderung"));
    TypeAny(&d, "Edit_bemerk2", QString("Preis 5 \u20AC"));
    Shot(&d, "uni4");
    Click(&d, "Button_ok");
    QVERIFY(d.isVisible());  // the euro sign has no place in the code page
    QCOMPARE(b.port.boxes.size(), size_t(1));
    QVERIFY(QString::fromStdString(b.port.boxes[0].text).contains("U+20AC"));
    Type(&d, "Edit_bemerk2", "Preis 5 EUR");
    Click(&d, "Button_ok");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(t.zeichnr, std::string(18, 'x'));
    QCOMPARE(t.bemerk1, std::string("Ma\xE1" "e in mm, \x8Enderung"));
    QCOMPARE(t.zeichname, std::string("Nocke S\x81" "d"));
  }
};

QTEST_MAIN(ProjectDialogTest)
#include "tst_projectdialogs.moc"
