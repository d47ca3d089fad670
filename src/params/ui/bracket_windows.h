// The windows of the income-tax brackets: the monthly (`FImpo`) and annual
// (`FImpoAn`) tables of the working period with their add / change / delete
// dialog and "&Verific". Every write and check goes through the bracket
// services; the dialog stays open on a refusal.
#pragma once

#include <QDialog>
#include <QStandardItemModel>

#include "core/prompter.h"
#include "params/session.h"
#include "reports/ui/document_windows.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace traveno::ui {
class DataGrid;
}

namespace traveno::params_ui {

// The add / change / delete dialog of one bracket.
class BracketDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { kAdd, kModify, kDelete };
  // `apply` writes the values and says whether they were taken; the dialog
  // closes only then.
  using Apply = std::function<bool(double p_venit, double v_const, double v_proc)>;

  BracketDialog(Mode mode, bool annual, const ImpoRow& row, Apply apply, Prompter& prompter,
                QWidget* parent = nullptr);

  QLineEdit* p_venit() const { return p_venit_; }
  QLineEdit* v_const() const { return v_const_; }
  QLineEdit* v_proc() const { return v_proc_; }
  QPushButton* confirm_button() const { return confirm_; }

 private:
  void BConfirmareClick();

  Apply apply_;
  Prompter& prompter_;
  QLineEdit* p_venit_;
  QLineEdit* v_const_;
  QLineEdit* v_proc_;
  QPushButton* confirm_;
};

class BracketWindow : public QDialog {
  Q_OBJECT

 public:
  BracketWindow(params::Session& session, bool annual, Prompter& prompter,
                QWidget* parent = nullptr);

  ui::DataGrid* grid() const { return grid_; }
  QPushButton* add_button() const { return add_; }
  QPushButton* modify_button() const { return modify_; }
  QPushButton* delete_button() const { return delete_; }
  QPushButton* check_button() const { return check_; }
  QPushButton* apply_button() const { return apply_; }
  QPushButton* list_button() const { return list_; }
  // Where "&Lista" shows the printed list; by default the print preview.
  void set_report_viewer(reports_ui::ReportViewer viewer) { viewer_ = std::move(viewer); }
  int RowCount() const { return model_.rowCount(); }

  void Reload(std::optional<double> select_threshold = std::nullopt);

 private:
  void Open(BracketDialog::Mode mode);
  std::optional<ImpoRow> CurrentRow() const;

  params::Session& session_;
  bool annual_;
  Prompter& prompter_;
  QStandardItemModel model_;
  std::vector<ImpoRow> rows_;
  ui::DataGrid* grid_;
  QPushButton* add_;
  QPushButton* modify_;
  QPushButton* delete_;
  QPushButton* check_;
  QPushButton* apply_;
  QPushButton* list_;
  reports_ui::ReportViewer viewer_;
};

}  // namespace traveno::params_ui
