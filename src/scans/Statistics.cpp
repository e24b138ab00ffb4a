#include "scans/Statistics.h"

#include <cassert>
#include <cmath>
#include <vector>

#include "shell/LogFile.h"
#include "shell/Settings.h"

namespace uvlamp {

namespace {

// Sums of count rates are kept in units of 10000 counts and scaled back for the results.
constexpr double kSumScale = 10000;

void ApplyCriteria(TScan& s, const TSettings& settings) {
    if (settings.SelectJd && s.JulianDay != settings.SelectedJd) {
        s.Selected = false;
    }
    // Both bounds are excluded.
    if (settings.LimitTe && (s.Temperature >= settings.TeTo || s.Temperature <= settings.TeFrom)) {
        s.Selected = false;
    }
}

}  // namespace

void UpdateStatistics(TLamp& lamp, const TSettings& settings) {
    lamp.NUsed = 0;
    lamp.MaxRelStd = -1;
    lamp.MaxT = -100;
    lamp.MinT = 100;
    for (auto& s : lamp.Scans) {
        ApplyCriteria(*s, settings);
        if (s->Selected) {
            ++lamp.NUsed;
            lamp.Average.DateTime = s->DateTime;  // the date of the last selected scan
            s->MaxDeviation = -1;
        }
    }
    if (lamp.Scans.empty()) {
        return;
    }
    const TScan& first = *lamp.Scans.front();
    lamp.Average.SplitIndex = first.SplitIndex;
    lamp.Average.File = first.File;
    if (lamp.Average.NPoints != lamp.NPoints) {
        lamp.ResizeDerived();
    }
    const int n = lamp.NPoints;
    const auto size = static_cast<std::size_t>(n) + 1;

    // The sums, scan by scan in list order; each point's sums see the scans in the same order as
    // a point-by-point pass would, so the results are the same to the last bit.
    std::vector<double> sc(size, 0.0);
    std::vector<double> scc(size, 0.0);
    std::vector<double> stc(size, 0.0);
    double st = 0;
    double stt = 0;
    int used = 0;
    for (const auto& sp : lamp.Scans) {
        const TScan& s = *sp;
        if (!s.Selected) {
            continue;
        }
        assert(s.NPoints == n);
        const double t = s.Temperature;
        ++used;
        st += t;
        stt += t * t;
        if (t > lamp.MaxT) {
            lamp.MaxT = t;
        }
        if (t < lamp.MinT) {
            lamp.MinT = t;
        }
        for (int i = 1; i <= n; ++i) {
            const double c = s.Counts[i];
            sc[i] += c / kSumScale;
            scc[i] += c * c;
            stc[i] += t * (c / kSumScale);
        }
    }

    const double count = used;
    const double d = count * stt - st * st;
    for (int i = 1; i <= n; ++i) {
        const double w = first.Wavelength[i];
        lamp.Average.Wavelength[i] = w;
        lamp.TSlopeScan.Wavelength[i] = w;
        lamp.At0CScan.Wavelength[i] = w;
        lamp.At25CScan.Wavelength[i] = w;
        const double sumC = sc[i] * kSumScale;
        const double sumTC = stc[i] * kSumScale;
        double relStd = 0;
        double slope = 0;
        double intercept = 0;
        double at25 = 0;
        if (used > 2 && d != 0) {
            slope = (count * sumTC - st * sumC) / d;
            intercept = sumC / count - slope * st / count;
            at25 = 25 * slope + intercept;
            const double v = (count * scc[i] - sumC * sumC) / (count - 1) / count;
            if (v >= 0 && sumC != 0) {
                relStd = std::sqrt(v) / (sumC / count);
            }
        }
        lamp.TSlopeScan.Counts[i] = slope;
        lamp.At0CScan.Counts[i] = intercept;
        lamp.At25CScan.Counts[i] = at25;
        lamp.TSlopeCounts[i] = slope;
        lamp.At0CCounts[i] = intercept;
        lamp.At25CCounts[i] = at25;
        lamp.RelStd.Counts[i] = relStd;
        lamp.Average.Deviation[i] = 100 * relStd;
        lamp.Average.Counts[i] = used > 0 ? sumC / count : sc[i];
        if (lamp.MaxRelStd < relStd) {
            lamp.MaxRelStd = relStd;
        }
    }

    const TScan& average = lamp.Average;
    for (auto& sp : lamp.Scans) {
        TScan& s = *sp;
        for (int i = 1; i <= n; ++i) {
            const double mean = average.Counts[i];
            if (mean == 0) {
                continue;
            }
            const double deviation = 100 * (s.Counts[i] / mean - 1);
            s.Deviation[i] = deviation;
            if (std::fabs(s.MaxDeviation) < std::fabs(deviation)) {
                s.MaxDeviation = deviation;
            }
        }
    }
}

void CalculateAverages(TLampList& lamps, const TSettings& settings, const TLogFile* log) {
    if (lamps.empty()) {
        return;
    }
    if (log != nullptr) {
        log->WriteLine("\t\tNew averages calculated:");
    }
    for (auto& lamp : lamps) {
        UpdateStatistics(*lamp, settings);
        if (log != nullptr) {
            log->WriteLine("\t\t\t lamp " + lamp->Name + ": " + std::to_string(lamp->NUsed) +
                           " scans used");
        }
    }
}

void SetAllSelected(TLamp& lamp, bool selected) {
    for (auto& s : lamp.Scans) {
        s->Selected = selected;
    }
}

}  // namespace uvlamp
