// The small settings dialogs of the Edit menu on Qt Widgets (TForm_kamocalc,
// TForm_kamocam, TForm_kamoram, Tform_uni4: all built on FieldsLogic): edit rows with "<" defaults, an
// optional radio group and check boxes. They only wire widgets to their
// logic (core/forms.h); none touches the model.
#pragma once
#include <QDialog>
#include <vector>

#include "core/forms.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace kamo {

class UiPort;

class TForm_fields : public QDialog {
  Q_OBJECT
 public:
  TForm_fields(FieldsLogic& logic, UiPort* port, QWidget* parent = nullptr);
  FieldsValues values() const;

 private:
  void accept() override;
  FieldsLogic& logic_;
  FieldsForm form_;
  std::vector<QLineEdit*> edits_;
  std::vector<QCheckBox*> checks_;
  QButtonGroup* radios_ = nullptr;
};

}  // namespace kamo
