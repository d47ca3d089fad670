// The keys that work in every window of the program: F1 opens the help and
// F6 the calculator. The key still reaches the window it was meant for. Each
// press acts once, where the window system hands it to a window, however far
// it then travels among the window's widgets and whatever window the help
// opens meanwhile.
#pragma once

#include <QObject>
#include <functional>

namespace traveno::ui {

class GlobalKeys : public QObject {
  Q_OBJECT

 public:
  GlobalKeys(std::function<void()> on_help, std::function<void()> on_calculator,
             QObject* parent = nullptr);

  // Watches the key presses of the whole application.
  void Install();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> on_help_;
  std::function<void()> on_calculator_;
  bool acting_ = false;
};

}  // namespace traveno::ui
