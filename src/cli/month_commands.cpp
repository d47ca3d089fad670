#include "cli/month_commands.h"

#include <memory>
#include <optional>

#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/text.h"
#include "params/brackets.h"
#include "params/departments.h"
#include "params/holidays.h"
#include "params/month_cycle.h"
#include "params/parameter_edits.h"
#include "params/parameter_store.h"
#include "params/recalculate.h"

namespace traveno::cli {
namespace {

using engine::ParameterRow;
using engine::ParameterValueKind;
using nlohmann::json;

struct MonthArgs {
  std::string cod;
  std::string month;
};

void AddMonthOptions(CLI::App* command, MonthArgs& args, bool month_required = true) {
  command->add_option("--cod", args.cod, "Codul firmei")->required();
  auto* month = command->add_option("--month", args.month, "Luna AAAA-LL");
  if (month_required) month->required();
}

// Opens the command's company and month; false (exit status 1) when refused.
bool OpenMonth(CliSession& cli, const MonthArgs& args) {
  std::optional<Date> month;
  if (!args.month.empty()) month = ParseMonthArgument(args.month);
  if (cli.Open(UpperTrim(args.cod), month)) return true;
  cli.context.exit_code = 1;
  return false;
}

json ParameterJson(const ParameterRow& row, ParameterValueKind kind) {
  switch (kind) {
    case ParameterValueKind::kNumber:
      return row.Val;
    case ParameterValueKind::kText:
      return row.Grupa;
    case ParameterValueKind::kNumberAndText:
      return {{"Val", row.Val}, {"Grupa", row.Grupa}};
  }
  return nullptr;
}

void ParamsShow(CliContext& context, const MonthArgs& args) {
  CliSession cli(context);
  if (!OpenMonth(cli, args)) return;
  const auto& parameters = cli.session->parameters();
  json general = json::object();
  const auto general_rows = engine::GeneralParameterRows(parameters.general);
  for (const ParameterRow& row : general_rows) general[row.Den] = row.Val;
  json company = json::object();
  const auto company_rows = engine::CompanyParameterRows(parameters.company);
  const auto names = engine::CompanyParameterNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    company[names[i].name] = ParameterJson(company_rows[i], names[i].kind);
  }
  json departments = json::array();
  for (const auto& department : parameters.company.departments) {
    departments.push_back({{"cod", department.Den.substr(4)}, {"denumire", department.Grupa}});
  }
  if (context.json) {
    *context.out << json{{"luna", MonthArgument(cli.session->working_month())},
                         {"generali", general},
                         {"firma", company},
                         {"departamente", departments}}
                        .dump(2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
    return;
  }
  *context.out << "Parametrii generali de calcul pe " << MonthText(cli.session->working_month())
               << "\n";
  for (const auto& [name, value] : general.items()) {
    *context.out << "  " << PadRight(name, 13) << value.dump(-1, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
  }
  *context.out << "Parametrii de calcul ai firmei " << cli.session->company() << "\n";
  for (const auto& [name, value] : company.items()) {
    *context.out << "  " << PadRight(name, 13) << value.dump(-1, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
  }
}

// Applies "NAME=VALUE" to a copy of the parameter rows; throws Error for an
// unknown name or a value that is not a number where one is needed.
void ApplyAssignment(const std::string& assignment, std::vector<ParameterRow>& general,
                     std::vector<ParameterRow>& company, bool& general_changed,
                     bool& company_changed, std::array<bool, 4>& formula_given) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos || equals == 0) {
    throw Error("Atribuire invalida: " + assignment + " (se asteapta NUME=VALOARE)");
  }
  const std::string name = Trim(assignment.substr(0, equals));
  const std::string value = assignment.substr(equals + 1);
  for (ParameterRow& row : general) {
    if (!EqualsIgnoreCase(row.Den, name)) continue;
    const auto number = TryParseNumber(value);
    if (!number) throw Error("Valoare invalida pentru " + name + ": " + value);
    row.Val = *number;
    general_changed = true;
    return;
  }
  const auto names = engine::CompanyParameterNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].name != name) continue;
    const auto number = TryParseNumber(value);
    switch (names[i].kind) {
      case ParameterValueKind::kNumber:
        if (!number) throw Error("Valoare invalida pentru " + name + ": " + value);
        company[i].Val = *number;
        break;
      case ParameterValueKind::kText:
        company[i].Grupa = value;
        break;
      case ParameterValueKind::kNumberAndText:
        if (number) {
          company[i].Val = *number;
        } else {
          company[i].Grupa = value;
        }
        break;
    }
    for (int k = 0; k < 4; ++k) {
      if (name == "Spor" + std::to_string(k + 1) + "_Form") formula_given[k] = true;
    }
    company_changed = true;
    return;
  }
  throw Error("Parametrul " + name + " nu exista !");
}

void ParamsSet(CliContext& context, const MonthArgs& args,
               const std::vector<std::string>& assignments) {
  CliSession cli(context);
  if (!OpenMonth(cli, args)) return;
  params::Session& session = *cli.session;
  auto general = engine::GeneralParameterRows(session.parameters().general);
  auto company = engine::CompanyParameterRows(session.parameters().company);
  bool general_changed = false;
  bool company_changed = false;
  std::array<bool, 4> formula_given{};
  for (const std::string& assignment : assignments) {
    ApplyAssignment(assignment, general, company, general_changed, company_changed, formula_given);
  }
  // All or nothing: the company set's checks first, then both sets in one
  // transaction (a value out of its range refuses the whole command).
  const engine::GeneralParameters general_values = engine::BuildGeneralParameters(general);
  engine::CompanyParameters company_values = engine::BuildCompanyParameters(company);
  company_values.departments = session.parameters().company.departments;
  if (company_changed &&
      !params::CheckCompanyParameters(session, company_values, formula_given, cli.prompter)
           .confirmed) {
    context.exit_code = 1;
    return;
  }
  if (general_changed && params::HasLaterGeneralMonth(session.db(), session.working_month())) {
    cli.prompter.Message(MessageKind::kWarning, params::kLaterMonthsWarning);
  }
  params::SaveMonthParameters(session, general_changed ? &general_values : nullptr,
                              company_changed ? &company_values : nullptr, cli.progress);
  PrintSession(context, session);
}

struct BracketArgs {
  std::string month;
  bool annual = false;
  std::int64_t nr = 0;
  double p_venit = 0;
  double v_const = 0;
  double v_proc = 0;
};

void BracketsList(CliContext& context, const BracketArgs& args) {
  CliSession cli(context);
  const Date month = ParseMonthArgument(args.month);
  const auto rows = params::ListBrackets(cli.store->db(), month, args.annual);
  if (context.json) {
    json list = json::array();
    for (const ImpoRow& row : rows) {
      list.push_back({{"Nr", row.Nr},
                      {"Luna", row.Luna.ToIso()},
                      {"P_Venit", row.P_Venit},
                      {"V_Const", row.V_Const},
                      {"V_Proc", row.V_Proc}});
    }
    *context.out << list.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
    return;
  }
  *context.out << (args.annual ? "Transe de impozitare pe an " + std::to_string(month.year())
                               : "Transe de impozitare pe luna  " + MonthText(month))
               << "\n";
  for (const ImpoRow& row : rows) {
    *context.out << PadLeft(std::to_string(row.Nr), 6) << " "
                 << PadLeft(FormatNumber(row.P_Venit, NumberMask::kUpToTwoDecimals), 16) << " "
                 << PadLeft(FormatNumber(row.V_Const, NumberMask::kUpToTwoDecimals), 16) << " "
                 << PadLeft(FormatNumber(row.V_Proc, NumberMask::kUpToTwoDecimals), 8) << "\n";
  }
}

void BracketsChange(CliContext& context, const BracketArgs& args, char what) {
  CliSession cli(context);
  const Date month = ParseMonthArgument(args.month);
  Database& db = cli.store->db();
  bool done = false;
  if (what == 'a') {
    done = params::AddBracket(db, month, args.annual, args.p_venit, args.v_const, args.v_proc,
                              cli.prompter);
  } else if (what == 'm') {
    done = params::ModifyBracket(db, month, args.annual, args.nr, args.p_venit, args.v_const,
                                 args.v_proc, cli.prompter);
  } else {
    done = cli.prompter.AskYesNo("Sigur doriti sa stergeti ?") &&
           params::DeleteBracket(db, month, args.annual, args.nr, cli.prompter);
  }
  if (!done) context.exit_code = 1;
}

void BracketsCheck(CliContext& context, const BracketArgs& args) {
  CliSession cli(context);
  const std::string text =
      params::CheckBrackets(cli.store->db(), ParseMonthArgument(args.month), args.annual);
  if (context.json) {
    *context.out << json{{"corect", text == "Totul este in regula. "}, {"mesaj", text}}.dump(
                        2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
    return;
  }
  *context.out << TerminalText(text) << "\n";
}

void Transition(CliContext& context, const MonthArgs& args) {
  CliSession cli(context);
  if (!OpenMonth(cli, args)) return;
  params::Session& session = *cli.session;
  *context.err << TerminalText(params::ZeroedColumnsText(session.parameters().company)) << "\n";
  if (!params::IsConfirmWord(cli.prompter.AskTypedConfirmation(params::kTransitionConfirmLabel))) {
    cli.prompter.Message(MessageKind::kWarning, "Trecerea la luna urmatoare nu a fost efectuata!");
    context.exit_code = 1;
    return;
  }
  for (const std::string& notice : params::PassToNextMonth(session, cli.progress)) {
    cli.prompter.Message(MessageKind::kWarning, notice);
  }
  PrintSession(context, session);
}

void SetMonthClosed(CliContext& context, const MonthArgs& args, bool closed) {
  CliSession cli(context);
  if (!OpenMonth(cli, args)) return;
  if (cli.session->month_closed() != closed) params::ToggleMonthClosed(*cli.session);
  PrintSession(context, *cli.session);
}

void HolidaysSet(CliContext& context, const MonthArgs& args, const std::string& days) {
  CliSession cli(context);
  if (!OpenMonth(cli, args)) return;
  params::Session& session = *cli.session;
  if (const auto refusal = params::HolidaysRefusal(Trim(days).empty() ? "" : "," + days)) {
    throw Error(*refusal);
  }
  const auto parsed = params::ParseHolidays("," + days);
  const auto& company = session.parameters().company;
  if (!params::ConfirmHolidays(session, parsed, company.TimpZile != 0, company.TimpLuna,
                               cli.prompter, cli.progress)) {
    context.exit_code = 1;
    return;
  }
  if (context.json) {
    *context.out << json{{"ZileLibere", session.parameters().company.ZileLibere},
                         {"TimpLuna", params::MonthWorkingTime(session.working_month(), parsed,
                                                               company.TimpZile != 0)}}
                        .dump(2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
  }
}

struct DepartmentArgs {
  MonthArgs month;
  std::string code;
  std::string new_code;
  std::optional<std::string> name;
  std::string to;
};

void DepartmentsList(CliContext& context, const MonthArgs& args) {
  CliSession cli(context);
  if (!OpenMonth(cli, args)) return;
  const auto departments = params::ListDepartments(*cli.session);
  if (context.json) {
    json list = json::array();
    for (const auto& department : departments) {
      list.push_back(
          {{"Nr", department.nr}, {"cod", department.code}, {"denumire", department.name}});
    }
    *context.out << list.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
    return;
  }
  for (const std::string& line : params::DepartmentChooserLines(departments)) {
    *context.out << line << "\n";
  }
}

void DepartmentsChange(CliContext& context, const DepartmentArgs& args, char what) {
  CliSession cli(context);
  if (!OpenMonth(cli, args.month)) return;
  params::Session& session = *cli.session;
  bool done = false;
  if (what == 'a') {
    done = params::AddDepartment(session, args.code, args.name.value_or(""), cli.prompter);
  } else if (what == 'm') {
    bool found = false;
    for (const auto& department : params::ListDepartments(session)) {
      if (department.code != UpperTrim(args.code)) continue;
      found = true;
      done = params::ModifyDepartment(
          session, department.nr, args.new_code.empty() ? args.code : args.new_code,
          args.name.value_or(department.name), cli.prompter, cli.progress);
    }
    if (!found) throw Error("Departamentul " + UpperTrim(args.code) + " nu exista !");
  } else if (cli.prompter.AskYesNo("Sigur doriti sa stergeti departamentul ?")) {
    auto chooser = [&](const std::vector<std::string>& lines,
                       const std::string& label) -> std::optional<std::string> {
      *context.err << TerminalText(label) << "\n";
      for (const std::string& line : lines) {
        if (!args.to.empty() && params::ChosenDepartmentCode(line) == UpperTrim(args.to)) {
          return line;
        }
      }
      return std::nullopt;
    };
    done = params::DeleteDepartment(session, args.code, chooser, cli.progress) ==
           params::DeleteDepartmentResult::kDeleted;
  }
  if (!done) context.exit_code = 1;
}

}  // namespace

void RegisterMonthCommands(CLI::App& app, CliContext& context) {
  auto month = std::make_shared<MonthArgs>();

  CLI::App* parameters = app.add_subcommand("params", "Parametrii de calcul ai lunii");
  parameters->require_subcommand(1);
  CLI::App* show = parameters->add_subcommand("show", "Parametrii generali si ai firmei");
  AddMonthOptions(show, *month);
  show->callback([&context, month] { ParamsShow(context, *month); });
  auto assignments = std::make_shared<std::vector<std::string>>();
  CLI::App* set = parameters->add_subcommand(
      "set",
      "NUME=VALOARE ...: modifica parametrii, cu verificarile ferestrelor, si recalculeaza luna");
  AddMonthOptions(set, *month);
  set->add_option("atribuiri", *assignments, "NUME=VALOARE")->required();
  set->callback([&context, month, assignments] { ParamsSet(context, *month, *assignments); });

  auto bracket = std::make_shared<BracketArgs>();
  CLI::App* brackets = app.add_subcommand("brackets", "Transele de impozitare (lunare sau anuale)");
  brackets->require_subcommand(1);
  auto bracket_command = [&](const char* name, const char* help) {
    CLI::App* command = brackets->add_subcommand(name, help);
    command->add_option("--month", bracket->month, "Luna AAAA-LL")->required();
    command->add_flag("--annual", bracket->annual, "Transele anuale ale anului lunii");
    return command;
  };
  auto values = [&](CLI::App* command) {
    command->add_option("--p-venit", bracket->p_venit, "Venit lunar impozabil")->required();
    command->add_option("--v-const", bracket->v_const, "Valoare impozit fix")->required();
    command->add_option("--v-proc", bracket->v_proc, "+procent")->required();
  };
  bracket_command("list", "Transele perioadei")->callback([&context, bracket] {
    BracketsList(context, *bracket);
  });
  CLI::App* add = bracket_command("add", "Adauga o transa");
  values(add);
  add->callback([&context, bracket] { BracketsChange(context, *bracket, 'a'); });
  CLI::App* modify = bracket_command("modify", "Modifica transa cu numarul --nr");
  modify->add_option("--nr", bracket->nr, "Numarul transei (Nr)")->required();
  values(modify);
  modify->callback([&context, bracket] { BracketsChange(context, *bracket, 'm'); });
  CLI::App* remove = bracket_command("delete", "Sterge transa cu numarul --nr (--yes)");
  remove->add_option("--nr", bracket->nr, "Numarul transei (Nr)")->required();
  remove->callback([&context, bracket] { BracketsChange(context, *bracket, 'd'); });
  bracket_command("check", "Verifica tabelul de transe")->callback([&context, bracket] {
    BracketsCheck(context, *bracket);
  });

  CLI::App* transition = app.add_subcommand(
      "transition", "Trecerea firmei din ultima luna la luna urmatoare (--confirm)");
  AddMonthOptions(transition, *month, false);
  transition->callback([&context, month] { Transition(context, *month); });

  CLI::App* month_command = app.add_subcommand("month", "Inchiderea sau deschiderea unei luni");
  month_command->require_subcommand(1);
  CLI::App* close = month_command->add_subcommand("close", "Inchide luna");
  AddMonthOptions(close, *month);
  close->callback([&context, month] { SetMonthClosed(context, *month, true); });
  CLI::App* open = month_command->add_subcommand("open", "Deschide luna");
  AddMonthOptions(open, *month);
  open->callback([&context, month] { SetMonthClosed(context, *month, false); });

  auto days = std::make_shared<std::string>();
  CLI::App* holidays = app.add_subcommand("holidays", "Sarbatorile legale ale lunii");
  holidays->require_subcommand(1);
  CLI::App* holidays_set = holidays->add_subcommand("set", "Zilele sarbatorilor, de exemplu 1,25");
  AddMonthOptions(holidays_set, *month);
  holidays_set->add_option("zile", *days, "Zilele, separate prin virgula (gol: nicio zi)");
  holidays_set->callback([&context, month, days] { HolidaysSet(context, *month, *days); });

  auto department = std::make_shared<DepartmentArgs>();
  CLI::App* departments = app.add_subcommand("departments", "Departamentele lunii");
  departments->require_subcommand(1);
  CLI::App* list = departments->add_subcommand("list", "Departamentele lunii");
  AddMonthOptions(list, department->month);
  list->callback([&context, department] { DepartmentsList(context, department->month); });
  CLI::App* dep_add = departments->add_subcommand("add", "Adaugare Departament");
  AddMonthOptions(dep_add, department->month);
  dep_add->add_option("--code", department->code, "Cod departament")->required();
  dep_add->add_option("--name", department->name, "Denumire");
  dep_add->callback([&context, department] { DepartmentsChange(context, *department, 'a'); });
  CLI::App* dep_modify = departments->add_subcommand("modify", "Modificare Departament");
  AddMonthOptions(dep_modify, department->month);
  dep_modify->add_option("--code", department->code, "Codul actual")->required();
  dep_modify->add_option("--new-code", department->new_code, "Codul nou");
  dep_modify->add_option("--name", department->name, "Denumire");
  dep_modify->callback([&context, department] { DepartmentsChange(context, *department, 'm'); });
  CLI::App* dep_delete = departments->add_subcommand("delete", "Stergere Departament (--yes)");
  AddMonthOptions(dep_delete, department->month);
  dep_delete->add_option("--code", department->code, "Cod departament")->required();
  dep_delete->add_option("--to", department->to, "Departamentul la care vor fi mutate persoanele");
  dep_delete->callback([&context, department] { DepartmentsChange(context, *department, 'd'); });
}

}  // namespace traveno::cli
