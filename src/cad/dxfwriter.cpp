// DXF groups as the CAD output writes them.
#include "cad/dxfwriter.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <string_view>

#include "cad/dxfreader.h"
#include "core/numbers.h"
#include "core/strings.h"

namespace kamo {

namespace {
// x rounded to `decimals` decimals as an integer count of 10^-decimals,
// rounded as the exact decimal expansion of x is (to nearest, ties to even),
// not as the rounded product; false when it would not fit.
bool FixedCount(Real x, int decimals, long long& k) {
  const Real scale = ExactPow10(decimals);
  const Real y = x * scale;
  if (!(std::fabs(y) < 4e18L)) return false;
  k = std::llround(y);
  // y - k is exact. Unless the rounded product lies halfway, the rounding
  // error of the product (at most half a unit of y) cannot carry the exact
  // product across a half; halfway, its sign decides, and without one the
  // even neighbour wins.
  const Real r = y - static_cast<Real>(k);
  if (r != 0.5L && r != -0.5L) return true;
  const Real e = std::fma(x, scale, -y);  // x * scale - y, exactly
  if (r == -0.5L && (e < 0 || (e == 0 && (k & 1) != 0))) --k;
  if (r == 0.5L && (e > 0 || (e == 0 && (k & 1) != 0))) ++k;
  return true;
}

// Appends the fixed form of x to out.
void AppendFixed(std::string& out, Real x, int decimals) {
  if (!std::isfinite(x)) x = 0;
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  long long k = 0;
  if (FixedCount(x, decimals, k)) {
    // The digits of |k| with the point before the last `decimals`; "-0.000" is zero.
    char digits[24];
    auto r = std::to_chars(digits, digits + sizeof digits, k < 0 ? -k : k);
    std::string_view d(digits, static_cast<size_t>(r.ptr - digits));
    const size_t places = static_cast<size_t>(decimals);
    if (k < 0) out += '-';
    if (d.size() <= places) {
      out += "0.";
      out.append(places - d.size(), '0');
      out += d;
    } else {
      out.append(d.substr(0, d.size() - places));
      if (places > 0) {
        out += '.';
        out.append(d.substr(d.size() - places));
      }
    }
    return;
  }
  char buf[128];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) {
    out += '0';
    return;
  }
  std::string_view t(buf, static_cast<size_t>(r.ptr - buf));
  // "-0.000" is zero.
  if (t[0] == '-' && t.find_first_not_of("-0.") == std::string_view::npos) t.remove_prefix(1);
  out += t;
}
}  // namespace

std::string DxfFixed(Real x, int decimals) {
  std::string s;
  AppendFixed(s, x, decimals);
  return s;
}

Real DxfFixedValue(Real x, int decimals) {
  if (!std::isfinite(x)) return 0;
  decimals = std::clamp(decimals, 0, 18);
  long long k = 0;
  // The digits of k and an exact power of ten: the one rounding of the
  // reader's quotient (k has at most 19 digits).
  if (FixedCount(x, decimals, k))
    return k == 0 ? 0 : k < 0 ? -(static_cast<Real>(-k) / ExactPow10(decimals)) : static_cast<Real>(k) / ExactPow10(decimals);
  return DxfReal(DxfFixed(x, decimals));
}

std::string DxfShort(Real x) {
  if (!std::isfinite(x) || std::fabs(x) < 1e-5L) return "0";
  int digits = 3;
  Real a = std::fabs(x);
  while (a >= 1000 && digits < 18) {
    a /= 10;
    ++digits;
  }
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(x), std::chars_format::general, digits);
  return std::string(buf, r.ptr);
}

namespace {
std::string Hex(int n) {
  char buf[16];
  auto r = std::to_chars(buf, buf + sizeof buf, n, 16);
  std::string s(buf, r.ptr);
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}
}  // namespace

void DxfWriter::record(const char* type) {
  group(0, type);
  group(5, Hex(++handle_));
}

void DxfWriter::code(int code) {
  char c[16];
  auto r = std::to_chars(c, c + sizeof c, code);
  const size_t n = static_cast<size_t>(r.ptr - c);
  if (n < 3) out_.append(3 - n, ' ');
  out_.append(c, n);
  out_ += "\r\n";
}

void DxfWriter::group(int code, std::string_view value) {
  this->code(code);
  out_ += value;
  out_ += "\r\n";
}

void DxfWriter::groupReal(int code, Real x) {
  this->code(code);
  AppendFixed(out_, x, settings_.cadDecimals);
  out_ += "\r\n";
}

const char* DxfCodePage(int cadTextType) { return cadTextType == 1 ? "DOS850" : "ANSI_1252"; }

void DxfWriter::Header(Real xMin, Real yMin, Real xMax, Real yMax, DxfPaper paper) {
  group(0, "SECTION");
  group(2, "HEADER");
  group(9, "$ACADVER");
  group(1, "AC1009");
  group(9, "$DWGCODEPAGE");
  group(3, DxfCodePage(settings_.numbers.cadTextType));
  group(9, "$EXTMIN");
  groupReal(10, xMin);
  groupReal(20, yMin);
  group(9, "$EXTMAX");
  groupReal(10, xMax);
  groupReal(20, yMax);
  group(9, "$LIMMIN");
  groupReal(10, xMin);
  groupReal(20, yMin);
  group(9, "$LIMMAX");
  groupReal(10, xMax);
  groupReal(20, yMax);
  if (paper.width > 0 && paper.height > 0) {
    group(9, "$PLIMMIN");
    groupReal(10, 0);
    groupReal(20, 0);
    group(9, "$PLIMMAX");
    groupReal(10, paper.width);
    groupReal(20, paper.height);
  }
  group(9, "$LTSCALE");
  group(40, "15");
  group(9, "$HANDSEED");
  group(5, Hex(kDxfHandleSeed));
  group(0, "ENDSEC");
}

void DxfWriter::Tables(int mode) {
  group(0, "SECTION");
  group(2, "TABLES");
  group(0, "TABLE");
  group(2, "LTYPE");
  group(70, mode == 1 ? "17" : mode == 2 ? "23" : "6");
  handle_ = 0;
  struct LineType {
    const char* name;
    const char* description;
    const char* count;
    const char* length;
    std::initializer_list<const char*> dashes;
  };
  const LineType types[] = {
      {"CONTINUOUS", "Ausgezogene Linie", "0", "0.0", {}},
      {"DASHDOT", "--. --. --.-", "4", "1.0", {"0.5", "-0.25", "0.0", "-0.25"}},
      {"DASHED", "- - - - - - ", "2", "0.375", {"0.25", "-0.125"}},
  };
  for (const LineType& t : types) {
    record("LTYPE");
    group(2, t.name);
    group(70, "64");
    group(3, t.description);
    group(72, "65");
    group(73, t.count);
    group(40, t.length);
    for (const char* d : t.dashes) group(49, d);
  }
  group(0, "ENDTAB");
  group(0, "TABLE");
  group(2, "LAYER");
  group(70, "24");
  bool mono = settings_.layerMonochrome;
  auto layer = [&](const std::string& name, int colour, const char* ltype) {
    record("LAYER");
    group(2, name);
    group(70, "0");
    group(62, std::to_string(mono ? 1 : colour));
    group(6, ltype);
  };
  if (mode == 1) {
    for (int i = 0; i <= 15; ++i) layer(std::to_string(i), i + 1, "CONTINUOUS");
  } else {
    layer("0", 1, "CONTINUOUS");
    for (int i = 1; i <= 5; ++i) {
      const LayerSetting& l = settings_.layers[static_cast<size_t>(i - 1)];
      layer(l.name, l.colour, i == 1 ? "DASHDOT" : i == 2 ? "DASHED" : "CONTINUOUS");
    }
    if (mode == 2)
      for (int i = 16; i <= 31; ++i)
        layer(std::to_string(i), settings_.layerColours[static_cast<size_t>(i - 16)], "CONTINUOUS");
  }
  group(0, "ENDTAB");
  group(0, "TABLE");
  group(2, "STYLE");
  group(70, "1");
  record("STYLE");
  group(2, "STANDARD");
  group(70, "0");
  group(40, "0.0");
  group(41, "1.0");
  group(50, "0.0");
  group(71, "0");
  group(42, "3.5");
  group(3, Upper(settings_.cadTextStyle.empty() ? std::string("TXT8") : settings_.cadTextStyle));
  group(4, "");
  out_ += "0\r\nENDTAB\r\n";
  group(0, "ENDSEC");
}

void DxfWriter::BeginBlocks() {
  group(0, "SECTION");
  group(2, "BLOCKS");
}

void DxfWriter::Block(std::string_view name) {
  group(0, "BLOCK");
  group(8, layer_);
  group(2, name);
  group(70, "0");
  group(10, "0.0");
  group(20, "0.0");
}

void DxfWriter::EndBlock() { group(0, "ENDBLK"); }
void DxfWriter::EndSection() { group(0, "ENDSEC"); }

void DxfWriter::BeginEntities() {
  group(0, "SECTION");
  group(2, "ENTITIES");
}

void DxfWriter::Line(Real x1, Real y1, Real x2, Real y2) {
  group(0, "LINE");
  group(8, layer_);
  groupReal(10, x1);
  groupReal(20, y1);
  groupReal(11, x2);
  groupReal(21, y2);
}

void DxfWriter::Circle(Real x, Real y, Real r) {
  group(0, "CIRCLE");
  group(8, layer_);
  groupReal(10, x);
  groupReal(20, y);
  groupReal(40, r);
}

void DxfWriter::Arc(Real x, Real y, Real a1, Real a2, Real r, Real sweep) {
  group(0, "ARC");
  group(8, layer_);
  if (sweep < -1e-5L) {
    x = -x;
    a1 = 180 - a1;
    a2 = 180 - a2;
    a1 -= 360 * std::floor(a1 / 360);
    a2 -= 360 * std::floor(a2 / 360);
  }
  groupReal(10, x);
  groupReal(20, y);
  groupReal(40, r);
  groupReal(50, a1);
  groupReal(51, a2);
  if (std::fabs(sweep) > 1e-5L) {
    // The extrusion is a vector: readers need all three groups.
    group(210, "0.0");
    group(220, "0.0");
    groupReal(230, sweep);
  }
}

void DxfWriter::Text(std::string_view text, Real x, Real y, Real height, Real widthFactor,
                     Real angle, Real oblique) {
  group(0, "TEXT");
  group(8, layer_);
  groupReal(10, x);
  groupReal(20, y);
  groupReal(40, height);
  group(1, text);
  group(7, "STANDARD");
  group(41, DxfShort(widthFactor));
  group(50, DxfShort(angle));
  group(51, DxfShort(oblique));
}

void DxfWriter::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  group(0, "SOLID");
  group(8, layer_);
  groupReal(10, x1);
  groupReal(20, y1);
  groupReal(11, x2);
  groupReal(21, y2);
  groupReal(12, x3);
  groupReal(22, y3);
  groupReal(13, x4);
  groupReal(23, y4);
}

void DxfWriter::Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX, Real scaleY) {
  group(0, "INSERT");
  group(8, layer_);
  group(2, name);
  groupReal(10, x);
  groupReal(20, y);
  groupReal(41, scaleX);
  groupReal(42, scaleY);
  groupReal(50, angle);
}

void DxfWriter::Polyline(int flags) {
  group(0, "POLYLINE");
  group(8, layer_);
  group(66, "1");
  if (flags != 0) group(70, std::to_string(flags));
}

void DxfWriter::Vertex(Real x, Real y, Real arcAngle) {
  group(0, "VERTEX");
  group(8, layer_);
  groupReal(10, x);
  groupReal(20, y);
  if (arcAngle != 0) groupReal(42, std::tan(arcAngle / 4));
}

void DxfWriter::SeqEnd() {
  group(0, "SEQEND");
  group(8, layer_);
}

void DxfWriter::End() { group(0, "EOF"); }

}  // namespace kamo
