// Frames of the turning cam.
#include "graphics/animation.h"

#include <algorithm>

#include "cam/kamorech.h"
#include "core/numbers.h"
#include "graphics/follower.h"

namespace kamo {

AnimationRun ClampedRun(const AnimationRun& run) {
  AnimationRun r = run;
  r.frames = std::clamp(run.frames, kAnimationMinFrames, kAnimationMaxFrames);
  r.repetitions = std::clamp(run.repetitions, 0, kAnimationMaxRepetitions);
  r.pauseMs = std::clamp(run.pauseMs, kAnimationMinPause, kAnimationMaxPause);
  return r;
}

int AnimationFrameCount(const AnimationRun& run) {
  AnimationRun r = ClampedRun(run);
  return r.frames * r.repetitions;
}

AnimationFrame AnimationFrameAt(const CamProject& project, const AnimationRun& run, int index) {
  AnimationRun r = ClampedRun(run);
  AnimationFrame f;
  const int total = r.frames * r.repetitions;
  f.index = std::clamp(index, 0, std::max(0, total - 1));
  f.frames = r.frames;
  f.k = f.index % r.frames + 1;
  f.repetition = f.index / r.frames + 1;
  f.angleDeg = 360.0L * f.k / r.frames;
  f.s = FollowerAtAngle(project, 2 * kPi * f.k / r.frames);
  f.last = f.index >= total - 1;
  return f;
}

void DrawFrameLabel(CadOutput& cad, const CamProject& project, const NumberStyle& ns, Real angleDeg,
                    Real s) {
  const Real rMax = project.results.rMax;
  cad.CadTextStyle(0, 0, 0.05L * rMax, 0.04L * rMax);
  cad.CadMoveTo(0, -0.08L * rMax);
  cad.CadTextLine("phi = " + FormatGeneral(ns, angleDeg) + UnitAngle(ns));
  cad.CadTextLine("s = " + FormatLength(ns, s) + " " + UnitLength(ns));
}

bool DrawAnimationFrame(SheetOutput& out, const AnimationFrame& frame) {
  CadOutput& cad = out.cad;
  CamProject& p = out.project;
  if (out.flags.calcError || p.basePointCount <= 2) return false;
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
  const Real s = frame.s;
  cad.CadLayer(1);
  cad.CadLine(s, 0, s + 0.4L * r.xSize, 0);
  DrawFollowerGuides(cad, p, out.messages, out.flags);
  cad.CadLayer(0);
  cad.CadInsert("NOCKE", 0, 0, -frame.angleDeg, 1, 1);
  DrawFollower(cad, p, s);
  DrawFrameLabel(cad, p, ns, frame.angleDeg, s - r.sMin);
  cad.CadEndSection();
  return cad.CadClose();
}

bool FollowerStillPicture(SheetOutput& out) {
  if (out.flags.calcError) {
    showErrorList(out.ui, out.errorList, out.messages);
    return false;
  }
  return DrawAnimationFrame(out, AnimationFrameAt(out.project, AnimationRun{}, 0));
}

}  // namespace kamo
