#include "irradiance/Irr.h"

#include <cmath>
#include <filesystem>

#include "scans/TextReader.h"
#include "shell/FileIo.h"
#include "shell/Format.h"
#include "shell/Operator.h"

namespace uvlamp {

namespace {

// An IRR file holds a few hundred short lines; anything near this size is not one.
constexpr std::uintmax_t kMaxIrrFileBytes = 16u * 1024u * 1024u;

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

// The header line holds the lamp's name; a line break or other control character in it would
// break the file's layout.
std::string HeaderSafe(std::string_view text) {
    std::string safe(text);
    for (char& c : safe) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '_';
        }
    }
    return safe;
}

}  // namespace

TIrr::TIrr(std::string fileName, double today) : FileName(std::move(fileName)), Bbf(today) {}

bool TIrr::Read(const TReport& report) {
    std::string buffer;
    std::string whyNot;
    const auto bytes = ReadFileBytes(FileName, buffer, kMaxIrrFileBytes, "an IRR file", whyNot);
    if (!bytes) {
        std::error_code ec;
        if (!std::filesystem::exists(FileName, ec)) {
            report.Operator.Tell("IRR file not found.", FileName);
            report.LogLine("\t\tIRR file " + FileName + " not found.");
        } else {
            // There, but too large or not readable: say what is wrong with it.
            report.Operator.Tell("This file " + whyNot + ".", FileName);
            report.LogLine("\t\tIRR file " + FileName + " " + whyNot + ".");
        }
        return false;
    }
    if (!ReadText(*bytes)) {
        report.Operator.Tell("The IRR file has no distance on the line after its header.",
                             FileName);
        report.LogLine("\t\tIRR file " + FileName + " has no distance.");
        return false;
    }
    return true;
}

bool TIrr::ReadText(std::string_view text) {
    TTextReader f(text);
    const std::string header = f.ReadTextLine();
    double distance = 0;
    if (!f.ReadDouble(distance)) {
        return false;
    }
    // Every complete pair counts, also the last one of a file that ends without a line break;
    // the first token that is not a number ends the table.
    std::vector<double> w;
    std::vector<double> e;
    for (;;) {
        double wavelength = 0;
        double irradiance = 0;
        if (!f.ReadDouble(wavelength) || !f.ReadDouble(irradiance)) {
            break;
        }
        w.push_back(wavelength / 10000);
        e.push_back(irradiance);
    }
    Name = UpperAscii(header);
    Distance = distance;
    SetPoints(w, e);
    return true;
}

void TIrr::SetPoints(const std::vector<double>& wavelengths,
                     const std::vector<double>& irradiances) {
    NPoints = static_cast<int>(wavelengths.size());
    Wavelength.Reset(NPoints);
    Irradiance.Reset(NPoints);
    for (int i = 1; i <= NPoints; ++i) {
        Wavelength[i] = wavelengths[static_cast<std::size_t>(i - 1)];
        Irradiance[i] = irradiances[static_cast<std::size_t>(i - 1)];
    }
}

double TIrr::WrittenIrradiance(double w, double x) const {
    const double d = Bbf.Current.Distance;
    return Bbf.IrradianceAt(w) * d * d / x / x;
}

std::string TIrr::WriteText(const TGrid& grid, double x) const {
    std::string text = Sprintf("lamp%s\n%5.1f\n", HeaderSafe(Name).c_str(), x);
    const int n = GridPoints(grid);
    for (int i = 1; i <= n; ++i) {
        const double w = grid[static_cast<std::size_t>(i)];
        text += Sprintf("%5.0f  %7.4f\n", w * 10000, WrittenIrradiance(w, x));
    }
    return text;
}

TIrrWrite TIrr::Write(const TGrid& grid, double x, const TReport& report) const {
    if (Bbf.Current.Temperature == 0) {
        return TIrrWrite::NotFitted;
    }
    if (!(x > 0) || !std::isfinite(x)) {
        return TIrrWrite::BadDistance;
    }
    // An absurd distance in the certificate read (or a fit far off the grid) would write "inf"
    // or "nan": a file that no reader takes back.
    for (int i = 1; i <= GridPoints(grid); ++i) {
        if (!std::isfinite(WrittenIrradiance(grid[static_cast<std::size_t>(i)], x))) {
            const std::string message = "File " + FileName +
                                        " could not be saved: its irradiances would not be "
                                        "finite numbers.";
            report.LogLine(message);
            report.Operator.Tell(message, "Error!");
            return TIrrWrite::NotFinite;
        }
    }
    std::error_code ec;
    if (std::filesystem::exists(FileName, ec) &&
        !report.Operator.AskYesNo("File already exists. Continue?", FileName)) {
        return TIrrWrite::Declined;
    }
    if (!ReplaceFileText(FileName, WriteText(grid, x))) {
        report.LogLine("File " + FileName + " could not be saved.");
        report.Operator.Tell("File " + FileName + " could not be saved.", "Error!");
        return TIrrWrite::Failed;
    }
    return TIrrWrite::Written;
}

}  // namespace uvlamp
