#include "core/windows1250.h"

#include <gtest/gtest.h>

namespace traveno {
namespace {

TEST(Windows1250Test, WritesEachCharacterAsOneByteOrItsNearestEquivalent) {
  struct Case {
    const char* utf8;
    const char* expected;
  };
  const Case kCases[] = {
      {"ION POPESCU, 12/a #3", "ION POPESCU, 12/a #3"},  // ASCII as it is
      {"\xC4\x82\xC3\x82\xC3\x8E\xC4\x83\xC3\xA2\xC3\xAE", "\xC3\xC2\xCE\xE3\xE2\xEE"},  // ĂÂÎăâî
      {"\xC5\x9E\xC5\x9F\xC5\xA2\xC5\xA3", "\xAA\xBA\xDE\xFE"},  // cedilla ŞşŢţ
      {"\xC8\x98\xC8\x99\xC8\x9A\xC8\x9B", "\xAA\xBA\xDE\xFE"},  // comma-below ȘșȚț as ŞşŢţ
      {"\xC3\xA0\xC3\xB1\xC3\xB8\xC3\x85",
       "an"
       "oA"},  // àñøÅ lose their accent
      {"\xE2\x82\xAC \xE2\x80\x9E"
       "a\xE2\x80\x9D",
       "\x80 \x84"
       "a\x94"},                                                // € „a” are in the page
      {"\xE2\x84\x96 \xE4\xB8\xAD \xF0\x9F\x98\x80", "? ? ?"},  // №, a CJK letter, an emoji
      {"a\xC8"
       "b",
       "a?b"},                            // a cut sequence
      {"\xC0\xAE\xED\xA0\x80", "?????"},  // overlong and surrogate bytes
  };
  for (const Case& c : kCases) EXPECT_EQ(ToWindows1250(c.utf8), c.expected) << c.utf8;
}

TEST(Windows1250Test, ReadsBackWhatItWrites) {
  const std::string text =
      "\xC8\x98TEF\xC4\x82NESCU \xC8\x9A\xC4\x83ranu, \xC5\x9Eo\xC5\xA3"
      "ea \xE2\x80\x93 \xC3\x8E";
  const std::string bytes = ToWindows1250(text);
  EXPECT_EQ(bytes.size(), 28u);  // one byte a character
  // The comma-below letters come back as the code page's cedilla letters.
  EXPECT_EQ(FromWindows1250(bytes),
            "\xC5\x9ETEF\xC4\x82NESCU \xC5\xA2\xC4\x83ranu, \xC5\x9Eo\xC5\xA3"
            "ea \xE2\x80\x93 \xC3\x8E");
  EXPECT_EQ(FromWindows1250("a\x81"
                            "b\x98"),
            "a?b?");  // undefined bytes
}

}  // namespace
}  // namespace traveno
