#pragma once
// Waits, while a command runs its own event loop, for the first message box that is shown and
// exposed, and hands it to the test once.

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace zorvik {

// Starts `poll`, which looks for the box every 5 ms until it is found.
inline void WatchForMessageBox(QTimer& poll, const std::function<void(QMessageBox&)>& seen) {
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&poll, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || !QTest::qWaitForWindowExposed(box)) return;
    poll.stop();
    seen(*box);
  });
  poll.start();
}

}  // namespace zorvik
