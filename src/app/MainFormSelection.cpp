// Loading the files chosen, the lamp and scan lists, and the selection of scans.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>
#include <QTabWidget>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <initializer_list>

#include "app/Browsers.h"
#include "app/MainForm.h"
#include "app/QtText.h"
#include "app/UpDown.h"
#include "graphs/BubbleSeries.h"
#include "graphs/ChartView.h"
#include "scans/ListLines.h"
#include "scans/Loading.h"
#include "scans/Statistics.h"
#include "shell/Format.h"
#include "shell/Operator.h"

namespace uvlamp::app {

namespace {

constexpr int kDefaultMaxNumberOfScans = 21;

// Refills a list without its signals: items set from code run no handler.
class TListRefill {
  public:
    explicit TListRefill(QWidget* list) : list_(list), blocker_(list) {
        list_->setUpdatesEnabled(false);
    }
    ~TListRefill() { list_->setUpdatesEnabled(true); }
    TListRefill(const TListRefill&) = delete;
    TListRefill& operator=(const TListRefill&) = delete;

  private:
    QWidget* list_;
    QSignalBlocker blocker_;
};

QStringList ToQList(const std::vector<std::string>& lines) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) {
        list << ToQ(line);
    }
    return list;
}

}  // namespace

TLamp* TMainForm::SelectedLamp() {
    const int row = LampNames->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= Program.LampList.size()) {
        return nullptr;
    }
    return Program.LampList[static_cast<std::size_t>(row)].get();
}

void TMainForm::Button1Click() {
    QStringList selected = FileListBox1->SelectedNames();
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(selected.size()));
    for (const QString& name : selected) {
        names.push_back(ToPath(name).string());
    }
    // Everything loaded before goes, with the response made from it.
    Tabs->setCurrentWidget(TabScanGraph);
    Tabs->setTabVisible(Tabs->indexOf(TabRespGraph), false);
    const TLoadResult result =
        LoadSelectedFiles(Program, *op_, ToPath(FileListBox1->Directory()), names);
    ShowInstrument();
    {
        const TListRefill scans(ScanNames);
        const TListRefill reference(PlotScanRelativeTo);
        ScanNames->clear();
        PlotScanRelativeTo->clear();
    }
    // The graphs of the lamps that went go with them.
    for (QXYSeries* series :
         std::initializer_list<QXYSeries*>{Series1, Series2, Series4, Series5, Series8, Series9}) {
        series->clear();
    }
    Series3->Clear();
    RelativeScanGraph->chart()->setTitle(QString());
    FillLampLists();
    ShowLoadResult(result);
}

void TMainForm::ShowLoadResult(const TLoadResult& result) {
    std::string text;
    if (!result.FilesRead.empty() || !result.Skipped.empty() || result.Error) {
        text = std::to_string(result.FilesRead.size()) + " file(s) read, " +
               std::to_string(Program.LampList.size()) + " lamp(s).";
    }
    for (const TSkippedFile& skipped : result.Skipped) {
        text += " Not read: " + skipped.Name + " " + skipped.Reason + ".";
    }
    for (const std::string& note : result.Notes) {
        text += " " + note + ".";
    }
    if (result.Error) {
        text += " Reading stopped: " + *result.Error;
    }
    ShowStatus(text);
    if (result.Error) {
        op_->ShowError(*result.Error);
    }
}

void TMainForm::FillLampLists() {
    const TListRefill lamps(LampNames);
    const TListRefill log(ReferenceLampLog);
    const TListRefill calc(ReferenceLampCalc);
    const TListRefill resp(RespReference);
    const TListRefill calibrate(LampToCalibrate);
    LampNames->clear();
    ReferenceLampLog->clear();
    ReferenceLampCalc->clear();
    RespReference->clear();
    LampToCalibrate->clear();
    LampNames->addItems(ToQList(LampListLines(Program.LampList)));
    QStringList names;
    for (const auto& lamp : Program.LampList) {
        names << ToQ(lamp->Name);
    }
    ReferenceLampLog->addItems(names);
    ReferenceLampCalc->addItems(names);
    RespReference->addItems(names);
    LampToCalibrate->addItems(names);
    // Only the log's reference starts chosen; a transfer's lamps are chosen by the operator.
    ReferenceLampLog->setCurrentIndex(names.isEmpty() ? -1 : 0);
    ReferenceLampCalc->setCurrentIndex(-1);
    RespReference->setCurrentIndex(-1);
    LampToCalibrate->setCurrentIndex(-1);
}

void TMainForm::FillScanList(const TLamp& lamp) {
    const TListRefill scans(ScanNames);
    const TListRefill reference(PlotScanRelativeTo);
    ScanNames->clear();
    PlotScanRelativeTo->clear();
    const QStringList lines = ToQList(ScanListLines(lamp));
    ScanNames->addItems(lines);
    for (int k = 0; k < ScanNames->count(); ++k) {
        QListWidgetItem* item = ScanNames->item(k);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(lamp.Scans[static_cast<std::size_t>(k)]->Selected ? Qt::Checked
                                                                              : Qt::Unchecked);
    }
    PlotScanRelativeTo->addItems(lines);
    PlotScanRelativeTo->setCurrentIndex(lines.isEmpty() ? -1 : 0);
}

void TMainForm::ReselectAndRedraw(int lampRow, int scanRow) {
    {
        const QSignalBlocker blocker(LampNames);
        LampNames->setCurrentRow(lampRow);
    }
    LampNamesClick();
    {
        const QSignalBlocker blocker(ScanNames);
        ScanNames->setCurrentRow(scanRow);
    }
    ScanNamesClick();
}

void TMainForm::RefreshSelection() {
    CalculateAverages(Program.LampList, Program.ProgramSettings, Program.Log());
    const int lampRow = std::max(LampNames->currentRow(), 0);
    const int scanRow = std::max(ScanNames->currentRow(), 0);
    FillLampLists();
    ReselectAndRedraw(lampRow, scanRow);
}

void TMainForm::ScanNamesClickCheck() {
    const int lampRow = LampNames->currentRow();
    const int scanRow = ScanNames->currentRow();
    TLamp* lamp = SelectedLamp();
    if (lamp == nullptr || scanRow < 0 || static_cast<std::size_t>(scanRow) >= lamp->Scans.size()) {
        return;
    }
    lamp->Scans[static_cast<std::size_t>(scanRow)]->Selected =
        ScanNames->item(scanRow)->checkState() == Qt::Checked;
    // The criteria may clear the scan again; the refilled list then shows it unchecked.
    UpdateStatistics(*lamp, Program.ProgramSettings);
    FillLampLists();
    ReselectAndRedraw(lampRow, scanRow);
}

void TMainForm::SelectAllClick() {
    SelectWholeLamp(true);
}

void TMainForm::SelectNoneClick() {
    SelectWholeLamp(false);
}

// Acts on the lamp shown only; the other lamps keep their statistics.
void TMainForm::SelectWholeLamp(bool selected) {
    const int lampRow = LampNames->currentRow();
    TLamp* lamp = SelectedLamp();
    if (lamp == nullptr) {
        return;
    }
    const int scanRow = std::max(ScanNames->currentRow(), 0);
    SetAllSelected(*lamp, selected);
    // With criteria on, "Select all" selects exactly the scans that pass them.
    UpdateStatistics(*lamp, Program.ProgramSettings);
    FillLampLists();
    ReselectAndRedraw(lampRow, scanRow);
}

void TMainForm::SelectJdCheckBoxClick() {
    Program.ProgramSettings.SelectJd = SelectJdCheckBox->isChecked();
    SelectedJdEdit->setEnabled(SelectJdCheckBox->isChecked());
}

void TMainForm::SelectedJdEditKeyDown(int key) {
    if (key != kEnterKey) {
        return;
    }
    const auto day = ParseDecimalInt(FromQ(SelectedJdEdit->text()));
    if (!day) {
        return;
    }
    Program.ProgramSettings.SelectedJd = *day;
    RefreshSelection();
}

void TMainForm::LimitTeClick() {
    const bool on = LimitTe->isChecked();
    Program.ProgramSettings.LimitTe = on;
    TeFrom->setEnabled(on);
    TeTo->setEnabled(on);
    if (!on) {
        TeFrom->setText("-50");
        TeTo->setText("50");
    }
    TeFromChange();
    TeToChange();
}

namespace {

void LogTemperatureLimits(const TProgram& program) {
    if (const TLogFile* log = program.Log()) {
        const TSettings& s = program.ProgramSettings;
        log->WriteLine("\t\tTemperature limited between " + FormatFloat("##0.0", s.TeFrom) +
                       " and " + FormatFloat("##0.0", s.TeTo));
    }
}

}  // namespace

void TMainForm::TeFromChange() {
    const auto bound = ParseDecimalInt(FromQ(TeFrom->text()));
    Program.ProgramSettings.TeFrom = bound ? *bound : kDefaultTeFrom;
    LogTemperatureLimits(Program);
    RefreshSelection();
}

void TMainForm::TeToChange() {
    const auto bound = ParseDecimalInt(FromQ(TeTo->text()));
    Program.ProgramSettings.TeTo = bound ? *bound : kDefaultTeTo;
    LogTemperatureLimits(Program);
    RefreshSelection();
}

void TMainForm::LimitScansClick() {
    const bool on = LimitScans->isChecked();
    Program.ProgramSettings.LimitScans = on;
    MaxNumberOfScans->setEnabled(on);
    ScansNUpDown->setEnabled(on);
    FirstLastScans->setEnabled(on);
    if (on) {
        MaxNumberOfScansChange();
        FirstLastScans->setCurrentIndex(0);
        FirstLastScansChange();
    }
}

void TMainForm::MaxNumberOfScansChange() {
    const auto n = ParseDecimalInt(FromQ(MaxNumberOfScans->text()));
    Program.ProgramSettings.MaxNumberOfScans = n ? *n : kDefaultMaxNumberOfScans;
}

void TMainForm::FirstLastScansChange() {
    if (FirstLastScans->currentIndex() < 0) {
        FirstLastScans->setCurrentIndex(0);
    }
    Program.ProgramSettings.LastScans = FirstLastScans->currentIndex() == 0;
}

}  // namespace uvlamp::app
