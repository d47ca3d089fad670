// The program-settings window ("Configurare Program": the password and the
// exit confirmation) and the password window shown at start ("Parola").
#pragma once

#include <QDialog>
#include <filesystem>

#include "core/prompter.h"
#include "core/settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace traveno::app {

class ProgramSettingsWindow : public QDialog {
  Q_OBJECT

 public:
  // Changes `settings` (and the settings file) when confirmed.
  ProgramSettingsWindow(std::filesystem::path data_folder, ProgramSettings& settings,
                        Prompter& prompter, QWidget* parent = nullptr);

  QLineEdit* old_password() const { return old_; }
  QLineEdit* new_password() const { return new_; }
  QLineEdit* confirmation() const { return confirm_; }
  QCheckBox* confirm_exit() const { return exit_; }
  QPushButton* confirm_button() const { return confirm_button_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BConfirmareClick();

  std::filesystem::path data_folder_;
  ProgramSettings& settings_;
  Prompter& prompter_;
  QLineEdit* old_;
  QLineEdit* new_;
  QLineEdit* confirm_;
  QCheckBox* exit_;
  QPushButton* confirm_button_;
};

// The password asked at start. However the window closes, the typed text is
// then judged by Accepted().
class PasswordWindow : public QDialog {
  Q_OBJECT

 public:
  PasswordWindow(const StartPassword& password, QWidget* parent = nullptr);

  QLineEdit* edit() const { return edit_; }
  // Whether the text typed is the password.
  bool Accepted() const;

  // Shows the window modally; true only for the right password.
  static bool Ask(const StartPassword& password, QWidget* parent = nullptr);

 private:
  const StartPassword& password_;
  QLineEdit* edit_;
};

}  // namespace traveno::app
