// The DXF file and the block files as writers of the element interface.
#include "cad/dxffile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
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
    : DxfEntityWriter(settings, layerName), path_(std::move(path)), fd_(fd) {}

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
