// The example, golden and random projects of the file tests.
#include "projects.h"

#include <cmath>
#include <random>
#include <sstream>

#include "core/geometry.h"
#include "io/lines.h"

namespace kamo::test {

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;

void Describe(CamProject& p, const std::string& name, const std::string& number) {
  p.drawing.zeichname = name;
  p.drawing.zeichnr = number;
  p.drawing.zeichname2 = "Beispiel";
  p.drawing.bemerk1 = "Beispielprojekt f\x81r KAMO";
  p.drawing.bemerk2 = "Ma\xE1" "e in mm";
  p.drawing.bemerk3 = "";
  p.changeCount = 1;
  p.changes[1] = {"Erstausgabe", "2026-01-15", "KAM", "Neu erstellt"};
  p.info.rows[0] = {"2026-01-15", "M\x81ller"};
  p.info.rows[1] = {"2026-01-16", "Schr\x94" "der"};
  p.body = {10, 12};  // bore and width, so that the solid outputs have a body
}

ExampleProject Formula() {
  CamProject p;
  p.curveType = ctFormula;
  p.segmentCount = 2;
  p.segments[1] = {180, "50+10*X/PI"};
  p.segments[2] = {360, "70-10*X/PI"};
  Describe(p, "Nocken Formel", "KAMO-001");
  return {"formula.kmo", p};
}

ExampleProject Ellipse() {
  CamProject p;
  p.curveType = ctEllipse;
  p.ellipse = {60, 40, 0};
  Describe(p, "Nocken Ellipse", "KAMO-002");
  return {"ellipse.kmo", p};
}

ExampleProject Sine() {
  CamProject p;
  p.curveType = ctSine;
  p.sine = {50, 8, 2};
  Describe(p, "Nocken Sinus", "KAMO-003");
  return {"sine.kmo", p};
}

// The sine cam with a drawing history: three changes, every signature,
// the ISO document fields and free texts on both sheets.
ExampleProject Documented() {
  CamProject p = Sine().project;
  Describe(p, "Nocken Sinus dokumentiert", "KAMO-012");
  p.drawing.bemerk1 = "Beispielprojekt mit \x8Enderungen und Zeichnungsinfo";
  p.changeCount = 3;
  p.changes[1] = {"Erstausgabe", "2026-01-15", "KAM", "Neu erstellt nach Lastenheft LH-17"};
  p.changes[2] = {"Hub 12 mm", "2026-02-03", "Sch", "Hub von 10 auf 12 mm erh\x94ht\nKundenwunsch, Pr\x81" "fstand 4"};
  p.changes[3] = {"Bohrung \x9D" "22 H7", "2026-03-02", "M\x81l", "Bohrung von 20 auf 22 mm, Passung H7"};
  p.sine = {50, 12, 2};
  p.info.rows[0] = {"2026-01-15", "M\x81ller"};
  p.info.rows[1] = {"2026-01-16", "Schr\x94" "der"};
  p.info.rows[2] = {"2026-01-19", "Wei\xE1"};
  p.info.rows[3] = {"2026-01-20", "J\x84ger"};
  p.info.replacementFor = "Z-4711";
  p.info.responsibleDept = "Konstruktion";
  p.info.documentType = "Fertigungszeichnung";
  p.info.documentStatus = "freigegeben";
  p.info.textSheetMode = 2;
  p.info.textCount = 3;
  p.info.texts[1] = {300, 100, 3.5L, 0, "Werkstoff: 16MnCr5, einsatzgeh\x84rtet"};
  p.info.texts[2] = {300, 94, 3.5L, 0, "Kanten gebrochen 0,5 \x9E 45\xF8"};
  p.info.texts[3] = {300, 84, 5, 0, "Pr\x81" "fma\xE1 r = 50 \xF1 0,02"};
  p.body = {22, 12};
  return {"documented.kmo", p};
}

ExampleProject LinearSine() {
  CamProject p;
  p.curveType = ctLinearSine;
  p.linSine.rw0 = 50;
  p.linSine.A = 15;
  p.linSine.phiLin = 220;
  p.ram.l = 50;  // longer than the stroke
  Describe(p, "Nocken Sinus-Linear", "KAMO-004");
  return {"linear_sine.kmo", p};
}

ExampleProject Points() {
  // A lobe cam: a half circle of radius 40 on the left in two quarter arcs,
  // straight flanks and an arc at the tip on the right.
  CamProject p;
  p.curveType = ctPoints;
  p.basePointCount = 5;
  p.basePoints[1] = {0, 40, kPi / 2};
  p.basePoints[2] = {-40, 0, kPi / 2};
  p.basePoints[3] = {0, -40, 0};
  p.basePoints[4] = {45, -12, 0.5L};
  p.basePoints[5] = {45, 12, 0};
  p.calc.arcStep = 2;
  Describe(p, "Nocken Koordinaten", "KAMO-005");
  return {"points.kmo", p};
}

ExampleProject Polygon() {
  CamProject p;
  p.curveType = ctPolygon;
  p.polygon = {6, 120, 100};
  Describe(p, "Nocken Polygon", "KAMO-006");
  return {"polygon.kmo", p};
}

ExampleProject Polynomial() {
  // r = 45 + 6 phi - (3 / pi) phi^2: closed, 45 mm at 0 and 2 pi.
  CamProject p;
  p.curveType = ctPolynomial;
  p.poly.n = 3;
  p.poly.coef[1] = 45;
  p.poly.coef[2] = 6;
  p.poly.coef[3] = -3 / kPi;
  Describe(p, "Nocken Polynom", "KAMO-007");
  return {"polynomial.kmo", p};
}

ExampleProject FitPoints() {
  // Three fit points and the polynomial through them: r = 50 + 4 pi phi - 2 phi^2.
  CamProject p;
  p.curveType = ctFitPoints;
  p.calc.fitMode = 0;
  p.poly.n = 3;
  p.poly.points[1] = {0, 50};
  p.poly.points[2] = {kPi, 50 + 2 * kPi * kPi};
  p.poly.points[3] = {2 * kPi, 50};
  p.poly.coef[1] = 50;
  p.poly.coef[2] = 4 * kPi;
  p.poly.coef[3] = -2;
  Describe(p, "Nocken Punkte Polynom", "KAMO-008");
  return {"fit_points.kmo", p};
}

ExampleProject Eccentric() {
  CamProject p;
  p.curveType = ctEccentric;
  p.eccentric = {90, 12};
  Describe(p, "Exzenter", "KAMO-009");
  return {"eccentric.kmo", p};
}

ExampleProject PolarPoints() {
  // 36 points of a cam with a 10 mm lift between 0 and 180 degrees.
  CamProject p;
  p.curveType = ctPolarPoints;
  p.prCount = 36;
  for (int i = 1; i <= 36; ++i) {
    Real phi = DegToRad(10.0L * (i - 1));
    Real r = phi < kPi ? 40 + 10 * std::sin(phi) * std::sin(phi) : 40;
    p.prPoints[static_cast<size_t>(i)] = {phi, std::round(r * 1000) / 1000};
  }
  p.calc.linearize = true;
  Describe(p, "Nocken Polarpunkte", "KAMO-010");
  return {"polar_points.kmo", p};
}

ExampleProject SinSquare() {
  CamProject p;
  p.curveType = ctSinSquare;
  p.sinSq = {80, 10, 120};
  Describe(p, "Nocken sin\xFD", "KAMO-011");
  return {"sin_square.kmo", p};
}

// CP850 text of printable characters, with umlauts, never "|" or line breaks.
std::string RandomText(std::mt19937& g, size_t maxLen) {
  static const std::string pool =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-_+*/()[]{}=#'\"!?%&$"
      "\x84\x94\x81\x8E\x99\x9A\xE1\xF8\xFD\xE6";
  std::uniform_int_distribution<size_t> len(0, maxLen), pick(0, pool.size() - 1);
  std::string s(len(g), ' ');
  for (char& c : s) c = pool[pick(g)];
  return s;
}

Real RandomReal(std::mt19937& g, Real lo, Real hi) {
  std::uniform_real_distribution<double> d(static_cast<double>(lo), static_cast<double>(hi));
  return static_cast<Real>(d(g));
}

}  // namespace

std::vector<ExampleProject> ExampleProjects() {
  return {Formula(),   Ellipse(),   Sine(),      LinearSine(),  Points(),   Polygon(),
          Polynomial(), FitPoints(), Eccentric(), PolarPoints(), SinSquare(), Documented()};
}

CamProject GoldenProject() {
  CamProject p = Points().project;
  p.segmentCount = 1;
  p.segments[1] = {360, "50+5*SIN(X)"};
  p.poly.n = 2;
  p.poly.coef[1] = 50;
  p.poly.coef[2] = 20 / kPi;
  p.poly.points[1] = {0, 50};
  p.poly.points[2] = {kPi, 70};
  p.prCount = 2;
  p.prPoints[1] = {0, 40};
  p.prPoints[2] = {kPi, 45.5L};
  p.changeCount = 2;
  p.changes[2] = {"Bohrung", "2026-02-01", "XY", "Bohrung 20 mm\nBreite 12 mm"};
  p.info.rows[2] = {"2026-02-02", "Norm"};
  p.info.rows[3] = {"2026-02-03", "Frei"};
  p.info.replacementFor = "K-000";
  p.info.replacedBy = "K-002";
  p.info.responsibleDept = "Konstruktion";
  p.info.documentType = "Zeichnung";
  p.info.documentStatus = "freigegeben";
  p.info.textSheetMode = 2;
  p.info.textCount = 1;
  p.info.texts[1] = {20, 30.5L, 3.5L, 90, "geh\x84rtet"};
  p.links[1].file = "nocken.txt";
  p.body = {20, 12};
  p.ram = {1, 12, 40, 0.25L};
  p.speed = 1500;
  p.eccentric = {95.5L, -3};
  return p;
}

CamProject RandomProject(unsigned seed) {
  std::mt19937 g(seed);
  CamProject p;
  p.curveType = static_cast<std::uint16_t>(1 + seed % 11);
  p.basePointCount = kMaxBasePoints;
  for (int i = 1; i <= kMaxBasePoints; ++i)
    p.basePoints[static_cast<size_t>(i)] = {RandomReal(g, -500, 500), RandomReal(g, -500, 500),
                                            RandomReal(g, -6.3L, 6.3L)};
  p.calc.arcStep = RandomReal(g, 0.1L, 30);
  p.segmentCount = kMaxSegments;
  for (int i = 1; i <= kMaxSegments; ++i)
    p.segments[static_cast<size_t>(i)] = {36.0L * i - RandomReal(g, 0, 1), RandomText(g, 60)};
  p.ellipse = {RandomReal(g, 1, 200), RandomReal(g, 1, 200), std::uniform_int_distribution<int>(0, 2)(g)};
  p.sine = {RandomReal(g, 1, 200), RandomReal(g, -50, 50), std::uniform_int_distribution<int>(1, 12)(g)};
  p.linSine.rw0 = RandomReal(g, 1, 200);
  p.linSine.A = RandomReal(g, 0, 50);
  p.linSine.phiLin = RandomReal(g, 1, 359);
  p.drawing = {RandomText(g, 40), RandomText(g, 40), RandomText(g, 20),
               RandomText(g, 80), RandomText(g, 80), RandomText(g, 80)};
  p.changeCount = kMaxChanges;
  for (int i = 1; i <= kMaxChanges; ++i) {
    std::string desc = RandomText(g, 100) + "\n" + RandomText(g, 100);
    p.changes[static_cast<size_t>(i)] = {RandomText(g, 20), RandomText(g, 10), RandomText(g, 5), desc};
  }
  for (auto& row : p.info.rows) row = {RandomText(g, 10), RandomText(g, 12)};
  p.info.replacementFor = RandomText(g, 15);
  p.info.replacedBy = RandomText(g, 15);
  p.info.responsibleDept = RandomText(g, 30);
  p.info.documentType = RandomText(g, 30);
  p.info.documentStatus = RandomText(g, 30);
  p.info.textSheetMode = std::uniform_int_distribution<int>(0, 3)(g);
  p.info.textCount = kMaxDrawingTexts;
  for (int i = 1; i <= kMaxDrawingTexts; ++i)
    p.info.texts[static_cast<size_t>(i)] = {RandomReal(g, 0, 420), RandomReal(g, 0, 297),
                                            RandomReal(g, 1, 10), RandomReal(g, -180, 180), RandomText(g, 60)};
  for (int i = 1; i <= kDocumentLinks; ++i)
    p.links[static_cast<size_t>(i)] = {RandomText(g, 30), RandomText(g, 60)};
  p.speed = RandomReal(g, 1, 1e5L);
  p.calc.steps = std::uniform_int_distribution<int>(10, 3599)(g);
  p.ram = {static_cast<std::uint16_t>(std::uniform_int_distribution<int>(1, 2)(g)), RandomReal(g, 0, 50),
           RandomReal(g, 0, 200), RandomReal(g, 0, 5)};
  p.polygon = {static_cast<std::uint16_t>(std::uniform_int_distribution<int>(3, 24)(g)),
               RandomReal(g, 10, 300), RandomReal(g, 10, 300)};
  p.poly.n = kMaxPoly;
  for (int i = 1; i <= kMaxPoly; ++i) {
    p.poly.coef[static_cast<size_t>(i)] = RandomReal(g, -100, 100);
    p.poly.points[static_cast<size_t>(i)] = {RandomReal(g, 0, 6.28L), RandomReal(g, 10, 100)};
  }
  p.body = {RandomReal(g, 0, 50), RandomReal(g, 0, 50)};
  p.prCount = kMaxPolar;
  for (int i = 1; i <= kMaxPolar; ++i)
    p.prPoints[static_cast<size_t>(i)] = {RandomReal(g, 0, 6.28L), RandomReal(g, 10, 100)};
  p.calc.linearize = std::uniform_int_distribution<int>(0, 1)(g) == 1;
  p.sinSq = {RandomReal(g, 10, 200), RandomReal(g, 0, 30), RandomReal(g, 10, 360)};
  p.calc.fitMode = std::uniform_int_distribution<int>(0, 1)(g);
  p.calc.splineRes = std::uniform_int_distribution<int>(2, 200)(g);
  p.eccentric = {RandomReal(g, 10, 200), RandomReal(g, 0, 40)};
  return p;
}

namespace {

class Comparer {
 public:
  void real(const std::string& name, Real a, Real b, int decimals) {
    if (!diff.empty()) return;
    // Half a unit of the last written decimal, with room for the binary value.
    Real tol = 0.5L * std::pow(10.0L, -decimals) * 1.001L + std::fabs(a) * 1e-17L;
    if (std::fabs(a - b) > tol) {
      std::ostringstream s;
      s.precision(20);
      s << name << ": " << a << " != " << b;
      diff = s.str();
    }
  }
  void integer(const std::string& name, long long a, long long b) {
    if (diff.empty() && a != b) diff = name + ": " + std::to_string(a) + " != " + std::to_string(b);
  }
  void text(const std::string& name, const std::string& a, const std::string& b) {
    if (diff.empty() && a != b) diff = name + ": \"" + a + "\" != \"" + b + "\"";
  }
  std::string diff;
};

std::string N(const char* base, int i) { return std::string(base) + "[" + std::to_string(i) + "]"; }

}  // namespace

std::string CompareInputs(const CamProject& a, const CamProject& b) {
  Comparer c;
  auto at = [](int i) { return static_cast<size_t>(i); };
  c.integer("curveType", a.curveType, b.curveType);
  c.integer("basePointCount", a.basePointCount, b.basePointCount);
  for (int i = 1; i <= a.basePointCount && i <= b.basePointCount; ++i) {
    c.real(N("x", i), a.basePoints[at(i)].x, b.basePoints[at(i)].x, 4);
    c.real(N("y", i), a.basePoints[at(i)].y, b.basePoints[at(i)].y, 4);
    c.real(N("phi", i), a.basePoints[at(i)].phi, b.basePoints[at(i)].phi, 6);
  }
  c.real("arcStep", a.calc.arcStep, b.calc.arcStep, 7);
  c.integer("segmentCount", a.segmentCount, b.segmentCount);
  for (int i = 1; i <= a.segmentCount && i <= b.segmentCount; ++i) {
    c.real(N("xMax", i), a.segments[at(i)].xMax, b.segments[at(i)].xMax, 7);
    c.text(N("formula", i), a.segments[at(i)].formula, b.segments[at(i)].formula);
  }
  c.real("ellipse.a", a.ellipse.a, b.ellipse.a, 7);
  c.real("ellipse.b", a.ellipse.b, b.ellipse.b, 7);
  c.integer("ellipse.variant", a.ellipse.variant, b.ellipse.variant);
  c.real("sine.rw0", a.sine.rw0, b.sine.rw0, 7);
  c.real("sine.A", a.sine.A, b.sine.A, 7);
  c.integer("sine.N", a.sine.N, b.sine.N);
  c.real("linSine.rw0", a.linSine.rw0, b.linSine.rw0, 7);
  c.real("linSine.A", a.linSine.A, b.linSine.A, 7);
  c.real("linSine.phiLin", a.linSine.phiLin, b.linSine.phiLin, 7);
  c.integer("polygon.z", a.polygon.z, b.polygon.z);
  c.real("polygon.di", a.polygon.di, b.polygon.di, 7);
  c.real("polygon.de", a.polygon.de, b.polygon.de, 7);
  c.real("sinSq.db", a.sinSq.db, b.sinSq.db, 7);
  c.real("sinSq.sh", a.sinSq.sh, b.sinSq.sh, 7);
  c.real("sinSq.w", a.sinSq.w, b.sinSq.w, 7);
  c.real("eccentric.d", a.eccentric.d, b.eccentric.d, 7);
  c.real("eccentric.e", a.eccentric.e, b.eccentric.e, 7);
  c.integer("poly.n", a.poly.n, b.poly.n);
  for (int i = 1; i <= a.poly.n && i <= b.poly.n; ++i) {
    c.real(N("coef", i), a.poly.coef[at(i)], b.poly.coef[at(i)], 14);
    c.real(N("poly.phi", i), a.poly.points[at(i)].phi, b.poly.points[at(i)].phi, 7);
    c.real(N("poly.r", i), a.poly.points[at(i)].r, b.poly.points[at(i)].r, 7);
  }
  c.integer("prCount", a.prCount, b.prCount);
  for (int i = 1; i <= a.prCount && i <= b.prCount; ++i) {
    c.real(N("pr.phi", i), a.prPoints[at(i)].phi, b.prPoints[at(i)].phi, 7);
    c.real(N("pr.r", i), a.prPoints[at(i)].r, b.prPoints[at(i)].r, 7);
  }
  c.real("arcStep", a.calc.arcStep, b.calc.arcStep, 7);
  c.integer("steps", a.calc.steps, b.calc.steps);
  c.integer("linearize", a.calc.linearize, b.calc.linearize);
  c.integer("splineRes", a.calc.splineRes, b.calc.splineRes);
  c.integer("fitMode", a.calc.fitMode, b.calc.fitMode);
  c.real("speed", a.speed, b.speed, 7);
  c.integer("ram.type", a.ram.type, b.ram.type);
  c.real("ram.d", a.ram.d, b.ram.d, 7);
  c.real("ram.l", a.ram.l, b.ram.l, 7);
  c.real("ram.m", a.ram.m, b.ram.m, 7);
  c.real("body.bore", a.body.bore, b.body.bore, 7);
  c.real("body.width", a.body.width, b.body.width, 7);
  c.text("zeichname", a.drawing.zeichname, b.drawing.zeichname);
  c.text("zeichname2", a.drawing.zeichname2, b.drawing.zeichname2);
  c.text("zeichnr", a.drawing.zeichnr, b.drawing.zeichnr);
  c.text("bemerk1", a.drawing.bemerk1, b.drawing.bemerk1);
  c.text("bemerk2", a.drawing.bemerk2, b.drawing.bemerk2);
  c.text("bemerk3", a.drawing.bemerk3, b.drawing.bemerk3);
  c.integer("changeCount", a.changeCount, b.changeCount);
  for (int i = 1; i <= a.changeCount && i <= b.changeCount; ++i) {
    const ChangeRecord &x = a.changes[at(i)], &y = b.changes[at(i)];
    c.text(N("changeText", i), x.changeText, y.changeText);
    c.text(N("changeDate", i), x.changeDate, y.changeDate);
    c.text(N("responsible", i), x.responsible, y.responsible);
    c.text(N("description", i), x.description, y.description);
  }
  for (int i = 0; i < 4; ++i) {
    c.text(N("row.date", i), a.info.rows[at(i)].date, b.info.rows[at(i)].date);
    c.text(N("row.name", i), a.info.rows[at(i)].name, b.info.rows[at(i)].name);
  }
  c.text("replacementFor", a.info.replacementFor, b.info.replacementFor);
  c.text("replacedBy", a.info.replacedBy, b.info.replacedBy);
  c.text("responsibleDept", a.info.responsibleDept, b.info.responsibleDept);
  c.text("documentType", a.info.documentType, b.info.documentType);
  c.text("documentStatus", a.info.documentStatus, b.info.documentStatus);
  c.integer("textSheetMode", a.info.textSheetMode, b.info.textSheetMode);
  c.integer("textCount", a.info.textCount, b.info.textCount);
  for (int i = 1; i <= a.info.textCount && i <= b.info.textCount; ++i) {
    const DrawingText &x = a.info.texts[at(i)], &y = b.info.texts[at(i)];
    c.real(N("text.x", i), x.x, y.x, 7);
    c.real(N("text.y", i), x.y, y.y, 7);
    c.real(N("text.h", i), x.h, y.h, 7);
    c.real(N("text.angle", i), x.angle, y.angle, 7);
    c.text(N("text", i), x.text, y.text);
  }
  for (int i = 1; i <= kDocumentLinks; ++i) {
    c.text(N("link.program", i), a.links[at(i)].program, b.links[at(i)].program);
    c.text(N("link.file", i), a.links[at(i)].file, b.links[at(i)].file);
  }
  return c.diff;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> out;
  for (auto l : io::SplitLines(bytes)) out.emplace_back(l);
  return out;
}

}  // namespace kamo::test
