// Whether the texts of a prepared page can be read: where each text's ink
// lies as the renderer draws it (its width from the faces' advances,
// condensed to its box when wider, placed by its alignment, blanks at either
// end carrying no ink), and the faults of a page: two texts of one line whose
// ink touches or comes closer than a clear gap, and a figure condensed to
// fit its box. The renderer's widths are checked against these advances by
// the rendering tests.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "reports/document.h"
#include "reports/text_width.h"

namespace traveno::reports::testing {

// The least room between the ink of two texts of one line: more than the
// blank that groups a number's thousands, so two figures never read as one.
inline constexpr double kClearGap = 1.5;

struct Ink {
  double left = 0;
  double right = 0;
  double squeeze = 1;  // the share of its width the text is drawn at
};

inline Ink InkOf(const TextItem& item) {
  const double width = TextWidth(item.text, item.font);
  Ink ink;
  ink.squeeze = width > item.box.width && width > 0 ? item.box.width / width : 1.0;
  const double drawn = width * ink.squeeze;
  double x = item.box.x;
  if (item.align == Align::kRight) x = item.box.right() - drawn;
  if (item.align == Align::kCenter) x = item.box.x + (item.box.width - drawn) / 2;
  const std::size_t first = item.text.find_first_not_of(' ');
  const std::size_t last = item.text.find_last_not_of(' ');
  const double lead = TextWidth(item.text.substr(0, first), item.font) * ink.squeeze;
  const double trail = TextWidth(item.text.substr(last + 1), item.font) * ink.squeeze;
  ink.left = x + lead;
  ink.right = x + drawn - trail;
  return ink;
}

// A figure: digits with the blanks, commas, signs and percent signs of the
// number texts.
inline bool IsFigure(const std::string& text) {
  bool digit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c != ' ' && c != ',' && c != '-' && c != '%') {
      return false;
    }
  }
  return digit;
}

// The faults of a page, each described with the texts concerned.
inline std::vector<std::string> LegibilityFaults(const Page& page) {
  std::vector<std::string> faults;
  std::vector<const TextItem*> texts;
  for (const TextItem& item : page.texts) {
    if (item.text.find_first_not_of(' ') != std::string::npos) texts.push_back(&item);
  }
  for (const TextItem* item : texts) {
    const Ink ink = InkOf(*item);
    // A figure is drawn at its full width (a hundredth of a millimetre of
    // rounding allowed).
    if (IsFigure(item->text) && ink.squeeze * TextWidth(item->text, item->font) <
                                    TextWidth(item->text, item->font) - 0.01) {
      faults.push_back("condensed: \"" + item->text + "\"");
    }
  }
  // Texts of one line: the centre of each lies within the other's height.
  auto centre = [](const TextItem* t) { return t->box.y + t->box.height / 2; };
  std::sort(texts.begin(), texts.end(),
            [&](const TextItem* a, const TextItem* b) { return centre(a) < centre(b); });
  double tallest = 0;
  for (const TextItem* t : texts) tallest = std::max(tallest, t->box.height);
  std::vector<Ink> inks;
  for (const TextItem* t : texts) inks.push_back(InkOf(*t));
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = i + 1; j < texts.size() && centre(texts[j]) - centre(texts[i]) < tallest;
         ++j) {
      const TextItem& a = *texts[i];
      const TextItem& b = *texts[j];
      if (centre(&b) - centre(&a) >= std::min(a.box.height, b.box.height) / 2) continue;
      const Ink& ia = inks[i];
      const Ink& ib = inks[j];
      const double gap = std::max(ib.left - ia.right, ia.left - ib.right);
      if (gap < kClearGap - 1e-9) {
        faults.push_back("\"" + a.text + "\" and \"" + b.text + "\" " +
                         (gap < 0 ? "overlap" : "too close"));
      }
    }
  }
  return faults;
}

}  // namespace traveno::reports::testing
