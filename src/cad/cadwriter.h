// The file writers behind the CAD output that are not DXF (IGES, STEP, STL):
// one interface with the element operations in world coordinates (drawing
// offset and insert transform already applied, angles in degrees).
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

struct CadWriterContext {
  Ui* ui = nullptr;
  const Settings* settings = nullptr;
  MessageList* messages = nullptr;
  const Clock* clock = nullptr;
  std::string fileName;      // the file to write (full path)
  std::string shownName;     // the file as its header names it: where it ends up (full path)
  int stepLevel = 1;         // STEP: 1 wire frame, 2 closed polylines as faces, 3 all as faces
  bool closedSolid = false;  // STL: a closed solid with top and bottom instead of walls only
};

class CadWriter {
 public:
  virtual ~CadWriter() = default;

  virtual void Window(Real /*xMin*/, Real /*yMin*/, Real /*xMax*/, Real /*yMax*/) {}
  virtual void SetZ(Real /*z0*/, Real /*z1*/) {}
  // n already folded to 0..31; drawMode 0 normal, 2 erase.
  virtual void Layer(int /*n*/, int /*drawMode*/) {}
  virtual void BeginEntities() {}
  // False while the writer needs another pass over the same entities.
  virtual bool PassDone() { return true; }

  virtual void Line(Real x1, Real y1, Real x2, Real y2) = 0;
  // Circles and arcs reach writers that have them; the others get them as lines.
  virtual bool SegmentsArcs() const { return false; }
  // Counter-clockwise arc around (xc, yc) from the start to the end point.
  virtual void Arc(Real /*xc*/, Real /*yc*/, Real /*xs*/, Real /*ys*/, Real /*xe*/, Real /*ye*/) {}
  virtual void Circle(Real /*x*/, Real /*y*/, Real /*r*/) {}
  // text already converted for the file; angle in degrees.
  virtual void Text(std::string_view /*text*/, Real /*x*/, Real /*y*/, Real /*height*/,
                    Real /*widthFactor*/, Real /*angle*/) {}
  // False: the CAD output sends the quadrangle's four edges as lines.
  virtual bool Solid(Real /*x1*/, Real /*y1*/, Real /*x2*/, Real /*y2*/, Real /*x3*/, Real /*y3*/,
                     Real /*x4*/, Real /*y4*/) {
    return false;
  }

  // Writers with their own block syntax; the others get blocks replayed.
  virtual bool HasBlocks() const { return false; }
  // Whether an insert of this block is written as such (else it is replayed).
  virtual bool HasBlock(std::string_view /*name*/) const { return false; }
  virtual void BeginBlock(std::string_view /*name*/) {}
  virtual void EndBlock() {}
  virtual void Insert(std::string_view /*name*/, Real /*x*/, Real /*y*/, Real /*angle*/,
                      Real /*scaleX*/, Real /*scaleY*/) {}

  // Writers that take polylines as such; the others get them as lines and arcs.
  virtual bool NativePolylines() const { return false; }
  virtual void BeginPolyline(int /*flags*/) {}
  virtual void Vertex(Real /*x*/, Real /*y*/) {}
  virtual void EndPolyline() {}

  // Writes the file (nothing when aborted); false when it was not written.
  virtual bool Close(bool aborted) = 0;
};

// Writes bytes to path safely (temporary file, rename); false when it failed.
bool WriteCadFile(Ui& ui, const std::string& path, std::string_view bytes);

}  // namespace kamo
