#include "params/company_register.h"

#include <filesystem>

#include "core/data_folder.h"
#include "core/errors.h"
#include "params/parameter_store.h"
#include "tests/params/fixture.h"
#include "tests/support/data_snapshot.h"
#include "tests/support/distinct_rows.h"

namespace traveno::params::testing {
namespace {

namespace fs = std::filesystem;

TEST(ValidFolderNameTest, RefusesReservedNamesAndUnsafeCharacters) {
  struct Case {
    const char* code;
    bool valid;
  };
  const Case kCases[] = {
      {"ALFA", true},
      {" alfa ", true},
      {"ABCDEFGH", true},
      {"ABCDEFGHI", false},
      {"", false},
      {"   ", false},
      {"CON", false},
      {"lpt1", false},
      {"NUCLEU", false},
      {"CLOCK$", false},
      {"A.B", false},
      {"A B", false},
      {"A/B", false},
      {"A\\B", false},
      {"A*", false},
      {"A\"B", false},
      {"A\x7f", false},
      {"\xc3\x8e"
       "A",
       false},
      {"COM5", true},
      {"A-B_1", true},
  };
  for (const Case& c : kCases) EXPECT_EQ(ValidFolderName(c.code), c.valid) << c.code;
}

class CompanyRegisterTest : public StoreFixture {};

TEST_F(CompanyRegisterTest, EditorRefusesInOrderAndStoresUpperCase) {
  CompanyInput input;
  input.row.Cod = "con";
  EXPECT_EQ(ValidateCompanyInput(input, prompter_).focus, "Cod");
  input.row.Cod = "beta";
  EXPECT_EQ(ValidateCompanyInput(input, prompter_).focus, "Denumire");
  input.legal_entity = false;
  input.row.Prenume = "ion";
  EXPECT_EQ(ValidateCompanyInput(input, prompter_).focus, "Nume");
  EXPECT_TRUE(prompter_.Shown(kInvalidCompanyCode));
  EXPECT_TRUE(prompter_.Shown(kCompanyNameMissing));
  EXPECT_TRUE(prompter_.Shown(kEmployerNameMissing));

  input.row.Nume = "popescu";
  input.row.Denumire = "ignorata";
  input.row.EMail = "Pop@Firma.ro";
  input.footer = {"   Multumim", ""};
  ASSERT_EQ(params::AddCompany(*store_, input, prompter_), AddCompanyResult::kAdded);
  const auto row = store_->FindCompany("BETA");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->TipAngaj, 2);
  EXPECT_EQ(row->Denumire, "POPESCU ION");
  EXPECT_EQ(row->EMail, "Pop@Firma.ro");
  EXPECT_EQ(LoadFooter(folder_.path(), "BETA").line1, "   Multumim");
  EXPECT_EQ(LoadFooter(folder_.path(), "BETA").line2, "");
  // The same code again adds nothing.
  EXPECT_EQ(params::AddCompany(*store_, input, prompter_), AddCompanyResult::kCodeExists);
  EXPECT_EQ(store_->Companies().size(), 2u);  // TEST and BETA
}

TEST_F(CompanyRegisterTest, ModifyKeepsTheCode) {
  AddCompany("ALFA");
  const FirmeRow stored = *store_->FindCompany("ALFA");
  CompanyInput input = LoadCompanyInput(*store_, stored);
  input.row.Cod = "ALTUL";
  input.row.Denumire = "noua denumire";
  ASSERT_TRUE(ModifyCompany(*store_, stored.CodF, input, prompter_));
  const auto row = store_->FindCompany("ALFA");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->Denumire, "NOUA DENUMIRE");
  EXPECT_FALSE(store_->FindCompany("ALTUL"));
}

TEST_F(CompanyRegisterTest, NewCompanyIsInitialisedOnItsFirstMonth) {
  AddCompany("ALFA");
  EXPECT_FALSE(IsCompanyInitialised(*store_, "ALFA"));
  EXPECT_TRUE(ListCompanyMonths(*store_, "ALFA").empty());
  // Abandoning the first-month dialog chooses nothing.
  EXPECT_FALSE(ChooseCompanyAndMonth(*session_, "ALFA", std::nullopt, prompter_, progress_));
  EXPECT_FALSE(session_->HasWorkingMonth());
  ASSERT_TRUE(ChooseCompanyAndMonth(*session_, "ALFA", D(2003, 1, 17), prompter_, progress_));
  EXPECT_EQ(session_->company(), "ALFA");
  EXPECT_EQ(session_->working_month(), D(2003, 1));
  const auto months = ListCompanyMonths(*store_, "ALFA");
  ASSERT_EQ(months.size(), 1u);
  EXPECT_EQ(MonthListLine(months[0].luna), "2003  -  01   ( IANUARIE )");
  // A month the company does not have is refused and the session stays.
  EXPECT_FALSE(ChooseCompanyAndMonth(*session_, "ALFA", D(2003, 5), prompter_, progress_));
  EXPECT_TRUE(prompter_.Shown(kMonthNotInCompany));
  EXPECT_EQ(session_->working_month(), D(2003, 1));
}

// A first month outside the years a month may have (its employees could not
// be stored, its next month not made) is refused before anything is made.
TEST_F(CompanyRegisterTest, AFirstMonthOutsideTheStoredYearsIsRefused) {
  AddCompany("ALFA");
  const std::string before = traveno::testing::DataSnapshot(folder_.path());
  for (const Date month : {D(9999, 12), D(1899, 12), D(3000, 1)}) {
    SCOPED_TRACE(month.ToText());
    prompter_.messages.clear();
    EXPECT_FALSE(ChooseCompanyAndMonth(*session_, "ALFA", month, prompter_, progress_));
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text,
              "Data " + month.ToText() +
                  " nu este permisa pentru luna de lucru: se accepta datele anilor 1900 - 2999 !");
    EXPECT_FALSE(session_->HasWorkingMonth());
    EXPECT_FALSE(fs::exists(folder_.path() / "ALFA"));
    EXPECT_EQ(traveno::testing::DataSnapshot(folder_.path()), before);
  }
  EXPECT_TRUE(ChooseCompanyAndMonth(*session_, "ALFA", D(2999, 12), prompter_, progress_));
}

TEST_F(CompanyRegisterTest, ExistingFolderStopsTheFirstChoice) {
  AddCompany("ALFA");
  fs::create_directories(folder_.path() / "ALFA");
  EXPECT_FALSE(ChooseCompanyAndMonth(*session_, "ALFA", D(2003, 1), prompter_, progress_));
  EXPECT_TRUE(prompter_.Shown(kCompanyFolderExists));
  EXPECT_FALSE(session_->HasWorkingMonth());
}

TEST_F(CompanyRegisterTest, DeleteAsksByWhatTheFolderHolds) {
  Open("WORK", D(2003, 1));
  AddCompany("NOFOLDER");
  Open("FULL", D(2003, 1));
  AddCompany("EMPTY");
  fs::create_directories(folder_.path() / "EMPTY");
  ASSERT_TRUE(ChooseCompanyAndMonth(*session_, "WORK", D(2003, 1), prompter_, progress_));

  EXPECT_FALSE(DeleteCompany(*store_, "WORK", "WORK", prompter_));
  EXPECT_TRUE(prompter_.Shown(kDeleteWorkingCompany));
  // The register window asks this before its editor opens.
  EXPECT_FALSE(MayDeleteCompany("WORK", " work ", prompter_));
  EXPECT_TRUE(MayDeleteCompany("WORK", "FULL", prompter_));
  EXPECT_TRUE(MayDeleteCompany("", "WORK", prompter_));
  EXPECT_TRUE(prompter_.questions.empty());

  prompter_.yes_no = {false};
  EXPECT_FALSE(DeleteCompany(*store_, "WORK", "FULL", prompter_));
  EXPECT_TRUE(fs::exists(folder_.path() / "FULL"));

  EXPECT_TRUE(DeleteCompany(*store_, "WORK", "FULL", prompter_));
  EXPECT_FALSE(fs::exists(folder_.path() / "FULL"));
  EXPECT_NE(prompter_.questions.back().find("Firma FULL are parametrii"), std::string::npos);

  EXPECT_TRUE(DeleteCompany(*store_, "WORK", "EMPTY", prompter_));
  EXPECT_TRUE(fs::exists(folder_.path() / "EMPTY"));  // only the row goes
  EXPECT_NE(prompter_.questions.back().find("firma  EMPTY"), std::string::npos);

  EXPECT_TRUE(DeleteCompany(*store_, "WORK", "NOFOLDER", prompter_));
  EXPECT_FALSE(store_->FindCompany("NOFOLDER"));
  EXPECT_FALSE(store_->FindCompany("FULL"));
  EXPECT_TRUE(store_->FindCompany("WORK"));
}

class CloneMonthTest : public StoreFixture {
 protected:
  // SURSA with two employees and a dependant in March 2003, DEST with its own
  // March; DEST is the working company.
  void SetUp() override {
    Open("SURSA", D(2003, 3));
    for (int iid = 1; iid <= 2; ++iid) {
      PersRow row;
      row.IID = iid;
      row.NUME = "SURSA" + std::to_string(iid);
      source_rows_.push_back(AddEmployee(row));
    }
    AddDependant(2, "555");
    WriteCompany(db(), D(2003, 3), "TimpLuna", 160);
    db().Run("INSERT INTO firma.Poze (IID, Poza) VALUES (1, x'0102')");
    Open("DEST", D(2003, 3));
    PersRow own;
    own.IID = 9;
    own.NUME = "VECHI";
    AddEmployee(own);
  }

  std::vector<PersRow> source_rows_;
};

TEST_F(CloneMonthTest, RefusalsChangeNothing) {
  struct Case {
    std::string typed;
    std::string source;
    Date month;
    const char* message;
    CloneOutcome outcome;
  };
  const Case kCases[] = {
      {"confirma", "SURSA", D(2003, 3), kCloneNotDone, CloneOutcome::kNotConfirmed},
      {"", "SURSA", D(2003, 3), kCloneNotDone, CloneOutcome::kNotConfirmed},
      {"CONFIRM", "dest", D(2003, 3), kCloneSameCompany, CloneOutcome::kSameCompany},
      {"CONFIRM", "SURSA", D(2003, 4), kCloneOtherMonth, CloneOutcome::kOtherMonth},
      {"CONFIRM", "TEST", D(2003, 3), kCloneSourceMonthMissing, CloneOutcome::kRefused},
  };
  for (const Case& c : kCases) {
    prompter_.typed = {c.typed};
    EXPECT_EQ(CloneMonthOutcome(*session_, c.source, c.month, prompter_, progress_), c.outcome)
        << c.message;
    EXPECT_TRUE(prompter_.Shown(c.message)) << c.message;
  }
  ASSERT_EQ(Employees(D(2003, 3)).size(), 1u);
  EXPECT_EQ(Employees(D(2003, 3)).front().NUME, "VECHI");
}

TEST_F(CloneMonthTest, ReplacesTheMonthKeepingThePersons) {
  prompter_.typed = {" confirm "};
  ASSERT_TRUE(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_));
  const auto rows = Employees(D(2003, 3));
  ASSERT_EQ(rows.size(), 2u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].IID, source_rows_[i].IID);
    EXPECT_EQ(rows[i].NUME, source_rows_[i].NUME);
  }
  EXPECT_EQ(db().QueryInt("SELECT AiPers FROM firma.Pint WHERE Luna = ?", D(2003, 3)), rows[1].Nr);
  EXPECT_EQ(session_->parameters().company.TimpLuna, 160);
  EXPECT_EQ(session_->company(), "DEST");
  // Cloning again gives the same month and does not duplicate the photo.
  ASSERT_TRUE(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_));
  EXPECT_EQ(Employees(D(2003, 3)).size(), 2u);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.Poze"), 1);
  // A new row in the destination continues after the copied numbers.
  PersRow added;
  added.IID = 50;
  EXPECT_GT(AddEmployee(added).Nr, rows[1].Nr);
}

TEST_F(CloneMonthTest, RowNumberUsedByAnotherMonthGetsANewOne) {
  db().Run("INSERT INTO firma.Pers (Nr, LUNA, IID, NUME) VALUES (?, ?, 77, 'ALTA LUNA')",
           source_rows_[1].Nr, D(2003, 2));
  ASSERT_TRUE(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_));
  const auto rows = Employees(D(2003, 3));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NE(rows[1].Nr, source_rows_[1].Nr);
  EXPECT_EQ(rows[1].NUME, "SURSA2");
  EXPECT_EQ(Employees(D(2003, 2)).front().NUME, "ALTA LUNA");
  EXPECT_EQ(ReadCompany(db(), D(2003, 3), "TimpLuna"), 160);
}

// A source month whose every field holds a value of its own, cloned into a
// destination month that already has employees, dependants, parameters and a
// photo of its own, and an earlier month that the clone must leave alone.
class CloneFieldsTest : public StoreFixture {
 protected:
  void SetUp() override {
    Open("SURSA", D(2003, 3));
    for (int seed = 1; seed <= 3; ++seed) {
      // Row numbers that the destination does not use in another month.
      PersRow row = traveno::testing::PlausiblePersRow(seed);
      row.Nr = 100 + seed;
      row.LUNA = D(2003, 3);
      RowWriter<PersRow>(db(), "Pers").Insert(row, /*keep_identity=*/true);
      source_rows_.push_back(row);
      PintRow dependant = traveno::testing::DistinctRow<PintRow>(seed);
      dependant.Luna = D(2003, 3);
      dependant.IID = source_rows_.back().IID;
      dependant.Calitate = seed;
      dependant.Invaliditate = seed - 1;
      dependant.Coef = 0.25 * seed;
      RowWriter<PintRow>(db(), "Pint").Insert(dependant);
      source_dependants_.push_back(dependant);
    }
    db().Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, 'DEP_SURSA', 7, 'SURSA')",
             D(2003, 3));
    source_parameters_ = ParameterRows(D(2003, 3));
    db().Run("INSERT INTO firma.Poze (IID, Poza) VALUES (301, x'0102')");

    Open("DEST", D(2003, 3));
    PersRow own;
    own.IID = 9;
    own.NUME = "VECHI";
    own_nr_ = AddEmployee(own).Nr;
    AddDependant(9, "1111111111111");
    AddDependant(9, "2222222222222");
    db().Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, 'DEP_VECHI', 1, 'VECHI')",
             D(2003, 3));
    db().Run("INSERT INTO firma.Poze (IID, Poza) VALUES (9, x'09')");
    // An earlier month of the destination, which the clone leaves alone.
    db().Run("INSERT INTO firma.Pers (LUNA, IID, NUME) VALUES (?, 9, 'FEBRUARIE')", D(2003, 2));
    db().Run("INSERT INTO firma.Pint (Luna, IID, Nume, CODNUMPERS) VALUES (?, 9, 'D', '3')",
             D(2003, 2));
    db().Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, 'Deschisa', 1, '')",
             D(2003, 2));
  }

  std::vector<std::string> ParameterRows(Date month) {
    std::vector<std::string> rows;
    for (const ParFRow& row :
         QueryRows<ParFRow>(db(), "SELECT * FROM firma.ParF WHERE Luna = ? ORDER BY Nr", month)) {
      rows.push_back(row.Den + "|" + std::to_string(row.Val) + "|" + row.Grupa);
    }
    return rows;
  }

  std::vector<PersRow> source_rows_;
  std::vector<PintRow> source_dependants_;
  std::vector<std::string> source_parameters_;
  std::int64_t own_nr_ = 0;
};

TEST_F(CloneFieldsTest, TheMonthBecomesTheSourcesFieldByField) {
  ASSERT_TRUE(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_));

  // Employees: every field, month and identity included; the row number is
  // the destination's own.
  const auto rows = Employees(D(2003, 3));
  ASSERT_EQ(rows.size(), source_rows_.size());
  const auto fields = FieldsOf<PersRow>();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t f = 1; f < fields.size(); ++f) {
      EXPECT_EQ(GetField(rows[r], f), GetField(source_rows_[r], f))
          << fields[f].name << " of IID " << source_rows_[r].IID << ": "
          << traveno::testing::FieldText(GetField(rows[r], f)) << " instead of "
          << traveno::testing::FieldText(GetField(source_rows_[r], f));
    }
  }
  EXPECT_FALSE(db().QueryInt("SELECT 1 FROM firma.Pers WHERE Nr = ?", own_nr_));

  // Dependants: the source's only, each linked to its employee's row.
  const auto dependants =
      QueryRows<PintRow>(db(), "SELECT * FROM firma.Pint WHERE Luna = ? ORDER BY Nr", D(2003, 3));
  ASSERT_EQ(dependants.size(), source_dependants_.size());
  for (std::size_t i = 0; i < dependants.size(); ++i) {
    const PintRow& copied = dependants[i];
    const PintRow& source = source_dependants_[i];
    EXPECT_EQ(copied.Luna, D(2003, 3));
    EXPECT_EQ(copied.IID, source.IID);
    EXPECT_EQ(copied.AiPers, rows[i].Nr);
    EXPECT_EQ(copied.Nume, source.Nume);
    EXPECT_EQ(copied.Prenume, source.Prenume);
    EXPECT_EQ(copied.CODNUMPERS, source.CODNUMPERS);
    EXPECT_EQ(copied.Calitate, source.Calitate);
    EXPECT_EQ(copied.Invaliditate, source.Invaliditate);
    EXPECT_EQ(copied.Coef, source.Coef);
  }

  // Parameters: the source's rows of the month, the destination's own gone.
  EXPECT_EQ(ParameterRows(D(2003, 3)), source_parameters_);
  // Photos: the destination keeps its own and gets the source's.
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.Poze WHERE IID = 9 AND Poza = x'09'"), 1);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.Poze WHERE IID = 301 AND Poza = x'0102'"), 1);
  // The earlier month is untouched.
  EXPECT_EQ(Employees(D(2003, 2)).size(), 1u);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.Pint WHERE Luna = ?", D(2003, 2)), 1);
  EXPECT_EQ(ParameterRows(D(2003, 2)), std::vector<std::string>{"Deschisa|1.000000|"});
}

// A failure at any table of the copy leaves the destination as it was: the
// deletions of its month are undone with the rows already copied.
TEST_F(CloneFieldsTest, AFailureHalfWayLeavesTheDestinationAsItWas) {
  const std::string before = Snapshot();
  struct Case {
    const char* trigger;
    bool thrown;  // else refused with a message
    const char* message;
  };
  const Case kCases[] = {
      {"BEFORE DELETE ON firma.Pint", false, kCloneDeleteFailed},
      {"AFTER INSERT ON firma.Pers", false, kCloneCopyFailed},
      {"AFTER INSERT ON firma.Pint", true, ""},
      {"AFTER INSERT ON firma.ParF", true, ""},
      {"AFTER INSERT ON firma.Poze", true, ""},
  };
  for (const Case& c : kCases) {
    db().Execute(std::string("CREATE TEMP TRIGGER refuse ") + c.trigger +
                 " BEGIN SELECT RAISE(ABORT, 'disc plin'); END");
    prompter_.messages.clear();
    if (c.thrown) {
      EXPECT_THROW(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_), StoreError)
          << c.trigger;
    } else {
      EXPECT_FALSE(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_)) << c.trigger;
      EXPECT_TRUE(prompter_.Shown(c.message)) << c.trigger;
    }
    db().Execute("DROP TRIGGER temp.refuse");
    EXPECT_EQ(Snapshot(), before) << c.trigger;
    EXPECT_EQ(session_->company(), "DEST");
  }
  // Once the cause is gone the clone completes.
  ASSERT_TRUE(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_));
  EXPECT_EQ(Employees(D(2003, 3)).size(), source_rows_.size());
}

}  // namespace
}  // namespace traveno::params::testing
