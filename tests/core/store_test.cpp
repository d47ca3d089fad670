#include "core/store/store.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;

// Answers every question of the purge with Yes.
class YesPrompter final : public Prompter {
 public:
  void Message(MessageKind, const std::string&) override {}
  bool AskYesNo(const std::string&) override { return true; }
  std::optional<std::string> AskText(const std::string&, const std::string&,
                                     const std::string&) override {
    return std::nullopt;
  }
  std::string AskTypedConfirmation(const std::string&) override { return {}; }
};

std::vector<std::string> ColumnsOf(Database& db, const std::string& schema,
                                   const std::string& table) {
  std::vector<std::string> names;
  Statement statement = db.Prepare("SELECT name FROM pragma_table_info(?, ?) ORDER BY cid");
  statement.BindAll(table, schema);
  while (statement.Step()) names.push_back(statement.Text(0));
  return names;
}

TEST(StoreTest, FirstStartCreatesTheRegisterWithTheTestCompany) {
  testing::TempFolder folder;
  Store store(folder.path());
  store.EnsureRegisterTables();
  for (const char* table : {"Firme", "Para", "Impo", "Impo_an"}) {
    EXPECT_TRUE(store.RegisterTableExists(table)) << table;
  }
  const auto companies = store.Companies();
  ASSERT_EQ(companies.size(), 1u);
  EXPECT_EQ(companies[0].Cod, "TEST");
  EXPECT_EQ(companies[0].Denumire, "TEST");
  EXPECT_EQ(companies[0].TipAngaj, 1);
  EXPECT_FALSE(fs::exists(folder.path() / "TEST"));

  store.EnsureRegisterTables();  // a second run changes nothing
  EXPECT_EQ(store.Companies().size(), 1u);
}

TEST(StoreTest, TablesHaveEveryFieldInPhysicalOrder) {
  testing::TempFolder folder;
  Store store(folder.path());
  store.EnsureRegisterTables();
  fs::create_directories(folder.path() / "ABC");
  ASSERT_TRUE(store.CreateCompanyTables("ABC"));
  store.OpenCompany("ABC");
  struct Case {
    const char* schema;
    const TableDef& table;
  };
  const Case kCases[] = {{"main", FirmeTable()},  {"main", ParaTable()},  {"main", ImpoTable()},
                         {"main", ImpoAnTable()}, {"firma", PersTable()}, {"firma", PintTable()},
                         {"firma", ParFTable()},  {"firma", PozeTable()}};
  for (const Case& c : kCases) {
    std::vector<std::string> expected;
    for (const FieldDef& field : c.table.fields) expected.push_back(field.name);
    EXPECT_EQ(ColumnsOf(store.db(), c.schema, c.table.name), expected) << c.table.name;
  }
  const auto pers = ColumnsOf(store.db(), "firma", "Pers");
  EXPECT_EQ(pers.size(), 92u);
  const auto index_count = store.db().QueryInt(
      "SELECT count(*) FROM firma.sqlite_master WHERE type = 'index' AND tbl_name = 'Pers' "
      "AND name IN ('Pers_iIL', 'Pers_iLTCM', 'Pers_iLT')");
  EXPECT_EQ(index_count, 3);
}

TEST(StoreTest, TextFieldsAreHeldToTheirWidths) {
  testing::TempFolder folder;
  Store store(folder.path());
  store.EnsureRegisterTables();
  EXPECT_THROW(store.db().Run("INSERT INTO Firme (Cod) VALUES (?)", "NINECHARS"), StoreError);
  FirmeRow row;
  SetField(row, *FindField<FirmeRow>("Cod"), FieldValue(std::string("NINECHARS")));
  RowWriter<FirmeRow>(store.db(), "Firme").Insert(row);
  EXPECT_TRUE(store.FindCompany("NINECHAR"));
}

TEST(StoreTest, ColumnsAreMatchedWithoutRegardToCaseAndOrder) {
  testing::TempFolder folder;
  Store store(folder.path());
  store.EnsureRegisterTables();
  // A table made by an older version, with fields in another order and case.
  store.db().Execute("CREATE TABLE Legacy (ore_zi REAL, nume TEXT, Nr INTEGER, procimpo REAL)");
  store.db().Run("INSERT INTO Legacy VALUES (?, ?, ?, ?)", 8.0, "POP", 7, 16.0);
  const auto rows = QueryRows<PersRow>(store.db(), "SELECT * FROM Legacy");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Ore_Zi, 8.0);
  EXPECT_EQ(rows[0].NUME, "POP");
  EXPECT_EQ(rows[0].Nr, 7);
  EXPECT_EQ(rows[0].ProcImpo, 16.0);
  EXPECT_TRUE(rows[0].DATA_LICH.IsEmpty());
}

// Many rows are read into place by their members' own types: texts held to
// their widths in characters, integers to their kinds' ranges, NULL as the
// default; and a write of some fields leaves the others as stored.
TEST(StoreTest, ManyRowsAreReadByTheirTypesAndOnlyTheFieldsNamedAreWritten) {
  testing::TempFolder folder;
  Store store(folder.path());
  store.EnsureRegisterTables();
  Database& db = store.db();
  // Written by another program: no widths, no ranges.
  db.Execute(
      "CREATE TABLE Legacy (Nr INTEGER PRIMARY KEY, NUME TEXT, ZILE_CIC INTEGER, SALINC REAL, "
      "LUNA TEXT, TIP TEXT)");
  std::string twenty_wide;
  for (int i = 0; i < 20; ++i) twenty_wide += "\xC8\x98";  // S with a comma below, two bytes
  db.Run("INSERT INTO Legacy VALUES (1, ?, 12, 1500.5, '2003-01-01', '1')",
         "ABCDEFGHIJKLMNOPQRSTUVWXY");
  db.Run("INSERT INTO Legacy VALUES (2, ?, NULL, NULL, NULL, NULL)", twenty_wide);
  db.Execute("INSERT INTO Legacy VALUES (3, 'POP', -7, 0, 'not a date', '2')");

  const auto rows = QueryManyRows<PersRow>(db, "FROM Legacy WHERE Nr > ?", "Nr", 0);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].NUME, "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(rows[0].ZILE_CIC, 12);
  EXPECT_EQ(rows[0].SALINC, 1500.5);
  EXPECT_EQ(rows[0].LUNA, Date::FromYmd(2003, 1, 1));
  EXPECT_EQ(rows[1].NUME, twenty_wide);  // 40 bytes, 20 characters: within the width
  EXPECT_EQ(rows[1].ZILE_CIC, 0);
  EXPECT_TRUE(rows[1].LUNA.IsEmpty());
  EXPECT_EQ(rows[1].TIP, "");
  EXPECT_EQ(rows[2].ZILE_CIC, -7);
  EXPECT_TRUE(rows[2].LUNA.IsEmpty());
  EXPECT_TRUE(QueryManyRows<PersRow>(db, "FROM Legacy WHERE Nr > ?", "Nr", 3).empty());

  // An integer out of its kind's range is refused, not cut.
  db.Execute("UPDATE Legacy SET ZILE_CIC = 40000 WHERE Nr = 3");
  EXPECT_THROW(QueryManyRows<PersRow>(db, "FROM Legacy WHERE Nr = ?", "Nr", 3),
               std::invalid_argument);

  // Only the fields named are written; the others keep what is stored.
  const PersRow before = rows[0];
  PersRow after = before;
  after.SALINC = 2000;
  after.NUME = "CHANGED IN MEMORY";
  db.Execute("UPDATE Legacy SET NUME = 'STORED' WHERE Nr = 1");
  RowWriter<PersRow> writer(db, "Legacy");
  FieldMask salary;
  salary.set(*FindField<PersRow>("SALINC"));
  EXPECT_TRUE(writer.UpdateFields(after, salary));
  auto stored = QueryRows<PersRow>(db, "SELECT * FROM Legacy WHERE Nr = 1");
  EXPECT_EQ(stored.at(0).SALINC, 2000);
  EXPECT_EQ(stored.at(0).NUME, "STORED");
  // A change found against the row as read writes that field alone.
  EXPECT_TRUE(writer.UpdateChanged(before, after));
  stored = QueryRows<PersRow>(db, "SELECT * FROM Legacy WHERE Nr = 1");
  EXPECT_EQ(stored.at(0).NUME, "CHANGED IN MEMORY");
  EXPECT_EQ(stored.at(0).TIP, "1");
  // No field changed: nothing written. A row that is not there: false.
  EXPECT_TRUE(writer.UpdateChanged(after, after));
  after.Nr = 99;
  EXPECT_FALSE(writer.UpdateFields(after, salary));
}

TEST(StoreTest, CompanyTablesNeedTheFolderAndUseEightCharacters) {
  testing::TempFolder folder;
  Store store(folder.path());
  store.EnsureRegisterTables();
  EXPECT_FALSE(store.CreateCompanyTables("NOFOLDER"));
  EXPECT_FALSE(fs::exists(folder.path() / "NOFOLDER"));
  fs::create_directories(folder.path() / "ABCDEFGH");
  EXPECT_TRUE(store.CreateCompanyTables("ABCDEFGHIJ"));
  EXPECT_TRUE(fs::exists(folder.path() / "ABCDEFGH" / kCompanyDatabaseName));
  EXPECT_TRUE(store.CreateCompanyTables("ABCDEFGH"));  // existing tables are kept
  EXPECT_THROW(store.OpenCompany("NOFOLDER"), StoreError);
}

// A code that cannot name a folder (a register row written by another
// program) never gives a path: it could lead out of the data folder.
TEST(StoreTest, OnlyACodeThatNamesAFolderGivesTheCompanysFolder) {
  const fs::path data = "/date";
  EXPECT_EQ(CheckedCompanyFolder(data, " DEMO "), data / "DEMO");
  EXPECT_EQ(CheckedCompanyFolder(data, "ABCDEFGH"), data / "ABCDEFGH");
  for (const char* code :
       {"", "  ", "..", ".", "A/B", "/", "A\\B", "ABCDEFGHI", "A.B", "A B", "A*", "\xC8\x98TEF"}) {
    EXPECT_THROW(CheckedCompanyFolder(data, code), Error) << code;
  }
}

TEST(StoreTest, MonthViewsShowOnlyTheOpenMonth) {
  testing::TempFolder folder;
  Store store(folder.path());
  store.EnsureRegisterTables();
  fs::create_directories(folder.path() / "ABC");
  store.CreateCompanyTables("ABC");
  store.OpenCompany("ABC");
  Database& db = store.db();
  for (int month = 1; month <= 3; ++month) {
    const Date luna = Date::FromYmd(2003, month, 1);
    db.Run("INSERT INTO Pers (LUNA, IID) VALUES (?, ?)", luna, month);
    db.Run("INSERT INTO Pers (LUNA, IID) VALUES (?, ?)", luna, 10 + month);
    db.Run("INSERT INTO ParF (Luna, Den, Val) VALUES (?, 'Deschisa', 0)", luna);
    db.Run("INSERT INTO Para (Luna, Den, Val) VALUES (?, 'SalMin', 1)", luna);
    db.Run("INSERT INTO Impo_an (Luna, P_Venit) VALUES (?, 1)", luna);
  }
  db.Run("INSERT INTO Impo_an (Luna, P_Venit) VALUES (?, 1)", Date::FromYmd(2004, 1, 1));
  store.OpenMonth(Date::FromYmd(2003, 2, 17));
  EXPECT_EQ(store.open_month(), Date::FromYmd(2003, 2, 1));
  EXPECT_EQ(db.QueryInt("SELECT count(*) FROM PersLuna"), 2);
  EXPECT_EQ(db.QueryInt("SELECT min(IID) FROM PersLuna"), 2);
  EXPECT_EQ(db.QueryInt("SELECT count(*) FROM ParFLuna"), 1);
  EXPECT_EQ(db.QueryInt("SELECT count(*) FROM ParaLuna"), 1);
  EXPECT_EQ(db.QueryInt("SELECT count(*) FROM ImpoAnLuna"), 3);  // the whole year
  store.OpenMonth(Date::FromYmd(2003, 3, 1));
  EXPECT_EQ(db.QueryInt("SELECT min(IID) FROM PersLuna"), 3);
}

TEST(RegisterPurgeTest, CompaniesWithoutAFolderLeaveTheRegister) {
  testing::TempFolder folder;
  Store store(folder.path());
  store.EnsureRegisterTables();
  fs::create_directories(folder.path() / "ABC");
  store.db().Run("INSERT INTO Firme (Cod, Denumire) VALUES ('ABC', 'Firma ABC')");
  store.db().Run("INSERT INTO Firme (Cod, Denumire) VALUES ('XYZ', 'Fara director')");
  YesPrompter yes;
  store.VerificareFoldere(yes);
  std::vector<std::string> codes;
  for (const auto& company : store.Companies()) codes.push_back(company.Cod);
  EXPECT_EQ(codes, std::vector<std::string>{"ABC"});
  EXPECT_TRUE(store.RegisterTableExists("Para"));
}

TEST(RegisterPurgeTest, AnEmptiedRegisterIsDroppedAndMadeAgain) {
  testing::TempFolder folder;
  {
    Store store(folder.path());
    store.EnsureRegisterTables();
    store.db().Run("INSERT INTO Para (Luna, Den, Val) VALUES ('2003-01-01', 'SalMin', 1)");
    // "TEST", set up once, has lost its folder: the register empties.
    store.db().Run("UPDATE Firme SET Denumire = 'Firma de proba' WHERE Cod = 'TEST'");
    YesPrompter yes;
    store.VerificareFoldere(yes);
    for (const char* table : {"Firme", "Para", "Impo", "Impo_an"}) {
      EXPECT_FALSE(store.RegisterTableExists(table)) << table;
    }
    EXPECT_THROW(OpenDatabases(folder.path()), Error);
  }
  Store store(folder.path());
  YesPrompter yes;
  store.VerificareFoldere(yes);  // nothing to purge without Firme
  store.EnsureRegisterTables();
  EXPECT_EQ(store.Companies().size(), 1u);
  EXPECT_EQ(store.db().QueryInt("SELECT count(*) FROM Para"), 0);
}

// The placeholder of a new register, never set up, leaves without a question
// once a real company exists, and stays while it is alone.
TEST(RegisterPurgeTest, TheUntouchedPlaceholderLeavesWithoutAQuestion) {
  testing::TempFolder folder;
  Store store(folder.path());
  store.EnsureRegisterTables();
  testing::ScriptedPrompter prompter;
  EXPECT_FALSE(store.VerificareFoldere(prompter));
  EXPECT_EQ(store.Companies().size(), 1u);

  fs::create_directories(folder.path() / "ABC");
  store.db().Run("INSERT INTO Firme (Cod, Denumire) VALUES ('ABC', 'Firma ABC')");
  EXPECT_TRUE(store.VerificareFoldere(prompter));
  EXPECT_TRUE(prompter.questions.empty());
  ASSERT_EQ(store.Companies().size(), 1u);
  EXPECT_EQ(store.Companies()[0].Cod, "ABC");
}

TEST(OpenDatabasesTest, FailuresCarryTheProgramsMessage) {
  testing::TempFolder folder;
  try {
    OpenDatabases(folder.path() / "missing");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 " Nu pot deschide tabelele necesare aplicatiei! \n\r Va rugam verificati !");
  }
  EXPECT_THROW(Store(folder.path() / "missing"), Error);
}

TEST(ClearReadOnlyTest, FilesInNestedFoldersBecomeWritable) {
  testing::TempFolder folder;
  fs::create_directories(folder.path() / "ABC" / "sub");
  const fs::path files[] = {folder.path() / "a.db", folder.path() / "ABC" / "b.db",
                            folder.path() / "ABC" / "sub" / "c.db"};
  for (const auto& file : files) {
    std::ofstream(file) << "x";
    fs::permissions(file, fs::perms::owner_read, fs::perm_options::replace);
  }
  ClearReadOnly(folder.path() / "a.db", false);  // a file's folder, not recursing
  EXPECT_NE(fs::status(files[0]).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(fs::status(files[1]).permissions() & fs::perms::owner_write, fs::perms::none);
  ClearReadOnly(folder.path(), true);
  for (const auto& file : files) {
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none) << file;
  }
  ClearReadOnly("", true);
  ClearReadOnly(folder.path() / "missing", true);
}

}  // namespace
}  // namespace traveno
