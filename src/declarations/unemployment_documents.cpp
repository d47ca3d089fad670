#include "declarations/unemployment_documents.h"

#include <array>
#include <memory>

#include "core/numbers.h"
#include "core/text.h"
#include "declarations/declaration_files.h"
#include "declarations/declaration_print.h"
#include "reports/grouping.h"

namespace traveno::declarations {
namespace {

using namespace print;  // NOLINT: the printing vocabulary of this file
using reports::Orientation;
using reports::PageComposer;
using reports::PageSetup;

constexpr const char* kStatementNominal =
    "Sub sanctiunile aplicate falsului in actele publice, declar ca am examinat aceasta "
    "declaratie si in conformitate cu informatiile furnizate ";
constexpr const char* kStatementSummary =
    "Sub sanctiunile aplicate falsului in acte publice, declar ca am examinat aceasta declaratie "
    "si in conformitate cu informatiile furnizate, o declar corecta si completa";
constexpr const char* kEnforcementNote =
    "Prezentul titlu de creanta devine titlu executoriu la data la care creanta bugetara este "
    "scadenta conform art. 25 din Ordonanta Guvernului nr.11/1996,aprobata cu modificari prin "
    "Legea nr. 108/1996,cu modificarile si completarile ulterioare.";

struct UnemploymentPrintData {
  UnemploymentDeclaration declaration;
  DeclarationHeader header;

  const FirmeRow* Firm() const {
    return declaration.employer ? &declaration.employer->row : nullptr;
  }
  bool Natural() const { return declaration.employer && declaration.employer->natural_person(); }
  std::string Denumire() const { return Firm() ? Firm()->Denumire : std::string(); }
  std::string FiscalCode() const {
    return declaration.employer ? declaration.employer->fiscal_code : std::string();
  }
  std::string RegCom() const {
    if (!declaration.employer) return std::string();
    const RegComParts& p = declaration.employer->reg_com;
    return RegComText(p.county, p.number, p.year);
  }
};

struct Column {
  double width;
  Align align;
};
// Nr.Crt., name, code, base, due, paid, unpaid: 190 mm.
constexpr std::array<Column, 7> kColumns = {{{12, Align::kRight},
                                             {58, Align::kLeft},
                                             {30, Align::kLeft},
                                             {25, Align::kRight},
                                             {22, Align::kRight},
                                             {21, Align::kRight},
                                             {22, Align::kRight}}};
const Font kRowFont{8};
constexpr double kRowHeight = 5;

Band Cells(const PageSetup& setup, const std::array<std::string, 7>& cells, const Font& font,
           double height = kRowHeight) {
  Band band(height);
  double x = setup.content_left();
  for (std::size_t c = 0; c < kColumns.size(); ++c) {
    band.Box({x, 0, kColumns[c].width, height}, 0.15);
    if (!cells[c].empty()) {
      band.Text({x + 0.5, 0, kColumns[c].width - 1, height}, cells[c], font, kColumns[c].align);
    }
    x += kColumns[c].width;
  }
  return band;
}

Band ColumnHeadings(const PageSetup& setup) {
  const Font font = Font{7}.Bold();
  Band band(15);
  double x = setup.content_left();
  const std::array<const char*, 4> first = {"Nr.Crt.", "Numele si prenumele asig.",
                                            "Cod numeric asig.", "Sal.baza brut lunar:"};
  for (std::size_t c = 0; c < first.size(); ++c) {
    HeadingCell(band, {x, 0, kColumns[c].width, 14}, first[c], font);
    x += kColumns[c].width;
  }
  const double contribution = kColumns[4].width + kColumns[5].width + kColumns[6].width;
  HeadingCell(band, {x, 0, contribution, 6}, "Contributie", font);
  const std::array<const char*, 3> parts = {"Datorata de asig.", "Virata", "Nevirata"};
  for (std::size_t c = 0; c < parts.size(); ++c) {
    HeadingCell(band, {x, 6, kColumns[c + 4].width, 8}, parts[c], font);
    x += kColumns[c + 4].width;
  }
  return band;
}

// The number and date line, "DECLARATIE" and the title lines; returns where
// they end.
double Title(Band& band, const PageSetup& setup, const UnemploymentPrintData& data,
             const std::vector<std::string>& lines) {
  const double left = setup.content_left();
  const double width = setup.content_width();
  band.Text({left, 0, width, 5}, NumberAndDateLine(data.header.number, data.header.date), Font{9});
  band.Text({left, 6, width, 7}, "DECLARATIE", Font{13}.Bold(), Align::kCenter);
  double y = 13;
  for (const std::string& line : lines) {
    WrappedText(band, {left + 10, y, width - 20, 9}, line, Font{9}.Bold());
    y += 9;
  }
  return y + 1;
}

Band NominalHeader(const PageSetup& setup, const UnemploymentPrintData& data, int page) {
  if (page > 1) return ColumnHeadings(setup);
  const UnemploymentDeclaration& d = data.declaration;
  Band band;
  const double left = setup.content_left();
  double y = Title(band, setup, data,
                   {"Privind evidenta nominala a asiguratilor si a obligatiilor de plata la "
                    "bugetul asigurarilor pentru somaj.",
                    "pentru luna " + std::to_string(d.month.month()) + " anul " +
                        std::to_string(d.month.year())});
  const Font label = Font{8}.Bold();
  const Font value{8};
  band.Text({left, y, 40, 6}, "DENUMIRE ANGAJATOR", label);
  ValueBox(band, {left + 40, y, 150, 6}, Value(data.Denumire()), value);
  y += 7.5;
  band.Text({left, y, 36, 6}, "COD FISCAL", label);
  ValueBox(band, {left + 36, y, 40, 6}, Value(data.Natural() ? std::string() : data.FiscalCode()),
           value);
  band.Text({left + 82, y, 48, 6}, "NR.INREG.REG.COMERTULUI", label);
  ValueBox(band, {left + 130, y, 60, 6}, Value(data.RegCom()), value);
  y += 9;
  Append(band, ColumnHeadings(setup), y);
  band.set_height(y + 15);
  return band;
}

struct Sums {
  long double base = 0, due = 0, paid = 0, unpaid = 0;
  void Add(const UnemploymentRow& row) {
    base += row.baza_somaj;
    due += row.somaj;
    paid += row.paid;
    unpaid += row.unpaid;
  }
};

Band TotalRow(const PageSetup& setup, const std::string& label, const Sums& sums) {
  return Cells(
      setup,
      {"", label, "", Whole(sums.base), Whole(sums.due), Whole(sums.paid), Whole(sums.unpaid)},
      kRowFont.Bold(), 5.5);
}

Band TextBlock(const PageSetup& setup, std::string_view text, const Font& font, double gap = 1) {
  const auto lines = Wrap(text, setup.content_width() - 1, font);
  const double height = LineHeight(font) * static_cast<double>(lines.size()) + gap;
  Band band(height);
  WrappedText(band, {setup.content_left(), gap / 2, setup.content_width(), height - gap}, text,
              font, Align::kLeft);
  return band;
}

// The lines both declarations close with, from the enforcement note on:
// they keep with what they close, so no page holds them alone.
void ClosingLines(PageComposer& composer, const UnemploymentPrintData& data,
                  const std::string& signature_line) {
  const PageSetup& setup = composer.setup();
  const double left = setup.content_left();
  const Font font{8};
  composer.AddClosing(TextBlock(setup, kEnforcementNote, Font{7}.Sized(7).Bold(), 3));
  Band marks(16);
  const std::array<const char*, 3> lines = {
      "Declaratie lunara pe suport magnetic",
      "Nr.dischete/CD-Rom: ", "Declaratie lunara transmisa pe cale electronica"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const double y = 1 + 5 * static_cast<double>(i);
    marks.Text({left, y, 80, 4.5}, lines[i], font);
    marks.Box({left + 80, y + 0.5, 6, 4}, 0.2);
  }
  composer.AddClosing(std::move(marks));
  const DeclarationSigner& signer = data.header.signer;
  Band prepared(12);
  prepared.Text({left, 2, 20, 5}, "Intocmit :", font.Bold());
  prepared.Text({left + 20, 2, 12, 5}, "Nume:", font);
  prepared.Text({left + 32, 2, 80, 5}, Value(signer.nume + " " + signer.prenume), font);
  prepared.Text({left + 115, 2, 75, 5}, signature_line, font);
  composer.AddClosing(std::move(prepared));
}

// A declarant's line: its label, the label's width, the value after it.
struct SignatureLine {
  std::string label;
  double label_width;
  std::string value;
};

// The declarant's lines, the last one closed by the signature text on the right.
Band SignatureBlock(const PageSetup& setup, const std::vector<SignatureLine>& lines,
                    const std::string& signature) {
  const double left = setup.content_left();
  const Font font{8};
  Band band(5 * static_cast<double>(lines.size()) + 4);
  double y = 1;
  for (const SignatureLine& line : lines) {
    band.Text({left, y, line.label_width, 5}, line.label, font);
    band.Text({left + line.label_width, y, 90, 5}, Value(line.value), font);
    y += 5;
  }
  band.Text({left + 110, y - 5, 80, 5}, signature, font);
  return band;
}

void LayOutNominal(const UnemploymentPrintData& data, PageComposer& composer) {
  const PageSetup& setup = composer.setup();
  const UnemploymentDeclaration& d = data.declaration;
  composer.SetPageHeader([&data, setup](int page) { return NominalHeader(setup, data, page); });
  composer.SetPageFooter([setup](int page) {
    Band footer(6);
    footer.Text({setup.content_left(), 1, setup.content_width(), 4},
                "Pagina " + std::to_string(page), Font{7}, Align::kRight);
    return footer;
  });
  auto is_permanent = [](const UnemploymentRow& row) { return Trim(row.tip) == "1"; };
  Sums group;
  Sums total;
  int number = 0;
  reports::WalkGroups(
      d.rows, 1, [](const UnemploymentRow& row) { return std::vector<std::string>{Trim(row.tip)}; },
      [&](std::size_t, const UnemploymentRow& row) {
        group = Sums();
        number = 0;
        Band head(6.5);
        head.Text({setup.content_left() + 1, 1, 100, 5},
                  is_permanent(row) ? "Raport de munca /serviciu" : "Contract partial",
                  Font{8.5}.Bold());
        composer.Add(std::move(head), kRowHeight);
      },
      [&](const UnemploymentRow& row) {
        group.Add(row);
        total.Add(row);
        if (!row.printed) return;
        composer.Add(
            Cells(setup,
                  {FormatNumber(++number, NumberMask::kInteger) + " ",
                   Value(row.nume + " " + row.prenume), Value(row.codnumpers),
                   Whole(row.baza_somaj), Whole(row.somaj), Whole(row.paid), Whole(row.unpaid)},
                  kRowFont));
      },
      [&](std::size_t, const UnemploymentRow& row) {
        composer.AddClosing(TotalRow(setup, is_permanent(row) ? "TOTAL I " : "TOTAL II ", group));
      },
      [&] { return composer.cancelled(); });
  if (composer.cancelled()) return;
  composer.AddClosing(TotalRow(setup, "TOTAL GENERAL:", total));

  const double left = setup.content_left();
  const Font font{8};
  composer.AddClosing(TextBlock(setup, kStatementNominal, font.Bold(), 4));
  Band correct(5);
  correct.Text({left, 0, 100, 4.5}, "o declar corecta si completa.", font.Bold());
  composer.AddClosing(std::move(correct));
  const DeclarationSigner& signer = data.header.signer;
  composer.AddClosing(Band(2));
  composer.AddClosing(SignatureBlock(
      setup,
      {{"Functie (director general sau alta persoana autorizata )", 95, signer.functie},
       {"Nume :", 20, signer.nume},
       {"Prenume:", 20, signer.prenume},
       {"Data:", 20, DateText(data.header.date)}},
      "Semnatura si stampila :"));
  ClosingLines(composer, data, "Semnatura  __________________");
}

// One line of the summary table: number, what, due, paid, unpaid.
Band TableLine(const PageSetup& setup, const std::string& number,
               const std::vector<std::string>& what, const std::string& due,
               const std::string& paid, const std::string& unpaid, bool bold = false) {
  const Font font = bold ? Font{8}.Bold() : Font{8};
  const double height = 2 + LineHeight(font) * static_cast<double>(what.size());
  Band band(std::max(6.0, height));
  const double widths[] = {12, 94, 28, 28, 28};
  double x = setup.content_left();
  for (int c = 0; c < 5; ++c) {
    band.Box({x, 0, widths[c], band.height()}, 0.15);
    x += widths[c];
  }
  x = setup.content_left();
  band.Text({x + 0.5, 0, 11, band.height()}, number, font);
  double y = (band.height() - LineHeight(font) * static_cast<double>(what.size())) / 2;
  for (const std::string& line : what) {
    band.Text({x + 12.5, y, 93, LineHeight(font)}, line, font);
    y += LineHeight(font);
  }
  const std::array<const std::string*, 3> values = {&due, &paid, &unpaid};
  x += 106;
  for (const std::string* value : values) {
    band.Text({x + 0.5, 0, 27, band.height()}, *value, font,
              *value == "X" ? Align::kCenter : Align::kRight);
    x += 28;
  }
  return band;
}

Band LabelAndValue(const PageSetup& setup, const std::string& label, const std::string& value,
                   double label_width, double box_width, Align align = Align::kLeft) {
  Band band(7);
  const double left = setup.content_left();
  band.Text({left, 0.5, label_width, 5.5}, label, Font{8.5});
  ValueBox(band, {left + label_width, 0.5, box_width, 5.5}, value, Font{8.5}, align);
  return band;
}

void LayOutSummary(const UnemploymentPrintData& data, PageComposer& composer) {
  const PageSetup& setup = composer.setup();
  const UnemploymentDeclaration& d = data.declaration;
  const UnemploymentSummary& s = d.summary;
  const UnemploymentFigures& f = d.stored;
  const double left = setup.content_left();

  Band heading;
  double y = Title(heading, setup, data,
                   {"Privind evidenta obligatiilor de plata la  bugetul asigurarilor pentru somaj "
                    "pentru  luna " +
                    std::to_string(d.month.month()) + " anul " + std::to_string(d.month.year())});
  const Date next = MonthAfter(d.month);
  heading.Text({left, y, setup.content_width(), 5},
               "Data lichidarii drepturilor salariale: zi " + FloatToText(d.zi_lichidare) +
                   ",luna: " + std::to_string(next.month()) + ",an: " + std::to_string(next.year()),
               Font{9}, Align::kCenter);
  heading.set_height(y + 8);
  composer.Add(std::move(heading));

  composer.Add(LabelAndValue(setup, "DENUMIRE ANGAJATOR:", Value(data.Denumire()), 40, 150));
  Band codes(7);
  const Font font{8.5};
  codes.Text({left, 0.5, 24, 5.5}, " COD FISCAL:", font);
  ValueBox(codes, {left + 24, 0.5, 40, 5.5}, Value(data.Natural() ? "" : data.FiscalCode()), font);
  codes.Text({left + 70, 0.5, 10, 5.5}, "CNP", font);
  ValueBox(codes, {left + 80, 0.5, 40, 5.5}, Value(data.Natural() ? data.FiscalCode() : ""), font);
  composer.Add(std::move(codes));
  composer.Add(LabelAndValue(setup, "Nr.din Registrul Comertului", Value(data.RegCom()), 48, 60));
  composer.Add(LabelAndValue(setup, " Numarul mediu al asiguratilor: ", TwoDecimals(d.NRM) + " ",
                             60, 30, Align::kRight));
  composer.Add(LabelAndValue(setup, "Total fond salarii brute realizate-lei:", Whole(d.FS), 60, 30,
                             Align::kRight));
  composer.Add(Band(3));

  // The table's headings.
  Band head(14);
  const Font bold = Font{8}.Bold();
  HeadingCell(head, {left, 0, 12, 14}, "Nr.Crt.", bold);
  HeadingCell(head, {left + 12, 0, 94, 14}, "Specificatie", bold);
  HeadingCell(head, {left + 106, 0, 84, 6}, "Contributie", bold);
  const char* const parts[] = {"Datorata", "Virata", "Nevirata"};
  for (int i = 0; i < 3; ++i) HeadingCell(head, {left + 106 + 28 * i, 6, 28, 8}, parts[i], bold);
  composer.Add(std::move(head));
  const std::string x = "X";
  composer.Add(TableLine(setup, "1.", {"Contributia angajatorului"}, Whole(f.SDAng), Whole(f.SVAng),
                         Whole(s.employer_unpaid)));
  composer.Add(TableLine(setup, "2.", {"Deduceri din contributia datorata de angajator"},
                         Whole(f.DedSomaj), x, x));
  composer.Add(TableLine(setup, "3.", {"Contributia asiguratilor"}, Whole(f.SDAsig),
                         Whole(f.SVAsig), Whole(s.insured_unpaid)));
  composer.Add(TableLine(setup, "4.", {"Total contributii"}, Whole(s.total_due),
                         Whole(s.total_paid), Whole(s.total_unpaid), true));
  composer.Add(TableLine(setup, "5.",
                         {"Obligatii de plata datorate si nevirate din perioada",
                          "anterioara lunii de raportare - total ,din care:"},
                         x, x, Whole(s.earlier_total)));
  composer.Add(
      TableLine(setup, "5.1.", {"Contributie datorata de angajator"}, x, x, Whole(f.RestAn)));
  composer.Add(
      TableLine(setup, "5.2.", {"Contributie datorata de asigurati"}, x, x, Whole(f.RestAs)));
  composer.Add(TableLine(setup, "5.3.", {"Majorari de intarziere"}, x, x, Whole(f.Penal)));
  composer.Add(TableLine(setup, "5.4.", {"Penalitati"}, x, x, Whole(f.Maj)));
  composer.Add(TableLine(setup, "6.", {"Total obligatii de plata datorate si nevirate"}, x, x,
                         Whole(s.grand_unpaid), true));

  Band accounts(20);
  accounts.Text({left, 2, 60, 5}, "Conturi bancare:", Font{8.5}.Bold());
  const FirmeRow firm = data.Firm() ? *data.Firm() : FirmeRow{};
  const std::array<std::array<std::string, 3>, 2> banks = {
      {{firm.Banca1, firm.Filiala1, firm.Cont1}, {firm.Banca2, firm.Filiala2, firm.Cont2}}};
  for (std::size_t i = 0; i < banks.size(); ++i) {
    const double row = 8 + 6 * static_cast<double>(i);
    accounts.Text({left, row, 11, 5}, "Banca:", font);
    ValueBox(accounts, {left + 11, row, 50, 5}, Value(banks[i][0]), font);
    accounts.Text({left + 63, row, 13, 5}, "Filiala:", font);
    ValueBox(accounts, {left + 76, row, 45, 5}, Value(banks[i][1]), font);
    accounts.Text({left + 123, row, 10, 5}, "Cont:", font);
    ValueBox(accounts, {left + 133, row, 57, 5}, Value(banks[i][2]), font);
  }
  composer.Add(std::move(accounts));

  composer.AddClosing(TextBlock(setup, kStatementSummary, Font{8}.Bold(), 5));
  const DeclarationSigner& signer = data.header.signer;
  composer.AddClosing(
      SignatureBlock(setup,
                     {{"Funcia(director general sau alta persoana autorizata)", 90, signer.functie},
                      {"Numele", 20, signer.nume},
                      {"Prenume", 20, signer.prenume},
                      {"Data", 20, DateText(data.header.date)}},
                     "Semnatura si stampila _____________________________"));
  ClosingLines(composer, data, "Semnatura  _____________");
}

}  // namespace

reports::Report UnemploymentNominalReport(const UnemploymentDeclaration& declaration,
                                          const DeclarationHeader& header) {
  auto data = std::make_shared<UnemploymentPrintData>(UnemploymentPrintData{declaration, header});
  return {"Declaratie nominala somaj", PageSetup::A4(Orientation::kPortrait),
          [data](PageComposer& composer) { LayOutNominal(*data, composer); }};
}

reports::Report UnemploymentSummaryReport(const UnemploymentDeclaration& declaration,
                                          const DeclarationHeader& header) {
  auto data = std::make_shared<UnemploymentPrintData>(UnemploymentPrintData{declaration, header});
  return {"Declaratie somaj", PageSetup::A4(Orientation::kPortrait),
          [data](PageComposer& composer) { LayOutSummary(*data, composer); }};
}

}  // namespace traveno::declarations
