#include "app/MainForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <exception>
#include <system_error>

#include "app/Browsers.h"
#include "app/QtOperator.h"
#include "app/QtText.h"
#include "app/UpDown.h"
#include "graphs/BubbleSeries.h"
#include "graphs/ChartView.h"
#include "shell/FileMask.h"
#include "shell/Operator.h"

namespace uvlamp::app {

QString ApplicationTitle() {
    return QStringLiteral("UV lamp data processing. uvlamp " UVLAMP_VERSION
                          ", by the uvlamp developers");
}

TMainForm::TMainForm(TMainFormOptions options, QWidget* parent)
    : QMainWindow(parent), settingsFile_(std::move(options.SettingsFile)) {
    if (options.Operator != nullptr) {
        op_ = options.Operator;
    } else {
        ownOperator_ = std::make_unique<TQtOperator>(this, ApplicationTitle());
        op_ = ownOperator_.get();
    }
    Program.Clock = std::move(options.Clock);

    BuildControls();
    ConnectHandlers();
    // The lamp list and the file list start empty in Program.
    Tabs->setCurrentWidget(TabScanGraph);
    Tabs->setTabVisible(Tabs->indexOf(TabRespGraph), false);
    RespReference->setEnabled(false);
    Series1->clear();
    Series2->clear();
    Series3->Clear();
    Series5->clear();

    // The bounds the two fields are about to show, so that the first log line already names both.
    Program.ProgramSettings.TeFrom = kDefaultTeFrom;
    Program.ProgramSettings.TeTo = kDefaultTeTo;
    LoadSettings();
    // Each runs its change handler: the bound is stored, logged and the (empty) lists refreshed.
    TeFrom->setText("-50");
    TeTo->setText("50");

    const TSettings& s = Program.ProgramSettings;
    move(s.FormLeft, s.FormTop);
    resize(s.FormWidth, s.FormHeight);
    if (const TLogFile* log = Program.Log()) {
        log->WriteLine("Program started on " + log->Stamp());
    }
    {
        const QSignalBlocker blocker(FilterComboBox1);
        FilterComboBox1->setCurrentIndex(0);
    }
    FilterComboBox1Change();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormDestroy();
    event->accept();
}

void TMainForm::FormDestroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    if (const TLogFile* log = Program.Log()) {
        log->WriteLine("Program finished on " + log->Stamp());
    }
    Program.ClearLoaded();
    TSettings& s = Program.ProgramSettings;
    const QRect frame = frameGeometry();
    s.FormTop = frame.top();
    s.FormLeft = frame.left();
    s.FormWidth = width();
    s.FormHeight = height();
    if (s.SaveOnExit) {
        SaveSettingsToFile();
    }
    // The OFF banner is the last line of the run, also when the settings could not be saved.
    Program.CurrentLog.reset();
}

void TMainForm::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        op_->ShowError(error.what());
    }
}

void TMainForm::ShowStatus(const std::string& text) {
    StatusMessage->setText(ToQ(text));
    StatusMessage->setToolTip(ToQ(text));
}

void TMainForm::EnterDirectory(const QString& directory) {
    std::error_code ec;
    std::filesystem::current_path(ToPath(directory), ec);
}

void TMainForm::ConnectHandlers() {
    // Every connection runs its handler guarded: an error ends the handler, not the program.
    const auto on = [this](auto* sender, auto signal, void (TMainForm::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    // A check box's or radio button's handler runs on every change of its state.
    const auto onToggle = [&](QAbstractButton* box, void (TMainForm::*handler)()) {
        on(box, &QAbstractButton::toggled, handler);
    };
    // A radio button's handler runs when it becomes the checked one of its group.
    const auto onChecked = [this](QAbstractButton* radio, void (TMainForm::*handler)()) {
        connect(radio, &QAbstractButton::toggled, this, [this, handler](bool checked) {
            if (checked) {
                Guarded([this, handler] { (this->*handler)(); });
            }
        });
    };

    // Browsing: the drive selector moves the directory list, the directory list and the filter
    // drive the file list, and the current directory follows them.
    connect(DriveComboBox1, &TDriveComboBox::DriveChosen, this, [this](const QString& root) {
        Guarded([&] { DirectoryListBox1->SetDirectory(root); });
    });
    on(DirectoryListBox1, &TDirectoryListBox::DirectoryChanged,
       &TMainForm::DirectoryListBox1Change);
    on(FilterComboBox1, &QComboBox::activated, &TMainForm::FilterComboBox1Change);
    on(Instruments, &QComboBox::activated, &TMainForm::InstrumentsChange);
    on(Instruments->lineEdit(), &QLineEdit::textEdited, &TMainForm::InstrumentsChange);
    connect(FileListBox1, &TFileListBox::ListRead, this,
            [this] { EnterDirectory(FileListBox1->Directory()); });
    on(FileListBox1, &TFileListBox::SelectionMade, &TMainForm::Button1Click);

    // Lists and selection. The lists' selections and check marks set from code run nothing:
    // the code that fills them blocks their signals.
    on(LampNames, &QListWidget::currentRowChanged, &TMainForm::LampNamesClick);
    on(ScanNames, &QListWidget::currentRowChanged, &TMainForm::ScanNamesClick);
    connect(ScanNames, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        Guarded([&] {
            // The check mark toggled belongs to the scan the operator points at.
            {
                const QSignalBlocker blocker(ScanNames);
                ScanNames->setCurrentItem(item);
            }
            ScanNamesClickCheck();
        });
    });
    on(PlotScanRelativeTo, &QComboBox::activated, &TMainForm::ScanNamesClick);
    onToggle(SelectJdCheckBox, &TMainForm::SelectJdCheckBoxClick);
    connect(SelectedJdEdit, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { SelectedJdEditKeyDown(kEnterKey); }); });
    onToggle(LimitTe, &TMainForm::LimitTeClick);
    on(TeFrom, &QLineEdit::textChanged, &TMainForm::TeFromChange);
    on(TeTo, &QLineEdit::textChanged, &TMainForm::TeToChange);
    on(SelectAll, &QPushButton::clicked, &TMainForm::SelectAllClick);
    on(SelectNone, &QPushButton::clicked, &TMainForm::SelectNoneClick);

    // Calculations.
    on(CalcResponse, &QPushButton::clicked, &TMainForm::CalcResponseClick);
    on(SaveResp, &QPushButton::clicked, &TMainForm::SaveRespClick);
    onToggle(MakeIrrUsingOneLamp, &TMainForm::MakeIrrUsingAvgClick);
    onToggle(MakeIrrUsingAvg, &TMainForm::MakeIrrUsingAvgClick);
    on(ReferenceLampCalc, &QComboBox::activated, &TMainForm::ReferenceLampCalcChange);
    on(LampToCalibrate, &QComboBox::activated, &TMainForm::ReferenceLampCalcChange);
    on(CalcIrradiance, &QPushButton::clicked, &TMainForm::CalcIrradianceClick);

    // Graphs. Ticking "Show errors" or "T" redraws the scan at once.
    onToggle(DoBalls, &TMainForm::ScanNamesClick);
    onToggle(PerDegree, &TMainForm::ScanNamesClick);
    on(SaveScanGraph, &QToolButton::clicked, &TMainForm::SaveScanGraphClick);
    on(SpeedButton1, &QToolButton::clicked, &TMainForm::SpeedButton1Click);
    on(SaveRespGraph, &QToolButton::clicked, &TMainForm::SaveRespGraphClick);
    onChecked(RelativeToLamp, &TMainForm::RelativeToLampClick);
    onChecked(RelativeToAvg, &TMainForm::RelativeToAvgClick);
    onChecked(RelativeToNone, &TMainForm::RelativeToAvgClick);
    onChecked(RelativeToFile, &TMainForm::RelativeToFileClick);
    on(RespReference, &QComboBox::activated, &TMainForm::RespReferenceChange);
    onToggle(ApplyUVRES, &TMainForm::ApplyUVRESClick);
    on(OpenUVRES, &QPushButton::clicked, &TMainForm::OpenUVRESClick);

    // Settings.
    onToggle(UseBBFFiles, &TMainForm::UseBBFFilesClick);
    onToggle(SaveLastWorkingDir, &TMainForm::SaveLastWorkingDirClick);
    onToggle(SavePosition, &TMainForm::SavePositionClick);
    onToggle(SaveSettingsOnExit, &TMainForm::SaveSettingsOnExitClick);
    on(SaveSettings, &QPushButton::clicked, &TMainForm::SaveSettingsClick);
    on(SelectIrrDir, &TDirectoryTree::DirectoryChanged, &TMainForm::SelectIrrDirClick);
    on(DriveComboBox2, &TDriveComboBox::DriveChosen, &TMainForm::DriveComboBox2Change);
    onToggle(LimitScans, &TMainForm::LimitScansClick);
    on(MaxNumberOfScans, &QLineEdit::textChanged, &TMainForm::MaxNumberOfScansChange);
    on(FirstLastScans, &QComboBox::activated, &TMainForm::FirstLastScansChange);
    onToggle(KeepLog, &TMainForm::KeepLogClick);
    onToggle(MKIII, &TMainForm::MKIIIClick);
    onToggle(NewT, &TMainForm::NewTClick);
}

void TMainForm::DirectoryListBox1Change() {
    const QString directory = DirectoryListBox1->Directory();
    FileListBox1->SetDirectory(directory);
    // Entering a mounted volume from the list shows that volume in the drive selector.
    DriveComboBox1->SetDriveOf(directory);
    EnterDirectory(directory);
    Program.ProgramSettings.LastDir = ToPath(directory).string();
    Tabs->setCurrentWidget(TabScanGraph);
    Tabs->setTabVisible(Tabs->indexOf(TabRespGraph), false);
    const QSignalBlocker blocker(Instruments);
    Instruments->clear();
    Instruments->addItem("All");
    Instruments->setCurrentIndex(0);
}

void TMainForm::FilterComboBox1Change() {
    const int i = FilterComboBox1->currentIndex();
    if (i >= 0) {
        FileListBox1->SetMask(FilterComboBox1->itemData(i).toString());
    }
}

void TMainForm::InstrumentsChange() {
    // Typed text that is not an entry counts as no entry: every instrument.
    const int i = Instruments->currentIndex();
    const bool entry = i > 0 && Instruments->currentText() == Instruments->itemText(i);
    const std::string extension = entry ? FromQ(Instruments->itemText(i)) : "*";
    FileListBox1->SetMask(ToQ(ChangeMaskExtension(FromQ(FileListBox1->Mask()), extension)));
}

}  // namespace uvlamp::app
