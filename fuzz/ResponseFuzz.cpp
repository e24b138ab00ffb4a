// Response and UVRES files: the reader, then what the program does with what it read: smoothing
// onto a scan's wavelengths (with any split the scan readers could leave), the comparison with a
// scan, the division of a lamp spectrum by a UVRES response, and the temperature files written
// beside a response. The first byte chooses the split and the instrument; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "response/References.h"
#include "response/Smoothing.h"
#include "response/Temperature.h"
#include "scans/File.h"
#include "scans/Scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace uvlamp;
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    TScan reference(1, nullptr, nullptr);
    // Smoothing costs grow with the points; response files have a few hundred.
    if (!ReadResponseText(reference, text) || reference.NPoints > 400) {
        return 0;
    }
    reference.SplitIndex = (choice >> 3) % (reference.NPoints + 3) - 1;
    TFile file;
    file.SetName((choice & 0x80) != 0 ? "ql12320.042" : "ql12320.123");
    TScan grid(12, nullptr, &file);
    for (int i = 1; i <= 12; ++i) {
        grid.Wavelength[i] = (2865 + 70 * (i - 1)) / 10000.0;
        grid.Counts[i] = 1000.0 * i;
    }
    TScan scratch(reference.NPoints, nullptr, &file);
    scratch.CopyFrom(reference);
    // An empty name: the diagnostics of instrument "042" cannot be written, silently.
    SmoothOnGrid(scratch, grid, "");
    TScan ratio(reference.NPoints, nullptr, nullptr);
    ratio.CopyFrom(reference);
    RatioToScan(ratio, grid, (choice & 0x01) != 0);
    (void)SameGrid(ratio, grid);
    // As a UVRES response: a lamp spectrum divided by it.
    TScan spectrum(grid.NPoints, nullptr, &file);
    spectrum.CopyFrom(grid);
    (void)spectrum.DivideBy(reference);
    TTemperatureFit fit;
    fit.Cubic = {0, -0.2, 0.01, 0.002, 0.0001};
    fit.Linear = {0, -0.1, 0.02};
    fit.Switch = 0.325;
    (void)TemperatureFileTexts(text, fit);
    return 0;
}
