// The scripted prompter of every test, and a helper that answers the next
// modal window a window test opens.
#pragma once

#include <QApplication>
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

}  // namespace traveno::testing
