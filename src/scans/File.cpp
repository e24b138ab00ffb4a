#include "scans/File.h"

#include <algorithm>

#include "shell/Errors.h"
#include "shell/Format.h"

namespace uvlamp {

bool TFile::Read(const std::string& /*name*/, TReadContext& /*ctx*/) {
    return true;
}

void TFile::SetName(const std::string& name) {
    FileName = name;
    Instrument = name.size() >= 3 ? name.substr(name.size() - 3) : name;
}

void TFile::ReadNameDay(const std::string& name) {
    FileName = name;
    const std::string day = name.size() > 2 ? name.substr(2, 3) : std::string();
    const auto value = ParseDecimalInt(day);
    if (!value) {
        throw TConversionError(ReadableFileName(name) + ": '" + ReadableText(day, 3) +
                               "' is not a valid day of year");
    }
    NameDay = *value;
}

bool TFile::AppendScan(TLamp& lamp, std::unique_ptr<TScan> scan, TReadContext& ctx) {
    if (lamp.Accepts(*scan)) {
        lamp.Scans.push_back(std::move(scan));
        return true;
    }
    lamp.SyncPointCount();
    if (std::find(notedLamps_.begin(), notedLamps_.end(), lamp.Name) == notedLamps_.end()) {
        notedLamps_.push_back(lamp.Name);
        ctx.Notes.push_back(ReadableFileName(FileName) + ": scans of lamp " + lamp.Name +
                            " with other wavelengths than its first scan were left out");
    }
    return false;
}

void TFile::DropOldest(TLamp& lamp) {
    if (!lamp.Scans.empty()) {
        lamp.Scans.erase(lamp.Scans.begin());
    }
}

namespace {

std::string LampNameAfter(const std::string& fileName, std::size_t u) {
    const std::size_t length = fileName.size();
    if (length < u + 4) {
        return {};
    }
    return ReadableLampName(std::string_view(fileName).substr(u, length - u - 4));
}

}  // namespace

std::string ReadableLampName(std::string_view name) {
    return ReadableText(name, kMaxLampNameLength);
}

std::string ReadableFileName(std::string_view name) {
    // No file system takes longer names; a longer text is no name.
    return ReadableText(name, 255);
}

std::string QlLampName(const std::string& fileName) {
    const std::size_t underscore = fileName.rfind('_');
    return LampNameAfter(fileName, underscore == std::string::npos ? 2 : underscore + 1);
}

std::string QsLampName(const std::string& fileName) {
    const std::size_t underscore = fileName.rfind('_');
    return LampNameAfter(fileName, underscore == std::string::npos ? 0 : underscore + 1);
}

}  // namespace uvlamp
