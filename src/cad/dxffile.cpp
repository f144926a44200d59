// The DXF file and the block files as writers of the element interface.
#include "cad/dxffile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fstream>

#include "core/codepage.h"
#include "core/textfile.h"

namespace kamo {

DxfEntityWriter::DxfEntityWriter(const Settings& settings, const std::string& layerName)
    : settings_(settings), dxf_(settings) {
  dxf_.setLayerName(layerName);
}

void DxfEntityWriter::Layer(int, int, const std::string& name) { dxf_.setLayerName(name); }
void DxfEntityWriter::Line(Real x1, Real y1, Real x2, Real y2) { dxf_.Line(x1, y1, x2, y2); }
void DxfEntityWriter::Circle(Real x, Real y, Real r) { dxf_.Circle(x, y, r); }
void DxfEntityWriter::ArcDeg(const CadArcData& a) { dxf_.Arc(a.x, a.y, a.a1, a.a2, a.r, a.sweep); }

void DxfEntityWriter::Text(std::string_view stored, Real x, Real y, const CadTextData& s) {
  dxf_.Text(textOf(stored), x, y, s.height, s.widthFactor, s.angle, s.oblique);
}

bool DxfEntityWriter::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  dxf_.Solid(x1, y1, x2, y2, x3, y3, x4, y4);
  return true;
}

void DxfEntityWriter::Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX,
                             Real scaleY) {
  dxf_.Insert(name, x, y, angle, scaleX, scaleY);
}

void DxfEntityWriter::BeginPolyline(int flags) { dxf_.Polyline(flags); }
void DxfEntityWriter::VertexArc(Real x, Real y, Real arcAngle) { dxf_.Vertex(x, y, arcAngle); }
void DxfEntityWriter::EndPolyline() { dxf_.SeqEnd(); }

// ---------------------------------------------------------------- the file

DxfFileWriter::DxfFileWriter(CadWriterContext ctx)
    : DxfEntityWriter(*ctx.settings, ctx.layerName), ctx_(std::move(ctx)) {}

bool DxfFileWriter::Window(const CadPage& p) {
  dxf_.Header(p.xMin, p.yMin, p.xMax, p.yMax, DxfPaper{p.paperWidth, p.paperHeight});
  return true;
}

void DxfFileWriter::Tables(int mode) { dxf_.Tables(mode); }
void DxfFileWriter::BeginBlocks() { dxf_.BeginBlocks(); }
void DxfFileWriter::EndSection() { dxf_.EndSection(); }
void DxfFileWriter::BeginEntities() { dxf_.BeginEntities(); }

bool DxfFileWriter::HasBlock(std::string_view name) const {
  return std::find(defined_.begin(), defined_.end(), name) != defined_.end();
}

void DxfFileWriter::BeginBlock(std::string_view name) {
  dxf_.Block(name);
  defined_.emplace_back(name);
}

void DxfFileWriter::EndBlock() { dxf_.EndBlock(); }

std::string DxfFileWriter::textOf(std::string_view stored) const {
  return ToCadText(settings_.numbers, stored);
}

bool DxfFileWriter::Close(bool aborted) {
  dxf_.End();
  // An aborted output leaves an existing file as it was.
  if (aborted) return false;
  Ui& ui = *ctx_.ui;
  TextFileWriter w(ui);
  w.protect(&ui.state().keepFiles);
  if (!w.create(ctx_.fileName)) return false;
  w.write(dxf_.text());
  return w.close();
}

// ---------------------------------------------------------------- block files

BlockFileWriter::BlockFileWriter(const Settings& settings, std::string path, int fd, const std::string& layerName)
    : DxfEntityWriter(settings, layerName), path_(std::move(path)), fd_(fd) {
  takes(layerName);
  layer_ = std::string(DxfTrim(layerName));
}

// ---- the copy of what the reader reads back: the groups each element
// writes (dxfwriter.cpp), taken as the reader takes them (dxfreader.cpp).

Real BlockFileWriter::value(Real x) const { return DxfFixedValue(x, settings_.cadDecimals); }

bool BlockFileWriter::takes(std::string_view text) {
  if (text.find('\n') != std::string_view::npos) exact_ = false;
  return exact_;
}

DxfEntity& BlockFileWriter::entity(DxfEntity::Type type) {
  finishPolyline();
  DxfEntity& e = read_.entities.emplace_back();
  e.type = type;
  e.layer = layer_;
  return e;
}

void BlockFileWriter::finishPolyline() {
  if (!polyline_) return;
  polyline_ = false;
  // A polyline without a vertex is left out, and the reader says so.
  if (open_.vertices.empty()) {
    read_.polylineWithoutVertex = true;
    return;
  }
  if (mesh_) open_.vertices.clear();
  read_.entities.push_back(std::move(open_));
}

void BlockFileWriter::Layer(int n, int drawMode, const std::string& name) {
  DxfEntityWriter::Layer(n, drawMode, name);
  takes(name);
  layer_ = std::string(DxfTrim(name));
}

void BlockFileWriter::Line(Real x1, Real y1, Real x2, Real y2) {
  DxfEntityWriter::Line(x1, y1, x2, y2);
  if (stopped_) return;
  DxfEntity& e = entity(DxfEntity::Type::Line);
  e.x[0] = value(x1), e.y[0] = value(y1), e.x[1] = value(x2), e.y[1] = value(y2);
}

void BlockFileWriter::Circle(Real x, Real y, Real r) {
  DxfEntityWriter::Circle(x, y, r);
  if (stopped_) return;
  DxfEntity& e = entity(DxfEntity::Type::Circle);
  e.x[0] = value(x), e.y[0] = value(y), e.r = value(r);
}

void BlockFileWriter::ArcDeg(const CadArcData& a) {
  DxfEntityWriter::ArcDeg(a);
  if (stopped_) return;
  // A clockwise arc is written mirrored, with its sweep as the extrusion.
  Real x = a.x, a1 = a.a1, a2 = a.a2;
  if (a.sweep < -1e-5L) {
    x = -x;
    a1 = 180 - a1;
    a2 = 180 - a2;
    a1 -= 360 * std::floor(a1 / 360);
    a2 -= 360 * std::floor(a2 / 360);
  }
  DxfEntity& e = entity(DxfEntity::Type::Arc);
  e.x[0] = value(x), e.y[0] = value(a.y), e.r = value(a.r), e.a1 = value(a1), e.a2 = value(a2);
  DxfFinishExtrusion(e, std::fabs(a.sweep) > 1e-5L ? value(a.sweep) : 1);
}

void BlockFileWriter::Text(std::string_view stored, Real x, Real y, const CadTextData& s) {
  DxfEntityWriter::Text(stored, x, y, s);
  if (stopped_ || !takes(stored)) return;
  DxfEntity& e = entity(DxfEntity::Type::Text);
  e.x[0] = value(x), e.y[0] = value(y), e.height = value(s.height);
  e.text = std::string(stored);
  e.widthFactor = DxfReal(DxfShort(s.widthFactor));
  e.angle = DxfReal(DxfShort(s.angle));
  e.a2 = DxfReal(DxfShort(s.oblique));
}

bool BlockFileWriter::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  DxfEntityWriter::Solid(x1, y1, x2, y2, x3, y3, x4, y4);
  if (stopped_) return true;
  DxfEntity& e = entity(DxfEntity::Type::Solid);
  const Real xs[] = {x1, x2, x3, x4}, ys[] = {y1, y2, y3, y4};
  for (int i = 0; i < 4; ++i) e.x[i] = value(xs[i]), e.y[i] = value(ys[i]);
  return true;
}

void BlockFileWriter::Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX, Real scaleY) {
  DxfEntityWriter::Insert(name, x, y, angle, scaleX, scaleY);
  if (stopped_ || !takes(name)) return;
  DxfEntity& e = entity(DxfEntity::Type::Insert);
  e.text = std::string(DxfTrim(name));
  e.x[0] = value(x), e.y[0] = value(y);
  e.scaleX = value(scaleX), e.scaleY = value(scaleY), e.angle = value(angle);
}

void BlockFileWriter::BeginPolyline(int flags) {
  DxfEntityWriter::BeginPolyline(flags);
  if (stopped_) return;
  finishPolyline();
  open_ = DxfEntity{};
  open_.type = DxfEntity::Type::Polyline;
  open_.layer = layer_;
  open_.closed = (flags & 1) != 0;
  mesh_ = (flags & (16 | 64)) != 0;
  polyline_ = true;
}

void BlockFileWriter::VertexArc(Real x, Real y, Real arcAngle) {
  DxfEntityWriter::VertexArc(x, y, arcAngle);
  // A vertex outside a polyline is a stray one: the reader passes it by.
  if (stopped_ || !polyline_) return;
  DxfVertex& v = open_.vertices.emplace_back();
  v.layer = layer_;
  v.x = value(x);
  v.y = value(y);
  if (arcAngle != 0) v.bulge = value(std::tan(arcAngle / 4));
  if (static_cast<int>(open_.vertices.size()) > DxfReadOptions{}.maxVertices) {
    read_.tooManyVertices = true;
    stopped_ = true;
    polyline_ = false;
  }
}

void BlockFileWriter::EndPolyline() {
  DxfEntityWriter::EndPolyline();
  if (!stopped_) finishPolyline();
}

bool BlockFileWriter::readBack(DxfReadResult& read) {
  if (!exact_) return false;
  finishPolyline();
  read = std::move(read_);
  read.sawEof = !read.tooManyVertices;
  read_ = DxfReadResult{};
  exact_ = false;  // handed over once
  return true;
}

BlockFileWriter::~BlockFileWriter() {
  if (fd_ >= 0) ::close(fd_);
}

bool BlockFileWriter::Close(bool aborted) {
  if (fd_ < 0) return false;
  if (aborted) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  dxf_.End();
  const std::string& text = dxf_.text();
  bool ok = true;
  for (size_t done = 0; ok && done < text.size();) {
    ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      error_ = n < 0 ? errno : ENOSPC;
    } else {
      done += static_cast<size_t>(n);
    }
  }
  if (::close(fd_) != 0 && ok) {
    ok = false;
    error_ = errno;
  }
  fd_ = -1;
  return ok;
}

}  // namespace kamo
