// The DXF writer: classic two-line ASCII groups (HEADER, TABLES, BLOCKS,
// ENTITIES, EOF), collected in memory and written out by the CAD output.
#pragma once
#include <string>
#include <string_view>

#include "core/real.h"
#include "core/settings.h"

namespace kamo {

// A real with exactly `decimals` decimals, a point, no exponent.
std::string DxfFixed(Real x, int decimals);
// The number a reader takes DxfFixed(x, decimals) for, without the text.
Real DxfFixedValue(Real x, int decimals);
// The short form of text-style values: "0" below 1e-5, else about three
// significant digits without trailing zeros.
std::string DxfShort(Real x);

// The paper a sheet is drawn on at 1:1 (mm); 0 x 0 when the drawing has none.
struct DxfPaper {
  Real width = 0, height = 0;
};

// The handle after the last table record: every file has fewer records.
inline constexpr int kDxfHandleSeed = 0x1B;

// The code page of the texts for the CAD text type (1 DOS, otherwise Windows).
const char* DxfCodePage(int cadTextType);

class DxfWriter {
 public:
  explicit DxfWriter(const Settings& s) : settings_(s) {}

  const std::string& text() const { return out_; }
  std::string take() { return std::move(out_); }
  void clear() { out_.clear(); }

  // The current layer name of the entity groups.
  void setLayerName(std::string name) { layer_ = std::move(name); }
  const std::string& layerName() const { return layer_; }

  void group(int code, std::string_view value);
  void groupReal(int code, Real x);
  void record(const char* type);  // a table record: its type and its handle

  // Release 12 header: version, code page, extents, limits, the paper's
  // limits when there is one, line type scale and the next free handle.
  void Header(Real xMin, Real yMin, Real xMax, Real yMax, DxfPaper paper = {});
  // Tables; each record carries a handle (1, 2, ...), for readers that need them.
  void Tables(int mode);
  void BeginBlocks();
  void Block(std::string_view name);
  void EndBlock();
  void EndSection();
  void BeginEntities();
  void Line(Real x1, Real y1, Real x2, Real y2);
  void Circle(Real x, Real y, Real r);
  // Angles in degrees. A clockwise arc (sweep < 0) is written in the object
  // coordinate system of the extrusion -Z (centre x and angles mirrored), so
  // every reader draws it where it is, and 230 carries the signed sweep.
  void Arc(Real x, Real y, Real a1, Real a2, Real r, Real sweep);
  // text is written as given (already converted for the file).
  void Text(std::string_view text, Real x, Real y, Real height, Real widthFactor, Real angle,
            Real oblique);
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
  void Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX, Real scaleY);
  void Polyline(int flags);
  // arcAngle: included angle (radians) of the arc to the next vertex.
  void Vertex(Real x, Real y, Real arcAngle);
  void SeqEnd();
  void End();

 private:
  void code(int code);  // the group code line

  const Settings& settings_;
  std::string out_;
  std::string layer_ = "0";
  int handle_ = 0;
};

}  // namespace kamo
