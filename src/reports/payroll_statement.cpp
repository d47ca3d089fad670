#include "reports/payroll_statement.h"

#include <memory>
#include <vector>

#include "core/numbers.h"
#include "core/text.h"
#include "reports/grouping.h"
#include "reports/statement_grid.h"

namespace traveno::reports {
namespace {

using statement::Field;
using statement::Grid;
using statement::Values;

// What the statement prints, read once from the store.
struct StatementData {
  std::vector<PersRow> rows;
  engine::MonthParameters parameters;
  TotalsAndFunds company;
  std::string employer;
  Date month;
  bool by_department = false;
  PrintStamp stamp;
  statement::GridCaptions captions;
  // Sized from the widest figures of the rows and their sums.
  std::optional<Grid> grid;
};

bool IsPermanent(const PersRow& row) { return row.TIP == "1"; }

std::string Whole(long double value) { return FormatNumber(value, NumberMask::kInteger); }

const Font kCaptionFont{7.5};

// The sums of a group, a kind and the whole statement, together with the
// pension and unemployment sums that the summary counts by the kind's rules.
struct StatementSums {
  ColumnSums department{statement::kFieldCount};
  ColumnSums kind{statement::kFieldCount};
  ColumnSums by_kind[2] = {ColumnSums(statement::kFieldCount), ColumnSums(statement::kFieldCount)};
  ColumnSums total{statement::kFieldCount};
  long double pension[2] = {0, 0};       // permanent; partial with CIAS
  long double unemployment[2] = {0, 0};  // permanent; partial withheld from the employee
  long double employer_unemployment_base = 0;

  // A row enters its kind group's sums; the wider sums take the group's
  // when it closes (every kind group lies inside one department).
  void Add(const PersRow& row, const Values& values, const engine::ReportFigures& figures,
           const engine::MonthParameters& parameters) {
    const int k = IsPermanent(row) ? 0 : 1;
    for (std::size_t f = 0; f < values.size(); ++f) kind.Add(f, values[f]);
    if (k == 0) {
      pension[0] += row.PENSIE;
      unemployment[0] += row.SOMAJ;
    } else {
      if (row.ALT_VENIT == 1 && parameters.general.SalMedEc != 0) pension[1] += row.PENSIE;
      if (Trim(row.Domiciliu_ext) == "1") unemployment[1] += row.SOMAJ;
    }
    employer_unemployment_base += figures.FondSomajFirma.value_or(0);
  }

  // After the kind group's footer: its sums go into the department's, the
  // kind's and the statement's, and the group's start again.
  void CloseKind(bool permanent) {
    department += kind;
    by_kind[permanent ? 0 : 1] += kind;
    total += kind;
    kind.Clear();
  }
};

// The texts of an employee's block that the grid is sized for (not the
// names, which are condensed to their column when need be, nor the running
// number).
statement::BlockTexts SizedTexts(const PersRow& row, const engine::ReportFigures& figures,
                                 const statement::GridCaptions& captions) {
  const bool permanent = IsPermanent(row);
  statement::BlockTexts texts;
  texts.marca = std::to_string(row.MARCA);
  texts.kind = permanent ? " " + row.ACORD : "Ore / Zi: " + Rate(row.Ore_Zi);
  texts.coef = " " + Rate(row.CoefInd);
  const double percents[4] = {row.Spor1, row.spor2, row.spor3, row.spor4};
  for (int n = 0; n < 4; ++n) {
    texts.bonus_percent[n] = BonusPercentText(captions.bonuses[n], percents[n]);
  }
  texts.tarifar_blank = !figures.Tarifar.has_value();
  texts.realizat_blank = !permanent;
  return texts;
}

// What an employee's block prints besides the figures, but the running
// number.
statement::BlockTexts EmployeeTexts(const PersRow& row, const engine::ReportFigures& figures,
                                    const statement::GridCaptions& captions) {
  statement::BlockTexts texts = SizedTexts(row, figures, captions);
  texts.name = " " + row.NUME + " " + row.PRENUME;
  texts.function = " " + row.FUNCTIE;
  return texts;
}

Values ToValues(const ColumnSums& sums) {
  Values values{};
  for (std::size_t f = 0; f < values.size(); ++f) values[f] = sums[f];
  return values;
}

class StatementLayout {
 public:
  StatementLayout(const StatementData& data, PageComposer& composer)
      : data_(data), composer_(composer), grid_(*data.grid) {}

  void Run() {
    // The header outlives this object: the composer may need it after Run.
    // The column headings are the same on every page: made once.
    auto headings = std::make_shared<Band>();
    grid_.PutHeadings(*headings, 13, data_.captions);
    composer_.SetPageHeader([data = &data_, setup = composer_.setup(), headings](int page) {
      return PageHeader(*data, *headings, setup, page);
    });
    WalkGroups(
        data_.rows, 2,
        [this](const PersRow& row) {
          return std::vector<std::string>{data_.by_department ? UpperTrim(row.Depart) : "",
                                          IsPermanent(row) ? "1" : "2"};
        },
        [this](std::size_t level, const PersRow& first) { GroupHeader(level, first); },
        [this](const PersRow& row) { Detail(row); },
        [this](std::size_t level, const PersRow& last) { GroupFooter(level, last); },
        [this] { return composer_.cancelled(); });
    if (composer_.cancelled()) return;
    Summary();
  }

 private:
  static Band PageHeader(const StatementData& data, const Band& headings, const PageSetup& setup,
                         int page) {
    const double left = setup.content_left();
    const double width = setup.content_width();
    Band band(27.5);
    band.Text({left, 0, width * 0.6, 4}, "Firma: " + data.employer, Font{8}.Bold());
    band.Text({left + width * 0.6, 0, width * 0.4, 4},
              "Data: " + data.stamp.DateText() + "  Ora: " + data.stamp.TimeText() +
                  "    Pagina: " + std::to_string(page),
              Font{8}, Align::kRight);
    band.Text({left, 5, width, 6},
              "Stat de plata salarii pentru luna " + std::string(MonthName(MonthOf(data.month))) +
                  " " + std::to_string(YearOf(data.month)),
              Font{11}.Bold(), Align::kCenter);
    const Page& items = headings.items();
    Page& page_items = band.items();
    page_items.texts.insert(page_items.texts.end(), items.texts.begin(), items.texts.end());
    page_items.lines.insert(page_items.lines.end(), items.lines.begin(), items.lines.end());
    page_items.boxes.insert(page_items.boxes.end(), items.boxes.begin(), items.boxes.end());
    return band;
  }

  void GroupHeader(std::size_t level, const PersRow& first) {
    if (level == 0) {
      if (!data_.by_department) return;
      // Every department begins on a page of its own.
      composer_.BreakPage();
      Band band(5);
      band.Text({grid_.left(), 0.5, 120, 4}, "Departamentul: " + UpperTrim(first.Depart),
                Font{8}.Bold());
      composer_.Add(std::move(band), 5 + Grid::kBlockHeight);
      return;
    }
    const bool permanent = IsPermanent(first);
    if (!permanent && data_.parameters.company.PagColab == 1) composer_.BreakPage();
    Band band(4.5);
    band.Text({grid_.left(), 0.3, 120, 4},
              permanent ? "Angajati permanenti" : "Angajati contract partial", Font{7.5}.Bold());
    composer_.Add(std::move(band), Grid::kBlockHeight);
  }

  void Detail(const PersRow& row) {
    const engine::ReportFigures figures = engine::ComputeReportFigures(row, data_.parameters);
    const Values values = statement::RowValues(row, figures);
    sums_.Add(row, values, figures, data_.parameters);
    statement::BlockTexts texts = EmployeeTexts(row, figures, data_.captions);
    texts.number = std::to_string(++number_);
    Band band(Grid::kBlockHeight);
    band.items().texts.reserve(64);
    grid_.PutBlock(band, 0.3, values, texts, data_.captions);
    band.Line(grid_.left(), Grid::kBlockHeight - 0.2, grid_.right(), Grid::kBlockHeight - 0.2, 0.1);
    composer_.Add(std::move(band));
  }

  void GroupFooter(std::size_t level, const PersRow& last) {
    if (level == 1) {
      SumRow(
          IsPermanent(last) ? "Subtotal angajati permanenti" : "Subtotal angajati contract partial",
          ToValues(sums_.kind), true);
      sums_.CloseKind(IsPermanent(last));
      return;
    }
    if (!data_.by_department) return;
    SumRow("SUBTOTAL DEPARTAMENTUL: " + UpperTrim(last.Depart), ToValues(sums_.department), true,
           "Semnatura");
    sums_.department.Clear();
  }

  // A row of sums; `closing` when it closes the rows above it (a group's
  // subtotal), so that it keeps with them at a page's end.
  void SumRow(const std::string& caption, const Values& values, bool closing,
              const std::string& signature = {}) {
    statement::BlockTexts texts;
    texts.caption = caption;
    texts.signature = signature;
    Band band(Grid::kBlockHeight + 0.6);
    band.Line(grid_.left(), 0.2, grid_.right(), 0.2, 0.3);
    grid_.PutBlock(band, 0.6, values, texts, data_.captions);
    band.Line(grid_.left(), Grid::kBlockHeight + 0.4, grid_.right(), Grid::kBlockHeight + 0.4, 0.3);
    if (closing) {
      composer_.AddClosing(std::move(band));
    } else {
      composer_.Add(std::move(band));
    }
  }

  // One line of a tax block: caption, explanation, amount and the column
  // "Ordin de plata" left for the payment order's number.
  void TaxLine(const std::string& caption, const std::string& explanation,
               std::optional<long double> amount) {
    const double left = grid_.left();
    const double right = grid_.right();
    Band band(4.6);
    const double caption_width = explanation.empty() ? right - left - 62 : 58;
    band.Text({left, 0.3, caption_width, 4}, caption, kCaptionFont);
    if (!explanation.empty()) {
      band.Text({left + 58, 0.3, right - left - 120, 4}, explanation, Font{7});
    }
    if (amount) band.Text({right - 60, 0.3, 30, 4}, Amount(*amount), kCaptionFont, Align::kRight);
    band.Line(right - 28, 4.2, right, 4.2, 0.1);
    composer_.Add(std::move(band));
  }

  void BlockTitle(const std::string& title, bool with_order_column = true) {
    Band band(6.5);
    band.Text({grid_.left(), 1.5, 150, 4.5}, title, Font{8.5}.Bold());
    if (with_order_column) {
      band.Text({grid_.right() - 28, 1.5, 28, 4.5}, "Ordin de plata", Font{8}.Bold(),
                Align::kCenter);
    }
    composer_.Add(std::move(band), 4 * 4.6);
  }

  void Summary() {
    const engine::MonthParameters& p = data_.parameters;
    const engine::GeneralParameters& g = p.general;
    const engine::CompanyTotals& t = data_.company.totals;
    const engine::CompanyFunds& f = data_.company.funds;
    composer_.BreakPage();

    // A kind's row: its pension and unemployment by the kind's rules, and
    // its gross, rest to pay and exempt sums from the company totals.
    auto kind_row = [&](int k, long double brut, long double rest, long double exempt) {
      Values values = ToValues(sums_.by_kind[k]);
      values[statement::kPensie] = sums_.pension[k];
      values[statement::kSomaj] = sums_.unemployment[k];
      values[statement::kBrut] = brut;
      values[statement::kRestPl] = rest;
      values[statement::kSumeExcept] = exempt;
      return values;
    };
    SumRow("Subtotal permanenti", kind_row(0, t.BrutP, t.RestPlP, t.SumeExceptP), false);
    SumRow("Subtotal angajati contract partial", kind_row(1, t.BrutC, t.RestPlC, t.SumeExceptC),
           true);
    SumRow("Total", ToValues(sums_.total), true);

    const bool exempt_in_base = UpperTrim(p.company.Ex_Firma.Grupa) == "DA";
    {
      Band band(11);
      const double left = grid_.left();
      band.Text({left, 1.5, 60, 4}, "Baza Somaj Firma", kCaptionFont.Bold());
      band.Text({left + 60, 1.5, 40, 4}, Amount(sums_.employer_unemployment_base), kCaptionFont,
                Align::kRight);
      const long double cas_permanent = t.BrutP + (exempt_in_base ? t.SumeExceptP : 0);
      const long double cas_partial = t.BrutCAS_C + (exempt_in_base ? t.SumeExceptCAS_C : 0);
      band.Text({left, 6, 200, 4},
                "  Baza pentru CAS: " + std::string(" Permanenti: ") + Whole(cas_permanent) +
                    "  /  " + " Contract partial: " + Whole(cas_partial) + " ",
                kCaptionFont.Bold());
      composer_.Add(std::move(band));
    }

    const long double employees_unemployment = sums_.unemployment[0] + sums_.unemployment[1];
    const long double health_employees = sums_.total[statement::kSanatate];
    const long double cm_state = sums_.total[statement::kCM2L];
    const long double cic = sums_.total[statement::kCIC];
    const long double x = f.FondHandicapSuplimentar;
    BlockTitle("Taxe angajator datorate institutiilor de stat");
    TaxLine("Fond somaj " + Rate(g.SomajFirm) + " %",
            "Fond somaj firma " + Whole(f.FondSomaj) + " + " + "Fond somaj angajati " +
                Whole(employees_unemployment) + " =",
            f.FondSomaj + employees_unemployment);
    TaxLine("Fond sanatate " + Rate(g.SanatateFirm) + " %",
            "Fond sanatate firma " + Whole(f.FondSanatate - f.FondSanatateCM) + " + " +
                "Fond sanatate angajati " + Whole(health_employees) +
                " + Contributia de sanatate aferenta concediilor medicale " +
                Whole(f.FondSanatateCM) + " =",
            health_employees + f.FondSanatate);
    TaxLine("CAS " + Rate(g.CAS) + " %",
            "CAS total " + Whole(f.FondCAS + f.FondSanatateCM + cic + cm_state) + " - CM Stat " +
                Whole(cm_state) + " - CIC " + Whole(cic) +
                " - Contributia de sanatate aferenta concediilor medicale " +
                Whole(f.FondSanatateCM) + " =",
            f.FondCAS);
    TaxLine("Fond pers. cu handicap ( " + Rate(g.Handicap) + " % )" + " " +
                Whole(f.FondHandicap - x) + " + Fond suplimentar ( " + Rate(g.PersHandi) + " % ) " +
                Whole(x),
            "", f.FondHandicap);
    TaxLine("Comision CM " + Rate(p.company.ComisionCM) + " %", "", f.FondCM);
    TaxLine("Fond invatamint " + Rate(g.Invat) + " %", "", f.FondInvat);
    TaxLine("Fond risc si accidente " + Rate(g.Accident) + " %", "", f.FondAccident);

    BlockTitle("Taxe Angajati");
    TaxLine("Fond CASS " + Rate(g.SanatateAng) + " %", "", health_employees);
    TaxLine(g.SalMedEc != 0 ? "Fond CIAS   " + Rate(g.Pensie) + " %"
                            : "Fond pensie " + Rate(g.Pensie) + " %",
            "", sums_.total[statement::kPensie]);
    TaxLine("Fond somaj  ", "", employees_unemployment);
    TaxLine("Impozit ", "", sums_.total[statement::kImpozit]);

    if (p.company.StatAscUnic != 0) {
      BlockTitle("Taxe datorate institutiilor de stat pt. patron");
      for (const char* caption :
           {"Contract de asigurare", "CAS", "Pensie suplimentara", "Fond sanatate"}) {
        TaxLine(caption, "", std::nullopt);
      }
    }

    Band signatures(14);
    signatures.Text({grid_.left() + 20, 7, 60, 5}, "Director", Font{9}.Bold());
    signatures.Text({grid_.right() - 90, 7, 60, 5}, "Contabil sef", Font{9}.Bold());
    composer_.AddClosing(std::move(signatures));
  }

  const StatementData& data_;
  PageComposer& composer_;
  const Grid& grid_;
  StatementSums sums_;
  int number_ = 0;
};

}  // namespace

std::optional<Report> PayrollStatement(const DocumentContext& context) {
  params::Session& session = context.session;
  auto data = std::make_shared<StatementData>();
  data->rows = DocumentRows(session, session.working_month());
  if (data->rows.empty()) return std::nullopt;
  data->parameters = session.parameters();
  data->company = RebuildCompanyTotals(session, data->rows);
  data->employer = EmployerName(session);
  data->month = session.working_month();
  data->by_department = session.department_count() > 1;
  data->stamp = context.stamp;
  const engine::CompanyParameters& c = data->parameters.company;
  for (int n = 0; n < 4; ++n) data->captions.bonuses[n] = BonusColumnOf(c.spor[n]);
  const engine::GeneralParameters& g = data->parameters.general;
  data->captions.pension = (g.SalMedEc != 0 ? "CIAS " : "Pensie ") + Rate(g.Pensie) + " %";
  data->captions.deductions = DeductionCaptionsOf(c);
  // Every sum of a figure is at most the sum of its rows' magnitudes: the
  // columns are sized for that before the first page is laid out.
  statement::WidestFigures widest;
  int number = 0;
  for (const PersRow& row : data->rows) {
    const engine::ReportFigures figures = engine::ComputeReportFigures(row, data->parameters);
    statement::BlockTexts texts = SizedTexts(row, figures, data->captions);
    texts.number = std::to_string(++number);
    widest.Add(statement::RowValues(row, figures), texts);
  }
  const PageSetup setup = PageSetup::A4(Orientation::kLandscape);
  data->grid.emplace(setup, widest);

  Report report;
  report.title = kStatementTitle;
  report.setup = setup;
  report.lay_out = [data](PageComposer& composer) { StatementLayout(*data, composer).Run(); };
  return report;
}

}  // namespace traveno::reports
