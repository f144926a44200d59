// Pictures of a display list (PDF, SVG, PNG): the options of a picture and the
// registry through which the toolkit-free shell reaches the painters that
// write them. The program's start fills the registry; without it (a build
// without the painter) the formats are simply not available.
#pragma once
#include <array>
#include <functional>
#include <map>
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

class PictureExporters {
 public:
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
};

}  // namespace kamo
