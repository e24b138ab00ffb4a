#include "shell/SettingsFile.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#include "shell/FileIo.h"

namespace uvlamp {

namespace {

constexpr const char* kGlobal = "Global";
constexpr const char* kMKIIIs = "MKIIIs";
constexpr const char* kNewTs = "NewTs";

// Instrument numbers in the file are three digits with leading zeros: "001" to "999".
std::string InstrumentKey(int number) {
    char key[16];
    std::snprintf(key, sizeof key, "%03d", number);
    return key;
}

// Whether files can be created in a directory; permission bits alone do not tell (read-only
// media, access control lists, a process running as another user), so a probe file is created.
bool IsWritableDirectory(const std::filesystem::path& directory) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir = directory.empty() ? fs::path(".") : directory;
    if (!fs::is_directory(dir, ec)) {
        return false;
    }
    std::random_device random;
    char name[48];
    std::snprintf(name, sizeof name, ".uvlamp-probe-%08x", static_cast<unsigned>(random()));
    const fs::path probe = dir / name;
    if (fs::exists(probe, ec)) {
        return false;
    }
    bool created = false;
    {
        std::ofstream out(probe, std::ios::binary);
        created = out.is_open();
    }
    if (created) {
        fs::remove(probe, ec);
    }
    return created;
}

void ReadTable(std::array<bool, kInstrumentTableSize>& table, const TIniFile& ini,
               const char* section) {
    for (int i = 1; i < kInstrumentTableSize; ++i) {
        table[static_cast<std::size_t>(i)] = ini.ReadBool(section, InstrumentKey(i), false);
    }
}

// A flagged instrument is written as 1; an unflagged one only as 0 when the file says it was
// flagged, so the file holds entries only for instruments that are or once were flagged.
void WriteTable(const std::array<bool, kInstrumentTableSize>& table, TIniFile& ini,
                const char* section) {
    for (int i = 1; i < kInstrumentTableSize; ++i) {
        const std::string key = InstrumentKey(i);
        if (table[static_cast<std::size_t>(i)]) {
            ini.WriteBool(section, key, true);
        } else if (ini.ReadBool(section, key, false)) {
            ini.WriteBool(section, key, false);
        }
    }
}

}  // namespace

std::string RootDirectory() {
#ifdef _WIN32
    return "c:\\";
#else
    return "/";
#endif
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& executable,
                                       const std::filesystem::path& userConfigDirectory) {
    const std::filesystem::path name = executable.filename().replace_extension(".INI");
    const std::filesystem::path directory = executable.parent_path();
    const std::filesystem::path beside = directory / name;
    if (IsWritableDirectory(directory) || IsWritableFile(beside)) {
        return beside;
    }
    return userConfigDirectory / name;
}

void ReadSettings(TSettings& settings, const TIniFile& ini) {
    settings.SavePosition = ini.ReadBool(kGlobal, "SavePosition", false);
    settings.LimitScans = ini.ReadBool(kGlobal, "LimitScans", false);
    settings.LastScans = ini.ReadBool(kGlobal, "LastScans", true);
    settings.MaxNumberOfScans = ini.ReadInteger(kGlobal, "MaxNumberOfScans", 21);
    settings.FormTop = ini.ReadInteger(kGlobal, "FormTop", 1);
    settings.FormLeft = ini.ReadInteger(kGlobal, "FormLeft", 1);
    settings.FormWidth = ini.ReadInteger(kGlobal, "FormWidth", 620);
    settings.FormHeight = ini.ReadInteger(kGlobal, "FormHeight", 440);
    settings.LogFileName = ini.ReadString(kGlobal, "LogFileName", "");
    settings.IrrDirectory = ini.ReadString(kGlobal, "IrrDirectory", RootDirectory());
    settings.LastDir = ini.ReadString(kGlobal, "LastDir", RootDirectory());
    settings.UseBBF = ini.ReadBool(kGlobal, "UseBBF", false);
    settings.SaveOnExit = ini.ReadBool(kGlobal, "SaveOnExit", false);
    settings.SaveWorkingDir = ini.ReadBool(kGlobal, "SaveWorkingDir", false);
    ReadTable(settings.MKIIIs, ini, kMKIIIs);
    ReadTable(settings.NewTs, ini, kNewTs);
    settings.SelectJd = false;
    settings.LimitTe = false;
}

void ReadSettingsFile(TSettings& settings, const std::filesystem::path& path) {
    ReadSettings(settings, TIniFile::Load(path).value_or(TIniFile{}));
}

void WriteSettings(const TSettings& settings, TIniFile& ini) {
    if (settings.SavePosition) {
        ini.WriteInteger(kGlobal, "FormTop", settings.FormTop);
        ini.WriteInteger(kGlobal, "FormLeft", settings.FormLeft);
        ini.WriteInteger(kGlobal, "FormWidth", settings.FormWidth);
        ini.WriteInteger(kGlobal, "FormHeight", settings.FormHeight);
    }
    ini.WriteBool(kGlobal, "LimitScans", settings.LimitScans);
    ini.WriteBool(kGlobal, "LastScans", settings.LastScans);
    ini.WriteInteger(kGlobal, "MaxNumberOfScans", settings.MaxNumberOfScans);
    ini.WriteBool(kGlobal, "SavePosition", settings.SavePosition);
    ini.WriteString(kGlobal, "LogFileName", settings.LogFileName);
    ini.WriteString(kGlobal, "IrrDirectory", settings.IrrDirectory);
    ini.WriteString(kGlobal, "LastDir", settings.LastDir);
    ini.WriteBool(kGlobal, "UseBBF", settings.UseBBF);
    ini.WriteBool(kGlobal, "SaveOnExit", settings.SaveOnExit);
    ini.WriteBool(kGlobal, "SaveWorkingDir", settings.SaveWorkingDir);
    WriteTable(settings.MKIIIs, ini, kMKIIIs);
    WriteTable(settings.NewTs, ini, kNewTs);
}

std::optional<std::string> SaveSettingsFile(const TSettings& settings,
                                            const std::filesystem::path& path) {
    // A file that is there but cannot be read keeps whatever it holds.
    std::optional<TIniFile> ini = TIniFile::Load(path);
    if (ini) {
        WriteSettings(settings, *ini);
    }
    if (!ini || !ini->Save(path)) {
        return "Unable to write to " + path.string();
    }
    return std::nullopt;
}

}  // namespace uvlamp
