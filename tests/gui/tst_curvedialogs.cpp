// The dialogs of the curve editor, offscreen and by object name: the list
// dialog, the segment dialog with its two-point section, the six parameter
// dialogs, the position dialog and the coefficient dialog, each on the real
// logic of the shell; then Edit > "Geometrie (curve)" in the main window.
#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "cam/kamorech.h"
#include "core/numbers.h"
#include "gui/curvedialogs.h"
#include "gui/mainwindow.h"
#include "gui/qtport.h"
#include "gui/qtest_modal.h"
#include "io/kamoio.h"
#include "shell/curveinput.h"
#include "shell/session.h"
#include "support/scripted_port.h"

using namespace kamo;
using namespace kamo::test;

namespace {
// The edit fields in the order Tab visits them, from the dialog's first one.
QStringList TabOrder(QWidget* d) {
  QStringList names;
  QWidget* start = d->nextInFocusChain();
  for (QWidget* w = start; w; w = w->nextInFocusChain()) {
    if (qobject_cast<QLineEdit*>(w) && !w->objectName().startsWith("qt_") && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(d) && w->isEnabled())
      names << w->objectName();
    if (w->nextInFocusChain() == start) break;
  }
  return names;
}
bool FitsSmallScreen(QWidget* d) { return d->width() <= 1366 && d->height() <= 768 - 40; }

// Equal up to what the file holds (four decimals of a position).
bool Near(Real a, Real b) { return std::fabs(static_cast<double>(a - b)) <= 1e-5 * (1 + std::fabs(static_cast<double>(b))); }

// The whole screen: the main window with the dialog in front of it.
void ScreenShot(const char* name) {
  QByteArray dir = qgetenv("KAMO_SHOTS");
  if (dir.isEmpty() || QGuiApplication::platformName() == "offscreen") return;
  QApplication::processEvents();
  if (QScreen* s = QGuiApplication::primaryScreen())
    s->grabWindow(0).save(QString::fromLocal8Bit(dir) + "/" + name + ".png", "PNG");
}

struct Bench {
  test::ScriptedPort port;
  Session session{port};
  int metric = 0;
  int views = 0;
  CurveInput in{session};
  Bench() {
    session.project().resetProject();
    in.calculate = [this] { Calculate(session.project(), session.messages, session.flags, session.settings); };
    in.show = [this](ViewCode) { ++views; };
    in.metricBeforeInch = &metric;
  }
  CamProject& p() { return session.project(); }
};

}  // namespace

class CurveDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void listDialogCommands() {
    ListForm f;
    f.caption = "Eingabe der Positionen";
    f.lines = {"eins", "zwei", "drei"};
    f.selected = 2;
    f.spare = {"Transform.", "", ""};
    struct Case {
      const char* button;
      int command;
    };
    for (Case c : {Case{"Button_ok", lcOk}, Case{"Button_neu", lcNew}, Case{"Button_einfuegen", lcInsert},
                   Case{"Button_loeschen", lcDelete}, Case{"Button_aendern", lcEdit},
                   Case{"Button_156", lcSpare1}}) {
      TForm_einarray d(f, nullptr);
      d.show();
      if (c.command == lcOk) Shot(&d, "einarray");
      QCOMPARE(d.windowTitle(), QString("Eingabe der Positionen"));
      QVERIFY(!Child(&d, "Button_157")->isVisible());
      QVERIFY(!Child(&d, "Button_error")->isVisible());
      QCOMPARE(Child<QPushButton>(&d, "Button_156")->text(), QString("Transform."));
      Click(&d, c.button);
      QVERIFY2(d.answer(), c.button);
      QCOMPARE(d.answer()->command, c.command);
      QCOMPARE(d.answer()->line, 2);
    }
    {
      TForm_einarray d(f, nullptr);
      d.show();
      QVERIFY(QTest::qWaitForWindowExposed(&d));
      auto* list = Child<QListWidget>(&d, "ListBox_lines");
      emit list->itemDoubleClicked(list->item(2));
      QVERIFY(d.answer());
      QCOMPARE(d.answer()->command, static_cast<int>(lcDoubleClick));
      QCOMPARE(d.answer()->line, 3);
    }
    {
      TForm_einarray d(f, nullptr);
      d.show();
      QTest::keyClick(Child(&d, "ListBox_lines"), Qt::Key_Escape);
      QVERIFY(!d.answer());
    }
    {
      ListForm none = f;
      none.selected = 0;
      none.errorButton = true;
      int shown = 0;
      none.showErrors = [&shown] { ++shown; };
      TForm_einarray d(none, nullptr);
      d.show();
      Click(&d, "Button_error");
      QCOMPARE(shown, 1);
      QVERIFY(d.isVisible());  // stays open
      QTest::keyClick(Child(&d, "ListBox_lines"), Qt::Key_Return);
      QCOMPARE(d.answer()->command, static_cast<int>(lcOk));
      QCOMPARE(d.answer()->line, 0);
    }
  }

  void segmentDialogTwoPointSection() {
    Bench b;
    b.p().segmentCount = 1;
    b.p().segments[1] = {360, ""};
    SegmentEditor e(b.session, 1);
    TForm_kamonock d(e, &b.port);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.windowTitle(), QString("f1 (x)"));
    QCOMPARE(Text(&d, "Edit_vongrad"), QString("0"));
    QVERIFY(FitsSmallScreen(&d));
    QCOMPARE(TabOrder(&d), (QStringList{"Edit_bisgrad", "Edit_bisrad", "Edit_formel"}));
    QVERIFY(!Child(&d, "Edit_r1")->isVisible());
    // OK with an empty formula keeps the dialog open.
    Click(&d, "Button_ok");
    QVERIFY(d.isVisible());
    QCOMPARE(Child<QLabel>(&d, "Label_error")->text(), QString("f(x) = ???"));
    // The degrees field rewrites the radians when it is left.
    Type(&d, "Edit_bisgrad", "90");
    emit Child<QLineEdit>(&d, "Edit_bisgrad")->editingFinished();  // leaving the field
    QCOMPARE(Text(&d, "Edit_bisrad"), QString("1.570796"));
    // The two-point section, sinus.
    Child<QRadioButton>(&d, "RadioGroup_mode_1")->click();
    QVERIFY(Child(&d, "Edit_r1")->isVisible());
    Type(&d, "Edit_r1", "30");
    Type(&d, "Edit_r2", "40");
    Type(&d, "Edit_phi2", "180");
    Child<QRadioButton>(&d, "RadioGroup_sinlin_1")->click();
    Click(&d, "Button_calc");
    Shot(&d, "kamonock");
    QVERIFY2(Text(&d, "Edit_formel").startsWith("35+5*SIN((X-0.000000000000)/3.14159265359"),
             qPrintable(Text(&d, "Edit_formel")));
    QCOMPARE(Text(&d, "Edit_bisgrad"), QString("180"));
    QTest::keyClick(Child(&d, "Edit_r1"), Qt::Key_Return);  // Enter is OK
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(b.p().segments[1].xMax, 180);
    QCOMPARE(QString::fromStdString(b.p().segments[1].formula), Text(&d, "Edit_formel"));
  }

  void parameterDialogs_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("ellipse") << int(ctEllipse) << "TForm_riboelip" << QStringList{"Edit_a", "Edit_b"};
    QTest::newRow("sine") << int(ctSine) << "TForm_ribosin" << QStringList{"Edit_rw0", "Edit_A", "Edit_N"};
    QTest::newRow("linear sine") << int(ctLinearSine) << "TForm_riboslin"
                                 << QStringList{"Edit_rw0", "Edit_A", "Edit_philin"};
    QTest::newRow("polygon") << int(ctPolygon) << "TForm_ribopg" << QStringList{"Edit_z", "Edit_di", "Edit_de"};
    QTest::newRow("eccentric") << int(ctEccentric) << "TForm_riboexz" << QStringList{"Edit_d", "Edit_e"};
    QTest::newRow("sin-squared") << int(ctSinSquare) << "TForm_kamog1" << QStringList{"Edit_db", "Edit_sh", "Edit_w"};
  }
  void parameterDialogs() {
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QStringList, fields);
    Bench b;
    ParamEditor e(b.in, type);
    TForm_param d(e, &b.port);
    d.show();
    QCOMPARE(d.objectName(), name);
    Shot(&d, qPrintable(name));
    QVERIFY(d.windowTitle().startsWith("KAMO "));
    for (const QString& f : fields) QVERIFY2(d.findChild<QLineEdit*>(f), qPrintable(f));
    QVERIFY(FitsSmallScreen(&d));
    if (type != ctPolygon) QCOMPARE(TabOrder(&d), fields);  // the polygon's De starts disabled
    QVERIFY(d.findChild<CurvePicture*>("Image_curve")->outline().size() > 100);
    QVERIFY(!Child(&d, "Button_hilfebild")->isVisible());
    // Calc stores, calculates and previews; the dialog stays open.
    Click(&d, "Button_calc");
    QCOMPARE(b.views, 1);
    QVERIFY(d.isVisible());
    QCOMPARE(int(b.p().curveType), type);
    // The unit switch relabels and refills; twice gives the values back unchanged.
    CamProject before = b.p();
    Click(&d, "Button_metric");
    QCOMPARE(b.session.settings.numbers.unitSystem, 1);
    Click(&d, "Button_metric");
    QCOMPARE(b.session.settings.numbers.unitSystem, 0);
    Click(&d, "Button_ok");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(b.p().eccentric.d, before.eccentric.d);
    QCOMPARE(b.p().ellipse.a, before.ellipse.a);
    QCOMPARE(b.p().sinSq.sh, before.sinSq.sh);
  }

  void ellipseDefaultAndPolygonCoupling() {
    Bench b;
    b.session.settings.numbers.unitSystem = 1;
    b.p().ellipse.a = 100;
    {
      ParamEditor e(b.in, ctEllipse);
      TForm_param d(e, &b.port);
      d.show();
      QCOMPARE(Text(&d, "Edit_a"), QString("3.9370"));
      QCOMPARE(Child<QLabel>(&d, "Label_unit_a")->text(), QString("in"));
      Click(&d, "Button_def_b");
      QCOMPARE(Text(&d, "Edit_b"), QString("3.5433"));
      QVERIFY(Child(&d, "Button_hilfetext")->isVisible());
      QTest::keyClick(Child(&d, "Edit_a"), Qt::Key_Escape);
      QCOMPARE(d.result(), int(QDialog::Rejected));
    }
    b.session.settings.numbers.unitSystem = 0;
    ParamEditor e(b.in, ctPolygon);
    TForm_param d(e, &b.port);
    d.show();
    Type(&d, "Edit_z", "6");
    Type(&d, "Edit_di", "20");
    QCOMPARE(Text(&d, "Edit_de"), QString::fromStdString(FormatLength(b.session.settings.numbers, 20 / std::cos(kPi / 6))));
    QVERIFY(!Child(&d, "Edit_de")->isEnabled());
    Child<QRadioButton>(&d, "RadioGroup_dide_1")->click();
    QVERIFY(Child(&d, "Edit_de")->isEnabled());
    QVERIFY(!Child(&d, "Edit_di")->isEnabled());
  }

  // The help buttons go to the port's help provider; labels take its hints;
  // without a provider a short box says that there is no help.
  void helpThroughTheProvider() {
    struct Help : HelpProvider {
      std::vector<std::pair<int, int>> shown;
      void showHelp(int topic, int mode) override { shown.emplace_back(topic, mode); }
      std::string helpHint(int topic) override { return "Hinweis " + std::to_string(topic); }
    } help;
    Bench b;
    b.port.setHelpProvider(&help);
    {
      ParamEditor e(b.in, ctEllipse);
      TForm_param d(e, &b.port);
      d.show();
      QCOMPARE(Child<QLabel>(&d, "Label_a")->toolTip(), QString("Hinweis 7830"));
      QCOMPARE(Child<QLabel>(&d, "Label_b")->toolTip(), QString("Hinweis 7840"));
      Click(&d, "Button_hilfetext");
      QCOMPARE(help.shown, (std::vector<std::pair<int, int>>{{1000, 1}}));
    }
    {
      ListForm f;
      f.helpTopic = 7800;
      TForm_einarray d(f, &b.port);
      d.show();
      Click(&d, "Button_hilfebild");
      QCOMPARE(help.shown.back(), (std::pair<int, int>{7800, 2}));
    }
    {
      // The prompts of the transformation get their help buttons as well.
      QtPort qt;
      qt.setHelpProvider(&help);
      test::WhenModal([](QWidget* m) {
        Click(m, "Button_hilfetext");
        Click(m, "Button_cancel");
      });
      TextPrompt p{"Eingabe", "Drehwinkel \u00B0", "0", 30, 8400};
      QVERIFY(!qt.promptText(p));
      QCOMPARE(help.shown.back(), (std::pair<int, int>{8400, 1}));
    }
    b.port.setHelpProvider(nullptr);
    ParamEditor e(b.in, ctSine);
    TForm_param d(e, &b.port);
    d.show();
    Click(&d, "Button_hilfetext");
    QCOMPARE(b.port.boxes.size(), size_t(1));
    QVERIFY(QString::fromStdString(b.port.boxes[0].text).startsWith("Keine Hilfe verf\u00FCgbar"));
    QVERIFY(d.isVisible());
  }

  void positionDialogSpinAndUnits() {
    Bench b;
    b.p().basePointCount = 2;
    b.p().basePoints[1] = {10, 0, 0};
    b.p().basePoints[2] = {0, 10, 0};
    PositionEditor e(b.in);
    TForm_einkoord d(e, 1, &b.port);
    d.show();
    QCOMPARE(d.windowTitle(), QString("Koordinaten 1"));
    Shot(&d, "einkoord");
    QCOMPARE(TabOrder(&d), (QStringList{"Edit_x", "Edit_y", "Edit_w"}));
    Type(&d, "Edit_x", "12.5");
    Child<QSpinBox>(&d, "SpinButton_pos")->setValue(2);
    QCOMPARE(d.windowTitle(), QString("Koordinaten 2"));
    QCOMPARE(Child<QLabel>(&d, "Label_w")->text(), QString("Kreisbogenwinkel 2-3"));
    QCOMPARE(b.p().basePoints[1].x, 12.5L);  // stored before stepping
    Click(&d, "Button_metric");
    QCOMPARE(Child<QLabel>(&d, "Label_unit_x")->text(), QString("in"));
    QCOMPARE(Text(&d, "Edit_y"), QString("0.3937"));
    Click(&d, "Button_ok");
    QCOMPARE(b.p().basePoints[2].y, 10);  // untouched: exact
  }

  void coefficientDialog() {
    Bench b;
    b.p().poly.n = 3;
    b.p().poly.coef[1] = 40;
    b.p().poly.coef[2] = 1e-20L;
    PolyEditor e(b.in);
    TForm_polynom d(e, &b.port);
    d.show();
    auto* grid = Child<QTableWidget>(&d, "StringGrid1");
    QCOMPARE(grid->rowCount(), 3);
    Shot(&d, "polynom");
    QCOMPARE(grid->item(1, 0)->text(), QString("1e-20"));
    QCOMPARE(grid->verticalHeaderItem(2)->text(), QString("phi^2"));
    auto* spin = Child<QSpinBox>(&d, "SpinEdit1");
    QCOMPARE(spin->minimum(), 2);
    QCOMPARE(spin->maximum(), 50);
    spin->setValue(5);
    QCOMPARE(grid->rowCount(), 5);
    spin->setValue(2);
    Click(&d, "Button_ok");
    QCOMPARE(b.p().poly.n, 2);
    QCOMPARE(b.p().poly.coef[2], 1e-20L);
  }

  // Every curve type of the editor built from an empty project through the
  // dialogs only, saved, and compared with the project file written by hand
  // for the same cam; both calculate to the same results.
  void buildsEveryCurveType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("file");
    QTest::newRow("formula, two sections") << int(ctFormula) << "formula.kmo";
    QTest::newRow("ellipse") << int(ctEllipse) << "ellipse.kmo";
    QTest::newRow("sine") << int(ctSine) << "sine.kmo";
    QTest::newRow("linear sine") << int(ctLinearSine) << "linear_sine.kmo";
    QTest::newRow("square with corner arcs") << int(ctPoints) << "square.kmo";
    QTest::newRow("polygon") << int(ctPolygon) << "polygon.kmo";
    QTest::newRow("polynomial") << int(ctPolynomial) << "polynomial.kmo";
    QTest::newRow("eccentric") << int(ctEccentric) << "eccentric.kmo";
    QTest::newRow("sin-squared") << int(ctSinSquare) << "sin_square.kmo";
  }
  void buildsEveryCurveType() {
    QFETCH(int, type);
    QFETCH(QString, file);
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.session().project().resetProject();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    std::vector<std::function<void(QWidget*)>> steps;
    steps.push_back([type](QWidget* m) {
      Child<QListWidget>(m, "ListBox_choice")->setCurrentRow(type - 1);
      Click(m, "Button_ok");
    });
    auto fields = [](std::vector<std::pair<const char*, QString>> typed, std::vector<const char*> defaults = {},
                     std::function<void(QWidget*)> more = {}) {
      return [typed, defaults, more](QWidget* m) {
        for (const auto& [name, text] : typed) Type(m, name, text);
        for (const char* d : defaults) Click(m, d);
        if (more) more(m);
        Click(m, "Button_ok");
      };
    };
    auto list = [](const char* button) { return [button](QWidget* m) { Click(m, button); }; };
    auto section = [](QString r1, QString r2, QString phi2) {
      return [r1, r2, phi2](QWidget* m) {
        Child<QRadioButton>(m, "RadioGroup_mode_1")->click();
        Type(m, "Edit_r1", r1);
        Type(m, "Edit_r2", r2);
        Type(m, "Edit_phi2", phi2);
        Child<QRadioButton>(m, "RadioGroup_sinlin_1")->click();
        Click(m, "Button_calc");
        Click(m, "Button_ok");
      };
    };
    auto prompt = [](QString text) {
      return [text](QWidget* m) {
        Type(m, "Edit_text", text);
        Click(m, "Button_ok");
      };
    };
    auto radio = [](const char* name) {
      return [name](QWidget* m) {
        Child<QRadioButton>(m, name)->click();
        Click(m, "Button_ok");
      };
    };
    switch (type) {
      case ctFormula:
        steps.push_back(list("Button_neu"));
        steps.push_back(section("30", "40", "180"));
        steps.push_back(list("Button_neu"));
        steps.push_back(section("40", "30", "360"));
        steps.push_back(list("Button_ok"));
        break;
      case ctEllipse: steps.push_back(fields({{"Edit_a", "60"}}, {"Button_def_b"})); break;
      case ctSine: steps.push_back(fields({{"Edit_rw0", "40"}, {"Edit_A", "8"}, {"Edit_N", "2"}})); break;
      case ctLinearSine:
        steps.push_back(fields({{"Edit_rw0", "50"}, {"Edit_philin", "200"}}, {"Button_def_A"}));
        break;
      case ctPoints: {
        // Half the size, then scaled by 2 with "Transform.".
        // Each position's angle is the arc to the next one: corner, side, corner, ...
        const char* corners[8][3] = {{"7.5", "-10", "90"}, {"10", "-7.5", "0"}, {"10", "7.5", "90"},
                                     {"7.5", "10", "0"}, {"-7.5", "10", "90"}, {"-10", "7.5", "0"},
                                     {"-10", "-7.5", "90"}, {"-7.5", "-10", "0"}};
        for (auto& c : corners) {
          steps.push_back(list("Button_neu"));
          steps.push_back(fields({{"Edit_x", c[0]}, {"Edit_y", c[1]}, {"Edit_w", c[2]}}));
        }
        steps.push_back(list("Button_156"));
        for (const char* t : {"0", "0", "0", "2", "2"}) steps.push_back(prompt(t));
        steps.push_back(radio("RadioButton_3"));  // nicht spiegeln
        steps.push_back(radio("RadioButton_2"));  // Nein
        steps.push_back(list("Button_ok"));
        break;
      }
      case ctPolygon: steps.push_back(fields({{"Edit_z", "6"}, {"Edit_di", "80"}})); break;
      case ctPolynomial:
        steps.push_back([](QWidget* m) {
          Child<QSpinBox>(m, "SpinEdit1")->setValue(3);
          auto* grid = Child<QTableWidget>(m, "StringGrid1");
          grid->item(0, 0)->setText("40");
          grid->item(1, 0)->setText("3");
          grid->item(2, 0)->setText("-0.477464829275686");
          Click(m, "Button_ok");
        });
        break;
      case ctEccentric: steps.push_back(fields({{"Edit_d", "100"}}, {"Button_def_e"})); break;
      case ctSinSquare:
        steps.push_back(fields({}, {"Button_def_db", "Button_def_sh", "Button_def_w"}));
        break;
    }
    ModalScript script(steps);
    w.findChild<QAction*>("mi_editGeometrie")->trigger();
    QVERIFY(script.done());
    QVERIFY(!w.session().flags.abortFlag);
    QVERIFY2(!w.session().flags.calcError, qPrintable(file));
    const std::string saved = folder.file("saved.kmo");
    QVERIFY(WriteProjectFile(w.session().ui, w.session().settings, saved, w.session().project()));
    // The file written by hand, read and calculated, is saved with the same
    // bytes (the calculation adds the contour's points to both) and gives the
    // same results.
    if (QByteArray keep = qgetenv("KAMO_KEEP_SAVED"); !keep.isEmpty())
      std::filesystem::copy_file(saved, keep.toStdString() + "/" + file.toStdString(),
                                 std::filesystem::copy_options::overwrite_existing);
    const std::string byHand = std::string(KAMO_SOURCE_DIR) + "/tests/gui/data/" + file.toStdString();
    CamProject expected;
    QVERIFY(ReadProject(w.session().ui, w.session().settings, byHand, expected));
    MessageList messages;
    Flags flags;
    Calculate(expected, messages, flags, w.session().settings);
    // The A3 start view puts its default bore into the cam body; the body is
    // not an input of the curve editor.
    expected.body = w.session().project().body;
    const std::string again = folder.file("again.kmo");
    QVERIFY(WriteProjectFile(w.session().ui, w.session().settings, again, expected));
    const QStringList got = QString::fromLatin1(test::ReadFileBytes(saved)).split("\r\n");
    const QStringList want = QString::fromLatin1(test::ReadFileBytes(again)).split("\r\n");
    for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
      QVERIFY2(got[i] == want[i], qPrintable(QString("line %1: %2 | %3").arg(i + 1).arg(got[i], want[i])));
    QCOMPARE(got.size(), want.size());
    const CamResults& a = w.session().project().results;
    QVERIFY(Near(expected.results.rMax, a.rMax));
    QVERIFY(Near(expected.results.rMin, a.rMin));
    QVERIFY(Near(expected.results.stroke, a.stroke));
    QVERIFY(Near(expected.results.aMax, a.aMax));
    QCOMPARE(expected.contourCount, w.session().project().contourCount);
  }

  // File > Open shows the configured start view instead of an empty window.
  void startViewAfterOpening() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.shell().screen.size(), size_t(0));
    QVERIFY(w.shell().openProject(std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo"));
    QVERIFY(w.shell().screen.size() > 10);
    QCOMPARE(w.shell().drawingKind, 3);  // the A3 drawing of setting 0
    w.session().settings.helpLevel = 0;
    w.shell().screen.Clear();
    QVERIFY(w.shell().openProject(std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo"));
    QCOMPARE(w.shell().screen.size(), size_t(0));  // help level 0: no start view
  }

  // Edit > "Geometrie (curve)" in the window: a sine cam through the choice
  // and the dialog; then a second run cancelled after "Calc" leaves it as it was.
  void geometryCommandInTheWindow() {
    test::TempFolder folder;
    Thh w;
    w.session().settings.tempDir = folder.path();
    w.session().project().resetProject();
    w.resize(900, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QAction* geometry = w.findChild<QAction*>("mi_editGeometrie");
    QVERIFY(geometry->isEnabled());
    auto chooseSine = [](QWidget* m) {
      auto* list = Child<QListWidget>(m, "ListBox_choice");
      QCOMPARE(list->count(), 11);
      list->setCurrentRow(ctSine - 1);
      Shot(m, "guide1-choice");
      Click(m, "Button_ok");
    };
    ModalScript s1({chooseSine, [](QWidget* m) {
                      QCOMPARE(m->objectName(), QString("TForm_ribosin"));
                      Type(m, "Edit_rw0", "40");
                      Type(m, "Edit_A", "8");
                      Type(m, "Edit_N", "2");
                      Shot(m, "guide2-sine");
                      Click(m, "Button_calc");
                      ScreenShot("guide3-calc");
                      Click(m, "Button_ok");
                    }});
    geometry->trigger();
    QVERIFY(s1.done());
    CamProject& p = w.session().project();
    QCOMPARE(int(p.curveType), int(ctSine));
    QCOMPARE(p.sine.rw0, 40.0L);
    QCOMPARE(p.sine.N, 2);
    QVERIFY(w.session().flags.modified);
    QVERIFY(w.shell().screen.size() > 10);  // the start view
    w.repaint();
    Shot(&w, "guide4-window");
    Real rMax = p.results.rMax;
    QVERIFY(std::fabs(static_cast<double>(rMax) - 48.0) < 0.1);

    ModalScript s2({chooseSine, [](QWidget* m) {
                      Type(m, "Edit_A", "2");
                      Click(m, "Button_calc");
                      Click(m, "Button_cancel");
                    }});
    w.session().flags.modified = false;
    geometry->trigger();
    QVERIFY(s2.done());
    QCOMPARE(p.sine.A, 8.0L);
    QCOMPARE(p.results.rMax, rMax);
    QVERIFY(!w.session().flags.modified);
  }
};

QTEST_MAIN(CurveDialogTest)
#include "tst_curvedialogs.moc"
