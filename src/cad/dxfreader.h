// The DXF entity reader: ASCII group pairs to lines, arcs, circles, texts,
// solids, inserts and polylines. Shared by the block replay and the import.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/real.h"

namespace kamo {

struct DxfVertex {
  Real x = 0, y = 0, bulge = 0;
  std::string layer;
};

struct DxfEntity {
  enum class Type { Line, Circle, Arc, Text, Solid, Insert, Polyline };
  Type type = Type::Line;
  std::string layer = "0";
  Real x[4] = {0, 0, 0, 0}, y[4] = {0, 0, 0, 0};
  Real r = 0;
  Real a1 = 0, a2 = 0;   // ARC, degrees, counter-clockwise seen from +Z after mirroring
  Real sweep = 0;        // ARC: signed sweep in degrees (negative clockwise)
  Real height = 3.5, widthFactor = 1, angle = 0;  // TEXT; angle also INSERT
  Real scaleX = 1, scaleY = 1;                    // INSERT
  std::string text;      // TEXT text or INSERT block name
  bool closed = false;   // POLYLINE / LWPOLYLINE closed flag
  std::vector<DxfVertex> vertices;
  int line = 0;          // line number of the entity name
};

struct DxfReadOptions {
  // The block replay stops at the first entity it does not know; the import
  // skips texts, dimensions, hatches and the like.
  bool stopAtUnknown = false;
  int maxVertices = 100000;
};

struct DxfReadResult {
  std::vector<DxfEntity> entities;
  // Fatal problems: the file cannot be taken as a whole (CP850 text).
  std::string error;
  // "Fehler : DXF: " + name of the entity where the replay stopped.
  std::string unknownEntity;
  bool polylineWithoutVertex = false;  // "Error in DXF File"
  bool tooManyVertices = false;        // "Elements > 100000 !"
  bool sawEof = false;
  int badNumberLine = 0;               // first value that was not a number (taken as 0)
};

DxfReadResult ReadDxf(std::string_view text, const DxfReadOptions& options = {});

// The sweep of an ARC from its angles and the extrusion sign.
Real DxfArcSweep(Real a1, Real a2, Real z);
// What the reader does with an ARC or CIRCLE once its groups are read: the
// mirror of the extrusion z < 0 undone, the angles in 0..360, the sweep.
void DxfFinishExtrusion(DxfEntity& e, Real z);
// A group value as a number; false (x = 0) when it is none.
bool DxfNumber(std::string_view value, Real& x);
// The number the reader takes a group value for (0 for none).
Real DxfReal(std::string_view value);
// A group value without the blanks and tabs around it (and a final CR).
std::string_view DxfTrim(std::string_view s);

}  // namespace kamo
