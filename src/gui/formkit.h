// Pieces that every input dialog of the program is built from:
//  - EditRow: "Label_<name>" (with the topic's hint), "Edit_<name>", an
//    optional "<" default button "Button_def_<name>" and the unit label
//    "Label_unit_<name>", in one grid row;
//  - FormButtons: the row "OK" (Button_ok, default: Enter), "Abbrechen"
//    (Button_cancel, Escape), "&Hilfetext" (Button_hilfetext) and
//    "Hilfe&bild" (Button_hilfebild), the help buttons wired to the UI port's
//    help provider;
//  - helpers that give a label its hint and keep a dialog on the screen.
#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <string>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kamo {

class UiPort;

QString QtText(const std::string& utf8);
std::string StdText(const QString& text);

// Shows the help of a topic (mode 1 text, 2 picture) through the port's help
// provider; without one a short box says that there is no help.
void ShowFormHelp(UiPort* port, int topic, int mode);
// The topic's short help text as the widget's hint (nothing without a provider).
void SetHint(QWidget* w, UiPort* port, int topic);

struct EditRow {
  QLabel* label = nullptr;
  QLineEdit* edit = nullptr;
  QPushButton* defaultButton = nullptr;  // null when the row has none
  QLabel* unit = nullptr;
};
// Adds the row at `row` of a grid with the columns label, edit, "<", unit.
EditRow AddEditRow(QGridLayout* grid, int row, const std::string& name, const std::string& label,
                   const std::string& unit, bool withDefault, UiPort* port = nullptr, int hintTopic = 0);

class FormButtons {
 public:
  // Builds the row; OK accepts and Abbrechen rejects unless the caller
  // connects its own handlers (then pass autoClose = false).
  FormButtons(QDialog* dialog, UiPort* port, std::function<int()> helpTopic, bool autoClose = true);
  QWidget* row() const { return row_; }
  QPushButton* ok() const { return ok_; }
  QPushButton* cancel() const { return cancel_; }
  QPushButton* helpText() const { return helpText_; }
  QPushButton* helpPicture() const { return helpPicture_; }
  // Adds a further button to the row ("Calc", "mm <--> inch", ...).
  QPushButton* add(const QString& caption, const char* objectName);

 private:
  QWidget* row_;
  QPushButton *ok_, *cancel_, *helpText_, *helpPicture_;
};

// A push button that never takes Enter from the dialog's default button.
QPushButton* PlainButton(const QString& caption, const char* objectName, QWidget* parent);

// Limits a dialog to the available screen (1366 x 768 and up).
void FitToScreen(QDialog* d);

}  // namespace kamo
