#include "reports/advance_statements.h"

#include <cmath>
#include <memory>

#include "core/store/row_io.h"
#include "core/text.h"
#include "reports/grouping.h"
#include "reports/table_layout.h"

namespace traveno::reports {
namespace {

// Advances below this are never printed (a rounding residue is no advance).
constexpr double kSmallestAdvance = 0.001;

struct AdvanceData {
  std::vector<PersRow> rows;
  double pag_colab = 0;
  std::string employer;
  Date month;
  bool by_department = false;
  PrintStamp stamp;
};

std::shared_ptr<AdvanceData> LoadAdvances(const DocumentContext& context) {
  params::Session& session = context.session;
  auto data = std::make_shared<AdvanceData>();
  data->rows = QueryRows<PersRow>(session.db(),
                                  "SELECT * FROM firma.Pers WHERE LUNA = ? AND AVANS > 0 "
                                  "ORDER BY LUNA, Depart, TIP, CATEGORIE, MARCA, Nr",
                                  session.working_month());
  if (data->rows.empty()) return nullptr;
  data->pag_colab = session.parameters().company.PagColab;
  data->employer = EmployerName(session);
  data->month = session.working_month();
  data->by_department = session.department_count() > 1;
  data->stamp = context.stamp;
  return data;
}

// `widest`: the widest amount the statement prints, its total's text.
Table AdvanceTable(const PageSetup& setup, const char* amount_heading, std::string widest) {
  return Table(setup, {{9, Align::kRight, "Nr.Ctr."},
                       {52, Align::kLeft, " Nume Prenume"},
                       {44, Align::kLeft, " Functie"},
                       {22, Align::kRight, amount_heading, std::move(widest)},
                       {34, Align::kLeft, " Semnatura"}});
}

Band TableHeader(const PageSetup& setup, const std::string& employer, const char* title, Date month,
                 const PrintStamp& stamp, int page, const Table& table) {
  Band band =
      StandardHeader(setup, {employer, title, "pentru luna " + MonthSlashYear(month)}, stamp, page);
  band.Append(table.Headings());
  return band;
}

// A detail row with a line to sign on (the signature cell holds a blank,
// so no text runs on over it).
Band SignedRow(const Table& table, std::vector<std::string> cells) {
  cells.resize(table.size());
  cells.back() = " ";
  Band band = table.Row(cells);
  const std::size_t sign = table.size() - 1;
  band.Line(table.x(sign) + 3, table.row_height() - 0.6, table.right() - 3,
            table.row_height() - 0.6, 0.1);
  return band;
}

void LayOutAdvanceStatement(const AdvanceData& data, PageComposer& composer) {
  long double printed = 0;
  for (const PersRow& row : data.rows) {
    if (row.AVANS >= kSmallestAdvance) printed += row.AVANS;
  }
  const Table table = AdvanceTable(composer.setup(), "Avans ", WidestAmount(printed, false));
  composer.SetPageHeader([&data, table, setup = composer.setup()](int page) {
    return TableHeader(setup, data.employer, kAdvanceTitle, data.month, data.stamp, page, table);
  });
  long double department_sum = 0;
  long double kind_sum = 0;
  long double total = 0;
  int number = 0;
  auto kind_text = [&](const PersRow& row) {
    std::string text = row.TIP == "1" ? " PERMANENTII" : " CONTRACTE PARTIALE";
    if (data.by_department) text += " DE LA DEPARTAMENTUL " + UpperTrim(row.Depart);
    return text;
  };
  WalkGroups(
      data.rows, 2,
      [&](const PersRow& row) {
        return std::vector<std::string>{data.by_department ? UpperTrim(row.Depart) : "",
                                        row.TIP == "1" ? "1" : "2"};
      },
      [&](std::size_t level, const PersRow& first) {
        if (level == 0) {
          if (!data.by_department) return;
          composer.BreakPage();
          composer.Add(table.Line("Departamentul: " + UpperTrim(first.Depart)),
                       2 * table.row_height());
          return;
        }
        if (first.TIP != "1" && data.pag_colab == 1) composer.BreakPage();
        composer.Add(table.Line(kind_text(first)), table.row_height());
      },
      [&](const PersRow& row) {
        if (row.AVANS < kSmallestAdvance) return;
        department_sum += row.AVANS;
        kind_sum += row.AVANS;
        total += row.AVANS;
        composer.Add(SignedRow(table, {std::to_string(++number), " " + row.NUME + " " + row.PRENUME,
                                       " " + row.FUNCTIE, Amount(row.AVANS), ""}));
      },
      [&](std::size_t level, const PersRow& last) {
        if (level == 1) {
          composer.AddClosing(
              table.Row({"", "SUBTOTAL" + kind_text(last), "", Amount(kind_sum)}, true));
          kind_sum = 0;
        } else if (data.by_department) {
          composer.AddClosing(table.Row(
              {"", "SUBTOTAL DEPARTAMENTUL: " + UpperTrim(last.Depart), "", Amount(department_sum)},
              true));
          department_sum = 0;
        }
      },
      [&] { return composer.cancelled(); });
  if (composer.cancelled()) return;
  composer.AddClosing(table.Row({"", "TOTAL GENERAL", "", Amount(total)}, true));
}

Band AdvanceSlip(const AdvanceData& data, const PersRow& row, double width,
                 const std::string& under) {
  constexpr double kPitch = 4.2;
  const Font font{8};
  Band band(7 * kPitch + 2);
  band.Box({0, 0, width, 6 * kPitch + 1.6}, 0.2);
  std::string firm = "Firma: " + data.employer;
  if (data.by_department) firm += " -- " + UpperTrim(row.Depart);
  const double inner = width - 2.4;
  band.Text({1.2, 0.5, inner, kPitch}, firm, font.Bold());
  band.Text({1.2, 0.5 + kPitch, inner, kPitch}, MonthSlashYear(data.month), font);
  band.Text({1.2, 0.5 + 2 * kPitch, inner, kPitch}, " " + row.NUME + " " + row.PRENUME,
            font.Bold());
  band.Text({1.2, 0.5 + 3 * kPitch, 14, kPitch}, "Marca", font);
  band.Text({15, 0.5 + 3 * kPitch, 20, kPitch}, std::to_string(row.MARCA), font);
  band.Text(
      {width / 2, 0.5 + 3 * kPitch, width / 2 - 1.2, kPitch},
      row.TIP == "1" ? std::string(" Permanent ") : "C. Partial " + Rate(row.Ore_Zi) + " Ore/Zi",
      font);
  band.Text({1.2, 0.5 + 4 * kPitch, inner, kPitch}, "Functie: " + row.FUNCTIE, font);
  band.Text({1.2, 0.5 + 5 * kPitch, 14, kPitch}, "Avans", font.Bold());
  band.Text({width / 2, 0.5 + 5 * kPitch, width / 2 - 1.2, kPitch}, Amount(row.AVANS), font.Bold(),
            Align::kRight);
  band.Text({1.2, 6 * kPitch + 2, inner, kPitch}, under, Font{7.5}, Align::kRight);
  return band;
}

void LayOutAdvanceSlips(const AdvanceData& data, PageComposer& composer) {
  const PageSetup& setup = composer.setup();
  constexpr double kGap = 4;
  const double width = (setup.content_width() - kGap) / 2;
  const double height = AdvanceSlip(data, data.rows.front(), width, "").height() + 3;
  const int slots = static_cast<int>((setup.content_bottom() - setup.content_top()) / height);
  int slot = 0;
  std::string department = UpperTrim(data.rows.front().Depart);
  double pag_colab = data.pag_colab;
  for (const PersRow& row : data.rows) {
    if (composer.cancelled()) return;
    bool new_page = slot == slots;
    if (data.by_department && UpperTrim(row.Depart) != department) {
      department = UpperTrim(row.Depart);
      pag_colab = data.pag_colab;
      new_page = true;
    }
    if (pag_colab == 1 && row.TIP == "2") {
      pag_colab = 0;
      new_page = true;
    }
    if (row.AVANS < kSmallestAdvance) continue;
    if (new_page && slot > 0) {
      composer.BreakPage();
      slot = 0;
    }
    const double y = setup.content_top() + slot * height;
    composer.Place(AdvanceSlip(data, row, width, "Semnatura"), setup.content_left(), y);
    composer.Place(
        AdvanceSlip(data, row, width, "Conducerea firmei va multumeste pentru efortul depus."),
        setup.content_left() + width + kGap, y);
    ++slot;
  }
}

struct HolidayData {
  std::vector<HolidayAdvanceLine> lines;
  std::string employer;
  Date month;
  bool by_department = false;
  PrintStamp stamp;
};

void LayOutHolidayAdvance(const HolidayData& data, PageComposer& composer) {
  long double printed = 0;
  bool negative = false;
  for (const HolidayAdvanceLine& line : data.lines) {
    if (!line.Listare) continue;
    printed += std::fabs(line.Avans_Co);
    negative = negative || line.Avans_Co < 0;
  }
  const Table table = AdvanceTable(composer.setup(), "Avans ", WidestAmount(printed, negative));
  composer.SetPageHeader([&data, table, setup = composer.setup()](int page) {
    return TableHeader(setup, data.employer, kHolidayAdvanceTitle, data.month, data.stamp, page,
                       table);
  });
  // The running number is the line's place in the window's table.
  std::vector<std::pair<int, const HolidayAdvanceLine*>> numbered;
  for (std::size_t i = 0; i < data.lines.size(); ++i) {
    numbered.emplace_back(static_cast<int>(i) + 1, &data.lines[i]);
  }
  long double department_sum = 0;
  long double total = 0;
  WalkGroups(
      numbered, 1,
      [&](const auto& entry) {
        return std::vector<std::string>{data.by_department ? UpperTrim(entry.second->Depart) : ""};
      },
      [&](std::size_t, const auto& first) {
        if (!data.by_department) return;
        composer.BreakPage();
        composer.Add(table.Line("Departamentul: " + UpperTrim(first.second->Depart)),
                     table.row_height());
      },
      [&](const auto& entry) {
        const HolidayAdvanceLine& line = *entry.second;
        if (!line.Listare) return;
        department_sum += line.Avans_Co;
        total += line.Avans_Co;
        composer.Add(
            SignedRow(table, {std::to_string(entry.first), " " + line.Nume + " " + line.Prenume,
                              " " + line.Functie, Amount(line.Avans_Co), ""}));
      },
      [&](std::size_t, const auto& last) {
        if (!data.by_department) return;
        composer.AddClosing(
            table.Row({"", "SUBTOTAL DEPARTAMENTUL: " + UpperTrim(last.second->Depart), "",
                       Amount(department_sum)},
                      true));
        department_sum = 0;
      },
      [&] { return composer.cancelled(); });
  if (composer.cancelled()) return;
  composer.AddClosing(table.Row({"", "TOTAL", "", Amount(total)}, true));
}

}  // namespace

std::optional<Report> AdvanceStatement(const DocumentContext& context) {
  std::shared_ptr<AdvanceData> data = LoadAdvances(context);
  if (!data) return std::nullopt;
  return Report{kAdvanceTitle, PageSetup::A4(Orientation::kPortrait),
                [data](PageComposer& composer) { LayOutAdvanceStatement(*data, composer); }};
}

std::optional<Report> AdvanceSlips(const DocumentContext& context) {
  std::shared_ptr<AdvanceData> data = LoadAdvances(context);
  if (!data) return std::nullopt;
  return Report{kAdvanceSlipsTitle, PageSetup::A4(Orientation::kPortrait),
                [data](PageComposer& composer) { LayOutAdvanceSlips(*data, composer); }};
}

std::vector<HolidayAdvanceLine> HolidayAdvanceLines(params::Session& session) {
  std::vector<HolidayAdvanceLine> lines;
  for (const PersRow& row :
       QueryRows<PersRow>(session.db(),
                          "SELECT * FROM firma.Pers WHERE LUNA = ? AND AVANS_CO <> 0 "
                          "ORDER BY Depart, CATEGORIE, MARCA, Nr",
                          session.working_month())) {
    lines.push_back({row.IID, row.Depart, row.CATEGORIE, row.MARCA, row.NUME, row.PRENUME,
                     row.FUNCTIE, row.SALINC, row.AVANS_CO, false});
  }
  return lines;
}

Report HolidayAdvanceStatement(const DocumentContext& context,
                               std::vector<HolidayAdvanceLine> lines) {
  params::Session& session = context.session;
  auto data = std::make_shared<HolidayData>();
  data->lines = std::move(lines);
  data->employer = EmployerName(session);
  data->month = session.working_month();
  data->by_department = session.department_count() > 1;
  data->stamp = context.stamp;
  return Report{kHolidayAdvanceTitle, PageSetup::A4(Orientation::kPortrait),
                [data](PageComposer& composer) { LayOutHolidayAdvance(*data, composer); }};
}

}  // namespace traveno::reports
