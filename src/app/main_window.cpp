#include "app/main_window.h"

#include "core/system_info.h"

namespace traveno::app {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("FMain");
  setWindowTitle(kApplicationTitle);
  resize(640, 420);
}

}  // namespace traveno::app
