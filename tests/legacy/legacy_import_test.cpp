#include "legacy/legacy_import.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/row_io.h"
#include "core/store/schema_upgrades.h"
#include "core/store/store.h"
#include "legacy/paradox_table.h"
#include "tests/legacy/legacy_fixture.h"
#include "tests/support/data_snapshot.h"
#include "tests/support/temp_folder.h"

namespace traveno::legacy {
namespace {

namespace fs = std::filesystem;
using testing::D;

class LegacyImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Store store(data_.path());
    store.EnsureRegisterTables();
  }

  LegacyImportReport Import(bool replace = false) {
    LegacyImportOptions options;
    options.source = source_.path();
    options.replace = replace;
    SilentProgress progress;
    return ImportLegacyData(data_.path(), options, progress);
  }

  template <typename Row>
  std::vector<Row> Rows(const std::string& code, const std::string& table) {
    Store store(data_.path());
    store.OpenCompany(code);
    return QueryRows<Row>(store.db(), "SELECT * FROM firma." + table + " ORDER BY Nr");
  }

  std::optional<FirmeRow> Company(const std::string& code) {
    Store store(data_.path());
    return store.FindCompany(code);
  }

  testing::TempFolder source_;
  testing::TempFolder data_;
};

const CompanyImport& Only(const LegacyImportReport& report, const std::string& code) {
  for (const CompanyImport& company : report.companies) {
    if (company.code == code) return company;
  }
  throw std::runtime_error("no company " + code);
}

// One company per layout the upgrades know (the step that first changed it;
// 11 is the current layout), each imported and checked field by field.
TEST_F(LegacyImportTest, EveryOlderLayoutReachesTheCurrentOneWithTheUpgradesValues) {
  for (int step : {1, 2, 3, 4, 5, 6, 8, 9, 10, 11}) {
    SCOPED_TRACE("layout before upgrade " + std::to_string(step));
    const std::string code = "L" + std::to_string(step);
    testing::WriteLegacyRegister(source_.path(), {{code}}, false);
    testing::WriteLegacyCompany(source_.path() / code, step);

    const LegacyImportReport report = Import();

    const CompanyImport& company = Only(report, code);
    ASSERT_EQ(company.status, CompanyStatus::kImported) << company.message;
    const auto firme = Company(code);
    ASSERT_TRUE(firme);
    EXPECT_EQ(firme->Denumire, "Fabrica de Încălţăminte");
    EXPECT_EQ(firme->Localitate, "Piteşti");

    const auto pers = Rows<PersRow>(code, "Pers");
    ASSERT_EQ(pers.size(), 3u);
    const PersRow& march = pers[0];
    const PersRow& partial = pers[1];
    const PersRow& february = pers[2];
    EXPECT_EQ(march.Nr, 5);
    EXPECT_EQ(partial.Nr, 9);
    EXPECT_EQ(february.Nr, 12);
    EXPECT_EQ(march.NUME, "Ştefănescu");
    EXPECT_EQ(march.PRENUME, testing::kFullLengthPrenume);  // a full field of Romanian letters
    EXPECT_EQ(march.CODNUMPERS, "2750315123456");
    EXPECT_EQ(march.LUNA, D(2002, 3));
    EXPECT_EQ(march.DATA_ANG, D(2001, 3, 15));
    EXPECT_EQ(march.DATA_LICH, EmptyDate());  // blank date: still employed
    EXPECT_EQ(march.ZILE_CM, 2);
    EXPECT_EQ(march.MARCA, 7);
    EXPECT_EQ(march.SALINC, 4000000);
    EXPECT_EQ(march.Depart, "CENTRAL");

    // 5.2.0: the other bonus becomes the first named one, the regularisation
    // the gross difference.
    EXPECT_EQ(march.Spor1, step <= 1 ? 10 : 3);
    EXPECT_EQ(march.ALTESPORP, step <= 1 ? 0 : 10);
    EXPECT_EQ(march.Dif_Brut, step <= 1 ? 5000 : 7);
    EXPECT_EQ(march.fisa_regul, step <= 1 ? "0" : "1");
    EXPECT_EQ(partial.fisa_regul, step <= 1 ? "3" : "1");
    EXPECT_EQ(march.fisa_rectif, step <= 1 ? "0" : "1");
    EXPECT_EQ(march.EMAIL, step <= 1 ? "" : "a@b.ro");
    // 5.2.3 and 5.4.0.3: the coefficient, and the partial contract's hours.
    EXPECT_EQ(march.CoefInd1, 1.5);
    EXPECT_EQ(partial.Ore_Zi, step <= 8 ? 4 : 6);
    EXPECT_EQ(partial.CoefInd, step <= 8 ? 0 : 4);
    EXPECT_EQ(partial.CoefInd1, step <= 8 ? 0 : 4);
    EXPECT_EQ(march.ProcImpo, step <= 8 ? 100 : 50);
    EXPECT_EQ(march.SumeExcept, step <= 3 ? 0 : 11);
    EXPECT_EQ(march.Brut1, step <= 4 ? 4100000 : 1234);
    EXPECT_EQ(march.vals1, step <= 4 ? 0 : 5);
    // 5.2.8.5: the month's professional expenses; February has none.
    EXPECT_EQ(march.Ch_Prof, step <= 5 ? 255000 : 1);
    EXPECT_EQ(february.Ch_Prof, step <= 5 ? 0 : 1);
    EXPECT_EQ(march.BifaSom, step <= 5 ? 0 : 1);
    EXPECT_EQ(march.PlatitOra, step <= 6 ? 0 : 1);
    EXPECT_EQ(march.Pensionar, step <= 9 ? 0 : 1);
    EXPECT_EQ(march.NORMA, step <= 10 ? 8 : 6);

    const auto parf = Rows<ParFRow>(code, "ParF");
    auto value_of = [&](Date month, const std::string& name) -> std::optional<ParFRow> {
      for (const ParFRow& row : parf) {
        if (row.Luna == month && row.Den == name) return row;
      }
      return std::nullopt;
    };
    EXPECT_EQ(value_of(D(2002, 2), "Deschisa")->Val, step <= 5 ? 1 : 0);
    EXPECT_EQ(value_of(D(2002, 3), "Deschisa")->Val, 0);
    EXPECT_EQ(value_of(D(2002, 3), "DEP_CENTRAL")->Grupa, "Sediu");
    EXPECT_EQ(value_of(D(2002, 2), "Spor1_Den").has_value(), step <= 1);
    if (step <= 1) EXPECT_EQ(value_of(D(2002, 3), "Spor1_Den")->Grupa, "Procentual");
    EXPECT_EQ(value_of(D(2002, 3), "Ex_Pensie").has_value(), step <= 3);

    // The dependants are linked to their employee; the one without an
    // employee in its month is left out and counted.
    const auto pint = Rows<PintRow>(code, "Pint");
    ASSERT_EQ(pint.size(), 1u);
    EXPECT_EQ(pint[0].Nr, 3);
    EXPECT_EQ(pint[0].AiPers, 5);
    EXPECT_EQ(pint[0].Nume, "Ştefănescu");

    const auto poze = Rows<PozeRow>(code, "Poze");
    ASSERT_EQ(poze.size(), 2u);
    EXPECT_EQ(poze[0].Poza, testing::Picture(5000, 1));
    EXPECT_EQ(poze[1].Poza, testing::Picture(60, 9));

    for (const TableCount& count : company.tables) {
      EXPECT_EQ(count.read, count.written - count.added + count.left_out) << count.table;
      EXPECT_EQ(count.left_out, count.table == "Pint.db" ? 1 : 0) << count.table;
    }
    fs::remove_all(source_.path() / code);
  }
}

TEST_F(LegacyImportTest, LinkedDependantsKeepTheirLinkAndNothingIsLeftOut) {
  testing::WriteLegacyRegister(source_.path(), {{"VECHE"}}, true);
  testing::WriteLegacyCompany(source_.path() / "VECHE", 11);

  const LegacyImportReport report = Import();

  ASSERT_EQ(Only(report, "VECHE").status, CompanyStatus::kImported);
  const auto pint = Rows<PintRow>("VECHE", "Pint");
  ASSERT_EQ(pint.size(), 2u);
  EXPECT_EQ(pint[0].AiPers, 0);  // as stored
}

// Writes little-endian bytes into a file at an offset.
void Patch(const fs::path& file, std::streamoff offset, std::uint32_t value, int bytes) {
  std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
  out.seekp(offset);
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

// The size of a table's header, where its first data block starts.
std::streamoff HeaderSize(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(2);
  const int low = in.get();
  return low | in.get() << 8;
}

// Tables whose header or block chain is damaged, and one cut short: the
// company is named and nothing of it written, while the next company is
// imported. Several of these made the reading library loop for ever (a
// password mark, a block linked to itself or past the end of the file).
TEST_F(LegacyImportTest, ABrokenTableRefusesItsCompanyByNameAndTheOthersGoOn) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> damage;
    const char* reason;  // how the message ends: the fault in the program's words
  };
  const char* kChainBroken =
      "pers.db nu poate fi citit: legaturile dintre blocurile de date sunt deteriorate";
  const Case kCases[] = {
      {"file type", [](const fs::path& file) { Patch(file, 4, 0x77, 1); },
       "pers.db nu poate fi citit: antetul este deteriorat"},
      {"cut short", [](const fs::path& file) { fs::resize_file(file, fs::file_size(file) - 1000); },
       "pers.db nu poate fi citit: fisierul este trunchiat"},
      {"a password mark", [](const fs::path& file) { Patch(file, 39, 0x12, 1); },
       "pers.db nu poate fi citit: tabelul este protejat prin parola"},
      {"block size", [](const fs::path& file) { Patch(file, 5, 0x40, 1); },
       "pers.db nu poate fi citit: antetul este deteriorat"},
      {"record size", [](const fs::path& file) { Patch(file, 0, 300, 2); },
       "pers.db nu poate fi citit: antetul este deteriorat"},
      {"field size", [](const fs::path& file) { Patch(file, 0x78 + 3, 8, 1); },
       "pers.db nu poate fi citit: antetul este deteriorat"},
      {"record count", [](const fs::path& file) { Patch(file, 6, 4, 4); },
       "pers.db nu poate fi citit: numarul inregistrarilor din antet nu corespunde blocurilor de "
       "date"},
      {"a block linked to itself",
       [](const fs::path& file) { Patch(file, HeaderSize(file), 1, 2); }, kChainBroken},
      {"a link past the last block",
       [](const fs::path& file) { Patch(file, HeaderSize(file), 40, 2); }, kChainBroken},
      {"first block", [](const fs::path& file) { Patch(file, 14, 2, 2); }, kChainBroken},
      {"a back link", [](const fs::path& file) { Patch(file, HeaderSize(file) + 2, 1, 2); },
       kChainBroken},
      {"a block's record count past its size",
       [](const fs::path& file) { Patch(file, HeaderSize(file) + 4, 0x7000, 2); }, kChainBroken},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder data;
    { Store(data.path()).EnsureRegisterTables(); }
    testing::WriteLegacyRegister(source_.path(), {{"ARICI"}, {"BUFNITA"}}, false);
    testing::WriteLegacyCompany(source_.path() / "ARICI", 1);
    testing::WriteLegacyCompany(source_.path() / "BUFNITA", 1);
    c.damage(source_.path() / "ARICI" / "pers.db");

    LegacyImportOptions options;
    options.source = source_.path();
    SilentProgress progress;
    const LegacyImportReport report = ImportLegacyData(data.path(), options, progress);

    const CompanyImport& broken = Only(report, "ARICI");
    EXPECT_EQ(broken.status, CompanyStatus::kFailed);
    EXPECT_NE(broken.message.find("ARICI"), std::string::npos) << broken.message;
    EXPECT_TRUE(broken.message.ends_with(c.reason)) << broken.message;
    EXPECT_FALSE(report.Complete());
    Store store(data.path());
    EXPECT_FALSE(store.FindCompany("ARICI"));
    EXPECT_FALSE(fs::exists(data.path() / "ARICI"));
    EXPECT_EQ(Only(report, "BUFNITA").status, CompanyStatus::kImported);
    EXPECT_TRUE(store.FindCompany("BUFNITA"));
  }
}

// Old tables may hold values the program never stores (a dependant's quality
// 7): their company is refused by name with the value's message, as any
// service refuses it, and nothing of it is written.
TEST_F(LegacyImportTest, AValuePastItsRangeRefusesItsCompany) {
  testing::WriteLegacyRegister(source_.path(), {{"ARICI"}, {"BUFNITA"}}, false);
  testing::WriteLegacyCompany(source_.path() / "ARICI", 10);
  testing::WriteLegacyCompany(source_.path() / "BUFNITA", 10);
  const auto pint_fields = testing::ParadoxFieldsOf(PintTable().fields);
  testing::WriteParadoxTable(source_.path() / "ARICI" / "Pint.db", pint_fields,
                             {testing::RecordOf(pint_fields, {{"Nr", testing::I(3)},
                                                              {"Luna", testing::D(2002, 3)},
                                                              {"IID", testing::I(1)},
                                                              {"Nume", testing::T("POPA")},
                                                              {"Calitate", testing::I(7)}})});

  const LegacyImportReport report = Import();

  const CompanyImport& refused = Only(report, "ARICI");
  EXPECT_EQ(refused.status, CompanyStatus::kFailed);
  EXPECT_NE(refused.message.find("ARICI"), std::string::npos) << refused.message;
  EXPECT_NE(refused.message.find("Calitate"), std::string::npos) << refused.message;
  Store store(data_.path());
  EXPECT_FALSE(store.FindCompany("ARICI"));
  EXPECT_FALSE(fs::exists(data_.path() / "ARICI"));
  EXPECT_EQ(Only(report, "BUFNITA").status, CompanyStatus::kImported);
}

TEST_F(LegacyImportTest, ACompanyInTheRegisterIsReplacedOnlyWhenAsked) {
  testing::WriteLegacyRegister(source_.path(), {{"VECHE"}}, false);
  testing::WriteLegacyCompany(source_.path() / "VECHE", 6);
  ASSERT_EQ(Only(Import(), "VECHE").status, CompanyStatus::kImported);
  {
    Store store(data_.path());
    store.OpenCompany("VECHE");
    store.db().Run("UPDATE firma.Pers SET SALINC = 1 WHERE Nr = 5");
  }

  EXPECT_EQ(Only(Import(), "VECHE").status, CompanyStatus::kExists);
  EXPECT_EQ(Rows<PersRow>("VECHE", "Pers")[0].SALINC, 1);

  const LegacyImportReport replaced = Import(/*replace=*/true);
  ASSERT_EQ(Only(replaced, "VECHE").status, CompanyStatus::kImported);
  const auto pers = Rows<PersRow>("VECHE", "Pers");
  ASSERT_EQ(pers.size(), 3u);
  EXPECT_EQ(pers[0].SALINC, 4000000);
  Store store(data_.path());
  EXPECT_EQ(store.Companies().size(), 2u);  // TEST and VECHE, no second row
}

// A folder of the data folder that holds a company's data without its
// register row (copied from another computer, say) is data as well: it is
// replaced only when asked.
TEST_F(LegacyImportTest, ACompanysDataOutsideTheRegisterIsReplacedOnlyWhenAsked) {
  testing::WriteLegacyRegister(source_.path(), {{"VECHE"}}, false);
  testing::WriteLegacyCompany(source_.path() / "VECHE", 6);
  ASSERT_EQ(Only(Import(), "VECHE").status, CompanyStatus::kImported);
  {
    Store store(data_.path());
    store.OpenCompany("VECHE");
    store.db().Run("UPDATE firma.Pers SET SALINC = 1 WHERE Nr = 5");
    store.CloseCompany();
    store.db().Run("DELETE FROM Firme WHERE Cod = 'VECHE'");
  }

  const LegacyImportReport kept = Import();
  EXPECT_EQ(Only(kept, "VECHE").status, CompanyStatus::kExists);
  EXPECT_FALSE(kept.Complete());
  EXPECT_FALSE(Company("VECHE"));
  EXPECT_EQ(Rows<PersRow>("VECHE", "Pers")[0].SALINC, 1);

  ASSERT_EQ(Only(Import(/*replace=*/true), "VECHE").status, CompanyStatus::kImported);
  EXPECT_EQ(Rows<PersRow>("VECHE", "Pers")[0].SALINC, 4000000);
  EXPECT_TRUE(Company("VECHE"));
}

// What an interrupted import (or company creation) leaves in a company's
// folder holds no row: it is no data, and the next import fills it without
// being asked to replace anything.
TEST_F(LegacyImportTest, WhatAnInterruptedImportLeftIsFilled) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> leave;
  };
  const Case kCases[] = {
      {"a folder alone", [](const fs::path&) {}},
      {"a database without tables",
       [](const fs::path& folder) { std::ofstream(folder / kCompanyDatabaseName).close(); }},
      {"empty tables of the layout before",
       [this](const fs::path& folder) {
         Store store(data_.path());
         ASSERT_TRUE(store.CreateCompanyTables(folder.filename().string()));
         Database company(folder / kCompanyDatabaseName, false);
         SetLayoutVersion(company, 1);
       }},
  };
  testing::WriteLegacyRegister(source_.path(), {{"VECHE"}}, false);
  testing::WriteLegacyCompany(source_.path() / "VECHE", 11);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(data_.path() / "VECHE");
    fs::create_directories(data_.path() / "VECHE");
    c.leave(data_.path() / "VECHE");

    const LegacyImportReport report = Import();

    const CompanyImport& company = Only(report, "VECHE");
    ASSERT_EQ(company.status, CompanyStatus::kImported) << company.message;
    EXPECT_EQ(Rows<PersRow>("VECHE", "Pers").size(), 3u);
    Store store(data_.path());
    store.db().Run("DELETE FROM Firme WHERE Cod = 'VECHE'");
  }
}

// A run repeated after a complete one (or after one interrupted once it had
// written the company) finds every company as it would write it: the import
// is complete, and nothing changes.
TEST_F(LegacyImportTest, ARepeatedImportFindsItsCompaniesAlreadyThere) {
  testing::WriteLegacyRegister(source_.path(), {{"ARICI"}, {"BUFNITA"}}, false);
  testing::WriteLegacyCompany(source_.path() / "ARICI", 1);
  testing::WriteLegacyCompany(source_.path() / "BUFNITA", 11);
  ASSERT_TRUE(Import().Complete());
  const std::string imported = testing::DataSnapshot(data_.path());

  const LegacyImportReport again = Import();

  EXPECT_TRUE(again.Complete());
  for (const char* code : {"ARICI", "BUFNITA"}) {
    EXPECT_EQ(Only(again, code).status, CompanyStatus::kAlreadyImported) << code;
    EXPECT_EQ(Only(again, code).message,
              "Firma " + std::string(code) + " a fost preluata deja, cu aceleasi date.");
  }
  EXPECT_EQ(testing::DataSnapshot(data_.path()), imported);
}

// The layouts before 5.2.0 gave every year of an employee's row without annual
// brackets the default table; later layouts had them already.
TEST_F(LegacyImportTest, AnOlderLayoutGetsTheDefaultAnnualBracketsOfItsYears) {
  for (const int step : {1, 2}) {
    SCOPED_TRACE("layout before upgrade " + std::to_string(step));
    testing::TempFolder data;
    { Store(data.path()).EnsureRegisterTables(); }
    testing::WriteLegacyRegister(source_.path(), {{"VECHE"}}, false);
    // The register's annual brackets hold 2001 only; the employees are of 2002.
    const auto impo_fields = testing::ParadoxFieldsOf(ImpoTable().fields);
    testing::WriteParadoxTable(source_.path() / "Impo_an.db", impo_fields,
                               {testing::RecordOf(impo_fields, {{"Nr", testing::I(1)},
                                                                {"Luna", D(2001, 1)},
                                                                {"V_Proc", testing::N(18)}})});
    testing::WriteLegacyCompany(source_.path() / "VECHE", step);
    LegacyImportOptions options;
    options.source = source_.path();
    SilentProgress progress;

    const LegacyImportReport report = ImportLegacyData(data.path(), options, progress);

    const CompanyImport& company = Only(report, "VECHE");
    ASSERT_EQ(company.status, CompanyStatus::kImported) << company.message;
    Store store(data.path());
    const auto brackets = QueryRows<ImpoRow>(
        store.db(), "SELECT * FROM Impo_an WHERE Luna = ? ORDER BY Nr", D(2002, 1));
    ASSERT_EQ(brackets.size(), step == 1 ? 5u : 0u);
    if (step == 1) {
      EXPECT_EQ(brackets[1].P_Venit, 25200000);
      EXPECT_EQ(brackets[1].V_Const, 4536000);
      EXPECT_EQ(brackets[4].V_Proc, 40);
      const auto lines = ReportLines(report);
      EXPECT_NE(std::find(lines.begin(), lines.end(),
                          "  Impo_an.db: citite 0, scrise 5, adaugate de upgrade 5"),
                lines.end());
    }
    fs::remove_all(source_.path() / "VECHE");
  }
}

// The dependants are kept by every layout, the photos from 5.2.6 on: a folder
// of such a layout without them is damaged, and its company is refused by
// name rather than imported without its dependants or photos.
TEST_F(LegacyImportTest, ATableTheLayoutHasAndTheFolderLacksRefusesItsCompany) {
  struct Case {
    int step;
    const char* missing;
    bool refused;
  };
  const Case kCases[] = {
      {11, "Pint.db", true}, {1, "Pint.db", true},  {11, "poze.db", true},
      {4, "poze.db", true},  {3, "poze.db", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.missing) + " of the layout before " + std::to_string(c.step));
    testing::TempFolder data;
    { Store(data.path()).EnsureRegisterTables(); }
    testing::WriteLegacyRegister(source_.path(), {{"VECHE"}, {"ZEBRA"}}, false);
    testing::WriteLegacyCompany(source_.path() / "VECHE", c.step);
    testing::WriteLegacyCompany(source_.path() / "ZEBRA", c.step);
    fs::remove(source_.path() / "VECHE" / c.missing);
    fs::remove(source_.path() / "VECHE" / "poze.mb");
    LegacyImportOptions options;
    options.source = source_.path();
    SilentProgress progress;

    const LegacyImportReport report = ImportLegacyData(data.path(), options, progress);

    const CompanyImport& company = Only(report, "VECHE");
    if (c.refused) {
      EXPECT_EQ(company.status, CompanyStatus::kFailed);
      EXPECT_TRUE(company.message.starts_with("Firma VECHE nu a fost preluata: Directorul "))
          << company.message;
      EXPECT_TRUE(company.message.ends_with(" nu contine " + std::string(c.missing) + " !"))
          << company.message;
      EXPECT_FALSE(Store(data.path()).FindCompany("VECHE"));
    } else {
      EXPECT_EQ(company.status, CompanyStatus::kImported) << company.message;
    }
    EXPECT_EQ(Only(report, "ZEBRA").status, CompanyStatus::kImported);
    fs::remove_all(source_.path() / "VECHE");
    fs::remove_all(source_.path() / "ZEBRA");
  }
}

TEST_F(LegacyImportTest, MonthsTheRegisterHoldsKeepTheirParameters) {
  {
    Store store(data_.path());
    store.db().Run("INSERT INTO Para (Luna, Den, Val) VALUES (?, 'Pensie', 9.5)", D(2002, 3));
  }
  testing::WriteLegacyRegister(source_.path(), {}, false);

  const LegacyImportReport report = Import();

  ASSERT_EQ(report.register_tables.size(), 3u);
  EXPECT_EQ(report.register_tables[0].read, 2);
  EXPECT_EQ(report.register_tables[0].left_out, 2);
  EXPECT_EQ(report.register_tables[1].written, 1);  // Impo of a month not held
  Store store(data_.path());
  EXPECT_EQ(store.db().QueryInt("SELECT count(*) FROM Para WHERE Luna = '2002-03-01'"), 1);
}

TEST_F(LegacyImportTest, AFolderWithoutARegisterIsRefused) {
  EXPECT_THROW(
      {
        try {
          Import();
        } catch (const Error& error) {
          EXPECT_STREQ(error.what(), kNoLegacyRegister);
          throw;
        }
      },
      Error);
}

// The tables of an earlier version are often a copy the user may only read
// (a CD, a shared folder): reading them asks for no write access.
TEST_F(LegacyImportTest, ATableTheUserMayOnlyReadIsRead) {
  testing::WriteLegacyRegister(source_.path(), {{"ARICI"}, {"BUFNITA"}}, false);
  const fs::path register_file = source_.path() / "Firme.DB";
  const fs::perms read = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  const fs::perms enter = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  fs::permissions(register_file, read);
  fs::permissions(source_.path(), read | enter);
  EXPECT_EXIT(
      {
        // The superuser may write anywhere: the table is read as an ordinary user.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(2);
        try {
          ParadoxTable table(register_file);
          std::vector<ParadoxValue> values;
          table.ReadRecord(1, values);
          std::_Exit(table.record_count() == 2 ? 0 : 3);
        } catch (const Error& error) {
          std::fputs(error.what(), stderr);
          std::_Exit(1);
        }
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace traveno::legacy
