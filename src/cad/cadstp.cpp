// STEP output (ISO 10303-21, AP214 "AUTOMOTIVE_DESIGN"): fixed product
// structure, trimmed lines, plane faces of polylines, closing context block.
#include "cad/cadstp.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/identity.h"
#include "core/ui.h"

namespace kamo {

std::string StepReal(Real x) {
  double v = static_cast<double>(x);
  if (!std::isfinite(v) || v == 0) v = 0;
  // The shortest digits that read back as the same double, so that points
  // shared by two curves stay one point for the reader.
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  std::string s(buf, r.ptr);
  size_t e = s.find('e');
  std::string mant = s.substr(0, e);
  char sign = s[e + 1];
  std::string exp = s.substr(e + 2);
  // At least six significant digits: values that need no more keep their old form.
  size_t digits = mant.size() - (mant[0] == '-' ? 1 : 0) - (mant.find('.') == std::string::npos ? 0 : 1);
  if (mant.find('.') == std::string::npos) mant += '.';
  if (digits < 6) mant.append(6 - digits, '0');
  while (exp.size() < 3) exp = "0" + exp;
  return mant + "E" + sign + exp;
}

std::string StepString(std::string_view text) {
  std::string out;
  std::string wide;  // pending \X2\ code units
  auto flush = [&]() {
    if (!wide.empty()) out += "\\X2\\" + wide + "\\X0\\";
    wide.clear();
  };
  auto hex = [](unsigned v, int digits) {
    char b[16];
    std::snprintf(b, sizeof b, "%0*X", digits, v);
    return std::string(b);
  };
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    unsigned cp = c;
    size_t len = 1;
    if (c >= 0xC0 && c < 0xE0) cp = c & 0x1F, len = 2;
    else if (c >= 0xE0 && c < 0xF0) cp = c & 0x0F, len = 3;
    else if (c >= 0xF0 && c < 0xF8) cp = c & 0x07, len = 4;
    bool valid = c < 0x80 || len > 1;
    if (len > 1) {
      if (i + len > text.size()) valid = false;
      for (size_t k = 1; valid && k < len; ++k) {
        unsigned char d = static_cast<unsigned char>(text[i + k]);
        if ((d & 0xC0) != 0x80) valid = false;
        cp = (cp << 6) | (d & 0x3F);
      }
    }
    if (!valid) {  // a byte that is no UTF-8: taken as Latin-1
      cp = c;
      len = 1;
    }
    i += len;
    if (cp >= 0x20 && cp < 0x7F) {
      flush();
      if (cp == '\'') out += "''";
      else if (cp == '\\') out += "\\\\";
      else out += static_cast<char>(cp);
    } else if (cp <= 0xFFFF) {
      wide += hex(cp, 4);
    } else {
      flush();
      out += "\\X4\\" + hex(cp, 8) + "\\X0\\";
    }
  }
  flush();
  return out;
}

namespace {
std::string Ref(int n) { return "#" + std::to_string(n); }
std::string Point(Real x, Real y) {
  return "CARTESIAN_POINT('',(" + StepReal(x) + "," + StepReal(y) + ",0.E+000));";
}
std::string Direction(Real dx, Real dy) {
  Real L = std::hypot(dx, dy);
  Real c = L > 0 ? dx / L : 1, s = L > 0 ? dy / L : 0;
  return "DIRECTION('',(" + StepReal(c) + "," + StepReal(s) + "," + StepReal(0) + "));";
}
// Points the file cannot tell apart: a line between them would have no direction.
bool SamePoint(Real x1, Real y1, Real x2, Real y2) {
  Real scale = std::max({Real(1), std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2)});
  return (StepReal(x1) == StepReal(x2) && StepReal(y1) == StepReal(y2)) ||
         std::hypot(x2 - x1, y2 - y1) <= 1e-9L * scale;
}
std::string FileStem(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}
}  // namespace

StepWriter::StepWriter(CadWriterContext ctx) : ctx_(std::move(ctx)) {}

int StepWriter::issue(const std::string& entity) {
  ++stepNo_;
  if (writing_) out_ += Ref(stepNo_) + " = " + entity + "\r\n";
  return stepNo_;
}

void StepWriter::plain(const std::string& text) {
  if (writing_) out_ += text + "\r\n";
}

void StepWriter::Window(Real, Real, Real, Real) {
  DateTime t = ctx_.clock ? ctx_.clock->now() : DateTime{};
  char when[40];
  std::snprintf(when, sizeof when, "%04d-%02d-%02dT%02d:%02d:%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  out_ = "ISO-10303-21;\r\nHEADER;\r\nFILE_DESCRIPTION(('QUORTEX Software'),'2;1');\r\n";
  out_ += "FILE_NAME('" + StepString(shownName()) + "','" + when + "',('" +
          StepString(kProductName) + "'),(''),'QUORTEX STEP processor 1.0','" +
          StepString(kProductName) + "','');\r\n";
  out_ += "FILE_SCHEMA(('AUTOMOTIVE_DESIGN'));\r\nENDSEC;\r\n\r\n";
  writing_ = false;
  stepNo_ = 0;
  countedItems_.clear();
  countedPolyRefs_.clear();
  countedKinds_ = countedContext_ = 0;
}

void StepWriter::BeginEntities() {
  stepNo_ = 0;
  anyItem_ = false;
  items_.clear();
  polyRefs_.clear();
  kinds_ = 0;
  polyNo_ = 0;
  inPolyline_ = false;
  plain("DATA;");
  static const char* const fixed[] = {
      "APPLICATION_PROTOCOL_DEFINITION('committee draft','automotive_design',1997,#2);",
      "APPLICATION_CONTEXT('core data for automotive mechanical design processes');",
      "SHAPE_DEFINITION_REPRESENTATION(#4,#10);",
      "PRODUCT_DEFINITION_SHAPE('','',#5);",
      "PRODUCT_DEFINITION('design','',#6,#9);",
      "PRODUCT_DEFINITION_FORMATION('','',#7);",
      "PRODUCT('ASSEMBLY','ASSEMBLY','',(#8));",
      "MECHANICAL_CONTEXT('',#2,'mechanical');",
      "PRODUCT_DEFINITION_CONTEXT('part definition',#2,'design');",
      "SHAPE_REPRESENTATION('',(#11,#15),#19);",
      "AXIS2_PLACEMENT_3D('',#12,#13,#14);",
      "CARTESIAN_POINT('',(0.E+000,0.E+000,0.E+000));",
      "DIRECTION('',(0.E+000,0.E+000,1.));",
      "DIRECTION('',(1.,0.E+000,-0.E+000));",
      "AXIS2_PLACEMENT_3D('',#16,#17,#18);",
      "CARTESIAN_POINT('',(0.E+000,0.E+000,0.E+000));",
      "DIRECTION('',(0.E+000,0.E+000,1.));",
      "DIRECTION('',(1.,0.E+000,0.E+000));",
      ("( GEOMETRIC_REPRESENTATION_CONTEXT(3) GLOBAL_UNCERTAINTY_ASSIGNED_CONTEXT((#23)) "
       "GLOBAL_UNIT_ASSIGNED_CONTEXT((#20,#21,#22)) REPRESENTATION_CONTEXT('Context #1', "
       "'3D Context with UNIT and UNCERTAINTY') );"),
      "( LENGTH_UNIT() NAMED_UNIT(*) SI_UNIT(.MILLI.,.METRE.) );",
      "( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) );",
      "( NAMED_UNIT(*) SI_UNIT($,.STERADIAN.) SOLID_ANGLE_UNIT() );",
      ("UNCERTAINTY_MEASURE_WITH_UNIT(LENGTH_MEASURE(1.E-007),#20,'distance_accuracy_value',"
       "'confusion accuracy');"),
      "PRODUCT_TYPE('part',$,(#7));",
  };
  for (const char* e : fixed) issue(e);
}

bool StepWriter::PassDone() {
  bool was = writing_;
  if (!writing_) {
    countedItems_ = items_;
    countedKinds_ = kinds_;
    countedPolyRefs_ = polyRefs_;
    countedContext_ = (anyItem_ ? stepNo_ : stepNo_ + 1) + 1;
  }
  writing_ = true;
  return was;
}

// The first instance after the fixed ones is the shape of the file: it lists
// every item of the drawing, which the counting pass has collected.
void StepWriter::firstItem(int kind) {
  kinds_ |= kind;
  if (anyItem_) return;
  anyItem_ = true;
  std::string list = Ref(11);
  for (int n : countedItems_) list += "," + Ref(n);
  const char* type = "SHAPE_REPRESENTATION";
  if (countedKinds_ == kWires) type = "GEOMETRICALLY_BOUNDED_WIREFRAME_SHAPE_REPRESENTATION";
  if (countedKinds_ == kFaces) type = "MANIFOLD_SURFACE_SHAPE_REPRESENTATION";
  issue(std::string(type) + "('',(" + list + ")," + Ref(countedContext_) + ");");
}

void StepWriter::segment(Real x1, Real y1, Real x2, Real y2) {
  int n = stepNo_;
  Real L = std::hypot(x2 - x1, y2 - y1);
  issue("TRIMMED_CURVE(''," + Ref(n + 2) + ",(" + Ref(n + 6) + ",PARAMETER_VALUE(0.E+000)),(" +
        Ref(n + 7) + ",PARAMETER_VALUE(" + StepReal(L) + ")),.T.,.PARAMETER.);");
  issue("LINE(''," + Ref(n + 3) + "," + Ref(n + 4) + ");");
  issue(Point(x1, y1));
  issue("VECTOR(''," + Ref(n + 5) + ",1.);");
  issue(Direction(x2 - x1, y2 - y1));
  issue(Point(x1, y1));
  issue(Point(x2, y2));
}

void StepWriter::Line(Real x1, Real y1, Real x2, Real y2) {
  // A line without length has no direction and no curve.
  if (SamePoint(x1, y1, x2, y2)) return;
  firstItem(kLines);
  items_.push_back(issue("GEOMETRIC_CURVE_SET('',(" + Ref(stepNo_ + 2) + "));"));
  segment(x1, y1, x2, y2);
}

// A circle of the drawing plane: its placement at the centre, x along the
// drawing's x axis, so that the parameter is the angle from there.
void StepWriter::circle(Real x, Real y, Real r) {
  int n = stepNo_;
  issue("CIRCLE(''," + Ref(n + 2) + "," + StepReal(r) + ");");
  issue("AXIS2_PLACEMENT_3D(''," + Ref(n + 3) + "," + Ref(n + 4) + "," + Ref(n + 5) + ");");
  issue(Point(x, y));
  issue("DIRECTION('',(0.E+000,0.E+000,1.));");
  issue("DIRECTION('',(1.,0.E+000,0.E+000));");
}

namespace {
// A radius the file can draw: finite and not lost in the coordinates.
bool DrawableRadius(Real x, Real y, Real r) {
  Real scale = std::max({Real(1), std::fabs(x), std::fabs(y)});
  return std::isfinite(r) && std::isfinite(x) && std::isfinite(y) && r > 1e-9L * scale;
}
}  // namespace

void StepWriter::Circle(Real x, Real y, Real r) {
  r = std::fabs(r);
  if (!DrawableRadius(x, y, r)) return;
  firstItem(kLines);
  items_.push_back(issue("GEOMETRIC_CURVE_SET('',(" + Ref(stepNo_ + 2) + "));"));
  circle(x, y, r);
}

void StepWriter::Arc(Real xc, Real yc, Real xs, Real ys, Real xe, Real ye) {
  Real r = std::hypot(xs - xc, ys - yc);
  if (!DrawableRadius(xc, yc, r)) return;
  // The same point twice is the whole circle.
  if (SamePoint(xs, ys, xe, ye)) {
    Circle(xc, yc, r);
    return;
  }
  Real a1 = std::atan2(ys - yc, xs - xc), a2 = std::atan2(ye - yc, xe - xc);
  if (a1 < 0) a1 += 2 * kPi;
  while (a2 <= a1) a2 += 2 * kPi;
  firstItem(kLines);
  int n = stepNo_;
  items_.push_back(issue("GEOMETRIC_CURVE_SET('',(" + Ref(n + 2) + "));"));
  issue("TRIMMED_CURVE(''," + Ref(n + 3) + ",(" + Ref(n + 8) + ",PARAMETER_VALUE(" + StepReal(a1) +
        ")),(" + Ref(n + 9) + ",PARAMETER_VALUE(" + StepReal(a2) + ")),.T.,.PARAMETER.);");
  circle(xc, yc, r);
  issue(Point(xs, ys));
  issue(Point(xe, ye));
}

void StepWriter::BeginPolyline(int flags) {
  inPolyline_ = true;
  faceMode_ = (ctx_.stepLevel == 2 && flags == 1) || ctx_.stepLevel == 3;
  vertices_.clear();
  refs_.clear();
  if (faceMode_) return;
  firstItem(kWires);
  std::string refs = polyNo_ < countedPolyRefs_.size() ? countedPolyRefs_[polyNo_] : "";
  items_.push_back(issue("GEOMETRIC_CURVE_SET('',(" + refs + "));"));
}

void StepWriter::Vertex(Real x, Real y) {
  if (!inPolyline_) return;
  if (!vertices_.empty()) {
    auto& prev = vertices_.back();
    if (SamePoint(prev[0], prev[1], x, y)) return;
    if (!faceMode_) {
      refs_ += (refs_.empty() ? "" : ",") + Ref(stepNo_ + 1);
      segment(prev[0], prev[1], x, y);
    }
  }
  vertices_.push_back({x, y});
}

void StepWriter::EndPolyline() {
  if (!inPolyline_) return;
  inPolyline_ = false;
  if (faceMode_) {
    face();
  } else {
    polyRefs_.push_back(refs_);
    ++polyNo_;
  }
}

// A plane face bounded by the polyline (closed by its last edge): shell
// model, shell, face, loop, plane, then shared vertices and the edges.
void StepWriter::face() {
  auto& v = vertices_;
  if (v.size() > 1 && SamePoint(v.front()[0], v.front()[1], v.back()[0], v.back()[1])) v.pop_back();
  size_t n = v.size();
  Real area = 0;
  for (size_t i = 0; i < n; ++i) {
    const auto& a = v[i];
    const auto& b = v[(i + 1) % n];
    area += a[0] * b[1] - b[0] * a[1];
  }
  if (n < 3 || !(std::fabs(area) > 0)) return;
  firstItem(kFaces);
  int b = stepNo_;
  int firstVertex = b + 11;               // CARTESIAN_POINT, VERTEX_POINT per vertex
  int firstEdge = firstVertex + 2 * static_cast<int>(n);  // six instances per edge
  items_.push_back(issue("SHELL_BASED_SURFACE_MODEL('',(" + Ref(b + 2) + "));"));
  issue("OPEN_SHELL('',(" + Ref(b + 3) + "));");
  issue("ADVANCED_FACE('',(" + Ref(b + 4) + ")," + Ref(b + 6) + ",.T.);");
  issue("FACE_OUTER_BOUND(''," + Ref(b + 5) + (area > 0 ? ",.T.);" : ",.F.);"));
  std::string loop;
  for (size_t i = 0; i < n; ++i)
    loop += (i ? "," : "") + Ref(firstEdge + 6 * static_cast<int>(i));
  issue("EDGE_LOOP('',(" + loop + "));");
  issue("PLANE(''," + Ref(b + 7) + ");");
  issue("AXIS2_PLACEMENT_3D(''," + Ref(b + 8) + "," + Ref(b + 9) + "," + Ref(b + 10) + ");");
  issue("CARTESIAN_POINT('',(0.E+000,0.E+000,0.E+000));");
  issue("DIRECTION('',(0.E+000,0.E+000,1.));");
  issue("DIRECTION('',(1.,0.E+000,0.E+000));");
  for (size_t i = 0; i < n; ++i) {
    int p = issue(Point(v[i][0], v[i][1]));
    issue("VERTEX_POINT(''," + Ref(p) + ");");
  }
  for (size_t i = 0; i < n; ++i) {
    size_t j = (i + 1) % n;
    int e = stepNo_ + 1;
    int vi = firstVertex + 2 * static_cast<int>(i) + 1, vj = firstVertex + 2 * static_cast<int>(j) + 1;
    issue("ORIENTED_EDGE('',*,*," + Ref(e + 1) + ",.T.);");
    issue("EDGE_CURVE(''," + Ref(vi) + "," + Ref(vj) + "," + Ref(e + 2) + ",.T.);");
    issue("LINE(''," + Ref(e + 3) + "," + Ref(e + 4) + ");");
    issue(Point(v[i][0], v[i][1]));
    issue("VECTOR(''," + Ref(e + 5) + ",1.);");
    issue(Direction(v[j][0] - v[i][0], v[j][1] - v[i][1]));
  }
}

bool StepWriter::Close(bool aborted) {
  if (aborted || !ctx_.ui) return false;
  if (!writing_) {
    ctx_.ui->showError("STEP: Ausgabe ohne Schreibdurchgang");
    return false;
  }
  // A drawing without lines still gets a (empty) shape for its product.
  if (!anyItem_) issue("SHAPE_REPRESENTATION('',(#11)," + Ref(stepNo_ + 2) + ");");
  int c = stepNo_;
  int styled = anyItem_ ? 26 : 11;
  auto R = [c](int k) { return Ref(c + k); };
  issue("( GEOMETRIC_REPRESENTATION_CONTEXT(3)  GLOBAL_UNCERTAINTY_ASSIGNED_CONTEXT((" + R(5) +
        ")) GLOBAL_UNIT_ASSIGNED_CONTEXT((" + R(2) + "," + R(3) + "," + R(4) +
        ")) REPRESENTATION_CONTEXT('Context #1','3D Context with UNIT and UNCERTAINTY') );");
  issue("( LENGTH_UNIT() NAMED_UNIT(*) SI_UNIT(.MILLI.,.METRE.) );");
  issue("( NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.) );");
  issue("( NAMED_UNIT(*) SI_UNIT($,.STERADIAN.) SOLID_ANGLE_UNIT() );");
  issue("UNCERTAINTY_MEASURE_WITH_UNIT(LENGTH_MEASURE(1.E-007)," + R(2) +
        ",'distance_accuracy_value','confusion accuracy');");
  issue("SHAPE_DEFINITION_REPRESENTATION(" + R(7) + ",#25);");
  issue("PRODUCT_DEFINITION_SHAPE(''," "''," + R(8) + ");");
  issue("PRODUCT_DEFINITION('design',''," + R(9) + "," + R(12) + ");");
  issue("PRODUCT_DEFINITION_FORMATION('',''," + R(10) + ");");
  std::string name = StepString(FileStem(shownName()));
  issue("PRODUCT('" + name + "','" + name + "','',(" + R(11) + "));");
  issue("MECHANICAL_CONTEXT('',#2,'mechanical');");
  issue("PRODUCT_DEFINITION_CONTEXT('part definition',#2,'design');");
  issue("CONTEXT_DEPENDENT_SHAPE_REPRESENTATION(" + R(14) + "," + R(16) + ");");
  issue("( REPRESENTATION_RELATIONSHIP('','',#25,#10)");
  plain("REPRESENTATION_RELATIONSHIP_WITH_TRANSFORMATION(" + R(15) + ")");
  plain("SHAPE_REPRESENTATION_RELATIONSHIP() );");
  issue("ITEM_DEFINED_TRANSFORMATION('','',#11,#15);");
  issue("PRODUCT_DEFINITION_SHAPE('Placement','Placement of an item'," + R(17) + ");");
  issue("NEXT_ASSEMBLY_USAGE_OCCURRENCE('2','=>[0:1:1:2]','',#5," + R(8) + ",$);");
  issue("PRODUCT_TYPE('part',$,(" + R(10) + "));");
  issue("MECHANICAL_DESIGN_GEOMETRIC_PRESENTATION_REPRESENTATION('',(" + R(20) + ")," + R(1) + ");");
  issue("STYLED_ITEM('color',(" + R(21) + ")," + Ref(styled) + ");");
  issue("PRESENTATION_STYLE_ASSIGNMENT((" + R(22) + "," + R(28) + "));");
  issue("SURFACE_STYLE_USAGE(.BOTH.," + R(23) + ");");
  issue("SURFACE_SIDE_STYLE('',(" + R(24) + "));");
  issue("SURFACE_STYLE_FILL_AREA(" + R(25) + ");");
  issue("FILL_AREA_STYLE('',(" + R(26) + "));");
  issue("FILL_AREA_STYLE_COLOUR(''," + R(27) + ");");
  issue("COLOUR_RGB('',0.800000011921,0.800000011921,0.800000011921);");
  issue("CURVE_STYLE(''," + R(29) + ",POSITIVE_LENGTH_MEASURE(0.1)," + R(27) + ");");
  issue("DRAUGHTING_PRE_DEFINED_CURVE_FONT('continuous');");
  out_ += "ENDSEC;\r\nEND-ISO-10303-21;\r\n";
  bool ok = WriteCadFile(*ctx_.ui, ctx_.fileName, out_);
  out_.clear();
  return ok;
}

}  // namespace kamo
