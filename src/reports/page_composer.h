// The banded layout of a document: bands (horizontal strips of texts, lines,
// boxes and pictures) are placed one under the other; a band that does not
// fit in what is left of the page starts a new page, under the page header
// that every page repeats and above its page footer. Each page is handed to
// a page sink as soon as it is complete, so a reader (the print preview) can
// show the first page while the rest are still being laid out.
//
// A document is laid out in three kinds of steps:
//   composer.SetPageHeader([&](int page) { return HeaderBand(page); });
//   for (...) composer.Add(DetailBand(row));   // flows down the pages
//   composer.BreakPage();                       // the next band on a new page
// and documents made of cells (pay slips, identity cards) place bands at
// positions of their own with Place.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "reports/document.h"

namespace traveno::reports {

// Receives the pages of a document in order, each as soon as it is complete.
class PageSink {
 public:
  virtual ~PageSink() = default;
  virtual void AddPage(Page page) = 0;
  // True once the receiver wants no more pages (the preview was closed); the
  // composer then stops handing pages over, and the documents stop early.
  virtual bool Cancelled() const { return false; }
};

// Collects every page into a document.
class DocumentSink final : public PageSink {
 public:
  explicit DocumentSink(Document& document) : document_(document) {}
  void AddPage(Page page) override { document_.pages.push_back(std::move(page)); }

 private:
  Document& document_;
};

// A horizontal strip: x is measured from the page's left edge, y from the
// band's own top. Its height is what it takes on the page when it flows.
class Band {
 public:
  explicit Band(double height = 0) : height_(height) {}

  double height() const { return height_; }
  void set_height(double height) { height_ = height; }

  Band& Text(const Rect& box, std::string text, const Font& font, Align align = Align::kLeft) {
    items_.texts.emplace_back(box, std::move(text), font, align);
    return *this;
  }
  Band& Line(double x1, double y1, double x2, double y2, double width = 0.2);
  Band& Box(const Rect& box, double line_width = 0.2, int fill = -1);
  Band& Picture(const Rect& box, std::shared_ptr<const std::vector<unsigned char>> bytes);
  // Puts another band's items under this band's height, which grows by the
  // other band's height.
  Band& Append(Band other);

  // Everything in the band, positioned from its top.
  const Page& items() const { return items_; }
  Page& items() { return items_; }

 private:
  double height_;
  Page items_;
};

class PageComposer {
 public:
  // A band that depends on the page's number (1 for the first page).
  using PageBand = std::function<Band(int page_number)>;

  PageComposer(const PageSetup& setup, PageSink& sink);
  PageComposer(const PageComposer&) = delete;
  PageComposer& operator=(const PageComposer&) = delete;

  const PageSetup& setup() const { return setup_; }

  // The band at the top of every page, under the top margin; the band at the
  // bottom of every page, above the bottom margin. Set them before the first
  // band; a page already started keeps the ones it started with. They are
  // also called when the composer is finished, after a report's lay_out has
  // returned (a document that placed nothing still gets its page): they must
  // hold what they use, not refer to lay_out's own locals.
  void SetPageHeader(PageBand header) { header_ = std::move(header); }
  void SetPageFooter(PageBand footer) { footer_ = std::move(footer); }

  // Places the band under the previous one. When the band, together with
  // `keep_with` millimetres of what must follow it on the same page (a group
  // header with its first line), does not fit in what is left of the page,
  // the page is finished and the band goes under the next page's header. A
  // band taller than a whole page is placed anyway and runs over the bottom.
  void Add(Band band, double keep_with = 0);

  // Places a band that closes what comes before it (a subtotal, a total, a
  // signature block): it keeps with the band before it. When it does not
  // fit, the band before it goes to the next page with it, and so on back
  // while that band closes what is before it too or is a header kept with
  // what follows, so that a page never begins with a closing band under
  // nothing but its page header. When those bands are all the page holds, or
  // would not fit on a page together, the closing band goes alone.
  void AddClosing(Band band);

  // The next band starts a new page. A page that holds nothing but its
  // header is never left empty: breaking it does nothing.
  void BreakPage();

  // Whether a band of `height` mm fits under the last band of the current
  // page (on a page not started yet: under a new page's header).
  bool Fits(double height) const;

  // Places a band with its top-left corner at (x, y) of the current page,
  // starting a page when none is open or a break is pending; the flow of
  // Add is not moved. Documents laid out in cells use it.
  void Place(Band band, double x, double y);

  // Finishes the last page and hands it over. A document where nothing was
  // placed still gets one page, with its header and footer.
  void Finish();

  // The number of the current page (0 before the first page is started).
  int page_number() const { return page_number_; }
  // Where the next band would go on the current page, and the lowest y a
  // band may reach above the page footer.
  double cursor() const { return cursor_; }
  double body_bottom() const { return body_bottom_; }
  // The pages handed over so far.
  int finished_pages() const { return finished_pages_; }
  bool cancelled() const { return sink_.Cancelled(); }

 private:
  // A band that flowed onto the current page: where its items begin in the
  // page's lists, where it stands and how it holds to its neighbours.
  struct Flowed {
    std::size_t texts, lines, boxes, pictures;
    double top;
    double height;
    bool closing;    // keeps with the band before it
    bool keep_next;  // keeps with the band after it
  };

  void StartPage();
  void FinishPage();
  void AddBand(Band band, double keep_with, bool closing);
  // Moves the flowed bands from `first` on, to a new page (which the caller
  // has not started yet); false when they must stay.
  bool CarryOver(std::size_t first, double with_height);
  // Starts the page a band must go on (a new one after a pending break).
  void EnsurePageFor(double height);
  void Put(Page&& items, double dx, double dy);

  PageSetup setup_;
  PageSink& sink_;
  PageBand header_;
  PageBand footer_;
  std::optional<Page> page_;
  std::optional<Band> page_footer_band_;
  int page_number_ = 0;
  int finished_pages_ = 0;
  // How many texts the last finished page held.
  std::size_t last_page_texts_ = 0;
  std::vector<Flowed> flowed_;
  double cursor_ = 0;
  double body_top_ = 0;
  double body_bottom_ = 0;
  bool page_has_body_ = false;
  bool break_pending_ = false;
};

// A document not laid out yet: its data are read from the store when it is
// made, and laying it out reads nothing else, so it may run on any thread
// and as often as wanted (each run gives the same pages).
struct Report {
  std::string title;
  PageSetup setup;
  // Adds the document's bands to the composer; the composer is finished by
  // the caller. Stops early when the composer is cancelled.
  std::function<void(PageComposer&)> lay_out;
};

// Lays the report out into the sink, page by page, and finishes it.
void LayOut(const Report& report, PageSink& sink);
// Every page of the report.
Document Prepare(const Report& report);
// The number of pages of the report, laid out without keeping them.
int PageCount(const Report& report);

}  // namespace traveno::reports
