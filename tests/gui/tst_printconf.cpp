// The graphic printout: the dialog's starting values, the print profiles in
// the configuration, and File > Print from the window onto a PDF printer.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>

#include "gui/mainwindow.h"
#include "gui/printconf.h"
#include "gui/qtest_modal.h"
#include "io/configio.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;

class PrintConfTest : public QObject {
  Q_OBJECT
 private slots:
  void startingValues() {
    Settings s;
    s.printScaleX = 0.5;
    s.printScaleY = 0.6;
    s.printOriginX = 10;
    s.printOriginY = 20;
    s.printBorder = true;
    s.printOrientation = 2;
    s.windowsPrintMode = 2;
    struct Case {
      int kind;
      double sx, sy;
      int ox;
      bool border, landscape;
    };
    for (Case c : {Case{2, 0.95, 1.0, 0, false, false}, Case{3, 0.5, 0.6, 10, true, true},
                   Case{0, 0.5, 0.6, 10, true, true}}) {
      PrintConf p = StartingPrintConf(s, c.kind);
      QCOMPARE(p.scaleX, c.sx);
      QCOMPARE(p.scaleY, c.sy);
      QCOMPARE(p.originX, c.ox);
      QCOMPARE(p.border, c.border);
      QCOMPARE(p.landscape, c.landscape);
      QVERIFY(!p.monochrome);
    }
  }

  // Profiles live in rows after the last row: they survive writing and
  // reading, a file without them has none, and the last row stays 109.
  void profilesInTheConfiguration() {
    Settings s;
    PrintConf a;
    a.scaleX = 0.75;
    a.originY = -5;
    a.landscape = a.border = a.fit = true;
    a.monochrome = false;
    QVERIFY(StoreProfile(s, "A3 quer", a));
    QVERIFY(StoreProfile(s, "A4", PrintConf{}));
    a.scaleY = 2;
    QVERIFY(StoreProfile(s, "A3 quer", a));  // replaced, not added
    QVERIFY(!StoreProfile(s, "   ", a));
    QCOMPARE(s.printProfiles.size(), size_t(2));
    ConfigContext ctx{"/tmp/", ScreenInfo{}};
    const std::string bytes = ConfigToBytes(s);
    Settings back;
    QCOMPARE(ConfigFromBytes(bytes, back, ctx), 109);
    QCOMPARE(back.printProfiles.size(), size_t(2));
    PrintConf b = FromProfile(back.printProfiles[0], false);
    QCOMPARE(back.printProfiles[0].name, std::string("A3 quer"));
    QCOMPARE(b.scaleX, 0.75);
    QCOMPARE(b.scaleY, 2.0);
    QCOMPARE(b.originY, -5);
    QVERIFY(b.landscape && b.border && b.fit && !b.monochrome);
    const std::string again = ConfigToBytes(back);
    QCOMPARE(again.substr(again.rfind("Print profiles")), bytes.substr(bytes.rfind("Print profiles")));
    // Without profiles the file ends at its last row, as before.
    Settings old;
    std::string plain = ConfigToBytes(old);
    QCOMPARE(plain, bytes.substr(0, bytes.rfind("Print profiles")));
    Settings fromPlain;
    QCOMPARE(ConfigFromBytes(plain, fromPlain, ctx), 109);
    QVERIFY(fromPlain.printProfiles.empty());
    for (int i = 0; i < Settings::kMaxPrintProfiles; ++i)
      StoreProfile(old, "P" + std::to_string(i), PrintConf{});
    QVERIFY(!StoreProfile(old, "one more", PrintConf{}));
  }

  void printTheSheet() {
    test::TempFolder folder;
    std::string path = folder.file("nocke.kmo"), pdf = folder.file("druck.pdf");
    std::filesystem::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/ellipse.kmo", path);
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.show();
    QVERIFY(w.shell().openProject(path));
    QAction* print = w.findChild<QAction*>("mi_filePrint");
    w.findChild<QAction*>("mi_viewQuick4")->trigger();
    QVERIFY(print->isEnabled());
    w.printer().setOutputFormat(QPrinter::PdfFormat);
    w.printer().setOutputFileName(QString::fromStdString(pdf));
    QString startScale;
    test::WhenModal([&](QWidget* d) {
      QCOMPARE(d->objectName(), QString("TForm_printconf"));
      startScale = d->findChild<QLineEdit*>("Edit_scaleX")->text();
      d->findChild<QLineEdit*>("Edit_scaleX")->setText("0,9");
      d->findChild<QRadioButton*>("RadioGroup_shading_2")->setChecked(true);
      d->findChild<QRadioButton*>("RadioGroup_orientation_2")->setChecked(true);
      d->findChild<QComboBox*>("ComboBox_profile")->setEditText("A3 quer");
      QTest::mouseClick(d->findChild<QPushButton*>("Button_store"), Qt::LeftButton);
      QTest::mouseClick(d->findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
    });
    print->trigger();
    QCOMPARE(startScale, QString("1"));  // the A3 sheet starts from the stored values
    const Settings& s = w.session().settings;
    QCOMPARE(s.printScaleX, 0.9);
    QCOMPARE(s.printOrientation, 2);
    QCOMPARE(s.windowsPrintMode, 2);
    QCOMPARE(s.printProfiles.size(), size_t(1));
    QCOMPARE(s.printProfiles[0].xscale, 0.9);
    QVERIFY(std::filesystem::exists(pdf));
    QVERIFY(std::filesystem::file_size(pdf) > 5000);

    // Cancel prints nothing.
    std::filesystem::remove(pdf);
    test::WhenModal([](QWidget* d) {
      QTest::mouseClick(d->findChild<QPushButton*>("Button_cancel"), Qt::LeftButton);
    });
    print->trigger();
    QVERIFY(!std::filesystem::exists(pdf));
    QVERIFY(w.session().flags.abortFlag);
  }
};

QTEST_MAIN(PrintConfTest)
#include "tst_printconf.moc"
