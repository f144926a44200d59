#include "gui/projectdialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/ui_port.h"
#include "gui/formkit.h"

namespace kamo {

TForm_fields::TForm_fields(FieldsLogic& logic, UiPort* port, QWidget* parent)
    : QDialog(parent), logic_(logic), form_(logic.form()) {
  setObjectName(QtText(form_.objectName));
  setWindowTitle(QtText(form_.caption));
  auto* outer = new QVBoxLayout(this);
  if (!form_.radioName.empty()) {
    QString name = QtText("RadioGroup_" + form_.radioName);
    auto* box = new QGroupBox(QtText(form_.radioTitle), this);
    box->setObjectName(name);
    SetHint(box, port, form_.radioHint);
    auto* layout = new QHBoxLayout(box);
    radios_ = new QButtonGroup(box);
    for (size_t i = 0; i < form_.radioItems.size(); ++i) {
      auto* r = new QRadioButton(QtText(form_.radioItems[i]), box);
      r->setObjectName(name + "_" + QString::number(i));
      radios_->addButton(r, static_cast<int>(i));
      layout->addWidget(r);
    }
    outer->addWidget(box);
  }
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  for (size_t i = 0; i < form_.fields.size(); ++i) {
    const FormField& ff = form_.fields[i];
    EditRow r = AddEditRow(grid, static_cast<int>(i), ff.name, ff.label, ff.unit, ff.hasDefault, port,
                           ff.hintTopic);
    edits_.push_back(r.edit);
    if (r.defaultButton) {
      connect(r.defaultButton, &QPushButton::clicked, this,
              [this, i] { edits_[i]->setText(QtText(logic_.defaultText(i, values()))); });
    }
  }
  for (const FieldsCheck& c : form_.checks) {
    auto* box = new QCheckBox(QtText(c.caption), this);
    box->setObjectName(QtText("CheckBox_" + c.name));
    checks_.push_back(box);
    outer->addWidget(box);
  }
  outer->addStretch(1);
  int topic = form_.helpTopic;
  FormButtons buttons(this, port, [topic] { return topic; }, false);
  buttons.helpText()->setText("&Hilfe");
  buttons.helpPicture()->hide();
  if (topic == 0) buttons.helpText()->hide();
  outer->addWidget(buttons.row());
  connect(buttons.ok(), &QPushButton::clicked, this, &TForm_fields::accept);
  connect(buttons.cancel(), &QPushButton::clicked, this, &QDialog::reject);

  FieldsValues v = logic_.fill();
  for (size_t i = 0; i < edits_.size() && i < v.texts.size(); ++i) {
    QString text = QtText(v.texts[i]);
    // The limit holds for typing; a longer text already there stays whole.
    if (i < form_.maxLengths.size() && form_.maxLengths[i] > 0) {
      int most = form_.maxLengths[i];
      edits_[i]->setMaxLength(std::max<int>(most, static_cast<int>(text.size())));
      // Wide enough to read a line of its length (up to a screen's share).
      edits_[i]->setMinimumWidth(edits_[i]->fontMetrics().averageCharWidth() * std::clamp(most, 20, 60));
    }
    edits_[i]->setText(text);
  }
  for (size_t i = 0; i < checks_.size() && i < v.checks.size(); ++i) checks_[i]->setChecked(v.checks[i]);
  if (radios_ && radios_->button(v.radio)) radios_->button(v.radio)->setChecked(true);
  if (!edits_.empty()) {
    edits_.front()->setFocus();
    edits_.front()->selectAll();
  }
  FitToScreen(this);
}

FieldsValues TForm_fields::values() const {
  FieldsValues v;
  for (QLineEdit* e : edits_) v.texts.push_back(StdText(e->text()));
  for (QCheckBox* c : checks_) v.checks.push_back(c->isChecked());
  v.radio = radios_ ? std::max(0, radios_->checkedId()) : 0;
  return v;
}

void TForm_fields::accept() {
  if (!logic_.store(values())) return;
  QDialog::accept();
}

}  // namespace kamo
