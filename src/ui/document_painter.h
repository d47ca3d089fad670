// Draws the pages of a prepared document with a QPainter: on the preview's
// page view, on a printer's pages and on the pages of a PDF file. One
// painter for every output, so what the preview shows is what is printed.
//
// Texts use the DejaVu faces (which carry the Romanian letters ă â î ș ț
// and their capitals) and are kept inside their boxes: a text wider than its
// box is condensed to fit instead of running into its neighbour.
//
// A text is drawn as a run of glyphs placed by the face's own advances,
// without kerning or ligatures (so it is exactly as wide as the documents
// reckon when they size their columns): each character's glyph and advance
// are looked up once per font, and no text is shaped. A text with a
// character the face lacks is shaped and drawn with the system's font
// fallback instead.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRawFont>
#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
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

  // The width of a text drawn in `font` at `pixels_per_mm` on `device`, in
  // device pixels, as PaintPage draws it (before any condensing).
  double TextWidth(const reports::Font& font, std::string_view text, double pixels_per_mm,
                   QPaintDevice* device);

 private:
  // A character's glyph in a face and its advance in device pixels; index 0
  // is a character the face lacks.
  struct Glyph {
    quint32 index = 0;
    double advance = -1;  // below 0: not looked up yet
  };
  struct FontEntry {
    reports::Font key;
    QFont font;
    QFontMetricsF metrics;
    QRawFont raw;
    quint32 blank = 0;  // the glyph of " ", which has no ink
    // The characters below U+0250 (Latin with its extensions), by code.
    std::array<Glyph, 0x250> latin;
    std::unordered_map<char32_t, Glyph> others;
  };
  // A text as glyphs: indexes, positions along the baseline, its width.
  // Empty indexes when a character is missing from the face.
  struct Run {
    QList<quint32> indexes;
    QList<QPointF> positions;
    double width = 0;
  };
  // The glyphs of one font on one baseline of a page, drawn as one run: a
  // printed document's content is mostly its texts' glyphs, and a run of
  // its own per text would repeat the font's setting for every one.
  struct Line {
    const FontEntry* entry;
    double baseline;
    QList<quint32> indexes;
    QList<QPointF> positions;
  };
  FontEntry& FontFor(const reports::Font& font, double pixels_per_mm, QPaintDevice* device);
  const Glyph& GlyphOf(FontEntry& entry, char32_t code);
  bool RunOf(FontEntry& entry, std::string_view text, Run& run);
  const QImage& ImageFor(const reports::PictureItem& picture);

  std::vector<std::unique_ptr<FontEntry>> fonts_;
  FontEntry* last_font_ = nullptr;
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

// The arguments of an application on the "offscreen" platform, for the
// command line's drawing, kept for the whole process as Qt requires; Qt's
// notice about a missing desktop session is silenced from then on. For a
// caller that needs an application of its own kind (the charts' widgets).
struct OffscreenArguments {
  int& argc;
  char** argv;
};
OffscreenArguments PrepareOffscreenApplication();

}  // namespace traveno::ui
