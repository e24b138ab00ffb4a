#include "StationArchive.h"

#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <system_error>

namespace uvlamp::bench {

namespace {

namespace fs = std::filesystem;

constexpr int kQlFirstWavelength = 2900;  // Å
constexpr int kQlStep = 15;
constexpr int kQlFirstYear = 2011;

constexpr int kUlFirstWavelength = 2900;
constexpr int kUlStep = 5;
constexpr int kUlFirstYear = 2018;

constexpr int kDaysPerYear = 365;  // day 366 of leap years is left out

// Appends one formatted line ending in CR LF.
[[gnu::format(printf, 2, 3)]] void Line(std::string& out, const char* format, ...) {
    char buffer[160];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof buffer) {
        Fail("a generated line does not fit its buffer");
    }
    out.append(buffer, static_cast<std::size_t>(n));
    out += "\r\n";
}

struct TDate {
    int Year;
    int Month;
    int Day;
};

TDate DateOfDay(int year, int dayOfYear) {
    using namespace std::chrono;
    const year_month_day date{sys_days{std::chrono::year{year} / January / 1} +
                              days{dayOfYear - 1}};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

class TNoise {
  public:
    explicit TNoise(unsigned seed) : engine_(seed) {}
    // Uniform in [-1, 1).
    double Next() { return unit_(engine_); }
    int Below(int n) { return static_cast<int>(engine_() % static_cast<unsigned>(n)); }

  private:
    std::mt19937 engine_;
    std::uniform_real_distribution<double> unit_{-1.0, 1.0};
};

// A QL file: one lamp, one block of 24 points per day for `blocks` days from 1 January of the
// first year, 365 days a year.
std::string MakeQlFile(int lamp, int blocks, TNoise& noise) {
    std::string text;
    text.reserve(static_cast<std::size_t>(blocks) * (kQlPoints + 2) * 16);
    for (int b = 0; b < blocks; ++b) {
        const int year = kQlFirstYear + b / kDaysPerYear;
        const int day = b % kDaysPerYear + 1;
        const double season = std::sin(2 * 3.14159265358979 * day / kDaysPerYear);
        const double temperature = 20.0 + 3.0 * season + 0.5 * noise.Next();
        Line(text, " %d %03d%02d  %.1f  %.1f  %.1f   0", kQlPoints, day, year % 100, 50.0,
             temperature, 2.0 + 0.5 * noise.Next());
        for (int k = 0; k < kQlPoints; ++k) {
            // About 1e4 to 8e4 counts per second, a little lower when the lamp is warmer.
            const double base =
                1.0e4 * std::pow(8.0, k / double(kQlPoints - 1)) * (1.0 + 0.05 * lamp);
            const double rate =
                base * (1.0 - 0.003 * (temperature - 20.0)) * (1.0 + 0.005 * noise.Next());
            Line(text, " %d  %.1f", kQlFirstWavelength + kQlStep * k, rate);
        }
        Line(text, " %02d:%02d:%02d", noise.Below(24), noise.Below(60), noise.Below(60));
    }
    return text;
}

void AppendUlPoint(std::string& text, int index, double rawCounts) {
    Line(text, "  %d  %d  0  %.0f", index, kUlFirstWavelength + kUlStep * (index - 1), rawCounts);
}

// A UL file of one day: two records for each of the three lamps, each record a scan with
// increasing and one with decreasing wavelength.
std::string MakeUlFile(const TDate& date, TNoise& noise) {
    std::string text;
    text.reserve(kUlLamps * kUlRecordsPerLamp * (2 * kUlPoints + 14) * 24);
    std::array<double, kUlPoints + 1> raw{};
    for (int record = 0; record < kUlLamps * kUlRecordsPerLamp; ++record) {
        const int lamp = record % kUlLamps;
        const double reading = 2.80 + 0.05 * noise.Next();  // about 15 °C
        Line(text, "Integration time is 0.1147 seconds per cycle");
        Line(text, "dt 2.9e-08");
        Line(text, "cy 4");
        Line(text, "le %d", kUlPoints);
        Line(text, "ln %s", UlLampName(lamp).c_str());
        Line(text, "di 50.0");
        Line(text, "dh %d %d %02d", date.Day, date.Month, date.Year % 100);
        Line(text, " Lamp test");
        Line(text, " 120.0 130.0 %.2f", reading);
        Line(text, "pr 1013");
        for (int i = 1; i <= kUlPoints; ++i) {
            // Count rates rising from 1e3 to 1e6 per second over the range, as a lamp's do from
            // 2900 to 3645 Å; 4 cycles of 0.1147 s each.
            const double rate = 1.0e3 * std::pow(10.0, 3.0 * (i - 1) / double(kUlPoints - 1));
            raw[i] = 25 + rate * 0.1147 * (0.9 - 0.02 * lamp) * (1.0 + 0.005 * noise.Next());
        }
        Line(text, "DARK 25");
        for (int i = 1; i <= kUlPoints; ++i) {
            AppendUlPoint(text, i, raw[i]);
        }
        Line(text, "DARK 26");
        for (int i = kUlPoints; i >= 1; --i) {
            AppendUlPoint(text, i, raw[i] * (1.0 + 0.002 * noise.Next()));
        }
        Line(text, "end");
    }
    return text;
}

void WriteFile(TArchive& archive, const std::string& name, const std::string& text) {
    std::ofstream out(archive.Dir / name, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        Fail("could not write " + (archive.Dir / name).string());
    }
    archive.Names.push_back(name);
    archive.Bytes += static_cast<std::int64_t>(text.size());
}

}  // namespace

void Fail(const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, what.c_str());
    std::exit(EXIT_FAILURE);
}

std::string QlLampName(int i) {
    return "L100" + std::to_string(i + 1);
}

std::string UlLampName(int i) {
    return "L200" + std::to_string(i + 1);
}

void Generate(TArchive& archive, const TArchiveShape& shape) {
    TNoise noise(12345);
    for (int q = 0; q < shape.QlFiles; ++q) {
        WriteFile(archive, "ql_" + QlLampName(q) + ".042", MakeQlFile(q, shape.QlBlocks, noise));
        archive.Lamps.push_back({QlLampName(q), shape.QlBlocks, kQlPoints});
    }
    for (int u = 0; u < shape.UlFiles; ++u) {
        const int year = kUlFirstYear + u / kDaysPerYear;
        const int day = u % kDaysPerYear + 1;
        char name[32];
        std::snprintf(name, sizeof name, "ul%03d%02d.042", day, year % 100);
        WriteFile(archive, name, MakeUlFile(DateOfDay(year, day), noise));
    }
    for (int l = 0; l < kUlLamps; ++l) {
        archive.Lamps.push_back({UlLampName(l), shape.UlFiles * kUlRecordsPerLamp * 2, kUlPoints});
    }
    for (const auto& lamp : archive.Lamps) {
        archive.Scans += lamp.Scans;
    }
}

TArchiveStore::~TArchiveStore() {
    if (!root_.empty()) {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
}

TArchive& TArchiveStore::Get(std::int64_t size) {
    if (size < 0 || size >= static_cast<std::int64_t>(kShapes.size())) {
        Fail("no archive of size " + std::to_string(size));
    }
    auto& archive = archives_[static_cast<std::size_t>(size)];
    if (!archive) {
        archive = std::make_unique<TArchive>();
        archive->Dir = Root() / ("size" + std::to_string(size));
        fs::create_directory(archive->Dir);
        Generate(*archive, kShapes[static_cast<std::size_t>(size)]);
    }
    return *archive;
}

fs::path TArchiveStore::Root() {
    if (root_.empty()) {
        std::random_device random;
        const fs::path temp = fs::temp_directory_path();
        for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
            const fs::path candidate = temp / ("uvlamp-bench-" + std::to_string(random()));
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) {
                root_ = candidate;
            }
        }
        if (root_.empty()) {
            Fail("could not create a temporary folder in " + temp.string());
        }
    }
    return root_;
}

TArchiveStore& Store() {
    static TArchiveStore store;
    return store;
}

}  // namespace uvlamp::bench
