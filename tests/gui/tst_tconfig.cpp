// The configuration dialog Tconfig in the real window, offscreen, driven by
// object names: values saved with "&Speichern" come back at the next start,
// and an import followed by "Abbrechen" changes nothing.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "gui/graphicsview.h"
#include "gui/mainwindow.h"
#include "gui/qtest_modal.h"
#include "gui/tconfig.h"
#include "io/configio.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;

namespace {
template <class T>
T* Named(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(name);
  if (!c) qFatal("no control %s", name);
  return c;
}

// Folders that the start's checks accept, so that no box stops a start.
void ValidFolders(Settings& s, const std::string& dir) {
  s.tempDir = s.dbfDir = s.pltDir = s.ediDir = s.dataDir = dir + "/";
  s.dialogWindowSize = 0;
}

StartEnvironment Env(const std::string& dir) {
  StartEnvironment env;
  env.startDir = dir + "/";
  env.configFallbackDir = dir + "/fallback/";
  env.screen = {1280, 1024, 96, 1200, 900, 0, 0};
  return env;
}

// Closes the next message box once it shows and keeps its text.
void CloseNextBox(std::shared_ptr<QString> text) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    *text = box->text();
    box->accept();
  });
  timer->start();
}

void RunConfig(Thh& w, std::function<void(QWidget*)> act) {
  test::WhenModal(std::move(act));
  w.findChild<QAction*>("mi_fileConfig")->trigger();
}
}  // namespace

class TconfigTest : public QObject {
  Q_OBJECT
 private slots:
  void pagesAndButtons() {
    Thh w;
    QVERIFY(w.findChild<QAction*>("mi_fileConfig")->isEnabled());
    test::TempFolder folder;
    w.shell().config.dir = folder.path() + "/";
    bool seen = false;
    RunConfig(w, [&seen](QWidget* d) {
      seen = true;
      QCOMPARE(d->objectName(), QString("Tconfig"));
      QCOMPARE(d->windowTitle(), QString("Konfiguration"));
      QCOMPARE(Named<QTabWidget>(d, "PageControl")->count(), 9);
      for (const char* b : {"Button_ok", "Button_abbrechen", "Button_speichern", "Button_import", "Button_export"})
        Named<QPushButton>(d, b);
      QCOMPARE(Named<QPushButton>(d, "Button_speichern")->text(), QString("&Speichern"));
      // Every control of the table, by its name.
      for (const ConfigField& f : ConfigFields())
        QVERIFY2(d->findChild<QWidget*>(QString::fromStdString(f.name)), f.name.c_str());
      Named<QCheckBox>(d, "CheckBox_usereingabe");
      // KAMO_SHOTS=<folder>: the pictures of the user guide (scripts/guide-shots.sh).
      if (const char* shots = std::getenv("KAMO_SHOTS"); shots && *shots) {
        auto* pages = Named<QTabWidget>(d, "PageControl");
        for (int i : {0, 6, 7}) {
          pages->setCurrentIndex(i);
          QApplication::processEvents();
          d->grab().save(QString("%1/Tconfig-%2.png").arg(shots).arg(i + 1));
        }
        pages->setCurrentIndex(0);
      }
      QCOMPARE(Named<QGroupBox>(d, "RadioGroup_ergebnisgrafik")->findChildren<QRadioButton*>().size(), 7);
      // The "<" rules in the window: height 600 gives width 800.
      Named<QLineEdit>(d, "Edit_hoehe")->setText("600");
      Named<QAbstractButton>(d, "Edit_breite_default")->click();
      QCOMPARE(Named<QLineEdit>(d, "Edit_breite")->text(), QString("800"));
      Named<QLineEdit>(d, "Edit_druckskalax")->setText("0.5");
      Named<QAbstractButton>(d, "Edit_druckskalay_default")->click();
      QCOMPARE(Named<QLineEdit>(d, "Edit_druckskalay")->text(), QString("0.5"));
      Named<QPushButton>(d, "Button_abbrechen")->click();
    });
    QVERIFY(seen);
    QCOMPARE(w.session().settings.windowWidth, 0);
    QVERIFY(!std::filesystem::exists(folder.file("kamo.cfg")));
  }

  void savedValuesComeBackAtTheNextStart() {
    test::TempFolder folder;
    {
      Thh w;
      ValidFolders(w.session().settings, folder.path());
      QVERIFY(w.start({}, Env(folder.path())).keepRunning);
      RunConfig(w, [](QWidget* d) {
        Named<QRadioButton>(d, "RadioGroup_einheiten_1")->setChecked(true);  // inch
        Named<QLineEdit>(d, "Edit_dezimalstellen")->setText("4");
        Named<QRadioButton>(d, "RadioGroup_schriftfeld_3")->setChecked(true);  // DIN 6771
        Named<QRadioButton>(d, "RadioGroup_ausgabe_6")->setChecked(true);      // HTML
        Named<QLineEdit>(d, "Edit_drawout1")->setText("/usr/bin/plot DRAWOUT.DXF /M2");
        Named<QRadioButton>(d, "RadioGroup_step_2")->setChecked(true);
        Named<QPushButton>(d, "Button_speichern")->click();
        Named<QPushButton>(d, "Button_ok")->click();
      });
      const Settings& s = w.session().settings;
      QCOMPARE(s.numbers.unitSystem, 1);
      QCOMPARE(s.numbers.decimals, 4);
      QCOMPARE(s.titleBlockForm, 3);
      QCOMPARE(s.textDevice, 7);
      QCOMPARE(s.stepLevel, 2);
      // The window's own prompts show inches and four decimals at once.
      QCOMPARE(w.session().ui.numbers().decimals, 4);
    }
    std::string file = folder.path() + "/fallback/kamo.cfg";
    QVERIFY(std::filesystem::exists(file));
    Thh again;
    QVERIFY(again.start({}, Env(folder.path())).keepRunning);
    const Settings& s = again.session().settings;
    QCOMPARE(s.numbers.unitSystem, 1);
    QCOMPARE(s.numbers.decimals, 4);
    QCOMPARE(s.titleBlockForm, 3);
    QCOMPARE(s.textDevice, 7);
    QCOMPARE(s.plotCommands[0], std::string("/usr/bin/plot DRAWOUT.DXF /M2"));
    QCOMPARE(s.stepLevel, 2);
    RunConfig(again, [](QWidget* d) {
      QVERIFY(Named<QRadioButton>(d, "RadioGroup_einheiten_1")->isChecked());
      QCOMPARE(Named<QLineEdit>(d, "Edit_dezimalstellen")->text(), QString("4"));
      QVERIFY(Named<QRadioButton>(d, "RadioGroup_schriftfeld_3")->isChecked());
      QVERIFY(Named<QRadioButton>(d, "RadioGroup_ausgabe_6")->isChecked());
      QCOMPARE(Named<QLineEdit>(d, "Edit_drawout1")->text(), QString("/usr/bin/plot DRAWOUT.DXF /M2"));
      Named<QPushButton>(d, "Button_abbrechen")->click();
    });
  }

  // Settings take effect at once: the drawing surface repaints in the new
  // background colour.
  void coloursApplyAtOnce() {
    test::TempFolder folder;
    Thh w;
    w.shell().config.dir = folder.path() + "/";
    QColor before = w.graphicsView()->replayStyle().background;
    RunConfig(w, [](QWidget* d) {
      Named<QLineEdit>(d, "Edit_farbe2")->setText("#FF8000");
      Named<QLineEdit>(d, "Edit_hintergrund")->setText("2");
      Named<QPushButton>(d, "Button_ok")->click();
    });
    QColor after = w.graphicsView()->replayStyle().background;
    QVERIFY(after != before);
    QCOMPARE(after, QColor(255, 128, 0));
    QVERIFY2(!std::filesystem::exists(folder.file("kamo.cfg")), "OK writes no file");
  }

  void importThenCancelChangesNothing() {
    test::TempFolder folder;
    Thh w;
    w.shell().config.dir = folder.path() + "/";
    ValidFolders(w.session().settings, folder.path());
    const std::string live = ConfigToBytes(w.session().settings);
    Settings other;
    other.numbers.decimals = 7;
    other.helpLevel = 2;
    std::string bytes = ConfigToBytes(other);
    // Cut inside the rows: the rest keeps what the dialog shows.
    test::WriteFileBytes(folder.file("kurz.cfg"), bytes.substr(0, bytes.find("Farbgrafik")));
    test::WriteFileBytes(folder.file("kamo.cfg"), live);
    test::WriteFileBytes(folder.file("fremd.cfg"), std::string("GIF89a\0\x01\x02\r\n\xff\xfe", 14));
    RunConfig(w, [&folder](QWidget* d) {
      Named<QLineEdit>(d, "Edit_zeilen")->setText("70");
      // A file that is no configuration: a box, and the controls stay.
      auto box = std::make_shared<QString>();
      test::AnswerFileDialog(folder.file("fremd.cfg"));
      CloseNextBox(box);
      Named<QPushButton>(d, "Button_import")->click();
      QVERIFY2(box->startsWith("Keine Konfigurationsdatei"), qPrintable(*box));
      QCOMPARE(Named<QLineEdit>(d, "Edit_zeilen")->text(), QString("70"));
      test::AnswerFileDialog(folder.file("kurz.cfg"));
      Named<QPushButton>(d, "Button_import")->click();
      QCOMPARE(Named<QLineEdit>(d, "Edit_dezimalstellen")->text(), QString("7"));
      QVERIFY(Named<QRadioButton>(d, "RadioGroup_hilfegrad_2")->isChecked());
      QCOMPARE(Named<QLineEdit>(d, "Edit_zeilen")->text(), QString("70"));
      Named<QPushButton>(d, "Button_abbrechen")->click();
    });
    QCOMPARE(ConfigToBytes(w.session().settings), live);
    QCOMPARE(test::ReadFileBytes(folder.file("kamo.cfg")), live);
    QCOMPARE(test::ReadFileBytes(folder.file("kurz.cfg")), bytes.substr(0, bytes.find("Farbgrafik")));
  }
};

QTEST_MAIN(TconfigTest)
#include "tst_tconfig.moc"
