// A transaction that joins the one already running on the connection, so a
// service can be called alone (it then commits its own writes) or as one step
// of a larger operation (the caller's transaction then decides).
#pragma once

#include <optional>

#include "core/store/sqlite.h"
#include "core/store/store.h"
#include "params/session.h"

namespace traveno::params {

// The database files a unit of work may write: any file of the connection
// (the register and the company's, committed as one), or the company's
// alone, whose commit then syncs that file only. The register is read under
// a read lock all the same, so what is read from it cannot change before the
// commit.
enum class WorkWrites { kAnyFile, kCompanyFile };

class UnitOfWork {
 public:
  explicit UnitOfWork(Database& db, WorkWrites writes = WorkWrites::kAnyFile) {
    if (db.InTransaction()) return;
    if (writes == WorkWrites::kCompanyFile) {
      own_.emplace(db, kCompanySchema);
    } else {
      own_.emplace(db);
    }
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
  explicit SessionWork(Session& session, WorkWrites writes = WorkWrites::kAnyFile)
      : work_(session.db(), writes) {
    session.RefreshParameters();
  }
  SessionWork(const SessionWork&) = delete;
  SessionWork& operator=(const SessionWork&) = delete;

  void Commit() { work_.Commit(); }

 private:
  UnitOfWork work_;
};

// A consistent view of the stored data for reading (joining the caller's
// transaction when one runs): no write lock is taken and nothing is synced.
class ReadWork {
 public:
  explicit ReadWork(Database& db) {
    if (!db.InTransaction()) own_.emplace(db, TransactionKind::kRead);
  }
  ReadWork(const ReadWork&) = delete;
  ReadWork& operator=(const ReadWork&) = delete;

  // Ends the view (when this one began it).
  void Done() {
    if (own_) own_->Commit();
  }

 private:
  std::optional<Transaction> own_;
};

}  // namespace traveno::params
