// A data folder with a register, a scripted prompter and helpers to open a
// company on a month, shared by the tests of the parameters and the cycle.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/prompter.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "params/session.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace traveno::params::testing {

inline Date D(int year, int month, int day = 1) { return Date::FromYmd(year, month, day); }

using traveno::testing::ScriptedPrompter;

class StoreFixture : public ::testing::Test {
 protected:
  StoreFixture() {
    store_ = std::make_unique<Store>(folder_.path());
    store_->EnsureRegisterTables();
    session_ = std::make_unique<Session>(*store_);
    // The services' questions are answered Yes and the typed confirmation is
    // given, unless a test scripts otherwise.
    prompter_.default_yes = true;
    prompter_.default_typed = "CONFIRM";
  }

  // Adds a company to the register.
  void AddCompany(const std::string& code) {
    CompanyInput input;
    input.row.Cod = code;
    input.row.Denumire = "FIRMA " + code;
    ASSERT_EQ(params::AddCompany(*store_, input, prompter_), AddCompanyResult::kAdded);
  }

  // Adds the company when needed and chooses it on `month` (its first month
  // when it is new).
  void Open(const std::string& code, Date month) {
    if (!store_->FindCompany(code)) AddCompany(code);
    ASSERT_TRUE(ChooseCompanyAndMonth(*session_, code, month, prompter_, progress_));
  }

  // Adds an employee row to the working month and returns it as stored.
  PersRow AddEmployee(PersRow row) {
    row.LUNA = session_->working_month();
    if (row.TIP.empty()) row.TIP = "1";
    row.Nr = RowWriter<PersRow>(db(), "Pers").Insert(row);
    return row;
  }

  void AddDependant(int iid, const std::string& code) {
    db().Run(
        "INSERT INTO firma.Pint (Luna, IID, Nume, CODNUMPERS, Coef) VALUES (?, ?, 'X', ?, 0.5)",
        session_->working_month(), iid, code);
  }

  std::vector<PersRow> Employees(Date month) {
    return QueryRows<PersRow>(db(), "SELECT * FROM firma.Pers WHERE LUNA = ? ORDER BY IID", month);
  }

  // Every row of every table of the register and the open company, as text.
  std::string Snapshot() {
    std::string text;
    for (const char* table : {"main.Firme", "main.Para", "main.Impo", "main.Impo_an", "firma.Pers",
                              "firma.Pint", "firma.ParF", "firma.Poze"}) {
      Statement statement = db().Prepare(std::string("SELECT * FROM ") + table + " ORDER BY 1");
      text += table;
      text += "\n";
      while (statement.Step()) {
        for (int column = 0; column < statement.ColumnCount(); ++column) {
          text += statement.IsNull(column) ? "NULL" : statement.Text(column);
          text += "|";
        }
        text += "\n";
      }
    }
    return text;
  }

  Database& db() { return store_->db(); }

  traveno::testing::TempFolder folder_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<Session> session_;
  ScriptedPrompter prompter_;
  SilentProgress progress_;
};

}  // namespace traveno::params::testing
