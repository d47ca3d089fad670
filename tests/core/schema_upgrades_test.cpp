#include "core/store/schema_upgrades.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "core/store/store.h"
#include "core/text.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;

struct RecordingPrompter final : Prompter {
  void Message(MessageKind, const std::string& text) override { messages.push_back(text); }
  bool AskYesNo(const std::string&) override { return false; }
  std::optional<std::string> AskText(const std::string&, const std::string&,
                                     const std::string&) override {
    return std::nullopt;
  }
  std::string AskTypedConfirmation(const std::string&) override { return {}; }
  std::vector<std::string> messages;
};

struct RecordingProgress final : ProgressReporter {
  void BeginWait(const std::string& title, const std::string& text) override {
    waits.push_back(title + " / " + text);
  }
  void EndWait() override {}
  void BeginProgress(const std::string&, int) override {}
  void Advance(int) override {}
  void EndProgress() override {}
  std::vector<std::string> waits;
};

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Date D(int y, int m, int d = 1) { return Date::FromYmd(y, m, d); }

// A data folder whose register is current and whose company VECHE was written
// before layouts were recorded, by a version whose employee table lacked the
// fields of 5.2.8.5 and later (BifaSom, Ch_Prof, PlatitOra, ProcImpo, Ore_Zi,
// Pensionar, NORMA).
class OlderLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Store store(data_.path());
    store.EnsureRegisterTables();
    store.db().Run("INSERT INTO Firme (Cod, Denumire, TipAngaj) VALUES ('VECHE', 'Veche', 1)");
    store.db().Run("INSERT INTO Para (Luna, Den, Val) VALUES (?, 'CheltProf', 255000)", D(2002, 3));
    MakeOldCompany("VECHE");
  }

  void MakeOldCompany(const std::string& code) {
    fs::create_directories(data_.path() / code);
    Database db(CompanyFile(code), true);
    const std::set<std::string> missing = {"BifaSom", "Ch_Prof",   "PlatitOra", "ProcImpo",
                                           "Ore_Zi",  "Pensionar", "NORMA"};
    std::string columns;
    for (const FieldDef& field : PersTable().fields) {
      if (missing.contains(field.name)) continue;
      if (!columns.empty()) columns += ", ";
      columns += std::string(field.name) +
                 (field.kind == FieldKind::kAutoInc ? " INTEGER PRIMARY KEY AUTOINCREMENT" : "");
    }
    db.Execute("CREATE TABLE Pers (" + columns + ")");
    for (const TableDef* table : {&PintTable(), &ParFTable(), &PozeTable()}) {
      CreateTable(db, "main", *table);
    }
    // A permanent employee, a partial contract whose daily hours sit in the
    // coefficient, as those versions kept them, and an earlier month.
    const char* insert =
        "INSERT INTO Pers (Nr, LUNA, IID, TIP, NUME, CoefInd, CoefInd1, BRUT, Brut1) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";
    db.Run(insert, 5, D(2002, 3), 1, "1", "Ştefănescu", 1.5, 1.5, 4000000.0, 4000000.0);
    db.Run(insert, 9, D(2002, 3), 2, "2", "Ţiganu", 4.0, 4.0, 900000.0, 900000.0);
    db.Run(insert, 12, D(2002, 2), 1, "1", "Ştefănescu", 1.0, 1.0, 3900000.0, 3900000.0);
    db.Run("INSERT INTO Pint (Nr, Luna, IID, AiPers, Nume) VALUES (3, ?, 1, 5, 'Ana')", D(2002, 3));
    for (Date month : {D(2002, 2), D(2002, 3)}) {
      db.Run("INSERT INTO ParF (Luna, Den, Val) VALUES (?, 'Deschisa', 0)", month);
    }
  }

  fs::path CompanyFile(const std::string& code) const {
    return data_.path() / code / kCompanyDatabaseName;
  }

  testing::TempFolder data_;
  RecordingPrompter prompter_;
  RecordingProgress progress_;
};

TEST_F(OlderLayoutTest, KeepsEveryRowAndGivesTheMissingFieldsTheirValues) {
  const std::string old_bytes = FileBytes(CompanyFile("VECHE"));
  ASSERT_TRUE(UpgradesNeeded(data_.path()));

  const UpgradeResult result = RunUpgrades(data_.path(), prompter_, progress_);

  EXPECT_TRUE(prompter_.messages.empty());
  EXPECT_EQ(result.upgraded, std::vector<std::string>{"VECHE"});
  EXPECT_EQ(progress_.waits,
            std::vector<std::string>{
                "Upgrade Traveno v 5.4.1.2 pentru firma VECHE / Va rog asteptati!!"});
  // The copy kept beside the file is the file as it was.
  EXPECT_EQ(FileBytes(data_.path() / "VECHE" / "firma.db.bak-0"), old_bytes);
  EXPECT_FALSE(UpgradesNeeded(data_.path()));

  Store store(data_.path());
  store.OpenCompany("VECHE");
  const auto rows = QueryRows<PersRow>(store.db(), "SELECT * FROM firma.Pers ORDER BY Nr");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Nr, 5);
  EXPECT_EQ(rows[0].NUME, "Ştefănescu");
  EXPECT_EQ(rows[0].CoefInd, 1.5);
  EXPECT_EQ(rows[0].CoefInd1, 1.5);
  EXPECT_EQ(rows[0].Ore_Zi, 0);
  EXPECT_EQ(rows[0].Ch_Prof, 255000);  // the month's professional expenses
  EXPECT_EQ(rows[1].Nr, 9);
  EXPECT_EQ(rows[1].Ore_Zi, 4);  // the partial contract's hours move out of the coefficient
  EXPECT_EQ(rows[1].CoefInd, 0);
  EXPECT_EQ(rows[1].CoefInd1, 0);
  EXPECT_EQ(rows[2].Nr, 12);
  EXPECT_EQ(rows[2].Ch_Prof, 0);  // February has no such parameter
  for (const PersRow& row : rows) {
    EXPECT_EQ(row.ProcImpo, 100) << row.Nr;
    EXPECT_EQ(row.NORMA, 8) << row.Nr;
    EXPECT_EQ(row.Pensionar, 0) << row.Nr;
    EXPECT_EQ(row.BifaSom, 0) << row.Nr;
  }
  // Every month but the last is closed.
  Statement months =
      store.db().Prepare("SELECT Luna, Val FROM firma.ParF WHERE Den = 'Deschisa' ORDER BY Luna");
  ASSERT_TRUE(months.Step());
  EXPECT_EQ(months.Double(1), 1);
  ASSERT_TRUE(months.Step());
  EXPECT_EQ(months.Double(1), 0);
  // The dependant still points at its employee, and new rows number on.
  EXPECT_EQ(store.db().QueryInt("SELECT AiPers FROM firma.Pint WHERE Nr = 3"), 5);
  store.db().Run("INSERT INTO firma.Pers (LUNA, TIP) VALUES (?, '1')", D(2002, 3));
  EXPECT_EQ(store.db().LastInsertRowId(), 13);
  for (const char* index : {"Pers_iIL", "Pers_iLTCM", "Pers_iLT"}) {
    EXPECT_TRUE(store.db().QueryInt("SELECT 1 FROM firma.sqlite_master WHERE name = ?", index))
        << index;
  }
}

TEST_F(OlderLayoutTest, ASecondStartChangesNothing) {
  RunUpgrades(data_.path(), prompter_, progress_);
  const std::string upgraded = FileBytes(CompanyFile("VECHE"));
  progress_.waits.clear();

  const UpgradeResult again = RunUpgrades(data_.path(), prompter_, progress_);

  EXPECT_TRUE(again.upgraded.empty());
  EXPECT_TRUE(progress_.waits.empty());
  EXPECT_EQ(FileBytes(CompanyFile("VECHE")), upgraded);
}

TEST_F(OlderLayoutTest, ANewerCompanyIsRefusedUntouchedAndTheOthersGoOn) {
  {
    Store store(data_.path());
    store.db().Run("INSERT INTO Firme (Cod, Denumire, TipAngaj) VALUES ('NOUA', 'Noua', 1)");
    fs::create_directories(data_.path() / "NOUA");
    Database db(CompanyFile("NOUA"), true);
    for (const TableDef* table : CompanyTables()) CreateTable(db, "main", *table);
    SetLayoutVersion(db, kStoreLayoutVersion + 1);
  }
  const std::string newer = FileBytes(CompanyFile("NOUA"));

  const UpgradeResult result = RunUpgrades(data_.path(), prompter_, progress_);

  EXPECT_EQ(FileBytes(CompanyFile("NOUA")), newer);
  EXPECT_FALSE(fs::exists(data_.path() / "NOUA" /
                          ("firma.db.bak-" + std::to_string(kStoreLayoutVersion + 1))));
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0],
            NewerDatabaseMessage(CompanyFile("NOUA"), kStoreLayoutVersion + 1));
  EXPECT_EQ(result.failed, std::vector<std::string>{"NOUA"});
  EXPECT_EQ(result.upgraded, std::vector<std::string>{"VECHE"});
  Store store(data_.path());
  EXPECT_THROW(store.OpenCompany("NOUA"), NewerDatabaseError);
}

TEST_F(OlderLayoutTest, ANewerRegisterStopsTheStartAndIsNotTouched) {
  {
    Database db(data_.path() / kRegisterDatabaseName, false);
    SetLayoutVersion(db, kStoreLayoutVersion + 1);
  }
  const std::string newer = FileBytes(data_.path() / kRegisterDatabaseName);

  EXPECT_THROW(RunUpgrades(data_.path(), prompter_, progress_), NewerDatabaseError);
  EXPECT_THROW(Store{data_.path()}, NewerDatabaseError);
  EXPECT_THROW(OpenDatabases(data_.path()), NewerDatabaseError);
  EXPECT_EQ(FileBytes(data_.path() / kRegisterDatabaseName), newer);
}

TEST_F(OlderLayoutTest, AFailedStepShowsItsMessageAndLeavesTheDatabaseAsItWas) {
  RunUpgrades(data_.path(), prompter_, progress_);
  const std::string before = FileBytes(CompanyFile("VECHE"));
  std::vector<UpgradeStep> steps(StoreUpgradeSteps().begin(), StoreUpgradeSteps().end());
  steps.push_back(
      {kStoreLayoutVersion + 1, "9.9.9", nullptr, [](Database& db, const UpgradeContext&) {
         db.Execute("DELETE FROM Pers; ALTER TABLE Pers ADD Nou REAL");
         throw StoreError("disk I/O error");
       }});

  const UpgradeResult result = RunUpgrades(data_.path(), prompter_, progress_, steps);

  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0],
            "Datorita unor probleme cu bazele de date nu se poate face upgrade 9.9.9 la firma:  "
            "VECHE");
  EXPECT_EQ(result.failed, std::vector<std::string>{"VECHE"});
  EXPECT_EQ(FileBytes(CompanyFile("VECHE")), before);
  // The register went on to the new version.
  Database db(data_.path() / kRegisterDatabaseName, false);
  EXPECT_EQ(LayoutVersion(db), kStoreLayoutVersion + 1);
}

TEST(SchemaUpgradesTest, NewDatabasesAreBornInTheCurrentLayout) {
  testing::TempFolder data;
  Store store(data.path());
  store.EnsureRegisterTables();
  fs::create_directories(data.path() / "TEST");
  ASSERT_TRUE(store.CreateCompanyTables("TEST"));
  EXPECT_EQ(LayoutVersion(store.db()), kStoreLayoutVersion);
  Database company(data.path() / "TEST" / kCompanyDatabaseName, false);
  EXPECT_EQ(LayoutVersion(company), kStoreLayoutVersion);
  EXPECT_FALSE(UpgradesNeeded(data.path()));
}

// A register that holds a company code twice (two imports at once wrote it
// before the code was unique; another program may as well): the upgrade keeps
// the first row of the code, the one every operation found, leaves the other
// in the copy kept beside the register, and the code is unique from then on.
// Registers of both earlier layouts are brought on, and a company database
// of version 1, which the step does not change, without a copy.
TEST(SchemaUpgradesTest, ARegisterWithACodeTwiceKeepsItsFirstRowAndTheCodeBecomesUnique) {
  for (const int version : {0, 1}) {
    SCOPED_TRACE("register of version " + std::to_string(version));
    testing::TempFolder data;
    {
      Store store(data.path());
      store.EnsureRegisterTables();
      Database& db = store.db();
      db.Execute("DROP INDEX Firme_iCod; CREATE INDEX Firme_iCod ON Firme (Cod COLLATE NOCASE)");
      if (version == 0) db.Execute("ALTER TABLE Firme DROP COLUMN nr");  // an older layout
      db.Run("INSERT INTO Firme (CodF, Cod, Denumire, TipAngaj) VALUES (5, 'VECHE', 'Prima', 1)");
      db.Run("INSERT INTO Firme (CodF, Cod, Denumire, TipAngaj) VALUES (7, 'veche', 'A doua', 1)");
      db.Run("INSERT INTO Firme (CodF, Cod, Denumire, TipAngaj) VALUES (6, 'NOUA', 'Noua', 1)");
      db.Run("INSERT INTO Firme (CodF, Cod, Denumire, TipAngaj) VALUES (8, 'VECHE', 'A treia', 2)");
      SetLayoutVersion(db, version);
      fs::create_directories(data.path() / "NOUA");
      Database company(data.path() / "NOUA" / kCompanyDatabaseName, true);
      for (const TableDef* table : CompanyTables()) CreateTable(company, "main", *table);
      SetLayoutVersion(company, 1);
    }
    RecordingPrompter prompter;
    RecordingProgress progress;

    const UpgradeResult result = RunUpgrades(data.path(), prompter, progress);

    EXPECT_TRUE(result.failed.empty());
    EXPECT_TRUE(prompter.messages.empty());
    Store store(data.path());
    EXPECT_EQ(LayoutVersion(store.db()), kStoreLayoutVersion);
    std::vector<std::string> rows;
    for (const FirmeRow& row : store.Companies()) {
      rows.push_back(std::to_string(row.CodF) + " " + row.Cod + " " + row.Denumire);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"6 NOUA Noua", "1 TEST TEST", "5 VECHE Prima"}));
    // The rows left out are in the copy of the register.
    Database copy(data.path() / ("registru.db.bak-" + std::to_string(version)), false);
    EXPECT_EQ(copy.QueryInt("SELECT count(*) FROM Firme WHERE Cod = 'VECHE' COLLATE NOCASE"), 3);
    // The code is unique whatever its case.
    EXPECT_THROW(
        store.db().Run("INSERT INTO Firme (Cod, Denumire, TipAngaj) VALUES ('Veche', 'X', 1)"),
        StoreError);
    Database company(data.path() / "NOUA" / kCompanyDatabaseName, false);
    EXPECT_EQ(LayoutVersion(company), kStoreLayoutVersion);
    EXPECT_FALSE(fs::exists(data.path() / "NOUA" / "firma.db.bak-1"));
  }
}

}  // namespace
}  // namespace traveno
