// The text lines of the yearly e-filing files.
#include <optional>

#include "core/text.h"
#include "declarations/efiling_records.h"
#include "declarations/efiling_shared.h"
#include "declarations/file_fields.h"

namespace traveno::declarations {
namespace {

// The digits of a code, empty when it has none.
std::string CodeDigits(std::string_view code) {
  const std::string digits = DigitsOnly(code);
  return digits == "0" ? std::string() : digits;
}

// Fields 1..14 of both fiscal sheets: the person's code, name and address
// and the corrective mark.
void AddIdentity(FieldLine& line, const YearlyPerson& person) {
  line.Add(CodeDigits(person.CODNUMPERS))
      .AddText(UpperTrim(person.NUME))
      .AddText(UpperTrim(person.PRENUME))
      .AddText(UpperTrim(person.LOCALITATE))
      .AddText(UpperTrim(person.Judet))
      .AddText(UpperTrim(person.STRADA))
      .AddText(UpperTrim(person.NUMAR))
      .Add(DigitsOnly(person.CODPOSTAL))
      .AddText(UpperTrim(person.BLOC))
      .AddText(UpperTrim(person.SCARA))
      .AddText(UpperTrim(person.ETAJ))
      .AddText(UpperTrim(person.AP))
      .Add(DigitsOnly(person.SECTOR))
      .AddMark(IsMark(person.Fisa_rectif, "1"));
}

void AddMonthlyColumns(FieldLine& line, const FfColumns& columns) {
  for (std::size_t m = 0; m < 12; ++m) {
    line.AddNumber(columns.venit[m]).AddNumber(columns.impozit[m]);
  }
}

// A number, or an empty field when it is 0.
std::string NumberOrEmpty(double value) { return value == 0 ? std::string() : NumberField(value); }

void AddCalitateMarks(FieldLine& line, int calitate) {
  const DependantKind kind = DependantKindOf(calitate);
  line.AddMark(kind == DependantKind::kSpouse)
      .AddMark(kind == DependantKind::kChild)
      .AddMark(kind == DependantKind::kOther);
}

}  // namespace

std::string RepLine(const FirmeRow& company) {
  const bool legal = company.TipAngaj == 1;
  const std::string postal = DigitsOnly(company.CodPostal);
  FieldLine line;
  line.Add(HasDigit(company.CodFiscal) ? StripR(DigitsOnly(company.CodFiscal)) : std::string())
      .Add(legal ? "1" : "2")
      .Add(legal ? TextField(UpperTrim(company.Denumire)) : TextField(""))
      .Add(legal ? TextField("") : TextField(UpperTrim(company.Nume)))
      .Add(legal ? TextField("") : TextField(UpperTrim(company.Prenume)))
      .AddText(UpperTrim(company.Localitate))
      .AddText(UpperTrim(company.Judet))
      .AddText(UpperTrim(company.Strada))
      .AddText(UpperTrim(company.Numar))
      .Add(postal == "0" ? std::string() : postal)
      .AddText(UpperTrim(company.Bloc))
      .AddText(UpperTrim(company.Scara))
      .AddText(UpperTrim(company.Etaj))
      .AddText(UpperTrim(company.Ap))
      .Add(DigitsOnly(company.Sector) != "0" ? UpperTrim(company.Sector) : "0")
      .AddText(UpperTrim(company.Telefon))
      .AddText(company.EMail);
  return line.Join();
}

std::string Ff1Line(const YearlyPerson& person, const YearParameters& parameters, int year) {
  const FfColumns columns = ComputeFfColumns(person, parameters);
  const std::optional<Regularisation2002> reg =
      ComputeRegularisation2002(person, columns, parameters);
  FieldLine line;
  AddIdentity(line, person);
  line.AddMark(reg.has_value())
      .AddMark(IsMark(person.Domiciliu_ext, "1"))
      .AddMark(person.ALT_VENIT == 1)
      .AddMark(person.Invalid_I == 1)
      .AddMark(person.Invalid_II == 2)
      .AddMark(false)
      .Add(DateField(person.DATA_ANG))
      .Add(DateField(person.DATA_LICH));
  for (int m = 1; m <= 12; ++m) {
    const double coef = person.months[static_cast<std::size_t>(m - 1)].CoefInd;
    line.Add(BeforeHireMonth(person, year, m) ? std::string() : NumberField(coef));
  }
  for (const YearlyMonth& month : person.months) line.Add(NumberOrEmpty(month.CoefPers));
  AddMonthlyColumns(line, columns);
  line.AddNumber(static_cast<double>(columns.bonus_base))
      .AddNumber(static_cast<double>(columns.bonus_tax))
      .AddNumber(static_cast<double>(columns.sum_venit + columns.bonus_base))
      .AddNumber(static_cast<double>(columns.tax))
      .AddNumber(columns.expense_months)
      .AddNumber(static_cast<double>(columns.expenses));
  if (reg) {
    for (const long double value :
         {reg->Ch_cuven, reg->Venit_rec, columns.deductions, reg->Venit_baza, reg->Imp_anual,
          reg->Dif_plata, reg->Dif_restit}) {
      line.AddNumber(static_cast<double>(value));
    }
    line.AddEmpty().AddEmpty().AddEmpty();
  } else {
    for (int i = 0; i < 10; ++i) line.Add("0");
  }
  return line.Join();
}

std::string Ff2Line(const YearlyPerson& person, const YearParameters& parameters) {
  const FfColumns columns = ComputeFfColumns(person, parameters);
  const std::optional<int> situation = SituationCode(person.fisa_regul);
  FieldLine line;
  AddIdentity(line, person);
  for (int code = 0; code <= 7; ++code) line.AddMark(situation == code);
  AddMonthlyColumns(line, columns);
  line.AddNumber(static_cast<double>(columns.sum_venit))
      .AddNumber(static_cast<double>(columns.tax));
  return line.Join();
}

std::string DedLine(const YearlyDependant& dependant) {
  FieldLine line;
  line.Add(CodeDigits(dependant.CodAngaj))
      .Add(DigitsOnly(dependant.CODNUMPERS) != "0" ? dependant.CODNUMPERS : std::string())
      .AddText(dependant.Nume)
      .AddText(dependant.Prenume);
  AddCalitateMarks(line, dependant.Calitate);
  line.AddMark(dependant.Invalid1 == 1).AddMark(dependant.Invalid2 == 2).AddMark(false);
  for (const double coef : dependant.Coef) line.Add(NumberOrEmpty(coef));
  return line.Join();
}

std::string RepFiscLine(const FirmeRow& company) {
  const bool legal = company.TipAngaj == 1;
  FieldLine line;
  line.Add(StripR(UpperTrim(company.CodFiscal)))
      .AddMark(legal)
      .AddMark(!legal)
      .Add(legal ? TextField(UpperTrim(company.Denumire)) : TextField(""))
      .Add(legal ? TextField("") : TextField(UpperTrim(company.Nume)))
      .Add(legal ? TextField("") : TextField(UpperTrim(company.Prenume)))
      .AddText(UpperTrim(company.Localitate))
      .AddText(UpperTrim(company.Judet))
      .AddText(UpperTrim(company.Strada))
      .AddText(UpperTrim(company.Numar))
      .Add(UpperTrim(company.CodPostal))
      .AddText(UpperTrim(company.Bloc))
      .AddText(UpperTrim(company.Scara))
      .AddText(UpperTrim(company.Etaj))
      .AddText(UpperTrim(company.Ap));
  if (!UpperTrim(company.Sector).empty()) line.Add(UpperTrim(company.Sector));
  return line.Join(true);
}

std::string FfLineBefore2002(const YearlyPerson& person, const YearParameters& parameters,
                             bool permanent) {
  FieldLine line;
  line.Add(person.CODNUMPERS)
      .AddText(UpperTrim(person.NUME))
      .AddText(UpperTrim(person.PRENUME))
      .AddText(UpperTrim(person.LOCALITATE))
      .AddText(UpperTrim(person.Judet))
      .AddText(UpperTrim(person.STRADA))
      .AddText(UpperTrim(person.NUMAR))
      .Add(UpperTrim(person.CODPOSTAL))
      .AddText(UpperTrim(person.BLOC))
      .AddText(UpperTrim(person.SCARA))
      .AddText(UpperTrim(person.ETAJ))
      .AddText(UpperTrim(person.AP))
      .Add(UpperTrim(person.SECTOR));
  const bool in_2001 = YearIs(person.DATA_ANG, kRegularisationYearBefore2002) ||
                       YearIs(person.DATA_LICH, kRegularisationYearBefore2002);
  if (permanent) {
    if (person.NrLuni == 12 && person.ALT_VENIT == 0 && !in_2001) {
      line.AddMark(true).AddMark(false);
    } else {
      line.AddMark(false).AddMark(person.ALT_VENIT == 1);
    }
  }
  line.Add(DateField(person.DATA_ANG)).Add(DateField(person.DATA_LICH));
  if (permanent) {
    for (const YearlyMonth& month : person.months) line.Add(NumberOrEmpty(month.CoefInd));
    line.AddMark(person.INVALIDITATE == 1).AddMark(person.INVALIDITATE == 2);
    for (const YearlyMonth& month : person.months) line.Add(NumberOrEmpty(month.CoefPers));
  } else {
    for (int box = 1; box <= 7; ++box) line.AddMark(box == 4);
  }
  long double net = 0, basic = 0, supplementary = 0, taxable = 0, tax = 0;
  for (const YearlyMonth& month : person.months) {
    if (permanent) {
      line.AddNumber(month.VENIT_NET).AddNumber(month.DED_PERS).AddNumber(month.DED_PERS_SUPLI);
    }
    line.AddNumber(month.TOTDREPT).AddNumber(month.IMPOZIT);
    net += month.VENIT_NET;
    basic += month.DED_PERS;
    supplementary += month.DED_PERS_SUPLI;
    taxable += month.TOTDREPT;
    tax += month.IMPOZIT;
  }
  if (permanent) {
    for (int i = 0; i < 5; ++i) line.AddEmpty();
    line.AddNumber(static_cast<double>(net))
        .AddNumber(static_cast<double>(basic))
        .AddNumber(static_cast<double>(supplementary));
  }
  line.AddNumber(static_cast<double>(taxable)).AddNumber(static_cast<double>(tax));
  if (permanent) {
    const auto reg = ComputeRegularisationBefore2002(person, parameters);
    if (reg) {
      line.AddNumber(static_cast<double>(reg->annual_tax))
          .AddNumber(static_cast<double>(reg->withheld))
          .AddNumber(static_cast<double>(reg->due))
          .AddNumber(static_cast<double>(reg->refund))
          .AddEmpty()
          .AddEmpty();
    } else {
      for (int i = 0; i < 6; ++i) line.AddEmpty();
    }
  }
  return line.Join();
}

std::string DeduceriLine(const YearlyDependant& dependant) {
  FieldLine line;
  line.Add(dependant.CodAngaj)
      .Add(dependant.CODNUMPERS)
      .AddText(dependant.Nume)
      .AddText(dependant.Prenume);
  AddCalitateMarks(line, dependant.Calitate);
  line.AddMark(dependant.Invaliditate == 1).AddMark(dependant.Invaliditate == 2);
  for (const double coef : dependant.Coef) line.AddNumber(coef);
  return line.Join();
}

}  // namespace traveno::declarations
