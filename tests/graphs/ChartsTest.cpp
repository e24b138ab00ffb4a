#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGraphicsEllipseItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QImageReader>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <cmath>
#include <ctime>
#include <memory>
#include <vector>

#include "graphs/BubbleSeries.h"
#include "graphs/ChartFill.h"
#include "graphs/ChartView.h"
#include "shell/DayCount.h"
#include "support/TestSupport.h"

namespace uvlamp::graphs {
namespace {

// A graph as the program draws one: wavelength in ångströms along the bottom, a value up the
// left, and a line series on both axes.
struct TGraph {
    TGraph() : chart(new QChart), view(chart) {
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        x->setRange(3000, 4000);
        y->setRange(0, 2000);
        line = Add(new QLineSeries);
    }

    template <typename TSeries>
    TSeries* Add(TSeries* series) {
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
        return series;
    }

    // Shows the view at a size and waits until the chart has laid out its plot area for it.
    bool LayOut(QSize size) {
        const QRectF before = chart->plotArea();
        view.resize(size);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view)) {
            return false;
        }
        return QTest::qWaitFor(
            [&] { return chart->plotArea().isValid() && chart->plotArea() != before; });
    }

    // Where a value of the axes lies in chart coordinates, worked out from the plot area alone.
    QPointF InChart(QPointF value) const {
        const QRectF area = chart->plotArea();
        return {area.left() + (value.x() - x->min()) / (x->max() - x->min()) * area.width(),
                area.bottom() - (value.y() - y->min()) / (y->max() - y->min()) * area.height()};
    }
    QPoint InViewport(QPointF value) const {
        return view.mapFromScene(chart->mapToScene(InChart(value)));
    }

    QChart* chart;
    TChartView view;
    QValueAxis* x = new QValueAxis;
    QValueAxis* y = new QValueAxis;
    QLineSeries* line = nullptr;
};

QList<QGraphicsEllipseItem*> Ellipses(const QChart* chart) {
    QList<QGraphicsEllipseItem*> ellipses;
    for (QGraphicsItem* item : chart->scene()->items()) {
        if (auto* ellipse = qgraphicsitem_cast<QGraphicsEllipseItem*>(item)) {
            ellipses.append(ellipse);
        }
    }
    return ellipses;
}

bool Near(QRectF a, QRectF b) {
    const auto close = [](qreal u, qreal v) { return std::abs(u - v) < 1e-3; };
    return close(a.left(), b.left()) && close(a.top(), b.top()) && close(a.width(), b.width()) &&
           close(a.height(), b.height());
}

// Channels of two colours within a few levels of each other (antialiasing, rounding).
bool Near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 &&
           std::abs(a.blue() - b.blue()) <= 3;
}

bool OneColour(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

class TChartsTest : public QObject {
    Q_OBJECT

  private slots:
    void BubbleIsSizedInAxisUnitsAndFollowsResizeAndZoom() {
        TGraph g;
        QVERIFY(g.LayOut({600, 400}));
        TBubbleSeries bubbles(g.chart, g.line);
        bubbles.Append({3500, 1000}, 100, Qt::blue);
        bubbles.Append({3100, 300}, 50, Qt::red);

        // Each circle's expected rect from the plot area and the axis ranges of the moment.
        const auto expected = [&](const TBubbleSeries::TBubble& b) {
            const QPointF c = g.InChart(b.Centre);
            const qreal r = b.Radius / (g.y->max() - g.y->min()) * g.chart->plotArea().height();
            return QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r);
        };
        const auto check = [&](const char* when) {
            const QList<QRectF> drawn = bubbles.DrawnCircles();
            if (drawn.size() != bubbles.Bubbles().size()) {
                return QString("%1: %2 circles").arg(when).arg(drawn.size());
            }
            for (qsizetype i = 0; i < drawn.size(); ++i) {
                const QRectF want = expected(bubbles.Bubbles()[i]);
                if (!Near(drawn[i], want)) {
                    return QString("%1: circle %2 at (%3, %4) %5 wide, expected (%6, %7) %8")
                        .arg(when)
                        .arg(i)
                        .arg(drawn[i].x())
                        .arg(drawn[i].y())
                        .arg(drawn[i].width())
                        .arg(want.x())
                        .arg(want.y())
                        .arg(want.width());
                }
            }
            return QString();
        };

        QCOMPARE(check("appended"), QString());
        // 100 of a 2000 span on a plot area a few hundred pixels high: a circle of some size.
        QVERIFY(bubbles.DrawnCircles()[0].width() > 20);

        QVERIFY(g.LayOut({800, 560}));
        QCOMPARE(check("resized"), QString());

        g.y->setRange(500, 1500);
        QCOMPARE(check("vertical range"), QString());
        g.x->setRange(3400, 3600);
        QCOMPARE(check("horizontal range"), QString());

        // The rubber band's zoom changes both axes at once.
        const QRectF area = g.chart->plotArea();
        g.chart->zoomIn(QRectF(area.left() + 40, area.top() + 30, 200, 120));
        QVERIFY(g.x->max() - g.x->min() < 200);
        QCOMPARE(check("zoomed"), QString());

        // The circles are clipped to the plot area, which follows the chart's layout.
        QGraphicsItem* clip = Ellipses(g.chart).value(0)->parentItem();
        QVERIFY(clip != nullptr);
        QVERIFY(clip->flags().testFlag(QGraphicsItem::ItemClipsChildrenToShape));
        QCOMPARE(clip->mapRectToParent(clip->boundingRect()), g.chart->plotArea());

        bubbles.Clear();
        QVERIFY(bubbles.Bubbles().isEmpty());
        QVERIFY(bubbles.DrawnCircles().isEmpty());
        QVERIFY(Ellipses(g.chart).isEmpty());
        bubbles.Append({3500, 1000}, 10, Qt::green);
        QCOMPARE(check("appended after clearing"), QString());
    }

    // Pixels of the picture: the line crosses the bubble on top of it, the bubble covers the plot
    // area's background but lets it show through.
    void BubblesLieAboveThePlotAreaAndBeneathTheCurves() {
        TGraph g;
        g.chart->legend()->hide();
        g.chart->setPlotAreaBackgroundBrush(Qt::green);
        g.chart->setPlotAreaBackgroundVisible(true);
        g.line->setPen(QPen(Qt::red, 7));
        g.line->append(3000, 1000);
        g.line->append(4000, 1000);
        QVERIFY(g.LayOut({600, 400}));
        // Curves added before and after the bubbles are both drawn over them.
        auto* anchor = g.Add(new QScatterSeries);
        TBubbleSeries bubbles(g.chart, anchor);
        bubbles.Append({3500, 1000}, 400, Qt::blue);
        auto* later = g.Add(new QLineSeries);
        later->setPen(QPen(Qt::magenta, 7));
        later->append(3500, 0);
        later->append(3500, 2000);
        QCoreApplication::processEvents();

        const QImage picture = g.view.grab().toImage();
        const auto pixel = [&](QPointF value) { return picture.pixelColor(g.InViewport(value)); };
        // Blue at alpha 170 over green.
        const QColor blended(0, 85, 170);
        QVERIFY2(Near(pixel({3400, 1200}), blended), qPrintable(pixel({3400, 1200}).name()));
        QVERIFY2(Near(pixel({3400, 1000}), Qt::red), qPrintable(pixel({3400, 1000}).name()));
        QVERIFY2(Near(pixel({3500, 1200}), Qt::magenta), qPrintable(pixel({3500, 1200}).name()));
        // Outside the circle the plot area is untouched.
        QVERIFY2(Near(pixel({3100, 1800}), Qt::green), qPrintable(pixel({3100, 1800}).name()));
    }

    void BubblesSurviveTheirChartTheirAnchorAndEachOther() {
        {
            // Deleted first, the bubbles take their circles with them.
            TGraph g;
            QVERIFY(g.LayOut({600, 400}));
            auto* bubbles = new TBubbleSeries(g.chart, g.line);
            bubbles->Append({3500, 1000}, 100, Qt::blue);
            QCOMPARE(Ellipses(g.chart).size(), 1);
            delete bubbles;
            QVERIFY(Ellipses(g.chart).isEmpty());
            QVERIFY(!g.view.grab().isNull());
        }
        {
            // The chart owns the bubbles and deletes them, its items once only.
            QPointer<TBubbleSeries> bubbles;
            {
                TGraph g;
                bubbles = new TBubbleSeries(g.chart, g.line);
                bubbles->Append({3500, 1000}, 100, Qt::blue);
            }
            QVERIFY(bubbles.isNull());
        }
        {
            // The anchor deleted (the program redraws by removing every series): the circles
            // hide, and placing them again after a resize does not touch the old series.
            TGraph g;
            QVERIFY(g.LayOut({600, 400}));
            TBubbleSeries bubbles(g.chart, g.line);
            bubbles.Append({3500, 1000}, 100, Qt::blue);
            g.chart->removeAllSeries();
            QVERIFY(g.LayOut({700, 450}));
            g.y->setRange(0, 100);
            QVERIFY(bubbles.DrawnCircles().isEmpty());
            QCOMPARE(bubbles.Bubbles().size(), 1);
            QCOMPARE(Ellipses(g.chart).size(), 1);
            for (const QGraphicsEllipseItem* circle : Ellipses(g.chart)) {
                QVERIFY(!circle->isVisible());
            }
            bubbles.Append({3500, 1000}, 100, Qt::blue);
            bubbles.Clear();
            QVERIFY(Ellipses(g.chart).isEmpty());
        }
    }

    void ZoomReturnsToTheRememberedRanges_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("returns");
        QTest::newRow("double click") << "double click" << true;
        QTest::newRow("Escape") << "Escape" << true;
        QTest::newRow("Home") << "Home" << true;
        QTest::newRow("another key") << "A" << false;
        QTest::newRow("right double click") << "right double click" << false;
    }
    void ZoomReturnsToTheRememberedRanges() {
        QFETCH(QString, how);
        QFETCH(bool, returns);
        TGraph g;
        QVERIFY(g.LayOut({600, 400}));
        // The first ranges are not the home: the program remembers after every redraw.
        g.view.RememberHome();
        g.x->setRange(3200, 3800);
        g.y->setRange(100, 900);
        g.view.RememberHome();
        const QRectF area = g.chart->plotArea();
        g.chart->zoomIn(QRectF(area.center(), QSizeF(60, 40)));
        const QPair<qreal, qreal> zoomedX(g.x->min(), g.x->max());
        QVERIFY(zoomedX.second - zoomedX.first < 300);

        QWidget* viewport = g.view.viewport();
        const QPoint inside = area.center().toPoint() + QPoint(10, 10);
        if (how == "double click") {
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, inside);
        } else if (how == "right double click") {
            // The right button zooms out on release, so the ranges change, but not home.
            QTest::mouseDClick(viewport, Qt::RightButton, {}, inside);
        } else if (how == "Escape") {
            QTest::keyClick(&g.view, Qt::Key_Escape);
        } else if (how == "Home") {
            QTest::keyClick(&g.view, Qt::Key_Home);
        } else {
            QTest::keyClick(&g.view, Qt::Key_A);
        }
        const bool atHome =
            g.x->min() == 3200 && g.x->max() == 3800 && g.y->min() == 100 && g.y->max() == 900;
        QCOMPARE(atHome, returns);
        if (!returns && how == "A") {
            QCOMPARE(g.x->min(), zoomedX.first);
            QCOMPARE(g.x->max(), zoomedX.second);
        }
    }

    void DraggingZoomsInTheRightButtonOutAndHomeReturns() {
        TGraph g;
        QVERIFY(g.LayOut({600, 400}));
        g.view.RememberHome();
        QWidget* viewport = g.view.viewport();
        const QPoint from = g.InViewport({3200, 1500});
        const QPoint to = g.InViewport({3400, 1000});
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, (from + to) / 2);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        // Pixels are whole: the zoom lands within a pixel's worth of the values dragged over.
        QVERIFY2(std::abs(g.x->min() - 3200) < 5 && std::abs(g.x->max() - 3400) < 5,
                 qPrintable(QString("%1 - %2").arg(g.x->min()).arg(g.x->max())));
        QVERIFY2(std::abs(g.y->min() - 1000) < 10 && std::abs(g.y->max() - 1500) < 10,
                 qPrintable(QString("%1 - %2").arg(g.y->min()).arg(g.y->max())));

        const qreal zoomedSpan = g.x->max() - g.x->min();
        QTest::mouseClick(viewport, Qt::RightButton, {}, g.chart->plotArea().center().toPoint());
        QVERIFY(g.x->max() - g.x->min() > zoomedSpan * 1.5);

        QTest::keyClick(&g.view, Qt::Key_Home);
        QCOMPARE(g.x->min(), 3000.0);
        QCOMPARE(g.x->max(), 4000.0);
        QCOMPARE(g.y->min(), 0.0);
        QCOMPARE(g.y->max(), 2000.0);
    }

    void DateAxisReturnsToItsRememberedDates() {
        auto* chart = new QChart;
        TChartView view(chart);
        auto* dates = new QDateTimeAxis;
        auto* values = new QValueAxis;
        chart->addAxis(dates, Qt::AlignBottom);
        chart->addAxis(values, Qt::AlignLeft);
        auto* series = new QLineSeries;
        chart->addSeries(series);
        series->attachAxis(dates);
        series->attachAxis(values);
        const QDateTime first(QDate(2023, 3, 14), QTime(6, 30, 15, 250), Qt::LocalTime);
        const QDateTime last(QDate(2024, 11, 2), QTime(18, 0), Qt::LocalTime);
        series->append(qreal(first.toMSecsSinceEpoch()), 1);
        series->append(qreal(last.toMSecsSinceEpoch()), 2);
        dates->setRange(first, last);
        values->setRange(0, 3);
        view.resize(600, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(QTest::qWaitFor([&] { return chart->plotArea().isValid(); }));
        view.RememberHome();

        chart->zoomIn(QRectF(chart->plotArea().center(), QSizeF(50, 50)));
        QVERIFY(dates->min() > first && dates->max() < last);
        view.ResetZoom();
        QCOMPARE(dates->min(), first);
        QCOMPARE(dates->max(), last);
        QCOMPARE(values->min(), 0.0);
        QCOMPARE(values->max(), 3.0);
    }

    void HoverTextNamesTheNearestVisiblePoint_data() {
        QTest::addColumn<QPointF>("at");     // axis values
        QTest::addColumn<QPoint>("offset");  // pixels
        QTest::addColumn<QString>("text");
        const QString lamp = QString::fromUtf8("Lamp 1031: 3250 \u00C5, 1234.5");
        QTest::newRow("on the point") << QPointF(3250, 1234.5) << QPoint(0, 0) << lamp;
        QTest::newRow("7 pixels below") << QPointF(3250, 1234.5) << QPoint(0, 7) << lamp;
        QTest::newRow("7 pixels aslant") << QPointF(3250, 1234.5) << QPoint(5, -5) << lamp;
        QTest::newRow("9 pixels above") << QPointF(3250, 1234.5) << QPoint(0, -9) << QString();
        QTest::newRow("10 pixels aslant") << QPointF(3250, 1234.5) << QPoint(-7, 7) << QString();
        QTest::newRow("nothing near") << QPointF(3800, 1500) << QPoint(0, 0) << QString();
        QTest::newRow("nearer the named point") << QPointF(3600, 500) << QPoint(-2, 0)
                                                << QString::fromUtf8("Lamp 1031: 3600 \u00C5, 500");
        QTest::newRow("nearer the unnamed point")
            << QPointF(3600, 500) << QPoint(5, 0) << QString::fromUtf8("3612 \u00C5, 500");
        QTest::newRow("six digits") << QPointF(3700, 0.000123456789) << QPoint(0, 0)
                                    << QString::fromUtf8("3700 \u00C5, 0.000123457");
        QTest::newRow("at the plot area's corner")
            << QPointF(4000, 2000) << QPoint(0, 0)
            << QString::fromUtf8("Lamp 1031: 4000 \u00C5, 2000");
        QTest::newRow("hidden series") << QPointF(3400, 800) << QPoint(0, 0) << QString();
    }
    void HoverTextNamesTheNearestVisiblePoint() {
        QFETCH(QPointF, at);
        QFETCH(QPoint, offset);
        QFETCH(QString, text);
        TGraph g;
        g.line->setName("Lamp 1031");
        g.line->append({{3250, 1234.5}, {3600, 500}, {4000, 2000}});
        g.Add(new QScatterSeries)->append({{3612, 500}, {3700, 0.000123456789}});
        auto* hidden = g.Add(new QLineSeries);
        hidden->setName("Hidden");
        hidden->append(3400, 800);
        hidden->hide();
        QVERIFY(g.LayOut({600, 400}));
        // The pixel distances in the table need the scale they were chosen for.
        QVERIFY(g.chart->plotArea().width() > 400 && g.chart->plotArea().width() < 600);

        QCOMPARE(g.view.HoverText(g.InViewport(at) + offset), text);
    }

    void HoverTextUsesTheXTextAndIgnoresPointsZoomedAway() {
        TGraph g;
        g.line->append({{3250, 1234.5}, {3990, 1000}});
        QVERIFY(g.LayOut({600, 400}));
        const QPoint point = g.InViewport({3250, 1234.5});
        QCOMPARE(g.view.HoverText(point), QString::fromUtf8("3250 \u00C5, 1234.5"));

        g.view.SetXText([](double x) { return QString("day %1").arg(x); });
        QCOMPARE(g.view.HoverText(point), QString("day 3250, 1234.5"));
        g.view.SetXText({});
        QCOMPARE(g.view.HoverText(point), QString::fromUtf8("3250 \u00C5, 1234.5"));

        // Zoomed to 3000-3980, the point at 3990 lies a few pixels right of the plot area, out
        // of sight: it must not answer.
        g.x->setRange(3000, 3980);
        const QPoint outside = g.InViewport({3990, 1000});
        QVERIFY(outside.x() >
                g.view.mapFromScene(g.chart->mapToScene(g.chart->plotArea().topRight())).x());
        QCOMPARE(g.view.HoverText(outside), QString());
    }

    // Whether the tip hides again away from the points cannot be seen here: on the offscreen
    // platform a tip closes by itself after about a second.
    void MovingTheMouseShowsTheHoverTextInATip() {
        TGraph g;
        g.line->setName("Lamp 7");
        g.line->append({{3250, 1234.5}, {3600, 500}});
        QVERIFY(g.LayOut({600, 400}));
        QTest::mouseMove(g.view.viewport(), g.InViewport({3250, 1234.5}));
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString::fromUtf8("Lamp 7: 3250 \u00C5, 1234.5"));
        QTest::mouseMove(g.view.viewport(), g.InViewport({3600, 500}));
        QTRY_COMPARE(QToolTip::text(), QString::fromUtf8("Lamp 7: 3600 \u00C5, 500"));
    }

    void SavedPictureHasTheFormatOfItsName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("bmp") << "graph.bmp" << QByteArray("bmp");
        QTest::newRow("PNG") << "graph.PNG" << QByteArray("png");
        QTest::newRow("png") << "graph.png" << QByteArray("png");
        QTest::newRow("no extension") << "graph" << QByteArray("bmp");
        QTest::newRow("png not at the end") << "graph.png.old" << QByteArray("bmp");
    }
    void SavedPictureHasTheFormatOfItsName() {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TGraph g;
        g.line->append({{3000, 0}, {4000, 2000}});
        // Never shown: the program saves graphs of pages not on screen.
        g.view.resize(520, 310);
        const QString path = dir.filePath(name);

        QVERIFY(SaveChartPicture(&g.view, path));
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), format);
        const QImage picture = reader.read();
        QCOMPARE(picture.size(), QSize(520, 310));
        // Not a blank picture: the chart's axes and line are in it.
        QVERIFY(!OneColour(picture));
    }

    void SavingIntoAMissingFolderFails() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TGraph g;
        g.view.resize(300, 200);
        const QString path = dir.filePath("missing/graph.bmp");
        QVERIFY(!SaveChartPicture(&g.view, path));
        QVERIFY(!QFile::exists(path));
    }

    void AFailedSaveLeavesTheEarlierPictureAsItWas() {
        TGraph g;
        g.line->append({{3000, 0}, {4000, 2000}});
        g.view.resize(300, 200);
        for (const uvlamp::test::TWriteTrouble trouble : uvlamp::test::WriteTroubles()) {
            uvlamp::test::TTempDir dir;
            const std::filesystem::path path = dir / "graph.bmp";
            uvlamp::test::WriteFile(path, "earlier picture");
            std::filesystem::permissions(path, std::filesystem::perms::all);
            const uvlamp::test::TFolderSnapshot before = uvlamp::test::Snapshot(dir.Path());
            bool saved = true;
            {
                uvlamp::test::TFailingWrites failing(dir, trouble);
                saved = SaveChartPicture(&g.view, QString::fromStdString(path.string()));
            }
            QVERIFY2(!saved, uvlamp::test::TroubleName(trouble));
            QVERIFY2(uvlamp::test::Snapshot(dir.Path()) == before,
                     uvlamp::test::TroubleName(trouble));
        }
    }

    void TicksAreRoundAndAsManyAsTheAxisLengthLabels() {
        TGraph g;
        for (QValueAxis* axis : {g.x, g.y}) {
            axis->setTickType(QValueAxis::TicksDynamic);
            axis->setTickInterval(1);  // a thousand labels, if it stayed
        }
        QVERIFY(g.LayOut(QSize(300, 200)));
        const qreal narrow = g.x->tickInterval();
        QVERIFY(1000 / narrow <= g.chart->plotArea().width() / 60);
        QVERIFY(2000 / g.y->tickInterval() <= g.chart->plotArea().height() / 25);
        QVERIFY(g.LayOut(QSize(1200, 800)));
        QVERIFY(g.x->tickInterval() < narrow);
        // A zoom into a tenth of the range keeps about as many ticks, at a tenth of the step.
        const qreal wide = g.x->tickInterval();
        g.x->setRange(3000, 3100);
        g.view.RememberHome();
        QCOMPARE(g.x->tickInterval(), wide / 10);
        for (const qreal step : {narrow, wide, g.y->tickInterval()}) {
            const qreal magnitude = std::pow(10, std::floor(std::log10(step)));
            QVERIFY2(QList<qreal>({1, 2, 5}).contains(step / magnitude),
                     qPrintable(QString::number(step)));
        }
    }

    void DatesReadAsTheLocalClockAcrossSummerTime() {
        // A zone with summer time, whatever the machine's own: 2024 switched on 31 March at 02:00
        // and back on 27 October at 03:00.
        const QByteArray machineZone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
        const double march30 = EncodeDate(2024, 3, 30);
        const std::vector<double> days{march30 + 0.5, march30 + 1.5, march30 + 1.0 + 1.0 / 24,
                                       EncodeDate(2024, 10, 27) + 0.5, EncodeDate(2024, 10, 28)};
        const QList<qreal> msecs = ToLocalMsecs(days);
        QCOMPARE(msecs.size(), qsizetype(days.size()));
        for (std::size_t k = 0; k < days.size(); ++k) {
            QCOMPARE(msecs[qsizetype(k)], qreal(ToDateTime(days[k]).toMSecsSinceEpoch()));
        }
        // Noon in winter is 11:00 UTC, in summer 10:00 UTC.
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(qint64(msecs[0]), Qt::UTC).time(), QTime(11, 0));
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(qint64(msecs[1]), Qt::UTC).time(), QTime(10, 0));
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(qint64(msecs[4]), Qt::UTC).time(), QTime(23, 0));
        if (machineZone.isNull()) {
            qunsetenv("TZ");
        } else {
            qputenv("TZ", machineZone);
        }
        tzset();
    }
};

}  // namespace uvlamp::graphs

QTEST_MAIN(uvlamp::graphs::TChartsTest)
#include "ChartsTest.moc"
