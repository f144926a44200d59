// The follower and its guide bars, drawn beside the cam (A3 sheet, animation).
#pragma once
#include "cad/cad.h"
#include "cam/model.h"
#include "core/messages.h"

namespace kamo {

// The follower as the drawings show it: a length or diameter left at 0 is
// drawn as 0.3 times the contour's x size and 0.05 times its y size. The
// project keeps its own values; only the follower dialog changes them.
Follower FollowerAsDrawn(const CamProject& project);
// The follower with its tip at (s, 0).
void DrawFollower(CadOutput& cad, const CamProject& project, Real s);
// The two hatched guide bars above and below the follower.
void DrawFollowerGuides(CadOutput& cad, const CamProject& project, MessageList& messages, Flags& flags);

}  // namespace kamo
