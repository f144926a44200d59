// Frames of the turning cam.
#include "graphics/animation.h"

#include <algorithm>

#include "cam/kamorech.h"
#include "core/numbers.h"
#include "graphics/follower.h"

namespace kamo {

void DrawFrameLabel(CadOutput& cad, const CamProject& project, const NumberStyle& ns, Real angleDeg,
                    Real s) {
  const Real rMax = project.results.rMax;
  cad.CadTextStyle(0, 0, 0.05L * rMax, 0.04L * rMax);
  cad.CadMoveTo(0, -0.08L * rMax);
  cad.CadTextLine("phi = " + FormatGeneral(ns, angleDeg) + UnitAngle(ns));
  cad.CadTextLine("s = " + FormatLength(ns, s) + " " + UnitLength(ns));
}

bool AnimateFrames(SheetOutput& out, const AnimationRun& run) {
  CadOutput& cad = out.cad;
  CamProject& p = out.project;
  if (out.flags.calcError) {
    showErrorList(out.ui, out.errorList, out.messages);
    return false;
  }
  if (p.basePointCount <= 2 || run.frames <= 0) return false;
  const NumberStyle& ns = out.settings.numbers;
  const CamResults& r = p.results;
  cad.CadOpen(kCadScreen, "KAMOANI");
  if (out.flags.abortFlag || !cad.open()) return false;
  const Real M = std::max(r.xSize, r.ySize);
  cad.CadWindow(-0.8L * M, -0.8L * M, 0.8L * M, 0.8L * M, p.body.width);
  cad.CadTables(2);
  cad.CadBeginBlocks();
  cad.CadBeginBlock("NOCKE");
  DrawContour(out, true);
  cad.CadEndBlock();
  cad.CadEndSection();
  cad.CadBeginEntities();
  cad.CadLayer(5);
  // The guides and the follower need its size before the first frame.
  FollowerDefaults(p);
  const int n = run.frames;
  const int pause = std::max(0, run.pauseMs);
  for (int i = 1; i <= run.repetitions && !out.flags.abortFlag; ++i) {
    for (int k = 1; k <= n && !out.flags.abortFlag; ++k) {
      const Real angle = 360.0L * k / n;
      const Real s = FollowerAtAngle(p, 2 * kPi * k / n);
      cad.CadLayer(1);
      cad.CadLine(s, 0, s + 0.4L * r.xSize, 0);
      DrawFollowerGuides(cad, p, out.messages, out.flags);
      auto frame = [&] {
        cad.CadLayer(0);
        cad.CadInsert("NOCKE", 0, 0, -angle, 1, 1);
        DrawFollower(cad, p, s);
        DrawFrameLabel(cad, p, ns, angle, s - r.sMin);
      };
      for (int times = 0; times < 3; ++times) frame();
      if (k == n && i == run.repetitions) break;
      // Painted once more in the background colour, the frame is gone.
      cad.CadPause(pause);
      cad.CadDrawMode(2);
      frame();
      cad.CadDrawMode(0);
    }
  }
  cad.CadEndSection();
  return cad.CadClose();
}

}  // namespace kamo
