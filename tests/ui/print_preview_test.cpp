// The print preview: preparation while the window is open, navigation and
// its keys, zoom, the print command with its questions, and the "PDF"
// printer writing a file that reads back with Romanian letters.
#include "ui/print_preview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"

namespace traveno::ui {
namespace {

using traveno::testing::ScriptedPrompter;

// A report of `pages` pages, each with its number in a text.
reports::Report NumberedReport(int pages,
                               reports::Orientation orientation = reports::Orientation::kPortrait) {
  reports::Report report;
  report.title = "Proba";
  report.setup = reports::PageSetup::A4(orientation);
  report.lay_out = [pages](reports::PageComposer& composer) {
    for (int page = 1; page <= pages; ++page) {
      if (page > 1) composer.BreakPage();
      reports::Band band(10);
      band.Text({20, 0, 100, 8}, "Pagina numarul " + std::to_string(page), reports::Font{12});
      composer.Add(std::move(band));
    }
  };
  return report;
}

struct Job {
  QString printer;
  reports::PageRange range;
};

class PrintPreviewTest : public ::testing::Test {
 protected:
  std::unique_ptr<PrintPreview> Open(const reports::Report& report, bool wait = true) {
    PreviewOptions options;
    options.printers = [] { return PrinterList{{"Birou", "PDF"}, 0}; };
    options.print_job = [this](const QString& printer, const reports::Document&,
                               const reports::PageRange& range) {
      jobs_.push_back({printer, range});
      return true;
    };
    options.choose_pdf_file = [this](const QString&) { return pdf_file_; };
    auto preview = std::make_unique<PrintPreview>(prompter_, options);
    preview->SetReport(report);
    preview->show();
    if (wait) WaitForPages(*preview);
    return preview;
  }
  static void WaitForPages(PrintPreview& preview) {
    for (int i = 0; i < 500 && preview.preparing(); ++i) QTest::qWait(10);
    ASSERT_FALSE(preview.preparing());
  }

  ScriptedPrompter prompter_;
  std::vector<Job> jobs_;
  std::optional<QString> pdf_file_;
};

TEST_F(PrintPreviewTest, TheFirstPageShowsBeforeTheLastIsPrepared) {
  std::mutex mutex;
  std::condition_variable condition;
  bool released = false;
  reports::Report report = NumberedReport(3);
  report.lay_out = [&](reports::PageComposer& composer) {
    composer.Add(reports::Band(10));
    composer.BreakPage();
    composer.Add(reports::Band(10));  // page 1 is handed over here
    std::unique_lock<std::mutex> lock(mutex);
    condition.wait(lock, [&] { return released; });
    composer.BreakPage();
    composer.Add(reports::Band(10));
  };
  auto preview = Open(report, false);
  for (int i = 0; i < 300 && preview->page_count() < 1; ++i) QTest::qWait(10);
  EXPECT_TRUE(preview->preparing());
  EXPECT_EQ(preview->page_count(), 1);
  EXPECT_EQ(preview->page_box()->text(), "1-1");
  EXPECT_EQ(preview->page_label()->text(), "Pag. 1 / 1");
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  {
    std::lock_guard<std::mutex> lock(mutex);
    released = true;
  }
  condition.notify_all();
  WaitForPages(*preview);
  EXPECT_EQ(preview->page_count(), 3);
  EXPECT_EQ(preview->page_box()->text(), "1-3");
  EXPECT_EQ(preview->page_label()->text(), "Pag. 1 / 3");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(preview->windowTitle().left(13), "Preview:Proba");
  EXPECT_EQ(preview->title_line()->text(), "Proba");
}

TEST_F(PrintPreviewTest, ClosingWhilePreparingAsksAndKeepsTheWindowOpen) {
  std::atomic<bool> stop{false};
  reports::Report report = NumberedReport(1);
  report.lay_out = [&stop](reports::PageComposer& composer) {
    while (!composer.cancelled() && !stop) {
      composer.Add(reports::Band(100));
      QThread::msleep(1);
    }
  };
  auto preview = Open(report, false);
  prompter_.yes_no = {false};
  preview->Leave();
  EXPECT_EQ(prompter_.questions, std::vector<std::string>{kStopPreparationQuestion});
  EXPECT_TRUE(preview->isVisible());
  EXPECT_TRUE(preview->preparing());
  prompter_.yes_no = {true};
  preview->close();
  EXPECT_TRUE(preview->isVisible());
  WaitForPages(*preview);  // the preparation stops when cancelled
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  preview->Leave();
  EXPECT_FALSE(preview->isVisible());
  EXPECT_EQ(preview->result(), QDialog::Accepted);
  EXPECT_EQ(preview->page_count(), 0) << "the pages are released";
  stop = true;
}

TEST_F(PrintPreviewTest, NavigationRewritesThePageBoxLabelAndButtons) {
  auto preview = Open(NumberedReport(4));
  EXPECT_FALSE(preview->first_button()->isEnabled());
  EXPECT_FALSE(preview->previous_button()->isEnabled());
  EXPECT_TRUE(preview->next_button()->isEnabled());
  preview->page_box()->setText("2,3");
  QTest::keyClick(preview->page_box(), Qt::Key_F11);
  EXPECT_EQ(preview->page_box()->text(), "2,3") << "a zoom is no page change";
  QTest::keyClick(preview->page_box(), Qt::Key_PageDown);
  EXPECT_EQ(preview->shown_page(), 2);
  EXPECT_EQ(preview->page_box()->text(), "1-4") << "a typed selection is replaced";
  EXPECT_EQ(preview->page_label()->text(), "Pag. 2 / 4");
  EXPECT_TRUE(preview->first_button()->isEnabled());
  QTest::keyClick(preview->page_box(), Qt::Key_End);
  EXPECT_EQ(preview->shown_page(), 4);
  EXPECT_FALSE(preview->next_button()->isEnabled());
  EXPECT_FALSE(preview->last_button()->isEnabled());
  QTest::keyClick(preview->page_box(), Qt::Key_PageDown);
  EXPECT_EQ(preview->shown_page(), 4) << "no further than the last";
  QTest::keyClick(preview->page_box(), Qt::Key_PageUp);
  EXPECT_EQ(preview->shown_page(), 3);
  QTest::keyClick(preview->page_box(), Qt::Key_Home);
  EXPECT_EQ(preview->shown_page(), 1);
  QTest::keyClick(preview->page_box(), Qt::Key_PageUp);
  EXPECT_EQ(preview->shown_page(), 1) << "no lower than 1";
}

TEST_F(PrintPreviewTest, GoToPageTakesOnlyAPageOfTheReport) {
  auto preview = Open(NumberedReport(4));
  struct Case {
    std::optional<std::string> answer;
    int page;
  };
  const Case kCases[] = {{"3", 3}, {"x", 3}, {"0", 3}, {"5", 3}, {std::nullopt, 3}, {" 2 ", 2}};
  for (const Case& c : kCases) {
    prompter_.texts = {c.answer};
    QTest::keyClick(preview->page_box(), Qt::Key_F7);
    EXPECT_EQ(preview->shown_page(), c.page) << c.answer.value_or("(Cancel)");
  }
  EXPECT_EQ(prompter_.questions.front(), kPageNumberPrompt);
}

TEST_F(PrintPreviewTest, ZoomStepsStayWithinBoundsAndFitsShowFixedTexts) {
  auto preview = Open(NumberedReport(1));
  QTest::keyClick(preview->page_box(), Qt::Key_F11);
  EXPECT_EQ(preview->zoom(), 100);
  EXPECT_EQ(preview->zoom_display()->text(), "100");
  QTest::mouseClick(preview->zoom_in_button(), Qt::LeftButton);
  EXPECT_EQ(preview->zoom(), 110);
  QTest::mouseClick(preview->zoom_in_button(), Qt::RightButton);
  EXPECT_EQ(preview->zoom(), 111);
  EXPECT_EQ(preview->zoom_display()->text(), "111");
  QTest::mouseClick(preview->zoom_out_button(), Qt::RightButton);
  QTest::keyClick(preview->page_box(), Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_EQ(preview->zoom(), 100);
  for (int i = 0; i < 120; ++i) preview->ZoomIn(false);
  EXPECT_EQ(preview->zoom(), 999);
  EXPECT_FALSE(preview->zoom_in_button()->isEnabled());
  for (int i = 0; i < 120; ++i) preview->ZoomOut(false);
  EXPECT_EQ(preview->zoom(), 1);
  EXPECT_FALSE(preview->zoom_out_button()->isEnabled());
  QTest::keyClick(preview->page_box(), Qt::Key_F10);
  EXPECT_EQ(preview->zoom_display()->text(), "55");
  QTest::keyClick(preview->page_box(), Qt::Key_F12);
  EXPECT_EQ(preview->zoom_display()->text(), "115");
  auto landscape = Open(NumberedReport(1, reports::Orientation::kLandscape));
  landscape->ZoomToFit();
  EXPECT_EQ(landscape->zoom_display()->text(), "78");
  landscape->ZoomToWidth();
  EXPECT_EQ(landscape->zoom_display()->text(), "82");
}

TEST_F(PrintPreviewTest, PrintsEachRangeAsAJobOfItsOwnAfterAsking) {
  auto preview = Open(NumberedReport(6));
  preview->page_box()->setText("1-3,5");
  prompter_.yes_no = {true};
  QTest::keyClick(preview->page_box(), Qt::Key_Return);
  EXPECT_EQ(prompter_.questions.back(), "Tiparesc paginile 1-3 5 ?");
  ASSERT_EQ(jobs_.size(), 2u);
  EXPECT_EQ(jobs_[0].printer, "Birou");
  EXPECT_EQ(jobs_[0].range, (reports::PageRange{1, 3}));
  EXPECT_EQ(jobs_[1].range, (reports::PageRange{5, 5}));

  jobs_.clear();
  preview->page_box()->setText("1-6");
  prompter_.yes_no = {false};
  preview->PrintSelectedPages();
  EXPECT_EQ(prompter_.questions.back(), "Tiparesc tot raportul ? ( 6 pagini )");
  EXPECT_TRUE(jobs_.empty()) << "No prints nothing";
}

TEST_F(PrintPreviewTest, AnEmptyOrUnreadableSelectionPrintsNothing) {
  auto preview = Open(NumberedReport(6));
  preview->page_box()->clear();
  preview->PrintSelectedPages();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, reports::kNoPagesChosen);
  preview->page_box()->setText("0,7,3-2,0-3,-3");
  preview->PrintSelectedPages();
  EXPECT_EQ(prompter_.messages.back().text, "Nu pot interpreta: 0 7 3-2 0-3 -3  .");
  EXPECT_TRUE(prompter_.questions.empty());
  // Corrected to one page, only that page is asked about.
  preview->page_box()->setText("2");
  prompter_.yes_no = {true};
  preview->PrintSelectedPages();
  EXPECT_EQ(prompter_.questions.back(), "Tiparesc pagina 2 ?");
  ASSERT_EQ(jobs_.size(), 1u);
  EXPECT_EQ(jobs_[0].range, (reports::PageRange{2, 2}));
}

TEST_F(PrintPreviewTest, ThePdfPrinterWritesTheChosenPagesWithRomanianLetters) {
  traveno::testing::TempFolder folder;
  reports::Report report = NumberedReport(3);
  report.lay_out = [](reports::PageComposer& composer) {
    for (const char* text : {"ȘTEFĂNESCU Țăndărică", "Îndrumător Âmbâre", "pagina trei"}) {
      if (composer.page_number() > 0) composer.BreakPage();
      reports::Band band(10);
      band.Text({20, 0, 150, 8}, text, reports::Font{12});
      composer.Add(std::move(band));
    }
  };
  auto preview = Open(report);
  preview->printer_box()->setCurrentIndex(1);
  ASSERT_EQ(preview->printer_box()->currentText(), kPdfPrinterName);
  pdf_file_ = QString::fromStdString((folder.path() / "proba").string());
  preview->page_box()->setText("1-2");
  prompter_.yes_no = {true};
  preview->PrintSelectedPages();
  EXPECT_TRUE(jobs_.empty());
  const std::string file = (folder.path() / "proba.pdf").string();
  FILE* pipe = popen(("pdftotext '" + file + "' - 2>/dev/null").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string text;
  char buffer[1024];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  if (pclose(pipe) != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  EXPECT_NE(text.find("ȘTEFĂNESCU Țăndărică"), std::string::npos) << text;
  EXPECT_NE(text.find("Îndrumător Âmbâre"), std::string::npos) << text;
  EXPECT_EQ(text.find("pagina trei"), std::string::npos) << "page 3 was not chosen";
}

}  // namespace
}  // namespace traveno::ui
