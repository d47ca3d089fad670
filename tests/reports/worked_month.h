// A month of four rows whose printed totals are worked out apart from the
// program (by worked_month.py, from the same inputs and the rules of the
// company totals and funds): two permanent employees (the second a
// pensioner paid by piece-work) and two partial contracts (the first with
// CIAS, unemployment withheld and counted in the employer's base, the second
// with none of these). Every figure of a row is its field's own base times
// the row's multiplier (1, 2, 4 and 7), so every field, every row and every
// group sums to a figure of its own: a term taken from a neighbouring field
// or a row counted in the wrong group changes what is printed.
#pragma once

#include <map>
#include <string>

#include "tests/reports/documents_fixture.h"

namespace traveno::reports::testing {

class WorkedMonthFixture : public DocumentsFixture {
 protected:
  void SetUp() override {
    DocumentsFixture::SetUp();
    const std::pair<const char*, double> general[] = {
        {"SomajAng", 1},       {"SomajCol", 0.5},     {"SomajFirm", 3}, {"SanatateAng", 6.5},
        {"SanatateFirm", 7},   {"Pensie", 9.5},       {"CAS", 22},      {"Handicap", 4},
        {"PersHandi", 4},      {"Invat", 2},          {"BazaInvat", 0}, {"Accident", 0.5},
        {"SalMedEc", 6962000}, {"SalMinEc", 2500000},
    };
    for (const auto& [name, value] : general) SetGeneral(name, value);
    const std::pair<const char*, double> company[] = {
        {"TimpLuna", 168}, {"TimpZile", 0},  {"MedieOre", 168}, {"ComisionCM", 0.75},
        {"Spor1_Apl", 0},  {"Spor2_Apl", 0}, {"Spor3_Apl", 0},  {"Spor4_Apl", 0},
    };
    for (const auto& [name, value] : company) SetCompany(name, value);
    SetCompanyText("Ex_Firma", "DA");
    SetCompanyText("Spor1_Den", "Vechime");
    SetCompanyText("Spor2_Den", "Conditii");
    SetCompanyText("Spor3_Den", "Telefon");
    SetCompanyText("Spor4_Den", "Productivitate");

    PersRow p1 = Row("ALFA", "1", 1);
    Add(p1);
    PersRow p2 = Row("BETA", "1", 2);
    p2.ACORD = "D";
    p2.Pensionar = 1;
    Add(p2);
    PersRow c1 = Row("GAMA", "2", 4);
    c1.ALT_VENIT = 1;
    c1.BifaSom = 1;
    c1.Domiciliu_ext = "1";
    c1.Ore_Zi = 4;
    Add(c1);
    PersRow c2 = Row("DELTA", "2", 7);
    c2.Domiciliu_ext = "0";
    c2.Ore_Zi = 2;
    Add(c2);
  }

  // A row whose every figure is its field's base times `multiplier`.
  PersRow Row(const std::string& nume, const std::string& tip, int multiplier) {
    PersRow r = Employee(nume, tip);
    const double m = multiplier;
    r.SALINC = 4210000 * m;
    r.REALIZAT = 1330000 * m;
    r.VAL_TIMP_S = 151000 * m;
    r.SUMA_ZILE_CO = 187000 * m;
    r.vals1 = 61300 * m;
    r.vals2 = 52700 * m;
    r.vals3 = 43900 * m;
    r.vals4 = 38100 * m;
    r.SUMA_T_NOAPTE = 27300 * m;
    r.ALTE_SUME = 19100 * m;
    r.SPORURI = 23500 * m;
    r.pr_va = 112300 * m;
    r.Dif_Brut = 8700 * m;
    r.CM1L = 97301 * m;
    r.PRIME = 131900 * m;
    r.CM2L = 71329 * m;
    r.CIC = 55913 * m;
    r.SumeExcept = 34717 * m;
    r.BRUT = 5123137 * m;
    r.SANATATE = 333100 * m;
    r.PENSIE = 486700 * m;
    r.SOMAJ = 51300 * m;
    r.VENIT_NET = 4251900 * m;
    r.Ch_Prof = 270100 * m;
    r.DED_PERS = 1800300 * m;
    r.DED_PERS_SUPLI = 900700 * m;
    r.TOTDREPT = 1281100 * m;
    r.IMPOZIT = 294700 * m;
    r.AVANS = 1000900 * m;
    r.RETINERI = 12900 * m;
    r.AVANS_CO = 160100 * m;
    r.PRIME_INCASATE = 14300 * m;
    r.POPRIRI = 16700 * m;
    r.GARANTII = 18900 * m;
    r.ALTE_RET = 21100 * m;
    r.RESTPL = 2701300 * m;
    r.TIMP = 41 * m;
    r.TIMP_SPL = 3 * m;
    r.ZILE_CO = 1 * m;
    r.TIMP_NOAPTE = 5 * m;
    r.ZILE_FP = 2 * multiplier;
    r.ZILE_CM = 4 * multiplier;
    r.ZILE_CIC = 6 * multiplier;
    return r;
  }
};

}  // namespace traveno::reports::testing
