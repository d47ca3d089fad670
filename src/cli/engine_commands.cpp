#include "cli/engine_commands.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "cli/cli_prompter.h"
#include "cli/json_output.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/store/field_rules.h"
#include "core/store/records.h"
#include "core/text.h"
#include "engine/calculated_fields.h"
#include "engine/formula.h"
#include "engine/formula_check.h"
#include "engine/month_calculation.h"
#include "engine/past_rows.h"
#include "engine/tax_table.h"

namespace traveno::cli {
namespace {

using nlohmann::json;
using engine::ParameterRow;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw std::invalid_argument(where + ": " + what);
}

// An amount of either sign, as the stored amounts are bounded.
constexpr ValueRule kAmountRule{ValueKind::kNumber, -kMaxAmount, kMaxAmount};

// A value out of its rule's range never enters a calculation: nothing
// infinite or not a number can come out of it.
void RequireInRange(const std::string& where, const ValueRule& rule, const FieldValue& value) {
  const std::string refusal = RefusalOf(where, rule, value);
  if (!refusal.empty()) throw std::invalid_argument(refusal);
}

// A whole amount as an integer, anything else as it is.
json Number(long double value) {
  const double d = static_cast<double>(value);
  if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9007199254740992.0) {
    return static_cast<std::int64_t>(d);
  }
  return d;
}

Date ParseMonth(const json& value, const std::string& where) {
  if (!value.is_string()) Fail(where, "expected a date \"YYYY-MM-DD\"");
  auto date = Date::ParseIso(value.get<std::string>());
  if (!date) Fail(where, "expected a date \"YYYY-MM-DD\", not \"" + value.get<std::string>() + "\"");
  return FirstOfMonth(*date);
}

std::vector<ParameterRow> GeneralRows(const json& object, const std::string& where) {
  std::vector<ParameterRow> rows;
  if (object.is_null()) return rows;
  if (!object.is_object()) Fail(where, "expected an object of parameters");
  for (const auto& [name, value] : object.items()) {
    if (!value.is_number()) Fail(where + "." + name, "expected a number");
    RequireInRange(where + "." + name, GeneralParameterRule(name), FieldValue(value.get<double>()));
    rows.push_back({name, value.get<double>(), ""});
  }
  return rows;
}

std::vector<ParameterRow> CompanyRows(const json& object, const std::string& where) {
  std::vector<ParameterRow> rows;
  if (object.is_null()) return rows;
  if (!object.is_object()) Fail(where, "expected an object of parameters");
  for (const auto& [name, value] : object.items()) {
    const std::string at = where + "." + name;
    ParameterRow row{name, 0, ""};
    if (value.is_number()) {
      row.Val = value.get<double>();
    } else if (value.is_string()) {
      row.Grupa = value.get<std::string>();
    } else if (value.is_object()) {
      for (const auto& [key, part] : value.items()) {
        if (key == "Val") {
          if (!part.is_number()) Fail(at + ".Val", "expected a number");
          row.Val = part.get<double>();
        } else if (key == "Grupa") {
          if (!part.is_string()) Fail(at + ".Grupa", "expected a text");
          row.Grupa = part.get<std::string>();
        } else {
          Fail(at + "." + key, "expected \"Val\" or \"Grupa\"");
        }
      }
    } else {
      Fail(at, "expected a number, a text or {\"Val\": n, \"Grupa\": \"text\"}");
    }
    if (!name.starts_with("DEP_"))
      RequireInRange(at, CompanyParameterRule(name), FieldValue(row.Val));
    rows.push_back(std::move(row));
  }
  return rows;
}

engine::TaxTable Brackets(const json& list, const std::string& where) {
  engine::TaxTable table;
  if (list.is_null()) return table;
  if (!list.is_array()) Fail(where, "expected a list of [P_Venit, V_Const, V_Proc]");
  for (std::size_t i = 0; i < list.size(); ++i) {
    const json& b = list[i];
    if (!b.is_array() || b.size() != 3 || !b[0].is_number() || !b[1].is_number() ||
        !b[2].is_number()) {
      Fail(where + "[" + std::to_string(i) + "]", "expected [P_Venit, V_Const, V_Proc]");
    }
    ImpoRow bracket;
    bracket.P_Venit = b[0].get<double>();
    bracket.V_Const = b[1].get<double>();
    bracket.V_Proc = b[2].get<double>();
    try {
      RequireRowValues(bracket);
    } catch (const ValueRefused& refused) {
      throw std::invalid_argument(where + "[" + std::to_string(i) + "]: " + refused.what());
    }
    table.push_back({b[0].get<double>(), b[1].get<double>(), b[2].get<double>()});
  }
  std::stable_sort(table.begin(), table.end(), [](const auto& a, const auto& b) {
    return a.P_Venit < b.P_Venit;
  });
  return table;
}

PersRow ParseRow(const json& object, const std::string& where) {
  if (!object.is_object()) Fail(where, "expected an object of fields");
  PersRow row;
  const auto fields = FieldsOf<PersRow>();
  for (const auto& [name, value] : object.items()) {
    const std::string at = where + "." + name;
    auto index = FindField<PersRow>(name);
    if (!index) Fail(at, "no such field");
    const FieldDef& def = fields[*index];
    FieldValue converted;
    switch (def.kind) {
      case FieldKind::kText:
        if (!value.is_string()) Fail(at, "expected a text");
        converted = value.get<std::string>();
        break;
      case FieldKind::kDate: {
        if (!value.is_string()) Fail(at, "expected a date \"YYYY-MM-DD\"");
        const std::string text = value.get<std::string>();
        if (text.empty()) {
          converted = Date();
        } else if (auto date = Date::ParseIso(text)) {
          converted = *date;
        } else {
          Fail(at, "expected a date \"YYYY-MM-DD\", not \"" + text + "\"");
        }
        break;
      }
      case FieldKind::kBlob:
        Fail(at, "cannot be given");
      default:
        if (!value.is_number()) Fail(at, "expected a number");
        converted = value.get<double>();
        break;
    }
    RequireInRange(at, RuleOf<PersRow>(*index), converted);
    try {
      SetField(row, *index, converted);
    } catch (const std::invalid_argument&) {
      Fail(at, "value out of range");
    }
  }
  return row;
}

json RowJson(const PersRow& row, const engine::MonthParameters& parameters) {
  json out = json::object();
  const auto fields = FieldsOf<PersRow>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldValue value = GetField(row, i);
    if (const auto* d = std::get_if<double>(&value)) {
      out[fields[i].name] = Number(*d);
    } else if (const auto* n = std::get_if<std::int64_t>(&value)) {
      out[fields[i].name] = *n;
    } else if (const auto* s = std::get_if<std::string>(&value)) {
      out[fields[i].name] = *s;
    } else if (const auto* date = std::get_if<Date>(&value)) {
      out[fields[i].name] = date->ToIso();
    }
  }
  const engine::ReportFigures report = engine::ComputeReportFigures(row, parameters);
  if (report.Tarifar) out["Tarifar"] = Number(*report.Tarifar);
  out["FondSalariu"] = Number(report.FondSalariu);
  if (report.FondSomajFirma) out["FondSomajFirma"] = Number(*report.FondSomajFirma);
  out["AlteSumeSiAlteSporuri"] = Number(report.AlteSumeSiAlteSporuri);
  const engine::NominalFigures nominal = engine::ComputeNominalFigures(row, parameters);
  out["ZileNorm"] = Number(nominal.ZileNorm);
  out["ZilePrest"] = Number(nominal.ZilePrest);
  out["TotalZile"] = Number(nominal.TotalZile);
  if (nominal.Baza2) out["Baza2"] = Number(*nominal.Baza2);
  if (nominal.BazaCAS) out["BazaCAS"] = Number(*nominal.BazaCAS);
  if (nominal.BazaSomaj) out["BazaSomaj"] = Number(*nominal.BazaSomaj);
  out["TotalPrest"] = Number(nominal.TotalPrest);
  out["BASS"] = Number(nominal.BASS);
  return out;
}

// Reads a bracket file: a list of brackets, or an object holding "brackets"
// (monthly) and "annual_brackets".
engine::TaxTable ReadBracketFile(const std::string& path, bool annual) {
  std::ifstream file(path);
  if (!file) throw std::invalid_argument("Cannot read the bracket file " + path);
  json document;
  try {
    document = json::parse(file);
  } catch (const json::parse_error& e) {
    throw std::invalid_argument(path + ": not valid JSON (" + e.what() + ")");
  }
  if (document.is_object()) {
    const char* key = annual ? "annual_brackets" : "brackets";
    return Brackets(document.contains(key) ? document[key] : json(), key);
  }
  return Brackets(document, "brackets");
}

void RunCalc(CliContext& context) {
  const std::string input((std::istreambuf_iterator<char>(std::cin)),
                          std::istreambuf_iterator<char>());
  try {
    *context.out << CalculateMonthDocument(input) << "\n";
  } catch (const std::invalid_argument& e) {
    *context.err << e.what() << "\n";
    context.exit_code = 1;
  } catch (const Error& e) {
    *context.err << TerminalText(e.what()) << "\n";
    context.exit_code = 1;
  }
}

struct TaxOptions {
  std::optional<double> gross;
  std::optional<double> net;
  std::optional<double> tax;
  bool annual = false;
  std::string brackets;
};

void RunTax(CliContext& context, const TaxOptions& options) {
  try {
    const int given = options.gross.has_value() + options.net.has_value() + options.tax.has_value();
    if (given != 1) throw std::invalid_argument("Give exactly one of --gross, --net, --tax");
    for (const auto& amount : {options.gross, options.net, options.tax}) {
      if (amount) RequireInRange("suma", kAmountRule, FieldValue(*amount));
    }
    const engine::TaxTable table = ReadBracketFile(options.brackets, options.annual);
    std::optional<engine::TaxFigures> figures;
    if (options.gross) figures = engine::TaxFromGross(table, *options.gross);
    if (options.net) figures = engine::TaxFromNet(table, *options.net);
    if (options.tax) figures = engine::TaxFromTax(table, *options.tax);
    if (!figures) throw std::invalid_argument("The bracket reached cannot be inverted (rate 0 % or 100 %)");
    if (context.json) {
      *context.out << json{{"gross", Number(figures->gross)},
                           {"net", Number(figures->net)},
                           {"tax", Number(figures->tax)}}
                          .dump(-1, ' ', false, kReplaceInvalidUtf8)
                   << "\n";
    } else {
      *context.out << "Suma bruta: "
                   << Number(figures->gross).dump(-1, ' ', false, kReplaceInvalidUtf8) << "\n"
                   << "Suma neta: "
                   << Number(figures->net).dump(-1, ' ', false, kReplaceInvalidUtf8) << "\n"
                   << "Impozit: " << Number(figures->tax).dump(-1, ' ', false, kReplaceInvalidUtf8)
                   << "\n";
    }
  } catch (const std::invalid_argument& e) {
    *context.err << e.what() << "\n";
    context.exit_code = 1;
  }
}

void RunFormulaCheck(CliContext& context, const std::string& kind, int bonus, double months,
                     const std::string& text) {
  const engine::FormulaKind formula_kind =
      kind == "co" ? engine::FormulaKind::kHolidayPay : engine::FormulaKind::kBonus;
  const auto fields = engine::AcceptedFormulaFields(formula_kind, bonus);
  const auto message = engine::ValideazaFormula(text, fields, formula_kind, months);
  if (message) {
    *context.out << TerminalText(*message) << "\n";
    context.exit_code = 1;
  } else {
    *context.out << engine::kFormulaCorrect << "\n";
  }
}

void RunFormulaEval(CliContext& context, const std::string& text,
                    const std::vector<std::string>& assignments) {
  try {
    PersRow row;
    engine::FormulaVariables variables;
    for (const std::string& assignment : assignments) {
      const std::size_t equals = assignment.find('=');
      if (equals == std::string::npos) {
        throw std::invalid_argument("Expected NAME=VALUE, not \"" + assignment + "\"");
      }
      const std::string name = UpperTrim(assignment.substr(0, equals));
      const std::string value_text = assignment.substr(equals + 1);
      const auto value = TryParseNumber(value_text);
      if (!value) throw std::invalid_argument(name + ": \"" + value_text + "\" is not a number");
      const auto field = FindField<PersRow>(name);
      RequireInRange(name, field ? RuleOf<PersRow>(*field) : kAmountRule, FieldValue(*value));
      if (name == "TARIFAR") {
        variables.tarifar = *value;
      } else if (name == "REALIZAT") {
        variables.realizat = *value;
      } else if (name.size() == 5 && name.starts_with("VALS") && name[4] >= '1' &&
                 name[4] <= '4') {
        variables.vals[name[4] - '1'] = *value;
      } else if (auto index = FindField<PersRow>(name)) {
        const FieldKind field_kind = FieldsOf<PersRow>()[*index].kind;
        if (field_kind == FieldKind::kText || field_kind == FieldKind::kDate ||
            field_kind == FieldKind::kBlob) {
          throw std::invalid_argument(name + ": not a numeric field");
        }
        SetField(row, *index, FieldValue(*value));
      } else {
        throw std::invalid_argument(name + ": no such field");
      }
    }
    const long double result = engine::CompiledFormula(text).Evaluate(row, variables);
    *context.out << Number(result).dump(-1, ' ', false, kReplaceInvalidUtf8) << "\n";
  } catch (const std::invalid_argument& e) {
    *context.err << e.what() << "\n";
    context.exit_code = 1;
  } catch (const Error& e) {
    *context.err << TerminalText(e.what()) << "\n";
    context.exit_code = 1;
  }
}

}  // namespace

std::string CalculateMonthDocument(const std::string& input) {
  json document;
  try {
    document = json::parse(input);
  } catch (const json::parse_error& e) {
    throw std::invalid_argument(std::string("The input is not valid JSON: ") + e.what());
  }
  if (!document.is_object()) Fail("input", "expected an object");
  auto member = [&](const char* key) { return document.contains(key) ? document[key] : json(); };

  engine::MonthParameters parameters;
  if (!document.contains("month")) Fail("month", "missing");
  parameters.luna = ParseMonth(document["month"], "month");
  parameters.general = engine::BuildGeneralParameters(GeneralRows(member("general"), "general"));
  const std::vector<ParameterRow> company_rows = CompanyRows(member("company"), "company");
  parameters.company = engine::BuildCompanyParameters(company_rows);
  engine::TaxTable brackets = Brackets(member("brackets"), "brackets");
  Brackets(member("annual_brackets"), "annual_brackets");  // checked, not used by the month

  std::vector<PersRow> rows;
  const json row_list = member("rows");
  if (!row_list.is_null() && !row_list.is_array()) Fail("rows", "expected a list of rows");
  for (std::size_t i = 0; i < row_list.size(); ++i) {
    PersRow row = ParseRow(row_list[i], "rows[" + std::to_string(i) + "]");
    if (row.LUNA.IsEmpty()) row.LUNA = parameters.luna;
    rows.push_back(std::move(row));
  }

  // Earlier months, and this month's rows as they were stored before the
  // calculation.
  engine::MemoryPastRows past;
  const json history = member("history");
  if (!history.is_null() && !history.is_array()) Fail("history", "expected a list of rows");
  for (std::size_t i = 0; i < history.size(); ++i) {
    past.AddRow(ParseRow(history[i], "history[" + std::to_string(i) + "]"));
  }
  for (const PersRow& row : rows) past.AddRow(row);
  const json by_month = member("company_by_month");
  if (!by_month.is_null() && !by_month.is_object()) {
    Fail("company_by_month", "expected an object of months");
  }
  if (by_month.is_object()) {
    for (const auto& [month, values] : by_month.items()) {
      const std::string at = "company_by_month." + month;
      past.SetCompanyRows(ParseMonth(json(month), at), CompanyRows(values, at));
    }
  }
  past.SetCompanyRows(parameters.luna, company_rows);

  const engine::PayrollEngine payroll(parameters, std::move(brackets), &past);
  const engine::MonthResult result = engine::RecalculateMonth(payroll, rows);

  json out;
  out["rows"] = json::array();
  for (const PersRow& row : rows) out["rows"].push_back(RowJson(row, parameters));
  out["totals"] = json::object();
  for (const auto& [name, value] : engine::NamedTotals(result.totals)) {
    out["totals"][name] = Number(value);
  }
  out["funds"] = json::object();
  for (const auto& [name, value] : engine::NamedFunds(result.funds)) {
    out["funds"][name] = Number(value);
  }
  out["NumarMediuSalariati"] = Number(result.numar_mediu_salariati);
  return out.dump(2, ' ', false, kReplaceInvalidUtf8);
}

void RegisterEngineCommands(CLI::App& app, CliContext& context) {
  CLI::App* calc = app.add_subcommand(
      "calc", "Calculeaza o luna citita ca JSON de la intrarea standard (fara director de date)");
  calc->callback([&context] { RunCalc(context); });

  auto tax_options = std::make_shared<TaxOptions>();
  CLI::App* tax = app.add_subcommand("tax", "Calculatorul de impozit: brut, net sau impozit");
  tax->add_option("--gross", tax_options->gross, "Suma bruta");
  tax->add_option("--net", tax_options->net, "Suma neta");
  tax->add_option("--tax", tax_options->tax, "Impozit");
  tax->add_flag("--annual", tax_options->annual, "Baremul anual");
  tax->add_option("--brackets", tax_options->brackets, "Fisier JSON cu transele")->required();
  tax->callback([&context, tax_options] { RunTax(context, *tax_options); });

  CLI::App* formula = app.add_subcommand("formula", "Formulele sporurilor si ale concediului");
  formula->require_subcommand(1);

  struct CheckOptions {
    std::string kind = "bonus";
    int bonus = 1;
    double months = 0;
    std::string text;
  };
  auto check_options = std::make_shared<CheckOptions>();
  CLI::App* check = formula->add_subcommand("check", "Verifica o formula");
  check->add_option("--kind", check_options->kind, "bonus sau co")
      ->check(CLI::IsMember({"bonus", "co"}));
  check->add_option("--bonus", check_options->bonus, "Sporul 1..4")->check(CLI::Range(1, 4));
  check->add_option("--months", check_options->months, "Numar de luni anterioare (co)");
  check->add_option("formula", check_options->text, "Formula")->required();
  check->callback([&context, check_options] {
    RunFormulaCheck(context, check_options->kind, check_options->bonus, check_options->months,
                    check_options->text);
  });

  struct EvalOptions {
    std::string text;
    std::vector<std::string> values;
  };
  auto eval_options = std::make_shared<EvalOptions>();
  CLI::App* eval = formula->add_subcommand("eval", "Evalueaza o formula cu valorile date");
  eval->add_option("formula", eval_options->text, "Formula")->required();
  eval->add_option("valori", eval_options->values, "NUME=VALOARE ...");
  eval->callback([&context, eval_options] {
    RunFormulaEval(context, eval_options->text, eval_options->values);
  });
}

}  // namespace traveno::cli
