#include "personnel/ui/employee_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "personnel/dependants.h"
#include "personnel/employees.h"
#include "personnel/ui/date_box.h"
#include "tests/personnel_ui/demo_fixture.h"

namespace traveno::personnel_ui {
namespace {

class EmployeeWindowTest : public testing::DemoFixture {
 protected:
  static void Type(EmployeeWindow* window, const char* field, const QString& text) {
    QLineEdit* edit = window->line_edit(field);
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  std::optional<std::int64_t> PhotoOf(int iid) {
    return session_->db().QueryInt("SELECT Nr FROM firma.Poze WHERE IID = ?", iid);
  }
};

// The answer of the code check beside a wrong code is shown whole without
// widening the window: it used to push "&Confirmare", the photo and the
// boxes off the screen.
TEST_F(EmployeeWindowTest, AWrongCodeIsAnsweredWithoutWideningTheWindow) {
  auto grid = OpenGrid();
  std::vector<std::string> answers;
  int width_before = 0;
  std::vector<int> widths;
  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    width_before = window->width();
    QLineEdit* code = window->line_edit("CodNumPers");
    for (const char* typed : {"1851315123454", "1850315123454", "18503151234a4", "185"}) {
      code->setFocus();
      code->selectAll();
      QTest::keyClicks(code, typed);
      QTest::keyClick(code, Qt::Key_Tab);
      QApplication::processEvents();
      answers.push_back(window->code_check()->text().toStdString());
      widths.push_back(std::max(window->width(), window->minimumSizeHint().width()));
      EXPECT_EQ(window->code_check()->toolTip(), window->code_check()->text());
      EXPECT_GE(window->code_check()->height(),
                2 * window->code_check()->fontMetrics().lineSpacing());
      // Read whole: the wrapped answer needs no more than the height it has.
      EXPECT_LE(window->code_check()->heightForWidth(window->code_check()->width()),
                window->code_check()->height())
          << typed;
    }
    QTest::keyClick(window, Qt::Key_Escape);
  });
  grid->grid(kPermanentPage)->setFocus();
  QTest::keyClick(grid->grid(kPermanentPage), Qt::Key_Insert);
  EXPECT_EQ(answers,
            (std::vector<std::string>{
                "Data nasterii din CNP nu este corecta! Trebuie scrisa in formatul: "
                "AALLZZ.",
                "Suma de control incorecta. Cea corecta este \"5\" si nu \"4\".",
                "CNP-ul trebuie sa contina numai cifre !!", "CNP-ul nu este din 13 caractere !!"}));
  for (const int width : widths) EXPECT_EQ(width, width_before);
}

TEST_F(EmployeeWindowTest, AddRefusesAMissingFirstNameWarnsOnAWrongCodeAndSaves) {
  auto grid = OpenGrid();
  bool kept_open = false;
  QString live_check;
  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    EXPECT_EQ(window->windowTitle(), "Adaugarea unei persoane noi");
    EXPECT_EQ(window->kind_heading()->text(), "ANGAJAT PERMANENT");
    EXPECT_EQ(window->line_edit("NORMA")->text(), "8");
    EXPECT_EQ(window->departments()->count(), 2);  // the whole company: both departments
    EXPECT_FALSE(window->line_edit("Ore_Zi")->isVisible());
    EXPECT_FALSE(window->date_box("Data_Lich")->isVisible());
    EXPECT_FALSE(window->delete_panel()->isVisible());
    EXPECT_FALSE(window->remove_photo_action()->isEnabled());
    EXPECT_EQ(window->focusWidget(), window->line_edit("Nume"));
    QTest::keyClicks(window->line_edit("Nume"), "nour");
    EXPECT_EQ(window->line_edit("Nume")->text(), "NOUR");  // typed in upper case
    window->confirm_button()->click();
    kept_open = window->isVisible();
    EXPECT_EQ(window->focusWidget(), window->line_edit("Prenume"));
    Type(window, "Prenume", "DAN");
    Type(window, "CodNumPers", "185031512345");
    live_check = window->code_check()->text();
    window->departments()->setCurrentIndex(1);
    Type(window, "SalInc", "4 000 000");
    window->confirm_button()->click();
  });
  grid->BAdaugareClick();
  EXPECT_TRUE(kept_open);
  EXPECT_EQ(live_check, "CNP-ul nu este din 13 caractere !!");
  // A refusal still lets the later checks of the same click speak (the
  // blank code then); a wrong code only warns: the employee is saved.
  ASSERT_EQ(prompter_.messages.size(), 3u);
  EXPECT_EQ(prompter_.messages[0].text, personnel::kFirstNameMissing);
  EXPECT_EQ(prompter_.messages[1].text, personnel::kBadEmployeeCode);
  EXPECT_EQ(prompter_.messages[2].text, personnel::kBadEmployeeCode);
  const PersRow* added = grid->CurrentLine();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->NUME, "NOUR");
  const PersRow stored = Stored(added->IID);
  EXPECT_EQ(stored.IID, stored.Nr);
  EXPECT_EQ(stored.TIP, "1");
  EXPECT_EQ(stored.Depart, "PRODUCT");
  EXPECT_EQ(stored.CODNUMPERS, "185031512345");
  EXPECT_EQ(stored.CoefInd1, 1);
  EXPECT_EQ(stored.ProcImpo, 100);
  EXPECT_EQ(grid->model(kPermanentPage)->rowCount(), 15);
  EXPECT_EQ(grid->TotalText("Rest de plata"), Shown(StoredRestDePlata()));

  // A right code passes without a word.
  prompter_.messages.clear();
  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    Type(window, "Nume", "ALB");
    Type(window, "Prenume", "ANA");
    Type(window, "CodNumPers", "1850315123455");
    live_check = window->code_check()->text();
    window->confirm_button()->click();
  });
  grid->BAdaugareClick();
  EXPECT_EQ(live_check, "CNP corect.");
  EXPECT_TRUE(prompter_.messages.empty());
  EXPECT_EQ(grid->model(kPermanentPage)->rowCount(), 16);
}

TEST_F(EmployeeWindowTest, PartialContractBoxesFollowTheirOwnRules) {
  auto grid = OpenGrid();
  grid->pages()->setCurrentIndex(kPartialPage);
  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    EXPECT_EQ(window->kind_heading()->text(), "ANGAJAT CONTRACT PARTIAL");
    EXPECT_TRUE(window->box("Domiciliu_ext")->isChecked());  // "Se retine Somaj de la angajat"
    EXPECT_EQ(window->box("Domiciliu_ext")->text(), "Se retine Somaj de la angajat");
    EXPECT_TRUE(window->box("Alt_Venit")->isChecked());  // "Se retine CIAS "
    EXPECT_FALSE(window->box("BifaSom")->isVisible());
    EXPECT_FALSE(window->invalidity()->isVisible());
    window->box("PlatitOra")->setChecked(true);  // "Angajat cu functie de baza"
    EXPECT_TRUE(window->invalidity()->isVisible());
    window->invalidity()->setCurrentIndex(1);
    window->box("PlatitOra")->setChecked(false);
    EXPECT_EQ(window->invalidity()->currentIndex(), 0);
    window->box("Pensionar")->setChecked(true);
    EXPECT_TRUE(window->box("Domiciliu_ext")->isChecked());
    EXPECT_FALSE(window->box("Domiciliu_ext")->isEnabled());
    window->box("Pensionar")->setChecked(false);
    Type(window, "Nume", "PARTIAL");
    Type(window, "Prenume", "ION");
    Type(window, "Ore_Zi", "0");
    window->confirm_button()->click();
    EXPECT_TRUE(window->isVisible());
    Type(window, "Ore_Zi", "4");
    window->confirm_button()->click();
  });
  grid->BAdaugareClick();
  ASSERT_FALSE(prompter_.messages.empty());
  EXPECT_EQ(prompter_.messages[0].text, personnel::kBadHoursPerDay);
  const PersRow stored = Stored(grid->CurrentLine()->IID);
  EXPECT_EQ(stored.TIP, "2");
  EXPECT_EQ(stored.BifaSom, 1);
  EXPECT_EQ(stored.Ore_Zi, 4);
  EXPECT_EQ(stored.CoefInd, 0);  // no main job: no deductions
  EXPECT_EQ(stored.CoefInd1, 0);
}

TEST_F(EmployeeWindowTest, ModifyAbandonedWritesNothingAndTheLeavingDateIsChecked) {
  auto grid = OpenGrid();
  const PersRow before = Stored(3);
  Select(*grid, kPermanentPage, "GEORGESCU");
  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    EXPECT_EQ(window->windowTitle(), "Modificare date persoana ");
    EXPECT_EQ(window->line_edit("Nume")->text(), "GEORGESCU");
    EXPECT_EQ(window->date_box("Data_Ang")->text(), "01.02.2000");
    EXPECT_FALSE(window->date_box("Data_Lich")->isEnabled());
    Type(window, "Functie", "ALTCEVA");
    QTest::keyClick(window, Qt::Key_Escape);
  });
  grid->BModificareClick();
  const PersRow after = Stored(3);
  const auto fields = FieldsOf<PersRow>();
  for (std::size_t f = 0; f < fields.size(); ++f) {
    EXPECT_EQ(GetField(after, f), GetField(before, f)) << fields[f].name;
  }

  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    window->leaving_button()->click();
    EXPECT_TRUE(window->date_box("Data_Lich")->isEnabled());
    window->date_box("Data_Lich")->setText("31.12.2002");
    window->confirm_button()->click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->focusWidget(), window->date_box("Data_Lich"));
    window->date_box("Data_Lich")->setText("31.01.2003");
    window->date_box("Data_Nas")->setText("");
    window->confirm_button()->click();
  });
  grid->BModificareClick();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, personnel::kLeavingBeforeMonth);
  EXPECT_EQ(Stored(3).DATA_LICH, Date::FromYmd(2003, 1, 31));
  EXPECT_EQ(Stored(3).DATA_NAS, EmptyDate());  // a blank date is the empty date
  EXPECT_EQ(grid->CurrentLineText("Nume"), "GEORGESCU");
}

TEST_F(EmployeeWindowTest, DeleteRemovesTheLineAndItsDependantsButKeepsThePhoto) {
  auto grid = OpenGrid();
  session_->db().Run("INSERT INTO firma.Poze (IID, Poza) VALUES (1, x'00')");
  ASSERT_EQ(personnel::ListDependants(*session_, 1).size(), 2u);
  Select(*grid, kPermanentPage, "POPESCU");
  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    EXPECT_EQ(window->windowTitle(), "Stergere persoana ");
    EXPECT_TRUE(window->delete_panel()->isVisible());
    EXPECT_EQ(window->delete_panel()->text(), "Sigur doriti sa stergeti acest angajat ?");
    EXPECT_FALSE(window->line_edit("Nume")->isEnabled());
    EXPECT_FALSE(window->photo_button()->isEnabled());
    EXPECT_FALSE(window->showing_stored_photo());  // an unreadable picture shows none
    window->confirm_button()->click();
  });
  grid->grid(kPermanentPage)->setFocus();
  QTest::keyClick(grid->grid(kPermanentPage), Qt::Key_Delete);
  EXPECT_FALSE(personnel::FindLineOfPerson(*session_, 1));
  EXPECT_TRUE(personnel::ListDependants(*session_, 1).empty());
  EXPECT_TRUE(PhotoOf(1));
  EXPECT_EQ(grid->model(kPermanentPage)->rowCount(), 13);
  EXPECT_EQ(grid->TotalText("Rest de plata"), Shown(StoredRestDePlata()));
}

TEST_F(EmployeeWindowTest, APhotoIsLoadedShownAndRemoved) {
  auto grid = OpenGrid();
  const QString picture = QString::fromStdString((folder_.path() / "poza.bmp").string());
  QImage image(40, 50, QImage::Format_RGB32);
  image.fill(Qt::blue);
  ASSERT_TRUE(image.save(picture, "BMP"));
  Select(*grid, kPermanentPage, "GEORGESCU");
  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    window->set_photo_chooser([&](const QString&) { return picture; });
    window->photo_button()->click();
    window->confirm_button()->click();
  });
  grid->BModificareClick();
  ASSERT_TRUE(PhotoOf(3));

  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    EXPECT_TRUE(window->showing_stored_photo());
    ASSERT_TRUE(window->remove_photo_action()->isEnabled());
    window->remove_photo_action()->trigger();
    EXPECT_FALSE(window->remove_photo_action()->isEnabled());
    window->abandon_button()->click();  // abandoned: the photo stays
  });
  grid->BModificareClick();
  EXPECT_TRUE(PhotoOf(3));

  testing::AnswerNext<EmployeeWindow>([&](EmployeeWindow* window) {
    window->remove_photo_action()->trigger();
    window->confirm_button()->click();
  });
  grid->BModificareClick();
  EXPECT_FALSE(PhotoOf(3));
}

}  // namespace
}  // namespace traveno::personnel_ui
