// A backup restored into an empty folder is the data folder, table for
// table, row for row, photos included; a company restored alone, an archive
// of an older layout, and a restore in place that keeps what it replaced.
#include <gtest/gtest.h>

#include <ctime>

#include "backup/archive_reader.h"
#include "backup/archive_writer.h"
#include "backup/backup_source.h"
#include "backup/restore.h"
#include "backup/safety_copies.h"
#include "core/store/schema.h"
#include "core/store/schema_upgrades.h"
#include "tests/backup/backup_fixture.h"
#include "tests/support/temp_folder.h"

namespace traveno::backup::testing {
namespace {

using traveno::testing::TempFolder;

class RoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Store store(data_.path());
    store.EnsureRegisterTables();
    params::Session session(store);
    AddCompanyWithMonths(store, session, "ALFA", 6, 3);
    AddCompanyWithMonths(store, session, "BETA", 4, 2);
  }

  Manifest Backup(const fs::path& archive, std::optional<std::vector<std::string>> companies = {}) {
    DataFolderSource source(data_.path());
    BackupRequest request;
    request.companies = std::move(companies);
    if (request.companies) request.scope = BackupScope::kCompanies;
    request.now = std::time(nullptr);
    SilentProgress quiet;
    return WriteBackup(source, archive, request, quiet);
  }

  RestoreResult Restore(const fs::path& archive, const fs::path& target,
                        std::vector<std::string> companies = {}) {
    RestoreOptions options;
    options.target = target;
    options.companies = std::move(companies);
    SilentProgress quiet;
    return RestoreBackup(archive, options, quiet);
  }

  TempFolder data_;
  TempFolder other_;
};

TEST_F(RoundTripTest, AnEmptyFolderGetsEveryTableRowAndPhotoBack) {
  const fs::path archive = other_.path() / "salvare.tar";
  const Manifest manifest = Backup(archive);
  ASSERT_EQ(manifest.companies.size(), 2u);
  EXPECT_EQ(manifest.companies[0].code, "ALFA");
  EXPECT_EQ(manifest.companies[0].months,
            (std::vector<std::string>{"2003-01", "2003-02", "2003-03"}));
  EXPECT_EQ(manifest.companies[1].months, (std::vector<std::string>{"2003-01", "2003-02"}));
  const ArchivedFile* alfa = manifest.FindFile("ALFA/firma.db");
  ASSERT_NE(alfa, nullptr);
  EXPECT_EQ(alfa->rows.at("Pers"), 18);
  EXPECT_EQ(alfa->rows.at("Poze"), 3);
  EXPECT_NE(manifest.FindFile(kSettingsFileName), nullptr);
  // The archive says the same when read back.
  EXPECT_EQ(ManifestJson(ReadManifest(archive)), ManifestJson(manifest));

  const fs::path restored = other_.path() / "nou";
  const RestoreResult result = Restore(archive, restored);
  EXPECT_TRUE(result.register_replaced);
  EXPECT_TRUE(result.settings_replaced);
  EXPECT_EQ(result.companies, (std::vector<std::string>{"ALFA", "BETA"}));
  EXPECT_FALSE(result.safety_copy.has_value());  // nothing was replaced
  const std::string original = FolderState(data_.path());
  EXPECT_EQ(FolderState(restored), original) << traveno::testing::FirstDifference(FolderState(restored), original);
  EXPECT_NE(original.find("[Poze]"), std::string::npos);
  // Nothing of the restore's work is left behind.
  for (const auto& entry : fs::directory_iterator(restored)) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(kStagingPrefix)) << entry.path();
  }
  EXPECT_FALSE(fs::exists(restored / "registru.db-journal"));
  // The restored folder opens as any data folder.
  auto store = OpenDatabases(restored);
  store->OpenCompany("BETA");
}

TEST_F(RoundTripTest, ACompanyRestoredAloneJoinsAnotherDataFolder) {
  const fs::path archive = other_.path() / "salvare.tar";
  Backup(archive);
  TempFolder home;
  {
    Store store(home.path());
    store.EnsureRegisterTables();
    params::Session session(store);
    AddCompanyWithMonths(store, session, "GAMA", 2, 1);
  }
  const std::string gama_before = traveno::testing::DatabaseSnapshot(home.path() / "GAMA" / kCompanyDatabaseName);
  const RestoreResult result = Restore(archive, home.path(), {"ALFA"});
  EXPECT_FALSE(result.register_replaced);
  EXPECT_EQ(result.companies, std::vector<std::string>{"ALFA"});

  EXPECT_EQ(traveno::testing::DatabaseSnapshot(home.path() / "ALFA" / kCompanyDatabaseName),
            traveno::testing::DatabaseSnapshot(data_.path() / "ALFA" / kCompanyDatabaseName));
  EXPECT_EQ(traveno::testing::DatabaseSnapshot(home.path() / "GAMA" / kCompanyDatabaseName), gama_before);
  EXPECT_FALSE(fs::exists(home.path() / "BETA"));
  Store store(home.path());
  ASSERT_TRUE(store.FindCompany("ALFA").has_value());
  EXPECT_EQ(store.FindCompany("ALFA")->Denumire, "FIRMA ALFA");
  EXPECT_TRUE(store.FindCompany("GAMA").has_value());
  EXPECT_FALSE(store.FindCompany("BETA").has_value());
  // The months the home register did not have came with the company, once.
  for (const char* month : {"2003-02-01", "2003-03-01"}) {
    EXPECT_GT(store.db().QueryInt("SELECT count(*) FROM Para WHERE Luna = ?", month).value_or(0), 0)
        << month;
  }
  const auto january = store.db().QueryInt("SELECT count(*) FROM Para WHERE Luna = '2003-01-01'");
  EXPECT_EQ(LoadFooter(home.path(), "ALFA").line2, "Randul doi ALFA");
  // Restoring it again changes only the company, and adds no row twice.
  Restore(archive, home.path(), {"ALFA"});
  EXPECT_EQ(store.db().QueryInt("SELECT count(*) FROM Para WHERE Luna = '2003-01-01'"), january);
  EXPECT_EQ(store.db().QueryInt("SELECT count(*) FROM Firme WHERE Cod = 'ALFA'"), 1);
}

TEST_F(RoundTripTest, ARestoreInPlaceKeepsWhatItReplacedAsARestorableCopy) {
  const fs::path archive = other_.path() / "salvare.tar";
  Backup(archive);
  const std::string saved = FolderState(data_.path());
  {
    Store store(data_.path());
    store.OpenCompany("ALFA");
    store.db().Run("UPDATE firma.Pers SET NUME = 'SCHIMBAT'");
    store.db().Run("DELETE FROM main.Para WHERE Luna = '2003-03-01'");
  }
  const std::string changed = FolderState(data_.path());
  ASSERT_NE(changed, saved);

  const RestoreResult result = Restore(archive, data_.path());
  EXPECT_EQ(FolderState(data_.path()), saved);
  ASSERT_TRUE(result.safety_copy.has_value());
  EXPECT_EQ(result.safety_copy->parent_path(), SafetyCopyFolder(data_.path()));
  EXPECT_EQ(ReadManifest(*result.safety_copy).operation, "restaurare");

  // The safety copy puts the replaced data back.
  Restore(*result.safety_copy, data_.path());
  EXPECT_EQ(FolderState(data_.path()), changed);
}

TEST_F(RoundTripTest, AnArchiveOfAnOlderLayoutIsUpgradedAsItIsRestored) {
  TempFolder old;
  {
    Store store(old.path());
    store.EnsureRegisterTables();
    store.db().Run("INSERT INTO Firme (Cod, Denumire, TipAngaj) VALUES ('VECHE', 'Veche', 1)");
    fs::create_directories(old.path() / "VECHE");
    Database db(old.path() / "VECHE" / kCompanyDatabaseName, true);
    std::string columns;
    for (const FieldDef& field : PersTable().fields) {
      if (std::string_view(field.name) == "NORMA" || std::string_view(field.name) == "Pensionar") continue;
      columns += (columns.empty() ? "" : ", ") + std::string(field.name) +
                 (field.kind == FieldKind::kAutoInc ? " INTEGER PRIMARY KEY AUTOINCREMENT" : "");
    }
    db.Execute("CREATE TABLE Pers (" + columns + ")");
    for (const TableDef* table : {&PintTable(), &ParFTable(), &PozeTable()}) CreateTable(db, "main", *table);
    db.Run("INSERT INTO Pers (Nr, LUNA, IID, TIP, NUME) VALUES (4, '2002-03-01', 1, '1', 'VECHI')");
    db.Run("INSERT INTO ParF (Luna, Den, Val) VALUES ('2002-03-01', 'Deschisa', 0)");
    ASSERT_EQ(LayoutVersion(db), 0);
  }
  const fs::path archive = other_.path() / "vechi.tar";
  {
    DataFolderSource source(old.path());
    BackupRequest request;
    SilentProgress quiet;
    const Manifest manifest = WriteBackup(source, archive, request, quiet);
    EXPECT_EQ(manifest.FindFile("VECHE/firma.db")->layout_version, 0);
  }
  const fs::path restored = other_.path() / "nou";
  const RestoreResult result = Restore(archive, restored);
  EXPECT_EQ(result.upgraded, std::vector<std::string>{"VECHE"});
  ASSERT_FALSE(UpgradesNeeded(restored));
  auto store = OpenDatabases(restored);
  store->OpenCompany("VECHE");
  const auto rows = QueryRows<PersRow>(store->db(), "SELECT * FROM firma.Pers");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Nr, 4);
  EXPECT_EQ(rows[0].NUME, "VECHI");
  EXPECT_EQ(rows[0].NORMA, 8);  // the value the upgrade gives
}

}  // namespace
}  // namespace traveno::backup::testing
