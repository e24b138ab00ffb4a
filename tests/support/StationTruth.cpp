#include "support/StationTruth.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/TestSupport.h"

namespace uvlamp::test {

TStationTruth ReadStationTruth(const std::filesystem::path& path) {
    std::istringstream in(ReadText(path));
    TStationTruth truth;
    std::map<int, double>* section = nullptr;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        if (!(fields >> key) || key[0] == '#') {
            continue;
        }
        if (key == "instrument") {
            fields >> truth.Instrument;
        } else if (key == "tc_per_degree") {
            fields >> truth.TempCoefficient;
        } else if (key == "mean_temperature") {
            fields >> truth.MeanTemperature;
        } else if (key == "response") {
            section = &truth.Response;
        } else if (key == "tc") {
            section = &truth.Tc;
        } else if (key == "irradiance") {
            std::string name;
            fields >> name;
            section = &truth.Irradiance[name];
        } else if (key == "end") {
            section = nullptr;
        } else if (section != nullptr) {
            double value = 0;
            fields >> value;
            (*section)[std::stoi(key)] = value;
        } else {
            ADD_FAILURE() << "unexpected line in " << path << ": " << line;
        }
    }
    return truth;
}

}  // namespace uvlamp::test
