// The STEP solid and contour writers and the cam commands that draw them.
#include "cad/cadsolid.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "cad/cad.h"
#include "cad/cadstl.h"
#include "cad/formats.h"
#include "core/codepage.h"
#include "core/identity.h"
#include "core/strings.h"

namespace kamo {

StepSolidWriter::StepSolidWriter(CadWriterContext ctx, bool curveOnly)
    : ctx_(std::move(ctx)), curveOnly_(curveOnly) {}

bool StepSolidWriter::ExtrusionHeight(Real& height, bool& cancelled) {
  // The same prompt and refusal as the STL solid.
  return curveOnly_ || AskExtrusionHeight(ctx_, height, cancelled);
}

void StepSolidWriter::Circle(Real x, Real y, Real r) {
  // A circle around the cam's axis is its bore.
  if (std::fabs(x) <= 1e-9L && std::fabs(y) <= 1e-9L && r > boreRadius_) boreRadius_ = r;
}

void StepSolidWriter::BeginPolyline(int /*flags*/) {
  inPolyline_ = true;
  ++polylines_;
}

void StepSolidWriter::VertexArc(Real x, Real y, Real arcAngle) {
  // The contour is the first polyline of the drawing.
  if (!inPolyline_ || polylines_ != 1) return;
  contour_.push_back({static_cast<double>(x), static_cast<double>(y), static_cast<double>(arcAngle)});
}

bool StepSolidWriter::Close(bool aborted) {
  if (aborted || !ctx_.ui) return false;
  StepFileInfo info;
  info.product = ctx_.productName;
  if (Trim(info.product).empty()) {
    std::string name = ctx_.shownName.substr(ctx_.shownName.find_last_of('/') + 1);
    info.product = Utf8ToCp850(name.substr(0, name.rfind('.')));
  }
  info.description = std::string(kProductName) + (curveOnly_ ? " cam contour" : " cam disc");
  info.fileName = ctx_.shownName;
  DateTime t = ctx_.clock ? ctx_.clock->now() : DateTime{};
  char when[40];
  std::snprintf(when, sizeof when, "%04d-%02d-%02dT%02d:%02d:%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  info.timeStamp = when;
  info.author = kProductName;
  info.system = std::string(kProductName) + " V" + kProgramVersion;
  StepBuild b = curveOnly_ ? ContourCurveStep(contour_, info)
                           : CamSolidStep(contour_, static_cast<double>(boreRadius_),
                                          static_cast<double>(z1_ - z0_), info);
  if (!b.ok) {
    ctx_.ui->showError(b.error);
    return false;
  }
  return WriteCadFile(*ctx_.ui, ctx_.fileName, b.bytes);
}

std::unique_ptr<CadWriter> MakeStepSolidWriter(CadWriterContext ctx) {
  return std::make_unique<StepSolidWriter>(std::move(ctx), false);
}
std::unique_ptr<CadWriter> MakeStepContourWriter(CadWriterContext ctx) {
  return std::make_unique<StepSolidWriter>(std::move(ctx), true);
}

bool StepCam(CadOutput& cad, CamProject& project, bool curveOnly) {
  return CamBodyOutput(cad, project, curveOnly ? CodeOf(CadOutputKind::StepContour) : CodeOf(CadOutputKind::StepSolid),
                       true, !curveOnly);
}

}  // namespace kamo
