// The prompt forms, the choice form, Thelperr and the text viewer.
#include "gui/prompts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QClipboard>
#include <QGridLayout>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/numbers.h"

namespace kamo {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

QLabel* PromptLabel(const std::string& text, QWidget* parent) {
  auto* l = new QLabel(Q(text), parent);
  l->setObjectName("Label_prompt");
  l->setWordWrap(true);
  l->setTextFormat(Qt::PlainText);
  return l;
}

// A list in which Enter and a double click confirm the dialog.
class ChoiceList : public QListWidget {
 public:
  ChoiceList(QDialog* dialog) : QListWidget(dialog), dialog_(dialog) {
    connect(this, &QListWidget::itemDoubleClicked, dialog, &QDialog::accept);
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
      dialog_->accept();
      return;
    }
    QListWidget::keyPressEvent(e);
  }

 private:
  QDialog* dialog_;
};
}  // namespace

PromptButtons::PromptButtons(QDialog* dialog) : row_(new QWidget(dialog)) {
  auto* layout = new QHBoxLayout(row_);
  layout->setContentsMargins(0, 0, 0, 0);
  ok_ = new QPushButton("OK", row_);
  ok_->setObjectName("Button_ok");
  ok_->setDefault(true);
  auto* cancel = new QPushButton("Abbrechen", row_);
  cancel->setObjectName("Button_cancel");
  auto* helpText = new QPushButton("&Hilfetext", row_);
  helpText->setObjectName("Button_hilfetext");
  auto* helpPicture = new QPushButton("Hilfe&bild", row_);
  helpPicture->setObjectName("Button_hilfebild");
  helpText->setEnabled(false);
  helpPicture->setEnabled(false);
  for (QPushButton* b : {ok_, cancel, helpText, helpPicture}) layout->addWidget(b);
  QObject::connect(ok_, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

PromptDialog::PromptDialog(const TextPrompt& p, QWidget* parent)
    : QDialog(parent), maxLength_(p.maxLength) {
  setObjectName("TForm_eingabe");
  setWindowTitle(Q(p.caption));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PromptLabel(p.label, this));
  edit_ = new QLineEdit(this);
  edit_->setObjectName("Edit_text");
  last_ = Q(p.text);
  // QLineEdit's own limit would cut a longer value that is only shown.
  if (maxLength_ >= 0 && last_.size() <= maxLength_) edit_->setMaxLength(maxLength_);
  edit_->setText(last_);
  edit_->selectAll();
  connect(edit_, &QLineEdit::textEdited, this, &PromptDialog::limitTyping);
  layout->addWidget(edit_);
  PromptButtons buttons(this);
  layout->addWidget(buttons.row());
  setMinimumWidth(360);
}

void PromptDialog::limitTyping(const QString& text) {
  if (maxLength_ >= 0 && text.size() > maxLength_ && text.size() > last_.size()) {
    int cursor = edit_->cursorPosition() - static_cast<int>(text.size() - last_.size());
    edit_->setText(last_);
    edit_->setCursorPosition(std::max(0, cursor));
    return;
  }
  last_ = text;
}

std::optional<std::string> PromptDialog::answer() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return edit_->text().toStdString();
}

ChoiceDialog::ChoiceDialog(const ChoicePrompt& p, QWidget* parent) : QDialog(parent) {
  setObjectName("TForm_auswahl");
  setWindowTitle(Q(p.caption));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PromptLabel(p.label, this));
  int n = static_cast<int>(p.items.size());
  int selected = p.selected >= 0 && p.selected < n ? p.selected : 0;
  if (p.asList || n > kMaxRadios) {
    list_ = new ChoiceList(this);
    list_->setObjectName("ListBox_choice");
    for (const auto& item : p.items) list_->addItem(Q(item));
    if (n > 0) list_->setCurrentRow(selected);
    // Long choice texts (the curve types) are shown whole.
    list_->setMinimumWidth(std::min(900, list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + 24));
    layout->addWidget(list_);
  } else {
    auto* group = new QGroupBox(Q(p.group), this);
    group->setObjectName("RadioGroup_choice");
    auto* g = new QVBoxLayout(group);
    radios_ = new QButtonGroup(this);
    for (int i = 0; i < n; ++i) {
      auto* r = new QRadioButton(Q(p.items[static_cast<size_t>(i)]), group);
      r->setObjectName(QString("RadioButton_%1").arg(i + 1));
      radios_->addButton(r, i);
      g->addWidget(r);
      if (i == selected) r->setChecked(true);
    }
    layout->addWidget(group);
  }
  PromptButtons buttons(this);
  layout->addWidget(buttons.row());
  setMinimumWidth(360);
}

std::optional<int> ChoiceDialog::answer() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  int k = list_ ? list_->currentRow() : radios_->checkedId();
  if (k < 0) return std::nullopt;
  return k;
}

Thelperr::Thelperr(const ExplanationForm& f, QWidget* parent) : QDialog(parent) {
  setObjectName("Thelperr");
  setWindowTitle("Fehlermeldung");
  auto* layout = new QVBoxLayout(this);
  auto addLabel = [&](const char* text, const char* name) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    layout->addWidget(l);
  };
  addLabel("Fehlermeldung", "Label_message");
  message_ = new QLineEdit(Q(f.message), this);
  message_->setObjectName("Edit_message");
  message_->setReadOnly(true);
  layout->addWidget(message_);
  addLabel("Ursache", "Label_cause");
  cause_ = new QPlainTextEdit(Q(f.cause), this);
  cause_->setObjectName("Memo_cause");
  layout->addWidget(cause_);
  addLabel("Abhilfe", "Label_remedy");
  remedy_ = new QPlainTextEdit(Q(f.remedy), this);
  remedy_->setObjectName("Memo_remedy");
  layout->addWidget(remedy_);
  for (QPlainTextEdit* memo : {cause_, remedy_})
    connect(memo, &QPlainTextEdit::textChanged, this, [this] { changed_ = true; });
  auto* row = new QHBoxLayout;
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Button_ok");
  ok->setDefault(true);
  auto* help = new QPushButton("&Hilfe", this);
  help->setObjectName("Button_hilfe");
  help->setEnabled(false);  // enabled by the port once it has help to show
  row->addWidget(ok);
  row->addWidget(help);
  layout->addLayout(row);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  resize(520, 360);
}

ExplanationForm Thelperr::form() const {
  // One line each in the explanation file.
  auto oneLine = [](const QPlainTextEdit* e) {
    return e->toPlainText().replace('\n', ' ').toStdString();
  };
  return {message_->text().toStdString(), oneLine(cause_), oneLine(remedy_)};
}

TableDialog::TableDialog(const TablePick& t, QWidget* parent) : QDialog(parent) {
  setObjectName("TForm_tabelle");
  setWindowTitle(Q(t.caption));
  auto* layout = new QVBoxLayout(this);
  grid_ = new QTableWidget(static_cast<int>(t.rows.size()), static_cast<int>(t.columns.size()), this);
  grid_->setObjectName("Grid_projects");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  QStringList heads;
  for (const auto& c : t.columns) heads << Q(c);
  grid_->setHorizontalHeaderLabels(heads);
  for (int r = 0; r < grid_->rowCount(); ++r) {
    const auto& row = t.rows[static_cast<size_t>(r)];
    for (int c = 0; c < grid_->columnCount() && c < static_cast<int>(row.size()); ++c)
      grid_->setItem(r, c, new QTableWidgetItem(Q(row[static_cast<size_t>(c)])));
  }
  if (grid_->rowCount() > 0) grid_->selectRow(0);
  grid_->resizeColumnsToContents();
  layout->addWidget(grid_);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
  auto* row = new QHBoxLayout;
  auto* open = new QPushButton(QString::fromUtf8("\u00D6ffnen"), this);
  open->setObjectName("Button_open");
  open->setDefault(true);
  open->setEnabled(grid_->rowCount() > 0);
  auto* close = new QPushButton(QString::fromUtf8("Schlie\u00DFen"), this);
  close->setObjectName("Button_close");
  row->addWidget(open);
  row->addWidget(close);
  layout->addLayout(row);
  connect(open, &QPushButton::clicked, this, &QDialog::accept);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  resize(900, 420);
}

std::optional<int> TableDialog::answer() const {
  if (result() != QDialog::Accepted || grid_->currentRow() < 0) return std::nullopt;
  return grid_->currentRow();
}

TEinDiagramLimits::TEinDiagramLimits(const DiagramLimitsForm& f, QWidget* parent)
    : QDialog(parent), computed_(f) {
  setObjectName("TEinDiagramLimits");
  setWindowTitle(Q(f.caption));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  const char* names[4] = {"Edit_xmin", "Edit_xmax", "Edit_ymin", "Edit_ymax"};
  const std::string labels[4] = {f.xLabel + " min", f.xLabel + " max", f.yLabel + " min",
                                 f.yLabel + " max"};
  for (int i = 0; i < 4; ++i) {
    auto* l = new QLabel(Q(labels[i]), this);
    l->setTextFormat(Qt::PlainText);
    edits_[i] = new QLineEdit(this);
    edits_[i]->setObjectName(names[i]);
    edits_[i]->setMaxLength(30);
    grid->addWidget(l, i, 0);
    grid->addWidget(edits_[i], i, 1);
  }
  layout->addLayout(grid);
  fill(f);
  PromptButtons buttons(this);
  // OK checks the numbers before it closes.
  disconnect(buttons.ok(), &QPushButton::clicked, this, &QDialog::accept);
  connect(buttons.ok(), &QPushButton::clicked, this, &TEinDiagramLimits::confirm);
  auto* calc = new QPushButton("Calculate", buttons.row());
  calc->setObjectName("Button_calc");
  buttons.row()->layout()->addWidget(calc);
  connect(calc, &QPushButton::clicked, this, [this] { fill(computed_); });
  layout->addWidget(buttons.row());
}

void TEinDiagramLimits::fill(const DiagramLimitsForm& f) {
  const double v[4] = {f.xMin, f.xMax, f.yMin, f.yMax};
  for (int i = 0; i < 4; ++i) edits_[i]->setText(QString::number(v[i], 'g', 10));
}

bool TEinDiagramLimits::read(DiagramLimitsForm& f) const {
  double* v[4] = {&f.xMin, &f.xMax, &f.yMin, &f.yMax};
  for (int i = 0; i < 4; ++i) {
    Real x = 0;
    if (!TryParseReal(edits_[i]->text().trimmed().toStdString(), x) || !std::isfinite(x)) return false;
    *v[i] = static_cast<double>(x);
  }
  return true;
}

void TEinDiagramLimits::confirm() {
  DiagramLimitsForm f = computed_;
  if (!read(f)) {
    QApplication::beep();
    return;
  }
  accept();
}

std::optional<DiagramLimitsForm> TEinDiagramLimits::answer() const {
  DiagramLimitsForm f = computed_;
  if (result() != QDialog::Accepted || !read(f)) return std::nullopt;
  return f;
}

TForm_confdrawout::TForm_confdrawout(const PlotForm& f, QWidget* parent) : QDialog(parent), form_(f) {
  setObjectName("TForm_confdrawout");
  setWindowTitle("DRAWOUT");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  auto edit = [this](const char* name, const std::string& text) {
    auto* e = new QLineEdit(Q(text), this);
    e->setObjectName(name);
    connect(e, &QLineEdit::textChanged, this, &TForm_confdrawout::refresh);
    return e;
  };
  auto withButton = [this](QLineEdit* e, QPushButton* b) {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(e);
    h->addWidget(b);
    return row;
  };
  program_ = edit("Edit_program", f.programPath);
  auto* browse = new QPushButton("...", this);
  browse->setObjectName("Button_program");
  connect(browse, &QPushButton::clicked, this, [this] {
    QString p = QFileDialog::getOpenFileName(this, "DRAWOUT", program_->text(),
                                             "wdrawout.exe drawout.exe (wdrawout.exe drawout.exe);;* (*)",
                                             nullptr, QFileDialog::DontUseNativeDialog);
    if (!p.isEmpty()) program_->setText(p);
  });
  form->addRow("DRAWOUT Programmverzeichnis", withButton(program_, browse));
  folder_ = edit("Edit_folder", f.outputFolder);
  auto* dir = new QPushButton("Dir...", this);
  dir->setObjectName("Button_folder");
  connect(dir, &QPushButton::clicked, this, [this] {
    QString d = QFileDialog::getExistingDirectory(this, "Dir", folder_->text(),
                                                  QFileDialog::DontUseNativeDialog);
    if (!d.isEmpty()) folder_->setText(d + "/");
  });
  auto* reset = new QPushButton("<", this);
  reset->setObjectName("Button_folderReset");
  connect(reset, &QPushButton::clicked, this, [this, f] { folder_->setText(Q(f.outputFolder)); });
  auto* folderRow = withButton(folder_, dir);
  folderRow->layout()->addWidget(reset);
  form->addRow("Ausgabeordner", folderRow);

  auto radios = [this](const char* name, const char* title, const std::vector<const char*>& items,
                       int checked, QButtonGroup*& group) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(name);
    auto* h = new QHBoxLayout(box);
    group = new QButtonGroup(this);
    for (size_t i = 0; i < items.size(); ++i) {
      auto* r = new QRadioButton(items[i], box);
      int id = static_cast<int>(i) + 1;
      r->setObjectName(QString(name) + "_" + QString::number(id));
      group->addButton(r, id);
      h->addWidget(r);
      if (id == checked) r->setChecked(true);
    }
    connect(group, &QButtonGroup::idClicked, this, &TForm_confdrawout::refresh);
    return box;
  };
  form->addRow(radios("RadioGroup_output", "Ausgabe", {"HPL", "PS", "PLT", "PL2", "ART"}, f.outputCode,
                      output_));
  form->addRow(radios("RadioGroup_interface", "Schnittstelle", {"seriell", "parallel", "Datei"},
                      f.interface, interface_));
  com_ = edit("Edit_com", f.comPort);
  lpt_ = edit("Edit_lpt", f.lptPort);
  form->addRow("COM", com_);
  form->addRow("LPT", lpt_);
  scale_ = edit("Edit_scale", f.fitToSheet ? "0" : f.scale);
  scaleBeforeFit_ = Q(f.scale);
  form->addRow(QString::fromUtf8("Ma\u00DFstab"), scale_);
  fit_ = new QCheckBox(QString::fromUtf8("Ma\u00DFstab anpassen ?"), this);
  fit_->setObjectName("CheckBox_fit");
  fit_->setChecked(f.fitToSheet);
  connect(fit_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) {
      scaleBeforeFit_ = scale_->text();
      scale_->setText("0");
    } else {
      scale_->setText(scaleBeforeFit_);
    }
    refresh();
  });
  form->addRow(QString(), fit_);
  rotate_ = new QCheckBox("Plot um 90 Grad drehen ?", this);
  rotate_->setObjectName("CheckBox_rotate");
  rotate_->setChecked(f.rotate);
  connect(rotate_, &QCheckBox::toggled, this, &TForm_confdrawout::refresh);
  form->addRow(QString(), rotate_);
  shiftX_ = edit("Edit_shiftX", f.shiftX);
  shiftY_ = edit("Edit_shiftY", f.shiftY);
  width_ = edit("Edit_widthFactor", f.widthFactor);
  form->addRow("Nullpunktverschiebung in x-Richtung", shiftX_);
  form->addRow("Nullpunktverschiebung in y-Richtung", shiftY_);
  form->addRow("Textbreitenfaktor", width_);
  psFont_ = new QComboBox(this);
  psFont_->setObjectName("ComboBox_psFont");
  for (const auto& font : f.psFonts) psFont_->addItem(Q(font));
  if (!f.psFont.empty()) psFont_->setCurrentText(Q(f.psFont));
  connect(psFont_, &QComboBox::currentTextChanged, this, &TForm_confdrawout::refresh);
  form->addRow("Postscript-Zeichensatz", psFont_);
  layout->addLayout(form);
  layout->addWidget(new QLabel("Command Line:", this));
  commandLine_ = new QLabel(this);
  commandLine_->setObjectName("Label_commandLine");
  commandLine_->setTextFormat(Qt::PlainText);
  commandLine_->setWordWrap(true);
  commandLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(commandLine_);
  PromptButtons buttons(this);
  layout->addWidget(buttons.row());
  refresh();
}

PlotForm TForm_confdrawout::current() const {
  PlotForm f = form_;
  f.programPath = program_->text().toStdString();
  f.outputFolder = folder_->text().toStdString();
  f.outputCode = output_->checkedId() > 0 ? output_->checkedId() : 1;
  f.interface = interface_->checkedId() > 0 ? interface_->checkedId() : 2;
  f.comPort = com_->text().toStdString();
  f.lptPort = lpt_->text().toStdString();
  f.fitToSheet = fit_->isChecked();
  f.scale = (f.fitToSheet ? scaleBeforeFit_ : scale_->text()).toStdString();
  f.rotate = rotate_->isChecked();
  f.shiftX = shiftX_->text().toStdString();
  f.shiftY = shiftY_->text().toStdString();
  f.widthFactor = width_->text().toStdString();
  f.psFont = psFont_->currentText().toStdString();
  return f;
}

void TForm_confdrawout::refresh() {
  int i = interface_->checkedId();
  com_->setEnabled(i == 1);
  lpt_->setEnabled(i == 2);
  folder_->setEnabled(i == 3);
  scale_->setEnabled(!fit_->isChecked());
  psFont_->setEnabled(output_->checkedId() == 2);
  if (form_.commandLine) commandLine_->setText(Q(form_.commandLine(current())));
}

std::optional<PlotForm> TForm_confdrawout::answer() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return current();
}

TextViewer::TextViewer(const QString& caption, const QString& text, std::function<void()> print,
                       QWidget* parent)
    : QDialog(parent) {
  setObjectName("TForm_textviewer");
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  auto* view = new QPlainTextEdit(this);
  view->setObjectName("Memo_text");
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view->setPlainText(text);
  layout->addWidget(view);
  auto* row = new QHBoxLayout;
  auto* copy = new QPushButton("Kopieren", this);
  copy->setObjectName("Button_copy");
  connect(copy, &QPushButton::clicked, this, [view] {
    QApplication::clipboard()->setText(view->toPlainText());
  });
  auto* printButton = new QPushButton("&Drucken...", this);
  printButton->setObjectName("Button_print");
  printButton->setEnabled(static_cast<bool>(print));
  connect(printButton, &QPushButton::clicked, this, [print] {
    if (print) print();
  });
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Button_ok");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  row->addWidget(copy);
  row->addWidget(printButton);
  row->addStretch();
  row->addWidget(ok);
  layout->addLayout(row);
  resize(760, 520);
}

}  // namespace kamo
