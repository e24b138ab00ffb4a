// The physics of the example station: its lamps, the instrument's response and temperature
// dependence, the measuring campaign, and the noise. Everything the station files say comes from
// here, so these values are the truth the files are checked against.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace examplestation {

inline constexpr const char* kInstrument = "137";
// Relative change of the response per degree Celsius, the same at every wavelength.
inline constexpr double kTempCoefficient = -0.002;
inline constexpr double kReferenceTemperature = 25.0;
// The campaign's scan temperatures are steered so that their mean is exactly this.
inline constexpr double kMeanTemperature = 27.0;
// Irradiance certificates, scans and black-body records all refer to this lamp distance (cm).
inline constexpr double kReferenceDistance = 50.0;

inline constexpr int kYear = 2024;
inline constexpr int kFirstDay = 100;  // day of year of the first campaign day (9 April)
inline constexpr int kDays = 21;
inline constexpr int kSessionsPerDay = 4;

// Second radiation constant in micrometre kelvin, as black-body records define it.
inline constexpr double kPlanckB = 14400.0;

// Gaussian and uniform deviates from the raw outputs of a fixed-seed Mersenne twister. The
// transformations are spelled out here (not taken from <random>'s distributions, whose
// algorithms differ between standard libraries) so every build draws the same numbers.
class TNoise {
  public:
    explicit TNoise(std::uint32_t seed) : engine_(seed) {}
    // Uniform in the open interval (0, 1).
    double Uniform();
    // Standard normal deviate (Box-Muller, one value per pair of uniforms).
    double Gaussian();
    // Whole number in [0, n).
    int Below(int n);

  private:
    std::mt19937 engine_;
};

// A 1000 W calibration lamp: a black body times a slightly wavelength-dependent emissivity.
struct TLampModel {
    std::string Name;
    double ColourTemperature = 0;  // kelvin
    double Factor = 0;             // black-body amplitude at the reference distance
    double EmissivityPhase = 0;    // shapes the lamp's departure from a black body

    // Irradiance at the reference distance, in the certificates' unit; wavelengths in angstroms.
    double BlackBody(double angstrom) const;
    double Emissivity(double angstrom) const;
    double Irradiance(double angstrom) const;
};

// The station's lamps, in the order they are scanned.
std::vector<TLampModel> StationLamps();
// The lamp whose certificate history is kept as black-body records.
inline constexpr std::size_t kBbfLamp = 2;

// Count rate per unit of irradiance at 25 degrees Celsius, wavelength in angstroms.
double ResponseAt25(double angstrom);
// 1 + a (T - 25): the response at T relative to the response at 25 degrees.
double TemperatureFactor(double celsius);
// Dead-time-free count rate the instrument sees from a lamp at the given distance.
double TrueRate(const TLampModel& lamp, double angstrom, double celsius, double distance);
// The rate a counter with the given dead time registers for a true rate n: n exp(-n dt).
double RegisteredRate(double trueRate, double deadTime);

// The wavelengths of one quick lamp scan: two ranges, the second beginning where the first ends.
std::vector<double> QlWavelengths();
// The eleven fixed wavelengths of the short lamp scans.
std::vector<double> QsWavelengths();
// The grid of the truth and reference-response files: 2865 to 3635 in steps of 5.
std::vector<double> TruthGrid();
// The wavelengths of the irradiance certificates: 2500 to 4000 in steps of 100.
std::vector<double> CertificateGrid();

// One lamp session: every lamp scanned once, one after the other, at one instrument temperature
// (the instrument warms and cools far slower than a session lasts).
struct TSession {
    int DayOfYear = 0;
    int TenthsOfDegree = 0;    // instrument temperature in tenths of a degree Celsius
    double Distance = 0;       // cm
    std::vector<int> Seconds;  // time of day of each lamp's scan, seconds after midnight

    double Temperature() const { return TenthsOfDegree / 10.0; }
};

// The campaign: kSessionsPerDay sessions on each of kDays days; some sessions with the lamps at
// 40 cm. The temperatures follow a daily cycle and a drift across the days, and are shifted by
// tenths of a degree so that their mean is exactly kMeanTemperature.
std::vector<TSession> PlanCampaign(TNoise& noise, std::size_t lampCount);

// Calendar: days since 1 January 1970 of a date, its day count (days since 30 December 1899),
// and the month and day of a day of the year.
long DaysFromCivil(int year, int month, int day);
double DayCount(int year, int month, int day);
void MonthAndDay(int year, int dayOfYear, int& month, int& day);

}  // namespace examplestation
