// What the print preview decides without drawing anything: the reading of
// the page box into page ranges, the question asked before printing them,
// and the zoom steps of its buttons.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace traveno::reports {

// Pages first..last (from 1), both included.
struct PageRange {
  int first = 0;
  int last = 0;
  friend bool operator==(const PageRange&, const PageRange&) = default;
};

struct PageSelection {
  // The accepted pieces in the order typed; repeated or overlapping ranges
  // stay as typed (they are printed as typed).
  std::vector<PageRange> ranges;
  // The pieces that could not be read, each followed by a blank; empty when
  // every piece was read.
  std::string unread;
};

// Reads the page box. After ".." "/" "_" become "-" and ";" ":" "." "|"
// become "," (so 1..3 is a range and 1.3 two pages), each piece between
// commas is a page n (1 <= n <= page_count) or a range a-b (1 <= a <= b <=
// page_count, the text after the first "-" being b). Empty pieces are
// skipped; blanks around numbers are allowed; anything else is unread.
PageSelection ParsePageSelection(std::string_view text, int page_count);

// Messages of the print command.
inline constexpr const char* kNoPagesChosen = "Nu ati ales nici o pagina pentru tiparire !";
// "Nu pot interpreta: " + the unread pieces + " .".
std::string UnreadPiecesMessage(const std::string& unread);
// The confirmation before printing: "Tiparesc tot raportul ? ( N pagini )"
// when the one range is the whole report, else "Tiparesc pagina 2 ?" or
// "Tiparesc paginile 1-2 5 ?".
std::string PrintQuestion(const std::vector<PageRange>& ranges, int page_count);

// The zoom, a whole percentage from 1 to 999.
inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 999;
// The zoom-in button: +10 on a left click (999 above 987), +1 on a right
// click, never above 999.
int ZoomIn(int zoom, bool right_click);
// The zoom-out button: -10 on a left click (1 at 10 or below), -1 on a right
// click, never below 1.
int ZoomOut(int zoom, bool right_click);

// The fixed texts the zoom display shows after "Zoom to Fit" and "Zoom to
// Width", whatever zoom they computed.
std::string FitZoomText(bool landscape);
std::string WidthZoomText(bool landscape);

}  // namespace traveno::reports
