// A prompter that answers from a script and records what it was shown, and a
// helper that answers the next modal window a test opens.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/prompter.h"

namespace traveno::testing {

class ScriptedPrompter final : public Prompter {
 public:
  struct Shown {
    MessageKind kind;
    std::string text;
  };

  void Message(MessageKind kind, const std::string& text) override {
    messages.push_back({kind, text});
  }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    if (yes_no.empty()) return false;
    const bool answer = yes_no.front();
    yes_no.pop_front();
    return answer;
  }
  std::optional<std::string> AskText(const std::string&, const std::string& label,
                                     const std::string&) override {
    questions.push_back(label);
    if (texts.empty()) return std::nullopt;
    auto answer = texts.front();
    texts.pop_front();
    return answer;
  }
  std::string AskTypedConfirmation(const std::string& text) override {
    questions.push_back(text);
    if (typed.empty()) return {};
    auto answer = typed.front();
    typed.pop_front();
    return answer;
  }

  std::deque<bool> yes_no;
  std::deque<std::optional<std::string>> texts;
  std::deque<std::string> typed;
  std::vector<Shown> messages;
  std::vector<std::string> questions;
};

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
