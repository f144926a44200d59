// The prompt forms, the choice form, Thelperr and the text viewer.
#include "gui/prompts.h"

#include <QApplication>
#include <QButtonGroup>
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
  help->setEnabled(false);  // help texts are not part of the program yet
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
