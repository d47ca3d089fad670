// The import of a company kept by an earlier version in Paradox tables: ten
// years of 200 employees (24 000 rows of pers.db, in the layout before
// 5.2.8.5, so the upgrades' values are computed on every row), beside the
// floor of writing the same rows into SQLite alone. Target: the import at
// most 3 times the floor.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/data_folder.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "core/store/store.h"
#include "legacy/legacy_import.h"
#include "tests/support/paradox_writer.h"

namespace traveno::legacy {
namespace {

namespace fs = std::filesystem;
using testing::PxField;
using testing::PxRecord;
using testing::PxValue;

constexpr int kYears = 10;
constexpr int kEmployees = 200;

fs::path BenchFolder(const std::string& name) {
  return fs::temp_directory_path() /
         ("traveno-legacy-bench-" + std::to_string(::getpid()) + "-" + name);
}

struct LegacyFolder {
  LegacyFolder() {
    fs::remove_all(source);
    fs::create_directories(source / "MARE");
    const auto firme_fields = testing::ParadoxFieldsOf(FirmeTable().fields);
    PxRecord firme(firme_fields.size());
    firme[0] = std::int64_t{1};
    firme[1] = std::string("MARE");
    firme[2] = std::int64_t{1};
    firme[3] = std::string("Întreprinderea Mare");
    testing::WriteParadoxTable(source / "Firme.DB", firme_fields, {firme});

    const auto fields = testing::PersFieldsBefore(5);
    auto index_of = [&](const std::string& name) {
      for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name) return i;
      }
      throw std::runtime_error(name);
    };
    std::vector<PxRecord> records;
    std::int64_t nr = 1;
    for (int month = 0; month < kYears * 12; ++month) {
      const Date luna = Date::FromYmd(1993 + month / 12, month % 12 + 1, 1);
      for (int person = 1; person <= kEmployees; ++person) {
        PxRecord record(fields.size());
        record[index_of("Nr")] = nr;
        row_numbers.push_back(nr++);
        record[index_of("LUNA")] = luna;
        record[index_of("IID")] = std::int64_t{person};
        record[index_of("TIP")] = std::string(person % 10 == 0 ? "2" : "1");
        record[index_of("NUME")] = std::string("Ştefănescu");
        record[index_of("PRENUME")] = std::string("Ţuţu " + std::to_string(person));
        record[index_of("CODNUMPERS")] = std::string("1750315123456");
        record[index_of("SALINC")] = 4000000.0 + person;
        record[index_of("BRUT")] = 4100000.0 + person;
        record[index_of("CoefInd")] = 1.5;
        record[index_of("CoefInd1")] = 1.5;
        record[index_of("DATA_ANG")] = Date::FromYmd(1990, 1, 1);
        record[index_of("MARCA")] = std::int64_t{person};
        records.push_back(std::move(record));
      }
    }
    testing::WriteParadoxTable(source / "MARE" / "pers.db", fields, records);
    const auto parf_fields = testing::ParadoxFieldsOf(ParFTable().fields);
    std::vector<PxRecord> parf;
    for (int month = 0; month < kYears * 12; ++month) {
      PxRecord record(parf_fields.size());
      record[0] = std::int64_t{month + 1};
      record[1] = Date::FromYmd(1993 + month / 12, month % 12 + 1, 1);
      record[2] = std::string("Deschisa");
      record[3] = 0.0;
      parf.push_back(record);
    }
    testing::WriteParadoxTable(source / "MARE" / "parf.db", parf_fields, parf);
    // The layout keeps dependants and photos; this company has none.
    testing::WriteParadoxTable(source / "MARE" / "Pint.db",
                               testing::ParadoxFieldsOf(PintTable().fields), {});
    testing::WriteParadoxTable(source / "MARE" / "poze.db",
                               testing::ParadoxFieldsOf(PozeTable().fields), {});
  }
  ~LegacyFolder() { fs::remove_all(source); }

  fs::path source = BenchFolder("source");
  std::vector<std::int64_t> row_numbers;
};

LegacyFolder& Folder() {
  static LegacyFolder folder;
  return folder;
}

fs::path FreshDataFolder() {
  const fs::path data = BenchFolder("data");
  fs::remove_all(data);
  fs::create_directories(data);
  Store(data).EnsureRegisterTables();
  return data;
}

void BM_ImportLegacyCompany(benchmark::State& state) {
  LegacyFolder& folder = Folder();
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path data = FreshDataFolder();
    state.ResumeTiming();
    LegacyImportOptions options;
    options.source = folder.source;
    SilentProgress progress;
    const LegacyImportReport report = ImportLegacyData(data, options, progress);
    if (!report.Complete()) state.SkipWithError("the import failed");
  }
  state.SetItemsProcessed(state.iterations() * kYears * 12 * kEmployees);
}

// The floor: the same 24 000 rows, already in memory, written into a new
// company database in one transaction.
void BM_WriteRowsIntoSqlite(benchmark::State& state) {
  Folder();
  std::vector<PersRow> rows;
  for (int month = 0; month < kYears * 12; ++month) {
    for (int person = 1; person <= kEmployees; ++person) {
      PersRow row;
      row.Nr = static_cast<std::int64_t>(rows.size()) + 1;
      row.LUNA = Date::FromYmd(1993 + month / 12, month % 12 + 1, 1);
      row.IID = person;
      row.TIP = person % 10 == 0 ? "2" : "1";
      row.NUME = "Ştefănescu";
      row.PRENUME = "Ţuţu " + std::to_string(person);
      row.SALINC = 4000000.0 + person;
      rows.push_back(row);
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path data = FreshDataFolder();
    fs::create_directories(data / "MARE");
    Store store(data);
    store.CreateCompanyTables("MARE");
    store.OpenCompany("MARE");
    state.ResumeTiming();
    Transaction tx(store.db());
    RowWriter<PersRow> writer(store.db(), "Pers");
    for (const PersRow& row : rows) writer.Insert(row, true);
    tx.Commit();
  }
  state.SetItemsProcessed(state.iterations() * kYears * 12 * kEmployees);
}

BENCHMARK(BM_ImportLegacyCompany)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WriteRowsIntoSqlite)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace traveno::legacy

BENCHMARK_MAIN();
