#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "irradiance/IrrFixtures.h"
#include "irradiance/Lookup.h"
#include "response/Response.h"
#include "response/Smoothing.h"
#include "response/Temperature.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct TPoint {
    double Angstroms;
    double Response;
    double Slope = 0;
    double At25 = 0;
};

// A lamp with selected scans whose response and converted regressions are the points given, as
// the application of its irradiance standard leaves them.
std::unique_ptr<TLamp> LampWith(const std::string& name, const std::vector<TPoint>& points,
                                int split = 0, int used = 1) {
    auto lamp = std::make_unique<TLamp>(name);
    const int n = static_cast<int>(points.size());
    lamp->NPoints = n;
    lamp->ResizeDerived();
    lamp->Scans.push_back(std::make_unique<TScan>(n, lamp.get(), nullptr));
    lamp->NUsed = used;
    if (used == 0) {
        return lamp;
    }
    lamp->Response = std::make_unique<TScan>(n, lamp.get(), nullptr);
    lamp->Response->SplitIndex = split == 0 ? n + 1 : split;
    for (int i = 1; i <= n; ++i) {
        const TPoint& p = points[static_cast<std::size_t>(i - 1)];
        lamp->Response->Wavelength[i] = p.Angstroms / 10000;
        lamp->Response->Counts[i] = p.Response;
        lamp->TSlopeScan.Counts[i] = p.Slope;
        lamp->At25CScan.Counts[i] = p.At25;
    }
    return lamp;
}

std::vector<TPoint> Flat(const std::vector<double>& angstroms, double response, double slope = 0,
                         double at25 = 0) {
    std::vector<TPoint> points;
    for (double a : angstroms) {
        points.push_back({a, response, slope, at25});
    }
    return points;
}

const std::vector<double> kThree = {3000, 3100, 3200};

TEST(AverageResponse, IsThePlainMeanWithTheMeanTemperatureDependence) {
    TLampList lamps;
    lamps.push_back(LampWith("A", Flat(kThree, 100, -2, 1000)));
    lamps.push_back(LampWith("B", Flat(kThree, 300, -4, 1000)));
    std::unique_ptr<TScan> response;
    const TAverageResult result = AverageResponse(lamps, response);
    ASSERT_TRUE(result.Made);
    EXPECT_THAT(result.NotAveraged, IsEmpty());
    ASSERT_EQ(response->NPoints, 3);
    for (int d = 1; d <= 3; ++d) {
        EXPECT_EQ(response->Counts[d], 200);
        EXPECT_EQ(response->TSlope[d], -3);
        EXPECT_EQ(response->At25C[d], 1000);
        EXPECT_DOUBLE_EQ(response->TCoef[d], -0.3);
    }
    EXPECT_EQ(response->Lamp, lamps[0].get());

    // One lamp: its response itself, and the irradiance scaling cancels in the coefficient.
    lamps.pop_back();
    lamps[0]->At25CScan.Counts[2] = 0;  // no value at 25 degrees: no coefficient either
    ASSERT_TRUE(AverageResponse(lamps, response).Made);
    EXPECT_EQ(response->Counts[1], 100);
    EXPECT_DOUBLE_EQ(response->TCoef[1], 100 * -2.0 / 1000);
    EXPECT_EQ(response->TCoef[2], 0);
}

TEST(AverageResponse, TheFirstLampFixesCountOwnerAndFileTheLastAveragedOneTheWavelengths) {
    TFile file;
    file.SetName("QL12020.123");
    TLampList lamps;
    lamps.push_back(LampWith("idle", Flat(kThree, 0), 0, /*used=*/0));
    lamps[0]->Scans[0]->File = &file;
    lamps.push_back(LampWith("A", Flat(kThree, 100), 3));
    // Selected scans but no standard: no response, so it neither counts nor shifts the mean.
    lamps.push_back(LampWith("nostd", Flat(kThree, 0)));
    lamps.back()->Response.reset();
    lamps.push_back(LampWith("B", Flat(kThree, 300), 2));
    std::unique_ptr<TScan> response;
    ASSERT_TRUE(AverageResponse(lamps, response).Made);
    EXPECT_EQ(response->Lamp, lamps[0].get());
    EXPECT_EQ(response->File, &file);
    EXPECT_EQ(response->SplitIndex, 2);
    EXPECT_EQ(response->Wavelength[3], 0.32);
    EXPECT_EQ(response->Counts[2], 200);
}

TEST(AverageResponse, LeavesOutLampsOnOtherWavelengthsAndNamesThem) {
    TLampList lamps;
    lamps.push_back(LampWith("A", Flat(kThree, 100)));
    lamps.push_back(LampWith("shifted", Flat({3005, 3105, 3205}, 1e6)));
    lamps.push_back(LampWith("short", Flat({3000, 3100}, 1e6)));
    lamps.push_back(LampWith("longer", Flat({3000, 3100, 3200, 3300}, 300)));
    std::unique_ptr<TScan> response;
    const TAverageResult result = AverageResponse(lamps, response);
    ASSERT_TRUE(result.Made);
    EXPECT_EQ(result.Baseline, lamps[0].get());
    EXPECT_THAT(result.NotAveraged, ElementsAre(lamps[1].get(), lamps[2].get()));
    EXPECT_EQ(response->NPoints, 3);
    EXPECT_EQ(response->Counts[1], 200);
    EXPECT_EQ(response->SplitIndex, 4);  // the longer lamp's single range, cut to the points kept
    EXPECT_TRUE(SharesWavelengths(*lamps[3]->Response, *response));
    EXPECT_FALSE(SharesWavelengths(*lamps[2]->Response, *response));
}

TEST(AverageResponse, KeepsOrDropsTheEarlierResponseAsEachFailureAsks) {
    auto earlier = [] {
        auto scan = std::make_unique<TScan>(1, nullptr, nullptr);
        scan->Counts[1] = 42;
        return scan;
    };
    std::unique_ptr<TScan> response = earlier();
    TLampList lamps;
    EXPECT_FALSE(AverageResponse(lamps, response).Made);  // no lamps: kept
    ASSERT_NE(response, nullptr);

    lamps.push_back(std::make_unique<TLamp>("empty"));  // a first lamp without points: kept
    EXPECT_FALSE(AverageResponse(lamps, response).Made);
    ASSERT_NE(response, nullptr);
    EXPECT_EQ(response->Counts[1], 42);

    lamps.clear();  // no contributing lamp: gone
    lamps.push_back(LampWith("idle", Flat(kThree, 0), 0, 0));
    EXPECT_FALSE(AverageResponse(lamps, response).Made);
    EXPECT_EQ(response, nullptr);
}

TEST(TemperatureFits, FitTheCoefficientPerRangeWithoutThePointAtX0) {
    // Two ranges like a QL scan: 2900..3250 and again 3250..3600, a coefficient of -0.2 % per
    // degree on the first and -0.1 % on the second; the point at 3280 A (x = 0) holds nonsense
    // that must not enter either fit.
    std::vector<TPoint> points;
    for (double a = 2900; a <= 3250; a += 50) {
        points.push_back({a, 1, -2, 1000});
    }
    const int split = static_cast<int>(points.size()) + 1;
    for (double a : {3250.0, 3280.0, 3300.0, 3400.0, 3500.0, 3600.0}) {
        points.push_back({a, 1, a == 3280 ? 1e6 : -1, 1000});
    }
    TLampList lamps;
    lamps.push_back(LampWith("A", points, split));
    std::unique_ptr<TScan> response;
    ASSERT_TRUE(AverageResponse(lamps, response).Made);
    EXPECT_NEAR(response->Coef[2][1], -0.2, 1e-9);
    for (int k = 2; k <= 4; ++k) {
        EXPECT_NEAR(response->Coef[2][k], 0, 1e-8);
    }
    EXPECT_NEAR(response->Coef[3][1], -0.1, 1e-12);
    EXPECT_NEAR(response->Coef[3][2], 0, 1e-12);

    const TTemperatureFit fit = TemperatureFitOf(*response);
    EXPECT_EQ(fit.Switch, 0.325);  // the second range starts below 3300 A
    EXPECT_NEAR(TemperatureCorrection(fit, 3245), -0.002, 1e-10);
    EXPECT_NEAR(TemperatureCorrection(fit, 3250), -0.001, 1e-12);
}

TEST(TemperatureFits, ChooseTheSwitchWavelengthFromTheSecondRange) {
    struct TCase {
        const char* Name;
        std::vector<double> Angstroms;
        int Split;
        double Switch;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const TCase cases[] = {
        {"second range from 3250", {2900, 2950, 3000, 3050, 3100, 3250, 3400}, 6, 0.325},
        {"second range from 3300", {2900, 2950, 3000, 3050, 3100, 3300, 3400}, 6, 0.35},
        {"single range: the cubic everywhere", {3000, 3050, 3100, 3150, 3200}, 6, inf},
        {"second range only: the line everywhere", {3000, 3050, 3100, 3150, 3200}, 1, -inf},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLampList lamps;
        lamps.push_back(LampWith("A", Flat(c.Angstroms, 1, -2, 1000), c.Split));
        std::unique_ptr<TScan> response;
        ASSERT_TRUE(AverageResponse(lamps, response).Made);
        const TTemperatureFit fit = TemperatureFitOf(*response);
        EXPECT_EQ(fit.Switch, c.Switch);
        // Whichever polynomial applies, the flat coefficient comes back everywhere.
        for (double a : {2900.0, 3250.0, 3600.0}) {
            EXPECT_NEAR(TemperatureCorrection(fit, a), -0.002, 1e-9) << a;
        }
    }
}

TEST(HasTemperatureSpread, NeedsMoreThanTenDegreesOnTheFirstLamp) {
    struct TCase {
        double MinT, MaxT;
        int Used;
        bool Spread;
    };
    const TCase cases[] = {{15, 25, 3, false}, {15, 25.5, 3, true}, {0, 30, 0, false}};
    for (const TCase& c : cases) {
        TLamp lamp("A");
        lamp.MinT = c.MinT;
        lamp.MaxT = c.MaxT;
        lamp.NUsed = c.Used;
        TScan response(1, &lamp, nullptr);
        EXPECT_EQ(HasTemperatureSpread(response), c.Spread) << c.MinT << " " << c.MaxT;
    }
    EXPECT_FALSE(HasTemperatureSpread(TScan(1, nullptr, nullptr)));
}

TEST(TemperatureFileTexts, ScaleTheWrittenResponseByTheCorrection) {
    TTemperatureFit fit;
    fit.Cubic[1] = -0.2;  // percent per degree below the switch
    fit.Linear[1] = -0.1;
    fit.Switch = 0.325;
    const TTemperatureTexts texts =
        TemperatureFileTexts("   3245   100.000\r\n   3250  2000.000\n   3255", fit);
    EXPECT_EQ(texts.Absolute, "   3245    -0.200\n   3250    -2.000\n");
    EXPECT_EQ(texts.Relative, "   3245 -0.00200000\n   3250 -0.00100000\n");
}

// A program whose lamps' standards are BBF files in a fresh folder.
struct TCalculationSetup {
    test::TTempDir Dir;
    TProgram Program;
    TScriptedOperator Op;
    const test::TBody Body{1e5, 3000};

    TCalculationSetup() {
        Program.ProgramSettings.IrrDirectory = Dir.Path().string();
        Program.ProgramSettings.UseBBF = true;
        Program.Clock = [] { return 46123.5; };
        Program.StartLog((Dir / "log.txt").string());
    }
    void AddLamp(const std::string& name, double first) {
        Program.LampList.push_back(
            test::ModelLamp(name, Body, test::Angstroms(first, first + 700, 50)));
        test::WriteFile(BbfFilePath(Dir.Path().string(), name),
                        test::BbfText({Body.Record(50, 45000)}));
    }
    std::vector<std::string> LoggedLines() const {
        std::vector<std::string> lines;
        std::istringstream in(test::ReadText(Dir / "log.txt"));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.rfind("Logging turned", 0) != 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }
};

TEST(CalculateResponse, AveragesTheLampsStandardsAndLogsWhatItLeftOut) {
    TCalculationSetup s;
    s.AddLamp("A", 2900);
    s.AddLamp("B", 2905);
    s.AddLamp("C", 2900);
    const TResponseCalculation result = CalculateResponse(s.Program, s.Op);
    ASSERT_TRUE(result.Made);
    EXPECT_THAT(result.NotAveraged, ElementsAre("B"));
    EXPECT_EQ(result.Baseline, "A");
    EXPECT_THAT(s.LoggedLines(),
                ElementsAre("Updating " + BbfFilePath(s.Dir.Path().string(), "A") + ".",
                            "Updating " + BbfFilePath(s.Dir.Path().string(), "B") + ".",
                            "Updating " + BbfFilePath(s.Dir.Path().string(), "C") + ".",
                            "\t\tLamp B is not in the response: its wavelengths differ from those "
                            "of lamp A.",
                            "\t\tResponse calculated."));
    const TScan& response = *s.Program.CurrentResponse;
    for (int i = 1; i <= response.NPoints; ++i) {
        const double w = response.Wavelength[i];
        EXPECT_NEAR(response.Counts[i] / test::InstrumentResponse(w), 1, 1e-12) << w;
    }
}

TEST(CalculateResponse, WithoutAnyStandardLeftDropsTheEarlierResponseSilently) {
    TCalculationSetup s;
    s.AddLamp("A", 2900);
    ASSERT_TRUE(CalculateResponse(s.Program, s.Op).Made);
    std::filesystem::remove(BbfFilePath(s.Dir.Path().string(), "A"));
    const std::size_t logged = s.LoggedLines().size();
    EXPECT_FALSE(CalculateResponse(s.Program, s.Op).Made);
    EXPECT_EQ(s.Program.CurrentResponse, nullptr);
    const std::vector<std::string> lines = s.LoggedLines();
    ASSERT_GT(lines.size(), logged);
    EXPECT_NE(lines.back(), "\t\tResponse calculated.");
    // Only the lookup speaks: it tells of the missing IRR file.
    EXPECT_THAT(s.Op.Messages(), ElementsAre("IRR file not found."));
}

}  // namespace
}  // namespace uvlamp
