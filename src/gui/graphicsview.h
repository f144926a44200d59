// The drawing surface of the main window: it replays the session's display
// list onto the window through the zoom rectangle, and turns keys, mouse,
// wheel and the rubber band into moves of that rectangle.
#pragma once
#include <QWidget>
#include <functional>

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
  // Where the replay waits at a pause record (milliseconds). None by
  // default: a window paints a whole frame at once, so a pause inside the
  // paint would only hold up every repaint.
  void setPause(std::function<void(int)> pause) { pause_ = std::move(pause); }
  // Asked first when Escape is pressed: true when it ended something (a
  // running animation), else Escape resets the zoom.
  std::function<bool()> escapeHook;
  // Replays done so far.
  long replays() const { return replays_; }

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
  // A paint that arrives while the list is being replayed (an event serviced
  // by a pause) is put off: it could repaint or change the list under the
  // running replay.
  bool replaying_ = false;
  std::function<void(int)> pause_;
  long replays_ = 0;
};

}  // namespace kamo
