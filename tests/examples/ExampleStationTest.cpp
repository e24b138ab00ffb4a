// The example station of examples/: its files come from an independent generator that knows the
// true response and irradiances (truth.txt). These tests check that the committed files are what
// the generator writes, that the program reads every one of them cleanly, and that single points
// read by the program carry the true physics.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "irradiance/Bbf.h"
#include "irradiance/Irr.h"
#include "response/References.h"
#include "scans/Loading.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/StationTruth.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = UVLAMP_EXAMPLES_DIR;
const char* const kGenerator = UVLAMP_EXAMPLE_STATION_EXE;
// Written by hand; everything else in examples/ is generated.
const char* const kReadme = "README.md";
const std::vector<std::string> kLamps = {"L1031", "L1032", "L1033", "L1034"};

using test::TStationTruth;

TStationTruth ReadTruth() {
    return test::ReadStationTruth(kExamples / "truth.txt");
}

// The scan files of the station, by the instrument's extension, in name order.
std::vector<std::string> ScanFileNames() {
    std::vector<std::string> names;
    for (const std::string& name : test::FileNames(kExamples)) {
        if (fs::path(name).extension() == ".137") {
            names.push_back(name);
        }
    }
    return names;
}

const TLamp* LampNamed(const TProgram& program, const std::string& name) {
    const int i = FindLamp(program.LampList, name);
    return i < 0 ? nullptr : program.LampList[static_cast<std::size_t>(i)].get();
}

int PointAt(const TScan& scan, int angstrom) {
    for (int i = 1; i <= scan.NPoints; ++i) {
        if (std::lround(scan.Wavelength[i] * 10000) == angstrom) {
            return i;
        }
    }
    return 0;
}

std::vector<int> QuickScanWavelengths() {
    std::vector<int> w;
    for (int a = 2865; a <= 3255; a += 15) {
        w.push_back(a);
    }
    for (int a = 3255; a <= 3635; a += 20) {
        w.push_back(a);
    }
    return w;
}

std::vector<int> WavelengthsOf(const TScan& scan) {
    std::vector<int> w;
    for (int i = 1; i <= scan.NPoints; ++i) {
        w.push_back(static_cast<int>(std::lround(scan.Wavelength[i] * 10000)));
    }
    return w;
}

TEST(ExampleStation, GeneratorReproducesTheCommittedFiles) {
    test::TTempDir out;
    const std::string command =
        std::string("\"") + kGenerator + "\" \"" + out.Path().string() + "\"";
    ASSERT_EQ(test::RunCommand(command), 0) << command;

    std::vector<std::string> committed = test::FileNames(kExamples);
    const auto readme = std::find(committed.begin(), committed.end(), kReadme);
    ASSERT_NE(readme, committed.end()) << "examples/ should describe itself in " << kReadme;
    committed.erase(readme);
    const std::vector<std::string> generated = test::FileNames(out.Path());
    EXPECT_EQ(generated, committed);
    for (const std::string& name : generated) {
        EXPECT_TRUE(test::ReadText(out / name) == test::ReadText(kExamples / name))
            << name << " differs from the generator's output; run uvlamp-example-station examples";
    }
}

TEST(ExampleStation, ProgramLoadsEveryScanFileCleanly) {
    const TStationTruth truth = ReadTruth();
    const std::vector<std::string> names = ScanFileNames();
    TProgram program;
    TScriptedOperator op;
    const TLoadResult result = LoadSelectedFiles(program, op, kExamples, names);

    EXPECT_EQ(result.FilesRead, names);
    EXPECT_TRUE(result.Skipped.empty());
    EXPECT_TRUE(result.Notes.empty());
    EXPECT_FALSE(result.Error.has_value()) << result.Error.value_or("");
    EXPECT_TRUE(op.Journal().empty());
    EXPECT_EQ(program.ProgramSettings.InstrumentNumber, truth.Instrument);

    struct TCase {
        std::string Lamp;
        int Ql, Ul, Xl, Qs;
        std::vector<int> Wavelengths;
    };
    std::vector<int> shortScan;
    for (int r = 1; r <= 11; ++r) {
        shortScan.push_back(2865 + 35 * r);
    }
    std::vector<TCase> cases = {{"lamp1031", 0, 0, 0, 14, shortScan}};
    for (const std::string& lamp : kLamps) {
        cases.push_back({lamp, 84, 2, 1, 0, QuickScanWavelengths()});
    }
    ASSERT_EQ(program.LampList.size(), cases.size());

    double minQl = 1e9;
    double maxQl = -1e9;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Lamp);
        const TLamp* lamp = LampNamed(program, c.Lamp);
        ASSERT_NE(lamp, nullptr);
        std::map<TScanKind, int> kinds;
        double sumT = 0;
        for (const auto& scan : lamp->Scans) {
            ++kinds[scan->Kind()];
            sumT += scan->Temperature;
            EXPECT_EQ(WavelengthsOf(*scan), c.Wavelengths);
            if (scan->Kind() == TScanKind::QL) {
                minQl = std::min(minQl, scan->Temperature);
                maxQl = std::max(maxQl, scan->Temperature);
            }
        }
        EXPECT_EQ(kinds[TScanKind::QL], c.Ql);
        EXPECT_EQ(kinds[TScanKind::UL], c.Ul);
        EXPECT_EQ(kinds[TScanKind::XL], c.Xl);
        EXPECT_EQ(kinds[TScanKind::QS], c.Qs);
        if (c.Qs == 0) {
            // Every lamp is scanned at the same temperatures on average, whatever files are used.
            EXPECT_NEAR(sumT / static_cast<double>(lamp->Scans.size()), truth.MeanTemperature,
                        1e-9);
        }
    }
    EXPECT_GT(maxQl - minQl, 10.0);
}

TEST(ExampleStation, ScansAt40cmAgreeWithScansAt50cmOnceNormalised) {
    const TStationTruth truth = ReadTruth();
    TProgram program;
    TScriptedOperator op;
    LoadSelectedFiles(program, op, kExamples, ScanFileNames());
    for (const std::string& name : kLamps) {
        for (const int angstrom : {3195, 3455}) {
            SCOPED_TRACE(name + " at " + std::to_string(angstrom));
            const TLamp* lamp = LampNamed(program, name);
            ASSERT_NE(lamp, nullptr);
            std::map<double, std::pair<double, int>> byDistance;  // sum and count
            for (const auto& scan : lamp->Scans) {
                if (scan->Kind() != TScanKind::QL) {
                    continue;
                }
                const int i = PointAt(*scan, angstrom);
                ASSERT_GT(i, 0);
                auto& [sum, n] = byDistance[scan->Distance];
                sum += scan->Counts[i] / truth.TemperatureFactor(scan->Temperature);
                ++n;
            }
            ASSERT_EQ(byDistance.size(), 2u);
            ASSERT_EQ(byDistance.count(40.0), 1u);
            const double at40 = byDistance[40.0].first / byDistance[40.0].second;
            const double at50 = byDistance[50.0].first / byDistance[50.0].second;
            EXPECT_NEAR(at40 / at50, 1.0, 0.003);
        }
    }
}

TEST(ExampleStation, IrradianceFilesLoadAndFitTheTrueIrradiance) {
    const TStationTruth truth = ReadTruth();
    TProgram program;
    TScriptedOperator op;
    const TReport report{op};
    for (const std::string& name : kLamps) {
        SCOPED_TRACE(name);
        TIrr irr((kExamples / ("lamp" + name + ".irr")).string(), 45400);
        ASSERT_TRUE(irr.Read(report));
        EXPECT_EQ(irr.NPoints, 16);
        EXPECT_EQ(irr.Distance, 50);
        ASSERT_EQ(irr.Bbf.FitFromIrr(irr, false, report, program.Random), TBbf::TFit::Fitted);
        // A black body follows the lamps to within their emissivity's departure from one.
        for (const auto& [angstrom, e] : truth.Irradiance.at(name)) {
            EXPECT_NEAR(irr.Bbf.IrradianceAt(angstrom / 10000.0) / e, 1.0, 0.01) << angstrom;
        }
    }
    EXPECT_TRUE(op.Journal().empty());
}

TEST(ExampleStation, BlackBodyRecordsLoadAndDescribeTheLampToday) {
    const TStationTruth truth = ReadTruth();
    // Loading rewrites the file, so it works on a copy.
    test::TTempDir dir;
    const fs::path copy = dir / "lampL1033.bbf";
    test::WriteFile(copy, test::ReadText(kExamples / "lampL1033.bbf"));
    TScriptedOperator op;
    TBbf bbf(45400);
    ASSERT_TRUE(bbf.Load(copy.string(), TReport{op}));
    EXPECT_EQ(bbf.Records.size(), 3u);
    EXPECT_TRUE(bbf.OtherLines.empty());
    EXPECT_EQ(bbf.Current.Distance, 50);
    for (const auto& [angstrom, e] : truth.Irradiance.at("L1033")) {
        EXPECT_NEAR(bbf.IrradianceAt(angstrom / 10000.0) / e, 1.0, 0.015) << angstrom;
    }
}

TEST(ExampleStation, ReferenceResponseFileHoldsTheTrueResponse) {
    const TStationTruth truth = ReadTruth();
    TScan uvres(1, nullptr, nullptr);
    ASSERT_TRUE(ReadResponseFile(uvres, (kExamples / "uvres137.dat").string()));
    ASSERT_EQ(uvres.NPoints, static_cast<int>(truth.Response.size()));
    int i = 1;
    for (const auto& [angstrom, r] : truth.Response) {
        EXPECT_EQ(std::lround(uvres.Wavelength[i] * 10000), angstrom);
        EXPECT_NEAR(uvres.Counts[i], r, 0.0005 + 1e-9 * r) << angstrom;
        ++i;
    }
}

// A point the program reads from one file, against the rate the truth predicts at that scan's
// temperature. The points are chosen where a fault would show above the noise: bright points
// where the dead time matters, a dim UL point where the dark count is a fifth of the signal,
// scans at 40 cm.
TEST(ExampleStation, SingleScanPointsCarryTheTruePhysics) {
    const TStationTruth truth = ReadTruth();
    struct TCase {
        std::string File;
        std::string Lamp;
        TScanKind Kind;
        int Scans;
        std::set<double> Distances;  // of the file's scans of the lamp, cm
        int Angstrom;
        double Tolerance;  // relative
    };
    const TCase cases[] = {
        {"ql_L1032.137", "L1032", TScanKind::QL, 84, {40, 50}, 3195, 0.01},
        {"ql_L1032.137", "L1032", TScanKind::QL, 84, {40, 50}, 2955, 0.015},
        {"ql_L1033.137", "L1033", TScanKind::QL, 84, {40, 50}, 3455, 0.01},
        {"lamp1031.137", "lamp1031", TScanKind::QS, 14, {40, 50}, 3145, 0.01},
        {"ul10624.137", "L1031", TScanKind::UL, 2, {50}, 2925, 0.08},
        {"ul10624.137", "L1032", TScanKind::UL, 2, {50}, 3195, 0.01},
        {"xl11324.137", "L1034", TScanKind::XL, 1, {40}, 3635, 0.01},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File + " lamp " + c.Lamp + " at " + std::to_string(c.Angstrom));
        TProgram program;
        TScriptedOperator op;
        const TLoadResult result = LoadSelectedFiles(program, op, kExamples, {c.File});
        ASSERT_EQ(result.FilesRead.size(), 1u);
        const TLamp* lamp = LampNamed(program, c.Lamp);
        ASSERT_NE(lamp, nullptr);
        ASSERT_EQ(static_cast<int>(lamp->Scans.size()), c.Scans);
        // The short-scan file names its lamp "lamp" and the lamp's number.
        const std::string physical = c.Lamp.rfind("lamp", 0) == 0 ? "L" + c.Lamp.substr(4) : c.Lamp;
        std::set<double> distances;
        for (const auto& scan : lamp->Scans) {
            EXPECT_EQ(scan->Kind(), c.Kind);
            distances.insert(scan->Distance);
            const int i = PointAt(*scan, c.Angstrom);
            ASSERT_GT(i, 0);
            const double expected = truth.Rate(physical, c.Angstrom, scan->Temperature);
            EXPECT_NEAR(scan->Counts[i] / expected, 1.0, c.Tolerance);
        }
        EXPECT_EQ(distances, c.Distances);
    }
}

}  // namespace
}  // namespace uvlamp
