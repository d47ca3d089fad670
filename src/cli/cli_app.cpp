#include "cli/cli_app.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "cli/backup_commands.h"
#include "cli/cli_prompter.h"
#include "cli/company_commands.h"
#include "cli/core_commands.h"
#include "cli/declaration_commands.h"
#include "cli/efiling_commands.h"
#include "cli/engine_commands.h"
#include "cli/import_commands.h"
#include "cli/month_commands.h"
#include "cli/personnel_commands.h"
#include "cli/report_commands.h"
#include "cli/trend_commands.h"
#include "core/data_folder.h"
#include "core/error_report.h"
#include "core/errors.h"
#include "core/system_info.h"

namespace traveno::cli {

namespace {

// The names of the command that failed, as the error report's sender.
std::string CommandName(const CLI::App& app) {
  std::string command;
  for (const CLI::App* sub = &app; !sub->get_subcommands().empty();) {
    sub = sub->get_subcommands().front();
    command += (command.empty() ? "" : " ") + sub->get_name();
  }
  return command;
}

// A failure that escaped a command: a refusal is only told; anything else is
// also reported to the error file of the data folder.
int ReportFailure(const CLI::App& app, CliContext& context) {
  const std::exception_ptr failure = std::current_exception();
  const ErrorInfo error = DescribeException(failure);
  if (!IsRefusal(failure)) {
    const SenderInfo sender{"traveno-cli", CommandName(app), ""};
    AppendErrorReport(ResolveDataFolder(context.data_dir) / kErrorFileName,
                      FormatErrorReport(error, &sender, {}, ReportEnvironment::Collect()));
  }
  *context.err << TerminalText(error.message) << "\n";
  return context.exit_code != 0 ? context.exit_code : 1;
}

// The rest of `text` after `prefix`, when it starts with it.
std::optional<std::string> After(std::string_view text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return std::nullopt;
  return std::string(text.substr(prefix.size()));
}

// Splits "A<separator>B" at the first separator.
std::optional<std::pair<std::string, std::string>> SplitAt(std::string_view text,
                                                           std::string_view separator) {
  const std::size_t at = text.find(separator);
  if (at == std::string_view::npos) return std::nullopt;
  return std::pair{std::string(text.substr(0, at)),
                   std::string(text.substr(at + separator.size()))};
}

// What a check of an option's value found, in the program's words.
std::string ValueRefusal(const std::string& option, const std::string& reason) {
  if (auto folder = After(reason, "Directory does not exist: ")) {
    return "Directorul " + *folder + " (" + option + ") nu exista !";
  }
  if (auto file = After(reason, "Directory is actually a file: ")) {
    return *file + " (" + option + ") este un fisier, nu un director !";
  }
  if (auto value = After(reason, "Value ")) {
    if (auto range = SplitAt(*value, " not in range ")) {
      if (auto bounds = SplitAt(range->second, " to ")) {
        return "Valoarea " + range->first + " nu este permisa pentru " + option +
               ": se accepta valori intre " + bounds->first + " si " + bounds->second + " !";
      }
    }
  }
  if (auto choice = SplitAt(reason, " not in {")) {
    std::string allowed = choice->second;
    if (!allowed.empty() && allowed.back() == '}') allowed.pop_back();
    return "Valoarea " + choice->first + " nu este permisa pentru " + option + ": se accepta " +
           allowed + " !";
  }
  return "Valoarea data pentru " + option + " nu este permisa !";
}

// A refusal of the command line by the parser, in the program's words (the
// parser's own texts are English).
std::string ParseRefusal(const CLI::ParseError& error) {
  const std::string text = error.what();
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
    if (text.starts_with("A subcommand")) return "Lipseste comanda !";
    if (text.ends_with(" is required")) {
      return "Lipseste " + text.substr(0, text.size() - 12) + " (obligatoriu) !";
    }
  } else if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    if (auto extra = After(text, "The following argument was not expected: ")) {
      return "Argument necunoscut: " + *extra + " !";
    }
    if (auto extras = After(text, "The following arguments were not expected: ")) {
      return "Argumente necunoscute: " + *extras + " !";
    }
  } else if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr) {
    if (auto conversion = After(text, "Could not convert: ")) {
      if (auto parts = SplitAt(*conversion, " = ")) {
        return "Valoarea " + parts->second + " nu este valida pentru " + parts->first + " !";
      }
    }
    if (auto flag = SplitAt(text, ": ")) return flag->first + " nu primeste o valoare !";
  } else if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) {
    if (auto parts = SplitAt(text, ": ")) return ValueRefusal(parts->first, parts->second);
  } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    if (auto parts = SplitAt(text, ": ")) return "Lipseste valoarea pentru " + parts->first + " !";
  } else if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) {
    if (auto parts = SplitAt(text, " excludes ")) {
      return parts->first + " si " + parts->second + " nu pot fi folosite impreuna !";
    }
  } else if (dynamic_cast<const CLI::RequiresError*>(&error) != nullptr) {
    if (auto parts = SplitAt(text, " requires ")) {
      return parts->first + " se foloseste numai impreuna cu " + parts->second + " !";
    }
  }
  return "Linia de comanda nu este corecta !";
}

// The groups of every option and command under the program's own headings.
void TranslateHelp(CLI::App& app) {
  for (CLI::Option* option : app.get_options()) {
    if (option->get_group() == "Options") option->group("Optiuni");
  }
  for (CLI::App* command : app.get_subcommands({})) {
    if (command->get_group() == "Subcommands") command->group("Comenzi");
    TranslateHelp(*command);
  }
}

}  // namespace

int RunCommandLine(CLI::App& app, CliContext& context, std::vector<std::string> arguments) {
  std::reverse(arguments.begin(), arguments.end());  // CLI11 takes them last first
  try {
    app.parse(arguments);
  } catch (const CLI::Success& e) {
    return app.exit(e, *context.out, *context.err);  // --help, --version
  } catch (const CLI::ParseError& e) {
    *context.err << TerminalText(ParseRefusal(e))
                 << "\nFolositi --help pentru optiunile comenzii.\n";
    return e.get_exit_code();
  } catch (...) {
    return ReportFailure(app, context);
  }
  return context.exit_code;
}

void ConfigureCliApp(CLI::App& app, CliContext& context) {
  auto formatter = app.get_formatter();
  formatter->label("Usage", "Utilizare");
  formatter->label("OPTIONS", "OPTIUNI");
  formatter->label("SUBCOMMAND", "COMANDA");
  formatter->label("SUBCOMMANDS", "COMENZI");
  formatter->label("Positionals", "Argumente");
  formatter->label("REQUIRED", "OBLIGATORIU");
  formatter->label("Needs", "Necesita");
  formatter->label("Excludes", "Exclude");
  app.set_help_flag("-h,--help", "Afiseaza acest ajutor");
  // Option names are accepted in any case (--denumire as --Denumire).
  app.option_defaults()->ignore_case();
  app.require_subcommand(1);
  app.fallthrough();
  app.set_version_flag("--version", VersionString(), "Afiseaza versiunea programului");
  app.add_option("--data-dir", context.data_dir,
                 "Directorul de date (altfel TRAVENO_DATA sau ~/.local/share/traveno)");
  app.add_flag("--json", context.json, "Rezultatele in format JSON");
  app.add_flag("--yes", context.yes, "Raspunde Da la intrebari");
  app.add_flag("--confirm", context.confirm, "Tasteaza cuvantul CONFIRM la confirmari");
  app.add_flag("--quiet", context.quiet,
               "Fara linia de progres a operatiilor lungi (altfel afisata pe un terminal)");

  RegisterCoreCommands(app, context);
  RegisterEngineCommands(app, context);
  RegisterCompanyCommands(app, context);
  RegisterMonthCommands(app, context);
  RegisterPersonnelCommands(app, context);
  RegisterDeclarationCommands(app, context);
  RegisterImportCommands(app, context);
  RegisterEfilingCommands(app, context);
  RegisterReportCommands(app, context);
  RegisterBackupCommands(app, context);
  RegisterTrendCommands(app, context);
  TranslateHelp(app);
}

}  // namespace traveno::cli
