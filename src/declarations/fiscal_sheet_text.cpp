#include "declarations/fiscal_sheet_text.h"

#include <sstream>

#include "core/numbers.h"
#include "core/text.h"

namespace traveno::declarations {
namespace {

constexpr const char* kMonths[] = {"Ianuarie",   "Februarie", "Martie",    "Aprilie",
                                   "Mai",        "Iunie",     "Iulie",     "August",
                                   "Septembrie", "Octombrie", "Noiembrie", "Decembrie"};
constexpr int kLabelWidth = 58;
constexpr int kMonthLabelWidth = 58;
constexpr int kAmountWidth = 14;

// An amount as the sheet prints it: "#,##0" followed by a blank.
std::string Amount(long double value) { return FormatNumber(value, NumberMask::kInteger) + " "; }

std::string Box(const std::string& mark) { return "[" + (mark.empty() ? " " : mark) + "]"; }

class SheetWriter {
 public:
  void Line(const std::string& text = "") { out_ << text << "\n"; }
  // A caption and its value, the value preceded by one blank.
  void Field(const std::string& label, const std::string& value) {
    Line(PadRight(label, kLabelWidth) + " " + value);
  }
  // A row of twelve monthly values under the month names' first letters.
  void MonthRow(const std::string& label, const std::array<std::string, 12>& values) {
    std::string line = PadRight(label, kMonthLabelWidth);
    for (const std::string& value : values) line += PadLeft(value, 7);
    Line(line);
  }
  void MonthHeader() {
    std::array<std::string, 12> names;
    for (int m = 0; m < 12; ++m)
      names[static_cast<std::size_t>(m)] = std::string(kMonths[m]).substr(0, 3);
    MonthRow("", names);
  }
  std::string str() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

void EmployerSection(SheetWriter& w, const SheetEmployer& e) {
  const bool legal = e.TipAngaj == 1;
  w.Line("I. DATE DE IDENTIFICARE ANGAJATOR");
  w.Field(std::string("Cod Angajator ") + (legal ? "(Cod Fiscal)" : "(Cod Numeric Personal)"),
          e.CodFiscal);
  if (legal) {
    w.Field("Denumire", e.Denumire);
  } else {
    w.Field("Nume", e.Nume);
    w.Field("Prenume", e.Prenume);
  }
  w.Field("Adresa", e.Localitate);
  w.Line("  Judet " + e.Judet + "  Strada " + e.Strada + "  Nr. " + e.Numar + "  Cod postal " +
         e.CodPostal);
  w.Line("  Bloc " + e.Bloc + "  Scara " + e.Scara + "  Etaj " + e.Etaj + "  Ap. " + e.Ap +
         "  Sector " + e.Sector);
}

void EmployeeSection(SheetWriter& w, const SheetEmployee& e) {
  w.Line("II. DATE DE IDENTIFICARE ANGAJAT");
  w.Field("Cod Nr Personal", e.CodNumPers);
  w.Line(Box(e.domiciliu_ext_mark) + " Persoana romana fara domiciliul in Romania");
  w.Field("Nume", e.Nume);
  w.Field("Prenume", e.Prenume);
  w.Field("Domiciliu", e.Localitate);
  w.Line("  Judet " + e.Judet + "  Strada " + e.Strada + "  Nr. " + e.Numar + "  Cod postal " +
         e.CodPostal);
  w.Line("  Bloc " + e.Bloc + "  Scara " + e.Scara + "  Etaj " + e.Etaj + "  Ap. " + e.Ap +
         "  Sector " + e.Sector);
}

void Contacts(SheetWriter& w, const std::string& phone, const std::string& email) {
  w.Field("Telefon", phone);
  w.Field("E-mail", email);
}

std::array<std::string, 12> Coefficients(const std::array<double, 12>& values, NumberMask mask,
                                         bool empty_when_zero) {
  std::array<std::string, 12> texts;
  for (std::size_t m = 0; m < 12; ++m) {
    if (!(empty_when_zero && values[m] <= 0)) texts[m] = FormatNumber(values[m], mask);
  }
  return texts;
}

void Dependants(SheetWriter& w, const FiscalSheet& sheet) {
  w.Line(
      "C. Date referitoare la persoanele aflate in intretinere pentru care se solicita "
      "deducerea");
  for (const SheetDependant& d : sheet.dependants) {
    w.Line("  Calitate " + d.Kalitate + (d.Ynvaliditate.empty() ? "" : "  " + d.Ynvaliditate));
    w.Line("  Cod Nr Personal " + d.CODNUMPERS + "  Nume " + d.Nume + "  Prenume " + d.Prenume);
    w.MonthRow("  Coeficient deducere",
               Coefficients(d.monthly_coef, NumberMask::kTwoDecimals, true));
  }
}

std::array<double, 12> OwnCoefficients(const FiscalSheet& sheet) {
  std::array<double, 12> own{};
  for (std::size_t m = 0; m < 12; ++m) own[m] = sheet.coef_ind[m] - sheet.dependants_coef[m];
  return own;
}

void Closing(SheetWriter& w) {
  w.Line(
      "Sub sanctiunile aplicate faptei de fals in acte publice, declar ca datele din aceasta "
      "fisa fiscala sunt corecte si complete.");
  w.Line("Nume, prenume");
  w.Line("Functia");
  w.Line("Semnatura si stampila angajatorului");
}

void Ff1Of2002(SheetWriter& w, const FiscalSheet& sheet) {
  w.Line("FISA FISCALA 1");
  w.Line("(pentru venituri din salarii la functia de baza - FF1)");
  w.Line("pe anul: " + std::to_string(sheet.year));
  w.Line("Fisa fiscala rectificativa : " + Box(sheet.employee.rectificare_mark));
  w.Line("Fisa fiscala regularizata : " + Box(sheet.regularisation ? "X" : ""));
  w.Line();
  EmployerSection(w, sheet.employer);
  Contacts(w, sheet.employer.Telefon, sheet.employer.EMail);
  w.Line();
  EmployeeSection(w, sheet.employee);
  Contacts(w, sheet.employee.Telefon, sheet.employee.Email);
  w.Line();
  w.Line(
      "III. DATE PRIVIND INDEPLINIREA CONDITIILOR PTR. CAL.IMPOZITULUI SI REGULARIZAREA "
      "ACESTUIA");
  w.Line(Box(sheet.employee.alt_venit_mark) +
         " Alte surse de venit supuse impozitului pe venitul anual global");
  w.Field("Data angajarii", sheet.employee.data_ang);
  w.Field("Data incetarii activitatii", sheet.employee.data_lich);
  w.Line();
  w.Line("IV. DEDUCERI PERSONALE");
  w.MonthHeader();
  w.MonthRow("A. Total coeficient deducere rezultat din calcul",
             Coefficients(sheet.coef_ind, NumberMask::kUpToTwoDecimals, false));
  w.Line("B. Situatia proprie pentru deducere  " + sheet.invalidity_caption);
  w.MonthRow("", Coefficients(OwnCoefficients(sheet), NumberMask::kUpToTwoDecimals, false));
  if (!sheet.dependants.empty()) Dependants(w, sheet);
  w.Line();
  w.Line("V. CALCULUL IMPOZITULUI PE VENITURILE DIN SALARII");
  w.Line(PadRight("Luna", 16) + PadLeft("Venit net", kAmountWidth) +
         PadLeft("Impozit calculat si retinut", 30));
  for (std::size_t m = 0; m < 12; ++m) {
    const SheetMonth& month = sheet.months[m];
    w.Line(PadRight(kMonths[m], 16) +
           PadLeft(Amount(std::max(0.0, month.VENIT_NET)), kAmountWidth) +
           PadLeft(Amount(std::max(0.0, month.IMPOZIT)), 30));
  }
  w.Line(PadRight("Prima vac.", 16) + PadLeft(Amount(sheet.totals.bonus_base), kAmountWidth) +
         PadLeft(Amount(sheet.totals.bonus_tax), 30));
  w.Line(PadRight("TOTAL", 16) + PadLeft(Amount(sheet.totals.net_income), kAmountWidth) +
         PadLeft(Amount(sheet.totals.tax), 30));
  w.Field("B. Cheltuieli profesionale acordate", Amount(sheet.totals.ch_prof));
  w.Field("C. Numar de luni pentru care s-au acordat cheltuieli profesionale",
          std::to_string(sheet.totals.ch_prof_months));
  w.Line();
  w.Line("VI. DATE REFERITOARE LA REGULARIZARE");
  if (sheet.section_vi) {
    const RegularisationLines& r = *sheet.section_vi;
    const auto optional = [](const std::optional<long double>& value) {
      return value ? Amount(*value) : std::string();
    };
    w.Field("1. Venit net", Amount(r.venit_net));
    w.Field("2. Cheltuieli profesionale acordate", Amount(r.ch_prof_acordate));
    w.Field("3. Cheltuieli profesionale cuvenite", Amount(r.ch_prof_cuvenite));
    w.Field("4. Venit net recalculat  (1+2-3)", Amount(r.venit_recalculat));
    w.Field("5. Deduceri personale cuvenite", Amount(r.deduceri_cuvenite));
    w.Field("6. Venit anual baza de calcul (4-5)", Amount(r.venit_baza));
    w.Field("7. Impozit anual", Amount(r.impozit_anual));
    w.Field("8. Total impozit lunar calculat si retinut", Amount(r.impozit_retinut));
    w.Field("9. Deferenta de impozit ramas de achitat de catre angajat", optional(r.de_achitat));
    w.Field("10. Diferenta de impozit de restituit angajatului", optional(r.de_restituit));
  }
  w.Line();
  w.Line("VII. CALCULUL IMPOZITULUI PE VENITURILE DIN SALARII CU IMPUNERE FINALA");
  w.Field("Venit net", "");
  w.Field("Impozit calculat si retinut", "");
  w.Line("VIII. VENIT NET DIN SALARII SCUTIT DE IMPOZITUL PE VENIT");
  w.Line();
  Closing(w);
}

void Ff1Before2002(SheetWriter& w, const FiscalSheet& sheet) {
  w.Line("FISA FISCALA 1");
  w.Line("(pentru venituri din salarii la functia de baza - FF1)");
  w.Line("pe anul: " + std::to_string(sheet.year));
  w.Line();
  EmployerSection(w, sheet.employer);
  w.Line();
  EmployeeSection(w, sheet.employee);
  w.Line(Box(sheet.employee.alt_venit_mark) +
         " Alte surse de venit supuse impozitului pe venitul anual global");
  w.Field("Data angajarii", sheet.employee.data_ang);
  w.Field("Data incetarii activitatii", sheet.employee.data_lich);
  w.Line();
  w.Line("III. DEDUCERI PERSONALE");
  w.MonthHeader();
  w.MonthRow("A. Total coeficient deducere rezultat din calcul",
             Coefficients(sheet.coef_ind, NumberMask::kInteger, false));
  w.Line("B. Situatia proprie pentru deducere suplimentara  " + sheet.invalidity_caption);
  w.MonthRow("", sheet.invalidity_text);
  if (!sheet.dependants.empty()) Dependants(w, sheet);
  w.Line();
  w.Line("IV. CALCULUL IMPOZITULUI PE VENITURILE DIN SALARII");
  w.Line(PadRight("Luna", 12) + PadLeft("Venit net", kAmountWidth) +
         PadLeft("Deducere personala de baza", 28) + PadLeft("Deduceri  suplimentare", 24) +
         PadLeft("Venit baza de calcul", 22) + PadLeft("Impozit calculat si retinut", 30));
  for (std::size_t m = 0; m < 12; ++m) {
    const SheetMonth& month = sheet.months[m];
    w.Line(PadRight(kMonths[m], 12) + PadLeft(Amount(month.VENIT_NET), kAmountWidth) +
           PadLeft(Amount(month.DED_PERS), 28) + PadLeft(Amount(month.DED_PERS_SUPLI), 24) +
           PadLeft(Amount(month.VENITBC), 22) + PadLeft(Amount(month.IMPOZIT), 30));
  }
  w.Line("");
  w.Line(PadRight("TOTAL", 12) + PadLeft(Amount(sheet.totals.net_income), kAmountWidth) +
         PadLeft("X ", 28) + PadLeft("X ", 24) + PadLeft("X ", 22) +
         PadLeft(Amount(sheet.totals.tax), 30));
  w.Line();
  w.Line("V. DATE REFERITOARE LA REGULARIZARE conform art. 27 (1)");
  const auto& r = sheet.old_section_v;
  const auto zero_or = [](long double value) { return value > 0 ? Amount(value) : "0 "; };
  w.Field("Impozit anual", r ? Amount(r->annual_tax) : "");
  w.Field("Impozit calculat si retinut", r ? Amount(r->withheld) : "");
  w.Field("Impozit ramas de achitat ", r ? zero_or(r->due) : "");
  w.Field("Impozit de restituit", r ? zero_or(r->refund) : "");
  w.Field("Suma achitata", "");
  w.Field("Suma restituita", "");
  w.Line();
  Closing(w);
}

void Ff2(SheetWriter& w, const FiscalSheet& sheet) {
  const bool layout_2002 = sheet.layout == Generation::k2002;
  w.Line("FISA FISCALA 2");
  w.Line("( pentru venituri altele decat cele de la functia de baza - FF2 )");
  w.Line("pe anul: " + std::to_string(sheet.year));
  if (layout_2002) w.Line("Fisa fiscala rectificativa : " + Box(sheet.employee.rectificare_mark));
  w.Line();
  EmployerSection(w, sheet.employer);
  if (layout_2002) Contacts(w, sheet.employer.Telefon, sheet.employer.EMail);
  w.Line();
  EmployeeSection(w, sheet.employee);
  if (layout_2002) Contacts(w, sheet.employee.Telefon, sheet.employee.Email);
  w.Line();
  std::string boxes = "Tip venit ";
  for (int box = 1; box <= 8; ++box) {
    // The older form has six boxes and a seventh again captioned AS6, none marked.
    if (!layout_2002 && box == 8) break;
    const int caption = !layout_2002 && box == 7 ? 6 : box;
    const bool marked = layout_2002 && sheet.employee.regularizare == std::to_string(box - 1);
    boxes += " AS" + std::to_string(caption) + " " + Box(marked ? "X" : "");
  }
  w.Line(boxes);
  w.Line();
  w.Line(PadRight("Luna", 16) + PadLeft(" Venit  baza  de  calcul ", 26) +
         PadLeft("  Impozitar  calculat   si  retinut", 36));
  for (std::size_t m = 0; m < 12; ++m) {
    w.Line(PadRight(kMonths[m], 16) + PadLeft(Amount(sheet.months[m].VENITBC), 26) +
           PadLeft(Amount(sheet.months[m].IMPOZIT), 36));
  }
  w.Line(PadRight("TOTAL", 16) + PadLeft(Amount(sheet.totals.taxable), 26) +
         PadLeft(Amount(sheet.totals.tax), 36));
  w.Line();
  Closing(w);
}

}  // namespace

std::string FiscalSheetText(const FiscalSheet& sheet) {
  SheetWriter writer;
  if (sheet.kind != "1") {
    Ff2(writer, sheet);
  } else if (sheet.layout == Generation::k2002) {
    Ff1Of2002(writer, sheet);
  } else {
    Ff1Before2002(writer, sheet);
  }
  return writer.str();
}

}  // namespace traveno::declarations
