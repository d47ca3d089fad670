// The dBASE records of the yearly e-filing files (2002 and later). A field
// left unassigned stays blank.
#include <optional>

#include "core/numbers.h"
#include "core/text.h"
#include "declarations/efiling_records.h"
#include "declarations/efiling_shared.h"
#include "declarations/file_fields.h"

namespace traveno::declarations {
namespace {

// Sets a numeric field to the number formed by the digits of a text, and
// leaves it blank when that number is 0.
void SetDigits(DbfRecord& record, std::string_view field, std::string_view text) {
  const double value = ParseNumber(DigitsOnly(text), 0);
  if (value != 0) record.SetNumber(field, value);
}

void SetMark(DbfRecord& record, std::string_view field, bool set) {
  if (set) record.SetText(field, "X");
}

// A two-digit month suffix: "01".."12".
std::string Month2(int m) { return (m < 10 ? "0" : "") + std::to_string(m); }

void FillIdentity(DbfRecord& record, const YearlyPerson& person) {
  SetDigits(record, "Cnp_ang", person.CODNUMPERS);
  record.SetText("Nume", UpperTrim(person.NUME))
      .SetText("Prenume", UpperTrim(person.PRENUME))
      .SetText("Localitate", UpperTrim(person.LOCALITATE))
      .SetText("Judet", UpperTrim(person.Judet))
      .SetText("Strada", UpperTrim(person.STRADA))
      .SetText("Nr", UpperTrim(person.NUMAR));
  SetDigits(record, "Cod_postal", person.CODPOSTAL);
  record.SetText("Bloc", UpperTrim(person.BLOC))
      .SetText("Scara", UpperTrim(person.SCARA))
      .SetText("Etaj", UpperTrim(person.ETAJ))
      .SetText("Ap", UpperTrim(person.AP));
  SetDigits(record, "Sector", person.SECTOR);
  SetMark(record, "Rectific", IsMark(person.Fisa_rectif, "1"));
}

void FillMonthlyColumns(DbfRecord& record, const FfColumns& columns) {
  for (int m = 1; m <= 12; ++m) {
    record.SetNumber("Venit_" + Month2(m), columns.venit[static_cast<std::size_t>(m - 1)])
        .SetNumber("Impozit_" + Month2(m), columns.impozit[static_cast<std::size_t>(m - 1)]);
  }
}

}  // namespace

void FillRep(DbfRecord& record, const FirmeRow& company) {
  SetDigits(record, "Cod_ang", company.CodFiscal);
  record.SetNumber("Tip_ang", company.TipAngaj);
  if (company.TipAngaj == 1) {
    record.SetText("Denumire", UpperTrim(company.Denumire));
  } else {
    record.SetText("Nume", UpperTrim(company.Nume)).SetText("Prenume", UpperTrim(company.Prenume));
  }
  record.SetText("Localitate", UpperTrim(company.Localitate))
      .SetText("Judet", UpperTrim(company.Judet))
      .SetText("Strada", UpperTrim(company.Strada))
      .SetText("Nr", UpperTrim(company.Numar));
  SetDigits(record, "Cod_postal", company.CodPostal);
  record.SetText("Bloc", UpperTrim(company.Bloc))
      .SetText("Scara", UpperTrim(company.Scara))
      .SetText("Etaj", UpperTrim(company.Etaj))
      .SetText("Ap", UpperTrim(company.Ap));
  SetDigits(record, "Sector", company.Sector);
  record.SetText("Telefon", UpperTrim(company.Telefon)).SetText("Email", UpperTrim(company.EMail));
}

void FillFf1(DbfRecord& record, const YearlyPerson& person, const YearParameters& parameters,
             int year) {
  const FfColumns columns = ComputeFfColumns(person, parameters);
  const std::optional<Regularisation2002> reg =
      ComputeRegularisation2002(person, columns, parameters);
  FillIdentity(record, person);
  SetMark(record, "Regulariz", reg.has_value());
  SetMark(record, "Fara_dom", IsMark(person.Domiciliu_ext, "1"));
  SetMark(record, "Alte_surse", person.ALT_VENIT == 1);
  SetMark(record, "Invalid_I", person.Invalid_I == 1);
  SetMark(record, "Invalid_II", person.Invalid_II == 2);
  record.SetDate("Data_angaj", person.DATA_ANG).SetDate("Data_incet", person.DATA_LICH);
  for (int m = 1; m <= 12; ++m) {
    const YearlyMonth& month = person.months[static_cast<std::size_t>(m - 1)];
    record.SetNumber("Coef_T_" + Month2(m), BeforeHireMonth(person, year, m) ? 0 : month.CoefInd)
        .SetNumber("Coef_P_" + Month2(m), month.CoefPers);
  }
  FillMonthlyColumns(record, columns);
  record.SetNumber("Venit_13", static_cast<double>(columns.bonus_base))
      .SetNumber("Impozit_13", static_cast<double>(columns.bonus_tax))
      .SetNumber("Venit_14", static_cast<double>(columns.sum_venit + columns.bonus_base))
      .SetNumber("Impozit_14", static_cast<double>(columns.tax))
      .SetNumber("Nr_luni", columns.expense_months)
      .SetNumber("Ch_acord", static_cast<double>(columns.expenses));
  if (reg) {
    record.SetNumber("Ch_cuven", static_cast<double>(reg->Ch_cuven))
        .SetNumber("Venit_rec", static_cast<double>(reg->Venit_rec))
        .SetNumber("Deduceri", static_cast<double>(columns.deductions))
        .SetNumber("Venit_baza", static_cast<double>(reg->Venit_baza))
        .SetNumber("Imp_anual", static_cast<double>(reg->Imp_anual))
        .SetNumber("Dif_plata", static_cast<double>(reg->Dif_plata))
        .SetNumber("Dif_restit", static_cast<double>(reg->Dif_restit))
        .SetNumber("Venit_fin", 0)
        .SetNumber("Imp_fin", 0)
        .SetNumber("Venit_scut", 0);
  }
}

void FillFf2(DbfRecord& record, const YearlyPerson& person, const YearParameters& parameters) {
  const FfColumns columns = ComputeFfColumns(person, parameters);
  FillIdentity(record, person);
  if (const std::optional<int> situation = SituationCode(person.fisa_regul)) {
    record.SetText("AS" + std::to_string(*situation + 1), "X");
  }
  FillMonthlyColumns(record, columns);
  record.SetNumber("Venit_13", static_cast<double>(columns.sum_venit))
      .SetNumber("Impozit_13", static_cast<double>(columns.tax));
}

void FillDed(DbfRecord& record, const YearlyDependant& dependant) {
  SetDigits(record, "Cnp_ang", dependant.CodAngaj);
  SetDigits(record, "Cnp_pers", dependant.CODNUMPERS);
  record.SetText("Nume", dependant.Nume).SetText("Prenume", dependant.Prenume);
  const DependantKind kind = DependantKindOf(dependant.Calitate);
  SetMark(record, "Sot", kind == DependantKind::kSpouse);
  SetMark(record, "Copil", kind == DependantKind::kChild);
  SetMark(record, "Alta", kind == DependantKind::kOther);
  SetMark(record, "Invalid_I", dependant.Invalid1 == 1);
  SetMark(record, "Invalid_II", dependant.Invalid2 == 2);
  for (int m = 1; m <= 12; ++m) {
    record.SetNumber("Coef_" + Month2(m), dependant.Coef[static_cast<std::size_t>(m - 1)]);
  }
}

}  // namespace traveno::declarations
