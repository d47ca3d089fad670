// The data store of one data folder: a connection to the register database
// (Firme, Para, Impo, Impo_an) with, once a company is open, the company's
// database attached as "firma" (Pers, Pint, ParF, Poze). Both live on one
// connection so that an operation over the register and a company commits
// or rolls back as one.
//
// Once a month is opened, the month's views restrict the tables to it:
// PersLuna, PintLuna, ParFLuna, ParaLuna, ImpoLuna (the month's rows) and
// ImpoAnLuna (January to December of the month's year).
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/errors.h"
#include "core/prompter.h"
#include "core/store/records.h"
#include "core/store/sqlite.h"

namespace traveno {

inline constexpr const char* kCompanySchema = "firma";
// The failure of opening the databases, as the user reads it.
inline constexpr const char* kOpenDatabasesFailed =
    " Nu pot deschide tabelele necesare aplicatiei! \n\r Va rugam verificati !";
inline constexpr const char* kRegisterFolderMissing =
    "Directorul firmei nu exista. Aplicatia va fi terminata fortat !";
// The data folder named is a file.
inline constexpr const char* kDataFolderIsFile =
    "Directorul de date nu este un director: in locul lui se afla un fisier ! ";

// The refusal of a company whose database cannot be read as one (garbage, a
// file of another program): it names the company and its file, and says the
// company is left as it is.
std::string DamagedCompanyMessage(std::string_view company_code, const std::filesystem::path& file);
// Whether an engine failure says that its file is damaged or is not a
// database.
bool IsDamagedDatabaseFailure(const StoreError& error);
// A company's database that cannot be read as one: a refusal the user can
// act on (restore the file), not a fault of the program.
class DamagedCompanyError : public Error {
 public:
  DamagedCompanyError(std::string_view company_code, const std::filesystem::path& file)
      : Error(DamagedCompanyMessage(company_code, file)) {}
};

// The one company of a new register: "TEST", a legal entity, without a
// folder until it is chosen.
FirmeRow PlaceholderCompany();

class Store {
 public:
  // Opens (creating when missing) the register database of an existing data
  // folder. Throws Error with kRegisterFolderMissing when the folder does not
  // exist, with kDataFolderIsFile (and the path) when it is a file,
  // StoreError when the database cannot be opened. A read-only folder whose
  // register exists opens for reading.
  explicit Store(std::filesystem::path data_folder);

  const std::filesystem::path& data_folder() const { return data_folder_; }
  Database& db() { return *db_; }

  // Creates the register tables that are missing; a new Firme gets the one
  // company "TEST" (a legal entity, without a folder yet).
  void EnsureRegisterTables();
  bool RegisterTableExists(std::string_view table);

  // The codes of the register's companies whose folder is missing (a code
  // that cannot name a folder is not among them: it is left alone).
  std::vector<std::string> CompaniesWithoutFolder();

  // The register purge: when companies' folders are gone (an unmounted
  // share, a renamed folder), the user is asked first, the question listing
  // their codes (and saying when the register would be left empty). On Yes a
  // copy of the register database is kept beside it ("registru.db." + date
  // and time + ".bak"), then those companies leave the register; when none is
  // left, the four register tables are dropped (the next
  // EnsureRegisterTables makes them again). Returns whether anything was
  // removed. A failure (a copy that cannot be made included) removes nothing
  // and is not reported, as a purge must never stop the program.
  // `keep_copy`, when given, keeps a safety copy as well before anything is
  // removed (it throws when it cannot).
  bool VerificareFoldere(Prompter& prompter, const std::function<void()>& keep_copy = {});

  // The companies of the register in code order.
  std::vector<FirmeRow> Companies();
  std::optional<FirmeRow> FindCompany(std::string_view code);

  // Creates the empty company tables in the company's existing folder;
  // false (and nothing created) when the folder does not exist or the code
  // cannot name one. A table that already exists is kept.
  bool CreateCompanyTables(std::string_view company_code);

  // Attaches a company's database (closing the one open before). Throws
  // StoreError when its folder or database is missing, DamagedCompanyError
  // when the database cannot be read as one, and
  // Error with InvalidCompanyCodeMessage when the code cannot name a folder.
  void OpenCompany(std::string_view company_code);
  void CloseCompany();
  // Attaches the database of a company being made (closing the one open
  // before), creating the file in the existing folder when it is missing;
  // its tables are then made by the caller, in a transaction of its own.
  // Throws StoreError when the folder does not exist, Error when the code
  // cannot name one.
  void AttachNewCompany(std::string_view company_code);
  const std::optional<std::string>& open_company() const { return open_company_; }
  // The folder of the code's first 8 characters (CheckedCompanyFolder):
  // throws Error when they cannot name a folder.
  std::filesystem::path CompanyFolderOf(std::string_view company_code) const;

  // Restricts the month views to a month (its first day). Joins the
  // transaction running on the connection, if any.
  void OpenMonth(Date month);
  const std::optional<Date>& open_month() const { return open_month_; }

 private:
  void CreateMonthViews();
  void CreateCompanyMonthViews();

  std::filesystem::path data_folder_;
  std::unique_ptr<Database> db_;
  std::optional<std::string> open_company_;
  std::optional<Date> open_month_;
};

// Opens the store of a data folder whose register tables exist; any failure
// (a missing table included) becomes an Error whose text is
// kOpenDatabasesFailed, except a data folder that is a file (kDataFolderIsFile).
std::unique_ptr<Store> OpenDatabases(const std::filesystem::path& data_folder);

}  // namespace traveno
