#include "personnel/leave_form.h"

#include <algorithm>

#include "params/recalculate.h"

namespace traveno::personnel {

MedicalLeaveForm::MedicalLeaveForm(params::Session& session, std::int64_t nr, int months)
    : session_(session),
      nr_(nr),
      opening_(ProposeMedicalLeave(session, nr, months, std::nullopt, 0)),
      media_(opening_.media),
      kind_(months == 10 ? std::optional(engine::LeaveKind::kChildCare) : std::nullopt),
      split_(opening_.split) {}

void MedicalLeaveForm::Split() {
  split_ = engine::SplitLeave(kind_, media_, leave_days_, session_.totals().NrAngajati);
}

void MedicalLeaveForm::ValueAllDays() {
  split_.company_amount = engine::SumaCM(split_.company_days, split_.per_day);
  split_.state_amount = engine::SumaCM(split_.state_days, split_.per_day);
  split_.cic_amount = engine::SumaCM(split_.cic_days, split_.per_day);
}

void MedicalLeaveForm::SetMedia(long double media) {
  media_ = media;
  split_.per_day = kind_ ? engine::LeavePercentage(*kind_) / 100.0L * media_ : 0;
  // The child-care amount follows the amount per day as the other two do.
  ValueAllDays();
}

void MedicalLeaveForm::SetKind(std::optional<engine::LeaveKind> kind) {
  kind_ = kind;
  Split();
}

void MedicalLeaveForm::SetLeaveDays(int days) {
  leave_days_ = std::max(days, 0);
  Split();
}

void MedicalLeaveForm::SetUnpaidDays(int days) { split_.unpaid_days = std::max(days, 0); }

void MedicalLeaveForm::SetCompanyDays(int days) {
  split_.company_days = std::max(days, 0);
  split_.company_amount = engine::SumaCM(split_.company_days, split_.per_day);
}

void MedicalLeaveForm::SetStateDays(int days) {
  split_.state_days = std::max(days, 0);
  split_.state_amount = engine::SumaCM(split_.state_days, split_.per_day);
}

void MedicalLeaveForm::SetCicDays(int days) {
  split_.cic_days = std::max(days, 0);
  split_.cic_amount = engine::SumaCM(split_.cic_days, split_.per_day);
}

PersRow MedicalLeaveForm::Apply() { return ApplyMedicalLeave(session_, nr_, split_); }

PersonHistoryView HistoryOfPerson(params::Session& session, int iid) {
  PersonHistoryView view;
  view.rows = PersonHistory(session, iid);
  const params::StorePastRows months(session.db());
  view.average = engine::MedieCM(view.rows, session.working_month(), 6, months);
  for (std::size_t i = 0; i < view.rows.size(); ++i) {
    if (FirstOfMonth(view.rows[i].LUNA) == session.working_month()) {
      view.working_row = i;
      break;
    }
  }
  return view;
}

}  // namespace traveno::personnel
