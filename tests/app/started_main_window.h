// The main window started on a fresh data folder as after a first start: the
// first choice is answered with the company TEST and its first month,
// January 2003.
#pragma once

#include <gtest/gtest.h>

#include <QPushButton>
#include <memory>

#include "app/main_window.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/date_editors.h"

namespace traveno::testing {

class StartedMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app::MainWindowOptions options;
    options.data_folder = folder_.path();
    options.prompter = &prompter_;
    options.terminate = [](int) {};
    options.open_help = [] {};
    window_ = std::make_unique<app::MainWindow>(std::move(options));
    AnswerNextModal([](QWidget* choice) {
      AnswerNextModal([](QWidget* first_month) {
        first_month->findChild<ui::MonthYearEdit*>("EMonth")->SetMonth(Date::FromYmd(2003, 1, 1));
        first_month->findChild<QPushButton*>("BConfirmare")->click();
      });
      choice->findChild<QPushButton*>("BAlege")->click();
    });
    window_->show();
    ASSERT_TRUE(window_->FinishStart());
  }
  void TearDown() override {
    if (window_) window_->close();
  }

  app::MainWindow& window() { return *window_; }

  TempFolder folder_;
  ScriptedPrompter prompter_;
  std::unique_ptr<app::MainWindow> window_;
};

}  // namespace traveno::testing
