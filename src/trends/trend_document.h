// The printed trend ("Evolutie salarii"): on a landscape page the two charts
// of the company or of a department, side by side, then the table of the
// figures of every month and their sum over the interval. The charts come as
// pictures (the bytes of PNG files) drawn by the window layer; the pages are
// laid out here, without Qt, so the preview, the printer and the command
// line's PDF print the same pages.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "reports/page_composer.h"
#include "reports/report_common.h"
#include "trends/trend_figures.h"

namespace traveno::trends {

inline constexpr const char* kTrendTitle = "Evolutie salarii";

using PictureBytes = std::shared_ptr<const std::vector<unsigned char>>;

// The box of each chart on the page, in millimetres: the pictures are best
// drawn in this proportion.
inline constexpr double kPrintedChartWidth = 136;
inline constexpr double kPrintedChartHeight = 80;

// The trend of the company (empty `department`) or of a department, with the
// pictures of its amounts and headcount charts (either may be empty).
reports::Report TrendReport(const Trend& trend, const std::string& department,
                            PictureBytes amounts_chart, PictureBytes headcount_chart,
                            const reports::PrintStamp& stamp);

}  // namespace traveno::trends
