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

double DigitsAsNumber(std::string_view text) {
  // Up to 15 digits make a whole number a double holds exactly, read here
  // as the general parse would read it; longer codes take that parse.
  double value = 0;
  int digits = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') continue;
    if (++digits > 15) return ParseNumber(DigitsOnly(text), 0);
    value = value * 10 + (c - '0');
  }
  return value;
}

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
  outcome.written = true;
  outcome.records = static_cast<int>(lines.size());
  return outcome;
}

namespace {

// The table of a file, held in memory until it is written whole; whether it
// takes records.
DbfTable NewTable(const std::filesystem::path& path, std::string_view spec, Date today,
                  bool& takes_records) {
  int flags = 0;
  DbfTable table = DbfTable::Create(path, spec, today, flags);
  takes_records = flags == 0 && TakesDbfRecords(path);
  return table;
}

}  // namespace

FileOutcome WritePersonRecords(const std::filesystem::path& path, std::string_view spec, Date today,
                               std::size_t count,
                               const std::function<void(std::size_t, DbfRecord&)>& fill,
                               const std::function<std::string(std::size_t)>& name,
                               const std::string& failure_prefix, Prompter& prompter) {
  FileOutcome outcome;
  bool takes_records = false;
  DbfTable table = NewTable(path, spec, today, takes_records);
  for (std::size_t i = 0; takes_records && i < count; ++i) {
    try {
      DbfRecord record = table.NewRecord();
      fill(i, record);
      table.Append(record);
      ++outcome.records;
    } catch (const Error&) {
      prompter.Message(MessageKind::kError, failure_prefix + name(i));
      outcome.failed = true;
      break;
    }
  }
  table.Save();
  outcome.written = true;
  return outcome;
}

FileOutcome WriteEmployerLine(const std::filesystem::path& path,
                              const std::function<std::string()>& line, const std::string& failure,
                              Prompter& prompter) {
  FileOutcome outcome;
  std::string text;
  try {
    text = line();
  } catch (const Error&) {
    prompter.Message(MessageKind::kError, failure);
    outcome.failed = true;
    return outcome;
  }
  WriteTextLines(path, {text});
  outcome.written = true;
  outcome.records = 1;
  return outcome;
}

FileOutcome WriteEmployerRecord(const std::filesystem::path& path, std::string_view spec,
                                Date today, const std::function<void(DbfRecord&)>& fill,
                                const std::string& failure, Prompter& prompter) {
  FileOutcome outcome;
  bool takes_records = false;
  DbfTable table = NewTable(path, spec, today, takes_records);
  if (takes_records) {
    try {
      DbfRecord record = table.NewRecord();
      fill(record);
      table.Append(record);
    } catch (const Error&) {
      // An employer table without its record would be a declaration of
      // nothing: the file is not written.
      prompter.Message(MessageKind::kError, failure);
      outcome.failed = true;
      return outcome;
    }
    outcome.records = 1;
  }
  table.Save();
  outcome.written = true;
  return outcome;
}

std::string SavingText(const std::filesystem::path& path) { return "Salvez in " + path.string(); }

bool TakesDbfRecords(const std::filesystem::path& path) {
  return EqualsIgnoreCase(path.filename().extension().string(), ".dbf");
}

Date MonthAfter(Date month) { return AddMonths(FirstOfMonth(month), 1); }

std::optional<Date> PayDate(Date month, double zi_lichidare) {
  if (!(zi_lichidare >= 1 && zi_lichidare < 32)) return std::nullopt;
  const Date next = MonthAfter(month);
  return Date::TryFromYmd(next.year(), next.month(), static_cast<int>(std::trunc(zi_lichidare)));
}

}  // namespace traveno::declarations
