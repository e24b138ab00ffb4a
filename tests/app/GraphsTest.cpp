// The graphs of the window, driven through its controls on the offscreen platform: made-up lamps
// where a case needs exact values, the example station where it needs a real response.
#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <QtTest/QtTest>
#include <clocale>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "WindowFixture.h"
#include "app/Browsers.h"
#include "app/MainForm.h"
#include "app/QtText.h"
#include "graphs/BubbleSeries.h"
#include "graphs/ChartFill.h"
#include "graphs/ChartView.h"
#include "scans/File.h"
#include "scans/Lamp.h"
#include "shell/Format.h"

using uvlamp::TFile;
using uvlamp::TLamp;
using uvlamp::TScan;
using uvlamp::app::TMainForm;
using uvlamp::app::ToQ;
using uvlamp::test::ClickRow;
using uvlamp::test::kQlFiles;
namespace fs = std::filesystem;
namespace test = uvlamp::test;

namespace {

struct TMadeScan {
    std::vector<double> Counts;
    std::vector<double> Deviation;
    double Temperature = 20;
    int Day = 1;  // of May 2020
};

// A lamp of made-up scans on the wavelengths given (angstroms); its average is its first scan.
std::unique_ptr<TLamp> MakeLamp(const std::string& name, const std::vector<double>& wavelengths,
                                const std::vector<TMadeScan>& scans, TFile* file) {
    const int n = static_cast<int>(wavelengths.size());
    auto lamp = std::make_unique<TLamp>(name);
    lamp->NPoints = n;
    lamp->ResizeDerived();
    for (const TMadeScan& made : scans) {
        auto scan = std::make_unique<TScan>(n, lamp.get(), file);
        for (int i = 1; i <= n; ++i) {
            const auto k = static_cast<std::size_t>(i - 1);
            scan->Wavelength[i] = wavelengths[k] / 10000;
            scan->Counts[i] = made.Counts[k];
            scan->Deviation[i] = made.Deviation.empty() ? 0 : made.Deviation[k];
        }
        scan->Temperature = made.Temperature;
        scan->SetDate(made.Day, 5, 2020, 12, 0, 0);
        scan->Selected = true;
        lamp->Scans.push_back(std::move(scan));
    }
    lamp->Average.CopyFrom(*lamp->Scans.front());
    lamp->Average.Distance = 50;
    for (int i = 1; i <= n; ++i) {
        lamp->Average.Deviation[i] = lamp->Scans.front()->Deviation[i];
    }
    return lamp;
}

QList<qreal> Ys(const QXYSeries* series) {
    QList<qreal> ys;
    for (const QPointF& p : series->points()) {
        ys << p.y();
    }
    return ys;
}

QList<qreal> Xs(const QXYSeries* series) {
    QList<qreal> xs;
    for (const QPointF& p : series->points()) {
        xs << p.x();
    }
    return xs;
}

QColor PointColour(const QXYSeries* series, int i) {
    return series->pointConfiguration(i)
        .value(QXYSeries::PointConfiguration::Color)
        .value<QColor>();
}

QLineSeries* ResponseSeries(const TMainForm& f, int i) {
    return qobject_cast<QLineSeries*>(f.RespGraph->chart()->series().at(i));
}

template <class... TLamps>
std::vector<std::unique_ptr<TLamp>> LampsOf(TLamps... lamps) {
    std::vector<std::unique_ptr<TLamp>> list;
    (list.push_back(std::move(lamps)), ...);
    return list;
}

void Activate(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

}  // namespace

class TGraphsTest : public QObject, public test::TWindowFixture {
    Q_OBJECT

  private:
    TFile file137_;

    // Made-up lamps in the window's lists; the first lamp is chosen.
    TMainForm& StartWith(std::vector<std::unique_ptr<TLamp>> lamps) {
        TMainForm& f = Start();
        for (auto& lamp : lamps) {
            f.Program.LampList.push_back(std::move(lamp));
        }
        f.FillLampLists();
        ClickRow(f.LampNames, 0);
        return f;
    }

    // The example station's lamps with a response calculated from them.
    TMainForm& StartWithResponse() {
        TMainForm& f = Start();
        [&] { QVERIFY(f.SelectIrrDir->SetDirectory(ToQ(station_->Path().string()))); }();
        Load(kQlFiles);
        QTest::mouseClick(f.CalcResponse, Qt::LeftButton);
        return f;
    }

  private slots:
    void init() {
        SetUpWindow();
        file137_.SetName("ql12320.137");
    }
    void cleanup() { TearDownWindow(); }

    void deviationsAreMarkedByClass() {
        // 0.5, 3 and 7 percent, then 0.2 and -3 percent again.
        TMainForm& f = StartWith(
            LampsOf(MakeLamp("L1", {3000, 3100, 3200, 3250, 3300},
                             {{{1000, 1000, 1000, 1000, 2000}, {0.5, 3, 7, 0.2, -3}}}, &file137_)));
        ClickRow(f.ScanNames, 0);

        const QColor green(0x00, 0x80, 0x00), yellow(0xFF, 0xFF, 0x00), red(0xFF, 0x00, 0x00);
        const QList<QColor> classes{green, yellow, red, green, yellow};
        const auto& bubbles = f.Series3->Bubbles();
        QCOMPARE(bubbles.size(), 5);
        const QList<qreal> radii{5, 30, 70, 2, 60};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(bubbles[i].Colour, classes[i]);
            QCOMPARE(bubbles[i].Radius, radii[i]);
            QCOMPARE(PointColour(f.Series5, i), classes[i]);
        }
        QCOMPARE(bubbles[4].Centre, QPointF(3300, 2000));
        // Drawn to the axis' scale once the page shows the chart.
        f.PageControl1->setCurrentWidget(f.TabSheet1);
        QCoreApplication::processEvents();
        QChart* chart = f.ScanGraph->chart();
        const QList<QRectF> circles = f.Series3->DrawnCircles();
        QCOMPARE(circles.size(), 5);
        const qreal pixelsPerCount = chart->plotArea().height() / (2100.0 - 950.0);
        QCOMPARE(circles[2].height(), 2 * 70 * pixelsPerCount);
        QCOMPARE(circles[2].center(), chart->mapToPosition(QPointF(3200, 1000), f.Series1));
        QCOMPARE(f.Series1->color(), QColor(Qt::blue));
        QCOMPARE(f.Series2->color(), green);
        QCOMPARE(Ys(f.Series2), (QList<qreal>{1000, 1000, 1000, 1000, 2000}));
        // The average's range with 5 % of room: every point of it lies inside the axis.
        QCOMPARE(f.ScanGraphLeftAxis->min(), 950.0);
        QCOMPARE(f.ScanGraphLeftAxis->max(), 2100.0);

        // "Show errors" unticked: no bubble, while the average's coloured points stay.
        QTest::mouseClick(f.DoBalls, Qt::LeftButton);
        QVERIFY(!f.DoBalls->isChecked());
        QVERIFY(f.Series3->Bubbles().isEmpty());
        QVERIFY(f.Series3->DrawnCircles().isEmpty());
        QCOMPARE(f.Series5->count(), 5);
        QCOMPARE(PointColour(f.Series5, 2), red);
    }

    void theRelativeGraphNamesBothScansAndTheirTemperatures() {
        // Day 123 of 2020 at 24.6 degrees against day 124 at 0.3 degrees.
        const std::vector<double> wavelengths{3000, 3100, 3200};
        TMainForm& f = StartWith(LampsOf(MakeLamp(
            "L1", wavelengths, {{{1000, 1000, 1000}, {}, 24.6, 2}, {{500, 500, 500}, {}, 0.3, 3}},
            &file137_)));
        ClickRow(f.ScanNames, 0);
        Activate(f.PlotScanRelativeTo, 1);

        QCOMPARE(Ys(f.Series4), (QList<qreal>{2, 2, 2}));
        QCOMPARE(f.Series4->color(), QColor(Qt::blue));
        QCOMPARE(f.RelativeScanGraph->chart()->title(),
                 QString::fromUtf8("Brewer #137 with lamp L1<br>Scan from day 12320 (25\u00B0C) "
                                   "relative to scan from day 12420 (\u00B0C)"));
        QVERIFY(f.RelativeScanGraphLeftAxis->min() < 2 && f.RelativeScanGraphLeftAxis->max() > 2);

        // Per degree: the change of the ratio over the 24.3 degrees between the scans.
        f.PageControl1->setCurrentWidget(f.TabSheet2);
        QTest::mouseClick(f.PerDegree, Qt::LeftButton);
        QVERIFY(f.PerDegree->isChecked());
        for (const qreal y : Ys(f.Series4)) {
            QCOMPARE(y, (2.0 - 1) / (24.6 - 0.3));
        }
        QVERIFY(f.RelativeScanGraph->chart()->title().endsWith("<br>Change per degree."));

        // Against itself per degree every point is 0, and the axis still has a span.
        Activate(f.PlotScanRelativeTo, 0);
        QCOMPARE(Ys(f.Series4), (QList<qreal>{0, 0, 0}));
        QVERIFY(f.RelativeScanGraphLeftAxis->min() < 0 && f.RelativeScanGraphLeftAxis->max() > 0);
        QVERIFY(f.RelativeScanGraph->chart()->title().contains(QString::fromUtf8(
            "day 12320 (25\u00B0C) relative to scan from day 12320 (25\u00B0C)")));

        // Loading other files takes the scans' graphs away with the lamps.
        f.Button1Click();
        QVERIFY(f.Program.LampList.empty());
        QCOMPARE(f.Series4->count(), 0);
        QVERIFY(f.RelativeScanGraph->chart()->title().isEmpty());
    }

    void theHistoryFollows3250AngstromOrTheLastPoint() {
        TMainForm& f = StartWith(LampsOf(
            MakeLamp("A", {3000, 3250, 3300},
                     {{{1, 200, 9}, {}, 20, 1}, {{1, 100, 9}, {}, 20, 2}, {{1, 300, 9}, {}, 20, 4}},
                     &file137_),
            MakeLamp("B", {3000, 3100, 3200}, {{{1, 1, 400}, {}, 20, 1}, {{1, 1, 800}, {}, 20, 2}},
                     &file137_)));
        QCOMPARE(Ys(f.Series9), (QList<qreal>{1, 0.5, 1.5}));
        const TLamp& a = *f.Program.LampList[0];
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(
                Xs(f.Series9)[k],
                qreal(uvlamp::graphs::ToDateTime(a.Scans[static_cast<std::size_t>(k)]->DateTime)
                          .toMSecsSinceEpoch()));
            QVERIFY(qreal(f.Chart1BottomAxis->min().toMSecsSinceEpoch()) < Xs(f.Series9)[k]);
            QVERIFY(qreal(f.Chart1BottomAxis->max().toMSecsSinceEpoch()) > Xs(f.Series9)[k]);
        }
        QCOMPARE(f.Chart1BottomAxis->format(), QString("MMM dd/yy"));
        QCOMPARE(uvlamp::graphs::ToDateTime(a.Scans[0]->DateTime).toString("MMM dd/yy"),
                 QString("May 01/20"));

        // No point at 3250 A: each scan's last point.
        ClickRow(f.LampNames, 1);
        QCOMPARE(Ys(f.Series9), (QList<qreal>{1, 2}));
    }

    void theResponseIsDrawnInEachMode() {
        TMainForm& f = StartWithResponse();
        const TScan& response = *f.Program.CurrentResponse;
        const int n = response.NPoints;
        const QStringList titles{"Avg", "L1031 (1000W)", "L1032 (1000W)", "L1033 (1000W)",
                                 "L1034 (1000W)"};
        const QList<QColor> colours{QColor(0xFF0000), QColor(0x0000FF), QColor(0x008000),
                                    QColor(0x00FF00), QColor(0x800080)};

        // After a calculation: absolute values.
        QVERIFY(f.RelativeToNone->isChecked());
        QCOMPARE(f.RespGraph->chart()->title(), QString("Response for #137, absolute values."));
        QCOMPARE(f.RespGraph->chart()->series().size(), 5);
        qreal highest = 0;
        for (int i = 0; i < 5; ++i) {
            QLineSeries* s = ResponseSeries(f, i);
            QCOMPARE(s->name(), titles[i]);
            QCOMPARE(s->pen().color(), colours[i]);
            QCOMPARE(s->pen().width(), 2);
            QCOMPARE(s->count(), n);
            for (const qreal y : Ys(s)) {
                highest = std::max(highest, y);
            }
        }
        QCOMPARE(Ys(ResponseSeries(f, 0))[n - 1], response.Counts[n]);
        QCOMPARE(f.RespGraphLeftAxis->titleText(), QString("Counts per second"));
        QCOMPARE(f.RespGraphLeftAxis->labelFormat(), QString("%.0f"));
        QCOMPARE(f.RespGraphLeftAxis->min(), 0.97);
        QCOMPARE(f.RespGraphLeftAxis->max(), 1.03 * highest);

        // The temperature coefficient is on its page.
        QCOMPARE(f.Series10->count(), n);
        QCOMPARE(f.Series10->color(), QColor(Qt::red));
        QCOMPARE(Ys(f.Series10)[0], response.TCoef[1]);

        // Relative to the average: "Avg" is 1 everywhere, each lamp its response over the average.
        QTest::mouseClick(f.RelativeToAvg, Qt::LeftButton);
        QCOMPARE(f.RespGraph->chart()->title(), QString("Response for #137 relative to average."));
        QCOMPARE(f.RespGraphLeftAxis->titleText(), QString("Ratio"));
        QCOMPARE(f.RespGraphLeftAxis->labelFormat(), QString("%.3f"));
        for (const qreal y : Ys(ResponseSeries(f, 0))) {
            QCOMPARE(y, 1.0);
        }
        const TLamp& l1033 = *f.Program.LampList[2];
        QCOMPARE(Ys(ResponseSeries(f, 3))[9], l1033.Response->Counts[10] / response.Counts[10]);
        QVERIFY(f.RespGraphLeftAxis->min() <= 0.97 && f.RespGraphLeftAxis->max() >= 1.03);

        // "Lamp" waits for a lamp to be picked; then that lamp's curve is 1 everywhere.
        QTest::mouseClick(f.RelativeToLamp, Qt::LeftButton);
        QVERIFY(f.RespReference->isEnabled());
        QCOMPARE(f.RespGraph->chart()->title(), QString("Response for #137 relative to average."));
        Activate(f.RespReference, 1);
        QCOMPARE(f.RespGraph->chart()->title(),
                 QString("Response for #137 relative to lamp L1032"));
        for (const qreal y : Ys(ResponseSeries(f, 2))) {
            QCOMPARE(y, 1.0);
        }

        // "File", cancelled: back to the average, without a reference file.
        op_->QueueFile(std::nullopt);
        QTest::mouseClick(f.RelativeToFile, Qt::LeftButton);
        QVERIFY(f.RelativeToAvg->isChecked());
        QVERIFY(!f.RespReference->isEnabled());
        QCOMPARE(f.RespGraph->chart()->title(), QString("Response for #137 relative to average."));

        // "File" on other wavelengths: every curve is on the file's 71 wavelengths.
        std::string text;
        for (int w = 2900; w <= 3600; w += 10) {
            text += uvlamp::Sprintf("%7.0f %9.3f\n", double(w), 1000.0);
        }
        test::WriteFile(station_->Path() / "ref.137", text);
        op_->QueueFile((station_->Path() / "ref.137").string());
        QTest::mouseClick(f.RelativeToFile, Qt::LeftButton);
        QVERIFY(f.RelativeToFile->isChecked());
        QCOMPARE(f.RespGraph->chart()->title(), QString("Response for #137 relative to ref.137"));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(ResponseSeries(f, i)->count(), 71);
            QCOMPARE(Xs(ResponseSeries(f, i)).front(), 2900.0);
            QCOMPARE(Xs(ResponseSeries(f, i)).back(), 3600.0);
        }
        QCOMPARE(f.Program.FileReference->NPoints, 71);
    }

    void lampColoursRepeatEveryEightAndAfterTwentyFour() {
        std::vector<std::unique_ptr<TLamp>> lamps;
        for (int k = 0; k < 26; ++k) {
            auto lamp = MakeLamp(uvlamp::Sprintf("L%02d", k), {3000, 3100},
                                 {{{1000, 1000}, {}, 20, 1}}, &file137_);
            lamp->Response = std::make_unique<TScan>(lamp->Average);
            lamps.push_back(std::move(lamp));
        }
        TMainForm& f = StartWith(std::move(lamps));
        f.Program.CurrentResponse = std::make_unique<TScan>(f.Program.LampList[0]->Average);
        f.RelativeToNone->setChecked(true);
        QCOMPARE(f.RespGraph->chart()->series().size(), 27);
        const QList<QPair<int, QColor>> expected{{0, QColor(0x0000FF)},  {1, QColor(0x008000)},
                                                 {5, QColor(0xFFFF00)},  {7, QColor(0xFF00FF)},
                                                 {8, QColor(0x0000FF)},  {23, QColor(0xFF00FF)},
                                                 {24, QColor(0x0000FF)}, {25, QColor(0x008000)}};
        for (const auto& [position, colour] : expected) {
            QCOMPARE(ResponseSeries(f, position + 1)->pen().color(), colour);
        }
        QCOMPARE(ResponseSeries(f, 25)->name(), QString("L24 (1000W)"));
    }

    void aUvresFileShowsTheLampSpectrum() {
        TMainForm& f = Start();
        Load({"ql_L1031.137"});
        ClickRow(f.LampNames, 0);
        ClickRow(f.ScanNames, 3);
        QVERIFY(!f.OpenUVRES->isEnabled());
        QTest::mouseClick(f.ApplyUVRES, Qt::LeftButton);
        QVERIFY(f.OpenUVRES->isEnabled() && f.UVRESname->isEnabled());

        op_->QueueFile((station_->Path() / "uvres137.dat").string());
        QTest::mouseClick(f.OpenUVRES, Qt::LeftButton);
        QVERIFY(f.Program.UvresResponse != nullptr);
        // Shown at once for the scan on the screen: its counts over the response at 2865 A.
        const TScan& scan = *f.Program.LampList[0]->Scans[3];
        QCOMPARE(f.Series8->count(), scan.NPoints);
        QCOMPARE(f.Series8->color(), QColor(Qt::red));
        QCOMPARE(f.Series8->points().front(), QPointF(2865, scan.Counts[1] / 5.811));

        // Unticking only disables the controls; the response stays in use.
        QTest::mouseClick(f.ApplyUVRES, Qt::LeftButton);
        QVERIFY(!f.OpenUVRES->isEnabled());
        ClickRow(f.ScanNames, 4);
        QCOMPARE(f.Series8->points().front().y(),
                 f.Program.LampList[0]->Scans[4]->Counts[1] / 5.811);

        // A file without a single pair: told, and no response is kept.
        test::WriteFile(station_->Path() / "empty.dat", "no numbers here\n");
        QTest::mouseClick(f.ApplyUVRES, Qt::LeftButton);
        op_->QueueFile((station_->Path() / "empty.dat").string());
        QTest::mouseClick(f.OpenUVRES, Qt::LeftButton);
        QVERIFY(f.Program.UvresResponse == nullptr);
        QVERIFY(op_->Messages().back().find("empty.dat") != std::string::npos);
        QCOMPARE(f.Series8->count(), 0);
    }

    void graphsAreSavedAsBmpOrPngAtTheirSize() {
        TMainForm& f = StartWithResponse();
        struct TCase {
            QToolButton* Button;
            QWidget* Page;
            QWidget* Tab;
            uvlamp::graphs::TChartView* View;
            const char* Name;
            QByteArray Format;
        };
        const QList<TCase> cases{
            {f.SaveScanGraph, f.TabScanGraph, f.TabSheet1, f.ScanGraph, "scan.bmp", "bmp"},
            {f.SpeedButton1, f.TabScanGraph, f.TabSheet2, f.RelativeScanGraph, "relative.png",
             "png"},
            {f.SaveRespGraph, f.TabRespGraph, nullptr, f.RespGraph, "response.PNG", "png"}};
        for (const TCase& c : cases) {
            f.Tabs->setCurrentWidget(c.Page);
            if (c.Tab != nullptr) {
                f.PageControl1->setCurrentWidget(c.Tab);
            }
            const fs::path path = station_->Path() / c.Name;
            op_->QueueFile(path.string());
            QTest::mouseClick(c.Button, Qt::LeftButton);
            QImageReader reader(ToQ(path.string()));
            QCOMPARE(reader.format(), c.Format);
            QCOMPARE(reader.size(), c.View->size());
        }

        op_->QueueFile((station_->Path() / "missing" / "scan.bmp").string());
        QTest::mouseClick(f.SaveRespGraph, Qt::LeftButton);
        QVERIFY(op_->Messages().back().rfind("Unable to write to ", 0) == 0);
    }

    void aDoubleClickReturnsToTheLampLastDrawn() {
        TMainForm& f = Start();
        Load(kQlFiles);
        f.PageControl1->setCurrentWidget(f.TabSheet1);
        ClickRow(f.LampNames, 0);
        ClickRow(f.LampNames, 1);
        const qreal low = f.ScanGraphLeftAxis->min();
        const qreal high = f.ScanGraphLeftAxis->max();
        f.ScanGraphLeftAxis->setRange(low + 1, low + 2);
        QTest::mouseDClick(f.ScanGraph->viewport(), Qt::LeftButton, {},
                           f.ScanGraph->viewport()->rect().center());
        QCOMPARE(f.ScanGraphLeftAxis->min(), low);
        QCOMPARE(f.ScanGraphLeftAxis->max(), high);
    }
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    TGraphsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "GraphsTest.moc"
