// The IGES writer: the drawing in the fixed 80-column form (Start, Global,
// Directory Entry, Parameter Data, Terminate) with lines, arcs, filled
// quadrangles, notes, subfigures and their instances.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "cad/cadwriter.h"

namespace kamo {

// "len" + "H" + text.
std::string Hollerith(std::string_view text);
// The IGES colour of a DXF colour number (folded into 0..15).
int IgesColour(int dxfColour);
// The file-name field of the global section: without folder and extension,
// longer than 30 characters shortened to the first and last 13 around "__".
std::string IgesFileName(const std::string& path);
// Cuts one parameter piece into P record texts of at most 64 characters.
std::vector<std::string> IgesCut(std::string piece);

class IgesWriter final : public CadWriter {
 public:
  explicit IgesWriter(CadWriterContext ctx);

  bool Window(const CadPage& p) override {
    Window(p.xMin, p.yMin, p.xMax, p.yMax);
    return true;
  }
  void Window(Real xMin, Real yMin, Real xMax, Real yMax);
  void Layer(int n, int drawMode, const std::string&) override { Layer(n, drawMode); }
  void Layer(int n, int drawMode);
  void Line(Real x1, Real y1, Real x2, Real y2) override;
  void Arc(Real xc, Real yc, Real xs, Real ys, Real xe, Real ye) override;
  void Circle(Real x, Real y, Real r) override;
  void Text(std::string_view stored, Real x, Real y, const CadTextData& style) override;
  bool Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override;
  bool HasBlock(std::string_view name) const override;
  void BeginBlock(std::string_view name) override;
  void EndBlock() override;
  void Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX, Real scaleY) override;
  bool Close(bool aborted) override;

 private:
  struct Block {
    std::string name;
    int definition = 0;  // D number of its 308 entity
  };
  std::string num(Real x) const;   // coordinates
  std::string num6(Real x) const;  // angles and matrix coefficients
  void record(std::string& section, char letter, int& count, const std::string& data);
  // One entity: its pieces of parameter data and its directory fields.
  void entity(int type, const std::vector<std::string>& pieces, const std::string& matrix,
              const std::string& form = "", const std::string& label = "",
              const char* status = nullptr);

  CadWriterContext ctx_;
  std::string start_, global_, directory_, parameters_;
  int sCount_ = 0, gCount_ = 0, dCount_ = 0, pCount_ = 0;
  int deNumber_ = -1, pPointer_ = 1;
  int lineFont_ = 1, colourNo_ = 0;
  std::vector<Block> blocks_;
  bool inSubfigure_ = false;
  std::vector<int> members_;  // grows with the block: big blocks have thousands
  bool started_ = false;
};

}  // namespace kamo
