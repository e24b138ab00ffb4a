#include "StationModel.h"

#include <cmath>

namespace examplestation {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The normalised wavelength in which the response is described: (w - 0.328) / 0.08, w in
// micrometres.
double NormalisedWavelength(double angstrom) {
    return (angstrom / 10000 - 0.328) / 0.08;
}

}  // namespace

double TNoise::Uniform() {
    return (static_cast<double>(engine_()) + 0.5) / 4294967296.0;
}

double TNoise::Gaussian() {
    const double u1 = Uniform();
    const double u2 = Uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * kPi * u2);
}

int TNoise::Below(int n) {
    return static_cast<int>(engine_() % static_cast<std::uint32_t>(n));
}

double TLampModel::BlackBody(double angstrom) const {
    const double w = angstrom / 10000;
    const double b = kPlanckB / ColourTemperature;
    return Factor / ((std::exp(b / w) - 1.0) * w * w * w * w * w);
}

// About one percent of structure over the certificate range: a slow wave whose phase differs
// from lamp to lamp and a gentle bow, so a black body fits the lamp well but not exactly.
double TLampModel::Emissivity(double angstrom) const {
    const double bow = (angstrom - 3250) / 750;
    return 1.0 + 0.006 * std::sin(2.0 * kPi * (angstrom - 2500) / 2000 + EmissivityPhase) +
           0.004 * bow * bow - 0.002;
}

double TLampModel::Irradiance(double angstrom) const {
    return BlackBody(angstrom) * Emissivity(angstrom);
}

std::vector<TLampModel> StationLamps() {
    struct TDesign {
        const char* Name;
        double Kelvin;
        double At3000;  // black-body irradiance at 3000 angstroms, 50 cm
        double Phase;
    };
    const TDesign designs[] = {
        {"L1031", 3090, 29.0, 0.0},
        {"L1032", 3140, 33.5, 1.6},
        {"L1033", 3060, 26.0, 3.2},
        {"L1034", 3175, 36.0, 4.8},
    };
    std::vector<TLampModel> lamps;
    for (const TDesign& d : designs) {
        TLampModel lamp;
        lamp.Name = d.Name;
        lamp.ColourTemperature = d.Kelvin;
        const double w = 0.3;
        lamp.Factor = d.At3000 * (std::exp(kPlanckB / d.Kelvin / w) - 1.0) * w * w * w * w * w;
        lamp.EmissivityPhase = d.Phase;
        lamps.push_back(lamp);
    }
    return lamps;
}

// ln(response) is a gentle quadratic hump in the normalised wavelength from 3255 angstroms up
// (the plateau), and below it that quadratic minus a term that grows with the cube of the
// distance from 3255: the steep rise of the short-wave edge, which takes the response up by
// about three orders of magnitude from 2865 to 3200 angstroms. Both pieces meet with equal value,
// slope and curvature.
double ResponseAt25(double angstrom) {
    const double u = NormalisedWavelength(angstrom) - NormalisedWavelength(3255);
    double lnR = std::log(3000.0) + 0.96 * u - 2.3 * u * u;
    if (u < 0) {
        const double d = -u;
        lnR += -50.0 * d * d * d + 10.0 * d * d * d * d;
    }
    return std::exp(lnR);
}

double TemperatureFactor(double celsius) {
    return 1.0 + kTempCoefficient * (celsius - kReferenceTemperature);
}

double TrueRate(const TLampModel& lamp, double angstrom, double celsius, double distance) {
    const double closer = kReferenceDistance / distance;
    return ResponseAt25(angstrom) * TemperatureFactor(celsius) * lamp.Irradiance(angstrom) *
           closer * closer;
}

double RegisteredRate(double trueRate, double deadTime) {
    return trueRate * std::exp(-trueRate * deadTime);
}

std::vector<double> QlWavelengths() {
    std::vector<double> w;
    for (int a = 2865; a <= 3255; a += 15) {
        w.push_back(a);
    }
    for (int a = 3255; a <= 3635; a += 20) {
        w.push_back(a);
    }
    return w;
}

std::vector<double> QsWavelengths() {
    std::vector<double> w;
    for (int r = 1; r <= 11; ++r) {
        w.push_back(2865 + 35 * r);
    }
    return w;
}

std::vector<double> TruthGrid() {
    std::vector<double> w;
    for (int a = 2865; a <= 3635; a += 5) {
        w.push_back(a);
    }
    return w;
}

std::vector<double> CertificateGrid() {
    std::vector<double> w;
    for (int a = 2500; a <= 4000; a += 100) {
        w.push_back(a);
    }
    return w;
}

std::vector<TSession> PlanCampaign(TNoise& noise, std::size_t lampCount) {
    // Session starts, minutes after midnight: morning, midday, afternoon, evening.
    const int starts[kSessionsPerDay] = {490, 700, 910, 1120};
    std::vector<TSession> sessions;
    for (int i = 0; i < kDays; ++i) {
        for (int s = 0; s < kSessionsPerDay; ++s) {
            TSession session;
            session.DayOfYear = kFirstDay + i;
            const int start = starts[s] + noise.Below(10);
            const double hour = start / 60.0;
            const double drift = 4.5 * std::sin(2.0 * kPi * i / 17 + 0.8);
            const double daily = 4.0 * std::sin(2.0 * kPi * (hour - 10) / 24);
            const double celsius = 25.5 + drift + daily + 0.5 * noise.Gaussian();
            session.TenthsOfDegree = static_cast<int>(std::lround(celsius * 10));
            // Every fourth day the morning sessions are run with the lamps on the 40 cm mount.
            session.Distance = (i % 4 == 1 && s < 2) ? 40.0 : 50.0;
            for (std::size_t k = 0; k < lampCount; ++k) {
                session.Seconds.push_back(start * 60 + static_cast<int>(k) * 420 + noise.Below(60));
            }
            sessions.push_back(session);
        }
    }
    // Shift by whole tenths until the mean is exactly the campaign's mean temperature.
    const int n = static_cast<int>(sessions.size());
    int sum = 0;
    for (const TSession& s : sessions) {
        sum += s.TenthsOfDegree;
    }
    const int diff = static_cast<int>(std::lround(kMeanTemperature * 10)) * n - sum;
    const int common = diff / n;
    const int rest = diff - common * n;
    for (int k = 0; k < n; ++k) {
        TSession& s = sessions[static_cast<std::size_t>(k)];
        s.TenthsOfDegree += common;
        if (k < (rest < 0 ? -rest : rest)) {
            s.TenthsOfDegree += rest < 0 ? -1 : 1;
        }
    }
    return sessions;
}

long DaysFromCivil(int year, int month, int day) {
    // Proleptic Gregorian calendar, eras of 400 years starting on 1 March.
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int mp = (month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<long>(era) * 146097 + doe - 719468;
}

double DayCount(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30));
}

void MonthAndDay(int year, int dayOfYear, int& month, int& day) {
    const long target = DaysFromCivil(year, 1, 1) + dayOfYear - 1;
    month = 12;
    while (month > 1 && DaysFromCivil(year, month, 1) > target) {
        --month;
    }
    day = static_cast<int>(target - DaysFromCivil(year, month, 1)) + 1;
}

}  // namespace examplestation
