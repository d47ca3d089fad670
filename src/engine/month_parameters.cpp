#include "engine/month_parameters.h"

#include <unordered_set>

#include "core/text.h"

namespace traveno::engine {
namespace {

// Where a parameter lives in the value: a number, a text, or both.
struct Slot {
  double* number = nullptr;
  std::string* text = nullptr;
};

// Calls visit(name, slot) for every general parameter in table order.
template <typename Visit>
void VisitGeneral(GeneralParameters& p, Visit&& visit) {
  auto n = [&](const char* name, double& value) { visit(std::string(name), Slot{&value, nullptr}); };
  n("SomajAng", p.SomajAng);
  n("SomajCol", p.SomajCol);
  n("SanatateAng", p.SanatateAng);
  n("Pensie", p.Pensie);
  n("SomajFirm", p.SomajFirm);
  n("SanatateFirm", p.SanatateFirm);
  n("CAS", p.CAS);
  n("Handicap", p.Handicap);
  n("PersHandi", p.PersHandi);
  n("Invat", p.Invat);
  n("BazaInvat", p.BazaInvat);
  n("Accident", p.Accident);
  n("DedBaza", p.DedBaza);
  n("CheltProf", p.CheltProf);
  n("ProcChProf", p.ProcChProf);
  n("DedAnuala", p.DedAnuala);
  n("SotSotie", p.SotSotie);
  n("DoiCopii", p.DoiCopii);
  n("RestCopii", p.RestCopii);
  n("AltePers", p.AltePers);
  n("InvalidI", p.InvalidI);
  n("InvalidII", p.InvalidII);
  n("CoefMax", p.CoefMax);
  n("SalMedEc", p.SalMedEc);
  n("SalMinEc", p.SalMinEc);
  n("LimCIC", p.LimCIC);
  n("VERIFPINT", p.VERIFPINT);
}

template <typename Visit>
void VisitCompany(CompanyParameters& p, Visit&& visit) {
  auto n = [&](std::string name, double& value) { visit(std::move(name), Slot{&value, nullptr}); };
  auto t = [&](std::string name, std::string& value) {
    visit(std::move(name), Slot{nullptr, &value});
  };
  auto both = [&](std::string name, ExemptSetting& value) {
    visit(std::move(name), Slot{&value.Val, &value.Grupa});
  };
  n("ComisionCM", p.ComisionCM);
  n("TimpLuna", p.TimpLuna);
  n("TimpZile", p.TimpZile);
  n("MedieOre", p.MedieOre);
  n("SporNoapte", p.SporNoapte);
  n("CoefCO", p.CoefCO);
  n("ProcOreSupli", p.ProcOreSupli);
  n("ZiLichidare", p.ZiLichidare);
  n("PagColab", p.PagColab);
  n("StatAscUnic", p.StatAscUnic);
  n("TipFluturasi", p.TipFluturasi);
  t("ZileLibere", p.ZileLibere);
  n("LuniCO", p.LuniCO);
  t("CO_Form", p.CO_Form);
  n("Deschisa", p.Deschisa);
  n("Contab", p.Contab);
  for (int i = 0; i < 4; ++i) {
    const std::string k = std::to_string(i + 1);
    BonusParameters& s = p.spor[i];
    t("Spor" + k + "_Den", s.Den);
    n("Spor" + k + "_Apl", s.Apl);
    n("Spor_Perm" + k, s.Perm);
    n("Spor" + k + "_CO", s.CO);
    t("Spor" + k + "_Form", s.Form);
    n("Spor" + k + "_ProcF", s.ProcF);
    n("Spor" + k + "_Init", s.Init);
  }
  n("OreSupl", p.OreSupl);
  n("SporProc", p.SporProc);
  n("OreNoapte", p.OreNoapte);
  n("CO", p.CO);
  n("AlteSume", p.AlteSume);
  n("Sporuri", p.Sporuri);
  n("Prime", p.Prime);
  n("CMFirm", p.CMFirm);
  n("CIC", p.CIC);
  n("CMStat", p.CMStat);
  n("Regularizare", p.Regularizare);
  n("Timp", p.Timp);
  n("Timp_spl", p.Timp_spl);
  n("InitPrime", p.InitPrime);
  n("InitPr_va", p.InitPr_va);
  n("Cm1l", p.Cm1l);
  n("Cm2l", p.Cm2l);
  n("Avans", p.Avans);
  n("Retineri", p.Retineri);
  n("Timp_Noapte", p.Timp_Noapte);
  n("Zile_Co", p.Zile_Co);
  n("InitAlteSume", p.InitAlteSume);
  n("InitCIC", p.InitCIC);
  n("Popriri", p.Popriri);
  n("Garantii", p.Garantii);
  n("Alte_Ret", p.Alte_Ret);
  n("Prime_inc", p.Prime_inc);
  n("Avans_Co", p.Avans_Co);
  n("Zile_Fp", p.Zile_Fp);
  n("Zile_Cm", p.Zile_Cm);
  n("Zile_CIC", p.Zile_CIC);
  n("InitSporuri", p.InitSporuri);
  n("SumeExcept", p.SumeExcept);
  n("ProcImpo", p.ProcImpo);
  both("Ex_Pensie", p.Ex_Pensie);
  both("Ex_Sanatate", p.Ex_Sanatate);
  both("Ex_Impozit", p.Ex_Impozit);
  both("Ex_Firma", p.Ex_Firma);
  t("Den_PrIncas", p.Den_PrIncas);
  t("Den_AvansCO", p.Den_AvansCO);
  t("Den_Retineri", p.Den_Retineri);
  t("Den_Popriri", p.Den_Popriri);
  t("Den_AlteRet", p.Den_AlteRet);
  t("Den_Garantii", p.Den_Garantii);
  n("CalculSomaj", p.CalculSomaj);
  n("TipCalcul", p.TipCalcul);
  n("SDAsig", p.SDAsig);
  n("SDAng", p.SDAng);
  n("DedSomaj", p.DedSomaj);
  n("RestAs", p.RestAs);
  n("RestAn", p.RestAn);
  n("Penal", p.Penal);
  n("Maj", p.Maj);
  n("SVAsig", p.SVAsig);
  n("SVAng", p.SVAng);
  n("RestSanA", p.RestSanA);
  n("RestSanB", p.RestSanB);
  n("RestSanC", p.RestSanC);
  n("MajSanA", p.MajSanA);
  n("MajSanB", p.MajSanB);
  n("MajSanC", p.MajSanC);
  n("DatorSanA", p.DatorSanA);
  n("DatorSanB", p.DatorSanB);
  n("DatorSanC", p.DatorSanC);
}

ParameterValueKind KindOf(const Slot& slot) {
  if (slot.number != nullptr && slot.text != nullptr) return ParameterValueKind::kNumberAndText;
  return slot.number != nullptr ? ParameterValueKind::kNumber : ParameterValueKind::kText;
}

std::vector<ParameterDescription> DescribeGeneral() {
  std::vector<ParameterDescription> names;
  GeneralParameters scratch;
  VisitGeneral(scratch, [&](std::string name, Slot slot) {
    names.push_back({std::move(name), KindOf(slot)});
  });
  return names;
}

std::vector<ParameterDescription> DescribeCompany() {
  std::vector<ParameterDescription> names;
  CompanyParameters scratch;
  VisitCompany(scratch, [&](std::string name, Slot slot) {
    names.push_back({std::move(name), KindOf(slot)});
  });
  return names;
}

void Assign(const Slot& slot, const ParameterRow& row) {
  if (slot.number != nullptr) *slot.number = row.Val;
  if (slot.text != nullptr) *slot.text = row.Grupa;
}

}  // namespace

std::span<const ParameterDescription> GeneralParameterNames() {
  static const std::vector<ParameterDescription> kNames = DescribeGeneral();
  return kNames;
}

std::span<const ParameterDescription> CompanyParameterNames() {
  static const std::vector<ParameterDescription> kNames = DescribeCompany();
  return kNames;
}

GeneralParameters BuildGeneralParameters(std::span<const ParameterRow> rows) {
  GeneralParameters result;
  VisitGeneral(result, [&](const std::string& name, Slot slot) {
    for (const ParameterRow& row : rows) {
      if (EqualsIgnoreCase(row.Den, name)) {
        Assign(slot, row);
        return;
      }
    }
  });
  return result;
}

CompanyParameters BuildCompanyParameters(std::span<const ParameterRow> rows) {
  CompanyParameters result;
  VisitCompany(result, [&](const std::string& name, Slot slot) {
    for (const ParameterRow& row : rows) {
      if (row.Den == name) {
        Assign(slot, row);
        return;
      }
    }
  });
  std::unordered_set<std::string> seen;
  for (const ParameterRow& row : rows) {
    if (row.Den.starts_with("DEP_") && seen.insert(row.Den).second) {
      result.departments.push_back(row);
    }
  }
  return result;
}

std::vector<ParameterRow> GeneralParameterRows(const GeneralParameters& parameters) {
  std::vector<ParameterRow> rows;
  GeneralParameters copy = parameters;
  VisitGeneral(copy, [&](std::string name, Slot slot) {
    rows.push_back({std::move(name), *slot.number, ""});
  });
  return rows;
}

std::vector<ParameterRow> CompanyParameterRows(const CompanyParameters& parameters) {
  std::vector<ParameterRow> rows;
  CompanyParameters copy = parameters;
  VisitCompany(copy, [&](std::string name, Slot slot) {
    rows.push_back({std::move(name), slot.number != nullptr ? *slot.number : 0.0,
                    slot.text != nullptr ? *slot.text : std::string()});
  });
  for (const ParameterRow& department : parameters.departments) rows.push_back(department);
  return rows;
}

bool IsFlagChecked(std::string_view grupa) { return UpperTrim(grupa) != "NU"; }

}  // namespace traveno::engine
