#include "personnel/leave_and_history.h"

#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "params/recalculate.h"
#include "personnel/grid_line.h"

namespace traveno::personnel {

std::vector<PersRow> PersonHistory(params::Session& session, int iid) {
  return QueryRows<PersRow>(session.db(),
                            "SELECT * FROM firma.Pers WHERE IID = ? ORDER BY LUNA, Nr", iid);
}

namespace {

constexpr ValueRule kLeaveDays = {ValueKind::kWhole, 0, 31};
constexpr ValueRule kDailyAverage = {ValueKind::kNumber, 0, kMaxAmount};

// The pay grid offers the medical-leave dialog on a permanent employee's
// line and on a partial-contract line paid as a main job.
void RequireLeaveLine(const PersRow& line) {
  if (line.TIP == "2" && line.PlatitOra != 1) throw ValueRefused(kLeaveNotOffered);
}

}  // namespace

LeaveProposal ProposeMedicalLeave(params::Session& session, std::int64_t nr, int months,
                                  std::optional<engine::LeaveKind> kind, int days,
                                  std::optional<long double> media) {
  RequireValue("zilele de concediu medical", kLeaveDays, FieldValue(std::int64_t{days}));
  if (media) {
    RequireValue("media zilnica", kDailyAverage, FieldValue(static_cast<double>(*media)));
  }
  const std::optional<PersRow> line = FindLine(session, nr);
  if (!line) throw Error(kLineMissing);
  RequireLeaveLine(*line);
  LeaveProposal proposal;
  proposal.line = *line;
  const std::vector<PersRow> history = PersonHistory(session, line->IID);
  const params::StorePastRows company_months(session.db());
  proposal.average =
      engine::MedieCM(history, session.working_month(), months, company_months);
  proposal.fewer_months = proposal.average.months < months;
  const bool child_care = months == 10;
  if (child_care && !kind) kind = engine::LeaveKind::kChildCare;
  proposal.media = media ? *media
                         : engine::StartingAverage(proposal.average, months,
                                                   session.parameters().general.LimCIC);
  proposal.title = child_care ? "Calcul Concedii Medicale - CIC (10 luni)"
                              : "Calcul Concedii Medicale - CM (6 luni)";
  proposal.split = engine::SplitLeave(kind, proposal.media, days, session.totals().NrAngajati);
  return proposal;
}

PersRow ApplyMedicalLeave(params::Session& session, std::int64_t nr,
                          const engine::LeaveSplit& split) {
  for (int count : {split.unpaid_days, split.company_days, split.state_days, split.cic_days}) {
    RequireValue("zilele de concediu medical", kLeaveDays, FieldValue(std::int64_t{count}));
  }
  RequireValue("zilele de concediu medical", kLeaveDays,
               FieldValue(std::int64_t{split.unpaid_days} + split.company_days + split.state_days +
                          split.cic_days));
  RequireValue("suma pe zi de concediu medical", kDailyAverage,
               FieldValue(static_cast<double>(split.per_day)));
  for (long double amount : {split.company_amount, split.state_amount, split.cic_amount}) {
    RequireValue("suma concediului medical", kDailyAverage,
                 FieldValue(static_cast<double>(amount)));
  }
  // Paid days are worth something: a split made without a kind (every day a
  // state day at 0 lei) is not a leave the dialog can confirm.
  if (split.company_days + split.state_days + split.cic_days > 0 && !(split.per_day > 0)) {
    throw ValueRefused(kLeaveWithoutValue);
  }
  return ChangeLine(session, nr,
                    [&split](const engine::PayrollEngine& engine, const PersRow& line) {
                      RequireLeaveLine(line);
                      PostedLine posted{line, std::nullopt};
                      engine::AddLeaveToRow(posted.row, split);
                      engine.CalculSalariu(posted.row);
                      return posted;
                    })
      .row;
}

}  // namespace traveno::personnel
