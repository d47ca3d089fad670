// What the charts draw: the series of a trend and of a person's history, the
// round steps of the value axis, the month labels and the hover text, in the
// program's formats; and the printed trend's pages.
#include "trends/chart_data.h"

#include <gtest/gtest.h>

#include "reports/document_text.h"
#include "trends/trend_document.h"

namespace traveno::trends {
namespace {

Date M(int year, int month) { return Date::FromYmd(year, month, 1); }

Trend SmallTrend() {
  Trend trend;
  trend.company = "FIRMA";
  trend.employer = "SC FIRMA SRL";
  trend.from = M(2002, 12);
  trend.to = M(2003, 3);
  trend.months = {M(2003, 1), M(2003, 2)};
  TrendFigures january{3, 1, 3000000, 2100000, 510000, 900000, 300000, 3950000};
  TrendFigures february{4, 1, 4000000, 2800000, 680000, 1200000, 400000, 5260000};
  trend.figures = {january, february};
  trend.departments = {{"CENTRAL", "SEDIU", {january, TrendFigures{}}},
                       {"PRODUCT", "PRODUCT", {TrendFigures{}, february}}};
  return trend;
}

TEST(ChartDataTest, TheTrendChartsHoldEveryAmountAndBothKindsOfEmployees) {
  const Trend trend = SmallTrend();
  const ChartData amounts = AmountsChart(trend, "");
  EXPECT_EQ(amounts.title, "Evolutie salarii - Toata firma");
  // The months shown, not the interval asked.
  EXPECT_EQ(amounts.subtitle, "SC FIRMA SRL   IANUARIE / 2003 - FEBRUARIE / 2003");
  EXPECT_EQ(amounts.unit, "lei");
  ASSERT_EQ(amounts.series.size(), kTrendAmounts.size());
  EXPECT_EQ(amounts.series[0].caption, "Total salarii brute");
  EXPECT_EQ(amounts.series[0].values, (std::vector<double>{3000000, 4000000}));
  EXPECT_EQ(amounts.series[5].caption, "Cost total salarii");
  EXPECT_EQ(amounts.series[5].values, (std::vector<double>{3950000, 5260000}));

  const ChartData headcount = HeadcountChart(trend, "PRODUCT");
  EXPECT_EQ(headcount.title, "Numar de salariati - Departamentul PRODUCT");
  ASSERT_EQ(headcount.series.size(), 2u);
  EXPECT_EQ(headcount.series[0].caption, kPermanentCaption);
  EXPECT_EQ(headcount.series[0].values, (std::vector<double>{0, 4}));
  EXPECT_EQ(headcount.series[1].values, (std::vector<double>{0, 1}));
  EXPECT_EQ(ScopeCaption(trend, "CENTRAL"), "Departamentul CENTRAL - SEDIU");
}

TEST(ChartDataTest, APersonsMonthsSumTheLinesOfEachMonth) {
  auto row = [](Date month, const char* tip, double brut, double rest, double tax) {
    PersRow line;
    line.LUNA = month;
    line.TIP = tip;
    line.BRUT = brut;
    line.RESTPL = rest;
    line.IMPOZIT = tax;
    return line;
  };
  // The history in month order, with two lines (both kinds) in February.
  const std::vector<PersRow> history = {row(M(2003, 1), "1", 1000, 700, 100),
                                        row(M(2003, 2), "1", 1000, 700, 100),
                                        row(M(2003, 2), "2", 500, 400, 50)};
  const ChartData chart = PersonChart(history, "POPESCU ION");
  EXPECT_EQ(chart.title, "POPESCU ION");
  EXPECT_EQ(chart.months, (std::vector<Date>{M(2003, 1), M(2003, 2)}));
  ASSERT_EQ(chart.series.size(), 3u);
  EXPECT_EQ(chart.series[0].caption, "Brut");
  EXPECT_EQ(chart.series[0].values, (std::vector<double>{1000, 1500}));
  EXPECT_EQ(chart.series[1].caption, "Rest plata");
  EXPECT_EQ(chart.series[1].values, (std::vector<double>{700, 1100}));
  EXPECT_EQ(chart.series[2].values, (std::vector<double>{100, 150}));
  EXPECT_EQ(HoverText(chart, 1, 1), "FEBRUARIE / 2003\nRest plata: 1 100 lei");
  EXPECT_EQ(HoverText(chart, 3, 0), "");
  EXPECT_EQ(HoverText(chart, 0, 2), "");
}

TEST(ChartDataTest, TheValueAxisStepsAreRoundAndCoverTheValues) {
  struct Case {
    double low, high;
    double min, max, step;
  };
  const Case kCases[] = {
      {0, 146604930, 0, 160000000, 20000000},
      {0, 14, 0, 16, 2},  // a top value on a step gets a step above it
      {0, 3, 0, 4, 1},    // counts never step by less than one
      {0, 0, 0, 1, 1},    // nothing to show still has an axis
      {-131450, 9366780, -2000000, 10000000, 2000000},
      {5, 7, 0, 8, 1},  // 0 is always on the axis
  };
  for (const Case& c : kCases) {
    const AxisScale scale = NiceScale(c.low, c.high, 8);
    EXPECT_EQ(scale.min, c.min) << c.low << ".." << c.high;
    EXPECT_EQ(scale.max, c.max) << c.low << ".." << c.high;
    EXPECT_EQ(scale.step, c.step) << c.low << ".." << c.high;
    ASSERT_FALSE(scale.ticks.empty());
    EXPECT_EQ(scale.ticks.front(), scale.min);
    EXPECT_EQ(scale.ticks.back(), scale.max);
    EXPECT_LE(scale.ticks.size(), 9u + 1u);
  }
  EXPECT_EQ(ValueText(146604930), "146 604 930");
  EXPECT_EQ(ValueText(-131450), "-131 450");
}

TEST(ChartDataTest, ManyMonthsAreLabelledEveryFewMonths) {
  EXPECT_EQ(MonthLabelStep(12, 18), 1u);
  EXPECT_EQ(MonthLabelStep(18, 18), 1u);
  EXPECT_EQ(MonthLabelStep(19, 18), 2u);
  EXPECT_EQ(MonthLabelStep(120, 18), 7u);
  EXPECT_EQ(MonthLabelStep(0, 18), 1u);

  std::vector<Date> months;
  for (int i = 0; i < 3; ++i) months.push_back(AddMonths(M(2003, 11), i));
  EXPECT_EQ(MonthLabels(months, 12, 6),
            (std::vector<MonthLabel>{
                {0, "NOIEMBRIE / 2003"}, {1, "DECEMBRIE / 2003"}, {2, "IANUARIE / 2004"}}));
  for (int i = 3; i < 120; ++i) months.push_back(AddMonths(M(2003, 11), i));
  const std::vector<MonthLabel> many = MonthLabels(months, 12, 6);
  ASSERT_EQ(many.size(), 12u);
  EXPECT_EQ(many[0], (MonthLabel{0, "11.2003"}));
  EXPECT_EQ(many[1], (MonthLabel{10, "09.2004"}));
}

TEST(TrendDocumentTest, ThePrintedTrendHasTheChartsAndATableOfEveryMonthWithItsSum) {
  const Trend trend = SmallTrend();
  const auto picture = std::make_shared<const std::vector<unsigned char>>(3, 0);
  reports::PrintStamp stamp;
  stamp.date = Date::FromYmd(2003, 3, 5);
  const reports::Document document =
      reports::Prepare(TrendReport(trend, "", picture, picture, stamp));
  EXPECT_EQ(document.title, kTrendTitle);
  EXPECT_EQ(document.setup.orientation, reports::Orientation::kLandscape);
  ASSERT_EQ(document.pages.size(), 1u);
  EXPECT_EQ(document.pages[0].pictures.size(), 2u);
  const std::string text = reports::DocumentText(document);
  for (const char* expected : {"Evolutie salarii IANUARIE / 2003 - FEBRUARIE / 2003", "Toata firma",
                               "SC FIRMA SRL", "IANUARIE / 2003", "FEBRUARIE / 2003",
                               "Total interval", "7 000 000", "9 210 000", "Cost total salarii"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  // Without pictures (a chart that could not be drawn) the table stands alone.
  const reports::Document plain =
      reports::Prepare(TrendReport(trend, "CENTRAL", nullptr, nullptr, stamp));
  EXPECT_TRUE(plain.pages[0].pictures.empty());
  EXPECT_NE(reports::DocumentText(plain).find("Departamentul CENTRAL - SEDIU"), std::string::npos);
}

TEST(TrendDocumentTest, ALongTrendRepeatsTheTableHeadingsOnEveryPage) {
  Trend trend = SmallTrend();
  trend.months.clear();
  trend.figures.clear();
  for (int i = 0; i < 120; ++i) {
    trend.months.push_back(AddMonths(M(1994, 1), i));
    trend.figures.push_back(TrendFigures{i, 1, 1000.0 * i, 0, 0, 0, 0, 0});
  }
  const reports::Document document =
      reports::Prepare(TrendReport(trend, "", nullptr, nullptr, reports::PrintStamp{}));
  ASSERT_GT(document.pages.size(), 2u);
  for (const reports::Page& page : document.pages) {
    const std::string text = reports::DocumentText(reports::Document{"", document.setup, {page}});
    EXPECT_NE(text.find("Contract partial"), std::string::npos);
  }
  const std::string last =
      reports::DocumentText(reports::Document{"", document.setup, {document.pages.back()}});
  EXPECT_NE(last.find("DECEMBRIE / 2003"), std::string::npos);
  EXPECT_NE(last.find("Total interval"), std::string::npos);
}

}  // namespace
}  // namespace traveno::trends
