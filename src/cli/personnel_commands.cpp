#include "cli/personnel_commands.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "cli/personnel_cli_support.h"
#include "cli/terminal_progress.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "engine/calculated_fields.h"
#include "personnel/checks.h"
#include "personnel/coefficients.h"
#include "personnel/demo_company.h"
#include "personnel/dependants.h"
#include "personnel/employees.h"
#include "personnel/grid_line.h"
#include "personnel/pay_grid.h"

namespace traveno::cli {
namespace {

using nlohmann::json;
using namespace personnel_cli;
using personnel::EmployeeEditMode;
using personnel::EmployeeInput;

double NumberArgument(const std::string& field, const std::string& text) {
  const std::optional<double> value = TryParseNumber(text);
  if (!value) throw Error("Valoarea campului " + field + " nu este un numar: " + text);
  return *value;
}

Date DateArgument(const std::string& field, const std::string& text) {
  if (Trim(text).empty()) return EmptyDate();
  if (auto date = Date::ParseIso(Trim(text))) return *date;
  if (auto date = Date::ParseText(Trim(text))) return *date;
  throw Error("Data campului " + field + " nu este corecta: " + text + " (zz.ll.aaaa)");
}

// A whole number for an integer field of the window, checked against the
// rule of the field it is stored in before it is converted.
int WholeArgument(const std::string& field, const std::string& text, const ValueRule& rule) {
  const double value = NumberArgument(field, text);
  RequireValue("campul " + field, rule, FieldValue(value));
  return static_cast<int>(value);
}

const ValueRule& PersRule(const char* field) { return RuleOf<PersRow>(*FindField<PersRow>(field)); }

bool FlagArgument(const std::string& field, const std::string& text) {
  const std::string upper = UpperTrim(text);
  if (upper == "1" || upper == "DA") return true;
  if (upper == "0" || upper == "NU" || upper.empty()) return false;
  throw Error("Campul " + field + " primeste 1 sau 0: " + text);
}

// Sets one field of the employee window by its name.
void SetEmployeeField(EmployeeInput& in, const std::string& field, const std::string& value) {
  const std::string f = UpperTrim(field);
  const std::pair<const char*, std::string EmployeeInput::*> texts[] = {
      {"DEPART", &EmployeeInput::Depart},       {"NUME", &EmployeeInput::Nume},
      {"PRENUME", &EmployeeInput::Prenume},     {"CNP", &EmployeeInput::CodNumPers},
      {"CODNUMPERS", &EmployeeInput::CodNumPers}, {"FUNCTIE", &EmployeeInput::Functie},
      {"STUDII", &EmployeeInput::Studii},       {"JUDET", &EmployeeInput::Judet},
      {"LOCALITATE", &EmployeeInput::Localitate}, {"STRADA", &EmployeeInput::Strada},
      {"NUMAR", &EmployeeInput::Numar},         {"CODPOSTAL", &EmployeeInput::CodPostal},
      {"BLOC", &EmployeeInput::Bloc},           {"SCARA", &EmployeeInput::Scara},
      {"ETAJ", &EmployeeInput::Etaj},           {"AP", &EmployeeInput::Ap},
      {"SECTOR", &EmployeeInput::Sector},       {"TELEFON", &EmployeeInput::Telefon},
      {"EMAIL", &EmployeeInput::Email},         {"ALTE_DATE", &EmployeeInput::Alte_Date},
  };
  for (const auto& [name, member] : texts) {
    if (f == name) {
      in.*member = value;
      return;
    }
  }
  const std::pair<const char*, double EmployeeInput::*> numbers[] = {
      {"SALINC", &EmployeeInput::SalInc}, {"TIMP", &EmployeeInput::Timp},
      {"ORE_ZI", &EmployeeInput::Ore_Zi}, {"PR_VA", &EmployeeInput::Pr_va}};
  for (const auto& [name, member] : numbers) {
    if (f == name) {
      in.*member = NumberArgument(field, value);
      return;
    }
  }
  const std::pair<const char*, Date EmployeeInput::*> dates[] = {
      {"DATA_ANG", &EmployeeInput::Data_Ang},
      {"DATA_NAS", &EmployeeInput::Data_Nas},
      {"DATA_LICH", &EmployeeInput::Data_Lich}};
  for (const auto& [name, member] : dates) {
    if (f == name) {
      in.*member = DateArgument(field, value);
      return;
    }
  }
  const std::pair<const char*, bool EmployeeInput::*> flags[] = {
      {"FISA_RECTIF", &EmployeeInput::FisaRectif}, {"FISA_REGUL", &EmployeeInput::FisaRegul},
      {"PENSIONAR", &EmployeeInput::Pensionar},    {"ALT_VENIT", &EmployeeInput::AltVenit},
      {"DOMICILIU_EXT", &EmployeeInput::DomiciliuExt}, {"BIFASOM", &EmployeeInput::BifaSom},
      {"PLATITORA", &EmployeeInput::PlatitOra}};
  for (const auto& [name, member] : flags) {
    if (f == name) {
      in.*member = FlagArgument(field, value);
      return;
    }
  }
  static constexpr ValueRule kIncomeKind = {ValueKind::kCode, 0, 7};
  if (f == "NORMA") {
    in.NORMA = WholeArgument(field, value, PersRule("NORMA"));
  } else if (f == "INVALIDITATE") {
    in.Invaliditate = WholeArgument(field, value, PersRule("INVALIDITATE"));
  } else if (f == "TIP_VENIT") {
    in.TipVenit = WholeArgument(field, value, kIncomeKind);
  } else {
    throw Error("Campul " + field + " nu exista in fereastra Date personal !");
  }
}

struct EmployeeOptions {
  MonthOptions month;
  int iid = 0;
  std::vector<std::string> fields;
  std::string photo;
  bool remove_photo = false;
};

void AddEmployeeFields(CLI::App* command, EmployeeOptions& options) {
  command->add_option("campuri", options.fields,
                      "CAMP=VALOARE: Depart, Nume, Prenume, CNP, Functie, Norma, SalInc, Timp, "
                      "Ore_Zi, Studii, Data_Ang, Data_Nas, Data_Lich, Judet, Localitate, Strada, "
                      "Numar, CodPostal, Bloc, Scara, Etaj, Ap, Sector, Telefon, Email, Alte_Date, "
                      "Invaliditate, Tip_Venit, Fisa_Rectif, Fisa_Regul, Pensionar, Alt_Venit, "
                      "Domiciliu_Ext, BifaSom, PlatitOra");
  command->add_option("--photo", options.photo, "Poza persoanei (fisier bmp)");
  command->add_flag("--remove-photo", options.remove_photo, "Sterge poza persoanei");
}

void ApplyFields(CliSession& cli, EmployeeInput& input, const EmployeeOptions& options) {
  for (const auto& [field, value] : Assignments(options.fields)) SetEmployeeField(input, field, value);
  if (const auto warning = personnel::LeavingDateWarning(*cli.session, input.Data_Lich)) {
    cli.prompter.Message(MessageKind::kWarning, *warning);
  }
  if (!options.photo.empty()) {
    // A picture that cannot be read is left out, as in the window.
    std::ifstream file(options.photo, std::ios::binary);
    if (file) input.photo = Blob(std::istreambuf_iterator<char>(file), {});
  }
  input.remove_photo = options.remove_photo;
}

void PrintLine(CliSession& cli, std::int64_t nr) {
  const std::optional<PersRow> line = personnel::FindLine(*cli.session, nr);
  if (!line) return;
  if (cli.context.json) {
    *cli.context.out
        << LineJson(*line, cli.session->parameters()).dump(2, ' ', false, kReplaceInvalidUtf8)
        << "\n";
    return;
  }
  *cli.context.out << "IID " << line->IID << "  " << Trim(line->NUME + " " + line->PRENUME)
                   << "  Brut " << FormatN(line->BRUT, 0) << "  Rest plata "
                   << FormatN(line->RESTPL, 0) << "\n";
}

void EmployeeSave(CliContext& context, EmployeeEditMode mode, const EmployeeOptions& options) {
  CliSession cli(context);
  if (!OpenMonth(cli, options.month)) return;
  personnel::RequireOpenMonth(*cli.session);
  EmployeeInput input;
  std::string tip = options.month.tip;
  std::optional<std::int64_t> nr;
  std::optional<personnel::RehireIdentity> rehire;
  if (mode == EmployeeEditMode::kAdd) {
    input = personnel::NewEmployeeInput(tip);
    // The window's department list: the chosen department, else its first entry.
    const auto& departments = cli.session->parameters().company.departments;
    if (const auto chosen = DepartmentOf(options.month)) {
      input.Depart = *chosen;
    } else if (!departments.empty()) {
      input.Depart = engine::DepartmentName(departments.front().Den);
    }
  } else if (mode == EmployeeEditMode::kRehire) {
    std::optional<PersRow> former;
    for (const PersRow& row : personnel::RehireCandidates(*cli.session)) {
      if (row.IID == options.iid && (!former || row.LUNA > former->LUNA)) former = row;
    }
    if (!former) {
      throw Error("Persoana cu IID " + std::to_string(options.iid) +
                  " nu se afla in lista de reangajare !");
    }
    input = personnel::RehireInputFromRow(*former);
    rehire = personnel::RehireIdentityOf(*former);
    tip = former->TIP;
  } else {
    const PersRow line = LineOfPerson(*cli.session, options.iid);
    input = personnel::EmployeeInputFromRow(line);
    tip = line.TIP;
    nr = line.Nr;
  }
  ApplyFields(cli, input, options);
  if (mode == EmployeeEditMode::kDelete &&
      !cli.prompter.AskYesNo("Sigur doriti sa stergeti acest angajat ?")) {
    context.exit_code = 1;
    return;
  }
  if (!personnel::ConfirmEmployee(*cli.session, mode, input, tip, cli.prompter)) {
    context.exit_code = 1;
    return;
  }
  if (mode == EmployeeEditMode::kRehire && !cli.prompter.AskYesNo(personnel::kRehireQuestion)) {
    context.exit_code = 1;
    return;
  }
  const std::int64_t saved =
      personnel::SaveEmployee(*cli.session, mode, input, tip, nr, rehire);
  if (mode == EmployeeEditMode::kRehire) {
    cli.prompter.Message(MessageKind::kInformation, personnel::kRehireDone);
  }
  if (mode == EmployeeEditMode::kDelete) {
    if (!context.json) *context.out << "Angajatul a fost sters\n";
    return;
  }
  PrintLine(cli, saved);
}

void EmployeeList(CliContext& context, const MonthOptions& options, bool all_kinds) {
  CliSession cli(context);
  if (!OpenMonth(cli, options, MonthTotals::kNotNeeded)) return;
  const std::vector<PersRow> lines = personnel::MonthLines(
      *cli.session, all_kinds ? std::nullopt : std::optional(options.tip), DepartmentOf(options));
  if (context.json) {
    json list = json::array();
    for (const PersRow& line : lines) list.push_back(LineJson(line, cli.session->parameters()));
    *context.out << list.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
    return;
  }
  for (const PersRow& line : lines) {
    *context.out << PadLeft(std::to_string(line.IID), 6) << " " << line.TIP << " "
                 << PadRight(line.Depart, 8) << " " << PadRight(Trim(line.NUME + " " + line.PRENUME), 32)
                 << PadLeft(FormatN(line.BRUT, 0), 14) << PadLeft(FormatN(line.RESTPL, 0), 14) << "\n";
  }
}

void EmployeeShow(CliContext& context, const MonthOptions& options, int iid) {
  CliSession cli(context);
  if (!OpenMonth(cli, options, MonthTotals::kNotNeeded)) return;
  const PersRow line = LineOfPerson(*cli.session, iid);
  const json object = LineJson(line, cli.session->parameters());
  if (context.json) {
    *context.out << object.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
    return;
  }
  for (const auto& [name, value] : object.items()) {
    if (name == "calculat") continue;
    *context.out << PadRight(name, 16)
                 << (value.is_string() ? value.get<std::string>()
                                       : value.dump(-1, ' ', false, kReplaceInvalidUtf8))
                 << "\n";
  }
}

void EmployeeSet(CliContext& context, const MonthOptions& options, int iid,
                 const std::vector<std::string>& fields) {
  CliSession cli(context);
  // The posting keeps the totals by the line alone; none are shown.
  if (!OpenMonth(cli, options, MonthTotals::kNotNeeded)) return;
  const PersRow line = LineOfPerson(*cli.session, iid);
  std::vector<personnel::FieldEdit> edits;
  for (const auto& [field, value] : Assignments(fields)) {
    const auto index = FindField<PersRow>(field);
    if (!index || !personnel::IsGridEditableField(field)) {
      throw Error("Campul " + field + " nu poate fi modificat in grila de salarii !");
    }
    // Numbers go to the service as typed: it refuses a fraction for a
    // count and a value past the field's range.
    const FieldKind kind = FieldsOf<PersRow>()[*index].kind;
    if (kind == FieldKind::kText) {
      edits.push_back({field, FieldValue(value)});
    } else {
      edits.push_back({field, FieldValue(NumberArgument(field, value))});
    }
  }
  const personnel::PostedLine posted = personnel::UpdateGridLine(*cli.session, line.Nr, edits);
  if (posted.notice) cli.prompter.Message(MessageKind::kWarning, *posted.notice);
  PrintLine(cli, line.Nr);
}

// Dependants.
struct DependantOptions {
  MonthOptions month;
  int iid = 0;
  std::int64_t nr = 0;
  std::vector<std::string> fields;
};

personnel::DependantInput DependantFields(personnel::DependantInput input,
                                          const std::vector<std::string>& fields) {
  for (const auto& [field, value] : Assignments(fields)) {
    const std::string f = UpperTrim(field);
    if (f == "NUME") {
      input.Nume = value;
    } else if (f == "PRENUME") {
      input.Prenume = value;
    } else if (f == "CNP" || f == "CODNUMPERS") {
      input.CodNumPers = value;
    } else if (f == "CALITATE") {
      input.Calitate =
          WholeArgument(field, value, RuleOf<PintRow>(*FindField<PintRow>("Calitate")));
    } else if (f == "INVALIDITATE") {
      input.Invaliditate =
          WholeArgument(field, value, RuleOf<PintRow>(*FindField<PintRow>("Invaliditate")));
    } else {
      throw Error("Campul " + field + " nu exista pentru persoanele in intretinere !");
    }
  }
  return input;
}

void PrintDependants(CliSession& cli, int iid) {
  const auto dependants = personnel::ListDependants(*cli.session, iid);
  if (cli.context.json) {
    json list = json::array();
    for (const PintRow& d : dependants) {
      json object = RowJson(d);
      object["Kalitate"] = std::string(personnel::RelationshipLabel(d.Calitate));
      object["Ynvaliditate"] = std::string(personnel::InvalidityLabel(d.Invaliditate));
      list.push_back(object);
    }
    *cli.context.out << list.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
    return;
  }
  for (const PintRow& d : dependants) {
    *cli.context.out << PadLeft(std::to_string(d.Nr), 6) << " "
                     << PadRight(Trim(d.Nume + " " + d.Prenume), 32) << PadRight(d.CODNUMPERS, 15)
                     << " " << PadRight(personnel::RelationshipLabel(d.Calitate), 14) << " "
                     << PadRight(personnel::InvalidityLabel(d.Invaliditate), 14)
                     << FormatNumber(d.Coef, NumberMask::kTwoDecimals) << "\n";
  }
}

void DependantEdit(CliContext& context, personnel::DependantEditMode mode,
                   const DependantOptions& options) {
  CliSession cli(context);
  if (!OpenMonth(cli, options.month)) return;
  personnel::RequireOpenMonth(*cli.session);
  int iid = options.iid;
  std::optional<PintRow> current;
  if (mode != personnel::DependantEditMode::kAdd) {
    auto rows = QueryRows<PintRow>(cli.session->db(),
                                   "SELECT * FROM firma.Pint WHERE Nr = ? AND Luna = ?", options.nr,
                                   cli.session->working_month());
    if (rows.empty()) throw Error("Persoana in intretinere aleasa nu exista in luna de lucru !");
    current = rows.front();
    iid = current->IID;
  }
  const PersRow employee = LineOfPerson(*cli.session, iid);
  if (employee.TIP == "2" && employee.PlatitOra != 1) {
    throw Error("Persoanele in intretinere se introduc doar pentru angajatii cu functie de baza !");
  }
  const personnel::DependantsList list = personnel::OpenDependantsList(*cli.session, employee.Nr);
  const personnel::DependantInput input = DependantFields(
      current ? personnel::DependantInputFromRow(*current) : personnel::DependantInput{},
      options.fields);
  const std::string code_at_opening = current ? UpperTrim(current->CODNUMPERS) : "";
  if (mode == personnel::DependantEditMode::kDelete &&
      !cli.prompter.AskYesNo("Sigur doriti sa stergeti aceasta persoana ?")) {
    context.exit_code = 1;
    return;
  }
  if (!personnel::ConfirmDependant(*cli.session, mode, input, code_at_opening, cli.prompter)) {
    context.exit_code = 1;
    return;
  }
  if (mode == personnel::DependantEditMode::kDelete) {
    personnel::DeleteDependant(*cli.session, current->Nr);
  } else {
    personnel::SaveDependant(*cli.session, employee, input,
                             current ? std::optional(current->Nr) : std::nullopt);
  }
  personnel::CloseDependantsList(*cli.session, list, cli.prompter);
  if (!context.json) {
    *context.out << "Coef. Total " << FormatNumber(personnel::DependantsTotal(*cli.session, list),
                                                    NumberMask::kTwoDecimals)
                 << "\n";
  }
  PrintDependants(cli, iid);
}

void RegisterEmployeeCommands(CLI::App& app, CliContext& context) {
  CLI::App* employee = app.add_subcommand("employee", "Angajatii lunii (fereastra Date personal)");
  employee->require_subcommand(1);

  struct Modes {
    const char* name;
    const char* help;
    EmployeeEditMode mode;
  };
  const Modes kModes[] = {
      {"add", "Adauga un angajat (--tip 1|2)", EmployeeEditMode::kAdd},
      {"modify", "Modifica datele unui angajat", EmployeeEditMode::kModify},
      {"delete", "Sterge un angajat din luna de lucru", EmployeeEditMode::kDelete},
      {"rehire", "Reangajeaza o persoana plecata", EmployeeEditMode::kRehire},
  };
  for (const Modes& m : kModes) {
    auto options = std::make_shared<EmployeeOptions>();
    CLI::App* command = employee->add_subcommand(m.name, m.help);
    AddMonthOptions(command, options->month, m.mode == EmployeeEditMode::kAdd);
    if (m.mode != EmployeeEditMode::kAdd) command->add_option("--iid", options->iid, "IID")->required();
    if (m.mode != EmployeeEditMode::kDelete) AddEmployeeFields(command, *options);
    const EmployeeEditMode mode = m.mode;
    command->callback([&context, options, mode] { EmployeeSave(context, mode, *options); });
  }

  auto list_options = std::make_shared<MonthOptions>();
  auto all = std::make_shared<bool>(false);
  CLI::App* list = employee->add_subcommand("list", "Liniile lunii (cu --json toate campurile)");
  AddMonthOptions(list, *list_options, true);
  list->add_flag("--all", *all, "Ambele tipuri de angajati");
  list->callback([&context, list_options, all] {
    EmployeeList(context, *list_options, *all || list_options->tip.empty());
  });

  auto show_options = std::make_shared<EmployeeOptions>();
  CLI::App* show = employee->add_subcommand("show", "Linia unui angajat");
  AddMonthOptions(show, show_options->month);
  show->add_option("--iid", show_options->iid, "IID")->required();
  show->callback([&context, show_options] {
    EmployeeShow(context, show_options->month, show_options->iid);
  });

  auto set_options = std::make_shared<EmployeeOptions>();
  CLI::App* set = employee->add_subcommand(
      "set", "Modifica in grila campuri editabile ale unei linii si o recalculeaza");
  AddMonthOptions(set, set_options->month);
  set->add_option("--iid", set_options->iid, "IID")->required();
  set->add_option("campuri", set_options->fields, "CAMP=VALOARE (campurile editabile ale grilei)")
      ->required();
  set->callback([&context, set_options] {
    EmployeeSet(context, set_options->month, set_options->iid, set_options->fields);
  });

  CLI::App* dependant = app.add_subcommand("dependant", "Persoanele in intretinere");
  dependant->require_subcommand(1);
  struct DependantModes {
    const char* name;
    const char* help;
    personnel::DependantEditMode mode;
  };
  const DependantModes kDependantModes[] = {
      {"add", "Adauga o persoana in intretinere (--iid angajat)", personnel::DependantEditMode::kAdd},
      {"modify", "Modifica o persoana in intretinere (--nr)", personnel::DependantEditMode::kModify},
      {"delete", "Sterge o persoana in intretinere (--nr)", personnel::DependantEditMode::kDelete},
  };
  for (const DependantModes& m : kDependantModes) {
    auto options = std::make_shared<DependantOptions>();
    CLI::App* command = dependant->add_subcommand(m.name, m.help);
    AddMonthOptions(command, options->month);
    if (m.mode == personnel::DependantEditMode::kAdd) {
      command->add_option("--iid", options->iid, "IID-ul angajatului")->required();
    } else {
      command->add_option("--nr", options->nr, "Nr-ul persoanei in intretinere")->required();
    }
    if (m.mode != personnel::DependantEditMode::kDelete) {
      command->add_option("campuri", options->fields,
                          "CAMP=VALOARE: Nume, Prenume, CNP, Calitate (0-3), Invaliditate (0-2)");
    }
    const personnel::DependantEditMode mode = m.mode;
    command->callback([&context, options, mode] { DependantEdit(context, mode, *options); });
  }
  auto dependant_list = std::make_shared<DependantOptions>();
  CLI::App* dlist = dependant->add_subcommand("list", "Persoanele in intretinere ale unui angajat");
  AddMonthOptions(dlist, dependant_list->month);
  dlist->add_option("--iid", dependant_list->iid, "IID-ul angajatului")->required();
  dlist->callback([&context, dependant_list] {
    CliSession cli(context);
    if (!OpenMonth(cli, dependant_list->month)) return;
    LineOfPerson(*cli.session, dependant_list->iid);
    PrintDependants(cli, dependant_list->iid);
  });
}

void RegisterBulkCommands(CLI::App& app, CliContext& context) {
  auto recalc_options = std::make_shared<MonthOptions>();
  CLI::App* recalc = app.add_subcommand("recalc", "Recalculeaza firma si afiseaza totalurile grilei");
  AddMonthOptions(recalc, *recalc_options);
  recalc->add_option("--depart", recalc_options->depart, "Codul departamentului");
  recalc->callback([&context, recalc_options] {
    CliSession cli(context);
    if (!OpenMonth(cli, *recalc_options, MonthTotals::kNotNeeded)) return;
    const std::unique_ptr<ProgressReporter> progress = CommandProgress(context);
    personnel::RecalculateCompany(*cli.session, *progress, DepartmentOf(*recalc_options));
    PrintTotals(context, *cli.session, DepartmentOf(*recalc_options));
  });

  struct FillOptions {
    MonthOptions month;
    std::string field;
    std::string value;
  };
  auto fill_options = std::make_shared<FillOptions>();
  CLI::App* fill = app.add_subcommand("fill", "Completeaza o coloana a grilei cu o valoare");
  AddMonthOptions(fill, fill_options->month, true);
  fill->add_option("camp", fill_options->field, "Campul")->required();
  fill->add_option("valoare", fill_options->value, "Valoarea")->required();
  fill->callback([&context, fill_options] {
    CliSession cli(context);
    if (!OpenMonth(cli, fill_options->month)) return;
    const std::optional<double> value = TryParseNumber(fill_options->value);
    if (!value) {
      cli.prompter.Message(MessageKind::kError, personnel::kInvalidFillValue);
      context.exit_code = 1;
      return;
    }
    if (!personnel::CanFillColumn(*cli.session, fill_options->field)) {
      throw Error(cli.session->month_closed()
                      ? std::string(personnel::kMonthClosed)
                      : "Coloana " + fill_options->field + " nu poate fi completata !");
    }
    const personnel::FillResult result =
        personnel::FillColumn(*cli.session, fill_options->field, fill_options->field, *value,
                              ScopeOf(fill_options->month), cli.progress);
    for (const std::string& notice : result.notices) {
      cli.prompter.Message(MessageKind::kWarning, notice);
    }
    if (!context.json) *context.out << "Linii completate: " << result.lines << "\n";
    PrintTotals(context, *cli.session, DepartmentOf(fill_options->month));
  });

  struct IndexOptions {
    MonthOptions month;
    double percent = 0;
    std::string sign = "+";
    int unit = 1;
  };
  auto index_options = std::make_shared<IndexOptions>();
  CLI::App* index = app.add_subcommand("index", "Indexarea salariilor de incadrare");
  AddMonthOptions(index, index_options->month, true);
  index->add_option("--percent", index_options->percent, "Procentul (10 pentru 10 %)")->required();
  index->add_option("--sign", index_options->sign, "Rotunjirea in + sau -");
  index->add_option("--unit", index_options->unit, "Rotunjirea se face la");
  index->callback([&context, index_options] {
    CliSession cli(context);
    if (!OpenMonth(cli, index_options->month)) return;
    const char sign = index_options->sign.size() == 1 ? index_options->sign[0] : '?';
    const std::optional<int> indexed =
        personnel::IndexSalaries(*cli.session, index_options->percent, sign, index_options->unit,
                                 ScopeOf(index_options->month), cli.prompter, cli.progress);
    if (!indexed) {
      context.exit_code = 1;
      return;
    }
    if (!context.json) *context.out << "Salarii indexate: " << *indexed << "\n";
    PrintTotals(context, *cli.session, DepartmentOf(index_options->month));
  });

  struct ImportOptions {
    MonthOptions month;
    std::string from;
  };
  auto import_options = std::make_shared<ImportOptions>();
  CLI::App* import = app.add_subcommand(
      "import-employees", "Adauga angajatii lunii din baza de date a altei firme");
  AddMonthOptions(import, import_options->month);
  import->add_option("--from", import_options->from, "Fisierul bazei de date (firma.db)")->required();
  import->callback([&context, import_options] {
    CliSession cli(context);
    if (!OpenMonth(cli, import_options->month)) return;
    const int lines = personnel::ImportEmployees(*cli.session, import_options->from, cli.progress);
    if (!context.json) *context.out << "Linii in luna dupa import: " << lines << "\n";
    PrintTotals(context, *cli.session, std::nullopt);
  });

  CLI::App* demo = app.add_subcommand(
      "demo", "Creeaza firma DEMO (ianuarie 2003) cu date de incercare");
  demo->callback([&context] {
    const std::filesystem::path folder = ResolveDataFolder(context.data_dir);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    {
      Store store(folder);
      store.EnsureRegisterTables();
    }
    CliSession cli(context);
    const int employees = personnel::CreateDemoCompany(*cli.session, cli.prompter, cli.progress);
    if (!context.json) {
      *context.out << "Firma DEMO a fost creata in " << folder.string() << " cu " << employees
                   << " angajati pe luna ianuarie 2003.\n";
    }
    PrintTotals(context, *cli.session, std::nullopt);
  });
}

}  // namespace

void RegisterPersonnelCommands(CLI::App& app, CliContext& context) {
  RegisterEmployeeCommands(app, context);
  RegisterBulkCommands(app, context);
  RegisterPersonnelListCommands(app, context);
  RegisterGridCommands(app, context);
}

}  // namespace traveno::cli
