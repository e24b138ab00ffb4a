#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>

class QAbstractSeries;
class QChart;
class QGraphicsEllipseItem;
class QGraphicsRectItem;

namespace uvlamp::graphs {

// Bubbles on a chart: filled circles whose radius is given in units of the vertical axis, drawn
// beneath the chart's curves and clipped to its plot area. A bubble's size in pixels follows the
// axis scale: the circles are placed again whenever the plot area or an axis range changes (a
// resize, a zoom). The chart's own series cannot do this: their markers have one size in pixels.
class TBubbleSeries : public QObject {
    Q_OBJECT
  public:
    struct TBubble {
        QPointF Centre;    // in axis values
        qreal Radius = 0;  // in units of the vertical axis
        QColor Colour;
    };

    // The bubbles use the axes of the anchor, a series of the chart, attached to its axes
    // already. The chart owns the bubble series (it is a child object of the chart); deleting it
    // earlier removes its circles.
    TBubbleSeries(QChart* chart, QAbstractSeries* anchor);
    ~TBubbleSeries() override;

    void Clear();
    void Append(QPointF centre, qreal radius, const QColor& colour);
    const QList<TBubble>& Bubbles() const { return bubbles_; }
    // The circles as drawn, in the chart's coordinates, in the order of Bubbles().
    QList<QRectF> DrawnCircles() const;

  private:
    void Place();
    void PlaceCircle(const TBubble& bubble, QGraphicsEllipseItem* circle) const;
    bool CanPlace() const;

    QPointer<QChart> chart_;
    // The program may delete the anchor (removing every series of a chart deletes them) while
    // the bubbles stay; its circles are then hidden rather than placed by a dangling series.
    QPointer<QAbstractSeries> anchor_;
    QGraphicsRectItem* clip_;
    QList<TBubble> bubbles_;
    QList<QGraphicsEllipseItem*> circles_;
};

}  // namespace uvlamp::graphs
