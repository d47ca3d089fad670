#include "params/parameter_store.h"

#include <array>
#include <map>
#include <span>

#include "core/store/field_rules.h"
#include "core/text.h"
#include "params/holidays.h"
#include "params/unit_of_work.h"

namespace traveno::params {
namespace {

using engine::ParameterRow;
using engine::ParameterValueKind;

std::vector<ParameterRow> ReadRows(Database& db, std::string_view sql, Date month) {
  std::vector<ParameterRow> rows;
  Statement statement = db.Prepare(sql);
  statement.Bind(1, month);
  while (statement.Step()) {
    rows.push_back({statement.Text(0), statement.Double(1), statement.Text(2)});
  }
  return rows;
}

const ParameterRow* FindRow(const std::vector<ParameterRow>& rows, std::string_view name,
                            bool ignore_case) {
  for (const ParameterRow& row : rows) {
    if (ignore_case ? EqualsIgnoreCase(row.Den, name) : row.Den == name) return &row;
  }
  return nullptr;
}

const std::vector<ParameterRow>& MissingGeneralRows() {
  static const std::vector<ParameterRow> rows =
      engine::GeneralParameterRows(engine::GeneralParameters{});
  return rows;
}

const std::vector<ParameterRow>& MissingCompanyRows() {
  static const std::vector<ParameterRow> rows =
      engine::CompanyParameterRows(engine::CompanyParameters{});
  return rows;
}

ParameterValueKind CompanyKindOf(std::string_view name) {
  for (const auto& description : engine::CompanyParameterNames()) {
    if (description.name == name) return description.kind;
  }
  return ParameterValueKind::kNumber;
}

constexpr const char* kGeneralTable = "main.Para";
constexpr const char* kCompanyTable = "firma.ParF";

// Refuses a value its parameter's rule does not allow, before anything is
// written.
void RequireParameter(std::string_view table, Date month, std::string_view name,
                      const ParameterRow& value, bool set_val, bool set_grupa) {
  const bool general = table == kGeneralTable;
  const std::string label = "parametrul " + std::string(name);
  RequireValue(label, RuleOf<ParFRow>(*FindField<ParFRow>("Den")), FieldValue(std::string(name)));
  if (set_val) {
    RequireValue(label, general ? GeneralParameterRule(name) : CompanyParameterRule(name),
                 FieldValue(value.Val));
    // The pay day must exist in the month that follows: the same rule the
    // company window applies, on every path that writes it.
    if (!general && name == "ZiLichidare") {
      RequireValue(label, PayDayRule(month), FieldValue(value.Val));
    }
  }
  if (set_grupa) {
    RequireValue(
        label,
        general ? RuleOf<ParaRow>(*FindField<ParaRow>("Grupa")) : CompanyParameterTextRule(name),
        FieldValue(value.Grupa));
    if (!general && name == "ZileLibere") {
      if (auto refusal = HolidaysRefusal(value.Grupa)) throw ValueRefused(*refusal);
    }
  }
}

// Edits the month's row of `name` or appends one. `set_val` / `set_grupa`
// choose what is written; an appended row has 0 or "" in the other column.
void WriteRow(Database& db, std::string_view table, bool ignore_case, Date month,
              std::string_view name, const ParameterRow& value, bool set_val, bool set_grupa) {
  RequireParameter(table, month, name, value, set_val, set_grupa);
  const std::string qualified = std::string(table);
  const std::string match = ignore_case ? "Den = ? COLLATE NOCASE" : "Den = ?";
  std::string sets;
  if (set_val) sets += "Val = ?";
  if (set_grupa) sets += std::string(sets.empty() ? "" : ", ") + "Grupa = ?";
  Statement update =
      db.Prepare("UPDATE " + qualified + " SET " + sets + " WHERE Luna = ? AND " + match);
  int index = 0;
  if (set_val) update.Bind(++index, value.Val);
  if (set_grupa) update.Bind(++index, value.Grupa);
  update.Bind(++index, month);
  update.Bind(++index, name);
  update.Run();
  if (db.Changes() > 0) return;
  db.Run("INSERT INTO " + qualified + " (Luna, Den, Val, Grupa) VALUES (?, ?, ?, ?)", month, name,
         set_val ? value.Val : 0.0, set_grupa ? value.Grupa : std::string());
}

// The rows of `after` that differ from the same rows of `before`.
std::vector<ParameterRow> ChangedRows(const std::vector<ParameterRow>& before,
                                      const std::vector<ParameterRow>& after) {
  std::vector<ParameterRow> changed;
  for (const ParameterRow& row : after) {
    const ParameterRow* old = FindRow(before, row.Den, false);
    // Compared bit for bit: a NaN is never "unchanged".
    if (old == nullptr || !(old->Val == row.Val) || old->Grupa != row.Grupa) {
      changed.push_back(row);
    }
  }
  return changed;
}

// Each row of `edited` that differs from `base` wins; any other row is
// taken from `current`.
std::vector<ParameterRow> MergeRows(const std::vector<ParameterRow>& base,
                                    const std::vector<ParameterRow>& edited,
                                    const std::vector<ParameterRow>& current) {
  std::vector<ParameterRow> merged = current;
  for (const ParameterRow& row : ChangedRows(base, edited)) {
    bool found = false;
    for (ParameterRow& target : merged) {
      if (target.Den == row.Den) {
        target = row;
        found = true;
      }
    }
    if (!found) merged.push_back(row);
  }
  return merged;
}

void WriteCompanyRows(Database& db, Date month, const std::vector<ParameterRow>& rows) {
  for (const ParameterRow& row : rows) {
    if (row.Den.starts_with("DEP_") || IsHealthDeclarationFigure(row.Den)) continue;
    const ParameterValueKind kind = CompanyKindOf(row.Den);
    WriteRow(db, kCompanyTable, false, month, row.Den, row, kind != ParameterValueKind::kText,
             kind != ParameterValueKind::kNumber);
  }
}

}  // namespace

bool IsHealthDeclarationFigure(std::string_view name) {
  static constexpr std::array<std::string_view, 9> kNames = {"RestSanA",  "RestSanB",  "RestSanC",
                                                             "MajSanA",   "MajSanB",   "MajSanC",
                                                             "DatorSanA", "DatorSanB", "DatorSanC"};
  for (std::string_view known : kNames) {
    if (known == name) return true;
  }
  return false;
}

std::vector<ParameterRow> GeneralRows(Database& db, Date month) {
  return ReadRows(db,
                  "SELECT Den, Val, Grupa FROM main.Para WHERE Luna = ? "
                  "ORDER BY Den COLLATE NOCASE, Nr",
                  month);
}

std::vector<ParameterRow> CompanyRows(Database& db, Date month) {
  return ReadRows(db,
                  "SELECT Den, Val, Grupa FROM firma.ParF WHERE Luna = ? "
                  "ORDER BY Den COLLATE NOCASE, Nr",
                  month);
}

double ReadGeneral(Database& db, Date month, std::string_view name) {
  Statement statement = db.Prepare(
      "SELECT Val FROM main.Para WHERE Luna = ? AND Den = ? COLLATE NOCASE "
      "ORDER BY Nr LIMIT 1");
  statement.BindAll(month, name);
  if (statement.Step()) return statement.Double(0);
  const ParameterRow* missing = FindRow(MissingGeneralRows(), name, true);
  return missing != nullptr ? missing->Val : 0.0;
}

void WriteGeneral(Database& db, Date month, std::string_view name, double value) {
  UnitOfWork work(db);
  WriteRow(db, kGeneralTable, true, month, name, {std::string(name), value, ""}, true, false);
  work.Commit();
}

double ReadCompany(Database& db, Date month, std::string_view name) {
  Statement statement =
      db.Prepare("SELECT Val FROM firma.ParF WHERE Luna = ? AND Den = ? ORDER BY Nr LIMIT 1");
  statement.BindAll(month, name);
  if (statement.Step()) return statement.Double(0);
  const ParameterRow* missing = FindRow(MissingCompanyRows(), name, false);
  return missing != nullptr ? missing->Val : 0.0;
}

std::string ReadCompanyText(Database& db, Date month, std::string_view name) {
  Statement statement =
      db.Prepare("SELECT Grupa FROM firma.ParF WHERE Luna = ? AND Den = ? ORDER BY Nr LIMIT 1");
  statement.BindAll(month, name);
  return statement.Step() ? statement.Text(0) : std::string();
}

void WriteCompany(Database& db, Date month, std::string_view name, double value) {
  UnitOfWork work(db);
  WriteRow(db, kCompanyTable, false, month, name, {std::string(name), value, ""}, true, false);
  work.Commit();
}

void WriteCompanyText(Database& db, Date month, std::string_view name, std::string_view text) {
  UnitOfWork work(db);
  WriteRow(db, kCompanyTable, false, month, name, {std::string(name), 0, std::string(text)}, false,
           true);
  work.Commit();
}

engine::GeneralParameters LoadGeneralParameters(Database& db, Date month) {
  const auto rows = GeneralRows(db, month);
  return engine::BuildGeneralParameters(rows);
}

engine::CompanyParameters LoadCompanyParameters(Database& db, Date month) {
  // Departments keep the order they were made in.
  const auto rows =
      ReadRows(db, "SELECT Den, Val, Grupa FROM firma.ParF WHERE Luna = ? ORDER BY Nr", month);
  return engine::BuildCompanyParameters(rows);
}

std::vector<engine::MonthParameters> LoadParametersOfMonths(Database& db, Date from, Date to) {
  // Rows of each month in the order the one-month loaders read them: the
  // general ones by name without regard to case, the company ones as made.
  auto read = [&db, from, to](std::string_view sql) {
    std::map<Date, std::vector<ParameterRow>> months;
    Statement statement = db.Prepare(sql);
    statement.BindAll(from, to);
    while (statement.Step()) {
      months[statement.DateAt(0)].push_back(
          {statement.Text(1), statement.Double(2), statement.Text(3)});
    }
    return months;
  };
  const auto general = read(
      "SELECT Luna, Den, Val, Grupa FROM main.Para WHERE Luna BETWEEN ? AND ? "
      "ORDER BY Luna, Den COLLATE NOCASE, Nr");
  const auto company = read(
      "SELECT Luna, Den, Val, Grupa FROM firma.ParF WHERE Luna BETWEEN ? AND ? "
      "ORDER BY Luna, Nr");
  std::vector<engine::MonthParameters> result;
  result.reserve(company.size());
  for (const auto& [month, rows] : company) {
    engine::MonthParameters parameters;
    parameters.luna = month;
    const auto found = general.find(month);
    parameters.general = engine::BuildGeneralParameters(
        found != general.end() ? std::span<const ParameterRow>(found->second)
                               : std::span<const ParameterRow>());
    parameters.company = engine::BuildCompanyParameters(rows);
    result.push_back(std::move(parameters));
  }
  return result;
}

void SaveGeneralParameters(Database& db, Date month, const engine::GeneralParameters& values) {
  UnitOfWork work(db);
  for (const ParameterRow& row : engine::GeneralParameterRows(values)) {
    WriteRow(db, kGeneralTable, true, month, row.Den, row, true, false);
  }
  work.Commit();
}

void SaveCompanyParameters(Database& db, Date month, const engine::CompanyParameters& values) {
  UnitOfWork work(db);
  WriteCompanyRows(db, month, engine::CompanyParameterRows(values));
  work.Commit();
}

void SaveChangedGeneralParameters(Database& db, Date month, const engine::GeneralParameters& stored,
                                  const engine::GeneralParameters& values) {
  UnitOfWork work(db);
  for (const ParameterRow& row :
       ChangedRows(engine::GeneralParameterRows(stored), engine::GeneralParameterRows(values))) {
    WriteRow(db, kGeneralTable, true, month, row.Den, row, true, false);
  }
  work.Commit();
}

void SaveChangedCompanyParameters(Database& db, Date month, const engine::CompanyParameters& stored,
                                  const engine::CompanyParameters& values) {
  UnitOfWork work(db);
  WriteCompanyRows(
      db, month,
      ChangedRows(engine::CompanyParameterRows(stored), engine::CompanyParameterRows(values)));
  work.Commit();
}

engine::GeneralParameters MergeGeneralParameters(const engine::GeneralParameters& base,
                                                 const engine::GeneralParameters& edited,
                                                 const engine::GeneralParameters& current) {
  const auto rows =
      MergeRows(engine::GeneralParameterRows(base), engine::GeneralParameterRows(edited),
                engine::GeneralParameterRows(current));
  return engine::BuildGeneralParameters(rows);
}

engine::CompanyParameters MergeCompanyParameters(const engine::CompanyParameters& base,
                                                 const engine::CompanyParameters& edited,
                                                 const engine::CompanyParameters& current) {
  auto without_departments = [](engine::CompanyParameters values) {
    values.departments.clear();
    return engine::CompanyParameterRows(values);
  };
  engine::CompanyParameters merged = engine::BuildCompanyParameters(MergeRows(
      without_departments(base), without_departments(edited), without_departments(current)));
  merged.departments = current.departments;
  return merged;
}

engine::GeneralParameters NewMonthGeneralParameters() {
  engine::GeneralParameters p;
  p.SomajAng = 1;
  p.SomajCol = 1;
  p.SanatateAng = 6.5;
  p.Pensie = 9.5;
  p.SomajFirm = 3.5;
  p.SanatateFirm = 7;
  p.CAS = 24.5;
  p.Handicap = 0;
  p.PersHandi = 0;
  p.Invat = 0;
  p.BazaInvat = 0;
  p.Accident = 0.5;
  p.DedBaza = 1800000;
  p.CheltProf = 270000;
  p.ProcChProf = 15;
  p.DedAnuala = 1700000;
  p.SotSotie = 0.5;
  p.DoiCopii = 0.5;
  p.RestCopii = 0.5;
  p.AltePers = 0.5;
  p.InvalidI = 1;
  p.InvalidII = 0.5;
  p.CoefMax = 3;
  p.SalMedEc = 6962000;
  p.SalMinEc = 2500000;
  p.LimCIC = 1000000000000.0;
  p.VERIFPINT = 1;
  return p;
}

engine::CompanyParameters NewCompanyParameters() {
  engine::CompanyParameters p;
  // Where the first month's values differ from what a missing row reads.
  p.TimpZile = 0;
  p.ProcImpo = 1;
  for (int i = 0; i < 4; ++i) {
    p.spor[i] = engine::BonusParameters{};
    p.spor[i].Apl = i == 0 ? 2 : 4;
  }
  p.spor[0].Den = "Procentual";
  p.Ex_Pensie = {100, "DA"};
  p.Ex_Sanatate = {100, "DA"};
  p.Ex_Impozit = {100, "DA"};
  p.Ex_Firma = {0, "DA"};
  p.departments = {{"DEP_CENTRAL", 0, ""}};
  return p;
}

void WriteGeneralDefaults(Database& db, Date month) {
  SaveGeneralParameters(db, month, NewMonthGeneralParameters());
}

void WriteCompanyDefaults(Database& db, Date month) {
  static constexpr std::array<std::string_view, 8> kNotWritten = {
      "LuniCO",       "CO_Form",     "Den_PrIncas", "Den_AvansCO",
      "Den_Retineri", "Den_Popriri", "Den_AlteRet", "Den_Garantii"};
  UnitOfWork work(db);
  for (const ParameterRow& row : engine::CompanyParameterRows(NewCompanyParameters())) {
    bool skip = false;
    for (std::string_view name : kNotWritten) skip = skip || name == row.Den;
    if (skip) continue;
    const ParameterValueKind kind = CompanyKindOf(row.Den);
    const bool is_department = row.Den.starts_with("DEP_");
    WriteRow(db, kCompanyTable, false, month, row.Den, row,
             is_department || kind != ParameterValueKind::kText,
             is_department || kind != ParameterValueKind::kNumber);
  }
  work.Commit();
}

bool HasLaterGeneralMonth(Database& db, Date month) {
  return db.QueryInt("SELECT count(*) FROM main.Para WHERE Luna > ?", month).value_or(0) > 0;
}

}  // namespace traveno::params
