// The shared pieces of the input dialogs.
#include "gui/formkit.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "core/ui_port.h"

namespace kamo {

QString QtText(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string StdText(const QString& text) { return text.toStdString(); }

void ShowFormHelp(UiPort* port, int topic, int mode) {
  if (!port) return;
  if (HelpProvider* help = port->helpProvider()) {
    help->showHelp(topic, mode);
    return;
  }
  port->box("Meldung:", "Keine Hilfe verf\u00FCgbar (Thema " + std::to_string(topic) + ").",
            BoxIcon::Information);
}

void SetHint(QWidget* w, UiPort* port, int topic) {
  if (!w || !port || topic == 0) return;
  if (HelpProvider* help = port->helpProvider()) {
    std::string hint = help->helpHint(topic);
    if (!hint.empty()) w->setToolTip(QtText(hint));
  }
}

QPushButton* PlainButton(const QString& caption, const char* objectName, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(objectName);
  b->setAutoDefault(false);
  b->setDefault(false);
  return b;
}

EditRow AddEditRow(QGridLayout* grid, int row, const std::string& name, const std::string& label,
                   const std::string& unit, bool withDefault, UiPort* port, int hintTopic) {
  QWidget* parent = grid->parentWidget();
  EditRow r;
  r.label = new QLabel(QtText(label), parent);
  r.label->setObjectName(QtText("Label_" + name));
  SetHint(r.label, port, hintTopic);
  r.edit = new QLineEdit(parent);
  r.edit->setObjectName(QtText("Edit_" + name));
  r.edit->setMinimumWidth(110);
  r.label->setBuddy(r.edit);
  grid->addWidget(r.label, row, 0);
  grid->addWidget(r.edit, row, 1);
  if (withDefault) {
    r.defaultButton = PlainButton("<", ("Button_def_" + name).c_str(), parent);
    r.defaultButton->setMaximumWidth(32);
    r.defaultButton->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(r.defaultButton, row, 2);
  }
  r.unit = new QLabel(QtText(unit), parent);
  r.unit->setObjectName(QtText("Label_unit_" + name));
  grid->addWidget(r.unit, row, 3);
  return r;
}

FormButtons::FormButtons(QDialog* dialog, UiPort* port, std::function<int()> helpTopic, bool autoClose)
    : row_(new QWidget(dialog)) {
  auto* layout = new QHBoxLayout(row_);
  layout->setContentsMargins(0, 0, 0, 0);
  ok_ = new QPushButton("OK", row_);
  ok_->setObjectName("Button_ok");
  ok_->setDefault(true);
  cancel_ = PlainButton("Abbrechen", "Button_cancel", row_);
  helpText_ = PlainButton("&Hilfetext", "Button_hilfetext", row_);
  helpPicture_ = PlainButton("Hilfe&bild", "Button_hilfebild", row_);
  for (QPushButton* b : {ok_, cancel_, helpText_, helpPicture_}) layout->addWidget(b);
  if (autoClose) {
    QObject::connect(ok_, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel_, &QPushButton::clicked, dialog, &QDialog::reject);
  }
  QObject::connect(helpText_, &QPushButton::clicked, dialog,
                   [port, helpTopic] { ShowFormHelp(port, helpTopic ? helpTopic() : 0, 1); });
  QObject::connect(helpPicture_, &QPushButton::clicked, dialog,
                   [port, helpTopic] { ShowFormHelp(port, helpTopic ? helpTopic() : 0, 2); });
}

QPushButton* FormButtons::add(const QString& caption, const char* objectName) {
  QPushButton* b = PlainButton(caption, objectName, row_);
  static_cast<QHBoxLayout*>(row_->layout())->addWidget(b);
  return b;
}

void FitToScreen(QDialog* d) {
  QScreen* s = d->screen() ? d->screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  QRect avail = s->availableGeometry();
  d->setMaximumSize(avail.size());
  QSize hint = d->sizeHint().boundedTo(avail.size());
  d->resize(hint);
}

}  // namespace kamo
