// Edit > "Bewegungsprogramm…" without a display: the rows the dialog opens
// with, the live preview, the refusals on "OK" (each naming the row), and the
// command that writes the segments and calculates.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>

#include "cam/kamorech.h"
#include "shell/commands.h"
#include "shell/motioninput.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

class MotionPort : public test::ScriptedPort {
 public:
  std::deque<std::function<bool(MotionLogic&)>> motions;
  bool motionDialog(MotionLogic& l) override {
    if (motions.empty()) {
      ADD_FAILURE() << "unscripted motion dialog";
      return false;
    }
    auto f = motions.front();
    motions.pop_front();
    return f(l);
  }
  // The texts, follower and calculation settings of File > "Neu…".
  std::deque<std::function<bool(FieldsLogic&)>> forms;
  bool fieldsDialog(FieldsLogic& l) override {
    if (forms.empty()) {
      ADD_FAILURE() << "unscripted dialog " << l.form().objectName;
      return false;
    }
    auto f = forms.front();
    forms.pop_front();
    return f(l);
  }
};

struct Bench {
  MotionPort port;
  Session session{port};
  MotionProgramme last;
  Bench() { session.project().resetProject(); }
};

std::vector<MotionRow> Rows(std::initializer_list<MotionRow> r) { return r; }
// Law indices in the dialog's list.
constexpr int kDwell = 0, kLinear = 1, kCycloidal = 3, k345 = 4, kModTrap = 6;

TEST(MotionDialog, OpensWithTheLastProgrammeAndPreviewsIt) {
  Bench b;
  MotionEditor e(b.session, b.last);
  MotionForm f = e.form();
  ASSERT_EQ(f.laws.size(), 8u);
  EXPECT_EQ(f.laws[kDwell], "Rast");
  EXPECT_EQ(f.laws[kModTrap], "mod. Trapez");
  EXPECT_EQ(f.base, "40");
  ASSERT_EQ(f.rows.size(), 4u);
  EXPECT_EQ(f.rows[0].law, kCycloidal);
  EXPECT_EQ(f.rows[0].span, "120");
  EXPECT_EQ(f.rows[0].lift, "20");
  MotionPreview p = e.preview(f.base, f.rows);
  EXPECT_EQ(p.error, "");
  ASSERT_EQ(p.curves.size(), 4u);
  ASSERT_EQ(p.phi.size(), p.curves[0].values.size());
  EXPECT_NE(p.summary.find("Summe 360"), std::string::npos) << p.summary;
  // v at mid rise: 2·h/beta·omega (n = 1000 1/min), in m/s.
  double w = 2 * 3.14159265358979323846 * 1000 / 60, beta = 120 * 3.14159265358979323846 / 180;
  size_t mid = p.phi.size() / 6;  // 60°
  EXPECT_NEAR(p.phi[mid], 60, 1e-9);
  EXPECT_NEAR(p.curves[0].values[mid], 10, 1e-9);
  EXPECT_NEAR(p.curves[1].values[mid], 2 * 20 / beta * w / 1000, 1e-9);
  for (const MotionCurve& c : p.curves)
    for (double v : c.values) ASSERT_TRUE(std::isfinite(v)) << c.name;
}

TEST(MotionDialog, RefusesWhatTheProgrammeCannotBe) {
  struct Case {
    std::string base;
    std::vector<MotionRow> rows;
    std::string error;  // start of the message
  } cases[] = {
      {"40", Rows({{kCycloidal, "120", "20"}, {kDwell, "60", ""}, {k345, "120", "0"}, {kDwell, "50", ""}}),
       "Fehler : Winkelsumme 350"},
      {"40", Rows({{kCycloidal, "120", "20"}, {kDwell, "x", ""}}), "Fehler : Abschnittswinkel"},
      {"40", Rows({{kCycloidal, "180", "20"}, {kDwell, "180", ""}}), "Fehler : Ende nicht"},
      {"40", Rows({{kLinear, "120", ""}, {kDwell, "240", ""}}), "Fehler : Hub ung"},
      {"", Rows({{kCycloidal, "180", "20"}, {kCycloidal, "180", "0"}}), "Fehler : Grundkreisradius"},
      {"40", Rows({{kModTrap, "90", "20"}, {kDwell, "90", ""}, {kModTrap, "90", "0"}, {kDwell, "90", ""}}),
       "Fehler : zu viele Segmente: das Programm braucht 12"},
      {"40", Rows({}), "Fehler : Programm ohne"},
  };
  for (const Case& c : cases) {
    Bench b;
    CamProject before = b.session.project();
    MotionEditor e(b.session, b.last);
    MotionPreview p = e.preview(c.base, c.rows);
    EXPECT_EQ(p.error.rfind(c.error, 0), 0u) << p.error;
    std::string refused = e.confirm(c.base, c.rows);
    EXPECT_EQ(refused.rfind(c.error, 0), 0u) << refused;
    EXPECT_EQ(b.session.project().curveType, before.curveType);
    EXPECT_EQ(b.session.project().segmentCount, before.segmentCount);
  }
  // The row is named.
  Bench b;
  MotionEditor e(b.session, b.last);
  EXPECT_NE(e.confirm("40", Rows({{kCycloidal, "120", "20"}, {kDwell, "x", ""}})).find("(Zeile 2)"),
            std::string::npos);
}

TEST(MotionDialog, InchRowsAreStoredInMillimetres) {
  Bench b;
  b.session.settings.numbers.unitSystem = 1;
  MotionEditor e(b.session, b.last);
  ASSERT_EQ(e.confirm("2", Rows({{kCycloidal, "180", "1"}, {kCycloidal, "180", "0"}})), "");
  EXPECT_NEAR(static_cast<double>(b.last.base), 50.8, 1e-12);
  EXPECT_NEAR(static_cast<double>(b.last.sections[0].lift), 25.4, 1e-12);
  EXPECT_EQ(e.form().base, "2");
}

TEST(MotionDialog, EditCommandWritesSegmentsAndCalculates) {
  Bench b;
  Shell shell(b.session);
  b.session.project().speed = 300;
  ASSERT_TRUE(shell.available(Command::EditMotion));
  EXPECT_EQ(shell.caption(Command::EditMotion), "Bewegungs&programm\u2026");
  b.port.motions.push_back([](MotionLogic& l) {
    MotionForm f = l.form();
    f.rows[2].law = kModTrap;  // 1 + 1 + 5 + 1 segments
    return l.confirm(f.base, f.rows).empty();
  });
  shell.run(Command::EditMotion);
  const CamProject& p = b.session.project();
  EXPECT_EQ(p.curveType, ctFormula);
  EXPECT_EQ(p.segmentCount, 8);
  EXPECT_EQ(static_cast<double>(p.speed), 300);  // the project's speed stays
  EXPECT_TRUE(b.session.flags.modified);
  EXPECT_FALSE(b.session.flags.calcError);
  EXPECT_NEAR(static_cast<double>(p.results.rMax), 60, 1e-9);
  EXPECT_NEAR(static_cast<double>(p.results.rMin), 40, 1e-9);
  // The dialog opens again with the programme confirmed last.
  b.port.motions.push_back([](MotionLogic& l) {
    EXPECT_EQ(l.form().rows[2].law, kModTrap);
    return false;
  });
  b.session.flags.modified = false;
  shell.run(Command::EditMotion);
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_FALSE(b.session.flags.modified);
  EXPECT_EQ(p.segmentCount, 8);
}

// File > "Neu…" asks first whether to start from a motion programme or a
// curve type; the motion programme replaces the curve type step.
TEST(MotionDialog, NewProjectGeometryStepOffersTheProgrammeFirst) {
  Bench b;
  Shell shell(b.session);
  int curveSteps = 0;
  shell.parts.curveGeometry = [&](Session&) { ++curveSteps; };
  b.port.choices.push_back(0);
  b.port.motions.push_back([](MotionLogic& l) {
    MotionForm f = l.form();
    return l.confirm(f.base, f.rows).empty();
  });
  shell.newGeometryStep();
  EXPECT_FALSE(b.session.flags.abortFlag);
  EXPECT_EQ(curveSteps, 0);
  EXPECT_EQ(b.session.project().curveType, ctFormula);
  EXPECT_NEAR(static_cast<double>(b.session.project().results.rMax), 60, 1e-9);
  ASSERT_FALSE(b.port.choicePrompts.empty());
  EXPECT_EQ(b.port.choicePrompts.back().items.size(), 2u);
  b.port.choices.push_back(1);
  shell.newGeometryStep();
  EXPECT_EQ(curveSteps, 1);
  b.port.choices.push_back(std::nullopt);
  shell.newGeometryStep();
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_EQ(curveSteps, 1);
}

// The whole File > "Neu…" sequence from a programme: the texts, the choice,
// the programme with another base circle, the speed, the follower and the
// calculation settings; the cam has the programme's radii and stroke.
TEST(MotionDialog, FileNewFromAProgrammeCalculatesTheCam) {
  Bench b;
  Shell shell(b.session);
  b.port.forms.push_back([](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts[0] = "Hubkurve";
    return l.store(v);
  });
  b.port.choices.push_back(0);
  b.port.motions.push_back([](MotionLogic& l) {
    MotionForm f = l.form();
    f.rows[0].lift = "25";
    f.rows[1].lift = "25";
    return l.confirm("30", f.rows).empty();
  });
  b.port.texts.push_back("300");
  b.port.forms.push_back([](FieldsLogic& l) {
    EXPECT_EQ(l.form().objectName, "TForm_kamoram");
    FieldsValues v = l.fill();
    v.texts = {"0", "40", "0.05"};
    v.radio = 0;
    return l.store(v);
  });
  b.port.forms.push_back([](FieldsLogic& l) {
    EXPECT_EQ(l.form().objectName, "TForm_kamocalc");
    FieldsValues v = l.fill();
    v.texts[1] = "720";
    return l.store(v);
  });
  shell.run(Command::FileNew);
  const CamProject& p = b.session.project();
  EXPECT_FALSE(b.session.flags.abortFlag);
  EXPECT_TRUE(b.session.flags.modified);
  EXPECT_TRUE(b.port.forms.empty() && b.port.motions.empty() && b.port.texts.empty() && b.port.choices.empty());
  ASSERT_FALSE(b.port.choicePrompts.empty());
  EXPECT_EQ(b.port.choicePrompts[0].label, "Neue Nockenkurve");
  EXPECT_EQ(p.drawing.zeichname, "Hubkurve");
  EXPECT_EQ(p.curveType, ctFormula);
  EXPECT_EQ(p.segmentCount, 4);
  EXPECT_EQ(static_cast<double>(p.speed), 300);
  EXPECT_EQ(p.calc.steps, 720);
  EXPECT_FALSE(b.session.flags.calcError);
  EXPECT_NEAR(static_cast<double>(p.results.rMin), 30, 1e-9);
  EXPECT_NEAR(static_cast<double>(p.results.rMax), 55, 1e-9);
  EXPECT_NEAR(static_cast<double>(p.results.stroke), 25, 1e-6);
  // The segments are those of the same programme built without the dialog.
  MotionProgramme prog = DefaultMotionProgramme();
  prog.sections[0].lift = prog.sections[1].lift = 25;
  prog.base = 30;
  std::vector<teilkurveRec> segs = MotionProgrammeSegments(prog);
  ASSERT_EQ(segs.size(), 5u);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(p.segments[static_cast<size_t>(i)].formula, segs[static_cast<size_t>(i)].formula) << i;
    EXPECT_EQ(p.segments[static_cast<size_t>(i)].xMax, segs[static_cast<size_t>(i)].xMax) << i;
  }
}

// A cancelled programme ends File > "Neu…" with the texts kept under the save
// question and no geometry.
TEST(MotionDialog, FileNewWithTheProgrammeCancelled) {
  Bench b;
  Shell shell(b.session);
  b.port.forms.push_back([](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts[0] = "Entwurf";
    return l.store(v);
  });
  b.port.choices.push_back(0);
  b.port.motions.push_back([](MotionLogic&) { return false; });
  shell.run(Command::FileNew);
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_TRUE(b.session.flags.modified);
  EXPECT_EQ(b.session.project().drawing.zeichname, "Entwurf");
  EXPECT_EQ(b.session.project().segmentCount, 0);
  EXPECT_TRUE(b.port.motions.empty() && b.port.texts.empty());
}

}  // namespace
}  // namespace kamo
