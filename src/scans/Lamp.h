#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "scans/Scan.h"

namespace uvlamp {

class TIrr;

// One calibration lamp: its scans, gathered by name across the files read, and what is derived
// from the selected ones. A lamp's derived scans point back at it, so a lamp never moves: it
// lives on the heap, owned by a lamp list.
class TLamp {
  public:
    // A lamp of that name with no scans; its derived scans have 51 points until the first scan
    // sets the point count. The nameless lamp is called "tmp".
    explicit TLamp(std::string name = "tmp");
    TLamp(const TLamp&) = delete;
    TLamp& operator=(const TLamp&) = delete;
    ~TLamp();

    // Resizes the derived scans to the lamp's point count.
    void ResizeDerived();
    // A scan resized while it is read sets its lamp's point count; when that scan is not kept,
    // the lamp's own scans decide the count again.
    void SyncPointCount();
    // True when a scan can join this lamp: the lamp has no scan yet, or the scan has the point
    // count and the wavelengths of the lamp's first scan. Statistics combine scans point by point,
    // so scans on another grid must never be mixed in.
    bool Accepts(const TScan& scan) const;

    double MaxRelStd = 0;  // largest relative standard deviation over the points (a fraction)
    double MaxT = 0;       // highest temperature among the selected scans
    double MinT = 0;       // lowest temperature among the selected scans
    std::vector<std::unique_ptr<TScan>> Scans;
    std::string Name;  // matched exactly, letter case included
    TScan Average;     // mean of the selected scans; Deviation = relative std in percent
    TScan RelStd;      // relative standard deviation per point (a fraction)
    std::unique_ptr<TScan> Response;  // made from Average and the lamp's irradiance
    std::unique_ptr<TIrr> Irr;        // the lamp's irradiance standard; null when it has none
    std::unique_ptr<TIrr> NewIrr;     // the table of the lamp's last irradiance transfer
    int NPoints = 0;
    int NUsed = 0;     // selected scans
    TScan TSlopeScan;  // slope of count rate against temperature, per degree
    TScan At0CScan;    // count rate extrapolated to 0 degrees
    TScan At25CScan;   // count rate at 25 degrees from the same regression
    // The three regressions as count rates, as the last statistics run left them. Applying an
    // irradiance converts the regression scans from these, so applying twice changes nothing.
    TPointArray TSlopeCounts, At0CCounts, At25CCounts;
};

using TLampList = std::vector<std::unique_ptr<TLamp>>;

// Index of the first lamp whose name equals name exactly, or -1.
int FindLamp(const TLampList& list, const std::string& name);

// More lamps than any station has: a load holds at most this many, so a damaged file that names
// a new lamp in every record cannot fill the memory or the lists.
inline constexpr std::size_t kMaxLamps = 1000;

// The lamps of a growing list found by name, as FindLamp finds them: a file may name a lamp in
// every record, and searching the list for each would take quadratic time.
class TLampIndex {
  public:
    // Indexes the lamps already in the list.
    explicit TLampIndex(const TLampList& list);
    // The first lamp of that name, or null.
    TLamp* Find(const std::string& name) const;
    // A lamp just added to the list.
    void Add(TLamp& lamp);

  private:
    std::unordered_map<std::string, TLamp*> byName_;
};

}  // namespace uvlamp
