#include "params/brackets.h"

#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "engine/tax_table.h"

namespace traveno::params {
namespace {

constexpr const char* kLaterBracketsWarning =
    "Modificarile impozitarului nu se vor reflecta pe lunile urmatoare !";

struct Period {
  const char* table;
  Date from;
  Date to;
  Date stored;  // the Luna of a new row
};

Period PeriodOf(Date month, bool annual) {
  const Date first = FirstOfMonth(month);
  if (!annual) return {"main.Impo", first, first, first};
  const Date january = Date::FromYmd(first.year(), 1, 1);
  return {"main.Impo_an", january, Date::FromYmd(first.year(), 12, 1), january};
}

bool ThresholdTaken(Database& db, const Period& period, double p_venit, std::int64_t except_nr) {
  return db
      .QueryInt(std::string("SELECT 1 FROM ") + period.table +
                    " WHERE Luna BETWEEN ? AND ? AND P_Venit = ? AND Nr <> ? LIMIT 1",
                period.from, period.to, p_venit, except_nr)
      .has_value();
}

bool Refuse(Prompter& prompter, bool annual) {
  prompter.Message(MessageKind::kInformation, annual ? "Barem deja existent pe anul specificat"
                                                     : "Barem deja existent pe luna specificata");
  return false;
}

void WarnLaterMonths(Database& db, const Period& period, bool annual, Prompter& prompter) {
  if (annual) return;
  Statement statement = db.Prepare("SELECT max(Luna) FROM main.Impo");
  if (statement.Step() && !statement.IsNull(0) && statement.DateAt(0) != period.from) {
    prompter.Message(MessageKind::kWarning, kLaterBracketsWarning);
  }
}

bool RowInPeriod(Database& db, const Period& period, std::int64_t nr) {
  return db
      .QueryInt(
          std::string("SELECT 1 FROM ") + period.table + " WHERE Nr = ? AND Luna BETWEEN ? AND ?",
          nr, period.from, period.to)
      .has_value();
}

void RequireBracket(double p_venit, double v_const, double v_proc) {
  ImpoRow row;
  row.P_Venit = p_venit;
  row.V_Const = v_const;
  row.V_Proc = v_proc;
  RequireRowValues(row);
}

bool MissingRow(Prompter& prompter, std::int64_t nr) {
  prompter.Message(MessageKind::kWarning,
                   "Transa cu numarul " + std::to_string(nr) + " nu exista in perioada aleasa !");
  return false;
}

}  // namespace

std::vector<ImpoRow> ListBrackets(Database& db, Date month, bool annual) {
  const Period period = PeriodOf(month, annual);
  return QueryRows<ImpoRow>(db,
                            std::string("SELECT * FROM ") + period.table +
                                " WHERE Luna BETWEEN ? AND ? ORDER BY Luna, P_Venit, Nr",
                            period.from, period.to);
}

bool AddBracket(Database& db, Date month, bool annual, double p_venit, double v_const,
                double v_proc, Prompter& prompter) {
  RequireBracket(p_venit, v_const, v_proc);
  const Period period = PeriodOf(month, annual);
  Transaction tx(db);
  if (ThresholdTaken(db, period, p_venit, -1)) return Refuse(prompter, annual);
  WarnLaterMonths(db, period, annual, prompter);
  db.Run(std::string("INSERT INTO ") + period.table +
             " (Luna, P_Venit, V_Const, V_Proc) VALUES (?, ?, ?, ?)",
         period.stored, p_venit, v_const, v_proc);
  tx.Commit();
  return true;
}

bool ModifyBracket(Database& db, Date month, bool annual, std::int64_t nr, double p_venit,
                   double v_const, double v_proc, Prompter& prompter) {
  RequireBracket(p_venit, v_const, v_proc);
  const Period period = PeriodOf(month, annual);
  Transaction tx(db);
  if (!RowInPeriod(db, period, nr)) return MissingRow(prompter, nr);
  if (ThresholdTaken(db, period, p_venit, nr)) return Refuse(prompter, annual);
  WarnLaterMonths(db, period, annual, prompter);
  db.Run(std::string("UPDATE ") + period.table +
             " SET P_Venit = ?, V_Const = ?, V_Proc = ? WHERE Nr = ?",
         p_venit, v_const, v_proc, nr);
  tx.Commit();
  return true;
}

bool DeleteBracket(Database& db, Date month, bool annual, std::int64_t nr, Prompter& prompter) {
  const Period period = PeriodOf(month, annual);
  Transaction tx(db);
  if (!RowInPeriod(db, period, nr)) return MissingRow(prompter, nr);
  WarnLaterMonths(db, period, annual, prompter);
  db.Run(std::string("DELETE FROM ") + period.table + " WHERE Nr = ?", nr);
  tx.Commit();
  return true;
}

engine::TaxTable BracketTable(Database& db, Date month, bool annual) {
  engine::TaxTable table;
  for (const ImpoRow& row : ListBrackets(db, month, annual)) {
    table.push_back({row.P_Venit, row.V_Const, row.V_Proc});
  }
  return table;
}

std::string CheckBrackets(Database& db, Date month, bool annual) {
  return engine::VerificaTabel(BracketTable(db, month, annual));
}

}  // namespace traveno::params
