// The follower search as the plain all-pairs scan: every contour point
// against every contour point. The production pass must agree with it bit
// for bit; the benchmark measures both.
#pragma once
#include <vector>

#include "cam/model.h"
#include "core/real.h"

namespace kamo::test {

// s[1..contourCount], the same layout as FollowerPositions.
void ReferenceFollowerPositions(const CamProject& project, std::vector<Real>& s);

}  // namespace kamo::test
