// The CAD output: the state every output shares (offset, layer, text style,
// z range, passes), the breaking down of what a writer does not draw itself
// (arcs and circles into lines, polylines into lines and arcs, solids into
// edges, blocks into their replayed elements), composites and block files.
// Each element goes to the one current writer of the format table.
#include "cad/cad.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <initializer_list>

#include "cad/dxffile.h"
#include "cad/dxfreader.h"
#include "cad/plot.h"
#include "core/codepage.h"
#include "core/geometry.h"
#include "core/identity.h"
#include "core/inputfile.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "display/displaylist.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
// The resolution of arcs drawn as lines; a value of 0 or below means 0.5 mm.
Real ArcResolution(const Settings& s) { return s.arcLineResolution > 0 ? s.arcLineResolution : 0.5L; }

// The full path of a file as a header names it.
std::string ShownFileName(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  fs::path full = fs::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

// An element is drawn only when every number it carries is a number of a
// drawing: finite, and far enough inside the range of double (which every
// file and the display list use) that the writers' own arithmetic (end
// points, squares, transforms) stays finite too. Anything else would reach
// the file as nan or inf; such an element is left out.
constexpr Real kMaxElementNumber = 1e30L;
bool Drawable(std::initializer_list<Real> numbers) {
  for (Real v : numbers)
    if (!(std::fabs(v) <= kMaxElementNumber)) return false;
  return true;
}
}  // namespace

CadOutput::CadOutput(CadEnvironment env) : env_(std::move(env)), settings_(*env_.settings) {}

CadOutput::~CadOutput() { RemoveBlockFiles(); }

const std::string& CadOutput::blockFolder() {
  std::error_code ec;
  if (!blockFolder_.empty() && fs::is_directory(blockFolder_, ec)) return blockFolder_;
  blockFolder_.clear();
  // mkdtemp makes the folder for this output alone (mode 0700): nobody can
  // plant a link, a FIFO or a file under one of its names.
  fs::path base = env_.tempDir.empty() ? fs::temp_directory_path(ec) : fs::path(env_.tempDir);
  std::string pattern = (base / "kamo-XXXXXX").string();
  if (::mkdtemp(pattern.data())) blockFolder_ = pattern;
  return blockFolder_;
}

void CadOutput::message(const std::string& text) {
  if (env_.messages) env_.messages->add(text);
}

CadWriter* CadOutput::current() const {
  if (block_) return block_.get();
  // Outside a block file, the blocks section of an output without blocks draws nothing.
  if (inBlocks_ && !(format_->natives & kNativeBlocks)) return nullptr;
  return writer_.get();
}

DisplayList* CadOutput::recordingList() const {
  CadWriter* w = current();
  return w ? w->displayList() : nullptr;
}

unsigned CadOutput::natives() const {
  // The block files are DXF.
  return block_ ? FormatOf(CadOutputKind::Dxf).natives : format_->natives;
}

bool CadOutput::emulatesPolylines() const {
  return !(current() && (natives() & kNativePolylines) && polylineNative_);
}

std::string CadOutput::LayerName(int n) const {
  if (drawMode_ == 2) return std::to_string(n);
  if (n == 0) return "0";
  if (n >= 1 && n <= 5) return settings_.layers[static_cast<size_t>(n - 1)].name;
  return std::to_string(n);
}

int CadOutput::LayerOfName(std::string_view name) const {
  if (name == "0") return 0;
  for (int i = 1; i <= 5; ++i)
    if (name == settings_.layers[static_cast<size_t>(i - 1)].name) return i;
  int n = 0;
  return TryParseInt(name, n) ? n : 0;
}

// ---------------------------------------------------------------- structure

void CadOutput::CadOpen(int code, std::string_view /*name*/) {
  Ui& ui = *env_.ui;
  stepLevel_ = settings_.stepLevel >= 0 && settings_.stepLevel <= 3 ? settings_.stepLevel : 0;
  if (code == 0) {
    auto& texts = ui.state().choiceTexts;
    int offered = ChoiceCount(stepLevel_);
    for (int i = 1; i <= offered; ++i) texts[static_cast<size_t>(i)] = kOutputFormats[i - 1].choiceText;
    int k = CodeOf(kind_) <= offered ? CodeOf(kind_) : 1;
    if (!ui.inputChoice("CAD-Code", offered, k)) return;
    code = k;
  }
  offsetX_ = offsetY_ = 0;
  env_.drawingKind = 0;
  paper_ = {};
  std::optional<CadOutputKind> chosen = KindOfCode(code);
  if (!chosen) {
    ui.showError("Ausgabe " + std::to_string(code) + " ist noch nicht verf\x81gbar");
    setAbort();
    return;
  }
  kind_ = *chosen;
  format_ = &FormatOf(kind_);
  fileName_.clear();
  writer_.reset();
  block_.reset();
  if (format_->userFile) {
    std::string ext = format_->extension;
    if (env_.batch) {
      fileName_ = !env_.batchPath.empty() ? env_.batchPath : env_.batchFile + "." + ext;
    } else {
      FileDialog d;
      d.directory = settings_.cadDir;
      d.filter = "*." + ext + "|*." + ext + "|*.*|*.*";
      d.proposed = env_.projectStem;
      auto picked = ui.port().saveFile(d);
      if (!picked || picked->empty() || FileNamePart(*picked).empty()) {
        setAbort();
        return;
      }
      std::string path = *picked;
      std::string name = FileNamePart(path);
      size_t dot = name.rfind('.');
      path = path.substr(0, path.size() - name.size()) +
             (dot == std::string::npos ? name : name.substr(0, dot)) + "." + ext;
      if (!ui.checkNewFile(path)) return;
      fileName_ = path;
    }
  }
  CadWriterContext wc;
  wc.ui = env_.ui;
  wc.settings = env_.settings;
  wc.messages = env_.messages;
  wc.clock = env_.clock;
  wc.fileName = fileName_;
  wc.shownName = ShownFileName(fileName_);
  wc.stepLevel = stepLevel_;
  wc.closedSolid = stlClosedSolid_;
  wc.display = env_.display;
  wc.plot = env_.plot;
  wc.tempDir = env_.tempDir;
  wc.batch = env_.batch;
  wc.layerName = layerName_;
  wc.productName = env_.productName;
  writer_ = format_->factory(std::move(wc));
  if (!writer_->Open()) {
    writer_.reset();
    setAbort();
    return;
  }
  // The plot hand-off names its own file.
  if (std::string own = writer_->fileName(); !own.empty()) fileName_ = own;
  alignH_ = alignV_ = 0;
  lineSpacing_ = 1;
  penMode_ = 0;
  drawMode_ = 0;
  inBlocks_ = false;
  heightCancelled_ = false;
  polylineNative_ = writer_->PolylinesWanted();
  open_ = true;
}

void CadOutput::CadWindow(Real xMin, Real yMin, Real xMax, Real yMax, Real height) {
  if (!open_) return;
  winXMin_ = xMin;
  winYMin_ = yMin;
  winXMax_ = xMax;
  winYMax_ = yMax;
  winWidth_ = xMax - xMin;
  winHeight_ = yMax - yMin;
  if (!writer_->ExtrusionHeight(height, heightCancelled_)) setAbort();
  if (!writer_->Window(CadPage{xMin, yMin, xMax, yMax, paper_.width, paper_.height})) setAbort();
  if ((format_->page & kPageBorder) && settings_.printBorder) {
    CadLayer(19);
    CadRect(xMin, yMin, xMax, yMax);
  }
  if (format_->page & kPageFooter) {
    CadLayer(30);
    CadTextStyle(2, 0, 0.006L * winHeight_, 0.0045L * winWidth_);
    std::string footer = std::string("QUORTEX ") + kProductName + " V" + kProgramVersion;
    if (!settings_.drawingOptionsOff[4] && env_.clock) {
      DateTime t = env_.clock->now();
      char hm[16];
      std::snprintf(hm, sizeof hm, "%02d:%02d", t.hour % 100, t.minute % 100);
      footer = FormatDate(settings_.numbers, t.year, t.month, t.day) + " " + hm + " - " + footer +
               " - " + LeftPart(env_.projectPath, 120);
    }
    CadText(footer, xMin + 0.005L * winWidth_, yMin + 0.002L * winHeight_);
  }
  if (height > 0) CadSetZ(0, height);
}

void CadOutput::CadTables(int mode) {
  if (open_) writer_->Tables(mode);
}

void CadOutput::CadBeginBlocks() {
  if (!open_) return;
  writer_->BeginBlocks();
  inBlocks_ = true;
}

void CadOutput::CadBeginBlock(std::string_view name) {
  if (!open_ || abort()) return;
  if (format_->natives & kNativeBlocks) {
    writer_->BeginBlock(name);
    return;
  }
  // The file is new and this output's own: created exclusively in the
  // private folder, never through a link, never an existing file.
  block_.reset();
  std::string key(name);
  const std::string& dir = blockFolder();
  blockPath_ = dir.empty() ? std::string() : (fs::path(dir) / ("$" + key + ".dx$")).string();
  auto own = ownBlocks_.find(key);
  if (own != ownBlocks_.end() && own->second != FileKey{} && !blockPath_.empty())
    ::unlink(blockPath_.c_str());  // defined again: our own file is replaced
  ownBlocks_[key] = FileKey{};
  readBack_.erase(key);
  blockName_ = key;
  int fd = blockPath_.empty()
               ? -1
               : ::open(blockPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    int err = blockPath_.empty() ? ENOENT : errno;
    if (fd >= 0) ::close(fd);
    message("Fehler : Blockdatei $" + key + ".dx$: " + std::strerror(err));
    setAbort();
    return;
  }
  ownBlocks_[key] = {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
  if (std::find(blockFiles_.begin(), blockFiles_.end(), blockPath_) == blockFiles_.end())
    blockFiles_.push_back(blockPath_);
  block_ = std::make_unique<BlockFileWriter>(settings_, blockPath_, fd, layerName_);
}

void CadOutput::CadEndBlock() {
  if (!open_) return;
  if (abort()) {
    env_.flags->abortFlag = false;
    block_.reset();
    return;
  }
  if (format_->natives & kNativeBlocks) {
    writer_->EndBlock();
  } else if (block_) {
    if (!block_->Close(false)) {
      if (int err = block_->error())
        message("Fehler : Blockdatei " + Utf8ToCp850(FileNamePart(blockPath_)) + ": " + std::strerror(err));
      setAbort();
    } else if (DxfReadResult read; block_->readBack(read)) {
      readBack_[blockName_] = std::move(read);
    }
    block_.reset();
  }
}

void CadOutput::CadEndSection() {
  if (!open_) return;
  writer_->EndSection();
  inBlocks_ = false;
}

bool CadOutput::blockFileExists(std::string_view name) const {
  auto own = ownBlocks_.find(std::string(name));
  if (own != ownBlocks_.end()) return own->second != FileKey{};
  std::error_code ec;
  return !env_.tempDir.empty() && fs::exists(fs::path(env_.tempDir) / ("$" + std::string(name) + ".dx$"), ec);
}

void CadOutput::insertLogo(const char* name, Real f) {
  if (!blockFileExists(name)) return;
  CadInsert(name, winXMin_ + 0.91L * winWidth_, winYMin_ + f * winHeight_, 0, winWidth_ / 480,
            winHeight_ / 360);
}

void CadOutput::CadBeginEntities() {
  if (!open_) return;
  writer_->BeginEntities();
  penMode_ = 0;
  if ((format_->page & kPageLogos) && env_.drawingKind != 2 && env_.drawingKind != 3) {
    insertLogo("LOGO_2", 0.01L);
    insertLogo("LOGO_3", 0.96L);
  }
}

bool CadOutput::CadPassDone() const { return writer_ ? writer_->PassDone() : true; }

bool CadOutput::CadClose() {
  if (!open_) return false;
  open_ = false;
  bool aborted = abort();
  stepLevel_ = 0;
  block_.reset();
  bool ok = writer_->Close(aborted);
  writer_.reset();
  RemoveBlockFiles();
  // The finished file opens in the user's CAD application; never in batch mode.
  if (ok && !aborted && !heightCancelled_ && format_->userFile && settings_.startCadApplication &&
      !env_.batch && !fileName_.empty())
    env_.ui->port().openWithApplication(fileName_);
  return ok;
}

void CadOutput::RemoveBlockFiles() {
  block_.reset();
  // Only the files this output created, and only while they are still those files.
  for (const std::string& f : blockFiles_) {
    FileKey key;
    bool ours = false;
    for (const auto& [name, k] : ownBlocks_)
      if (k != FileKey{} && FileKeyOf(f, key) && key == k) ours = true;
    if (ours) ::unlink(f.c_str());
  }
  blockFiles_.clear();
  ownBlocks_.clear();
  readBack_.clear();
  // The private folder goes with them (it stays only if someone put a file in it).
  if (!blockFolder_.empty()) ::rmdir(blockFolder_.c_str());
  blockFolder_.clear();
}

// ---------------------------------------------------------------- settings

void CadOutput::CadOffset(Real x, Real y) {
  offsetX_ = x;
  offsetY_ = y;
}

void CadOutput::CadLayer(int n) {
  if (n < 0) n = 0;
  if (n > 31) n = n % 16 + 16;
  layerNo_ = n;
  layerName_ = LayerName(n);
  if (block_) block_->Layer(n, drawMode_, layerName_);
  // Inside the blocks section an output without blocks keeps its pen.
  if (writer_ && !(inBlocks_ && !(format_->natives & kNativeBlocks))) writer_->Layer(n, drawMode_, layerName_);
}

void CadOutput::CadPenMode(int m) { penMode_ = m; }

void CadOutput::CadPause(int ms) {
  if (open_ && current() == writer_.get() && writer_) writer_->Pause(ms);
}

void CadOutput::CadTextAlign(int h, int v) {
  alignH_ = h < 0 || h > 2 ? 0 : h;
  alignV_ = v < 0 || v > 2 ? 0 : v;
}

void CadOutput::CadTextStyle(int kind, Real angle, Real height, Real width) {
  textHeight_ = height;
  Real f = settings_.cadTextWidthFactor;
  if (width == 0) textWidthFactor_ = f * 0.7L;
  else if (height != 0) textWidthFactor_ = f * (width / height);
  else textWidthFactor_ = f;
  long rounded = std::isfinite(angle) ? std::lround(static_cast<double>(angle)) : 0;
  if (rounded >= 5 && rounded <= 85) {
    Real a1 = 640, a2 = 480;
    if (env_.display) {
      a1 = env_.display->transform().resX;
      a2 = env_.display->transform().resY;
    }
    angle = RadToDeg(std::atan2(a2 * std::sin(DegToRad(angle)), a1 * std::cos(DegToRad(angle)) * 0.75L));
  }
  textAngle_ = angle;
  textOblique_ = settings_.cadTextAngle;
  if (open_ && writer_ && current() == writer_.get() && Drawable({height, width, angle}))
    writer_->TextStyle(kind, height, width, angle);
}

void CadOutput::CadFitTextStyle(int kind, std::string_view text, Real angle, Real height,
                                Real width, Real maxLength) {
  Real needed = width * static_cast<Real>(Trim(text).size()) * settings_.graphicsTextWidthFactor / 0.7L;
  if (needed > 0 && maxLength < needed) {
    Real k = 0.9L * maxLength / needed;
    width *= k;
    height *= k;
  }
  CadTextStyle(kind, angle, height, width);
}

void CadOutput::CadSetZ(Real z0, Real z1) {
  solidZ0_ = z0;
  solidZ1_ = z1;
  if (writer_) writer_->SetZ(z0, z1);
}

// ---------------------------------------------------------------- elements

void CadOutput::CadLine(Real x1, Real y1, Real x2, Real y2) {
  if (!open_) return;
  x1 += offsetX_, x2 += offsetX_, y1 += offsetY_, y2 += offsetY_;
  if (!Drawable({x1, y1, x2, y2})) return;
  if (CadWriter* w = current()) w->Line(x1, y1, x2, y2);
}

void CadOutput::circleAsLines(Real x, Real y, Real r, bool clockwise) {
  r = std::fabs(r);
  Real res = ArcResolution(settings_);
  Real c = 2 * kPi * r;
  CadMoveTo(x + r, y);
  if (!std::isfinite(c) || c <= res) {
    CadLineTo(x + r, y);
    return;
  }
  long n = static_cast<long>(std::min<Real>(std::round(c / res), 100000));
  Real step = 2 * kPi / static_cast<Real>(n);
  if (clockwise) step = -step;
  for (long i = 0; i <= n; ++i) {
    // The ring closes exactly where it began.
    if (i == 0 || i == n) {
      CadLineTo(x + r, y);
      continue;
    }
    Real a = static_cast<Real>(i) * step + (clockwise ? 2 * kPi : 0);
    CadLineTo(x + r * std::cos(a), y + r * std::sin(a));
  }
}

void CadOutput::arcSegments(Real xc, Real yc, Real r, Real start, Real s) {
  r = std::fabs(r);
  Real L = std::fabs(s) * r;
  if (!(L > 0) || !std::isfinite(L)) return;
  CadMoveTo(xc + r * std::cos(start), yc + r * std::sin(start));
  long count = ArcChordCount(s, L, ArcResolution(settings_));
  if (count == 0) {
    CadLineTo(xc + r * std::cos(start + s), yc + r * std::sin(start + s));
    return;
  }
  Real step = s / static_cast<Real>(count);
  Real ex = xc + r * std::cos(start + s), ey = yc + r * std::sin(start + s);
  for (long i = 0; i < count; ++i) {
    Real a = start + static_cast<Real>(i) * step;
    CadLineTo(xc + r * std::cos(a), yc + r * std::sin(a));
  }
  CadLineTo(ex, ey);
}

bool CadOutput::segmentsArcs() const { return current() && !(natives() & kNativeArcs); }

void CadOutput::CadCircle(Real x, Real y, Real r) {
  if (!open_ || !Drawable({x + offsetX_, y + offsetY_, r})) return;
  if (segmentsArcs()) {
    circleAsLines(x, y, r, false);
    return;
  }
  if (CadWriter* w = current()) w->Circle(x + offsetX_, y + offsetY_, r);
}

void CadOutput::CadHoleCircle(Real x, Real y, Real r) {
  if (!open_ || !Drawable({x + offsetX_, y + offsetY_, r})) return;
  // Segmented clockwise, so that the bore's walls face the other way.
  if (segmentsArcs()) {
    circleAsLines(x, y, r, true);
    return;
  }
  CadCircle(x, y, r);
}

void CadOutput::CadArc(Real x, Real y, Real a1, Real a2, Real r) {
  if (!open_ || r == 0) return;
  CadArcSweep(x, y, a1, a2, r, 0);
}

void CadOutput::CadArcSweep(Real x, Real y, Real a1, Real a2, Real r, Real sweep) {
  if (!open_ || r == 0 || !Drawable({x + offsetX_, y + offsetY_, a1, a2, r, sweep})) return;
  if (segmentsArcs()) {
    Real s = sweep;
    if (s == 0) {
      if (a2 < a1) a2 += 360;
      s = a2 - a1;
    }
    arcSegments(x, y, r, DegToRad(a1), DegToRad(s));
    return;
  }
  if (CadWriter* w = current()) w->ArcDeg(CadArcData{x + offsetX_, y + offsetY_, r, a1, a2, sweep});
}

void CadOutput::CadText(std::string_view text, Real x, Real y) {
  if (!open_ || text.empty()) return;
  Real w = static_cast<Real>(text.size()) * textHeight_ * textWidthFactor_;
  if (alignH_ == 1) x -= w * 0.5L;
  if (alignH_ == 2) x -= w;
  if (alignV_ == 1) y -= textHeight_ * 0.5L;
  if (alignV_ == 2) y -= textHeight_;
  x += offsetX_, y += offsetY_;
  if (!Drawable({x, y, textHeight_, textWidthFactor_, textAngle_, textOblique_})) return;
  if (CadWriter* c = current())
    c->Text(text, x, y, CadTextData{textHeight_, textWidthFactor_, textAngle_, textOblique_});
}

void CadOutput::CadSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  if (!open_) return;
  CadWriter* w = current();
  if (!w) return;
  x1 += offsetX_, x2 += offsetX_, x3 += offsetX_, x4 += offsetX_;
  y1 += offsetY_, y2 += offsetY_, y3 += offsetY_, y4 += offsetY_;
  if (!Drawable({x1, y1, x2, y2, x3, y3, x4, y4})) return;
  // A writer without fills gets the outline.
  if ((natives() & kNativeSolids) && w->Solid(x1, y1, x2, y2, x3, y3, x4, y4)) return;
  w->Line(x1, y1, x2, y2);
  w->Line(x2, y2, x3, y3);
  w->Line(x3, y3, x4, y4);
  w->Line(x4, y4, x1, y1);
}

void CadOutput::CadInsert(std::string_view name, Real x, Real y, Real angle, Real scaleX,
                          Real scaleY) {
  if (!open_ || !Drawable({x, y, angle, scaleX, scaleY})) return;
  // A block of this output is inserted; any other (a block that exists only
  // as a file in the temporary folder: logo, head, insert blocks) is replayed.
  CadWriter* w = current();
  if (w && (natives() & kNativeBlocks) && w->HasBlock(name)) {
    w->Insert(name, x, y, angle, scaleX, scaleY);
    return;
  }
  ins_ = InsertTransform{};
  replayed_ = 0;
  DxfReplay(name, x, y, angle, scaleX, scaleY);
  ins_ = InsertTransform{};
}

void CadOutput::CadBeginPolyline(int flags) {
  if (!open_) return;
  polylineClosed_ = (flags & 1) != 0;
  vertexNo_ = 1;
  vertexAngle_ = 0;
  if (!emulatesPolylines()) current()->BeginPolyline(flags);
}

void CadOutput::arcAsLines(Real sx, Real sy, Real ex, Real ey, Real s) {
  ArcCentre c = GetArcCenter({sx, sy}, {ex, ey}, s);
  if (!c.ok) return;
  Real L = std::fabs(s) * c.r;
  if (L == 0) return;
  CadMoveTo(sx, sy);
  long count = ArcChordCount(s, L, ArcResolution(settings_));
  if (count == 0) {
    CadLineTo(ex, ey);
    return;
  }
  Real step = s / static_cast<Real>(count);
  for (long i = 0; i <= count; ++i) {
    Real a = c.start + static_cast<Real>(i) * step;
    CadLineTo(c.c.x + c.r * std::cos(a), c.c.y + c.r * std::sin(a));
  }
}

void CadOutput::arcVertices(CadWriter& w, Real sx, Real sy, Real ex, Real ey, Real s) {
  ArcCentre c = GetArcCenter({sx, sy}, {ex, ey}, s);
  if (!c.ok) return;
  Real L = std::fabs(s) * c.r;
  if (!(L > 0)) return;
  long count = ArcChordCount(s, L, ArcResolution(settings_));
  if (count == 0) return;
  Real step = s / static_cast<Real>(count);
  for (long i = 1; i < count; ++i) {
    Real a = c.start + static_cast<Real>(i) * step;
    w.Vertex(c.c.x + c.r * std::cos(a) + offsetX_, c.c.y + c.r * std::sin(a) + offsetY_);
  }
}

void CadOutput::CadVertex(Real x, Real y, Real arcAngle) {
  // A vertex that is no point is left out; the polyline runs on to the next.
  if (!open_ || !Drawable({x + offsetX_, y + offsetY_, arcAngle})) return;
  if (!emulatesPolylines()) {
    CadWriter& w = *current();
    if (natives() & kNativeBulges) {
      w.VertexArc(x + offsetX_, y + offsetY_, arcAngle);
      return;
    }
    // A writer of straight polylines gets the arcs as intermediate vertices.
    if (vertexNo_ == 1) {
      firstVertexX_ = x;
      firstVertexY_ = y;
    } else if (vertexAngle_ != 0) {
      arcVertices(w, lastVertexX_, lastVertexY_, x, y, vertexAngle_);
    }
    w.Vertex(x + offsetX_, y + offsetY_);
    lastVertexX_ = x;
    lastVertexY_ = y;
    vertexAngle_ = arcAngle;
    ++vertexNo_;
    return;
  }
  if (vertexNo_ == 1) {
    firstVertexX_ = x;
    firstVertexY_ = y;
    CadMoveTo(x, y);
  } else if (vertexAngle_ != 0) {
    Real sx = penX_, sy = penY_;
    if (settings_.polylineArcsAsLines) {
      arcAsLines(sx, sy, x, y, vertexAngle_);
    } else {
      ArcCentre c = GetArcCenter({sx, sy}, {x, y}, vertexAngle_);
      if (c.ok) {
        CadArcSweep(c.c.x, c.c.y, RadToDeg(c.start), RadToDeg(c.end), c.r, RadToDeg(vertexAngle_));
      } else if (!settings_.noArcCentreWarnings) {
        message("Fehler in GetArcCenter (dphi = " + FormatGeneral(settings_.numbers, vertexAngle_) +
                " ! ");
      }
    }
    CadMoveTo(x, y);
  } else {
    CadLineTo(x, y);
  }
  lastVertexX_ = x;
  lastVertexY_ = y;
  vertexAngle_ = arcAngle;
  ++vertexNo_;
}

void CadOutput::CadEndPolyline() {
  if (!open_) return;
  if (!emulatesPolylines()) {
    CadWriter& w = *current();
    if (natives() & kNativeBulges) {
      w.EndPolyline();
      return;
    }
    bool apart = lastVertexX_ != firstVertexX_ || lastVertexY_ != firstVertexY_;
    if (polylineClosed_ && vertexNo_ > 2 && (apart || vertexAngle_ != 0)) {
      polylineClosed_ = false;
      CadVertex(firstVertexX_, firstVertexY_, 0);
    }
    w.EndPolyline();
    polylineClosed_ = false;
    return;
  }
  // A closed polyline gets its closing edge or arc, as in the DXF file.
  if (polylineClosed_ && vertexNo_ > 2) {
    bool apart = lastVertexX_ != firstVertexX_ || lastVertexY_ != firstVertexY_;
    if (apart) CadVertex(firstVertexX_, firstVertexY_, 0);
  }
  polylineClosed_ = false;
}

// ---------------------------------------------------------------- composites

void CadOutput::CadMoveTo(Real x, Real y) {
  penX_ = x;
  penY_ = y;
}

void CadOutput::CadLineTo(Real x, Real y) {
  CadLine(penX_, penY_, x, y);
  penX_ = x;
  penY_ = y;
}

void CadOutput::CadRect(Real x1, Real y1, Real x2, Real y2) {
  CadMoveTo(x1, y1);
  CadLineTo(x2, y1);
  CadLineTo(x2, y2);
  CadLineTo(x1, y2);
  CadLineTo(x1, y1);
}

void CadOutput::CadHLine(Real x, Real y, Real length) {
  CadMoveTo(x, y);
  CadLineTo(x + length, y);
}

void CadOutput::CadVLine(Real x, Real y, Real length) {
  CadMoveTo(x, y);
  CadLineTo(x, y + length);
}

void CadOutput::CadInsertAt(std::string_view name, Real x, Real y, Real angle, Real scaleX,
                            Real scaleY) {
  CadInsert(name, x + offsetX_, y + offsetY_, angle, scaleX, scaleY);
}

void CadOutput::CadTextLine(std::string_view text) {
  if (text.empty()) return;
  CadText(text, penX_, penY_);
  Real d = textHeight_ * 1.6L * lineSpacing_;
  if (textAngle_ == 0) {
    penY_ -= d;
  } else {
    Real a = DegToRad(textAngle_ - 90);
    penX_ += d * std::cos(a);
    penY_ += d * std::sin(a);
  }
}

void CadOutput::CadArrow(std::string_view text, Real x1, Real y1, Real x2, Real y2) {
  Real len = std::hypot(x2 - x1, y2 - y1);
  // An arrow without length has no direction.
  if (!(len > 0) || !std::isfinite(len)) return;
  CadLine(x1, y1, x2, y2);
  Real ux = (x2 - x1) / len, uy = (y2 - y1) / len;
  Real nx = -uy, ny = ux;
  Real a = len / 20, b = len / 120;
  CadSolid(x2, y2, x2 - a * ux + b * nx, y2 - a * uy + b * ny, x2 - a * ux - b * nx,
           y2 - a * uy - b * ny, x2, y2);
  CadText(" " + std::string(text), x2, y2);
}

// ---------------------------------------------------------------- block replay

namespace {
constexpr size_t kMaxBlockBytes = 64u << 20;
}  // namespace

bool CadOutput::blockBytes(std::string_view blockName, std::string& bytes) {
  std::string file = "$" + std::string(blockName) + ".dx$";
  auto own = ownBlocks_.find(std::string(blockName));
  if (own != ownBlocks_.end()) {
    // Defined by this output: only the very file it created is read back.
    InputResult in;
    if (!blockFolder_.empty())
      in = ReadRegularFile((fs::path(blockFolder_) / file).string(), kMaxBlockBytes, bytes);
    if (in.ok() && own->second != FileKey{} && in.key == own->second) return true;
    bytes.clear();
    message("Invalid temp directory");
    return false;
  }
  // A block the user placed in the temporary folder: a regular file of the
  // user's own, so that a shared folder cannot hand us someone else's file.
  InputResult in = ReadRegularFile((fs::path(env_.tempDir) / file).string(), kMaxBlockBytes, bytes);
  if (in.status == InputStatus::Missing) {
    message("Invalid temp directory");
    return false;
  }
  if (in.ok() && in.owner != static_cast<long long>(::geteuid())) {
    in.status = InputStatus::Failed;
    in.reason = "belongs to another user";
  }
  if (!in.ok()) {
    bytes.clear();
    message("Fehler : Blockdatei " + Utf8ToCp850(file) + ": " + in.reason);
    return false;
  }
  return true;
}

void CadOutput::DxfReplay(std::string_view blockName, Real x, Real y, Real angle, Real scaleX,
                          Real scaleY) {
  InsertTransform saved = ins_;
  ++ins_.depth;
  // The turn of the transform in force, worked out once for all its points.
  Real cosA = std::cos(DegToRad(ins_.angle)), sinA = std::sin(DegToRad(ins_.angle));
  auto map = [this, &cosA, &sinA](Real px, Real py, Real& ox, Real& oy) {
    ox = ins_.originX + (px * ins_.scaleX) * cosA - (py * ins_.scaleY) * sinA;
    oy = ins_.originY + (py * ins_.scaleY) * cosA + (px * ins_.scaleX) * sinA;
  };
  Real ox = 0, oy = 0;
  map(x, y, ox, oy);
  ins_.originX = ox;
  ins_.originY = oy;
  ins_.angle += angle;
  ins_.scaleX *= scaleX;
  ins_.scaleY *= scaleY;
  cosA = std::cos(DegToRad(ins_.angle));
  sinA = std::sin(DegToRad(ins_.angle));
  // The insertion point already carries whatever offset the caller meant
  // (CadInsertAt adds it, CadInsert does not, as in the DXF INSERT); the
  // replayed elements must not receive it a second time.
  struct Restore {
    CadOutput& c;
    InsertTransform t;
    Real offsetX, offsetY;
    ~Restore() {
      c.ins_ = t;
      c.offsetX_ = offsetX;
      c.offsetY_ = offsetY;
    }
  } restore{*this, saved, offsetX_, offsetY_};
  offsetX_ = offsetY_ = 0;

  if (ins_.depth > 4) {
    // Too deep a nesting ends this output, not the program.
    env_.ui->showError("error blockno." + std::to_string(ins_.depth));
    setAbort();
    return;
  }
  // A block of this output replays from the copy of what its file reads back as.
  DxfReadResult fromFile;
  auto copy = readBack_.find(std::string(blockName));
  if (copy == readBack_.end()) {
    std::string content;
    if (!blockBytes(blockName, content)) {
      setAbort();
      return;
    }
    DxfReadOptions opt;
    opt.stopAtUnknown = true;
    fromFile = ReadDxf(content, opt);
  }
  const DxfReadResult& r = copy == readBack_.end() ? fromFile : copy->second;

  for (const DxfEntity& e : r.entities) {
    if (abort()) return;
    // Nested inserts multiply: one insert may not replay more than this.
    replayed_ += 1 + static_cast<long long>(e.vertices.size());
    if (replayed_ > kMaxReplayedElements) {
      env_.ui->showError("Elements > 1000000 !");
      setAbort();
      return;
    }
    Real p[4][2];
    for (int i = 0; i < 4; ++i) map(e.x[i], e.y[i], p[i][0], p[i][1]);
    switch (e.type) {
      case DxfEntity::Type::Line:
        CadLayer(LayerOfName(e.layer));
        CadLine(p[0][0], p[0][1], p[1][0], p[1][1]);
        break;
      case DxfEntity::Type::Circle:
        CadLayer(LayerOfName(e.layer));
        if (e.r != 0) CadCircle(p[0][0], p[0][1], e.r * ins_.scaleX);
        break;
      case DxfEntity::Type::Arc:
        CadLayer(LayerOfName(e.layer));
        if (e.r != 0)
          CadArcSweep(p[0][0], p[0][1], e.a1 + ins_.angle, e.a2 + ins_.angle, e.r * ins_.scaleX, e.sweep);
        break;
      case DxfEntity::Type::Text:
        // A text without height cannot be drawn.
        if (e.height == 0 || e.text.empty()) break;
        CadLayer(LayerOfName(e.layer));
        // The turn of every enclosing insert, not only of this one.
        CadTextStyle(2, e.angle + ins_.angle, e.height * ins_.scaleY, e.height * e.widthFactor * ins_.scaleX);
        CadText(e.text, p[0][0], p[0][1]);
        break;
      case DxfEntity::Type::Solid:
        CadLayer(LayerOfName(e.layer));
        CadSolid(p[0][0], p[0][1], p[1][0], p[1][1], p[2][0], p[2][1], p[3][0], p[3][1]);
        break;
      case DxfEntity::Type::Insert: {
        int layer = layerNo_;
        DxfReplay(e.text, e.x[0], e.y[0], e.angle, e.scaleX, e.scaleY);
        CadLayer(layer);
        break;
      }
      case DxfEntity::Type::Polyline: {
        size_t n = e.vertices.size();
        size_t segments = e.closed && n > 2 ? n : (n > 0 ? n - 1 : 0);
        for (size_t i = 0; i < segments; ++i) {
          if (abort()) return;
          const DxfVertex& P = e.vertices[i];
          const DxfVertex& Q = e.vertices[(i + 1) % n];
          if (P.x == Q.x && P.y == Q.y) continue;
          CadLayer(LayerOfName(Q.layer.empty() ? e.layer : Q.layer));
          Real G = 4 * std::atan(P.bulge);
          Real a[2], b[2];
          map(P.x, P.y, a[0], a[1]);
          map(Q.x, Q.y, b[0], b[1]);
          if (G == 0) {
            CadLine(a[0], a[1], b[0], b[1]);
            continue;
          }
          ArcCentre c = GetArcCenter({P.x, P.y}, {Q.x, Q.y}, G);
          if (!c.ok) continue;
          Real cx, cy;
          map(c.c.x, c.c.y, cx, cy);
          CadArcSweep(cx, cy, RadToDeg(c.start) + ins_.angle, RadToDeg(c.end) + ins_.angle, c.r * ins_.scaleX,
                      RadToDeg(G));
        }
        break;
      }
    }
  }
  if (r.tooManyVertices) {
    env_.ui->showError("Elements > 100000 !");
    setAbort();
  }
  if (r.polylineWithoutVertex) env_.ui->showError("Error in DXF File");
  if (!r.unknownEntity.empty()) message("Fehler : DXF: " + r.unknownEntity);
  if (!r.error.empty()) message("Fehler : " + r.error);
}

}  // namespace kamo
