// IRR files: the reader, the black-body fit of what it read, and the file the fit writes, which
// must read back to one point per grid wavelength at the distance written whenever its values
// are finite (otherwise nothing is written).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string_view>

#include "irradiance/Bbf.h"
#include "irradiance/Irr.h"
#include "shell/ScriptedOperator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace uvlamp;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TIrr table("", 0);
    // The fit's cost grows with the points; a certificate has a few dozen.
    if (!table.ReadText(text) || table.NPoints > 60) {
        return 0;
    }
    TScriptedOperator op;
    std::mt19937 random(5489u);
    if (table.Bbf.FitFromIrr(table, false, TReport{op}, random) != TBbf::TFit::Fitted) {
        return 0;
    }
    const TGrid grid{3, 0.29, 0.3, 0.31};
    for (int i = 1; i <= 3; ++i) {
        if (!std::isfinite(table.WrittenIrradiance(grid[static_cast<std::size_t>(i)], 50))) {
            return 0;  // refused by the writer
        }
    }
    TIrr written("", 0);
    if (!written.ReadText(table.WriteText(grid, 50)) || written.NPoints != 3 ||
        written.Distance != 50) {
        std::abort();  // a fitted table wrote a file that does not read back
    }
    return 0;
}
