#include "reports/statement_grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/numbers.h"
#include "reports/text_width.h"

namespace traveno::reports::statement {
namespace {

// The usual column widths A..K in millimetres; they fill the 277 mm between
// the margins of an A4 landscape page.
constexpr std::array<double, Grid::kColumns> kWidths = {46, 28, 24, 25, 21, 26, 21, 22, 22, 22, 20};
// Texts keep this much from their column's edges.
constexpr double kPadding = 0.8;
// The usual share of a cell that its small left-hand figure takes.
constexpr double kLeftShare = 0.34;
// The room between a cell's small left-hand figure and its amount, besides
// the blank that follows every figure: wider than the blank that groups a
// number's thousands, so two figures never read as one number.
constexpr double kSplitGap = 2.0;
// Column A keeps the running number in its first millimetres (more when the
// numbers are longer), and room enough for the names beside it.
constexpr double kNumberWidth = 5;
constexpr double kNumberGap = 1;
constexpr double kNameColumn = 36;
// The figures are never set smaller than this.
constexpr float kSmallestFigure = 4.5f;
constexpr float kFigureStep = 0.25f;

const Font kTextFont{6.5};
const Font kHeadingFont{5.5};

struct CellSpec {
  int column;
  int line;
  int left;   // a Field printed small on the left, -1 for none
  int right;  // a Field printed on the right, -1 for none
};

constexpr CellSpec kCells[] = {
    {0, 2, -1, kSalInc},
    {1, 0, kTimp, kTarifar},
    {1, 1, -1, kRealizat},
    {1, 2, kTimpSpl, kValTimpS},
    {1, 3, kZileCo, kSumaZileCo},
    {2, 0, -1, kVals1},
    {2, 1, -1, kVals2},
    {2, 2, -1, kVals3},
    {2, 3, -1, kVals4},
    {3, 0, kTimpNoapte, kSumaTNoapte},
    {3, 1, -1, kAlteSumeSiAlteSporuri},
    {3, 2, -1, kPrVa},
    {3, 3, -1, kDifBrut},
    {4, 0, -1, kCM1L},
    {4, 1, -1, kZileFP},
    {4, 2, -1, kPrime},
    {4, 3, -1, kFondSalariu},
    {5, 0, kZileCM, kCM2L},
    {5, 1, kZileCIC, kCIC},
    {5, 2, -1, kSumeExcept},
    {5, 3, -1, kBrut},
    {6, 0, -1, kSanatate},
    {6, 1, -1, kPensie},
    {6, 2, -1, kSomaj},
    {6, 3, -1, kVenitNet},
    {7, 0, -1, kChProf},
    {7, 1, -1, kDedPers},
    {7, 2, -1, kDedPersSupli},
    {7, 3, -1, kTotDrept},
    {8, 0, -1, kImpozit},
    {8, 1, -1, kAvans},
    {8, 2, -1, kRetineri},
    {8, 3, -1, kAvansCO},
    {9, 0, -1, kPrimeIncasate},
    {9, 1, -1, kPopriri},
    {9, 2, -1, kGarantii},
    {9, 3, -1, kAlteRet},
    {10, 0, -1, kRestPl},
};

bool IsCount(int field) {
  return field == kTimp || field == kTimpSpl || field == kZileCo || field == kTimpNoapte ||
         field == kZileFP || field == kZileCM || field == kZileCIC;
}

int BonusOf(int field) {
  if (field >= static_cast<int>(kVals1) && field <= static_cast<int>(kVals4)) {
    return field - static_cast<int>(kVals1);
  }
  return -1;
}

struct HeadingSpec {
  int column;
  int line;
  const char* left;
  const char* right;
};

// The fixed headings; the bonus names, the pension and the deduction
// captions follow the company parameters.
constexpr HeadingSpec kHeadings[] = {
    {0, 0, " Nume", "Prenume"},
    {0, 1, " Functie", ""},
    {0, 2, "Marca", "Salariu incadrare"},
    {1, 0, "Ore.l.", "Salariu realizat tarifar"},
    {1, 1, "", "Salariu realizat acord"},
    {1, 2, "Timp sup.", "Val. timp supl."},
    {1, 3, " ZileCO", "Suma zile co."},
    {3, 0, "Ore noapte", "Suma timp n "},
    {3, 1, "", "Alte sume +Alte Sporuri"},
    {3, 2, "", "Prima vacanta"},
    {3, 3, "", "Diferenta brut"},
    {4, 0, "", "CM firma"},
    {4, 1, "", "Zile CFP"},
    {4, 2, "", "Prima"},
    {4, 3, "", "Fond salariu "},
    {5, 0, "  Zile CM", "CM stat"},
    {5, 1, " Zile CIC", "CIC"},
    {5, 2, "", "Sume exceptate"},
    {5, 3, "", " Venit brut "},
    {6, 0, "", "CASS"},
    {6, 2, "", "Somaj"},
    {6, 3, "", "Venit net  "},
    {7, 0, "", "Chelt Prof."},
    {7, 1, "", "Deduc. Pers Baza"},
    {7, 2, "", "Deduc. Pers Supl"},
    {7, 3, "", "Baza Impozitare "},
    {8, 0, "", "Impozit"},
    {8, 1, "", "Avans"},
    {10, 0, "", "Rest plata"},
    {10, 3, "", "Semnatura"},
};

}  // namespace

Values RowValues(const PersRow& r, const engine::ReportFigures& f) {
  Values v{};
  v[kTimp] = r.TIMP;
  v[kTarifar] = f.Tarifar.value_or(0);
  v[kRealizat] = r.REALIZAT;
  v[kSalInc] = r.SALINC;
  v[kTimpSpl] = r.TIMP_SPL;
  v[kValTimpS] = r.VAL_TIMP_S;
  v[kZileCo] = r.ZILE_CO;
  v[kSumaZileCo] = r.SUMA_ZILE_CO;
  v[kVals1] = r.vals1;
  v[kVals2] = r.vals2;
  v[kVals3] = r.vals3;
  v[kVals4] = r.vals4;
  v[kTimpNoapte] = r.TIMP_NOAPTE;
  v[kSumaTNoapte] = r.SUMA_T_NOAPTE;
  v[kAlteSumeSiAlteSporuri] = f.AlteSumeSiAlteSporuri;
  v[kPrVa] = r.pr_va;
  v[kDifBrut] = r.Dif_Brut;
  v[kCM1L] = r.CM1L;
  v[kZileFP] = r.ZILE_FP;
  v[kPrime] = r.PRIME;
  v[kFondSalariu] = f.FondSalariu;
  v[kZileCM] = r.ZILE_CM;
  v[kCM2L] = r.CM2L;
  v[kZileCIC] = r.ZILE_CIC;
  v[kCIC] = r.CIC;
  v[kSumeExcept] = r.SumeExcept;
  v[kBrut] = r.BRUT;
  v[kSanatate] = r.SANATATE;
  v[kPensie] = r.PENSIE;
  v[kSomaj] = r.SOMAJ;
  v[kVenitNet] = r.VENIT_NET;
  v[kChProf] = r.Ch_Prof;
  v[kDedPers] = r.DED_PERS;
  v[kDedPersSupli] = r.DED_PERS_SUPLI;
  v[kTotDrept] = r.TOTDREPT;
  v[kImpozit] = r.IMPOZIT;
  v[kAvans] = r.AVANS;
  v[kRetineri] = r.RETINERI;
  v[kAvansCO] = r.AVANS_CO;
  v[kPrimeIncasate] = r.PRIME_INCASATE;
  v[kPopriri] = r.POPRIRI;
  v[kGarantii] = r.GARANTII;
  v[kAlteRet] = r.ALTE_RET;
  v[kRestPl] = r.RESTPL;
  return v;
}

// A count as Count writes it, any other figure as Amount does (the amount
// of time worked too, whose FormatN text is Amount's): "0 " for zero, else
// the number and a blank. Most figures are held by a double, which is
// formatted as it is.
std::string FigureText(Field field, long double value) {
  if (value == 0) return "0 ";
  const NumberMask mask = IsCount(field) ? NumberMask::kUpToTwoDecimals : NumberMask::kInteger;
  const auto near = static_cast<double>(value);
  std::string text = near == value ? FormatNumber(near, mask) : FormatNumber(value, mask);
  text += ' ';
  return text;
}

WidestFigures::WidestFigures() {
  magnitude_.fill(0);
  negative_.fill(false);
  fraction_.fill(false);
}

namespace {

// Keeps the wider of two texts (of one font: widths scale alike).
void KeepWider(std::string& kept, double& kept_width, const std::string& text) {
  if (text == kept) return;  // most rows repeat the widest text
  const double width = TextWidth(text, kTextFont);
  if (width > kept_width) {
    kept = text;
    kept_width = width;
  }
}

}  // namespace

void WidestFigures::Add(const Values& values, const BlockTexts& texts) {
  for (std::size_t f = 0; f < kFieldCount; ++f) {
    const long double v = values[f];
    magnitude_[f] += std::fabs(v);
    negative_[f] = negative_[f] || v < 0;
    fraction_[f] = fraction_[f] || v != std::rint(v);
  }
  KeepWider(number_, widths_[0], texts.number);
  KeepWider(marca_, widths_[1], texts.marca);
  KeepWider(kind_, widths_[2], texts.kind);
  KeepWider(coef_, widths_[3], texts.coef);
  for (int n = 0; n < 4; ++n) KeepWider(bonus_percent_[n], widths_[4 + n], texts.bonus_percent[n]);
}

std::string WidestFigures::Figure(Field field) const {
  const long double magnitude = magnitude_[field];
  // A count with a fraction anywhere may print two decimals in a sum.
  std::string text = IsCount(field) && fraction_[field] ? Rate(std::floor(magnitude)) + ",99 "
                                                        : FigureText(field, magnitude);
  return negative_[field] ? "-" + text : text;
}

Grid::Grid(const PageSetup& setup) : left_(setup.content_left()), number_width_(kNumberWidth) {
  std::array<double, kColumns> widths = kWidths;
  const double scale = setup.content_width() / std::accumulate(kWidths.begin(), kWidths.end(), 0.0);
  for (double& w : widths) w *= scale;
  Place(widths);
}

Grid::Grid(const PageSetup& setup, const WidestFigures& widest)
    : left_(setup.content_left()),
      number_width_(std::max(kNumberWidth, TextWidth(widest.number(), kTextFont))) {
  // What each cell needs at a figure size: its left-hand figure (or text),
  // the gap and its amount, or its amount alone.
  struct Needs {
    std::array<std::array<double, 4>, kColumns> left{}, right{};
    std::vector<double> column = std::vector<double>(kColumns, 0.0);
  };
  auto needs_at = [&](const Font& font) {
    Needs needs;
    auto width = [&](int field) {
      return field < 0 ? 0.0 : TextWidth(widest.Figure(Field(field)), font);
    };
    for (const CellSpec& cell : kCells) {
      needs.left[cell.column][cell.line] = width(cell.left);
      needs.right[cell.column][cell.line] = width(cell.right);
    }
    for (int n = 0; n < 4; ++n) needs.left[2][n] = TextWidth(widest.bonus_percent(n), font);
    needs.left[0][2] = TextWidth(widest.marca(), font);
    needs.left[0][3] = TextWidth(widest.kind(), font);
    needs.right[0][3] = TextWidth(widest.coef(), font);
    for (int c = 0; c < kColumns; ++c) {
      double need = 0;
      for (int line = 0; line < 4; ++line) {
        const double l = needs.left[c][line];
        const double r = needs.right[c][line];
        need = std::max(need, l > 0 ? l + kSplitGap + r : r);
      }
      needs.column[c] = need + 2 * kPadding;
    }
    needs.column[0] = std::max(needs.column[0], kNameColumn);
    return needs;
  };
  const std::vector<double> preferred(kWidths.begin(), kWidths.end());
  Needs needs;
  std::vector<double> fitted;
  for (float size = kFigureSize; size >= kSmallestFigure; size -= kFigureStep) {
    figure_font_ = Font{size};
    needs = needs_at(figure_font_);
    fitted = FitWidths(preferred, needs.column, setup.content_width());
    if (!fitted.empty()) break;
  }
  std::array<double, kColumns> widths{};
  for (int c = 0; c < kColumns; ++c) {
    // Too narrow a page even for the smallest figures: the usual widths,
    // and the renderer condenses what does not fit.
    widths[c] = fitted.empty() ? kWidths[c] * setup.content_width() / 277.0 : fitted[c];
  }
  Place(widths);
  // Each cell's left-hand figure takes its usual share, or what it needs,
  // and never more than leaves the amount beside it its room.
  for (int c = 0; c < kColumns; ++c) {
    const double inner = widths[c] - 2 * kPadding;
    for (int line = 0; line < 4; ++line) {
      const double l = needs.left[c][line];
      const double r = needs.right[c][line];
      double split = std::max(kLeftShare * inner, l);
      if (split + kSplitGap + r > inner) split = std::max(l, inner - kSplitGap - r);
      split_[c][line] = split;
    }
  }
}

void Grid::Place(const std::array<double, kColumns>& widths) {
  x_[0] = left_;
  for (int i = 0; i < kColumns; ++i) {
    x_[i + 1] = x_[i] + widths[i];
    for (int line = 0; line < 4; ++line) split_[i][line] = kLeftShare * (widths[i] - 2 * kPadding);
  }
}

Rect Grid::Cell(int column, int line, double top) const {
  return {x_[column] + kPadding, top + line * kLineHeight,
          x_[column + 1] - x_[column] - 2 * kPadding, kLineHeight};
}

Rect Grid::LeftPart(int column, int line, double top) const {
  Rect cell = Cell(column, line, top);
  cell.width = split_[column][line];
  return cell;
}

Rect Grid::RightPart(int column, int line, double top) const {
  Rect cell = Cell(column, line, top);
  const double left = split_[column][line] + kSplitGap;
  cell.x += left;
  cell.width -= left;
  return cell;
}

void Grid::PutHeadings(Band& band, double top, const GridCaptions& captions) const {
  band.Box({x_[0], top, right() - x_[0], 4 * kLineHeight + 0.6}, 0.25);
  for (int column = 1; column < kColumns; ++column) {
    band.Line(x_[column], top, x_[column], top + 4 * kLineHeight + 0.6, 0.15);
  }
  const double text_top = top + 0.3;
  for (const HeadingSpec& h : kHeadings) {
    if (*h.left != '\0') {
      const bool alone = *h.right == '\0';
      band.Text(alone ? Cell(h.column, h.line, text_top) : LeftPart(h.column, h.line, text_top),
                h.left, kHeadingFont);
    }
    if (*h.right != '\0') {
      const bool alone = *h.left == '\0';
      band.Text(alone ? Cell(h.column, h.line, text_top) : RightPart(h.column, h.line, text_top),
                h.right, kHeadingFont, Align::kRight);
    }
  }
  // Column A, line 4: the piece-work mark, the partial contract's hours a
  // day and the deduction coefficient, in the usual proportions of the
  // column.
  const Rect a4 = Cell(0, 3, text_top);
  const double unit = a4.width / (kWidths[0] - 2 * kPadding);
  band.Text({a4.x, a4.y, 14 * unit, a4.height}, "In Acord", kHeadingFont);
  band.Text({a4.x + 14 * unit, a4.y, 18 * unit, a4.height}, "Contr. partial", kHeadingFont);
  band.Text({a4.x + 32 * unit, a4.y, a4.width - 32 * unit, a4.height}, "Cf.Ded", kHeadingFont,
            Align::kRight);
  for (int n = 0; n < 4; ++n) {
    band.Text(Cell(2, n, text_top), captions.bonuses[n].heading, kHeadingFont, Align::kRight);
  }
  band.Text(Cell(6, 1, text_top), captions.pension, kHeadingFont, Align::kRight);
  const DeductionCaptions& d = captions.deductions;
  struct Placed {
    int column, line;
    const std::string& caption;
  };
  const Placed deductions[] = {{8, 2, d.retineri}, {8, 3, d.avans_co}, {9, 0, d.prime_incasate},
                               {9, 1, d.popriri},  {9, 2, d.garantii}, {9, 3, d.alte_retineri}};
  for (const Placed& p : deductions) {
    band.Text(Cell(p.column, p.line, text_top), p.caption, kHeadingFont, Align::kRight);
  }
}

void Grid::PutBlock(Band& band, double top, const Values& values, const BlockTexts& texts,
                    const GridCaptions& captions) const {
  const bool sum_row = !texts.caption.empty();
  for (const CellSpec& cell : kCells) {
    for (const int field : {cell.left, cell.right}) {
      if (field < 0) continue;
      const int bonus = BonusOf(field);
      if (bonus >= 0 && !captions.bonuses[bonus].used) continue;
      if (field == kTarifar && (texts.tarifar_blank || (sum_row && values[field] == 0))) continue;
      if (field == kRealizat && texts.realizat_blank) continue;
      const Rect box = field == cell.left ? LeftPart(cell.column, cell.line, top)
                       : cell.left >= 0   ? RightPart(cell.column, cell.line, top)
                                          : Cell(cell.column, cell.line, top);
      band.Text(box, FigureText(Field(field), values[field]), figure_font_, Align::kRight);
    }
  }
  for (int n = 0; n < 4; ++n) {
    if (!texts.bonus_percent[n].empty()) {
      band.Text(LeftPart(2, n, top), texts.bonus_percent[n], figure_font_, Align::kRight);
    }
  }
  const Rect a1 = Cell(0, 0, top);
  if (sum_row) {
    band.Text(a1, texts.caption, kTextFont.Bold());
  } else {
    band.Text({a1.x, a1.y, number_width_, a1.height}, texts.number, kTextFont, Align::kRight);
    const double name_x = number_width_ + kNumberGap;
    band.Text({a1.x + name_x, a1.y, a1.width - name_x, a1.height}, texts.name, kTextFont.Bold());
    band.Text(Cell(0, 1, top), texts.function, kTextFont);
    band.Text(LeftPart(0, 2, top), texts.marca, figure_font_);
    band.Text(LeftPart(0, 3, top), texts.kind, figure_font_);
    band.Text(RightPart(0, 3, top), texts.coef, figure_font_, Align::kRight);
  }
  if (!texts.signature.empty()) {
    band.Text(Cell(10, 3, top), texts.signature, kTextFont, Align::kRight);
  }
}

}  // namespace traveno::reports::statement
