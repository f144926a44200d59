// The animation in the window, offscreen: the settings dialog with its "<"
// defaults and range message, single steps through the step window, the run
// on, Escape in the middle; the display list holds one frame at any time,
// with the follower where the cam puts it; the window repaints and zooms
// while it runs, and a printout shows the current frame only. Mode 2: the
// still picture after the follower dialog.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <functional>
#include <vector>

#include "cam/kamorech.h"
#include "gui/graphicsview.h"
#include "gui/mainwindow.h"
#include "gui/printconf.h"
#include "gui/qtest_modal.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;
using namespace kamo::test;

namespace {
// The frame in the display list: its "phi = " labels and the start of the
// follower axis (the line from the follower tip along y = 0, 0.4·xSize long).
struct Frame {
  std::vector<double> angles;
  std::vector<double> tips;
};
Frame FrameOf(const Shell& shell, const CamProject& p) {
  Frame f;
  const double axis = static_cast<double>(0.4L * p.results.xSize);
  for (const DisplayItem& item : shell.screen.items()) {
    std::string_view text = shell.screen.textOf(item);
    if (item.code == DisplayCode::Text && text.starts_with("phi = "))
      f.angles.push_back(std::stod(std::string(text.substr(6))));
    if (item.code == DisplayCode::Line && item.v[1] == 0 && item.v[3] == 0 &&
        std::fabs(item.v[2] - item.v[0] - axis) < 1e-9 * axis)
      f.tips.push_back(item.v[0]);
  }
  return f;
}
// One frame of N per turn, the follower tip at FollowerAtAngle(2πk/N); its k.
int CheckOneFrame(const Shell& shell, const CamProject& p, int n) {
  Frame f = FrameOf(shell, p);
  if (f.angles.size() != 1 || f.tips.size() != 1) {
    qWarning("%zu labels, %zu follower axes", f.angles.size(), f.tips.size());
    return -1;
  }
  int k = static_cast<int>(std::lround(f.angles[0] * n / 360));
  const double tip = static_cast<double>(FollowerAtAngle(p, 2 * kPi * k / n));
  if (std::fabs(f.tips[0] - tip) > 1e-12 * std::fabs(tip)) return -1;
  return k;
}
}  // namespace

class AnimationTest : public QObject {
  Q_OBJECT
 private slots:
  void singleStepsRunOnAndEscape() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.resize(900, 700);
    w.show();
    w.activateWindow();  // an X server without a window manager activates nothing by itself
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(w.shell().openProject(std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo"));
    const CamProject& p = w.session().project();
    const int n = 12;
    QAction* animation = w.findChild<QAction*>("mi_viewAnimation");
    QVERIFY(animation->isEnabled());
    QString refused;
    std::vector<int> stepped;  // the frame shown when the step window came up
    auto step = [&](const char* button) {
      return [&, button](QWidget* m) {
        QCOMPARE(m->objectName(), QString("TForm_anistep"));
        QCOMPARE(m->windowTitle(), QString("Animation"));
        QVERIFY(!(m->windowFlags() & Qt::WindowCloseButtonHint));
        stepped.push_back(CheckOneFrame(w.shell(), p, n));
        Click(m, button);
      };
    };
    ModalScript script({
        [&](QWidget* m) {
          QCOMPARE(m->objectName(), QString("TForm_kamoani"));
          QCOMPARE(m->windowTitle(), QString("Animation"));
          QCOMPARE(Text(m, "Edit_bilder"), QString("90"));
          QCOMPARE(Text(m, "Edit_wiederholungen"), QString("1"));
          QCOMPARE(Text(m, "Edit_pause"), QString("10"));
          QCOMPARE(Child<QLabel>(m, "Label_unit_pause")->text(), QString("ms"));
          QVERIFY(!Child<QCheckBox>(m, "CheckBox_einzelschritt")->isChecked());
          QVERIFY(Child<QPushButton>(m, "Button_hilfetext")->isVisible());
          Click(m, "Button_def_bilder");
          QCOMPARE(Text(m, "Edit_bilder"), QString::number(std::min(360, p.calc.steps + 1)));
          Click(m, "Button_def_pause");
          QCOMPARE(Text(m, "Edit_pause"), QString("100"));
          Type(m, "Edit_bilder", "0");
          // Refused: the range box comes up in front of the dialog and is closed.
          auto* closer = new QTimer;
          closer->setInterval(5);
          QObject::connect(closer, &QTimer::timeout, [closer, m, &refused] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || box == m || !box->isVisible()) return;
            closer->stop();
            closer->deleteLater();
            if (auto* mb = qobject_cast<QMessageBox*>(box)) refused = mb->text();
            box->close();
          });
          closer->start();
          Click(m, "Button_ok");
          QVERIFY(m->isVisible());
          Type(m, "Edit_bilder", QString::number(n));
          Type(m, "Edit_wiederholungen", "2");
          Type(m, "Edit_pause", "100");
          Child<QCheckBox>(m, "CheckBox_einzelschritt")->setChecked(true);
          Shot(m, "kamoani");
          Click(m, "Button_ok");
        },
        step("Button_plus"), step("Button_plus"), step("Button_plus"), step("Button_weiter"),
    });
    animation->trigger();
    QVERIFY(refused.contains(QString::fromUtf8("Gültiger Wertebereich: 1 .. 3600 !")));
    QVERIFY(w.shell().animating());
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 20000);
    QCOMPARE(stepped, (std::vector<int>{1, 2, 3, 4}));
    QVERIFY(!w.shell().animationRun()->singleStep);
    Shot(&w, "animation-running");

    // It runs on by itself; the window repaints, resizes and zooms meanwhile.
    GraphicsView* v = w.graphicsView();
    long replays = v->replays();
    w.resize(800, 600);
    QTRY_VERIFY_WITH_TIMEOUT(v->replays() > replays, 20000);
    QTest::keyClick(v, Qt::Key_Plus, Qt::KeypadModifier);
    ZoomRect zoomed = v->zoom();
    QVERIFY(!(zoomed == v->whole()));
    const int seen = w.shell().animationFrame();
    QTRY_VERIFY_WITH_TIMEOUT(w.shell().animationFrame() >= seen + 2, 20000);
    QVERIFY(v->zoom() == zoomed);  // a new frame keeps the zoom
    QVERIFY(CheckOneFrame(w.shell(), p, n) > 0);

    // A printout now shows the current frame, never a stack of frames.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = QString::fromStdString(folder.file("frame.pdf"));
    printer.setOutputFileName(pdf);
    QVERIFY(PrintDisplayList(printer, w.shell().screen, v->replayStyle(), ReplayTarget{}, PrintConf{}));

    // Escape in the middle of the second turn ends it; the frame shown stays.
    QTest::keyClick(v, Qt::Key_Escape);
    QVERIFY(!w.shell().animating());
    QVERIFY(w.session().flags.abortFlag);
    int k = CheckOneFrame(w.shell(), p, n);
    QVERIFY(k >= 1 && k <= n);
    const size_t records = w.shell().screen.size();
    QTest::qWait(300);  // no further frame arrives
    QCOMPARE(w.shell().screen.size(), records);
    QCOMPARE(CheckOneFrame(w.shell(), p, n), k);
    // Escape is the zoom reset again.
    QTest::keyClick(v, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(v, Qt::Key_Escape);
    QVERIFY(v->zoom() == v->whole());

    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    QVERIFY(text.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(text.readAllStandardOutput()).count("phi ="), 1);
  }

  // Edit > "Stössel", OK: the still picture, one frame at a full turn.
  void stillPictureAfterTheFollowerDialog() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.shell().openProject(std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo"));
    ModalScript script({[](QWidget* m) {
      QCOMPARE(m->objectName(), QString("TForm_kamoram"));
      Click(m, "Button_ok");
    }});
    w.findChild<QAction*>("mi_editStoessel")->trigger();
    QVERIFY(script.done());
    QVERIFY(!w.shell().animating());
    QCOMPARE(CheckOneFrame(w.shell(), w.session().project(), 1), 1);
  }
};

QTEST_MAIN(AnimationTest)
#include "tst_animation.moc"
