// A fixture for the windows of the working month: a fresh data folder whose
// company "TEST" is chosen on January 2003, with a scripted prompter whose
// earlier messages are cleared.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/prompter.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "params/session.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"

namespace traveno::testing {

class TestMonthFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Store(folder_.path()).EnsureRegisterTables();
    store_ = OpenDatabases(folder_.path());
    session_ = std::make_unique<params::Session>(*store_);
    ASSERT_TRUE(params::ChooseCompanyAndMonth(*session_, "TEST", Date::FromYmd(2003, 1, 1),
                                              prompter_, progress_));
    prompter_.messages.clear();
  }

  TempFolder folder_;
  ScriptedPrompter prompter_;
  SilentProgress progress_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<params::Session> session_;
};

}  // namespace traveno::testing
