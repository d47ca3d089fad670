// The print preview (`QR3Prev`): every printed document is shown here before
// it is printed. The pages are prepared while the window is open (the first
// page shows before the last is ready); the user pages through them, zooms,
// chooses a printer (the system's, or the built-in "PDF" that writes a file)
// and prints the whole document or the pages typed in the page box.
//
// Keys: Home, End, Page Up, Page Down (pages), Ctrl + and Ctrl - (zoom),
// Ctrl+arrows (scroll a screen), F7 (go to a page), F10 / F11 / F12 (fit,
// 100 %, width), Enter (print), Esc (leave). The same commands are in the
// context menu.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/prompter.h"
#include "reports/document.h"
#include "reports/page_composer.h"
#include "reports/page_selection.h"
#include "ui/print_output.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QToolButton;

namespace traveno::ui {

class PagePreparation;
class PageView;
class ZoomButton;

// What the preview needs from outside; tests replace what would reach a
// printer or wait for a person.
struct PreviewOptions {
  // The printer box's entries; null: the system's printers and "PDF".
  std::function<PrinterList()> printers;
  // The file the "PDF" printer writes, given a suggested path; empty
  // cancels. Null: a save dialog.
  std::function<std::optional<QString>(const QString& suggested)> choose_pdf_file;
  // Sends one print job of pages to a system printer; false when it could
  // not start. Null: Qt's printing.
  std::function<bool(const QString& printer, const reports::Document& document,
                     const reports::PageRange& range)>
      print_job;
  // The data folder whose own files (databases, settings, error file) the
  // "PDF" printer refuses to write over; empty: none is known.
  std::filesystem::path data_folder;
};

inline constexpr const char* kDefaultReportTitle = "Titlu Raport";
inline constexpr const char* kStopPreparationQuestion =
    "Doriti sa intrerupeti pregatirea raportului ?";
inline constexpr const char* kPageNumberPrompt = "Numar de pagina:";

class PrintPreview : public QDialog {
  Q_OBJECT

 public:
  explicit PrintPreview(Prompter& prompter, PreviewOptions options = {}, QWidget* parent = nullptr);
  ~PrintPreview() override;

  // Attaches a report: sets the caption and title line, fills the printer
  // box and starts preparing the pages. The caller then shows the window.
  void SetReport(const reports::Report& report);

  // Navigation; each page change rewrites the page box ("1-" + the page
  // count), the page label and the buttons' states.
  void FirstPage();
  void PreviousPage();
  void NextPage();
  void LastPage();
  void ShowPage(int page);
  // "Salt la pagina dorita ": asks a page number; a whole number from 1 to
  // the page count shows that page, anything else changes nothing.
  void GoToPage();

  void ZoomIn(bool right_click = false);
  void ZoomOut(bool right_click = false);
  void ZoomToFit();
  void Zoom100();
  void ZoomToWidth();
  // Scrolls the page view by whole screens (-1 or 1 each way).
  void ScrollScreens(int across, int down);

  // The print command: reads the page box, asks, prints each range as a job
  // of its own (the "PDF" printer writes them into one file).
  void PrintSelectedPages();
  void PrinterSetup();
  // "&Iesire", Esc, the window's close button.
  void Leave();

  // What the window shows.
  int shown_page() const { return shown_page_; }
  int page_count() const { return static_cast<int>(document_.pages.size()); }
  int zoom() const { return zoom_; }
  bool preparing() const;
  const reports::Document& document() const { return document_; }
  QLineEdit* page_box() const { return page_box_; }
  QLabel* page_label() const { return page_label_; }
  QLabel* zoom_display() const { return zoom_display_; }
  QLabel* title_line() const { return title_; }
  QComboBox* printer_box() const { return printer_box_; }
  QToolButton* first_button() const { return first_; }
  QToolButton* previous_button() const { return previous_; }
  QToolButton* next_button() const { return next_; }
  QToolButton* last_button() const { return last_; }
  QToolButton* zoom_out_button() const;
  QToolButton* zoom_in_button() const;
  QScrollArea* page_area() const { return area_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void reject() override;

 private:
  enum class FitMode { kNone, kPage, kWidth };

  void BuildControls();
  bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
  void OnPagesArrived();
  void OnPreparationFinished(bool cancelled, const QString& error);
  // After a page change: the page box, the page label, the buttons and the view.
  void RefreshPageControls();
  void RefreshView();
  void SetZoom(int zoom, FitMode mode, const QString& display);
  void ApplyFit();
  int FitZoom(FitMode mode) const;
  void ChoosePrinter(int index);
  bool RequestClose();
  void PrintToPdf(const std::vector<reports::PageRange>& ranges);
  void PrintToPrinter(const std::vector<reports::PageRange>& ranges);

  Prompter& prompter_;
  PreviewOptions options_;
  reports::Document document_;
  std::unique_ptr<PagePreparation> preparation_;
  bool prepared_ = false;
  bool wait_cursor_ = false;
  // Set once the user pages or zooms: preparation then stops bringing the
  // view back to page 1 fitted.
  bool user_moved_ = false;
  int shown_page_ = 1;
  int zoom_ = 100;
  FitMode fit_mode_ = FitMode::kNone;
  std::unique_ptr<QPrinter> printer_;
  QString pdf_file_;

  QLabel* title_;
  QLineEdit* page_box_;
  QToolButton* print_;
  QComboBox* printer_box_;
  QToolButton* first_;
  QToolButton* previous_;
  QLabel* page_label_;
  QToolButton* next_;
  QToolButton* last_;
  ZoomButton* zoom_out_;
  QLabel* zoom_display_;
  ZoomButton* zoom_in_;
  QToolButton* fit_;
  QToolButton* hundred_;
  QToolButton* width_;
  QToolButton* setup_;
  QScrollArea* area_;
  PageView* view_;
};

// Shows a report in the preview, modally, maximised, and returns when the
// user leaves it.
void ShowPreview(const reports::Report& report, Prompter& prompter, QWidget* parent,
                 PreviewOptions options = {});

}  // namespace traveno::ui
