#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QtCharts/QChartView>
#include <functional>

class QAbstractAxis;

namespace uvlamp::graphs {

// A chart view as the operator expects of a graph: dragging a rectangle zooms into it (the right
// button zooms out again), a double click or the Escape or Home key returns to the ranges the
// program last drew with, and resting the mouse near a point shows its values in a tool tip.
class TChartView : public QChartView {
    Q_OBJECT
  public:
    explicit TChartView(QChart* chart, QWidget* parent = nullptr);

    // Remembers the present ranges of the chart's axes as those a reset returns to. Called after
    // every redraw that sets the ranges.
    void RememberHome();
    // Returns every axis to its remembered range.
    void ResetZoom();
    // Sets the ticks of the value axes with round steps to as many as their length on the
    // screen can label without crowding. Runs by itself when the plot area changes, after a
    // zoom and with RememberHome.
    void FitTicks();

    // How an x value reads in the hover text; "3250 Å" (the value in ångströms) by default.
    void SetXText(std::function<QString(double)> text);
    // The hover text for a position in the viewport: the nearest point of a visible series within
    // a few pixels, as "<series name>: <x text>, <y>" (without the name when the series has
    // none); empty when no point is near.
    QString HoverText(const QPoint& viewportPosition) const;

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // The round tick step for a span of an axis at its present length on the screen.
    qreal TickStep(const QAbstractAxis* axis, qreal span) const;

    QHash<QAbstractAxis*, QPair<qreal, qreal>> home_;
    std::function<QString(double)> xText_;
};

// Saves the chart as the view shows it, at the view's size: a PNG file when the name ends in
// ".png" (any letter case), a BMP file otherwise. False when the file could not be written.
bool SaveChartPicture(QChartView* view, const QString& path);

}  // namespace uvlamp::graphs
