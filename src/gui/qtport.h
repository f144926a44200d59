// The UI port on Qt Widgets: message boxes, prompts, pickers, the explanation
// dialog and the text viewer, all modal to the main window.
#pragma once
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QDialog>
#include <QWidget>
#include <functional>

#include "core/ui_port.h"

namespace kamo {

class QtPort final : public UiPort {
 public:
  explicit QtPort(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  // Where status texts go (the main window's status line).
  std::function<void(const QString&)> statusSink;
  // The printout of a file shown in the text viewer (path, caption).
  std::function<void(const std::string&, const std::string&)> printFile;

  void box(const std::string& caption, const std::string& text, BoxIcon icon) override;
  Answer askYesNoCancel(const std::string& caption, const std::string& text) override;
  bool askRetry(const std::string& caption, const std::string& text) override;
  void beep() override;
  std::optional<std::string> promptText(const TextPrompt& p) override;
  std::optional<int> promptChoice(const ChoicePrompt& p) override;
  std::optional<std::string> openFile(const FileDialog& d) override;
  std::optional<std::string> saveFile(const FileDialog& d) override;
  std::optional<std::string> chooseDirectory(const FileDialog& d) override;
  std::optional<ExplanationForm> explanation(const ExplanationForm& f) override;
  void status(const std::string& text) override;
  void showTextFile(const std::string& caption, const std::string& path) override;
  PrintOutcome printText(const PrintJob& job) override;
  std::optional<int> pickRow(const TablePick& table) override;
  std::optional<PlotForm> plotDialog(const PlotForm& form) override;
  std::optional<DiagramLimitsForm> diagramLimits(const DiagramLimitsForm& f) override;
  void openWithApplication(const std::string& path) override;
  std::optional<ListAnswer> listDialog(const ListForm& form) override;
  bool segmentDialog(SegmentLogic& logic) override;
  bool paramDialog(ParamLogic& logic) override;
  bool fieldsDialog(FieldsLogic& logic) override;
  bool animationStep() override;
  bool positionDialog(PositionLogic& logic, int j) override;
  bool polyDialog(PolyLogic& logic) override;
  bool pointTableDialog(PointTableLogic& logic) override;
  bool motionDialog(MotionLogic& logic) override;
  std::optional<ChangeForm> changeDialog(const ChangeForm& f) override;
  std::optional<DrawingInfoForm> drawingInfoDialog(const DrawingInfoForm& f) override;
  std::optional<DocumentLinksForm> documentLinksDialog(const DocumentLinksForm& f) override;
  std::optional<PictureCatalogueAnswer> pictureCatalogueDialog(const PictureCatalogueForm& f) override;

 private:
  std::optional<std::string> fileDialog(const FileDialog& d, bool save);
  void WirePromptHelp(QDialog& d, int topic);
  QPointer<QWidget> parent_;
  QPoint cataloguePos_{1, 1};  // where the picture catalogue was last closed
};

// "text|pattern|text|pattern" as a Qt name filter list ("text (pattern)").
QString QtNameFilters(const std::string& filter);

}  // namespace kamo
