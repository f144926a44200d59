// The sheets that combine the contour plot, the tables and the diagrams: the
// A4 form sheet, the quick sheets and the A3 production drawing.
#pragma once
#include "graphics/sheets.h"

namespace kamo {

// Kinds 5 and 7..10 are drawn here.
bool IsCompositeSheet(int kind);
// One complete output of such a sheet (CadOpen .. CadClose); true when written.
bool CompositeSheet(SheetOutput& out, int device, int kind);
// The name of the user's firm, shown in the title block (CP850; empty without one).
std::string OwnerNameFor(const Settings& settings);

}  // namespace kamo
