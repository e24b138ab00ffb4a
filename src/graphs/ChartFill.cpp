#include "graphs/ChartFill.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QTime>
#include <QTimeZone>
#include <QVariant>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtCharts/QXYSeries>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "graphs/BubbleSeries.h"
#include "shell/DayCount.h"

namespace uvlamp::graphs {

namespace {

// About as many tick intervals as a small chart can label without crowding.
constexpr double kTickIntervals = 8;

QList<QPointF> ToPoints(const std::vector<TPlotPoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const TPlotPoint& p : points) {
        list.append(QPointF(p.X, p.Y));
    }
    return list;
}

}  // namespace

double RoundTickStep(double span, double intervals) {
    const double raw = span / intervals;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * magnitude >= raw) {
            return factor * magnitude;
        }
    }
    return 10 * magnitude;
}

QColor ToQColor(TRgb rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

void FillSeries(QXYSeries* series, const std::vector<TPlotPoint>& points) {
    series->replace(ToPoints(points));
}

void FillColouredPoints(QXYSeries* series, const std::vector<TColouredPoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    QHash<int, QHash<QXYSeries::PointConfiguration, QVariant>> colours;
    for (const TColouredPoint& p : points) {
        colours[static_cast<int>(list.size())][QXYSeries::PointConfiguration::Color] =
            ToQColor(p.Colour);
        list.append(QPointF(p.X, p.Y));
    }
    series->clearPointsConfiguration();
    series->replace(list);
    series->setPointsConfiguration(colours);
}

void FillBubbles(TBubbleSeries* series, const std::vector<TBubble>& bubbles) {
    series->Clear();
    for (const TBubble& b : bubbles) {
        series->Append(QPointF(b.X, b.Y), b.Radius, ToQColor(b.Colour));
    }
}

void FixRange(QValueAxis* axis, TAxisRange range) {
    if (!(range.Max > range.Min) || !std::isfinite(range.Max - range.Min)) {
        return;
    }
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(RoundTickStep(range.Max - range.Min, kTickIntervals));
    axis->setRange(range.Min, range.Max);
}

QString LabelFormat(const std::string& pattern) {
    const std::size_t point = pattern.find('.');
    const std::size_t decimals = point == std::string::npos ? 0 : pattern.size() - point - 1;
    return QStringLiteral("%.%1f").arg(decimals);
}

QDateTime ToDateTime(double dayCount) {
    const TDateTimeParts p = DecodeDateTime(dayCount);
    return QDateTime(QDate(p.Year, p.Month, p.Day),
                     QTime(p.Hour, p.Minute, p.Second, p.Millisecond), Qt::LocalTime);
}

QImage RoundMarker(const QColor& colour, qreal diameter) {
    const int side = static_cast<int>(std::ceil(diameter));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(130), 1));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(0.5, 0.5, side - 1.0, side - 1.0));
    return image;
}

void SetChartTitle(QChart* chart, const std::string& lines) {
    chart->setTitle(QString::fromStdString(lines).toHtmlEscaped().replace('\n', "<br>"));
}

QList<qreal> ToLocalMsecs(const std::vector<double>& dayCounts) {
    // Day count 25569 is 1 January 1970.
    constexpr double kEpochDay = 25569;
    constexpr double kMsPerDay = 86400000;
    QList<qreal> msecs;
    if (dayCounts.empty()) {
        return msecs;
    }
    // What the local clock reads, in milliseconds as if it were UTC.
    const auto wall = [&](double day) { return std::round((day - kEpochDay) * kMsPerDay); };
    const auto [low, high] = std::minmax_element(dayCounts.begin(), dayCounts.end());
    // Two days of margin cover every offset from UTC.
    const QDateTime from =
        QDateTime::fromMSecsSinceEpoch(qint64(wall(*low) - 2 * kMsPerDay), Qt::UTC);
    const QDateTime to =
        QDateTime::fromMSecsSinceEpoch(qint64(wall(*high) + 2 * kMsPerDay), Qt::UTC);
    const QTimeZone zone = QTimeZone::systemTimeZone();
    // The offsets in force from each change on, keyed by the local time at which it happens.
    std::vector<std::pair<double, double>> changes{{-HUGE_VAL, zone.offsetFromUtc(from) * 1000.0}};
    if (zone.hasTransitions()) {
        for (const QTimeZone::OffsetData& change : zone.transitions(from, to)) {
            const double offset = change.offsetFromUtc * 1000.0;
            changes.emplace_back(double(change.atUtc.toMSecsSinceEpoch()) + offset, offset);
        }
    }
    msecs.reserve(static_cast<qsizetype>(dayCounts.size()));
    for (const double day : dayCounts) {
        const double local = wall(day);
        const auto after =
            std::upper_bound(changes.begin(), changes.end(), local,
                             [](double value, const std::pair<double, double>& change) {
                                 return value < change.first;
                             });
        msecs.append(local - std::prev(after)->second);
    }
    return msecs;
}

void FillDatedSeries(QXYSeries* series, const std::vector<TPlotPoint>& points) {
    std::vector<double> days;
    days.reserve(points.size());
    for (const TPlotPoint& p : points) {
        days.push_back(p.X);
    }
    const QList<qreal> msecs = ToLocalMsecs(days);
    QList<QPointF> dated;
    dated.reserve(msecs.size());
    for (qsizetype k = 0; k < msecs.size(); ++k) {
        dated.append(QPointF(msecs[k], points[static_cast<std::size_t>(k)].Y));
    }
    series->replace(dated);
}

void PlotCounts(const TScan& scan, QXYSeries* series, const QColor& colour) {
    series->setColor(colour);
    FillSeries(series, CountsCurve(scan));
}

void PlotCurve(const std::vector<TPlotPoint>& curve, QXYSeries* series, const QColor& colour,
               QValueAxis* bottom, QValueAxis* left) {
    series->setColor(colour);
    FillSeries(series, curve);
    if (const auto wavelengths = XRange(curve)) {
        FixRange(bottom, *wavelengths);
    }
    if (const auto values = YRange(curve)) {
        FixRange(left, PaddedRange(*values));
    }
}

void PlotDeviationBubbles(const TScan& scan, TBubbleSeries* series, bool shown) {
    FillBubbles(series, shown ? DeviationBubbles(scan) : std::vector<TBubble>{});
}

void PlotResponses(const TLampList& lamps, const TScan& response, QChart* chart, QValueAxis* bottom,
                   QValueAxis* left, const TScan* reference) {
    const TResponsePlot plot = ResponseCurves(lamps, response, reference);
    chart->removeAllSeries();
    left->setTitleText(QString::fromStdString(plot.LeftTitle));
    left->setLabelFormat(LabelFormat(plot.LabelPattern));
    std::optional<TAxisRange> wavelengths;
    for (const TResponseCurve& curve : plot.Curves) {
        auto* series = new QLineSeries;
        series->setName(QString::fromStdString(curve.Title));
        chart->addSeries(series);
        series->attachAxis(bottom);
        series->attachAxis(left);
        QPen pen(ToQColor(curve.Colour));
        pen.setWidth(2);
        series->setPen(pen);
        FillSeries(series, curve.Points);
        wavelengths = Union(wavelengths, XRange(curve.Points));
    }
    FixRange(left, plot.Range);
    if (wavelengths) {
        FixRange(bottom, *wavelengths);
    }
}

}  // namespace uvlamp::graphs
