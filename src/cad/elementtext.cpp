// The element text writer.
#include "cad/elementtext.h"

#include "cad/dxfwriter.h"
#include "core/codepage.h"
#include "core/geometry.h"
#include "core/strings.h"
#include "core/textfile.h"

namespace kamo {

std::string ElementTextWriter::num(Real x) const {
  std::string s = DxfFixed(x, ctx_.settings->cadDecimals);
  if (ctx_.settings->outputSeparator == 2) s = PointToComma(s);
  return s;
}

void ElementTextWriter::line(const std::string& l) {
  text_ += l;
  text_ += "\r\n";
}

bool ElementTextWriter::Window(const CadPage& p) {
  line("MINMAX\t" + num(p.xMin) + "\t" + num(p.yMin) + "\t" + num(p.xMax) + "\t" + num(p.yMax));
  return true;
}

void ElementTextWriter::Line(Real x1, Real y1, Real x2, Real y2) {
  line("LINE\t" + num(x1) + "\t" + num(y1) + "\t" + num(x2) + "\t" + num(y2));
}

void ElementTextWriter::Circle(Real x, Real y, Real r) {
  line("CIRCLE\t" + num(x) + "\t" + num(y) + "\t" + num(r));
}

void ElementTextWriter::ArcDeg(const CadArcData& a) {
  bool full = SameValue(a.a1, a.a2) || (SameValue(a.a1, 0) && SameValue(a.a2, 360)) ||
              (SameValue(a.a1, 360) && SameValue(a.a2, 0));
  if (full) Circle(a.x, a.y, a.r);
  else line("ARC\t" + num(a.x) + "\t" + num(a.y) + "\t" + num(a.r) + "\t" + num(a.a1) + "\t" + num(a.a2));
}

void ElementTextWriter::Text(std::string_view stored, Real x, Real y, const CadTextData&) {
  line("TEXT\t" + num(x) + "\t" + num(y) + "\t" + ToCadText(ctx_.settings->numbers, stored));
}

bool ElementTextWriter::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  line("SOLID\t" + num(x1) + "\t" + num(y1) + "\t" + num(x2) + "\t" + num(y2) + "\t" + num(x3) + "\t" +
       num(y3) + "\t" + num(x4) + "\t" + num(y4));
  return true;
}

void ElementTextWriter::Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX,
                               Real scaleY) {
  line("INSERT\t" + std::string(name) + "\t" + num(x) + "\t" + num(y) + "\t" + num(angle) + "\t" +
       num(scaleX) + "\t" + num(scaleY));
}

bool ElementTextWriter::Close(bool aborted) {
  line("EOF");
  // An aborted output leaves an existing file as it was.
  if (aborted) return false;
  Ui& ui = *ctx_.ui;
  TextFileWriter w(ui);
  w.protect(&ui.state().keepFiles);
  if (!w.create(ctx_.fileName)) return false;
  w.write(text_);
  return w.close();
}

}  // namespace kamo
