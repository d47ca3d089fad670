// The social-insurance and unemployment files of the FILE company's month,
// compared byte for byte with the expected files kept beside this test
// (worked out by hand, see expected/make_monthly_expected.py) and read back
// by an independent dBASE reader; and the failures that stop a file.
#include <fstream>
#include <iterator>

#include "core/errors.h"
#include "declarations/cas_files.h"
#include "declarations/unemployment_files.h"
#include "tests/declarations/file_checks.h"
#include "tests/declarations/monthly_files_fixture.h"

namespace traveno::declarations {
namespace {

namespace fs = std::filesystem;
using testing::D;
using testing::HaveIndependentReader;
using testing::kFilesToday;
using testing::MonthlyFilesFixture;
using testing::ReadWithIndependentReader;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The text of a TXT file's lines, without their CR LF.
std::vector<std::string> Lines(const fs::path& path) {
  std::vector<std::string> lines;
  const std::string content = ReadAll(path);
  std::size_t from = 0;
  for (std::size_t end; (end = content.find("\r\n", from)) != std::string::npos; from = end + 2) {
    lines.push_back(content.substr(from, end - from));
  }
  EXPECT_EQ(from, content.size()) << "every line ends with CR LF";
  return lines;
}

// The records of a table as the independent reader reads them; none when it
// cannot read the table (the failure is then reported).
nlohmann::json RecordsOf(const fs::path& path) {
  const nlohmann::json table = ReadWithIndependentReader(path);
  return table.is_object() && table.contains("records") ? table.at("records")
                                                        : nlohmann::json::array();
}

class MonthlyFilesTest : public MonthlyFilesFixture {
 protected:
  fs::path Out(const char* name) {
    fs::create_directories(folder_.path() / "out");
    return folder_.path() / "out" / name;
  }

  void ExpectSameAsKept(const char* name) {
    const fs::path expected = fs::path(TRAVENO_EXPECTED_FILES) / "monthly" / name;
    ASSERT_TRUE(fs::exists(expected)) << expected;
    const std::string written = ReadAll(Out(name));
    const std::string wanted = ReadAll(expected);
    EXPECT_EQ(written.size(), wanted.size()) << name;
    for (std::size_t i = 0; i < std::min(written.size(), wanted.size()); ++i) {
      if (written[i] != wanted[i]) {
        ADD_FAILURE() << name << " differs first at byte " << i << ": ..."
                      << written.substr(i > 40 ? i - 40 : 0, 80) << "... instead of ..."
                      << wanted.substr(i > 40 ? i - 40 : 0, 80);
        return;
      }
    }
  }

  // The declarant as typed, filling the fields of A2.
  DeclarationHeader header_{
      "17/2003",
      kFilesToday,
      {"Popovici-Țuțuianu", "Ana-Mădălina", "Director economic și financiar", "B"}};
  CasEmployerExtras extras_{2, "B"};
};

TEST_F(MonthlyFilesTest, EveryFileOfTheMonthAsKept) {
  const CasDeclaration cas = BuildCasDeclaration(*session_);
  const UnemploymentDeclaration somaj = BuildUnemploymentDeclaration(*session_);
  EXPECT_EQ(WriteA11Txt(Out("A11.txt"), cas, prompter_).records, 4);
  EXPECT_EQ(WriteA11Dbf(Out("A11.dbf"), cas, kFilesToday, prompter_).records, 4);
  EXPECT_EQ(WriteA12Txt(Out("A12.txt"), cas, extras_, prompter_).records, 1);
  EXPECT_EQ(WriteA12Dbf(Out("A12.dbf"), cas, extras_, kFilesToday, prompter_).records, 1);
  EXPECT_EQ(WriteA1Txt(Out("A1.txt"), somaj, prompter_).records, 3);
  EXPECT_EQ(WriteA1Dbf(Out("A1.dbf"), somaj, kFilesToday, prompter_).records, 3);
  EXPECT_EQ(WriteA2Txt(Out("A2.txt"), somaj, header_, prompter_).records, 1);
  EXPECT_EQ(WriteA2Dbf(Out("A2.dbf"), somaj, header_, kFilesToday, prompter_).records, 1);
  EXPECT_TRUE(prompter_.messages.empty());
  for (const char* name :
       {"A11.txt", "A11.dbf", "A12.txt", "A12.dbf", "A1.txt", "A1.dbf", "A2.txt", "A2.dbf"}) {
    ExpectSameAsKept(name);
  }

  // Another program opens every table with one record per declared person.
  if (!HaveIndependentReader()) GTEST_SKIP() << "python3-dbfread is not installed";
  const std::pair<const char*, std::size_t> kTables[] = {
      {"A11.dbf", 4}, {"A12.dbf", 1}, {"A1.dbf", 3}, {"A2.dbf", 1}};
  for (const auto& [name, records] : kTables) {
    ASSERT_EQ(RecordsOf(Out(name)).size(), records) << name;
  }
  // The names as stored, Romanian letters in the code page's forms.
  const auto a11 = RecordsOf(Out("A11.dbf"));
  ASSERT_EQ(a11.size(), 4u);
  EXPECT_EQ(a11[1]["NUME"], "Ştefănescu-Ţăranu Ana-Ştefana");
  EXPECT_EQ(a11[3]["NUME"], "LUPU-ŢIBULEAC ANCA-LĂCRĂMIOAR");  // cut to 29
  EXPECT_EQ(a11[1]["CASTOT"], 550000);
  EXPECT_EQ(a11[1]["BASS"], 450000);
  const auto a2 = RecordsOf(Out("A2.dbf"));
  ASSERT_EQ(a2.size(), 1u);
  EXPECT_EQ(a2[0]["DEN"], "SC Fixtură Lunară şi Ţesături");
  EXPECT_EQ(a2[0]["DATAL"], "2003-04-10");
  EXPECT_EQ(a2[0]["TOTOBL"], 99500);
}

TEST_F(MonthlyFilesTest, ANaturalPersonEmployerFilesItsPersonalCode) {
  SetNaturalPerson("1600101400077");
  const CasDeclaration cas = BuildCasDeclaration(*session_);
  const UnemploymentDeclaration somaj = BuildUnemploymentDeclaration(*session_);
  WriteA11Txt(Out("A11.txt"), cas, prompter_);
  WriteA11Dbf(Out("A11.dbf"), cas, kFilesToday, prompter_);
  WriteA12Txt(Out("A12.txt"), cas, extras_, prompter_);
  WriteA12Dbf(Out("A12.dbf"), cas, extras_, kFilesToday, prompter_);
  WriteA1Txt(Out("A1.txt"), somaj, prompter_);
  WriteA1Dbf(Out("A1.dbf"), somaj, kFilesToday, prompter_);
  WriteA2Txt(Out("A2.txt"), somaj, header_, prompter_);
  WriteA2Dbf(Out("A2.dbf"), somaj, header_, kFilesToday, prompter_);
  const std::string a11 = Lines(Out("A11.txt")).at(0);
  EXPECT_EQ(a11.substr(6, 13), "1600101400077");                // CF holds the code, whole
  EXPECT_EQ(a11.substr(a11.size() - 14, 13), "1600101400077");  // CNPA
  const std::string a12 = Lines(Out("A12.txt")).at(0);
  EXPECT_EQ(a12.substr(43, 13), std::string(10, ' ') + "J40");  // no fiscal code
  EXPECT_EQ(a12.substr(461, 13), "1600101400077");              // CNPA, after the banks
  const std::string a1 = Lines(Out("A1.txt")).at(0);
  EXPECT_EQ(a1.substr(6, 10), "         0");
  EXPECT_EQ(a1.substr(16, 13), "1600101400077");
  const std::string a2 = Lines(Out("A2.txt")).at(0);
  EXPECT_EQ(a2.substr(92, 13), std::string(10, ' ') + "J40");  // CF after the name's 60
  if (!HaveIndependentReader()) GTEST_SKIP() << "python3-dbfread is not installed";
  const auto a11_table = RecordsOf(Out("A11.dbf"));
  ASSERT_EQ(a11_table.size(), 4u);
  EXPECT_EQ(a11_table[0]["CF"], 0);
  EXPECT_EQ(a11_table[0]["CNPA"], 1600101400077);
  const auto a12_table = RecordsOf(Out("A12.dbf"));
  ASSERT_EQ(a12_table.size(), 1u);
  EXPECT_EQ(a12_table[0]["CF"], 0);
  EXPECT_EQ(a12_table[0]["CNPA"], 1600101400077);
  const auto a1_table = RecordsOf(Out("A1.dbf"));
  ASSERT_EQ(a1_table.size(), 3u);
  EXPECT_TRUE(a1_table[0]["CF"].is_null());  // left blank
  EXPECT_EQ(a1_table[0]["CN"], 1600101400077);
  const auto a2_table = RecordsOf(Out("A2.dbf"));
  ASSERT_EQ(a2_table.size(), 1u);
  EXPECT_EQ(a2_table[0]["CF"], 0);
}

// The employer's file is the declaration: without its record it is not
// written, and the file of an earlier writing stays as it was.
TEST_F(MonthlyFilesTest, APayDayTheNextMonthLacksWritesNoEmployerFile) {
  const UnemploymentDeclaration good = BuildUnemploymentDeclaration(*session_);
  ASSERT_TRUE(WriteA2Txt(Out("A2.txt"), good, header_, prompter_).written);
  ASSERT_TRUE(WriteA2Dbf(Out("A2.dbf"), good, header_, kFilesToday, prompter_).written);
  const std::string txt_before = ReadAll(Out("A2.txt"));
  const std::string dbf_before = ReadAll(Out("A2.dbf"));

  StoreCompanyParameterAsFound("ZiLichidare", 31);  // April has 30 days
  const UnemploymentDeclaration somaj = BuildUnemploymentDeclaration(*session_);
  const FileOutcome txt = WriteA2Txt(Out("A2.txt"), somaj, header_, prompter_);
  EXPECT_TRUE(txt.failed);
  EXPECT_FALSE(txt.written);
  EXPECT_EQ(ReadAll(Out("A2.txt")), txt_before);
  const FileOutcome dbf = WriteA2Dbf(Out("A2.dbf"), somaj, header_, kFilesToday, prompter_);
  EXPECT_TRUE(dbf.failed);
  EXPECT_FALSE(dbf.written);
  EXPECT_EQ(dbf.records, 0);
  EXPECT_EQ(ReadAll(Out("A2.dbf")), dbf_before);
  EXPECT_FALSE(WriteA2Dbf(Out("New.dbf"), somaj, header_, kFilesToday, prompter_).written);
  EXPECT_FALSE(fs::exists(Out("New.dbf")));
  ASSERT_EQ(prompter_.messages.size(), 3u);
  EXPECT_EQ(prompter_.messages[0].kind, MessageKind::kError);
  EXPECT_EQ(prompter_.messages[0].text, kA2TxtFailed);
  EXPECT_EQ(prompter_.messages[1].text, kA2DbfFailed);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path() / "out"), fs::directory_iterator()),
            2);
}

// A declaration of December is paid in January of the next year: the year
// of the pay date is not the declaration's.
TEST_F(MonthlyFilesTest, TheMonthAfterDecemberIsJanuaryOfTheNextYear) {
  CasDeclaration cas = BuildCasDeclaration(*session_);
  UnemploymentDeclaration somaj = BuildUnemploymentDeclaration(*session_);
  cas.month = D(2003, 12);
  somaj.month = D(2003, 12);
  WriteA12Txt(Out("A12.txt"), cas, extras_, prompter_);
  WriteA2Txt(Out("A2.txt"), somaj, header_, prompter_);
  EXPECT_EQ(Lines(Out("A12.txt")).at(0).substr(0, 14), "20031210 12004");
  EXPECT_EQ(Lines(Out("A2.txt")).at(0).substr(18, 14), "20031210012004");
  WriteA12Dbf(Out("A12.dbf"), cas, extras_, kFilesToday, prompter_);
  WriteA2Dbf(Out("A2.dbf"), somaj, header_, kFilesToday, prompter_);
  if (!HaveIndependentReader()) GTEST_SKIP() << "python3-dbfread is not installed";
  const auto a12 = RecordsOf(Out("A12.dbf"));
  ASSERT_EQ(a12.size(), 1u);
  EXPECT_EQ(a12[0]["AN"], 2003);
  EXPECT_EQ(a12[0]["LN"], 12);
  EXPECT_EQ(a12[0]["DCLL"], 1);
  EXPECT_EQ(a12[0]["DCAA"], 2004);
  const auto a2 = RecordsOf(Out("A2.dbf"));
  ASSERT_EQ(a2.size(), 1u);
  EXPECT_EQ(a2[0]["AN"], 2003);
  EXPECT_EQ(a2[0]["DATAL"], "2004-01-10");
}

TEST_F(MonthlyFilesTest, PayDatesInTheMonthAfter) {
  struct Case {
    Date month;
    double day;
    std::optional<Date> expected;
  };
  const Case kCases[] = {
      {D(2003, 12), 10, D(2004, 1, 10)}, {D(2003, 3), 30, D(2003, 4, 30)},
      {D(2003, 3), 31, std::nullopt},    {D(2003, 1), 29, std::nullopt},
      {D(2004, 1), 29, D(2004, 2, 29)},  {D(2003, 3), 10.7, D(2003, 4, 10)},
      {D(2003, 3), 0, std::nullopt},     {D(2003, 3), 1e300, std::nullopt},
  };
  for (const Case& c : kCases) EXPECT_EQ(PayDate(c.month, c.day), c.expected) << c.day;
  EXPECT_EQ(MonthAfter(D(2003, 12)), D(2004, 1));
}

TEST_F(MonthlyFilesTest, AFailingPersonStopsTheTableAndKeepsTheRecordsBefore) {
  db().Run("UPDATE firma.Pers SET NORMA = 12 WHERE NUME = 'RADU'");  // no room in N(1,0)
  const CasDeclaration cas = BuildCasDeclaration(*session_);
  const FileOutcome dbf = WriteA11Dbf(Out("A11.dbf"), cas, kFilesToday, prompter_);
  EXPECT_TRUE(dbf.failed);
  EXPECT_EQ(dbf.records, 2);
  EXPECT_EQ(DbfTable::Open(Out("A11.dbf")).record_count(), 2u);
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, "Au aparut probleme la fisierul A11.dbf pentru RADU MIHAI");
  // The text file writes the value whole.
  const FileOutcome txt = WriteA11Txt(Out("A11.txt"), cas, prompter_);
  EXPECT_FALSE(txt.failed);
  const auto lines = Lines(Out("A11.txt"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2].substr(lines[2].size() - 2), "12");
  EXPECT_EQ(lines[2].size(), lines[0].size() + 1);
}

TEST_F(MonthlyFilesTest, LongValuesAreWrittenWholeInTheTextFiles) {
  db().Run(
      "UPDATE firma.Pers SET NUME = 'CONSTANTINESCU-POPOV', PRENUME = 'ALEXANDRU-IONUT' "
      "WHERE NUME = 'POPESCU'");
  const CasDeclaration cas = BuildCasDeclaration(*session_);
  const UnemploymentDeclaration somaj = BuildUnemploymentDeclaration(*session_);
  WriteA11Txt(Out("A11.txt"), cas, prompter_);
  WriteA1Txt(Out("A1.txt"), somaj, prompter_);
  const std::string name = "CONSTANTINESCU-POPOV ALEXANDRU-IONUT";  // 36 characters
  const auto a11 = Lines(Out("A11.txt"));
  EXPECT_EQ(a11[0].substr(28, name.size() + 13), name + "1700101400011");
  EXPECT_EQ(a11[0].size(), a11[2].size() + name.size() - 29);
  const auto a1 = Lines(Out("A1.txt"));
  EXPECT_EQ(a1[0].substr(29, name.size()), name);
  EXPECT_EQ(a1[0].size(), a1[2].size() + name.size() - 30);
}

TEST_F(MonthlyFilesTest, OnlyADbfNameTakesRecordsAndAMissingEmployerWritesNothing) {
  const CasDeclaration cas = BuildCasDeclaration(*session_);
  const FileOutcome other = WriteA11Dbf(Out("A11.txt"), cas, kFilesToday, prompter_);
  EXPECT_EQ(other.records, 0);
  EXPECT_EQ(DbfTable::Open(Out("A11.txt")).record_count(), 0u);
  fs::create_directories(folder_.path() / "my.files");
  const fs::path dotted = folder_.path() / "my.files" / "A11.DBF";
  EXPECT_EQ(WriteA11Dbf(dotted, cas, kFilesToday, prompter_).records, 4);
  EXPECT_EQ(DbfTable::Open(dotted).record_count(), 4u);

  CasDeclaration orphan = cas;
  orphan.employer.reset();
  EXPECT_THROW(WriteA11Txt(Out("B.txt"), orphan, prompter_), Error);
  EXPECT_THROW(WriteA12Dbf(Out("B.dbf"), orphan, extras_, kFilesToday, prompter_), Error);
  EXPECT_FALSE(fs::exists(Out("B.txt")));
  EXPECT_FALSE(fs::exists(Out("B.dbf")));
}

}  // namespace
}  // namespace traveno::declarations
