// The window's controls: what each one is, its caption, its first state and where it sits. Nothing
// here reacts to the operator; the handlers are connected once everything exists.

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDateTime>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSizePolicy>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <array>
#include <cstddef>
#include <initializer_list>

#include "app/Browsers.h"
#include "app/MainForm.h"
#include "app/UpDown.h"
#include "graphs/BubbleSeries.h"
#include "graphs/ChartFill.h"
#include "graphs/ChartView.h"

namespace uvlamp::app {

namespace {

constexpr int kLeftColumnWidth = 312;
constexpr int kBrowserHeight = 112;
constexpr int kNumberEditWidth = 50;
constexpr int kShortEditWidth = 42;
constexpr int kSpacing = 4;
constexpr double kShortestWavelength = 2800;
constexpr double kLongestWavelength = 3700;

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kPeach(240, 202, 166);

constexpr const char* kSaveGraphHint = "Save this graph as BMP file.";
constexpr const char* kOneLampHint =
    "Calculate IRR files for all lamps using the selected as reference.";
constexpr const char* kAverageHint =
    "Calculate IRR file for the selected lamp using the average of the rest as reference.";

template <class TObject>
TObject* Named(TObject* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// The lamp and scan lines are columns under their header labels, so they need a font whose
// characters all have one width, at the size of the rest of the window.
QFont FixedPitchFont() {
    const QString preferred = QStringLiteral("Courier New");
    QFont font = QFontDatabase::families().contains(preferred)
                     ? QFont(preferred)
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFixedPitch(true);
    const QFont base = QApplication::font();
    if (base.pointSizeF() > 0) {
        font.setPointSizeF(base.pointSizeF());
    } else if (base.pixelSize() > 0) {
        font.setPixelSize(base.pixelSize());
    }
    return font;
}

// Lists draw their lines with the Text role, labels theirs with WindowText.
void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* NewLabel(QWidget* parent, const char* name, const char* text) {
    return Named(new QLabel(QString::fromLatin1(text), parent), name);
}

QCheckBox* NewCheckBox(QWidget* parent, const char* name, const char* text, bool checked = false) {
    auto* box = Named(new QCheckBox(QString::fromLatin1(text), parent), name);
    box->setChecked(checked);
    return box;
}

QRadioButton* NewRadio(QWidget* parent, const char* name, const char* text, bool checked = false) {
    auto* radio = Named(new QRadioButton(QString::fromLatin1(text), parent), name);
    radio->setChecked(checked);
    return radio;
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* text) {
    return Named(new QPushButton(QString::fromLatin1(text), parent), name);
}

QLineEdit* NewEdit(QWidget* parent, const char* name, const char* text = "") {
    return Named(new QLineEdit(QString::fromLatin1(text), parent), name);
}

// A short number: narrow, so that a row of them fits beside their labels.
QLineEdit* NewNumberEdit(QWidget* parent, const char* name, const char* text = "") {
    QLineEdit* edit = NewEdit(parent, name, text);
    edit->setFixedWidth(kNumberEditWidth);
    return edit;
}

// A drop-down list to pick from (nothing can be typed). It starts narrow and does not grow with
// whatever is put into it later.
QComboBox* NewPickList(QWidget* parent, const char* name, int characters = 10) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->setEditable(false);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(characters);
    return combo;
}

QToolButton* NewImageButton(QWidget* parent, const char* name) {
    auto* button = Named(new QToolButton(parent), name);
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DialogSaveButton));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setToolTip(QString::fromLatin1(kSaveGraphHint));
    return button;
}

QHBoxLayout* NewRow(QBoxLayout* column) {
    auto* row = new QHBoxLayout;
    row->setSpacing(kSpacing + 2);
    column->addLayout(row);
    return row;
}

void AddAll(QBoxLayout* row, std::initializer_list<QWidget*> widgets) {
    for (QWidget* widget : widgets) {
        row->addWidget(widget);
    }
}

QVBoxLayout* NewColumn(QWidget* owner, int margin) {
    auto* column = new QVBoxLayout(owner);
    column->setContentsMargins(margin, margin, margin, margin);
    column->setSpacing(kSpacing);
    return column;
}

// A page whose controls need more room than a small window leaves: they scroll instead of being
// squeezed over one another. Returns the widget the controls go on.
QWidget* ScrollingContent(QWidget* page) {
    auto* pageColumn = new QVBoxLayout(page);
    pageColumn->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(page);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);
    scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    pageColumn->addWidget(scroll);
    return content;
}

graphs::TChartView* NewChartView(QWidget* parent, const char* name) {
    auto* chart = new QChart;
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    // Without this the view's grey shows as a frame around the chart.
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    auto* view = Named(new graphs::TChartView(chart, parent), name);
    view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    view->setMinimumSize(120, 100);
    return view;
}

QValueAxis* NewValueAxis(QChart* chart, Qt::Alignment side, const char* name, const char* title,
                         const char* format = nullptr) {
    auto* axis = Named(new QValueAxis, name);
    axis->setTitleText(QString::fromLatin1(title));
    if (format != nullptr) {
        axis->setLabelFormat(QString::fromLatin1(format));
    }
    chart->addAxis(axis, side);
    return axis;
}

// Wavelength axes are in angstroms; an empty chart shows the range the lamp scans cover.
QValueAxis* NewWavelengthAxis(QChart* chart, const char* name, const char* title) {
    QValueAxis* axis = NewValueAxis(chart, Qt::AlignBottom, name, title, "%.0f");
    axis->setRange(kShortestWavelength, kLongestWavelength);
    return axis;
}

template <class TSeries>
TSeries* NewSeries(QChart* chart, const char* name, QAbstractAxis* bottom, QAbstractAxis* left) {
    auto* series = Named(new TSeries, name);
    chart->addSeries(series);
    series->attachAxis(bottom);
    series->attachAxis(left);
    return series;
}

// A chart with small controls over its lower left corner, where the axes leave room. The corner
// widget shares the chart's grid cell, so it follows the corner when the chart resizes.
struct TChartFrame {
    QWidget* Frame = nullptr;
    QGridLayout* Grid = nullptr;
    QWidget* Corner = nullptr;
    QHBoxLayout* CornerRow = nullptr;
};

TChartFrame NewChartFrame(QWidget* parent) {
    TChartFrame frame;
    frame.Frame = new QWidget(parent);
    frame.Grid = new QGridLayout(frame.Frame);
    frame.Grid->setContentsMargins(0, 0, 0, 0);
    frame.Corner = new QWidget(frame.Frame);
    frame.CornerRow = new QHBoxLayout(frame.Corner);
    frame.CornerRow->setContentsMargins(2, 2, 2, 2);
    frame.CornerRow->setSpacing(kSpacing);
    return frame;
}

void Mount(const TChartFrame& frame, graphs::TChartView* view) {
    frame.Grid->addWidget(view, 0, 0);
    frame.Grid->addWidget(frame.Corner, 0, 0, Qt::AlignLeft | Qt::AlignBottom);
    frame.Corner->raise();
    // Keep the bottom axis' title clear of the corner controls.
    view->chart()->setMargins(QMargins(4, 4, 4, frame.Corner->sizeHint().height()));
}

}  // namespace

void TMainForm::BuildControls() {
    setWindowTitle(QStringLiteral("UV lamp processing"));
    setMinimumSize(620, 440);
    resize(805, 440);

    const QFont fixedFont = FixedPitchFont();

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* centralRow = new QHBoxLayout(central);
    centralRow->setContentsMargins(kSpacing, kSpacing, kSpacing, 0);
    centralRow->setSpacing(kSpacing);

    // ---- Left column: browsing, the lamp and scan lists, the selection controls.
    auto* left = new QWidget(central);
    left->setFixedWidth(kLeftColumnWidth);
    QVBoxLayout* leftColumn = NewColumn(left, 0);
    centralRow->addWidget(left);

    QHBoxLayout* driveRow = NewRow(leftColumn);
    DriveComboBox1 = Named(new TDriveComboBox(left), "DriveComboBox1");
    DriveComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    DriveComboBox1->setMinimumContentsLength(8);
    FilterComboBox1 = NewPickList(left, "FilterComboBox1", 8);
    const char* const filters[][2] = {{"QL files", "ql??????.???"},
                                      {"XL files", "xl?????.???"},
                                      {"UL files", "ul?????.???"},
                                      {"QS files", "lamp????.???"},
                                      {"All", "?l*.*"}};
    for (const auto& filter : filters) {
        FilterComboBox1->addItem(QString::fromLatin1(filter[0]), QString::fromLatin1(filter[1]));
    }
    FilterComboBox1->setCurrentIndex(0);
    driveRow->addWidget(DriveComboBox1, 1);
    driveRow->addWidget(FilterComboBox1, 1);

    // The directory list, with the instrument filter above the file list to its right; the
    // block keeps its height so that the lamp and scan lists get what the window adds.
    auto* browse = new QWidget(left);
    browse->setFixedHeight(kBrowserHeight);
    auto* browseRow = new QHBoxLayout(browse);
    browseRow->setContentsMargins(0, 0, 0, 0);
    browseRow->setSpacing(kSpacing);
    DirectoryListBox1 = Named(new TDirectoryListBox(browse), "DirectoryListBox1");
    browseRow->addWidget(DirectoryListBox1, 1);
    auto* filesColumn = new QVBoxLayout;
    filesColumn->setSpacing(kSpacing);
    Instruments = Named(new QComboBox(browse), "Instruments");
    Instruments->setEditable(true);
    Instruments->setInsertPolicy(QComboBox::NoInsert);
    Instruments->addItem(QStringLiteral("All"));
    Instruments->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Instruments->setMinimumContentsLength(4);
    filesColumn->addWidget(Instruments);
    FileListBox1 = Named(new TFileListBox(browse), "FileListBox1");
    filesColumn->addWidget(FileListBox1, 1);
    browseRow->addLayout(filesColumn, 1);
    leftColumn->addWidget(browse);

    Label1 = NewLabel(left, "Label1", "Name      scans      std");
    Label1->setFont(fixedFont);
    SetTextColour(Label1, kNavy);
    Label1->setToolTip(QStringLiteral(
        "Last column is the relative standard deviation of the mean for selected scans."));
    leftColumn->addWidget(Label1);
    LampNames = Named(new QListWidget(left), "LampNames");
    // One line of one font per item: uniform rows spare Qt measuring thousands of them.
    LampNames->setUniformItemSizes(true);
    LampNames->setFont(fixedFont);
    SetTextColour(LampNames, kNavy);
    LampNames->setSelectionMode(QAbstractItemView::SingleSelection);
    LampNames->setMinimumHeight(40);
    leftColumn->addWidget(LampNames, 1);

    Label9 = NewLabel(left, "Label9", "JulDay        T        dev");
    Label9->setFont(fixedFont);
    SetTextColour(Label9, kBlue);
    Label9->setToolTip(QStringLiteral("Last column is the maximum ratio to the mean, in %."));
    leftColumn->addWidget(Label9);
    ScanNames = Named(new QListWidget(left), "ScanNames");
    ScanNames->setUniformItemSizes(true);
    ScanNames->setFont(fixedFont);
    SetTextColour(ScanNames, kBlue);
    ScanNames->setSelectionMode(QAbstractItemView::SingleSelection);
    ScanNames->setMinimumHeight(40);
    leftColumn->addWidget(ScanNames, 1);

    // The day and temperature rows are filled to the column's width: the two buttons may shrink a
    // little under a wide font rather than push the row out of the column.
    QHBoxLayout* dayRow = NewRow(leftColumn);
    dayRow->setSpacing(kSpacing);
    SelectJdCheckBox = NewCheckBox(left, "SelectJdCheckBox", "Select");
    SelectedJdEdit = NewNumberEdit(left, "SelectedJdEdit");
    SelectedJdEdit->setFixedWidth(kShortEditWidth);
    SelectedJdEdit->setEnabled(false);
    Label3 = NewLabel(left, "Label3", "day");
    SelectAll = NewButton(left, "SelectAll", "Select all");
    SelectNone = NewButton(left, "SelectNone", "Select none");
    SelectAll->setMinimumWidth(60);
    SelectNone->setMinimumWidth(60);
    dayRow->addWidget(SelectJdCheckBox);
    dayRow->addWidget(SelectedJdEdit);
    dayRow->addWidget(Label3);
    dayRow->addStretch(1);
    dayRow->addWidget(SelectAll);
    dayRow->addWidget(SelectNone);

    QHBoxLayout* temperatureRow = NewRow(leftColumn);
    LimitTe = NewCheckBox(left, "LimitTe", "Limit temperature");
    Label5 = NewLabel(left, "Label5", "from");
    TeFrom = NewNumberEdit(left, "TeFrom");
    TeFrom->setFixedWidth(kShortEditWidth);
    Label8 = NewLabel(left, "Label8", "to");
    TeTo = NewNumberEdit(left, "TeTo");
    TeTo->setFixedWidth(kShortEditWidth);
    temperatureRow->addWidget(LimitTe);
    temperatureRow->addStretch(1);
    temperatureRow->addWidget(Label5);
    temperatureRow->addWidget(TeFrom);
    temperatureRow->addWidget(Label8);
    temperatureRow->addWidget(TeTo);
    leftColumn->addSpacing(2);

    // ---- The pages.
    Tabs = Named(new QTabWidget(central), "Tabs");
    // Tabs that do not fit scroll rather than lose their captions.
    Tabs->setElideMode(Qt::ElideNone);
    Tabs->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    centralRow->addWidget(Tabs, 1);
    TabScanGraph = Named(new QWidget(Tabs), "TabScanGraph");
    TabRespGraph = Named(new QWidget(Tabs), "TabRespGraph");
    TabCalc = Named(new QWidget(Tabs), "TabCalc");
    TabSettings = Named(new QWidget(Tabs), "TabSettings");
    TC = Named(new QWidget(Tabs), "TC");
    Tabs->addTab(TabScanGraph, QStringLiteral("Scan graphs"));
    Tabs->addTab(TabRespGraph, QStringLiteral("Response graphs"));
    Tabs->addTab(TabCalc, QStringLiteral("Calculations"));
    Tabs->addTab(TabSettings, QStringLiteral("Settings"));
    Tabs->addTab(TC, QStringLiteral("TC"));
    Tabs->setCurrentWidget(TabScanGraph);

    // ---- "Scan graphs".
    QVBoxLayout* scanGraphColumn = NewColumn(TabScanGraph, kSpacing);
    PageControl1 = Named(new QTabWidget(TabScanGraph), "PageControl1");
    PageControl1->setElideMode(Qt::ElideNone);
    scanGraphColumn->addWidget(PageControl1);
    TabSheet1 = Named(new QWidget(PageControl1), "TabSheet1");
    TabSheet2 = Named(new QWidget(PageControl1), "TabSheet2");
    TabSheet3 = Named(new QWidget(PageControl1), "TabSheet3");
    TabSheet4 = Named(new QWidget(PageControl1), "TabSheet4");
    PageControl1->addTab(TabSheet1, QStringLiteral("Absolute"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Relative"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Lamp spectrum"));
    PageControl1->addTab(TabSheet4, QStringLiteral("Lamp history"));

    // "Absolute": the chosen scan over the lamp's average, deviations marked.
    {
        QVBoxLayout* column = NewColumn(TabSheet1, 0);
        const TChartFrame frame = NewChartFrame(TabSheet1);
        ScanGraph = NewChartView(frame.Frame, "ScanGraph");
        QChart* chart = ScanGraph->chart();
        chart->setBackgroundBrush(QBrush(Qt::white));
        ScanGraph->setBackgroundBrush(QBrush(Qt::white));
        chart->legend()->setVisible(false);
        ScanGraphBottomAxis = NewWavelengthAxis(chart, "ScanGraphBottomAxis", "Wavelength, A");
        ScanGraphLeftAxis =
            NewValueAxis(chart, Qt::AlignLeft, "ScanGraphLeftAxis", "Counts per second", "%.0f");
        ScanGraphLeftAxis->setRange(0, 1000);
        Series1 = NewSeries<QLineSeries>(chart, "Series1", ScanGraphBottomAxis, ScanGraphLeftAxis);
        // The bubbles are drawn beneath the curves, on the axes of the scan's curve.
        Series3 = Named(new graphs::TBubbleSeries(chart, Series1), "Series3");
        QPen scanPen(Qt::red);
        scanPen.setWidth(2);
        Series1->setPen(scanPen);
        Series2 = NewSeries<QLineSeries>(chart, "Series2", ScanGraphBottomAxis, ScanGraphLeftAxis);
        Series2->setColor(Qt::blue);
        Series5 =
            NewSeries<QScatterSeries>(chart, "Series5", ScanGraphBottomAxis, ScanGraphLeftAxis);
        Series5->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
        Series5->setMarkerSize(8);
        Series5->setColor(Qt::white);
        Series5->setBorderColor(Qt::darkGray);

        SaveScanGraph = NewImageButton(frame.Corner, "SaveScanGraph");
        DoBalls = NewCheckBox(frame.Corner, "DoBalls", "Show errors", true);
        frame.CornerRow->addWidget(SaveScanGraph);
        frame.CornerRow->addWidget(DoBalls);
        Mount(frame, ScanGraph);
        column->addWidget(frame.Frame);
    }

    // "Relative": the chosen scan divided by another scan of the lamp.
    {
        QVBoxLayout* column = NewColumn(TabSheet2, 0);
        QHBoxLayout* row = NewRow(column);
        row->setContentsMargins(kSpacing, kSpacing, kSpacing, 0);
        Label19 = NewLabel(TabSheet2, "Label19", "Relative to ");
        PlotScanRelativeTo = NewPickList(TabSheet2, "PlotScanRelativeTo", 12);
        PlotScanRelativeTo->setFont(fixedFont);
        PerDegree = NewCheckBox(TabSheet2, "PerDegree", "T");
        row->addWidget(Label19);
        row->addWidget(PlotScanRelativeTo, 1);
        row->addWidget(PerDegree);

        const TChartFrame frame = NewChartFrame(TabSheet2);
        RelativeScanGraph = NewChartView(frame.Frame, "RelativeScanGraph");
        QChart* chart = RelativeScanGraph->chart();
        chart->legend()->setVisible(false);
        RelativeScanGraphBottomAxis =
            NewWavelengthAxis(chart, "RelativeScanGraphBottomAxis", "Wavelength");
        RelativeScanGraphLeftAxis =
            NewValueAxis(chart, Qt::AlignLeft, "RelativeScanGraphLeftAxis", "Ratio", "%.3f");
        Series4 = NewSeries<QLineSeries>(chart, "Series4", RelativeScanGraphBottomAxis,
                                         RelativeScanGraphLeftAxis);
        Series4->setColor(Qt::blue);
        Series4->setPointsVisible(true);

        SpeedButton1 = NewImageButton(frame.Corner, "SpeedButton1");
        frame.CornerRow->addWidget(SpeedButton1);
        Mount(frame, RelativeScanGraph);
        column->addWidget(frame.Frame, 1);
    }

    // "Lamp spectrum": the lamp as seen through a UVRES response.
    {
        QVBoxLayout* column = NewColumn(TabSheet3, 0);
        QHBoxLayout* row = NewRow(column);
        row->setContentsMargins(kSpacing, kSpacing, kSpacing, 0);
        ApplyUVRES = NewCheckBox(TabSheet3, "ApplyUVRES", "Apply UVRES file");
        UVRESname = NewEdit(TabSheet3, "UVRESname");
        UVRESname->setEnabled(false);
        OpenUVRES = NewButton(TabSheet3, "OpenUVRES", "...");
        OpenUVRES->setEnabled(false);
        OpenUVRES->setFixedWidth(30);
        row->addWidget(ApplyUVRES);
        row->addWidget(UVRESname, 1);
        row->addWidget(OpenUVRES);

        LampGraph = NewChartView(TabSheet3, "LampGraph");
        QChart* chart = LampGraph->chart();
        chart->legend()->setVisible(true);
        chart->legend()->setAlignment(Qt::AlignBottom);
        LampGraphBottomAxis = NewWavelengthAxis(chart, "LampGraphBottomAxis", "");
        LampGraphLeftAxis = NewValueAxis(chart, Qt::AlignLeft, "LampGraphLeftAxis", "");
        Series6 = NewSeries<QLineSeries>(chart, "Series6", LampGraphBottomAxis, LampGraphLeftAxis);
        Series6->setName(QStringLiteral("Irr file"));
        Series7 = NewSeries<QLineSeries>(chart, "Series7", LampGraphBottomAxis, LampGraphLeftAxis);
        Series7->setName(QStringLiteral("Avg"));
        Series8 = NewSeries<QLineSeries>(chart, "Series8", LampGraphBottomAxis, LampGraphLeftAxis);
        Series8->setName(QStringLiteral("This scan"));
        Series8->setColor(Qt::red);
        Series8->setPointsVisible(true);
        column->addWidget(LampGraph, 1);
    }

    // "Lamp history": the lamp's signal scan by scan over time.
    {
        QVBoxLayout* column = NewColumn(TabSheet4, 0);
        Chart1 = NewChartView(TabSheet4, "Chart1");
        Chart1->SetXText([](double x) {
            return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(x))
                .toString(QStringLiteral("MMM dd/yy hh:mm"));
        });
        QChart* chart = Chart1->chart();
        chart->legend()->setVisible(false);
        Chart1BottomAxis = Named(new QDateTimeAxis, "Chart1BottomAxis");
        Chart1BottomAxis->setTitleText(QStringLiteral("Date"));
        Chart1BottomAxis->setFormat(QStringLiteral("MMM dd/yy"));
        Chart1BottomAxis->setTickCount(3);
        chart->addAxis(Chart1BottomAxis, Qt::AlignBottom);
        Chart1LeftAxis =
            NewValueAxis(chart, Qt::AlignLeft, "Chart1LeftAxis", "Counts at 325 nm", "%.3f");
        // A lamp's history holds thousands of scans. A scatter series makes a graphics item of
        // every point, which takes tens of milliseconds for each lamp clicked; a line series
        // whose line is not drawn paints its point markers itself.
        Series9 = NewSeries<QLineSeries>(chart, "Series9", Chart1BottomAxis, Chart1LeftAxis);
        const QColor historyColour = Series9->color();
        Series9->setPen(QPen(Qt::transparent));
        Series9->setMarkerSize(8);
        Series9->setLightMarker(graphs::RoundMarker(historyColour, 8));
        Series9->setPointsVisible(true);
        column->addWidget(Chart1, 1);
    }
    PageControl1->setCurrentWidget(TabSheet4);

    // ---- "Response graphs".
    {
        QVBoxLayout* column = NewColumn(TabRespGraph, kSpacing);
        GroupBox3 = Named(new QGroupBox(QStringLiteral("Plot response relative to:"), TabRespGraph),
                          "GroupBox3");
        // The radio buttons share GroupBox3 as their parent, which makes them one exclusive set.
        auto* choices = new QGridLayout(GroupBox3);
        choices->setContentsMargins(6, 2, 6, 4);
        choices->setHorizontalSpacing(kSpacing + 4);
        choices->setVerticalSpacing(2);
        RelativeToLamp = NewRadio(GroupBox3, "RelativeToLamp", "Lamp");
        RespReference = NewPickList(GroupBox3, "RespReference");
        RespReference->setEnabled(false);
        RelativeToAvg = NewRadio(GroupBox3, "RelativeToAvg", "Average", true);
        RelativeToFile = NewRadio(GroupBox3, "RelativeToFile", "File");
        RelativeToNone = NewRadio(GroupBox3, "RelativeToNone", "None");
        choices->addWidget(RelativeToLamp, 0, 0);
        choices->addWidget(RespReference, 0, 1, 1, 2);
        choices->addWidget(RelativeToAvg, 1, 0);
        choices->addWidget(RelativeToFile, 1, 1);
        choices->addWidget(RelativeToNone, 1, 2);
        choices->setColumnStretch(3, 1);
        column->addWidget(GroupBox3);

        const TChartFrame frame = NewChartFrame(TabRespGraph);
        RespGraph = NewChartView(frame.Frame, "RespGraph");
        QChart* chart = RespGraph->chart();
        chart->legend()->setVisible(true);
        chart->legend()->setAlignment(Qt::AlignTop);
        // Five lamps and the average have to fit side by side over a small chart.
        QFont legendFont = chart->legend()->font();
        legendFont.setPointSizeF(legendFont.pointSizeF() * 0.8);
        chart->legend()->setFont(legendFont);
        RespGraphBottomAxis = NewWavelengthAxis(chart, "RespGraphBottomAxis", "Wavelength, A.");
        RespGraphLeftAxis =
            NewValueAxis(chart, Qt::AlignLeft, "RespGraphLeftAxis", "Ratio", "%.3f");
        RespGraphLeftAxis->setTickType(QValueAxis::TicksDynamic);
        RespGraphLeftAxis->setTickAnchor(1.0);
        RespGraphLeftAxis->setTickInterval(0.005);
        // Ticks every 0.005 over the default range of 0 to 1 would be two hundred labels.
        RespGraphLeftAxis->setRange(0.98, 1.02);

        SaveRespGraph = NewImageButton(frame.Corner, "SaveRespGraph");
        frame.CornerRow->addWidget(SaveRespGraph);
        Mount(frame, RespGraph);
        column->addWidget(frame.Frame, 1);
    }

    // ---- "Calculations".
    {
        QWidget* content = ScrollingContent(TabCalc);
        QVBoxLayout* column = NewColumn(content, kSpacing);

        GroupBox1 = Named(new QGroupBox(QStringLiteral("Response file calculations"), content),
                          "GroupBox1");
        SetBackground(GroupBox1, kPeach);
        QVBoxLayout* response = NewColumn(GroupBox1, 6);
        CalcResponse =
            NewButton(GroupBox1, "CalcResponse", "Calculate new response using selected scans.");
        QHBoxLayout* calcRow = NewRow(response);
        calcRow->addWidget(CalcResponse);
        calcRow->addStretch(1);
        Bevel1 = Named(new QFrame(GroupBox1), "Bevel1");
        Bevel1->setFrameShape(QFrame::HLine);
        Bevel1->setFrameShadow(QFrame::Sunken);
        response->addWidget(Bevel1);
        QHBoxLayout* rangeRow = NewRow(response);
        Label4 = NewLabel(GroupBox1, "Label4", "Make response file (A):");
        SaveRespStartWl = NewNumberEdit(GroupBox1, "SaveRespStartWl", "2865");
        Label6 = NewLabel(GroupBox1, "Label6", "to");
        SaveRespEndWl = NewNumberEdit(GroupBox1, "SaveRespEndWl", "3250");
        Label7 = NewLabel(GroupBox1, "Label7", "step");
        SaveRespIncWl = NewNumberEdit(GroupBox1, "SaveRespIncWl", "5");
        AddAll(rangeRow, {Label4, SaveRespStartWl, Label6, SaveRespEndWl, Label7, SaveRespIncWl});
        rangeRow->addStretch(1);
        QHBoxLayout* logRow = NewRow(response);
        Label2 = NewLabel(GroupBox1, "Label2", " Save  log relative to lamp");
        ReferenceLampLog = NewPickList(GroupBox1, "ReferenceLampLog");
        logRow->addWidget(Label2);
        logRow->addWidget(ReferenceLampLog);
        logRow->addStretch(1);
        SaveResp = NewButton(GroupBox1, "SaveResp", "Save response and log files");
        QHBoxLayout* saveRow = NewRow(response);
        saveRow->addWidget(SaveResp);
        saveRow->addStretch(1);
        column->addWidget(GroupBox1);

        GroupBox2 = Named(new QGroupBox(QStringLiteral("Irradiance file calculations"), content),
                          "GroupBox2");
        SetBackground(GroupBox2, kPeach);
        QVBoxLayout* irradiance = NewColumn(GroupBox2, 6);
        Label10 = NewLabel(GroupBox2, "Label10",
                           "New irradiance file(s) will be saved in the directory of");
        SetTextColour(Label10, kMaroon);
        Label17 =
            NewLabel(GroupBox2, "Label17", "the scan files.  The name will be 'lampname_.irr'");
        SetTextColour(Label17, kMaroon);
        irradiance->addWidget(Label10);
        irradiance->addWidget(Label17);

        GroupBox5 = Named(new QGroupBox(QStringLiteral("Make irradiance file(s):"), GroupBox2),
                          "GroupBox5");
        // Both radio buttons are children of GroupBox5, so exactly one of them is selected.
        auto* ways = new QGridLayout(GroupBox5);
        ways->setContentsMargins(6, 2, 6, 4);
        ways->setHorizontalSpacing(kSpacing + 4);
        ways->setVerticalSpacing(2);
        MakeIrrUsingOneLamp = NewRadio(GroupBox5, "MakeIrrUsingOneLamp", "Using lamp", true);
        MakeIrrUsingOneLamp->setToolTip(QString::fromLatin1(kOneLampHint));
        ReferenceLampCalc = NewPickList(GroupBox5, "ReferenceLampCalc");
        ReferenceLampCalc->setToolTip(QString::fromLatin1(kOneLampHint));
        MakeIrrUsingAvg = NewRadio(GroupBox5, "MakeIrrUsingAvg", "For lamp");
        MakeIrrUsingAvg->setToolTip(QString::fromLatin1(kAverageHint));
        LampToCalibrate = NewPickList(GroupBox5, "LampToCalibrate");
        LampToCalibrate->setToolTip(QString::fromLatin1(kAverageHint));
        LampToCalibrate->setEnabled(false);
        ways->addWidget(MakeIrrUsingOneLamp, 0, 0);
        ways->addWidget(ReferenceLampCalc, 0, 1);
        ways->addWidget(MakeIrrUsingAvg, 1, 0);
        ways->addWidget(LampToCalibrate, 1, 1);
        ways->setColumnStretch(2, 1);
        QHBoxLayout* waysRow = NewRow(irradiance);
        waysRow->addWidget(GroupBox5);
        waysRow->addStretch(1);

        QHBoxLayout* gridRow = NewRow(irradiance);
        gridRow->setSpacing(kSpacing);
        Label12 = NewLabel(GroupBox2, "Label12", "from");
        SaveIrrStartWl = NewNumberEdit(GroupBox2, "SaveIrrStartWl", "2865");
        Label13 = NewLabel(GroupBox2, "Label13", "A  to");
        SaveIrrEndWl = NewNumberEdit(GroupBox2, "SaveIrrEndWl", "3635");
        Label14 = NewLabel(GroupBox2, "Label14", "A   step");
        SaveIrrIncWl = NewNumberEdit(GroupBox2, "SaveIrrIncWl", "35");
        Label15 = NewLabel(GroupBox2, "Label15", "A  @");
        SaveIrrDistance = NewNumberEdit(GroupBox2, "SaveIrrDistance", "50");
        Label11 = NewLabel(GroupBox2, "Label11", "cm");
        AddAll(gridRow, {Label12, SaveIrrStartWl, Label13, SaveIrrEndWl, Label14, SaveIrrIncWl,
                         Label15, SaveIrrDistance, Label11});
        gridRow->addStretch(1);
        CalcIrradiance =
            NewButton(GroupBox2, "CalcIrradiance", "Calculate and save new irradiance file(s)");
        QHBoxLayout* irradianceRow = NewRow(irradiance);
        irradianceRow->addWidget(CalcIrradiance);
        irradianceRow->addStretch(1);
        column->addWidget(GroupBox2);
        column->addStretch(1);
    }

    // ---- "Settings".
    {
        QWidget* content = ScrollingContent(TabSettings);
        QVBoxLayout* column = NewColumn(content, kSpacing);
        GroupBox4 = Named(new QGroupBox(QStringLiteral("Program options"), content), "GroupBox4");
        QVBoxLayout* options = NewColumn(GroupBox4, 6);
        column->addWidget(GroupBox4);

        UseBBFFiles = NewCheckBox(GroupBox4, "UseBBFFiles", "Use BBF files");
        SaveLastWorkingDir =
            NewCheckBox(GroupBox4, "SaveLastWorkingDir", "Save last working directory");
        SavePosition = NewCheckBox(GroupBox4, "SavePosition", "Save size, position.");
        KeepLog = NewCheckBox(GroupBox4, "KeepLog", "Keep a log file");
        auto* switches = new QGridLayout;
        switches->setHorizontalSpacing(kSpacing * 4);
        switches->setVerticalSpacing(kSpacing);
        switches->addWidget(UseBBFFiles, 0, 0);
        switches->addWidget(SaveLastWorkingDir, 1, 0);
        switches->addWidget(SavePosition, 0, 1);
        switches->addWidget(KeepLog, 1, 1);
        switches->setColumnStretch(2, 1);
        options->addLayout(switches);

        Label16 = NewLabel(GroupBox4, "Label16", "Irradiance file directory:");
        options->addWidget(Label16);
        QHBoxLayout* directoryRow = NewRow(options);
        DriveComboBox2 = Named(new TDriveComboBox(GroupBox4), "DriveComboBox2");
        DriveComboBox2->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        DriveComboBox2->setMinimumContentsLength(8);
        IrrDir = NewEdit(GroupBox4, "IrrDir", "/IrrFiles");
        IrrDir->setEnabled(false);
        directoryRow->addWidget(DriveComboBox2);
        directoryRow->addWidget(IrrDir, 1);
        SelectIrrDir = Named(new TDirectoryTree(GroupBox4), "SelectIrrDir");
        SelectIrrDir->setMinimumHeight(60);
        options->addWidget(SelectIrrDir, 1);

        QHBoxLayout* limitRow = NewRow(options);
        limitRow->setSpacing(kSpacing);
        LimitScans = NewCheckBox(GroupBox4, "LimitScans", "Limit number of scans to ");
        MaxNumberOfScans = NewNumberEdit(GroupBox4, "MaxNumberOfScans", "21");
        MaxNumberOfScans->setEnabled(false);
        ScansNUpDown = Named(new TUpDown(GroupBox4), "ScansNUpDown");
        ScansNUpDown->SetAssociate(MaxNumberOfScans);
        ScansNUpDown->SetRange(0, 100);
        {
            const QSignalBlocker quiet(ScansNUpDown);
            ScansNUpDown->SetPosition(21);
        }
        ScansNUpDown->setEnabled(false);
        FirstLastScans = NewPickList(GroupBox4, "FirstLastScans", 5);
        FirstLastScans->addItem(QStringLiteral("last"));
        FirstLastScans->addItem(QStringLiteral("first"));
        FirstLastScans->setCurrentIndex(0);
        FirstLastScans->setEnabled(false);
        Label18 = NewLabel(GroupBox4, "Label18", "in the file.");
        limitRow->addWidget(LimitScans);
        limitRow->addWidget(MaxNumberOfScans);
        limitRow->addWidget(ScansNUpDown);
        limitRow->addWidget(FirstLastScans);
        limitRow->addWidget(Label18);
        limitRow->addStretch(1);

        InstumentBox =
            Named(new QGroupBox(QStringLiteral("Instrument constants"), GroupBox4), "InstumentBox");
        auto* constants = new QHBoxLayout(InstumentBox);
        constants->setContentsMargins(6, 2, 6, 4);
        constants->setSpacing(kSpacing * 4);
        MKIII = NewCheckBox(InstumentBox, "MKIII", "MKIII");
        NewT = NewCheckBox(InstumentBox, "NewT", "New temperature circuit");
        constants->addWidget(MKIII);
        constants->addWidget(NewT);
        constants->addStretch(1);
        InstumentBox->setEnabled(false);
        QHBoxLayout* instrumentRow = NewRow(options);
        instrumentRow->addWidget(InstumentBox);
        instrumentRow->addStretch(1);

        QHBoxLayout* saveRow = NewRow(options);
        SaveSettingsOnExit = NewCheckBox(GroupBox4, "SaveSettingsOnExit", "Save settings on exit");
        SaveSettings = NewButton(GroupBox4, "SaveSettings", "Save these settings as default");
        saveRow->addWidget(SaveSettingsOnExit);
        saveRow->addStretch(1);
        saveRow->addWidget(SaveSettings);
    }

    // ---- "TC": the temperature coefficient of the response.
    {
        QVBoxLayout* column = NewColumn(TC, kSpacing);
        Chart2 = NewChartView(TC, "Chart2");
        QChart* chart = Chart2->chart();
        chart->setTitle(QStringLiteral("UVR temperature dependance, %"));
        chart->legend()->setVisible(false);
        Chart2BottomAxis = NewWavelengthAxis(chart, "Chart2BottomAxis", "");
        Chart2LeftAxis = NewValueAxis(chart, Qt::AlignLeft, "Chart2LeftAxis", "", "%.3f");
        Series10 = NewSeries<QLineSeries>(chart, "Series10", Chart2BottomAxis, Chart2LeftAxis);
        Series10->setColor(Qt::red);
        column->addWidget(Chart2, 1);
    }

    // ---- Status bar: seven panels, then the message area taking the rest. A panel is as wide as
    // designed, or wider when the platform's font needs it: "BBF:OFF" must not be cut.
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    constexpr std::array<int, 7> panelWidths{60, 60, 50, 120, 50, 50, 50};
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setMinimumWidth(panelWidths[i]);
        panel->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel);
        StatusPanels[i] = panel;
    }
    StatusMessage = Named(new QLabel(bar), "StatusMessage");
    // A long message is cut off at the window's edge instead of widening the window.
    StatusMessage->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(StatusMessage, 1);
}

}  // namespace uvlamp::app
