// The main window hh (class Thh): the menus, the title and the drawing
// surface. Every menu entry runs its command of the shell; the window only
// shows what the shell reports through ShellView.
#pragma once
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/qtport.h"
#include "shell/commands.h"
#include "shell/startup.h"

class QAction;
class QMenu;
class QPrinter;
class QShortcut;
class QTimer;

namespace kamo {

class GraphicsView;
class Session;

class Thh : public QMainWindow, public ShellView {
  Q_OBJECT
 public:
  explicit Thh(QWidget* parent = nullptr);
  ~Thh() override;

  Session& session() { return *session_; }
  Shell& shell() { return *shell_; }
  QtPort& port() { return *port_; }
  GraphicsView* graphicsView() const { return view_; }
  QAction* action(Command c) const;
  // The printer of the graphic printout, kept between printouts.
  QPrinter& printer();
  QMenu* menu(Menu m) const;

  // Configuration, recent files, start sequence, language and title.
  StartResult start(const std::vector<std::string>& args, const StartEnvironment& env);
  // Captions, enabled states and visibility from the shell.
  void updateMenus();

  void titleChanged(const std::string& title) override;
  void menusChanged() override { updateMenus(); }
  void clearGraphics() override;
  void showDrawing() override;
  void settingsChanged() override;
  void closeWindow() override { close(); }
  void scheduleAnimationTick(int ms) override;
  void showFrame() override;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void buildMenus();
  void graphicPrintout();
  void configuration();
  QMenu* menuFor(Menu m);
  void animationTick();
  void animationStateChanged();

  std::unique_ptr<QtPort> port_;  // before the session, which holds a reference
  std::unique_ptr<Session> session_;
  std::unique_ptr<Shell> shell_;
  std::map<Command, QAction*> actions_;
  std::map<Menu, QMenu*> menus_;
  QAction* recentSeparator_ = nullptr;
  GraphicsView* view_ = nullptr;
  std::unique_ptr<QPrinter> printer_;
  // The animation steps on by this timer, one frame per timeout; Escape
  // ends it while it runs.
  QTimer* animationTimer_ = nullptr;
  QShortcut* animationEscape_ = nullptr;
  bool ended_ = false;
};

// The interactive program: the application, the main window and its start.
int RunMainWindow(int argc, char** argv, const std::vector<std::string>& args);

}  // namespace kamo
