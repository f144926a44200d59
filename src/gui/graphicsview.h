// The drawing surface of the main window: it replays the session's display
// list onto the window through the zoom rectangle, and turns keys, mouse,
// wheel and the rubber band into moves of that rectangle.
#pragma once
#include <QWidget>

#include "render/replay.h"
#include "shell/zoom.h"

class QRubberBand;

namespace kamo {

class DisplayList;
struct Settings;

class GraphicsView : public QWidget {
  Q_OBJECT
 public:
  explicit GraphicsView(QWidget* parent = nullptr);
  void setDisplayList(const DisplayList* list) { list_ = list; }
  // Colours, font and the zoom and pan factors of the configuration.
  void applySettings(const Settings& settings);
  // A new drawing: shown whole.
  void drawingChanged();
  // Shows nothing until the next drawing.
  void clear();
  const ZoomRect& zoom() const { return zoom_; }
  ZoomRect whole() const;
  const ReplayStyle& replayStyle() const { return style_; }
  // The last replay stopped at an empty window.
  bool replayFailed() const { return failed_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  QTransform zoomTransform() const;
  // A window position as a pixel of the recorded device, y upwards.
  QPointF toDevice(const QPointF& p) const;
  void setZoom(const ZoomRect& z);

  const DisplayList* list_ = nullptr;
  bool shown_ = false;
  ReplayStyle style_;
  ZoomRect zoom_;
  Real zoomFactor_ = 1.02L, panFactor_ = 0.02L;
  QRubberBand* band_ = nullptr;
  QPoint bandStart_;
  bool resetArmed_ = false;
  bool failed_ = false;
};

}  // namespace kamo
