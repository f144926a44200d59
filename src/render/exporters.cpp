// PDF, SVG and PNG pictures. Text needs a Qt application object; a batch run
// has none, so one offscreen application lives for the duration of a picture.
#include "render/exporters.h"

#include <QBuffer>
#include <QColor>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "render/gif.h"
#include "render/replay.h"

namespace kamo {

namespace {

// Qt's remark that a batch run has no runtime folder is no news to its user.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("QStandardPaths:"))) return;
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

// A Qt application for the picture unless the program already has one.
class GuiScope {
 public:
  GuiScope() {
    if (QCoreApplication::instance()) return;
    // No display is needed for pictures.
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    previous_ = qInstallMessageHandler(QuietHandler);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  ~GuiScope() {
    if (!app_) return;
    app_.reset();
    qInstallMessageHandler(previous_);
  }
  GuiScope(const GuiScope&) = delete;
  GuiScope& operator=(const GuiScope&) = delete;

 private:
  int argc_ = 1;
  char name_[6] = "wkamo";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
  QtMessageHandler previous_ = nullptr;
};

struct Page {
  double widthMm = 297, heightMm = 210;
  bool fixed = false;
};

Page PageOf(const PictureOptions& o) {
  if (o.sheetFormat == 3) return {420, 297, true};
  if (o.sheetFormat == 4) return {210, 297, true};
  return {297, 210, false};
}

ReplayStyle StyleOf(const PictureOptions& o, double pixelsPerMm) {
  ReplayStyle s;
  s.palette = PaletteColours(o.palette);
  s.background = FromWindowsColour(o.background);
  s.colour = o.colour;
  s.font = QString::fromStdString(o.font);
  s.textHeightFactor = static_cast<double>(o.textHeightFactor);
  s.textWidthFactor = static_cast<double>(o.textWidthFactor);
  s.fontStyle = o.fontStyle;
  // A pen one pixel wide becomes a line of 0.18 mm on paper.
  s.penUnit = 0.18 * pixelsPerMm;
  return s;
}

void Paint(QPainter& painter, const DisplayList& list, const PictureOptions& o, double wPx, double hPx) {
  Page page = PageOf(o);
  double pxPerMm = wPx / page.widthMm;
  ReplayStyle style = StyleOf(o, pxPerMm);
  ReplayTarget target;
  target.recordResX = o.recordResX;
  target.recordResY = o.recordResY;
  if (page.fixed) {
    target.device = QRectF(0, 0, wPx, hPx);
    target.fixedWorld = true;
    target.wx1 = page.widthMm;
    target.wy1 = page.heightMm;
  } else {
    double m = 10 * pxPerMm;  // a margin of 10 mm all round
    target.device = QRectF(m, m, wPx - 2 * m, hPx - 2 * m);
  }
  ReplayDisplayList(painter, list, style, target);
}

}  // namespace

QImage RenderPicture(const DisplayList& list, const PictureOptions& o) {
  GuiScope gui;
  Page page = PageOf(o);
  int dpi = o.pngDpi > 0 && o.pngDpi <= 1200 ? o.pngDpi : 150;
  int w = static_cast<int>(std::lround(page.widthMm / 25.4 * dpi));
  int h = static_cast<int>(std::lround(page.heightMm / 25.4 * dpi));
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(FromWindowsColour(o.background));
  img.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
  img.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
  QPainter painter(&img);
  Paint(painter, list, o, w, h);
  painter.end();
  return img;
}

bool EncodePng(const DisplayList& list, const PictureOptions& o, std::string& bytes,
               std::string& error) {
  QImage img = RenderPicture(list, o);
  QByteArray data;
  QBuffer buffer(&data);
  if (img.isNull() || !buffer.open(QIODevice::WriteOnly) || !img.save(&buffer, "PNG") ||
      data.isEmpty()) {
    error = "the PNG picture could not be made";
    return false;
  }
  bytes.assign(data.constData(), static_cast<size_t>(data.size()));
  return true;
}

bool EncodePdf(const DisplayList& list, const PictureOptions& o, std::string& bytes,
               std::string& error) {
  GuiScope gui;
  Page page = PageOf(o);
  QByteArray data;
  {
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly)) {
      error = "the PDF file could not be made";
      return false;
    }
    QPdfWriter pdf(&buffer);
    pdf.setTitle(QString::fromStdString(o.title));
    pdf.setCreator(QStringLiteral("KAMO"));
    pdf.setResolution(600);
    QPageSize size(QSizeF(std::min(page.widthMm, page.heightMm), std::max(page.widthMm, page.heightMm)),
                   QPageSize::Millimeter);
    if (o.sheetFormat == 3) size = QPageSize(QPageSize::A3);
    if (o.sheetFormat == 4 || o.sheetFormat == 0) size = QPageSize(QPageSize::A4);
    QPageLayout layout(size, page.widthMm > page.heightMm ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    pdf.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&pdf)) {
      error = "the PDF file could not be made";
      return false;
    }
    Paint(painter, list, o, pdf.width(), pdf.height());
    if (!painter.end()) {
      error = "the PDF file could not be made";
      return false;
    }
  }
  if (data.isEmpty()) {
    error = "the PDF file could not be made";
    return false;
  }
  bytes.assign(data.constData(), static_cast<size_t>(data.size()));
  return true;
}

bool EncodeSvg(const DisplayList& list, const PictureOptions& o, std::string& bytes,
               std::string& error) {
  GuiScope gui;
  Page page = PageOf(o);
  // 10 units per millimetre; the picture states its size in millimetres.
  const double k = 10;
  int w = static_cast<int>(std::lround(page.widthMm * k));
  int h = static_cast<int>(std::lround(page.heightMm * k));
  QByteArray data;
  {
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly)) {
      error = "the SVG file could not be made";
      return false;
    }
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setTitle(QString::fromStdString(o.title));
    svg.setSize(QSize(w, h));
    svg.setViewBox(QRect(0, 0, w, h));
    svg.setResolution(static_cast<int>(std::lround(k * 25.4)));
    QPainter painter;
    if (!painter.begin(&svg)) {
      error = "the SVG file could not be made";
      return false;
    }
    painter.fillRect(QRectF(0, 0, w, h), FromWindowsColour(o.background));
    Paint(painter, list, o, w, h);
    painter.end();
  }
  if (data.isEmpty()) {
    error = "the SVG file could not be made";
    return false;
  }
  bytes.assign(data.constData(), static_cast<size_t>(data.size()));
  return true;
}

QImage RenderFrame(const DisplayList& list, const FrameOptions& o) {
  GuiScope gui;
  QImage img(std::max(1, o.width), std::max(1, o.height), QImage::Format_RGB32);
  img.fill(FromWindowsColour(o.picture.background));
  QPainter painter(&img);
  // A pen one pixel wide stays one pixel wide on frames up to 1000 pixels.
  ReplayStyle style = StyleOf(o.picture, std::max(1.0, std::max(o.width, o.height) / 1000.0) / 0.18);
  ReplayTarget target;
  target.recordResX = o.picture.recordResX;
  target.recordResY = o.picture.recordResY;
  target.device = QRectF(0, 0, img.width(), img.height());
  target.fixedWorld = true;
  target.wx0 = static_cast<double>(o.x0);
  target.wy0 = static_cast<double>(o.y0);
  target.wx1 = static_cast<double>(o.x1);
  target.wy1 = static_cast<double>(o.y1);
  ReplayDisplayList(painter, list.records(), style, target);
  painter.end();
  return img;
}

namespace {

// The animated GIF: every frame reduced to the palette of the drawing.
class GifFrames : public FrameWriter {
 public:
  explicit GifFrames(const FrameOptions& o) : o_(o) {
    std::array<QColor, 17> palette = PaletteColours(o.picture.palette);
    if (!o.picture.colour) palette.fill(Qt::black);
    started_ = gif_.begin(o.width, o.height, GifPalette(palette, FromWindowsColour(o.picture.background)));
  }
  bool add(const DisplayList& frame, int delayCs, std::string&, std::string& error) override {
    if (!started_ || !gif_.add(RenderFrame(frame, o_), delayCs)) {
      error = gif_.error();
      return false;
    }
    return true;
  }
  bool finish(std::string& bytes, std::string& error) override {
    if (!started_ || !gif_.finish(bytes)) {
      error = gif_.error();
      return false;
    }
    return true;
  }

 private:
  GuiScope gui_;  // one application for all frames
  FrameOptions o_;
  GifEncoder gif_;
  bool started_ = false;
};

// A PNG picture per frame.
class PngFrames : public FrameWriter {
 public:
  explicit PngFrames(const FrameOptions& o) : o_(o) {}
  bool add(const DisplayList& frame, int, std::string& bytes, std::string& error) override {
    QImage img = RenderFrame(frame, o_);
    QByteArray data;
    QBuffer buffer(&data);
    if (img.isNull() || !buffer.open(QIODevice::WriteOnly) || !img.save(&buffer, "PNG") || data.isEmpty()) {
      error = "the PNG picture could not be made";
      return false;
    }
    bytes.assign(data.constData(), static_cast<size_t>(data.size()));
    return true;
  }
  bool finish(std::string& bytes, std::string&) override {
    bytes.clear();
    return true;
  }

 private:
  GuiScope gui_;
  FrameOptions o_;
};

}  // namespace

void RegisterPictureExporters(PictureExporters& registry) {
  registry.add("pdf", &EncodePdf);
  registry.add("svg", &EncodeSvg);
  registry.add("png", &EncodePng);
  registry.addFrames("gif", [](const FrameOptions& o) { return std::make_unique<GifFrames>(o); });
  registry.addFrames("png", [](const FrameOptions& o) { return std::make_unique<PngFrames>(o); });
}

}  // namespace kamo
