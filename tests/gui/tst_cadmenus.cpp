// The STEP menu of the real main window, offscreen: the cam solid and the
// closed contour are written through the file dialog and the solid's
// prompts; a height of 0 is refused with a box and writes nothing.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>
#include <filesystem>
#include <string>

#include "core/codepage.h"
#include "gui/mainwindow.h"
#include "gui/qtest_modal.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;
using namespace kamo::test;

namespace {
std::function<void(QWidget*)> AnswerPrompt(const char* text) {
  return [text](QWidget* prompt) {
    QCOMPARE(prompt->objectName(), QString("TForm_eingabe"));
    Type(prompt, "Edit_text", text);
    Click(prompt, "Button_ok");
  };
}
std::function<void(QWidget*)> PickFile(const std::string& path) {
  return [path](QWidget* d) {
    QVERIFY(qobject_cast<QFileDialog*>(d));
    AnswerFileDialog(path);  // takes this dialog until it has closed
  };
}
size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}
}  // namespace

class CadMenuTest : public QObject {
  Q_OBJECT
 private slots:
  void stepSolidAndContour() {
    TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.session().settings.startCadApplication = false;
    w.resize(900, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.shell().openProject(std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo"));

    auto* menu = w.findChild<QMenu*>("mi_step");
    QVERIFY(menu);
    QCOMPARE(menu->title(), QString("ST&EP"));
    QStringList entries;
    for (QAction* a : menu->actions()) entries << a->objectName();
    QCOMPARE(entries, QStringList({"mi_stepCamSolid", "mi_stepKontur"}));
    menu->popup(w.mapToGlobal(QPoint(0, 0)));
    Shot(menu, "step-menu");
    menu->hide();

    // Cam solid: file, height, bore.
    const std::string solid = folder.file("nocke.stp");
    ModalScript script({PickFile(solid), AnswerPrompt("12"), AnswerPrompt("10")});
    Child<QAction>(&w, "mi_stepCamSolid")->trigger();
    QVERIFY(script.done());
    QCOMPARE(script.seen, QStringList({script.seen.value(0), "TForm_eingabe", "TForm_eingabe"}));
    std::string bytes = ReadFileBytes(solid);
    QVERIFY(bytes.rfind("ISO-10303-21;", 0) == 0);
    QCOMPARE(Count(bytes, "MANIFOLD_SOLID_BREP("), size_t{1});
    QCOMPARE(Count(bytes, "CYLINDRICAL_SURFACE("), size_t{1});  // the bore
    QCOMPARE(static_cast<double>(w.session().project().body.bore), 10.0);
    QVERIFY(!w.session().flags.abortFlag);

    // The closed contour: no prompt, one curve.
    const std::string contour = folder.file("kontur.stp");
    ModalScript curve({PickFile(contour)});
    Child<QAction>(&w, "mi_stepKontur")->trigger();
    QVERIFY(curve.done());
    bytes = ReadFileBytes(contour);
    QCOMPARE(Count(bytes, "GEOMETRIC_CURVE_SET("), size_t{1});
    QCOMPARE(Count(bytes, "MANIFOLD_SOLID_BREP("), size_t{0});

    // A height of 0 gives no faces: refused in a box, no file.
    const std::string flat = folder.file("flach.stp");
    QString refused;
    ModalScript zero({PickFile(flat), AnswerPrompt("0"), [&refused](QWidget* box) {
                        if (auto* mb = qobject_cast<QMessageBox*>(box)) refused = mb->text();
                        box->close();
                      }});
    Child<QAction>(&w, "mi_stepCamSolid")->trigger();
    QTRY_VERIFY(zero.done());
    QCOMPARE(refused, QString::fromStdString(Cp850ToUtf8("STL: H\x94he 0 ergibt keine Fl\x84" "chen")));
    QVERIFY(!std::filesystem::exists(flat));
  }
};

QTEST_MAIN(CadMenuTest)
#include "tst_cadmenus.moc"
