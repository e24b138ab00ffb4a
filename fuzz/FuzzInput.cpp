#include "FuzzInput.h"

#include <optional>
#include <string>
#include <vector>

#include "scans/File.h"
#include "scans/Statistics.h"
#include "shell/Errors.h"
#include "shell/ScriptedOperator.h"

namespace uvlamp::fuzz {

TSettings SettingsFromByte(std::uint8_t flags) {
    TSettings settings;
    settings.InstrumentNumber = "042";
    settings.NewTs[42] = (flags & 0x10) != 0;
    settings.MKIIIs[42] = (flags & 0x20) != 0;
    settings.LimitScans = (flags & 0x40) != 0;
    settings.LastScans = (flags & 0x80) != 0;
    settings.MaxNumberOfScans = (flags & 0x07) + 1;
    return settings;
}

void ReadScanBytes(TScanFileKind kind, const char* name, std::uint8_t flags,
                   std::string_view bytes) {
    const TSettings settings = SettingsFromByte(flags);
    TScriptedOperator op;
    TReadContext ctx{settings,
                     op,
                     [&](const std::string& wanted) -> std::optional<std::string_view> {
                         if (wanted != name) {
                             return std::nullopt;
                         }
                         return bytes;
                     },
                     {}};
    const std::unique_ptr<TFile> file = NewScanFile(kind);
    TLampList lamps;
    try {
        if (file->Read(name, ctx)) {
            std::vector<std::string> notes;
            MergeLamps(lamps, *file, notes);
        }
    } catch (const TConversionError&) {
        // A bad time word or day ends the loading with a message: expected for arbitrary input.
    }
    // Statistics are computed also when the reading ended early.
    for (auto& lamp : lamps) {
        UpdateStatistics(*lamp, settings);
    }
}

}  // namespace uvlamp::fuzz
