// What the Qt Tests do as a user: find controls by name, click and type,
// drive modal dialogs as their event loops show them, keep pictures.
#pragma once
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kamo::test {

template <class T = QWidget>
T* Child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(name);
  if (!c) qFatal("no control %s in %s", name, qPrintable(w->objectName()));
  return c;
}
inline void Click(QWidget* w, const char* name) {
  QTest::mouseClick(Child<QPushButton>(w, name), Qt::LeftButton);
}
inline void Trigger(QWidget* w, const char* name) { Child<QAction>(w, name)->trigger(); }
inline void Type(QWidget* w, const char* name, const QString& text) {
  auto* e = Child<QLineEdit>(w, name);
  e->selectAll();
  e->setFocus();
  QTest::keyClicks(e, text);
}
// Typed as a user would, characters beyond ASCII included.
inline void TypeAny(QWidget* w, const char* name, const QString& text) {
  auto* e = Child<QLineEdit>(w, name);
  e->selectAll();
  e->setFocus();
  for (QChar c : text) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
inline QString Text(QWidget* w, const char* name) { return Child<QLineEdit>(w, name)->text(); }

// With KAMO_SHOTS=<folder> the widget is saved there as <name>.png, for a
// look by eye and for the user guide (scripts/guide-shots.sh).
inline void Shot(QWidget* w, const QString& name) {
  QByteArray dir = qgetenv("KAMO_SHOTS");
  if (dir.isEmpty()) return;
  QApplication::processEvents();
  w->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png", "PNG");
}

// Runs the actions on the modal dialogs in turn, each on the next one that
// shows up; a dialog nobody scripted is closed so that the test fails, not hangs.
class ModalScript : public QObject {
 public:
  explicit ModalScript(std::vector<std::function<void(QWidget*)>> steps) : steps_(std::move(steps)) {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start();
  }
  bool done() const { return next_ == steps_.size(); }
  QStringList seen;  // object names of the dialogs, in order

 private:
  void tick() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || (last_ && last_.data() == w)) return;
    last_ = w;
    seen << w->objectName();
    if (next_ >= steps_.size()) {
      qWarning("unscripted modal %s", qPrintable(w->objectName()));
      w->close();
      return;
    }
    steps_[next_++](w);
    if (done()) timer_.stop();  // a later script takes the next dialogs
  }
  std::vector<std::function<void(QWidget*)>> steps_;
  size_t next_ = 0;
  QPointer<QWidget> last_;
  QTimer timer_;
};

// The action runs on the next modal widget as soon as its event loop shows it.

inline void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(w);
  });
  timer->start();
}

// Picks `path` in the next file dialog, again until the dialog has closed
// (one still reading its folder may ignore the first accept).
inline void AnswerFileDialog(const std::string& path) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  struct Answer {
    bool given = false;
    QPointer<QFileDialog> dialog;  // null once the dialog is gone
  };
  auto answer = std::make_shared<Answer>();
  QObject::connect(timer, &QTimer::timeout, [timer, path, answer] {
    QWidget* d = QApplication::activeModalWidget();
    if (answer->given && (!answer->dialog || d != answer->dialog.data())) {  // closed
      timer->stop();
      timer->deleteLater();
      return;
    }
    if (!d || !d->isVisible()) return;
    auto* dialog = qobject_cast<QFileDialog*>(d);
    if (!dialog) {
      d->close();  // fail, but never hang on a dialog nobody answers
      qWarning("unexpected modal %s", d->metaObject()->className());
      return;
    }
    answer->given = true;
    answer->dialog = dialog;
    // Typed into the name field as a whole path, the pick does not depend on
    // the folder the dialog is still loading.
    dialog->setDirectory(QString::fromStdString(std::filesystem::path(path).parent_path().string()));
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
      name->setText(QString::fromStdString(path));
    else
      dialog->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();
  });
  timer->start();
}

}  // namespace kamo::test
