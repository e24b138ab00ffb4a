// UL and XL files: records of raw counts with the settings needed to convert them. Each record
// names its lamp, so a file may hold several lamps; a UL record holds two scans of its lamp, one
// with increasing and one with decreasing wavelength.
#include "scans/UlXlFiles.h"

#include <cmath>
#include <exception>
#include <memory>
#include <string_view>

#include "scans/File.h"
#include "scans/Instrument.h"
#include "scans/Lamp.h"
#include "scans/TextReader.h"

namespace uvlamp {

namespace {

constexpr int kMaxUlXlPoints = 2000;
// A lamp keeps the last 21 scans of a file (a UL lamp grows by a pair up to 22).
constexpr std::size_t kScanCap = 20;

// Two-digit years of UL and XL records: below 50 are 2000 + yy, 50 and above 1900 + yy.
int UlXlYear(int yy) {
    return yy < 50 ? 2000 + yy : 1900 + yy;
}

// A key word and its value. Only the integration time is checked: a key or value that does not
// match leaves the field as it was, and reading goes on from where it stopped.
void ReadKeyed(TTextReader& f, std::string_view key, double& value) {
    if (f.MatchLiteral(key)) {
        f.ReadDouble(value);
    }
}

void ReadKeyed(TTextReader& f, std::string_view key, int& value) {
    if (f.MatchLiteral(key)) {
        f.ReadInt(value);
    }
}

bool ReadPoints(TScan& s, TTextReader& f, bool reversed) {
    ReadKeyed(f, " DARK", s.Dark);
    for (int k = 1; k <= s.NPoints; ++k) {
        const int i = reversed ? s.NPoints + 1 - k : k;
        double a = 0;
        double w = 0;
        double b = 0;
        double r = 0;
        // A point that cannot be read means a damaged or truncated record.
        if (!(f.ReadDouble(a) && f.ReadDouble(w) && f.ReadDouble(b) && f.ReadDouble(r))) {
            return false;
        }
        s.Column1[i] = a;
        s.Wavelength[i] = w / 10000;
        s.Column3[i] = b;
        s.RawCounts[i] = r;
    }
    return ConvertToCountRate(s);
}

// The lamp of this file named by a record, created (at the reference distance of 50 cm) when the
// file has none of that name yet; null when the file holds kMaxLamps lamps already.
TLamp* LampFor(TLampList& lamps, TLampIndex& index, const std::string& name, const TScan& scan) {
    if (TLamp* lamp = index.Find(name)) {
        return lamp;
    }
    if (lamps.size() >= kMaxLamps) {
        return nullptr;
    }
    lamps.push_back(std::make_unique<TLamp>(name));
    TLamp& lamp = *lamps.back();
    lamp.NPoints = scan.NPoints;
    lamp.Average.Distance = 50;
    index.Add(lamp);
    return &lamp;
}

std::string TooManyLampsNote(const std::string& fileName) {
    return ReadableFileName(fileName) + ": more than " + std::to_string(kMaxLamps) +
           " lamps; the records of the others were left out";
}

void ApplyInstrument(TLampList& lamps, const TReadContext& ctx) {
    UpdateTemperatures(lamps, CurrentHasNewT(ctx.Settings));
    UpdateSplitIndices(lamps, CurrentIsMKIII(ctx.Settings));
}

}  // namespace

bool ReadScanHeader(TScan& s, TTextReader& f, std::string& lampName) {
    try {
        if (!(f.MatchLiteral(" Integration time is") && f.ReadDouble(s.IntegrationTime))) {
            return false;
        }
        f.MatchLiteral(" seconds per cycle");
        ReadKeyed(f, " dt", s.DeadTime);
        ReadKeyed(f, " cy", s.Cycles);
        int n = 0;
        ReadKeyed(f, " le", n);
        lampName.clear();
        if (f.MatchLiteral(" ln")) {
            f.ReadWord(lampName);
            lampName = ReadableLampName(lampName);
        }
        if (n < 1 || n > kMaxUlXlPoints) {
            return false;
        }
        s.Resize(n);
        ReadKeyed(f, " di", s.Distance);
        int day = 0;
        int month = 0;
        int yy = 0;
        if (f.MatchLiteral(" dh") && f.ReadInt(day) && f.ReadInt(month)) {
            f.ReadInt(yy);
        }
        // The comment is the next line holding anything but blanks, from its first non-blank.
        f.SkipSpace();
        s.Comment = f.ReadTextLine();
        if (f.ReadDouble(s.Reading1) && f.ReadDouble(s.Reading2)) {
            f.ReadDouble(s.TempReading);
        }
        ReadKeyed(f, " pr", s.Pr);
        s.SetDate(day, month, UlXlYear(yy), 0, 0, 0);  // throws for a date that does not exist
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ReadScanData(TScan& s, TTextReader& f) {
    try {
        return ReadPoints(s, f, false);
    } catch (const std::exception&) {
        return false;
    }
}

bool ReadScanDataReversed(TScan& s, TTextReader& f) {
    try {
        return ReadPoints(s, f, true);
    } catch (const std::exception&) {
        return false;
    }
}

bool ConvertToCountRate(TScan& s) {
    if (s.Cycles == 0 || s.IntegrationTime == 0) {
        return false;
    }
    const double scale = Sqr(s.Distance / 50);
    for (int i = 1; i <= s.NPoints; ++i) {
        double n0 = (s.RawCounts[i] - s.Dark) / s.Cycles / s.IntegrationTime * 4;
        if (n0 < 2) {
            n0 = 2;
        }
        // Nine steps of the fixed-point iteration N = N0 exp(N dt). A step that changes nothing
        // has reached the fixed point exactly, and every later step would give the same value.
        double n = n0;
        for (int k = 0; k < 9; ++k) {
            const double next = n0 * std::exp(n * s.DeadTime);
            if (next == n) {
                break;
            }
            n = next;
        }
        s.Counts[i] = n * scale;
        if (!std::isfinite(s.Counts[i])) {
            return false;
        }
    }
    return true;
}

bool TXLScan::Read(TTextReader& f, TOperator& /*op*/) {
    if (!ReadScanHeader(*this, f, HeaderLampName)) {
        return false;
    }
    Selected = true;
    const bool ok = ReadScanData(*this, f);
    std::string closing;
    f.ReadWord(closing);
    return ok;
}

bool TXLFile::Read(const std::string& name, TReadContext& ctx) {
    SetName(name);
    ReadNameDay(name);
    const auto text = ctx.Open(name);
    if (!text) {
        return false;
    }
    TTextReader f(*text);
    TLampIndex index(Lamps);
    bool tooMany = false;
    for (;;) {
        auto scan = std::make_unique<TXLScan>(1, nullptr, this);
        if (!scan->Read(f, ctx.Operator)) {
            if (Lamps.empty()) {
                return false;
            }
            break;
        }
        scan->JulianDay = NameDay;
        ++NScans;
        TLamp* found = LampFor(Lamps, index, scan->HeaderLampName, *scan);
        if (found == nullptr) {
            if (!tooMany) {
                ctx.Notes.push_back(TooManyLampsNote(FileName));
                tooMany = true;
            }
            if (f.AtEnd()) {
                break;
            }
            continue;
        }
        TLamp& lamp = *found;
        scan->Lamp = &lamp;
        if (lamp.Accepts(*scan)) {
            lamp.ResizeDerived();
            if (lamp.Scans.size() > kScanCap) {
                DropOldest(lamp);
            }
        }
        AppendScan(lamp, std::move(scan), ctx);
        if (f.AtEnd()) {
            break;
        }
    }
    ApplyInstrument(Lamps, ctx);
    return true;
}

bool TULFile::Read(const std::string& name, TReadContext& ctx) {
    SetName(name);
    ReadNameDay(name);
    const auto text = ctx.Open(name);
    if (!text) {
        return false;
    }
    TTextReader f(*text);
    TLampIndex index(Lamps);
    bool tooMany = false;
    for (;;) {
        auto first = std::make_unique<TULScan>(1, nullptr, this);
        std::string lampName;
        if (!ReadScanHeader(*first, f, lampName) || !ReadScanData(*first, f)) {
            if (Lamps.empty()) {
                return false;
            }
            break;
        }
        first->JulianDay = NameDay;
        first->Selected = true;
        ++NScans;
        TLamp* lamp = LampFor(Lamps, index, lampName, *first);
        first->Lamp = lamp;
        auto second = std::make_unique<TULScan>(*first);
        if (lamp == nullptr) {
            // The record is read to its end, so the next one is found, and left out.
            if (ReadScanDataReversed(*second, f)) {
                ++NScans;
            }
            if (!tooMany) {
                ctx.Notes.push_back(TooManyLampsNote(FileName));
                tooMany = true;
            }
        } else {
            if (lamp->Accepts(*first)) {
                lamp->ResizeDerived();
                if (lamp->Scans.size() > kScanCap) {
                    DropOldest(*lamp);
                }
            }
            AppendScan(*lamp, std::move(first), ctx);
            if (ReadScanDataReversed(*second, f)) {
                ++NScans;
                AppendScan(*lamp, std::move(second), ctx);
            }
        }
        std::string closing;
        f.ReadWord(closing);
        if (f.AtEnd()) {
            break;
        }
    }
    ApplyInstrument(Lamps, ctx);
    return true;
}

}  // namespace uvlamp
