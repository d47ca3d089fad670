// A generated company for the command benchmarks: the demonstration company
// (its parameters, brackets, departments and bonus formula) grown to a given
// number of employees by repeating its twenty people under new identities,
// each with the dependants of the one it repeats, over one or more months
// (every month after the first made by the month transition). Lives in a
// data folder of its own inside the run's folder, or in a folder given and
// then kept (to measure the program itself on it).
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/bench_company.h"
#include "bench/support/bench_folder.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "params/month_cycle.h"
#include "params/session.h"
#include "personnel/demo_company.h"
#include "personnel/pay_grid.h"
#include "personnel/personal_code.h"

namespace traveno::bench {

inline constexpr const char* kGeneratedCode = "DEMO";

struct GeneratedCompany {
  // `employees` lines in each of `months` months from January 2003.
  GeneratedCompany(const std::string& name, int employees, int months = 1)
      : GeneratedCompany(BenchFolder::Fresh(name), employees, months, false) {}
  // In the data folder `data` (made when missing), kept when `keep` is set.
  GeneratedCompany(std::filesystem::path data, int employees, int months, bool keep)
      : folder(std::move(data)), keep_(keep) {
    std::filesystem::create_directories(folder);
    {
      Store register_store(folder);
      register_store.EnsureRegisterTables();
    }
    store = std::make_unique<Store>(folder);
    session = std::make_unique<params::Session>(*store);
    QuietPrompter prompter;
    SilentProgress progress;
    personnel::CreateDemoCompany(*session, prompter, progress);
    Grow(employees);
    personnel::RecalculateCompany(*session, progress);
    for (int month = 1; month < months; ++month) params::PassToNextMonth(*session, progress);
    first_month = Date::FromYmd(2003, 1, 1);
    last_month = session->working_month();
    first_nr = *store->db().QueryInt("SELECT min(Nr) FROM firma.Pers WHERE LUNA = ?", last_month);
  }
  ~GeneratedCompany() {
    session.reset();
    store.reset();
    std::error_code ignored;
    if (!keep_) std::filesystem::remove_all(folder, ignored);
  }
  GeneratedCompany(const GeneratedCompany&) = delete;
  GeneratedCompany& operator=(const GeneratedCompany&) = delete;

  std::filesystem::path folder;
  std::unique_ptr<Store> store;
  std::unique_ptr<params::Session> session;
  Date first_month;
  Date last_month;
  std::int64_t first_nr = 0;

 private:
  bool keep_ = false;

  // A valid personal code of person `n`: its sex, a birth date and an order
  // number that tell it from every other.
  static std::string CodeOf(int n, const std::string& sex) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%c%02d%02d%02d%02d%03d", sex.empty() ? '1' : sex[0],
                  50 + n % 40, 1 + n % 12, 1 + n % 28, 1 + n % 40, n % 1000);
    const std::string twelve(digits, 12);
    return twelve + personnel::ControlDigit(twelve);
  }

  // Repeats the demonstration's lines (and their dependants) until the month
  // holds `employees` lines, in one transaction.
  void Grow(int employees) {
    Database& db = store->db();
    const Date month = session->working_month();
    const std::vector<PersRow> model =
        QueryRows<PersRow>(db, "SELECT * FROM firma.Pers WHERE LUNA = ? ORDER BY IID", month);
    const std::vector<PintRow> model_dependants =
        QueryRows<PintRow>(db, "SELECT * FROM firma.Pint WHERE Luna = ? ORDER BY Nr", month);
    Transaction tx(db);
    RowWriter<PersRow> pers(db, "Pers");
    RowWriter<PintRow> pint(db, "Pint");
    int dependant_number = 0;
    for (int n = static_cast<int>(model.size()); n < employees; ++n) {
      const PersRow& like = model[static_cast<std::size_t>(n) % model.size()];
      PersRow row = like;
      row.Nr = 0;
      row.IID = 0;
      row.MARCA = 1000 + n;
      row.NUME = like.NUME.substr(0, 12) + std::to_string(n);
      row.CODNUMPERS = CodeOf(n, like.CODNUMPERS.substr(0, 1));
      row.SALINC = like.SALINC + (n % 50) * 10000;
      row.Nr = pers.Insert(row);
      row.IID = static_cast<int>(row.Nr);
      pers.Update(row);
      for (const PintRow& dependant : model_dependants) {
        if (dependant.IID != like.IID) continue;
        PintRow copy = dependant;
        copy.Nr = 0;
        copy.IID = row.IID;
        copy.AiPers = static_cast<int>(row.Nr);
        copy.CODNUMPERS = CodeOf(500000 + ++dependant_number, "5");
        pint.Insert(copy);
      }
    }
    tx.Commit();
  }
};

}  // namespace traveno::bench
