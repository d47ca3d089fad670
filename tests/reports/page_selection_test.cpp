// The preview's page box, its print question and its zoom steps.
#include "reports/page_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace traveno::reports {
namespace {

TEST(ParsePageSelectionTest, ReadsPagesAndRangesOfASixPageReport) {
  struct Case {
    const char* text;
    std::vector<PageRange> ranges;
    std::string unread;
  };
  const Case kCases[] = {
      {"1-3,5", {{1, 3}, {5, 5}}, ""},
      {"1..3", {{1, 3}}, ""},
      {"1.3", {{1, 1}, {3, 3}}, ""},
      {"2;4", {{2, 2}, {4, 4}}, ""},
      {"2:4", {{2, 2}, {4, 4}}, ""},
      {"2|4", {{2, 2}, {4, 4}}, ""},
      {"1/3", {{1, 3}}, ""},
      {"1_3", {{1, 3}}, ""},
      {"2-2", {{2, 2}}, ""},
      {"1-6", {{1, 6}}, ""},
      {"6", {{6, 6}}, ""},
      {" 1 , 3 - 4 ", {{1, 1}, {3, 4}}, ""},
      {"1,,2,", {{1, 1}, {2, 2}}, ""},
      {"3-4,1-2,3-4", {{3, 4}, {1, 2}, {3, 4}}, ""},  // as typed, repeats kept
      {"0", {}, "0 "},
      {"7", {}, "7 "},
      {"0-1", {}, "0-1 "},
      {"5-3", {}, "5-3 "},
      {"3-2", {}, "3-2 "},
      {"-3", {}, "-3 "},
      {"3-", {}, "3- "},
      {"1-7", {}, "1-7 "},
      {"a,2", {{2, 2}}, "a "},
      {"0,7,3-2,0-3,-3", {}, "0 7 3-2 0-3 -3 "},
      {"1-2-3", {}, "1-2-3 "},  // the last page "2-3" does not read
      {"+2", {}, "+2 "},
      {"99999999999", {}, "99999999999 "},
      {"", {}, ""},
  };
  for (const Case& c : kCases) {
    const PageSelection selection = ParsePageSelection(c.text, 6);
    EXPECT_EQ(selection.ranges, c.ranges) << c.text;
    EXPECT_EQ(selection.unread, c.unread) << c.text;
  }
}

TEST(ParsePageSelectionTest, KeepsEveryRangeBeyondTwentyInOrder) {
  std::string text;
  for (int page = 1; page <= 21; ++page) text += std::to_string(page) + ",";
  const PageSelection selection = ParsePageSelection(text, 30);
  ASSERT_EQ(selection.ranges.size(), 21u);
  EXPECT_EQ(selection.ranges.front(), (PageRange{1, 1}));
  EXPECT_EQ(selection.ranges.back(), (PageRange{21, 21}));
  EXPECT_EQ(selection.unread, "");
}

TEST(PrintQuestionTest, AsksForTheWholeReportOrNamesTheRanges) {
  EXPECT_EQ(PrintQuestion({{1, 6}}, 6), "Tiparesc tot raportul ? ( 6 pagini )");
  EXPECT_EQ(PrintQuestion({{1, 3}, {5, 5}}, 6), "Tiparesc paginile 1-3 5 ?");
  EXPECT_EQ(PrintQuestion({{1, 2}, {5, 5}}, 6), "Tiparesc paginile 1-2 5 ?");
  EXPECT_EQ(PrintQuestion({{2, 2}}, 6), "Tiparesc pagina 2 ?");
  // The whole report typed twice is not "the whole report".
  EXPECT_EQ(PrintQuestion({{1, 6}, {1, 6}}, 6), "Tiparesc paginile 1-6 1-6 ?");
  EXPECT_EQ(UnreadPiecesMessage(ParsePageSelection("x", 6).unread), "Nu pot interpreta: x  .");
}

TEST(ZoomTest, StaysWithinOneAndNineHundredNinetyNine) {
  struct Case {
    int zoom;
    bool right_click;
    int in, out;
  };
  const Case kCases[] = {
      {100, false, 110, 90},  {100, true, 101, 99},  {988, false, 999, 978}, {987, false, 997, 977},
      {999, false, 999, 989}, {999, true, 999, 998}, {10, false, 20, 1},     {11, false, 21, 1},
      {1, true, 2, 1},        {1, false, 11, 1},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ZoomIn(c.zoom, c.right_click), c.in) << c.zoom;
    EXPECT_EQ(ZoomOut(c.zoom, c.right_click), c.out) << c.zoom;
  }
}

}  // namespace
}  // namespace traveno::reports
