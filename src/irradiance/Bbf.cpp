#include "irradiance/Bbf.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "scans/TextReader.h"
#include "shell/FileIo.h"
#include "shell/Format.h"
#include "shell/LogFile.h"
#include "shell/Operator.h"

namespace uvlamp {

namespace {

// A BBF file holds one short line per record; anything near this size is not one.
constexpr std::uintmax_t kMaxBbfFileBytes = 16u * 1024u * 1024u;

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return IsSpace(c); });
}

}  // namespace

void TReport::LogLine(const std::string& line) const {
    if (Log != nullptr) {
        Log->WriteLine(line);
    }
}

bool IsUsableStandard(const TBbfRecord& record) {
    const auto positive = [](double v) { return std::isfinite(v) && v > 0; };
    return positive(record.Temperature) && positive(record.Factor) && positive(record.Distance);
}

std::string FormatBbfLine(const TBbfRecord& record) {
    return Sprintf(
        "Distance = %.1f Temperature = %10.4f Factor = %10.3f RMS = %10.4f  Date = %.0f %s %s\n",
        record.Distance, record.Temperature, record.Factor, record.Rms, record.Date, "",
        record.Remark.c_str());
}

bool ParseBbfLine(std::string_view line, TBbfRecord& record) {
    TTextReader f(line);
    TBbfRecord r;
    if (!(f.MatchLiteral(" Distance = ") && f.ReadDouble(r.Distance) &&
          f.MatchLiteral(" Temperature = ") && f.ReadDouble(r.Temperature) &&
          f.MatchLiteral(" Factor = ") && f.ReadDouble(r.Factor) && f.MatchLiteral(" RMS = ") &&
          f.ReadDouble(r.Rms) && f.MatchLiteral("  Date = ") && f.ReadDouble(r.Date))) {
        return false;
    }
    // The file holds whole days: a date with a fraction (a hand edit) is taken as the day the
    // rewrite will write, so two records that the rewrite would give one date are one record
    // already, and a file reads the same before and after its rewrite.
    r.Date = std::nearbyint(r.Date);
    std::string_view rest = line.substr(f.Position());
    for (int blanks = 0; blanks < 2 && !rest.empty() && rest.front() == ' '; ++blanks) {
        rest.remove_prefix(1);
    }
    r.Remark = std::string(rest);
    record = std::move(r);
    return true;
}

TBbf::TBbf(double today) {
    Current.Date = today;
}

bool TBbf::Load(const std::string& path, const TReport& report) {
    FileName = path;
    std::string buffer;
    std::string whyNot;
    const auto bytes = ReadFileBytes(path, buffer, kMaxBbfFileBytes, "a BBF file", whyNot);
    if (!bytes) {
        std::error_code ec;
        report.LogLine("File " + path + " " +
                       (std::filesystem::exists(path, ec) ? whyNot : "not found") + ".");
        FileName.clear();
        return false;
    }
    std::vector<TBbfRecord> records;
    std::vector<std::string> others;
    TTextReader f(*bytes);
    while (!f.AtEnd()) {
        std::string line = f.ReadTextLine();
        TBbfRecord record;
        if (ParseBbfLine(line, record)) {
            records.push_back(std::move(record));
        } else if (!IsBlankLine(line)) {
            others.push_back(std::move(line));
        }
    }
    OtherLines = std::move(others);
    if (records.empty()) {
        // Nothing to select from. The file is left as it is; a fit made for the lamp later is
        // added to it, after these lines.
        report.LogLine("File " + path + " holds no record.");
        FileName.clear();
        return false;
    }
    Records = std::move(records);
    SortRecords();
    Rewrite(report);
    Current = Records.back();
    return true;
}

void TBbf::SortRecords() {
    std::stable_sort(Records.begin(), Records.end(),
                     [](const TBbfRecord& a, const TBbfRecord& b) { return a.Date < b.Date; });
    std::vector<TBbfRecord> kept;
    kept.reserve(Records.size());
    for (std::size_t i = 0; i < Records.size(); ++i) {
        if (i + 1 == Records.size() || Records[i + 1].Date != Records[i].Date) {
            kept.push_back(std::move(Records[i]));
        }
    }
    Records = std::move(kept);
}

void TBbf::Rewrite(const TReport& report) {
    WriteFile(report);
    report.LogLine("Updating " + FileName + ".");
}

void TBbf::CreateFile(const std::string& path, const TReport& report) {
    FileName = path;
    // Normally the file is new. After a load that found no record, or whose rewrite failed, the
    // file's records and lines are still here and go back into it with the new record.
    Records.push_back(Current);
    SortRecords();
    WriteFile(report);
    report.LogLine("Creating " + FileName + ".");
}

bool TBbf::WriteFile(const TReport& report) {
    std::string text;
    for (const TBbfRecord& record : Records) {
        text += FormatBbfLine(record);
    }
    for (const std::string& line : OtherLines) {
        text += line;
        text += '\n';
    }
    if (!FileName.empty() && ReplaceFileText(FileName, text)) {
        return true;
    }
    report.LogLine("File " + FileName + " could not be saved.");
    report.Operator.Tell("File " + FileName + " could not be saved.", "Error!");
    FileName.clear();
    return false;
}

void TBbf::SelectForDate(double t) {
    if (Records.empty()) {
        return;
    }
    Current = Records.back();
    for (std::size_t i = 0; i < Records.size(); ++i) {
        if (Records[i].Date >= t) {
            Current = Records[i == 0 ? 0 : i - 1];
            return;
        }
    }
}

}  // namespace uvlamp
