// The device-neutral element interface through which every drawing is drawn:
// one current output kind, and each element routed to the screen's display
// list or to one file writer. Blocks of the screen output live as small DXF
// files in the temporary folder and are replayed as the DXF reader reads them.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cad/cadwriter.h"
#include "cad/dxfreader.h"
#include "cad/dxfwriter.h"
#include "cad/formats.h"
#include "cam/kamorech.h"
#include "core/clock.h"
#include "core/messages.h"
#include "core/outputfile.h"
#include "core/real.h"
#include "core/settings.h"
#include "core/ui.h"

namespace kamo {

class BlockFileWriter;
class DisplayList;
class PlotHandOff;

// Whether a kind code names an output kind of the format table.
inline bool CadKindAvailable(int code) { return KindOfCode(code).has_value(); }

// What the CAD output needs from its surroundings.
struct CadEnvironment {
  Ui* ui = nullptr;
  const Settings* settings = nullptr;
  MessageList* messages = nullptr;
  Flags* flags = nullptr;
  const Clock* clock = nullptr;          // footer date of the screen output
  DisplayList* display = nullptr;        // the screen kind records here
  std::string tempDir;                   // the block files live here
  bool batch = false;                    // no dialogs: the file is batchFile
  std::string batchFile;                 // stem of the batch output (without extension)
  std::string batchPath;                 // the batch output's exact file (wins over batchFile)
  std::string projectPath;               // folder, name and extension of the project
  std::string projectStem;               // proposed file name of the save dialog
  int drawingKind = 0;                   // marker of the sheet being drawn (2, 3: title block)
  PlotHandOff* plot = nullptr;           // kind 4: the plot program's command line and start
  std::string productName;               // STEP solid: the product's name (the drawing name, CP850)
};

// One insert, with all the inserts nested in it, replays at most this many
// elements (a polyline counts its vertices).
inline constexpr long long kMaxReplayedElements = 1000000;

// Insertion transform of the block replay.
struct InsertTransform {
  Real originX = 0, originY = 0, angle = 0, scaleX = 1, scaleY = 1;
  int depth = 0;
};

class CadOutput {
 public:
  explicit CadOutput(CadEnvironment env);
  ~CadOutput();
  CadOutput(const CadOutput&) = delete;
  CadOutput& operator=(const CadOutput&) = delete;

  CadEnvironment& environment() { return env_; }

  // Structure.
  // code: the kind code 1..7, or 0 to let the user choose.
  void CadOpen(int code, std::string_view name);
  void CadWindow(Real xMin, Real yMin, Real xMax, Real yMax, Real height);
  // The paper of a sheet drawn at 1:1 (mm), stated in the DXF header; before
  // CadWindow, and only for this output.
  void CadPaper(Real width, Real height) { paper_ = {width, height}; }
  void CadTables(int mode);
  void CadBeginBlocks();
  void CadBeginBlock(std::string_view name);
  void CadEndBlock();
  void CadEndSection();
  void CadBeginEntities();
  bool CadPassDone() const;
  // Finishes the output; false when the file could not be written.
  bool CadClose();

  // Settings.
  void CadOffset(Real x, Real y);
  void CadLayer(int n);
  void CadSaveLayer() { savedLayerNo_ = layerNo_; }
  void CadRestoreLayer() { CadLayer(savedLayerNo_); }
  void CadDrawMode(int m) { drawMode_ = m; }
  void CadPenMode(int m);
  void CadPause(int ms);
  void CadTextAlign(int h, int v);
  void CadLineSpacing(Real f) { lineSpacing_ = f; }
  void CadTextStyle(int kind, Real angle, Real height, Real width);
  void CadFitTextStyle(int kind, std::string_view text, Real angle, Real height, Real width,
                       Real maxLength);
  void CadSetZ(Real z0, Real z1);

  // Elements.
  void CadLine(Real x1, Real y1, Real x2, Real y2);
  void CadCircle(Real x, Real y, Real r);
  void CadHoleCircle(Real x, Real y, Real r);
  void CadArc(Real x, Real y, Real a1, Real a2, Real r);
  void CadArcSweep(Real x, Real y, Real a1, Real a2, Real r, Real sweep);
  void CadText(std::string_view text, Real x, Real y);
  void CadSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
  void CadInsert(std::string_view name, Real x, Real y, Real angle, Real scaleX, Real scaleY);
  void CadBeginPolyline(int flags);
  void CadVertex(Real x, Real y, Real arcAngle);
  void CadEndPolyline();

  // Composites.
  void CadMoveTo(Real x, Real y);
  void CadLineTo(Real x, Real y);
  void CadRect(Real x1, Real y1, Real x2, Real y2);
  void CadHLine(Real x, Real y, Real length);
  void CadVLine(Real x, Real y, Real length);
  void CadInsertAt(std::string_view name, Real x, Real y, Real angle, Real scaleX, Real scaleY);
  void CadTextLine(std::string_view text);
  void CadArrow(std::string_view text, Real x1, Real y1, Real x2, Real y2);

  // The block replay (the DXF reader sends the block's entities back through
  // the element operations). Public for the reader.
  void DxfReplay(std::string_view blockName, Real x, Real y, Real angle, Real scaleX, Real scaleY);
  InsertTransform& insertTransform() { return ins_; }
  // Layer number of a layer name read back from a DXF file.
  int LayerOfName(std::string_view name) const;

  // Deletes the block files this run created (end of output, program close).
  void RemoveBlockFiles();
  const std::vector<std::string>& createdBlockFiles() const { return blockFiles_; }
  // The private folder (mode 0700, made with mkdtemp inside the temporary
  // folder on first use) that holds this output's own block files; empty
  // when it cannot be made.
  const std::string& blockFolder();
  // Whether a block file of that name can be inserted: one this output wrote,
  // or one the user placed in the temporary folder.
  bool blockFileExists(std::string_view name) const;

  // State, for callers and tests.
  // The row of the current output in the format table.
  const OutputFormat& format() const { return *format_; }
  // The display list that the next element is recorded into: the screen's,
  // outside its blocks; null for files and block files.
  DisplayList* recordingList() const;
  const std::string& outputFileName() const { return fileName_; }
  int layerNo() const { return layerNo_; }
  const std::string& layerName() const { return layerName_; }
  Real textHeight() const { return textHeight_; }
  Real textWidthFactor() const { return textWidthFactor_; }
  Real textAngle() const { return textAngle_; }
  Real penX() const { return penX_; }
  Real penY() const { return penY_; }
  bool inBlocks() const { return inBlocks_; }
  bool heightCancelled() const { return heightCancelled_; }
  // STEP level 0..3 (0: STEP not offered): CadOpen copies the setting,
  // CadClose resets the copy to 0.
  int stepLevel() const { return stepLevel_; }
  // The next STL output writes a closed solid instead of walls only.
  void setStlClosedSolid(bool on) { stlClosedSolid_ = on; }
  bool open() const { return open_; }
  // The name of layer n as written to DXF.
  std::string LayerName(int n) const;

 private:
  // The writer that takes the next element: the block file being defined,
  // the output's writer, or none (the blocks section of an output without blocks).
  CadWriter* current() const;
  // What the current writer draws itself (FormatNative bits).
  unsigned natives() const;
  bool segmentsArcs() const;
  bool emulatesPolylines() const;
  void arcAsLines(Real sx, Real sy, Real ex, Real ey, Real sweepRad);
  void insertLogo(const char* name, Real f);
  void circleAsLines(Real x, Real y, Real r, bool clockwise);
  void arcSegments(Real xc, Real yc, Real r, Real startRad, Real sweepRad);
  void arcVertices(CadWriter& w, Real sx, Real sy, Real ex, Real ey, Real sweepRad);
  bool abort() const { return env_.flags && env_.flags->abortFlag; }
  void setAbort() {
    if (env_.flags) env_.flags->abortFlag = true;
  }
  void message(const std::string& text);
  // The bytes of the block file to replay: this output's own, or one the user
  // placed in the temporary folder (logos, heads, inserts). False: refused.
  bool blockBytes(std::string_view blockName, std::string& bytes);

  CadEnvironment env_;
  const Settings& settings_;
  CadOutputKind kind_ = CadOutputKind::Screen;
  bool open_ = false;
  std::string fileName_;
  Real offsetX_ = 0, offsetY_ = 0;
  Real penX_ = 0, penY_ = 0;
  int layerNo_ = 0, savedLayerNo_ = 0;
  std::string layerName_ = "0";
  Real textHeight_ = 5, textWidthFactor_ = 1, textAngle_ = 0, textOblique_ = 0;
  int alignH_ = 0, alignV_ = 0;
  Real lineSpacing_ = 1;
  bool inBlocks_ = false;
  bool polylineNative_ = true;
  int vertexNo_ = 1;
  Real vertexAngle_ = 0;
  Real firstVertexX_ = 0, firstVertexY_ = 0, lastVertexX_ = 0, lastVertexY_ = 0;
  bool polylineClosed_ = false;
  Real winXMin_ = 0, winYMin_ = 0, winXMax_ = 0, winYMax_ = 0, winWidth_ = 0, winHeight_ = 0;
  Real solidZ0_ = 0, solidZ1_ = 0;
  bool heightCancelled_ = false;
  DxfPaper paper_;
  int drawMode_ = 0;
  int penMode_ = 0;
  InsertTransform ins_;

  std::string blockPath_;
  std::vector<std::string> blockFiles_;
  std::string blockFolder_;                  // private folder of the own block files
  std::map<std::string, FileKey> ownBlocks_;  // blocks defined here (key {}: not created)
  std::map<std::string, DxfReadResult> readBack_;  // what each own block's file reads back as
  std::string blockName_;                     // the block being defined
  long long replayed_ = 0;                    // elements of the current top-level insert
  const OutputFormat* format_ = &FormatOf(CadOutputKind::Screen);
  std::unique_ptr<CadWriter> writer_;         // the writer of the output
  std::unique_ptr<BlockFileWriter> block_;    // the block file being defined (outputs without blocks)
  int stepLevel_ = 0;
  bool stlClosedSolid_ = false;
};

}  // namespace kamo
