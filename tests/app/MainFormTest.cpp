// The window driven through its controls on the offscreen platform, on a copy of the example
// station, with a scripted operator answering its questions and dialogs.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QtTest/QtTest>
#include <algorithm>
#include <clocale>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include "WindowFixture.h"
#include "app/Browsers.h"
#include "app/MainForm.h"
#include "app/QtText.h"
#include "scans/Lamp.h"
#include "shell/ScriptedOperator.h"
#include "shell/SettingsFile.h"
#include "support/TestSupport.h"

using uvlamp::TScriptedOperator;
using uvlamp::app::FromQ;
using uvlamp::app::TMainForm;
using uvlamp::app::TMainFormOptions;
using uvlamp::app::ToQ;
using uvlamp::test::ClickRow;
using uvlamp::test::Items;
using uvlamp::test::kQlFiles;
namespace fs = std::filesystem;
namespace test = uvlamp::test;

namespace {

int CountScans(const uvlamp::TLamp& lamp, const std::function<bool(const uvlamp::TScan&)>& keep) {
    return static_cast<int>(std::count_if(lamp.Scans.begin(), lamp.Scans.end(),
                                          [&](const auto& scan) { return keep(*scan); }));
}

}  // namespace

class TMainFormTest : public QObject, public test::TWindowFixture {
    Q_OBJECT

  private:
    QString LampLine(int row) const { return form_->LampNames->item(row)->text(); }

  private slots:
    void init() { SetUpWindow(); }
    void cleanup() { TearDownWindow(); }

    void freshStartShowsTheStationWithDefaults() {
        TMainForm& f = Start();
        QCOMPARE(f.windowTitle(), QString("UV lamp processing"));
        QCOMPARE(f.pos(), QPoint(1, 1));
        QCOMPARE(f.size(), QSize(620, 440));
        QCOMPARE(f.StatusPanels[2]->text(), QString("BBF:OFF"));
        QCOMPARE(f.KeepLog->text(), QString("Keep a log file"));
        QVERIFY(!f.KeepLog->isChecked());
        QCOMPARE(f.IrrDir->text(), ToQ(uvlamp::RootDirectory()));
        QCOMPARE(f.TeFrom->text(), QString("-50"));
        QCOMPARE(f.TeTo->text(), QString("50"));
        QCOMPARE(f.Program.ProgramSettings.TeFrom, -50.0);
        QCOMPARE(f.Program.ProgramSettings.TeTo, 50.0);
        QCOMPARE(f.Tabs->currentWidget(), f.TabScanGraph);
        QVERIFY(!f.Tabs->isTabVisible(f.Tabs->indexOf(f.TabRespGraph)));
        QVERIFY(!f.RespReference->isEnabled());
        QVERIFY(!f.InstumentBox->isEnabled());
        QCOMPARE(f.FileListBox1->Mask(), QString("ql??????.???"));
        QCOMPARE(Items(f.FileListBox1), kQlFiles);
        QCOMPARE(fs::current_path(), station_->Path());
        // Nothing was saved: the settings file is written only when asked.
        QVERIFY(!fs::exists(SettingsPath()));
    }

    void enlargingTheWindowGrowsTheListsAndPages() {
        TMainForm& f = Start();
        const auto bottomGap = [&](QWidget* w) {
            return f.centralWidget()->height() -
                   w->mapTo(f.centralWidget(), QPoint(0, w->height())).y();
        };
        const QSize tabs = f.Tabs->size();
        const int lamps = f.LampNames->height();
        const int scans = f.ScanNames->height();
        const int gap = bottomGap(f.SelectAll);
        f.resize(1000, 700);
        QTRY_VERIFY(f.Tabs->width() > tabs.width());
        QVERIFY(f.Tabs->height() > tabs.height());
        QVERIFY(f.LampNames->height() > lamps);
        QVERIFY(f.ScanNames->height() > scans);
        QCOMPARE(bottomGap(f.SelectAll), gap);
        // A window never gets smaller than its designed minimum.
        f.resize(300, 200);
        QTRY_COMPARE(f.size(), QSize(620, 440));
    }

    void anErrorInAHandlerIsShownAndTheWindowGoesOn() {
        TMainForm& f = Start();
        f.Guarded([] { throw std::runtime_error("'2x' is not a valid integer value"); });
        QCOMPARE(op_->Journal().size(), std::size_t{1});
        QCOMPARE(op_->Journal()[0].Text, std::string("'2x' is not a valid integer value"));
        QVERIFY(f.isVisible());
        Load({"ql_L1031.137"});
        QCOMPARE(f.LampNames->count(), 1);
    }

    void filtersAndInstrumentsSetTheMask() {
        TMainForm& f = Start();
        f.FilterComboBox1->setCurrentIndex(4);
        f.FilterComboBox1Change();
        QCOMPARE(f.FileListBox1->Mask(), QString("?l*.*"));
        QCOMPARE(Items(f.FileListBox1), QStringList(kQlFiles) << "ul10624.137"
                                                              << "xl11324.137");
        f.FilterComboBox1->setCurrentIndex(0);
        f.FilterComboBox1Change();
        // Text typed into the instrument filter means every instrument.
        f.Instruments->lineEdit()->setText("185");
        f.InstrumentsChange();
        QCOMPARE(f.FileListBox1->Mask(), QString("ql??????.*"));
        f.FilterComboBox1->setCurrentIndex(1);
        f.FilterComboBox1Change();
        QCOMPARE(f.FileListBox1->Mask(), QString("xl?????.???"));
        QCOMPARE(Items(f.FileListBox1), QStringList{"xl11324.137"});
    }

    void choosingFilesFillsTheListsAndClickingALampItsScans() {
        TMainForm& f = Start();
        ClickRow(f.FileListBox1, 0);
        QCOMPARE(f.LampNames->count(), 1);
        QVERIFY2(QRegularExpression(R"(^L1031  84/ 84  \d\.\d%$)").match(LampLine(0)).hasMatch(),
                 qPrintable(LampLine(0)));
        QVERIFY(f.StatusMessage->text().startsWith("1 file(s) read, 1 lamp(s)."));

        Load(kQlFiles);
        QCOMPARE(f.LampNames->count(), 4);
        QVERIFY(LampLine(3).startsWith("L1034  84/ 84"));
        QCOMPARE(f.ReferenceLampLog->count(), 4);
        QCOMPARE(f.ReferenceLampLog->currentIndex(), 0);
        QCOMPARE(f.ReferenceLampCalc->currentIndex(), -1);
        QCOMPARE(f.LampToCalibrate->currentIndex(), -1);
        QCOMPARE(f.StatusPanels[0]->text(), QString("#137"));
        QCOMPARE(f.StatusPanels[1]->text(), QString("Old T circ."));
        QVERIFY(f.InstumentBox->isEnabled());
        QCOMPARE(f.InstumentBox->title(), QString("#137"));
        QCOMPARE(f.ScanNames->count(), 0);

        ClickRow(f.LampNames, 1);
        QCOMPARE(f.ScanNames->count(), 84);
        QCOMPARE(f.PlotScanRelativeTo->count(), 84);
        QCOMPARE(f.PlotScanRelativeTo->currentIndex(), 0);
        for (int k = 0; k < f.ScanNames->count(); ++k) {
            QCOMPARE(f.ScanNames->item(k)->checkState(), Qt::Checked);
        }
        const QString first = f.ScanNames->item(0)->text();
        QVERIFY2(QRegularExpression(R"(^ 1 \d{3}'24 +\d+C +-?\d+\.\d%$)").match(first).hasMatch(),
                 qPrintable(first));
    }

    void checkMarksAndSelectAllOrNoneChangeTheLampLine() {
        TMainForm& f = Start();
        Load(kQlFiles);
        ClickRow(f.LampNames, 0);
        // The operator unticks scan 3 with the mouse: its check mark fires the handler, which
        // refills the list the click came from.
        QStyleOptionViewItem option;
        option.initFrom(f.ScanNames);
        option.rect = f.ScanNames->visualItemRect(f.ScanNames->item(2));
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box = f.ScanNames->style()->subElementRect(
            QStyle::SE_ItemViewItemCheckIndicator, &option, f.ScanNames);
        QTest::mouseClick(f.ScanNames->viewport(), Qt::LeftButton, {}, box.center());
        QVERIFY(LampLine(0).startsWith("L1031  83/ 84"));
        QCOMPARE(f.LampNames->currentRow(), 0);
        QCOMPARE(f.ScanNames->currentRow(), 2);
        QCOMPARE(f.ScanNames->item(2)->checkState(), Qt::Unchecked);
        QVERIFY(!f.Program.LampList[0]->Scans[2]->Selected);

        QTest::mouseClick(f.SelectNone, Qt::LeftButton);
        QCOMPARE(LampLine(0), QString("L1031   0/ 84  0.0%"));
        QVERIFY(LampLine(1).startsWith("L1032  84/ 84"));
        f.ScanNames->item(5)->setCheckState(Qt::Checked);
        QVERIFY(LampLine(0).startsWith("L1031   1/ 84"));
        QVERIFY(f.Program.LampList[0]->Scans[5]->Selected);

        QTest::mouseClick(f.SelectAll, Qt::LeftButton);
        QVERIFY(LampLine(0).startsWith("L1031  84/ 84"));
        QCOMPARE(f.ScanNames->item(2)->checkState(), Qt::Checked);
    }

    void daySelectionActsOnEnter() {
        TMainForm& f = Start();
        Load(kQlFiles);
        ClickRow(f.LampNames, 0);
        QVERIFY(!f.SelectedJdEdit->isEnabled());
        QTest::mouseClick(f.SelectJdCheckBox, Qt::LeftButton);
        QVERIFY(f.SelectedJdEdit->isEnabled());
        QVERIFY(f.Program.ProgramSettings.SelectJd);
        // Enter on an empty field changes nothing; the criterion waits for a recalculation.
        QTest::keyClick(f.SelectedJdEdit, Qt::Key_Return);
        QVERIFY(LampLine(0).startsWith("L1031  84/ 84"));

        const int day = f.Program.LampList[0]->Scans[10]->JulianDay;
        QTest::keyClicks(f.SelectedJdEdit, QString::number(day));
        QVERIFY(LampLine(0).startsWith("L1031  84/ 84"));
        QTest::keyClick(f.SelectedJdEdit, Qt::Key_Return);
        for (int i = 0; i < 4; ++i) {
            const auto& lamp = *f.Program.LampList[static_cast<std::size_t>(i)];
            const int onDay = CountScans(lamp, [&](const auto& s) { return s.JulianDay == day; });
            QVERIFY(onDay > 0 && onDay < 84);
            QCOMPARE(lamp.NUsed, onDay);
            QVERIFY(LampLine(i).contains(QString::asprintf("%3d/ 84", onDay)));
        }
        QCOMPARE(f.LampNames->currentRow(), 0);
    }

    void typedTemperatureBoundsApplyAsTheyAreTyped() {
        const fs::path log = config_->Path() / "run.log";
        test::WriteFile(SettingsPath(), "[Global]\nLogFileName=" + log.string() + "\n");
        TMainForm& f = Start();
        Load(kQlFiles);
        ClickRow(f.LampNames, 0);
        QTest::mouseClick(f.LimitTe, Qt::LeftButton);
        QVERIFY(f.TeTo->isEnabled());
        f.TeTo->clear();
        QTest::keyClicks(f.TeTo, "30");
        QCOMPARE(f.Program.ProgramSettings.TeTo, 30.0);
        // "3" applied first: every scan at 3 degrees or more went, and stays gone at "30".
        QVERIFY(LampLine(0).startsWith("L1031   0/ 84"));
        const std::string text = test::ReadFile(log);
        QVERIFY(text.find("\t\tTemperature limited between -50.0 and 3.0\n") != std::string::npos);
        QVERIFY(text.find("\t\tTemperature limited between -50.0 and 30.0\n") != std::string::npos);

        QTest::mouseClick(f.SelectAll, Qt::LeftButton);
        const auto& lamp = *f.Program.LampList[0];
        const int below30 = CountScans(lamp, [](const auto& s) { return s.Temperature < 30; });
        QVERIFY(below30 > 0 && below30 < 84);
        QCOMPARE(lamp.NUsed, below30);

        // Turning the limit off resets the bounds but selects nothing again.
        QTest::mouseClick(f.LimitTe, Qt::LeftButton);
        QCOMPARE(f.TeTo->text(), QString("50"));
        QVERIFY(!f.TeTo->isEnabled());
        QCOMPARE(lamp.NUsed, below30);
        QVERIFY(LampLine(1).startsWith("L1032   0/ 84"));
    }

    void anotherInstrumentIsTakenOnlyWhenTheOperatorAgrees() {
        fs::copy_file(station_->Path() / "ql_L1032.137", station_->Path() / "ql_L1032.185");
        TMainForm& f = Start();
        f.Program.ProgramSettings.MKIIIs[185] = true;
        f.FileListBox1->Refresh();
        Load({"ql_L1031.137"});
        op_->QueueAnswer(false);
        Load({"ql_L1031.137", "ql_L1032.185"});
        QCOMPARE(op_->Questions(),
                 std::vector<std::string>{"This instrument number is different. Continue?"});
        QCOMPARE(f.StatusPanels[0]->text(), QString("#137"));
        QCOMPARE(f.InstumentBox->title(), QString("#137"));
        QVERIFY(!f.MKIII->isChecked());
        QCOMPARE(f.LampNames->count(), 2);

        op_->QueueAnswer(true);
        Load({"ql_L1032.185"});
        QCOMPARE(f.StatusPanels[0]->text(), QString("#185:MKIII"));
        QCOMPARE(f.InstumentBox->title(), QString("#185"));
        QVERIFY(f.MKIII->isChecked());
    }

    void tickingMkiiiMovesTheSplitOfScansAndAverages() {
        TMainForm& f = Start();
        Load(kQlFiles);
        const auto& lamp = *f.Program.LampList[0];
        const int oldSplit = lamp.Scans[0]->SplitIndex;
        QCOMPARE(lamp.Average.SplitIndex, oldSplit);
        QTest::mouseClick(f.TabSettings, Qt::LeftButton);
        f.MKIII->setChecked(true);
        QCOMPARE(f.StatusPanels[0]->text(), QString("#137:MKIII"));
        QVERIFY(f.Program.ProgramSettings.MKIIIs[137]);
        QVERIFY(lamp.Scans[0]->SplitIndex > oldSplit);
        QCOMPARE(lamp.Average.SplitIndex, lamp.Scans[0]->SplitIndex);
    }

    void keepLogAsksForAFileAndStaysOffWhenCancelled() {
        TMainForm& f = Start();
        const fs::path log = config_->Path() / "journal.txt";
        test::WriteFile(log, "earlier\n");
        op_->QueueFile(log.string());
        f.KeepLog->setChecked(true);
        QCOMPARE(f.KeepLog->text(), ToQ("Keep a log in " + log.string()));
        QCOMPARE(f.Program.ProgramSettings.LogFileName, log.string());
        QVERIFY(f.Program.Log() != nullptr);
        f.KeepLog->setChecked(false);
        QCOMPARE(f.KeepLog->text(), QString("Keep a log file"));
        QVERIFY(f.Program.ProgramSettings.LogFileName.empty());
        QVERIFY(f.Program.Log() == nullptr);
        const std::string text = test::ReadFile(log);
        QVERIFY(text.rfind("earlier\n\n\nLogging turned ON on ", 0) == 0);
        QVERIFY(text.find("\nLogging turned OFF on ") != std::string::npos);

        op_->QueueFile(std::nullopt);
        f.KeepLog->setChecked(true);
        QVERIFY(!f.KeepLog->isChecked());
        QCOMPARE(f.KeepLog->text(), QString("Keep a log file"));
        QVERIFY(f.Program.ProgramSettings.LogFileName.empty());
        QVERIFY(f.Program.Log() == nullptr);
        QCOMPARE(test::ReadFile(log), text);
    }

    void aLoggedRunIsFramedByItsBanners() {
        const fs::path log = config_->Path() / "run.log";
        const std::string ini = "[Global]\nLogFileName=" + log.string() + "\n";
        test::WriteFile(SettingsPath(), ini);
        TMainForm& f = Start();
        QVERIFY(f.KeepLog->isChecked());
        Load({"ql_L1031.137"});
        f.close();
        form_.reset();
        const std::string stamp = "Dec 09, 2025 at 12:00";
        const std::string expected = "\n\nLogging turned ON on " + stamp +
                                     "\n\t\tTemperature limited between -50.0 and 50.0"
                                     "\n\t\tTemperature limited between -50.0 and 50.0"
                                     "\nProgram started on " +
                                     stamp + "\n\tReading file ql_L1031.137: 1 lamp(s), 84 scan(s)";
        const std::string text = test::ReadFile(log);
        QVERIFY2(text.rfind(expected, 0) == 0, text.c_str());
        const std::string end =
            "Program finished on " + stamp + "\nLogging turned OFF on " + stamp + "\n";
        QVERIFY2(text.size() > end.size() && text.substr(text.size() - end.size()) == end,
                 text.c_str());
        // Without "Save settings on exit" the settings file stays as it was.
        QCOMPARE(test::ReadFile(SettingsPath()), ini);
    }

    void settingsAreWrittenAndReadBack() {
        const fs::path irr = config_->Path() / "irr";
        fs::create_directories(irr);
        {
            TMainForm& f = Start();
            Load({"ql_L1031.137"});
            f.SavePosition->setChecked(true);
            f.LimitScans->setChecked(true);
            f.MaxNumberOfScans->setText("5");
            f.FirstLastScans->setCurrentIndex(1);
            f.FirstLastScansChange();
            f.SaveLastWorkingDir->setChecked(true);
            f.UseBBFFiles->setChecked(true);
            QCOMPARE(f.StatusPanels[2]->text(), QString("BBF: ON"));
            QVERIFY(f.SelectIrrDir->SetDirectory(ToQ(irr.string())));
            QCOMPARE(f.IrrDir->text(), ToQ(irr.string()));
            f.MKIII->setChecked(true);
            f.NewT->setChecked(true);
            f.move(30, 40);
            f.resize(700, 500);
            // "Save these settings" writes the geometry of the start, not the present one.
            QTest::mouseClick(f.SaveSettings, Qt::LeftButton);
            const std::string ini = test::ReadFile(SettingsPath());
            for (const char* line :
                 {"FormTop=1\n", "FormLeft=1\n", "FormWidth=620\n", "FormHeight=440\n",
                  "LimitScans=1\n", "LastScans=0\n", "MaxNumberOfScans=5\n", "UseBBF=1\n",
                  "SaveWorkingDir=1\n", "[MKIIIs]\n137=1\n", "[NewTs]\n137=1\n"}) {
                QVERIFY2(ini.find(line) != std::string::npos, line);
            }
            f.SaveSettingsOnExit->setChecked(true);
            f.close();
            form_.reset();
        }
        TMainForm& g = Start(config_->Path());
        QCOMPARE(g.pos(), QPoint(30, 40));
        QCOMPARE(g.size(), QSize(700, 500));
        QVERIFY(g.LimitScans->isChecked());
        QVERIFY(g.MaxNumberOfScans->isEnabled());
        QCOMPARE(g.MaxNumberOfScans->text(), QString("5"));
        QCOMPARE(g.FirstLastScans->currentText(), QString("first"));
        QVERIFY(!g.Program.ProgramSettings.LastScans);
        QCOMPARE(g.Program.ProgramSettings.MaxNumberOfScans, 5);
        QVERIFY(g.SavePosition->isChecked());
        QVERIFY(g.SaveLastWorkingDir->isChecked());
        QVERIFY(g.SaveSettingsOnExit->isChecked());
        // The saved working directory wins over the directory the program starts in.
        QCOMPARE(g.DirectoryListBox1->Directory(), ToQ(station_->Path().string()));
        QCOMPARE(g.IrrDir->text(), ToQ(irr.string()));
        QVERIFY(g.UseBBFFiles->isChecked());
        QCOMPARE(g.StatusPanels[2]->text(), QString("BBF: ON"));
        QVERIFY(g.Program.ProgramSettings.MKIIIs[137]);
        QVERIFY(g.Program.ProgramSettings.NewTs[137]);
        QVERIFY(!g.Program.ProgramSettings.MKIIIs[138]);
    }

    void missingDirectoriesFallBackToTheRoot() {
        test::WriteFile(SettingsPath(),
                        "[Global]\nSaveWorkingDir=1\nLastDir=/no/such/dir\n"
                        "IrrDirectory=/no/such/irr\nLimitScans=1\nLastScans=0\n"
                        "MaxNumberOfScans=0x10\n");
        TMainForm& f = Start();
        const QString root = ToQ(uvlamp::RootDirectory());
        QCOMPARE(f.DirectoryListBox1->Directory(), root);
        QCOMPARE(ToQ(f.Program.ProgramSettings.LastDir), root);
        QCOMPARE(f.IrrDir->text(), root);
        QCOMPARE(f.MaxNumberOfScans->text(), QString("16"));
        // Checking the limit picked "last"; the file's "first" was applied after it.
        QCOMPARE(f.FirstLastScans->currentText(), QString("first"));
    }

    void aResponseShowsItsPageAndIsSavedInFourFiles() {
        TMainForm& f = Start();
        QVERIFY(f.SelectIrrDir->SetDirectory(ToQ(station_->Path().string())));
        Load(kQlFiles);
        QTest::mouseClick(f.CalcResponse, Qt::LeftButton);
        QVERIFY(f.Tabs->isTabVisible(f.Tabs->indexOf(f.TabRespGraph)));
        QCOMPARE(f.Tabs->currentWidget(), f.TabRespGraph);
        QVERIFY(f.Program.CurrentResponse != nullptr);
        QVERIFY(f.RelativeToNone->isChecked());
        // The first calculation switched the graph's mode; the fields keep their texts.
        QCOMPARE(f.SaveRespEndWl->text(), QString("3250"));
        QTest::mouseClick(f.CalcResponse, Qt::LeftButton);
        QCOMPARE(f.SaveRespStartWl->text(), QString("2865"));
        QCOMPARE(f.SaveRespEndWl->text(), QString("3635"));

        const fs::path out = config_->Path() / "uvr137";
        op_->QueueFile(out.string());
        QTest::mouseClick(f.SaveResp, Qt::LeftButton);
        for (const char* suffix : {"_tc", ".log_tc", ".tc", ".tc.relative"}) {
            QVERIFY2(!test::ReadFile(out.string() + suffix).empty(), suffix);
        }
        const std::string response = test::ReadFile(out.string() + "_tc");
        QCOMPARE(std::count(response.begin(), response.end(), '\n'), 155);
        QVERIFY(response.rfind("   2865 ", 0) == 0);
        const std::string log = test::ReadFile(out.string() + ".log_tc");
        QVERIFY(log.rfind("Processed files: ql_L1031.137 ql_L1032.137 ql_L1033.137 ql_L1034.137\n",
                          0) == 0);
        QVERIFY(f.StatusMessage->text().startsWith("Saved "));

        // Loading again takes the response away.
        Load({"ql_L1031.137"});
        QVERIFY(f.Program.CurrentResponse == nullptr);
        QVERIFY(!f.Tabs->isTabVisible(f.Tabs->indexOf(f.TabRespGraph)));
    }

    void newIrradianceFilesAreWrittenFromTheChosenReference() {
        TMainForm& f = Start();
        QVERIFY(f.SelectIrrDir->SetDirectory(ToQ(station_->Path().string())));
        Load(kQlFiles);
        QTest::mouseClick(f.CalcIrradiance, Qt::LeftButton);
        QCOMPARE(op_->Messages(),
                 std::vector<std::string>{"Please select a lamp for the reference."});

        // A lamp without an irradiance standard cannot stay the reference.
        fs::remove(station_->Path() / "lampL1034.irr");
        f.ReferenceLampCalc->setCurrentIndex(3);
        f.ReferenceLampCalcChange();
        QCOMPARE(f.ReferenceLampCalc->currentIndex(), -1);
        QCOMPARE(op_->Messages().size(), std::size_t{2});

        f.ReferenceLampCalc->setCurrentIndex(0);
        f.ReferenceLampCalcChange();
        QCOMPARE(f.ReferenceLampCalc->currentIndex(), 0);
        QTest::mouseClick(f.CalcIrradiance, Qt::LeftButton);
        for (const char* name :
             {"LAMPL1032_(L1031).irr", "LAMPL1033_(L1031).irr", "LAMPL1034_(L1031).irr"}) {
            const std::string text = test::ReadFile(station_->Path() / name);
            QVERIFY2(std::count(text.begin(), text.end(), '\n') == 25, name);
        }

        // "For lamp": one file for the chosen lamp from the average of the others.
        f.MakeIrrUsingAvg->setChecked(true);
        QVERIFY(f.LampToCalibrate->isEnabled());
        QVERIFY(!f.ReferenceLampCalc->isEnabled());
        f.LampToCalibrate->setCurrentIndex(1);
        QTest::mouseClick(f.CalcIrradiance, Qt::LeftButton);
        // Only the lamps with an irradiance standard (here the reference chosen before) serve.
        QVERIFY(fs::exists(station_->Path() / "LAMPL1032_(avg_L1031).irr"));
    }

    void loadProblemsAreReportedAndWhatWasReadStays() {
        test::WriteFile(station_->Path() / "ql_junk.137", "not a scan file\n");
        test::WriteFile(station_->Path() / "ql_zzzz.1x7", "whatever\n");
        TMainForm& f = Start();
        Load({"ql_L1031.137", "ql_junk.137", "ql_zzzz.1x7"});
        QCOMPARE(f.LampNames->count(), 1);
        QVERIFY(LampLine(0).startsWith("L1031  84/ 84"));
        const QString status = f.StatusMessage->text();
        QVERIFY2(status.contains("Not read: ql_junk.137"), qPrintable(status));
        QVERIFY2(status.contains("Reading stopped: "), qPrintable(status));
        QVERIFY(status.contains("ql_zzzz.1x7"));
        // The error that stopped the reading was shown; the window goes on.
        QVERIFY(!op_->Messages().empty());
        QVERIFY(QString::fromStdString(op_->Messages().back()).contains("ql_zzzz.1x7"));
        ClickRow(f.LampNames, 0);
        QCOMPARE(f.ScanNames->count(), 84);
    }

    void hostileLampNamesAreShownReadable() {
        std::string ul = test::ReadFile(station_->Path() / "ul10624.137");
        for (const auto& [from, to] :
             {std::pair<std::string, std::string>{"ln L1032", "ln ../../x\x01\x1b[2J"},
              {"ln L1033", "ln " + std::string(300, 'N')}}) {
            ul.replace(ul.find(from), from.size(), to);
        }
        test::WriteFile(station_->Path() / "ul10624.137", ul);
        TMainForm& f = Start();
        f.FilterComboBox1->setCurrentIndex(4);  // every lamp scan file
        f.FilterComboBox1Change();
        Load({"ul10624.137"});
        QCOMPARE(f.LampNames->count(), 4);
        QVERIFY2(LampLine(1).startsWith("../../x??[2J "), qPrintable(LampLine(1)));
        QVERIFY2(LampLine(2).startsWith(QString(64, 'N') + "... "), qPrintable(LampLine(2)));
        for (const QComboBox* box : {f.ReferenceLampLog, f.ReferenceLampCalc, f.LampToCalibrate}) {
            QCOMPARE(box->itemText(1), QString("../../x??[2J"));
        }
        for (int k = 0; k < f.LampNames->count(); ++k) {
            for (const QChar c : LampLine(k)) {
                QVERIFY2(c.isPrint(), qPrintable(LampLine(k)));
            }
        }
    }
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    TMainFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainFormTest.moc"
