#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "irradiance/Bbf.h"
#include "irradiance/Irr.h"
#include "response/References.h"
#include "scans/Loading.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

// Station files reach the program from Windows PCs, from Unix machines and now and then from an
// old Mac: read from the disk, each kind of file gives the same records whatever its line ends,
// on every system the program runs on.

namespace uvlamp {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = UVLAMP_EXAMPLES_DIR;

struct TLineEnd {
    const char* Name;
    const char* Text;
};
constexpr TLineEnd kLineEnds[] = {{"LF", "\n"}, {"CR LF", "\r\n"}, {"CR", "\r"}};

// The text with every line end (LF, CR LF or a lone CR) made the one given.
std::string WithLineEnds(std::string_view text, std::string_view end) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out += end;
        } else {
            out += text[i];
        }
    }
    return out;
}

// A source file of the tests written into a folder under its own name with the line ends given.
fs::path WriteWithLineEnds(const fs::path& source, const test::TTempDir& dir,
                           std::string_view end) {
    const std::string original = test::ReadFile(source);
    const fs::path path = dir / source.filename().string();
    test::WriteFile(path, WithLineEnds(original, end));
    return path;
}

// Every number to the last bit, so that records compare exactly.
void AddNumber(std::string& out, double value) {
    char text[32];
    std::snprintf(text, sizeof text, " %.17g", value);
    out += text;
}

void AddPoints(std::string& out, const TPointArray& points, int n) {
    for (int i = 1; i <= n; ++i) {
        AddNumber(out, points[i]);
    }
}

// What a scan holds as read from its file.
std::string ScanRecord(const TScan& scan) {
    std::string out = "[" + scan.Comment + "]";
    for (const double value : {scan.DateTime, scan.Temperature, scan.Distance, scan.Dark,
                               scan.TempReading, scan.DeadTime, scan.IntegrationTime}) {
        AddNumber(out, value);
    }
    out += " day " + std::to_string(scan.JulianDay) + " cycles " + std::to_string(scan.Cycles) +
           " split " + std::to_string(scan.SplitIndex) + " points " + std::to_string(scan.NPoints) +
           ":";
    AddPoints(out, scan.Wavelength, scan.NPoints);
    AddPoints(out, scan.Counts, scan.NPoints);
    return out + "\n";
}

// Every lamp of the program with its scans and its averages.
std::string LampRecords(const TProgram& program) {
    std::string out;
    for (const auto& lamp : program.LampList) {
        out += "lamp " + lamp->Name + "\n";
        for (const auto& scan : lamp->Scans) {
            out += ScanRecord(*scan);
        }
        out += ScanRecord(lamp->Average);
    }
    return out;
}

std::string IrrRecord(const TIrr& table) {
    std::string out = "[" + table.Name + "]";
    AddNumber(out, table.Distance);
    AddPoints(out, table.Wavelength, table.NPoints);
    AddPoints(out, table.Irradiance, table.NPoints);
    return out;
}

std::string BbfRecords(const TBbf& bbf) {
    std::string out;
    for (const TBbfRecord& record : bbf.Records) {
        out += FormatBbfLine(record) + "[" + record.Remark + "]\n";
    }
    for (const std::string& line : bbf.OtherLines) {
        out += "[" + line + "]\n";
    }
    return out;
}

std::string ResponseRecord(const TScan& scan) {
    std::string out = "points " + std::to_string(scan.NPoints) + ":";
    AddPoints(out, scan.Wavelength, scan.NPoints);
    AddPoints(out, scan.Counts, scan.NPoints);
    return out;
}

// Reads a file with every line end and checks that all give the record of the LF file, which
// must hold something.
template <typename TRead>
void ExpectTheSameRecordWithEveryLineEnd(const fs::path& source, TRead read) {
    SCOPED_TRACE(source.filename().string());
    std::string withLf;
    for (const TLineEnd& end : kLineEnds) {
        SCOPED_TRACE(end.Name);
        test::TTempDir dir;
        const fs::path path = WriteWithLineEnds(source, dir, end.Text);
        const std::string record = read(path);
        if (withLf.empty()) {
            withLf = record;
            ASSERT_FALSE(withLf.empty());
        } else {
            EXPECT_EQ(record, withLf);
        }
    }
}

TEST(LineEnds, EveryKindOfScanFileGivesTheSameScans) {
    for (const char* name : {"ql_L1031.137", "lamp1031.137", "ul10624.137", "xl11324.137"}) {
        ExpectTheSameRecordWithEveryLineEnd(kExamples / name, [](const fs::path& path) {
            TProgram program;
            TScriptedOperator op;
            const std::string file = path.filename().string();
            const TLoadResult loaded = LoadSelectedFiles(program, op, path.parent_path(), {file});
            EXPECT_FALSE(loaded.Error) << loaded.Error.value_or("");
            EXPECT_TRUE(loaded.Skipped.empty());
            EXPECT_EQ(loaded.FilesRead, std::vector<std::string>{file});
            EXPECT_TRUE(op.Journal().empty());
            return LampRecords(program);
        });
    }
}

TEST(LineEnds, IrrFilesGiveTheSameTable) {
    for (const char* name : {"lampL1031.irr", "lampL1033.irr"}) {
        ExpectTheSameRecordWithEveryLineEnd(kExamples / name, [](const fs::path& path) {
            TScriptedOperator op;
            TIrr table(path.string(), 46000);
            EXPECT_TRUE(table.Read(TReport{op}));
            EXPECT_GT(table.NPoints, 10);
            return IrrRecord(table);
        });
    }
}

TEST(LineEnds, BbfFilesGiveTheSameRecordsAndTheRewriteReadsBackTheSame) {
    // A BBF file with a heading and a remark, which are kept lines of their own.
    test::TTempDir fixture;
    const fs::path source = fixture / "lampL1033.bbf";
    test::WriteFile(
        source, "Lamp L1033, recalibrated yearly\n" + test::ReadFile(kExamples / "lampL1033.bbf"));
    ExpectTheSameRecordWithEveryLineEnd(source, [](const fs::path& path) {
        TScriptedOperator op;
        TBbf bbf(46000);
        EXPECT_TRUE(bbf.Load(path.string(), TReport{op}));
        EXPECT_EQ(bbf.FileName, path.string());
        EXPECT_EQ(bbf.OtherLines.size(), 1u);
        // Loading wrote the file anew in this system's line ends: it holds the same.
        TBbf again(46000);
        EXPECT_TRUE(again.Load(path.string(), TReport{op}));
        EXPECT_EQ(BbfRecords(again), BbfRecords(bbf));
        EXPECT_TRUE(op.Journal().empty());
        return BbfRecords(bbf);
    });
}

TEST(LineEnds, ResponseFilesGiveTheSameResponse) {
    // A response file, a temperature file and a UVRES file: a pair of numbers on every line.
    for (const fs::path& source : {test::DataPath("response/endtoend/expected/uvr12524.185_tc"),
                                   test::DataPath("response/endtoend/expected/uvr12524.185.tc"),
                                   kExamples / "uvres137.dat"}) {
        const std::string text = test::ReadFile(source);
        const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        ExpectTheSameRecordWithEveryLineEnd(source, [lines](const fs::path& path) {
            TScan scan(0, nullptr, nullptr);
            std::string whyNot;
            EXPECT_TRUE(ReadResponseFile(scan, path.string(), &whyNot)) << whyNot;
            EXPECT_EQ(scan.NPoints, lines);
            return ResponseRecord(scan);
        });
    }
}

}  // namespace
}  // namespace uvlamp
