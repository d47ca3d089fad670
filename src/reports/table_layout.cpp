#include "reports/table_layout.h"

#include "reports/text_width.h"

namespace traveno::reports {
namespace {

// Texts keep this much from their column's edges.
constexpr double kPadding = 0.8;

Rect Inside(double x, double width, double height) {
  return {x + kPadding, 0.3, width - 2 * kPadding, height - 0.6};
}

// The table's font is never made smaller than this to fit its widest values.
constexpr float kSmallestFont = 5.5f;
constexpr float kFontStep = 0.25f;

}  // namespace

Table::Table(const PageSetup& setup, std::vector<TableColumn> columns, Font font, double row_height)
    : columns_(std::move(columns)), font_(font), row_height_(row_height) {
  const double width = setup.content_width();
  double total = 0;
  for (const TableColumn& c : columns_) total += c.share;
  std::vector<double> widths;
  for (const TableColumn& c : columns_) widths.push_back(total > 0 ? c.share / total * width : 0);
  const std::vector<double> preferred = widths;
  // The widest values are measured bold, as the totals print.
  for (float size = font.size; size >= std::min(font.size, kSmallestFont); size -= kFontStep) {
    const Font bold = font.Sized(size).Bold();
    std::vector<double> needed;
    for (const TableColumn& c : columns_) {
      needed.push_back(c.widest.empty() ? 0 : TextWidth(c.widest, bold) + 2 * kPadding);
    }
    std::vector<double> fitted = FitWidths(preferred, needed, width);
    if (!fitted.empty()) {
      font_.size = size;
      widths = std::move(fitted);
      break;
    }
  }
  x_.push_back(setup.content_left());
  for (double w : widths) x_.push_back(x_.back() + w);
}

Band Table::Headings() const {
  Band band(row_height_ + 1.2);
  const double height = row_height_ + 0.6;
  band.Box({left(), 0.3, right() - left(), height}, 0.25, 235);
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    // A column without a heading shares the box of the one before it.
    if (c > 0 && !columns_[c].heading.empty()) band.Line(x_[c], 0.3, x_[c], 0.3 + height, 0.15);
    Rect box = Inside(x_[c], width(c), height);
    box.y += 0.3;
    band.Text(box, columns_[c].heading, font_.Bold(), columns_[c].align);
  }
  return band;
}

Band Table::Row(const std::vector<std::string>& cells, bool bold) const {
  Band band(row_height_);
  for (std::size_t c = 0; c < columns_.size() && c < cells.size(); ++c) {
    if (cells[c].empty()) continue;
    // A left-aligned text runs on over the empty cells after it.
    std::size_t end = c + 1;
    if (columns_[c].align == Align::kLeft) {
      while (end < columns_.size() && (end >= cells.size() || cells[end].empty())) ++end;
    }
    band.Text(Inside(x_[c], x_[end] - x_[c], row_height_), cells[c], bold ? font_.Bold() : font_,
              columns_[c].align);
  }
  if (bold) band.Line(left(), 0.1, right(), 0.1, 0.2);
  return band;
}

Band Table::Line(const std::string& text, bool bold) const {
  Band band(row_height_ + 0.8);
  band.Text({left() + kPadding, 0.7, right() - left() - 2 * kPadding, row_height_}, text,
            bold ? font_.Bold() : font_);
  return band;
}

}  // namespace traveno::reports
