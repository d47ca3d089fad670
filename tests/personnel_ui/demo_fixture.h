// The personnel windows over the demonstration company (DEMO, January 2003,
// two departments, twenty employees), in a fresh data folder, with a
// scripted prompter and helpers to find, read and type into grid cells.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <optional>
#include <string>

#include "core/numbers.h"
#include "core/prompter.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "params/session.h"
#include "personnel/demo_company.h"
#include "personnel/grid_line.h"
#include "personnel/ui/pay_grid_model.h"
#include "personnel/ui/pay_grid_window.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/data_grid.h"

namespace traveno::personnel_ui::testing {

using traveno::testing::AnswerNextModal;

// Answers the next modal window of type `Window` that opens, passing over
// the others (a window still closing, the one that opened it).
template <typename Window>
void AnswerNext(std::function<void(Window*)> answer) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, answer = std::move(answer)] {
    auto* modal = qobject_cast<Window*>(QApplication::activeModalWidget());
    if (modal == nullptr || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    answer(modal);
  });
  timer->start();
}

class DemoFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Store(folder_.path()).EnsureRegisterTables();
    store_ = OpenDatabases(folder_.path());
    session_ = std::make_unique<params::Session>(*store_);
    ASSERT_EQ(personnel::CreateDemoCompany(*session_, prompter_, progress_), 20);
    prompter_.messages.clear();
  }

  // The grid on the whole company (or a department), shown and opened.
  std::unique_ptr<PayGridWindow> OpenGrid(std::optional<std::string> department = {}) {
    auto window = std::make_unique<PayGridWindow>(*session_, prompter_, progress_, department);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }

  // The grid cell of the employee named `nume` on `page`, by field.
  static QModelIndex Cell(PayGridWindow& window, int page, const std::string& nume,
                          std::string_view field) {
    PayGridModel* model = window.model(page);
    for (int row = 0; row < model->rowCount(); ++row) {
      if (model->LineAt(row)->NUME == nume) {
        return window.grid(page)->filter_model()->mapFromSource(
            model->index(row, model->ColumnOf(field)));
      }
    }
    ADD_FAILURE() << "no line " << nume;
    return {};
  }
  static const PersRow& LineOf(PayGridWindow& window, int page, const std::string& nume) {
    const QModelIndex cell = Cell(window, page, nume, "NUME");
    return *window.model(page)->LineAt(window.grid(page)->filter_model()->mapToSource(cell).row());
  }
  static void Select(PayGridWindow& window, int page, const std::string& nume,
                     std::string_view field = "NUME") {
    window.pages()->setCurrentIndex(page);
    window.grid(page)->setCurrentIndex(Cell(window, page, nume, field));
  }

  // Types `text` into a cell as the user does: the editor opens, the text
  // replaces the cell's and Enter posts it. False when the cell takes no
  // typing.
  static bool TypeInto(PayGridWindow& window, int page, const std::string& nume,
                       std::string_view field, const QString& text) {
    Select(window, page, nume, field);
    ui::DataGrid* grid = window.grid(page);
    grid->setFocus();
    if (text.isEmpty()) {
      QTest::keyClick(grid, Qt::Key_F2);
    } else {
      QTest::keyClick(grid, text[0].toLatin1());
    }
    auto* editor = qobject_cast<QLineEdit*>(grid->window()->focusWidget());
    if (editor == nullptr || editor == static_cast<QWidget*>(grid)) return false;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the editor commits on the next turn of the loop
    return true;
  }

  PersRow Stored(int iid) { return *personnel::FindLineOfPerson(*session_, iid); }
  // The month's net to pay summed afresh from the stored lines.
  long double StoredRestDePlata() {
    long double sum = 0;
    for (const PersRow& line : personnel::MonthLines(*session_)) sum += line.RESTPL;
    return sum;
  }
  static QString Shown(long double value) {
    return QString::fromStdString(FormatN(value, 0) + " ");
  }

  traveno::testing::TempFolder folder_;
  traveno::testing::ScriptedPrompter prompter_;
  SilentProgress progress_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<params::Session> session_;
};

}  // namespace traveno::personnel_ui::testing
