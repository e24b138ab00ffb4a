#include "graphs/ChartView.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QSaveFile>
#include <QToolTip>
#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>
#include <QtCharts/QXYSeries>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "graphs/ChartFill.h"

namespace uvlamp::graphs {

namespace {

// How near, in pixels, the mouse must come to a point for its values to show.
constexpr qreal kHoverReach = 8;

// The room a tick label needs along its axis, in pixels: a wavelength or a count is wider than
// it is tall.
constexpr qreal kPixelsPerHorizontalLabel = 70;
constexpr qreal kPixelsPerVerticalLabel = 28;

QString Angstroms(double x) {
    return QString::number(x, 'g', 6) + QStringLiteral(" \u00C5");
}

}  // namespace

TChartView::TChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRubberBand(QChartView::RectangleRubberBand);
    setRenderHint(QPainter::Antialiasing);
    // The hover text needs move events without a button held.
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    xText_ = Angstroms;
    connect(chart, &QChart::plotAreaChanged, this, &TChartView::FitTicks);
}

qreal TChartView::TickStep(const QAbstractAxis* axis, qreal span) const {
    const QRectF area = chart()->plotArea();
    const bool horizontal = axis->orientation() == Qt::Horizontal;
    const qreal pixels = horizontal ? area.width() : area.height();
    const qreal perLabel = horizontal ? kPixelsPerHorizontalLabel : kPixelsPerVerticalLabel;
    return RoundTickStep(span, std::max<qreal>(2, std::floor(pixels / perLabel)));
}

void TChartView::FitTicks() {
    for (QAbstractAxis* axis : chart()->axes()) {
        auto* value = qobject_cast<QValueAxis*>(axis);
        if (value == nullptr || value->tickType() != QValueAxis::TicksDynamic ||
            !(value->max() > value->min())) {
            continue;
        }
        const qreal step = TickStep(value, value->max() - value->min());
        if (value->tickInterval() != step) {
            value->setTickInterval(step);
        }
    }
}

void TChartView::RememberHome() {
    FitTicks();
    home_.clear();
    for (QAbstractAxis* axis : chart()->axes()) {
        if (auto* value = qobject_cast<QValueAxis*>(axis)) {
            home_.insert(axis, {value->min(), value->max()});
        } else if (auto* log = qobject_cast<QLogValueAxis*>(axis)) {
            home_.insert(axis, {log->min(), log->max()});
        } else if (auto* date = qobject_cast<QDateTimeAxis*>(axis)) {
            // Milliseconds since the epoch are whole numbers far below 2^53: a double holds
            // them exactly.
            home_.insert(axis, {qreal(date->min().toMSecsSinceEpoch()),
                                qreal(date->max().toMSecsSinceEpoch())});
        }
    }
}

void TChartView::ResetZoom() {
    // Only the axes the chart holds now are looked up, so an axis deleted since RememberHome is
    // never touched.
    for (QAbstractAxis* axis : chart()->axes()) {
        const auto home = home_.constFind(axis);
        if (home == home_.constEnd()) {
            continue;
        }
        const auto [min, max] = *home;
        if (auto* value = qobject_cast<QValueAxis*>(axis)) {
            // The step first: the axis lays out its ticks as soon as its range changes, and the
            // step of a zoomed range would give it thousands of them over the whole range.
            if (value->tickType() == QValueAxis::TicksDynamic && max > min) {
                value->setTickInterval(TickStep(value, max - min));
            }
            value->setRange(min, max);
        } else if (auto* log = qobject_cast<QLogValueAxis*>(axis)) {
            log->setRange(min, max);
        } else if (auto* date = qobject_cast<QDateTimeAxis*>(axis)) {
            date->setRange(QDateTime::fromMSecsSinceEpoch(qint64(min)),
                           QDateTime::fromMSecsSinceEpoch(qint64(max)));
        }
    }
    FitTicks();
}

void TChartView::SetXText(std::function<QString(double)> text) {
    xText_ = text ? std::move(text) : Angstroms;
}

QString TChartView::HoverText(const QPoint& viewportPosition) const {
    // Chart coordinates to viewport pixels in one step; mapping every point through
    // mapFromScene would also round each to whole pixels.
    const QTransform toViewport = chart()->sceneTransform() * viewportTransform();
    // Points outside the plot area are not drawn (a zoom hides them): they must not answer.
    const QRectF plotArea = chart()->plotArea().adjusted(-0.5, -0.5, 0.5, 0.5);
    const QPointF mouse(viewportPosition);

    const QXYSeries* nearestSeries = nullptr;
    QPointF nearestPoint;
    qreal nearestDistance = kHoverReach * kHoverReach;
    for (QAbstractSeries* abstract : chart()->series()) {
        const auto* series = qobject_cast<const QXYSeries*>(abstract);
        if (series == nullptr || !series->isVisible()) {
            continue;
        }
        const QList<QPointF> points = series->points();
        for (const QPointF& point : points) {
            const QPointF inChart = chart()->mapToPosition(point, abstract);
            if (!plotArea.contains(inChart)) {
                continue;
            }
            const QPointF d = toViewport.map(inChart) - mouse;
            const qreal distance = QPointF::dotProduct(d, d);
            if (distance <= nearestDistance) {
                nearestDistance = distance;
                nearestSeries = series;
                nearestPoint = point;
            }
        }
    }
    if (nearestSeries == nullptr) {
        return {};
    }
    const QString values =
        xText_(nearestPoint.x()) + QStringLiteral(", ") + QString::number(nearestPoint.y(), 'g', 6);
    return nearestSeries->name().isEmpty() ? values : nearestSeries->name() + ": " + values;
}

void TChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        ResetZoom();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

void TChartView::mouseReleaseEvent(QMouseEvent* event) {
    // The base class zooms to the rubber band (or out, with the right button).
    QChartView::mouseReleaseEvent(event);
    FitTicks();
}

void TChartView::mouseMoveEvent(QMouseEvent* event) {
    // The rubber band follows the mouse in the base class.
    QChartView::mouseMoveEvent(event);
    if (event->buttons() != Qt::NoButton) {
        return;
    }
    const QString text = HoverText(event->position().toPoint());
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), text, viewport());
    }
}

void TChartView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Home) {
        ResetZoom();
        event->accept();
        return;
    }
    QChartView::keyPressEvent(event);
}

bool SaveChartPicture(QChartView* view, const QString& path) {
    const QPixmap picture = view->grab();
    const char* format = path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? "PNG" : "BMP";
    // Through a temporary file that then takes the picture's place: a full disk or a failed
    // write leaves an earlier picture as it was.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && picture.save(&file, format) && file.commit();
}

}  // namespace uvlamp::graphs
