// Motion programmes: the file, the checks and the formula segments.
#include "cam/motionprog.h"

#include <cmath>

#include "core/fields.h"
#include "core/numbers.h"
#include "core/numstyle.h"
#include "core/strings.h"

namespace kamo {

namespace {

// The messages (CP850); the line is appended as " (Zeile N)".
constexpr const char* kMsgFirstLine = "Fehler : erste Zeile muss \"base R0\" sein";
constexpr const char* kMsgBase = "Fehler : Grundkreisradius ung\x81ltig (0.001 .. 1E6 mm)";
constexpr const char* kMsgLaw =
    "Fehler : unbekanntes Bewegungsgesetz (dwell linear harmonic cycloidal 345 4567 modtrap modsine)";
constexpr const char* kMsgSpan = "Fehler : Abschnittswinkel ung\x81ltig (0.01 .. 360\xF8)";
constexpr const char* kMsgLift = "Fehler : Hub ung\x81ltig (Zahl >= 0 mm \x81" "ber dem Grundkreis)";
constexpr const char* kMsgSpeed = "Fehler : Drehzahl ung\x81ltig (Zahl > 0 1/min)";
constexpr const char* kMsgFollower = "Fehler : St\x94\xE1" "el: \"follower round D\" oder \"follower flat D\" (D >= 0 mm)";
constexpr const char* kMsgSteps = "Fehler : Schrittzahl ung\x81ltig (10 .. 1999)";
constexpr const char* kMsgLine = "Fehler : Zeile unverst\x84ndlich";
constexpr const char* kMsgTwice = "Fehler : doppelte Angabe";
constexpr const char* kMsgNoSections = "Fehler : Programm ohne Abschnitte";
constexpr const char* kMsgDwellLift = "Fehler : Rast \x84ndert den Hub";
constexpr const char* kMsgEnd = "Fehler : Ende nicht auf dem Grundkreis (Hub am Ende 0) !";

std::string WithLine(const char* message, int line) {
  std::string m = message;
  if (line > 0) m += " (Zeile " + std::to_string(line) + ")";
  return m;
}
MotionError Err(const char* message, int line) { return {WithLine(message, line), line}; }

bool Number(const std::string& t, Real& v) {
  return TryParseReal(t, v) && std::isfinite(static_cast<double>(v));
}

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> w;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\f' ||
                               line[i] == '\v'))
      ++i;
    size_t b = i;
    while (i < line.size() && !(line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\f' ||
                                line[i] == '\v'))
      ++i;
    if (i > b) w.emplace_back(line.substr(b, i - b));
  }
  return w;
}

// The sum of the spans, for the message.
std::string Degrees(Real x) {
  NumberStyle dot;
  return FormatRoundTrip(dot, x);
}

// One section from its texts; an empty lift keeps the lift (dwell only).
MotionError ReadSection(MotionLaw law, const std::string& span, const std::string& liftText, Real lengthFactor,
                        int line, Real lift, MotionSection& sec) {
  sec.law = law;
  sec.line = line;
  if (!Number(span, sec.spanDeg) || !(sec.spanDeg >= kMotionMinSpan) || sec.spanDeg > 360) return Err(kMsgSpan, line);
  sec.lift = lift;
  if (!Trim(liftText).empty()) {
    if (!Number(liftText, sec.lift)) return Err(kMsgLift, line);
    sec.lift *= lengthFactor;
    if (sec.lift < 0 || sec.lift > 1e6L) return Err(kMsgLift, line);
  } else if (law != MotionLaw::Dwell) {
    return Err(kMsgLift, line);
  }
  if (law == MotionLaw::Dwell && std::fabs(static_cast<double>(sec.lift - lift)) > 1e-12 * (1 + std::fabs(static_cast<double>(lift))))
    return Err(kMsgDwellLift, line);
  if (law == MotionLaw::Dwell) sec.lift = lift;
  return {};
}

}  // namespace

MotionError MotionProgrammeFromRows(const std::string& base, const std::vector<MotionRowText>& rows,
                                    Real lengthFactor, MotionProgramme& prog, bool& complete) {
  complete = false;
  prog.sections.clear();
  Real b = 0;
  bool baseOk = Number(base, b);
  if (baseOk) b *= lengthFactor;
  baseOk = baseOk && b >= kMotionMinBase && b <= 1e6L;
  prog.base = baseOk ? b : 0;
  Real lift = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    MotionSection sec;
    MotionError e = ReadSection(rows[i].law, rows[i].span, rows[i].lift, lengthFactor, static_cast<int>(i) + 1,
                                lift, sec);
    if (!e.ok()) return e;
    lift = sec.lift;
    prog.sections.push_back(sec);
  }
  if (!baseOk) return Err(kMsgBase, 0);
  MotionError e = CheckMotionProgramme(prog);
  complete = e.ok();
  return e;
}

MotionError ParseMotionProgramme(std::string_view text, MotionProgramme& prog) {
  prog = MotionProgramme{};
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  bool haveBase = false;
  Real lift = 0;
  int line = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view l = text.substr(pos, end - pos);
    pos = end + 1;
    ++line;
    size_t hash = l.find('#');
    if (hash != std::string_view::npos) l = l.substr(0, hash);
    std::vector<std::string> w = Words(l);
    if (w.empty()) {
      if (end == text.size()) break;
      continue;
    }
    std::string key = Lower(w[0]);
    if (!haveBase) {
      if (key != "base") return Err(kMsgFirstLine, line);
      if (w.size() != 2) return Err(kMsgLine, line);
      if (!Number(w[1], prog.base) || !(prog.base >= kMotionMinBase) || prog.base > 1e6L) return Err(kMsgBase, line);
      haveBase = true;
      continue;
    }
    if (key == "base") return Err(kMsgTwice, line);
    if (key == "speed") {
      Real v = 0;
      if (w.size() != 2) return Err(kMsgLine, line);
      if (prog.speed) return Err(kMsgTwice, line);
      if (!Number(w[1], v) || !(v > 0) || v > 1e12L) return Err(kMsgSpeed, line);
      prog.speed = v;
      continue;
    }
    if (key == "follower") {
      Real d = 0;
      if (prog.followerType) return Err(kMsgTwice, line);
      std::string kind = w.size() > 1 ? Lower(w[1]) : std::string();
      if (w.size() != 3 || (kind != "round" && kind != "flat") || !Number(w[2], d) || d < 0 || d > 1e6L)
        return Err(kMsgFollower, line);
      prog.followerType = kind == "flat" ? 1 : 2;
      prog.followerD = d;
      continue;
    }
    if (key == "steps") {
      Real n = 0;
      if (w.size() != 2) return Err(kMsgLine, line);
      if (prog.steps) return Err(kMsgTwice, line);
      if (!Number(w[1], n) || n != std::floor(n) || n < 10 || n > 1999) return Err(kMsgSteps, line);
      prog.steps = static_cast<int>(n);
      continue;
    }
    MotionLaw law = MotionLaw::Dwell;
    if (!MotionLawFromKeyword(w[0], law)) return Err(kMsgLaw, line);
    if (w.size() < 2 || w.size() > 3 || (law != MotionLaw::Dwell && w.size() != 3)) return Err(kMsgLine, line);
    MotionSection sec;
    MotionError e = ReadSection(law, w[1], w.size() == 3 ? w[2] : std::string(), 1, line, lift, sec);
    if (!e.ok()) return e;
    lift = sec.lift;
    prog.sections.push_back(sec);
  }
  if (!haveBase) return Err(kMsgFirstLine, line);
  return CheckMotionProgramme(prog);
}

int MotionSegmentCount(const std::vector<MotionSection>& sections) {
  int n = 0;
  for (const MotionSection& s : sections) n += MotionLawPieces(s.law);
  return n;
}

MotionError CheckMotionProgramme(const MotionProgramme& prog) {
  if (!std::isfinite(static_cast<double>(prog.base)) || !(prog.base >= kMotionMinBase) || prog.base > 1e6L)
    return Err(kMsgBase, 0);
  if (prog.sections.empty()) return Err(kMsgNoSections, 0);
  Real sum = 0, lift = 0;
  for (const MotionSection& s : prog.sections) {
    if (!std::isfinite(static_cast<double>(s.spanDeg)) || !(s.spanDeg >= kMotionMinSpan) || s.spanDeg > 360)
      return Err(kMsgSpan, s.line);
    if (!std::isfinite(static_cast<double>(s.lift)) || s.lift < 0 || s.lift > 1e6L)
      return Err(kMsgLift, s.line);
    if (s.law == MotionLaw::Dwell && s.lift != lift) return Err(kMsgDwellLift, s.line);
    lift = s.lift;
    sum += s.spanDeg;
  }
  if (std::fabs(static_cast<double>(sum - 360)) > 1e-9) {
    int last = prog.sections.back().line;
    std::string m = "Fehler : Winkelsumme " + Degrees(sum) + "\xF8 statt 360\xF8 !";
    return {WithLine(m.c_str(), last), last};
  }
  if (lift != 0) return Err(kMsgEnd, prog.sections.back().line);
  int n = MotionSegmentCount(prog.sections);
  if (n > kMaxSegments)
    return {"Fehler : zu viele Segmente: das Programm braucht " + std::to_string(n) + ", h\x94" "chstens " +
                std::to_string(kMaxSegments) + " !",
            0};
  return {};
}

std::vector<teilkurveRec> MotionProgrammeSegments(const MotionProgramme& prog) {
  std::vector<teilkurveRec> out{teilkurveRec{0, {}}};
  Real from = 0, lift = 0;
  for (size_t i = 0; i < prog.sections.size(); ++i) {
    const MotionSection& s = prog.sections[i];
    Real to = i + 1 == prog.sections.size() ? Real(360) : from + s.spanDeg;
    for (teilkurveRec& r : MotionLawSegments(s.law, from, to, prog.base + lift, prog.base + s.lift))
      out.push_back(r);
    from = to;
    lift = s.lift;
  }
  return out;
}

MotionError ApplyMotionProgramme(const MotionProgramme& prog, CamProject& project) {
  MotionError e = CheckMotionProgramme(prog);
  if (!e.ok()) return e;
  std::vector<teilkurveRec> segs = MotionProgrammeSegments(prog);
  project.curveType = ctFormula;
  project.segments.fill(teilkurveRec{360, {}});
  project.segments[0] = teilkurveRec{0, {}};
  for (size_t i = 1; i < segs.size(); ++i) project.segments[i] = segs[i];
  project.segmentCount = static_cast<int>(segs.size()) - 1;
  if (prog.speed) project.speed = *prog.speed;
  if (prog.followerType) project.ram.type = static_cast<std::uint16_t>(*prog.followerType);
  if (prog.followerD) project.ram.d = *prog.followerD;
  if (prog.steps) project.calc.steps = *prog.steps;
  return {};
}

std::string MotionProgrammeText(const MotionProgramme& prog) {
  NumberStyle dot;
  std::string t = "base " + FormatRoundTrip(dot, prog.base) + "\n";
  for (const MotionSection& s : prog.sections)
    t += std::string(MotionLawKeyword(s.law)) + " " + FormatRoundTrip(dot, s.spanDeg) + " " +
         FormatRoundTrip(dot, s.lift) + "\n";
  if (prog.speed) t += "speed " + FormatRoundTrip(dot, *prog.speed) + "\n";
  if (prog.followerType)
    t += std::string("follower ") + (*prog.followerType == 1 ? "flat " : "round ") +
         FormatRoundTrip(dot, prog.followerD.value_or(0)) + "\n";
  if (prog.steps) t += "steps " + std::to_string(*prog.steps) + "\n";
  return t;
}

std::vector<MotionSample> SampleMotionProgramme(const MotionProgramme& prog, int samples) {
  std::vector<MotionSample> out;
  if (samples < 2 || prog.sections.empty()) return out;
  Real total = 0;
  for (const MotionSection& s : prog.sections)
    if (s.spanDeg > 0 && std::isfinite(static_cast<double>(s.spanDeg))) total += s.spanDeg;
  if (!(total > 0)) return out;
  out.reserve(static_cast<size_t>(samples));
  size_t k = 0;
  Real from = 0, lift = 0;
  for (int i = 0; i < samples; ++i) {
    Real phi = total * i / (samples - 1);
    auto span = [&](size_t m) {
      Real v = prog.sections[m].spanDeg;
      return v > 0 && std::isfinite(static_cast<double>(v)) ? v : Real(0);
    };
    while (k + 1 < prog.sections.size() && (span(k) == 0 || phi > from + span(k))) {
      from += span(k);
      lift = prog.sections[k].lift;
      ++k;
    }
    const MotionSection& s = prog.sections[k];
    Real w = span(k) > 0 ? span(k) : Real(1);
    Real beta = w * kPi / 180;
    Real h = s.lift - lift;
    LawValue y = EvalMotionLaw(s.law, (phi - from) / w);
    out.push_back({phi, lift + h * y.y, h * y.v / beta, h * y.a / (beta * beta), h * y.j / (beta * beta * beta)});
  }
  return out;
}

}  // namespace kamo
