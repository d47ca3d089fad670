#include "declarations/efiling_files.h"

#include <functional>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/windows1250.h"
#include "declarations/dbf_table.h"
#include "declarations/efiling_records.h"
#include "declarations/efiling_table_fields.h"
#include "declarations/yearly_persons.h"

namespace traveno::declarations {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRepProblem = "Au aparut probleme !";

// The file's name in the messages and wait texts.
const char* ShortName(FilingFile file) {
  switch (file) {
    case FilingFile::kRep:
      return "RepFisc";
    case FilingFile::kFf1:
      return "FF1";
    case FilingFile::kFf2:
      return "FF2";
    case FilingFile::kDed:
      return "Deduceri";
  }
  return "";
}

std::string RecordProblem(FilingFile file, FilingForm form, std::string_view nume,
                          std::string_view prenume) {
  const std::string extension = form == FilingForm::kDbf ? ".dbf" : ".txt";
  return "Au aparut probleme la " + std::string(ShortName(file)) + extension + " pentru " +
         std::string(nume) + " " + std::string(prenume) + "!";
}

std::string RecordProblem(FilingFile file, FilingForm form, const YearlyPerson& person) {
  return RecordProblem(file, form, person.NUME, person.PRENUME);
}

std::string RecordProblem(FilingFile file, FilingForm form, const YearlyDependant& dependant) {
  return RecordProblem(file, form, dependant.Nume, dependant.Prenume);
}

// Lines in Windows-1250, each ended by CR LF, the last included.
void WriteLines(const fs::path& path, const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) content += ToWindows1250(line) + "\r\n";
  WriteFileAtomically(path, content);
}

const char* SpecOf(FilingFile file) {
  switch (file) {
    case FilingFile::kRep:
      return kRepDbfSpec;
    case FilingFile::kFf1:
      return kFf1DbfSpec;
    case FilingFile::kFf2:
      return kFf2DbfSpec;
    case FilingFile::kDed:
      return kDedDbfSpec;
  }
  return "";
}

FilingOutcome WriteRep(const YearSource& source, FilingForm form, const fs::path& path,
                       Date today) {
  FilingOutcome outcome{path, false, std::nullopt};
  if (!source.company) return outcome;
  const bool older = GenerationOf(source.year) == Generation::kBefore2002;
  if (form == FilingForm::kTxt) {
    std::string line;
    try {
      line = older ? RepFiscLine(*source.company) : RepLine(*source.company);
    } catch (const Error&) {
      outcome.error = kRepProblem;
      return outcome;
    }
    WriteLines(path, {line});
    outcome.written = true;
    return outcome;
  }
  // The empty table is written first; a record is added only when the
  // spec made its fields without warnings and the record could be filled.
  outcome.written = true;
  int flags = 0;
  DbfTable table = DbfTable::Create(path, kRepDbfSpec, today, flags);
  if (flags == 0) {
    DbfRecord record = table.NewRecord();
    try {
      FillRep(record, *source.company);
      table.Append(record);
    } catch (const Error&) {
      outcome.error = kRepProblem;
    }
  }
  table.Save();
  return outcome;
}

// Writes one record per item; a failing record ends the file with the
// message naming it, and what was written before it stays.
template <typename Item>
FilingOutcome WriteItems(FilingFile file, FilingForm form, const fs::path& path, Date today,
                         const std::vector<Item>& items,
                         const std::function<std::string(const Item&)>& line_of,
                         const std::function<void(DbfRecord&, const Item&)>& fill,
                         bool text_errors_handled) {
  FilingOutcome outcome{path, true, std::nullopt};
  if (form == FilingForm::kTxt) {
    std::vector<std::string> lines;
    lines.reserve(items.size());
    for (const Item& item : items) {
      if (!text_errors_handled) {
        lines.push_back(line_of(item));
        continue;
      }
      try {
        lines.push_back(line_of(item));
      } catch (const Error&) {
        outcome.error = RecordProblem(file, form, item);
        break;
      }
    }
    WriteLines(path, lines);
    return outcome;
  }
  // The empty table is written in any case; records only when the field list made
  // its fields without warnings.
  int flags = 0;
  DbfTable table = DbfTable::Create(path, SpecOf(file), today, flags);
  for (std::size_t i = 0; flags == 0 && i < items.size(); ++i) {
    DbfRecord record = table.NewRecord();
    try {
      fill(record, items[i]);
    } catch (const Error&) {
      outcome.error = RecordProblem(file, form, items[i]);
      break;
    }
    table.Append(record);
  }
  table.Save();
  return outcome;
}

}  // namespace

std::string FilingFileName(FilingFile file, int year, FilingForm form) {
  const std::string y = std::to_string(year);
  if (GenerationOf(year) == Generation::kBefore2002) {
    return std::string(ShortName(file)) + ".txt";
  }
  if (form == FilingForm::kDbf) {
    static constexpr const char* kDbfPrefixes[] = {"REP_", "FF1_", "FF2_", "DED_"};
    return kDbfPrefixes[static_cast<int>(file)] + y + ".DBF";
  }
  static constexpr const char* kTxtPrefixes[] = {"Rep_", "FF1_", "FF2_", "Ded_"};
  return kTxtPrefixes[static_cast<int>(file)] + y + ".txt";
}

std::string ProposedFileName(FilingFile file, int year, FilingForm form) {
  if (GenerationOf(year) == Generation::kBefore2002 || form == FilingForm::kDbf) {
    return FilingFileName(file, year, form);
  }
  static constexpr const char* kPrefixes[] = {"REP_", "FF1_", "FF2_", "DED_"};
  return kPrefixes[static_cast<int>(file)] + std::to_string(year) + ".txt";
}

std::string FilingWaitText(FilingFile file, FilingForm form) {
  const std::string extension = form == FilingForm::kDbf ? ".DBF" : ".txt";
  // The employer's file has two blanks before its name.
  const std::string gap = file == FilingFile::kRep ? "  " : " ";
  return "Salvez date in fisierul" + gap + ShortName(file) + extension;
}

fs::path FilingTarget(FilingFile file, int year, FilingForm form, const fs::path& chosen) {
  form = FormOfYear(year, form);
  if (form == FilingForm::kDbf) return chosen;
  return chosen.parent_path() / FilingFileName(file, year, form);
}

FilingForm FormOfYear(int year, FilingForm wanted) {
  return GenerationOf(year) == Generation::kBefore2002 ? FilingForm::kTxt : wanted;
}

FilingOutcome WriteFilingFile(const YearSource& source, FilingFile file, FilingForm form,
                              const fs::path& path, Date today) {
  form = FormOfYear(source.year, form);
  if (file == FilingFile::kRep) return WriteRep(source, form, path, today);

  const YearParameters& parameters = source.parameters;
  const int year = source.year;
  const bool older = GenerationOf(year) == Generation::kBefore2002;
  const Generation generation = GenerationOf(year);
  if (file == FilingFile::kDed) {
    const auto permanent = GatherYearlyPersons(source, kPermanentKind, generation);
    const auto dependants = GatherYearlyDependants(source, permanent);
    return WriteItems<YearlyDependant>(
        file, form, path, today, dependants,
        [&](const YearlyDependant& d) { return older ? DeduceriLine(d) : DedLine(d); },
        [&](DbfRecord& record, const YearlyDependant& d) { FillDed(record, d); }, true);
  }
  const bool permanent = file == FilingFile::kFf1;
  const auto persons =
      GatherYearlyPersons(source, permanent ? kPermanentKind : kPartialKind, generation);
  return WriteItems<YearlyPerson>(
      file, form, path, today, persons,
      [&](const YearlyPerson& p) {
        if (older) return FfLineBefore2002(p, parameters, permanent);
        return permanent ? Ff1Line(p, parameters, year) : Ff2Line(p, parameters);
      },
      [&](DbfRecord& record, const YearlyPerson& p) {
        if (permanent) {
          FillFf1(record, p, parameters, year);
        } else {
          FillFf2(record, p, parameters);
        }
      },
      false);
}

}  // namespace traveno::declarations
