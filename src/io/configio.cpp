// Reading and writing the configuration file, and the folder checks.
//
// The row order exists once, in Rows(): the writer and the reader walk the
// same sequence, so they cannot drift apart. Each value carries its read
// rule; a value outside its range reads as its default.
#include "io/configio.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>

#include "core/codepage.h"
#include "core/inputfile.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "io/lines.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {

using IntRule = std::function<long long(long long read, long long current)>;
using RealRule = std::function<Real(Real read, Real current)>;
using TextRule = std::function<std::string(const std::string& read, const std::string& current)>;

// lo..hi, else the default.
IntRule In(long long lo, long long hi, long long def) {
  return [=](long long v, long long) { return v >= lo && v <= hi ? v : def; };
}
// Rows without a meaningful range still must fit their field.
IntRule AnyInt(long long def) { return In(INT_MIN, INT_MAX, def); }
RealRule Positive(Real def) {
  return [=](Real v, Real) { return v > 0 ? v : def; };
}
RealRule AnyReal() {
  return [](Real v, Real) { return v; };
}
TextRule AnyText() {
  return [](const std::string& v, const std::string&) { return v; };
}

class Writer {
 public:
  static constexpr bool kReading = false;
  explicit Writer(const Settings& s) : ns_(s.numbers) { ns_.decimalSeparator = '.'; }

  void label(std::string_view text) { put(text); }
  void reserved(std::string_view labelText, bool value) {
    put(labelText);
    put(io::BoolLine(value));
  }
  template <class T>
  void integer(T& v, const IntRule&) {
    put(IntToText(static_cast<long long>(v)));
  }
  void real(Real& v, const RealRule&) { put(io::RealLine(ns_, v)); }
  void dbl(double& v, const RealRule&) { put(io::RealLine(ns_, static_cast<Real>(v))); }
  void boolean(bool& v) { put(io::BoolLine(v)); }
  void booleanUnlessFalse(bool& v) { put(io::BoolLine(v)); }
  void character(char& c) { put(std::string(1, c)); }
  void text(std::string& v, const TextRule&) { put(Single(v)); }
  void path(std::string& v, const TextRule&) { put(Single(io::PathToFile(v))); }
  void done(int) {}

  std::string take() { return std::move(out_); }

 private:
  static std::string Single(const std::string& s) {
    std::string r = s;
    for (char& c : r)
      if (c == '\r' || c == '\n') c = ' ';
    return r;
  }
  void put(std::string_view s) {
    out_.append(s);
    out_ += "\r\n";
  }
  NumberStyle ns_;
  std::string out_;
};

class Reader {
 public:
  static constexpr bool kReading = true;
  explicit Reader(std::string_view bytes) : lines_(io::SplitLines(bytes)) {}

  bool ended() const { return ended_; }
  int lastRow() const { return lastRow_; }

  void label(std::string_view) { next(); }
  void reserved(std::string_view, bool) {
    next();
    next();
  }
  template <class T>
  void integer(T& v, const IntRule& rule) {
    auto line = next();
    if (!line) return;
    long long n = 0;
    std::string_view s = io::TrimNumber(*line);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    auto r = std::from_chars(s.data(), s.data() + s.size(), n);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) n = 0;
    long long x = rule(n, static_cast<long long>(v));
    // The rule keeps values inside the field; this guards the conversion.
    if (x >= static_cast<long long>(std::numeric_limits<T>::min()) &&
        x <= static_cast<long long>(std::numeric_limits<T>::max()))
      v = static_cast<T>(x);
  }
  void real(Real& v, const RealRule& rule) {
    auto line = next();
    if (!line) return;
    v = rule(ParseReal(CommaToPoint(io::TrimNumber(*line))), v);
  }
  void dbl(double& v, const RealRule& rule) {
    auto line = next();
    if (!line) return;
    Real x = rule(ParseReal(CommaToPoint(io::TrimNumber(*line))), static_cast<Real>(v));
    if (std::fabs(x) <= static_cast<Real>(std::numeric_limits<double>::max())) v = static_cast<double>(x);
  }
  void boolean(bool& v) {
    auto line = next();
    if (line) v = Upper(io::TrimNumber(*line)) == "TRUE";
  }
  void booleanUnlessFalse(bool& v) {
    auto line = next();
    if (line) v = Upper(io::TrimNumber(*line)) != "FALSE";
  }
  void character(char& c) {
    auto line = next();
    if (!line) return;
    char first = line->empty() ? 'N' : static_cast<char>(Upper(line->substr(0, 1))[0]);
    c = (first == 'J' || first == 'N') ? first : 'J';
  }
  void text(std::string& v, const TextRule& rule) {
    auto line = next();
    if (line) v = rule(std::string(*line), v);
  }
  void path(std::string& v, const TextRule& rule) {
    auto line = next();
    if (line) v = rule(io::PathFromFile(*line), v);
  }
  void done(int row) {
    if (!ended_) lastRow_ = row;
  }

 private:
  std::optional<std::string_view> next() {
    if (ended_ || pos_ >= lines_.size()) {
      ended_ = true;
      return std::nullopt;
    }
    return lines_[pos_++];
  }
  std::vector<std::string_view> lines_;
  size_t pos_ = 0;
  bool ended_ = false;
  int lastRow_ = 0;
};

std::string TextWindowLine(const Settings& s) {
  return IntToText(s.textWindowLeft) + "|" + IntToText(s.textWindowTop) + "|" + IntToText(s.textWindowWidth) +
         "|" + IntToText(s.textWindowHeight) + "|";
}

// "left|top|width|height|": taken only when width and height are positive.
void ApplyTextWindowLine(Settings& s, std::string_view line) {
  int v[4] = {0, 0, 0, 0};
  size_t start = 0;
  for (int k = 0; k < 4; ++k) {
    size_t bar = line.find('|', start);
    std::string_view f = line.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    v[k] = ParseInt(io::TrimNumber(f));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  if (v[2] <= 0 || v[3] <= 0) return;
  s.textWindowLeft = v[0];
  s.textWindowTop = v[1];
  s.textWindowWidth = v[2];
  s.textWindowHeight = v[3];
}

template <class IO>
void Rows(IO& io, Settings& s, const ConfigContext& ctx) {
  const Settings def;
  io.label(std::string(kFileStem) + " Konfiguration");
  io.label(std::string("Version ") + kProgramVersion);
  io.done(2);
  for (size_t i = 0; i < s.layers.size(); ++i) {
    io.label("Layer");
    io.text(s.layers[i].name, AnyText());
    io.label("Farbe");
    io.integer(s.layers[i].colour, In(0, 16, def.layers[i].colour));
  }
  io.done(3);
  io.label("Textstil CAD");
  io.text(s.cadTextStyle, AnyText());
  io.label("Textbreitenfaktor CAD");
  io.real(s.cadTextWidthFactor, Positive(1));
  io.label("Textwinkel");
  io.real(s.cadTextAngle, AnyReal());
  io.label("CAD Ordner");
  io.path(s.cadDir, AnyText());
  io.label("DBF Ordner");
  io.path(s.dbfDir, AnyText());
  io.label("Hilfegrad");
  io.integer(s.helpLevel, In(0, 2, def.helpLevel));
  io.label("Druckerschnittstelle");
  io.integer(s.printerPort, In(1, 4, 1));
  io.done(10);
  io.label("Druckertyp");
  io.integer(s.printerType, AnyInt(def.printerType));
  io.label("Druckdichte");
  io.integer(s.printDensity, AnyInt(def.printDensity));
  io.label("Hardcopy um 90\xF8 gedreht ?");
  io.character(s.hardcopyRotated);
  io.label("Dezimalstellen");
  io.integer(s.numbers.decimals, In(1, 9, 3));
  io.label("Druckdicke vertikal");
  io.integer(s.printThickness, In(1, 4, 1));
  io.label("Farbgrafik");
  io.boolean(s.colourGraphics);
  io.label("GrafikKorrekturFaktor horizontal");
  io.real(s.graphicsCorrection, Positive(1));
  io.label("Grafik-Mode");
  io.integer(s.graphicsMode, AnyInt(def.graphicsMode));
  io.label("Grafik-Treiber");
  io.integer(s.graphicsDriver, AnyInt(def.graphicsDriver));
  const ScreenInfo& sc = ctx.screen;
  io.label("Aufl\x94sung horizontal");
  io.integer(s.windowWidth, In(1, 100000, sc.width - 9));
  io.label("Aufl\x94sung vertikal");
  io.integer(s.windowHeight, In(1, 100000, sc.height - 91));
  io.label("Ordner f\x81r tempor\x84re Dateien");
  io.path(s.tempDir, AnyText());
  io.label("Druckerschnittstelle Hardcopy");
  io.integer(s.hardcopyPort, In(1, 4, 1));
  io.done(23);
  io.label("EDI Ordner");
  io.path(s.ediDir, AnyText());
  io.label("PLT Ordner");
  io.path(s.pltDir, AnyText());
  io.label("Mode f\x81r Textausdruck 1:* 2:-");
  io.integer(s.textPrintMode, In(1, 4, 1));
  io.label("Zeilen pro Seite f\x81r Drucker");
  io.integer(s.linesPerPage, In(5, 10000, 66));
  io.label("Zoomfaktor");
  io.real(s.zoomFactor, Positive(1.02L));
  io.label("Pan-Faktor");
  // Not the built-in 0.02: a zero here has always read as 0.01.
  io.real(s.panFactor, Positive(0.01L));
  io.label("QUORTEX-Programmverzeichnis");
  io.path(s.programDir, AnyText());
  io.done(30);
  io.label("DRAWOUT-Kommandozeile");
  io.path(s.plotCommands[0], [](const std::string& v, const std::string& cur) { return v.empty() ? cur : v; });
  io.done(31);
  io.label("Hintergrundfarbe");
  io.integer(s.backgroundColour, In(0, 16, def.backgroundColour));
  io.done(32);
  io.label("Windows-Druckmodus (1=mono 2=color) ");
  io.integer(s.windowsPrintMode, In(1, 2, 1));
  io.done(33);
  io.label("Layer Monochrom");
  io.boolean(s.layerMonochrome);
  io.done(34);
  io.label("Textbreitenfaktor Grafik");
  io.real(s.graphicsTextWidthFactor, Positive(0.8L));
  io.done(35);
  io.label("Textstil Grafik");
  io.text(s.graphicsFont, AnyText());
  io.done(36);
  for (size_t n = 0; n < s.layerColours.size(); ++n) {
    io.label("Color Layer " + IntToText(static_cast<long long>(n) + 16));
    long long d = def.layerColours[n];
    io.integer(s.layerColours[n], [d](long long v, long long) { return v == 0 ? 1 : (v >= 1 && v <= 16 ? v : d); });
  }
  io.done(37);
  io.label("Textprogramm");
  io.path(s.textProgram, AnyText());
  io.label("Datenbank mode");
  io.integer(s.databaseMode, AnyInt(def.databaseMode));
  io.label("externe Datenbank");
  io.path(s.externalDatabase, AnyText());
  io.done(40);
  io.label("Windows Screendump Origin X");
  io.integer(s.printOriginX, AnyInt(0));
  io.label("Windows Screendump Origin Y");
  io.integer(s.printOriginY, AnyInt(0));
  io.label("Windows Screendump Scale");
  io.dbl(s.printScaleX, Positive(1));
  io.label("Windows Screendump Border ?");
  io.boolean(s.printBorder);
  io.done(44);
  io.reserved("reserviert", false);
  io.label("Enter Password ?");
  io.boolean(s.userDataFolders);
  io.done(46);
  // Plot program command lines: n, then lines 2..n. Lines beyond the fifth
  // are read past (so the rows after them stay in place) and dropped.
  io.label("DRAWOUT Command lines (n, line 2 .. line n)");
  int count = std::clamp(s.plotCommandCount, 1, 5);
  if constexpr (IO::kReading) {
    int n = count;
    io.integer(n, In(INT_MIN, INT_MAX, 1));
    for (int k = 2; k <= n && !io.ended(); ++k) {
      std::string line;
      io.path(line, AnyText());
      if (k <= 5 && !io.ended()) s.plotCommands[static_cast<size_t>(k - 1)] = line;
    }
    if (!io.ended()) s.plotCommandCount = std::clamp(n, 1, 5);
  } else {
    io.integer(count, AnyInt(1));
    for (int k = 2; k <= count; ++k) io.path(s.plotCommands[static_cast<size_t>(k - 1)], AnyText());
  }
  io.label("Archive Flag ?");
  io.boolean(s.archiveMode);
  io.reserved("reserviert", true);
  io.label("Date Code");
  io.integer(s.numbers.dateFormat, In(1, 5, 3));
  io.label("Header Space Lines");
  io.integer(s.headerSpaceLines, In(0, 30, 0));
  io.label("Text Device");
  io.integer(s.textDevice, In(1, 9, 1));
  io.label("Text Device Window ?");
  io.boolean(s.askTextDevice);
  io.label("Small Online Window ?");
  io.boolean(s.smallOnlineWindow);
  io.label("Enter Diagram Limits ?");
  io.boolean(s.askDiagramLimits);
  io.label("Dot=1 Komma=2");
  io.integer(s.outputSeparator, In(1, 2, 1));
  io.label("Default Data Directory");
  std::string start = ctx.startDir;
  io.path(s.dataDir, [start](const std::string& v, const std::string&) { return v.empty() ? start : v; });
  io.label("Text Height Factor");
  io.real(s.textHeightFactor, [](Real v, Real) { return v < 0.1L ? Real(1) : v; });
  io.label("Input Window Scale %");
  io.integer(s.dialogScale, In(10, 1000, 100));
  io.label("HTML Browser");
  io.path(s.htmlBrowser, AnyText());
  io.done(60);
  io.label("Print Scale Vertical");
  Real scaleX = s.printScaleX;
  io.dbl(s.printScaleY, [scaleX](Real v, Real) { return v < 1e-4L ? scaleX : v; });
  io.label("Line thickness Layer 0..5");
  for (int& t : s.lineThickness) io.integer(t, In(1, 255, 1));
  io.label("Graphic Printout Dialog Box ?");
  io.boolean(s.printDialog);
  io.label("Text window left/top/width/height");
  if constexpr (IO::kReading) {
    std::string line = "-";
    io.text(line, AnyText());
    if (!io.ended()) ApplyTextWindowLine(s, line);
  } else {
    std::string line = TextWindowLine(s);
    io.text(line, AnyText());
  }
  io.label("Metric Units=0,  English units=1");
  io.integer(s.numbers.unitSystem, In(0, 4, 0));
  io.label("printout with header=1, header page 1 only=2");
  io.integer(s.pageHeaderMode, In(1, 2, 1));
  io.label("Text Font Printout");
  io.text(s.printFont, [](const std::string& v, const std::string&) { return v.empty() ? "Courier New" : v; });
  io.label("Text Size Printout");
  io.integer(s.printFontSize, In(1, 1000, 10));
  io.label("Text Style Printout");
  io.integer(s.printFontStyle, AnyInt(def.printFontStyle));
  io.label("Text Style Graphics");
  io.integer(s.graphicsFontStyle, AnyInt(def.graphicsFontStyle));
  io.label("Printer: Portrait=1, Landscape=2");
  io.integer(s.printOrientation, In(1, 2, 2));
  io.label("Edit 3D x,y,z ?");
  io.booleanUnlessFalse(s.ask3dAngles);
  io.label("3D - Default x,y,z");
  for (Real& a : s.view3d) io.real(a, AnyReal());
  io.integer(s.changeIndexStyle, In(0, 3, 0));
  io.integer(s.spreadsheetSeparator, In(1, 2, 2));
  io.text(s.releaseFieldText, AnyText());
  io.label("Decimals DXF,TXT");
  io.integer(s.cadDecimals, In(1, 32, 6));
  io.label("CAD Text Mode");
  io.integer(s.numbers.cadTextType, [](long long v, long long) { return v == 0 ? 1 : (v >= 1 && v <= 3 ? v : 2); });
  io.label("Strichst\x84rke Layer 16..31");
  for (int& t : s.lineThicknessHigh) io.integer(t, In(1, 255, 1));
  io.integer(s.numbers.specialChars, In(0, 1, 0));
  io.integer(s.dialogElementScale, In(10, 1000, 100));
  io.integer(s.angleFormat, In(1, 2, 2));
  io.real(s.dimensionFactor, Positive(1));
  io.integer(s.unused84, AnyInt(0));
  io.integer(s.language, In(0, 12, 0));
  io.integer(s.calcResultGraphic, In(0, 6, 0));
  for (bool& b : s.drawingOptionsOff) io.boolean(b);
  io.boolean(s.noAktuellQuestion);
  io.boolean(s.saveLanguage);
  io.integer(s.titleBlockForm, In(0, 3, 2));
  for (unsigned& c : s.screenColours)
    io.integer(c, [](long long v, long long cur) { return v > 0 && v <= 0xFFFFFF ? v : cur; });
  io.boolean(s.flatten3d);
  io.boolean(s.rightsNoteOff);
  std::string program = s.programDir;
  io.path(s.manualDir, [program](const std::string& v, const std::string&) { return v.empty() ? program : v; });
  io.integer(s.frameMargin, In(0, 1, 1));
  io.boolean(s.frameMarkingOff);
  io.boolean(s.frameScaleOff);
  io.boolean(s.showChanges);
  io.boolean(s.useHeadBlocks);
  io.boolean(s.useInsertBlocks);
  io.boolean(s.noArcCentreWarnings);
  io.boolean(s.startCadApplication);
  io.boolean(s.polylineArcsAsLines);
  io.real(s.arcLineResolution, Positive(0.5L));
  io.integer(s.stlType, In(0, 1, 0));
  io.integer(s.mainWindowSize, In(0, 2, 1));
  io.integer(s.dialogWindowSize, In(0, 1, 1));
  io.integer(s.textWindowSize, In(0, 1, 1));
  io.boolean(s.copyDbfToTemp);
  io.done(109);
  // Our own rows after the last one: the print profiles of the graphic
  // printout, written only when there are any, so that a file without them
  // keeps its last row. A file without them reads as no profiles.
  if constexpr (!IO::kReading) {
    if (s.printProfiles.empty() && s.textPrinterDevices == def.textPrinterDevices &&
        s.stepLevel == def.stepLevel)
      return;
  }
  io.label("Print profiles");
  int profiles = static_cast<int>(s.printProfiles.size());
  io.integer(profiles, In(0, Settings::kMaxPrintProfiles, 0));
  if constexpr (IO::kReading) {
    if (io.ended()) profiles = 0;
    s.printProfiles.assign(static_cast<size_t>(profiles), PrintProfile{});
  }
  for (PrintProfile& p : s.printProfiles) {
    io.text(p.name, [](const std::string& v, const std::string&) { return v.substr(0, 25); });
    io.dbl(p.xscale, Positive(1));
    io.dbl(p.yscale, Positive(1));
    io.integer(p.xorigin, In(-10000, 10000, 0));
    io.integer(p.yorigin, In(-10000, 10000, 0));
    io.boolean(p.landscape);
    io.boolean(p.monochrom);
    io.boolean(p.variable);
    io.boolean(p.borderline);
  }
  if constexpr (IO::kReading) {
    // A file cut short inside the profiles keeps the complete ones.
    if (io.ended()) {
      std::erase_if(s.printProfiles, [](const PrintProfile& p) { return p.name.empty(); });
    }
  }
  io.label("Text printer devices LPT1..LPT4");
  for (std::string& d : s.textPrinterDevices)
    io.path(d, [](const std::string& v, const std::string& cur) { return v.empty() ? cur : v; });
  io.label("STEP: 0 aus, 1 Drahtmodell, 2 + geschlossene Fl\x84" "chen, 3 + alle Fl\x84" "chen");
  io.integer(s.stepLevel, In(0, 3, def.stepLevel));
}

int ScreenDialogScale(const ScreenInfo& sc) {
  long long ppi = sc.pixelsPerInch > 0 ? sc.pixelsPerInch : 96;
  long long v = ppi * 100 / 96;
  if (sc.windowHeight - sc.clientHeight > 58 && sc.clientHeight + 58 > 0)
    v = ppi * sc.windowHeight * 100 / (sc.clientHeight + 58) / 96 + 2;
  return static_cast<int>(std::clamp<long long>(v, 10, 1000));
}

bool ReadFileInto(const std::string& path, std::string& bytes) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  // A configuration is a few kilobytes; read no more than a sane bound.
  constexpr size_t kLimit = 4u << 20;
  bytes.clear();
  char buf[8192];
  while (in && bytes.size() < kLimit) {
    in.read(buf, sizeof buf);
    bytes.append(buf, static_cast<size_t>(in.gcount()));
  }
  return !in.bad();
}

namespace {
constexpr size_t kMaxConfigBytes = 4u << 20;

// The title line of a configuration file ends with "Konfiguration".
bool LooksLikeConfiguration(const std::string& bytes) {
  std::string first = Trim(bytes.substr(0, bytes.find_first_of("\r\n")));
  const std::string mark = "Konfiguration";
  return first.size() >= mark.size() && first.compare(first.size() - mark.size(), mark.size(), mark) == 0;
}
}  // namespace

void ScreenDefaults(Settings& s, const ScreenInfo& sc) {
  s.windowWidth = sc.width - 9;
  s.windowHeight = sc.height - 91;
  s.dialogScale = std::clamp(sc.pixelsPerInch > 0 ? sc.pixelsPerInch * 100 / 96 : 100, 10, 1000);
}

}  // namespace

std::string ConfigFallbackDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return (fs::path(xdg) / "kamo").string() + "/";
  const char* home = std::getenv("HOME");
  if (home && *home) return (fs::path(home) / ".config" / "kamo").string() + "/";
  return "./";
}

std::string ConfigToBytes(const Settings& settings) {
  Writer w(settings);
  Settings copy = settings;
  Rows(w, copy, ConfigContext{});
  return w.take();
}

int ConfigFromBytes(std::string_view bytes, Settings& s, const ConfigContext& ctx) {
  Reader r(bytes);
  Rows(r, s, ctx);
  int last = r.lastRow();
  if (last == 34) {
    // Files of that age had no separate screen text settings.
    s.graphicsTextWidthFactor = s.cadTextWidthFactor;
    s.graphicsFont = "Arial";
  }
  if (last >= 30 && s.dialogWindowSize == 1) {
    s.dialogScale = ScreenDialogScale(ctx.screen);
    s.dialogElementScale = 100;
  }
  if (!s.saveLanguage) s.language = 0;
  return last;
}

bool readConfigFile(Settings& settings, Ui& ui, const std::string& path, const ConfigContext& ctx) {
  std::string bytes;
  if (!ReadFileInto(path, bytes)) {
    ui.flags().abortFlag = true;
    return false;
  }
  ConfigFromBytes(bytes, settings, ctx);
  return true;
}

bool readConfig(Settings& settings, Ui& ui, ConfigPlace& place, const std::string& fallbackDir,
                const ConfigContext& ctx) {
  std::string start = ctx.startDir;
  if (!start.empty() && start.back() != '/') start += '/';
  std::string fallback = fallbackDir;
  if (!fallback.empty() && fallback.back() != '/') fallback += '/';
  for (const std::string& dir : {start, fallback}) {
    ConfigPlace p = place;
    p.dir = dir;
    std::string bytes;
    // A missing file is the normal case; one that is there but cannot be
    // read is said, never passed over in silence.
    InputResult in = ReadRegularFile(p.path(), kMaxConfigBytes, bytes);
    if (in.status == InputStatus::Missing) continue;
    if (!in.ok()) {
      ui.showErrorAlways("Konfigurationsdatei " + Utf8ToCp850(p.path()) + " nicht lesbar: " + in.reason +
                         " (es gelten die Voreinstellungen)");
      continue;
    }
    place.dir = dir;
    if (!LooksLikeConfiguration(bytes))
      ui.showErrorAlways("Konfigurationsdatei " + Utf8ToCp850(p.path()) +
                         " ist keine KAMO-Konfiguration (fehlende Zeilen gelten als Voreinstellung)");
    ConfigFromBytes(bytes, settings, ctx);
    return true;
  }
  place.dir = fallback;
  ScreenDefaults(settings, ctx.screen);
  ui.flags().abortFlag = true;
  return false;
}

bool writeConfig(const Settings& settings, Ui& ui, const std::string& path, long long failAfterBytes) {
  std::error_code ec;
  fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent, ec);
  TextFileWriter w(ui);
  if (failAfterBytes >= 0) w.failAfterBytes(failAfterBytes);
  if (!w.createWithRetry(path)) return false;
  w.write(ConfigToBytes(settings));
  if (!w.close()) {
    ui.flags().abortFlag = true;
    return false;
  }
  return true;
}

StartFolders StartFolders::FromEnvironment(const std::string& startDir, const std::string& programDir) {
  const char* t = std::getenv("TEMP");
  return {startDir, programDir, t ? t : ""};
}

void checkDirectories(Settings& s, Ui& ui, const StartFolders& f) {
  const std::string program = s.programDir.empty() ? f.programDir : s.programDir;
  if (s.tempDir.empty()) s.tempDir = f.tempEnv.empty() ? f.startDir : f.tempEnv;
  if (s.dbfDir.empty()) s.dbfDir = program;
  if (s.pltDir.empty()) s.pltDir = program;
  if (s.ediDir.empty()) s.ediDir = f.startDir;
  if (s.dataDir.empty()) s.dataDir = f.startDir;
  auto valid = [](const std::string& dir) {
    std::error_code ec;
    return !dir.empty() && fs::is_directory(dir, ec);
  };
  // An unset CAD folder is not a fault: output then goes where the user says.
  if (!s.cadDir.empty() && !valid(s.cadDir)) ui.showError("ung\x81ltiger CAD Ordner konfiguriert");
  if (!valid(s.dbfDir)) ui.showError("ung\x81ltiger DBF Ordner konfiguriert");
  if (!valid(s.pltDir)) ui.showError("ung\x81ltiger PLT Ordner konfiguriert");
  while (!valid(s.tempDir)) {
    ui.showError("ung\x81ltiger Ordner f\x81r tempor\x84re Dateien konfiguriert");
    std::string typed = Utf8ToCp850(s.tempDir);
    if (!ui.inputText("Ordner f\x81r tempor\x84re Dateien", 60, typed)) break;
    s.tempDir = Cp850ToUtf8(typed);
  }
  if (!valid(s.ediDir)) ui.showError("ung\x81ltiger EDI Ordner konfiguriert");
  if (!valid(s.dataDir)) ui.showError("ung\x81ltiger Data Ordner konfiguriert");
}

PixelSize MainWindowClientSize(const Settings& s, const ScreenInfo& sc) {
  int w = sc.maxClientWidth > 0 ? sc.maxClientWidth : sc.width - 9;
  int h = sc.maxClientHeight > 0 ? sc.maxClientHeight : sc.height - 91;
  switch (s.mainWindowSize) {
    case 2:
      return {w, h};
    case 1:
      // Integer division as the size rule has it: compare h / 3 with w / 4.
      if (h / 3 < w / 4) return {(h / 3) * 4, h};
      if (w / 4 < h / 3) return {w, (w / 4) * 3};
      return {w, h};
    default:
      return {s.windowWidth, s.windowHeight};
  }
}

PixelRect TextWindowRect(const Settings& s, const ScreenInfo& sc) {
  if (s.textWindowSize != 1) return {s.textWindowLeft, s.textWindowTop, s.textWindowWidth, s.textWindowHeight};
  long long ppi = sc.pixelsPerInch > 0 ? sc.pixelsPerInch : 96;
  long long width = static_cast<long long>(s.printFontSize) * 700 / 10 * ppi / 96;
  width = std::min<long long>(width, sc.width);
  int height = static_cast<int>(std::lround(sc.height * 0.95)) - 40;
  return {20, 40, static_cast<int>(width), height};
}

}  // namespace kamo
