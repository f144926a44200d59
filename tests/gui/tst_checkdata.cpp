// Edit > "Prüfdaten" on Qt Widgets, offscreen and by object name: the "<"
// defaults, a refused Poisson ratio that keeps the dialog open, "OK",
// "Abbrechen" and the values through the project file, in the dialog alone
// and in the real window; the "Prüfung" report of an example in the window's text viewer.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <filesystem>

#include "cam/kamorech.h"
#include "gui/mainwindow.h"
#include "gui/projectdialogs.h"
#include "gui/qtest_modal.h"
#include "gui/prompts.h"
#include "io/kamoio.h"
#include "report/checkreport.h"
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

  // "Abbrechen" keeps the project as it was; typed values saved in the
  // project file come back in the dialog of the project read from it.
  void cancelKeepsAndFileKeeps() {
    test::ScriptedPort port;
    test::TempFolder temp;
    Session session(port);
    CheckInputs& in = session.project().checkData;
    {
      CheckDataEditor e(session);
      TForm_fields d(e, &port);
      d.show();
      Type(&d, "Edit_f0", "999");
      Type(&d, "Edit_alpha", "12");
      Click(&d, "Button_cancel");
      QCOMPARE(d.result(), int(QDialog::Rejected));
      QCOMPARE(double(in.preload), double(CheckInputs{}.preload));
      QCOMPARE(double(in.alphaLimit), double(CheckInputs{}.alphaLimit));
    }
    {
      CheckDataEditor e(session);
      TForm_fields d(e, &port);
      d.show();
      Type(&d, "Edit_f0", "275.5");
      Type(&d, "Edit_alpha", "28");
      Type(&d, "Edit_k", "3.25");
      Click(&d, "Button_ok");
      QCOMPARE(d.result(), int(QDialog::Accepted));
    }
    const std::string path = temp.file("checks.kmo");
    QVERIFY(WriteProjectFile(session.ui, session.settings, path, session.project()));
    test::ScriptedPort port2;
    Session reopened(port2);
    QVERIFY(ReadProject(reopened.ui, reopened.settings, path, reopened.project()));
    CheckDataEditor e(reopened);
    TForm_fields d(e, &port2);
    d.show();
    QCOMPARE(Child<QLineEdit>(&d, "Edit_f0")->text(), QString("275.5"));
    QCOMPARE(Child<QLineEdit>(&d, "Edit_alpha")->text(), QString("28"));
    QCOMPARE(Child<QLineEdit>(&d, "Edit_k")->text(), QString("3.25"));
  }

  // The same in the real window: Edit > Prüfdaten typed into and cancelled,
  // typed into and confirmed, File > Speichern, the file opened again, and
  // the dialog shows what was typed. (KAMO_SHOTS: the dialog as typed into
  // and as reopened.)
  void inTheWindowSaveAndReopen() {
    test::TempFolder folder;
    const std::string file = folder.file("nocke.kmo");
    std::filesystem::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/points.kmo", file);
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.resize(900, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    test::AnswerFileDialog(file);
    w.findChild<QAction*>("mi_fileOpen")->trigger();
    QVERIFY(!w.session().flags.calcError);
    QAction* edit = w.findChild<QAction*>("mi_editPruefdaten");
    QVERIFY(edit);
    const CheckInputs before = w.session().project().checkData;

    test::WhenModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QString("TForm_kamopruef"));
      Type(d, "Edit_f0", "999");
      Type(d, "Edit_alpha", "12");
      Click(d, "Button_cancel");
    });
    edit->trigger();
    QCOMPARE(double(w.session().project().checkData.preload), double(before.preload));
    QCOMPARE(double(w.session().project().checkData.alphaLimit), double(before.alphaLimit));
    QVERIFY(!w.session().flags.modified);

    test::WhenModal([](QWidget* d) {
      Type(d, "Edit_f0", "275.5");
      Type(d, "Edit_alpha", "28");
      Shot(d, "kamopruef-typed");
      Click(d, "Button_ok");
    });
    edit->trigger();
    QCOMPARE(double(w.session().project().checkData.preload), 275.5);
    QVERIFY(w.session().flags.modified);
    w.findChild<QAction*>("mi_fileSave")->trigger();
    QVERIFY(!w.session().flags.modified);

    w.session().project().checkData = CheckInputs{};
    test::AnswerFileDialog(file);
    w.findChild<QAction*>("mi_fileOpen")->trigger();
    QString preload, alpha;
    test::WhenModal([&](QWidget* d) {
      preload = Child<QLineEdit>(d, "Edit_f0")->text();
      alpha = Child<QLineEdit>(d, "Edit_alpha")->text();
      Shot(d, "kamopruef-reopened");
      Click(d, "Button_cancel");
    });
    edit->trigger();
    QCOMPARE(preload, QString("275.5"));
    QCOMPARE(alpha, QString("28"));
  }

  // View > Ausdruck > "Prüfung" on the screen: the example with coordinate
  // points passes the limit of 30 degrees on the rise and on the return; a
  // spring of 350 N keeps the contact. (KAMO_SHOTS: the README's picture,
  // scrolled to the results.)
  void reportInTheViewer() {
    class ViewerPort : public test::ScriptedPort {
     public:
      QString shown, caption;
      void showTextFile(const std::string& title, const std::string& path) override {
        QFile f(QString::fromStdString(path));
        if (!f.open(QIODevice::ReadOnly)) return;
        TextViewer v(QString::fromStdString(title), QString::fromUtf8(f.readAll()));
        v.resize(660, 820);
        v.show();
        auto* text = Child<QPlainTextEdit>(&v, "Memo_text");
        shown = text->toPlainText();
        caption = v.windowTitle();
        const int results = text->document()->find("Ergebnisse").blockNumber();
        QApplication::processEvents();
        text->verticalScrollBar()->setValue(std::max(0, results - 1));
        Shot(&v, "pruefung");
      }
    } port;
    Session session(port);
    QVERIFY(ReadProject(session.ui, session.settings, std::string(KAMO_SOURCE_DIR) + "/examples/points.kmo",
                        session.project()));
    session.file.fileName = "points";
    session.project().checkData.preload = 350;
    Calculate(session.project(), session.messages, session.flags, session.settings);
    QVERIFY(!session.flags.calcError);
    QVERIFY(CheckReport(session.reports(), otScreen));
    QVERIFY(port.shown.contains(QString::fromUtf8("Pr\u00FCfung")));
    QVERIFY(port.shown.contains(QString::fromUtf8("phi alpha max Grad    338.182")));
    QCOMPARE(port.shown.count(QString::fromUtf8("Druckwinkel 34.6\u00B0 > 30.0\u00B0 bei phi = ")), 2);
    QVERIFY(!port.shown.contains("Abheben"));
  }
};

QTEST_MAIN(CheckDataTest)
#include "tst_checkdata.moc"
