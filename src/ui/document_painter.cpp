#include "ui/document_painter.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "core/errors.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace traveno::ui {
namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
// The resolution of written PDF pages: fine enough for exact placement of
// small figures, and texts stay vector outlines whatever it is.
constexpr int kPdfResolution = 1200;

QString FamilyOf(reports::FontFamily family) {
  switch (family) {
    case reports::FontFamily::kSerif:
      return QStringLiteral("DejaVu Serif");
    case reports::FontFamily::kMono:
      return QStringLiteral("DejaVu Sans Mono");
    case reports::FontFamily::kSans:
      break;
  }
  return QStringLiteral("DejaVu Sans");
}

QFont::StyleHint HintOf(reports::FontFamily family) {
  switch (family) {
    case reports::FontFamily::kSerif:
      return QFont::Serif;
    case reports::FontFamily::kMono:
      return QFont::Monospace;
    case reports::FontFamily::kSans:
      break;
  }
  return QFont::SansSerif;
}

QRectF ToDevice(const reports::Rect& r, double scale) {
  return QRectF(r.x * scale, r.y * scale, r.width * scale, r.height * scale);
}

// A command line without a desktop session has no XDG_RUNTIME_DIR, and Qt
// says so on standard error at every PDF written; that notice is noise in a
// script's output. Every other message goes on as Qt would print it.
QtMessageHandler qt_default_handler = nullptr;

void QuietWithoutDesktopSession(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
  if (qt_default_handler != nullptr) qt_default_handler(type, context, message);
}

// Qt's PDF engine compresses every page through buffers of several
// megabytes that it takes and frees again page after page. Under the
// allocator's own limits they went to the top of the heap and the heap was
// given back to the system after every page, so every page paid its page
// faults anew (a third of a statement's PDF time). The limits are raised
// once to what the allocator would reach by itself on larger blocks (blocks
// up to 32 MB from the heap, its free top given back beyond 64 MB), so the
// room stays while pages are written.
void KeepRoomForPdfPages() {
#if defined(__GLIBC__)
  static const bool kept = [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    return true;
  }();
  (void)kept;
#endif
}

}  // namespace

DocumentPainter::FontEntry& DocumentPainter::FontFor(const reports::Font& font,
                                                     double pixels_per_mm, QPaintDevice* device) {
  if (device != fonts_device_ || pixels_per_mm != fonts_scale_) {
    // Sizes depend on the device's resolution and the scale: start afresh.
    fonts_.clear();
    last_font_ = nullptr;
    fonts_device_ = device;
    fonts_scale_ = pixels_per_mm;
  }
  // Texts come in runs of one font: the last one first.
  if (last_font_ != nullptr && last_font_->key == font) return *last_font_;
  for (const std::unique_ptr<FontEntry>& entry : fonts_) {
    if (entry->key == font) return *(last_font_ = entry.get());
  }
  QFont qfont(FamilyOf(font.family));
  qfont.setStyleHint(HintOf(font.family));
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  qfont.setKerning(false);
  // The size in the device's own points: the text's height in device
  // pixels converted back through the device's resolution.
  const double pixels = font.size / kPointsPerMm * pixels_per_mm;
  const int dpi = device != nullptr && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
  qfont.setPointSizeF(std::max(0.5, pixels * 72.0 / dpi));
  QRawFont raw = QRawFont::fromFont(qfont);
  raw.setPixelSize(std::max(0.5, pixels));
  auto entry = std::make_unique<FontEntry>(
      FontEntry{font, qfont, QFontMetricsF(qfont, device), raw, 0, {}, {}});
  entry->blank = GlyphOf(*entry, U' ').index;
  fonts_.push_back(std::move(entry));
  return *(last_font_ = fonts_.back().get());
}

const DocumentPainter::Glyph& DocumentPainter::GlyphOf(FontEntry& entry, char32_t code) {
  Glyph& glyph = code < entry.latin.size() ? entry.latin[code] : entry.others[code];
  if (glyph.advance >= 0) return glyph;
  glyph.advance = 0;
  const char32_t codes[] = {code};
  const QList<quint32> indexes = entry.raw.glyphIndexesForString(QString::fromUcs4(codes, 1));
  if (indexes.size() != 1 || indexes[0] == 0) return glyph;
  const QList<QPointF> advances =
      entry.raw.advancesForGlyphIndexes(indexes, QRawFont::UseDesignMetrics);
  glyph.index = indexes[0];
  glyph.advance = advances.isEmpty() ? 0 : advances[0].x();
  return glyph;
}

bool DocumentPainter::RunOf(FontEntry& entry, std::string_view text, Run& run) {
  run.indexes.clear();
  run.positions.clear();
  run.width = 0;
  if (!entry.raw.isValid()) return false;
  run.indexes.reserve(static_cast<qsizetype>(text.size()));
  run.positions.reserve(static_cast<qsizetype>(text.size()));
  double x = 0;
  for (std::size_t i = 0; i < text.size();) {
    // One code point of the UTF-8 text; a byte that starts no valid
    // sequence stands for itself (and is missing from the face).
    const auto byte = static_cast<unsigned char>(text[i++]);
    char32_t code = byte;
    if (byte >= 0x80) {
      int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
      code = byte & (0x3F >> extra);
      if (extra == 0) return false;
      for (; extra > 0; --extra) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return false;
        code = (code << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
      }
    }
    const Glyph& glyph = GlyphOf(entry, code);
    if (glyph.index == 0) return false;
    run.indexes.append(glyph.index);
    run.positions.append(QPointF(x, 0));
    x += glyph.advance;
  }
  run.width = x;
  return true;
}

double DocumentPainter::TextWidth(const reports::Font& font, std::string_view text,
                                  double pixels_per_mm, QPaintDevice* device) {
  FontEntry& entry = FontFor(font, pixels_per_mm, device);
  Run run;
  if (RunOf(entry, text, run)) return run.width;
  return entry.metrics.horizontalAdvance(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

const QImage& DocumentPainter::ImageFor(const reports::PictureItem& picture) {
  const void* key = picture.bytes.get();
  auto it = images_.find(key);
  if (it != images_.end()) return it->second;
  QImage image;
  if (picture.bytes && !picture.bytes->empty()) {
    image.loadFromData(picture.bytes->data(), static_cast<int>(picture.bytes->size()));
  }
  return images_.emplace(key, std::move(image)).first->second;
}

void DocumentPainter::PaintPage(QPainter& painter, const reports::Page& page,
                                double pixels_per_mm) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  for (const reports::BoxItem& box : page.boxes) {
    painter.setPen(box.line_width > 0 ? QPen(Qt::black, box.line_width * pixels_per_mm,
                                             Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin)
                                      : QPen(Qt::NoPen));
    painter.setBrush(box.fill >= 0 && box.fill <= 255 ? QBrush(QColor(box.fill, box.fill, box.fill))
                                                      : QBrush(Qt::NoBrush));
    painter.drawRect(ToDevice(box.box, pixels_per_mm));
  }
  painter.setBrush(Qt::NoBrush);
  for (const reports::PictureItem& picture : page.pictures) {
    const QImage& image = ImageFor(picture);
    if (image.isNull()) continue;
    const QRectF box = ToDevice(picture.box, pixels_per_mm);
    QSizeF size = image.size();
    size.scale(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.x() + (box.width() - size.width()) / 2,
                        box.y() + (box.height() - size.height()) / 2, size.width(), size.height());
    painter.drawImage(target, image);
  }
  for (const reports::LineItem& line : page.lines) {
    painter.setPen(QPen(Qt::black, line.width * pixels_per_mm, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(line.x1 * pixels_per_mm, line.y1 * pixels_per_mm),
                     QPointF(line.x2 * pixels_per_mm, line.y2 * pixels_per_mm));
  }
  painter.setPen(Qt::black);
  QPaintDevice* device = painter.device();
  Run run;
  std::vector<Line> lines;
  for (const reports::TextItem& item : page.texts) {
    if (item.text.empty()) continue;
    FontEntry& entry = FontFor(item.font, pixels_per_mm, device);
    const QRectF box = ToDevice(item.box, pixels_per_mm);
    // Glyphs placed by the face's advances; a text the face cannot draw
    // whole is shaped, with the system's fallback fonts.
    const bool glyphs = RunOf(entry, item.text, run);
    QString shaped;
    if (!glyphs) {
      shaped = QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size()));
      run.width = entry.metrics.horizontalAdvance(shaped);
    }
    const double width = run.width;
    const double squeeze = width > box.width() && width > 0 ? box.width() / width : 1.0;
    const double drawn = width * squeeze;
    double x = box.x();
    if (item.align == reports::Align::kRight) {
      x = box.right() - drawn;
    } else if (item.align == reports::Align::kCenter) {
      x = box.x() + (box.width() - drawn) / 2;
    }
    const double ascent = glyphs ? entry.raw.ascent() : entry.metrics.ascent();
    const double descent = glyphs ? entry.raw.descent() : entry.metrics.descent();
    const double baseline = box.y() + (box.height() + ascent - descent) / 2;
    if (glyphs && squeeze == 1.0 && !item.font.underline) {
      // Onto the run of its font and baseline; blanks have no ink to draw
      // (an underlined text is drawn alone, its blanks underlined too).
      auto line = std::find_if(lines.begin(), lines.end(), [&](const Line& l) {
        return l.entry == &entry && l.baseline == baseline;
      });
      if (line == lines.end()) line = lines.insert(lines.end(), Line{&entry, baseline, {}, {}});
      for (qsizetype i = 0; i < run.indexes.size(); ++i) {
        if (run.indexes[i] == entry.blank) continue;
        line->indexes.append(run.indexes[i]);
        line->positions.append(QPointF(x + run.positions[i].x(), baseline));
      }
      continue;
    }
    painter.save();
    painter.translate(x, baseline);
    painter.scale(squeeze, 1.0);
    if (glyphs) {
      QGlyphRun glyph_run;
      glyph_run.setRawFont(entry.raw);
      glyph_run.setGlyphIndexes(run.indexes);
      glyph_run.setPositions(run.positions);
      glyph_run.setUnderline(item.font.underline);
      painter.drawGlyphRun(QPointF(0, 0), glyph_run);
    } else {
      painter.setFont(entry.font);
      painter.drawText(QPointF(0, 0), shaped);
    }
    painter.restore();
  }
  for (const Line& line : lines) {
    if (line.indexes.isEmpty()) continue;
    QGlyphRun glyph_run;
    glyph_run.setRawFont(line.entry->raw);
    glyph_run.setGlyphIndexes(line.indexes);
    glyph_run.setPositions(line.positions);
    painter.drawGlyphRun(QPointF(0, 0), glyph_run);
  }
  painter.restore();
}

void WritePdf(const reports::Document& document, const std::filesystem::path& file,
              const std::vector<reports::PageRange>& ranges, ProgressReporter* progress) {
  const QString name = QString::fromStdString(file.string());
  const std::string failure = "Fisierul " + file.string() + " nu poate fi scris !";
  QSaveFile output(name);
  if (!output.open(QIODevice::WriteOnly)) throw Error(failure);
  {
    QPdfWriter writer(&output);
    writer.setResolution(kPdfResolution);
    writer.setTitle(QString::fromStdString(document.title));
    writer.setCreator(QStringLiteral("TRAVENO"));
    // A4 by its name in either orientation, other papers by their size.
    const bool landscape = document.setup.orientation == reports::Orientation::kLandscape;
    const QSizeF paper = landscape ? QSizeF(document.setup.height, document.setup.width)
                                   : QSizeF(document.setup.width, document.setup.height);
    const QPageSize size = paper == QSizeF(210, 297) ? QPageSize(QPageSize::A4)
                                                     : QPageSize(paper, QPageSize::Millimeter);
    writer.setPageLayout(QPageLayout(
        size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    std::vector<int> pages;
    if (ranges.empty()) {
      for (std::size_t i = 0; i < document.pages.size(); ++i) pages.push_back(static_cast<int>(i));
    } else {
      for (const reports::PageRange& range : ranges) {
        for (int page = range.first; page <= range.last; ++page) {
          if (page >= 1 && page <= static_cast<int>(document.pages.size()))
            pages.push_back(page - 1);
        }
      }
    }
    KeepRoomForPdfPages();
    QPainter painter;
    if (!painter.begin(&writer)) throw Error(failure);
    DocumentPainter page_painter;
    const double pixels_per_mm = kPdfResolution / 25.4;
    SilentProgress silent;
    ProgressReporter& bar = progress != nullptr ? *progress : silent;
    bar.BeginProgress("Scriere PDF", static_cast<int>(pages.size()));
    try {
      for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) writer.newPage();
        page_painter.PaintPage(painter, document.pages[pages[i]], pixels_per_mm);
        bar.Advance(static_cast<int>(i + 1));
      }
    } catch (...) {
      bar.EndProgress();
      throw;
    }
    bar.EndProgress();
    if (!painter.end()) throw Error(failure);
  }
  if (!output.commit()) throw Error(failure);
}

OffscreenArguments PrepareOffscreenApplication() {
  static const bool quiet = [] {
    qt_default_handler = qInstallMessageHandler(QuietWithoutDesktopSession);
    return true;
  }();
  (void)quiet;
  static int argc = 3;
  static char program[] = "traveno";
  static char platform_option[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {program, platform_option, platform, nullptr};
  return {argc, argv};
}

void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  // Made once and never destroyed: Qt's fonts belong to the application, and
  // an application destroyed among the static objects at exit is unsafe.
  const OffscreenArguments arguments = PrepareOffscreenApplication();
  new QGuiApplication(arguments.argc, arguments.argv);
}

}  // namespace traveno::ui
