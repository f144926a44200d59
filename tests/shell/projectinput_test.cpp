// The calculation settings dialog without a display: its defaults, clamps and
// the exact values of fields the user did not touch, and Edit > "Berechnung"
// with its calculation.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "core/numbers.h"
#include "shell/commands.h"
#include "shell/projectinput.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

class FieldsPort : public test::ScriptedPort {
 public:
  std::deque<std::function<bool(FieldsLogic&)>> forms;
  std::vector<FieldsForm> shown;
  bool fieldsDialog(FieldsLogic& l) override {
    shown.push_back(l.form());
    if (forms.empty()) {
      ADD_FAILURE() << "unscripted settings dialog";
      return false;
    }
    auto f = forms.front();
    forms.pop_front();
    return f(l);
  }
  std::deque<std::function<bool(ParamLogic&)>> params;
  bool paramDialog(ParamLogic& l) override {
    if (params.empty()) {
      ADD_FAILURE() << "unscripted parameter dialog";
      return false;
    }
    auto f = params.front();
    params.pop_front();
    return f(l);
  }
};

struct Bench {
  FieldsPort port;
  Session session{port};
  Bench() { session.project().resetProject(); }
  CalcSettings& calc() { return session.project().calc; }
};

struct ClampCase {
  const char *grad, *points, *nspline;
  Real arcStep;
  int steps, splineRes;
};
class CalcClamp : public ::testing::TestWithParam<ClampCase> {};
TEST_P(CalcClamp, StoresWithinTheRanges) {
  ClampCase c = GetParam();
  Bench b;
  CalcSettingsEditor e(b.session);
  FieldsValues v = e.fill();
  v.texts = {c.grad, c.points, c.nspline};
  ASSERT_TRUE(e.store(v));
  EXPECT_EQ(b.calc().arcStep, c.arcStep);
  EXPECT_EQ(b.calc().steps, c.steps);
  EXPECT_EQ(b.calc().splineRes, c.splineRes);
}
INSTANTIATE_TEST_SUITE_P(
    Settings, CalcClamp,
    ::testing::Values(ClampCase{"0", "5000", "1", 0.1L, 1999, 2},     // below/above every range
                      ClampCase{"31", "9", "201", 30, 10, 200},
                      ClampCase{"2.5", "360", "25", 2.5L, 360, 25},   // inside: as typed
                      ClampCase{"abc", "x", "", 0.1L, 10, 2},         // no number reads as 0
                      ClampCase{"-4", "100.5", "24.5", 0.1L, 100, 24},  // halves to even
                      ClampCase{"1e400", "1e30", "-1e30", 30, 1999, 2},  // far out of range
                      ClampCase{"1,5", "1999", "200", 1.5L, 1999, 200}));

TEST(CalcSettings, DefaultsAndUntouchedFieldsKeepTheExactValue) {
  Bench b;
  b.calc().arcStep = 1.0L / 3;
  b.calc().steps = 720;
  b.calc().splineRes = 20;
  b.calc().linearize = false;
  CalcSettingsEditor e(b.session);
  FieldsForm f = e.form();
  EXPECT_EQ(f.objectName, "TForm_kamocalc");
  ASSERT_EQ(f.fields.size(), 3u);
  EXPECT_EQ(f.fields[0].name, "grad");
  EXPECT_EQ(f.fields[0].unit, "Grad");
  ASSERT_EQ(f.checks.size(), 1u);
  EXPECT_EQ(f.checks[0].name, "jaRlinearisieren");
  EXPECT_EQ(f.checks[0].caption, "anpassen Punkte auf Nocken -> Polyline ");
  FieldsValues v = e.fill();
  ASSERT_EQ(v.checks.size(), 1u);
  EXPECT_FALSE(v.checks[0]);
  EXPECT_EQ(e.defaultText(0, v), "1");
  EXPECT_EQ(e.defaultText(1, v), "100");
  EXPECT_EQ(e.defaultText(2, v), "25");
  v.checks = {true};
  ASSERT_TRUE(e.store(v));
  EXPECT_EQ(b.calc().arcStep, 1.0L / 3);  // not the rounded display text
  EXPECT_EQ(b.calc().steps, 720);
  EXPECT_TRUE(b.calc().linearize);
}

TEST(CalcSettings, EditCommandStoresCalculatesAndMarksModified) {
  Bench b;
  Shell shell(b.session);
  b.session.flags.modified = false;
  b.port.forms = {[](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts[1] = "360";
    return l.store(v);
  }};
  shell.run(Command::EditCalculation);
  EXPECT_FALSE(b.session.flags.abortFlag);
  EXPECT_TRUE(b.session.flags.modified);
  EXPECT_EQ(b.calc().steps, 360);
  // Cancelled: nothing changes.
  b.session.flags.modified = false;
  b.port.forms = {[](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts[1] = "50";
    return false;
  }};
  shell.run(Command::EditCalculation);
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_FALSE(b.session.flags.modified);
  EXPECT_EQ(b.calc().steps, 360);
}

}  // namespace
}  // namespace kamo

// ------------------------------------------------ follower, body, drawing texts
namespace kamo {
namespace {

Real Num(const std::string& t) { return ParseReal(t); }

struct FollowerDefaultCase {
  const char* name;
  int unitSystem;     // 0 metric, 1 inch
  Real stroke;
  int radio;          // 0 flat, 1 round
  const char *d, *l;  // field texts before "<" of l and m
  Real dDefault, lDefault, mDefault;  // mm, mm, kg
};
class FollowerDefaults : public ::testing::TestWithParam<FollowerDefaultCase> {};
TEST_P(FollowerDefaults, FromTheStrokeAndTheFields) {
  const FollowerDefaultCase c = GetParam();
  Bench b;
  b.session.settings.numbers.unitSystem = c.unitSystem;
  b.session.project().results.stroke = c.stroke;
  FollowerEditor e(b.session);
  FieldsValues v = e.fill();
  v.radio = c.radio;
  const Real unit = c.unitSystem == 1 ? 25.4L : 1;
  EXPECT_NEAR(static_cast<double>(Num(e.defaultText(0, v)) * unit), static_cast<double>(c.dDefault), 1e-3)
      << c.name;
  v.texts[0] = c.d;
  EXPECT_NEAR(static_cast<double>(Num(e.defaultText(1, v)) * unit), static_cast<double>(c.lDefault), 1e-3)
      << c.name;
  v.texts[1] = c.l;
  // Written with the general format: three significant digits here.
  EXPECT_NEAR(static_cast<double>(Num(e.defaultText(2, v))), static_cast<double>(c.mDefault),
              static_cast<double>(c.mDefault) * 5e-3 + 1e-9)
      << c.name;
  if (c.mDefault == 0.018378L) {
    EXPECT_EQ(e.defaultText(2, v), "0.0184");
  }
}
INSTANTIATE_TEST_SUITE_P(
    Follower, FollowerDefaults,
    ::testing::Values(
        // stroke 12.4: d = 10, L = max(31, 12) = 31; round adds d / 2.
        FollowerDefaultCase{"flat", 0, 12.4L, 0, "10", "30", 10, 31, 0.018378L},
        FollowerDefaultCase{"round", 0, 12.4L, 1, "10", "30", 10, 36, 0.018378L},
        // 13.125 * 0.8 = 10.5 -> 10, 14.375 * 0.8 = 11.5 -> 12 (halves to even);
        // L = max(12.5, 12) = 12.5 -> 12.
        FollowerDefaultCase{"half down", 0, 13.125L, 0, "10", "10", 10, 33, 0.00613L},
        FollowerDefaultCase{"half up", 0, 14.375L, 0, "10", "10", 12, 36, 0.00613L},
        FollowerDefaultCase{"L from d", 0, 5, 0, "20", "10", 4, 24, 0.0245L},
        // Inch: the fields are read in inch, the mass is not off by 25.4^3.
        FollowerDefaultCase{"inch", 1, 25.4L, 0, "1", "2", 20, 64, 0.2008L},
        FollowerDefaultCase{"no number reads as 0", 0, 10, 1, "x", "", 8, 25, 0}));

TEST(Follower, StoresTypeAndExactValuesRefusesNegativeSizes) {
  Bench b;
  Follower& r = b.session.project().ram;
  r = Follower{1, 1.0L / 3, 30, 0.1L};
  FollowerEditor e(b.session);
  FieldsForm f = e.form();
  EXPECT_EQ(f.objectName, "TForm_kamoram");
  EXPECT_EQ(f.caption, "St\u00F6ssel");
  EXPECT_EQ(f.radioTitle, " St\u00F6ssel Kontaktfl\u00E4che ");
  EXPECT_EQ(f.radioItems, (std::vector<std::string>{"eben", "rund"}));
  ASSERT_EQ(f.fields.size(), 3u);
  EXPECT_EQ(f.fields[0].label, "Durchmesser St\u00F6ssel");
  EXPECT_EQ(f.fields[1].label, "L\u00E4nge St\u00F6ssel");
  EXPECT_EQ(f.fields[2].unit, "kg");
  EXPECT_EQ(f.fields[0].unit, "mm");
  FieldsValues v = e.fill();
  EXPECT_EQ(v.radio, 0);
  for (const char* bad : {"-1", "-0.001"}) {
    for (size_t i = 0; i < 3; ++i) {
      FieldsValues w = v;
      w.texts[i] = bad;
      b.port.boxes.clear();
      EXPECT_FALSE(e.store(w)) << i;
      ASSERT_EQ(b.port.boxes.size(), 1u);
      EXPECT_EQ(b.port.boxes[0].text.rfind("Wert darf nicht negativ sein: ", 0), 0u);
      EXPECT_EQ(r.l, 30);
    }
  }
  EXPECT_NE(b.port.boxTexts().back().find("Masse St\u00F6ssel"), std::string::npos);
  v.radio = 1;
  v.texts[1] = "0";
  ASSERT_TRUE(e.store(v));
  EXPECT_EQ(r.type, 2);
  EXPECT_EQ(r.d, 1.0L / 3);  // untouched: not the rounded text
  EXPECT_EQ(r.l, 0);         // 0: the drawing picks a size
  EXPECT_EQ(r.m, 0.1L);
}

struct BodyCase {
  Real rMin;
  int unitSystem;
  const char *width, *bore;  // what "<" writes ("" = the text stays)
};
class BodyDefaults : public ::testing::TestWithParam<BodyCase> {};
TEST_P(BodyDefaults, FromTheSmallestRadius) {
  BodyCase c = GetParam();
  Bench b;
  b.session.settings.numbers.unitSystem = c.unitSystem;
  b.session.project().results.rMin = c.rMin;
  CamBodyEditor e(b.session);
  FieldsValues v = e.fill();
  v.texts = {"7", "8"};
  EXPECT_EQ(e.defaultText(0, v), *c.width ? c.width : "7") << c.rMin;
  EXPECT_EQ(e.defaultText(1, v), *c.bore ? c.bore : "8") << c.rMin;
}
INSTANTIATE_TEST_SUITE_P(Body, BodyDefaults,
                         ::testing::Values(BodyCase{1e38L, 0, "", ""},  // not calculated yet
                                           BodyCase{0, 0, "", ""}, BodyCase{1000, 0, "", ""},
                                           BodyCase{25, 0, "20", "30"},
                                           BodyCase{13.125L, 0, "10", "16"},  // 10.5 -> 10, 15.75 -> 16
                                           BodyCase{31.25L, 0, "25", "38"}));  // 37.5 -> 38

TEST(Body, StoresMillimetresAndRefusesNegativeSizes) {
  Bench b;
  b.session.settings.numbers.unitSystem = 1;
  CamBody& body = b.session.project().body;
  body = CamBody{10, 20};
  CamBodyEditor e(b.session);
  EXPECT_EQ(e.form().objectName, "TForm_kamocam");
  EXPECT_EQ(e.form().fields[0].unit, "in");
  FieldsValues v = e.fill();
  v.texts[1] = "-1";
  EXPECT_FALSE(e.store(v));
  EXPECT_EQ(body.bore, 10);
  EXPECT_EQ(b.port.boxes.size(), 1u);
  v.texts[1] = "2";
  ASSERT_TRUE(e.store(v));
  EXPECT_EQ(body.width, 20);  // untouched: exact
  EXPECT_NEAR(static_cast<double>(body.bore), 50.8, 1e-12);
  // The defaults are whole millimetres, shown in inch.
  b.session.project().results.rMin = 31.75L;
  EXPECT_NEAR(static_cast<double>(ParseReal(e.defaultText(0, v)) * 25.4L), 25, 0.01);  // 25.4 -> 25
  EXPECT_NEAR(static_cast<double>(ParseReal(e.defaultText(1, v)) * 25.4L), 38, 0.01);  // 38.1 -> 38
}

TEST(DrawingTexts, UmlautsLimitsAndUnstorableCharacters) {
  Bench b;
  DrawingTexts& d = b.session.project().drawing;
  d.zeichname = std::string(40, 'N');  // longer than the field: kept when untouched
  d.bemerk1 = "Welle \x8E\x99\x9A";     // CP850 Ä Ö Ü
  DrawingTextsEditor e(b.session, LanguageTexts().drawing);
  FieldsForm f = e.form();
  EXPECT_EQ(f.objectName, "Tform_uni4");
  EXPECT_EQ(f.helpTopic, 0);
  std::vector<std::string> labels;
  for (const auto& field : f.fields) labels.push_back(field.label);
  EXPECT_EQ(labels, (std::vector<std::string>{"Zeichnungsname", "Zeichnungsname 2", "Zeichnungsnummer",
                                              "Zeile 1", "Zeile 2", "Zeile 3"}));
  EXPECT_EQ(f.maxLengths, (std::vector<int>{25, 30, 18, 65, 65, 254}));
  FieldsValues v = e.fill();
  EXPECT_EQ(v.texts[3], "Welle \u00C4\u00D6\u00DC");
  struct Refused {
    size_t field;
    std::string text;
    const char* message;
  } refused[] = {
      {1, std::string(31, 'x'), "Text zu lang: h\u00F6chstens 30 Zeichen ! (Zeichnungsname 2)"},
      {5, std::string(255, 'x'), "Text zu lang: h\u00F6chstens 254 Zeichen ! (Zeile 3)"},
      {2, "12\u20AC", "Zeichen nicht speicherbar: U+20AC (Zeichen 3) (Zeichnungsnummer)"},
      {0, std::string(39, 'N'), "Text zu lang: h\u00F6chstens 25 Zeichen ! (Zeichnungsname)"},
  };
  for (const Refused& r : refused) {
    FieldsValues w = v;
    w.texts[r.field] = r.text;
    b.port.boxes.clear();
    EXPECT_FALSE(e.store(w)) << r.message;
    ASSERT_EQ(b.port.boxes.size(), 1u);
    EXPECT_EQ(b.port.boxes[0].text, r.message);
    EXPECT_EQ(d.bemerk1, "Welle \x8E\x99\x9A");
  }
  v.texts[1] = "Nocken \u00E4\u00F6\u00FC\u00DF";
  v.texts[5] = std::string(254, 'y');
  ASSERT_TRUE(e.store(v));
  EXPECT_EQ(d.zeichname, std::string(40, 'N'));
  EXPECT_EQ(d.zeichname2, "Nocken \x84\x94\x81\xE1");
  EXPECT_EQ(d.bemerk3, std::string(254, 'y'));
  // Shown again unchanged.
  DrawingTextsEditor again(b.session, LanguageTexts().drawing);
  EXPECT_EQ(again.fill().texts[1], "Nocken \u00E4\u00F6\u00FC\u00DF");
}

// A calculable cam: a sine of rw0 40, A 8, N 2.
void SineCam(CamProject& p) {
  p.curveType = ctSine;
  p.sine.rw0 = 40;
  p.sine.A = 8;
  p.sine.N = 2;
}

TEST(EditCommands, FollowerBodyAndTextThroughTheirDialogs) {
  Bench b;
  Shell shell(b.session);
  SineCam(b.session.project());
  shell.recalc();
  ASSERT_FALSE(b.session.flags.calcError);
  Follower& r = b.session.project().ram;
  b.session.project().body.bore = 0;  // the picture draws a stand-in bore
  ASSERT_TRUE(shell.available(Command::EditFollower));
  ASSERT_TRUE(shell.available(Command::EditBody));
  ASSERT_TRUE(shell.available(Command::EditText));

  b.port.forms = {[](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts[0] = "12";
    v.radio = 0;
    return l.store(v);
  }};
  b.session.flags.modified = false;
  b.session.project().contourCount = 0;
  shell.run(Command::EditFollower);
  EXPECT_TRUE(b.session.flags.modified);
  EXPECT_GT(b.session.project().contourCount, 0);  // calculated
  EXPECT_EQ(r.type, 1);
  EXPECT_EQ(r.d, 12);
  EXPECT_EQ(b.session.project().body.bore, 0) << "the picture's stand-in is not stored";
  EXPECT_GT(shell.screen.size(), 10u) << "the still picture";
  EXPECT_EQ(b.port.shown.back().objectName, "TForm_kamoram");

  b.port.forms = {[](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts = {"15", "12"};
    return l.store(v);
  }};
  b.session.flags.modified = false;
  shell.run(Command::EditBody);
  EXPECT_TRUE(b.session.flags.modified);
  EXPECT_EQ(b.session.project().body.width, 15);
  EXPECT_EQ(b.session.project().body.bore, 12);

  b.port.forms = {[](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts[0] = "Nocke \u00DC";
    return l.store(v);
  }};
  b.session.flags.modified = false;
  shell.run(Command::EditText);
  EXPECT_TRUE(b.session.flags.modified);
  EXPECT_EQ(b.session.project().drawing.zeichname, "Nocke \x9A");

  // Cancelled: nothing is stored, nothing is marked.
  for (Command c : {Command::EditFollower, Command::EditBody, Command::EditText}) {
    b.port.forms = {[](FieldsLogic& l) {
      FieldsValues v = l.fill();
      v.texts[0] = "99";
      return false;
    }};
    b.session.flags.modified = false;
    shell.run(c);
    EXPECT_TRUE(b.session.flags.abortFlag);
    EXPECT_FALSE(b.session.flags.modified);
  }
  EXPECT_EQ(r.d, 12);
  EXPECT_EQ(b.session.project().body.width, 15);
  EXPECT_EQ(b.session.project().drawing.zeichname, "Nocke \x9A");
}

// File > "Neu…" through the real dialogs: text, curve type, speed, follower,
// calculation settings, from a reset project.
struct NewScript {
  bool cancelFollower = false;
};
void ScriptNew(Bench& b, const NewScript& n) {
  b.port.forms.push_back([](FieldsLogic& l) {
    EXPECT_EQ(l.form().objectName, "Tform_uni4");
    FieldsValues v = l.fill();
    EXPECT_EQ(v.texts[0], "") << "nothing of the previous project";
    v.texts[0] = "Neue Nocke";
    return l.store(v);
  });
  b.port.choices.push_back(1);  // "Kurventyp wählen", not the motion programme
  b.port.choices.push_back(ctSine - 1);
  b.port.params.push_back([](ParamLogic& l) {
    ParamValues v = l.fill();
    v.texts = {"40", "8", "2"};
    return l.store(v);
  });
  b.port.texts.push_back("600");
  b.port.forms.push_back([n](FieldsLogic& l) {
    EXPECT_EQ(l.form().objectName, "TForm_kamoram");
    FieldsValues v = l.fill();
    v.texts = {"12", "40", "0.05"};
    v.radio = 0;
    return !n.cancelFollower && l.store(v);
  });
  if (n.cancelFollower) return;
  b.port.forms.push_back([](FieldsLogic& l) {
    EXPECT_EQ(l.form().objectName, "TForm_kamocalc");
    FieldsValues v = l.fill();
    v.texts[1] = "360";
    return l.store(v);
  });
}

TEST(NewProject, RunsTheSequenceFromAResetProject) {
  Bench b;
  Shell shell(b.session);
  CamProject& p = b.session.project();
  p.drawing.zeichname = "Alte Nocke";
  p.body.width = 77;
  ASSERT_TRUE(shell.available(Command::FileNew));
  ScriptNew(b, {});
  shell.run(Command::FileNew);
  EXPECT_FALSE(b.session.flags.abortFlag);
  EXPECT_TRUE(b.session.flags.modified);
  EXPECT_TRUE(b.port.forms.empty() && b.port.params.empty() && b.port.texts.empty());
  EXPECT_EQ(p.drawing.zeichname, "Neue Nocke");
  EXPECT_EQ(p.body.width, 0) << "reset, not carried over";
  EXPECT_EQ(p.curveType, ctSine);
  EXPECT_EQ(p.speed, 600);
  EXPECT_EQ(p.ram.type, 1);
  EXPECT_EQ(p.ram.l, 40);
  EXPECT_EQ(p.calc.steps, 360);
  EXPECT_FALSE(b.session.flags.calcError);
  EXPECT_NEAR(static_cast<double>(p.results.stroke), 16, 0.01);
}

TEST(NewProject, ALateCancelKeepsTheInputUnderTheSaveQuestion) {
  Bench b;
  Shell shell(b.session);
  ScriptNew(b, {true});
  shell.run(Command::FileNew);
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_TRUE(b.session.flags.modified);
  EXPECT_EQ(b.session.project().drawing.zeichname, "Neue Nocke");
  EXPECT_EQ(b.session.project().speed, 600);
  EXPECT_EQ(b.session.project().ram.l, 30) << "the cancelled follower dialog stored nothing";
  // The next New asks before it throws the input away; "Nein" keeps it.
  b.port.answers = {Answer::No};
  shell.run(Command::FileNew);
  EXPECT_EQ(b.port.questions, (std::vector<std::string>{"Bisherige Eingaben verwerfen ?"}));
  EXPECT_EQ(b.session.project().drawing.zeichname, "Neue Nocke");
  EXPECT_TRUE(b.session.flags.modified);
}

}  // namespace
}  // namespace kamo
