// Import of a cam contour from a DXF drawing: the lines, arcs, circles and
// polylines are chained into closed loops, the loop around the origin becomes
// the coordinate points (x, y, arc angle) or the polar points (phi, r).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "cad/dxfreader.h"
#include "cam/model.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/ui.h"

namespace kamo {

// One piece of a contour: from a to b, straight (g = 0) or an arc with the
// included angle g (radians, positive counter-clockwise).
struct ContourPiece {
  Real ax = 0, ay = 0, bx = 0, by = 0, g = 0;
};

// The closed, counter-clockwise loop around the origin, starting at the
// point of the smallest polar angle. False with a message (CP850) when the
// drawing holds no such loop or more than one.
bool DxfContourLoop(const DxfReadResult& dxf, std::vector<ContourPiece>& loop, std::string& message);

// Base points 1..n+1 (the last repeats the first) with the arc angles; index
// 0 is the lead-in point. False when more points than the list holds.
bool LoopToBasePoints(const std::vector<ContourPiece>& loop, std::vector<ContourPoint>& points,
                      int& count, std::string& message);
// Polar points 1..n sorted by angle in [0, 2pi): the corners of a polygon
// that the rays from the origin meet once, else the radius sampled at
// `samples` (at most 1000) equal angles.
bool LoopToPolarPoints(const std::vector<ContourPiece>& loop, std::vector<PolarPoint>& points,
                       int& count, std::string& message, int samples = 1000);

// Reads the DXF file and fills the point list of the curve type (5 base
// points, 10 polar points) of project. Nothing changes on failure.
bool ImportDxfFile(const std::string& path, int kind, CamProject& project, std::string& message);

struct DxfImportContext {
  CamProject& project;
  Ui& ui;
  Flags& flags;
  const Settings& settings;
  // Main window: the save question of a command that replaces the project;
  // false when the user cancelled.
  std::function<bool()> saveQuestion;
  // Point table: writes the project file first when it has a name; false
  // when that failed.
  std::function<bool()> writeProject;
  std::string directory;  // where the open dialog starts
};

// File > "Import DXF r(phi)" (kind 10) and "import dxf x,y,phi" (kind 5).
bool ImportDxfContour(DxfImportContext& ctx, int kind);
// "Import DXF" of the point tables (kind 5 coordinate points, 10 polar points).
bool ImportDxfIntoTable(DxfImportContext& ctx, int kind);

}  // namespace kamo
