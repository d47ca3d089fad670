#include "trends/chart_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "core/numbers.h"
#include "reports/report_common.h"

namespace traveno::trends {

std::string ScopeCaption(const Trend& trend, const std::string& department) {
  if (department.empty()) return "Toata firma";
  for (const DepartmentTrend& d : trend.departments) {
    if (d.code == department) {
      return "Departamentul " + d.code + (d.name.empty() || d.name == d.code ? "" : " - " + d.name);
    }
  }
  return "Departamentul " + department;
}

std::string IntervalCaption(Date from, Date to) {
  return reports::MonthSlashYear(from) + " - " + reports::MonthSlashYear(to);
}

std::string ShownInterval(const Trend& trend) {
  if (trend.months.empty()) return IntervalCaption(trend.from, trend.to);
  return IntervalCaption(trend.months.front(), trend.months.back());
}

namespace {

ChartData TrendChart(const Trend& trend, const std::string& department, ChartKind kind,
                     const std::string& title, const std::string& unit) {
  ChartData chart;
  chart.kind = kind;
  chart.title = title + " - " + ScopeCaption(trend, department);
  chart.subtitle = trend.employer + "   " + ShownInterval(trend);
  chart.unit = unit;
  chart.months = trend.months;
  return chart;
}

}  // namespace

ChartData AmountsChart(const Trend& trend, const std::string& department) {
  ChartData chart = TrendChart(trend, department, ChartKind::kAmounts, "Evolutie salarii", "lei");
  const std::vector<TrendFigures>* figures = FiguresOf(trend, department);
  for (TrendAmount amount : kTrendAmounts) {
    ChartSeries series{AmountCaption(amount), {}};
    if (figures != nullptr) {
      for (const TrendFigures& month : *figures) {
        series.values.push_back(static_cast<double>(AmountOf(month, amount)));
      }
    }
    chart.series.push_back(std::move(series));
  }
  return chart;
}

ChartData HeadcountChart(const Trend& trend, const std::string& department) {
  ChartData chart =
      TrendChart(trend, department, ChartKind::kHeadcount, "Numar de salariati", "salariati");
  ChartSeries permanent{kPermanentCaption, {}};
  ChartSeries partial{kPartialCaption, {}};
  if (const std::vector<TrendFigures>* figures = FiguresOf(trend, department)) {
    for (const TrendFigures& month : *figures) {
      permanent.values.push_back(month.permanent);
      partial.values.push_back(month.partial);
    }
  }
  chart.series = {std::move(permanent), std::move(partial)};
  return chart;
}

ChartData PersonChart(std::span<const PersRow> history, const std::string& name) {
  struct Month {
    long double brut = 0, rest = 0, impozit = 0;
  };
  std::map<Date, Month> months;
  for (const PersRow& row : history) {
    Month& month = months[FirstOfMonth(row.LUNA)];
    month.brut += row.BRUT;
    month.rest += row.RESTPL;
    month.impozit += row.IMPOZIT;
  }
  ChartData chart;
  chart.kind = ChartKind::kPerson;
  chart.title = name;
  if (!months.empty())
    chart.subtitle = IntervalCaption(months.begin()->first, months.rbegin()->first);
  chart.unit = "lei";
  ChartSeries brut{"Brut", {}};
  ChartSeries rest{"Rest plata", {}};
  ChartSeries impozit{"Impozit", {}};
  for (const auto& [month, figures] : months) {
    chart.months.push_back(month);
    brut.values.push_back(static_cast<double>(figures.brut));
    rest.values.push_back(static_cast<double>(figures.rest));
    impozit.values.push_back(static_cast<double>(figures.impozit));
  }
  chart.series = {std::move(brut), std::move(rest), std::move(impozit)};
  return chart;
}

AxisScale NiceScale(double low, double high, int max_ticks) {
  AxisScale scale;
  if (!std::isfinite(low) || !std::isfinite(high)) low = high = 0;
  low = std::min(low, 0.0);
  high = std::max(high, 0.0);
  const double top = high;
  if (high - low <= 0) high = low + 1;
  max_ticks = std::max(max_ticks, 1);
  const double rough = (high - low) / max_ticks;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = power;
  for (double factor : {1.0, 2.0, 5.0, 10.0}) {
    step = factor * power;
    if (step >= rough) break;
  }
  // Amounts are whole lei and counts whole employees: no step below 1, so
  // that no two ticks write the same text.
  step = std::max(step, 1.0);
  scale.step = step;
  scale.min = std::floor(low / step) * step;
  scale.max = std::ceil(high / step) * step;
  // A line at the top value is not drawn on the frame: one step above it.
  if (top > 0 && scale.max == top) scale.max += step;
  const int count = static_cast<int>(std::lround((scale.max - scale.min) / step));
  for (int i = 0; i <= count; ++i) scale.ticks.push_back(scale.min + i * step);
  return scale;
}

std::string ValueText(double value) { return FormatNumber(value, NumberMask::kInteger); }

std::size_t MonthLabelStep(std::size_t months, std::size_t max_labels) {
  if (max_labels == 0 || months <= max_labels) return 1;
  return (months + max_labels - 1) / max_labels;
}

std::vector<MonthLabel> MonthLabels(const std::vector<Date>& months, std::size_t max_labels,
                                    std::size_t full_names) {
  const std::size_t step = MonthLabelStep(months.size(), max_labels);
  const std::size_t count = (months.size() + step - 1) / step;
  std::vector<MonthLabel> labels;
  for (std::size_t i = 0; i < months.size(); i += step) {
    char short_text[16];
    std::snprintf(short_text, sizeof short_text, "%02d.%04d", MonthOf(months[i]),
                  YearOf(months[i]));
    labels.push_back(
        {i, count <= full_names ? reports::MonthSlashYear(months[i]) : std::string(short_text)});
  }
  return labels;
}

std::string HoverText(const ChartData& chart, std::size_t series, std::size_t month) {
  if (series >= chart.series.size() || month >= chart.months.size() ||
      month >= chart.series[series].values.size()) {
    return {};
  }
  return reports::MonthSlashYear(chart.months[month]) + "\n" + chart.series[series].caption + ": " +
         ValueText(chart.series[series].values[month]) + " " + chart.unit;
}

}  // namespace traveno::trends
