// A transaction that joins the one already running on the connection, so a
// service can be called alone (it then commits its own writes) or as one step
// of a larger operation (the caller's transaction then decides).
#pragma once

#include <optional>

#include "core/store/sqlite.h"

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

}  // namespace traveno::params
