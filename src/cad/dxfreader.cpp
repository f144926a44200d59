// Reading DXF group pairs into entities. Never trusts the file: every count
// and number is checked, and a damaged file ends the reading with a reason.
#include "cad/dxfreader.h"

#include <charconv>
#include <cmath>

#include "core/numbers.h"
#include "core/strings.h"

namespace kamo {

Real DxfArcSweep(Real a1, Real a2, Real z) {
  auto frac = [](Real v) { return v - std::trunc(v); };
  Real s = (frac(a2 / 360) - frac(a1 / 360)) * 360;
  if (z < 0) s = -s;
  if (s < 0) s += 360;
  return z < 0 ? -s : s;
}

namespace {
Real Norm360(Real a) {
  if (!std::isfinite(a)) return 0;
  a = std::fmod(a, 360.0L);
  if (a < 0) a += 360;
  return a;
}
}  // namespace

void DxfFinishExtrusion(DxfEntity& e, Real z) {
  // Arcs and circles drawn with the extrusion -Z are mirrored in x.
  if ((e.type == DxfEntity::Type::Arc || e.type == DxfEntity::Type::Circle) && z < 0) {
    e.x[0] = -e.x[0];
    if (e.type == DxfEntity::Type::Arc) {
      e.a1 = 180 - e.a1;
      e.a2 = 180 - e.a2;
    }
  }
  if (e.type == DxfEntity::Type::Arc) {
    e.a1 = Norm360(e.a1);
    e.a2 = Norm360(e.a2);
    e.sweep = DxfArcSweep(e.a1, e.a2, z);
  }
}

bool DxfNumber(std::string_view value, Real& x) {
  if (TryParseReal(DxfTrim(value), x) && std::isfinite(x)) return true;
  x = 0;
  return false;
}

Real DxfReal(std::string_view value) {
  Real x = 0;
  DxfNumber(value, x);
  return x;
}

std::string_view DxfTrim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

namespace {


class Reader {
 public:
  Reader(std::string_view text, const DxfReadOptions& o, DxfReadResult& r)
      : text_(text), opt_(o), res_(r) {}

  void run();

 private:
  enum class Stop { End, SectionEnd, Section, Abort };

  // Reads the next group into code_/value_; false at the end of the text or on error.
  bool advance();
  std::string_view nextLine(bool& ok);
  Real real();
  int integer();
  Stop entities(bool sectioned);
  void skipToNextEntity();
  void fail(const std::string& text) {
    if (res_.error.empty()) res_.error = text;
    failed_ = true;
  }
  bool readCommon(DxfEntity& e);
  bool readPolyline(DxfEntity& e);
  bool readLwPolyline(DxfEntity& e);

  std::string_view text_;
  const DxfReadOptions& opt_;
  DxfReadResult& res_;
  size_t pos_ = 0;
  int lineNo_ = 0;
  int code_ = -1;
  std::string_view value_;
  int valueLine_ = 0;
  bool have_ = false;
  bool failed_ = false;
};

std::string_view Reader::nextLine(bool& ok) {
  if (pos_ >= text_.size()) {
    ok = false;
    return {};
  }
  size_t e = text_.find('\n', pos_);
  std::string_view l = text_.substr(pos_, e == std::string_view::npos ? std::string_view::npos : e - pos_);
  pos_ = e == std::string_view::npos ? text_.size() : e + 1;
  if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
  ++lineNo_;
  ok = true;
  return l;
}

bool Reader::advance() {
  have_ = false;
  if (failed_) return false;
  bool ok = false;
  std::string_view c = nextLine(ok);
  if (!ok) return false;
  std::string_view t = DxfTrim(c);
  if (t.empty() && pos_ >= text_.size()) return false;  // a final empty line
  int code = 0;
  auto r = std::from_chars(t.data(), t.data() + t.size(), code);
  if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size() || code < 0 || code > 1071) {
    fail("DXF: ung\x81ltiger Gruppencode in Zeile " + std::to_string(lineNo_));
    return false;
  }
  std::string_view v = nextLine(ok);
  if (!ok) {
    fail("DXF: Datei unvollst\x84ndig (Zeile " + std::to_string(lineNo_) + ")");
    return false;
  }
  code_ = code;
  value_ = v;
  valueLine_ = lineNo_;
  have_ = true;
  return true;
}

Real Reader::real() {
  Real x = 0;
  if (!DxfNumber(value_, x)) {
    if (res_.badNumberLine == 0) res_.badNumberLine = valueLine_;
    return 0;
  }
  return x;
}

int Reader::integer() {
  Real x = real();
  if (std::fabs(x) > 1e9L) return 0;
  return static_cast<int>(x);
}

void Reader::skipToNextEntity() {
  while (advance())
    if (code_ == 0) return;
}

bool Reader::readCommon(DxfEntity& e) {
  Real z = 1;
  while (advance()) {
    if (code_ == 0) break;
    switch (code_) {
      case 1: e.text = std::string(value_); break;
      case 2: e.text = std::string(DxfTrim(value_)); break;
      case 8: e.layer = std::string(DxfTrim(value_)); break;
      case 10: case 11: case 12: case 13: e.x[code_ - 10] = real(); break;
      case 20: case 21: case 22: case 23: e.y[code_ - 20] = real(); break;
      case 40:
        if (e.type == DxfEntity::Type::Text) e.height = real(); else e.r = real();
        break;
      case 41:
        if (e.type == DxfEntity::Type::Text) e.widthFactor = real(); else e.scaleX = real();
        break;
      case 42: e.scaleY = real(); break;
      case 50:
        if (e.type == DxfEntity::Type::Arc) e.a1 = real(); else e.angle = real();
        break;
      case 51: e.a2 = real(); break;
      case 230: z = real(); break;
      default: break;
    }
  }
  DxfFinishExtrusion(e, z);
  return !failed_;
}

bool Reader::readPolyline(DxfEntity& e) {
  int flags = 0;
  Real z = 1;
  while (advance()) {
    if (code_ == 0) break;
    if (code_ == 8) e.layer = std::string(DxfTrim(value_));
    if (code_ == 70) flags = integer();
    if (code_ == 230) z = real();
  }
  if (!have_) return false;
  e.closed = (flags & 1) != 0;
  if (DxfTrim(value_) != "VERTEX") {
    res_.polylineWithoutVertex = true;
    return false;
  }
  bool mesh = (flags & (16 | 64)) != 0;
  while (have_ && code_ == 0 && DxfTrim(value_) == "VERTEX") {
    DxfVertex v;
    v.layer = e.layer;
    int vflags = 0;
    while (advance()) {
      if (code_ == 0) break;
      if (code_ == 8) v.layer = std::string(DxfTrim(value_));
      if (code_ == 10) v.x = real();
      if (code_ == 20) v.y = real();
      if (code_ == 42) v.bulge = real();
      if (code_ == 70) vflags = integer();
    }
    // Spline frame points are not part of the curve.
    if (!(vflags & 16)) {
      if (z < 0) {
        v.x = -v.x;
        v.bulge = -v.bulge;
      }
      e.vertices.push_back(std::move(v));
      if (static_cast<int>(e.vertices.size()) > opt_.maxVertices) {
        res_.tooManyVertices = true;
        return false;
      }
    }
  }
  if (have_ && DxfTrim(value_) == "SEQEND") skipToNextEntity();
  if (mesh) e.vertices.clear();
  return !failed_;
}

bool Reader::readLwPolyline(DxfEntity& e) {
  int flags = 0;
  Real z = 1;
  while (advance()) {
    if (code_ == 0) break;
    switch (code_) {
      case 8: e.layer = std::string(DxfTrim(value_)); break;
      case 70: flags = integer(); break;
      case 230: z = real(); break;
      case 10:
        e.vertices.push_back({real(), 0, 0, {}});
        if (static_cast<int>(e.vertices.size()) > opt_.maxVertices) {
          res_.tooManyVertices = true;
          return false;
        }
        break;
      case 20:
        if (!e.vertices.empty()) e.vertices.back().y = real();
        break;
      case 42:
        if (!e.vertices.empty()) e.vertices.back().bulge = real();
        break;
      default: break;
    }
  }
  for (DxfVertex& v : e.vertices) {
    v.layer = e.layer;
    if (z < 0) {
      v.x = -v.x;
      v.bulge = -v.bulge;
    }
  }
  e.closed = (flags & 1) != 0;
  return !failed_;
}

Reader::Stop Reader::entities(bool sectioned) {
  while (have_) {
    if (code_ != 0) {
      advance();
      continue;
    }
    std::string name = Upper(DxfTrim(value_));
    if (name == "EOF") {
      res_.sawEof = true;
      return Stop::End;
    }
    if (name == "ENDSEC") return Stop::SectionEnd;
    if (name == "SECTION") return Stop::Section;
    DxfEntity e;
    e.line = valueLine_;
    bool known = true;
    if (name == "LINE") e.type = DxfEntity::Type::Line;
    else if (name == "CIRCLE") e.type = DxfEntity::Type::Circle;
    else if (name == "ARC") e.type = DxfEntity::Type::Arc;
    else if (name == "TEXT") e.type = DxfEntity::Type::Text;
    else if (name == "SOLID") e.type = DxfEntity::Type::Solid;
    else if (name == "INSERT") e.type = DxfEntity::Type::Insert;
    else if (name == "POLYLINE" || name == "LWPOLYLINE") e.type = DxfEntity::Type::Polyline;
    else known = false;
    if (!known) {
      // Attributes of an INSERT and stray vertices carry no geometry of their own.
      bool harmless = name == "ATTRIB" || name == "SEQEND" || name == "VERTEX";
      if (opt_.stopAtUnknown && !harmless) {
        res_.unknownEntity = std::string(DxfTrim(value_));
        return Stop::Abort;
      }
      skipToNextEntity();
      continue;
    }
    bool ok = name == "POLYLINE" ? readPolyline(e) : name == "LWPOLYLINE" ? readLwPolyline(e) : readCommon(e);
    if (res_.tooManyVertices || failed_) return Stop::Abort;
    if (ok) res_.entities.push_back(std::move(e));
    else if (res_.polylineWithoutVertex && have_ && code_ == 0) continue;
  }
  (void)sectioned;
  return Stop::End;
}

void Reader::run() {
  // Section and end markers in any case, as the entity names: a marker the
  // entity loop hands back must be one this loop takes.
  if (text_.substr(0, 18) == "AutoCAD Binary DXF") {
    fail("DXF: bin\x84res DXF wird nicht gelesen, bitte als ASCII-DXF speichern");
    return;
  }
  advance();
  while (have_) {
    if (code_ == 0 && Upper(DxfTrim(value_)) == "SECTION") {
      advance();
      std::string section = have_ && code_ == 2 ? Upper(DxfTrim(value_)) : std::string();
      if (section == "ENTITIES") {
        advance();
        Stop s = entities(true);
        if (s == Stop::End || s == Stop::Abort) return;
        if (s == Stop::SectionEnd) advance();
        continue;
      }
      // Other sections (header, tables, blocks, objects) are skipped.
      while (advance()) {
        if (code_ == 0 && (Upper(DxfTrim(value_)) == "ENDSEC" || Upper(DxfTrim(value_)) == "EOF")) break;
      }
      if (have_ && Upper(DxfTrim(value_)) == "EOF") {
        res_.sawEof = true;
        return;
      }
      advance();
      continue;
    }
    if (code_ == 0 && Upper(DxfTrim(value_)) == "EOF") {
      res_.sawEof = true;
      return;
    }
    Stop s = entities(false);
    if (s == Stop::End || s == Stop::Abort) return;
    if (s == Stop::SectionEnd) advance();
  }
}

}  // namespace

DxfReadResult ReadDxf(std::string_view text, const DxfReadOptions& options) {
  DxfReadResult r;
  // A byte-order mark before the first group is harmless.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Reader reader(text, options, r);
  reader.run();
  return r;
}

}  // namespace kamo
