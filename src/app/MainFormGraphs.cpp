// The graphs: a lamp and its scans on the "Scan graphs" page, the response on its own page and
// what the response is compared with, the temperature coefficient, and saving pictures of them.
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <filesystem>

#include "app/MainForm.h"
#include "app/QtText.h"
#include "graphs/BubbleSeries.h"
#include "graphs/ChartFill.h"
#include "graphs/ChartView.h"
#include "plots/Curves.h"
#include "response/References.h"
#include "response/Smoothing.h"
#include "shell/Operator.h"

namespace uvlamp::app {

using graphs::FillSeries;
using graphs::FixRange;
using graphs::ToQColor;

void TMainForm::LampNamesClick() {
    TLamp* lamp = SelectedLamp();
    if (lamp == nullptr) {
        return;
    }
    Series2->setVisible(true);
    Series5->setVisible(true);
    Series1->clear();
    Series3->Clear();
    Series5->clear();
    Series9->clear();
    FillScanList(*lamp);

    // The average fixes the axes; the lamp's scans are then drawn over it on the same scale.
    const std::vector<TPlotPoint> average = CountsCurve(lamp->Average);
    const std::vector<TColouredPoint> points = DeviationPoints(lamp->Average);
    Series2->setColor(ToQColor(kGreen));
    FillSeries(Series2, average);
    graphs::FillColouredPoints(Series5, points);
    if (const auto wavelengths = XRange(average)) {
        FixRange(ScanGraphBottomAxis, *wavelengths);
    }
    if (const auto values = Union(YRange(average), YRange(points))) {
        FixRange(ScanGraphLeftAxis, PaddedRange(*values));
    }
    ScanGraph->RememberHome();

    Series6->clear();
    Series7->clear();
    Series8->clear();

    const std::vector<TPlotPoint> history = LampHistory(*lamp);
    graphs::FillDatedSeries(Series9, history);
    if (const auto span = XRange(history)) {
        // A day of room on either side, so the first and last scans do not sit on the frame.
        Chart1BottomAxis->setRange(graphs::ToDateTime(span->Min - 1),
                                   graphs::ToDateTime(span->Max + 1));
    }
    if (const auto values = YRange(history)) {
        FixRange(Chart1LeftAxis, PaddedRange(*values));
    }
    Chart1->RememberHome();

    PlotLampSpectrum(lamp->Average);
}

void TMainForm::ScanNamesClick() {
    TLamp* lamp = SelectedLamp();
    const int row = ScanNames->currentRow();
    if (lamp == nullptr || row < 0 || static_cast<std::size_t>(row) >= lamp->Scans.size()) {
        return;
    }
    const TScan& scan = *lamp->Scans[static_cast<std::size_t>(row)];
    // The axes stay as the lamp's average fixed them, so scans can be compared as they are
    // flipped through.
    graphs::PlotCounts(scan, Series1, ToQColor(kBlue));
    graphs::PlotDeviationBubbles(scan, Series3, DoBalls->isChecked());

    PlotLampSpectrum(scan);

    Series4->clear();
    const int reference = PlotScanRelativeTo->currentIndex();
    if (reference < 0 || static_cast<std::size_t>(reference) >= lamp->Scans.size()) {
        return;
    }
    const TScan& r = *lamp->Scans[static_cast<std::size_t>(reference)];
    TScan ratio(scan.NPoints, scan.Lamp, scan.File);
    ratio.CopyFrom(scan);
    RatioToScan(ratio, r, PerDegree->isChecked());
    graphs::PlotCurve(CountsCurve(ratio), Series4, ToQColor(kBlue), RelativeScanGraphBottomAxis,
                      RelativeScanGraphLeftAxis);
    graphs::SetChartTitle(RelativeScanGraph->chart(),
                          RelativeScanTitle(scan, r, PerDegree->isChecked()));
    RelativeScanGraph->RememberHome();
}

void TMainForm::PlotLampSpectrum(const TScan& scan) {
    if (!Program.UvresResponse) {
        return;
    }
    Series8->clear();
    TScan spectrum(scan.NPoints, scan.Lamp, scan.File);
    spectrum.CopyFrom(scan);
    // A division that stops early leaves the points after it as counts; they are drawn anyway,
    // as the operator's check of the UVRES file's wavelengths.
    spectrum.DivideBy(*Program.UvresResponse);
    graphs::PlotCurve(CountsCurve(spectrum), Series8, ToQColor(kRed), LampGraphBottomAxis,
                      LampGraphLeftAxis);
    LampGraph->RememberHome();
}

void TMainForm::RedrawResponseGraph() {
    QChart* chart = RespGraph->chart();
    if (!Program.CurrentResponse) {
        chart->removeAllSeries();
        return;
    }
    const std::string& instrument = Program.ProgramSettings.InstrumentNumber;
    const TScan* reference = nullptr;
    if (RelativeToLamp->isChecked() && RespReference->currentIndex() >= 0 &&
        static_cast<std::size_t>(RespReference->currentIndex()) < Program.LampList.size()) {
        // A lamp without a response of its own leaves the graph in absolute values.
        reference = Program.LampList[static_cast<std::size_t>(RespReference->currentIndex())]
                        ->Response.get();
        chart->setTitle(ToQ(ResponseGraphTitle(TResponseMode::Lamp, instrument,
                                               FromQ(RespReference->currentText()))));
    } else if (RelativeToFile->isChecked()) {
        // The title names the file; it was set when the file was chosen.
        reference = Program.FileReference.get();
    } else if (RelativeToAvg->isChecked()) {
        reference = Program.CurrentResponse.get();
        chart->setTitle(ToQ(ResponseGraphTitle(TResponseMode::Average, instrument, "")));
    } else {
        // "None", and "Lamp" before a lamp is picked: absolute values.
        chart->setTitle(ToQ(ResponseGraphTitle(TResponseMode::None, instrument, "")));
    }
    graphs::PlotResponses(Program.LampList, *Program.CurrentResponse, chart, RespGraphBottomAxis,
                          RespGraphLeftAxis, reference);
    RespGraph->RememberHome();
}

void TMainForm::PlotTemperatureCoefficient() {
    const TScan& response = *Program.CurrentResponse;
    graphs::PlotCurve(TCoefCurve(response), Series10, ToQColor(kRed), Chart2BottomAxis,
                      Chart2LeftAxis);
    Chart2->RememberHome();
}

void TMainForm::RelativeToLampClick() {
    RespReference->setEnabled(true);
}

void TMainForm::RelativeToAvgClick() {
    RespReference->setEnabled(false);
    RedrawResponseGraph();
}

void TMainForm::RespReferenceChange() {
    RedrawResponseGraph();
}

void TMainForm::RelativeToFileClick() {
    RespReference->setEnabled(false);
    TFileDialogRequest request;
    request.Title = "Open a response file";
    request.Filter = "Response files (*)|*";
    const std::optional<std::string> name = op_->ChooseOpenFile(request);
    if (!name || !LoadFileReference(Program, *name)) {
        if (name) {
            ShowStatus("Not a response file: " + *name + ". The graph is relative to the average.");
        }
        {
            const QSignalBlocker blocker(RelativeToAvg);
            RelativeToAvg->setChecked(true);
        }
        RelativeToAvgClick();
        return;
    }
    RespGraph->chart()->setTitle(
        ToQ(ResponseGraphTitle(TResponseMode::File, Program.ProgramSettings.InstrumentNumber,
                               std::filesystem::path(*name).filename().string())));
    RedrawResponseGraph();
}

void TMainForm::ApplyUVRESClick() {
    UVRESname->setEnabled(ApplyUVRES->isChecked());
    OpenUVRES->setEnabled(ApplyUVRES->isChecked());
}

void TMainForm::OpenUVRESClick() {
    TFileDialogRequest request;
    request.Title = "Open a UVRES file";
    request.Filter = "UVRES files (*)|*";
    const std::optional<std::string> name = op_->ChooseOpenFile(request);
    if (!name) {
        return;
    }
    if (!LoadUvresResponse(Program, *op_, *name)) {
        Series8->clear();
        return;
    }
    // The spectrum shows at once, for the scan (or the lamp) on the screen.
    if (ScanNames->currentRow() >= 0) {
        ScanNamesClick();
    } else if (const TLamp* lamp = SelectedLamp()) {
        PlotLampSpectrum(lamp->Average);
    }
}

void TMainForm::SaveGraphPicture(graphs::TChartView* view, bool fromLastDir) {
    TFileDialogRequest request;
    request.Title = "Save this graph";
    if (fromLastDir) {
        request.Directory = Program.ProgramSettings.LastDir;
    }
    request.Filter = "Bitmap files (*.bmp)|*.bmp|PNG files (*.png)|*.png";
    request.DefaultExt = "bmp";
    request.ConfirmOverwrite = true;
    const std::optional<std::string> name = op_->ChooseSaveFile(request);
    if (!name) {
        return;
    }
    if (!graphs::SaveChartPicture(view, FromPath(*name))) {
        op_->ShowError("Unable to write to " + *name);
        return;
    }
    ShowStatus("Graph saved in " + *name + ".");
}

void TMainForm::SaveScanGraphClick() {
    SaveGraphPicture(ScanGraph, true);
}

void TMainForm::SpeedButton1Click() {
    SaveGraphPicture(RelativeScanGraph, false);
}

void TMainForm::SaveRespGraphClick() {
    SaveGraphPicture(RespGraph, true);
}

}  // namespace uvlamp::app
