#include "core/text.h"

#include <algorithm>
#include <optional>

namespace traveno {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::size_t CharCount(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
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

namespace {

// The capital of a lower-case Latin letter with diacritics (Latin-1 and
// Latin Extended-A, where capitals and small letters alternate, and the
// Romanian s and t with comma below); the code point itself otherwise.
char32_t UpperCodePoint(char32_t c) {
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  const bool odd = (c & 1) != 0;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return odd ? c - 1 : c;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return odd ? c : c - 1;
  if (c >= 0x218 && c <= 0x21B) return odd ? c - 1 : c;
  return c;
}

// Decodes the sequence at `pos`; its length in `length`, or nothing when the
// bytes there are not a well-formed sequence.
std::optional<char32_t> DecodeAt(std::string_view text, std::size_t pos, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    length = 1;
    return lead;
  }
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
    return std::nullopt;
  }
  if (pos + count >= text.size()) return std::nullopt;  // the sequence is cut short
  for (std::size_t i = 1; i <= count; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (byte(pos + i) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  length = count + 1;
  return value;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string UpperText(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = 1;
    const std::optional<char32_t> c = DecodeAt(text, pos, length);
    if (!c) {
      result += text[pos++];
      continue;
    }
    if (*c < 0x80) {
      result += UpperAscii(static_cast<char>(*c));
    } else {
      AppendUtf8(result, UpperCodePoint(*c));
    }
    pos += length;
  }
  return result;
}

std::string UpperTrim(std::string_view text) { return UpperText(Trim(text)); }

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = 1;
    if (!DecodeAt(text, pos, length)) return false;
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
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
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
