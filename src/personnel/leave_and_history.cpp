#include "personnel/leave_and_history.h"

#include "core/errors.h"
#include "core/store/row_io.h"
#include "params/recalculate.h"
#include "personnel/grid_line.h"

namespace traveno::personnel {

std::vector<PersRow> PersonHistory(params::Session& session, int iid) {
  return QueryRows<PersRow>(session.db(),
                            "SELECT * FROM firma.Pers WHERE IID = ? ORDER BY LUNA, Nr", iid);
}

LeaveProposal ProposeMedicalLeave(params::Session& session, std::int64_t nr, int months,
                                  std::optional<engine::LeaveKind> kind, int days,
                                  std::optional<long double> media) {
  const std::optional<PersRow> line = FindLine(session, nr);
  if (!line) throw Error(kLineMissing);
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
  return ChangeLine(session, nr,
                    [&split](const engine::PayrollEngine& engine, const PersRow& line) {
                      PostedLine posted{line, std::nullopt};
                      engine::AddLeaveToRow(posted.row, split);
                      engine.CalculSalariu(posted.row);
                      return posted;
                    })
      .row;
}

}  // namespace traveno::personnel
