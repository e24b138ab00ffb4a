#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "irradiance/IrrFixtures.h"
#include "irradiance/Transfer.h"
#include "shell/Format.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const test::TBody k1007{1e5, 3000};
const test::TBody k1008{1.2e5, 3100};
const test::TBody k1009{0.9e5, 2900};

// The wavelengths the fixture lamps are scanned at (angstroms).
std::vector<double> ScanGrid() {
    return test::Angstroms(2850, 3700, 10);
}

// The default grid of the controls: 2865 to 3635 angstroms in steps of 35.
TGrid DefaultGrid() {
    return *BuildIrrGrid("2865", "3635", "35");
}

// A program with lamps measured through the fixture instrument, writing into a fresh folder.
struct TTransferSetup {
    test::TTempDir Dir;
    fs::path Out = Dir / "out";
    TProgram Program;
    TScriptedOperator Op;

    TTransferSetup() {
        fs::create_directories(Out);
        Program.Clock = [] { return 46123.75; };
    }

    // A lamp emitting the body; with a standard of that same body at 50 cm unless told otherwise.
    TLamp& Add(const std::string& name, const test::TBody& body,
               std::optional<TBbfRecord> standard = std::nullopt, bool withStandard = true,
               const std::vector<double>& angstroms = ScanGrid()) {
        Program.LampList.push_back(test::ModelLamp(name, body, angstroms));
        TLamp& lamp = *Program.LampList.back();
        if (withStandard) {
            lamp.Irr = test::StandardOf(standard.value_or(body.Record()));
        }
        return lamp;
    }
    // The three lamps of most tests, in list order.
    void AddThree() {
        Add("1007", k1007);
        Add("1008", k1008);
        Add("1009", k1009);
    }
    TTransferRequest Request(int reference) const {
        TTransferRequest request;
        request.ReferenceIndex = reference;
        request.Folder = Out.string();
        return request;
    }
    TTransferRequest AverageRequest(int target) const {
        TTransferRequest request;
        request.UsingAverage = true;
        request.TargetIndex = target;
        request.Folder = Out.string();
        return request;
    }
    TTransferOutput Output(double distance = 50) const {
        return TTransferOutput{DefaultGrid(), distance, Out.string()};
    }
    std::string OutPath(const std::string& name) const { return (Out / name).string(); }
    // Everything under the test's folder, the output folder itself excepted.
    std::vector<std::string> Written() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(Dir.Path())) {
            if (entry.path() != Out) {
                names.push_back(fs::relative(entry.path(), Dir.Path()).generic_string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Reads a written IRR file back and checks its layout: the header, the distance line and one line
// per grid wavelength, each exactly as its own values print.
TIrr ReadBack(const std::string& path, const std::string& header, double distance) {
    const std::string text = test::ReadText(path);
    TIrr table("", 0);
    EXPECT_TRUE(table.ReadText(text));
    std::string layout = header + "\n" + Sprintf("%5.1f\n", distance);
    for (int i = 1; i <= table.NPoints; ++i) {
        layout += Sprintf("%5.0f  %7.4f\n", table.Wavelength[i] * 10000, table.Irradiance[i]);
    }
    EXPECT_EQ(text, layout);
    return table;
}

// The written table holds the body on the default grid, converted from 50 cm to the distance.
void ExpectBodyOnDefaultGrid(const TIrr& table, const test::TBody& body, double distance) {
    const TGrid grid = DefaultGrid();
    ASSERT_EQ(table.NPoints, GridPoints(grid));
    EXPECT_EQ(table.Distance, distance);
    for (int i = 1; i <= table.NPoints; ++i) {
        const double w = grid[static_cast<std::size_t>(i)];
        EXPECT_DOUBLE_EQ(table.Wavelength[i], w);
        const double expected = body.At(w) * 50 * 50 / (distance * distance);
        EXPECT_NEAR(table.Irradiance[i], expected, 5e-5 + 2e-5 * expected) << "at " << w;
    }
}

TEST(BuildIrrGrid, CountsWholeStepsFromTheStart) {
    struct TCase {
        const char* Start;
        const char* End;
        const char* Step;
        int N;  // -1 when refused
        double First;
        double Last;
    };
    const TCase cases[] = {
        {"2865", "3635", "35", 23, 0.2865, 0.3635},
        {"2865", "3640", "35", 23, 0.2865, 0.3635},
        {"2865", "2900", "35", 2, 0.2865, 0.29},
        {"2865", "2899", "35", 1, 0.2865, 0.2865},
        {"3635", "2865", "-35", 23, 0.3635, 0.2865},
        {" 2865", "3635 ", " 35 ", 23, 0.2865, 0.3635},
        {"2865", "2830", "35", 0, 0, 0},  // one step before the start: no points, but a grid
        {"2865", "2795", "35", -1, 0, 0},
        {"2865", "3635", "0", -1, 0, 0},
        {"2865.5", "3635", "35", -1, 0, 0},
        {"2865", "3635", "3.5", -1, 0, 0},
        {"2865", "", "35", -1, 0, 0},
        {"2865", "36 35", "35", -1, 0, 0},
        {"abc", "3635", "35", -1, 0, 0},
        {"0", "2000000000", "1", -1, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Start) + "|" + c.End + "|" + c.Step);
        const auto grid = BuildIrrGrid(c.Start, c.End, c.Step);
        if (c.N < 0) {
            EXPECT_FALSE(grid.has_value());
            continue;
        }
        ASSERT_TRUE(grid.has_value());
        ASSERT_EQ(grid->size(), static_cast<std::size_t>(c.N) + 1);
        EXPECT_EQ(GridPoints(*grid), c.N);
        if (c.N > 0) {
            EXPECT_DOUBLE_EQ((*grid)[1], c.First);
            EXPECT_DOUBLE_EQ(grid->back(), c.Last);
        }
        const double step = std::stod(c.Step) / 10000;
        for (int k = 2; k <= c.N; ++k) {
            EXPECT_NEAR(
                (*grid)[static_cast<std::size_t>(k)] - (*grid)[static_cast<std::size_t>(k - 1)],
                step, 1e-12);
        }
    }
}

TEST(ParseIrrDistance, TakesOnlyAPositiveNumber) {
    EXPECT_EQ(ParseIrrDistance("50"), 50);
    EXPECT_EQ(ParseIrrDistance(" 37.5 "), 37.5);
    EXPECT_EQ(ParseIrrDistance("1e2"), 100);
    for (const char* text : {"", "abc", "0", "-50", "50cm", "50 60", "inf", "nan", "1e999"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseIrrDistance(text).has_value());
    }
}

TEST(CalculateIrradiance, RefusesAMissingLampABadGridOrABadDistance) {
    struct TCase {
        const char* Name;
        TTransferRequest Request;
        const char* Message;
    };
    TTransferSetup s;
    s.AddThree();
    const char* const kSelect = "Please select a lamp for the reference.";
    const char* const kGrid =
        "Please make sure the start, the end and the increment for the wavelengths are correct.";
    std::vector<TCase> cases = {
        {"no reference", s.Request(-1), kSelect},
        {"reference beyond the list", s.Request(3), kSelect},
        {"no target", s.AverageRequest(-1), kSelect},
        {"step 0", s.Request(1), kGrid},
        {"start not whole", s.Request(1), kGrid},
        {"end before start", s.AverageRequest(0), kGrid},
        {"distance no number", s.Request(1), nullptr},
        {"distance 0", s.Request(1), nullptr},
        {"distance negative", s.AverageRequest(0), nullptr},
    };
    // A chosen lamp in the mode not active does not count.
    cases[2].Request.ReferenceIndex = 1;
    cases[3].Request.StepText = "0";
    cases[4].Request.StartText = "2865.0";
    cases[5].Request.EndText = "2000";
    cases[6].Request.DistanceText = "fifty";
    cases[7].Request.DistanceText = "0";
    cases[8].Request.DistanceText = "-50";
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScriptedOperator op;
        const TTransferResult result = CalculateIrradiance(s.Program, op, c.Request);
        EXPECT_THAT(result.Written, IsEmpty());
        EXPECT_THAT(s.Written(), IsEmpty());
        ASSERT_EQ(op.Journal().size(), 1u);
        EXPECT_EQ(op.Journal()[0].Caption, "Error!");
        if (c.Message != nullptr) {
            EXPECT_EQ(op.Journal()[0].Text, c.Message);
        } else {
            EXPECT_THAT(op.Journal()[0].Text, HasSubstr("distance"));
        }
    }
}

TEST(CalculateIrradiance, UsingALampWritesAFileForEveryOtherLampWithScans) {
    TTransferSetup s;
    s.AddThree();
    s.Add("1010", k1007).NUsed = 0;
    s.Add("1011", k1007).NUsed = 0;
    const TTransferResult result = CalculateIrradiance(s.Program, s.Op, s.Request(1));
    EXPECT_THAT(result.Written,
                ElementsAre(s.OutPath("LAMP1007_(1008).irr"), s.OutPath("LAMP1009_(1008).irr")));
    EXPECT_THAT(s.Written(), ElementsAre("out/LAMP1007_(1008).irr", "out/LAMP1009_(1008).irr"));
    ExpectBodyOnDefaultGrid(ReadBack(result.Written[0], "lamp1007", 50), k1007, 50);
    ExpectBodyOnDefaultGrid(ReadBack(result.Written[1], "lamp1009", 50), k1009, 50);
    ASSERT_EQ(s.Op.Messages().size(), 1u);
    EXPECT_THAT(s.Op.Messages()[0], HasSubstr("1010, 1011"));
    EXPECT_THAT(s.Op.Questions(), IsEmpty());
}

TEST(CalculateIrradiance, WritesTheValuesForTheDistanceAsked) {
    TTransferSetup s;
    s.AddThree();
    TTransferRequest request = s.Request(1);
    request.DistanceText = "100";
    const TTransferResult result = CalculateIrradiance(s.Program, s.Op, request);
    ASSERT_EQ(result.Written.size(), 2u);
    ExpectBodyOnDefaultGrid(ReadBack(result.Written[0], "lamp1007", 100), k1007, 100);
    EXPECT_THAT(s.Op.Journal(), IsEmpty());
}

TEST(TransferFromLamp, AReferenceWithoutAUsableStandardIsReportedOnce) {
    for (const bool withStandard : {true, false}) {
        SCOPED_TRACE(withStandard);
        TTransferSetup s;
        TBbfRecord cold = k1008.Record();
        cold.Temperature = 0;
        s.Add("1007", k1007);
        s.Add("1008", k1008, cold, withStandard);
        s.Add("1009", k1009);
        const TTransferResult result = TransferFromLamp(s.Program, s.Op, 1, s.Output());
        EXPECT_THAT(result.Written, IsEmpty());
        EXPECT_THAT(s.Written(), IsEmpty());
        ASSERT_EQ(s.Op.Journal().size(), 1u);
        EXPECT_EQ(s.Op.Journal()[0].Text, "Unexpected error.");
        EXPECT_EQ(s.Op.Journal()[0].Caption, "Error!");
    }
}

TEST(TransferFromLamp, AnExistingFileIsReplacedOnlyWhenTheOperatorAgrees) {
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        TTransferSetup s;
        s.Add("1007", k1007);
        s.Add("1008", k1008);
        const std::string path = s.OutPath("LAMP1007_(1008).irr");
        const std::string before = "lamp1007\r\n 50.0\r\n 2900  1.0000";  // no final line end
        test::WriteFile(path, before);
        s.Op.QueueAnswer(yes);
        const TTransferResult result = TransferFromLamp(s.Program, s.Op, 1, s.Output());
        ASSERT_EQ(s.Op.Journal().size(), 1u);
        EXPECT_EQ(s.Op.Journal()[0].Text, "File already exists. Continue?");
        EXPECT_EQ(s.Op.Journal()[0].Caption, path);
        if (yes) {
            EXPECT_THAT(result.Written, ElementsAre(path));
            ExpectBodyOnDefaultGrid(ReadBack(path, "lamp1007", 50), k1007, 50);
        } else {
            EXPECT_THAT(result.Written, IsEmpty());
            EXPECT_EQ(test::ReadFile(path), before);
        }
        EXPECT_THAT(s.Written(), ElementsAre("out/LAMP1007_(1008).irr"));
    }
}

TEST(TransferToLamp, ScalesTheReferenceByTheCountsAtTheWavelengthsBothHold) {
    TTransferSetup s;
    // The reference's scans lack 3000 A; its standard is certified at 25 cm.
    std::vector<double> lacking = ScanGrid();
    lacking.erase(std::find(lacking.begin(), lacking.end(), 3000));
    TLamp& target = s.Add("1007", k1007);
    const TLamp& reference = s.Add("1008", k1008, k1008.Record(25), true, lacking);
    TTransferResult result;
    ASSERT_TRUE(TransferToLamp(s.Program, s.Op, target, reference, s.Output(), false, result));
    EXPECT_THAT(result.Written, IsEmpty());
    EXPECT_THAT(s.Written(), IsEmpty());

    const TIrr& table = *target.NewIrr;
    EXPECT_EQ(table.FileName, s.OutPath("LAMP1007_(1008).irr"));
    EXPECT_EQ(table.Distance, 50);
    ASSERT_EQ(table.NPoints, static_cast<int>(lacking.size()));
    for (int p = 1; p <= table.NPoints; ++p) {
        const double w = lacking[static_cast<std::size_t>(p - 1)] / 10000;
        ASSERT_EQ(table.Wavelength[p], w);
        // The reference delivers its body at 25 cm: a quarter of it at the 50 cm of the counts.
        const double expected = k1007.At(w) / 4;
        EXPECT_NEAR(table.Irradiance[p] / expected, 1, 1e-12) << "at " << w;
    }
    // The fit of the new table is the target's own body, a quarter as bright.
    EXPECT_NEAR(table.Bbf.Current.Temperature, 3000, 0.05);
    EXPECT_NEAR(table.Bbf.Current.Factor / (k1007.Factor / 4), 1, 1e-4);
    EXPECT_EQ(table.Bbf.Current.Distance, 50);
}

// The table TransferToLamp makes for the target against one reference.
std::vector<std::pair<double, double>> SingleReferenceTable(TTransferSetup& s, int target,
                                                            int reference) {
    TTransferResult ignored;
    TLamp& t = *s.Program.LampList[static_cast<std::size_t>(target)];
    EXPECT_TRUE(TransferToLamp(s.Program, s.Op, t,
                               *s.Program.LampList[static_cast<std::size_t>(reference)], s.Output(),
                               false, ignored));
    std::vector<std::pair<double, double>> points;
    for (int p = 1; p <= t.NewIrr->NPoints; ++p) {
        points.emplace_back(t.NewIrr->Wavelength[p], t.NewIrr->Irradiance[p]);
    }
    return points;
}

std::vector<std::pair<double, double>> NewTable(const TLamp& lamp) {
    std::vector<std::pair<double, double>> points;
    for (int p = 1; p <= lamp.NewIrr->NPoints; ++p) {
        points.emplace_back(lamp.NewIrr->Wavelength[p], lamp.NewIrr->Irradiance[p]);
    }
    return points;
}

TEST(CalculateIrradiance, ForALampFromOneOtherGivesThatLampsTable) {
    TTransferSetup s;
    s.AddThree();
    s.Program.LampList[1]->NUsed = 0;
    const auto single = SingleReferenceTable(s, 0, 2);
    s.Program.LampList[0]->NewIrr.reset();

    const TTransferResult result = CalculateIrradiance(s.Program, s.Op, s.AverageRequest(0));
    EXPECT_THAT(result.Written, ElementsAre(s.OutPath("LAMP1007_(avg_1009).irr")));
    EXPECT_EQ(NewTable(*s.Program.LampList[0]), single);
    ExpectBodyOnDefaultGrid(ReadBack(result.Written[0], "lamp1007", 50), k1007, 50);
    EXPECT_THAT(s.Op.Journal(), IsEmpty());
}

TEST(CalculateIrradiance, ForALampFromSeveralAveragesWhereAllHoldAValue) {
    TTransferSetup s;
    // 1008's standard is 10 % too bright, and 1009 was not scanned at 3000 A.
    std::vector<double> lacking = ScanGrid();
    lacking.erase(std::find(lacking.begin(), lacking.end(), 3000));
    TBbfRecord bright = k1008.Record();
    bright.Factor *= 1.1;
    s.Add("1007", k1007);
    s.Add("1008", k1008, bright);
    s.Add("1009", k1009, std::nullopt, true, lacking);
    const auto from1008 = SingleReferenceTable(s, 0, 1);
    const auto from1009 = SingleReferenceTable(s, 0, 2);

    const TTransferResult result = CalculateIrradiance(s.Program, s.Op, s.AverageRequest(0));
    EXPECT_THAT(result.Written, ElementsAre(s.OutPath("LAMP1007_(avg_1008_1009).irr")));
    const auto mean = NewTable(*s.Program.LampList[0]);
    ASSERT_EQ(mean.size(), from1009.size());
    for (std::size_t p = 0; p < mean.size(); ++p) {
        EXPECT_EQ(mean[p].first, from1009[p].first);
        const auto at = std::find_if(from1008.begin(), from1008.end(),
                                     [&](const auto& q) { return q.first == mean[p].first; });
        ASSERT_NE(at, from1008.end());
        EXPECT_DOUBLE_EQ(mean[p].second, (at->second + from1009[p].second) / 2);
        EXPECT_NEAR(mean[p].second / k1007.At(mean[p].first), 1.05, 1e-12);
    }
    EXPECT_THAT(s.Op.Journal(), IsEmpty());
}

TEST(CalculateIrradiance, ForALampLeavesOutReferencesWithoutAStandard) {
    TTransferSetup s;
    s.Add("1007", k1007);
    s.Add("1008", k1008, std::nullopt, false);
    s.Add("1009", k1009);
    TBbfRecord cold = k1007.Record();
    cold.Temperature = 0;
    s.Add("1010", k1007, cold);
    const TTransferResult result = CalculateIrradiance(s.Program, s.Op, s.AverageRequest(0));
    EXPECT_THAT(result.Written, ElementsAre(s.OutPath("LAMP1007_(avg_1009).irr")));
    ExpectBodyOnDefaultGrid(ReadBack(result.Written[0], "lamp1007", 50), k1007, 50);
    ASSERT_EQ(s.Op.Messages().size(), 1u);
    EXPECT_THAT(s.Op.Messages()[0], HasSubstr("1008, 1010"));
}

TEST(CalculateIrradiance, ForALampWithNoUsableReferenceWritesNothing) {
    struct TCase {
        const char* Name;
        bool TargetScans;
        bool OtherScans;
        bool OtherStandard;
    };
    const TCase cases[] = {
        {"no other lamp with scans", true, false, true},
        {"no other lamp with a standard", true, true, false},
        {"no scans of the lamp itself", false, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTransferSetup s;
        s.Add("1007", k1007).NUsed = c.TargetScans ? 1 : 0;
        s.Add("1008", k1008, std::nullopt, c.OtherStandard).NUsed = c.OtherScans ? 1 : 0;
        const TTransferResult result = CalculateIrradiance(s.Program, s.Op, s.AverageRequest(0));
        EXPECT_THAT(result.Written, IsEmpty());
        EXPECT_THAT(s.Written(), IsEmpty());
        ASSERT_FALSE(s.Op.Journal().empty());
        EXPECT_EQ(s.Op.Journal().back().Caption, "Error!");
        EXPECT_THAT(s.Op.Journal().back().Text, HasSubstr("1007"));
    }
}

TEST(CalculateIrradiance, LampNamesNeverPlaceAFileOutsideTheFolder) {
    const std::vector<std::string> names = {"../up", "a/b", "..", "c\nd", "e\x01\\f"};
    for (const bool average : {false, true}) {
        SCOPED_TRACE(average);
        TTransferSetup s;
        for (const std::string& name : names) {
            s.Add(name, k1007);
        }
        const TTransferResult result =
            CalculateIrradiance(s.Program, s.Op, average ? s.AverageRequest(0) : s.Request(0));
        ASSERT_EQ(result.Written.size(), average ? 1u : names.size() - 1);
        for (const std::string& path : result.Written) {
            SCOPED_TRACE(path);
            EXPECT_EQ(fs::path(path).parent_path(), s.Out);
            EXPECT_TRUE(fs::is_regular_file(path));
            // A name with a line break still gives a file that reads back whole.
            TIrr table("", 0);
            ASSERT_TRUE(table.ReadText(test::ReadText(path)));
            EXPECT_EQ(table.Distance, 50);
            EXPECT_EQ(table.NPoints, 23);
        }
        const std::vector<std::string> everything = s.Written();
        EXPECT_EQ(everything.size(), result.Written.size());
        for (const std::string& entry : everything) {
            EXPECT_EQ(entry.rfind("out/", 0), 0u) << entry;
            EXPECT_EQ(entry.find('/', 4), std::string::npos) << entry;
        }
        EXPECT_THAT(s.Op.Journal(), IsEmpty());
    }
}

}  // namespace
}  // namespace uvlamp
