// "Comparatie cu luna anterioara": over the demo company's three months the
// comparison lists exactly the lines typed differently, with the inputs that
// changed; the threshold decides what a change is; lines are paired person by
// person.
#include "trends/month_comparison.h"

#include <gtest/gtest.h>

#include <set>

#include "core/errors.h"
#include "tests/trends/three_months.h"

namespace traveno::trends {
namespace {

using testing::Month;
using testing::ThreeMonths;

struct Listed {
  ComparisonKind kind;
  std::string nume;
  std::vector<std::string> inputs;  // the changed fields, in the grid's order
  friend bool operator==(const Listed&, const Listed&) = default;
};

std::vector<Listed> ListedOf(const MonthComparison& comparison) {
  std::vector<Listed> listed;
  for (const ComparedLine& line : comparison.lines) {
    Listed entry{line.kind, line.nume, {}};
    for (const InputChange& input : line.inputs) entry.inputs.push_back(input.field);
    listed.push_back(entry);
  }
  return listed;
}

void PrintTo(const Listed& listed, std::ostream* out) {
  *out << KindKey(listed.kind) << " " << listed.nume << " [";
  for (const std::string& input : listed.inputs) *out << input << " ";
  *out << "]";
}

TEST(MonthComparisonTest, ListsExactlyTheLinesTypedDifferentlyWithTheirInputs) {
  ThreeMonths company;
  // March against February: the new employee, the one gone, and the half
  // month; nothing else moved.
  MonthComparison march = CompareWithPreviousMonth(company.session());
  EXPECT_EQ(march.month, Month(3));
  EXPECT_EQ(march.previous, Month(2));
  EXPECT_EQ(march.threshold, kDefaultThreshold);
  EXPECT_EQ(ListedOf(march), (std::vector<Listed>{
                                 {ComparisonKind::kJoined, "NOUL", {}},
                                 {ComparisonKind::kLeft, "TUDOR", {}},
                                 {ComparisonKind::kChanged, "CONSTANTIN", {"TIMP"}},
                             }));
  EXPECT_EQ(march.joined, 1);
  EXPECT_EQ(march.left, 1);
  EXPECT_EQ(march.changed, 1);

  const ComparedLine& half = march.lines[2];
  EXPECT_EQ(half.inputs, (std::vector<InputChange>{{"TIMP", "Timp", "168", "84"}}));
  EXPECT_TRUE(half.over[kBrut]);
  EXPECT_LT(half.after[kBrut], half.before[kBrut]);
  EXPECT_EQ(half.nr, company.Line("CONSTANTIN").Nr);
  EXPECT_NE(half.previous_nr, 0);
  // The line that joined has only this month's figures, the one gone only
  // last month's.
  EXPECT_EQ(march.lines[0].nr, company.Line("NOUL").Nr);
  EXPECT_EQ(march.lines[0].previous_nr, 0);
  EXPECT_EQ(march.lines[0].before, (std::array<long double, 3>{0, 0, 0}));
  EXPECT_GT(march.lines[0].after[kBrut], 0);
  EXPECT_EQ(march.lines[1].nr, 0);
  EXPECT_GT(march.lines[1].before[kBrut], 0);

  // February against January: the raise and the advance; the 1 % raise stays
  // under the threshold.
  company.Open(Month(2));
  const MonthComparison february = CompareWithPreviousMonth(company.session());
  EXPECT_EQ(ListedOf(february), (std::vector<Listed>{
                                    {ComparisonKind::kChanged, "IONESCU", {"SALINC"}},
                                    {ComparisonKind::kChanged, "GEORGESCU", {"AVANS"}},
                                }));
  const ComparedLine& raise = february.lines[0];
  EXPECT_EQ(raise.inputs.front().caption, "Salariu incadrare");
  EXPECT_EQ(raise.inputs.front().before, "9 000 000");
  EXPECT_EQ(raise.inputs.front().after, "13 000 000");
  EXPECT_TRUE(raise.over[kBrut]);
  // The advance changes only the net to pay.
  const ComparedLine& advance = february.lines[1];
  EXPECT_EQ(advance.over, (std::array<bool, 3>{false, true, false}));
  EXPECT_EQ(advance.before[kBrut], advance.after[kBrut]);

  // At a lower threshold the small raise shows too, with its input.
  const MonthComparison fine = CompareWithPreviousMonth(company.session(), 0.5);
  bool small_raise = false;
  for (const ComparedLine& line : fine.lines) {
    if (line.nume != "DUMITRESCU") continue;
    small_raise = true;
    ASSERT_EQ(line.inputs.size(), 1u);
    EXPECT_EQ(line.inputs.front().field, "SALINC");
  }
  EXPECT_TRUE(small_raise);

  // January has no month before it: everyone joined.
  company.Open(Month(1));
  const MonthComparison first = CompareWithPreviousMonth(company.session());
  EXPECT_EQ(first.joined, 20);
  EXPECT_EQ(first.left + first.changed, 0);
}

TEST(MonthComparisonTest, AThresholdOutsideItsRangeIsRefused) {
  ThreeMonths company;
  for (double threshold : {-1.0, 1000.01, std::nan("")}) {
    try {
      CompareWithPreviousMonth(company.session(), threshold);
      ADD_FAILURE() << threshold;
    } catch (const Error& refusal) {
      EXPECT_STREQ(refusal.what(), kThresholdRefused);
    }
  }
  EXPECT_NO_THROW(CompareWithPreviousMonth(company.session(), 0));
  EXPECT_NO_THROW(CompareWithPreviousMonth(company.session(), 1000));
}

TEST(MonthComparisonTest, AChangeCountsWhenItIsMoreThanTheThreshold) {
  struct Case {
    long double before, after;
    double threshold;
    bool changed;
  };
  const Case kCases[] = {
      {1000, 1100, 10, false},  // exactly 10 % is not more than 10 %
      {1000, 1101, 10, true},   {1000, 899, 10, true},  {1000, 900, 10, false},
      {0, 0, 0, false},         {0, 1, 10, true},  // from nothing, any change
      {-1000, -1200, 10, true}, {1000, 1000, 0, false}, {1000, 1001, 0, true},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ChangedPast(c.before, c.after, c.threshold), c.changed)
        << static_cast<double>(c.before) << " -> " << static_cast<double>(c.after) << " at "
        << c.threshold;
  }
}

TEST(MonthComparisonTest, APersonsLinesArePairedByKindAndTheRestJoinOrLeave) {
  engine::CompanyParameters company;
  auto line = [](std::int64_t nr, int iid, const char* tip, double brut) {
    PersRow row;
    row.Nr = nr;
    row.IID = iid;
    row.TIP = tip;
    row.NUME = "P" + std::to_string(iid);
    row.BRUT = brut;
    row.RESTPL = brut;
    row.SALINC = brut;
    return row;
  };
  // Person 1 works on both kinds in January and only on a partial contract
  // in February; person 2 has one line each month, unchanged.
  const std::vector<PersRow> january = {line(1, 1, "1", 1000), line(2, 1, "2", 500),
                                        line(3, 2, "1", 700)};
  const std::vector<PersRow> february = {line(11, 1, "2", 500), line(13, 2, "1", 700)};
  const MonthComparison comparison =
      CompareLines(Month(2), january, february, company, kDefaultThreshold);
  ASSERT_EQ(comparison.lines.size(), 1u);
  EXPECT_EQ(comparison.lines[0].kind, ComparisonKind::kLeft);
  EXPECT_EQ(comparison.lines[0].previous_nr, 1);
  EXPECT_EQ(comparison.lines[0].tip, "1");
}

}  // namespace
}  // namespace traveno::trends
