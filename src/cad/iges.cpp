// IGES output: records, sections, entities 110, 100, 106/11, 212, 308, 408, 124.
#include "cad/iges.h"

#include <cmath>
#include <cstdio>

#include "cad/dxfwriter.h"
#include "core/codepage.h"
#include "core/identity.h"
#include "core/real.h"

namespace kamo {

std::string Hollerith(std::string_view text) {
  return std::to_string(text.size()) + "H" + std::string(text);
}

int IgesColour(int c) {
  static const int table[16] = {0, 2, 5, 3, 7, 4, 6, 0, 8, 10, 11, 12, 13, 14, 15, 1};
  c %= 16;
  if (c < 0) c += 16;
  return table[c];
}

std::string IgesFileName(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  if (name.size() > 30) name = name.substr(0, 13) + "__" + name.substr(name.size() - 13);
  return name;
}

std::vector<std::string> IgesCut(std::string rest) {
  std::vector<std::string> out;
  while (rest.size() > 64) {
    size_t comma = rest.rfind(',', 63);
    size_t take = comma == std::string::npos ? 64 : comma + 1;
    out.push_back(rest.substr(0, take));
    rest.erase(0, take);
  }
  out.push_back(rest);
  return out;
}

namespace {
std::string Field(const std::string& s) {
  std::string f = s.size() > 8 ? s.substr(0, 8) : s;
  return std::string(8 - f.size(), ' ') + f;
}
std::string Field(int n) { return Field(std::to_string(n)); }
}  // namespace

IgesWriter::IgesWriter(CadWriterContext ctx) : ctx_(std::move(ctx)) {}

std::string IgesWriter::num(Real x) const {
  int shift = ctx_.settings ? ctx_.settings->numbers.effectiveDecimals() - 3 : 0;
  return DxfFixed(x, 4 + shift);
}
std::string IgesWriter::num6(Real x) const {
  int shift = ctx_.settings ? ctx_.settings->numbers.effectiveDecimals() - 3 : 0;
  return DxfFixed(x, 6 + shift);
}

void IgesWriter::record(std::string& section, char letter, int& count, const std::string& data) {
  ++count;
  std::string d = data.size() > 72 ? data.substr(0, 72) : data;
  d.resize(72, ' ');
  char seq[16];
  std::snprintf(seq, sizeof seq, "%c%07d", letter, count % 10000000);
  section += d + seq + "\r\n";
}

void IgesWriter::Window(Real, Real, Real xMax, Real yMax) {
  start_.clear();
  global_.clear();
  directory_.clear();
  parameters_.clear();
  sCount_ = gCount_ = dCount_ = pCount_ = 0;
  deNumber_ = -1;
  pPointer_ = 1;
  blocks_.clear();
  members_.clear();
  inSubfigure_ = false;
  started_ = true;
  record(start_, 'S', sCount_, std::string("IGES-Datei generiert von ") + kProductName);
  record(start_, 'S', sCount_, "Uebersetzer von QUORTEX GMBH, Uebersetzerversion 3.1");
  record(start_, 'S', sCount_, std::string(kProductName) + " - Software fuer Kurvenscheiben");
  // The name the file has once in place (a batch run writes it elsewhere first).
  std::string name = IgesFileName(ctx_.shownName.empty() ? ctx_.fileName : ctx_.shownName);
  std::string version = std::string(kProductName) + " V" + kProgramVersion;
  record(global_, 'G', gCount_,
         ",," + Hollerith("FILE") + "," + Hollerith(name) + "," + Hollerith(version) + "," +
             Hollerith(std::string(kProductName) + " IGES 3.1") + ",");
  record(global_, 'G', gCount_, "16,38,6,99,15,");
  record(global_, 'G', gCount_, Hollerith(name) + ",1.0,2," + Hollerith("MM") + ",32767,3.2767D1,");
  DateTime t = ctx_.clock ? ctx_.clock->now() : DateTime{};
  char date[16];
  std::snprintf(date, sizeof date, "%02d%02d%02d", t.year % 100, t.month % 100, t.day % 100);
  record(global_, 'G', gCount_,
         Hollerith(std::string(date) + ".140920") + ",1.0D-8," + num(std::max(xMax, yMax)) + ",");
  record(global_, 'G', gCount_, Hollerith(kProductName) + "," + Hollerith("QUORTEX") + ",4,0;");
}

void IgesWriter::Layer(int n, int drawMode) {
  const Settings* s = ctx_.settings;
  if (n >= 0 && n <= 5 && drawMode == 0) {
    int dxf = n == 0 || !s ? 7 : s->layers[static_cast<size_t>(n - 1)].colour;
    colourNo_ = IgesColour(dxf);
    lineFont_ = n == 1 ? 4 : n == 2 ? 2 : 1;
    return;
  }
  // Layers 16..31 take their configured colour; the others one of the table.
  if (n >= 16 && n <= 31 && drawMode == 0 && s)
    colourNo_ = IgesColour(s->layerColours[static_cast<size_t>(n - 16)]);
  else
    colourNo_ = IgesColour(n % 16 + 1);
  if (drawMode == 0) lineFont_ = 1;
}

void IgesWriter::entity(int type, const std::vector<std::string>& pieces, const std::string& matrix,
                        const std::string& form, const std::string& label, const char* status) {
  if (!started_) return;
  deNumber_ += 2;
  if (inSubfigure_) members_.push_back(deNumber_);
  int count = 0;
  for (const std::string& piece : pieces) {
    for (const std::string& r : IgesCut(piece)) {
      std::string d = r;
      d.resize(64, ' ');
      record(parameters_, 'P', pCount_, d + Field(deNumber_));
      ++count;
    }
  }
  const char* st = status ? status : inSubfigure_ ? "00010000" : "00000000";
  // Structure 0: no entity defines this one's structure (a positive value is not allowed).
  record(directory_, 'D', dCount_,
         Field(type) + Field(pPointer_) + Field(0) + Field(lineFont_) + Field(colourNo_) +
             Field("") + Field(matrix) + Field("") + Field(st));
  record(directory_, 'D', dCount_,
         Field(type) + Field("") + Field(colourNo_) + Field(count) + Field(form) + Field("") +
             Field("") + Field(label) + Field(""));
  pPointer_ += count;
}

void IgesWriter::Line(Real x1, Real y1, Real x2, Real y2) {
  // A line whose ends the file cannot tell apart is no curve for a reader.
  if (num(x1) == num(x2) && num(y1) == num(y2)) return;
  entity(110, {"110," + num(x1) + "," + num(y1) + ",0.0," + num(x2) + "," + num(y2) + ",0.0;"}, "");
}

void IgesWriter::Arc(Real xc, Real yc, Real xs, Real ys, Real xe, Real ye) {
  entity(100, {"100,0.0," + num(xc) + "," + num(yc) + "," + num(xs) + "," + num(ys) + "," + num(xe) +
               "," + num(ye) + ";"},
         "0");
}

void IgesWriter::Circle(Real x, Real y, Real r) {
  if (r == 0) return;
  Arc(x, y, x + std::fabs(r), y, x + std::fabs(r), y);
}

void IgesWriter::Text(std::string_view stored, Real x, Real y, const CadTextData& style) {
  std::string text = ToCadText(ctx_.settings->numbers, stored);
  if (text.empty()) return;
  const Real height = style.height, widthFactor = style.widthFactor, angle = style.angle;
  Real len = static_cast<Real>(text.size());
  entity(212,
         {"212,1," + std::to_string(text.size()) + "," + num(len * height * widthFactor) + "," +
              num(height) + ",1,," + num6(DegToRad(angle)) +
              ",0,0," + num(x) + "," + num(y) + ",0.0,",
          Hollerith(text) + ";"},
         "0");
}

bool IgesWriter::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  entity(106,
         {"106,1,5,0.0," + num(x1) + "," + num(y1) + ",", num(x4) + "," + num(y4) + ",",
          num(x3) + "," + num(y3) + ",", num(x2) + "," + num(y2) + ",", num(x1) + "," + num(y1) + ";"},
         "0", "11");
  return true;
}

bool IgesWriter::HasBlock(std::string_view name) const {
  for (const Block& b : blocks_)
    if (b.name == name) return true;
  return false;
}

void IgesWriter::BeginBlock(std::string_view name) {
  blocks_.push_back(Block{std::string(name), 0});
  inSubfigure_ = true;
  members_.clear();
}

void IgesWriter::EndBlock() {
  if (!inSubfigure_ || blocks_.empty()) return;
  inSubfigure_ = false;
  Block& b = blocks_.back();
  b.definition = deNumber_ + 2;
  std::vector<std::string> pieces;
  pieces.push_back("308,0," + Hollerith(b.name) + "," + std::to_string(members_.size()) + ",");
  for (size_t i = 0; i < members_.size(); i += 12) {
    std::string p;
    for (size_t k = i; k < members_.size() && k < i + 12; ++k) p += std::to_string(members_[k]) + ",";
    pieces.push_back(p);
  }
  pieces.back().back() = ';';
  std::string label = b.name.size() > 8 ? b.name.substr(0, 8) : b.name;
  entity(308, pieces, "", "", label);
  members_.clear();
}

void IgesWriter::Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX,
                        Real scaleY) {
  int definition = 0;
  bool found = false;
  for (const Block& b : blocks_)
    if (b.name == name) {
      definition = b.definition;
      found = true;
      break;
    }
  if (!found && ctx_.messages) ctx_.messages->add("Blockname " + std::string(name) + " not found !");
  // One scale goes into the instance; unequal scales need the matrix.
  bool uniform = scaleX == scaleY;
  if (angle == 0 && uniform) {
    entity(408, {"408," + std::to_string(definition) + "," + num(x) + "," + num(y) + ",0.0," +
                 num6(scaleX) + ";"},
           "");
    return;
  }
  Real a = DegToRad(angle);
  Real c = std::cos(a), s = std::sin(a);
  Real mx = uniform ? 1 : scaleX, my = uniform ? 1 : scaleY;
  entity(124,
         {"124," + num6(c * mx) + "," + num6(-s * my) + ",0.0," + num(x) + ",",
          num6(s * mx) + "," + num6(c * my) + ",0.0," + num(y) + ",", "0.0,0.0,1.0,0.0;"},
         "", "0", "", "00010000");
  int matrix = deNumber_;
  entity(408, {"408," + std::to_string(definition) + ",0.0,0.0,0.0," + num6(uniform ? scaleX : 1) + ";"},
         std::to_string(matrix));
}

bool IgesWriter::Close(bool aborted) {
  if (aborted || !ctx_.ui) return false;
  if (!started_) Window(0, 0, 0, 0);
  std::string terminate;
  char t[80];
  std::snprintf(t, sizeof t, "S%07dG%07dD%07dP%07d", sCount_, gCount_, dCount_, pCount_);
  int one = 0;
  record(terminate, 'T', one, t);
  std::string out = start_ + global_ + directory_ + parameters_ + terminate;
  start_.clear();
  global_.clear();
  directory_.clear();
  parameters_.clear();
  return WriteCadFile(*ctx_.ui, ctx_.fileName, out);
}

}  // namespace kamo
