// The graphic printout dialog and the printer replay.
#include "gui/printconf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/codepage.h"
#include "display/displaylist.h"

namespace kamo {

namespace {
QString U(const char* cp850) { return QString::fromStdString(Cp850ToUtf8(cp850)); }

double Scale(const QLineEdit* e, double fallback) {
  bool ok = false;
  double v = e->text().trimmed().replace(',', '.').toDouble(&ok);
  return ok && v > 0 && std::isfinite(v) ? v : fallback;
}
}  // namespace

PrintConf StartingPrintConf(const Settings& s, int drawingKind) {
  PrintConf c;
  c.monochrome = s.windowsPrintMode != 2;
  if (drawingKind == 2) {
    c.scaleX = 0.95;
    c.scaleY = 1.0;
    return c;
  }
  c.scaleX = s.printScaleX;
  c.scaleY = s.printScaleY;
  c.originX = s.printOriginX;
  c.originY = s.printOriginY;
  c.border = s.printBorder;
  c.landscape = s.printOrientation == 2;
  return c;
}

void StorePrintConf(Settings& s, const PrintConf& c) {
  s.printScaleX = c.scaleX;
  s.printScaleY = c.scaleY;
  s.printOriginX = c.originX;
  s.printOriginY = c.originY;
  s.printBorder = c.border;
  s.printOrientation = c.landscape ? 2 : 1;
  s.windowsPrintMode = c.monochrome ? 1 : 2;
}

bool StoreProfile(Settings& s, const std::string& name, const PrintConf& c) {
  std::string n = name.substr(0, 25);
  if (n.find_first_not_of(' ') == std::string::npos) return false;
  PrintProfile p{n, c.scaleX, c.scaleY, c.originX, c.originY, c.landscape, c.monochrome, c.fit, c.border};
  for (PrintProfile& q : s.printProfiles)
    if (q.name == n) {
      q = p;
      return true;
    }
  if (static_cast<int>(s.printProfiles.size()) >= Settings::kMaxPrintProfiles) return false;
  s.printProfiles.push_back(p);
  return true;
}

PrintConf FromProfile(const PrintProfile& p, bool) {
  PrintConf c;
  c.scaleX = p.xscale;
  c.scaleY = p.yscale;
  c.originX = p.xorigin;
  c.originY = p.yorigin;
  c.border = p.borderline;
  c.fit = p.variable;
  c.monochrome = p.monochrom;
  c.landscape = p.landscape;
  return c;
}

TForm_printconf::TForm_printconf(QWidget* parent, Settings& settings, QPrinter& printer,
                                 const PrintConf& start)
    : QDialog(parent), settings_(settings), printer_(printer) {
  setObjectName("TForm_printconf");
  setWindowTitle("Ausdruck");
  auto* form = new QFormLayout;
  auto edit = [this, form](const char* name, const char* label, bool integer) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    if (integer) e->setValidator(new QIntValidator(-10000, 10000, e));
    form->addRow(U(label), e);
    return e;
  };
  scaleX_ = edit("Edit_scaleX", "Ma\xE1stab x", false);
  scaleY_ = edit("Edit_scaleY", "Ma\xE1stab y", false);
  originX_ = edit("Edit_originX", "Ursprung x", true);
  originY_ = edit("Edit_originY", "Ursprung y", true);
  border_ = new QCheckBox("Umrandung", this);
  border_->setObjectName("CheckBox_border");
  fit_ = new QCheckBox("anpassen", this);
  fit_->setObjectName("CheckBox_fit");
  auto group = [this](const char* name, const char* caption, QRadioButton*& a, const QString& ta,
                      QRadioButton*& b, const QString& tb) {
    auto* g = new QGroupBox(caption, this);
    g->setObjectName(name);
    auto* l = new QVBoxLayout(g);
    a = new QRadioButton(ta, g);
    b = new QRadioButton(tb, g);
    a->setObjectName(QString(name) + "_1");
    b->setObjectName(QString(name) + "_2");
    l->addWidget(a);
    l->addWidget(b);
    return g;
  };
  QGroupBox* shading = group("RadioGroup_shading", "Schattierung", mono_, "Monochrom", colour_,
                             "Color / Graustufen");
  QGroupBox* orientation = group("RadioGroup_orientation", "Ausdruck", portrait_, "Hochformat",
                                 landscape_, "Querformat");
  auto* printerButton = new QPushButton("Drucker...", this);
  printerButton->setObjectName("Button_printer");
  printerName_ = new QLabel(this);
  printerName_->setObjectName("Label_printer");
  printerName_->setText(printer_.printerName().left(40));
  connect(printerButton, &QPushButton::clicked, this, [this] {
    QPrintDialog d(&printer_, this);
    if (d.exec() == QDialog::Accepted) printerName_->setText(printer_.printerName().left(40));
  });
  profiles_ = new QComboBox(this);
  profiles_->setObjectName("ComboBox_profile");
  profiles_->setEditable(true);
  profiles_->lineEdit()->setMaxLength(25);
  refillProfiles();
  auto* load = new QPushButton("Datenbank", this);
  load->setObjectName("Button_load");
  connect(load, &QPushButton::clicked, this, &TForm_printconf::loadProfile);
  auto* store = new QPushButton(U("\x9A&bernehmen Datenbank"), this);
  store->setObjectName("Button_store");
  connect(store, &QPushButton::clicked, this, &TForm_printconf::storeProfile);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("Button_ok");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("Button_cancel");
  buttons->button(QDialogButtonBox::Cancel)->setText("Abbrechen");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(border_);
  layout->addWidget(fit_);
  auto* groups = new QHBoxLayout;
  groups->addWidget(shading);
  groups->addWidget(orientation);
  layout->addLayout(groups);
  auto* printerRow = new QHBoxLayout;
  printerRow->addWidget(printerButton);
  printerRow->addWidget(printerName_, 1);
  layout->addLayout(printerRow);
  auto* profileRow = new QHBoxLayout;
  profileRow->addWidget(profiles_, 1);
  profileRow->addWidget(load);
  profileRow->addWidget(store);
  layout->addLayout(profileRow);
  layout->addWidget(buttons);
  show(start);
}

void TForm_printconf::show(const PrintConf& c) {
  scaleX_->setText(QString::number(c.scaleX));
  scaleY_->setText(QString::number(c.scaleY));
  originX_->setText(QString::number(c.originX));
  originY_->setText(QString::number(c.originY));
  border_->setChecked(c.border);
  fit_->setChecked(c.fit);
  (c.monochrome ? mono_ : colour_)->setChecked(true);
  (c.landscape ? landscape_ : portrait_)->setChecked(true);
}

PrintConf TForm_printconf::values() const {
  PrintConf c;
  c.scaleX = Scale(scaleX_, 1);
  c.scaleY = Scale(scaleY_, 1);
  c.originX = originX_->text().toInt();
  c.originY = originY_->text().toInt();
  c.border = border_->isChecked();
  c.fit = fit_->isChecked();
  c.monochrome = mono_->isChecked();
  c.landscape = landscape_->isChecked();
  return c;
}

void TForm_printconf::refillProfiles() {
  QString current = profiles_->currentText();
  profiles_->clear();
  for (const PrintProfile& p : settings_.printProfiles)
    profiles_->addItem(QString::fromStdString(Cp850ToUtf8(p.name)));
  profiles_->setEditText(current);
}

void TForm_printconf::loadProfile() {
  std::string name = Utf8ToCp850(profiles_->currentText().toStdString());
  for (const PrintProfile& p : settings_.printProfiles)
    if (p.name == name) show(FromProfile(p, p.variable));
}

void TForm_printconf::storeProfile() {
  if (StoreProfile(settings_, Utf8ToCp850(profiles_->currentText().toStdString()), values()))
    refillProfiles();
}

bool PrintDisplayList(QPrinter& printer, const DisplayList& list, ReplayStyle style,
                      const ReplayTarget& zoom, const PrintConf& c) {
  printer.setPageOrientation(c.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (c.monochrome) printer.setColorMode(QPrinter::GrayScale);
  QPainter p;
  if (!p.begin(&printer)) return false;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double pw = page.width(), ph = page.height();
  ReplayTarget t = zoom;
  t.pause = nullptr;
  t.recordResX = list.transform().resX;
  t.recordResY = list.transform().resY;
  // The device fills the printable page at scale 1; the origin is counted in
  // millimetres of a page 210 mm wide.
  t.device = QRectF(pw * c.originX / 210.0, pw * c.originY / 210.0, pw * c.scaleX, ph * c.scaleY);
  style.penUnit = 4;  // the printer pen is four times the screen pen
  if (c.monochrome) style.colour = false;
  style.background = Qt::white;
  if (c.border) {
    p.save();
    p.setPen(QPen(style.colour ? style.palette[11] : QColor(Qt::black), style.penUnit));
    p.drawRect(t.device);
    p.restore();
  }
  bool ok = ReplayDisplayList(p, list, style, t).ok;
  p.end();
  return ok;
}

}  // namespace kamo
