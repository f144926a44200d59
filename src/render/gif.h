// Animated GIF files through giflib: frames painted offscreen are reduced to
// one fixed palette (the drawing colours, the background and their blends
// for the smoothed edges) and written one after the other, so that a long
// animation never holds more than one frame in memory.
#pragma once
#include <QColor>
#include <QImage>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kamo {

// The colour table of the frames: the background first, then the drawing
// colours and three blends of each with the background; at most 256.
std::vector<QRgb> GifPalette(const std::array<QColor, 17>& palette, const QColor& background);

class GifEncoder {
 public:
  GifEncoder();
  ~GifEncoder();
  GifEncoder(const GifEncoder&) = delete;
  GifEncoder& operator=(const GifEncoder&) = delete;

  // Starts a GIF of width × height pixels that loops for ever; false with the reason in error().
  bool begin(int width, int height, std::vector<QRgb> palette);
  // Adds a frame shown for delayCs hundredths of a second (at least 2: many
  // viewers play shorter delays at 10). The image is scaled to the size when it differs.
  bool add(const QImage& frame, int delayCs);
  // Ends the file; its bytes.
  bool finish(std::string& bytes);
  int frames() const { return frames_; }
  const std::string& error() const { return error_; }

 private:
  struct State;
  std::unique_ptr<State> s_;
  int width_ = 0, height_ = 0, frames_ = 0;
  std::string error_;
};

// The delay of a frame in hundredths of a second: `ms` rounded, at least 2.
int GifDelay(double ms);

}  // namespace kamo
