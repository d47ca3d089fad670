// The department windows of the working month: the department window
// ("Configurare Departamente") with its editor, the department chooser
// ("Alegere Departament") and the window of employees without a department
// ("Persoane fara departament"). Every check and write is the departments
// service's; the windows gather the input and show the result.
#pragma once

#include <QDialog>
#include <QStandardItemModel>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/prompter.h"
#include "params/departments.h"
#include "params/session.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace traveno::ui {
class DataGrid;
class RecordNavigator;
}

namespace traveno::params_ui {

// The chooser: a drop-down list of chooser lines, a label and an optional
// warning picture. `Choose` shows it and returns the chosen line.
class DepartmentChooserDialog : public QDialog {
  Q_OBJECT

 public:
  DepartmentChooserDialog(const std::vector<std::string>& lines, const std::string& label,
                          bool warning, QWidget* parent = nullptr);

  QComboBox* list() const { return list_; }
  QLabel* label() const { return label_; }
  QPushButton* confirm_button() const { return confirm_; }
  std::string ChosenLine() const;

  // Shows the chooser over `parent`; nothing when abandoned.
  static std::optional<std::string> Choose(const std::vector<std::string>& lines,
                                           const std::string& label, bool warning, QWidget* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QComboBox* list_;
  QLabel* label_;
  QPushButton* confirm_;
};

// The add / change / delete editor of one department.
class DepartmentEditor : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { kAdd, kModify, kDelete };
  // Takes the typed code and name; the editor closes only when it returns true.
  using Apply = std::function<bool(const std::string& code, const std::string& name)>;

  DepartmentEditor(Mode mode, const params::Department& shown, Apply apply,
                   QWidget* parent = nullptr);

  QLineEdit* code() const { return code_; }
  QLineEdit* name() const { return name_; }
  QPushButton* confirm_button() const { return confirm_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Apply apply_;
  QLineEdit* code_;
  QLineEdit* name_;
  QPushButton* confirm_;
};

class DepartmentWindow : public QDialog {
  Q_OBJECT

 public:
  DepartmentWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                   QWidget* parent = nullptr);

  ui::DataGrid* grid() const { return grid_; }
  QPushButton* add_button() const { return add_; }
  QPushButton* modify_button() const { return modify_; }
  QPushButton* delete_button() const { return delete_; }
  int RowCount() const { return model_.rowCount(); }
  std::string CurrentCode() const;

  // Re-reads the month's departments and selects `code` (else the last row).
  void Reload(const std::string& code = {});

  void BAdaugareClick();
  void BModificareClick();
  void BStergereClick();

  // Where a deletion's employees go; by default the chooser window.
  void set_chooser(params::DepartmentChooser chooser) { chooser_ = std::move(chooser); }

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  std::optional<params::Department> Current() const;
  void MoveTo(int row);

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  params::DepartmentChooser chooser_;
  QStandardItemModel model_;
  std::vector<params::Department> departments_;
  ui::DataGrid* grid_;
  ui::RecordNavigator* navigator_;
  QPushButton* add_;
  QPushButton* modify_;
  QPushButton* delete_;
};

// The employees of the working month without a department, shown before the
// pay grid opens when the month has several departments.
class EmployeesWithoutDepartmentWindow : public QDialog {
  Q_OBJECT

 public:
  EmployeesWithoutDepartmentWindow(params::Session& session, QWidget* parent = nullptr);

  ui::DataGrid* grid() const { return grid_; }
  QPushButton* choose_button() const { return choose_; }
  int RowCount() const { return model_.rowCount(); }

  // "&Alegere departament" for the current row.
  void BAlegereClick();
  // The department chooser; by default the chooser window.
  void set_chooser(params::DepartmentChooser chooser) { chooser_ = std::move(chooser); }

 private:
  void Reload();

  params::Session& session_;
  params::DepartmentChooser chooser_;
  QStandardItemModel model_;
  std::vector<PersRow> rows_;
  ui::DataGrid* grid_;
  QPushButton* choose_;
};

}  // namespace traveno::params_ui
