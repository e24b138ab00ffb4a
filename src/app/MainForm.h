#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "shell/Program.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace uvlamp {
class TOperator;
struct TLoadResult;
}  // namespace uvlamp

namespace uvlamp::graphs {
class TBubbleSeries;
class TChartView;
}  // namespace uvlamp::graphs

namespace uvlamp::app {

class TDirectoryListBox;
class TDirectoryTree;
class TDriveComboBox;
class TFileListBox;
class TUpDown;

// The program's title, as the desktop shows it for the program and as the caption of the error
// message box: "UV lamp data processing." and our credit line.
QString ApplicationTitle();

// How a window is made: where its settings file is, who answers its questions (the screen when
// null) and, for tests, the clock of its log.
struct TMainFormOptions {
    std::filesystem::path SettingsFile;
    TOperator* Operator = nullptr;
    std::function<double()> Clock;
};

// The program's one window. Every control is a member named as the operator's documentation
// names it (also its objectName); the handlers read the controls, call the core and show the
// result. Handlers run to completion and may call one another; an error escaping the handler
// that the operator started is shown in an error message box and the window stays open.
class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TMainForm(TMainFormOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // What the window holds: settings, log, lamps, files and responses.
    TProgram Program;
    TOperator& Operator() { return *op_; }
    const std::filesystem::path& SettingsFile() const { return settingsFile_; }

    // Left column.
    TDriveComboBox* DriveComboBox1 = nullptr;
    QComboBox* FilterComboBox1 = nullptr;
    TDirectoryListBox* DirectoryListBox1 = nullptr;
    QComboBox* Instruments = nullptr;
    TFileListBox* FileListBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label9 = nullptr;
    QListWidget* LampNames = nullptr;
    QListWidget* ScanNames = nullptr;
    QCheckBox* SelectJdCheckBox = nullptr;
    QLineEdit* SelectedJdEdit = nullptr;
    QLabel* Label3 = nullptr;
    QCheckBox* LimitTe = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* TeFrom = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* TeTo = nullptr;
    QPushButton* SelectAll = nullptr;
    QPushButton* SelectNone = nullptr;

    // The pages.
    QTabWidget* Tabs = nullptr;
    QWidget* TabScanGraph = nullptr;
    QWidget* TabRespGraph = nullptr;
    QWidget* TabCalc = nullptr;
    QWidget* TabSettings = nullptr;
    QWidget* TC = nullptr;

    // "Scan graphs" and its four pages.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    graphs::TChartView* ScanGraph = nullptr;
    QValueAxis* ScanGraphBottomAxis = nullptr;
    QValueAxis* ScanGraphLeftAxis = nullptr;
    graphs::TBubbleSeries* Series3 = nullptr;  // deviations of the chosen scan
    QLineSeries* Series1 = nullptr;            // the chosen scan
    QLineSeries* Series2 = nullptr;            // the lamp's average
    QScatterSeries* Series5 = nullptr;         // the average's points, coloured by their scatter
    QToolButton* SaveScanGraph = nullptr;
    QCheckBox* DoBalls = nullptr;
    QLabel* Label19 = nullptr;
    QComboBox* PlotScanRelativeTo = nullptr;
    QCheckBox* PerDegree = nullptr;
    graphs::TChartView* RelativeScanGraph = nullptr;
    QValueAxis* RelativeScanGraphBottomAxis = nullptr;
    QValueAxis* RelativeScanGraphLeftAxis = nullptr;
    QLineSeries* Series4 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QCheckBox* ApplyUVRES = nullptr;
    QLineEdit* UVRESname = nullptr;
    QPushButton* OpenUVRES = nullptr;
    graphs::TChartView* LampGraph = nullptr;
    QValueAxis* LampGraphBottomAxis = nullptr;
    QValueAxis* LampGraphLeftAxis = nullptr;
    QLineSeries* Series6 = nullptr;  // "Irr file"
    QLineSeries* Series7 = nullptr;  // "Avg"
    QLineSeries* Series8 = nullptr;  // "This scan"
    graphs::TChartView* Chart1 = nullptr;
    QDateTimeAxis* Chart1BottomAxis = nullptr;
    QValueAxis* Chart1LeftAxis = nullptr;
    QLineSeries* Series9 = nullptr;  // points only: the line between them is not drawn

    // "Response graphs".
    QGroupBox* GroupBox3 = nullptr;
    QRadioButton* RelativeToLamp = nullptr;
    QComboBox* RespReference = nullptr;
    QRadioButton* RelativeToAvg = nullptr;
    QRadioButton* RelativeToFile = nullptr;
    QRadioButton* RelativeToNone = nullptr;
    graphs::TChartView* RespGraph = nullptr;
    QValueAxis* RespGraphBottomAxis = nullptr;
    QValueAxis* RespGraphLeftAxis = nullptr;
    QToolButton* SaveRespGraph = nullptr;

    // "Calculations".
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* CalcResponse = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* SaveRespStartWl = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* SaveRespEndWl = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* SaveRespIncWl = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* ReferenceLampLog = nullptr;
    QPushButton* SaveResp = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label17 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QRadioButton* MakeIrrUsingOneLamp = nullptr;
    QComboBox* ReferenceLampCalc = nullptr;
    QRadioButton* MakeIrrUsingAvg = nullptr;
    QComboBox* LampToCalibrate = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* SaveIrrStartWl = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* SaveIrrEndWl = nullptr;
    QLabel* Label14 = nullptr;
    QLineEdit* SaveIrrIncWl = nullptr;
    QLabel* Label15 = nullptr;
    QLineEdit* SaveIrrDistance = nullptr;
    QLabel* Label11 = nullptr;
    QPushButton* CalcIrradiance = nullptr;

    // "Settings".
    QGroupBox* GroupBox4 = nullptr;
    QCheckBox* UseBBFFiles = nullptr;
    QCheckBox* SaveLastWorkingDir = nullptr;
    QLabel* Label16 = nullptr;
    TDriveComboBox* DriveComboBox2 = nullptr;
    QLineEdit* IrrDir = nullptr;
    TDirectoryTree* SelectIrrDir = nullptr;
    QCheckBox* LimitScans = nullptr;
    QLineEdit* MaxNumberOfScans = nullptr;
    TUpDown* ScansNUpDown = nullptr;
    QComboBox* FirstLastScans = nullptr;
    QLabel* Label18 = nullptr;
    QCheckBox* SavePosition = nullptr;
    QCheckBox* KeepLog = nullptr;
    QGroupBox* InstumentBox = nullptr;
    QCheckBox* MKIII = nullptr;
    QCheckBox* NewT = nullptr;
    QCheckBox* SaveSettingsOnExit = nullptr;
    QPushButton* SaveSettings = nullptr;

    // "TC".
    graphs::TChartView* Chart2 = nullptr;
    QValueAxis* Chart2BottomAxis = nullptr;
    QValueAxis* Chart2LeftAxis = nullptr;
    QLineSeries* Series10 = nullptr;

    // The status bar's seven panels, then the area where loading and calculations report.
    std::array<QLabel*, 7> StatusPanels{};
    QLabel* StatusMessage = nullptr;

    // Browsing and loading.
    void DirectoryListBox1Change();
    void InstrumentsChange();
    void FilterComboBox1Change();
    void Button1Click();
    // Settings page.
    void UseBBFFilesClick();
    void SaveLastWorkingDirClick();
    void SavePositionClick();
    void SaveSettingsOnExitClick();
    void SaveSettingsClick();
    void SelectIrrDirClick();
    void DriveComboBox2Change();
    void KeepLogClick();
    void MKIIIClick();
    void NewTClick();
    // Lists and selection.
    void LampNamesClick();
    void ScanNamesClick();
    void ScanNamesClickCheck();
    void SelectAllClick();
    void SelectNoneClick();
    void SelectJdCheckBoxClick();
    void SelectedJdEditKeyDown(int key);
    void LimitTeClick();
    void TeFromChange();
    void TeToChange();
    void LimitScansClick();
    void MaxNumberOfScansChange();
    void FirstLastScansChange();
    void RefreshSelection();
    void FillLampLists();
    void FillScanList(const TLamp& lamp);
    // Graphs.
    void RedrawResponseGraph();
    void RelativeToLampClick();
    void RelativeToAvgClick();
    void RelativeToFileClick();
    void RespReferenceChange();
    void ApplyUVRESClick();
    void OpenUVRESClick();
    void SaveScanGraphClick();
    void SpeedButton1Click();
    void SaveRespGraphClick();
    // Calculations.
    void CalcResponseClick();
    void SaveRespClick();
    void ReferenceLampCalcChange();
    void MakeIrrUsingAvgClick();
    void CalcIrradianceClick();

    // Settings load and save with the controls (the settings file's own format is the core's).
    void LoadSettings();
    // False after telling the operator that the file could not be written.
    bool SaveSettingsToFile();
    void SetUseBBF(bool on);
    void SetIrrDirectory(const std::string& directory);

    // Runs a handler the operator started: an error escaping it is shown, the window stays open.
    void Guarded(const std::function<void()>& handler);
    // A line of news in the status bar's message area (its full text also as the tool tip).
    void ShowStatus(const std::string& text);

    // The temperature bounds of the two fields when they hold no whole number, and at start.
    static constexpr double kDefaultTeFrom = -50;
    static constexpr double kDefaultTeTo = 50;
    // The key code of Enter, the one key of the day field that acts.
    static constexpr int kEnterKey = 13;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void ConnectHandlers();
    void FormDestroy();
    // The lamp selected in LampNames, or null.
    TLamp* SelectedLamp();
    // Shows what the instrument check of a load decided: the group box, its check boxes and
    // the status panels.
    void ShowInstrument();
    void ShowLoadResult(const TLoadResult& result);
    // "Select all" and "Select none" on the lamp shown.
    void SelectWholeLamp(bool selected);
    // Re-selects positions in the lists after a refill and runs the click handlers.
    void ReselectAndRedraw(int lampRow, int scanRow);
    // The lamp spectrum of a scan (the lamp's average or one of its scans) through the UVRES
    // response, when one is loaded.
    void PlotLampSpectrum(const TScan& scan);
    // The temperature coefficient of the response just calculated, on the "TC" page.
    void PlotTemperatureCoefficient();
    // Asks for a file name and saves the chart as shown; from the last directory shown, or where
    // the last dialog was left when fromLastDir is false.
    void SaveGraphPicture(graphs::TChartView* view, bool fromLastDir);
    // The process's current directory follows the directory controls.
    void EnterDirectory(const QString& directory);

    std::filesystem::path settingsFile_;
    std::unique_ptr<TOperator> ownOperator_;
    TOperator* op_ = nullptr;
    bool destroyed_ = false;
};

}  // namespace uvlamp::app
