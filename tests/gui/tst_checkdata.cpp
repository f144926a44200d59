// Edit > "Prüfdaten" on Qt Widgets, offscreen and by object name: the "<"
// defaults, a refused Poisson ratio that keeps the dialog open, and "OK".
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "gui/projectdialogs.h"
#include "shell/checkinput.h"
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
}  // namespace

class CheckDataTest : public QObject {
  Q_OBJECT
 private slots:
  void defaultsRefusalAndOk() {
    test::ScriptedPort port;
    Session session(port);
    CheckInputs& in = session.project().checkData;
    in.alphaLimit = 45;
    in.nuFollower = 0.25L;
    CheckDataEditor e(session);
    TForm_fields d(e, &port);
    d.show();
    QCOMPARE(d.objectName(), QString("TForm_kamopruef"));
    QCOMPARE(d.windowTitle(), QString("Pr\u00FCfdaten"));
    QCOMPARE(Child<QLineEdit>(&d, "Edit_alpha")->text(), QString("45"));
    QCOMPARE(Child<QLabel>(&d, "Label_unit_e1")->text(), QString("N/mm\u00B2"));
    Click(&d, "Button_def_alpha");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_alpha")->text(), QString("30"));
    Click(&d, "Button_def_nu2");
    QCOMPARE(Child<QLineEdit>(&d, "Edit_nu2")->text(), QString("0.3"));
    Type(&d, "Edit_f0", "250");
    Type(&d, "Edit_k", "4.5");
    Type(&d, "Edit_nu1", "0.6");
    Shot(&d, "kamopruef");
    Click(&d, "Button_ok");
    QVERIFY(d.isVisible());
    QCOMPARE(port.boxes.size(), size_t(1));
    QCOMPARE(double(in.alphaLimit), 45.0);
    Type(&d, "Edit_nu1", "0.28");
    Click(&d, "Button_ok");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(double(in.alphaLimit), 30.0);
    QCOMPARE(double(in.preload), 250.0);
    QCOMPARE(double(in.rate), 4.5);
    QCOMPARE(double(in.nuCam), 0.28);
    QCOMPARE(double(in.nuFollower), 0.3);
    QCOMPARE(double(in.eCam), 210000.0);
  }
};

QTEST_MAIN(CheckDataTest)
#include "tst_checkdata.moc"
