// A company opened on March 2003 with helpers to add rows as the monthly
// declarations read them, shared by the tests of the monthly declarations.
#pragma once

#include <string>

#include "core/store/row_io.h"
#include "params/parameter_store.h"
#include "tests/personnel/services_fixture.h"

namespace traveno::declarations::testing {

using params::testing::D;

class MonthlyFixture : public personnel::testing::ServicesFixture {
 protected:
  // A stored row as a calculation would leave it, without calculating.
  PersRow Row(const std::string& nume, const std::string& tip, double brut) {
    PersRow row{};
    row.NUME = nume;
    row.PRENUME = "ION";
    row.TIP = tip;
    row.CODNUMPERS = "1700101400011";
    row.Depart = "CENTRAL";
    row.NORMA = 8;
    row.BRUT = brut;
    row.TIMP = 176;
    return row;
  }

  PersRow Add(PersRow row) { return AddEmployee(std::move(row)); }

  void SetCompanyText(const std::string& field, const std::string& value) {
    db().Run("UPDATE main.Firme SET " + QuoteIdentifier(field) + " = ? WHERE Cod = 'FIRMA'", value);
  }
  void SetNaturalPerson(const std::string& code) {
    db().Run("UPDATE main.Firme SET TipAngaj = 2, CodFiscal = ? WHERE Cod = 'FIRMA'", code);
  }

  // A company parameter of the working month, written and reloaded.
  void SetCompanyParameter(const std::string& name, double value) {
    params::WriteCompany(db(), session_->working_month(), name, value);
    session_->LoadParameters();
  }
  // A value the program's own paths refuse, as another program or an earlier
  // version may have stored it in the month's row.
  void StoreCompanyParameterAsFound(const std::string& name, double value) {
    db().Run("UPDATE firma.ParF SET Val = ? WHERE Luna = ? AND Den = ?", value,
             session_->working_month(), name);
    ASSERT_EQ(db().Changes(), 1) << name;
    session_->LoadParameters();
  }
  void SetGeneralParameter(const std::string& name, double value) {
    params::WriteGeneral(db(), session_->working_month(), name, value);
    session_->LoadParameters();
  }
};

}  // namespace traveno::declarations::testing
