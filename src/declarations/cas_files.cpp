#include "declarations/cas_files.h"

#include <vector>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/text.h"
#include "declarations/file_fields.h"
#include "declarations/fixed_width_line.h"
#include "declarations/monthly_table_fields.h"

namespace traveno::declarations {
namespace {

std::string PersonName(const CasPerson& person) { return person.nume + " " + person.prenume; }

std::string A11Line(const CasDeclaration& declaration, const DeclarationEmployer& employer,
                    const CasPerson& p) {
  const RegComParts reg_com = RegComForFiles(employer.reg_com);
  FixedWidthLine line;
  line.Number(declaration.month.year(), 4)
      .Number(declaration.month.month(), 2)
      .Right(employer.fiscal_code, 10)
      .Left(reg_com.county, 3)
      .Right(reg_com.number, 5)
      .Right(reg_com.year, 4)
      .Left(UpperTrim(p.nume) + " " + UpperTrim(p.prenume), 29)
      .Right(p.codnumpers, 13)
      .Number(p.flags.cm, 1)
      .Number(p.flags.cv, 1)
      .Number(p.flags.pe, 1)
      .Number(p.flags.som, 1)
      .Number(p.total_zile, 2)
      .Number(p.zile_norm, 2)
      .Number(0, 2)
      .Number(0, 2)
      .Number(p.zile_prest, 2)
      .Number(p.baza_cas, 9)
      .Number(p.baza_cas, 9)
      .Number(0, 9)
      .Number(0, 9)
      .Number(p.pensie, 9)
      .Number(p.total_prest, 9)
      .Number(p.bass, 9);
  if (employer.legal_person()) {
    line.Number(0, 13);
  } else {
    line.Right(employer.fiscal_code, 13);
  }
  line.Raw(std::to_string(p.norma));
  return line.text();
}

void FillA11Record(DbfRecord& record, const CasDeclaration& declaration,
                   const DeclarationEmployer& employer, const CasPerson& p) {
  const RegComParts reg_com = RegComForFiles(employer.reg_com);
  const double employer_code = DigitsAsNumber(employer.fiscal_code);
  record.SetNumber("AN", declaration.month.year())
      .SetNumber("LN", declaration.month.month())
      .SetNumber("CF", employer.legal_person() ? employer_code : 0)
      .SetText("RJ", reg_com.county)
      .SetNumber("RN", DigitsAsNumber(reg_com.number))
      .SetNumber("RA", DigitsAsNumber(reg_com.year))
      .SetText("NUME", PersonName(p))
      .SetNumber("CNP", DigitsAsNumber(p.codnumpers))
      .SetNumber("CM", p.flags.cm)
      .SetNumber("CV", p.flags.cv)
      .SetNumber("PE", p.flags.pe)
      .SetNumber("SOM", p.flags.som)
      .SetNumber("TT", static_cast<double>(p.total_zile))
      .SetNumber("NN", static_cast<double>(p.zile_norm))
      .SetNumber("DD", 0)
      .SetNumber("SS", 0)
      .SetNumber("PP", static_cast<double>(p.zile_prest))
      .SetNumber("TV", static_cast<double>(p.baza_cas))
      .SetNumber("TVN", static_cast<double>(p.baza_cas))
      .SetNumber("TVD", 0)
      .SetNumber("TVS", 0)
      .SetNumber("CASAT", static_cast<double>(p.pensie))
      .SetNumber("CASTOT", static_cast<double>(p.total_prest))
      .SetNumber("BASS", static_cast<double>(p.bass))
      .SetNumber("CNPA", employer.legal_person() ? 0 : employer_code)
      .SetNumber("NORMA", p.norma);
}

std::string A12Line(const CasDeclaration& declaration, const DeclarationEmployer& employer,
                    const CasEmployerExtras& extras) {
  const FirmeRow& firm = employer.row;
  const RegComParts reg_com = RegComForFiles(employer.reg_com);
  const Date next = MonthAfter(declaration.month);
  const CasTotals& t = declaration.totals;
  FixedWidthLine line('.');
  line.Number(declaration.month.year(), 4)
      .Number(declaration.month.month(), 2)
      .Number(declaration.zi_lichidare, 2)
      .Number(next.month(), 2)
      .Number(next.year(), 4)
      .Left(UpperTrim(firm.Denumire), 29);
  if (employer.legal_person()) {
    line.Right(employer.fiscal_code, 10);
  } else {
    line.Blank(10);
  }
  line.Left(reg_com.county, 3)
      .Right(reg_com.number, 5)
      .Right(reg_com.year, 4)
      .Right(FixedDecimals(t.NRM, 2, '.'), 8);
  line.Number(t.SB, 13)
      .Number(t.SB, 13)
      .Number(0, 13)
      .Number(0, 13)
      .Number(t.SP, 13)
      .Number(t.DueByEmployer(), 13)
      .Number(t.SS, 13)
      .Number(t.HC, 13)
      .Number(t.ToTransfer(), 13)
      .Number(extras.nrf, 3)
      .Left(firm.Banca1, 16)
      .Left(firm.Filiala1, 16)
      .Left(firm.Cont1, 35)
      .Left(firm.Banca2, 16)
      .Left(firm.Filiala2, 16)
      .Left(firm.Cont2, 35)
      .Left(firm.Banca3, 16)
      .Left(firm.Filiala3, 16)
      .Left(firm.Cont3, 35)
      .Blank(16)
      .Blank(16)
      .Blank(35);
  if (employer.legal_person()) {
    line.Number(0, 13);
  } else {
    line.Right(employer.fiscal_code, 13);
  }
  line.Number(t.AC, 13)
      .Right(firm.Localitate, 21)
      .Right(firm.Strada, 21)
      .Right(firm.Numar, 7)
      .Right(firm.Bloc, 5)
      .Right(firm.Scara, 4)
      .Right(firm.Etaj, 2)
      .Right(firm.Ap, 4)
      .Right(DigitsOnly(firm.Telefon), 10)
      .Left(extras.cod_judet, 3)
      .Right(DigitsOnly(firm.Sector), 2)
      .Right(firm.EMail, 45);
  return line.text();
}

void FillA12Record(DbfRecord& record, const CasDeclaration& declaration,
                   const DeclarationEmployer& employer, const CasEmployerExtras& extras) {
  const FirmeRow& firm = employer.row;
  const RegComParts reg_com = RegComForFiles(employer.reg_com);
  const Date next = MonthAfter(declaration.month);
  const CasTotals& t = declaration.totals;
  const double employer_code = DigitsAsNumber(employer.fiscal_code);
  record.SetNumber("AN", declaration.month.year())
      .SetNumber("LN", declaration.month.month())
      .SetNumber("DCZZ", declaration.zi_lichidare)
      .SetNumber("DCLL", next.month())
      .SetNumber("DCAA", next.year())
      .SetText("DEN", UpperTrim(firm.Denumire))
      .SetNumber("CF", employer.legal_person() ? employer_code : 0)
      .SetText("RJ", reg_com.county)
      .SetNumber("RN", DigitsAsNumber(reg_com.number))
      .SetNumber("RA", DigitsAsNumber(reg_com.year))
      .SetNumber("NRM", static_cast<double>(t.NRM))
      .SetNumber("FS", static_cast<double>(t.SB))
      .SetNumber("FSN", static_cast<double>(t.SB))
      .SetNumber("FSD", 0)
      .SetNumber("FSS", 0)
      .SetNumber("CASS", static_cast<double>(t.SP))
      .SetNumber("CASAN", static_cast<double>(t.DueByEmployer()))
      .SetNumber("BASS", static_cast<double>(t.SS))
      .SetNumber("CASS145", static_cast<double>(t.HC))
      .SetNumber("CASVIR", static_cast<double>(t.ToTransfer()))
      .SetNumber("NRF", extras.nrf)
      .SetText("B1", firm.Banca1)
      .SetText("F1", firm.Filiala1)
      .SetText("C1", firm.Cont1)
      .SetText("B2", firm.Banca2)
      .SetText("F2", firm.Filiala2)
      .SetText("C2", firm.Cont2)
      .SetText("B3", firm.Banca3)
      .SetText("F3", firm.Filiala3)
      .SetText("C3", firm.Cont3)
      .SetNumber("CNPA", employer.legal_person() ? 0 : employer_code)
      .SetNumber("NRIG", 0)
      .SetNumber("CAAMBP", static_cast<double>(t.AC))
      .SetText("A_LOCA", firm.Localitate)
      .SetText("A_STR", firm.Strada)
      .SetText("A_NR", firm.Numar)
      .SetText("A_BL", firm.Bloc)
      .SetText("A_SC", firm.Scara)
      .SetText("A_ET", firm.Etaj)
      .SetText("A_AP", firm.Ap)
      .SetNumber("TELEFON", DigitsAsNumber(firm.Telefon))
      .SetText("A_JUD", extras.cod_judet)
      .SetNumber("A_SECT", DigitsAsNumber(firm.Sector))
      .SetText("E_MAIL", firm.EMail);
}

}  // namespace

FileOutcome WriteA11Txt(const std::filesystem::path& path, const CasDeclaration& declaration,
                        Prompter& prompter) {
  const DeclarationEmployer& employer = RequireEmployer(declaration.employer);
  const auto& persons = declaration.persons;
  return WritePersonLines(
      path, persons.size(),
      [&](std::size_t i) { return A11Line(declaration, employer, persons[i]); },
      [&](std::size_t i) { return PersonName(persons[i]); }, kA11TxtFailed, prompter);
}

FileOutcome WriteA11Dbf(const std::filesystem::path& path, const CasDeclaration& declaration,
                        Date today, Prompter& prompter) {
  const DeclarationEmployer& employer = RequireEmployer(declaration.employer);
  const auto& persons = declaration.persons;
  return WritePersonRecords(
      path, kA11DbfSpec, today, persons.size(),
      [&](std::size_t i, DbfRecord& record) {
        FillA11Record(record, declaration, employer, persons[i]);
      },
      [&](std::size_t i) { return PersonName(persons[i]); }, kA11DbfFailed, prompter);
}

FileOutcome WriteA12Txt(const std::filesystem::path& path, const CasDeclaration& declaration,
                        const CasEmployerExtras& extras, Prompter& prompter) {
  const DeclarationEmployer& employer = RequireEmployer(declaration.employer);
  return WriteEmployerLine(
      path, [&] { return A12Line(declaration, employer, extras); }, kA12TxtFailed, prompter);
}

FileOutcome WriteA12Dbf(const std::filesystem::path& path, const CasDeclaration& declaration,
                        const CasEmployerExtras& extras, Date today, Prompter& prompter) {
  const DeclarationEmployer& employer = RequireEmployer(declaration.employer);
  return WriteEmployerRecord(
      path, kA12DbfSpec, today,
      [&](DbfRecord& record) { FillA12Record(record, declaration, employer, extras); },
      kA12DbfFailed, prompter);
}

std::string CasFileName(CasFile file, FilingForm form) {
  return std::string(file == CasFile::kA11 ? "A11" : "A12") +
         (form == FilingForm::kTxt ? ".txt" : ".dbf");
}

FileOutcome WriteCasFile(CasFile file, FilingForm form, const std::filesystem::path& path,
                         const CasDeclaration& declaration, const CasEmployerExtras& extras,
                         Date today, Prompter& prompter) {
  if (file == CasFile::kA11) {
    return form == FilingForm::kTxt ? WriteA11Txt(path, declaration, prompter)
                                    : WriteA11Dbf(path, declaration, today, prompter);
  }
  return form == FilingForm::kTxt ? WriteA12Txt(path, declaration, extras, prompter)
                                  : WriteA12Dbf(path, declaration, extras, today, prompter);
}

}  // namespace traveno::declarations
