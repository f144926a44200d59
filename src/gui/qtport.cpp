// The Qt implementation of the UI port.
#include "gui/qtport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

#include "gui/curvedialogs.h"
#include "gui/pointdialogs.h"
#include "gui/motiondialog.h"
#include "gui/docudialogs.h"
#include "gui/formkit.h"
#include "gui/helpdialogs.h"
#include "gui/animationdialogs.h"
#include "gui/projectdialogs.h"
#include "gui/prompts.h"

namespace kamo {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon IconOf(BoxIcon i) {
  switch (i) {
    case BoxIcon::Error: return QMessageBox::Critical;
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::Question: return QMessageBox::Question;
    case BoxIcon::Warning: return QMessageBox::Warning;
    case BoxIcon::None: break;
  }
  return QMessageBox::NoIcon;
}
}  // namespace

// The help buttons of a prompt, once the program has help to show.
void QtPort::WirePromptHelp(QDialog& d, int topic) {
  if (!helpProvider()) return;
  const std::pair<const char*, int> buttons[] = {{"Button_hilfetext", 1}, {"Button_hilfe", 1}, {"Button_hilfebild", 2}};
  for (const auto& [name, mode] : buttons) {
    if (auto* b = d.findChild<QPushButton*>(name)) {
      b->setEnabled(true);
      QObject::connect(b, &QPushButton::clicked, &d, [this, topic, mode = mode] { ShowFormHelp(this, topic, mode); });
    }
  }
}

namespace {
// The help topics of the dialogs whose forms name none.
constexpr int kTopicExplanation = 1970;
constexpr int kTopicChangeRecord = 6100;
constexpr int kTopicDrawingInfo = 6200;
constexpr int kTopicDocumentLinks = 6300;
constexpr int kTopicPlotDialog = 6400;
}  // namespace

std::optional<PictureCatalogueAnswer> QtPort::pictureCatalogueDialog(const PictureCatalogueForm& f) {
  TForm_hilfebild d(f, this, parent_);
  d.move(cataloguePos_);
  d.exec();
  cataloguePos_ = d.pos();
  return d.answer();
}

QString QtNameFilters(const std::string& filter) {
  QStringList parts = Q(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString text = parts[i].trimmed(), pattern = parts[i + 1].trimmed();
    out << (text == pattern ? pattern : text + " (" + pattern + ")");
  }
  if (out.isEmpty() && !filter.empty()) out << Q(filter);
  return out.join(";;");
}

void QtPort::box(const std::string& caption, const std::string& text, BoxIcon icon) {
  QMessageBox b(IconOf(icon), Q(caption), Q(text), QMessageBox::NoButton, parent_);
  b.setObjectName("MessageBox");
  b.setTextFormat(Qt::PlainText);
  b.addButton("OK", QMessageBox::AcceptRole)->setObjectName("Button_ok");
  b.exec();
}

Answer QtPort::askYesNoCancel(const std::string& caption, const std::string& text) {
  QMessageBox b(QMessageBox::Question, Q(caption), Q(text), QMessageBox::NoButton, parent_);
  b.setObjectName("QuestionBox");
  b.setTextFormat(Qt::PlainText);
  QPushButton* yes = b.addButton("&Ja", QMessageBox::YesRole);
  yes->setObjectName("Button_yes");
  QPushButton* no = b.addButton("&Nein", QMessageBox::NoRole);
  no->setObjectName("Button_no");
  QPushButton* cancel = b.addButton("Abbrechen", QMessageBox::RejectRole);
  cancel->setObjectName("Button_cancel");
  b.setDefaultButton(yes);
  b.setEscapeButton(cancel);
  b.exec();
  if (b.clickedButton() == yes) return Answer::Yes;
  if (b.clickedButton() == no) return Answer::No;
  return Answer::Cancel;
}

bool QtPort::askRetry(const std::string& caption, const std::string& text) {
  QMessageBox b(QMessageBox::Warning, Q(caption), Q(text), QMessageBox::NoButton, parent_);
  b.setObjectName("RetryBox");
  b.setTextFormat(Qt::PlainText);
  QPushButton* retry = b.addButton("Wiederholen", QMessageBox::AcceptRole);
  retry->setObjectName("Button_retry");
  QPushButton* cancel = b.addButton("Abbrechen", QMessageBox::RejectRole);
  cancel->setObjectName("Button_cancel");
  b.setDefaultButton(retry);
  b.setEscapeButton(cancel);
  b.exec();
  return b.clickedButton() == retry;
}

void QtPort::beep() { QApplication::beep(); }

std::optional<std::string> QtPort::promptText(const TextPrompt& p) {
  PromptDialog d(p, parent_);
  WirePromptHelp(d, p.helpTopic);
  d.exec();
  return d.answer();
}

std::optional<int> QtPort::promptChoice(const ChoicePrompt& p) {
  ChoiceDialog d(p, parent_);
  WirePromptHelp(d, p.helpTopic);
  d.exec();
  return d.answer();
}

std::optional<std::string> QtPort::fileDialog(const FileDialog& fd, bool save) {
  QFileDialog d(parent_, Q(fd.caption), Q(fd.directory), QtNameFilters(fd.filter));
  d.setObjectName(save ? "SaveDialog" : "OpenDialog");
  // The same dialog everywhere, and one that tests can drive.
  d.setOption(QFileDialog::DontUseNativeDialog, true);
  if (save) {
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question.
    d.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!fd.proposed.empty()) d.selectFile(Q(fd.proposed));
  } else {
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
  }
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
  return d.selectedFiles().first().toStdString();
}

std::optional<std::string> QtPort::openFile(const FileDialog& d) { return fileDialog(d, false); }
std::optional<std::string> QtPort::saveFile(const FileDialog& d) { return fileDialog(d, true); }

std::optional<std::string> QtPort::chooseDirectory(const FileDialog& fd) {
  QFileDialog d(parent_, Q(fd.caption), Q(fd.directory));
  d.setObjectName("DirectoryDialog");
  d.setOption(QFileDialog::DontUseNativeDialog, true);
  d.setFileMode(QFileDialog::Directory);
  d.setOption(QFileDialog::ShowDirsOnly, true);
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
  std::string dir = d.selectedFiles().first().toStdString();
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::optional<ExplanationForm> QtPort::explanation(const ExplanationForm& f) {
  Thelperr d(f, parent_);
  WirePromptHelp(d, kTopicExplanation);
  if (d.exec() != QDialog::Accepted || !d.changed()) return std::nullopt;
  return d.form();
}

void QtPort::status(const std::string& text) {
  if (statusSink) statusSink(Q(text));
}

void QtPort::showTextFile(const std::string& caption, const std::string& path) {
  QFile f(Q(path));
  if (!f.open(QIODevice::ReadOnly)) return;
  std::function<void()> print;
  if (printFile) print = [this, caption, path] { printFile(path, caption); };
  TextViewer v(Q(caption), QString::fromUtf8(f.readAll()), print, parent_);
  v.exec();
}

std::optional<int> QtPort::pickRow(const TablePick& table) {
  TableDialog d(table, parent_);
  d.exec();
  return d.answer();
}

std::optional<DiagramLimitsForm> QtPort::diagramLimits(const DiagramLimitsForm& f) {
  TEinDiagramLimits d(f, parent_);
  WirePromptHelp(d, f.helpTopic);
  d.exec();
  return d.answer();
}

std::optional<ChangeForm> QtPort::changeDialog(const ChangeForm& f) {
  TForm_EinAend d(f, parent_);
  WirePromptHelp(d, f.helpTopic ? f.helpTopic : kTopicChangeRecord);
  d.exec();
  return d.answer();
}

std::optional<DrawingInfoForm> QtPort::drawingInfoDialog(const DrawingInfoForm& f) {
  TForm_zeichInfo d(f, parent_);
  WirePromptHelp(d, f.helpTopic ? f.helpTopic : kTopicDrawingInfo);
  d.exec();
  return d.answer();
}

std::optional<DocumentLinksForm> QtPort::documentLinksDialog(const DocumentLinksForm& f) {
  TForm_confDoku d(f, parent_);
  WirePromptHelp(d, f.helpTopic ? f.helpTopic : kTopicDocumentLinks);
  d.exec();
  return d.answer();
}

std::optional<PlotForm> QtPort::plotDialog(const PlotForm& form) {
  TForm_confdrawout d(form, parent_);
  WirePromptHelp(d, kTopicPlotDialog);
  d.exec();
  return d.answer();
}

PrintOutcome QtPort::printText(const PrintJob& job) {
  int pages = static_cast<int>(job.pages.size());
  if (pages == 0) return PrintOutcome::Cancelled;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(Q(job.title));
  printer.setFromTo(1, pages);
  QPrintDialog dialog(&printer, parent_);
  dialog.setMinMax(1, pages);
  if (dialog.exec() != QDialog::Accepted) return PrintOutcome::Cancelled;
  int from = printer.fromPage() > 0 ? printer.fromPage() : 1;
  int to = printer.toPage() > 0 ? std::min(printer.toPage(), pages) : pages;
  QPainter painter;
  if (!painter.begin(&printer)) return PrintOutcome::Unavailable;
  QFont font(Q(job.font), job.fontSize);
  font.setStyleHint(QFont::TypeWriter);
  font.setBold(job.fontStyle & 1);
  font.setItalic(job.fontStyle & 2);
  font.setUnderline(job.fontStyle & 4);
  font.setStrikeOut(job.fontStyle & 8);
  painter.setFont(font);
  QFontMetrics metrics(painter.font(), &printer);
  int lineHeight = metrics.lineSpacing();
  for (int p = from; p <= to; ++p) {
    if (p > from) printer.newPage();
    int y = metrics.ascent();
    for (const auto& line : job.pages[static_cast<size_t>(p - 1)]) {
      painter.drawText(0, y, Q(line));
      y += lineHeight;
    }
  }
  painter.end();
  return PrintOutcome::Printed;
}

// The desktop's associated program opens the file; it runs on its own.
void QtPort::openWithApplication(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

std::optional<ListAnswer> QtPort::listDialog(const ListForm& form) {
  TForm_einarray d(form, this, parent_);
  d.exec();
  return d.answer();
}

bool QtPort::segmentDialog(SegmentLogic& logic) {
  TForm_kamonock d(logic, this, parent_);
  return d.exec() == QDialog::Accepted;
}

bool QtPort::paramDialog(ParamLogic& logic) {
  TForm_param d(logic, this, parent_);
  return d.exec() == QDialog::Accepted;
}

bool QtPort::fieldsDialog(FieldsLogic& logic) {
  TForm_fields d(logic, this, parent_);
  return d.exec() == QDialog::Accepted;
}

bool QtPort::animationStep() {
  TForm_anistep d(parent_);
  return d.exec() == QDialog::Accepted;
}

bool QtPort::positionDialog(PositionLogic& logic, int j) {
  TForm_einkoord d(logic, j, this, parent_);
  return d.exec() == QDialog::Accepted;
}

bool QtPort::polyDialog(PolyLogic& logic) {
  TForm_polynom d(logic, this, parent_);
  return d.exec() == QDialog::Accepted;
}

bool QtPort::pointTableDialog(PointTableLogic& logic) {
  TForm_points d(logic, this, parent_);
  return d.exec() == QDialog::Accepted;
}

bool QtPort::motionDialog(MotionLogic& logic) {
  TForm_bewegung d(logic, this, parent_);
  return d.exec() == QDialog::Accepted;
}

}  // namespace kamo
