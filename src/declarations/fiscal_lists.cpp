#include "declarations/fiscal_lists.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "core/store/row_io.h"

namespace traveno::declarations {

std::vector<SheetPerson> ListSheetPersons(Database& db, std::string_view kind) {
  // The latest row of each person of the kind: rows walked from the last back.
  std::vector<SheetPerson> persons;
  std::set<int> listed;
  Statement statement = db.Prepare(
      "SELECT MARCA, IID, TIP, CODNUMPERS, NUME, PRENUME, FUNCTIE FROM firma.Pers "
      "WHERE TIP = ? ORDER BY LUNA DESC, Nr DESC");
  statement.BindAll(std::string(kind));
  while (statement.Step()) {
    const int iid = static_cast<int>(statement.Int64(1));
    if (!listed.insert(iid).second) continue;
    persons.push_back({static_cast<int>(statement.Int64(0)), iid, statement.Text(2),
                       statement.Text(3), statement.Text(4), statement.Text(5), statement.Text(6)});
  }
  std::stable_sort(persons.begin(), persons.end(), [](const SheetPerson& a, const SheetPerson& b) {
    return std::tie(a.Nume, a.Prenume) < std::tie(b.Nume, b.Prenume);
  });
  return persons;
}

std::vector<int> SheetYears(Database& db, int iid, std::string_view kind) {
  std::vector<int> years;
  Statement statement = db.Prepare(
      "SELECT DISTINCT CAST(substr(LUNA, 1, 4) AS INTEGER) AS Y FROM firma.Pers "
      "WHERE IID = ? AND TIP = ? ORDER BY Y");
  statement.BindAll(iid, std::string(kind));
  while (statement.Step()) years.push_back(static_cast<int>(statement.Int64(0)));
  return years;
}

std::vector<int> FilingYears(Database& db) {
  std::vector<int> years;
  Statement statement = db.Prepare(
      "SELECT DISTINCT CAST(substr(Luna, 1, 4) AS INTEGER) AS Y FROM firma.ParF "
      "WHERE Den = 'Deschisa' ORDER BY Y");
  while (statement.Step()) years.push_back(static_cast<int>(statement.Int64(0)));
  return years;
}

bool MonthHasEmployees(Database& db, Date month) {
  return db.QueryInt("SELECT 1 FROM firma.Pers WHERE LUNA = ? LIMIT 1", month).has_value();
}

}  // namespace traveno::declarations
