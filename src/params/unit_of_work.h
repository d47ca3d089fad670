// A transaction that joins the one already running on the connection, so a
// service can be called alone (it then commits its own writes) or as one step
// of a larger operation (the caller's transaction then decides).
#pragma once

#include <optional>

#include "core/store/sqlite.h"
#include "params/session.h"

namespace traveno::params {

class UnitOfWork {
 public:
  explicit UnitOfWork(Database& db) {
    if (!db.InTransaction()) own_.emplace(db);
  }
  UnitOfWork(const UnitOfWork&) = delete;
  UnitOfWork& operator=(const UnitOfWork&) = delete;

  // Commits when this unit began the transaction; otherwise the caller's
  // transaction commits or rolls back everything together.
  void Commit() {
    if (own_) own_->Commit();
  }

 private:
  std::optional<Transaction> own_;
};

// The unit of work of a user action on the session's month: the write lock
// taken before anything is read (joining the caller's transaction when one
// runs), then the month's parameters read again when another writer changed
// them since they were loaded.
class SessionWork {
 public:
  explicit SessionWork(Session& session) : work_(session.db()) { session.RefreshParameters(); }
  SessionWork(const SessionWork&) = delete;
  SessionWork& operator=(const SessionWork&) = delete;

  void Commit() { work_.Commit(); }

 private:
  UnitOfWork work_;
};

}  // namespace traveno::params
