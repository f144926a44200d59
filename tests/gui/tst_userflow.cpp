// A user's session with the real main window, offscreen: open an example
// through the file dialog, look at every sheet, zoom and pan, save under a
// new name, reopen from the recent-file menu, change the speed, answer the
// save question on closing, and switch the menus to English and back.
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/codepage.h"
#include "core/identity.h"
#include "display/displaylist.h"
#include "gui/graphicsview.h"
#include "gui/mainwindow.h"
#include "gui/qtest_modal.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;

namespace {
QAction* Entry(Thh& w, const char* name) {
  QAction* a = w.findChild<QAction*>(name);
  if (!a) qFatal("no menu entry %s", name);
  return a;
}
QString Title() { return QString::fromStdString(Cp850ToUtf8(kProgramTitle)); }

// Share of sampled pixels of the drawing surface that differ from its background.
double Drawn(GraphicsView* v) {
  QImage picture = v->grab().toImage();
  QColor background = v->replayStyle().background;
  int drawn = 0, all = 0;
  for (int y = 0; y < picture.height(); y += 3)
    for (int x = 0; x < picture.width(); x += 3, ++all) drawn += picture.pixelColor(x, y) != background;
  return all ? static_cast<double>(drawn) / all : 0;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

long Width(const ZoomRect& z) { return z.x1 - z.x0; }
}  // namespace

class UserFlowTest : public QObject {
  Q_OBJECT
 private slots:
  void session() {
    test::TempFolder folder;
    const std::string original = folder.file("nocke.kmo"), copy = folder.file("kopie.kmo");
    std::filesystem::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo", original);
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.resize(900, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // File > Open.
    test::AnswerFileDialog(original);
    Entry(w, "mi_fileOpen")->trigger();
    QCOMPARE(w.windowTitle(), Title() + "  -  nocke.kmo");
    QCOMPARE(QGuiApplication::applicationDisplayName(), w.windowTitle());
    QVERIFY(!w.session().flags.calcError);

    // Every sheet and diagram of the View menu lands on the drawing surface.
    GraphicsView* v = w.graphicsView();
    for (const char* entry : {"mi_viewQuick1", "mi_viewQuick3", "mi_viewQuick4", "mi_viewGrafik",
                              "mi_viewZeichnung", "mi_viewS", "mi_viewV", "mi_viewA", "mi_viewSva",
                              "mi_viewDruckwinkel", "mi_viewKruemmung", "mi_viewRuck", "mi_viewKontaktkraft"}) {
      v->clear();
      QCOMPARE(Drawn(v), 0.0);
      Entry(w, entry)->trigger();
      QVERIFY2(w.shell().screen.size() > 10, entry);
      QVERIFY2(Drawn(v) > 0.01, entry);
      QVERIFY2(!v->replayFailed(), entry);
      QCOMPARE(v->zoom(), v->whole());
    }

    // The A3 sheet: keys and wheel zoom around the middle, Escape shows it whole.
    Entry(w, "mi_viewQuick4")->trigger();
    const ZoomRect whole = v->whole();
    const QImage shownWhole = v->grab().toImage();
    v->setFocus();
    QTest::keyClick(v, Qt::Key_Plus, Qt::KeypadModifier);
    const ZoomRect in = v->zoom();
    QVERIFY(Width(in) < Width(whole));
    QCOMPARE((in.x0 + in.x1) / 2, (whole.x0 + whole.x1) / 2);
    QTest::keyClick(v, Qt::Key_Minus, Qt::KeypadModifier);
    QVERIFY(Width(v->zoom()) > Width(in));
    for (int i = 0; i < 30; ++i) QTest::keyClick(v, Qt::Key_Plus, Qt::KeypadModifier);
    QVERIFY(v->grab().toImage() != shownWhole);  // the picture follows the zoom
    QTest::keyClick(v, Qt::Key_Escape);
    QCOMPARE(v->zoom(), whole);
    QCOMPARE(v->grab().toImage(), shownWhole);
    auto wheel = [v](int delta) {
      QPointF at(v->width() / 2.0, v->height() / 2.0);
      QWheelEvent e(at, v->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
      QApplication::sendEvent(v, &e);
    };
    wheel(-240);  // two notches back: further in than one
    const ZoomRect twoIn = v->zoom();
    QTest::keyClick(v, Qt::Key_F5);
    wheel(-120);
    QVERIFY(Width(twoIn) < Width(v->zoom()) && Width(v->zoom()) < Width(whole));
    wheel(120);
    wheel(120);
    QVERIFY(Width(v->zoom()) > Width(whole));
    // Zooming out for ever stays drawable.
    for (int i = 0; i < 200; ++i) wheel(1200);
    QVERIFY(!v->replayFailed());
    v->repaint();
    QTest::mouseClick(v, Qt::RightButton);
    QCOMPARE(v->zoom(), whole);

    // File > Save As under a new name; the recent list gets it as entry 1.
    test::AnswerFileDialog(copy);
    Entry(w, "mi_fileSaveAs")->trigger();
    QVERIFY(std::filesystem::exists(copy));
    QCOMPARE(w.windowTitle(), Title() + "  -  kopie.kmo");
    QCOMPARE(Entry(w, "mi_fileRecent1")->text(), QString::fromStdString("&1 " + copy));

    // Open the original again, then the copy from the recent-file menu.
    test::AnswerFileDialog(original);
    Entry(w, "mi_fileOpen")->trigger();
    QCOMPARE(Entry(w, "mi_fileRecent2")->text(), QString::fromStdString("&2 " + copy));
    Entry(w, "mi_fileRecent2")->trigger();
    QCOMPARE(w.windowTitle(), Title() + "  -  kopie.kmo");
    QCOMPARE(Entry(w, "mi_fileRecent1")->text(), QString::fromStdString("&1 " + copy));
    QVERIFY(!Entry(w, "mi_fileRecent3")->isVisible());

    // Edit > Betriebsdaten changes the speed; closing asks to save, Yes writes it.
    test::WhenModal([](QWidget* prompt) {
      QCOMPARE(prompt->objectName(), QString("TForm_eingabe"));
      auto* edit = prompt->findChild<QLineEdit*>("Edit_text");
      edit->selectAll();
      QTest::keyClicks(edit, "1234");
      QTest::mouseClick(prompt->findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
    });
    Entry(w, "mi_editBetriebsdaten")->trigger();
    QVERIFY(w.session().flags.modified);
    const std::string before = Slurp(copy);
    QString asked;
    test::WhenModal([&asked](QWidget* box) {
      asked = qobject_cast<QMessageBox*>(box)->text();
      QTest::mouseClick(box->findChild<QPushButton*>("Button_yes"), Qt::LeftButton);
    });
    QVERIFY(w.close());
    QCOMPARE(asked, QString::fromStdString("Datei speichern (" + copy + ") ?"));
    const std::string after = Slurp(copy);
    QVERIFY(after != before);
    QVERIFY(after.find("1234") != std::string::npos);
  }

  // A paint that arrives while the list is replayed (here from the pause of
  // record 13) does not start a second replay over the same list.
  void noReplayInsideTheReplay() {
    Thh w;
    w.resize(640, 480);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    DisplayList& list = w.shell().screen;
    list.Clear();
    list.Header(0, 0, 100, 100);
    list.SetColor(4);
    list.line(0, 0, 100, 100);
    list.SleepMs(1);
    list.Solid(10, 10, 90, 10, 90, 90, 10, 90);
    GraphicsView* v = w.graphicsView();
    v->drawingChanged();
    int pauses = 0;
    v->setPause([&](int) {
      ++pauses;
      QPaintEvent again(v->rect());
      QApplication::sendEvent(v, &again);
      QCoreApplication::processEvents();
    });
    const long before = v->replays();
    v->repaint();
    QCOMPARE(pauses, 1);
    QCOMPARE(v->replays(), before + 1);
    v->setPause({});
    QTRY_VERIFY(v->replays() > before + 1);  // the put-off paint follows
    QVERIFY(Drawn(v) > 0);
  }

  void englishAndBack() {
    Thh w;
    w.show();
    Entry(w, "mi_helpEnglish")->trigger();
    QCOMPARE(w.menu(Menu::View)->title(), QString("&View"));
    QCOMPARE(Entry(w, "mi_fileSaveAs")->text(), QString("Save &As..."));
    QCOMPARE(w.windowTitle(), Title() + "   V 5.1");
    Entry(w, "mi_helpDeutsch")->trigger();
    QCOMPARE(w.menu(Menu::View)->title(), QString("&Ansicht"));
    QCOMPARE(w.session().settings.language, 1);
  }
};

QTEST_MAIN(UserFlowTest)
#include "tst_userflow.moc"
