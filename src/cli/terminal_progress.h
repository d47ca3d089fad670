// The progress of long work in the command line: while an operation shows
// its wait window or progress bar, one line on standard error says what runs
// ("Calcul Salarii: Va rog asteptati... 3 s", "Scriere PDF [#####.....] 50%
// 120/240"), rewritten in place and erased when the work ends. Only on a
// terminal: a script that reads standard error, or --quiet, sees nothing.
// Any command that runs long work passes it to the services as their
// progress reporter (so will the copy of a store, when there is one).
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_context.h"
#include "core/prompter.h"

namespace traveno::cli {

class TerminalProgress final : public ProgressReporter {
 public:
  // Draws on `out`, a terminal `width` columns wide (a line never wraps).
  // With `tick`, a wait line is redrawn every fifth of a second with the
  // time it has run; without, only when something changes.
  TerminalProgress(std::ostream& out, int width, bool tick = true);
  ~TerminalProgress() override;
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void BeginWait(const std::string& title, const std::string& text) override;
  void EndWait() override;
  void BeginProgress(const std::string& title, int total) override;
  void Advance(int done) override;
  void EndProgress() override;

  // The line as it would be drawn now (empty when nothing runs).
  std::string CurrentLine() const;

 private:
  using Clock = std::chrono::steady_clock;
  struct Entry {
    bool bar = false;
    std::string title;
    std::string text;
    int total = 0;
    int done = 0;
    Clock::time_point started;
  };
  std::string LineLocked(Clock::time_point now) const;
  void DrawLocked(bool force);
  void EraseLocked();
  void Tick();

  std::ostream& out_;
  int width_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Entry> shown_;  // nested operations; the last is drawn
  std::string drawn_;
  Clock::time_point last_draw_{};
  int spin_ = 0;
  bool stopping_ = false;
  std::thread ticker_;
};

// Whether standard error is a terminal; its width in columns (80 when the
// terminal does not say).
bool StandardErrorIsTerminal();
int TerminalWidth();

// The progress reporter of a command: a terminal line when the command
// writes to the program's standard error, that is a terminal, and --quiet
// was not given; otherwise one that shows nothing.
std::unique_ptr<ProgressReporter> CommandProgress(const CliContext& context);

}  // namespace traveno::cli
