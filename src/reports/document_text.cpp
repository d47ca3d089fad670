#include "reports/document_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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

// std::lround (halves away from zero) without the library call, for the
// columns of a page; values out of its reach take the library's.
long RoundColumn(double value) {
  if (!(std::fabs(value) < 1e15)) return std::lround(value);
  const auto whole = static_cast<long>(value);                 // towards zero
  const double fraction = value - static_cast<double>(whole);  // exact
  if (fraction >= 0.5) return whole + 1;
  if (fraction <= -0.5) return whole - 1;
  return whole;
}

long StartColumn(const TextItem& item, long length) {
  const double left = item.box.x / kMillimetresPerCharacter;
  const double right = item.box.right() / kMillimetresPerCharacter;
  switch (item.align) {
    case Align::kLeft:
      return RoundColumn(left);
    case Align::kRight:
      return RoundColumn(right) - length;
    case Align::kCenter:
      return RoundColumn((left + right) / 2 - length / 2.0);
  }
  return 0;
}

bool IsBlank(std::string_view text) {
  // Most texts begin with what they show.
  if (!text.empty() && static_cast<unsigned char>(text.front()) > ' ') return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// Appends the texts of one line to `line`, from their columns, without
// trailing blanks.
void JoinLine(std::vector<Placed>& placed, std::string& line) {
  // Ordered by column, texts of one column in the order they came: an
  // insertion sort, as a line holds few texts, mostly in order already.
  for (std::size_t i = 1; i < placed.size(); ++i) {
    const Placed p = placed[i];
    std::size_t j = i;
    for (; j > 0 && p.start < placed[j - 1].start; --j) placed[j] = placed[j - 1];
    placed[j] = p;
  }
  // Each text's column, then the line made in one piece: blanks, and each
  // text copied to its place.
  const std::size_t line_start = line.size();
  std::size_t bytes = 0;
  long column = 0;
  for (Placed& p : placed) {
    long start = std::max(p.start, 0L);
    if (column > 0 && start <= column) start = column + 1;
    bytes += static_cast<std::size_t>(start - column) + p.text.size();
    p.start = start;
    column = start + p.length;
  }
  line.resize(line_start + bytes, ' ');
  char* out = line.data() + line_start;
  column = 0;
  for (const Placed& p : placed) {
    const auto blanks = static_cast<std::size_t>(p.start - column);
    std::memcpy(out + blanks, p.text.data(), p.text.size());
    out += blanks + p.text.size();
    column = p.start + p.length;
  }
  while (line.size() > line_start && line.back() == ' ') line.pop_back();
}

// A key of a position that orders as the positions do (a negative zero as
// zero): the sign bit set above the positive values, every bit of the
// negative ones turned over.
std::uint64_t OrderedKey(double position) {
  std::uint64_t bits;
  const double normalised = position + 0.0;
  std::memcpy(&bits, &normalised, sizeof bits);
  return (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
}

// The texts of a page in the order of their vertical centres, texts of one
// centre in the order they came (as a stable sort gives them). A page holds
// few distinct centres (its lines): they are found through a small hash
// table and put in order, and the texts are then placed by how many come
// before their centre.
class CentreOrder {
 public:
  explicit CentreOrder(const Page& page) {
    const std::size_t count = page.texts.size();
    texts_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const TextItem& item = page.texts[i];
      if (IsBlank(item.text)) continue;
      const double centre = item.box.y + item.box.height / 2;
      texts_.push_back({centre, static_cast<std::uint32_t>(i), HeightOf(OrderedKey(centre))});
    }
    // The heights in order, and where the texts of each begin.
    std::vector<std::uint32_t> by_key(heights_.size());
    for (std::uint32_t h = 0; h < by_key.size(); ++h) by_key[h] = h;
    std::sort(by_key.begin(), by_key.end(), [this](std::uint32_t a, std::uint32_t b) {
      return heights_[a].key < heights_[b].key;
    });
    std::uint32_t before = 0;
    for (const std::uint32_t h : by_key) {
      const std::uint32_t texts = heights_[h].count;
      heights_[h].count = before;
      before += texts;
    }
    order_.resize(texts_.size());
    for (std::uint32_t k = 0; k < order_.size(); ++k) {
      order_[heights_[texts_[k].height].count++] = k;
    }
  }

  // The texts as indexes into what the constructor collected, in order.
  const std::vector<std::uint32_t>& order() const { return order_; }
  double centre(std::uint32_t k) const { return texts_[k].centre; }
  std::uint32_t text(std::uint32_t k) const { return texts_[k].index; }

 private:
  struct Text {
    double centre;
    std::uint32_t index;   // in the page's texts
    std::uint32_t height;  // in heights_
  };
  struct Height {
    std::uint64_t key;
    std::uint32_t count;  // its texts; then the first place of its texts
  };

  std::size_t SlotOf(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 32) & (table_.size() - 1);
  }

  // The entry of a centre's key, made at its first text.
  std::uint32_t HeightOf(std::uint64_t key) {
    std::size_t slot = SlotOf(key);
    while (table_[slot] != kFree) {
      const std::uint32_t h = table_[slot];
      if (heights_[h].key == key) {
        ++heights_[h].count;
        return h;
      }
      slot = (slot + 1) & (table_.size() - 1);
    }
    const auto h = static_cast<std::uint32_t>(heights_.size());
    heights_.push_back({key, 1});
    table_[slot] = h;
    if (heights_.size() * 2 > table_.size()) Grow();
    return h;
  }

  void Grow() {
    table_.assign(table_.size() * 2, kFree);
    for (std::uint32_t h = 0; h < heights_.size(); ++h) {
      std::size_t slot = SlotOf(heights_[h].key);
      while (table_[slot] != kFree) slot = (slot + 1) & (table_.size() - 1);
      table_[slot] = h;
    }
  }

  static constexpr std::uint32_t kFree = 0xFFFFFFFF;
  std::vector<Text> texts_;
  std::vector<Height> heights_;
  std::vector<std::uint32_t> table_ = std::vector<std::uint32_t>(128, kFree);
  std::vector<std::uint32_t> order_;
};

// Calls `emit` with the texts of each line of the page, top to bottom.
template <typename Emit>
void GatherLines(const Page& page, Emit emit) {
  const CentreOrder texts(page);
  std::vector<Placed> line;
  double line_centre = 0;
  for (const std::uint32_t k : texts.order()) {
    const double centre = texts.centre(k);
    if (!line.empty() && centre - line_centre > kSameLine) {
      emit(line);
      line.clear();
    }
    if (line.empty()) line_centre = centre;
    const TextItem& item = page.texts[texts.text(k)];
    const long length = static_cast<long>(CharCount(item.text));
    line.push_back({StartColumn(item, length), length, item.text});
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
  // Pages of a document are alike: room for as much as the last one took.
  if (!pages_.empty()) text.reserve(pages_.back().size());
  AppendPageText(page, text);
  pages_.push_back(std::move(text));
}

void DocumentTextSink::WriteTo(std::ostream& out) const {
  const std::size_t count = pages_.size();
  for (std::size_t i = 0; i < count; ++i) out << PageHeading(i, count) << pages_[i];
}

}  // namespace traveno::reports
