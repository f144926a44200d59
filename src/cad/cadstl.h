// The STL writer: every line of a drawing extruded into a wall of two facets
// (ASCII or binary), or a closed solid with triangulated top and bottom; and
// the cam commands "STL" > "Cam" and "STL" > "Cam solid".
#pragma once
#include <array>
#include <string>
#include <vector>

#include "cad/cadwriter.h"
#include "cam/model.h"

namespace kamo {

class CadOutput;

inline constexpr const char* kStlSolidName = "QUORSOLID";
inline constexpr const char* kStlHeaderText = "STL binary file created by QUORTEX Software";

// An ASCII STL number: three significant digits, exponent of at least two
// digits, decimal point (12.5 -> 1.25E+01). The closed solid writes 8
// decimals, the float's full precision, so that its edges still meet.
std::string StlNumber(Real x, int decimals = 2);

struct StlPoint {
  double x = 0, y = 0;
};
// Triangles (indices into the points of outer, then of each hole, in order)
// covering the region inside outer and outside the holes. outer must run
// counter-clockwise, the holes clockwise.
std::vector<std::array<int, 3>> TriangulateRegion(const std::vector<StlPoint>& outer,
                                                  const std::vector<std::vector<StlPoint>>& holes);

// The height of an extruded body: asked (not in batch), 0 refused with a box.
// A cancelled prompt keeps height and sets cancelled.
bool AskExtrusionHeight(const CadWriterContext& ctx, Real& height, bool& cancelled);

class StlWriter final : public CadWriter {
 public:
  explicit StlWriter(CadWriterContext ctx);

  void SetZ(Real z0, Real z1) override {
    z0_ = z0;
    z1_ = z1;
  }
  bool ExtrusionHeight(Real& height, bool& cancelled) override;
  void Line(Real x1, Real y1, Real x2, Real y2) override;
  bool Close(bool aborted) override;

  long facetCount() const { return facetCount_; }

 private:
  using V3 = std::array<float, 3>;
  void facet(const V3& n, const V3& a, const V3& b, const V3& c);
  void closedSolid();

  CadWriterContext ctx_;
  bool ascii_ = false;
  Real z0_ = 0, z1_ = 0;
  long facetCount_ = 0;
  std::string body_;  // ASCII facets, or binary records with their attribute bytes
  std::vector<std::array<Real, 4>> lines_;  // closed solid: the lines, drawn at close
};

// "STL" > "Cam" (closed false: the side walls) and "STL" > "Cam solid"
// (closed true): the contour and the bore extruded by the cam width.
// Interactively the height and the bore diameter are asked; a batch run uses
// the cam width and the stored bore (1 % of the cam's x extent when 0, for
// this file only). True when the file was written.
bool StlCam(CadOutput& cad, CamProject& project, bool closed);

// The cam body drawn for the output kind code (STL or the STEP solid and
// contour): height and bore prompts, the refusals of bodies that cannot
// exist, the contour polyline and (withBore) the bore circle.
bool CamBodyOutput(CadOutput& cad, CamProject& project, int code, bool closed, bool withBore);

}  // namespace kamo
