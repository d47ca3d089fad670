#include "core/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace traveno {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The capital of a small letter of U+00E0..U+024F (Latin-1, Latin Extended-A
// and the comma-below letters of Romanian); any other code point unchanged.
char32_t UpperLatinLetter(char32_t c) {
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  // Latin Extended-A pairs a capital with the small letter after it, except
  // where the pairs start one place later.
  const bool odd_pairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if (odd_pairs) return (c % 2 == 0) ? c - 1 : c;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return (c % 2 == 1) ? c - 1 : c;
  if (c >= 0x218 && c <= 0x21B) return (c % 2 == 1) ? c - 1 : c;
  return c;
}

}  // namespace

std::size_t CharCount(std::string_view text) {
  // Every byte but the continuation bytes (10xxxxxx) begins a character;
  // documents count hundreds of thousands of texts, eight bytes at a time.
  std::size_t count = text.size();
  const char* p = text.data();
  std::size_t left = text.size();
  for (; left >= 8; p += 8, left -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    const std::uint64_t continuation = word & ~(word << 1) & 0x8080808080808080ULL;
    count -= static_cast<std::size_t>(((continuation >> 7) * 0x0101010101010101ULL) >> 56);
  }
  for (; left > 0; ++p, --left) {
    if (IsContinuationByte(*p)) --count;
  }
  return count;
}

std::string PadRight(std::string_view text, int width) {
  std::string result(text);
  const std::size_t count = CharCount(text);
  if (width > 0 && count < static_cast<std::size_t>(width)) {
    result.append(static_cast<std::size_t>(width) - count, ' ');
  }
  return result;
}

std::string PadLeft(std::string_view text, int width) {
  const std::size_t count = CharCount(text);
  if (width <= 0 || count >= static_cast<std::size_t>(width)) return std::string(text);
  return std::string(static_cast<std::size_t>(width) - count, ' ') + std::string(text);
}

std::string ReplaceAll(std::string_view text, std::string_view searched,
                       std::string_view replacement) {
  if (searched.empty()) return std::string(text);
  std::string result;
  std::size_t from = 0;
  while (true) {
    const std::size_t found = text.find(searched, from);
    if (found == std::string_view::npos) break;
    result.append(text.substr(from, found - from));
    result.append(replacement);
    from = found + searched.size();
  }
  result.append(text.substr(from));
  return result;
}

int PosN(std::string_view searched, std::string_view text, int n) {
  if (n <= 0 || searched.empty() || text.empty() || text.size() < searched.size()) return 0;
  std::size_t from = 0;
  for (int found_count = 0;;) {
    const std::size_t found = text.find(searched, from);
    if (found == std::string_view::npos) return 0;
    if (++found_count == n) return static_cast<int>(found) + 1;
    from = found + searched.size();
  }
}

std::string Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

std::string ToUpperAscii(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), UpperAscii);
  return result;
}

std::string ToUpperLatin(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      result.push_back(UpperAscii(text[i]));
      continue;
    }
    // Two-byte letters of U+00E0..U+024F; anything longer is copied as it is.
    if (lead >= 0xC3 && lead <= 0xC9 && i + 1 < text.size() && IsContinuationByte(text[i + 1])) {
      const char32_t letter =
          ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      const char32_t upper = UpperLatinLetter(letter);
      result.push_back(static_cast<char>(0xC0 | (upper >> 6)));
      result.push_back(static_cast<char>(0x80 | (upper & 0x3F)));
      ++i;
      continue;
    }
    result.push_back(text[i]);
  }
  return result;
}

std::string UpperTrim(std::string_view text) { return ToUpperLatin(Trim(text)); }

namespace {

// The length of the well-formed sequence at `pos`, or 0 when the bytes there
// are not one.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) return 1;
  std::size_t count = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    count = 1, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    count = 2, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    count = 3, value = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (pos + count >= text.size()) return 0;  // the sequence is cut short
  for (std::size_t i = 1; i <= count; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(pos + i) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return count + 1;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = SequenceLength(text, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 32 || code == 127;
  });
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}

std::string Truncate(std::string_view text, std::size_t max_chars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsContinuationByte(text[i])) {
      if (chars == max_chars) return std::string(text.substr(0, i));
      ++chars;
    }
  }
  return std::string(text);
}

}  // namespace traveno
