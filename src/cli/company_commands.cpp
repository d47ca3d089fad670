#include "cli/company_commands.h"

#include <map>
#include <memory>
#include <optional>

#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "core/errors.h"
#include "core/settings.h"
#include "core/store/records.h"
#include "core/text.h"
#include "params/company_register.h"

namespace traveno::cli {
namespace {

using nlohmann::json;

// The editor's fields as options: every text field of Firme by its name
// (--Denumire, --CodFiscal, ...), the employer kind and the footer lines.
struct CompanyOptions {
  std::string cod;
  std::map<std::string, std::optional<std::string>> fields;
  std::optional<int> tip;
  std::optional<std::string> rand1;
  std::optional<std::string> rand2;
};

bool IsEditorField(const FieldDef& field) {
  return field.kind == FieldKind::kText && std::string_view(field.name) != "Cod" &&
         std::string_view(field.name) != "nr";
}

void AddCompanyOptions(CLI::App* command, CompanyOptions& options) {
  command->add_option("--cod", options.cod, "Codul firmei (numele directorului)")->required();
  command->add_option("--TipAngaj", options.tip, "1 Agent economic, 2 Persoana fizica")
      ->check(CLI::IsMember({1, 2}));
  for (const FieldDef& field : FieldsOf<FirmeRow>()) {
    if (!IsEditorField(field)) continue;
    command->add_option(std::string("--") + field.name, options.fields[field.name],
                        std::string("Campul ") + field.name);
  }
  command->add_option("--rand1", options.rand1, "Randul 1 din subsolul fluturasilor");
  command->add_option("--rand2", options.rand2, "Randul 2 din subsolul fluturasilor");
}

void ApplyOptions(const CompanyOptions& options, params::CompanyInput& input) {
  for (std::size_t i = 0; i < FieldsOf<FirmeRow>().size(); ++i) {
    const FieldDef& field = FieldsOf<FirmeRow>()[i];
    auto it = options.fields.find(field.name);
    if (it != options.fields.end() && it->second) SetField(input.row, i, FieldValue(*it->second));
  }
  if (options.tip) input.legal_entity = *options.tip != 2;
  if (options.rand1) input.footer.line1 = Truncate(*options.rand1, kFooterWidth);
  if (options.rand2) input.footer.line2 = Truncate(*options.rand2, kFooterWidth);
}

// In the register's field order.
nlohmann::ordered_json CompanyJson(Store& store, const FirmeRow& row) {
  nlohmann::ordered_json object;
  const auto fields = FieldsOf<FirmeRow>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::visit(
        [&](const auto& value) {
          using T = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<T, std::int64_t> || std::is_same_v<T, double> ||
                        std::is_same_v<T, std::string>) {
            object[fields[i].name] = value;
          }
        },
        GetField(row, i));
  }
  const PaySlipFooter footer = LoadFooter(store.data_folder(), row.Cod);
  object["Randul1"] = footer.line1;
  object["Randul2"] = footer.line2;
  return object;
}

FirmeRow RequireCompany(Store& store, const std::string& code) {
  auto row = store.FindCompany(UpperTrim(code));
  if (!row) throw Error(params::kCompanyNotInRegister);
  return *row;
}

void Add(CliContext& context, const CompanyOptions& options) {
  CliSession cli(context);
  params::CompanyInput input;
  input.row.Cod = options.cod;
  input.footer = {};  // a new company's boxes start empty
  ApplyOptions(options, input);
  switch (params::AddCompany(*cli.store, input, cli.prompter)) {
    case params::AddCompanyResult::kAdded:
      if (!context.json) *context.out << "Firma " << UpperTrim(options.cod) << " a fost adaugata\n";
      if (context.json) {
        *context.out << CompanyJson(*cli.store, RequireCompany(*cli.store, options.cod))
                            .dump(2, ' ', false, kReplaceInvalidUtf8)
                     << "\n";
      }
      return;
    case params::AddCompanyResult::kCodeExists:
      cli.prompter.Message(MessageKind::kWarning, params::kCompanyCodeExists);
      [[fallthrough]];
    case params::AddCompanyResult::kInvalid:
      context.exit_code = 1;
  }
}

void Modify(CliContext& context, const CompanyOptions& options) {
  CliSession cli(context);
  const FirmeRow row = RequireCompany(*cli.store, options.cod);
  params::CompanyInput input = params::LoadCompanyInput(*cli.store, row);
  ApplyOptions(options, input);
  if (!params::ModifyCompany(*cli.store, row.CodF, input, cli.prompter)) {
    context.exit_code = 1;
    return;
  }
  if (context.json) {
    *context.out << CompanyJson(*cli.store, RequireCompany(*cli.store, options.cod))
                        .dump(2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
  }
}

void Delete(CliContext& context, const std::string& code) {
  CliSession cli(context);
  const FirmeRow row = RequireCompany(*cli.store, code);
  if (!cli.prompter.AskYesNo(params::kDeleteQuestion) ||
      !params::DeleteCompany(*cli.store, "", row.Cod, cli.prompter)) {
    context.exit_code = 1;
    return;
  }
  if (!context.json) *context.out << "Firma " << row.Cod << " a fost stearsa\n";
}

void Show(CliContext& context, const std::string& code) {
  CliSession cli(context);
  const FirmeRow row = RequireCompany(*cli.store, code);
  const auto object = CompanyJson(*cli.store, row);
  if (context.json) {
    *context.out << object.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
    return;
  }
  for (const auto& [name, value] : object.items()) {
    *context.out << PadRight(name, 10) << " "
                 << (value.is_string() ? value.get<std::string>()
                                       : value.dump(-1, ' ', false, kReplaceInvalidUtf8))
                 << "\n";
  }
}

void Open(CliContext& context, const std::string& code, const std::optional<std::string>& month) {
  CliSession cli(context);
  std::optional<Date> chosen;
  if (month) chosen = ParseMonthArgument(*month);
  if (!params::ChooseCompanyAndMonth(*cli.session, UpperTrim(code), chosen, cli.prompter,
                                     cli.progress)) {
    if (!chosen && !params::IsCompanyInitialised(*cli.store, code)) {
      cli.prompter.Message(MessageKind::kWarning, params::kInitialisationLine);
    }
    context.exit_code = 1;
    return;
  }
  PrintSession(context, *cli.session);
}

void Months(CliContext& context, const std::string& code) {
  CliSession cli(context);
  RequireCompany(*cli.store, code);
  const auto months = params::ListCompanyMonths(*cli.store, UpperTrim(code));
  if (context.json) {
    json list = json::array();
    for (const auto& month : months) {
      list.push_back({{"luna", MonthArgument(month.luna)}, {"inchisa", month.closed}});
    }
    *context.out << list.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
    return;
  }
  if (months.empty() && !params::IsCompanyInitialised(*cli.store, code)) {
    *context.out << TerminalText(params::kInitialisationLine) << "\n";
  }
  for (const auto& month : months) {
    *context.out << params::MonthListLine(month.luna) << (month.closed ? "  inchisa" : "") << "\n";
  }
}

void Clone(CliContext& context, const std::string& from, const std::string& code,
           const std::string& month) {
  CliSession cli(context);
  const Date chosen = ParseMonthArgument(month);
  if (!cli.Open(UpperTrim(code), chosen) ||
      !params::CloneMonth(*cli.session, from, chosen, cli.prompter, cli.progress)) {
    context.exit_code = 1;
    return;
  }
  PrintSession(context, *cli.session);
}

}  // namespace

void RegisterCompanyCommands(CLI::App& app, CliContext& context) {
  CLI::App* company = app.get_subcommand("company");

  auto add_options = std::make_shared<CompanyOptions>();
  CLI::App* add = company->add_subcommand("add", "Adaugarea unei firme noi");
  AddCompanyOptions(add, *add_options);
  add->callback([&context, add_options] { Add(context, *add_options); });

  auto modify_options = std::make_shared<CompanyOptions>();
  CLI::App* modify = company->add_subcommand("modify", "Modificare date firma");
  AddCompanyOptions(modify, *modify_options);
  modify->callback([&context, modify_options] { Modify(context, *modify_options); });

  auto code = std::make_shared<std::string>();
  CLI::App* remove = company->add_subcommand("delete", "Stergere firma (--yes raspunde Da)");
  remove->add_option("--cod", *code, "Codul firmei")->required();
  remove->callback([&context, code] { Delete(context, *code); });

  CLI::App* show = company->add_subcommand("show", "Datele unei firme si subsolul fluturasilor");
  show->add_option("--cod", *code, "Codul firmei")->required();
  show->callback([&context, code] { Show(context, *code); });

  auto month = std::make_shared<std::optional<std::string>>();
  CLI::App* open = company->add_subcommand(
      "open", "Alege firma si luna; o firma noua primeste directorul, tabelele si prima luna");
  open->add_option("--cod", *code, "Codul firmei")->required();
  open->add_option("--month", *month, "Luna AAAA-LL (prima luna pentru o firma noua)");
  open->callback([&context, code, month] { Open(context, *code, *month); });

  CLI::App* months = app.add_subcommand("months", "Lunile unei firme, cu starea lor");
  months->add_option("--cod", *code, "Codul firmei")->required();
  months->callback([&context, code] { Months(context, *code); });

  auto from = std::make_shared<std::string>();
  auto clone_month = std::make_shared<std::string>();
  CLI::App* clone = app.add_subcommand(
      "clone", "Inlocuieste luna firmei cu aceeasi luna a altei firme (--confirm)");
  clone->add_option("--from", *from, "Firma sursa")->required();
  clone->add_option("--cod", *code, "Firma destinatie")->required();
  clone->add_option("--month", *clone_month, "Luna AAAA-LL")->required();
  clone->callback(
      [&context, from, code, clone_month] { Clone(context, *from, *code, *clone_month); });
}

}  // namespace traveno::cli
