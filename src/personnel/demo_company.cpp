#include "personnel/demo_company.h"

#include <vector>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "engine/formula_check.h"
#include "params/company_register.h"
#include "params/parameter_store.h"
#include "params/unit_of_work.h"
#include "personnel/dependants.h"
#include "personnel/employees.h"
#include "personnel/grid_line.h"
#include "personnel/pay_grid.h"
#include "personnel/personal_code.h"

namespace traveno::personnel {
namespace {

Date D(int y, int m, int d = 1) { return Date::FromYmd(y, m, d); }

// A valid personal code: sex and century digit, birth date, county, order.
std::string Code(int s, int y, int m, int d, int county, int order) {
  char digits[13];
  std::snprintf(digits, sizeof digits, "%d%02d%02d%02d%02d%03d", s, y % 100, m, d, county, order);
  return std::string(digits) + ControlDigit(digits);
}

constexpr const char* kDemoBonusFormula = "\"SALINC\"*3/100+\"VAL_TIMP_S\"/10";

struct DemoEmployee {
  const char* nume;
  const char* prenume;
  const char* tip;
  const char* depart;
  const char* functie;
  double salinc;
  double timp;        // hours
  std::string code;
  Date hired;
  int marca;
};

void WriteParameters(params::Session& session) {
  Database& db = session.db();
  const Date month = session.working_month();
  params::UnitOfWork work(db);
  const std::pair<const char*, double> general[] = {
      {"SomajAng", 1},         {"SomajFirm", 3},       {"SanatateAng", 6.5},
      {"SanatateFirm", 7},     {"Pensie", 9.5},        {"CAS", 22},
      {"Handicap", 4},         {"PersHandi", 4},      {"Accident", 0.5},
      {"DedBaza", 1800000},    {"CheltProf", 270000},  {"CoefMax", 3},
      {"SalMedEc", 6962000},   {"SalMinEc", 2500000},  {"LimCIC", 250000},
      {"SotSotie", 0.5},       {"DoiCopii", 0.5},      {"RestCopii", 0.3},
      {"AltePers", 0.3},       {"InvalidI", 1},        {"InvalidII", 0.5},
  };
  for (const auto& [name, value] : general) params::WriteGeneral(db, month, name, value);

  db.Run("DELETE FROM main.Impo WHERE Luna = ?", month);
  const double brackets[][3] = {{0, 0, 18},
                                {2100000, 378000, 23},
                                {5200000, 1091000, 28},
                                {8300000, 1959000, 34},
                                {11600000, 3081000, 40}};
  for (const auto& b : brackets) {
    db.Run("INSERT INTO main.Impo (Luna, P_Venit, V_Const, V_Proc) VALUES (?, ?, ?, ?)", month,
           b[0], b[1], b[2]);
  }

  const std::pair<const char*, double> company[] = {
      {"TimpZile", 0},   {"TimpLuna", 168},  {"MedieOre", 168},    {"SporNoapte", 25},
      {"Spor1_Apl", 1},  {"Spor_Perm1", 1},  {"Spor2_Apl", 2},     {"Spor3_Apl", 0},
      {"Spor4_Apl", 5},  {"Spor4_ProcF", 0}, {"ProcOreSupli", 100}, {"Deschisa", 0},
  };
  for (const auto& [name, value] : company) params::WriteCompany(db, month, name, value);
  params::WriteCompanyText(db, month, "Spor1_Den", "Vechime");
  params::WriteCompanyText(db, month, "Spor2_Den", "Conditii");
  params::WriteCompanyText(db, month, "Spor3_Den", "Telefon");
  params::WriteCompanyText(db, month, "Spor4_Den", "Productivitate");
  // The productivity bonus: 3 % of the base salary and a tenth of the
  // overtime's value, a formula the formula editor accepts.
  const auto fields = engine::AcceptedFormulaFields(engine::FormulaKind::kBonus, 4);
  if (auto refusal =
          engine::ValideazaFormula(kDemoBonusFormula, fields, engine::FormulaKind::kBonus)) {
    throw Error(*refusal);
  }
  params::WriteCompanyText(db, month, "Spor4_Form", kDemoBonusFormula);
  params::WriteCompanyText(db, month, "Ex_Firma", "NU");
  params::WriteCompanyText(db, month, "DEP_PRODUCT", "PRODUCTIE");
  work.Commit();
  session.LoadParameters();
  session.set_department_count(static_cast<int>(session.parameters().company.departments.size()));
}

params::CompanyInput DemoCompanyInput() {
  params::CompanyInput company;
  company.row.Cod = kDemoCompanyCode;
  company.row.Denumire = "SC DEMO PRODUCTIE SRL";
  company.row.CodFiscal = "R1234567";
  company.row.RegCom = "J40/1234/1998";
  company.row.Judet = "BUCURESTI";
  company.row.Localitate = "BUCURESTI";
  company.row.Strada = "Str. Exemplului";
  company.row.Numar = "10";
  company.legal_entity = true;
  return company;
}

}  // namespace

int CreateDemoCompany(params::Session& session, Prompter& prompter, ProgressReporter& progress) {
  Store& store = session.store();
  if (store.FindCompany(kDemoCompanyCode)) throw Error(kDemoCompanyExists);
  const Date month = D(2003, 1);
  const params::CompanyInput company = DemoCompanyInput();
  if (!params::ValidateCompanyInput(company, prompter).confirmed) throw Error(kDemoCompanyExists);
  // The footer lines live in the settings file, outside the transaction;
  // writing them again after an interruption changes nothing.
  SaveFooter(store.data_folder(), kDemoCompanyCode, company.footer);
  if (!params::PrepareCompanyFolder(store, kDemoCompanyCode, prompter)) {
    throw Error("Firma DEMO nu a putut fi creata !");
  }

  // The company's first month, its register row and every figure of the
  // month are one transaction: an interrupted demo leaves no company behind,
  // and runs again to the end.
  Transaction tx(store.db());
  params::WriteFirstMonth(store.db(), month);
  store.OpenMonth(month);
  session.SetWorkingMonth(kDemoCompanyCode, month);
  session.set_last_month(month);
  session.LoadParameters();
  session.totals() = {};
  session.funds() = {};
  session.footer() = LoadFooter(store.data_folder(), kDemoCompanyCode);
  FirmeRow row = params::StoredCompanyRow(company);
  RequireRowValues(row);
  RowWriter<FirmeRow>(store.db(), "Firme").Insert(row);
  WriteParameters(session);

  const std::vector<DemoEmployee> staff = {
      {"POPESCU", "ION", "1", "CENTRAL", "DIRECTOR GENERAL", 15000000, 168, Code(1, 58, 4, 12, 40, 11), D(1995, 3, 1), 1},
      {"IONESCU", "MARIA", "1", "CENTRAL", "CONTABIL SEF", 9000000, 168, Code(2, 65, 9, 23, 40, 12), D(1997, 6, 1), 2},
      {"GEORGESCU", "ANDREI", "1", "CENTRAL", "ECONOMIST", 6500000, 168, Code(1, 75, 1, 30, 40, 13), D(2000, 2, 1), 3},
      {"DUMITRESCU", "ELENA", "1", "CENTRAL", "SECRETARA", 4000000, 152, Code(2, 80, 7, 7, 40, 14), D(2001, 9, 1), 4},
      {"CONSTANTIN", "VASILE", "1", "CENTRAL", "SOFER", 3800000, 168, Code(1, 69, 11, 2, 40, 15), D(1998, 4, 1), 5},
      {"STAN", "GHEORGHE", "1", "PRODUCT", "SEF ATELIER", 7500000, 168, Code(1, 62, 5, 19, 23, 16), D(1996, 1, 15), 10},
      {"RADU", "MIHAI", "1", "PRODUCT", "STRUNGAR", 4200000, 168, Code(1, 77, 3, 3, 23, 17), D(1999, 5, 1), 11},
      {"MUNTEANU", "DAN", "1", "PRODUCT", "FREZOR", 4100000, 168, Code(1, 81, 8, 14, 23, 18), D(2002, 3, 1), 12},
      {"MATEI", "ANA", "1", "PRODUCT", "OPERATOR", 3500000, 120, Code(2, 83, 12, 1, 23, 19), D(2002, 10, 1), 13},
      {"VASILE", "CRISTIAN", "1", "PRODUCT", "LACATUS", 3900000, 168, Code(1, 72, 2, 28, 23, 20), D(1997, 11, 1), 14},
      {"ENACHE", "FLORIN", "1", "PRODUCT", "SUDOR", 4300000, 168, Code(1, 70, 6, 6, 23, 21), D(1998, 8, 1), 15},
      {"BARBU", "IOANA", "1", "PRODUCT", "CONTROLOR CALITATE", 4000000, 168, Code(2, 79, 10, 10, 23, 22), D(2000, 7, 1), 16},
      {"NEAGU", "PETRE", "1", "PRODUCT", "MUNCITOR NECALIFICAT", 2500000, 168, Code(1, 84, 4, 4, 23, 23), D(2003, 1, 6), 17},
      {"TUDOR", "LIVIU", "1", "PRODUCT", "ELECTRICIAN", 4000000, 96, Code(1, 76, 9, 9, 23, 24), D(2001, 4, 1), 18},
      {"DRAGOMIR", "SORIN", "2", "CENTRAL", "CONSULTANT JURIDIC", 3000000, 40, Code(1, 60, 1, 1, 40, 25), D(2000, 1, 1), 30},
      {"LUPU", "CARMEN", "2", "CENTRAL", "ADMINISTRATOR", 5000000, 84, Code(2, 66, 3, 8, 40, 26), D(1999, 3, 1), 31},
      {"OPREA", "NICOLAE", "2", "PRODUCT", "PAZNIC", 1500000, 84, Code(1, 45, 5, 5, 23, 27), D(2002, 5, 1), 32},
      {"STOICA", "ADRIANA", "2", "PRODUCT", "INGINER PROIECTANT", 2400000, 40, Code(2, 78, 2, 2, 23, 28), D(2001, 6, 1), 33},
      {"COJOCARU", "VICTOR", "2", "CENTRAL", "INFORMATICIAN", 2000000, 42, Code(1, 82, 7, 21, 40, 29), D(2002, 9, 1), 34},
      {"ZAHARIA", "LUCIA", "2", "PRODUCT", "FEMEIE DE SERVICIU", 1200000, 84, Code(2, 55, 8, 30, 23, 30), D(2002, 1, 1), 35},
  };

  std::vector<std::int64_t> nr;
  for (const DemoEmployee& e : staff) {
    EmployeeInput input = NewEmployeeInput(e.tip);
    input.Depart = e.depart;
    input.Nume = e.nume;
    input.Prenume = e.prenume;
    input.CodNumPers = e.code;
    input.Functie = e.functie;
    input.SalInc = e.salinc;
    input.Timp = e.timp;
    input.Data_Ang = e.hired;
    input.Data_Nas = BirthDateFromCode(e.code).value_or(EmptyDate());
    input.Localitate = e.depart[0] == 'C' ? "BUCURESTI" : "PLOIESTI";
    input.Judet = e.depart[0] == 'C' ? "BUCURESTI" : "PRAHOVA";
    input.Studii = e.salinc >= 6000000 ? "SUPERIOARE" : "MEDII";
    if (std::string_view(e.tip) == "2") {
      input.Ore_Zi = e.timp >= 84 ? 4 : 2;
      input.NORMA = 8;
    }
    nr.push_back(SaveEmployee(session, EmployeeEditMode::kAdd, input, e.tip));
  }
  // A few particular cases.
  auto edit = [&](std::size_t i, std::vector<FieldEdit> edits) {
    edits.push_back({"MARCA", FieldValue(static_cast<std::int64_t>(staff[i].marca))});
    edits.push_back({"CATEGORIE", FieldValue(std::int64_t{1})});
    UpdateGridLine(session, nr[i], edits);
  };
  auto modify = [&](std::size_t i, auto&& change) {
    const std::optional<PersRow> row = FindLine(session, nr[i]);
    EmployeeInput input = EmployeeInputFromRow(*row);
    change(input);
    SaveEmployee(session, EmployeeEditMode::kModify, input, row->TIP, nr[i]);
  };
  // Hourly pay (the electrician) and a pensioner working part-time (the guard).
  modify(13, [](EmployeeInput& in) { in.PlatitOra = true; });
  modify(16, [](EmployeeInput& in) { in.Pensionar = true; in.DomiciliuExt = false; });
  // Main job for the administrator: personal deductions and dependants.
  modify(15, [](EmployeeInput& in) { in.PlatitOra = true; });
  // An invalidity grade II.
  modify(10, [](EmployeeInput& in) { in.Invaliditate = 2; });

  // Dependants: spouses and children.
  auto dependants = [&](std::size_t i, std::vector<DependantInput> list) {
    const DependantsList open = OpenDependantsList(session, nr[i]);
    const std::optional<PersRow> employee = FindLine(session, nr[i]);
    for (const DependantInput& d : list) SaveDependant(session, *employee, d, std::nullopt);
    CloseDependantsList(session, open, prompter);
  };
  dependants(0, {{"POPESCU", "ELENA", Code(2, 60, 2, 14, 40, 101), 0, 0},
                 {"POPESCU", "ANDREEA", Code(2, 90, 6, 1, 40, 102), 1, 0}});
  dependants(6, {{"RADU", "IRINA", Code(2, 79, 5, 5, 23, 103), 0, 0},
                 {"RADU", "MATEI", Code(5, 1, 3, 17, 23, 104), 1, 0},
                 {"RADU", "SARA", Code(6, 2, 11, 9, 23, 105), 1, 1}});
  dependants(9, {{"VASILE", "GABRIEL", Code(1, 95, 4, 22, 23, 106), 1, 0}});
  dependants(15, {{"LUPU", "TEODOR", Code(1, 92, 12, 12, 40, 107), 1, 0}});

  // The month's inputs typed in the grid: bonuses, overtime and night work,
  // piece-work, leave, premiums, exempt sums, advances and withholdings.
  edit(0, {{"SPOR1", FieldValue(20.0)}, {"SPOR3", FieldValue(500000.0)}, {"AVANS", FieldValue(4000000.0)}});
  edit(1, {{"SPOR1", FieldValue(15.0)}, {"SPOR3", FieldValue(300000.0)}, {"AVANS", FieldValue(2500000.0)}});
  edit(2, {{"SPOR1", FieldValue(5.0)}, {"PRIME", FieldValue(1000000.0)}, {"AVANS", FieldValue(1500000.0)}});
  edit(3, {{"SPOR1", FieldValue(5.0)}, {"ZILE_CO", FieldValue(2.0)}, {"AVANS", FieldValue(1000000.0)}});
  edit(4, {{"SPOR1", FieldValue(10.0)}, {"TIMP_SPL", FieldValue(12.0)}, {"TIMP_NOAPTE", FieldValue(16.0)},
           {"SumeExcept", FieldValue(600000.0)}, {"RETINERI", FieldValue(150000.0)}});
  edit(5, {{"SPOR1", FieldValue(20.0)}, {"SPOR2", FieldValue(10.0)}, {"AVANS", FieldValue(2000000.0)}});
  edit(6, {{"SPOR1", FieldValue(10.0)}, {"SPOR2", FieldValue(15.0)}, {"TIMP_SPL", FieldValue(8.0)},
           {"AVANS", FieldValue(1000000.0)}, {"POPRIRI", FieldValue(300000.0)}});
  edit(7, {{"ACORD", FieldValue(std::string("d"))}, {"REALIZAT", FieldValue(4850000.0)},
           {"SPOR2", FieldValue(15.0)}, {"AVANS", FieldValue(1000000.0)}});
  edit(8, {{"ZILE_FP", FieldValue(std::int64_t{5})}, {"SPOR2", FieldValue(10.0)}});
  edit(9, {{"ACORD", FieldValue(std::string("D"))}, {"REALIZAT", FieldValue(4300000.0)},
           {"SPOR1", FieldValue(10.0)}, {"GARANTII", FieldValue(100000.0)}});
  edit(10, {{"SPOR1", FieldValue(15.0)}, {"SPOR2", FieldValue(15.0)}, {"TIMP_NOAPTE", FieldValue(40.0)},
            {"pr_va", FieldValue(1000000.0)}});
  edit(11, {{"SPOR1", FieldValue(10.0)}, {"ALTE_SUME", FieldValue(250000.0)}});
  edit(12, {{"AVANS", FieldValue(500000.0)}});
  edit(13, {{"SPOR2", FieldValue(10.0)}, {"ALTE_RET", FieldValue(50000.0)}});
  edit(14, {{"SumeExcept", FieldValue(1000000.0)}});
  edit(15, {{"PRIME", FieldValue(500000.0)}, {"AVANS", FieldValue(1500000.0)}});
  edit(16, {{"TIMP_NOAPTE", FieldValue(84.0)}});
  edit(17, {{"SPORURI", FieldValue(200000.0)}});
  edit(18, {});
  edit(19, {{"ZILE_CO", FieldValue(3.0)}});
  // A medical leave already counted: three days paid by the company.
  UpdateGridLine(session, nr[11], {{"ZILE_CM", FieldValue(std::int64_t{3})}, {"TIMP", FieldValue(144.0)},
                                   {"CM1L", FieldValue(500000.0)}});

  RecalculateCompany(session, progress);
  tx.Commit();
  return static_cast<int>(staff.size());
}

}  // namespace traveno::personnel
