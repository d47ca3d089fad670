#include "reports/page_selection.h"

#include <algorithm>
#include <optional>

#include "core/text.h"

namespace traveno::reports {
namespace {

// A whole number of at most 9 digits, blanks around allowed; empty for
// anything else (a sign, a letter, an empty text).
std::optional<int> ReadWhole(std::string_view text) {
  const std::string digits = Trim(text);
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<PageRange> ReadPiece(std::string_view piece, int page_count) {
  const std::size_t dash = piece.find('-');
  if (dash == std::string_view::npos) {
    const std::optional<int> page = ReadWhole(piece);
    if (page && *page >= 1 && *page <= page_count) return PageRange{*page, *page};
    return std::nullopt;
  }
  // A number that does not read counts as 0, which no range accepts.
  const int first = ReadWhole(piece.substr(0, dash)).value_or(0);
  const int last = ReadWhole(piece.substr(dash + 1)).value_or(0);
  if (first != 0 && last != 0 && last >= first && first >= 1 && last <= page_count) {
    return PageRange{first, last};
  }
  return std::nullopt;
}

std::string RangeText(const PageRange& range) {
  if (range.first == range.last) return std::to_string(range.first);
  return std::to_string(range.first) + "-" + std::to_string(range.last);
}

}  // namespace

PageSelection ParsePageSelection(std::string_view text, int page_count) {
  std::string normalised = std::string(text) + ",";
  // The order matters: ".." must become a range before "." becomes a comma.
  const std::pair<const char*, const char*> kReplacements[] = {
      {"..", "-"}, {"/", "-"}, {"_", "-"}, {";", ","}, {":", ","}, {".", ","}, {"|", ","}};
  for (const auto& [from, to] : kReplacements) normalised = ReplaceAll(normalised, from, to);

  PageSelection selection;
  std::size_t start = 0;
  for (std::size_t comma = normalised.find(','); comma != std::string::npos;
       start = comma + 1, comma = normalised.find(',', start)) {
    const std::string_view piece = std::string_view(normalised).substr(start, comma - start);
    if (piece.empty()) continue;
    if (const std::optional<PageRange> range = ReadPiece(piece, page_count)) {
      selection.ranges.push_back(*range);
    } else {
      selection.unread += std::string(piece) + " ";
    }
  }
  return selection;
}

std::string UnreadPiecesMessage(const std::string& unread) {
  return "Nu pot interpreta: " + unread + " .";
}

std::string PrintQuestion(const std::vector<PageRange>& ranges, int page_count) {
  if (ranges.size() == 1 && ranges.front() == PageRange{1, page_count}) {
    return "Tiparesc tot raportul ? ( " + std::to_string(page_count) + " pagini )";
  }
  std::string question = ranges.size() == 1 ? "Tiparesc pagina " : "Tiparesc paginile ";
  for (const PageRange& range : ranges) question += RangeText(range) + " ";
  return question + "?";
}

int ZoomIn(int zoom, bool right_click) {
  if (right_click) return std::min(zoom + 1, kMaxZoom);
  return zoom > kMaxZoom - 12 ? kMaxZoom : std::min(zoom + 10, kMaxZoom);
}

int ZoomOut(int zoom, bool right_click) {
  if (right_click) return std::max(zoom - 1, kMinZoom);
  return zoom <= 10 ? kMinZoom : zoom - 10;
}

std::string FitZoomText(bool landscape) { return landscape ? "78" : "55"; }
std::string WidthZoomText(bool landscape) { return landscape ? "82" : "115"; }

}  // namespace traveno::reports
