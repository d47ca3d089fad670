// The dependants of a grid line: the list window ("Persoane in intretinere")
// with the employee's own part of the deduction coefficient and the total,
// and the editor of one dependant. Opening the list repairs the stored
// coefficients; closing it, however it closes, writes the employee's
// coefficients and recalculates the line through the dependants service.
#pragma once

#include <QDialog>
#include <QStandardItemModel>
#include <optional>
#include <vector>

#include "core/prompter.h"
#include "core/store/records.h"
#include "params/session.h"
#include "personnel/dependants.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace traveno::ui {
class DataGrid;
}

namespace traveno::personnel_ui {

class DependantEditor : public QDialog {
  Q_OBJECT

 public:
  // `shown`: the dependant of Modify and Delete; null for Add.
  DependantEditor(params::Session& session, Prompter& prompter, personnel::DependantEditMode mode,
                  const PintRow* shown, QWidget* parent = nullptr);

  personnel::DependantInput Input() const;
  QLineEdit* name() const { return name_; }
  QLineEdit* first_name() const { return first_name_; }
  QLineEdit* code() const { return code_; }
  QComboBox* relationship() const { return relationship_; }
  QComboBox* invalidity() const { return invalidity_; }
  QLabel* coefficient() const { return coefficient_; }
  QLabel* delete_panel() const { return delete_panel_; }
  QPushButton* confirm_button() const { return confirm_; }

  void BConfirmareClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowCoefficient();

  params::Session& session_;
  Prompter& prompter_;
  personnel::DependantEditMode mode_;
  std::string code_at_opening_;
  QLineEdit* name_;
  QLineEdit* first_name_;
  QLineEdit* code_;
  QComboBox* relationship_;
  QComboBox* invalidity_;
  QLabel* coefficient_;
  QLabel* delete_panel_;
  QPushButton* confirm_;
  QPushButton* abandon_ = nullptr;
};

class DependantsWindow : public QDialog {
  Q_OBJECT

 public:
  // The dependants of line `employee_nr`; `month_open` false disables the
  // add, modify and delete buttons. Throws Error(kLineMissing) when the
  // month has no such line.
  DependantsWindow(params::Session& session, Prompter& prompter, std::int64_t employee_nr,
                   bool month_open, QWidget* parent = nullptr);

  ui::DataGrid* grid() const { return grid_; }
  int RowCount() const { return model_.rowCount(); }
  QLineEdit* base() const { return base_; }
  QLabel* total() const { return total_; }
  QLabel* employee_label() const { return employee_; }
  QLabel* month_label() const { return month_; }
  QPushButton* add_button() const { return add_; }
  QPushButton* modify_button() const { return modify_; }
  QPushButton* delete_button() const { return delete_; }

  void BAdaugareClick();
  void BModificareClick();
  void BStergereClick();

 protected:
  void done(int result) override;

 private:
  void Reload(std::optional<std::int64_t> select = std::nullopt);
  void ShowTotal();
  void Edit(personnel::DependantEditMode mode);
  const PintRow* Current() const;

  params::Session& session_;
  Prompter& prompter_;
  personnel::DependantsList list_;
  bool month_open_;
  bool closed_ = false;
  std::vector<PintRow> rows_;
  QStandardItemModel model_;
  ui::DataGrid* grid_;
  QLabel* employee_;
  QLabel* month_;
  QLineEdit* base_;
  QLabel* total_;
  QPushButton* add_;
  QPushButton* modify_;
  QPushButton* delete_;
};

}  // namespace traveno::personnel_ui
