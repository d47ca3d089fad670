// The splash window shown while the program creates its windows: the program
// and maker names, "Asteptati va rog ...", the version and a bar that grows
// by quarters of the window count expected from the last start. When it
// closes with another count than the stored one, it stores the real count so
// that the next start scales the bar right.
#pragma once

#include <QWidget>
#include <filesystem>

class QProgressBar;

namespace traveno::app {

// How many quarters of the bar are filled after `count` of `expected` windows.
int SplashQuarters(int count, int expected);

class SplashWindow : public QWidget {
  Q_OBJECT

 public:
  explicit SplashWindow(std::filesystem::path data_folder, QWidget* parent = nullptr);
  ~SplashWindow() override;

  // One more window was created.
  void CountWindow();
  int count() const { return count_; }
  int expected() const { return expected_; }
  QProgressBar* bar() const { return bar_; }

 private:
  std::filesystem::path data_folder_;
  int expected_;
  int count_ = 0;
  QProgressBar* bar_;
};

}  // namespace traveno::app
