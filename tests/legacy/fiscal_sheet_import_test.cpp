#include "legacy/fiscal_sheet_import.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/store/row_io.h"
#include "params/holidays.h"
#include "params/month_cycle.h"
#include "tests/params/fixture.h"
#include "tests/support/temp_folder.h"

namespace traveno::legacy {
namespace {

using params::testing::D;

// The fields of a line joined by ","; `count` fields, the given ones set.
std::string Line(int count, std::map<int, std::string> fields) {
  std::string line;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) line += ",";
    if (auto it = fields.find(i); it != fields.end()) line += it->second;
  }
  return line;
}

std::string Ff1(const std::string& code, const std::string& nume, std::map<int, std::string> more) {
  more[1] = code;
  more[2] = "#" + nume + "#";
  more[3] = "#ION#";
  for (int i = 4; i <= 13; ++i) more.emplace(i, "##");
  return Line(86, more);
}

class FiscalSheetImportTest : public params::testing::StoreFixture {
 protected:
  void SetUp() override {
    Open("NOUA", D(2003, 1));
    prompter_.messages.clear();
    dir_ = sheets_.path().string() + "/";
  }

  // Writes a file as the e-filing writes it: Windows-1250 bytes, CR LF lines.
  void Write(const std::string& name, const std::vector<std::string>& lines,
             bool last_line_end = true) {
    std::ofstream out(sheets_.path() / name, std::ios::binary);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      out << lines[i];
      if (i + 1 < lines.size() || last_line_end) out << "\r\n";
    }
  }

  void WriteAll() {
    // The e-mail, the last field, has no "," after it.
    Write("Rep_2002.txt",
          {"12345678,1,#FABRICA SRL#,##,##,#PITE\xAATI#,#ARGE\xAA#,#LIBERTATII#,"
           "#1#,110000,##,##,##,##,0,#0248123456#,#office@fabrica.ro#"},
          false);
    Write("FF1_2002.txt",
          {Ff1("1750315123456", "\xAATEF\xC3NESCU",
               {{14, "#X#"}, {18, "#X#"}, {19, "#X#"}, {21, "15/03/2001"}, {34, "1.5"}}),
           Ff1("1600101123456", "PLECAT", {{21, "01/01/1999"}, {22, "15/06/2002"}}),
           Ff1("2800101123456", "NOUANGAJAT", {{34, ""}})});
    Write("FF2_2002.txt", {Line(48, {{1, "1750315123456"}, {2, "#DUBLU#"}}),
                           Line(48, {{1, "1700101123456"}, {2, "#\xDEIGANU#"}, {14, "##"}})});
    Write("Ded_2002.txt", {Line(22, {{1, "1750315123456"},
                                     {2, "5100101123456"},
                                     {3, "#\xAATEF\xC3NESCU#"},
                                     {4, "#MIHAI#"},
                                     {6, "#X#"},
                                     {8, "#X#"},
                                     {9, "#X#"}}),
                           Line(22, {{1, "1750315123456"}, {2, "5100101123456"}, {3, "#DUBLU#"}}),
                           Line(22, {{1, "1600101123456"}, {2, "5200101123456"}, {3, "#COPIL#"}})});
  }

  SheetImportResult Import(const std::string& folder) {
    SilentProgress progress;
    return ImportFromFiscalSheets(*session_, folder, prompter_, progress);
  }

  std::vector<PersRow> Employees() {
    return QueryRows<PersRow>(db(), "SELECT * FROM firma.Pers ORDER BY Nr");
  }

  testing::TempFolder sheets_;
  std::string dir_;
};

TEST_F(FiscalSheetImportTest, SetsUpTheCompanyItsEmployeesAndTheirDependants) {
  WriteAll();

  const SheetImportResult result = Import(dir_);

  ASSERT_EQ(result.outcome, SheetImportOutcome::kImported);
  EXPECT_TRUE(prompter_.messages.empty());
  const auto company = store_->FindCompany("NOUA");
  EXPECT_EQ(company->CodFiscal, "12345678");
  EXPECT_EQ(company->TipAngaj, 1);
  EXPECT_EQ(company->Denumire, "FABRICA SRL");
  EXPECT_EQ(company->Localitate, "PITEŞTI");
  EXPECT_EQ(company->Judet, "ARGEŞ");
  EXPECT_EQ(company->Telefon, "0248123456");
  EXPECT_EQ(company->EMail, "office@fabrica.ro");

  // The leaver of June 2002 is removed; the code met again in FF2 is skipped.
  const auto rows = Employees();
  ASSERT_EQ(rows.size(), 3u);
  const PersRow& first = rows[0];
  EXPECT_EQ(first.NUME, "ŞTEFĂNESCU");
  EXPECT_EQ(first.PRENUME, "ION");
  EXPECT_EQ(first.TIP, "1");
  EXPECT_EQ(first.LUNA, D(2003, 1));
  EXPECT_EQ(first.IID, first.Nr);
  EXPECT_EQ(first.fisa_rectif, "1");
  EXPECT_EQ(first.fisa_regul, "0");
  EXPECT_EQ(first.INVALIDITATE, 2);  // the later ticked box
  EXPECT_EQ(first.DATA_ANG, D(2001, 3, 15));
  EXPECT_EQ(first.DATA_LICH, EmptyDate());
  EXPECT_EQ(first.CoefInd, 1.5);
  EXPECT_EQ(first.CoefInd1, 1.5);
  EXPECT_EQ(rows[1].NUME, "NOUANGAJAT");
  EXPECT_EQ(rows[1].DATA_ANG, EmptyDate());
  EXPECT_EQ(rows[1].CoefInd, 0);
  EXPECT_EQ(rows[2].NUME, "ŢIGANU");
  EXPECT_EQ(rows[2].TIP, "2");
  EXPECT_EQ(rows[2].IID, rows[2].Nr);
  EXPECT_EQ(result.employees, 3);

  // One dependant: the repeated line and the leaver's child are skipped.
  const auto dependants = QueryRows<PintRow>(db(), "SELECT * FROM firma.Pint");
  ASSERT_EQ(dependants.size(), 1u);
  EXPECT_EQ(dependants[0].Nume, "ŞTEFĂNESCU");
  EXPECT_EQ(dependants[0].CODNUMPERS, "5100101123456");
  EXPECT_EQ(dependants[0].Calitate, 1);
  EXPECT_EQ(dependants[0].Invaliditate, 2);
  EXPECT_EQ(dependants[0].IID, first.IID);
  EXPECT_EQ(dependants[0].AiPers, first.Nr);
  EXPECT_EQ(dependants[0].Luna, D(2003, 1));
  EXPECT_EQ(result.skipped, 3);
}

TEST_F(FiscalSheetImportTest, ALineThatCannotBeStoredIsRefusedAndTheNextFollows) {
  WriteAll();
  // An impossible date, a short year and a deduction coefficient no person
  // can have: each line is refused, the next one follows.
  Write("FF1_2002.txt",
        {Ff1("1750315123456", "GRESIT", {{21, "31/02/2002"}}),
         Ff1("2800101123456", "BUN", {{21, "15/03/01"}}),
         Ff1("1800101123456", "COEFICIENT", {{34, "250"}}), Ff1("2900101123456", "CORECT", {})});

  const SheetImportResult result = Import(dir_);

  ASSERT_EQ(result.outcome, SheetImportOutcome::kImported);
  ASSERT_EQ(prompter_.messages.size(), 3u);
  EXPECT_EQ(prompter_.messages[0].text, kSheetEmployeeFailed);
  EXPECT_EQ(prompter_.messages[2].text, kSheetEmployeeFailed);
  EXPECT_EQ(result.failed, 3);
  const auto rows = Employees();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].NUME, "CORECT");
}

// A company line is refused with its message whatever makes it fail (a kind
// that is not a number, a kind the register never holds); the register row
// keeps its values and the employees follow.
TEST_F(FiscalSheetImportTest, ACompanyLineThatCannotBeStoredIsRefusedAndTheEmployeesFollow) {
  for (const char* kind : {"X", "7"}) {
    SCOPED_TRACE(kind);
    WriteAll();
    Write("Rep_2002.txt", {std::string("12345678,") + kind + ",#FABRICA SRL#"});
    db().Run("DELETE FROM firma.Pers");
    db().Run("DELETE FROM firma.Pint");
    prompter_.messages.clear();
    const auto before = store_->FindCompany("NOUA");

    const SheetImportResult result = Import(dir_);

    ASSERT_EQ(result.outcome, SheetImportOutcome::kImported);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text, kSheetCompanyFailed);
    EXPECT_EQ(result.failed, 1);
    const auto company = store_->FindCompany("NOUA");
    EXPECT_EQ(company->TipAngaj, before->TipAngaj);
    EXPECT_EQ(company->Denumire, before->Denumire);
    EXPECT_EQ(company->CodFiscal, before->CodFiscal);
    EXPECT_EQ(Employees().size(), 3u);
  }
}

// Each mark of a dependant line gives its own relation (spouse 0, child 1,
// other person 3) and invalidity (grades 1 and 2); of two marks the later one
// holds. The third invalidity mark names a grade the program does not keep:
// its line is refused.
TEST_F(FiscalSheetImportTest, EachDependantMarkGivesItsRelationAndInvalidity) {
  struct Case {
    std::vector<int> marked;  // the fields 5..10 holding "#X#"
    int calitate;
    int invaliditate;  // -1: the line is refused
  };
  const Case kCases[] = {
      {{}, 0, 0},        {{5}, 0, 0},    {{6}, 1, 0},      {{7}, 3, 0},
      {{5, 7}, 3, 0},    {{6, 5}, 1, 0}, {{5, 8}, 0, 1},   {{6, 9}, 1, 2},
      {{7, 9, 8}, 3, 2}, {{9, 8}, 0, 2}, {{7, 10}, 3, -1},
  };
  WriteAll();
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    std::map<int, std::string> fields = {{1, "1750315123456"},
                                         {2, "51001011234" + std::to_string(10 + i)},
                                         {3, "#COPIL" + std::to_string(i) + "#"}};
    for (int field : kCases[i].marked) fields[field] = "#X#";
    lines.push_back(Line(22, fields));
  }
  Write("Ded_2002.txt", lines);

  const SheetImportResult result = Import(dir_);

  ASSERT_EQ(result.outcome, SheetImportOutcome::kImported);
  EXPECT_EQ(result.failed, 1);
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    SCOPED_TRACE("dependant line " + std::to_string(i));
    const auto rows = QueryRows<PintRow>(db(), "SELECT * FROM firma.Pint WHERE CODNUMPERS = ?",
                                         "51001011234" + std::to_string(10 + i));
    if (kCases[i].invaliditate < 0) {
      EXPECT_TRUE(rows.empty());
      continue;
    }
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Calitate, kCases[i].calitate);
    EXPECT_EQ(rows[0].Invaliditate, kCases[i].invaliditate);
  }
}

// Blank lines are skipped; a line that would give an employee without a code
// or a surname, a dependant without a name, or a code cut to its field is
// refused with its message; each is counted.
TEST_F(FiscalSheetImportTest, BlankIncompleteAndOverlongLinesAreCountedNotStored) {
  WriteAll();
  Write("Rep_2002.txt", {"12345678901234,1,#FABRICA SRL#"});  // a fiscal code of 14
  Write("FF1_2002.txt", {"", Ff1("1750315123456", "BUN", {}), "   ", Ff1("", "FARACOD", {}),
                         Ff1("2800101123456", "", {}), Ff1("17503151234567890", "LUNG", {})});
  Write("FF2_2002.txt", {""});
  Write("Ded_2002.txt",
        {"1750315123456", Line(22, {{1, "1750315123456"}, {2, "5100101123456"}}),
         Line(22, {{1, "1750315123456"}, {2, "51001011234567890"}, {3, "#LUNG#"}}),
         Line(22, {{1, "1750315123456"}, {2, "5100101123456"}, {3, "#MIHAI#"}}), ""});
  const auto before = store_->FindCompany("NOUA");

  const SheetImportResult result = Import(dir_);

  ASSERT_EQ(result.outcome, SheetImportOutcome::kImported);
  EXPECT_EQ(result.employees, 1);
  EXPECT_EQ(result.dependants, 1);
  EXPECT_EQ(result.skipped, 4);  // the blank lines
  // The company line, three employee lines, three dependant lines.
  EXPECT_EQ(result.failed, 7);
  ASSERT_EQ(prompter_.messages.size(), 7u);
  EXPECT_EQ(prompter_.messages[0].text, kSheetCompanyFailed);
  for (std::size_t i = 1; i < prompter_.messages.size(); ++i) {
    EXPECT_EQ(prompter_.messages[i].text, kSheetEmployeeFailed);
  }
  EXPECT_EQ(store_->FindCompany("NOUA")->CodFiscal, before->CodFiscal);
  const auto rows = Employees();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].NUME, "BUN");
  const auto dependants = QueryRows<PintRow>(db(), "SELECT * FROM firma.Pint");
  ASSERT_EQ(dependants.size(), 1u);
  EXPECT_EQ(dependants[0].Nume, "MIHAI");
}

// Files copied from other systems keep their names in any case.
TEST_F(FiscalSheetImportTest, TheFilesAreFoundWhateverTheCaseOfTheirNames) {
  WriteAll();
  for (const auto& [written, renamed] :
       std::vector<std::pair<std::string, std::string>>{{"Rep_2002.txt", "rep_2002.TXT"},
                                                        {"FF1_2002.txt", "ff1_2002.txt"},
                                                        {"FF2_2002.txt", "FF2_2002.TXT"},
                                                        {"Ded_2002.txt", "DED_2002.txt"}}) {
    std::filesystem::rename(sheets_.path() / written, sheets_.path() / renamed);
  }

  const SheetImportResult result = Import(dir_);

  ASSERT_EQ(result.outcome, SheetImportOutcome::kImported);
  EXPECT_EQ(result.employees, 3);
  EXPECT_EQ(result.dependants, 1);
  EXPECT_EQ(store_->FindCompany("NOUA")->CodFiscal, "12345678");
}

TEST_F(FiscalSheetImportTest, RefusalsWriteNothing) {
  struct Case {
    std::string folder;
    std::vector<std::string> files;
    std::string message;
    SheetImportOutcome outcome;
  };
  const std::vector<Case> kCases = {
      {sheets_.path().string() + "/nu-exista/",
       {},
       kSheetFolderInvalid,
       SheetImportOutcome::kFolderInvalid},
      {dir_,
       {"FF1_2002.txt", "FF2_2002.txt", "Ded_2002.txt"},
       SheetFileMissingMessage("Rep_2002.txt"),
       SheetImportOutcome::kFileMissing},
      {dir_,
       {"Rep_2002.txt", "Ded_2002.txt"},
       SheetFileMissingMessage("FF2_2002.txt"),
       SheetImportOutcome::kFileMissing},
      {dir_,
       {"Rep_2002.txt", "FF2_2002.txt", "Ded_2002.txt"},
       SheetFileMissingMessage("FF1_2002.txt"),
       SheetImportOutcome::kFileMissing},
      // A folder typed without its final separator: the names are glued to it.
      {sheets_.path().string(),
       {"Rep_2002.txt", "FF1_2002.txt", "FF2_2002.txt", "Ded_2002.txt"},
       SheetFileMissingMessage("Rep_2002.txt"),
       SheetImportOutcome::kFileMissing},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.message);
    for (const char* name : kSheetFileNames) std::filesystem::remove(sheets_.path() / name);
    for (const std::string& name : c.files) Write(name, {"1"});
    prompter_.messages.clear();

    EXPECT_EQ(Import(c.folder).outcome, c.outcome);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text, c.message);
    EXPECT_TRUE(Employees().empty());
  }
}

TEST_F(FiscalSheetImportTest, AMonthBefore2003ClosedOrWithEmployeesIsRefused) {
  WriteAll();
  Open("VECHE", D(2002, 12));
  prompter_.messages.clear();
  EXPECT_EQ(Import(dir_).outcome, SheetImportOutcome::kRefused);
  EXPECT_EQ(prompter_.messages.back().text, kSheetsBefore2003);

  // A closed month keeps what it holds.
  Open("INCHISA", D(2003, 1));
  ASSERT_TRUE(params::ToggleMonthClosed(*session_));
  const std::string closed = Snapshot();
  prompter_.messages.clear();
  EXPECT_EQ(Import(dir_).outcome, SheetImportOutcome::kRefused);
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, params::kMonthClosedMessage);
  EXPECT_EQ(Snapshot(), closed);

  Open("NOUA", D(2003, 1));
  ASSERT_EQ(Import(dir_).outcome, SheetImportOutcome::kImported);
  prompter_.messages.clear();
  EXPECT_TRUE(WorkingMonthHasEmployees(*session_));
  EXPECT_EQ(Import(dir_).outcome, SheetImportOutcome::kRefused);
  EXPECT_EQ(prompter_.messages.back().text, kSheetsPersNotEmpty);
}

TEST_F(FiscalSheetImportTest, RowsOfOtherMonthsAreNeverTouched) {
  WriteAll();
  db().Run(
      "INSERT INTO firma.Pers (Nr, LUNA, IID, TIP, NUME, DATA_LICH) "
      "VALUES (40, ?, 7, '1', 'VECHI', ?)",
      D(2002, 11), D(2002, 11, 20));

  ASSERT_EQ(Import(dir_).outcome, SheetImportOutcome::kImported);

  const auto old = QueryRows<PersRow>(db(), "SELECT * FROM firma.Pers WHERE Nr = 40");
  ASSERT_EQ(old.size(), 1u);
  EXPECT_EQ(old[0].IID, 7);
}

}  // namespace
}  // namespace traveno::legacy
