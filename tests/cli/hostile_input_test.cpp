// traveno-cli over a data folder that others have damaged or that is given
// hostile arguments, run as the program runs a command line: a company whose
// database is garbage, a register code that names no folder, outputs aimed
// at the program's own files, a pay day carried into a month that lacks it,
// and a signer past the settings' rules.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "core/data_folder.h"
#include "core/settings.h"
#include "core/store/sqlite.h"
#include "core/store/store.h"
#include "params/month_cycle.h"
#include "tests/support/cli_program.h"
#include "tests/support/temp_folder.h"

namespace traveno::cli {
namespace {

namespace fs = std::filesystem;
using traveno::testing::ProgramResult;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whether a file of the program is still the file it was: a database still
// one, whole (a command may have written its own figures into it), any other
// file unchanged.
bool StillWhatItWas(const fs::path& file, const std::string& before) {
  const std::string now = FileBytes(file);
  if (file.extension() != ".db") return now == before;
  if (now.compare(0, 16, before, 0, 16) != 0) return false;
  Database db(file, false);
  Statement check = db.Prepare("PRAGMA quick_check");
  return check.Step() && check.Text(0) == "ok";
}

// A data folder with the demonstration company DEMO (January 2003).
class HostileInputTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Run({"demo"}).status, 0); }

  ProgramResult Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--data-dir", data_.string()});
    return traveno::testing::RunProgram(arguments);
  }
  fs::path CompanyFile(const std::string& code) const {
    return data_ / code / kCompanyDatabaseName;
  }

  traveno::testing::TempFolder root_;
  fs::path data_ = root_.path() / "date";
  fs::path outside_ = root_.path() / "documente";
};

// ALFA holds a copy of the demonstration's data; DEMO's database is then
// overwritten with garbage.
class DamagedCompanyTest : public HostileInputTest {
 protected:
  void SetUp() override {
    HostileInputTest::SetUp();
    ASSERT_EQ(Run({"company", "add", "--cod", "ALFA", "--Denumire", "Alfa SRL"}).status, 0);
    fs::create_directories(data_ / "ALFA");
    fs::copy_file(CompanyFile("DEMO"), CompanyFile("ALFA"));
    garbage_.resize(40000);
    for (std::size_t i = 0; i < garbage_.size(); ++i) {
      garbage_[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    std::ofstream(CompanyFile("DEMO"), std::ios::binary | std::ios::trunc) << garbage_;
  }

  std::string garbage_;
};

TEST_F(DamagedCompanyTest, EveryCommandOnTheOtherCompaniesWorksAndTheDamagedOneIsNamed) {
  const std::string named = DamagedCompanyMessage("DEMO", CompanyFile("DEMO"));
  fs::create_directories(outside_);
  const std::vector<std::vector<std::string>> commands = {
      {"company", "list"},
      {"months", "--cod", "ALFA"},
      {"company", "open", "--cod", "ALFA"},
      {"params", "show", "--cod", "ALFA", "--month", "2003-01"},
      {"recalc", "--cod", "ALFA", "--month", "2003-01"},
      {"grid", "--cod", "ALFA", "--month", "2003-01", "--lines"},
      {"employee", "list", "--cod", "ALFA", "--month", "2003-01"},
      {"report", "statement", "--cod", "ALFA", "--month", "2003-01", "--text"},
      {"declaration", "cas", "--cod", "ALFA", "--month", "2003-01", "--text"},
      {"efiling", "--cod", "ALFA", "--year", "2003", "--out", outside_.string()},
      {"--confirm", "transition", "--cod", "ALFA"},
  };
  for (const auto& command : commands) {
    const ProgramResult result = Run(command);
    EXPECT_EQ(result.status, 0) << command[0] << " " << command[1] << "\n" << result.err;
    EXPECT_NE(result.err.find(named), std::string::npos) << command[0] << "\n" << result.err;
  }
  const ProgramResult list = Run({"company", "list"});
  EXPECT_NE(list.out.find("ALFA"), std::string::npos);
  EXPECT_NE(list.out.find("DEMO"), std::string::npos);  // still listed: nothing was removed
  EXPECT_TRUE(fs::exists(outside_ / "FF1_2003.txt"));

  // The damaged company is refused with its name, and is left as it was.
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"company", "open", "--cod", "DEMO"},
        std::vector<std::string>{"months", "--cod", "DEMO"},
        std::vector<std::string>{"report", "statement", "--cod", "DEMO", "--month", "2003-01"}}) {
    const ProgramResult refused = Run(command);
    EXPECT_EQ(refused.status, 1) << command[0];
    EXPECT_NE(refused.err.find(named), std::string::npos) << refused.err;
  }
  EXPECT_EQ(FileBytes(CompanyFile("DEMO")), garbage_);
  EXPECT_FALSE(fs::exists(data_ / "DEMO" / "firma.db.bak-0"));
  // A damaged file is told to the user, never filed as a fault of the program.
  EXPECT_FALSE(fs::exists(data_ / kErrorFileName));
}

TEST_F(DamagedCompanyTest, TheImportsStartAsOnAnyFolder) {
  const std::string named = DamagedCompanyMessage("DEMO", CompanyFile("DEMO"));
  fs::create_directories(outside_);
  // A register that is no table takes the legacy import past its first look
  // at the folder: each import gets past the layout check to its own refusal.
  std::ofstream(outside_ / "Firme.DB", std::ios::binary) << std::string(600, '\x01');
  const ProgramResult legacy = Run({"import-legacy", "--from", outside_.string()});
  EXPECT_NE(legacy.err.find(named), std::string::npos) << legacy.err;
  EXPECT_EQ(legacy.err.find(std::string(kStoreCorrupt) + "\n"), std::string::npos) << legacy.err;
  const ProgramResult sheets = Run({"import-ff", "--cod", "ALFA", "--dir", outside_.string()});
  EXPECT_NE(sheets.err.find(named), std::string::npos) << sheets.err;
  EXPECT_EQ(sheets.err.find(std::string(kStoreCorrupt) + "\n"), std::string::npos) << sheets.err;
  EXPECT_EQ(FileBytes(CompanyFile("DEMO")), garbage_);
}

TEST_F(HostileInputTest, ARegisterCodeThatNamesNoFolderIsNamedAndNeverBecomesAPath) {
  {
    Database db(data_ / kRegisterDatabaseName, false);
    db.Run("INSERT INTO Firme (Cod, Denumire, TipAngaj) VALUES ('..', 'Alt program', 1)");
  }
  // What ".." would name: the folder holding the data folder, with an older
  // database in it that an upgrade would rebuild.
  const fs::path beside = root_.path() / kCompanyDatabaseName;
  {
    Database old(beside, true);
    old.Execute("CREATE TABLE Pers (Nr INTEGER PRIMARY KEY AUTOINCREMENT, LUNA TEXT)");
  }
  const std::string before = FileBytes(beside);
  const std::string named = InvalidCompanyCodeMessage("..");

  const ProgramResult list = Run({"company", "list"});
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.err.find(named), std::string::npos) << list.err;
  EXPECT_EQ(Run({"company", "open", "--cod", "DEMO"}).status, 0);
  const ProgramResult open = Run({"company", "open", "--cod", "..", "--month", "2003-01"});
  EXPECT_EQ(open.status, 1);
  EXPECT_NE(open.err.find(named), std::string::npos) << open.err;
  EXPECT_EQ(Run({"init"}).status, 0);
  // Deleting it takes its row and nothing else.
  EXPECT_EQ(Run({"--yes", "company", "delete", "--cod", ".."}).status, 0);
  EXPECT_EQ(Run({"company", "list"}).err.find(named), std::string::npos);
  EXPECT_EQ(FileBytes(beside), before);
  EXPECT_FALSE(fs::exists(root_.path() / "firma.db.bak-0"));
  EXPECT_TRUE(fs::exists(CompanyFile("DEMO")));
  EXPECT_TRUE(fs::exists(data_ / kRegisterDatabaseName));
}

TEST_F(HostileInputTest, NoOutputIsWrittenOverTheProgramsOwnFiles) {
  fs::create_directories(outside_ / "cas");
  fs::create_directories(outside_ / "fise");
  fs::create_symlink(data_ / kRegisterDatabaseName, outside_ / "stat.pdf");
  fs::create_symlink(CompanyFile("DEMO"), outside_ / "cas" / "A11.txt");
  fs::create_symlink(CompanyFile("DEMO"), outside_ / "fise" / "FF2_2003.txt");
  // The settings file now holds the signer, and the month its unemployment figures.
  ASSERT_EQ(Run({"declaration", "cas", "--cod", "DEMO", "--month", "2003-01", "--text"}).status, 0);
  ASSERT_EQ(Run({"declaration", "somaj", "--cod", "DEMO", "--month", "2003-01", "--text"}).status,
            0);
  const std::vector<fs::path> own = {CompanyFile("DEMO"), data_ / kRegisterDatabaseName,
                                     data_ / kSettingsFileName};
  std::vector<std::string> before;
  for (const fs::path& file : own) before.push_back(FileBytes(file));
  const std::string demo = "DEMO";
  const std::vector<std::vector<std::string>> commands = {
      {"report", "statement", "--cod", demo, "--month", "2003-01", "--pdf",
       CompanyFile("DEMO").string()},
      {"report", "statement", "--cod", demo, "--month", "2003-01", "--pdf",
       (outside_ / "stat.pdf").string()},
      {"report", "statement", "--cod", demo, "--month", "2003-01", "--pdf",
       (data_ / "DEMO" / ".." / "." / kSettingsFileName).string()},
      {"fiscal-sheet", "--cod", demo, "--iid", "1", "--year", "2003", "--pdf",
       (data_ / kErrorFileName).string()},
      {"declaration", "cas", "--cod", demo, "--month", "2003-01", "--pdf",
       CompanyFile("DEMO").string()},
      {"declaration", "cas", "--cod", demo, "--month", "2003-01", "--files",
       (outside_ / "cas").string()},
      {"declaration", "somaj", "--cod", demo, "--month", "2003-01", "--pdf",
       (data_ / kRegisterDatabaseName).string()},
      {"efiling", "--cod", demo, "--year", "2003", "--out", (outside_ / "fise").string()},
      {"backup", "--out", CompanyFile("DEMO").string()},
      {"trend", "--cod", demo, "--from", "2003-01", "--to", "2003-01", "--png",
       (data_ / kSettingsFileName).string()},
      {"trend", "--cod", demo, "--from", "2003-01", "--to", "2003-01", "--pdf",
       (outside_ / "stat.pdf").string()},
  };
  for (const auto& command : commands) {
    const ProgramResult result = Run(command);
    EXPECT_EQ(result.status, 1) << command[0] << " " << command.back();
    EXPECT_NE(result.err.find("este un fisier al programului din directorul de date"),
              std::string::npos)
        << command[0] << " " << command.back() << "\n"
        << result.err;
    for (std::size_t i = 0; i < own.size(); ++i) {
      EXPECT_TRUE(StillWhatItWas(own[i], before[i]))
          << command[0] << " " << command.back() << " " << own[i];
    }
  }
  // No file of a refused folder was written either.
  EXPECT_FALSE(fs::exists(outside_ / "fise" / "FF1_2003.txt"));
  EXPECT_FALSE(fs::exists(outside_ / "cas" / "A12.txt"));
  EXPECT_EQ(Run({"months", "--cod", "DEMO"}).status, 0);
}

TEST_F(HostileInputTest, APayDayCarriedIntoAMonthThatLacksItBecomesItsLastDay) {
  ASSERT_EQ(Run({"--confirm", "transition", "--cod", "DEMO"}).status, 0);
  // February is paid in March, which has a 31st.
  EXPECT_EQ(Run({"params", "set", "--cod", "DEMO", "--month", "2003-02", "ZiLichidare=31"}).status,
            0);
  const ProgramResult passed = Run({"--confirm", "transition", "--cod", "DEMO"});
  EXPECT_EQ(passed.status, 0);
  EXPECT_NE(passed.err.find(params::PayDayMovedNotice(31, Date::FromYmd(2003, 3, 1), 30)),
            std::string::npos)
      << passed.err;
  const ProgramResult march =
      Run({"--json", "params", "show", "--cod", "DEMO", "--month", "2003-03"});
  EXPECT_EQ(nlohmann::json::parse(march.out)["firma"]["ZiLichidare"], 30);
  // March refuses the 31st, as its window does.
  const ProgramResult refused =
      Run({"params", "set", "--cod", "DEMO", "--month", "2003-03", "ZiLichidare=31"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("Ziua lichidarii este incorecta pentru aceasta luna!"),
            std::string::npos);
}

TEST_F(HostileInputTest, ASignerPastTheSettingsRulesIsRefusedAndNothingIsWritten) {
  ASSERT_EQ(Run({"declaration", "cas", "--cod", "DEMO", "--month", "2003-01", "--nume", "Popescu",
                 "--text"})
                .status,
            0);
  const std::string kept = FileBytes(data_ / kSettingsFileName);
  for (const std::string& name : {std::string(10000, 'A'), std::string("Pop\xC3\x28")}) {
    const ProgramResult result = Run(
        {"declaration", "cas", "--cod", "DEMO", "--month", "2003-01", "--nume", name, "--text"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("numele persoanei care semneaza"), std::string::npos) << result.err;
    EXPECT_EQ(FileBytes(data_ / kSettingsFileName), kept);
  }
  EXPECT_EQ(LoadSigner(data_).nume, "POPESCU");
}

}  // namespace
}  // namespace traveno::cli
