// The scripted prompter of every test, and a helper that answers the next
// modal window a window test opens.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "tests/support/scripted_prompter.h"

namespace traveno::testing {

// Answers the next modal window that opens: `answer` runs inside its loop
// and must close it. The test never waits for a person.
inline void AnswerNextModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, answer = std::move(answer)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    timer->stop();
    timer->deleteLater();
    answer(modal);
  });
  timer->start();
}

// Activates `window` and waits until it has the keyboard. A dialog counts as
// active for QTest::qWaitForWindowActive as soon as the window below it is,
// while the keys still go to the control below (and its shortcuts) until the
// dialog is activated in turn: a test that types into a dialog waits here.
inline bool WaitUntilActive(QWidget* window) {
  window->activateWindow();
  return QTest::qWaitFor([window] { return window->isActiveWindow(); });
}

}  // namespace traveno::testing
