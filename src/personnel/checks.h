// The consistency checks of the pay grid's lines (worked time, personal
// codes, deduction coefficients) and the personnel lists of the list window:
// hired or left in a month, identity cards, former employees to rehire,
// insured persons. Every function reads the store and writes nothing;
// StoreError on failure.
#pragma once

#include <string>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"
#include "params/session.h"
#include "personnel/pay_grid.h"

namespace traveno::personnel {

struct TimeFinding {
  int NrCrt = 0;
  std::string Nume, Prenume;
  double Timp = 0, Zile_CO = 0, Zile_CM = 0, Zile_CIC = 0, Zile_FP = 0;
  double TimpCalculat = 0;
};
struct CodeFinding {
  int NrCrt = 0;
  std::string Nume, Prenume, CNP, Eroare;
};
struct CoefficientFinding {
  int NrCrt = 0;
  std::string Nume, Prenume;
  double Coef_Ind_C = 0;
  double CoefCalculat = 0;
};
template <typename Finding>
struct CheckList {
  std::string heading;
  std::vector<Finding> findings;
};

// Lines whose time plus leave days (days times 8 when time is counted in
// hours) exceed the month's working time TimpLuna.
CheckList<TimeFinding> CheckTime(params::Session& session, const GridScope& scope);
// Lines whose personal code fails the check, with the check's message.
CheckList<CodeFinding> CheckCodes(params::Session& session, const GridScope& scope);
// Lines whose CoefInd1 differs from the coefficient expected from the
// employee and the dependants' stored Coef (a permanent employee living
// abroad, or a partial-contract employee without a main job, is expected to
// have the dependants' sum alone).
CheckList<CoefficientFinding> CheckCoefficients(params::Session& session, const GridScope& scope);

// The lists of the list window.
struct PersonLine {
  int IID = 0;
  int Marca = 0;
  std::string Nume, Prenume, CodNumPers, Functie;
  Date Data;  // Data_Ang (hired) or Data_Lich (left); empty otherwise
};
// Persons hired (Data_Ang) or left (Data_Lich) from the first to the last day
// of `month`, one line each, by Marca.
std::vector<PersonLine> HiredInMonth(params::Session& session, Date month);
std::vector<PersonLine> LeftInMonth(params::Session& session, Date month);
std::string HiredHeading(Date month);
std::string LeftHeading(Date month);
// The employees of the working month, by IID ("Legitimatii personal").
std::vector<PersonLine> IdentityCards(params::Session& session);
inline constexpr const char* kIdentityCardsHeading = "Legitimatii personal";
// Former employees' rows (with a leaving date) of persons absent from the
// working month, by name and first name; one per such row.
std::vector<PersRow> RehireCandidates(params::Session& session);
inline constexpr const char* kRehireHeading = "Selectare persoana ";

struct InsuredLine {
  int IID = 0;  // the supporting employee's, 0 when the month has no such employee
  std::string NumeA, PrenumeA, CodNumPersA;
  std::string Nume, Prenume, CodNumPers;
  int Calitate = 0;
  std::string Kalitate;  // "Sot / Sotie", "Copil", "Alte persoane"
};
// The dependants of the working month with their supporting employee, by
// the dependant's name and first name.
std::vector<InsuredLine> InsuredPersons(params::Session& session);
inline constexpr const char* kInsuredHeading = "Lista persoane asigurate si coasigurate ";

}  // namespace traveno::personnel
