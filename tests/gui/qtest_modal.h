// Drives modal dialogs from a test: the action runs on the next modal widget
// as soon as its event loop shows it.
#pragma once
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

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

}  // namespace kamo::test
