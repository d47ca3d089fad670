// The holiday-advance selection window (`FAvansCo`, "Avans Concediu"): the
// month's rows with a holiday advance, where the user marks the ones to
// print (a click, a double click or Enter toggles the current row; marked
// rows are drawn on a highlight colour) and prints their statement with
// "&Tiparire".
#pragma once

#include <QDialog>
#include <QStandardItemModel>
#include <optional>
#include <vector>

#include "params/session.h"
#include "reports/advance_statements.h"
#include "reports/ui/document_windows.h"

class QLabel;
class QPushButton;
class QStatusBar;

namespace traveno::ui {
class DataGrid;
}

namespace traveno::reports_ui {

class HolidayAdvanceWindow : public QDialog {
  Q_OBJECT

 public:
  // The lines are the month's (HolidayAdvanceLines); the cursor starts on
  // `current_iid` when that person is among them, else on the first line.
  HolidayAdvanceWindow(params::Session& session, std::vector<reports::HolidayAdvanceLine> lines,
                       ReportViewer viewer, std::optional<int> current_iid = std::nullopt,
                       QWidget* parent = nullptr);

  // Toggles the mark of a line (from 0).
  void Toggle(int line);
  // "&Tiparire": the statement of the marked lines, when the table has lines.
  void Print();

  const std::vector<reports::HolidayAdvanceLine>& lines() const { return lines_; }
  int current_line() const;
  ui::DataGrid* grid() const { return grid_; }
  QPushButton* print_button() const { return print_; }
  QLabel* heading() const { return heading_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowLine(int line);
  void RefreshDetails();
  void Go(int line);

  params::Session& session_;
  std::vector<reports::HolidayAdvanceLine> lines_;
  ReportViewer viewer_;
  QStandardItemModel model_;
  QLabel* heading_;
  ui::DataGrid* grid_;
  QLabel* nume_;
  QLabel* prenume_;
  QLabel* marca_;
  QLabel* functia_;
  QStatusBar* status_;
  QPushButton* print_;
};

// "Stat de &plata avans CO": builds the table, shows the window (maximised)
// and empties the table when it closes.
void OpenHolidayAdvance(params::Session& session, const ReportViewer& viewer, QWidget* parent,
                        std::optional<int> current_iid = std::nullopt);

}  // namespace traveno::reports_ui
