// The turning cam and its follower on the screen: one frame per step of the
// cam angle, the follower at the position the cam gives it, the angle and the
// stroke written below the centre. One frame without pause is the still
// picture shown after the follower dialog.
#pragma once
#include "graphics/sheets.h"

namespace kamo {

struct AnimationRun {
  int frames = 1;       // per turn
  int repetitions = 1;  // turns
  int pauseMs = 0;      // after each frame
};

// Draws the frames through the CAD element interface onto the screen (kind 3)
// and returns false when nothing could be drawn. The follower and the bore
// get their drawing defaults in `out.project`: pass a copy to keep the
// model's values. With calcError set the error list is shown instead.
bool AnimateFrames(SheetOutput& out, const AnimationRun& run);

// The still picture: one frame, the cam turned by a full turn, no pause.
inline bool FollowerStillPicture(SheetOutput& out) { return AnimateFrames(out, AnimationRun{}); }

// The two label lines of a frame: the angle in degrees and s in mm.
void DrawFrameLabel(CadOutput& cad, const CamProject& project, const NumberStyle& ns, Real angleDeg,
                    Real s);

}  // namespace kamo
