#include "ui/print_output.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "ui/document_painter.h"

namespace traveno::ui {

PrinterList AvailablePrinters() {
  PrinterList list;
  list.names = QPrinterInfo::availablePrinterNames();
  list.names.removeAll(QString::fromLatin1(kPdfPrinterName));
  const QString preferred = QPrinterInfo::defaultPrinterName();
  list.names.append(QString::fromLatin1(kPdfPrinterName));
  const int index = preferred.isEmpty() ? -1 : list.names.indexOf(preferred);
  list.current = index >= 0 ? index : static_cast<int>(list.names.size()) - 1;
  return list;
}

std::unique_ptr<QPrinter> MakePrinter(const QString& name, const reports::PageSetup& setup) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setPrinterName(name);
  printer->setFullPage(true);
  const bool landscape = setup.orientation == reports::Orientation::kLandscape;
  // The paper as it goes into the printer (portrait), turned for landscape;
  // A4 by its name, which every printer driver knows.
  const QSizeF paper =
      landscape ? QSizeF(setup.height, setup.width) : QSizeF(setup.width, setup.height);
  const QPageSize size = paper == QSizeF(210, 297) ? QPageSize(QPageSize::A4)
                                                   : QPageSize(paper, QPageSize::Millimeter);
  printer->setPageLayout(QPageLayout(
      size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  return printer;
}

bool PrintRange(QPrinter& printer, const reports::Document& document,
                const reports::PageRange& range) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  DocumentPainter page_painter;
  const double pixels_per_mm = printer.resolution() / 25.4;
  bool first = true;
  for (int page = range.first; page <= range.last; ++page) {
    if (page < 1 || page > static_cast<int>(document.pages.size())) continue;
    if (!first) printer.newPage();
    first = false;
    page_painter.PaintPage(painter, document.pages[page - 1], pixels_per_mm);
  }
  return painter.end();
}

}  // namespace traveno::ui
