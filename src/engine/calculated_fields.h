// Figures derived from a stored row whenever a report or declaration reads
// it; never stored. An empty optional is a field the row leaves blank.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/store/records.h"
#include "engine/month_parameters.h"

namespace traveno::engine {

// The report view of a row.
struct ReportFigures {
  std::optional<long double> Tarifar;         // blank for permanent piece-work
  long double FondSalariu = 0;
  std::optional<long double> FondSomajFirma;  // blank for a permanent pensioner
  long double AlteSumeSiAlteSporuri = 0;
};

// The time value, the salary fund, the row's part of the employer's
// unemployment base and the other sums. A zero divisor gives a time value of 0.
ReportFigures ComputeReportFigures(const PersRow& row, const MonthParameters& parameters);

// The nominal social-insurance and unemployment declarations' view of a row.
struct NominalFigures {
  long double ZileNorm = 0;
  long double ZilePrest = 0;
  long double TotalZile = 0;
  std::optional<long double> Baza2;
  std::optional<long double> BazaCAS;
  std::optional<long double> BazaSomaj;
  long double TotalPrest = 0;
  long double BASS = 0;
};

// The days in the norm and of benefits, and the contribution bases. A zero
// divisor (SomajAng, SomajCol, a partial-contract Ore_Zi that rounds to 0)
// gives 0 for the figure it divides.
NominalFigures ComputeNominalFigures(const PersRow& row, const MonthParameters& parameters);

// The insured category of the health declaration: " CIC " for a person on
// child-care leave without time worked, else " S - Salariat " (permanent) or
// " CP contract partial ".
std::string Categoria(std::string_view tip, double timp, int zile_cic);

// The salary recapitulation's gross without the state-paid benefits, and its
// net likewise.
long double BrutCalc(long double brut, long double cm2l, long double cic);
long double RestPLCentralizator(long double total_pl, long double cm2l, long double cic);

// Which list shows a dependant's codes: the pay grid or the reports.
enum class DependantView { kPayGrid, kReports };

// The text of a dependant's kind (Calitate 0..3) and invalidity
// (Invaliditate 0..2); empty for a negative or unknown code.
std::string Kalitate(int calitate, DependantView view);
std::string Ynvaliditate(int invaliditate, DependantView view);

// The department code of a "DEP_" parameter name: upper-cased, trimmed, from
// its fifth character on.
std::string DepartmentName(std::string_view parameter_name);

}  // namespace traveno::engine
