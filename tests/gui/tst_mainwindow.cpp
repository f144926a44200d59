// The main window offscreen: menus and their captions, the language switch,
// the recent-file entries, the title after opening and the close query.
#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QClipboard>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "core/codepage.h"
#include "core/identity.h"
#include "gui/graphicsview.h"
#include "gui/mainwindow.h"
#include "gui/qtest_modal.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;

namespace {
QAction* Entry(Thh& w, const char* name) { return w.findChild<QAction*>(name); }
QString Title() { return QString::fromStdString(Cp850ToUtf8(kProgramTitle)); }
}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void menusAndCaptions() {
    Thh w;
    w.show();
    QCOMPARE(w.objectName(), QString("hh"));
    QCOMPARE(w.windowTitle(), Title() + "   V 5.1");
    QStringList bar;
    for (QAction* a : w.menuBar()->actions()) bar << a->text();
    QCOMPARE(bar, QStringList({"&Datei", "&Bearbeiten", "&Ansicht", "&CAD", "&STL", "ST&EP", "D&okument",
                               "&Hilfe"}));
    // Every command of the table has its entry, named after it.
    for (const CommandSpec& s : CommandTable()) QVERIFY2(Entry(w, s.objectName), s.objectName);
    struct Case {
      const char* name;
      const char* caption;
      bool enabled;
    };
    for (Case c : {Case{"mi_fileOpen", "\u00D6&ffnen...", true},
                   Case{"mi_fileNew", "&Neu...", true},
                   Case{"mi_editText", "Te&xt", true},
                   Case{"mi_editStoessel", "&St\u00F6ssel", true},
                   Case{"mi_editAbmessungen", "&Abmessungen Cam", true},
                   Case{"mi_editBerechnung", "&Berechnung", true},
                   Case{"mi_fileImportDxfR", "&Import DXF (x,y->r(phi))", true},
                   Case{"mi_fileSave", "&Speichern...", true},
                   Case{"mi_editBetriebsdaten", "&Betriebsdaten", true},
                   Case{"mi_editReset", "&R\u00FCcksetzen", true},
                   Case{"mi_editGeometrie", "&Geometrie (curve)", true},
                   Case{"mi_viewStandard", "&Standardausdruck", true},
                   Case{"mi_viewSva", "s,v,a = f(phi)", true},
                   Case{"mi_viewDruckwinkel", "Druckwinkel = f(phi)", true},
                   Case{"mi_viewKruemmung", "Kr\u00FCmmungsradius = f(phi)", true},
                   Case{"mi_viewKontaktkraft", "Kontaktkraft, Pressung = f(phi)", true},
                   Case{"mi_viewAnimation", "&Animation", true},
                   Case{"mi_viewFehlermeldungen", "&Fehlermeldungen (0)", false},
                   Case{"mi_helpFehlermeldungen", "&Fehlermeldungen (0)", false},
                   Case{"mi_helpHilfebild", "&Hilfebild", true},
                   Case{"mi_helpSystemInfo", "System Info", true},
                   Case{"mi_helpAbout", "KAMO", true}}) {
      QAction* a = Entry(w, c.name);
      QCOMPARE(a->text(), QString::fromUtf8(c.caption));
      QVERIFY2(a->isEnabled() == c.enabled, c.name);
    }
    QCOMPARE(Entry(w, "mi_filePrint")->shortcut(), QKeySequence("Ctrl+P"));
    QVERIFY(!Entry(w, "mi_viewTabelle")->isVisible());
    QCOMPARE(w.menu(Menu::Language)->title(), QString::fromUtf8("Men\u00FC &Sprache"));
    QVERIFY(w.graphicsView());
    QCOMPARE(w.centralWidget()->objectName(), QString("GraphicsView"));
  }

  void englishAndBack() {
    Thh w;
    w.show();
    Entry(w, "mi_helpEnglish")->trigger();
    QCOMPARE(w.menu(Menu::File)->title(), QString("&File"));
    QCOMPARE(w.menu(Menu::Language)->title(), QString("Menu &Language"));
    QCOMPARE(Entry(w, "mi_fileExit")->text(), QString("E&xit"));
    QCOMPARE(Entry(w, "mi_editStoessel")->text(), QString("&Ram"));
    QCOMPARE(Entry(w, "mi_fileOpenTable")->text(), QString("&Open... (&Table)"));
    QCOMPARE(w.session().settings.language, 2);
    Entry(w, "mi_helpKorea")->trigger();
    Entry(w, "mi_helpDeutsch")->trigger();
    QCOMPARE(w.menu(Menu::File)->title(), QString("&Datei"));
    QCOMPARE(Entry(w, "mi_editStoessel")->text(), QString::fromUtf8("&St\u00F6ssel"));
    QCOMPARE(Entry(w, "mi_viewAuszug")->text(), QString("&Auszug"));
  }

  void recentEntries() {
    Thh w;
    w.show();
    QVERIFY(!Entry(w, "mi_fileRecent1")->isVisible());
    std::string longPath = "/home/konstrukteur/projekte/kurvenscheiben/2026/nocke.kmo";
    w.shell().recent.entries = {longPath, "/tmp/a.kmo", "", ""};
    w.updateMenus();
    QCOMPARE(Entry(w, "mi_fileRecent1")->text(), QString("&1 /.../nocke.kmo"));
    QCOMPARE(Entry(w, "mi_fileRecent2")->text(), QString("&2 /tmp/a.kmo"));
    QVERIFY(Entry(w, "mi_fileRecent1")->isVisible());
    QVERIFY(!Entry(w, "mi_fileRecent3")->isVisible());
    // The entries sit right above the separator before Exit.
    QList<QAction*> file = w.menu(Menu::File)->actions();
    qsizetype exit = file.indexOf(Entry(w, "mi_fileExit"));
    QVERIFY(file[exit - 1]->isSeparator() && file[exit - 1]->isVisible());
    QCOMPARE(file[exit - 5], Entry(w, "mi_fileRecent1"));
  }

  void openSetsTitleAndRecentEntry() {
    test::TempFolder folder;
    std::string path = folder.file("nocke.kmo");
    std::filesystem::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", path);
    Thh w;
    w.show();
    test::AnswerFileDialog(path);
    Entry(w, "mi_fileOpen")->trigger();
    QCOMPARE(w.windowTitle(), Title() + "  -  nocke.kmo");
    QCOMPARE(Entry(w, "mi_fileRecent1")->text(), QString::fromStdString("&1 " + path));
    QVERIFY(!w.session().flags.modified);
  }

  // A view entry draws into the window; keys, wheel and the rubber band zoom it.
  void drawingZoomAndPan() {
    test::TempFolder folder;
    std::string path = folder.file("nocke.kmo");
    std::filesystem::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", path);
    Thh w;
    w.resize(800, 600);
    w.show();
    QVERIFY(w.shell().openProject(path));
    Entry(w, "mi_viewGrafik")->trigger();
    GraphicsView* v = w.graphicsView();
    QImage picture = v->grab().toImage();
    QColor background = v->replayStyle().background;
    int drawn = 0;
    for (int y = 0; y < picture.height(); y += 4)
      for (int x = 0; x < picture.width(); x += 4) drawn += picture.pixelColor(x, y) != background;
    QVERIFY2(drawn > 50, "the sheet is not on the screen");
    QVERIFY(!v->replayFailed());

    const ZoomRect whole = v->whole();
    QCOMPARE(v->zoom(), whole);
    QTest::keyClick(v, Qt::Key_Plus);
    QVERIFY(v->zoom().x1 - v->zoom().x0 < whole.x1 - whole.x0);
    QTest::keyClick(v, Qt::Key_Escape);
    QCOMPARE(v->zoom(), whole);
    QTest::keyClick(v, Qt::Key_Left);
    QVERIFY(v->zoom().x0 > 0);
    QTest::mouseClick(v, Qt::RightButton);
    QCOMPARE(v->zoom(), whole);

    // A band over the left half of the window shows about that half.
    QPoint a(v->width() / 8, v->height() / 4), b(v->width() / 2, 3 * v->height() / 4);
    QTest::mousePress(v, Qt::LeftButton, {}, a);
    QTest::mouseMove(v, b);
    QTest::mouseRelease(v, Qt::LeftButton, {}, b);
    ZoomRect z = v->zoom();
    QVERIFY(z.x0 > whole.x0 && z.x1 < (whole.x0 + whole.x1) / 2 + 5);
    QVERIFY(z.y0 > whole.y0 && z.y1 < whole.y1);
    // A band of zero width changes nothing.
    QTest::mousePress(v, Qt::LeftButton, {}, a);
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(a.x(), b.y()));
    QCOMPARE(v->zoom(), z);
    // A double click arms the reset of the next press.
    QTest::mouseDClick(v, Qt::LeftButton, {}, a);
    QTest::mousePress(v, Qt::LeftButton, {}, a);
    QCOMPARE(v->zoom(), whole);
    QTest::mouseRelease(v, Qt::LeftButton, {}, a);

    QWheelEvent back(QPointF(100, 100), v->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v, &back);
    QVERIFY(v->zoom().x1 - v->zoom().x0 < whole.x1 - whole.x0);
  }

  // The standard printout goes to the text viewer, which can print and copy it.
  void standardPrintoutInTheViewer() {
    test::TempFolder folder;
    std::string path = folder.file("nocke.kmo");
    std::filesystem::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", path);
    Thh w;
    w.show();
    w.session().settings.tempDir = folder.path();
    QVERIFY(w.shell().openProject(path));
    QString shown;
    bool printable = false;
    test::WhenModal([&](QWidget* viewer) {
      QCOMPARE(viewer->objectName(), QString("TForm_textviewer"));
      shown = viewer->findChild<QPlainTextEdit*>("Memo_text")->toPlainText();
      printable = viewer->findChild<QPushButton*>("Button_print")->isEnabled();
      QTest::mouseClick(viewer->findChild<QPushButton*>("Button_copy"), Qt::LeftButton);
      QTest::mouseClick(viewer->findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
    });
    Entry(w, "mi_viewStandard")->trigger();
    QVERIFY(shown.count('\n') > 20);
    QVERIFY(printable);
    QCOMPARE(QApplication::clipboard()->text(), shown);
  }

  // Help > Error Messages: the list of messages and the explanation of the
  // one picked.
  void errorListWithExplanation() {
    Thh w;
    w.show();
    w.session().settings.pltDir = KAMO_DATA_DIR;
    w.session().settings.helpLevel = 2;  // the list starts at the first message
    w.session().messages.add("Fehler : A Cam <= 0 !");
    w.updateMenus();
    QAction* entry = Entry(w, "mi_helpFehlermeldungen");
    QVERIFY(entry->isEnabled());
    QCOMPARE(entry->text(), QString("&Fehlermeldungen (1)"));
    QString cause;
    int lists = 0;
    test::WhenModal([&](QWidget* list) {
      ++lists;
      QCOMPARE(list->findChildren<QRadioButton*>().size(), 2);  // the message and "Weiter/zurück..."
      QVERIFY(list->findChild<QRadioButton*>("RadioButton_1")->isChecked());
      test::WhenModal([&](QWidget* explanation) {
        QCOMPARE(explanation->objectName(), QString("Thelperr"));
        cause = explanation->findChild<QPlainTextEdit*>("Memo_cause")->toPlainText();
        QTest::mouseClick(explanation->findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
      });
      QTest::mouseClick(list->findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
    });
    entry->trigger();
    QVERIFY2(cause.startsWith("Die Bohrung"), qPrintable(cause));
    QCOMPARE(lists, 1);  // after the last message the list ends
  }

  void closeQuery() {
    struct Case {
      const char* button;
      bool closes;
    };
    for (Case c : {Case{"Button_no", true}, Case{"Button_cancel", false}}) {
      test::TempFolder folder;
      Thh w;
      w.show();
      w.session().file = {"nocke", folder.path() + "/"};
      w.session().flags.modified = true;
      QString asked;
      std::string button = c.button;
      test::WhenModal([&asked, button](QWidget* box) {
        asked = qobject_cast<QMessageBox*>(box)->text();
        QTest::mouseClick(box->findChild<QPushButton*>(button.c_str()), Qt::LeftButton);
      });
      QCOMPARE(w.close(), c.closes);
      QCOMPARE(asked, QString::fromStdString("Datei speichern (" + folder.path() + "/nocke.kmo) ?"));
      QVERIFY(!std::filesystem::exists(folder.file("nocke.kmo")));
    }
  }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
