#include "scans/ListLines.h"

#include "shell/DayCount.h"
#include "shell/Errors.h"
#include "shell/Format.h"

namespace uvlamp {

std::string LampListLine(const TLamp& lamp) {
    return Sprintf("%4s %3d/%3d %4.1f%%", lamp.Name.c_str(), lamp.NUsed,
                   static_cast<int>(lamp.Scans.size()), 100 * lamp.MaxRelStd);
}

std::vector<std::string> LampListLines(const TLampList& lamps) {
    std::vector<std::string> lines;
    lines.reserve(lamps.size());
    for (const auto& lamp : lamps) {
        lines.push_back(LampListLine(*lamp));
    }
    return lines;
}

std::string ScanListLine(int position, const TScan& scan) {
    std::string year = "??";  // a date outside the calendar cannot have come from a valid file
    try {
        year = FormatDateTime("yy", scan.DateTime);
    } catch (const TConversionError&) {
    }
    return Sprintf("%2d %03d'%2s %3.0fC %4.1f%%", position, scan.JulianDay, year.c_str(),
                   scan.Temperature, scan.MaxDeviation);
}

std::vector<std::string> ScanListLines(const TLamp& lamp) {
    std::vector<std::string> lines;
    lines.reserve(lamp.Scans.size());
    int position = 1;
    for (const auto& scan : lamp.Scans) {
        lines.push_back(ScanListLine(position++, *scan));
    }
    return lines;
}

}  // namespace uvlamp
