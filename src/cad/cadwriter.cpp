// The factories of the file writers in the format table, and the safe file write they share.
#include "cad/cadwriter.h"

#include <cmath>
#include <utility>

#include "cad/formats.h"
#include "cad/cadstl.h"
#include "cad/cadstp.h"
#include "cad/dxffile.h"
#include "cad/elementtext.h"
#include "cad/iges.h"
#include "cad/plot.h"
#include "cad/screenwriter.h"
#include "core/codepage.h"
#include "core/textfile.h"

namespace kamo {

std::unique_ptr<CadWriter> MakeDxfWriter(CadWriterContext ctx) {
  return std::make_unique<DxfFileWriter>(std::move(ctx));
}
std::unique_ptr<CadWriter> MakeScreenWriter(CadWriterContext ctx) {
  return std::make_unique<ScreenWriter>(std::move(ctx));
}
std::unique_ptr<CadWriter> MakePlotWriter(CadWriterContext ctx) {
  return std::make_unique<PlotWriter>(std::move(ctx));
}
std::unique_ptr<CadWriter> MakeTextWriter(CadWriterContext ctx) {
  return std::make_unique<ElementTextWriter>(std::move(ctx));
}
std::unique_ptr<CadWriter> MakeIgesWriter(CadWriterContext ctx) {
  return std::make_unique<IgesWriter>(std::move(ctx));
}
std::unique_ptr<CadWriter> MakeStlWriter(CadWriterContext ctx) {
  return std::make_unique<StlWriter>(std::move(ctx));
}
std::unique_ptr<CadWriter> MakeStepWriter(CadWriterContext ctx) {
  return std::make_unique<StepWriter>(std::move(ctx));
}

void CadWriter::ArcDeg(const CadArcData& a) {
  // Counter-clockwise: a clockwise arc swaps its ends.
  Real xs = a.x + a.r * std::cos(DegToRad(a.a1)), ys = a.y + a.r * std::sin(DegToRad(a.a1));
  Real xe = a.x + a.r * std::cos(DegToRad(a.a2)), ye = a.y + a.r * std::sin(DegToRad(a.a2));
  if (a.sweep < 0) {
    std::swap(xs, xe);
    std::swap(ys, ye);
  }
  Arc(a.x, a.y, xs, ys, xe, ye);
}

bool WriteCadFile(Ui& ui, const std::string& path, std::string_view bytes) {
  if (path.empty()) {
    ui.showError("invalid File name");
    ui.flags().abortFlag = true;
    return false;
  }
  TextFileWriter w(ui);
  w.protect(&ui.state().keepFiles);
  if (!w.create(path)) return false;
  w.write(bytes);
  return w.close();
}

}  // namespace kamo
