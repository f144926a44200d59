// Sheet blocks of the cam report, drawn with the drawing table.
#include "graphics/sheetblocks.h"

#include <algorithm>
#include <cmath>

#include "core/geometry.h"
#include "core/numbers.h"

namespace kamo {

namespace {
std::string Int(int i, int width) {
  std::string s = std::to_string(i);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
  return s;
}
std::string Deg(const NumberStyle& ns) { return UnitAngle(ns); }
std::string Trim(std::string s) {
  size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

// A coefficient with 14 decimals in the width of three significant digits, signed.
std::string Signed(const NumberStyle& ns, Real x, bool autoFormat) {
  std::string s = autoFormat ? FormatAuto(ns, x) : FormatFixed(ns, 3, 14, x);
  std::string t = Trim(s);
  if (t.empty() || t[0] != '-') t = "+" + t;
  return t;
}
}  // namespace

void TitleBlock(const SheetContext& ctx, Real x, Real y, Real h) {
  if (ctx.flags.calcError) return;
  const DrawingTexts& d = ctx.project.drawing;
  CadOutput& cad = ctx.cad;
  cad.CadTextStyle(2, 0, h, 0.75L * h);
  cad.CadMoveTo(x, y);
  cad.CadLayer(19);
  cad.CadTextLine(d.zeichname + "  " + d.zeichnr + "  " + d.zeichname2);
  cad.CadLayer(18);
  cad.CadTextLine(d.bemerk1);
  cad.CadTextLine(d.bemerk2);
}

std::vector<std::string> CurveDescriptionLines(const CamProject& p, const NumberStyle& ns) {
  std::vector<std::string> l;
  const std::string deg = Deg(ns);
  auto len = [&](int w, int d, Real x) { return FormatLengthFixed(ns, w, d, x); };
  auto pointLines = [&](int count, int degDecimals, int lenDecimals, int lenWidth,
                        const auto& pointAt) {
    for (int i = 1; i <= count; ++i) {
      PolarPoint q = pointAt(i);
      l.push_back("phi " + std::to_string(i) + " = " + FormatFixed(ns, 1, 5, q.phi) + " (" +
                  FormatFixed(ns, 3, degDecimals, RadToDeg(q.phi)) + deg + ")    r1 =" +
                  len(lenWidth, lenDecimals, q.r) + " " + UnitLength(ns));
    }
  };
  switch (p.curveType) {
    case ctFormula:
      l.push_back("Kurvenform definiert durch Formeln:");
      for (int i = 1; i <= std::min<int>(p.segmentCount, kMaxSegments); ++i) {
        Real from = p.segments[static_cast<size_t>(i - 1)].xMax;
        if (i == 1) from = 0;
        l.push_back(Int(i, 3) + ":  x = " + FormatFixed(ns, 3, 0, from) + deg + " .. " +
                    FormatFixed(ns, 3, 0, p.segments[static_cast<size_t>(i)].xMax) + deg +
                    " : phi2(x) = " + p.segments[static_cast<size_t>(i)].formula);
      }
      break;
    case ctEllipse:
      l.push_back("Nockenkurve : Ellipse");
      l.push_back("halbe L\x84nge a = " + len(4, 3, p.ellipse.a));
      l.push_back("halbe Breite b = " + len(4, 3, p.ellipse.b));
      break;
    case ctSine:
      l.push_back("Nockenkurve : Sinusfunktion");
      l.push_back("f (phi) = " + FormatAuto(ns, p.sine.rw0) + " + " + FormatAuto(ns, p.sine.A) +
                  " * sin (phi)");
      l.push_back("Basis-W\x84lzkreis rw0 = " + len(5, 2, p.sine.rw0));
      l.push_back("Amplitude A = " + len(5, 2, p.sine.A));
      l.push_back("Anzahl N = " + std::to_string(p.sine.N));
      break;
    case ctLinearSine:
      l.push_back("Nockenkurve : Linear-Sinus");
      l.push_back("Grundkreisradius rw0 = " + len(4, 3, p.linSine.rw0));
      l.push_back("Steigung m = " + len(4, 3, p.linSine.A));
      l.push_back("Wendepunkt phi = " + FormatFixed(ns, 4, 3, p.linSine.phiLin) + deg);
      break;
    case ctPoints: {
      int n = p.basePointCount;
      l.push_back("Nockenkurve : " + std::to_string(n) + " Koordinatenpunkte x/y");
      if (n >= 1 && n <= 12)
        for (int i = 1; i <= n; ++i) {
          const ContourPoint& q = p.basePoints[static_cast<size_t>(i)];
          l.push_back(Int(i, 3) + ":  x = " + len(8, 2, q.x) + ",   y = " + len(8, 2, q.y) +
                      ",   phi = " + FormatFixed(ns, 4, 0, RadToDeg(q.phi)) + deg);
        }
      break;
    }
    case ctPolygon:
      l.push_back("Nockenkurve : Polygon");
      l.push_back("Anzahl Ecken z = " + Int(p.polygon.z, 7));
      l.push_back("Schl\x81sselweite (Inkreis) s = " + len(5, 2, p.polygon.di));
      l.push_back("Eckweite (Umkreis) e = " + len(5, 2, p.polygon.de));
      break;
    case ctPolynomial: {
      l.push_back("Nockenkurve : Polynomfunktion");
      l.push_back("r1 = f (phi) =");
      int n = p.poly.n;
      if (n >= 1 && n <= 15)
        for (int i = 1; i <= n; ++i)
          l.push_back(Signed(ns, p.poly.coef[static_cast<size_t>(i)], false) + " phi^" +
                      std::to_string(i - 1));
      break;
    }
    case ctFitPoints: {
      int n = p.poly.n;
      l.push_back("Nockenkurve : " + std::to_string(n) + " Koordinatenpunkte -> Polynomfunktion");
      if (n >= 1 && n <= 15) {
        pointLines(n, 0, 2, 5, [&](int i) { return p.poly.points[static_cast<size_t>(i)]; });
        if (n <= 12) {
          l.push_back(" ");
          std::string f = "r(phi) = " + FormatAuto(ns, p.poly.coef[1]) + " phi";
          for (int i = 2; i <= n; ++i)
            f += " " + Signed(ns, p.poly.coef[static_cast<size_t>(i)], true) + " phi^" +
                 std::to_string(i - 1);
          l.push_back(f);
        }
      }
      break;
    }
    case ctEccentric:
      l.push_back("Nockenkurve : Exzenter");
      l.push_back("Durchmesser d = " + len(5, 2, p.eccentric.d));
      l.push_back("Exzentrizit\x84t e = " + len(5, 2, p.eccentric.e));
      break;
    case ctPolarPoints: {
      int n = p.prCount;
      l.push_back("Nockenkurve : " + std::to_string(n) + " Koordinatenpunkte");
      if (p.calc.linearize) l.push_back("interpolieren Zwischenwerte");
      if (n >= 1 && n <= 13 && static_cast<int>(p.prPoints.size()) > n)
        pointLines(n, 2, 3, 5, [&](int i) { return p.prPoints[static_cast<size_t>(i)]; });
      break;
    }
    case ctSinSquare:
      l.push_back("Nockenkurve : r (phi) = db/2 + sh * sin\xFD(180\xF8/w * phi)");
      l.push_back("Nockenkurve : r (phi) = " + FormatLength(ns, p.sinSq.db / 2) + " + " +
                  FormatLength(ns, p.sinSq.sh) + " * sin\xFD(180/" + FormatAuto(ns, p.sinSq.w) +
                  " * phi)");
      break;
    default:
      break;
  }
  return l;
}

void CurveDescriptionBlock(const SheetContext& ctx, Real x, Real y, Real h) {
  if (ctx.flags.calcError) return;
  std::vector<std::string> lines = CurveDescriptionLines(ctx.project, ctx.settings.numbers);
  TAusTabelle t(ctx.cad, 0, x, y, h, {56, 0, 0, 0, 0, 0, 0}, {});
  for (const auto& s : lines) t.Line(s);
  t.Done();
}

void FollowerBlock(const SheetContext& ctx, Real x, Real y, Real h) {
  if (ctx.flags.calcError) return;
  const NumberStyle& ns = ctx.settings.numbers;
  const Follower& f = ctx.project.ram;
  TAusTabelle t(ctx.cad, "St\x94ssel", x, y, h, {6, 6, 6, 0, 0, 0, 0});
  t.Row4("d", UnitLength(ns), FormatLengthFixed(ns, 5, 2, f.d));
  t.Row4("l", UnitLength(ns), FormatLengthFixed(ns, 5, 2, f.l));
  t.Row4("m", "g", FormatFixed(ns, 5, 2, f.m * 1000));
  t.Done();
}

void SpeedBlock(const SheetContext& ctx, Real x, Real y, Real h) {
  if (ctx.flags.calcError) return;
  const NumberStyle& ns = ctx.settings.numbers;
  Real n = ctx.project.speed;
  TAusTabelle t(ctx.cad, "Speed", x, y, h, {6, 6, 6, 0, 0, 0, 0});
  t.Row4("n", "1/min", FormatAuto(ns, n));
  t.Row4("omega", "1/s", FormatAuto(ns, n * 2 * kPi / 60));
  if (n > 0) t.Row4("T", "s", FormatAuto(ns, 60 / n));
  t.Done();
}

void SectionBlock(const SheetContext& ctx, int mode, Real x, Real y, Real h) {
  if (ctx.flags.calcError) return;
  const NumberStyle& ns = ctx.settings.numbers;
  const SectionProps& s = ctx.project.section;
  TAusTabelle t(ctx.cad, mode, x, y, h, {25, 4, 5, 10, 0, 0, 0}, {"Nockenkurve", "", "", "", "", "", ""});
  const std::string first = ns.inch() ? "in\xFC" : "mm\xFC";
  const std::string firstUnit = ns.specialChars == 1 ? (ns.inch() ? "in3" : "mm3") : first;
  auto firstMoment = [&](Real v) { return FormatVolume(ns, v); };
  auto moment = [&](Real v) { return FormatMoment(ns, v); };
  const std::string mu = UnitMoment(ns);
  const Real ip0 = s.IP0;
  // The first moments about the axes through the origin: area times centroid.
  const Real hy = s.A * s.ys, hz = s.A * s.xs;
  // Moments of the axes through the origin by the parallel-axis rule.
  const Real iy = s.IxS + s.A * s.ys * s.ys, iz = s.IyS + s.A * s.xs * s.xs;
  const Real iyz = s.IxyS + s.A * s.xs * s.ys;
  t.Row({"Querschnittsfl\x84" "che", "A", UnitArea(ns), FormatArea(ns, s.A)});
  t.Row({"Fl\x84" "chenmoment 1.Ord.", "Hy", firstUnit, firstMoment(hy)});
  t.Row({"Fl\x84" "chenmoment 1.Ord.", "Hz", firstUnit, firstMoment(hz)});
  t.Row({"Ax.Fl\x84" "chenmoment 2.Ord.", "Iy", mu, moment(iy)});
  t.Row({"Ax.Fl\x84" "chenmoment 2.Ord.", "Iz", mu, moment(iz)});
  t.Row({"Gem.Fl\x84" "chenmoment 2.Ord.", "Iyz", mu, moment(iyz)});
  t.Row({"Pol.Fl\x84" "chenmoment 2.Ord.", "Ip0", mu, moment(ip0)});
  t.Row({"Schwerpunktkoordinate", "ys", UnitLength(ns), FormatLength(ns, s.xs)});
  t.Row({"Schwerpunktkoordinate", "zs", UnitLength(ns), FormatLength(ns, s.ys)});
  t.Row({"Ax.Fl\x84" "chenmoment Schw.p.", "Ieta", mu, moment(s.IxS)});
  t.Row({"Ax.Fl\x84" "chenmoment Schw.p.", "Izeta", mu, moment(s.IyS)});
  t.Row({"Gem.Fl\x84" "chenmoment Schw.p.", "Iez", mu, moment(s.IxyS)});
  t.Row({"Pol.Fl\x84" "chenmoment Schw.p.", "IpS", mu, moment(s.IpS)});
  t.Row({"Hauptfl\x84" "chenmoment 1", "I1", mu, moment(s.I1)});
  t.Row({"Hauptfl\x84" "chenmoment 2", "I2", mu, moment(s.I2)});
  t.Row({"Hauptwinkel", "phi", UnitAngle(ns), FormatAuto(ns, RadToDeg(s.phi))});
  t.Done();
}

void MessageBlock(const SheetContext& ctx, Real x, Real y, Real h, Real width, Real height) {
  const MessageList& m = ctx.messages;
  int count = m.count();
  if (count <= 0) return;
  if (width == 0) width = 42;
  if (h == 0) h = 2;
  if (count > 1 && height > 0.1L) h = std::min(height / count / 2, h);
  TAusTabelle t(ctx.cad, m.at(1), x, y, h, {width, 0, 0, 0, 0, 0, 0});
  for (int i = 2; i <= count; ++i) t.Line(m.at(i));
  t.Done();
}

}  // namespace kamo
