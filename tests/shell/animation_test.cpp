// View > "Animation" without a window: the settings dialog's fields, "<"
// defaults and ranges, and the run frame by frame as the window's timer
// drives it (single steps, Escape, commands that end it), checked on the
// recorded display list.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>

#include "cam/kamorech.h"
#include "core/codepage.h"
#include "io/kamoio.h"
#include "shell/animation.h"
#include "shell/commands.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;

class AnimationPort : public test::ScriptedPort {
 public:
  std::deque<std::function<bool(FieldsLogic&)>> forms;
  std::vector<FieldsForm> shown;
  std::deque<bool> steps;  // answers of the step window: true "+", false "+++++++"
  int stepWindows = 0;
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
  bool animationStep() override {
    ++stepWindows;
    if (steps.empty()) {
      ADD_FAILURE() << "unscripted step window";
      return false;
    }
    bool b = steps.front();
    steps.pop_front();
    return b;
  }
};

class TimerView : public ShellView {
 public:
  std::vector<int> ticks;  // delays asked for
  int drawings = 0, frames = 0;
  void scheduleAnimationTick(int ms) override { ticks.push_back(ms); }
  void showDrawing() override { ++drawings; }
  void showFrame() override { ++frames; }
};

// The dialog answered with these texts and the single-step switch.
std::function<bool(FieldsLogic&)> Answer(std::vector<std::string> texts, bool single) {
  return [texts, single](FieldsLogic& l) {
    FieldsValues v = l.fill();
    v.texts = texts;
    v.checks = {single};
    return l.store(v);
  };
}

struct Bench {
  AnimationPort port;
  Session session{port};
  Shell shell{session};
  TimerView view;
  test::TempFolder folder;
  Bench() {
    shell.view = &view;
    std::string path = folder.file("cam.kmo");
    fs::copy_file(std::string(KAMO_SOURCE_DIR) + "/examples/sine.kmo", path);
    EXPECT_TRUE(shell.openProject(path));
    EXPECT_FALSE(session.flags.calcError);
    port.boxes.clear();
    view.drawings = 0;  // the start view
  }
  // The labels "phi = ..." and the follower axis starts of the display list
  // (its typed records, in full precision).
  std::vector<std::string> labels() const {
    std::vector<std::string> out;
    for (const DisplayItem& item : shell.screen.items())
      if (item.code == DisplayCode::Text && shell.screen.textOf(item).starts_with("phi = "))
        out.emplace_back(shell.screen.textOf(item));
    return out;
  }
  std::vector<double> axisStarts() const {
    const double length = static_cast<double>(0.4L * session.project().results.xSize);
    std::vector<double> out;
    for (const DisplayItem& item : shell.screen.items())
      if (item.code == DisplayCode::Line && item.v[1] == 0 && item.v[3] == 0 &&
          std::fabs(item.v[2] - item.v[0] - length) < 1e-9 * length)
        out.push_back(item.v[0]);
    return out;
  }
  // One frame on the screen, the follower where the cam puts it at 2πk/N.
  void expectFrame(int k, int n) const {
    std::vector<std::string> l = labels();
    ASSERT_EQ(l.size(), 1u) << "frame " << k;
    EXPECT_EQ(l[0].rfind("phi = " + std::to_string(360 * k / n), 0), 0u) << l[0];
    std::vector<double> a = axisStarts();
    ASSERT_EQ(a.size(), 1u) << "frame " << k;
    EXPECT_DOUBLE_EQ(a[0], static_cast<double>(FollowerAtAngle(session.project(), 2 * kPi * k / n)));
  }
};

TEST(AnimationDialog, FieldsAndDefaults) {
  Bench b;
  AnimationEditor e(b.session);
  FieldsForm f = e.form();
  EXPECT_EQ(f.objectName, "TForm_kamoani");
  EXPECT_EQ(f.caption, "Animation");
  EXPECT_EQ(f.helpTopic, 5600);
  ASSERT_EQ(f.fields.size(), 3u);
  EXPECT_EQ(f.fields[0].label, "Anzahl der Einzelbilder");
  EXPECT_EQ(f.fields[1].label, "Anzahl der Wiederholungen");
  EXPECT_EQ(f.fields[2].label, "Pause nach jedem Einzelbild");
  EXPECT_EQ(f.fields[2].unit, "ms");
  ASSERT_EQ(f.checks.size(), 1u);
  EXPECT_EQ(f.checks[0].caption, "Pause nach jedem Einzelbild ?");
  FieldsValues v = e.fill();
  EXPECT_EQ(v.texts, (std::vector<std::string>{"90", "1", "10"}));
  EXPECT_EQ(v.checks, std::vector<bool>{false});
  struct Case {
    int steps;
    const char* frames;
  } cases[] = {{100, "101"}, {359, "360"}, {1999, "360"}, {10, "11"}};
  for (const Case& c : cases) {
    b.session.project().calc.steps = c.steps;
    EXPECT_EQ(e.defaultText(0, v), c.frames) << c.steps;
  }
  EXPECT_EQ(e.defaultText(1, v), "1");
  EXPECT_EQ(e.defaultText(2, v), "100");
}

// Every field within its range, refused with the message of the prompts otherwise.
TEST(AnimationDialog, RangesAndRefusals) {
  struct Case {
    std::vector<std::string> texts;
    const char* message;  // empty: accepted
    AnimationRun run;
  } cases[] = {
      {{"0", "1", "10"}, "G\x81ltiger Wertebereich: 1 .. 3600 !", {}},
      {{"-3", "1", "10"}, "G\x81ltiger Wertebereich: 1 .. 3600 !", {}},
      {{"3601", "1", "10"}, "G\x81ltiger Wertebereich: 1 .. 3600 !", {}},
      {{"abc", "1", "10"}, "Ung\x81ltige Eingabe \"abc\" !", {}},
      {{"12.5", "1", "10"}, "Ung\x81ltige Eingabe \"12.5\" !", {}},
      {{"12", "0", "10"}, "G\x81ltiger Wertebereich: 1 .. 100 !", {}},
      {{"12", "101", "10"}, "G\x81ltiger Wertebereich: 1 .. 100 !", {}},
      {{"12", "1", "-1"}, "G\x81ltiger Wertebereich: 0 .. 10000 !", {}},
      {{"12", "1", "10001"}, "G\x81ltiger Wertebereich: 0 .. 10000 !", {}},
      {{"12", "1", ""}, "Ung\x81ltige Eingabe \"\" !", {}},
      {{" 12 ", "2", "0"}, "", {12, 2, 0, true}},
      {{"3600", "100", "10000"}, "", {3600, 100, 10000, true}},
      {{"1", "1", "0"}, "", {1, 1, 0, true}},
  };
  for (const Case& c : cases) {
    Bench b;
    AnimationEditor e(b.session);
    FieldsValues v = e.fill();
    v.texts = c.texts;
    v.checks = {true};
    bool stored = e.store(v);
    EXPECT_EQ(stored, *c.message == 0) << c.texts[0] << " " << c.texts[1] << " " << c.texts[2];
    if (*c.message) {
      ASSERT_EQ(b.port.boxes.size(), 1u);
      EXPECT_NE(b.port.boxes[0].text.find(Cp850ToUtf8(c.message)), std::string::npos) << b.port.boxes[0].text;
    } else {
      EXPECT_TRUE(b.port.boxes.empty());
      EXPECT_EQ(e.run().frames, c.run.frames);
      EXPECT_EQ(e.run().repetitions, c.run.repetitions);
      EXPECT_EQ(e.run().pauseMs, c.run.pauseMs);
      EXPECT_TRUE(e.run().singleStep);
    }
  }
}

// N = 12, R = 2 in single-step mode: three single steps, then "+++++++" lets
// the rest run with their pauses; one frame in the list at any time, the
// follower where the cam puts it, and the switch gone with the run.
TEST(AnimationRun, SingleStepsThenRunOn) {
  Bench b;
  b.port.forms.push_back(Answer({"12", "2", "25"}, true));
  b.port.steps = {true, true, true, false};
  b.shell.run(Command::ViewAnimation);
  ASSERT_TRUE(b.shell.animating());
  EXPECT_EQ(b.view.drawings, 1);
  b.expectFrame(1, 12);
  int drawn = 1;
  for (int d = 0; (d = b.shell.animationTick()) >= 0;) {
    ++drawn;
    EXPECT_EQ(d, 25);
    b.expectFrame((drawn - 1) % 12 + 1, 12);
    ASSERT_LT(drawn, 100);
  }
  ++drawn;  // the last tick drew the last frame
  EXPECT_EQ(drawn, 24);
  b.expectFrame(12, 12);
  EXPECT_EQ(b.port.stepWindows, 4);
  EXPECT_FALSE(b.shell.animating());
  EXPECT_EQ(b.shell.animationRun(), nullptr);
  EXPECT_EQ(b.view.frames, 23);
  EXPECT_EQ(b.view.ticks, std::vector<int>{25});  // the view asked once; every tick says the next delay
  EXPECT_FALSE(b.session.flags.abortFlag);
  // The next drawing does not stop for the step window.
  b.shell.run(Command::ViewSva);
  EXPECT_EQ(b.port.stepWindows, 4);
}

// Escape in the middle: abortFlag, the run ends, the frame shown stays.
TEST(AnimationRun, EscapeStopsIt) {
  Bench b;
  b.port.forms.push_back(Answer({"12", "2", "0"}, false));
  b.shell.run(Command::ViewAnimation);
  for (int i = 0; i < 5; ++i) ASSERT_EQ(b.shell.animationTick(), 0);
  b.shell.stopAnimation();
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_FALSE(b.shell.animating());
  EXPECT_EQ(b.shell.animationTick(), -1);
  b.expectFrame(6, 12);
  // abortFlag set by anything else ends it at the next tick as well.
  b.port.forms.push_back(Answer({"12", "2", "0"}, false));
  b.shell.run(Command::ViewAnimation);
  ASSERT_TRUE(b.shell.animating());
  b.session.flags.abortFlag = true;
  EXPECT_EQ(b.shell.animationTick(), -1);
  EXPECT_FALSE(b.shell.animating());
  b.expectFrame(1, 12);
}

// "Abbrechen" draws nothing; R = 1, N = 1 is a single frame and no timer.
TEST(AnimationRun, CancelAndSingleFrame) {
  Bench b;
  b.port.forms.push_back([](FieldsLogic&) { return false; });
  b.shell.run(Command::ViewAnimation);
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_FALSE(b.shell.animating());
  EXPECT_TRUE(b.labels().empty());
  EXPECT_EQ(b.view.drawings, 0);
  b.port.forms.push_back(Answer({"1", "1", "500"}, true));
  b.shell.run(Command::ViewAnimation);
  EXPECT_FALSE(b.shell.animating());
  EXPECT_TRUE(b.view.ticks.empty());
  b.expectFrame(1, 1);
  EXPECT_EQ(b.port.stepWindows, 0);
}

// Commands that draw or change the cam end the run; saving, printing, the
// message lists and the about box leave it running.
TEST(AnimationRun, CommandsThatReplaceTheDrawingEndIt) {
  struct Case {
    Command command;
    bool keeps;
  } cases[] = {
      {Command::ViewSva, false}, {Command::ViewDrawing, false}, {Command::EditOperatingData, false},
      {Command::HelpAbout, true}, {Command::ViewErrors, true}, {Command::HelpEnglish, true},
  };
  for (const Case& c : cases) {
    Bench b;
    b.port.forms.push_back(Answer({"12", "1", "0"}, false));
    b.shell.run(Command::ViewAnimation);
    ASSERT_TRUE(b.shell.animating());
    b.port.choices.push_back(std::nullopt);  // a sheet or unit choice cancelled
    b.port.texts.push_back(std::nullopt);    // a prompt cancelled
    b.shell.run(c.command);
    EXPECT_EQ(b.shell.animating(), c.keeps) << SpecOf(c.command).objectName;
  }
}

// A follower without sizes animates with stand-ins; the project and
// `modified` stay as they were.
TEST(AnimationRun, TheProjectStaysAsItWas) {
  Bench b;
  CamProject& p = b.session.project();
  p.ram.l = 0;
  p.ram.d = 0;
  p.body.bore = 0;
  b.session.flags.modified = false;
  b.port.forms.push_back(Answer({"4", "1", "0"}, false));
  b.shell.run(Command::ViewAnimation);
  while (b.shell.animationTick() >= 0) {
  }
  EXPECT_EQ(p.ram.l, 0);
  EXPECT_EQ(p.ram.d, 0);
  EXPECT_EQ(p.body.bore, 0);
  EXPECT_FALSE(b.session.flags.modified);
}

TEST(AnimationRun, CalcErrorShowsTheMessages) {
  Bench b;
  b.session.flags.calcError = true;
  b.session.messages.add("Fatal  : Test");
  b.port.choices.push_back(std::nullopt);  // the error list, closed
  b.shell.run(Command::ViewAnimation);
  EXPECT_EQ(b.port.choicePrompts.size(), 1u);
  EXPECT_TRUE(b.port.shown.empty());
  EXPECT_FALSE(b.shell.animating());
}

}  // namespace
}  // namespace kamo
