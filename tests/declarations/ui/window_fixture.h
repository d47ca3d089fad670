// The FIXT company of 2002 chosen on December 2002, for the windows of the
// fiscal sheets and the e-filing files, with a scripted prompter and a
// progress reporter that keeps the wait texts it was shown.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/prompter.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "params/session.h"
#include "tests/declarations/year_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"

namespace traveno::declarations::testing {

class RecordingProgress final : public ProgressReporter {
 public:
  void BeginWait(const std::string& title, const std::string& text) override {
    waits.push_back(title + " / " + text);
  }
  void EndWait() override {}
  void BeginProgress(const std::string&, int) override {}
  void Advance(int) override {}
  void EndProgress() override {}

  std::vector<std::string> waits;
};

class FixtureWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildFixtureCompany(data(), 2002);
    store_ = OpenDatabases(data());
    session_ = std::make_unique<params::Session>(*store_);
    ASSERT_TRUE(params::ChooseCompanyAndMonth(*session_, kFixtureCompany,
                                              Date::FromYmd(2002, 12, 1), prompter_, progress_));
    prompter_.messages.clear();
    progress_.waits.clear();
  }

  std::filesystem::path data() const { return folder_.path() / "data"; }

  ::traveno::testing::TempFolder folder_;
  ::traveno::testing::ScriptedPrompter prompter_;
  RecordingProgress progress_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<params::Session> session_;
};

}  // namespace traveno::declarations::testing
