// The one element interface behind the CAD output: every output (DXF, the
// plot hand-off, element text, the screen's display list, the block files,
// IGES, STEP, STL) is one writer class with these operations. Coordinates are
// world coordinates (drawing offset and insert transform already applied),
// angles in degrees; texts arrive in the stored code page, and each writer
// converts them for its file. What a writer does not draw itself the CAD
// output breaks down (see FormatNative in cad/formats.h).
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/messages.h"
#include "core/real.h"
#include "core/settings.h"
#include "core/ui.h"

namespace kamo {

class DisplayList;
class PlotHandOff;

struct CadWriterContext {
  Ui* ui = nullptr;
  const Settings* settings = nullptr;
  MessageList* messages = nullptr;
  const Clock* clock = nullptr;
  std::string fileName;      // the file to write (full path); the plot writer names its own
  std::string shownName;     // the file as its header names it: where it ends up (full path)
  int stepLevel = 1;         // STEP: 1 wire frame, 2 closed polylines as faces, 3 all as faces
  bool closedSolid = false;  // STL: a closed solid with top and bottom instead of walls only
  DisplayList* display = nullptr;  // the screen records here
  PlotHandOff* plot = nullptr;     // the plot program's command line and start
  std::string tempDir;             // the plot file and the block files live here
  bool batch = false;              // no dialogs, no programs started
  std::string layerName = "0";     // the current layer's name at the start
  std::string productName;         // STEP solid: the product's name, CP850 (the drawing name)
};

// The page of a drawing as the header states it: extents and the paper of a
// sheet drawn at 1:1 (mm; 0 x 0 when there is none).
struct CadPage {
  Real xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  Real paperWidth = 0, paperHeight = 0;
};

// An arc: centre, radius, start and end angle; sweep is the signed sweep
// (negative clockwise), 0 when the arc runs counter-clockwise from a1 to a2
// without one.
struct CadArcData {
  Real x = 0, y = 0, r = 0, a1 = 0, a2 = 0, sweep = 0;
};

// The text style of one text.
struct CadTextData {
  Real height = 0, widthFactor = 1, angle = 0, oblique = 0;
};

class CadWriter {
 public:
  virtual ~CadWriter() = default;

  // ---- structure
  // After creation; false (the output is cancelled) when the writer cannot begin.
  virtual bool Open() { return true; }
  // The file this writer writes (empty for none).
  virtual std::string fileName() const { return {}; }
  // The extrusion height of the drawing; a writer that asks the user for it
  // sets cancelled when the user keeps the default. False: the output cannot go on.
  virtual bool ExtrusionHeight(Real& /*height*/, bool& /*cancelled*/) { return true; }
  // False: the drawing cannot be shown (the output is aborted).
  virtual bool Window(const CadPage& /*page*/) { return true; }
  virtual void Tables(int /*mode*/) {}
  virtual void BeginBlocks() {}
  virtual void EndSection() {}
  virtual void BeginEntities() {}
  // False while the writer needs another pass over the same entities.
  virtual bool PassDone() { return true; }
  virtual void SetZ(Real /*z0*/, Real /*z1*/) {}
  // Writes the file (nothing when aborted); false when it was not written.
  virtual bool Close(bool aborted) = 0;

  // ---- settings
  // n already folded to 0..31; drawMode 0 normal, 2 erase; name as written to DXF.
  virtual void Layer(int /*n*/, int /*drawMode*/, const std::string& /*name*/) {}
  // The font of the screen (kind, height, width, angle as the caller gave them).
  virtual void TextStyle(int /*kind*/, Real /*height*/, Real /*width*/, Real /*angle*/) {}
  virtual void Pause(int /*ms*/) {}
  // The display list this writer records into (the screen); null for a file.
  virtual DisplayList* displayList() const { return nullptr; }

  // ---- elements
  virtual void Line(Real x1, Real y1, Real x2, Real y2) = 0;
  virtual void Circle(Real /*x*/, Real /*y*/, Real /*r*/) {}
  // By default the arc goes to the end-point form below, counter-clockwise.
  virtual void ArcDeg(const CadArcData& a);
  // Counter-clockwise arc around (xc, yc) from the start to the end point.
  virtual void Arc(Real /*xc*/, Real /*yc*/, Real /*xs*/, Real /*ys*/, Real /*xe*/, Real /*ye*/) {}
  // The text in the stored code page; each writer converts it for its file.
  virtual void Text(std::string_view /*stored*/, Real /*x*/, Real /*y*/, const CadTextData& /*style*/) {}
  // kNativeSolids; false: the CAD output sends the quadrangle's four edges as lines.
  virtual bool Solid(Real /*x1*/, Real /*y1*/, Real /*x2*/, Real /*y2*/, Real /*x3*/, Real /*y3*/,
                     Real /*x4*/, Real /*y4*/) {
    return false;
  }

  // ---- blocks (writers with kNativeBlocks; the others get blocks replayed)
  // Whether an insert of this block is written as such (else it is replayed).
  virtual bool HasBlock(std::string_view /*name*/) const { return false; }
  virtual void BeginBlock(std::string_view /*name*/) {}
  virtual void EndBlock() {}
  virtual void Insert(std::string_view /*name*/, Real /*x*/, Real /*y*/, Real /*angle*/,
                      Real /*scaleX*/, Real /*scaleY*/) {}

  // ---- polylines (writers with kNativePolylines; the others get lines and arcs)
  // False: even a writer of polylines gets lines and arcs in this output (the
  // wire frame of STEP); the block files of the output then do the same.
  virtual bool PolylinesWanted() const { return true; }
  virtual void BeginPolyline(int /*flags*/) {}
  virtual void Vertex(Real /*x*/, Real /*y*/) {}
  // kNativeBulges: the vertex carries the included angle (radians) of the arc to the next one.
  virtual void VertexArc(Real x, Real y, Real /*arcAngle*/) { Vertex(x, y); }
  virtual void EndPolyline() {}
};

// Writes bytes to path safely (temporary file, rename); false when it failed.
bool WriteCadFile(Ui& ui, const std::string& path, std::string_view bytes);

}  // namespace kamo
