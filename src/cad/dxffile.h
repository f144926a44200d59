// DXF as writers of the element interface: the DXF file of the output kinds
// DXF and plot hand-off, and the block files ("$" + name + ".dx$") in which
// the outputs without blocks of their own keep their block definitions.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "cad/cadwriter.h"
#include "cad/dxfreader.h"
#include "cad/dxfwriter.h"

namespace kamo {

// The entities of a DXF text, shared by the file and the block files.
class DxfEntityWriter : public CadWriter {
 public:
  DxfEntityWriter(const Settings& settings, const std::string& layerName);

  void Layer(int n, int drawMode, const std::string& name) override;
  void Line(Real x1, Real y1, Real x2, Real y2) override;
  void Circle(Real x, Real y, Real r) override;
  void ArcDeg(const CadArcData& a) override;
  void Text(std::string_view stored, Real x, Real y, const CadTextData& style) override;
  bool Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override;
  void Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX, Real scaleY) override;
  void BeginPolyline(int flags) override;
  void VertexArc(Real x, Real y, Real arcAngle) override;
  void EndPolyline() override;

  const std::string& text() const { return dxf_.text(); }

 protected:
  // The text as the file holds it.
  virtual std::string textOf(std::string_view stored) const = 0;

  const Settings& settings_;
  DxfWriter dxf_;
};

// The DXF file (output kind DXF): header, tables, blocks, entities, written
// whole at the end. An insert of a block that this file does not define (a
// logo, head or insert block of the temporary folder) is replayed.
class DxfFileWriter : public DxfEntityWriter {
 public:
  explicit DxfFileWriter(CadWriterContext ctx);

  std::string fileName() const override { return ctx_.fileName; }
  bool Window(const CadPage& page) override;
  void Tables(int mode) override;
  void BeginBlocks() override;
  void EndSection() override;
  void BeginEntities() override;
  bool Close(bool aborted) override;
  bool HasBlock(std::string_view name) const override;
  void BeginBlock(std::string_view name) override;
  void EndBlock() override;

 protected:
  std::string textOf(std::string_view stored) const override;

  CadWriterContext ctx_;
  std::vector<std::string> defined_;  // the blocks of this file
};

// A block file of the temporary folder: the block's entities in the stored
// code page, replayed where the block is inserted.
// The file is created by the caller (exclusively, in its private folder) and
// handed over open; the writer writes it whole on Close and closes it.
// Alongside the text it keeps what the DXF reader will read back from it,
// number for number, so that the block's own output replays it without
// parsing its text again.
class BlockFileWriter final : public DxfEntityWriter {
 public:
  BlockFileWriter(const Settings& settings, std::string path, int fd, const std::string& layerName);
  ~BlockFileWriter() override;
  BlockFileWriter(const BlockFileWriter&) = delete;
  BlockFileWriter& operator=(const BlockFileWriter&) = delete;

  std::string fileName() const override { return path_; }
  // An insert inside a block definition stays an insert.
  bool HasBlock(std::string_view) const override { return true; }
  bool Close(bool aborted) override;
  // The errno of a failed Close (0: none known).
  int error() const { return error_; }

  void Layer(int n, int drawMode, const std::string& name) override;
  void Line(Real x1, Real y1, Real x2, Real y2) override;
  void Circle(Real x, Real y, Real r) override;
  void ArcDeg(const CadArcData& a) override;
  void Text(std::string_view stored, Real x, Real y, const CadTextData& style) override;
  bool Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override;
  void Insert(std::string_view name, Real x, Real y, Real angle, Real scaleX, Real scaleY) override;
  void BeginPolyline(int flags) override;
  void VertexArc(Real x, Real y, Real arcAngle) override;
  void EndPolyline() override;

  // What ReadDxf makes of the file; false when the block holds a text the
  // copy cannot follow (a line break in a name or text), then only the file tells.
  bool readBack(DxfReadResult& read);

 protected:
  std::string textOf(std::string_view stored) const override { return std::string(stored); }

 private:
  Real value(Real x) const;     // a number as it is read back
  DxfEntity& entity(DxfEntity::Type type);  // the next entity, on the current layer
  void finishPolyline();         // the open polyline as the reader ends it
  bool takes(std::string_view text);  // false: the copy cannot follow the text

  std::string path_;
  int fd_ = -1;
  int error_ = 0;
  DxfReadResult read_;
  std::string layer_;           // the current layer as read back
  bool polyline_ = false, mesh_ = false;
  DxfEntity open_;              // the polyline being written
  bool exact_ = true;
  bool stopped_ = false;        // the reader stops here (too many vertices)
};

}  // namespace kamo
