// The "Prüfung" report of the engineering checks.
#include "report/checkreport.h"

#include "cam/checks.h"
#include "report/camreport.h"
#include "core/codepage.h"
#include "core/geometry.h"
#include "core/identity.h"
#include "core/numbers.h"

namespace kamo {
namespace {

// CP850 texts.
const char* const kTitle = "Pr\x81" "fung";
const char* const kGrad = "Grad";
const char* const kJerkUnit = "m/s\xFC";
const char* const kStressUnit = "N/mm\xFD";
// The symbol column holds the longest symbol ("phi alpha max") and a blank.
constexpr int kSymbolWidth = 14;

class CheckPrintout {
 public:
  CheckPrintout(ReportEngine& e, const CamProject& p) : e_(e), p_(p), c_(p.checks), ns_(e.numbers()) {}

  void write() {
    const bool tab = e_.tabTarget();
    if (!tab) {
      line("");
      line(kTitle);
      e_.ReportLine(e_.ReportDoubleRule());
      inputs();
      line("");
      line("Ergebnisse");
      thin();
    }
    results();
    if (!tab) {
      line("");
      line("Befund");
      thin();
    }
    const char dec = ns_.decimalSeparator;
    for (const CheckFinding& f : c_.findings) row("Befund", "verdict", "", FindingText(f, p_.checkData, dec));
    if (c_.findings.empty() && !tab) line("ohne Befund");
    if (!tab && !hertzApplies()) line(hertzNote());
  }

 private:
  std::string len() const { return UnitLength(ns_); }
  std::string length(Real x) const { return FormatLengthFixed(ns_, 4, 3, x); }
  std::string angle(Real deg) const { return FormatFixed(ns_, 4, 3, deg); }
  std::string phi(Real rad) const { return angle(RadToDeg(rad)); }
  std::string general(Real x) const { return FormatGeneral(ns_, x); }
  void row(const std::string& label, const std::string& symbol, const std::string& unit,
           const std::string& value) {
    e_.ReportValueRow(label, symbol, unit, value, kSymbolWidth);
  }
  void line(const std::string& text) { e_.ReportLine(text); }
  void thin() { e_.ReportLine(e_.ReportThinRule()); }
  bool hertzApplies() const { return !c_.flat && c_.rollerRadius > 0 && p_.body.width > 0; }
  std::string hertzNote() const {
    if (c_.flat) return "Hertzsche Pressung: nur f\x81r den runden St\x94\xE1" "el berechnet";
    if (!(c_.rollerRadius > 0)) return "Hertzsche Pressung: St\x94\xE1" "el ohne Durchmesser (Spitze)";
    return "Hertzsche Pressung: Breite Nocken = 0";
  }

  void inputs() {
    const CheckInputs& in = p_.checkData;
    line("Eingaben");
    thin();
    row("Zul\x84ssiger Druckwinkel", "alpha zul", kGrad, angle(in.alphaLimit));
    row("Federvorspannung", "F0", UnitForce(ns_), FormatForce(ns_, in.preload));
    row("Federrate", "k", "N/mm", general(in.rate));
    row("E-Modul Nocken", "E1", kStressUnit, general(in.eCam));
    row("Querkontraktionszahl Nocken", "nu1", "", general(in.nuCam));
    row("E-Modul St\x94\xE1" "el", "E2", kStressUnit, general(in.eFollower));
    row("Querkontraktionszahl St\x94\xE1" "el", "nu2", "", general(in.nuFollower));
    row("Masse St\x94\xE1" "el", "m", "kg", general(p_.ram.m));
    row("Breite Nocken", "b", len(), length(p_.body.width));
    row(c_.flat ? "St\x94\xE1" "el eben, Breite" : "St\x94\xE1" "el rund, Durchmesser", "d", len(),
        length(2 * c_.rollerRadius));
  }

  void results() {
    row("Max. Druckwinkel", "alpha max", kGrad, angle(c_.alphaMax));
    row("  bei Nockenwinkel", "phi alpha max", kGrad, phi(c_.phiAlphaMax));
    row("Min. Druckwinkel", "alpha min", kGrad, angle(c_.alphaMin));
    row("  bei Nockenwinkel", "phi alpha min", kGrad, phi(c_.phiAlphaMin));
    row("Max. Versatz Kontaktpunkt (eben)", "e max", len(), length(c_.flat ? c_.eMax : 0));
    row("Mindestbreite St\x94\xE1" "elfl\x84" "che", "b face", len(), length(c_.flat ? c_.faceWidth : 0));
    row("Min. Kr\x81mmungsradius konvex", "rho min", len(), length(c_.rhoMin));
    row("  bei Nockenwinkel", "phi rho min", kGrad, phi(c_.phiRhoMin));
    row("Max. Kr\x81mmungsradius konvex", "rho max", len(), length(c_.rhoMax));
    row("Min. Kr\x81mmungsradius konkav", "rho concave", len(), length(c_.rhoConcave));
    row("Min. Kr\x81mmungsradius Rollenbahn", "rho p min", len(), length(c_.flat ? 0 : c_.rhoPitchMin));
    row("Max. Ruck", "j max", kJerkUnit, general(c_.jMax));
    row("Min. Ruck", "j min", kJerkUnit, general(c_.jMin));
    row("Max. Kontaktkraft", "F c max", UnitForce(ns_), FormatForce(ns_, c_.fMax));
    row("Min. Kontaktkraft", "F c min", UnitForce(ns_), FormatForce(ns_, c_.fMin));
    row("Max. Hertzsche Pressung", "p H max", kStressUnit, FormatFixed(ns_, 4, 1, c_.pHMax));
  }

  ReportEngine& e_;
  const CamProject& p_;
  const CheckResults& c_;
  const NumberStyle& ns_;
};

}  // namespace

bool CheckReport(ReportEngine& e, int target) {
  const ReportContext& c = e.context();
  const CamProject& p = c.project;
  if (c.ui.flags().calcError || !p.checks.valid) {
    ShowReportErrorList(e);
    return false;
  }
  e.ReportSetHeader(kProgramTitle, p.drawing.bemerk1, p.drawing.bemerk2, p.drawing.bemerk3, "", 0);
  if (!e.ReportOpen(target, c.file.fileName)) return false;
  e.ReportPageHeader(0, 0);
  if (e.aborted()) {
    e.ReportClose();
    return false;
  }
  CheckPrintout(e, p).write();
  e.ReportEndPage();
  if (!e.tabTarget() && !c.messages.empty()) {
    e.ReportPageHeader(0, 0);
    e.ReportMessages();
    e.ReportEndPage();
  }
  return e.ReportClose();
}

std::string CheckStatusLine(const CamProject& p, char dec) {
  const CheckResults& c = p.checks;
  if (!c.valid) return {};
  std::string t = "Pr\u00FCfung: ";
  if (c.findings.empty()) return t + "ohne Befund";
  t += std::to_string(c.findings.size()) + (c.findings.size() == 1 ? " Befund: " : " Befunde: ");
  t += Cp850ToUtf8(FindingText(c.findings.front(), p.checkData, dec));
  if (c.findings.size() > 1) t += " ...";
  return t;
}

}  // namespace kamo
