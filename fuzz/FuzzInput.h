// What the fuzz targets share: the settings a leading byte of the input chooses, and the reading
// of one scan file through the readers' in-memory interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scans/Loading.h"
#include "shell/Settings.h"

namespace uvlamp::fuzz {

// Settings for instrument "042" whose flags and scan limit come from one byte: 0x10 new
// temperature circuit, 0x20 MKIII, 0x40 limit the scans of a QL file, 0x80 keep the last ones;
// the low three bits give the limit (1 to 8).
TSettings SettingsFromByte(std::uint8_t flags);

// Reads bytes as a scan file of that kind and name, merges its lamps into a list and computes
// their statistics, as loading does. A conversion error (a bad time word or day) is the expected
// end for such input; everything else must return normally.
void ReadScanBytes(TScanFileKind kind, const char* name, std::uint8_t flags,
                   std::string_view bytes);

}  // namespace uvlamp::fuzz
