// The main window and the start of the interactive program.
#include "gui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>

#include "core/codepage.h"
#include "core/identity.h"
#include "gui/graphicsview.h"
#include "gui/printconf.h"
#include "gui/tconfig.h"
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
    case Menu::Step: return "mi_step";
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
    case Command::ViewPressureAngle:
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
  shell_->parts.printSettings = [this](Session&) { graphicPrintout(); };
  shell_->parts.configuration = [this](Session&) { configuration(); };
  view_ = new GraphicsView(this);
  view_->setDisplayList(&shell_->screen);
  setCentralWidget(view_);
  statusBar()->setObjectName("StatusBar");
  buildMenus();
  updateMenus();
  titleChanged(shell_->title());
  animationTimer_ = new QTimer(this);
  animationTimer_->setSingleShot(true);
  connect(animationTimer_, &QTimer::timeout, this, &Thh::animationTick);
  animationEscape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  animationEscape_->setObjectName("AnimationEscape");
  animationEscape_->setContext(Qt::WindowShortcut);
  animationEscape_->setEnabled(false);
  connect(animationEscape_, &QShortcut::activated, this, [this] {
    shell_->stopAnimation();
    animationStateChanged();
  });
  view_->escapeHook = [this] {
    if (!shell_->animating()) return false;
    shell_->stopAnimation();
    animationStateChanged();
    return true;
  };
}

void Thh::scheduleAnimationTick(int ms) {
  animationTimer_->start(std::max(0, ms));
  animationStateChanged();
}

void Thh::showFrame() { view_->update(); }

void Thh::animationTick() {
  int next = shell_->animationTick();
  if (next >= 0 && shell_->animating()) animationTimer_->start(next);
  animationStateChanged();
}

void Thh::animationStateChanged() {
  bool running = shell_->animating();
  if (!running) animationTimer_->stop();
  animationEscape_->setEnabled(running);
}

QPrinter& Thh::printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void Thh::graphicPrintout() {
  Session& s = *session_;
  TForm_printconf dialog(this, s.settings, printer(), StartingPrintConf(s.settings, shell_->drawingKind));
  if (dialog.exec() != QDialog::Accepted) {
    s.flags.abortFlag = true;
    return;
  }
  PrintConf c = dialog.values();
  StorePrintConf(s.settings, c);
  if (c.fit) view_->drawingChanged();  // the whole drawing, as on the screen
  view_->repaint();
  if (shell_->screen.size() == 0) return;
  ReplayTarget zoom;
  const ZoomRect& z = view_->zoom();
  zoom.zoomed = !(z == view_->whole());
  zoom.zx0 = z.x0;
  zoom.zy0 = z.y0;
  zoom.zx1 = z.x1;
  zoom.zy1 = z.y1;
  if (!PrintDisplayList(printer(), shell_->screen, view_->replayStyle(), zoom, c))
    s.ui.showError("Fehler : Ausdruck nicht mglich");
}

void Thh::configuration() {
  Session& s = *session_;
  ConfigPlace place = shell_->config;
  if (place.dir.empty()) place.dir = ConfigFallbackDir();  // a window that was never started
  ConfigEditor editor(s, place, shell_->configContext);
  Tconfig dialog(this, editor);
  dialog.offerHelp(port_.get());
  // "Abbrechen" discards what was not saved; what "&Speichern" took stays.
  if (dialog.exec() != QDialog::Accepted) s.flags.abortFlag = true;
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
  for (Menu m : {Menu::File, Menu::Edit, Menu::View, Menu::Cad, Menu::Stl, Menu::Step, Menu::Documentation,
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
      animationStateChanged();
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

void Thh::titleChanged(const std::string& title) {
  // The application title follows; a window title ending in it is shown
  // without the application's name appended.
  QGuiApplication::setApplicationDisplayName(Q(title));
  setWindowTitle(Q(title));
}

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

namespace {
// A developer hook, not an option of the program: with KAMO_GRAB=<png> the
// window runs the menu entry named by KAMO_GRAB_ENTRY (if any), saves a grab
// of itself after its first paint, prints the time since start and the mean
// repaint time of the drawing surface to stderr, and ends.
class FirstPaintGrab : public QObject {
 public:
  FirstPaintGrab(Thh& w, QString png, const QElapsedTimer& started)
      : window_(w), png_(std::move(png)), started_(started) {}
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint && !done_) {
      done_ = true;
      QTimer::singleShot(0, this, [this] { finish(); });
    }
    return QObject::eventFilter(o, e);
  }

 private:
  void finish() {
    qint64 firstPaint = started_.elapsed();
    bool saved = window_.grab().save(png_, "PNG");
    GraphicsView* v = window_.graphicsView();
    constexpr int kRepaints = 50;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < kRepaints; ++i) {
      QKeyEvent key(QEvent::KeyPress, i % 2 ? Qt::Key_Minus : Qt::Key_Plus, Qt::KeypadModifier);
      QApplication::sendEvent(v, &key);
      v->repaint();
    }
    double zoom = static_cast<double>(t.nsecsElapsed()) / kRepaints / 1e6;
    t.restart();
    for (int i = 0; i < kRepaints; ++i) {
      QKeyEvent key(QEvent::KeyPress, i % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
      QApplication::sendEvent(v, &key);
      v->repaint();
    }
    double pan = static_cast<double>(t.nsecsElapsed()) / kRepaints / 1e6;
    std::fprintf(stderr, "wkamo: first paint after %lld ms; repaint %.2f ms (zoom), %.2f ms (pan); %zu records\n",
                 static_cast<long long>(firstPaint), zoom, pan, window_.shell().screen.size());
    QApplication::exit(saved ? 0 : 1);
  }
  Thh& window_;
  QString png_;
  const QElapsedTimer& started_;
  bool done_ = false;
};
}  // namespace

int RunMainWindow(int argc, char** argv, const std::vector<std::string>& args) {
  QElapsedTimer started;
  started.start();
  QApplication app(argc, argv);
  QApplication::setApplicationName(kProductName);
  Thh window;
  window.session().programDir = (QCoreApplication::applicationDirPath() + "/").toStdString();
  RegisterPictureExporters(window.session().pictureExporters);
  StartEnvironment env;
  env.startDir = (QDir::currentPath() + "/").toStdString();
  env.configFallbackDir = ConfigFallbackDir();
  env.runningProgram = RunningProgram();
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    env.screen.width = s->size().width();
    env.screen.height = s->size().height();
    // Qt scales widgets for high-DPI screens itself: the sizes the
    // configuration computes stay in its device-independent pixels.
    env.screen.pixelsPerInch = 96;
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
  std::unique_ptr<FirstPaintGrab> grab;
  if (const char* png = std::getenv("KAMO_GRAB"); png && *png) {
    if (const char* entry = std::getenv("KAMO_GRAB_ENTRY"); entry && *entry) {
      if (auto* a = window.findChild<QAction*>(entry)) a->trigger();
    }
    int w = 0, h = 0;
    if (const char* size = std::getenv("KAMO_GRAB_SIZE"); size && std::sscanf(size, "%dx%d", &w, &h) == 2 &&
        w >= 320 && h >= 240)
      window.resize(w, h);
    grab = std::make_unique<FirstPaintGrab>(window, QString::fromLocal8Bit(png), started);
    window.graphicsView()->installEventFilter(grab.get());
  }
  window.show();
  int rc = app.exec();
  if (grab) window.graphicsView()->removeEventFilter(grab.get());
  return rc;
}

}  // namespace kamo
