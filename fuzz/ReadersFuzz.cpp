// Feeds arbitrary bytes to the four scan-file readers and the INI parser. Built with clang's
// libFuzzer (see CMakeLists.txt); any crash, sanitizer report or hang is a bug.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scans/File.h"
#include "scans/Loading.h"
#include "scans/Statistics.h"
#include "shell/Errors.h"
#include "shell/IniFile.h"
#include "shell/ScriptedOperator.h"
#include "shell/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace uvlamp;
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the reader and the settings; the rest is the file.
    const std::uint8_t choice = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    TSettings settings;
    settings.InstrumentNumber = "042";
    settings.NewTs[42] = (choice & 0x10) != 0;
    settings.MKIIIs[42] = (choice & 0x20) != 0;
    settings.LimitScans = (choice & 0x40) != 0;
    settings.LastScans = (choice & 0x80) != 0;
    settings.MaxNumberOfScans = 3;
    TScriptedOperator op;
    TReadContext ctx{settings,
                     op,
                     [&](const std::string&) { return std::optional<std::string_view>(text); },
                     {}};

    if ((choice & 0x07) > 3) {
        (void)TIniFile::FromText(text).ReadInteger("Global", "MaxNumberOfScans", 21);
        return 0;
    }
    struct TReader {
        TScanFileKind Kind;
        const char* Name;
    };
    static const TReader kReaders[] = {{TScanFileKind::QL, "ql12320.042"},
                                       {TScanFileKind::QS, "lamp0123.042"},
                                       {TScanFileKind::UL, "ul12320.042"},
                                       {TScanFileKind::XL, "xl12320.042"}};
    const TReader& reader = kReaders[choice & 0x03];
    const std::unique_ptr<TFile> file = NewScanFile(reader.Kind);
    const std::string name = reader.Name;
    try {
        if (file->Read(name, ctx)) {
            for (auto& lamp : file->Lamps) {
                UpdateStatistics(*lamp, settings);
            }
        }
    } catch (const TConversionError&) {
        // A bad time word ends the loading with a message: expected for arbitrary input.
    }
    return 0;
}
