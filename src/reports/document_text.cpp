#include "reports/document_text.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string_view>

#include "core/text.h"

namespace traveno::reports {
namespace {

constexpr double kMillimetresPerCharacter = 2.0;
// Texts whose vertical centres are this close sit on one line.
constexpr double kSameLine = 1.0;

struct Placed {
  long start;
  long length;  // in characters
  std::string_view text;
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

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// Appends the texts of one line to `line`, from their columns, without
// trailing blanks.
void JoinLine(std::vector<Placed>& placed, std::string& line) {
  std::stable_sort(placed.begin(), placed.end(),
                   [](const Placed& a, const Placed& b) { return a.start < b.start; });
  const std::size_t line_start = line.size();
  long column = 0;
  for (const Placed& p : placed) {
    long start = std::max(p.start, 0L);
    if (column > 0 && start <= column) start = column + 1;
    line.append(static_cast<std::size_t>(start - column), ' ');
    line += p.text;
    column = start + p.length;
  }
  while (line.size() > line_start && line.back() == ' ') line.pop_back();
}

// Calls `emit` with the texts of each line of the page, top to bottom.
template <typename Emit>
void GatherLines(const Page& page, Emit emit) {
  std::vector<const TextItem*> items;
  items.reserve(page.texts.size());
  for (const TextItem& item : page.texts) {
    if (!IsBlank(item.text)) items.push_back(&item);
  }
  auto centre = [](const TextItem* item) { return item->box.y + item->box.height / 2; };
  std::stable_sort(items.begin(), items.end(),
                   [&](const TextItem* a, const TextItem* b) { return centre(a) < centre(b); });
  std::vector<Placed> line;
  double line_centre = 0;
  for (const TextItem* item : items) {
    if (!line.empty() && centre(item) - line_centre > kSameLine) {
      emit(line);
      line.clear();
    }
    if (line.empty()) line_centre = centre(item);
    const long length = static_cast<long>(CharCount(item->text));
    line.push_back({StartColumn(*item, length), length, item->text});
  }
  if (!line.empty()) emit(line);
}

}  // namespace

std::vector<std::string> PageLines(const Page& page) {
  std::vector<std::string> lines;
  GatherLines(page, [&](std::vector<Placed>& placed) { JoinLine(placed, lines.emplace_back()); });
  return lines;
}

namespace {

std::string PageHeading(std::size_t index, std::size_t count) {
  return "--- Pagina " + std::to_string(index + 1) + " / " + std::to_string(count) + " ---\n";
}

void AppendPageText(const Page& page, std::string& text) {
  GatherLines(page, [&](std::vector<Placed>& placed) {
    JoinLine(placed, text);
    text += '\n';
  });
}

}  // namespace

std::string DocumentText(const Document& document) {
  std::string text;
  const std::size_t count = document.pages.size();
  for (std::size_t i = 0; i < count; ++i) {
    text += PageHeading(i, count);
    AppendPageText(document.pages[i], text);
  }
  return text;
}

void DocumentTextSink::AddPage(Page page) {
  std::string text;
  AppendPageText(page, text);
  pages_.push_back(std::move(text));
}

void DocumentTextSink::WriteTo(std::ostream& out) const {
  const std::size_t count = pages_.size();
  for (std::size_t i = 0; i < count; ++i) out << PageHeading(i, count) << pages_[i];
}

}  // namespace traveno::reports
