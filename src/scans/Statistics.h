#pragma once

#include "scans/Lamp.h"

namespace uvlamp {

class TLogFile;
struct TSettings;

// Applies the day and temperature criteria of the settings to the lamp's scans (they only ever
// clear Selected), then recomputes over the selected scans, point by point: the mean (Average),
// the relative standard deviation (RelStd, and Average.Deviation in percent), the regression of
// count rate on temperature (TSlopeScan, At0CScan, At25CScan), every scan's deviation from the
// mean, and the lamp's NUsed, MaxRelStd, MaxT and MinT. The regression and the scatter need more
// than two selected scans at more than one temperature, otherwise they are 0.
void UpdateStatistics(TLamp& lamp, const TSettings& settings);

// UpdateStatistics for every lamp, with the log lines "New averages calculated:" and one line
// per lamp. An empty list logs nothing.
void CalculateAverages(TLampList& lamps, const TSettings& settings, const TLogFile* log);

// Selects or deselects every scan of the lamp; recomputes nothing.
void SetAllSelected(TLamp& lamp, bool selected);

}  // namespace uvlamp
