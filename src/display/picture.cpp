// The default palette of the graphics engine.
#include "display/picture.h"

namespace kamo {

std::array<unsigned, 17> DefaultPalette() {
  return {0x000000, 0x800000, 0x00FF00, 0xFFFF00, 0x0000FF, 0x800080, 0x000080, 0xC0C0C0, 0xB0B0B0,
          0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x000000};
}

PictureOptions PictureOptionsFor(const Settings& s, int sheetFormat) {
  PictureOptions o;
  o.sheetFormat = sheetFormat;
  o.palette = DefaultPalette();
  // The configured screen colours are entries 0..15; entry 16 stays black.
  for (size_t i = 0; i < 16; ++i)
    if (s.screenColours[i] > 0) o.palette[i] = s.screenColours[i] & 0xFFFFFF;
  o.colour = s.windowsPrintMode == 2 || s.windowsPrintMode == 3;
  if (!s.graphicsFont.empty()) o.font = s.graphicsFont;
  o.textHeightFactor = s.textHeightFactor > 0 ? s.textHeightFactor : 1;
  o.textWidthFactor = s.graphicsTextWidthFactor > 0 ? s.graphicsTextWidthFactor : 0.8L;
  o.fontStyle = s.graphicsFontStyle;
  return o;
}

}  // namespace kamo
