#pragma once

#include <optional>
#include <string>

#include "scans/Lamp.h"

namespace uvlamp {

class TOperator;
struct TSettings;

// Temperature circuits: degrees Celsius from the raw reading V of UL and XL scans.
inline constexpr double kNewCircuitSlope = 18.64;
inline constexpr double kNewCircuitOffset = -33.27;
inline constexpr double kOldCircuitSlope = 16;
inline constexpr double kOldCircuitOffset = -30;
inline constexpr double kOldCircuitCorrection = 0.5;
// The second wavelength range begins above this wavelength (micrometres).
inline constexpr double kMkiiiBoundary = 0.3505;
inline constexpr double kOtherBoundary = 0.3255;

// The table index of an instrument number ("042" is 42): a whole decimal number from 0 to 999.
std::optional<int> InstrumentIndex(const std::string& number);

// The flags of the current instrument; false while no instrument is set.
bool CurrentIsMKIII(const TSettings& settings);
bool CurrentHasNewT(const TSettings& settings);

// The extension of a file name, dot included (".042"); empty without a dot.
std::string FileExtension(const std::string& fileName);
// The instrument number an extension names: the (up to) three characters after its first one.
std::string InstrumentNumberOf(const std::string& extension);

enum class TInstrumentCheck {
    Same,     // the file is of the current instrument
    Changed,  // the file's instrument is now the current one
    Kept,     // the operator chose to keep the previous instrument
};

// Makes the instrument of a file's extension the current one. The first instrument is taken
// without asking; another one only when the operator answers Yes to "This instrument number is
// different. Continue?". Throws TConversionError, naming the file, when the extension does not
// hold an instrument number (0 to 999) and would have to become the current one.
TInstrumentCheck CheckInstrument(TSettings& settings, TOperator& op, const std::string& extension,
                                 const std::string& fileName);

// The temperature of a UL or XL scan from its raw reading.
double CircuitTemperature(double reading, bool newCircuit);
// Recomputes the temperatures of every UL and XL scan of the lamps; QL and QS scans carry theirs.
void UpdateTemperatures(TLampList& lamps, bool newCircuit);
// Recomputes the split index of every scan: the second range begins at the last point at or below
// the boundary of the instrument (0 when even the first point is above it, NPoints + 1 when no
// point is).
void UpdateSplitIndices(TLampList& lamps, bool mkiii);
int SplitIndexFor(const TScan& scan, bool mkiii);

}  // namespace uvlamp
