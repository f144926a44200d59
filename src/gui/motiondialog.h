// Edit > "Bewegungsprogramm…": TForm_bewegung, the rows of a motion
// programme with a live preview of s, v, a and jerk over the cam angle. The
// logic behind it (MotionLogic) is toolkit-free; this dialog only wires it up.
#pragma once
#include <QDialog>
#include <QWidget>
#include <vector>

#include "core/forms.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace kamo {

class UiPort;

// Four stacked curves over the cam angle 0..360°.
class MotionPreviewWidget : public QWidget {
 public:
  explicit MotionPreviewWidget(QWidget* parent = nullptr);
  void setPreview(const MotionPreview& p);
  const MotionPreview& preview() const { return preview_; }
  QSize sizeHint() const override { return {560, 420}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  MotionPreview preview_;
};

class TForm_bewegung : public QDialog {
 public:
  TForm_bewegung(MotionLogic& logic, UiPort* port, QWidget* parent = nullptr);
  // The rows as the table shows them.
  std::vector<MotionRow> rows() const;
  void addRow(const MotionRow& r, int at = -1);

 private:
  void update();
  void confirm();
  QComboBox* lawBox(int law);

  MotionLogic& logic_;
  MotionForm form_;
  QLineEdit* base_;
  QTableWidget* table_;
  QLabel *summary_, *error_;
  MotionPreviewWidget* preview_;
  bool filling_ = false;
};

}  // namespace kamo
