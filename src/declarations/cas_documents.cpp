#include "declarations/cas_documents.h"

#include <array>
#include <memory>
#include <optional>

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

constexpr const char* kTitle =
    "Privind evidenta nominala a asiguratilor si a obligatiilor de plata catre bugetul "
    "asigurarilor sociale de stat";

struct Column {
  double width;
  const char* heading;
  Align align;
};

// The nominal declaration's columns, 277 mm in all.
constexpr std::array<Column, 20> kColumns = {{
    {8, "Nr.CRT.", Align::kRight},
    {40, "NUME SI PRENUME ASIGURAT", Align::kLeft},
    {23, "COD ASIGURAT", Align::kLeft},
    {9, "NORMA zilnica", Align::kCenter},
    {10, "Contract de munca", Align::kCenter},
    {11, "Contract de munca cu timp partial", Align::kCenter},
    {11, "Pensionar", Align::kCenter},
    {9, "Somer", Align::kCenter},
    {9, "TOTAL ZILE", Align::kRight},
    {10, "ZILE IN CONDITII NORMALE", Align::kRight},
    {10, "ZILE IN CONDITII DEOSEBITE", Align::kRight},
    {10, "ZILE IN CONDITII SPECIALE", Align::kRight},
    {10, "ZILE PRESTA-TII", Align::kRight},
    {17, "TOTAL din care:", Align::kRight},
    {16, "VENIT REALIZAT DE ASIGURAT IN CONDITII NORMALE", Align::kRight},
    {14, "VENIT REALIZAT DE ASIGURAT IN CONDITII DEOSEBITE", Align::kRight},
    {14, "VENIT REALIZAT DE ASIGURAT IN CONDITII SPECIALE", Align::kRight},
    {16, "CAS DATORATA DE ASIGURAT:", Align::kRight},
    {15, "TOTAL PRESTATII DE ASIGURARI SOCIALE", Align::kRight},
    {15, "DIN CARE SUPORTATE DE BASS", Align::kRight},
}};

constexpr const char* kNominalTitle = "Declaratie nominala CAS";

const Font kHeadingFont = Font{5.5}.Bold();
const Font kRowFont{7};
constexpr double kRowHeight = 5;
constexpr double kHeadingsHeight = 21;

// What both documents print, copied so that laying them out reads nothing else.
struct CasPrintData {
  CasDeclaration declaration;
  DeclarationHeader header;
  int nrf = 0;

  std::string EmployerName() const {
    return declaration.employer ? declaration.employer->Name() : std::string();
  }
  std::string FiscalCode() const {
    return declaration.employer && !declaration.employer->natural_person()
               ? declaration.employer->fiscal_code
               : std::string();
  }
  std::string RegCom() const {
    if (!declaration.employer) return std::string();
    const RegComParts& parts = declaration.employer->reg_com;
    return RegComText(parts.county, parts.number, parts.year);
  }
  std::string MonthLine() const {
    return "pentru luna " + std::to_string(declaration.month.month()) + " anul " +
           std::to_string(declaration.month.year());
  }
};

// The lines every CAS declaration opens with; returns where they end.
double TitleLines(Band& band, const PageSetup& setup, const CasPrintData& data) {
  const double left = setup.content_left();
  const double width = setup.content_width();
  band.Text({left, 0, width, 5}, NumberAndDateLine(data.header.number, data.header.date), Font{9});
  band.Text({left, 6, width, 7}, "DECLARATIE", Font{13}.Bold(), Align::kCenter);
  WrappedText(band, {left + 20, 13, width - 40, 9}, kTitle, Font{9}.Bold());
  band.Text({left, 22, width, 5}, data.MonthLine(), Font{10}.Bold(), Align::kCenter);
  return 28;
}

Band ColumnHeadings(const PageSetup& setup) {
  Band band(kHeadingsHeight + 1);
  double x = setup.content_left();
  for (const Column& column : kColumns) {
    HeadingCell(band, {x, 0, column.width, kHeadingsHeight}, column.heading, kHeadingFont);
    x += column.width;
  }
  return band;
}

Band NominalHeader(const PageSetup& setup, const CasPrintData& data, int page) {
  if (page > 1) return ColumnHeadings(setup);
  Band band;
  const double left = setup.content_left();
  const double y = TitleLines(band, setup, data);
  const Font label = Font{7.5}.Bold();
  const Font value{8};
  band.Text({left, y, 38, 6}, "DENUMIRE ANGAJATOR", label);
  ValueBox(band, {left + 38, y, 84, 6}, Value(data.EmployerName()), value);
  band.Text({left + 127, y, 27, 6}, "CUI (COD FISCAL)", label);
  ValueBox(band, {left + 154, y, 30, 6}, Value(data.FiscalCode()), value);
  band.Text({left + 189, y, 43, 6}, "NR.INREG.REG.COMERTULUI", label);
  ValueBox(band, {left + 232, y, 45, 6}, Value(data.RegCom()), value);
  const Band headings = ColumnHeadings(setup);
  const double top = y + 9;
  Append(band, headings, top);
  band.set_height(top + headings.height());
  return band;
}

Band PersonRow(const PageSetup& setup, int number, const CasPerson& p) {
  const std::array<std::string, 20> cells = {
      std::to_string(number) + " ",
      Value(p.nume + " " + p.prenume),
      Value(p.codnumpers),
      std::to_string(p.norma),
      p.contract_column,
      p.partial_column,
      p.pensioner_column,
      std::string(),
      UpToTwoDecimals(p.total_zile),
      UpToTwoDecimals(p.zile_norm),
      std::string(),
      std::string(),
      UpToTwoDecimals(p.zile_prest),
      Grouped(p.baza_cas),
      Grouped(p.baza_cas),
      std::string(),
      std::string(),
      Grouped(p.pensie),
      Grouped(p.total_prest),
      Grouped(p.bass),
  };
  Band band(kRowHeight);
  double x = setup.content_left();
  for (std::size_t c = 0; c < kColumns.size(); ++c) {
    band.Box({x, 0, kColumns[c].width, kRowHeight}, 0.15);
    if (!cells[c].empty()) {
      band.Text({x + 0.5, 0, kColumns[c].width - 1, kRowHeight}, cells[c], kRowFont,
                kColumns[c].align);
    }
    x += kColumns[c].width;
  }
  return band;
}

// Lays out the nominal declaration: a line for each person, or, when
// `blank_rows` is given, that many empty bands of a line's height, which
// make the same pages (every line is as tall) without the cost of drawing
// them, to count the pages.
void LayOutNominal(const CasPrintData& data, PageComposer& composer,
                   std::optional<std::size_t> blank_rows = std::nullopt) {
  const PageSetup& setup = composer.setup();
  composer.SetPageHeader([&data, setup](int page) { return NominalHeader(setup, data, page); });
  composer.SetPageFooter([setup](int page) {
    Band footer(6);
    footer.Text({setup.content_left(), 1, setup.content_width(), 4},
                "Pagina " + std::to_string(page), Font{7}, Align::kRight);
    return footer;
  });
  if (blank_rows) {
    for (std::size_t row = 0; row < *blank_rows; ++row) composer.Add(Band(kRowHeight));
  } else {
    int number = 0;
    for (const CasPerson& person : data.declaration.persons) {
      if (composer.cancelled()) return;
      composer.Add(PersonRow(setup, ++number, person));
    }
  }
  Band closing(14);
  closing.Text({setup.content_right() - 80, 6, 60, 5}, "Semnatura,", Font{9}.Bold());
  composer.Add(std::move(closing));
}

// A labelled amount line of the summary: the label on the left (wrapped
// when long), the value in a box on the right.
Band SummaryLine(const PageSetup& setup, std::string_view label, std::string_view value,
                 double indent = 0, Align align = Align::kRight) {
  const Font font{8.5};
  const double label_width = 136 - indent;
  const auto lines = Wrap(label, label_width - 1, font);
  const double height = std::max(6.5, LineHeight(font) * static_cast<double>(lines.size()) + 2.5);
  Band band(height);
  const double left = setup.content_left();
  WrappedText(band, {left + indent, 0, label_width, height - 1}, label, font, Align::kLeft);
  // The box sits level with the label's first line.
  ValueBox(band,
           {left + 140, (height - 1 - LineHeight(font) * static_cast<double>(lines.size())) / 2 - 1,
            setup.content_width() - 140, 5.5},
           value, font, align);
  return band;
}

// Boxes of labelled values side by side: label, box, label, box...
Band LabelledBoxes(const PageSetup& setup,
                   const std::vector<std::tuple<std::string, std::string, double, double>>& cells) {
  Band band(7);
  double x = setup.content_left();
  const Font font{8};
  for (const auto& [label, value, label_width, box_width] : cells) {
    band.Text({x, 0.5, label_width, 5.5}, label, font);
    x += label_width;
    ValueBox(band, {x, 0.5, box_width, 5.5}, Value(value), font);
    x += box_width + 2;
  }
  return band;
}

void LayOutSummary(const CasPrintData& data, PageComposer& composer) {
  const PageSetup& setup = composer.setup();
  const CasDeclaration& d = data.declaration;
  const CasTotals& t = d.totals;
  const double left = setup.content_left();
  const double width = setup.content_width();

  Band heading;
  const double y = TitleLines(heading, setup, data);
  const Date next = MonthAfter(d.month);
  heading.Text({left, y, width, 5},
               "Data lichidarii drepturilor salariale: zi " + FloatToText(d.zi_lichidare) +
                   ", luna " + std::to_string(next.month()) + ", an " + std::to_string(next.year()),
               Font{9}, Align::kCenter);
  heading.set_height(y + 9);
  composer.Add(std::move(heading));

  const bool natural = d.employer && d.employer->natural_person();
  composer.Add(
      SummaryLine(setup, "A.DENUMIRE ANGAJATOR:", Value(data.EmployerName()), 0, Align::kLeft));
  composer.Add(SummaryLine(setup, natural ? "B.CNP" : "B.CUI(Cod fiscal):",
                           Value(d.employer ? d.employer->fiscal_code : std::string()), 0,
                           Align::kLeft));
  composer.Add(
      SummaryLine(setup, "C.Nr.inreg.Registrul Comertului", Value(data.RegCom()), 0, Align::kLeft));
  composer.Add(SummaryLine(setup, "D.Nr.mediu asigurati: ", TwoDecimals(t.NRM) + " "));
  composer.Add(SummaryLine(setup, "E.Total fond salarii brute realizate:", Grouped(t.SB)));
  composer.Add(SummaryLine(setup, "din care F.In conditii normale de munca:", Grouped(t.SB), 8));
  composer.Add(SummaryLine(setup, "G.In conditii deosebite de munca:", "", 8));
  composer.Add(SummaryLine(setup, "H.In conditii speciale de munca:", "", 8));
  composer.Add(SummaryLine(setup, "I.Total CAS retinut de la asigurati:", Grouped(t.SP)));
  composer.Add(SummaryLine(setup, "J.Total CAS datorat de angajator:", Grouped(t.DueByEmployer())));
  composer.Add(SummaryLine(setup,
                           "K.Total cuantum prestatii de asigurari sociale suportate din Bugetul "
                           "Asigurarilor Sociale de Stat: ",
                           Grouped(t.SS)));
  composer.Add(SummaryLine(setup,
                           "L.Contributia de sanatate aferenta concediilor medicale conform "
                           "art.54(2) din Legea nr.150/2002: ",
                           Grouped(t.HC)));
  composer.Add(SummaryLine(setup, "M.Total CAS de virat:", Grouped(t.ToTransfer())));
  composer.Add(SummaryLine(setup,
                           "N.Contributie de asigurari pentru accidente de munca si boli "
                           "profesionale(art 140 din Legea 346/2002)",
                           Grouped(t.AC)));

  const FirmeRow firm = d.employer ? d.employer->row : FirmeRow{};
  Band address(7);
  address.Text({left, 1, width, 5}, "O. Adresa angajator: ", Font{8.5}.Bold());
  composer.Add(std::move(address));
  composer.Add(LabelledBoxes(setup, {{"Localitatea", firm.Localitate, 17, 40},
                                     {"Strada", firm.Strada, 11, 50},
                                     {"Nr.", firm.Numar, 6, 14},
                                     {"Bloc", firm.Bloc, 8, 14}}));
  composer.Add(LabelledBoxes(setup, {{"Scara", firm.Scara, 9, 12},
                                     {"Etaj", firm.Etaj, 7, 12},
                                     {"Apartament", firm.Ap, 16, 12},
                                     {"Telefon", firm.Telefon, 12, 38},
                                     {"Judet", firm.Judet, 9, 26},
                                     {"/Sector", firm.Sector, 11, 10}}));
  Band accounts(7);
  accounts.Text({left, 1, width, 5}, "P. Conturi bancare:", Font{8.5}.Bold());
  composer.Add(std::move(accounts));
  const std::array<std::array<std::string, 3>, 4> banks = {{
      {firm.Banca1, firm.Filiala1, firm.Cont1},
      {firm.Banca2, firm.Filiala2, firm.Cont2},
      {firm.Banca3, firm.Filiala3, firm.Cont3},
      {"", "", ""},
  }};
  for (const auto& bank : banks) {
    composer.Add(LabelledBoxes(
        setup,
        {{"Banca:", bank[0], 11, 50}, {"Filiala:", bank[1], 12, 45}, {"Cont:", bank[2], 9, 57}}));
  }
  composer.Add(SummaryLine(setup, "Nr. total de file ANEXA 1.1:", std::to_string(data.nrf) + " "));

  Band statement(14);
  WrappedText(statement, {left, 2, width, 11},
              "Sub sanctiunile aplicate falsului in acte publice, declar ca am examinat aceasta "
              "declaratie si in conformitate cu informatiile furnizate, o declar corecta si "
              "completa",
              Font{8.5}.Bold(), Align::kLeft);
  composer.Add(std::move(statement));
  const DeclarationSigner& signer = data.header.signer;
  composer.Add(
      LabelledBoxes(setup, {{"Numele", signer.nume, 14, 70}, {"Prenume", signer.prenume, 16, 86}}));
  composer.Add(LabelledBoxes(
      setup, {{"Funcia*)", signer.functie, 14, 70}, {"Data", DateText(data.header.date), 16, 40}}));
  Band electronic(12);
  electronic.Text({left, 5, 85, 5}, "Declaratie nominala transmisa pe cale electronica", Font{8.5});
  electronic.Text({left + 90, 5, 12, 5}, "Nume:", Font{8.5});
  electronic.Box({left + 102, 4.5, 88, 6}, 0.2);
  electronic.Text({left + 103, 5, 86, 5}, Value(signer.nume + " " + signer.prenume), Font{8.5});
  composer.Add(std::move(electronic));
}

}  // namespace

reports::Report CasNominalReport(const CasDeclaration& declaration,
                                 const DeclarationHeader& header) {
  auto data = std::make_shared<CasPrintData>(CasPrintData{declaration, header, 0});
  return {kNominalTitle, PageSetup::A4(Orientation::kLandscape),
          [data](PageComposer& composer) { LayOutNominal(*data, composer); }};
}

int CasNominalPageCount(const CasDeclaration& declaration, const DeclarationHeader& header) {
  // The pages' headings print the month and the employer; the persons'
  // lines only take their room.
  CasPrintData data{CasDeclaration{}, header, 0};
  data.declaration.month = declaration.month;
  data.declaration.employer = declaration.employer;
  const std::size_t rows = declaration.persons.size();
  return reports::PageCount(
      {kNominalTitle, PageSetup::A4(Orientation::kLandscape),
       [&data, rows](PageComposer& composer) { LayOutNominal(data, composer, rows); }});
}

reports::Report CasSummaryReport(const CasDeclaration& declaration, const DeclarationHeader& header,
                                 int nrf) {
  auto data = std::make_shared<CasPrintData>(CasPrintData{declaration, header, nrf});
  return {"Declaratie CAS", PageSetup::A4(Orientation::kPortrait),
          [data](PageComposer& composer) { LayOutSummary(*data, composer); }};
}

}  // namespace traveno::declarations
