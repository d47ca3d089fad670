// The lists that lead to a fiscal sheet or to the year's e-filing files: the
// persons of a kind, the years of a person, the years of the company, and the
// rule that both are produced only for the working month's year.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/store/sqlite.h"

namespace traveno::declarations {

// The warnings of a fiscal sheet and of the e-filing files asked for another
// year than the working month's: the annual tax of the regularisation is
// taken from the annual brackets of the working year.
inline constexpr const char* kSheetYearWarning =
    "Pentru a tipari FF trebuie sa treceti programul in ultima luna din \r\nanul pentru care "
    "doriti FF.\r\nVa rog verificati grila de impozitare anuala respectiva!";
inline constexpr const char* kFilingYearWarning =
    "Pentru a transmite FF trebuie sa treceti programul in ultima luna din \r\nanul pentru care "
    "doriti FF.\r\nVa rog verificati grila de impozitare anuala respectiva!";

// A person of the list, from the latest Pers row of that kind in any month.
struct SheetPerson {
  int Marca = 0;
  int IID = 0;
  std::string Tip;
  std::string CodNumPers;
  std::string Nume;
  std::string Prenume;
  std::string FUNCTIE;
};

// The persons of `kind` ("1" or "2") of the open company, one per IID,
// ordered by name and first name. Throws StoreError.
std::vector<SheetPerson> ListSheetPersons(Database& db, std::string_view kind);

// The years in which person `iid` has Pers rows of `kind`, ascending.
std::vector<int> SheetYears(Database& db, int iid, std::string_view kind);

// The years of the company's opened months (its "Deschisa" rows), ascending.
std::vector<int> FilingYears(Database& db);

// Whether the open company has employee rows in `month` (the fiscal-sheet
// buttons do nothing otherwise). Throws StoreError.
bool MonthHasEmployees(Database& db, Date month);

// Whether sheets and files of `year` may be produced: only for the working
// month's year (whichever its month).
inline bool IsWorkingYear(int year, Date working_month) { return year == working_month.year(); }

}  // namespace traveno::declarations
