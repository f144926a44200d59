// The STEP outputs of the cam built with OpenCASCADE: the solid (the contour
// polyline and the bore circle extruded by the height) and the contour as one
// closed curve. Both writers collect the native polyline with its arcs and
// the circles, and build the file at close.
#pragma once
#include <vector>

#include "cad/cadwriter.h"
#include "cad/stepsolid.h"
#include "cam/model.h"

namespace kamo {

class CadOutput;

class StepSolidWriter final : public CadWriter {
 public:
  // curveOnly: the contour as one closed curve, no height and no bore.
  StepSolidWriter(CadWriterContext ctx, bool curveOnly);

  bool ExtrusionHeight(Real& height, bool& cancelled) override;
  void SetZ(Real z0, Real z1) override {
    z0_ = z0;
    z1_ = z1;
  }
  void Line(Real, Real, Real, Real) override {}
  void Circle(Real x, Real y, Real r) override;
  void BeginPolyline(int flags) override;
  void Vertex(Real x, Real y) override { VertexArc(x, y, 0); }
  void VertexArc(Real x, Real y, Real arcAngle) override;
  void EndPolyline() override { inPolyline_ = false; }
  bool Close(bool aborted) override;

 private:
  CadWriterContext ctx_;
  bool curveOnly_;
  Real z0_ = 0, z1_ = 0;
  bool inPolyline_ = false;
  int polylines_ = 0;
  std::vector<ProfileVertex> contour_;  // the first polyline
  Real boreRadius_ = 0;                 // the largest circle around the origin
};

std::unique_ptr<CadWriter> MakeStepSolidWriter(CadWriterContext ctx);
std::unique_ptr<CadWriter> MakeStepContourWriter(CadWriterContext ctx);

// "STEP" > "Cam solid" (curveOnly false) and "STEP" > "Kontur" (curveOnly
// true): the cam as a solid with its bore, or its contour as one closed curve.
// The prompts, the bore and the refusals are those of the STL solid. True when
// the file was written.
bool StepCam(CadOutput& cad, CamProject& project, bool curveOnly);

}  // namespace kamo
