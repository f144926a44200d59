// The documentation dialogs on Qt Widgets.
#include "gui/docudialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/prompts.h"

namespace kamo {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

QLineEdit* Edit(QWidget* parent, const char* name, const std::string& text, int maxLength) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  // A longer stored text is shown whole; the store refuses it with a message.
  if (maxLength > 0 && static_cast<int>(Q(text).size()) <= maxLength) e->setMaxLength(maxLength);
  e->setText(Q(text));
  return e;
}

QTableWidgetItem* Cell(const std::string& text, bool editable = true) {
  auto* item = new QTableWidgetItem(Q(text));
  if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

std::string CellText(const QTableWidget* t, int row, int col) {
  const QTableWidgetItem* item = t->item(row, col);
  return item ? S(item->text()) : std::string();
}

void FitGrid(QTableWidget* t) {
  t->resizeColumnsToContents();
  t->horizontalHeader()->setStretchLastSection(true);
  int h = t->horizontalHeader()->height() + 2 * t->frameWidth();
  for (int r = 0; r < t->rowCount(); ++r) h += t->rowHeight(r);
  t->setMinimumHeight(h);
  t->setMaximumHeight(h);
}
}  // namespace

// ------------------------------------------------------------- TForm_EinAend

TForm_EinAend::TForm_EinAend(const ChangeForm& f, QWidget* parent) : QDialog(parent), form_(f) {
  setObjectName("TForm_EinAend");
  setWindowTitle(Q(f.caption));
  auto* layout = new QVBoxLayout(this);
  auto* fields = new QFormLayout;
  text_ = Edit(this, "Edit_aendText", f.changeText, f.changeTextMax);
  date_ = Edit(this, "Edit_aendDatum", f.changeDate, f.changeDateMax);
  responsible_ = Edit(this, "Edit_bearbeiter", f.responsible, f.responsibleMax);
  auto* today = new QPushButton(Q("<" + f.today), this);
  today->setObjectName("Button_datum");
  connect(today, &QPushButton::clicked, this, [this] { date_->setText(Q(form_.today)); });
  auto* dateRow = new QHBoxLayout;
  dateRow->addWidget(date_);
  dateRow->addWidget(today);
  description_ = new QPlainTextEdit(this);
  description_->setObjectName("Memo_beschreibung");
  description_->setPlainText(Q(f.description));
  description_->setTabChangesFocus(true);
  fields->addRow(QString::fromUtf8("\u00C4nderungstext"), text_);
  fields->addRow(QString::fromUtf8("\u00C4nderungsdatum"), dateRow);
  fields->addRow("Bearbeiter", responsible_);
  fields->addRow("Beschreibung", description_);
  layout->addLayout(fields);
  PromptButtons buttons(this);
  layout->addWidget(buttons.row());
  text_->setFocus();
}

ChangeForm TForm_EinAend::current() const {
  ChangeForm f = form_;
  f.changeText = S(text_->text());
  f.changeDate = S(date_->text());
  f.responsible = S(responsible_->text());
  f.description = S(description_->toPlainText());
  return f;
}

std::optional<ChangeForm> TForm_EinAend::answer() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return current();
}

// ----------------------------------------------------------- TForm_zeichInfo

TForm_zeichInfo::TForm_zeichInfo(const DrawingInfoForm& f, QWidget* parent)
    : QDialog(parent), form_(f) {
  setObjectName("TForm_zeichInfo");
  setWindowTitle(Q(f.caption));
  auto* layout = new QVBoxLayout(this);
  const int rows = f.iso ? 3 : 4;

  auto* top = new QHBoxLayout;
  signatures_ = new QTableWidget(rows, 3, this);
  signatures_->setObjectName("StringGrid_unterschrift");
  signatures_->setHorizontalHeaderLabels({QString(), Q(f.dateHeading), Q(f.nameHeading)});
  signatures_->verticalHeader()->hide();
  for (int r = 0; r < rows; ++r) {
    size_t i = static_cast<size_t>(r);
    signatures_->setItem(r, 0, Cell(f.rowLabels[i], false));
    signatures_->setItem(r, 1, Cell(f.dates[i]));
    signatures_->setItem(r, 2, Cell(f.names[i]));
  }
  FitGrid(signatures_);
  top->addWidget(signatures_, 1);
  if (!f.iso) {
    // "< " + today puts today's date into the date cell of its row.
    auto* dateButtons = new QVBoxLayout;
    dateButtons->setSpacing(0);
    dateButtons->addSpacing(signatures_->horizontalHeader()->height());
    for (int r = 0; r < rows; ++r) {
      auto* b = new QPushButton(Q("< " + f.today), this);
      b->setObjectName(QString("Button_datum%1").arg(r + 1));
      b->setFixedHeight(signatures_->rowHeight(r));
      connect(b, &QPushButton::clicked, this,
              [this, r] { signatures_->setItem(r, 1, Cell(form_.today)); });
      dateButtons->addWidget(b);
    }
    dateButtons->addStretch();
    top->addLayout(dateButtons);
  }
  layout->addLayout(top);

  if (f.iso) {
    document_ = new QTableWidget(3, 2, this);
    document_->setObjectName("StringGrid_dokument");
    document_->horizontalHeader()->hide();
    document_->verticalHeader()->hide();
    const std::string* values[3] = {&f.responsibleDept, &f.documentType, &f.documentStatus};
    for (int r = 0; r < 3; ++r) {
      document_->setItem(r, 0, Cell(f.documentLabels[static_cast<size_t>(r)], false));
      document_->setItem(r, 1, Cell(*values[r]));
    }
    FitGrid(document_);
    layout->addWidget(document_);
  } else {
    auto* replacement = new QFormLayout;
    replacementFor_ = Edit(this, "Edit_ersatzFuer", f.replacementFor, f.replacementMax);
    replacedBy_ = Edit(this, "Edit_ersetztDurch", f.replacedBy, f.replacementMax);
    replacement->addRow(QString::fromUtf8("Ersatz f\u00FCr"), replacementFor_);
    replacement->addRow("Ersetzt durch", replacedBy_);
    layout->addLayout(replacement);
  }

  auto* modeRow = new QHBoxLayout;
  auto* modeLabel = new QLabel("Texte auf Blatt", this);
  sheetMode_ = new QComboBox(this);
  sheetMode_->setObjectName("ComboBox_blatt");
  for (const auto& t : f.sheetModeTexts) sheetMode_->addItem(Q(t));
  modeLabel->setBuddy(sheetMode_);
  modeRow->addWidget(modeLabel);
  modeRow->addWidget(sheetMode_);
  modeRow->addStretch();
  layout->addLayout(modeRow);

  texts_ = new QTableWidget(DrawingInfoForm::kTextRows, 5, this);
  texts_->setObjectName("StringGrid_texte");
  texts_->setHorizontalHeaderLabels({"x", "y", "h", "phi", "Text"});
  for (int r = 0; r < DrawingInfoForm::kTextRows; ++r) {
    const FreeTextRow& row = f.texts[static_cast<size_t>(r)];
    const std::string* cells[5] = {&row.x, &row.y, &row.h, &row.phi, &row.text};
    for (int c = 0; c < 5; ++c) texts_->setItem(r, c, Cell(*cells[c]));
  }
  texts_->setMinimumWidth(520);
  FitGrid(texts_);  // all eight rows at once
  for (int c = 0; c < 4; ++c) texts_->setColumnWidth(c, 60);
  layout->addWidget(texts_);

  sheetMode_->setCurrentIndex(f.textSheetMode);
  sheetModeChanged(f.textSheetMode);
  connect(sheetMode_, &QComboBox::currentIndexChanged, this, &TForm_zeichInfo::sheetModeChanged);

  PromptButtons buttons(this);
  layout->addWidget(buttons.row());
}

void TForm_zeichInfo::sheetModeChanged(int mode) {
  // "-": the free texts appear on no sheet.
  texts_->setVisible(mode != DrawingInfoForm::kSheetModes - 1);
  adjustSize();
}

DrawingInfoForm TForm_zeichInfo::current() const {
  DrawingInfoForm f = form_;
  for (int r = 0; r < signatures_->rowCount(); ++r) {
    f.dates[static_cast<size_t>(r)] = CellText(signatures_, r, 1);
    f.names[static_cast<size_t>(r)] = CellText(signatures_, r, 2);
  }
  if (document_) {
    f.responsibleDept = CellText(document_, 0, 1);
    f.documentType = CellText(document_, 1, 1);
    f.documentStatus = CellText(document_, 2, 1);
  }
  if (replacementFor_) {
    f.replacementFor = S(replacementFor_->text());
    f.replacedBy = S(replacedBy_->text());
  }
  f.textSheetMode = sheetMode_->currentIndex();
  for (int r = 0; r < DrawingInfoForm::kTextRows; ++r) {
    FreeTextRow& row = f.texts[static_cast<size_t>(r)];
    std::string* cells[5] = {&row.x, &row.y, &row.h, &row.phi, &row.text};
    for (int c = 0; c < 5; ++c) *cells[c] = CellText(texts_, r, c);
  }
  return f;
}

std::optional<DrawingInfoForm> TForm_zeichInfo::answer() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return current();
}

// ------------------------------------------------------------ TForm_confDoku

TForm_confDoku::TForm_confDoku(const DocumentLinksForm& f, QWidget* parent)
    : QDialog(parent), form_(f) {
  setObjectName("TForm_confDoku");
  setWindowTitle(Q(f.caption));
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < DocumentLinksForm::kLinks; ++i) {
    size_t k = static_cast<size_t>(i);
    const QString n = QString::number(i + 1);
    auto* group = new QGroupBox(this);
    group->setObjectName("GroupBox_" + n);
    auto* grid = new QGridLayout(group);
    programs_[k] = Edit(group, "", f.programs[k], 254);
    programs_[k]->setObjectName("Edit_prog" + n);
    files_[k] = Edit(group, "", f.files[k], 254);
    files_[k]->setObjectName("Edit_file" + n);
    programs_[k]->setMinimumWidth(360);
    programs_[k]->setPlaceholderText(QString::fromUtf8("leer: die zugeordnete Anwendung der Datei"));
    auto* pickProg = new QPushButton("...", group);
    pickProg->setObjectName("Button_prog" + n);
    auto* pickFile = new QPushButton("...", group);
    pickFile->setObjectName("Button_file" + n);
    auto* execProg = new QPushButton("Exec Prog", group);
    execProg->setObjectName("Button_execProg" + n);
    auto* execFile = new QPushButton("Exec File", group);
    execFile->setObjectName("Button_execFile" + n);
    for (QPushButton* b : {pickProg, pickFile}) b->setMaximumWidth(32);
    grid->addWidget(new QLabel("Program " + n, group), 0, 0);
    grid->addWidget(programs_[k], 0, 1);
    grid->addWidget(pickProg, 0, 2);
    grid->addWidget(execProg, 0, 3);
    grid->addWidget(new QLabel("File " + n, group), 1, 0);
    grid->addWidget(files_[k], 1, 1);
    grid->addWidget(pickFile, 1, 2);
    grid->addWidget(execFile, 1, 3);
    auto pick = [this, k](bool program) {
      if (!form_.browse) return;
      QLineEdit* e = program ? programs_[k] : files_[k];
      if (auto chosen = form_.browse(program, S(e->text()))) e->setText(Q(*chosen));
    };
    connect(pickProg, &QPushButton::clicked, this, [pick] { pick(true); });
    connect(pickFile, &QPushButton::clicked, this, [pick] { pick(false); });
    connect(execProg, &QPushButton::clicked, this, [this, k] {
      if (form_.execProgram) form_.execProgram(S(programs_[k]->text()), S(files_[k]->text()));
    });
    connect(execFile, &QPushButton::clicked, this, [this, k] {
      if (form_.execFile) form_.execFile(S(files_[k]->text()));
    });
    layout->addWidget(group);
  }
  PromptButtons buttons(this);
  layout->addWidget(buttons.row());
}

DocumentLinksForm TForm_confDoku::current() const {
  DocumentLinksForm f = form_;
  for (size_t k = 0; k < DocumentLinksForm::kLinks; ++k) {
    f.programs[k] = S(programs_[k]->text());
    f.files[k] = S(files_[k]->text());
  }
  return f;
}

std::optional<DocumentLinksForm> TForm_confDoku::answer() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return current();
}

}  // namespace kamo
