// The motion programme dialog's logic.
#include "shell/motioninput.h"

#include <cmath>

#include "core/codepage.h"
#include "core/fields.h"
#include "core/numbers.h"
#include "shell/session.h"

namespace kamo {

namespace {
constexpr int kTopicMotion = 7805;
constexpr int kPreviewSamples = 721;

std::string Show(const Session& s, const std::string& cp850) { return DisplayText(s.settings.numbers, cp850); }

int LawIndex(MotionLaw law) {
  const auto& all = AllMotionLaws();
  for (size_t i = 0; i < all.size(); ++i)
    if (all[i] == law) return static_cast<int>(i);
  return 0;
}
}  // namespace

MotionProgramme DefaultMotionProgramme() {
  MotionProgramme p;
  p.base = 40;
  p.sections = {{MotionLaw::Cycloidal, 120, 20, 0},
                {MotionLaw::Dwell, 60, 20, 0},
                {MotionLaw::Poly345, 120, 0, 0},
                {MotionLaw::Dwell, 60, 0, 0}};
  return p;
}

MotionEditor::MotionEditor(Session& s, MotionProgramme& last) : s_(s), last_(last) {
  if (last_.sections.empty()) last_ = DefaultMotionProgramme();
}

MotionForm MotionEditor::form() {
  const NumberStyle& ns = s_.settings.numbers;
  MotionForm f;
  f.caption = "Bewegungsprogramm";
  for (MotionLaw l : AllMotionLaws()) f.laws.push_back(Show(s_, MotionLawName(l)));
  f.base = Show(s_, FormatRoundTrip(ns, LengthToDisplay(ns, last_.base)));
  for (const MotionSection& sec : last_.sections)
    f.rows.push_back({LawIndex(sec.law), Show(s_, FormatRoundTrip(ns, sec.spanDeg)),
                      Show(s_, FormatRoundTrip(ns, LengthToDisplay(ns, sec.lift)))});
  f.lengthUnit = Show(s_, UnitLength(ns));
  f.angleUnit = Show(s_, UnitAngle(ns));
  f.helpTopic = kTopicMotion;
  return f;
}

MotionError MotionEditor::read(const std::string& base, const std::vector<MotionRow>& rows,
                               MotionProgramme& prog, bool& complete) const {
  const NumberStyle& ns = s_.settings.numbers;
  std::vector<MotionRowText> texts;
  const auto& all = AllMotionLaws();
  for (const MotionRow& r : rows) {
    MotionLaw law = r.law >= 0 && r.law < static_cast<int>(all.size()) ? all[static_cast<size_t>(r.law)]
                                                                       : MotionLaw::Dwell;
    texts.push_back({law, Utf8ToCp850(r.span), Utf8ToCp850(r.lift)});
  }
  return MotionProgrammeFromRows(Utf8ToCp850(base), texts, ns.inch() ? kMmPerInch : 1, prog, complete);
}

MotionPreview MotionEditor::preview(const std::string& base, const std::vector<MotionRow>& rows) {
  MotionPreview pv;
  MotionProgramme prog;
  bool complete = false;
  MotionError e = read(base, rows, prog, complete);
  pv.error = Show(s_, e.message);
  Real n = s_.project().speed;
  if (!(n > 0) || !std::isfinite(static_cast<double>(n))) n = 0;
  Real w = 2 * kPi * n / 60;
  pv.curves = {{"s", "mm", {}}, {"v", "m/s", {}}, {"a", "m/s\xC2\xB2", {}}, {"j", "m/s\xC2\xB3", {}}};
  for (const MotionSample& x : SampleMotionProgramme(prog, kPreviewSamples)) {
    pv.phi.push_back(static_cast<double>(x.phiDeg));
    pv.curves[0].values.push_back(static_cast<double>(LengthToDisplay(s_.settings.numbers, x.s)));
    pv.curves[1].values.push_back(static_cast<double>(x.v * w / 1000));
    pv.curves[2].values.push_back(static_cast<double>(x.a * w * w / 1000));
    pv.curves[3].values.push_back(static_cast<double>(x.j * w * w * w / 1000));
  }
  if (s_.settings.numbers.inch()) pv.curves[0].unit = "in";
  Real sum = 0;
  for (const MotionSection& sec : prog.sections) sum += sec.spanDeg;
  NumberStyle dot;
  pv.summary = Show(s_, "Summe " + FormatRoundTrip(dot, sum) + "\xF8 von 360\xF8, " +
                            std::to_string(MotionSegmentCount(prog.sections)) + " von " +
                            std::to_string(kMaxSegments) + " Segmenten, n = " + FormatRoundTrip(dot, n) +
                            " 1/min");
  return pv;
}

std::string MotionEditor::confirm(const std::string& base, const std::vector<MotionRow>& rows) {
  MotionProgramme prog;
  bool complete = false;
  MotionError e = read(base, rows, prog, complete);
  if (!e.ok()) return Show(s_, e.message);
  CamProject& p = s_.project();
  // The speed, the follower and the steps stay those of the project.
  e = ApplyMotionProgramme(prog, p);
  if (!e.ok()) return Show(s_, e.message);
  last_ = prog;
  return {};
}

bool EditMotionProgramme(Session& s, MotionProgramme& last) {
  s.uiState.helpTopic = kTopicMotion;
  MotionEditor e(s, last);
  if (!s.ui.port().motionDialog(e)) {
    s.flags.abortFlag = true;
    return false;
  }
  s.flags.abortFlag = false;
  return true;
}

}  // namespace kamo
