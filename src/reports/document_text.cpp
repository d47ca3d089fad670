#include "reports/document_text.h"

#include <algorithm>
#include <cmath>

#include "core/text.h"

namespace traveno::reports {
namespace {

constexpr double kMillimetresPerCharacter = 2.0;
// Texts whose vertical centres are this close sit on one line.
constexpr double kSameLine = 1.0;

struct Placed {
  long start;
  std::string text;
};

long StartColumn(const TextItem& item, long length) {
  const double left = item.box.x / kMillimetresPerCharacter;
  const double right = item.box.right() / kMillimetresPerCharacter;
  switch (item.align) {
    case Align::kLeft:
      return std::lround(left);
    case Align::kRight:
      return std::lround(right) - length;
    case Align::kCenter:
      return std::lround((left + right) / 2 - length / 2.0);
  }
  return 0;
}

std::string JoinLine(std::vector<Placed> placed) {
  std::stable_sort(placed.begin(), placed.end(),
                   [](const Placed& a, const Placed& b) { return a.start < b.start; });
  std::string line;
  long column = 0;
  for (const Placed& p : placed) {
    long start = std::max(p.start, 0L);
    if (column > 0 && start <= column) start = column + 1;
    line.append(static_cast<std::size_t>(start - column), ' ');
    line += p.text;
    column = start + static_cast<long>(CharCount(p.text));
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

std::vector<std::string> PageLines(const Page& page) {
  std::vector<const TextItem*> items;
  for (const TextItem& item : page.texts) {
    if (!Trim(item.text).empty()) items.push_back(&item);
  }
  auto centre = [](const TextItem* item) { return item->box.y + item->box.height / 2; };
  std::stable_sort(items.begin(), items.end(),
                   [&](const TextItem* a, const TextItem* b) { return centre(a) < centre(b); });
  std::vector<std::string> lines;
  std::vector<Placed> line;
  double line_centre = 0;
  for (const TextItem* item : items) {
    if (!line.empty() && centre(item) - line_centre > kSameLine) {
      lines.push_back(JoinLine(std::move(line)));
      line.clear();
    }
    if (line.empty()) line_centre = centre(item);
    const long length = static_cast<long>(CharCount(item->text));
    line.push_back({StartColumn(*item, length), item->text});
  }
  if (!line.empty()) lines.push_back(JoinLine(std::move(line)));
  return lines;
}

std::string DocumentText(const Document& document) {
  std::string text;
  const std::size_t count = document.pages.size();
  for (std::size_t i = 0; i < count; ++i) {
    text += "--- Pagina " + std::to_string(i + 1) + " / " + std::to_string(count) + " ---\n";
    for (const std::string& line : PageLines(document.pages[i])) text += line + "\n";
  }
  return text;
}

}  // namespace traveno::reports
