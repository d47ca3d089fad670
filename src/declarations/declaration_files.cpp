#include "declarations/declaration_files.h"

#include <cmath>
#include <vector>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/text.h"
#include "declarations/file_fields.h"
#include "declarations/fixed_width_line.h"

namespace traveno::declarations {

const DeclarationEmployer& RequireEmployer(const std::optional<DeclarationEmployer>& employer) {
  if (!employer) throw Error(kEmployerNotInRegister);
  return *employer;
}

double DigitsAsNumber(std::string_view text) { return ParseNumber(DigitsOnly(text), 0); }

FileOutcome WritePersonLines(const std::filesystem::path& path, std::size_t count,
                             const std::function<std::string(std::size_t)>& line,
                             const std::function<std::string(std::size_t)>& name,
                             const std::string& failure_prefix, Prompter& prompter) {
  FileOutcome outcome;
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < count; ++i) {
    try {
      lines.push_back(line(i));
    } catch (const Error&) {
      prompter.Message(MessageKind::kError, failure_prefix + name(i));
      outcome.failed = true;
      break;
    }
  }
  WriteTextLines(path, lines);
  outcome.records = static_cast<int>(lines.size());
  return outcome;
}

FileOutcome WritePersonRecords(const std::filesystem::path& path, std::string_view spec, Date today,
                               std::size_t count,
                               const std::function<void(std::size_t, DbfRecord&)>& fill,
                               const std::function<std::string(std::size_t)>& name,
                               const std::string& failure_prefix, Prompter& prompter) {
  FileOutcome outcome;
  std::optional<DbfTable> table = CreateTableForRecords(path, spec, today);
  if (!table) return outcome;
  for (std::size_t i = 0; i < count; ++i) {
    try {
      DbfRecord record = table->NewRecord();
      fill(i, record);
      table->Append(record);
      ++outcome.records;
    } catch (const Error&) {
      prompter.Message(MessageKind::kError, failure_prefix + name(i));
      outcome.failed = true;
      break;
    }
  }
  table->Save();
  return outcome;
}

FileOutcome WriteEmployerLine(const std::filesystem::path& path,
                              const std::function<std::string()>& line, const std::string& failure,
                              Prompter& prompter) {
  FileOutcome outcome;
  try {
    WriteTextLines(path, {line()});
    outcome.records = 1;
  } catch (const Error&) {
    prompter.Message(MessageKind::kError, failure);
    outcome.failed = true;
  }
  return outcome;
}

FileOutcome WriteEmployerRecord(const std::filesystem::path& path, std::string_view spec,
                                Date today, const std::function<void(DbfRecord&)>& fill,
                                const std::string& failure, Prompter& prompter) {
  FileOutcome outcome;
  std::optional<DbfTable> table = CreateTableForRecords(path, spec, today);
  if (!table) return outcome;
  try {
    DbfRecord record = table->NewRecord();
    fill(record);
    table->Append(record);
    table->Save();
    outcome.records = 1;
  } catch (const Error&) {
    prompter.Message(MessageKind::kError, failure);
    outcome.failed = true;
  }
  return outcome;
}

std::string SavingText(const std::filesystem::path& path) { return "Salvez in " + path.string(); }

bool TakesDbfRecords(const std::filesystem::path& path) {
  return EqualsIgnoreCase(path.filename().extension().string(), ".dbf");
}

std::optional<DbfTable> CreateTableForRecords(const std::filesystem::path& path,
                                              std::string_view spec, Date today) {
  if (CreateDbfTable(path, spec, today) != 0 || !TakesDbfRecords(path)) return std::nullopt;
  return DbfTable::Open(path);
}

Date MonthAfter(Date month) { return AddMonths(FirstOfMonth(month), 1); }

std::optional<Date> PayDate(Date month, double zi_lichidare) {
  if (!(zi_lichidare >= 1 && zi_lichidare < 32)) return std::nullopt;
  const Date next = MonthAfter(month);
  return Date::TryFromYmd(next.year(), next.month(), static_cast<int>(std::trunc(zi_lichidare)));
}

}  // namespace traveno::declarations
