// The calculation settings dialog without a display: its defaults, clamps and
// the exact values of fields the user did not touch, and Edit > "Berechnung"
// with its calculation.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

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
