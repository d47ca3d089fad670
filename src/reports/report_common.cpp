#include "reports/report_common.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "core/numbers.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "engine/payroll_engine.h"

namespace traveno::reports {
namespace {

std::string Or(const std::string& value, const char* fallback) {
  return Trim(value).empty() ? fallback : value;
}

}  // namespace

PrintStamp PrintStamp::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  PrintStamp stamp;
  stamp.date = Date::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  stamp.hour = local.tm_hour;
  stamp.minute = local.tm_min;
  return stamp;
}

std::string PrintStamp::DateText() const { return date.ToText(); }

std::string PrintStamp::TimeText() const {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", hour % 100, minute % 100);
  return text;
}

std::string EmployerName(const FirmeRow& company) {
  if (company.TipAngaj == 1) return company.Denumire;
  return company.Nume + " " + company.Prenume;
}

std::string EmployerName(params::Session& session) {
  const std::optional<FirmeRow> company = session.store().FindCompany(session.company());
  return company ? EmployerName(*company) : std::string();
}

std::string MonthSlashYear(Date month) {
  return std::string(MonthName(MonthOf(month))) + " / " + std::to_string(YearOf(month));
}

std::string MonthAndYear(Date month) {
  return std::string(MonthName(MonthOf(month))) + " " + std::to_string(YearOf(month));
}

std::vector<PersRow> DocumentRows(params::Session& session, Date month) {
  return QueryManyRows<PersRow>(session.db(), "FROM firma.Pers WHERE LUNA = ?",
                                "LUNA, Depart, TIP, CATEGORIE, MARCA, Nr", FirstOfMonth(month));
}

TotalsAndFunds RebuildCompanyTotals(params::Session& session, const std::vector<PersRow>& rows) {
  TotalsAndFunds result;
  engine::ResetCompanyTotals(result.totals);
  for (const PersRow& row : rows) engine::AddRowToTotals(result.totals, row, session.parameters());
  result.funds = engine::ComputeCompanyFunds(result.totals, session.parameters());
  session.totals() = result.totals;
  session.funds() = result.funds;
  return result;
}

DeductionCaptions DeductionCaptionsOf(const engine::CompanyParameters& company) {
  return {Or(company.Den_PrIncas, "Prime incasate"), Or(company.Den_AvansCO, "Avans Concediu"),
          Or(company.Den_Retineri, "Retineri"),      Or(company.Den_Popriri, "Popriri"),
          Or(company.Den_AlteRet, "Alte retineri"),  Or(company.Den_Garantii, "Garantii")};
}

BonusColumn BonusColumnOf(const engine::BonusParameters& bonus) {
  using engine::BonusMode;
  const auto mode = static_cast<BonusMode>(static_cast<int>(bonus.Apl));
  BonusColumn column;
  column.used = mode != BonusMode::kUnused;
  column.heading = column.used ? bonus.Den : std::string();
  column.shows_percentage =
      mode == BonusMode::kPercentOfBase || mode == BonusMode::kPercentOfTime ||
      mode == BonusMode::kPercentOfResult || (mode == BonusMode::kFormula && bonus.ProcF == 1);
  column.percent_sign = mode != BonusMode::kFixed && mode != BonusMode::kUnused;
  return column;
}

std::string BonusPercentText(const BonusColumn& column, double percent) {
  if (!column.used || !column.shows_percentage || percent == 0) return {};
  return Rate(percent) + (column.percent_sign ? "%" : "");
}

// Most figures of a month are 0: their text needs no formatting.
std::string Amount(long double value) {
  if (value == 0) return "0 ";
  std::string text = FormatNumber(value, NumberMask::kInteger);
  text += ' ';
  return text;
}

std::string AmountOrBlank(long double value) { return value == 0 ? std::string() : Amount(value); }

std::string Rate(long double value) { return FormatNumber(value, NumberMask::kUpToTwoDecimals); }

std::string Count(long double value) {
  if (value == 0) return "0 ";
  std::string text = Rate(value);
  text += ' ';
  return text;
}

std::string WidestAmount(long double magnitude, bool negative) {
  return (negative ? "-" : "") + Amount(magnitude);
}

Band StandardHeader(const PageSetup& setup, const HeaderLines& lines, const PrintStamp& stamp,
                    int page_number) {
  const double left = setup.content_left();
  const double width = setup.content_width();
  const Font small{8};
  Band band(22);
  band.Text({left, 0, width * 0.65, 4}, lines.left, small.Bold());
  band.Text({left + width * 0.65, 0, width * 0.35, 4},
            "Data: " + stamp.DateText() + "   Pagina: " + std::to_string(page_number), small,
            Align::kRight);
  band.Text({left, 7, width, 6}, lines.title, Font{12}.Bold(), Align::kCenter);
  if (!lines.subtitle.empty()) {
    band.Text({left, 13, width, 5}, lines.subtitle, Font{10}.Bold(), Align::kCenter);
  }
  return band;
}

}  // namespace traveno::reports
