// The graphic printout: the dialog TForm_printconf ("Ausdruck") with its
// named print profiles, and the replay of the display list on a printer.
#pragma once
#include <QDialog>
#include <memory>

#include "core/settings.h"
#include "render/replay.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QRadioButton;

namespace kamo {

class DisplayList;

struct PrintConf {
  double scaleX = 1, scaleY = 1;
  int originX = 0, originY = 0;  // mm from the top left of a page 210 mm wide
  bool border = false;
  bool fit = false;        // show the whole drawing before printing
  bool monochrome = true;
  bool landscape = false;
};

// The dialog's starting values: fixed ones after the sheet with the A4 title
// block (marker 2), else the stored screendump values.
PrintConf StartingPrintConf(const Settings& s, int drawingKind);
// Stores the values as the screendump values of the configuration.
void StorePrintConf(Settings& s, const PrintConf& c);
// Stores c as the profile `name` (replacing one of that name); false when the
// name is empty or the list is full.
bool StoreProfile(Settings& s, const std::string& name, const PrintConf& c);
PrintConf FromProfile(const PrintProfile& p, bool fit);

class TForm_printconf : public QDialog {
  Q_OBJECT
 public:
  TForm_printconf(QWidget* parent, Settings& settings, QPrinter& printer, const PrintConf& start);
  PrintConf values() const;
  void show(const PrintConf& c);

 private:
  void loadProfile();
  void storeProfile();
  void refillProfiles();
  Settings& settings_;
  QPrinter& printer_;
  QLineEdit *scaleX_, *scaleY_, *originX_, *originY_;
  QCheckBox *border_, *fit_;
  QRadioButton *mono_, *colour_, *portrait_, *landscape_;
  QComboBox* profiles_;
  QLabel* printerName_;
};

// Replays the list on the printer: the page position from the origin and the
// scales, the printer pen four times the screen pen, the zoom as shown.
// False when the printer cannot be opened or the list stops at an empty window.
bool PrintDisplayList(QPrinter& printer, const DisplayList& list, ReplayStyle style,
                      const ReplayTarget& zoom, const PrintConf& c);

}  // namespace kamo
