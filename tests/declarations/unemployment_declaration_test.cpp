#include "declarations/unemployment_declaration.h"

#include <cmath>

#include "core/errors.h"
#include "declarations/health_declaration.h"
#include "engine/company_totals.h"
#include "params/month_cycle.h"
#include "tests/declarations/monthly_fixture.h"

namespace traveno::declarations {
namespace {

using testing::D;
using testing::MonthlyFixture;

TEST(UnemploymentPersonsTest, WhoIsFiledAndWhoIsPrinted) {
  struct Case {
    const char* tip;
    int bifa_som;
    int pensionar;
    const char* domiciliu_ext;
    double somaj;
    bool in_file;
    bool printed;
  };
  const Case kCases[] = {
      {"1", 0, 0, "0", 10, true, true},    // a permanent employee
      {"1", 1, 0, "0", 10, false, false},  // exempt from the contribution
      {"1", 0, 1, "0", 5, true, false},    // a pensioner with a contribution
      {"1", 0, 1, "0", 0, false, false},   // a pensioner without one
      {"1", 0, 0, "0", 0, false, true},    // nothing withheld this month
      {"2", 0, 0, "1", 7, true, true},     // contribution withheld
      {"2", 1, 0, "1", 7, true, true},    {"2", 0, 0, "0", 7, false, false},  // not withheld
      {"2", 0, 0, "", 7, false, false},   {"2", 0, 1, "1", 7, true, false},   // a pensioner
  };
  for (const Case& c : kCases) {
    PersRow row{};
    row.TIP = c.tip;
    row.BifaSom = c.bifa_som;
    row.Pensionar = c.pensionar;
    row.Domiciliu_ext = c.domiciliu_ext;
    row.SOMAJ = c.somaj;
    const std::string label = std::string("tip ") + c.tip + ", BifaSom " +
                              std::to_string(c.bifa_som) + ", Pensionar " +
                              std::to_string(c.pensionar) + ", Domiciliu_ext '" + c.domiciliu_ext +
                              "', Somaj " + std::to_string(c.somaj);
    EXPECT_EQ(IsInUnemploymentFile(row), c.in_file) << label;
    EXPECT_EQ(IsPrintedInUnemploymentDeclaration(row), c.printed) << label;
  }
}

TEST(UnemploymentWageFundTest, CountsNonPensionersWhoPayTheContribution) {
  auto row = [](const char* tip, double brut, int bifa_som, int pensionar) {
    PersRow r{};
    r.TIP = tip;
    r.BRUT = brut;
    r.SumeExcept = 40;
    r.CIC = 10;
    r.CM2L = 5;
    r.BifaSom = bifa_som;
    r.Pensionar = pensionar;
    return r;
  };
  const std::vector<PersRow> rows = {row("1", 1000, 0, 0), row("1", 800, 0, 1), row("2", 500, 1, 0),
                                     row("2", 300, 0, 0), row("2", 200, 1, 1)};
  engine::CompanyParameters company;
  company.Ex_Firma = {0, "DA"};
  EXPECT_EQ(UnemploymentWageFund(rows, company), (1000 + 40 - 15) + (500 - 15));
  company.Ex_Firma = {0, "NU"};
  EXPECT_EQ(UnemploymentWageFund(rows, company), (1000 - 15) + (500 - 15));
}

TEST(UnemploymentSummaryTest, TheTableOfTheSummaryDeclaration) {
  UnemploymentFigures f;
  f.SDAng = 1000;
  f.SVAng = 700;
  f.DedSomaj = 50;
  f.SDAsig = 400;
  f.SVAsig = 300;
  f.RestAn = 11;
  f.RestAs = 22;
  f.Penal = 33;
  f.Maj = 44;
  const UnemploymentSummary s = SummaryOf(f);
  EXPECT_EQ(s.employer_unpaid, 250);
  EXPECT_EQ(s.insured_unpaid, 100);
  EXPECT_EQ(s.total_due, 1350);
  EXPECT_EQ(s.total_paid, 1000);
  EXPECT_EQ(s.total_unpaid, 350);
  EXPECT_EQ(s.earlier_total, 110);
  EXPECT_EQ(s.grand_unpaid, 460);
}

class UnemploymentDeclarationTest : public MonthlyFixture {
 protected:
  void SetUp() override {
    MonthlyFixture::SetUp();
    Hire("ALBU", "1", 9000000);
    Hire("BARBU", "1", 5000000);
    Hire("CRISAN", "1", 3000000);
  }

  // The dues as the engine computes them from the stored rows.
  long double InsuredDue() {
    long double due = 0;
    for (const PersRow& row : Employees(session_->working_month())) due += row.SOMAJ;
    return due;
  }
  long double EmployerDue() {
    engine::CompanyTotals totals;
    for (const PersRow& row : Employees(session_->working_month())) {
      engine::AddRowToTotals(totals, row, session_->parameters());
    }
    return engine::ComputeCompanyFunds(totals, session_->parameters()).FondSomaj;
  }

  UnemploymentInput InputFrom(const UnemploymentOpening& opening) {
    UnemploymentInput input;
    input.due_insured = static_cast<double>(opening.due_insured);
    input.due_employer = static_cast<double>(opening.due_employer);
    input.paid_insured = opening.paid_insured;
    input.paid_employer = opening.paid_employer;
    input.calcul_somaj_at_opening = opening.stored.CalculSomaj;
    return input;
  }

  double Stored(const char* name) {
    return params::ReadCompany(db(), session_->working_month(), name);
  }

  DeclarationSigner signer_{"popescu ", " ion", "Director", "B"};
};

TEST_F(UnemploymentDeclarationTest, AShortfallIsSpreadAsChosenAndTheWindowShowsItAgain) {
  const UnemploymentOpening first = OpenUnemploymentDeclaration(*session_, progress_);
  ASSERT_TRUE(first.has_rows);
  const long double due = InsuredDue();
  ASSERT_GT(due, 0);
  EXPECT_EQ(first.due_insured, due);
  EXPECT_EQ(first.due_employer, EmployerDue());
  EXPECT_EQ(first.paid_insured, static_cast<double>(due));  // a new month proposes the dues
  EXPECT_EQ(first.paid_employer, static_cast<double>(first.due_employer));

  UnemploymentInput input = InputFrom(first);
  input.paid_insured = static_cast<double>(due) - 1001;
  input.chosen_mode = SpreadMode::kProportional;
  input.DedSomaj = 5;
  input.RestAn = 6;
  input.RestAs = 7;
  input.Penal = 8;
  input.Maj = 9;
  EXPECT_EQ(CheckInsuredPaid(input.paid_insured, first.due_insured), InsuredPaidCheck::kBelowDue);
  ConfirmUnemploymentDeclaration(*session_, input, signer_);

  EXPECT_EQ(Stored("SVAsig"), input.paid_insured);
  EXPECT_EQ(Stored("SDAsig"), static_cast<double>(due));
  EXPECT_EQ(Stored("SVAng"), input.paid_employer);
  const std::pair<const char*, double> kOthers[] = {
      {"DedSomaj", 5}, {"RestAn", 6},    {"RestAs", 7},     {"Penal", 8},
      {"Maj", 9},      {"TipCalcul", 1}, {"CalculSomaj", 1}};
  for (const auto& [name, value] : kOthers) EXPECT_EQ(Stored(name), value) << name;
  EXPECT_EQ(session_->parameters().company.SVAsig, input.paid_insured);

  const UnemploymentDeclaration declaration = BuildUnemploymentDeclaration(*session_);
  EXPECT_EQ(declaration.mode, SpreadMode::kProportional);
  long double paid = 0;
  long double unpaid = 0;
  for (const UnemploymentRow& row : declaration.rows) {
    EXPECT_LE(row.paid, row.somaj) << row.nume;
    paid += row.paid;
    unpaid += row.unpaid;
  }
  EXPECT_EQ(paid, input.paid_insured);
  EXPECT_EQ(unpaid, 1001);

  // Reopened: the stored paid amounts are proposed again.
  const UnemploymentOpening second = OpenUnemploymentDeclaration(*session_, progress_);
  EXPECT_EQ(second.paid_insured, input.paid_insured);
  EXPECT_EQ(second.paid_employer, input.paid_employer);
  EXPECT_EQ(second.stored.RestAs, 7);

  // The first insured first, chosen on the next confirmation.
  UnemploymentInput again = InputFrom(second);
  again.chosen_mode = SpreadMode::kFirstInsured;
  ConfirmUnemploymentDeclaration(*session_, again, signer_);
  EXPECT_EQ(Stored("TipCalcul"), 3);
  EXPECT_EQ(Stored("DedSomaj"), 0);  // the other sums are what the window held
  const UnemploymentDeclaration first_insured = BuildUnemploymentDeclaration(*session_);
  ASSERT_EQ(first_insured.rows.size(), 3u);
  EXPECT_EQ(first_insured.rows[0].unpaid, 0);
  EXPECT_EQ(first_insured.rows[2].unpaid,
            first_insured.rows[2].somaj - (first_insured.rows[2].paid));
  EXPECT_EQ(first_insured.rows[2].paid, first_insured.rows[2].somaj - 1001);
}

TEST_F(UnemploymentDeclarationTest, CalculSomajAlternatesOnlyWhenEverythingWasPaid) {
  struct Case {
    bool insured_paid_all;
    bool employer_paid_all;
    double at_opening;
    double calcul_somaj;
    double tip_calcul;  // stored before: 1
  };
  const Case kCases[] = {
      {true, true, 0, 1, 0},  {true, true, 1, 0, 0},   {true, false, 1, 1, 0},
      {false, true, 1, 1, 1}, {false, false, 0, 1, 1},
  };
  const UnemploymentOpening opening = OpenUnemploymentDeclaration(*session_, progress_);
  for (const Case& c : kCases) {
    SetCompanyParameter("TipCalcul", 1);
    UnemploymentInput input = InputFrom(opening);
    input.paid_insured = input.due_insured - (c.insured_paid_all ? 0 : 10);
    input.paid_employer = input.due_employer - (c.employer_paid_all ? 0 : 10);
    input.calcul_somaj_at_opening = c.at_opening;
    ConfirmUnemploymentDeclaration(*session_, input, signer_);
    EXPECT_EQ(Stored("CalculSomaj"), c.calcul_somaj)
        << c.insured_paid_all << c.employer_paid_all << c.at_opening;
    EXPECT_EQ(Stored("TipCalcul"), c.tip_calcul) << c.insured_paid_all;
  }
}

TEST_F(UnemploymentDeclarationTest, PaidAmountsAreComparedInWholeLei) {
  EXPECT_EQ(CheckInsuredPaid(99.9, 100), InsuredPaidCheck::kBelowDue);
  EXPECT_EQ(CheckInsuredPaid(100.9, 100.2), InsuredPaidCheck::kEqualDue);
  EXPECT_EQ(CheckInsuredPaid(101, 100.9), InsuredPaidCheck::kAboveDue);
  EXPECT_FALSE(EmployerPaidAboveDue(100.9, 100.1));
  EXPECT_TRUE(EmployerPaidAboveDue(101, 100.9));
}

TEST_F(UnemploymentDeclarationTest, TheSignerIsKeptUpperCasedAndABadAmountStoresNothing) {
  const UnemploymentOpening opening = OpenUnemploymentDeclaration(*session_, progress_);
  UnemploymentInput input = InputFrom(opening);
  ConfirmUnemploymentDeclaration(*session_, input, signer_);
  const DeclarationSigner kept = LoadSigner(folder_.path());
  EXPECT_EQ(kept.nume, "POPESCU");
  EXPECT_EQ(kept.prenume, "ION");
  EXPECT_EQ(kept.functie, "DIRECTOR");
  EXPECT_EQ(kept.cod_judet, "");  // only the social-insurance declaration keeps it

  for (double bad : {-1.0, std::nan(""), 1e14}) {
    UnemploymentInput wrong = input;
    wrong.Penal = bad;
    wrong.paid_insured = 1;
    EXPECT_THROW(
        try {
          ConfirmUnemploymentDeclaration(*session_, wrong, {"X", "Y", "Z", ""});
        } catch (const Error& e) {
          EXPECT_STREQ(e.what(), "Suma introdusa la \"Majorari de intarziere:\" nu este valida !");
          throw;
        },
        Error);
  }
  EXPECT_EQ(Stored("SVAsig"), input.paid_insured);
  EXPECT_EQ(LoadSigner(folder_.path()).nume, "POPESCU");
}

TEST_F(UnemploymentDeclarationTest, EveryStoredFigureStartsTheNextMonthAtZero) {
  const UnemploymentOpening opening = OpenUnemploymentDeclaration(*session_, progress_);
  UnemploymentInput input = InputFrom(opening);
  input.paid_insured -= 1;
  input.paid_employer -= 1;
  input.chosen_mode = SpreadMode::kFirstInsured;
  input.DedSomaj = input.RestAn = input.RestAs = input.Penal = input.Maj = 3;
  ConfirmUnemploymentDeclaration(*session_, input, signer_);
  HealthSections health;
  for (HealthSection& section : health) section = {10, 20, 30};
  ConfirmHealthDeclaration(*session_, health, signer_);

  const char* const kNames[] = {"SDAsig",      "SVAsig",    "SDAng",     "SVAng",     "DedSomaj",
                                "RestAs",      "RestAn",    "Penal",     "Maj",       "TipCalcul",
                                "CalculSomaj", "DatorSanA", "DatorSanB", "DatorSanC", "RestSanA",
                                "RestSanB",    "RestSanC",  "MajSanA",   "MajSanB",   "MajSanC"};
  const Date march = session_->working_month();
  for (const char* name : kNames) EXPECT_NE(params::ReadCompany(db(), march, name), 0) << name;
  params::PassToNextMonth(*session_, progress_);
  ASSERT_EQ(session_->working_month(), D(2003, 4));
  for (const char* name : kNames) {
    EXPECT_EQ(params::ReadCompany(db(), D(2003, 4), name), 0) << name;
    EXPECT_NE(params::ReadCompany(db(), march, name), 0) << name;
  }
  const UnemploymentOpening april = OpenUnemploymentDeclaration(*session_, progress_);
  EXPECT_EQ(april.paid_insured, static_cast<double>(april.due_insured));
}

}  // namespace
}  // namespace traveno::declarations
