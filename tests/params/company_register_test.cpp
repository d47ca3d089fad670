#include "params/company_register.h"

#include <filesystem>

#include "core/data_folder.h"
#include "params/parameter_store.h"
#include "tests/params/fixture.h"

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

TEST_F(CloneMonthTest, ReplacesTheMonthKeepingRowNumbers) {
  prompter_.typed = {" confirm "};
  ASSERT_TRUE(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_));
  const auto rows = Employees(D(2003, 3));
  ASSERT_EQ(rows.size(), 2u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].Nr, source_rows_[i].Nr);
    EXPECT_EQ(rows[i].NUME, source_rows_[i].NUME);
  }
  EXPECT_EQ(db().QueryInt("SELECT AiPers FROM firma.Pint WHERE Luna = ?", D(2003, 3)),
            source_rows_[1].Nr);
  EXPECT_EQ(session_->parameters().company.TimpLuna, 160);
  EXPECT_EQ(session_->company(), "DEST");
  // Cloning again gives the same month and does not duplicate the photo.
  ASSERT_TRUE(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_));
  EXPECT_EQ(Employees(D(2003, 3)).size(), 2u);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.Poze"), 1);
  // A new row in the destination continues after the copied numbers.
  PersRow added;
  added.IID = 50;
  EXPECT_GT(AddEmployee(added).Nr, source_rows_[1].Nr);
}

TEST_F(CloneMonthTest, RowNumberUsedByAnotherMonthRefusesTheClone) {
  db().Run("INSERT INTO firma.Pers (Nr, LUNA, IID, NUME) VALUES (?, ?, 77, 'ALTA LUNA')",
           source_rows_[1].Nr, D(2003, 2));
  EXPECT_FALSE(CloneMonth(*session_, "SURSA", D(2003, 3), prompter_, progress_));
  EXPECT_TRUE(prompter_.Shown(kCloneNrCollision));
  ASSERT_EQ(Employees(D(2003, 3)).size(), 1u);
  EXPECT_EQ(Employees(D(2003, 3)).front().NUME, "VECHI");
  EXPECT_EQ(ReadCompany(db(), D(2003, 3), "TimpLuna"), 184);
}

}  // namespace
}  // namespace traveno::params::testing
