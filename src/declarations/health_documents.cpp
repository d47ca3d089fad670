#include "declarations/health_documents.h"

#include <array>
#include <cstdio>
#include <memory>

#include "core/numbers.h"
#include "core/text.h"
#include "declarations/declaration_files.h"
#include "declarations/declaration_print.h"

namespace traveno::declarations {
namespace {

using namespace print;  // NOLINT: the printing vocabulary of this file
using reports::Orientation;
using reports::PageComposer;
using reports::PageSetup;

// "#,##0.##" followed by a blank.
std::string Amount(long double value) { return UpToTwoDecimals(value); }

// A value between two blanks.
std::string Between(std::string_view text) { return " " + std::string(text) + " "; }

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

const Font kFont{8};
// The height of a line of the page and of the boxes on it.
constexpr double kStep = 5.5;
constexpr double kBox = 4.8;

// A label and its value in a box after it.
void Field(Band& band, double x, double y, double label_width, std::string_view label,
           double box_width, std::string_view value, Align align = Align::kLeft) {
  band.Text({x, y, label_width, kBox}, std::string(label), kFont);
  ValueBox(band, {x + label_width, y, box_width, kBox}, value, kFont, align);
}

// The lines of a section: the label on the left, the amount in a box.
void AmountLines(Band& band, double x, double y,
                 const std::vector<std::pair<std::string, std::string>>& lines) {
  for (const auto& [label, value] : lines) {
    band.Text({x, y, 110, kBox}, label, kFont);
    ValueBox(band, {x + 112, y, 45, kBox}, value, kFont, Align::kRight);
    y += kStep;
  }
}

void LayOutDeclaration(const HealthPrint& p, PageComposer& composer) {
  const PageSetup& setup = composer.setup();
  const double left = setup.content_left();
  const double width = setup.content_width();
  const FirmeRow firm = p.employer ? p.employer->row : FirmeRow{};
  Band page(setup.content_bottom() - setup.content_top());
  double y = 0;

  ValueBox(page, {left + width - 50, y, 50, 10}, "COD DE BARE", Font{8}, Align::kCenter);
  y += 11;
  WrappedText(page, {left + 10, y, width - 20, 9},
              "DECLARATIE PRIVIND OBLIGATIILE DE PLATA LA FONDUL DE ASIGURARI DE SANATATE",
              Font{11}.Bold());
  y += 12;
  Field(page, left + 60, y, 25, "LUNA / ANUL", 45,
        std::string(MonthName(p.month.month())) + " " + std::to_string(p.month.year()) + " ",
        Align::kCenter);
  y += 8;

  const std::string fiscal_code = firm.TipAngaj == 1 && p.employer ? p.employer->fiscal_code : "";
  Field(page, left, y, 35, " Denumire angajator", 95, Value(firm.Denumire));
  Field(page, left + 132, y, 28, " CUI (Cod fiscal)", 30, Value(fiscal_code));
  y += kStep + 1;
  Field(page, left, y, 20, " Localitate", 45, Between(firm.Localitate));
  Field(page, left + 67, y, 14, " Strada", 60, Between(firm.Strada));
  Field(page, left + 143, y, 9, " Nr.", 15, Between(firm.Numar));
  Field(page, left + 169, y, 10, " Bloc", 11, Between(firm.Bloc));
  y += kStep + 1;
  Field(page, left, y, 9, " Sc.", 12, Between(firm.Scara));
  Field(page, left + 23, y, 9, " Ap.", 12, Between(firm.Ap));
  Field(page, left + 46, y, 14, " Sector", 10, Between(firm.Sector));
  Field(page, left + 72, y, 16, " Telefon", 40, Between(firm.Telefon));
  y += kStep + 1;
  Field(page, left, y, 24, " Cont bancar", 60, Between(firm.Cont1));
  Field(page, left + 86, y, 14, " Banca", 90, Between(firm.Banca1));
  y += 8;

  page.Text({left, y, width, 5},
            "1. Contributia la Fass, potrivit Legii nr 145/1997 cu "
            "modificarile si",
            kFont.Bold());
  page.Text({left, y + 4.2, width, 5}, "completarile ulterioare:", kFont.Bold());
  y += 10;
  const std::optional<Date> pay_date = PayDate(p.month, p.zi_lichidare);
  page.Text({left, y, 65, kBox}, " Data lichidarii drepturilor salariale", kFont);
  page.Text({left + 66, y - 3.6, 20, 3.6}, " ZZ LL", Font{6.5});
  ValueBox(page, {left + 66, y, 20, kBox},
           pay_date ? " " + TwoDigits(pay_date->day()) + " " + TwoDigits(pay_date->month()) + "  "
                    : std::string(),
           kFont);
  Field(page, left + 100, y, 40, "Nr. persoane asigurate", 20,
        std::to_string(p.computed.insured) + " ", Align::kRight);
  y += 8;

  const HealthSections& s = p.stored;
  page.Text({left, y, width, 5}, " A. Contributie angajator", kFont.Bold());
  AmountLines(page, left + 6, y + kStep,
              {{" a. Fond salarii", Amount(p.computed.salary_fund)},
               {" b. Contributie datorata", Amount(s[0].paid)},
               {" c. Sume restante", Amount(s[0].arrears)},
               {" d. Majorari intarzieri", Amount(s[0].increases)},
               {" e. Total contributii de achitat (b+c+d)", Amount(s[0].Total())}});
  y += 6 * kStep + 1.5;
  page.Text({left, y, width, 5}, "B. Contributia asiguratilor", kFont.Bold());
  AmountLines(page, left + 6, y + kStep,
              {{" a. Venit brut realizat", Amount(p.computed.gross_income)},
               {" b. Contributie datorata", Amount(s[1].paid)},
               {" c. Sume restante", Amount(s[1].arrears)},
               {" d. Majorari intarzieri", Amount(s[1].increases)},
               {" e. Total contributii de achitat (b+c+d)", Amount(s[1].Total())}});
  y += 6 * kStep + 1.5;
  page.Text({left, y, width, 5},
            " C. Contributia pentru persoanele asigurate conform art.55 din Legea 145/97",
            kFont.Bold());
  AmountLines(page, left + 6, y + kStep,
              {{" a. Contributie datorata", Amount(s[2].paid)},
               {" b. Sume restante", Amount(s[2].arrears)},
               {" c.Majorari intarzieri", Amount(s[2].increases)},
               {" d. Total contributii de achitat (a+b+c)", Amount(s[2].Total())}});
  y += 5 * kStep + 1.5;
  page.Text({left, y, 116, kBox}, " Total contributii de achitat [A(e)+B(e)+C(d)]", kFont.Bold());
  ValueBox(page, {left + 118, y, 45, kBox}, Amount(s[0].Total() + s[1].Total() + s[2].Total()),
           kFont.Bold(), Align::kRight);
  y += 8;

  page.Text({left, y, width, 5}, " 2. Documente de plata", kFont.Bold());
  y += kStep;
  for (int i = 0; i < 3; ++i) {
    Field(page, left + 6 + 62 * i, y, 17, " O.P. nr", 22, "");
    Field(page, left + 6 + 62 * i, y + kStep, 17, " Data O.P.", 22, "");
  }
  y += 2 * kStep + 1.5;

  const char* const statement[] = {
      "Sub sanctiunea faptei de fals in acte publice, declar ca am verificat datele din "
      "prezenta",
      "declaratie si in conformitate cu informatiile furnizate, o declar corecta si completa.",
      "Prezentul titlu de creanta devine titlu executoriu, la data la care ",
      "creanta este scadenta conform legii."};
  for (const char* line : statement) {
    page.Text({left, y, width, 4.2}, line, Font{7.5}.Bold());
    y += 4.2;
  }
  y += 2;
  const DeclarationSigner& signer = p.header.signer;
  Field(page, left, y, 16, " Nume", 60, Value(signer.nume));
  Field(page, left + 80, y, 18, " Prenume", 60, Value(signer.prenume));
  y += kStep + 0.5;
  Field(page, left, y, 16, " Functie", 60, Value(signer.functie));
  const Date date = p.header.date;
  Field(page, left + 80, y, 18, " Data", 30,
        date.IsEmpty() ? std::string()
                       : " " + TwoDigits(date.day()) + " " + TwoDigits(date.month()) + " " +
                             std::to_string(date.year()) + " ");
  y += kStep + 0.5;
  page.Text({left, y + 3, 40, kBox}, " Semnatura si stampila", kFont);
  page.Box({left + 40, y, 60, 12}, 0.2);
  y += 14.5;

  page.Text({left, y, 30, 5}, " ANEXE: **", kFont.Bold());
  const std::string month_text =
      " " + TwoDigits(p.month.month()) + " " + std::to_string(p.month.year());
  const std::array<std::pair<bool, std::string>, 3> annexes = {{
      {p.lists.nominal, " Lista nominala angajati"},
      {p.lists.entering, " Lista persoanelor intrate in activitate in luna " + month_text},
      {p.lists.leaving, " Lista persoanelor iesite din activitate in luna " + month_text},
  }};
  for (const auto& [checked, text] : annexes) {
    ValueBox(page, {left + 30, y, 7, kBox}, checked ? " X" : "", kFont);
    page.Text({left + 39, y, 140, kBox}, text, kFont);
    y += kStep;
  }
  y += 2;
  const char* const notes[] = {
      "** Se bifeaza casuta aferenta in cazul depunerii listelor",
      "*  Se transmite periodic la casele de asigurari de sanatate in termen de 20 zile ",
      "de la expirarea perioadei pentru care se datoreaza contributiile de asigurari de "
      "sanatate."};
  for (const char* line : notes) {
    page.Text({left, y, width, 3.8}, line, Font{7});
    y += 3.8;
  }
  page.set_height(y);
  composer.Add(std::move(page));
}

struct ListColumn {
  double width;
  const char* heading;
};

struct ListData {
  std::string employer;
  HealthList list;
  std::vector<HealthListRow> rows;
};

const char* TitleOf(HealthList list) {
  switch (list) {
    case HealthList::kEntering:
      return "nominala a persoanelor care intra in activitate";
    case HealthList::kLeaving:
      return "nominala a persoanelor care ies din activitate";
    case HealthList::kNominal:
      break;
  }
  return "nominala a persoanelor asigurate pentru care se plateste contributia de asigurari "
         "sociale de sanatate";
}

std::array<ListColumn, 6> ColumnsOf(HealthList list) {
  std::array<ListColumn, 6> columns = {{{12, " Nr.Crt."},
                                        {55, " Numele si prenumele                 "},
                                        {30, " Cod numeric personal"},
                                        {33, "Categoria de asigurat"},
                                        {28, ""},
                                        {32, ""}}};
  if (list == HealthList::kEntering) {
    columns[4].heading = "Data intrarii in activitate";
    columns[5].heading = "Loc de munca anterior (codul fiscal)";
  } else if (list == HealthList::kLeaving) {
    columns[4].heading = "Data iesirii din activitate";
    columns[5].heading = "      Plecat la          (codul fiscal)";
  }
  return columns;
}

Band ListHeader(const PageSetup& setup, const ListData& data) {
  const double left = setup.content_left();
  const double width = setup.content_width();
  Band band(42);
  band.Text({left, 0, width, 5}, Value(data.employer), Font{9}.Bold());
  band.Text({left, 8, width, 7}, "LISTA", Font{12}.Bold(), Align::kCenter);
  WrappedText(band, {left + 15, 15, width - 30, 9}, TitleOf(data.list), Font{9.5}.Bold());
  const bool boxed = data.list != HealthList::kNominal;
  double x = left;
  const auto columns = ColumnsOf(data.list);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const Rect box{x, 27, columns[c].width, 13};
    if (c < 4 || boxed) {
      HeadingCell(band, box, columns[c].heading, Font{7.5}.Bold());
    }
    x += columns[c].width;
  }
  return band;
}

void LayOutList(const ListData& data, PageComposer& composer) {
  const PageSetup& setup = composer.setup();
  composer.SetPageHeader([&data, setup](int) { return ListHeader(setup, data); });
  composer.SetPageFooter([setup](int page) {
    Band footer(6);
    footer.Text({setup.content_left(), 1, setup.content_width(), 4},
                "Pagina " + std::to_string(page), Font{7}, Align::kRight);
    return footer;
  });
  const bool boxed = data.list != HealthList::kNominal;
  const auto columns = ColumnsOf(data.list);
  int number = 0;
  for (const HealthListRow& row : data.rows) {
    if (composer.cancelled()) return;
    const std::string date = row.date.IsEmpty() ? std::string() : " " + row.date.ToText();
    const std::array<std::string, 6> cells = {
        std::to_string(++number) + " ", " " + row.nume + " " + row.prenume,
        " " + row.codnumpers,           " " + row.categoria,
        boxed ? date : std::string(),   std::string()};
    Band band(6);
    double x = setup.content_left();
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (c < 4 || boxed) band.Box({x, 0, columns[c].width, 6}, 0.15);
      if (!cells[c].empty()) {
        band.Text({x + 0.5, 0, columns[c].width - 1, 6}, cells[c], Font{8},
                  c == 0 ? Align::kRight : Align::kLeft);
      }
      x += columns[c].width;
    }
    composer.Add(std::move(band));
  }
}

}  // namespace

HealthPrint MakeHealthPrint(params::Session& session, const HealthComputed& computed,
                            const DeclarationHeader& header, const HealthListChoice& lists) {
  HealthPrint p;
  p.month = session.working_month();
  p.employer = FindDeclarationEmployer(session.store(), session.company());
  p.zi_lichidare = session.parameters().company.ZiLichidare;
  p.computed = computed;
  p.stored = HealthSectionsOf(session.parameters().company);
  p.header = header;
  p.lists = lists;
  return p;
}

reports::Report HealthDeclarationReport(const HealthPrint& print) {
  auto data = std::make_shared<HealthPrint>(print);
  return {"Declaratie de sanatate", PageSetup::A4(Orientation::kPortrait),
          [data](PageComposer& composer) { LayOutDeclaration(*data, composer); }};
}

reports::Report HealthListReport(const std::optional<DeclarationEmployer>& employer,
                                 HealthList list, std::vector<HealthListRow> rows) {
  auto data = std::make_shared<ListData>(
      ListData{employer ? employer->Name() : std::string(), list, std::move(rows)});
  return {"Lista " + std::string(TitleOf(list)), PageSetup::A4(Orientation::kPortrait),
          [data](PageComposer& composer) { LayOutList(*data, composer); }};
}

}  // namespace traveno::declarations
