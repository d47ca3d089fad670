#include "core/text.h"

#include <gtest/gtest.h>

#include <string>

namespace traveno {
namespace {

TEST(PadTest, PadsButNeverCuts) {
  EXPECT_EQ(PadLeft("123", 6), "   123");
  EXPECT_EQ(PadRight("123", 6), "123   ");
  EXPECT_EQ(PadRight("1234567", 3), "1234567");
  EXPECT_EQ(PadLeft("1234567", 3), "1234567");
  EXPECT_EQ(PadRight("", 2), "  ");
  EXPECT_EQ(PadRight("ab", 0), "ab");
  EXPECT_EQ(PadRight("\xC8\x98"
                     "a",
                     3),
            "\xC8\x98"
            "a ");  // widths count characters
}

// Characters, not bytes, whatever their place among the bytes that are
// counted eight at a time.
TEST(CharCountTest, CountsCharactersOfEveryLength) {
  const std::string letter = "\xC8\x98";        // Ș: two bytes
  const std::string euro = "\xE2\x82\xAC";      // €: three bytes
  const std::string clef = "\xF0\x9D\x84\x9E";  // four bytes
  struct Case {
    std::string text;
    std::size_t expected;
  };
  const Case kCases[] = {
      {"", 0},
      {"a", 1},
      {"abcdefg", 7},
      {"abcdefgh", 8},
      {"abcdefghi", 9},
      {std::string(17, 'x'), 17},
      {"abcdefg" + letter, 8},      // a letter across the first eight bytes
      {"abcdef" + euro + "gh", 9},  // the third byte in the second eight
      {letter + letter + letter + letter + letter, 5},
      {clef + clef + "a" + euro + letter + "bcd", 8},
      {"1 234 567 " + letter + "tefan " + euro, 18},
  };
  for (const Case& c : kCases) EXPECT_EQ(CharCount(c.text), c.expected) << c.text;
}

TEST(ReplaceAllTest, ScansLeftToRightWithoutRescanning) {
  struct Case {
    const char* text;
    const char* searched;
    const char* replacement;
    const char* expected;
  };
  const Case kCases[] = {
      {"a.b.c", ".", ",", "a,b,c"},
      {"aaa", "a", "aa", "aaaaaa"},  // replaced text is not searched
                                     // again
      {"aaaa", "aa", "b", "bb"},
      {"abc", "", "x", "abc"},
      {"abc", "d", "x", "abc"},
      {"", "a", "b", ""},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ReplaceAll(c.text, c.searched, c.replacement), c.expected) << c.text;
  }
}

TEST(PosNTest, NthNonOverlappingOccurrence) {
  struct Case {
    const char* searched;
    const char* text;
    int n;
    int expected;
  };
  const Case kCases[] = {
      {";", "a;b;c", 2, 4}, {";", "a;b;c", 1, 2},  {";", "a;b;c", 3, 0},
      {";", "a;b;c", 0, 0}, {";", "a;b;c", -1, 0}, {"", "abc", 1, 0},
      {";", "", 1, 0},      {"abcd", "abc", 1, 0}, {"aa", "aaaa", 2, 3},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(PosN(c.searched, c.text, c.n), c.expected) << c.searched << " in " << c.text;
  }
}

TEST(TextTest, TrimUpperAndCompare) {
  EXPECT_EQ(UpperTrim("  d \t"), "D");
  EXPECT_EQ(UpperTrim(" confirm "), "CONFIRM");
  // Romanian letters with comma below and breve, Polish ones, the division sign, y with diaeresis.
  EXPECT_EQ(UpperTrim(" \xC8\x99tef\xC4\x83nescu \xC8\x9B\xC3\xA2r \xC5\x82\xC3\xB3"
                      "d\xC5\xBA \xC3\xB7 \xC3\xBF"),
            "\xC8\x98TEF\xC4\x82NESCU \xC8\x9A\xC3\x82R \xC5\x81\xC3\x93"
            "D\xC5\xB9 \xC3\xB7 \xC5\xB8");
  EXPECT_TRUE(EqualsIgnoreCase("Dif_Brut", "DIF_BRUT"));
  EXPECT_FALSE(EqualsIgnoreCase("Spor1", "Spor10"));
  EXPECT_EQ(Truncate("abcdef", 3), "abc");
  EXPECT_EQ(Truncate("ab", 3), "ab");
  EXPECT_EQ(Choose(true, 1, 2), 1);
  EXPECT_EQ(Choose(false, 1, 2), 2);
}

}  // namespace
}  // namespace traveno
