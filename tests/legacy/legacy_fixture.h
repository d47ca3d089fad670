// A folder of Paradox tables as an earlier version left it: the register
// (Firme.DB, Para.db, Impo.db, Impo_an.db) and company folders whose employee
// table has the layout before a given upgrade.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/store/schema.h"
#include "tests/support/paradox_writer.h"

namespace traveno::testing {

inline Date D(int y, int m, int d = 1) { return Date::FromYmd(y, m, d); }

// Values by field name; the fields a layout lacks are left out.
using NamedValues = std::map<std::string, PxValue>;

inline PxRecord RecordOf(const std::vector<PxField>& fields, const NamedValues& values) {
  PxRecord record(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (auto it = values.find(fields[i].name); it != values.end()) record[i] = it->second;
  }
  return record;
}

inline PxValue N(double v) { return v; }
inline PxValue I(std::int64_t v) { return v; }
inline PxValue T(std::string v) { return v; }

inline Blob Picture(std::size_t size, unsigned char seed) {
  Blob picture(size);
  for (std::size_t i = 0; i < size; ++i) picture[i] = static_cast<unsigned char>(seed + i * 7);
  return picture;
}

// A first name as long as its field (30 characters), with Romanian letters:
// 30 bytes in the table's code page, 37 in UTF-8.
inline const std::string kFullLengthPrenume = "Ioana-Ţuţuiana Ştefăniţa Mărgă";

struct LegacyCompanySpec {
  std::string code;
  std::string name = "Fabrica de Încălţăminte";
};

inline void WriteLegacyRegister(const std::filesystem::path& dir,
                                const std::vector<LegacyCompanySpec>& companies,
                                bool dependants_linked) {
  std::filesystem::create_directories(dir);
  const auto firme_fields = ParadoxFieldsOf(FirmeTable().fields);
  std::vector<PxRecord> firme;
  std::int64_t codf = 1;
  for (const auto& company : companies) {
    firme.push_back(RecordOf(firme_fields, {{"CodF", I(codf++)},
                                            {"Cod", T(company.code)},
                                            {"TipAngaj", I(1)},
                                            {"Denumire", T(company.name)},
                                            {"Localitate", T("Piteşti")}}));
  }
  WriteParadoxTable(dir / "Firme.DB", firme_fields, firme);
  const auto para_fields = ParadoxFieldsOf(ParaTable().fields);
  std::vector<PxRecord> para = {
      RecordOf(para_fields,
               {{"Nr", I(1)}, {"Luna", D(2002, 3)}, {"Den", T("CheltProf")}, {"Val", N(255000)}}),
      RecordOf(para_fields,
               {{"Nr", I(2)}, {"Luna", D(2002, 3)}, {"Den", T("Pensie")}, {"Val", N(11.67)}}),
  };
  if (dependants_linked) {
    para.push_back(RecordOf(
        para_fields, {{"Nr", I(3)}, {"Luna", D(1800, 1)}, {"Den", T("VERIFPINT")}, {"Val", N(1)}}));
  }
  WriteParadoxTable(dir / "Para.db", para_fields, para);
  const auto impo_fields = ParadoxFieldsOf(ImpoTable().fields);
  WriteParadoxTable(
      dir / "Impo.db", impo_fields,
      {RecordOf(impo_fields,
                {{"Nr", I(1)}, {"Luna", D(2002, 3)}, {"P_Venit", N(0)}, {"V_Proc", N(18)}})});
  WriteParadoxTable(
      dir / "Impo_an.db", impo_fields,
      {RecordOf(impo_fields,
                {{"Nr", I(1)}, {"Luna", D(2002, 1)}, {"P_Venit", N(0)}, {"V_Proc", N(18)}})});
}

// The company's employees: a permanent employee in February and March, a
// partial contract whose daily hours sit in the coefficient, as those versions
// kept them; fields of later layouts carry values of their own.
inline void WriteLegacyCompany(const std::filesystem::path& folder, int layout_step) {
  std::filesystem::create_directories(folder);
  const auto pers_fields = PersFieldsBefore(layout_step);
  const NamedValues later = {
      {"Spor1", N(3)},         {"Dif_Brut", N(7)},     {"fisa_regul", T("1")},
      {"fisa_rectif", T("1")}, {"EMAIL", T("a@b.ro")}, {"Domiciliu_ext", T("1")},
      {"SumeExcept", N(11)},   {"Brut1", N(1234)},     {"vals1", N(5)},
      {"BifaSom", I(1)},       {"Ch_Prof", N(1)},      {"PlatitOra", I(1)},
      {"ProcImpo", N(50)},     {"Ore_Zi", N(6)},       {"Pensionar", I(1)},
      {"NORMA", I(6)}};
  auto employee = [&](NamedValues values) {
    for (const auto& [name, value] : later) values.emplace(name, value);
    return RecordOf(pers_fields, values);
  };
  WriteParadoxTable(folder / "pers.db", pers_fields,
                    {employee({{"Nr", I(5)},
                               {"LUNA", D(2002, 3)},
                               {"IID", I(1)},
                               {"TIP", T("1")},
                               {"NUME", T("Ştefănescu")},
                               {"PRENUME", T(kFullLengthPrenume)},
                               {"CODNUMPERS", T("2750315123456")},
                               {"SALINC", N(4000000)},
                               {"BRUT", N(4100000)},
                               {"CoefInd", N(1.5)},
                               {"CoefInd1", N(1.5)},
                               {"ALTESPORP", N(10)},
                               {"Regularizare", N(5000)},
                               {"DATA_ANG", D(2001, 3, 15)},
                               {"ZILE_CM", I(2)},
                               {"MARCA", I(7)},
                               {"Depart", T("CENTRAL")}}),
                     employee({{"Nr", I(9)},
                               {"LUNA", D(2002, 3)},
                               {"IID", I(2)},
                               {"TIP", T("2")},
                               {"NUME", T("Ţiganu")},
                               {"BRUT", N(900000)},
                               {"CoefInd", N(4)},
                               {"CoefInd1", N(4)}}),
                     employee({{"Nr", I(12)},
                               {"LUNA", D(2002, 2)},
                               {"IID", I(1)},
                               {"TIP", T("1")},
                               {"NUME", T("Ştefănescu")},
                               {"BRUT", N(3900000)},
                               {"CoefInd", N(1)},
                               {"CoefInd1", N(1)}})});
  // The company parameters had a 12-character group before 5.2.8.
  auto parf_fields = ParadoxFieldsOf(ParFTable().fields);
  if (layout_step <= 4) parf_fields.back().length = 12;
  WriteParadoxTable(
      folder / "parf.db", parf_fields,
      {RecordOf(parf_fields,
                {{"Nr", I(1)}, {"Luna", D(2002, 2)}, {"Den", T("Deschisa")}, {"Val", N(0)}}),
       RecordOf(parf_fields,
                {{"Nr", I(2)}, {"Luna", D(2002, 3)}, {"Den", T("Deschisa")}, {"Val", N(0)}}),
       RecordOf(parf_fields, {{"Nr", I(3)},
                              {"Luna", D(2002, 3)},
                              {"Den", T("DEP_CENTRAL")},
                              {"Grupa", T("Sediu")}})});
  const auto pint_fields = ParadoxFieldsOf(PintTable().fields);
  WriteParadoxTable(
      folder / "Pint.db", pint_fields,
      {RecordOf(pint_fields, {{"Nr", I(3)},
                              {"Luna", D(2002, 3)},
                              {"IID", I(1)},
                              {"Nume", T("Ştefănescu")},
                              {"Prenume", T("Mihai")},
                              {"Calitate", I(1)},
                              {"Coef", N(0.5)}}),
       RecordOf(pint_fields,
                {{"Nr", I(4)}, {"Luna", D(2002, 3)}, {"IID", I(99)}, {"Nume", T("Orfan")}})});
  const auto poze_fields = ParadoxFieldsOf(PozeTable().fields);
  WriteParadoxTable(
      folder / "poze.db", poze_fields,
      {RecordOf(poze_fields, {{"Nr", I(1)}, {"IID", I(1)}, {"Poza", Picture(5000, 1)}}),
       RecordOf(poze_fields, {{"Nr", I(2)}, {"IID", I(2)}, {"Poza", Picture(60, 9)}})});
}

}  // namespace traveno::testing
