// One-byte damages of the Paradox tables of a legacy folder, at random but
// from a fixed seed: every import ends (a watchdog stops the test when one
// does not), a damaged table refuses its company by name and writes nothing
// of it, and every company whose tables are whole is imported exactly as the
// clean folder imports it.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/sqlite.h"
#include "core/store/store.h"
#include "legacy/legacy_import.h"
#include "tests/legacy/legacy_fixture.h"
#include "tests/support/data_snapshot.h"
#include "tests/support/temp_folder.h"

namespace traveno::legacy {
namespace {

namespace fs = std::filesystem;

constexpr int kDamages = 400;
constexpr auto kLongestRun = std::chrono::seconds(30);
const std::vector<std::string> kCompanies = {"ARICI", "BUFNITA", "CORB"};

// Ends the whole test program when one import runs longer than kLongestRun:
// a hung import would otherwise hang the test.
class Watchdog {
 public:
  explicit Watchdog(std::string what)
      : what_(std::move(what)), thread_([this] {
          std::unique_lock lock(mutex_);
          if (!done_cv_.wait_for(lock, kLongestRun, [this] { return done_; })) {
            std::fprintf(stderr, "The import did not end within 30 s: %s\n", what_.c_str());
            std::_Exit(3);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    done_cv_.notify_one();
    thread_.join();
  }

 private:
  std::string what_;
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::thread thread_;
};

// What a company became in the data folder: its register row (without the
// row number, which follows the order of the imports) and its tables.
std::string CompanyState(const fs::path& data, const std::string& code) {
  std::string text;
  {
    Database db(data / kRegisterDatabaseName, false);
    Statement row = db.Prepare("SELECT * FROM Firme WHERE Cod = ?");
    row.Bind(1, code);
    if (!row.Step()) return "";
    for (int i = 0; i < row.ColumnCount(); ++i) {
      if (row.ColumnName(i) != "CodF") text += row.Text(i) + "|";
    }
  }
  return text + "\n" + testing::DatabaseSnapshot(CompanyFolder(data, code) / kCompanyDatabaseName);
}

// The register's parameter and bracket tables.
std::string SharedTables(const fs::path& data) {
  Database db(data / kRegisterDatabaseName, false);
  std::string text;
  for (const char* table : {"Para", "Impo", "Impo_an"}) {
    const std::string columns =
        std::string(table) == "Para" ? "Luna, Den, Val, Grupa" : "Luna, P_Venit, V_Const, V_Proc";
    Statement rows = db.Prepare("SELECT " + columns + " FROM " + table + " ORDER BY Nr");
    while (rows.Step()) {
      for (int i = 0; i < 4; ++i) text += rows.Text(i) + "|";
      text += "\n";
    }
  }
  return text;
}

struct Damage {
  fs::path file;
  std::uintmax_t offset = 0;
  char value = 0;
};

// A byte of one of the tables: half of them in the fixed part of a header,
// where the sizes, counts and block numbers lie, a quarter in the rest of a
// header (field descriptions and names), a quarter anywhere.
Damage ChooseDamage(std::mt19937& random, const std::vector<fs::path>& files) {
  Damage damage;
  damage.file = files[std::uniform_int_distribution<std::size_t>(0, files.size() - 1)(random)];
  const std::uintmax_t size = fs::file_size(damage.file);
  const int region = std::uniform_int_distribution<int>(0, 3)(random);
  const std::uintmax_t end = region <= 1   ? std::min<std::uintmax_t>(size, 0x78)
                             : region == 2 ? std::min<std::uintmax_t>(size, 2048)
                                           : size;
  damage.offset = std::uniform_int_distribution<std::uintmax_t>(0, end - 1)(random);
  std::ifstream in(damage.file, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(damage.offset));
  const char old = static_cast<char>(in.get());
  do {
    damage.value = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
  } while (damage.value == old);
  return damage;
}

void Write(const fs::path& file, std::uintmax_t offset, char value) {
  std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
  out.seekp(static_cast<std::streamoff>(offset));
  out.put(value);
}

TEST(DamagedLegacyTablesTest, EveryImportEndsAndRefusesOnlyTheCompanyOfADamagedTable) {
  testing::TempFolder source;
  testing::WriteLegacyRegister(source.path(), {{"ARICI"}, {"BUFNITA"}, {"CORB"}}, false);
  testing::WriteLegacyCompany(source.path() / "ARICI", 11);
  testing::WriteLegacyCompany(source.path() / "BUFNITA", 5);
  testing::WriteLegacyCompany(source.path() / "CORB", 1);
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(source.path())) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());

  testing::TempFolder empty_data;
  Store(empty_data.path()).EnsureRegisterTables();
  const std::string untouched = testing::DataSnapshot(empty_data.path());
  LegacyImportOptions options;
  options.source = source.path();
  SilentProgress progress;
  auto import_into = [&](const fs::path& data) {
    fs::remove_all(data);
    fs::copy(empty_data.path(), data, fs::copy_options::recursive);
    return ImportLegacyData(data, options, progress);
  };

  testing::TempFolder clean;
  ASSERT_TRUE(import_into(clean.path()).Complete());
  std::map<std::string, std::string> clean_state;
  for (const std::string& code : kCompanies) clean_state[code] = CompanyState(clean.path(), code);
  const std::string clean_shared = SharedTables(clean.path());

  std::mt19937 random(20020301);
  int refused = 0;
  int register_refused = 0;
  for (int trial = 0; trial < kDamages; ++trial) {
    const Damage damage = ChooseDamage(random, files);
    const std::string what = fs::relative(damage.file, source.path()).string() + ", byte " +
                             std::to_string(damage.offset) + " = " +
                             std::to_string(static_cast<unsigned char>(damage.value));
    SCOPED_TRACE("damage " + std::to_string(trial) + ": " + what);
    std::ifstream original_in(damage.file, std::ios::binary);
    original_in.seekg(static_cast<std::streamoff>(damage.offset));
    const char original = static_cast<char>(original_in.get());
    original_in.close();
    Write(damage.file, damage.offset, damage.value);

    testing::TempFolder data;
    std::optional<LegacyImportReport> report;
    std::string refusal;
    {
      Watchdog watchdog(what);
      try {
        report = import_into(data.path());
      } catch (const Error& error) {
        refusal = error.what();
      }
    }
    Write(damage.file, damage.offset, original);

    // The company whose folder holds the damaged table; none for the register.
    const fs::path folder = damage.file.parent_path();
    const std::string damaged =
        folder == source.path() ? std::string() : folder.filename().string();
    if (!report) {
      // Only an unreadable register table stops the whole import, by its name,
      // before anything is written.
      ++register_refused;
      EXPECT_TRUE(damaged.empty()) << refusal;
      EXPECT_NE(refusal.find(damage.file.filename().string()), std::string::npos) << refusal;
      EXPECT_EQ(testing::DataSnapshot(data.path()), untouched);
      continue;
    }
    for (const CompanyImport& company : report->companies) {
      SCOPED_TRACE(company.code);
      if (company.status == CompanyStatus::kImported) continue;
      // A refused company is named, and nothing of it is written.
      ++refused;
      EXPECT_EQ(company.status, CompanyStatus::kFailed) << company.message;
      EXPECT_NE(company.message.find("Firma " + company.code), std::string::npos)
          << company.message;
      EXPECT_EQ(CompanyState(data.path(), company.code), "");
      EXPECT_FALSE(fs::exists(CompanyFolder(data.path(), company.code)));
    }
    if (damaged.empty()) continue;  // the register's values reach every company
    // A damage in one company's tables leaves the others as the clean import.
    EXPECT_EQ(SharedTables(data.path()), clean_shared);
    for (const std::string& code : kCompanies) {
      if (code == damaged) continue;
      EXPECT_EQ(CompanyState(data.path(), code), clean_state[code]) << code;
    }
  }
  // Damages that never refused anything would prove little.
  EXPECT_GT(refused, kDamages / 20);
  EXPECT_GT(register_refused, 0);
  ::testing::Test::RecordProperty("companies_refused", refused);
  ::testing::Test::RecordProperty("imports_refused", register_refused);
}

}  // namespace
}  // namespace traveno::legacy
