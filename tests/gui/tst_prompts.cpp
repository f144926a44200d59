// The Qt forms of the UI port, driven offscreen: prompts, choices, boxes and
// the explanation dialog, alone and through the real prompt loops.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include "core/messages.h"
#include "core/settings.h"
#include "core/ui.h"
#include "gui/prompts.h"
#include "gui/qtest_modal.h"
#include "gui/qtport.h"

using namespace kamo;

namespace {
QPushButton* Button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(name); }

ChoicePrompt Choices(int n) {
  ChoicePrompt p;
  p.caption = "Auswahl";
  p.label = "Kurventyp";
  for (int i = 1; i <= n; ++i) p.items.push_back("Typ " + std::to_string(i));
  p.selected = 2;
  p.asList = n > 7;
  return p;
}

// The UI layer over the Qt port, as the program uses it.
struct Layer {
  QtPort port;
  Flags flags;
  UiState state;
  Settings settings;
  Ui ui{port, flags, state, settings.numbers};
};
}  // namespace

class PromptTest : public QObject {
  Q_OBJECT
 private slots:
  void textPromptTypeEnterEscape() {
    TextPrompt p{"Eingabe", "Drehzahl [1/min]", "1000", 30, 5100};
    {
      PromptDialog d(p);
      d.show();
      QCOMPARE(d.windowTitle(), QString("Eingabe"));
      QCOMPARE(d.findChild<QLabel*>("Label_prompt")->text(), QString("Drehzahl [1/min]"));
      QCOMPARE(d.edit()->text(), QString("1000"));
      QVERIFY(!Button(&d, "Button_hilfetext")->isEnabled());
      QVERIFY(!Button(&d, "Button_hilfebild")->isEnabled());
      QCOMPARE(Button(&d, "Button_cancel")->text(), QString("Abbrechen"));
      QTest::keyClicks(d.edit(), "2500");  // replaces the selected default
      QTest::keyClick(d.edit(), Qt::Key_Return);
      QCOMPARE(d.answer(), std::optional<std::string>("2500"));
    }
    {
      PromptDialog d(p);
      d.show();
      QTest::keyClicks(d.edit(), "7");
      QTest::keyClick(d.edit(), Qt::Key_Escape);
      QVERIFY(!d.answer());
    }
  }

  void maximumLengthLimitsTypingOnly() {
    TextPrompt shortOne{"Eingabe", "Name", "", 8, 0};
    PromptDialog d(shortOne);
    d.show();
    QTest::keyClicks(d.edit(), "abcdefghijk");
    QCOMPARE(d.edit()->text(), QString("abcdefgh"));

    std::string longLine = "/usr/bin/drawout -d -x " + std::string(60, 'p');  // 83 characters
    TextPrompt longOne{"Eingabe", "Plotprogramm", longLine, 60, 0};
    PromptDialog l(longOne);
    l.show();
    QCOMPARE(l.edit()->text().toStdString(), longLine);
    l.edit()->end(false);
    QTest::keyClicks(l.edit(), "zz");  // no room to grow
    QCOMPARE(l.edit()->text().toStdString(), longLine);
    QTest::keyClick(l.edit(), Qt::Key_Backspace);
    QTest::keyClick(l.edit(), Qt::Key_Return);
    QCOMPARE(l.answer(), std::optional<std::string>(longLine.substr(0, longLine.size() - 1)));
  }

  void radioUpToSevenListAbove() {
    for (int n : {3, 7, 8, 12}) {
      ChoiceDialog d(Choices(n));
      d.show();
      bool list = n > 7;
      QCOMPARE(d.usesList(), list);
      QCOMPARE(d.findChild<QListWidget*>("ListBox_choice") != nullptr, list);
      QCOMPARE(d.findChild<QGroupBox*>("RadioGroup_choice") != nullptr, !list);
      QCOMPARE(static_cast<int>(d.findChildren<QRadioButton*>().size()), list ? 0 : n);
      if (list) {
        auto* box = d.findChild<QListWidget*>("ListBox_choice");
        QCOMPARE(box->currentRow(), 2);
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Return);  // Enter in the list is OK
        QCOMPARE(d.answer(), std::optional<int>(3));
      } else {
        QVERIFY(d.findChild<QRadioButton*>("RadioButton_3")->isChecked());
        auto* second = d.findChild<QRadioButton*>("RadioButton_2");
        QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(8, second->height() / 2));
        QTest::mouseClick(Button(&d, "Button_ok"), Qt::LeftButton);
        QCOMPARE(d.answer(), std::optional<int>(1));
      }
    }
    ChoiceDialog cancelled(Choices(3));
    cancelled.show();
    QTest::mouseClick(Button(&cancelled, "Button_cancel"), Qt::LeftButton);
    QVERIFY(!cancelled.answer());
  }

  void explanationDialog() {
    Thelperr d({"Fehler : A Cam <= 0 !", "Ursache alt", "Abhilfe alt"});
    d.show();
    QCOMPARE(d.windowTitle(), QString("Fehlermeldung"));
    QVERIFY(d.findChild<QLineEdit*>("Edit_message")->isReadOnly());
    QVERIFY(!d.changed());
    auto* cause = d.findChild<QPlainTextEdit*>("Memo_cause");
    cause->setPlainText("Ursache\nneu");
    QVERIFY(d.changed());
    QCOMPARE(d.form().cause, std::string("Ursache neu"));
    QCOMPARE(d.form().remedy, std::string("Abhilfe alt"));
    QVERIFY(!Button(&d, "Button_hilfe")->isEnabled());
  }

  // The validation loop of the real prompt over the Qt forms: an out-of-range
  // value gives the range box, then the prompt comes back with that value.
  void realPromptLoop() {
    Layer l;
    Real speed = 1000;
    test::WhenModal([](QWidget* w) {
      auto* edit = w->findChild<QLineEdit*>("Edit_text");
      edit->setText("0");
      test::WhenModal([](QWidget* box) {
        auto* b = qobject_cast<QMessageBox*>(box);
        QVERIFY(b);
        QCOMPARE(b->windowTitle(), QString("Fehler : "));
        QVERIFY(b->text().startsWith(QString::fromUtf8("G\u00FCltiger Wertebereich: ")));
        test::WhenModal([](QWidget* again) {
          auto* e = again->findChild<QLineEdit*>("Edit_text");
          QCOMPARE(e->text(), QString("0"));
          e->setText("2,5");
          QTest::keyClick(e, Qt::Key_Return);
        });
        QTest::mouseClick(Button(box, "Button_ok"), Qt::LeftButton);
      });
      QTest::keyClick(edit, Qt::Key_Return);
    });
    QVERIFY(l.ui.inputReal("Drehzahl [1/min]", speed, 1e-5L, 1e12L));
    QCOMPARE(static_cast<double>(speed), 2.5);
    QVERIFY(!l.flags.abortFlag);
  }

  void questionAnswers() {
    struct Case {
      const char* button;
      Answer answer;
    };
    for (Case c : {Case{"Button_yes", Answer::Yes}, Case{"Button_no", Answer::No},
                   Case{"Button_cancel", Answer::Cancel}}) {
      QtPort port;
      std::string name = c.button;
      test::WhenModal([name](QWidget* w) {
        QCOMPARE(w->findChild<QPushButton*>("Button_yes")->text(), QString("&Ja"));
        QTest::mouseClick(Button(w, name.c_str()), Qt::LeftButton);
      });
      QCOMPARE(port.askYesNoCancel("KAMO", "Koordinaten auf 0 setzen ?"), c.answer);
    }
    QtPort port;
    test::WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(port.askYesNoCancel("KAMO", "Datei speichern (a.kmo) ?"), Answer::Cancel);
  }

  void choiceThroughTheLayer() {
    Layer l;
    for (int i = 1; i <= 8; ++i) l.state.choiceTexts[static_cast<size_t>(i)] = "Typ " + std::to_string(i);
    for (int n : {7, 8}) {
      int k = 5;
      test::WhenModal([n](QWidget* w) {
        QCOMPARE(w->findChild<QListWidget*>("ListBox_choice") != nullptr, n > 7);
        QTest::mouseClick(Button(w, "Button_ok"), Qt::LeftButton);
      });
      QVERIFY(l.ui.inputChoice("Kurventyp", n, k));
      QCOMPARE(k, 5);
    }
  }

  void projectTable() {
    TablePick t{"Tabelle", {"File", "n"}, {{"a.kmo", "1000"}, {"b.kmo", "50"}}};
    TableDialog d(t);
    d.show();
    auto* grid = d.findChild<QTableWidget*>("Grid_projects");
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("n"));
    QCOMPARE(grid->item(1, 0)->text(), QString("b.kmo"));
    grid->setCurrentCell(1, 0);
    QTest::mouseClick(Button(&d, "Button_open"), Qt::LeftButton);
    QCOMPARE(d.answer(), std::optional<int>(1));
    TableDialog closed(t);
    closed.show();
    QTest::mouseClick(Button(&closed, "Button_close"), Qt::LeftButton);
    QVERIFY(!closed.answer());
  }

  void diagramLimits() {
    DiagramLimitsForm f{"s = f (phi)", "phi", "s", 0, 6.28, -1, 4, 1950};
    TEinDiagramLimits d(f);
    d.show();
    QCOMPARE(d.windowTitle(), QString("s = f (phi)"));
    auto* ymax = d.findChild<QLineEdit*>("Edit_ymax");
    QCOMPARE(ymax->text(), QString("4"));
    ymax->setText("abc");
    QTest::mouseClick(Button(&d, "Button_ok"), Qt::LeftButton);
    QVERIFY(d.isVisible());  // not a number: the dialog stays
    QTest::mouseClick(Button(&d, "Button_calc"), Qt::LeftButton);
    QCOMPARE(ymax->text(), QString("4"));
    ymax->setText("7,5");
    QTest::mouseClick(Button(&d, "Button_ok"), Qt::LeftButton);
    auto r = d.answer();
    QVERIFY(r);
    QCOMPARE(r->yMax, 7.5);
    QCOMPARE(r->xMax, 6.28);
    TEinDiagramLimits c(f);
    c.show();
    QTest::keyClick(&c, Qt::Key_Escape);
    QVERIFY(!c.answer());
  }

  void plotDialog() {
    PlotForm f;
    f.outputFolder = "/tmp/kamo/";
    f.psFonts = {"Courier", "Helvetica", "Times-Roman"};
    f.commandLine = [](const PlotForm& p) {
      return p.programPath + " code=" + std::to_string(p.outputCode) + " if=" +
             std::to_string(p.interface) + (p.fitToSheet ? " fit" : " scale=" + p.scale);
    };
    TForm_confdrawout d(f);
    d.show();
    QCOMPARE(d.windowTitle(), QString("DRAWOUT"));
    auto* line = d.findChild<QLabel*>("Label_commandLine");
    QCOMPARE(line->text(), QString("c:\\drawout\\wdrawout code=1 if=2 scale=1"));
    // Only the field of the chosen interface is open; the font list only for PS.
    QVERIFY(d.findChild<QLineEdit*>("Edit_lpt")->isEnabled());
    QVERIFY(!d.findChild<QLineEdit*>("Edit_com")->isEnabled());
    QVERIFY(!d.findChild<QComboBox*>("ComboBox_psFont")->isEnabled());
    d.findChild<QRadioButton*>("RadioGroup_output_2")->click();
    QVERIFY(d.findChild<QComboBox*>("ComboBox_psFont")->isEnabled());
    d.findChild<QRadioButton*>("RadioGroup_interface_3")->click();
    QVERIFY(d.findChild<QLineEdit*>("Edit_folder")->isEnabled());
    QVERIFY(!d.findChild<QLineEdit*>("Edit_lpt")->isEnabled());
    auto* scale = d.findChild<QLineEdit*>("Edit_scale");
    scale->setText("2");
    d.findChild<QCheckBox*>("CheckBox_fit")->setChecked(true);
    QCOMPARE(scale->text(), QString("0"));
    QVERIFY(!scale->isEnabled());
    QCOMPARE(line->text(), QString("c:\\drawout\\wdrawout code=2 if=3 fit"));
    d.findChild<QLineEdit*>("Edit_folder")->setText("/elsewhere/");
    QTest::mouseClick(Button(&d, "Button_folderReset"), Qt::LeftButton);
    QCOMPARE(d.findChild<QLineEdit*>("Edit_folder")->text(), QString("/tmp/kamo/"));
    QTest::mouseClick(Button(&d, "Button_ok"), Qt::LeftButton);
    auto r = d.answer();
    QVERIFY(r);
    QCOMPARE(r->outputCode, 2);
    QCOMPARE(r->interface, 3);
    QVERIFY(r->fitToSheet);
    QCOMPARE(r->psFont, std::string("Courier"));
  }

  void filters() {
    QCOMPARE(QtNameFilters("*.kmo|*.kmo"), QString("*.kmo"));
    QCOMPARE(QtNameFilters("Projekte|*.kmo|Alle|*.*"), QString("Projekte (*.kmo);;Alle (*.*)"));
  }
};

QTEST_MAIN(PromptTest)
#include "tst_prompts.moc"
