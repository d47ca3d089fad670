#include "reports/page_composer.h"

#include <utility>

namespace traveno::reports {
namespace {

// Lengths are compared with a tolerance, so that bands whose heights add up
// to the page exactly still fit despite the rounding of their sums.
constexpr double kTolerance = 1e-6;

}  // namespace

Band& Band::Text(const Rect& box, std::string text, const Font& font, Align align) {
  items_.AddText(box, std::move(text), font, align);
  return *this;
}

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
  // Pages of a document are alike: room for as many texts as the last one.
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
}

void PageComposer::FinishPage() {
  if (page_footer_band_) Put(std::move(page_footer_band_->items()), 0, body_bottom_);
  last_page_texts_ = page_->texts.size();
  Page finished = std::move(*page_);
  page_.reset();
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

void PageComposer::Add(Band band, double keep_with) {
  EnsurePageFor(band.height() + keep_with);
  Put(std::move(band.items()), 0, cursor_);
  cursor_ += band.height();
  page_has_body_ = true;
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

}  // namespace traveno::reports
