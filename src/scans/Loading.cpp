#include "scans/Loading.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "scans/Instrument.h"
#include "scans/Statistics.h"
#include "shell/Errors.h"
#include "shell/FileIo.h"
#include "shell/Operator.h"
#include "shell/Program.h"

namespace uvlamp {

TScanFileKind ClassifyFileName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    TScanFileKind kind = TScanFileKind::None;
    if (lower.find("ql") != std::string::npos) {
        kind = TScanFileKind::QL;
    }
    if (lower.find("ul") != std::string::npos) {
        kind = TScanFileKind::UL;
    }
    if (lower.find("xl") != std::string::npos) {
        kind = TScanFileKind::XL;
    }
    if (lower.find("lamp") != std::string::npos) {
        kind = TScanFileKind::QS;
    }
    return kind;
}

std::unique_ptr<TFile> NewScanFile(TScanFileKind kind) {
    switch (kind) {
        case TScanFileKind::QL:
            return std::make_unique<TQLFile>();
        case TScanFileKind::UL:
            return std::make_unique<TULFile>();
        case TScanFileKind::XL:
            return std::make_unique<TXLFile>();
        case TScanFileKind::QS:
            return std::make_unique<TQSFile>();
        case TScanFileKind::None:
            break;
    }
    return nullptr;
}

std::optional<std::string_view> ReadScanFileBytes(const std::filesystem::path& path,
                                                  std::string& buffer, std::string& whyNot) {
    return ReadFileBytes(path, buffer, kMaxScanFileBytes, "a scan file", whyNot);
}

void MergeLamps(TLampList& list, TFile& file, std::vector<std::string>& notes) {
    TLampIndex index(list);
    bool tooMany = false;
    for (auto& lamp : file.Lamps) {
        TLamp* found = index.Find(lamp->Name);
        if (found == nullptr && list.size() >= kMaxLamps) {
            if (!tooMany) {
                notes.push_back(ReadableFileName(file.FileName) + ": more than " +
                                std::to_string(kMaxLamps) +
                                " lamps in all; its lamps not loaded before were left out");
                tooMany = true;
            }
            continue;
        }
        if (found == nullptr) {
            list.push_back(std::move(lamp));
            index.Add(*list.back());
            continue;
        }
        TLamp& target = *found;
        bool leftOut = false;
        for (auto& scan : lamp->Scans) {
            if (!target.Accepts(*scan)) {
                leftOut = true;
                continue;
            }
            // The scan now belongs to the list's lamp, so it names that lamp.
            scan->Lamp = &target;
            target.Scans.push_back(std::move(scan));
        }
        if (leftOut) {
            notes.push_back(ReadableFileName(file.FileName) + ": scans of lamp " + lamp->Name +
                            " with other wavelengths than the scans of that lamp read before"
                            " were left out");
        }
    }
    file.Lamps.clear();
}

TLoadResult LoadSelectedFiles(TProgram& program, TOperator& op,
                              const std::filesystem::path& directory,
                              const std::vector<std::string>& names) {
    TBusyScope busy(op);
    TLoadResult result;
    program.ClearLoaded();
    TSettings& settings = program.ProgramSettings;

    std::string whyNotOpened;
    std::string buffer;
    TReadContext ctx{settings,
                     op,
                     [&](const std::string& name) {
                         return ReadScanFileBytes(directory / name, buffer, whyNotOpened);
                     },
                     {}};
    try {
        for (const std::string& name : names) {
            const TScanFileKind kind = ClassifyFileName(name);
            if (kind == TScanFileKind::None) {
                result.Skipped.push_back(
                    {ReadableFileName(name), "is not a QL, UL, XL or QS file by its name"});
                continue;
            }
            if (CheckInstrument(settings, op, FileExtension(name), name) ==
                TInstrumentCheck::Changed) {
                // The new instrument's constants apply to what is loaded already.
                result.InstrumentChanged = true;
                UpdateTemperatures(program.LampList, CurrentHasNewT(settings));
                CalculateAverages(program.LampList, settings, program.Log());
                UpdateSplitIndices(program.LampList, CurrentIsMKIII(settings));
            }
            auto file = NewScanFile(kind);
            whyNotOpened.clear();
            if (!file->Read(name, ctx)) {
                result.Skipped.push_back(
                    {ReadableFileName(name),
                     whyNotOpened.empty() ? "holds no scan that could be read" : whyNotOpened});
                continue;
            }
            if (const TLogFile* log = program.Log()) {
                log->WriteLine("\tReading file " + ReadableFileName(name) + ": " +
                               std::to_string(file->Lamps.size()) + " lamp(s), " +
                               std::to_string(file->NScans) + " scan(s)");
            }
            MergeLamps(program.LampList, *file, ctx.Notes);
            result.FilesRead.push_back(name);
            program.OpenedFiles.push_back(std::move(file));
        }
    } catch (const TConversionError& error) {
        result.Error = error.what();
    }
    result.Notes = std::move(ctx.Notes);
    CalculateAverages(program.LampList, settings, program.Log());
    return result;
}

}  // namespace uvlamp
