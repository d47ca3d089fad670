// The trend of a company's months: each month's figures are its salary
// recapitulation's and its pay grid's total cost, for the company and for
// each department; the interval is refused when it cannot be read.
#include "trends/trend_figures.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/errors.h"
#include "core/store/records.h"
#include "engine/company_totals.h"
#include "personnel/pay_grid.h"
#include "reports/recapitulation.h"
#include "tests/trends/three_months.h"

namespace traveno::trends {
namespace {

using testing::Month;
using testing::ThreeMonths;

// The amount of the recapitulation's line whose caption starts with `start`.
long double RecapAmount(const std::vector<reports::RecapLine>& lines, std::string_view start) {
  for (const reports::RecapLine& line : lines) {
    if (line.caption.starts_with(start) && line.amount) return *line.amount;
  }
  ADD_FAILURE() << "no line " << start;
  return -1;
}

TEST(TrendFiguresTest, EachMonthEqualsItsRecapitulationAndItsPayGrid) {
  ThreeMonths company;
  const Trend trend = CompanyTrend(company.session(), Month(1), Month(3));
  ASSERT_EQ(trend.months, (std::vector<Date>{Month(1), Month(2), Month(3)}));
  ASSERT_EQ(trend.figures.size(), 3u);
  EXPECT_EQ(trend.company, "DEMO");
  EXPECT_EQ(trend.employer, "SC DEMO PRODUCTIE SRL");

  for (int m = 1; m <= 3; ++m) {
    SCOPED_TRACE(m);
    company.Open(Month(m));
    params::Session& session = company.session();
    const std::vector<reports::RecapLine> recap = reports::RecapitulationLines(session);
    const TrendFigures& f = trend.figures[static_cast<std::size_t>(m - 1)];
    int permanent = 0;
    int partial = 0;
    for (const PersRow& line : personnel::MonthLines(session)) {
      (line.TIP == "1" ? permanent : partial) += 1;
    }
    EXPECT_EQ(f.permanent, permanent);
    EXPECT_EQ(f.partial, partial);
    EXPECT_EQ(f.permanent + f.partial, RecapAmount(recap, "1. Nr. total de salariati"));
    EXPECT_EQ(f.total_brut, RecapAmount(recap, "6. Total salarii brute"));
    EXPECT_EQ(f.total_de_plata, RecapAmount(recap, "12.TOTAL DE PLATA"));
    EXPECT_EQ(f.taxe_firma, RecapAmount(recap, "13.TAXE FIRMA"));
    EXPECT_EQ(f.impozit, RecapAmount(recap, "Impozit salarii"));
    EXPECT_EQ(f.contributii_angajati, RecapAmount(recap, "Somaj ") + RecapAmount(recap, "Pensie ") +
                                          RecapAmount(recap, "Sanatate "));
    personnel::SumStoredLines(session);
    EXPECT_EQ(f.cost_total, personnel::ComputeGridTotals(session).cost_total);
    EXPECT_GT(f.total_brut, 0);
  }
  // The months differ where they were changed: March has one employee hired
  // and one gone, and CONSTANTIN's half month.
  EXPECT_EQ(trend.figures[2].permanent, trend.figures[1].permanent);
  EXPECT_NE(trend.figures[2].total_brut, trend.figures[1].total_brut);
}

TEST(TrendFiguresTest, EveryDepartmentHasTheFiguresOfItsOwnLines) {
  ThreeMonths company;
  const Trend trend = CompanyTrend(company.session(), Month(1), Month(3));
  ASSERT_EQ(trend.departments.size(), 2u);
  EXPECT_EQ(trend.departments[0].code, "CENTRAL");
  EXPECT_EQ(trend.departments[1].code, "PRODUCT");
  for (int m = 1; m <= 3; ++m) {
    SCOPED_TRACE(m);
    company.Open(Month(m));
    const std::size_t i = static_cast<std::size_t>(m - 1);
    TrendFigures sum;
    for (const DepartmentTrend& department : trend.departments) {
      const TrendFigures& f = department.months[i];
      // The pay grid opened on the department shows the same cost.
      personnel::SumStoredLines(company.session(), department.code);
      EXPECT_EQ(f.cost_total,
                personnel::ComputeGridTotals(company.session(), department.code).cost_total)
          << department.code;
      sum.permanent += f.permanent;
      sum.partial += f.partial;
      sum.total_brut += f.total_brut;
      sum.total_de_plata += f.total_de_plata;
      sum.contributii_angajati += f.contributii_angajati;
      sum.impozit += f.impozit;
    }
    // What the lines carry adds up; the employer's funds are computed on each
    // department's bases and need not.
    const TrendFigures& whole = trend.figures[i];
    EXPECT_EQ(sum.permanent, whole.permanent);
    EXPECT_EQ(sum.partial, whole.partial);
    EXPECT_EQ(sum.total_brut, whole.total_brut);
    EXPECT_EQ(sum.total_de_plata, whole.total_de_plata);
    EXPECT_EQ(sum.contributii_angajati, whole.contributii_angajati);
    EXPECT_EQ(sum.impozit, whole.impozit);
  }
  EXPECT_NE(FiguresOf(trend, "PRODUCT"), nullptr);
  EXPECT_EQ(FiguresOf(trend, "NOSUCH"), nullptr);
  EXPECT_EQ(FiguresOf(trend, ""), &trend.figures);
}

// The trend reads only some fields of a line: no other field may change what
// the recapitulation sums or the running totals and funds make of a line.
TEST(TrendFiguresTest, NoFieldTheTrendLeavesUnreadChangesTheFigures) {
  engine::MonthParameters parameters;  // SalMedEc set: partial contracts with CIAS count apart
  PersRow permanent;
  permanent.TIP = "1";
  permanent.NORMA = 8;
  permanent.TIMP = 160;
  permanent.SALINC = 3000000;
  permanent.BRUT = 3200000;
  permanent.RESTPL = 2100000;
  permanent.ZILE_CM = 2;
  permanent.INVALIDITATE = 1;
  PersRow partial = permanent;
  partial.TIP = "2";
  partial.ALT_VENIT = 1;
  partial.BifaSom = 1;
  partial.Ore_Zi = 4;
  partial.ACORD = "D";
  partial.REALIZAT = 900000;
  struct Made {
    reports::RecapSums sums;
    std::vector<std::pair<std::string, long double>> totals;
    std::vector<std::pair<std::string, long double>> funds;
    bool operator==(const Made&) const = default;
  };
  auto made = [&parameters](const PersRow& row) {
    engine::CompanyTotals totals;
    engine::AddRowToTotals(totals, row, parameters);
    const std::vector<PersRow> rows = {row};
    return Made{reports::SumRecapRows(rows), engine::NamedTotals(totals),
                engine::NamedFunds(engine::ComputeCompanyFunds(totals, parameters))};
  };
  const auto fields = FieldsOf<PersRow>();
  int unread = 0;
  for (std::size_t f = 0; f < fields.size(); ++f) {
    const std::string_view name = fields[f].name;
    if (std::find(kTrendLineFields.begin(), kTrendLineFields.end(), name) !=
        kTrendLineFields.end()) {
      continue;
    }
    for (const PersRow& base : {permanent, partial}) {
      PersRow changed = base;
      switch (fields[f].kind) {
        case FieldKind::kDouble:
          SetField(changed, f, FieldValue(1234567.5));
          break;
        case FieldKind::kInt16:
        case FieldKind::kInt32:
        case FieldKind::kAutoInc:
          SetField(changed, f, FieldValue(std::int64_t{7}));
          break;
        case FieldKind::kText:
          SetField(changed, f, FieldValue(std::string("D")));
          break;
        case FieldKind::kDate:
          SetField(changed, f, FieldValue(Date::FromYmd(2003, 2, 1)));
          break;
        case FieldKind::kBlob:
          continue;
      }
      EXPECT_TRUE(made(changed) == made(base)) << name
                                               << " changes the figures: add it to "
                                                  "kTrendLineFields";
    }
    ++unread;
  }
  EXPECT_GT(unread, 40);
}

TEST(TrendFiguresTest, TheIntervalKeepsTheCompanysMonthsAndRefusesWhatCannotBeRead) {
  ThreeMonths company;
  params::Session& session = company.session();
  // The default: the twelve months up to the working month.
  const TrendInterval interval = DefaultTrendInterval(Date::FromYmd(2003, 3, 17));
  EXPECT_EQ(interval.from, Date::FromYmd(2002, 4, 1));
  EXPECT_EQ(interval.to, Month(3));
  // Months the company does not have are left out; any day means its month.
  Trend trend = CompanyTrend(session, interval.from, Date::FromYmd(2003, 2, 20));
  EXPECT_EQ(trend.months, (std::vector<Date>{Month(1), Month(2)}));
  trend = CompanyTrend(session, Month(2), Month(2));
  EXPECT_EQ(trend.months, std::vector<Date>{Month(2)});
  trend = CompanyTrend(session, Date::FromYmd(2001, 1, 1), Date::FromYmd(2001, 12, 1));
  EXPECT_TRUE(trend.months.empty());
  EXPECT_TRUE(trend.figures.empty());

  try {
    CompanyTrend(session, Month(3), Month(2));
    ADD_FAILURE() << "a reversed interval was read";
  } catch (const Error& refusal) {
    EXPECT_STREQ(refusal.what(), kTrendIntervalReversed);
  }
  try {
    CompanyTrend(session, Date::FromYmd(1953, 1, 1), Month(3));
    ADD_FAILURE() << "an interval of 603 months was read";
  } catch (const Error& refusal) {
    EXPECT_STREQ(refusal.what(), kTrendIntervalTooLong);
  }
  // 600 months are read.
  EXPECT_EQ(CompanyTrend(session, Date::FromYmd(1953, 4, 1), Month(3)).months.size(), 3u);
}

TEST(TrendFiguresTest, TheTrendWritesNothingAndLeavesTheSessionsTotals) {
  ThreeMonths company;
  params::Session& session = company.session();
  personnel::SumStoredLines(session);
  const engine::CompanyTotals before = session.totals();
  const std::int64_t changes = *session.db().QueryInt("SELECT total_changes()");
  CompanyTrend(session, Month(1), Month(3));
  EXPECT_EQ(*session.db().QueryInt("SELECT total_changes()"), changes);
  EXPECT_EQ(session.totals().BrutP, before.BrutP);
  EXPECT_EQ(session.totals().NrAngajati, before.NrAngajati);
  EXPECT_FALSE(session.db().InTransaction());
}

}  // namespace
}  // namespace traveno::trends
