// The Settings page: the settings file with the controls, the program options, the log switch
// and the instrument constants.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <filesystem>
#include <system_error>

#include "app/Browsers.h"
#include "app/MainForm.h"
#include "app/QtText.h"
#include "app/UpDown.h"
#include "scans/Instrument.h"
#include "shell/Operator.h"
#include "shell/SettingsFile.h"

namespace uvlamp::app {

// The settings are applied in a fixed order, because setting a control runs its handler: the
// scan limit's check box, for instance, resets the limit's values, which are then read again.
void TMainForm::LoadSettings() {
    TSettings stored;
    ReadSettingsFile(stored, settingsFile_);
    TSettings& s = Program.ProgramSettings;

    s.SavePosition = stored.SavePosition;
    s.LimitScans = stored.LimitScans;
    LimitScans->setChecked(s.LimitScans);
    s.LastScans = stored.LastScans;
    FirstLastScans->setCurrentIndex(s.LastScans ? 0 : 1);
    s.MaxNumberOfScans = stored.MaxNumberOfScans;
    ScansNUpDown->SetPosition(s.MaxNumberOfScans);
    SavePosition->setChecked(s.SavePosition);
    s.FormTop = stored.FormTop;
    s.FormLeft = stored.FormLeft;
    s.FormWidth = stored.FormWidth;
    s.FormHeight = stored.FormHeight;
    s.LogFileName = stored.LogFileName;
    if (!s.LogFileName.empty()) {
        // Logging resumes into the same file without asking.
        KeepLog->setChecked(true);
    }
    SetIrrDirectory(stored.IrrDirectory);
    s.LastDir = stored.LastDir;
    SetUseBBF(stored.UseBBF);
    s.SaveOnExit = stored.SaveOnExit;
    s.SaveWorkingDir = stored.SaveWorkingDir;
    SaveLastWorkingDir->setChecked(s.SaveWorkingDir);
    SaveSettingsOnExit->setChecked(s.SaveOnExit);

    const QString root = ToQ(RootDirectory());
    std::error_code ec;
    const QString start =
        s.SaveWorkingDir ? FromPath(s.LastDir) : FromPath(std::filesystem::current_path(ec));
    if (!DirectoryListBox1->SetDirectory(start)) {
        DirectoryListBox1->SetDirectory(root);
        s.LastDir = FromQ(root);
    }
    s.LastDir = ToPath(DirectoryListBox1->Directory()).string();
    if (!SelectIrrDir->SetDirectory(FromPath(s.IrrDirectory))) {
        SelectIrrDir->SetDirectory(root);
        SetIrrDirectory(FromQ(root));
    }
    DriveComboBox2->SetDriveOf(SelectIrrDir->Directory());
    DriveComboBox1->SetDriveOf(DirectoryListBox1->Directory());

    s.MKIIIs = stored.MKIIIs;
    s.NewTs = stored.NewTs;
    s.SelectJd = false;
    s.LimitTe = false;
}

bool TMainForm::SaveSettingsToFile() {
    // The per-user folder that stands in for an unwritable program folder may not exist yet.
    std::error_code ec;
    if (settingsFile_.has_parent_path()) {
        std::filesystem::create_directories(settingsFile_.parent_path(), ec);
    }
    if (const auto error = SaveSettingsFile(Program.ProgramSettings, settingsFile_)) {
        op_->ShowError(*error);
        return false;
    }
    return true;
}

void TMainForm::SetUseBBF(bool on) {
    Program.ProgramSettings.UseBBF = on;
    StatusPanels[2]->setText(on ? "BBF: ON" : "BBF:OFF");
    UseBBFFiles->setChecked(on);
}

void TMainForm::SetIrrDirectory(const std::string& directory) {
    Program.ProgramSettings.IrrDirectory = directory;
    IrrDir->setText(FromPath(directory));
}

void TMainForm::UseBBFFilesClick() {
    SetUseBBF(UseBBFFiles->isChecked());
}

void TMainForm::SaveLastWorkingDirClick() {
    Program.ProgramSettings.SaveWorkingDir = SaveLastWorkingDir->isChecked();
}

void TMainForm::SavePositionClick() {
    Program.ProgramSettings.SavePosition = SavePosition->isChecked();
}

void TMainForm::SaveSettingsOnExitClick() {
    Program.ProgramSettings.SaveOnExit = SaveSettingsOnExit->isChecked();
}

void TMainForm::SaveSettingsClick() {
    SaveSettingsToFile();
}

void TMainForm::SelectIrrDirClick() {
    const QString directory = SelectIrrDir->Directory();
    EnterDirectory(directory);
    SetIrrDirectory(ToPath(directory).string());
}

void TMainForm::DriveComboBox2Change() {
    SelectIrrDir->SetDrive(DriveComboBox2->Drive());
}

void TMainForm::KeepLogClick() {
    TSettings& s = Program.ProgramSettings;
    if (KeepLog->isChecked()) {
        if (!s.LogFileName.empty()) {
            Program.StartLog(s.LogFileName);
            KeepLog->setText("Keep a log in " + FromPath(s.LogFileName));
            return;
        }
        TFileDialogRequest request;
        request.Title = "Keep a log file";
        request.ConfirmOverwrite = true;
        if (const auto path = op_->ChooseSaveFile(request)) {
            // An existing log is appended to, although the dialog asked about replacing it.
            Program.StartLog(*path);
            KeepLog->setText("Keep a log in " + FromPath(*path));
            return;
        }
        s.LogFileName.clear();
        KeepLog->setChecked(false);
    }
    s.LogFileName.clear();
    KeepLog->setChecked(false);
    KeepLog->setText("Keep a log file");
    Program.StopLog();
}

void TMainForm::ShowInstrument() {
    const TSettings& s = Program.ProgramSettings;
    if (s.InstrumentNumber.empty()) {
        return;
    }
    InstumentBox->setEnabled(true);
    InstumentBox->setTitle(ToQ("#" + s.InstrumentNumber));
    {
        // The load has applied the instrument's constants to the lamps already.
        const QSignalBlocker mkiii(MKIII);
        const QSignalBlocker newT(NewT);
        MKIII->setChecked(CurrentIsMKIII(s));
        NewT->setChecked(CurrentHasNewT(s));
    }
    StatusPanels[0]->setText(ToQ("#" + s.InstrumentNumber + (MKIII->isChecked() ? ":MKIII" : "")));
    StatusPanels[1]->setText(NewT->isChecked() ? "New T circ." : "Old T circ.");
}

void TMainForm::MKIIIClick() {
    TSettings& s = Program.ProgramSettings;
    const auto n = InstrumentIndex(s.InstrumentNumber);
    if (!n) {
        return;
    }
    const bool on = MKIII->isChecked();
    s.MKIIIs[static_cast<std::size_t>(*n)] = on;
    StatusPanels[0]->setText(ToQ("#" + s.InstrumentNumber + (on ? ":MKIII" : "")));
    UpdateSplitIndices(Program.LampList, on);
    // The averages carry the split of their scans: without a refresh the next response would
    // still be split at the old boundary.
    RefreshSelection();
}

void TMainForm::NewTClick() {
    TSettings& s = Program.ProgramSettings;
    const auto n = InstrumentIndex(s.InstrumentNumber);
    if (!n) {
        return;
    }
    const bool on = NewT->isChecked();
    s.NewTs[static_cast<std::size_t>(*n)] = on;
    StatusPanels[1]->setText(on ? "New T circ." : "Old T circ.");
    UpdateTemperatures(Program.LampList, on);
    RefreshSelection();
}

}  // namespace uvlamp::app
