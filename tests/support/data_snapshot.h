// Every row of every table of a data folder's databases as text, to tell
// whether an operation changed anything at all.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/data_folder.h"
#include "core/store/sqlite.h"

namespace traveno::testing {

// The rows of one database file, table by table in name order, each row as
// SQLite quotes its values; empty when the file does not exist.
inline std::string DatabaseSnapshot(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return {};
  Database db(file, false);
  std::string text;
  Statement tables = db.Prepare(
      "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
      "ORDER BY name");
  while (tables.Step()) {
    const std::string table = tables.Text(0);
    text += "[" + table + "]\n";
    Statement columns = db.Prepare(
        "SELECT group_concat('quote(\"' || replace(name, '\"', '\"\"') || '\")', "
        "' || ''|'' || ') FROM pragma_table_info(?)");
    columns.Bind(1, table);
    if (!columns.Step() || columns.IsNull(0)) continue;
    Statement rows = db.Prepare("SELECT " + columns.Text(0) + " FROM " + QuoteIdentifier(table) +
                                " ORDER BY rowid");
    while (rows.Step()) text += rows.Text(0) + "\n";
  }
  return text;
}

// The register and every company database of a data folder, companies in
// folder-name order (a folder being built, whose name starts with ".", is no
// company).
inline std::string DataSnapshot(const std::filesystem::path& folder) {
  std::string text = DatabaseSnapshot(folder / kRegisterDatabaseName);
  std::vector<std::filesystem::path> companies;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_directory() && !entry.path().filename().string().starts_with(".")) {
      companies.push_back(entry.path());
    }
  }
  std::sort(companies.begin(), companies.end());
  for (const auto& company : companies) {
    const std::string rows = DatabaseSnapshot(company / kCompanyDatabaseName);
    if (!rows.empty()) text += "== " + company.filename().string() + "\n" + rows;
  }
  return text;
}

// The first line where two snapshots differ, for a failure's message.
inline std::string FirstDifference(const std::string& a, const std::string& b) {
  std::size_t line_start = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] != b[i]) {
      const std::size_t end_a = a.find('\n', i);
      const std::size_t end_b = b.find('\n', i);
      return a.substr(line_start, end_a - line_start) + "  <>  " +
             b.substr(line_start, end_b - line_start);
    }
    if (a[i] == '\n') line_start = i + 1;
  }
  return a.size() == b.size() ? "" : "one snapshot is longer";
}

}  // namespace traveno::testing
