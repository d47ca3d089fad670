#include "declarations/unemployment_files.h"

#include <cstdio>
#include <vector>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/text.h"
#include "declarations/file_fields.h"
#include "declarations/fixed_width_line.h"
#include "declarations/monthly_table_fields.h"

namespace traveno::declarations {
namespace {

std::string PersonName(const UnemploymentRow& row) { return row.nume + " " + row.prenume; }

// The rows of the A1 file, in list order.
std::vector<const UnemploymentRow*> FilePersons(const UnemploymentDeclaration& declaration) {
  std::vector<const UnemploymentRow*> persons;
  for (const UnemploymentRow& row : declaration.rows) {
    if (row.in_file) persons.push_back(&row);
  }
  return persons;
}

// "ddmmyyyy"; blanks for the empty date.
std::string DateDigits(Date date) {
  if (date.IsEmpty()) return std::string(8, ' ');
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d%04d", date.day(), date.month(), date.year());
  return text;
}

Date RequirePayDate(const UnemploymentDeclaration& declaration) {
  const std::optional<Date> date = PayDate(declaration.month, declaration.zi_lichidare);
  if (!date) {
    throw Error("Ziua lichidarii " + FloatToText(declaration.zi_lichidare) +
                " nu exista in luna urmatoare !");
  }
  return *date;
}

std::string A1Line(const UnemploymentDeclaration& declaration, const DeclarationEmployer& employer,
                   const UnemploymentRow& row) {
  const bool permanent = Trim(row.tip) == "1";
  FixedWidthLine line;
  line.Number(declaration.month.year(), 4).Number(declaration.month.month(), 2);
  if (employer.legal_person()) {
    line.Right(DigitsOnly(employer.fiscal_code), 10).Right("0", 13);
  } else {
    line.Right("0", 10).Right(DigitsOnly(employer.fiscal_code), 13);
  }
  line.Left(UpperTrim(row.nume) + " " + UpperTrim(row.prenume), 30)
      .Right(DigitsOnly(row.codnumpers), 13)
      .Number(permanent ? 1 : 0, 1)
      .Number(permanent ? 0 : 1, 1)
      .Number(row.baza_somaj, 9)
      .Number(row.somaj, 9)
      .Number(row.paid, 9)
      .Number(row.unpaid, 9);
  return line.text();
}

void FillA1Record(DbfRecord& record, const UnemploymentDeclaration& declaration,
                  const DeclarationEmployer& employer, const UnemploymentRow& row) {
  const bool permanent = Trim(row.tip) == "1";
  record.SetNumber("AN", declaration.month.year()).SetNumber("LN", declaration.month.month());
  if (employer.legal_person()) {
    record.SetNumber("CF", DigitsAsNumber(employer.fiscal_code));
  } else {
    record.SetNumber("CN", DigitsAsNumber(employer.fiscal_code));
  }
  record.SetText("NUME", PersonName(row))
      .SetNumber("CNP", DigitsAsNumber(row.codnumpers))
      .SetNumber("RM", permanent ? 1 : 0)
      .SetNumber("CV", permanent ? 0 : 1)
      .SetNumber("SBL", static_cast<double>(row.baza_somaj))
      .SetNumber("CID", static_cast<double>(row.somaj))
      .SetNumber("CIV", static_cast<double>(row.paid))
      .SetNumber("CIN", static_cast<double>(row.unpaid));
}

std::string A2Line(const UnemploymentDeclaration& declaration, const DeclarationEmployer& employer,
                   const DeclarationHeader& header) {
  const FirmeRow& firm = employer.row;
  const RegComParts reg_com = RegComForFiles(employer.reg_com);
  const UnemploymentFigures& f = declaration.stored;
  const UnemploymentSummary& s = declaration.summary;
  FixedWidthLine line;
  line.Right(header.number, 10)
      .Raw(DateDigits(header.date))
      .Number(declaration.month.year(), 4)
      .Number(declaration.month.month(), 2)
      .Raw(DateDigits(RequirePayDate(declaration)))
      .Left(UpperTrim(firm.Denumire), 60);
  if (employer.legal_person()) {
    line.Right(DigitsOnly(employer.fiscal_code), 10);
  } else {
    line.Blank(10);
  }
  line.Left(reg_com.county, 3)
      .Right(reg_com.number, 5)
      .Right(reg_com.year, 4)
      .Right(FormatNumber(declaration.NRM, NumberMask::kTwoDecimals), 6)
      .Number(declaration.FS, 13)
      .Number(f.SDAng, 10)
      .Number(f.SVAng, 10)
      .Number(s.employer_unpaid, 10)
      .Number(f.DedSomaj, 10)
      .Number(f.SDAsig, 10)
      .Number(f.SVAsig, 10)
      .Number(s.insured_unpaid, 10)
      .Number(s.total_due, 10)
      .Number(s.total_paid, 10)
      .Number(s.total_unpaid, 10)
      .Number(s.earlier_total, 13)
      .Number(f.RestAn, 13)
      .Number(f.RestAs, 13)
      .Number(f.Penal, 10)
      .Number(f.Maj, 10)
      .Number(s.grand_unpaid, 13)
      .Left(firm.Banca1, 30)
      .Left(firm.Filiala1, 30)
      .Left(firm.Cont1, 30)
      .Left(firm.Banca2, 30)
      .Left(firm.Filiala2, 30)
      .Left(firm.Cont2, 30)
      .Left(header.signer.functie, 30)
      .Left(header.signer.nume + " " + header.signer.prenume, 30)
      .Raw(DateDigits(header.date))
      .Number(1, 1);
  return line.text();
}

void FillA2Record(DbfRecord& record, const UnemploymentDeclaration& declaration,
                  const DeclarationEmployer& employer, const DeclarationHeader& header) {
  const FirmeRow& firm = employer.row;
  const RegComParts reg_com = RegComForFiles(employer.reg_com);
  const UnemploymentFigures& f = declaration.stored;
  const UnemploymentSummary& s = declaration.summary;
  record.SetText("NRI", header.number)
      .SetDate("DATAI", header.date)
      .SetNumber("AN", declaration.month.year())
      .SetNumber("LN", declaration.month.month())
      .SetDate("DATAL", RequirePayDate(declaration))
      .SetText("DEN", firm.Denumire)
      .SetNumber("CF", employer.legal_person() ? DigitsAsNumber(employer.fiscal_code) : 0)
      .SetText("RJ", reg_com.county)
      .SetNumber("RN", DigitsAsNumber(reg_com.number))
      .SetNumber("RA", DigitsAsNumber(reg_com.year))
      .SetNumber("NRA", static_cast<double>(declaration.NRM))
      .SetNumber("FS", static_cast<double>(declaration.FS))
      .SetNumber("TCAD", f.SDAng)
      .SetNumber("TCAV", f.SVAng)
      .SetNumber("TCAN", s.employer_unpaid)
      .SetNumber("DED", f.DedSomaj)
      .SetNumber("TCID", f.SDAsig)
      .SetNumber("TCIV", f.SVAsig)
      .SetNumber("TCIN", s.insured_unpaid)
      .SetNumber("TOTD", s.total_due)
      .SetNumber("TOTV", s.total_paid)
      .SetNumber("TOTN", s.total_unpaid)
      .SetNumber("OBL", s.earlier_total)
      .SetNumber("OBLNA", f.RestAn)
      .SetNumber("OBLNI", f.RestAs)
      .SetNumber("MAJ", f.Penal)
      .SetNumber("PEN", f.Maj)
      .SetNumber("TOTOBL", s.grand_unpaid)
      .SetText("B1", firm.Banca1)
      .SetText("F1", firm.Filiala1)
      .SetText("C1", firm.Cont1)
      .SetText("B2", firm.Banca2)
      .SetText("F2", firm.Filiala2)
      .SetText("C2", firm.Cont2)
      .SetText("FUNCA", header.signer.functie)
      .SetText("NUMEA", header.signer.nume + " " + header.signer.prenume)
      .SetDate("DATAD", header.date)
      .SetNumber("SUP", 1);
}

}  // namespace

FileOutcome WriteA1Txt(const std::filesystem::path& path,
                       const UnemploymentDeclaration& declaration, Prompter& prompter) {
  const DeclarationEmployer& employer = RequireEmployer(declaration.employer);
  const std::vector<const UnemploymentRow*> persons = FilePersons(declaration);
  return WritePersonLines(
      path, persons.size(),
      [&](std::size_t i) { return A1Line(declaration, employer, *persons[i]); },
      [&](std::size_t i) { return PersonName(*persons[i]); }, kA1TxtFailed, prompter);
}

FileOutcome WriteA1Dbf(const std::filesystem::path& path,
                       const UnemploymentDeclaration& declaration, Date today, Prompter& prompter) {
  const DeclarationEmployer& employer = RequireEmployer(declaration.employer);
  const std::vector<const UnemploymentRow*> persons = FilePersons(declaration);
  return WritePersonRecords(
      path, kA1DbfSpec, today, persons.size(),
      [&](std::size_t i, DbfRecord& record) {
        FillA1Record(record, declaration, employer, *persons[i]);
      },
      [&](std::size_t i) { return PersonName(*persons[i]); }, kA1DbfFailed, prompter);
}

FileOutcome WriteA2Txt(const std::filesystem::path& path,
                       const UnemploymentDeclaration& declaration, const DeclarationHeader& header,
                       Prompter& prompter) {
  const DeclarationEmployer& employer = RequireEmployer(declaration.employer);
  return WriteEmployerLine(
      path, [&] { return A2Line(declaration, employer, header); }, kA2TxtFailed, prompter);
}

FileOutcome WriteA2Dbf(const std::filesystem::path& path,
                       const UnemploymentDeclaration& declaration, const DeclarationHeader& header,
                       Date today, Prompter& prompter) {
  const DeclarationEmployer& employer = RequireEmployer(declaration.employer);
  return WriteEmployerRecord(
      path, kA2DbfSpec, today,
      [&](DbfRecord& record) { FillA2Record(record, declaration, employer, header); }, kA2DbfFailed,
      prompter);
}

std::string UnemploymentFileName(UnemploymentFile file, FilingForm form) {
  return std::string(file == UnemploymentFile::kA1 ? "A1" : "A2") +
         (form == FilingForm::kTxt ? ".txt" : ".dbf");
}

FileOutcome WriteUnemploymentFile(UnemploymentFile file, FilingForm form,
                                  const std::filesystem::path& path,
                                  const UnemploymentDeclaration& declaration,
                                  const DeclarationHeader& header, Date today, Prompter& prompter) {
  if (file == UnemploymentFile::kA1) {
    return form == FilingForm::kTxt ? WriteA1Txt(path, declaration, prompter)
                                    : WriteA1Dbf(path, declaration, today, prompter);
  }
  return form == FilingForm::kTxt ? WriteA2Txt(path, declaration, header, prompter)
                                  : WriteA2Dbf(path, declaration, header, today, prompter);
}

}  // namespace traveno::declarations
