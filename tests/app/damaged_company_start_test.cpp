// The desktop program's start on a data folder where one company's database
// is garbage: the company is named, left as it was, and the others are
// chosen and worked on as ever.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <fstream>
#include <iterator>

#include "app/main_window.h"
#include "core/data_folder.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "params/session.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"

namespace traveno::app {
namespace {

namespace fs = std::filesystem;
using traveno::testing::AnswerNextModal;
using traveno::testing::ScriptedPrompter;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DamagedCompanyStartTest, TheDamagedCompanyIsNamedAndAnotherIsChosen) {
  traveno::testing::TempFolder folder;
  {
    Store store(folder.path());
    store.EnsureRegisterTables();
    params::Session session(store);
    ScriptedPrompter setup;
    SilentProgress progress;
    for (const char* code : {"ALFA", "DEMO"}) {
      params::CompanyInput input;
      input.row.Cod = code;
      input.row.Denumire = std::string("Firma ") + code;
      ASSERT_EQ(params::AddCompany(store, input, setup), params::AddCompanyResult::kAdded);
      ASSERT_TRUE(params::ChooseCompanyAndMonth(session, code, Date::FromYmd(2003, 1, 1), setup,
                                                progress));
    }
  }
  const fs::path damaged = folder.path() / "DEMO" / kCompanyDatabaseName;
  const std::string garbage(30000, '\x5A');
  std::ofstream(damaged, std::ios::binary | std::ios::trunc) << garbage;
  const std::string named = DamagedCompanyMessage("DEMO", damaged);

  ScriptedPrompter prompter;
  MainWindowOptions options;
  options.data_folder = folder.path();
  options.prompter = &prompter;
  options.terminate = [](int) {};
  options.open_help = [] {};
  MainWindow window(std::move(options));
  QStringList damaged_months;
  std::size_t messages_at_choice = 0;
  AnswerNextModal([&](QWidget* choice) {
    messages_at_choice = prompter.messages.size();
    auto* companies = choice->findChild<QTreeWidget*>("LFirme");
    auto* months = choice->findChild<QListWidget*>("LLuni");
    auto* choose = choice->findChild<QPushButton*>("BAlege");
    companies->setCurrentItem(companies->findItems("DEMO", Qt::MatchExactly, 0).value(0));
    for (int i = 0; i < months->count(); ++i) damaged_months << months->item(i)->text();
    choose->click();  // refused with the company's name; the window stays
    EXPECT_TRUE(choice->isVisible());
    companies->setCurrentItem(companies->findItems("ALFA", Qt::MatchExactly, 0).value(0));
    choose->click();
  });
  window.show();
  ASSERT_TRUE(window.FinishStart());

  EXPECT_EQ(window.heading_text(), "  Firma: ALFA\r\n  Luna:  IANUARIE / 2003 ");
  // Named once at the start, before the choice, and again when it is chosen.
  ASSERT_GE(messages_at_choice, 1u);
  EXPECT_EQ(prompter.messages[0].text, named);
  ASSERT_EQ(prompter.messages.size(), messages_at_choice + 1);
  EXPECT_EQ(prompter.messages.back().text, named);
  EXPECT_EQ(damaged_months, QStringList{params::kDamagedCompanyLine});
  EXPECT_EQ(FileBytes(damaged), garbage);
  window.close();
}

}  // namespace
}  // namespace traveno::app
