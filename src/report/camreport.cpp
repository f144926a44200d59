// Content of the cam printouts: curve definition, section values, follower,
// speed and extremes, and the remarks block.
#include "report/camreport.h"

#include <algorithm>

#include "core/explanations.h"
#include "core/geometry.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "core/strings.h"

namespace kamo {
namespace {

// CP850 texts.
const char* const kDeg = "\xF8";
const char* const kFollower = "St\x94ssel";

class Printout {
 public:
  Printout(ReportEngine& e, const CamProject& p) : e_(e), p_(p), ns_(e.numbers()) {}

  void write(int mode);

 private:
  std::string len() const { return UnitLength(ns_); }
  std::string lenAuto(Real x) const { return FormatLength(ns_, x); }
  std::string lenFixed(int w, int d, Real x) const { return FormatLengthFixed(ns_, w, d, x); }
  std::string fixed(int w, int d, Real x) const { return FormatFixed(ns_, w, d, x); }
  std::string autoF(Real x) const { return FormatGeneral(ns_, x); }
  void row(const std::string& label, const std::string& symbol, const std::string& unit,
           const std::string& value) {
    e_.ReportValueRow(label, symbol, unit, value);
  }
  void line(const std::string& text) { e_.ReportLine(text); }
  void thin() { e_.ReportLine(e_.ReportThinRule()); }

  void curveDefinition();
  void pointLines(int n, const PolarPoint* points);
  void sectionValues();
  void followerAndSpeed();
  void extremes();

  ReportEngine& e_;
  const CamProject& p_;
  const NumberStyle& ns_;
};

void Printout::pointLines(int n, const PolarPoint* points) {
  line("Koordinatenpunkte");
  thin();
  for (int i = 1; i <= n; ++i) {
    const PolarPoint& pt = points[i];
    line("phi " + std::to_string(i) + " = " + fixed(1, 5, pt.phi) + " (" +
         fixed(3, 2, RadToDeg(pt.phi)) + kDeg + ")    r1 =" + lenFixed(5, 3, pt.r) + " " + len());
  }
  thin();
}

void Printout::curveDefinition() {
  switch (p_.curveType) {
    case ctFormula: {
      line("Kurvenform definiert durch Formeln:");
      ReportTable t(e_, {3, 8, 8, 50}, {"  i", " phi 0", " phi n", " f (phi)"});
      t.SetRowRules(false);
      int n = std::clamp(p_.segmentCount, 0, kMaxSegments);
      for (int i = 1; i <= n; ++i) {
        const auto& s = p_.segments[static_cast<size_t>(i)];
        t.Row({SpacePad(i, 3), fixed(5, 1, p_.segments[static_cast<size_t>(i - 1)].xMax),
               fixed(5, 1, s.xMax), " " + s.formula});
      }
      t.Done();
      break;
    }
    case ctEllipse:
      line("Ellipse");
      thin();
      row("halbe L\x84nge", "a", len(), lenAuto(p_.ellipse.a));
      row("halbe Breite", "b", len(), lenAuto(p_.ellipse.b));
      break;
    case ctSine:
      line("Sinusfunktion");
      thin();
      line("f (phi) = " + lenAuto(p_.sine.rw0) + " + " + lenAuto(p_.sine.A) + " * sin (phi)");
      break;
    case ctLinearSine:
      line("Linear-Sinus");
      thin();
      row("Grundkreisradius", "rw0", len(), lenAuto(p_.linSine.rw0));
      row("Steigung", "m", len(), lenAuto(p_.linSine.A));
      row("Wendepunkt", "phi", UnitAngle(ns_), autoF(p_.linSine.phiTurn));
      break;
    case ctPoints: {
      line("GEOMETRIE KONTUR");
      ReportTable t(e_, {3, 11, 11, 10},
                    {"  i", "       x " + len(), "       y " + len(), "   phi " + UnitAngle(ns_)});
      t.SetRowRules(false);
      int n = std::clamp(static_cast<int>(p_.basePointCount), 0, kMaxBasePoints);
      n = Min(n, static_cast<int>(p_.basePoints.size()) - 1);
      for (int i = 1; i <= n; ++i) {
        const auto& b = p_.basePoints[static_cast<size_t>(i)];
        t.Row({SpacePad(i, 3), lenFixed(8, 2, b.x), lenFixed(8, 2, b.y),
               fixed(8, 1, RadToDeg(b.phi))});
      }
      t.Done();
      break;
    }
    case ctPolygon:
      line("Polygon");
      thin();
      row("Anzahl Ecken", "z", "", SpacePad(p_.polygon.z, 7));
      row("Schl\x81sselweite (Inkreis)", "s", len(), lenFixed(5, 2, p_.polygon.di));
      row("Eckweite (Umkreis)", "e", len(), lenFixed(5, 2, p_.polygon.de));
      break;
    case ctPolynomial: {
      line("Polynomfunktion");
      thin();
      line("r1 = f (phi) =");
      line("");
      int n = std::clamp(p_.poly.n, 0, kMaxPoly);
      for (int i = 1; i <= n; ++i)
        line(fixed(8, 15, p_.poly.coef[static_cast<size_t>(i)]) + " phi^" + std::to_string(i - 1));
      thin();
      break;
    }
    case ctFitPoints:
      pointLines(std::clamp(p_.poly.n, 0, kMaxPoly), p_.poly.points.data());
      break;
    case ctPolarPoints: {
      int n = std::clamp(p_.prCount, 0, kMaxPolar);
      n = Min(n, static_cast<int>(p_.prPoints.size()) - 1);
      pointLines(n, p_.prPoints.data());
      break;
    }
    case ctEccentric:
      line("Exzenter");
      thin();
      row("Durchmesser", "d", len(), lenFixed(5, 2, p_.eccentric.d));
      row("Exzentrizit\x84t", "e", len(), lenFixed(5, 2, p_.eccentric.e));
      thin();
      break;
    case ctSinSquare:
      line("Nockenkurve : r (phi) = db/2 + sh * sin2(180\xF8/w * phi)");
      line("Nockenkurve : r (phi) = " + lenAuto(p_.sinSq.db / 2) + " + " + lenAuto(p_.sinSq.sh) +
           " * sin2(180/" + autoF(p_.sinSq.w) + " * phi)");
      thin();
      break;
    default:
      break;
  }
}

void Printout::sectionValues() {
  const SectionProps& s = p_.section;
  std::string area = UnitArea(ns_), moment = UnitMoment(ns_);
  auto m = [this](Real x) { return FormatMoment(ns_, x); };
  line("");
  row("Querschnittsfl\x84" "che", "A", area, FormatArea(ns_, s.A));
  row("Polares Fl\x84" "chenmoment 2.Ord.", "IP0", moment, m(s.IP0));
  row("Schwerpunktkoordinate", "xs", len(), lenAuto(s.xs));
  row("Schwerpunktkoordinate", "ys", len(), lenAuto(s.ys));
  row("Ax.Fl\x84" "chenmoment Schwerpunkt", "IxS", moment, m(s.IxS));
  row("Ax.Fl\x84" "chenmoment Schwerpunkt", "IyS", moment, m(s.IyS));
  row("Ax.Fl\x84" "chenmoment Schwerpunkt", "IxyS", moment, m(s.IxyS));
  row("Polares Fl\x84" "chenmoment Schw.p.", "IpS", moment, m(s.IpS));
  row("Hauptfl\x84" "chenmoment 1", "I1", moment, m(s.I1));
  row("Hauptfl\x84" "chenmoment 2", "I2", moment, m(s.I2));
  row("Hauptwinkel phi", "phi", "Grad", autoF(RadToDeg(s.phi)));
  row("Umfangsl\x84nge", "U", len(), lenAuto(s.U));
  e_.ReportEnsureRoom(0);
}

void Printout::followerAndSpeed() {
  line(" ");
  line(kFollower);
  thin();
  row(std::string("Durchmesser ") + kFollower, "d", len(), lenFixed(5, 2, p_.ram.d));
  row(std::string("L\x84nge ") + kFollower, "l", len(), lenFixed(5, 2, p_.ram.l));
  row(std::string("Masse ") + kFollower, "m", "g", fixed(5, 2, p_.ram.m * 1000));
  line("");
  row("Drehzahl", "n", "1/min", autoF(p_.speed));
  row("Kreisfrequenz", "omega", "1/s", autoF(p_.speed * 2 * kPi / 60));
  if (p_.speed > 0) row("Periodendauer", "T", "s", autoF(60 / p_.speed));
}

void Printout::extremes() {
  const CamResults& r = p_.results;
  auto at = [this](const std::string& label, Real phi) {
    return label + autoF(RadToDeg(phi)) + kDeg + ")";
  };
  std::string force = UnitForce(ns_);
  line("");
  line("Min./Max.");
  thin();
  row(at("Max.Kurvenradius (phi=", r.phiRMax), "r max", len(), lenFixed(4, 3, r.rMax));
  row(at("Min.Kurvenradius (phi=", r.phiRMin), "r min", len(), lenFixed(4, 3, r.rMin));
  row("St\x94\xE1" "elhub", "h", len(), lenFixed(4, 3, r.stroke));
  row(at("s max (phi=", r.phiSMax), "s max", len(), lenFixed(4, 3, r.sMax - r.sMin));
  row(at("s min (phi=", r.phiSMin), "s min", len(), lenFixed(4, 3, 0));
  row(at("Max.Geschwindigkeit(phi=", r.phiVMax), "v max", "m/s", autoF(r.vMax));
  row(at("Min.Geschwindigkeit(phi=", r.phiVMin), "v min", "m/s", autoF(r.vMin));
  row(at("Max.Beschleunigung (phi=", r.phiAMax), "a max", "m/s\xFD", autoF(r.aMax));
  row(at("Min.Beschleunigung (phi=", r.phiAMin), "a min", "m/s\xFD", autoF(r.aMin));
  row(at("Max.Kraft F= m * a (phi=", r.phiAMax), "F max", force, FormatForce(ns_, r.aMax * p_.ram.m));
  row(at("Min.Kraft F= m * a (phi=", r.phiAMin), "F min", force, FormatForce(ns_, r.aMin * p_.ram.m));
}

void Printout::write(int mode) {
  line("");
  line("Nocken");
  e_.ReportLine(e_.ReportDoubleRule());
  bool full = mode == pmUnattended || mode == pmStandard;
  if (full && p_.basePointCount > 0) curveDefinition();
  row("Breite", "b", len(), lenFixed(5, 2, p_.body.width));
  if (p_.body.bore > 0.2L) row("Bohrungsdurchmesser", "dB", len(), lenFixed(5, 2, p_.body.bore));
  if (full) sectionValues();
  followerAndSpeed();
  extremes();
}

// Writes the messages on a page of their own, then closes the output.
bool Finish(ReportEngine& e) {
  e.ReportEndPage();
  if (!e.context().messages.empty()) {
    e.ReportPageHeader(0, 0);
    e.ReportMessages();
    e.ReportEndPage();
  }
  return e.ReportClose();
}

}  // namespace

void ShowReportErrorList(ReportEngine& engine) {
  const ReportContext& c = engine.context();
  ErrorListContext ctx{c.explanationFile, c.tempDir, c.settings.helpLevel, c.noGui};
  showErrorList(c.ui, ctx, c.messages);
}

bool CamPrintout(ReportEngine& e, int mode) {
  const ReportContext& c = e.context();
  if (c.ui.flags().calcError) {
    ShowReportErrorList(e);
    return false;
  }
  const CamProject& p = c.project;
  e.ReportSetHeader(kProgramTitle, p.drawing.bemerk1, p.drawing.bemerk2, p.drawing.bemerk3, "", 0);
  if (!e.ReportOpen(0, c.file.fileName)) return false;
  e.ReportPageHeader(0, 0);
  if (e.aborted()) {
    e.ReportClose();
    return false;
  }
  Printout(e, p).write(mode);
  return Finish(e);
}

bool MessageReport(ReportEngine& e) {
  const ReportContext& c = e.context();
  if (c.messages.empty()) {
    c.ui.showNote("Berechnung erfolgreich ohne Fehlermeldungen");
    return false;
  }
  const DrawingTexts& d = c.project.drawing;
  e.ReportSetHeader(std::string(kProductName) + " V" + kProgramVersion, "Error Messages", d.bemerk1,
                    d.bemerk2, d.bemerk3, 1);
  if (c.ui.flags().calcError) {
    ShowReportErrorList(e);
    return false;
  }
  if (!e.ReportOpen(otScreen, c.file.fileName + ".txt")) return false;
  e.ReportPageHeader(0, 0);
  e.ReportMessages();
  e.ReportEndPage();
  return e.ReportClose();
}

}  // namespace kamo
