// The screen (output kind "Kontrollausgabe auf Bildschirm") as a writer of
// the element interface: every element becomes a record of the display list,
// which the window, the printout and the pictures replay.
#pragma once
#include <string>
#include <string_view>

#include "cad/cadwriter.h"

namespace kamo {

class ScreenWriter final : public CadWriter {
 public:
  explicit ScreenWriter(CadWriterContext ctx) : ctx_(std::move(ctx)), list_(ctx_.display) {}

  bool Open() override;
  bool Window(const CadPage& page) override;
  void BeginEntities() override;
  bool Close(bool) override { return true; }

  void Layer(int n, int drawMode, const std::string& name) override;
  void TextStyle(int kind, Real height, Real width, Real angle) override;
  void Pause(int ms) override;
  DisplayList* displayList() const override { return list_; }

  void Line(Real x1, Real y1, Real x2, Real y2) override;
  void Circle(Real x, Real y, Real r) override;
  void ArcDeg(const CadArcData& a) override;
  void Text(std::string_view stored, Real x, Real y, const CadTextData& style) override;
  bool Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override;

 private:
  CadWriterContext ctx_;
  DisplayList* list_;  // null: nothing is recorded
};

}  // namespace kamo
