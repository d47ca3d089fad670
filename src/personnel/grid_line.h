// The single-line service of the pay grid and what every personnel service
// shares: the month's engine over the store, reading and writing one line of
// the working month, and posting a changed line so that the running totals
// follow it (the line leaves the totals, is recalculated, and comes back)
// without a pass over the month.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/store/records.h"
#include "engine/payroll_engine.h"
#include "params/recalculate.h"
#include "params/session.h"
#include "personnel/line_posting.h"

namespace traveno::personnel {

// The refusal of every change to a closed month.
inline constexpr const char* kMonthClosed = "Luna fiind inchisa nu se pot face modificari !";
// A line asked for by its row number that the working month does not hold.
inline constexpr const char* kLineMissing = "Angajatul ales nu exista in luna de lucru !";

// The engine of the session's working month: its parameters in memory, the
// month's brackets and the company's stored months. Reads the brackets once;
// StoreError on failure.
class MonthEngine {
 public:
  explicit MonthEngine(params::Session& session);
  const engine::PayrollEngine& payroll() const { return payroll_; }

 private:
  params::StorePastRows past_;
  engine::PayrollEngine payroll_;
};

// The line `nr` of the working month; empty when there is none.
std::optional<PersRow> FindLine(params::Session& session, std::int64_t nr);
// The line of person `iid` in the working month; empty when there is none.
std::optional<PersRow> FindLineOfPerson(params::Session& session, int iid);
// The lines of the working month in LUNA, IID order, optionally only those
// of one kind ("1" or "2") and of one department (compared by UpperTrim).
// Throws ValueRefused for a department the month does not have.
std::vector<PersRow> MonthLines(params::Session& session, std::optional<std::string> tip = {},
                                std::optional<std::string> department = {});
// Rewrites a stored line (by Nr). Joins the caller's transaction.
void WriteLine(params::Session& session, const PersRow& row);
// Writes only the fields of `after` that differ from `before` (the same
// line as stored), so that the month's indexes are left alone when the keys
// did not change. Joins the caller's transaction.
void WriteChangedFields(params::Session& session, const PersRow& before, const PersRow& after);

// Throws Error(kMonthClosed) when the working month is closed.
void RequireOpenMonth(const params::Session& session);

// Changes line `nr` with `change` (which gets the month's engine and the line
// as stored, and returns the recalculated line): the line is read, changed,
// checked and written in one unit of work under the write lock (so that a
// change made meanwhile by another writer is never undone), then the stored
// line leaves the session's totals, the new one enters them and the funds
// are recomputed. Every field that changes is checked against its rule
// (ValueRefused). Throws Error(kMonthClosed) in a closed month,
// Error(kLineMissing) when there is no such line, and whatever `change` or
// the store throws; the stored line and the totals are then as they were.
using LineChange =
    std::function<PostedLine(const engine::PayrollEngine& engine, const PersRow& line)>;
PostedLine ChangeLine(params::Session& session, std::int64_t nr, const LineChange& change);

// The grid's single-line recalculation: sets the typed fields of line `nr`
// (only the grid's editable fields) and posts it by the grid's rules (see
// PostLineEdit). Fails as ChangeLine, and with std::invalid_argument for a
// field that cannot be typed in the grid (nothing is written then).
PostedLine UpdateGridLine(params::Session& session, std::int64_t nr,
                          const std::vector<FieldEdit>& edits);

}  // namespace traveno::personnel
