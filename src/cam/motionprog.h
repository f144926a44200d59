// A motion programme: a base circle and the sections of one revolution
// (law, angle span, lift at the end), turned into formula segments of curve
// type 1, and its text file:
//
//   # rise 20 mm cycloidal, dwell, return with the 3-4-5 polynomial, dwell
//   base 40
//   cycloidal 120 20
//   dwell      60 20
//   345       120 0
//   dwell      60
//   speed 300
//   follower round 10
//
// Messages are CP850 ("Fehler : ..."), each naming its line.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cam/model.h"
#include "cam/motionlaw.h"
#include "core/real.h"

namespace kamo {

struct MotionSection {
  MotionLaw law = MotionLaw::Dwell;
  Real spanDeg = 0;   // degrees, > 0
  Real lift = 0;      // mm above the base circle at the end of the section
  int line = 0;       // its line in the file (0: typed in the dialog)
};

struct MotionProgramme {
  Real base = 0;                       // base circle radius, mm
  std::vector<MotionSection> sections;
  std::optional<Real> speed;           // 1/min
  std::optional<int> followerType;     // 1 flat, 2 round
  std::optional<Real> followerD;       // mm
  std::optional<int> steps;            // calculation steps
};

// The largest file read, and the steps a programme file's project gets
// unless it names its own.
inline constexpr size_t kMotionFileLimit = 1 << 20;
inline constexpr int kMotionDefaultSteps = 720;
// The smallest section (degrees; the formulas write radians with twelve
// decimals) and the smallest base circle radius (mm).
inline constexpr Real kMotionMinSpan = 0.01L;
inline constexpr Real kMotionMinBase = 0.001L;

struct MotionError {
  std::string message;  // CP850, empty: none
  int line = 0;         // 0: the programme as a whole
  bool ok() const { return message.empty(); }
};

// Reads the text of a programme file. On failure prog holds what was read up
// to the faulty line.
MotionError ParseMotionProgramme(std::string_view text, MotionProgramme& prog);

// The rows of the dialog (law, span and lift as typed; lengths times
// lengthFactor give mm): the sections read up to the first faulty row go into
// prog; the error names the row as its line. complete: prog passed every check.
struct MotionRowText {
  MotionLaw law = MotionLaw::Dwell;
  std::string span, lift;  // an empty lift keeps the lift (dwell)
};
MotionError MotionProgrammeFromRows(const std::string& base, const std::vector<MotionRowText>& rows,
                                    Real lengthFactor, MotionProgramme& prog, bool& complete);

// The number of formula segments the sections need.
int MotionSegmentCount(const std::vector<MotionSection>& sections);

// Checks the sections as a whole: a positive base radius, spans summing to
// 360°, lifts not below the base circle, a dwell that keeps its lift, the
// last section back on the base circle, at most 10 segments.
MotionError CheckMotionProgramme(const MotionProgramme& prog);

// The formula segments 1..n of a checked programme (index 0 unused).
std::vector<teilkurveRec> MotionProgrammeSegments(const MotionProgramme& prog);

// Writes a checked programme into the project: curve type 1 with its
// segments, and the speed, follower and steps the programme names.
MotionError ApplyMotionProgramme(const MotionProgramme& prog, CamProject& project);

// The programme as file text (the inverse of ParseMotionProgramme).
std::string MotionProgrammeText(const MotionProgramme& prog);

// The follower's motion over the cam angle in closed form, for previews:
// at cam angle phiDeg the lift s (mm) and its derivatives with respect to
// the angle in radians (mm/rad, mm/rad², mm/rad³).
struct MotionSample {
  Real phiDeg = 0, s = 0, v = 0, a = 0, j = 0;
};
std::vector<MotionSample> SampleMotionProgramme(const MotionProgramme& prog, int samples);

}  // namespace kamo
