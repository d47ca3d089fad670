// The wait window (`TWForm`: a title and one bold line, on top of every
// window, centred on the screen, with the hourglass cursor) and the progress
// window (`TPForm`: a title and a bar advanced item by item), with the
// progress reporter that long operations drive them through.
#pragma once

#include <QDialog>

#include "core/prompter.h"

class QLabel;
class QProgressBar;

namespace traveno::ui {

class WaitWindow : public QDialog {
  Q_OBJECT

 public:
  explicit WaitWindow(QWidget* parent = nullptr);

  void SetTexts(const QString& title, const QString& text);
  QString Text() const;

 private:
  QLabel* text_;
};

class ProgressWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  void Start(const QString& title, int total);
  void SetDone(int done);
  QProgressBar* bar() const { return bar_; }

 private:
  QProgressBar* bar_;
};

// Shows the two windows for the operations of the desktop program. Waits may
// nest (an operation that waits calls another that waits): the window stays
// up with the innermost text until the outermost wait ends.
class QtProgress final : public ProgressReporter {
 public:
  QtProgress();
  ~QtProgress() override;

  void BeginWait(const std::string& title, const std::string& text) override;
  void EndWait() override;
  void BeginProgress(const std::string& title, int total) override;
  void Advance(int done) override;
  void EndProgress() override;

  WaitWindow& wait_window() { return wait_; }
  ProgressWindow& progress_window() { return progress_; }

 private:
  WaitWindow wait_;
  ProgressWindow progress_;
  int wait_depth_ = 0;
  bool progress_shown_ = false;
};

// Places a top-level window in the middle of the screen it is on.
void CentreOnScreen(QWidget& window);

}  // namespace traveno::ui
