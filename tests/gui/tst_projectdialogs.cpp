// The calculation settings dialog, offscreen and by object name, on the real
// logic of the shell: "<" defaults, the check box, clamps on "OK", and
// "Abbrechen" leaving the model alone.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "gui/projectdialogs.h"
#include "shell/projectinput.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;

namespace {
template <class T = QWidget>
T* Child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(name);
  if (!c) qFatal("no %s", name);
  return c;
}
void Click(QWidget* w, const char* name) { QTest::mouseClick(Child<QPushButton>(w, name), Qt::LeftButton); }
void Type(QWidget* w, const char* name, const QString& text) {
  auto* e = Child<QLineEdit>(w, name);
  e->selectAll();
  e->setFocus();
  QTest::keyClicks(e, text);
}
void Shot(QWidget* w, const char* name) {
  QByteArray dir = qgetenv("KAMO_SHOTS");
  if (dir.isEmpty()) return;
  QApplication::processEvents();
  w->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png", "PNG");
}
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
};

QTEST_MAIN(ProjectDialogTest)
#include "tst_projectdialogs.moc"
