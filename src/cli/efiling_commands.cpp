#include "cli/efiling_commands.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/cli_prompter.h"
#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "cli/report_commands.h"
#include "cli/terminal_progress.h"
#include "core/clock.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/text.h"
#include "declarations/efiling_files.h"
#include "declarations/fiscal_lists.h"
#include "declarations/fiscal_sheet.h"
#include "declarations/fiscal_sheet_document.h"
#include "declarations/year_source.h"
#include "reports/document_text.h"

namespace traveno::cli {
namespace {

using nlohmann::json;
namespace decl = declarations;

struct EfilingOptions {
  std::string cod;
  std::string month;
  int year = 0;
  bool dbf = false;
  std::string out;
};

struct SheetOptions {
  std::string cod;
  std::string month;
  int iid = 0;
  int year = 0;
  std::string tip;
  bool text = false;
  std::string pdf;
};

void Refuse(CliContext& context, const std::string& message) {
  *context.err << TerminalText(message) << "\n";
  context.exit_code = 1;
}

// Opens the company on the month given (else its last month) and checks that
// the year is the working month's; false (the message shown) otherwise.
bool OpenForYear(CliSession& cli, const std::string& cod, const std::string& month, int year,
                 const char* warning) {
  std::optional<Date> working;
  if (!month.empty()) working = ParseMonthArgument(month);
  if (!cli.Open(UpperTrim(cod), working)) {
    cli.context.exit_code = 1;
    return false;
  }
  if (!decl::IsWorkingYear(year, cli.session->working_month())) {
    Refuse(cli.context, warning);
    return false;
  }
  return true;
}

void Efiling(CliContext& context, const EfilingOptions& options) {
  if (options.out.empty()) {
    // An empty folder would write the files wherever the command runs.
    Refuse(context, "Alegeti directorul in care se scriu fisierele (--out) !");
    return;
  }
  CliSession cli(context);
  if (!OpenForYear(cli, options.cod, options.month, options.year, decl::kFilingYearWarning)) {
    return;
  }
  const decl::FilingForm wanted = options.dbf ? decl::FilingForm::kDbf : decl::FilingForm::kTxt;
  if (decl::FormOfYear(options.year, wanted) != wanted) {
    Refuse(context, "Pentru anii dinaintea lui 2002 se scriu numai fisiere TXT !");
    return;
  }
  const std::unique_ptr<ProgressReporter> progress = CommandProgress(context);
  std::optional<decl::YearSource> read;
  {
    WaitScope wait(*progress, "Transmitere electronica FF", "Se citesc lunile anului...");
    read = decl::ReadYearSource(cli.session->db(), cli.session->company(), options.year);
  }
  const decl::YearSource& source = *read;
  const Date today = Today();
  json written = json::array();
  json problems = json::array();
  // No file is written when one of them would land on a file of the program.
  for (const decl::FilingFile file : decl::kFilingFiles) {
    RequireOutputFile(
        cli.store->data_folder(),
        std::filesystem::path(options.out) / decl::FilingFileName(file, options.year, wanted));
  }
  for (const decl::FilingFile file : decl::kFilingFiles) {
    const std::filesystem::path path =
        std::filesystem::path(options.out) / decl::FilingFileName(file, options.year, wanted);
    decl::FilingOutcome outcome;
    try {
      // The line says which file is written; it is gone before the file's
      // name or its problem is printed.
      WaitScope wait(*progress, "Transmitere electronica FF",
                     "Se scrie " + path.filename().string() + "...");
      outcome = decl::WriteFilingFile(source, file, wanted, path, today);
    } catch (const OsError& error) {
      Refuse(context, error.what());
      return;
    }
    if (outcome.error) {
      problems.push_back(*outcome.error);
      Refuse(context, *outcome.error);
    }
    if (outcome.written) {
      written.push_back(path.string());
      if (!context.json) *context.out << path.string() << "\n";
    }
  }
  if (context.json) {
    *context.out << json{{"an", options.year}, {"fisiere", written}, {"probleme", problems}}.dump(
                        2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
  }
}

// The kind of the person's latest row in the year; empty when it has none.
std::string KindInYear(const decl::YearSource& source, int iid) {
  std::string kind;
  for (const PersRow& row : source.pers) {
    if (row.IID == iid) kind = row.TIP;
  }
  return kind;
}

json Amount(long double value) { return static_cast<double>(value); }

json SheetJson(const decl::FiscalSheet& sheet) {
  json months = json::array();
  for (const decl::SheetMonth& m : sheet.months) {
    months.push_back({{"luna", m.LUNA.ToIso().substr(0, 7)},
                      {"CoefInd", m.CoefInd},
                      {"VENIT_NET", m.VENIT_NET},
                      {"DED_PERS", m.DED_PERS},
                      {"DED_PERS_SUPLI", m.DED_PERS_SUPLI},
                      {"VENITBC", m.VENITBC},
                      {"IMPOZIT", m.IMPOZIT},
                      {"BazaPR_VA", m.BazaPR_VA},
                      {"ImpoPR_VA", m.ImpoPR_VA},
                      {"CH_PROF", m.CH_PROF}});
  }
  json result = {{"an", sheet.year},
                 {"tip", sheet.kind},
                 {"nume", sheet.employee.Nume},
                 {"prenume", sheet.employee.Prenume},
                 {"cnp", sheet.employee.CodNumPers},
                 {"luni", months},
                 {"total",
                  {{"venit_net", Amount(sheet.totals.net_income)},
                   {"impozit", Amount(sheet.totals.tax)},
                   {"venit_baza", Amount(sheet.totals.taxable)},
                   {"cheltuieli_profesionale", Amount(sheet.totals.ch_prof)}}},
                 {"regularizare", sheet.regularisation}};
  if (sheet.section_vi) {
    const decl::RegularisationLines& r = *sheet.section_vi;
    const auto optional = [](const std::optional<long double>& value) {
      return value ? Amount(*value) : json(nullptr);
    };
    result["sectiunea_VI"] =
        json::array({Amount(r.venit_net), Amount(r.ch_prof_acordate), Amount(r.ch_prof_cuvenite),
                     Amount(r.venit_recalculat), Amount(r.deduceri_cuvenite), Amount(r.venit_baza),
                     Amount(r.impozit_anual), Amount(r.impozit_retinut), optional(r.de_achitat),
                     optional(r.de_restituit)});
  }
  return result;
}

void FiscalSheetCommand(CliContext& context, const SheetOptions& options) {
  CliSession cli(context);
  if (!OpenForYear(cli, options.cod, options.month, options.year, decl::kSheetYearWarning)) {
    return;
  }
  const decl::YearSource source =
      decl::ReadYearSource(cli.session->db(), cli.session->company(), options.year);
  const std::string kind = options.tip.empty() ? KindInYear(source, options.iid) : options.tip;
  if (kind.empty() || decl::RowsOfPerson(source, options.iid, kind).empty()) {
    Refuse(context, "Persoana cu IID " + std::to_string(options.iid) + " nu are linii de tipul " +
                        (kind.empty() ? std::string("cerut") : kind) + " in anul " +
                        std::to_string(options.year) + " !");
    return;
  }
  const decl::FiscalSheet sheet = decl::PrepareFiscalSheet(source, options.iid, kind);
  if (!options.pdf.empty()) {
    WritePdfFile(context, reports::Prepare(decl::FiscalSheetReport(sheet)), options.pdf);
    *context.out << options.pdf << "\n";
    if (!options.text) return;
  }
  if (context.json && !options.text) {
    *context.out << SheetJson(sheet).dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
  } else {
    *context.out << reports::DocumentText(reports::Prepare(decl::FiscalSheetReport(sheet)));
  }
}

}  // namespace

void RegisterEfilingCommands(CLI::App& app, CliContext& context) {
  auto efiling_options = std::make_shared<EfilingOptions>();
  CLI::App* efiling = app.add_subcommand(
      "efiling", "Fisierele de transmitere electronica ale fiselor fiscale pe un an");
  efiling->add_option("--cod", efiling_options->cod, "Codul firmei")->required();
  efiling->add_option("--year", efiling_options->year, "Anul (al lunii de lucru)")->required();
  efiling->add_option("--month", efiling_options->month,
                      "Luna de lucru AAAA-LL (altfel ultima luna a firmei)");
  efiling->add_flag("--dbf", efiling_options->dbf, "Fisiere DBF in loc de TXT (din 2002)");
  efiling->add_option("--out", efiling_options->out, "Directorul in care se scriu fisierele")
      ->required();
  efiling->callback([&context, efiling_options] { Efiling(context, *efiling_options); });

  auto sheet_options = std::make_shared<SheetOptions>();
  CLI::App* sheet = app.add_subcommand("fiscal-sheet", "Fisa fiscala a unei persoane pe un an");
  sheet->add_option("--cod", sheet_options->cod, "Codul firmei")->required();
  sheet->add_option("--iid", sheet_options->iid, "IID-ul persoanei")->required();
  sheet->add_option("--year", sheet_options->year, "Anul (al lunii de lucru)")->required();
  sheet->add_option("--month", sheet_options->month,
                    "Luna de lucru AAAA-LL (altfel ultima luna a firmei)");
  sheet
      ->add_option("--tip", sheet_options->tip,
                   "1 (FF1) sau 2 (FF2); altfel tipul ultimei linii din an")
      ->check(CLI::IsMember({"1", "2"}));
  sheet->add_flag("--text", sheet_options->text, "Fisa ca text (implicit fara --pdf)");
  sheet->add_option("--pdf", sheet_options->pdf, "Scrie fisa in fisierul PDF dat");
  sheet->callback([&context, sheet_options] { FiscalSheetCommand(context, *sheet_options); });
}

}  // namespace traveno::cli
