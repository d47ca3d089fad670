#include "personnel/employees.h"

#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "params/departments.h"
#include "params/unit_of_work.h"
#include "personnel/coefficients.h"
#include "personnel/dependants.h"
#include "personnel/grid_line.h"
#include "personnel/personal_code.h"

namespace traveno::personnel {
namespace {

std::string Upper(std::string_view text, std::size_t width) {
  return Truncate(ToUpperLatin(Trim(text)), width);
}
std::string Plain(std::string_view text, std::size_t width) { return Truncate(text, width); }
std::string Flag(bool ticked) { return ticked ? "1" : "0"; }

// Writes the window's fields into the row, by kind.
void WriteInput(PersRow& row, const EmployeeInput& in, bool partial) {
  // A department code is never cut: a longer one is refused by its rule.
  row.Depart = UpperTrim(in.Depart);
  row.NUME = Upper(in.Nume, 20);
  row.PRENUME = Upper(in.Prenume, 30);
  row.CODNUMPERS = Plain(Trim(in.CodNumPers), 15);
  row.FUNCTIE = Plain(in.Functie, 50);
  row.NORMA = in.NORMA;
  row.SALINC = in.SalInc;
  row.TIMP = in.Timp;
  if (partial) row.Ore_Zi = in.Ore_Zi;
  row.STUDII = Plain(in.Studii, 50);
  row.DATA_ANG = in.Data_Ang;
  row.DATA_NAS = in.Data_Nas;
  row.DATA_LICH = in.Data_Lich;
  row.Judet = Upper(in.Judet, 16);
  row.LOCALITATE = Upper(in.Localitate, 20);
  row.STRADA = Upper(in.Strada, 20);
  row.NUMAR = Upper(in.Numar, 5);
  row.CODPOSTAL = Upper(in.CodPostal, 5);
  row.BLOC = Upper(in.Bloc, 5);
  row.SCARA = Upper(in.Scara, 5);
  row.ETAJ = Upper(in.Etaj, 5);
  row.AP = Upper(in.Ap, 5);
  row.SECTOR = Upper(in.Sector, 5);
  row.TELEFON = Plain(in.Telefon, 50);
  row.EMAIL = Plain(in.Email, 50);
  row.ALTE_DATE = Plain(in.Alte_Date, 50);
  // The invalidity of a partial-contract employee counts only for a main job.
  if (!partial || in.PlatitOra) row.INVALIDITATE = in.Invaliditate;
  row.pr_va = in.Pr_va;
  row.fisa_rectif = Flag(in.FisaRectif);
  row.fisa_regul = partial ? std::to_string(in.TipVenit) : Flag(in.FisaRegul);
  row.Pensionar = in.Pensionar ? 1 : 0;
  row.ALT_VENIT = in.AltVenit ? 1 : 0;
  row.Domiciliu_ext = Flag(in.DomiciliuExt);
  row.BifaSom = partial || in.BifaSom ? 1 : 0;
  row.PlatitOra = in.PlatitOra ? 1 : 0;
}

void SavePhoto(params::Session& session, int iid, const EmployeeInput& input) {
  // A photo that cannot be written is left out; the employee stays saved.
  try {
    Database& db = session.db();
    if (input.remove_photo && !input.photo) db.Run("DELETE FROM firma.Poze WHERE IID = ?", iid);
    if (!input.photo) return;
    const auto existing = db.QueryInt("SELECT Nr FROM firma.Poze WHERE IID = ? LIMIT 1", iid);
    if (existing) {
      db.Run("UPDATE firma.Poze SET Poza = ? WHERE Nr = ?", *input.photo, *existing);
    } else {
      db.Run("INSERT INTO firma.Poze (IID, Poza) VALUES (?, ?)", iid, *input.photo);
    }
  } catch (const StoreError&) {
  }
}

// A new or changed department must be one of the month's (an empty code
// leaves the line to the department check of the pay grid).
void RequireDepartment(params::Session& session, const std::optional<PersRow>& stored,
                       const std::string& code) {
  if (code.empty() || (stored && UpperTrim(stored->Depart) == code)) return;
  RequireValue("campul Depart", RuleOf<PersRow>(*FindField<PersRow>("Depart")), FieldValue(code));
  if (!params::IsDepartmentOfMonth(session, code)) {
    throw ValueRefused(params::UnknownDepartment(code));
  }
}

std::int64_t Save(params::Session& session, EmployeeEditMode mode, const EmployeeInput& input,
                  std::string_view tip, std::optional<std::int64_t> nr,
                  std::optional<RehireIdentity> rehire) {
  Database& db = session.db();
  std::optional<PersRow> stored;
  std::optional<PersRow> result;
  {
    // Read under the write lock, so that the row saved is built on the row
    // as it is now.
    params::SessionWork work(session, params::WorkWrites::kCompanyFile);
    RequireOpenMonth(session);
    const engine::GeneralParameters& general = session.parameters().general;
    if (mode == EmployeeEditMode::kModify || mode == EmployeeEditMode::kDelete) {
      if (nr) stored = FindLine(session, *nr);
      if (!stored) throw Error(kLineMissing);
    }
    if (mode == EmployeeEditMode::kDelete) {
      DeleteDependants(session, stored->IID);
      db.Run("DELETE FROM firma.Pers WHERE Nr = ?", stored->Nr);
      work.Commit();
    } else {
      PersRow row;
      if (stored) {
        row = *stored;
      } else {
        row.TIP = std::string(tip);
        row.ProcImpo = 100;
      }
      row.LUNA = session.working_month();
      const bool partial = row.TIP == "2";
      WriteInput(row, input, partial);
      RequireDepartment(session, stored, row.Depart);
      const PersRow before = stored.value_or(PersRow{});
      RequireChangedValues(before, row);
      RowWriter<PersRow> writer(db, "Pers");
      if (!stored) row.Nr = writer.Insert(row);

      if (mode == EmployeeEditMode::kRehire) {
        row.IID = rehire->IID;
        row.CATEGORIE = rehire->CATEGORIE;
        row.MARCA = rehire->MARCA;
      } else if (mode == EmployeeEditMode::kAdd) {
        row.IID = static_cast<int>(row.Nr);
      }
      const bool no_deductions = partial && row.PlatitOra == 0;
      double total = OwnCoefficient(row, general) + DependantsSumOf(session, row);
      if (mode == EmployeeEditMode::kAdd && no_deductions) total = 0;
      if (mode == EmployeeEditMode::kModify && no_deductions) {
        DeleteDependants(session, row.IID);
        total = 0;
      }
      if (mode == EmployeeEditMode::kRehire) {
        if (!partial) row.Ore_Zi = 0;
        if (partial) total = row.PlatitOra == 1 ? 1 : 0;
      }
      row.CoefInd = total;
      row.CoefInd1 = total;

      SavePhoto(session, row.IID, input);
      MonthEngine month_engine(session);
      month_engine.payroll().CalculSalariu(row);
      RequireChangedValues(before, row);
      writer.Update(row);
      work.Commit();
      result = row;
    }
  }
  if (stored) engine::RemoveRowFromTotals(session.totals(), *stored, session.parameters());
  if (result) engine::AddRowToTotals(session.totals(), *result, session.parameters());
  session.funds() = engine::ComputeCompanyFunds(session.totals(), session.parameters());
  return result ? result->Nr : stored->Nr;
}

}  // namespace

EmployeeInput NewEmployeeInput(std::string_view tip) {
  EmployeeInput input;
  if (tip == "2") {
    // "Se retine Somaj de la angajat" and "Se retine CIAS " start ticked.
    input.DomiciliuExt = true;
    input.AltVenit = true;
  }
  return input;
}

EmployeeInput EmployeeInputFromRow(const PersRow& row) {
  EmployeeInput in;
  in.Depart = row.Depart;
  in.Nume = row.NUME;
  in.Prenume = row.PRENUME;
  in.CodNumPers = row.CODNUMPERS;
  in.Functie = row.FUNCTIE;
  in.NORMA = row.NORMA;
  in.SalInc = row.SALINC;
  in.Timp = row.TIMP;
  in.Ore_Zi = row.Ore_Zi;
  in.Studii = row.STUDII;
  in.Data_Ang = row.DATA_ANG;
  in.Data_Nas = row.DATA_NAS;
  in.Data_Lich = row.DATA_LICH;
  in.Judet = row.Judet;
  in.Localitate = row.LOCALITATE;
  in.Strada = row.STRADA;
  in.Numar = row.NUMAR;
  in.CodPostal = row.CODPOSTAL;
  in.Bloc = row.BLOC;
  in.Scara = row.SCARA;
  in.Etaj = row.ETAJ;
  in.Ap = row.AP;
  in.Sector = row.SECTOR;
  in.Telefon = row.TELEFON;
  in.Email = row.EMAIL;
  in.Alte_Date = row.ALTE_DATE;
  in.Invaliditate = row.INVALIDITATE;
  in.Pr_va = row.pr_va;
  in.TipVenit = row.fisa_regul.size() == 1 && row.fisa_regul[0] >= '0' && row.fisa_regul[0] <= '7'
                    ? row.fisa_regul[0] - '0'
                    : 0;
  in.FisaRectif = row.fisa_rectif != "0";
  in.FisaRegul = row.fisa_regul != "0";
  in.DomiciliuExt = row.Domiciliu_ext != "0";
  in.AltVenit = row.ALT_VENIT != 0;
  in.BifaSom = row.BifaSom != 0;
  in.PlatitOra = row.PlatitOra == 1;
  in.Pensionar = row.Pensionar == 1;
  return in;
}

EmployeeInput RehireInputFromRow(const PersRow& former) {
  EmployeeInput in = EmployeeInputFromRow(former);
  in.Timp = 0;
  in.Ore_Zi = 1;
  in.Data_Ang = EmptyDate();
  in.Data_Lich = EmptyDate();
  in.FisaRectif = false;
  in.FisaRegul = false;
  in.PlatitOra = false;
  return in;
}

RehireIdentity RehireIdentityOf(const PersRow& former) {
  return {former.IID, former.CATEGORIE, former.MARCA};
}

std::optional<EmployeeRefusal> ValidateEmployee(const EmployeeInput& input, std::string_view tip,
                                                Date working_month) {
  if (Trim(input.Nume).empty()) return EmployeeRefusal{kNameMissing, "Nume"};
  if (Trim(input.Prenume).empty()) return EmployeeRefusal{kFirstNameMissing, "Prenume"};
  if (tip == "2" && !(input.Ore_Zi > 0)) return EmployeeRefusal{kBadHoursPerDay, "Ore_Zi"};
  if (!input.Data_Lich.IsEmpty() && input.Data_Lich < working_month) {
    return EmployeeRefusal{kLeavingBeforeMonth, "Data_Lich"};
  }
  // Every field as it would be stored, against its rule.
  PersRow row;
  row.TIP = std::string(tip);
  WriteInput(row, input, tip == "2");
  row.INVALIDITATE = input.Invaliditate;
  const PersRow blank;
  const auto fields = FieldsOf<PersRow>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldValue value = GetField(row, i);
    if (value == GetField(blank, i)) continue;
    const std::string refusal =
        RefusalOf(std::string("campul ") + fields[i].name, RuleOf<PersRow>(i), value);
    if (!refusal.empty()) return EmployeeRefusal{refusal, fields[i].name};
  }
  return std::nullopt;
}

std::optional<std::string> LeavingDateWarning(const params::Session& session, Date leaving) {
  if (session.last_month() != session.working_month() && !leaving.IsEmpty() &&
      FirstOfMonth(leaving) == session.working_month()) {
    return std::string(kStillEmployedLater);
  }
  return std::nullopt;
}

bool ConfirmEmployee(params::Session& session, EmployeeEditMode mode, const EmployeeInput& input,
                     std::string_view tip, Prompter& prompter) {
  if (mode == EmployeeEditMode::kDelete) return true;
  const auto refusal = ValidateEmployee(input, tip, session.working_month());
  if (refusal) prompter.Message(MessageKind::kWarning, refusal->message);
  if (session.working_month() != session.last_month()) {
    prompter.Message(MessageKind::kWarning, kNotLastMonthEmployee);
  }
  if (!CheckPersonalCode(input.CodNumPers).passed) {
    prompter.Message(MessageKind::kWarning, kBadEmployeeCode);
  }
  return !refusal;
}

std::int64_t SaveEmployee(params::Session& session, EmployeeEditMode mode,
                          const EmployeeInput& input, std::string_view tip,
                          std::optional<std::int64_t> nr, std::optional<RehireIdentity> rehire) {
  RequireOpenMonth(session);
  if (mode != EmployeeEditMode::kRehire) return Save(session, mode, input, tip, nr, rehire);
  try {
    if (!rehire) throw Error(kRehireFailed);
    return Save(session, mode, input, tip, nr, rehire);
  } catch (const ValueRefused&) {
    throw;  // the user can correct the value: its own message tells how
  } catch (const std::exception&) {
    throw Error(kRehireFailed);
  }
}

int DeleteDependants(params::Session& session, int iid) {
  params::UnitOfWork work(session.db(), params::WorkWrites::kCompanyFile);
  session.db().Run("DELETE FROM firma.Pint WHERE Luna = ? AND IID = ?", session.working_month(),
                   iid);
  const int deleted = session.db().Changes();
  work.Commit();
  return deleted;
}

std::optional<Blob> LoadEmployeePhoto(params::Session& session, int iid) {
  Statement statement =
      session.db().Prepare("SELECT Poza FROM firma.Poze WHERE IID = ? ORDER BY Nr LIMIT 1");
  statement.Bind(1, iid);
  if (!statement.Step() || statement.IsNull(0)) return std::nullopt;
  return statement.BlobAt(0);
}

}  // namespace traveno::personnel
