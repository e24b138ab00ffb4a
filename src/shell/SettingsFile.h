#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "shell/IniFile.h"
#include "shell/Settings.h"

namespace uvlamp {

// The directory that stands for the root of the system drive, the fallback for directories that
// cannot be set ("/" here, "c:\" on Windows).
std::string RootDirectory();

// Where the settings file of an installation lives: beside the executable, named like it with the
// extension ".INI"; when that directory is not writable (and no writable settings file is already
// there), in the given per-user configuration directory under the same name. That directory is
// not created here: saving into a directory that does not exist fails.
std::filesystem::path SettingsFilePath(const std::filesystem::path& executable,
                                       const std::filesystem::path& userConfigDirectory);

// Fills the stored fields of the settings from an INI file, with the default of each missing or
// malformed key: SavePosition false, LimitScans false, LastScans true, MaxNumberOfScans 21,
// FormTop 1, FormLeft 1, FormWidth 620, FormHeight 440, LogFileName empty, IrrDirectory and
// LastDir the root directory, UseBBF false, SaveOnExit false, SaveWorkingDir false, and the
// instrument flags of 1 to 999 false. SelectJd and LimitTe are set to false. Nothing else changes.
void ReadSettings(TSettings& settings, const TIniFile& ini);
void ReadSettingsFile(TSettings& settings, const std::filesystem::path& path);

// Writes the stored fields into the INI file: the geometry only when SavePosition is set, the
// other keys of section Global always, and of the instrument tables "NNN=1" for every flagged
// instrument and "NNN=0" only for an unflagged one that the file holds as true.
void WriteSettings(const TSettings& settings, TIniFile& ini);

// Reads the settings file, writes the settings into it and saves it. Empty on success, otherwise
// the message "Unable to write to " followed by the path; a file that exists but cannot be read
// (or is far too large for a settings file) is not replaced.
std::optional<std::string> SaveSettingsFile(const TSettings& settings,
                                            const std::filesystem::path& path);

}  // namespace uvlamp
