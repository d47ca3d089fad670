// A prepared document: the pages of a printed document, each a set of
// positioned texts, lines, boxes and pictures, ready to be drawn on the
// screen, sent to a printer or written as PDF. Positions and sizes are
// millimetres from the top-left corner of the page as it is printed (a
// landscape page is 297 mm wide); font sizes are points. The model knows no
// fonts' metrics: a text is given a box and an alignment, and the renderer
// keeps it inside the box (a text wider than its box is condensed to fit).
//
// Nothing here draws: the document is plain data, built without Qt by the
// documents of src/reports and read by the renderers of the window layer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace traveno::reports {

// A rectangle in millimetres.
struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  double right() const { return x + width; }
  double bottom() const { return y + height; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class Orientation : std::uint8_t { kPortrait, kLandscape };

// The paper as the document is laid out on it: its size in the orientation
// printed, and the margins the page composer keeps free.
struct PageSetup {
  Orientation orientation = Orientation::kPortrait;
  double width = 210;
  double height = 297;
  double margin_left = 10;
  double margin_top = 10;
  double margin_right = 10;
  double margin_bottom = 10;

  // A4 in either orientation with margins of 10 mm (8 mm top and bottom in
  // landscape, where the height is scarce).
  static PageSetup A4(Orientation orientation);

  double content_left() const { return margin_left; }
  double content_right() const { return width - margin_right; }
  double content_width() const { return width - margin_left - margin_right; }
  double content_top() const { return margin_top; }
  double content_bottom() const { return height - margin_bottom; }
  friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

enum class FontFamily : std::uint8_t { kSans, kSerif, kMono };

struct Font {
  float size = 8;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  FontFamily family = FontFamily::kSans;

  Font Bold() const {
    Font f = *this;
    f.bold = true;
    return f;
  }
  Font Sized(float points) const {
    Font f = *this;
    f.size = points;
    return f;
  }
  friend bool operator==(const Font&, const Font&) = default;
};

// How a text sits in its box horizontally; it is always centred vertically.
enum class Align : std::uint8_t { kLeft, kRight, kCenter };

struct TextItem {
  Rect box;
  std::string text;  // UTF-8, one line
  Font font;
  Align align = Align::kLeft;
};

// A straight line between two points; `width` is the pen's width in mm.
struct LineItem {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double width = 0.2;
};

// A rectangle, framed with a pen of `line_width` mm (none when 0) and filled
// with a grey level (0 black .. 255 white) when `fill` is 0..255.
struct BoxItem {
  Rect box;
  double line_width = 0.2;
  int fill = -1;  // -1: not filled
};

// A picture (the bytes of an image file, as stored) scaled into its box,
// keeping its proportions, centred. Bytes that are no image draw nothing.
struct PictureItem {
  Rect box;
  std::shared_ptr<const std::vector<unsigned char>> bytes;
};

// One page. Renderers draw boxes first, then pictures, lines and texts, so a
// filled box is always under what is drawn over it.
struct Page {
  std::vector<TextItem> texts;
  std::vector<LineItem> lines;
  std::vector<BoxItem> boxes;
  std::vector<PictureItem> pictures;

  // Inline: documents add hundreds of thousands of texts, each moved once.
  void AddText(const Rect& box, std::string text, const Font& font, Align align = Align::kLeft) {
    texts.emplace_back(box, std::move(text), font, align);
  }
  void AddLine(double x1, double y1, double x2, double y2, double width = 0.2);
  void AddBox(const Rect& box, double line_width = 0.2, int fill = -1);
  void AddPicture(const Rect& box, std::shared_ptr<const std::vector<unsigned char>> bytes);
  bool empty() const { return texts.empty() && lines.empty() && boxes.empty() && pictures.empty(); }
};

struct Document {
  std::string title;
  PageSetup setup;
  std::vector<Page> pages;
};

}  // namespace traveno::reports
