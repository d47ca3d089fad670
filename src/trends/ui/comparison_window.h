// "Comparatie cu luna anterioara": the working month's lines against the
// month before: who joined, who left and the lines whose gross, net to pay
// or income tax moved by more than the threshold (10 % at first), and under
// them the inputs of the current line that changed, side by side. Enter on
// a line opens it in the pay grid.
#pragma once

#include <QDialog>
#include <functional>

#include "core/prompter.h"
#include "params/session.h"
#include "trends/month_comparison.h"

class QDoubleSpinBox;
class QLabel;
class QStandardItemModel;

namespace traveno::ui {
class DataGrid;
}

namespace traveno::trends_ui {

// Opens a line of the working month in the pay grid; returns whether the
// comparison should close (the grid it was opened from shows the line).
using LineOpener = std::function<bool(const trends::ComparedLine& line)>;

inline constexpr const char* kLineNotInMonth =
    "Angajatul nu mai are linie in luna de lucru: nu poate fi deschis in statul de salarii !";

class ComparisonWindow : public QDialog {
  Q_OBJECT

 public:
  ComparisonWindow(params::Session& session, Prompter& prompter, LineOpener open_line,
                   QWidget* parent = nullptr);
  ~ComparisonWindow() override;

  QDoubleSpinBox* threshold_box() const { return threshold_; }
  ui::DataGrid* grid() const { return grid_; }
  ui::DataGrid* inputs_grid() const { return inputs_grid_; }
  QLabel* heading() const { return heading_; }
  const trends::MonthComparison& comparison() const { return comparison_; }
  // The line of the grid's current row; null when there is none.
  const trends::ComparedLine* CurrentLine() const;

  // Compares the months again with the threshold in its box.
  void Reload();
  // Enter on a line.
  void OpenCurrentLine();

 private:
  void ShowInputs();

  params::Session& session_;
  Prompter& prompter_;
  LineOpener open_line_;
  trends::MonthComparison comparison_;

  QLabel* heading_;
  QDoubleSpinBox* threshold_;
  ui::DataGrid* grid_;
  QStandardItemModel* model_;
  ui::DataGrid* inputs_grid_;
  QStandardItemModel* inputs_model_;
};

}  // namespace traveno::trends_ui
