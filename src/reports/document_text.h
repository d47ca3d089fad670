// A prepared document as plain text lines, for checks and scripts: the
// texts of a page are gathered into lines by their height on the page and
// set at the character column of their position (2 mm a character), so
// tables keep their columns; a text that would run into the one before it is
// moved right, after a blank. Lines, boxes and pictures are left out.
#pragma once

#include <string>
#include <vector>

#include "reports/document.h"

namespace traveno::reports {

// The lines of one page, top to bottom, without trailing blanks.
std::vector<std::string> PageLines(const Page& page);

// Every page's lines, each page opened by the line
// "--- Pagina N / M ---".
std::string DocumentText(const Document& document);

}  // namespace traveno::reports
