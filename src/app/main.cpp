// traveno: the desktop program.
#include <QElapsedTimer>
#include <QMessageBox>
#include <QWindow>
#include <filesystem>
#include <memory>
#include <string_view>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/splash_window.h"
#include "app/traveno_application.h"
#include "core/data_folder.h"
#include "core/fatal_signals.h"
#include "core/system_info.h"
#include "ui/calculator.h"
#include "ui/global_keys.h"
#include "ui/help.h"
#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace {

// "--data-dir DIR" or "--data-dir=DIR"; empty when not given.
std::string DataDirArgument(int argc, char** argv) {
  constexpr std::string_view kOption = "--data-dir";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == kOption && i + 1 < argc) return argv[i + 1];
    if (arg.starts_with(kOption) && arg.size() > kOption.size() && arg[kOption.size()] == '=') {
      return std::string(arg.substr(kOption.size() + 1));
    }
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path data_folder = traveno::ResolveDataFolder(DataDirArgument(argc, argv));
  std::error_code ignored;
  fs::create_directories(data_folder, ignored);
  const fs::path error_file = data_folder / traveno::kErrorFileName;
  traveno::InstallFatalSignalHandlers(error_file, "traveno");

  traveno::app::TravenoApplication application(argc, argv);
  application.set_error_file(error_file);
  application.setWindowIcon(QIcon::fromTheme("traveno"));
  traveno::ui::InstallWindowBehaviour(application);

  // One copy at a time: a second one ends before it shows anything.
  traveno::app::SingleInstance instance(data_folder);
  if (!instance.Acquire()) return 0;

  auto splash = std::make_unique<traveno::app::SplashWindow>(data_folder);
  splash->show();
  // The window system maps a window some time after it is shown: the splash
  // is seen only once it is drawn on the screen.
  QElapsedTimer shown;
  shown.start();
  while (!(splash->windowHandle() && splash->windowHandle()->isExposed()) &&
         shown.elapsed() < 1500) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
  }
  splash->repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

  traveno::ui::GlobalKeys keys([] { traveno::ui::OpenHelpOfWindowInHand(); },
                               [] { traveno::ui::ShowCalculator(); });

  traveno::app::MainWindowOptions options;
  options.data_folder = data_folder;
  options.open_help = [] { traveno::ui::OpenHelpOfWindowInHand(); };
  // The first showing of the main window closes the splash, which stores the
  // real window count for the next start.
  options.close_splash = [&splash] { splash.reset(); };
  traveno::app::MainWindow window(std::move(options));
  splash->CountWindow();
  keys.Install();
  window.show();
  return application.exec();
}
