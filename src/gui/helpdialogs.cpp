// The dialog of the help picture catalogue.
#include "gui/helpdialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/formkit.h"

namespace kamo {

TForm_hilfebild::TForm_hilfebild(const PictureCatalogueForm& f, UiPort* port, QWidget* parent)
    : QDialog(parent, Qt::Tool) {
  setObjectName("TForm_hilfebild");
  setWindowTitle(QtText(f.caption));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  list_ = new QComboBox(this);
  list_->setObjectName("ComboBox_bilder");
  list_->setMinimumWidth(420);
  for (const std::string& e : f.entries) list_->addItem(QtText(e));
  if (f.selected >= 0 && f.selected < list_->count()) list_->setCurrentIndex(f.selected);
  top->addWidget(list_, 1);
  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  auto* up = new QToolButton(this);
  up->setObjectName("SpinButton_up");
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton(this);
  down->setObjectName("SpinButton_down");
  down->setArrowType(Qt::DownArrow);
  spin->addWidget(up);
  spin->addWidget(down);
  top->addLayout(spin);
  layout->addLayout(top);

  auto* row = new QHBoxLayout;
  auto button = [this, row](const char* caption, const char* name) {
    QPushButton* b = PlainButton(QString::fromUtf8(caption), name, this);
    row->addWidget(b);
    return b;
  };
  QPushButton* ok = button("OK", "Button_ok");
  ok->setDefault(true);
  QPushButton* help = button("&Hilfe", "Button_hilfe");
  QPushButton* add = button("&Neu", "Button_neu");
  QPushButton* change = button("&\u00C4ndern", "Button_aendern");
  QPushButton* insert = button("&Einf\u00FCgen", "Button_einfuegen");
  QPushButton* remove = button("&L\u00F6schen", "Button_loeschen");
  layout->addLayout(row);

  connect(ok, &QPushButton::clicked, this, &QDialog::reject);
  int topic = f.helpTopic;
  connect(help, &QPushButton::clicked, this, [port, topic] { ShowFormHelp(port, topic, 1); });
  connect(list_, &QComboBox::activated, this, [this](int i) { finish(CatalogueAction::Select, i); });
  connect(up, &QToolButton::clicked, this, [this] {
    finish(CatalogueAction::Select, std::max(0, list_->currentIndex() - 1));
  });
  connect(down, &QToolButton::clicked, this, [this] {
    finish(CatalogueAction::Select, std::min(list_->count() - 1, list_->currentIndex() + 1));
  });
  connect(add, &QPushButton::clicked, this, [this] { finish(CatalogueAction::New, list_->currentIndex()); });
  connect(change, &QPushButton::clicked, this, [this] { finish(CatalogueAction::Change, list_->currentIndex()); });
  connect(insert, &QPushButton::clicked, this, [this] { finish(CatalogueAction::Insert, list_->currentIndex()); });
  connect(remove, &QPushButton::clicked, this, [this] { finish(CatalogueAction::Delete, list_->currentIndex()); });
}

void TForm_hilfebild::finish(CatalogueAction action, int selected) {
  answer_ = PictureCatalogueAnswer{action, selected};
  accept();
}

}  // namespace kamo
