// Small in-memory year sources for the tests of the yearly figures: the
// parameters and brackets of every month, and Pers and Pint rows built field
// by field.
#pragma once

#include <string>

#include "declarations/year_source.h"

namespace traveno::declarations::testing {

// Monthly brackets 18 % up to 3,000,000 and 25 % above; annual brackets
// 18 % up to 36,000,000 and 25 % above.
inline engine::TaxTable MonthlyBrackets() { return {{0, 0, 18}, {3000000, 540000, 25}}; }
inline engine::TaxTable AnnualBrackets() { return {{0, 0, 18}, {36000000, 6480000, 25}}; }

// A year whose every month has Pensie 10 %, SanatateAng 7 %, InvalidI 1,
// InvalidII 0.5 and CoefMax 3, and the brackets above.
inline YearSource SourceOf(int year) {
  YearSource source;
  source.year = year;
  source.parameters = YearParameters(year);
  for (int month = 1; month <= 12; ++month) {
    source.parameters.AddGeneral(month, "Pensie", 10);
    source.parameters.AddGeneral(month, "SanatateAng", 7);
    source.parameters.AddGeneral(month, "InvalidI", 1);
    source.parameters.AddGeneral(month, "InvalidII", 0.5);
    source.parameters.AddGeneral(month, "CoefMax", 3);
    source.parameters.SetMonthlyBrackets(month, MonthlyBrackets());
  }
  source.parameters.SetAnnualBrackets(AnnualBrackets());
  FirmeRow company;
  company.Cod = "FIXT";
  company.TipAngaj = 1;
  company.CodFiscal = "R1234567";
  company.Denumire = "Fixtura Test SRL";
  source.company = company;
  return source;
}

// A Pers row of a person's month with the figures of a plain month.
inline PersRow MonthRow(int iid, const char* kind, int year, int month) {
  PersRow row;
  row.IID = iid;
  row.TIP = kind;
  row.LUNA = Date::FromYmd(year, month, 1);
  row.NUME = "Popescu";
  row.PRENUME = "Ion";
  row.CODNUMPERS = "1700101400011";
  row.STRADA = "Florilor";
  row.NUMAR = "12";
  row.fisa_rectif = "0";
  row.fisa_regul = "0";
  row.Domiciliu_ext = "0";
  row.CoefInd = 1;
  row.VENIT_NET = 4000000;
  row.DED_PERS = 1700000;
  row.TOTDREPT = 2300000;
  row.IMPOZIT = 414000;
  row.Ch_Prof = 200000;
  return row;
}

inline PintRow DependantRow(int iid, int year, int month, const char* code, int calitate,
                            double coef) {
  PintRow row;
  row.IID = iid;
  row.Luna = Date::FromYmd(year, month, 1);
  row.Nume = "Popescu";
  row.Prenume = code;
  row.CODNUMPERS = code;
  row.Calitate = calitate;
  row.Coef = coef;
  return row;
}

}  // namespace traveno::declarations::testing
