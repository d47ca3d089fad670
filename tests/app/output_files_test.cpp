// The files the windows save never land on the program's own files: the
// preview's "PDF" printer and the declaration files' save dialog refuse the
// company's database as their output, however the path reaches it.
#include <gtest/gtest.h>

#include <QTest>
#include <fstream>
#include <iterator>

#include "core/data_folder.h"
#include "core/store/row_io.h"
#include "declarations/ui/cas_declaration_window.h"
#include "reports/ui/document_windows.h"
#include "tests/app/test_month_fixture.h"
#include "ui/print_preview.h"

namespace traveno::app {
namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class OutputFilesTest : public traveno::testing::TestMonthFixture {
 protected:
  void SetUp() override {
    TestMonthFixture::SetUp();
    PersRow row;
    row.LUNA = session_->working_month();
    row.TIP = "1";
    row.NUME = "ALFA";
    row.PRENUME = "ION";
    row.Depart = "CENTRAL";
    row.BRUT = 1000000;
    RowWriter<PersRow>(session_->db(), "Pers").Insert(row);
  }
};

TEST_F(OutputFilesTest, ThePreviewDoesNotWriteItsPdfOverTheCompanysDatabase) {
  traveno::testing::TempFolder out;
  const fs::path database = folder_.path() / "TEST" / kCompanyDatabaseName;
  fs::create_symlink(database, out.path() / "stat.pdf");
  fs::create_hard_link(database, out.path() / "copie.pdf");
  const std::string before = FileBytes(database);
  // A name without ".pdf" gets it, so the database itself is reached only
  // through a link; its own name and other spellings are refused all the same.
  const std::vector<fs::path> chosen_files = {
      database, folder_.path() / "TEST" / ".." / "TEST" / kCompanyDatabaseName,
      out.path() / "stat.pdf", out.path() / "." / "copie.pdf"};
  for (const fs::path& chosen : chosen_files) {
    const fs::path written =
        chosen.extension() == ".pdf" ? chosen : fs::path(chosen.string() + ".pdf");
    ui::PreviewOptions options;
    options.choose_pdf_file = [&](const QString&) { return QString::fromStdString(chosen); };
    options.printers = [] { return ui::PrinterList{{"PDF"}, 0}; };
    options.data_folder = folder_.path();
    bool shown = false;
    reports_ui::PrintStatement(*session_, [&](const reports::Report& report) {
      if (shown) return;
      shown = true;
      ui::PrintPreview preview(prompter_, options);
      preview.SetReport(report);
      preview.show();
      for (int i = 0; i < 500 && preview.preparing(); ++i) QTest::qWait(10);
      prompter_.messages.clear();
      prompter_.yes_no = {true};
      QTest::keyClick(preview.page_box(), Qt::Key_Return);
      ASSERT_EQ(prompter_.messages.size(), 1u) << chosen;
      EXPECT_EQ(prompter_.messages[0].text, *ProgramFileRefusal(folder_.path(), written));
      QTest::keyClick(preview.page_box(), Qt::Key_Escape);
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(FileBytes(database), before) << chosen;
  }
}

TEST_F(OutputFilesTest, TheDeclarationFilesSkipAProgramFileAndWriteTheOthers) {
  traveno::testing::TempFolder out;
  const fs::path database = folder_.path() / "TEST" / kCompanyDatabaseName;
  fs::create_symlink(database, out.path() / "A11.txt");
  const std::string before = FileBytes(database);
  std::vector<fs::path> answers = {out.path() / "A11.txt", out.path() / "A12.txt"};
  declarations_ui::DeclarationHooks hooks;
  hooks.choose_form = [](QWidget*) { return declarations::FilingForm::kTxt; };
  hooks.choose_file = [&](QWidget*, const fs::path&) -> std::optional<fs::path> {
    if (answers.empty()) return std::nullopt;
    const fs::path answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  };
  hooks.today = [] { return Date::FromYmd(2003, 2, 5); };
  declarations_ui::CasDeclarationWindow window(*session_, declarations_ui::DeclarationMode::kFiles,
                                               prompter_, progress_, hooks);
  prompter_.messages.clear();
  window.confirm_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text,
            *ProgramFileRefusal(folder_.path(), out.path() / "A11.txt"));
  EXPECT_TRUE(answers.empty());  // the second file was still offered
  EXPECT_EQ(FileBytes(database), before);
  EXPECT_TRUE(fs::is_symlink(out.path() / "A11.txt"));
  EXPECT_TRUE(fs::is_regular_file(out.path() / "A12.txt"));
}

}  // namespace
}  // namespace traveno::app
