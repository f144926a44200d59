// Motion programmes: the file format, its refusals (each naming the line),
// the checks of the whole and the project it writes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cam/kamorech.h"
#include "cam/motionprog.h"

namespace kamo {
namespace {

const char* kExample =
    "\xEF\xBB\xBF# rise, dwell, return, dwell\r\n"
    "base 40   # mm\n"
    "\n"
    "cycloidal 120 20\n"
    "DWELL 60\n"
    "345\t120\t0\n"
    "dwell 60 0\n"
    "speed 300\n"
    "follower flat 12,5\n"
    "steps 500";

TEST(MotionProgramme, ReadsTheFormat) {
  MotionProgramme p;
  MotionError e = ParseMotionProgramme(kExample, p);
  ASSERT_TRUE(e.ok()) << e.message;
  EXPECT_EQ(static_cast<double>(p.base), 40);
  ASSERT_EQ(p.sections.size(), 4u);
  EXPECT_EQ(p.sections[0].law, MotionLaw::Cycloidal);
  EXPECT_EQ(p.sections[1].law, MotionLaw::Dwell);
  EXPECT_EQ(static_cast<double>(p.sections[1].lift), 20);  // a dwell keeps the lift
  EXPECT_EQ(p.sections[2].law, MotionLaw::Poly345);
  EXPECT_EQ(p.sections[2].line, 6);
  EXPECT_EQ(static_cast<double>(*p.speed), 300);
  EXPECT_EQ(*p.followerType, 1);
  EXPECT_EQ(static_cast<double>(*p.followerD), 12.5);
  EXPECT_EQ(*p.steps, 500);
  // The text form reads back to the same programme.
  MotionProgramme q;
  ASSERT_TRUE(ParseMotionProgramme(MotionProgrammeText(p), q).ok());
  EXPECT_EQ(MotionProgrammeText(q), MotionProgrammeText(p));
}

struct BadCase {
  const char* text;
  const char* message;  // the start of the message
  int line;
};
const BadCase kBad[] = {
    {"", "Fehler : erste Zeile", 1},
    {"# only a comment\n", "Fehler : erste Zeile", 2},
    {"cycloidal 120 20\n", "Fehler : erste Zeile", 1},
    {"base\n", "Fehler : Zeile unverst", 1},
    {"base -4\n", "Fehler : Grundkreisradius", 1},
    {"base 0\n", "Fehler : Grundkreisradius", 1},
    {"base nan\n", "Fehler : Grundkreisradius", 1},
    {"base 1e999\n", "Fehler : Grundkreisradius", 1},
    {"base 40\nbase 40\n", "Fehler : doppelte", 2},
    {"base 40\n\ncycloid 120 20\n", "Fehler : unbekanntes", 3},
    {"base 40\ncycloidal 120\n", "Fehler : Zeile unverst", 2},
    {"base 40\ncycloidal 120 20 4\n", "Fehler : Zeile unverst", 2},
    {"base 40\ncycloidal 0 20\n", "Fehler : Abschnittswinkel", 2},
    {"base 40\ncycloidal -10 20\n", "Fehler : Abschnittswinkel", 2},
    {"base 40\ncycloidal 400 20\n", "Fehler : Abschnittswinkel", 2},
    {"base 40\ncycloidal 0.001 20\n", "Fehler : Abschnittswinkel", 2},
    {"base 1e-9\n", "Fehler : Grundkreisradius", 1},
    {"base 40\ncycloidal 120 -1\n", "Fehler : Hub ung", 2},
    {"base 40\ncycloidal 120 x\n", "Fehler : Hub ung", 2},
    {"base 40\ncycloidal 120 20\ndwell 60 10\n", "Fehler : Rast", 3},
    {"base 40\nspeed 0\n", "Fehler : Drehzahl", 2},
    {"base 40\nspeed 300\nspeed 300\n", "Fehler : doppelte", 3},
    {"base 40\nfollower knife 0\n", "Fehler : St", 2},
    {"base 40\nfollower round -1\n", "Fehler : St", 2},
    {"base 40\nsteps 5\n", "Fehler : Schrittzahl", 2},
    {"base 40\nsteps 100.5\n", "Fehler : Schrittzahl", 2},
    {"base 40\n", "Fehler : Programm ohne", 0},
    {"base 40\ncycloidal 120 20\ndwell 60\n345 120 0\ndwell 50\n", "Fehler : Winkelsumme 350", 5},
    {"base 40\ncycloidal 180 20\ndwell 180\n", "Fehler : Ende nicht", 3},
    {"base 40\nmodtrap 90 20\ndwell 90\nmodtrap 90 0\ndwell 90\n", "Fehler : zu viele Segmente: das Programm braucht 12", 0},
};

TEST(MotionProgramme, RefusesBadFilesNamingTheLine) {
  for (const BadCase& c : kBad) {
    MotionProgramme p;
    MotionError e = ParseMotionProgramme(c.text, p);
    EXPECT_EQ(e.message.rfind(c.message, 0), 0u) << c.text << " -> " << e.message;
    EXPECT_EQ(e.line, c.line) << c.text;
    if (c.line > 0) {
      EXPECT_NE(e.message.find("(Zeile " + std::to_string(c.line) + ")"), std::string::npos) << e.message;
    }
  }
}

TEST(MotionProgramme, WritesFormulaSegmentsThatCalculate) {
  MotionProgramme p;
  ASSERT_TRUE(ParseMotionProgramme(kExample, p).ok());
  CamProject project;
  ASSERT_TRUE(ApplyMotionProgramme(p, project).ok());
  EXPECT_EQ(project.curveType, ctFormula);
  EXPECT_EQ(project.segmentCount, 4);
  EXPECT_EQ(static_cast<double>(project.segments[4].xMax), 360);
  EXPECT_EQ(project.ram.type, 1);
  EXPECT_EQ(static_cast<double>(project.speed), 300);
  MessageList m;
  Flags f;
  Settings settings;
  Calculate(project, m, f, settings);
  ASSERT_FALSE(f.calcError) << m.at(1);
  EXPECT_NEAR(static_cast<double>(project.results.rMin), 40, 1e-9);
  EXPECT_NEAR(static_cast<double>(project.results.rMax), 60, 1e-9);
  // Ten segments fit: two modified sines and their dwells need 8.
  MotionProgramme q;
  ASSERT_TRUE(ParseMotionProgramme("base 30\nmodsine 100 10\ndwell 80\nmodsine 100 0\ndwell 80\n", q).ok());
  EXPECT_EQ(MotionSegmentCount(q.sections), 8);
}

TEST(MotionProgramme, PreviewFollowsTheLaws) {
  MotionProgramme p;
  ASSERT_TRUE(ParseMotionProgramme(kExample, p).ok());
  std::vector<MotionSample> s = SampleMotionProgramme(p, 361);
  ASSERT_EQ(s.size(), 361u);
  EXPECT_NEAR(static_cast<double>(s[0].s), 0, 1e-12);
  EXPECT_NEAR(static_cast<double>(s[120].s), 20, 1e-9);
  EXPECT_NEAR(static_cast<double>(s[150].s), 20, 1e-12);
  EXPECT_NEAR(static_cast<double>(s[360].s), 0, 1e-9);
  // Cycloidal: v = h/beta·2 at mid rise (mm per radian).
  EXPECT_NEAR(static_cast<double>(s[60].v), 20 / (120 * 3.14159265358979323846 / 180) * 2, 1e-9);
  // Nothing breaks on rows that are being typed.
  MotionProgramme bad;
  bad.base = 40;
  bad.sections = {{MotionLaw::Cycloidal, 0, 5}, {MotionLaw::Poly345, -3, 2}, {MotionLaw::Linear, 30, 0}};
  for (const MotionSample& x : SampleMotionProgramme(bad, 50)) EXPECT_TRUE(std::isfinite(static_cast<double>(x.s)));
}

}  // namespace
}  // namespace kamo
