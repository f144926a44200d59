// The maker's logo of the about and system windows, drawn into the display list.
#pragma once
#include "display/displaylist.h"

namespace kamo {

// Filled quadrangles in palette colours 9 and 13 in the world window (-1, -1)-(38, 33).
void DrawQuortexLogo(DisplayList& list);

}  // namespace kamo
