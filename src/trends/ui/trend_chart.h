// Draws the trend charts with Qt Charts: one line per series of a chart's
// data, in a style that stays readable printed in grey and for colour-blind
// readers (a colour-blind-safe palette, and each line with its own dash and
// marker shape), the months along the bottom as the program writes them and
// the values with the program's number format. The window shows the chart;
// the same drawing, made offscreen, gives the PNG files and the pictures of
// the printed trend.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/report_common.h"
#include "trends/chart_data.h"
#include "trends/trend_document.h"

QT_BEGIN_NAMESPACE
class QChart;
class QLineSeries;
class QWidget;
QT_END_NAMESPACE

namespace traveno::trends_ui {

// The size of a PNG file the command line and the window write.
inline constexpr int kPictureWidth = 1600;
inline constexpr int kPictureHeight = 900;

// How a chart is laid out: on the screen and in a picture the legend is
// under the chart; on a printed page, where two charts share the width, a
// long legend is beside the chart, the texts are smaller and the page's
// heading stands for the chart's subtitle.
struct ChartLook {
  bool legend_beside = false;
  double font_scale = 1;
  bool subtitle = true;
  // At most so many months are labelled, by their full names when there
  // are at most `full_month_names` labels (see trends::MonthLabels); a chart
  // too narrow for them writes fewer or shorter ones.
  std::size_t month_labels = 12;
  std::size_t full_month_names = 6;
};
inline constexpr ChartLook kPrintedLook{true, 0.8, false, 8, 3};
// A PNG file is larger than the chart in the window: larger texts.
inline constexpr ChartLook kPictureLook{false, 1.5, true, 12, 6};

// A chart made from data, with its series in the data's order. The chart is
// not owned by anything yet: a chart view takes it, or the caller deletes it.
struct BuiltChart {
  QChart* chart = nullptr;
  std::vector<QLineSeries*> series;
};
BuiltChart MakeChart(const trends::ChartData& data, const ChartLook& look = {});

// Hovering over a point of the chart shows its month and value
// (trends::HoverText) in a tool tip over `view`, and tells `on_month` the
// month's index when given.
void ShowValuesOnHover(const BuiltChart& chart, const trends::ChartData& data, QWidget* view,
                       std::function<void(std::size_t month)> on_month = {});

// The chart drawn offscreen into an image of `size` logical pixels, each
// drawn as `scale` device pixels (4 for print), on white.
QImage RenderChart(const trends::ChartData& data, QSize size, double scale = 1,
                   const ChartLook& look = {});
// The same as the bytes of a PNG file.
trends::PictureBytes ChartPng(const trends::ChartData& data, QSize size, double scale = 1,
                              const ChartLook& look = {});
// Writes the chart as a PNG file of kPictureWidth x kPictureHeight pixels,
// through a temporary file renamed into place. Throws OsError when the file
// cannot be written.
void WriteChartPng(const trends::ChartData& data, const std::filesystem::path& file);

// The printed trend of the company (empty `department`) or of a department,
// with its two charts drawn for print.
reports::Report PrintedTrend(const trends::Trend& trend, const std::string& department,
                             const reports::PrintStamp& stamp);

// Qt Charts draws on widgets' graphics scenes, which need a QApplication:
// the command line makes one on the "offscreen" platform (no display
// needed). Does nothing when one exists; throws Error when the program made
// an application without widgets.
void EnsureChartApplication();

}  // namespace traveno::trends_ui
