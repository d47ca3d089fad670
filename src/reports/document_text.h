// A prepared document as plain text lines, for checks and scripts: the
// texts of a page are gathered into lines by their height on the page and
// set at the character column of their position (2 mm a character), so
// tables keep their columns; a text that would run into the one before it is
// moved right, after a blank. Lines, boxes and pictures are left out.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "reports/document.h"
#include "reports/page_composer.h"

namespace traveno::reports {

// The lines of one page, top to bottom, without trailing blanks.
std::vector<std::string> PageLines(const Page& page);

// Every page's lines, each page opened by the line
// "--- Pagina N / M ---".
std::string DocumentText(const Document& document);

// The text of a document as it is laid out: each page is turned into its
// lines as it comes and then let go, so that a long document is never held
// whole. WriteTo writes what DocumentText gives for the same pages.
class DocumentTextSink final : public PageSink {
 public:
  void AddPage(Page page) override;
  void WriteTo(std::ostream& out) const;

 private:
  // Each page's lines, each ended by a new line.
  std::vector<std::string> pages_;
};

}  // namespace traveno::reports
