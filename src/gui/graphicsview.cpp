// The drawing surface and the screen colours.
#include "gui/graphicsview.h"

#include <QPaintEvent>
#include <QPainter>

#include "core/settings.h"

namespace kamo {

namespace {
// Windows colour values (0x00BBGGRR) of the palette entries 0..16.
constexpr unsigned kPalette[17] = {0x000000, 0x800000, 0x00FF00, 0xFFFF00, 0x0000FF, 0x800080,
                                   0x000080, 0xC0C0C0, 0xB0B0B0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                   0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x000000};
QColor FromWindows(unsigned v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }
}  // namespace

QColor ScreenColour(const Settings& settings, int index) {
  if (index < 0 || index > 16) index = 0;
  if (index < 16 && settings.screenColours[static_cast<size_t>(index)] > 0)
    return FromWindows(settings.screenColours[static_cast<size_t>(index)]);
  return FromWindows(kPalette[index]);
}

GraphicsView::GraphicsView(QWidget* parent) : QWidget(parent), background_(Qt::white) {
  setObjectName("GraphicsView");
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(320, 240);
  setAutoFillBackground(false);
}

void GraphicsView::setBackground(const QColor& c) {
  background_ = c;
  update();
}

void GraphicsView::clear() {
  list_ = nullptr;
  update();
}

void GraphicsView::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  p.fillRect(e->rect(), background_);
}

}  // namespace kamo
