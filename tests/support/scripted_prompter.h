// A prompter that answers from a script and keeps every message and question
// it was shown, for the tests of the services and of the windows alike.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/prompter.h"

namespace traveno::testing {

class ScriptedPrompter final : public Prompter {
 public:
  struct ShownMessage {
    MessageKind kind;
    std::string text;
  };

  void Message(MessageKind kind, const std::string& text) override {
    messages.push_back({kind, text});
  }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    if (yes_no.empty()) return default_yes;
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
    if (typed.empty()) return default_typed;
    auto answer = typed.front();
    typed.pop_front();
    return answer;
  }

  // Whether a message with exactly this text was shown.
  bool Shown(const std::string& text) const {
    for (const ShownMessage& message : messages) {
      if (message.text == text) return true;
    }
    return false;
  }

  // Answers in the order they are asked; once a script runs out, the default
  // answers: `default_yes`, a cancelled text input, `default_typed`.
  std::deque<bool> yes_no;
  bool default_yes = false;
  std::deque<std::optional<std::string>> texts;
  std::deque<std::string> typed;
  std::string default_typed;

  std::vector<ShownMessage> messages;
  // Every question, text prompt and confirmation request, in order.
  std::vector<std::string> questions;
};

}  // namespace traveno::testing
