#include "core/text.h"

#include <algorithm>

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

std::string UpperTrim(std::string_view text) { return ToUpperAscii(Trim(text)); }

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
