// The records of the yearly e-filing files, field by field as the tax
// authority's layouts give them: the text lines (UTF-8, without their line
// end) and the dBASE records of both generations.
#pragma once

#include <string>

#include "core/store/records.h"
#include "declarations/dbf_table.h"
#include "declarations/year_source.h"
#include "declarations/yearly_persons.h"

namespace traveno::declarations {

// Text lines, 2002 and later.
std::string RepLine(const FirmeRow& company);
std::string Ff1Line(const YearlyPerson& person, const YearParameters& parameters, int year);
std::string Ff2Line(const YearlyPerson& person, const YearParameters& parameters);
std::string DedLine(const YearlyDependant& dependant);

// Text lines before 2002.
std::string RepFiscLine(const FirmeRow& company);
std::string FfLineBefore2002(const YearlyPerson& person, const YearParameters& parameters,
                             bool permanent);
std::string DeduceriLine(const YearlyDependant& dependant);

// dBASE records, 2002 and later. Throw Error when a value does not fit its field.
void FillRep(DbfRecord& record, const FirmeRow& company);
void FillFf1(DbfRecord& record, const YearlyPerson& person, const YearParameters& parameters,
             int year);
void FillFf2(DbfRecord& record, const YearlyPerson& person, const YearParameters& parameters);
void FillDed(DbfRecord& record, const YearlyDependant& dependant);

}  // namespace traveno::declarations
