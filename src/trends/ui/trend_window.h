// "Evolutie": the company's months over an interval (the 12 months up to
// the working month at first) as a chart of the recapitulation's amounts or
// of the employees of each kind, for the whole company or one department, and
// under it the table of the same figures. Hovering over a point shows its
// month and value and marks its month in the table; the chart is printed
// through the print preview and saved as a PNG or a PDF file.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "core/prompter.h"
#include "params/session.h"
#include "reports/page_composer.h"
#include "trends/chart_data.h"
#include "trends/trend_figures.h"

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QStandardItemModel;

namespace traveno::ui {
class DataGrid;
class MonthYearEdit;
}  // namespace traveno::ui

namespace traveno::trends_ui {

struct TrendWindowOptions {
  // The department shown first; empty: the whole company.
  std::string department;
  // The file a picture or a PDF is saved to, given a suggested name and the
  // dialog's filter; empty cancels. Null: a save dialog.
  std::function<QString(const QString& suggested, const QString& filter)> choose_file;
  // Shows the printed trend. Null: the print preview.
  std::function<void(const reports::Report&)> show_report;
};

inline constexpr const char* kAmountsChoice = "Sume";
inline constexpr const char* kHeadcountChoice = "Numar de salariati";
inline constexpr const char* kWholeCompanyChoice = "Toata firma";

class TrendWindow : public QDialog {
  Q_OBJECT

 public:
  TrendWindow(params::Session& session, Prompter& prompter, TrendWindowOptions options = {},
              QWidget* parent = nullptr);
  ~TrendWindow() override;

  ui::MonthYearEdit* from_edit() const { return from_; }
  ui::MonthYearEdit* to_edit() const { return to_; }
  QComboBox* department_box() const { return department_; }
  QComboBox* chart_box() const { return chart_choice_; }
  QChartView* chart_view() const { return view_; }
  ui::DataGrid* grid() const { return grid_; }
  QLabel* notice() const { return notice_; }
  const trends::Trend& trend() const { return trend_; }
  const trends::ChartData& chart_data() const { return chart_; }
  // The department shown (empty: the whole company).
  std::string Department() const;

  // Reads the figures of the interval in the month boxes again.
  void Reload();
  // "&Tiparire", "Salvare P&NG", "Salvare PD&F".
  void Print();
  void SavePng();
  void SavePdf();
  // What hovering over a point of the series shows; the table's line of the
  // month becomes current.
  QString Hover(std::size_t series, std::size_t month);

 private:
  void ShowChart();
  // The table's line of the month becomes current.
  void ShowMonth(std::size_t month);
  void FillDepartments();
  QString ChooseFile(const QString& suggested, const QString& filter);

  params::Session& session_;
  Prompter& prompter_;
  TrendWindowOptions options_;
  trends::Trend trend_;
  trends::ChartData chart_;
  bool filling_ = false;

  ui::MonthYearEdit* from_;
  ui::MonthYearEdit* to_;
  QLabel* department_label_;
  QComboBox* department_;
  QComboBox* chart_choice_;
  QLabel* notice_;
  QChartView* view_;
  ui::DataGrid* grid_;
  QStandardItemModel* model_;
};

}  // namespace traveno::trends_ui
