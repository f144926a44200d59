// The point table editors on Qt Widgets: TForm_ribopoin (curve type 8) and
// TForm_ribopoip (type 10), one dialog class with the menus of its type. The
// grid, its clipboard and row commands and every button live in the logic
// (core/forms.h); the dialog shows the logic's state and hands each edit on.
#pragma once
#include <QDialog>
#include <vector>

#include "core/forms.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QMenuBar;
class QSpinBox;
class QTableWidget;

namespace kamo {

class UiPort;

class TForm_points : public QDialog {
  Q_OBJECT
 public:
  TForm_points(PointTableLogic& logic, UiPort* port, QWidget* parent = nullptr);
  QTableWidget* grid() const { return grid_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void refresh();
  PointCells selection() const;
  void run(PointCommand c);
  void commitEdit();
  void copy();
  void paste();
  void rowCommand(bool insert);
  void accept() override;
  PointTableLogic& logic_;
  PointTableForm form_;
  QSpinBox* spin_;
  QTableWidget* grid_;
  QButtonGroup* fitMode_ = nullptr;
  QCheckBox* linearize_ = nullptr;
  std::vector<QLabel*> notes_;
  bool filling_ = false;
};

}  // namespace kamo
