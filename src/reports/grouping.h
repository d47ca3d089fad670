// Groups, running sums and running numbers of a document laid out over rows
// in group order (for example by department, then by employee kind): where
// each group begins and ends, and the sums its footer prints.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace traveno::reports {

// Sums of a fixed set of columns (a group's, a kind's, the document's).
class ColumnSums {
 public:
  explicit ColumnSums(std::size_t columns = 0) : sums_(columns, 0.0L) {}

  void Add(std::size_t column, long double value) { sums_[column] += value; }
  long double operator[](std::size_t column) const { return sums_[column]; }
  std::size_t size() const { return sums_.size(); }
  void Clear() { sums_.assign(sums_.size(), 0.0L); }
  ColumnSums& operator+=(const ColumnSums& other) {
    for (std::size_t i = 0; i < sums_.size() && i < other.sums_.size(); ++i) {
      sums_[i] += other.sums_[i];
    }
    return *this;
  }

 private:
  std::vector<long double> sums_;
};

// Follows the group keys of consecutive rows (outermost level first) and
// tells with which level the groups change.
class GroupBreaks {
 public:
  explicit GroupBreaks(std::size_t levels) : levels_(levels) {}

  std::size_t levels() const { return levels_; }
  bool started() const { return started_; }
  // The keys of the row before the last one given to Next (the groups that
  // a change closes).
  const std::vector<std::string>& previous() const { return previous_; }

  // The outermost level whose key differs from the previous row's: 0 for
  // the first row, levels() when the row stays in every group. A change at
  // a level closes and reopens every level inside it too.
  std::size_t Next(std::vector<std::string> keys) {
    std::size_t changed = 0;
    if (started_) {
      changed = levels_;
      for (std::size_t level = 0; level < levels_; ++level) {
        if (keys[level] != current_[level]) {
          changed = level;
          break;
        }
      }
    }
    started_ = true;
    previous_ = std::move(current_);
    current_ = std::move(keys);
    return changed;
  }

 private:
  std::size_t levels_;
  bool started_ = false;
  std::vector<std::string> current_;
  std::vector<std::string> previous_;
};

// Walks rows in group order: before a row that opens groups, the footers of
// the groups it closes (innermost first, each given the last row of its
// group) and the headers of the groups it opens (outermost first, each given
// the group's first row); then the row itself; after the last row every
// footer. `keys_of(row)` gives the row's keys, outermost first (a level whose
// key is the same for every row never breaks). `cancelled()` is asked before
// each row; when it answers true the walk stops without footers.
template <typename Row, typename KeysOf, typename OnHeader, typename OnDetail, typename OnFooter,
          typename Cancelled>
void WalkGroups(const std::vector<Row>& rows, std::size_t levels, KeysOf keys_of,
                OnHeader on_header, OnDetail on_detail, OnFooter on_footer, Cancelled cancelled) {
  GroupBreaks breaks(levels);
  const Row* last = nullptr;
  for (const Row& row : rows) {
    if (cancelled()) return;
    const std::size_t changed = breaks.Next(keys_of(row));
    if (changed < levels) {
      if (last != nullptr) {
        for (std::size_t level = levels; level-- > changed;) on_footer(level, *last);
      }
      for (std::size_t level = changed; level < levels; ++level) on_header(level, row);
    }
    on_detail(row);
    last = &row;
  }
  if (last != nullptr) {
    for (std::size_t level = levels; level-- > 0;) on_footer(level, *last);
  }
}

}  // namespace traveno::reports
