// The company "FIXT" with one full year of stored rows, the same for any
// year: its parameters and brackets of every month, three persons and two
// dependants. Every figure of its files is worked out by hand from these
// rows (see the expected files beside this header).
//
// - POPESCU ION (IID 1, permanent, all year): coefficient 1.5 until May and
//   2 from June (a spouse all year, a child from June), a holiday bonus of
//   1,000,000 in July, 200,000 professional expenses a month: he carries a
//   regularisation.
// - Stefanescu Maria (IID 2, permanent, hired 10 March): invalidity grade I
//   until June and II from July, a March whose deductions exceed the net, a
//   corrective sheet; her December row has a wrong personal code and no
//   street number, so the code and address of November are written.
// - VASILE DAN (IID 3, partial contract, situation code 3), leaving on 30
//   November.
#pragma once

#include <filesystem>
#include <string>

#include "core/store/row_io.h"
#include "core/store/store.h"

namespace traveno::declarations::testing {

inline constexpr const char* kFixtureCompany = "FIXT";

// The row of a plain month of a permanent employee, with the figures given.
inline PersRow FixtureRow(int iid, int year, int month) {
  PersRow row;
  row.IID = iid;
  row.MARCA = iid;
  row.TIP = "1";
  row.LUNA = Date::FromYmd(year, month, 1);
  row.Depart = "CENTRAL";
  row.fisa_rectif = "0";
  row.fisa_regul = "0";
  row.Domiciliu_ext = "0";
  row.Ch_Prof = 200000;
  return row;
}

inline PersRow Popescu(int year, int month) {
  PersRow row = FixtureRow(1, year, month);
  row.NUME = "Popescu";
  row.PRENUME = "Ion";
  row.CODNUMPERS = "1700101400011";
  row.FUNCTIE = "Economist";
  row.LOCALITATE = "Bucuresti";
  row.Judet = "B";
  row.STRADA = "Florilor";
  row.NUMAR = "12";
  row.CODPOSTAL = "71234";
  row.BLOC = "A1";
  row.SCARA = "2";
  row.ETAJ = "3";
  row.AP = "14";
  row.SECTOR = "2";
  row.DATA_ANG = Date::FromYmd(1998, 5, 1);
  row.VENIT_NET = 4000000;
  row.DED_PERS = 1700000;
  if (month <= 5) {
    row.CoefInd = 1.5;
    row.DED_PERS_SUPLI = 850000;
    row.TOTDREPT = 1450000;
    row.IMPOZIT = 261000;
  } else {
    row.CoefInd = 2;
    row.DED_PERS_SUPLI = 1700000;
    row.TOTDREPT = 600000;
    row.IMPOZIT = 108000;
  }
  if (month == 7) {
    // The bonus's net (1,000,000 less 10 % pension and 7 % health) is in
    // the net income; its tax, 18 % of 930,000, in the month's tax.
    row.pr_va = 1000000;
    row.VENIT_NET = 4830000;
    row.IMPOZIT = 108000 + 167400;
  }
  row.CoefInd1 = row.CoefInd;
  return row;
}

inline PersRow Stefanescu(int year, int month) {
  PersRow row = FixtureRow(2, year, month);
  row.NUME = "\xC8\x98tef\xC4\x83nescu";  // Ștefănescu
  row.PRENUME = "Maria";
  row.CODNUMPERS = month == 12 ? "2750315123451" : "2750315123450";
  row.FUNCTIE = "Contabil";
  row.LOCALITATE = "Cluj-Napoca";
  row.Judet = "CJ";
  row.STRADA = month == 12 ? "Noua" : "Mare";
  row.NUMAR = month == 12 ? "" : "7A";
  row.fisa_rectif = "1";
  row.DATA_ANG = Date::FromYmd(year, 3, 10);
  row.INVALIDITATE = month <= 6 ? 1 : 2;
  row.DED_PERS = 1700000;
  if (month == 3) {
    row.CoefInd = 2;
    row.VENIT_NET = 1500000;
    row.DED_PERS_SUPLI = 1700000;
  } else if (month <= 6) {
    row.CoefInd = 2;
    row.VENIT_NET = 5000000;
    row.DED_PERS_SUPLI = 1700000;
    row.TOTDREPT = 1600000;
    row.IMPOZIT = 288000;
  } else {
    row.CoefInd = 1.5;
    row.VENIT_NET = 5000000;
    row.DED_PERS_SUPLI = 850000;
    row.TOTDREPT = 2450000;
    row.IMPOZIT = 441000;
  }
  row.CoefInd1 = row.CoefInd;
  return row;
}

inline PersRow Vasile(int year, int month) {
  PersRow row = FixtureRow(3, year, month);
  row.TIP = "2";
  row.NUME = "Vasile";
  row.PRENUME = "Dan";
  row.CODNUMPERS = "1801012222221";
  row.FUNCTIE = "Paznic";
  row.LOCALITATE = "Iasi";
  row.Judet = "IS";
  row.STRADA = "Pacii";
  row.NUMAR = "3";
  row.CODPOSTAL = "70010";
  row.fisa_regul = "3";
  row.DATA_ANG = Date::FromYmd(2000, 1, 15);
  row.DATA_LICH = Date::FromYmd(year, 11, 30);
  row.VENIT_NET = 1000000;
  row.TOTDREPT = 1000000;
  row.IMPOZIT = 150000;
  row.Ch_Prof = 0;
  return row;
}

inline PintRow FixtureDependant(int year, int month, bool spouse) {
  PintRow row;
  row.IID = 1;
  row.Luna = Date::FromYmd(year, month, 1);
  row.Nume = "Popescu";
  row.Prenume = spouse ? "Elena" : "Andrei";
  row.CODNUMPERS = spouse ? "2720202400022" : "5020601400033";
  row.Calitate = spouse ? 0 : 1;
  row.Coef = 0.5;
  return row;
}

// Makes the company in the data folder (register tables included) with the
// rows of `year`. The general parameters of every month: Pensie 10,
// SanatateAng 7, InvalidI 1, InvalidII 0.5, CoefMax 3; monthly brackets 18 %
// up to 3,000,000 then 25 %; annual brackets 18 % up to 36,000,000 then 25 %.
inline void BuildFixtureCompany(const std::filesystem::path& data_folder, int year) {
  std::filesystem::create_directories(data_folder);
  Store store(data_folder);
  store.EnsureRegisterTables();
  Database& db = store.db();
  FirmeRow company;
  company.Cod = kFixtureCompany;
  company.TipAngaj = 1;
  company.Denumire = "Fixtura Test SRL";
  company.CodFiscal = "R1234567";
  company.RegCom = "J40/1234/1998";
  company.Localitate = "Bucuresti";
  company.Judet = "B";
  company.Strada = "Lunga";
  company.Numar = "5";
  company.CodPostal = "70000";
  company.Sector = "3";
  company.Telefon = "021-3334455";
  company.EMail = "Office@Fixt.ro";
  RowWriter<FirmeRow>(db, "Firme").Insert(company);
  std::filesystem::create_directories(store.CompanyFolderOf(kFixtureCompany));
  store.CreateCompanyTables(kFixtureCompany);
  store.OpenCompany(kFixtureCompany);

  Transaction tx(db);
  RowWriter<PersRow> pers(db, "Pers");
  RowWriter<PintRow> pint(db, "Pint");
  for (int month = 1; month <= 12; ++month) {
    const Date luna = Date::FromYmd(year, month, 1);
    db.Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, 'Deschisa', 0, '')", luna);
    db.Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, 'DEP_CENTRAL', 0, '')", luna);
    for (const auto& [name, value] : {std::pair<const char*, double>{"Pensie", 10},
                                      {"SanatateAng", 7},
                                      {"InvalidI", 1},
                                      {"InvalidII", 0.5},
                                      {"CoefMax", 3}}) {
      db.Run("INSERT INTO Para (Luna, Den, Val, Grupa) VALUES (?, ?, ?, '')", luna, name, value);
    }
    db.Run("INSERT INTO Impo (Luna, P_Venit, V_Const, V_Proc) VALUES (?, 0, 0, 18)", luna);
    db.Run("INSERT INTO Impo (Luna, P_Venit, V_Const, V_Proc) VALUES (?, 3000000, 540000, 25)",
           luna);
    pers.Insert(Popescu(year, month));
    if (month >= 3) pers.Insert(Stefanescu(year, month));
    if (month <= 11) pers.Insert(Vasile(year, month));
    pint.Insert(FixtureDependant(year, month, true));
    if (month >= 6) pint.Insert(FixtureDependant(year, month, false));
  }
  const Date january = Date::FromYmd(year, 1, 1);
  db.Run("INSERT INTO Impo_an (Luna, P_Venit, V_Const, V_Proc) VALUES (?, 0, 0, 18)", january);
  db.Run("INSERT INTO Impo_an (Luna, P_Venit, V_Const, V_Proc) VALUES (?, 36000000, 6480000, 25)",
         january);
  tx.Commit();
}

}  // namespace traveno::declarations::testing
