// Follower and follower guides.
#include "graphics/follower.h"

#include <algorithm>

#include "graphics/hatch.h"

namespace kamo {

Follower FollowerAsDrawn(const CamProject& project) {
  Follower f = project.ram;
  if (f.l == 0) f.l = 0.3L * project.results.xSize;
  if (f.d == 0) f.d = 0.05L * project.results.ySize;
  return f;
}

void DrawFollower(CadOutput& cad, const CamProject& project, Real s) {
  const Follower f = FollowerAsDrawn(project);
  const Real d = f.d, l = f.l;
  if (f.type == 1) {
    cad.CadRect(s, -d / 2, s + l, d / 2);
    return;
  }
  const Real rho = d / 2;
  cad.CadArc(s + rho, 0, 90, 270, rho);
  cad.CadMoveTo(s + rho, -rho);
  cad.CadLineTo(s + l, -rho);
  cad.CadLineTo(s + l, rho);
  cad.CadLineTo(s + rho, rho);
}

void DrawFollowerGuides(CadOutput& cad, const CamProject& project, MessageList& messages, Flags& flags) {
  const CamResults& r = project.results;
  const Follower f = FollowerAsDrawn(project);
  const Real d = f.d, l = f.l;
  const Real x0 = r.rMax + 0.05L * (r.rMax - r.rMin);
  const Real x1 = std::max(x0 + l - 1.1L * r.stroke, r.rMax + 1.25L * (r.rMax - r.rMin));
  Hatch h(cad, messages, flags);
  h.HatchRect(x0, d / 2, x1, d, 0, 45);
  h.HatchRect(x0, -d / 2, x1, -d, 0, 45);
}

}  // namespace kamo
