// The turning cam and its follower: one frame per step of the cam angle, the
// follower at the position the cam gives it, the angle and the stroke written
// below the centre. Each frame is a drawing of its own (the window shows one
// frame at a time and steps on by a timer, the GIF and PNG writers paint
// them one by one); one frame at a full turn is the still picture after the
// follower dialog.
#pragma once
#include <string>

#include "graphics/sheets.h"

namespace kamo {

// What the settings dialog accepts: more frames per turn than the contour
// has points show nothing new, more turns only repeat, and a pause beyond
// ten seconds looks like a hang.
inline constexpr int kAnimationMinFrames = 1, kAnimationMaxFrames = 3600;
inline constexpr int kAnimationMinRepetitions = 1, kAnimationMaxRepetitions = 100;
inline constexpr int kAnimationMinPause = 0, kAnimationMaxPause = 10000;

struct AnimationRun {
  int frames = 1;       // per turn
  int repetitions = 1;  // turns
  int pauseMs = 0;      // after each frame but the last
  bool singleStep = false;
};

// The run as the frames use it: the counts and the pause within their ranges
// (a run of 0 turns stays empty).
AnimationRun ClampedRun(const AnimationRun& run);

// Frame j (0-based) of a run: frame k = 1..N of turn i = 1..R, the cam turned
// clockwise by 360·k/N degrees, the follower tip at s (FollowerAtAngle).
struct AnimationFrame {
  int index = 0;
  int repetition = 1;
  int k = 1;
  int frames = 1;
  Real angleDeg = 360;
  Real s = 0;
  bool last = true;  // no pause and no further frame after it
};
// Frames of the run in all (N·R, 0 for none).
int AnimationFrameCount(const AnimationRun& run);
AnimationFrame AnimationFrameAt(const CamProject& project, const AnimationRun& run, int index);

// Draws one frame through the CAD element interface as a complete drawing on
// the screen (CadOpen kind 3 "KAMOANI" to CadClose): the cam block "NOCKE"
// turned by the frame angle, the follower axis, the guides, the follower and
// the two label lines. False when nothing could be drawn. Stand-in sizes
// of a follower or bore left at 0 are used for the picture only; pass a copy
// of the project to keep the bore's.
bool DrawAnimationFrame(SheetOutput& out, const AnimationFrame& frame);

// The still picture: one frame, the cam turned by a full turn. With calcError
// set the error list is shown instead.
bool FollowerStillPicture(SheetOutput& out);

// The two label lines of a frame: the angle in degrees and s in mm.
void DrawFrameLabel(CadOutput& cad, const CamProject& project, const NumberStyle& ns, Real angleDeg,
                    Real s);

}  // namespace kamo
