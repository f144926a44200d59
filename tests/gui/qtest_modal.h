// Drives modal dialogs from a test: the action runs on the next modal widget
// as soon as its event loop shows it.
#pragma once
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace kamo::test {

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
