#include "trends/trend_document.h"

#include "reports/table_layout.h"
#include "trends/chart_data.h"

namespace traveno::trends {
namespace {

struct TrendPage {
  std::string employer;
  std::string title;
  std::string subtitle;
  reports::PrintStamp stamp;
  std::vector<Date> months;
  std::vector<TrendFigures> figures;
  PictureBytes amounts;
  PictureBytes headcount;
};

std::vector<reports::TableColumn> TableColumns() {
  using reports::Align;
  std::vector<reports::TableColumn> columns = {{28, Align::kLeft, " Luna"},
                                               {18, Align::kRight, "Permanenti "},
                                               {22, Align::kRight, "Contract partial "}};
  for (TrendAmount amount : kTrendAmounts) {
    columns.push_back({27, Align::kRight, std::string(AmountCaption(amount)) + " "});
  }
  return columns;
}

void LayOutTrend(const TrendPage& data, reports::PageComposer& composer) {
  using reports::Band;
  const reports::Table table(composer.setup(), TableColumns(), reports::Font{8}, 4.7);
  composer.SetPageHeader([&data, table, setup = composer.setup()](int page) {
    Band band = reports::StandardHeader(setup, {data.employer, data.title, data.subtitle},
                                        data.stamp, page);
    band.set_height(20);
    // The first page has the charts before the table; the others open with
    // the table's headings.
    if (page > 1) band.Append(table.Headings());
    return band;
  });

  if (data.amounts || data.headcount) {
    Band charts(kPrintedChartHeight + 4);
    const double gap = table.right() - table.left() - 2 * kPrintedChartWidth;
    if (data.amounts) {
      charts.Picture({table.left(), 0, kPrintedChartWidth, kPrintedChartHeight}, data.amounts);
    }
    if (data.headcount) {
      charts.Picture(
          {table.left() + kPrintedChartWidth + gap, 0, kPrintedChartWidth, kPrintedChartHeight},
          data.headcount);
    }
    composer.Add(std::move(charts));
  }
  composer.Add(table.Headings(), table.row_height());

  TrendFigures sum;
  for (std::size_t i = 0; i < data.months.size() && i < data.figures.size(); ++i) {
    const TrendFigures& f = data.figures[i];
    std::vector<std::string> cells = {" " + reports::MonthSlashYear(data.months[i]),
                                      reports::Amount(f.permanent), reports::Amount(f.partial)};
    for (TrendAmount amount : kTrendAmounts) cells.push_back(reports::Amount(AmountOf(f, amount)));
    composer.Add(table.Row(cells));
    sum.total_brut += f.total_brut;
    sum.total_de_plata += f.total_de_plata;
    sum.contributii_angajati += f.contributii_angajati;
    sum.taxe_firma += f.taxe_firma;
    sum.impozit += f.impozit;
    sum.cost_total += f.cost_total;
    if (composer.cancelled()) return;
  }
  std::vector<std::string> total = {" Total interval", "", ""};
  for (TrendAmount amount : kTrendAmounts) total.push_back(reports::Amount(AmountOf(sum, amount)));
  composer.Add(table.Row(total, true));
}

}  // namespace

reports::Report TrendReport(const Trend& trend, const std::string& department,
                            PictureBytes amounts_chart, PictureBytes headcount_chart,
                            const reports::PrintStamp& stamp) {
  auto data = std::make_shared<TrendPage>();
  data->employer = trend.employer;
  data->title = std::string(kTrendTitle) + " " + ShownInterval(trend);
  data->subtitle = ScopeCaption(trend, department);
  data->stamp = stamp;
  data->months = trend.months;
  if (const std::vector<TrendFigures>* figures = FiguresOf(trend, department)) {
    data->figures = *figures;
  }
  data->amounts = std::move(amounts_chart);
  data->headcount = std::move(headcount_chart);
  return reports::Report{kTrendTitle, reports::PageSetup::A4(reports::Orientation::kLandscape),
                         [data](reports::PageComposer& composer) { LayOutTrend(*data, composer); }};
}

}  // namespace traveno::trends
