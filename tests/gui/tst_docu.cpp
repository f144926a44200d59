// The menu "Dokument" with the real main window, offscreen: three changes
// through TForm_EinAend, the newest modified and deleted, the drawing
// information in its DIN 6771 and ISO 7200 forms with umlauts and two free
// texts, the document links; each step marks the project modified; saved and
// reopened, everything is back, and the A3 sheet's DXF carries the change
// index, the signatures and the free texts.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "core/codepage.h"
#include "core/numbers.h"
#include "docu/docu.h"
#include "gui/docudialogs.h"
#include "gui/mainwindow.h"
#include "gui/qtest_modal.h"
#include "io/kamoio.h"
#include "shell/cmdline.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;
using namespace kamo::test;

namespace {
QAction* Entry(Thh& w, const char* name) {
  QAction* a = w.findChild<QAction*>(name);
  if (!a) qFatal("no menu entry %s", name);
  return a;
}

void SetCell(QWidget* w, const char* grid, int row, int col, const QString& text) {
  auto* t = Child<QTableWidget>(w, grid);
  t->setItem(row, col, new QTableWidgetItem(text));
}

// Runs act on the modal widget named `name` once it shows; any other modal
// in between is a failure and is closed.
void WhenNamed(const QString& name, std::function<void(QWidget*)> act) {
  test::WhenModal([name, act](QWidget* w) {
    if (w->objectName() != name) {
      qWarning("expected %s, got %s", qPrintable(name), qPrintable(w->objectName()));
      w->close();
      return;
    }
    act(w);
  });
}

// The protocol shown after a change: its text, then the viewer closed.
void CloseViewer(QString* text) {
  WhenNamed("TForm_textviewer", [text](QWidget* v) {
    if (auto* e = v->findChild<QPlainTextEdit*>()) *text = e->toPlainText();
    v->close();
  });
}

void NewChange(Thh& w, const QString& text, const QString& who, QString* protocol) {
  WhenNamed("TForm_EinAend", [=](QWidget* d) {
    Child<QLineEdit>(d, "Edit_aendText")->setText(text);
    Child<QLineEdit>(d, "Edit_bearbeiter")->setText(who);
    Child<QLineEdit>(d, "Edit_aendDatum")->clear();
    Click(d, "Button_datum");
    Child<QPlainTextEdit>(d, "Memo_beschreibung")->setPlainText(text + "\nzweite Zeile");
    CloseViewer(protocol);
    Click(d, "Button_ok");
  });
  Entry(w, "mi_docuNew")->trigger();
}

std::string DxfTexts(const std::string& dxf) {
  std::string cmd = "/usr/bin/python3 " + std::string(KAMO_SOURCE_DIR) + "/tests/docu/data/dxf_texts.py '" +
                    dxf + "'";
  int rc = -1;
  std::string out = kamo::test::CommandOutput(cmd, &rc);
  if (rc != 0) qWarning("dxf_texts.py failed for %s", dxf.c_str());
  return out;
}
}  // namespace

class DocuTest : public QObject {
  Q_OBJECT
 private slots:
  void menuEntriesAreEnabled() {
    Thh w;
    for (const char* name : {"mi_docuInfo", "mi_docuShow", "mi_docuPrint", "mi_docuNew",
                             "mi_docuModify", "mi_docuDelete", "mi_docuSetup"})
      QVERIFY2(Entry(w, name)->isEnabled(), name);
  }

  void dialogsKeepWhatIsShown() {
    // "-" hides the free-text grid; the ISO form has no date buttons and no replacement fields.
    DrawingInfoForm f;
    f.iso = true;
    f.textSheetMode = 3;
    TForm_zeichInfo iso(f);
    iso.show();
    QVERIFY(!Child<QTableWidget>(&iso, "StringGrid_texte")->isVisible());
    QVERIFY(!iso.findChild<QPushButton*>("Button_datum1"));
    QVERIFY(!iso.findChild<QLineEdit*>("Edit_ersatzFuer"));
    Child<QComboBox>(&iso, "ComboBox_blatt")->setCurrentIndex(1);
    QVERIFY(Child<QTableWidget>(&iso, "StringGrid_texte")->isVisible());
    QCOMPARE(iso.current().textSheetMode, 1);
    // A long stored text is shown whole, not cut by the field's limit.
    ChangeForm c;
    c.changeText = std::string(30, 'x');
    TForm_EinAend change(c);
    QCOMPARE(change.current().changeText, c.changeText);
  }

  // KAMO_SHOTS=DIR: pictures of the three dialogs filled from the documented
  // example, for looking at them.
  void pictures() {
    const char* dir = std::getenv("KAMO_SHOTS");
    if (!dir) QSKIP("KAMO_SHOTS not set");
    test::ScriptedPort port;
    Session s(port);
    CamProject& p = s.project();
    QVERIFY(ReadProject(s.ui, s.settings, std::string(KAMO_SOURCE_DIR) + "/examples/documented.kmo", p));
    auto shot = [dir](QDialog& d, const char* name) {
      d.show();
      d.adjustSize();
      d.grab().save(QString("%1/%2.png").arg(dir, name));
    };
    TForm_EinAend change(FillChangeForm(p.changes[2], 2, "2026-03-07"));
    shot(change, "TForm_EinAend");
    s.settings.titleBlockForm = 3;
    s.settings.releaseFieldText = "Frei";
    TForm_zeichInfo din(FillDrawingInfoForm(p, s.settings, "2026-03-07"));
    shot(din, "TForm_zeichInfo_DIN");
    s.settings.titleBlockForm = 2;
    TForm_zeichInfo iso(FillDrawingInfoForm(p, s.settings, "2026-03-07"));
    shot(iso, "TForm_zeichInfo_ISO");
    TForm_confDoku links(FillDocumentLinksForm(p, "KAMO  -  documented.kmo"));
    shot(links, "TForm_confDoku");
  }

  void userSession() {
    test::TempFolder folder;
    const std::string path = folder.file("doku.kmo");
    std::filesystem::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo", path);
    Thh w;
    Session& s = w.session();
    s.settings.tempDir = folder.path();
    s.settings.titleBlockForm = 3;  // DIN 6771
    w.resize(900, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.shell().openProject(path));
    s.project().changeCount = 0;
    const std::string today = TodayDate(s);

    // Three new changes, each marks the project and shows the protocol.
    for (int i = 1; i <= 3; ++i) {
      s.flags.modified = false;
      QString protocol;
      NewChange(w, QString::fromUtf8("\u00C4nderung Nr. %1").arg(i), "KW", &protocol);
      QVERIFY(s.flags.modified);
      QCOMPARE(int(s.project().changeCount), i);
      QVERIFY(protocol.contains(QString::fromUtf8("\u00C4nderung Nr. %1").arg(i)));
      QVERIFY(protocol.contains("Erstellungsdatum: "));
    }
    QCOMPARE(s.project().changes[2].changeDate, today);

    // Modify the newest, then delete it after "Löschen ?".
    s.flags.modified = false;
    QString protocol;
    WhenNamed("TForm_EinAend", [&](QWidget* d) {
      QCOMPARE(d->windowTitle(), QString::fromUtf8("\u00C4nderung 3"));
      QCOMPARE(Child<QLineEdit>(d, "Edit_aendText")->text(), QString::fromUtf8("\u00C4nderung Nr. 3"));
      Child<QLineEdit>(d, "Edit_aendText")->setText(QString::fromUtf8("ge\u00E4ndert"));
      CloseViewer(&protocol);
      Click(d, "Button_ok");
    });
    Entry(w, "mi_docuModify")->trigger();
    QVERIFY(s.flags.modified);
    QCOMPARE(s.project().changes[3].changeText, std::string("ge\x84ndert"));
    s.flags.modified = false;
    WhenNamed("QuestionBox", [&](QWidget* box) {
      CloseViewer(&protocol);
      Click(box, "Button_yes");
    });
    Entry(w, "mi_docuDelete")->trigger();
    QVERIFY(s.flags.modified);
    QCOMPARE(int(s.project().changeCount), 2);

    // The drawing information, DIN 6771: signatures, replacement, two free texts.
    s.flags.modified = false;
    WhenNamed("TForm_zeichInfo", [&](QWidget* d) {
      QCOMPARE(d->windowTitle(), QString("Zeichnungsinfo DIN 6771"));
      Click(d, "Button_datum2");
      SetCell(d, "StringGrid_unterschrift", 0, 2, QString::fromUtf8("M\u00FCller"));
      SetCell(d, "StringGrid_unterschrift", 1, 2, QString::fromUtf8("Schr\u00F6der"));
      SetCell(d, "StringGrid_unterschrift", 2, 2, QString::fromUtf8("Wei\u00DF"));
      Child<QLineEdit>(d, "Edit_ersatzFuer")->setText(QString::fromUtf8("Z-\u00C41"));
      Child<QComboBox>(d, "ComboBox_blatt")->setCurrentIndex(2);  // A4+A3
      const char* row1[5] = {"30", "272", "3.5", "0", nullptr};
      const char* row3[5] = {"30", "265", "3,5", "0", nullptr};
      for (int c = 0; c < 4; ++c) {
        SetCell(d, "StringGrid_texte", 0, c, row1[c]);
        SetCell(d, "StringGrid_texte", 2, c, row3[c]);
      }
      SetCell(d, "StringGrid_texte", 0, 4, QString::fromUtf8("Werkstoff geh\u00E4rtet"));
      SetCell(d, "StringGrid_texte", 2, 4, QString::fromUtf8("Kanten gebrochen \u00D7 45\u00B0"));
      Click(d, "Button_ok");
    });
    Entry(w, "mi_docuInfo")->trigger();
    QVERIFY(s.flags.modified);
    QCOMPARE(s.project().info.rows[1].date, today);
    QCOMPARE(int(s.project().info.textCount), 2);

    // The ISO 7200 form: the document fields.
    s.settings.titleBlockForm = 2;
    s.flags.modified = false;
    WhenNamed("TForm_zeichInfo", [&](QWidget* d) {
      QCOMPARE(d->windowTitle(), QString("Zeichnungsinfo ISO 7200"));
      auto* sign = Child<QTableWidget>(d, "StringGrid_unterschrift");
      QCOMPARE(sign->rowCount(), 3);
      QCOMPARE(sign->item(0, 2)->text(), QString::fromUtf8("M\u00FCller"));
      SetCell(d, "StringGrid_dokument", 0, 1, QString::fromUtf8("Pr\u00FCffeld"));
      SetCell(d, "StringGrid_dokument", 1, 1, "Zeichnung");
      SetCell(d, "StringGrid_dokument", 2, 1, "freigegeben");
      Click(d, "Button_ok");
    });
    Entry(w, "mi_docuInfo")->trigger();
    QVERIFY(s.flags.modified);
    QCOMPARE(s.project().info.responsibleDept, std::string("Pr\x81" "ffeld"));

    // The document links: a file, OK.
    s.flags.modified = false;
    WhenNamed("TForm_confDoku", [&](QWidget* d) {
      QVERIFY(d->windowTitle().startsWith("Document Links  -  "));
      Child<QLineEdit>(d, "Edit_file2")->setText(QString::fromStdString(folder.file("st\xC3\xBC" "ck.ods")));
      Click(d, "Button_ok");
    });
    Entry(w, "mi_docuSetup")->trigger();
    QVERIFY(s.flags.modified);

    // Saved and reopened: everything is back.
    QVERIFY(WriteProjectFile(s.ui, s.settings, path, s.project()));
    CamProject before = s.project();
    s.project().resetProject();
    QVERIFY(w.shell().openProject(path));
    const CamProject& back = s.project();
    QCOMPARE(int(back.changeCount), 2);
    QCOMPARE(back.changes[2].changeText, std::string("\x8Enderung Nr. 2"));
    QCOMPARE(back.changes[2].description, before.changes[2].description);
    QCOMPARE(back.info.rows[0].name, std::string("M\x81ller"));
    QCOMPARE(back.info.replacementFor, std::string("Z-\x8E" "1"));
    QCOMPARE(int(back.info.textCount), 2);
    QCOMPARE(back.info.texts[2].text, std::string("Kanten gebrochen \x9E 45\xF8"));
    QCOMPARE(back.info.textSheetMode, 2);
    QCOMPARE(back.info.documentType, std::string("Zeichnung"));
    QCOMPARE(back.links[2].file, Utf8ToCp850(folder.file("st\xC3\xBC" "ck.ods")));

    // The A3 sheet: change index, signatures and free texts in its DXF.
    Session batch(port_);
    std::ostringstream out, err;
    std::string dxf = folder.file("a3.dxf");
    batch.settings.titleBlockForm = 3;
    batch.settings.tempDir = folder.path();
    int code = RunBatchIn(batch, {path, "--sheet", "10", "--format", "dxf", "-o", dxf}, folder.path(),
                          out, err);
    QCOMPARE(code, 0);
    QString texts = QString::fromStdString(DxfTexts(dxf));
    for (const char* t : {"M\xC3\xBCller", "Schr\xC3\xB6" "der", "Werkstoff geh\xC3\xA4rtet",
                          "Kanten gebrochen \xC3\x97 45\xC2\xB0", "\xC3\x84nderung Nr. 2"})
      QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
    QVERIFY2(texts.split('\n').contains("b"), "change index b");
  }

 private:
  static std::string TodayDate(Session& s) {
    DateTime t = s.clock().now();
    return FormatDate(s.settings.numbers, t.year, t.month, t.day);
  }
  test::ScriptedPort port_;
};

QTEST_MAIN(DocuTest)
#include "tst_docu.moc"
