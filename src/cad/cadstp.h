// The STEP writer: the lines of a drawing as an AP214 wire frame in an
// ISO 10303-21 exchange file, closed polylines also as plane faces. The
// entities are numbered in a counting pass and written in a second one.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "cad/cadwriter.h"

namespace kamo {

// A real as the file writes it: the digits that read back as the same double,
// at least six significant ones, an exponent of at least three digits
// (12.5 -> 1.25000E+001, 1/3 -> 3.3333333333333331E-001).
std::string StepReal(Real x);
// A string parameter: apostrophes and backslashes doubled, characters
// outside printable ASCII in the \X2\ form. text is UTF-8.
std::string StepString(std::string_view text);

class StepWriter final : public CadWriter {
 public:
  explicit StepWriter(CadWriterContext ctx);

  bool Window(const CadPage& p) override {
    Window(p.xMin, p.yMin, p.xMax, p.yMax);
    return true;
  }
  void Window(Real xMin, Real yMin, Real xMax, Real yMax);
  void BeginEntities() override;
  bool PassDone() override;
  void Line(Real x1, Real y1, Real x2, Real y2) override;
  // Circles and arcs as circles and trimmed circles.
  void Arc(Real xc, Real yc, Real xs, Real ys, Real xe, Real ye) override;
  void Circle(Real x, Real y, Real r) override;
  // The wire frame (level 1) takes polylines as lines and arcs.
  bool PolylinesWanted() const override { return ctx_.stepLevel >= 2; }
  void BeginPolyline(int flags) override;
  void Vertex(Real x, Real y) override;
  void EndPolyline() override;
  bool Close(bool aborted) override;

 private:
  const std::string& shownName() const { return ctx_.shownName.empty() ? ctx_.fileName : ctx_.shownName; }
  int issue(const std::string& entity);  // numbers (and in the writing pass writes) one instance
  void plain(const std::string& text);   // a continuation line of the writing pass
  void firstItem(int kind);              // the file's shape representation before its first item
  void segment(Real x1, Real y1, Real x2, Real y2);
  void circle(Real x, Real y, Real r);  // CIRCLE and its placement
  void face();

  enum ItemKind { kLines = 1, kWires = 2, kFaces = 4 };
  CadWriterContext ctx_;
  std::string out_;
  bool writing_ = false;
  int stepNo_ = 0;
  bool anyItem_ = false;
  // Learned in the counting pass, used by the writing pass.
  std::vector<int> items_, countedItems_;
  int kinds_ = 0, countedKinds_ = 0;
  int context_ = 0, countedContext_ = 0;
  std::vector<std::string> polyRefs_, countedPolyRefs_;
  size_t polyNo_ = 0;
  // The polyline being drawn.
  bool inPolyline_ = false, faceMode_ = false;
  std::string refs_;
  std::vector<std::array<Real, 2>> vertices_;
};

}  // namespace kamo
