#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace uvlamp {

// Instrument numbers are three digits: the per-instrument tables cover 0 to 999.
inline constexpr int kInstrumentTableSize = 1000;

// The program's options and the state several operations share. Every field starts false, zero or
// empty; the settings file (SettingsFile.h) fills the stored ones, the window and the batch front
// end the rest.
struct TSettings {
    // Stored in the settings file.
    bool UseBBF = false;       // take irradiance from BBF files when present
    std::string IrrDirectory;  // where the lamps' IRR and BBF files live
    // Not stored: the current instrument's number, three characters; empty before the first file.
    std::string InstrumentNumber;
    // Stored for 1 to 999: which instruments are MKIIIs and which have the new temperature circuit.
    std::array<bool, kInstrumentTableSize> MKIIIs{};
    std::array<bool, kInstrumentTableSize> NewTs{};
    bool SaveWorkingDir = false;  // start in LastDir rather than the current directory
    bool SaveOnExit = false;      // save the settings when the program ends
    bool SavePosition = false;    // write the window geometry when saving
    bool LimitScans = false;      // limit the scans per lamp taken from a QL file
    bool LastScans = false;       // with the limit, keep the last scans rather than the first
    std::int32_t MaxNumberOfScans = 0;
    std::int32_t FormTop = 0;
    std::int32_t FormLeft = 0;
    std::int32_t FormWidth = 0;
    std::int32_t FormHeight = 0;
    std::string LastDir;  // the last directory shown in the directory list
    // Not stored: the day and temperature selection criteria.
    bool SelectJd = false;
    std::int32_t SelectedJd = 0;
    bool LimitTe = false;
    double TeFrom = 0;  // degrees Celsius, excluded
    double TeTo = 0;
    // Stored: path of the log file; empty while logging is off.
    std::string LogFileName;

    bool operator==(const TSettings&) const = default;
};

}  // namespace uvlamp
