#include "response/ResponseFiles.h"

#include <cmath>

#include "response/Response.h"
#include "response/Smoothing.h"
#include "response/Temperature.h"
#include "shell/DayCount.h"
#include "shell/FileIo.h"
#include "shell/Format.h"
#include "shell/Operator.h"
#include "shell/Program.h"

namespace uvlamp {

namespace {

const char* const kRule = "---------------------------\n";

// A lamp whose response went into this one: only those are compared in the log's table.
bool IsAveragedInto(const TLamp& lamp, const TScan& response) {
    return IsContributing(lamp) && SharesWavelengths(*lamp.Response, response);
}

std::string LampLines(const TLamp& lamp, const TScan& response, const std::string& irrDirectory) {
    const char* name = lamp.Name.c_str();
    std::string text;
    if (lamp.NUsed == 0) {
        text += Sprintf(" %s: no scans selected.\n", name);
    } else if (lamp.Response == nullptr) {
        text += Sprintf(" %s: no irradiance file in %s.\n", name, irrDirectory.c_str());
    } else if (IsAveragedInto(lamp, response)) {
        text += Sprintf(" %s: %d scans used with temperature ranging from %3.0fC to %3.0fC\n", name,
                        lamp.NUsed, lamp.MinT, lamp.MaxT);
    } else {
        text += Sprintf(
            " %s: %d scans selected, not in the response: its wavelengths differ from the "
            "response's.\n",
            name, lamp.NUsed);
    }
    text += "Selected scans:\n";
    for (const auto& scan : lamp.Scans) {
        if (scan->Selected) {
            text += Sprintf("Julian day %03d  date: %s T=%3.0fC\n", scan->JulianDay,
                            FormatDateTime("mmmm d, yyyy hh:nn:ss", scan->DateTime).c_str(),
                            scan->Temperature);
        }
    }
    return text;
}

}  // namespace

std::optional<TGrid> OutputGrid(double start, double step, double end) {
    if (!std::isfinite(start) || !std::isfinite(step) || !std::isfinite(end) || !(step > 0)) {
        return std::nullopt;
    }
    TGrid grid{0};
    // Summed step by step, as the grid has always been made: the points are exactly those of
    // the response files written before.
    for (double w = start; w <= end; w += step) {
        if (static_cast<int>(grid.size()) > kMaxOutputGridPoints) {
            return std::nullopt;
        }
        grid.push_back(w / 10000);
    }
    grid[0] = static_cast<double>(grid.size() - 1);
    return grid;
}

std::optional<TGrid> ReadOutputGrid(std::string_view startText, std::string_view endText,
                                    std::string_view stepText, TOperator& op) {
    double values[3] = {};
    const std::string_view texts[3] = {endText, startText, stepText};
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> value = ParseDecimalFloat(texts[i]);
        if (!value) {
            op.Tell("'" + std::string(texts[i]) + "' is not a valid floating point value",
                    "Error!");
            return std::nullopt;
        }
        values[i] = *value;
    }
    std::optional<TGrid> grid = OutputGrid(values[1], values[2], values[0]);
    if (!grid) {
        op.Tell(
            "Please make sure the start, the end and the increment for the wavelengths are "
            "correct.",
            "Error!");
    }
    return grid;
}

TResponseFileNames ResponseFileNames(const std::string& chosen, bool temperatureSpread) {
    if (temperatureSpread) {
        return {chosen + "_tc", chosen + ".log_tc", chosen + ".tc", chosen + ".tc.relative"};
    }
    return {chosen, chosen + ".log", {}, {}};
}

const TLamp* ResponseLogReference(const TLampList& lamps, int index, const TScan& response) {
    if (index >= 0 && index < static_cast<int>(lamps.size())) {
        const TLamp& chosen = *lamps[static_cast<std::size_t>(index)];
        if (IsAveragedInto(chosen, response)) {
            return &chosen;
        }
    }
    for (const auto& lamp : lamps) {
        if (IsAveragedInto(*lamp, response)) {
            return lamp.get();
        }
    }
    return nullptr;
}

TResponseTexts WriteResponseAndLog(TScan& response, const TGrid& grid, int referenceIndex,
                                   const TLampList& lamps, const TFileList& files,
                                   const std::string& irrDirectory,
                                   const std::filesystem::path& diagnostics) {
    const int gridPoints = GridPoints(grid);
    TScan g(gridPoints, nullptr, response.File);
    for (int j = 1; j <= gridPoints; ++j) {
        g.Wavelength[j] = grid[static_cast<std::size_t>(j)];
    }
    const TLamp* reference = ResponseLogReference(lamps, referenceIndex, response);

    TScan onGrid(response.NPoints, nullptr, response.File);
    onGrid.CopyFrom(response);
    SmoothOnGrid(onGrid, g, diagnostics);
    TScan fitted(response.NPoints, nullptr, response.File);
    fitted.CopyFrom(response);
    SmoothOnGrid(fitted, response, diagnostics);

    TResponseTexts texts;
    for (int j = 1; j <= gridPoints; ++j) {
        texts.Response += Sprintf("%7.0f %9.3f\n", onGrid.Wavelength[j] * 10000, onGrid.Counts[j]);
    }

    std::string& log = texts.Log;
    log += "Processed files:";
    for (const auto& file : files) {
        log += " " + ReadableFileName(file->FileName);
    }
    log += "\nLamps:\n";
    for (const auto& lamp : lamps) {
        log += LampLines(*lamp, response, irrDirectory);
    }
    log += "\n";
    log += kRule;

    std::vector<const TLamp*> columns;
    log += Sprintf("  WL    Resp       Fit        Diff   %cdiff |", '%');
    for (const auto& lamp : lamps) {
        if (reference != nullptr && IsAveragedInto(*lamp, response)) {
            columns.push_back(lamp.get());
            log += Sprintf(" %6s  |", lamp->Name.c_str());
        }
    }
    log += "\n";
    for (int r = 1; r <= response.NPoints; ++r) {
        const double resp = response.Counts[r];
        const double fit = fitted.Counts[r];
        const double diff = fit - resp;
        log += Sprintf("%5.0f  %8.2f  %8.2f  %7.2f  %6.1f%%|", response.Wavelength[r] * 10000, resp,
                       fit, diff, 100 * diff / resp);
        for (const TLamp* lamp : columns) {
            const double base = reference->Response->Counts[r];
            log += Sprintf(" %6.2f%% |", 100 * (lamp->Response->Counts[r] - base) / base);
        }
        log += "\n";
    }
    log += kRule;
    return texts;
}

TResponseSave SaveResponseFiles(TProgram& program, TOperator& op, const TGrid& grid,
                                int referenceIndex) {
    TResponseSave result;
    if (!program.CurrentResponse) {
        return result;
    }
    const TSettings& settings = program.ProgramSettings;
    TFileDialogRequest request;
    request.Title = "Select response file";
    request.Directory = settings.LastDir;
    request.ConfirmOverwrite = true;
    const std::optional<std::string> chosen = op.ChooseSaveFile(request);
    if (!chosen || chosen->empty()) {
        return result;
    }
    TScan& response = *program.CurrentResponse;
    const bool spread = HasTemperatureSpread(response);
    const TResponseFileNames names = ResponseFileNames(*chosen, spread);
    if (const TLogFile* log = program.Log()) {
        log->WriteLine("\t\tResponse saved to " + names.Response);
        log->WriteLine("\t\tResponse log saved to " + names.Log);
    }
    // Taken before the smoothing below gives the response the split of its own wavelengths.
    const TTemperatureFit fit = TemperatureFitOf(response);
    const TResponseTexts texts =
        WriteResponseAndLog(response, grid, referenceIndex, program.LampList, program.OpenedFiles,
                            settings.IrrDirectory);
    TFileTexts files{{names.Response, texts.Response}, {names.Log, texts.Log}};
    if (spread) {
        TTemperatureTexts temperature = TemperatureFileTexts(texts.Response, fit);
        files.emplace_back(names.Temperature, std::move(temperature.Absolute));
        files.emplace_back(names.RelativeTemperature, std::move(temperature.Relative));
    }
    // The files describe one calculation: they are replaced together or not at all.
    if (const auto failed = ReplaceFilesText(files)) {
        op.Tell("File " + failed->string() + " could not be saved.", "Error!");
        if (const TLogFile* log = program.Log()) {
            log->WriteLine("\t\tFile " + failed->string() + " could not be saved.");
        }
        return result;
    }
    for (const auto& file : files) {
        result.Written.push_back(file.first.string());
    }
    result.Saved = true;
    return result;
}

}  // namespace uvlamp
