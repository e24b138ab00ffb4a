#include "scans/Scan.h"

#include <cmath>

#include "scans/Lamp.h"
#include "shell/DayCount.h"

namespace uvlamp {

TScan::TScan(int n, TLamp* lamp, TFile* file) : TScan(TScanKind::Derived, n, lamp, file) {}

TScan::TScan(TScanKind kind, int n, TLamp* lamp, TFile* file)
    : File(file), Lamp(lamp), kind_(kind) {
    NPoints = n;
    for (TPointArray* a : {&Wavelength, &RawCounts, &Counts, &Deviation, &Column3, &Column1,
                           &TSlope, &TCoef, &At0C, &Ratio0C, &At25C}) {
        a->Reset(n);
    }
    SetDate(1, 1, 1900, 0, 0, 0);
}

bool TScan::Read(TTextReader& /*f*/, TOperator& /*op*/) {
    return true;
}

void TScan::Resize(int n) {
    if (n == NPoints) {
        return;
    }
    SetPointCount(n);
    if (Lamp != nullptr) {
        Lamp->NPoints = n;
    }
}

void TScan::SetPointCount(int n) {
    if (n == NPoints) {
        return;
    }
    NPoints = n;
    for (TPointArray* a : {&Wavelength, &RawCounts, &Counts, &Deviation, &Column3, &Column1,
                           &TSlope, &TCoef, &At0C, &Ratio0C, &At25C}) {
        a->Reset(n);
    }
}

void TScan::CopyFrom(const TScan& source) {
    Temperature = source.Temperature;
    SplitIndex = source.SplitIndex;
    DateTime = source.DateTime;
    JulianDay = source.JulianDay;
    File = source.File;
    const int n = NPoints < source.NPoints ? NPoints : source.NPoints;
    for (int i = 1; i <= n; ++i) {
        Counts[i] = source.Counts[i];
        Wavelength[i] = source.Wavelength[i];
    }
}

bool SameFirstWavelengths(const TScan& scan, const TScan& reference, int n) {
    if (scan.NPoints < n) {
        return false;
    }
    for (int i = 1; i <= n; ++i) {
        if (scan.Wavelength[i] != reference.Wavelength[i]) {
            return false;
        }
    }
    return true;
}

bool SameGrid(const TScan& s, const TScan& r) {
    return s.NPoints == r.NPoints && SameFirstWavelengths(s, r, s.NPoints);
}

bool TScan::DivideBy(const TScan& reference) {
    if (reference.NPoints < 2) {
        return false;
    }
    const double step = std::round((reference.Wavelength[2] - reference.Wavelength[1]) * 10000);
    if (step != 5) {
        return false;
    }
    for (int i = 1; i <= NPoints; ++i) {
        const double k = std::round((Wavelength[i] - reference.Wavelength[1]) * 10000 / 5) + 1;
        if (!(k >= 1 && k <= reference.NPoints)) {
            return false;
        }
        Counts[i] = Counts[i] / reference.Counts[static_cast<int>(k)];
    }
    return true;
}

void TScan::SetDate(int day, int month, int year, int hour, int minute, int second) {
    const double date = EncodeDate(year, month, day);
    DateTime = date + hour / 24.0 + minute / 1440.0 + second / 86400.0;
    JulianDay = static_cast<int>(date - EncodeDate(year, 1, 1) + 1);
}

}  // namespace uvlamp
