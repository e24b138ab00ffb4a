#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace uvlamp::test {

// The true values behind the example station (its truth.txt): what the program must recover.
struct TStationTruth {
    std::string Instrument;
    double TempCoefficient = 0;      // relative change of the response per degree
    double MeanTemperature = 0;      // of the lamps' mean quick-scan temperatures
    std::map<int, double> Tc;        // the coefficient by wavelength, when it varies
    std::map<int, double> Response;  // at the mean temperature, by wavelength in angstroms
    std::map<std::string, std::map<int, double>> Irradiance;  // by lamp, at 50 cm

    double TemperatureFactor(double celsius) const { return 1 + TempCoefficient * (celsius - 25); }
    // The coefficient at a wavelength.
    double TempCoefficientAt(int angstrom) const {
        const auto t = Tc.find(angstrom);
        return t == Tc.end() ? TempCoefficient : t->second;
    }
    // The count rate at 50 cm the truth predicts for a lamp at a wavelength and temperature.
    double Rate(const std::string& lamp, int angstrom, double celsius) const {
        return Response.at(angstrom) * Irradiance.at(lamp).at(angstrom) *
               TemperatureFactor(celsius) / TemperatureFactor(MeanTemperature);
    }
};

// Reads a truth file; a line it does not understand is a test failure.
TStationTruth ReadStationTruth(const std::filesystem::path& path);

}  // namespace uvlamp::test
