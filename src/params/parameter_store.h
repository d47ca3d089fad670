// The stored calculation parameters of a month: the general set in Para (one
// set per month shared by every company) and the company set in ParF of the
// open company. A parameter is one row (Luna, Den, Val, Grupa); numbers live
// in Val, texts in Grupa. A missing row is not an error: it reads as the
// parameter's missing-row value (engine::MonthParameters' defaults) or as the
// empty text.
//
// Every function works on the store's connection; the company functions need
// a company open in the store (Store::OpenCompany) and throw StoreError
// otherwise. Writers join the caller's transaction when one is running, else
// commit their own; any store failure is thrown as StoreError and leaves the
// tables as they were. Every writer checks each value against its
// parameter's rule (core/store/field_rules.h) and throws ValueRefused before
// writing anything of a row the rule refuses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/store/sqlite.h"
#include "engine/month_parameters.h"

namespace traveno::params {

// The general parameter `name` of `month` (names compared without regard to
// case), or its missing-row value; 0 for a name the program does not know.
double ReadGeneral(Database& db, Date month, std::string_view name);
// Edits the month's row of that name (compared without regard to case, as it
// is read) or appends one; sets only Val.
void WriteGeneral(Database& db, Date month, std::string_view name, double value);

// The company parameter `name` of `month` (compared exactly, case included),
// or its missing-row value (0 for a name the program does not know).
double ReadCompany(Database& db, Date month, std::string_view name);
// The text of a company parameter; empty when the month has no such row.
std::string ReadCompanyText(Database& db, Date month, std::string_view name);
// Edit the month's row of that name or append one; WriteCompany sets only
// Val, WriteCompanyText only Grupa.
void WriteCompany(Database& db, Date month, std::string_view name, double value);
void WriteCompanyText(Database& db, Date month, std::string_view name, std::string_view text);

// The month's rows in reading order (Den without regard to case, then Nr).
std::vector<engine::ParameterRow> GeneralRows(Database& db, Date month);
std::vector<engine::ParameterRow> CompanyRows(Database& db, Date month);

// Every parameter of the month, missing rows giving their missing-row values.
engine::GeneralParameters LoadGeneralParameters(Database& db, Date month);
engine::CompanyParameters LoadCompanyParameters(Database& db, Date month);

// The parameters of every month from `from` to `to` (first days of months)
// that has company parameters, in month order, each read as the one-month
// loaders above read it: two queries for the whole interval, so a reader of
// many months (the trends) does not query month by month.
std::vector<engine::MonthParameters> LoadParametersOfMonths(Database& db, Date from, Date to);

// Writes every general parameter of the set, in table order, as one unit.
void SaveGeneralParameters(Database& db, Date month, const engine::GeneralParameters& values);
// Writes every company parameter of the set (numbers into Val, texts into
// Grupa, the exempt-sum settings into both) except the health-declaration
// figures, which only their declaration writes, and the departments, which
// have their own service. One unit.
void SaveCompanyParameters(Database& db, Date month, const engine::CompanyParameters& values);

// Write only the parameters of `values` that differ from `stored` (the set
// as it is in the store), so that a save never overwrites what it did not
// change. One unit each.
void SaveChangedGeneralParameters(Database& db, Date month, const engine::GeneralParameters& stored,
                                  const engine::GeneralParameters& values);
void SaveChangedCompanyParameters(Database& db, Date month, const engine::CompanyParameters& stored,
                                  const engine::CompanyParameters& values);

// The set an editor leaves when it saves: each parameter it changed (that
// differs between `edited` and `base`, the set it started from) over
// `current`, the set as stored now (another writer's changes included).
// The departments are always the current ones.
engine::GeneralParameters MergeGeneralParameters(const engine::GeneralParameters& base,
                                                 const engine::GeneralParameters& edited,
                                                 const engine::GeneralParameters& current);
engine::CompanyParameters MergeCompanyParameters(const engine::CompanyParameters& base,
                                                 const engine::CompanyParameters& edited,
                                                 const engine::CompanyParameters& current);

// The values a month gets when no earlier or later month has general
// parameters, and those of a company's first month.
engine::GeneralParameters NewMonthGeneralParameters();
engine::CompanyParameters NewCompanyParameters();

// Writes every general parameter of `month` with its new-month value.
void WriteGeneralDefaults(Database& db, Date month);
// Writes every company parameter of `month` with its new-company value,
// and the department CENTRAL. The annual-leave formula (LuniCO, CO_Form) and
// the deduction names are not written.
void WriteCompanyDefaults(Database& db, Date month);

// Whether Para holds a month later than `month` (the parameter windows warn
// that a change will not reach the months that follow).
bool HasLaterGeneralMonth(Database& db, Date month);

// The health-declaration figures, which SaveCompanyParameters leaves alone.
bool IsHealthDeclarationFigure(std::string_view name);

}  // namespace traveno::params
