#include "reports/document.h"

#include <utility>

namespace traveno::reports {

PageSetup PageSetup::A4(Orientation orientation) {
  PageSetup setup;
  setup.orientation = orientation;
  if (orientation == Orientation::kLandscape) {
    setup.width = 297;
    setup.height = 210;
    setup.margin_top = 8;
    setup.margin_bottom = 8;
  }
  return setup;
}

void Page::AddLine(double x1, double y1, double x2, double y2, double width) {
  lines.push_back({x1, y1, x2, y2, width});
}

void Page::AddBox(const Rect& box, double line_width, int fill) {
  boxes.push_back({box, line_width, fill});
}

void Page::AddPicture(const Rect& box, std::shared_ptr<const std::vector<unsigned char>> bytes) {
  pictures.push_back({box, std::move(bytes)});
}

}  // namespace traveno::reports
