// Hatching of a closed boundary of straight and circular pieces by parallel
// lines (even-odd rule), drawn through the CAD element interface.
#pragma once
#include <vector>

#include "cad/cad.h"
#include "core/geometry.h"
#include "core/messages.h"

namespace kamo {

// The mapping of data units into a diagram frame.
struct FrameMap {
  Real xmin = 0, xmax = 1, ymin = 0, ymax = 1;
  Real W = 160, H = 120, X0 = 0, Y0 = 0;
  Real X(Real x) const { return (x - xmin) / (xmax - xmin) * W + X0; }
  Real Y(Real y) const { return (y - ymin) / (ymax - ymin) * H + Y0; }
};

class Hatch {
 public:
  static constexpr int kPoolSize = 2000;  // boundary points, the closing point included
  static constexpr int kMaxCuts = 100;    // cut points per hatch line

  Hatch(CadOutput& cad, MessageList& messages, Flags& flags) : cad_(cad), messages_(messages), flags_(flags) {
    pool_.reserve(kPoolSize);
  }

  void HatchBegin();
  // arcAngle: included angle (radians, positive counter-clockwise) of the arc
  // from this point to the next one; 0 for a straight edge.
  void HatchPoint(Real x, Real y, Real arcAngle);
  void HatchPointMapped(const FrameMap& map, Real x, Real y, Real arcAngle);
  // count 0 = all points; spacing 0 = automatic; angle in degrees.
  void HatchFill(int count, Real spacing, Real angle);
  void HatchFillMapped(const FrameMap& map, int count, Real spacing, Real angle);
  void HatchRect(Real x1, Real y1, Real x2, Real y2, Real spacing, Real angle);

  int count() const { return count_; }
  const std::vector<XY>& points() const { return pool_; }

 private:
  void add(Real x, Real y);

  CadOutput& cad_;
  MessageList& messages_;
  Flags& flags_;
  std::vector<XY> pool_;
  int count_ = 0;
  Real pendingArcAngle_ = 0;
};

}  // namespace kamo
