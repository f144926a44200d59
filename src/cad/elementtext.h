// The element text (output kind "TXT"): one element per line, fields
// separated by a tab, numbers fixed-point with the DXF decimals.
#pragma once
#include <string>
#include <string_view>

#include "cad/cadwriter.h"

namespace kamo {

class ElementTextWriter final : public CadWriter {
 public:
  explicit ElementTextWriter(CadWriterContext ctx) : ctx_(std::move(ctx)) {}

  std::string fileName() const override { return ctx_.fileName; }
  bool Window(const CadPage& page) override;
  void BeginBlocks() override { line("SECTION BLOCKS"); }
  void BeginEntities() override { line("SECTION ENTITIES"); }
  bool Close(bool aborted) override;

  void Line(Real x1, Real y1, Real x2, Real y2) override;
  void Circle(Real x, Real y, Real r) override;
  void ArcDeg(const CadArcData& a) override;
  void Text(std::string_view stored, Real x, Real y, const CadTextData& style) override;
  bool Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override;

  bool HasBlock(std::string_view) const override { return true; }
  void BeginBlock(std::string_view name) override { line("BLOCK\t" + std::string(name)); }
  void EndBlock() override { line("END OF BLOCK"); }
  void Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX, Real scaleY) override;

 private:
  std::string num(Real x) const;
  void line(const std::string& l);

  CadWriterContext ctx_;
  std::string text_;
};

}  // namespace kamo
