// The documentation dialogs: TForm_EinAend (one change record),
// TForm_zeichInfo (the drawing information in its DIN 6771 or ISO 7200 form
// with the free-text grid) and TForm_confDoku (the five document links).
// Each shows a form of the UI port and hands it back edited; what is stored
// and how is decided by the documentation code.
#pragma once
#include <QDialog>
#include <array>
#include <optional>

#include "core/docuforms.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace kamo {

class TForm_EinAend : public QDialog {
  Q_OBJECT
 public:
  TForm_EinAend(const ChangeForm& f, QWidget* parent = nullptr);
  ChangeForm current() const;
  std::optional<ChangeForm> answer() const;

 private:
  ChangeForm form_;
  QLineEdit *text_, *date_, *responsible_;
  QPlainTextEdit* description_;
};

class TForm_zeichInfo : public QDialog {
  Q_OBJECT
 public:
  TForm_zeichInfo(const DrawingInfoForm& f, QWidget* parent = nullptr);
  DrawingInfoForm current() const;
  std::optional<DrawingInfoForm> answer() const;

 private:
  void sheetModeChanged(int mode);
  DrawingInfoForm form_;
  QTableWidget* signatures_;
  QTableWidget* document_ = nullptr;  // ISO only
  QTableWidget* texts_;
  QLineEdit* replacementFor_ = nullptr;  // DIN only
  QLineEdit* replacedBy_ = nullptr;
  QComboBox* sheetMode_;
};

class TForm_confDoku : public QDialog {
  Q_OBJECT
 public:
  TForm_confDoku(const DocumentLinksForm& f, QWidget* parent = nullptr);
  DocumentLinksForm current() const;
  std::optional<DocumentLinksForm> answer() const;

 private:
  DocumentLinksForm form_;
  std::array<QLineEdit*, DocumentLinksForm::kLinks> programs_{}, files_{};
};

}  // namespace kamo
