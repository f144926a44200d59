// The menu commands of the main window as functions of the session, free of
// any toolkit: every command clears the abort flag, asks to save where it
// replaces the project, runs its dialogs or action, stops as soon as the abort
// flag is set, and then sets or clears `modified`, recalculates and refreshes
// the title, the error-message entries and the start view. The window only
// binds menu entries to Shell::run and redraws what the ShellView calls ask for.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cad/cad.h"
#include "cad/plot.h"
#include "display/displaylist.h"
#include "graphics/animation.h"
#include "io/configio.h"
#include "cam/motionprog.h"
#include "io/recentfiles.h"
#include "shell/language.h"
#include "shell/recentmenu.h"

namespace kamo {

class Session;
class HelpSystem;

enum class Command {
  FileNew, FileOpen, FileOpenTable, FileSave, FileSaveAs, FileImportDxfR, FileImportDxfXy,
  FileExportDxf, FilePrint, FileConfig, FileRecent1, FileRecent2, FileRecent3, FileRecent4,
  FileExit,
  EditText, EditGeometry, EditOperatingData, EditFollower, EditBody, EditCalculation, EditReset,
  EditMotion,
  ViewStandard, ViewExtract, ViewQuick1, ViewQuick3, ViewQuick4, ViewGraphics, ViewTable,
  ViewDrawing, ViewS, ViewV, ViewA, ViewSva, ViewAnimation, ViewErrors,
  CadGraphics, CadPolyline, CadTable, CadDrawing, CadQuick1, CadQuick3, CadQuick4, CadDiagrams,
  StlCam, StlCamSolid,
  DocInfo, DocShow, DocPrint, DocNew, DocModify, DocDelete, DocSetup,
  HelpErrors, HelpPicture, HelpGerman, HelpEnglish, HelpRomanian, HelpKorean, HelpChinese,
  HelpSystemInfo, HelpAbout,
  StepCamSolid, StepContour,
  EditCheckData, ViewCheck,
  ViewPressureAngle, ViewCurvature, ViewJerk, ViewContactForce,
};

enum class Menu { File, Edit, View, Printout, Cad, Stl, Documentation, Help, Language, Step };

// What a command does to `modified` when it runs to the end.
enum class ModifiedEffect { Unchanged, Set, Cleared, ClearedOnSuccess };

struct CommandSpec {
  Command id;
  Menu menu;
  const char* objectName;   // "mi_" + menu + entry
  ModifiedEffect modified;  // editing commands: finishEdit applies it
  bool replacesProject;     // Shell::run asks the save prompt first
  bool recalculates;        // editing commands: finishEdit recalculates (else the dialog does)
};
// Every command in menu order.
const std::vector<CommandSpec>& CommandTable();
const CommandSpec& SpecOf(Command c);

// The parts of the program that the commands call and that live above the
// shell or are built later: dialogs edit the project and set abortFlag when
// cancelled. An empty part leaves its commands disabled.
struct ShellParts {
  std::function<void(Session&)> drawingTexts;   // Edit > Text
  std::function<void(Session&)> curveGeometry;  // curve type and geometry, ends with its calculation
  std::function<void(Session&)> follower;
  std::function<void(Session&)> camBody;
  std::function<void(Session&)> calcSettings;
  // Edit > "Bewegungsprogramm…": formula segments from a motion programme;
  // sets abortFlag when cancelled. File > "Neu…" offers it as its first choice.
  std::function<void(Session&)> motionProgramme;
  std::function<void(Session&)> checkData;      // Edit > "Prüfdaten"
  std::function<void(Session&)> configuration;
  std::function<void(Session&)> printSettings;  // graphic printout dialog
  std::function<void(Session&)> drawingInfo;
  std::function<void(Session&)> documentSetup;
  std::function<void(Session&, int mode)> changeRecords;
  std::function<void(Session&, int destination, int kind)> output;  // the output dispatcher
  std::function<void(Session&, int kind, int destination)> diagram;
  std::function<void(Session&, int mode)> animation;
  // Reads a contour from a DXF file for curve type 5 or 10; runs the save
  // question itself and changes the project only on success.
  std::function<bool(Session&, int curveType)> importDxf;
  std::function<void(Session&)> openTable;
  std::function<void(Session&)> helpPicture;
  std::function<void(Session&)> systemInfo;
  // The configured start view after the project changed; empty: none.
  std::function<void(Session&)> startView;
  // Deletes the temporary block files this run created.
  std::function<void(Session&)> removeTemporaryFiles;
};

// What the window does when the shell asks it to.
class ShellView {
 public:
  virtual ~ShellView() = default;
  virtual void titleChanged(const std::string& /*title*/) {}
  // Captions, enabled states, recent-file entries or the error entries changed.
  virtual void menusChanged() {}
  virtual void clearGraphics() {}
  // The screen's display list holds a new drawing.
  virtual void showDrawing() {}
  // The settings changed (colours of the drawing surface and the like).
  virtual void settingsChanged() {}
  virtual void closeWindow() {}
  // The animation runs: call Shell::animationTick once `ms` milliseconds
  // have passed (a view without a timer leaves the run to its caller).
  virtual void scheduleAnimationTick(int /*ms*/) {}
  // The display list holds the next frame of the running animation: repaint,
  // keeping the zoom.
  virtual void showFrame() {}
};

class Shell {
 public:
  // Wires the parts that the program has into `parts`.
  explicit Shell(Session& session);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  Session& session;
  ShellParts parts;
  LanguageTexts texts;
  RecentFiles recent;
  ConfigPlace config;  // where the configuration and the recent-file list live
  ConfigContext configContext;  // the start folder and the screen, for reading configurations
  // Starts the plot program; null: a detached process (tests put a recorder here).
  ProcessStarter* processStarter = nullptr;
  DisplayList screen;  // what the main window shows
  int previousSheet = 1;  // preselected in the sheet choice
  int drawingKind = 0;    // marker of the sheet last drawn on the screen (2 A4, 3 A3)
  ShellView* view = nullptr;
  // The help texts and pictures; the session's port shows them.
  std::unique_ptr<HelpSystem> help;
  // The project name exactly as the command line gave it; the save question
  // names it unchanged.
  std::string commandLineName;
  // The metric unit system that "mm <--> inch" returns to.
  int metricBeforeInch = 0;
  // The motion programme last confirmed in Edit > "Bewegungsprogramm…".
  MotionProgramme lastMotion;

  // The animation on the screen (View > "Animation"): one frame at a time in
  // the display list, the next one drawn by animationTick.
  bool animating() const { return static_cast<bool>(animation_); }
  // The pause of the last frame is over: shows the step window in single-step
  // mode, then draws the next frame. The milliseconds to wait before the next
  // call, or -1 when the run has ended (last frame drawn, abortFlag set).
  int animationTick();
  // Escape: sets abortFlag and ends the run; the frame on the screen stays.
  void stopAnimation();
  // The run in progress (null when none).
  const AnimationRun* animationRun() const;
  // Index of the frame on the screen (0-based), -1 when none runs.
  int animationFrame() const;

  bool available(Command c) const;
  // Runs a command; an unavailable one does nothing.
  void run(Command c);

  // Before the project is replaced; false (abortFlag set) when the user
  // cancelled or the project could not be saved.
  bool savePrompt();
  // Whether the window may close; deletes the temporary block files when it may.
  bool closeQuery();

  // Reads a project file as the current project: on success the name, the
  // recent-file list, `modified` and the results follow it.
  bool openProject(const std::string& path);
  void recalc();
  void switchLanguage(int code);
  void refreshTitle();
  void refreshViews();

  // UTF-8 texts for the window.
  std::string title() const;
  std::string caption(Command c) const;
  std::string menuCaption(Menu m) const;
  bool errorEntriesEnabled() const;
  std::string projectPath() const;  // fileDir + fileName + "." + extension
  // Recent-file entry i = 1..4; "" when unused.
  const std::string& recentEntry(int i) const;

 private:
  void newProject();
  void openRecent(int i);
  void openTable();
  void saveProject(bool saveAs);
  void importDxf(int curveType);
  // The output dispatcher (sheet) or the diagram output with its two codes.
  void draw(bool sheet, int first, int second);
  // "STL > Cam solid": the closed, watertight cam solid.
  void camSolid();
  // "STEP > Cam solid" (curveOnly false) and "STEP > Kontur": the cam as a
  // B-rep solid, or its contour as one closed curve.
  void camStep(bool curveOnly);
  // The still picture of cam and follower after "Stössel".
  void followerPicture();
  // Animate mode 0 (the settings dialog, then the run) and 2 (the still picture).
  void animate(int mode);
  bool drawAnimationFrame();
  void endAnimation();
  CadEnvironment outputEnvironment();
  // Runs the dialog of an editing command c, then finishEdit.
  void editStep(Command c, const std::function<void(Session&)>& dialog, bool views);
  // The end of an editing command c as its row says, unless it was cancelled:
  // recalculate, set or clear `modified`, refresh the title (and the views
  // after input that changes the cam).
  void finishEdit(Command c, bool views);
  void operatingData(Command c);
  void resetGeometry(Command c);
  void curveGeometry();
 public:
  // The geometry step of File > "Neu…": first the choice between a motion
  // programme and a curve type, then Edit > "Bewegungsprogramm…" or the curve
  // type choice with its editor. Sets abortFlag when cancelled.
  void newGeometryStep();
 private:
  void showView(bool diagram, int kind);
  void printout(int mode);
  void errorMessages();
  void helpErrorList();
  void about();
  bool archiveLocked() const;
  void finish(Command c, bool success);

  DetachedStarter detached_;
  std::unique_ptr<PlotHandOff> plot_;  // keeps the command line last used
  struct ScreenAnimation;
  std::unique_ptr<ScreenAnimation> animation_;
};

// The window title for a project name (without directory).
std::string WindowTitle(const std::string& fileName);

}  // namespace kamo
