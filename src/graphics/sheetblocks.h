// The text blocks that the sheets place on a drawing: title lines, curve
// description, follower, speed, cross-section values and the message list.
#pragma once
#include <string>
#include <vector>

#include "graphics/table.h"

namespace kamo {

void TitleBlock(const SheetContext& ctx, Real x, Real y, Real h);
void CurveDescriptionBlock(const SheetContext& ctx, Real x, Real y, Real h);
void FollowerBlock(const SheetContext& ctx, Real x, Real y, Real h);
void SpeedBlock(const SheetContext& ctx, Real x, Real y, Real h);
void SectionBlock(const SheetContext& ctx, int mode, Real x, Real y, Real h);
void MessageBlock(const SheetContext& ctx, Real x, Real y, Real h, Real width, Real height);

// The lines of the curve description block (CP850), by curve type.
std::vector<std::string> CurveDescriptionLines(const CamProject& p, const NumberStyle& ns);

}  // namespace kamo
