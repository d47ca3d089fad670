// What the yearly figures of the fiscal sheets and the e-filing files read
// for one company and one year, read at once in one transaction so that the
// files of a year agree with each other: the company's register row, its
// Pers and Pint rows of the year, the general parameters and the monthly
// bracket tables of the twelve months, and the annual bracket table of the
// year. The figures are then computed from this value alone.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"
#include "core/store/sqlite.h"
#include "engine/tax_table.h"

namespace traveno::declarations {

// The general parameter rows (Para) of the twelve months of a year and the
// tax brackets that go with them.
class YearParameters {
 public:
  YearParameters() = default;
  explicit YearParameters(int year) : year_(year) {}

  int year() const { return year_; }

  // Adds a month's general parameter row; the first row of a name wins.
  void AddGeneral(int month, std::string_view name, double value);
  void SetMonthlyBrackets(int month, engine::TaxTable table);
  void SetAnnualBrackets(engine::TaxTable table) { annual_brackets_ = std::move(table); }

  // The value of the general parameter `name` (compared without regard to
  // case) of a month 1..12 of the year; empty when the month has no such row.
  std::optional<double> General(int month, std::string_view name) const;
  // Whether any month of the year has general parameter rows.
  bool HasAnyGeneral() const;

  // The `Val` of the month's general parameter row divided by 100; 0 when
  // there is no such row.
  double ParamPercent(std::string_view name, int month) const;
  // The monthly income tax of an amount by the month's bracket rows in
  // threshold order: the last row whose P_Venit is below the amount (the
  // first row when none is), V_Const + (amount - P_Venit) * V_Proc / 100,
  // rounded half to even. 0 when the month has no brackets.
  long double MonthlyTaxOf(int month, long double amount) const;
  // The annual income tax of an amount by the year's annual brackets
  // (ImpozitAnual).
  long double AnnualTaxOf(long double amount) const;

 private:
  struct Row {
    std::string name;  // upper case
    double value;
  };
  int year_ = 0;
  std::array<std::vector<Row>, 12> general_;
  std::array<engine::TaxTable, 12> monthly_brackets_;
  engine::TaxTable annual_brackets_;
};

struct YearSource {
  int year = 0;
  // The company's register row; empty when its code is not in the register.
  std::optional<FirmeRow> company;
  // Every Pers row of the year (both kinds), by month, then IID, then Nr.
  std::vector<PersRow> pers;
  // Every Pint row of the year, by month, then IID, then Nr.
  std::vector<PintRow> pint;
  YearParameters parameters;
};

// Reads the year's source for the company open in the store (the company
// database attached, Store::OpenCompany) whose register code is
// `company_code`. Throws StoreError.
YearSource ReadYearSource(Database& db, std::string_view company_code, int year);

// The year's Pers rows of one person and kind, by month.
std::vector<const PersRow*> RowsOfPerson(const YearSource& source, int iid, std::string_view kind);

}  // namespace traveno::declarations
