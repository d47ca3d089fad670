// The four e-filing files of a year for 1 000 persons x 12 months (800
// permanent employees with a dependant each, 200 partial contracts), text
// and dBASE, each against its floor: the year's Pers and Pint rows read by
// plain SQLite, the two in turns. Target: the four files at most twice the
// floor.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/support/against_floor.h"
#include "bench/support/bench_folder.h"
#include "bench/support/plain_floors.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "declarations/efiling_files.h"
#include "declarations/year_source.h"

namespace traveno::declarations {
namespace {

namespace fs = std::filesystem;

constexpr int kPersons = 1000;
constexpr int kYear = 2003;
const Date kToday = Date::FromYmd(2004, 1, 15);

struct StoredYear {
  StoredYear() {
    folder = ::traveno::bench::BenchFolder::Fresh("efiling");
    fs::create_directories(folder / "out");
    store = std::make_unique<Store>(folder);
    store->EnsureRegisterTables();
    Database& db = store->db();
    FirmeRow company;
    company.Cod = "BENCH";
    company.TipAngaj = 1;
    company.Denumire = "Firma Bench SRL";
    company.CodFiscal = "R1234567";
    RowWriter<FirmeRow>(db, "Firme").Insert(company);
    fs::create_directories(store->CompanyFolderOf("BENCH"));
    store->CreateCompanyTables("BENCH");
    store->OpenCompany("BENCH");
    Transaction tx(db);
    RowWriter<PersRow> pers(db, "Pers");
    RowWriter<PintRow> pint(db, "Pint");
    for (int month = 1; month <= 12; ++month) {
      const Date luna = Date::FromYmd(kYear, month, 1);
      for (const auto& [name, value] :
           {std::pair<const char*, double>{"Pensie", 11.67}, {"SanatateAng", 7}, {"CoefMax", 3}}) {
        db.Run("INSERT INTO Para (Luna, Den, Val, Grupa) VALUES (?, ?, ?, '')", luna, name, value);
      }
      db.Run("INSERT INTO Impo (Luna, P_Venit, V_Const, V_Proc) VALUES (?, 0, 0, 18)", luna);
      db.Run("INSERT INTO Impo (Luna, P_Venit, V_Const, V_Proc) VALUES (?, 3000000, 540000, 25)",
             luna);
      for (int i = 1; i <= kPersons; ++i) {
        PersRow row;
        row.LUNA = luna;
        row.IID = i;
        row.MARCA = i;
        row.TIP = i % 5 == 0 ? "2" : "1";
        row.NUME = "Angajat" + std::to_string(i);
        row.PRENUME = "Ion";
        row.CODNUMPERS = "1700101400011";
        row.LOCALITATE = "Bucuresti";
        row.STRADA = "Lunga";
        row.NUMAR = std::to_string(i % 100);
        row.fisa_rectif = "0";
        row.fisa_regul = "0";
        row.Domiciliu_ext = "0";
        row.CoefInd = 1.5;
        row.VENIT_NET = 3000000 + i * 1000;
        row.DED_PERS = 1700000;
        row.DED_PERS_SUPLI = 850000;
        row.TOTDREPT = row.VENIT_NET - 2550000;
        row.IMPOZIT = row.TOTDREPT * 0.18;
        row.Ch_Prof = 200000;
        if (month == 7 && i % 3 == 0) row.pr_va = 1000000;
        pers.Insert(row);
        if (row.TIP == "1") {
          PintRow dependant;
          dependant.Luna = luna;
          dependant.IID = i;
          dependant.Nume = row.NUME;
          dependant.Prenume = "Copil";
          dependant.CODNUMPERS = "50206014" + std::to_string(10000 + i);
          dependant.Calitate = 1;
          dependant.Coef = 0.5;
          pint.Insert(dependant);
        }
      }
    }
    db.Run("INSERT INTO Impo_an (Luna, P_Venit, V_Const, V_Proc) VALUES (?, 0, 0, 18)",
           Date::FromYmd(kYear, 1, 1));
    tx.Commit();
  }
  ~StoredYear() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  fs::path folder;
  std::unique_ptr<Store> store;
};

StoredYear& Year() {
  static StoredYear year;
  return year;
}

// Against the floor: the year's Pers and Pint rows read by plain SQLite.
void FourFiles(benchmark::State& state, FilingForm form) {
  StoredYear& year = Year();
  ::traveno::bench::PlainDatabase plain(year.folder, "BENCH");
  ::traveno::bench::AgainstFloor(
      state,
      [&] {
        benchmark::DoNotOptimize(plain.ReadRows(
            "SELECT * FROM firma.Pers WHERE LUNA >= ? AND LUNA < ? ORDER BY LUNA, IID, Nr",
            {"2003-01-01", "2004-01-01"}));
        benchmark::DoNotOptimize(plain.ReadRows(
            "SELECT * FROM firma.Pint WHERE Luna >= ? AND Luna < ? ORDER BY Luna, IID, Nr",
            {"2003-01-01", "2004-01-01"}));
      },
      [&] {
        const YearSource source = ReadYearSource(year.store->db(), "BENCH", kYear);
        for (const FilingFile file : kFilingFiles) {
          WriteFilingFile(source, file, form,
                          year.folder / "out" / FilingFileName(file, kYear, form), kToday);
        }
      });
}

void BM_FourTextFiles(benchmark::State& state) { FourFiles(state, FilingForm::kTxt); }
void BM_FourDbaseFiles(benchmark::State& state) { FourFiles(state, FilingForm::kDbf); }
BENCHMARK(BM_FourTextFiles)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FourDbaseFiles)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace traveno::declarations

BENCHMARK_MAIN();
