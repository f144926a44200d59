// The dialogs of the curve editor.
#include "gui/curvedialogs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/ui_port.h"
#include "gui/formkit.h"

namespace kamo {

namespace {
QGroupBox* RadioGroup(const QString& name, const QString& title, const std::vector<std::string>& items,
                      QButtonGroup*& group, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(name);
  auto* layout = new QHBoxLayout(box);
  group = new QButtonGroup(box);
  for (size_t i = 0; i < items.size(); ++i) {
    auto* r = new QRadioButton(QtText(items[i]), box);
    r->setObjectName(name + "_" + QString::number(i));
    group->addButton(r, static_cast<int>(i));
    layout->addWidget(r);
  }
  if (group->button(0)) group->button(0)->setChecked(true);
  return box;
}

// The same in rows of `columns` buttons.
QGroupBox* RadioGrid(const QString& name, const std::vector<std::string>& items, int columns,
                     QButtonGroup*& group, QWidget* parent) {
  auto* box = new QGroupBox(parent);
  box->setObjectName(name);
  auto* layout = new QGridLayout(box);
  group = new QButtonGroup(box);
  for (size_t i = 0; i < items.size(); ++i) {
    auto* r = new QRadioButton(QtText(items[i]), box);
    r->setObjectName(name + "_" + QString::number(i));
    group->addButton(r, static_cast<int>(i));
    layout->addWidget(r, static_cast<int>(i) / columns, static_cast<int>(i) % columns);
  }
  if (group->button(0)) group->button(0)->setChecked(true);
  return box;
}

QLineEdit* ReadOnlyEdit(const char* name, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setReadOnly(true);
  e->setFocusPolicy(Qt::NoFocus);
  return e;
}
}  // namespace

// ---------------------------------------------------------------- picture

CurvePicture::CurvePicture(QWidget* parent) : QWidget(parent) {
  setObjectName("Image_curve");
  setMinimumSize(160, 160);
}

void CurvePicture::setOutline(Outline o) {
  outline_ = std::move(o);
  update();
}

void CurvePicture::paintEvent(QPaintEvent*) {
  QPainter g(this);
  g.setRenderHint(QPainter::Antialiasing);
  g.fillRect(rect(), Qt::white);
  g.setPen(QPen(Qt::gray, 1));
  g.drawRect(rect().adjusted(0, 0, -1, -1));
  double extent = 0;
  for (const auto& [x, y] : outline_) extent = std::max({extent, std::fabs(x), std::fabs(y)});
  double cx = width() / 2.0, cy = height() / 2.0;
  QPen axis(QColor(120, 120, 120), 1, Qt::DashDotLine);
  g.setPen(axis);
  g.drawLine(QPointF(8, cy), QPointF(width() - 8, cy));
  g.drawLine(QPointF(cx, 8), QPointF(cx, height() - 8));
  if (outline_.size() < 3 || !(extent > 0) || !std::isfinite(extent)) return;
  double scale = (std::min(width(), height()) / 2.0 - 10) / extent;
  QPainterPath path;
  path.moveTo(cx + outline_[0].first * scale, cy - outline_[0].second * scale);
  for (size_t i = 1; i < outline_.size(); ++i)
    path.lineTo(cx + outline_[i].first * scale, cy - outline_[i].second * scale);
  path.closeSubpath();
  g.setPen(QPen(QColor(0, 0, 160), 2));
  g.setBrush(QColor(210, 225, 255));
  g.drawPath(path);
}

// ---------------------------------------------------------------- TForm_einarray

TForm_einarray::TForm_einarray(const ListForm& f, UiPort* port, QWidget* parent) : QDialog(parent) {
  setObjectName("TForm_einarray");
  setWindowTitle(QtText(f.caption));
  auto* layout = new QHBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName("ListBox_lines");
  QFont mono("DejaVu Sans Mono");
  mono.setStyleHint(QFont::Monospace);
  list_->setFont(mono);
  for (const std::string& l : f.lines) list_->addItem(QtText(l));
  if (f.selected >= 1 && f.selected <= list_->count()) list_->setCurrentRow(f.selected - 1);
  list_->setMinimumSize(560, 300);
  layout->addWidget(list_, 1);
  auto* column = new QVBoxLayout;
  layout->addLayout(column);
  auto add = [&](const QString& caption, const char* name, int command) {
    QPushButton* b = PlainButton(caption, name, this);
    column->addWidget(b);
    if (command >= 0) connect(b, &QPushButton::clicked, this, [this, command] { finish(command); });
    return b;
  };
  QPushButton* ok = add("OK", "Button_ok", lcOk);
  ok->setDefault(true);
  ok->setAutoDefault(true);
  QPushButton* cancel = add("Abbrechen", "Button_cancel", -1);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  add("&Neu", "Button_neu", lcNew);
  add("&Einf\u00FCgen", "Button_einfuegen", lcInsert);
  add("&L\u00F6schen", "Button_loeschen", lcDelete);
  add("&\u00C4ndern", "Button_aendern", lcEdit);
  const char* spareNames[3] = {"Button_156", "Button_157", "Button_158"};
  const int spareCodes[3] = {lcSpare1, lcSpare2, lcSpare3};
  for (int i = 0; i < 3; ++i) {
    QPushButton* b = add(QtText(f.spare[static_cast<size_t>(i)]), spareNames[i], spareCodes[i]);
    b->setVisible(!f.spare[static_cast<size_t>(i)].empty());
  }
  column->addStretch(1);
  int topic = f.helpTopic;
  QPushButton* help = add("&Hilfe", "Button_help", -1);
  connect(help, &QPushButton::clicked, this, [port, topic] { ShowFormHelp(port, topic, 1); });
  QPushButton* picture = add("Hilfe&bild", "Button_hilfebild", -1);
  connect(picture, &QPushButton::clicked, this, [port, topic] { ShowFormHelp(port, topic, 2); });
  QPushButton* errors = add("&Fehlermeldungen", "Button_error", -1);
  errors->setVisible(f.errorButton);
  auto show = f.showErrors;
  connect(errors, &QPushButton::clicked, this, [show] {
    if (show) show();
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    line_ = list_->row(item) + 1;
    command_ = lcDoubleClick;
    accept();
  });
  list_->setFocus();
  FitToScreen(this);
}

int TForm_einarray::line() const {
  QListWidgetItem* item = list_->currentItem();
  return item && item->isSelected() ? list_->row(item) + 1 : 0;
}

void TForm_einarray::finish(int command) {
  command_ = command;
  line_ = line();
  accept();
}

std::optional<ListAnswer> TForm_einarray::answer() const {
  if (result() != QDialog::Accepted || command_ < 0) return std::nullopt;
  return ListAnswer{command_, line_};
}

// ---------------------------------------------------------------- TForm_kamonock

TForm_kamonock::TForm_kamonock(SegmentLogic& logic, UiPort* port, QWidget* parent)
    : QDialog(parent), logic_(logic) {
  setObjectName("TForm_kamonock");
  SegmentForm f = logic.form();
  setWindowTitle(QtText(f.caption));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  QString deg = QtText(f.angleUnit);
  vongrad_ = ReadOnlyEdit("Edit_vongrad", this);
  vonrad_ = ReadOnlyEdit("Edit_vonrad", this);
  bisgrad_ = new QLineEdit(this);
  bisgrad_->setObjectName("Edit_bisgrad");
  bisrad_ = new QLineEdit(this);
  bisrad_->setObjectName("Edit_bisrad");
  grid->addWidget(new QLabel("x von", this), 0, 0);
  grid->addWidget(vongrad_, 0, 1);
  grid->addWidget(new QLabel(deg, this), 0, 2);
  grid->addWidget(vonrad_, 0, 3);
  grid->addWidget(new QLabel("rad", this), 0, 4);
  grid->addWidget(new QLabel("x bis", this), 1, 0);
  grid->addWidget(bisgrad_, 1, 1);
  grid->addWidget(new QLabel(deg, this), 1, 2);
  grid->addWidget(bisrad_, 1, 3);
  grid->addWidget(new QLabel("rad", this), 1, 4);
  QPushButton* phin = PlainButton("< phi n = 360\u00B0", "Button_phin", this);
  grid->addWidget(phin, 1, 5);
  grid->addWidget(new QLabel("f(x) =", this), 2, 0);
  formel_ = new QLineEdit(this);
  formel_->setObjectName("Edit_formel");
  formel_->setMinimumWidth(420);
  grid->addWidget(formel_, 2, 1, 1, 5);
  error_ = new QLabel(this);
  error_->setObjectName("Label_error");
  error_->setStyleSheet("color: red");
  error_->setTextFormat(Qt::PlainText);
  layout->addWidget(error_);

  layout->addWidget(RadioGroup("RadioGroup_mode", QString(),
                               {"Input Formel", "Input R1,phi1,R2,phi2 -> Formel"}, mode_, this));
  section_ = new QWidget(this);
  section_->setObjectName("Panel_section");
  auto* sgrid = new QGridLayout(section_);
  QString mm = QtText(f.lengthUnit);
  auto sectionRow = [&](int row, const char* text, QLineEdit*& edit, const char* name, const QString& unit,
                        bool readOnly) {
    edit = readOnly ? ReadOnlyEdit(name, section_) : new QLineEdit(section_);
    edit->setObjectName(name);
    auto* label = new QLabel(text, section_);
    label->setObjectName(QString("Label_") + (name + 5));
    sgrid->addWidget(label, row, 0);
    sgrid->addWidget(edit, row, 1);
    auto* u = new QLabel(unit, section_);
    u->setObjectName(QString("Label_unit_") + (name + 5));
    sgrid->addWidget(u, row, 2);
  };
  sectionRow(0, "R1", r1_, "Edit_r1", mm, false);
  sectionRow(1, "phi1", phi1_, "Edit_phi1", deg, true);
  sectionRow(2, "R2", r2_, "Edit_r2", mm, false);
  sectionRow(3, "phi2", phi2_, "Edit_phi2", deg, false);
  sgrid->addWidget(RadioGrid("RadioGroup_sinlin", logic.sectionLaws(), 2, sinlin_, section_), 0, 3, 5, 1);
  QPushButton* calc = PlainButton("Calculate", "Button_calc", section_);
  sgrid->addWidget(calc, 4, 1);
  note_ = new QLabel(section_);
  note_->setObjectName("Label_note");
  note_->setTextFormat(Qt::PlainText);
  note_->setWordWrap(true);
  sgrid->addWidget(note_, 5, 0, 1, 4);
  layout->addWidget(section_);

  int topic = f.helpTopic;
  FormButtons buttons(this, port, [topic] { return topic; }, false);
  buttons.helpPicture()->hide();
  layout->addWidget(buttons.row());
  connect(buttons.ok(), &QPushButton::clicked, this, &TForm_kamonock::confirm);
  connect(buttons.cancel(), &QPushButton::clicked, this, &QDialog::reject);
  connect(phin, &QPushButton::clicked, this, [this] {
    bisgrad_->setText("360");
    bisgrad_->setModified(true);
    bisrad_->setText(QtText(logic_.degreesToRadians("360")));
  });
  connect(bisgrad_, &QLineEdit::editingFinished, this, [this] {
    if (!bisgrad_->isModified()) return;
    bisrad_->setText(QtText(logic_.degreesToRadians(StdText(bisgrad_->text()))));
  });
  connect(bisrad_, &QLineEdit::editingFinished, this, [this] {
    if (!bisrad_->isModified()) return;
    bisrad_->setModified(false);
    bisgrad_->setText(QtText(logic_.radiansToDegrees(StdText(bisrad_->text()))));
    bisgrad_->setModified(true);
  });
  connect(calc, &QPushButton::clicked, this, &TForm_kamonock::calculate);
  connect(mode_, &QButtonGroup::idClicked, this, &TForm_kamonock::modeChanged);

  vongrad_->setText(QtText(f.fromDeg));
  vonrad_->setText(QtText(f.fromRad));
  bisgrad_->setText(QtText(f.toDeg));
  bisrad_->setText(QtText(f.toRad));
  formel_->setText(QtText(f.formula));
  phi1_->setText(QtText(f.fromDeg));
  phi2_->setText(QtText(f.toDeg));
  modeChanged();
  setTabOrder(bisgrad_, bisrad_);
  setTabOrder(bisrad_, formel_);
  setTabOrder(r1_, r2_);
  setTabOrder(r2_, phi2_);
  formel_->setFocus();
  FitToScreen(this);
}

void TForm_kamonock::modeChanged() {
  bool twoPoint = mode_->checkedId() == 1;
  section_->setVisible(twoPoint);
  if (twoPoint) r1_->setFocus();
  adjustSize();
}

void TForm_kamonock::calculate() {
  SectionAnswer a = logic_.sectionLaw(StdText(r1_->text()), StdText(r2_->text()), StdText(phi2_->text()),
                                      sinlin_->checkedId());
  note_->setText(QtText(a.note));
  if (a.keep) return;
  if (!a.error.empty()) {
    error_->setText(QtText(a.error));
    return;
  }
  error_->clear();
  formel_->setText(QtText(a.formula));
  bisgrad_->setText(QtText(a.toDeg));
  bisrad_->setText(QtText(logic_.degreesToRadians(a.toDeg)));
}

void TForm_kamonock::confirm() {
  SegmentCheck c = logic_.confirm(StdText(bisgrad_->text()), StdText(formel_->text()));
  if (c.error.empty()) {
    error_->clear();
    accept();
    return;
  }
  error_->setText(QtText(c.error));
  QLineEdit* target = c.focus == FormFocus::UpperLimit ? bisgrad_ : formel_;
  target->setFocus();
  target->setCursorPosition(std::clamp(c.cursor, 0, static_cast<int>(target->text().size())));
}

// ---------------------------------------------------------------- parameter dialogs

TForm_param::TForm_param(ParamLogic& logic, UiPort* port, QWidget* parent)
    : QDialog(parent), logic_(logic), form_(logic.form()) {
  setObjectName(QtText(form_.objectName));
  setWindowTitle(QtText(form_.caption));
  auto* outer = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  outer->addLayout(body);
  auto* left = new QVBoxLayout;
  body->addLayout(left, 1);
  auto* grid = new QGridLayout;
  left->addLayout(grid);
  for (size_t i = 0; i < form_.fields.size(); ++i) {
    const FormField& ff = form_.fields[i];
    EditRow r = AddEditRow(grid, static_cast<int>(i), ff.name, ff.label, ff.unit, ff.hasDefault, port, ff.hintTopic);
    edits_.push_back(r.edit);
    units_.push_back(r.unit);
    connect(r.edit, &QLineEdit::textEdited, this, &TForm_param::changed);
    if (r.defaultButton) {
      connect(r.defaultButton, &QPushButton::clicked, this, [this, i] {
        edits_[i]->setText(QtText(logic_.defaultText(i, values())));
        changed();
      });
    }
  }
  if (!form_.radioName.empty()) {
    left->addWidget(RadioGroup(QtText("RadioGroup_" + form_.radioName), QString(), form_.radioItems, radios_, this));
    connect(radios_, &QButtonGroup::idClicked, this, &TForm_param::changed);
  }
  for (size_t i = 0; i < form_.notes.size(); ++i) {
    auto* note = new QLabel(QtText(form_.notes[i]), this);
    note->setObjectName(QString("Label_formel") + (i ? QString::number(i + 1) : QString()));
    left->addWidget(note);
  }
  left->addStretch(1);
  picture_ = new CurvePicture(this);
  body->addWidget(picture_);

  int topic = form_.helpTopic;
  FormButtons buttons(this, port, [topic] { return topic; }, false);
  buttons.helpText()->setVisible(form_.helpText);
  buttons.helpPicture()->hide();
  QPushButton* calc = buttons.add("Calc", "Button_calc");
  QPushButton* metric = buttons.add("mm <--> inch", "Button_metric");
  outer->addWidget(buttons.row());
  connect(buttons.ok(), &QPushButton::clicked, this, &TForm_param::accept);
  connect(buttons.cancel(), &QPushButton::clicked, this, &QDialog::reject);
  connect(calc, &QPushButton::clicked, this, &TForm_param::calc);
  connect(metric, &QPushButton::clicked, this, &TForm_param::toggleUnits);
  showValues(logic_.fill());
  picture_->setOutline(logic_.outline());
  if (!edits_.empty()) {
    edits_.front()->setFocus();
    edits_.front()->selectAll();
  }
  FitToScreen(this);
}

ParamValues TForm_param::values() const {
  ParamValues v;
  for (QLineEdit* e : edits_) v.texts.push_back(StdText(e->text()));
  v.radio = radios_ ? std::max(0, radios_->checkedId()) : 0;
  return v;
}

void TForm_param::showValues(const ParamValues& v) {
  filling_ = true;
  for (size_t i = 0; i < edits_.size() && i < v.texts.size(); ++i) {
    if (edits_[i]->text() != QtText(v.texts[i])) edits_[i]->setText(QtText(v.texts[i]));
    edits_[i]->setEnabled(v.enabled.empty() || (i < v.enabled.size() && v.enabled[i]));
  }
  if (radios_ && radios_->button(v.radio)) radios_->button(v.radio)->setChecked(true);
  filling_ = false;
}

void TForm_param::relabel() {
  form_ = logic_.form();
  for (size_t i = 0; i < units_.size() && i < form_.fields.size(); ++i) units_[i]->setText(QtText(form_.fields[i].unit));
}

void TForm_param::changed() {
  if (filling_) return;
  showValues(logic_.changed(values()));
}

void TForm_param::accept() {
  if (!logic_.store(values())) return;
  QDialog::accept();
}

void TForm_param::calc() {
  if (!logic_.calc(values())) return;
  picture_->setOutline(logic_.outline());
  // The preview was drawn behind the dialog; the dialog stays in front.
  raise();
  activateWindow();
}

void TForm_param::toggleUnits() {
  if (!logic_.toggleUnits(values())) return;
  relabel();
  showValues(logic_.fill());
}

// ---------------------------------------------------------------- TForm_einkoord

TForm_einkoord::TForm_einkoord(PositionLogic& logic, int j, UiPort* port, QWidget* parent)
    : QDialog(parent), logic_(logic), j_(j) {
  setObjectName("TForm_einkoord");
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  layout->addLayout(top);
  auto* grid = new QGridLayout;
  top->addLayout(grid, 1);
  EditRow x = AddEditRow(grid, 0, "x", "X", "", false);
  EditRow y = AddEditRow(grid, 1, "y", "Y", "", false);
  EditRow w = AddEditRow(grid, 2, "w", "Kreisbogenwinkel", "", false);
  labelX_ = x.label;
  labelY_ = y.label;
  labelW_ = w.label;
  unitX_ = x.unit;
  unitY_ = y.unit;
  unitW_ = w.unit;
  x_ = x.edit;
  y_ = y.edit;
  w_ = w.edit;
  spin_ = new QSpinBox(this);
  spin_->setObjectName("SpinButton_pos");
  spin_->setRange(1, std::max(1, logic.count()));
  spin_->setValue(std::clamp(j, 1, std::max(1, logic.count())));
  top->addWidget(spin_);
  int topic = logic.helpTopic();
  FormButtons buttons(this, port, [topic] { return topic; }, false);
  QPushButton* metric = buttons.add("mm <--> inch", "Button_metric");
  layout->addWidget(buttons.row());
  connect(buttons.ok(), &QPushButton::clicked, this, &TForm_einkoord::accept);
  connect(buttons.cancel(), &QPushButton::clicked, this, &QDialog::reject);
  // The picture button keeps what was typed.
  disconnect(buttons.helpPicture(), nullptr, this, nullptr);
  connect(buttons.helpPicture(), &QPushButton::clicked, this, [this, port, topic] {
    if (!store()) return;
    ShowFormHelp(port, topic, 2);
    fill();
  });
  connect(metric, &QPushButton::clicked, this, [this] {
    if (!store()) return;
    logic_.toggleUnits();
    fill();
  });
  connect(spin_, &QSpinBox::valueChanged, this, [this](int v) {
    if (filling_ || v == j_) return;
    if (!store()) {
      filling_ = true;
      spin_->setValue(j_);
      filling_ = false;
      return;
    }
    j_ = v;
    fill();
  });
  fill();
  x_->setFocus();
  x_->selectAll();
  FitToScreen(this);
}

void TForm_einkoord::fill() {
  filling_ = true;
  PositionForm f = logic_.form(j_);
  setWindowTitle(QtText(f.caption));
  labelX_->setText(QtText(f.labelX));
  labelY_->setText(QtText(f.labelY));
  labelW_->setText(QtText(f.labelW));
  unitX_->setText(QtText(f.unitX));
  unitY_->setText(QtText(f.unitY));
  unitW_->setText(QtText(f.unitW));
  x_->setText(QtText(f.x));
  y_->setText(QtText(f.y));
  w_->setText(QtText(f.w));
  spin_->setValue(j_);
  filling_ = false;
}

bool TForm_einkoord::store() {
  return logic_.store(j_, StdText(x_->text()), StdText(y_->text()), StdText(w_->text()));
}

void TForm_einkoord::accept() {
  if (!store()) return;
  QDialog::accept();
}

// ---------------------------------------------------------------- TForm_polynom

TForm_polynom::TForm_polynom(PolyLogic& logic, UiPort* port, QWidget* parent)
    : QDialog(parent), logic_(logic) {
  setObjectName("TForm_polynom");
  PolyForm f = logic.form();
  setWindowTitle(QtText(f.caption));
  kept_ = f.coefficients;
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(QtText(f.formulaText), this);
  text->setObjectName("Label_formel");
  layout->addWidget(text);
  auto* row = new QHBoxLayout;
  layout->addLayout(row);
  auto* nLabel = new QLabel("n", this);
  row->addWidget(nLabel);
  spin_ = new QSpinBox(this);
  spin_->setObjectName("SpinEdit1");
  spin_->setRange(2, 50);
  nLabel->setBuddy(spin_);
  row->addWidget(spin_);
  row->addStretch(1);
  grid_ = new QTableWidget(0, 1, this);
  grid_->setObjectName("StringGrid1");
  grid_->setHorizontalHeaderLabels({"  a"});
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->setMinimumSize(320, 300);
  layout->addWidget(grid_, 1);
  FormButtons buttons(this, port, {}, false);
  buttons.helpText()->hide();
  buttons.helpPicture()->hide();
  QPushButton* save = buttons.add("Save", "Button_save");
  QPushButton* calc = buttons.add("Calc Glsyst", "Button_calc");
  calc->hide();
  layout->addWidget(buttons.row());
  connect(buttons.ok(), &QPushButton::clicked, this, &TForm_polynom::accept);
  connect(buttons.cancel(), &QPushButton::clicked, this, &QDialog::reject);
  connect(save, &QPushButton::clicked, this, [this] { logic_.save(spin_->value(), cells()); });
  connect(calc, &QPushButton::clicked, this, [this] { logic_.calc(spin_->value(), cells()); });
  spin_->setValue(f.n);
  resizeGrid(f.n);
  connect(spin_, &QSpinBox::valueChanged, this, &TForm_polynom::resizeGrid);
  FitToScreen(this);
}

void TForm_polynom::resizeGrid(int n) {
  // What the rows held is kept, so lowering and raising n loses nothing.
  for (int i = 0; i < grid_->rowCount() && i < static_cast<int>(kept_.size()); ++i)
    if (QTableWidgetItem* item = grid_->item(i, 0)) kept_[static_cast<size_t>(i)] = StdText(item->text());
  grid_->setRowCount(n);
  QStringList rows;
  for (int i = 0; i < n; ++i) {
    rows << "phi^" + QString::number(i);
    if (!grid_->item(i, 0))
      grid_->setItem(i, 0, new QTableWidgetItem(i < static_cast<int>(kept_.size()) ? QtText(kept_[static_cast<size_t>(i)]) : "0"));
  }
  grid_->setVerticalHeaderLabels(rows);
}

std::vector<std::string> TForm_polynom::cells() const {
  std::vector<std::string> out;
  for (int i = 0; i < grid_->rowCount(); ++i) {
    QTableWidgetItem* item = grid_->item(i, 0);
    out.push_back(item ? StdText(item->text()) : std::string());
  }
  return out;
}

void TForm_polynom::accept() {
  if (!logic_.store(spin_->value(), cells())) return;
  QDialog::accept();
}

}  // namespace kamo
