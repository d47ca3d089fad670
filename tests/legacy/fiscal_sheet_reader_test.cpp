#include "legacy/fiscal_sheet_reader.h"

#include <gtest/gtest.h>

namespace traveno::legacy {
namespace {

using Lines = std::vector<std::string>;

TEST(SheetLinesTest, EveryLineEndsAtCrOrAtALoneLf) {
  struct Case {
    std::string bytes;
    Lines lines;
  };
  const Case kCases[] = {
      {"a,b\r\nc,d\r\n", {"a,b", "c,d"}},
      {"a\rb\rc", {"a", "b", "c"}},    // CR without LF ends a line
      {"a\nb\n", {"a", "b"}},          // LF alone too
      {"a\n\rb", {"a", "", "b"}},      // LF then CR: two ends
      {"a\r\n\r\nb", {"a", "", "b"}},  // an empty line between
      {"last without end", {"last without end"}},
      {"", {}},
      {"\r\n", {""}},
  };
  for (const Case& c : kCases) EXPECT_EQ(SplitSheetLines(c.bytes), c.lines) << c.bytes;
}

TEST(SheetLineTest, FieldsRunToTheNextCommaOrTheEnd) {
  SheetLine line("#ION#,,#X#,email@x.ro");
  EXPECT_EQ(line.NextField(), "#ION#");
  EXPECT_EQ(line.NextField(), "");
  EXPECT_EQ(line.NextField(), "#X#");
  EXPECT_EQ(line.NextField(), "email@x.ro");  // the last field has no comma after it
  EXPECT_EQ(line.NextField(), "");
  SheetLine trailing("a,");
  EXPECT_EQ(trailing.NextField(), "a");
  EXPECT_EQ(trailing.NextField(), "");
}

// Malformed lines never fail: what is missing reads empty, a date that is
// not one is reported, a coefficient that does not read is 0.
TEST(SheetLineTest, MalformedLinesReadWithoutFailing) {
  SheetLine no_commas("2750315123456 POPESCU ION");
  EXPECT_EQ(no_commas.NextField(), "2750315123456 POPESCU ION");
  no_commas.Skip(40);
  EXPECT_EQ(no_commas.NextField(), "");

  EXPECT_EQ(Unmark("#"), "");  // a lone mark
  EXPECT_FALSE(IsTicked("#"));
  EXPECT_EQ(Unmark("##"), "");
  EXPECT_EQ(Unmark("#ION#"), "ION");
  EXPECT_EQ(Unmark("IO#N"), "O#");  // a mark anywhere costs the first and last characters
  EXPECT_EQ(Unmark("ION"), "ION");
  EXPECT_TRUE(IsTicked("#X#"));
  EXPECT_TRUE(IsTicked("#x#"));
  EXPECT_FALSE(IsTicked("##"));
  EXPECT_FALSE(IsTicked("X#"));
}

TEST(SheetDateTest, DatesAreDayMonthYearAtTheirPlaces) {
  struct Case {
    const char* text;
    std::optional<Date> date;
  };
  const Case kCases[] = {
      {"", EmptyDate()},
      {"##", EmptyDate()},
      {"15/03/2001", Date::FromYmd(2001, 3, 15)},
      {"#15/03/2001#", Date::FromYmd(2001, 3, 15)},
      {"15.03.2001", Date::FromYmd(2001, 3, 15)},  // only the places count
      {"15/03/01", std::nullopt},                  // too short: never year 1
      {"15/3/2001", std::nullopt},
      {"31/02/2002", std::nullopt},
      {"aa/bb/cccc", std::nullopt},
      {"00/01/2002", std::nullopt},
  };
  for (const Case& c : kCases) EXPECT_EQ(SheetDate(c.text), c.date) << c.text;
}

TEST(SheetCoefficientTest, PointsAreDecimalCommasAndWhatDoesNotReadIsZero) {
  struct Case {
    const char* text;
    double value;
  };
  const Case kCases[] = {
      {"", 0},  {"1.5", 1.5},   {"3", 3},   {"0.25", 0.25}, {"1.5.2", 0},   {"abc", 0},
      {".", 0}, {"-1.5", -1.5}, {"1e5", 0}, {"inf", 0},     {"#1.5#", 1.5}, {" 2.5 ", 2.5},
  };
  for (const Case& c : kCases) EXPECT_EQ(SheetCoefficient(c.text), c.value) << c.text;
}

TEST(SheetTextTest, TextIsReadFromWindows1250) {
  EXPECT_EQ(SheetTextToUtf8("\xAA"
                            "TEF\xC3"
                            "NESCU \xDE"
                            "U\xDE"
                            "U"),
            "ŞTEFĂNESCU ŢUŢU");
  EXPECT_EQ(SheetTextToUtf8("A\x81"
                            "B"),
            "A?B");  // a byte the code page leaves undefined
}

}  // namespace
}  // namespace traveno::legacy
