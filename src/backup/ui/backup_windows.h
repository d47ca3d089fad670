// The windows of backups: "Salvare date" (an archive of the data folder, or
// of chosen companies, with the backup settings), "Restaurare date" (a
// safety copy or any archive, whole or chosen companies), and the reminder
// of a backup when the desktop program is left.
#pragma once

#include <QDialog>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "backup/manifest.h"
#include "core/prompter.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;

namespace traveno::backup_ui {

// Asks a file name; empty when abandoned. Windows pass a file dialog, tests
// their answer.
using ChooseFile = std::function<std::filesystem::path(QWidget* parent)>;

class BackupWindow : public QDialog {
  Q_OBJECT

 public:
  // `choose_file` null: the save-file dialog.
  BackupWindow(std::filesystem::path data_folder, Prompter& prompter, ProgressReporter& progress,
               ChooseFile choose_file = {}, QWidget* parent = nullptr);

  QLineEdit* file() const { return file_; }
  QCheckBox* all_companies() const { return all_; }
  QListWidget* companies() const { return companies_; }
  QSpinBox* kept_copies() const { return kept_; }
  QSpinBox* reminder_days() const { return days_; }
  QPushButton* save_button() const { return save_; }
  // The archive written; empty until then.
  const std::filesystem::path& written() const { return written_; }

 private:
  void BAlegeClick();
  void BSalvareClick();

  std::filesystem::path data_folder_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  ChooseFile choose_file_;
  QLineEdit* file_;
  QCheckBox* all_;
  QListWidget* companies_;
  QSpinBox* kept_;
  QSpinBox* days_;
  QPushButton* save_;
  std::filesystem::path written_;
};

class RestoreWindow : public QDialog {
  Q_OBJECT

 public:
  // `release_data` closes what the program holds open of the data folder,
  // right before the files are switched. `choose_file` null: the open-file dialog.
  RestoreWindow(std::filesystem::path data_folder, Prompter& prompter, ProgressReporter& progress,
                std::function<void()> release_data, ChooseFile choose_file = {},
                QWidget* parent = nullptr);

  QTreeWidget* archives() const { return archives_; }
  QRadioButton* whole() const { return whole_; }
  QRadioButton* chosen() const { return chosen_; }
  QListWidget* companies() const { return companies_; }
  QLabel* details() const { return details_; }
  QPushButton* restore_button() const { return restore_; }
  // Whether the data folder was restored (the program then opens it again).
  bool restored() const { return restored_; }

 private:
  void AddArchive(const std::filesystem::path& file, const std::optional<backup::Manifest>& manifest,
                  const std::string& problem, bool select);
  void ShowSelected();
  void BAltFisierClick();
  void BRestaurareClick();

  std::filesystem::path data_folder_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  std::function<void()> release_data_;
  ChooseFile choose_file_;
  QTreeWidget* archives_;
  QLabel* details_;
  QRadioButton* whole_;
  QRadioButton* chosen_;
  QListWidget* companies_;
  QPushButton* restore_;
  std::vector<std::optional<backup::Manifest>> manifests_;
  bool restored_ = false;
};

// At the exit of the desktop program: when the data folder holds company
// data and the last backup is older than the settings allow, asks whether
// to make one now and, on Yes, calls `make_backup`. Returns whether it asked.
bool RemindBackupAtExit(const std::filesystem::path& data_folder, Prompter& prompter,
                        std::time_t now, const std::function<void()>& make_backup);

}  // namespace traveno::backup_ui
