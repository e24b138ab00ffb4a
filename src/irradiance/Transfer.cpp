#include "irradiance/Transfer.h"

#include <cmath>
#include <cstdint>
#include <filesystem>

#include "shell/FileIo.h"
#include "shell/Format.h"
#include "shell/Operator.h"
#include "shell/Program.h"

namespace uvlamp {

namespace {

// More grid points than any instrument measures by far; a typing slip must not allocate
// gigabytes.
constexpr std::int64_t kMaxGridPoints = 100000;

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += text.empty() ? name : ", " + name;
    }
    return text;
}

bool HasUsableStandard(const TLamp& lamp) {
    return lamp.Irr && IsUsableStandard(lamp.Irr->Bbf.Current);
}

std::string OutputPath(const TTransferOutput& output, const std::string& name) {
    return output.Folder.empty() ? name : (std::filesystem::path(output.Folder) / name).string();
}

// A new table of the target lamp, at the distance of its averaged counts.
std::unique_ptr<TIrr> NewTable(const TLamp& target, std::string fileName, double today,
                               const std::vector<double>& w, const std::vector<double>& e) {
    auto table = std::make_unique<TIrr>(std::move(fileName), today);
    table->Name = target.Name;
    table->Distance = target.Average.Distance;
    table->SetPoints(w, e);
    return table;
}

// The target's irradiance at the wavelengths both lamps' averages hold: the reference's fitted
// irradiance, converted from the distance of its record to that of the target's averaged counts,
// times the ratio of the two lamps' counts.
std::unique_ptr<TIrr> MakeTransferTable(const TLamp& target, const TLamp& reference,
                                        std::string fileName, double today) {
    const TScan& a = target.Average;
    const TScan& b = reference.Average;
    const TBbf& standard = reference.Irr->Bbf;
    const double dT = a.Distance;
    const double dR = standard.Current.Distance;
    const double q = dT * dT / (dR * dR);
    std::vector<double> w;
    std::vector<double> e;
    int k0 = 0;
    for (int j = 1; j <= a.NPoints; ++j) {
        for (int k = k0 + 1; k <= b.NPoints; ++k) {
            if (b.Wavelength[k] == a.Wavelength[j]) {
                const double wavelength = a.Wavelength[j];
                w.push_back(wavelength);
                e.push_back(standard.IrradianceAt(wavelength) * (a.Counts[j] / b.Counts[k]) / q);
                k0 = k;
                break;
            }
        }
    }
    return NewTable(target, std::move(fileName), today, w, e);
}

// Fits the new table; tells the operator when no black body can be fitted to it.
bool FitNewTable(TProgram& program, const TReport& report, TIrr& table) {
    const TBbf::TFit fit = table.Bbf.FitFromIrr(table, false, report, program.Random);
    if (fit == TBbf::TFit::Fitted) {
        return true;
    }
    const std::string why = fit == TBbf::TFit::TooFewPoints
                                ? " has fewer than 3 usable points from 2895 to 4000 A"
                                : " could not be fitted with a black body";
    report.Operator.Tell("The new irradiance table of lamp " + table.Name + why + "; " +
                             table.FileName + " was not written.",
                         "Error!");
    return false;
}

void WriteNewTable(const TReport& report, const TIrr& table, const TTransferOutput& output,
                   TTransferResult& result) {
    if (table.Write(output.Grid, output.Distance, report) == TIrrWrite::Written) {
        result.Written.push_back(table.FileName);
    }
}

}  // namespace

std::optional<TGrid> BuildIrrGrid(std::string_view start, std::string_view end,
                                  std::string_view step) {
    const auto s = ParseDecimalInt(TrimSpace(start));
    const auto e = ParseDecimalInt(TrimSpace(end));
    const auto i = ParseDecimalInt(TrimSpace(step));
    if (!s || !e || !i || *i == 0) {
        return std::nullopt;
    }
    const std::int64_t n = (std::int64_t{*e} - *s) / *i + 1;
    if (n < 0 || n > kMaxGridPoints) {
        return std::nullopt;
    }
    TGrid grid(static_cast<std::size_t>(n) + 1);
    grid[0] = static_cast<double>(n);
    for (std::int64_t k = 1; k <= n; ++k) {
        grid[static_cast<std::size_t>(k)] = static_cast<double>((k - 1) * *i + *s) / 10000;
    }
    return grid;
}

std::optional<double> ParseIrrDistance(std::string_view text) {
    const std::optional<double> x = ParseDecimalFloat(text);
    if (!x || !(*x > 0)) {
        return std::nullopt;
    }
    return x;
}

std::string TransferFileName(const std::string& target, const std::string& reference) {
    return "LAMP" + SafeFileNamePart(target) + "_(" + SafeFileNamePart(reference) + ").irr";
}

std::string AverageTransferFileName(const std::string& target,
                                    const std::vector<std::string>& references) {
    std::string name = "LAMP" + SafeFileNamePart(target) + "_(avg";
    for (const std::string& reference : references) {
        name += "_" + SafeFileNamePart(reference);
    }
    return name + ").irr";
}

TTransferResult CalculateIrradiance(TProgram& program, TOperator& op,
                                    const TTransferRequest& request) {
    const int index = request.UsingAverage ? request.TargetIndex : request.ReferenceIndex;
    if (index < 0 || index >= static_cast<int>(program.LampList.size())) {
        op.Tell("Please select a lamp for the reference.", "Error!");
        return {};
    }
    TTransferOutput output;
    const auto grid = BuildIrrGrid(request.StartText, request.EndText, request.StepText);
    if (!grid) {
        op.Tell(
            "Please make sure the start, the end and the increment for the wavelengths are "
            "correct.",
            "Error!");
        return {};
    }
    output.Grid = *grid;
    const auto distance = ParseIrrDistance(request.DistanceText);
    if (!distance) {
        op.Tell("Please make sure the distance is a positive number of centimetres.", "Error!");
        return {};
    }
    output.Distance = *distance;
    output.Folder = request.Folder;
    return request.UsingAverage ? TransferFromAverage(program, op, index, output)
                                : TransferFromLamp(program, op, index, output);
}

bool TransferToLamp(TProgram& program, TOperator& op, TLamp& target, const TLamp& reference,
                    const TTransferOutput& output, bool write, TTransferResult& result) {
    if (!HasUsableStandard(reference)) {
        op.Tell("Unexpected error.", "Error!");
        return false;
    }
    const TReport report{op, program.Log()};
    target.NewIrr = MakeTransferTable(
        target, reference, OutputPath(output, TransferFileName(target.Name, reference.Name)),
        program.Today());
    if (!FitNewTable(program, report, *target.NewIrr)) {
        return false;
    }
    if (write) {
        WriteNewTable(report, *target.NewIrr, output, result);
    }
    return true;
}

TTransferResult TransferFromLamp(TProgram& program, TOperator& op, int referenceIndex,
                                 const TTransferOutput& output) {
    TTransferResult result;
    TLampList& lamps = program.LampList;
    if (referenceIndex < 0 || referenceIndex >= static_cast<int>(lamps.size())) {
        return result;
    }
    const TLamp& reference = *lamps[static_cast<std::size_t>(referenceIndex)];
    // A reference without a standard would fail for every lamp alike: say it once.
    if (!HasUsableStandard(reference)) {
        op.Tell("Unexpected error.", "Error!");
        return result;
    }
    if (reference.NUsed == 0) {
        op.Tell("The reference lamp " + reference.Name +
                    " has no selected scans; no irradiance file was made.",
                "Error!");
        return result;
    }
    std::vector<std::string> skipped;
    for (auto& lamp : lamps) {
        if (lamp.get() == &reference) {
            continue;
        }
        if (lamp->NUsed == 0) {
            skipped.push_back(lamp->Name);
            continue;
        }
        TransferToLamp(program, op, *lamp, reference, output, true, result);
    }
    if (!skipped.empty()) {
        op.Tell("No irradiance file was made for these lamps, as they have no selected scans: " +
                    JoinNames(skipped) + ".",
                "Warning");
    }
    return result;
}

TTransferResult TransferFromAverage(TProgram& program, TOperator& op, int targetIndex,
                                    const TTransferOutput& output) {
    TTransferResult result;
    TLampList& lamps = program.LampList;
    if (targetIndex < 0 || targetIndex >= static_cast<int>(lamps.size())) {
        return result;
    }
    TLamp& target = *lamps[static_cast<std::size_t>(targetIndex)];
    if (target.NUsed == 0) {
        op.Tell("Lamp " + target.Name + " has no selected scans; no irradiance file was made.",
                "Error!");
        return result;
    }
    const double today = program.Today();
    std::vector<std::unique_ptr<TIrr>> tables;
    std::vector<std::string> used;
    std::vector<std::string> leftOut;
    for (const auto& lamp : lamps) {
        if (lamp.get() == &target || lamp->NUsed == 0) {
            continue;
        }
        if (!HasUsableStandard(*lamp)) {
            leftOut.push_back(lamp->Name);
            continue;
        }
        tables.push_back(MakeTransferTable(target, *lamp, {}, today));
        used.push_back(lamp->Name);
    }
    if (!leftOut.empty()) {
        op.Tell("These lamps have no irradiance standard and were left out of the average: " +
                    JoinNames(leftOut) + ".",
                "Warning");
    }
    if (tables.empty()) {
        op.Tell(
            "No other lamp has selected scans and an irradiance standard; no irradiance file "
            "was made for lamp " +
                target.Name + ".",
            "Error!");
        return result;
    }

    // The average at the wavelengths every reference's table holds.
    const TIrr& first = *tables.front();
    std::vector<double> w;
    std::vector<double> e;
    for (int p = 1; p <= first.NPoints; ++p) {
        const double wavelength = first.Wavelength[p];
        double sum = 0;
        bool everywhere = true;
        for (const auto& table : tables) {
            bool found = false;
            for (int q = 1; q <= table->NPoints && !found; ++q) {
                if (table->Wavelength[q] == wavelength) {
                    sum += table->Irradiance[q];
                    found = true;
                }
            }
            everywhere = everywhere && found;
        }
        if (everywhere) {
            w.push_back(wavelength);
            e.push_back(sum / static_cast<double>(tables.size()));
        }
    }
    auto table = NewTable(target, OutputPath(output, AverageTransferFileName(target.Name, used)),
                          today, w, e);
    target.NewIrr = std::move(table);
    const TReport report{op, program.Log()};
    if (FitNewTable(program, report, *target.NewIrr)) {
        WriteNewTable(report, *target.NewIrr, output, result);
    }
    return result;
}

}  // namespace uvlamp
