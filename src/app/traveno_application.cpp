#include "app/traveno_application.h"

#include <QWidget>

#include "core/error_report.h"
#include "ui/qt_prompter.h"

namespace traveno::app {

TravenoApplication::TravenoApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // No display name: the window system would append it to every caption,
  // and captions are shown exactly as the windows set them.
  setApplicationName("traveno");
  setApplicationVersion(QString::fromStdString(VersionString()));
}

bool TravenoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportEscapedError(receiver);
    return false;
  }
}

void TravenoApplication::ReportEscapedError(QObject* receiver) {
  const ErrorInfo error = DescribeException(std::current_exception());
  SenderInfo sender;
  if (receiver != nullptr) {
    sender.kind_name = receiver->metaObject()->className();
    sender.component_name = receiver->objectName().toStdString();
    if (receiver->parent() != nullptr)
      sender.owner_name = receiver->parent()->objectName().toStdString();
  }
  ApplicationState state;
  if (QWidget* window = activeWindow()) {
    state.active_form = window->objectName().toStdString();
    if (QWidget* focused = focusWidget())
      state.focused_control = focused->objectName().toStdString();
  }
  state.form_count = static_cast<int>(topLevelWidgets().size());
  state.custom_form_count = state.form_count;
  ui::QtPrompter prompter(activeWindow());
  const bool terminate = ReportUnhandledError(error, receiver ? &sender : nullptr, state,
                                              ReportEnvironment::Collect(), error_file_, prompter);
  if (terminate) std::exit(1);
}

}  // namespace traveno::app
