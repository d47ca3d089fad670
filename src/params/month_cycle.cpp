#include "params/month_cycle.h"

#include <cstdio>

#include "backup/safety_copies.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "params/departments.h"
#include "params/parameter_store.h"
#include "params/recalculate.h"
#include "params/unit_of_work.h"

namespace traveno::params {
namespace {

const char* TableName(MonthTable table) {
  switch (table) {
    case MonthTable::kPara:
      return "main.Para";
    case MonthTable::kImpo:
      return "main.Impo";
    case MonthTable::kImpoAn:
      return "main.Impo_an";
  }
  return "";
}

Date FirstOfYear(Date month) { return Date::FromYmd(month.year(), 1, 1); }

void AppendBrackets(Database& db, MonthTable table, Date month, const engine::TaxTable& brackets) {
  const std::string sql = std::string("INSERT INTO ") + TableName(table) +
                          " (Luna, P_Venit, V_Const, V_Proc) VALUES (?, ?, ?, ?)";
  for (const engine::TaxBracket& bracket : brackets) {
    db.Run(sql, month, bracket.P_Venit, bracket.V_Const, bracket.V_Proc);
  }
}

// A carried figure: 0 when its flag says the field starts the month at 0.
double Carry(double flag, double value) { return flag == 1 ? 0.0 : value; }
int Carry(double flag, int value) { return flag == 1 ? 0 : value; }

void Step(const TransitionHooks& hooks, TransitionStep step) {
  if (hooks.after_step) hooks.after_step(step);
}

}  // namespace

Date FindSourceMonth(Database& db, MonthTable table, Date month) {
  const std::string name = TableName(table);
  if (db.QueryInt("SELECT 1 FROM " + name + " WHERE Luna = ? LIMIT 1", month)) return month;
  for (const char* sql : {"SELECT max(Luna) FROM %s WHERE Luna >= '1800-01-01' AND Luna <= ?",
                          "SELECT min(Luna) FROM %s WHERE Luna >= ? AND Luna <= '9999-12-31'"}) {
    char text[200];
    std::snprintf(text, sizeof text, sql, name.c_str());
    Statement statement = db.Prepare(text);
    statement.Bind(1, month);
    if (statement.Step() && !statement.IsNull(0)) return statement.DateAt(0);
  }
  return EmptyDate();
}

void CopyMonthRows(Database& db, MonthTable table, Date source, Date target) {
  UnitOfWork work(db);
  if (table == MonthTable::kPara) {
    const auto rows = QueryRows<ParaRow>(
        db, "SELECT * FROM main.Para WHERE Luna = ? ORDER BY Den COLLATE NOCASE, Nr", source);
    for (const ParaRow& row : rows) {
      if (db.QueryInt("SELECT 1 FROM main.Para WHERE Luna = ? AND Den = ? COLLATE NOCASE", target,
                      row.Den)) {
        continue;
      }
      db.Run("INSERT INTO main.Para (Luna, Den, Val, Grupa) VALUES (?, ?, ?, '')", target, row.Den,
             row.Val);
    }
  } else {
    const std::string name = TableName(table);
    if (table == MonthTable::kImpoAn) target = FirstOfYear(target);
    const auto rows = QueryRows<ImpoRow>(
        db, "SELECT * FROM " + name + " WHERE Luna = ? ORDER BY P_Venit, Nr", source);
    for (const ImpoRow& row : rows) {
      if (db.QueryInt("SELECT 1 FROM " + name + " WHERE Luna = ? AND P_Venit = ?", target,
                      row.P_Venit)) {
        continue;
      }
      db.Run("INSERT INTO " + name + " (Luna, P_Venit, V_Const, V_Proc) VALUES (?, ?, ?, ?)",
             target, row.P_Venit, row.V_Const, row.V_Proc);
    }
  }
  work.Commit();
}

const engine::TaxTable& DefaultMonthlyBrackets() {
  static const engine::TaxTable table = {{0, 0, 18},
                                         {2100000, 378000, 23},
                                         {5200000, 1091000, 28},
                                         {8300000, 1959000, 34},
                                         {11600000, 3081000, 40}};
  return table;
}

const engine::TaxTable& DefaultAnnualBrackets() {
  static const engine::TaxTable table = {{0, 0, 18},
                                         {25200000, 4536000, 23},
                                         {62400000, 13092000, 28},
                                         {99600000, 23508000, 34},
                                         {139200000, 36972000, 40}};
  return table;
}

namespace {

// Whether the month already has its monthly brackets, its year's annual
// brackets and its general parameters: then PrepareSharedTables has nothing
// to write.
bool SharedTablesReady(Database& db, Date month) {
  return FindSourceMonth(db, MonthTable::kImpo, month) == month &&
         (FindSourceMonth(db, MonthTable::kImpoAn, month) == month ||
          db.QueryInt("SELECT 1 FROM main.Impo_an WHERE Luna = ? LIMIT 1", FirstOfYear(month))) &&
         FindSourceMonth(db, MonthTable::kPara, month) == month;
}

}  // namespace

void PrepareSharedTables(Database& db, Date month) {
  // A month that has them all (every month but a new one) is only read:
  // no write lock is taken and nothing is synced.
  if (!db.InTransaction()) {
    ReadWork look(db);
    const bool ready = SharedTablesReady(db, month);
    look.Done();
    if (ready) return;
  }
  UnitOfWork work(db);
  Date source = FindSourceMonth(db, MonthTable::kImpo, month);
  if (source != month) {
    if (!source.IsEmpty()) {
      CopyMonthRows(db, MonthTable::kImpo, source, month);
    } else {
      AppendBrackets(db, MonthTable::kImpo, month, DefaultMonthlyBrackets());
    }
  }
  source = FindSourceMonth(db, MonthTable::kImpoAn, month);
  const Date year = FirstOfYear(month);
  if (source != month && !db.QueryInt("SELECT 1 FROM main.Impo_an WHERE Luna = ? LIMIT 1", year)) {
    AppendBrackets(db, MonthTable::kImpoAn, year, DefaultAnnualBrackets());
  }
  source = FindSourceMonth(db, MonthTable::kPara, month);
  if (source != month) {
    if (!source.IsEmpty()) {
      CopyMonthRows(db, MonthTable::kPara, source, month);
    } else {
      WriteGeneralDefaults(db, month);
    }
  }
  work.Commit();
}

std::vector<CompanyMonth> CompanyMonths(Database& db) {
  std::vector<CompanyMonth> months;
  Statement statement = db.Prepare(
      "SELECT Luna, max(Val) FROM firma.ParF WHERE Den = 'Deschisa' GROUP BY Luna ORDER BY Luna");
  while (statement.Step()) months.push_back({statement.DateAt(0), statement.Double(1) == 1});
  return months;
}

std::string MonthListLine(Date month) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d  -  %02d   ( ", month.year(), month.month());
  return std::string(text) + std::string(MonthName(month.month())) + " )";
}

std::string PayDayMovedNotice(double day, Date month, double last_day) {
  return "Ziua lichidarii " + FloatToText(day) + " nu exista in luna " +
         Trim(MonthText(FirstOfNextMonth(month))) + ": pentru luna " + Trim(MonthText(month)) +
         " ziua lichidarii este " + FloatToText(last_day) + ".";
}

std::vector<std::string> CopyCompanyParameters(Database& db, Date from, Date to) {
  static constexpr std::string_view kZeroed[] = {
      "Deschisa", "CalculSomaj", "DedSomaj", "TipCalcul", "RestAs",    "RestAn",    "Penal",
      "Maj",      "SVAsig",      "SVAng",    "SDAsig",    "SDAng",     "RestSanA",  "RestSanB",
      "RestSanC", "MajSanA",     "MajSanB",  "MajSanC",   "DatorSanA", "DatorSanB", "DatorSanC"};
  UnitOfWork work(db);
  std::vector<std::string> notices;
  const auto rows =
      QueryRows<ParFRow>(db, "SELECT * FROM firma.ParF WHERE Luna = ? ORDER BY Nr", from);
  for (ParFRow row : rows) {
    if (db.QueryInt("SELECT 1 FROM firma.ParF WHERE Luna = ? AND Den = ? COLLATE NOCASE", to,
                    row.Den)) {
      continue;
    }
    for (std::string_view name : kZeroed) {
      if (row.Den == name) row.Val = 0;
    }
    if (row.Den == "Ex_Impozit" || row.Den == "Ex_Pensie" || row.Den == "Ex_Sanatate") {
      row.Val = 100;
      row.Grupa = "DA";
    }
    if (row.Den == "ZileLibere") {
      row.Val = 0;
      row.Grupa.clear();
    }
    if (row.Den == "ZiLichidare") {
      // A pay day the month after the new one lacks (31 carried from
      // February into March, paid in April) becomes that month's last day,
      // and the user is told.
      const ValueRule rule = PayDayRule(to);
      if (row.Val > rule.max) {
        notices.push_back(PayDayMovedNotice(row.Val, to, rule.max));
        row.Val = rule.max;
      }
    }
    db.Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, ?, ?, ?)", to, row.Den,
           row.Val, row.Grupa);
  }
  work.Commit();
  return notices;
}

void CopyEmployees(Database& db, Date from, Date to,
                   const engine::MonthParameters& from_parameters) {
  const engine::CompanyParameters& f = from_parameters.company;
  UnitOfWork work(db);
  const auto rows =
      QueryManyRows<PersRow>(db, "FROM firma.Pers WHERE LUNA = ?", "LUNA, IID, Nr", from);
  RowWriter<PersRow> writer(db, "Pers");
  for (const PersRow& r : rows) {
    if (db.QueryInt("SELECT 1 FROM firma.Pers WHERE LUNA = ? AND IID = ? LIMIT 1", to, r.IID)) {
      continue;
    }
    if (!r.DATA_LICH.IsEmpty() && r.DATA_LICH < to) continue;
    PersRow n{};
    n.LUNA = to;
    n.IID = r.IID;
    n.TIP = r.TIP;
    n.NUME = r.NUME;
    n.PRENUME = r.PRENUME;
    n.CODNUMPERS = r.CODNUMPERS;
    n.FUNCTIE = r.FUNCTIE;
    n.SALINC = r.SALINC;
    n.STUDII = r.STUDII;
    n.DATA_ANG = r.DATA_ANG;
    n.DATA_NAS = r.DATA_NAS;
    n.DATA_LICH = r.DATA_LICH;
    n.Judet = r.Judet;
    n.LOCALITATE = r.LOCALITATE;
    n.STRADA = r.STRADA;
    n.NUMAR = r.NUMAR;
    n.CODPOSTAL = r.CODPOSTAL;
    n.BLOC = r.BLOC;
    n.SCARA = r.SCARA;
    n.ETAJ = r.ETAJ;
    n.AP = r.AP;
    n.SECTOR = r.SECTOR;
    n.TELEFON = r.TELEFON;
    n.ALTE_DATE = r.ALTE_DATE;
    n.NORMA = r.NORMA;
    n.CATEGORIE = r.CATEGORIE;
    n.MARCA = r.MARCA;
    n.ACORD = r.ACORD;
    n.Ore_Zi = r.Ore_Zi;
    n.INVALIDITATE = r.INVALIDITATE;
    n.ALT_VENIT = r.ALT_VENIT;
    n.Depart = r.Depart;
    n.EMAIL = r.EMAIL;
    n.fisa_rectif = r.fisa_rectif;
    n.fisa_regul = r.fisa_regul;
    n.Domiciliu_ext = r.Domiciliu_ext;
    n.BifaSom = r.BifaSom;
    n.Ch_Prof = r.Ch_Prof;
    n.PlatitOra = r.PlatitOra;
    n.Pensionar = r.Pensionar;

    n.TIMP = Carry(f.Timp, r.TIMP);
    n.TIMP_SPL = Carry(f.Timp_spl, r.TIMP_SPL);
    n.Spor1 = Carry(f.spor[0].Init, r.Spor1);
    n.vals1 = Carry(f.spor[0].Init, r.vals1);
    n.spor2 = Carry(f.spor[1].Init, r.spor2);
    n.vals2 = Carry(f.spor[1].Init, r.vals2);
    n.spor3 = Carry(f.spor[2].Init, r.spor3);
    n.vals3 = Carry(f.spor[2].Init, r.vals3);
    n.spor4 = Carry(f.spor[3].Init, r.spor4);
    n.vals4 = Carry(f.spor[3].Init, r.vals4);
    n.PRIME = Carry(f.InitPrime, r.PRIME);
    n.pr_va = Carry(f.InitPr_va, r.pr_va);
    n.CM1L = Carry(f.Cm1l, r.CM1L);
    n.CM2L = Carry(f.Cm2l, r.CM2L);
    n.AVANS = Carry(f.Avans, r.AVANS);
    n.RETINERI = Carry(f.Retineri, r.RETINERI);
    n.TIMP_NOAPTE = Carry(f.Timp_Noapte, r.TIMP_NOAPTE);
    n.ZILE_CO = Carry(f.Zile_Co, r.ZILE_CO);
    n.ALTE_SUME = Carry(f.InitAlteSume, r.ALTE_SUME);
    n.CIC = Carry(f.InitCIC, r.CIC);
    n.POPRIRI = Carry(f.Popriri, r.POPRIRI);
    n.GARANTII = Carry(f.Garantii, r.GARANTII);
    n.ALTE_RET = Carry(f.Alte_Ret, r.ALTE_RET);
    n.PRIME_INCASATE = Carry(f.Prime_inc, r.PRIME_INCASATE);
    n.AVANS_CO = Carry(f.Avans_Co, r.AVANS_CO);
    n.ZILE_FP = Carry(f.Zile_Fp, r.ZILE_FP);
    n.ZILE_CM = Carry(f.Zile_Cm, r.ZILE_CM);
    n.ZILE_CIC = Carry(f.Zile_CIC, r.ZILE_CIC);
    n.SPORURI = Carry(f.InitSporuri, r.SPORURI);
    n.SumeExcept = Carry(f.SumeExcept, r.SumeExcept);
    n.ProcImpo = f.ProcImpo == 1 ? 100.0 : r.ProcImpo;
    // VAL_TIMP_S .. DED_PERS_SUPLI, ALTESPORP and Brut1 start at 0.
    n.DED_PERS = from_parameters.general.DedBaza;
    const double coef = r.CoefInd >= 1 ? r.CoefInd : 1.0;
    n.CoefInd = coef;
    n.CoefInd1 = coef;
    if (n.TIP == "2" && n.PlatitOra == 0) {
      n.CoefInd = 0;
      n.CoefInd1 = 0;
    }
    writer.Insert(n);
  }
  work.Commit();
}

void CopyDependants(Database& db, Date from, Date to) {
  UnitOfWork work(db);
  const auto rows =
      QueryRows<PintRow>(db, "SELECT * FROM firma.Pint WHERE Luna = ? ORDER BY Nr", from);
  for (const PintRow& row : rows) {
    if (db.QueryInt("SELECT 1 FROM firma.Pint WHERE Luna = ? AND CODNUMPERS = ? LIMIT 1", to,
                    row.CODNUMPERS)) {
      continue;
    }
    db.Run(
        "INSERT INTO firma.Pint (Luna, IID, AiPers, Nume, Prenume, CODNUMPERS, Calitate, "
        "Invaliditate, Coef) VALUES (?, ?, 0, ?, ?, ?, ?, ?, ?)",
        to, row.IID, row.Nume, row.Prenume, row.CODNUMPERS, row.Calitate, row.Invaliditate,
        row.Coef);
  }
  work.Commit();
}

void LinkDependants(Database& db, Date month) {
  UnitOfWork work(db);
  db.Run(
      "UPDATE firma.Pint SET AiPers = (SELECT P.Nr FROM firma.Pers P WHERE P.LUNA = Pint.Luna "
      "AND P.IID = Pint.IID ORDER BY P.Nr LIMIT 1) WHERE Luna = ? AND EXISTS (SELECT 1 FROM "
      "firma.Pers P WHERE P.LUNA = Pint.Luna AND P.IID = Pint.IID)",
      month);
  db.Run(
      "DELETE FROM firma.Pint WHERE Luna = ? AND NOT EXISTS (SELECT 1 FROM firma.Pers P "
      "WHERE P.LUNA = Pint.Luna AND P.IID = Pint.IID)",
      month);
  work.Commit();
}

std::string ZeroedColumnsText(const engine::CompanyParameters& p) {
  const std::pair<double, const char*> kColumns[] = {
      {p.Timp, "Timp"},
      {p.Timp_spl, "Timp spl."},
      {p.InitPrime, "Prime"},
      {p.Cm1l, "Cm Firma"},
      {p.Cm2l, "Cm Stat"},
      {p.Avans, "Avans"},
      {p.Retineri, "Retineri"},
      {p.Timp_Noapte, "Timp Noapte"},
      {p.Zile_Co, "Zile Co"},
      {p.InitAlteSume, "Alte sume"},
      {p.InitCIC, "CIC"},
      {p.Popriri, "Popriri"},
      {p.Garantii, "Garantii"},
      {p.Alte_Ret, "Alte Retetineri"},
      {p.Prime_inc, "Prime incasate"},
      {p.Avans_Co, "Avans Co"},
      {p.Zile_Fp, "Zile Fp"},
      {p.Zile_Cm, "Zile Cm"},
      {p.Zile_CIC, "Zile CIC"},
      {p.InitSporuri, "Sporuri"},
      {p.SumeExcept, "Sume exceptate"},
      {p.ProcImpo, "Procent Impozit"},
  };
  std::string text;
  auto add = [&text](std::string_view column) {
    if (!text.empty()) text += ",  ";
    text += column;
  };
  for (const auto& [flag, column] : kColumns) {
    if (flag == 1) add(column);
  }
  for (const engine::BonusParameters& bonus : p.spor) {
    if (bonus.Init == 1 && bonus.Apl != 4) add(bonus.Den);
  }
  return text;
}

bool IsConfirmWord(std::string_view typed) { return UpperTrim(typed) == "CONFIRM"; }

std::vector<std::string> PassToNextMonth(Session& session, ProgressReporter& progress,
                                         const TransitionHooks& hooks) {
  if (!session.HasWorkingMonth()) throw Error(kTransitionNotLastMonth);
  backup::KeepSafetyCopy(session.store().data_folder(), session.company(), "trecere");
  Database& db = session.db();
  const Date from = session.working_month();
  const Date to = FirstOfNextMonth(from);
  engine::MonthResult result;
  std::vector<std::string> notices;
  {
    WaitScope wait(progress, "Trecere luna", "Asteptati va rog...");
    SessionWork work(session);
    // The last month as stored now: another writer may have passed it already.
    const std::vector<CompanyMonth> months = CompanyMonths(db);
    if (months.empty() || months.back().luna != from) throw Error(kTransitionNotLastMonth);
    engine::MonthParameters closing = session.parameters();
    closing.company.Deschisa = 1;
    SaveChangedCompanyParameters(db, from, session.stored_parameters().company, closing.company);
    Step(hooks, TransitionStep::kMonthClosed);
    notices = CopyCompanyParameters(db, from, to);
    Step(hooks, TransitionStep::kCompanyParametersCopied);
    CopyEmployees(db, from, to, closing);
    Step(hooks, TransitionStep::kEmployeesCopied);
    CopyDependants(db, from, to);
    Step(hooks, TransitionStep::kDependantsCopied);
    Date source = FindSourceMonth(db, MonthTable::kImpo, to);
    if (source != to) CopyMonthRows(db, MonthTable::kImpo, source, to);
    if (to.month() == 1) {
      source = FindSourceMonth(db, MonthTable::kImpoAn, to);
      if (source != to) CopyMonthRows(db, MonthTable::kImpoAn, source, to);
    }
    source = FindSourceMonth(db, MonthTable::kPara, to);
    if (source != to) CopyMonthRows(db, MonthTable::kPara, source, to);
    Step(hooks, TransitionStep::kSharedTablesCopied);
    LinkDependants(db, to);
    Step(hooks, TransitionStep::kDependantsLinked);
    // The new month is calculated in the same transaction: it is never left
    // with copied inputs and figures of zero.
    engine::MonthParameters next;
    next.luna = to;
    next.general = LoadGeneralParameters(db, to);
    next.company = LoadCompanyParameters(db, to);
    result = CalculateAndWriteMonth(db, to, next, next.company.Deschisa == 0);
    Step(hooks, TransitionStep::kNewMonthCalculated);
    work.Commit();
  }
  session.SetWorkingMonth(session.company(), to);
  session.set_last_month(to);
  session.store().OpenMonth(to);
  session.LoadParameters();
  CountDepartments(session);
  session.totals() = result.totals;
  session.funds() = result.funds;
  return notices;
}

bool ToggleMonthClosed(Session& session) {
  SessionWork work(session, WorkWrites::kCompanyFile);
  engine::CompanyParameters values = session.parameters().company;
  values.Deschisa = values.Deschisa != 0 ? 0 : 1;
  SaveChangedCompanyParameters(session.db(), session.working_month(),
                               session.stored_parameters().company, values);
  work.Commit();
  session.CompanyParametersSaved(values);
  return values.Deschisa != 0;
}

}  // namespace traveno::params
