// The main window of the desktop program.
#pragma once

#include <QMainWindow>

namespace traveno::app {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace traveno::app
