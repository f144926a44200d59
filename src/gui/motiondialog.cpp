// The motion programme dialog and its preview.
#include "gui/motiondialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "gui/formkit.h"

namespace kamo {

MotionPreviewWidget::MotionPreviewWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("Graph_preview");
  setMinimumSize(420, 320);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
}

void MotionPreviewWidget::setPreview(const MotionPreview& p) {
  preview_ = p;
  update();
}

void MotionPreviewWidget::paintEvent(QPaintEvent*) {
  QPainter g(this);
  g.setRenderHint(QPainter::Antialiasing);
  QFont f("DejaVu Sans");
  f.setPixelSize(11);
  g.setFont(f);
  const int left = 96, right = 12, top = 6, bottom = 22;
  const int n = std::max<int>(1, static_cast<int>(preview_.curves.size()));
  const double h = (height() - top - bottom) / static_cast<double>(n);
  const double w = width() - left - right;
  const QColor colours[] = {QColor(0, 70, 160), QColor(0, 130, 60), QColor(190, 60, 0), QColor(120, 0, 140)};
  for (int c = 0; c < static_cast<int>(preview_.curves.size()); ++c) {
    const MotionCurve& curve = preview_.curves[static_cast<size_t>(c)];
    QRectF box(left, top + c * h + 3, w, h - 6);
    g.setPen(QColor(200, 200, 200));
    g.drawRect(box);
    for (int d = 60; d < 360; d += 60) {
      double x = box.left() + box.width() * d / 360.0;
      g.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
    }
    double lo = 0, hi = 0;
    for (double v : curve.values)
      if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
    if (hi - lo < 1e-12) hi = lo + 1;
    auto yOf = [&](double v) { return box.bottom() - (v - lo) / (hi - lo) * box.height(); };
    g.setPen(QColor(150, 150, 150));
    g.drawLine(QPointF(box.left(), yOf(0)), QPointF(box.right(), yOf(0)));
    g.setPen(Qt::black);
    g.drawText(QRectF(2, box.top(), left - 6, box.height() / 2), Qt::AlignRight | Qt::AlignTop,
               QtText(curve.name) + " [" + QtText(curve.unit) + "]");
    double peak = std::max(std::fabs(lo), std::fabs(hi));
    g.drawText(QRectF(2, box.top() + box.height() / 2, left - 6, box.height() / 2), Qt::AlignRight | Qt::AlignBottom,
               "max " + QString::number(peak, 'g', 3));
    QPainterPath path;
    bool started = false;
    for (size_t i = 0; i < curve.values.size() && i < preview_.phi.size(); ++i) {
      double v = curve.values[i];
      if (!std::isfinite(v)) continue;
      QPointF p(box.left() + box.width() * preview_.phi[i] / 360.0, yOf(v));
      if (started) path.lineTo(p);
      else path.moveTo(p), started = true;
    }
    g.setPen(QPen(colours[c % 4], 1.5));
    g.drawPath(path);
  }
  g.setPen(Qt::black);
  for (int d = 0; d <= 360; d += 60) {
    double x = left + w * d / 360.0;
    g.drawText(QRectF(x - 20, height() - bottom + 2, 40, bottom - 2), Qt::AlignHCenter | Qt::AlignTop,
               QString::number(d) + "\u00B0");
  }
}

TForm_bewegung::TForm_bewegung(MotionLogic& logic, UiPort* port, QWidget* parent)
    : QDialog(parent), logic_(logic), form_(logic.form()) {
  setObjectName("TForm_bewegung");
  setWindowTitle(QtText(form_.caption));
  auto* outer = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  outer->addLayout(body);
  auto* left = new QVBoxLayout;
  body->addLayout(left);
  auto* grid = new QGridLayout;
  left->addLayout(grid);
  EditRow baseRow = AddEditRow(grid, 0, "basis", "Grundkreisradius R0", form_.lengthUnit, false, port);
  base_ = baseRow.edit;
  base_->setText(QtText(form_.base));

  table_ = new QTableWidget(0, 3, this);
  table_->setObjectName("StringGrid_rows");
  table_->setHorizontalHeaderLabels({"Gesetz", "Winkel [" + QtText(form_.angleUnit) + "]",
                                     "Hub am Ende [" + QtText(form_.lengthUnit) + "]"});
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setMinimumWidth(380);
  table_->setMinimumHeight(240);
  left->addWidget(table_, 1);

  auto* rowButtons = new QHBoxLayout;
  QPushButton* add = PlainButton("Zeile &einf\u00FCgen", "Button_zeileNeu", this);
  QPushButton* del = PlainButton("Zeile &l\u00F6schen", "Button_zeileLoeschen", this);
  rowButtons->addWidget(add);
  rowButtons->addWidget(del);
  rowButtons->addStretch(1);
  left->addLayout(rowButtons);

  summary_ = new QLabel(this);
  summary_->setObjectName("Label_summe");
  summary_->setTextFormat(Qt::PlainText);
  left->addWidget(summary_);
  error_ = new QLabel(this);
  error_->setObjectName("Label_error");
  error_->setStyleSheet("color: red");
  error_->setTextFormat(Qt::PlainText);
  error_->setWordWrap(true);
  left->addWidget(error_);

  preview_ = new MotionPreviewWidget(this);
  body->addWidget(preview_, 1);

  int topic = form_.helpTopic;
  FormButtons buttons(this, port, [topic] { return topic; }, false);
  buttons.helpPicture()->hide();
  outer->addWidget(buttons.row());
  connect(buttons.ok(), &QPushButton::clicked, this, &TForm_bewegung::confirm);
  connect(buttons.cancel(), &QPushButton::clicked, this, &QDialog::reject);
  connect(add, &QPushButton::clicked, this, [this] {
    int at = table_->currentRow() >= 0 ? table_->currentRow() + 1 : table_->rowCount();
    addRow(MotionRow{0, "", ""}, at);
    table_->setCurrentCell(at, 1);
    update();
  });
  connect(del, &QPushButton::clicked, this, [this] {
    int r = table_->currentRow();
    if (r < 0) r = table_->rowCount() - 1;
    if (r < 0) return;
    table_->removeRow(r);
    update();
  });
  connect(base_, &QLineEdit::textEdited, this, &TForm_bewegung::update);
  connect(table_, &QTableWidget::itemChanged, this, [this] {
    if (!filling_) update();
  });

  filling_ = true;
  for (const MotionRow& r : form_.rows) addRow(r);
  filling_ = false;
  update();
  FitToScreen(this);
}

QComboBox* TForm_bewegung::lawBox(int law) {
  auto* box = new QComboBox(table_);
  for (const std::string& l : form_.laws) box->addItem(QtText(l));
  box->setCurrentIndex(std::clamp(law, 0, std::max(0, box->count() - 1)));
  connect(box, &QComboBox::currentIndexChanged, this, [this] { update(); });
  return box;
}

void TForm_bewegung::addRow(const MotionRow& r, int at) {
  bool was = filling_;
  filling_ = true;
  if (at < 0 || at > table_->rowCount()) at = table_->rowCount();
  table_->insertRow(at);
  table_->setCellWidget(at, 0, lawBox(r.law));
  table_->setItem(at, 1, new QTableWidgetItem(QtText(r.span)));
  table_->setItem(at, 2, new QTableWidgetItem(QtText(r.lift)));
  // Names follow the rows: ComboBox_law_<row>.
  for (int i = 0; i < table_->rowCount(); ++i)
    if (QWidget* w = table_->cellWidget(i, 0)) w->setObjectName("ComboBox_law_" + QString::number(i));
  filling_ = was;
}

std::vector<MotionRow> TForm_bewegung::rows() const {
  std::vector<MotionRow> out;
  for (int i = 0; i < table_->rowCount(); ++i) {
    MotionRow r;
    if (auto* box = qobject_cast<QComboBox*>(table_->cellWidget(i, 0))) r.law = box->currentIndex();
    if (QTableWidgetItem* it = table_->item(i, 1)) r.span = StdText(it->text().trimmed());
    if (QTableWidgetItem* it = table_->item(i, 2)) r.lift = StdText(it->text().trimmed());
    out.push_back(r);
  }
  return out;
}

void TForm_bewegung::update() {
  for (int i = 0; i < table_->rowCount(); ++i)
    if (QWidget* w = table_->cellWidget(i, 0)) w->setObjectName("ComboBox_law_" + QString::number(i));
  MotionPreview p = logic_.preview(StdText(base_->text()), rows());
  preview_->setPreview(p);
  summary_->setText(QtText(p.summary));
  error_->setText(QtText(p.error));
}

void TForm_bewegung::confirm() {
  std::string e = logic_.confirm(StdText(base_->text()), rows());
  if (e.empty()) {
    accept();
    return;
  }
  error_->setText(QtText(e));
}

}  // namespace kamo
