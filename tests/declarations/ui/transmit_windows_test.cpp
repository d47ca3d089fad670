#include "declarations/ui/transmit_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <iterator>

#include "core/data_folder.h"
#include "declarations/fiscal_lists.h"
#include "tests/declarations/ui/window_fixture.h"

namespace traveno::declarations_ui {
namespace {

namespace fs = std::filesystem;
using declarations::FilingForm;
using ::traveno::testing::AnswerNextModal;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string Expected(const std::string& name) {
  return ReadAll(fs::path(TRAVENO_EXPECTED_FILES) / "2002" / name);
}

class TransmitWindowTest : public declarations::testing::FixtureWindowTest {
 protected:
  // The dialogs the window opened: the folder each started in and the name it proposed.
  struct Dialog {
    std::string folder;
    std::string proposed;
  };

  // Hooks choosing `form` and answering the save dialogs with `answers` in
  // turn (an empty answer cancels).
  TransmitHooks Hooks(std::optional<FilingForm> form, std::vector<std::string> answers) {
    TransmitHooks hooks;
    hooks.choose_form = [this, form](QWidget*) {
      ++forms_asked_;
      return form;
    };
    hooks.choose_path = [this, answers](QWidget*, const QString& folder, const QString& proposed) {
      dialogs_.push_back({folder.toStdString(), proposed.toStdString()});
      const std::size_t i = dialogs_.size() - 1;
      return i < answers.size() ? QString::fromStdString(answers[i]) : QString();
    };
    hooks.today = [] { return Date::FromYmd(2003, 1, 15); };
    return hooks;
  }

  fs::path out() {
    fs::create_directories(folder_.path() / "out");
    return folder_.path() / "out";
  }

  std::vector<Dialog> dialogs_;
  int forms_asked_ = 0;
};

TEST_F(TransmitWindowTest, OffersEachFileInTurnAndSkipsACancelledOne) {
  const std::string other = (out() / "altul").string();
  fs::create_directories(other);
  // Rep under a typed name, FF1 into another folder, FF2 cancelled, Ded.
  TransmitWindow window(
      *session_, prompter_, progress_,
      Hooks(FilingForm::kTxt, {(out() / "nume_tastat.txt").string(), other + "/FF1_2002.txt", "",
                               (out() / "DED_2002.txt").string()}));
  window.show();
  EXPECT_EQ(window.windowTitle(), "Transmitere electronica");
  ASSERT_EQ(window.years()->count(), 1);
  EXPECT_EQ(window.years()->currentText(), "2002");
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(window.years(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), window.confirm_button());

  window.confirm_button()->click();
  EXPECT_FALSE(window.isVisible());  // closed after the confirmation
  EXPECT_EQ(forms_asked_, 1);
  ASSERT_EQ(dialogs_.size(), 4u);
  EXPECT_EQ(dialogs_[0].folder, store_->CompanyFolderOf("FIXT").string());
  EXPECT_EQ(dialogs_[0].proposed, "REP_2002.txt");
  EXPECT_EQ(dialogs_[1].folder, out().string());  // the folder of the first saved file
  EXPECT_EQ(dialogs_[1].proposed, "FF1_2002.txt");
  EXPECT_EQ(dialogs_[2].folder, out().string());
  EXPECT_EQ(dialogs_[3].proposed, "DED_2002.txt");

  // Text files keep their fixed names ("Rep_" and "Ded_"), whatever was typed.
  EXPECT_EQ(ReadAll(out() / "Rep_2002.txt"), Expected("Rep_2002.txt"));
  EXPECT_FALSE(fs::exists(out() / "nume_tastat.txt"));
  EXPECT_EQ(ReadAll(fs::path(other) / "FF1_2002.txt"), Expected("FF1_2002.txt"));
  EXPECT_FALSE(fs::exists(out() / "FF2_2002.txt"));
  EXPECT_EQ(ReadAll(out() / "Ded_2002.txt"), Expected("Ded_2002.txt"));
  EXPECT_EQ(progress_.waits, (std::vector<std::string>{
                                 "Asteptati va rog.... / Salvez date in fisierul  RepFisc.txt",
                                 "Asteptati va rog.... / Salvez date in fisierul FF1.txt",
                                 "Asteptati va rog.... / Salvez date in fisierul Deduceri.txt"}));
  EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(TransmitWindowTest, WritesADbaseFileExactlyWhereItWasSaved) {
  TransmitWindow window(*session_, prompter_, progress_,
                        Hooks(FilingForm::kDbf, {(out() / "angajator.dbf").string()}));
  window.show();
  window.confirm_button()->click();
  ASSERT_EQ(dialogs_.size(), 4u);
  EXPECT_EQ(dialogs_[0].proposed, "REP_2002.DBF");
  EXPECT_EQ(dialogs_[3].proposed, "DED_2002.DBF");
  EXPECT_EQ(ReadAll(out() / "angajator.dbf"), Expected("REP_2002.DBF"));
  EXPECT_EQ(progress_.waits.front(), "Asteptati va rog.... / Salvez date in fisierul  RepFisc.DBF");
}

TEST_F(TransmitWindowTest, AFileOfTheProgramIsRefusedAndTheOthersAreWritten) {
  // FF1 saved through a link to the company's database.
  const fs::path database = store_->CompanyFolderOf("FIXT") / kCompanyDatabaseName;
  fs::create_symlink(database, out() / "FF1_2002.txt");
  const std::string before = ReadAll(database);
  TransmitWindow window(
      *session_, prompter_, progress_,
      Hooks(FilingForm::kTxt, {(out() / "Rep_2002.txt").string(), (out() / "FF1_2002.txt").string(),
                               "", (out() / "Ded_2002.txt").string()}));
  window.show();
  window.confirm_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, *ProgramFileRefusal(data(), out() / "FF1_2002.txt"));
  EXPECT_EQ(ReadAll(database), before);
  EXPECT_TRUE(fs::is_symlink(out() / "FF1_2002.txt"));
  EXPECT_EQ(ReadAll(out() / "Rep_2002.txt"), Expected("Rep_2002.txt"));
  EXPECT_EQ(ReadAll(out() / "Ded_2002.txt"), Expected("Ded_2002.txt"));
}

TEST_F(TransmitWindowTest, AnAbandonedFormChoiceOrAnotherYearWritesNothing) {
  {
    TransmitWindow window(*session_, prompter_, progress_, Hooks(std::nullopt, {}));
    window.show();
    window.confirm_button()->click();
    EXPECT_EQ(forms_asked_, 1);
    EXPECT_TRUE(dialogs_.empty());
    EXPECT_FALSE(window.isVisible());
  }
  // A year of the company that is not the working month's.
  session_->db().Run(
      "INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES ('2001-12-01', 'Deschisa', 1, '')");
  TransmitWindow window(*session_, prompter_, progress_, Hooks(FilingForm::kTxt, {}));
  window.show();
  ASSERT_EQ(window.years()->count(), 2);
  EXPECT_EQ(window.years()->currentText(), "2002");  // the latest year is selected
  window.years()->setCurrentIndex(0);
  window.confirm_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].kind, MessageKind::kWarning);
  EXPECT_EQ(prompter_.messages[0].text, declarations::kFilingYearWarning);
  EXPECT_EQ(forms_asked_, 1);
  EXPECT_TRUE(dialogs_.empty());
  EXPECT_FALSE(window.isVisible());
}

TEST(TransmitFormWindowTest, ChoosesTheFormAndClosesWithOk) {
  TransmitFormWindow window;
  window.show();
  EXPECT_EQ(window.windowTitle(), "Transmitere electronica");
  EXPECT_EQ(window.txt_choice()->text(), "Transmitere sub forma de fisier TXT  ");
  EXPECT_EQ(window.form(), FilingForm::kDbf);
  window.txt_choice()->click();
  EXPECT_EQ(window.form(), FilingForm::kTxt);
  window.confirm_button()->click();
  EXPECT_EQ(window.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace traveno::declarations_ui
