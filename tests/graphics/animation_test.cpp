// Frames of the turning cam on the screen: the still picture after the
// follower dialog is one frame at a full turn without pause or erase pass.
#include <gtest/gtest.h>

#include "../cad/cad_fixture.h"
#include "cam/kamorech.h"
#include "graphics/animation.h"

namespace kamo {
namespace {

using test::CadFixture;

struct Counts {
  int sleeps = 0;
  std::map<std::string, int> labels;  // "phi = ..." texts
};
Counts Count(const DisplayList& list) {
  Counts c;
  for (const std::string& rec : list.records()) {
    DisplayRecord r = ParseDisplayRecord(rec);
    if (r.code == static_cast<int>(DisplayCode::Sleep)) ++c.sleeps;
    if (r.code == static_cast<int>(DisplayCode::Text) && r.fields.size() > 2 &&
        r.fields[2].rfind("phi = ", 0) == 0)
      ++c.labels[r.fields[2]];
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
  bool run(AnimationRun r) {
    SheetOutput out{*cad, p, settings, messages, flags, ui, ErrorListContext{}, 1};
    return AnimateFrames(out, r);
  }
};

TEST(Animation, StillPictureIsOneFrameAtAFullTurn) {
  Bench b;
  ASSERT_FALSE(b.flags.calcError);
  ASSERT_TRUE(b.run({}));
  Counts c = Count(b.display);
  EXPECT_EQ(c.sleeps, 0);
  // Drawn three times in succession, never erased.
  EXPECT_EQ(c.labels, (std::map<std::string, int>{{"phi = 360deg", 3}}));
  bool strokeLabel = false;
  for (const std::string& rec : b.display.records()) strokeLabel |= rec.find("s = ") != std::string::npos;
  EXPECT_TRUE(strokeLabel);
}

TEST(Animation, FramesPausesAndErasePasses) {
  struct Case {
    int frames, repetitions;
    int sleeps;
    std::map<std::string, int> labels;
  } cases[] = {
      // Eight frames; seven erase passes follow the first seven, the last stays.
      {4, 2, 7, {{"phi = 90deg", 8}, {"phi = 180deg", 8}, {"phi = 270deg", 8}, {"phi = 360deg", 7}}},
      {1, 3, 2, {{"phi = 360deg", 11}}},
      {4, 0, 0, {}},
  };
  for (const Case& c : cases) {
    Bench b;
    EXPECT_TRUE(b.run({c.frames, c.repetitions, 10}));
    Counts n = Count(b.display);
    EXPECT_EQ(n.sleeps, c.sleeps) << c.frames << "x" << c.repetitions;
    EXPECT_EQ(n.labels, c.labels) << c.frames << "x" << c.repetitions;
  }
}

TEST(Animation, NothingWithoutACam) {
  Bench b;
  b.flags.calcError = true;
  EXPECT_FALSE(b.run({}));
  EXPECT_EQ(Count(b.display).labels.size(), 0u);
  Bench none;
  none.p.basePointCount = 0;
  EXPECT_FALSE(none.run({}));
  Bench zero;
  EXPECT_FALSE(zero.run({0, 1, 0}));
}

}  // namespace
}  // namespace kamo
