// The pay grid over a stored month: RecalculateCompany over 1 000, 10 000
// and 100 000 lines, beside the floor of reading and rewriting the same lines
// with SQLite (what no implementation can go under), and the single-line
// recalculation of a month of 100 and of 10 000 lines. Targets: the
// recalculation at most 1.5 times the floor at 10 000 lines; a single line at
// 10 000 lines at most 1.2 times its time at 100 lines.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "core/store/row_io.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "params/parameter_store.h"
#include "personnel/grid_line.h"
#include "personnel/pay_grid.h"

namespace traveno::personnel {
namespace {

class QuietPrompter final : public Prompter {
 public:
  void Message(MessageKind, const std::string&) override {}
  bool AskYesNo(const std::string&) override { return true; }
  std::optional<std::string> AskText(const std::string&, const std::string&,
                                     const std::string& initial) override {
    return initial;
  }
  std::string AskTypedConfirmation(const std::string&) override { return "CONFIRM"; }
};

// A company with one month of `lines` employees of both kinds, with bonuses
// in several modes (one by formula), piece-work and hourly pay.
struct StoredMonth {
  explicit StoredMonth(int lines) {
    folder = std::filesystem::temp_directory_path() /
             ("traveno-bench-" + std::to_string(::getpid()) + "-" + std::to_string(lines));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    store = std::make_unique<Store>(folder);
    store->EnsureRegisterTables();
    session = std::make_unique<params::Session>(*store);
    QuietPrompter prompter;
    SilentProgress progress;
    params::CompanyInput company;
    company.row.Cod = "BENCH";
    company.row.Denumire = "FIRMA BENCH";
    params::AddCompany(*store, company, prompter);
    params::ChooseCompanyAndMonth(*session, "BENCH", Date::FromYmd(2003, 1, 1), prompter, progress);
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
      params::WriteCompanyText(db, month, "Spor4_Form", "\"SALINC\" * 3 / 100 + \"TIMP_SPL\" * 10000");
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
  ~StoredMonth() {
    session.reset();
    store.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  std::filesystem::path folder;
  std::unique_ptr<Store> store;
  std::unique_ptr<params::Session> session;
  std::int64_t first_nr = 0;
};

StoredMonth& Month(int lines) {
  static std::map<int, std::unique_ptr<StoredMonth>> months;
  auto& month = months[lines];
  if (!month) month = std::make_unique<StoredMonth>(lines);
  return *month;
}

void BM_RecalculateCompany(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  SilentProgress progress;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RecalculateCompany(*month.session, progress));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The floor: every column of every line of the month read, and every line
// rewritten column by column with one prepared statement, in one transaction.
void BM_ReadRewriteFloor(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  Database& db = month.store->db();
  const auto fields = FieldsOf<PersRow>();
  std::string sets;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    sets += (i > 1 ? ", " : "") + QuoteIdentifier(fields[i].name) + " = ?";
  }
  for (auto _ : state) {
    Statement read = db.Prepare("SELECT * FROM firma.Pers WHERE LUNA = ? ORDER BY LUNA, IID, Nr");
    read.Bind(1, month.session->working_month());
    Transaction tx(db);
    Statement write = db.Prepare("UPDATE firma.Pers SET " + sets + " WHERE Nr = ?");
    const int columns = read.ColumnCount();
    std::vector<FieldValue> values(static_cast<std::size_t>(columns));
    while (read.Step()) {
      for (int c = 0; c < columns; ++c) {
        const FieldKind kind = fields[static_cast<std::size_t>(c)].kind;
        if (kind == FieldKind::kDouble) {
          values[c] = read.Double(c);
        } else if (kind == FieldKind::kText || kind == FieldKind::kDate) {
          values[c] = read.Text(c);
        } else {
          values[c] = read.Int64(c);
        }
      }
      write.Reset();
      for (int c = 1; c < columns; ++c) write.Bind(c, values[c]);
      write.Bind(columns, values[0]);
      write.Run();
    }
    tx.Commit();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SingleLine(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  double timp = 160;
  for (auto _ : state) {
    timp = timp == 160 ? 168 : 160;
    benchmark::DoNotOptimize(
        UpdateGridLine(*month.session, month.first_nr, {{"TIMP", FieldValue(timp)}}));
  }
}

BENCHMARK(BM_ReadRewriteFloor)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateCompany)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRewriteFloor)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateCompany)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SingleLine)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace traveno::personnel

BENCHMARK_MAIN();
