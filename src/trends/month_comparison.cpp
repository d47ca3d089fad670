#include "trends/month_comparison.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "core/errors.h"
#include "core/store/row_io.h"
#include "core/text.h"

namespace traveno::trends {
namespace {

std::array<long double, 3> FiguresOf(const PersRow& row) {
  return {row.BRUT, row.RESTPL, row.IMPOZIT};
}

ComparedLine Describe(ComparisonKind kind, const PersRow& line) {
  ComparedLine compared;
  compared.kind = kind;
  compared.iid = line.IID;
  compared.tip = line.TIP;
  compared.marca = line.MARCA;
  compared.nume = line.NUME;
  compared.prenume = line.PRENUME;
  compared.depart = line.Depart;
  return compared;
}

// The inputs of each kind of employee, worked out once per comparison.
class InputsByKind {
 public:
  explicit InputsByKind(const engine::CompanyParameters& company) : company_(company) {}
  const std::vector<ComparedInput>& Of(const std::string& tip) {
    auto it = inputs_.find(tip);
    if (it == inputs_.end()) it = inputs_.emplace(tip, ComparedInputs(company_, tip)).first;
    return it->second;
  }

 private:
  const engine::CompanyParameters& company_;
  std::unordered_map<std::string, std::vector<ComparedInput>> inputs_;
};

int KindOrder(ComparisonKind kind) {
  switch (kind) {
    case ComparisonKind::kJoined:
      return 0;
    case ComparisonKind::kLeft:
      return 1;
    case ComparisonKind::kChanged:
      return 2;
  }
  return 3;
}

// A person's lines of the two months in pairs: a line with the other
// month's line of the same kind first, then the lines left over in the order
// they were made; a line without a partner is null on its other side.
std::vector<std::pair<const PersRow*, const PersRow*>> PairLines(std::vector<const PersRow*> before,
                                                                 std::vector<const PersRow*> now) {
  std::vector<std::pair<const PersRow*, const PersRow*>> pairs;
  if (before.size() == 1 && now.size() == 1) return {{before[0], now[0]}};
  auto by_nr = [](const PersRow* a, const PersRow* b) { return a->Nr < b->Nr; };
  std::sort(before.begin(), before.end(), by_nr);
  std::sort(now.begin(), now.end(), by_nr);
  for (const PersRow*& after : now) {
    for (const PersRow*& earlier : before) {
      if (earlier == nullptr || earlier->TIP != after->TIP) continue;
      pairs.emplace_back(earlier, after);
      earlier = nullptr;
      after = nullptr;
      break;
    }
  }
  std::erase(before, nullptr);
  std::erase(now, nullptr);
  const std::size_t common = std::min(before.size(), now.size());
  for (std::size_t i = 0; i < common; ++i) pairs.emplace_back(before[i], now[i]);
  for (std::size_t i = common; i < now.size(); ++i) pairs.emplace_back(nullptr, now[i]);
  for (std::size_t i = common; i < before.size(); ++i) pairs.emplace_back(before[i], nullptr);
  return pairs;
}

}  // namespace

const char* KindCaption(ComparisonKind kind) {
  switch (kind) {
    case ComparisonKind::kJoined:
      return "Angajat nou";
    case ComparisonKind::kLeft:
      return "Plecat";
    case ComparisonKind::kChanged:
      return "Modificat";
  }
  return "";
}

const char* KindKey(ComparisonKind kind) {
  switch (kind) {
    case ComparisonKind::kJoined:
      return "nou";
    case ComparisonKind::kLeft:
      return "plecat";
    case ComparisonKind::kChanged:
      return "modificat";
  }
  return "";
}

bool ChangedPast(long double before, long double after, double threshold) {
  if (before == after) return false;
  if (before == 0) return true;
  return std::fabs(after - before) > std::fabs(before) * threshold / 100;
}

std::vector<ComparedInput> ComparedInputs(const engine::CompanyParameters& company,
                                          std::string_view tip) {
  std::vector<ComparedInput> inputs;
  for (personnel::GridColumn& column : personnel::GridColumns(company, tip, false)) {
    if (!column.editable || !column.visible) continue;
    const std::string field = UpperTrim(column.field);
    if (field == "BRUT" || field == "RESTPL" || field == "CATEGORIE" || field == "MARCA") continue;
    const std::optional<std::size_t> index = FindField<PersRow>(column.field);
    if (!index) continue;
    inputs.push_back({*index, std::move(column)});
  }
  return inputs;
}

MonthComparison CompareLines(Date month, const std::vector<PersRow>& previous,
                             const std::vector<PersRow>& current,
                             const engine::CompanyParameters& company, double threshold) {
  MonthComparison result;
  result.month = FirstOfMonth(month);
  result.previous = AddMonths(result.month, -1);
  result.threshold = threshold;

  std::unordered_map<int, std::vector<const PersRow*>> before_by_person;
  before_by_person.reserve(previous.size());
  for (const PersRow& line : previous) before_by_person[line.IID].push_back(&line);
  std::unordered_map<int, std::vector<const PersRow*>> now_by_person;
  now_by_person.reserve(current.size());
  for (const PersRow& line : current) now_by_person[line.IID].push_back(&line);

  InputsByKind inputs(company);
  const std::vector<const PersRow*> none;
  for (const auto& [iid, now] : now_by_person) {
    const auto found = before_by_person.find(iid);
    for (const auto& [earlier, later] :
         PairLines(found != before_by_person.end() ? found->second : none, now)) {
      if (later == nullptr) {
        ComparedLine left = Describe(ComparisonKind::kLeft, *earlier);
        left.previous_nr = earlier->Nr;
        left.before = FiguresOf(*earlier);
        result.lines.push_back(std::move(left));
        continue;
      }
      const PersRow& after_line = *later;
      if (earlier == nullptr) {
        ComparedLine joined = Describe(ComparisonKind::kJoined, after_line);
        joined.nr = after_line.Nr;
        joined.after = FiguresOf(after_line);
        result.lines.push_back(std::move(joined));
        continue;
      }
      const PersRow& before_line = *earlier;
      const std::array<long double, 3> was = FiguresOf(before_line);
      const std::array<long double, 3> is = FiguresOf(after_line);
      std::array<bool, 3> over{};
      bool any = false;
      for (std::size_t f = 0; f < 3; ++f) {
        over[f] = ChangedPast(was[f], is[f], threshold);
        any = any || over[f];
      }
      if (!any) continue;
      ComparedLine changed = Describe(ComparisonKind::kChanged, after_line);
      changed.nr = after_line.Nr;
      changed.previous_nr = before_line.Nr;
      changed.before = was;
      changed.after = is;
      changed.over = over;
      for (const ComparedInput& input : inputs.Of(after_line.TIP)) {
        if (GetField(before_line, input.field) == GetField(after_line, input.field)) continue;
        changed.inputs.push_back({input.column.field, input.column.caption,
                                  personnel::GridCellText(before_line, input.column),
                                  personnel::GridCellText(after_line, input.column)});
      }
      result.lines.push_back(std::move(changed));
    }
  }
  for (auto& [iid, before] : before_by_person) {
    if (now_by_person.contains(iid)) continue;
    for (const PersRow* line : before) {
      ComparedLine left = Describe(ComparisonKind::kLeft, *line);
      left.previous_nr = line->Nr;
      left.before = FiguresOf(*line);
      result.lines.push_back(std::move(left));
    }
  }

  std::sort(result.lines.begin(), result.lines.end(),
            [](const ComparedLine& a, const ComparedLine& b) {
              const int ka = KindOrder(a.kind);
              const int kb = KindOrder(b.kind);
              return std::tie(ka, a.tip, a.marca, a.nume, a.prenume, a.iid, a.nr, a.previous_nr) <
                     std::tie(kb, b.tip, b.marca, b.nume, b.prenume, b.iid, b.nr, b.previous_nr);
            });
  for (const ComparedLine& line : result.lines) {
    switch (line.kind) {
      case ComparisonKind::kJoined:
        ++result.joined;
        break;
      case ComparisonKind::kLeft:
        ++result.left;
        break;
      case ComparisonKind::kChanged:
        ++result.changed;
        break;
    }
  }
  return result;
}

MonthComparison CompareWithPreviousMonth(params::Session& session, double threshold) {
  if (!(threshold >= 0 && threshold <= kMaxThreshold)) throw Error(kThresholdRefused);
  Database& db = session.db();
  const Date month = FirstOfMonth(session.working_month());
  std::vector<PersRow> previous;
  std::vector<PersRow> current;
  {
    // Both months from one snapshot, unless the caller's unit of work holds one.
    std::optional<Transaction> snapshot;
    if (!db.InTransaction()) snapshot.emplace(db, TransactionKind::kDeferred);
    constexpr const char* kMonthLines = "SELECT * FROM firma.Pers WHERE LUNA = ?";
    previous = QueryRows<PersRow>(db, kMonthLines, AddMonths(month, -1));
    current = QueryRows<PersRow>(db, kMonthLines, month);
    if (snapshot) snapshot->Commit();
  }
  return CompareLines(month, previous, current, session.parameters().company, threshold);
}

}  // namespace traveno::trends
