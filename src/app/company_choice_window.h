// The company-and-month choice window ("Alegere Firma si Luna   ") in its
// choosing mode, and the first-month dialog. The window lists the register's
// companies and the months of the selected one; "&Alege firma" hands the
// choice to the register service, which opens the company and month.
#pragma once

#include <QDialog>

#include "core/prompter.h"
#include "params/session.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace traveno::ui {
class MonthYearEdit;
}

namespace traveno::app {

// Asks a month: in its first-month mode ("Alegere prima luna lucru", "Luna :",
// starting at today's month) or its month mode ("Alegere luna ", "Luna: ",
// starting at the working month).
class MonthDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { kFirstMonth, kMonth };
  MonthDialog(Mode mode, Date start, QWidget* parent = nullptr);

  ui::MonthYearEdit* editor() const { return editor_; }
  Date Month() const;

 private:
  ui::MonthYearEdit* editor_;
};

class CompanyChoiceWindow : public QDialog {
  Q_OBJECT

 public:
  // Asks the first month of a company never chosen; empty when abandoned.
  using FirstMonthAsker = std::function<std::optional<Date>(QWidget* parent)>;

  CompanyChoiceWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                      QWidget* parent = nullptr);

  void set_first_month_asker(FirstMonthAsker asker) { ask_first_month_ = std::move(asker); }

  // The clone mode: the chosen company and month are the source whose month
  // replaces the working month of the working company ("&Clonare").
  void SetCloneMode();
  bool clone_mode() const { return clone_mode_; }

  QTreeWidget* companies() const { return companies_; }
  QListWidget* months() const { return months_; }
  QPushButton* choose_button() const { return choose_; }
  QPushButton* new_company_button() const { return new_company_; }

  // "&Alege firma": true when a company and month were chosen (the window
  // then closes accepted). In the clone mode: true when the month was cloned.
  bool BAlegeClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  void BFirmaNouaClick();
  bool BClonareClick();
  void FillCompanies();
  void FillMonths();
  QString SelectedCode() const;

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  FirstMonthAsker ask_first_month_;
  QTreeWidget* companies_;
  QListWidget* months_;
  QPushButton* new_company_;
  QPushButton* choose_;
  QLabel* heading_;
  bool clone_mode_ = false;
};

}  // namespace traveno::app
