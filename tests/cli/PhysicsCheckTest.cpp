// The whole chain against the physics the example station was made with: the batch front end
// computes a response and transfers irradiance from the example files, and the results are
// compared with the true values the station's generator wrote into truth.txt. The bounds are the
// accuracy a station needs; the figures reached are printed for the record.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "scans/Loading.h"
#include "support/StationTruth.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::RunCliInProcess;

using TTable = std::map<int, double>;  // value by wavelength in whole angstroms

// The lines of a file that hold a wavelength in angstroms and a value.
TTable ReadPairs(const fs::path& path) {
    TTable table;
    std::istringstream in(ReadText(path));
    std::string line;
    while (std::getline(in, line)) {
        double w = 0;
        double v = 0;
        char rest = 0;
        if (std::sscanf(line.c_str(), "%lf %lf %c", &w, &v, &rest) == 2) {
            table[static_cast<int>(std::lround(w))] = v;
        }
    }
    return table;
}

// The largest |computed / true - 1| over the wavelengths of computed from 2900 to 3400 A.
double WorstRelativeError(const TTable& computed, const TTable& truth, int* compared) {
    double worst = 0;
    *compared = 0;
    for (const auto& [w, v] : computed) {
        if (w < 2900 || w > 3400) {
            continue;
        }
        const auto t = truth.find(w);
        EXPECT_NE(t, truth.end()) << "no true value at " << w;
        if (t != truth.end()) {
            worst = std::max(worst, std::abs(v / t->second - 1));
            ++*compared;
        }
    }
    return worst;
}

class PhysicsCheck : public ::testing::Test {
  protected:
    PhysicsCheck() : cwd_(work_.Path()) {
        test::CopyFiles(UVLAMP_EXAMPLES_DIR, work_.Path());
        truth_ = test::ReadStationTruth(work_ / "truth.txt");
        for (const std::string& name : test::FileNames(work_.Path())) {
            if (ClassifyFileName(name) == TScanFileKind::QL) {
                qlFiles_.push_back(name);
            }
        }
    }

    std::vector<std::string> Args(std::vector<std::string> head) const {
        head.insert(head.end(), qlFiles_.begin(), qlFiles_.end());
        return head;
    }

    test::TTempDir work_;
    test::TWorkingDirectory cwd_;
    test::TStationTruth truth_;
    std::vector<std::string> qlFiles_;
};

TEST_F(PhysicsCheck, ResponseAndTemperatureCoefficientMatchTheTruth) {
    ASSERT_FALSE(qlFiles_.empty());
    ASSERT_FALSE(truth_.Response.empty());
    const auto run =
        RunCliInProcess(Args({"response", "--grid", "2865", "3635", "5", "--output", "resp"}));
    ASSERT_EQ(run.Status, 0) << run.Err;

    // The temperatures spread over more than 10 degrees, so the response carries "_tc".
    int compared = 0;
    const double response =
        WorstRelativeError(ReadPairs(work_ / "resp_tc"), truth_.Response, &compared);
    EXPECT_GE(compared, 100);
    EXPECT_LT(response, 0.01);

    const TTable tc = ReadPairs(work_ / "resp.tc.relative");
    double worstTc = 0;
    int tcCompared = 0;
    for (const auto& [w, v] : tc) {
        if (w >= 2900 && w <= 3400) {
            worstTc = std::max(worstTc, std::abs(v - truth_.TempCoefficientAt(w)));
            ++tcCompared;
        }
    }
    EXPECT_GE(tcCompared, 100);
    EXPECT_LT(worstTc, 0.0003);  // 0.03 % per degree
    std::printf(
        "physics check: response within %.3f %% of the truth (2900-3400 A, %d points); "
        "temperature coefficient within %.4f %% per degree\n",
        100 * response, compared, 100 * worstTc);
}

TEST_F(PhysicsCheck, TransferRecoversAnotherLampsIrradiance) {
    ASSERT_GE(truth_.Irradiance.size(), 2u);
    const std::string reference = truth_.Irradiance.begin()->first;
    const auto run = RunCliInProcess(
        Args({"transfer", "--reference", reference, "--grid", "2865", "3635", "5"}));
    ASSERT_EQ(run.Status, 0) << run.Err;
    double worst = 0;
    for (const auto& [lamp, irradiance] : truth_.Irradiance) {
        if (lamp == reference) {
            continue;
        }
        const fs::path file = work_ / ("LAMP" + lamp + "_(" + reference + ").irr");
        int compared = 0;
        const double error = WorstRelativeError(ReadPairs(file), irradiance, &compared);
        EXPECT_GE(compared, 100) << file;
        EXPECT_LT(error, 0.01) << file;
        worst = std::max(worst, error);
    }
    std::printf("physics check: transferred irradiance within %.3f %% of the truth (2900-3400 A)\n",
                100 * worst);
}

}  // namespace
}  // namespace uvlamp
