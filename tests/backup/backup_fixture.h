// What the backup tests share: a data folder with several companies and
// months made through the program's services, the program's view of a data
// folder as text, and archives edited as a damaged or lying one would be.
#pragma once

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/data_folder.h"
#include "core/settings.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "params/month_cycle.h"
#include "params/session.h"
#include "personnel/pay_grid.h"
#include "tests/support/data_snapshot.h"
#include "tests/support/scripted_prompter.h"

namespace traveno::backup::testing {

namespace fs = std::filesystem;
using traveno::testing::DataSnapshot;
using traveno::testing::ScriptedPrompter;

inline Date D(int year, int month) { return Date::FromYmd(year, month, 1); }

inline std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteText(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
}

// Every table of every database and the settings file of a data folder.
inline std::string FolderState(const fs::path& folder) {
  return DataSnapshot(folder) + "== settings\n" + FileText(folder / kSettingsFileName);
}

// A company on its first month with `employees` lines (every second one with
// a photo, the first with a dependant), calculated, then passed on to
// `months` months in all.
inline void AddCompanyWithMonths(Store& store, params::Session& session, const std::string& code,
                                 int employees, int months) {
  ScriptedPrompter prompter;
  prompter.default_yes = true;
  prompter.default_typed = "CONFIRM";
  SilentProgress progress;
  params::CompanyInput input;
  input.row.Cod = code;
  input.row.Denumire = "FIRMA " + code;
  input.footer = {"       Multumim, " + code, "Randul doi " + code};
  ASSERT_EQ(params::AddCompany(store, input, prompter), params::AddCompanyResult::kAdded);
  ASSERT_TRUE(params::ChooseCompanyAndMonth(session, code, D(2003, 1), prompter, progress));
  {
    Transaction tx(store.db());
    RowWriter<PersRow> writer(store.db(), "Pers");
    for (int i = 0; i < employees; ++i) {
      PersRow row;
      row.LUNA = session.working_month();
      row.TIP = i % 4 == 3 ? "2" : "1";
      row.NUME = code + "-ANGAJAT" + std::to_string(i);
      row.PRENUME = "ION";
      row.Depart = "CENTRAL";
      row.SALINC = 3000000 + i * 100000;
      row.TIMP = row.TIP == "1" ? 168 : 80;
      row.CoefInd = row.CoefInd1 = 1;
      row.ProcImpo = 100;
      row.NORMA = 8;
      row.Ore_Zi = row.TIP == "2" ? 4 : 0;
      row.BifaSom = row.TIP == "2" ? 1 : 0;
      row.DATA_ANG = Date::FromYmd(2001, 1 + i % 12, 1);
      row.Nr = writer.Insert(row);
      row.IID = static_cast<int>(row.Nr);
      writer.Update(row);
      if (i % 2 == 0) {
        Blob photo;
        for (int b = 0; b < 600 + i; ++b)
          photo.push_back(static_cast<unsigned char>((b * 7 + i) & 0xFF));
        store.db().Run("INSERT INTO firma.Poze (IID, Poza) VALUES (?, ?)", row.IID, photo);
      }
      if (i == 0) {
        store.db().Run(
            "INSERT INTO firma.Pint (Luna, IID, AiPers, Nume, CODNUMPERS, Coef) "
            "VALUES (?, ?, ?, 'COPIL', '5030101123456', 0.5)",
            row.LUNA, row.IID, row.Nr);
      }
    }
    tx.Commit();
  }
  session.LoadParameters();
  personnel::RecalculateCompany(session, progress);
  for (int m = 1; m < months; ++m) params::PassToNextMonth(session, progress);
}

// Rewrites an archive entry by entry: `edit` gets each entry's name and
// bytes and may change them or drop the entry (nothing); `extra` entries
// (name, bytes) follow.
using EntryEdit =
    std::function<std::optional<std::string>(const std::string& name, std::string bytes)>;
inline void RewriteArchive(const fs::path& from, const fs::path& to, const EntryEdit& edit,
                           const std::vector<std::pair<std::string, std::string>>& extra = {}) {
  std::vector<std::pair<std::string, std::string>> entries;
  {
    archive* in = archive_read_new();
    archive_read_support_format_tar(in);
    ASSERT_EQ(archive_read_open_filename(in, from.c_str(), 1 << 16), ARCHIVE_OK);
    archive_entry* entry = nullptr;
    while (archive_read_next_header(in, &entry) == ARCHIVE_OK) {
      std::string bytes(static_cast<std::size_t>(archive_entry_size(entry)), '\0');
      if (!bytes.empty()) {
        ASSERT_EQ(archive_read_data(in, bytes.data(), bytes.size()),
                  static_cast<la_ssize_t>(bytes.size()));
      }
      entries.emplace_back(archive_entry_pathname(entry), std::move(bytes));
    }
    archive_read_free(in);
  }
  archive* out = archive_write_new();
  archive_write_set_format_pax_restricted(out);
  ASSERT_EQ(archive_write_open_filename(out, to.c_str()), ARCHIVE_OK);
  for (const auto& added : extra) entries.push_back(added);
  const std::size_t edited = entries.size() - extra.size();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& [name, bytes] = entries[i];
    const std::optional<std::string> kept = i < edited ? edit(name, bytes) : bytes;
    if (!kept) continue;
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_size(entry, static_cast<la_int64_t>(kept->size()));
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    ASSERT_EQ(archive_write_header(out, entry), ARCHIVE_OK);
    archive_entry_free(entry);
    ASSERT_EQ(archive_write_data(out, kept->data(), kept->size()),
              static_cast<la_ssize_t>(kept->size()));
  }
  archive_write_close(out);
  archive_write_free(out);
}

}  // namespace traveno::backup::testing
