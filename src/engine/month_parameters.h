// The calculation parameters of one month as a plain value: the general set
// (shared by every company) and the company set. A default-constructed value
// holds every parameter's missing-row value, so a month that lacks a row reads
// exactly as the program has always read it. The parameters service fills it
// from the stored name/value rows with BuildGeneralParameters and
// BuildCompanyParameters; the engine only reads it.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"

namespace traveno::engine {

// One stored parameter row: name, numeric value, text value.
struct ParameterRow {
  std::string Den;
  double Val = 0;
  std::string Grupa;
};

// Rates in percent, amounts in lei, coefficients as fractions of DedBaza.
struct GeneralParameters {
  double SomajAng = 1;
  double SomajCol = 0;
  double SanatateAng = 6.5;
  double Pensie = 9.5;
  double SomajFirm = 3.5;
  double SanatateFirm = 7;
  double CAS = 25.5;
  double Handicap = 0;
  double PersHandi = 0;
  double Invat = 0;
  double BazaInvat = 0;
  double Accident = 0;
  double DedBaza = 1600000;
  double CheltProf = 240000;
  double ProcChProf = 0;
  double DedAnuala = 0;
  double SotSotie = 0.5;
  double DoiCopii = 0.5;
  double RestCopii = 0.5;
  double AltePers = 0.2;
  double InvalidI = 1;
  double InvalidII = 0.5;
  double CoefMax = 3;
  double SalMedEc = 5299736;
  double SalMinEc = 1400000;
  double LimCIC = 0;
  double VERIFPINT = 0;
};

// One of the four named bonuses of a company (Spor1_Den .. Spor4_Init).
struct BonusParameters {
  std::string Den;    // SporN_Den: the grid column title
  double Apl = 0;     // SporN_Apl: the bonus mode, see BonusMode
  double Perm = 0;    // Spor_PermN: unemployment withheld on the full-month value
  double CO = 0;      // SporN_CO: enters the salary-based holiday pay
  std::string Form;   // SporN_Form: the formula of mode 5
  double ProcF = 0;   // SporN_ProcF: the formula result is a base for the person's percentage
  double Init = 0;    // SporN_Init: the bonus input starts the next month at 0
};

// An exempt-sum setting: a percentage and a "DA"/"NU" flag.
struct ExemptSetting {
  double Val = 100;
  std::string Grupa;
};

struct CompanyParameters {
  // General settings.
  double ComisionCM = 0.75;
  double TimpLuna = 184;
  double TimpZile = 1;
  double MedieOre = 170;
  double SporNoapte = 25;
  double CoefCO = 21.25;
  double ProcOreSupli = 100;
  double ZiLichidare = 10;
  double PagColab = 0;
  double StatAscUnic = 0;
  double TipFluturasi = 2;
  std::string ZileLibere;
  double LuniCO = 0;
  std::string CO_Form;
  double Deschisa = 0;
  double Contab = 0;

  std::array<BonusParameters, 4> spor;

  // Pension-base inclusion switches of the months of 2001 and earlier.
  double OreSupl = 1;
  double SporProc = 1;
  double OreNoapte = 1;
  double CO = 1;
  double AlteSume = 1;
  double Sporuri = 1;
  double Prime = 1;
  double CMFirm = 1;
  double CIC = 1;
  double CMStat = 1;
  double Regularizare = 1;

  // Sums that the month transition starts at 0 (ProcImpo: at 100).
  double Timp = 1;
  double Timp_spl = 1;
  double InitPrime = 1;
  double InitPr_va = 1;
  double Cm1l = 1;
  double Cm2l = 1;
  double Avans = 1;
  double Retineri = 1;
  double Timp_Noapte = 1;
  double Zile_Co = 1;
  double InitAlteSume = 1;
  double InitCIC = 1;
  double Popriri = 1;
  double Garantii = 1;
  double Alte_Ret = 1;
  double Prime_inc = 1;
  double Avans_Co = 1;
  double Zile_Fp = 1;
  double Zile_Cm = 1;
  double Zile_CIC = 1;
  double InitSporuri = 1;
  double SumeExcept = 1;
  double ProcImpo = 0;

  // Exempt sums.
  ExemptSetting Ex_Pensie;
  ExemptSetting Ex_Sanatate;
  ExemptSetting Ex_Impozit;
  ExemptSetting Ex_Firma{0, ""};

  // Captions of the deduction columns.
  std::string Den_PrIncas;
  std::string Den_AvansCO;
  std::string Den_Retineri;
  std::string Den_Popriri;
  std::string Den_AlteRet;
  std::string Den_Garantii;

  // Unemployment declaration figures.
  double CalculSomaj = 0;
  double TipCalcul = 0;
  double SDAsig = 0;
  double SDAng = 0;
  double DedSomaj = 0;
  double RestAs = 0;
  double RestAn = 0;
  double Penal = 0;
  double Maj = 0;
  double SVAsig = 0;
  double SVAng = 0;
  // Health declaration figures.
  double RestSanA = 0;
  double RestSanB = 0;
  double RestSanC = 0;
  double MajSanA = 0;
  double MajSanB = 0;
  double MajSanC = 0;
  double DatorSanA = 0;
  double DatorSanB = 0;
  double DatorSanC = 0;

  // The month's departments: the rows named "DEP_" + code, in row order.
  std::vector<ParameterRow> departments;
};

// Everything a calculation of the month reads besides the rows themselves.
struct MonthParameters {
  Date luna;  // the working month, its first day
  GeneralParameters general;
  CompanyParameters company;
};

// How a parameter is stored: its number in Val, its text in Grupa, or both
// (the exempt-sum settings).
enum class ParameterValueKind { kNumber, kText, kNumberAndText };

struct ParameterDescription {
  std::string name;
  ParameterValueKind kind;
};

// Every general parameter in table order.
std::span<const ParameterDescription> GeneralParameterNames();
// Every company parameter in table order (departments excluded: they are
// rows named "DEP_" + code).
std::span<const ParameterDescription> CompanyParameterNames();

// The general parameters read from the month's rows. Names are compared
// without regard to case; a name without a row keeps its missing-row value;
// when a name occurs twice the first row counts; rows of unknown names are
// ignored. Never fails.
GeneralParameters BuildGeneralParameters(std::span<const ParameterRow> rows);

// The company parameters read from the month's rows. Names are compared
// exactly, case included; a number parameter reads Val, a text parameter
// Grupa, an exempt-sum setting both; a missing row gives the missing-row
// value or the empty text. Rows named "DEP_..." become the departments.
// Never fails.
CompanyParameters BuildCompanyParameters(std::span<const ParameterRow> rows);

// The rows that store a parameter set, in table order: numbers in Val, texts
// in Grupa (what SaveGeneralParameters / SaveCompanyParameters write).
// Departments follow the company parameters.
std::vector<ParameterRow> GeneralParameterRows(const GeneralParameters& parameters);
std::vector<ParameterRow> CompanyParameterRows(const CompanyParameters& parameters);

// A "DA"/"NU" flag counts as checked unless, trimmed and upper-cased, it is "NU".
bool IsFlagChecked(std::string_view grupa);

}  // namespace traveno::engine
