// QL and QS files: one lamp per file (named by the file name), blocks of white-space separated
// fields one after the other. A QL block carries its own point count, wavelengths and time of
// day; a QS block has eleven points at fixed wavelengths.
#include <algorithm>
#include <memory>

#include "scans/File.h"
#include "scans/Lamp.h"
#include "scans/TextReader.h"
#include "shell/DayCount.h"
#include "shell/Errors.h"
#include "shell/Format.h"
#include "shell/Operator.h"
#include "shell/Settings.h"

namespace uvlamp {

namespace {

constexpr int kMinQlPoints = 7;
constexpr int kMaxQlPoints = 50;
constexpr int kQsPoints = 11;
// QS files keep the last 21 scans of a lamp.
constexpr std::size_t kQsScanCap = 21;

// The value of a day or year field: an optional sign and the leading digits, 0 without digits.
int LeadingInt(const std::string& text) {
    std::size_t p = 0;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    int value = 0;
    for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p) {
        value = value * 10 + (text[p] - '0');
    }
    return negative ? -value : value;
}

// Two-digit years of QL and QS files: 50 and below are 2000 + yy, above 50 are 1900 + yy.
int QlYear(int yy) {
    return yy <= 50 ? 2000 + yy : 1900 + yy;
}

const std::string& FileNameOf(const TScan& scan) {
    static const std::string none;
    return scan.File != nullptr ? scan.File->FileName : none;
}

}  // namespace

bool TQLScan::Read(TTextReader& f, TOperator& op) {
    if (f.AtEnd()) {
        return false;
    }
    int n = 0;
    if (!f.ReadInt(n)) {
        return false;
    }
    if (n < kMinQlPoints || n > kMaxQlPoints) {
        op.Tell("Unrecognized format.", "Oooops!");
        return false;
    }
    Resize(n);
    std::string dayText;
    std::string yearText;
    f.ReadWord(dayText, 3);
    f.ReadWord(yearText, 2);
    f.ReadDouble(Distance);
    if (Lamp != nullptr) {
        Lamp->Average.Distance = 50;  // count rates are normalised to the reference distance
    }
    f.ReadDouble(Temperature);
    f.ReadDouble(Dark);
    double ignored = 0;
    f.ReadDouble(ignored);
    bool repeated = false;
    for (int r = 1; r <= n; ++r) {
        double w = 0;
        double c = 0;
        f.ReadDouble(w);
        f.ReadDouble(c);
        Wavelength[r] = w / 10000;
        Counts[r] = c * Sqr(Distance / 50);
        if (r >= 2 && Wavelength[r] == Wavelength[r - 1]) {
            SplitIndex = r;
            repeated = true;
        }
    }
    if (!repeated) {
        SplitIndex = n + 1;
    }
    std::string timeWord;
    if (!f.ReadWord(timeWord)) {
        return false;  // the file ends inside the block: a truncated file
    }
    Selected = true;
    const auto time = ParseTimeOfDay(timeWord);
    if (!time) {
        if (f.AtEnd()) {
            return false;  // a time word cut off by the end of the file
        }
        throw TConversionError(ReadableFileName(FileNameOf(*this)) + ": '" +
                               ReadableText(timeWord, 40) + "' is not a valid time");
    }
    const int day = LeadingInt(dayText);
    DateTime = *time;
    DateTime += EncodeDate(QlYear(LeadingInt(yearText)), 1, 1) + day - 1;
    JulianDay = day;
    return true;
}

bool TQSScan::Read(TTextReader& f, TOperator& /*op*/) {
    if (f.AtEnd()) {
        return false;
    }
    Resize(kQsPoints);
    SplitIndex = kQsPoints + 1;
    std::string dayText;
    std::string yearText;
    if (!f.ReadWord(dayText, 3) || !f.ReadWord(yearText, 2)) {
        return false;
    }
    f.ReadDouble(Distance);
    if (Lamp != nullptr) {
        Lamp->Average.Distance = 50;  // count rates are normalised to the reference distance
    }
    f.ReadDouble(Temperature);
    f.ReadDouble(Dark);
    for (int r = 1; r <= kQsPoints; ++r) {
        double c = 0;
        f.ReadDouble(c);
        Wavelength[r] = (2865 + 35 * r) / 10000.0;
        Counts[r] = c * Sqr(Distance / 50);
    }
    std::string ignored;
    if (!f.ReadWord(ignored)) {
        return false;  // the file ends inside the block: a truncated file
    }
    Selected = true;
    const int day = LeadingInt(dayText);
    DateTime = EncodeDate(QlYear(LeadingInt(yearText)), 1, 1) + day - 1;
    JulianDay = day;
    return true;
}

bool TFile::ReadOneLampFile(const std::string& name, const std::string& lampName, TReadContext& ctx,
                            const TScanCap& cap,
                            const std::function<std::unique_ptr<TScan>(TLamp&)>& newBlock) {
    SetName(name);
    Lamps.push_back(std::make_unique<TLamp>(lampName));
    TLamp& lamp = *Lamps.front();
    const auto text = ctx.Open(name);
    if (!text) {
        return false;
    }
    TTextReader f(*text);
    for (;;) {
        auto scan = newBlock(lamp);
        if (!scan->Read(f, ctx.Operator)) {
            lamp.SyncPointCount();
            if (lamp.Scans.empty()) {
                return false;
            }
            break;
        }
        ++NScans;
        if (lamp.Accepts(*scan) && lamp.Scans.size() >= cap.Max) {
            if (!cap.KeepLast) {
                break;
            }
            DropOldest(lamp);
        }
        AppendScan(lamp, std::move(scan), ctx);
        if (f.AtEnd()) {
            break;
        }
    }
    lamp.ResizeDerived();
    return true;
}

bool TQLFile::Read(const std::string& name, TReadContext& ctx) {
    const TSettings& settings = ctx.Settings;
    TScanCap cap;
    if (settings.LimitScans) {
        // A limit below one scan would keep nothing; it counts as one.
        cap.Max = static_cast<std::size_t>(std::max(1, settings.MaxNumberOfScans));
        cap.KeepLast = settings.LastScans;
    }
    return ReadOneLampFile(name, QlLampName(name), ctx, cap, [this](TLamp& lamp) {
        return std::make_unique<TQLScan>(1, &lamp, this);
    });
}

bool TQSFile::Read(const std::string& name, TReadContext& ctx) {
    return ReadOneLampFile(
        name, QsLampName(name), ctx, TScanCap{kQsScanCap, true},
        [this](TLamp& lamp) { return std::make_unique<TQSScan>(1, &lamp, this); });
}

}  // namespace uvlamp
