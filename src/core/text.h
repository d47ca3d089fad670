// Text helpers shared by every layer. Texts are UTF-8; widths count
// characters, positions count bytes (the program's own texts are ASCII).
#pragma once

#include <string>
#include <string_view>

namespace traveno {

// Number of characters (UTF-8 code points) of a text.
std::size_t CharCount(std::string_view text);

// The text followed by blanks up to `width` characters; a longer text is
// returned whole, never cut.
std::string PadRight(std::string_view text, int width);
// Blanks followed by the text up to `width` characters; a longer text is
// returned whole.
std::string PadLeft(std::string_view text, int width);

// Every occurrence of `searched` replaced, scanning left to right; replaced
// text is not searched again. An empty `searched` returns the text unchanged.
std::string ReplaceAll(std::string_view text, std::string_view searched,
                       std::string_view replacement);

// The 1-based position of the n-th non-overlapping occurrence of `searched`
// in `text`; 0 when there are fewer than n, when n is 0 or negative, when
// either string is empty, or when the text is shorter than `searched`.
int PosN(std::string_view searched, std::string_view text, int n);

// Removes leading and trailing characters with codes up to the blank.
std::string Trim(std::string_view text);
std::string ToUpperAscii(std::string_view text);
// The text with its Latin letters upper-cased, the accented ones of Romanian
// and its neighbours included (a with breve, s with comma below, e acute);
// other characters unchanged.
std::string ToUpperLatin(std::string_view text);
// Upper-cased (as ToUpperLatin) and trimmed; one-letter marks and codes are
// compared through it, and the declaration files write names through it.
std::string UpperTrim(std::string_view text);
// Compares two names without regard to ASCII case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// The first `max_chars` characters of a text (a shorter text whole).
std::string Truncate(std::string_view text, std::size_t max_chars);

// The first value when the flag is set, else the second.
template <typename T>
constexpr T Choose(bool flag, T first, T second) {
  return flag ? first : second;
}

}  // namespace traveno
