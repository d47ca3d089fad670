// The PostgreSQL server of the tests that run on a server store. A ctest run
// starts one throwaway cluster for all of them (postgres_cluster.sh, through
// the fixture "postgres") and hands its connection file over in
// TRAVENO_TEST_PG_INFO; a test program run on its own starts a cluster of its
// own, stopped when the program ends (its watchdog also stops it when the
// program is killed). Each test works in a scratch database of its own.
#pragma once

#include <string>

namespace traveno::testing {

struct PostgresServer {
  std::string conninfo;  // a postgresql:// URL of the server's "postgres" database
  std::string passfile;  // the password file; PGPASSFILE is set to it
};

// The server of this test run; starts one when the run has none. Throws
// std::runtime_error when no server can be started.
const PostgresServer& TestPostgresServer();

// A database made for one test and dropped at its end (with whatever
// connections are still open on it).
class ScratchDatabase {
 public:
  ScratchDatabase();
  ~ScratchDatabase();
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  const std::string& name() const { return name_; }
  // A postgresql:// URL of this database.
  const std::string& url() const { return url_; }

 private:
  std::string name_;
  std::string url_;
};

// Runs SQL on a database of the test server, outside any store; throws
// std::runtime_error with the server's message on failure.
void RunOnServer(const std::string& url, const std::string& sql);

}  // namespace traveno::testing
