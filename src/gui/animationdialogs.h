// The step window of the animation, TForm_anistep: shown after each frame in
// single-step mode; "+" goes on by one frame, "+++++++" (also Escape) lets
// the remaining frames run without stopping.
#pragma once
#include <QDialog>

namespace kamo {

class TForm_anistep : public QDialog {
  Q_OBJECT
 public:
  explicit TForm_anistep(QWidget* parent = nullptr);
};

}  // namespace kamo
