// The drawing surface: replay, zoom, pan and the rubber band.
#include "gui/graphicsview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>
#include <algorithm>

#include "core/settings.h"
#include "display/displaylist.h"
#include "display/picture.h"

namespace kamo {

GraphicsView::GraphicsView(QWidget* parent) : QWidget(parent) {
  setObjectName("GraphicsView");
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(320, 240);
  style_.palette = PaletteColours(DefaultPalette());
  style_.background = style_.palette[1];
}

void GraphicsView::applySettings(const Settings& s) {
  PictureOptions o = PictureOptionsFor(s, 0);
  style_.palette = PaletteColours(o.palette);
  int bg = s.backgroundColour >= 0 && s.backgroundColour <= 16 ? s.backgroundColour : 1;
  style_.background = style_.palette[static_cast<size_t>(bg)];
  style_.colour = s.colourGraphics;
  style_.font = QString::fromStdString(o.font);
  style_.textHeightFactor = static_cast<double>(o.textHeightFactor);
  style_.textWidthFactor = static_cast<double>(o.textWidthFactor);
  style_.fontStyle = o.fontStyle;
  zoomFactor_ = s.zoomFactor > 0 ? s.zoomFactor : 1.02L;
  panFactor_ = s.panFactor;
  update();
}

ZoomRect GraphicsView::whole() const {
  if (!list_) return {};
  return {0, 0, list_->transform().resX, list_->transform().resY};
}

void GraphicsView::drawingChanged() {
  shown_ = true;
  zoom_ = whole();
  update();
}

void GraphicsView::clear() {
  shown_ = false;
  update();
}

void GraphicsView::setZoom(const ZoomRect& z) {
  zoom_ = z;
  update();
}

QTransform GraphicsView::zoomTransform() const {
  ZoomRect all = whole();
  double resX = std::max(1L, all.x1), resY = std::max(1L, all.y1);
  double fx = width() / resX, fy = height() / resY;
  double left = zoom_.x0 * fx, right = zoom_.x1 * fx;
  double top = (resY - zoom_.y1) * fy, bottom = (resY - zoom_.y0) * fy;
  if (right - left <= 0 || bottom - top <= 0) return {};
  // Equal scales: the zoomed part is centred, never distorted.
  double s = std::min(width() / (right - left), height() / (bottom - top));
  QTransform t;
  t.translate(width() / 2.0, height() / 2.0);
  t.scale(s, s);
  t.translate(-(left + right) / 2, -(top + bottom) / 2);
  return t;
}

QPointF GraphicsView::toDevice(const QPointF& p) const {
  ZoomRect all = whole();
  double resX = std::max(1L, all.x1), resY = std::max(1L, all.y1);
  QPointF q = zoomTransform().inverted().map(p);
  return {q.x() * resX / std::max(1, width()), resY - q.y() * resY / std::max(1, height())};
}

void GraphicsView::paintEvent(QPaintEvent* e) {
  if (replaying_) {
    update();
    return;
  }
  QPainter p(this);
  p.fillRect(e->rect(), style_.background);
  if (!shown_ || !list_ || list_->size() == 0) return;
  p.setTransform(zoomTransform());
  ReplayTarget target;
  target.device = QRectF(0, 0, width(), height());
  target.recordResX = list_->transform().resX;
  target.recordResY = list_->transform().resY;
  target.pause = pause_;
  replaying_ = true;
  ++replays_;
  failed_ = !ReplayDisplayList(p, *list_, style_, target).ok;
  replaying_ = false;
}

void GraphicsView::keyPressEvent(QKeyEvent* e) {
  ZoomKey k = ZoomKey::Other;
  switch (e->key()) {
    case Qt::Key_Escape:
      if (escapeHook && escapeHook()) return;
      k = ZoomKey::Reset;
      break;
    case Qt::Key_F5: k = ZoomKey::Reset; break;
    case Qt::Key_Left: k = ZoomKey::Left; break;
    case Qt::Key_Right: k = ZoomKey::Right; break;
    case Qt::Key_Up: k = ZoomKey::Up; break;
    case Qt::Key_Down: k = ZoomKey::Down; break;
    case Qt::Key_PageUp: k = ZoomKey::PageUp; break;
    case Qt::Key_PageDown: k = ZoomKey::PageDown; break;
    case Qt::Key_Plus: k = ZoomKey::ZoomIn; break;
    case Qt::Key_Minus: k = ZoomKey::ZoomOut; break;
    default: QWidget::keyPressEvent(e); return;
  }
  setZoom(ApplyZoomKey(zoom_, k, zoomFactor_, panFactor_, whole()));
}

void GraphicsView::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    setZoom(whole());
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  if (resetArmed_) {
    resetArmed_ = false;
    setZoom(whole());
    return;
  }
  bandStart_ = e->position().toPoint();
  if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, this);
  band_->setGeometry(QRect(bandStart_, QSize()));
  band_->show();
}

void GraphicsView::mouseMoveEvent(QMouseEvent* e) {
  if (band_ && band_->isVisible())
    band_->setGeometry(QRect(bandStart_, e->position().toPoint()).normalized());
}

void GraphicsView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !band_ || !band_->isVisible()) return;
  band_->hide();
  QPoint end = e->position().toPoint();
  if (end.x() == bandStart_.x() || end.y() == bandStart_.y()) return;
  QPointF a = toDevice(bandStart_), b = toDevice(end);
  setZoom(ZoomToBand(zoom_, a.x(), a.y(), b.x(), b.y()));
}

void GraphicsView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (band_) band_->hide();
  if (e->button() == Qt::LeftButton) resetArmed_ = true;
}

void GraphicsView::wheelEvent(QWheelEvent* e) {
  int delta = e->angleDelta().y();
  if (delta == 0) return;
  setZoom(ApplyWheel(zoom_, delta, zoomFactor_));
}

}  // namespace kamo
