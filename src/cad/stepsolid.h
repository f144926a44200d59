// The cam as a B-rep solid in STEP, and the contour as one closed curve in
// STEP, both built and written with OpenCASCADE. The contour is a closed
// chain of vertices; an arc angle on a vertex makes the piece to the next one
// a circular arc, else it is straight. Contours of straight pieces only (the
// points computed from r(phi)) become one B-spline of degree 1 through the
// points, so that the side of the solid is one face; contours with arcs keep
// every piece exact (planes and cylinders).
#pragma once
#include <span>
#include <string>

namespace kamo {

struct ProfileVertex {
  double x = 0, y = 0;
  double arc = 0;  // included angle (radians, counter-clockwise positive) of the arc to the next vertex
};

// What the header and the product of the file say.
struct StepFileInfo {
  std::string product;    // the product's name, CP850 (the drawing name)
  std::string description;  // FILE_DESCRIPTION (UTF-8)
  std::string fileName;   // FILE_NAME: the file where it ends up (UTF-8, as paths are)
  std::string timeStamp;  // FILE_NAME: "YYYY-MM-DDTHH:MM:SS"
  std::string author;     // FILE_NAME: the author (UTF-8)
  std::string system;     // FILE_NAME: the originating system (UTF-8)
};

struct StepBuild {
  bool ok = false;
  std::string bytes;  // the ISO 10303-21 file
  std::string error;  // CP850 message when it failed
  double volume = 0;  // of the solid (mm^3), as OpenCASCADE measured it before writing
  int faces = 0;      // of the solid
};

// The contour extruded from z = 0 to z = height, with a cylindrical bore of
// boreRadius around the origin (none when 0), as one MANIFOLD_SOLID_BREP
// under AP214, millimetres, uncertainty 1E-6 mm.
StepBuild CamSolidStep(std::span<const ProfileVertex> contour, double boreRadius, double height,
                       const StepFileInfo& info);

// The contour in the plane z = 0 as one COMPOSITE_CURVE inside a
// GEOMETRIC_CURVE_SET, so that it reads as one closed wire.
StepBuild ContourCurveStep(std::span<const ProfileVertex> contour, const StepFileInfo& info);

}  // namespace kamo
