// Where the preview prints: the system's printers and the built-in "PDF"
// printer, always listed, which writes the pages to a file, so that every
// document can be printed on a machine without printers.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "reports/document.h"
#include "reports/page_selection.h"

class QPrinter;

namespace traveno::ui {

// The built-in printer's name in the printer box.
inline constexpr const char* kPdfPrinterName = "PDF";

// The system's printers followed by "PDF", and the one to select first: the
// system's default printer, else "PDF".
struct PrinterList {
  QStringList names;
  int current = 0;
};
PrinterList AvailablePrinters();

// Prints pages first..last of the document on a system printer as one print
// job, each page at its size on the paper. The printer's own settings (from
// the printer setup dialog) are kept. False when the job could not start.
bool PrintRange(QPrinter& printer, const reports::Document& document,
                const reports::PageRange& range);

// A printer of the system's, set to the document's paper and orientation.
std::unique_ptr<QPrinter> MakePrinter(const QString& name, const reports::PageSetup& setup);

}  // namespace traveno::ui
