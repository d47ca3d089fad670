#include "cli/declaration_commands.h"

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "cli/report_commands.h"
#include "core/clock.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/settings.h"
#include "core/text.h"
#include "declarations/cas_documents.h"
#include "declarations/cas_files.h"
#include "declarations/health_documents.h"
#include "declarations/unemployment_documents.h"
#include "declarations/unemployment_files.h"
#include "declarations/write_protected.h"
#include "reports/document_text.h"

namespace traveno::cli {
namespace {

namespace fs = std::filesystem;
using namespace declarations;  // NOLINT: the commands speak the declarations' vocabulary
using nlohmann::json;

inline constexpr const char* kNoEmployees =
    "Luna de lucru nu are angajati: nu este nimic de declarat.";

struct DeclarationOptions {
  std::string cod;
  std::string month;
  std::string nr;
  std::string date;
  std::optional<std::string> nume, prenume, functie;
  bool text = false;
  std::string pdf;
  std::string files;
  bool dbf = false;
};

struct CasOptions {
  DeclarationOptions common;
  std::optional<std::string> judet;
};

struct SomajOptions {
  DeclarationOptions common;
  std::optional<double> paid_insured, paid_employer;
  std::string mode;
  std::optional<double> ded, rest_an, rest_as, penal, maj;
};

struct SanatateOptions {
  DeclarationOptions common;
  std::optional<double> paid[3], arrears[3], increases[3];
  std::optional<std::string> lists;
};

void AddCommonOptions(CLI::App* command, DeclarationOptions& o, bool files) {
  command->add_option("--cod", o.cod, "Codul firmei")->required();
  command->add_option("--month", o.month, "Luna de lucru AAAA-LL")->required();
  command->add_option("--nr", o.nr, "Numarul declaratiei");
  command->add_option("--date", o.date, "Data declaratiei ZZ.LL.AAAA (altfel ziua de azi)");
  command->add_option("--nume", o.nume, "Numele declarantului (altfel cel pastrat)");
  command->add_option("--prenume", o.prenume, "Prenumele declarantului");
  command->add_option("--functie", o.functie, "Functia declarantului");
  auto* text = command->add_flag("--text", o.text, "Afiseaza declaratiile tiparite ca text");
  auto* pdf = command->add_option(
      "--pdf", o.pdf,
      "Scrie declaratiile tiparite ca PDF (a doua in FISIER_2.pdf, a treia in FISIER_3.pdf...)");
  if (files) {
    auto* folder =
        command->add_option("--files", o.files, "Scrie fisierele electronice in directorul dat");
    command->add_flag("--dbf", o.dbf, "Fisierele electronice in format DBF (altfel TXT)")
        ->needs(folder);
    text->excludes(folder);
    pdf->excludes(folder);
  }
}

Date ParseDeclarationDate(const std::string& text) {
  if (text.empty()) return Today();
  if (auto date = Date::ParseText(text)) return *date;
  if (auto date = Date::ParseIso(text)) return *date;
  throw Error("Data declaratiei invalida: " + text + " (se asteapta ZZ.LL.AAAA)");
}

// The declarant: the stored one, with what the options give instead.
DeclarationHeader HeaderOf(const DeclarationOptions& o, const fs::path& data_folder) {
  DeclarationHeader header;
  header.number = o.nr;
  header.date = ParseDeclarationDate(o.date);
  header.signer = LoadSigner(data_folder);
  if (o.nume) header.signer.nume = *o.nume;
  if (o.prenume) header.signer.prenume = *o.prenume;
  if (o.functie) header.signer.functie = *o.functie;
  return header;
}

bool OpenMonth(CliSession& cli, const DeclarationOptions& o) {
  if (cli.Open(UpperTrim(o.cod), ParseMonthArgument(o.month))) return true;
  cli.context.exit_code = 1;
  return false;
}

// Shows the printed declarations: their pages as text, or each written as
// a PDF file (the first at `pdf`, the next ones beside it numbered _2, _3...).
void PrintDocuments(CliContext& context, const DeclarationOptions& options,
                    const std::vector<reports::Report>& reports) {
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const reports::Document document = reports::Prepare(reports[i]);
    if (options.text) *context.out << reports::DocumentText(document);
    if (options.pdf.empty()) continue;
    fs::path file(options.pdf);
    if (i > 0) {
      file = file.parent_path() /
             (file.stem().string() + "_" + std::to_string(i + 1) + file.extension().string());
    }
    WritePdfFile(document, file.string());
    if (!options.text) *context.out << document.title << ": " << file.string() << "\n";
  }
}

// Whether the printed declarations are wanted (as text or PDF).
bool WantsDocuments(const DeclarationOptions& options) {
  return options.text || !options.pdf.empty();
}

fs::path FilesFolder(const std::string& folder) {
  const fs::path path(folder);
  std::error_code error;
  fs::create_directories(path, error);
  if (!fs::is_directory(path)) throw Error("Directorul " + folder + " nu poate fi creat !");
  return path;
}

double Number(long double value) { return static_cast<double>(value); }

// A figure of a plain listing: numbers as the program writes them.
std::string PlainValue(const json& value) {
  return value.is_number() ? FormatNumber(value.get<double>(), NumberMask::kUpToTwoDecimals)
                           : value.dump(-1, ' ', false, kReplaceInvalidUtf8);
}

// Reports the files written, and names those that were not; a failed file
// fails the command.
void ReportFiles(CliContext& context, const std::vector<std::pair<fs::path, FileOutcome>>& files) {
  json written = json::array();
  for (const auto& [path, outcome] : files) {
    if (outcome.failed) context.exit_code = 1;
    if (!outcome.written) {
      *context.err << TerminalText("Fisierul " + path.string() + " nu a fost scris !") << "\n";
      continue;
    }
    written.push_back({{"fisier", path.string()}, {"inregistrari", outcome.records}});
    if (!context.json) {
      *context.out << "Salvez in " << path.string() << ": " << outcome.records << " inregistrari\n";
    }
  }
  if (context.json)
    *context.out << json{{"fisiere", written}}.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
}

void RunCas(CliContext& context, const CasOptions& options) {
  CliSession cli(context);
  if (!OpenMonth(cli, options.common)) return;
  params::Session& session = *cli.session;
  const fs::path data_folder = session.store().data_folder();
  DeclarationHeader header = HeaderOf(options.common, data_folder);
  if (options.judet) header.signer.cod_judet = *options.judet;
  const SignerKeeping keeping = KeepSigner(data_folder, header.signer, true);
  header.signer = keeping.signer;
  if (!keeping.kept) {
    // Told, and the declaration is still made with the declarant typed.
    *context.err << kSignerNotKept << "\n";
    context.exit_code = 1;
  }

  const CasDeclaration declaration = BuildCasDeclaration(session);
  if (!declaration.has_rows) {
    *context.err << kNoEmployees << "\n";
    context.exit_code = 1;
    return;
  }
  const int nrf = CasNominalPageCount(declaration, header);
  if (WantsDocuments(options.common)) {
    PrintDocuments(
        context, options.common,
        {CasNominalReport(declaration, header), CasSummaryReport(declaration, header, nrf)});
    return;
  }
  if (!options.common.files.empty()) {
    const fs::path folder = FilesFolder(options.common.files);
    const CasEmployerExtras extras{nrf, header.signer.cod_judet};
    const FilingForm form = options.common.dbf ? FilingForm::kDbf : FilingForm::kTxt;
    std::vector<std::pair<fs::path, FileOutcome>> written;
    try {
      for (const CasFile file : {CasFile::kA11, CasFile::kA12}) {
        const fs::path path = folder / CasFileName(file, form);
        written.emplace_back(
            path, WriteCasFile(file, form, path, declaration, extras, Today(), cli.prompter));
      }
    } catch (const OsError& error) {
      // A folder the user may not write to is the user's to change, as for
      // the other declarations' files: told, not reported as a fault.
      ReportFiles(context, written);
      *context.err << TerminalText(error.what()) << "\n";
      context.exit_code = 1;
      return;
    }
    ReportFiles(context, written);
    return;
  }
  const CasTotals& t = declaration.totals;
  json persons = json::array();
  for (const CasPerson& p : declaration.persons) {
    persons.push_back({{"nume", p.nume},
                       {"prenume", p.prenume},
                       {"cnp", p.codnumpers},
                       {"CM", p.flags.cm},
                       {"CV", p.flags.cv},
                       {"PE", p.flags.pe},
                       {"SOM", p.flags.som},
                       {"TT", Number(p.total_zile)},
                       {"NN", Number(p.zile_norm)},
                       {"PP", Number(p.zile_prest)},
                       {"TV", Number(p.baza_cas)},
                       {"CASAT", Number(p.pensie)},
                       {"CASTOT", Number(p.total_prest)},
                       {"BASS", Number(p.bass)}});
  }
  const json figures = {{"SB", Number(t.SB)},
                        {"SP", Number(t.SP)},
                        {"SS", Number(t.SS)},
                        {"EC", Number(t.EC)},
                        {"HC", Number(t.HC)},
                        {"AC", Number(t.AC)},
                        {"NRM", Number(t.NRM)},
                        {"NRF", nrf},
                        {"CAS_datorat_angajator", Number(t.DueByEmployer())},
                        {"CAS_de_virat", Number(t.ToTransfer())}};
  if (context.json) {
    *context.out << json{{"luna", MonthArgument(declaration.month)},
                         {"asigurati", persons},
                         {"total", figures}}
                        .dump(2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
    return;
  }
  *context.out << "Declaratia CAS pe " << MonthText(declaration.month) << "\n";
  for (const auto& [name, value] : figures.items()) {
    *context.out << "  " << PadRight(name, 22) << PlainValue(value) << "\n";
  }
  *context.out << "  " << declaration.persons.size() << " asigurati declarati\n";
}

SpreadMode ModeOption(const std::string& mode, const UnemploymentFigures& stored) {
  if (mode.empty()) {
    // The window preselects the spread stored for the month.
    return SpreadModeOf(stored.TipCalcul) == SpreadMode::kProportional ? SpreadMode::kProportional
                                                                       : SpreadMode::kFirstInsured;
  }
  if (mode == "proportional") return SpreadMode::kProportional;
  return SpreadMode::kFirstInsured;
}

json UnemploymentJson(const UnemploymentDeclaration& d) {
  json persons = json::array();
  for (const UnemploymentRow& row : d.rows) {
    persons.push_back({{"nume", row.nume},
                       {"prenume", row.prenume},
                       {"cnp", row.codnumpers},
                       {"tip", row.tip},
                       {"baza", Number(row.baza_somaj)},
                       {"datorat", Number(row.somaj)},
                       {"virat", Number(row.paid)},
                       {"nevirat", Number(row.unpaid)},
                       {"in_fisier", row.in_file},
                       {"tiparit", row.printed}});
  }
  const UnemploymentFigures& f = d.stored;
  return {{"luna", MonthArgument(d.month)},
          {"SDAsig", f.SDAsig},
          {"SVAsig", f.SVAsig},
          {"SDAng", f.SDAng},
          {"SVAng", f.SVAng},
          {"DedSomaj", f.DedSomaj},
          {"RestAs", f.RestAs},
          {"RestAn", f.RestAn},
          {"Penal", f.Penal},
          {"Maj", f.Maj},
          {"TipCalcul", f.TipCalcul},
          {"CalculSomaj", f.CalculSomaj},
          {"NRM", Number(d.NRM)},
          {"FS", Number(d.FS)},
          {"total_nevirat", d.summary.grand_unpaid},
          {"asigurati", persons}};
}

void RunSomaj(CliContext& context, const SomajOptions& options) {
  CliSession cli(context);
  if (!OpenMonth(cli, options.common)) return;
  params::Session& session = *cli.session;
  const DeclarationHeader header = HeaderOf(options.common, session.store().data_folder());
  const UnemploymentOpening opening = OpenUnemploymentDeclaration(session, cli.progress);

  UnemploymentInput input;
  input.due_insured = Number(opening.due_insured);
  input.due_employer = Number(opening.due_employer);
  input.paid_insured = options.paid_insured.value_or(opening.paid_insured);
  input.paid_employer = options.paid_employer.value_or(opening.paid_employer);
  input.DedSomaj = options.ded.value_or(opening.stored.DedSomaj);
  input.RestAn = options.rest_an.value_or(opening.stored.RestAn);
  input.RestAs = options.rest_as.value_or(opening.stored.RestAs);
  input.Penal = options.penal.value_or(opening.stored.Penal);
  input.Maj = options.maj.value_or(opening.stored.Maj);
  input.calcul_somaj_at_opening = opening.stored.CalculSomaj;
  // A typed amount that cannot be kept is refused before any notice about it.
  CheckUnemploymentInput(input);
  switch (CheckInsuredPaid(input.paid_insured, opening.due_insured)) {
    case InsuredPaidCheck::kBelowDue: {
      input.chosen_mode = ModeOption(options.mode, opening.stored);
      cli.prompter.Message(MessageKind::kInformation,
                           *input.chosen_mode == SpreadMode::kProportional ? kSpreadProportional
                                                                           : kSpreadFirstInsured);
      break;
    }
    case InsuredPaidCheck::kAboveDue:
      cli.prompter.Message(MessageKind::kWarning, kInsuredPaidAboveDue);
      break;
    case InsuredPaidCheck::kEqualDue:
      break;
  }
  if (EmployerPaidAboveDue(input.paid_employer, opening.due_employer)) {
    cli.prompter.Message(MessageKind::kWarning, kEmployerPaidAboveDue);
  }
  // Over a data folder that cannot be written the declaration is made from
  // the stored rows with the figures as typed, and the user told.
  std::optional<UnemploymentFigures> unsaved;
  try {
    ConfirmUnemploymentDeclaration(session, input, header.signer);
  } catch (const Error& error) {
    if (!IsWriteProtected(error)) throw;
    unsaved = FiguresOfConfirmation(input, opening.stored);
  }
  if (opening.write_protected || unsaved) {
    *context.err << kFiguresNotKept << "\n";
    context.exit_code = 1;
  }
  if (!opening.has_rows) {
    // As for the other declarations: nothing to declare is a failure.
    *context.err << kNoEmployees << "\n";
    context.exit_code = 1;
    return;
  }

  try {
    const UnemploymentDeclaration declaration = BuildUnemploymentDeclaration(session, unsaved);
    if (WantsDocuments(options.common)) {
      PrintDocuments(context, options.common,
                     {UnemploymentNominalReport(declaration, header),
                      UnemploymentSummaryReport(declaration, header)});
    } else if (!options.common.files.empty()) {
      const fs::path folder = FilesFolder(options.common.files);
      const FilingForm form = options.common.dbf ? FilingForm::kDbf : FilingForm::kTxt;
      std::vector<std::pair<fs::path, FileOutcome>> written;
      for (const UnemploymentFile file : {UnemploymentFile::kA1, UnemploymentFile::kA2}) {
        const fs::path path = folder / UnemploymentFileName(file, form);
        written.emplace_back(path, WriteUnemploymentFile(file, form, path, declaration, header,
                                                         Today(), cli.prompter));
      }
      ReportFiles(context, written);
    } else if (context.json) {
      *context.out << UnemploymentJson(declaration).dump(2, ' ', false, kReplaceInvalidUtf8)
                   << "\n";
    } else {
      const json figures = UnemploymentJson(declaration);
      *context.out << "Declaratia de somaj pe " << MonthText(declaration.month) << "\n";
      for (const auto& [name, value] : figures.items()) {
        if (name != "asigurati" && name != "luna") {
          *context.out << "  " << PadRight(name, 14) << PlainValue(value) << "\n";
        }
      }
    }
  } catch (const Error& error) {
    *context.err << TerminalText(kUnemploymentReportFailed) << "\n"
                 << TerminalText(error.what()) << "\n";
    context.exit_code = 1;
  }
}

HealthListChoice ListsOption(const std::optional<std::string>& text, const HealthOpening& opening) {
  if (!text) return {opening.has_entering, opening.has_leaving, false};
  HealthListChoice choice;
  std::string rest = *text;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string name = Trim(rest.substr(0, comma));
    rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
    if (name == "intrati") {
      choice.entering = true;
    } else if (name == "iesiti") {
      choice.leaving = true;
    } else if (name == "nominala") {
      choice.nominal = true;
    } else if (name != "niciuna" && !name.empty()) {
      throw Error("Lista necunoscuta: " + name + " (intrati, iesiti, nominala sau niciuna)");
    }
  }
  return choice;
}

void RunSanatate(CliContext& context, const SanatateOptions& options) {
  CliSession cli(context);
  if (!OpenMonth(cli, options.common)) return;
  params::Session& session = *cli.session;
  const DeclarationHeader header = HeaderOf(options.common, session.store().data_folder());
  const HealthOpening opening = OpenHealthDeclaration(session, cli.progress);
  const HealthListChoice lists = ListsOption(options.lists, opening);
  HealthSections sections = opening.proposed;
  for (std::size_t i = 0; i < 3; ++i) {
    if (options.paid[i]) sections[i].paid = *options.paid[i];
    if (options.arrears[i]) sections[i].arrears = *options.arrears[i];
    if (options.increases[i]) sections[i].increases = *options.increases[i];
  }
  DeclarationHeader stored_header = header;
  bool kept = true;
  try {
    ConfirmHealthDeclaration(session, sections, header.signer);
    stored_header.signer = LoadSigner(session.store().data_folder());
  } catch (const Error& error) {
    // A data folder that cannot be written: the declaration is made with
    // the figures and the declarant as typed, and the user told.
    if (!IsWriteProtected(error)) throw;
    kept = false;
    stored_header.signer = SignerAsKept(header.signer);
  }
  if (opening.write_protected || !kept) {
    *context.err << kFiguresNotKept << "\n";
    context.exit_code = 1;
  }
  HealthPrint print = MakeHealthPrint(session, opening.computed, stored_header, lists);
  if (!kept) print.stored = sections;

  if (WantsDocuments(options.common)) {
    std::vector<reports::Report> documents = {HealthDeclarationReport(print)};
    const std::pair<bool, HealthList> kLists[] = {{lists.entering, HealthList::kEntering},
                                                  {lists.leaving, HealthList::kLeaving},
                                                  {lists.nominal, HealthList::kNominal}};
    for (const auto& [chosen, list] : kLists) {
      if (chosen) {
        documents.push_back(HealthListReport(print.employer, list, ReadHealthList(session, list)));
      }
    }
    PrintDocuments(context, options.common, documents);
    return;
  }
  const char* const kNames[] = {"A", "B", "C"};
  json sectionsJson = json::object();
  for (std::size_t i = 0; i < 3; ++i) {
    sectionsJson[kNames[i]] = {{"datorat_calculat", Number(opening.computed.due[i])},
                               {"virat", print.stored[i].paid},
                               {"restante", print.stored[i].arrears},
                               {"majorari", print.stored[i].increases},
                               {"total", print.stored[i].Total()}};
  }
  sectionsJson["A"]["fond_salarii"] = Number(opening.computed.salary_fund);
  sectionsJson["B"]["venit_brut"] = Number(opening.computed.gross_income);
  const double grand = print.stored[0].Total() + print.stored[1].Total() + print.stored[2].Total();
  if (context.json) {
    *context.out << json{{"luna", MonthArgument(print.month)},
                         {"asigurati", opening.computed.insured},
                         {"sectiuni", sectionsJson},
                         {"total_de_achitat", grand}}
                        .dump(2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
    return;
  }
  *context.out << "Declaratia de sanatate pe " << MonthText(print.month) << "\n"
               << "  Nr. persoane asigurate: " << opening.computed.insured << "\n";
  for (const auto& [name, section] : sectionsJson.items()) {
    *context.out << "  " << name << ":";
    for (const auto& [figure, value] : section.items()) {
      *context.out << "  " << figure << " " << PlainValue(value);
    }
    *context.out << "\n";
  }
  *context.out << "  Total contributii de achitat: " << PlainValue(grand) << "\n";
}

}  // namespace

void RegisterDeclarationCommands(CLI::App& app, CliContext& context) {
  CLI::App* declaration =
      app.add_subcommand("declaration", "Declaratiile lunare: CAS, somaj, sanatate");
  declaration->require_subcommand(1);

  auto cas = std::make_shared<CasOptions>();
  CLI::App* cas_command =
      declaration->add_subcommand("cas", "Declaratia de asigurari sociale (A11, A12)");
  AddCommonOptions(cas_command, cas->common, true);
  cas_command->add_option("--judet", cas->judet, "Codul judetului (altfel cel pastrat)");
  cas_command->callback([&context, cas] { RunCas(context, *cas); });

  auto somaj = std::make_shared<SomajOptions>();
  CLI::App* somaj_command =
      declaration->add_subcommand("somaj", "Declaratia de somaj (A1, A2) si sumele virate");
  AddCommonOptions(somaj_command, somaj->common, true);
  somaj_command->add_option("--paid-asig", somaj->paid_insured,
                            "Suma virata de asigurati (altfel cea propusa)");
  somaj_command->add_option("--paid-ang", somaj->paid_employer,
                            "Suma virata de angajator (altfel cea propusa)");
  somaj_command
      ->add_option("--mode", somaj->mode,
                   "Distribuirea unei sume virate mai mici: proportional sau primii")
      ->check(CLI::IsMember({"proportional", "primii"}));
  somaj_command->add_option("--ded", somaj->ded, "Deduceri angajator");
  somaj_command->add_option("--rest-an", somaj->rest_an, "Restanta contributiei angajatorului");
  somaj_command->add_option("--rest-as", somaj->rest_as, "Restanta contributiei asiguratilor");
  somaj_command->add_option("--penal", somaj->penal, "Majorari de intarziere");
  somaj_command->add_option("--maj", somaj->maj, "Penalitati");
  somaj_command->callback([&context, somaj] { RunSomaj(context, *somaj); });

  auto sanatate = std::make_shared<SanatateOptions>();
  CLI::App* sanatate_command =
      declaration->add_subcommand("sanatate", "Declaratia de sanatate si listele anexate");
  AddCommonOptions(sanatate_command, sanatate->common, false);
  const char* const kSections[] = {"a", "b", "c"};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string s = kSections[i];
    const std::string section = ToUpperAscii(s);
    sanatate_command->add_option("--virat-" + s, sanatate->paid[i],
                                 "Contributie virata, sectiunea " + section);
    sanatate_command->add_option("--rest-" + s, sanatate->arrears[i],
                                 "Sume restante, sectiunea " + section);
    sanatate_command->add_option("--maj-" + s, sanatate->increases[i],
                                 "Majorari intarziere, sectiunea " + section);
  }
  sanatate_command->add_option(
      "--liste", sanatate->lists,
      "Listele anexate: intrati,iesiti,nominala sau niciuna (altfel cele propuse)");
  sanatate_command->callback([&context, sanatate] { RunSanatate(context, *sanatate); });
}

}  // namespace traveno::cli
