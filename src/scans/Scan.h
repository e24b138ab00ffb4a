#pragma once

#include <array>
#include <string>

#include "scans/PointArray.h"

namespace uvlamp {

class TFile;
class TLamp;
class TOperator;
class TTextReader;

enum class TScanKind { Derived, QL, UL, XL, QS };

// One lamp scan: count rates at a series of wavelengths with the conditions of the measurement.
// The same record carries every spectrum derived from scans (lamp averages, scatter, temperature
// regressions, responses). Wavelengths are in micrometres; count rates of file scans are
// normalised to the reference distance of 50 cm; dates are day counts.
class TScan {
  public:
    // n points; the date record is 1 January 1900 (DateTime 2.0, JulianDay 1).
    TScan(int n, TLamp* lamp, TFile* file);
    TScan(const TScan&) = default;
    TScan& operator=(const TScan&) = delete;
    virtual ~TScan() = default;

    TScanKind Kind() const { return kind_; }

    // Reads one scan block at the current position of a file's text. The plain scan reads
    // nothing and succeeds.
    virtual bool Read(TTextReader& f, TOperator& op);

    // A new point count: all per-point values are dropped and the scan's lamp follows the new
    // count. Nothing happens when n is the current count.
    void Resize(int n);
    // The same without the lamp: for scratch scans, which may name a real lamp whose own scans
    // keep their count.
    void SetPointCount(int n);
    // Temperature, SplitIndex, the date record, File, and Counts and Wavelength of this scan's
    // points from a source with at least as many points.
    void CopyFrom(const TScan& source);
    // Divides Counts by the reference's Counts at the same wavelength. The reference must be on a
    // 5 Å grid; false (with the points before the failing one already divided) when it is not or
    // when a wavelength has no point in it.
    bool DivideBy(const TScan& reference);
    // Sets DateTime and JulianDay (day of year) from a calendar date and time of day. Throws
    // TConversionError for a date that does not exist.
    void SetDate(int day, int month, int year, int hour, int minute, int second);

    TFile* File = nullptr;  // the file read from; null for derived scans
    double Dark = 0;
    double TempReading = 0;      // UL/XL: raw temperature reading
    double DeadTime = 0;         // UL/XL: seconds
    double IntegrationTime = 0;  // UL/XL: seconds per cycle
    TPointArray Wavelength;      // micrometres
    TPointArray RawCounts;       // UL/XL
    TPointArray Counts;          // count rate at 50 cm, or the derived quantity
    TPointArray Deviation;       // percent from the lamp's average (for Average: relative std)
    TPointArray Column3;         // UL/XL: kept, not used
    TPointArray Column1;         // UL/XL: kept, not used
    // The temperature dependence of a set of lamps, held by the response scan only.
    TPointArray TSlope, TCoef, At0C, Ratio0C, At25C;
    double Temperature = 0;  // degrees Celsius
    double Distance = 0;     // cm; 50 for a lamp's average
    // Fit coefficients: 0 and 1 the smoothing fits of the two wavelength ranges, 4 a third range,
    // 2 and 3 the temperature-coefficient fits of the two ranges.
    std::array<std::array<double, 10>, 5> Coef{};
    double Reading1 = 0;  // UL/XL: kept, not used
    double Reading2 = 0;
    double Pr = 0;
    double MaxDeviation = 0;  // signed percent deviation of largest magnitude
    bool Selected = false;    // takes part in the lamp's averages
    std::string Comment;      // UL/XL: the free text line after the date
    int JulianDay = 1;        // day of year
    double DateTime = 2.0;    // day count
    // First point of the second wavelength range; NPoints + 1 for a single range.
    int SplitIndex = 0;
    int NPoints = 0;
    int Cycles = 0;         // UL/XL
    TLamp* Lamp = nullptr;  // the lamp the scan was made for; not owned

  protected:
    TScan(TScanKind kind, int n, TLamp* lamp, TFile* file);

  private:
    TScanKind kind_ = TScanKind::Derived;
};

// A block of a QL file: its own point count and wavelengths, a time of day.
class TQLScan : public TScan {
  public:
    TQLScan(int n, TLamp* lamp, TFile* file) : TScan(TScanKind::QL, n, lamp, file) {}
    bool Read(TTextReader& f, TOperator& op) override;
};

// A block of a QS file: eleven points at fixed wavelengths, no time of day.
class TQSScan : public TScan {
  public:
    TQSScan(int n, TLamp* lamp, TFile* file) : TScan(TScanKind::QS, n, lamp, file) {}
    bool Read(TTextReader& f, TOperator& op) override;
};

// One half of a UL record; read by the UL file reader itself.
class TULScan : public TScan {
  public:
    TULScan(int n, TLamp* lamp, TFile* file) : TScan(TScanKind::UL, n, lamp, file) {}
};

// One XL record.
class TXLScan : public TScan {
  public:
    TXLScan(int n, TLamp* lamp, TFile* file) : TScan(TScanKind::XL, n, lamp, file) {}
    bool Read(TTextReader& f, TOperator& op) override;
    // The lamp name of the record's header, for the file reader to find or create the lamp.
    std::string HeaderLampName;
};

// True when the scan has at least n points and its first n wavelengths are exactly those of the
// reference. Spectra are combined point by point, so only exactly equal wavelengths match.
bool SameFirstWavelengths(const TScan& scan, const TScan& reference, int n);
// True when both scans have the same point count and exactly the same wavelengths.
bool SameGrid(const TScan& s, const TScan& r);

inline double Sqr(double x) {
    return x * x;
}

}  // namespace uvlamp
