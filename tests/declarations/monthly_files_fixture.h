// The month of the FILE company whose declaration files are kept, worked out
// by hand, in expected/monthly (see expected/make_monthly_expected.py):
// March 2003, counted in days (22 working days), three permanent employees
// (one on leave paid by the employer, one on leave paid by the state and on
// child-care leave, one a pensioner on a norm of 6 hours) and two partial
// contracts (one with another main income and the unemployment contribution
// withheld, one without), and the unemployment figures stored for the month.
// Every field of a record differs from its neighbours, the names and texts
// fill their fields with Romanian letters, and some are stored in small
// letters where a file writes them as stored.
#pragma once

#include "tests/declarations/monthly_fixture.h"

namespace traveno::declarations::testing {

// The date the files' dBASE headers carry and the declaration's date.
inline const Date kFilesToday = Date::FromYmd(2003, 4, 5);

class MonthlyFilesFixture : public MonthlyFixture {
 protected:
  void SetUp() override {
    MonthlyFixture::SetUp();
    db().Run(
        "UPDATE main.Firme SET TipAngaj = 1, Denumire = ?, CodFiscal = 'R1234567', "
        "RegCom = 'J40/1234/1998', Banca1 = 'BCR', Filiala1 = 'SECTOR 1', "
        "Cont1 = 'RO49RNCB0082004530120001', Banca2 = 'BRD', Filiala2 = 'UNIRII', "
        "Cont2 = '2511009876', Banca3 = ?, Filiala3 = ?, Cont3 = '2511.1-555.7', "
        "Localitate = ?, Strada = ?, Numar = '5A', Bloc = 'A1', Scara = 'C', Etaj = '8', "
        "Ap = '14', Telefon = '021-3334455', Sector = '6', EMail = 'Office@Fixt.ro' "
        "WHERE Cod = 'FIRMA'",
        std::string("SC Fixtură Lunară și Țesături"), std::string("BANCA ȚĂRĂNEASCĂ"),
        std::string("PIATRA NEAMȚ"), std::string("BUCUREȘTI"), std::string("ȘTEFAN CEL MARE"));
    const Date month = session_->working_month();
    const std::pair<const char*, double> general[] = {
        {"SomajAng", 1},       {"SomajCol", 0.5},    {"SanatateAng", 6.5}, {"SomajFirm", 3},
        {"SanatateFirm", 7},   {"CAS", 22},          {"Accident", 0.5},    {"Handicap", 0},
        {"SalMedEc", 6962000}, {"SalMinEc", 2500000}};
    for (const auto& [name, value] : general) params::WriteGeneral(db(), month, name, value);
    const std::pair<const char*, double> company[] = {
        {"TimpLuna", 22},   {"TimpZile", 1},   {"ZiLichidare", 10}, {"SDAsig", 170000},
        {"SVAsig", 150000}, {"SDAng", 466500}, {"SVAng", 400000},   {"DedSomaj", 1000},
        {"RestAs", 2000},   {"RestAn", 3000},  {"Penal", 4000},     {"Maj", 5000},
        {"TipCalcul", 1}};
    for (const auto& [name, value] : company) params::WriteCompany(db(), month, name, value);
    params::WriteCompanyText(db(), month, "Ex_Firma", "NU");
    session_->LoadParameters();

    // Leave paid by the employer; exempt sums, which Ex_Firma keeps out.
    PersRow popescu = FileRow("POPESCU", "ION", "1", "1700101400011", 10000000, 1);
    popescu.TIMP = 17;
    popescu.ZILE_CO = 2;
    popescu.ZILE_CM = 3;
    popescu.CM1L = 450000;
    popescu.SumeExcept = 200000;
    popescu.PENSIE = 955000;
    popescu.SOMAJ = 100000;
    // Leave paid by the employer and by the state, and child-care leave.
    PersRow stefanescu =
        FileRow("Ștefănescu-Țăranu", "Ana-Ștefana", "1", "2751231400022", 6000000, 2);
    stefanescu.TIMP = 16;
    stefanescu.ZILE_CO = 1;
    stefanescu.ZILE_CM = 3;
    stefanescu.CM1L = 100000;
    stefanescu.CM2L = 300000;
    stefanescu.ZILE_CIC = 2;
    stefanescu.CIC = 150000;
    stefanescu.PENSIE = 545000;
    stefanescu.SOMAJ = 60000;
    PersRow radu = FileRow("RADU", "MIHAI", "1", "1450505400033", 4000000, 3);
    radu.Pensionar = 1;
    radu.NORMA = 6;
    radu.PENSIE = 380000;
    PersRow lupu = FileRow("LUPU-ȚIBULEAC", "ANCA-LĂCRĂMIOARA", "2", "2660308400044", 2000000, 4);
    lupu.TIMP = 19;
    lupu.ZILE_CO = 1;
    lupu.ALT_VENIT = 1;
    lupu.Ore_Zi = 4;
    lupu.Domiciliu_ext = "1";
    lupu.PENSIE = 190000;
    lupu.SOMAJ = 10000;
    PersRow oprea = FileRow("OPREA", "DAN", "2", "1820707400055", 1000000, 5);
    oprea.Ore_Zi = 2;
    oprea.Domiciliu_ext = "0";
    for (const PersRow& row : {popescu, stefanescu, radu, lupu, oprea}) Add(row);
  }

  PersRow FileRow(const char* nume, const char* prenume, const char* tip, const char* code,
                  double brut, int marca) {
    PersRow row = Row(nume, tip, brut);
    row.PRENUME = prenume;
    row.CODNUMPERS = code;
    row.MARCA = marca;
    row.TIMP = 22;
    return row;
  }
};

}  // namespace traveno::declarations::testing
