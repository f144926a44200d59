// The point table editors.
#include "gui/pointdialogs.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/ui_port.h"
#include "gui/formkit.h"

namespace kamo {

namespace {
QAction* AddAction(QMenu* menu, const std::string& caption, const char* name) {
  QAction* a = menu->addAction(QtText(caption));
  a->setObjectName(name);
  return a;
}
}  // namespace

TForm_points::TForm_points(PointTableLogic& logic, UiPort* port, QWidget* parent)
    : QDialog(parent), logic_(logic), form_(logic.form()) {
  setObjectName(QtText(form_.objectName));
  setWindowTitle(QtText(form_.caption));
  auto* layout = new QVBoxLayout(this);

  auto* bar = new QMenuBar(this);
  bar->setObjectName("MainMenu1");
  layout->setMenuBar(bar);
  if (form_.polar) {
    QMenu* file = bar->addMenu("File");
    file->setObjectName("mi_file");
    connect(AddAction(file, "Save", "mi_fileSave"), &QAction::triggered, this, [this] { run(PointCommand::Save); });
    connect(AddAction(file, "Import DXF", "mi_fileImportDxf"), &QAction::triggered, this,
            [this] { run(PointCommand::ImportDxf); });
    file->addSeparator();
    connect(AddAction(file, "Import CSV\u2026", "mi_fileImportCsv"), &QAction::triggered, this,
            [this] { run(PointCommand::ImportCsv); });
    connect(AddAction(file, "Export CSV\u2026", "mi_fileExportCsv"), &QAction::triggered, this,
            [this] { run(PointCommand::ExportCsv); });
  }
  QMenu* edit = bar->addMenu("Edit");
  edit->setObjectName("mi_edit");
  QAction* copyAction = AddAction(edit, form_.copyCaption, "mi_editCopy");
  copyAction->setShortcut(QKeySequence::Copy);
  connect(copyAction, &QAction::triggered, this, &TForm_points::copy);
  QAction* pasteAction = AddAction(edit, form_.pasteCaption, "mi_editPaste");
  pasteAction->setShortcut(QKeySequence::Paste);
  connect(pasteAction, &QAction::triggered, this, &TForm_points::paste);
  connect(AddAction(edit, form_.deleteCaption, "mi_editDeleteLines"), &QAction::triggered, this,
          [this] { rowCommand(false); });
  connect(AddAction(edit, form_.insertCaption, "mi_editInsertLines"), &QAction::triggered, this,
          [this] { rowCommand(true); });
  if (form_.polar) {
    QMenu* calc = bar->addMenu("Calc");
    calc->setObjectName("mi_calc");
    connect(AddAction(calc, "Sort", "mi_calcSort"), &QAction::triggered, this, [this] { run(PointCommand::Sort); });
    connect(AddAction(calc, "Mult * r", "mi_calcMult"), &QAction::triggered, this,
            [this] { run(PointCommand::Multiply); });
    connect(AddAction(calc, "Rotate phi", "mi_calcRotate"), &QAction::triggered, this,
            [this] { run(PointCommand::Rotate); });
  }

  auto* top = new QHBoxLayout;
  layout->addLayout(top);
  auto* countLabel = new QLabel("n", this);
  countLabel->setObjectName("Label_count");
  top->addWidget(countLabel);
  spin_ = new QSpinBox(this);
  spin_->setObjectName("SpinEdit1");
  spin_->setRange(2, form_.maxCount);
  countLabel->setBuddy(spin_);
  top->addWidget(spin_);
  top->addSpacing(12);
  QPushButton* degrad = PlainButton("rad <--> deg", "Button_degrad", this);
  QPushButton* units = PlainButton("mm <--> inch", "Button_metriccode", this);
  top->addWidget(degrad);
  top->addWidget(units);
  top->addStretch(1);

  if (!form_.polar) {
    auto* box = new QGroupBox(this);
    box->setObjectName("RadioGroup1");
    auto* boxLayout = new QVBoxLayout(box);
    fitMode_ = new QButtonGroup(this);
    for (size_t i = 0; i < form_.fitModes.size(); ++i) {
      auto* r = new QRadioButton(QtText(form_.fitModes[i]), box);
      r->setObjectName(QString("RadioGroup1_%1").arg(i));
      fitMode_->addButton(r, static_cast<int>(i));
      boxLayout->addWidget(r);
    }
    layout->addWidget(box);
    for (size_t i = 0; i < form_.polyNotes.size(); ++i) {
      auto* note = new QLabel(QtText(form_.polyNotes[i]), this);
      note->setObjectName(QString("Label_poly%1").arg(i + 1));
      notes_.push_back(note);
      layout->addWidget(note);
    }
    connect(fitMode_, &QButtonGroup::idClicked, this, [this](int id) {
      logic_.setSetting(id);
      for (QLabel* n : notes_) n->setVisible(id == 0);
    });
  } else {
    linearize_ = new QCheckBox(QtText(form_.linearizeCaption), this);
    linearize_->setObjectName("CheckBox_jarlinearisieren");
    layout->addWidget(linearize_);
    connect(linearize_, &QCheckBox::toggled, this, [this](bool on) {
      if (!filling_) logic_.setSetting(on ? 1 : 0);
    });
  }

  grid_ = new QTableWidget(0, 2, this);
  grid_->setObjectName("StringGrid1");
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  grid_->setMinimumSize(340, 320);
  grid_->installEventFilter(this);
  layout->addWidget(grid_, 1);
  connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (filling_) return;
    logic_.edit(item->row(), item->column(), StdText(item->text()));
  });
  connect(spin_, &QSpinBox::valueChanged, this, [this](int n) {
    if (filling_) return;
    logic_.setCount(n);
    refresh();
  });

  FormButtons buttons(this, port, [this] { return form_.helpTopic; }, false);
  if (!form_.polar) {
    buttons.helpText()->hide();
    buttons.helpPicture()->hide();
    QPushButton* save = buttons.add("Save", "Button_save");
    connect(save, &QPushButton::clicked, this, [this] { run(PointCommand::Save); });
    QPushButton* calc = buttons.add("Calc Glsyst", "Button_calc");
    calc->hide();
    connect(calc, &QPushButton::clicked, this, [this] { run(PointCommand::Calc); });
  } else {
    QPushButton* calc = buttons.add("Calc", "Button_calc");
    connect(calc, &QPushButton::clicked, this, [this] { run(PointCommand::Calc); });
  }
  layout->addWidget(buttons.row());
  connect(buttons.ok(), &QPushButton::clicked, this, &TForm_points::accept);
  connect(buttons.cancel(), &QPushButton::clicked, this, &QDialog::reject);
  connect(degrad, &QPushButton::clicked, this, [this] { run(PointCommand::AngleMode); });
  connect(units, &QPushButton::clicked, this, [this] { run(PointCommand::Units); });
  refresh();
  grid_->setCurrentCell(0, 0);
  FitToScreen(this);
}

void TForm_points::refresh() {
  filling_ = true;
  PointTableState st = logic_.state();
  spin_->setValue(st.count);
  grid_->setHorizontalHeaderLabels({QtText(st.phiHeader), QtText(st.rHeader)});
  grid_->setRowCount(st.count);
  for (int i = 0; i < st.count; ++i)
    for (int k = 0; k < 2; ++k) {
      QString text = QtText(st.rows[static_cast<size_t>(i)][static_cast<size_t>(k)]);
      if (QTableWidgetItem* item = grid_->item(i, k)) {
        if (item->text() != text) item->setText(text);
      } else {
        grid_->setItem(i, k, new QTableWidgetItem(text));
      }
    }
  if (fitMode_) {
    if (QAbstractButton* b = fitMode_->button(st.setting)) b->setChecked(true);
    for (QLabel* n : notes_) n->setVisible(st.setting == 0);
  }
  if (linearize_) linearize_->setChecked(st.setting != 0);
  filling_ = false;
}

PointCells TForm_points::selection() const {
  PointCells c{-1, -1, -1, -1};
  const auto ranges = grid_->selectedRanges();
  if (!ranges.isEmpty()) {
    c = {ranges[0].topRow(), ranges[0].leftColumn(), ranges[0].bottomRow(), ranges[0].rightColumn()};
    for (const auto& r : ranges) {
      c.top = std::min(c.top, r.topRow());
      c.left = std::min(c.left, r.leftColumn());
      c.bottom = std::max(c.bottom, r.bottomRow());
      c.right = std::max(c.right, r.rightColumn());
    }
  } else if (grid_->currentRow() >= 0) {
    int col = std::max(0, grid_->currentColumn());
    c = {grid_->currentRow(), col, grid_->currentRow(), col};
  }
  return c;
}

void TForm_points::run(PointCommand c) {
  commitEdit();
  logic_.command(c);
  refresh();
}

void TForm_points::commitEdit() {
  // A cell still being edited counts as typed.
  QWidget* editor = QApplication::focusWidget();
  if (!editor || !grid_->isAncestorOf(editor) || editor == grid_) return;
  QMetaObject::invokeMethod(grid_, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
  QMetaObject::invokeMethod(grid_, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget*, editor),
                            Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
}

void TForm_points::copy() {
  PointCells c = selection();
  if (c.top < 0) return;
  QApplication::clipboard()->setText(QtText(logic_.copy(c)));
}

void TForm_points::paste() {
  commitEdit();
  PointCells c = selection();
  if (c.top < 0) return;
  logic_.paste(c, StdText(QApplication::clipboard()->text()));
  refresh();
}

void TForm_points::rowCommand(bool insert) {
  commitEdit();
  PointCells c = selection();
  if (c.top < 0) return;
  if (insert) logic_.insertRows(c.top, c.bottom);
  else logic_.deleteRows(c.top, c.bottom);
  refresh();
}

bool TForm_points::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy)) {
      copy();
      return true;
    }
    if (key->matches(QKeySequence::Paste)) {
      paste();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TForm_points::accept() {
  commitEdit();
  if (!logic_.command(PointCommand::Ok)) {
    refresh();
    return;
  }
  QDialog::accept();
}

}  // namespace kamo
