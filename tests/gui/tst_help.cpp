// The help in the real window, offscreen: the help box of a topic, the help
// picture in the graphics window, the picture catalogue TForm_hilfebild, and
// the help buttons of the prompts, the explanation dialog and Tconfig.
#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <cstdlib>
#include <memory>

#include "gui/graphicsview.h"
#include "gui/helpdialogs.h"
#include "gui/mainwindow.h"
#include "gui/qtest_modal.h"
#include "shell/help.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;

namespace {
// The shipped help through the configured PLT folder.
void ShippedHelp(Thh& w) { w.session().settings.pltDir = std::string(KAMO_SOURCE_DIR) + "/data/"; }

// Closes the next message box and keeps its caption and text.
void CloseNextBox(std::shared_ptr<std::pair<QString, QString>> seen, const char* shot = nullptr) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, seen, shot] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    *seen = {box->windowTitle(), box->text()};
    if (const char* dir = std::getenv("KAMO_SHOTS"); dir && *dir && shot) {
      QApplication::processEvents();
      box->grab().save(QString("%1/%2").arg(dir).arg(shot));
    }
    box->accept();
  });
  timer->start();
}

void Shot(QWidget* w, const char* name) {
  if (const char* dir = std::getenv("KAMO_SHOTS"); dir && *dir) {
    QApplication::processEvents();
    w->grab().save(QString("%1/%2").arg(dir).arg(name));
  }
}
}  // namespace

class HelpTest : public QObject {
  Q_OBJECT
 private slots:
  void helpBoxAndPicture() {
    Thh w;
    ShippedHelp(w);
    w.resize(800, 640);
    w.show();
    auto seen = std::make_shared<std::pair<QString, QString>>();
    CloseNextBox(seen, "help-box.png");
    w.shell().help->showHelp(7830, 1);
    QCOMPARE(seen->first, QString("HILFETEXT Nr.7830"));
    QVERIFY2(seen->second.startsWith(QString::fromUtf8("Halbl\u00E4nge a in mm")), qPrintable(seen->second));
    w.shell().help->showHelp(7830, 2);
    QVERIFY(w.shell().screen.size() > 50);
    Shot(&w, "help-picture.png");
    // The hint of a label, with the topic number at help level 2.
    w.session().settings.helpLevel = 2;
    QVERIFY(QString::fromStdString(w.shell().help->helpHint(7830)).endsWith("(7830)"));
  }

  void catalogueDialog() {
    Thh w;
    ShippedHelp(w);
    w.show();
    QStringList captions;
    int rounds = 0;
    std::function<void(QWidget*)> act = [&](QWidget* d) {
      ++rounds;
      QCOMPARE(d->objectName(), QString("TForm_hilfebild"));
      captions << d->windowTitle();
      auto* list = d->findChild<QComboBox*>("ComboBox_bilder");
      QVERIFY(list);
      QCOMPARE(list->count(), 13);
      for (const char* b : {"Button_ok", "Button_hilfe", "Button_neu", "Button_aendern", "Button_einfuegen",
                            "Button_loeschen"})
        QVERIFY2(d->findChild<QPushButton*>(b), b);
      if (rounds == 1) {
        QCOMPARE(list->currentIndex(), 0);
        Shot(d, "TForm_hilfebild.png");
        test::WhenModal(act);
        d->findChild<QToolButton*>("SpinButton_down")->click();
      } else {
        QCOMPARE(list->currentIndex(), 1);
        d->findChild<QPushButton*>("Button_ok")->click();
      }
    };
    test::WhenModal(act);
    w.findChild<QAction*>("mi_helpHilfebild")->trigger();
    QCOMPARE(rounds, 2);
    QCOMPARE(captions.front(), QString("KAMO Hilfebilder"));
    QVERIFY(w.shell().screen.size() > 20);
    QVERIFY(!w.session().flags.abortFlag);
  }

  void promptAndDialogButtons() {
    Thh w;
    ShippedHelp(w);
    bool enabled = false;
    test::WhenModal([&enabled](QWidget* d) {
      auto* text = d->findChild<QPushButton*>("Button_hilfetext");
      auto* picture = d->findChild<QPushButton*>("Button_hilfebild");
      enabled = text && picture && text->isEnabled() && picture->isEnabled();
      d->findChild<QPushButton*>("Button_cancel")->click();
    });
    TextPrompt p{"Eingabe", "Drehzahl [1/min]", "1000", 30, 5100};
    QVERIFY(!w.session().ui.port().promptText(p));
    QVERIFY(enabled);
    bool helpEnabled = false;
    test::WhenModal([&helpEnabled](QWidget* d) {
      auto* help = d->findChild<QPushButton*>("Button_hilfe");
      helpEnabled = help && help->isEnabled();
      d->findChild<QPushButton*>("Button_ok")->click();
    });
    w.session().ui.port().explanation(ExplanationForm{"Meldung", "Ursache", "Abhilfe"});
    QVERIFY(helpEnabled);
  }

  void configurationHelp() {
    Thh w;
    ShippedHelp(w);
    test::TempFolder folder;
    w.shell().config.dir = folder.path() + "/";
    auto seen = std::make_shared<std::pair<QString, QString>>();
    test::WhenModal([seen](QWidget* d) {
      QCOMPARE(d->objectName(), QString("Tconfig"));
      auto* pages = d->findChild<QTabWidget*>("PageControl");
      QVERIFY(!pages->tabToolTip(6).isEmpty());
      pages->setCurrentIndex(6);
      CloseNextBox(seen);
      d->findChild<QPushButton*>("Button_hilfe")->click();
      d->findChild<QPushButton*>("Button_abbrechen")->click();
    });
    w.findChild<QAction*>("mi_fileConfig")->trigger();
    QCOMPARE(seen->first, QString("HILFETEXT Nr.4130"));
    QVERIFY(seen->second.contains("Hilfegrad"));
  }
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
