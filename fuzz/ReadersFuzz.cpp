// Feeds arbitrary bytes to the four scan-file readers, the IRR reader with the black-body fit and
// the writer, the BBF line reader (whose rewritten lines must read back to the same lines), the
// INI parser, and the response-file reader with the smoothing, the comparison and the temperature
// files of what it read. Built with clang's libFuzzer (see CMakeLists.txt); any crash, sanitizer
// report or hang is a bug.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "irradiance/Bbf.h"
#include "irradiance/Irr.h"
#include "response/References.h"
#include "response/Smoothing.h"
#include "response/Temperature.h"
#include "scans/File.h"
#include "scans/Loading.h"
#include "scans/Statistics.h"
#include "scans/TextReader.h"
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

    switch (choice & 0x07) {
        case 5: {
            TIrr table("", 0);
            // The fit's cost grows with the points; a certificate has a few dozen.
            if (table.ReadText(text) && table.NPoints <= 60) {
                std::mt19937 random(5489u);
                (void)table.Bbf.FitFromIrr(table, false, TReport{op}, random);
                (void)table.WriteText(TGrid{3, 0.29, 0.3, 0.31}, 50);
            }
            return 0;
        }
        case 6: {
            TTextReader f(text);
            while (!f.AtEnd()) {
                TBbfRecord record;
                if (ParseBbfLine(f.ReadTextLine(), record)) {
                    std::string line = FormatBbfLine(record);
                    line.pop_back();
                    TBbfRecord again;
                    if (!ParseBbfLine(line, again) || FormatBbfLine(again) != line + "\n") {
                        std::abort();  // a rewrite would change or lose the record
                    }
                }
            }
            return 0;
        }
        case 4:
            (void)TIniFile::FromText(text).ReadInteger("Global", "MaxNumberOfScans", 21);
            return 0;
        case 7: {
            TScan reference(1, nullptr, nullptr);
            // Smoothing costs grow with the points; response files have a few hundred.
            if (!ReadResponseText(reference, text) || reference.NPoints > 400) {
                return 0;
            }
            // Any split the scan readers could have left, also out of range.
            reference.SplitIndex = (choice >> 3) % (reference.NPoints + 3) - 1;
            TFile file;
            file.SetName((choice & 0x80) != 0 ? "ql12320.042" : "ql12320.123");
            TScan grid(12, nullptr, &file);
            for (int i = 1; i <= 12; ++i) {
                grid.Wavelength[i] = (2865 + 70 * (i - 1)) / 10000.0;
            }
            TScan scratch(reference.NPoints, nullptr, &file);
            scratch.CopyFrom(reference);
            // An empty name: the diagnostics of instrument "042" cannot be written, silently.
            SmoothOnGrid(scratch, grid, "");
            TScan ratio(reference.NPoints, nullptr, nullptr);
            ratio.CopyFrom(reference);
            RatioToScan(ratio, grid, true);
            (void)SameGrid(ratio, grid);
            TTemperatureFit fit;
            fit.Cubic = {0, -0.2, 0.01, 0.002, 0.0001};
            fit.Linear = {0, -0.1, 0.02};
            fit.Switch = 0.325;
            (void)TemperatureFileTexts(text, fit);
            return 0;
        }
        default:
            break;
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
