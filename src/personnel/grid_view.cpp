#include "personnel/grid_view.h"

#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "core/text.h"
#include "personnel/line_posting.h"

namespace traveno::personnel {
namespace {

std::string CaptionOr(const std::string& parameter, const char* fallback) {
  return Trim(parameter).empty() ? std::string(fallback) : parameter;
}

// How a bonus's mode decides its two columns: the person's figure is asked
// for unless the bonus is unused, or is a formula that needs no percentage;
// the value is shown for every mode that yields one.
int BonusMode(const engine::BonusParameters& bonus) {
  return static_cast<int>(RoundEven(bonus.Apl));
}
bool ShowsBonusFigure(const engine::BonusParameters& bonus) {
  const int mode = BonusMode(bonus);
  return !(mode == 4 || (mode == 5 && bonus.ProcF == 0));
}
bool ShowsBonusValue(const engine::BonusParameters& bonus) {
  const int mode = BonusMode(bonus);
  return mode == 1 || mode == 2 || mode == 3 || mode == 5;
}

std::string WholeText(const FieldValue& value) {
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return std::to_string(*whole);
  if (const auto* real = std::get_if<double>(&value)) return FloatToText(*real);
  return {};
}

double NumberOf(const FieldValue& value) {
  if (const auto* real = std::get_if<double>(&value)) return *real;
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return static_cast<double>(*whole);
  return 0;
}

// The history's year and month of the row are computed, not stored.
bool IsComputedField(const std::string& field) { return field == "An" || field == "Luna2"; }

// The value of a column whose field `index` was found beforehand.
FieldValue ValueOf(const PersRow& row, const GridColumn& column, std::optional<std::size_t> index) {
  if (column.field == "An") return FieldValue(std::int64_t{YearOf(row.LUNA)});
  if (column.field == "Luna2") return FieldValue(std::int64_t{MonthOf(row.LUNA)});
  return index ? GetField(row, *index) : FieldValue(std::string());
}

FieldValue ValueOf(const PersRow& row, const GridColumn& column) {
  if (IsComputedField(column.field)) return ValueOf(row, column, std::nullopt);
  return ValueOf(row, column, FindField<PersRow>(column.field));
}

std::string CellText(const FieldValue& value, const GridColumn& column) {
  switch (column.format) {
    case GridFormat::kText:
      if (const auto* text = std::get_if<std::string>(&value)) return *text;
      return {};
    case GridFormat::kWhole:
      return WholeText(value);
    case GridFormat::kAmount:
      return FormatNumber(NumberOf(value), NumberMask::kGrouped);
    case GridFormat::kQuantity:
    case GridFormat::kCoefficient:
      return FormatNumber(NumberOf(value), NumberMask::kUpToTwoDecimals);
  }
  return {};
}

bool IsWhole(double value) { return std::isfinite(value) && std::trunc(value) == value; }

}  // namespace

std::vector<GridColumn> GridColumns(const engine::CompanyParameters& company, std::string_view tip,
                                    bool show_department) {
  const bool partial = tip == "2";
  using F = GridFormat;
  std::vector<GridColumn> columns;
  auto add = [&columns](std::string field, std::string caption, F format, bool visible = true) {
    const bool editable = IsGridEditableField(field);
    columns.push_back({std::move(field), std::move(caption), visible, editable, format});
  };
  add("Depart", "Departament", F::kText, show_department);
  add("CATEGORIE", partial ? "CAT " : "CAT", F::kWhole);
  add("MARCA", "Marca", F::kWhole);
  add("NUME", "Nume", F::kText);
  add("PRENUME", "Prenume", F::kText);
  add("FUNCTIE", "Functie", F::kText);
  add("NORMA", "NORMA", F::kWhole);
  if (partial) add("Ore_Zi", "Ore / Zi", F::kQuantity);
  add("SALINC", "Salariu incadrare", F::kAmount);
  add("TIMP", "Timp", F::kQuantity);
  add("ACORD", "Acord", F::kText, !partial);
  add("REALIZAT", "Realizat", F::kAmount, !partial);
  add("TIMP_SPL", "Timp S", F::kQuantity);
  add("VAL_TIMP_S", "Valoare Timp Supl", F::kAmount);
  add("TIMP_NOAPTE", "Timp Noapte", F::kQuantity);
  add("SUMA_T_NOAPTE", "Valoare timp noapte", F::kAmount);
  static const char* const kFigures[] = {"Spor1", "spor2", "spor3", "spor4"};
  static const char* const kValues[] = {"vals1", "vals2", "vals3", "vals4"};
  for (int n = 0; n < 4; ++n) {
    const engine::BonusParameters& bonus = company.spor[static_cast<std::size_t>(n)];
    // A bonus figure is a sum in lei or a percentage, so it keeps its decimals.
    add(kFigures[n], bonus.Den, F::kQuantity, ShowsBonusFigure(bonus));
    add(kValues[n], "Val. " + bonus.Den, F::kAmount, ShowsBonusValue(bonus));
  }
  add("ZILE_CO", "Zile CO", F::kQuantity);
  add("SUMA_ZILE_CO", "Suma zile CO", F::kAmount);
  add("ZILE_CM", "Zile CM", F::kWhole);
  add("ZILE_CIC", "Zile CIC", F::kWhole);
  add("ZILE_FP", "Zile FP", F::kWhole);
  add("ALTE_SUME", "Alte sume", F::kAmount);
  add("SPORURI", partial ? "Alte sporuri" : "Alte Sporuri", F::kAmount);
  add("PRIME", "Prime", F::kAmount, !partial);
  add("pr_va", "Prima vacanta", F::kAmount);
  add("Dif_Brut", partial ? "Dif .brut" : "Dif. brut", F::kAmount);
  add("CM1L", "CM Firma", F::kAmount);
  add("CIC", "CIC", F::kAmount);
  add("CM2L", "CM Stat", F::kAmount);
  add("CoefInd", "Coef Ind", F::kCoefficient);
  add("CoefInd1", "Coef Ind C", F::kCoefficient);
  add("BRUT", "Brut", F::kAmount);
  add("SumeExcept", "SumeExcept", F::kAmount);
  add("PENSIE", "CIAS", F::kAmount);
  add("SOMAJ", "Somaj", F::kAmount);
  add("SANATATE", "Sanatate", F::kAmount);
  add("VENIT_NET", "VENIT_NET", F::kAmount);
  add("DED_PERS", "DED_PERS", F::kAmount);
  add("DED_PERS_SUPLI", "DED_PERS_SUPLI", F::kAmount);
  add("Ch_Prof", "Ch_Prof", F::kAmount);
  add("ProcImpo", "ProcImpo", F::kQuantity);
  add("IMPOZIT", "Impozit", F::kAmount);
  add("AVANS", "Avans", F::kAmount);
  add("PRIME_INCASATE", CaptionOr(company.Den_PrIncas, "Prime incasate"), F::kAmount);
  add("AVANS_CO", CaptionOr(company.Den_AvansCO, "Avans Concediu"), F::kAmount);
  add("RETINERI", CaptionOr(company.Den_Retineri, "Retineri"), F::kAmount);
  add("GARANTII", CaptionOr(company.Den_Garantii, "Garantii"), F::kAmount);
  add("POPRIRI", CaptionOr(company.Den_Popriri, "Popriri"), F::kAmount);
  add("ALTE_RET", CaptionOr(company.Den_AlteRet, "Alte retineri"), F::kAmount);
  add("RESTPL", "Rest plata", F::kAmount);
  return columns;
}

std::vector<GridColumn> HistoryColumns(const engine::CompanyParameters& company,
                                       std::string_view tip) {
  std::vector<GridColumn> columns = {{"An", "An", true, false, GridFormat::kWhole},
                                     {"Luna2", "Luna", true, false, GridFormat::kWhole}};
  for (GridColumn& column : GridColumns(company, tip, true)) {
    column.editable = false;
    columns.push_back(std::move(column));
  }
  return columns;
}

bool ShowsDepartmentColumn(const params::Session& session,
                           const std::optional<std::string>& department) {
  return session.department_count() > 1 && !department;
}

std::string GridHeading(params::Session& session, const std::optional<std::string>& department) {
  std::string employer;
  if (const auto company = session.store().FindCompany(session.company())) {
    employer = company->TipAngaj == 1 ? company->Denumire : company->Nume + " " + company->Prenume;
  }
  const Date month = session.working_month();
  std::string heading = " FIRMA : " + employer + "\n " + std::string(MonthName(MonthOf(month))) +
                        " / " + std::to_string(YearOf(month));
  if (session.department_count() > 1 && department) {
    heading += " departamentul: " + UpperTrim(*department);
  }
  return heading;
}

std::string GridCellText(const PersRow& row, const GridColumn& column) {
  return CellText(ValueOf(row, column), column);
}

GridCellTexts::GridCellTexts(const std::vector<GridColumn>& columns) : columns_(columns) {
  fields_.reserve(columns.size());
  for (const GridColumn& column : columns) {
    fields_.push_back(IsComputedField(column.field) ? std::nullopt
                                                    : FindField<PersRow>(column.field));
  }
}

std::string GridCellTexts::Text(const PersRow& row, std::size_t column) const {
  return CellText(ValueOf(row, columns_[column], fields_[column]), columns_[column]);
}

std::string GridEditText(const PersRow& row, const GridColumn& column) {
  const FieldValue value = ValueOf(row, column);
  switch (column.format) {
    case GridFormat::kText:
      return GridCellText(row, column);
    case GridFormat::kWhole:
      return WholeText(value);
    case GridFormat::kAmount: {
      // Whole lei edit as plain digits (nothing for 0); a sum with a
      // fraction keeps it, so that leaving the cell changes nothing.
      const double amount = NumberOf(value);
      if (amount == 0) return {};
      if (IsWhole(amount) && std::fabs(amount) < 1e15) {
        return std::to_string(static_cast<long long>(amount));
      }
      return FloatToText(amount);
    }
    case GridFormat::kQuantity:
    case GridFormat::kCoefficient:
      return FloatToText(NumberOf(value));
  }
  return {};
}

std::optional<FieldValue> ParseGridInput(const GridColumn& column, std::string_view text) {
  if (column.format == GridFormat::kText) return FieldValue(Trim(text));
  std::string compact;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Blanks and the no-break blank (UTF-8 C2 A0) group the thousands.
    if (text[i] == ' ') continue;
    if (static_cast<unsigned char>(text[i]) == 0xC2 && i + 1 < text.size() &&
        static_cast<unsigned char>(text[i + 1]) == 0xA0) {
      ++i;
      continue;
    }
    compact += text[i];
  }
  if (compact.empty())
    return column.format == GridFormat::kWhole ? FieldValue(std::int64_t{0}) : FieldValue(0.0);
  const std::optional<double> number = TryParseNumber(compact);
  if (!number || !std::isfinite(*number)) return std::nullopt;
  if (column.format != GridFormat::kWhole) return FieldValue(*number);
  if (!IsWhole(*number)) return std::nullopt;
  const auto index = FindField<PersRow>(column.field);
  const bool small = index && FieldsOf<PersRow>()[*index].kind == FieldKind::kInt16;
  const double low =
      small ? std::numeric_limits<std::int16_t>::min() : std::numeric_limits<std::int32_t>::min();
  const double high =
      small ? std::numeric_limits<std::int16_t>::max() : std::numeric_limits<std::int32_t>::max();
  if (*number < low || *number > high) return std::nullopt;
  return FieldValue(static_cast<std::int64_t>(*number));
}

CellShade GridCellShade(const PersRow& row, const GridColumn& column) {
  const std::string field = UpperTrim(column.field);
  if (field == "NUME") {
    if (row.ACORD == "D") return CellShade::kInformation;
    if (row.PlatitOra == 1) return CellShade::kHourlyPaid;
  }
  if (field == "NORMA") {
    if (row.NORMA == 6 || row.NORMA == 7) return CellShade::kShortNorm;
    if (row.NORMA != 8) return CellShade::kWrongNorm;
  }
  if (field == "ORE_ZI") return CellShade::kInformation;
  return column.editable ? CellShade::kEditable : CellShade::kReadOnly;
}

bool DependantsOffered(std::string_view tip, const PersRow* line) {
  if (line == nullptr) return false;
  return tip == "1" || line->PlatitOra == 1;
}

void GridLineSums::Add(std::string_view tip, double realizat) {
  (tip == "1" ? realizat_p : realizat_c) += realizat;
}

void GridLineSums::Remove(const PersRow& line) {
  (line.TIP == "1" ? realizat_p : realizat_c) -= line.REALIZAT;
}

GridLineSums SumGridLines(std::span<const PersRow> lines) {
  GridLineSums sums;
  for (const PersRow& line : lines) sums.Add(line);
  return sums;
}

GridTotals GridTotalsOf(params::Session& session, const GridLineSums& sums) {
  // Every figure but the realised sums comes from the running totals.
  const engine::CompanyTotals& t = session.totals();
  const engine::CompanyFunds& f = session.funds();
  GridTotals g;
  g.avans = t.AvansuriP + t.AvansuriC;
  g.rest_de_plata = t.RestPlP + t.RestPlC;
  g.total_net = g.avans + g.rest_de_plata;
  g.cost_total = CostTotalSalarii(t, f);
  g.ratio = g.total_net > 0 ? FormatN(g.cost_total / g.total_net, 2) + " " : "0 ";
  const bool exempt_in_gross = UpperTrim(session.parameters().company.Ex_Firma.Grupa) == "DA";
  g.brut_p = t.BrutP + (exempt_in_gross ? t.SumeExceptP : 0);
  g.brut_c = t.BrutC + (exempt_in_gross ? t.SumeExceptC : 0);
  g.avans_p = t.AvansuriP;
  g.avans_c = t.AvansuriC;
  g.rest_p = t.RestPlP;
  g.rest_c = t.RestPlC;
  g.realizat_p = sums.realizat_p;
  g.realizat_c = sums.realizat_c;
  return g;
}

}  // namespace traveno::personnel
