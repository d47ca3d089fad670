#include "cli/cli_session.h"

#include <cstdio>
#include <filesystem>

#include "backup/restore.h"
#include "cli/json_output.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/schema_upgrades.h"
#include "params/company_register.h"

namespace traveno::cli {

Date ParseMonthArgument(const std::string& text) {
  int year = 0;
  int month = 0;
  char extra = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d%c", &year, &month, &extra) == 2 && year >= 1900 &&
      year <= 9999 && month >= 1 && month <= 12) {
    return Date::FromYmd(year, month, 1);
  }
  throw Error("Luna invalida: " + text + " (se asteapta AAAA-LL)");
}

std::string MonthArgument(Date month) { return month.ToIso().substr(0, 7); }

std::unique_ptr<Store> OpenUpgradedDatabases(CliContext& context) {
  const auto folder = ResolveDataFolder(context.data_dir);
  CliPrompter prompter(*context.out, *context.err, context.yes, context.confirm);
  SilentProgress progress;
  std::error_code error;
  const bool is_file =
      std::filesystem::exists(folder, error) && !std::filesystem::is_directory(folder, error);
  if (!is_file && !std::filesystem::exists(folder / kRegisterDatabaseName, error)) {
    // A data folder nobody prepared: say how to prepare it.
    throw Error("Registrul firmelor nu exista in " + folder.string() +
                ". Pregatiti directorul de date cu: traveno-cli init (sau traveno-cli demo)");
  }
  backup::CompleteInterruptedRestore(folder);
  RunUpgrades(folder, prompter, progress);
  return OpenDatabases(folder);
}

CliSession::CliSession(CliContext& context)
    : context(context),
      store(OpenUpgradedDatabases(context)),
      session(std::make_unique<params::Session>(*store)),
      prompter(*context.out, *context.err, context.yes, context.confirm) {}

bool CliSession::Open(const std::string& code, std::optional<Date> month) {
  if (!store->FindCompany(code)) throw Error(params::kCompanyNotInRegister);
  if (!params::IsCompanyInitialised(*store, code)) {
    throw Error("Firma " + code +
                " nu a fost initializata. Alegeti intai prima luna cu: company open --cod " + code +
                " --month AAAA-LL");
  }
  return params::ChooseCompanyAndMonth(*session, code, month, prompter, progress);
}

nlohmann::json SessionJson(params::Session& session) {
  nlohmann::json departments = nlohmann::json::array();
  for (const auto& department : session.parameters().company.departments) {
    departments.push_back({{"cod", department.Den.substr(4)}, {"denumire", department.Grupa}});
  }
  const auto& totals = session.totals();
  return {{"firma", session.company()},
          {"luna", MonthArgument(session.working_month())},
          {"ultima_luna", MonthArgument(session.last_month())},
          {"inchisa", session.month_closed()},
          {"departamente", departments},
          {"numar_departamente", session.department_count()},
          {"total",
           {{"BrutP", static_cast<double>(totals.BrutP)},
            {"BrutC", static_cast<double>(totals.BrutC)},
            {"RestPlP", static_cast<double>(totals.RestPlP)},
            {"RestPlC", static_cast<double>(totals.RestPlC)},
            {"NrAngajati", totals.NrAngajati}}}};
}

void PrintSession(CliContext& context, params::Session& session) {
  if (context.json) {
    *context.out << SessionJson(session).dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
    return;
  }
  *context.out << "  Firma: " << session.company()
               << "\n  Luna:  " << MonthText(session.working_month())
               << (session.month_closed() ? "(inchisa)" : "(deschisa)") << "\n";
}

}  // namespace traveno::cli
