// The dialogs of the curve editor on Qt Widgets: the list dialog
// TForm_einarray, the segment dialog TForm_kamonock, the parameter dialogs
// (TForm_riboelip, TForm_ribosin, TForm_riboslin, TForm_ribopg,
// TForm_riboexz, TForm_kamog1), the position dialog TForm_einkoord and the
// coefficient dialog TForm_polynom. Each only wires widgets to its logic
// (core/forms.h); none touches the model.
#pragma once
#include <QDialog>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/forms.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QWidget;

namespace kamo {

class UiPort;

// The picture of a curve type: the outline of the cam with its centre.
class CurvePicture : public QWidget {
  Q_OBJECT
 public:
  explicit CurvePicture(QWidget* parent = nullptr);
  void setOutline(Outline o);
  const Outline& outline() const { return outline_; }
  QSize sizeHint() const override { return {180, 180}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  Outline outline_;
};

class TForm_einarray : public QDialog {
  Q_OBJECT
 public:
  TForm_einarray(const ListForm& f, UiPort* port, QWidget* parent = nullptr);
  // The command on closing; nullopt for "Abbrechen" or while open.
  std::optional<ListAnswer> answer() const;

 private:
  void finish(int command);
  int line() const;
  QListWidget* list_;
  int command_ = -1;
  int line_ = 0;
};

class TForm_kamonock : public QDialog {
  Q_OBJECT
 public:
  TForm_kamonock(SegmentLogic& logic, UiPort* port, QWidget* parent = nullptr);

 private:
  void confirm();
  void calculate();
  void modeChanged();
  SegmentLogic& logic_;
  QLineEdit *vongrad_, *vonrad_, *bisgrad_, *bisrad_, *formel_;
  QLineEdit *r1_, *r2_, *phi1_, *phi2_;
  QLabel* error_;
  QWidget* section_;
  QButtonGroup *mode_, *sinlin_;
  QLabel* note_ = nullptr;
};

class TForm_param : public QDialog {
  Q_OBJECT
 public:
  TForm_param(ParamLogic& logic, UiPort* port, QWidget* parent = nullptr);
  ParamValues values() const;

 private:
  void showValues(const ParamValues& v);
  void relabel();
  void changed();
  void accept() override;
  void calc();
  void toggleUnits();
  ParamLogic& logic_;
  ParamForm form_;
  std::vector<QLineEdit*> edits_;
  std::vector<QLabel*> units_;
  QButtonGroup* radios_ = nullptr;
  CurvePicture* picture_;
  bool filling_ = false;
};

class TForm_einkoord : public QDialog {
  Q_OBJECT
 public:
  TForm_einkoord(PositionLogic& logic, int j, UiPort* port, QWidget* parent = nullptr);
  int position() const { return j_; }

 private:
  void fill();
  bool store();
  void step(int delta);
  void accept() override;
  PositionLogic& logic_;
  int j_;
  QLabel *labelX_, *labelY_, *labelW_, *unitX_, *unitY_, *unitW_;
  QLineEdit *x_, *y_, *w_;
  QSpinBox* spin_;
  bool filling_ = false;
};

class TForm_polynom : public QDialog {
  Q_OBJECT
 public:
  TForm_polynom(PolyLogic& logic, UiPort* port, QWidget* parent = nullptr);

 private:
  std::vector<std::string> cells() const;
  void resizeGrid(int n);
  void accept() override;
  PolyLogic& logic_;
  QSpinBox* spin_;
  QTableWidget* grid_;
  std::vector<std::string> kept_;  // rows beyond n keep their texts
};

}  // namespace kamo
