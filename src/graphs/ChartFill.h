#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <vector>

#include "plots/Curves.h"

class QChart;
class QDateTime;
class QValueAxis;
class QXYSeries;

namespace uvlamp::graphs {

class TBubbleSeries;

QColor ToQColor(TRgb rgb);

// A curve's points into a series, replacing what it held; the series keeps its colour and pen.
void FillSeries(QXYSeries* series, const std::vector<TPlotPoint>& points);
// Points with a colour each; the series' own colour is kept for its legend.
void FillColouredPoints(QXYSeries* series, const std::vector<TColouredPoint>& points);
void FillBubbles(TBubbleSeries* series, const std::vector<TBubble>& bubbles);
// Points whose X is a day count, on a date axis (ToLocalMsecs).
void FillDatedSeries(QXYSeries* series, const std::vector<TPlotPoint>& points);

// A round step (1, 2 or 5 times a power of ten) cutting a span into at most about that many
// intervals.
double RoundTickStep(double span, double intervals);
// Fixes an axis at a range, with ticks at round steps (the chart view refines them to the
// axis' length on the screen).
void FixRange(QValueAxis* axis, TAxisRange range);
// The printf label format of a digit pattern: "#0.000" -> "%.3f", "#######" -> "%.0f".
QString LabelFormat(const std::string& pattern);

// A day count as the date and time it names, in local time, so that a date axis (which shows
// local time) reads the same calendar date as the station's files.
QDateTime ToDateTime(double dayCount);
// The same for many day counts at once, as milliseconds since the epoch (a date axis' values).
// The local time's offset is looked up once per change of it in the dates' span, not once per
// date: converting thousands of scans one by one makes the C library read the zone file anew
// for each of them.
QList<qreal> ToLocalMsecs(const std::vector<double>& dayCounts);

// A round marker of the given diameter in pixels. A scatter series with such a "light" marker
// paints its points itself, instead of making a graphics item for every point, which takes about
// a tenth of a second for a history of thousands of scans.
QImage RoundMarker(const QColor& colour, qreal diameter);

// A title of one or more lines ("\n" between them): the chart shows titles as rich text, where
// only a line break tag breaks a line.
void SetChartTitle(QChart* chart, const std::string& lines);

// The scan's counts as a curve in the colour given.
void PlotCounts(const TScan& scan, QXYSeries* series, const QColor& colour);
// A curve in the colour given on a chart whose axes follow it: the wavelengths it covers, its
// values with room around them.
void PlotCurve(const std::vector<TPlotPoint>& curve, QXYSeries* series, const QColor& colour,
               QValueAxis* bottom, QValueAxis* left);
// The deviations of a scan from its lamp's average as bubbles; none when they are not shown.
void PlotDeviationBubbles(const TScan& scan, TBubbleSeries* series, bool shown);

// Draws the response graph anew: every series of the chart is removed, then the curves are added
// on the two axes given, with the left axis' title, labels and range.
void PlotResponses(const TLampList& lamps, const TScan& response, QChart* chart, QValueAxis* bottom,
                   QValueAxis* left, const TScan* reference);

}  // namespace uvlamp::graphs
