// The follower and its guide bars, drawn beside the cam (A3 sheet, animation).
#pragma once
#include "cad/cad.h"
#include "cam/model.h"
#include "core/messages.h"

namespace kamo {

// The follower with its tip at (s, 0). A follower without length or diameter
// gets 0.3 times the contour's x size and 0.05 times its y size, kept in the project.
void DrawFollower(CadOutput& cad, CamProject& project, Real s);
// Those defaults alone; the guides drawn before the follower need them too.
void FollowerDefaults(CamProject& project);
// The two hatched guide bars above and below the follower.
void DrawFollowerGuides(CadOutput& cad, const CamProject& project, MessageList& messages, Flags& flags);

}  // namespace kamo
