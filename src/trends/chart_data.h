// What a trend chart draws, without Qt: its titles, the months along it and
// its series of values, each a figure of a service; the window layer only
// draws them. Also the round steps of the value axis and the texts of
// values and months as the program writes them.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"
#include "trends/trend_figures.h"

namespace traveno::trends {

struct ChartSeries {
  std::string caption;
  std::vector<double> values;  // one per month of the chart
};

enum class ChartKind {
  kAmounts,    // the recapitulation's amounts, in lei
  kHeadcount,  // the employees of each kind
  kPerson,     // one person's gross, net and tax
};

struct ChartData {
  ChartKind kind = ChartKind::kAmounts;
  std::string title;
  std::string subtitle;
  std::string unit;  // "lei" or "salariati", after a value on hover
  std::vector<Date> months;
  std::vector<ChartSeries> series;
};

// "Toata firma", or "Departamentul " + code + " - " + name.
std::string ScopeCaption(const Trend& trend, const std::string& department);
// "IANUARIE / 2003 - DECEMBRIE / 2003".
std::string IntervalCaption(Date from, Date to);
// The months a trend shows: its first and last month (the interval asked
// when it has none).
std::string ShownInterval(const Trend& trend);

// The amounts of the company (empty `department`) or of a department: title
// "Evolutie salarii - " + scope, one series per amount.
ChartData AmountsChart(const Trend& trend, const std::string& department);
// The employees of each kind: title "Numar de salariati - " + scope.
ChartData HeadcountChart(const Trend& trend, const std::string& department);

// A person's months: "Brut", "Rest plata" and "Impozit" of each month of
// the history (the lines of one month summed), title `name`.
ChartData PersonChart(std::span<const PersRow> history, const std::string& name);

// The value axis: from `min` to `max` in `step`s of 1, 2 or 5 times a power
// of ten (at least 1), at most `max_ticks` intervals, covering `low`, `high`
// and 0, with room above a top value that falls on a step.
struct AxisScale {
  double min = 0;
  double max = 1;
  double step = 1;
  std::vector<double> ticks;  // min, min + step, ..., max
};
AxisScale NiceScale(double low, double high, int max_ticks = 8);

// A value as the program writes amounts and counts: "#,##0".
std::string ValueText(double value);
// The months whose labels the month axis writes: every `step`-th from the
// first, the step chosen so that at most `max_labels` are written.
std::size_t MonthLabelStep(std::size_t months, std::size_t max_labels);
// The labels under the months: at most `max_labels`, the month's index in
// the chart with its text, "IANUARIE / 2003" when there are at most
// `full_names` of them, else the shorter "01.2003" of the month boxes (a
// long name does not fit under a month among many).
struct MonthLabel {
  std::size_t month;
  std::string text;
  friend bool operator==(const MonthLabel&, const MonthLabel&) = default;
};
std::vector<MonthLabel> MonthLabels(const std::vector<Date>& months, std::size_t max_labels,
                                    std::size_t full_names);
// What hovering over a point shows: the month as "IANUARIE / 2003", then the
// series' caption, its value and the chart's unit.
std::string HoverText(const ChartData& chart, std::size_t series, std::size_t month);

}  // namespace traveno::trends
