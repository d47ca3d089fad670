#include "cli/terminal_progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

namespace traveno::cli {
namespace {

constexpr auto kTick = std::chrono::milliseconds(200);
// A bar is redrawn at most this often, and always when it is full.
constexpr auto kBarRedraw = std::chrono::milliseconds(100);
constexpr int kBarCells = 20;
constexpr const char kSpinner[] = {'|', '/', '-', '\\'};
// Back to the line's start, and erase what is right of the cursor.
constexpr const char* kReturn = "\r";
constexpr const char* kEraseRight = "\x1b[K";

// The text cut to `columns` characters, a UTF-8 character never split.
std::string Fit(const std::string& text, int columns) {
  int shown = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80    ? 1
                         : lead >= 0xF0 ? 4
                         : lead >= 0xE0 ? 3
                         : lead >= 0xC0 ? 2
                                        : 1;
    if (shown + 1 > columns) break;
    i = std::min(text.size(), i + length);
    ++shown;
  }
  return text.substr(0, i);
}

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& out, int width, bool tick)
    : out_(out), width_(std::max(width, 10)) {
  if (tick) ticker_ = std::thread([this] { Tick(); });
}

TerminalProgress::~TerminalProgress() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    EraseLocked();
  }
  wake_.notify_all();
  if (ticker_.joinable()) ticker_.join();
}

void TerminalProgress::BeginWait(const std::string& title, const std::string& text) {
  std::lock_guard lock(mutex_);
  shown_.push_back({false, title, text, 0, 0, Clock::now()});
  DrawLocked(true);
}

void TerminalProgress::EndWait() {
  std::lock_guard lock(mutex_);
  auto last = std::find_if(shown_.rbegin(), shown_.rend(), [](const Entry& e) { return !e.bar; });
  if (last != shown_.rend()) shown_.erase(std::next(last).base());
  if (shown_.empty()) {
    EraseLocked();
  } else {
    DrawLocked(true);
  }
}

void TerminalProgress::BeginProgress(const std::string& title, int total) {
  std::lock_guard lock(mutex_);
  shown_.push_back({true, title, "", std::max(total, 0), 0, Clock::now()});
  DrawLocked(true);
}

void TerminalProgress::Advance(int done) {
  std::lock_guard lock(mutex_);
  auto last = std::find_if(shown_.rbegin(), shown_.rend(), [](const Entry& e) { return e.bar; });
  if (last == shown_.rend()) return;
  last->done = std::clamp(done, 0, std::max(last->total, done));
  DrawLocked(last->done >= last->total);
}

void TerminalProgress::EndProgress() {
  std::lock_guard lock(mutex_);
  auto last = std::find_if(shown_.rbegin(), shown_.rend(), [](const Entry& e) { return e.bar; });
  if (last != shown_.rend()) shown_.erase(std::next(last).base());
  if (shown_.empty()) {
    EraseLocked();
  } else {
    DrawLocked(true);
  }
}

std::string TerminalProgress::CurrentLine() const {
  std::lock_guard lock(mutex_);
  return LineLocked(Clock::now());
}

std::string TerminalProgress::LineLocked(Clock::time_point now) const {
  if (shown_.empty()) return {};
  const Entry& e = shown_.back();
  std::string line = e.title;
  if (e.bar) {
    const int total = std::max(e.total, 1);
    const int done = std::min(e.done, total);
    const int cells = done * kBarCells / total;
    line += " [" + std::string(static_cast<std::size_t>(cells), '#') +
            std::string(static_cast<std::size_t>(kBarCells - cells), '.') + "] " +
            std::to_string(done * 100 / total) + "% " + std::to_string(e.done) + "/" +
            std::to_string(e.total);
  } else {
    if (!e.text.empty()) line += (line.empty() ? "" : ": ") + e.text;
    line += std::string(" ") + kSpinner[spin_ % 4];
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now - e.started).count();
    if (seconds >= 1) line += " " + std::to_string(seconds) + " s";
  }
  return Fit(line, width_ - 1);
}

void TerminalProgress::DrawLocked(bool force) {
  const Clock::time_point now = Clock::now();
  if (!force && now - last_draw_ < kBarRedraw) return;
  const std::string line = LineLocked(now);
  if (line == drawn_) return;
  out_ << kReturn << line << kEraseRight << std::flush;
  drawn_ = line;
  last_draw_ = now;
}

void TerminalProgress::EraseLocked() {
  if (drawn_.empty()) return;
  out_ << kReturn << kEraseRight << std::flush;
  drawn_.clear();
}

void TerminalProgress::Tick() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, kTick);
    if (stopping_) break;
    if (!shown_.empty() && !shown_.back().bar) {
      ++spin_;
      DrawLocked(true);
    }
  }
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

int TerminalWidth() {
  winsize size{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

std::unique_ptr<ProgressReporter> CommandProgress(const CliContext& context) {
  if (context.quiet || context.err != &std::cerr || !StandardErrorIsTerminal()) {
    return std::make_unique<SilentProgress>();
  }
  return std::make_unique<TerminalProgress>(std::cerr, TerminalWidth());
}

}  // namespace traveno::cli
