#include "reports/page_composer.h"

#include <iterator>
#include <utility>
#include <vector>

namespace traveno::reports {
namespace {

// Lengths are compared with a tolerance, so that bands whose heights add up
// to the page exactly still fit despite the rounding of their sums.
constexpr double kTolerance = 1e-6;

// Moves the items of `from` from index `first` on to the end of `to`.
template <typename T>
void MoveTail(std::vector<T>& from, std::size_t first, std::vector<T>& to) {
  to.insert(to.end(), std::make_move_iterator(from.begin() + static_cast<std::ptrdiff_t>(first)),
            std::make_move_iterator(from.end()));
  from.erase(from.begin() + static_cast<std::ptrdiff_t>(first), from.end());
}

}  // namespace

Band& Band::Line(double x1, double y1, double x2, double y2, double width) {
  items_.AddLine(x1, y1, x2, y2, width);
  return *this;
}

Band& Band::Box(const Rect& box, double line_width, int fill) {
  items_.AddBox(box, line_width, fill);
  return *this;
}

Band& Band::Picture(const Rect& box, std::shared_ptr<const std::vector<unsigned char>> bytes) {
  items_.AddPicture(box, std::move(bytes));
  return *this;
}

Band& Band::Append(Band other) {
  const double dy = height_;
  Page& from = other.items_;
  for (TextItem& t : from.texts) {
    t.box.y += dy;
    items_.texts.push_back(std::move(t));
  }
  for (BoxItem& b : from.boxes) {
    b.box.y += dy;
    items_.boxes.push_back(b);
  }
  for (PictureItem& p : from.pictures) {
    p.box.y += dy;
    items_.pictures.push_back(std::move(p));
  }
  for (const LineItem& l : from.lines) {
    items_.lines.push_back({l.x1, l.y1 + dy, l.x2, l.y2 + dy, l.width});
  }
  height_ += other.height_;
  return *this;
}

PageComposer::PageComposer(const PageSetup& setup, PageSink& sink)
    : setup_(setup),
      sink_(sink),
      cursor_(setup.content_top()),
      body_top_(setup.content_top()),
      body_bottom_(setup.content_bottom()) {}

void PageComposer::StartPage() {
  page_.emplace();
  // Pages of a document are alike: room for as many texts as the last one
  // (most of a page; its few lines and boxes grow as they come).
  page_->texts.reserve(last_page_texts_);
  ++page_number_;
  cursor_ = setup_.content_top();
  if (header_) {
    Band header = header_(page_number_);
    const double height = header.height();
    Put(std::move(header.items()), 0, cursor_);
    cursor_ += height;
  }
  body_top_ = cursor_;
  body_bottom_ = setup_.content_bottom();
  page_footer_band_.reset();
  if (footer_) {
    page_footer_band_ = footer_(page_number_);
    body_bottom_ -= page_footer_band_->height();
  }
  page_has_body_ = false;
  break_pending_ = false;
  flowed_.clear();
}

void PageComposer::FinishPage() {
  if (page_footer_band_) Put(std::move(page_footer_band_->items()), 0, body_bottom_);
  last_page_texts_ = page_->texts.size();
  Page finished = std::move(*page_);
  page_.reset();
  flowed_.clear();
  page_footer_band_.reset();
  ++finished_pages_;
  if (!sink_.Cancelled()) sink_.AddPage(std::move(finished));
}

void PageComposer::EnsurePageFor(double height) {
  if (!page_) {
    StartPage();
    return;
  }
  const bool overflows = cursor_ + height > body_bottom_ + kTolerance;
  if (page_has_body_ && (break_pending_ || overflows)) {
    FinishPage();
    StartPage();
  }
}

void PageComposer::Add(Band band, double keep_with) { AddBand(std::move(band), keep_with, false); }

void PageComposer::AddClosing(Band band) { AddBand(std::move(band), 0, true); }

void PageComposer::AddBand(Band band, double keep_with, bool closing) {
  const double height = band.height();
  const bool overflows = cursor_ + height + keep_with > body_bottom_ + kTolerance;
  if (closing && page_ && page_has_body_ && !break_pending_ && overflows && !flowed_.empty()) {
    // The bands it closes go with it: back from the last one while the
    // band closes what is before it or follows a header kept with it.
    std::size_t first = flowed_.size() - 1;
    while (first > 0 && (flowed_[first].closing || flowed_[first - 1].keep_next)) --first;
    CarryOver(first, height);
  }
  EnsurePageFor(height + keep_with);
  Page& page = *page_;
  flowed_.push_back({page.texts.size(), page.lines.size(), page.boxes.size(), page.pictures.size(),
                     cursor_, height, closing, keep_with > 0});
  Put(std::move(band.items()), 0, cursor_);
  cursor_ += height;
  page_has_body_ = true;
}

bool PageComposer::CarryOver(std::size_t first, double with_height) {
  // Never the whole body: the page would keep nothing but its header.
  if (first == 0) return false;
  const Flowed start = flowed_[first];
  const double moved_height = cursor_ - start.top;
  // What a new page holds under its header, as far as the current page tells.
  if (moved_height + with_height > body_bottom_ - body_top_ + kTolerance) return false;
  std::vector<Flowed> moved_bands(flowed_.begin() + static_cast<std::ptrdiff_t>(first),
                                  flowed_.end());
  Page moved;
  MoveTail(page_->texts, start.texts, moved.texts);
  MoveTail(page_->lines, start.lines, moved.lines);
  MoveTail(page_->boxes, start.boxes, moved.boxes);
  MoveTail(page_->pictures, start.pictures, moved.pictures);
  for (TextItem& t : moved.texts) t.box.y -= start.top;
  for (BoxItem& b : moved.boxes) b.box.y -= start.top;
  for (PictureItem& p : moved.pictures) p.box.y -= start.top;
  for (LineItem& l : moved.lines) {
    l.y1 -= start.top;
    l.y2 -= start.top;
  }
  FinishPage();
  StartPage();
  const Page& page = *page_;
  for (const Flowed& band : moved_bands) {
    flowed_.push_back({page.texts.size() + (band.texts - start.texts),
                       page.lines.size() + (band.lines - start.lines),
                       page.boxes.size() + (band.boxes - start.boxes),
                       page.pictures.size() + (band.pictures - start.pictures),
                       cursor_ + (band.top - start.top), band.height, band.closing,
                       band.keep_next});
  }
  Put(std::move(moved), 0, cursor_);
  cursor_ += moved_height;
  page_has_body_ = true;
  return true;
}

void PageComposer::BreakPage() {
  if (page_ && page_has_body_) break_pending_ = true;
}

bool PageComposer::Fits(double height) const {
  if (!page_ || break_pending_) {
    // A new page: what its header leaves, as far as can be known before it
    // is made (the current page's header and footer heights).
    return body_top_ + height <= body_bottom_ + kTolerance;
  }
  return cursor_ + height <= body_bottom_ + kTolerance;
}

void PageComposer::Place(Band band, double x, double y) {
  if (!page_ || (break_pending_ && page_has_body_)) {
    if (page_) FinishPage();
    StartPage();
  }
  Put(std::move(band.items()), x, y);
  page_has_body_ = true;
  // Placed items are not part of the flow: what flowed before them stays.
  flowed_.clear();
}

void PageComposer::Finish() {
  if (!page_) StartPage();
  FinishPage();
}

void PageComposer::Put(Page&& items, double dx, double dy) {
  Page& page = *page_;
  auto move_all = [dx, dy](auto& from, auto& to) {
    for (auto& item : from) {
      item.box.x += dx;
      item.box.y += dy;
      to.push_back(std::move(item));
    }
  };
  move_all(items.texts, page.texts);
  move_all(items.boxes, page.boxes);
  move_all(items.pictures, page.pictures);
  for (const LineItem& l : items.lines) {
    page.lines.push_back({l.x1 + dx, l.y1 + dy, l.x2 + dx, l.y2 + dy, l.width});
  }
}

void LayOut(const Report& report, PageSink& sink) {
  PageComposer composer(report.setup, sink);
  if (report.lay_out) report.lay_out(composer);
  composer.Finish();
}

Document Prepare(const Report& report) {
  Document document;
  document.title = report.title;
  document.setup = report.setup;
  DocumentSink sink(document);
  LayOut(report, sink);
  return document;
}

int PageCount(const Report& report) {
  class CountingSink final : public PageSink {
   public:
    void AddPage(Page) override { ++count; }
    int count = 0;
  } sink;
  LayOut(report, sink);
  return sink.count;
}

}  // namespace traveno::reports
