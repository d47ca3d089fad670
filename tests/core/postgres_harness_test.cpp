// The throwaway server of the tests: reachable with the password file alone,
// on localhost only, and a scratch database per test.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <memory>
#include <string>

#include "tests/support/postgres_server.h"

namespace traveno::testing {
namespace {

std::string QueryOne(const std::string& url, const std::string& sql) {
  std::unique_ptr<PGconn, decltype(&PQfinish)> connection(PQconnectdb(url.c_str()), PQfinish);
  EXPECT_EQ(PQstatus(connection.get()), CONNECTION_OK) << PQerrorMessage(connection.get());
  std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(connection.get(), sql.c_str()),
                                                       PQclear);
  EXPECT_EQ(PQresultStatus(result.get()), PGRES_TUPLES_OK) << PQerrorMessage(connection.get());
  if (PQntuples(result.get()) < 1) return {};
  return PQgetvalue(result.get(), 0, 0);
}

TEST(PostgresHarnessTest, AScratchDatabaseIsReachableWithThePasswordFileAndDroppedAfter) {
  std::string name;
  {
    ScratchDatabase database;
    name = database.name();
    EXPECT_EQ(database.url().find("password"), std::string::npos);
    EXPECT_EQ(QueryOne(database.url(), "SELECT current_database()"), name);
    RunOnServer(database.url(), "CREATE TABLE t (x integer)");
  }
  EXPECT_EQ(QueryOne(TestPostgresServer().conninfo,
                     "SELECT count(*) FROM pg_database WHERE datname = '" + name + "'"),
            "0");
}

TEST(PostgresHarnessTest, TheServerListensOnLocalhostOnly) {
  EXPECT_EQ(QueryOne(TestPostgresServer().conninfo, "SHOW listen_addresses"), "127.0.0.1");
}

}  // namespace
}  // namespace traveno::testing
