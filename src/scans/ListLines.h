#pragma once

#include <string>
#include <vector>

#include "scans/Lamp.h"

namespace uvlamp {

// The line of a lamp in the lamp list: name, selected/total scans, largest relative standard
// deviation in percent ("L123  18/ 21  5.0%").
std::string LampListLine(const TLamp& lamp);
std::vector<std::string> LampListLines(const TLampList& lamps);

// The line of a scan in the scan list: position (from 1), day of year, two-digit year,
// temperature and largest deviation in percent (" 3 045'20  25C -0.8%").
std::string ScanListLine(int position, const TScan& scan);
std::vector<std::string> ScanListLines(const TLamp& lamp);

}  // namespace uvlamp
