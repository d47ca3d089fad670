#include "tests/support/postgres_server.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>

#ifndef TRAVENO_POSTGRES_CLUSTER_SCRIPT
#error "TRAVENO_POSTGRES_CLUSTER_SCRIPT must name tests/support/postgres_cluster.sh"
#endif

namespace traveno::testing {
namespace {

std::string ReadLine(std::istream& in) {
  std::string line;
  std::getline(in, line);
  return line;
}

PostgresServer ReadInfo(const std::filesystem::path& info) {
  std::ifstream in(info);
  if (!in) throw std::runtime_error("cannot read the test server's file " + info.string());
  PostgresServer server;
  server.conninfo = ReadLine(in);
  server.passfile = ReadLine(in);
  if (server.conninfo.empty()) throw std::runtime_error("empty test server file " + info.string());
  return server;
}

// The cluster started by this program, stopped when it ends.
std::filesystem::path& OwnInfoFile() {
  static std::filesystem::path path;
  return path;
}

void StopOwnCluster() {
  if (OwnInfoFile().empty()) return;
  const std::string command = std::string("'") + TRAVENO_POSTGRES_CLUSTER_SCRIPT + "' stop '" +
                              OwnInfoFile().string() + "' >/dev/null 2>&1";
  [[maybe_unused]] const int status = std::system(command.c_str());
}

PostgresServer StartOwnCluster() {
  OwnInfoFile() = std::filesystem::temp_directory_path() /
                  ("traveno-pg-info-" + std::to_string(::getpid()));
  const std::string command = std::string("'") + TRAVENO_POSTGRES_CLUSTER_SCRIPT + "' start '" +
                              OwnInfoFile().string() + "' " + std::to_string(::getpid());
  if (std::system(command.c_str()) != 0) {
    OwnInfoFile().clear();
    throw std::runtime_error("cannot start a PostgreSQL test server (is postgresql installed?)");
  }
  std::atexit(StopOwnCluster);
  return ReadInfo(OwnInfoFile());
}

std::string WithDatabase(const std::string& url, const std::string& database) {
  const auto slash = url.rfind('/');
  return url.substr(0, slash + 1) + database;
}

}  // namespace

const PostgresServer& TestPostgresServer() {
  static std::once_flag once;
  static PostgresServer server;
  std::call_once(once, [] {
    const char* info = std::getenv("TRAVENO_TEST_PG_INFO");
    if (info != nullptr && *info != '\0' && std::filesystem::exists(info)) {
      server = ReadInfo(info);
    } else {
      server = StartOwnCluster();
    }
    ::setenv("PGPASSFILE", server.passfile.c_str(), 1);
  });
  return server;
}

void RunOnServer(const std::string& url, const std::string& sql) {
  std::unique_ptr<PGconn, decltype(&PQfinish)> connection(PQconnectdb(url.c_str()), PQfinish);
  if (PQstatus(connection.get()) != CONNECTION_OK) {
    throw std::runtime_error("cannot connect to the test server: " +
                             std::string(PQerrorMessage(connection.get())));
  }
  std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(connection.get(), sql.c_str()),
                                                       PQclear);
  const auto status = PQresultStatus(result.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    throw std::runtime_error(sql + ": " + PQerrorMessage(connection.get()));
  }
}

ScratchDatabase::ScratchDatabase() {
  static std::atomic<int> counter{0};
  const PostgresServer& server = TestPostgresServer();
  name_ = "traveno_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
  RunOnServer(server.conninfo, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
  RunOnServer(server.conninfo, "CREATE DATABASE " + name_);
  url_ = WithDatabase(server.conninfo, name_);
}

ScratchDatabase::~ScratchDatabase() {
  try {
    RunOnServer(TestPostgresServer().conninfo, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
  } catch (const std::exception&) {
    // A database left on a throwaway cluster goes with the cluster.
  }
}

}  // namespace traveno::testing
