// traveno: the desktop program.
#include <filesystem>

#include "app/main_window.h"
#include "app/traveno_application.h"
#include "core/data_folder.h"
#include "core/fatal_signals.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path data_folder = traveno::ResolveDataFolder({});
  std::error_code ignored;
  fs::create_directories(data_folder, ignored);
  const fs::path error_file = data_folder / traveno::kErrorFileName;
  traveno::InstallFatalSignalHandlers(error_file, "traveno");

  traveno::app::TravenoApplication application(argc, argv);
  application.set_error_file(error_file);
  traveno::app::MainWindow window;
  window.show();
  return application.exec();
}
