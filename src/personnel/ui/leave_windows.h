// The medical-leave dialog ("Calcul Concedii Medicale") over the leave form
// of a grid line, and the history window ("Istoric angajat") of a person.
// The dialog shows the average of the earlier months before anything is
// added; the caller applies the form after an OK close.
#pragma once

#include <QDialog>
#include <map>

#include "engine/medical_leave.h"
#include "params/session.h"
#include "personnel/leave_form.h"

class QButtonGroup;
class QChartView;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace traveno::ui {
class DataGrid;
}

namespace traveno::personnel_ui {

class PayGridModel;

class MedicalLeaveWindow : public QDialog {
  Q_OBJECT

 public:
  MedicalLeaveWindow(personnel::MedicalLeaveForm& form, QWidget* parent = nullptr);

  QLineEdit* media_box() const { return media_; }
  QRadioButton* kind_button(engine::LeaveKind kind) const { return kinds_.at(kind); }
  QSpinBox* leave_days_box() const { return leave_days_; }
  QSpinBox* unpaid_box() const { return unpaid_; }
  QSpinBox* company_days_box() const { return company_days_; }
  QSpinBox* state_days_box() const { return state_days_; }
  QSpinBox* cic_days_box() const { return cic_days_; }
  QLineEdit* per_day() const { return per_day_; }
  QLabel* company_amount() const { return company_amount_; }
  QLabel* state_amount() const { return state_amount_; }
  QLabel* cic_amount() const { return cic_amount_; }
  QLabel* average_caption() const { return average_caption_; }
  QLabel* average_value() const { return average_value_; }
  QPushButton* confirm_button() const { return confirm_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ShowSplit();
  void ShowAmounts();

  personnel::MedicalLeaveForm& form_;
  std::map<engine::LeaveKind, QRadioButton*> kinds_;
  QButtonGroup* kind_group_;
  QLineEdit* media_;
  QLineEdit* per_day_;
  QSpinBox* leave_days_;
  QSpinBox* unpaid_;
  QSpinBox* company_days_;
  QSpinBox* state_days_;
  QSpinBox* cic_days_;
  QLabel* company_amount_;
  QLabel* state_amount_;
  QLabel* cic_amount_;
  QLabel* average_caption_;
  QLabel* average_value_;
  QPushButton* confirm_;
};

class HistoryWindow : public QDialog {
  Q_OBJECT

 public:
  HistoryWindow(params::Session& session, const personnel::PersonHistoryView& view,
                QWidget* parent = nullptr);

  ui::DataGrid* grid() const { return grid_; }
  PayGridModel* model() const { return model_; }
  QLabel* sum_label() const { return sum_; }
  QLabel* average_label() const { return average_; }
  QLabel* name_label() const { return name_; }
  QLabel* function_label() const { return function_; }
  QChartView* chart_view() const { return chart_; }

 private:
  ui::DataGrid* grid_;
  QChartView* chart_ = nullptr;
  PayGridModel* model_;
  QLabel* sum_;
  QLabel* average_;
  QLabel* name_;
  QLabel* function_;
};

}  // namespace traveno::personnel_ui
