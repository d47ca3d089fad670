#include "declarations/declaration_print.h"

#include <cstdio>

#include "core/numbers.h"
#include "core/text.h"

namespace traveno::declarations::print {
namespace {

// An average letter of the sans face takes about this share of the size.
constexpr double kLetterWidth = 0.55;
constexpr double kMmPerPoint = 25.4 / 72;

double LettersIn(double width, const Font& font) {
  const double letter = font.size * kMmPerPoint * kLetterWidth * (font.bold ? 1.08 : 1.0);
  return letter > 0 ? width / letter : width;
}

}  // namespace

std::string Whole(long double value) { return FormatNumber(value, NumberMask::kInteger) + " "; }

std::string Grouped(long double value) {
  const std::string text = FormatNumber(value, NumberMask::kGrouped);
  return text.empty() ? text : text + " ";
}

std::string TwoDecimals(long double value) { return FormatNumber(value, NumberMask::kTwoDecimals); }

std::string UpToTwoDecimals(long double value) {
  return FormatNumber(value, NumberMask::kUpToTwoDecimals) + " ";
}

std::string Value(std::string_view text) {
  return text.empty() ? std::string() : " " + std::string(text);
}

void Append(Band& into, const Band& from, double dy) {
  reports::Page& page = into.items();
  for (reports::TextItem item : from.items().texts) {
    item.box.y += dy;
    page.texts.push_back(std::move(item));
  }
  for (reports::BoxItem item : from.items().boxes) {
    item.box.y += dy;
    page.boxes.push_back(item);
  }
  for (reports::LineItem item : from.items().lines) {
    item.y1 += dy;
    item.y2 += dy;
    page.lines.push_back(item);
  }
  for (reports::PictureItem item : from.items().pictures) {
    item.box.y += dy;
    page.pictures.push_back(std::move(item));
  }
}

std::vector<std::string> Wrap(std::string_view text, double width, const Font& font) {
  const std::size_t room = static_cast<std::size_t>(std::max(1.0, LettersIn(width, font)));
  std::vector<std::string> lines;
  std::string line;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t blank = text.find(' ', at);
    const std::string word(
        text.substr(at, blank == std::string_view::npos ? text.npos : blank - at));
    at = blank == std::string_view::npos ? text.size() : blank + 1;
    if (word.empty()) continue;
    if (!line.empty() && CharCount(line) + 1 + CharCount(word) > room) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

double LineHeight(const Font& font) { return font.size * kMmPerPoint * 1.25; }

void WrappedText(Band& band, const Rect& box, std::string_view text, const Font& font,
                 Align align) {
  const std::vector<std::string> lines = Wrap(text, box.width - 1, font);
  const double line_height = LineHeight(font);
  double y = box.y + (box.height - line_height * static_cast<double>(lines.size())) / 2;
  for (const std::string& line : lines) {
    band.Text({box.x + 0.5, y, box.width - 1, line_height}, line, font, align);
    y += line_height;
  }
}

void HeadingCell(Band& band, const Rect& box, std::string_view text, const Font& font) {
  band.Box(box, 0.2);
  WrappedText(band, box, text, font);
}

void ValueBox(Band& band, const Rect& box, std::string_view text, const Font& font, Align align) {
  band.Box(box, 0.2);
  if (!text.empty()) {
    band.Text({box.x + 0.6, box.y, box.width - 1.2, box.height}, std::string(text), font, align);
  }
}

std::string NumberAndDateLine(std::string_view number, Date date) {
  std::string day = "  ", month = "  ", year = "    ";
  if (!date.IsEmpty()) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", date.day());
    day = text;
    std::snprintf(text, sizeof text, "%02d", date.month());
    month = text;
    year = std::to_string(date.year());
  }
  return "Nr." + Value(number) + "   din ziua " + day + ",luna: " + month + ",anul: " + year;
}

std::string DateText(Date date) { return date.IsEmpty() ? std::string() : date.ToText(); }

std::string RegComText(std::string_view county, std::string_view number, std::string_view year) {
  return std::string(county) + " / " + std::string(number) + " / " + std::string(year);
}

}  // namespace traveno::declarations::print
