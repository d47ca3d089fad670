#include <memory>

#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "cli/personnel_cli_support.h"
#include "cli/personnel_commands.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/store/field_rules.h"
#include "core/text.h"
#include "engine/medical_leave.h"
#include "params/recalculate.h"
#include "personnel/checks.h"
#include "personnel/leave_and_history.h"
#include "personnel/leave_form.h"
#include "personnel/personal_code.h"

namespace traveno::cli {
namespace {

using nlohmann::json;
using namespace personnel_cli;

template <typename Finding, typename ToJson, typename ToText>
void PrintCheck(CliContext& context, const personnel::CheckList<Finding>& list, ToJson to_json,
                ToText to_text) {
  if (context.json) {
    json findings = json::array();
    for (const Finding& f : list.findings) findings.push_back(to_json(f));
    *context.out << json{{"titlu", list.heading}, {"linii", findings}}.dump(2, ' ', false,
                                                                            kReplaceInvalidUtf8)
                 << "\n";
    return;
  }
  *context.out << list.heading << "\n";
  for (const Finding& f : list.findings) *context.out << to_text(f) << "\n";
}

void RunCheck(CliContext& context, const std::string& which, const MonthOptions& options) {
  CliSession cli(context);
  if (!OpenMonth(cli, options)) return;
  const personnel::GridScope scope = ScopeOf(options);
  auto name = [](const std::string& nume, const std::string& prenume) {
    return PadRight(Trim(nume + " " + prenume), 32);
  };
  if (which == "time") {
    PrintCheck(
        context, personnel::CheckTime(*cli.session, scope),
        [](const personnel::TimeFinding& f) {
          return json{{"NrCrt", f.NrCrt},       {"Nume", f.Nume},         {"Prenume", f.Prenume},
                      {"Timp", f.Timp},         {"Zile_CO", f.Zile_CO},   {"Zile_CM", f.Zile_CM},
                      {"Zile_CIC", f.Zile_CIC}, {"Zile_FP", f.Zile_FP},   {"TimpCalculat", f.TimpCalculat}};
        },
        [&](const personnel::TimeFinding& f) {
          return PadLeft(std::to_string(f.NrCrt), 4) + " " + name(f.Nume, f.Prenume) +
                 PadLeft(FloatToText(f.TimpCalculat), 10);
        });
  } else if (which == "cnp") {
    PrintCheck(
        context, personnel::CheckCodes(*cli.session, scope),
        [](const personnel::CodeFinding& f) {
          return json{{"NrCrt", f.NrCrt}, {"Nume", f.Nume}, {"Prenume", f.Prenume},
                      {"CNP", f.CNP},     {"Eroare", f.Eroare}};
        },
        [&](const personnel::CodeFinding& f) {
          return PadLeft(std::to_string(f.NrCrt), 4) + " " + name(f.Nume, f.Prenume) +
                 PadRight(f.CNP, 15) + " " + f.Eroare;
        });
  } else {
    PrintCheck(
        context, personnel::CheckCoefficients(*cli.session, scope),
        [](const personnel::CoefficientFinding& f) {
          return json{{"NrCrt", f.NrCrt},
                      {"Nume", f.Nume},
                      {"Prenume", f.Prenume},
                      {"Coef_Ind_C", f.Coef_Ind_C},
                      {"CoefCalculat", f.CoefCalculat}};
        },
        [&](const personnel::CoefficientFinding& f) {
          return PadLeft(std::to_string(f.NrCrt), 4) + " " + name(f.Nume, f.Prenume) +
                 PadLeft(FloatToText(f.Coef_Ind_C), 8) + PadLeft(FloatToText(f.CoefCalculat), 8);
        });
  }
}

void PrintPersons(CliContext& context, const std::string& heading,
                  const std::vector<personnel::PersonLine>& lines) {
  if (context.json) {
    json list = json::array();
    for (const auto& l : lines) {
      json object = {{"IID", l.IID},        {"Marca", l.Marca},           {"Nume", l.Nume},
                     {"Prenume", l.Prenume}, {"CodNumPers", l.CodNumPers}, {"Functie", l.Functie}};
      if (!l.Data.IsEmpty()) object["Data"] = l.Data.ToIso();
      list.push_back(object);
    }
    *context.out << json{{"titlu", heading}, {"linii", list}}.dump(2, ' ', false,
                                                                   kReplaceInvalidUtf8)
                 << "\n";
    return;
  }
  *context.out << heading << "\n";
  for (const auto& l : lines) {
    *context.out << PadLeft(std::to_string(l.Marca), 6) << " " << PadRight(Trim(l.Nume + " " + l.Prenume), 32)
                 << PadRight(l.CodNumPers, 15) << " " << PadRight(l.Functie, 24)
                 << (l.Data.IsEmpty() ? "" : l.Data.ToText()) << "\n";
  }
}

void RunList(CliContext& context, const std::string& which, const MonthOptions& options,
             const std::string& of) {
  CliSession cli(context);
  if (!OpenMonth(cli, options)) return;
  params::Session& session = *cli.session;
  if (which == "hired" || which == "left") {
    if (of.empty()) throw Error("Alegeti luna listei cu --of AAAA-LL !");
    const Date month = ParseMonthArgument(of);
    if (which == "hired") {
      PrintPersons(context, personnel::HiredHeading(month), personnel::HiredInMonth(session, month));
    } else {
      PrintPersons(context, personnel::LeftHeading(month), personnel::LeftInMonth(session, month));
    }
  } else if (which == "cards") {
    PrintPersons(context, personnel::kIdentityCardsHeading, personnel::IdentityCards(session));
  } else if (which == "rehire") {
    const auto rows = personnel::RehireCandidates(session);
    if (context.json) {
      json list = json::array();
      for (const PersRow& row : rows) list.push_back(RowJson(row));
      *context.out << json{{"titlu", personnel::kRehireHeading}, {"linii", list}}.dump(
                          2, ' ', false, kReplaceInvalidUtf8)
                   << "\n";
      return;
    }
    *context.out << personnel::kRehireHeading << "\n";
    for (const PersRow& row : rows) {
      *context.out << PadLeft(std::to_string(row.IID), 6) << " "
                   << PadRight(Trim(row.NUME + " " + row.PRENUME), 32) << " luna "
                   << MonthArgument(row.LUNA) << "  lichidat " << row.DATA_LICH.ToText() << "\n";
    }
  } else {
    const auto lines = personnel::InsuredPersons(session);
    if (context.json) {
      json list = json::array();
      for (const auto& l : lines) {
        list.push_back({{"IID", l.IID}, {"NumeA", l.NumeA}, {"PrenumeA", l.PrenumeA},
                        {"CodNumPersA", l.CodNumPersA}, {"Nume", l.Nume}, {"Prenume", l.Prenume},
                        {"CodNumPers", l.CodNumPers}, {"Calitate", l.Calitate},
                        {"Kalitate", l.Kalitate}});
      }
      *context.out << json{{"titlu", personnel::kInsuredHeading}, {"linii", list}}.dump(
                          2, ' ', false, kReplaceInvalidUtf8)
                   << "\n";
      return;
    }
    *context.out << personnel::kInsuredHeading << "\n";
    for (const auto& l : lines) {
      *context.out << PadRight(Trim(l.Nume + " " + l.Prenume), 32) << PadRight(l.CodNumPers, 15)
                   << " " << PadRight(l.Kalitate, 14) << Trim(l.NumeA + " " + l.PrenumeA) << "\n";
    }
  }
}

std::optional<engine::LeaveKind> LeaveKindArgument(const std::string& text) {
  const std::string k = UpperTrim(text);
  if (k.empty()) return std::nullopt;
  if (k == "PROFESIONALA" || k == "100P") return engine::LeaveKind::kOccupational;
  if (k == "CIC") return engine::LeaveKind::kChildCare;
  if (k == "OBISNUITA" || k == "75") return engine::LeaveKind::kOrdinary;
  if (k == "MATERNITATE") return engine::LeaveKind::kMaternity;
  if (k == "SPECIALA" || k == "100S") return engine::LeaveKind::kSpecial;
  if (k == "OBISNUITA5" || k == "85V") return engine::LeaveKind::kOrdinaryLong;
  throw Error("Tipul concediului medical este necunoscut: " + text +
              " (profesionala, cic, obisnuita, maternitate, speciala, obisnuita5)");
}

}  // namespace

void RegisterPersonnelListCommands(CLI::App& app, CliContext& context) {
  CLI::App* check = app.add_subcommand("check", "Verificarile liniilor grilei");
  check->require_subcommand(1);
  for (const char* which : {"time", "cnp", "coef"}) {
    auto options = std::make_shared<MonthOptions>();
    CLI::App* command = check->add_subcommand(
        which, std::string(which) == "time"   ? "Verificare Timp"
               : std::string(which) == "cnp" ? "Verificare CNP"
                                              : "Verificare coef deducere");
    AddMonthOptions(command, *options, true);
    const std::string name = which;
    command->callback([&context, options, name] { RunCheck(context, name, *options); });
  }

  CLI::App* list = app.add_subcommand("list", "Listele de personal");
  list->require_subcommand(1);
  for (const char* which : {"hired", "left", "cards", "rehire", "insured"}) {
    auto options = std::make_shared<MonthOptions>();
    auto of = std::make_shared<std::string>();
    CLI::App* command = list->add_subcommand(which, std::string("Lista ") + which);
    AddMonthOptions(command, *options);
    const std::string name = which;
    if (name == "hired" || name == "left") {
      command->add_option("--of", *of, "Luna listei AAAA-LL")->required();
    }
    command->callback([&context, options, of, name] { RunList(context, name, *options, *of); });
  }

  CLI::App* cnp = app.add_subcommand("cnp", "Verificare Cod Numeric Personal");
  cnp->require_subcommand(1);
  auto code = std::make_shared<std::string>();
  CLI::App* cnp_check = cnp->add_subcommand("check", "Verifica un cod (sau 12 cifre, sau un '?')");
  cnp_check->add_option("cod", *code, "Codul")->required();
  cnp_check->callback([&context, code] {
    const std::string answer = personnel::VerifyCodeAnswer(*code);
    const personnel::CodeCheck check = personnel::CheckPersonalCode(*code);
    if (context.json) {
      *context.out << json{{"raspuns", answer}, {"corect", check.passed}}.dump(2, ' ', false,
                                                                               kReplaceInvalidUtf8)
                   << "\n";
    } else {
      *context.out << TerminalText(answer) << "\n";
    }
    // A code that fails the check fails the command, so that scripts can tell.
    if (!check.passed) context.exit_code = 1;
  });
  auto solve_code = std::make_shared<std::string>();
  CLI::App* cnp_solve = cnp->add_subcommand("solve", "Cifra necunoscuta ('?') a unui cod");
  cnp_solve->add_option("cod", *solve_code, "Codul cu un '?'")->required();
  cnp_solve->callback([&context, solve_code] {
    const std::string answer = personnel::VerifyCodeAnswer(*solve_code);
    if (context.json) {
      *context.out << json{{"raspuns", answer},
                           {"cifre", personnel::SolveMissingDigit(Trim(*solve_code))}}
                          .dump(2, ' ', false, kReplaceInvalidUtf8)
                   << "\n";
    } else {
      *context.out << TerminalText(answer) << "\n";
    }
  });

  struct LeaveOptions {
    MonthOptions month;
    int iid = 0;
    int months = 6;
    std::string kind;
    int days = 0;
    std::optional<double> media;
    std::optional<int> unpaid_days, company_days, state_days, cic_days;
    bool apply = false;
  };
  auto leave = std::make_shared<LeaveOptions>();
  CLI::App* medical = app.add_subcommand("medical-leave", "Calcul Concedii Medicale");
  AddMonthOptions(medical, leave->month);
  medical->add_option("--iid", leave->iid, "IID")->required();
  medical->add_option("--months", leave->months, "6 (CM Normal) sau 10 (CIC)")
      ->check(CLI::IsMember({6, 10}));
  medical->add_option("--kind", leave->kind,
                      "profesionala, cic, obisnuita, maternitate, speciala, obisnuita5");
  medical->add_option("--days", leave->days, "Zile concediu medical (lucratoare)")->required();
  medical->add_option("--media", leave->media, "Media zilnica folosita (altfel cea calculata)");
  medical->add_option("--unpaid-days", leave->unpaid_days, "Ne platite (altfel din impartire)");
  medical->add_option("--company-days", leave->company_days,
                      "Platite de firma (altfel din impartire)");
  medical->add_option("--state-days", leave->state_days, "Platite de stat (altfel din impartire)");
  medical->add_option("--cic-days", leave->cic_days, "Zile CIC (altfel din impartire)");
  medical->add_flag("--apply", leave->apply, "Adaugare la CM existente");
  medical->callback([&context, leave] {
    CliSession cli(context);
    if (!OpenMonth(cli, leave->month)) return;
    const PersRow line = LineOfPerson(*cli.session, leave->iid);
    // The dialog's order: the average, the kind, the leave days, then the
    // day counts typed by hand.
    // Day counts and the average as typed: never taken as 0 or turned round.
    static constexpr ValueRule kLeaveDays = {ValueKind::kWhole, 0, 31};
    static constexpr ValueRule kAverage = {ValueKind::kNumber, 0, kMaxAmount};
    RequireValue("zilele de concediu medical", kLeaveDays,
                 FieldValue(static_cast<std::int64_t>(leave->days)));
    for (const auto& count :
         {leave->unpaid_days, leave->company_days, leave->state_days, leave->cic_days}) {
      if (count) {
        RequireValue("zilele de concediu medical", kLeaveDays,
                     FieldValue(static_cast<std::int64_t>(*count)));
      }
    }
    if (leave->media) RequireValue("media zilnica", kAverage, FieldValue(*leave->media));
    personnel::MedicalLeaveForm form(*cli.session, line.Nr, leave->months);
    if (leave->media) form.SetMedia(*leave->media);
    if (const auto kind = LeaveKindArgument(leave->kind)) form.SetKind(kind);
    form.SetLeaveDays(leave->days);
    if (leave->unpaid_days) form.SetUnpaidDays(*leave->unpaid_days);
    if (leave->company_days) form.SetCompanyDays(*leave->company_days);
    if (leave->state_days) form.SetStateDays(*leave->state_days);
    if (leave->cic_days) form.SetCicDays(*leave->cic_days);
    personnel::LeaveProposal p = form.opening();
    p.media = form.media();
    p.split = form.split();
    PersRow after = line;
    if (leave->apply) after = form.Apply();
    const auto& s = p.split;
    if (context.json) {
      *context.out << json{{"titlu", p.title},
                           {"luni", p.average.months},
                           {"suma", static_cast<double>(p.average.sum)},
                           {"zile", static_cast<double>(p.average.days)},
                           {"media", static_cast<double>(p.average.average)},
                           {"luni_mai_putine", p.fewer_months},
                           {"ISMedia", static_cast<double>(p.media)},
                           {"ISCMpeZi", static_cast<double>(s.per_day)},
                           {"ISCMNePlatite", s.unpaid_days},
                           {"ISZileCml1", s.company_days},
                           {"ISCml1", static_cast<double>(s.company_amount)},
                           {"ISZileCml2", s.state_days},
                           {"ISCml2", static_cast<double>(s.state_amount)},
                           {"ISZileCIC", s.cic_days},
                           {"ISCIC", static_cast<double>(s.cic_amount)},
                           {"adaugat", leave->apply},
                           {"linie", LineJson(after, cli.session->parameters())}}
                          .dump(2, ' ', false, kReplaceInvalidUtf8)
                   << "\n";
      return;
    }
    std::ostream& out = *context.out;
    out << p.title << "\n Nume: " << Trim(line.NUME + " " + line.PRENUME) << "\n Functie: "
        << line.FUNCTIE << "\n Suma baza de calcul pe anterioarele " << p.average.months
        << " luni: " << FormatN(p.average.sum, 0) << " \n Media baza de calcul pe anterioarele "
        << p.average.months << " luni: " << FormatN(p.average.average, 0) << " "
        << (p.fewer_months ? "(mai putine luni decat cerute)" : "") << "\n Zile: "
        << FloatToText(static_cast<double>(p.average.days)) << "\n"
        << "Media folosita: " << FormatN(p.media, 0) << "\nSuma pe zi de concediu medical: "
        << FormatN(s.per_day, 2) << "\nNe platite: " << s.unpaid_days
        << "\nPlatite de firma: " << s.company_days << "  CM Firma: " << FormatN(s.company_amount, 0)
        << "\nPlatite de stat: " << s.state_days << "  CM Stat: " << FormatN(s.state_amount, 0)
        << "\nZile CIC: " << s.cic_days << "  CIC: " << FormatN(s.cic_amount, 0) << "\n";
    if (leave->apply) {
      out << "Adaugat la CM existente. Brut " << FormatN(after.BRUT, 0) << "  Rest plata "
          << FormatN(after.RESTPL, 0) << "\n";
    }
  });

  struct HistoryOptions {
    MonthOptions month;
    int iid = 0;
  };
  auto history = std::make_shared<HistoryOptions>();
  CLI::App* history_command = app.add_subcommand("history", "Istoric angajat");
  AddMonthOptions(history_command, history->month);
  history_command->add_option("--iid", history->iid, "IID")->required();
  history_command->callback([&context, history] {
    CliSession cli(context);
    if (!OpenMonth(cli, history->month)) return;
    const std::vector<PersRow> rows = personnel::PersonHistory(*cli.session, history->iid);
    if (rows.empty()) {
      throw Error("Persoana cu IID " + std::to_string(history->iid) + " nu are istoric !");
    }
    const params::StorePastRows months(cli.session->db());
    const engine::MedicalAverage average =
        engine::MedieCM(rows, cli.session->working_month(), 6, months);
    if (context.json) {
      json list = json::array();
      for (const PersRow& row : rows) {
        json object = RowJson(row);
        object["An"] = YearOf(row.LUNA);
        object["Luna2"] = MonthOf(row.LUNA);
        list.push_back(object);
      }
      *context.out << json{{"luni", average.months},
                           {"suma", static_cast<double>(average.sum)},
                           {"media", static_cast<double>(average.average)},
                           {"linii", list}}
                          .dump(2, ' ', false, kReplaceInvalidUtf8)
                   << "\n";
      return;
    }
    *context.out << " Suma baza de calcul pe ultimele " << average.months << " luni "
                 << FormatN(average.sum, 0) << " \n Media baza de calcul pe ultimele "
                 << average.months << " luni " << FormatN(average.average, 0) << " \n";
    for (const PersRow& row : rows) {
      *context.out << YearOf(row.LUNA) << " " << PadLeft(std::to_string(MonthOf(row.LUNA)), 2) << "  "
                   << row.TIP << "  " << PadRight(Trim(row.NUME + " " + row.PRENUME), 30)
                   << PadLeft(FormatN(row.BRUT, 0), 14) << PadLeft(FormatN(row.RESTPL, 0), 14) << "\n";
    }
  });
}

}  // namespace traveno::cli
