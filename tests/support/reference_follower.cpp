// The all-pairs follower scan used as the reference of the production pass.
#include "support/reference_follower.h"

#include <algorithm>

#include "cam/kamorech.h"

namespace kamo::test {

void ReferenceFollowerPositions(const CamProject& project, std::vector<Real>& s) {
  const int n = std::min<int>(project.contourCount, kMaxContour);
  s.assign(static_cast<size_t>(n) + 1, 0);
  for (int k = 1; k <= n; ++k) {
    FollowerFrame f = FollowerStart(project, k);
    for (int j = 1; j <= n - 1; ++j) {
      const ContourPoint& p = project.contour[static_cast<size_t>(j)];
      Real X, Y;
      if (FollowerInFace(f, p.x, p.y, X, Y)) FollowerUpdate(f, X, Y);
    }
    s[static_cast<size_t>(k)] = f.s;
  }
}

}  // namespace kamo::test
