// The modal forms of the UI port: the one-line prompt, the choice prompt
// (radio group up to seven choices, list box above) and the explanation
// dialog Thelperr. Each can be shown without blocking, so that tests drive it.
#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "core/plotform.h"
#include "core/ui_port.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace kamo {

// "OK", "Abbrechen", "&Hilfetext", "Hilfe&bild": the buttons of every prompt.
// The help buttons stay disabled while the program has no help texts.
class PromptButtons {
 public:
  explicit PromptButtons(QDialog* dialog);
  QWidget* row() const { return row_; }
  QPushButton* ok() const { return ok_; }

 private:
  QWidget* row_;
  QPushButton* ok_;
};

class PromptDialog : public QDialog {
  Q_OBJECT
 public:
  PromptDialog(const TextPrompt& p, QWidget* parent = nullptr);
  // The text on OK, nullopt when cancelled or still open.
  std::optional<std::string> answer() const;
  QLineEdit* edit() const { return edit_; }

 private:
  void limitTyping(const QString& text);
  QLineEdit* edit_;
  int maxLength_;
  QString last_;
};

class ChoiceDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kMaxRadios = 7;
  ChoiceDialog(const ChoicePrompt& p, QWidget* parent = nullptr);
  // The 0-based choice on OK, nullopt when cancelled or still open.
  std::optional<int> answer() const;
  bool usesList() const { return list_ != nullptr; }

 private:
  QButtonGroup* radios_ = nullptr;
  QListWidget* list_ = nullptr;
};

// The explanation of one calculation message; cause and remedy can be edited.
class Thelperr : public QDialog {
  Q_OBJECT
 public:
  Thelperr(const ExplanationForm& f, QWidget* parent = nullptr);
  bool changed() const { return changed_; }
  ExplanationForm form() const;

 private:
  QLineEdit* message_;
  QPlainTextEdit* cause_;
  QPlainTextEdit* remedy_;
  bool changed_ = false;
};

// A table of rows to pick from: a double click, Enter or "Öffnen" picks
// the current row, "Schließen" closes the table.
class TableDialog : public QDialog {
  Q_OBJECT
 public:
  TableDialog(const TablePick& t, QWidget* parent = nullptr);
  std::optional<int> answer() const;

 private:
  QTableWidget* grid_;
};

// TEinDiagramLimits: the limits of both axes of a diagram. "Calculate" puts
// the computed values back; OK accepts only four numbers.
class TEinDiagramLimits : public QDialog {
  Q_OBJECT
 public:
  TEinDiagramLimits(const DiagramLimitsForm& f, QWidget* parent = nullptr);
  std::optional<DiagramLimitsForm> answer() const;

 private:
  void fill(const DiagramLimitsForm& f);
  bool read(DiagramLimitsForm& f) const;
  void confirm();
  DiagramLimitsForm computed_;
  QLineEdit* edits_[4];
};

// TForm_confdrawout: the command line of the plot program; every change
// rebuilds the line shown under "Command Line:".
class TForm_confdrawout : public QDialog {
  Q_OBJECT
 public:
  TForm_confdrawout(const PlotForm& f, QWidget* parent = nullptr);
  std::optional<PlotForm> answer() const;
  PlotForm current() const;

 private:
  void refresh();
  PlotForm form_;
  QLineEdit *program_, *folder_, *com_, *lpt_, *scale_, *shiftX_, *shiftY_, *width_;
  QButtonGroup *output_, *interface_;
  QCheckBox *fit_, *rotate_;
  QComboBox* psFont_;
  QLabel* commandLine_;
  QString scaleBeforeFit_;
};

// The text viewer of the report outputs.
class TextViewer : public QDialog {
  Q_OBJECT
 public:
  // print: the printout of the shown file; without it the viewer cannot print.
  TextViewer(const QString& caption, const QString& text, std::function<void()> print = {},
             QWidget* parent = nullptr);
};

}  // namespace kamo
