// TForm_hilfebild: the catalogue of help pictures. Every action closes the
// dialog with its answer; the command draws and opens it again.
#pragma once
#include <QDialog>
#include <optional>

#include "core/ui_port.h"

class QComboBox;

namespace kamo {

class TForm_hilfebild : public QDialog {
  Q_OBJECT
 public:
  TForm_hilfebild(const PictureCatalogueForm& f, UiPort* port, QWidget* parent = nullptr);
  // The action chosen; nullopt for "OK" or while open.
  std::optional<PictureCatalogueAnswer> answer() const { return answer_; }

 private:
  void finish(CatalogueAction action, int selected);

  QComboBox* list_;
  std::optional<PictureCatalogueAnswer> answer_;
};

}  // namespace kamo
