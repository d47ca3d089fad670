// The paths the program builds inside its data folder: a company's folder
// from its code, and the refusal of an output file that is one of the
// program's own files, however its path is spelt.
#include "core/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "core/errors.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;

TEST(CompanyFolderTest, OnlyACodeThatNamesAFolderOfItsOwnGivesAPath) {
  const fs::path data = "/date";
  struct Case {
    std::string code;
    bool valid;          // as the company editor takes it
    const char* folder;  // null: refused
  };
  const Case kCases[] = {
      {"ALFA", true, "/date/ALFA"},
      {"  ALFA ", true, "/date/ALFA"},
      {"ABCDEFGH", true, "/date/ABCDEFGH"},
      {"ABCDEFGHI", false, nullptr},  // one past the width of the code
      {"A-1_$", true, "/date/A-1_$"},
      {"..", false, nullptr},
      {".", false, nullptr},
      {"../ALFA", false, nullptr},
      {"A/B", false, nullptr},
      {"A\\B", false, nullptr},
      {"/etc", false, nullptr},
      {"A B", false, nullptr},
      {"", false, nullptr},
      {"   ", false, nullptr},
      {"con", false, nullptr},
      {"NUCLEU", false, nullptr},
      {"A\tB", false, nullptr},
      {"ŞTEF", false, nullptr},
      {std::string("AB\0C", 4), false, nullptr},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(IsValidCompanyCode(c.code), c.valid) << "[" << c.code << "]";
    if (c.folder != nullptr) {
      EXPECT_EQ(CheckedCompanyFolder(data, c.code), fs::path(c.folder)) << c.code;
    } else {
      try {
        CheckedCompanyFolder(data, c.code);
        ADD_FAILURE() << "[" << c.code << "] gave a folder";
      } catch (const Error& refused) {
        EXPECT_STREQ(refused.what(), InvalidCompanyCodeMessage(c.code).c_str());
      }
    }
  }
}

// A data folder with its program files: the register, the settings, the
// error file and the company ALFA's database.
class ProgramFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(data_ / "ALFA");
    fs::create_directories(outside_);
    for (const fs::path& file : {data_ / kRegisterDatabaseName, data_ / kSettingsFileName,
                                 data_ / kErrorFileName, data_ / "ALFA" / kCompanyDatabaseName}) {
      std::ofstream(file) << "kept";
    }
  }
  bool Refused(const fs::path& output) { return ProgramFileRefusal(data_, output).has_value(); }

  testing::TempFolder folder_;
  fs::path data_ = folder_.path() / "date";
  fs::path outside_ = folder_.path() / "documente";
};

TEST_F(ProgramFileTest, EverySpellingOfAProgramFileIsRefused) {
  fs::create_symlink(data_ / "ALFA" / kCompanyDatabaseName, outside_ / "stat.pdf");
  fs::create_symlink(data_ / "ALFA", outside_ / "firma");
  fs::create_symlink(data_, folder_.path() / "legatura");
  ASSERT_EQ(::link((data_ / kSettingsFileName).c_str(), (outside_ / "copie.ini").c_str()), 0);
  const fs::path refused[] = {
      data_ / "ALFA" / kCompanyDatabaseName,
      data_ / "ALFA" / "firma.db-journal",
      data_ / "ALFA" / "firma.db.bak-0",
      data_ / "ALFA" / "FIRMA.DB",
      data_ / "BETA" / kCompanyDatabaseName,  // a company not made yet
      data_ / kRegisterDatabaseName,
      data_ / "registru.db.20030101-120000.bak",
      data_ / kSettingsFileName,
      data_ / kErrorFileName,
      data_ / "traveno.ERR.old",
      data_ / "ALFA" / ".." / "ALFA" / "." / kCompanyDatabaseName,
      outside_ / ".." / "date" / kSettingsFileName,
      outside_ / "stat.pdf",                      // a link to the company's database
      outside_ / "firma" / kCompanyDatabaseName,  // through a linked folder
      folder_.path() / "legatura" / kRegisterDatabaseName,
      outside_ / "copie.ini",  // a hard link to the settings file
  };
  for (const fs::path& output : refused) EXPECT_TRUE(Refused(output)) << output;
  for (const fs::path& file : {data_ / "ALFA" / kCompanyDatabaseName, data_ / kSettingsFileName}) {
    std::ifstream in(file);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "kept") << file;
  }
}

TEST_F(ProgramFileTest, DocumentsAndDeclarationFilesAnywhereElsePass) {
  const fs::path allowed[] = {
      outside_ / "stat.pdf",
      outside_ / "nou" / "stat.pdf",
      data_ / "ALFA" / "A11.txt",  // the declaration windows offer the company's folder
      data_ / "ALFA" / "firma.pdf",
      data_ / "stat.pdf",
      data_ / "ALFA" / "sub" / kCompanyDatabaseName,
      outside_ / kCompanyDatabaseName,  // another program's file of that name
  };
  for (const fs::path& output : allowed) EXPECT_FALSE(Refused(output)) << output;
  EXPECT_NO_THROW(RequireOutputFile(data_, outside_ / "stat.pdf"));
  EXPECT_THROW(RequireOutputFile(data_, data_ / kSettingsFileName), Error);
}

}  // namespace
}  // namespace traveno
