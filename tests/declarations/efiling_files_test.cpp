// The e-filing files of the FIXT company, compared byte for byte with the
// expected files kept beside this test (worked out by hand, see
// expected/make_expected.py), and the failures that stop a file.
#include "declarations/efiling_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "core/errors.h"
#include "core/store/store.h"
#include "tests/declarations/file_checks.h"
#include "tests/declarations/source_builder.h"
#include "tests/declarations/year_fixture.h"
#include "tests/support/temp_folder.h"

namespace traveno::declarations {
namespace {

namespace fs = std::filesystem;

const Date kToday = Date::FromYmd(2003, 1, 15);

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

YearSource FixtureSource(const fs::path& data_folder, int year) {
  testing::BuildFixtureCompany(data_folder, year);
  Store store(data_folder);
  store.OpenCompany(testing::kFixtureCompany);
  return ReadYearSource(store.db(), testing::kFixtureCompany, year);
}

// Writes the four files of the year in `form` and compares each with its
// expected file, byte for byte.
void ExpectYearFiles(int year, FilingForm form) {
  ::traveno::testing::TempFolder folder;
  const YearSource source = FixtureSource(folder.path() / "data", year);
  const fs::path out = folder.path() / "out";
  fs::create_directories(out);
  for (const FilingFile file : kFilingFiles) {
    const std::string name = FilingFileName(file, year, form);
    const FilingOutcome outcome = WriteFilingFile(source, file, form, out / name, kToday);
    EXPECT_TRUE(outcome.written) << name;
    EXPECT_FALSE(outcome.error.has_value()) << name << ": " << outcome.error.value_or("");
    const fs::path expected = fs::path(TRAVENO_EXPECTED_FILES) / std::to_string(year) / name;
    ASSERT_TRUE(fs::exists(expected)) << expected;
    const std::string written = ReadAll(out / name);
    const std::string wanted = ReadAll(expected);
    EXPECT_EQ(written, wanted) << name;
    if (written != wanted) {
      for (std::size_t i = 0; i < std::min(written.size(), wanted.size()); ++i) {
        if (written[i] != wanted[i]) {
          ADD_FAILURE() << name << " differs first at byte " << i << ": ..."
                        << written.substr(i > 40 ? i - 40 : 0, 80);
          break;
        }
      }
    }
  }
}

TEST(EfilingFilesTest, TheTextFilesOf2002) { ExpectYearFiles(2002, FilingForm::kTxt); }
TEST(EfilingFilesTest, TheDbaseFilesOf2002) { ExpectYearFiles(2002, FilingForm::kDbf); }
TEST(EfilingFilesTest, TheTextFilesBefore2002) { ExpectYearFiles(2001, FilingForm::kTxt); }

TEST(EfilingFilesTest, NamesProposalsAndWaitTexts) {
  struct Case {
    FilingFile file;
    int year;
    FilingForm form;
    const char* name;
    const char* proposed;
    const char* wait;
  };
  const Case kCases[] = {
      {FilingFile::kRep, 2003, FilingForm::kTxt, "Rep_2003.txt", "REP_2003.txt",
       "Salvez date in fisierul  RepFisc.txt"},
      {FilingFile::kDed, 2003, FilingForm::kTxt, "Ded_2003.txt", "DED_2003.txt",
       "Salvez date in fisierul Deduceri.txt"},
      {FilingFile::kFf1, 2002, FilingForm::kDbf, "FF1_2002.DBF", "FF1_2002.DBF",
       "Salvez date in fisierul FF1.DBF"},
      {FilingFile::kRep, 2002, FilingForm::kDbf, "REP_2002.DBF", "REP_2002.DBF",
       "Salvez date in fisierul  RepFisc.DBF"},
      {FilingFile::kFf2, 2001, FilingForm::kTxt, "FF2.txt", "FF2.txt",
       "Salvez date in fisierul FF2.txt"},
      {FilingFile::kDed, 2001, FilingForm::kTxt, "Deduceri.txt", "Deduceri.txt",
       "Salvez date in fisierul Deduceri.txt"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(FilingFileName(c.file, c.year, c.form), c.name);
    EXPECT_EQ(ProposedFileName(c.file, c.year, c.form), c.proposed);
    EXPECT_EQ(FilingWaitText(c.file, c.form), c.wait);
  }
  EXPECT_EQ(FormOfYear(2001, FilingForm::kDbf), FilingForm::kTxt);
  EXPECT_EQ(FormOfYear(2002, FilingForm::kDbf), FilingForm::kDbf);
}

TEST(EfilingFilesTest, ARecordThatFailsStopsTheFileAndKeepsWhatCameBefore) {
  ::traveno::testing::TempFolder folder;
  YearSource source = testing::SourceOf(2003);
  for (int month = 1; month <= 12; ++month) {
    source.pers.push_back(testing::MonthRow(1, "1", 2003, month));
    PersRow wide = testing::MonthRow(2, "1", 2003, month);
    wide.NUME = "Lat";
    wide.PRENUME = "Coeficient";
    wide.CoefInd = 12.5;  // "12.50" does not fit N(4,2)
    source.pers.push_back(wide);
    PersRow undefined = testing::MonthRow(3, "1", 2003, month);
    undefined.CoefInd = NAN;  // a figure no file can hold
    source.pers.push_back(undefined);
    source.pint.push_back(testing::DependantRow(1, 2003, month, "2720202400022", 0, 0.5));
    source.pint.push_back(testing::DependantRow(3, 2003, month, "5020601400033", 1, NAN));
  }
  const fs::path ff1 = folder.path() / "FF1_2003.DBF";
  FilingOutcome outcome = WriteFilingFile(source, FilingFile::kFf1, FilingForm::kDbf, ff1, kToday);
  EXPECT_EQ(outcome.error, "Au aparut probleme la FF1.dbf pentru Lat Coeficient!");
  EXPECT_EQ(ReadAll(ff1).substr(4, 4), std::string("\x01\0\0\0", 4));  // the first person only

  const fs::path ded = folder.path() / "Ded_2003.txt";
  outcome = WriteFilingFile(source, FilingFile::kDed, FilingForm::kTxt, ded, kToday);
  EXPECT_EQ(outcome.error, "Au aparut probleme la Deduceri.txt pentru Popescu 5020601400033!");
  EXPECT_EQ(
      ReadAll(ded), "1700101400011,2720202400022,#Popescu#,#2720202400022#,#X#,##,##,##,##,##," +
                        [] {
                          std::string coefs;
                          for (int m = 0; m < 12; ++m) coefs += std::string(m ? "," : "") + "0.5";
                          return coefs;
                        }() +
                        "\r\n");

  // An FF text file has no failure of its own: the whole confirmation stops.
  EXPECT_THROW(WriteFilingFile(source, FilingFile::kFf1, FilingForm::kTxt,
                               folder.path() / "FF1_2003.txt", kToday),
               Error);

  // The employer's file: a sector that does not fit its field, or no company.
  source.company->Sector = "12";
  const fs::path rep = folder.path() / "REP_2003.DBF";
  outcome = WriteFilingFile(source, FilingFile::kRep, FilingForm::kDbf, rep, kToday);
  EXPECT_EQ(outcome.error, "Au aparut probleme !");
  EXPECT_EQ(ReadAll(rep).substr(4, 4), std::string(4, '\0'));  // the empty table stays
  source.company.reset();
  outcome = WriteFilingFile(source, FilingFile::kRep, FilingForm::kTxt,
                            folder.path() / "Rep_2003.txt", kToday);
  EXPECT_FALSE(outcome.written);
  EXPECT_FALSE(fs::exists(folder.path() / "Rep_2003.txt"));
}

TEST(EfilingFilesTest, AFolderThatCannotBeWrittenLeavesNoFile) {
  ::traveno::testing::TempFolder folder;
  const YearSource source = testing::SourceOf(2003);
  const fs::path missing = folder.path() / "lipsa" / "Rep_2003.txt";
  EXPECT_THROW(WriteFilingFile(source, FilingFile::kRep, FilingForm::kTxt, missing, kToday),
               OsError);
  EXPECT_FALSE(fs::exists(missing));
}

// Another program's dBASE reader opens the FF1 table: the layout's names,
// types and widths, one record per person.
TEST(EfilingFilesTest, AnIndependentReaderOpensTheFiscalSheetTable) {
  if (!testing::HaveIndependentReader()) GTEST_SKIP() << "python3-dbfread is not installed";
  ::traveno::testing::TempFolder folder;
  const YearSource source = FixtureSource(folder.path() / "data", 2002);
  const fs::path path = folder.path() / "FF1_2002.DBF";
  WriteFilingFile(source, FilingFile::kFf1, FilingForm::kDbf, path, kToday);

  const auto json = testing::ReadWithIndependentReader(path);
  ASSERT_FALSE(json.is_null());
  ASSERT_EQ(json["fields"].size(), 86u);
  EXPECT_EQ(json["fields"][19], nlohmann::json::parse(R"(["ALTE_SIT", "C", 1, 0])"));
  EXPECT_EQ(json["fields"][20], nlohmann::json::parse(R"(["DATA_ANGAJ", "D", 8, 0])"));
  EXPECT_EQ(json["fields"][22], nlohmann::json::parse(R"(["COEF_T_01", "N", 4, 2])"));
  EXPECT_EQ(json["fields"][85], nlohmann::json::parse(R"(["VENIT_SCUT", "N", 12, 0])"));
  ASSERT_EQ(json["records"].size(), 2u);
  EXPECT_EQ(json["records"][0]["NUME"], "POPESCU");
  EXPECT_EQ(json["records"][0]["DIF_RESTIT"], 118800);
  EXPECT_EQ(json["records"][1]["NUME"], "\xC5\x9ETEF\xC4\x82NESCU");
  EXPECT_EQ(json["records"][1]["DATA_ANGAJ"], "2002-03-10");
  EXPECT_EQ(json["records"][1]["COEF_T_07"], 1.5);
}

}  // namespace
}  // namespace traveno::declarations
