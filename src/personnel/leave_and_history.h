// The medical-leave calculation of a grid line and the history of a person:
// the person's rows of every month, the daily average of the months before
// the working month, the split of the leave days, and the confirmation that
// adds the leave to the line.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/store/records.h"
#include "engine/medical_leave.h"
#include "params/session.h"

namespace traveno::personnel {

// Every row of person `iid`, of every month and kind, in month order.
std::vector<PersRow> PersonHistory(params::Session& session, int iid);

// The refusals of a medical leave.
inline constexpr const char* kLeaveNotOffered =
    "Concediul medical se calculeaza doar pentru angajatii permanenti si pentru cei cu contract "
    "partial cu functie de baza !";
inline constexpr const char* kLeaveWithoutValue =
    "Suma pe zi de concediu medical este 0: alegeti tipul concediului si media zilnica !";

// What the leave dialog shows for line `nr`.
struct LeaveProposal {
  PersRow line;
  engine::MedicalAverage average;  // over at most `months` earlier months
  bool fewer_months = false;       // fewer months were available than asked
  long double media = 0;           // the daily average used (ISMedia)
  engine::LeaveSplit split;
  std::string title;               // "Calcul Concedii Medicale - CM (6 luni)" or "... CIC (10 luni)"
};
// The dialog's figures: the average of the earlier months (6 for ordinary
// leave; 10 for child-care leave, capped at LimCIC and with the child-care
// kind chosen when `kind` is empty), or `media` when the user typed one, and
// the split of `days` leave days for a company of the permanent employees
// of the session's totals. Throws Error(kLineMissing) when there is no line
// `nr`, ValueRefused for leave days outside 0..31, a typed average that is
// negative, not a number or past kMaxAmount, and a line the grid offers no
// leave for (kLeaveNotOffered: a partial-contract line without a main job).
LeaveProposal ProposeMedicalLeave(params::Session& session, std::int64_t nr, int months,
                                  std::optional<engine::LeaveKind> kind, int days,
                                  std::optional<long double> media = std::nullopt);

// "Adaugare la &CM existente": adds the split's amounts and days to line
// `nr` and recalculates it; the totals follow. Fails as ChangeLine (closed
// month, missing line), writing nothing; refuses (ValueRefused) day counts
// outside 0..31 or together past 31, negative or absurd amounts, paid days
// at 0 lei per day (kLeaveWithoutValue: no kind chosen) and a line the grid
// offers no leave for (kLeaveNotOffered).
PersRow ApplyMedicalLeave(params::Session& session, std::int64_t nr,
                          const engine::LeaveSplit& split);

}  // namespace traveno::personnel
