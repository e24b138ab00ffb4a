#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "shell/SettingsFile.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

using test::NativeText;
using test::ReadText;
using test::TTempDir;
using test::WriteFile;

// Settings as a window would hold them before loading: run-time state set, stored fields odd.
TSettings DirtySettings() {
    TSettings s;
    s.SavePosition = s.LimitScans = s.UseBBF = s.SaveOnExit = s.SaveWorkingDir = true;
    s.LastScans = false;
    s.MaxNumberOfScans = s.FormTop = s.FormLeft = s.FormWidth = s.FormHeight = -5;
    s.LogFileName = s.IrrDirectory = s.LastDir = "stale";
    s.MKIIIs.fill(true);
    s.NewTs.fill(true);
    s.InstrumentNumber = "042";
    s.SelectJd = s.LimitTe = true;
    s.SelectedJd = 45;
    s.TeFrom = -50;
    return s;
}

TEST(ReadSettingsTest, MissingFileGivesTheDefaults) {
    TTempDir dir;
    TSettings s = DirtySettings();
    ReadSettingsFile(s, dir / "uvlamp.INI");
    EXPECT_FALSE(s.SavePosition);
    EXPECT_FALSE(s.LimitScans);
    EXPECT_TRUE(s.LastScans);
    EXPECT_EQ(s.MaxNumberOfScans, 21);
    EXPECT_EQ(s.FormTop, 1);
    EXPECT_EQ(s.FormLeft, 1);
    EXPECT_EQ(s.FormWidth, 620);
    EXPECT_EQ(s.FormHeight, 440);
    EXPECT_EQ(s.LogFileName, "");
    EXPECT_EQ(s.IrrDirectory, RootDirectory());
    EXPECT_EQ(s.LastDir, RootDirectory());
    EXPECT_FALSE(s.UseBBF);
    EXPECT_FALSE(s.SaveOnExit);
    EXPECT_FALSE(s.SaveWorkingDir);
    for (int i = 1; i < kInstrumentTableSize; ++i) {
        ASSERT_FALSE(s.MKIIIs[static_cast<std::size_t>(i)]) << i;
        ASSERT_FALSE(s.NewTs[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_FALSE(s.SelectJd);
    EXPECT_FALSE(s.LimitTe);
    // Neither the unstored entry 0 nor the run-time state is touched.
    EXPECT_TRUE(s.MKIIIs[0]);
    EXPECT_TRUE(s.NewTs[0]);
    EXPECT_EQ(s.InstrumentNumber, "042");
    EXPECT_EQ(s.SelectedJd, 45);
    EXPECT_EQ(s.TeFrom, -50);
}

TEST(ReadSettingsTest, ReadsAFileWhateverItsCaseAndLineEnds) {
    const std::string lines[] = {
        "[global]",
        "limitscans=1",
        "LASTSCANS=0",
        "MaxNumberOfScans=0x0C",
        "SavePosition=2",
        "FormTop=-3",
        "FormLeft=$10",
        "FormWidth=800",
        "FormHeight=600",
        "LogFileName=  a.log ",
        "IrrDirectory=/irr",
        "LastDir=/data",
        "UseBBF=1",
        "SaveOnExit=1",
        "SaveWorkingDir=1",
        "[mkiiis]",
        "000=1",
        "033=1",
        "034=0",
        "999=1",
        "33=1",
        "[NewTs]",
        "001=1",
        "1000=1",
    };
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        std::string text;
        for (const auto& line : lines) {
            text += line + eol;
        }
        TSettings s = DirtySettings();
        s.MKIIIs[0] = false;
        ReadSettings(s, TIniFile::FromText(text));
        SCOPED_TRACE(testing::PrintToString(std::string(eol)));
        EXPECT_TRUE(s.LimitScans);
        EXPECT_FALSE(s.LastScans);
        EXPECT_EQ(s.MaxNumberOfScans, 12);
        EXPECT_TRUE(s.SavePosition);
        EXPECT_EQ(s.FormTop, -3);
        EXPECT_EQ(s.FormLeft, 16);
        EXPECT_EQ(s.FormWidth, 800);
        EXPECT_EQ(s.FormHeight, 600);
        EXPECT_EQ(s.LogFileName, "a.log");
        EXPECT_EQ(s.IrrDirectory, "/irr");
        EXPECT_EQ(s.LastDir, "/data");
        EXPECT_TRUE(s.UseBBF);
        EXPECT_TRUE(s.SaveOnExit);
        EXPECT_TRUE(s.SaveWorkingDir);
        EXPECT_FALSE(s.MKIIIs[0]);
        EXPECT_TRUE(s.MKIIIs[33]);
        EXPECT_FALSE(s.MKIIIs[34]);
        EXPECT_TRUE(s.MKIIIs[999]);
        EXPECT_FALSE(s.MKIIIs[1]);
        EXPECT_TRUE(s.NewTs[1]);
        EXPECT_FALSE(s.NewTs[100]);
        EXPECT_FALSE(s.NewTs[33]);
    }
}

TEST(ReadSettingsTest, MalformedNumbersGiveTheDefault) {
    struct TCase {
        const char* Value;
        std::int32_t Scans;
        bool LastScans;
    };
    const TCase cases[] = {
        {"0x15", 21, true}, {"$15", 21, true},        {"15", 15, true},  {"abc", 21, true},
        {"", 21, true},     {"4294967296", 21, true}, {"0", 0, false},   {"2", 2, true},
        {"-1", -1, true},   {"1.0", 21, true},        {"0x0", 0, false}, {"  7  ", 7, true},
    };
    for (const auto& c : cases) {
        TSettings s;
        ReadSettings(s, TIniFile::FromText(std::string("[Global]\nMaxNumberOfScans=") + c.Value +
                                           "\nLastScans=" + c.Value + "\n"));
        EXPECT_EQ(s.MaxNumberOfScans, c.Scans) << '"' << c.Value << '"';
        EXPECT_EQ(s.LastScans, c.LastScans) << '"' << c.Value << '"';
    }
}

TEST(WriteSettingsTest, WritesANewFileInOrder) {
    TSettings s;
    s.LastScans = true;
    s.MaxNumberOfScans = 21;
    s.FormTop = 5;
    s.LogFileName = "";
    s.IrrDirectory = "/irr";
    s.LastDir = "/data";
    s.SaveOnExit = true;
    s.MKIIIs[0] = true;  // never stored
    s.MKIIIs[33] = true;
    s.MKIIIs[999] = true;
    s.NewTs[7] = true;

    TTempDir dir;
    const auto path = dir / "uvlamp.INI";
    ASSERT_EQ(SaveSettingsFile(s, path), std::nullopt);
    EXPECT_EQ(test::ReadFile(path), NativeText("[Global]\n"
                                               "LimitScans=0\n"
                                               "LastScans=1\n"
                                               "MaxNumberOfScans=21\n"
                                               "SavePosition=0\n"
                                               "LogFileName=\n"
                                               "IrrDirectory=/irr\n"
                                               "LastDir=/data\n"
                                               "UseBBF=0\n"
                                               "SaveOnExit=1\n"
                                               "SaveWorkingDir=0\n"
                                               "[MKIIIs]\n"
                                               "033=1\n"
                                               "999=1\n"
                                               "[NewTs]\n"
                                               "007=1\n"));

    s.SavePosition = true;
    s.FormLeft = -2;
    s.FormWidth = 800;
    s.FormHeight = 600;
    ASSERT_EQ(SaveSettingsFile(s, path), std::nullopt);
    EXPECT_EQ(test::ReadFile(path), NativeText("[Global]\n"
                                               "LimitScans=0\n"
                                               "LastScans=1\n"
                                               "MaxNumberOfScans=21\n"
                                               "SavePosition=1\n"
                                               "LogFileName=\n"
                                               "IrrDirectory=/irr\n"
                                               "LastDir=/data\n"
                                               "UseBBF=0\n"
                                               "SaveOnExit=1\n"
                                               "SaveWorkingDir=0\n"
                                               "FormTop=5\n"
                                               "FormLeft=-2\n"
                                               "FormWidth=800\n"
                                               "FormHeight=600\n"
                                               "[MKIIIs]\n"
                                               "033=1\n"
                                               "999=1\n"
                                               "[NewTs]\n"
                                               "007=1\n"));

    TSettings back = DirtySettings();
    ReadSettingsFile(back, path);
    EXPECT_EQ(back.FormLeft, -2);
    EXPECT_EQ(back.IrrDirectory, "/irr");
    for (int i = 1; i < kInstrumentTableSize; ++i) {
        const auto n = static_cast<std::size_t>(i);
        ASSERT_EQ(back.MKIIIs[n], s.MKIIIs[n]) << i;
        ASSERT_EQ(back.NewTs[n], s.NewTs[n]) << i;
    }
}

TEST(WriteSettingsTest, UpdatesAnExistingFileKeepingEverythingElse) {
    const std::string before =
        "; uvlamp settings\n"
        "[global]\n"
        "FormTop=9\n"
        "maxnumberofscans=$10\n"
        "Comment=unknown key\n"
        "\n"
        "[Printer]\n"
        "Port=LPT1\n"
        "[MKIIIs]\n"
        "033=1\n"
        "034=0\n"
        "035=abc\n"
        "; end\n";
    TTempDir dir;
    const auto path = dir / "uvlamp.INI";
    WriteFile(path, before);

    TSettings s;
    ReadSettingsFile(s, path);
    ASSERT_TRUE(s.MKIIIs[33]);
    s.MKIIIs[33] = false;  // cleared: held as 1, so written 0
    s.MKIIIs[36] = true;   // newly flagged
    s.MaxNumberOfScans = 30;
    s.LastDir = "/data";
    ASSERT_EQ(SaveSettingsFile(s, path), std::nullopt);
    // FormTop stays as it was: the geometry is not written without SavePosition.
    EXPECT_EQ(test::ReadFile(path), NativeText("; uvlamp settings\n"
                                               "[global]\n"
                                               "FormTop=9\n"
                                               "maxnumberofscans=30\n"
                                               "Comment=unknown key\n"
                                               "LimitScans=0\n"
                                               "LastScans=1\n"
                                               "SavePosition=0\n"
                                               "LogFileName=\n"
                                               "IrrDirectory=" +
                                               RootDirectory() +
                                               "\n"
                                               "LastDir=/data\n"
                                               "UseBBF=0\n"
                                               "SaveOnExit=0\n"
                                               "SaveWorkingDir=0\n"
                                               "\n"
                                               "[Printer]\n"
                                               "Port=LPT1\n"
                                               "[MKIIIs]\n"
                                               "033=0\n"
                                               "034=0\n"
                                               "035=abc\n"
                                               "036=1\n"
                                               "; end\n"));
}

TEST(SaveSettingsFileTest, ReportsAPathThatCannotBeWritten) {
    TTempDir dir;
    WriteFile(dir / "plain", "a file, not a directory");
    TSettings s;
    s.MKIIIs[1] = true;
    for (const auto& path : {dir / "plain" / "uvlamp.INI", dir / "missing" / "uvlamp.INI"}) {
        EXPECT_EQ(SaveSettingsFile(s, path), "Unable to write to " + path.string());
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    EXPECT_EQ(ReadText(dir / "plain"), "a file, not a directory");
}

#ifndef _WIN32
TEST(SaveSettingsFileTest, ADeviceIsNeverWrittenTo) {
    // The full device takes every write and fails it; it is no settings file to replace.
    EXPECT_EQ(SaveSettingsFile(TSettings{}, "/dev/full"), "Unable to write to /dev/full");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}
#endif

TEST(SaveSettingsFileTest, AFailedSaveNamesTheFileAndChangesNothing) {
    const std::string earlierText = "[Global]\nLimitScans=1\n; the operator's note\n";
    TSettings s;
    s.MKIIIs[42] = true;
    s.LogFileName = "/var/log/uvlamp.log";
    for (const test::TWriteTrouble trouble : test::WriteTroubles()) {
        for (const bool earlier : {false, true}) {
            if (!earlier && !test::StopsNewFiles(trouble)) {
                continue;  // nothing holds a file that is not there yet
            }
            SCOPED_TRACE(std::string(test::TroubleName(trouble)) + (earlier ? ", earlier" : ""));
            TTempDir dir;
            const auto path = dir / "uvlamp.INI";
            if (earlier) {
                WriteFile(path, earlierText);
                // A writable file in a read-only folder is rewritten in place, by design: here
                // the file is read-only too.
                if (trouble == test::TWriteTrouble::ReadOnlyFolder) {
                    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
                }
            }
            const test::TFolderSnapshot before = test::Snapshot(dir.Path());
            std::optional<std::string> result;
            {
                test::TFailingWrites failing(dir, trouble);
                result = SaveSettingsFile(s, path);
            }
            EXPECT_EQ(result, "Unable to write to " + path.string());
            EXPECT_EQ(test::Snapshot(dir.Path()), before);
        }
    }
}

#ifndef _WIN32
TEST(SaveSettingsFileTest, AnInPlaceRewriteThatFailsPutsTheEarlierFileBack) {
    // The folder takes no new file, so the writable file is rewritten where it is; the disk is
    // full, so that fails partway, and the earlier bytes go back.
    TTempDir dir;
    const auto path = dir / "uvlamp.INI";
    // The flag changes within the first bytes, which are the ones the full disk still takes.
    const std::string earlierText = "[MKIIIs]\n042=0\n; the operator's note\n";
    WriteFile(path, earlierText);
    std::filesystem::permissions(path, std::filesystem::perms::all);
    TSettings s;
    s.MKIIIs[42] = true;
    std::optional<std::string> result;
    {
        test::TFailingWrites readOnly(dir, test::TWriteTrouble::ReadOnlyFolder);
        test::TFailingWrites full(dir, test::TWriteTrouble::FullDisk);
        result = SaveSettingsFile(s, path);
    }
    EXPECT_EQ(result, "Unable to write to " + path.string());
    EXPECT_EQ(test::Snapshot(dir.Path()), (test::TFolderSnapshot{{"uvlamp.INI", earlierText}}));
}
#endif

TEST(SettingsFilePathTest, BesideTheExecutableWhenWritable) {
    TTempDir dir;
    EXPECT_EQ(SettingsFilePath(dir / "uvlamp", dir / "config"), dir / "uvlamp.INI");
    EXPECT_EQ(SettingsFilePath(dir / "uvlamp.exe", dir / "config"), dir / "uvlamp.INI");
    // The probe file used to test the directory is gone again.
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(SettingsFilePathTest, UserConfigurationWhenTheDirectoryCannotBeWritten) {
    TTempDir dir;
    WriteFile(dir / "plain", "");
    EXPECT_EQ(SettingsFilePath(dir / "missing" / "uvlamp", dir / "config"),
              dir / "config" / "uvlamp.INI");
    EXPECT_EQ(SettingsFilePath(dir / "plain" / "uvlamp", dir / "config"),
              dir / "config" / "uvlamp.INI");
}

#ifndef _WIN32
TEST(SettingsFilePathTest, KeepsAWritableFileInAReadOnlyDirectory) {
    namespace fs = std::filesystem;
    TTempDir dir;
    test::TOrdinaryUser user(dir);
    WriteFile(dir / "with" / "uvlamp.INI", "");
    fs::create_directory(dir / "without");
    for (const char* sub : {"with", "without"}) {
        fs::permissions(dir / sub, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const auto with = SettingsFilePath(dir / "with" / "uvlamp", dir / "config");
    const auto without = SettingsFilePath(dir / "without" / "uvlamp", dir / "config");
    for (const char* sub : {"with", "without"}) {
        fs::permissions(dir / sub, fs::perms::owner_all);
    }
    EXPECT_EQ(with, dir / "with" / "uvlamp.INI");
    EXPECT_EQ(without, dir / "config" / "uvlamp.INI");
}
#endif

}  // namespace
}  // namespace uvlamp
