#include "legacy/legacy_import.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/pers_upgrade_rules.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "core/system_info.h"
#include "core/text.h"
#include "legacy/legacy_company_writer.h"
#include "legacy/legacy_rows.h"
#include "legacy/paradox_table.h"
#include "params/company_register.h"

namespace traveno::legacy {
namespace fs = std::filesystem;
namespace {

struct LegacyRegister {
  std::vector<FirmeRow> companies;
  std::vector<ParaRow> para;
  std::vector<ImpoRow> impo;
  std::vector<ImpoRow> impo_an;
  std::map<Date, double> chelt_prof;
  // Whether the dependants were ever linked to their employees' rows.
  bool dependants_linked = false;
};

template <typename Row>
std::vector<Row> ReadOptionalTable(const fs::path& folder, std::string_view name, int code_page,
                                   std::vector<TableCount>* counts = nullptr) {
  const auto file = FindTableFile(folder, name);
  if (!file) return {};
  ParadoxTable table(*file, code_page);
  std::vector<Row> rows = ReadRows<Row>(table);
  if (counts != nullptr) counts->push_back({file->filename().string(), table.record_count()});
  return rows;
}

LegacyRegister ReadRegister(const LegacyImportOptions& options, LegacyImportReport& report) {
  const auto firme = FindTableFile(options.source, "Firme.DB");
  if (!firme) throw Error(kNoLegacyRegister);
  LegacyRegister legacy;
  ParadoxTable table(*firme, options.default_code_page);
  legacy.companies = ReadRows<FirmeRow>(table);
  legacy.para = ReadOptionalTable<ParaRow>(options.source, "Para.db", options.default_code_page,
                                           &report.register_tables);
  legacy.impo = ReadOptionalTable<ImpoRow>(options.source, "Impo.db", options.default_code_page,
                                           &report.register_tables);
  legacy.impo_an = ReadOptionalTable<ImpoRow>(options.source, "Impo_an.db",
                                              options.default_code_page, &report.register_tables);
  std::optional<const ParaRow*> first_verifpint;
  std::vector<const ParaRow*> ordered;
  for (const ParaRow& row : legacy.para) ordered.push_back(&row);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const ParaRow* a, const ParaRow* b) { return a->Luna < b->Luna; });
  for (const ParaRow* row : ordered) {
    if (EqualsIgnoreCase(row->Den, "CheltProf")) legacy.chelt_prof[row->Luna] = row->Val;
    if (!first_verifpint && EqualsIgnoreCase(row->Den, "VERIFPINT")) first_verifpint = row;
  }
  legacy.dependants_linked = first_verifpint && (*first_verifpint)->Val == 1;
  return legacy;
}

// Writes the rows of the months the register does not hold yet.
template <typename Row>
void WriteRegisterRows(Database& db, const std::string& table, const std::vector<Row>& rows,
                       TableCount& count) {
  std::set<Date> held;
  Statement months = db.Prepare("SELECT DISTINCT Luna FROM main." + QuoteIdentifier(table));
  while (months.Step()) held.insert(months.DateAt(0));
  RowWriter<Row> writer(db, table);
  for (const Row& row : rows) {
    if (held.contains(row.Luna)) {
      ++count.left_out;
      continue;
    }
    RequireRowValues(row);
    writer.Insert(row);
    ++count.written;
  }
  if (count.left_out > 0) count.left_out_reason = "luni existente deja in registru, pastrate";
}

void WriteRegister(Store& store, const LegacyRegister& legacy, LegacyImportReport& report) {
  Transaction tx(store.db());
  for (TableCount& count : report.register_tables) {
    if (EqualsIgnoreCase(count.table, "Para.db")) {
      WriteRegisterRows(store.db(), "Para", legacy.para, count);
    } else if (EqualsIgnoreCase(count.table, "Impo.db")) {
      WriteRegisterRows(store.db(), "Impo", legacy.impo, count);
    } else {
      WriteRegisterRows(store.db(), "Impo_an", legacy.impo_an, count);
    }
  }
  tx.Commit();
}

LegacyCompany ReadCompany(const fs::path& folder, const LegacyRegister& legacy, int code_page) {
  LegacyCompany company;
  const auto pers_file = FindTableFile(folder, "pers.db");
  const auto parf_file = FindTableFile(folder, "parf.db");
  if (!pers_file && !parf_file) return company;  // never initialised
  if (!pers_file || !parf_file) {
    throw Error("Directorul " + folder.string() + " nu contine " +
                (pers_file ? "parf.db" : "pers.db") + " !");
  }
  company.has_tables = true;

  ParadoxTable pers(*pers_file, code_page);
  const PersUpgrades upgrades = DecidePersUpgrades(pers.FieldNames());
  const auto regularizare = pers.FindField("Regularizare");
  std::vector<double> dropped;
  company.pers = ReadRows<PersRow>(pers, [&](PersRow&, const std::vector<ParadoxValue>& values) {
    double value = 0;
    if (regularizare) {
      if (const auto* number = std::get_if<double>(&values[*regularizare])) value = *number;
    }
    dropped.push_back(value);
  });
  for (std::size_t i = 0; i < company.pers.size(); ++i) {
    PersRow& row = company.pers[i];
    const auto chelt = legacy.chelt_prof.find(row.LUNA);
    ApplyPersUpgrades(upgrades, row, {dropped[i]},
                      chelt == legacy.chelt_prof.end() ? 0.0 : chelt->second);
  }
  company.counts.push_back({pers_file->filename().string(), pers.record_count()});

  ParadoxTable parf(*parf_file, code_page);
  company.parf = ReadRows<ParFRow>(parf);
  CloseMonthsBeforeLast(upgrades, company.parf);
  company.parf_added = ParFRowsAddedByUpgrades(upgrades, company.parf);
  company.counts.push_back({parf_file->filename().string(), parf.record_count()});

  if (upgrades.v5_2_0) {
    for (const PersRow& row : company.pers)
      company.years_needing_annual_brackets.insert(row.LUNA.year());
  }

  // Every layout keeps the dependants; the photos came with 5.2.6. A table
  // the layout has and the folder lacks is damage, not an empty table.
  for (const char* name : {"Pint.db", "poze.db"}) {
    const bool required = std::string_view(name) == "Pint.db" || !upgrades.v5_2_6;
    if (required && !FindTableFile(folder, name)) {
      throw Error("Directorul " + folder.string() + " nu contine " + name + " !");
    }
  }
  std::vector<TableCount> optional_counts;
  company.pint = ReadOptionalTable<PintRow>(folder, "Pint.db", code_page, &optional_counts);
  company.poze = ReadOptionalTable<PozeRow>(folder, "poze.db", code_page, &optional_counts);
  company.counts.insert(company.counts.end(), optional_counts.begin(), optional_counts.end());
  return company;
}

// Links each dependant to its employee's row of the same month and person;
// a dependant without one is left out, as the link has always done.
int LinkDependants(std::vector<PintRow>& dependants, const std::vector<PersRow>& employees) {
  std::map<std::pair<Date, int>, std::int64_t> rows;
  for (const PersRow& row : employees) rows.emplace(std::make_pair(row.LUNA, row.IID), row.Nr);
  std::vector<PintRow> linked;
  for (PintRow& dependant : dependants) {
    const auto found = rows.find({dependant.Luna, dependant.IID});
    if (found == rows.end()) continue;
    dependant.AiPers = static_cast<int>(found->second);
    linked.push_back(dependant);
  }
  const int left_out = static_cast<int>(dependants.size() - linked.size());
  dependants = std::move(linked);
  return left_out;
}

TableCount* CountOf(std::vector<TableCount>& counts, std::string_view table) {
  for (TableCount& count : counts) {
    if (EqualsIgnoreCase(count.table, table)) return &count;
  }
  return nullptr;
}

std::optional<fs::path> FindCompanyFolder(const fs::path& source, std::string_view code) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(source, error)) {
    if (entry.is_directory(error) && EqualsIgnoreCase(entry.path().filename().string(), code)) {
      return entry.path();
    }
  }
  return std::nullopt;
}

void ImportCompany(Store& store, const LegacyRegister& legacy, FirmeRow firme,
                   const LegacyImportOptions& options, CompanyImport& result) {
  const std::string& code = result.code;
  if (!params::ValidFolderName(code)) {
    result.message =
        "Firma " + code + " are un cod care nu poate fi nume de director si nu a fost preluata.";
    return;
  }
  const auto folder = FindCompanyFolder(options.source, code);
  if (!folder) {
    result.status = CompanyStatus::kNoFolder;
    result.message = "Firma " + code + " nu are director si nu a fost preluata.";
    return;
  }
  // Decided before the tables are read, and again when the company is written.
  const std::optional<std::string> refusal =
      Refusal(code, FindRegistered(store, code).has_value(),
              FolderHoldsCompanyData(CheckedCompanyFolder(store.data_folder(), code)), options);
  if (refusal && EqualsIgnoreCase(options.working_company, code)) {
    result.status = CompanyStatus::kExists;
    result.message = *refusal;
    return;
  }
  firme.Cod = code;
  LegacyCompany company;
  try {
    company = ReadCompany(*folder, legacy, options.default_code_page);
    for (TableCount& count : company.counts) count.written = count.read;
    if (TableCount* parf = CountOf(company.counts, "parf.db")) {
      parf->added = static_cast<int>(company.parf_added.size());
      parf->written += parf->added;
    }
    if (!legacy.dependants_linked) {
      if (TableCount* pint = CountOf(company.counts, "Pint.db")) {
        pint->left_out = LinkDependants(company.pint, company.pers);
        pint->written -= pint->left_out;
        if (pint->left_out > 0) pint->left_out_reason = "dependenti fara angajat in luna lor";
      }
    }
    if (refusal) throw CompanyTaken{*refusal};
    if (const int brackets = WriteLegacyCompany(store, firme, options, company); brackets > 0) {
      company.counts.push_back({"Impo_an.db", 0, brackets, brackets});
    }
    result.tables = std::move(company.counts);
    result.status = CompanyStatus::kImported;
  } catch (const CompanyTaken& taken) {
    // A run interrupted after writing the company leaves it as this run would.
    if (AlreadyImported(store, firme, company)) {
      result.status = CompanyStatus::kAlreadyImported;
      result.message = "Firma " + code + " a fost preluata deja, cu aceleasi date.";
    } else {
      result.status = CompanyStatus::kExists;
      result.message = taken.message;
    }
  } catch (const std::exception& error) {
    if (refusal) {
      // The company there is kept whatever its source holds.
      result.status = CompanyStatus::kExists;
      result.message = *refusal;
    } else {
      result.status = CompanyStatus::kFailed;
      result.message = "Firma " + code + " nu a fost preluata: " + error.what();
    }
  }
}

std::string CountLine(const TableCount& count) {
  std::string line = count.table + ": citite " + std::to_string(count.read) + ", scrise " +
                     std::to_string(count.written);
  if (count.added > 0) line += ", adaugate de upgrade " + std::to_string(count.added);
  if (count.left_out > 0) {
    line += ", omise " + std::to_string(count.left_out) + " (" + count.left_out_reason + ")";
  }
  return line;
}

}  // namespace

bool LegacyImportReport::Complete() const {
  return std::all_of(companies.begin(), companies.end(), [](const CompanyImport& company) {
    return company.status == CompanyStatus::kImported ||
           company.status == CompanyStatus::kAlreadyImported ||
           company.status == CompanyStatus::kNoFolder;
  });
}

bool HoldsLegacyRegister(const std::filesystem::path& folder) {
  return FindTableFile(folder, "Firme.DB").has_value();
}

LegacyImportReport ImportLegacyData(const fs::path& data_folder, const LegacyImportOptions& options,
                                    ProgressReporter& progress) {
  LegacyImportReport report;
  LegacyRegister legacy;
  {
    WaitScope wait(progress, kApplicationTitle, "Se citeste registrul firmelor...");
    legacy = ReadRegister(options, report);
  }
  Store store(data_folder);
  WriteRegister(store, legacy, report);
  std::vector<FirmeRow> companies = legacy.companies;
  std::stable_sort(companies.begin(), companies.end(), [](const FirmeRow& a, const FirmeRow& b) {
    return UpperTrim(a.Cod) < UpperTrim(b.Cod);
  });
  for (const FirmeRow& firme : companies) {
    CompanyImport& result = report.companies.emplace_back();
    // Codes are kept upper case, as the register's editor writes them.
    result.code = UpperTrim(firme.Cod);
    if (result.code.empty()) {
      report.companies.pop_back();
      continue;
    }
    WaitScope wait(progress, kApplicationTitle, "Se preia firma " + result.code + "...");
    ImportCompany(store, legacy, firme, options, result);
  }
  return report;
}

std::vector<std::string> ReportLines(const LegacyImportReport& report) {
  std::vector<std::string> lines;
  for (const TableCount& count : report.register_tables)
    lines.push_back("Registru " + CountLine(count));
  for (const CompanyImport& company : report.companies) {
    if (company.status != CompanyStatus::kImported) {
      lines.push_back(company.message);
      continue;
    }
    lines.push_back("Firma " + company.code + " a fost preluata.");
    for (const TableCount& count : company.tables) lines.push_back("  " + CountLine(count));
  }
  return lines;
}

}  // namespace traveno::legacy
