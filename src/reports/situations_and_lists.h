// The monthly situations (medical leave, holidays) of a chosen month and the
// personnel lists printed with "&Lista" from the list window: hired or left
// in a month, and the insured persons. The list documents print the rows the
// window shows, its filter applied, and say so at the top of each page.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "personnel/checks.h"
#include "reports/page_composer.h"
#include "reports/report_common.h"

namespace traveno::reports {

// The medical-leave situation of `month` (a month of the working company):
// the rows with days or amounts of medical leave, by name. Printed with its
// headings even when there are none. StoreError on failure.
Report MedicalLeaveSituation(const DocumentContext& context, Date month);
// The holiday situation of `month`: the rows with holiday days or pay.
Report HolidaySituation(const DocumentContext& context, Date month);

// The text a list document prints at the top of its pages about the list
// window's filter: " * Filtru activ: " + the filter's text when a filter is
// on, else a single blank.
std::string FilterText(const std::optional<std::string>& active_filter);

// Which date the hired and left lists print.
enum class PersonnelListKind { kHired, kLeft };

// The hired-in-month or left-in-month list of the list window: `heading` is
// the window's heading (the document's title), `lines` the rows it shows,
// `filter_text` what FilterText gives for its filter.
Report PersonnelList(const DocumentContext& context, PersonnelListKind kind, std::string heading,
                     std::vector<personnel::PersonLine> lines, std::string filter_text);
// The same lists over every person hired or left in `month`, unfiltered.
Report HiredList(const DocumentContext& context, Date month);
Report LeftList(const DocumentContext& context, Date month);

inline constexpr const char* kInsuredTitle = "Lista nominala persoane asigurate si coasigurate";
// The insured persons list of the working month over the list window's rows.
Report InsuredPersonsList(const DocumentContext& context, std::vector<personnel::InsuredLine> lines,
                          std::string filter_text);
// Over every dependant of the working month, unfiltered.
Report InsuredPersonsList(const DocumentContext& context);

}  // namespace traveno::reports
