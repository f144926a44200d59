// Frames of the turning cam on the screen: every frame is a drawing of its
// own with the cam turned by its angle and the follower where the cam puts
// it; the still picture after the follower dialog is one frame at a full turn.
#include <gtest/gtest.h>

#include <cmath>

#include "../cad/cad_fixture.h"
#include "cam/kamorech.h"
#include "graphics/animation.h"

namespace kamo {
namespace {

using test::CadFixture;

struct Counts {
  int sleeps = 0, windows = 0;
  std::map<std::string, int> labels;  // "phi = ..." texts
  std::vector<double> axisStarts;     // x of the follower axis lines (layer 1, on y = 0)
};
Counts Count(const DisplayList& list, double axisLength) {
  Counts c;
  for (const DisplayItem& item : list.items()) {
    if (item.code == DisplayCode::Sleep) ++c.sleeps;
    if (item.code == DisplayCode::Window) ++c.windows;
    if (item.code == DisplayCode::Text && list.textOf(item).starts_with("phi = "))
      ++c.labels[std::string(list.textOf(item))];
    // The records keep full precision: the axis is found by its length, its start is compared exactly.
    if (item.code == DisplayCode::Line && item.v[1] == 0 && item.v[3] == 0 &&
        std::fabs(item.v[2] - item.v[0] - axisLength) < 1e-9 * axisLength)
      c.axisStarts.push_back(item.v[0]);
  }
  return c;
}

struct Bench : CadFixture {
  CamProject p;
  Bench() {
    p.curveType = ctSine;
    p.sine.rw0 = 40;
    p.sine.A = 8;
    p.sine.N = 2;
    Calculate(p, messages, flags, settings);
    settings.numbers.specialChars = 1;  // "deg" for the angle
  }
  SheetOutput out() { return SheetOutput{*cad, p, settings, messages, flags, ui, ErrorListContext{}, 1}; }
  bool frame(const AnimationRun& run, int index) {
    SheetOutput o = out();
    return DrawAnimationFrame(o, AnimationFrameAt(p, run, index));
  }
  double axis() const { return static_cast<double>(0.4L * p.results.xSize); }
};

TEST(Animation, StillPictureIsOneFrameAtAFullTurn) {
  Bench b;
  ASSERT_FALSE(b.flags.calcError);
  SheetOutput o = b.out();
  ASSERT_TRUE(FollowerStillPicture(o));
  Counts c = Count(b.display, b.axis());
  EXPECT_EQ(c.sleeps, 0);
  EXPECT_EQ(c.labels, (std::map<std::string, int>{{"phi = 360deg", 1}}));
  ASSERT_EQ(c.axisStarts.size(), 1u);
  EXPECT_DOUBLE_EQ(c.axisStarts[0], static_cast<double>(FollowerAtAngle(b.p, 2 * kPi)));
  bool strokeLabel = false;
  for (const std::string& rec : b.display.records()) strokeLabel |= rec.find("s = ") != std::string::npos;
  EXPECT_TRUE(strokeLabel);
}

// The frames of a run in order: N per turn at 360·k/N degrees, R turns, the
// last one marked (after it no pause and no further frame).
TEST(Animation, FrameSequence) {
  struct Case {
    int frames, repetitions;
    std::vector<double> angles;
  } cases[] = {
      {4, 2, {90, 180, 270, 360, 90, 180, 270, 360}},
      {1, 3, {360, 360, 360}},
      {3, 1, {120, 240, 360}},
      {4, 0, {}},
  };
  Bench b;
  for (const Case& c : cases) {
    AnimationRun run{c.frames, c.repetitions, 10, false};
    const int n = AnimationFrameCount(run);
    ASSERT_EQ(n, static_cast<int>(c.angles.size())) << c.frames << "x" << c.repetitions;
    for (int j = 0; j < n; ++j) {
      AnimationFrame f = AnimationFrameAt(b.p, run, j);
      EXPECT_NEAR(static_cast<double>(f.angleDeg), c.angles[static_cast<size_t>(j)], 1e-12);
      EXPECT_EQ(f.repetition, j / c.frames + 1);
      EXPECT_EQ(f.last, j == n - 1) << j;
      EXPECT_EQ(f.s, FollowerAtAngle(b.p, 2 * kPi * f.k / c.frames));
    }
  }
}

// Each frame replaces the one before: one window, one label, one follower
// axis at FollowerAtAngle(2πk/N), and no pause records (the window times the frames).
TEST(Animation, EachFrameIsOneDrawing) {
  for (int type : {1, 2}) {
    Bench b;
    b.p.ram.type = static_cast<std::uint16_t>(type);
    AnimationRun run{12, 2, 50, false};
    for (int j = 0; j < AnimationFrameCount(run); ++j) {
      ASSERT_TRUE(b.frame(run, j)) << j;
      Counts c = Count(b.display, b.axis());
      int k = j % 12 + 1;
      EXPECT_EQ(c.windows, 1);
      EXPECT_EQ(c.sleeps, 0);
      ASSERT_EQ(c.labels.size(), 1u) << j;
      EXPECT_EQ(c.labels.begin()->first, "phi = " + std::to_string(30 * k) + "deg");
      ASSERT_EQ(c.axisStarts.size(), 1u) << j;
      EXPECT_DOUBLE_EQ(c.axisStarts[0], static_cast<double>(FollowerAtAngle(b.p, 2 * kPi * k / 12))) << j;
    }
  }
}

// Values from elsewhere than the dialog are held to the dialog's ranges.
TEST(Animation, RunsAreClamped) {
  struct Case {
    AnimationRun in;
    int frames, repetitions, pause;
  } cases[] = {
      {{0, 1, 10}, 1, 1, 10},       // no division by zero
      {{-5, 1, -1}, 1, 1, 0},       // a negative pause would wait for ever
      {{100000, 1000, 99999}, 3600, 100, 10000},
      {{90, 0, 10}, 90, 0, 10},     // no turn, no frame
      {{3600, 100, 10000}, 3600, 100, 10000},
  };
  for (const Case& c : cases) {
    AnimationRun r = ClampedRun(c.in);
    EXPECT_EQ(r.frames, c.frames);
    EXPECT_EQ(r.repetitions, c.repetitions);
    EXPECT_EQ(r.pauseMs, c.pause);
    EXPECT_EQ(AnimationFrameCount(c.in), c.frames * c.repetitions);
  }
}

TEST(Animation, NothingWithoutACam) {
  Bench b;
  b.flags.calcError = true;
  SheetOutput o = b.out();
  EXPECT_FALSE(FollowerStillPicture(o));
  EXPECT_EQ(Count(b.display, b.axis()).labels.size(), 0u);
  Bench none;
  none.p.basePointCount = 0;
  EXPECT_FALSE(none.frame(AnimationRun{}, 0));
}

// A follower without sizes is drawn with stand-ins; the project keeps its zeros.
TEST(Animation, FramesLeaveTheProjectAlone) {
  Bench b;
  b.p.ram.l = 0;
  b.p.ram.d = 0;
  ASSERT_TRUE(b.frame(AnimationRun{4, 1, 0}, 1));
  EXPECT_EQ(b.p.ram.l, 0);
  EXPECT_EQ(b.p.ram.d, 0);
}

}  // namespace
}  // namespace kamo
