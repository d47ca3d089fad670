#include "core/windows1250.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace traveno {
namespace {

// The characters of the bytes 0x80..0xFF; 0 where the code page has none.
constexpr std::array<std::uint16_t, 128> kHighHalf = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

// Accented Latin letters the code page lacks, with their letter without the
// accent, in ascending order of code point.
struct Fold {
  std::uint16_t code_point;
  char letter;
};
constexpr Fold kFolds[] = {
    {0x00C0, 'A'}, {0x00C3, 'A'}, {0x00C5, 'A'}, {0x00C8, 'E'}, {0x00CA, 'E'}, {0x00CC, 'I'},
    {0x00CF, 'I'}, {0x00D1, 'N'}, {0x00D2, 'O'}, {0x00D5, 'O'}, {0x00D8, 'O'}, {0x00D9, 'U'},
    {0x00DB, 'U'}, {0x00E0, 'a'}, {0x00E3, 'a'}, {0x00E5, 'a'}, {0x00E8, 'e'}, {0x00EA, 'e'},
    {0x00EC, 'i'}, {0x00EF, 'i'}, {0x00F1, 'n'}, {0x00F2, 'o'}, {0x00F5, 'o'}, {0x00F8, 'o'},
    {0x00F9, 'u'}, {0x00FB, 'u'}, {0x00FF, 'y'}, {0x0100, 'A'}, {0x0101, 'a'}, {0x0108, 'C'},
    {0x0109, 'c'}, {0x010A, 'C'}, {0x010B, 'c'}, {0x0112, 'E'}, {0x0113, 'e'}, {0x0114, 'E'},
    {0x0115, 'e'}, {0x0116, 'E'}, {0x0117, 'e'}, {0x011C, 'G'}, {0x011D, 'g'}, {0x011E, 'G'},
    {0x011F, 'g'}, {0x0120, 'G'}, {0x0121, 'g'}, {0x0122, 'G'}, {0x0123, 'g'}, {0x0124, 'H'},
    {0x0125, 'h'}, {0x0126, 'H'}, {0x0127, 'h'}, {0x0128, 'I'}, {0x0129, 'i'}, {0x012A, 'I'},
    {0x012B, 'i'}, {0x012C, 'I'}, {0x012D, 'i'}, {0x012E, 'I'}, {0x012F, 'i'}, {0x0130, 'I'},
    {0x0131, 'i'}, {0x0134, 'J'}, {0x0135, 'j'}, {0x0136, 'K'}, {0x0137, 'k'}, {0x013B, 'L'},
    {0x013C, 'l'}, {0x0145, 'N'}, {0x0146, 'n'}, {0x014C, 'O'}, {0x014D, 'o'}, {0x014E, 'O'},
    {0x014F, 'o'}, {0x0156, 'R'}, {0x0157, 'r'}, {0x015C, 'S'}, {0x015D, 's'}, {0x0166, 'T'},
    {0x0167, 't'}, {0x0168, 'U'}, {0x0169, 'u'}, {0x016A, 'U'}, {0x016B, 'u'}, {0x016C, 'U'},
    {0x016D, 'u'}, {0x0172, 'U'}, {0x0173, 'u'}, {0x0174, 'W'}, {0x0175, 'w'}, {0x0176, 'Y'},
    {0x0177, 'y'}, {0x0178, 'Y'}, {0x0180, 'b'}, {0x0197, 'I'}, {0x01A0, 'O'}, {0x01A1, 'o'},
    {0x01AF, 'U'}, {0x01B0, 'u'}, {0x01CD, 'A'}, {0x01CE, 'a'}, {0x01CF, 'I'}, {0x01D0, 'i'},
    {0x01D1, 'O'}, {0x01D2, 'o'}, {0x01D3, 'U'}, {0x01D4, 'u'}, {0x01D5, 'U'}, {0x01D6, 'u'},
    {0x01D7, 'U'}, {0x01D8, 'u'}, {0x01D9, 'U'}, {0x01DA, 'u'}, {0x01DB, 'U'}, {0x01DC, 'u'},
    {0x01DE, 'A'}, {0x01DF, 'a'}, {0x01E0, 'A'}, {0x01E1, 'a'}, {0x01E6, 'G'}, {0x01E7, 'g'},
    {0x01E8, 'K'}, {0x01E9, 'k'}, {0x01EA, 'O'}, {0x01EB, 'o'}, {0x01EC, 'O'}, {0x01ED, 'o'},
    {0x01F0, 'j'}, {0x01F4, 'G'}, {0x01F5, 'g'}, {0x01F8, 'N'}, {0x01F9, 'n'}, {0x01FA, 'A'},
    {0x01FB, 'a'}, {0x0200, 'A'}, {0x0201, 'a'}, {0x0202, 'A'}, {0x0203, 'a'}, {0x0204, 'E'},
    {0x0205, 'e'}, {0x0206, 'E'}, {0x0207, 'e'}, {0x0208, 'I'}, {0x0209, 'i'}, {0x020A, 'I'},
    {0x020B, 'i'}, {0x020C, 'O'}, {0x020D, 'o'}, {0x020E, 'O'}, {0x020F, 'o'}, {0x0210, 'R'},
    {0x0211, 'r'}, {0x0212, 'R'}, {0x0213, 'r'}, {0x0214, 'U'}, {0x0215, 'u'}, {0x0216, 'U'},
    {0x0217, 'u'}, {0x021E, 'H'}, {0x021F, 'h'}, {0x0226, 'A'}, {0x0227, 'a'}, {0x0228, 'E'},
    {0x0229, 'e'}, {0x022A, 'O'}, {0x022B, 'o'}, {0x022C, 'O'}, {0x022D, 'o'}, {0x022E, 'O'},
    {0x022F, 'o'}, {0x0230, 'O'}, {0x0231, 'o'}, {0x0232, 'Y'}, {0x0233, 'y'}, {0x1E00, 'A'},
    {0x1E01, 'a'}, {0x1E02, 'B'}, {0x1E03, 'b'}, {0x1E04, 'B'}, {0x1E05, 'b'}, {0x1E06, 'B'},
    {0x1E07, 'b'}, {0x1E08, 'C'}, {0x1E09, 'c'}, {0x1E0A, 'D'}, {0x1E0B, 'd'}, {0x1E0C, 'D'},
    {0x1E0D, 'd'}, {0x1E0E, 'D'}, {0x1E0F, 'd'}, {0x1E10, 'D'}, {0x1E11, 'd'}, {0x1E12, 'D'},
    {0x1E13, 'd'}, {0x1E14, 'E'}, {0x1E15, 'e'}, {0x1E16, 'E'}, {0x1E17, 'e'}, {0x1E18, 'E'},
    {0x1E19, 'e'}, {0x1E1A, 'E'}, {0x1E1B, 'e'}, {0x1E1C, 'E'}, {0x1E1D, 'e'}, {0x1E1E, 'F'},
    {0x1E1F, 'f'}, {0x1E20, 'G'}, {0x1E21, 'g'}, {0x1E22, 'H'}, {0x1E23, 'h'}, {0x1E24, 'H'},
    {0x1E25, 'h'}, {0x1E26, 'H'}, {0x1E27, 'h'}, {0x1E28, 'H'}, {0x1E29, 'h'}, {0x1E2A, 'H'},
    {0x1E2B, 'h'}, {0x1E2C, 'I'}, {0x1E2D, 'i'}, {0x1E2E, 'I'}, {0x1E2F, 'i'}, {0x1E30, 'K'},
    {0x1E31, 'k'}, {0x1E32, 'K'}, {0x1E33, 'k'}, {0x1E34, 'K'}, {0x1E35, 'k'}, {0x1E36, 'L'},
    {0x1E37, 'l'}, {0x1E38, 'L'}, {0x1E39, 'l'}, {0x1E3A, 'L'}, {0x1E3B, 'l'}, {0x1E3C, 'L'},
    {0x1E3D, 'l'}, {0x1E3E, 'M'}, {0x1E3F, 'm'}, {0x1E40, 'M'}, {0x1E41, 'm'}, {0x1E42, 'M'},
    {0x1E43, 'm'}, {0x1E44, 'N'}, {0x1E45, 'n'}, {0x1E46, 'N'}, {0x1E47, 'n'}, {0x1E48, 'N'},
    {0x1E49, 'n'}, {0x1E4A, 'N'}, {0x1E4B, 'n'}, {0x1E4C, 'O'}, {0x1E4D, 'o'}, {0x1E4E, 'O'},
    {0x1E4F, 'o'}, {0x1E50, 'O'}, {0x1E51, 'o'}, {0x1E52, 'O'}, {0x1E53, 'o'}, {0x1E54, 'P'},
    {0x1E55, 'p'}, {0x1E56, 'P'}, {0x1E57, 'p'}, {0x1E58, 'R'}, {0x1E59, 'r'}, {0x1E5A, 'R'},
    {0x1E5B, 'r'}, {0x1E5C, 'R'}, {0x1E5D, 'r'}, {0x1E5E, 'R'}, {0x1E5F, 'r'}, {0x1E60, 'S'},
    {0x1E61, 's'}, {0x1E62, 'S'}, {0x1E63, 's'}, {0x1E64, 'S'}, {0x1E65, 's'}, {0x1E66, 'S'},
    {0x1E67, 's'}, {0x1E68, 'S'}, {0x1E69, 's'}, {0x1E6A, 'T'}, {0x1E6B, 't'}, {0x1E6C, 'T'},
    {0x1E6D, 't'}, {0x1E6E, 'T'}, {0x1E6F, 't'}, {0x1E70, 'T'}, {0x1E71, 't'}, {0x1E72, 'U'},
    {0x1E73, 'u'}, {0x1E74, 'U'}, {0x1E75, 'u'}, {0x1E76, 'U'}, {0x1E77, 'u'}, {0x1E78, 'U'},
    {0x1E79, 'u'}, {0x1E7A, 'U'}, {0x1E7B, 'u'}, {0x1E7C, 'V'}, {0x1E7D, 'v'}, {0x1E7E, 'V'},
    {0x1E7F, 'v'}, {0x1E80, 'W'}, {0x1E81, 'w'}, {0x1E82, 'W'}, {0x1E83, 'w'}, {0x1E84, 'W'},
    {0x1E85, 'w'}, {0x1E86, 'W'}, {0x1E87, 'w'}, {0x1E88, 'W'}, {0x1E89, 'w'}, {0x1E8A, 'X'},
    {0x1E8B, 'x'}, {0x1E8C, 'X'}, {0x1E8D, 'x'}, {0x1E8E, 'Y'}, {0x1E8F, 'y'}, {0x1E90, 'Z'},
    {0x1E91, 'z'}, {0x1E92, 'Z'}, {0x1E93, 'z'}, {0x1E94, 'Z'}, {0x1E95, 'z'}, {0x1E96, 'h'},
    {0x1E97, 't'}, {0x1E98, 'w'}, {0x1E99, 'y'}, {0x1EA0, 'A'}, {0x1EA1, 'a'}, {0x1EA2, 'A'},
    {0x1EA3, 'a'}, {0x1EA4, 'A'}, {0x1EA5, 'a'}, {0x1EA6, 'A'}, {0x1EA7, 'a'}, {0x1EA8, 'A'},
    {0x1EA9, 'a'}, {0x1EAA, 'A'}, {0x1EAB, 'a'}, {0x1EAC, 'A'}, {0x1EAD, 'a'}, {0x1EAE, 'A'},
    {0x1EAF, 'a'}, {0x1EB0, 'A'}, {0x1EB1, 'a'}, {0x1EB2, 'A'}, {0x1EB3, 'a'}, {0x1EB4, 'A'},
    {0x1EB5, 'a'}, {0x1EB6, 'A'}, {0x1EB7, 'a'}, {0x1EB8, 'E'}, {0x1EB9, 'e'}, {0x1EBA, 'E'},
    {0x1EBB, 'e'}, {0x1EBC, 'E'}, {0x1EBD, 'e'}, {0x1EBE, 'E'}, {0x1EBF, 'e'}, {0x1EC0, 'E'},
    {0x1EC1, 'e'}, {0x1EC2, 'E'}, {0x1EC3, 'e'}, {0x1EC4, 'E'}, {0x1EC5, 'e'}, {0x1EC6, 'E'},
    {0x1EC7, 'e'}, {0x1EC8, 'I'}, {0x1EC9, 'i'}, {0x1ECA, 'I'}, {0x1ECB, 'i'}, {0x1ECC, 'O'},
    {0x1ECD, 'o'}, {0x1ECE, 'O'}, {0x1ECF, 'o'}, {0x1ED0, 'O'}, {0x1ED1, 'o'}, {0x1ED2, 'O'},
    {0x1ED3, 'o'}, {0x1ED4, 'O'}, {0x1ED5, 'o'}, {0x1ED6, 'O'}, {0x1ED7, 'o'}, {0x1ED8, 'O'},
    {0x1ED9, 'o'}, {0x1EDA, 'O'}, {0x1EDB, 'o'}, {0x1EDC, 'O'}, {0x1EDD, 'o'}, {0x1EDE, 'O'},
    {0x1EDF, 'o'}, {0x1EE0, 'O'}, {0x1EE1, 'o'}, {0x1EE2, 'O'}, {0x1EE3, 'o'}, {0x1EE4, 'U'},
    {0x1EE5, 'u'}, {0x1EE6, 'U'}, {0x1EE7, 'u'}, {0x1EE8, 'U'}, {0x1EE9, 'u'}, {0x1EEA, 'U'},
    {0x1EEB, 'u'}, {0x1EEC, 'U'}, {0x1EED, 'u'}, {0x1EEE, 'U'}, {0x1EEF, 'u'}, {0x1EF0, 'U'},
    {0x1EF1, 'u'}, {0x1EF2, 'Y'}, {0x1EF3, 'y'}, {0x1EF4, 'Y'}, {0x1EF5, 'y'}, {0x1EF6, 'Y'},
    {0x1EF7, 'y'}, {0x1EF8, 'Y'}, {0x1EF9, 'y'},
};

// The byte of a code point of the high half, or 0.
unsigned char HighByteOf(char32_t code_point) {
  static const auto kByCodePoint = [] {
    std::array<std::pair<std::uint16_t, unsigned char>, 128> table{};
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
      table[i] = {kHighHalf[i], static_cast<unsigned char>(0x80 + i)};
    }
    std::sort(table.begin(), table.end());
    return table;
  }();
  if (code_point == 0 || code_point > 0xFFFF) return 0;
  const auto found = std::lower_bound(
      kByCodePoint.begin(), kByCodePoint.end(),
      std::pair<std::uint16_t, unsigned char>(static_cast<std::uint16_t>(code_point), 0));
  return found != kByCodePoint.end() && found->first == code_point ? found->second : 0;
}

char NearestEquivalent(char32_t code_point) {
  switch (code_point) {
    case 0x0218:
      return static_cast<char>(0xAA);  // Ș as Ş
    case 0x0219:
      return static_cast<char>(0xBA);  // ș as ş
    case 0x021A:
      return static_cast<char>(0xDE);  // Ț as Ţ
    case 0x021B:
      return static_cast<char>(0xFE);  // ț as ţ
    default:
      break;
  }
  const auto found =
      std::lower_bound(std::begin(kFolds), std::end(kFolds), code_point,
                       [](const Fold& fold, char32_t wanted) { return fold.code_point < wanted; });
  if (found != std::end(kFolds) && found->code_point == code_point) return found->letter;
  return '?';
}

// Decodes one UTF-8 character at `at`, advancing it; an invalid sequence
// gives U+FFFD and advances by one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  int length = 0;
  char32_t code_point = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code_point = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code_point = lead & 0x07;
  } else {
    ++at;
    return 0xFFFD;
  }
  if (at + static_cast<std::size_t>(length) > text.size()) {
    ++at;
    return 0xFFFD;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(at + static_cast<std::size_t>(i));
    if ((next & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    code_point = (code_point << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
  const bool overlong =
      (length == 3 && code_point < 0x800) || (length == 4 && code_point < 0x10000);
  if (overlong || (code_point >= 0xD800 && code_point <= 0xDFFF) || code_point > 0x10FFFF) {
    ++at;
    return 0xFFFD;
  }
  at += static_cast<std::size_t>(length);
  return code_point;
}

void AppendUtf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

}  // namespace

std::string ToWindows1250(std::string_view utf8) {
  std::string result;
  result.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    if (static_cast<unsigned char>(utf8[at]) < 0x80) {
      result.push_back(utf8[at++]);
      continue;
    }
    const char32_t code_point = NextCodePoint(utf8, at);
    const unsigned char byte = HighByteOf(code_point);
    result.push_back(byte != 0 ? static_cast<char>(byte) : NearestEquivalent(code_point));
  }
  return result;
}

std::string FromWindows1250(std::string_view bytes) {
  std::string result;
  result.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      result.push_back(c);
    } else {
      const char32_t code_point = kHighHalf[byte - 0x80];
      AppendUtf8(result, code_point != 0 ? code_point : U'?');
    }
  }
  return result;
}

}  // namespace traveno
