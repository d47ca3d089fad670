#include "reports/pay_slips.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "core/numbers.h"
#include "core/text.h"
#include "engine/calculated_fields.h"
#include "reports/text_width.h"

namespace traveno::reports {
namespace {

// A sheet is a quarter of the page's content: two across, two down.
constexpr double kSheetGap = 4;
constexpr double kPitch = 4.0;
const Font kFont{7};
// The least room between a caption and its amount.
constexpr double kGap = 1.5;

struct SlipData {
  std::vector<PersRow> rows;
  engine::MonthParameters parameters;
  PaySlipLayout layout = PaySlipLayout::kTwoCopies;
  std::string employer;
  Date month;
  bool by_department = false;
  PaySlipFooter footer;
  std::array<BonusColumn, 4> bonuses;
  DeductionCaptions deductions;
};

std::string WholeAmount(long double value) { return AmountOrBlank(value); }

class SheetWriter {
 public:
  SheetWriter(Band& band, double width) : band_(band), half_(width / 2), width_(width) {}

  // A caption and an amount in the left (0) or right (1) half of line y.
  // The amount keeps its whole width, right-aligned; the caption gets what
  // is left of the half before it, and is condensed rather than reach it.
  void Pair(int half, double y, const std::string& caption, const std::string& value,
            bool bold = false) {
    const double x = half * half_;
    const Font font = bold ? kFont.Bold() : kFont;
    const double value_left = ValueLeft(x, value, font);
    band_.Text({x + 1.2, y, std::max(1.0, value_left - kGap - (x + 1.2)), kPitch}, caption, font);
    band_.Text({value_left, y, x + half_ - 1.2 - value_left, kPitch}, value, font, Align::kRight);
  }
  // Where the amount of a half's line begins: its usual column, or further
  // left for an amount wider than that column.
  double ValueLeft(double x, const std::string& value, const Font& font) const {
    const double right = x + half_ - 1.2;
    return std::min(x + half_ * 0.55, right - TextWidth(value, font));
  }
  void Whole(double y, const std::string& text, const Font& font) {
    band_.Text({1.2, y, width_ - 2.4, kPitch}, text, font);
  }
  void Section(double y, const std::string& title) {
    band_.Line(0, y, width_, y, 0.15);
    band_.Text({1.2, y + 0.2, width_ - 2.4, kPitch}, title, kFont.Bold(), Align::kCenter);
  }
  Band& band() { return band_; }
  double half() const { return half_; }

 private:
  Band& band_;
  double half_;
  double width_;
};

std::string WorkedTimeText(const PersRow& row, const engine::CompanyParameters& company) {
  if (row.TIP == "1" && row.PlatitOra != 0) {
    return "Tarifar ( " + Rate(row.TIMP) + " / " + Rate(company.MedieOre) + " )";
  }
  return "Tarifar ( " + Rate(row.TIMP) + " ) ";
}

Band Sheet(const SlipData& data, const PersRow& row, double width, double height,
           const std::string& under_footer) {
  Band band(height);
  band.Box({0, 0, width, height}, 0.2);
  SheetWriter w(band, width);
  const engine::CompanyParameters& c = data.parameters.company;
  const bool permanent = row.TIP == "1";
  const engine::ReportFigures figures = engine::ComputeReportFigures(row, data.parameters);

  std::string firm = "Firma: " + data.employer;
  if (data.by_department) firm += " -- " + UpperTrim(row.Depart);
  w.Whole(1, firm, kFont.Bold());
  w.Whole(1 + kPitch, MonthSlashYear(data.month), kFont.Bold());
  w.Whole(2 + 2 * kPitch, " " + row.NUME + " " + row.PRENUME, Font{8}.Bold());

  double y = 2 + 3 * kPitch;
  const double right = w.half();
  if (permanent) {
    band.Text({right + 1.2, y, 14, kPitch}, "In Acord", kFont);
    band.Text({right + 14, y, 6, kPitch}, UpperTrim(row.ACORD) == "D" ? "X" : "", kFont.Bold());
  }
  // A partial-contract employee without a main job has no coefficient.
  if (permanent || row.PlatitOra == 1) {
    band.Text({right + 21, y, 14, kPitch}, "Coef.Ded.", kFont);
    band.Text({right + 34, y, w.half() - 35.2, kPitch}, Rate(row.CoefInd), kFont, Align::kRight);
  }
  y += kPitch;
  w.Pair(0, y, "Marca", std::to_string(row.MARCA));
  band.Text({right + 1.2, y, w.half() - 2.4, kPitch},
            permanent ? std::string(" Permanent") : "C. Partial " + Rate(row.Ore_Zi) + " Ore/Zi",
            kFont);
  y += kPitch;
  band.Text({1.2, y, 14, kPitch}, "Functia", kFont);
  band.Text({15, y, width - 16.2, kPitch}, row.FUNCTIE, kFont);
  y += kPitch + 0.5;

  w.Pair(0, y, "Salariu de incadrare ", WholeAmount(row.SALINC));
  w.Pair(1, y, "Zile CFP", WholeAmount(row.ZILE_FP));
  w.Pair(0, y += kPitch, "Ch.Prof", WholeAmount(row.Ch_Prof));
  w.Pair(1, y, "Zile CM", WholeAmount(row.ZILE_CM));
  w.Pair(0, y += kPitch, "Ded.Pers.de Baza", WholeAmount(row.DED_PERS));
  w.Pair(1, y, "Baza imp", WholeAmount(row.TOTDREPT));
  w.Pair(0, y += kPitch, "Ded.Pers.Suplim.", WholeAmount(row.DED_PERS_SUPLI));
  w.Pair(1, y, "Venit Net", WholeAmount(row.VENIT_NET));

  w.Section(y += kPitch + 0.5, "DREPTURI");
  y += kPitch + 0.3;
  w.Pair(0, y, WorkedTimeText(row, c),
         figures.Tarifar ? WholeAmount(*figures.Tarifar) : std::string());
  w.Pair(1, y, "Zile CIC ( " + Rate(row.ZILE_CIC) + " ) ", WholeAmount(row.CIC));
  w.Pair(0, y += kPitch, "Realizat", FormatN(row.REALIZAT, 0));
  w.Pair(1, y, "CM Firma", WholeAmount(row.CM1L));
  w.Pair(0, y += kPitch, "Ore Supl ( " + Rate(row.TIMP_SPL) + " ) ", WholeAmount(row.VAL_TIMP_S));
  w.Pair(1, y, "CM Stat", WholeAmount(row.CM2L));
  w.Pair(0, y += kPitch, "Ore Noap ( " + Rate(row.TIMP_NOAPTE) + " ) ",
         WholeAmount(row.SUMA_T_NOAPTE));
  w.Pair(1, y, "Prima vacanta", WholeAmount(row.pr_va));
  w.Pair(0, y += kPitch, "Zile CO ( " + Rate(row.ZILE_CO) + " ) ", WholeAmount(row.SUMA_ZILE_CO));
  const double bonus_top = y;
  w.Pair(0, y += kPitch, "Alte Sume", WholeAmount(row.ALTE_SUME));
  w.Pair(0, y += kPitch, "Diferenta  brut", WholeAmount(row.Dif_Brut));
  w.Pair(0, y += kPitch, "Sporuri", WholeAmount(row.SPORURI));
  w.Pair(0, y += kPitch, "Prima", WholeAmount(row.PRIME));
  const double percents[4] = {row.Spor1, row.spor2, row.spor3, row.spor4};
  const double values[4] = {row.vals1, row.vals2, row.vals3, row.vals4};
  for (int n = 0; n < 4; ++n) {
    const BonusColumn& bonus = data.bonuses[n];
    if (!bonus.used) continue;
    const double line = bonus_top + n * kPitch;
    // The value at the right, the percentage before it, the name in what
    // is left: each clear of the next.
    const std::string value = WholeAmount(values[n]);
    const std::string percent = BonusPercentText(bonus, percents[n]);
    const double value_left = w.ValueLeft(right, value, kFont);
    const double percent_right = std::min(right + w.half() * 0.58, value_left - kGap);
    const double percent_left =
        std::min(right + w.half() * 0.42, percent_right - TextWidth(percent, kFont));
    band.Text({right + 1.2, line, std::max(1.0, percent_left - kGap - (right + 1.2)), kPitch},
              bonus.heading, kFont);
    band.Text({percent_left, line, percent_right - percent_left, kPitch}, percent, kFont,
              Align::kRight);
    band.Text({value_left, line, right + w.half() - 1.2 - value_left, kPitch}, value, kFont,
              Align::kRight);
  }
  w.Pair(0, y += kPitch, "Sume exceptate", WholeAmount(row.SumeExcept));
  w.Pair(1, y, "Venit Brut", WholeAmount(row.BRUT), true);

  const DeductionCaptions& d = data.deductions;
  w.Section(y += kPitch + 0.5, "RETINERI");
  y += kPitch + 0.3;
  w.Pair(0, y, data.parameters.general.SalMedEc != 0 ? "CIAS" : "Pensie", WholeAmount(row.PENSIE));
  w.Pair(1, y, d.retineri, WholeAmount(row.RETINERI));
  w.Pair(0, y += kPitch, "CASS", WholeAmount(row.SANATATE));
  w.Pair(1, y, d.avans_co, WholeAmount(row.AVANS_CO));
  w.Pair(0, y += kPitch, "Somaj", WholeAmount(row.SOMAJ));
  w.Pair(1, y, d.prime_incasate, WholeAmount(row.PRIME_INCASATE));
  w.Pair(0, y += kPitch, "Impozit", WholeAmount(row.IMPOZIT));
  w.Pair(1, y, d.garantii, WholeAmount(row.GARANTII));
  w.Pair(0, y += kPitch, "Avans", WholeAmount(row.AVANS));
  w.Pair(1, y, d.alte_retineri, WholeAmount(row.ALTE_RET));
  w.Pair(0, y += kPitch, d.popriri, WholeAmount(row.POPRIRI));
  w.Pair(1, y, "Rest de Plata", WholeAmount(row.RESTPL), true);

  y += kPitch + 0.5;
  band.Line(0, y, width, y, 0.15);
  w.Whole(y += 0.5, data.footer.line1, kFont);
  w.Whole(y += kPitch, data.footer.line2, kFont);
  if (!under_footer.empty()) {
    band.Text({1.2, y + kPitch, width - 2.4, kPitch}, under_footer, kFont.Bold(), Align::kRight);
  }
  return band;
}

void LayOutSlips(const SlipData& data, PageComposer& composer) {
  const PageSetup& setup = composer.setup();
  const double width = (setup.content_width() - kSheetGap) / 2;
  const double height = (setup.content_bottom() - setup.content_top() - kSheetGap) / 2;
  const bool two_copies = data.layout == PaySlipLayout::kTwoCopies;
  const int slots_per_page = two_copies ? 2 : 4;
  int slot = 0;
  std::string department = data.rows.empty() ? "" : UpperTrim(data.rows.front().Depart);
  double pag_colab = data.parameters.company.PagColab;
  for (const PersRow& row : data.rows) {
    if (composer.cancelled()) return;
    bool new_page = false;
    if (data.by_department && UpperTrim(row.Depart) != department) {
      department = UpperTrim(row.Depart);
      pag_colab = data.parameters.company.PagColab;
      new_page = true;
    }
    // Each department's first partial-contract employee begins a page.
    if (pag_colab == 1 && row.TIP == "2") {
      pag_colab = 0;
      new_page = true;
    }
    if (new_page && slot > 0) {
      composer.BreakPage();
      slot = 0;
    }
    if (slot == slots_per_page) {
      composer.BreakPage();
      slot = 0;
    }
    const double x_left = setup.content_left();
    const double x_right = setup.content_left() + width + kSheetGap;
    if (two_copies) {
      const double y = setup.content_top() + slot * (height + kSheetGap);
      composer.Place(Sheet(data, row, width, height, "Semnatura"), x_left, y);
      composer.Place(Sheet(data, row, width, height, ""), x_right, y);
    } else {
      const double y = setup.content_top() + (slot / 2) * (height + kSheetGap);
      composer.Place(Sheet(data, row, width, height, ""), slot % 2 == 0 ? x_left : x_right, y);
    }
    ++slot;
  }
}

}  // namespace

std::optional<PaySlipLayout> PaySlipLayoutOf(double tip_fluturasi) {
  if (tip_fluturasi == 1) return PaySlipLayout::kOneCopy;
  if (tip_fluturasi == 0 || tip_fluturasi == 2) return PaySlipLayout::kTwoCopies;
  return std::nullopt;
}

std::optional<Report> PaySlips(const DocumentContext& context) {
  params::Session& session = context.session;
  const std::optional<PaySlipLayout> layout =
      PaySlipLayoutOf(session.parameters().company.TipFluturasi);
  if (!layout) return std::nullopt;
  auto data = std::make_shared<SlipData>();
  data->rows = DocumentRows(session, session.working_month());
  if (data->rows.empty()) return std::nullopt;
  data->parameters = session.parameters();
  data->layout = *layout;
  data->employer = EmployerName(session);
  data->month = session.working_month();
  data->by_department = session.department_count() > 1;
  data->footer = session.footer();
  for (int n = 0; n < 4; ++n) data->bonuses[n] = BonusColumnOf(data->parameters.company.spor[n]);
  data->deductions = DeductionCaptionsOf(data->parameters.company);

  Report report;
  report.title = kPaySlipsTitle;
  report.setup = PageSetup::A4(Orientation::kPortrait);
  report.lay_out = [data](PageComposer& composer) { LayOutSlips(*data, composer); };
  return report;
}

}  // namespace traveno::reports
