#include "graphs/BubbleSeries.h"

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsRectItem>
#include <QPen>
#include <QtCharts/QAbstractSeries>
#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>
#include <cmath>

namespace uvlamp::graphs {

namespace {

// Qt Charts stacks the items of a chart by z value: the plot area's background at 0, shades 1,
// grid lines 2, axis lines and labels 3, every series 4, the legend 5. The circles go just below
// the series, so the curves stay readable over them while the grid and the axes lie under them.
constexpr qreal kBubblesZ = 3.5;

// The fill lets the grid show through a circle.
constexpr int kFillAlpha = 170;

}  // namespace

// The items are children of the chart's graphics item, so a chart deleted first has deleted them:
// ~QGraphicsItem deletes child items before ~QObject deletes child objects, this one among them.
// chart_ is a QPointer, already null by then, and tells the destructor whether the items are
// still there to delete.
TBubbleSeries::TBubbleSeries(QChart* chart, QAbstractSeries* anchor)
    : QObject(chart), chart_(chart), anchor_(anchor), clip_(new QGraphicsRectItem(chart)) {
    clip_->setPen(Qt::NoPen);
    clip_->setBrush(Qt::NoBrush);
    clip_->setFlag(QGraphicsItem::ItemClipsChildrenToShape);
    clip_->setZValue(kBubblesZ);
    clip_->setRect(chart->plotArea());

    connect(chart, &QChart::plotAreaChanged, this, &TBubbleSeries::Place);
    for (QAbstractAxis* axis : anchor->attachedAxes()) {
        // QCategoryAxis is a QValueAxis; bar category axes have no values to place bubbles by.
        if (auto* value = qobject_cast<QValueAxis*>(axis)) {
            connect(value, &QValueAxis::rangeChanged, this, &TBubbleSeries::Place);
        } else if (auto* log = qobject_cast<QLogValueAxis*>(axis)) {
            connect(log, &QLogValueAxis::rangeChanged, this, &TBubbleSeries::Place);
        } else if (auto* date = qobject_cast<QDateTimeAxis*>(axis)) {
            connect(date, &QDateTimeAxis::rangeChanged, this, &TBubbleSeries::Place);
        }
    }
    // Nothing else tells the bubbles that their anchor is gone.
    connect(anchor, &QObject::destroyed, this, [this] {
        if (chart_) {
            clip_->hide();
        }
    });
}

TBubbleSeries::~TBubbleSeries() {
    if (chart_) {
        delete clip_;  // and the circles with it
    }
}

void TBubbleSeries::Clear() {
    if (chart_) {
        qDeleteAll(circles_);
    }
    circles_.clear();
    bubbles_.clear();
}

void TBubbleSeries::Append(QPointF centre, qreal radius, const QColor& colour) {
    bubbles_.append(TBubble{centre, radius, colour});
    if (!chart_) {
        return;
    }
    auto* circle = new QGraphicsEllipseItem(clip_);
    QColor fill = colour;
    fill.setAlpha(kFillAlpha);
    circle->setBrush(fill);
    QPen pen(colour.darker(130), 1);
    pen.setCosmetic(true);
    circle->setPen(pen);
    circles_.append(circle);
    if (CanPlace()) {
        PlaceCircle(bubbles_.last(), circle);
    }
}

QList<QRectF> TBubbleSeries::DrawnCircles() const {
    QList<QRectF> drawn;
    if (!chart_ || !clip_->isVisibleTo(chart_)) {
        return drawn;
    }
    drawn.reserve(circles_.size());
    for (const QGraphicsEllipseItem* circle : circles_) {
        drawn.append(clip_->mapRectToParent(circle->mapRectToParent(circle->rect())));
    }
    return drawn;
}

bool TBubbleSeries::CanPlace() const {
    return chart_ && anchor_ && anchor_->chart() == chart_;
}

void TBubbleSeries::Place() {
    if (!chart_) {
        return;
    }
    // Without its anchor on the chart a bubble has no axes to be placed by.
    const bool placeable = CanPlace();
    clip_->setVisible(placeable);
    if (!placeable) {
        return;
    }
    clip_->setRect(chart_->plotArea());
    for (qsizetype i = 0; i < circles_.size(); ++i) {
        PlaceCircle(bubbles_[i], circles_[i]);
    }
}

void TBubbleSeries::PlaceCircle(const TBubble& bubble, QGraphicsEllipseItem* circle) const {
    const QPointF centre = clip_->mapFromParent(chart_->mapToPosition(bubble.Centre, anchor_));
    const QPointF top = clip_->mapFromParent(chart_->mapToPosition(
        QPointF(bubble.Centre.x(), bubble.Centre.y() + bubble.Radius), anchor_));
    const qreal r = std::abs(top.y() - centre.y());
    // An axis of no span (or a chart not laid out yet) maps to infinities: draw nothing.
    if (!std::isfinite(r) || !std::isfinite(centre.x()) || !std::isfinite(centre.y())) {
        circle->setRect(QRectF());
        return;
    }
    circle->setRect(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
}

}  // namespace uvlamp::graphs
