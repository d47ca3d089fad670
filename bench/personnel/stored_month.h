// A stored month for the personnel benchmarks: a company whose one month
// holds `lines` employees of both kinds, recalculated once, kept for the
// whole run (one per size) and removed at exit.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/support/bench_company.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "params/parameter_store.h"
#include "personnel/grid_line.h"
#include "personnel/pay_grid.h"

namespace traveno::personnel::bench {

using ::traveno::bench::QuietPrompter;

// A company with one month of `lines` employees of both kinds, with bonuses
// in several modes (one by formula), piece-work and hourly pay.
struct StoredMonth : ::traveno::bench::BenchCompany {
  explicit StoredMonth(int lines) : BenchCompany(std::to_string(lines)) {
    SilentProgress progress;
    Database& db = store->db();
    const Date month = session->working_month();
    {
      Transaction tx(db);
      params::WriteCompany(db, month, "TimpZile", 0);
      params::WriteCompany(db, month, "TimpLuna", 168);
      params::WriteCompany(db, month, "Spor1_Apl", 1);
      params::WriteCompany(db, month, "Spor2_Apl", 2);
      params::WriteCompany(db, month, "Spor3_Apl", 0);
      params::WriteCompany(db, month, "Spor4_Apl", 5);
      params::WriteCompanyText(db, month, "Spor4_Form",
                               "\"SALINC\" * 3 / 100 + \"TIMP_SPL\" * 10000");
      RowWriter<PersRow> writer(db, "Pers");
      for (int i = 0; i < lines; ++i) {
        PersRow row;
        row.LUNA = month;
        row.TIP = i % 5 == 4 ? "2" : "1";
        row.NUME = "ANGAJAT" + std::to_string(i);
        row.PRENUME = "ION";
        row.Depart = i % 2 ? "CENTRAL" : "PRODUCT";
        row.SALINC = 2500000 + (i % 40) * 125000;
        row.TIMP = row.TIP == "1" ? 168 - (i % 3) * 8 : 80;
        row.TIMP_SPL = i % 7;
        row.Spor1 = (i % 4) * 5;
        row.spor2 = i % 3 ? 10 : 0;
        row.spor3 = i % 6 ? 0 : 300000;
        row.ZILE_CO = i % 11 ? 0 : 2;
        row.AVANS = 1000000;
        row.SumeExcept = i % 9 ? 0 : 500000;
        row.ACORD = i % 13 == 0 ? "D" : "";
        row.REALIZAT = i % 13 == 0 ? 4000000 : 0;
        row.PlatitOra = i % 17 == 0 ? 1 : 0;
        row.CoefInd = row.CoefInd1 = 1 + (i % 3) * 0.5;
        row.ProcImpo = 100;
        row.NORMA = 8;
        row.Ore_Zi = row.TIP == "2" ? 4 : 0;
        row.BifaSom = row.TIP == "2" ? 1 : 0;
        row.DATA_ANG = Date::FromYmd(2000, 1 + i % 12, 1);
        row.Nr = writer.Insert(row);
        row.IID = static_cast<int>(row.Nr);
        writer.Update(row);
      }
      tx.Commit();
    }
    session->LoadParameters();
    first_nr = *db.QueryInt("SELECT MIN(Nr) FROM firma.Pers");
    RecalculateCompany(*session, progress);
  }
  std::int64_t first_nr = 0;
};

inline StoredMonth& Month(int lines) {
  static std::map<int, std::unique_ptr<StoredMonth>> months;
  auto& month = months[lines];
  if (!month) month = std::make_unique<StoredMonth>(lines);
  return *month;
}

}  // namespace traveno::personnel::bench
