// The desktop program's application object: every exception that escapes an
// event handler goes to the program-wide error report, which records it in
// the error file and asks the user whether to stop.
#pragma once

#include <QApplication>
#include <filesystem>

namespace traveno::app {

class TravenoApplication : public QApplication {
  Q_OBJECT

 public:
  TravenoApplication(int& argc, char** argv);

  void set_error_file(std::filesystem::path error_file) { error_file_ = std::move(error_file); }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void ReportEscapedError(QObject* receiver);
  std::filesystem::path error_file_;
};

}  // namespace traveno::app
