#include "cli/personnel_cli_support.h"

#include <cmath>

#include "cli/json_output.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/store/field_rules.h"
#include "core/text.h"
#include "engine/calculated_fields.h"
#include "params/departments.h"
#include "personnel/grid_line.h"

namespace traveno::cli::personnel_cli {
namespace {

using nlohmann::json;

json Number(long double value) {
  const double d = static_cast<double>(value);
  if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9007199254740992.0) {
    return static_cast<std::int64_t>(d);
  }
  return d;
}

json Optional(const std::optional<long double>& value) {
  return value ? Number(*value) : json(nullptr);
}

}  // namespace

void AddMonthOptions(CLI::App* command, MonthOptions& options, bool scope) {
  command->add_option("--cod", options.cod, "Codul firmei")->required();
  command->add_option("--month", options.month, "Luna AAAA-LL")->required();
  if (scope) {
    command->add_option("--tip", options.tip, "1 permanenti, 2 contract partial")
        ->check(CLI::IsMember({"1", "2"}));
    command->add_option("--depart", options.depart, "Codul departamentului");
  }
}

personnel::GridScope ScopeOf(const MonthOptions& options) {
  return {options.tip, DepartmentOf(options)};
}

std::optional<std::string> DepartmentOf(const MonthOptions& options) {
  if (Trim(options.depart).empty()) return std::nullopt;
  return UpperTrim(options.depart);
}

bool OpenMonth(CliSession& cli, const MonthOptions& options, MonthTotals totals) {
  if (!cli.Open(UpperTrim(options.cod), ParseMonthArgument(options.month))) {
    cli.context.exit_code = 1;
    return false;
  }
  const std::optional<std::string> department = DepartmentOf(options);
  if (totals == MonthTotals::kSummed) {
    personnel::SumStoredLines(*cli.session, department);
  } else if (department && !params::IsDepartmentOfMonth(*cli.session, *department)) {
    throw ValueRefused(params::UnknownDepartment(*department));
  }
  return true;
}

PersRow LineOfPerson(params::Session& session, int iid) {
  const std::optional<PersRow> line = personnel::FindLineOfPerson(session, iid);
  if (!line) {
    throw Error("Persoana cu IID " + std::to_string(iid) + " nu exista in luna de lucru !");
  }
  return *line;
}

template <typename Row>
json RowJson(const Row& row) {
  json object = json::object();
  const auto fields = FieldsOf<Row>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldValue value = GetField(row, i);
    json& slot = object[fields[i].name];
    if (const auto* n = std::get_if<std::int64_t>(&value)) {
      slot = *n;
    } else if (const auto* d = std::get_if<double>(&value)) {
      slot = Number(*d);
    } else if (const auto* s = std::get_if<std::string>(&value)) {
      slot = *s;
    } else if (const auto* date = std::get_if<Date>(&value)) {
      slot = date->ToIso();
    } else {
      slot = nullptr;  // pictures are not shown
    }
  }
  return object;
}
template json RowJson<PersRow>(const PersRow&);
template json RowJson<PintRow>(const PintRow&);

json LineJson(const PersRow& row, const engine::MonthParameters& parameters) {
  json object = RowJson(row);
  const engine::ReportFigures report = engine::ComputeReportFigures(row, parameters);
  const engine::NominalFigures nominal = engine::ComputeNominalFigures(row, parameters);
  object["calculat"] = {
      {"Tarifar", Optional(report.Tarifar)},
      {"FondSalariu", Number(report.FondSalariu)},
      {"FondSomajFirma", Optional(report.FondSomajFirma)},
      {"AlteSumeSiAlteSporuri", Number(report.AlteSumeSiAlteSporuri)},
      {"ZileNorm", Number(nominal.ZileNorm)},
      {"ZilePrest", Number(nominal.ZilePrest)},
      {"TotalZile", Number(nominal.TotalZile)},
      {"Baza2", Optional(nominal.Baza2)},
      {"BazaCAS", Optional(nominal.BazaCAS)},
      {"BazaSomaj", Optional(nominal.BazaSomaj)},
      {"TotalPrest", Number(nominal.TotalPrest)},
      {"BASS", Number(nominal.BASS)},
      {"Categoria", engine::Categoria(row.TIP, row.TIMP, row.ZILE_CIC)},
      {"BrutCalc", Number(engine::BrutCalc(row.BRUT, row.CM2L, row.CIC))},
  };
  return object;
}

json TotalsJson(params::Session& session, const std::optional<std::string>& department) {
  json totals = json::object();
  for (const auto& [name, value] : engine::NamedTotals(session.totals())) totals[name] = Number(value);
  json funds = json::object();
  for (const auto& [name, value] : engine::NamedFunds(session.funds())) funds[name] = Number(value);
  const personnel::GridTotals g = personnel::ComputeGridTotals(session, department);
  json grid = {
      {"Avans", Number(g.avans)},
      {"Rest de plata", Number(g.rest_de_plata)},
      {"Total net angajati", Number(g.total_net)},
      {"Cost total salarii", Number(g.cost_total)},
      {"Total salarii / Net salarii", g.ratio},
      {"Subtotaluri permanenti", {{"Brut", Number(g.brut_p)}, {"Realizat", Number(g.realizat_p)},
                                  {"Avans", Number(g.avans_p)}, {"Rest plata", Number(g.rest_p)}}},
      {"Subtotaluri c. partial", {{"Brut", Number(g.brut_c)}, {"Realizat", Number(g.realizat_c)},
                                  {"Avans", Number(g.avans_c)}, {"Rest plata", Number(g.rest_c)}}},
  };
  return {{"totaluri", totals}, {"fonduri", funds}, {"grila", grid}};
}

void PrintTotals(CliContext& context, params::Session& session,
                 const std::optional<std::string>& department) {
  if (context.json) {
    *context.out << TotalsJson(session, department).dump(2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
    return;
  }
  const engine::CompanyFunds& f = session.funds();
  const personnel::GridTotals g = personnel::ComputeGridTotals(session, department);
  std::ostream& out = *context.out;
  auto line = [&out](const char* caption, long double value) {
    out << PadRight(caption, 30) << PadLeft(FormatN(value, 0) + " ", 20) << "\n";
  };
  line("Subtotaluri permanenti : Brut", g.brut_p);
  line("  Realizat", g.realizat_p);
  line("  Avans", g.avans_p);
  line("  Rest plata", g.rest_p);
  line("Subtotaluri c. partial : Brut", g.brut_c);
  line("  Realizat", g.realizat_c);
  line("  Avans", g.avans_c);
  line("  Rest plata", g.rest_c);
  line("Fond somaj", f.FondSomaj);
  line("Fond sanatate (CASS)", f.FondSanatate);
  line("Pensie (CAS)", f.FondCAS);
  line("Fond pers cu handicap", f.FondHandicap);
  line("Comision CM", f.FondCM);
  line("Fond invatamant", f.FondInvat);
  line("Avans", g.avans);
  line("Fond risc si accidente", f.FondAccident);
  line("Total net angajati", g.total_net);
  line("Cost total salarii", g.cost_total);
  out << PadRight("Total salarii / Net salarii", 30) << PadLeft(g.ratio, 20) << "\n";
  line("Rest de plata", g.rest_de_plata);
}

std::vector<std::pair<std::string, std::string>> Assignments(const std::vector<std::string>& args) {
  std::vector<std::pair<std::string, std::string>> result;
  for (const std::string& arg : args) {
    const auto equals = arg.find('=');
    if (equals == std::string::npos || equals == 0) {
      throw Error("Argumentul \"" + arg + "\" trebuie scris CAMP=VALOARE !");
    }
    result.emplace_back(Trim(arg.substr(0, equals)), arg.substr(equals + 1));
  }
  return result;
}

}  // namespace traveno::cli::personnel_cli
