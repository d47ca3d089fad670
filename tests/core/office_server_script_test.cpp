// The office server's set-up scripts (scripts/office-server), run on the
// test cluster as its administrator: the office's database and group, and
// accountants who log in with a password file, work on everything any of them
// created, and reach nothing else on the server.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/postgres_server.h"
#include "tests/support/temp_folder.h"

#ifndef TRAVENO_OFFICE_SERVER_SCRIPTS
#error "TRAVENO_OFFICE_SERVER_SCRIPTS must name scripts/office-server"
#endif

namespace traveno::testing {
namespace {

using Connection = std::unique_ptr<PGconn, decltype(&PQfinish)>;
using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

// Single quotes for sh: the names below hold quotes and spaces on purpose.
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct ScriptRun {
  int status = -1;
  std::string output;
};

// The test server's host, port and administrator, as the scripts take them.
struct AdminAccess {
  std::string host;
  std::string port;
  std::string user;
};

AdminAccess AdminOfTestServer() {
  AdminAccess access;
  char* error = nullptr;
  std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
      PQconninfoParse(TestPostgresServer().conninfo.c_str(), &error), PQconninfoFree);
  if (options == nullptr) {
    const std::string message = error != nullptr ? error : "";
    PQfreemem(error);
    throw std::runtime_error("cannot read the test server's address: " + message);
  }
  for (auto* option = options.get(); option->keyword != nullptr; ++option) {
    if (option->val == nullptr) continue;
    const std::string keyword = option->keyword;
    if (keyword == "host") access.host = option->val;
    if (keyword == "port") access.port = option->val;
    if (keyword == "user") access.user = option->val;
  }
  return access;
}

// Runs one of the scripts as the server's administrator (its password from
// the test server's password file), with `input` as its standard input.
ScriptRun RunScript(const std::string& script, const std::vector<std::string>& arguments,
                    const std::string& input) {
  const AdminAccess admin = AdminOfTestServer();
  TempFolder folder;
  const auto input_file = folder.path() / "stdin";
  std::ofstream(input_file) << input;
  std::string command = "PGHOST=" + ShellQuoted(admin.host) + " PGPORT=" + ShellQuoted(admin.port) +
                        " PGUSER=" + ShellQuoted(admin.user) + " PGDATABASE= sh " +
                        ShellQuoted(std::string(TRAVENO_OFFICE_SERVER_SCRIPTS) + "/" + script);
  for (const auto& argument : arguments) command += " " + ShellQuoted(argument);
  command += " <" + ShellQuoted(input_file.string()) + " 2>&1";
  ScriptRun run;
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
  if (pipe == nullptr) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) run.output += buffer;
  const int status = pclose(pipe.release());
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// A session of one role, its password from `passfile` only.
class Session {
 public:
  Session(const std::string& database, const std::string& user, const std::string& passfile)
      : connection_(nullptr, PQfinish) {
    const AdminAccess admin = AdminOfTestServer();
    const char* keywords[] = {"host", "port", "dbname", "user", "passfile", nullptr};
    const char* values[] = {admin.host.c_str(), admin.port.c_str(), database.c_str(),
                            user.c_str(),       passfile.c_str(),   nullptr};
    connection_.reset(PQconnectdbParams(keywords, values, 0));
  }

  bool ok() const { return PQstatus(connection_.get()) == CONNECTION_OK; }
  std::string error() const { return PQerrorMessage(connection_.get()); }

  // The first value of the statement's result ("" when it returns no row),
  // or nothing when the server refuses it.
  std::optional<std::string> Run(const std::string& sql) {
    Result result(PQexec(connection_.get(), sql.c_str()), PQclear);
    const auto status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) return std::nullopt;
    if (PQntuples(result.get()) < 1) return std::string();
    return std::string(PQgetvalue(result.get(), 0, 0));
  }

  // As Run, for statements that must succeed.
  std::string Must(const std::string& sql) {
    const auto value = Run(sql);
    EXPECT_TRUE(value.has_value()) << sql << ": " << error();
    return value.value_or("");
  }

 private:
  Connection connection_;
};

std::string Literal(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

std::string Identifier(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// One line of a password file; ':' and '\' are escaped there.
std::string PassfileLine(const AdminAccess& at, const std::string& user,
                         const std::string& password) {
  auto escaped = [](const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == ':' || c == '\\') out += '\\';
      out += c;
    }
    return out;
  };
  return at.host + ":" + at.port + ":*:" + escaped(user) + ":" + escaped(password) + "\n";
}

// Two offices on one server, made once for the whole suite: the first with
// two accountants, the second with one. The names carry quotes and spaces so
// that a name pasted into SQL unquoted would break.
class OfficeServerScriptTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string suffix = std::to_string(::getpid());
    office_ = "traveno office " + suffix;
    group_ = "birou \"a\" " + suffix;
    other_office_ = "traveno_b_" + suffix;
    other_group_ = "birou_b_" + suffix;
    first_ = "ana-maria o'neil " + suffix;
    second_ = "ion_" + suffix;
    other_accountant_ = "dan_" + suffix;
    folder_ = new TempFolder;
    passfile_ = (folder_->path() / "pgpass").string();
    const AdminAccess admin = AdminOfTestServer();
    std::ofstream(passfile_) << PassfileLine(admin, first_, "parola unu: \\ ' \"")
                             << PassfileLine(admin, second_, "parola-doi")
                             << PassfileLine(admin, other_accountant_, "parola-trei");
    ::chmod(passfile_.c_str(), 0600);

    for (const auto& [database, group] :
         {std::pair{office_, group_}, std::pair{other_office_, other_group_}}) {
      const ScriptRun run = RunScript("create-office.sh", {"-d", database, "-g", group}, "");
      ASSERT_EQ(run.status, 0) << run.output;
    }
    for (const auto& [name, password] : {std::pair{first_, std::string("parola unu: \\ ' \"")},
                                         std::pair{second_, std::string("parola-doi")}}) {
      const ScriptRun run =
          RunScript("add-accountant.sh", {"-d", office_, "-g", group_, name}, password + "\n");
      ASSERT_EQ(run.status, 0) << run.output;
    }
    const ScriptRun run =
        RunScript("add-accountant.sh", {"-d", other_office_, "-g", other_group_, other_accountant_},
                  "parola-trei\n");
    ASSERT_EQ(run.status, 0) << run.output;
  }

  static void TearDownTestSuite() {
    const std::string& server = TestPostgresServer().conninfo;
    for (const auto& database : {office_, other_office_}) {
      try {
        RunOnServer(server, "DROP DATABASE IF EXISTS " + Identifier(database) + " WITH (FORCE)");
      } catch (const std::exception&) {
        // Whatever is left on the throwaway cluster goes with it.
      }
    }
    for (const auto& role : {first_, second_, other_accountant_, third_, group_, other_group_}) {
      if (role.empty()) continue;
      try {
        RunOnServer(server, "DROP ROLE IF EXISTS " + Identifier(role));
      } catch (const std::exception&) {
      }
    }
    delete folder_;
    folder_ = nullptr;
  }

  static std::string AdminQuery(const std::string& sql) {
    Session admin(office_, AdminOfTestServer().user, TestPostgresServer().passfile);
    EXPECT_TRUE(admin.ok()) << admin.error();
    return admin.Must(sql);
  }

  static inline std::string office_, group_, other_office_, other_group_;
  static inline std::string first_, second_, other_accountant_, third_;
  static inline std::string passfile_;
  static inline TempFolder* folder_ = nullptr;
};

TEST_F(OfficeServerScriptTest, TheGroupOwnsTheDatabaseAndNobodyHoldsAServerWideRight) {
  EXPECT_EQ(AdminQuery("SELECT pg_get_userbyid(datdba) || '|' || pg_encoding_to_char(encoding) ||"
                       " '|' || datcollate FROM pg_database WHERE datname = " +
                       Literal(office_)),
            group_ + "|UTF8|C");
  // Neither the database nor its public schema grants anything to PUBLIC.
  EXPECT_EQ(AdminQuery("SELECT count(*) FROM pg_database d, aclexplode(d.datacl) a"
                       " WHERE d.datname = " +
                       Literal(office_) + " AND a.grantee = 0"),
            "0");
  EXPECT_EQ(AdminQuery("SELECT count(*) FROM pg_namespace n, aclexplode(n.nspacl) a"
                       " WHERE n.nspname = 'public' AND a.grantee = 0"),
            "0");
  for (const auto& role : {group_, first_, second_}) {
    SCOPED_TRACE(role);
    EXPECT_EQ(AdminQuery("SELECT (rolsuper OR rolcreatedb OR rolcreaterole OR rolreplication OR"
                         " rolbypassrls)::text FROM pg_roles WHERE rolname = " +
                         Literal(role)),
              "false");
  }
  EXPECT_EQ(AdminQuery("SELECT rolcanlogin::text FROM pg_roles WHERE rolname = " + Literal(group_)),
            "false");
  for (const auto& accountant : {first_, second_}) {
    SCOPED_TRACE(accountant);
    EXPECT_EQ(AdminQuery("SELECT (rolcanlogin AND pg_has_role(oid, " + Literal(group_) +
                         ", 'MEMBER'))::text FROM pg_roles WHERE rolname = " + Literal(accountant)),
              "true");
    // Only the password's salted hash reached the server.
    EXPECT_EQ(AdminQuery("SELECT left(rolpassword, 14) FROM pg_authid WHERE rolname = " +
                         Literal(accountant)),
              "SCRAM-SHA-256$");
  }
}

TEST_F(OfficeServerScriptTest, AnAccountantCreatesSchemasTablesAndTemporaryViewsAsTheGroup) {
  Session session(office_, first_, passfile_);
  ASSERT_TRUE(session.ok()) << session.error();
  EXPECT_EQ(session.Must("SELECT session_user || '|' || current_user"), first_ + "|" + group_);
  session.Must("CREATE SCHEMA firma_vederi");
  session.Must(
      "CREATE TABLE firma_vederi.pers (luna date, marca integer, salinc double precision,"
      " poza bytea)");
  session.Must(
      "INSERT INTO firma_vederi.pers VALUES ('2026-03-01', 7, 4050.5, '\\x00ff'),"
      " ('2026-04-01', 7, 4100, NULL)");
  session.Must(
      "CREATE TEMPORARY VIEW luna_lucru AS SELECT * FROM firma_vederi.pers"
      " WHERE luna = '2026-04-01'");
  EXPECT_EQ(session.Must("SELECT salinc FROM luna_lucru"), "4100");
  EXPECT_EQ(session.Must("SELECT pg_try_advisory_lock(42)::text"), "true");
  EXPECT_EQ(session.Must("SELECT tableowner FROM pg_tables WHERE schemaname = 'firma_vederi'"),
            group_);
}

TEST_F(OfficeServerScriptTest, ASecondAccountantReadsAndChangesWhatTheFirstCreated) {
  Session first(office_, first_, passfile_);
  ASSERT_TRUE(first.ok()) << first.error();
  first.Must("CREATE SCHEMA firma_comuna");
  first.Must("CREATE TABLE firma_comuna.pers (marca integer PRIMARY KEY, salinc double precision)");
  first.Must("INSERT INTO firma_comuna.pers VALUES (1, 3000)");
  // A session that leaves the group's role makes objects of its own: the
  // group may still use them.
  first.Must("SET ROLE NONE");
  first.Must("CREATE TABLE firma_comuna.pint (marca integer, cnp text)");
  first.Must("INSERT INTO firma_comuna.pint VALUES (1, '1800101000001')");
  first.Must("RESET ROLE");

  Session second(office_, second_, passfile_);
  ASSERT_TRUE(second.ok()) << second.error();
  EXPECT_EQ(second.Must("SELECT salinc FROM firma_comuna.pers WHERE marca = 1"), "3000");
  second.Must("UPDATE firma_comuna.pers SET salinc = 3100 WHERE marca = 1");
  second.Must("INSERT INTO firma_comuna.pers VALUES (2, 2500)");
  second.Must("DELETE FROM firma_comuna.pint");
  // A newer program upgrades the layout of tables another accountant made.
  second.Must("ALTER TABLE firma_comuna.pers ADD COLUMN dif_brut double precision DEFAULT 0");
  second.Must("CREATE INDEX ON firma_comuna.pers (salinc)");
  second.Must("CREATE TABLE firma_comuna.versiune_structura (versiune integer)");

  EXPECT_EQ(first.Must("SELECT sum(salinc + dif_brut) FROM firma_comuna.pers"), "5600");
  EXPECT_EQ(first.Must("SELECT count(*) FROM firma_comuna.pint"), "0");
  first.Must("DROP TABLE firma_comuna.versiune_structura");
}

TEST_F(OfficeServerScriptTest, NoAccountantReachesBeyondTheOfficeDatabase) {
  // A database of the administrator that PUBLIC may connect to, as every new
  // database may: the accountants read and create nothing there.
  ScratchDatabase foreign;
  RunOnServer(foreign.url(), "CREATE TABLE salarii (suma double precision)");

  for (const auto& [name, office] : {std::pair{first_, office_}, std::pair{second_, office_},
                                     std::pair{other_accountant_, other_office_}}) {
    SCOPED_TRACE(name);
    const std::string& elsewhere = office == office_ ? other_office_ : office_;
    EXPECT_FALSE(Session(elsewhere, name, passfile_).ok()) << "connected to " << elsewhere;

    Session session(office, name, passfile_);
    ASSERT_TRUE(session.ok()) << session.error();
    const std::string others = office == office_ ? other_group_ : group_;
    const std::string refused[] = {
        "CREATE DATABASE " + Identifier("nou_" + std::to_string(::getpid())),
        "CREATE ROLE " + Identifier("rol_" + std::to_string(::getpid())),
        "ALTER ROLE " + Identifier(name) + " CREATEDB",
        "SET ROLE " + Identifier(others),
        "GRANT " + Identifier(others) + " TO " + Identifier(name),
        "COPY (SELECT 1) TO '/tmp/traveno-office-test-copy'",
        "SELECT pg_read_file('PG_VERSION')",
    };
    for (const auto& sql : refused) {
      EXPECT_FALSE(session.Run(sql).has_value()) << sql << " was allowed";
    }

    Session visitor(foreign.name(), name, passfile_);
    if (visitor.ok()) {
      EXPECT_FALSE(visitor.Run("SELECT * FROM salarii").has_value());
    }
  }
}

TEST_F(OfficeServerScriptTest, RunningTheScriptsAgainKeepsTheDataAndSetsTheNewPassword) {
  third_ = "vali_" + std::to_string(::getpid());
  const AdminAccess admin = AdminOfTestServer();
  const auto old_passfile = folder_->path() / "pgpass-old";
  const auto new_passfile = folder_->path() / "pgpass-new";
  std::ofstream(old_passfile) << PassfileLine(admin, third_, "veche");
  std::ofstream(new_passfile) << PassfileLine(admin, third_, "noua");
  ::chmod(old_passfile.c_str(), 0600);
  ::chmod(new_passfile.c_str(), 0600);

  ScriptRun run = RunScript("add-accountant.sh", {"-d", office_, "-g", group_, third_}, "veche\n");
  ASSERT_EQ(run.status, 0) << run.output;
  {
    Session session(office_, third_, old_passfile.string());
    ASSERT_TRUE(session.ok()) << session.error();
    session.Must("CREATE SCHEMA firma_repetat");
    session.Must("CREATE TABLE firma_repetat.parf (den text)");
    session.Must("INSERT INTO firma_repetat.parf VALUES ('pastrat')");
  }

  run = RunScript("create-office.sh", {"-d", office_, "-g", group_}, "");
  ASSERT_EQ(run.status, 0) << run.output;
  run = RunScript("add-accountant.sh", {"-d", office_, "-g", group_, third_}, "noua\n");
  ASSERT_EQ(run.status, 0) << run.output;

  EXPECT_FALSE(Session(office_, third_, old_passfile.string()).ok());
  Session session(office_, third_, new_passfile.string());
  ASSERT_TRUE(session.ok()) << session.error();
  EXPECT_EQ(session.Must("SELECT den FROM firma_repetat.parf"), "pastrat");
  EXPECT_EQ(session.Must("SELECT current_user"), group_);
  Session other(office_, second_, passfile_);
  EXPECT_EQ(other.Must("SELECT count(*) FROM firma_repetat.parf"), "1");
  EXPECT_EQ(AdminQuery("SELECT count(*) FROM pg_db_role_setting s JOIN pg_roles r"
                       " ON r.oid = s.setrole WHERE r.rolname = " +
                       Literal(third_)),
            "1");
}

TEST_F(OfficeServerScriptTest, TheScriptsRefuseWhatWouldHarmAndChangeNothing) {
  const std::string admin = AdminOfTestServer().user;
  const std::string stranger = "nimeni_" + std::to_string(::getpid());
  struct Case {
    const char* what;
    const char* script;
    std::vector<std::string> arguments;
    std::string input;
  };
  const Case cases[] = {
      {"an empty password", "add-accountant.sh", {"-d", office_, "-g", group_, stranger}, "\n"},
      {"no password at all", "add-accountant.sh", {"-d", office_, "-g", group_, stranger}, ""},
      {"a password on the command line",
       "add-accountant.sh",
       {"-d", office_, "-g", group_, stranger, "parola"},
       "parola\n"},
      {"an office not made",
       "add-accountant.sh",
       {"-d", "nu_exista", "-g", group_, stranger},
       "parola\n"},
      {"the administrator made an accountant",
       "add-accountant.sh",
       {"-d", office_, "-g", group_, admin},
       "parola\n"},
      {"the group made an accountant",
       "add-accountant.sh",
       {"-d", office_, "-g", group_, group_},
       "parola\n"},
      {"an accountant made a group", "create-office.sh", {"-d", office_, "-g", first_}, ""},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    const ScriptRun run = RunScript(test.script, test.arguments, test.input);
    EXPECT_NE(run.status, 0) << run.output;
    EXPECT_FALSE(run.output.empty());
  }
  EXPECT_EQ(AdminQuery("SELECT count(*) FROM pg_roles WHERE rolname = " + Literal(stranger)), "0");
  EXPECT_EQ(AdminQuery("SELECT rolsuper::text FROM pg_roles WHERE rolname = current_user"), "true");
  EXPECT_EQ(AdminQuery("SELECT rolcanlogin::text FROM pg_roles WHERE rolname = " + Literal(first_)),
            "true");
  // The administrator's password is the one of the server's password file still.
  EXPECT_TRUE(Session("postgres", admin, TestPostgresServer().passfile).ok());
}

}  // namespace
}  // namespace traveno::testing
