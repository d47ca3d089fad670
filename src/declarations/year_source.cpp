#include "declarations/year_source.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "params/brackets.h"

namespace traveno::declarations {
namespace {

std::size_t MonthIndex(int month) {
  if (month < 1 || month > 12) return 12;
  return static_cast<std::size_t>(month - 1);
}

}  // namespace

void YearParameters::AddGeneral(int month, std::string_view name, double value) {
  const std::size_t index = MonthIndex(month);
  if (index >= general_.size()) return;
  std::string key = ToUpperAscii(Trim(name));
  auto& rows = general_[index];
  const bool known =
      std::any_of(rows.begin(), rows.end(), [&](const Row& row) { return row.name == key; });
  if (!known) rows.push_back({std::move(key), value});
}

void YearParameters::SetMonthlyBrackets(int month, engine::TaxTable table) {
  const std::size_t index = MonthIndex(month);
  if (index < monthly_brackets_.size()) monthly_brackets_[index] = std::move(table);
}

std::optional<double> YearParameters::General(int month, std::string_view name) const {
  const std::size_t index = MonthIndex(month);
  if (index >= general_.size()) return std::nullopt;
  const std::string key = ToUpperAscii(Trim(name));
  for (const Row& row : general_[index]) {
    if (row.name == key) return row.value;
  }
  return std::nullopt;
}

bool YearParameters::HasAnyGeneral() const {
  return std::any_of(general_.begin(), general_.end(),
                     [](const std::vector<Row>& rows) { return !rows.empty(); });
}

double YearParameters::ParamPercent(std::string_view name, int month) const {
  return General(month, name).value_or(0) / 100;
}

long double YearParameters::MonthlyTaxOf(int month, long double amount) const {
  const std::size_t index = MonthIndex(month);
  if (index >= monthly_brackets_.size() || monthly_brackets_[index].empty()) return 0;
  const engine::TaxTable& table = monthly_brackets_[index];
  std::size_t row = table.size() - 1;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (!(amount > static_cast<long double>(table[i].P_Venit))) {
      row = i == 0 ? 0 : i - 1;
      break;
    }
  }
  const engine::TaxBracket& bracket = table[row];
  return RoundEven(static_cast<long double>(bracket.V_Const) +
                   (amount - static_cast<long double>(bracket.P_Venit)) *
                       static_cast<long double>(bracket.V_Proc) / 100);
}

long double YearParameters::AnnualTaxOf(long double amount) const {
  return engine::ImpozitAnual(annual_brackets_, amount);
}

YearSource ReadYearSource(Database& db, std::string_view company_code, int year) {
  YearSource source;
  source.year = year;
  source.parameters = YearParameters(year);
  const Date first = Date::FromYmd(year, 1, 1);
  const Date next = Date::FromYmd(year + 1, 1, 1);

  // One consistent view of the year; reading takes no write lock.
  Transaction tx(db, TransactionKind::kRead);
  auto companies = QueryRows<FirmeRow>(db, "SELECT * FROM main.Firme WHERE Cod = ? ORDER BY CodF",
                                       std::string(company_code));
  if (!companies.empty()) source.company = std::move(companies.front());
  source.pers = QueryManyRows<PersRow>(db, "FROM firma.Pers WHERE LUNA >= ? AND LUNA < ?",
                                       "LUNA, IID, Nr", first, next);
  source.pint = QueryManyRows<PintRow>(db, "FROM firma.Pint WHERE Luna >= ? AND Luna < ?",
                                       "Luna, IID, Nr", first, next);
  for (const ParaRow& row : QueryRows<ParaRow>(
           db, "SELECT * FROM main.Para WHERE Luna >= ? AND Luna < ? ORDER BY Luna, Nr", first,
           next)) {
    source.parameters.AddGeneral(row.Luna.month(), row.Den, row.Val);
  }
  std::array<engine::TaxTable, 12> monthly;
  for (const ImpoRow& row : QueryRows<ImpoRow>(
           db, "SELECT * FROM main.Impo WHERE Luna >= ? AND Luna < ? ORDER BY Luna, P_Venit, Nr",
           first, next)) {
    monthly[MonthIndex(row.Luna.month())].push_back({row.P_Venit, row.V_Const, row.V_Proc});
  }
  for (int month = 1; month <= 12; ++month) {
    source.parameters.SetMonthlyBrackets(month, std::move(monthly[MonthIndex(month)]));
  }
  source.parameters.SetAnnualBrackets(params::BracketTable(db, first, true));
  tx.Commit();
  return source;
}

std::vector<const PersRow*> RowsOfPerson(const YearSource& source, int iid, std::string_view kind) {
  std::vector<const PersRow*> rows;
  for (const PersRow& row : source.pers) {
    if (row.IID == iid && row.TIP == kind) rows.push_back(&row);
  }
  return rows;
}

}  // namespace traveno::declarations
