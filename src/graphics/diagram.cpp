// Diagrams over the cam angle, their frame and the contour plot.
#include "graphics/diagram.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "cam/kamorech.h"
#include "core/codepage.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "display/displaylist.h"

namespace kamo {

namespace {
// A tick loop never draws more than this many ticks, whatever the limits.
constexpr int kMaxTicks = 1000;

// An angle brought into 0 .. 2 pi.
Real WrapAngle(Real a) {
  Real w = std::fmod(a, kTwoPi);
  return w < 0 ? w + kTwoPi : w;
}

Real TextLength(const std::string& s) { return static_cast<Real>(s.size()); }

Real MmPerLengthUnit(const NumberStyle& ns) {
  Real one = LengthToDisplay(ns, 1);
  return one > 0 ? 1 / one : 1;
}
}  // namespace

FrameMap DiagramState::map() const {
  FrameMap m;
  m.xmin = xmin;
  m.xmax = xmax;
  m.ymin = ymin;
  m.ymax = ymax;
  // An empty range maps everything onto the frame's lower left corner.
  if (m.xmax == m.xmin) m.xmax = m.xmin + 1;
  if (m.ymax == m.ymin) m.ymax = m.ymin + 1;
  m.W = W;
  m.H = H;
  m.X0 = X0;
  m.Y0 = Y0;
  return m;
}

std::string TickLabel(const NumberStyle& ns, Real x) {
  double v = static_cast<double>(x);
  if (!std::isfinite(v)) v = 0;
  if (std::fabs(v) < 1e-12) v = 0;
  char buf[64];
  std::to_chars_result r;
  double a = std::fabs(v);
  std::string s;
  if (v != 0 && (a < 1e-4 || a >= 1e4)) {
    r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 2);
    s.assign(buf, r.ptr);
  } else {
    // Three significant digits without an exponent; trailing zeros dropped.
    int decimals = v == 0 ? 0 : std::max(0, 2 - static_cast<int>(std::floor(std::log10(a))));
    r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    s.assign(buf, r.ptr);
    if (s.find('.') != std::string::npos) {
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
  }
  if (ns.decimalSeparator != '.')
    for (char& c : s)
      if (c == '.') c = ns.decimalSeparator;
  return s;
}

void ArrowHead(CadOutput& cad, Real x, Real y, int direction, Real s) {
  Real dx = 0, dy = 0;
  switch (direction) {
    case 0: dx = 1; break;
    case 1: dy = 1; break;
    case 2: dx = -1; break;
    default: dy = -1; break;
  }
  Real bx = x - dx * s, by = y - dy * s;  // the middle of the base
  Real nx = -dy * s / 8, ny = dx * s / 8;
  cad.CadSolid(x, y, bx + nx, by + ny, bx - nx, by - ny, x, y);
}

std::string DiagramKindText(int kind) {
  static const char* const names[] = {"",           "Weg s",           "v",    "a",
                                      "s, v, a",    "r = f(phi)",      "Druckwinkel",
                                      "Kr\x81mmungsradius", "Ruck", "Kontaktkraft, Pressung"};
  return kind >= 1 && kind <= kDiagramKinds ? names[kind] : "";
}

void Diagrams::ResetDiagram() { st_ = DiagramState{}; }

void Diagrams::line(Real x1, Real y1, Real x2, Real y2) {
  out_.cad.CadLine(st_.X(x1), st_.Y(y1), st_.X(x2), st_.Y(y2));
}

void Diagrams::ClippedLine(Real x1, Real y1, Real x2, Real y2) {
  const Real x0 = st_.xmin, xe = st_.xmax, y0 = st_.ymin, ye = st_.ymax;
  const Real mx = 0.01L * (xe - x0), my = 0.01L * (ye - y0);
  auto inside = [&](Real x, Real y, Real ex, Real ey) {
    return x >= x0 - ex && x <= xe + ex && y >= y0 - ey && y <= ye + ey;
  };
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
  if (inside(x1, y1, mx, my) && inside(x2, y2, mx, my)) {
    line(x1, y1, x2, y2);
    return;
  }
  bool in1 = inside(x1, y1, 0, 0), in2 = inside(x2, y2, 0, 0);
  if (!in1 && !in2) return;
  if (!in1) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  // (x1, y1) is inside: shorten towards (x2, y2) until the border.
  Real t = 1, dx = x2 - x1, dy = y2 - y1;
  auto limit = [&](Real d, Real from, Real lo, Real hi) {
    if (d > 0) t = std::min(t, (hi - from) / d);
    if (d < 0) t = std::min(t, (lo - from) / d);
  };
  limit(dx, x1, x0, xe);
  limit(dy, y1, y0, ye);
  t = std::clamp<Real>(t, 0, 1);
  line(x1, y1, x1 + t * dx, y1 + t * dy);
}

bool Diagrams::limitsDialog(const std::string& xLabel, const std::string& yLabel,
                            const std::string& title, AxisScale& x, AxisScale& y) const {
  DiagramLimitsForm f;
  f.caption = Cp850ToUtf8(title);
  f.xLabel = Cp850ToUtf8(xLabel);
  f.yLabel = Cp850ToUtf8(yLabel);
  f.xMin = static_cast<double>(x.lo);
  f.xMax = static_cast<double>(x.hi);
  f.yMin = static_cast<double>(y.lo);
  f.yMax = static_cast<double>(y.hi);
  auto got = out_.ui.port().diagramLimits(f);
  if (!got) return false;
  const DiagramLimitsForm& g = *got;
  // Limits without extent would step the ticks by zero: refused like Cancel.
  if (!std::isfinite(g.xMin) || !std::isfinite(g.xMax) || !std::isfinite(g.yMin) ||
      !std::isfinite(g.yMax) || !(g.xMax > g.xMin) || g.yMax < g.yMin)
    return false;
  if (st_.angleMode == 3) {
    x.lo = g.xMin;
    x.hi = g.xMax;
    x.step = (x.hi - x.lo) / 8;
  } else {
    x = NiceScale(6, g.xMax, g.xMin);
  }
  y = NiceScale(6, g.yMax, g.yMin);
  return true;
}

void Diagrams::DiagramFrame(const std::string& xLabel, const std::string& yLabel,
                            const std::string& title, int mode, Real xmin, Real ymin, Real xmax,
                            Real ymax) {
  CadOutput& cad = out_.cad;
  const NumberStyle& ns = out_.settings.numbers;
  if (xmin > xmax) std::swap(xmin, xmax);
  if (ymin > ymax) std::swap(ymin, ymax);
  cad.environment().drawingKind = 1;
  const Real W = st_.W, H = st_.H, X0 = st_.X0, Y0 = st_.Y0;
  const Real f = std::max(H / 110, W / 160);

  cad.CadLayer(4);
  cad.CadTextStyle(2, 0, 3.5L * f, 2.5L * f);
  if (!title.empty()) cad.CadText(title, std::max(X0 + W / 2 - 1.75L * TextLength(title), X0), Y0 + H + 3);

  cad.CadLayer(17);
  AxisScale ax;
  if (st_.angleMode == 3) {
    ax.lo = 0;
    ax.hi = kTwoPi;
    ax.step = kPi / 4;
  } else {
    ax = NiceScale(6, xmax, xmin);
  }
  AxisScale ay = NiceScale(6, ymax, ymin);
  if (device_ != kCadScreen && out_.settings.askDiagramLimits && !cad.environment().batch) {
    if (!limitsDialog(xLabel, yLabel, title, ax, ay)) out_.flags.abortFlag = false;
  }
  st_.xmin = ax.lo;
  st_.xmax = ax.hi;
  st_.ymin = ay.lo;
  st_.ymax = ay.hi;
  st_.xStep = ax.step;
  st_.yStep = ay.step;
  const Real xs = st_.xmax - st_.xmin, ys = st_.ymax - st_.ymin;

  if (st_.ymin <= 0 && 0 <= st_.ymax && mode != 3) {
    line(st_.xmin, 0, st_.xmax + 0.05L * xs, 0);
    ArrowHead(cad, st_.X(st_.xmax + 0.05L * xs), st_.Y(0), 0, 0.04L * W);
  }
  cad.CadTextStyle(2, 0, 2.2L * f, 1.65L * f);
  auto ticks = [](Real lo, Real hi, Real step) {
    std::vector<Real> v;
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(lo) || !std::isfinite(hi)) {
      v.push_back(lo);
      return v;
    }
    Real tol = 1e-5L * std::max<Real>(std::fabs(hi - lo), step);
    for (int i = 0; i < kMaxTicks; ++i) {
      Real t = lo + i * step;
      if (t > hi + tol) break;
      v.push_back(t);
    }
    return v;
  };
  const std::vector<Real> xt = ticks(st_.xmin, st_.xmax, ax.step);
  const std::vector<Real> yt = ticks(st_.ymin, st_.ymax, ay.step);
  for (Real x : xt) {
    line(x, st_.ymin - 0.01L * ys, x, st_.ymin);
    std::string label = TickLabel(ns, st_.angleMode == 3 ? RadToDeg(x) : x);
    cad.CadText(label, st_.X(x - TextLength(label) * 0.01L * xs), st_.Y(st_.ymin - 0.05L * ys));
  }
  if (mode == 2)
    cad.CadText(xLabel, st_.X(st_.xmax + 0.01L * xs), st_.Y(st_.ymin + 0.03L * ys));
  else
    cad.CadText(xLabel, st_.X(st_.xmax + 0.06L * xs), st_.Y(st_.ymin - 0.05L * ys));
  if (st_.xmin <= 0 && 0 <= st_.xmax) {
    line(0, st_.ymin, 0, st_.ymax + 0.05L * ys);
    ArrowHead(cad, st_.X(0), st_.Y(st_.ymax + 0.05L * ys), 1, 0.04L * H);
  }
  for (Real y : yt) {
    line(st_.xmin - 0.01L * xs, y, st_.xmin, y);
    cad.CadText(TickLabel(ns, y), st_.X(st_.xmin - 0.1L * xs), st_.Y(y - 0.01L * ys));
  }
  cad.CadText(yLabel, st_.X(st_.xmin - 0.1L * xs), st_.Y(st_.ymax + 0.07L * ys));

  // The grid is dotted on the screen; files keep the layer's line type.
  DisplayList* screen = cad.recordingList();
  if (screen) screen->SetLineStyle(1);
  for (Real x : xt) line(x, st_.ymin, x, st_.ymax);
  for (Real y : yt) line(st_.xmin, y, st_.xmax, y);
  if (screen) screen->SetLineStyle(0);
  st_.angleMode = 0;
}

void Diagrams::DrawDiagram(int kind) {
  if (kind >= kDiagramAlpha && kind <= kDiagramHertz) return drawCheckDiagram(kind);
  const CamProject& p = out_.project;
  const CamResults& r = p.results;
  const NumberStyle& ns = out_.settings.numbers;
  CadOutput& cad = out_.cad;
  const int n = std::min<int>(p.contourCount, static_cast<int>(p.contour.size()) - 1);
  if (n < 1) return;
  const Real T = p.speed > 0 ? 60 / p.speed : 0;
  const Real dtStep = T / n;
  const std::string unit = UnitLength(ns);
  const bool ascii = ns.specialChars == 1;

  st_.angleMode = 3;
  std::string title, yLabel;
  Real ylo = 0, yhi = 0;
  switch (kind) {
    case 1:
      title = "Hub";
      yLabel = "s [" + unit + "]";
      yhi = LengthToDisplay(ns, r.rMax - r.rMin);
      break;
    case 2:
      title = "Geschwindigkeit";
      yLabel = "v [m/s]";
      ylo = r.vMin;
      yhi = r.vMax;
      break;
    case 3:
      title = "Beschleunigung";
      yLabel = ascii ? "a [m/s2]" : "a [m/s\xFD]";
      ylo = r.aMin;
      yhi = r.aMax;
      break;
    case 5:
      title = "Kurvenradius";
      yLabel = "r [" + unit + "]";
      ylo = LengthToDisplay(ns, r.rMin);
      yhi = LengthToDisplay(ns, r.rMax);
      break;
    default:
      st_.angleMode = 0;
      return;
  }
  std::string xLabel = " " + UnitAngle(ns) + " (T=" + FormatAuto(ns, T) + "s)";
  DiagramFrame(xLabel, yLabel, title, 1, 0, ylo, kTwoPi, yhi);
  if (kind == 1 || kind == 5) {
    Real k = MmPerLengthUnit(ns);
    st_.ymin *= k;
    st_.ymax *= k;
  }
  cad.CadLayer(3);
  line(kTwoPi, st_.ymin, kTwoPi, st_.ymax);

  cad.CadLayer(5);
  std::vector<Real> found;
  const std::vector<Real>& pos = FollowerPositionsOf(p, found);
  auto position = [&](int i) { return pos[static_cast<size_t>(i == 0 ? n : i)]; };
  Real prevPhi = 0, prevV = 0, prevValue = 0;
  bool dtReported = false;
  for (int i = 0; i <= n; ++i) {
    if (out_.flags.abortFlag) return;
    Real phi = i * kTwoPi / n;
    Real dt = dtStep;
    const ContourPoint& c = p.contour[static_cast<size_t>(i)];
    if (p.curveType == ctPoints) {
      phi = WrapAngle(std::atan2(c.y, c.x));
      dt = WrapAngle(phi - prevPhi) * T / kTwoPi;
    }
    Real pi = position(i);
    Real v = 0, a = 0;
    if (i >= 2) {
      Real dp = pi - position(i - 1);
      if (dt == 0) {
        if (!dtReported) out_.messages.add("Fatal  : dt=0!");
        dtReported = true;
      } else if (dp != 0) {
        v = dp / dt / 1000;
      }
    }
    // Without a time step there is no acceleration either.
    if (i >= 3 && dt != 0) a = (v - prevV) / dt;
    Real value = 0;
    int from = 2;
    switch (kind) {
      case 1: value = pi - r.rMin; break;
      case 2: value = v; from = 3; break;
      case 3: value = a; from = 4; break;
      default: value = std::hypot(c.x, c.y); break;
    }
    if (i >= from && phi > prevPhi) ClippedLine(prevPhi, prevValue, phi, value);
    st_.lastX = phi;
    st_.lastY = value;
    prevPhi = phi;
    prevValue = value;
    prevV = v;
  }
}

void Diagrams::ContourPlot(Real W, Real H, Real X0, Real Y0) {
  const CamProject& p = out_.project;
  const CamResults& r = p.results;
  const NumberStyle& ns = out_.settings.numbers;
  SetDiagramSize(W, H);
  SetDiagramOrigin(X0, Y0);
  Real x0 = r.xMin, x1 = r.xMax, y0 = r.yMin, y1 = r.yMax;
  Real span = std::max(x1 - x0, y1 - y0);
  if (x1 - x0 < span) {
    Real m = (x0 + x1) / 2;
    x0 = m - span / 2;
    x1 = m + span / 2;
  } else {
    Real m = (y0 + y1) / 2;
    y0 = m - span / 2;
    y1 = m + span / 2;
  }
  std::string unit = UnitLength(ns);
  DiagramFrame(" x [" + unit + "]", "y [" + unit + "]", "", 2, LengthToDisplay(ns, x0),
               LengthToDisplay(ns, y0), LengthToDisplay(ns, x1), LengthToDisplay(ns, y1));
  Real k = MmPerLengthUnit(ns);
  st_.xmin *= k;
  st_.xmax *= k;
  st_.ymin *= k;
  st_.ymax *= k;
  int n = std::min<int>(p.basePointCount, static_cast<int>(p.basePoints.size()) - 1);
  if (n > 0) {
    out_.cad.CadLayer(5);
    Hatch h(out_.cad, out_.messages, out_.flags);
    FrameMap m = st_.map();
    h.HatchBegin();
    for (int i = 1; i <= n; ++i) {
      const ContourPoint& q = p.basePoints[static_cast<size_t>(i)];
      h.HatchPointMapped(m, q.x, q.y, q.phi);
    }
    h.HatchFillMapped(m, 0, 0, 45);
  }
  ResetDiagram();
}

namespace {
// The series of a check diagram and what the frame shows of it.
struct CheckSeries {
  const std::vector<Real>* values = nullptr;
  const std::vector<Real>* second = nullptr;  // drawn dashed (layer 2) in the same frame
  std::string title, yLabel;
  bool length = false;  // millimetres drawn on an axis in the length unit
};

// Radii beyond this are drawn as leaving the frame: a straight stretch
// (+infinity) or a turning point of the curvature would squeeze the rest.
Real RadiusCap(const CamProject& p) {
  Real r = std::max(std::fabs(p.results.rMax), std::fabs(p.results.rMin)) + p.checks.rollerRadius;
  return r > 0 && std::isfinite(r) ? 2 * r : 1;
}
}  // namespace

void Diagrams::drawCheckDiagram(int kind) {
  const CamProject& p = out_.project;
  const CheckResults& c = p.checks;
  const NumberStyle& ns = out_.settings.numbers;
  CadOutput& cad = out_.cad;
  const int n = std::min<int>(p.contourCount, static_cast<int>(c.phi.size()) - 1);
  if (!c.valid || n < 3) return;
  // The closing point repeats point 1: the turn has m distinct points.
  const int m = SameValue(p.contour[static_cast<size_t>(n)].x, p.contour[1].x) &&
                        SameValue(p.contour[static_cast<size_t>(n)].y, p.contour[1].y)
                    ? n - 1
                    : n;
  const bool ascii = ns.specialChars == 1;
  const std::string unit = UnitLength(ns);
  CheckSeries s;
  Real ylo = 0, yhi = 0;
  Real limit = 0;
  switch (kind) {
    case kDiagramAlpha:
      s.values = &c.alpha;
      s.title = "Druckwinkel";
      s.yLabel = "alpha [" + UnitAngle(ns) + "]";
      limit = std::fabs(p.checkData.alphaLimit);
      ylo = std::min(c.alphaMin, -limit);
      yhi = std::max(c.alphaMax, limit);
      break;
    case kDiagramRho:
      s.values = &c.rho;
      if (!c.flat && c.rollerRadius > 0) s.second = &c.rhoPitch;
      s.title = ascii ? "Kruemmungsradius" : "Kr\x81mmungsradius";
      s.yLabel = "rho [" + unit + "]";
      s.length = true;
      break;
    case kDiagramJerk:
      s.values = &c.jerk;
      s.title = "Ruck";
      s.yLabel = ascii ? "j [m/s3]" : "j [m/s\xFC]";
      ylo = c.jMin;
      yhi = c.jMax;
      break;
    case kDiagramForce:
      s.values = &c.force;
      s.title = "Kontaktkraft";
      s.yLabel = "F [N]";
      ylo = std::min<Real>(c.fMin, 0);
      yhi = std::max<Real>(c.fMax, 0);
      break;
    case kDiagramHertz:
      s.values = &c.hertz;
      s.title = "Hertzsche Pressung";
      s.yLabel = ascii ? "p [N/mm2]" : "p [N/mm\xFD]";
      ylo = 0;
      yhi = c.pHMax;
      break;
    default: return;
  }
  const Real cap = RadiusCap(p);
  if (kind == kDiagramRho) {
    // The range of both curves, finite radii only, at most the cap either way.
    bool any = false;
    for (const std::vector<Real>* v : {s.values, s.second}) {
      if (!v) continue;
      for (int j = 1; j <= m; ++j) {
        Real x = (*v)[static_cast<size_t>(j)];
        if (!std::isfinite(x)) continue;
        x = std::clamp(x, -cap, cap);
        ylo = any ? std::min(ylo, x) : x;
        yhi = any ? std::max(yhi, x) : x;
        any = true;
      }
    }
    if (!any) ylo = 0, yhi = cap;
    ylo = LengthToDisplay(ns, ylo);
    yhi = LengthToDisplay(ns, yhi);
  }
  if (!std::isfinite(ylo) || !std::isfinite(yhi)) ylo = yhi = 0;

  const Real T = p.speed > 0 ? 60 / p.speed : 0;
  std::string xLabel = " " + UnitAngle(ns) + " (T=" + FormatAuto(ns, T) + "s)";
  st_.angleMode = 3;
  DiagramFrame(xLabel, s.yLabel, s.title, 1, 0, ylo, kTwoPi, yhi);
  if (s.length) {
    Real k = MmPerLengthUnit(ns);
    st_.ymin *= k;
    st_.ymax *= k;
  }
  cad.CadLayer(3);
  line(kTwoPi, st_.ymin, kTwoPi, st_.ymax);
  if (s.second) {
    // Which curve is which, right of the title: a piece of each line and its name.
    const Real h = std::max(st_.H / 110, st_.W / 160) * 2.2L;
    Real x = st_.X0 + st_.W * 0.62L, y = st_.Y0 + st_.H + 3;
    for (auto [layer, name] : {std::pair{5, "Kontur"}, {2, "Mittelpunktsbahn"}}) {
      cad.CadLayer(layer);
      cad.CadLine(x, y + h / 3, x + 2.5L * h, y + h / 3);
      cad.CadLayer(4);
      cad.CadText(name, x + 3 * h, y);
      x += 3 * h + (TextLength(name) + 2) * 0.75L * h;
    }
  }
  if (limit > 0) {
    // The limit of the pressure angle, both signs, dash-dotted.
    cad.CadLayer(1);
    for (Real y : {limit, -limit})
      if (y >= st_.ymin && y <= st_.ymax) line(0, y, kTwoPi, y);
  }

  // Each curve over one turn: the points in the contour's order at their
  // polar angles, joined where the angle grows; the stretch behind the last
  // point closes on point 1 (shifted back by a turn where it passes 2 pi).
  const Real far = 1e6L * std::max<Real>(cap, std::fabs(st_.ymax) + std::fabs(st_.ymin) + 1);
  auto value = [&](const std::vector<Real>& v, int j) {
    Real x = v[static_cast<size_t>(j == m + 1 ? 1 : j)];
    if (std::isnan(x)) return x;
    return std::clamp<Real>(x, -far, far);  // a straight stretch leaves the frame
  };
  auto curve = [&](const std::vector<Real>& v) {
    Real x = WrapAngle(c.phi[1]);
    Real px = x, pv = value(v, 1);
    for (int j = 2; j <= m + 1; ++j) {
      if (out_.flags.abortFlag) return;
      Real d = WrapAngle(c.phi[static_cast<size_t>(j == m + 1 ? 1 : j)] - c.phi[static_cast<size_t>(j - 1)]);
      if (d > kPi) d -= kTwoPi;  // a step backwards (a contour that is no star)
      x += d;
      Real y = value(v, j);
      if (d > 0 && !std::isnan(y) && !std::isnan(pv)) {
        ClippedLine(px, pv, x, y);
        if (x > kTwoPi) ClippedLine(px - kTwoPi, pv, x - kTwoPi, y);
      }
      px = x;
      pv = y;
    }
    st_.lastX = px;
    st_.lastY = pv;
  };
  cad.CadLayer(5);
  curve(*s.values);
  if (s.second) {
    cad.CadLayer(2);
    curve(*s.second);
  }
}

bool DiagramCommand(SheetOutput& out, int kind, int device) {
  if (out.flags.calcError) {
    showErrorList(out.ui, out.errorList, out.messages);
    return false;
  }
  if (kind == 0) {
    auto& texts = out.ui.state().choiceTexts;
    for (int i = 1; i <= kDiagramKinds; ++i) texts[static_cast<size_t>(i)] = DiagramKindText(i);
    int k = 1;
    if (!out.ui.inputChoice("select", kDiagramKinds, k)) {
      out.flags.abortFlag = false;
      return false;
    }
    kind = k;
  }
  if (kind < 1 || kind > kDiagramKinds) return false;
  // The check diagrams need the checks of a calculation.
  if (kind >= kDiagramAlpha && !out.project.checks.valid) return false;
  CadOutput& cad = out.cad;
  cad.CadOpen(device, "KAMO");
  if (out.flags.abortFlag || !cad.open()) return false;
  Diagrams d(out, device);
  d.ResetDiagram();
  cad.CadWindow(0, 0, 160, 120, 1);
  cad.CadTables(0);
  do {
    cad.CadBeginEntities();
    if (kind == 4) {
      d.SetDiagramSize(120, 28);
      d.SetDiagramOrigin(15, 6);
      d.DrawDiagram(3);
      d.SetDiagramOrigin(15, 44);
      d.DrawDiagram(2);
      d.SetDiagramOrigin(15, 82);
      d.DrawDiagram(1);
    } else if (kind == kDiagramForce) {
      d.SetDiagramSize(120, 40);
      d.SetDiagramOrigin(15, 8);
      d.DrawDiagram(kDiagramHertz);
      d.SetDiagramOrigin(15, 66);
      d.DrawDiagram(kDiagramForce);
    } else {
      d.SetDiagramSize(115, 95);
      d.SetDiagramOrigin(15, 12);
      d.DrawDiagram(kind);
    }
    cad.CadEndSection();
  } while (!cad.CadPassDone());
  return cad.CadClose();
}

}  // namespace kamo
