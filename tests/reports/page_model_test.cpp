// The document model: bands flowing down pages, page breaks, groups and the
// plain-text view of a page.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "reports/document_text.h"
#include "reports/grouping.h"
#include "reports/page_composer.h"

namespace traveno::reports {
namespace {

// A page of 100 mm with margins of 10 mm: 80 mm of body, 10 of them taken by
// the page header.
PageSetup SmallPage() {
  PageSetup setup;
  setup.width = 100;
  setup.height = 100;
  setup.margin_left = setup.margin_right = setup.margin_top = setup.margin_bottom = 10;
  return setup;
}

Band TextBand(double height, const std::string& text) {
  Band band(height);
  band.Text({10, 0, 50, height}, text, Font{});
  return band;
}

std::vector<std::string> Texts(const Page& page) {
  std::vector<std::string> texts;
  for (const TextItem& t : page.texts) texts.push_back(t.text);
  return texts;
}

Report SmallReport(std::function<void(PageComposer&)> lay_out) {
  Report report{"Proba", SmallPage(), std::move(lay_out)};
  return report;
}

void WithHeader(PageComposer& composer) {
  composer.SetPageHeader([](int page) { return TextBand(10, "Pagina " + std::to_string(page)); });
}

TEST(PageComposerTest, BandsFlowDownAndStartANewPageUnderTheHeaderWhenFull) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    for (int i = 1; i <= 8; ++i) c.Add(TextBand(20, "rand " + std::to_string(i)));
  }));
  // 70 mm under the header take three bands of 20 mm per page.
  ASSERT_EQ(document.pages.size(), 3u);
  EXPECT_EQ(Texts(document.pages[0]),
            (std::vector<std::string>{"Pagina 1", "rand 1", "rand 2", "rand 3"}));
  EXPECT_EQ(Texts(document.pages[2]), (std::vector<std::string>{"Pagina 3", "rand 7", "rand 8"}));
  // Each page's first band sits right under its header.
  EXPECT_DOUBLE_EQ(document.pages[1].texts[1].box.y, 20);
  EXPECT_DOUBLE_EQ(document.pages[1].texts[3].box.y, 60);
}

TEST(PageComposerTest, ABandThatFillsThePageExactlyStaysOnIt) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    for (int i = 0; i < 7; ++i) c.Add(TextBand(10, "x"));
  }));
  EXPECT_EQ(document.pages.size(), 1u);
}

TEST(PageComposerTest, BreaksNeverLeaveAnEmptyPage) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    c.BreakPage();  // nothing on the page yet: no break
    c.Add(TextBand(10, "a"));
    c.BreakPage();
    c.BreakPage();  // twice is one break
    c.Add(TextBand(10, "b"));
    c.BreakPage();  // nothing follows: no trailing page
  }));
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_EQ(Texts(document.pages[1]), (std::vector<std::string>{"Pagina 2", "b"}));
}

TEST(PageComposerTest, KeepWithMovesAGroupHeaderToTheNextPageWithItsFirstLine) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    c.Add(TextBand(50, "sus"));
    c.Add(TextBand(10, "antet grup"), 20);  // 10 + 20 do not fit in the 20 left
    c.Add(TextBand(20, "primul rand"));
  }));
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_EQ(Texts(document.pages[1]),
            (std::vector<std::string>{"Pagina 2", "antet grup", "primul rand"}));
}

TEST(PageComposerTest, AClosingBandTakesTheBandItClosesToTheNextPage) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    c.Add(TextBand(30, "rand 1"));
    c.Add(TextBand(30, "rand 2"));
    c.AddClosing(TextBand(15, "subtotal"));  // 15 do not fit in the 10 left
  }));
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_EQ(Texts(document.pages[0]), (std::vector<std::string>{"Pagina 1", "rand 1"}));
  EXPECT_EQ(Texts(document.pages[1]), (std::vector<std::string>{"Pagina 2", "rand 2", "subtotal"}));
  // Moved under the new page's header, the subtotal right under its line.
  EXPECT_DOUBLE_EQ(document.pages[1].texts[1].box.y, 20);
  EXPECT_DOUBLE_EQ(document.pages[1].texts[2].box.y, 50);
}

TEST(PageComposerTest, ClosingBandsKeepWithTheirLastLineAndAHeaderKeptWithIt) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    c.Add(TextBand(30, "rand 1"));
    c.Add(TextBand(10, "antet grup"), 10);
    c.Add(TextBand(10, "rand 2"));
    c.AddClosing(TextBand(10, "subtotal grup"));
    c.AddClosing(TextBand(15, "total"));  // 15 do not fit in the 10 left
  }));
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_EQ(Texts(document.pages[0]), (std::vector<std::string>{"Pagina 1", "rand 1"}));
  EXPECT_EQ(Texts(document.pages[1]), (std::vector<std::string>{"Pagina 2", "antet grup", "rand 2",
                                                                "subtotal grup", "total"}));
}

TEST(PageComposerTest, AClosingBandGoesAloneWhenItsBandsAreTheWholePage) {
  // What it closes fills the page: nothing is moved, so no page is left
  // with nothing but its header.
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    c.Add(TextBand(65, "rand lung"));
    c.AddClosing(TextBand(10, "total"));
  }));
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_EQ(Texts(document.pages[0]), (std::vector<std::string>{"Pagina 1", "rand lung"}));
  EXPECT_EQ(Texts(document.pages[1]), (std::vector<std::string>{"Pagina 2", "total"}));
}

TEST(PageComposerTest, AClosingBandThatFitsStaysUnderWhatItCloses) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    c.Add(TextBand(30, "rand 1"));
    c.Add(TextBand(30, "rand 2"));
    c.AddClosing(TextBand(10, "subtotal"));  // exactly the 10 left
  }));
  ASSERT_EQ(document.pages.size(), 1u);
}

TEST(PageComposerTest, AnEmptyDocumentHasOnePageWithHeaderAndFooter) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    c.SetPageFooter([](int page) { return TextBand(5, "subsol " + std::to_string(page)); });
  }));
  ASSERT_EQ(document.pages.size(), 1u);
  EXPECT_EQ(Texts(document.pages[0]), (std::vector<std::string>{"Pagina 1", "subsol 1"}));
  // The footer sits on the bottom margin.
  EXPECT_DOUBLE_EQ(document.pages[0].texts[1].box.y, 85);
}

TEST(PageComposerTest, TheFooterShortensTheBody) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    WithHeader(c);
    c.SetPageFooter([](int) { return TextBand(10, "subsol"); });
    for (int i = 0; i < 7; ++i) c.Add(TextBand(10, "x"));
  }));
  // 60 mm between header and footer: six bands, the seventh on page 2.
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_EQ(document.pages[1].texts.size(), 3u);
}

TEST(PageComposerTest, PlacedCellsFollowPendingBreaks) {
  const Document document = Prepare(SmallReport([](PageComposer& c) {
    c.Place(TextBand(10, "stanga"), 0, 20);
    c.Place(TextBand(10, "dreapta"), 40, 20);
    c.BreakPage();
    c.Place(TextBand(10, "urmatoarea"), 0, 20);
  }));
  ASSERT_EQ(document.pages.size(), 2u);
  EXPECT_DOUBLE_EQ(document.pages[0].texts[1].box.x, 50);
  EXPECT_DOUBLE_EQ(document.pages[0].texts[1].box.y, 20);
  EXPECT_EQ(Texts(document.pages[1]), (std::vector<std::string>{"urmatoarea"}));
}

class StopAfter final : public PageSink {
 public:
  explicit StopAfter(int pages) : pages_(pages) {}
  void AddPage(Page) override { ++received_; }
  bool Cancelled() const override { return received_ >= pages_; }
  int received() const { return received_; }

 private:
  int pages_;
  int received_ = 0;
};

TEST(PageComposerTest, ACancelledSinkGetsNoMorePages) {
  StopAfter sink(2);
  int bands = 0;
  LayOut(SmallReport([&](PageComposer& c) {
           for (int i = 0; i < 100 && !c.cancelled(); ++i, ++bands) c.Add(TextBand(40, "x"));
         }),
         sink);
  EXPECT_EQ(sink.received(), 2);
  EXPECT_LT(bands, 10);
}

TEST(WalkGroupsTest, FootersCloseInnermostFirstAndHeadersOpenOutermostFirst) {
  struct Row {
    std::string dep, tip;
    int value;
  };
  const std::vector<Row> rows = {
      {"A", "1", 1}, {"A", "1", 2}, {"A", "2", 3}, {"B", "2", 4}, {"B", "2", 5}};
  std::vector<std::string> events;
  ColumnSums by_kind(1), by_department(1);
  WalkGroups(
      rows, 2,
      [](const Row& r) {
        return std::vector<std::string>{r.dep, r.tip};
      },
      [&](std::size_t level, const Row& first) {
        events.push_back("H" + std::to_string(level) + (level == 0 ? first.dep : first.tip));
      },
      [&](const Row& r) {
        by_kind.Add(0, r.value);
        by_department.Add(0, r.value);
      },
      [&](std::size_t level, const Row& last) {
        ColumnSums& sums = level == 0 ? by_department : by_kind;
        events.push_back("F" + std::to_string(level) + (level == 0 ? last.dep : last.tip) + "=" +
                         std::to_string(static_cast<int>(sums[0])));
        sums.Clear();
      },
      [] { return false; });
  EXPECT_EQ(events, (std::vector<std::string>{"H0A", "H11", "F11=3", "H12", "F12=3", "F0A=6", "H0B",
                                              "H12", "F12=9", "F0B=9"}));
}

TEST(WalkGroupsTest, NoRowsGiveNoHeadersOrFooters) {
  int events = 0;
  WalkGroups(
      std::vector<int>{}, 1, [](int) { return std::vector<std::string>{""}; },
      [&](std::size_t, int) { ++events; }, [&](int) { ++events; },
      [&](std::size_t, int) { ++events; }, [] { return false; });
  EXPECT_EQ(events, 0);
}

TEST(PageLinesTest, TextsOfOneHeightFormOneLineInColumnOrder) {
  Page page;
  const Font font;
  page.AddText({40, 10.2, 20, 4}, "1 250 ", font, Align::kRight);  // ends at column 30
  page.AddText({0, 10, 20, 4}, " Nume", font);
  page.AddText({0, 20, 20, 4}, "a doua linie", font);
  page.AddText({4, 20, 20, 4}, "peste", font);  // would overlap: moved after a blank
  page.AddText({0, 30, 20, 4}, "   ", font);    // blank texts are left out
  EXPECT_EQ(PageLines(page),
            (std::vector<std::string>{" Nume                   1 250", "a doua linie peste"}));
}

TEST(PageLinesTest, ManyLinesComeTopToBottomAndTextsOfOneColumnAsTheyCame) {
  // More distinct heights than a page usually holds, added in no order;
  // each line's second text, at the same height and column, comes after
  // its first, as it was added after it.
  Page page;
  const Font font;
  constexpr int kLines = 300;
  std::vector<int> lines(kLines);
  std::iota(lines.begin(), lines.end(), 0);
  std::shuffle(lines.begin(), lines.end(), std::mt19937(7));
  for (const int n : lines) page.AddText({0, n * 5.0, 20, 4}, "L" + std::to_string(n), font);
  for (const int n : lines) page.AddText({0, n * 5.0 + 1, 20, 2}, "doi", font);
  std::vector<std::string> expected;
  for (int n = 0; n < kLines; ++n) expected.push_back("L" + std::to_string(n) + " doi");
  EXPECT_EQ(PageLines(page), expected);
}

TEST(PageLinesTest, DocumentTextNumbersItsPages) {
  Document document;
  document.pages.resize(2);
  document.pages[1].AddText({0, 0, 10, 4}, "Total", Font{});
  EXPECT_EQ(DocumentText(document), "--- Pagina 1 / 2 ---\n--- Pagina 2 / 2 ---\nTotal\n");
}

TEST(PageLinesTest, TextLaidOutPageByPageIsTheTextOfThePreparedDocument) {
  // Several pages under a numbered header, overlapping and blank texts, a
  // page broken early: the sink that lets each page go as it comes writes
  // what the whole prepared document gives.
  const Report report = SmallReport([](PageComposer& composer) {
    WithHeader(composer);
    for (int i = 0; i < 25; ++i) {
      Band band(6);
      band.Text({0, 0, 30, 6}, "Salariat " + std::to_string(i), Font{});
      band.Text({20, 1, 40, 4}, std::to_string(i * 1250) + " ", Font{}, Align::kRight);
      band.Text({60, 0, 20, 6}, "   ", Font{});
      composer.Add(std::move(band));
      if (i == 17) composer.BreakPage();
    }
  });
  const Document prepared = Prepare(report);
  ASSERT_GT(prepared.pages.size(), 2U);
  DocumentTextSink sink;
  LayOut(report, sink);
  std::ostringstream written;
  sink.WriteTo(written);
  EXPECT_EQ(written.str(), DocumentText(prepared));
}

}  // namespace
}  // namespace traveno::reports
