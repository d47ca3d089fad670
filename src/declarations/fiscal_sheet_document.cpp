#include "declarations/fiscal_sheet_document.h"

#include <algorithm>

#include "core/numbers.h"
#include "declarations/sheet_bands.h"

namespace traveno::declarations {
namespace {

using reports::Align;
using reports::Band;
using reports::PageComposer;
using sheet::Field;

std::array<std::string, 12> Coefficients(const std::array<double, 12>& values, NumberMask mask) {
  std::array<std::string, 12> texts;
  for (std::size_t m = 0; m < 12; ++m) texts[m] = FormatNumber(values[m], mask) + " ";
  return texts;
}

// The parts of an address, in the order the sheet prints them.
struct AddressParts {
  const std::string& locality;
  const std::string& county;
  const std::string& street;
  const std::string& number;
  const std::string& postal_code;
  const std::string& block;
  const std::string& staircase;
  const std::string& floor;
  const std::string& flat;
  const std::string& sector;
};

void Address(PageComposer& c, const char* caption, const AddressParts& a) {
  c.Add(sheet::Fields(
      {{caption, sheet::Value(a.locality), 28, 60}, {"Judet", sheet::Value(a.county), 12, 40}}));
  c.Add(sheet::Fields({{"Strada", sheet::Value(a.street), 28, 80},
                       {"Nr.", sheet::Value(a.number), 8, 18},
                       {"Cod postal", sheet::Value(a.postal_code), 20, 22}}));
  c.Add(sheet::Fields({{"Bloc", sheet::Value(a.block), 28, 16},
                       {"Scara", sheet::Value(a.staircase), 12, 14},
                       {"Etaj", sheet::Value(a.floor), 10, 12},
                       {"Ap.", sheet::Value(a.flat), 8, 12},
                       {"Sector", sheet::Value(a.sector), 14, 10}}));
}

void Contacts(PageComposer& c, const std::string& phone, const std::string& email) {
  c.Add(sheet::Fields(
      {{"Telefon", sheet::Value(phone), 28, 50}, {"E-mail", sheet::Value(email), 14, 80}}));
}

void Employer(PageComposer& c, const SheetEmployer& e, bool contacts) {
  const bool legal = e.TipAngaj == 1;
  c.Add(sheet::Heading("I. DATE DE IDENTIFICARE ANGAJATOR"));
  c.Add(sheet::Fields({{"Cod Angajator", sheet::Value(e.CodFiscal), 28, 40},
                       {legal ? "(Cod Fiscal)" : "(Cod Numeric Personal)", "", 40, 0}}));
  if (legal) {
    c.Add(sheet::Fields({{"Denumire", sheet::Value(e.Denumire), 28, 160}}));
  } else {
    c.Add(sheet::Fields(
        {{"Nume", sheet::Value(e.Nume), 28, 60}, {"Prenume", sheet::Value(e.Prenume), 18, 80}}));
  }
  Address(c, "Adresa",
          {e.Localitate, e.Judet, e.Strada, e.Numar, e.CodPostal, e.Bloc, e.Scara, e.Etaj, e.Ap,
           e.Sector});
  if (contacts) Contacts(c, e.Telefon, e.EMail);
}

void Employee(PageComposer& c, const SheetEmployee& e, bool contacts) {
  c.Add(sheet::Heading("II. DATE DE IDENTIFICARE ANGAJAT"));
  c.Add(sheet::Fields({{"Cod Nr Personal", sheet::Value(e.CodNumPers), 28, 40}}));
  c.Add(sheet::Mark(!e.domiciliu_ext_mark.empty(), "Persoana romana fara domiciliul in Romania"));
  c.Add(sheet::Fields(
      {{"Nume", sheet::Value(e.Nume), 28, 60}, {"Prenume", sheet::Value(e.Prenume), 18, 80}}));
  Address(c, "Domiciliu",
          {e.Localitate, e.Judet, e.Strada, e.Numar, e.CodPostal, e.Bloc, e.Scara, e.Etaj, e.Ap,
           e.Sector});
  if (contacts) Contacts(c, e.Telefon, e.Email);
}

void OtherIncomeAndDates(PageComposer& c, const SheetEmployee& e) {
  c.Add(sheet::Mark(!e.alt_venit_mark.empty(),
                    "Alte surse de venit supuse impozitului pe venitul anual global"));
  c.Add(sheet::Fields({{"Data angajarii", sheet::Value(e.data_ang), 28, 30},
                       {"Data incetarii activitatii", sheet::Value(e.data_lich), 42, 30}}));
}

void Dependants(PageComposer& c, const FiscalSheet& s) {
  if (s.dependants.empty()) return;
  c.Add(
      sheet::Text("C. Date referitoare la persoanele aflate in intretinere pentru care se "
                  "solicita deducerea",
                  sheet::Normal()));
  for (const SheetDependant& d : s.dependants) {
    std::array<std::string, 12> coefs;
    for (std::size_t m = 0; m < 12; ++m) {
      if (d.monthly_coef[m] > 0) {
        coefs[m] = FormatNumber(d.monthly_coef[m], NumberMask::kTwoDecimals) + " ";
      }
    }
    c.Add(sheet::Fields({{"Calitate", sheet::Value(d.Kalitate), 28, 40},
                         {"", sheet::Value(d.Ynvaliditate), 0, 40},
                         {"Cod Nr Personal", sheet::Value(d.CODNUMPERS), 28, 40}}),
          2 * sheet::kRowHeight);
    c.Add(sheet::Fields({{"Nume", sheet::Value(d.Nume), 28, 60},
                         {"Prenume", sheet::Value(d.Prenume), 18, 80}}),
          sheet::kRowHeight);
    c.Add(sheet::MonthValues("Coeficient deducere", coefs));
  }
}

// The page header from the second page on: the year and the two codes.
Band LaterPageHeader(int page, const FiscalSheet& s) {
  if (page == 1) return Band(0);
  Band band(8);
  band.Text({sheet::kLeft, 0, 30, 5}, "pentru anul :", sheet::Normal());
  band.Text({sheet::kLeft + 24, 0, 16, 5}, std::to_string(s.year), sheet::Bold());
  band.Text({sheet::kLeft + 45, 0, 25, 5}, "Cod Angajator", sheet::Normal());
  band.Text({sheet::kLeft + 70, 0, 35, 5}, sheet::Value(s.employer.CodFiscal), sheet::Bold());
  band.Text({sheet::kLeft + 110, 0, 45, 5}, "Cod Nr Personal Angajat", sheet::Normal());
  band.Text({sheet::kLeft + 155, 0, 35, 5}, sheet::Value(s.employee.CodNumPers), sheet::Bold());
  return band;
}

void Ff1Of2002(PageComposer& c, const FiscalSheet& s) {
  c.SetPageHeader([&s](int page) { return LaterPageHeader(page, s); });
  c.Add(sheet::Title("FISA FISCALA 1", "(pentru venituri din salarii la functia de baza - FF1)",
                     s.year));
  c.Add(sheet::Marks({{"Fisa fiscala rectificativa :", !s.employee.rectificare_mark.empty()},
                      {"Fisa fiscala regularizata :", s.regularisation}},
                     95));
  Employer(c, s.employer, true);
  Employee(c, s.employee, true);
  c.Add(sheet::Heading(
      "III. DATE PRIVIND INDEPLINIREA CONDITIILOR PTR. CAL.IMPOZITULUI SI REGULARIZAREA "
      "ACESTUIA"));
  OtherIncomeAndDates(c, s.employee);

  c.Add(sheet::Heading("IV. DEDUCERI PERSONALE"), 3 * sheet::kRowHeight);
  c.Add(sheet::MonthNames());
  c.Add(sheet::MonthValues("A. Total coeficient deducere rezultat din calcul",
                           Coefficients(s.coef_ind, NumberMask::kUpToTwoDecimals)));
  std::array<double, 12> own{};
  for (std::size_t m = 0; m < 12; ++m) own[m] = s.coef_ind[m] - s.dependants_coef[m];
  c.Add(
      sheet::Text("B. Situatia proprie pentru deducere  " + s.invalidity_caption, sheet::Normal()));
  c.Add(sheet::MonthValues("", Coefficients(own, NumberMask::kUpToTwoDecimals)));
  Dependants(c, s);

  const std::vector<double> widths = {40, 75, 75};
  c.Add(sheet::Heading("V. CALCULUL IMPOZITULUI PE VENITURILE DIN SALARII"), 3 * sheet::kRowHeight);
  c.Add(sheet::TableRow({"Luna", "Venit net", "Impozit calculat si retinut"}, widths, true));
  for (int m = 1; m <= 12; ++m) {
    const SheetMonth& month = s.months[static_cast<std::size_t>(m - 1)];
    c.Add(sheet::TableRow({std::to_string(m) + ". " + sheet::MonthName(m),
                           sheet::Amount(std::max(0.0, month.VENIT_NET)),
                           sheet::Amount(std::max(0.0, month.IMPOZIT))},
                          widths));
  }
  c.Add(sheet::TableRow(
      {"13. Prima vac.", sheet::Amount(s.totals.bonus_base), sheet::Amount(s.totals.bonus_tax)},
      widths));
  c.Add(sheet::TableRow(
      {"14. TOTAL", sheet::Amount(s.totals.net_income), sheet::Amount(s.totals.tax)}, widths,
      true));
  c.Add(sheet::Fields({{"B. Cheltuieli profesionale acordate", sheet::Amount(s.totals.ch_prof), 120,
                        40, Align::kRight}}));
  c.Add(sheet::Fields({{"C. Numar de luni pentru care s-au acordat cheltuieli profesionale",
                        std::to_string(s.totals.ch_prof_months) + " ", 120, 40, Align::kRight}}));

  c.Add(sheet::Heading("VI. DATE REFERITOARE LA REGULARIZARE"), 10 * sheet::kRowHeight);
  const auto line = [&](const char* caption, std::optional<long double> value) {
    c.Add(sheet::Fields({{caption, value ? sheet::Amount(*value) : "", 120, 40, Align::kRight}}));
  };
  const auto& r = s.section_vi;
  const auto value = [&](long double RegularisationLines::*field) -> std::optional<long double> {
    if (!r) return std::nullopt;
    return (*r).*field;
  };
  line("1. Venit net", value(&RegularisationLines::venit_net));
  line("2. Cheltuieli profesionale acordate", value(&RegularisationLines::ch_prof_acordate));
  line("3. Cheltuieli profesionale cuvenite", value(&RegularisationLines::ch_prof_cuvenite));
  line("4. Venit net recalculat  (1+2-3)", value(&RegularisationLines::venit_recalculat));
  line("5. Deduceri personale cuvenite", value(&RegularisationLines::deduceri_cuvenite));
  line("6. Venit anual baza de calcul (4-5)", value(&RegularisationLines::venit_baza));
  line("7. Impozit anual", value(&RegularisationLines::impozit_anual));
  line("8. Total impozit lunar calculat si retinut", value(&RegularisationLines::impozit_retinut));
  line("9. Deferenta de impozit ramas de achitat de catre angajat",
       r ? r->de_achitat : std::nullopt);
  line("10. Diferenta de impozit de restituit angajatului", r ? r->de_restituit : std::nullopt);

  c.Add(sheet::Heading("VII. CALCULUL IMPOZITULUI PE VENITURILE DIN SALARII CU IMPUNERE FINALA"),
        sheet::kRowHeight);
  c.Add(sheet::Fields({{"Venit net", "", 28, 40}, {"Impozit calculat si retinut", "", 45, 40}}));
  c.Add(sheet::Heading("VIII. VENIT NET DIN SALARII SCUTIT DE IMPOZITUL PE VENIT"),
        sheet::kRowHeight);
  c.Add(sheet::Fields({{"", "", 28, 40}}));
  c.Add(sheet::Gap(4));
  sheet::Closing(c);
}

void Ff1Before2002(PageComposer& c, const FiscalSheet& s) {
  c.Add(sheet::Title("FISA FISCALA 1", "(pentru venituri din salarii la functia de baza - FF1)",
                     s.year));
  Employer(c, s.employer, false);
  Employee(c, s.employee, false);
  OtherIncomeAndDates(c, s.employee);

  c.Add(sheet::Heading("III. DEDUCERI PERSONALE"), 3 * sheet::kRowHeight);
  c.Add(sheet::MonthNames());
  c.Add(sheet::MonthValues("A. Total coeficient deducere rezultat din calcul",
                           Coefficients(s.coef_ind, NumberMask::kInteger)));
  c.Add(sheet::Text("B. Situatia proprie pentru deducere suplimentara  " + s.invalidity_caption,
                    sheet::Normal()));
  c.Add(sheet::MonthValues("", s.invalidity_text));
  Dependants(c, s);

  const std::vector<double> widths = {30, 32, 32, 32, 32, 32};
  c.Add(sheet::Heading("IV. CALCULUL IMPOZITULUI PE VENITURILE DIN SALARII"),
        3 * sheet::kRowHeight);
  c.Add(
      sheet::TableRow({"Luna", "Venit net", "Deducere personala\nde baza", "Deduceri\nsuplimentare",
                       "Venit baza\nde calcul", "Impozit calculat\nsi retinut"},
                      widths, true, 10));
  for (int m = 1; m <= 12; ++m) {
    const SheetMonth& month = s.months[static_cast<std::size_t>(m - 1)];
    c.Add(sheet::TableRow(
        {std::to_string(m) + ". " + sheet::MonthName(m), sheet::Amount(month.VENIT_NET),
         sheet::Amount(month.DED_PERS), sheet::Amount(month.DED_PERS_SUPLI),
         sheet::Amount(month.VENITBC), sheet::Amount(month.IMPOZIT)},
        widths));
  }
  c.Add(sheet::TableRow({"13.", "", "", "", "", ""}, widths));
  c.Add(sheet::TableRow({"14. TOTAL", sheet::Amount(s.totals.net_income), "X ", "X ", "X ",
                         sheet::Amount(s.totals.tax)},
                        widths, true));

  c.Add(sheet::Heading("V. DATE REFERITOARE LA REGULARIZARE conform art. 27 (1)"),
        3 * sheet::kRowHeight);
  const auto& r = s.old_section_v;
  const auto zero_or = [](long double value) { return value > 0 ? sheet::Amount(value) : "0 "; };
  c.Add(sheet::Fields(
      {{"Impozit anual", r ? sheet::Amount(r->annual_tax) : "", 50, 40, Align::kRight},
       {"Impozit calculat si retinut", r ? sheet::Amount(r->withheld) : "", 50, 40,
        Align::kRight}}));
  c.Add(sheet::Fields(
      {{"Impozit ramas de achitat ", r ? zero_or(r->due) : "", 50, 40, Align::kRight},
       {"Impozit de restituit", r ? zero_or(r->refund) : "", 50, 40, Align::kRight}}));
  c.Add(sheet::Fields({{"Suma achitata", "", 50, 40}, {"Suma restituita", "", 50, 40}}));
  c.Add(sheet::Gap(4));
  sheet::Closing(c);
}

void Ff2(PageComposer& c, const FiscalSheet& s) {
  const bool layout_2002 = s.layout == Generation::k2002;
  c.Add(sheet::Title("FISA FISCALA 2",
                     "( pentru venituri altele decat cele de la functia de baza - FF2 )", s.year));
  if (layout_2002) {
    c.Add(sheet::Marks({{"Fisa fiscala rectificativa", !s.employee.rectificare_mark.empty()}}, 95));
  }
  Employer(c, s.employer, layout_2002);
  Employee(c, s.employee, layout_2002);
  // The income kind: eight boxes of which the situation code's is marked;
  // the older form has six boxes and a seventh captioned AS6 again, unmarked.
  std::vector<std::pair<std::string, bool>> boxes;
  for (int box = 1; box <= (layout_2002 ? 8 : 7); ++box) {
    const int caption = !layout_2002 && box == 7 ? 6 : box;
    const bool marked = layout_2002 && s.employee.regularizare == std::to_string(box - 1);
    boxes.push_back({"AS" + std::to_string(caption), marked});
  }
  c.Add(sheet::Text("Tip venit", sheet::Bold()));
  c.Add(sheet::Marks(boxes, 20));
  c.Add(sheet::Gap(3));
  const std::vector<double> widths = {40, 75, 75};
  c.Add(sheet::TableRow(
      {"Luna", " Venit  baza  de  calcul ", "  Impozitar  calculat   si  retinut"}, widths, true));
  for (int m = 1; m <= 12; ++m) {
    const SheetMonth& month = s.months[static_cast<std::size_t>(m - 1)];
    c.Add(sheet::TableRow({std::to_string(m) + ". " + sheet::MonthName(m),
                           sheet::Amount(month.VENITBC), sheet::Amount(month.IMPOZIT)},
                          widths));
  }
  c.Add(sheet::TableRow({"13. TOTAL", sheet::Amount(s.totals.taxable), sheet::Amount(s.totals.tax)},
                        widths, true));
  c.Add(sheet::Gap(6));
  sheet::Closing(c);
}

}  // namespace

reports::Report FiscalSheetReport(const FiscalSheet& sheet) {
  reports::Report report;
  const bool permanent = sheet.kind == kPermanentKind;
  report.title = std::string(permanent ? "Fisa fiscala 1 " : "Fisa fiscala 2 ") +
                 sheet.employee.Nume + " " + sheet.employee.Prenume + " " +
                 std::to_string(sheet.year);
  report.setup = reports::PageSetup::A4(reports::Orientation::kPortrait);
  report.lay_out = [sheet](PageComposer& composer) {
    if (sheet.kind != kPermanentKind) {
      Ff2(composer, sheet);
    } else if (sheet.layout == Generation::k2002) {
      Ff1Of2002(composer, sheet);
    } else {
      Ff1Before2002(composer, sheet);
    }
  };
  return report;
}

}  // namespace traveno::declarations
