#include "reports/text_width.h"

#include <array>
#include <cstdint>
#include <numeric>

namespace traveno::reports {
namespace {

// Advances of the characters from " " (32) to "~" (126), in thousandths of
// an em, read from the faces' horizontal metrics.
using Advances = std::array<std::uint16_t, 95>;

// clang-format off
constexpr Advances kSans = {
    318, 401, 460, 838, 636, 950, 780, 275, 390, 390, 500, 838, 318, 361, 318, 337, 636, 636, 636,
    636, 636, 636, 636, 636, 636, 636, 337, 337, 838, 838, 838, 531, 1000, 684, 686, 698, 770, 632,
    575, 775, 752, 295, 295, 656, 557, 863, 748, 787, 603, 787, 695, 635, 611, 732, 684, 989, 685,
    611, 685, 390, 337, 390, 838, 500, 500, 613, 635, 550, 635, 615, 352, 635, 634, 278, 278, 579,
    278, 974, 634, 612, 635, 635, 411, 521, 392, 634, 592, 818, 592, 592, 525, 636, 337, 636, 838};

constexpr Advances kSansBold = {
    348, 456, 521, 838, 696, 1002, 872, 306, 457, 457, 523, 838, 380, 415, 380, 365, 696, 696, 696,
    696, 696, 696, 696, 696, 696, 696, 400, 400, 838, 838, 838, 580, 1000, 774, 762, 734, 830, 683,
    683, 821, 837, 372, 372, 775, 637, 995, 837, 850, 733, 850, 770, 720, 682, 812, 774, 1103, 771,
    724, 725, 457, 365, 457, 838, 500, 500, 675, 716, 593, 716, 678, 435, 716, 712, 343, 343, 665,
    343, 1042, 712, 687, 716, 716, 493, 595, 478, 712, 652, 924, 645, 652, 582, 712, 365, 712, 838};

constexpr Advances kSerif = {
    318, 402, 460, 838, 636, 950, 890, 275, 390, 390, 500, 838, 318, 338, 318, 337, 636, 636, 636,
    636, 636, 636, 636, 636, 636, 636, 337, 337, 838, 838, 838, 536, 1000, 722, 735, 765, 802, 730,
    694, 799, 872, 395, 401, 747, 664, 1024, 875, 820, 673, 820, 753, 685, 667, 843, 722, 1028, 712,
    660, 695, 390, 337, 390, 838, 500, 500, 596, 640, 560, 640, 592, 370, 640, 644, 320, 310, 606,
    320, 948, 644, 602, 640, 640, 478, 513, 402, 644, 565, 856, 564, 565, 527, 636, 337, 636, 838};

constexpr Advances kSerifBold = {
    348, 439, 521, 838, 696, 950, 903, 306, 473, 473, 523, 838, 348, 415, 348, 365, 696, 696, 696,
    696, 696, 696, 696, 696, 696, 696, 369, 369, 838, 838, 838, 586, 1000, 776, 845, 796, 867, 762,
    710, 854, 945, 468, 473, 869, 703, 1107, 914, 871, 752, 871, 831, 722, 744, 872, 776, 1123, 776,
    714, 730, 473, 365, 473, 838, 500, 500, 648, 699, 609, 699, 636, 430, 699, 727, 380, 362, 693,
    380, 1058, 727, 667, 699, 699, 527, 563, 462, 727, 581, 861, 596, 581, 568, 643, 364, 643, 838};

// clang-format on

// Every character of the monospaced face.
constexpr std::uint16_t kMonoAdvance = 602;

const Advances& AdvancesOf(const Font& font) {
  if (font.family == FontFamily::kSerif) return font.bold ? kSerifBold : kSerif;
  return font.bold ? kSansBold : kSans;
}

// The ASCII letter a Romanian letter with a diacritic is drawn as wide as;
// 'O' for any other character outside ASCII.
char BaseLetter(char32_t c) {
  switch (c) {
    case U'ă':
    case U'â':
      return 'a';
    case U'î':
      return 'i';
    case U'ș':
    case U'ş':
      return 's';
    case U'ț':
    case U'ţ':
      return 't';
    case U'Ă':
    case U'Â':
      return 'A';
    case U'Î':
      return 'I';
    case U'Ș':
    case U'Ş':
      return 'S';
    case U'Ț':
    case U'Ţ':
      return 'T';
    default:
      return 'O';
  }
}

// The next code point of UTF-8 text at `i`, moving `i` past it; a byte that
// starts no valid sequence counts as one character.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto byte = static_cast<unsigned char>(text[i++]);
  if (byte < 0x80) return byte;
  int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
  char32_t c = byte & (0x3F >> extra);
  for (; extra > 0 && i < text.size(); --extra) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) break;
    c = (c << 6) | (next & 0x3F);
    ++i;
  }
  return c;
}

// The text's width in thousandths of an em.
long Units(std::string_view text, const Font& font) {
  const Advances& advances = AdvancesOf(font);
  const bool mono = font.family == FontFamily::kMono;
  long units = 0;
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = NextCodePoint(text, i);
    if (c >= 0x80) c = static_cast<unsigned char>(BaseLetter(c));
    if (mono) {
      units += kMonoAdvance;
    } else if (c >= 32 && c <= 126) {
      units += advances[c - 32];
    }
  }
  return units;
}

}  // namespace

double TextWidth(std::string_view text, const Font& font) {
  return static_cast<double>(Units(text, font)) / 1000.0 * font.size * kMillimetresPerPoint;
}

double InkWidth(std::string_view text, const Font& font) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  const std::size_t last = text.find_last_not_of(' ');
  return TextWidth(text.substr(first, last - first + 1), font);
}

std::vector<double> FitWidths(const std::vector<double>& preferred,
                              const std::vector<double>& needed, double total) {
  const std::size_t n = preferred.size();
  const double needs = std::accumulate(needed.begin(), needed.end(), 0.0);
  if (needed.size() != n || needs > total + 1e-9) return {};
  // Columns that need more than their share keep their need; the others
  // share what is left, until no share falls short of its column's need.
  std::vector<bool> fixed(n, false);
  std::vector<double> widths(n, 0.0);
  for (;;) {
    double left = total;
    double shares = 0;
    for (std::size_t c = 0; c < n; ++c) {
      if (fixed[c]) {
        left -= needed[c];
      } else {
        shares += preferred[c];
      }
    }
    bool changed = false;
    for (std::size_t c = 0; c < n; ++c) {
      if (fixed[c]) {
        widths[c] = needed[c];
        continue;
      }
      widths[c] = shares > 0 ? left * preferred[c] / shares : 0;
      if (widths[c] < needed[c]) {
        fixed[c] = true;
        changed = true;
      }
    }
    if (!changed) return widths;
  }
}

}  // namespace traveno::reports
