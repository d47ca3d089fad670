// The prompter and progress reporter of the desktop program: message boxes
// captioned with the application title, the wait window and the progress window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "core/prompter.h"

class QProgressDialog;
class QLabel;

namespace traveno::ui {

class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}

  void Message(MessageKind kind, const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> AskText(const std::string& caption, const std::string& label,
                                     const std::string& initial) override;
  std::string AskTypedConfirmation(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
};

// The program's texts write line breaks as CR LF or LF CR; Qt wants LF.
QString DisplayText(const std::string& text);

}  // namespace traveno::ui
