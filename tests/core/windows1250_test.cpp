#include "core/windows1250.h"

#include <gtest/gtest.h>

#include <map>

namespace traveno {
namespace {

// The code page as an independent source gives it.
constexpr int kReferenceCodePage[256] = {
#include "tests/core/cp1250_reference.inc"
};

struct LetterWithoutAccent {
  char32_t code_point;
  char letter;
};
constexpr LetterWithoutAccent kLettersWithoutAccent[] = {
#include "tests/core/latin_letters_without_accent.inc"
};

std::string Utf8(char32_t code_point) {
  std::string out;
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
  return out;
}

// Every byte both ways: read as the reference's character, and that
// character written back as the byte; an undefined byte reads as "?".
TEST(Windows1250Test, EveryByteReadsAndWritesAsTheReferenceCodePage) {
  for (int byte = 0; byte < 256; ++byte) {
    SCOPED_TRACE(byte);
    const std::string one(1, static_cast<char>(byte));
    if (kReferenceCodePage[byte] < 0) {
      EXPECT_EQ(FromWindows1250(one), "?");
      continue;
    }
    const std::string character = Utf8(static_cast<char32_t>(kReferenceCodePage[byte]));
    EXPECT_EQ(FromWindows1250(one), character);
    EXPECT_EQ(ToWindows1250(character), one);
  }
}

// The letters the code page lacks: Romanian's comma-below letters are written
// as its cedilla letters (what the authorities' programs read), every other
// accented Latin letter as its letter without the accent.
TEST(Windows1250Test, ALetterThePageLacksIsWrittenAsItsDocumentedSubstitute) {
  const std::map<char32_t, char> kCedillaForCommaBelow = {
      {0x0218, '\xAA'}, {0x0219, '\xBA'}, {0x021A, '\xDE'}, {0x021B, '\xFE'}};
  for (const LetterWithoutAccent& letter : kLettersWithoutAccent) {
    SCOPED_TRACE(static_cast<int>(letter.code_point));
    const auto cedilla = kCedillaForCommaBelow.find(letter.code_point);
    const char expected = cedilla != kCedillaForCommaBelow.end() ? cedilla->second : letter.letter;
    EXPECT_EQ(ToWindows1250(Utf8(letter.code_point)), std::string(1, expected));
  }
}

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
