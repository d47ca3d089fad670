#include "reports/recapitulation.h"

#include <memory>

#include "core/numbers.h"
#include "core/store/sqlite.h"
#include "engine/calculated_fields.h"
#include "reports/table_layout.h"
#include "reports/text_width.h"

namespace traveno::reports {
namespace {

// qCentrSal: the month's count and sums, in the order of the query.
struct MonthSums {
  long double Nr = 0, SalInc = 0, ValOreS = 0, ValOreN = 0, Vals[4] = {0, 0, 0, 0}, CM1L = 0,
              CM2L = 0, CIC = 0, Prime = 0, Alte_Sume = 0, SPORURI = 0, Pr_va = 0, Suma_Zile_CO = 0,
              Dif_Brut = 0, BRUT = 0, SumeExcept = 0, Pensie = 0, Sanatate = 0, Somaj = 0,
              Impozit = 0, Avans = 0, AvansCO = 0, Alte_Ret = 0, Popriri = 0, Garantii = 0,
              Retineri = 0, Prime_Incasate = 0, TotalPL = 0;
};

MonthSums QueryMonthSums(params::Session& session) {
  Statement query = session.db().Prepare(
      "SELECT COUNT(NUME), TOTAL(SALINC), TOTAL(VAL_TIMP_S), TOTAL(SUMA_T_NOAPTE), TOTAL(vals1), "
      "TOTAL(vals2), TOTAL(vals3), TOTAL(vals4), TOTAL(CM1L), TOTAL(CM2L), TOTAL(CIC), "
      "TOTAL(PRIME), TOTAL(ALTE_SUME), TOTAL(SPORURI), TOTAL(pr_va), TOTAL(SUMA_ZILE_CO), "
      "TOTAL(Dif_Brut), TOTAL(BRUT), TOTAL(SumeExcept), TOTAL(PENSIE), TOTAL(SANATATE), "
      "TOTAL(SOMAJ), TOTAL(IMPOZIT), TOTAL(AVANS), TOTAL(AVANS_CO), TOTAL(ALTE_RET), "
      "TOTAL(POPRIRI), TOTAL(GARANTII), TOTAL(RETINERI), TOTAL(PRIME_INCASATE), TOTAL(RESTPL) "
      "FROM firma.Pers WHERE LUNA = ?");
  query.Bind(1, session.working_month());
  MonthSums s;
  if (!query.Step()) return s;
  int c = 0;
  auto next = [&] { return static_cast<long double>(query.Double(c++)); };
  s.Nr = next();
  s.SalInc = next();
  s.ValOreS = next();
  s.ValOreN = next();
  for (long double& v : s.Vals) v = next();
  s.CM1L = next();
  s.CM2L = next();
  s.CIC = next();
  s.Prime = next();
  s.Alte_Sume = next();
  s.SPORURI = next();
  s.Pr_va = next();
  s.Suma_Zile_CO = next();
  s.Dif_Brut = next();
  s.BRUT = next();
  s.SumeExcept = next();
  s.Pensie = next();
  s.Sanatate = next();
  s.Somaj = next();
  s.Impozit = next();
  s.Avans = next();
  s.AvansCO = next();
  s.Alte_Ret = next();
  s.Popriri = next();
  s.Garantii = next();
  s.Retineri = next();
  s.Prime_Incasate = next();
  s.TotalPL = next();
  return s;
}

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

std::vector<RecapLine> RecapitulationLines(params::Session& session) {
  const MonthSums s = QueryMonthSums(session);
  const TotalsAndFunds company =
      RebuildCompanyTotals(session, DocumentRows(session, session.working_month()));
  const engine::CompanyTotals& t = company.totals;
  const engine::CompanyFunds& f = company.funds;
  const engine::GeneralParameters& g = session.parameters().general;
  const engine::CompanyParameters& c = session.parameters().company;
  const DeductionCaptions d = DeductionCaptionsOf(c);
  const long double m = f.FondSanatateCM;
  const long double brut_calc = engine::BrutCalc(s.BRUT, s.CM2L, s.CIC);
  const long double rest_pl = engine::RestPLCentralizator(s.TotalPL, s.CM2L, s.CIC);
  const long double employer_taxes =
      f.FondSomaj + f.FondSanatate + f.FondCAS + f.FondAccident + f.FondCM;

  std::vector<RecapLine> lines;
  // The 23 numbered lines, and the detail lines of lines 4 and 8.
  auto numbered = [&](std::string caption, long double amount,
                      std::optional<long double> base = std::nullopt) {
    lines.push_back({std::move(caption), amount, base, true});
  };
  auto add = [&](std::string caption, std::optional<long double> amount) {
    lines.push_back({std::move(caption), amount, std::nullopt, false});
  };
  numbered("1. Nr. total de salariati", s.Nr);
  numbered("2. Salarii de incadrare", s.SalInc);
  numbered("3. Salarii tarifare", t.TarifarP + t.TarifarC);
  numbered("4. Drepturi", s.ValOreS + s.ValOreN + s.Vals[0] + s.Vals[1] + s.Vals[2] + s.Vals[3] +
                              s.CM1L + s.Prime + s.Alte_Sume + s.SPORURI + s.Pr_va + s.Dif_Brut);
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
  numbered("5. Concedii de odihna", s.Suma_Zile_CO);
  numbered("6. Total salarii brute (3+4+5) ", brut_calc);
  numbered("7. Sume exceptate", s.SumeExcept);
  numbered("8. Retineri", s.Pensie + s.Sanatate + s.Somaj + s.Impozit + s.Avans + s.AvansCO +
                              s.Alte_Ret + s.Popriri + s.Garantii + s.Retineri + s.Prime_Incasate);
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
  numbered("9. REST DE PLATA (6+7-8)", rest_pl);
  numbered("10.Concedii medicale platite de stat", s.CM2L);
  numbered("11.Concedii de maternitate, ingrijire si crestere copil", s.CIC);
  numbered("12.TOTAL DE PLATA (9+10+11)", s.TotalPL);
  numbered("13.TAXE FIRMA (14+15+19+20+21+22)", employer_taxes);
  numbered("14. Fond somaj " + ShortRate(g.SomajFirm) + "%", f.FondSomaj, f.BazaSomajFirma);
  numbered("15. Fond sanatate " + ShortRate(g.SanatateFirm) + "%", f.FondSanatate - m,
           f.BazaSanatateFirma);
  numbered("16. Contributie Asigurari Sociale " + ShortRate(g.CAS) + "%",
           f.FondCAS + m + s.CM2L + s.CIC, f.BazaCASFirma);
  numbered("17. Cuantum prestatii de asigurari sociale suportate din BASS", s.CM2L + s.CIC);
  numbered("18. TOTAL CAS (16-17)", f.FondCAS + m);
  numbered("19. Contributia de sanatate conf. art.54(2) din O.U.G. nr.150/2002 ", m);
  numbered("20. TOTAL CAS de virat (18-19)", f.FondCAS);
  numbered("21. Fond asig accidente " + ShortRate(g.Accident) + "%", f.FondAccident,
           f.BazaCASInitiala);
  numbered("22. Comision CM " + ShortRate(c.ComisionCM) + "%", f.FondCM, f.BazaCMFirma);
  numbered("23.TOTAL (12+13)", s.TotalPL + employer_taxes);
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
