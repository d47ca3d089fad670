#include "reports/situations_and_lists.h"

#include <array>
#include <memory>

#include "core/numbers.h"
#include "core/store/sqlite.h"
#include "reports/table_layout.h"
#include "reports/text_width.h"

namespace traveno::reports {
namespace {

// The lines of a list's page header; the table's headings go under them.
struct ListHeader {
  std::string top_left;  // the filter text, or the employer line
  std::string employer;  // a second line under it (may be empty)
  std::string title;
};

Band ListPageHeader(const PageSetup& setup, const ListHeader& header, const PrintStamp& stamp,
                    int page) {
  const double left = setup.content_left();
  const double width = setup.content_width();
  Band band(header.employer.empty() ? 17 : 21);
  band.Text({left, 0, width * 0.65, 4}, header.top_left, Font{8}.Bold());
  band.Text({left + width * 0.65, 0, width * 0.35, 4},
            "Data: " + stamp.DateText() + "   Pagina: " + std::to_string(page), Font{8},
            Align::kRight);
  double y = 5;
  if (!header.employer.empty()) {
    band.Text({left, y, width, 4}, header.employer, Font{8}.Bold());
    y += 4.5;
  }
  band.Text({left, y + 1, width, 6}, header.title, Font{11}.Bold(), Align::kCenter);
  return band;
}

// A situation's days ("#,##0 ") and amounts ("#,##0.00 ").
std::string DaysText(long double days) { return FormatNumber(days, NumberMask::kInteger) + " "; }
std::string AmountText(long double amount) {
  return FormatNumber(amount, NumberMask::kTwoDecimals) + " ";
}

struct LeaveRow {
  std::string nume, prenume, functie;
  long double days = 0, first = 0, second = 0;
};

struct SituationData {
  std::vector<LeaveRow> rows;
  std::string employer;
  std::string title;
  const char* headings[3];
  PrintStamp stamp;
};

Report Situation(const DocumentContext& context, Date month, bool medical) {
  params::Session& session = context.session;
  auto data = std::make_shared<SituationData>();
  const std::string sql =
      medical ? "SELECT NUME, PRENUME, FUNCTIE, ZILE_CM, CM1L, CM2L FROM firma.Pers "
                "WHERE LUNA = ? AND (ZILE_CM <> 0 OR CM1L <> 0 OR CM2L <> 0) "
                "ORDER BY NUME, PRENUME, Nr"
              : "SELECT NUME, PRENUME, FUNCTIE, ZILE_CO, SUMA_ZILE_CO, 0 FROM firma.Pers "
                "WHERE LUNA = ? AND (ZILE_CO <> 0 OR SUMA_ZILE_CO <> 0) "
                "ORDER BY NUME, PRENUME, Nr";
  Statement query = session.db().Prepare(sql);
  query.Bind(1, FirstOfMonth(month));
  while (query.Step()) {
    data->rows.push_back({query.Text(0), query.Text(1), query.Text(2), query.Double(3),
                          query.Double(4), query.Double(5)});
  }
  data->employer = EmployerName(session);
  data->title = std::string(medical ? "Situatie concedii medicale pe luna "
                                    : "Situatie concedii legale pe luna ") +
                std::string(MonthName(MonthOf(month))) + " " + std::to_string(YearOf(month));
  if (medical) {
    data->headings[0] = "Zile CM ";
    data->headings[1] = "CM Firma ";
    data->headings[2] = "CM Stat ";
  } else {
    data->headings[0] = "Zile CO ";
    data->headings[1] = "Suma zile CO ";
    data->headings[2] = nullptr;
  }
  data->stamp = context.stamp;

  Report report;
  report.title = data->title;
  report.setup = PageSetup::A4(Orientation::kPortrait);
  report.lay_out = [data](PageComposer& composer) {
    // The figures' columns are sized for their widest figure.
    std::array<std::string, 3> widest;
    const Font font{8};
    auto keep_wider = [&](std::string& kept, std::string text) {
      if (TextWidth(text, font) > TextWidth(kept, font)) kept = std::move(text);
    };
    for (const LeaveRow& row : data->rows) {
      keep_wider(widest[0], DaysText(row.days));
      keep_wider(widest[1], AmountText(row.first));
      keep_wider(widest[2], AmountText(row.second));
    }
    std::vector<TableColumn> columns = {{10, Align::kRight, " Nr. Crt."},
                                        {30, Align::kLeft, " Nume"},
                                        {30, Align::kLeft, " Prenume"},
                                        {36, Align::kLeft, " Functie"},
                                        {14, Align::kRight, data->headings[0], widest[0]},
                                        {22, Align::kRight, data->headings[1], widest[1]}};
    if (data->headings[2] != nullptr) {
      columns.push_back({22, Align::kRight, data->headings[2], widest[2]});
    }
    const Table table(composer.setup(), std::move(columns));
    composer.SetPageHeader([data, table, setup = composer.setup()](int page) {
      Band band =
          ListPageHeader(setup, {" Firma: " + data->employer, "", data->title}, data->stamp, page);
      band.Append(table.Headings());
      return band;
    });
    int number = 0;
    const bool medical = data->headings[2] != nullptr;
    for (const LeaveRow& row : data->rows) {
      if (composer.cancelled()) return;
      std::vector<std::string> cells = {std::to_string(++number), " " + row.nume,
                                        " " + row.prenume,        " " + row.functie,
                                        DaysText(row.days),       AmountText(row.first)};
      if (medical) cells.push_back(AmountText(row.second));
      composer.Add(table.Row(cells));
    }
  };
  return report;
}

struct PersonnelData {
  PersonnelListKind kind;
  std::string heading;
  std::vector<personnel::PersonLine> lines;
  std::string filter_text;
  std::string employer;
  PrintStamp stamp;
};

struct InsuredData {
  std::vector<personnel::InsuredLine> lines;
  std::string filter_text;
  std::string employer;
  std::string title;
  PrintStamp stamp;
};

}  // namespace

Report MedicalLeaveSituation(const DocumentContext& context, Date month) {
  return Situation(context, month, true);
}

Report HolidaySituation(const DocumentContext& context, Date month) {
  return Situation(context, month, false);
}

std::string FilterText(const std::optional<std::string>& active_filter) {
  return active_filter ? " * Filtru activ: " + *active_filter : std::string(" ");
}

Report PersonnelList(const DocumentContext& context, PersonnelListKind kind, std::string heading,
                     std::vector<personnel::PersonLine> lines, std::string filter_text) {
  auto data = std::make_shared<PersonnelData>();
  data->kind = kind;
  data->heading = std::move(heading);
  data->lines = std::move(lines);
  data->filter_text = std::move(filter_text);
  data->employer = EmployerName(context.session);
  data->stamp = context.stamp;
  Report report;
  report.title = data->heading;
  report.setup = PageSetup::A4(Orientation::kPortrait);
  report.lay_out = [data](PageComposer& composer) {
    const Table table(composer.setup(),
                      {{9, Align::kRight, " NrCrt"},
                       {10, Align::kRight, " Marca"},
                       {24, Align::kLeft, " Nume"},
                       {24, Align::kLeft, " Prenume"},
                       {22, Align::kLeft, " Cod numeric"},
                       {30, Align::kLeft, " Functie"},
                       {15, Align::kLeft,
                        data->kind == PersonnelListKind::kHired ? " Data ang." : " Data lich."}},
                      Font{7.5});
    composer.SetPageHeader([data, table, setup = composer.setup()](int page) {
      Band band = ListPageHeader(setup, {data->filter_text, data->employer, data->heading},
                                 data->stamp, page);
      band.Append(table.Headings());
      return band;
    });
    int number = 0;
    for (const personnel::PersonLine& line : data->lines) {
      if (composer.cancelled()) return;
      composer.Add(table.Row({std::to_string(++number), " " + std::to_string(line.Marca),
                              " " + line.Nume, " " + line.Prenume, " " + line.CodNumPers,
                              " " + line.Functie, " " + line.Data.ToText()}));
    }
  };
  return report;
}

Report HiredList(const DocumentContext& context, Date month) {
  return PersonnelList(context, PersonnelListKind::kHired, personnel::HiredHeading(month),
                       personnel::HiredInMonth(context.session, month), FilterText(std::nullopt));
}

Report LeftList(const DocumentContext& context, Date month) {
  return PersonnelList(context, PersonnelListKind::kLeft, personnel::LeftHeading(month),
                       personnel::LeftInMonth(context.session, month), FilterText(std::nullopt));
}

Report InsuredPersonsList(const DocumentContext& context, std::vector<personnel::InsuredLine> lines,
                          std::string filter_text) {
  params::Session& session = context.session;
  auto data = std::make_shared<InsuredData>();
  data->lines = std::move(lines);
  data->filter_text = std::move(filter_text);
  data->employer = EmployerName(session);
  const Date month = session.working_month();
  data->title = "Lista nominala persoane asigurate si coasigurate pe luna : " +
                std::string(MonthName(MonthOf(month))) + " / " + std::to_string(YearOf(month)) +
                " (conf.OUG 150/2002)";
  data->stamp = context.stamp;
  Report report;
  report.title = kInsuredTitle;
  report.setup = PageSetup::A4(Orientation::kLandscape);
  report.lay_out = [data](PageComposer& composer) {
    const Table table(composer.setup(),
                      {{8, Align::kRight, " Nr.Crt"},
                       {46, Align::kLeft, " Numele si prenumele"},
                       {26, Align::kLeft, "CNP-ul coasiguratului "},
                       {26, Align::kLeft, "Calitatea de coasigurat"},
                       {46, Align::kLeft, "Numele si  prenumele angajatului"},
                       {40, Align::kLeft, "Cod Numeric personal al angajatului"}},
                      Font{8});
    composer.SetPageHeader([data, table, setup = composer.setup()](int page) {
      Band band = ListPageHeader(setup, {data->filter_text, data->employer, data->title},
                                 data->stamp, page);
      // "Persoana aflata in intretinere" over the dependant's three columns.
      Band group(5);
      group.Box({table.x(1), 0.3, table.x(4) - table.x(1), 4.6}, 0.25, 235);
      group.Text({table.x(1), 0.5, table.x(4) - table.x(1), 4.2}, "Persoana aflata in intretinere",
                 Font{8}.Bold(), Align::kCenter);
      band.Append(std::move(group));
      band.Append(table.Headings());
      return band;
    });
    int number = 0;
    for (const personnel::InsuredLine& line : data->lines) {
      if (composer.cancelled()) return;
      composer.Add(table.Row({std::to_string(++number), " " + line.Nume + "  " + line.Prenume,
                              " " + line.CodNumPers, " " + line.Kalitate,
                              " " + line.NumeA + "  " + line.PrenumeA, " " + line.CodNumPersA}));
    }
  };
  return report;
}

Report InsuredPersonsList(const DocumentContext& context) {
  return InsuredPersonsList(context, personnel::InsuredPersons(context.session),
                            FilterText(std::nullopt));
}

}  // namespace traveno::reports
