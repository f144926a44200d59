// The configuration dialog Tconfig ("Konfiguration"): nine tab pages built
// from the table of controls, every control named as in that table. The
// dialog only wires the controls to ConfigEditor, which holds the rules.
#pragma once
#include <QDialog>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shell/configdialog.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kamo {

class UiPort;

class Tconfig : public QDialog {
  Q_OBJECT
 public:
  Tconfig(QWidget* parent, ConfigEditor& editor);

  // Every control's text, as the editor stores them.
  std::vector<std::pair<std::string, std::string>> texts() const;
  // The controls from the edited values.
  void fill();
  // "&Hilfe" (the help of the page shown) and the hints of the pages, from
  // the port's help provider.
  void offerHelp(UiPort* port);
  // The help topic of tab page i (0-based).
  static int PageTopic(int page) { return 4100 + 5 * page; }

 private:
  struct Control {
    const ConfigField* field = nullptr;
    QLineEdit* edit = nullptr;
    QCheckBox* check = nullptr;
    QButtonGroup* group = nullptr;
    QLabel* shown = nullptr;
  };
  QWidget* buildControl(const ConfigField& f, QWidget* page);
  std::string textOf(const std::string& name) const;
  void setText(const std::string& name, const std::string& text);
  // Takes every control into the edited values; false (focus on the
  // refused control) when one is refused.
  bool take();
  void ok();
  void save();
  void importFile();
  void exportFile();

  ConfigEditor& editor_;
  QTabWidget* pages_ = nullptr;
  QPushButton* help_ = nullptr;
  std::map<std::string, Control> controls_;
  std::vector<std::string> order_;
};

}  // namespace kamo
