// Writing and reading the project data file.
#include "io/kamoio.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/codepage.h"
#include "core/identity.h"
#include "core/inputfile.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "io/lines.h"

namespace kamo {

namespace {

// CP850: 0x8E is "Ä".
const char* const kChangesLabel = "\x8E" "NDERUNGEN";
const char* const kElementsLabel = "No. Elements";
const char* const kCurveLabel = "Curve";
const char* const kDocumentsLabel = "Dokumente";
const char* const kHeaderLabel = "ISO 7200 Header";
// A project file is a few hundred kilobytes at most; anything far larger is not one.
constexpr size_t kMaxFileBytes = 16u << 20;

// Every CR LF, CR or LF of text becomes one `with`.
std::string ReplaceLineBreaks(std::string_view text, char with) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += with;
    } else {
      out += c;
    }
  }
  return out;
}

std::string OneLine(std::string_view text) { return ReplaceLineBreaks(text, ' '); }

// The appended block of the check inputs: a marker, then one real per line.
constexpr const char* kCheckDataMarker = "Pr\x81" "fdaten";
constexpr size_t kCheckDataLines = 7;
std::array<Real, kCheckDataLines> CheckDataValues(const CheckInputs& c) {
  return {c.alphaLimit, c.preload, c.rate, c.eCam, c.nuCam, c.eFollower, c.nuFollower};
}
void SetCheckDataValues(CheckInputs& c, const std::array<Real, kCheckDataLines>& v) {
  c.alphaLimit = v[0];
  c.preload = v[1];
  c.rate = v[2];
  c.eCam = v[3];
  c.nuCam = v[4];
  c.eFollower = v[5];
  c.nuFollower = v[6];
}
bool IsDefault(const CheckInputs& c) { return CheckDataValues(c) == CheckDataValues(CheckInputs{}); }

class LineWriter {
 public:
  explicit LineWriter(const NumberStyle& ns) : ns_(ns) {}
  void text(std::string_view s) { put(OneLine(s)); }
  void integer(long long n) { put(IntToText(n)); }
  void real(Real x) { put(io::RealLine(ns_, x)); }
  void longReal(Real x) { put(io::LongRealLine(ns_, x)); }
  void coordinate(int d, Real x) { put(io::FixedLine(ns_, d, x)); }
  void boolean(bool b) { put(io::BoolLine(b)); }
  void put(std::string_view s) {
    out_.append(s);
    out_ += "\r\n";
  }
  const NumberStyle& numbers() const { return ns_; }
  std::string take() { return std::move(out_); }

 private:
  const NumberStyle& ns_;
  std::string out_;
};

// Reads the lines in order, cutting them off the bytes as it goes (CR LF, LF
// or a lone CR ends a line). After the first failure every further call does
// nothing and yields zeros, so the caller can check once at the end; counts
// read as 0 then, which keeps every loop short.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  bool ok() const { return error_.kind == ProjectReadError::Kind::None; }
  const ProjectReadError& error() const { return error_; }
  bool atEnd() const { return off_ >= bytes_.size(); }
  // Whether the line just read had its line end: a file cut inside its last
  // line must not pass for a whole one.
  bool lastReadEnded() const { return lastEnded_; }
  // Lines read so far: at the end of the file, the lines it has.
  int linesRead() const { return lines_; }

  std::string_view next(const char* what) {
    if (!ok()) return {};
    if (atEnd()) {
      fail(ProjectReadError::Kind::Truncated, lines_, what);
      return {};
    }
    size_t i = off_;
    while (i < bytes_.size() && bytes_[i] != '\n' && bytes_[i] != '\r') ++i;
    std::string_view line = bytes_.substr(off_, i - off_);
    lastEnded_ = i < bytes_.size();
    if (lastEnded_ && bytes_[i] == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n') ++i;
    off_ = lastEnded_ ? i + 1 : i;
    ++lines_;
    return line;
  }
  void skip(const char* what) { next(what); }
  std::string text(const char* what) { return std::string(next(what)); }
  Real real(const char* what) { return ParseReal(io::TrimNumber(next(what))); }
  int integer(const char* what) { return ParseInt(io::TrimNumber(next(what))); }
  // A size that cannot be negative (0 stands for "the default").
  Real nonNegative(const char* what) {
    Real v = real(what);
    if (ok() && !(v >= 0)) {
      invalid(std::string(what) + " >= 0 erwartet");
      return 0;
    }
    return v;
  }
  bool boolean(const char* what) { return Upper(io::TrimNumber(next(what))) == "TRUE"; }
  // A count decides how many groups follow: it must be a number within 0..max.
  int count(const char* what, int max) {
    std::string_view s = io::TrimNumber(next(what));
    if (!ok()) return 0;
    int n = 0;
    if (!TryParseInt(s, n) || n < 0 || n > max) {
      invalid(std::string(what) + " 0.." + std::to_string(max) + " erwartet");
      return 0;
    }
    return n;
  }
  // An integer that must lie within lo..hi to be usable at all.
  int ranged(const char* what, int lo, int hi) {
    std::string_view s = io::TrimNumber(next(what));
    if (!ok()) return lo;
    int n = 0;
    if (!TryParseInt(s, n) || n < lo || n > hi) {
      invalid(std::string(what) + " " + std::to_string(lo) + ".." + std::to_string(hi) + " erwartet");
      return lo;
    }
    return n;
  }
  void marker(const char* label) {
    std::string_view s = next(label);
    if (!ok()) return;
    if (Upper(io::TrimNumber(s)) != Upper(label)) invalid(std::string("\"") + label + "\" erwartet");
  }
  // The fields of a "|"-separated line; fewer than `min` fields is an error.
  std::vector<std::string> fields(const char* what, size_t min) {
    std::string_view s = next(what);
    std::vector<std::string> f;
    if (!ok()) return std::vector<std::string>(min);
    size_t start = 0;
    for (size_t i = 0; i < s.size(); ++i)
      if (s[i] == '|') {
        f.emplace_back(s.substr(start, i - start));
        start = i + 1;
      }
    if (start < s.size()) f.emplace_back(s.substr(start));
    if (f.size() < min) {
      invalid(std::string(what) + ": " + std::to_string(min) + " Felder mit \"|\" erwartet");
      return std::vector<std::string>(min);
    }
    return f;
  }
  void invalid(std::string what) {
    fail(ProjectReadError::Kind::Invalid, lines_, std::move(what));
  }

 private:
  void fail(ProjectReadError::Kind kind, int line, std::string what) {
    if (!ok()) return;
    error_.kind = kind;
    error_.line = line;
    error_.what = std::move(what);
  }

  std::string_view bytes_;
  size_t off_ = 0;
  int lines_ = 0;
  bool lastEnded_ = true;
  ProjectReadError error_;
};

template <class T>
size_t Idx(T i) {
  return static_cast<size_t>(i);
}

int Capped(long long n, int max) { return static_cast<int>(std::clamp<long long>(n, 0, max)); }

}  // namespace

std::string DelimitedFieldText(std::string_view text) {
  std::string s = OneLine(text);
  for (char& c : s)
    if (c == '|') c = '\xB3';
  return s;
}

std::string DescriptionToFile(std::string_view text) { return ReplaceLineBreaks(text, '|'); }

std::string DescriptionFromFile(std::string_view line) {
  std::string out(line);
  for (char& c : out)
    if (c == '|') c = '\n';
  return out;
}

std::string ProjectToBytes(const Settings& settings, const CamProject& p) {
  LineWriter w(settings.numbers);
  const NumberStyle& ns = settings.numbers;
  w.put(Dashes(65));
  w.put(std::string(kProgramTitle) + "   V " + kProgramVersion);
  w.put(std::string("Version ") + kProgramVersion);
  w.put(kProductName);
  w.put(Dashes(65));
  w.text(p.drawing.bemerk1);
  w.text(p.drawing.bemerk2);
  w.text(p.drawing.bemerk3);

  w.put(kElementsLabel);
  int points = std::min(Capped(p.basePointCount, kMaxBasePoints), static_cast<int>(p.basePoints.size()) - 1);
  points = std::max(points, 0);
  w.integer(points);
  w.put(Dashes(22));
  for (int i = 1; i <= points; ++i) {
    const ContourPoint& q = p.basePoints[Idx(i)];
    w.put(IntToText(i) + ". Point");
    w.coordinate(4, q.x);
    w.coordinate(4, q.y);
    w.coordinate(6, q.phi);
    w.put("------");
  }
  w.real(p.calc.arcStep);

  w.put(kCurveLabel);
  int segments = Capped(p.segmentCount, kMaxSegments);
  w.integer(segments);
  for (int i = 1; i <= segments; ++i) {
    w.integer(i);
    w.real(p.segments[Idx(i)].xMax);
    w.text(p.segments[Idx(i)].formula);
  }
  w.real(p.ellipse.a);
  w.real(p.ellipse.b);
  w.real(p.sine.rw0);
  w.real(p.sine.A);
  w.integer(p.curveType);
  w.real(p.linSine.rw0);
  w.real(p.linSine.A);
  w.real(p.linSine.phiLin);
  w.text(p.drawing.zeichname);
  w.text(p.drawing.zeichnr);
  w.text(p.drawing.zeichname2);

  // Change records and drawing information.
  w.put(kChangesLabel);
  int changes = Capped(p.changeCount, kMaxChanges);
  w.integer(changes);
  w.put(Dashes(20));
  for (int i = 1; i <= changes; ++i) {
    const ChangeRecord& c = p.changes[Idx(i)];
    w.text(c.changeText);
    w.text(c.changeDate);
    w.text(c.responsible);
    w.put(DescriptionToFile(c.description));
    w.put(Dashes(14));
  }
  const DrawingInfo& info = p.info;
  int texts = Capped(info.textCount, kMaxDrawingTexts);
  std::string row;
  for (const std::string* f : {&info.rows[1].date, &info.rows[1].name, &info.rows[2].date,
                               &info.rows[2].name, &info.rows[3].date, &info.rows[3].name})
    row += DelimitedFieldText(*f) + "|";
  row += IntToText(texts) + "|" + "|";
  w.put(row);
  w.text(info.rows[0].date);
  w.text(info.replacementFor);
  w.text(info.replacedBy);
  w.text(info.rows[0].name);
  for (int i = 1; i <= texts; ++i) {
    const DrawingText& t = info.texts[Idx(i)];
    // Positions keep the precision of every other real of the file.
    w.put(io::RealLine(ns, t.x) + "|" + io::RealLine(ns, t.y) + "|" + io::RealLine(ns, t.h) + "|" +
          io::RealLine(ns, t.angle) + "|" + DelimitedFieldText(t.text) + "|" + "|");
  }

  // Document links.
  w.put(kDocumentsLabel);
  w.integer(kDocumentLinks);
  w.put(Dashes(20));
  for (int i = 1; i <= kDocumentLinks; ++i) {
    w.text(p.links[Idx(i)].program);
    w.text(p.links[Idx(i)].file);
    w.put(Dashes(14));
  }

  w.real(p.speed);
  w.integer(p.calc.steps);
  w.integer(p.ram.type);
  w.real(p.ram.d);
  w.real(p.ram.l);
  w.real(p.ram.m);
  w.integer(p.polygon.z);
  w.real(p.polygon.di);
  w.real(p.polygon.de);
  int n = Capped(p.poly.n, kMaxPoly);
  w.integer(n);
  for (int i = 1; i <= n; ++i) w.longReal(p.poly.coef[Idx(i)]);
  for (int i = 1; i <= n; ++i) w.real(p.poly.points[Idx(i)].phi);
  for (int i = 1; i <= n; ++i) w.real(p.poly.points[Idx(i)].r);
  w.integer(p.sine.N);

  w.put(kHeaderLabel);
  w.integer(settings.titleBlockForm);
  w.integer(info.textSheetMode);
  w.text(info.responsibleDept);
  w.text(info.documentType);
  w.text(info.documentStatus);
  w.put("---");

  w.real(p.body.bore);
  w.real(p.body.width);
  int polar = std::max(std::min(Capped(p.prCount, kMaxPolar), static_cast<int>(p.prPoints.size()) - 1), 0);
  w.integer(polar);
  for (int i = 1; i <= polar; ++i) {
    w.real(p.prPoints[Idx(i)].phi);
    w.real(p.prPoints[Idx(i)].r);
  }
  w.boolean(p.calc.linearize);
  w.real(p.sinSq.db);
  w.real(p.sinSq.sh);
  w.real(p.sinSq.w);
  w.integer(p.ellipse.variant);
  w.integer(p.calc.fitMode);
  w.integer(p.calc.splineRes);
  // Appended after the last row, so that readers that stop there still work.
  w.real(p.eccentric.d);
  w.real(p.eccentric.e);
  // The inputs of the engineering checks, only when they differ from the
  // defaults (so that a project without them keeps its bytes).
  if (!IsDefault(p.checkData)) {
    w.text(kCheckDataMarker);
    for (Real x : CheckDataValues(p.checkData)) w.real(x);
  }
  return w.take();
}

bool ProjectFromBytes(std::string_view bytes, CamProject& p, ProjectReadError& error,
                      int* titleBlockForm) {
  error = ProjectReadError{};
  if (bytes.empty()) {
    error.kind = ProjectReadError::Kind::Empty;
    error.what = "Datei ist leer";
    return false;
  }
  if (bytes.size() > kMaxFileBytes) {
    error.kind = ProjectReadError::Kind::Invalid;
    error.line = 1;
    error.what = "Datei ist zu gro\xE1";
    return false;
  }
  // The lists must hold their capacities whatever the caller passed in.
  if (p.basePoints.size() < kMaxBasePoints + 1) p.basePoints.resize(kMaxBasePoints + 1);
  if (p.prPoints.size() < kMaxPolar + 1) p.prPoints.resize(kMaxPolar + 1);
  LineReader r(bytes);
  for (int i = 0; i < 5; ++i) r.skip("Kopfzeile");
  p.drawing.bemerk1 = r.text("Bemerkung 1");
  p.drawing.bemerk2 = r.text("Bemerkung 2");
  p.drawing.bemerk3 = r.text("Bemerkung 3");

  r.marker(kElementsLabel);
  int points = r.count("Anzahl Punkte", kMaxBasePoints);
  r.skip("Trennlinie");
  for (int i = 1; i <= points; ++i) {
    ContourPoint& q = p.basePoints[Idx(i)];
    r.skip("Punktnummer");
    q.x = r.real("x");
    q.y = r.real("y");
    q.phi = r.real("phi");
    r.skip("Trennlinie");
  }
  p.basePointCount = static_cast<std::uint16_t>(points);
  p.calc.arcStep = r.real("Polygonteilung");

  r.marker(kCurveLabel);
  int segments = r.count("Anzahl Teilkurven", kMaxSegments);
  for (int i = 1; i <= segments; ++i) {
    r.skip("Teilkurvennummer");
    p.segments[Idx(i)].xMax = r.real("xMax");
    p.segments[Idx(i)].formula = r.text("Formel");
  }
  p.segmentCount = segments;
  p.ellipse.a = r.real("ellipse.a");
  p.ellipse.b = r.real("ellipse.b");
  p.sine.rw0 = r.real("sine.rw0");
  p.sine.A = r.real("sine.A");
  p.curveType = static_cast<std::uint16_t>(r.ranged("Kurventyp", ctFormula, ctSinSquare));
  p.linSine.rw0 = r.real("linSine.rw0");
  p.linSine.A = r.real("linSine.A");
  p.linSine.phiLin = r.real("linSine.phiLin");
  p.drawing.zeichname = r.text("Zeichnungsname");
  p.drawing.zeichnr = r.text("Zeichnungsnummer");
  p.drawing.zeichname2 = r.text("Zeichnungsname 2");

  r.skip(kChangesLabel);
  int changes = r.count("Anzahl \x8E" "nderungen", kMaxChanges);
  r.skip("Trennlinie");
  for (int i = 1; i <= changes; ++i) {
    ChangeRecord& c = p.changes[Idx(i)];
    c.changeText = r.text("\x8E" "nderungstext");
    c.changeDate = r.text("\x8E" "nderungsdatum");
    c.responsible = r.text("Bearbeiter");
    c.description = DescriptionFromFile(r.next("Beschreibung"));
    r.skip("Trennlinie");
  }
  p.changeCount = static_cast<std::uint16_t>(changes);
  DrawingInfo& info = p.info;
  std::vector<std::string> f = r.fields("Zeichnungsinfo", 7);
  info.rows[1] = {f[0], f[1]};
  info.rows[2] = {f[2], f[3]};
  info.rows[3] = {f[4], f[5]};
  int texts = 0;
  if (r.ok()) {
    if (!TryParseInt(io::TrimNumber(f[6]), texts) || texts < 0 || texts > kMaxDrawingTexts) {
      r.invalid("Anzahl Texte 0.." + std::to_string(kMaxDrawingTexts) + " erwartet");
      texts = 0;
    }
  }
  info.rows[0].date = r.text("Erstellungsdatum");
  info.replacementFor = r.text("Ersatz f\x81r");
  info.replacedBy = r.text("Ersetzt durch");
  info.rows[0].name = r.text("Erstellt von");
  for (int i = 1; i <= texts; ++i) {
    std::vector<std::string> t = r.fields("Zeichnungstext", 5);
    DrawingText& d = info.texts[Idx(i)];
    d.x = ParseReal(io::TrimNumber(t[0]));
    d.y = ParseReal(io::TrimNumber(t[1]));
    d.h = ParseReal(io::TrimNumber(t[2]));
    d.angle = ParseReal(io::TrimNumber(t[3]));
    d.text = t[4];
  }
  info.textCount = static_cast<std::uint16_t>(texts);

  r.marker(kDocumentsLabel);
  int links = r.count("Anzahl Dokumente", kDocumentLinks);
  r.skip("Trennlinie");
  for (int i = 1; i <= links; ++i) {
    p.links[Idx(i)].program = r.text("Programm");
    p.links[Idx(i)].file = r.text("Dokument");
    r.skip("Trennlinie");
  }

  p.speed = r.real("Drehzahl");
  p.calc.steps = r.integer("Anzahl Schritte");
  p.ram.type = static_cast<std::uint16_t>(r.ranged("St\x94" "sselform", 1, 2));
  p.ram.d = r.nonNegative("St\x94" "sseldurchmesser");
  p.ram.l = r.nonNegative("St\x94" "ssell\x84nge");
  p.ram.m = r.nonNegative("St\x94" "sselmasse");
  p.polygon.z = static_cast<std::uint16_t>(r.ranged("Anzahl Ecken", 0, 65535));
  p.polygon.di = r.real("Schl\x81sselweite");
  p.polygon.de = r.real("Eckweite");
  int n = r.count("Anzahl Koeffizienten", kMaxPoly);
  for (int i = 1; i <= n; ++i) p.poly.coef[Idx(i)] = r.real("Koeffizient");
  for (int i = 1; i <= n; ++i) p.poly.points[Idx(i)].phi = r.real("phi");
  for (int i = 1; i <= n; ++i) p.poly.points[Idx(i)].r = r.real("r");
  p.poly.n = n;
  p.sine.N = r.integer("sine.N");

  r.marker(kHeaderLabel);
  int form = r.integer("Schriftfeld");
  if (titleBlockForm && r.ok()) *titleBlockForm = form;
  info.textSheetMode = r.integer("Textblatt");
  info.responsibleDept = r.text("Verantwortl. Abt.");
  info.documentType = r.text("Dokumentenart");
  info.documentStatus = r.text("Dokumentenstatus");
  r.skip("---");

  p.body.bore = r.real("Bohrungsdurchmesser");
  p.body.width = r.real("Breite");
  int polar = r.count("Anzahl Polarpunkte", kMaxPolar);
  for (int i = 1; i <= polar; ++i) {
    p.prPoints[Idx(i)].phi = r.real("phi");
    p.prPoints[Idx(i)].r = r.real("r");
  }
  p.prCount = polar;
  p.calc.linearize = r.boolean("Polyline");
  p.sinSq.db = r.real("sinSq.db");
  p.sinSq.sh = r.real("sinSq.sh");
  p.sinSq.w = r.real("sinSq.w");
  p.ellipse.variant = r.integer("Ellipsenform");
  p.calc.fitMode = r.integer("Anpassung");
  p.calc.splineRes = r.integer("Aufl\x94sung Spline");
  if (r.ok() && !r.lastReadEnded()) {
    error = {ProjectReadError::Kind::Truncated, r.linesRead() - 1,
             "Aufl\x94sung Spline"};
    return false;
  }
  if (!r.ok()) {
    error = r.error();
    return false;
  }
  // Optional lines appended by this program; older files end before them.
  // A line cut short (no line end) is not taken.
  if (!r.atEnd()) {
    Real d = r.real("eccentric.d");
    if (r.lastReadEnded()) p.eccentric.d = d;
  }
  if (!r.atEnd()) {
    Real e = r.real("eccentric.e");
    if (r.lastReadEnded()) p.eccentric.e = e;
  }
  // The check inputs behind their marker; each line that is missing, cut
  // short or no number keeps its default; a file without them has the defaults.
  p.checkData = CheckInputs{};
  if (!r.atEnd() && r.text("Pr\x81" "fdaten") == kCheckDataMarker && r.lastReadEnded()) {
    std::array<Real, kCheckDataLines> v = CheckDataValues(p.checkData);
    for (Real& x : v) {
      if (r.atEnd()) break;
      Real read = 0;
      std::string_view line = r.next("Pr\x81" "fdaten");
      if (r.lastReadEnded() && TryParseReal(io::TrimNumber(line), read)) x = read;
    }
    SetCheckDataValues(p.checkData, v);
  }
  return true;
}

std::string ProjectReadMessage(const std::string& path, const ProjectReadError& e) {
  std::string name = Utf8ToCp850(path);
  switch (e.kind) {
    case ProjectReadError::Kind::Empty:
      return "Leere Projektdatei " + name;
    case ProjectReadError::Kind::Truncated:
      return "Unvollst\x84ndige Projektdatei " + name + ": Ende nach Zeile " + IntToText(e.line) +
             ", erwartet: " + e.what;
    case ProjectReadError::Kind::Invalid:
      return "Ung\x81ltige Projektdatei " + name + ", Zeile " + IntToText(e.line) + ": " + e.what;
    case ProjectReadError::Kind::None:
      break;
  }
  return {};
}

bool WriteProjectFile(Ui& ui, const Settings& settings, const std::string& path,
                      const CamProject& project, long long failAfterBytes) {
  std::string bytes = ProjectToBytes(settings, project);
  TextFileWriter w(ui);
  if (failAfterBytes >= 0) w.failAfterBytes(failAfterBytes);
  if (!w.create(path)) return false;
  w.write(bytes);
  if (!w.close()) {
    ui.flags().abortFlag = true;
    return false;
  }
  return true;
}

bool WriteProject(Ui& ui, const Settings& settings, FileIdentity& file, bool archiveLocked,
                  const std::string& name, const CamProject& project, bool askOverwrite) {
  std::string path;
  bool savedAsk = ui.state().overwriteAsk;
  if (!askOverwrite) ui.state().overwriteAsk = false;
  bool named = ui.askOutputName(name, kProjectExtension, file, archiveLocked, path);
  ui.state().overwriteAsk = savedAsk;
  if (!named) {
    ui.flags().abortFlag = true;
    return false;
  }
  if (!WriteProjectFile(ui, settings, path, project)) return false;
  if (!settings.archiveMode) ui.state().fromCommandLine = false;
  return true;
}

bool ChooseProjectFile(Ui& ui, const FileIdentity& file, std::string& path) {
  FileDialog d;
  d.directory = file.fileDir;
  d.filter = std::string("*.") + kProjectExtension + "|*." + kProjectExtension;
  d.proposed = file.fileName;
  auto chosen = ui.port().openFile(d);
  if (!chosen || chosen->empty()) {
    ui.flags().abortFlag = true;
    return false;
  }
  path = *chosen;
  return true;
}

bool ReadProject(Ui& ui, const Settings& /*settings*/, const std::string& name, CamProject& project,
                 std::string* message, int* titleBlockForm) {
  auto fail = [&](const std::string& text) {
    if (message) *message = text;
    ui.showError(text);
    ui.flags().abortFlag = true;
    return false;
  };
  std::string path = name;
  if (path.empty() && !ChooseProjectFile(ui, FileIdentity{}, path)) return false;
  if (!ui.checkReadable(path)) {
    if (message) {
      InputResult probe = ProbeInputFile(path);
      *message = probe.status == InputStatus::NotRegular && probe.reason != "is a folder"
                     ? NotRegularFileMessage(path)
                     : "Datei " + Utf8ToCp850(path) + " nicht gefunden oder kein Zugriffsrecht !";
    }
    return false;
  }
  // Only a regular file is read, without waiting and within the size limit.
  std::string bytes;
  InputResult in = ReadRegularFile(path, kMaxFileBytes, bytes);
  switch (in.status) {
    case InputStatus::Ok:
      break;
    case InputStatus::TooLarge:
      return fail(ProjectReadMessage(path, {ProjectReadError::Kind::Invalid, 1, "Datei ist zu gro\xE1"}));
    case InputStatus::NotRegular:
      return fail(NotRegularFileMessage(path));
    case InputStatus::Missing:
    case InputStatus::Failed:
      return fail("Lesefehler in Projektdatei " + Utf8ToCp850(path) + ": " + in.reason);
  }
  auto fresh = std::make_unique<CamProject>();
  ProjectReadError error;
  int form = 0;
  if (!ProjectFromBytes(bytes, *fresh, error, &form)) return fail(ProjectReadMessage(path, error));
  project = std::move(*fresh);
  if (titleBlockForm) *titleBlockForm = form;
  return true;
}

}  // namespace kamo
