#include "reports/recapitulation.h"

#include <memory>

#include "core/numbers.h"
#include "engine/calculated_fields.h"
#include "reports/table_layout.h"
#include "reports/text_width.h"

namespace traveno::reports {
namespace {

// Rates in captions in their shortest decimal form.
std::string ShortRate(double rate) { return FloatToText(rate); }

struct RecapData {
  std::vector<RecapLine> lines;
  std::string employer;
  Date month;
  PrintStamp stamp;
};

void LayOutRecapitulation(const RecapData& data, PageComposer& composer) {
  // The amounts and bases are sized for the widest of them.
  std::string widest_amount;
  std::string widest_base;
  const Font bold = Font{8}.Bold();
  auto keep_wider = [&](std::string& kept, const std::string& text) {
    if (TextWidth(text, bold) > TextWidth(kept, bold)) kept = text;
  };
  for (const RecapLine& line : data.lines) {
    if (line.amount) keep_wider(widest_amount, Amount(*line.amount));
    if (line.base) keep_wider(widest_base, Amount(*line.base));
  }
  const Table table(composer.setup(),
                    {{110, Align::kLeft, " Explicatii"},
                     {35, Align::kRight, " Suma ", widest_amount},
                     {35, Align::kRight, "Baza calcul ", widest_base}},
                    Font{8}, 4.7);
  composer.SetPageHeader([&data, table, setup = composer.setup()](int page) {
    Band band = StandardHeader(
        setup, {data.employer, "Centralizator salarii  " + MonthSlashYear(data.month), ""},
        data.stamp, page);
    band.set_height(17);
    band.Append(table.Headings());
    return band;
  });
  for (const RecapLine& line : data.lines) {
    composer.Add(table.Row({line.numbered ? line.caption : "     " + line.caption,
                            line.amount ? Amount(*line.amount) : std::string(),
                            line.base ? Amount(*line.base) : std::string()},
                           line.numbered));
  }
  Band signatures(20);
  signatures.Text({table.left() + 5, 12, 80, 5}, "Director___________________", Font{9});
  signatures.Text({table.right() - 85, 12, 80, 5}, "Contabil sef________________", Font{9});
  composer.AddClosing(std::move(signatures));
}

}  // namespace

void RecapSums::Add(const PersRow& row) {
  Nr += 1;
  SalInc += row.SALINC;
  ValOreS += row.VAL_TIMP_S;
  ValOreN += row.SUMA_T_NOAPTE;
  Vals[0] += row.vals1;
  Vals[1] += row.vals2;
  Vals[2] += row.vals3;
  Vals[3] += row.vals4;
  CM1L += row.CM1L;
  CM2L += row.CM2L;
  CIC += row.CIC;
  Prime += row.PRIME;
  Alte_Sume += row.ALTE_SUME;
  SPORURI += row.SPORURI;
  Pr_va += row.pr_va;
  Suma_Zile_CO += row.SUMA_ZILE_CO;
  Dif_Brut += row.Dif_Brut;
  BRUT += row.BRUT;
  SumeExcept += row.SumeExcept;
  Pensie += row.PENSIE;
  Sanatate += row.SANATATE;
  Somaj += row.SOMAJ;
  Impozit += row.IMPOZIT;
  Avans += row.AVANS;
  AvansCO += row.AVANS_CO;
  Alte_Ret += row.ALTE_RET;
  Popriri += row.POPRIRI;
  Garantii += row.GARANTII;
  Retineri += row.RETINERI;
  Prime_Incasate += row.PRIME_INCASATE;
  TotalPL += row.RESTPL;
}

RecapSums SumRecapRows(std::span<const PersRow> rows) {
  RecapSums sums;
  for (const PersRow& row : rows) sums.Add(row);
  return sums;
}

RecapFigures ComputeRecapFigures(const RecapSums& s, const engine::CompanyTotals& t,
                                 const engine::CompanyFunds& f) {
  // M, the health contribution due for the medical-leave days, is part of
  // FondSanatate and is paid out of the social-insurance contribution.
  const long double m = f.FondSanatateCM;
  RecapFigures r;
  r.nr = s.Nr;
  r.salarii_incadrare = s.SalInc;
  r.salarii_tarifare = t.TarifarP + t.TarifarC;
  r.drepturi = s.ValOreS + s.ValOreN + s.Vals[0] + s.Vals[1] + s.Vals[2] + s.Vals[3] + s.CM1L +
               s.Prime + s.Alte_Sume + s.SPORURI + s.Pr_va + s.Dif_Brut;
  r.concedii_odihna = s.Suma_Zile_CO;
  r.total_brut = engine::BrutCalc(s.BRUT, s.CM2L, s.CIC);
  r.sume_exceptate = s.SumeExcept;
  r.retineri = s.Pensie + s.Sanatate + s.Somaj + s.Impozit + s.Avans + s.AvansCO + s.Alte_Ret +
               s.Popriri + s.Garantii + s.Retineri + s.Prime_Incasate;
  r.rest_de_plata = engine::RestPLCentralizator(s.TotalPL, s.CM2L, s.CIC);
  r.cm_stat = s.CM2L;
  r.cic = s.CIC;
  r.total_de_plata = s.TotalPL;
  r.taxe_firma = f.FondSomaj + f.FondSanatate + f.FondCAS + f.FondAccident + f.FondCM;
  r.fond_somaj = f.FondSomaj;
  r.fond_sanatate = f.FondSanatate - m;
  r.cas = f.FondCAS + m + s.CM2L + s.CIC;
  r.prestatii_bass = s.CM2L + s.CIC;
  r.total_cas = f.FondCAS + m;
  r.sanatate_cm = m;
  r.cas_de_virat = f.FondCAS;
  r.fond_accident = f.FondAccident;
  r.comision_cm = f.FondCM;
  r.total = s.TotalPL + r.taxe_firma;
  return r;
}

std::vector<RecapLine> RecapitulationLines(params::Session& session) {
  const std::vector<PersRow> rows = DocumentRows(session, session.working_month());
  const RecapSums s = SumRecapRows(rows);
  const TotalsAndFunds company = RebuildCompanyTotals(session, rows);
  const engine::CompanyFunds& f = company.funds;
  const RecapFigures r = ComputeRecapFigures(s, company.totals, f);
  const engine::GeneralParameters& g = session.parameters().general;
  const engine::CompanyParameters& c = session.parameters().company;
  const DeductionCaptions d = DeductionCaptionsOf(c);

  std::vector<RecapLine> lines;
  // The 23 numbered lines, and the detail lines of lines 4 and 8.
  auto numbered = [&](std::string caption, long double amount,
                      std::optional<long double> base = std::nullopt) {
    lines.push_back({std::move(caption), amount, base, true});
  };
  auto add = [&](std::string caption, std::optional<long double> amount) {
    lines.push_back({std::move(caption), amount, std::nullopt, false});
  };
  numbered("1. Nr. total de salariati", r.nr);
  numbered("2. Salarii de incadrare", r.salarii_incadrare);
  numbered("3. Salarii tarifare", r.salarii_tarifare);
  numbered("4. Drepturi", r.drepturi);
  add("Spor ore suplimentare", s.ValOreS);
  add("Spor ore noapte", s.ValOreN);
  for (int n = 0; n < 4; ++n) {
    const BonusColumn bonus = BonusColumnOf(c.spor[n]);
    if (bonus.used) {
      add(bonus.heading, s.Vals[n]);
    } else {
      add("", std::nullopt);
    }
  }
  add("Concedii medicale platite de firma", s.CM1L);
  add("Prime", s.Prime);
  add("Alte sume", s.Alte_Sume);
  add("Alte sporuri", s.SPORURI);
  add("Prime de vacanta", s.Pr_va);
  add("Diferente brut", s.Dif_Brut);
  numbered("5. Concedii de odihna", r.concedii_odihna);
  numbered("6. Total salarii brute (3+4+5) ", r.total_brut);
  numbered("7. Sume exceptate", r.sume_exceptate);
  numbered("8. Retineri", r.retineri);
  add(g.SomajAng != g.SomajCol
          ? "Somaj Perm " + ShortRate(g.SomajAng) + "%; C.P. " + ShortRate(g.SomajCol) + "%"
          : "Somaj " + ShortRate(g.SomajAng) + "%",
      s.Somaj);
  add("Pensie " + ShortRate(g.Pensie) + "%", s.Pensie);
  add("Sanatate " + ShortRate(g.SanatateAng) + "%", s.Sanatate);
  add("Impozit salarii", s.Impozit);
  add("Avans", s.Avans);
  add(d.avans_co, s.AvansCO);
  add(d.prime_incasate, s.Prime_Incasate);
  add(d.retineri, s.Retineri);
  add(d.garantii, s.Garantii);
  add(d.popriri, s.Popriri);
  add(d.alte_retineri, s.Alte_Ret);
  numbered("9. REST DE PLATA (6+7-8)", r.rest_de_plata);
  numbered("10.Concedii medicale platite de stat", r.cm_stat);
  numbered("11.Concedii de maternitate, ingrijire si crestere copil", r.cic);
  numbered("12.TOTAL DE PLATA (9+10+11)", r.total_de_plata);
  numbered("13.TAXE FIRMA (14+15+19+20+21+22)", r.taxe_firma);
  numbered("14. Fond somaj " + ShortRate(g.SomajFirm) + "%", r.fond_somaj, f.BazaSomajFirma);
  numbered("15. Fond sanatate " + ShortRate(g.SanatateFirm) + "%", r.fond_sanatate,
           f.BazaSanatateFirma);
  numbered("16. Contributie Asigurari Sociale " + ShortRate(g.CAS) + "%", r.cas, f.BazaCASFirma);
  numbered("17. Cuantum prestatii de asigurari sociale suportate din BASS", r.prestatii_bass);
  numbered("18. TOTAL CAS (16-17)", r.total_cas);
  numbered("19. Contributia de sanatate conf. art.54(2) din O.U.G. nr.150/2002 ", r.sanatate_cm);
  numbered("20. TOTAL CAS de virat (18-19)", r.cas_de_virat);
  numbered("21. Fond asig accidente " + ShortRate(g.Accident) + "%", r.fond_accident,
           f.BazaCASInitiala);
  numbered("22. Comision CM " + ShortRate(c.ComisionCM) + "%", r.comision_cm, f.BazaCMFirma);
  numbered("23.TOTAL (12+13)", r.total);
  return lines;
}

std::optional<Report> Recapitulation(const DocumentContext& context) {
  params::Session& session = context.session;
  const std::optional<std::int64_t> count = session.db().QueryInt(
      "SELECT COUNT(*) FROM firma.Pers WHERE LUNA = ?", session.working_month());
  if (count.value_or(0) == 0) return std::nullopt;
  auto data = std::make_shared<RecapData>();
  data->lines = RecapitulationLines(session);
  data->employer = EmployerName(session);
  data->month = session.working_month();
  data->stamp = context.stamp;
  return Report{kRecapitulationTitle, PageSetup::A4(Orientation::kPortrait),
                [data](PageComposer& composer) { LayOutRecapitulation(*data, composer); }};
}

}  // namespace traveno::reports
