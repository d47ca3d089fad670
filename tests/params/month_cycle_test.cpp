#include "params/month_cycle.h"

#include "core/errors.h"
#include "core/store/field_rules.h"
#include "params/parameter_edits.h"
#include "params/parameter_store.h"
#include "params/recalculate.h"
#include "tests/params/fixture.h"

namespace traveno::params::testing {
namespace {

class MonthCycleTest : public StoreFixture {
 protected:
  std::int64_t ListBracketsCount(Date month) {
    return db().QueryInt("SELECT count(*) FROM main.Impo WHERE Luna = ?", month).value_or(0);
  }
};

TEST_F(MonthCycleTest, FindSourceMonthLooksBackThenForward) {
  struct Case {
    Date month;
    Date expected;
  };
  EXPECT_EQ(FindSourceMonth(db(), MonthTable::kImpo, D(2003, 5)), EmptyDate());
  db().Run("INSERT INTO main.Impo (Luna, P_Venit) VALUES (?, 0), (?, 0)", D(2003, 3), D(2003, 7));
  const Case kCases[] = {
      {D(2003, 3), D(2003, 3)},  // its own month
      {D(2003, 5), D(2003, 3)},  // the latest month before
      {D(2004, 1), D(2003, 7)},
      {D(2002, 12), D(2003, 3)},  // nothing before: the earliest month after
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(FindSourceMonth(db(), MonthTable::kImpo, c.month), c.expected) << c.month.ToText();
  }
}

TEST_F(MonthCycleTest, ChosenMonthGetsItsSharedTablesFromTheNearestMonth) {
  Open("ALFA", D(2003, 3));
  // The first month of an empty register gets the default tables.
  EXPECT_EQ(ListBracketsCount(D(2003, 3)), 5);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM main.Impo_an WHERE Luna = ?", D(2003, 1)), 5);
  WriteGeneral(db(), D(2003, 3), "CAS", 22);
  // An earlier month copies the earliest later month; a year without annual
  // brackets gets the default annual table.
  PrepareSharedTables(db(), D(2002, 11));
  EXPECT_EQ(ReadGeneral(db(), D(2002, 11), "CAS"), 22);
  EXPECT_EQ(ListBracketsCount(D(2002, 11)), 5);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM main.Impo_an WHERE Luna = ?", D(2002, 1)), 5);
  // A later month copies the nearest earlier one.
  WriteGeneral(db(), D(2002, 11), "CAS", 30);
  PrepareSharedTables(db(), D(2003, 2));
  EXPECT_EQ(ReadGeneral(db(), D(2003, 2), "CAS"), 30);
  // Preparing again adds nothing.
  const auto rows = db().QueryInt("SELECT count(*) FROM main.Para");
  PrepareSharedTables(db(), D(2003, 2));
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM main.Para"), rows);
}

TEST_F(MonthCycleTest, TransitionCarriesOrZeroesEachFigureByItsFlag) {
  Open("ALFA", D(2003, 1));
  PersRow row;
  row.IID = 1;
  row.NUME = "POP";
  row.SALINC = 3000000;
  row.TIMP = 160;
  row.TIMP_SPL = 4;
  row.Spor1 = 10;
  row.vals1 = 11;
  row.spor2 = 20;
  row.PRIME = 500;
  row.CM1L = 100;
  row.CM2L = 200;
  row.AVANS = 300;
  row.ZILE_FP = 2;
  row.ProcImpo = 50;
  row.BRUT = 999;
  row.IMPOZIT = 88;
  row.ALTESPORP = 7;
  row.Brut1 = 6;
  row.CoefInd = 1.5;
  row.Depart = "CENTRAL";
  AddEmployee(row);
  // Carry flags: the input of bonus 2, CM Stat and the advance are carried;
  // ProcImpo starts at 100.
  engine::CompanyParameters& company = session_->parameters().company;
  company.spor[1].Init = 0;
  company.Cm2l = 0;
  company.Avans = 2;  // any value other than 1 carries
  company.spor[0].Init = 1;
  company.ProcImpo = 1;
  SaveCompanyParameters(db(), D(2003, 1), company);

  PassToNextMonth(*session_, progress_);
  ASSERT_EQ(session_->working_month(), D(2003, 2));
  const auto next = Employees(D(2003, 2));
  ASSERT_EQ(next.size(), 1u);
  const PersRow& n = next.front();
  struct Case {
    const char* field;
    double stored;
    double expected;
  };
  const Case kCases[] = {
      {"TIMP", n.TIMP, 0},
      {"TIMP_SPL", n.TIMP_SPL, 0},
      {"Spor1", n.Spor1, 0},
      {"spor2", n.spor2, 20},
      {"PRIME", n.PRIME, 0},
      {"CM1L", n.CM1L, 0},
      {"CM2L", n.CM2L, 200},
      {"AVANS", n.AVANS, 300},
      {"ZILE_FP", double(n.ZILE_FP), 0},
      {"ProcImpo", n.ProcImpo, 100},
      {"ALTESPORP", n.ALTESPORP, 0},
      {"SALINC", n.SALINC, 3000000},
      {"CoefInd", n.CoefInd, 1.5},
      {"CoefInd1", n.CoefInd1, 1.5},
  };
  for (const Case& c : kCases) EXPECT_EQ(c.stored, c.expected) << c.field;
  EXPECT_EQ(n.NUME, "POP");
  EXPECT_EQ(n.Depart, "CENTRAL");
  EXPECT_EQ(n.DED_PERS, session_->parameters().general.DedBaza);
  EXPECT_NE(n.Nr, Employees(D(2003, 1)).front().Nr);
}

TEST_F(MonthCycleTest, TransitionCarriesOnlyWhoIsStillEmployedAndSetsCoefficients) {
  Open("ALFA", D(2003, 1));
  struct Case {
    int iid;
    Date leaving;
    const char* tip;
    int platit_ora;
    double coef;
    bool carried;
    double expected_coef;
  };
  const Case kCases[] = {
      {1, EmptyDate(), "1", 0, 0.8, true, 1}, {2, D(2003, 1, 15), "1", 0, 1, false, 0},
      {3, D(2003, 2, 1), "1", 0, 2, true, 2}, {4, EmptyDate(), "2", 0, 1.5, true, 0},
      {5, EmptyDate(), "2", 1, 0.5, true, 1},
  };
  for (const Case& c : kCases) {
    PersRow row;
    row.IID = c.iid;
    row.DATA_LICH = c.leaving;
    row.TIP = c.tip;
    row.PlatitOra = c.platit_ora;
    row.CoefInd = c.coef;
    AddEmployee(row);
  }
  PassToNextMonth(*session_, progress_);
  const auto next = Employees(D(2003, 2));
  for (const Case& c : kCases) {
    const PersRow* found = nullptr;
    for (const PersRow& row : next) {
      if (row.IID == c.iid) found = &row;
    }
    EXPECT_EQ(found != nullptr, c.carried) << c.iid;
    if (found != nullptr) {
      EXPECT_EQ(found->CoefInd, c.expected_coef) << c.iid;
      EXPECT_EQ(found->CoefInd1, c.expected_coef) << c.iid;
    }
  }
}

TEST_F(MonthCycleTest, TransitionCopiesDependantsOncePerCodeAndLinksThem) {
  Open("ALFA", D(2003, 1));
  PersRow first;
  first.IID = 1;
  AddEmployee(first);
  PersRow second;
  second.IID = 2;
  AddEmployee(second);
  PersRow leaver;
  leaver.IID = 3;
  leaver.DATA_LICH = D(2003, 1, 20);
  AddEmployee(leaver);
  AddDependant(1, "1111111111111");
  AddDependant(2, "1111111111111");  // same code: not copied again
  AddDependant(2, "");
  AddDependant(1, "");               // both empty: only the first
  AddDependant(3, "2222222222222");  // the employee is not carried
  PassToNextMonth(*session_, progress_);
  Statement statement = db().Prepare(
      "SELECT D.IID, D.CODNUMPERS, D.AiPers, P.Nr FROM firma.Pint D LEFT JOIN firma.Pers P "
      "ON P.LUNA = D.Luna AND P.IID = D.IID WHERE D.Luna = ? ORDER BY D.Nr");
  statement.Bind(1, D(2003, 2));
  std::vector<std::pair<int, std::string>> copied;
  while (statement.Step()) {
    copied.push_back({static_cast<int>(statement.Int64(0)), statement.Text(1)});
    EXPECT_EQ(statement.Int64(2), statement.Int64(3)) << "AiPers links the employee's row";
  }
  const std::vector<std::pair<int, std::string>> expected = {{1, "1111111111111"}, {2, ""}};
  EXPECT_EQ(copied, expected);
}

TEST_F(MonthCycleTest, TransitionResetsMonthlySettingsAndClosesTheOldMonth) {
  Open("ALFA", D(2003, 1));
  engine::CompanyParameters& company = session_->parameters().company;
  company.Ex_Pensie = {40, "NU"};
  company.ZileLibere = ",1,2";
  company.SDAsig = 9;
  SaveCompanyParameters(db(), D(2003, 1), company);
  db().Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, 'DEP_VANZ', 0, 'VANZARI')",
           D(2003, 1));
  PassToNextMonth(*session_, progress_);
  const Date feb = D(2003, 2);
  EXPECT_EQ(ReadCompany(db(), D(2003, 1), "Deschisa"), 1);
  EXPECT_EQ(ReadCompany(db(), feb, "Deschisa"), 0);
  EXPECT_EQ(ReadCompany(db(), feb, "Ex_Pensie"), 100);
  EXPECT_EQ(ReadCompanyText(db(), feb, "Ex_Pensie"), "DA");
  EXPECT_EQ(ReadCompanyText(db(), feb, "ZileLibere"), "");
  EXPECT_EQ(ReadCompany(db(), feb, "SDAsig"), 0);
  EXPECT_EQ(ReadCompanyText(db(), feb, "DEP_VANZ"), "VANZARI");
  EXPECT_EQ(session_->last_month(), feb);
  EXPECT_FALSE(session_->month_closed());
  EXPECT_EQ(session_->department_count(), 2);
  EXPECT_EQ(ZeroedColumnsText(session_->parameters().company).substr(0, 17), "Timp,  Timp spl.,");
  // Only the last month passes on.
  ASSERT_TRUE(ChooseCompanyAndMonth(*session_, "ALFA", D(2003, 1), prompter_, progress_));
  EXPECT_THROW(PassToNextMonth(*session_, progress_), Error);
}

TEST_F(MonthCycleTest, DecemberToJanuaryCopiesTheAnnualBrackets) {
  Open("ALFA", D(2003, 11));
  db().Run("DELETE FROM main.Impo_an");
  db().Run(
      "INSERT INTO main.Impo_an (Luna, P_Venit, V_Const, V_Proc) VALUES (?, 0, 0, 10), "
      "(?, 1000, 100, 20)",
      D(2003, 1), D(2003, 1));
  PassToNextMonth(*session_, progress_);  // to December: the annual table stays alone
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM main.Impo_an"), 2);
  PassToNextMonth(*session_, progress_);  // to January
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM main.Impo_an WHERE Luna = ? AND V_Proc IN (10, 20)",
                          D(2004, 1)),
            2);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM main.Impo WHERE Luna = ?", D(2004, 1)), 5);
  EXPECT_EQ(ReadGeneral(db(), D(2004, 1), "DedBaza"), 1800000);
}

TEST_F(MonthCycleTest, InterruptedTransitionLeavesEverythingAsBeforeAndTheNextOneCompletes) {
  Open("ALFA", D(2003, 1));
  for (int iid = 1; iid <= 3; ++iid) {
    PersRow row;
    row.IID = iid;
    row.SALINC = 2000000;
    row.TIMP = 184;
    AddEmployee(row);
    AddDependant(iid, "19" + std::to_string(iid));
  }
  RecalculateMonth(*session_, progress_);
  const std::string before = Snapshot();
  // A failure after any step, the copy of the employees included.
  for (TransitionStep failing_step :
       {TransitionStep::kMonthClosed, TransitionStep::kCompanyParametersCopied,
        TransitionStep::kEmployeesCopied, TransitionStep::kDependantsCopied,
        TransitionStep::kSharedTablesCopied, TransitionStep::kDependantsLinked}) {
    TransitionHooks failing;
    failing.after_step = [failing_step](TransitionStep step) {
      if (step == failing_step) throw StoreError("disk full");
    };
    EXPECT_THROW(PassToNextMonth(*session_, progress_, failing), StoreError);
    EXPECT_EQ(Snapshot(), before) << static_cast<int>(failing_step);
    EXPECT_EQ(session_->working_month(), D(2003, 1));
    EXPECT_FALSE(session_->month_closed());
  }

  PassToNextMonth(*session_, progress_);
  EXPECT_EQ(Employees(D(2003, 2)).size(), 3u);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.Pint WHERE Luna = ?", D(2003, 2)), 3);
  EXPECT_EQ(ReadCompany(db(), D(2003, 1), "Deschisa"), 1);
}

// The pay day is a day of the month that follows the declared month, on every
// path: the window's check, a save through the store and the transition.
TEST_F(MonthCycleTest, ThePayDayIsADayOfTheNextMonthOnEveryPath) {
  Open("ALFA", D(2003, 2));
  // February is paid in March: the 31st exists.
  engine::CompanyParameters values = session_->parameters().company;
  values.ZiLichidare = 31;
  ASSERT_TRUE(CheckCompanyParameters(*session_, values, {}, prompter_).confirmed);
  SaveMonthParameters(*session_, nullptr, &values, progress_);

  // March is paid in April: the transition carries the last day of April and says so.
  const std::vector<std::string> notices = PassToNextMonth(*session_, progress_);
  EXPECT_EQ(notices, std::vector<std::string>{PayDayMovedNotice(31, D(2003, 3), 30)});
  EXPECT_EQ(notices.front(),
            "Ziua lichidarii 31 nu exista in luna APRILIE / 2003: pentru luna MARTIE / 2003 "
            "ziua lichidarii este 30.");
  EXPECT_EQ(ReadCompany(db(), D(2003, 3), "ZiLichidare"), 30);
  EXPECT_EQ(session_->parameters().company.ZiLichidare, 30);
  EXPECT_EQ(ReadCompany(db(), D(2003, 2), "ZiLichidare"), 31);  // February keeps its own

  // The window and the store refuse the 31st in March alike.
  values = session_->parameters().company;
  values.ZiLichidare = 31;
  prompter_.messages.clear();
  EXPECT_EQ(CheckCompanyParameters(*session_, values, {}, prompter_).focus, "ZiLichidare");
  EXPECT_TRUE(prompter_.Shown("Ziua lichidarii este incorecta pentru aceasta luna!"));
  EXPECT_THROW(WriteCompany(db(), D(2003, 3), "ZiLichidare", 31), ValueRefused);
  EXPECT_THROW(SaveCompanyParameters(db(), D(2003, 3), values), ValueRefused);
  EXPECT_EQ(ReadCompany(db(), D(2003, 3), "ZiLichidare"), 30);

  // A pay day April has passes on as it is, without a notice.
  EXPECT_TRUE(PassToNextMonth(*session_, progress_).empty());
  EXPECT_EQ(ReadCompany(db(), D(2003, 4), "ZiLichidare"), 30);
}

TEST_F(MonthCycleTest, CopyStepsSkipWhatTheTargetHolds) {
  Open("ALFA", D(2003, 1));
  PersRow row;
  row.IID = 1;
  AddEmployee(row);
  AddDependant(1, "123");
  const Date feb = D(2003, 2);
  for (int run = 0; run < 2; ++run) {
    Transaction tx(db());
    CopyCompanyParameters(db(), D(2003, 1), feb);
    CopyEmployees(db(), D(2003, 1), feb, session_->parameters());
    CopyDependants(db(), D(2003, 1), feb);
    CopyMonthRows(db(), MonthTable::kImpo, D(2003, 1), feb);
    tx.Commit();
  }
  EXPECT_EQ(Employees(feb).size(), 1u);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.Pint WHERE Luna = ?", feb), 1);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.ParF WHERE Luna = ?", feb),
            db().QueryInt("SELECT count(*) FROM firma.ParF WHERE Luna = ?", D(2003, 1)));
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM main.Impo WHERE Luna = ?", feb), 5);
}

TEST_F(MonthCycleTest, ClosedMonthKeepsItsFiguresAndOpenMonthIsRecalculated) {
  Open("ALFA", D(2003, 1));
  PersRow row;
  row.IID = 1;
  row.SALINC = 2000000;
  row.TIMP = 184;
  row.BRUT = 5;
  AddEmployee(row);
  EXPECT_TRUE(ToggleMonthClosed(*session_));
  EXPECT_EQ(ReadCompany(db(), D(2003, 1), "Deschisa"), 1);
  RecalculateMonth(*session_, progress_);
  EXPECT_EQ(Employees(D(2003, 1)).front().BRUT, 5);
  EXPECT_EQ(session_->totals().BrutP, 5);
  EXPECT_FALSE(ToggleMonthClosed(*session_));
  RecalculateMonth(*session_, progress_);
  EXPECT_EQ(Employees(D(2003, 1)).front().BRUT, 2000000);
  EXPECT_EQ(session_->totals().BrutP, 2000000);
  EXPECT_EQ(session_->totals().NrAngajati, 1);
}

TEST_F(MonthCycleTest, PastRowsReadTheCompanyMonths) {
  Open("ALFA", D(2003, 1));
  PersRow row;
  row.IID = 7;
  AddEmployee(row);
  PassToNextMonth(*session_, progress_);
  StorePastRows past(db());
  EXPECT_EQ(past.RowsOf(7, D(2003, 1), D(2003, 2)).size(), 2u);
  EXPECT_TRUE(past.RowsOf(7, D(2003, 2), D(2003, 1)).empty());
  EXPECT_EQ(past.CompanyValueOf(D(2003, 1), "Deschisa"), 1);
  EXPECT_FALSE(past.CompanyValueOf(D(2003, 1), "deschisa"));
}

}  // namespace
}  // namespace traveno::params::testing
