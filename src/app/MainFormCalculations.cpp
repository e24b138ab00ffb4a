// The Calculations page: the response and its files, and new irradiance files.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>

#include "app/MainForm.h"
#include "app/QtText.h"
#include "graphs/ChartView.h"
#include "irradiance/Lookup.h"
#include "irradiance/Transfer.h"
#include "response/Response.h"
#include "response/ResponseFiles.h"
#include "shell/Format.h"
#include "shell/Operator.h"

namespace uvlamp::app {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

}  // namespace

void TMainForm::CalcResponseClick() {
    const TResponseCalculation calculation = CalculateResponse(Program, *op_);
    const int page = Tabs->indexOf(TabRespGraph);
    Tabs->setTabVisible(page, false);
    RespGraph->chart()->removeAllSeries();
    if (!calculation.Made) {
        ShowStatus("No response: no lamp has both selected scans and an irradiance standard.");
        return;
    }
    if (calculation.NotAveraged.empty()) {
        ShowStatus("Response calculated.");
    } else {
        ShowStatus("Response calculated without lamp(s) " + JoinNames(calculation.NotAveraged) +
                   ": their wavelengths differ from those of lamp " + calculation.Baseline + ".");
    }
    PlotTemperatureCoefficient();
    if (RelativeToNone->isChecked()) {
        RedrawResponseGraph();
        const TScan& response = *Program.CurrentResponse;
        SaveRespStartWl->setText(ToQ(FormatFloat("###0", response.Wavelength[1] * 10000)));
        SaveRespEndWl->setText(
            ToQ(FormatFloat("###0", response.Wavelength[response.NPoints] * 10000)));
    } else {
        // Its handler draws the graph in absolute values.
        RelativeToNone->setChecked(true);
    }
    Tabs->setTabVisible(page, true);
    Tabs->setCurrentWidget(TabRespGraph);
}

void TMainForm::SaveRespClick() {
    // The grid is read before the calculation, which may rewrite its fields.
    const auto grid = ReadOutputGrid(FromQ(SaveRespStartWl->text()), FromQ(SaveRespEndWl->text()),
                                     FromQ(SaveRespIncWl->text()), *op_);
    if (!grid) {
        return;
    }
    CalcResponseClick();
    if (!Program.CurrentResponse) {
        return;
    }
    const TResponseSave save =
        SaveResponseFiles(Program, *op_, *grid, ReferenceLampLog->currentIndex());
    // The files are saved together or not at all; a failure was told by the save.
    if (save.Saved) {
        ShowStatus("Saved " + JoinNames(save.Written) + ".");
    }
}

void TMainForm::ReferenceLampCalcChange() {
    const int index = ReferenceLampCalc->currentIndex();
    if (index < 0) {
        return;
    }
    if (!LookupReferenceLamp(Program, index, *op_)) {
        // A lamp without an irradiance standard cannot stay the reference.
        const QSignalBlocker blocker(ReferenceLampCalc);
        ReferenceLampCalc->setCurrentIndex(-1);
    }
}

void TMainForm::MakeIrrUsingAvgClick() {
    ReferenceLampCalc->setEnabled(MakeIrrUsingOneLamp->isChecked());
    LampToCalibrate->setEnabled(MakeIrrUsingAvg->isChecked());
}

void TMainForm::CalcIrradianceClick() {
    TTransferRequest request;
    request.UsingAverage = MakeIrrUsingAvg->isChecked();
    request.ReferenceIndex = ReferenceLampCalc->currentIndex();
    request.TargetIndex = LampToCalibrate->currentIndex();
    request.StartText = FromQ(SaveIrrStartWl->text());
    request.EndText = FromQ(SaveIrrEndWl->text());
    request.StepText = FromQ(SaveIrrIncWl->text());
    request.DistanceText = FromQ(SaveIrrDistance->text());
    // New files go to the current directory, which follows the directory controls.
    const TTransferResult result = CalculateIrradiance(Program, *op_, request);
    if (!result.Written.empty()) {
        ShowStatus("New irradiance file(s): " + JoinNames(result.Written) + ".");
    }
}

}  // namespace uvlamp::app
