// Pictures of a display list (PDF, SVG, PNG): the options of a picture and the
// registry through which the toolkit-free shell reaches the painters that
// write them. The program's start fills the registry; without it (a build
// without the painter) the formats are simply not available.
#pragma once
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/settings.h"
#include "display/displaylist.h"

namespace kamo {

struct PictureOptions {
  // 0: the drawing fitted onto an A4 landscape page; 3: an A3 landscape and
  // 4: an A4 portrait sheet, drawn at 1:1 with the sheet's corner at (0, 0).
  int sheetFormat = 0;
  int pngDpi = 150;            // PNG resolution (pixels per inch of the page)
  bool colour = false;         // false: every line and text black, as on a monochrome printer
  // Palette entries 0..16 as Windows colour values (0x00BBGGRR).
  std::array<unsigned, 17> palette{};
  unsigned background = 0xFFFFFF;  // the paper
  std::string font = "DejaVu Sans";
  Real textHeightFactor = 1;
  Real textWidthFactor = 0.8L;
  int fontStyle = 0;           // 1 bold, 2 italic, 4 underline, 8 strikeout
  int recordResX = 640, recordResY = 480;  // the virtual device the list was recorded for
  std::string title;           // document title of PDF and SVG
};

// The default palette of the graphics engine.
std::array<unsigned, 17> DefaultPalette();

// The options of a picture from the settings: the screen palette, the
// graphics font and its factors; colour only with the colour print mode.
PictureOptions PictureOptionsFor(const Settings& settings, int sheetFormat);

// Paints the list into the bytes of a picture file; false with a reason in
// error. The bytes are written by the caller through an OutputFile, so that
// a picture is written whole or not at all, like every other output.
using PictureWriter = std::function<bool(const DisplayList& list, const PictureOptions& options,
                                         std::string& bytes, std::string& error)>;

// The frames of an animation as pictures: each frame a display list painted
// onto width × height pixels, the world rectangle (x0, y0)-(x1, y1) filling them.
struct FrameOptions {
  PictureOptions picture;  // colours, font and the recording's virtual device
  int width = 800, height = 800;
  Real x0 = 0, y0 = 0, x1 = 1, y1 = 1;
};
// Receives the frames one by one: a GIF keeps adding them to one file, a
// picture sequence gives each frame's file at once.
class FrameWriter {
 public:
  virtual ~FrameWriter() = default;
  // Paints the frame, shown for delayCs hundredths of a second. Bytes of a
  // file of its own when the format writes one per frame (else left empty);
  // false with the reason in error.
  virtual bool add(const DisplayList& frame, int delayCs, std::string& bytes, std::string& error) = 0;
  // The whole file when the format collects the frames (else empty).
  virtual bool finish(std::string& bytes, std::string& error) = 0;
};
using FrameWriterFactory = std::function<std::unique_ptr<FrameWriter>(const FrameOptions& options)>;

class PictureExporters {
 public:
  void addFrames(const std::string& format, FrameWriterFactory factory) {
    frameWriters_[format] = std::move(factory);
  }
  // nullptr when the format has no frame writer in this program.
  const FrameWriterFactory* findFrames(const std::string& format) const {
    auto it = frameWriters_.find(format);
    return it == frameWriters_.end() ? nullptr : &it->second;
  }
  void add(const std::string& format, PictureWriter writer) { writers_[format] = std::move(writer); }
  // nullptr when the format has no writer in this program.
  const PictureWriter* find(const std::string& format) const {
    auto it = writers_.find(format);
    return it == writers_.end() ? nullptr : &it->second;
  }
  std::vector<std::string> formats() const {
    std::vector<std::string> f;
    for (const auto& [k, v] : writers_) f.push_back(k);
    return f;
  }

 private:
  std::map<std::string, PictureWriter> writers_;
  std::map<std::string, FrameWriterFactory> frameWriters_;
};

}  // namespace kamo
