// Proves the widget test toolchain: a dialog's controls are found by their
// object names and driven with simulated key strokes and clicks, offscreen.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

class ToolchainTest : public QObject {
  Q_OBJECT
 private slots:
  void editAndConfirm() {
    QDialog dlg;
    auto* edit = new QLineEdit(&dlg);
    edit->setObjectName("Edit_a");
    auto* ok = new QPushButton("OK", &dlg);
    ok->setObjectName("Button_ok");
    auto* layout = new QVBoxLayout(&dlg);
    layout->addWidget(edit);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
    dlg.show();

    auto* found = dlg.findChild<QLineEdit*>("Edit_a");
    QVERIFY(found);
    QTest::keyClicks(found, "60,5");
    QTest::mouseClick(dlg.findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(found->text(), QString("60,5"));
  }
};

QTEST_MAIN(ToolchainTest)
#include "tst_toolchain.moc"
