// The employee window ("Date personal") in its four modes: Add, Modify,
// Delete and Rehire. It shows and gathers one employee row of the working
// month with its photo; "&Confirmare" runs the employee service's checks and
// closes with OK, after which the caller saves through the same service.
// The captions of four boxes and the list of income kinds follow the
// employee's kind.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "core/prompter.h"
#include "core/store/records.h"
#include "params/session.h"
#include "personnel/employees.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace traveno::personnel_ui {

class DateBox;

class EmployeeWindow : public QDialog {
  Q_OBJECT

 public:
  // Chooses a picture file in a folder; empty cancels. By default a file
  // dialog.
  using PhotoChooser = std::function<QString(const QString& folder)>;

  // `tip` is the kind of the grid's active page; `department` the one chosen
  // when the grid opened (empty: the whole company); `row` the current line
  // (Modify, Delete) or the former row (Rehire), null for Add.
  EmployeeWindow(params::Session& session, Prompter& prompter, personnel::EmployeeEditMode mode,
                 std::string tip, std::optional<std::string> department, const PersRow* row,
                 QWidget* parent = nullptr);

  void set_photo_chooser(PhotoChooser chooser) { choose_photo_ = std::move(chooser); }

  personnel::EmployeeEditMode mode() const { return mode_; }
  // What the window holds, for SaveEmployee.
  personnel::EmployeeInput Input() const;
  // The identity a rehire gives back; empty in the other modes.
  const std::optional<personnel::RehireIdentity>& rehire_identity() const { return rehire_; }

  // The controls by field name ("Nume", "CodNumPers", "Data_Lich", ...).
  QLineEdit* line_edit(const QString& field) const;
  DateBox* date_box(const QString& field) const;
  QCheckBox* box(const QString& field) const;
  QComboBox* departments() const { return departments_; }
  QComboBox* invalidity() const { return invalidity_; }
  QLabel* kind_heading() const { return kind_heading_; }
  QLabel* code_check() const { return code_check_; }
  QLabel* photo() const { return photo_; }
  QPushButton* photo_button() const { return photo_button_; }
  QAction* remove_photo_action() const { return remove_photo_; }
  QPushButton* leaving_button() const { return leaving_button_; }
  QLabel* delete_panel() const { return delete_panel_; }
  QPushButton* confirm_button() const { return confirm_; }
  QPushButton* abandon_button() const { return abandon_; }
  bool showing_stored_photo() const { return stored_photo_shown_; }

  void BConfirmareClick();
  void BPozaClick();
  void StergerePozaClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QLineEdit* AddLine(const QString& field, int max_length, bool upper);
  void FillDepartmentList();
  void Load(const personnel::EmployeeInput& input);
  void SetInputsEnabled(bool enabled);
  void ApplyKindCaptions();
  void PensionerToggled(bool ticked);
  void MainJobToggled(bool ticked);
  void LeavingDateEdited();
  void ShowPhoto(const std::optional<Blob>& picture);
  void CodeEdited();

  params::Session& session_;
  Prompter& prompter_;
  personnel::EmployeeEditMode mode_;
  std::string tip_;
  std::optional<std::string> department_;
  PhotoChooser choose_photo_;
  std::optional<personnel::RehireIdentity> rehire_;
  int iid_ = 0;
  double pr_va_ = 0;
  std::optional<Blob> chosen_photo_;
  bool remove_photo_marked_ = false;
  bool stored_photo_shown_ = false;

  std::map<QString, QLineEdit*> lines_;
  std::map<QString, DateBox*> dates_;
  std::map<QString, QCheckBox*> boxes_;
  QComboBox* departments_;
  QLabel* departments_caption_;
  QComboBox* invalidity_;
  QLabel* invalidity_caption_;
  QComboBox* income_kind_;
  QLabel* kind_heading_;
  QLabel* code_check_;
  QLabel* hours_caption_;
  QLabel* photo_;
  QPushButton* photo_button_;
  QAction* remove_photo_;
  QPushButton* leaving_button_;
  QLabel* delete_panel_;
  QPushButton* confirm_;
  QPushButton* abandon_;
};

}  // namespace traveno::personnel_ui
