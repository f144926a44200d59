#include "gui/animationdialogs.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace kamo {

TForm_anistep::TForm_anistep(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("TForm_anistep");
  setWindowTitle("Animation");
  auto* layout = new QHBoxLayout(this);
  auto* step = new QPushButton("+", this);
  step->setObjectName("Button_plus");
  step->setDefault(true);
  auto* run = new QPushButton("+++++++", this);
  run->setObjectName("Button_weiter");
  run->setAutoDefault(false);
  layout->addWidget(step);
  layout->addWidget(run);
  connect(step, &QPushButton::clicked, this, &QDialog::accept);
  connect(run, &QPushButton::clicked, this, &QDialog::reject);
  step->setFocus();
}

}  // namespace kamo
