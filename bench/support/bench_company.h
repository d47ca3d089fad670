// The company the benchmarks measure on: "BENCH" with its first month,
// January 2003, in a data folder of its own inside the run's folder,
// removed when the object goes.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "bench/support/bench_folder.h"
#include "core/prompter.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "params/session.h"

namespace traveno::bench {

// Answers every question yes and shows nothing.
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

struct BenchCompany {
  // `name` tells the folders of several companies of one run apart.
  explicit BenchCompany(const std::string& name) {
    folder = BenchFolder::Fresh(name);
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
  }
  ~BenchCompany() {
    session.reset();
    store.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  BenchCompany(const BenchCompany&) = delete;
  BenchCompany& operator=(const BenchCompany&) = delete;

  std::filesystem::path folder;
  std::unique_ptr<Store> store;
  std::unique_ptr<params::Session> session;
};

}  // namespace traveno::bench
