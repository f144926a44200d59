// The configuration dialog's widgets.
#include "gui/tconfig.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ui_port.h"
#include "gui/formkit.h"

namespace kamo {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

Tconfig::Tconfig(QWidget* parent, ConfigEditor& editor) : QDialog(parent), editor_(editor) {
  setObjectName("Tconfig");
  setWindowTitle("Konfiguration");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageControl");
  layout->addWidget(pages_);
  std::vector<QFormLayout*> forms;
  const auto& names = ConfigPages();
  for (size_t i = 0; i < names.size(); ++i) {
    auto* scroll = new QScrollArea(pages_);
    scroll->setObjectName(QString("TabSheet%1").arg(i + 1));
    scroll->setWidgetResizable(true);
    auto* page = new QWidget(scroll);
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    scroll->setWidget(page);
    pages_->addTab(scroll, Q(names[i]));
    forms.push_back(form);
  }
  for (const ConfigField& f : ConfigFields()) {
    QFormLayout* form = forms[static_cast<size_t>(f.page)];
    QWidget* page = form->parentWidget();
    QWidget* w = buildControl(f, page);
    if (f.control == ConfigControl::Check || f.control == ConfigControl::Radio)
      form->addRow(w);
    else
      form->addRow(Q(f.label), w);
    order_.push_back(f.name);
    if (f.name == "Edit_hoehe") {
      // One "<" for both sides: the largest client area that fits the screen.
      auto* max = new QPushButton("< max", page);
      max->setObjectName("Button_fenstermax");
      connect(max, &QPushButton::clicked, this, [this] {
        for (const auto& [n, t] : editor_.lessButton("Button_fenstermax", [this](const std::string& c) { return textOf(c); }))
          setText(n, t);
      });
      form->addRow(QString(), max);
    }
  }
  auto* buttons = new QHBoxLayout;
  auto button = [this, buttons](const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  QPushButton* okButton = button("Button_ok", "OK");
  QPushButton* cancel = button("Button_abbrechen", "Abbrechen");
  QPushButton* saveButton = button("Button_speichern", "&Speichern");
  help_ = button("Button_hilfe", "&Hilfe");
  buttons->addStretch();
  QPushButton* importButton = button("Button_import", "Import");
  QPushButton* exportButton = button("Button_export", "Export");
  okButton->setDefault(true);
  layout->addLayout(buttons);
  connect(okButton, &QPushButton::clicked, this, &Tconfig::ok);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(saveButton, &QPushButton::clicked, this, &Tconfig::save);
  connect(importButton, &QPushButton::clicked, this, &Tconfig::importFile);
  connect(exportButton, &QPushButton::clicked, this, &Tconfig::exportFile);
  offerHelp(nullptr);
  fill();
  resize(880, 640);
}

void Tconfig::offerHelp(UiPort* port) {
  disconnect(help_, nullptr, this, nullptr);
  connect(help_, &QPushButton::clicked, this, [this, port] { ShowFormHelp(port, PageTopic(pages_->currentIndex()), 1); });
  for (int i = 0; i < pages_->count(); ++i) {
    if (HelpProvider* h = port ? port->helpProvider() : nullptr) {
      std::string hint = h->helpHint(PageTopic(i));
      if (!hint.empty()) pages_->setTabToolTip(i, QString::fromStdString(hint));
    }
  }
}

QWidget* Tconfig::buildControl(const ConfigField& f, QWidget* page) {
  Control c;
  c.field = &f;
  QWidget* result = nullptr;
  switch (f.control) {
    case ConfigControl::Check: {
      c.check = new QCheckBox(Q(f.label), page);
      c.check->setObjectName(Q(f.name));
      result = c.check;
      break;
    }
    case ConfigControl::Radio: {
      auto* box = new QGroupBox(Q(f.label), page);
      box->setObjectName(Q(f.name));
      QBoxLayout* l = f.items.size() > 4 ? static_cast<QBoxLayout*>(new QVBoxLayout(box))
                                         : static_cast<QBoxLayout*>(new QHBoxLayout(box));
      c.group = new QButtonGroup(box);
      for (size_t i = 0; i < f.items.size(); ++i) {
        auto* r = new QRadioButton(Q(f.items[i]), box);
        r->setObjectName(Q(f.name + "_" + std::to_string(i)));
        c.group->addButton(r, static_cast<int>(i));
        l->addWidget(r);
      }
      if (f.items.size() <= 4) l->addStretch();
      result = box;
      break;
    }
    case ConfigControl::Shown: {
      c.shown = new QLabel(page);
      c.shown->setObjectName(Q(f.name));
      c.shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
      result = c.shown;
      break;
    }
    default: {
      auto* row = new QWidget(page);
      auto* l = new QHBoxLayout(row);
      l->setContentsMargins(0, 0, 0, 0);
      c.edit = new QLineEdit(row);
      c.edit->setObjectName(Q(f.name));
      l->addWidget(c.edit);
      std::string name = f.name;
      if (f.lessButton) {
        auto* less = new QToolButton(row);
        less->setText("<");
        less->setObjectName(Q(name + "_default"));
        less->setToolTip("Vorgabe");
        connect(less, &QToolButton::clicked, this, [this, name] {
          for (const auto& [n, t] : editor_.lessButton(name, [this](const std::string& x) { return textOf(x); }))
            setText(n, t);
        });
        l->addWidget(less);
      }
      if (f.control == ConfigControl::Folder || f.control == ConfigControl::Program ||
          f.control == ConfigControl::Manual) {
        auto* pick = new QToolButton(row);
        pick->setText("...");
        pick->setObjectName(Q(name + "_pick"));
        connect(pick, &QToolButton::clicked, this, [this, name] {
          if (auto chosen = editor_.pick(name, textOf(name))) setText(name, *chosen);
        });
        l->addWidget(pick);
      }
      if (f.control == ConfigControl::Colour) {
        // The colour beside its value, and a colour dialog to choose another.
        auto* swatch = new QLabel(row);
        swatch->setObjectName(Q(name + "_muster"));
        swatch->setFixedSize(40, 20);
        swatch->setAutoFillBackground(true);
        auto show = [swatch](const QString& t) {
          QColor col(t.trimmed());
          swatch->setStyleSheet(col.isValid() ? QString("background:%1; border:1px solid black").arg(col.name())
                                              : QString("border:1px solid black"));
        };
        connect(c.edit, &QLineEdit::textChanged, swatch, show);
        l->insertWidget(1, swatch);
        auto* pick = new QToolButton(row);
        pick->setText("...");
        pick->setObjectName(Q(name + "_pick"));
        QLineEdit* edit = c.edit;
        QString caption = Q(f.label);
        connect(pick, &QToolButton::clicked, this, [this, edit, caption] {
          QColor col = QColorDialog::getColor(QColor(edit->text().trimmed()), this, caption,
                                              QColorDialog::DontUseNativeDialog);
          if (col.isValid()) edit->setText(col.name().toUpper());
        });
        l->addWidget(pick);
      }
      result = row;
      break;
    }
  }
  controls_[f.name] = c;
  return result;
}

std::string Tconfig::textOf(const std::string& name) const {
  auto it = controls_.find(name);
  if (it == controls_.end()) return {};
  const Control& c = it->second;
  if (c.edit) return c.edit->text().toStdString();
  if (c.check) return c.check->isChecked() ? "1" : "0";
  if (c.group) return std::to_string(c.group->checkedId());
  if (c.shown) return c.shown->text().toStdString();
  return {};
}

void Tconfig::setText(const std::string& name, const std::string& text) {
  auto it = controls_.find(name);
  if (it == controls_.end()) return;
  Control& c = it->second;
  if (c.edit) c.edit->setText(Q(text));
  if (c.check) c.check->setChecked(text == "1");
  if (c.shown) c.shown->setText(Q(text));
  if (c.group) {
    int id = std::atoi(text.c_str());
    if (QAbstractButton* b = c.group->button(id)) {
      b->setChecked(true);
    } else {
      // No item for the value: none is checked, and the value stays.
      c.group->setExclusive(false);
      for (QAbstractButton* r : c.group->buttons()) r->setChecked(false);
      c.group->setExclusive(true);
    }
  }
}

void Tconfig::fill() {
  for (const std::string& name : order_) setText(name, editor_.text(name));
}

std::vector<std::pair<std::string, std::string>> Tconfig::texts() const {
  std::vector<std::pair<std::string, std::string>> r;
  for (const std::string& name : order_) r.emplace_back(name, textOf(name));
  return r;
}

bool Tconfig::take() {
  std::string refused;
  if (editor_.storeAll(texts(), &refused)) return true;
  const Control& c = controls_[refused];
  QWidget* w = c.edit ? static_cast<QWidget*>(c.edit) : nullptr;
  if (w) {
    for (int i = 0; i < pages_->count(); ++i)
      if (pages_->widget(i)->isAncestorOf(w)) pages_->setCurrentIndex(i);
    w->setFocus();
  }
  return false;
}

void Tconfig::ok() {
  if (!take()) return;
  editor_.apply();
  accept();
}

void Tconfig::save() {
  if (!take()) return;
  editor_.save();
  fill();
}

void Tconfig::importFile() {
  // Rows the file lacks keep what the controls show now.
  if (!take()) return;
  if (editor_.importChosen()) fill();
}

void Tconfig::exportFile() {
  if (!take()) return;
  editor_.exportChosen();
}

}  // namespace kamo
