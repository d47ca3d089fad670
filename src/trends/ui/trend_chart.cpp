#include "trends/ui/trend_chart.h"

#include <QApplication>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "reports/report_common.h"
#include "ui/document_painter.h"

namespace traveno::trends_ui {
namespace {

enum class Marker { kCircle, kSquare, kTriangle, kDiamond, kTriangleDown, kCross };

// The n-th line of a chart. The colours are those of a palette made for
// readers who cannot tell red from green; printed in grey the lines still
// differ by their dashes and markers.
struct SeriesStyle {
  QColor color;
  Qt::PenStyle dash;
  Marker marker;
};
const std::array<SeriesStyle, 6> kStyles = {{
    {QColor(0, 0, 0), Qt::SolidLine, Marker::kCircle},
    {QColor(0, 114, 178), Qt::DashLine, Marker::kSquare},
    {QColor(213, 94, 0), Qt::DotLine, Marker::kTriangle},
    {QColor(0, 158, 115), Qt::DashDotLine, Marker::kDiamond},
    {QColor(230, 159, 0), Qt::DashDotDotLine, Marker::kTriangleDown},
    {QColor(204, 121, 167), Qt::SolidLine, Marker::kCross},
}};

constexpr qreal kMarkerSize = 9;
constexpr const char* kFontFamily = "DejaVu Sans";

QFont ChartFont(qreal points, bool bold = false) {
  QFont font(kFontFamily);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// The marker drawn at each point of a line (and in its legend entry), filled
// with the line's colour and outlined in black, so the shape shows in grey.
QImage MarkerImage(const SeriesStyle& style) {
  constexpr int kPixels = 36;  // drawn large, scaled down by the chart
  QImage image(kPixels, kPixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 3));
  painter.setBrush(style.color);
  const QRectF box(4, 4, kPixels - 8, kPixels - 8);
  QPainterPath path;
  switch (style.marker) {
    case Marker::kCircle:
      path.addEllipse(box);
      break;
    case Marker::kSquare:
      path.addRect(box.adjusted(2, 2, -2, -2));
      break;
    case Marker::kTriangle:
      path.moveTo(box.center().x(), box.top());
      path.lineTo(box.bottomRight());
      path.lineTo(box.bottomLeft());
      path.closeSubpath();
      break;
    case Marker::kDiamond:
      path.moveTo(box.center().x(), box.top());
      path.lineTo(box.right(), box.center().y());
      path.lineTo(box.center().x(), box.bottom());
      path.lineTo(box.left(), box.center().y());
      path.closeSubpath();
      break;
    case Marker::kTriangleDown:
      path.moveTo(box.topLeft());
      path.lineTo(box.topRight());
      path.lineTo(box.center().x(), box.bottom());
      path.closeSubpath();
      break;
    case Marker::kCross: {
      // A thick plus sign, filled.
      const qreal third = box.width() / 3;
      path.addRect(box.left() + third, box.top(), third, box.height());
      path.addRect(box.left(), box.top() + third, box.width(), third);
      path.setFillRule(Qt::WindingFill);
      path = path.simplified();
      break;
    }
  }
  painter.drawPath(path);
  return image;
}

void StyleSeries(QLineSeries* series, std::size_t index, double scale) {
  const SeriesStyle& style = kStyles[index % kStyles.size()];
  QPen pen(style.color, 2.2 * scale, style.dash, Qt::RoundCap, Qt::RoundJoin);
  series->setPen(pen);
  series->setMarkerSize(kMarkerSize * scale);
  series->setLightMarker(MarkerImage(style));
}

// Writes the labels under the months that fit a plot `width` pixels wide:
// at most as many as the look allows, fewer or in the short form when the
// names would run into each other (a width of 0: as the look says).
void LabelMonths(QCategoryAxis* axis, const std::vector<Date>& months, const ChartLook& look,
                 qreal width) {
  std::size_t labels = look.month_labels;
  std::size_t full_names = look.full_month_names;
  if (width > 0) {
    const QFontMetricsF metrics(axis->labelsFont());
    const qreal gap = 2 * metrics.averageCharWidth();
    const qreal full = metrics.horizontalAdvance(QStringLiteral("SEPTEMBRIE / 2000")) + gap;
    const qreal brief = metrics.horizontalAdvance(QStringLiteral("00.0000")) + gap;
    labels = std::clamp<std::size_t>(static_cast<std::size_t>(width / brief), 1, labels);
    full_names = std::min(full_names, static_cast<std::size_t>(width / full));
  }
  QStringList texts;
  std::vector<qreal> places;
  for (const trends::MonthLabel& label : trends::MonthLabels(months, labels, full_names)) {
    texts.append(QString::fromStdString(label.text));
    places.push_back(static_cast<qreal>(label.month));
  }
  // Writing the same labels again would lay the chart out again.
  if (texts == axis->categoriesLabels()) return;
  for (const QString& old : axis->categoriesLabels()) axis->remove(old);
  for (qsizetype i = 0; i < texts.size(); ++i) {
    axis->append(texts[i], places[static_cast<std::size_t>(i)]);
  }
}

// The months along the bottom: a label under every few months, as many as
// the chart's width holds.
QCategoryAxis* MonthAxis(QChart* chart, const trends::ChartData& data, const ChartLook& look) {
  const double font_scale = look.font_scale;
  auto* axis = new QCategoryAxis;
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setLabelsFont(ChartFont(8 * font_scale));
  const std::size_t count = data.months.size();
  LabelMonths(axis, data.months, look, 0);
  QObject::connect(chart, &QChart::plotAreaChanged, axis,
                   [axis, months = data.months, look](const QRectF& area) {
                     LabelMonths(axis, months, look, area.width());
                   });
  axis->setRange(-0.5, std::max<qreal>(0.5, static_cast<qreal>(count) - 0.5));
  axis->setGridLineVisible(true);
  axis->setGridLinePen(QPen(QColor(225, 225, 225), 1));
  return axis;
}

// The values up the side, at round steps written "#,##0".
QCategoryAxis* ValueAxis(const trends::ChartData& data, double font_scale) {
  double low = 0;
  double high = 0;
  for (const trends::ChartSeries& series : data.series) {
    for (double value : series.values) {
      if (!std::isfinite(value)) continue;
      low = std::min(low, value);
      high = std::max(high, value);
    }
  }
  const trends::AxisScale scale = trends::NiceScale(low, high, 8);
  auto* axis = new QCategoryAxis;
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setLabelsFont(ChartFont(8 * font_scale));
  for (double tick : scale.ticks) {
    axis->append(QString::fromStdString(trends::ValueText(tick)), tick);
  }
  axis->setRange(scale.min, scale.max);
  axis->setTitleText(QString::fromStdString(data.unit));
  axis->setTitleFont(ChartFont(8 * font_scale));
  axis->setGridLinePen(QPen(QColor(200, 200, 200), 1));
  return axis;
}

}  // namespace

BuiltChart MakeChart(const trends::ChartData& data, const ChartLook& look) {
  BuiltChart built;
  auto* chart = new QChart;
  built.chart = chart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setTheme(QChart::ChartThemeLight);
  chart->setBackgroundBrush(Qt::white);
  chart->setBackgroundRoundness(0);
  chart->setDropShadowEnabled(false);
  QString title = "<b>" + QString::fromStdString(data.title).toHtmlEscaped() + "</b>";
  if (look.subtitle && !data.subtitle.empty()) {
    title += "<br><span style=\"font-size:" + QString::number(9 * look.font_scale) +
             "pt; font-weight:normal\">" + QString::fromStdString(data.subtitle).toHtmlEscaped() +
             "</span>";
  }
  chart->setTitle(title);
  chart->setTitleFont(ChartFont(11 * look.font_scale));
  chart->setTitleBrush(Qt::black);

  QCategoryAxis* months = MonthAxis(chart, data, look);
  QCategoryAxis* values = ValueAxis(data, look.font_scale);
  chart->addAxis(months, Qt::AlignBottom);
  chart->addAxis(values, Qt::AlignLeft);
  for (std::size_t s = 0; s < data.series.size(); ++s) {
    auto* series = new QLineSeries;
    series->setName(QString::fromStdString(data.series[s].caption));
    const std::vector<double>& points = data.series[s].values;
    QList<QPointF> xy;
    xy.reserve(static_cast<qsizetype>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
      xy.append(QPointF(static_cast<qreal>(i), std::isfinite(points[i]) ? points[i] : 0.0));
    }
    series->replace(xy);
    chart->addSeries(series);
    series->attachAxis(months);
    series->attachAxis(values);
    StyleSeries(series, s, std::max(look.font_scale, 1.0));
    built.series.push_back(series);
  }
  QLegend* legend = chart->legend();
  // A few captions fit under a narrow chart too, and leave it its width.
  legend->setAlignment(look.legend_beside && data.series.size() > 3 ? Qt::AlignRight
                                                                    : Qt::AlignBottom);
  legend->setFont(ChartFont(9 * look.font_scale));
  legend->setMarkerShape(QLegend::MarkerShapeFromSeries);
  legend->setLabelColor(Qt::black);
  return built;
}

void ShowValuesOnHover(const BuiltChart& chart, const trends::ChartData& data, QWidget* view,
                       std::function<void(std::size_t month)> on_month) {
  for (std::size_t s = 0; s < chart.series.size(); ++s) {
    QObject::connect(chart.series[s], &QLineSeries::hovered, view,
                     [data, s, view, on_month](const QPointF& point, bool state) {
                       if (!state) {
                         QToolTip::hideText();
                         return;
                       }
                       const long month = std::lround(point.x());
                       if (month < 0) return;
                       const std::string text =
                           trends::HoverText(data, s, static_cast<std::size_t>(month));
                       if (text.empty()) return;
                       if (on_month) on_month(static_cast<std::size_t>(month));
                       QToolTip::showText(QCursor::pos(), QString::fromStdString(text), view);
                     });
  }
}

QImage RenderChart(const trends::ChartData& data, QSize size, double scale, const ChartLook& look) {
  QImage image(QSize(static_cast<int>(std::lround(size.width() * scale)),
                     static_cast<int>(std::lround(size.height() * scale))),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QGraphicsScene scene;
  BuiltChart built = MakeChart(data, look);
  scene.addItem(built.chart);  // the scene owns the chart from here
  const QRectF area(QPointF(0, 0), QSizeF(size));
  built.chart->setGeometry(area);
  // The chart lays itself out when asked for its geometry's events.
  QCoreApplication::sendPostedEvents();
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                         QPainter::SmoothPixmapTransform);
  painter.scale(scale, scale);
  scene.render(&painter, area, area);
  painter.end();
  return image;
}

trends::PictureBytes ChartPng(const trends::ChartData& data, QSize size, double scale,
                              const ChartLook& look) {
  const QImage image = RenderChart(data, size, scale, look);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return std::make_shared<const std::vector<unsigned char>>(bytes.begin(), bytes.end());
}

void WriteChartPng(const trends::ChartData& data, const std::filesystem::path& file) {
  const trends::PictureBytes bytes =
      ChartPng(data, QSize(kPictureWidth, kPictureHeight), 1, kPictureLook);
  WriteFileAtomically(
      file, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

reports::Report PrintedTrend(const trends::Trend& trend, const std::string& department,
                             const reports::PrintStamp& stamp) {
  // Drawn at the printed box's size (screen pixels of 1/96 inch, so the
  // texts print at their point sizes), four times over for the printer.
  constexpr double kPixelsPerMm = 96 / 25.4;
  const QSize size(static_cast<int>(trends::kPrintedChartWidth * kPixelsPerMm),
                   static_cast<int>(trends::kPrintedChartHeight * kPixelsPerMm));
  return trends::TrendReport(
      trend, department, ChartPng(trends::AmountsChart(trend, department), size, 4, kPrintedLook),
      ChartPng(trends::HeadcountChart(trend, department), size, 4, kPrintedLook), stamp);
}

void EnsureChartApplication() {
  if (QCoreApplication* existing = QCoreApplication::instance()) {
    if (qobject_cast<QApplication*>(existing) != nullptr) return;
    throw Error("Graficele nu pot fi desenate in aceasta aplicatie (lipseste QApplication) !");
  }
  // Made once and never destroyed, as the documents' renderer does with its
  // application: fonts belong to it.
  const ui::OffscreenArguments arguments = ui::PrepareOffscreenApplication();
  new QApplication(arguments.argc, arguments.argv);
}

}  // namespace traveno::trends_ui
