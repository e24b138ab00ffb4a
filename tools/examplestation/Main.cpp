// uvlamp-example-station OUTDIR: writes the files of an example station into OUTDIR: the lamp
// scans of a three-week campaign of instrument 137, the lamps' irradiance certificates, one
// lamp's black-body records, a reference response, and truth.txt with the true values everything
// was made from. The output is the same, byte for byte, on every run and machine.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "StationFiles.h"
#include "StationModel.h"

namespace es = examplestation;

namespace {

// Quick scans report rates; their noise is that of about this many seconds of counting.
constexpr double kQuickCountingSeconds = 20.0;
// Lamp and instrument stability: a common factor per scan and a factor per point.
constexpr double kScanScatter = 0.0015;
constexpr double kPointScatter = 0.002;

// Settings of the detailed (raw-count) scans.
constexpr double kIntegrationTime = 0.1147;  // seconds per cycle
constexpr int kCycles = 40;
constexpr double kDeadTime = 3.1e-8;  // seconds

using TFiles = std::map<std::string, std::string>;

double RoundToWhole(double v) {
    return std::floor(v + 0.5);
}

// A measured rate: the true rate with the scan's and the point's scatter, and counting noise.
double NoisyRate(es::TNoise& noise, double trueRate, double scanFactor) {
    const double scattered = trueRate * scanFactor * (1.0 + kPointScatter * noise.Gaussian());
    const double counting =
        std::sqrt(trueRate * kQuickCountingSeconds) / kQuickCountingSeconds * noise.Gaussian();
    return scattered + counting;
}

void AddQuickScans(TFiles& files, es::TNoise& noise, const std::vector<es::TLampModel>& lamps,
                   const std::vector<es::TSession>& sessions) {
    const std::vector<double> wavelengths = es::QlWavelengths();
    for (const es::TSession& session : sessions) {
        for (std::size_t k = 0; k < lamps.size(); ++k) {
            es::TQlBlock block;
            block.DayOfYear = session.DayOfYear;
            block.Year = es::kYear;
            block.Distance = session.Distance;
            block.Temperature = session.Temperature();
            block.Dark = 3 + noise.Below(4);
            block.Wavelengths = wavelengths;
            block.Seconds = session.Seconds[k];
            const double scanFactor = 1.0 + kScanScatter * noise.Gaussian();
            for (double w : wavelengths) {
                const double rate = es::TrueRate(lamps[k], w, block.Temperature, block.Distance);
                block.Rates.push_back(NoisyRate(noise, rate, scanFactor));
            }
            // The instrument appends every quick scan of a lamp to that lamp's file.
            const std::string name = es::Format("ql_%s.%s", lamps[k].Name.c_str(), es::kInstrument);
            files[name] += es::QlBlockText(block);
        }
    }
}

// The short scans of the first lamp, taken before its midday quick scan on the first 14 days.
void AddShortScans(TFiles& files, es::TNoise& noise, const es::TLampModel& lamp,
                   const std::vector<es::TSession>& sessions) {
    const std::vector<double> wavelengths = es::QsWavelengths();
    std::string text;
    for (int day = 0; day < 14; ++day) {
        const es::TSession& session =
            sessions[static_cast<std::size_t>(day * es::kSessionsPerDay + 1)];
        es::TQsBlock block;
        block.DayOfYear = session.DayOfYear;
        block.Year = es::kYear;
        block.Distance = session.Distance;
        block.Temperature = session.Temperature();
        block.Dark = 3 + noise.Below(4);
        block.Seconds = session.Seconds[0] - 300;
        const double scanFactor = 1.0 + kScanScatter * noise.Gaussian();
        for (double w : wavelengths) {
            const double rate = es::TrueRate(lamp, w, block.Temperature, block.Distance);
            block.Rates.push_back(NoisyRate(noise, rate, scanFactor));
        }
        text += es::QsBlockText(block);
    }
    // Short-scan files are named "lamp" and four characters: the lamp's number.
    files["lamp" + lamp.Name.substr(lamp.Name.size() - 4) + "." + es::kInstrument] = text;
}

// The temperature the old circuit's reading stands for: reading x 16 - 30 + 0.5.
double CircuitTemperature(double reading) {
    return reading * 16 - 30 + 0.5;
}

// Raw counts summed over the cycles for a true rate: the counter registers fewer counts than
// arrive (dead time), and the sum carries the dark counts and their counting noise.
std::vector<es::TRawPoint> RawScan(es::TNoise& noise, const es::TLampModel& lamp,
                                   const std::vector<double>& wavelengths, double celsius,
                                   double distance, double darkCounts) {
    std::vector<es::TRawPoint> points;
    const double scanFactor = 1.0 + kScanScatter * noise.Gaussian();
    for (double w : wavelengths) {
        const double rate = es::TrueRate(lamp, w, celsius, distance) * scanFactor *
                            (1.0 + kPointScatter * noise.Gaussian());
        const double signal = es::RegisteredRate(rate, kDeadTime) * kCycles * kIntegrationTime / 4;
        const double counts =
            darkCounts + signal + std::sqrt(darkCounts + signal) * noise.Gaussian();
        es::TRawPoint p;
        p.Step = 1000 + static_cast<int>(std::lround((w - 2865) * 3.2));
        p.Wavelength = w;
        p.Slit = 1;
        p.Counts = RoundToWhole(counts);
        points.push_back(p);
    }
    return points;
}

// A detailed scan file: one record per lamp, all at one temperature and distance. UL records
// scan each lamp up and back down.
std::string RawScanFile(es::TNoise& noise, const std::vector<es::TLampModel>& lamps, int dayOfYear,
                        double celsius, double distance, bool upAndDown) {
    const std::vector<double> wavelengths = es::QlWavelengths();
    // The sensor reading as the file states it, and the temperature that reading stands for.
    const std::string reading = es::Format("%.5f", (celsius + 29.5) / 16);
    const double asRead = CircuitTemperature(std::strtod(reading.c_str(), nullptr));
    int month = 0;
    int day = 0;
    es::MonthAndDay(es::kYear, dayOfYear, month, day);
    std::string text;
    for (const es::TLampModel& lamp : lamps) {
        es::TRawRecord r;
        r.IntegrationTime = kIntegrationTime;
        r.DeadTime = kDeadTime;
        r.Cycles = kCycles;
        r.Lamp = lamp.Name;
        r.Distance = distance;
        r.Day = day;
        r.Month = month;
        r.Year = es::kYear;
        r.Comment = es::Format("lamp %s at %.0f cm", lamp.Name.c_str(), distance);
        r.Reading1 = 8.0 + 0.01 * noise.Gaussian();
        r.Reading2 = 118.0 + 0.2 * noise.Gaussian();
        r.TempReading = reading;
        r.Pr = 1013.0;
        r.Dark = 250 + noise.Below(40);
        r.Up = RawScan(noise, lamp, wavelengths, asRead, distance, r.Dark);
        if (upAndDown) {
            r.DarkDown = 250 + noise.Below(40);
            std::vector<es::TRawPoint> back =
                RawScan(noise, lamp, wavelengths, asRead, distance, r.DarkDown);
            r.Down.assign(back.rbegin(), back.rend());
            text += es::UlRecordText(r);
        } else {
            text += es::XlRecordText(r);
        }
    }
    return text;
}

std::string CertificateHeader(const es::TLampModel& lamp) {
    return "lamp" + lamp.Name;
}

// The mean relative deviation of a black body from the certificate's points that a fit uses
// (2900 to 4000 angstroms).
double CertificateRms(const es::TLampModel& lamp) {
    double sum = 0;
    int n = 0;
    for (double w : es::CertificateGrid()) {
        if (w >= 2895 && w <= 4000) {
            const double e = lamp.Irradiance(w);
            sum += std::fabs(lamp.BlackBody(w) - e) / e;
            ++n;
        }
    }
    return sum / n;
}

// The certificate history of a lamp: one black body a year, the lamp slowly cooling (and its
// ultraviolet output falling) with use; the last one is the lamp's black body today.
std::string BlackBodyHistory(const es::TLampModel& lamp) {
    struct TEntry {
        int Year, Month, Day;
        double Hotter;  // kelvin above today's colour temperature
    };
    const TEntry entries[] = {{2022, 3, 28, 8.0}, {2023, 3, 27, 4.0}, {2024, 3, 25, 0.0}};
    std::string text;
    for (const TEntry& e : entries) {
        es::TBlackBodyRecord r;
        r.Distance = es::kReferenceDistance;
        r.Temperature = lamp.ColourTemperature + e.Hotter;
        r.Factor = lamp.Factor;
        r.Rms = CertificateRms(lamp);
        r.Date = es::DayCount(e.Year, e.Month, e.Day);
        text += es::BbfLineText(r);
    }
    return text;
}

double ResponseAtMean(double w) {
    return es::ResponseAt25(w) * es::TemperatureFactor(es::kMeanTemperature);
}

double MeanSessionTemperature(const std::vector<es::TSession>& sessions) {
    double sum = 0;
    for (const es::TSession& s : sessions) {
        sum += s.Temperature();
    }
    return sum / static_cast<double>(sessions.size());
}

bool WriteAll(const std::filesystem::path& dir, const TFiles& files) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    for (const auto& [name, text] : files) {
        const std::string path = (dir / name).string();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            std::fprintf(stderr, "uvlamp-example-station: cannot write %s\n", path.c_str());
            return false;
        }
        const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
        if (std::fclose(f) != 0 || !ok) {
            std::fprintf(stderr, "uvlamp-example-station: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: uvlamp-example-station OUTDIR\n");
        return 2;
    }
    es::TNoise noise(20240409u);
    const std::vector<es::TLampModel> lamps = es::StationLamps();
    const std::vector<es::TSession> sessions = es::PlanCampaign(noise, lamps.size());
    TFiles files;

    AddQuickScans(files, noise, lamps, sessions);
    AddShortScans(files, noise, lamps.front(), sessions);
    // One detailed scan of every lamp in each file, the UL file warmer and the XL file cooler
    // than the campaign's mean so that each lamp's scans keep that mean (two UL scans, one XL).
    files[es::Format("ul%03d%02d.%s", 106, es::kYear % 100, es::kInstrument)] =
        RawScanFile(noise, lamps, 106, es::kMeanTemperature + 1.6, 50.0, true);
    files[es::Format("xl%03d%02d.%s", 113, es::kYear % 100, es::kInstrument)] =
        RawScanFile(noise, lamps, 113, es::kMeanTemperature - 3.2, 40.0, false);

    const std::vector<double> certificate = es::CertificateGrid();
    for (const es::TLampModel& lamp : lamps) {
        std::vector<double> irradiance;
        for (double w : certificate) {
            irradiance.push_back(lamp.Irradiance(w));
        }
        files["lamp" + lamp.Name + ".irr"] =
            es::IrrText(CertificateHeader(lamp), es::kReferenceDistance, certificate, irradiance);
    }
    files["lamp" + lamps[es::kBbfLamp].Name + ".bbf"] = BlackBodyHistory(lamps[es::kBbfLamp]);

    es::TTruth truth;
    truth.Comments = {
        "Example station written by uvlamp-example-station: the true values behind its files.",
        "Instrument 137: not a MKIII, old temperature circuit (T = reading x 16 - 30 + 0.5).",
        "tc_per_degree: the response is R25 (1 + a (T - 25)), with a the same at all wavelengths.",
        "response: count rate at 50 cm per unit of irradiance at 50 cm, at mean_temperature.",
        "irradiance: each lamp's true irradiance at 50 cm (a black body times an emissivity",
        "that departs from 1 by about one percent), in the unit of its IRR file.",
    };
    truth.Instrument = es::kInstrument;
    truth.TempCoefficient = es::kTempCoefficient;
    truth.MeanTemperature = MeanSessionTemperature(sessions);
    truth.Wavelengths = es::TruthGrid();
    for (double w : truth.Wavelengths) {
        truth.Response.push_back(ResponseAtMean(w));
    }
    for (const es::TLampModel& lamp : lamps) {
        es::TTruth::TLampIrradiance entry;
        entry.Name = lamp.Name;
        for (double w : truth.Wavelengths) {
            entry.Irradiance.push_back(lamp.Irradiance(w));
        }
        truth.Lamps.push_back(entry);
    }
    files["truth.txt"] = es::TruthText(truth);
    files[std::string("uvres") + es::kInstrument + ".dat"] =
        es::ResponseFileText(truth.Wavelengths, truth.Response);

    return WriteAll(argv[1], files) ? 0 : 1;
}
