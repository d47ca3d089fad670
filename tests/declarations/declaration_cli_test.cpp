// traveno-cli declaration cas|somaj|sanatate over the demo company, run
// in-process; the files read back by the independent dBASE reader and the
// printed figures compared with those of a small month worked out by hand.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "core/data_folder.h"
#include "core/settings.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "declarations/write_protected.h"
#include "params/parameter_store.h"
#include "tests/declarations/file_checks.h"
#include "tests/support/cli_program.h"
#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace traveno::declarations {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::HaveIndependentReader;
using testing::ReadWithIndependentReader;
using traveno::testing::CliResult;

std::string FileText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

// The demo company is made once and copied into each test's folder.
class DeclarationCliTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    demo_ = new traveno::testing::TempFolder();
    traveno::testing::RunCli({"--data-dir", demo_->path().string(), "demo"});
  }
  static void TearDownTestSuite() {
    delete demo_;
    demo_ = nullptr;
  }

  void SetUp() override { fs::copy(demo_->path(), data(), fs::copy_options::recursive); }

  fs::path data() const { return folder_.path() / "data"; }
  fs::path out() const { return folder_.path() / "out"; }

  CliResult Run(std::vector<std::string> arguments, bool json = false) {
    arguments.insert(arguments.begin(), {"--data-dir", data().string()});
    if (json) arguments.insert(arguments.begin(), "--json");
    return traveno::testing::RunCli(std::move(arguments));
  }
  static std::vector<std::string> Declaration(const char* kind, std::vector<std::string> more) {
    std::vector<std::string> arguments = {"declaration", kind,      "--cod",  "DEMO",
                                          "--month",     "2003-01", "--date", "05.02.2003"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
  }

  // Replaces the demo month by a small closed one worked out by hand: in
  // hours (176 a month, 22 working days), the exempt sums in the bases, a
  // permanent employee on every kind of leave, a partial contract with
  // another main income who pays the unemployment contribution, and one
  // without.
  void UseSmallClosedMonth() {
    Store store(data());
    store.OpenCompany("DEMO");
    Database& db = store.db();
    const Date month = Date::FromYmd(2003, 1, 1);
    db.Run("DELETE FROM firma.Pers WHERE LUNA = ?", month);
    const std::pair<const char*, double> kGeneral[] = {
        {"CAS", 22},       {"SanatateAng", 6.5},  {"SanatateFirm", 7},
        {"Accident", 0.5}, {"SalMinEc", 2500000}, {"SalMedEc", 6962000},
        {"SomajFirm", 3},  {"SomajAng", 1},       {"SomajCol", 1}};
    for (const auto& [name, value] : kGeneral) params::WriteGeneral(db, month, name, value);
    const std::pair<const char*, double> kCompany[] = {
        {"TimpLuna", 176}, {"TimpZile", 0}, {"ZiLichidare", 10}, {"Deschisa", 1}};
    for (const auto& [name, value] : kCompany) params::WriteCompany(db, month, name, value);
    params::WriteCompanyText(db, month, "Ex_Firma", "DA");
    auto row = [&](const char* nume, const char* tip, double brut, int marca) {
      PersRow r{};
      r.LUNA = month;
      r.IID = marca;
      r.MARCA = marca;
      r.NUME = nume;
      r.PRENUME = "ION";
      r.TIP = tip;
      r.CODNUMPERS = "1700101400011";
      r.Depart = "CENTRAL";
      r.NORMA = 8;
      r.TIMP = 176;
      r.BRUT = brut;
      return r;
    };
    PersRow albu = row("ALBU", "1", 10000000, 1);
    albu.CM1L = 1000000;
    albu.CM2L = 500000;
    albu.CIC = 200000;
    albu.SumeExcept = 300000;
    albu.PENSIE = 950000;
    albu.SOMAJ = 100000;
    albu.SANATATE = 650000;
    albu.ZILE_CM = 2;
    PersRow barbu = row("BARBU", "2", 5000000, 2);
    barbu.ALT_VENIT = 1;
    barbu.Ore_Zi = 4;
    barbu.BifaSom = 1;
    barbu.Domiciliu_ext = "1";
    barbu.PENSIE = 470000;
    barbu.SOMAJ = 50000;
    barbu.SANATATE = 325000;
    PersRow crisan = row("CRISAN", "2", 3000000, 3);
    crisan.Ore_Zi = 4;
    crisan.Domiciliu_ext = "0";
    crisan.CM2L = 100000;
    crisan.CIC = 50000;
    crisan.SANATATE = 195000;
    for (const PersRow& r : {albu, barbu, crisan}) RowWriter<PersRow>(db, "Pers").Insert(r);
  }

  traveno::testing::TempFolder folder_;
  static traveno::testing::TempFolder* demo_;
};

traveno::testing::TempFolder* DeclarationCliTest::demo_ = nullptr;

// The amounts printed on the line holding `label`, in the order of their
// columns (columns stand at least two blanks apart; "23 244 320" is one
// amount).
std::vector<long double> PrintedAmounts(const std::string& text, const std::string& label) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t at = line.find(label);
    if (at == std::string::npos) continue;
    std::vector<long double> amounts;
    std::string digits;
    int blanks = 0;
    auto flush = [&] {
      if (!digits.empty()) amounts.push_back(std::stold(digits));
      digits.clear();
    };
    for (char c : line.substr(at + label.size())) {
      if (c >= '0' && c <= '9') {
        if (blanks > 1) flush();
        digits.push_back(c);
        blanks = 0;
      } else if (c == ' ') {
        ++blanks;
      } else {
        flush();
        blanks = 2;
      }
    }
    flush();
    return amounts;
  }
  ADD_FAILURE() << "no line with " << label;
  return {};
}

long double PrintedAmount(const std::string& text, const std::string& label) {
  const auto amounts = PrintedAmounts(text, label);
  return amounts.empty() ? -1 : amounts.front();
}

std::size_t RecordsOf(const fs::path& table) {
  return ReadWithIndependentReader(table)["records"].size();
}

TEST_F(DeclarationCliTest, TheElectronicFilesOfBothDeclarationsAsTextAndDbase) {
  EXPECT_EQ(Run(Declaration("cas", {"--files", (out() / "txt").string()})).exit_code, 0);
  EXPECT_EQ(Run(Declaration("cas", {"--files", (out() / "dbf").string(), "--dbf"})).exit_code, 0);
  EXPECT_EQ(Run(Declaration("somaj", {"--files", (out() / "txt").string()})).exit_code, 0);
  EXPECT_EQ(Run(Declaration("somaj", {"--files", (out() / "dbf").string(), "--dbf"})).exit_code, 0);
  for (const char* name : {"A11.txt", "A12.txt", "A1.txt", "A2.txt"}) {
    EXPECT_TRUE(fs::exists(out() / "txt" / name)) << name;
  }
  // Every demo person is declared for social insurance; 19 have the
  // unemployment contribution withheld (the part-time pensioner has not).
  std::ifstream a11(out() / "txt" / "A11.txt", std::ios::binary);
  int lines = 0;
  for (std::string line; std::getline(a11, line);) ++lines;
  EXPECT_EQ(lines, 20);
  if (!HaveIndependentReader()) GTEST_SKIP() << "python3-dbfread is not installed";
  EXPECT_EQ(RecordsOf(out() / "dbf" / "A11.dbf"), 20u);
  EXPECT_EQ(RecordsOf(out() / "dbf" / "A12.dbf"), 1u);
  EXPECT_EQ(RecordsOf(out() / "dbf" / "A1.dbf"), 19u);
  EXPECT_EQ(RecordsOf(out() / "dbf" / "A2.dbf"), 1u);
}

TEST_F(DeclarationCliTest, ThePrintedSummariesCarryTheFiguresOfTheMonth) {
  UseSmallClosedMonth();
  const CliResult cas = Run(Declaration("cas", {"--text"}));
  ASSERT_EQ(cas.exit_code, 0) << cas.err;
  // BazaCAS: 10 000 000 - 1 000 000 + 300 000 - 500 000 - 200 000, and the
  // partial contract's 5 000 000. The employer's contribution: 22% of that
  // 13 600 000 (2 992 000) less the state-paid and child-care leave of the
  // permanent employee (700 000) and the health contribution of the 2 days
  // of leave, RoundEven(2 500 000 * 2 / 22 * 2 * 6.5 / 100) = 29 545:
  // 2 262 455. J adds the benefits paid by the state to every row (850 000)
  // and the 29 545; M the 1 420 000 withheld.
  EXPECT_EQ(PrintedAmount(cas.out, "E.Total fond salarii brute realizate:"), 13600000);
  EXPECT_EQ(PrintedAmount(cas.out, "I.Total CAS retinut de la asigurati:"), 1420000);
  EXPECT_EQ(PrintedAmount(cas.out, "J.Total CAS datorat de angajator:"), 3142000);
  EXPECT_EQ(PrintedAmount(cas.out, "M.Total CAS de virat:"), 3682455);

  const CliResult somaj = Run(Declaration("somaj", {"--text"}));
  ASSERT_EQ(somaj.exit_code, 0) << somaj.err;
  // The employer's base: 10 000 000 - 500 000 - 200 000 + 5 000 000 + the
  // exempt 300 000, at 3%; the insured owe 100 000 + 50 000, all paid.
  EXPECT_EQ(PrintedAmount(somaj.out, "Contributia angajatorului"), 438000);
  EXPECT_EQ(PrintedAmounts(somaj.out, "Contributia asiguratilor"),
            (std::vector<long double>{150000, 150000, 0}));
  // The bases derived back from the contributions at 1%.
  EXPECT_EQ(PrintedAmount(somaj.out, "TOTAL GENERAL:"), 15000000);

  const json health = Run(Declaration("sanatate", {}), true).Json();
  // The gross 18 000 000 less the state-paid and child-care leave (850 000);
  // A: 7% of that with the exempt 300 000; B: the contributions withheld;
  // C: the 29 545 of the leave.
  EXPECT_EQ(health["sectiuni"]["A"]["fond_salarii"].get<double>(), 17150000);
  EXPECT_EQ(health["sectiuni"]["A"]["datorat_calculat"].get<double>(), 1221500);
  EXPECT_EQ(health["sectiuni"]["B"]["datorat_calculat"].get<double>(), 1170000);
  EXPECT_EQ(health["sectiuni"]["C"]["datorat_calculat"].get<double>(), 29545);
}

// The text of a PDF file as pdftotext reads it; empty when it cannot.
std::optional<std::string> PdfText(const fs::path& file) {
  FILE* pipe = popen(("pdftotext -layout '" + file.string() + "' - 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string text;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  if (pclose(pipe) != 0) return std::nullopt;
  return text;
}

TEST_F(DeclarationCliTest, EachPrintedDeclarationIsWrittenAsAPdfFile) {
  const fs::path file = folder_.path() / "cas.pdf";
  const CliResult result = Run(Declaration("cas", {"--nr", "12", "--pdf", file.string()}));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  ASSERT_TRUE(fs::exists(file));
  ASSERT_TRUE(fs::exists(folder_.path() / "cas_2.pdf"));
  const std::optional<std::string> nominal = PdfText(file);
  if (!nominal) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  EXPECT_NE(nominal->find("COD ASIGURAT"), std::string::npos);
  EXPECT_NE(nominal->find("ZAHARIA LUCIA"), std::string::npos);
  const std::optional<std::string> summary = PdfText(folder_.path() / "cas_2.pdf");
  ASSERT_TRUE(summary.has_value());
  EXPECT_NE(summary->find("J.Total CAS datorat de angajator:"), std::string::npos);
  EXPECT_NE(summary->find("Nr. 12"), std::string::npos);
}

TEST_F(DeclarationCliTest, AShortfallIsSpreadAndShownAgainOnTheNextRun) {
  const json first = Run(Declaration("somaj", {}), true).Json();
  const double due = first["SDAsig"];
  const CliResult spread = Run(
      Declaration("somaj", {"--paid-asig", std::to_string(due - 5000), "--mode", "primii"}), true);
  // The notice goes to standard error; standard output is the JSON alone.
  EXPECT_NE(spread.err.find("Suma a fost impartita la primii asigurati!!"), std::string::npos)
      << spread.err;
  const json stored = spread.Json();
  EXPECT_EQ(stored["SVAsig"], due - 5000);
  EXPECT_EQ(stored["TipCalcul"], 3);
  double paid = 0;
  double unpaid = 0;
  for (const json& person : stored["asigurati"]) {
    paid += person["virat"].get<double>();
    unpaid += person["nevirat"].get<double>();
  }
  EXPECT_EQ(paid, due - 5000);
  EXPECT_EQ(unpaid, 5000);
  // The next run proposes what was stored.
  const CliResult again = Run(Declaration("somaj", {}), true);
  const json reopened = json::parse(again.out.substr(again.out.find('{')));
  EXPECT_EQ(reopened["SVAsig"], due - 5000);
  EXPECT_EQ(reopened["TipCalcul"], 3);
}

TEST_F(DeclarationCliTest, AnAmountThatCannotBeKeptIsRefusedBeforeAnyNoticeAboutIt) {
  for (const char* paid : {"-5", "1e300"}) {
    std::vector<std::string> arguments = Declaration("somaj", {"--paid-asig", paid});
    arguments.insert(arguments.begin(), {"--data-dir", data().string()});
    const traveno::testing::ProgramResult result = traveno::testing::RunProgram(arguments);
    EXPECT_NE(result.status, 0) << paid;
    EXPECT_EQ(result.err, "Suma introdusa la \"Suma Virata de Asigurati\" nu este valida !\n")
        << paid;
  }
  // Nothing was stored: the next run proposes the due amount again.
  const json reopened = Run(Declaration("somaj", {}), true).Json();
  EXPECT_EQ(reopened["SVAsig"], reopened["SDAsig"]);
}

// The county code has three places in the employer's record: a longer one
// would push every later field, so it is refused and nothing is written.
TEST_F(DeclarationCliTest, ACountyCodeLongerThanItsPlaceIsRefused) {
  const std::string settings_before = FileText(data() / kSettingsFileName);
  std::vector<std::string> arguments =
      Declaration("cas", {"--judet", "ABCD", "--nume", "Nou", "--files", out().string()});
  arguments.insert(arguments.begin(), {"--data-dir", data().string()});

  const traveno::testing::ProgramResult result = traveno::testing::RunProgram(arguments);

  EXPECT_NE(result.status, 0);
  EXPECT_EQ(result.err, "Textul pentru codul judetului are mai mult de 3 caractere !\n");
  EXPECT_FALSE(fs::exists(out()));
  EXPECT_EQ(FileText(data() / kSettingsFileName), settings_before);
  EXPECT_EQ(Run(Declaration("cas", {"--judet", "b", "--files", out().string()})).exit_code, 0);
  EXPECT_EQ(LoadSigner(data()).cod_judet, "B");
}

// A folder where no file can be made is the user's to change: each
// declaration tells it and fails, and none of them reports it to the error
// file as a fault of the program.
TEST_F(DeclarationCliTest, AFolderWhereNoFileCanBeMadeIsToldNotReported) {
  // Not even the superuser makes files in /proc.
  if (!fs::is_directory("/proc")) GTEST_SKIP() << "no /proc";
  const std::vector<std::string> cas = Declaration("cas", {"--judet", "B", "--files", "/proc"});
  const std::vector<std::string> somaj = Declaration("somaj", {"--files", "/proc"});
  for (std::vector<std::string> arguments : {cas, somaj}) {
    SCOPED_TRACE(arguments[1]);
    fs::remove(data() / kErrorFileName);
    arguments.insert(arguments.begin(), {"--data-dir", data().string()});

    const traveno::testing::ProgramResult result = traveno::testing::RunProgram(arguments);

    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("Nu pot scrie fisierul /proc/A1"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(data() / kErrorFileName));
  }
}

// The employer's file that cannot be made is not written, and no line says
// it was: only the files written are reported.
TEST_F(DeclarationCliTest, APayDayMissingFromTheNextMonthFailsTheEmployerFile) {
  {
    // A pay day February lacks, as another program or an earlier version
    // may have stored it: the program's own paths refuse it.
    Store store(data());
    store.OpenCompany("DEMO");
    store.db().Run("UPDATE firma.ParF SET Val = ? WHERE Luna = ? AND Den = ?", 29.0,
                   Date::FromYmd(2003, 1, 1), std::string("ZiLichidare"));
    ASSERT_EQ(store.db().Changes(), 1);
  }
  for (const std::string form : {"txt", "dbf"}) {
    SCOPED_TRACE(form);
    const fs::path folder = out() / form;
    std::vector<std::string> more = {"--files", folder.string()};
    if (form == "dbf") more.push_back("--dbf");
    const CliResult result = Run(Declaration("somaj", more));
    EXPECT_EQ(result.exit_code, 1);
    const fs::path a1 = folder / ("A1." + form);
    const fs::path a2 = folder / ("A2." + form);
    EXPECT_NE(result.err.find("Au aparut probleme la fisierul A2." + form), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("Fisierul " + a2.string() + " nu a fost scris !"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out, "Salvez in " + a1.string() + ": 19 inregistrari\n");
    EXPECT_TRUE(fs::exists(a1));
    EXPECT_FALSE(fs::exists(a2));
  }
}

// A month without employees has nothing to declare: both declarations that
// write files say so, fail and write nothing.
TEST_F(DeclarationCliTest, AMonthWithoutEmployeesFailsEveryDeclarationWithFiles) {
  {
    Store store(data());
    store.OpenCompany("DEMO");
    store.db().Run("DELETE FROM firma.Pers");
  }
  for (const char* kind : {"cas", "somaj"}) {
    for (const std::vector<std::string>& more :
         {std::vector<std::string>{"--files", out().string()},
          std::vector<std::string>{"--text"}}) {
      SCOPED_TRACE(std::string(kind) + " " + more.front());
      const CliResult result = Run(Declaration(kind, more));
      EXPECT_EQ(result.exit_code, 1);
      EXPECT_EQ(result.err, "Luna de lucru nu are angajati: nu este nimic de declarat.\n");
      EXPECT_EQ(result.out, "");
    }
  }
  EXPECT_FALSE(fs::exists(out()) && !fs::is_empty(out()));
}

// A data folder the user may not write (run as nobody): each declaration
// says what it could not keep and still prints, from the stored rows, with
// what was typed.
TEST_F(DeclarationCliTest, AWriteProtectedDataFolderIsToldAndTheDeclarationsStillPrint) {
  fs::create_directories(out());
  fs::permissions(out(), fs::perms::all);  // where nobody may write the files
  const std::string settings_before = FileText(data() / kSettingsFileName);
  const pid_t child = ::fork();
  if (child == 0) {
    // As root every file stays writable: the commands run as nobody then.
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(100);
    int failures = 0;
    auto run = [&](const char* kind, std::vector<std::string> more) {
      std::vector<std::string> arguments = Declaration(kind, std::move(more));
      arguments.insert(arguments.begin(), {"--data-dir", data().string()});
      return traveno::testing::RunProgram(arguments);
    };
    auto check = [&](bool ok, const std::string& what,
                     const traveno::testing::ProgramResult& result) {
      if (ok) return;
      ++failures;
      std::fprintf(stderr, "%s: status %d, err %s\n", what.c_str(), result.status,
                   result.err.c_str());
    };
    const std::string figures_not_kept = std::string(kFiguresNotKept) + "\n";
    // The declarant as kept: nothing to keep, nothing to tell.
    const auto cas = run("cas", {"--text"});
    check(cas.status == 0 && cas.err.empty() &&
              cas.out.find("J.Total CAS datorat de angajator:") != std::string::npos,
          "cas", cas);
    const auto renamed = run("cas", {"--text", "--nume", " Nou "});
    check(renamed.status == 1 && renamed.err == std::string(kSignerNotKept) + "\n" &&
              renamed.out.find(" NOU") != std::string::npos,
          "cas --nume", renamed);
    const auto cas_files = run("cas", {"--files", out().string()});
    check(cas_files.status == 0 && fs::exists(out() / "A12.txt"), "cas --files", cas_files);
    // The penalties typed are printed though they cannot be stored.
    const auto somaj = run("somaj", {"--text", "--maj", "777"});
    check(somaj.status == 1 && somaj.err == figures_not_kept &&
              PrintedAmount(somaj.out, "Penalitati") == 777,
          "somaj", somaj);
    const auto somaj_files = run("somaj", {"--files", out().string()});
    check(somaj_files.status == 1 && fs::exists(out() / "A1.txt") && fs::exists(out() / "A2.txt"),
          "somaj --files", somaj_files);
    const auto sanatate = run("sanatate", {"--text", "--rest-a", "555"});
    check(sanatate.status == 1 && sanatate.err == figures_not_kept &&
              PrintedAmount(sanatate.out, " c. Sume restante") == 555,
          "sanatate", sanatate);
    ::_exit(failures);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(FileText(data() / kSettingsFileName), settings_before);
}

}  // namespace
}  // namespace traveno::declarations
