#include "cli/backup_commands.h"

#include <ctime>
#include <memory>
#include <nlohmann/json.hpp>

#include "backup/archive_reader.h"
#include "backup/archive_writer.h"
#include "backup/backup_settings.h"
#include "backup/backup_source.h"
#include "backup/restore.h"
#include "backup/safety_copies.h"
#include "cli/cli_prompter.h"
#include "cli/json_output.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/text.h"

namespace traveno::cli {
namespace fs = std::filesystem;
namespace {

using backup::Manifest;

struct BackupOptions {
  std::string out;
  std::vector<std::string> codes;
  std::string from;
  std::string to;
  std::optional<int> kept;
  std::optional<int> days;
};

std::string Join(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

std::vector<std::string> Codes(const std::vector<std::string>& typed) {
  std::vector<std::string> codes;
  for (const std::string& code : typed) codes.push_back(UpperTrim(code));
  return codes;
}

// "ABC (2003-01 .. 2003-12), DEF (2003-05)"
std::string CompaniesText(const Manifest& manifest) {
  std::string text;
  for (const backup::ArchivedCompany& company : manifest.companies) {
    text += (text.empty() ? "" : ", ") + company.code;
    if (!company.months.empty()) {
      text += " (" + company.months.front() +
              (company.months.size() > 1 ? " .. " + company.months.back() : "") + ")";
    }
  }
  return text.empty() ? "fara firme" : text;
}

nlohmann::json ManifestSummary(const Manifest& manifest) {
  nlohmann::json companies = nlohmann::json::array();
  for (const backup::ArchivedCompany& company : manifest.companies) {
    companies.push_back(
        {{"cod", company.code}, {"denumire", company.name}, {"luni", company.months}});
  }
  std::uint64_t bytes = 0;
  for (const backup::ArchivedFile& file : manifest.files) bytes += file.size;
  return {{"creat", manifest.created},
          {"program", manifest.program_version},
          {"format_date", manifest.layout_version},
          {"tip", manifest.scope == backup::BackupScope::kComplete ? "complet" : "firme"},
          {"operatie", manifest.operation},
          {"firme", companies},
          {"fisiere", manifest.files.size()},
          {"octeti_date", bytes}};
}

void Print(CliContext& context, const nlohmann::json& json) {
  *context.out << json.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
}

void MakeBackup(CliContext& context, const BackupOptions& options) {
  const fs::path folder = ResolveDataFolder(context.data_dir);
  backup::CompleteInterruptedRestore(folder);
  backup::BackupRequest request;
  if (!options.codes.empty()) {
    request.companies = Codes(options.codes);
    request.scope = backup::BackupScope::kCompanies;
  }
  request.now = std::time(nullptr);
  const fs::path out = fs::absolute(fs::path(options.out));
  RequireOutputFile(folder, out);
  Manifest manifest;
  {
    backup::DataFolderSource source(folder);
    SilentProgress quiet;
    manifest = backup::WriteBackup(source, out, request, quiet);
  }
  backup::RecordBackup(folder, request.now);
  if (context.json) {
    nlohmann::json json = ManifestSummary(manifest);
    json["fisier"] = out.string();
    Print(context, json);
    return;
  }
  *context.out << "Datele au fost salvate in " << out.string() << ": registrul, "
               << CompaniesText(manifest)
               << (manifest.FindFile(kSettingsFileName) ? ", fisierul de setari" : "") << ".\n";
}

void ListCopies(CliContext& context) {
  const fs::path folder = ResolveDataFolder(context.data_dir);
  const std::vector<backup::ListedBackup> copies = backup::ListSafetyCopies(folder);
  if (context.json) {
    nlohmann::json list = nlohmann::json::array();
    for (const backup::ListedBackup& copy : copies) {
      nlohmann::json entry =
          copy.manifest ? ManifestSummary(*copy.manifest) : nlohmann::json::object();
      entry["fisier"] = copy.file.string();
      entry["octeti"] = copy.size;
      if (!copy.problem.empty()) entry["problema"] = copy.problem;
      list.push_back(entry);
    }
    Print(context, list);
    return;
  }
  if (copies.empty()) {
    *context.out << "Nu exista copii de siguranta in " << backup::SafetyCopyFolder(folder).string()
                 << ".\n";
    return;
  }
  for (const backup::ListedBackup& copy : copies) {
    *context.out << copy.file.filename().string() << "\n";
    if (copy.manifest) {
      *context.out << "  " << copy.manifest->created << "  "
                   << backup::OperationText(copy.manifest->operation) << ": "
                   << CompaniesText(*copy.manifest) << "\n";
    } else {
      *context.out << "  " << TerminalText(copy.problem) << "\n";
    }
  }
}

void Show(CliContext& context, const BackupOptions& options) {
  const Manifest manifest = backup::ReadManifest(options.from);
  if (context.json) {
    Print(context, nlohmann::json::parse(backup::ManifestJson(manifest)));
    return;
  }
  *context.out << "Salvare din " << manifest.created << " (programul " << manifest.program_version
               << ", formatul datelor " << manifest.layout_version << ")\n"
               << "  " << backup::OperationText(manifest.operation) << ": "
               << CompaniesText(manifest) << "\n";
  for (const backup::ArchivedFile& file : manifest.files) {
    *context.out << "  " << PadRight(file.name, 16) << " " << file.size << " octeti";
    std::int64_t rows = 0;
    for (const auto& [table, count] : file.rows) rows += count;
    if (file.layout_version) *context.out << ", " << rows << " linii";
    *context.out << "\n";
  }
}

void Settings(CliContext& context, const BackupOptions& options) {
  const fs::path folder = ResolveDataFolder(context.data_dir);
  backup::BackupSettings settings = backup::LoadBackupSettings(folder);
  if (options.kept || options.days) {
    backup::SaveBackupSettings(folder, options.kept.value_or(settings.kept_copies),
                               options.days.value_or(settings.reminder_days));
    settings = backup::LoadBackupSettings(folder);
  }
  const std::string last =
      settings.last_backup ? backup::ManifestTime(*settings.last_backup) : std::string();
  if (context.json) {
    Print(context, {{"copii_pastrate", settings.kept_copies},
                    {"zile_amintire", settings.reminder_days},
                    {"ultima_salvare", last}});
    return;
  }
  *context.out << "Copii de siguranta pastrate pentru o firma: " << settings.kept_copies << "\n"
               << "Amintirea salvarii la iesire: "
               << (settings.reminder_days == 0
                       ? std::string("oprita")
                       : "dupa " + std::to_string(settings.reminder_days) + " zile")
               << "\n"
               << "Ultima salvare: " << (last.empty() ? "niciodata" : last) << "\n";
}

void Restore(CliContext& context, const BackupOptions& options) {
  backup::RestoreOptions restore;
  restore.target = options.to.empty() ? ResolveDataFolder(context.data_dir) : fs::path(options.to);
  restore.companies = Codes(options.codes);
  CliPrompter prompter(*context.out, *context.err, context.yes, context.confirm);
  restore.confirm = [&prompter](const std::string& question) {
    return prompter.AskYesNo(question);
  };
  SilentProgress quiet;
  const backup::RestoreResult result = backup::RestoreBackup(options.from, restore, quiet);
  if (result.abandoned) {
    *context.err << "Restaurarea nu s-a facut." << backup::kNothingChanged << "\n";
    context.exit_code = 1;
    return;
  }
  if (context.json) {
    nlohmann::json json = ManifestSummary(result.manifest);
    json["restaurate"] = result.companies;
    json["registru_inlocuit"] = result.register_replaced;
    json["setari_inlocuite"] = result.settings_replaced;
    json["copie_de_siguranta"] = result.safety_copy ? result.safety_copy->string() : "";
    Print(context, json);
    return;
  }
  std::string what;
  if (result.register_replaced) what += "registrul, ";
  if (result.settings_replaced) what += "fisierul de setari, ";
  *context.out << "Au fost restaurate in " << restore.target.string() << ": " << what
               << (result.companies.empty() ? "nicio firma" : "firmele " + Join(result.companies))
               << " (salvarea din " << result.manifest.created << ").\n";
  if (result.safety_copy) {
    *context.out << "Datele inlocuite sunt pastrate in " << result.safety_copy->string() << ".\n";
  }
}

}  // namespace

void RegisterBackupCommands(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<BackupOptions>();
  CLI::App* make = app.add_subcommand(
      "backup",
      "Salvare date: registrul, firmele si setarile intr-o arhiva (--out); list, show, settings");
  make->add_option("--out", options->out, "Fisierul arhivei (de exemplu salvare.tar)");
  make->add_option("--cod", options->codes, "Numai firmele date (codurile, separate prin blanc)");
  make->require_subcommand(0, 1);
  CLI::App* list = make->add_subcommand("list", "Copiile de siguranta din directorul salvari");
  list->callback([&context] { ListCopies(context); });
  CLI::App* show = make->add_subcommand("show", "Manifestul unei arhive de salvare");
  show->add_option("--from", options->from, "Fisierul arhivei")->required();
  show->callback([&context, options] { Show(context, *options); });
  CLI::App* settings = make->add_subcommand(
      "settings", "Copiile de siguranta pastrate si amintirea salvarii la iesire");
  settings->add_option("--copii", options->kept, "Copii de siguranta pastrate pentru o firma")
      ->check(CLI::Range(1, backup::kMaxKeptCopies));
  settings
      ->add_option("--zile", options->days, "Zile dupa care se aminteste salvarea (0: niciodata)")
      ->check(CLI::Range(0, backup::kMaxReminderDays));
  settings->callback([&context, options] { Settings(context, *options); });
  make->callback([&context, options, make] {
    if (!make->get_subcommands().empty()) return;
    if (options->out.empty()) throw Error("Lipseste --out (fisierul arhivei) !");
    MakeBackup(context, *options);
  });

  CLI::App* restore = app.add_subcommand(
      "restore", "Restaurare date dintr-o arhiva de salvare (--yes: inlocuieste datele existente)");
  restore->add_option("--from", options->from, "Fisierul arhivei")->required();
  restore->add_option("--cod", options->codes, "Numai firmele date, fiecare singura");
  restore->add_option("--to", options->to, "Alt director de date decat cel obisnuit");
  restore->callback([&context, options] { Restore(context, *options); });
}

}  // namespace traveno::cli
