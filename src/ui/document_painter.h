// Draws the pages of a prepared document with a QPainter: on the preview's
// page view, on a printer's pages and on the pages of a PDF file. One
// painter for every output, so what the preview shows is what is printed.
//
// Texts use the DejaVu faces (which carry the Romanian letters ă â î ș ț
// and their capitals) and are kept inside their boxes: a text wider than its
// box is condensed to fit instead of running into its neighbour.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/prompter.h"
#include "reports/document.h"
#include "reports/page_selection.h"

class QPainter;
class QPaintDevice;

namespace traveno::ui {

class DocumentPainter {
 public:
  DocumentPainter() = default;

  // Draws a page with its top-left corner at the painter's origin, at
  // `pixels_per_mm` device pixels per millimetre. The painter's device
  // decides the font sizes' conversion, so any device can be given.
  void PaintPage(QPainter& painter, const reports::Page& page, double pixels_per_mm);

 private:
  struct FontEntry {
    QFont font;
    QFontMetricsF metrics;
  };
  FontEntry& FontFor(const reports::Font& font, double pixels_per_mm, QPaintDevice* device);
  const QImage& ImageFor(const reports::PictureItem& picture);

  std::map<std::string, FontEntry> fonts_;
  QPaintDevice* fonts_device_ = nullptr;
  double fonts_scale_ = 0;
  std::map<const void*, QImage> images_;
};

// Writes the pages of the ranges (in order, repeats included) as a PDF
// file, or every page when `ranges` is empty. The file is written under a
// temporary name in its folder and renamed over the final name only when
// complete. Needs a QGuiApplication. Throws Error ("Fisierul ... nu poate fi
// scris !") when the file cannot be written. With `progress`, a bar
// "Scriere PDF" advances page by page.
void WritePdf(const reports::Document& document, const std::filesystem::path& file,
              const std::vector<reports::PageRange>& ranges = {},
              ProgressReporter* progress = nullptr);

// Makes the QGuiApplication that fonts and PDF writing need when the
// program has none (the command line): one on the "offscreen" platform,
// which needs no display. Does nothing when an application exists.
void EnsureGuiApplication();

}  // namespace traveno::ui
