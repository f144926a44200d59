// The cam solid and the closed contour curve in STEP through OpenCASCADE.
#include "cad/stepsolid.h"

#include <APIHeaderSection_MakeHeader.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <GProp_GProps.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_Circle.hxx>
#include <Interface_EntityIterator.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <STEPControl_Controller.hxx>
#include <STEPControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <StepGeom_CompositeCurve.hxx>
#include <StepGeom_CompositeCurveSegment.hxx>
#include <StepGeom_HArray1OfCompositeCurveSegment.hxx>
#include <StepShape_GeometricCurveSet.hxx>
#include <StepShape_GeometricSetSelect.hxx>
#include <StepShape_HArray1OfGeometricSetSelect.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_HArray1OfPnt.hxx>
#include <StepBasic_Product.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <mutex>
#include <sstream>
#include <vector>

#include "cad/cadstp.h"
#include "core/codepage.h"

namespace kamo {

namespace {

// A UTF-8 text for a string of OpenCASCADE's writer, which doubles
// apostrophes and backslashes itself: characters beyond ASCII are written in
// the \\X2\\ form with a stand-in for its backslashes that Unescape turns back.
constexpr char kBackslash = '\x01';
std::string StepText(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    if (b >= 32 && b < 127) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    size_t at = i;
    NextUtf8(utf8, i);
    if (i == at) ++i;
    std::string u = StepString(utf8.substr(at, i - at));
    for (char& c : u)
      if (c == '\\') c = kBackslash;
    out += u;
  }
  return out;
}
void Unescape(std::string& file) { std::replace(file.begin(), file.end(), kBackslash, '\\'); }

constexpr double kPi = 3.14159265358979323846;
// The uncertainty the file states, and the distance under which two contour
// points are one.
constexpr double kUncertainty = 1e-6;

// OpenCASCADE reports its steps to the console by default; our outputs go to
// files and our messages through the program's own channels.
void QuietOcc() {
  static std::once_flag once;
  std::call_once(once, [] {
    const Handle(Message_Messenger)& m = Message::DefaultMessenger();
    m->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
    STEPControl_Controller::Init();
  });
}

double SignedArea(const std::vector<ProfileVertex>& v) {
  double a = 0;
  size_t n = v.size();
  for (size_t i = 0; i < n; ++i) {
    const ProfileVertex& p = v[i];
    const ProfileVertex& q = v[(i + 1) % n];
    a += (p.x * q.y - q.x * p.y) / 2;
    double t = std::fabs(p.arc);
    if (t > 0) {
      double c = std::hypot(q.x - p.x, q.y - p.y);
      double s = std::sin(t / 2);
      if (s > 0) {
        double r = c / (2 * s);
        a += (p.arc > 0 ? 1 : -1) * r * r / 2 * (t - std::sin(t));
      }
    }
  }
  return a;
}

// The closed chain without repeated points (the closing point included),
// counter-clockwise. False when fewer than three points remain.
bool CleanContour(std::span<const ProfileVertex> in, std::vector<ProfileVertex>& out, double tol) {
  out.clear();
  for (const ProfileVertex& v : in) {
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.arc)) return false;
    if (!out.empty() && std::hypot(v.x - out.back().x, v.y - out.back().y) <= tol) {
      // The piece to the repeated point has no length; the next piece starts here.
      out.back().arc = v.arc;
      continue;
    }
    out.push_back(v);
  }
  while (out.size() > 1 && std::hypot(out.back().x - out.front().x, out.back().y - out.front().y) <= tol) {
    // The closing point repeats the first; the piece before it ends at the first.
    out.pop_back();
  }
  if (out.size() < 3 && !(out.size() == 2 && (out[0].arc != 0 || out[1].arc != 0))) return false;
  if (SignedArea(out) < 0) {
    std::vector<ProfileVertex> r;
    r.reserve(out.size());
    size_t n = out.size();
    for (size_t k = 0; k < n; ++k) {
      ProfileVertex v = out[n - 1 - k];
      // The piece from here on is the reversed piece that ended here.
      v.arc = -out[(2 * n - 2 - k) % n].arc;
      r.push_back(v);
    }
    out = std::move(r);
  }
  return true;
}

struct Failure {
  std::string text;
};

// A direction change above this between two straight pieces is a corner of
// the contour (a polygon's corner, a join of segments, a coarse step); below
// it the points are samples of one smooth curve.
constexpr double kCornerAngle = 10 * kPi / 180;

TopoDS_Edge ArcEdge(const ProfileVertex& p, const ProfileVertex& q, const TopoDS_Vertex& a,
                    const TopoDS_Vertex& b, size_t at) {
  double c = std::hypot(q.x - p.x, q.y - p.y);
  double bulge = std::tan(std::fabs(p.arc) / 4);
  if (bulge * c / 2 <= kUncertainty || !(std::fabs(p.arc) < 2 * kPi)) {
    BRepBuilderAPI_MakeEdge me(a, b);
    if (!me.IsDone()) throw Failure{"Strecke " + std::to_string(at + 1)};
    return me.Edge();
  }
  // The arc's middle lies to the right of the chord for a counter-clockwise arc.
  double s = bulge * c / 2 * (p.arc > 0 ? 1 : -1);
  double nx = -(q.y - p.y) / c, ny = (q.x - p.x) / c;
  gp_Pnt mid((p.x + q.x) / 2 - s * nx, (p.y + q.y) / 2 - s * ny, 0);
  GC_MakeArcOfCircle arc(gp_Pnt(p.x, p.y, 0), mid, gp_Pnt(q.x, q.y, 0));
  if (!arc.IsDone()) throw Failure{"Bogen " + std::to_string(at + 1)};
  BRepBuilderAPI_MakeEdge me(arc.Value(), a, b);
  if (!me.IsDone()) throw Failure{"Bogen " + std::to_string(at + 1)};
  return me.Edge();
}

// The cubic B-spline through the points (chord-length parameters), closed
// and periodic when periodic.
Handle(Geom_BSplineCurve) Through(const std::vector<ProfileVertex>& v, size_t from, size_t count,
                                  bool periodic) {
  Handle(TColgp_HArray1OfPnt) pts = new TColgp_HArray1OfPnt(1, static_cast<int>(count));
  for (size_t k = 0; k < count; ++k) {
    const ProfileVertex& p = v[(from + k) % v.size()];
    pts->SetValue(static_cast<int>(k) + 1, gp_Pnt(p.x, p.y, 0));
  }
  GeomAPI_Interpolate fit(pts, periodic ? Standard_True : Standard_False, kUncertainty / 10);
  fit.Perform();
  if (!fit.IsDone()) throw Failure{"Kurve durch Punkt " + std::to_string(from + 1)};
  return fit.Curve();
}

// The closed contour as a wire: arcs stay arcs; straight pieces between
// corners are one line each; runs of points without a corner become one cubic
// B-spline through the points, so that a contour computed from r(phi) is one
// smooth edge.
TopoDS_Wire ContourWire(const std::vector<ProfileVertex>& v) {
  size_t n = v.size();
  auto dir = [&](size_t i) {
    const ProfileVertex& p = v[i % n];
    const ProfileVertex& q = v[(i + 1) % n];
    return std::atan2(q.y - p.y, q.x - p.x);
  };
  std::vector<bool> corner(n, false);
  size_t corners = 0;
  for (size_t i = 0; i < n; ++i) {
    size_t before = (i + n - 1) % n;
    double turn = std::remainder(dir(i) - dir(before), 2 * kPi);
    corner[i] = v[i].arc != 0 || v[before].arc != 0 || std::fabs(turn) > kCornerAngle;
    if (corner[i]) ++corners;
  }
  if (corners == 0) {
    BRepBuilderAPI_MakeEdge edge(Through(v, 0, n, true));
    if (!edge.IsDone()) throw Failure{"Kontur-Kurve"};
    BRepBuilderAPI_MakeWire wire(edge.Edge());
    if (!wire.IsDone()) throw Failure{"Kontur-Kurve"};
    return wire.Wire();
  }
  size_t first = 0;
  while (!corner[first]) ++first;
  std::vector<TopoDS_Vertex> ends(n);
  for (size_t i = 0; i < n; ++i)
    if (corner[i]) ends[i] = BRepBuilderAPI_MakeVertex(gp_Pnt(v[i].x, v[i].y, 0)).Vertex();
  BRepBuilderAPI_MakeWire wire;
  for (size_t done = 0; done < n;) {
    size_t a = (first + done) % n;
    size_t len = 1;
    while (!corner[(a + len) % n]) ++len;
    size_t b = (a + len) % n;
    TopoDS_Edge e;
    if (len == 1) {
      e = ArcEdge(v[a], v[b], ends[a], ends[b], a);
    } else {
      // The parameters are given: with a single corner the run ends where it began.
      Handle(Geom_BSplineCurve) c = Through(v, a, len + 1, false);
      BRepBuilderAPI_MakeEdge me(c, ends[a], ends[b], c->FirstParameter(), c->LastParameter());
      if (!me.IsDone()) throw Failure{"Kurve durch Punkt " + std::to_string(a + 1)};
      e = me.Edge();
    }
    wire.Add(e);
    if (!wire.IsDone()) throw Failure{"Kontur bei Punkt " + std::to_string(a + 1)};
    done += len;
  }
  return wire.Wire();
}

std::string Bytes(STEPControl_Writer& writer, const StepFileInfo& info) {
  Handle(StepData_StepModel) model = writer.Model();
  APIHeaderSection_MakeHeader header(model);
  auto text = [](const std::string& s) { return new TCollection_HAsciiString(StepText(s).c_str()); };
  header.SetName(text(info.fileName));
  header.SetDescriptionValue(1, text(info.description));
  header.SetTimeStamp(text(info.timeStamp));
  header.SetAuthorValue(1, text(info.author));
  header.SetOrganizationValue(1, text(""));
  header.SetOriginatingSystem(text(info.system));
  header.SetAuthorisation(text(""));
  // The product is named after the drawing (the translator numbers its own names).
  for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
    Handle(StepBasic_Product) product = Handle(StepBasic_Product)::DownCast(model->Value(i));
    if (product.IsNull()) continue;
    product->SetId(text(Cp850ToUtf8(info.product)));
    product->SetName(text(Cp850ToUtf8(info.product)));
  }
  StepData_StepWriter out(model);
  out.SendModel(Handle(StepData_Protocol)::DownCast(model->Protocol()));
  std::ostringstream os;
  if (!out.Print(os)) throw Failure{"Datei"};
  std::string file = os.str();
  Unescape(file);
  return file;
}

// Settings of the translation: AP214, millimetres, our uncertainty, the product's name.
void Prepare() {
  QuietOcc();
  Interface_Static::SetCVal("write.step.schema", "AP214IS");
  Interface_Static::SetCVal("write.step.unit", "MM");
  Interface_Static::SetCVal("xstep.cascade.unit", "MM");
  Interface_Static::SetIVal("write.precision.mode", 2);
  Interface_Static::SetRVal("write.precision.val", kUncertainty);
  Interface_Static::SetIVal("write.step.assembly", 0);
  // No parameter-space curves: readers make their own, and the file stays small.
  Interface_Static::SetIVal("write.surfacecurve.mode", 0);
}

std::string Reason(const Standard_Failure& e) {
  const char* m = e.GetMessageString();
  std::string s = m && *m ? m : e.DynamicType()->Name();
  // Only what a CP850 line can hold.
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '?';
  return s.substr(0, 120);
}

}  // namespace

StepBuild CamSolidStep(std::span<const ProfileVertex> contour, double boreRadius, double height,
                       const StepFileInfo& info) {
  StepBuild b;
  std::vector<ProfileVertex> v;
  if (!CleanContour(contour, v, kUncertainty)) {
    b.error = "STEP: Kontur ohne Fl\x84" "che (weniger als drei verschiedene Punkte)";
    return b;
  }
  if (!(height > 0) || !std::isfinite(height) || !(boreRadius >= 0) || !std::isfinite(boreRadius)) {
    b.error = "STEP: Breite oder Bohrung ung\x81ltig (nicht endlich, negativ oder > 1E12 mm)";
    return b;
  }
  try {
    TopoDS_Wire outer = ContourWire(v);
    BRepBuilderAPI_MakeFace face(gp_Pln(gp::XOY()), outer, true);
    if (!face.IsDone()) throw Failure{"Stirnfl\x84" "che"};
    if (boreRadius > kUncertainty) {
      Handle(Geom_Circle) circle = new Geom_Circle(gp_Ax2(gp::Origin(), gp::DZ()), boreRadius);
      BRepBuilderAPI_MakeWire bore(BRepBuilderAPI_MakeEdge(circle).Edge());
      // A hole runs clockwise in a face that faces up.
      face.Add(TopoDS::Wire(bore.Wire().Reversed()));
      if (!face.IsDone()) throw Failure{"Bohrung"};
    }
    BRepPrimAPI_MakePrism prism(face.Face(), gp_Vec(0, 0, height));
    if (!prism.IsDone()) throw Failure{"Extrusion"};
    TopoDS_Shape solid = prism.Shape();
    // The check of the solid covers its faces: a contour that crosses itself
    // or the bore gives an invalid face.
    if (!BRepCheck_Analyzer(solid).IsValid()) {
      b.error = "STEP: Kontur schneidet sich selbst oder die Bohrung, kein K\x94rper m\x94glich";
      return b;
    }
    GProp_GProps props;
    BRepGProp::VolumeProperties(solid, props);
    b.volume = props.Mass();
    for (TopExp_Explorer x(solid, TopAbs_FACE); x.More(); x.Next()) ++b.faces;
    if (!(b.volume > 0)) throw Failure{"Volumen"};
    Prepare();
    STEPControl_Writer writer;
    if (writer.Transfer(solid, STEPControl_ManifoldSolidBrep) != IFSelect_RetDone) throw Failure{"\x9A" "bertragung"};
    b.bytes = Bytes(writer, info);
    b.ok = true;
  } catch (const Failure& f) {
    b.error = "STEP: K\x94rper nicht erzeugt (" + f.text + ")";
  } catch (const Standard_Failure& e) {
    b.error = "STEP: K\x94rper nicht erzeugt (" + Reason(e) + ")";
  } catch (const std::bad_alloc&) {
    b.error = "out of memory !";
  } catch (const std::exception& e) {
    b.error = std::string("STEP: K\x94rper nicht erzeugt (") + e.what() + ")";
  }
  return b;
}

StepBuild ContourCurveStep(std::span<const ProfileVertex> contour, const StepFileInfo& info) {
  StepBuild b;
  std::vector<ProfileVertex> v;
  if (!CleanContour(contour, v, kUncertainty)) {
    b.error = "STEP: Kontur ohne Fl\x84" "che (weniger als drei verschiedene Punkte)";
    return b;
  }
  try {
    TopoDS_Wire wire = ContourWire(v);
    Prepare();
    STEPControl_Writer writer;
    if (writer.Transfer(wire, STEPControl_GeometricCurveSet) != IFSelect_RetDone) throw Failure{"\x9A" "bertragung"};
    // The translation gives every edge its own curve in the set; one
    // composite curve of them in order makes the contour one closed wire.
    Handle(StepData_StepModel) model = writer.Model();
    Handle(StepShape_GeometricCurveSet) set;
    for (Standard_Integer i = 1; i <= model->NbEntities() && set.IsNull(); ++i)
      set = Handle(StepShape_GeometricCurveSet)::DownCast(model->Value(i));
    if (set.IsNull() || set->NbElements() < 1) throw Failure{"Kurvenmenge"};
    int count = set->NbElements();
    Handle(StepGeom_HArray1OfCompositeCurveSegment) segments =
        new StepGeom_HArray1OfCompositeCurveSegment(1, count);
    for (int i = 1; i <= count; ++i) {
      Handle(StepGeom_Curve) c = set->ElementsValue(i).Curve();
      if (c.IsNull()) throw Failure{"Kurvenmenge"};
      Handle(StepGeom_CompositeCurveSegment) s = new StepGeom_CompositeCurveSegment;
      s->Init(StepGeom_tcContinuous, Standard_True, c);
      segments->SetValue(i, s);
    }
    Handle(StepGeom_CompositeCurve) composite = new StepGeom_CompositeCurve;
    composite->Init(new TCollection_HAsciiString("contour"), segments, StepData_LFalse);
    StepShape_GeometricSetSelect element;
    element.SetValue(composite);
    Handle(StepShape_HArray1OfGeometricSetSelect) elements = new StepShape_HArray1OfGeometricSetSelect(1, 1);
    elements->SetValue(1, element);
    set->SetElements(elements);
    for (int i = 1; i <= count; ++i) model->AddWithRefs(segments->Value(i));
    model->AddWithRefs(composite);
    b.bytes = Bytes(writer, info);
    b.ok = true;
  } catch (const Failure& f) {
    b.error = "STEP: Kontur-Kurve nicht erzeugt (" + f.text + ")";
  } catch (const Standard_Failure& e) {
    b.error = "STEP: Kontur-Kurve nicht erzeugt (" + Reason(e) + ")";
  } catch (const std::bad_alloc&) {
    b.error = "out of memory !";
  } catch (const std::exception& e) {
    b.error = std::string("STEP: Kontur-Kurve nicht erzeugt (") + e.what() + ")";
  }
  return b;
}

}  // namespace kamo
