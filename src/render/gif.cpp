// Animated GIF through giflib.
#include "render/gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kamo {

namespace {
int WriteToString(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::string*>(gif->UserData);
  out->append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
  return length;
}
QRgb Blend(QColor a, QColor b, double t) {
  return qRgb(static_cast<int>(std::lround(a.red() * (1 - t) + b.red() * t)),
              static_cast<int>(std::lround(a.green() * (1 - t) + b.green() * t)),
              static_cast<int>(std::lround(a.blue() * (1 - t) + b.blue() * t)));
}
}  // namespace

std::vector<QRgb> GifPalette(const std::array<QColor, 17>& palette, const QColor& background) {
  std::vector<QRgb> table{background.rgb()};
  auto add = [&table](QRgb c) {
    if (table.size() < 256 && std::find(table.begin(), table.end(), c) == table.end()) table.push_back(c);
  };
  for (const QColor& c : palette) add(c.rgb());
  for (const QColor& c : palette)
    for (double t : {0.25, 0.5, 0.75}) add(Blend(c, background, t));
  return table;
}

int GifDelay(double ms) {
  if (!(ms > 0)) return 2;
  return static_cast<int>(std::clamp(std::lround(ms / 10), 2L, 65535L));
}

struct GifEncoder::State {
  std::string bytes;
  GifFileType* gif = nullptr;
  QVector<QRgb> table;
};

GifEncoder::GifEncoder() : s_(std::make_unique<State>()) {}

GifEncoder::~GifEncoder() {
  if (s_->gif) {
    int err = 0;
    EGifCloseFile(s_->gif, &err);
  }
}

bool GifEncoder::begin(int width, int height, std::vector<QRgb> palette) {
  if (width < 1 || height < 1 || width > 65535 || height > 65535) {
    error_ = "the GIF size must lie between 1 and 65535 pixels";
    return false;
  }
  if (palette.empty()) palette.push_back(qRgb(255, 255, 255));
  palette.resize(std::min<size_t>(palette.size(), 256));
  int count = 2;
  while (count < static_cast<int>(palette.size())) count *= 2;
  std::vector<GifColorType> colours(static_cast<size_t>(count), GifColorType{0, 0, 0});
  s_->table.clear();
  for (size_t i = 0; i < palette.size(); ++i) {
    colours[i] = {static_cast<GifByteType>(qRed(palette[i])), static_cast<GifByteType>(qGreen(palette[i])),
                  static_cast<GifByteType>(qBlue(palette[i]))};
    s_->table.push_back(palette[i]);
  }
  int err = 0;
  s_->gif = EGifOpen(&s_->bytes, WriteToString, &err);
  if (!s_->gif) {
    error_ = std::string("the GIF could not be started: ") + GifErrorString(err);
    return false;
  }
  EGifSetGifVersion(s_->gif, true);
  ColorMapObject* map = GifMakeMapObject(count, colours.data());
  bool ok = map && EGifPutScreenDesc(s_->gif, width, height, 8, 0, map) == GIF_OK;
  GifFreeMapObject(map);
  // Loop for ever (the NETSCAPE2.0 application block).
  static const char kApp[] = "NETSCAPE2.0";
  GifByteType loop[3] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(s_->gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
       EGifPutExtensionBlock(s_->gif, 11, kApp) == GIF_OK && EGifPutExtensionBlock(s_->gif, 3, loop) == GIF_OK &&
       EGifPutExtensionTrailer(s_->gif) == GIF_OK;
  if (!ok) {
    error_ = std::string("the GIF could not be started: ") + GifErrorString(s_->gif->Error);
    return false;
  }
  width_ = width;
  height_ = height;
  return true;
}

bool GifEncoder::add(const QImage& frame, int delayCs) {
  if (!s_->gif) {
    if (error_.empty()) error_ = "the GIF was not started";
    return false;
  }
  QImage img = frame.size() == QSize(width_, height_)
                   ? frame
                   : frame.scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QImage indexed = img.convertToFormat(QImage::Format_Indexed8, s_->table, Qt::ThresholdDither | Qt::AvoidDither);
  if (indexed.isNull()) {
    error_ = "a frame of the GIF could not be made";
    return false;
  }
  GraphicsControlBlock gcb;
  gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
  gcb.UserInputFlag = false;
  gcb.DelayTime = std::clamp(delayCs, 2, 65535);
  gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType ext[4];
  size_t n = EGifGCBToExtension(&gcb, ext);
  bool ok = EGifPutExtension(s_->gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext) == GIF_OK &&
            EGifPutImageDesc(s_->gif, 0, 0, width_, height_, false, nullptr) == GIF_OK;
  // Qt's table may be shorter than the file's; every index stays within it.
  for (int y = 0; ok && y < height_; ++y)
    ok = EGifPutLine(s_->gif, const_cast<GifPixelType*>(indexed.constScanLine(y)), width_) == GIF_OK;
  if (!ok) {
    error_ = std::string("a frame of the GIF could not be written: ") + GifErrorString(s_->gif->Error);
    return false;
  }
  ++frames_;
  return true;
}

bool GifEncoder::finish(std::string& bytes) {
  if (!s_->gif) {
    if (error_.empty()) error_ = "the GIF was not started";
    return false;
  }
  int err = 0;
  int rc = EGifCloseFile(s_->gif, &err);
  s_->gif = nullptr;
  if (rc != GIF_OK) {
    error_ = std::string("the GIF could not be finished: ") + GifErrorString(err);
    return false;
  }
  if (frames_ == 0) {
    error_ = "the GIF has no frame";
    return false;
  }
  bytes = std::move(s_->bytes);
  return true;
}

}  // namespace kamo
