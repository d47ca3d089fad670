// The two ways an operation talks to the user while it runs: questions and
// messages (a prompter) and the wait and progress windows (a progress
// reporter). Windows pass Qt implementations, the command line passes ones
// driven by its flags, tests pass scripted ones.
#pragma once

#include <optional>
#include <string>

namespace traveno {

enum class MessageKind {
  kPlain,        // a plain message box
  kInformation,
  kWarning,      // refusals and notices
  kError,        // failures
};

class Prompter {
 public:
  virtual ~Prompter() = default;

  // Shows a message with a single OK button.
  virtual void Message(MessageKind kind, const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // Asks for a line of text; empty when the user cancels.
  virtual std::optional<std::string> AskText(const std::string& caption,
                                             const std::string& label,
                                             const std::string& initial) = 0;
  // Asks the user to type the confirmation word before a destructive
  // operation; returns what was typed (empty when cancelled). The caller
  // judges the answer.
  virtual std::string AskTypedConfirmation(const std::string& text) = 0;
};

class ProgressReporter {
 public:
  virtual ~ProgressReporter() = default;

  // The wait window: a title and one line of text until EndWait.
  virtual void BeginWait(const std::string& title, const std::string& text) = 0;
  virtual void EndWait() = 0;
  // The progress window: a title and a bar advanced item by item.
  virtual void BeginProgress(const std::string& title, int total) = 0;
  virtual void Advance(int done) = 0;
  virtual void EndProgress() = 0;
};

// Shows nothing; for work that runs without a user.
class SilentProgress final : public ProgressReporter {
 public:
  void BeginWait(const std::string&, const std::string&) override {}
  void EndWait() override {}
  void BeginProgress(const std::string&, int) override {}
  void Advance(int) override {}
  void EndProgress() override {}
};

// Keeps the wait window up for one scope, and closes it also on failure.
class WaitScope {
 public:
  WaitScope(ProgressReporter& progress, const std::string& title, const std::string& text)
      : progress_(progress) {
    progress_.BeginWait(title, text);
  }
  ~WaitScope() { progress_.EndWait(); }
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;

 private:
  ProgressReporter& progress_;
};

}  // namespace traveno
