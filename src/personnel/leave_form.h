// The medical-leave dialog's figures as the user changes them, and what the
// history window shows. The dialog opens on a grid line with the average of
// the person's earlier months; a new average or kind gives a new amount per
// day; a new kind or number of leave days splits the days again; a day count
// typed by hand values only itself. Nothing is written until Apply.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/store/records.h"
#include "engine/medical_leave.h"
#include "params/session.h"
#include "personnel/leave_and_history.h"

namespace traveno::personnel {

class MedicalLeaveForm {
 public:
  // The dialog of line `nr` over `months` earlier months (6 ordinary leave,
  // 10 child-care leave, which starts on the child-care kind with the average
  // capped at LimCIC). Throws Error(kLineMissing) when there is no line `nr`.
  MedicalLeaveForm(params::Session& session, std::int64_t nr, int months);

  const LeaveProposal& opening() const { return opening_; }
  const PersRow& line() const { return opening_.line; }
  long double media() const { return media_; }
  std::optional<engine::LeaveKind> kind() const { return kind_; }
  int leave_days() const { return leave_days_; }
  const engine::LeaveSplit& split() const { return split_; }

  // ISMedia: the amount per day and every amount follow; the days stay.
  void SetMedia(long double media);
  // The kind: the amount per day follows and the leave days are split again.
  void SetKind(std::optional<engine::LeaveKind> kind);
  // ISZileCM: the days are split again.
  void SetLeaveDays(int days);
  // A day count typed by hand; only its own amount follows (unpaid days have
  // none). Negative counts are taken as 0.
  void SetUnpaidDays(int days);
  void SetCompanyDays(int days);
  void SetStateDays(int days);
  void SetCicDays(int days);

  // "Adaugare la &CM existente": adds the amounts and days to the line and
  // recalculates it; the totals follow. Fails as ApplyMedicalLeave.
  PersRow Apply();

 private:
  void Split();
  void ValueAllDays();

  params::Session& session_;
  std::int64_t nr_;
  LeaveProposal opening_;
  long double media_ = 0;
  std::optional<engine::LeaveKind> kind_;
  int leave_days_ = 0;
  engine::LeaveSplit split_;
};

// The history window: every row of the person, the average of the six months
// before the working month, and where the working month's row is (empty
// when the person has no row in it).
struct PersonHistoryView {
  std::vector<PersRow> rows;
  engine::MedicalAverage average;
  std::optional<std::size_t> working_row;
};
PersonHistoryView HistoryOfPerson(params::Session& session, int iid);

}  // namespace traveno::personnel
