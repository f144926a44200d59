// The drawing surface of the main window. It shows the display list of the
// session through the replay onto a painter once that exists; until then it
// shows the background colour. Keys, mouse and wheel arrive here for zoom,
// pan and the rubber band.
#pragma once
#include <QColor>
#include <QWidget>

namespace kamo {

class DisplayList;
struct Settings;

class GraphicsView : public QWidget {
  Q_OBJECT
 public:
  explicit GraphicsView(QWidget* parent = nullptr);
  void setDisplayList(const DisplayList* list) { list_ = list; }
  void setBackground(const QColor& c);
  // Forgets what is shown and redraws.
  void clear();

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  const DisplayList* list_ = nullptr;
  QColor background_;
};

// The screen colour of a colour number 0..16: the configured colour when the
// configuration holds one, else the built-in palette.
QColor ScreenColour(const Settings& settings, int index);

}  // namespace kamo
