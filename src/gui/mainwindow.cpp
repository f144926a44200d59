// The main window and the start of the interactive program.
#include "gui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include "core/codepage.h"
#include "core/identity.h"
#include "gui/graphicsview.h"
#include "render/exporters.h"
#include "report/report.h"
#include "shell/session.h"

namespace kamo {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

const char* MenuName(Menu m) {
  switch (m) {
    case Menu::File: return "mi_file";
    case Menu::Edit: return "mi_edit";
    case Menu::View: return "mi_view";
    case Menu::Printout: return "mi_viewAusdruck";
    case Menu::Cad: return "mi_cad";
    case Menu::Stl: return "mi_stl";
    case Menu::Documentation: return "mi_docu";
    case Menu::Help: return "mi_help";
    case Menu::Language: return "mi_helpSprache";
  }
  return "";
}

// Entries that a separator precedes.
bool SeparatorBefore(Command c) {
  switch (c) {
    case Command::FileImportDxfR:
    case Command::FilePrint:
    case Command::ViewS:
    case Command::ViewErrors:
    case Command::CadDiagrams:
    case Command::DocNew:
    case Command::DocSetup:
    case Command::HelpSystemInfo: return true;
    default: return false;
  }
}
}  // namespace

Thh::Thh(QWidget* parent) : QMainWindow(parent) {
  setObjectName("hh");
  port_ = std::make_unique<QtPort>(this);
  port_->statusSink = [this](const QString& text) { statusBar()->showMessage(text); };
  session_ = std::make_unique<Session>(*port_);
  port_->printFile = [this](const std::string& path, const std::string& caption) {
    PrintTextFile(session_->ui, session_->settings, path, caption);
  };
  shell_ = std::make_unique<Shell>(*session_);
  shell_->view = this;
  view_ = new GraphicsView(this);
  view_->setDisplayList(&shell_->screen);
  setCentralWidget(view_);
  statusBar()->setObjectName("StatusBar");
  buildMenus();
  updateMenus();
  titleChanged(shell_->title());
}

Thh::~Thh() {
  if (!ended_) EndMainWindow(*shell_);
  shell_->view = nullptr;
}

QMenu* Thh::menuFor(Menu m) {
  auto it = menus_.find(m);
  if (it != menus_.end()) return it->second;
  QMenu* parentMenu = nullptr;
  if (m == Menu::Printout) parentMenu = menuFor(Menu::View);
  if (m == Menu::Language) parentMenu = menuFor(Menu::Help);
  QMenu* created = parentMenu ? parentMenu->addMenu(QString()) : menuBar()->addMenu(QString());
  created->setObjectName(MenuName(m));
  created->menuAction()->setObjectName(QString(MenuName(m)) + "Action");
  menus_[m] = created;
  return created;
}

void Thh::buildMenus() {
  for (Menu m : {Menu::File, Menu::Edit, Menu::View, Menu::Cad, Menu::Stl, Menu::Documentation,
                 Menu::Help})
    menuFor(m);
  for (const CommandSpec& spec : CommandTable()) {
    QMenu* m = menuFor(spec.menu);
    if (spec.id == Command::FileExit) recentSeparator_ = m->addSeparator();
    else if (SeparatorBefore(spec.id)) m->addSeparator();
    QAction* a = m->addAction(QString());
    a->setObjectName(spec.objectName);
    Command id = spec.id;
    connect(a, &QAction::triggered, this, [this, id] {
      shell_->run(id);
      updateMenus();
    });
    actions_[id] = a;
  }
  actions_[Command::FilePrint]->setShortcut(QKeySequence("Ctrl+P"));
  actions_[Command::ViewTable]->setVisible(false);
}

QAction* Thh::action(Command c) const {
  auto it = actions_.find(c);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* Thh::menu(Menu m) const {
  auto it = menus_.find(m);
  return it == menus_.end() ? nullptr : it->second;
}

void Thh::updateMenus() {
  for (auto& [m, menu] : menus_) menu->setTitle(Q(shell_->menuCaption(m)));
  for (auto& [id, a] : actions_) {
    a->setText(Q(shell_->caption(id)));
    a->setEnabled(shell_->available(id));
  }
  for (Command c : {Command::FileRecent1, Command::FileRecent2, Command::FileRecent3,
                    Command::FileRecent4})
    actions_[c]->setVisible(shell_->available(c));
  recentSeparator_->setVisible(!shell_->recent.empty());
}

void Thh::titleChanged(const std::string& title) { setWindowTitle(Q(title)); }

void Thh::clearGraphics() { view_->clear(); }

void Thh::showDrawing() { view_->drawingChanged(); }

void Thh::settingsChanged() { view_->applySettings(session_->settings); }

void Thh::closeEvent(QCloseEvent* e) {
  if (ended_ || !shell_->closeQuery()) {
    if (!ended_) e->ignore();
    return;
  }
  EndMainWindow(*shell_);
  ended_ = true;
  e->accept();
}

StartResult Thh::start(const std::vector<std::string>& args, const StartEnvironment& env) {
  StartResult r = StartMainWindow(*shell_, args, env);
  view_->applySettings(session_->settings);
  updateMenus();
  return r;
}

int RunMainWindow(int argc, char** argv, const std::vector<std::string>& args) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(kProductName);
  Thh window;
  window.session().programDir = (QCoreApplication::applicationDirPath() + "/").toStdString();
  RegisterPictureExporters(window.session().pictureExporters);
  StartEnvironment env;
  env.startDir = (QDir::currentPath() + "/").toStdString();
  env.configFallbackDir = ConfigFallbackDir();
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    env.screen.width = s->size().width();
    env.screen.height = s->size().height();
    env.screen.pixelsPerInch = static_cast<int>(s->logicalDotsPerInch());
  }
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    QRect avail = s->availableGeometry();
    env.screen.maxClientWidth = avail.width() - 9;
    env.screen.maxClientHeight = avail.height() - 91;
  }
  StartResult r = window.start(args, env);
  if (!r.keepRunning) return r.exitCode;
  // The configured client size; a size that does not fit is left to the system.
  PixelSize size = MainWindowClientSize(window.session().settings, env.screen);
  if (size.width >= 320 && size.height >= 240) {
    window.resize(size.width, size.height + window.menuBar()->sizeHint().height() +
                                   window.statusBar()->sizeHint().height());
  }
  window.show();
  return app.exec();
}

}  // namespace kamo
